#include "printable_text.h"

#include "result_format.h"
#include "utf16.h"

std::string printableText(std::u16string_view text)
{
    std::u16string copy(text);
    for (char16_t& c : copy) {
        if (c == kDisplayComma)
            c = u',';
    }
    return toUtf8(copy);
}
