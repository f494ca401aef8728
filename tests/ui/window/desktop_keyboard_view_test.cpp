// The calculator window driven from a desktop keyboard and the clipboard, with real key and
// mouse events, as a user of a desktop calculator drives it; every test asserts what is shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>

#include "temp_folder.h"

#include "shipped_window.h"

#include "calculator_display_view.h"
#include "calculator_view.h"
#include "data_tools.h"
#include "display_indicators.h"
#include "key_codes.h"
#include "keypad_view.h"
#include "single_instance.h"
#include "ui_text.h"

namespace {

// A fresh window, shown and active so that shortcuts and focus behave as on a desktop.
struct DesktopWindow {
    Calculator calculator{std::filesystem::path()};
    DataTools tools{calculator.engine(), std::filesystem::path()};
    CalculatorView view{calculator, shippedFolder()};

    explicit DesktopWindow(QSize size = QSize(240, 320))
    {
        calculator.setTools(&tools);
        calculator.start();
        view.setDataTools(&tools);
        view.resize(size);
        view.show();
        view.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
        view.setFocus();
    }
    ~DesktopWindow() { calculator.setTools(nullptr); }

    // Each character goes to whatever has the keyboard focus, as typing does.
    void type(const QString& text)
    {
        for (QChar c : text) {
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &view;
            QTest::keyClick(target, c.toLatin1());
            // An item editor closes through a queued call.
            QCoreApplication::processEvents();
        }
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &view;
        QTest::keyClick(target, key, modifiers);
        QCoreApplication::processEvents();
    }
    KeypadView* keypad(const char* name) { return view.findChild<KeypadView*>(QString::fromLatin1(name)); }
    void click(const char* name, int position) { clickKey(keypad(name), position); }
    CalculatorDisplayView* display() { return view.findChild<CalculatorDisplayView*>(); }
    QString line() { return displayString(calculator.display().getInputText()); }
    QString result() { return displayString(calculator.display().resultText()); }
    double answer() { return calculator.engine().slots[VariableSlots::kAnswer].re; }
};

TEST(DesktopKeyboardWindow, NamesAreTypedAndShownWhileTheyGrow)
{
    DesktopWindow w;
    w.type(QStringLiteral("sin(30)+sq"));
    // The name being typed is drawn at the cursor before it goes onto the line.
    EXPECT_EQ(w.display()->typedName(), QStringLiteral("sq"));
    EXPECT_EQ(w.line(), QStringLiteral("sin(30)+"));
    w.type(QStringLiteral("rt(16)*2^3"));
    EXPECT_TRUE(w.display()->typedName().isEmpty());
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.line(), QStringLiteral("sin(30)+2\u221A(16)\u00D72^3"));
    EXPECT_EQ(w.result(), QStringLiteral("32.5"));

    w.key(Qt::Key_Escape);
    EXPECT_EQ(w.line(), QString());
    w.type(QStringLiteral("5!"));
    w.key(Qt::Key_Enter);
    EXPECT_EQ(w.result(), QStringLiteral("120"));
    w.key(Qt::Key_Escape);
    w.type(QStringLiteral("50%="));
    EXPECT_EQ(w.result(), QStringLiteral("0.5"));
}

// Functions that no key inserts, typed by name, and names that are none: Return shows the line
// as typed and its value, or a message that names the unknown word and the nearest names.
TEST(DesktopKeyboardWindow, TypedFunctionsAndUnknownNames)
{
    struct TypedCase {
        const char* keys;
        const char16_t* line;
        const char16_t* result;
    };
    const TypedCase cases[] = {
        {"abs(-3)", u"abs(\u22123)", u"3"},
        {"floor(-2.5)", u"floor(\u22122.5)", u"-3"},
        {"ROUND(2.5)+trunc(-2.7)", u"round(2.5)+trunc(\u22122.7)", u"1"},
        {"cbrt(-8)", u"cbrt(\u22128)", u"-2"},
        {"log2(8)", u"log2(8)", u"3"},
        {"2gamma(5)", u"2gamma(5)", u"48"},
        {"hypot(3,4)", u"hypot(3,4)", u"5"},
        {"abz", u"abz", u"Unknown name: abz (did you mean abs?)"},
        {"2*sinn(30)", u"2\u00D7sinn(30)", u"Unknown name: sinn (did you mean sign, sin or sinh?)"},
    };
    DesktopWindow w;
    for (const TypedCase& c : cases) {
        w.key(Qt::Key_Escape);
        w.type(QString::fromLatin1(c.keys));
        w.key(Qt::Key_Return);
        EXPECT_EQ(w.line(), QString::fromStdU16String(c.line)) << c.keys;
        EXPECT_EQ(w.result(), QString::fromStdU16String(c.result)) << c.keys;
    }
}

