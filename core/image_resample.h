// Resampling a picture to another size by area: each pixel of the result is
// the mean of the part of the picture it covers. A picture drawn large comes
// out smooth at any smaller size, without the jagged edges that dropping rows
// and columns leaves (which is what Windows' own stretching does under Wine,
// whatever the stretch mode). Bytes in, bytes out.
#pragma once

#include <cstdint>
#include <vector>

namespace setupcore {

// Pixels of 4 bytes (any channel order, taken alike), rows top-down, no padding.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width * height * 4 bytes
};

// `source` at `width` x `height`; an empty picture when either size, or the
// source, is empty.
Picture ResampleByArea(const Picture& source, int width, int height);

// Fills `width` x `height` with `source` without distorting it: resampled by
// area to cover the whole size, the middle kept and the overhang cut off
// evenly at both ends of the one direction in which it is too long.
Picture CoverByArea(const Picture& source, int width, int height);

} // namespace setupcore
