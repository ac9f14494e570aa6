// The active ANSI code page's lead bytes, for the multibyte-aware path rules.
#pragma once

#include <windows.h>

inline bool IsAnsiLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}
