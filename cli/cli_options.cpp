#include "cli_options.h"

#include <locale>
#include <sstream>
#include <string_view>

namespace {

constexpr int kLastKeyCode = 159;

// A tool option and how many arguments it takes (fewest, most; -1 for no limit).
struct ToolOption {
    std::string_view name;
    int fewest;
    int most;
    std::string_view usage;
};
constexpr ToolOption kToolOptions[] = {
    {"convert", 2, -1, "--convert FROM TO [VALUE ...]"},
    {"units", 0, 1, "--units [CATEGORY]"},
    {"constant", 1, 1, "--constant NAME"},
    {"constants", 0, 0, "--constants"},
    {"rates", 0, 0, "--rates"},
    {"update-rates", 0, 0, "--update-rates [--url URL]"},
    {"lunar", 1, 1, "--lunar YYYY-MM-DD"},
    {"solar", 1, 1, "--solar D/M/YYYY[L]"},
    {"days", 2, 2, "--days FROM TO"},
    {"weekday", 1, 1, "--weekday YYYY-MM-DD"},
};

const ToolOption* toolOption(std::string_view argument)
{
    for (const ToolOption& tool : kToolOptions)
        if (argument.size() == tool.name.size() + 2 && argument.substr(2) == tool.name)
            return &tool;
    return nullptr;
}
constexpr int kLastCategory = 14;

// Options that take a value accept both "--name value" and "--name=value".
bool takeValue(const std::vector<std::string>& arguments, std::size_t& i, std::string_view name, std::string& value)
{
    const std::string& argument = arguments[i];
    if (argument == name) {
        if (i + 1 >= arguments.size())
            return false;
        value = arguments[++i];
        return true;
    }
    if (argument.size() > name.size() && argument.compare(0, name.size(), name) == 0 && argument[name.size()] == '=') {
        value = argument.substr(name.size() + 1);
        return true;
    }
    return false;
}

bool isValueOption(const std::string& argument, std::string_view name)
{
    return argument == name || (argument.size() > name.size() && argument.compare(0, name.size(), name) == 0 &&
                                argument[name.size()] == '=');
}

// "10", "0.5": a plain decimal number above 0 and at most a year.
std::optional<double> positiveSeconds(const std::string& text)
{
    if (text.empty() || text.size() > 16 || text.find_first_not_of("0123456789.") != std::string::npos ||
        text.find_first_of("0123456789") == std::string::npos)
        return std::nullopt;
    double seconds = 0.0;
    std::istringstream stream(text);
    stream.imbue(std::locale::classic());
    if (!(stream >> seconds) || !stream.eof() || !(seconds > 0.0) || seconds > 366.0 * 86400.0)
        return std::nullopt;
    return seconds;
}

}  // namespace

