#pragma once

#include <iosfwd>
#include <string>

#include "cli_options.h"
#include "engine.h"

// Evaluates expressions the way the calculator's "=" does and prints one line each.
class CliRunner {
public:
    explicit CliRunner(const CliOptions& options);

    // Stores the --set values. Returns false, with a message on err, when one cannot be stored.
    bool applyAssignments(std::ostream& err);
    // Evaluates one expression and prints its result line; returns true when it succeeded.
    bool evaluateLine(const std::string& line, std::ostream& out);
    // Every expression of the options, or every line of in when there are none. Returns the
    // exit status: 0 when all succeeded, 1 otherwise.
    int run(std::istream& in, std::ostream& out);

private:
    std::string engineText(const std::string& line) const;
    std::string resultText(const ValueCell& result) const;

    CliOptions options_;
    Engine engine_;
};
