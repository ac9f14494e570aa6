#include "page_text.h"

#include "string_table.h"

void FillDlgItemText(const CWnd& page, int id, const std::string& argument) {
    page.SetDlgItemText(id, FillArgument(page.GetDlgItemText(id), argument));
}
