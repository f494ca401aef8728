#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "program_folder.h"

// Skins: a skin is a text file "Interfaces/<name>.inf" in the program folder whose lines map
// image keys to PNG files in the same folder ("Logo = logo.png"), plus one key naming the colour
// file of the frame colours. The key spellings are the skin format's own and must not be fixed
// ("BoderColores", "SmallFontsGeonometry").
//
// Skin and colour files are 8-bit text read line by line with a 256-byte buffer: a line longer
// than 255 bytes is cut into pieces of 255 bytes, each treated as a line of its own, as fgets
// would. A NUL byte ends the text of its line. The key is the text before the first '=', the
// value the text after it, both trimmed of white space; lines without '=' are ignored.

// Every image key the calculator asks a skin for.
inline constexpr std::array<std::string_view, 25> kSkinImageKeys = {
    "Logo",
    "NumberKeyboard",
    "SmallButtons",
    "DateTime",
    "NumberKeyboardFunctions",
    "SmallFonts",
    "SmallFontsArithmetic",
    "SmallFontsGeonometry",
    "SmallFontsGeneral",
    "SmallFontsFinance",
    "SmallFontsMatrix",
    "SmallFontsStatistics",
    "SmallFontsBaseConversion",
    "LargeFonts",
    "LargeButtons",
    "LargeFontsSquare",
    "LargeButtonsSquare",
    "GraphOperators",
    "FormulaButtons",
    "ToolsPanel",
    "ToolsPanelMask",
    "ListBox",
    "ListBoxButtons",
    "Keyboard",
    "SkinPreview",
};

// The skin key whose value is the colour file.
inline constexpr std::string_view kSkinColourFileKey = "BoderColores";

// The colour file's keys, in the order of SkinColours::all().
inline constexpr std::array<std::string_view, 7> kSkinColourKeys = {
    "BoderColor0", "BoderColor1", "BoderColor2", "BoderColor3", "BoderColor4", "EditBoxBoderColor", "ListBoxBoderColor",
};

constexpr std::uint32_t packColour(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return red | green << 8 | blue << 16;
}

// The seven frame colours, each packed as R | G<<8 | B<<16.
struct SkinColours {
    std::array<std::uint32_t, 5> border{};
    std::uint32_t editBoxBorder = 0;
    std::uint32_t listBoxBorder = 0;

    // The colour that kSkinColourKeys[index] sets.
    std::uint32_t& at(std::size_t index)
    {
        return index < border.size() ? border[index] : (index == border.size() ? editBoxBorder : listBoxBorder);
    }

    friend bool operator==(const SkinColours&, const SkinColours&) = default;
};

// Image key -> full path of the image.
using SkinImages = std::map<std::string, std::filesystem::path, std::less<>>;

// The full path of the image that the skin file "Interfaces/<skinFileName>" names for key, or an
// empty path when the skin file cannot be opened or has no line for the key. The first line
// with the key wins. On a high-resolution screen "_VGA" goes before the value's last '.'
// ("keys.png" -> "keys_VGA.png"), or at its end when it has no '.'. A matching line with an
// empty value names nothing and gives an empty path.
std::filesystem::path skinImagePath(const ProgramFolder& folder, std::string_view key, std::u16string_view skinFileName,
                                    bool highResolution);

// Reads the skin file once and gives the path of every image key it names (keys it does not
// name are absent). On a square screen "LargeButtons" and "LargeFonts" take the images of
// "LargeButtonsSquare" and "LargeFontsSquare". Nothing when the skin file cannot be opened.
std::optional<SkinImages> loadSkin(const ProgramFolder& folder, std::u16string_view skinFileName, bool highResolution,
                                   bool square);

// Sets the colours that the colour file at path names; colours it does not name, or names on a
// bad line, keep their values. A line's value is "red,green,blue"; it is bad when it lacks two
// commas, or when any component, trimmed, is not a decimal number 0..255 (an empty last
// component included). Later lines override earlier ones. Returns false, changing nothing,
// when the file cannot be opened.
bool loadSkinColours(const std::filesystem::path& path, SkinColours& colours);

// The "*.ttf" files (extension in any case) of the program folder, sorted by path; the window
// registers them as fonts.
std::vector<std::filesystem::path> skinFontFiles(const ProgramFolder& folder);

// folder/name when that exists; else the file of the folder whose name equals name ignoring
// ASCII case (the lowest such name when there are several); else folder/name. Skins and sounds
// were written for a file system that ignores case, and the preferences name the default skin
// both "default.inf" and "Default.inf".
std::filesystem::path findFileIgnoringCase(const std::filesystem::path& folder, const std::filesystem::path& name);

// The images and frame colours of the skin in use, as the main window holds them.
class Skin {
public:
    // Loads the skin's images and then, when the skin names a colour file, its colours (a
    // missing colour file keeps the previous colours). When the skin file cannot be opened,
    // returns false and keeps everything as it was.
    bool load(const ProgramFolder& folder, std::u16string_view skinFileName, bool highResolution, bool square);

    // The image's path, or an empty path when the skin names none.
    std::filesystem::path image(std::string_view key) const;
    const SkinImages& images() const { return images_; }
    const SkinColours& colours() const { return colours_; }

private:
    SkinImages images_;
    SkinColours colours_;
};
