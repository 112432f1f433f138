// Whole-file reads and writes, and deleting one file.
#pragma once

#include <string>

// The whole content; empty when the file is missing or unreadable.
std::string ReadWholeFile(const std::string& path);

// Creates or truncates path and writes bytes; true when all were written.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool WriteWholeFile(const std::string& path, const void* bytes, size_t size);

// Writes bytes into the file temporary and moves that onto path, so that
// path never holds a part of them; an existing path is replaced only when
// replace is true. True when path now holds the bytes; on failure the
// temporary file is gone.
bool WriteWholeFileThrough(const std::string& temporary, const std::string& path, const void* bytes, size_t size,
                           bool replace);

// Deletes one file; the result is not reported.
void DeleteFilePath(const std::string& path);
