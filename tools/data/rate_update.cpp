#include "rate_update.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "atomic_file.h"
#include "c_number.h"
#include "conversion_table.h"
#include "ecb_rates.h"
#include "preferences.h"
#include "utf16.h"

namespace {

// Older tables wrote factors with 11 decimals; half a unit of the last one bounds what such a
// factor tells.
constexpr double kFactorHalfUnit = 5e-12;
// The most significant digits a shown rate has.
constexpr int kMaxRateDigits = 15;

// The significant digits of a number text ("0.00125" has 3, "1.5e300" 2).
int significantDigits(std::string_view text)
{
    text = text.substr(0, text.find('e'));
    const std::size_t first = text.find_first_of("123456789");
    if (first == std::string_view::npos)
        return 0;
    const std::size_t last = text.find_last_of("123456789");
    const std::string_view digits = text.substr(first, last - first + 1);
    return static_cast<int>(digits.size() - static_cast<std::size_t>(std::count(digits.begin(), digits.end(), '.')));
}

// A server's text is shown and printed as it stands: a control character (an escape sequence
// for the terminal, a bell, a NUL that ends the text early) has no place in it. Tab and the
// line ends are the table's own.
bool holdsControlCharacter(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F)
            return true;
        // U+0080 to U+009F in UTF-8.
        if (c == 0xC2 && i + 1 < bytes.size() && static_cast<unsigned char>(bytes[i + 1]) < 0xA0 &&
            static_cast<unsigned char>(bytes[i + 1]) >= 0x80)
            return true;
    }
    return false;
}

std::string underscored(std::u16string_view text)
{
    std::string out = toUtf8(text);
    for (char& c : out) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            c = '_';
    }
    return out;
}

// "a*b/c" for a record's definition.
std::string definitionText(const UnitRecord& record)
{
    std::string text;
    for (const std::u16string& item : record.numerator)
        text += (text.empty() ? "" : "*") + underscored(item);
    if (text.empty())
        text = "1";
    for (const std::u16string& item : record.denominator)
        text += "/" + underscored(item);
    return text;
}

bool refuse(int& errorClass, std::string& errorText, int newClass, std::string text)
{
    errorClass = newClass;
    errorText = std::move(text);
    return false;
}

}  // namespace

