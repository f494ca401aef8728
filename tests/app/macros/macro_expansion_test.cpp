#include <gtest/gtest.h>

#include <random>

#include "engine_error.h"
#include "macro_expansion.h"

namespace {

MacroRecord macro(std::u16string name, std::u16string params, std::uint8_t count, std::u16string body)
{
    MacroRecord record;
    record.name = std::move(name);
    record.params = std::move(params);
    record.paramCount = count;
    record.displayText = std::move(body);
    return record;
}

const std::vector<MacroRecord>& standardMacros()
{
    static const std::vector<MacroRecord> macros = {
        macro(u"Ma", u"x,y", 2, u"x+y"), macro(u"Mb", u"", 0, u"5"), macro(u"Mc", u"x", 1, u"Mc(x)"),  // names itself
        macro(u"Md", u"x", 1, u"xx"),  // doubles its argument
    };
    return macros;
}

struct Case {
    std::u16string text;
    std::u16string expanded;  // empty: the expansion fails with "Invalid macro"
};

TEST(MacroExpansion, ExpandsCallsOrFailsAsInvalidMacro)
{
    const Case cases[] = {
        {u"Ma(2,3)\u00D72", u"((2)+(3))\u00D72"},
        {u"Ma(Ma(1,2),3)", u"((((1)+(2)))+(3))"},
        {u"Mb()+Mb()", u"(5)+(5)"},
        {u"Mc(1)", u"(Mc((1)))"},
        {u"Ma(2,3,4)", u"((2)+(3,4))"},
        {u"Ma((1,2),3)", u"(((1,2))+(3))"},
        {u"Ma( 2 , 3 )", u"((2)+(3))"},
        {u"2Ma(1,2", u"2((1)+(2))"},
        {u"sin(Mb)", u"sin((5))"},
        {u"Ma(2,3))", u"((2)+(3)))"},
        {u"1+2", u"1+2"},
        {u"MA(1,2)", u"MA(1,2)"},
        {u"Ma(2,(3", u""},
        {u"Ma((2,3)", u""},
        {u"Ma(2)", u""},
        {u"Ma(,3)", u""},
        {u"Ma(2, )", u""},
        {u"Ma()", u""},
        {u"Ma", u""},
        {u"Mb(Ma(1))", u""},
        {u"Mb()+Ma(1)", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        const MacroExpansion result = expandMacroCalls(c.text, standardMacros());
        EXPECT_EQ(result.text, c.expanded);
        EXPECT_EQ(result.error, c.expanded.empty() ? ErrorCode::kInvalidMacro : 0);
    }
    EXPECT_TRUE(expandMacroCalls(u"", standardMacros()).ok());
}

TEST(MacroExpansion, EarliestCallWinsThenListOrder)
{
    struct OrderCase {
        std::vector<MacroRecord> macros;
        std::u16string text;
        std::u16string expanded;
    };
    const OrderCase cases[] = {
        // "X)Y" comes first in the list but later in the text: Ma's call swallows its start.
        {{macro(u"X)Y", u"", 0, u"7"), macro(u"Ma", u"x", 1, u"x")}, u"Ma(X)Y", u"((X))Y"},
        {{macro(u"Maa", u"", 0, u"1"), macro(u"Ma", u"", 0, u"2")}, u"Maa()", u"(1)"},
        {{macro(u"Ma", u"", 0, u"2"), macro(u"Maa", u"", 0, u"1")}, u"Maa()", u"(2)a()"},
        // A body is not searched again, even for other macros.
        {{macro(u"Mb", u"", 0, u"1"), macro(u"Ma", u"", 0, u"Mb()")}, u"Ma()+Mb()", u"(Mb())+(1)"},
        {{macro(u"", u"", 0, u"1"), macro(u"Ma", u"", 0, u"2")}, u"Ma()", u"(2)"},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        EXPECT_EQ(expandMacroCalls(c.text, c.macros).text, c.expanded);
    }
}

TEST(MacroSubstitution, ChecksTheCallAndReplacesParametersInTurn)
{
    const MacroRecord sum = macro(u"Ma", u"x,y", 2, u"x+y");
    const std::pair<std::u16string, std::optional<std::u16string>> cases[] = {
        {u"  Ma(1,2)\t", u"(1)+(2)"},
        // y is replaced after x, inside the argument that replaced x as well.
        {u"Ma(y,3)", u"((3))+(3)"},
        {u"Mb(1,2)", std::nullopt},
        {u"Ma)1,2(", std::nullopt},
        {u"Ma(1,2", std::nullopt},
        {u"Ma 1,2", std::nullopt},
        {u"Ma(f(1,2),g(3))", u"(f(1,2))+(g(3))"},
    };
    for (const auto& [call, body] : cases) {
        SCOPED_TRACE(std::string(call.begin(), call.end()));
        EXPECT_EQ(substituteMacroCall(call, sum), body);
    }

    EXPECT_EQ(substituteMacroCall(u"Ma(1,2)", macro(u"Ma", u" x , y ", 2, u"x*y")), u"(1)*(2)");
    EXPECT_EQ(substituteMacroCall(u"Ma(1,2)", macro(u"Ma", u"x,y", 3, u"x")), std::nullopt);
    EXPECT_EQ(substituteMacroCall(u"Ma(1,2,3)", macro(u"Ma", u"x,y", 3, u"x")), std::nullopt);
    EXPECT_EQ(substituteMacroCall(u"Ma(1,2)", macro(u"Ma", u"x,y", 0, u"x")), u"x");
    EXPECT_EQ(substituteMacroCall(u"Ma(1,2)", macro(u"Ma", u"x,y", 1, u"x,y+x")), u"(1,2)+x");
}

TEST(MacroExpansion, StopsRunawayGrowthAndDeepNesting)
{
    auto nested = [](std::u16string_view name, int depth, std::u16string_view inner) {
        std::u16string text;
        for (int i = 0; i < depth; ++i)
            text += std::u16string(name) + u"(";
        text += inner;
        text += std::u16string(static_cast<std::size_t>(depth), u')');
        return text;
    };
    // Each Md doubles its argument: 2^12 copies fit, 2^20 do not.
    const MacroExpansion small = expandMacroCalls(nested(u"Md", 12, u"1"), standardMacros());
    ASSERT_TRUE(small.ok());
    EXPECT_EQ(std::count(small.text.begin(), small.text.end(), u'1'), 4096);
    EXPECT_EQ(expandMacroCalls(nested(u"Md", 20, u"1"), standardMacros()).error, ErrorCode::kInvalidMacro);

    EXPECT_TRUE(expandMacroCalls(nested(u"Mb", kMaxMacroNesting, u""), standardMacros()).ok());
    EXPECT_EQ(expandMacroCalls(nested(u"Mb", kMaxMacroNesting + 1, u""), standardMacros()).error,
              ErrorCode::kInvalidMacro);

    const std::u16string longText(kMaxExpandedLength + 1, u'1');
    EXPECT_EQ(expandMacroCalls(longText, standardMacros()).error, ErrorCode::kInvalidMacro);
    EXPECT_TRUE(expandMacroCalls(longText.substr(1), standardMacros()).ok());
}

// Random texts and macros over a small alphabet: every expansion ends, and a success never
// exceeds the size limit.
TEST(MacroExpansion, EndsOnArbitraryInput)
{
    std::mt19937 random(7);
    const std::u16string_view alphabet = u"MMab((),,,xy1 ";
    auto randomText = [&](std::size_t maxLength) {
        std::u16string text(random() % maxLength, u' ');
        for (char16_t& c : text)
            c = alphabet[random() % alphabet.size()];
        return text;
    };
    int succeeded = 0;
    for (int round = 0; round < 2000; ++round) {
        std::vector<MacroRecord> macros;
        for (int i = 0; i < 4; ++i) {
            macros.push_back(
                macro(randomText(4), i % 2 ? u"x,y" : u"x", static_cast<std::uint8_t>(random() % 3), randomText(12)));
        }
        const MacroExpansion result = expandMacroCalls(randomText(300), macros);
        if (result.ok()) {
            ++succeeded;
            EXPECT_LE(result.text.size(), kMaxExpandedLength);
        } else {
            EXPECT_EQ(result.error, ErrorCode::kInvalidMacro);
        }
    }
    EXPECT_GT(succeeded, 0);
}

}  // namespace