TEST(DesktopKeyboardWindow, HexadecimalTypingMatchesTheKeys)
{
    DesktopWindow byKeys;
    byKeys.view.showCategory(CategoryCode::kBaseConversion);
    byKeys.calculator.pressKey(KeyCode::kRadixHex);
    for (int position : {11, 11})
        byKeys.click("functionKeypad", position);  // F, F
    for (int position : {18, 10, 19})
        byKeys.click("basicKeypad", position);  // +, 1, =

    DesktopWindow typed;
    typed.view.showCategory(CategoryCode::kBaseConversion);
    typed.calculator.pressKey(KeyCode::kRadixHex);
    typed.type(QStringLiteral("ff+1"));
    typed.key(Qt::Key_Return);
    EXPECT_EQ(typed.line(), byKeys.line());
    EXPECT_EQ(typed.line(), QStringLiteral("FF+1"));
    EXPECT_EQ(typed.result(), byKeys.result());
    EXPECT_FALSE(typed.result().isEmpty());
}

TEST(DesktopKeyboardWindow, EditingKeysEscapeHomeEndAndUndo)
{
    DesktopWindow w;
    w.type(QStringLiteral("123"));
    w.key(Qt::Key_Home);
    w.type(QStringLiteral("9"));
    w.key(Qt::Key_End);
    w.type(QStringLiteral("0"));
    EXPECT_EQ(w.line(), QStringLiteral("91230"));
    w.key(Qt::Key_Escape);
    EXPECT_EQ(w.line(), QString());
    w.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.line(), QStringLiteral("91230"));
    w.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.line(), QStringLiteral("9123"));
    w.key(Qt::Key_Backspace);
    EXPECT_EQ(w.line(), QStringLiteral("912"));
    // A letter that begins no name goes on the line as typed.
    w.type(QStringLiteral("q"));
    EXPECT_EQ(w.line(), QStringLiteral("912q"));
}

TEST(DesktopKeyboardWindow, CopyAndPasteKeepNumbers)
{
    DesktopWindow w;
    w.type(QStringLiteral("1/300000"));
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.result(), QStringLiteral("3.3333333333e-06"));
    w.key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("3.3333333333333333E-06"));
    w.key(Qt::Key_Escape);
    w.key(Qt::Key_V, Qt::ControlModifier);
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.result(), QStringLiteral("3.3333333333e-06"));

    // The tiny result switched the display to SCI: back to NORM.
    w.key(Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    w.key(Qt::Key_Escape);
    QApplication::clipboard()->setText(QStringLiteral("1,234.5"));
    w.key(Qt::Key_V, Qt::ControlModifier);
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.answer(), 1234.5);
    EXPECT_EQ(w.result(), QStringLiteral("1,234.5"));
}

TEST(DesktopKeyboardWindow, PasteReadsEuropeanGroupingAndExponents)
{
    DesktopWindow w;
    w.calculator.preferences().outputFormat = OutputFormat::European;
    QApplication::clipboard()->setText(QStringLiteral("1.234,5"));
    w.key(Qt::Key_V, Qt::ControlModifier);
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.answer(), 1234.5);
    EXPECT_EQ(w.line(), QStringLiteral("1234,5"));

    DesktopWindow plain;
    QApplication::clipboard()->setText(QStringLiteral("6.62607015e-34*1e34"));
    plain.key(Qt::Key_V, Qt::ControlModifier);
    plain.key(Qt::Key_Return);
    EXPECT_EQ(plain.result(), QStringLiteral("6.62607015"));
}