namespace currency {

std::string_view firstLineOf(std::string_view bytes)
{
    const std::size_t end = bytes.find('\n');
    const std::size_t size = end == std::string_view::npos ? bytes.size() : end + 1;
    return bytes.substr(0, std::min(size, kMaxFirstLine));
}

std::string dateOfText(std::string_view bytes)
{
    std::string_view line = firstLineOf(bytes);
    const std::size_t start = line.find_first_not_of("#Date: ");
    if (start == std::string_view::npos)
        return {};
    line.remove_prefix(start);
    const std::size_t last = line.find_last_not_of(" \t\r\n\f\v");
    return std::string(line.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

std::string dateOf(const std::filesystem::path& file)
{
    std::string bytes;
    if (!unitfile::readFile(file, bytes))
        return {};
    return dateOfText(bytes);
}

double rateOf(double factor)
{
    double rate = 0.0;
    if (factor > 0.0) {
        // Older tables kept factors with 11 decimals, so the rate is known only to the digits
        // that half a unit of the factor's last decimal leaves: 1 / 1.03594737387 is the 0.9653
        // the table was made from, not 0.965300000003.
        // A factor written whole (its shortest exact text) carries its own digits.
        const int written = significantDigits(cnum::exactDecimal(factor)) - 1;
        const int oldDecimals = static_cast<int>(std::floor(std::log10(factor / kFactorHalfUnit)));
        const int digits = std::clamp(std::max(written, oldDecimals), 1, kMaxRateDigits);
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, 1.0 / factor);
        cnum::parsePrefix(buffer, rate);
    }
    return rate;
}

std::string rateText(double factor)
{
    char buffer[400];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, rateOf(factor), std::chars_format::fixed).ptr;
    return std::string(buffer, end);
}

bool takeRate(UnitRecord& record, std::string_view text)
{
    // atof: leading white space, then the longest number.
    text = text.substr(0, kMaxRateText);
    const std::size_t start = text.find_first_not_of(" \t\n\v\f\r");
    if (start == std::string_view::npos)
        return false;
    double value = 0.0;
    if (cnum::parsePrefix(text.substr(start), value) == 0 || !(value > 0.0))
        return false;
    const double factor = 1.0 / value;
    if (!std::isfinite(factor) || factor > kMaxFactor || factor < kMinFactor)
        return false;
    record.factor = factor;
    return true;
}

std::string fileText(std::string_view firstLine, const std::vector<UnitRecord>& records)
{
    std::string text(firstLine);
    text += "\n#Begin:Currency:0\n";
    for (const UnitRecord& record : records) {
        text += '\t' + underscored(record.name) + '\t' + underscored(record.symbol) + '\t';
        if (record.isBase())
            text += "!\n";
        else
            text += cnum::exactDecimal(record.factor) + "\t0\t" + definitionText(record) + '\n';
    }
    text += "#End";
    return text;
}

bool checkTable(std::string_view bytes, int& errorClass, std::string& errorText)
{
    constexpr int kRates = RateUpdate::kErrorRates;
    if (!bytes.starts_with("#Date"))
        return refuse(errorClass, errorText, kRates, "Error, no currency rates in answer.");
    if (holdsControlCharacter(bytes))
        return refuse(errorClass, errorText, kRates, "Error, control characters in answer.");
    ConversionTable table;
    if (!table.loadBytes(bytes)) {
        return refuse(errorClass, errorText, kRates,
                      "Error, bad currency rates on line " + std::to_string(table.errorCode()) + ".");
    }
    if (dateOfText(bytes).empty())
        return refuse(errorClass, errorText, kRates, "Error, no date in answer.");
    // A table that stops without its "#End" was cut short on a line end.
    const std::size_t last = bytes.find_last_not_of(" \t\r\n");
    const std::size_t lineStart = bytes.find_last_of('\n', last);
    const std::string_view lastLine = bytes.substr(lineStart == std::string_view::npos ? 0 : lineStart + 1,
                                                   last == std::string_view::npos ? 0 : last - lineStart);
    if (lastLine != "#End")
        return refuse(errorClass, errorText, HttpDownload::kErrorIncomplete, "Error, answer cut short.");

    const std::vector<UnitRecord>& records = table.units();
    const UnitRecord* base = nullptr;
    for (const UnitRecord& record : records) {
        if (!record.isBase())
            continue;
        if (base != nullptr)
            return refuse(errorClass, errorText, kRates, "Error, more than one base currency in answer.");
        base = &record;
    }
    if (base == nullptr || records.size() < 2)
        return refuse(errorClass, errorText, kRates, "Error, no currency rates in answer.");
    for (const UnitRecord& record : records) {
        if (&record == base)
            continue;
        const bool valid = record.numerator.size() == 1 && record.numerator[0] == base->symbol &&
                           record.denominator.empty() && record.offset == 0.0 && record.factor >= kMinFactor &&
                           record.factor <= kMaxFactor &&
                           table.find(record.symbol) == static_cast<int>(&record - records.data()) + 1;
        if (!valid)
            return refuse(errorClass, errorText, kRates, "Error, bad currency rate for " + toUtf8(record.symbol) + ".");
    }
    return true;
}

bool saveTable(const std::filesystem::path& file, std::string_view firstLine, const std::vector<UnitRecord>& records,
               std::string* errorText)
{
    const std::string text = fileText(firstLine, records);
    int errorClass = 0;
    std::string why;
    if (!checkTable(text, errorClass, why)) {
        if (errorText != nullptr)
            *errorText = why;
        return false;
    }
    WriteFailureWatch watch;
    if (!writeFileAtomically(file, text)) {
        if (errorText != nullptr)
            *errorText = watch.first() ? watch.first()->message() : "Cannot save " + file.string() + ".";
        return false;
    }
    return true;
}

}  // namespace currency

RateUpdate::RateUpdate(std::filesystem::path file, DownloadLimits limits)
    : file_(std::move(file)), limits_(limits), url_(toUtf8(kDefaultRateSourceUrl))
{
}

namespace {

// Names are one token in the file: "_" stands for a blank.
constexpr std::u16string_view kOlderRateOpening = u"_(rate_of_";

// Adds the previous table's currencies that records lack, each factor taken through the
// previous base's new value in the new base. Without that bridge (the new table lacks the old
// base) no rate can be carried over.
void keepMissingCurrencies(const ConversionTable& previous, const std::string& previousDate,
                           std::vector<UnitRecord>& records)
{
    const std::vector<UnitRecord>& old = previous.units();
    if (old.empty() || records.empty())
        return;
    const auto inNew = [&records](std::u16string_view symbol) {
        return std::find_if(records.begin(), records.end(),
                            [symbol](const UnitRecord& r) { return r.symbol == symbol; });
    };
    // The base: defined by nothing, or (as the table may hold it reduced) by itself alone.
    const auto oldBase = std::find_if(old.begin(), old.end(), [](const UnitRecord& r) {
        return r.isBase() || (r.denominator.empty() && r.numerator.size() == 1 && r.numerator[0] == r.symbol);
    });
    if (oldBase == old.end())
        return;
    const auto bridge = inNew(oldBase->symbol);
    if (bridge == records.end())
        return;
    const double oldBaseValue = bridge->isBase() ? 1.0 : bridge->factor;
    const std::u16string newBase = records[0].symbol;
    std::vector<UnitRecord> kept;
    for (const UnitRecord& unit : old) {
        if (&unit == &*oldBase || inNew(unit.symbol) != records.end() || unit.numerator.size() != 1 ||
            !unit.denominator.empty() || unit.numerator[0] != oldBase->symbol)
            continue;
        const double factor = unit.factor * oldBaseValue;
        if (!(factor >= currency::kMinFactor && factor <= currency::kMaxFactor))
            continue;
        UnitRecord record;
        record.symbol = unit.symbol;
        record.name = currency::withOlderRateDate(unit.name, previousDate);
        record.factor = factor;
        record.numerator = {newBase};
        kept.push_back(std::move(record));
    }
    records.insert(records.end(), kept.begin(), kept.end());
}

}  // namespace

