// The display's keys in the "Basic-Standard" and "Basic-RPN" modes: each key is fed at once
// to the engine's stack calculator and the value it returns is shown on the line.
#include <cmath>

#include "ascii.h"
#include "basic_key_tokens.h"
#include "basic_machine.h"
#include "display_text.h"
#include "key_codes.h"
#include "keyboard_map.h"
#include "keypads.h"
#include "calculator_display.h"
#include "memory_text.h"
#include "utf16.h"

namespace {

bool isMemorySelection(int code)
{
    return code == KeyCode::kNextMemory || (code >= KeyCode::kMemory1 && code <= KeyCode::kMemory5);
}

// The operator sign shown while an operator waits in "Basic-Standard".
std::u16string_view operatorSign(int code)
{
    switch (code) {
    case KeyCode::kPlus: return u"+";
    case KeyCode::kMinus: return u"\u2212";
    case KeyCode::kMultiply: return u"\u00D7";
    case KeyCode::kDivide: return u"\u00F7";
    default: return {};
    }
}

}  // namespace

void CalculatorDisplay::feed(std::string_view token)
{
    const CalcValue value = inputMode() == InputMode::BasicRpn ? engine_.basic.stepRpn(engine_, token, radixValue())
                                                               : engine_.basic.stepBasic(engine_, token, radixValue());
    lastValue_ = value;
    hasLastValue_ = true;
}

std::u16string CalculatorDisplay::formatBasicValue(double value) const
{
    if (radix_ != KeyCode::kRadixDec) {
        // Outside decimal the value shows in the radix it is typed in.
        ResultFormatSettings settings;
        settings.radix = radixValue();
        settings.wordSize = wordSizeBits();
        return ascii::upper(formatResult({value, 0.0}, settings).text);
    }
    std::u16string text = fromUtf8(formatNormal(value));
    if (const std::optional<Separators> separators = separatorsOf(outputFormat()))
        groupDigits(text, separators->decimalChar, separators->groupChar);
    return text;
}

void CalculatorDisplay::showMessage(std::u16string_view message)
{
    currentLine().clear();
    currentLine().insertToken(message);
    showsMessage_ = true;
}

std::vector<std::u16string> CalculatorDisplay::stackTexts(std::size_t count) const
{
    const ScalarStack& values = engine_.basic.values();
    std::vector<std::u16string> texts(count);
    for (std::size_t level = 0; level < count && level < values.size(); ++level)
        texts[level] = formatBasicValue(values[values.size() - 1 - level].re);
    if (showsMessage_ && count > 0)
        texts[0] = currentLine().input();
    return texts;
}

void CalculatorDisplay::showBasicValue(CalcValue value)
{
    if (std::fabs(value.im) > 1e-8) {
        showMessage(u"Invalid parameter(s)");
        hasLastValue_ = false;
        return;
    }
    if (engine_.error() != ErrorCode::kNone) {
        showMessage(errorMessage(engine_.error()));
        hasLastValue_ = false;
        return;
    }
    showsMessage_ = false;
    currentLine().clear();
    for (char16_t c : formatBasicValue(value.re))
        currentLine().insertToken(std::u16string_view(&c, 1));
}

void CalculatorDisplay::reshowInRadix()
{
    if (hasLastValue_)
        showBasicValue(lastValue_);
}

void CalculatorDisplay::feedComposite(int code)
{
    const bool rpn = inputMode() == InputMode::BasicRpn;
    const std::string shown = formatNormal(engine_.basic.top().re);
    switch (code) {
    case KeyCode::kReciprocal:
        if (rpn) {
            // x stays on the stack below 1/x.
            for (std::string_view token : {std::string_view("Pop"), std::string_view("1"), std::string_view("(")})
                feed(token);
            feed(shown);
            feed("/");
        } else {
            for (std::string_view token : {std::string_view("^"), std::string_view("1"), BasicMachine::kSignToken,
                                           std::string_view("DoNothing")})
                feed(token);
        }
        return;
    case KeyCode::kTenToThePower:
        feed("Pop");
        if (!rpn)
            feed("Drop");  // the power takes the shown value's place, under pending operators
        feed("10");
        if (rpn)
            feed("(");
        if (!rpn)
            feed("^");
        feed(shown);
        feed(rpn ? "^" : "DoNothing");
        return;
    case KeyCode::kSquare:
    case KeyCode::kCube:
        if (rpn) {
            feed("(");
            feed(code == KeyCode::kSquare ? "2" : "3");
            feed("^");
        } else {
            feed("^");
            feed(code == KeyCode::kSquare ? "2" : "3");
            feed("DoNothing");
        }
        return;
    default:  // KeyCode::kCubeRoot
        if (rpn) {
            for (std::string_view token : {"(", "1", "(", "3", "/", "^"})
                feed(token);
        } else {
            feed("iroot");
            feed("3");
            feed("DoNothing");
        }
        return;
    }
}

bool CalculatorDisplay::handleBasicKey(int code)
{
    if (isMemorySelection(code)) {
        selectedMemory_ = code == KeyCode::kNextMemory
                              ? (selectedMemory_ >= KeyCode::kMemory5 ? KeyCode::kMemory1 : selectedMemory_ + 1)
                              : code;
        return true;
    }
    if (code == KeyCode::kShift)
        return false;
    std::u16string& memory = memories_[page_][selectedMemory_ - KeyCode::kMemory1];
    switch (code) {
    case KeyCode::kMemoryStore:
        memory = memoryTextOf(currentLine().input(), radix_ == KeyCode::kRadixHex, outputFormat());
        feed("(");
        return true;
    case KeyCode::kClearMemory: memory.clear(); return true;
    default: break;
    }

    resultText_.clear();
    resultIsValue_ = false;
    if (const std::optional<std::string_view> token = basicKeyToken(code)) {
        if (code == KeyCode::kDecimal && category_ == CategoryCode::kBaseConversion)
            return true;
        if (digitOfKey(code) && !radixAllowsKey(code, radix_))
            return true;
        feed(*token);
        if (inputMode() == InputMode::BasicStandard)
            resultText_ = std::u16string(operatorSign(code));
    } else if (code == KeyCode::kSquare || code == KeyCode::kCube || code == KeyCode::kCubeRoot ||
               code == KeyCode::kReciprocal || code == KeyCode::kTenToThePower) {
        feedComposite(code);
    } else if (code == KeyCode::kMemoryRecall) {
        feed("(");
        if (!memory.empty())
            feed(displayToEngineText(memory, outputFormat()));
        feed("Pop");
    } else if (code == KeyCode::kEquals) {
        feed("=");
        if (inputMode() == InputMode::BasicStandard)
            engine_.basic.reset();
    } else if (code == KeyCode::kClear) {
        // "C" starts the basic calculator afresh.
        engine_.basic.reset();
        engine_.resetError();
        lastValue_ = {};
        hasLastValue_ = false;
        showsMessage_ = false;
        currentLine().clear();
        return true;
    } else {
        return false;
    }
    showBasicValue(lastValue_);
    return true;
}
