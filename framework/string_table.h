// The program's string table: every text it shows comes from here.
#pragma once

#include <windows.h>

#include <string>

// A string-table entry; empty when the id is unknown.
std::string LoadResourceString(UINT stringId);
// A string-table entry with its one "%s" replaced by `argument` (taken
// literally: no other format directive in it is interpreted).
std::string FormatResourceString(UINT stringId, const std::string& argument);
