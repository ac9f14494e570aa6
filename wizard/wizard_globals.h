// Process-wide strings the wizard pages read and set; they are defined with
// the application's other globals.
#pragma once

#include <string>

extern std::string g_szSetupPath;     // the setup program's path as started
extern std::string g_strInfoFileName; // the install record's file name
extern std::string g_strDisplayName;  // the folder name's last part, extension cut
extern std::string g_strDefaultGroup; // the program group proposed to the user
