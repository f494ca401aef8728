#pragma once

#include <iosfwd>

#include "cli_options.h"

// --keys: feeds key codes to the calculator model as its keypads would and prints the current
// line's input and the result text. Nothing is written to the program folder. Returns the
// exit status.
int runKeys(const CliOptions& options, std::ostream& out);
