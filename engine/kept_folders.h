// The folders that belong to the shell, to Windows or to the user as such:
// no installation goes directly into one, no sweep removes one.
#pragma once

#include <string>

// Whether `directory` (canonical, or it counts as kept) is a drive's or a
// share's root, or a folder the shell or Windows keeps: the desktop, Documents,
// Downloads, Favorites, Links, Contacts, the profile, the application data
// folders, the Start menu and its Programs and StartUp folders, Program Files,
// the Windows and system directories, the temporary directory and the like.
bool IsKeptFolder(const std::string& directory);
