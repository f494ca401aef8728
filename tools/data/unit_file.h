#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One unit of a unit file: a quantity of 1 in it equals
// factor x (product of numerator units / product of denominator units) + offset.
// Both lists empty means a base unit.
struct UnitRecord {
    std::u16string name;
    std::u16string symbol;
    double factor = 1.0;
    double offset = 0.0;
    std::vector<std::u16string> numerator;
    std::vector<std::u16string> denominator;

    bool isBase() const { return numerator.empty() && denominator.empty(); }
};

// A category of a unit or constant file; flag is 1 when the number after the name is not 0.
struct UnitCategory {
    std::u16string name;
    std::uint8_t flag = 0;

    bool operator==(const UnitCategory&) const = default;
};

// The reading rules shared by the unit table, the unit categories and the constants.
namespace unitfile {

// Each side of a definition holds at most this many tokens; more makes the definition invalid.
constexpr std::size_t kMaxSideTokens = 20;
constexpr std::size_t kMaxTokenLength = 255;
// Far above any real data file; a larger file is treated as unreadable.
constexpr std::uintmax_t kMaxFileBytes = 16u * 1024u * 1024u;
// The fgets buffers: the unit table reads lines of at most 254 bytes, the category readers 255.
constexpr std::size_t kTableBuffer = 255;
constexpr std::size_t kCategoryBuffer = 256;

// Cuts file bytes into lines as fgets with a buffer of bufferSize bytes does: a longer line is
// split and its rest becomes the next line; a NUL byte ends the line's text.
class LineReader {
public:
    LineReader(std::string_view bytes, std::size_t bufferSize);
    // False at the end of the bytes. Line numbers count from 1, every line included.
    bool next(std::string_view& line);
    int lineNumber() const { return lineNumber_; }

private:
    std::string_view bytes_;
    std::size_t limit_;
    std::size_t pos_ = 0;
    int lineNumber_ = 0;
};

// Decodes an 8-bit line (UTF-8, the multibyte rule of a Linux locale) and splits it into words
// at blanks; tab, line feed and carriage return count as blanks, and ':' too when colonIsBlank.
std::vector<std::u16string> words(std::string_view line, bool colonIsBlank);

std::u16string underscoresToBlanks(std::u16string text);

// The C atof rule on at most the first 100 bytes of a word; 0 when it holds no number.
double atofRule(std::u16string_view word);

// Parses a unit expression ("kg*m/s^2", "m/(s*s)") into its two sides. False when it is
// invalid: a blank, a bad exponent, or more than kMaxSideTokens tokens on a side.
bool parseDefinition(std::u16string_view text, std::vector<std::u16string>& numerator,
                     std::vector<std::u16string>& denominator);

// Builds a unit record from the words of a record line: name, symbol, then "!" or factor,
// offset and definition. False when a word is missing or the definition is invalid.
bool parseUnitRecord(const std::vector<std::u16string>& words, UnitRecord& record);

// What a control line (first word starting with '#') says.
enum class Control { None, Begin, End, Other };

// Classifies a line's words. With prefixKeywords the keyword need only start with "Begin" or
// "End" (the constants reader), else it must equal one; case never matters. For Begin,
// category receives the name (underscores made blanks) and the flag.
Control control(const std::vector<std::u16string>& words, bool prefixKeywords, UnitCategory& category);

// Reads a whole data file; false when it is missing, unreadable or absurdly large.
bool readFile(const std::filesystem::path& path, std::string& bytes);

// The top-level categories of a category file in file order, each added at its closing "#End";
// names starting with "Constant" (case ignored) are left out. Returns 0 or -1 (missing file).
int readCategories(const std::filesystem::path& path, bool prefixKeywords, std::vector<UnitCategory>& categories);

// The first top-level category, whatever its name (empty when the file has none). Returns 0 or
// -1 (missing file).
int readFirstCategory(const std::filesystem::path& path, bool prefixKeywords, std::optional<UnitCategory>& category);

// Calls take(words, lineNumber) for each record inside every category named `name` (nested
// categories included). take returns false to stop; readCategoryRecords then returns that line
// number. Returns 0 when all were taken, -1 for a missing file.
template <typename Take>
int readCategoryRecords(const std::filesystem::path& path, bool prefixKeywords, std::u16string_view name, Take take);

}  // namespace unitfile

template <typename Take>
int unitfile::readCategoryRecords(const std::filesystem::path& path, bool prefixKeywords, std::u16string_view name,
                                  Take take)
{
    std::string bytes;
    if (!readFile(path, bytes))
        return -1;
    LineReader reader(bytes, kCategoryBuffer);
    std::string_view line;
    int depth = 0;  // depth inside the wanted category, 0 when outside it
    while (reader.next(line)) {
        const std::vector<std::u16string> lineWords = words(line, true);
        if (lineWords.empty())
            continue;
        UnitCategory category;
        switch (control(lineWords, prefixKeywords, category)) {
        case Control::Begin:
            if (depth > 0 || category.name == name)
                ++depth;
            break;
        case Control::End:
            if (depth > 0)
                --depth;
            break;
        case Control::Other: break;
        case Control::None:
            if (depth > 0 && !take(lineWords, reader.lineNumber()))
                return reader.lineNumber();
            break;
        }
    }
    return 0;
}
