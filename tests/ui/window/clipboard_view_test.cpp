// Copy and paste at the calculator window, with real key events and the system clipboard: what
// lands on the clipboard, and what a paste leaves on the display and in the history.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "shipped_window.h"

#include "calculator_view.h"
#include "data_tools.h"
#include "ui_text.h"

namespace {

constexpr Qt::KeyboardModifiers kCopy = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kCopyFull = Qt::ControlModifier | Qt::ShiftModifier;
// What the clipboard holds before each copy, to see that an error leaves it alone.
const QString kEarlierClipboard = QStringLiteral("earlier text");

// A shown, active window with the data tools, so that shortcuts and matrices work as for a user.
struct ClipboardWindow {
    Calculator calculator{std::filesystem::path()};
    DataTools tools{calculator.engine(), std::filesystem::path()};
    CalculatorView view{calculator, shippedFolder()};

    explicit ClipboardWindow(OutputFormat format = OutputFormat::UnitedStates)
    {
        calculator.setTools(&tools);
        calculator.start();
        calculator.preferences().outputFormat = format;
        view.setDataTools(&tools);
        view.resize(240, 320);
        view.show();
        view.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
        view.setFocus();
    }
    ~ClipboardWindow() { calculator.setTools(nullptr); }

    void type(const char* text)
    {
        for (const char* c = text; *c != '\0'; ++c)
            QTest::keyClick(&view, *c);
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(&view, key, modifiers); }
    // Pastes text as a user does and waits until every pasted line has its result.
    void paste(const QString& text)
    {
        QApplication::clipboard()->setText(text);
        key(Qt::Key_V, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!view.busy(), 10000);
    }
    QString result() const { return displayString(calculator.display().resultText()); }
    QString line() const { return displayString(calculator.display().getInputText()); }
};

struct CopyCase {
    const char* name;
    OutputFormat format;
    const char* typed;
    Qt::KeyboardModifiers keys;
    const char* shown;
    const char* copied;  // nullptr: the clipboard keeps what it held
};

class CopyAtTheWindow : public ::testing::TestWithParam<CopyCase> {};

TEST_P(CopyAtTheWindow, PutsTheResultOnTheClipboard)
{
    const CopyCase& c = GetParam();
    ClipboardWindow w(c.format);
    w.type(c.typed);
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.result(), QString::fromUtf8(c.shown));
    QApplication::clipboard()->setText(kEarlierClipboard);
    w.key(Qt::Key_C, c.keys);
    EXPECT_EQ(QApplication::clipboard()->text(), c.copied ? QString::fromUtf8(c.copied) : kEarlierClipboard);
}

constexpr OutputFormat kUs = OutputFormat::UnitedStates;
constexpr OutputFormat kEu = OutputFormat::European;

INSTANTIATE_TEST_SUITE_P(
    Table, CopyAtTheWindow,
    ::testing::Values(
        // As shown: the display's digits, no grouping, the format's decimal mark.
        CopyCase{"RoundedAsShown", kUs, "sqrt(2)^2", kCopy, "2", "2"},
        CopyCase{"GroupingDropped", kUs, "1234567.5*2", kCopy, "2,469,135", "2469135"},
        CopyCase{"ScientificAsShown", kUs, "1/300000", kCopy, "3.3333333333e-06", "3.3333333333e-06"},
        CopyCase{"EuropeanDecimalComma", kEu, "2.5+1", kCopy, "3,5", "3,5"},
        CopyCase{"EuropeanGroupingDropped", kEu, "1000.25*2", kCopy, "2.000,5", "2000,5"},
        CopyCase{"ComplexAsShown", kUs, "(1+2i)^2", kCopy, "-3+4i", "-3+4i"},
        // Errors copy nothing.
        CopyCase{"LogOfZero", kUs, "ln(0)", kCopy, "Out of range error", nullptr},
        CopyCase{"SyntaxError", kUs, "2++", kCopyFull, "Syntax error", nullptr},
        // Full precision: the shortest text that reads back to the same double.
        CopyCase{"FullPrecision", kUs, "1/3", kCopyFull, "0.33333333333333", "0.3333333333333333"},
        CopyCase{"FullPrecisionOfARoundedResult", kUs, "sqrt(2)^2", kCopyFull, "2", "2.0000000000000004"},
        CopyCase{"EuropeanFullPrecision", kEu, "1/3", kCopyFull, "0,33333333333333", "0,3333333333333333"},
        CopyCase{"ComplexFullPrecision", kUs, "(1+i)/3", kCopyFull, "3.3333e-01 +3.3333e-01i",
                 "0.3333333333333333+0.3333333333333333i"}),
    [](const ::testing::TestParamInfo<CopyCase>& info) { return std::string(info.param.name); });

