#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// How long a download may wait and how much it may receive.
struct DownloadLimits {
    std::chrono::milliseconds connectTimeout{10000};
    // The whole exchange, connection included, so that a server trickling bytes ends too.
    std::chrono::milliseconds totalTimeout{30000};
    // The decoded answer; far above the largest table the readers take (800 lines of 254 bytes).
    std::size_t maxBytes = 512 * 1024;
    long maxRedirects = 5;
};

// One HTTP or HTTPS GET through libcurl: certificate checks, redirects, gzip and deflate
// decoding, the proxy from http_proxy / https_proxy as other programs read it, connect and
// total timeouts and a size cap. A failure is told in plain words (errorMessage) and in its
// technical detail ("Error: class, code, text").
class HttpDownload {
public:
    static constexpr int kNoError = 0;
    static constexpr int kErrorSocket = 1;  // with the system's error code (errno)
    static constexpr int kErrorNoUrl = 2;
    static constexpr int kErrorUrlTooLong = 3;
    static constexpr int kErrorNoProxy = 5;
    static constexpr int kErrorProtocol = 6;
    static constexpr int kErrorHost = 7;
    static constexpr int kErrorPort = 8;
    static constexpr int kErrorTooLarge = 9;
    static constexpr int kErrorAnswer = 10;      // no answer, not HTTP, or not status 200
    static constexpr int kErrorIncomplete = 11;  // cut short
    static constexpr int kErrorCancelled = 14;
    static constexpr int kErrorSecurity = 15;  // the secure connection could not be trusted

    static constexpr std::size_t kMaxUrlLength = 255;
    static constexpr std::size_t kMaxHostLength = 64;

    // received and expected (0 when the server did not say) bytes so far.
    using Progress = std::function<void(std::size_t received, std::size_t expected)>;

    explicit HttpDownload(DownloadLimits limits = {}) : limits_(limits) {}

    // Without a call the proxy comes from the environment; "" goes direct; else "host:port".
    void setProxy(std::optional<std::string> proxy) { proxy_ = std::move(proxy); }
    // Certificates to trust instead of the system's; tests trust their own this way.
    void setCaFile(std::filesystem::path file) { caFile_ = std::move(file); }
    // Ends the transfer within about a tenth of a second once *cancel turns true.
    void setCancelFlag(const std::atomic<bool>* cancel) { cancel_ = cancel; }
    // Called on the downloading thread as bytes arrive.
    void setProgress(Progress progress) { progress_ = std::move(progress); }

    // GETs the URL ("https://host[:port]/path"; without a scheme, http). True when the server
    // answered 200 with a whole answer: received() holds its body, decoded. Else errorClass(),
    // socketError() and errorText() tell why.
    bool download(std::string_view url);

    const std::string& received() const { return received_; }
    int errorClass() const { return errorClass_; }
    int socketError() const { return socketError_; }
    const std::string& errorText() const { return errorText_; }
    // What failed, in words for the user ("Could not connect to example.org.").
    std::string errorMessage() const;
    // "Error: class, code, text", for a details box.
    std::string errorDetail() const;

    // The checks made before connecting: class and text of the first URL fault, or kNoError.
    static int checkUrl(std::string_view url, std::string& errorText);

private:
    bool fail(int errorClass, int socketError, std::string text);

    DownloadLimits limits_;
    std::optional<std::string> proxy_;
    std::filesystem::path caFile_;
    const std::atomic<bool>* cancel_ = nullptr;
    Progress progress_;
    std::string received_;
    long status_ = 0;
    int errorClass_ = kNoError;
    int socketError_ = 0;
    std::string errorText_;
    std::string host_;
    bool urlChecked_ = false;
    bool connected_ = false;
};
