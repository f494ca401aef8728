#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "preferences.h"

class ProgramFolder;

enum class PreferencesLoadResult {
    Missing,   // no readable file: the record was not touched
    Complete,  // all sixteen fields were read
    Damaged,   // the file ended early or held a bad record: the fields before it were read
};

// Reads and writes the preferences record as "preferences.dat" in the program folder: sixteen
// little-endian fields in a fixed order, no header, no padding (see encode), then the desktop's
// own settings, which readers of the sixteen fields never reach: the "Pocket keyboard letters"
// flag (u32), and the rate source's URL, written only when it is not the default. A file of the
// sixteen fields alone (every older file) is complete and gives their defaults.
//
// Values that were read but make no sense are repaired rather than refused: numbers out of
// range are clamped, and a category order, category code, mode text or file name that is not
// allowed is replaced by its default. Only a file that ends early or holds a malformed string
// record stops the reading; the fields after that point keep the values they had.
class PreferencesStore {
public:
    static constexpr std::string_view kFileName = "preferences.dat";
    static constexpr int kFieldCount = 16;

    using TodayFunction = std::function<StoredDate()>;

    // `today` gives the local date for reset; tests pass a fixed one.
    explicit PreferencesStore(std::filesystem::path folder, TodayFunction today = localToday);
    explicit PreferencesStore(const ProgramFolder& folder, TodayFunction today = localToday);

    // Every field to its default; the birth date to today.
    void reset(Preferences& preferences) const;
    PreferencesLoadResult load(Preferences& preferences) const;
    // Writes the file atomically; false (and the old file kept) when it cannot be written.
    bool save(const Preferences& preferences) const;

    std::filesystem::path filePath() const { return folder_ / kFileName; }

    // The file's bytes for a record. Values are written as they are; an invalid birth date is
    // written as -1, -1, -1.
    static std::string encode(const Preferences& preferences);
    // Reads fields in file order into the record, repairing values as described above, and
    // stops at the first field that cannot be read whole. Returns how many of the sixteen
    // fields were taken (kFieldCount when the file was complete). When all were, the desktop's
    // settings that follow are read too, each present one whole or not at all; a missing one
    // keeps or takes its default; bytes after the last are ignored.
    static int decode(std::string_view bytes, Preferences& preferences);

    // The local clock's date.
    static StoredDate localToday();

private:
    std::filesystem::path folder_;
    TodayFunction today_;
};
