#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "display_line.h"
#include "engine.h"
#include "input_mode.h"
#include "key_codes.h"
#include "preferences.h"
#include "result_format.h"

// The calculator's display as a model: twelve pages of five lines, the memories of each page,
// the indicators (display format, angle unit, radix, word size, shift) and the result text,
// with the key handler that edits them. Indicators keep their key codes (134..136, 142..144,
// 145..148, 138..140), which is also how "led.dat" stores them.
class CalculatorDisplay {
public:
    static constexpr int kPageCount = 12;
    static constexpr int kLineCount = 5;
    static constexpr int kMemoryCount = 5;
    static constexpr std::string_view kFileName = "led.dat";

    // The preferences are read at each key (input mode, output format), never copied; the
    // engine runs the basic modes' stack calculator.
    CalculatorDisplay(const Preferences& preferences, Engine& engine);

    // The key handler: code is a key code 0..159; unknown codes are ignored.
    void handleKey(int code);

    const std::u16string& getInputText() const { return currentLine().input(); }
    // A message or note for the result field; memory store ignores it.
    void setResultText(std::u16string text)
    {
        resultText_ = std::move(text);
        resultIsValue_ = false;
    }
    // A formatted result, which key 9 can store in a memory.
    void setResultValue(std::u16string text)
    {
        resultText_ = std::move(text);
        resultIsValue_ = true;
    }
    const std::u16string& resultText() const { return resultText_; }
    // Whether the result text is a formatted result rather than a message.
    bool resultIsValue() const { return resultIsValue_; }
    // Selects the page and radix rules of a category. Every category but "Base conversion"
    // runs in decimal; that one gets back the radix it had.
    void setCategory(int category);

    int displayFormat() const { return displayFormat_; }
    int angleUnit() const { return angleUnit_; }
    int radix() const { return radix_; }
    int wordSize() const { return wordSize_; }
    int selectedMemory() const { return selectedMemory_; }
    bool shift() const { return shift_; }
    int page() const { return page_; }
    int currentLineIndex() const { return currentLine_; }
    int category() const { return category_; }

    // Indicator values for the engine: radix 2/8/10/16, angle mode 0/1/2, word size 8/16/32.
    int radixValue() const;
    int angleMode() const { return angleUnit_ - KeyCode::kAngleDeg; }
    int wordSizeBits() const;
    DisplayFormat format() const;
    OutputFormat outputFormat() const { return preferences_.outputFormat; }
    // The angle indicator follows the engine's unit.
    void setAngleMode(int mode);

    const DisplayLine& line(int index) const { return pages_[page_][index]; }
    const DisplayLine& currentLine() const { return pages_[page_][currentLine_]; }
    DisplayLine& currentLine() { return pages_[page_][currentLine_]; }
    const std::u16string& memory(int index) const { return memories_[page_][index]; }

    // The state kept in "led.dat": lines (text and token map), memories, the base-conversion
    // radix, the display format and, after them, the angle unit. Reading stops quietly at the first bad record and
    // keeps what it read; values out of range keep their defaults.
    std::string saveState() const;
    void loadState(std::string_view bytes);
    bool save(const std::filesystem::path& folder) const;
    void load(const std::filesystem::path& folder);

    InputMode inputMode() const { return preferences_.inputMode; }
    // The basic modes' stack as the display shows it, top first: `count` texts, empty where the
    // stack holds no value. While an error message is up, it stands in for the top.
    std::vector<std::u16string> stackTexts(std::size_t count) const;
    // Whether the top is a number still being typed.
    bool stackEntryOpen() const { return engine_.basic.entryOpen(); }

private:
    // Keys of the "Basic-Standard" and "Basic-RPN" modes (calculator_display_basic_keys.cpp).
    bool handleBasicKey(int code);
    void feed(std::string_view token);
    void feedComposite(int code);
    void showBasicValue(CalcValue value);
    void showMessage(std::u16string_view message);
    void reshowInRadix();
    std::u16string formatBasicValue(double value) const;

    bool handleStringKey(int code);
    bool handleCommonKey(int code);
    void insertTokens(int code);
    void storeMemory();
    void shiftHistory();
    void setRadix(int radixCode);
    void clearCurrentLine();

    const Preferences& preferences_;
    Engine& engine_;
    CalcValue lastValue_{};  // the value the basic modes show
    bool hasLastValue_ = false;
    bool showsMessage_ = false;  // the line holds a basic-mode error message, not a value
    std::array<std::array<DisplayLine, kLineCount>, kPageCount> pages_{};
    std::array<std::array<std::u16string, kMemoryCount>, kPageCount> memories_{};
    int page_ = 0;
    int category_ = 0;
    int currentLine_ = 0;
    int selectedMemory_ = KeyCode::kMemory1;
    int displayFormat_ = KeyCode::kFormatNorm;
    int angleUnit_ = KeyCode::kAngleDeg;
    int radix_ = KeyCode::kRadixDec;
    int wordSize_ = KeyCode::kWordSize8;
    int baseRadix_ = KeyCode::kRadixDec;
    bool shift_ = false;
    std::u16string resultText_;
    bool resultIsValue_ = false;
};
