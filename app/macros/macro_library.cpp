#include "macro_library.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <unordered_set>

#include "ascii.h"
#include "atomic_file.h"
#include "unicode_text.h"
#include "unreadable_file.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kFieldCount = 6;
constexpr std::size_t kLetterCount = 26;

std::u16string letterName(std::size_t letter)
{
    return {u'M', static_cast<char16_t>(u'a' + letter)};
}

bool isBlank(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Like a C "atoi" whose result is stored in a byte: leading blanks, an optional sign, then
// digits up to the first non-digit. Working modulo 256 gives the same low byte without ever
// overflowing, however long the digit run.
std::uint8_t parseCount(std::u16string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    unsigned value = 0;
    for (; i < text.size() && ascii::isDigit(text[i]); ++i)
        value = (value * 10 + (text[i] - u'0')) & 0xFFu;
    if (negative)
        value = (256 - value) & 0xFFu;
    return static_cast<std::uint8_t>(value);
}

// A field's text without carriage returns: the writer leaves them out (they would break the
// line), so a field read with one would come back different, and two names that differ only by
// one would clash at the next start.
std::u16string fieldText(std::u16string_view field)
{
    std::u16string text(field);
    std::erase(text, u'\r');
    return text;
}

// A line with at least six separators becomes a record; the rest (the line end) is ignored.
std::optional<MacroRecord> parseLine(std::u16string_view piece)
{
    std::array<std::u16string_view, kFieldCount> fields;
    std::size_t start = 0;
    for (std::u16string_view& field : fields) {
        const std::size_t end = piece.find(MacroLibrary::kSeparator, start);
        if (end == std::u16string_view::npos)
            return std::nullopt;
        field = piece.substr(start, end - start);
        start = end + 1;
    }
    MacroRecord macro;
    macro.name = fieldText(fields[0]);
    // Byte-order marks name nothing, and a name that began with one would, at the start of the
    // file, be read back as the file's mark and lost.
    std::erase_if(macro.name, [](char16_t c) { return c == u'\uFEFF' || c == u'\uFFFE'; });
    macro.paramCount = parseCount(fields[1]);
    macro.params = fieldText(fields[2]);
    macro.formula = fieldText(fields[3]);
    macro.displayText = fieldText(fields[4]);
    macro.tokenMap = fieldText(fields[5]);
    return macro;
}

// Everything but the name, in one text: two macros with the same key compute the same.
std::u16string bodyKey(const MacroRecord& macro)
{
    std::u16string key = macro.params;
    for (std::u16string_view field : {std::u16string_view(macro.formula), std::u16string_view(macro.displayText),
                                      std::u16string_view(macro.tokenMap)}) {
        key += MacroLibrary::kSeparator;
        key += field;
    }
    key += MacroLibrary::kSeparator;
    key += static_cast<char16_t>(macro.paramCount);
    return key;
}

void appendUtf16(std::string& bytes, std::u16string_view text)
{
    for (char16_t c : text) {
        if (c == MacroLibrary::kSeparator || c == u'\r' || c == u'\n')
            continue;
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
}

bool isMacroFile(const fs::directory_entry& entry)
{
    std::error_code error;
    if (!entry.is_regular_file(error))
        return false;
    return ascii::lower(entry.path().filename().string()).ends_with(".mcr");
}

std::vector<fs::path> macroFiles(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        if (isMacroFile(*it))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename().native() < b.filename().native(); });
    return files;
}

// The macros of a file's text, and whether every line that is not blank was one.
struct ParsedMacroText {
    std::vector<MacroRecord> macros;
    bool complete = true;
};

ParsedMacroText parseMacroText(std::u16string_view text)
{
    ParsedMacroText parsed;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t newline = text.find(u'\n', start);
        const std::size_t end = newline == std::u16string_view::npos ? text.size() : newline + 1;
        const std::u16string_view line = text.substr(start, end - start);
        if (std::optional<MacroRecord> macro = parseLine(line))
            parsed.macros.push_back(std::move(*macro));
        else if (!std::all_of(line.begin(), line.end(), isBlank))
            parsed.complete = false;
        start = end;
    }
    return parsed;
}

}  // namespace

std::u16string macroSignature(const MacroRecord& macro)
{
    std::u16string signature = macro.name;
    signature += u'(';
    for (char16_t c : macro.params) {
        signature += c;
        if (c == u',')
            signature += u' ';
    }
    signature += u')';
    return signature;
}

MacroLoadStatus MacroLibrary::load(const fs::path& path)
{
    std::string bytes;
    switch (readDataFile(path, bytes, kMaxFileBytes)) {
    case DataFileRead::Read: return merge(bytes);
    case DataFileRead::Missing: return MacroLoadStatus::Missing;
    case DataFileRead::Unreadable: break;
    }
    return MacroLoadStatus::DataError;
}

