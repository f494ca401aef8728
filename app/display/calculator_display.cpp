#include "calculator_display.h"

#include "archive_stream.h"
#include "atomic_file.h"
#include "key_codes.h"
#include "keypads.h"
#include "memory_text.h"

namespace {

int cycle(int value, int first, int last)
{
    return value >= last || value < first ? first : value + 1;
}

}  // namespace

CalculatorDisplay::CalculatorDisplay(const Preferences& preferences, Engine& engine)
    : preferences_(preferences), engine_(engine)
{
}

int CalculatorDisplay::radixValue() const
{
    switch (radix_) {
    case KeyCode::kRadixBin: return 2;
    case KeyCode::kRadixOct: return 8;
    case KeyCode::kRadixHex: return 16;
    default: return 10;
    }
}

int CalculatorDisplay::wordSizeBits() const
{
    switch (wordSize_) {
    case KeyCode::kWordSize16: return 16;
    case KeyCode::kWordSize32: return 32;
    default: return 8;
    }
}

DisplayFormat CalculatorDisplay::format() const
{
    switch (displayFormat_) {
    case KeyCode::kFormatFix: return DisplayFormat::Fix;
    case KeyCode::kFormatSci: return DisplayFormat::Sci;
    default: return DisplayFormat::Norm;
    }
}

void CalculatorDisplay::setAngleMode(int mode)
{
    if (mode >= 0 && mode <= 2)
        angleUnit_ = KeyCode::kAngleDeg + mode;
}

void CalculatorDisplay::setRadix(int radixCode)
{
    radix_ = radixCode;
    // The base-conversion category owns the radix it shows; other categories restore it.
    if (category_ == CategoryCode::kBaseConversion)
        baseRadix_ = radixCode;
}

void CalculatorDisplay::setCategory(int category)
{
    const auto forceDecimal = [this] {
        if (radix_ != KeyCode::kRadixDec)
            baseRadix_ = radix_;
        radix_ = KeyCode::kRadixDec;
    };
    category_ = category;
    switch (category) {
    case CategoryCode::kArithmetic:
    case CategoryCode::kTrigonometry:
    case CategoryCode::kConstants:
        page_ = 0;
        forceDecimal();
        break;
    case CategoryCode::kBaseConversion:
        page_ = 2;
        radix_ = baseRadix_;
        break;
    case CategoryCode::kMatrices:
        page_ = 4;
        forceDecimal();
        break;
    case CategoryCode::kEquationSolver:
    case CategoryCode::kFunctionGraphs:
    case CategoryCode::kDateTime: forceDecimal(); break;
    default:
        // Statistics, finance and the tools have no radix key: a radix left over from
        // "Base conversion" would leave them no way back to decimal.
        if (category >= 0 && category < kPageCount)
            page_ = category;
        forceDecimal();
        break;
    }
}

void CalculatorDisplay::clearCurrentLine()
{
    currentLine().clear();
    resultText_.clear();
    resultIsValue_ = false;
}

void CalculatorDisplay::insertTokens(int code)
{
    for (std::u16string_view token : insertedTokens(code, outputFormat()))
        currentLine().insertToken(token);
}

void CalculatorDisplay::storeMemory()
{
    if (!resultIsValue_)
        return;
    memories_[page_][selectedMemory_ - KeyCode::kMemory1] =
        memoryTextOf(resultText_, radix_ == KeyCode::kRadixHex, outputFormat());
}

void CalculatorDisplay::shiftHistory()
{
    if (currentLine().empty())
        return;
    auto& lines = pages_[page_];
    for (int i = kLineCount - 2; i >= currentLine_; --i)
        lines[i + 1] = lines[i];
}

bool CalculatorDisplay::handleStringKey(int code)
{
    if (keyKind(code) == KeyKind::Insert) {
        insertTokens(code);
        return true;
    }
    if (code >= KeyCode::kMemory1 && code <= KeyCode::kMemory5) {
        selectedMemory_ = code;
        return true;
    }
    if (code >= KeyCode::kLine1 && code <= KeyCode::kLine5) {
        currentLine_ = code - KeyCode::kLine1;
        return true;
    }
    switch (code) {
    case KeyCode::kClear: clearCurrentLine(); return true;
    case KeyCode::kDelete: currentLine().deleteAtCursor(); return true;
    case KeyCode::kCursorLeft: currentLine().moveCursor(-1); return true;
    case KeyCode::kCursorRight: currentLine().moveCursor(1); return true;
    case KeyCode::kCursorTenLeft: currentLine().moveCursor(-10); return true;
    case KeyCode::kCursorTenRight: currentLine().moveCursor(10); return true;
    case KeyCode::kNextLine: currentLine_ = (currentLine_ + 1) % kLineCount; return true;
    case KeyCode::kPreviousLine: currentLine_ = (currentLine_ + kLineCount - 1) % kLineCount; return true;
    case KeyCode::kNextMemory:
        selectedMemory_ = cycle(selectedMemory_, KeyCode::kMemory1, KeyCode::kMemory5);
        return true;
    case KeyCode::kMemoryStore: storeMemory(); return true;
    case KeyCode::kMemoryRecall:
        currentLine().insertToken(memories_[page_][selectedMemory_ - KeyCode::kMemory1]);
        return true;
    case KeyCode::kClearMemory: memories_[page_][selectedMemory_ - KeyCode::kMemory1].clear(); return true;
    case KeyCode::kEquals: shiftHistory(); return true;
    default: return false;
    }
}

