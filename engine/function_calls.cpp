#include "function_calls.h"

#include <array>

#include "calculus.h"
#include "engine.h"
#include "finance_functions.h"
#include "integer_calls.h"
#include "integer_functions.h"
#include "list_statistics.h"

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
    calls[1] = callFnInt;
    calls[2] = callFnDeriv;
    calls[3] = callFnEval;
    calls[4] = callGcd;
    calls[5] = callFnRoot;
    calls[6] = callLcm;
    calls[7] = callModule;
    calls[8] = callFib;
    calls[9] = callRan;
    calls[10] = callFnSum;
    calls[11] = callFnProduct;
    calls[12] = callListSum;
    calls[13] = callListSsq;
    calls[14] = callListCount;
    calls[15] = callListAverage;
    calls[16] = callListSdv;
    calls[17] = callListSsd;
    calls[18] = callListMin;
    calls[19] = callListMax;
    calls[20] = callListAvd;
    calls[21] = callListMedian;
    calls[22] = callListMode;
    calls[23] = callListDsq;
    calls[24] = callListGeometric;
    calls[25] = callNcr;
    calls[26] = callNpr;
    calls[27] = callDb;
    calls[28] = callSyd;
    calls[29] = callSln;
    calls[30] = callPv;
    calls[31] = callNper;
    calls[32] = callRate;
    calls[33] = callPmt;
    calls[34] = callFv;
    calls[FunctionNumber::kNot] = callNot;
    calls[FunctionNumber::kCpl] = callCpl;
    return calls;
}();

}  // namespace

std::string_view functionCallName(int number)
{
    return kNames[static_cast<std::size_t>(number)];
}

std::optional<FunctionCallSite> findNextFunctionCall(std::string_view text)
{
    for (int number = 0; number < FunctionNumber::kCount; ++number) {
        const std::string_view name = kNames[static_cast<std::size_t>(number)];
        const std::size_t at = text.find(name);
        if (at != std::string_view::npos)
            return FunctionCallSite{number, at, at + name.size()};
    }
    return std::nullopt;
}

double callFunction(Engine& engine, int number, std::string_view arguments, int radix)
{
    return kCalls[static_cast<std::size_t>(number)](engine, arguments, radix);
}
