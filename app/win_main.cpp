#include "win_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return AfxRunApplication();
}
