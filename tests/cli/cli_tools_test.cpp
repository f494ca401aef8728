// The tools of corvan-cli, driven through the real binary as a shell user would.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "cli_options.h"
#include "cli_run.h"
#include "cli_tools.h"
#include "file_content.h"
#include "temp_folder.h"
#include "test_http_server.h"

namespace {

// Uses the shipped files of the source tree (the seeding source) and no proxy for the local test servers.
CliRun runTool(const std::vector<std::string>& arguments)
{
    return runCliCommand("CORVAN_DATA_DIR='" CORVAN_SOURCE_DATA_DIR "' no_proxy=127.0.0.1 ", arguments);
}

const std::string kRates =
    "#Date: 2026-02-17\n\n#Begin:Currency:0\n"
    "\tEuro\tEUR\t!\n"
    "\tUS_Dollar\tUSD\t0.80000000000\t0\tEUR\n"
    "\tJapanese_Yen\tJPY\t0.00625000000\t0\tEUR\n"
    "#End";

// A program folder seeded from the shipped files, with known rates.
struct ToolFolder {
    TempFolder folder;
    std::string path = folder.path().string();
    ToolFolder() { EXPECT_TRUE(writeFileAtomically(folder.path() / "currency.dat", kRates)); }
};

struct ToolCase {
    std::vector<std::string> arguments;  // after --folder DIR
    std::string out;
    int status;
};

std::string usage(const std::string& line)
{
    return "corvan-cli: " + line + "\nTry 'corvan-cli --help'.\n";
}

void runCases(const std::vector<ToolCase>& cases)
{
    ToolFolder folder;
    for (const ToolCase& c : cases) {
        std::vector<std::string> arguments = {"--folder", folder.path};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        std::string shown;
        for (const std::string& argument : c.arguments)
            shown += argument + " ";
        SCOPED_TRACE(shown);
        const CliRun run = runTool(arguments);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.status, c.status);
    }
}

TEST(CliConvert, ConvertsUnitsAndCurrenciesAsTheConverterShows)
{
    runCases({
        {{"--convert", "mi", "km", "1", "26.2"}, "1.609344\n42.1648128\n", 0},
        {{"--convert", "degF", "degC", "32"}, "0\n", 0},
        {{"--convert", "\u00b0F", "\u00b0C", "212", "-40"}, "100\n-40\n", 0},
        {{"--convert", "mi", "km"}, "1.609344\n", 0},
        {{"--convert", "Kilometer", "MILE", "5"}, "3.10685596\n", 0},
        {{"--convert", "km", "m", "1.5", "2(3)+.5"}, "1,500\n6,500\n", 0},
        {{"--output", "eu", "--convert", "km", "m", "1234.5"}, "1.234.500\n", 0},
        {{"--raw", "--convert", "mi", "km", "1"}, "1.6093439999999999\n", 0},
        // Reciprocal kinds unrounded: 378.5411784 / 16.09344 and 100 / 20, correctly rounded.
        {{"--raw", "--convert", "L/100 km", "mpg US", "10"}, "23.521458333333332\n", 0},
        {{"--raw", "--convert", "km/L", "L/100 km", "20"}, "5\n", 0},
        {{"--convert", "rpm", "kHz", "12"}, "0.0002\n", 0},
        {{"--convert", "rpm", "rad/s", "60"}, "6.28318531\n", 0},
        {{"--convert", "km/L", "mpg", "20"}, "Ambiguous unit mpg: mpg US, mpg UK\n", 1},
        {{"--convert", "um", "mm", "1000"}, "1\n", 0},
        {{"--convert", "EUR", "USD", "100"}, "125\n", 0},
        {{"--convert", "USD", "JPY", "1"}, "128\n", 0},
        {{"--convert", "mi", "km", "1", "1/0", "2"}, "1.609344\nDivision error\n3.218688\n", 1},
        {{"--convert", "km", "kg"}, "The units are of different kinds. (km is Length, kg is Mass)\n", 1},
        {{"--convert", "EUR", "km"}, "The units are of different kinds. (EUR is Currency, km is Length)\n", 1},
        {{"--convert", "furlongs", "km"}, "Unknown unit. (furlongs)\n", 1},
        {{"--convert", "km", "XYZ"}, "Unknown unit. (XYZ)\n", 1},
        {{"--convert", "km"}, usage("usage: corvan-cli --convert FROM TO [VALUE ...]"), 2},
    });
}

