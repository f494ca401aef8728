#include "converter.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "archive_stream.h"
#include "ascii.h"
#include "atomic_file.h"
#include "constant_table.h"
#include "rate_update.h"
#include "unit_categories.h"
#include "utf16.h"

namespace {

constexpr std::u16string_view kDigitLetters = u"?WERSDFZXC";
constexpr char16_t kInfinity = u'\u221E';
constexpr std::uintmax_t kMaxStateBytes = 1u << 20;

// Other formats have no separators: a point and no grouping.
Separators separatorsFor(OutputFormat format)
{
    return separatorsOf(format).value_or(Separators{u'.', u'\0'});
}

// Plain number text ("." as decimal mark) as a field shows it: the format's decimal mark, and
// the digits grouped unless the number is written with an exponent.
std::u16string grouped(std::u16string text, Separators seps)
{
    if (text.find(u'e') == std::u16string::npos && seps.groupChar != u'\0')
        groupDigits(text, seps.decimalChar, seps.groupChar);
    else
        std::ranges::replace(text, u'.', seps.decimalChar);
    return text;
}

std::u16string grouped(std::string_view plain, Separators seps)
{
    return grouped(ascii::widen(plain), seps);
}

// A field's text back in plain form: without grouping marks, "." as decimal mark.
std::u16string ungrouped(std::u16string_view shown, Separators seps)
{
    std::u16string plain;
    for (char16_t c : shown) {
        if (seps.groupChar != u'\0' && c == seps.groupChar)
            continue;
        plain += c == seps.decimalChar ? u'.' : c;
    }
    return plain;
}

// A character of a plain number text ("e" for the exponent).
bool isNumberChar(char16_t c)
{
    return ascii::isDigit(c) || c == u'.' || c == u'-' || c == u'+' || c == u'e';
}

void writeField(ArchiveWriter& out, const Converter::Field& field)
{
    out.writeString(field.value);
    out.writeString(field.caption);
}

bool readField(ArchiveReader& in, Converter::Field& field)
{
    return in.readString(field.value) && in.readString(field.caption);
}

// A page's two value fields with their units, as both pages store them.
void writePageSides(ArchiveWriter& out, const Converter::ConvertPage& page)
{
    writeField(out, page.upper);
    writeField(out, page.lower);
    out.writeString(page.upperUnit);
    out.writeString(page.lowerUnit);
    out.writeU8(page.upperIndex);
    out.writeU8(page.lowerIndex);
}

bool readPageSides(ArchiveReader& in, Converter::ConvertPage& page)
{
    return readField(in, page.upper) && readField(in, page.lower) && in.readString(page.upperUnit) &&
           in.readString(page.lowerUnit) && in.readU8(page.upperIndex) && in.readU8(page.lowerIndex);
}

}  // namespace

Converter::Converter(std::filesystem::path folder, OutputFormat format)
    : folder_(std::move(folder)), stateFolder_(folder_), format_(format)
{
}

char16_t Converter::mapKey(char16_t code)
{
    const std::size_t at = kDigitLetters.find(ascii::toUpper(code));
    return at == std::u16string_view::npos ? code : static_cast<char16_t>(u'0' + at);
}

std::u16string Converter::formatResult(double x, OutputFormat format)
{
    if (std::isinf(x))
        return x > 0 ? u"\u221E" : u"-\u221E";
    return grouped(ConverterKeyEntry::plainText(x), separatorsFor(format));
}

namespace {

double statedRate(const UnitRecord& record)
{
    return record.isBase() ? 1.0 : currency::rateOf(record.factor);
}

// Currencies convert at their rates as the file states them, not at the noise of the factors'
// last decimals: 1 USD is 25,450 VND, not 25,450.0005472.
void convertAtStatedRates(UnitConversion& conversion, const ConversionTable& table, std::u16string_view from,
                          std::u16string_view to)
{
    const int a = table.find(from);
    const int b = table.find(to);
    if (a <= 0 || b <= 0 || conversion.reciprocal || conversion.offset != 0.0)
        return;
    const double fromRate = statedRate(table.units()[static_cast<std::size_t>(a - 1)]);
    const double toRate = statedRate(table.units()[static_cast<std::size_t>(b - 1)]);
    if (fromRate > 0.0 && toRate > 0.0)
        conversion.multiplier = toRate / fromRate;
}

}  // namespace

