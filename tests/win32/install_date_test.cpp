// The uninstall entry's InstallDate from the clock's SYSTEMTIME.
#include "install_date_text.h"

#include <gtest/gtest.h>

TEST(InstallDate, TakesYearMonthAndDayOfTheSystemTime) {
    SYSTEMTIME time = {};
    time.wYear = 2024;
    time.wMonth = 3;
    time.wDayOfWeek = 4; // the weekday and the hour play no part
    time.wDay = 7;
    time.wHour = 23;
    EXPECT_EQ(InstallDateText(time), "20240307");
}
