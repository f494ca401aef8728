#pragma once

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "http_download.h"
#include "unit_file.h"

// The currency table in "currency.dat": one base currency (USD in the shipped file, the euro in
// the European Central Bank's rates) and every other currency a unit defined on it, its factor
// the value of one unit of it in the base. The first line of the file is "#Date: " and the date
// of the rates.
namespace currency {

inline constexpr std::string_view kFileName = "currency.dat";
// Shown in the date field while the update runs.
inline constexpr std::string_view kUpdatingText = "Updating ...";
inline constexpr std::string_view kErrorCaption = "Error";
// The first line of the file that saving keeps and the date is read from.
inline constexpr std::size_t kMaxFirstLine = 255;
// Edited rate texts are read from at most this many bytes.
inline constexpr std::size_t kMaxRateText = 128;
// The factors a table may hold (the value of one unit in the base currency): far beyond any
// real currency either way, and short enough to write as plain decimals.
inline constexpr double kMinFactor = 1e-15;
inline constexpr double kMaxFactor = 1e15;

// The date of the rates: the first line of the file without its leading "#Date: " characters
// and trailing white space; empty when the file is missing.
std::string dateOf(const std::filesystem::path& file);
// The same for the bytes of a file.
std::string dateOfText(std::string_view bytes);

// The rate a factor stands for: 1 / factor (units per base currency) rounded to the significant
// digits that the factor carries: those of its exact text, or for a table of older versions,
// which wrote 11 decimals, those the decimals hold: the old table's 1.03594737387 is 0.9653.
// 0 for a factor that is not above 0.
double rateOf(double factor);
// The "Exchange Rate" column: rateOf(factor) as the shortest plain decimal that reads back to
// it ("2", "0.9653", "25450").
std::string rateText(double factor);

// Takes an edited rate back: a number above 0 (the atof rule) sets factor = 1 / number. Text,
// 0, a negative number, or a rate whose factor lies outside kMinFactor..kMaxFactor leaves the
// record alone. True when the record changed.
bool takeRate(UnitRecord& record, std::string_view text);

// The file as saved: firstLine kept as it was (with its own line end) plus one more line feed,
// "#Begin:Currency:0", one line per record ("\tname\tsymbol\t!" for the base, else
// "\tname\tsymbol\tFACTOR\t0\tBASE", the factor in the shortest text that reads back as
// exactly it), "#End" without a line end.
std::string fileText(std::string_view firstLine, const std::vector<UnitRecord>& records);

// The one check that every currency table passes before it may replace "currency.dat": a
// "#Date" line with a date, a whole table that the converter's conversion table loads
// completely (the very loader that reads the file), closed by "#End", with one base currency
// and every other currency defined on it alone by a factor within kMinFactor..kMaxFactor, and
// no control character anywhere (only tab and line ends). False with the update's
// error class and text when the table is refused.
bool checkTable(std::string_view bytes, int& errorClass, std::string& errorText);

// A currency that an update's source does not publish keeps its last rate, its name marked
// with that rate's date: "Vietnamese_Dong_(rate_of_2026-01-05)". The marker goes again when a
// source publishes the currency.
std::u16string withOlderRateDate(std::u16string_view name, std::string_view date);
std::u16string_view withoutOlderRateDate(std::u16string_view name);

// The first line of a file's bytes, its line end included, as fileText keeps it.
std::string_view firstLineOf(std::string_view bytes);

// Writes the file: fileText(firstLine, records). The first line comes with the records (the
// date of those rates), never from the file on disk, which may hold other rates by now. Nothing
// is written, and errorText says why, when the result would not pass checkTable.
bool saveTable(const std::filesystem::path& file, std::string_view firstLine, const std::vector<UnitRecord>& records,
               std::string* errorText = nullptr);

}  // namespace currency

// The update: downloads the rates and replaces "currency.dat" with them. The answer is either a
// currency table (taken from its first "#Date" on) or the European Central Bank's reference
// rates document, converted into a currency table with the euro as its base. The old file stays
// byte for byte unless the new table passed currency::checkTable and was written whole.
class RateUpdate {
public:
    // Error classes beyond those of HttpDownload.
    static constexpr int kErrorRates = 12;  // no table, or a bad one
    static constexpr int kErrorWrite = 13;

    // Downloads from the default source (kDefaultRateSourceUrl) until setUrl.
    explicit RateUpdate(std::filesystem::path file, DownloadLimits limits = {});
    void setUrl(std::string url) { url_ = std::move(url); }
    const std::string& url() const { return url_; }
    // As HttpDownload: unset takes the proxy from the environment, "" goes direct.
    void setProxy(std::optional<std::string> proxy) { proxy_ = std::move(proxy); }
    // Certificates to trust instead of the system's (tests only).
    void setCaFile(std::filesystem::path file) { caFile_ = std::move(file); }

    // Runs the whole update on the calling thread. cancel, when given, ends it as soon as it
    // turns true; progress is called on the calling thread as bytes arrive. False on any
    // failure, with the error in errorClass(), socketError(), errorText() and errorMessage().
    bool run(const std::atomic<bool>* cancel = nullptr, HttpDownload::Progress progress = {});

    // The new file's bytes for an answer's body, or nothing with the class and text of the
    // refusal. previousFile (the current "currency.dat") lends its currency names to a
    // converted ECB document, and its currencies that the document lacks stay, at their last
    // rate converted through the previous base, marked with that rate's date.
    static std::optional<std::string> ratesFromAnswer(std::string_view body, std::string_view previousFile,
                                                      int& errorClass, std::string& errorText);

    // The date of the rates written by the last successful run.
    const std::string& date() const { return date_; }
    int errorClass() const { return errorClass_; }
    int socketError() const { return socketError_; }
    const std::string& errorText() const { return errorText_; }
    // What failed, in words, shown in a message box captioned currency::kErrorCaption.
    const std::string& errorMessage() const { return errorMessage_; }
    // "Error: class, code, text", the box's details.
    std::string errorDetail() const;

private:
    // message: what failed in words; errorText: the technical detail.
    bool fail(int errorClass, int socketError, std::string errorText, std::string message);

    std::filesystem::path file_;
    DownloadLimits limits_;
    std::string url_;
    std::optional<std::string> proxy_;
    std::filesystem::path caFile_;
    std::string date_;
    int errorClass_ = HttpDownload::kNoError;
    int socketError_ = 0;
    std::string errorText_;
    std::string errorMessage_;
};