void Converter::showPage(Page page)
{
    page_ = page;
    entry_.reset();
    switch (page) {
    case Page::Units:
        if (!table_.load(unitsPath()))
            noteDataProblem(unitsPath(), table_.errorCode());
        if (!pageUnitsKnown(units_))
            fillUnitsDefault();
        break;
    case Page::Currency:
        if (!table_.load(currencyPath()))
            noteDataProblem(currencyPath(), table_.errorCode());
        // The date is never kept: the file says it.
        currency_.top = {ascii::widen(currency::dateOf(currencyPath())), u"Date"};
        if (!pageUnitsKnown(currency_))
            fillCurrencyDefault();
        break;
    case Page::Constants:
        if (constants_[kConstantCategoryField].value.empty()) {
            ConstantTable file(constantsPath());
            const std::optional<UnitCategory> first = file.firstCategory();
            if (first)
                fillConstants(first->name, 0);
        }
        break;
    }
}

void Converter::noteDataProblem(const std::filesystem::path& file, int error)
{
    const std::string where = "data file " + file.string() + ".";
    std::u16string problem =
        fromUtf8(error > 0 ? "Error on line " + std::to_string(error) + " in " + where : "Cannot read " + where);
    if (std::find(toldProblems_.begin(), toldProblems_.end(), problem) != toldProblems_.end())
        return;
    toldProblems_.push_back(problem);
    dataProblem_ = std::move(problem);
}

std::u16string Converter::takeDataProblem()
{
    return std::exchange(dataProblem_, std::u16string());
}

bool Converter::pageUnitsKnown(const ConvertPage& page) const
{
    return !page.upperUnit.empty() && !page.lowerUnit.empty() && table_.find(page.upperUnit) != 0 &&
           table_.find(page.lowerUnit) != 0;
}

void Converter::setUnit(ConvertPage& page, ValueField field, const UnitRecord& record, int index)
{
    const bool upper = field == ValueField::Upper;
    page.field(field).caption = record.symbol;
    (upper ? page.upperUnit : page.lowerUnit) = record.name;
    (upper ? page.upperIndex : page.lowerIndex) = static_cast<std::uint8_t>(index);
}

void Converter::fillUnitsDefault()
{
    units_ = ConvertPage{};
    UnitCategories file(unitsPath());
    const std::optional<UnitCategory> first = file.firstCategory();
    if (!first)
        return;
    units_.top = {first->name, u"Category"};
    std::vector<UnitRecord> records;
    file.unitsOf(first->name, records);
    if (records.size() < 2)
        return;
    setUnit(units_, ValueField::Upper, records[0], 0);
    setUnit(units_, ValueField::Lower, records[1], 1);
    units_.upper.value = u"0";
    units_.lower.value = u"0";
}

void Converter::fillCurrencyDefault()
{
    const Field date = currency_.top;
    currency_ = ConvertPage{};
    currency_.top = date;
    const std::vector<UnitRecord>& records = table_.units();
    if (records.size() < 2)
        return;
    setUnit(currency_, ValueField::Upper, records[0], 0);
    setUnit(currency_, ValueField::Lower, records[1], 1);
    currency_.upper.value = u"1";
    // One unit of the first (the base) currency in the second.
    currency_.lower.value = records[1].factor == 0.0 ? u"" : formatResult(currency::rateOf(records[1].factor), format_);
}

void Converter::fillConstants(const std::u16string& category, int index)
{
    ConstantTable file(constantsPath());
    std::vector<ConstantEntry> entries;
    if (!file.constantsOf(category, entries))
        noteDataProblem(constantsPath(), file.error());
    if (entries.size() > kMaxListUnits)
        entries.resize(kMaxListUnits);
    constants_[kConstantCategoryField] = {category, u"Category"};
    if (index < 0 || index >= static_cast<int>(entries.size()))
        index = 0;
    constantIndex_ = index;
    constantBytes_[0] = static_cast<std::uint8_t>(index);
    if (entries.empty()) {
        constants_[kConstantNameField] = {};
        constants_[kConstantValueField] = {};
        return;
    }
    constants_[kConstantNameField] = {entries[index].name, u"Name"};
    constants_[kConstantValueField] = {entries[index].value, u"Value"};
}

