#pragma once

#include <string_view>

#include "ascii.h"

// Calls visit(token) for each blank-separated token of text, skipping empty ones.
template <class Visit>
void forEachToken(std::string_view text, Visit visit)
{
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        std::size_t end = text.find(' ', i);
        if (end == std::string_view::npos)
            end = text.size();
        visit(text.substr(i, end - i));
        i = end;
    }
}

// Whether a token starts as a number does, with a digit or a point: no operator name does.
// Numbers are most tokens of a long text, so the operator tables ask this before searching.
inline bool startsAsNumber(std::string_view token)
{
    return !token.empty() && (ascii::isDigit(token[0]) || token[0] == '.');
}
