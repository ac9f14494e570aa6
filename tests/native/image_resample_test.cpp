#include "image_resample.h"

#include <gtest/gtest.h>

using namespace setupcore;

namespace {

Picture Filled(int width, int height, uint8_t value) {
    return Picture{width, height,
                   std::vector<uint8_t>(static_cast<size_t>(width) * height * 4, value)};
}

// One channel value per pixel, the same in all four channels.
Picture FromValues(int width, int height, const std::vector<uint8_t>& values) {
    Picture picture{width, height, {}};
    for (uint8_t value : values)
        picture.pixels.insert(picture.pixels.end(), 4, value);
    return picture;
}

std::vector<uint8_t> FirstChannel(const Picture& picture) {
    std::vector<uint8_t> values;
    for (size_t i = 0; i < picture.pixels.size(); i += 4)
        values.push_back(picture.pixels[i]);
    return values;
}

} // namespace

TEST(ResampleByArea, KeepsAPictureOfTheSameSizeAsItIs) {
    const Picture source = FromValues(3, 2, {0, 50, 100, 150, 200, 250});
    const Picture same = ResampleByArea(source, 3, 2);
    EXPECT_EQ(same.width, 3);
    EXPECT_EQ(same.height, 2);
    EXPECT_EQ(same.pixels, source.pixels);
}

TEST(ResampleByArea, AveragesWhatEachPixelCovers) {
    // Halving: each target pixel is the mean of a 2 x 2 block.
    const Picture half =
        ResampleByArea(FromValues(4, 2, {0, 100, 200, 200, 100, 200, 0, 40}), 2, 1);
    EXPECT_EQ(FirstChannel(half), (std::vector<uint8_t>{100, 110}));
    // Two thirds: the middle target pixel covers half of each of its two sources.
    const Picture twoThirds = ResampleByArea(FromValues(3, 1, {0, 90, 180}), 2, 1);
    EXPECT_EQ(FirstChannel(twoThirds), (std::vector<uint8_t>{30, 150}));
}

TEST(ResampleByArea, KeepsAUniformPictureUniformAtEverySize) {
    for (const auto& [width, height] : {std::pair{1, 1}, {7, 3}, {142, 252}, {300, 500}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const Picture scaled = ResampleByArea(Filled(213, 378, 77), width, height);
        ASSERT_EQ(scaled.pixels.size(), static_cast<size_t>(width) * height * 4);
        EXPECT_EQ(scaled.pixels, std::vector<uint8_t>(scaled.pixels.size(), 77));
    }
}

TEST(ResampleByArea, RefusesEmptySizesAndMalformedPictures) {
    EXPECT_TRUE(ResampleByArea(Filled(4, 4, 1), 0, 4).pixels.empty());
    EXPECT_TRUE(ResampleByArea(Filled(4, 4, 1), 4, -1).pixels.empty());
    EXPECT_TRUE(ResampleByArea(Picture{}, 4, 4).pixels.empty());
    Picture shortOfPixels = Filled(4, 4, 1);
    shortOfPixels.pixels.pop_back();
    EXPECT_TRUE(ResampleByArea(shortOfPixels, 2, 2).pixels.empty());
}

TEST(CoverByArea, CutsTheOverhangEvenlyAndKeepsTheMiddle) {
    // Too wide: the middle two columns of four.
    const Picture wide = FromValues(4, 2, {10, 20, 30, 40, 10, 20, 30, 40});
    EXPECT_EQ(FirstChannel(CoverByArea(wide, 2, 2)), (std::vector<uint8_t>{20, 30, 20, 30}));
    // Too tall: the middle two rows of four, averaged.
    const Picture tall = FromValues(2, 4, {0, 0, 100, 200, 50, 150, 0, 0});
    EXPECT_EQ(FirstChannel(CoverByArea(tall, 1, 1)), (std::vector<uint8_t>{125}));
    // Proportions that match: nothing is cut.
    EXPECT_EQ(FirstChannel(CoverByArea(wide, 2, 1)), (std::vector<uint8_t>{15, 35}));
}
