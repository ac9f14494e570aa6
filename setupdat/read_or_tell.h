// Reading a whole package index or install record, telling the user when it
// cannot be done.
#pragma once

#include <windows.h>

#include <string>

// On failure shows `cannotOpenMessage` (a string with one "%s") with the
// path, or the out-of-memory message, and returns false.
bool ReadWholeFileOrTell(const std::string& path, DWORD share, UINT cannotOpenMessage,
                         std::string& contents);
