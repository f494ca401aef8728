#include <gtest/gtest.h>

#include "converter.h"

namespace {

// Results round to 12 significant digits of the larger term, so that what cancels within the
// precision of the data shows as 0 and nothing else moves.
TEST(ConverterRounding, CancellationIsZeroAndOtherResultsKeepTheirDigits)
{
    // 32 degF in degC through kelvin: 32 x 5/9 + (255.3722... - 273.15).
    const UnitConversion fahrenheitToCelsius{0.55555555555555556, 255.37222222222222 - 273.15};
    struct Case {
        double value;
        UnitConversion conversion;
        double expected;
    };
    const Case cases[] = {
        {32.0, fahrenheitToCelsius, 0.0},
        {212.0, fahrenheitToCelsius, 100.0},
        {-40.0, fahrenheitToCelsius, -40.0},
        {1.0, {1.6093439999999999, 0.0}, 1.609344},
        {26.2, {1.6093439999999999, 0.0}, 42.1648128},
        {1e-5, {1.0, 0.0}, 1e-5},
        {0.0, {5.0, 0.0}, 0.0},
        {1.0, {0.0, 0.0}, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(c.conversion.apply(c.value), c.expected);
    }
    EXPECT_NE(32.0 * fahrenheitToCelsius.multiplier + fahrenheitToCelsius.offset, 0.0);
    EXPECT_EQ(Converter::formatResult(fahrenheitToCelsius.apply(32.0), OutputFormat::UnitedStates), u"0");
}

}  // namespace
