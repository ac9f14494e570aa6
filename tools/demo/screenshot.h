// Pictures of other programs' windows, as the screen shows them, saved as
// numbered BMP files that the demo script turns into PNGs.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

// Brings `window` to the top, lets it paint, and saves the part of the screen
// it covers as a 24-bit BMP at `path`. False when nothing could be saved.
bool SaveWindowImage(HWND window, const std::string& path);

// Numbers the pictures of one demo run in the order they are taken.
class Screenshots {
public:
    explicit Screenshots(std::string directory) : directory_(std::move(directory)) {}

    // Saves `window` as "NN-<what>.bmp" (lower case, words joined by dashes)
    // and returns that name without its extension; empty when it failed.
    std::string Take(HWND window, const std::string& what);

private:
    std::string directory_;
    int taken_ = 0;
};
