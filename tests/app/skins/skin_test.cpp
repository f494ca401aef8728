#include <gtest/gtest.h>

#include <string>

#include "atomic_file.h"
#include "skin.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

// A program folder with an Interfaces folder to write skins into.
struct SkinFolder {
    TempFolder temp;
    ProgramFolder folder{temp.path(), temp.path()};
    fs::path interfaces = temp.path() / "Interfaces";

    SkinFolder() { fs::create_directories(interfaces); }
    fs::path image(const std::string& name) const { return interfaces / name; }
    void write(const std::string& name, const std::string& text) const
    {
        ASSERT_TRUE(writeFileAtomically(interfaces / name, text));
    }
};

constexpr char kSkin[] =
    "; a comment line without an equals sign\n"
    "  Logo  =   logo.png  \r\n"
    "NumberKeyboard=keys\n"
    "SmallButtons = a.b.png\n"
    "Logo = second.png\n"
    "DateTime =   \n"
    "Keyboard=sub\\kb.png\n"
    "ToolsPanel = x=y.png\n"
    "ListBox=/abs.png\n"
    "BoderColores = colours.txt\n";

TEST(skinImagePath, FindsTheFirstLineOfTheKey)
{
    SkinFolder skin;
    skin.write("night.inf", kSkin);
    const struct {
        const char* key;
        bool highResolution;
        const char* image;  // inside Interfaces, or null for an empty result
    } cases[] = {
        {"Logo", false, "logo.png"},
        {"Logo", true, "logo_VGA.png"},
        {"NumberKeyboard", true, "keys_VGA"},
        {"SmallButtons", true, "a.b_VGA.png"},
        {"DateTime", true, nullptr},
        {"Keyboard", false, "sub/kb.png"},
        {"ToolsPanel", true, "x=y_VGA.png"},
        {"ListBox", false, "abs.png"},
        {"BoderColores", true, "colours_VGA.txt"},
        {"logo", false, nullptr},
        {"ListBoxButtons", false, nullptr},
    };
    for (const auto& c : cases) {
        const fs::path expected = c.image ? skin.image(c.image) : fs::path();
        EXPECT_EQ(skinImagePath(skin.folder, c.key, u"night.inf", c.highResolution).lexically_normal(),
                  expected.lexically_normal())
            << c.key << " " << c.highResolution;
    }
}

TEST(skinImagePath, ReadsLinesLikeA256ByteBuffer)
{
    SkinFolder skin;
    // 255 bytes fill the buffer, so the rest of the physical line is read as a line of its own.
    const std::string longValue(250, 'v');
    skin.write("long.inf", "Logo=" + longValue + "Keyboard=tail.png\n" + std::string("ListBox=lb.png\0junk=x\n", 22) +
                               "DateTime=dt.png");
    const std::pair<const char*, fs::path> cases[] = {
        {"Logo", skin.image(longValue)},    {"Keyboard", skin.image("tail.png")},
        {"ListBox", skin.image("lb.png")},  {"junk", fs::path()},
        {"DateTime", skin.image("dt.png")},
    };
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(skinImagePath(skin.folder, key, u"long.inf", false), expected) << key;
}

TEST(skinImagePath, MatchesFileNamesIgnoringCase)
{
    SkinFolder skin;
    skin.write("Default.inf", "Logo=logo.png\nKeyboard=kb.png\n");
    skin.write("LOGO.png", "");
    EXPECT_EQ(skinImagePath(skin.folder, "Logo", u"default.inf", false), skin.image("LOGO.png"));
    EXPECT_EQ(skinImagePath(skin.folder, "Keyboard", u"DEFAULT.INF", false), skin.image("kb.png"));
}

TEST(loadSkin, UnopenableSkinFileFails)
{
    SkinFolder skin;
    fs::create_directory(skin.interfaces / "folder.inf");
    for (const std::u16string_view name : {u"missing.inf", u"folder.inf", u""}) {
        EXPECT_EQ(skinImagePath(skin.folder, "Logo", name, false), fs::path());
        EXPECT_FALSE(loadSkin(skin.folder, name, false, false).has_value());
    }
}

TEST(loadSkin, AgreesWithSkinImagePathOnEveryKey)
{
    SkinFolder skin;
    skin.write("night.inf", kSkin);
    for (const bool highResolution : {false, true}) {
        const auto images = loadSkin(skin.folder, u"night.inf", highResolution, false);
        ASSERT_TRUE(images.has_value());
        EXPECT_EQ(images->size(), 6u);
        EXPECT_FALSE(images->contains(kSkinColourFileKey));
        for (const std::string_view key : kSkinImageKeys) {
            const auto it = images->find(key);
            EXPECT_EQ(it == images->end() ? fs::path() : it->second,
                      skinImagePath(skin.folder, key, u"night.inf", highResolution))
                << key;
        }
    }
}

