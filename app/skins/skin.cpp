#include "skin.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>
#include <system_error>

#include "ascii.h"
#include "utf16.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kLineBufferSize = 256;
constexpr std::string_view kWhiteSpace = " \t\r\n\f\v";
constexpr std::string_view kHighResolutionMark = "_VGA";

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openText(const fs::path& path)
{
    // A folder or a pipe with the file's name "cannot be opened" rather than blocking or
    // reading as empty.
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return nullptr;
    return File(std::fopen(path.c_str(), "rb"));
}

// The next line as fgets with a 256-byte buffer gives it: at most 255 bytes, up to and
// including the line end, cut at a NUL byte. False at the end of the file.
bool readLine(std::FILE* file, std::string& line)
{
    line.clear();
    bool ended = false;
    bool any = false;
    while (line.size() + 1 < kLineBufferSize) {
        const int c = std::getc(file);
        if (c == EOF)
            break;
        any = true;
        if (c == '\0')
            ended = true;
        if (!ended)
            line.push_back(static_cast<char>(c));
        if (c == '\n')
            break;
    }
    return any;
}

std::string_view trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(kWhiteSpace);
    return text.substr(first, last - first + 1);
}

struct Entry {
    std::string_view key;
    std::string_view value;
};

std::optional<Entry> splitEntry(std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return Entry{trim(line.substr(0, equals)), trim(line.substr(equals + 1))};
}

std::string withHighResolutionMark(std::string_view value)
{
    std::string result(value);
    const std::size_t dot = result.rfind('.');
    result.insert(dot == std::string::npos ? result.size() : dot, kHighResolutionMark);
    return result;
}

fs::path interfacesFolder(const ProgramFolder& folder)
{
    return folder.file("Interfaces");
}

// The value is joined as text: an absolute value stays inside the folder instead of replacing
// it, and the backslashes of skins written for the original folder layout become separators.
fs::path imagePath(const fs::path& interfaces, std::string_view value, bool highResolution)
{
    if (value.empty())
        return {};
    std::string name = highResolution ? withHighResolutionMark(value) : std::string(value);
    std::replace(name.begin(), name.end(), '\\', '/');
    const fs::path joined = fs::path(interfaces.native() + "/" + name);
    return findFileIgnoringCase(joined.parent_path(), joined.filename());
}

File openSkin(const ProgramFolder& folder, std::u16string_view skinFileName)
{
    if (skinFileName.empty())
        return nullptr;
    return openText(findFileIgnoringCase(interfacesFolder(folder), toUtf8(skinFileName)));
}

// Each component must be a whole decimal number 0..255; anything else makes the line bad.
std::optional<std::uint32_t> colourComponent(std::string_view text)
{
    text = trim(text);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > 255)
        return std::nullopt;
    return value;
}

std::optional<std::uint32_t> parseColour(std::string_view value)
{
    const std::size_t first = value.find(',');
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::size_t second = value.find(',', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    const auto red = colourComponent(value.substr(0, first));
    const auto green = colourComponent(value.substr(first + 1, second - first - 1));
    const auto blue = colourComponent(value.substr(second + 1));
    if (!red || !green || !blue)
        return std::nullopt;
    return packColour(*red, *green, *blue);
}

// Visits the folder's entries; a missing or unreadable folder has none.
template <typename Visit>
void forEachEntry(const fs::path& folder, Visit visit)
{
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error))
        visit(*it);
}

}  // namespace

fs::path findFileIgnoringCase(const fs::path& folder, const fs::path& name)
{
    const fs::path exact = folder / name;
    std::error_code error;
    if (fs::exists(exact, error) || name.empty())
        return exact;
    std::optional<fs::path> best;
    const std::string wanted = ascii::lower(name.native());
    forEachEntry(folder, [&](const fs::directory_entry& entry) {
        const fs::path candidate = entry.path().filename();
        if (ascii::lower(candidate.native()) == wanted && (!best || candidate < *best))
            best = candidate;
    });
    return best ? folder / *best : exact;
}

fs::path skinImagePath(const ProgramFolder& folder, std::string_view key, std::u16string_view skinFileName,
                       bool highResolution)
{
    const File file = openSkin(folder, skinFileName);
    if (!file)
        return {};
    std::string line;
    while (readLine(file.get(), line)) {
        const auto entry = splitEntry(line);
        if (entry && entry->key == key)
            return imagePath(interfacesFolder(folder), entry->value, highResolution);
    }
    return {};
}

std::optional<SkinImages> loadSkin(const ProgramFolder& folder, std::u16string_view skinFileName, bool highResolution,
                                   bool square)
{
    const File file = openSkin(folder, skinFileName);
    if (!file)
        return std::nullopt;
    // The first line of each key wins, as in skinImagePath.
    std::map<std::string, std::string, std::less<>> values;
    std::string line;
    while (readLine(file.get(), line)) {
        const auto entry = splitEntry(line);
        if (entry && std::find(kSkinImageKeys.begin(), kSkinImageKeys.end(), entry->key) != kSkinImageKeys.end())
            values.emplace(entry->key, entry->value);
    }
    if (square) {
        for (const auto& [plain, squared] :
             {std::pair{"LargeButtons", "LargeButtonsSquare"}, std::pair{"LargeFonts", "LargeFontsSquare"}}) {
            values.erase(std::string(plain));
            if (const auto it = values.find(squared); it != values.end())
                values.emplace(plain, it->second);
        }
    }
    SkinImages images;
    const fs::path interfaces = interfacesFolder(folder);
    for (const auto& [key, value] : values) {
        fs::path path = imagePath(interfaces, value, highResolution);
        if (!path.empty())
            images.emplace(key, std::move(path));
    }
    return images;
}

bool loadSkinColours(const fs::path& path, SkinColours& colours)
{
    const File file = openText(path);
    if (!file)
        return false;
    std::string line;
    while (readLine(file.get(), line)) {
        const auto entry = splitEntry(line);
        if (!entry)
            continue;
        const auto key = std::find(kSkinColourKeys.begin(), kSkinColourKeys.end(), entry->key);
        if (key == kSkinColourKeys.end())
            continue;
        if (const auto colour = parseColour(entry->value))
            colours.at(static_cast<std::size_t>(key - kSkinColourKeys.begin())) = *colour;
    }
    return true;
}

std::vector<fs::path> skinFontFiles(const ProgramFolder& folder)
{
    std::vector<fs::path> fonts;
    forEachEntry(folder.path(), [&](const fs::directory_entry& entry) {
        std::error_code error;
        if (entry.is_regular_file(error) && ascii::lower(entry.path().extension().native()) == ".ttf")
            fonts.push_back(entry.path());
    });
    std::sort(fonts.begin(), fonts.end());
    return fonts;
}

bool Skin::load(const ProgramFolder& folder, std::u16string_view skinFileName, bool highResolution, bool square)
{
    auto images = loadSkin(folder, skinFileName, highResolution, square);
    if (!images)
        return false;
    images_ = std::move(*images);
    const fs::path colourFile = skinImagePath(folder, kSkinColourFileKey, skinFileName, highResolution);
    if (!colourFile.empty())
        loadSkinColours(colourFile, colours_);
    return true;
}

fs::path Skin::image(std::string_view key) const
{
    const auto it = images_.find(key);
    return it == images_.end() ? fs::path() : it->second;
}
