#include "matrix_literal.h"

#include "ascii.h"

namespace matrix_literal {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// The parts of text between the separator at depth 0 of brackets and parentheses.
std::vector<std::string_view> splitTopLevel(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(' || c == '[')
            ++depth;
        else if (c == ')' || c == ']')
            --depth;
        else if (c == separator && depth == 0) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace

std::size_t end(std::string_view text, std::size_t at)
{
    int depth = 0;
    std::size_t close = npos;
    for (std::size_t i = at; i < text.size() && close == npos; ++i) {
        if (text[i] == '[')
            ++depth;
        else if (text[i] == ']' && --depth == 0)
            close = i;
    }
    if (close == npos)
        return npos;
    const std::string_view inside = text.substr(at + 1, close - at - 1);
    const bool separated = splitTopLevel(inside, ',').size() > 1 || splitTopLevel(inside, ';').size() > 1;
    const std::size_t first = inside.find_first_not_of(' ');
    // A slot name starts with a letter and has no separators: "[VA]", "[VRE]".
    const bool name = first != npos && ascii::isLetter(inside[first]) && !separated;
    return first == npos || name ? npos : close + 1;
}

std::optional<std::vector<std::vector<std::string_view>>> cells(std::string_view literal)
{
    if (literal.size() < 2 || literal.front() != '[' || literal.back() != ']')
        return std::nullopt;
    std::vector<std::vector<std::string_view>> rows;
    for (std::string_view row : splitTopLevel(literal.substr(1, literal.size() - 2), ';')) {
        std::vector<std::string_view> elements = splitTopLevel(row, ',');
        for (std::string_view element : elements) {
            if (element.find_first_not_of(' ') == npos)
                return std::nullopt;
        }
        if ((!rows.empty() && elements.size() != rows.front().size()) || elements.size() > kMaxSide)
            return std::nullopt;
        rows.push_back(std::move(elements));
    }
    if (rows.size() > kMaxSide)
        return std::nullopt;
    return rows;
}

}  // namespace matrix_literal
