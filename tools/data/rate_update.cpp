#include "rate_update.h"

#include <cmath>
#include <cstdlib>

#include "atomic_file.h"
#include "c_number.h"
#include "conversion_table.h"
#include "utf16.h"

namespace {

constexpr std::u16string_view kBaseSymbol = u"USD";
// The readers cut lines at 254 bytes (the table's 255-byte fgets buffer); a longer line would
// be split into two wrong records, so a downloaded table must not hold one.
constexpr std::size_t kMaxLineBytes = unitfile::kTableBuffer - 1;
// A factor above this would make the factor text alone longer than a line may be.
constexpr double kMaxFactor = 1e15;

std::string_view firstLineOf(std::string_view bytes)
{
    const std::size_t end = bytes.find('\n');
    const std::size_t size = end == std::string_view::npos ? bytes.size() : end + 1;
    return bytes.substr(0, std::min(size, currency::kMaxFirstLine));
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

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != prefix[i])
            return false;
    }
    return true;
}

std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view kBlanks = " \t\r";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

struct Refusal {
    int errorClass = 0;
    std::string text;
};

// The status line must be "HTTP/x.y 200 ..."; then the header, up to an empty line.
std::optional<Refusal> checkHeader(std::string_view answer, std::string_view& body)
{
    if (answer.empty())
        return Refusal{RateUpdate::kErrorAnswer, "Error, empty answer."};
    const std::size_t statusEnd = answer.find('\n');
    const std::string_view status = answer.substr(0, statusEnd);
    const std::size_t space = status.find(' ');
    if (!status.starts_with("HTTP/") || space == std::string_view::npos ||
        status.size() < space + 4)
        return Refusal{RateUpdate::kErrorAnswer, "Error, not an HTTP answer."};
    const std::string_view code = status.substr(space + 1, 3);
    for (const char c : code) {
        if (c < '0' || c > '9')
            return Refusal{RateUpdate::kErrorAnswer, "Error, not an HTTP answer."};
    }
    if (code != "200")
        return Refusal{RateUpdate::kErrorAnswer,
                       "Error, server answered " + std::string(code) + "."};

    std::optional<std::size_t> contentLength;
    std::size_t pos = statusEnd == std::string_view::npos ? answer.size() : statusEnd + 1;
    for (;;) {
        const std::size_t end = answer.find('\n', pos);
        if (end == std::string_view::npos)
            return Refusal{RateUpdate::kErrorIncomplete, "Error, answer cut short."};
        const std::string_view line = trimmed(answer.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty())
            break;
        if (!startsWithNoCase(line, "content-length:"))
            continue;
        const std::string_view value = trimmed(line.substr(15));
        std::size_t length = 0;
        bool valid = !value.empty() && value.size() <= 12;
        for (const char c : value) {
            valid = valid && c >= '0' && c <= '9';
            length = length * 10 + static_cast<std::size_t>(c - '0');
        }
        if (!valid || (contentLength && *contentLength != length))
            return Refusal{RateUpdate::kErrorIncomplete, "Error, bad Content-Length."};
        contentLength = length;
    }
    body = answer.substr(pos);
    if (contentLength && *contentLength != body.size())
        return Refusal{RateUpdate::kErrorIncomplete,
                       *contentLength > body.size()
                           ? "Error, answer cut short."
                           : "Error, answer longer than its Content-Length."};
    return std::nullopt;
}

bool isCurrencyRecord(const UnitRecord& record)
{
    if (record.isBase())
        return record.symbol == kBaseSymbol;
    return record.numerator.size() == 1 && record.numerator[0] == kBaseSymbol &&
           record.denominator.empty() && record.offset == 0.0 && std::isfinite(record.factor) &&
           record.factor > 0.0;
}

// The table must read the same through the conversion table and the category readers: one
// category of records defined on USD, USD itself the one base unit, closed by "#End".
std::optional<Refusal> checkRates(std::string_view rates)
{
    auto badLine = [](int number) {
        return Refusal{RateUpdate::kErrorRates,
                       "Error, bad currency rates on line " + std::to_string(number) + "."};
    };
    enum class Stage { BeforeBegin, Inside, AfterEnd } stage = Stage::BeforeBegin;
    int number = 0;
    int records = 0;
    bool haveBase = false;
    std::size_t pos = 0;
    while (pos < rates.size()) {
        ++number;
        const std::size_t end = rates.find('\n', pos);
        const std::size_t next = end == std::string_view::npos ? rates.size() : end + 1;
        const std::string_view line = rates.substr(pos, next - pos);
        pos = next;
        if (line.size() > kMaxLineBytes)
            return badLine(number);
        for (const char c : line) {
            const auto byte = static_cast<unsigned char>(c);
            if ((byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7f)
                return badLine(number);
        }
        if (number == 1)
            continue;  // the date line
        const std::vector<std::u16string> colonWords = unitfile::words(line, true);
        if (colonWords.empty())
            continue;
        UnitCategory category;
        switch (unitfile::control(colonWords, false, category)) {
        case unitfile::Control::Begin:
            if (stage != Stage::BeforeBegin)
                return badLine(number);
            stage = Stage::Inside;
            continue;
        case unitfile::Control::End:
            if (stage != Stage::Inside)
                return badLine(number);
            stage = Stage::AfterEnd;
            continue;
        case unitfile::Control::Other:
            continue;
        case unitfile::Control::None:
            break;
        }
        // A last line without its line end that does not read is where the transfer stopped.
        if (end == std::string_view::npos && stage == Stage::Inside) {
            UnitRecord whole;
            if (!unitfile::parseUnitRecord(colonWords, whole) || !isCurrencyRecord(whole))
                return Refusal{RateUpdate::kErrorIncomplete, "Error, answer cut short."};
        }
        UnitRecord asTable;
        UnitRecord asCategory;
        if (stage != Stage::Inside || colonWords[0][0] == u'@' ||
            !unitfile::parseUnitRecord(unitfile::words(line, false), asTable) ||
            !unitfile::parseUnitRecord(colonWords, asCategory) ||
            asTable.symbol != asCategory.symbol || asTable.factor != asCategory.factor ||
            !isCurrencyRecord(asTable) || ++records > ConversionTable::kMaxUnits)
            return badLine(number);
        if (asTable.isBase()) {
            if (haveBase)
                return badLine(number);
            haveBase = true;
        }
    }
    if (stage != Stage::AfterEnd)
        return Refusal{RateUpdate::kErrorIncomplete, "Error, answer cut short."};
    if (!haveBase || records < 2)
        return Refusal{RateUpdate::kErrorRates, "Error, no currency rates in answer."};
    return std::nullopt;
}

}  // namespace