MacroLoadStatus MacroLibrary::merge(std::string_view bytes)
{
    // The program's own encoding first, so that its files read back whatever characters their
    // macros hold; an encoding guessed from the bytes only for a file it did not write.
    ParsedMacroText parsed = parseMacroText(decodedText(bytes, TextEncoding::Utf16LE));
    parsed.complete = parsed.complete && bytes.size() % 2 == 0;
    if (const TextEncoding guessed = detectTextEncoding(bytes, TextEncoding::Utf16LE);
        !parsed.complete && guessed != TextEncoding::Utf16LE) {
        parsed = parseMacroText(decodedText(bytes, guessed));
        const bool wide = guessed == TextEncoding::Utf16BE;
        parsed.complete = parsed.complete && (!wide || bytes.size() % 2 == 0);
    }
    MergeIndex index = mergeIndex();
    bool crowded = false;
    for (MacroRecord& macro : parsed.macros)
        crowded = !append(std::move(macro), index) || crowded;
    if (!parsed.complete)
        return MacroLoadStatus::DataError;
    return crowded ? MacroLoadStatus::NoFreeName : MacroLoadStatus::Read;
}

MacroLibrary::MergeIndex MacroLibrary::mergeIndex() const
{
    MergeIndex index;
    index.names.reserve(macros_.size());
    index.bodies.reserve(macros_.size());
    for (const MacroRecord& macro : macros_) {
        index.names.insert(macro.name);
        index.bodies.insert(bodyKey(macro));
    }
    return index;
}

bool MacroLibrary::append(MacroRecord macro, MergeIndex& index)
{
    std::u16string body = bodyKey(macro);
    if (index.names.contains(macro.name)) {
        if (index.bodies.contains(body))
            return true;
        std::size_t letter = 0;
        while (letter < kLetterCount && index.names.contains(letterName(letter)))
            ++letter;
        if (letter == kLetterCount)
            return false;
        macro.name = letterName(letter);
    }
    index.names.insert(macro.name);
    index.bodies.insert(std::move(body));
    macros_.push_back(std::move(macro));
    return true;
}

std::string MacroLibrary::serialize() const
{
    std::string bytes;
    for (std::size_t i = 0; i < macros_.size(); ++i) {
        const MacroRecord& macro = macros_[i];
        const std::string count = std::to_string(macro.paramCount);
        const std::u16string countText(count.begin(), count.end());
        for (std::u16string_view field :
             {std::u16string_view(macro.name), std::u16string_view(countText), std::u16string_view(macro.params),
              std::u16string_view(macro.formula), std::u16string_view(macro.displayText),
              std::u16string_view(macro.tokenMap)}) {
            appendUtf16(bytes, field);
            bytes.append({static_cast<char>(kSeparator), '\0'});
        }
        if (i + 1 < macros_.size())
            bytes.append({'\r', '\0', '\n', '\0'});
    }
    return bytes;
}

bool MacroLibrary::save(const fs::path& path) const
{
    return writeFileAtomically(path, serialize());
}

bool MacroLibrary::insert(std::size_t index, const MacroRecord& macro)
{
    if (index > macros_.size())
        return false;
    macros_.insert(macros_.begin() + static_cast<std::ptrdiff_t>(index), macro);
    return true;
}

bool MacroLibrary::remove(std::size_t index)
{
    if (index >= macros_.size())
        return false;
    macros_.erase(macros_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

std::optional<std::size_t> MacroLibrary::indexOf(std::u16string_view name) const
{
    for (std::size_t i = 0; i < macros_.size(); ++i) {
        if (macros_[i].name == name)
            return i;
    }
    return std::nullopt;
}

std::vector<std::u16string> MacroLibrary::signatures() const
{
    std::vector<std::u16string> result;
    result.reserve(macros_.size());
    for (const MacroRecord& macro : macros_)
        result.push_back(macroSignature(macro));
    return result;
}

MacroFolderLoad loadMacroFolder(MacroLibrary& macros, const fs::path& folder)
{
    MacroFolderLoad result;
    for (const fs::path& file : macroFiles(folder)) {
        switch (macros.load(file)) {
        case MacroLoadStatus::Read:
        case MacroLoadStatus::Missing: break;
        case MacroLoadStatus::DataError:
            result.dataError = true;
            result.unread.push_back(file);
            break;
        case MacroLoadStatus::NoFreeName:
            result.dataError = true;
            result.crowded.push_back(file);
            break;
        }
    }
    return result;
}

MacroFolderCheck setAsideUnreadMacroFiles(const MacroFolderLoad& load)
{
    MacroFolderCheck check;
    for (const fs::path& file : load.unread) {
        const SetAsideFile setAside = setAsideUnreadable(file);
        if (!setAside.moved())
            check.keep.push_back(file);
        check.messages.push_back(setAside.message());
    }
    for (const fs::path& file : load.crowded) {
        check.keep.push_back(file);
        check.messages.push_back("Some macros of " + file.string() +
                                 " were not loaded: the names Ma to Mz are all in use. The file is kept as it is.");
    }
    return check;
}

bool saveMacroFolder(const MacroLibrary& macros, const fs::path& folder, const std::vector<fs::path>& keep)
{
    const fs::path target = folder / "macro.mcr";
    const auto kept = [&keep](const fs::path& file) { return std::find(keep.begin(), keep.end(), file) != keep.end(); };
    if (kept(target) || !macros.save(target))
        return false;
    for (const fs::path& file : macroFiles(folder)) {
        if (file.filename() == target.filename() || kept(file))
            continue;
        std::error_code error;
        fs::remove(file, error);
    }
    return true;
}