TEST(CliUnits, ListsCategoriesAndTheUnitsOfOne)
{
    ToolFolder folder;
    const CliRun categories = runTool({"--folder", folder.path, "--units"});
    EXPECT_EQ(categories.status, 0);
    EXPECT_TRUE(categories.out.starts_with("Length\nArea\nVolume\nMass\n")) << categories.out;
    const CliRun length = runTool({"--folder", folder.path, "--units", "length"});
    EXPECT_EQ(length.status, 0);
    EXPECT_NE(length.out.find("\nmi\tmile\n"), std::string::npos) << length.out;
    EXPECT_TRUE(length.out.starts_with("m\tmeter\n")) << length.out;
    runCases({
        {{"--units", "Nothing"}, "Unknown category. (Nothing)\n", 1},
        {{"--units", "Length", "Mass"}, usage("usage: corvan-cli --units [CATEGORY]"), 2},
    });
}

TEST(CliConstants, LooksUpOneOrListsThemAll)
{
    runCases({
        {{"--constant", "Planck constant h"}, "6.62607015e-34\tJ\u00b7s\n", 0},
        {{"--constant", "speed of light in vacuum c [m/s]"}, "299792458\tm/s\n", 0},
        {{"--constant", "NA"}, "6.02214076e23\t1/mol\n", 0},
        {{"--constant", "Golden ratio"}, "1.61803398874989484820\t\n", 0},
        {{"--constant", "xyz"}, "Unknown constant. (xyz)\n", 1},
        {{"--constant", "Planck"},
         "Ambiguous constant. (Planck: Planck constant h; Planck mass; Planck length; Planck time; Planck "
         "temperature)\n",
         1},
        {{"--constant"}, usage("usage: corvan-cli --constant NAME"), 2},
    });
    ToolFolder folder;
    const CliRun all = runTool({"--folder", folder.path, "--constants"});
    EXPECT_EQ(all.status, 0);
    EXPECT_TRUE(all.out.starts_with("Speed of light in vacuum c\t299792458\tm/s\n")) << all.out;
    EXPECT_NE(all.out.find("\nFine-structure constant \u03b1\t7.2973525643e-3\t\n"), std::string::npos);
}

TEST(CliRates, PrintsTheDateThenEveryCurrency)
{
    runCases({
        {{"--rates"}, "2026-02-17\nEUR\t1\tEuro\nUSD\t1.25\tUS Dollar\nJPY\t160\tJapanese Yen\n", 0},
        {{"--rates", "x"}, usage("usage: corvan-cli --rates"), 2},
        {{"--url", "http://x/", "--rates"}, usage("--url goes with --update-rates"), 2},
    });
}

TEST(CliRates, UpdateFromALocalServerPrintsTheNewDateOrTheFailure)
{
    ToolFolder folder;
    const std::string table =
        "#Date: 2026-03-01\n\n#Begin:Currency:0\n\tEuro\tEUR\t!\n"
        "\tUS_Dollar\tUSD\t0.50000000000\t0\tEUR\n#End";
    {
        TestHttpServer server(TestHttpServer::sending(TestHttpServer::ok(table)));
        const CliRun run = runTool({"--folder", folder.path, "--update-rates", "--url", server.url("/save.txt")});
        EXPECT_EQ(run.out, "2026-03-01\n");
        EXPECT_EQ(run.status, 0);
    }
    std::string bytes;
    ASSERT_TRUE(readWholeFile(folder.folder.path() / "currency.dat", bytes));
    EXPECT_EQ(bytes, table);
    {
        TestHttpServer server(TestHttpServer::sending(TestHttpServer::answer("404 Not Found", "", "gone")));
        const CliRun run = runTool({"--folder", folder.path, "--update-rates", "--url", server.url()});
        EXPECT_EQ(run.out, "The server answered 404.\nError: 10, 0, Error, server answered 404.\n");
        EXPECT_EQ(run.status, 1);
    }
    ASSERT_TRUE(readWholeFile(folder.folder.path() / "currency.dat", bytes));
    EXPECT_EQ(bytes, table);
}

