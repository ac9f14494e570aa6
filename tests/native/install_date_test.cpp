#include "install_date.h"

#include <gtest/gtest.h>

using setupcore::InstallDateText;

TEST(InstallDate, EightDigitsWithLeadingZeros) {
    EXPECT_EQ(InstallDateText(2024, 3, 7), "20240307");
    EXPECT_EQ(InstallDateText(1999, 12, 31), "19991231");
    EXPECT_EQ(InstallDateText(987, 1, 1), "09870101");
}

TEST(InstallDate, NoTextForADateEightDigitsCannotHold) {
    const struct {
        const char* name;
        unsigned year, month, day;
    } rows[] = {
        {"year zero", 0, 1, 1},    {"five-digit year", 10000, 1, 1}, {"month zero", 2024, 0, 1},
        {"month 13", 2024, 13, 1}, {"day zero", 2024, 1, 0},         {"day 32", 2024, 1, 32},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(InstallDateText(row.year, row.month, row.day), "");
    }
}
