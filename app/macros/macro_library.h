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
    Read,        // the whole file is in the list
    Missing,     // there is no such file: nothing added, no message
    DataError,   // not read in full: it cannot be opened, is larger than any macro file, ends in
                 // half a character or has lines that are no macro; what was read is kept
    NoFreeName,  // read, but macros were left out: their names clash and "Ma".."Mz" are all in use
};

// The ordered macro list and its file "macro.mcr".
//
// File format: UTF-16LE without byte-order mark (a file in UTF-8, UTF-16BE or UTF-32, as a text
// editor may have saved it, is read too), one macro per line, each line
//     name 06 paramCount 06 params 06 formula 06 displayText 06 tokenMap 06 CR LF
// with U+0006 after every field, paramCount in decimal, and no CR LF after the last line.
// A line is read whole, however long: whatever the writer writes, the reader reads back. A line
// with fewer than six separators is skipped, and the file counts as not read in full.
class MacroLibrary {
public:
    // Files beyond this size are refused whole (a data error): every line becomes a record in
    // memory. A hundred thousand macros merged from other files still fit.
    static constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;
    static constexpr char16_t kSeparator = u'\x06';

    // Merges a macro file into the list, appending in file order. A name that is already in the
    // list is replaced by the first unused "Ma".."Mz"; when all 26 are used the macro is left
    // out. A clashing macro whose body (everything but its name) some macro of the list already
    // has is taken as that macro: it was merged before, at a close that was cut short before
    // its file was removed.
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
    // The names and bodies of the list, so that each clash check is one look-up.
    struct MergeIndex {
        std::unordered_set<std::u16string> names;
        std::unordered_set<std::u16string> bodies;
    };
    MergeIndex mergeIndex() const;
    // Appends with the clash rule of load; false when the macro was left out for want of a name.
    bool append(MacroRecord macro, MergeIndex& index);

    std::vector<MacroRecord> macros_;
};

// The program folder's macro files: every regular file whose name ends in ".mcr" (any case).
struct MacroFolderLoad {
    bool dataError = false;  // some file was not read in full: show "Macro data error!"
    // Files not read in full: a start moves them aside (setAsideUnreadMacroFiles) before any
    // save.
    std::vector<std::filesystem::path> unread;
    // Files with macros left out for want of a free name: they stay as they are.
    std::vector<std::filesystem::path> crowded;
};

// Start-up: merges every macro file of the folder into the list. The files are taken sorted by
// file name (byte order), so the result does not depend on the file system's listing order.
MacroFolderLoad loadMacroFolder(MacroLibrary& macros, const std::filesystem::path& folder);

// What a start does about the files a load could not take in full.
struct MacroFolderCheck {
    std::vector<std::filesystem::path> keep;  // for saveMacroFolder: never written over nor removed
    std::vector<std::string> messages;        // one for each such file, for the user
};
// Moves each unread file aside (unreadable_file.h); a crowded file, and one that could not be
// moved, is kept where it is.
MacroFolderCheck setAsideUnreadMacroFiles(const MacroFolderLoad& load);

// Close: writes the list to "macro.mcr" and, only when that succeeded, removes every other
// macro file except those in `keep` (their content never reached the list). A kill between the
// two steps leaves macros that the next start recognises as already present. When "macro.mcr"
// itself is in `keep`, nothing is written or removed. Returns false when nothing was written.
bool saveMacroFolder(const MacroLibrary& macros, const std::filesystem::path& folder,
                     const std::vector<std::filesystem::path>& keep = {});
