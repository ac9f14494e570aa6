// The two processes of an uninstallation: the installed program confirms and
// hands over to a temporary copy, which removes the installation.
#include "setup_app.h"

// Not built yet: both halves do nothing and say so by their result, so that
// no caller can take an uninstallation as done.
BOOL CSetupApp::HandOffUninstall() {
    return FALSE;
}

BOOL CSetupApp::RemoveInstallation() {
    return FALSE;
}
