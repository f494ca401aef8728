#include "http_download.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

using Clock = std::chrono::steady_clock;

std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view kBlanks = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Closes the socket on every way out of the exchange.
class Socket {
public:
    Socket() : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~Socket()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

int remainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(left.count());
}

// Waits until the socket is ready for the events or the deadline passes; the errno code of the
// failure (ETIMEDOUT for the deadline) or 0.
int waitFor(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, remainingMs(deadline));
        if (ready > 0)
            return 0;
        if (ready == 0)
            return ETIMEDOUT;
        if (errno != EINTR)
            return errno;
    }
}

bool resolve(const std::string& host, in_addr& address)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) == 0 && found != nullptr) {
        address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
        ::freeaddrinfo(found);
        return true;
    }
    if (found != nullptr)
        ::freeaddrinfo(found);
    return ::inet_pton(AF_INET, host.c_str(), &address) == 1;
}

// A port is 1 to 65535 written in decimal digits.
bool parsePort(std::string_view text, int& port)
{
    if (text.empty() || text.size() > 5)
        return false;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535)
        return false;
    port = value;
    return true;
}

}  // namespace

ProxySetting parseProxySetting(std::string_view setting)
{
    std::string_view text = trimmed(setting);
    constexpr std::string_view kScheme = "http://";
    if (text.size() >= kScheme.size()) {
        std::string lower(text.substr(0, kScheme.size()));
        for (char& c : lower)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (lower == kScheme)
            text.remove_prefix(kScheme.size());
    }
    ProxySetting proxy;
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return proxy;
    proxy.host = std::string(text.substr(0, std::min(colon, HttpDownload::kMaxHostLength)));
    // atoi: leading digits count, so "3128/" is port 3128.
    proxy.port = std::atoi(std::string(text.substr(colon + 1)).c_str());
    return proxy;
}

void HttpDownload::setProxy(const ProxySetting& proxy)
{
    useProxy_ = true;
    proxy_ = proxy;
}

std::string HttpDownload::errorMessage() const
{
    return "Error: " + std::to_string(errorClass_) + ", " + std::to_string(socketError_) + ", " +
           errorText_;
}

bool HttpDownload::fail(int errorClass, int socketError, std::string text)
{
    errorClass_ = errorClass;
    socketError_ = socketError;
    errorText_ = std::move(text);
    received_.clear();
    return false;
}

bool HttpDownload::download(std::string_view url)
{
    received_.clear();
    errorClass_ = kNoError;
    socketError_ = 0;
    errorText_.clear();
    if (url.empty())
        return fail(kErrorNoUrl, 0, "Error, url is nothing.");
    if (url.size() > kMaxUrlLength)
        return fail(kErrorUrlTooLong, 0, "Error, url too long.");

    // "scheme://host:port/path"; only the part before the first '/' can hold the scheme.
    std::string_view rest = url;
    const std::size_t slash = url.find('/');
    const std::size_t colon = url.find(':');
    if (colon != std::string_view::npos && colon < slash && colon + 1 == slash) {
        if (url.substr(colon, 3) != "://")
            return fail(kErrorProtocol, 0, "Error, proto parse failed.");
        rest = url.substr(colon + 3);
    }
    const std::size_t pathStart = rest.find('/');
    const std::string_view authority = rest.substr(0, pathStart);
    const std::string_view path =
        pathStart == std::string_view::npos ? std::string_view{} : rest.substr(pathStart + 1);
    const std::size_t portStart = authority.find(':');
    const std::string urlHost(authority.substr(0, portStart));
    if (urlHost.empty() || urlHost.size() > kMaxHostLength)
        return fail(kErrorHost, 0, "Error, bad host in URL.");
    int urlPort = 80;
    if (portStart != std::string_view::npos && !parsePort(authority.substr(portStart + 1), urlPort))
        return fail(kErrorPort, 0, "Error, bad port in URL.");

    if (!useProxy_)
        return exchange(urlHost, urlPort, "/" + std::string(path), urlHost);
    if (proxy_.host.empty())
        return fail(kErrorNoProxy, 0, "Error, proxy not specified.");
    if (proxy_.port < 1 || proxy_.port > 65535)
        return fail(kErrorPort, 0, "Error, bad port in URL.");
    const std::string uri = url.find("://") != std::string_view::npos
                                ? std::string(url)
                                : "http://" + std::string(url);
    return exchange(proxy_.host, proxy_.port, uri, urlHost);
}

