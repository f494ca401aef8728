#pragma once

#include <string>
#include <string_view>

// Locale-free character tests: engine text is ASCII whatever the user's locale.
namespace ascii {

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool isLower(char c) { return c >= 'a' && c <= 'z'; }
constexpr bool isLetter(char c) { return isUpper(c) || isLower(c); }
constexpr bool isAlnum(char c) { return isLetter(c) || isDigit(c); }
constexpr char toUpper(char c) { return isLower(c) ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char toLower(char c) { return isUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }

std::string upper(std::string_view text);
std::string lower(std::string_view text);

// True when text, upper-cased, equals upperName (which is already upper case).
bool equalsUpper(std::string_view text, std::string_view upperName);

}  // namespace ascii
