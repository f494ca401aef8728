#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "cli_options.h"

// The tools of the command line (--convert, --units, --constant, --constants, --rates,
// --update-rates, --lunar, --solar, --days, --weekday): the models of the windows on the data
// files of the program folder. One line per result on out; a result that cannot be computed is
// a line with its error, and a malformed argument a message on err. Returns the exit status:
// 0 when every result was computed, 1 when any failed, 2 for a malformed argument.
int runTool(const CliOptions& options, std::ostream& out, std::ostream& err);

// A civil date and time as the tools take it: "YYYY-MM-DD", with "THH:MM:SS" when withTime.
struct CliDate {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool hasTime = false;
};
// Nothing, with the reason, for text of another shape, a day the month lacks (30 February),
// a year outside 1..9999 or a time out of range.
std::optional<CliDate> parseCliDate(std::string_view text, bool withTime, std::string& error);

// A lunar date "D/M/YYYY", with "L" after the year for the leap month.
struct CliLunarDate {
    int day = 0;
    int month = 0;
    int year = 0;
    bool leap = false;
};
std::optional<CliLunarDate> parseCliLunarDate(std::string_view text, std::string& error);

// The ASCII spelling of a unit symbol, by which a shell user may name it: "°F" is "degF",
// "µm" is "um", "m²" is "m2", "Ω" is "Ohm".
std::string asciiSpelling(std::u16string_view symbol);
