#include <vector>

#include "text_split.h"
#include "tokenizer.h"

namespace {

// Moves operators from the stack to the output while they bind at least as tightly as the
// incoming binary operator; "^" is right-associative, so an equal "^" stays.
void yieldTo(std::string_view token, std::vector<std::string_view>& stack, std::string& out)
{
    const OperatorClass tokenClass = operatorClass(token);
    while (!stack.empty()) {
        const OperatorClass topClass = operatorClass(stack.back());
        if (tokenClass > topClass || (tokenClass == topClass && token == "^"))
            break;
        out.append(stack.back());
        out.push_back(' ');
        stack.pop_back();
    }
}

}  // namespace

bool toPostfix(std::string& text)
{
    std::vector<std::string_view> stack;
    std::string out;
    out.reserve(text.size() + 8);
    bool afterBinary = false;
    bool ok = true;

    forEachToken(text, [&](std::string_view token) {
        if (!ok)
            return;
        auto emit = [&out](std::string_view t) {
            out.append(t);
            out.push_back(' ');
        };
        if (isBinaryOperator(token)) {
            if (afterBinary) {
                ok = false;
                return;
            }
            yieldTo(token, stack, out);
            stack.push_back(token);
            afterBinary = true;
        } else if (token == "(") {
            afterBinary = false;
            stack.push_back(token);
            emit(token);
        } else if (token == ")") {
            while (!stack.empty() && stack.back() != "(") {
                emit(stack.back());
                stack.pop_back();
            }
            if (stack.empty()) {
                ok = false;
                return;
            }
            emit(token);
            stack.pop_back();
        } else if (operatorClass(token) == OperatorClass::Function) {
            afterBinary = false;
            stack.push_back(token);
        } else if (token == "!" || token == "%") {
            if (afterBinary) {
                ok = false;
                return;
            }
            emit(token);
        } else {
            afterBinary = false;
            emit(token);
        }
    });
    if (!ok)
        return false;
    while (!stack.empty()) {
        out.append(stack.back());
        out.push_back(' ');
        stack.pop_back();
    }
    text = std::move(out);
    return true;
}
