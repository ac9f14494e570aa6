// The program's string table: every text it shows comes from here.
#pragma once

#include <windows.h>

#include <string>

// A string-table entry; empty when the id is unknown.
std::string LoadResourceString(UINT stringId);
// `text` with its first "%s" replaced by `argument`, taken literally: no
// other format directive in it is interpreted.
std::string FillArgument(std::string text, const std::string& argument);
// A string-table entry with its one "%s" filled in (see FillArgument).
std::string FormatResourceString(UINT stringId, const std::string& argument);