// What a rate server sends is printed later by --rates: an answer that could not be printed
// safely or read back as sent is refused, and so is a save over a file the user made
// read-only. A currency.dat linked from elsewhere stays linked and gets every digit sent.
TEST(CliRates, UpdateRefusesUnsafeAnswersAndKeepsTheUsersLinkAndEveryDigit)
{
    TempFolder root;
    const std::filesystem::path folder = root.path() / "corvan";
    const std::filesystem::path kept = root.path() / "shared" / "rates.dat";
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(kept.parent_path());
    ASSERT_TRUE(writeFileAtomically(kept, kRates));
    std::filesystem::create_symlink("../shared/rates.dat", folder / "currency.dat");
    const auto update = [&](const std::string& body) {
        TestHttpServer server(TestHttpServer::sending(TestHttpServer::ok(body)));
        return runTool({"--folder", folder.string(), "--update-rates", "--url", server.url()});
    };
    const auto table = [](const std::string& date, const std::string& factor) {
        return "#Date: " + date + "\n\n#Begin:Currency:0\n\tEuro\tEUR\t!\n\tUS_Dollar\tUSD\t" + factor +
               "\t0\tEUR\n#End";
    };
    const struct {
        std::string body;
        bool readOnly;
        std::string out;
    } refused[] = {
        {table("\x1b]0;owned\x07"
               "2030-01-02",
               "0.5"),
         false, "The answer is not a rate table.\nError: 12, 0, Error, control characters in answer.\n"},
        {table("2030-01-02", "1e308"), false,
         "The answer is not a rate table.\nError: 12, 0, Error, bad currency rate for USD.\n"},
        {table("2030-01-02", "1e-320"), false,
         "The answer is not a rate table.\nError: 12, 0, Error, bad currency rate for USD.\n"},
        {table("2030-01-02", "0.5"), true,
         "Cannot save " + (folder / "currency.dat").string() + ": the file is read-only.\nError: 13, 0, Cannot save " +
             (folder / "currency.dat").string() + ": the file is read-only.\n"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.out);
        std::filesystem::permissions(
            kept, c.readOnly ? std::filesystem::perms::owner_read
                             : std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        const CliRun run = update(c.body);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(contentOf(kept), kRates);
    }
    std::filesystem::permissions(kept, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(update("<?xml version=\"1.0\"?>\n<gesmes:Envelope>\n<Cube><Cube time='2030-01-02'>\n"
                     "<Cube currency='USD' rate='1.1'/>\n<Cube currency='IDR' rate='123456789012'/>\n"
                     "</Cube></Cube>\n</gesmes:Envelope>\n")
                  .out,
              "2030-01-02\n");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "currency.dat"));
    const CliRun after = runTool({"--folder", folder.string(), "--rates"});
    EXPECT_NE(after.out.find("\nIDR\t123456789012\t"), std::string::npos) << after.out;
}

TEST(CliDates, LunarSolarDaysAndWeekdays)
{
    runCases({
        {{"--lunar", "2026-02-17"}, "1/1/2026\tBinh Ngo\n", 0},
        {{"--lunar", "2020-05-23"}, "1/4/2020 leap\tCanh Ty\n", 0},
        {{"--lunar", "2007-01-01"}, "13/11/2006\tBinh Tuat\n", 0},
        {{"--lunar", "2026-02-30"}, "corvan-cli: --lunar: '2026-02-30' is not a day of the calendar\n", 2},
        {{"--lunar", "0000-01-01"}, "corvan-cli: --lunar: '0000-01-01': the years run from 1 to 9999\n", 2},
        {{"--lunar", "2026-2-17"}, "corvan-cli: --lunar: '2026-2-17' is not a date of the form YYYY-MM-DD\n", 2},
        {{"--lunar", "tomorrow"}, "corvan-cli: --lunar: 'tomorrow' is not a date of the form YYYY-MM-DD\n", 2},
        {{"--solar", "1/4/2020L"}, "2020-05-23\n", 0},
        {{"--solar", "1/4/2020"}, "2020-04-23\n", 0},
        {{"--solar", "13/11/2006"}, "2007-01-01\n", 0},
        {{"--solar", "1/4/2021L"}, "No leap month 4/2021: lunar year 2021 has no leap month 4.\n", 1},
        {{"--solar", "1/13/2020"}, "corvan-cli: --solar: '1/13/2020': a lunar month is 1 to 12, a day 1 to 30\n", 2},
        {{"--solar", "1/4/0"}, "corvan-cli: --solar: '1/4/0': the lunar years run from 1 to 9998\n", 2},
        {{"--solar", "1-4-2020"},
         "corvan-cli: --solar: '1-4-2020' is not a lunar date of the form D/M/YYYY or D/M/YYYYL\n",
         2},
        {{"--days", "2026-01-01", "2026-12-25"}, "358\n", 0},
        {{"--days", "2026-12-25", "2026-01-01"}, "-358\n", 0},
        {{"--days", "2024-02-28", "2024-03-01"}, "2\n", 0},
        {{"--days", "2007-01-01T10:00:00", "2007-01-03T09:00:00"}, "1 d 23 h 0 m 0 s\n", 0},
        {{"--days", "2007-01-01T10:30:00", "2007-01-02T10:00:00"}, "0 d 23 h 30 m 0 s\n", 0},
        {{"--days", "2007-01-03T09:00:00", "2007-01-01T10:00:00"}, "-1 d -23 h 0 m 0 s\n", 0},
        {{"--days", "2023-02-29", "2024-01-01"}, "corvan-cli: --days: '2023-02-29' is not a day of the calendar\n", 2},
        {{"--days", "2024-01-01T24:00:00", "2024-01-02"},
         "corvan-cli: --days: '2024-01-01T24:00:00' is not a time of day\n",
         2},
        {{"--days", "2024-01-01"}, usage("usage: corvan-cli --days FROM TO"), 2},
        {{"--weekday", "2026-02-17"}, "Tuesday\n", 0},
        {{"--weekday", "2000-01-01"}, "Saturday\n", 0},
        {{"--weekday", "2000-13-01"}, "corvan-cli: --weekday: '2000-13-01' is not a day of the calendar\n", 2},
    });
}

