#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// The record, kept in the program folder, of which version of each shipped file was last
// seeded there: a file name relative to the folder (with '/') and the content hash of the
// shipped file at that time. Seeding compares it with the user's copy and with the shipped file
// of this version to tell an untouched copy (replaced when the shipped file changed) from one
// the user changed (kept).
//
// The file is text:
//   corvan-seeded 1
//   9d3bc4a6a1b9e57f units.dat
//   0b4f1c93a8e67d20 Interfaces/Default.inf
class SeedManifest {
public:
    static constexpr std::string_view kFileName = "seeded-files.txt";

    // A 64-bit FNV-1a hash of the bytes, as 16 lower-case hexadecimal digits.
    static std::string contentHash(std::string_view bytes);

    // Reads a manifest's text; nothing when it is damaged (a wrong first line, a line that is
    // not a hash and a name, a name that leaves the folder, a name given twice).
    static std::optional<SeedManifest> parse(std::string_view text);

    std::string text() const;

    // The hash recorded for name, or nothing.
    std::optional<std::string> seededHash(const std::string& name) const;
    void record(const std::string& name, std::string hash) { hashes_[name] = std::move(hash); }

private:
    std::map<std::string, std::string> hashes_;
};
