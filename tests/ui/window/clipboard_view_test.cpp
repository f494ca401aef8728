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
    QString result() const { return displayString(calculator.display().resultText()); }
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

}  // namespace
