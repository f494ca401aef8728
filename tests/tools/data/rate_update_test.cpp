#include "rate_update.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "atomic_file.h"
#include "conversion_table.h"
#include "ecb_rates.h"
#include "temp_folder.h"
#include "test_http_server.h"

namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

const std::string kOldFile =
    "#Date: 12/05/2006\n\n#Begin:Currency:0\n\tUSD\tUSD\t!\n\tEuro\tEUR\t1.25000000000\t0\tUSD\n"
    "#End";
const std::string kNewRates =
    "#Date: 2025-01-02\r\n#Begin:Currency:0\r\n\tUSD\tUSD\t!\r\n"
    "\tEuro\tEUR\t1.03594737387\t0\tUSD\r\n\tJapanese_Yen\tJPY\t0.00636132316\t0\tUSD\r\n#End";

// The shape of the European Central Bank's eurofxref-daily.xml, with fewer currencies.
const std::string kEcbDocument =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
    "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\">\n"
    "\t<gesmes:subject>Reference rates</gesmes:subject>\n"
    "\t<gesmes:Sender>\n\t\t<gesmes:name>European Central Bank</gesmes:name>\n\t</gesmes:Sender>\n"
    "\t<Cube>\n"
    "\t\t<Cube time='2026-02-17'>\n"
    "\t\t\t<Cube currency='USD' rate='1.25'/>\n"
    "\t\t\t<Cube currency='JPY' rate='160'/>\n"
    "\t\t\t<Cube currency='GBP' rate='0.8'/>\n"
    "\t\t\t<Cube currency='IDR' rate='17000.5'/>\n"
    "\t\t</Cube>\n"
    "\t</Cube>\n"
    "</gesmes:Envelope>";

// What kEcbDocument becomes: the euro as base, each factor 1 / rate.
const std::string kEcbTable =
    "#Date: 2026-02-17\n\n#Begin:Currency:0\n"
    "\tEuro\tEUR\t!\n"
    "\tUS_Dollar\tUSD\t0.8\t0\tEUR\n"
    "\tJapanese_Yen\tJPY\t0.00625\t0\tEUR\n"
    "\tBritish_Pound\tGBP\t1.25\t0\tEUR\n"
    "\tIndonesian_Rupiah\tIDR\t0.00005882179935884239\t0\tEUR\n"
    "#End";

std::string readRepro(const char* name)
{
    std::string bytes;
    EXPECT_TRUE(readWholeFile(std::filesystem::path(CORVAN_TEST_DATA_DIR) / "repro" / name, bytes)) << name;
    return bytes;
}

std::string gzipped(const std::string& bytes)
{
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&stream, bytes.size()) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

std::string randomBytes(std::size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

// A program folder holding the old currency.dat.
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
    // Nothing but currency.dat: no temporary file left behind.
    std::vector<std::string> names() const
    {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            found.push_back(entry.path().filename().string());
        return found;
    }
};

DownloadLimits quickLimits()
{
    DownloadLimits limits;
    limits.connectTimeout = 2000ms;
    limits.totalTimeout = 700ms;
    limits.maxBytes = 64 * 1024;
    return limits;
}

RateUpdate directUpdate(const UpdateFolder& folder, const std::string& url)
{
    RateUpdate update(folder.file, quickLimits());
    update.setUrl(url);
    update.setProxy(std::string());  // direct, whatever the environment says
    return update;
}

TEST(RateUpdate, EcbAnswerBecomesACurrencyTableWithTheEuroAsBase)
{
    UpdateFolder folder;
    TestHttpServer server(TestHttpServer::sending(TestHttpServer::ok(kEcbDocument, "text/xml")));
    RateUpdate update = directUpdate(folder, server.url("/stats/eurofxref/eurofxref-daily.xml"));
    ASSERT_TRUE(update.run()) << update.errorMessage();
    EXPECT_EQ(folder.contents(), kEcbTable);
    EXPECT_EQ(update.date(), "2026-02-17");
    EXPECT_EQ(currency::dateOf(folder.file), "2026-02-17");
    EXPECT_TRUE(server.requests().at(0).starts_with("GET /stats/eurofxref/eurofxref-daily.xml HTTP/1.1\r\n"));

    ConversionTable table;
    ASSERT_TRUE(table.load(folder.file));
    ASSERT_EQ(table.count(), 5);
    EXPECT_EQ(table.units()[0].symbol, u"EUR");
    const auto dollars = table.convert(u"EUR", u"USD");
    ASSERT_TRUE(dollars);
    EXPECT_DOUBLE_EQ(dollars->multiplier, 1.25);
    const auto yen = table.convert(u"GBP", u"JPY");
    ASSERT_TRUE(yen);
    EXPECT_NEAR(yen->multiplier, 200.0, 1e-9);
}

