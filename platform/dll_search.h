// Where the process looks for the DLLs it loads after start-up. By default
// Windows also looks in the program's own directory and the current one; a
// setup program usually runs from a download folder, where anyone may have
// left a DLL named like one that Windows loads on the program's behalf later
// (the common controls, the shell, COM). DLLs the program imports are loaded
// before any of its code runs, and zlib1.dll beside it is meant to be one of
// them; the restriction concerns what is loaded from then on.
#pragma once

enum class DllSearch {
    SystemDirectoryOnly,     // SetDefaultDllDirectories: Windows 8, 7 and Vista with KB2533623
    CurrentDirectoryLeftOut, // SetDllDirectoryA(""): XP SP1 and later without it
    Unchanged,               // neither is there
};

// Restricts the search, as far as this system allows, to the system directory.
// Meant to be called once, first thing.
DllSearch RestrictDllSearchToSystem();
