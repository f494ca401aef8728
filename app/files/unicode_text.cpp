#include "unicode_text.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "utf16.h"

namespace {

struct ByteOrderMark {
    std::string_view bytes;
    TextEncoding encoding;
};

// UTF-32LE first: its mark begins with the UTF-16LE one.
constexpr std::array<ByteOrderMark, 5> kMarks{{
    {std::string_view("\xFF\xFE\0\0", 4), TextEncoding::Utf32LE},
    {std::string_view("\0\0\xFE\xFF", 4), TextEncoding::Utf32BE},
    {"\xEF\xBB\xBF", TextEncoding::Utf8},
    {"\xFF\xFE", TextEncoding::Utf16LE},
    {"\xFE\xFF", TextEncoding::Utf16BE},
}};

// The size of the byte-order mark of `encoding` that the bytes begin with: only that
// encoding's own, so that text whose first characters happen to look like another encoding's
// mark is read whole.
std::size_t markSize(std::string_view bytes, TextEncoding encoding)
{
    for (const ByteOrderMark& mark : kMarks) {
        if (mark.encoding == encoding && bytes.starts_with(mark.bytes))
            return mark.bytes.size();
    }
    return 0;
}

std::uint32_t unitAt(std::string_view bytes, std::size_t at, std::size_t size, bool bigEndian)
{
    std::uint32_t unit = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[at + (bigEndian ? i : size - 1 - i)]);
        unit = (unit << 8) | byte;
    }
    return unit;
}

void appendCodePoint(std::u16string& text, std::uint32_t code)
{
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        text += u'\uFFFD';
    } else if (code >= 0x10000) {
        code -= 0x10000;
        text += static_cast<char16_t>(0xD800 + (code >> 10));
        text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
        text += static_cast<char16_t>(code);
    }
}

}  // namespace

TextEncoding detectTextEncoding(std::string_view bytes, TextEncoding unmarked)
{
    for (const ByteOrderMark& mark : kMarks) {
        if (bytes.starts_with(mark.bytes))
            return mark.encoding;
    }
    std::size_t evenZeros = 0;
    std::size_t oddZeros = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\0')
            ++(i % 2 == 0 ? evenZeros : oddZeros);
    }
    if (evenZeros + oddZeros == 0)
        return TextEncoding::Utf8;
    // A stray zero byte in UTF-8 text is no reason to read it as UTF-16: one parity must hold
    // the zeros of at least an eighth of the characters, the other nearly none.
    const std::size_t units = bytes.size() / 2;
    if (bytes.size() % 2 == 0) {
        if (oddZeros * 8 >= units && evenZeros * 8 < oddZeros)
            return TextEncoding::Utf16LE;
        if (evenZeros * 8 >= units && oddZeros * 8 < evenZeros)
            return TextEncoding::Utf16BE;
    }
    return unmarked;
}

std::u16string textAsUtf16(std::string_view bytes, TextEncoding unmarked)
{
    return decodedText(bytes, detectTextEncoding(bytes, unmarked));
}

std::u16string decodedText(std::string_view bytes, TextEncoding encoding)
{
    bytes.remove_prefix(markSize(bytes, encoding));
    std::u16string text;
    switch (encoding) {
    case TextEncoding::Utf8: return fromUtf8(bytes);
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        text.reserve(bytes.size() / 2);
        for (std::size_t at = 0; at + 2 <= bytes.size(); at += 2)
            text += static_cast<char16_t>(unitAt(bytes, at, 2, encoding == TextEncoding::Utf16BE));
        return text;
    case TextEncoding::Utf32LE:
    case TextEncoding::Utf32BE:
        text.reserve(bytes.size() / 4);
        for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4)
            appendCodePoint(text, unitAt(bytes, at, 4, encoding == TextEncoding::Utf32BE));
        return text;
    }
    return text;
}

std::string textAsUtf8(std::string_view bytes, TextEncoding unmarked)
{
    if (detectTextEncoding(bytes, unmarked) == TextEncoding::Utf8)
        return std::string(bytes.substr(markSize(bytes, TextEncoding::Utf8)));
    return toUtf8(textAsUtf16(bytes, unmarked));
}
