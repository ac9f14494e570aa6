// The application object, in the program itself, never in a library from
// which the linker might leave it out.
#include "setup_app.h"

CSetupApp theApp;
