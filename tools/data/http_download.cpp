#include "http_download.h"

#include <curl/curl.h>

#include <cerrno>
#include <memory>
#include <mutex>

#include "ascii.h"

namespace {

// A port is 1 to 65535 written in decimal digits.
bool validPort(std::string_view text)
{
    if (text.empty() || text.size() > 5)
        return false;
    int value = 0;
    for (const char c : text) {
        if (!ascii::isDigit(c))
            return false;
        value = value * 10 + (c - '0');
    }
    return value >= 1 && value <= 65535;
}

// The "host" of "scheme://host:port/path", or of "host:port/path".
std::string_view hostOf(std::string_view url)
{
    std::string_view rest = url;
    if (const std::size_t scheme = url.find("://"); scheme != std::string_view::npos && scheme < url.find('/'))
        rest = url.substr(scheme + 3);
    const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    return authority.substr(0, authority.find(':'));
}

void initialiseCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

// What the callbacks see while the transfer runs.
struct Transfer {
    std::string* body = nullptr;
    std::size_t maxBytes = 0;
    bool tooLarge = false;
    std::size_t expected = 0;
    const HttpDownload::Progress* progress = nullptr;
    const std::atomic<bool>* cancel = nullptr;
};

std::size_t takeBytes(char* data, std::size_t size, std::size_t count, void* user)
{
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    if (bytes > transfer.maxBytes - transfer.body->size()) {
        transfer.tooLarge = true;
        return 0;  // ends the transfer with CURLE_WRITE_ERROR
    }
    transfer.body->append(data, bytes);
    if (*transfer.progress)
        (*transfer.progress)(transfer.body->size(), transfer.expected);
    return bytes;
}

int progressed(void* user, curl_off_t total, curl_off_t, curl_off_t, curl_off_t)
{
    auto& transfer = *static_cast<Transfer*>(user);
    if (total > 0)
        transfer.expected = static_cast<std::size_t>(total);
    return transfer.cancel != nullptr && transfer.cancel->load() ? 1 : 0;
}

}  // namespace

std::string HttpDownload::errorMessage() const
{
    switch (errorClass_) {
    case kNoError: return {};
    case kErrorNoUrl: return "No address to download the rates from.";
    case kErrorUrlTooLong: return "The address is longer than " + std::to_string(kMaxUrlLength) + " characters.";
    case kErrorNoProxy: return "The proxy must be given as host:port.";
    case kErrorProtocol: return "The address must start with http:// or https://.";
    case kErrorHost:
        return urlChecked_ ? "Could not find the server " + host_ + "." : "The address has no valid server name.";
    case kErrorPort: return "The port in the address must be a number from 1 to 65535.";
    case kErrorSocket:
        if (socketError_ == ENOMEM)
            return "There is not enough memory for the download.";
        if (!connected_)
            return "Could not connect to " + host_ + ".";
        return socketError_ == ETIMEDOUT ? host_ + " stopped answering." : "The connection to " + host_ + " broke off.";
    case kErrorTooLarge: return "The answer is too large to be a rate table.";
    case kErrorAnswer:
        if (status_ != 0 && status_ != 200)
            return "The server answered " + std::to_string(status_) + ".";
        return host_ + " did not send a usable answer.";
    case kErrorIncomplete: return "The answer was cut short.";
    case kErrorCancelled: return "Update cancelled.";
    case kErrorSecurity: return "The certificate of " + host_ + " is not trusted.";
    default: return "The download failed.";
    }
}

std::string HttpDownload::errorDetail() const
{
    return "Error: " + std::to_string(errorClass_) + ", " + std::to_string(socketError_) + ", " + errorText_;
}

bool HttpDownload::fail(int errorClass, int socketError, std::string text)
{
    errorClass_ = errorClass;
    socketError_ = socketError;
    errorText_ = std::move(text);
    received_.clear();
    return false;
}

int HttpDownload::checkUrl(std::string_view url, std::string& errorText)
{
    if (url.empty()) {
        errorText = "Error, url is nothing.";
        return kErrorNoUrl;
    }
    if (url.size() > kMaxUrlLength) {
        errorText = "Error, url too long.";
        return kErrorUrlTooLong;
    }
    // "scheme://host:port/path"; only the part before the first '/' can hold the scheme.
    std::string_view rest = url;
    const std::size_t slash = url.find('/');
    const std::size_t colon = url.find(':');
    if (colon != std::string_view::npos && colon < slash && colon + 1 == slash) {
        const std::string scheme = ascii::lower(url.substr(0, colon));
        if (url.substr(colon, 3) != "://" || (scheme != "http" && scheme != "https")) {
            errorText = "Error, proto parse failed.";
            return kErrorProtocol;
        }
        rest = url.substr(colon + 3);
    }
    const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    const std::size_t portStart = authority.find(':');
    const std::string_view host = authority.substr(0, portStart);
    if (host.empty() || host.size() > kMaxHostLength || host.find_first_of(" \t\r\n@[]\\") != std::string_view::npos) {
        errorText = "Error, bad host in URL.";
        return kErrorHost;
    }
    if (portStart != std::string_view::npos && !validPort(authority.substr(portStart + 1))) {
        errorText = "Error, bad port in URL.";
        return kErrorPort;
    }
    return kNoError;
}

