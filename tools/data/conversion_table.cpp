#include "conversion_table.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "c_number.h"
#include "utf16.h"

namespace {

// Bounds on one reduction, so that units defined through each other in long or branching
// chains end in bounded time and memory; the items past the bound simply stay unexpanded.
constexpr int kExpansionBudget = 2000;
constexpr std::size_t kMaxReducedItems = 1000;

bool singleItem(const UnitRecord& record, std::u16string_view item)
{
    return record.denominator.empty() && record.numerator.size() == 1 && record.numerator[0] == item;
}

void simplify(UnitRecord& record)
{
    std::vector<std::u16string> numerator;
    std::vector<bool> used(record.denominator.size(), false);
    for (std::u16string& item : record.numerator) {
        bool cancelled = false;
        for (std::size_t j = 0; j < record.denominator.size() && !cancelled; ++j) {
            if (!used[j] && record.denominator[j] == item)
                used[j] = cancelled = true;
        }
        if (!cancelled)
            numerator.push_back(std::move(item));
    }
    std::vector<std::u16string> denominator;
    for (std::size_t j = 0; j < record.denominator.size(); ++j)
        if (!used[j])
            denominator.push_back(std::move(record.denominator[j]));
    std::erase(numerator, u"1");
    std::erase(denominator, u"1");
    record.numerator = std::move(numerator);
    record.denominator = std::move(denominator);
}

bool sameMultiset(std::vector<std::u16string> a, std::vector<std::u16string> b)
{
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

// A base unit as a reduced record: one item, itself, so that it can be compared with the
// reductions of the units defined on it.
UnitRecord asReduced(const UnitRecord& base)
{
    UnitRecord record = base;
    record.numerator = {base.symbol};
    return record;
}

// result rounded at the 12th significant digit of scale (the larger term of the sum it came
// from): with a scale of 17.8 the last digit kept is the 1e-10 one.
double roundAtTwelfthDigit(double result, double scale)
{
    if (!std::isfinite(result) || !std::isfinite(scale) || scale <= 0.0)
        return result + 0.0;
    // The decimal exponent of scale, read from its own "%.11e" text: log10 can land on the
    // wrong side of a power of ten.
    const std::string scaleText = cnum::scientific(scale, 11);
    const int exponent = std::atoi(scaleText.c_str() + scaleText.find('e') + 1);
    const int decimals = 11 - exponent;
    double rounded = 0.0;
    // With a scale of 1e12 or more no digit after the point is kept, and "%.8e" shows the
    // result anyway: 12 significant digits of the result itself.
    const std::string text = decimals >= 0 ? cnum::fixed(result, decimals) : cnum::scientific(result, 11);
    if (cnum::parsePrefix(text, rounded) == 0)
        return result + 0.0;
    // "-0.00000000000" reads back as -0, which a field would show as "-0".
    return rounded + 0.0;
}

std::optional<UnitConversion> inverse(const UnitRecord& record)
{
    if (record.factor == 0.0)
        return std::nullopt;
    return UnitConversion{1.0 / record.factor, -record.offset / record.factor};
}

}  // namespace

struct ConversionTable::Expansion {
    std::vector<int> active;  // the units being expanded, outermost first: a cycle stops here
    int budget = kExpansionBudget;
};

ConversionTable::ConversionTable()
{
    units_.reserve(kMaxUnits);
}

bool ConversionTable::load(const std::filesystem::path& path)
{
    std::string bytes;
    if (!unitfile::readFile(path, bytes)) {
        units_.clear();
        error_ = kErrorOpenFile;
        return false;
    }
    return loadBytes(bytes);
}

bool ConversionTable::loadBytes(std::string_view bytes)
{
    units_.clear();
    error_ = kNoError;
    unitfile::LineReader reader(bytes, unitfile::kTableBuffer);
    std::string_view line;
    while (reader.next(line)) {
        const std::vector<std::u16string> words = unitfile::words(line, false);
        if (words.empty() || words[0][0] == u'#' || words[0][0] == u'@')
            continue;
        UnitRecord record;
        if (count() >= kMaxUnits || !unitfile::parseUnitRecord(words, record)) {
            error_ = reader.lineNumber();
            return false;
        }
        units_.push_back(std::move(record));
    }
    return true;
}

int ConversionTable::findIndex(std::u16string_view text) const
{
    for (std::size_t i = 0; i < units_.size(); ++i)
        if (units_[i].name == text || units_[i].symbol == text)
            return static_cast<int>(i);
    return -1;
}

int ConversionTable::find(std::u16string_view text) const
{
    return findIndex(text) + 1;
}

bool ConversionTable::isBase(std::u16string_view text) const
{
    return std::any_of(units_.begin(), units_.end(), [&](const UnitRecord& unit) {
        return (unit.name == text || unit.symbol == text) && unit.isBase();
    });
}

int ConversionTable::expandable(const std::u16string& item, const Expansion& state) const
{
    if (state.budget <= 0 || isBase(item))
        return -1;
    const int index = findIndex(item);
    if (index < 0 || units_[index].offset != 0.0 ||
        std::find(state.active.begin(), state.active.end(), index) != state.active.end())
        return -1;
    return index;
}

UnitRecord ConversionTable::expandedUnit(int index, Expansion& state) const
{
    --state.budget;
    UnitRecord sub = units_[index];
    state.active.push_back(index);
    expand(sub, state);
    state.active.pop_back();
    return sub;
}

void ConversionTable::expand(UnitRecord& record, Expansion& state) const
{
    auto full = [&] { return record.numerator.size() + record.denominator.size() > kMaxReducedItems; };
    for (std::size_t i = 0; i < record.numerator.size() && !full();) {
        const int index = expandable(record.numerator[i], state);
        if (index < 0) {
            ++i;
            continue;
        }
        const UnitRecord sub = expandedUnit(index, state);
        record.factor *= sub.factor;
        record.offset = 0.0;
        record.numerator.erase(record.numerator.begin() + static_cast<std::ptrdiff_t>(i));
        record.numerator.insert(record.numerator.begin() + static_cast<std::ptrdiff_t>(i), sub.numerator.begin(),
                                sub.numerator.end());
        record.denominator.insert(record.denominator.end(), sub.denominator.begin(), sub.denominator.end());
        i += sub.numerator.size();
    }
    for (std::size_t j = 0; j < record.denominator.size() && !full();) {
        const int index = expandable(record.denominator[j], state);
        if (index < 0) {
            ++j;
            continue;
        }
        const UnitRecord sub = expandedUnit(index, state);
        record.factor /= sub.factor;
        record.offset = 0.0;
        record.numerator.insert(record.numerator.end(), sub.denominator.begin(), sub.denominator.end());
        record.denominator.erase(record.denominator.begin() + static_cast<std::ptrdiff_t>(j));
        record.denominator.insert(record.denominator.begin() + static_cast<std::ptrdiff_t>(j), sub.numerator.begin(),
                                  sub.numerator.end());
        j += sub.numerator.size();
    }
}

UnitRecord ConversionTable::reduced(const UnitRecord& record) const
{
    UnitRecord result = record;
    Expansion state;
    const int self = findIndex(record.name);
    if (self >= 0)
        state.active.push_back(self);
    expand(result, state);
    simplify(result);
    return result;
}

std::vector<int> ConversionTable::findIndices(std::u16string_view text) const
{
    std::vector<int> indices;
    for (std::size_t i = 0; i < units_.size(); ++i)
        if (units_[i].name == text || units_[i].symbol == text)
            indices.push_back(static_cast<int>(i));
    return indices;
}

std::optional<UnitConversion> ConversionTable::convert(std::u16string_view from, std::u16string_view to)
{
    const std::vector<int> fromIndices = findIndices(from);
    const std::vector<int> toIndices = findIndices(to);
    if (fromIndices.empty() || toIndices.empty()) {
        error_ = kErrorUnknownUnit;
        return std::nullopt;
    }
    for (const int ia : fromIndices) {
        for (const int ib : toIndices) {
            if (std::optional<UnitConversion> result = convertUnits(units_[ia], units_[ib]))
                return result;
        }
    }
    error_ = kErrorNotSameUnit;
    return std::nullopt;
}

std::optional<UnitConversion> ConversionTable::convertUnits(const UnitRecord& a, const UnitRecord& b) const
{
    std::optional<UnitConversion> result;
    if (a.isBase() && b.isBase()) {
        if (a.symbol == b.symbol)
            result = UnitConversion{1.0, 0.0};
    } else if (a.isBase()) {
        const UnitRecord rb = reduced(b);
        if (singleItem(rb, a.name) || singleItem(rb, a.symbol))
            result = inverse(rb);
    } else if (b.isBase()) {
        const UnitRecord ra = reduced(a);
        if (singleItem(ra, b.name) || singleItem(ra, b.symbol))
            result = UnitConversion{ra.factor, ra.offset};
    } else if (singleItem(a, b.symbol)) {
        result = UnitConversion{a.factor, a.offset};
    } else if (singleItem(b, a.symbol)) {
        result = inverse(b);
    } else {
        const UnitRecord ra = reduced(a);
        const UnitRecord rb = reduced(b);
        if (rb.factor != 0.0 && sameMultiset(ra.numerator, rb.numerator) &&
            sameMultiset(ra.denominator, rb.denominator))
            result = UnitConversion{ra.factor / rb.factor, (ra.offset - rb.offset) / rb.factor};
    }
    if (!result && a.offset == 0.0 && b.offset == 0.0)
        result = reciprocalConversion(a, b);
    return result;
}

std::optional<UnitConversion> ConversionTable::reciprocalConversion(const UnitRecord& a, const UnitRecord& b) const
{
    // One unit of A is ra.factor x D in base units, one unit of B is rb.factor / D. A quantity
    // x of A stands for 1 / (x ra.factor) / D, that is 1 / (x ra.factor rb.factor) units of B.
    const UnitRecord ra = a.isBase() ? asReduced(a) : reduced(a);
    const UnitRecord rb = b.isBase() ? asReduced(b) : reduced(b);
    const double product = ra.factor * rb.factor;
    if (ra.isBase() || product == 0.0 || !std::isfinite(product) || !sameMultiset(ra.numerator, rb.denominator) ||
        !sameMultiset(ra.denominator, rb.numerator))
        return std::nullopt;
    return UnitConversion{1.0 / product, 0.0, true};
}

double UnitConversion::unrounded(double value) const
{
    return reciprocal ? multiplier / value : value * multiplier + offset;
}

double UnitConversion::apply(double value) const
{
    const double result = unrounded(value);
    const double size = reciprocal ? std::fabs(result) : std::max(std::fabs(value * multiplier), std::fabs(offset));
    return roundAtTwelfthDigit(result, size);
}

std::u16string ConversionTable::errorText() const
{
    if (error_ > 0)
        return fromUtf8("Error on line " + std::to_string(error_) + " in data file.");
    switch (error_) {
    case kNoError: return u"No error.";
    case kErrorOpenFile: return u"Cannot open the data file.";
    case kErrorNotSameUnit: return u"The units are of different kinds.";
    case kErrorUnknownUnit: return u"Unknown unit.";
    default: return u"Unknown error.";
    }
}
