#include "display_indicators.h"

#include "calculator_display.h"
#include "key_codes.h"
#include "keypads.h"

std::vector<DisplayIndicator> displayIndicators(const CalculatorDisplay& display, int category)
{
    static const char16_t* const kAngles[] = {u"DEG", u"RAD", u"GRA"};
    static const char16_t* const kFormats[] = {u"FIX", u"NORM", u"SCI"};
    static const char16_t* const kRadixes[] = {u"BIN", u"OCT", u"DEC", u"HEX"};
    const bool baseConversion = category == CategoryCode::kBaseConversion;
    std::vector<DisplayIndicator> indicators;
    if (display.shift())
        indicators.push_back({u"SHIFT", KeyCode::kShift});
    if (display.inputMode() == InputMode::BasicStandard)
        indicators.push_back({u"BASIC", -1});
    else if (display.inputMode() == InputMode::BasicRpn)
        indicators.push_back({u"RPN", -1});
    indicators.push_back({kAngles[display.angleUnit() - KeyCode::kAngleDeg], KeyCode::kAngleCycle});
    indicators.push_back({kFormats[display.displayFormat() - KeyCode::kFormatFix], KeyCode::kFormatCycle});
    indicators.push_back({kRadixes[display.radix() - KeyCode::kRadixBin], baseConversion ? KeyCode::kRadixCycle : -1});
    if (baseConversion)
        indicators.push_back({std::u16string(display.wordSizeBits() == 8    ? u"8"
                                             : display.wordSizeBits() == 16 ? u"16"
                                                                            : u"32") +
                                  u" bit",
                              KeyCode::kWordSizeCycle});
    indicators.push_back(
        {u"M" + std::u16string(1, static_cast<char16_t>(u'1' + display.selectedMemory() - KeyCode::kMemory1)),
         KeyCode::kNextMemory});
    return indicators;
}