TEST(DesktopKeyboardWindow, TypingIntoAMatrixCellLeavesTheDisplayLine)
{
    DesktopWindow w;
    w.view.showCategory(CategoryCode::kMatrices);
    w.type(QStringLiteral("2+"));
    w.click("functionKeypad", 1);  // MAT
    auto* panel = w.view.findChild<QWidget*>(QStringLiteral("matrixWindow"));
    ASSERT_TRUE(panel->isVisible());
    ASSERT_TRUE(w.tools.matrices()->newMatrix(2, 2, 2));
    QMetaObject::invokeMethod(panel, "refresh");
    auto* grid = panel->findChild<QTableWidget*>(QStringLiteral("matrixGrid"));
    grid->setFocus();
    grid->setCurrentCell(0, 0);
    // Four cells, each typed and entered, moving on with the arrow keys.
    w.type(QStringLiteral("1"));
    w.key(Qt::Key_Return);
    w.key(Qt::Key_Right);
    w.type(QStringLiteral("2"));
    w.key(Qt::Key_Return);
    w.key(Qt::Key_Down);
    w.type(QStringLiteral("3"));
    w.key(Qt::Key_Return);
    w.key(Qt::Key_Left);
    w.type(QStringLiteral("4"));
    w.key(Qt::Key_Return);
    QCoreApplication::processEvents();
    w.key(Qt::Key_Up);
    w.key(Qt::Key_Down);
    EXPECT_EQ(w.line(), QStringLiteral("2+"));
    EXPECT_EQ(w.result(), QString());
    double sum = 0;
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 2; ++col)
            sum += w.tools.matrices()->entry(0).get(row, col);
    }
    EXPECT_EQ(sum, 10.0) << grid->item(0, 0)->text().toStdString() << " " << grid->item(0, 1)->text().toStdString()
                         << " " << grid->item(1, 0)->text().toStdString() << " "
                         << grid->item(1, 1)->text().toStdString();
}

TEST(DesktopKeyboardWindow, CategoriesWithoutARadixKeyCalculateInDecimal)
{
    DesktopWindow w;
    w.view.showCategory(CategoryCode::kBaseConversion);
    w.click("functionKeypad", 2);  // RDX: DEC to HEX
    ASSERT_EQ(w.calculator.display().radix(), KeyCode::kRadixHex);
    w.view.showCategory(CategoryCode::kFinance);
    w.type(QStringLiteral("7/2"));
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.result(), QStringLiteral("3.5"));
}

TEST(DesktopKeyboardWindow, EveryCategoryIsReachableByKeyboardAndListedWhole)
{
    for (const QSize size : {QSize(240, 320), QSize(480, 640), QSize(320, 240)}) {
        DesktopWindow w(size);
        w.key(Qt::Key_PageDown, Qt::ControlModifier);
        EXPECT_EQ(w.calculator.category(), 1);
        w.key(Qt::Key_PageUp, Qt::ControlModifier);
        w.key(Qt::Key_PageUp, Qt::ControlModifier);
        EXPECT_EQ(w.calculator.category(), CategoryCode::kDateTime);
        w.key(Qt::Key_F4);
        auto* panel = w.view.findChild<QListWidget*>(QStringLiteral("toolsPanel"));
        ASSERT_TRUE(panel->isVisible());
        QTest::qWait(200);  // the panel slides in
        const QRect viewport = panel->viewport()->rect();
        for (int row = 0; row < panel->count(); ++row) {
            const QRect item = panel->visualItemRect(panel->item(row));
            EXPECT_TRUE(viewport.contains(item)) << size.width() << "x" << size.height() << " row " << row;
            const QFontMetrics metrics(panel->font());
            EXPECT_LE(metrics.horizontalAdvance(panel->item(row)->text()), item.width()) << row;
        }
        w.key(Qt::Key_Up);
        w.key(Qt::Key_Return);
        EXPECT_EQ(w.calculator.category(), CategoryCode::kFunctionGraphs);
        EXPECT_FALSE(panel->isVisible());
        // Home and End go to the ends of the list.
        w.key(Qt::Key_F4);
        w.key(Qt::Key_Home);
        EXPECT_EQ(panel->currentRow(), 0);
        w.key(Qt::Key_End);
        EXPECT_EQ(panel->currentRow(), panel->count() - 1);
        w.key(Qt::Key_Escape);
    }
}

