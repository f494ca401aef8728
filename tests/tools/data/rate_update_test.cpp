#include "rate_update.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "atomic_file.h"
#include "temp_folder.h"
#include "conversion_table.h"

namespace {

using namespace std::chrono_literals;

// A one-connection server on 127.0.0.1 with a port of the system's choice. It reads the request
// up to its empty line, then hands the connection to the answer.
class TestServer {
public:
    using Answer = std::function<void(int fd, const std::atomic<bool>& stop)>;

    explicit TestServer(Answer answer)
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        EXPECT_EQ(::bind(listener_, reinterpret_cast<sockaddr*>(&address), size), 0);
        EXPECT_EQ(::listen(listener_, 1), 0);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this, answer = std::move(answer)] { serve(answer); });
    }
    ~TestServer()
    {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path = "/currency/save.txt") const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    // Valid once the download returned: the client has sent the whole request by then.
    const std::string& request() const { return request_; }

    static Answer sending(std::string bytes)
    {
        return [bytes = std::move(bytes)](int fd, const std::atomic<bool>&) {
            for (std::size_t sent = 0; sent < bytes.size();) {
                const ssize_t count =
                    ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
                if (count <= 0)
                    return;
                sent += static_cast<std::size_t>(count);
            }
        };
    }
    // Sends the bytes, then neither sends nor closes until the client gives up.
    static Answer stalling(std::string bytes)
    {
        return [bytes = std::move(bytes)](int fd, const std::atomic<bool>& stop) {
            sending(bytes)(fd, stop);
            char byte = 0;
            while (!stop && ::recv(fd, &byte, 1, MSG_DONTWAIT) < 0 && errno == EAGAIN)
                std::this_thread::sleep_for(10ms);
        };
    }

private:
    void serve(const Answer& answer)
    {
        pollfd entry{listener_, POLLIN, 0};
        while (!stop_ && ::poll(&entry, 1, 50) == 0) {
        }
        if (stop_)
            return;
        const int fd = ::accept(listener_, nullptr, nullptr);
        if (fd < 0)
            return;
        char chunk[512];
        while (request_.find("\r\n\r\n") == std::string::npos) {
            const ssize_t count = ::recv(fd, chunk, sizeof chunk, 0);
            if (count <= 0)
                break;
            request_.append(chunk, static_cast<std::size_t>(count));
        }
        answer(fd, stop_);
        ::close(fd);
    }

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::string request_;
    std::thread thread_;
};

const std::string kOldFile =
    "#Date: 12/05/2006\n\n#Begin:Currency:0\n\tUSD\tUSD\t!\n\tEuro\tEUR\t1.25000000000\t0\tUSD\n"
    "#End";
const std::string kNewRates =
    "#Date: 2025-01-02\r\n#Begin:Currency:0\r\n\tUSD\tUSD\t!\r\n"
    "\tEuro\tEUR\t1.03594737387\t0\tUSD\r\n\tJapanese_Yen\tJPY\t0.00636132316\t0\tUSD\r\n#End";

// A literal with its NUL bytes kept.
template <std::size_t N>
std::string raw(const char (&text)[N])
{
    return std::string(text, N - 1);
}

std::string ok(const std::string& body) { return "HTTP/1.0 200 OK\r\nServer: t\r\n\r\n" + body; }

struct UpdateFolder {
    TempFolder folder;
    std::filesystem::path file = folder.path() / currency::kFileName;
    UpdateFolder() { EXPECT_TRUE(writeFileAtomically(file, kOldFile)); }
    std::string contents() const
    {
        std::string bytes;
        EXPECT_TRUE(readWholeFile(file, bytes));
        return bytes;
    }
};

DownloadLimits quickLimits()
{
    DownloadLimits limits;
    limits.connectTimeout = 2000ms;
    limits.transferTimeout = 300ms;
    limits.maxBytes = 64 * 1024;
    return limits;
}