std::u16string currency::withOlderRateDate(std::u16string_view name, std::string_view date)
{
    // A rate already older than the previous table keeps its own date.
    if (withoutOlderRateDate(name).size() != name.size() || date.empty())
        return std::u16string(name);
    return std::u16string(name) + std::u16string(kOlderRateOpening) + fromUtf8(std::string(date)) + u")";
}

std::u16string_view currency::withoutOlderRateDate(std::u16string_view name)
{
    const std::size_t opening = name.rfind(kOlderRateOpening);
    if (opening == std::u16string_view::npos || name.back() != u')')
        return name;
    return name.substr(0, opening);
}

std::optional<std::string> RateUpdate::ratesFromAnswer(std::string_view body, std::string_view previousFile,
                                                       int& errorClass, std::string& errorText)
{
    if (holdsControlCharacter(body)) {
        refuse(errorClass, errorText, kErrorRates, "Error, control characters in answer.");
        return std::nullopt;
    }
    std::string text;
    if (EcbRates::looksLike(body)) {
        EcbRates document;
        if (!document.parse(body, errorClass, errorText))
            return std::nullopt;
        // Names that the currencies had stay (a code standing as its own name does not count);
        // the others get their English names.
        ConversionTable previous;
        previous.loadBytes(previousFile);
        std::vector<UnitRecord> records(1);
        records[0].name = std::u16string(EcbRates::kBaseName);
        records[0].symbol = std::u16string(EcbRates::kBaseSymbol);
        for (const EcbRates::Rate& rate : document.rates()) {
            UnitRecord record;
            record.symbol = fromUtf8(rate.code);
            const int known = previous.find(record.symbol);
            const UnitRecord* old = known > 0 ? &previous.units()[known - 1] : nullptr;
            record.name = old != nullptr && old->symbol == record.symbol && old->name != old->symbol
                              ? std::u16string(currency::withoutOlderRateDate(old->name))
                              : EcbRates::currencyName(rate.code);
            record.factor = 1.0 / rate.perEuro;
            record.numerator = {std::u16string(EcbRates::kBaseSymbol)};
            records.push_back(std::move(record));
        }
        keepMissingCurrencies(previous, currency::dateOfText(previousFile), records);
        text = currency::fileText("#Date: " + document.date() + "\n", records);
    } else {
        const std::size_t date = body.find("#Date");
        if (date == std::string_view::npos) {
            refuse(errorClass, errorText, kErrorRates, "Error, no currency rates in answer.");
            return std::nullopt;
        }
        text = body.substr(date);
    }
    if (!currency::checkTable(text, errorClass, errorText))
        return std::nullopt;
    return text;
}

bool RateUpdate::fail(int errorClass, int socketError, std::string errorText, std::string message)
{
    errorClass_ = errorClass;
    socketError_ = socketError;
    errorText_ = std::move(errorText);
    errorMessage_ = std::move(message);
    return false;
}

bool RateUpdate::run(const std::atomic<bool>* cancel, HttpDownload::Progress progress)
{
    errorClass_ = HttpDownload::kNoError;
    socketError_ = 0;
    errorText_.clear();
    errorMessage_.clear();
    date_.clear();
    HttpDownload download(limits_);
    download.setProxy(proxy_);
    if (!caFile_.empty())
        download.setCaFile(caFile_);
    download.setCancelFlag(cancel);
    download.setProgress(std::move(progress));
    if (!download.download(url_))
        return fail(download.errorClass(), download.socketError(), download.errorText(), download.errorMessage());
    std::string previous;
    if (!unitfile::readFile(file_, previous))
        previous.clear();
    int errorClass = 0;
    std::string errorText;
    const std::optional<std::string> rates = ratesFromAnswer(download.received(), previous, errorClass, errorText);
    if (!rates) {
        return fail(errorClass, 0, std::move(errorText),
                    errorClass == HttpDownload::kErrorIncomplete ? "The answer was cut short."
                                                                 : "The answer is not a rate table.");
    }
    if (cancel != nullptr && cancel->load())
        return fail(HttpDownload::kErrorCancelled, 0, "Update cancelled.", "Update cancelled.");
    WriteFailureWatch watch;
    if (!writeFileAtomically(file_, *rates)) {
        std::string why = watch.first() ? watch.first()->message() : "Cannot save " + file_.string() + ".";
        return fail(kErrorWrite, 0, why, why);
    }
    date_ = currency::dateOfText(*rates);
    return true;
}

std::string RateUpdate::errorDetail() const
{
    return "Error: " + std::to_string(errorClass_) + ", " + std::to_string(socketError_) + ", " + errorText_;
}
