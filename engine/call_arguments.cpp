#include "call_arguments.h"

#include <string>

#include "argument_text.h"
#include "engine.h"

std::string_view trimmedBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

CallArguments::CallArguments(Engine& engine, std::string_view text) : engine_(engine)
{
    for (const std::string_view piece : args::split(text))
        pieces_.push_back(trimmedBlanks(piece));
}

bool CallArguments::expect(std::size_t required, std::size_t most)
{
    if (pieces_.size() > required && pieces_.back().empty())
        pieces_.pop_back();
    bool complete = pieces_.size() >= required && pieces_.size() <= most;
    for (const std::string_view piece : pieces_)
        complete = complete && !piece.empty();
    if (!complete)
        engine_.raise(ErrorCode::kCallSyntax);
    return complete;
}

std::string_view CallArguments::text(std::size_t index) const
{
    return index < pieces_.size() ? pieces_[index] : std::string_view{};
}

std::optional<double> CallArguments::number(std::size_t index) const
{
    if (text(index).empty()) {
        engine_.raise(ErrorCode::kCallSyntax);
        return std::nullopt;
    }
    std::string expression(text(index));
    if (!engine_.expandFunctionCalls(expression, 10))
        return std::nullopt;
    const Engine::ScalarResult result = engine_.evaluateScalar(expression, {}, 0.0, 10);
    if (!result.ok || engine_.error() != ErrorCode::kNone)
        return std::nullopt;
    if (!result.value.isReal()) {
        engine_.raise(ErrorCode::kComplexUnsupported);
        return std::nullopt;
    }
    return result.value.re;
}

std::optional<std::vector<double>> CallArguments::numbers(std::size_t first) const
{
    std::vector<double> values;
    for (std::size_t index = first; index < pieces_.size(); ++index) {
        const std::optional<double> value = number(index);
        if (!value)
            return std::nullopt;
        values.push_back(*value);
    }
    return values;
}

std::optional<std::vector<double>> numericArguments(Engine& engine, std::string_view arguments, std::size_t required,
                                                    std::size_t most)
{
    CallArguments list(engine, arguments);
    if (!list.expect(required, most))
        return std::nullopt;
    return list.numbers();
}
