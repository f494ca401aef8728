#pragma once

#include <string>
#include <string_view>

// Locale-free character tests and conversions: engine text is ASCII whatever the user's
// locale. The tests take 8-bit and 16-bit characters alike; a character outside ASCII is no
// letter or digit and maps to itself.
namespace ascii {

template <typename Char>
constexpr bool isDigit(Char c)
{
    return c >= Char('0') && c <= Char('9');
}
template <typename Char>
constexpr bool isUpper(Char c)
{
    return c >= Char('A') && c <= Char('Z');
}
template <typename Char>
constexpr bool isLower(Char c)
{
    return c >= Char('a') && c <= Char('z');
}
template <typename Char>
constexpr bool isLetter(Char c)
{
    return isUpper(c) || isLower(c);
}
template <typename Char>
constexpr bool isAlnum(Char c)
{
    return isLetter(c) || isDigit(c);
}
template <typename Char>
constexpr Char toUpper(Char c)
{
    return isLower(c) ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}
template <typename Char>
constexpr Char toLower(Char c)
{
    return isUpper(c) ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

std::string upper(std::string_view text);
std::string lower(std::string_view text);
std::u16string upper(std::u16string_view text);
std::u16string lower(std::u16string_view text);

// True when text, upper-cased, equals upperName (which is already upper case).
bool equalsUpper(std::string_view text, std::string_view upperName);

// ASCII text as 16-bit display text.
std::u16string widen(std::string_view text);
// 16-bit text whose characters are ASCII, as 8-bit text; any other character becomes DEL
// (0x7f), which no reader of numbers or names accepts.
std::string narrow(std::u16string_view text);

}  // namespace ascii
