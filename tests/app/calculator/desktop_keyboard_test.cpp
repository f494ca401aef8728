// The calculator driven from a desktop keyboard and the clipboard: typed names, editing keys,
// undo, copy and paste, formats, history, macros and the categories without a radix key.
#include <gtest/gtest.h>

#include <vector>

#include "key_codes.h"
#include "key_presses.h"
#include "keypads.h"
#include "calculator.h"
#include "started_calculator.h"
#include "temp_folder.h"

namespace {

struct TypedCase {
    const char* name;
    int category;
    const char16_t* typed;
    std::vector<int> codes;  // the keys that give the same line
};

class TypedLikeKeys : public ::testing::TestWithParam<TypedCase> {};

TEST_P(TypedLikeKeys, TypingGivesTheLineAndResultOfTheKeys)
{
    const TypedCase& c = GetParam();
    StartedCalculator byKeys;
    byKeys.calculator.switchCategory(c.category);
    if (c.category == CategoryCode::kBaseConversion)
        byKeys.press({KeyCode::kRadixHex});
    byKeys.press(c.codes);
    byKeys.press({KeyCode::kEquals});
    StartedCalculator typed;
    typed.calculator.switchCategory(c.category);
    if (c.category == CategoryCode::kBaseConversion)
        typed.press({KeyCode::kRadixHex});
    typed.type(c.typed);
    typed.type(u"\r");
    EXPECT_EQ(typed.input(), byKeys.input()) << c.name;
    EXPECT_EQ(typed.calculator.display().currentLine().tokenMap(), byKeys.calculator.display().currentLine().tokenMap())
        << c.name;
    EXPECT_EQ(typed.result(), byKeys.result()) << c.name;
    EXPECT_FALSE(typed.result().empty()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TypedLikeKeys,
    ::testing::Values(TypedCase{"Functions", 0, u"sin(30)+sqrt(16)*2^3",
                                keys(keyInserting(u"sin("), "30)+", KeyCode::kSquareRoot, "16)*2^3")},
                      TypedCase{"Factorial", 0, u"5!", keys("5!")}, TypedCase{"Percent", 0, u"50%", keys("50%")},
                      TypedCase{"Pi", 1, u"2pi", keys("2", KeyCode::kPi)},
                      TypedCase{"Modulo", 0, u"7 mod 3", keys("7", keyInserting(u" mod "), "3")},
                      TypedCase{"Inverse", 1, u"asinh(1)", keys(keyInserting(u"asinh("), "1)")},
                      TypedCase{"Answer", 0, u"ans+1", keys(KeyCode::kAnswer, "+1")},
                      TypedCase{"Imaginary", 0, u"2i*i", keys("2", KeyCode::kImaginary, "*", KeyCode::kImaginary)},
                      TypedCase{"Gcd", 0, u"gcd(12,18)", keys(keyInserting(u"gcd("), "12,18)")},
                      TypedCase{"Finance", 5, u"pmt(1,2,3,0,12)", keys(keyInserting(u"pmt("), "1,2,3,0,12)")},
                      TypedCase{"Hexadecimal", 2, u"ff+1", keys(KeyCode::kHexF, KeyCode::kHexF, "+1")},
                      TypedCase{"HexOperator", 2, u"f and c",
                                keys(KeyCode::kHexF, keyInserting(u" and "), keyInserting(u"C"))},
                      TypedCase{"Exponent", 0, u"2exp3", keys("2", keyInserting(u"exp"), "3")},
                      TypedCase{"Statistics", 3, u"N+1", keys(keyInserting(u"N(X)"), "+1")}));

TEST(DesktopKeyboard, MustShowResults)
{
    StartedCalculator f;
    f.type(u"sin(30)+sqrt(16)*2^3\r");
    EXPECT_EQ(f.result(), u"32.5");
    f.type(
        u"\x1B"
        u"5!\r");
    EXPECT_EQ(f.result(), u"120");
    f.type(
        u"\x1B"
        u"50%=");
    EXPECT_EQ(f.result(), u"0.5");
}

TEST(DesktopKeyboard, TheNameBeingTypedIsShownAndKeptWhenItIsNone)
{
    StartedCalculator f;
    f.type(u"2+si");
    EXPECT_EQ(f.input(), u"2+");
    EXPECT_EQ(f.calculator.typedName(), u"si");
    // No name begins "siq": the letters go on the line as typed, one token each.
    f.type(u"q");
    EXPECT_FALSE(f.calculator.typingRefused());
    EXPECT_TRUE(f.calculator.typedName().empty());
    EXPECT_EQ(f.input(), u"2+siq");
    f.type(u"\b\b\b");
    EXPECT_EQ(f.input(), u"2+");
    f.type(u"sqrt(9)");
    EXPECT_EQ(f.input(), u"2+2\u221A(9)");
    EXPECT_TRUE(f.calculator.typedName().empty());
    // A key of a keypad completes the name first.
    f.type(u"+cos");
    f.press(keys("1"));
    EXPECT_EQ(f.input(), u"2+2\u221A(9)+cos(1");
    // Enter puts a name that is none on the line as typed, and "=" names it.
    f.type(
        u"\x1B"
        u"coz\r");
    EXPECT_EQ(f.input(), u"coz");
    EXPECT_EQ(f.result(), u"Unknown name: coz (did you mean cos?)");
    // Escape drops the name with the line.
    f.type(u"ta\x1B");
    EXPECT_EQ(f.input(), u"");
    EXPECT_TRUE(f.calculator.typedName().empty());
}

TEST(DesktopKeyboard, HomeEndAndUndo)
{
    StartedCalculator f;
    f.type(u"123");
    f.calculator.moveCursorToLineEnd(false);
    f.type(u"9");
    EXPECT_EQ(f.input(), u"9123");
    f.calculator.moveCursorToLineEnd(true);
    f.type(u"0");
    EXPECT_EQ(f.input(), u"91230");
    f.calculator.pressKey(KeyCode::kClear);
    EXPECT_EQ(f.input(), u"");
    ASSERT_TRUE(f.calculator.undo());
    EXPECT_EQ(f.input(), u"91230");
    ASSERT_TRUE(f.calculator.undo());
    EXPECT_EQ(f.input(), u"9123");
    // A name typed whole is one step.
    f.calculator.moveCursorToLineEnd(true);
    f.type(u"+sin(");
    f.calculator.undo();
    EXPECT_EQ(f.input(), u"9123+");
    while (f.calculator.undo()) {}
    EXPECT_EQ(f.input(), u"");
    EXPECT_FALSE(f.calculator.undo());
}

TEST(DesktopKeyboard, PocketLettersKeepTheOldMap)
{
    StartedCalculator f;
    f.calculator.preferences().pocketKeyboardLetters = true;
    f.type(u"w+e=");
    EXPECT_EQ(f.input(), u"1+2");
    EXPECT_EQ(f.result(), u"3");
    EXPECT_TRUE(f.calculator.typedName().empty());
}

TEST(Clipboard, CopiedResultsPasteBackToTheSameValue)
{
    StartedCalculator f;
    f.type(u"1/300000\r");
    const std::u16string shown = f.result();
    EXPECT_EQ(shown, u"3.3333333333e-06");
    EXPECT_EQ(f.calculator.copyText(CopyPrecision::Full), u"3.3333333333333333E-06");
    const std::u16string copied = f.calculator.copyText(CopyPrecision::Full);
    f.type(u"\x1B");
    f.calculator.pasteText(copied);
    f.type(u"\r");
    EXPECT_EQ(f.result(), shown);
    EXPECT_NEAR(f.calculator.engine().slots[VariableSlots::kAnswer].re, 1.0 / 300000.0, 1e-21);

    // The small result was shown in SCI once; NORM shows the next one plainly.
    f.type(u"\x1B");
    f.calculator.pasteText(u"6.62607015e-34*1e34");
    f.type(u"\r");
    EXPECT_EQ(f.result(), u"6.62607015");

    f.type(u"\x1B");
    f.calculator.pasteText(u" 1,234.5 ");
    f.type(u"\r");
    EXPECT_EQ(f.calculator.engine().slots[VariableSlots::kAnswer].re, 1234.5);

    f.calculator.preferences().outputFormat = OutputFormat::European;
    f.type(u"\x1B");
    f.calculator.pasteText(u"1.234,5");
    f.type(u"\r");
    EXPECT_EQ(f.calculator.engine().slots[VariableSlots::kAnswer].re, 1234.5);
    EXPECT_EQ(f.calculator.copyText(CopyPrecision::Full), u"1234,5");
}

TEST(Clipboard, CopyWithoutAResultTakesTheLine)
{
    StartedCalculator f;
    f.calculator.setPreferredInputMode(InputMode::BasicStandard);
    f.press(keys("123.5"));
    EXPECT_EQ(f.calculator.copyText(CopyPrecision::AsShown), u"123.5");
    f.calculator.setPreferredInputMode(InputMode::StringStandard);
    f.type(
        u"\x1B"
        u"2+");
    EXPECT_EQ(f.calculator.copyText(CopyPrecision::AsShown), u"2+");
    // A message is no result to copy.
    f.type(u"+\r");
    EXPECT_EQ(f.calculator.copyText(CopyPrecision::AsShown), u"");
}

TEST(DisplayFormats, AFormatOrDigitsChangeFormatsTheShownResultAgain)
{
    StartedCalculator f;
    f.type(u"2/3\r");
    EXPECT_EQ(f.result(), u"0.66666666666667");
    f.calculator.pressKey(KeyCode::kFormatFix);
    EXPECT_EQ(f.result(), u"0.6667");
    f.calculator.setFixDigits(2);
    EXPECT_EQ(f.result(), u"0.67");
    EXPECT_EQ(f.calculator.preferences().fixDigits, 2);
    f.calculator.setFixDigits(99);
    EXPECT_EQ(f.calculator.preferences().fixDigits, 10);
    f.calculator.pressKey(KeyCode::kFormatCycle);
    EXPECT_EQ(f.calculator.display().displayFormat(), KeyCode::kFormatSci);
    f.calculator.pressKey(KeyCode::kFormatNorm);
    EXPECT_EQ(f.result(), u"0.66666666666667");
    // A message is not a result to format.
    f.type(
        u"\x1B"
        u"1/0\r");
    const std::u16string message = f.result();
    f.calculator.pressKey(KeyCode::kFormatFix);
    EXPECT_EQ(f.result(), message);
}

TEST(Categories, WithoutARadixKeyTheyEvaluateInDecimal)
{
    StartedCalculator f;
    f.calculator.switchCategory(CategoryCode::kBaseConversion);
    f.press({KeyCode::kRadixHex});
    f.calculator.switchCategory(CategoryCode::kFinance);
    f.type(u"7/2\r");
    EXPECT_EQ(f.result(), u"3.5");
    for (int category : {CategoryCode::kStatistics, CategoryCode::kEquationSolver, CategoryCode::kFunctionGraphs,
                         CategoryCode::kDateTime, CategoryCode::kTip, CategoryCode::kConstants}) {
        f.calculator.switchCategory(category);
        EXPECT_EQ(f.calculator.display().radix(), KeyCode::kRadixDec) << category;
    }
    f.calculator.switchCategory(CategoryCode::kBaseConversion);
    EXPECT_EQ(f.calculator.display().radix(), KeyCode::kRadixHex);
}

TEST(Categories, StepThroughEveryCategoryByKeyboard)
{
    StartedCalculator f;
    f.calculator.stepCategory(true);
    EXPECT_EQ(f.calculator.category(), 1);
    f.calculator.stepCategory(false);
    f.calculator.stepCategory(false);
    EXPECT_EQ(f.calculator.category(), CategoryCode::kDateTime);
    f.calculator.stepCategory(true);
    EXPECT_EQ(f.calculator.category(), 0);
    // A category unchecked in the preferences is passed over.
    f.calculator.preferences().navEnabled[static_cast<std::size_t>(navCategoryIndex(1))] = false;
    f.calculator.stepCategory(true);
    EXPECT_EQ(f.calculator.category(), CategoryCode::kBaseConversion);
    f.calculator.preferences().navEnabled.fill(true);
    // While a macro is edited the categories 2 to 10 are passed over.
    f.calculator.switchCategory(CategoryCode::kMacros);
    f.calculator.editMacro(u"Ma");
    f.calculator.switchCategory(CategoryCode::kTrigonometry);
    f.calculator.stepCategory(true);
    EXPECT_EQ(f.calculator.category(), CategoryCode::kMacros);
}

TEST(DisplayState, TheAngleUnitSurvivesARestart)
{
    TempFolder folder;
    {
        Calculator calculator(folder.path(), fixedToday);
        calculator.start();
        calculator.pressKey(KeyCode::kAngleCycle);
        calculator.pressKey(KeyCode::kAngleCycle);
        EXPECT_EQ(calculator.display().angleUnit(), KeyCode::kAngleGra);
        calculator.close();
    }
    Calculator calculator(folder.path(), fixedToday);
    calculator.start();
    EXPECT_EQ(calculator.display().angleUnit(), KeyCode::kAngleGra);
    calculator.pasteText(u"sin(100)");
    calculator.pressKey(KeyCode::kEquals);
    EXPECT_EQ(calculator.display().resultText(), u"1");
}

TEST(History, KeepsEvaluationsAndPutsThemBack)
{
    TempFolder folder;
    {
        Calculator calculator(folder.path(), fixedToday);
        calculator.start();
        for (std::u16string_view line : {u"1+1", u"2/3", u"1/0"}) {
            calculator.pressKey(KeyCode::kClear);
            calculator.pasteText(line);
            calculator.pressKey(KeyCode::kEquals);
        }
        calculator.close();
    }
    Calculator calculator(folder.path(), fixedToday);
    calculator.start();
    const std::vector<HistoryEntry>& entries = calculator.history().entries();
    ASSERT_EQ(entries.size(), 2u);  // the division by zero gave no result
    EXPECT_EQ(entries[0].expression, u"2\u00F73");
    EXPECT_EQ(entries[0].result, u"0.66666666666667");
    EXPECT_EQ(entries[0].value, u"0.6666666666666666");
    calculator.restoreHistoryExpression(1);
    EXPECT_EQ(calculator.display().getInputText(), u"1+1");
    EXPECT_EQ(calculator.display().currentLine().cursor(), 3u);
    calculator.typeCharacter(u'*');
    calculator.insertHistoryResult(0);
    EXPECT_EQ(calculator.display().getInputText(), u"1+1\u00D70.6666666666666666");
    calculator.pressKey(KeyCode::kEquals);
    EXPECT_EQ(calculator.display().resultText(), u"1.66666666666667");
}

TEST(Macros, ASignatureInsertsTheCall)
{
    StartedCalculator f;
    MacroRecord twice;
    twice.name = u"Ma";
    twice.params = u"x";
    twice.paramCount = 1;
    twice.displayText = u"x\u00D72";
    twice.tokenMap = u"111";
    MacroRecord answer;
    answer.name = u"Mb";
    answer.displayText = u"42";
    answer.tokenMap = u"11";
    f.calculator.macros().insert(0, twice);
    f.calculator.macros().insert(1, answer);
    f.calculator.insertMacroCall(0);
    f.type(u"5)+");
    f.calculator.insertMacroCall(1);
    f.calculator.insertMacroCall(7);
    EXPECT_EQ(f.input(), u"Ma(5)+Mb()");
    EXPECT_EQ(f.calculator.display().currentLine().tokenCount(), 5u);  // "Ma(" 5 ) + "Mb()"
    f.type(u"\r");
    EXPECT_EQ(f.result(), u"52");
    // Typed by name, too.
    f.type(
        u"\x1B"
        u"Ma(4)\r");
    EXPECT_EQ(f.result(), u"8");
}

TEST(Tooltips, ASyntaxErrorNamesTheArgumentsOfTheCall)
{
    StartedCalculator f;
    f.calculator.switchCategory(CategoryCode::kFinance);
    f.type(u"pmt(5/1200,360,200000)\r");
    EXPECT_EQ(f.result(), u"Syntax error: pmt(rate, nper, pv, fv, p/y, type=0)");
    f.calculator.preferences().tooltipsEnabled = false;
    f.type(u"\r");
    EXPECT_EQ(f.result(), u"Syntax error");
}

}  // namespace
