// Agreement of "*", "inv", "det" and "eigl" with results that numpy computed for random
// matrices up to 30 x 30 (tests/data/make_matrix_reference.py writes the file).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine.h"

namespace {

constexpr double kRelativeTolerance = 1e-9;

struct Block {
    std::uint16_t rows = 0;
    std::uint16_t cols = 0;
    std::vector<double> values;
};

struct ReferenceCase {
    std::string operation;
    std::vector<Block> operands;
    Block expected;
    int line = 0;  // of the case's first line in the file
};

void PrintTo(const ReferenceCase& c, std::ostream* out)
{
    *out << c.operation << " at line " << c.line;
}

class ReferenceReader {
public:
    explicit ReferenceReader(std::istream& in) : in_(in) {}

    // Skips comments; false at the end of the file.
    bool nextLine(std::istringstream& fields)
    {
        std::string text;
        while (std::getline(in_, text)) {
            ++line_;
            if (!text.empty() && text[0] != '#') {
                fields.clear();
                fields.str(text);
                return true;
            }
        }
        return false;
    }

    bool readBlock(Block& block)
    {
        std::istringstream fields;
        int rows = 0;
        int cols = 0;
        if (!nextLine(fields) || !(fields >> rows >> cols))
            return false;
        if (rows < 1 || cols < 1 || rows > 30 || cols > 30)
            return false;
        block.rows = static_cast<std::uint16_t>(rows);
        block.cols = static_cast<std::uint16_t>(cols);
        block.values.clear();
        for (int i = 0; i < rows; ++i) {
            if (!nextLine(fields))
                return false;
            double x = 0.0;
            for (int j = 0; j < cols; ++j) {
                if (!(fields >> x))
                    return false;
                block.values.push_back(x);
            }
        }
        return true;
    }

    int line() const { return line_; }

private:
    std::istream& in_;
    int line_ = 0;
};

// Every case of the file; a malformed case ends the list with a case named "unreadable".
std::vector<ReferenceCase> loadCases()
{
    std::vector<ReferenceCase> cases;
    std::ifstream file(std::string(CORVAN_TEST_DATA_DIR) + "/matrix_reference.txt");
    ReferenceReader reader(file);
    std::istringstream fields;
    while (reader.nextLine(fields)) {
        ReferenceCase c;
        c.line = reader.line();
        int count = 0;
        bool ok = static_cast<bool>(fields >> c.operation >> count) && count >= 1 && count <= 2;
        for (int k = 0; ok && k < count; ++k) {
            c.operands.emplace_back();
            ok = reader.readBlock(c.operands.back());
        }
        ok = ok && reader.readBlock(c.expected);
        if (!ok) {
            c.operation = "unreadable";
            cases.push_back(c);
            break;
        }
        cases.push_back(std::move(c));
    }
    return cases;
}

const std::vector<ReferenceCase>& allCases()
{
    static const std::vector<ReferenceCase> cases = loadCases();
    return cases;
}

std::string textOf(const std::string& operation)
{
    return operation == "*" ? "[VA]*[VB]" : operation + "([VA])";
}

class MatrixReference : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(MatrixReference, AgreesWithNumpy)
{
    const ReferenceCase& c = GetParam();
    ASSERT_NE(c.operation, "unreadable");
    Engine engine;
    for (std::size_t k = 0; k < c.operands.size(); ++k) {
        const Block& m = c.operands[k];
        engine.slots.storeMatrix(VariableSlots::kFirstUser + static_cast<int>(k), m.rows, m.cols, m.values.data());
    }
    const ValueCell result = engine.evaluate(textOf(c.operation), Engine::kModeMatrix, 10);
    ASSERT_EQ(engine.error(), 0);

    std::vector<double> got;
    if (c.operation == "det") {
        ASSERT_EQ(result.kind, ValueKind::Real);
        got.push_back(result.re);
    } else {
        ASSERT_EQ(result.kind, ValueKind::Matrix);
        ASSERT_EQ(result.rows, c.expected.rows);
        ASSERT_EQ(result.cols, c.expected.cols);
        got = result.data;
    }
    ASSERT_EQ(got.size(), c.expected.values.size());
    // Relative to each value, with the largest expected magnitude as the scale near 0: the
    // product's entries that cancel out carry the rounding of the whole dot product.
    double scale = 0.0;
    for (double x : c.expected.values)
        scale = std::max(scale, std::fabs(x));
    double worst = 0.0;
    for (std::size_t k = 0; k < got.size(); ++k) {
        const double want = c.expected.values[k];
        const double error = std::fabs(got[k] - want) / std::max(std::fabs(want), 1e-3 * scale);
        worst = std::max(worst, error);
        EXPECT_LE(error, kRelativeTolerance) << "value " << k << ": " << got[k] << " for " << want;
    }
    std::ostringstream text;
    text << worst;
    RecordProperty("worst_relative_error", text.str());
}

INSTANTIATE_TEST_SUITE_P(Numpy, MatrixReference, ::testing::ValuesIn(allCases()));

TEST(MatrixReferenceFile, CoversEveryOperationUpTo30By30)
{
    std::map<std::string, int> counts;
    std::size_t largest = 0;
    for (const ReferenceCase& c : allCases()) {
        ++counts[c.operation];
        largest = std::max<std::size_t>(largest, c.operands.front().rows);
    }
    for (const char* operation : {"*", "inv", "det", "eigl"})
        EXPECT_GE(counts[operation], 10) << operation;
    EXPECT_EQ(counts.count("unreadable"), 0u);
    EXPECT_EQ(largest, 30u);
}

}  // namespace
