#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "display_text.h"
#include "engine.h"
#include "utf16.h"

namespace {

struct TextCase {
    std::u16string display;
    std::string engine;
};

void expectConversions(const TextCase* begin, const TextCase* end, OutputFormat format)
{
    for (const TextCase* c = begin; c != end; ++c)
        EXPECT_EQ(displayToEngineText(c->display, format), c->engine) << toUtf8(c->display);
}

TEST(displayToEngineText, InsertsImplicitProducts)
{
    const TextCase cases[] = {
        {u"2(3)", "2*(3)"},
        {u"(1)(2)", "(1)*(2)"},
        {u"[VA][VB]", "[VA]*[VB]"},
        {u"[VA](2)", "[VA]*(2)"},
        {u"2[VA]", "2*[VA]"},
        {u"2sin(30)", "2*sin(30)"},
        {u"2pi", "2*pi"},
        {u"2i", "2*i"},
        {u"i2", "i*2"},
        {u"ii", "i*i"},
        {u"i(2)", "i*(2)"},
        {u"(2)i", "(2)*i"},
        {u"3!i", "3!*i"},
        {u"3%i", "3%*i"},
        {u"3!i2", "3!*i*2"},
        {u"5!(2)", "5!*(2)"},
        {u"5!2", "5!*2"},
        {u"50%(2)", "50%*(2)"},
        {u"e(2)", "e*(2)"},
        {u"e2", "e*2"},
        {u"2e(2)", "2*e*(2)"},
        {u"pi(2)", "pi*(2)"},
        {u"3+e", "3+e"},
        {u"5!+1", "5!+1"},
        {u"5!)", "5!)"},
        {u"(3!)!", "(3!)!"},
        {u"module(7,3)", "module(7,3)"},
        {u"sec(1)", "sec(1)"},
        {u"nper(1,2,3,4,5)", "nper(1,2,3,4,5)"},
        {u"2E5", "200000"},
        {u"2A", "2A"},
        {u"FF+1", "FF+1"},
        {u"2 mod 3", "2 mod 3"},
        {u"", ""},
    };
    expectConversions(std::begin(cases), std::end(cases), OutputFormat::UnitedStates);
}

// A number followed at once by e, E or exp, a sign or none, and digits is one number, written
// so that it reads back exactly; everything else keeps Euler's e.
TEST(displayToEngineText, ReadsScientificNotationAsOneNumber)
{
    const TextCase us[] = {
        {u"6.02e23", "6.02E23"},  {u"6.02e+23", "6.02E23"}, {u"2e-3", "0.002"}, {u"1E\u22123", "0.001"},
        {u"1/2exp3", "1/2000"},   {u"2exp-3*4", "0.002*4"}, {u".5e1", "5"},     {u"1\u00B8000e3", "1000000"},
        {u"sin(1e1)", "sin(10)"}, {u"1e309", "1E999"},      {u"1e-400", "0"},   {u"2e", "2*e"},
        {u"e^2", "e^2"},          {u"2e(1)", "2*e*(1)"},    {u"2e-x", "2*e-x"}, {u"2e3.5", "2*e*3.5"},
        {u"x2e3", "x2*e*3"},
    };
    expectConversions(std::begin(us), std::end(us), OutputFormat::UnitedStates);
    const TextCase european[] = {{u"6\u00B802e23", "6.02E23"}, {u"2\u00B85e-1", "0.25"}};
    expectConversions(std::begin(european), std::end(european), OutputFormat::European);
    // In hexadecimal E is a digit: 1E-3 is 1E minus 3.
    EXPECT_EQ(displayToEngineText(u"1E-3", OutputFormat::UnitedStates, 16), "1E-3");
}

// A minus right after an operator is the sign of the operand after it.
TEST(displayToEngineText, BracketsASignAfterAnOperator)
{
    const TextCase cases[] = {
        {u"2*-3", "2*(-3)"},
        {u"2^\u22121", "2^(-1)"},
        {u"5--3", "5-(-3)"},
        {u"2\u00D7-sin(30)", "2*(-sin(30))"},
        {u"2^-(1+1)", "2^(-(1+1))"},
        {u"3*-2!", "3*(-2!)"},
        {u"1--2--3", "1-(-2)-(-3)"},
        {u"2^--1", "2^(-(-1))"},
        {u"-3^2", "-3^2"},
        {u"(-3)", "(-3)"},
        {u"2-3", "2-3"},
        {u"2*-", "2*-"},
        {u"2*-1\u00B8000", "2*(-1000)"},
    };
    expectConversions(std::begin(cases), std::end(cases), OutputFormat::UnitedStates);
    // The European decimal comma belongs to the signed number.
    const TextCase european[] = {{u"2\u00D7\u22121\u00B85", "2*(-1.5)"}};
    expectConversions(std::begin(european), std::end(european), OutputFormat::European);
}

TEST(displayToEngineText, ReplacesSignsNamesAndPoints)
{
    const TextCase cases[] = {
        {u"2\u00D73\u00F74\u22121", "2*3/4-1"},
        {u"2exp3", "2000"},
        {u"exp(1)", "exp(1)"},
        {u"2*exp(x)", "2*exp(x)"},
        {u"(1+1)exp(2)", "(1+1)*10^(2)"},
        {u"2exp(\u22123)", "2*10^(-3)"},
        {u".5", "0.5"},
        {u"(-.5)", "(-0.5)"},
        {u".5+.5", "0.5+0.5"},
        {u"[ans]+1", "[VRE]+1"},
        {u"2[ans]", "2*[VRE]"},
        {u"\u222B(x,x,0,1)", "fnInt(x,x,0,1)"},
        {u"2\u03B4(x^2,x,3)", "2*fnDeriv(x^2,x,3)"},
        {u"\u220F(x,x,1,3)+\u2211(x,x,1,3)", "fnProduct(x,x,1,3)+fnSum(x,x,1,3)"},
        {u"\u0192(x,x,2)", "fnEval(x,x,2)"},
    };
    expectConversions(std::begin(cases), std::end(cases), OutputFormat::UnitedStates);
}

TEST(displayToEngineText, TurnsRootSignsIntoCalls)
{
    const TextCase cases[] = {
        {u"2\u221A(9)", "RT(2,9)"},
        {u"(1+2)\u221A(9)", "RT((1+2),9)"},
        {u"2.5\u221A(9)", "RT(2.5,9)"},
        {u"1+3\u221A(8)", "1+RT(3,8)"},
        {u"2\u221A(3\u221A(8))", "RT(2,RT(3,8))"},
        {u"2(3)\u221A(8)", "2*RT((3),8)"},
        // Nothing to take an index from: left for the tokenizer to reject.
        {u"\u221A(9)", "\xE2\x88\x9A(9)"},
        {u")\u221A(9)", ")\xE2\x88\x9A(9)"},
    };
    expectConversions(std::begin(cases), std::end(cases), OutputFormat::UnitedStates);
}

TEST(displayToEngineText, RemovesGroupingAndReadsTheComma)
{
    const TextCase european[] = {
        {u"1.234\u00B85", "1234.5"},
        {u"\u00B85", "0.5"},
        {u"2\u00B85(3)", "2.5*(3)"},
        {u"2\u00B85\u221A(9)", "RT(2.5,9)"},
    };
    expectConversions(std::begin(european), std::end(european), OutputFormat::European);
    const TextCase unitedStates[] = {
        {u"1\u00B8234.5", "1234.5"},
        {u"1\u00B8234\u00B8567", "1234567"},
    };
    expectConversions(std::begin(unitedStates), std::end(unitedStates), OutputFormat::UnitedStates);
    const TextCase other[] = {
        {u"1\u00B85", "1.5"},
        {u"1.5", "1.5"},
    };
    expectConversions(std::begin(other), std::end(other), OutputFormat::Other);
}

TEST(displayToEngineText, KeepsUnknownCharactersForTheTokenizer)
{
    EXPECT_EQ(displayToEngineText(u"\u2260", OutputFormat::UnitedStates), "\xE2\x89\xA0");
    EXPECT_EQ(displayToEngineText(u"a\U0001F600", OutputFormat::UnitedStates), "a\xF0\x9F\x98\x80");
}

TEST(stringModeToEngineText, TreatsTheCommaAsUnknown)
{
    const TextCase cases[] = {
        {u".5", "0.5"},
        {u"\u00B85",
         "\xC2\xB8"
         "5"},
        {u"2\u00B85",
         "2*\xC2\xB8"
         "5"},
        {u"1.5", "1.5"},
        {u"2\u221A(9)", "RT(2,9)"},
        {u"[ans]2i", "[VRE]2*i"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stringModeToEngineText(c.display), c.engine) << toUtf8(c.display);
}

TEST(displayToEngineText, HandlesFullLengthLines)
{
    std::u16string products;
    for (int i = 0; i < 341; ++i)
        products += u"(1)";
    const std::string converted = displayToEngineText(products, OutputFormat::UnitedStates);
    EXPECT_EQ(std::count(converted.begin(), converted.end(), '*'), 340);

    std::u16string roots;
    for (int i = 0; i < 300; ++i)
        roots += u"2\u221A(";
    roots += u"4" + std::u16string(300, u')');
    const std::string nested = displayToEngineText(roots, OutputFormat::UnitedStates);
    std::string expected;
    for (int i = 0; i < 300; ++i)
        expected += "RT(2,";
    expected += "4" + std::string(300, ')');
    EXPECT_EQ(nested, expected);
}

struct EvaluationCase {
    std::u16string display;
    double value;
};

TEST(displayToEngineText, ConvertedTextsEvaluate)
{
    const EvaluationCase cases[] = {
        {u"2(3)", 6},
        {u".5+.5", 1},
        {u"(-.5)(4)", -2},
        {u"2\u00D73\u22121", 5},
        {u"5!(2)", 240},
        {u"3!2", 12},
        {u"50%(4)", 2},
        {u"e(2)", 2 * 2.718281828459045},
        {u"e2", 2 * 2.718281828459045},
        {u"pi(2)", 2 * 3.141592653589793},
        {u"5.", 5},
        {u"(5.)", 5},
        {u"1\u00F7(5.)", 0.2},
        {u"2(5.)", 10},
    };
    for (const auto& c : cases) {
        Engine engine;
        const ValueCell result = engine.evaluate(displayToEngineText(c.display, OutputFormat::UnitedStates), 0, 10);
        EXPECT_EQ(engine.error(), 0) << toUtf8(c.display);
        EXPECT_DOUBLE_EQ(result.re, c.value) << toUtf8(c.display);
    }
    Engine engine;
    engine.evaluate(displayToEngineText(u"\u221A(9)", OutputFormat::UnitedStates), 0, 10);
    EXPECT_EQ(engine.error(), -1);
}

}  // namespace
