#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calculator.h"
#include "temp_folder.h"

// The day the tests' calculators take for today, so that the files they write are known.
inline StoredDate fixedToday()
{
    return StoredDate{2026, 12, 7};
}

// A calculator on a fresh program folder, started as the window starts it.
struct StartedCalculator {
    TempFolder folder;
    Calculator calculator{folder.path(), fixedToday};

    StartedCalculator() { calculator.start(); }
    void press(const std::vector<int>& codes)
    {
        for (int code : codes)
            calculator.pressKey(code);
    }
    void type(std::u16string_view text)
    {
        for (char16_t c : text)
            calculator.typeCharacter(c);
    }
    const std::u16string& input() const { return calculator.display().getInputText(); }
    const std::u16string& result() const { return calculator.display().resultText(); }
};
