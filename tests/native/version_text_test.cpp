#include "version_text.h"

#include <gtest/gtest.h>

using namespace setupcore;

TEST(VersionText, ReadsTwoToFourNumbers) {
    const struct {
        const char* text;
        VersionNumbers expected;
    } rows[] = {
        {"1.2", {1, 2, 0, 0}},
        {"1.2.3", {1, 2, 3, 0}},
        {"10.20.30.40", {10, 20, 30, 40}},
        {"0.0", {0, 0, 0, 0}},
        {"007.08", {7, 8, 0, 0}},
        {"65535.65535.65535.65535", {65535, 65535, 65535, 65535}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        VersionNumbers numbers;
        ASSERT_TRUE(ParseVersionText(row.text, numbers));
        EXPECT_EQ(numbers.major, row.expected.major);
        EXPECT_EQ(numbers.minor, row.expected.minor);
        EXPECT_EQ(numbers.build, row.expected.build);
        EXPECT_EQ(numbers.revision, row.expected.revision);
    }
}

TEST(VersionText, RefusesAnythingElse) {
    for (const char* text : {"", "1", "1.", ".1", "1..2", "1.2.3.4.5", "1.2 ", " 1.2", "1,2",
                             "1, 0, 0, 0", "+1.2", "-1.2", "1.2a", "65536.0", "1.000000", "v1.2"}) {
        SCOPED_TRACE(text);
        VersionNumbers numbers{9, 9, 9, 9};
        EXPECT_FALSE(ParseVersionText(text, numbers));
        EXPECT_EQ(numbers.major, 9); // untouched
    }
}
