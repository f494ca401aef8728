#include "ascii.h"

namespace ascii {

namespace {

template <typename String, typename Map>
String mapped(std::basic_string_view<typename String::value_type> text, Map map)
{
    String out(text);
    for (auto& c : out)
        c = map(c);
    return out;
}

}  // namespace

std::string upper(std::string_view text)
{
    return mapped<std::string>(text, toUpper<char>);
}

std::string lower(std::string_view text)
{
    return mapped<std::string>(text, toLower<char>);
}

std::u16string upper(std::u16string_view text)
{
    return mapped<std::u16string>(text, toUpper<char16_t>);
}

std::u16string lower(std::u16string_view text)
{
    return mapped<std::u16string>(text, toLower<char16_t>);
}

bool equalsUpper(std::string_view text, std::string_view upperName)
{
    if (text.size() != upperName.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (toUpper(text[i]) != upperName[i])
            return false;
    }
    return true;
}

std::u16string widen(std::string_view text)
{
    return std::u16string(text.begin(), text.end());
}

std::string narrow(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char16_t c : text)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '\x7f');
    return out;
}

}  // namespace ascii
