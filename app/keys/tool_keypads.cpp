#include "tool_keypads.h"

#include <algorithm>

#include "ascii.h"

namespace toolKeypads {

namespace {

bool isNumberPart(char16_t c)
{
    return ascii::isDigit(c) || c == u'.';
}

// Where the number around a position starts and ends: its digits and point.
std::pair<std::size_t, std::size_t> numberAround(const std::u16string& text, std::size_t at)
{
    std::size_t begin = at;
    while (begin > 0 && isNumberPart(text[begin - 1]))
        --begin;
    std::size_t end = at;
    while (end < text.size() && isNumberPart(text[end]))
        ++end;
    return {begin, end};
}

FieldText insertAt(const FieldText& field, std::u16string_view inserted)
{
    FieldText result = field;
    result.text.insert(field.cursor, inserted);
    result.cursor = field.cursor + inserted.size();
    return result;
}

bool isMinus(char16_t c)
{
    return c == u'-' || c == u'\u2212';
}

}  // namespace

FieldText applyNumberPadKey(const FieldText& input, const NumberPadFace& key, FieldKind kind)
{
    FieldText field = input;
    field.cursor = std::min(field.cursor, field.text.size());
    switch (key.key) {
    case NumberPadKey::Digit: return insertAt(field, std::u16string_view(&key.digit, 1));
    case NumberPadKey::Point: {
        const auto [begin, end] = numberAround(field.text, field.cursor);
        if (field.text.find(u'.', begin) < end)
            return field;
        // "." alone is no number: a point typed first reads as "0.".
        return insertAt(field, begin == end ? u"0." : u".");
    }
    case NumberPadKey::Minus: return insertAt(field, u"-");
    case NumberPadKey::Sign:
        if (kind == FieldKind::Expression)
            return insertAt(field, u"(-");
        if (!field.text.empty() && isMinus(field.text.front())) {
            field.text.erase(0, 1);
            field.cursor = field.cursor > 0 ? field.cursor - 1 : 0;
        } else {
            field.text.insert(0, 1, u'-');
            ++field.cursor;
        }
        return field;
    case NumberPadKey::Clear: return {};
    case NumberPadKey::Delete:
        if (field.cursor > 0) {
            field.text.erase(field.cursor - 1, 1);
            --field.cursor;
        }
        return field;
    case NumberPadKey::Ok: break;
    }
    return field;
}

int formulaSizeIndex(FormulaKey size, int scale)
{
    const int base = scale >= 2 ? 2 : 0;
    switch (size) {
    case FormulaKey::Small: return base + 1;
    case FormulaKey::Large: return base + 4;
    case FormulaKey::Medium:
    case FormulaKey::Close: break;
    }
    return base + 2;
}

}  // namespace toolKeypads
