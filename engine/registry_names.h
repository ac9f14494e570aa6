// The registry keys and values an installation writes under HKEY_CURRENT_USER,
// named once for the steps that make them and the uninstaller that checks them.
#pragma once

// The uninstall entries' parent key; an entry is named after the display name.
constexpr char kUninstallKeyBase[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";
constexpr char kRunValue[] = "KestrelApp";