TEST(DesktopKeyboardWindow, DisplayFormatsFromTheMenuShortcutsAndTheIndicator)
{
    DesktopWindow w;
    w.type(QStringLiteral("2/3"));
    w.key(Qt::Key_Return);
    w.key(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.calculator.display().displayFormat(), KeyCode::kFormatFix);
    EXPECT_EQ(w.result(), QStringLiteral("0.6667"));
    w.key(Qt::Key_BracketLeft, Qt::ControlModifier);
    EXPECT_EQ(w.result(), QStringLiteral("0.667"));
    w.key(Qt::Key_BracketRight, Qt::ControlModifier);
    w.key(Qt::Key_BracketRight, Qt::ControlModifier);
    EXPECT_EQ(w.result(), QStringLiteral("0.66667"));
    EXPECT_EQ(w.calculator.preferences().fixDigits, 5);
    w.key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.calculator.display().displayFormat(), KeyCode::kFormatSci);
    w.key(Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.result(), QStringLiteral("0.66666666666667"));
    // A click on the format indicator: NORM, FIX.
    const std::vector<QRect> indicators = w.display()->indicatorRects();
    ASSERT_GE(indicators.size(), 2u);
    QTest::mouseClick(w.display(), Qt::LeftButton, Qt::NoModifier, indicators[1].center());
    EXPECT_EQ(w.calculator.display().displayFormat(), KeyCode::kFormatFix);
    EXPECT_EQ(w.result(), QStringLiteral("0.66667"));
    // And on the angle unit.
    QTest::mouseClick(w.display(), Qt::LeftButton, Qt::NoModifier, indicators[0].center());
    EXPECT_EQ(w.calculator.display().angleUnit(), KeyCode::kAngleRad);
}

TEST(DesktopKeyboardWindow, HistoryPutsAnExpressionOrAResultBack)
{
    DesktopWindow w;
    w.type(QStringLiteral("1+1"));
    w.key(Qt::Key_Return);
    w.key(Qt::Key_Escape);
    w.type(QStringLiteral("2*21"));
    w.key(Qt::Key_Return);
    w.key(Qt::Key_Escape);
    w.key(Qt::Key_H, Qt::ControlModifier);
    auto* table = w.view.findChild<QTableWidget*>(QStringLiteral("historyTable"));
    ASSERT_TRUE(table->isVisible());
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("2\u00D721"));
    EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("42"));
    // The older entry's expression, by keyboard.
    w.key(Qt::Key_Down);
    w.key(Qt::Key_Left);
    w.key(Qt::Key_Return);
    EXPECT_FALSE(table->isVisible());
    EXPECT_EQ(w.line(), QStringLiteral("1+1"));
    // The newest result, by a click.
    w.type(QStringLiteral("*"));
    w.key(Qt::Key_H, Qt::ControlModifier);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier,
                      table->visualItemRect(table->item(0, 1)).center());
    EXPECT_EQ(w.line(), QStringLiteral("1+1\u00D742"));
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.result(), QStringLiteral("43"));
    // Escape closes the panel and leaves the line.
    w.key(Qt::Key_H, Qt::ControlModifier);
    w.key(Qt::Key_Escape);
    EXPECT_FALSE(table->isVisible());
    EXPECT_EQ(w.line(), QStringLiteral("1+1\u00D742"));
}

TEST(DesktopKeyboardWindow, TheMacroSignatureListInsertsTheCall)
{
    DesktopWindow w;
    MacroRecord twice;
    twice.name = u"Ma";
    twice.params = u"x,y";
    twice.paramCount = 2;
    twice.displayText = u"x\u00D7y";
    twice.tokenMap = u"111";
    w.calculator.macros().insert(0, twice);
    w.key(Qt::Key_M, Qt::ControlModifier);
    auto* list = w.view.findChild<QListWidget*>(QStringLiteral("popupList"));
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Ma(x, y)"));
    w.key(Qt::Key_Return);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(w.line(), QStringLiteral("Ma("));
    w.type(QStringLiteral("6,7)"));
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.result(), QStringLiteral("42"));
}