CliParse parseCliOptions(const std::vector<std::string>& arguments)
{
    CliOptions options;
    bool onlyExpressions = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::string value;
        if (onlyExpressions || argument.empty() || argument[0] != '-' || argument == "-" ||
            (argument.size() > 1 && argument[1] != '-')) {
            // "-5+2" is an expression, not an option.
            options.expressions.push_back(argument);
        } else if (argument == "--") {
            onlyExpressions = true;
        } else if (const ToolOption* tool = toolOption(argument)) {
            if (!options.tool.empty())
                return {std::nullopt, "--" + options.tool + " and " + argument + " cannot be used together"};
            options.tool = tool->name;
        } else if (isValueOption(argument, "--url")) {
            if (!takeValue(arguments, i, "--url", value) || value.empty())
                return {std::nullopt, "--url needs a URL"};
            options.url = value;
        } else if (argument == "--help") {
            options.help = true;
        } else if (argument == "--engine") {
            options.engineText = true;
        } else if (argument == "--matrix") {
            options.matrixMode = true;
        } else if (isValueOption(argument, "--list")) {
            if (!takeValue(arguments, i, "--list", value))
                return {std::nullopt, "--list needs values separated by commas"};
            options.list = value;
        } else if (argument == "--raw") {
            options.raw = true;
        } else if (isValueOption(argument, "--angle")) {
            if (!takeValue(arguments, i, "--angle", value))
                return {std::nullopt, "--angle needs deg, rad or grad"};
            if (value == "deg")
                options.angle = AngleMode::Degrees;
            else if (value == "rad")
                options.angle = AngleMode::Radians;
            else if (value == "grad")
                options.angle = AngleMode::Grads;
            else
                return {std::nullopt, "--angle takes deg, rad or grad, not '" + value + "'"};
        } else if (isValueOption(argument, "--radix")) {
            if (!takeValue(arguments, i, "--radix", value))
                return {std::nullopt, "--radix needs 2, 8, 10 or 16"};
            if (value != "2" && value != "8" && value != "10" && value != "16")
                return {std::nullopt, "--radix takes 2, 8, 10 or 16, not '" + value + "'"};
            options.radix = std::stoi(value);
        } else if (isValueOption(argument, "--word")) {
            if (!takeValue(arguments, i, "--word", value))
                return {std::nullopt, "--word needs 8, 16 or 32"};
            if (value != "8" && value != "16" && value != "32")
                return {std::nullopt, "--word takes 8, 16 or 32, not '" + value + "'"};
            options.wordSize = std::stoi(value);
        } else if (isValueOption(argument, "--format")) {
            if (!takeValue(arguments, i, "--format", value))
                return {std::nullopt, "--format needs fix, norm or sci"};
            if (value == "fix")
                options.format = DisplayFormat::Fix;
            else if (value == "norm")
                options.format = DisplayFormat::Norm;
            else if (value == "sci")
                options.format = DisplayFormat::Sci;
            else
                return {std::nullopt, "--format takes fix, norm or sci, not '" + value + "'"};
        } else if (isValueOption(argument, "--digits")) {
            if (!takeValue(arguments, i, "--digits", value))
                return {std::nullopt, "--digits needs a number from 0 to 10"};
            if (value.empty() || value.size() > 2 || value.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(value) > 10)
                return {std::nullopt, "--digits takes a number from 0 to 10, not '" + value + "'"};
            options.fixDigits = std::stoi(value);
        } else if (isValueOption(argument, "--output")) {
            if (!takeValue(arguments, i, "--output", value))
                return {std::nullopt, "--output needs us or eu"};
            if (value == "us")
                options.output = OutputFormat::UnitedStates;
            else if (value == "eu")
                options.output = OutputFormat::European;
            else
                return {std::nullopt, "--output takes us or eu, not '" + value + "'"};
        } else if (isValueOption(argument, "--keys")) {
            if (!takeValue(arguments, i, "--keys", value))
                return {std::nullopt, "--keys needs key codes separated by blanks"};
            std::vector<int> codes;
            std::istringstream stream(value);
            std::string code;
            while (stream >> code) {
                if (code.size() > 3 || code.find_first_not_of("0123456789") != std::string::npos ||
                    std::stoi(code) > kLastKeyCode)
                    return {std::nullopt, "--keys takes key codes from 0 to 159, not '" + code + "'"};
                codes.push_back(std::stoi(code));
            }
            options.keys = std::move(codes);
        } else if (isValueOption(argument, "--category")) {
            if (!takeValue(arguments, i, "--category", value) || value.empty() || value.size() > 2 ||
                value.find_first_not_of("0123456789") != std::string::npos || std::stoi(value) > kLastCategory)
                return {std::nullopt, "--category takes a category code from 0 to 14"};
            options.category = std::stoi(value);
        } else if (isValueOption(argument, "--mode")) {
            if (!takeValue(arguments, i, "--mode", value) || (value != "string" && value != "basic" && value != "rpn"))
                return {std::nullopt, "--mode takes string, basic or rpn"};
            options.mode = value == "string"  ? InputMode::StringStandard
                           : value == "basic" ? InputMode::BasicStandard
                                              : InputMode::BasicRpn;
        } else if (isValueOption(argument, "--folder")) {
            if (!takeValue(arguments, i, "--folder", value) || value.empty())
                return {std::nullopt, "--folder needs a folder"};
            options.folder = value;
        } else if (isValueOption(argument, "--timeout")) {
            if (!takeValue(arguments, i, "--timeout", value))
                return {std::nullopt, "--timeout needs a number of seconds"};
            const std::optional<double> seconds = positiveSeconds(value);
            if (!seconds)
                return {std::nullopt, "--timeout takes a number of seconds above 0, not '" + value + "'"};
            options.timeoutSeconds = seconds;
        } else if (isValueOption(argument, "--set")) {
            if (!takeValue(arguments, i, "--set", value))
                return {std::nullopt, "--set needs NAME=VALUE"};
            const std::size_t equals = value.find('=');
            if (equals == std::string::npos || equals == 0 || equals + 1 == value.size())
                return {std::nullopt, "--set takes NAME=VALUE, not '" + value + "'"};
            options.assignments.emplace_back(value.substr(0, equals), value.substr(equals + 1));
        } else {
            return {std::nullopt, "unknown option '" + argument + "'"};
        }
    }
    if (options.url && options.tool != "update-rates")
        return {std::nullopt, "--url goes with --update-rates"};
    if (!options.tool.empty()) {
        // The words after a tool option are its arguments.
        const ToolOption& tool = *toolOption("--" + options.tool);
        const int count = static_cast<int>(options.expressions.size());
        if (count < tool.fewest || (tool.most >= 0 && count > tool.most))
            return {std::nullopt, "usage: corvan-cli " + std::string(tool.usage)};
        options.toolArguments = std::move(options.expressions);
        options.expressions.clear();
    }
    return {options, {}};
}

