// Whole expressions against values computed independently at 1500 bits
// (tests/data/make_expression_reference.py, mpmath): random compositions of the scalar
// functions over numbers from 1e-40 to 1e300, real and complex, kept only where they are well
// conditioned, with the calculator's stated rounding and branch rules applied to the reference.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "c_number.h"
#include "engine.h"
#include "reference_csv.h"

namespace {

constexpr double kRelativeTolerance = 1e-12;
constexpr std::size_t kMinimumRows = 300;

struct Row {
    int line = 0;
    std::string expression;
    CalcValue expected;
};

std::vector<Row> referenceRows()
{
    std::vector<Row> rows;
    for (const ReferenceLine& line : readReferenceCsv("expression_reference.csv")) {
        Row row;
        row.line = line.number;
        const bool ok = line.fields.size() == 3 && readReferenceNumber(line.fields[1], row.expected.re) &&
                        readReferenceNumber(line.fields[2], row.expected.im);
        EXPECT_TRUE(ok) << "malformed line " << line.number << ": " << line.text;
        if (!ok)
            continue;
        row.expression = line.fields[0];
        rows.push_back(row);
    }
    return rows;
}

TEST(ExpressionReference, WellConditionedExpressionsAgreeToTwelveDigits)
{
    const std::vector<Row> rows = referenceRows();
    ASSERT_GE(rows.size(), kMinimumRows);
    std::size_t agreeing = 0;
    for (const Row& row : rows) {
        Engine engine;
        engine.settings.angleMode = AngleMode::Radians;
        const ValueCell result = engine.evaluate(row.expression, Engine::kModeScalar, 10);
        const std::string where = "line " + std::to_string(row.line) + ": " + row.expression;
        EXPECT_EQ(engine.error(), 0) << where;
        if (engine.error() != 0)
            continue;
        const double size = std::hypot(row.expected.re, row.expected.im);
        const double distance = std::hypot(result.re - row.expected.re, result.im - row.expected.im);
        const bool agrees = distance <= kRelativeTolerance * size;
        EXPECT_TRUE(agrees) << where << "\n  got      " << cnum::general17(result.re) << " "
                            << cnum::general17(result.im) << "i\n  expected " << cnum::general17(row.expected.re) << " "
                            << cnum::general17(row.expected.im) << "i";
        agreeing += agrees ? 1 : 0;
    }
    std::cout << "[ agree    ] " << agreeing << " of " << rows.size() << " expressions\n";
}

}  // namespace
