#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli_options.h"

namespace {

struct CliRun {
    std::string out;
    int status = -1;
};

// Runs the real binary through the shell; arguments are single-quoted and input is a
// printf format, so \\n makes a line end.
CliRun runCli(const std::vector<std::string>& arguments, const std::string& input = {})
{
    std::string command;
    if (!input.empty())
        command = "printf '" + input + "' | ";
    command += CORVAN_CLI_PATH;
    for (const std::string& argument : arguments)
        command += " '" + argument + "'";
    command += " 2>&1";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
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
        {{"--bogus"}, "corvan-cli: unknown option '--bogus'\nTry 'corvan-cli --help'.\n", 2},
        {{"--angle", "turns", "1"}, "corvan-cli: --angle takes deg, rad or grad, not 'turns'\nTry 'corvan-cli --help'.\n", 2},
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

TEST(CorvanCli, HelpListsTheOptions)
{
    const CliRun run = runCli({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* option : {"--engine", "--raw", "--angle", "--radix", "--word", "--set"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

TEST(CliOptions, ReadsSettings)
{
    const CliParse parse =
        parseCliOptions({"--angle=rad", "--radix", "16", "--word", "8", "-5+1", "FF"});
    ASSERT_TRUE(parse.options);
    EXPECT_EQ(parse.options->angle, AngleMode::Radians);
    EXPECT_EQ(parse.options->radix, 16);
    EXPECT_EQ(parse.options->wordSize, 8);
    EXPECT_EQ(parse.options->expressions, (std::vector<std::string>{"-5+1", "FF"}));
    EXPECT_FALSE(parseCliOptions({"--word", "12"}).options);
    EXPECT_FALSE(parseCliOptions({"--set", "=1"}).options);
}

}  // namespace
