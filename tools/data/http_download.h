#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

// The proxy named by a setting such as "host:port" or "http://host:port/". A setting without
// a colon gives an empty host, which the download refuses.
struct ProxySetting {
    std::string host;
    int port = 0;
};
ProxySetting parseProxySetting(std::string_view setting);

// How long a download may wait and how much it may receive.
struct DownloadLimits {
    std::chrono::milliseconds connectTimeout{10000};
    // The whole exchange after the connection, so that a server trickling bytes ends too.
    std::chrono::milliseconds transferTimeout{30000};
    // Far above the largest table the readers take (800 lines of 254 bytes).
    std::size_t maxBytes = 512 * 1024;
};

// The program's own HTTP/1.0 client: one GET over a plain socket, read until the server closes
// the connection. Every wait is bounded by the limits, and so is the size of the answer.
class HttpDownload {
public:
    // Error classes; the texts say which step failed.
    static constexpr int kNoError = 0;
    static constexpr int kErrorSocket = 1;  // with the socket error code (errno)
    static constexpr int kErrorNoUrl = 2;
    static constexpr int kErrorUrlTooLong = 3;
    static constexpr int kErrorNoProxy = 5;
    static constexpr int kErrorProtocol = 6;
    static constexpr int kErrorHost = 7;
    static constexpr int kErrorPort = 8;
    static constexpr int kErrorTooLarge = 9;

    static constexpr std::size_t kMaxUrlLength = 255;
    static constexpr std::size_t kMaxHostLength = 64;
    static constexpr std::size_t kChunkBytes = 1023;

    using Limits = DownloadLimits;

    explicit HttpDownload(Limits limits = {}) : limits_(limits) {}

    // Sends the following downloads through the proxy.
    void setProxy(const ProxySetting& proxy);

    // GETs the URL ("http://host[:port]/path", the scheme optional). True when the server sent
    // its answer and closed the connection: received() holds the whole answer, header
    // included. Else errorClass(), socketError() and errorText() tell why.
    bool download(std::string_view url);

    const std::string& received() const { return received_; }
    int errorClass() const { return errorClass_; }
    int socketError() const { return socketError_; }
    const std::string& errorText() const { return errorText_; }
    // "Error: class, code, text", the text of the error message box.
    std::string errorMessage() const;

private:
    bool fail(int errorClass, int socketError, std::string text);
    bool exchange(const std::string& host, int port, const std::string& uri,
                  const std::string& urlHost);

    Limits limits_;
    bool useProxy_ = false;
    ProxySetting proxy_;
    std::string received_;
    int errorClass_ = kNoError;
    int socketError_ = 0;
    std::string errorText_;
};
