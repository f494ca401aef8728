#include <string>

#include "argument_text.h"
#include "c_number.h"
#include "engine.h"
#include "matrix_literal.h"
#include "matrix_operator_table.h"
#include "text_split.h"
#include "tokenizer.h"

bool Engine::rewriteSolveCalls(std::string& text)
{
    static constexpr std::string_view kSolve = "solve(";
    for (std::size_t at = text.find(kSolve); at != std::string::npos; at = text.find(kSolve, at)) {
        const std::size_t open = at + kSolve.size() - 1;
        const std::size_t close = args::matchingParenthesis(text, open);
        if (close == args::npos) {
            raise(ErrorCode::kSyntax);
            return false;
        }
        const std::string_view arguments = std::string_view(text).substr(open + 1, close - open - 1);
        const std::size_t comma = args::firstTopLevelComma(arguments);
        if (comma == args::npos) {
            raise(ErrorCode::kSyntax);
            return false;
        }
        // The solution of A X = B; the outer parentheses keep it one operand, so the text after
        // the call ('solve(A,B)+C') still takes part.
        std::string replacement = "(inv(";
        replacement.append(arguments.substr(0, comma));
        replacement.append(")*(");
        replacement.append(arguments.substr(comma + 1));
        replacement.append("))");
        text.replace(at, close + 1 - at, replacement);
        at += replacement.size();
    }
    return true;
}

std::optional<ValueCell> Engine::evaluateMatrixLiteral(std::string_view literal)
{
    const auto rows = matrix_literal::cells(literal);
    if (!rows) {
        raise(ErrorCode::kSyntax);
        return std::nullopt;
    }
    std::vector<double> elements;
    for (const std::vector<std::string_view>& row : *rows) {
        for (std::string_view element : row) {
            const ScalarResult value = evaluateScalar(element, {}, 0.0, 10);
            if (!value.ok || error_ != ErrorCode::kNone) {
                if (error_ == ErrorCode::kNone)
                    raise(ErrorCode::kSyntax);
                return std::nullopt;
            }
            if (value.value.im != 0.0) {
                raise(ErrorCode::kComplexUnsupported);
                return std::nullopt;
            }
            elements.push_back(value.value.re);
        }
    }
    ValueCell cell;
    cell.storeMatrix(static_cast<std::uint16_t>(rows->size()), static_cast<std::uint16_t>(rows->front().size()),
                     elements.data());
    return cell;
}

ValueCell Engine::evaluateMatrix(std::string_view text)
{
    ValueCell& result = slots[VariableSlots::kResult];
    if (stopRequested())
        return result;
    std::string postfix(text);
    if (!rewriteSolveCalls(postfix) || !compile(postfix, 10, {}))
        return result;

    MatrixStack stack;
    std::vector<std::size_t> groups;
    OperatorContext operatorContext = context();
    bool ok = true;
    forEachToken(postfix, [&](std::string_view token) {
        if (!ok || operatorContext.stopRequested()) {
            ok = false;
            return;
        }
        if (MatrixOperation operation = findMatrixOperation(token)) {
            operation(stack, groups.empty() ? 0 : groups.back(), operatorContext);
            ok = !operatorContext.failed();
        } else if (token.front() == '[') {
            std::optional<ValueCell> literal = evaluateMatrixLiteral(token);
            ok = literal.has_value();
            if (ok)
                stack.push_back(std::move(*literal));
        } else if (token == "(") {
            groups.push_back(stack.size());
        } else if (token == ")") {
            if (!groups.empty())
                groups.pop_back();
        } else {
            double value = 0.0;
            ValueCell cell;
            if (cnum::parsePrefix(token, value) > 0) {
                // A token that converts even in part is a number, as it always was here.
                cell.storeScalar(value);
            } else {
                const int slot = VariableSlots::find(token);
                if (slot < 0) {
                    raise(ErrorCode::kSyntax);
                    ok = false;
                    return;
                }
                const ValueCell& stored = slots[slot];
                if (stored.isMatrix())
                    cell = stored;
                else
                    cell.storeScalar(stored.re);
            }
            stack.push_back(std::move(cell));
        }
    });
    if (!ok || stack.empty())
        return result;
    if (stack.front().isMatrix())
        result = std::move(stack.front());
    else
        result.storeScalar(stack.front().re);
    return result;
}