TEST(loadSkin, SquareScreenTakesTheSquareImages)
{
    SkinFolder skin;
    skin.write("full.inf",
               "LargeButtons=lb\nLargeFonts=lf\nLargeButtonsSquare=lbs\n"
               "LargeFontsSquare=lfs\n");
    skin.write("plain.inf", "LargeButtons=lb\nLargeFonts=lf\n");
    const struct {
        const char16_t* skinName;
        bool square;
        const char* largeButtons;  // empty: absent
        const char* largeFonts;
    } cases[] = {
        {u"full.inf", false, "lb", "lf"},
        {u"full.inf", true, "lbs", "lfs"},
        {u"plain.inf", true, "", ""},
    };
    for (const auto& c : cases) {
        const auto images = loadSkin(skin.folder, c.skinName, false, c.square);
        ASSERT_TRUE(images.has_value());
        for (const auto& [key, image] :
             {std::pair{"LargeButtons", c.largeButtons}, std::pair{"LargeFonts", c.largeFonts}}) {
            const auto it = images->find(key);
            EXPECT_EQ(it == images->end() ? "" : it->second.filename().string(), image) << key;
        }
    }
}

TEST(loadSkinColours, EachLineSetsItsColourOrNothing)
{
    SkinFolder skin;
    constexpr std::uint32_t kBefore = 0xABCDEF;
    const struct {
        const char* line;
        std::size_t index;  // into kSkinColourKeys
        std::uint32_t expected;
    } cases[] = {
        {"BoderColor0=1,2,3", 0, 0x030201},
        {"  BoderColor1 =  255 , 0 ,128  \r", 1, packColour(255, 0, 128)},
        {"EditBoxBoderColor=7,8,9", 5, packColour(7, 8, 9)},
        {"BoderColor3=10,20", 3, kBefore},
        {"BoderColor4=10,20,  ", 4, kBefore},
        {"ListBoxBoderColor=256,0,0", 6, kBefore},
        {"ListBoxBoderColor=-1,0,0", 6, kBefore},
        {"ListBoxBoderColor=1,x,3", 6, kBefore},
        {"ListBoxBoderColor=,2,3", 6, kBefore},
        {"ListBoxBoderColor=1,2,3,4", 6, kBefore},
        {"ListBoxBoderColor=99999999999999999999,0,0", 6, kBefore},
        {"listboxbodercolor=7,8,9", 6, kBefore},
    };
    for (const auto& c : cases) {
        skin.write("colours.txt", std::string(c.line) + "\n");
        SkinColours colours;
        for (std::size_t i = 0; i < kSkinColourKeys.size(); ++i)
            colours.at(i) = kBefore;
        ASSERT_TRUE(loadSkinColours(skin.image("colours.txt"), colours));
        for (std::size_t i = 0; i < kSkinColourKeys.size(); ++i)
            EXPECT_EQ(colours.at(i), i == c.index ? c.expected : kBefore) << c.line << " " << i;
    }
}

TEST(Skin, LoadsImagesAndTheColoursOfTheResolution)
{
    SkinFolder skin;
    skin.write("a.inf", "Logo=logo.png\nBoderColores=col.txt\n");
    skin.write("col.txt", "BoderColor0=1,2,3\nBoderColor0=1,2,4\n");
    skin.write("col_VGA.txt", "BoderColor0=4,5,6\nListBoxBoderColor=7,8,9\n");
    skin.write("b.inf", "Logo=b.png\nBoderColores=none.txt\n");

    Skin model;
    ASSERT_TRUE(model.load(skin.folder, u"a.inf", true, false));
    EXPECT_EQ(model.image("Logo"), skin.image("logo_VGA.png"));
    EXPECT_EQ(model.colours().border[0], packColour(4, 5, 6));
    ASSERT_TRUE(model.load(skin.folder, u"a.inf", false, false));
    EXPECT_EQ(model.colours().border[0], packColour(1, 2, 4));
    EXPECT_EQ(model.colours().listBoxBorder, packColour(7, 8, 9));

    // A missing colour file keeps the colours; a missing skin keeps everything.
    ASSERT_TRUE(model.load(skin.folder, u"b.inf", false, false));
    EXPECT_EQ(model.image("Logo"), skin.image("b.png"));
    EXPECT_EQ(model.colours().border[0], packColour(1, 2, 4));
    EXPECT_FALSE(model.load(skin.folder, u"gone.inf", false, false));
    EXPECT_EQ(model.image("Logo"), skin.image("b.png"));
}

TEST(Skin, ListsTheFontFilesSorted)
{
    SkinFolder skin;
    for (const char* name : {"b.ttf", "A.TTF", "c.ttf.txt", "d.otf"})
        ASSERT_TRUE(writeFileAtomically(skin.temp.path() / name, ""));
    fs::create_directory(skin.temp.path() / "e.ttf");
    const std::vector<fs::path> expected = {skin.temp.path() / "A.TTF", skin.temp.path() / "b.ttf"};
    EXPECT_EQ(skinFontFiles(skin.folder), expected);
}

}  // namespace
