// The calculator driven from a desktop keyboard and the clipboard: typed names, editing keys,
// undo, copy and paste, formats, history, macros and the categories without a radix key.
#include <gtest/gtest.h>

#include <vector>

#include "key_codes.h"
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
    void type(std::u16string_view text)
    {
        for (char16_t c : text)
            frame.typeCharacter(c);
    }
    void keys(const std::vector<int>& codes)
    {
        for (int code : codes)
            frame.pressKey(code);
    }
    const std::u16string& input() { return frame.display().getInputText(); }
    const std::u16string& result() { return frame.display().resultText(); }
};

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
    Frame byKeys;
    byKeys.frame.switchCategory(c.category);
    if (c.category == CategoryCode::kBaseConversion)
        byKeys.keys({KeyCode::kRadixHex});
    byKeys.keys(c.codes);
    byKeys.keys({KeyCode::kEquals});
    Frame typed;
    typed.frame.switchCategory(c.category);
    if (c.category == CategoryCode::kBaseConversion)
        typed.keys({KeyCode::kRadixHex});
    typed.type(c.typed);
    typed.type(u"\r");
    EXPECT_EQ(typed.input(), byKeys.input()) << c.name;
    EXPECT_EQ(typed.frame.display().currentLine().tokenMap(), byKeys.frame.display().currentLine().tokenMap()) << c.name;
    EXPECT_EQ(typed.result(), byKeys.result()) << c.name;
    EXPECT_FALSE(typed.result().empty()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TypedLikeKeys,
    ::testing::Values(
        TypedCase{"Functions", 0, u"sin(30)+sqrt(16)*2^3", {54, 12, 15, 45, 18, 41, 10, 7, 45, 8, 11, 30, 12}},
        TypedCase{"Factorial", 0, u"5!", {6, 33}},
        TypedCase{"Percent", 0, u"50%", {6, 15, 43}},
        TypedCase{"Pi", 1, u"2pi", {11, 59}},
        TypedCase{"Modulo", 0, u"7 mod 3", {0, 37, 12}},
        TypedCase{"Inverse", 1, u"asinh(1)", {60, 10, 45}},
        TypedCase{"Answer", 0, u"ans+1", {22, 18, 10}},
        TypedCase{"Imaginary", 0, u"2i*i", {11, 25, 8, 25}},
        TypedCase{"Gcd", 0, u"gcd(12,18)", {26, 10, 11, 46, 10, 1, 45}},
        TypedCase{"Finance", 5, u"pmt(1,2,3,0,12)", {116, 10, 46, 11, 46, 12, 46, 15, 46, 10, 11, 45}},
        TypedCase{"Hexadecimal", 2, u"ff+1", {77, 77, 18, 10}},
        TypedCase{"HexOperator", 2, u"f and c", {77, 69, 74}},
        TypedCase{"Exponent", 0, u"2exp3", {11, 27, 12}},
        TypedCase{"Statistics", 3, u"N+1", {86, 18, 10}}));

TEST(DesktopKeyboard, MustShowResults)
{
    Frame f;
    f.type(u"sin(30)+sqrt(16)*2^3\r");
    EXPECT_EQ(f.result(), u"32.5");
    f.type(u"\x1B" u"5!\r");
    EXPECT_EQ(f.result(), u"120");
    f.type(u"\x1B" u"50%=");
    EXPECT_EQ(f.result(), u"0.5");
}

TEST(DesktopKeyboard, TheNameBeingTypedIsShownAndCanBeMended)
{
    Frame f;
    f.type(u"2+si");
    EXPECT_EQ(f.input(), u"2+");
    EXPECT_EQ(f.frame.typedName(), u"si");
    f.type(u"q");
    EXPECT_TRUE(f.frame.typingRefused());
    EXPECT_EQ(f.frame.typedName(), u"si");
    f.type(u"\b");
    EXPECT_EQ(f.frame.typedName(), u"s");
    f.type(u"qrt(9)");
    EXPECT_EQ(f.input(), u"2+2\u221A(9)");
    EXPECT_TRUE(f.frame.typedName().empty());
    // Enter with a name that is none yet evaluates nothing.
    f.type(u"+co\r");
    EXPECT_TRUE(f.frame.typingRefused());
    EXPECT_EQ(f.result(), u"");
    // A key of a keypad completes the name first.
    f.type(u"s");
    f.frame.pressKey(10);
    EXPECT_EQ(f.input(), u"2+2\u221A(9)+cos(1");
    // Escape drops the name with the line.
    f.type(u"ta\x1B");
    EXPECT_EQ(f.input(), u"");
    EXPECT_TRUE(f.frame.typedName().empty());
}

