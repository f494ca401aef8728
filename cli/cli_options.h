#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine_settings.h"
#include "input_mode.h"
#include "result_format.h"

// What the command line asked for.
struct CliOptions {
    bool engineText = false;  // --engine: expressions are engine text, not display text
    bool raw = false;         // --raw: print "%.17g" numbers
    bool help = false;
    AngleMode angle = AngleMode::Degrees;
    int radix = 10;
    int wordSize = 32;
    DisplayFormat format = DisplayFormat::Norm;
    int fixDigits = 4;
    std::optional<OutputFormat> output;    // --output; United States when not given
    std::optional<std::vector<int>> keys;  // --keys: key codes for the calculator's display
    int category = 0;                      // --category, for --keys
    std::string folder;                    // --folder: the program folder (state for --keys, macros)
    std::optional<InputMode> mode;         // --mode: the input mode for --keys
    bool matrixMode = false;               // --matrix
    std::vector<std::pair<std::string, std::string>> assignments;  // --set NAME=VALUE, in order
    std::optional<std::string> list;                               // --list v1,v2,...: the statistics list
    std::optional<double> timeoutSeconds;  // --timeout SECONDS: the longest one evaluation may take
    std::vector<std::string> expressions;  // none: read standard input
    // The tools: --convert, --units, --constant, --constants, --rates, --update-rates, --lunar,
    // --solar, --days or --weekday (the option's name without "--"; empty for none) and the
    // arguments that follow it, in order.
    std::string tool;
    std::vector<std::string> toolArguments;
    std::optional<std::string> url;  // --url, for --update-rates
};

struct CliParse {
    std::optional<CliOptions> options;  // empty when the command line is wrong
    std::string error;                  // why, for the user
};

CliParse parseCliOptions(const std::vector<std::string>& arguments);

// The text of --help.
const char* cliUsage();
