// The two drop-shadow pictures the program carries: 100 x 100 RGBA PNGs,
// black, transparent inside, with an alpha ramp of 5 or 10 pixels along the
// border (made at build time by assets/generators/shadow_png.c).
#pragma once

#include <string_view>

// The PNG file bytes; they live as long as the program.
std::string_view ShadowPicture5();
std::string_view ShadowPicture10();
