// The wizard pages' templates carry control texts with one "%s" for the name
// of the program being installed.
#pragma once

#include "wnd.h"

#include <string>

// Replaces the first "%s" in the text of control `id` of `page` with
// `argument`, taken literally.
void FillDlgItemText(const CWnd& page, int id, const std::string& argument);
