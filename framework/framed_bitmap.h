// Bitmaps that fill their frame on a dialog at any display scale. A dialog is
// laid out in dialog units, which grow with the system font and so with the
// DPI, while a bitmap resource has a fixed number of pixels. A static bitmap
// control given SS_REALSIZECONTROL in the template keeps the size of its frame;
// its bitmap, drawn larger than the frame is at 100 %, is then resampled here
// to exactly that size, so that the control shows it pixel for pixel. The
// frame's proportions change a little with the font's (dialog units across
// and down grow unequally from one DPI to another): the bitmap keeps its own,
// and what overhangs the frame is cut off evenly.
#pragma once

#include "unique_handle.h"

#include <windows.h>

#include <vector>

// Fits every such bitmap of `dialog`'s controls to its frame. The fitted
// bitmaps, and the ones they replace, go into `owned`, which must outlive the
// dialog's window. A bitmap that cannot be fitted is left to the control,
// which then stretches it itself.
void FitFramedBitmaps(HWND dialog, std::vector<UniqueBitmap>& owned);
