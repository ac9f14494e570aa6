#include "image_resample.h"

#include <algorithm>
#include <cstddef>

namespace setupcore {

namespace {

constexpr int kChannels = 4;

// How much of each source pixel one target pixel covers along one axis: the
// target's pixel `i` spans [i, i + 1) * from / to of the source.
struct Span {
    int first = 0;
    std::vector<double> weights; // of source pixels first, first + 1, ...; they add up to 1
};

std::vector<Span> Spans(int from, int to) {
    std::vector<Span> spans(to);
    const double scale = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        const double begin = i * scale, end = (i + 1) * scale;
        Span& span = spans[i];
        span.first = std::min(static_cast<int>(begin), from - 1);
        for (int s = span.first; s < from && s < end; ++s) {
            const double covered = std::min<double>(s + 1, end) - std::max<double>(s, begin);
            span.weights.push_back(covered / (end - begin));
        }
    }
    return spans;
}

} // namespace

Picture ResampleByArea(const Picture& source, int width, int height) {
    Picture result;
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0 ||
        source.pixels.size() != static_cast<size_t>(source.width) * source.height * kChannels)
        return result;
    // Across first, into a picture as high as the source; then down.
    const std::vector<Span> across = Spans(source.width, width);
    const std::vector<Span> down = Spans(source.height, height);
    std::vector<double> rows(static_cast<size_t>(width) * source.height * kChannels);
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < width; ++x) {
            const Span& span = across[x];
            double* out = &rows[(static_cast<size_t>(y) * width + x) * kChannels];
            for (size_t k = 0; k < span.weights.size(); ++k) {
                const uint8_t* in =
                    &source.pixels[(static_cast<size_t>(y) * source.width + span.first + k) *
                                   kChannels];
                for (int c = 0; c < kChannels; ++c)
                    out[c] += in[c] * span.weights[k];
            }
        }
    result.width = width;
    result.height = height;
    result.pixels.resize(static_cast<size_t>(width) * height * kChannels);
    for (int y = 0; y < height; ++y) {
        const Span& span = down[y];
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < kChannels; ++c) {
                double sum = 0;
                for (size_t k = 0; k < span.weights.size(); ++k)
                    sum += rows[((span.first + k) * width + x) * kChannels + c] * span.weights[k];
                result.pixels[(static_cast<size_t>(y) * width + x) * kChannels + c] =
                    static_cast<uint8_t>(std::min(255.0, sum + 0.5));
            }
    }
    return result;
}

Picture CoverByArea(const Picture& source, int width, int height) {
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0)
        return Picture{};
    // The largest part of the source with the target's proportions.
    int cropWidth = source.width, cropHeight = source.height;
    if (static_cast<int64_t>(source.width) * height > static_cast<int64_t>(source.height) * width)
        cropWidth =
            std::max(1, static_cast<int>(static_cast<int64_t>(source.height) * width / height));
    else
        cropHeight =
            std::max(1, static_cast<int>(static_cast<int64_t>(source.width) * height / width));
    if (cropWidth == source.width && cropHeight == source.height)
        return ResampleByArea(source, width, height);
    if (source.pixels.size() != static_cast<size_t>(source.width) * source.height * kChannels)
        return Picture{};
    Picture middle{cropWidth, cropHeight, {}};
    middle.pixels.reserve(static_cast<size_t>(cropWidth) * cropHeight * kChannels);
    const int left = (source.width - cropWidth) / 2, top = (source.height - cropHeight) / 2;
    for (int y = top; y < top + cropHeight; ++y) {
        const auto row = source.pixels.begin() +
                         (static_cast<std::ptrdiff_t>(y) * source.width + left) * kChannels;
        middle.pixels.insert(middle.pixels.end(), row, row + cropWidth * kChannels);
    }
    return ResampleByArea(middle, width, height);
}

} // namespace setupcore
