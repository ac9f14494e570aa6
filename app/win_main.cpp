#include "dll_search.h"
#include "win_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything else, the framework's start-up of the common controls
    // included: what Windows loads for us from now on comes from the system
    // directory, never from beside a downloaded setup program.
    RestrictDllSearchToSystem();
    return AfxRunApplication();
}
