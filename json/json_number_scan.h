// Reading a number run of the parser ("0123456789.+-eE" bytes) the way the
// scan formats "%I64d" and "%lf" read it: the longest valid prefix.
#pragma once

#include <cstddef>
#include <cstdint>

namespace jsonparse {

// An optional sign and the leading digits. Runs beyond the 64-bit range stop
// at its ends. False when the run does not begin with a number.
bool ScanInteger(const char* run, size_t length, int64_t* value);

// The longest prefix that is a decimal floating-point number. False when
// there is none.
bool ScanDouble(const char* run, size_t length, double* value);

}  // namespace jsonparse
