#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "atomic_file.h"
#include "key_codes.h"
#include "keypad_faces.h"
#include "key_presses.h"
#include "keypads.h"
#include "calculator.h"
#include "started_calculator.h"
#include "utf16.h"
#include "temp_folder.h"

namespace {

const int kSine = keyInserting(u"sin(");

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
    StartedCalculator f;
    f.calculator.switchCategory(c.category);
    f.press(c.codes);
    EXPECT_EQ(f.input(), c.input);
    EXPECT_EQ(f.result(), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    StringStandard, KeySequences,
    ::testing::Values(
        KeyCase{"Precedence", 0, keys("7+3*4="), u"7+3\u00D74", u"19"},
        KeyCase{"OnePlusTwoTimesThree", 0, keys("1+2*3="), u"1+2\u00D73", u"7"},
        KeyCase{"DeleteWholeFunction", 1,
                keys(kSine, "30)", KeyCode::kCursorLeft, KeyCode::kCursorLeft, KeyCode::kCursorLeft,
                     KeyCode::kCursorLeft, KeyCode::kDelete, "="),
                u"30)", u"Syntax error"},
        KeyCase{"BackspaceAtEnd", 1, keys("1", kSine, "\b"), u"1", u""},
        KeyCase{"EmptyLineDoesNothing", 0, keys("="), u"", u""},
        KeyCase{"TinyGoesScientific", 0, keys("0.00005="), u"0.00005", u"5.0000000000e-05"},
        KeyCase{"Complex", 0, keys("3+", KeyCode::kImaginary, "="), u"3+i", u"3+i"},
        KeyCase{"SignKey", 0, keys(KeyCode::kSign, "3)*2="), u"(-3)\u00D72", u"-6"},
        KeyCase{"Answer", 0, keys("2=", KeyCode::kClear, KeyCode::kAnswer, "+1="), u"[ans]+1", u"3"},
        KeyCase{"HexEightBit", 2, keys(KeyCode::kRadixHex, KeyCode::kWordSize8, KeyCode::kHexF, KeyCode::kHexF, "="),
                u"FF", u"FF"},
        KeyCase{"HexMinusOne", 2, keys(KeyCode::kRadixHex, KeyCode::kWordSize8, "0-1="), u"0\u22121", u"FF"},
        KeyCase{"BinaryPadding", 2, keys(KeyCode::kRadixBin, KeyCode::kWordSize8, "101="), u"101", u"00000101"},
        KeyCase{"DecimalInBaseIsSignedInFix", 2,
                keys(KeyCode::kRadixDec, KeyCode::kWordSize8, KeyCode::kFormatFix, "200="), u"200", u"-56"},
        KeyCase{"DecimalInBaseNorm", 2, keys(KeyCode::kRadixDec, KeyCode::kWordSize8, "200="), u"200", u"200"},
        KeyCase{"ClearKey", 0, keys("1+", KeyCode::kClear), u"", u""},
        KeyCase{"RecallMemory", 0, keys("4=", KeyCode::kMemoryStore, KeyCode::kClear, KeyCode::kMemoryRecall, "*2="),
                u"4\u00D72", u"8"},
        KeyCase{"GroupedResult", 0, keys("123456="), u"123456", u"123\u00B8456"},
        KeyCase{"DivisionError", 0, keys("1/0="), u"1\u00F70", u"Division error"}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(CalculatorDisplay, EqualsKeepsTheLineAsHistory)
{
    StartedCalculator f;
    f.press(keys("1+1="));
    const CalculatorDisplay& display = f.calculator.display();
    EXPECT_EQ(display.line(0).input(), u"1+1");
    EXPECT_EQ(display.line(1).input(), u"1+1");
    f.press(keys(KeyCode::kClear, "="));
    EXPECT_EQ(display.line(1).input(), u"1+1");
    EXPECT_EQ(display.line(2).input(), u"");
    f.press(keys(KeyCode::kNextLine, KeyCode::kNextLine, KeyCode::kNextLine, KeyCode::kNextLine, "3="));
    EXPECT_EQ(display.currentLineIndex(), 4);
    EXPECT_EQ(display.line(4).input(), u"3");
}

TEST(CalculatorDisplay, IndicatorsCycleAndSet)
{
    StartedCalculator f;
    CalculatorDisplay& d = f.calculator.display();
    f.press({KeyCode::kFormatCycle});
    EXPECT_EQ(d.displayFormat(), KeyCode::kFormatFix);
    f.press({KeyCode::kFormatCycle, KeyCode::kFormatCycle});
    EXPECT_EQ(d.displayFormat(), KeyCode::kFormatNorm);
    f.press({KeyCode::kAngleCycle, KeyCode::kAngleCycle, KeyCode::kAngleCycle});
    EXPECT_EQ(d.angleUnit(), KeyCode::kAngleDeg);
    f.press({KeyCode::kWordSizeCycle, KeyCode::kWordSizeCycle});
    EXPECT_EQ(d.wordSizeBits(), 32);
    f.press({KeyCode::kWordSizeCycle});
    EXPECT_EQ(d.wordSizeBits(), 8);
    f.press({KeyCode::kShift});
    EXPECT_TRUE(d.shift());
    f.press({KeyCode::kMemory1 + 3, KeyCode::kNextMemory});
    EXPECT_EQ(d.selectedMemory(), KeyCode::kMemory5);
    f.press({KeyCode::kNextMemory});
    EXPECT_EQ(d.selectedMemory(), KeyCode::kMemory1);
}

// A calculation that works in radians inside, or shows its result in SCI, leaves DEG and NORM
// as the user set them: the next calculation is in degrees and shown plainly.
TEST(CalculatorDisplay, ACalculationLeavesTheAngleUnitAndTheFormatAsTheUserSetThem)
{
    const std::u16string_view lines[] = {u"sin(i)", u"fnInt(x^2,x,0,1)", u"fnDeriv(x^2,x,1)", u"1/300000", u"2^40"};
    for (const std::u16string_view line : lines) {
        StartedCalculator f;
        f.type(line);
        f.type(u"\r");
        f.type(u"\x1Bsin(30)+sqrt(2)\r");
        EXPECT_EQ(f.result(), u"1.9142135623731") << toUtf8(line);
        EXPECT_EQ(f.calculator.display().angleUnit(), KeyCode::kAngleDeg) << toUtf8(line);
        EXPECT_EQ(f.calculator.display().displayFormat(), KeyCode::kFormatNorm) << toUtf8(line);
    }
}

// What a desktop user types is what the user means: scientific notation is one number, and the
// signs of a math keyboard are their keys.
TEST(CalculatorDisplay, TypedNumbersAndSignsReadAsWritten)
{
    const struct {
        std::u16string_view typed;
        std::u16string_view shown;
    } cases[] = {
        {u"6.02e23/1e22", u"60.2"},
        {u"2e-3*1000", u"2"},
        {u"1/2e3", u"0.0005"},
        {u"2e", u"5.43656365691809"},
        // The signs of a math keyboard or a character map go in as their keys.
        {u"\u221A16)", u"4"},
        {u"3\u00B2+2\u00B3", u"17"},
        {u"2\u03C0", u"6.28318530717959"},
        {u"6\u00F72\u00D73\u22121", u"8"},
    };
    for (const auto& c : cases) {
        StartedCalculator f;
        f.type(c.typed);
        f.type(u"\r");
        EXPECT_EQ(f.result(), c.shown) << toUtf8(c.typed);
    }
    // In European format too: the decimal mark belongs to a signed number and a mantissa.
    StartedCalculator f;
    f.calculator.preferences().outputFormat = OutputFormat::European;
    f.type(u"2*-1.5\r");
    EXPECT_EQ(f.result(), u"-3");
    f.type(u"2.5e-1\r");
    EXPECT_EQ(f.result(), u"0\u00B825");
}

TEST(CalculatorDisplay, EuropeanDecimalKeyAndResult)
{
    StartedCalculator f;
    f.calculator.preferences().outputFormat = OutputFormat::European;
    f.press(keys("1.5*2="));
    EXPECT_EQ(f.input(), u"1\u00B85\u00D72");
    EXPECT_EQ(f.result(), u"3");
    f.press(keys(KeyCode::kClear, "1234.5="));
    EXPECT_EQ(f.result(), u"1.234\u00B85");
}

TEST(CalculatorDisplay, MemoryStoreWritesExponentsAsExpAndDropsGrouping)
{
    struct Case {
        std::vector<int> codes;
        std::u16string memory;
    };
    const Case cases[] = {
        {keys("0.00005="), u"5.0000000000exp(-05)"},
        {keys("10^12="), u"1.0000000000exp12"},
        {keys("123456="), u"123456"},
        {keys("0*3="), u"0"},
        {keys("1/0="), u""},
    };
    for (const Case& c : cases) {
        StartedCalculator f;
        f.press(c.codes);
        f.press({KeyCode::kMemoryStore});
        EXPECT_EQ(f.calculator.display().memory(0), c.memory);
    }
}

TEST(CategorySwitch, SelectsPagesAndForcesDecimal)
{
    StartedCalculator f;
    CalculatorDisplay& d = f.calculator.display();
    f.calculator.switchCategory(CategoryCode::kBaseConversion);
    f.press({KeyCode::kRadixHex});
    EXPECT_EQ(d.page(), 2);
    f.calculator.switchCategory(CategoryCode::kConstants);
    EXPECT_EQ(d.page(), 0);
    EXPECT_EQ(d.radix(), KeyCode::kRadixDec);
    f.calculator.switchCategory(CategoryCode::kMatrices);
    EXPECT_EQ(d.page(), 4);
    f.calculator.switchCategory(CategoryCode::kEquationSolver);
    EXPECT_EQ(d.page(), 4);
    f.calculator.switchCategory(CategoryCode::kStatistics);
    EXPECT_EQ(d.page(), 3);
    f.calculator.switchCategory(CategoryCode::kBaseConversion);
    EXPECT_EQ(d.radix(), KeyCode::kRadixHex);
}

// Base conversion and the decimal categories each keep their half-typed line; one that would
// be read in another base is cleared.
TEST(CategorySwitch, BaseConversionAndTheDecimalCategoriesKeepTheirOwnLines)
{
    StartedCalculator f;
    f.press(keys("1+"));
    f.calculator.switchCategory(CategoryCode::kTrigonometry);
    EXPECT_EQ(f.input(), u"1+");
    f.calculator.switchCategory(CategoryCode::kBaseConversion);
    EXPECT_EQ(f.input(), u"");
    f.press(keys("101"));
    f.calculator.switchCategory(CategoryCode::kArithmetic);
    EXPECT_EQ(f.input(), u"1+");
    f.calculator.switchCategory(CategoryCode::kBaseConversion);
    EXPECT_EQ(f.input(), u"101");
    // The equation solver shows the lines of the category before it, in decimal.
    f.calculator.switchCategory(CategoryCode::kEquationSolver);
    EXPECT_EQ(f.input(), u"");
}

TEST(CategorySwitch, ToolCategoriesRunStringStandardAndKeepThePreferredMode)
{
    TempFolder folder;
    {
        Calculator calculator(folder.path(), fixedToday);
        calculator.start();
        calculator.setPreferredInputMode(InputMode::BasicRpn);
        EXPECT_EQ(calculator.preferences().inputMode, InputMode::BasicRpn);
        calculator.switchCategory(CategoryCode::kMatrices);
        EXPECT_EQ(calculator.preferences().inputMode, InputMode::StringStandard);
        EXPECT_EQ(calculator.preferredInputMode(), InputMode::BasicRpn);
        calculator.close();
    }
    {
        Calculator calculator(folder.path(), fixedToday);
        calculator.start();
        EXPECT_EQ(calculator.category(), CategoryCode::kMatrices);
        EXPECT_EQ(calculator.preferences().inputMode, InputMode::StringStandard);
        calculator.switchCategory(CategoryCode::kArithmetic);
        EXPECT_EQ(calculator.preferences().inputMode, InputMode::BasicRpn);
        calculator.close();
        EXPECT_EQ(calculator.preferences().lastCategory, 0);
    }
}

TEST(CategorySwitch, HardKeysScrollThroughTheEnabledOrder)
{
    StartedCalculator f;
    Preferences& p = f.calculator.preferences();
    EXPECT_TRUE(f.calculator.scrollCategories(true));
    EXPECT_EQ(f.calculator.category(), 1);
    p.navEnabled[2] = false;
    p.navEnabled[3] = false;
    f.calculator.scrollCategories(true);
    EXPECT_EQ(f.calculator.category(), 7);
    f.calculator.scrollCategories(false);
    EXPECT_EQ(f.calculator.category(), 1);
    f.calculator.switchCategory(CategoryCode::kMatrices);
    f.calculator.scrollCategories(false);
    EXPECT_EQ(f.calculator.category(), 14);
    f.calculator.switchCategory(CategoryCode::kMatrices);
    f.calculator.scrollCategories(true);
    EXPECT_EQ(f.calculator.category(), 0);
    p.navEnabled.fill(false);
    EXPECT_FALSE(f.calculator.scrollCategories(true));
    EXPECT_EQ(f.calculator.category(), 0);
}

TEST(DisplayState, SurvivesCloseAndStart)
{
    TempFolder folder;
    {
        Calculator calculator(folder.path(), fixedToday);
        calculator.start();
        for (int code : keys("1", kSine, "3)=", KeyCode::kMemoryStore, KeyCode::kFormatCycle))
            calculator.pressKey(code);
        calculator.switchCategory(CategoryCode::kBaseConversion);
        calculator.pressKey(KeyCode::kRadixHex);
        calculator.close();
    }
    Calculator calculator(folder.path(), fixedToday);
    calculator.start();
    const CalculatorDisplay& d = calculator.display();
    EXPECT_EQ(calculator.category(), CategoryCode::kBaseConversion);
    EXPECT_EQ(d.radix(), KeyCode::kRadixHex);
    EXPECT_EQ(d.displayFormat(), KeyCode::kFormatFix);
    calculator.switchCategory(CategoryCode::kArithmetic);
    // The decimal page kept its lines while Base conversion was shown.
    EXPECT_EQ(d.line(0).input(), u"1sin(3)");
    EXPECT_EQ(d.line(1).input(), u"1sin(3)");
    EXPECT_EQ(d.line(1).tokenMap(), u"1411");
    EXPECT_EQ(d.memory(0), u"0.052335956243");
}

TEST(DisplayState, DamagedFilesKeepWhatWasReadAndNeverCrash)
{
    Preferences preferences;
    Engine engine;
    CalculatorDisplay source(preferences, engine);
    for (int code : keys("1", KeyCode::kFormatSci))
        source.handleKey(code);
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
    StartedCalculator f;
    Calculator& calculator = f.calculator;
    // Arithmetic position 5 is "exp"; its second function is " mod ".
    EXPECT_EQ(calculator.pressFunctionKey(5, false), Calculator::KeypadResult::Done);
    EXPECT_EQ(f.input(), u"exp");
    calculator.pressFunctionKey(5, true);
    EXPECT_EQ(f.input(), u"exp mod ");
    // Shift is turned off by the second function it selected.
    calculator.pressFunctionKey(0, false);
    EXPECT_TRUE(calculator.display().shift());
    calculator.pressBasicKey(Orientation::Portrait, 19, false);
    EXPECT_EQ(f.input(), u"exp mod [ans]");
    EXPECT_FALSE(calculator.display().shift());
    EXPECT_EQ(calculator.pressFunctionKey(1, false), Calculator::KeypadResult::OpenCalculusList);
    calculator.chooseCalculusEntry(u"Integration");
    EXPECT_EQ(f.input(), u"exp mod [ans]\u222B(");
    EXPECT_EQ(calculator.pressFunctionKey(2, false), Calculator::KeypadResult::NoKey);
    // The editing row: "(", cursor left, delete.
    calculator.pressFunctionKey(12, false);
    calculator.pressFunctionKey(16, false);
    calculator.pressFunctionKey(15, false);
    EXPECT_EQ(f.input(), u"exp mod [ans]\u222B(");
    EXPECT_TRUE(Calculator::repeatsWhileHeld(*calculator.functionKeyCode(15, false)));
    EXPECT_FALSE(Calculator::repeatsWhileHeld(*calculator.functionKeyCode(12, false)));
}

TEST(KeypadInput, TypedAndPastedText)
{
    StartedCalculator f;
    Calculator& calculator = f.calculator;
    // With "Pocket keyboard letters" the letters are the pocket computer's digit keys.
    calculator.preferences().pocketKeyboardLetters = true;
    for (char16_t c : std::u16string_view(u"w+e"))
        EXPECT_TRUE(calculator.typeCharacter(c));
    EXPECT_EQ(f.input(), u"1+2");
    calculator.typeCharacter(u'=');
    EXPECT_EQ(f.result(), u"3");
    calculator.preferences().pocketKeyboardLetters = false;
    calculator.pressKey(KeyCode::kClear);
    calculator.pasteText(u"2*(3+4)\nignored");
    EXPECT_EQ(f.input(), u"2\u00D7(3+4)");
    calculator.pressKey(KeyCode::kEquals);
    EXPECT_EQ(f.result(), u"14");
    calculator.pressKey(KeyCode::kClear);
    calculator.pasteText(std::u16string(5000, u'1'));
    EXPECT_EQ(f.input().size(), Engine::kMaxExpressionLength);
}

}  // namespace

namespace {

TEST(MacroEditing, WritesAMacroAndUsesItInExpressions)
{
    TempFolder folder;
    {
        Calculator calculator(folder.path(), fixedToday);
        calculator.start();
        calculator.switchCategory(CategoryCode::kMacros);
        EXPECT_TRUE(calculator.macroEditor().editing());
        EXPECT_EQ(calculator.display().resultText(), u"macro editing ...");
        calculator.editMacro(u"Ma");
        // Categories 2 to 10 wait until the macro is done; Arithmetic lends its keypad.
        calculator.switchCategory(CategoryCode::kTip);
        EXPECT_EQ(calculator.category(), CategoryCode::kMacros);
        calculator.switchCategory(CategoryCode::kArithmetic);
        for (int code : keys(KeyCode::kVariable, "*2"))
            calculator.pressKey(code);
        EXPECT_EQ(calculator.macroEditor().params(), u"x");
        ASSERT_TRUE(calculator.saveMacro());
        // Typed at the keyboard, any letter that names nothing is a parameter.
        calculator.editMacro(u"Mb");
        for (char16_t c : std::u16string_view(u"x*y+z "))
            calculator.typeCharacter(c);
        EXPECT_EQ(calculator.macroEditor().params(), u"x,y,z");
        ASSERT_TRUE(calculator.saveMacro());
        calculator.stopEditingMacro();
        calculator.switchCategory(CategoryCode::kTip);
        EXPECT_EQ(calculator.category(), CategoryCode::kTip);
        calculator.close();
    }
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "macro.mcr"));
    Calculator calculator(folder.path(), fixedToday);
    calculator.start();
    calculator.switchCategory(CategoryCode::kArithmetic);
    calculator.pressKey(KeyCode::kClear);
    calculator.pasteText(u"Ma(5)+1");
    calculator.pressKey(KeyCode::kEquals);
    EXPECT_EQ(calculator.display().resultText(), u"11");
    calculator.pressKey(KeyCode::kClear);
    calculator.pasteText(u"Mb(2,3,4)");
    calculator.pressKey(KeyCode::kEquals);
    EXPECT_EQ(calculator.display().resultText(), u"10");
    calculator.pressKey(KeyCode::kClear);
    calculator.pasteText(u"Ma(5");
    calculator.pressKey(KeyCode::kEquals);
    EXPECT_EQ(calculator.display().resultText(), u"10");
    calculator.pressKey(KeyCode::kClear);
    calculator.pasteText(u"Ma((5");
    calculator.pressKey(KeyCode::kEquals);
    EXPECT_EQ(calculator.display().resultText(), u"Invalid macro");
}

}  // namespace

