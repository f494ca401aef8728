#include <gtest/gtest.h>

#include "function_signatures.h"
#include "key_codes.h"

namespace {

struct TooltipCase {
    int code;
    const char16_t* tooltip;  // nullptr: none
};

TEST(FunctionSignatures, KeysShowTheirFunctionsSignatures)
{
    const TooltipCase cases[] = {
        {116, u"pmt(rate, nper, pv, fv, p/y, type=0)"},
        {113, u"fv(rate, nper, pmt, pv, p/y, type=0)"},
        {118, u"db(cost, salvage, life, period, month=12)"},
        {26, u"gcd(number1, number2, ...)"},
        {54, u"sin(angle)"},
        {KeyCode::kIntegral, u"fnInt(expression, variable, lower, upper)"},
        {KeyCode::kFunctionRoot, u"fnRoot(expression, variable, lower, upper)"},
        {37, u"a mod b: remainder"},
        {90, u"avg(X): mean of the data"},
        {10, nullptr},
        {KeyCode::kPlus, nullptr},
        {KeyCode::kEquals, nullptr},
        {-1, nullptr},
    };
    for (const TooltipCase& c : cases) {
        const std::optional<std::u16string> tooltip = keyTooltip(c.code);
        if (c.tooltip == nullptr)
            EXPECT_FALSE(tooltip.has_value()) << c.code;
        else
            EXPECT_EQ(tooltip.value_or(u""), c.tooltip) << c.code;
    }
    // Every key that inserts a call has a signature.
    for (int code = 0; code < KeyCode::kCount; ++code) {
        const std::vector<std::u16string_view> tokens = insertedTokens(code, OutputFormat::UnitedStates);
        if (tokens.size() == 1 && tokens.front().size() > 1 && tokens.front().ends_with(u"(")) {
            EXPECT_TRUE(keyTooltip(code).has_value()) << code;
        }
    }
}

struct HintCase {
    const char16_t* line;
    const char16_t* hint;
};

TEST(FunctionSignatures, AHintNamesTheCallWhoseArgumentsCannotBeRight)
{
    const HintCase cases[] = {
        {u"pmt(5/1200,360,200000)", u"pmt(rate, nper, pv, fv, p/y, type=0)"},
        {u"pmt(5/1200,360,200000,0,12)", u""},
        {u"pmt(5/1200,360,200000,0,12,1,1)", u"pmt(rate, nper, pv, fv, p/y, type=0)"},
        {u"gcd(4)", u"gcd(number1, number2, ...)"},
        {u"gcd(4,6,8,10)", u""},
        {u"ncr(5,2)+pmt(1", u"pmt(rate, nper, pv, fv, p/y, type=0)"},
        {u"sin(,)", u"sin(angle)"},
        {u"sin(gcd(4,6))", u""},
        {u"2\u00D7sin()", u"sin(angle)"},
        {u"\u222B(x,x,0)", u"fnInt(expression, variable, lower, upper)"},
        {u"2\u221A(16)", u""},
        {u"solve([VA])", u"solve(A, B)"},
        {u"hypot(3)", u"hypot(x, y)"},
        {u"abs(-3,4)", u"abs(x)"},
        {u"hypot(abs(-3),4)", u""},
        // A name inside a longer word is no call.
        {u"masin(2,3)", u""},
        {u"(1,2)", u""},
        {u"", u""},
    };
    for (const HintCase& c : cases)
        EXPECT_EQ(callHint(c.line), c.hint);
}

}  // namespace
