#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "atomic_file.h"
#include "skin.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

// A program folder with an Interfaces folder to write skins into.
class SkinFolder {
public:
    SkinFolder() { fs::create_directories(interfaces()); }

    const ProgramFolder& folder() const { return folder_; }
    fs::path interfaces() const { return temp_.path() / "Interfaces"; }
    fs::path image(const std::string& name) const { return interfaces() / name; }

    void write(const std::string& name, const std::string& text) const
    {
        ASSERT_TRUE(writeFileAtomically(interfaces() / name, text));
    }

private:
    TempFolder temp_;
    ProgramFolder folder_{temp_.path(), temp_.path()};
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

TEST(SkinImagePath, FindsTheFirstLineOfTheKey)
{
    SkinFolder skin;
    skin.write("night.inf", kSkin);
    struct Case {
        const char* key;
        bool highResolution;
        const char* image;  // inside Interfaces, or null for an empty result
    };
    const Case cases[] = {
        {"Logo", false, "logo.png"},
        {"Logo", true, "logo_VGA.png"},
        {"NumberKeyboard", false, "keys"},
        {"NumberKeyboard", true, "keys_VGA"},
        {"SmallButtons", true, "a.b_VGA.png"},
        {"DateTime", false, nullptr},
        {"DateTime", true, nullptr},
        {"Keyboard", false, "sub/kb.png"},
        {"ToolsPanel", true, "x=y_VGA.png"},
        {"ListBox", false, "abs.png"},
        {"BoderColores", true, "colours_VGA.txt"},
        {"logo", false, nullptr},
        {"ListBoxButtons", false, nullptr},
    };
    for (const Case& c : cases) {
        const fs::path expected = c.image ? skin.image(c.image) : fs::path();
        EXPECT_EQ(SkinImagePath(skin.folder(), c.key, u"night.inf", c.highResolution)
                      .lexically_normal(),
                  expected.lexically_normal())
            << c.key << " " << c.highResolution;
    }
}

TEST(SkinImagePath, ReadsLinesLikeA256ByteBuffer)
{
    SkinFolder skin;
    // 255 bytes fill the buffer, so the rest of the physical line is read as a line of its own.
    const std::string longValue(250, 'v');
    skin.write("long.inf", "Logo=" + longValue + "Keyboard=tail.png\n" +
                               std::string("ListBox=lb.png\0junk=x\n", 22) + "DateTime=dt.png");
    EXPECT_EQ(SkinImagePath(skin.folder(), "Logo", u"long.inf", false), skin.image(longValue));
    EXPECT_EQ(SkinImagePath(skin.folder(), "Keyboard", u"long.inf", false),
              skin.image("tail.png"));
    EXPECT_EQ(SkinImagePath(skin.folder(), "ListBox", u"long.inf", false), skin.image("lb.png"));
    EXPECT_EQ(SkinImagePath(skin.folder(), "junk", u"long.inf", false), fs::path());
    EXPECT_EQ(SkinImagePath(skin.folder(), "DateTime", u"long.inf", false),
              skin.image("dt.png"));
}

TEST(SkinImagePath, MatchesFileNamesIgnoringCase)
{
    SkinFolder skin;
    skin.write("Default.inf", "Logo=logo.png\nKeyboard=kb.png\n");
    skin.write("LOGO.png", "");
    EXPECT_EQ(SkinImagePath(skin.folder(), "Logo", u"default.inf", false),
              skin.image("LOGO.png"));
    // A missing image keeps the name the skin gives it.
    EXPECT_EQ(SkinImagePath(skin.folder(), "Keyboard", u"DEFAULT.INF", false),
              skin.image("kb.png"));
}

TEST(Skin, UnopenableSkinFileFails)
{
    SkinFolder skin;
    fs::create_directory(skin.interfaces() / "folder.inf");
    for (const std::u16string_view name : {u"missing.inf", u"folder.inf", u""}) {
        EXPECT_EQ(SkinImagePath(skin.folder(), "Logo", name, false), fs::path());
        EXPECT_FALSE(LoadSkin(skin.folder(), name, false, false).has_value());
    }
}

TEST(LoadSkin, GivesEveryImageKeyTheSkinNames)
{
    SkinFolder skin;
    skin.write("night.inf", kSkin);
    const auto images = LoadSkin(skin.folder(), u"night.inf", true, false);
    ASSERT_TRUE(images.has_value());
    const SkinImages expected = {
        {"Logo", skin.image("logo_VGA.png")},       {"NumberKeyboard", skin.image("keys_VGA")},
        {"SmallButtons", skin.image("a.b_VGA.png")}, {"Keyboard", skin.image("sub/kb_VGA.png")},
        {"ToolsPanel", skin.image("x=y_VGA.png")},   {"ListBox", skin.image("abs_VGA.png")},
    };
    ASSERT_EQ(images->size(), expected.size());
    for (const auto& [key, path] : expected)
        EXPECT_EQ(images->at(key).lexically_normal(), path.lexically_normal()) << key;
}

TEST(LoadSkin, SquareScreenTakesTheSquareImages)
{
    SkinFolder skin;
    skin.write("full.inf",
               "LargeButtons=lb.png\nLargeFonts=lf.png\n"
               "LargeButtonsSquare=lbs.png\nLargeFontsSquare=lfs.png\n");
    skin.write("plain.inf", "LargeButtons=lb.png\nLargeFonts=lf.png\n");
    struct Case {
        const char16_t* skinName;
        bool square;
        const char* largeButtons;  // null: absent
        const char* largeFonts;
    };
    const Case cases[] = {
        {u"full.inf", false, "lb.png", "lf.png"},
        {u"full.inf", true, "lbs.png", "lfs.png"},
        {u"plain.inf", false, "lb.png", "lf.png"},
        {u"plain.inf", true, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const auto images = LoadSkin(skin.folder(), c.skinName, false, c.square);
        ASSERT_TRUE(images.has_value());
        const auto check = [&](const char* key, const char* image) {
            const auto it = images->find(key);
            if (image == nullptr)
                EXPECT_EQ(it, images->end()) << key;
            else
                EXPECT_TRUE(it != images->end() && it->second == skin.image(image)) << key;
        };
        check("LargeButtons", c.largeButtons);
        check("LargeFonts", c.largeFonts);
    }
}

TEST(LoadSkinColours, EachLineSetsItsColourOrNothing)
{
    SkinFolder skin;
    constexpr std::uint32_t kBefore = 0xABCDEF;
    struct Case {
        const char* line;
        std::size_t index;  // into kSkinColourKeys
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"BoderColor0=1,2,3", 0, 0x030201},
        {"  BoderColor1 =  255 , 0 ,128  \r", 1, packColour(255, 0, 128)},
        {"BoderColor2=0,0,0", 2, 0},
        {"BoderColor3=10,20", 3, kBefore},
        {"BoderColor4=10,20,", 4, kBefore},
        {"EditBoxBoderColor=10,20,  ", 5, kBefore},
        {"ListBoxBoderColor=256,0,0", 6, kBefore},
        {"ListBoxBoderColor=0,0,300", 6, kBefore},
        {"ListBoxBoderColor=-1,0,0", 6, kBefore},
        {"ListBoxBoderColor=1,x,3", 6, kBefore},
        {"ListBoxBoderColor=,2,3", 6, kBefore},
        {"ListBoxBoderColor=1,2,3,4", 6, kBefore},
        {"ListBoxBoderColor=1,2,3x", 6, kBefore},
        {"ListBoxBoderColor=99999999999999999999,0,0", 6, kBefore},
        {"ListBoxBoderColor 7,8,9", 6, kBefore},
        {"listboxbodercolor=7,8,9", 6, kBefore},
        {"EditBoxBoderColor=7,8,9", 5, packColour(7, 8, 9)},
    };
    for (const Case& c : cases) {
        skin.write("colours.txt", std::string(c.line) + "\n");
        SkinColours colours;
        for (std::size_t i = 0; i < kSkinColourKeys.size(); ++i)
            colours.at(i) = kBefore;
        ASSERT_TRUE(LoadSkinColours(skin.image("colours.txt"), colours));
        for (std::size_t i = 0; i < kSkinColourKeys.size(); ++i)
            EXPECT_EQ(colours.at(i), i == c.index ? c.expected : kBefore) << c.line << " " << i;
    }
}

TEST(LoadSkinColours, LaterLinesWinAndMissingFilesChangeNothing)
{
    SkinFolder skin;
    skin.write("c.txt", "BoderColor0=1,1,1\nBoderColor0=2,2,2\nBoderColor0=bad\n");
    SkinColours colours;
    ASSERT_TRUE(LoadSkinColours(skin.image("c.txt"), colours));
    EXPECT_EQ(colours.border[0], packColour(2, 2, 2));
    const SkinColours before = colours;
    EXPECT_FALSE(LoadSkinColours(skin.image("none.txt"), colours));
    EXPECT_FALSE(LoadSkinColours(skin.interfaces(), colours));
    EXPECT_EQ(colours, before);
}

TEST(Skin, LoadsImagesAndTheColoursOfTheResolution)
{
    SkinFolder skin;
    skin.write("a.inf", "Logo=logo.png\nBoderColores=col.txt\n");
    skin.write("col.txt", "BoderColor0=1,2,3\n");
    skin.write("col_VGA.txt", "BoderColor0=4,5,6\nListBoxBoderColor=7,8,9\n");
    skin.write("b.inf", "Logo=b.png\nBoderColores=none.txt\n");

    Skin model;
    ASSERT_TRUE(model.load(skin.folder(), u"a.inf", true, false));
    EXPECT_EQ(model.image("Logo"), skin.image("logo_VGA.png"));
    EXPECT_EQ(model.image("Keyboard"), fs::path());
    EXPECT_EQ(model.colours().border[0], packColour(4, 5, 6));
    ASSERT_TRUE(model.load(skin.folder(), u"a.inf", false, false));
    EXPECT_EQ(model.colours().border[0], packColour(1, 2, 3));
    EXPECT_EQ(model.colours().listBoxBorder, packColour(7, 8, 9));

    // A missing colour file keeps the colours; a missing skin keeps everything.
    ASSERT_TRUE(model.load(skin.folder(), u"b.inf", false, false));
    EXPECT_EQ(model.image("Logo"), skin.image("b.png"));
    EXPECT_EQ(model.colours().border[0], packColour(1, 2, 3));
    EXPECT_FALSE(model.load(skin.folder(), u"gone.inf", false, false));
    EXPECT_EQ(model.image("Logo"), skin.image("b.png"));
}

TEST(SkinFonts, ListsTheTrueTypeFilesSorted)
{
    TempFolder temp;
    const ProgramFolder folder(temp.path(), temp.path());
    EXPECT_TRUE(skinFontFiles(folder).empty());
    for (const char* name : {"b.ttf", "A.TTF", "c.ttf.txt", "ttf", "d.otf"})
        ASSERT_TRUE(writeFileAtomically(temp.path() / name, ""));
    fs::create_directory(temp.path() / "e.ttf");
    const std::vector<fs::path> expected = {temp.path() / "A.TTF", temp.path() / "b.ttf"};
    EXPECT_EQ(skinFontFiles(folder), expected);
    EXPECT_TRUE(skinFontFiles(ProgramFolder(temp.path() / "none", temp.path())).empty());
}

}  // namespace
