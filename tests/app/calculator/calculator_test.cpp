#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "atomic_file.h"
#include "key_codes.h"
#include "keypad_faces.h"
#include "keypads.h"
#include "calculator.h"
#include "temp_folder.h"

namespace {

StoredDate fixedToday()
{
    return StoredDate{2026, 12, 7};
}

struct Frame {
    TempFolder folder;
    Calculator frame{folder.path(), fixedToday};

    Frame() { frame.start(); }
    void keys(const std::vector<int>& codes)
    {
        for (int code : codes)
            frame.pressKey(code);
    }
    const std::u16string& input() { return frame.display().getInputText(); }
    const std::u16string& result() { return frame.display().resultText(); }
};

struct KeyCase {
    const char* name;
    int category;
    std::vector<int> codes;
    std::u16string input;
    std::u16string result;
};

class KeySequences : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeySequences, ShowInputAndResult)
{
    const KeyCase& c = GetParam();
    Frame f;
    f.frame.switchCategory(c.category);
    f.keys(c.codes);
    EXPECT_EQ(f.input(), c.input);
    EXPECT_EQ(f.result(), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    StringStandard, KeySequences,
    ::testing::Values(
        KeyCase{"Precedence", 0, {0, 18, 12, 8, 5, 19}, u"7+3\u00D74", u"19"},
        KeyCase{"OnePlusTwoTimesThree", 0, {10, 18, 11, 8, 12, 19}, u"1+2\u00D73", u"7"},
        KeyCase{"DeleteWholeFunction", 1, {54, 12, 15, 45, 48, 48, 48, 48, 47, 19}, u"30)", u"Syntax error"},
        KeyCase{"BackspaceAtEnd", 1, {10, 54, 48, 47}, u"1", u""},
        KeyCase{"EmptyLine", 0, {19}, u"", u"Empty string"},
        KeyCase{"TinyGoesScientific", 0, {15, 16, 15, 15, 15, 15, 6, 19}, u"0.00005", u"5.0000000000e-05"},
        KeyCase{"Complex", 0, {12, 18, 25, 19}, u"3+i", u"3+i"},
        KeyCase{"SignKey", 0, {17, 12, 45, 8, 11, 19}, u"(-3)\u00D72", u"-6"},
        KeyCase{"Answer", 0, {11, 19, 4, 22, 18, 10, 19}, u"[ans]+1", u"3"},
        KeyCase{"HexEightBit", 2, {148, 138, 77, 77, 19}, u"FF", u"FF"},
        KeyCase{"HexMinusOne", 2, {148, 138, 15, 13, 10, 19}, u"0\u22121", u"FF"},
        KeyCase{"BinaryPadding", 2, {145, 138, 10, 15, 10, 19}, u"101", u"00000101"},
        KeyCase{"DecimalInBaseIsSignedInFix", 2, {147, 138, 134, 11, 15, 15, 19}, u"200", u"-56"},
        KeyCase{"DecimalInBaseNorm", 2, {147, 138, 11, 15, 15, 19}, u"200", u"200"},
        KeyCase{"ClearKey", 0, {10, 18, 4}, u"", u""},
        KeyCase{"RecallMemory", 0, {5, 19, 9, 4, 14, 8, 11, 19}, u"4\u00D72", u"8"},
        KeyCase{"GroupedResult", 0, {10, 11, 12, 5, 6, 7, 19}, u"123456", u"123\u00B8456"},
        KeyCase{"DivisionError", 0, {10, 3, 15, 19}, u"1\u00F70", u"Division error"}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(CalculatorDisplay, EqualsKeepsTheLineAsHistory)
{
    Frame f;
    f.keys({10, 18, 10, 19});
    const CalculatorDisplay& display = f.frame.display();
    EXPECT_EQ(display.line(0).input(), u"1+1");
    EXPECT_EQ(display.line(1).input(), u"1+1");
    f.keys({4, 19});
    EXPECT_EQ(display.line(1).input(), u"1+1");
    EXPECT_EQ(display.line(2).input(), u"");
    f.keys({149, 149, 149, 149, 12, 19});
    EXPECT_EQ(display.currentLineIndex(), 4);
    EXPECT_EQ(display.line(4).input(), u"3");
}

TEST(CalculatorDisplay, IndicatorsCycleAndSet)
{
    Frame f;
    CalculatorDisplay& d = f.frame.display();
    f.keys({133});
    EXPECT_EQ(d.displayFormat(), KeyCode::kFormatFix);
    f.keys({133, 133});
    EXPECT_EQ(d.displayFormat(), KeyCode::kFormatNorm);
    f.keys({50, 50, 50});
    EXPECT_EQ(d.angleUnit(), KeyCode::kAngleDeg);
    f.keys({137, 137});
    EXPECT_EQ(d.wordSizeBits(), 32);
    f.keys({137});
    EXPECT_EQ(d.wordSizeBits(), 8);
    f.keys({23});
    EXPECT_TRUE(d.shift());
    f.keys({129, 20});
    EXPECT_EQ(d.selectedMemory(), KeyCode::kMemory5);
    f.keys({20});
    EXPECT_EQ(d.selectedMemory(), KeyCode::kMemory1);
}

TEST(CalculatorDisplay, ComplexArgumentSwitchesTheAngleIndicator)
{
    Frame f;
    f.keys({54, 25, 45, 19});
    EXPECT_EQ(f.frame.display().angleUnit(), KeyCode::kAngleRad);
}

TEST(CalculatorDisplay, EuropeanDecimalKeyAndResult)
{
    Frame f;
    f.frame.preferences().outputFormat = OutputFormat::European;
    f.keys({10, 16, 6, 8, 11, 19});
    EXPECT_EQ(f.input(), u"1\u00B85\u00D72");
    EXPECT_EQ(f.result(), u"3");
    f.keys({4, 10, 11, 12, 5, 16, 6, 19});
    EXPECT_EQ(f.result(), u"1.234\u00B85");
}

TEST(CalculatorDisplay, MemoryStoreWritesExponentsAsExpAndDropsGrouping)
{
    struct Case {
        std::vector<int> codes;
        std::u16string memory;
    };
    const Case cases[] = {
        {{15, 16, 15, 15, 15, 15, 6, 19}, u"5.0000000000exp(-05)"},
        {{10, 15, 30, 10, 11, 19}, u"1.0000000000exp12"},
        {{10, 11, 12, 5, 6, 7, 19}, u"123456"},
        {{15, 8, 12, 19}, u"0"},
        {{10, 3, 15, 19}, u""},
    };
    for (const Case& c : cases) {
        Frame f;
        f.keys(c.codes);
        f.keys({9});
        EXPECT_EQ(f.frame.display().memory(0), c.memory);
    }
}

TEST(CategorySwitch, SelectsPagesAndForcesDecimal)
{
    Frame f;
    CalculatorDisplay& d = f.frame.display();
    f.frame.switchCategory(CategoryCode::kBaseConversion);
    f.keys({148});
    EXPECT_EQ(d.page(), 2);
    f.frame.switchCategory(CategoryCode::kConstants);
    EXPECT_EQ(d.page(), 0);
    EXPECT_EQ(d.radix(), KeyCode::kRadixDec);
    f.frame.switchCategory(CategoryCode::kMatrices);
    EXPECT_EQ(d.page(), 4);
    f.frame.switchCategory(CategoryCode::kEquationSolver);
    EXPECT_EQ(d.page(), 4);
    f.frame.switchCategory(CategoryCode::kStatistics);
    EXPECT_EQ(d.page(), 3);
    f.frame.switchCategory(CategoryCode::kBaseConversion);
    EXPECT_EQ(d.radix(), KeyCode::kRadixHex);
}

TEST(CategorySwitch, LeavingOrEnteringBaseConversionClearsTheLine)
{
    Frame f;
    f.keys({10, 18});
    f.frame.switchCategory(CategoryCode::kTrigonometry);
    EXPECT_EQ(f.input(), u"1+");
    f.frame.switchCategory(CategoryCode::kBaseConversion);
    EXPECT_EQ(f.input(), u"");
    f.keys({10});
    f.frame.switchCategory(CategoryCode::kArithmetic);
    EXPECT_EQ(f.input(), u"");
}

TEST(CategorySwitch, ToolCategoriesRunStringStandardAndKeepThePreferredMode)
{
    TempFolder folder;
    {
        Calculator frame(folder.path(), fixedToday);
        frame.start();
        frame.setPreferredInputMode(InputMode::BasicRpn);
        EXPECT_EQ(frame.preferences().inputMode, InputMode::BasicRpn);
        frame.switchCategory(CategoryCode::kMatrices);
        EXPECT_EQ(frame.preferences().inputMode, InputMode::StringStandard);
        EXPECT_EQ(frame.preferredInputMode(), InputMode::BasicRpn);
        frame.close();
    }
    {
        Calculator frame(folder.path(), fixedToday);
        frame.start();
        EXPECT_EQ(frame.category(), CategoryCode::kMatrices);
        EXPECT_EQ(frame.preferences().inputMode, InputMode::StringStandard);
        frame.switchCategory(CategoryCode::kArithmetic);
        EXPECT_EQ(frame.preferences().inputMode, InputMode::BasicRpn);
        frame.close();
        EXPECT_EQ(frame.preferences().lastCategory, 0);
    }
}

TEST(CategorySwitch, HardKeysScrollThroughTheEnabledOrder)
{
    Frame f;
    Preferences& p = f.frame.preferences();
    EXPECT_TRUE(f.frame.scrollCategories(true));
    EXPECT_EQ(f.frame.category(), 1);
    p.navEnabled[2] = false;
    p.navEnabled[3] = false;
    f.frame.scrollCategories(true);
    EXPECT_EQ(f.frame.category(), 7);
    f.frame.scrollCategories(false);
    EXPECT_EQ(f.frame.category(), 1);
    f.frame.switchCategory(CategoryCode::kMatrices);
    f.frame.scrollCategories(false);
    EXPECT_EQ(f.frame.category(), 14);
    f.frame.switchCategory(CategoryCode::kMatrices);
    f.frame.scrollCategories(true);
    EXPECT_EQ(f.frame.category(), 0);
    p.navEnabled.fill(false);
    EXPECT_FALSE(f.frame.scrollCategories(true));
    EXPECT_EQ(f.frame.category(), 0);
}

TEST(DisplayState, SurvivesCloseAndStart)
{
    TempFolder folder;
    {
        Calculator frame(folder.path(), fixedToday);
        frame.start();
        for (int code : {10, 54, 12, 45, 19, 9, 133})
            frame.pressKey(code);
        frame.switchCategory(CategoryCode::kBaseConversion);
        frame.pressKey(KeyCode::kRadixHex);
        frame.close();
    }
    Calculator frame(folder.path(), fixedToday);
    frame.start();
    const CalculatorDisplay& d = frame.display();
    EXPECT_EQ(frame.category(), CategoryCode::kBaseConversion);
    EXPECT_EQ(d.radix(), KeyCode::kRadixHex);
    EXPECT_EQ(d.displayFormat(), KeyCode::kFormatFix);
    frame.switchCategory(CategoryCode::kArithmetic);
    // Start-up clears the current line (line 0); the history copy below it stays.
    EXPECT_EQ(d.line(0).input(), u"");
    EXPECT_EQ(d.line(1).input(), u"1sin(3)");
    EXPECT_EQ(d.line(1).tokenMap(), u"1411");
    EXPECT_EQ(d.memory(0), u"0.052335956243");
}

TEST(DisplayState, DamagedFilesKeepWhatWasReadAndNeverCrash)
{
    Preferences preferences;
    Engine engine;
    CalculatorDisplay source(preferences, engine);
    source.handleKey(10);
    source.handleKey(KeyCode::kFormatSci);
    const std::string good = source.saveState();
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = good.substr(0, random() % (good.size() + 1));
        for (int flips = round % 5; flips > 0 && !bytes.empty(); --flips)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        CalculatorDisplay display(preferences, engine);
        display.loadState(bytes);
        EXPECT_GE(display.displayFormat(), KeyCode::kFormatFix);
        EXPECT_LE(display.displayFormat(), KeyCode::kFormatSci);
        EXPECT_EQ(display.currentLine().cursor(), 0u);
    }
    CalculatorDisplay full(preferences, engine);
    full.loadState(good);
    EXPECT_EQ(full.line(0).input(), u"1");
    EXPECT_EQ(full.displayFormat(), KeyCode::kFormatSci);
}

}  // namespace

namespace {

TEST(KeypadInput, ShiftAndHoldSelectSecondFunctions)
{
    Frame f;
    Calculator& frame = f.frame;
    // Arithmetic position 5 is "exp"; its second function is " mod ".
    EXPECT_EQ(frame.pressFunctionKey(5, false), Calculator::KeypadResult::Done);
    EXPECT_EQ(f.input(), u"exp");
    frame.pressFunctionKey(5, true);
    EXPECT_EQ(f.input(), u"exp mod ");
    // Shift is turned off by the second function it selected.
    frame.pressFunctionKey(0, false);
    EXPECT_TRUE(frame.display().shift());
    frame.pressBasicKey(Orientation::Portrait, 19, false);
    EXPECT_EQ(f.input(), u"exp mod [ans]");
    EXPECT_FALSE(frame.display().shift());
    EXPECT_EQ(frame.pressFunctionKey(1, false), Calculator::KeypadResult::OpenCalculusList);
    frame.chooseCalculusEntry(u"Integration");
    EXPECT_EQ(f.input(), u"exp mod [ans]\u222B(");
    EXPECT_EQ(frame.pressFunctionKey(2, false), Calculator::KeypadResult::NoKey);
    // The editing row: "(", cursor left, delete.
    frame.pressFunctionKey(12, false);
    frame.pressFunctionKey(16, false);
    frame.pressFunctionKey(15, false);
    EXPECT_EQ(f.input(), u"exp mod [ans]\u222B(");
    EXPECT_TRUE(Calculator::repeatsWhileHeld(*frame.functionKeyCode(15, false)));
    EXPECT_FALSE(Calculator::repeatsWhileHeld(*frame.functionKeyCode(12, false)));
}

TEST(KeypadInput, TypedAndPastedText)
{
    Frame f;
    Calculator& frame = f.frame;
    // With "Pocket keyboard letters" the letters are the pocket computer's digit keys.
    frame.preferences().pocketKeyboardLetters = true;
    for (char16_t c : std::u16string_view(u"w+e"))
        EXPECT_TRUE(frame.typeCharacter(c));
    EXPECT_EQ(f.input(), u"1+2");
    frame.typeCharacter(u'=');
    EXPECT_EQ(f.result(), u"3");
    frame.preferences().pocketKeyboardLetters = false;
    frame.pressKey(KeyCode::kClear);
    frame.pasteText(u"2*(3+4)\nignored");
    EXPECT_EQ(f.input(), u"2\u00D7(3+4)");
    frame.pressKey(KeyCode::kEquals);
    EXPECT_EQ(f.result(), u"14");
    frame.pressKey(KeyCode::kClear);
    frame.pasteText(std::u16string(5000, u'1'));
    EXPECT_EQ(f.input().size(), Engine::kMaxExpressionLength);
}

}  // namespace

namespace {

TEST(MacroEditing, WritesAMacroAndUsesItInExpressions)
{
    TempFolder folder;
    {
        Calculator frame(folder.path(), fixedToday);
        frame.start();
        frame.switchCategory(CategoryCode::kMacros);
        EXPECT_TRUE(frame.macroEditor().editing());
        EXPECT_EQ(frame.display().resultText(), u"macro editing ...");
        frame.editMacro(u"Ma");
        // Categories 2 to 10 wait until the macro is done; Arithmetic lends its keypad.
        frame.switchCategory(CategoryCode::kTip);
        EXPECT_EQ(frame.category(), CategoryCode::kMacros);
        frame.switchCategory(CategoryCode::kArithmetic);
        for (int code : {34, 8, 11})
            frame.pressKey(code);
        EXPECT_EQ(frame.macroEditor().params(), u"x");
        ASSERT_TRUE(frame.saveMacro());
        frame.stopEditingMacro();
        frame.switchCategory(CategoryCode::kTip);
        EXPECT_EQ(frame.category(), CategoryCode::kTip);
        frame.close();
    }
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "macro.mcr"));
    Calculator frame(folder.path(), fixedToday);
    frame.start();
    frame.switchCategory(CategoryCode::kArithmetic);
    frame.pressKey(KeyCode::kClear);
    frame.pasteText(u"Ma(5)+1");
    frame.pressKey(KeyCode::kEquals);
    EXPECT_EQ(frame.display().resultText(), u"11");
    frame.pressKey(KeyCode::kClear);
    frame.pasteText(u"Ma(5");
    frame.pressKey(KeyCode::kEquals);
    EXPECT_EQ(frame.display().resultText(), u"10");
    frame.pressKey(KeyCode::kClear);
    frame.pasteText(u"Ma((5");
    frame.pressKey(KeyCode::kEquals);
    EXPECT_EQ(frame.display().resultText(), u"Invalid macro");
}

}  // namespace

