// Bounded fuzzing: mutated daemon replies, random texts and random sequences
// of document operations. Nothing may crash, and every value built must be
// freed again (the live-value count returns to where it started).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "json/json.h"
#include "json_test_data.h"
#include "json_test_helpers.h"

namespace {

// Bytes that steer the parser into its states; random bytes rarely do.
const std::string kInteresting =
    std::string("{}[]\"',:/*#<>\\ \n\t-+.eE0123456789nulltruefalseNTFu\x81\xFE\x30\x5C\x22\x7F") + std::string(1, '\0');

class Fuzzer {
public:
    explicit Fuzzer(uint32_t seed) : random_(seed) {}

    size_t Below(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(random_); }
    char AnyByte() { return Below(3) == 0 ? static_cast<char>(Below(256)) : kInteresting[Below(kInteresting.size())]; }

    std::string Mutate(std::string text) {
        const size_t rounds = 1 + Below(4);
        for (size_t r = 0; r < rounds; ++r) {
            size_t at = Below(text.size() + 1);
            switch (Below(6)) {
                case 0:
                    if (at < text.size()) text[at] = AnyByte();
                    break;
                case 1: text.insert(at, 1, AnyByte()); break;
                case 2: text.erase(at, 1 + Below(8)); break;
                case 3: text.insert(at, text.substr(Below(text.size() + 1), Below(16))); break;
                case 4: text.resize(at); break;
                case 5: text.insert(at, Below(2) ? "\\u" : "/*"); break;
            }
        }
        return text;
    }

    std::string RandomText() {
        std::string text(Below(48), '\0');
        for (char& c : text) c = AnyByte();
        return text;
    }

private:
    std::mt19937 random_;
};

// Reads through whatever was parsed, as a caller would.
void Walk(const JSON& document, int depth) {
    const int kind = jsontest::KindOf(document);
    if (depth > 40 || (kind != JSONType::Object && kind != JSONType::Array)) return;
    for (const char* key : {"result", "error", "a", "files", ""}) {
        document.GetProperty(key);
        document.KeyExists(key);
        Walk(document.GetJsonProperty(key), depth + 1);
    }
    for (int i = 0; i < document.GetItemCount() && i < 8; ++i) Walk(document.GetJsonItem(i), depth + 1);
}

std::vector<std::string> Seeds() {
    std::vector<std::string> seeds = {
        R"({"a":[1,2.5,-3,"x\/y",true,null,{"b":'c'}],e:1e5,"d":#Sun, 06 Nov 1994 08:49:37 GMT#,"y":<AP9h>})",
        "[\"\\u4e2d\\ud800\\udc00\\u0000\",\"\xD6\xD0\x81\x30\x81\x30\"] /* tail",
        "// lead\n{'k':[[[[[]]]]],}",
    };
    for (const char* file : {"tellstatus-complete.json", "tellstatus-batch.json", "getglobalstat.json",
                             "unpause-batch.json", "error-unknown-gid.json"}) {
        seeds.push_back(jsontest::ReadDataFile(file));
    }
    return seeds;
}

}  // namespace

TEST(JsonFuzz, MutatedAndRandomTextsNeverCrashOrLeak) {
    const std::vector<std::string> seeds = Seeds();
    for (const std::string& seed : seeds) ASSERT_FALSE(seed.empty());
    const std::string bigBatch = jsontest::ReadDataFile("tellstatus-batch-100.json");
    ASSERT_FALSE(bigBatch.empty());

    Fuzzer fuzzer(20261207);
    const long before = jsonvalue::LiveValueCount();
    int parsed = 0;
    const int kInputs = 300000;
    for (int i = 0; i < kInputs; ++i) {
        std::string input;
        if (i % 1000 == 999)
            input = fuzzer.Mutate(bigBatch);
        else if (i % 3 == 0)
            input = fuzzer.RandomText();
        else
            input = fuzzer.Mutate(seeds[fuzzer.Below(seeds.size())]);
        {
            JSON document;
            if (document.parse(input)) {
                ++parsed;
                std::string printed = document.toString();
                Walk(document, 0);
                // What the library prints, it reads back the same.
                JSON again;
                ASSERT_TRUE(again.parse(printed)) << testsupport::Hex(input);
                ASSERT_EQ(again.toString(), printed) << testsupport::Hex(input);
            } else {
                ASSERT_EQ(document.toString(), "");
            }
        }
        if (jsonvalue::LiveValueCount() != before) {
            FAIL() << "values left alive after input " << i << ": " << testsupport::Hex(input);
        }
    }
    // The mutations must reach both outcomes to mean anything.
    EXPECT_GT(parsed, kInputs / 20);
    EXPECT_LT(parsed, kInputs - kInputs / 20);
}

// Random operation sequences over a few handles that share values in every
// way the operations allow, including documents put into themselves.
TEST(JsonFuzz, RandomOperationSequencesBalanceTheirReferences) {
    Fuzzer fuzzer(1014);
    const std::vector<std::string> seeds = Seeds();
    const char* keys[] = {"a", "b", "params", ""};
    const long before = jsonvalue::LiveValueCount();
    for (int round = 0; round < 2000; ++round) {
        {
            JSON pool[5];
            auto any = [&]() -> JSON& { return pool[fuzzer.Below(5)]; };
            for (int step = 0; step < 40; ++step) {
                JSON& target = any();
                const char* key = keys[fuzzer.Below(4)];
                switch (fuzzer.Below(11)) {
                    case 0: target.parse(fuzzer.Mutate(seeds[fuzzer.Below(seeds.size())])); break;
                    case 1: target.SetType(static_cast<int>(fuzzer.Below(7))); break;
                    case 2: target.SetProperty(key, any()); break;
                    case 3: target.SetProperty(key, "text"); break;
                    case 4: target.SetProperty(key, static_cast<long long>(fuzzer.Below(1000))); break;
                    case 5: target.AddItem(any(), 2.5, JsonBytes{"b"}); break;
                    case 6: target.AddItem(JsonDateTime{1.5}, any()); break;
                    case 7: any() = target.GetJsonProperty(key); break;
                    case 8: any() = target.GetJsonItem(static_cast<int>(fuzzer.Below(4))); break;
                    case 9: any() = target; break;
                    case 10: target.parse(""); break;
                }
                any().toString();
            }
        }
        ASSERT_EQ(jsonvalue::LiveValueCount(), before) << "round " << round;
    }
}
