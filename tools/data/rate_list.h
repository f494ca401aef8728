#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "conversion_table.h"

// The rate list window's model: every currency of "currency.dat" with its symbol, exchange
// rate (units of it per base currency) and name, the rates editable as text. Saving takes each
// edited rate back by the atof rule and writes "currency.dat" through the same check and atomic
// write as the update, unless another program (a rate update from the command line) changed the
// file since the list read it.
class RateList {
public:
    static constexpr std::u16string_view kSymbolColumn = u"Symbol";
    static constexpr std::u16string_view kRateColumn = u"Exchange Rate";
    static constexpr std::u16string_view kNameColumn = u"Name";

    struct Row {
        std::u16string symbol;
        std::u16string rate;  // as shown and as edited
        std::u16string name;
        bool isBase = false;  // the base currency's rate is 1 by definition, not editable
        bool operator==(const Row&) const = default;
    };

    // Whether a save may replace a file that changed since show read it.
    enum class SaveMode { UnlessChanged, Overwrite };

    // Show rates: reads the file; one row per record of its table, in table order, each rate
    // as currency::rateText shows it. Edits not saved are dropped.
    void show(const std::filesystem::path& file);
    const std::vector<Row>& rows() const { return rows_; }

    // Changes the text of a row's rate; false for a row that does not exist or is the base.
    bool editRate(std::size_t row, std::u16string text);

    // Save rates: a rate above 0 replaces its currency's factor (factor = 1 / rate); any other
    // text leaves it as it was and is named in notTaken(). The date line is the one read with
    // the rates. False, with the reason in errorText(), when nothing could be written; the file
    // is then as it was. With UnlessChanged, a file whose bytes are no longer those that show
    // read is left alone too and fileChanged() tells so: writing the list would drop the rates
    // it holds now. The rows show the rates as saved afterwards.
    bool save(const std::filesystem::path& file, SaveMode mode = SaveMode::UnlessChanged);
    // True when the last save found the file changed and wrote nothing.
    bool fileChanged() const { return fileChanged_; }
    // The date of the rates shown.
    std::string date() const;
    // The symbols whose edited text was not a rate above 0, at the last save.
    const std::vector<std::u16string>& notTaken() const { return notTaken_; }
    const std::string& errorText() const { return errorText_; }

private:
    void fillRows();

    std::string readBytes_;  // the file as show or the last save left it
    std::vector<UnitRecord> records_;
    std::vector<Row> rows_;
    std::vector<std::u16string> notTaken_;
    std::string errorText_;
    bool fileChanged_ = false;
};