Converter::ConvertPage* Converter::activePage()
{
    switch (page_) {
    case Page::Units: return &units_;
    case Page::Currency: return &currency_;
    case Page::Constants: break;
    }
    return nullptr;
}

void Converter::setActiveField(ValueField field)
{
    ConvertPage* page = activePage();
    if (!page || page->active == field)
        return;
    page->active = field;
    entry_.reset();
}

double Converter::fieldValue(const std::u16string& text) const
{
    return unitfile::atofRule(ungrouped(text, separatorsFor(format_)));
}

bool Converter::handleKey(char16_t code)
{
    ConvertPage* page = activePage();
    if (!page || page->upperUnit.empty() || !ConverterKeyEntry::takes(code))
        return false;
    Field& field = page->field(page->active);
    if (field.value.size() >= kMaxFieldText && code != kBackspace)
        return false;
    if (entry_.press(code, fieldValue(field.value))) {
        field.value = grouped(entry_.text(), separatorsFor(format_));
        convertFromActive();
    }
    return true;
}

void Converter::convertFromActive()
{
    ConvertPage* page = activePage();
    if (!page)
        return;
    const ValueField other = otherField(page->active);
    Field& target = page->field(other);
    std::optional<UnitConversion> conversion = table_.convert(page->unit(page->active), page->unit(other));
    if (!conversion) {
        target.value = table_.errorText();
        return;
    }
    if (page_ == Page::Currency)
        convertAtStatedRates(*conversion, table_, page->unit(page->active), page->unit(other));
    target.value = formatResult(conversion->apply(fieldValue(page->field(page->active).value)), format_);
}

bool Converter::swapUnits()
{
    ConvertPage* page = activePage();
    if (!page || page->upperUnit.empty() || page->lowerUnit.empty())
        return false;
    std::swap(page->upperUnit, page->lowerUnit);
    std::swap(page->upper.caption, page->lower.caption);
    std::swap(page->upperIndex, page->lowerIndex);
    convertFromActive();
    return true;
}

std::u16string Converter::copyText() const
{
    const ConvertPage& page = convertPage();
    const Separators seps = separatorsFor(format_);
    std::u16string text = ungrouped(page.field(otherField(page.active)).value, seps);
    if (!std::ranges::all_of(text, [](char16_t c) { return isNumberChar(c) || c == kInfinity; }))
        return {};
    std::ranges::replace(text, u'.', seps.decimalChar);
    return text;
}

std::vector<std::u16string> Converter::categories() const
{
    std::vector<UnitCategory> found;
    if (page_ == Page::Units)
        UnitCategories(unitsPath()).categories(found);
    else if (page_ == Page::Constants)
        ConstantTable(constantsPath()).categories(found);
    std::vector<std::u16string> names;
    for (const UnitCategory& category : found)
        names.push_back(category.name);
    return names;
}

int Converter::currentCategory() const
{
    const std::u16string& current = page_ == Page::Units ? units_.top.value : constants_[kConstantCategoryField].value;
    const std::vector<std::u16string> names = categories();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == current)
            return static_cast<int>(i);
    return -1;
}

bool Converter::pickCategory(int index)
{
    const std::vector<std::u16string> names = categories();
    if (index < 0 || index >= static_cast<int>(names.size()))
        return false;
    if (page_ == Page::Units) {
        UnitCategories file(unitsPath());
        std::vector<UnitRecord> records;
        file.unitsOf(names[index], records);
        if (records.size() < 2)
            return false;
        const ValueField active = units_.active;
        units_ = ConvertPage{};
        units_.active = active;
        units_.top = {names[index], u"Category"};
        setUnit(units_, ValueField::Upper, records[0], 0);
        setUnit(units_, ValueField::Lower, records[1], 1);
        units_.upper.value = u"0";
        units_.lower.value = u"0";
        entry_.reset();
        convertFromActive();
        return true;
    }
    fillConstants(names[index], 0);
    return true;
}

std::vector<UnitRecord> Converter::unitsOfCategory() const
{
    std::vector<UnitRecord> records;
    if (page_ == Page::Units)
        UnitCategories(unitsPath()).unitsOf(units_.top.value, records);
    else if (page_ == Page::Currency)
        records = table_.units();
    if (records.size() > kMaxListUnits && page_ == Page::Units)
        records.resize(kMaxListUnits);
    return records;
}

