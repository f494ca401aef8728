#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "conversion_table.h"

// The rate list window's model: every currency of the converter's conversion table with its
// symbol, exchange rate (units of it per base currency) and name, the rates editable as text.
// Saving takes each edited rate back by the atof rule and writes "currency.dat" through the
// same check and atomic write as the update.
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

    // Show rates: one row per record of the table, in table order, each rate as
    // currency::rateText shows it. Edits not saved are dropped.
    void show(const ConversionTable& table);
    const std::vector<Row>& rows() const { return rows_; }

    // Changes the text of a row's rate; false for a row that does not exist or is the base.
    bool editRate(std::size_t row, std::u16string text);

    // Save rates: a rate above 0 replaces its currency's factor (factor = 1 / rate); any other
    // text leaves it as it was and is named in notTaken(). The file keeps its date line. False,
    // with the reason in errorText(), when nothing could be written; the file is then as it was.
    // The rows show the rates as saved afterwards.
    bool save(const std::filesystem::path& file);
    // The symbols whose edited text was not a rate above 0, at the last save.
    const std::vector<std::u16string>& notTaken() const { return notTaken_; }
    const std::string& errorText() const { return errorText_; }

private:
    void fillRows();

    std::vector<UnitRecord> records_;
    std::vector<Row> rows_;
    std::vector<std::u16string> notTaken_;
    std::string errorText_;
};