bool HttpDownload::download(std::string_view url)
{
    received_.clear();
    status_ = 0;
    errorClass_ = kNoError;
    socketError_ = 0;
    errorText_.clear();
    host_ = hostOf(url);
    urlChecked_ = false;
    connected_ = false;
    std::string text;
    if (const int errorClass = checkUrl(url, text); errorClass != kNoError)
        return fail(errorClass, 0, std::move(text));
    urlChecked_ = true;
    if (proxy_ && !proxy_->empty() && proxy_->find(':') == std::string::npos)
        return fail(kErrorNoProxy, 0, "Error, proxy not specified.");

    initialiseCurl();
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi)
        return fail(kErrorSocket, ENOMEM, "Error when memory alloc.");

    Transfer transfer;
    transfer.body = &received_;
    transfer.maxBytes = limits_.maxBytes;
    transfer.progress = &progress_;
    transfer.cancel = cancel_;

    CURL* handle = easy.get();
    const std::string urlText(url);
    curl_easy_setopt(handle, CURLOPT_URL, urlText.c_str());
    curl_easy_setopt(handle, CURLOPT_DEFAULT_PROTOCOL, "http");
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, limits_.maxRedirects);
    curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, "");  // every decoding libcurl has
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, "Corvan rate update");
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits_.connectTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(limits_.totalTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits_.maxBytes));
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    const std::string caFile = caFile_.string();
    if (!caFile.empty())
        curl_easy_setopt(handle, CURLOPT_CAINFO, caFile.c_str());
    if (proxy_)
        curl_easy_setopt(handle, CURLOPT_PROXY, proxy_->c_str());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, takeBytes);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, progressed);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);

    // The multi interface waits at most a tenth of a second at a time, so a cancel is seen at
    // once even while the server says nothing.
    curl_multi_add_handle(multi.get(), handle);
    CURLcode result = CURLE_OK;
    bool cancelled = false;
    for (int running = 1; running != 0;) {
        if (cancel_ != nullptr && cancel_->load()) {
            cancelled = true;
            break;
        }
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            result = CURLE_OUT_OF_MEMORY;
            break;
        }
        if (running != 0)
            curl_multi_poll(multi.get(), nullptr, 0, 100, nullptr);
    }
    int pending = 0;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &pending)) {
        if (message->msg == CURLMSG_DONE)
            result = message->data.result;
    }
    long osError = 0;
    curl_easy_getinfo(handle, CURLINFO_OS_ERRNO, &osError);
    // The address is known once a connection was made.
    char* address = nullptr;
    curl_easy_getinfo(handle, CURLINFO_PRIMARY_IP, &address);
    connected_ = address != nullptr && address[0] != '\0';
    const bool connected = connected_;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status_);
    curl_multi_remove_handle(multi.get(), handle);

    if (cancelled || result == CURLE_ABORTED_BY_CALLBACK)
        return fail(kErrorCancelled, 0, "Update cancelled.");
    const int code = static_cast<int>(osError);
    switch (result) {
    case CURLE_OK: break;
    case CURLE_UNSUPPORTED_PROTOCOL:
        // Once connected, it is an answer without an HTTP status line (taken for HTTP/0.9).
        if (connected)
            return fail(kErrorAnswer, 0, "Error, not an HTTP answer.");
        return fail(kErrorProtocol, 0, "Error, proto parse failed.");
    case CURLE_URL_MALFORMAT: return fail(kErrorHost, 0, "Error, bad host in URL.");
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST: return fail(kErrorHost, code, "Error when resolve host.");
    case CURLE_COULDNT_CONNECT: return fail(kErrorSocket, code != 0 ? code : ECONNREFUSED, "Error when connect.");
    case CURLE_OPERATION_TIMEDOUT:
        return fail(kErrorSocket, ETIMEDOUT, connected ? "Error when receive." : "Error when connect.");
    case CURLE_SEND_ERROR: return fail(kErrorSocket, code, "Error when send.");
    case CURLE_RECV_ERROR: return fail(kErrorSocket, code, "Error when receive.");
    case CURLE_OUT_OF_MEMORY: return fail(kErrorSocket, ENOMEM, "Error when memory alloc.");
    case CURLE_FILESIZE_EXCEEDED: return fail(kErrorTooLarge, 0, "Error, answer too large.");
    case CURLE_WRITE_ERROR:
        if (transfer.tooLarge)
            return fail(kErrorTooLarge, 0, "Error, answer too large.");
        return fail(kErrorSocket, code, "Error when receive.");
    case CURLE_PARTIAL_FILE: return fail(kErrorIncomplete, 0, "Error, answer cut short.");
    case CURLE_BAD_CONTENT_ENCODING: return fail(kErrorAnswer, 0, "Error, bad compressed answer.");
    case CURLE_GOT_NOTHING: return fail(kErrorAnswer, 0, "Error, empty answer.");
    case CURLE_TOO_MANY_REDIRECTS: return fail(kErrorAnswer, 0, "Error, too many redirects.");
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_HTTP2:
    case CURLE_HTTP3: return fail(kErrorAnswer, 0, "Error, not an HTTP answer.");
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_USE_SSL_FAILED: return fail(kErrorSecurity, 0, "Error, the server's certificate is not trusted.");
    default: return fail(kErrorSocket, code, std::string("Error, ") + curl_easy_strerror(result) + ".");
    }
    if (status_ != 200) {
        return fail(kErrorAnswer, 0,
                    status_ == 0 ? std::string("Error, not an HTTP answer.")
                                 : "Error, server answered " + std::to_string(status_) + ".");
    }
    if (received_.empty())
        return fail(kErrorAnswer, 0, "Error, empty answer.");
    return true;
}
