#include "ascii.h"

namespace ascii {

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = toUpper(c);
    return out;
}

std::string lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = toLower(c);
    return out;
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

}  // namespace ascii
