// The install wizard run.
#include "setup_app.h"

// Not built yet: the package index has been read and nothing is shown.
void RunInstallWizard() {}
