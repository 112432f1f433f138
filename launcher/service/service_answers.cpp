#include "launcher/service/service_answers.h"

#include "launcher/service/http_get.h"
#include "launcher/service/service_hosts.h"
#include "utilities/text_codepage.h"
#include "utilities/text_number.h"

int IntegerAnswer(const std::string& path) { return (int)TextToInteger(HttpGet(ApiUrl(path))); }

std::string UrlAnswer(const std::string& path) { return AnsiToUtf8(HttpGet(ApiUrl(path))); }