bool HttpDownload::exchange(const std::string& host, int port, const std::string& uri,
                         const std::string& urlHost)
{
    Socket socket;
    const int fd = socket.fd();
    if (fd < 0)
        return fail(kErrorSocket, errno, "Error when socket.");
    // Closing resets the connection instead of lingering in TIME_WAIT.
    const linger noLinger{1, 0};
    if (::setsockopt(fd, SOL_SOCKET, SO_LINGER, &noLinger, sizeof noLinger) != 0)
        return fail(kErrorSocket, errno, "Error when setsockopt(LINGER).");
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        return fail(kErrorSocket, errno, "Error when bind socket.");
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(static_cast<std::uint16_t>(port));
    if (!resolve(host, server.sin_addr))
        return fail(kErrorHost, 0, "Error when resolve host.");
    // Non-blocking, so that connect, send and receive wait only as long as the limits allow.
    const int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0)
        return fail(kErrorSocket, errno, "Error when select.");

    const auto connectDeadline = Clock::now() + limits_.connectTimeout;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&server), sizeof server) != 0) {
        if (errno != EINPROGRESS)
            return fail(kErrorSocket, errno, "Error when connect.");
        if (const int error = waitFor(fd, POLLOUT, connectDeadline); error != 0)
            return fail(kErrorSocket, error, "Error when connect.");
        int error = 0;
        socklen_t size = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
            error = errno;
        if (error != 0)
            return fail(kErrorSocket, error, "Error when connect.");
    }

    const auto deadline = Clock::now() + limits_.transferTimeout;
    const std::array<std::string, 13> pieces = {
        "GET ",
        uri,
        " HTTP/1.0\r\n",
        "Accept: image/gif, image/x-bitmap, image/jpeg, image/pjpeg, "
        "application/vnd.ms-powerpoint, application/vnd.ms-excel, application/msword, "
        "application/x-comet, */*\r\n",
        "Accept-Language: en\r\n",
        "Accept-Encoding: gzip, deflate\r\n",
        "Cache-Control: no-cache\r\n",
        "Proxy-Connection: Keep-Alive\r\n",
        "User-Agent: Mozilla/4.0 (compatible; MSIE 5.0; Windows NT; DigExt; DTS Agent;)\r\n",
        "Host: ",
        urlHost,
        "\r\n",
        "\r\n",
    };
    for (const std::string& piece : pieces) {
        std::size_t sent = 0;
        while (sent < piece.size()) {
            const ssize_t count =
                ::send(fd, piece.data() + sent, piece.size() - sent, MSG_NOSIGNAL);
            if (count >= 0) {
                sent += static_cast<std::size_t>(count);
                continue;
            }
            if (errno == EINTR)
                continue;
            const int error = errno == EAGAIN || errno == EWOULDBLOCK
                                  ? waitFor(fd, POLLOUT, deadline)
                                  : errno;
            if (error != 0)
                return fail(kErrorSocket, error, "Error when send.");
        }
    }

    std::array<char, kChunkBytes> chunk{};
    for (;;) {
        const ssize_t count = ::recv(fd, chunk.data(), chunk.size(), 0);
        if (count == 0)
            return true;
        if (count > 0) {
            if (received_.size() + static_cast<std::size_t>(count) > limits_.maxBytes)
                return fail(kErrorTooLarge, 0, "Error, answer too large.");
            received_.append(chunk.data(), static_cast<std::size_t>(count));
            continue;
        }
        if (errno == EINTR)
            continue;
        const int error =
            errno == EAGAIN || errno == EWOULDBLOCK ? waitFor(fd, POLLIN, deadline) : errno;
        if (error != 0)
            return fail(kErrorSocket, error, "Error when recieve.");
    }
}
