#include "integer_functions.h"

#include <optional>
#include <string>

#include "engine.h"
#include "integer_operators.h"

namespace {

std::optional<std::int64_t> integerArgument(Engine& engine, std::string_view arguments, int radix)
{
    std::string text(arguments);
    if (!engine.expandFunctionCalls(text, radix))
        return std::nullopt;
    const Engine::ScalarResult result = engine.evaluateScalar(text, {}, 0.0, radix);
    if (!result.ok || engine.error() != ErrorCode::kNone)
        return std::nullopt;
    if (!result.value.isReal()) {
        engine.raise(ErrorCode::kComplexUnsupported);
        return std::nullopt;
    }
    const auto value = integer_ops::asInt64(result.value.re);
    if (!value)
        engine.raise(ErrorCode::kInvalidType);
    return value;
}

}  // namespace

double callNot(Engine& engine, std::string_view arguments, int radix)
{
    const auto x = integerArgument(engine, arguments, radix);
    return x ? integer_ops::bitwiseNot(*x, engine.settings.wordSize) : 0.0;
}

double callCpl(Engine& engine, std::string_view arguments, int radix)
{
    const auto x = integerArgument(engine, arguments, radix);
    return x ? integer_ops::twosComplement(*x, engine.settings.wordSize) : 0.0;
}