TEST(DesktopKeyboard, HomeEndAndUndo)
{
    Frame f;
    f.type(u"123");
    f.frame.moveCursorToLineEnd(false);
    f.type(u"9");
    EXPECT_EQ(f.input(), u"9123");
    f.frame.moveCursorToLineEnd(true);
    f.type(u"0");
    EXPECT_EQ(f.input(), u"91230");
    f.frame.pressKey(KeyCode::kClear);
    EXPECT_EQ(f.input(), u"");
    ASSERT_TRUE(f.frame.undo());
    EXPECT_EQ(f.input(), u"91230");
    ASSERT_TRUE(f.frame.undo());
    EXPECT_EQ(f.input(), u"9123");
    // A name typed whole is one step.
    f.frame.moveCursorToLineEnd(true);
    f.type(u"+sin(");
    f.frame.undo();
    EXPECT_EQ(f.input(), u"9123+");
    while (f.frame.undo()) {
    }
    EXPECT_EQ(f.input(), u"");
    EXPECT_FALSE(f.frame.undo());
}

TEST(DesktopKeyboard, PocketLettersKeepTheOldMap)
{
    Frame f;
    f.frame.preferences().pocketKeyboardLetters = true;
    f.type(u"w+e=");
    EXPECT_EQ(f.input(), u"1+2");
    EXPECT_EQ(f.result(), u"3");
    EXPECT_TRUE(f.frame.typedName().empty());
}

TEST(Clipboard, CopiedResultsPasteBackToTheSameValue)
{
    Frame f;
    f.type(u"1/300000\r");
    const std::u16string shown = f.result();
    EXPECT_EQ(shown, u"3.3333333333e-06");
    EXPECT_EQ(f.frame.copyText(), u"3.3333333333333333E-06");
    const std::u16string copied = f.frame.copyText();
    f.type(u"\x1B");
    f.frame.pasteText(copied);
    f.type(u"\r");
    EXPECT_EQ(f.result(), shown);
    EXPECT_NEAR(f.frame.engine().slots[VariableSlots::kAnswer].re, 1.0 / 300000.0, 1e-21);

    // The small result switched the display to SCI; NORM shows the next one plainly.
    f.frame.pressKey(KeyCode::kFormatNorm);
    f.type(u"\x1B");
    f.frame.pasteText(u"6.62607015e-34*1e34");
    f.type(u"\r");
    EXPECT_EQ(f.result(), u"6.62607015");

    f.type(u"\x1B");
    f.frame.pasteText(u" 1,234.5 ");
    f.type(u"\r");
    EXPECT_EQ(f.frame.engine().slots[VariableSlots::kAnswer].re, 1234.5);

    f.frame.preferences().outputFormat = OutputFormat::European;
    f.type(u"\x1B");
    f.frame.pasteText(u"1.234,5");
    f.type(u"\r");
    EXPECT_EQ(f.frame.engine().slots[VariableSlots::kAnswer].re, 1234.5);
    EXPECT_EQ(f.frame.copyText(), u"1234.5");
}

TEST(Clipboard, CopyWithoutAResultTakesTheLine)
{
    Frame f;
    f.frame.setPreferredInputMode(InputMode::BasicStandard);
    f.keys({10, 11, 12, 16, 6});
    EXPECT_EQ(f.frame.copyText(), u"123.5");
    f.frame.setPreferredInputMode(InputMode::StringStandard);
    f.type(u"\x1B" u"2+");
    EXPECT_EQ(f.frame.copyText(), u"2+");
    f.type(u"+\r");
    EXPECT_EQ(f.frame.copyText(), u"Syntax error");
}

TEST(DisplayFormats, AFormatOrDigitsChangeFormatsTheShownResultAgain)
{
    Frame f;
    f.type(u"2/3\r");
    EXPECT_EQ(f.result(), u"0.66666666666667");
    f.frame.pressKey(KeyCode::kFormatFix);
    EXPECT_EQ(f.result(), u"0.6667");
    f.frame.setFixDigits(2);
    EXPECT_EQ(f.result(), u"0.67");
    EXPECT_EQ(f.frame.preferences().fixDigits, 2);
    f.frame.setFixDigits(99);
    EXPECT_EQ(f.frame.preferences().fixDigits, 10);
    f.frame.pressKey(KeyCode::kFormatCycle);
    EXPECT_EQ(f.frame.display().displayFormat(), KeyCode::kFormatSci);
    f.frame.pressKey(KeyCode::kFormatNorm);
    EXPECT_EQ(f.result(), u"0.66666666666667");
    // A message is not a result to format.
    f.type(u"\x1B" u"1/0\r");
    const std::u16string message = f.result();
    f.frame.pressKey(KeyCode::kFormatFix);
    EXPECT_EQ(f.result(), message);
}

