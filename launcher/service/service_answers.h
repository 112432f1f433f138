// The community service's API answers each query with one line of plain
// text: a number, or a URL to download from.
#pragma once

#include <string>

// The API's answer to path read as a decimal integer; 0 when it could not be
// had or holds no number.
int IntegerAnswer(const std::string& path);

// The API's answer to path as UTF-8 (the download daemon takes URLs in
// UTF-8); empty when it could not be had.
std::string UrlAnswer(const std::string& path);
