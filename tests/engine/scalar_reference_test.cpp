// Agreement of the scalar functions with reference values computed independently from the
// mathematical definitions (tests/data/make_scalar_reference.py, Python's cmath). Every row goes
// through the operator table as the evaluator would apply it, angle handling included.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "c_number.h"
#include "engine_settings.h"
#include "operator_context.h"
#include "reference_csv.h"
#include "scalar_operator_table.h"

namespace {

// Relative agreement, with an absolute floor of the same size for results below 1.
constexpr double kRelativeTolerance = 1e-12;
// Functions that round their real part to 12 decimals may differ from the exact value by half
// a unit of the 12th decimal on top of their own error.
constexpr double kTwelveDecimalsHalfUnit = 5e-13;
constexpr std::size_t kMinimumRowsPerFunction = 100;

const std::vector<std::string> kFunctions = {
    "sqrt",  "exp",   "ln",    "log",   "sin",  "cos",  "tan",  "ctan",  "sec",   "csc",  "asin",  "acos",
    "atan",  "acot",  "asec",  "acsc",  "sinh", "cosh", "tanh", "ctanh", "sech",  "csch", "asinh", "acosh",
    "atanh", "acoth", "asech", "acsch", "%",    "!",    "^",    "root",  "iroot", "iexp"};
const std::set<std::string> kRounded = {"sin", "cos", "tan", "sec", "csc", "ln", "log"};
const std::set<std::string> kAngleIn = {"sin", "cos", "tan", "ctan", "sec", "csc"};
const std::set<std::string> kAngleOut = {"asin", "acos", "atan", "acot", "asec", "acsc"};

struct Row {
    int line = 0;
    std::string function;
    AngleMode mode = AngleMode::Radians;
    CalcValue arg;
    CalcValue expected;
    bool binary = false;
    CalcValue right;
};

bool readMode(const std::string& text, AngleMode& mode)
{
    if (text == "deg")
        mode = AngleMode::Degrees;
    else if (text == "rad")
        mode = AngleMode::Radians;
    else if (text == "grad")
        mode = AngleMode::Grads;
    else
        return false;
    return true;
}

// All rows of the reference file; a malformed line is a test failure, not a skipped row.
const std::vector<Row>& referenceRows()
{
    static const std::vector<Row> rows = [] {
        std::vector<Row> result;
        for (const ReferenceLine& line : readReferenceCsv("scalar_reference.csv")) {
            const std::vector<std::string>& fields = line.fields;
            Row row;
            row.line = line.number;
            bool ok = fields.size() == 8 && readMode(fields[1], row.mode) &&
                      readReferenceNumber(fields[2], row.arg.re) && readReferenceNumber(fields[3], row.arg.im) &&
                      readReferenceNumber(fields[4], row.expected.re) &&
                      readReferenceNumber(fields[5], row.expected.im);
            if (ok && !fields[6].empty()) {
                row.binary = true;
                ok = readReferenceNumber(fields[6], row.right.re) && readReferenceNumber(fields[7], row.right.im);
            }
            EXPECT_TRUE(ok) << "malformed line " << line.number << ": " << line.text;
            if (!ok)
                continue;
            row.function = fields[0];
            result.push_back(row);
        }
        return result;
    }();
    return rows;
}

double distance(CalcValue a, CalcValue b)
{
    return std::hypot(a.re - b.re, a.im - b.im);
}

std::string show(CalcValue z)
{
    return cnum::general17(z.re) + (z.im < 0 ? " - " : " + ") + cnum::general17(std::fabs(z.im)) + "i";
}

// The angle mode an operation leaves: a complex argument (circular functions) or a complex
// value (inverse circular functions, and any argument of acot) means radians for good.
AngleMode expectedModeAfter(const Row& row)
{
    const bool argComplex = !row.arg.isReal();
    const bool valueComplex = row.expected.im != 0.0;
    if (kAngleIn.count(row.function) && argComplex)
        return AngleMode::Radians;
    if (kAngleOut.count(row.function) && (argComplex || valueComplex))
        return AngleMode::Radians;
    return row.mode;
}

class ScalarReference : public ::testing::TestWithParam<std::string> {};

TEST_P(ScalarReference, AgreesWithTheMathematicalDefinition)
{
    const std::string& function = GetParam();
    const ScalarOperation operation = findScalarOperation(function);
    ASSERT_NE(operation, nullptr);

    std::size_t count = 0;
    double worst = 0.0;
    for (const Row& row : referenceRows()) {
        if (row.function != function)
            continue;
        ++count;
        int error = 0;
        EngineSettings settings;
        settings.angleMode = row.mode;
        OperatorContext context{error, settings};
        ScalarStack stack{row.arg};
        if (row.binary)
            stack.push_back(row.right);
        operation(stack, 0, context);

        const std::string where = "line " + std::to_string(row.line) + ": " + function + " " + show(row.arg) +
                                  (row.binary ? ", " + show(row.right) : std::string());
        ASSERT_EQ(error, 0) << where;
        ASSERT_EQ(stack.size(), 1u) << where;
        const CalcValue got = stack.back();
        const double scale = std::max(1.0, std::hypot(row.expected.re, row.expected.im));
        const double tolerance =
            kRelativeTolerance * scale + (kRounded.count(function) ? kTwelveDecimalsHalfUnit : 0.0);
        const double d = distance(got, row.expected);
        worst = std::max(worst, d / scale);
        EXPECT_LE(d, tolerance) << where << "\n  got      " << show(got) << "\n  expected " << show(row.expected);
        EXPECT_EQ(settings.angleMode, expectedModeAfter(row)) << where;
        // A real value must stay real: a noise imaginary part would show on the display.
        if (!row.binary && row.arg.isReal() && row.expected.im == 0.0) {
            EXPECT_EQ(got.im, 0.0) << where << " gave " << show(got);
        }
    }
    EXPECT_GE(count, kMinimumRowsPerFunction) << "too few reference rows for " << function;
    std::cout << "[ worst    ] " << function << ": " << cnum::scientific(worst, 2) << " relative over " << count
              << " rows\n";
}

std::string testName(const ::testing::TestParamInfo<std::string>& info)
{
    if (info.param == "%")
        return "percent";
    if (info.param == "!")
        return "factorial";
    if (info.param == "^")
        return "power";
    return info.param;
}

INSTANTIATE_TEST_SUITE_P(Functions, ScalarReference, ::testing::ValuesIn(kFunctions), testName);

TEST(ScalarReference, FileNamesOnlyKnownFunctions)
{
    const std::set<std::string> known(kFunctions.begin(), kFunctions.end());
    ASSERT_FALSE(referenceRows().empty());
    for (const Row& row : referenceRows())
        EXPECT_TRUE(known.count(row.function)) << "line " << row.line << ": " << row.function;
}

}  // namespace
