// Whole-file reads and writes, and deleting one file.
#pragma once

#include <string>

// The whole content; empty when the file is missing or unreadable.
std::string ReadWholeFile(const std::string& path);

// Creates or truncates path and writes bytes; true when all were written.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool WriteWholeFile(const std::string& path, const void* bytes, size_t size);

// Deletes one file; the result is not reported.
void DeleteFilePath(const std::string& path);
