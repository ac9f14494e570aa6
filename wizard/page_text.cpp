#include "page_text.h"

void FillDlgItemText(const CWnd& page, int id, const std::string& argument) {
    std::string text = page.GetDlgItemText(id);
    size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, argument);
    page.SetDlgItemText(id, text);
}