namespace {

TEST(KeypadInput, TheKeyAfterShiftOpensTheDataWindowsAndNamesGoInAsOneToken)
{
    Frame f;
    struct Case {
        int category;
        Calculator::KeypadResult result;
    };
    for (const Case& c : {Case{CategoryCode::kMatrices, Calculator::KeypadResult::OpenMatrixWindow},
                          Case{CategoryCode::kStatistics, Calculator::KeypadResult::OpenStatisticsWindow},
                          Case{CategoryCode::kTrigonometry, Calculator::KeypadResult::NoKey}}) {
        f.frame.switchCategory(c.category);
        EXPECT_EQ(f.frame.pressFunctionKey(1, false), c.result) << c.category;
    }
    // The finance keypad opens its three windows from positions 1 to 3.
    struct FinanceCase {
        int position;
        Calculator::KeypadResult result;
        std::u16string_view label;
    };
    f.frame.switchCategory(CategoryCode::kFinance);
    for (const FinanceCase& c : {FinanceCase{1, Calculator::KeypadResult::OpenTvmWindow, u"TVM"},
                                 FinanceCase{2, Calculator::KeypadResult::OpenLoanWindow, u"Loan"},
                                 FinanceCase{3, Calculator::KeypadResult::OpenMortgageWindow, u"Mortg."}}) {
        EXPECT_EQ(f.frame.pressFunctionKey(c.position, false), c.result) << c.position;
        EXPECT_EQ(functionKeypadFaces(CategoryCode::kFinance)[static_cast<std::size_t>(c.position)].label, c.label);
    }
    EXPECT_EQ(functionKeypadFaces(CategoryCode::kMatrices)[1].label, u"MAT");
    EXPECT_EQ(functionKeypadFaces(CategoryCode::kStatistics)[1].label, u"DATA");
    f.frame.switchCategory(CategoryCode::kMatrices);
    f.frame.insertVariableName(u"[VA]");
    f.frame.pressFunctionKey(3, false);
    f.frame.insertVariableName(u"[VA]");
    f.frame.pressFunctionKey(13, false);
    EXPECT_EQ(f.input(), u"[VA]inv([VA])");
    f.frame.pressFunctionKey(15 - 1, false);
    EXPECT_EQ(f.frame.display().currentLine().tokenCount(), 5u);
}

}  // namespace
