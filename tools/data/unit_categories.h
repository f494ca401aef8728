#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "unit_file.h"

// The category structure of a unit file ("units.dat", "currency.dat"): its top-level
// categories and the units inside one of them. Each call reads the file again.
class UnitCategories {
public:
    static constexpr std::string_view kFileName = "units.dat";

    UnitCategories() = default;
    explicit UnitCategories(std::filesystem::path path) : path_(std::move(path)) {}
    void setPath(std::filesystem::path path) { path_ = std::move(path); }

    // The top-level categories in file order, leaving out those named "Constant...".
    // False, with error() -1, for a missing file.
    bool categories(std::vector<UnitCategory>& categories);
    // The first top-level category, whatever its name; nothing when the file has none.
    std::optional<UnitCategory> firstCategory();
    // The units of every category named `name`, nested categories included, in file order.
    // A record lacking a word or with an invalid definition ends the reading: error() becomes
    // its line number and the call fails, keeping the units read before it.
    bool unitsOf(std::u16string_view name, std::vector<UnitRecord>& units);

    // 0, -1 for a missing file, or the line number of the bad record of the last call.
    int error() const { return error_; }

private:
    std::filesystem::path path_;
    int error_ = 0;
};
