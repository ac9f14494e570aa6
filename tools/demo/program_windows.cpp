#include "program_windows.h"

#include "message_box_answer.h"
#include "unique_handle.h"
#include "window_driver.h"

#include <iostream>
#include <vector>

namespace {

// Started programs come up within seconds under Wine, even on a busy machine.
constexpr DWORD kArrivalMilliseconds = 15000;
constexpr DWORD kEndMilliseconds = 10000;

struct TitleSearch {
    std::string caption;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectTitled(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<TitleSearch*>(parameter);
    if (::IsWindowVisible(window) && windowdriver::WindowText(window) == search->caption)
        search->windows.push_back(window);
    return TRUE;
}

std::vector<HWND> WindowsTitled(const std::string& caption) {
    TitleSearch search{caption, {}};
    ::EnumWindows(CollectTitled, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

std::vector<HWND> WaitForWindowsTitled(const std::string& caption, size_t expected) {
    const DWORD start = ::GetTickCount();
    std::vector<HWND> windows = WindowsTitled(caption);
    while (windows.size() < expected &&
           ::GetTickCount() - start < windowdriver::Allowing(kArrivalMilliseconds)) {
        ::Sleep(windowdriver::kPollMilliseconds);
        windows = WindowsTitled(caption);
    }
    return windows;
}

void Close(HWND window, const std::string& caption, Screenshots& shots) {
    if (windowdriver::IsMessageBox(window)) {
        AnswerMessageBox(window, shots);
        return;
    }
    const std::string shot = shots.Take(window, caption + " window");
    std::cout << "   window \"" << caption << "\" (screenshot " << shot << "): closing it"
              << std::endl;
    ::PostMessageA(window, WM_CLOSE, 0, 0);
}

} // namespace

void CloseProgramWindows(const std::string& caption, size_t expected, Screenshots& shots) {
    const std::vector<HWND> windows = WaitForWindowsTitled(caption, expected);
    if (windows.size() < expected)
        std::cout << "   expected " << expected << " windows titled \"" << caption << "\", saw "
                  << windows.size() << std::endl;
    for (HWND window : windows) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
        Close(window, caption, shots);
        if (process && ::WaitForSingleObject(process.get(), windowdriver::Allowing(
                                                                kEndMilliseconds)) != WAIT_OBJECT_0)
            std::cout << "   its program did not end" << std::endl;
    }
}
