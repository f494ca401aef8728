#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "result_format.h"

// Past calculations of the "=" key, newest first, kept across restarts in "history.dat" in the
// program folder, so that an expression or a result can be put back on the display line.
// Expressions and results are kept in the United States form ("." decimal point), so that a
// calculation means the same after the output format changes.
struct HistoryEntry {
    std::u16string expression;  // the display line's input text
    std::u16string tokenMap;    // its token map, so that the line edits token by token again
    std::u16string result;      // the result as the display showed it
    std::u16string value;       // the result as plain number text (clipboardNumberText), or empty

    bool operator==(const HistoryEntry&) const = default;

    // The entry written in an output format, from the United States form; since the exchange of
    // separators is its own inverse, also the stored form of an entry written in that format.
    HistoryEntry inOutputFormat(OutputFormat format) const;
};

class CalculationHistory {
public:
    static constexpr std::size_t kMaxEntries = 1000;
    static constexpr std::string_view kFileName = "history.dat";

    // Adds the newest entry. An entry equal to the newest one is not added twice; beyond
    // kMaxEntries the oldest is dropped.
    void add(HistoryEntry entry);
    void clear() { entries_.clear(); }
    // Newest first.
    const std::vector<HistoryEntry>& entries() const { return entries_; }

    // File bytes: the text "CorvanHistory2" as an archive string, the entry count as u32, then
    // per entry its four texts as archive strings, newest first.
    std::string serialize() const;
    // Reads what serialize wrote, after a UTF-8 byte-order mark if there is one; an empty file
    // is an empty history. Returns whether the bytes were read in full; otherwise it stops at
    // the first bad record and keeps the entries read before it (at most kMaxEntries), and bytes
    // of another kind of file leave the history empty. Files of the first version
    // ("CorvanHistory1") hold texts in the output format of their time, taken to be legacyFormat.
    bool deserialize(std::string_view bytes, OutputFormat legacyFormat = OutputFormat::UnitedStates);
    // Writes the file atomically; false when it could not be written, or when a file that
    // could not be read is still in its place.
    bool save(const std::filesystem::path& folder) const;
    // Reads the file; a missing one leaves the history empty. A file that cannot be read in
    // full is moved aside (unreadable_file.h) and the message saying so returned.
    std::optional<std::string> load(const std::filesystem::path& folder,
                                    OutputFormat legacyFormat = OutputFormat::UnitedStates);

private:
    std::vector<HistoryEntry> entries_;
    bool savable_ = true;
};
