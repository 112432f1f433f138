// Standard Base64 (RFC 4648 alphabet, "=" padding): the Binary kind's text form.
#pragma once

#include <string>
#include <string_view>

std::string Base64Encode(std::string_view bytes);

// False when the text is not Base64: a character outside the alphabet, "="
// anywhere but at the end, or a length that no byte count encodes to. Missing
// padding is accepted.
bool Base64Decode(std::string_view text, std::string* bytes);
