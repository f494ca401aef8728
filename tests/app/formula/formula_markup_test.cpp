#include "formula_markup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "variable_slots.h"

namespace {

using formula::expressionToTex;
using formula::renderExpressionFormula;

struct Case {
    const char* text;
    const char* markup;
};

TEST(FormulaMarkup, TypesetsPowersAndFractions)
{
    const Case cases[] = {
        {"a/b^2", R"(\frac{a}{{b}^{2}})"},
        {"x^2/3", R"(\frac{{x}^{2}}{3})"},
        {"a/b/c", R"(\frac{\frac{a}{b}}{c})"},
        {"1+2*3/4-5", R"(1+2*\frac{3}{4}-5)"},
        {"(a+b)/(c-d)", R"(\frac{(a+b)}{(c-d)})"},
        {"f(a,b/c)", R"(f(a,\frac{b}{c}))"},
        {"2^(x+1)", R"({2}^{(x+1)})"},
        {"(1+x^2)^3", R"({(1+{x}^{2})}^{3})"},
        {"2^(1/x)", R"({2}^{(\frac{1}{x})})"},
        {"(a/b", R"((\frac{a}{b})"},
        {"a)/b", R"(\frac{a)}{b})"},
        {"x", "x"},
    };
    const VariableSlots slots;
    for (const Case& c : cases)
        EXPECT_EQ(expressionToTex(c.text, slots), c.markup) << c.text;
}

TEST(FormulaMarkup, TypesetsCompleteSpecialCalls)
{
    const Case cases[] = {
        {"RT(2,x)", R"(\sqrt{x})"},
        {"RT(3,x)", R"(\sqrt[3]{x})"},
        {"RT(2,RT(3,x))", R"(\sqrt{\sqrt[3]{x}})"},
        {"fnInt(x^2,x,0,1)", R"(\int_{0}^{1}{\left({x}^{2}\right)}\hspace1dx)"},
        {"fnDeriv(x^3,x,2)", R"(\left({x}^{3}\right)^{'}_{x=2})"},
        {"fnEval(1/x,x,2)", R"(\left(\frac{1}{x}\right)_{x=2})"},
        {"fnRoot(x-2,x,0,5)", R"(\left(x-2=0\right)_{0<=x<=5})"},
        {"fnSum(n,n,1,10)", R"(\displaystyle\sum_{n=1}^{10}{\left(n\right)})"},
        {"fnSum(n,n,1,10,2)", R"(\displaystyle\sum_{n=1,\Delta=2}^{10}{\left(n\right)})"},
        {"fnProduct(k,k,1,5)", R"(\displaystyle\prod_{k=1}^{5}{\left(k\right)})"},
        {"ncr(5,2)", R"(C^{5}_2)"},
        {"npr(5,2)", R"(P^{5}_2)"},
        {"sum()", R"(\displaystyle\sum_{n=1}^{N}{X[n]})"},
        {"gm()", R"(\displaystyle\sqrt[n]{\prod_{n=1}^{N}{X[n]}})"},
        // The statistics formulas contain "\sum", which must not be taken for another call.
        {"fnSum(x,x,1,5)+ssq()", R"(\displaystyle\sum_{x=1}^{5}{\left(x\right)}+\displaystyle\sum_{n=1}^{N}{X[n]^2})"},
        {"gcd(4,6)", "gcd(4,6)"},
        {"gcd(RT(2,x),4)", R"(gcd(\sqrt{x},4))"},
        {"median(1,2)+max(3,N)", "median(1,2)+max(3,N)"},
    };
    const VariableSlots slots;
    for (const Case& c : cases)
        EXPECT_EQ(expressionToTex(c.text, slots), c.markup) << c.text;
}

TEST(FormulaMarkup, IncompleteCallsBecomeTemplates)
{
    const Case cases[] = {
        {"fnInt(x,x,0", R"(\int\left(?\right))"},
        {"2*fnInt(x,x,0)+RT(2,x", R"(2*\int_{0}^{}{\left(x\right)}\hspace1dx+\sqrt[\left(?\right)]{\left(?\right)})"},
        {"1+fnInt(x+5", R"(1+\int\left(?\right))"},
        {"gcd(4,", R"(gcd\left(?\right))"},
        {"RT", R"(\sqrt[\left(?\right)]{\left(?\right)})"},
        {"fnDeriv(", R"(\left(?\right)^{'})"},
        {"fnSum(x", R"(\sum\left(?\right))"},
        {"ncr(5", R"(C\left(?\right))"},
        {"3+sum(", "3+"},
        {"RT(2,gcd(4", R"(\sqrt[\left(?\right)]{\left(?\right)})"},
    };
    const VariableSlots slots;
    for (const Case& c : cases)
        EXPECT_EQ(expressionToTex(c.text, slots), c.markup) << c.text;
}

TEST(FormulaMarkup, TypesetsFunctionsWithSignsOfTheirOwn)
{
    const Case cases[] = {
        {"abs(x-1)", R"(\left|x-1\right|)"},
        {"abs(abs(x)^2)/2", R"(\frac{\left|{\left|x\right|}^{2}\right|}{2})"},
        {"floor(x/2)+ceil(y)", R"(\left\lfloor \frac{x}{2}\right\rfloor +\left\lceil y\right\rceil )"},
        {"cbrt(RT(2,x))", R"(\sqrt[3]{\sqrt{x}})"},
        {"gamma(5)*log2(8)", R"(\Gamma\left(5\right)*\log_2\left(8\right))"},
        // Only whole names, and only complete calls; the other new names stay as typed.
        {"fabs(x)+abs(x", "fabs(x)+abs(x"},
        {"round(x)+hypot(3,4)", "round(x)+hypot(3,4)"},
        {"hypot(3", R"(hypot\left(?\right))"},
    };
    const VariableSlots slots;
    for (const Case& c : cases)
        EXPECT_EQ(expressionToTex(c.text, slots), c.markup) << c.text;
}

TEST(FormulaMarkup, ReplacesVariablesByValues)
{
    VariableSlots slots;
    slots.storeScalar(VariableSlots::find("VA"), 2.5);
    slots.storeScalar(VariableSlots::find("VB"), 3.0);
    slots.storeScalar(VariableSlots::find("VC"), 1234.56789);
    slots.storeScalar(VariableSlots::find("VD"), -0.25);
    const double elements[] = {1, 2, 3, 4.5};
    slots.storeMatrix(VariableSlots::find("VE"), 2, 2, elements);
    const Case cases[] = {
        {"[VA]", "2.5"},
        {"[VB]", "3"},
        {"[VC]", "1234.5679"},
        {"[VA]/[VB]", R"(\frac{2.5}{3})"},
        {"RT(2,[VD])", R"(\sqrt{-0.25})"},
        {"[VE]", R"(\left[\begin{matrix} 1 & 2 \\ 3 & 4.5 \\ \end{matrix}\right])"},
        {"[VF]", "0"},
        {"[foo]+[VA", "[foo]+[VA"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(expressionToTex(c.text, slots), c.markup) << c.text;
}

TEST(FormulaMarkup, BuildsTheRendererBuffer)
{
    struct BufferCase {
        const char16_t* text;
        int size;
        const char* buffer;
    };
    const BufferCase cases[] = {
        {u"(a)", 3, R"(\large \left( a \right))"},
        // A name that ends in "t" is no "\left" or "\right": its parentheses widen too, and
        // the names of calls are upright with their letters kept apart.
        {u"sqrt(x)", 2, R"(\normalsize \mathrm{s{}q{}r{}t}\left( x \right))"},
        {u"pmt(6,360,200000,0,12)", 2, R"(\normalsize \mathrm{p{}m{}t}\left( 6,360,200000,0,12 \right))"},
        {u"not(5)+det(2)", 2, R"(\normalsize \mathrm{n{}o{}t}\left( 5 \right)+\mathrm{d{}e{}t}\left( 2 \right))"},
        {u"2sin(x)^2", 2, R"(\normalsize {2\mathrm{s{}i{}n}\left( x \right)}^{2})"},
        {u"fnInt(x", 2, R"(\normalsize \int\left(?\right))"},
        {u"abs(x)+gamma(x)", 2, R"(\normalsize \left|x\right|+\Gamma\left(x\right))"},
        {u"a/(b+c)", 7, R"(\Huge \frac{a}{\left( b+c \right)})"},
        {u"x", -1, R"(\tiny x)"},
        {u"x", 99, R"(\Huge x)"},
    };
    const VariableSlots slots;
    for (const BufferCase& c : cases) {
        const auto request = renderExpressionFormula(c.text, c.size, slots);
        EXPECT_FALSE(request.hasMessage());
        EXPECT_EQ(request.buffer, c.buffer);
    }
}

TEST(FormulaMarkup, NamesEndingInTGetNoStrayDelimiter)
{
    // Every "\left(" has its "\right)" and no bare parenthesis is left over: mimeTeX draws an
    // unmatched "\right)" as a stray arrow.
    const VariableSlots slots;
    for (const char16_t* text :
         {u"pmt(6,360,200000,0,12)", u"not(5)", u"det(2)", u"sqrt(x)", u"fnInt(sqrt(x),x,0,1)", u"cpl(rt(1))"}) {
        const auto request = renderExpressionFormula(text, 2, slots);
        ASSERT_FALSE(request.hasMessage());
        const std::string& buffer = request.buffer;
        std::size_t lefts = 0;
        std::size_t rights = 0;
        for (std::size_t at = buffer.find("\\left("); at != std::string::npos; at = buffer.find("\\left(", at + 1))
            ++lefts;
        for (std::size_t at = buffer.find("\\right)"); at != std::string::npos; at = buffer.find("\\right)", at + 1))
            ++rights;
        EXPECT_EQ(lefts, rights) << buffer;
        EXPECT_EQ(static_cast<std::size_t>(std::count(buffer.begin(), buffer.end(), '(')), lefts) << buffer;
        EXPECT_EQ(static_cast<std::size_t>(std::count(buffer.begin(), buffer.end(), ')')), rights) << buffer;
    }
}

TEST(FormulaMarkup, RefusesEmptyAndOverlongInput)
{
    VariableSlots slots;
    std::vector<double> big(40 * 40, 1.2345);
    slots.storeMatrix(VariableSlots::find("VA"), 40, 40, big.data());
    struct LimitCase {
        std::u16string text;
        int size;
        std::u16string_view message;
    };
    const LimitCase cases[] = {
        {u"", 2, formula::kEmptyMessage},
        {std::u16string(1024, u'x'), 2, formula::kOverlengthMessage},
        {std::u16string(1023, u'x'), 2, u""},
        {u"[VA]", 2, formula::kOverlengthMessage},
        // 1023 ")" widen to 8184 bytes: over the limit after "\normalsize ", under it after "\tiny ".
        {std::u16string(1023, u')'), 2, formula::kOverlengthMessage},
        {std::u16string(1023, u')'), 0, u""},
    };
    for (const LimitCase& c : cases) {
        const auto request = renderExpressionFormula(c.text, c.size, slots);
        EXPECT_EQ(request.message, c.message) << c.text.size();
        if (!request.hasMessage()) {
            EXPECT_LT(request.buffer.size(), formula::kMarkupLimit);
        }
    }
}

}  // namespace