TEST(RateUpdate, GoodAnswerReplacesTheFileFromItsDateLineOn)
{
    UpdateFolder folder;
    TestServer server(TestServer::sending(ok("preamble text\n" + kNewRates)));
    RateUpdate update(folder.file, quickLimits());
    update.setUrl(server.url());
    ASSERT_TRUE(update.run(std::nullopt)) << update.errorMessage();
    EXPECT_EQ(folder.contents(), kNewRates);
    EXPECT_EQ(currency::dateOf(folder.file), "2025-01-02");
    EXPECT_TRUE(server.request().starts_with("GET /currency/save.txt HTTP/1.0\r\n"));
    EXPECT_NE(server.request().find("\r\nHost: 127.0.0.1\r\n"), std::string::npos);

    ConversionTable table;
    ASSERT_TRUE(table.load(folder.file));
    const auto yen = table.convert(u"USD", u"JPY");
    ASSERT_TRUE(yen);
    EXPECT_NEAR(yen->multiplier, 157.2, 1e-6);
}

struct HostileCase {
    const char* name;
    std::string answer;
    int errorClass;
    const char* text;
};

TEST(RateUpdate, HostileAnswersKeepTheOldFileAndSayWhy)
{
    const std::string longName(300, 'x');
    const std::vector<HostileCase> cases = {
        {"not found", "HTTP/1.0 404 Not Found\r\n\r\n" + kNewRates, 10,
         "Error, server answered 404."},
        {"closed at once", "", 10, "Error, empty answer."},
        {"garbage", raw("\x1f\x8b\x08\0\xff\xfe junk\n\n") + kNewRates, 10,
         "Error, not an HTTP answer."},
        {"header cut short", "HTTP/1.0 200 OK\r\nContent-Ty", 11, "Error, answer cut short."},
        {"body cut short", ok(kNewRates.substr(0, kNewRates.size() - 20)), 11,
         "Error, answer cut short."},
        {"cut after a line", ok(kNewRates.substr(0, kNewRates.size() - 4)), 11,
         "Error, answer cut short."},
        {"length too long",
         "HTTP/1.0 200 OK\r\nContent-Length: 9999\r\n\r\n" + kNewRates, 11,
         "Error, answer cut short."},
        {"length too short", "HTTP/1.0 200 OK\r\ncontent-length: 10\r\n\r\n" + kNewRates, 11,
         "Error, answer longer than its Content-Length."},
        {"length not a number", "HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\n" + kNewRates,
         11, "Error, bad Content-Length."},
        {"no date", ok("<html>Moved</html>"), 12, "Error, no currency rates in answer."},
        {"over-long line",
         ok("#Date: x\n#Begin:Currency:0\n\tUSD\tUSD\t!\n\t" + longName + "\tXX\t1\t0\tUSD\n#End"),
         12, "Error, bad currency rates on line 4."},
        {"binary in a record",
         ok(raw("#Date: x\n#Begin:Currency:0\n\tUSD\tUSD\t!\n\tE\tEUR\t1\0\t0\tUSD\n#End")),
         12, "Error, bad currency rates on line 4."},
        {"negative rate",
         ok("#Date: x\n#Begin:Currency:0\n\tUSD\tUSD\t!\n\tE\tEUR\t-1\t0\tUSD\n#End"), 12,
         "Error, bad currency rates on line 4."},
        {"not defined on USD",
         ok("#Date: x\n#Begin:Currency:0\n\tUSD\tUSD\t!\n\tE\tEUR\t1\t0\tGBP\n#End"), 12,
         "Error, bad currency rates on line 4."},
        {"second category",
         ok("#Date: x\n#Begin:Currency:0\n\tUSD\tUSD\t!\n\tE\tEUR\t1\t0\tUSD\n#End\n"
            "#Begin:More:0\n#End"),
         12, "Error, bad currency rates on line 6."},
        {"no USD", ok("#Date: x\n#Begin:Currency:0\n\tE\tEUR\t1\t0\tUSD\n#End"), 12,
         "Error, no currency rates in answer."},
        {"too large", ok(std::string(200 * 1024, 'a')), 9, "Error, answer too large."},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateFolder folder;
        TestServer server(TestServer::sending(c.answer));
        RateUpdate update(folder.file, quickLimits());
        update.setUrl(server.url());
        EXPECT_FALSE(update.run(std::nullopt));
        EXPECT_EQ(update.errorClass(), c.errorClass);
        EXPECT_EQ(update.errorText(), c.text);
        EXPECT_EQ(folder.contents(), kOldFile);
        EXPECT_FALSE(std::filesystem::exists(folder.file.string() + ".tmp"));
    }
}