TEST(CopyAtTheWindow, AMatrixResultCopiesItsElements)
{
    // European output too: the elements keep "." so that "," only ever separates them.
    ClipboardWindow w(OutputFormat::European);
    w.view.showCategory(CategoryCode::kMatrices);
    ASSERT_TRUE(w.tools.matrices()->newMatrix(2, 2, 2));  // "VA"
    const char* elements[] = {"1", "2.5", "3", "4"};
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(w.tools.matrices()->setElement(i / 2, i % 2, elements[i]));
    w.type("[VA]*2");
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.result(), QStringLiteral("[VRE]"));
    w.key(Qt::Key_C, kCopy);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("[2,5;6,8]"));
}

struct PasteCase {
    const char* name;
    OutputFormat format;
    const char16_t* pasted;
    const char* line;    // the display line at the end
    const char* result;  // and its result
    std::size_t history;
};

class PasteAtTheWindow : public ::testing::TestWithParam<PasteCase> {};

TEST_P(PasteAtTheWindow, EvaluatesWhatWasPasted)
{
    const PasteCase& c = GetParam();
    ClipboardWindow w(c.format);
    w.paste(QString::fromUtf16(c.pasted));
    // One line waits on the display for Enter; several have been evaluated.
    if (w.calculator.history().entries().empty())
        w.key(Qt::Key_Return);
    EXPECT_EQ(w.line(), QString::fromUtf8(c.line));
    EXPECT_EQ(w.result(), QString::fromUtf8(c.result));
    EXPECT_EQ(w.calculator.history().entries().size(), c.history);
    EXPECT_FALSE(w.view.busy());
}

INSTANTIATE_TEST_SUITE_P(Table, PasteAtTheWindow,
                         ::testing::Values(PasteCase{"DollarAmount", kUs, u" $1,234.56 ", "1234.56", "1,234.56", 1},
                                           PasteCase{"EuroAmount", kEu, u"\u20AC 1.234,50", "1234,50", "1.234,5", 1},
                                           PasteCase{"PoundAndYen", kUs, u"\u00A312*\u00A52", "12\u00D72", "24", 1},
                                           PasteCase{"LinesInTurn", kUs, u"1+1\n2+2\n", "2+2", "4", 2},
                                           PasteCase{"EmptyLinesSkipped", kUs, u"1+1\r\n\r\n  \r\n2*3", "2\u00D73", "6",
                                                     2},
                                           PasteCase{"AnErrorLineGoesOn", kUs, u"2+\n5-1", "5\u22121", "4", 1}),
                         [](const ::testing::TestParamInfo<PasteCase>& info) { return std::string(info.param.name); });

TEST(PasteAtTheWindow, PastedLinesAfterAResultStartNewExpressions)
{
    ClipboardWindow w;
    w.type("3*3");
    w.key(Qt::Key_Return);
    w.paste(QStringLiteral("1+1\n10/4"));
    EXPECT_EQ(w.result(), QStringLiteral("2.5"));
    ASSERT_EQ(w.calculator.history().entries().size(), 3u);
    EXPECT_EQ(w.calculator.history().entries()[1].expression, u"1+1");
    // A single pasted operator goes on from the answer, as typing it does.
    w.paste(QStringLiteral("*2"));
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.result(), QStringLiteral("5"));
}

TEST(PasteAtTheWindow, ALongLineKeepsTheWindowFreeAndEscapeDropsTheRest)
{
    ClipboardWindow w;
    QApplication::clipboard()->setText(QStringLiteral("1+1\nfnSum(fnSum(1,y,1,999999),x,1,999999)\n3+3\n4+4"));
    w.key(Qt::Key_V, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(w.calculator.display().resultText(), std::u16string(Calculator::kBusyText), 10000);
    EXPECT_TRUE(w.view.busy());
    // Keys other than Escape wait; the window paints.
    w.type("7");
    QApplication::processEvents();
    w.key(Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!w.view.busy(), 10000);
    EXPECT_EQ(w.result(), QStringLiteral("Calculation cancelled"));
    ASSERT_EQ(w.calculator.history().entries().size(), 1u);
    EXPECT_EQ(w.calculator.history().entries()[0].result, u"2");
}

}  // namespace
