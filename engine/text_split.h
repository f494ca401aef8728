#pragma once

#include <string_view>

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
