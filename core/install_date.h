// The date of an installation as the uninstall entry's InstallDate holds it,
// eight digits YYYYMMDD, which package managers sort and compare as text.
#pragma once

#include <string>

namespace setupcore {

// Empty when the date is none that eight digits can hold (year 1 to 9999,
// month 1 to 12, day 1 to 31): the entry then goes without one.
std::string InstallDateText(unsigned year, unsigned month, unsigned day);

} // namespace setupcore
