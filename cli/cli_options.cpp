#include "cli_options.h"

#include <string_view>

namespace {

// Options that take a value accept both "--name value" and "--name=value".
bool takeValue(const std::vector<std::string>& arguments, std::size_t& i, std::string_view name,
               std::string& value)
{
    const std::string& argument = arguments[i];
    if (argument == name) {
        if (i + 1 >= arguments.size())
            return false;
        value = arguments[++i];
        return true;
    }
    if (argument.size() > name.size() && argument.compare(0, name.size(), name) == 0 &&
        argument[name.size()] == '=') {
        value = argument.substr(name.size() + 1);
        return true;
    }
    return false;
}

bool isValueOption(const std::string& argument, std::string_view name)
{
    return argument == name ||
           (argument.size() > name.size() && argument.compare(0, name.size(), name) == 0 &&
            argument[name.size()] == '=');
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
        } else if (argument == "--help") {
            options.help = true;
        } else if (argument == "--engine") {
            options.engineText = true;
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
           "Options:\n"
           "  --engine           take expressions as engine text, as they stand\n"
           "  --raw              print numbers with %.17g: the real part, or the real and\n"
           "                     imaginary parts separated by a blank\n"
           "  --angle deg|rad|grad   angle mode (default deg)\n"
           "  --radix 2|8|10|16  number base of input and output (default 10)\n"
           "  --word 8|16|32     word size in bits for the base operators (default 32)\n"
           "  --set NAME=VALUE   store the value of an expression in a variable (VA to VZ, VW)\n"
           "  --help             show this text\n"
           "  --                 everything after it is an expression\n"
           "\n"
           "Exit status: 0 when every expression succeeded, 1 when any failed, 2 for bad options.\n";
}
