// Every message box the demo meets is answered the same way: a screenshot, a
// line saying what it said, then its default button, as a user pressing
// Enter would.
#pragma once

#include "screenshot.h"

#include <windows.h>

// False when `box` is no message box or has no button that could be pressed.
bool AnswerMessageBox(HWND box, Screenshots& shots);
