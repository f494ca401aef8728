#include "basic_key_tokens.h"

#include <array>

#include "basic_machine.h"

namespace {

struct KeyToken {
    int code;
    std::string_view token;
};

// Function keys name the operation their string-mode text inserts (57 is "csc(", 58 "sec(").
constexpr std::array<KeyToken, 62> kTokens = {{
    {0, "7"},     {1, "8"},      {2, "9"},      {5, "4"},      {6, "5"},     {7, "6"},
    {10, "1"},    {11, "2"},     {12, "3"},     {15, "0"},     {72, "A"},    {73, "B"},
    {74, "C"},    {75, "D"},     {76, "E"},     {77, "F"},     {18, "+"},    {13, "-"},
    {8, "*"},     {3, "/"},      {44, "("},     {45, ")"},     {16, ".."},   {17, BasicMachine::kSignToken},
    {41, "sqrt"}, {40, "iroot"}, {27, "iexp"},  {28, "log"},   {29, "ln"},   {37, "mod"},
    {54, "sin"},  {55, "cos"},   {56, "tan"},   {57, "csc"},   {58, "sec"},  {51, "sinh"},
    {52, "cosh"}, {53, "tanh"},  {63, "asin"},  {64, "acos"},  {65, "atan"}, {66, "acsc"},
    {67, "asec"}, {60, "asinh"}, {61, "acosh"}, {62, "atanh"}, {59, "PI"},   {69, "and"},
    {70, "or"},   {71, "xor"},   {78, "nand"},  {79, "nor"},   {80, "shl"},  {81, "shr"},
    {82, "rtl"},  {83, "rtr"},   {84, "not"},   {85, "cpl"},   {30, "^"},    {33, "!"},
    {43, "%"},    {39, "exp"},
}};

}  // namespace

std::optional<std::string_view> basicKeyToken(int code)
{
    for (const KeyToken& entry : kTokens) {
        if (entry.code == code)
            return entry.token;
    }
    return std::nullopt;
}
