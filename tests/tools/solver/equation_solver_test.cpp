#include "equation_solver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine.h"

namespace {

using Kind = EquationSolver::Kind;

std::string ascii(const std::u16string& text)
{
    return {text.begin(), text.end()};
}

void fill(EquationSolver& solver, const std::vector<std::u16string>& fields)
{
    for (std::size_t i = 0; i < fields.size(); ++i)
        solver.setFieldText(i, fields[i]);
}

TEST(EquationsSolver, NormalisesCoefficientText)
{
    struct Case {
        std::u16string in;
        std::u16string out;
    };
    const Case cases[] = {
        {u"", u"1"},     {u"-", u"-1"},   {u"abc", u"0"},    {u".", u"0"},   {u"1-2", u"0"},     {u"1e-5", u"1e-5"},
        {u"1-e5", u"0"}, {u".5", u"0.5"}, {u"-.5", u"-0.5"}, {u"-3", u"-3"}, {u"2.25", u"2.25"}, {u"--", u"0"},
    };
    for (const Case& c : cases) {
        EquationSolver solver;
        solver.setFieldText(1, c.in);
        EXPECT_EQ(solver.getCoefficientText(1), c.out) << ascii(c.in);
        // The normalised text is written back, with a mask to match.
        EXPECT_EQ(solver.fieldText(1), c.out);
        EXPECT_EQ(solver.fieldMask(1), std::u16string(c.out.size(), u'1'));
    }
}

TEST(EquationsSolver, RootTextSquaresBAndUsesRootOfTwo)
{
    EXPECT_EQ(EquationSolver::rootText("1", "-3", "2", true), "(-(-3)+RT(2,(-3)*(-3)-4*(1)*(2)))/(2*(1))");
    EXPECT_EQ(EquationSolver::rootText("1", "-3", "2", false), "(-(-3)-RT(2,(-3)*(-3)-4*(1)*(2)))/(2*(1))");
}

TEST(EquationsSolver, StableRootTextAvoidsCancellation)
{
    // b > 0: x1 (+sqrt(D)) is 2c / (-b - sqrt(D)); x2 keeps the textbook form.
    EXPECT_EQ(EquationSolver::stableRootText("1", "3", "2", true, 3.0), "(2*(2))/(-(3)-RT(2,(3)*(3)-4*(1)*(2)))");
    EXPECT_EQ(EquationSolver::stableRootText("1", "3", "2", false, 3.0),
              EquationSolver::rootText("1", "3", "2", false));
    // b < 0: the other way round; b = 0 cancels nothing.
    EXPECT_EQ(EquationSolver::stableRootText("1", "-3", "2", true, -3.0),
              EquationSolver::rootText("1", "-3", "2", true));
    EXPECT_EQ(EquationSolver::stableRootText("1", "-3", "2", false, -3.0), "(2*(2))/(-(-3)+RT(2,(-3)*(-3)-4*(1)*(2)))");
    EXPECT_EQ(EquationSolver::stableRootText("1", "0", "-4", true, 0.0),
              EquationSolver::rootText("1", "0", "-4", true));
}

TEST(EquationsSolver, SolvesQuadratics)
{
    struct Case {
        std::u16string a, b, c;
        std::u16string x1, x2;
    };
    const Case cases[] = {
        {u"1", u"-3", u"2", u"2", u"1"},  // x1 takes +sqrt(D)
        {u"2", u"0", u"-8", u"2", u"-2"},
        {u".5", u"-.5", u"-1", u"2", u"-1"},                            // normalised ".5" and "-.5"
        {u"0", u"2", u"-4", u"2", u""},                                 // linear: one root, x2 emptied
        {u"0", u"0", u"5", u"NaN", u"NaN"},                             // no equation left
        {u"1", u"0", u"1", u"i", u"-i"},                                // complex roots
        {u"", u"", u"", u"-0.5+0.8660254038i", u"-0.5-0.8660254038i"},  // x^2 + x + 1
        {u"4", u"-4", u"5", u"0.5+i", u"0.5-i"},
        {u"-", u"", u"2", u"-1", u"2"},  // -x^2 + x + 2
        // A tiny a: the textbook x1 loses every digit to cancellation and shows 0.
        {u"0.0000000000000000001", u"1", u"1", u"-1", u"-1e+19"},
        {u"0.0000000000000000001", u"-1", u"1", u"1e+19", u"1"},
        // Small roots keep their significant digits.
        {u"1", u"100000000", u"1", u"-1e-08", u"-100000000"},
        {u"1", u"1e8", u"1", u"-1e-08", u"-100000000"},
        {u"1e-8", u"1", u"0", u"0", u"-100000000"},
        {u"1", u"-0.000001", u"0", u"1e-06", u"0"},
        {u"3", u"-1", u"0", u"0.3333333333", u"0"},
        // Zero never shows a minus sign.
        {u"1", u"0", u"0", u"0", u"0"},
        {u"1", u"1", u"0", u"0", u"-1"},
        {u"0", u"2", u"0", u"0", u""},
        // Numbers typed with a final point solve as the numbers they are.
        {u"5.", u"-15.", u"10.", u"2", u"1"},
        {u"0", u"4.", u"-2", u"0.5", u""},
    };
    for (const Case& c : cases) {
        Engine engine;
        EquationSolver solver;
        fill(solver, {c.a, c.b, c.c});
        solver.setFieldText(13, u"stale");
        EXPECT_FALSE(solver.solve(engine).failedWithMessage());
        EXPECT_EQ(solver.fieldText(12), c.x1) << ascii(c.a) << ascii(c.b) << ascii(c.c);
        EXPECT_EQ(solver.fieldText(13), c.x2) << ascii(c.a) << ascii(c.b) << ascii(c.c);
        EXPECT_EQ(solver.fieldMask(12).size(), c.x1.size());
        EXPECT_EQ(engine.error(), 0);
    }
}

TEST(EquationsSolver, OtherEngineErrorsGiveTheMessageAndKeepResults)
{
    Engine engine;
    EquationSolver solver;
    fill(solver, {u"1", u"2*", u"3"});
    solver.setFieldText(12, u"old1");
    solver.setFieldText(13, u"old2");
    const EquationSolver::SolveResult result = solver.solve(engine);
    EXPECT_EQ(result.message, u"Syntax error");
    EXPECT_EQ(solver.fieldText(12), u"old1");
    EXPECT_EQ(solver.fieldText(13), u"old2");
}

TEST(EquationsSolver, SolvesLinearSystems)
{
    struct Case {
        Kind kind;
        std::vector<std::u16string> fields;
        std::vector<std::u16string> results;
    };
    const Case cases[] = {
        // x + y = 3, x - y = 1; the unused z fields hold junk that must not matter.
        {Kind::TwoEquations, {u"1", u"1", u"9", u"3", u"1", u"-1", u"9", u"1"}, {u"2", u"1"}},
        {Kind::TwoEquations, {u"2", u"4", u"", u"6", u"2", u"4", u"", u"6"}, {u"NaN", u"NaN"}},
        // Letters read as 0 and empty fields as 0: the system is singular.
        {Kind::TwoEquations, {u"a", u"1", u"", u"1", u"", u"1", u"", u"2"}, {u"NaN", u"NaN"}},
        // 2x + y - z = 8, -3x - y + 2z = -11, -2x + y + 2z = -3 -> 2, 3, -1
        {Kind::ThreeEquations,
         {u"2", u"1", u"-1", u"8", u"-3", u"-1", u"2", u"-11", u"-2", u"1", u"2", u"-3"},
         {u"2", u"3", u"-1"}},
        {Kind::ThreeEquations,
         {u"1", u"2", u"3", u"1", u"4", u"5", u"6", u"2", u"7", u"8", u"9", u"3"},
         {u"NaN", u"NaN", u"NaN"}},
        // A huge coefficient overflows to infinity and leaves no determinant.
        {Kind::TwoEquations, {u"1e400", u"1", u"", u"1", u"1", u"2", u"", u"1"}, {u"NaN", u"NaN"}},
    };
    for (const Case& c : cases) {
        Engine engine;
        EquationSolver solver;
        solver.setKind(c.kind);
        fill(solver, c.fields);
        EXPECT_FALSE(solver.solve(engine).failedWithMessage());
        for (std::size_t i = 0; i < c.results.size(); ++i)
            EXPECT_EQ(solver.fieldText(12 + i), c.results[i]) << ascii(c.fields[0]) << " " << i;
        EXPECT_EQ(engine.error(), 0);
    }
}

}  // namespace