TEST(DesktopKeyboardWindow, KeysShowSignaturesAndErrorsNameTheArguments)
{
    DesktopWindow w;
    w.view.showCategory(CategoryCode::kFinance);
    KeypadView* pad = w.keypad("functionKeypad");
    const QPoint pmt = pad->keyRect(9).center();
    QHelpEvent help(QEvent::ToolTip, pmt, pad->mapToGlobal(pmt));
    QApplication::sendEvent(pad, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("pmt(rate, nper, pv, fv, p/y, type=0)"));
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000));

    w.type(QStringLiteral("pmt(5/1200,360,200000)"));
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.result(), QStringLiteral("Syntax error: pmt(rate, nper, pv, fv, p/y, type=0)"));

    // With the preference off: no tooltip, the plain message.
    w.calculator.preferences().tooltipsEnabled = false;
    QApplication::sendEvent(pad, &help);
    EXPECT_FALSE(QToolTip::isVisible());
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.result(), QStringLiteral("Syntax error"));
}

TEST(DesktopKeyboardWindow, KeysInTheUnitListStayThere)
{
    DesktopWindow w;
    w.view.showCategory(CategoryCode::kUnitConverter);
    w.view.showCategory(CategoryCode::kArithmetic);
    w.type(QStringLiteral("1+2"));
    w.view.showCategory(CategoryCode::kUnitConverter);
    QPushButton* unitButton = nullptr;
    for (QPushButton* button : w.view.findChildren<QPushButton*>()) {
        if (button->isVisible() && button->objectName() == QStringLiteral("upperUnit"))
            unitButton = button;
    }
    ASSERT_NE(unitButton, nullptr);
    QTest::mouseClick(unitButton, Qt::LeftButton);
    auto* list = w.view.findChild<QListWidget*>(QStringLiteral("converterList"));
    ASSERT_TRUE(list->isVisible());
    const int first = list->currentRow();
    w.key(Qt::Key_Down);
    w.key(Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), first + 2);
    const QString chosen = list->currentItem()->text();
    w.key(Qt::Key_Return);
    EXPECT_FALSE(list->isVisible());
    // The button names the unit that was chosen by its symbol.
    EXPECT_TRUE(chosen.endsWith(QLatin1Char(' ') + unitButton->text())) << chosen.toStdString();
    // The display behind the converter kept its line and shows no result.
    w.view.showCategory(CategoryCode::kArithmetic);
    EXPECT_EQ(w.line(), QStringLiteral("1+2"));
    EXPECT_EQ(w.result(), QString());
}

TEST(DesktopKeyboardWindow, CopyValueOfAConstantPastesBackToTheSameValue)
{
    DesktopWindow w;
    w.view.showCategory(CategoryCode::kConstants);
    QPushButton* copy = nullptr;
    for (QPushButton* button : w.view.findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("Copy value"))
            copy = button;
    }
    ASSERT_NE(copy, nullptr);
    QTest::mouseClick(copy, Qt::LeftButton);
    const QString copied = QApplication::clipboard()->text();
    bool number = false;
    const double value = copied.toDouble(&number);
    ASSERT_TRUE(number) << copied.toStdString();
    w.key(Qt::Key_V, Qt::ControlModifier);
    w.key(Qt::Key_Return);
    EXPECT_DOUBLE_EQ(w.answer(), value);
}

TEST(SingleInstanceWindow, ASecondStartRaisesTheFirstAndStops)
{
    TempFolder folder;
    const QString path = QString::fromStdString(folder.path().string());
    SingleInstance first(path);
    ASSERT_TRUE(first.claim());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    SingleInstance second(path);
    EXPECT_FALSE(second.claim());
    EXPECT_TRUE(raised.wait(2000) || raised.count() > 0);
    // Another folder is another calculator.
    TempFolder other;
    SingleInstance third(QString::fromStdString(other.path().string()));
    EXPECT_TRUE(third.claim());
}

}  // namespace

