#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "unit_file.h"

// value_B = value_A x multiplier + offset; or, between units of reciprocal kinds (litres per
// 100 km and miles per gallon), value_B = multiplier / value_A.
struct UnitConversion {
    double multiplier = 1.0;
    double offset = 0.0;
    bool reciprocal = false;

    // The converted value to the last bit.
    double unrounded(double value) const;
    // The converted value, rounded to 12 significant digits of its larger term, as the engine
    // rounds its functions: what is left of a cancellation is noise, so 32 degrees F in
    // degrees C is 0 (not 7.1e-15) and 1 inch in cm is 2.54 (not 2.5399999999999996). A
    // reciprocal conversion of 0 gives an infinity.
    double apply(double value) const;
};

// The conversion table: every unit of one data file, categories ignored, and the conversion
// between any two of them through their reduction to base units.
class ConversionTable {
public:
    static constexpr int kMaxUnits = 800;

    static constexpr int kNoError = 0;
    static constexpr int kErrorOpenFile = -1;
    static constexpr int kErrorNotSameUnit = -2;
    static constexpr int kErrorUnknownUnit = -3;
    // Error codes above 0 are the line number of the first bad record.

    ConversionTable();

    // Replaces the table by the records of the file, up to the first bad one. A record lacking
    // a word, with an invalid definition, or beyond the 800th sets the error code to its line
    // number; a missing file sets kErrorOpenFile. True when the whole file loaded.
    bool load(const std::filesystem::path& path);
    // The same from the bytes of a file: what a file holding them would load.
    bool loadBytes(std::string_view bytes);

    int count() const { return static_cast<int>(units_.size()); }
    const std::vector<UnitRecord>& units() const { return units_; }

    // The 1-based position of the first unit whose name or symbol is exactly text, or 0.
    int find(std::u16string_view text) const;
    // True when some unit named or symbolised text has no definition.
    bool isBase(std::u16string_view text) const;

    // Conversion between two units given by name or symbol. A name that several units share
    // (rpm as a frequency and as an angular velocity) stands for the first of them that
    // converts. On failure the error code becomes kErrorUnknownUnit or kErrorNotSameUnit;
    // success leaves the error code as it was. When
    // the rules for units of one kind find none, units whose reductions are each other's
    // inverse (L/km and km/L, after expansion m^2 and 1/m^2) convert reciprocally, provided
    // neither has an offset.
    std::optional<UnitConversion> convert(std::u16string_view from, std::u16string_view to);

    // The record with every item replaced by its definition where possible (items of units
    // with an offset, unknown items and cyclic references stay), then simplified.
    UnitRecord reduced(const UnitRecord& record) const;

    int errorCode() const { return error_; }
    std::u16string errorText() const;

private:
    struct Expansion;
    void expand(UnitRecord& record, Expansion& state) const;
    // The table's unit at index, itself expanded; marked active meanwhile so cycles stop.
    UnitRecord expandedUnit(int index, Expansion& state) const;
    // The table index of the unit an item expands into, or -1 when the item stays.
    int expandable(const std::u16string& item, const Expansion& state) const;
    int findIndex(std::u16string_view text) const;
    std::vector<int> findIndices(std::u16string_view text) const;
    std::optional<UnitConversion> convertUnits(const UnitRecord& a, const UnitRecord& b) const;
    std::optional<UnitConversion> reciprocalConversion(const UnitRecord& a, const UnitRecord& b) const;

    std::vector<UnitRecord> units_;
    int error_ = kNoError;
};
