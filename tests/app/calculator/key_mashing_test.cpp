// Any sequence of keys, in any category and input mode, leaves the calculator in a sound state:
// no crash, indicators in range, the cursor on the line.
#include <gtest/gtest.h>

#include <random>

#include "key_codes.h"
#include "calculator.h"

namespace {

TEST(KeyMashing, RandomKeysInEveryModeAndCategory)
{
    const InputMode modes[] = {InputMode::StringStandard, InputMode::BasicStandard, InputMode::BasicRpn};
    std::mt19937 random(42);
    for (const InputMode mode : modes) {
        Calculator calculator({});
        calculator.start();
        calculator.setPreferredInputMode(mode);
        for (int step = 0; step < 20000; ++step) {
            const unsigned roll = random() % 100;
            if (roll == 0)
                calculator.switchCategory(static_cast<int>(random() % 15));
            else if (roll < 5)
                calculator.pressFunctionKey(static_cast<int>(random() % 18), random() % 2 == 0);
            else if (roll < 10)
                calculator.typeCharacter(static_cast<char16_t>(random() % 128));
            else
                calculator.pressKey(static_cast<int>(random() % KeyCode::kCount));
            const CalculatorDisplay& display = calculator.display();
            ASSERT_LE(display.currentLine().cursor(), display.currentLine().tokenCount());
            ASSERT_GE(display.radix(), KeyCode::kRadixBin);
            ASSERT_LE(display.radix(), KeyCode::kRadixHex);
            ASSERT_GE(display.selectedMemory(), KeyCode::kMemory1);
            ASSERT_LE(display.selectedMemory(), KeyCode::kMemory5);
        }
        EXPECT_LE(calculator.engine().basic.count(), BasicMachine::kCapacity);
    }
}

}  // namespace
