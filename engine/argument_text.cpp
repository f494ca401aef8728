#include "argument_text.h"

namespace args {

std::size_t matchingParenthesis(std::string_view text, std::size_t open)
{
    std::size_t depth = 0;
    for (std::size_t i = open; i < text.size(); ++i) {
        if (text[i] == '(') {
            ++depth;
        } else if (text[i] == ')') {
            if (depth == 0)
                return npos;
            if (--depth == 0)
                return i;
        }
    }
    return npos;
}

std::size_t firstTopLevelComma(std::string_view text)
{
    std::size_t depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(')
            ++depth;
        else if (text[i] == ')' && depth > 0)
            --depth;
        else if (text[i] == ',' && depth == 0)
            return i;
    }
    return npos;
}

std::vector<std::string_view> split(std::string_view text)
{
    std::vector<std::string_view> parts;
    while (true) {
        const std::size_t comma = firstTopLevelComma(text);
        if (comma == npos) {
            parts.push_back(text);
            return parts;
        }
        parts.push_back(text.substr(0, comma));
        text.remove_prefix(comma + 1);
    }
}

}  // namespace args
