#include "install_date.h"

#include <cstdio>

namespace setupcore {

std::string InstallDateText(unsigned year, unsigned month, unsigned day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
        return {};
    char text[9];
    std::snprintf(text, sizeof text, "%04u%02u%02u", year, month, day);
    return text;
}

} // namespace setupcore
