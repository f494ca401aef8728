#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

struct CliRun {
    std::string out;
    int status = -1;
};

// Runs the real corvan-cli through the shell after shellPrefix (environment settings or a
// pipe feeding its input); arguments are single-quoted, output and errors merged.
inline CliRun runCliCommand(const std::string& shellPrefix, const std::vector<std::string>& arguments)
{
    std::string command = shellPrefix + CORVAN_CLI_PATH;
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
