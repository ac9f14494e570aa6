#include "message_box_answer.h"

#include "window_driver.h"

#include <iostream>

bool AnswerMessageBox(HWND box, Screenshots& shots) {
    windowdriver::MessageBoxContent content;
    if (!windowdriver::ReadMessageBox(box, content))
        return false;
    const std::string shot = shots.Take(box, content.caption + " message");
    const int button = windowdriver::DefaultButtonId(box);
    const std::string label = windowdriver::WindowText(::GetDlgItem(box, button));
    std::cout << "   message box " << content << " (screenshot " << shot << "): pressing \""
              << label << "\"" << std::endl;
    if (button == 0 || !windowdriver::PressButton(box, button))
        return false;
    return windowdriver::WaitUntilGone(box, windowdriver::kDefaultTimeoutMilliseconds);
}
