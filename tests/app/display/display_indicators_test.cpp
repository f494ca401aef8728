#include <gtest/gtest.h>

#include "calculator_display.h"
#include "display_indicators.h"
#include "key_codes.h"
#include "keypads.h"

namespace {

std::string describe(const std::vector<DisplayIndicator>& indicators)
{
    std::string out;
    for (const DisplayIndicator& indicator : indicators) {
        if (!out.empty())
            out += " ";
        out += std::string(indicator.text.begin(), indicator.text.end()) + ":" + std::to_string(indicator.clickCode);
    }
    return out;
}

TEST(DisplayIndicators, ShowTheStateAndSayWhatAClickDoes)
{
    Preferences preferences;
    Engine engine;
    CalculatorDisplay display(preferences, engine);
    display.setCategory(CategoryCode::kArithmetic);
    EXPECT_EQ(describe(displayIndicators(display, CategoryCode::kArithmetic)), "DEG:50 NORM:133 DEC:-1 M1:20");
    display.handleKey(KeyCode::kShift);
    display.handleKey(KeyCode::kFormatSci);
    display.handleKey(KeyCode::kAngleRad);
    EXPECT_EQ(describe(displayIndicators(display, CategoryCode::kArithmetic)), "SHIFT:23 RAD:50 SCI:133 DEC:-1 M1:20");
    display.setCategory(CategoryCode::kBaseConversion);
    display.handleKey(KeyCode::kShift);
    display.handleKey(KeyCode::kRadixHex);
    display.handleKey(KeyCode::kWordSize16);
    EXPECT_EQ(describe(displayIndicators(display, CategoryCode::kBaseConversion)),
              "RAD:50 SCI:133 HEX:68 16 bit:137 M1:20");
    preferences.inputMode = InputMode::BasicRpn;
    EXPECT_EQ(describe(displayIndicators(display, CategoryCode::kBaseConversion)).substr(0, 6), "RPN:-1");
}

}  // namespace
