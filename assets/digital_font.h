// The seven-segment font of the updater window's speed line, carried in the
// program: DSEG7 Classic Regular (SIL Open Font License 1.1) renamed to the
// face "Digital-7 Mono" at build time (assets/generators/rename_font.py).
#pragma once

#include <string_view>

// The TrueType file bytes; they live as long as the program.
std::string_view DigitalFontData();

// The face name the font registers under.
constexpr const char* kDigitalFontFace = "Digital-7 Mono";
