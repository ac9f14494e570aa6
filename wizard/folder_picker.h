// The system's folder picker, for the Install Directory page's Browse button.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Lets the user pick a file-system folder, starting at `start` or, when that
// does not exist yet, the nearest folder above it that does. The chosen
// folder; nothing when the user cancelled or the shell could not name it.
std::optional<std::string> PickFolder(HWND owner, const std::string& title,
                                      const std::string& start);
