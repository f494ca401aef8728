#include "function_calls.h"

#include <array>

#include "ascii.h"
#include "engine.h"

namespace {

constexpr std::array<std::string_view, FunctionNumber::kCount> kNames = {
    "RT",   "fnInt", "fnDeriv", "fnEval", "gcd",   "fnRoot", "lcm",      "module",
    "fib",  "ran",   "fnSum",   "fnProduct", "sum", "ssq",   "N",        "avg",
    "sdv",  "ssd",   "min",     "max",    "avd",   "median", "md",       "dsq",
    "gm",   "ncr",   "npr",     "db",     "syd",   "sln",    "pv",       "nper",
    "rate", "pmt",   "fv",      "not",    "cpl",
};

using FunctionCall = double (*)(Engine& engine, std::string_view arguments, int radix);

// Stands for a function that this build does not provide: a clear error, never a made-up value.
double unavailable(Engine& engine, std::string_view, int)
{
    engine.raise(ErrorCode::kSyntax);
    return 0.0;
}

constexpr std::array<FunctionCall, FunctionNumber::kCount> kCalls = [] {
    std::array<FunctionCall, FunctionNumber::kCount> calls{};
    calls.fill(unavailable);
    return calls;
}();

bool isWordChar(char c)
{
    return ascii::isAlnum(c);
}

std::size_t findWholeWord(std::string_view text, std::string_view name)
{
    for (std::size_t at = text.find(name); at != std::string_view::npos; at = text.find(name, at + 1)) {
        const bool startsWord = at == 0 || !ascii::isLetter(text[at - 1]);
        const std::size_t end = at + name.size();
        const bool endsWord = end == text.size() || !isWordChar(text[end]);
        if (startsWord && endsWord)
            return at;
    }
    return std::string_view::npos;
}

}  // namespace

std::string_view functionCallName(int number)
{
    return kNames[static_cast<std::size_t>(number)];
}

std::optional<FunctionCallSite> findNextFunctionCall(std::string_view text)
{
    for (int number = 0; number < FunctionNumber::kCount; ++number) {
        const std::string_view name = kNames[static_cast<std::size_t>(number)];
        const std::size_t at = findWholeWord(text, name);
        if (at != std::string_view::npos)
            return FunctionCallSite{number, at, at + name.size()};
    }
    return std::nullopt;
}

double callFunction(Engine& engine, int number, std::string_view arguments, int radix)
{
    return kCalls[static_cast<std::size_t>(number)](engine, arguments, radix);
}