TEST(CliTools, FolderAndOptionMistakes)
{
    // An empty folder is seeded with the shipped files, as the window seeds its own.
    TempFolder empty;
    const CliRun run = runTool({"--folder", empty.path().string(), "--convert", "mi", "km"});
    EXPECT_EQ(run.out, "1.609344\n");
    EXPECT_TRUE(std::filesystem::exists(empty.path() / "units.dat"));
    runCases({
        {{"--folder", "", "--convert", "mi", "km"}, usage("--folder needs a folder"), 2},
        {{"--lunar", "2026-02-17", "--weekday", "2026-02-17"},
         usage("--lunar and --weekday cannot be used together"),
         2},
        {{"--update-rates", "--url"}, usage("--url needs a URL"), 2},
    });
}

TEST(CliTools, HelpListsEveryOptionWithAnExample)
{
    const CliRun run = runTool({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* option :
         {"--convert", "--units",  "--constant", "--constants", "--rates",  "--update-rates", "--url",
          "--lunar",   "--solar",  "--days",     "--weekday",   "--engine", "--raw",          "--format",
          "--digits",  "--output", "--angle",    "--radix",     "--word",   "--matrix",       "--set",
          "--list",    "--keys",   "--category", "--mode",      "--folder", "--help"}) {
        SCOPED_TRACE(option);
        EXPECT_NE(run.out.find(std::string("\n  ") + option), std::string::npos);
        // An example line: the command with the option in it.
        bool example = false;
        std::size_t start = 0;
        for (std::size_t end = 0; (end = run.out.find('\n', start)) != std::string::npos; start = end + 1) {
            const std::string line = run.out.substr(start, end - start);
            const std::size_t command = line.find("corvan-cli ");
            example = example || (command != std::string::npos &&
                                  line.find(std::string(" ") + option, command) != std::string::npos);
        }
        EXPECT_TRUE(example);
    }
}

TEST(CliTools, ParsesToolArguments)
{
    const CliParse parse = parseCliOptions({"--convert", "degF", "degC", "-40", "--raw", "32"});
    ASSERT_TRUE(parse.options);
    EXPECT_EQ(parse.options->tool, "convert");
    EXPECT_EQ(parse.options->toolArguments, (std::vector<std::string>{"degF", "degC", "-40", "32"}));
    EXPECT_TRUE(parse.options->expressions.empty());
    EXPECT_TRUE(parse.options->raw);
    EXPECT_EQ(asciiSpelling(u"\u00b0F"), "degF");
    EXPECT_EQ(asciiSpelling(u"\u00b5m\u00b2"), "um2");
    EXPECT_EQ(asciiSpelling(u"k\u03a9"), "kOhm");

    std::string error;
    EXPECT_TRUE(parseCliDate("2024-02-29", false, error));
    EXPECT_FALSE(parseCliDate("2024-02-29T01:02:03", false, error));
    const auto timed = parseCliDate("2024-02-29T01:02:03", true, error);
    ASSERT_TRUE(timed);
    EXPECT_EQ(timed->second, 3);
    EXPECT_TRUE(timed->hasTime);
    EXPECT_FALSE(parseCliDate("2024-02-29T1:02:03", true, error));
    const auto lunar = parseCliLunarDate("30/12/2025l", error);
    ASSERT_TRUE(lunar);
    EXPECT_TRUE(lunar->leap);
    EXPECT_FALSE(parseCliLunarDate("1/4/2020LL", error));
}

}  // namespace