std::vector<std::u16string> Converter::unitChoices() const
{
    std::vector<std::u16string> lines;
    if (page_ != Page::Constants) {
        for (const UnitRecord& record : unitsOfCategory())
            lines.push_back(page_ == Page::Currency ? record.symbol + u" - " + record.name
                                                    : record.name + u" " + record.symbol);
        return lines;
    }
    std::vector<ConstantEntry> entries;
    ConstantTable(constantsPath()).constantsOf(constants_[kConstantCategoryField].value, entries);
    for (const ConstantEntry& entry : entries) {
        if (lines.size() == kMaxListUnits)
            break;
        lines.push_back(entry.name);
    }
    return lines;
}

bool Converter::pickUnit(ValueField field, int index)
{
    ConvertPage* page = activePage();
    if (!page) {
        fillConstants(constants_[kConstantCategoryField].value, index);
        return constantIndex_ == index;
    }
    const std::vector<UnitRecord> records = unitsOfCategory();
    if (index < 0 || index >= static_cast<int>(records.size()))
        return false;
    setUnit(*page, field, records[index], index);
    entry_.reset();
    convertFromActive();
    return true;
}

void Converter::beginUpdate()
{
    currency_.top.value = ascii::widen(currency::kUpdatingText);
}

void Converter::finishUpdate(bool succeeded)
{
    if (page_ != Page::Currency) {
        currency_.top.value = ascii::widen(currency::dateOf(currencyPath()));
        return;
    }
    const ValueField active = currency_.active;
    const std::u16string upperSymbol = currency_.upper.caption;
    const std::u16string lowerSymbol = currency_.lower.caption;
    const std::u16string activeValue = currency_.field(active).value;
    showPage(Page::Currency);
    if (!succeeded)
        return;
    // The chosen pair stays chosen: its list positions may have moved, its names may now carry
    // the date of an older rate, and the value typed in the active field is converted again at
    // the new rates.
    const int upper = table_.find(upperSymbol);
    const int lower = table_.find(lowerSymbol);
    if (upper == 0 || lower == 0)
        return;
    setUnit(currency_, ValueField::Upper, table_.units()[upper - 1], upper - 1);
    setUnit(currency_, ValueField::Lower, table_.units()[lower - 1], lower - 1);
    currency_.active = active;
    currency_.field(active).value = activeValue;
    convertFromActive();
}

std::string Converter::stateBytes() const
{
    ArchiveWriter out;
    out.writeString(units_.top.value);
    writePageSides(out, units_);
    writePageSides(out, currency_);

    for (const Field& field : constants_)
        writeField(out, field);
    for (std::uint8_t byte : constantBytes_)
        out.writeU8(byte);
    return out.take();
}

bool Converter::takeStateBytes(std::string_view bytes)
{
    ArchiveReader in(bytes);

    ConvertPage units;
    if (!in.readString(units.top.value) || !readPageSides(in, units))
        return false;
    units.top.caption = u"Category";
    units_ = units;

    ConvertPage money;
    if (!readPageSides(in, money))
        return false;
    money.top = currency_.top;
    currency_ = money;

    std::array<Field, kConstantFields> constants;
    for (Field& field : constants)
        if (!readField(in, field))
            return false;
    std::array<std::uint8_t, 4> extra{};
    for (std::uint8_t& byte : extra)
        if (!in.readU8(byte))
            return false;
    constants_ = constants;
    constantBytes_ = extra;
    constantIndex_ = extra[0];
    return true;
}

bool Converter::saveState() const
{
    return !statePath().empty() && writeFileAtomically(statePath(), stateBytes());
}

bool Converter::loadState()
{
    std::string bytes;
    if (statePath().empty() || !readWholeFile(statePath(), bytes, kMaxStateBytes))
        return false;
    return takeStateBytes(bytes);
}

void Converter::setOutputFormat(OutputFormat format)
{
    if (format == format_)
        return;
    const Separators from = separatorsFor(format_);
    const Separators to = separatorsFor(format);
    // Values keep their numbers under the new marks.
    for (ConvertPage* page : {&units_, &currency_}) {
        for (Field* field : {&page->upper, &page->lower}) {
            const std::u16string plain = ungrouped(field->value, from);
            if (!field->value.empty() && std::ranges::all_of(plain, isNumberChar))
                field->value = grouped(plain, to);
        }
    }
    format_ = format;
    entry_.reset();
}