TEST(RateUpdate, CurrencyTableAnswerIsKeptFromItsDateLineOn)
{
    UpdateFolder folder;
    TestHttpServer server(TestHttpServer::sending(TestHttpServer::ok("preamble text\n" + kNewRates)));
    RateUpdate update = directUpdate(folder, server.url("/currency/save.txt"));
    ASSERT_TRUE(update.run()) << update.errorMessage();
    EXPECT_EQ(folder.contents(), kNewRates);
    EXPECT_EQ(update.date(), "2025-01-02");

    ConversionTable table;
    ASSERT_TRUE(table.load(folder.file));
    const auto yen = table.convert(u"USD", u"JPY");
    ASSERT_TRUE(yen);
    EXPECT_NEAR(yen->multiplier, 157.2, 1e-6);
}

TEST(RateUpdate, GzipEncodedAnswerIsDecoded)
{
    UpdateFolder folder;
    const std::string packed = gzipped(kEcbDocument);
    TestHttpServer server(TestHttpServer::sending(TestHttpServer::answer(
        "200 OK",
        "Content-Type: text/xml\r\nContent-Encoding: gzip\r\nContent-Length: " + std::to_string(packed.size()) + "\r\n",
        packed)));
    RateUpdate update = directUpdate(folder, server.url());
    ASSERT_TRUE(update.run()) << update.errorMessage();
    EXPECT_EQ(folder.contents(), kEcbTable);
    EXPECT_NE(server.requests().at(0).find("Accept-Encoding: "), std::string::npos);
    EXPECT_NE(server.requests().at(0).find("gzip"), std::string::npos);
}

TEST(RateUpdate, RedirectIsFollowed)
{
    UpdateFolder folder;
    TestHttpServer server([](int fd, const std::string& request, const std::atomic<bool>&) {
        if (request.starts_with("GET /old "))
            TestHttpServer::sendAll(
                fd, TestHttpServer::answer("301 Moved Permanently", "Location: /new\r\nContent-Length: 0\r\n", ""));
        else
            TestHttpServer::sendAll(fd, TestHttpServer::ok(kEcbDocument, "text/xml"));
    });
    RateUpdate update = directUpdate(folder, server.url("/old"));
    ASSERT_TRUE(update.run()) << update.errorMessage();
    EXPECT_EQ(folder.contents(), kEcbTable);
    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_TRUE(server.requests()[1].starts_with("GET /new HTTP/1.1\r\n"));
}

TEST(RateUpdate, AnswerWithALengthHeldOpenAfterItsEndSucceeds)
{
    // The length tells where the answer ends, so the open connection does not matter.
    UpdateFolder folder;
    TestHttpServer server(TestHttpServer::holding(TestHttpServer::ok(kEcbDocument, "text/xml")));
    RateUpdate update = directUpdate(folder, server.url());
    ASSERT_TRUE(update.run()) << update.errorMessage();
    EXPECT_EQ(folder.contents(), kEcbTable);
}

struct FailingCase {
    const char* name;
    TestHttpServer::Answer answer;
    int errorClass;
    int socketError;
    std::string text;
    std::string message;  // what the user reads
};

