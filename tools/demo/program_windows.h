// The installed program's own windows after an installation: the greeting of
// its post-install run and the window of the launched program. Each is
// photographed and closed and its process awaited, so that the uninstaller
// later finds no installed file in use.
#pragma once

#include "screenshot.h"

#include <cstddef>
#include <string>

// Waits for `expected` visible top-level windows titled `caption`, of any
// process, and closes each one: a message box by its default button, any
// other window as its close box would.
void CloseProgramWindows(const std::string& caption, size_t expected, Screenshots& shots);