namespace {

TEST(KeypadInput, TheKeyAfterShiftOpensTheDataWindowsAndNamesGoInAsOneToken)
{
    StartedCalculator f;
    struct Case {
        int category;
        Calculator::KeypadResult result;
    };
    for (const Case& c : {Case{CategoryCode::kMatrices, Calculator::KeypadResult::OpenMatrixWindow},
                          Case{CategoryCode::kStatistics, Calculator::KeypadResult::OpenStatisticsWindow},
                          Case{CategoryCode::kTrigonometry, Calculator::KeypadResult::NoKey}}) {
        f.calculator.switchCategory(c.category);
        EXPECT_EQ(f.calculator.pressFunctionKey(1, false), c.result) << c.category;
    }
    // The finance keypad opens its three windows from positions 1 to 3.
    struct FinanceCase {
        int position;
        Calculator::KeypadResult result;
        std::u16string_view label;
    };
    f.calculator.switchCategory(CategoryCode::kFinance);
    for (const FinanceCase& c : {FinanceCase{1, Calculator::KeypadResult::OpenTvmWindow, u"TVM"},
                                 FinanceCase{2, Calculator::KeypadResult::OpenLoanWindow, u"Loan"},
                                 FinanceCase{3, Calculator::KeypadResult::OpenMortgageWindow, u"Mortg."}}) {
        EXPECT_EQ(f.calculator.pressFunctionKey(c.position, false), c.result) << c.position;
        EXPECT_EQ(functionKeypadFaces(CategoryCode::kFinance)[static_cast<std::size_t>(c.position)].label, c.label);
    }
    EXPECT_EQ(functionKeypadFaces(CategoryCode::kMatrices)[1].label, u"MAT");
    EXPECT_EQ(functionKeypadFaces(CategoryCode::kStatistics)[1].label, u"DATA");
    f.calculator.switchCategory(CategoryCode::kMatrices);
    f.calculator.insertVariableName(u"[VA]");
    f.calculator.pressFunctionKey(3, false);
    f.calculator.insertVariableName(u"[VA]");
    f.calculator.pressFunctionKey(13, false);
    EXPECT_EQ(f.input(), u"[VA]inv([VA])");
    f.calculator.pressFunctionKey(15 - 1, false);
    EXPECT_EQ(f.calculator.display().currentLine().tokenCount(), 5u);
}

}  // namespace

// After "=", the desktop way: what types starts a new expression, an operator goes on from the
// answer, and a cursor key edits the evaluated line. The pocket habit edits it always.
TEST(CalculatorDisplay, TheLineAfterAResult)
{
    const struct {
        bool pocket;
        std::u16string_view typed;
        std::u16string_view line;
        std::u16string_view result;
    } cases[] = {
        {false, u"2+3*4\r5", u"5", u""},
        {false, u"2+3\r7\r", u"7", u"7"},
        {false, u"2+3\r7\r+1\r", u"[ans]+1", u"8"},
        {false, u"2+3\rsqrt(16)\r", u"2\u221A(16)", u"4"},
        {false, u"2+3\r\b4\r", u"2+4", u"6"},
        {true, u"2+3\r5\r", u"2+35", u"37"},
    };
    for (const auto& c : cases) {
        StartedCalculator f;
        f.calculator.preferences().pocketLineEditing = c.pocket;
        f.type(c.typed);
        EXPECT_EQ(f.input(), c.line) << toUtf8(c.typed);
        EXPECT_EQ(f.result(), c.result) << toUtf8(c.typed);
    }
}