TEST(RateUpdate, EveryFailureKeepsTheFileByteForByteAndSaysWhy)
{
    const std::string noTime = [] {
        std::string document = kEcbDocument;
        document.replace(document.find(" time='2026-02-17'"), 18, "");
        return document;
    }();
    const std::string html = "<!DOCTYPE html><html><head><title>Moved</title></head><body>Gone</body></html>";
    using Server = TestHttpServer;
    const std::vector<FailingCase> cases = {
        {"ECB answer without a date", Server::sending(Server::ok(noTime, "text/xml")), 12, 0,
         "Error, no date in answer.", "The answer is not a rate table."},
        {"table without a date line", Server::sending(Server::ok(kNewRates.substr(kNewRates.find('\n') + 1))), 12, 0,
         "Error, no currency rates in answer.", "The answer is not a rate table."},
        {"table with an empty date", Server::sending(Server::ok("#Date:  \n" + kNewRates.substr(kNewRates.find('\n')))),
         12, 0, "Error, no date in answer.", "The answer is not a rate table."},
        {"HTML page", Server::sending(Server::ok(html, "text/html")), 12, 0, "Error, no currency rates in answer.",
         "The answer is not a rate table."},
        {"ECB answer cut short", Server::sending(Server::ok(kEcbDocument.substr(0, kEcbDocument.size() - 40))), 11, 0,
         "Error, answer cut short.", "The answer was cut short."},
        {"table cut after a line", Server::sending(Server::ok(kNewRates.substr(0, kNewRates.size() - 4))), 11, 0,
         "Error, answer cut short.", "The answer was cut short."},
        {"connection closed before the length",
         Server::sending(Server::answer("200 OK", "Content-Length: 9999\r\n", kNewRates)), 11, 0,
         "Error, answer cut short.", "The answer was cut short."},
        {"100 MiB without a length", Server::streaming(100u << 20), 9, 0, "Error, answer too large.",
         "The answer is too large to be a rate table."},
        {"100 MiB announced",
         Server::sending(Server::answer("200 OK", "Content-Length: 104857600\r\n", std::string(4096, 'x'))), 9, 0,
         "Error, answer too large.", "The answer is too large to be a rate table."},
        {"silent server", Server::holding(""), 1, ETIMEDOUT, "Error when receive.", "127.0.0.1 stopped answering."},
        {"answer without a length held open", Server::holding(Server::answer("200 OK", "", kNewRates)), 1, ETIMEDOUT,
         "Error when receive.", "127.0.0.1 stopped answering."},
        {"404", Server::sending(Server::answer("404 Not Found", "Content-Length: 9\r\n", "not found")), 10, 0,
         "Error, server answered 404.", "The server answered 404."},
        {"500 with a table", Server::sending(Server::answer("500 Internal Server Error", "", kNewRates)), 10, 0,
         "Error, server answered 500.", "The server answered 500."},
        {"random bytes", Server::sending(randomBytes(3000, 7)), 10, 0, "Error, not an HTTP answer.",
         "127.0.0.1 did not send a usable answer."},
        {"random body", Server::sending(Server::ok(randomBytes(3000, 8), "application/octet-stream")), 12, 0,
         "Error, control characters in answer.", "The answer is not a rate table."},
        {"closed at once", Server::sending(""), 10, 0, "Error, empty answer.",
         "127.0.0.1 did not send a usable answer."},
        {"bad gzip",
         Server::sending(Server::answer("200 OK", "Content-Encoding: gzip\r\nContent-Length: 12\r\n", "not gzipped!")),
         10, 0, "Error, bad compressed answer.", "127.0.0.1 did not send a usable answer."},
        {"reproducer with its bad status line", Server::sending(readRepro("currency_answer_colon_begin.bin")), 10, 0,
         "Error, not an HTTP answer.", "127.0.0.1 did not send a usable answer."},
        {"colon before Begin (reproducer's body)",
         Server::sending(Server::ok(readRepro("currency_answer_colon_begin.bin").substr(11))), 12, 0,
         "Error, bad currency rates on line 2.", "The answer is not a rate table."},
        {"colon before Begin in a full answer (reproducer)", Server::sending(readRepro("currency_answer_full.bin")), 12,
         0, "Error, bad currency rates on line 2.", "The answer is not a rate table."},
    };
    for (const FailingCase& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateFolder folder;
        TestHttpServer server(c.answer);
        RateUpdate update = directUpdate(folder, server.url());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(update.run());
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
        EXPECT_EQ(update.errorClass(), c.errorClass);
        EXPECT_EQ(update.socketError(), c.socketError);
        EXPECT_EQ(update.errorText(), c.text);
        EXPECT_EQ(update.errorMessage(), c.message);
        EXPECT_EQ(update.errorDetail(),
                  "Error: " + std::to_string(c.errorClass) + ", " + std::to_string(c.socketError) + ", " + c.text);
        EXPECT_EQ(folder.contents(), kOldFile);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"currency.dat"});
    }
}

