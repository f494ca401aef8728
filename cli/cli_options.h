#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine_settings.h"

// What the command line asked for.
struct CliOptions {
    bool engineText = false;  // --engine: expressions are engine text, not display text
    bool raw = false;         // --raw: print "%.17g" numbers
    bool help = false;
    AngleMode angle = AngleMode::Degrees;
    int radix = 10;
    int wordSize = 32;
    std::vector<std::pair<std::string, std::string>> assignments;  // --set NAME=VALUE, in order
    std::vector<std::string> expressions;                          // none: read standard input
};

struct CliParse {
    std::optional<CliOptions> options;  // empty when the command line is wrong
    std::string error;                  // why, for the user
};

CliParse parseCliOptions(const std::vector<std::string>& arguments);

// The text of --help.
const char* cliUsage();
