#include <gtest/gtest.h>

#include "utilities/text_number.h"

TEST(TextToInteger, TakesTheLeadingDecimalInteger) {
    const struct {
        const char* text;
        int64_t value;
    } cases[] = {{"36510", 36510}, {"  -12ab", -12}, {"+7", 7}, {"abc", 0}, {"", 0}, {"5368709120", 5368709120LL},
                 {"1.9", 1},       {"- 3", 0}};
    for (const auto& c : cases) EXPECT_EQ(TextToInteger(c.text), c.value) << c.text;
}

TEST(TextToInteger, TooManyDigitsHoldAtTheEndsOfTheRange) {
    EXPECT_EQ(TextToInteger("99999999999999999999999"), INT64_MAX);
    EXPECT_EQ(TextToInteger("-99999999999999999999999"), INT64_MIN);
    EXPECT_EQ(TextToInteger("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(TextToInteger("-9223372036854775808"), INT64_MIN);
}
