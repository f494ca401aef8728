#include <gtest/gtest.h>

#include <filesystem>

#include "png_image.h"
#include "skin.h"

// The shipped default skin (drawn by corvan-skin-generator): the calculator must find every
// image it asks for, at both scales, and the colour file.

namespace fs = std::filesystem;

namespace {

const ProgramFolder& shippedFolder()
{
    static const fs::path data = fs::path(CORVAN_TEST_DATA_DIR) / ".." / ".." / "data";
    static const ProgramFolder folder(data, data);
    return folder;
}

TEST(DefaultSkin, NamesEveryImageAtBothScalesWithTheHighResolutionOneTwiceAsLarge)
{
    const std::optional<SkinImages> normal = loadSkin(shippedFolder(), u"default.inf", false, false);
    const std::optional<SkinImages> high = loadSkin(shippedFolder(), u"default.inf", true, false);
    ASSERT_TRUE(normal && high);
    for (std::string_view key : kSkinImageKeys) {
        SCOPED_TRACE(std::string(key));
        ASSERT_TRUE(normal->contains(key) && high->contains(key));
        const std::optional<PngImage> small = readPng(normal->find(key)->second);
        const std::optional<PngImage> large = readPng(high->find(key)->second);
        ASSERT_TRUE(small && large);
        EXPECT_EQ(large->width, 2 * small->width);
        EXPECT_EQ(large->height, 2 * small->height);
    }
}

TEST(DefaultSkin, HasTheSameFrameColoursAtBothScales)
{
    SkinColours normal;
    SkinColours high;
    ASSERT_TRUE(loadSkinColours(skinImagePath(shippedFolder(), kSkinColourFileKey, u"default.inf", false), normal));
    ASSERT_TRUE(loadSkinColours(skinImagePath(shippedFolder(), kSkinColourFileKey, u"default.inf", true), high));
    EXPECT_EQ(normal, high);
    EXPECT_NE(normal, SkinColours{});
}

}  // namespace
