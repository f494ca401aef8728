#include <gtest/gtest.h>

#include <string>

#include "tokenizer.h"

namespace {

// A step that rewrites its text in place: a null expected text means it must refuse the input.
void expectRewritten(bool ok, const std::string& text, const char* expected)
{
    if (expected == nullptr) {
        EXPECT_FALSE(ok) << "accepted as '" << text << "'";
    } else {
        ASSERT_TRUE(ok);
        EXPECT_EQ(text, expected);
    }
}

struct TokenCase {
    const char* input;
    int radix;
    const char* bound;
    const char* tokens;  // nullptr: the tokenizer must refuse the text
};

class TokenizeCases : public ::testing::TestWithParam<TokenCase> {};

TEST_P(TokenizeCases, GivesTokenText)
{
    const TokenCase& c = GetParam();
    std::string text = c.input;
    const bool ok = tokenizeExpression(text, c.radix, c.bound);
    expectRewritten(ok, text, c.tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Tokenizer, TokenizeCases,
    ::testing::Values(
        TokenCase{"2+3*4", 10, "", "2 + 3 * 4"}, TokenCase{"sin(30)^2", 10, "", "sin ( 30 ) ^ 2"},
        TokenCase{"[VA]+1", 10, "", "va + 1"}, TokenCase{"1E5", 10, "", "1e5"}, TokenCase{"1E-5", 10, "", "1e - 5"},
        TokenCase{"2PI", 10, "", "2pi"}, TokenCase{".5", 10, "", "5"}, TokenCase{"2.5 mod 2", 10, "", "2.5 mod 2"},
        TokenCase{"x^2+X", 10, "x", "x ^ 2 + x"}, TokenCase{"t*2", 10, "T", "t * 2"}, TokenCase{"5!", 10, "", "5 !"},
        TokenCase{"2)", 10, "", nullptr}, TokenCase{"(2)!", 10, "", "( 2 ) !"}, TokenCase{")(1", 10, "", ") ( 1"},
        TokenCase{"ACTAN 1", 10, "", "actan 1"}, TokenCase{"y+1", 10, "", nullptr}, TokenCase{"x+1", 10, "", nullptr},
        TokenCase{"3,5", 10, "", nullptr}, TokenCase{"2+", 10, "", nullptr}, TokenCase{"2.", 10, "", "2."},
        TokenCase{"(5.)", 10, "", "( 5. )"}, TokenCase{"1/(5.)", 10, "", "1 / ( 5. )"},
        TokenCase{"5.!", 10, "", "5. !"}, TokenCase{".", 10, "", nullptr}, TokenCase{"2+.", 10, "", nullptr},
        TokenCase{"2..", 10, "", nullptr}, TokenCase{"(.)", 10, "", nullptr}, TokenCase{"2--3", 10, "", nullptr},
        TokenCase{"(2", 10, "", nullptr}, TokenCase{"", 10, "", nullptr}, TokenCase{"   ", 10, "", nullptr},
        TokenCase{"not(1)", 10, "", nullptr}, TokenCase{"2\t+3", 10, "", nullptr},
        TokenCase{"2\xc3\x97"
                  "3",
                  10, "", nullptr},
        TokenCase{"A+1", 16, "", "10 + 1"}, TokenCase{"ff and 0f", 16, "", "255 and 15"},
        TokenCase{"FFFFFFFF", 16, "", "-1"}, TokenCase{"1.5", 16, "", "1 5"}, TokenCase{"[VA]+F", 16, "", "va + 15"},
        TokenCase{"PI", 16, "", nullptr}, TokenCase{"1111", 2, "", "15"}, TokenCase{"102", 2, "", nullptr},
        TokenCase{"17", 8, "", "15"},
        TokenCase{"2\xc3\x97"
                  "3",
                  16, "", "2 3"}));

struct PostfixCase {
    const char* tokens;
    const char* postfix;  // nullptr: the conversion must fail
};

class PostfixCases : public ::testing::TestWithParam<PostfixCase> {};

TEST_P(PostfixCases, GivesPostfixText)
{
    const PostfixCase& c = GetParam();
    std::string text = c.tokens;
    const bool ok = toPostfix(text);
    expectRewritten(ok, text, c.postfix);
}

INSTANTIATE_TEST_SUITE_P(
    Postfix, PostfixCases,
    ::testing::Values(PostfixCase{"2 + 3 * 4", "2 3 4 * + "}, PostfixCase{"2 ^ 3 ^ 2", "2 3 2 ^ ^ "},
                      PostfixCase{"8 / 2 / 2", "8 2 / 2 / "}, PostfixCase{"sin ( 30 ) ^ 2", "( 30 ) sin 2 ^ "},
                      PostfixCase{"- 2 ^ 2", "2 2 ^ - "}, PostfixCase{"2 + 3 !", "2 3 ! + "},
                      PostfixCase{"2 * ( - 3 )", "2 ( 3 - ) * "}, PostfixCase{"2 3", "2 3 "},
                      PostfixCase{"sin sin 30", "30 sin sin "}, PostfixCase{"1 and 2 + 3", "1 2 3 + and "},
                      PostfixCase{"7 mod 3 * 2", "7 3 2 * mod "}, PostfixCase{"2 root 8 ^ 2", "2 8 2 ^ root "},
                      PostfixCase{"2 ^ 3 root 8", "2 3 ^ 8 root "}, PostfixCase{"2 * - 3", nullptr},
                      PostfixCase{"2 ^ - 1", nullptr}, PostfixCase{"2 + !", nullptr}, PostfixCase{") ( 1", nullptr},
                      PostfixCase{"1 )", nullptr}));

struct ClassCase {
    const char* token;
    OperatorClass operatorClass;
};

TEST(operatorClass, FollowsPrecedenceTable)
{
    using enum OperatorClass;
    const ClassCase cases[] = {
        {"(", Grouping},      {")", Grouping},       {"nand", Bitwise},  {"xor", Bitwise},  {"-", Additive},
        {"rtr", ModuloShift}, {"/", Multiplicative}, {"^", Power},       {"root", Power},   {"!", Power},
        {"%", Power},         {"acsch", Function},   {"orth", Function}, {"tri", Function}, {"12", Operand},
        {"va", Operand},      {"SIN", Operand},      {"not", Operand},   {"cpl", Operand},  {"actan", Operand},
        {"iroot", Operand},
    };
    for (const ClassCase& c : cases)
        EXPECT_EQ(operatorClass(c.token), c.operatorClass) << c.token;
}

}  // namespace