TEST(RateUpdate, StalledServerTimesOutAndKeepsTheOldFile)
{
    for (const std::string& sent : {std::string(), std::string("HTTP/1.0 200 OK\r\n")}) {
        UpdateFolder folder;
        TestServer server(TestServer::stalling(sent));
        RateUpdate update(folder.file, quickLimits());
        update.setUrl(server.url());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(update.run(std::nullopt));
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
        EXPECT_EQ(update.errorMessage(), "Error: 1, " + std::to_string(ETIMEDOUT) +
                                             ", Error when recieve.");
        EXPECT_EQ(folder.contents(), kOldFile);
    }
}

TEST(RateUpdate, ProxyGetsTheWholeUrlAndTheUrlHost)
{
    for (const char* form : {"127.0.0.1:", "http://127.0.0.1:"}) {
        UpdateFolder folder;
        TestServer proxy(TestServer::sending(ok(kNewRates)));
        RateUpdate update(folder.file, quickLimits());
        // The URL's host is never resolved: the connection goes to the proxy.
        update.setUrl("rates.example.invalid/currency/save.txt");
        const std::string setting = form + std::to_string(proxy.port()) + "/";
        ASSERT_TRUE(update.run(setting)) << update.errorMessage();
        EXPECT_TRUE(proxy.request().starts_with(
            "GET http://rates.example.invalid/currency/save.txt HTTP/1.0\r\n"));
        EXPECT_NE(proxy.request().find("\r\nHost: rates.example.invalid\r\n"),
                  std::string::npos);
        EXPECT_EQ(folder.contents(), kNewRates);
    }
}

