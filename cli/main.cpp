#include <iostream>
#include <string>
#include <vector>

#include "cli_keys.h"
#include "cli_options.h"
#include "cli_runner.h"
#include "cli_tools.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const CliParse parse = parseCliOptions(arguments);
    if (!parse.options) {
        std::cerr << "corvan-cli: " << parse.error << "\n"
                  << "Try 'corvan-cli --help'.\n";
        return 2;
    }
    if (parse.options->help) {
        std::cout << cliUsage();
        return 0;
    }
    if (!parse.options->tool.empty())
        return runTool(*parse.options, std::cout, std::cerr);
    if (parse.options->keys)
        return runKeys(*parse.options, std::cout);
    CliRunner runner(*parse.options);
    if (!runner.applyAssignments(std::cerr) || !runner.applyList(std::cerr))
        return runner.timedOut() ? 1 : 2;
    return runner.run(std::cin, std::cout, std::cerr);
}
