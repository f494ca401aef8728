#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "http_download.h"
#include "unit_file.h"

// The currency table in "currency.dat": every currency is a unit defined on the base unit
// "USD", its factor the value of one unit of it in USD. The first line of the file is
// "#Date: " and the date of the rates.
namespace currency {

inline constexpr std::string_view kFileName = "currency.dat";
// The rate server is not fixed; its path, scheme and port are. Change the host here.
inline constexpr std::string_view kRateUrl = "http://rates.corvan.invalid/currency/save.txt";
// Shown in the date field while the update runs.
inline constexpr std::string_view kUpdatingText = "Updating ...";
inline constexpr std::string_view kErrorCaption = "Error";
// The first line of the file that saving keeps and the date is read from.
inline constexpr std::size_t kMaxFirstLine = 255;
// Edited rate texts are read from at most this many bytes.
inline constexpr std::size_t kMaxRateText = 128;

// The date of the rates: the first line of the file without its leading "#Date: " characters
// and trailing white space; empty when the file is missing.
std::string dateOf(const std::filesystem::path& file);

// The "Exchange Rate" column: 1 / factor (units per USD) as "%.12f" cut to 14 characters, or 0
// for a factor that is not above 0. A factor of 0.5 shows "2.000000000000".
std::string rateText(double factor);

// Takes an edited rate back: a number above 0 (the atof rule) sets factor = 1 / number. Text,
// 0, a negative number, or a rate so small that its factor would not fit a line leaves the
// record alone. True when the record changed.
bool takeRate(UnitRecord& record, std::string_view text);

// The file as saved: firstLine kept as it was (with its own line end) plus one more line feed,
// "#Begin:Currency:0", one line per record, "#End" without a line end.
std::string fileText(std::string_view firstLine, const std::vector<UnitRecord>& records);

// Writes the records to the file, keeping the first line of the file that was there.
bool saveTable(const std::filesystem::path& file, const std::vector<UnitRecord>& records);

}  // namespace currency

// The update: downloads the rate list and replaces "currency.dat" with it. The old file stays
// unless the answer was complete, a 200 answer, and a well-formed currency table.
class RateUpdate {
public:
    // Error classes beyond those of HttpDownload.
    static constexpr int kErrorAnswer = 10;      // empty, not HTTP, or not status 200
    static constexpr int kErrorIncomplete = 11;  // cut short, or a Content-Length that lies
    static constexpr int kErrorRates = 12;       // no table, or a bad line in it
    static constexpr int kErrorWrite = 13;

    explicit RateUpdate(std::filesystem::path file, HttpDownload::Limits limits = {});
    void setUrl(std::string url) { url_ = std::move(url); }

    // Runs the whole update. proxySetting is the platform's proxy setting ("host:port", an
    // optional "http://" in front); none or empty means direct. False on any failure, with the
    // error in errorClass(), socketError(), errorText() and errorMessage().
    bool run(std::optional<std::string_view> proxySetting);

    // The `http_proxy` environment variable.
    static std::optional<std::string> proxyFromEnvironment();

    // The rate table inside a whole HTTP answer, from its first "#Date" on; nothing when the
    // answer is refused, with the class and text of the reason.
    static std::optional<std::string> ratesFromAnswer(std::string_view answer, int& errorClass,
                                                      std::string& errorText);

    int errorClass() const { return errorClass_; }
    int socketError() const { return socketError_; }
    const std::string& errorText() const { return errorText_; }
    // "Error: class, code, text", shown in a message box captioned currency::kErrorCaption.
    std::string errorMessage() const;

private:
    bool fail(int errorClass, int socketError, std::string text);

    std::filesystem::path file_;
    HttpDownload::Limits limits_;
    std::string url_{currency::kRateUrl};
    int errorClass_ = HttpDownload::kNoError;
    int socketError_ = 0;
    std::string errorText_;
};