TEST(Categories, WithoutARadixKeyTheyEvaluateInDecimal)
{
    Frame f;
    f.frame.switchCategory(CategoryCode::kBaseConversion);
    f.keys({KeyCode::kRadixHex});
    f.frame.switchCategory(CategoryCode::kFinance);
    f.type(u"7/2\r");
    EXPECT_EQ(f.result(), u"3.5");
    for (int category : {CategoryCode::kStatistics, CategoryCode::kEquationSolver, CategoryCode::kFunctionGraphs,
                         CategoryCode::kDateTime, CategoryCode::kTip, CategoryCode::kConstants}) {
        f.frame.switchCategory(category);
        EXPECT_EQ(f.frame.display().radix(), KeyCode::kRadixDec) << category;
    }
    f.frame.switchCategory(CategoryCode::kBaseConversion);
    EXPECT_EQ(f.frame.display().radix(), KeyCode::kRadixHex);
}

TEST(Categories, StepThroughEveryCategoryByKeyboard)
{
    Frame f;
    f.frame.stepCategory(true);
    EXPECT_EQ(f.frame.category(), 1);
    f.frame.stepCategory(false);
    f.frame.stepCategory(false);
    EXPECT_EQ(f.frame.category(), CategoryCode::kDateTime);
    f.frame.stepCategory(true);
    EXPECT_EQ(f.frame.category(), 0);
    // While a macro is edited the categories 2 to 10 are passed over.
    f.frame.switchCategory(CategoryCode::kMacros);
    f.frame.editMacro(u"Ma");
    f.frame.switchCategory(CategoryCode::kTrigonometry);
    f.frame.stepCategory(true);
    EXPECT_EQ(f.frame.category(), CategoryCode::kMacros);
}

TEST(DisplayState, TheAngleUnitSurvivesARestart)
{
    TempFolder folder;
    {
        Calculator frame(folder.path(), fixedToday);
        frame.start();
        frame.pressKey(KeyCode::kAngleCycle);
        frame.pressKey(KeyCode::kAngleCycle);
        EXPECT_EQ(frame.display().angleUnit(), KeyCode::kAngleGra);
        frame.close();
    }
    Calculator frame(folder.path(), fixedToday);
    frame.start();
    EXPECT_EQ(frame.display().angleUnit(), KeyCode::kAngleGra);
    frame.pasteText(u"sin(100)");
    frame.pressKey(KeyCode::kEquals);
    EXPECT_EQ(frame.display().resultText(), u"1");
}

TEST(History, KeepsEvaluationsAndPutsThemBack)
{
    TempFolder folder;
    {
        Calculator frame(folder.path(), fixedToday);
        frame.start();
        for (std::u16string_view line : {u"1+1", u"2/3", u"1/0"}) {
            frame.pressKey(KeyCode::kClear);
            frame.pasteText(line);
            frame.pressKey(KeyCode::kEquals);
        }
        frame.close();
    }
    Calculator frame(folder.path(), fixedToday);
    frame.start();
    const std::vector<HistoryEntry>& entries = frame.history().entries();
    ASSERT_EQ(entries.size(), 2u);  // the division by zero gave no result
    EXPECT_EQ(entries[0].expression, u"2\u00F73");
    EXPECT_EQ(entries[0].result, u"0.66666666666667");
    EXPECT_EQ(entries[0].value, u"0.6666666666666666");
    frame.restoreHistoryExpression(1);
    EXPECT_EQ(frame.display().getInputText(), u"1+1");
    EXPECT_EQ(frame.display().currentLine().cursor(), 3u);
    frame.typeCharacter(u'*');
    frame.insertHistoryResult(0);
    EXPECT_EQ(frame.display().getInputText(), u"1+1\u00D70.6666666666666666");
    frame.pressKey(KeyCode::kEquals);
    EXPECT_EQ(frame.display().resultText(), u"1.66666666666667");
}

TEST(Macros, ASignatureInsertsTheCall)
{
    Frame f;
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
    f.frame.macros().insert(0, twice);
    f.frame.macros().insert(1, answer);
    f.frame.insertMacroCall(0);
    f.type(u"5)+");
    f.frame.insertMacroCall(1);
    f.frame.insertMacroCall(7);
    EXPECT_EQ(f.input(), u"Ma(5)+Mb()");
    EXPECT_EQ(f.frame.display().currentLine().tokenCount(), 5u);  // "Ma(" 5 ) + "Mb()"
    f.type(u"\r");
    EXPECT_EQ(f.result(), u"52");
    // Typed by name, too.
    f.type(u"\x1B" u"Ma(4)\r");
    EXPECT_EQ(f.result(), u"8");
}

TEST(Tooltips, ASyntaxErrorNamesTheArgumentsOfTheCall)
{
    Frame f;
    f.frame.switchCategory(CategoryCode::kFinance);
    f.type(u"pmt(5/1200,360,200000)\r");
    EXPECT_EQ(f.result(), u"Syntax error: pmt(rate, nper, pv, fv, p/y, type=0)");
    f.frame.preferences().tooltipsEnabled = false;
    f.type(u"\r");
    EXPECT_EQ(f.result(), u"Syntax error");
}

}  // namespace
