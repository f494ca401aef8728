#include "converter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "archive_stream.h"
#include "ascii.h"
#include "atomic_file.h"
#include "constant_table.h"
#include "rate_update.h"
#include "unit_categories.h"

namespace {

constexpr std::u16string_view kDigitLetters = u"?WERSDFZXC";
constexpr std::u16string_view kDigitLettersLower = u"?wersdfzxc";
constexpr char16_t kInfinity = u'\u221E';
constexpr std::uintmax_t kMaxStateBytes = 1u << 20;

// Other formats have no separators: a point and no grouping.
Separators separatorsFor(OutputFormat format)
{
    return separatorsOf(format).value_or(Separators{u'.', u'\0'});
}

// "%.8lf" without trailing zeros and then without a bare point: 123.50000000 -> 123.5. From
// 10,000 up, fewer decimals, so that no more than 12 significant digits show: the digits
// beyond them are not the number's (105505585.262 would show as 105505585.26199999).
std::string plainResult(double x)
{
    const double magnitude = std::fabs(x);
    char buffer[64];
    if (magnitude <= 1e12 && (magnitude >= 1e-8 || x == 0.0)) {
        int decimals = 8;
        for (double limit = 1e4; decimals > 0 && magnitude >= limit; limit *= 10)
            --decimals;
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, decimals).ptr;
        std::string text(buffer, end);
        if (decimals > 0) {
            text.erase(text.find_last_not_of('0') + 1);
            if (text.back() == '.')
                text.pop_back();
        }
        if (text == "-0")
            text = "0";
        return text;
    }
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 8).ptr;
    return std::string(buffer, end);
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

}  // namespace

Converter::Converter(std::filesystem::path folder, OutputFormat format)
    : folder_(std::move(folder)), stateFolder_(folder_), format_(format)
{
}

char16_t Converter::mapKey(char16_t code)
{
    std::size_t at = kDigitLetters.find(code);
    if (at == std::u16string_view::npos)
        at = kDigitLettersLower.find(code);
    return at == std::u16string_view::npos ? code : static_cast<char16_t>(u'0' + at);
}

std::u16string Converter::formatResult(double x, OutputFormat format)
{
    if (std::isinf(x))
        return x > 0 ? u"\u221E" : u"-\u221E";
    return grouped(plainResult(x), separatorsFor(format));
}

void Converter::showPage(int page)
{
    if (page < kUnitsPage || page > kConstantsPage2)
        return;
    page_ = page;
    resetEntry();
    switch (page) {
    case kUnitsPage:
        table_.load(unitsPath());
        if (!pageUnitsKnown(units_))
            fillUnitsDefault();
        break;
    case kCurrencyPage:
        table_.load(currencyPath());
        // The date is never kept: the file says it.
        currency_.top = {ascii::widen(currency::dateOf(currencyPath())), u"Date"};
        if (!pageUnitsKnown(currency_))
            fillCurrencyDefault();
        break;
    default:
        if (constants_[kConstantCategoryField].value.empty()) {
            ConstantTable file(constantsPath());
            const std::optional<UnitCategory> first = file.firstCategory();
            if (first)
                fillConstants(first->name, 0);
        }
        break;
    }
}

bool Converter::pageUnitsKnown(const ConvertPage& page) const
{
    return !page.upperUnit.empty() && !page.lowerUnit.empty() && table_.find(page.upperUnit) != 0 &&
           table_.find(page.lowerUnit) != 0;
}

void Converter::setUnit(ConvertPage& page, int field, const UnitRecord& record, int index)
{
    Field& target = field == 0 ? page.upper : page.lower;
    target.caption = record.symbol;
    (field == 0 ? page.upperUnit : page.lowerUnit) = record.name;
    (field == 0 ? page.upperIndex : page.lowerIndex) = static_cast<std::uint8_t>(index);
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
    setUnit(units_, 0, records[0], 0);
    setUnit(units_, 1, records[1], 1);
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
    setUnit(currency_, 0, records[0], 0);
    setUnit(currency_, 1, records[1], 1);
    currency_.upper.value = u"1";
    // One unit of the first (the base) currency in the second.
    currency_.lower.value = records[1].factor == 0.0 ? u"" : formatResult(1.0 / records[1].factor, format_);
}

void Converter::fillConstants(const std::u16string& category, int index)
{
    ConstantTable file(constantsPath());
    std::vector<ConstantEntry> entries;
    file.constantsOf(category, entries);
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
    if (page_ == kUnitsPage)
        return &units_;
    if (page_ == kCurrencyPage)
        return &currency_;
    return nullptr;
}

