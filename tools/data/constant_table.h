#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "unit_file.h"

// A constant of "const.dat": its name and its value text, underscores made blanks. The value
// stays text: it is shown and passed on as written.
struct ConstantEntry {
    std::u16string name;
    std::u16string value;

    bool operator==(const ConstantEntry&) const = default;
};

// The categories and constants of "const.dat". Keywords match on their first letters
// ("#Beginning" opens a category too). Each call reads the file again.
class ConstantTable {
public:
    static constexpr std::string_view kFileName = "const.dat";

    ConstantTable() = default;
    explicit ConstantTable(std::filesystem::path path) : path_(std::move(path)) {}
    void setPath(std::filesystem::path path) { path_ = std::move(path); }

    // The top-level categories in file order, leaving out those named "Constant...".
    // False, with error() -1, for a missing file.
    bool categories(std::vector<UnitCategory>& categories);
    // The first top-level category, whatever its name; nothing when the file has none.
    std::optional<UnitCategory> firstCategory();
    // The constants of every category named `name`, nested categories included. A record
    // without a value ends the reading: error() becomes its line number and the call fails,
    // keeping the constants read before it.
    bool constantsOf(std::u16string_view name, std::vector<ConstantEntry>& constants);

    // 0, -1 for a missing file, or the line number of the bad record of the last call.
    int error() const { return error_; }

private:
    std::filesystem::path path_;
    int error_ = 0;
};
