// Kestrel Notes: the small sample application the demo packages and installs.
// One window with an edit box; started with "/I" after installation it greets
// the user once.
#include "notes_resource.h"

#include <windows.h>

#include <cstring>

namespace {

LRESULT CALLBACK NotesProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "Write your notes here.",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                          0, 0, window, reinterpret_cast<HMENU>(1), nullptr, nullptr);
        return 0;
    case WM_SIZE:
        ::MoveWindow(::GetDlgItem(window, 1), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    if (std::strstr(commandLine, "/I")) {
        ::MessageBoxA(nullptr, "Kestrel Notes is installed.", "Kestrel Notes", MB_OK);
        return 0;
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = NotesProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_NOTES));
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "KestrelNotes";
    ::RegisterClassA(&windowClass);
    HWND window =
        ::CreateWindowA("KestrelNotes", "Kestrel Notes", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 480, 320, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(window, show);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
