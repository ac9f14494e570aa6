// Reading a whole package index or install record, telling the user when it
// cannot be done.
#pragma once

#include <windows.h>

#include <string>

// On failure shows `cannotOpenMessage` (a string with one "%s") with the
// path, the out-of-memory message, or for a file larger than `maxSize` (no
// real one is) `invalidMessage` with the path, and returns false.
bool ReadWholeFileOrTell(const std::string& path, DWORD share, uint64_t maxSize,
                         UINT cannotOpenMessage, UINT invalidMessage, std::string& contents);
