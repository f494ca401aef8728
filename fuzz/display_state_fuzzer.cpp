// "led.dat" and the display's key handler: the bytes before "KEYS" are the state file, each byte
// after it a key code. Whatever the state and the keys, the state written reads back the same.
#include "calculator_display.h"
#include "fuzz_support.h"

namespace {

constexpr InputMode kModes[] = {InputMode::StringStandard, InputMode::BasicStandard, InputMode::BasicRpn};
constexpr std::size_t kMaxKeys = 256;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view rest = fuzz::bytesOf(data, size);
    const std::string_view state = fuzz::takeUntil(rest, "KEYS");
    Preferences preferences;
    Engine engine;
    if (!rest.empty()) {
        preferences.inputMode = kModes[static_cast<unsigned char>(rest[0]) % 3];
        preferences.outputFormat =
            static_cast<unsigned char>(rest[0]) & 0x80 ? OutputFormat::European : OutputFormat::UnitedStates;
        rest.remove_prefix(1);
    }
    CalculatorDisplay display(preferences, engine);
    display.loadState(state);
    const fuzz::TimeLimit limit(engine);
    for (std::size_t i = 0; i < rest.size() && i < kMaxKeys; ++i)
        display.handleKey(static_cast<unsigned char>(rest[i]) % 160);

    const std::string written = display.saveState();
    CalculatorDisplay back(preferences, engine);
    back.loadState(written);
    fuzz::check(back.saveState() == written, "the display state reads back as it was written");
    return 0;
}