TEST(RateUpdate, CancelEndsASilentDownloadAtOnce)
{
    UpdateFolder folder;
    TestHttpServer server(TestHttpServer::holding(""));
    DownloadLimits limits = quickLimits();
    limits.totalTimeout = 30s;
    RateUpdate update(folder.file, limits);
    update.setUrl(server.url());
    update.setProxy(std::string());
    std::atomic<bool> cancel{false};
    std::thread canceller([&cancel] {
        std::this_thread::sleep_for(300ms);
        cancel = true;
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(update.run(&cancel));
    const auto took = std::chrono::steady_clock::now() - start;
    canceller.join();
    EXPECT_LT(took, 1s);
    EXPECT_EQ(update.errorClass(), HttpDownload::kErrorCancelled);
    EXPECT_EQ(update.errorText(), "Update cancelled.");
    EXPECT_EQ(folder.contents(), kOldFile);
}

TEST(RateUpdate, ProgressCountsTheBytes)
{
    UpdateFolder folder;
    TestHttpServer server(TestHttpServer::sending(TestHttpServer::ok(kEcbDocument, "text/xml")));
    RateUpdate update = directUpdate(folder, server.url());
    std::size_t last = 0;
    std::size_t expected = 0;
    ASSERT_TRUE(update.run(nullptr, [&](std::size_t received, std::size_t total) {
        last = received;
        expected = std::max(expected, total);
    }));
    EXPECT_EQ(last, kEcbDocument.size());
}

TEST(RateUpdate, HttpsWithACertificateTrustedForThisRunOnly)
{
    UpdateFolder folder;
    TempFolder served;
    ASSERT_TRUE(writeFileAtomically(served.path() / "eurofxref-daily.xml", kEcbDocument));
    TestHttpsServer server(served.path());
    ASSERT_GT(server.port(), 0) << "openssl s_server did not start";

    // Without the test's certificate the server is a stranger.
    RateUpdate untrusted = directUpdate(folder, server.url("eurofxref-daily.xml"));
    EXPECT_FALSE(untrusted.run());
    EXPECT_EQ(untrusted.errorClass(), HttpDownload::kErrorSecurity) << untrusted.errorDetail();
    EXPECT_EQ(untrusted.errorMessage(), "The certificate of 127.0.0.1 is not trusted.");
    EXPECT_EQ(folder.contents(), kOldFile);

    RateUpdate trusted = directUpdate(folder, server.url("eurofxref-daily.xml"));
    trusted.setCaFile(server.certificateFile());
    ASSERT_TRUE(trusted.run()) << trusted.errorMessage();
    EXPECT_EQ(folder.contents(), kEcbTable);
}

TEST(RateUpdate, ProxyGetsTheWholeUrl)
{
    UpdateFolder folder;
    TestHttpServer proxy(TestHttpServer::sending(TestHttpServer::ok(kNewRates)));
    RateUpdate update(folder.file, quickLimits());
    // The URL's host is never resolved: the connection goes to the proxy.
    update.setUrl("http://rates.example.invalid/currency/save.txt");
    update.setProxy("127.0.0.1:" + std::to_string(proxy.port()));
    ASSERT_TRUE(update.run()) << update.errorMessage();
    EXPECT_TRUE(proxy.requests().at(0).starts_with("GET http://rates.example.invalid/currency/save.txt HTTP/1.1\r\n"));
    EXPECT_NE(proxy.requests()[0].find("\r\nHost: rates.example.invalid\r\n"), std::string::npos);
    EXPECT_EQ(folder.contents(), kNewRates);
}

TEST(RateUpdate, DefaultSourceIsTheEcbDailyFile)
{
    const RateUpdate update("currency.dat");
    EXPECT_EQ(update.url(), "https://www.ecb.europa.eu/stats/eurofxref/eurofxref-daily.xml");
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
        {"ftp://h/p", std::nullopt, 6, "Error, proto parse failed."},
        {"http:///p", std::nullopt, 7, "Error, bad host in URL."},
        {"h:99999/p", std::nullopt, 8, "Error, bad port in URL."},
        {"h:8x/p", std::nullopt, 8, "Error, bad port in URL."},
        {"h/p", "proxyhost", 5, "Error, proxy not specified."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        HttpDownload download(quickLimits());
        if (c.proxy)
            download.setProxy(*c.proxy);
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
        TestHttpServer server(TestHttpServer::sending(""));
        port = server.port();
    }
    HttpDownload download(quickLimits());
    download.setProxy(std::string());
    EXPECT_FALSE(download.download("127.0.0.1:" + std::to_string(port) + "/"));
    EXPECT_EQ(download.errorMessage(), "Could not connect to 127.0.0.1.");
    EXPECT_EQ(download.errorDetail(), "Error: 1, " + std::to_string(ECONNREFUSED) + ", Error when connect.");
}

TEST(HttpDownload, UnknownHostIsAResolveError)
{
    HttpDownload download(quickLimits());
    download.setProxy(std::string());
    EXPECT_FALSE(download.download("http://rates.corvan.invalid/x"));
    EXPECT_EQ(download.errorClass(), HttpDownload::kErrorHost);
    EXPECT_EQ(download.errorText(), "Error when resolve host.");
    EXPECT_EQ(download.errorMessage(), "Could not find the server rates.corvan.invalid.");
}

TEST(CurrencyTable, CheckTakesWhatTheConverterLoadsAndNothingElse)
{
    struct Case {
        const char* name;
        std::string table;
        int errorClass;  // 0: accepted
        const char* text;
    };
    const Case cases[] = {
        {"USD base", kNewRates, 0, ""},
        {"euro base", kEcbTable, 0, ""},
        {"colon before Begin", "#Date: x\n:#Begin\nS\tUSD\t!\nE\tP\t3\t0\tUSD\n#End", 12,
         "Error, bad currency rates on line 2."},
        {"a word missing", "#Date: x\n#Begin:Currency:0\n\tUSD\tUSD\t!\n\tE\tEUR\t1\t0\n#End", 12,
         "Error, bad currency rates on line 4."},
        {"NUL in a record", "#Date: x\n#Begin:C:0\n\tUSD\tUSD\t!\n\tE\tEUR\t1\0\t0\tUSD\n#End"s, 12,
         "Error, control characters in answer."},
        {"C1 control in a name", "#Date: x\n#Begin:C:0\n\tUSD\tUSD\t!\n\tE\xc2\x9b\tEUR\t1\t0\tUSD\n#End", 12,
         "Error, control characters in answer."},
        {"over-long line", "#Date: x\n#Begin:C:0\n\tUSD\tUSD\t!\n\t" + std::string(300, 'x') + "\tXX\t1\t0\tUSD\n#End",
         12, "Error, bad currency rates on line 4."},
        {"negative rate", "#Date: x\n#Begin:C:0\n\tUSD\tUSD\t!\n\tE\tEUR\t-1\t0\tUSD\n#End", 12,
         "Error, bad currency rate for EUR."},
        {"zero rate", "#Date: x\n#Begin:C:0\n\tUSD\tUSD\t!\n\tE\tEUR\t0.00000000000\t0\tUSD\n#End", 12,
         "Error, bad currency rate for EUR."},
        {"not defined on the base", "#Date: x\n#Begin:C:0\n\tUSD\tUSD\t!\n\tE\tEUR\t1\t0\tGBP\n#End", 12,
         "Error, bad currency rate for EUR."},
        {"an offset", "#Date: x\n#Begin:C:0\n\tUSD\tUSD\t!\n\tE\tEUR\t1\t3\tUSD\n#End", 12,
         "Error, bad currency rate for EUR."},
        {"twice the same code", "#Date: x\n#Begin:C:0\n\tUSD\tUSD\t!\n\tE\tEUR\t1\t0\tUSD\n\tF\tEUR\t2\t0\tUSD\n#End",
         12, "Error, bad currency rate for EUR."},
        {"two bases", "#Date: x\n#Begin:C:0\n\tUSD\tUSD\t!\n\tE\tEUR\t!\n#End", 12,
         "Error, more than one base currency in answer."},
        {"no base", "#Date: x\n#Begin:C:0\n\tE\tEUR\t1\t0\tUSD\n#End", 12, "Error, no currency rates in answer."},
        {"base alone", "#Date: x\n#Begin:C:0\n\tUSD\tUSD\t!\n#End", 12, "Error, no currency rates in answer."},
        {"no #End", "#Date: x\n#Begin:C:0\n\tUSD\tUSD\t!\n\tE\tEUR\t1\t0\tUSD\n", 11, "Error, answer cut short."},
        {"no date line", "#Begin:C:0\n\tUSD\tUSD\t!\n\tE\tEUR\t1\t0\tUSD\n#End", 12,
         "Error, no currency rates in answer."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int errorClass = 0;
        std::string errorText;
        const bool accepted = currency::checkTable(c.table, errorClass, errorText);
        EXPECT_EQ(accepted, c.errorClass == 0);
        if (c.errorClass == 0) {
            // Accepted means the converter loads the whole of it.
            ConversionTable table;
            EXPECT_TRUE(table.loadBytes(c.table));
            continue;
        }
        EXPECT_EQ(errorClass, c.errorClass);
        EXPECT_EQ(errorText, c.text);
    }
}

TEST(CurrencyTable, ReproducersThatTheOldCheckTookAreRefused)
{
    // Both answers once replaced a good currency.dat with one the converter could not load.
    for (const char* name : {"currency_answer_colon_begin.bin", "currency_answer_full.bin"}) {
        SCOPED_TRACE(name);
        const std::string answer = readRepro(name);
        const std::string body = answer.substr(answer.find("\n\n") != std::string::npos ? answer.find("\n\n") + 2
                                                                                        : answer.find("\r\n\r\n") + 4);
        int errorClass = 0;
        std::string errorText;
        EXPECT_FALSE(RateUpdate::ratesFromAnswer(body, kOldFile, errorClass, errorText));
        EXPECT_EQ(errorClass, RateUpdate::kErrorRates);
        ConversionTable table;
        EXPECT_FALSE(table.loadBytes(body.substr(body.find("#Date"))));
    }
}

TEST(EcbRates, ReadsTheLatestDayAndRefusesLooseDocuments)
{
    EcbRates rates;
    int errorClass = 0;
    std::string errorText;
    ASSERT_TRUE(rates.parse(kEcbDocument, errorClass, errorText)) << errorText;
    EXPECT_EQ(rates.date(), "2026-02-17");
    ASSERT_EQ(rates.rates().size(), 4u);
    EXPECT_EQ(rates.rates()[1].code, "JPY");
    EXPECT_DOUBLE_EQ(rates.rates()[1].perEuro, 160.0);
    EXPECT_TRUE(EcbRates::looksLike(kEcbDocument));
    EXPECT_FALSE(EcbRates::looksLike(kNewRates));

    // The 90-day history: the first day is the latest.
    std::string history = kEcbDocument;
    history.insert(history.find("\t</Cube>\n</gesmes"),
                   "\t\t<Cube time=\"2026-02-16\">\n\t\t\t<Cube currency=\"USD\" rate=\"9\"/>\n\t\t</Cube>\n");
    ASSERT_TRUE(rates.parse(history, errorClass, errorText)) << errorText;
    EXPECT_EQ(rates.date(), "2026-02-17");
    EXPECT_DOUBLE_EQ(rates.rates()[0].perEuro, 1.25);

    const std::pair<std::string, std::string> bad[] = {
        {"rate='1.25'", "rate='-1.25'"},
        {"rate='1.25'", "rate='1.25x'"},
        {"rate='1.25'", "rate=''"},
        {"rate='1.25'", "rate=1.25"},
        {"'JPY'", "'USD'"},
        {"'JPY'", "'EUR'"},
        {"'JPY'", "'yen'"},
        {"rate='160'", "rate='0'"},
    };
    for (const auto& [from, to] : bad) {
        SCOPED_TRACE(to);
        std::string document = kEcbDocument;
        document.replace(document.find(from), from.size(), to);
        EXPECT_FALSE(rates.parse(document, errorClass, errorText));
        EXPECT_EQ(errorClass, 12);
        EXPECT_EQ(errorText, "Error, bad currency rates in answer.");
    }
    EXPECT_FALSE(
        rates.parse("<?xml version='1.0'?><gesmes:Envelope><Cube><Cube time='2026-02-17'></Cube></Cube>"
                    "</gesmes:Envelope>",
                    errorClass, errorText));
    EXPECT_EQ(errorText, "Error, no currency rates in answer.");
    EXPECT_FALSE(rates.parse(kEcbDocument.substr(0, kEcbDocument.size() - 1), errorClass, errorText));
    EXPECT_EQ(errorText, "Error, answer cut short.");
}

TEST(EcbRates, ConversionKeepsTheNamesOfTheOldTable)
{
    const std::string previous =
        "#Date: x\n\n#Begin:Currency:0\n\tUSD\tUSD\t!\n\tGreenback\tUSD2\t1\t0\tUSD\n\tYen_of_Japan\tJPY\t0.006\t0\tUSD\n#End";
    int errorClass = 0;
    std::string errorText;
    const std::optional<std::string> table = RateUpdate::ratesFromAnswer(kEcbDocument, previous, errorClass, errorText);
    ASSERT_TRUE(table) << errorText;
    EXPECT_NE(table->find("\tYen_of_Japan\tJPY\t0.00625\t0\tEUR\n"), std::string::npos);
    // A code that stood as its own name gives way to the English name.
    EXPECT_NE(table->find("\tUS_Dollar\tUSD\t0.8\t0\tEUR\n"), std::string::npos);
    EXPECT_EQ(EcbRates::currencyName("CHF"), u"Swiss Franc");
    EXPECT_EQ(EcbRates::currencyName("XYZ"), u"XYZ");
}

TEST(CurrencyTable, RateTextAndEditedRates)
{
    EXPECT_EQ(currency::rateText(0.5), "2");
    EXPECT_EQ(currency::rateText(1.0 / 157.2), "157.2");
    EXPECT_EQ(currency::rateText(0.0), "0");
    EXPECT_EQ(currency::rateText(-3.0), "0");
    // Factors as the shipped table writes them: the rates they were made from, not the noise
    // of their 11 decimals.
    const struct {
        double factor;
        const char* rate;
    } written[] = {
        {1.03594737387, "0.9653"},
        {0.00636132316, "157.2"},
        {0.00003929273, "25450"},
        {0.00006172840, "16200"},
        {1.00000000000, "1"},
        {0.12345678901, "8.100000073"},
        // Factors written whole keep every digit of their rate.
        {1.0 / 123456789012.0, "123456789012"},
        {1.0 / 0.9653, "0.9653"},
        {1.0 / 3.0, "3"},
        {1.0 / 0.00001234, "0.00001234"},
    };
    for (const auto& w : written)
        EXPECT_EQ(currency::rateText(w.factor), w.rate) << w.factor;

    struct Case {
        const char* text;
        double factor;  // 7 when the record stays unchanged
    };
    const Case cases[] = {{"2", 0.5}, {"  4xyz", 0.25}, {"0", 7},      {"-2", 7},   {"text", 7},
                          {"", 7},    {"1e-300", 7},    {"+8", 0.125}, {"1e16", 7}, {"1e-16", 7}};
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
    ASSERT_TRUE(currency::saveTable(folder.file, "#Date: 12/05/2006\n", records));
    EXPECT_EQ(folder.contents(),
              "#Date: 12/05/2006\n\n#Begin:Currency:0\n\tUSD\tUSD\t!\n"
              "\tEuro\tEUR\t0.5\t0\tUSD\n"
              "\tHong_Kong_Dollar\tHK_D\t0.128\t0\tUSD\n#End");
    EXPECT_EQ(currency::dateOf(folder.file), "12/05/2006");

    ConversionTable table;
    ASSERT_TRUE(table.load(folder.file));
    const auto euro = table.convert(u"EUR", u"USD");
    ASSERT_TRUE(euro);
    EXPECT_DOUBLE_EQ(euro->multiplier, 0.5);

    // A table the converter could not use is not written.
    records[2].factor = 1e-16;
    std::string why;
    EXPECT_FALSE(currency::saveTable(folder.file, "#Date: 12/05/2006\n", records, &why));
    EXPECT_EQ(why, "Error, bad currency rate for HK D.");
    EXPECT_NE(folder.contents().find("\t0.128\t"), std::string::npos);
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
        EXPECT_EQ(currency::dateOfText(text), date);
    }
    EXPECT_EQ(currency::dateOf("/nonexistent/currency.dat"), "");
}

TEST(CurrencyTable, ShippedFileIsAValidAnswerAndLoads)
{
    const auto shipped = std::filesystem::path(CORVAN_SOURCE_DATA_DIR) / "currency.dat";
    std::string bytes;
    ASSERT_TRUE(readWholeFile(shipped, bytes));
    int errorClass = 0;
    std::string errorText;
    EXPECT_TRUE(currency::checkTable(bytes, errorClass, errorText)) << errorText;

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