namespace {

// The indicators the display draws, as one text: "DEG NORM DEC M1".
QString indicatorText(const Calculator& calculator)
{
    QStringList parts;
    for (const DisplayIndicator& indicator : displayIndicators(calculator.display(), calculator.category()))
        parts << displayString(indicator.text);
    return parts.join(QLatin1Char(' '));
}

}  // namespace

// Typed as a desktop user writes numbers, and the settings the user chose stay as they were:
// scientific notation is one number, and neither an integral nor a tiny result changes DEG or
// NORM for the next calculation.
TEST(DesktopKeyboardWindow, NumbersReadAsWrittenAndSettingsStay)
{
    const struct {
        const char* typed;
        const char* shown;
    } lines[] = {
        {"6.02e23/1e22", "60.2"},
        {"sin(30)", "0.5"},
        {"fnInt(x^2,x,0,1)", "0.33333333333333"},
        {"sin(30)", "0.5"},
        {"1/300000", "3.3333333333e-06"},
        {"sqrt(2)", "1.4142135623731"},
        {"2*-3", "-6"},
        {"2^-1", "0.5"},
        {"exp(1)", "2.71828182845905"},
    };
    DesktopWindow w(QSize(480, 640));
    for (const auto& line : lines) {
        w.key(Qt::Key_Escape);
        w.type(QString::fromLatin1(line.typed));
        w.key(Qt::Key_Return);
        w.view.waitForEvaluation();
        EXPECT_EQ(w.result(), QString::fromLatin1(line.shown)) << line.typed;
        EXPECT_TRUE(indicatorText(w.calculator).startsWith(QStringLiteral("DEG NORM"))) << line.typed;
    }
}

// After a result, typed keys start a new expression and an operator goes on from the answer.
TEST(DesktopKeyboardWindow, TypingAfterAResultStartsANewExpression)
{
    DesktopWindow w;
    w.type(QStringLiteral("2+3"));
    w.key(Qt::Key_Return);
    w.type(QStringLiteral("7"));
    EXPECT_EQ(w.line(), QStringLiteral("7"));
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.result(), QStringLiteral("7"));
    w.type(QStringLiteral("+1"));
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.result(), QStringLiteral("8"));
}

// Up and Down walk through the evaluated expressions as in a shell, and bring back the line
// being written; "e" before a digit shows as the exponent mark.
TEST(DesktopKeyboardWindow, UpAndDownRecallEvaluatedExpressions)
{
    DesktopWindow w;
    for (const char* typed : {"1+1", "2+2"}) {
        w.type(QString::fromLatin1(typed));
        w.key(Qt::Key_Return);
        w.view.waitForEvaluation();
    }
    w.type(QStringLiteral("9"));
    const struct {
        Qt::Key key;
        const char* line;
    } steps[] = {
        {Qt::Key_Up, "2+2"},   {Qt::Key_Up, "1+1"}, {Qt::Key_Up, "1+1"},
        {Qt::Key_Down, "2+2"}, {Qt::Key_Down, "9"}, {Qt::Key_Up, "2+2"},
    };
    for (const auto& step : steps) {
        w.key(step.key);
        EXPECT_EQ(w.line(), QString::fromLatin1(step.line));
    }
    w.type(QStringLiteral("*3"));
    w.key(Qt::Key_Return);
    w.view.waitForEvaluation();
    EXPECT_EQ(w.result(), QStringLiteral("8"));

    w.type(QStringLiteral("6.02e-23"));
    EXPECT_EQ(w.line(), QString::fromUtf16(u"6.02exp\u221223"));
    w.key(Qt::Key_Escape);
    w.type(QStringLiteral("2e(1)"));
    EXPECT_EQ(w.line(), QStringLiteral("2e(1)"));
}

namespace {

// A line typed in an output format: what the display draws and what "=" shows.
struct TypedLine {
    OutputFormat format;
    const char* typed;
    const char16_t* drawn;
    const char* shown;
};

void expectTypedLines(DesktopWindow& w, std::initializer_list<TypedLine> lines)
{
    for (const TypedLine& line : lines) {
        w.calculator.preferences().outputFormat = line.format;
        w.key(Qt::Key_Escape);
        w.type(QString::fromLatin1(line.typed));
        const std::u16string& input = w.calculator.display().currentLine().input();
        EXPECT_EQ(expressionString(input, line.format), QString::fromUtf16(line.drawn)) << line.typed;
        w.key(Qt::Key_Return);
        w.view.waitForEvaluation();
        EXPECT_EQ(w.result(), QString::fromLatin1(line.shown)) << line.typed;
    }
}

}  // namespace

