#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli_options.h"
#include "cli_run.h"

namespace {

// Input is a printf format, so \\n makes a line end.
CliRun runCli(const std::vector<std::string>& arguments, const std::string& input = {})
{
    return runCliCommand(input.empty() ? std::string() : "printf '" + input + "' | ", arguments);
}

struct CliCase {
    std::vector<std::string> arguments;
    std::string out;
    int status;
};

TEST(CorvanCli, PrintsResultsErrorsAndExitCodes)
{
    const CliCase cases[] = {
        {{"--raw", "--engine", "2+3*4"}, "14\n", 0},
        {{"--raw", "--engine", "8/2/2"}, "2\n", 0},
        {{"--raw", "--engine", "2*(-3)"}, "-6\n", 0},
        {{"--raw", "--engine", "2 3"}, "2\n", 0},
        {{"--raw", "--engine", "2*-3"}, "Syntax error\n", 1},
        {{"--raw", "--engine", "--set", "VA=2", "[VA]+1"}, "3\n", 0},
        {{"--raw", "--engine", "--set=vb=4/8", "vb"}, "0.5\n", 0},
        {{"--raw", "--engine", "i*i"}, "-1\n", 0},
        {{"--raw", "--engine", "2*i+1"}, "1 2\n", 0},
        {{"--raw", "--engine", "-0"}, "0\n", 0},
        {{"--raw", "--engine", "1", "1/0", "3"}, "1\nDivision error\n3\n", 1},
        {{"--raw", "--engine", ""}, "Empty string\n", 1},
        {{"--raw", "--engine", "--", "--1"}, "Syntax error\n", 1},
        {{"2(3)+.5"}, "6.5\n", 0},
        // Whole counts, an underflowed power of a negative base, a singular end of an integral.
        {{"2(-0.001)^200.5", "ncr(28,5) mod 7", "ncr(30,15)", "fnInt(1/sqrt(1-x),x,0,1)"}, "0\n0\n155,117,520\n2\n", 0},
        {{"1/3"}, "0.33333333333333\n", 0},
        // Scientific notation as a desktop user writes it; a lone e stays Euler's.
        {{"6.02e23/1e22", "2e-3", "1/2E3", "1e309", "2e"},
         "60.2\n0.002\n0.0005\nOut of range error\n5.43656365691809\n",
         1},
        // Results that the display can only show as an error text fail as errors do.
        {{"170!"}, "Out of range error\n", 1},
        {{"--engine", "ln(0)", "exp(710)", "1e308*10"},
         "Out of range error\nOut of range error\nOut of range error\n",
         1},
        {{"--raw", "--engine", "-1e308*10"}, "-inf\n", 1},
        {{"--radix", "16", "--word", "8", "1E-3"}, "1B\n", 0},
        {{"2*-3", "2^-1", "10^-3", "5--3"}, "-6\n0.5\n0.001\n8\n", 0},
        {{"exp(1)", "2exp3"}, "2.71828182845905\n2,000\n", 0},
        {{"abs(-3)", "abs(3+4i)", "floor(-2.5)", "round(-2.5)", "cbrt(-8)", "log2(8)", "2gamma(5)",
          "hypot(1e200,1e200)"},
         "3\n5\n-3\n-3\n-2\n3\n48\n1.4142135624e+200\n",
         0},
        // An unknown word is named, with the nearest names when there are near ones.
        {{"sinn(1)", "2*flor(2.5)", "hypot(abz,3)", "qqqq+1", "x+1"},
         "Unknown name: sinn (did you mean sign, sin or sinh?)\nUnknown name: flor (did you mean floor?)\n"
         "Unknown name: abz (did you mean abs?)\nUnknown name: qqqq\nSyntax error\n",
         1},
        // fnInt works in radians and gives the unit back; a tiny result does not leave SCI on.
        {{"--angle", "deg", "fnInt(x^2,x,0,1)", "sin(30)", "1/300000", "sqrt(2)"},
         "0.33333333333333\n0.5\n3.3333333333e-06\n1.4142135623731\n",
         0},
        {{"--output", "eu", "1234567.5"}, "1.234.567,5\n", 0},
        {{"--output=us", "1234567.5"}, "1,234,567.5\n", 0},
        {{"--format", "fix", "--digits", "2", "2/3", "10^12"}, "0.67\n1.0000000000e+12\n", 0},
        {{"--format", "sci", "1234.5"}, "1.2345000000e+03\n", 0},
        {{"2i+3",
          "3\u2212"
          "2i"},
         "3+2i\n3-2i\n",
         0},
        // A number ending in its point, wherever it stands.
        {{"(5.)", "1/(5.)", "5.", "(5.)+1"}, "5\n0.2\n5\n6\n", 0},
        {{"--engine", "(5.)", "2*5."}, "5\n10\n", 0},
        {{"--radix", "16", "--word", "8", "FF+1", "0-1", "ff", "G"}, "00\nFF\nFF\nUnknown name: G\n", 1},
        {{"--radix", "2", "--word", "8", "101*11"}, "00001111\n", 0},
        {{"--raw", "--radix", "16", "--word", "8", "--engine", "FF and 0F"}, "15\n", 0},
        {{"--digits", "11", "1"},
         "corvan-cli: --digits takes a number from 0 to 10, not '11'\nTry 'corvan-cli --help'.\n",
         2},
        {{"--keys", "10 18 11 8 12 19"}, "1+2\u00d73\n7\n", 0},
        {{"--keys", "10 11 12 5 16 6 19", "--output", "eu"}, "1234,5\n1.234,5\n", 0},
        {{"--keys", "148 138 77 77 19", "--category", "2"}, "FF\nFF\n", 0},
        {{"--keys", "19"}, "\n\n", 0},
        {{"--keys", "10 160"},
         "corvan-cli: --keys takes key codes from 0 to 159, not '160'\nTry 'corvan-cli --help'.\n",
         2},
        {{"--keys", "1", "--category", "15"},
         "corvan-cli: --category takes a category code from 0 to 14\nTry 'corvan-cli --help'.\n",
         2},
        {{"--matrix", "--set", "VA=[1,2;3,4]", "inv([VA])"}, "[-2,1;1.5,-0.5]\n", 0},
        {{"--matrix", "--set", "VB=[1E-13;2e-13]", "[VB]*1E13"}, "[1;2]\n", 0},
        {{"--matrix", "--set", "VA=[1,2;3,4]", "det([VA])", "[VA]*[VA]"}, "-2\n[7,10;15,22]\n", 0},
        {{"--matrix", "--set", "VA=[1,2;2,4]", "inv([VA])"}, "Matrix inversion error\n", 1},
        {{"--matrix", "det([1,2;3,4])", "[1,2;3,4]*[1;1]", "2*[-1,sqrt(4)]"}, "-2\n[3;7]\n[-2,4]\n", 0},
        {{"--matrix", "[1,2;3]"}, "Syntax error\n", 1},
        {{"--matrix", "--set", "VA=[2,0;0,4]", "--set", "VB=[0.0000000000001;0.0000000000001]", "solve([VA],[VB])"},
         "[5e-14;2.5e-14]\n",
         0},
        {{"--raw", "--matrix", "--set", "VA=[1/3]", "[VA]"}, "[0.33333333333333331]\n", 0},
        {{"--set", "VA=[1,2;3]", "1"},
         "corvan-cli: --set: '[1,2;3]' is not a matrix of equal rows of up to 30 x 30\n",
         2},
        {{"--list", "1,2,3,4", "sum(X)", "avg(X)", "N(X)"}, "10\n2.5\n4\n", 0},
        {{"--list", "1,x", "1"}, "corvan-cli: --list: 'x' is not a real number\n", 2},
        {{"sum(X)"}, "No list available\n", 1},
        {{"--bogus"}, "corvan-cli: unknown option '--bogus'\nTry 'corvan-cli --help'.\n", 2},
        {{"--angle", "turns", "1"},
         "corvan-cli: --angle takes deg, rad or grad, not 'turns'\nTry 'corvan-cli --help'.\n",
         2},
        {{"--set", "VQQ=1", "1"}, "corvan-cli: --set: 'VQQ' is not a variable (VA to VZ, VW)\n", 2},
        {{"--set", "VVV=1", "1"}, "corvan-cli: --set: 'VVV' is not a variable (VA to VZ, VW)\n", 2},
        {{"--set", "VA=1/0", "1"}, "corvan-cli: --set VA: Division error\n", 2},
        {{"--radix"}, "corvan-cli: --radix needs 2, 8, 10 or 16\nTry 'corvan-cli --help'.\n", 2},
    };
    for (const CliCase& c : cases) {
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.out, c.out) << c.arguments.back();
        EXPECT_EQ(run.status, c.status) << c.arguments.back();
    }
}

