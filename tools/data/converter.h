#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversion_table.h"
#include "converter_key_entry.h"
#include "result_format.h"

// The converter window's model: three pages (units, currencies, constants) over one conversion
// table, the two value fields of the units and currency pages converted into each other while
// the user types, and the state kept in "Converter.dat". All files lie in one folder.
class Converter {
public:
    enum class Page { Units, Currency, Constants };
    // The two value fields of the units and currency pages.
    enum class ValueField { Upper, Lower };

    static constexpr std::string_view kStateFileName = "Converter.dat";
    // A value field this long (grouping marks included) takes only Backspace.
    static constexpr std::size_t kMaxFieldText = 18;
    // Room for the units of one category, as the lists have.
    static constexpr std::size_t kMaxListUnits = 100;

    static constexpr char16_t kBackspace = ConverterKeyEntry::kBackspace;
    // Changes the sign of the number in the active value field.
    static constexpr char16_t kNegate = ConverterKeyEntry::kNegate;

    // A display field: the value and its caption (a unit symbol, a category label).
    struct Field {
        std::u16string value;
        std::u16string caption;
        bool operator==(const Field&) const = default;
    };

    // The units or currency page: the top field (category, or the date of the rates), the two
    // value fields, their units by name and list index, and which value field is active.
    struct ConvertPage {
        Field top;
        Field upper;
        Field lower;
        std::u16string upperUnit;
        std::u16string lowerUnit;
        std::uint8_t upperIndex = 0;
        std::uint8_t lowerIndex = 1;
        ValueField active = ValueField::Upper;

        Field& field(ValueField which) { return which == ValueField::Upper ? upper : lower; }
        const Field& field(ValueField which) const { return which == ValueField::Upper ? upper : lower; }
        const std::u16string& unit(ValueField which) const
        {
            return which == ValueField::Upper ? upperUnit : lowerUnit;
        }
    };

    static constexpr ValueField otherField(ValueField field)
    {
        return field == ValueField::Upper ? ValueField::Lower : ValueField::Upper;
    }

    static constexpr std::size_t kConstantFields = 5;
    static constexpr std::size_t kConstantCategoryField = 0;
    static constexpr std::size_t kConstantNameField = 1;
    static constexpr std::size_t kConstantValueField = 2;

    // Paths are set; nothing is read until loadState and showPage.
    explicit Converter(std::filesystem::path folder, OutputFormat format = OutputFormat::UnitedStates);

    // Loads the page's file into the table and fills the page: with its first category and
    // units when it has no state yet (or its units are no longer in the file), else as it was.
    void showPage(Page page);
    Page page() const { return page_; }

    const ConvertPage& units() const { return units_; }
    const ConvertPage& currency() const { return currency_; }
    // The units or currency page, whichever is shown (the units page for the constants page).
    const ConvertPage& convertPage() const { return page_ == Page::Currency ? currency_ : units_; }
    const std::array<Field, kConstantFields>& constantFields() const { return constants_; }
    const ConversionTable& table() const { return table_; }
    ConversionTable& table() { return table_; }

    // One key into the active value field: digits, ".", Backspace, kNegate, "+-*/=", "M"
    // (store) and "R" (recall) go through the ConverterKeyEntry machine; the other field is
    // converted again. A "-" typed into a field that shows 0 and has no arithmetic pending
    // is the sign of the number to come (0 - x is -x either way, and the other field shows
    // the negative value at once). False when the key was not taken (an unknown key, or a
    // full field).
    bool handleKey(char16_t code);
    void setActiveField(ValueField field);
    // The units or currencies of the two value fields trade places; the active field keeps its
    // number, and the other field shows it converted the other way.
    bool swapUnits();
    // The converted value (the field that is not active) for the clipboard: the number as
    // shown without grouping marks (the decimal mark stays the display's); empty when the
    // field shows an error text.
    std::u16string copyText() const;

    // The category names of the page's file (units or constants); empty for currencies.
    std::vector<std::u16string> categories() const;
    int currentCategory() const;
    // Picks a category by its list position: the first units (or constant) become current.
    bool pickCategory(int index);

    // The lines of the unit list of the current category: "name symbol", or on the currency
    // page "symbol - name"; on the constants page the constants' names.
    std::vector<std::u16string> unitChoices() const;
    // Picks the unit of a value field, or on the constants page the constant (whatever the
    // field); the other value field is converted again.
    bool pickUnit(ValueField field, int index);
    int currentConstant() const { return constantIndex_; }

    // The date field says "Updating ..." until finishUpdate.
    void beginUpdate();
    // Reloads the currency page after an update (kept or not). The chosen pair and the typed
    // value stay; after new rates the other field shows the value converted at them. A pair
    // that the new table lacks gives the first two currencies afresh.
    void finishUpdate(bool succeeded);

    // What the user should be told of a data file that showPage could not read whole ("Error
    // on line 3 in data file /path/units.dat."), or empty; each problem is given once, and
    // reading it clears it.
    std::u16string takeDataProblem();

    // The state file: the two pages and the constants fields in the archive form.
    bool saveState() const;
    // Takes each page's items back when the page's block is whole; a damaged or short file
    // leaves the rest as it was. False when the file is missing or not whole.
    bool loadState();
    std::string stateBytes() const;
    bool takeStateBytes(std::string_view bytes);

    void setOutputFormat(OutputFormat format);
    OutputFormat outputFormat() const { return format_; }

    // A conversion result as the other field shows it: ConverterKeyEntry::plainText grouped
    // ("105,505,585.262"); an infinity (the reciprocal of 0) shows as "\u221E" or "-\u221E".
    static std::u16string formatResult(double x, OutputFormat format);
    // The digit a keyboard letter of "?WERSDFZXC" stands for (either case); others unchanged.
    static char16_t mapKey(char16_t code);

    std::filesystem::path unitsPath() const { return folder_ / "units.dat"; }
    std::filesystem::path currencyPath() const { return folder_ / "currency.dat"; }
    std::filesystem::path constantsPath() const { return folder_ / "const.dat"; }
    // "Converter.dat" lies with the data files unless told otherwise; an empty state folder
    // means no state file (nothing read, nothing written).
    void setStateFolder(std::filesystem::path folder) { stateFolder_ = std::move(folder); }
    std::filesystem::path statePath() const
    {
        return stateFolder_.empty() ? std::filesystem::path() : stateFolder_ / kStateFileName;
    }

private:
    ConvertPage* activePage();
    std::vector<UnitRecord> unitsOfCategory() const;
    void fillUnitsDefault();
    void fillCurrencyDefault();
    void fillConstants(const std::u16string& category, int index);
    bool pageUnitsKnown(const ConvertPage& page) const;
    void setUnit(ConvertPage& page, ValueField field, const UnitRecord& record, int index);
    void convertFromActive();
    double fieldValue(const std::u16string& text) const;
    // Notes a failed read of file (error: a line number, or below 0 when it could not be read).
    void noteDataProblem(const std::filesystem::path& file, int error);

    std::filesystem::path folder_;
    std::filesystem::path stateFolder_;
    OutputFormat format_;
    Page page_ = Page::Units;
    ConversionTable table_;
    ConvertPage units_;
    ConvertPage currency_;
    std::array<Field, kConstantFields> constants_;
    std::array<std::uint8_t, 4> constantBytes_{};
    int constantIndex_ = 0;
    ConverterKeyEntry entry_;  // of the active value field
    std::u16string dataProblem_;
    std::vector<std::u16string> toldProblems_;
};
