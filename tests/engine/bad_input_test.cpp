// Hostile texts: whatever arrives, the engine answers with a value or an error code and never
// crashes or reads outside its buffers (run these under the sanitizer build too).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine.h"

namespace {

int errorOf(const std::string& text, int mode = Engine::kModeScalar, int radix = 10)
{
    Engine engine;
    engine.evaluate(text, mode, radix);
    return engine.error();
}

std::string repeat(const std::string& piece, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += piece;
    return text;
}

TEST(BadInput, DeepAndLongTextsGiveTheirCodes)
{
    EXPECT_EQ(errorOf(repeat("(", 511) + "1" + repeat(")", 511)), 0);
    // 1023 nested groups cannot fit 1023 characters with their operand: too long.
    EXPECT_EQ(errorOf(repeat("(", 1023) + "1" + repeat(")", 1023)), -1);
    EXPECT_EQ(errorOf(repeat("(", 600) + "1"), -1);
    EXPECT_EQ(errorOf("1" + repeat(")", 600)), -1);
    EXPECT_EQ(errorOf("1" + repeat("+1", 5000)), -1);
    EXPECT_EQ(errorOf(repeat("1+", 500) + "1"), 0);
    EXPECT_EQ(errorOf(repeat("-", 5000) + "1"), -1);
    EXPECT_EQ(errorOf(std::string(100000, '9')), -1);
    EXPECT_EQ(errorOf(std::string(400, '9')), -7);
    EXPECT_EQ(errorOf(repeat("RT(2,", 100) + "4" + repeat(")", 100)), 0);
    EXPECT_EQ(errorOf(repeat("[VA]", 250) + "1"), 0);
}

TEST(BadInput, ExpandedTextsMayOutgrowTheInputLimit)
{
    // Each RT call grows by nine characters when rewritten; that is not an error.
    std::string text = "RT(1,1)";
    for (int i = 0; i < 120; ++i)
        text += "+RT(1,1)";
    ASSERT_LT(text.size(), Engine::kMaxExpressionLength);
    EXPECT_EQ(errorOf(text), errorOf("RT(1,1)"));
}

TEST(BadInput, NonAsciiAndControlBytesFailCleanly)
{
    const std::string texts[] = {
        "2\xc3\x97"
        "3",
        "\xff\xfe",
        std::string("1+\0"
                    "2",
                    4),
        "1\n",
        "\x80",
        "\xe2\x88\x9a(4)",
        "[",
        "]",
        "[]",
        "[[VA]]",
        "(",
        ")",
        "!",
        "%",
        "1!!",
        "1%%",
        "((",
        "))",
    };
    for (int radix : {2, 8, 10, 16}) {
        for (const std::string& text : texts) {
            const int code = errorOf(text, Engine::kModeScalar, radix);
            EXPECT_LE(code, 0) << text;
            EXPECT_GE(code, -55) << text;
        }
    }
    EXPECT_EQ(errorOf("2\xc3\x97"
                      "3"),
              -1);
    EXPECT_EQ(errorOf("1\n"), -1);
}

TEST(BadInput, RandomBytesNeverCrash)
{
    std::mt19937 random(20261207);
    const std::string alphabet = "0123456789.eEpPiI()+-*/^!%[]vVaAxXRT,fnIt ";
    for (int round = 0; round < 20000; ++round) {
        std::string text(random() % 40, ' ');
        for (char& c : text) {
            c = round % 4 == 0 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
        }
        for (int mode : {Engine::kModeScalar, Engine::kModeMatrix}) {
            const int code = errorOf(text, mode, round % 3 == 0 ? 16 : 10);
            ASSERT_LE(code, 0) << text;
            ASSERT_GE(code, -55) << text;
        }
    }
}

}  // namespace
