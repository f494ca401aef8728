#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// One user macro: a name, its parameter names and the formula as the display line held it.
struct MacroRecord {
    std::u16string params;       // "x,y": names separated by "," without blanks, in order of first use
    std::u16string formula;      // the text of the macro window's formula field
    std::u16string name;         // unique in the list
    std::u16string displayText;  // the formula as display input text; the body of an expansion
    std::u16string tokenMap;     // the display line's token map for displayText
    std::uint8_t paramCount = 0;

    bool operator==(const MacroRecord&) const = default;
};

// "Ma(x, y)": the name, then the parameter list with a blank after every comma; "Ma()" without
// parameters.
std::u16string macroSignature(const MacroRecord& macro);

enum class MacroLoadStatus {
    Read,       // the whole file was read (malformed lines are skipped silently)
    NotRead,    // missing, not a regular file, or not readable: nothing added, no message
    DataError,  // reading failed partway: show "Macro data error!"; what was read is kept
    TooLarge,   // refused whole as larger than any macro file: show "Macro data error!"
};

// The ordered macro list and its file "macro.mcr".
//
// File format: UTF-16LE without byte-order mark, one macro per line, each line
//     name 06 paramCount 06 params 06 formula 06 displayText 06 tokenMap 06 CR LF
// with U+0006 after every field, paramCount in decimal, and no CR LF after the last line.
// A line is read whole, however long: whatever the writer writes, the reader reads back. A line
// with fewer than six separators is skipped.
class MacroLibrary {
public:
    // Files beyond this size are refused whole (a data error): a real macro file is a few
    // kilobytes, and every line becomes a record in memory.
    static constexpr std::uintmax_t kMaxFileBytes = 4u * 1024u * 1024u;
    static constexpr char16_t kSeparator = u'\x06';

    // Merges a macro file into the list, appending in file order. A name that is already in the
    // list is replaced by the first unused "Ma".."Mz"; when all 26 are used the macro is dropped.
    // Data errors: an odd byte count (every complete character is still used; the stray last
    // byte is dropped) and a file that came back shorter than its size. A file larger than
    // kMaxFileBytes is refused whole.
    MacroLoadStatus load(const std::filesystem::path& path);
    // Writes the whole list, atomically. Field texts are written without U+0006, CR and LF,
    // which would break the line structure. Returns false when the file cannot be written.
    bool save(const std::filesystem::path& path) const;
    // Bytes that Save writes.
    std::string serialize() const;

    // Inserts a copy at index 0..count(); other indexes are refused. Names are not checked:
    // the caller keeps them unique.
    bool insert(std::size_t index, const MacroRecord& macro);
    // Removes the macro at index 0..count()-1; other indexes are refused.
    bool remove(std::size_t index);

    std::size_t count() const { return macros_.size(); }
    const MacroRecord& at(std::size_t index) const { return macros_.at(index); }
    const std::vector<MacroRecord>& macros() const { return macros_; }
    std::optional<std::size_t> indexOf(std::u16string_view name) const;
    // The signatures of all macros, in list order.
    std::vector<std::u16string> signatures() const;

    // Merges macro file bytes, as Load does after reading them.
    MacroLoadStatus merge(std::string_view bytes);

private:
    // Appends with the clash rule of load; used holds every name of the list and grows with it.
    void append(MacroRecord macro, std::unordered_set<std::u16string>& used);

    std::vector<MacroRecord> macros_;
};

// The program folder's macro files: every regular file whose name ends in ".mcr" (any case).
struct MacroFolderLoad {
    bool dataError = false;  // some file failed partway: show "Macro data error!"
    // Files that could not be read or were refused whole; pass them to saveMacroFolder so that
    // they survive the close.
    std::vector<std::filesystem::path> unread;
};

// Start-up: merges every macro file of the folder into the list. The files are taken sorted by
// file name (byte order), so the result does not depend on the file system's listing order.
MacroFolderLoad loadMacroFolder(MacroLibrary& macros, const std::filesystem::path& folder);
// Close: writes the list to "macro.mcr" and, only when that succeeded, deletes every other
// macro file except those in `keep` (their content never reached the list). "macro.mcr" itself is
// always rewritten. Returns false when it could not be written; then no file is deleted.
bool saveMacroFolder(const MacroLibrary& macros, const std::filesystem::path& folder,
                     const std::vector<std::filesystem::path>& keep = {});