TEST(ProxySetting, ParsesHostAndPort)
{
    struct Case {
        const char* setting;
        const char* host;
        int port;
    };
    const Case cases[] = {
        {"proxy.lan:8080", "proxy.lan", 8080},  {"  http://proxy.lan:3128/ \n", "proxy.lan", 3128},
        {"HTTP://10.0.0.1:80", "10.0.0.1", 80}, {"proxy.lan", "", 0},
        {"", "", 0},                            {"proxy.lan:", "proxy.lan", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        const ProxySetting proxy = parseProxySetting(c.setting);
        EXPECT_EQ(proxy.host, c.host);
        EXPECT_EQ(proxy.port, c.port);
    }
}

TEST(HttpDownload, RefusesBadUrlsAndProxiesBeforeConnecting)
{
    struct Case {
        std::string url;
        std::optional<std::string> proxy;
        int errorClass;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"", std::nullopt, 2, "Error, url is nothing."},
        {"http://h/" + std::string(250, 'p'), std::nullopt, 3, "Error, url too long."},
        {"http:/h/p", std::nullopt, 6, "Error, proto parse failed."},
        {"http:///p", std::nullopt, 7, "Error, bad host in URL."},
        {"h:99999/p", std::nullopt, 8, "Error, bad port in URL."},
        {"h:8x/p", std::nullopt, 8, "Error, bad port in URL."},
        {"h/p", "proxyhost", 5, "Error, proxy not specified."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        HttpDownload download(quickLimits());
        if (c.proxy)
            download.setProxy(parseProxySetting(*c.proxy));
        EXPECT_FALSE(download.download(c.url));
        EXPECT_EQ(download.errorClass(), c.errorClass);
        EXPECT_EQ(download.errorText(), c.text);
        EXPECT_EQ(download.socketError(), 0);
    }
}

TEST(HttpDownload, RefusedConnectionReportsTheSocketError)
{
    int port = 0;
    {
        TestServer server(TestServer::sending(""));
        port = server.port();
        HttpDownload first(quickLimits());
        EXPECT_TRUE(first.download("127.0.0.1:" + std::to_string(port) + "/"));
    }
    HttpDownload download(quickLimits());
    EXPECT_FALSE(download.download("127.0.0.1:" + std::to_string(port) + "/"));
    EXPECT_EQ(download.errorMessage(),
              "Error: 1, " + std::to_string(ECONNREFUSED) + ", Error when connect.");
}

TEST(CurrencyTable, RateTextAndEditedRates)
{
    EXPECT_EQ(currency::rateText(0.5), "2.000000000000");
    EXPECT_EQ(currency::rateText(1.0 / 157.2), "157.2000000000");
    EXPECT_EQ(currency::rateText(0.0), "0.000000000000");
    EXPECT_EQ(currency::rateText(-3.0), "0.000000000000");

    struct Case {
        const char* text;
        double factor;  // 7 when the record stays unchanged
    };
    const Case cases[] = {{"2", 0.5},   {"  4xyz", 0.25}, {"0", 7},      {"-2", 7},
                          {"text", 7},  {"", 7},          {"1e-300", 7}, {"+8", 0.125}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        UnitRecord record;
        record.factor = 7;
        EXPECT_EQ(currency::takeRate(record, c.text), c.factor != 7);
        EXPECT_DOUBLE_EQ(record.factor, c.factor);
    }
}

TEST(CurrencyTable, SaveKeepsTheDateLineAndReadsBack)
{
    UpdateFolder folder;
    std::vector<UnitRecord> records(3);
    records[0].name = records[0].symbol = u"USD";
    records[1].name = u"Euro";
    records[1].symbol = u"EUR";
    records[1].factor = 0.5;
    records[1].numerator = {u"USD"};
    records[2].name = u"Hong Kong Dollar";
    records[2].symbol = u"HK D";
    records[2].factor = 0.128;
    records[2].numerator = {u"USD"};
    ASSERT_TRUE(currency::saveTable(folder.file, records));
    EXPECT_EQ(folder.contents(),
              "#Date: 12/05/2006\n\n#Begin:Currency:0\n\tUSD\tUSD\t!\n"
              "\tEuro\tEUR\t0.50000000000\t0\tUSD\n"
              "\tHong_Kong_Dollar\tHK_D\t0.12800000000\t0\tUSD\n#End");
    EXPECT_EQ(currency::dateOf(folder.file), "12/05/2006");

    ConversionTable table;
    ASSERT_TRUE(table.load(folder.file));
    const auto euro = table.convert(u"EUR", u"USD");
    ASSERT_TRUE(euro);
    EXPECT_DOUBLE_EQ(euro->multiplier, 0.5);
}

TEST(CurrencyTable, DateLine)
{
    const std::pair<std::string, std::string> cases[] = {
        {"#Date: 12/05/2006\r\n#Begin", "12/05/2006"},
        {"#Date: 2025-01-02  \t", "2025-01-02"},
        {"# :Date:#  7 May\n", "7 May"},
        {"", ""},
    };
    for (const auto& [text, date] : cases) {
        SCOPED_TRACE(text);
        TempFolder folder;
        const auto file = folder.path() / currency::kFileName;
        ASSERT_TRUE(writeFileAtomically(file, text));
        EXPECT_EQ(currency::dateOf(file), date);
    }
    EXPECT_EQ(currency::dateOf("/nonexistent/currency.dat"), "");
}

TEST(CurrencyTable, ShippedFileIsAValidAnswerAndLoads)
{
    const auto shipped =
        std::filesystem::path(CORVAN_SOURCE_DATA_DIR) / "currency.dat";
    std::string bytes;
    ASSERT_TRUE(readWholeFile(shipped, bytes));
    int errorClass = 0;
    std::string errorText;
    EXPECT_TRUE(RateUpdate::ratesFromAnswer(ok(bytes), errorClass, errorText)) << errorText;

    ConversionTable table;
    ASSERT_TRUE(table.load(shipped)) << table.errorCode();
    ASSERT_GE(table.count(), 30);
    EXPECT_EQ(table.units()[0].symbol, u"USD");
    const auto euro = table.convert(u"EUR", u"USD");
    ASSERT_TRUE(euro);
    EXPECT_GT(euro->multiplier, 0.8);
    EXPECT_LT(euro->multiplier, 1.5);
}

}  // namespace