void Converter::resetEntry()
{
    entry_.clear();
    fresh_ = true;
    pending_ = 0;
    accumulator_ = 0.0;
}

void Converter::setActiveField(int field)
{
    ConvertPage* page = activePage();
    if (!page || (field != 0 && field != 1) || page->active == field)
        return;
    page->active = field;
    resetEntry();
}

double Converter::fieldValue(const std::u16string& text) const
{
    return unitfile::atofRule(ungrouped(text, separatorsFor(format_)));
}

bool Converter::handleKey(char16_t code)
{
    ConvertPage* page = activePage();
    if (!page || page->upperUnit.empty())
        return false;
    Field& field = page->active == 0 ? page->upper : page->lower;
    const bool isDigit = code >= u'0' && code <= u'9';
    const bool isOperator = code == u'+' || code == u'-' || code == u'*' || code == u'/';
    if (!isDigit && code != u'.' && code != kBackspace && code != kNegate && !isOperator && code != u'=' &&
        code != u'M' && code != u'R')
        return false;
    if (field.value.size() >= kMaxFieldText && code != kBackspace)
        return false;

    const double current = fieldValue(field.value);
    if (code == u'-' && fresh_ && pending_ == 0 && current == 0.0)
        code = kNegate;
    if (code == kNegate) {
        // The number being typed, or the one shown, changes sign; typing goes on as it was.
        if (fresh_)
            entry_ = current == 0.0 ? std::string("0") : plainResult(current);
        if (!entry_.empty() && entry_[0] == '-')
            entry_.erase(0, 1);
        else
            entry_.insert(0, 1, '-');
        if (fresh_ && entry_ == "-0")
            fresh_ = false;  // the sign of the number to come: the next digit replaces the 0
    } else if (isDigit || code == u'.') {
        if (fresh_)
            entry_.clear();
        fresh_ = false;
        if (code == u'.') {
            if (entry_.find('.') != std::string::npos)
                return true;
            if (entry_.empty() || entry_ == "-")
                entry_ += "0";
        } else if (entry_ == "0" || entry_ == "-0") {
            entry_.pop_back();
        }
        entry_ += static_cast<char>(code);
    } else if (code == kBackspace) {
        if (fresh_)
            entry_ = plainResult(current);
        fresh_ = false;
        if (!entry_.empty())
            entry_.pop_back();
        if (entry_.empty() || entry_ == "-")
            entry_ = "0";
    } else if (code == u'M') {
        memory_ = current;
        fresh_ = true;
        entry_ = plainResult(current);
    } else if (code == u'R') {
        entry_ = plainResult(memory_);
        fresh_ = true;
    } else {
        // An operator or "=" completes the pending arithmetic: 2 + 3 * shows 5.
        double result = current;
        if (pending_ == '+')
            result = accumulator_ + current;
        else if (pending_ == '-')
            result = accumulator_ - current;
        else if (pending_ == '*')
            result = accumulator_ * current;
        else if (pending_ == '/')
            result = accumulator_ / current;
        if (!std::isfinite(result))
            result = 0.0;
        accumulator_ = result;
        pending_ = code == u'=' ? 0 : static_cast<char>(code);
        entry_ = plainResult(result);
        fresh_ = true;
    }
    field.value = grouped(entry_, separatorsFor(format_));
    convertFromActive();
    return true;
}

void Converter::convertFromActive()
{
    ConvertPage* page = activePage();
    if (!page)
        return;
    const bool fromUpper = page->active == 0;
    const Field& source = fromUpper ? page->upper : page->lower;
    Field& target = fromUpper ? page->lower : page->upper;
    const std::u16string& from = fromUpper ? page->upperUnit : page->lowerUnit;
    const std::u16string& to = fromUpper ? page->lowerUnit : page->upperUnit;
    const std::optional<UnitConversion> conversion = table_.convert(from, to);
    if (!conversion) {
        target.value = table_.errorText();
        return;
    }
    target.value = formatResult(conversion->apply(fieldValue(source.value)), format_);
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
    std::u16string text = ungrouped(page.active == 0 ? page.lower.value : page.upper.value, seps);
    if (!std::ranges::all_of(text, [](char16_t c) { return isNumberChar(c) || c == kInfinity; }))
        return {};
    std::ranges::replace(text, u'.', seps.decimalChar);
    return text;
}