// In European format "," is the decimal comma and ";" parts arguments, drawn so; history keeps
// its meaning when the format changes.
TEST(DesktopKeyboardWindow, EuropeanDecimalCommaAndArgumentSemicolon)
{
    DesktopWindow w;
    constexpr OutputFormat kEuropean = OutputFormat::European;
    expectTypedLines(w, {
                            {kEuropean, "2,5+1", u"2,5+1", "3,5"},
                            {kEuropean, "fnInt(x;x;0;1,5)", u"\u222B(x;x;0;1,5)", "1,125"},
                            {kEuropean, "1234,5", u"1234,5", "1.234,5"},
                        });
    w.calculator.preferences().outputFormat = OutputFormat::UnitedStates;
    w.key(Qt::Key_Escape);
    w.key(Qt::Key_Up);
    EXPECT_EQ(w.line(), QStringLiteral("1234.5"));
    w.key(Qt::Key_Return);
    w.view.waitForEvaluation();
    EXPECT_EQ(w.result(), QStringLiteral("1,234.5"));
}

// Matrices typed at the keyboard in the Matrices category, in both output formats.
TEST(DesktopKeyboardWindow, MatrixLiteralsTypedAtTheKeyboard)
{
    DesktopWindow w;
    w.calculator.switchCategory(CategoryCode::kMatrices);
    expectTypedLines(
        w, {
               {OutputFormat::UnitedStates, "det([1,2;3,4])", u"det([1,2;3,4])", "-2"},
               {OutputFormat::UnitedStates, "det([2,0;0,3]*[1,1;0,1])", u"det([2,0;0,3]\u00D7[1,1;0,1])", "6"},
               {OutputFormat::European, "det([1,5;2|3;4])", u"det([1,5;2|3;4])", "0"},
           });
    // Elsewhere a matrix is refused with where to take it.
    w.calculator.switchCategory(0);
    w.type(QStringLiteral("det([1,2;3,4])"));
    w.key(Qt::Key_Return);
    w.view.waitForEvaluation();
    EXPECT_EQ(w.result(), QStringLiteral("Matrices are calculated in the Matrices category"));
}

// A key the number base cannot take is refused with a word, not dropped in silence.
TEST(DesktopKeyboardWindow, BaseConversionRefusesThePointAndForeignDigits)
{
    DesktopWindow w;
    w.calculator.switchCategory(CategoryCode::kBaseConversion);
    const struct {
        int radix;
        const char* typed;
        const char* line;
        const char* shown;
    } cases[] = {
        {KeyCode::kRadixHex, "2.", "2", "Base conversion takes whole numbers"},
        {KeyCode::kRadixOct, "78", "7", "Not a digit in this number base"},
    };
    for (const auto& c : cases) {
        w.calculator.pressKey(c.radix);
        w.key(Qt::Key_Escape);
        w.type(QString::fromLatin1(c.typed));
        EXPECT_EQ(w.line(), QString::fromLatin1(c.line)) << c.typed;
        EXPECT_EQ(w.result(), QString::fromLatin1(c.shown)) << c.typed;
    }
    // The keys of the hexadecimal digits are dimmed unless the base is HEX.
    w.calculator.pressKey(KeyCode::kRadixHex);
    std::optional<int> hexA;
    for (int position = 0; position < kFunctionKeypadGrid.columns * kFunctionKeypadGrid.rows; ++position) {
        if (w.calculator.functionKeyCode(position, false) == KeyCode::kHexA)
            hexA = position;
    }
    ASSERT_TRUE(hexA.has_value());
    EXPECT_TRUE(w.keypad("functionKeypad")->isAvailable(*hexA));
    w.calculator.pressKey(KeyCode::kRadixDec);
    EXPECT_FALSE(w.keypad("functionKeypad")->isAvailable(*hexA));
}
