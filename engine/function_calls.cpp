#include "function_calls.h"

#include <iterator>

#include "calculus.h"
#include "engine.h"
#include "finance_functions.h"
#include "integer_calls.h"
#include "integer_functions.h"
#include "list_statistics.h"
#include "real_calls.h"

namespace {

using FunctionCall = double (*)(Engine& engine, std::string_view arguments, int radix);

// RT is rewritten into "root" by the engine, never computed: asked for a value, a clear error
// rather than a made-up one.
double rewrittenNotComputed(Engine& engine, std::string_view, int)
{
    engine.raise(ErrorCode::kSyntax);
    return 0.0;
}

struct FunctionEntry {
    std::string_view name;
    FunctionCall call;
};

// A row's position is its function number, and the order is the search order of
// findNextFunctionCall: keep it when adding a row at the end.
constexpr FunctionEntry kFunctions[] = {
    {"RT", rewrittenNotComputed},
    {"fnInt", callFnInt},
    {"fnDeriv", callFnDeriv},
    {"fnEval", callFnEval},
    {"gcd", callGcd},
    {"fnRoot", callFnRoot},
    {"lcm", callLcm},
    {"module", callModule},
    {"fib", callFib},
    {"ran", callRan},
    {"fnSum", callFnSum},
    {"fnProduct", callFnProduct},
    {"sum", callListSum},
    {"ssq", callListSsq},
    {"N", callListCount},
    {"avg", callListAverage},
    {"sdv", callListSdv},
    {"ssd", callListSsd},
    {"min", callListMin},
    {"max", callListMax},
    {"avd", callListAvd},
    {"median", callListMedian},
    {"md", callListMode},
    {"dsq", callListDsq},
    {"gm", callListGeometric},
    {"ncr", callNcr},
    {"npr", callNpr},
    {"db", callDb},
    {"syd", callSyd},
    {"sln", callSln},
    {"pv", callPv},
    {"nper", callNper},
    {"rate", callRate},
    {"pmt", callPmt},
    {"fv", callFv},
    {"not", callNot},
    {"cpl", callCpl},
    {"hypot", callHypot},
};

const FunctionEntry& entryOf(int number)
{
    return kFunctions[static_cast<std::size_t>(number)];
}

}  // namespace

int functionCallCount()
{
    return static_cast<int>(std::size(kFunctions));
}

std::string_view functionCallName(int number)
{
    return entryOf(number).name;
}

std::optional<FunctionCallSite> findNextFunctionCall(std::string_view text)
{
    for (int number = 0; number < functionCallCount(); ++number) {
        const std::string_view name = entryOf(number).name;
        const std::size_t at = text.find(name);
        if (at != std::string_view::npos)
            return FunctionCallSite{number, at, at + name.size()};
    }
    return std::nullopt;
}

double callFunction(Engine& engine, int number, std::string_view arguments, int radix)
{
    return entryOf(number).call(engine, arguments, radix);
}
