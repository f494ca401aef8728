#include "memory_text.h"

#include "ascii.h"

std::u16string memoryTextOf(std::u16string_view result, bool hexadecimal, OutputFormat format)
{
    std::u16string text;
    const std::optional<Separators> separators = separatorsOf(format);
    for (std::size_t i = 0; i < result.size(); ++i) {
        const char16_t c = result[i];
        if (separators && c == separators->groupChar)
            continue;
        if (!hexadecimal && c == u'e' && i + 1 < result.size() && result[i + 1] == u'+') {
            text += u"exp";
            ++i;
        } else if (!hexadecimal && c == u'e' && i + 1 < result.size() && result[i + 1] == u'-') {
            std::size_t end = i + 2;
            while (end < result.size() && ascii::isDigit(result[end]))
                ++end;
            text += u"exp(-";
            text.append(result.substr(i + 2, end - i - 2));
            text += u")";
            i = end - 1;
        } else {
            text += c;
        }
    }
    bool allZero = true;
    for (char16_t c : text) {
        if (c != u'0' && c != u'.' && c != u'-' && c != kDisplayComma)
            allZero = false;
    }
    return allZero && !text.empty() ? std::u16string(u"0") : text;
}
