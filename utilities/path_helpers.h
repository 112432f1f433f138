// Path texts are GBK byte strings; the shell functions below walk them by
// character, so a trail byte 0x5C is never taken for "\".
#pragma once

#include <optional>
#include <string>

// File-name part of path, without its extension unless keepExtension is given
// as true; empty when the path ends in "\".
std::string PathFileName(const std::string& path, std::optional<bool> keepExtension = std::nullopt);

// Extension of the last path component with its leading "."; empty when it has none.
std::string PathExtension(const std::string& path);

// True when a file or folder of that name exists.
bool FileExists(const std::string& path);

// Creates every missing folder of the chain; true when the whole chain exists afterwards.
bool EnsureDirectory(const std::string& folder);

// True when name, joined to a folder, can only name an entry of that folder:
// not empty, not dots alone ("." or ".."), and free of "\", "/", ":" (so no
// drive or stream) and control characters. A trail byte 0x5C of a GBK
// character is no "\".
bool IsPlainFileName(const std::string& name);
