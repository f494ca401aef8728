#include "statistics_data.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "ascii.h"
#include "atomic_file.h"
#include "engine.h"
#include "stored_number.h"
#include "unicode_text.h"
#include "unreadable_file.h"

namespace {

using Model = StatisticsData;

using storedNumber::atofRule;
using storedNumber::isCSpace;

// What the writer can produce is far smaller (512 values of at most 24 characters: 13 KB);
// anything bigger is not read into memory at all.
constexpr std::uintmax_t kMaxFileBytes = 4u * 1024u * 1024u;

// Far above any count the set accepts; digit runs stop growing here instead of overflowing.
constexpr long long kSaturation = 1'000'000'000LL;

// C atoi: leading blanks, an optional sign, digits up to the first non-digit. `end` receives
// where the digits stopped and `digits` how many there were.
long long atoiRule(std::string_view text, std::size_t* end = nullptr, std::size_t* digits = nullptr)
{
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t start = i;
    long long value = 0;
    for (; i < text.size() && ascii::isDigit(text[i]); ++i)
        value = std::min(value * 10 + (text[i] - '0'), kSaturation);
    if (end)
        *end = i;
    if (digits)
        *digits = i - start;
    return negative ? -value : value;
}

bool isBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), isCSpace);
}

std::string_view lineAt(std::string_view bytes, std::size_t start, bool& hasNewline)
{
    const std::size_t end = bytes.find('\n', start);
    hasNewline = end != std::string_view::npos;
    return bytes.substr(start, (hasNewline ? end : bytes.size()) - start);
}

}  // namespace

StatisticsData::StatisticsData(Engine& engine) : engine_(engine)
{
}

Model::LoadStatus StatisticsData::load(const std::filesystem::path& path)
{
    try {
        std::string bytes;
        switch (readDataFile(path, bytes, kMaxFileBytes)) {
        case DataFileRead::Read: break;
        case DataFileRead::Missing: return LoadStatus::NotLoaded;
        case DataFileRead::Unreadable: replaceValues({}); return LoadStatus::Error;
        }
        const std::string text = textAsUtf8(bytes);
        const std::string_view all(text);
        if (isBlank(all))
            return LoadStatus::NotLoaded;
        bool firstEnds = false;
        const std::string_view first = lineAt(all, 0, firstEnds);
        const long long n = atoiRule(first);
        const std::size_t secondStart = firstEnds ? all.find('\n') + 1 : all.size();
        bool secondEnds = false;
        // The whole line, however long: whatever the writer writes is read back.
        const std::string_view line = lineAt(all, secondStart, secondEnds);
        // The writer ends the line with " \r": the carriage return is no value.
        const std::string_view second = line.substr(0, line.find_last_not_of(" \t\n\v\f\r") + 1);

        // Every value of the line is read, whatever the count says; the count adds zeros for
        // missing pieces.
        std::vector<double> values;
        std::size_t pieces = 0;
        for (std::size_t i = 0; i < second.size();) {
            while (i < second.size() && second[i] == ' ')
                ++i;
            if (i == second.size())
                break;
            const std::size_t end = std::min(second.find(' ', i), second.size());
            if (++pieces <= kMaxCount)
                values.push_back(atofRule(second.substr(i, end - i)));
            i = end;
        }
        const bool countFits = n >= 1 && n <= kMaxCount && pieces <= static_cast<std::size_t>(n);
        if (countFits)
            values.resize(static_cast<std::size_t>(n), 0.0);
        const std::size_t rest = secondStart + line.size();
        const bool complete = countFits && isBlank(all.substr(std::min(rest, all.size())));
        replaceValues(std::move(values));
        return complete ? LoadStatus::Loaded : LoadStatus::Error;
    } catch (const std::bad_alloc&) {
        return LoadStatus::Error;
    }
}

bool StatisticsData::save(const std::filesystem::path& path) const
{
    std::string text;
    if (!values_.empty()) {
        text = std::to_string(values_.size()) + "\r\n";
        for (double value : values_)
            text += storedNumber::fileText(value) + ' ';
        text += "\r\n";
    }
    return writeFileAtomically(path, text);
}

std::u16string StatisticsData::labelText() const
{
    return u"N : " + ascii::widen(std::to_string(values_.size()));
}

std::u16string StatisticsData::indexText(int row)
{
    return ascii::widen(std::to_string(row));
}

std::u16string StatisticsData::valueText(int row) const
{
    if (row < 0 || row >= count())
        return {};
    return formatValue(values_[static_cast<std::size_t>(row)]);
}

std::u16string StatisticsData::formatValue(double value)
{
    return ascii::widen(storedNumber::cellText(value));
}

std::u16string StatisticsData::correctSizeText(std::u16string_view typed)
{
    const std::string text = ascii::narrow(typed);
    std::size_t i = 0;
    std::size_t digits = 0;
    const long long value = atoiRule(text, &i, &digits);
    while (i < text.size() && isCSpace(text[i]))
        ++i;
    // Only a whole number is corrected; a half-typed "-" or "12a" is the user's to finish.
    if (digits == 0 || i != text.size())
        return std::u16string(typed);
    if (value < 0)
        return u"0";
    if (value > kMaxCount)
        return u"512";
    return std::u16string(typed);
}

int StatisticsData::sizeFromText(std::u16string_view text)
{
    const long long value = atoiRule(ascii::narrow(text));
    return static_cast<int>(std::clamp<long long>(value, 0, kMaxCount));
}

bool StatisticsData::newDataSet(int size)
{
    if (size < 1 || size > kMaxCount || size == count())
        return false;
    values_.assign(static_cast<std::size_t>(size), 0.0);
    publish();
    return true;
}

bool StatisticsData::insertRow(int row)
{
    if (row < 0 || row >= count() || count() >= kMaxCount)
        return false;
    values_.insert(values_.begin() + row, 0.0);
    publish();
    return true;
}

bool StatisticsData::deleteRow(int row)
{
    if (row < 0 || row >= count())
        return false;
    values_.erase(values_.begin() + row);
    publish();
    return true;
}

void StatisticsData::clearAll()
{
    values_.clear();
    publish();
}

bool StatisticsData::setValue(int row, std::u16string_view editedText)
{
    if (row < 0 || row >= count())
        return false;
    const double value = editedValue(editedText);
    // "1e999" would be written as "inf", which reads back as 0: it is refused instead.
    if (!std::isfinite(value))
        return false;
    values_[static_cast<std::size_t>(row)] = value;
    publish();
    return true;
}

double StatisticsData::editedValue(std::u16string_view editedText)
{
    const std::string text = ascii::narrow(editedText);
    const std::size_t first = text.find_first_not_of(" \t\n\v\f\r");
    if (first == std::string::npos)
        return 0.0;
    const std::size_t last = text.find_last_not_of(" \t\n\v\f\r");
    return atofRule(std::string_view(text).substr(first, last + 1 - first).substr(0, kEditLimit));
}

void StatisticsData::replaceValues(std::vector<double> values)
{
    values_ = std::move(values);
    publish();
}

void StatisticsData::publish()
{
    if (values_.empty())
        engine_.slots.clear(VariableSlots::kList);
    else
        engine_.slots.storeMatrix(VariableSlots::kList, static_cast<std::uint16_t>(values_.size()), 1, values_.data());
}
