#include <gtest/gtest.h>

#include <string>

#include "engine_error.h"
#include "variable_slots.h"

namespace {

TEST(VariableSlots, FindsExactNamesInAnyCase)
{
    struct Case {
        const char* name;
        int index;
    };
    const Case cases[] = {
        {"VVV", 0},   {"vre", 1},   {"va", 2}, {"Va", 2}, {"VA", 2},   {"VV", 23}, {"VX", 24},  {"VZ", 26},  {"vw", 27},
        {"VLRE", 28}, {"list", 29}, {"A", -1}, {"V", -1}, {"VAA", -1}, {"", -1},   {"LIS", -1}, {"VW ", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VariableSlots::find(c.name), c.index) << c.name;
}

TEST(VariableSlots, CopiesOfMatricesOwnTheirElements)
{
    VariableSlots slots;
    const double elements[] = {1, 2, 3, 4};
    slots.storeMatrix(2, 2, 2, elements);
    slots[3] = slots[2];
    slots[3].data[0] = 10.0;
    EXPECT_EQ(slots[2].data[0], 1.0);
    EXPECT_EQ(slots[3].kind, ValueKind::Matrix);

    ValueCell copy = slots[2];
    slots.clear(2);
    EXPECT_EQ(slots[2].kind, ValueKind::Real);
    EXPECT_TRUE(slots[2].data.empty());
    EXPECT_EQ(copy.at(1, 1), 4.0);
}

TEST(VariableSlots, StoringAScalarReleasesAMatrix)
{
    VariableSlots slots;
    const double elements[] = {1, 2};
    slots.storeMatrix(5, 1, 2, elements);
    slots.storeScalar(5, 3.0, 4.0);
    EXPECT_EQ(slots[5].kind, ValueKind::Real);
    EXPECT_EQ(slots[5].rows, 0);
    EXPECT_TRUE(slots[5].data.empty());
    EXPECT_EQ(slots[5].im, 4.0);
    slots.clearAll();
    EXPECT_EQ(slots[5].re, 0.0);
}

TEST(ErrorMessages, MapCodesToTheirTexts)
{
    struct Case {
        int code;
        const char16_t* message;
    };
    const Case cases[] = {
        {-1, u"Syntax error"},
        {-8, u"Syntax error"},
        {-4, u"(Square) root error"},
        {-6, u"Logarit error"},
        {-11, u"Invalid type error"},
        {-53, u"Invalid type error"},
        {-41, u"Sumation(Product) step error"},
        {-42, u"Non-symetric Matrix"},
        {-50, u"Invalid parameters"},
        {-51, u"Invalid parameters"},
        {-54, u"Complex's not been supported"},
        {-55, u"Infinite result"},
        {-56, u"Integral did not converge"},
        {-57, u"Calculation cancelled"},
        {-58, u"Eigenvalues are complex"},
        {-59, u"Unknown error"},
        {1, u"Unknown error"},
        {-1000, u"Unknown error"},
        {0, u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorMessage(c.code), std::u16string_view(c.message)) << c.code;
}

}  // namespace
