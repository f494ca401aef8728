#include "ecb_rates.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "ascii.h"
#include "c_number.h"
#include "conversion_table.h"
#include "http_download.h"

namespace {

// The names of the currencies that the ECB has published reference rates for, by code.
struct CurrencyName {
    std::string_view code;
    std::u16string_view name;
};
constexpr CurrencyName kCurrencyNames[] = {
    {"AUD", u"Australian Dollar"}, {"BGN", u"Bulgarian Lev"},      {"BRL", u"Brazilian Real"},
    {"CAD", u"Canadian Dollar"},   {"CHF", u"Swiss Franc"},        {"CNY", u"Chinese Yuan"},
    {"CYP", u"Cypriot Pound"},     {"CZK", u"Czech Koruna"},       {"DKK", u"Danish Krone"},
    {"EEK", u"Estonian Kroon"},    {"GBP", u"British Pound"},      {"HKD", u"Hong Kong Dollar"},
    {"HRK", u"Croatian Kuna"},     {"HUF", u"Hungarian Forint"},   {"IDR", u"Indonesian Rupiah"},
    {"ILS", u"Israeli Shekel"},    {"INR", u"Indian Rupee"},       {"ISK", u"Icelandic Krona"},
    {"JPY", u"Japanese Yen"},      {"KRW", u"South Korean Won"},   {"LTL", u"Lithuanian Litas"},
    {"LVL", u"Latvian Lats"},      {"MTL", u"Maltese Lira"},       {"MXN", u"Mexican Peso"},
    {"MYR", u"Malaysian Ringgit"}, {"NOK", u"Norwegian Krone"},    {"NZD", u"New Zealand Dollar"},
    {"PHP", u"Philippine Peso"},   {"PLN", u"Polish Zloty"},       {"ROL", u"Romanian Leu (old)"},
    {"RON", u"Romanian Leu"},      {"RUB", u"Russian Rouble"},     {"SEK", u"Swedish Krona"},
    {"SGD", u"Singapore Dollar"},  {"SIT", u"Slovenian Tolar"},    {"SKK", u"Slovak Koruna"},
    {"THB", u"Thai Baht"},         {"TRL", u"Turkish Lira (old)"}, {"TRY", u"Turkish Lira"},
    {"USD", u"US Dollar"},         {"ZAR", u"South African Rand"},
};

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view localName(std::string_view name)
{
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// The value of attribute `name` in a tag's text, quoted with ' or "; nothing when absent.
std::optional<std::string_view> attribute(std::string_view tag, std::string_view name)
{
    for (std::size_t pos = 0; (pos = tag.find(name, pos)) != std::string_view::npos; ++pos) {
        if (pos == 0 || kBlanks.find(tag[pos - 1]) == std::string_view::npos)
            continue;
        std::size_t at = tag.find_first_not_of(kBlanks, pos + name.size());
        if (at == std::string_view::npos || tag[at] != '=')
            continue;
        at = tag.find_first_not_of(kBlanks, at + 1);
        if (at == std::string_view::npos || (tag[at] != '\'' && tag[at] != '"'))
            return std::string_view{};  // unquoted: an empty value, which no check accepts
        const std::size_t close = tag.find(tag[at], at + 1);
        if (close == std::string_view::npos)
            return std::string_view{};
        return tag.substr(at + 1, close - at - 1);
    }
    return std::nullopt;
}

bool isDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != 4 && i != 7 && !ascii::isDigit(text[i]))
            return false;
    const int month = (text[5] - '0') * 10 + (text[6] - '0');
    const int day = (text[8] - '0') * 10 + (text[9] - '0');
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

bool isCode(std::string_view text)
{
    return text.size() == 3 && std::all_of(text.begin(), text.end(), ascii::isUpper<char>);
}

bool refuse(int& errorClass, std::string& errorText, int newClass, std::string text)
{
    errorClass = newClass;
    errorText = std::move(text);
    return false;
}

}  // namespace

bool EcbRates::looksLike(std::string_view answer)
{
    if (answer.starts_with("\xEF\xBB\xBF"))
        answer.remove_prefix(3);  // a UTF-8 byte order mark
    const std::size_t start = answer.find_first_not_of(kBlanks);
    return start != std::string_view::npos && answer.substr(start).starts_with("<?xml") &&
           answer.find("<Cube") != std::string_view::npos;
}

std::u16string EcbRates::currencyName(std::string_view code)
{
    for (const CurrencyName& entry : kCurrencyNames)
        if (entry.code == code)
            return std::u16string(entry.name);
    return ascii::widen(code);
}

bool EcbRates::parse(std::string_view xml, int& errorClass, std::string& errorText)
{
    constexpr int kBadRates = 12;
    date_.clear();
    rates_.clear();
    std::string root;
    bool rootClosed = false;
    bool pastFirstDay = false;
    for (std::size_t pos = 0; (pos = xml.find('<', pos)) != std::string_view::npos;) {
        std::string_view close = ">";
        if (xml.substr(pos).starts_with("<?"))
            close = "?>";
        else if (xml.substr(pos).starts_with("<!--"))
            close = "-->";
        const std::size_t end = xml.find(close, pos + 1);
        if (end == std::string_view::npos)
            break;  // a tag cut in half
        const std::string_view tag = xml.substr(pos + 1, end - pos - 1);
        pos = end + close.size();
        if (close != ">" || tag.starts_with('!'))
            continue;
        if (tag.starts_with('/')) {
            const std::string_view name = tag.substr(1, tag.find_first_of(kBlanks, 1) - 1);
            rootClosed = rootClosed || name == root;
            continue;
        }
        const std::string_view name = tag.substr(0, tag.find_first_of(" \t\r\n/"));
        if (root.empty())
            root = name;
        if (localName(name) != "Cube" || pastFirstDay)
            continue;
        if (const std::optional<std::string_view> time = attribute(tag, "time")) {
            // A file of several days (the 90-day history) starts with the latest one.
            if (!date_.empty()) {
                pastFirstDay = true;
                continue;
            }
            if (!isDate(*time))
                return refuse(errorClass, errorText, kBadRates, "Error, no date in answer.");
            date_ = *time;
        }
        const std::optional<std::string_view> code = attribute(tag, "currency");
        const std::optional<std::string_view> rate = attribute(tag, "rate");
        if (!code && !rate)
            continue;
        if (date_.empty())
            return refuse(errorClass, errorText, kBadRates, "Error, no date in answer.");
        double value = 0.0;
        const bool number = rate && !rate->empty() && cnum::parsePrefix(*rate, value) == rate->size();
        if (!code || !isCode(*code) || *code == "EUR" || !number || !std::isfinite(value) || value <= 0.0 ||
            value > 1e15)
            return refuse(errorClass, errorText, kBadRates, "Error, bad currency rates in answer.");
        const bool repeated =
            std::any_of(rates_.begin(), rates_.end(), [&](const Rate& known) { return known.code == *code; });
        if (repeated || rates_.size() + 1 >= static_cast<std::size_t>(ConversionTable::kMaxUnits))
            return refuse(errorClass, errorText, kBadRates, "Error, bad currency rates in answer.");
        rates_.push_back({std::string(*code), value});
    }
    if (root.empty() || !rootClosed)
        return refuse(errorClass, errorText, HttpDownload::kErrorIncomplete, "Error, answer cut short.");
    if (date_.empty())
        return refuse(errorClass, errorText, kBadRates, "Error, no date in answer.");
    if (rates_.empty())
        return refuse(errorClass, errorText, kBadRates, "Error, no currency rates in answer.");
    return true;
}
