#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

class Engine;

// The named functions computed before tokenizing; a call's position in the table is its
// function number, from 0 to functionCallCount() - 1. Names are case-sensitive.
namespace FunctionNumber {
constexpr int kRoot = 0;  // "RT": the x-th root, rewritten into "root" rather than computed
}  // namespace FunctionNumber

int functionCallCount();
std::string_view functionCallName(int number);

struct FunctionCallSite {
    int number = 0;
    std::size_t nameBegin = 0;
    std::size_t nameEnd = 0;
};

// The call to expand next: the first name in table order (not text order) that occurs anywhere
// in the text, at its first occurrence. The search is a plain substring search, so an upper-case
// "N" inside "[VN]" is taken as a call of N; stored expressions and macros rely on the order.
std::optional<FunctionCallSite> findNextFunctionCall(std::string_view text);

// Value of function `number` (any but kRoot) for its argument text in the given radix. Failures
// raise the engine error; the value is then meaningless.
double callFunction(Engine& engine, int number, std::string_view arguments, int radix);
