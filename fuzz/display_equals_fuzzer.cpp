// The display's "=": the input, read as UTF-16LE, is typed into the calculator (the first two
// bytes pick the category and input mode) and "=" is pressed.
#include "calculator.h"
#include "fuzz_support.h"
#include "key_codes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    static constexpr InputMode kModes[] = {InputMode::StringStandard, InputMode::BasicStandard, InputMode::BasicRpn};
    Calculator calculator{std::filesystem::path()};
    calculator.start();
    calculator.switchCategory(data[0] % 15);
    calculator.setPreferredInputMode(kModes[data[1] % 3]);
    std::u16string text;
    for (std::size_t i = 2; i + 1 < size; i += 2)
        text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    calculator.pasteText(text);
    const fuzz::TimeLimit limit(calculator.engine());
    calculator.pressKey(KeyCode::kEquals);
    calculator.display().resultText();
    return 0;
}