const char* cliUsage()
{
    return "Usage: corvan-cli [options] [EXPR ...]\n"
           "Evaluates each EXPR, or each line of standard input when none is given, as the\n"
           "calculator's \"=\" does, and prints one line per expression: the result or the\n"
           "error message. A line of standard input sees the variables and the answer of the\n"
           "lines before it.\n"
           "\n"
           "Expressions are written as on the calculator's display: implicit products such as\n"
           "2(3) or 2pi, .5, the signs \u00d7 \u00f7 \u2212 \u221a, 'exp' for a power of ten and\n"
           "[ans] for the previous answer; '.' is the decimal point.\n"
           "\n"
           "Options, each with an example:\n"
           "  --engine           take expressions as engine text, as they stand\n"
           "                       corvan-cli --engine '2*(3+4)'          # 14\n"
           "  --raw              print numbers with %.17g: the real part, or the real and\n"
           "                     imaginary parts separated by a blank\n"
           "                       corvan-cli --raw 1/3                   # 0.33333333333333331\n"
           "  --format fix|norm|sci  display format of results (default norm)\n"
           "                       corvan-cli --format sci 1234.5         # 1.2345000000e+03\n"
           "  --digits N         decimals in fix format, 0 to 10 (default 4)\n"
           "                       corvan-cli --format fix --digits 2 2/3 # 0.67\n"
           "  --output us|eu     separators of printed results: 1,234.5 or 1.234,5\n"
           "                       corvan-cli --output eu 1234567.5       # 1.234.567,5\n"
           "  --angle deg|rad|grad   angle mode (default deg)\n"
           "                       corvan-cli --angle rad 'cos(pi)'       # -1\n"
           "  --radix 2|8|10|16  number base of input and output (default 10)\n"
           "                       corvan-cli --radix 16 --word 8 FF+1    # 00\n"
           "  --word 8|16|32     word size in bits for the base operators (default 32)\n"
           "                       corvan-cli --radix 2 --word 8 101*11   # 00001111\n"
           "  --matrix           evaluate in matrix mode: [VA]*inv([VB]), solve([VA],[VB])\n"
           "                       corvan-cli --matrix --set 'VA=[1,2;3,4]' 'det([VA])'   # -2\n"
           "  --set NAME=VALUE   store a value in a variable (VA to VZ, VW): an expression, or a\n"
           "                     matrix of up to 30 x 30 written [1,2;3,4]\n"
           "                       corvan-cli --set VA=2 '[VA]+1'         # 3\n"
           "  --list V1,V2,...   fill the statistics list read by sum(X), avg(X), sdv(X), ...\n"
           "                       corvan-cli --list 1,2,3,4 'avg(X)'     # 2.5\n"
           "  --keys \"CODES\"     feed key codes (numbers separated by blanks) to the\n"
           "                     calculator's display as its keypads would, then print the\n"
           "                     current line and the result, each on a line of its own\n"
           "                       corvan-cli --keys '10 18 11 8 12 19'   # 1+2\u00d73, then 7\n"
           "  --category N       the category for --keys (0 Arithmetic, 1 Trigonometry,\n"
           "                     2 Base conversion, 4 matrices, ...; default 0)\n"
           "                       corvan-cli --category 2 --keys '148 138 77 77 19'   # FF\n"
           "  --mode string|basic|rpn  the input mode for --keys (default: the folder's)\n"
           "                       corvan-cli --mode rpn --keys '10 44 11 18'\n"
           "  --folder DIR       the program folder: --keys starts from its state, the macros\n"
           "                     of its *.mcr files expand in expressions, and the tools below\n"
           "                     read its data files\n"
           "                       corvan-cli --folder ~/corvan-test 'Ma(2,3)'\n"
           "  --timeout SECONDS  stop an expression that takes longer than this: it prints\n"
           "                     \"Calculation cancelled\", and corvan-cli ends with status 1\n"
           "                       corvan-cli --timeout 5 'fnSum(fnSum(1,y,1,999999),x,1,999999)'\n"
           "\n"
           "Tools, from the data files of the program folder (--folder, or ~/.local/share/corvan;\n"
           "missing files are copied in from the shipped ones, as the window does):\n"
           "  --convert FROM TO [VALUE ...]  convert each VALUE (an expression, default 1)\n"
           "                     between units or currencies, named by symbol (an ASCII\n"
           "                     spelling such as degF for \u00b0F or um for \u00b5m will do) or by\n"
           "                     name in any case; --raw prints %.17g\n"
           "                       corvan-cli --convert mi km 1 26.2     # 1.609344, 42.1648128\n"
           "  --units [CATEGORY] list the unit categories, or the units of one (symbol, name)\n"
           "                       corvan-cli --units Length\n"
           "  --constant NAME    print a constant's value and unit, separated by a tab\n"
           "                       corvan-cli --constant 'Planck constant h'\n"
           "  --constants        list every constant (name, value, unit)\n"
           "                       corvan-cli --constants\n"
           "  --rates            print the date of the currency rates, then each currency\n"
           "                     (code, units per base currency, name)\n"
           "                       corvan-cli --rates\n"
           "  --update-rates [--url URL]  download new rates (default: the address in the\n"
           "                     preferences, or the European Central Bank's daily rates)\n"
           "                       corvan-cli --update-rates\n"
           "  --lunar YYYY-MM-DD the lunar date (UTC+7) of a date: D/M/YYYY, ' leap' for a\n"
           "                     leap month, a tab and the year's name\n"
           "                       corvan-cli --lunar 2026-02-17         # 1/1/2026<TAB>Binh Ngo\n"
           "  --solar D/M/YYYY[L]  the date of a lunar date; L names the leap month\n"
           "                       corvan-cli --solar 1/4/2020L          # 2020-05-23\n"
           "  --days FROM TO     days from FROM to TO (YYYY-MM-DD, optionally THH:MM:SS; with\n"
           "                     times also hours, minutes and seconds)\n"
           "                       corvan-cli --days 2026-01-01 2026-12-25   # 358\n"
           "  --weekday YYYY-MM-DD  the day of the week\n"
           "                       corvan-cli --weekday 2026-02-17       # Tuesday\n"
           "\n"
           "  --url URL          the address for --update-rates\n"
           "                       corvan-cli --update-rates --url https://example.org/currency.dat\n"
           "  --help             show this text\n"
           "                       corvan-cli --help\n"
           "  --                 everything after it is an expression\n"
           "                       corvan-cli -- --1                      # Syntax error\n"
           "\n"
           "Exit status: 0 when every expression (or tool result) succeeded, 1 when any failed,\n"
           "2 for bad options.\n";
}
