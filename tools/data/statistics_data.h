#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class Engine;

// The statistics data set: up to 512 numbers, kept in the engine's "LIST" slot as one column
// and stored in "statistics.dat". This is the window's model: the view shows labelText() and
// the row texts, and forwards the menu entries and in-place edits here. Every change is copied
// into "LIST" at once, so the engine always reads what the list shows.
class StatisticsData {
public:
    static constexpr int kMaxCount = 512;
    // The in-place editor keeps at most this many characters of the typed text.
    static constexpr std::size_t kEditLimit = 128;
    static constexpr std::string_view kFileName = "statistics.dat";
    static constexpr std::u16string_view kLoadErrorMessage = u"Cannot load the statistics data.";

    enum class LoadStatus { Loaded, NotLoaded, Error };

    explicit StatisticsData(Engine& engine);

    // Reads a data set in UTF-8 (with or without a byte-order mark) or another Unicode
    // encoding. The second line is read whole, however long, and every value on it is taken;
    // a count of 1..512 adds zeros for missing values. NotLoaded (file missing or blank)
    // changes nothing. Error means the file could not be read in full (it cannot be opened, is
    // too large, holds more than 512 values, or its count or lines are not as the writer
    // writes them): the set is then what could be read, and the view shows kLoadErrorMessage.
    LoadStatus load(const std::filesystem::path& path);
    // Writes the data set, every value in a text that reads back to the same double; an empty
    // set gives an empty file. False when nothing was written.
    bool save(const std::filesystem::path& path) const;

    int count() const { return static_cast<int>(values_.size()); }
    const std::vector<double>& values() const { return values_; }

    // "N : 0" when empty, else "N : <count>".
    std::u16string labelText() const;
    // The row's first column: its index with "%d".
    static std::u16string indexText(int row);
    // The row's second column: "%.0f" for a whole number, else "%.8f" without trailing zeros
    // and point; never "-0". An empty text for a row outside the set.
    std::u16string valueText(int row) const;
    static std::u16string formatValue(double value);

    // The "Size" field while typing: a number above 512 becomes "512", a negative one "0";
    // any other text (including a lone "-" still being typed) is returned unchanged.
    static std::u16string correctSizeText(std::u16string_view typed);
    // The size that the field's text stands for (leading blanks, sign, digits), clamped to
    // 0..512.
    static int sizeFromText(std::u16string_view text);
    // The prompt's OK: a size of 1..512 that differs from count() replaces the set by that many
    // zeros. Returns whether the set changed.
    bool newDataSet(int size);

    // Puts a 0 at row (0 <= row < count()) and moves the later values down. Refused (false) when
    // the set already holds 512 values: a longer set could not be loaded back, so a value
    // would be lost.
    bool insertRow(int row);
    // Removes the value at row (0 <= row < count()).
    bool deleteRow(int row);
    // Empties the set and frees "LIST".
    void clearAll();
    // An in-place edit of the value at row: the text is trimmed, cut to 128 characters and read
    // with the C atof rule (non-numbers give 0). False, with nothing changed, for a row outside
    // the set and for a number beyond the largest double ("1e999"), which no file could hold.
    bool setValue(int row, std::u16string_view editedText);
    static double editedValue(std::u16string_view editedText);

private:
    void replaceValues(std::vector<double> values);
    void publish();

    Engine& engine_;
    std::vector<double> values_;
};