namespace currency {

std::string dateOf(const std::filesystem::path& file)
{
    std::string bytes;
    if (!unitfile::readFile(file, bytes))
        return {};
    std::string_view line = firstLineOf(bytes);
    const std::size_t start = line.find_first_not_of("#Date: ");
    if (start == std::string_view::npos)
        return {};
    line.remove_prefix(start);
    const std::size_t last = line.find_last_not_of(" \t\r\n\f\v");
    return std::string(line.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

std::string rateText(double factor)
{
    const std::string text = cnum::fixed(factor > 0.0 ? 1.0 / factor : 0.0, 12);
    return text.substr(0, 14);
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
    if (!std::isfinite(factor) || factor > kMaxFactor)
        return false;
    record.factor = factor;
    return true;
}

std::string fileText(std::string_view firstLine, const std::vector<UnitRecord>& records)
{
    std::string text(firstLine);
    text += "\n#Begin:Currency:0\n";
    for (const UnitRecord& record : records) {
        if (record.symbol == kBaseSymbol) {
            text += "\tUSD\tUSD\t!\n";
            continue;
        }
        text += '\t' + underscored(record.name) + '\t' + underscored(record.symbol) + '\t' +
                cnum::fixed(record.factor, 11) + "\t0\tUSD\n";
    }
    text += "#End";
    return text;
}

bool saveTable(const std::filesystem::path& file, const std::vector<UnitRecord>& records)
{
    std::string old;
    if (!unitfile::readFile(file, old))
        old.clear();
    return writeFileAtomically(file, fileText(firstLineOf(old), records));
}

}  // namespace currency

RateUpdate::RateUpdate(std::filesystem::path file, HttpDownload::Limits limits)
    : file_(std::move(file)), limits_(limits)
{
}

std::optional<std::string> RateUpdate::proxyFromEnvironment()
{
    const char* value = std::getenv("http_proxy");
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

std::optional<std::string> RateUpdate::ratesFromAnswer(std::string_view answer,
                                                           int& errorClass,
                                                           std::string& errorText)
{
    std::string_view body;
    std::optional<Refusal> refusal = checkHeader(answer, body);
    std::size_t date = std::string_view::npos;
    if (!refusal) {
        date = body.find("#Date");
        if (date == std::string_view::npos)
            refusal = Refusal{kErrorRates, "Error, no currency rates in answer."};
        else
            refusal = checkRates(body.substr(date));
    }
    if (refusal) {
        errorClass = refusal->errorClass;
        errorText = refusal->text;
        return std::nullopt;
    }
    return std::string(body.substr(date));
}

bool RateUpdate::fail(int errorClass, int socketError, std::string text)
{
    errorClass_ = errorClass;
    socketError_ = socketError;
    errorText_ = std::move(text);
    return false;
}

bool RateUpdate::run(std::optional<std::string_view> proxySetting)
{
    errorClass_ = HttpDownload::kNoError;
    socketError_ = 0;
    errorText_.clear();
    HttpDownload download(limits_);
    if (proxySetting && !proxySetting->empty())
        download.setProxy(parseProxySetting(*proxySetting));
    if (!download.download(url_))
        return fail(download.errorClass(), download.socketError(), download.errorText());
    int errorClass = 0;
    std::string errorText;
    const std::optional<std::string> rates =
        ratesFromAnswer(download.received(), errorClass, errorText);
    if (!rates)
        return fail(errorClass, 0, std::move(errorText));
    if (!writeFileAtomically(file_, *rates))
        return fail(kErrorWrite, 0, "Error when write " + file_.filename().string() + ".");
    return true;
}

std::string RateUpdate::errorMessage() const
{
    return "Error: " + std::to_string(errorClass_) + ", " + std::to_string(socketError_) + ", " +
           errorText_;
}