std::vector<std::u16string> Converter::categories() const
{
    std::vector<UnitCategory> found;
    if (page_ == kUnitsPage)
        UnitCategories(unitsPath()).categories(found);
    else if (page_ != kCurrencyPage)
        ConstantTable(constantsPath()).categories(found);
    std::vector<std::u16string> names;
    for (const UnitCategory& category : found)
        names.push_back(category.name);
    return names;
}

int Converter::currentCategory() const
{
    const std::u16string& current =
        page_ == kUnitsPage ? units_.top.value : constants_[kConstantCategoryField].value;
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
    if (page_ == kUnitsPage) {
        UnitCategories file(unitsPath());
        std::vector<UnitRecord> records;
        file.unitsOf(names[index], records);
        if (records.size() < 2)
            return false;
        const int active = units_.active;
        units_ = ConvertPage{};
        units_.active = active;
        units_.top = {names[index], u"Category"};
        setUnit(units_, 0, records[0], 0);
        setUnit(units_, 1, records[1], 1);
        units_.upper.value = u"0";
        units_.lower.value = u"0";
        resetEntry();
        convertFromActive();
        return true;
    }
    fillConstants(names[index], 0);
    return true;
}

std::vector<UnitRecord> Converter::unitsOfCategory() const
{
    std::vector<UnitRecord> records;
    if (page_ == kUnitsPage)
        UnitCategories(unitsPath()).unitsOf(units_.top.value, records);
    else if (page_ == kCurrencyPage)
        records = table_.units();
    if (records.size() > kMaxListUnits && page_ == kUnitsPage)
        records.resize(kMaxListUnits);
    return records;
}

std::vector<std::u16string> Converter::unitChoices() const
{
    std::vector<std::u16string> lines;
    if (page_ == kUnitsPage || page_ == kCurrencyPage) {
        for (const UnitRecord& record : unitsOfCategory())
            lines.push_back(page_ == kCurrencyPage ? record.symbol + u" - " + record.name
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

bool Converter::pickUnit(int field, int index)
{
    ConvertPage* page = activePage();
    if (!page) {
        fillConstants(constants_[kConstantCategoryField].value, index);
        return constantIndex_ == index;
    }
    const std::vector<UnitRecord> records = unitsOfCategory();
    if ((field != 0 && field != 1) || index < 0 || index >= static_cast<int>(records.size()))
        return false;
    setUnit(*page, field, records[index], index);
    resetEntry();
    convertFromActive();
    return true;
}

void Converter::beginUpdate()
{
    currency_.top.value = ascii::widen(currency::kUpdatingText);
}

void Converter::finishUpdate(bool succeeded)
{
    if (page_ != kCurrencyPage) {
        currency_.top.value = ascii::widen(currency::dateOf(currencyPath()));
        return;
    }
    const int active = currency_.active;
    showPage(kCurrencyPage);
    if (!succeeded)
        return;
    // The chosen pair stays chosen: its list positions may have moved, and the value typed in
    // the active field is converted again at the new rates.
    const int upper = table_.find(currency_.upperUnit);
    const int lower = table_.find(currency_.lowerUnit);
    if (upper == 0 || lower == 0)
        return;
    setUnit(currency_, 0, table_.units()[upper - 1], upper - 1);
    setUnit(currency_, 1, table_.units()[lower - 1], lower - 1);
    currency_.active = active;
    convertFromActive();
}

std::string Converter::stateBytes() const
{
    ArchiveWriter out;
    out.writeString(units_.top.value);
    writeField(out, units_.upper);
    writeField(out, units_.lower);
    out.writeString(units_.upperUnit);
    out.writeString(units_.lowerUnit);
    out.writeU8(units_.upperIndex);
    out.writeU8(units_.lowerIndex);

    writeField(out, currency_.upper);
    writeField(out, currency_.lower);
    out.writeString(currency_.upperUnit);
    out.writeString(currency_.lowerUnit);
    out.writeU8(currency_.upperIndex);
    out.writeU8(currency_.lowerIndex);

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
    if (!in.readString(units.top.value) || !readField(in, units.upper) || !readField(in, units.lower) ||
        !in.readString(units.upperUnit) || !in.readString(units.lowerUnit) || !in.readU8(units.upperIndex) ||
        !in.readU8(units.lowerIndex))
        return false;
    units.top.caption = u"Category";
    units_ = units;

    ConvertPage money;
    if (!readField(in, money.upper) || !readField(in, money.lower) || !in.readString(money.upperUnit) ||
        !in.readString(money.lowerUnit) || !in.readU8(money.upperIndex) || !in.readU8(money.lowerIndex))
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
    resetEntry();
}
