// Parse-and-print speed of the document against json-c's own tokener and
// printer, on a real aria2.tellStatus batch reply for 100 downloads; then the
// parse time of single numbers with long digit runs, which must grow in step
// with their length.
//
//   json_benchmark.exe REPLY_FILE [ITERATIONS]
//
// Prints both rates, the time ratio ours/json-c and the long-number times.
// Not a test: figures only.
#include <windows.h>

#include <json-c/json.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "json/json.h"
#include "support/test_support.h"

namespace {

// The captured reply without the file's closing line break.
std::string ReadReply(const char* path) {
    std::string bytes = testsupport::ReadFileBytes(path);
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) bytes.pop_back();
    return bytes;
}

double Seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The printed sizes are summed so that the compiler cannot drop the work.
size_t g_sink = 0;

double TimeOurs(const std::string& text, int iterations) {
    double start = Seconds();
    for (int i = 0; i < iterations; ++i) {
        JSON document;
        document.parse(text);
        g_sink += document.toString().size();
    }
    return Seconds() - start;
}

double TimeJsonC(const std::string& text, int iterations) {
    double start = Seconds();
    for (int i = 0; i < iterations; ++i) {
        json_object* document = json_tokener_parse(text.c_str());
        g_sink += strlen(json_object_to_json_string_ext(document, JSON_C_TO_STRING_PLAIN));
        json_object_put(document);
    }
    return Seconds() - start;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One parse of each long number, at a few lengths, so that the growth shows.
void PrintLongNumberTimes() {
    struct Shape {
        const char* name;
        std::string (*make)(size_t digits);
    } shapes[] = {
        {"[1.<zeros>1]", [](size_t n) { return "[1." + std::string(n, '0') + "1]"; }},
        {"[<digits>.5]", [](size_t n) { return "[" + std::string(n, '7') + ".5]"; }},
        {"[<digits>]", [](size_t n) { return "[" + std::string(n, '9') + "]"; }},
    };
    for (const Shape& shape : shapes) {
        for (size_t digits : {size_t(100000), size_t(1048576), size_t(4194304)}) {
            const std::string text = shape.make(digits);
            JSON document;
            double start = Seconds();
            const bool parsed = document.parse(text);
            const double seconds = Seconds() - start;
            printf("long number %-14s %8zu digits: %8.2f ms%s\n", shape.name, digits, seconds * 1e3,
                   parsed ? "" : "  (does not parse)");
            fflush(stdout);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: json_benchmark REPLY_FILE [ITERATIONS]\n");
        return 2;
    }
    const std::string text = ReadReply(argv[1]);
    const int iterations = argc > 2 ? atoi(argv[2]) : 200;
    if (text.empty() || iterations <= 0) {
        fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }

    JSON check;
    if (!check.parse(text)) {
        fprintf(stderr, "the reply does not parse\n");
        return 1;
    }
    json_object* reference = json_tokener_parse(text.c_str());
    const bool same =
        reference && check.toString() == json_object_to_json_string_ext(reference, JSON_C_TO_STRING_PLAIN);
    json_object_put(reference);

    // Alternating rounds, so that neither side profits from a warmer machine.
    TimeOurs(text, iterations / 10 + 1);
    TimeJsonC(text, iterations / 10 + 1);
    std::vector<double> ours, theirs;
    for (int round = 0; round < 7; ++round) {
        ours.push_back(TimeOurs(text, iterations));
        theirs.push_back(TimeJsonC(text, iterations));
    }
    const double ourSeconds = Median(ours) / iterations;
    const double theirSeconds = Median(theirs) / iterations;
    const double megabytes = text.size() / 1e6;

    printf("reply: %zu bytes, %d downloads, %d parse+print per round, median of 7 rounds\n", text.size(),
           check.GetItemCount(), iterations);
    printf("printed texts identical: %s\n", same ? "yes" : "no");
    printf("ours:   %8.1f documents/s  %7.1f MB/s  (%.1f us each)\n", 1.0 / ourSeconds, megabytes / ourSeconds,
           ourSeconds * 1e6);
    printf("json-c: %8.1f documents/s  %7.1f MB/s  (%.1f us each)\n", 1.0 / theirSeconds, megabytes / theirSeconds,
           theirSeconds * 1e6);
    printf("ratio ours/json-c (time): %.2f\n", ourSeconds / theirSeconds);
    PrintLongNumberTimes();
    return g_sink == 0;
}
