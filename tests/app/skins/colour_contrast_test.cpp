#include <gtest/gtest.h>

#include <random>

#include "colour_contrast.h"

namespace {

using namespace colourContrast;

TEST(ColourContrast, MatchesTheWcagReferenceValues)
{
    struct Case {
        std::uint32_t a, b;
        double ratio;
    };
    const Case cases[] = {
        {0x000000, 0xFFFFFF, 21.0}, {0xFFFFFF, 0xFFFFFF, 1.0},
        {0x777777, 0xFFFFFF, 4.48},                              // the classic "grey just below AA" example
        {0x767676, 0xFFFFFF, 4.54}, {0xFF0000, 0xFFFFFF, 8.59},  // blue is packed in the high byte
        {0x0000FF, 0xFFFFFF, 4.00},                              // and red in the low one
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(contrastRatio(c.a, c.b), c.ratio, 0.01) << std::hex << c.a << " on " << c.b;
        EXPECT_DOUBLE_EQ(contrastRatio(c.a, c.b), contrastRatio(c.b, c.a));
    }
}

TEST(ColourContrast, KeepsALegibleColourAndMendsAnIllegibleOne)
{
    // The shipped skin: quiet grey text on the window's near-black is already legible.
    EXPECT_EQ(legibleOn(0x1C1715, 0xA3938A), 0xA3938Au);
    // Grey on grey, and light grey on white: the faults seen in message boxes.
    for (const auto& [background, preferred] :
         {std::pair<std::uint32_t, std::uint32_t>{0x808080, 0x909090}, {0xFFFFFF, 0xC4B9AE}, {0x1C1715, 0x2A2E37}}) {
        const std::uint32_t mended = legibleOn(background, preferred);
        EXPECT_GE(contrastRatio(background, mended), kMinimumTextContrast) << std::hex << preferred;
        EXPECT_NE(mended, preferred);
    }
}

TEST(ColourContrast, EveryBackgroundGetsLegibleText)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint32_t> colour(0, 0xFFFFFF);
    for (int i = 0; i < 2000; ++i) {
        const std::uint32_t background = colour(random);
        const std::uint32_t preferred = colour(random);
        EXPECT_GE(contrastRatio(background, legibleOn(background, preferred)), kMinimumTextContrast)
            << std::hex << preferred << " on " << background;
    }
}

}  // namespace