bool CalculatorDisplay::handleCommonKey(int code)
{
    if (code >= KeyCode::kRadixBin && code <= KeyCode::kRadixHex) {
        setRadix(code);
    } else if (code == KeyCode::kRadixCycle) {
        setRadix(cycle(radix_, KeyCode::kRadixBin, KeyCode::kRadixHex));
    } else if (code >= KeyCode::kAngleDeg && code <= KeyCode::kAngleGra) {
        angleUnit_ = code;
    } else if (code == KeyCode::kAngleCycle) {
        angleUnit_ = cycle(angleUnit_, KeyCode::kAngleDeg, KeyCode::kAngleGra);
    } else if (code >= KeyCode::kFormatFix && code <= KeyCode::kFormatSci) {
        displayFormat_ = code;
    } else if (code == KeyCode::kFormatCycle) {
        // NORM, FIX, SCI, NORM.
        displayFormat_ = displayFormat_ == KeyCode::kFormatNorm  ? KeyCode::kFormatFix
                         : displayFormat_ == KeyCode::kFormatFix ? KeyCode::kFormatSci
                                                                 : KeyCode::kFormatNorm;
    } else if (code >= KeyCode::kWordSize8 && code <= KeyCode::kWordSize32) {
        wordSize_ = code;
    } else if (code == KeyCode::kWordSizeCycle) {
        wordSize_ = cycle(wordSize_, KeyCode::kWordSize8, KeyCode::kWordSize32);
    } else if (code == KeyCode::kShift) {
        shift_ = !shift_;
    } else {
        return false;
    }
    return true;
}

void CalculatorDisplay::handleKey(int code)
{
    if (code < 0 || code >= KeyCode::kCount)
        return;
    const bool handled = inputMode() == InputMode::StringStandard ? handleStringKey(code) : handleBasicKey(code);
    if (!handled && handleCommonKey(code) && inputMode() != InputMode::StringStandard)
        reshowInRadix();
}

std::string CalculatorDisplay::saveState() const
{
    ArchiveWriter writer;
    for (const auto& page : pages_) {
        for (const DisplayLine& line : page) {
            writer.writeString(line.input());
            writer.writeString(line.tokenMap());
        }
    }
    for (const auto& page : memories_) {
        for (const std::u16string& memory : page)
            writer.writeString(memory);
    }
    writer.writeU32(static_cast<std::uint32_t>(baseRadix_));
    writer.writeU32(static_cast<std::uint32_t>(displayFormat_));
    // After the four records that the original reader stops at: the angle unit, so that the
    // unit chosen with DRG survives a restart.
    writer.writeU32(static_cast<std::uint32_t>(angleUnit_));
    return writer.take();
}

void CalculatorDisplay::loadState(std::string_view bytes)
{
    ArchiveReader reader(bytes);
    for (auto& page : pages_) {
        for (DisplayLine& line : page) {
            std::u16string input;
            std::u16string map;
            if (!reader.readString(input) || !reader.readString(map))
                return;
            line.setContent(std::move(input), std::move(map));
        }
    }
    for (auto& page : memories_) {
        for (std::u16string& memory : page) {
            if (!reader.readString(memory))
                return;
        }
    }
    std::uint32_t value = 0;
    if (!reader.readU32(value))
        return;
    if (value >= KeyCode::kRadixBin && value <= KeyCode::kRadixHex)
        baseRadix_ = static_cast<int>(value);
    if (!reader.readU32(value))
        return;
    if (value >= KeyCode::kFormatFix && value <= KeyCode::kFormatSci)
        displayFormat_ = static_cast<int>(value);
    if (!reader.readU32(value))
        return;
    if (value >= KeyCode::kAngleDeg && value <= KeyCode::kAngleGra)
        angleUnit_ = static_cast<int>(value);
}

bool CalculatorDisplay::save(const std::filesystem::path& folder) const
{
    return writeFileAtomically(folder / kFileName, saveState());
}

void CalculatorDisplay::load(const std::filesystem::path& folder)
{
    std::string bytes;
    if (readWholeFile(folder / kFileName, bytes))
        loadState(bytes);
}