TEST(CorvanCli, LinesOfStandardInputShareVariablesAndTheAnswer)
{
    const CliRun run = runCli({"--raw", "--engine"}, "6*7\\n[VRE]+1\\n\\n2*-3\\r\\n[VRE]/2\\n");
    EXPECT_EQ(run.out, "42\n43\nEmpty string\nSyntax error\n21.5\n");
    EXPECT_EQ(run.status, 1);
}

TEST(CorvanCli, RefusesOverlongLines)
{
    const CliRun run = runCli({"--raw", "--engine", "1" + std::string(1023, '0')});
    EXPECT_EQ(run.out, "Overlength string\n");
    EXPECT_EQ(run.status, 1);
}

TEST(CorvanCli, ALineOverTheMacroLimitIsOverlongNotAnInvalidMacro)
{
    std::string line = "1";
    while (line.size() < 33000)
        line += "+1";
    const CliRun run = runCli({line});
    EXPECT_EQ(run.out, "Overlength string\n");
    EXPECT_EQ(run.status, 1);
}

// A macro line longer than 511 characters was split at load and lost ("Syntax error"); its
// 492-character twin worked. Ma is x+x+...+x, 121 terms in the short line and 141 in the long
// one. The folders are copied, since the program may rewrite what it reads.
TEST(CorvanCli, MacrosOfAnyLineLengthLoad)
{
    for (const auto& [name, sum] : {std::pair{"macro_short_line", "121\n"}, std::pair{"macro_long_line", "141\n"}}) {
        SCOPED_TRACE(name);
        const std::filesystem::path copy = std::filesystem::temp_directory_path() /
                                           ("corvan-cli-" + std::string(name) + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(copy);
        std::filesystem::copy(std::filesystem::path(CORVAN_TEST_DATA_DIR) / name, copy);
        const CliRun run = runCli({"--folder", copy.string(), "Ma(1)"});
        EXPECT_EQ(run.out, sum);
        EXPECT_EQ(run.status, 0);
        std::filesystem::remove_all(copy);
    }
}

TEST(CorvanCli, TimeoutStopsACalculationOfDays)
{
    const auto start = std::chrono::steady_clock::now();
    const CliRun run = runCli({"--timeout", "1", "2+2", "fnSum(fnSum(1,y,1,999999),x,1,999999)", "3+3"});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // The first line's result, the cancelled one, why it stopped; nothing after it.
    EXPECT_EQ(run.out,
              "4\nCalculation cancelled\ncorvan-cli: stopped: the expression took longer than --timeout 1 s\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_LT(seconds, 10.0);

    // Quick lines are untouched by a limit.
    const CliRun quick = runCli({"--timeout", "0.5", "--raw"}, "6*7\n[ans]+1\n");
    EXPECT_EQ(quick.out, "42\n43\n");
    EXPECT_EQ(quick.status, 0);
    for (const char* bad : {"0", "-1", "abc", "1e3", ""}) {
        const CliRun refused = runCli({"--timeout", bad, "1"});
        EXPECT_EQ(refused.status, 2) << bad;
    }
}

TEST(CorvanCli, HelpListsTheOptions)
{
    const CliRun run = runCli({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* option : {"--engine", "--raw", "--angle", "--radix", "--word", "--set", "--timeout"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

TEST(CliOptions, ReadsSettings)
{
    const CliParse parse = parseCliOptions({"--angle=rad", "--radix", "16", "--word", "8", "-5+1", "FF"});
    ASSERT_TRUE(parse.options);
    EXPECT_EQ(parse.options->angle, AngleMode::Radians);
    EXPECT_EQ(parse.options->radix, 16);
    EXPECT_EQ(parse.options->wordSize, 8);
    EXPECT_EQ(parse.options->expressions, (std::vector<std::string>{"-5+1", "FF"}));
    EXPECT_FALSE(parseCliOptions({"--word", "12"}).options);
    EXPECT_FALSE(parseCliOptions({"--set", "=1"}).options);
}

}  // namespace

namespace {

TEST(CorvanCli, ExpandsTheMacrosOfTheFolder)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("corvan-cli-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    // "Ma" with the parameters x and y and the display text x+y, as macro.mcr stores it.
    const std::u16string line =
        u"Ma\x06"
        u"2\x06"
        u"x,y\x06"
        u"x+y\x06"
        u"x+y\x06"
        u"111\x06";
    std::string bytes;
    for (char16_t c : line) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    std::ofstream(folder / "macro.mcr", std::ios::binary) << bytes;

    const CliRun run = runCli({"--folder", folder.string(), "Ma(2,3)*2", "Ma(1,(2"});
    EXPECT_EQ(run.out, "10\nInvalid macro\n");
    EXPECT_EQ(run.status, 1);
    const CliRun keys = runCli({"--folder", folder.string(), "--keys", "10 44 11 18", "--mode", "rpn"});
    EXPECT_EQ(keys.out, "3\n\n");
    std::filesystem::remove_all(folder);
}

}  // namespace
