#pragma once

// Servers for the rate update's tests, on 127.0.0.1 with a port of the system's choice. Each
// stops by itself when the test ends: every wait is bounded, and the destructor ends it.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A plain HTTP server: one connection at a time, each request read up to its empty line and
// the connection handed to the answer.
class TestHttpServer {
public:
    // fd is the connection, request what the client sent, stop true once the server ends.
    using Answer = std::function<void(int fd, const std::string& request, const std::atomic<bool>& stop)>;

    explicit TestHttpServer(Answer answer)
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) == 0 && ::listen(listener_, 8) == 0 &&
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) == 0)
            port_ = ntohs(address.sin_port);
        thread_ = std::thread([this, answer = std::move(answer)] { serve(answer); });
    }
    ~TestHttpServer()
    {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path = "/rates") const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    std::vector<std::string> requests() const
    {
        std::lock_guard lock(mutex_);
        return requests_;
    }

    // Sends every byte (as far as the client takes them), then closes.
    static bool sendAll(int fd, const std::string& bytes)
    {
        for (std::size_t sent = 0; sent < bytes.size();) {
            const ssize_t count = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (count <= 0)
                return false;
            sent += static_cast<std::size_t>(count);
        }
        return true;
    }
    static Answer sending(std::string bytes)
    {
        return [bytes = std::move(bytes)](int fd, const std::string&, const std::atomic<bool>&) { sendAll(fd, bytes); };
    }
    // Sends the bytes, then neither sends nor closes until the client goes or the server ends.
    static Answer holding(std::string bytes)
    {
        return [bytes = std::move(bytes)](int fd, const std::string&, const std::atomic<bool>& stop) {
            sendAll(fd, bytes);
            waitForClose(fd, stop);
        };
    }
    // A 200 answer of `total` bytes without a length, sent until the client stops taking them.
    static Answer streaming(std::size_t total)
    {
        return [total](int fd, const std::string&, const std::atomic<bool>& stop) {
            if (!sendAll(fd, "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n"))
                return;
            const std::string chunk(64 * 1024, 'x');
            for (std::size_t sent = 0; sent < total && !stop; sent += chunk.size())
                if (!sendAll(fd, chunk))
                    return;
        };
    }
    static void waitForClose(int fd, const std::atomic<bool>& stop)
    {
        char byte = 0;
        while (!stop) {
            pollfd entry{fd, POLLIN, 0};
            if (::poll(&entry, 1, 20) > 0 && ::recv(fd, &byte, 1, MSG_DONTWAIT) <= 0)
                return;
        }
    }

    // "HTTP/1.1 <status>" with the headers (each ending "\r\n") and the body.
    static std::string answer(const std::string& status, const std::string& headers, const std::string& body)
    {
        return "HTTP/1.1 " + status + "\r\n" + headers + "Connection: close\r\n\r\n" + body;
    }
    static std::string ok(const std::string& body, const std::string& type = "text/plain")
    {
        return answer("200 OK", "Content-Type: " + type + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n",
                      body);
    }

private:
    void serve(const Answer& answer)
    {
        while (!stop_) {
            pollfd entry{listener_, POLLIN, 0};
            if (::poll(&entry, 1, 20) <= 0)
                continue;
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            std::string request;
            char chunk[1024];
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (request.find("\r\n\r\n") == std::string::npos && !stop_ &&
                   std::chrono::steady_clock::now() < deadline) {
                pollfd client{fd, POLLIN, 0};
                if (::poll(&client, 1, 20) <= 0)
                    continue;
                const ssize_t count = ::recv(fd, chunk, sizeof chunk, 0);
                if (count <= 0)
                    break;
                request.append(chunk, static_cast<std::size_t>(count));
            }
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(request);
            }
            answer(fd, request, stop_);
            ::close(fd);
        }
    }

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// An HTTPS server: `openssl s_server -WWW` serving the files of a folder with a certificate for
// 127.0.0.1 that the test makes and trusts for this run only (certificateFile()).
class TestHttpsServer {
public:
    explicit TestHttpsServer(std::filesystem::path folder) : folder_(std::move(folder))
    {
        const std::string key = (folder_ / "test-key.pem").string();
        const std::string certificate = certificateFile().string();
        const std::string make = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout '" +
                                 key + "' -out '" + certificate +
                                 "' -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -days 2 >/dev/null 2>&1";
        if (std::system(make.c_str()) != 0)
            return;
        int output[2];
        if (::pipe(output) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(output[1], STDOUT_FILENO);
            ::close(output[0]);
            const int quiet = ::open("/dev/null", O_WRONLY);
            ::dup2(quiet, STDERR_FILENO);
            if (::chdir(folder_.c_str()) != 0)
                ::_exit(127);
            ::execlp("openssl", "openssl", "s_server", "-accept", "127.0.0.1:0", "-cert", certificate.c_str(), "-key",
                     key.c_str(), "-WWW", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(output[1]);
        // "ACCEPT 127.0.0.1:PORT" tells the port.
        std::string said;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (said.find("ACCEPT") == std::string::npos || said.find('\n', said.find("ACCEPT")) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline)
                break;
            pollfd entry{output[0], POLLIN, 0};
            if (::poll(&entry, 1, 50) <= 0)
                continue;
            char chunk[256];
            const ssize_t count = ::read(output[0], chunk, sizeof chunk);
            if (count <= 0)
                break;
            said.append(chunk, static_cast<std::size_t>(count));
        }
        output_ = output[0];  // kept open: the server goes on writing a line per request
        const std::size_t accept = said.find("ACCEPT");
        if (accept != std::string::npos) {
            const std::size_t colon = said.find_last_of(':', said.find('\n', accept));
            port_ = std::atoi(said.c_str() + colon + 1);
        }
    }
    ~TestHttpsServer()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        if (output_ >= 0)
            ::close(output_);
    }
    TestHttpsServer(const TestHttpsServer&) = delete;
    TestHttpsServer& operator=(const TestHttpsServer&) = delete;

    int port() const { return port_; }
    std::filesystem::path certificateFile() const { return folder_ / "test-certificate.pem"; }
    // The URL of a file in the folder.
    std::string url(const std::string& name) const { return "https://127.0.0.1:" + std::to_string(port_) + "/" + name; }

private:
    std::filesystem::path folder_;
    pid_t pid_ = -1;
    int output_ = -1;
    int port_ = 0;
};
