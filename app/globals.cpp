// The program's global objects, in one translation unit so that they are
// constructed in this order: the application, the record name, the package,
// the default group and the display name.
#include "setup_app.h"
#include "setup_dat.h"

CSetupApp theApp;
std::string g_strInfoFileName;
CSetupDat theSetupDat;
std::string g_strDefaultGroup;
std::string g_strDisplayName;
std::string g_szSetupPath;
