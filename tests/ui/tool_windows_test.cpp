// The tip and equation solver panels forward keys and clicks to their models; these tests
// drive them offscreen through the main window as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "equation_solver_view.h"
#include "keypads.h"
#include "calculator_view.h"
#include "tip_calculator_view.h"

#include "shipped_window.h"

namespace {

struct ToolWindow : ShippedWindow {
    using ShippedWindow::ShippedWindow;

    template <typename T>
    T* child(const QString& name) const
    {
        return view.findChild<T*>(name);
    }
    QString label(const char* name) const { return child<QLabel>(QString::fromLatin1(name))->text(); }
    QLineEdit* field(int index) const { return child<QLineEdit>(QStringLiteral("field%1").arg(index)); }
    QPushButton* button(const QString& text) const
    {
        for (QPushButton* button : view.findChildren<QPushButton*>())
            if (button->text() == text)
                return button;
        return nullptr;
    }
};

TEST(TipWindowView, ShowsInItsCategoryInsteadOfThePlaceholder)
{
    ToolWindow w(CategoryCode::kTip);
    auto* panel = w.view.findChild<TipCalculatorView*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_TRUE(w.view.findChild<QLabel*>(QStringLiteral("placeholder"))->isHidden());
    EXPECT_EQ(w.label("field0"), QStringLiteral("P"));
    EXPECT_EQ(w.label("field1"), QStringLiteral("%"));
    EXPECT_EQ(w.label("field2"), QStringLiteral("$"));
    EXPECT_EQ(w.label("tipLine"), QStringLiteral("Tip Amount  = "));
    EXPECT_EQ(w.label("totalLine"), QStringLiteral("Total/Person = "));
    w.view.showCategory(CategoryCode::kArithmetic);
    EXPECT_TRUE(panel->isHidden());
}

TEST(TipWindowView, TypedKeysFillTheFieldsAndEnterCalculates)
{
    ToolWindow w(CategoryCode::kTip);
    w.type(QStringLiteral("4"));
    QTest::keyClick(&w.view, Qt::Key_Tab);
    w.type(QStringLiteral("15"));
    QTest::keyClick(&w.view, Qt::Key_Tab);
    w.type(QStringLiteral("1000"));
    QTest::keyClick(&w.view, Qt::Key_Backspace);
    QTest::keyClick(&w.view, Qt::Key_Return);
    EXPECT_EQ(w.label("field0"), QStringLiteral("4P"));
    EXPECT_EQ(w.label("field1"), QStringLiteral("15%"));
    EXPECT_EQ(w.label("field2"), QStringLiteral("100$"));
    EXPECT_EQ(w.label("tipLine"), QStringLiteral("Tip Amount  = 15.00$"));
    EXPECT_EQ(w.label("totalLine"), QStringLiteral("Total/Person = 28.75$"));
    // Typing into a field again puts the result lines back to their labels.
    w.type(QStringLiteral("0"));
    EXPECT_EQ(w.label("tipLine"), QStringLiteral("Tip Amount  = "));
    // The display did not see any of it.
    EXPECT_TRUE(w.calculator.display().getInputText().empty());
}

TEST(TipWindowView, KeyboardLettersStandForDigits)
{
    ToolWindow w(CategoryCode::kTip);
    w.type(QStringLiteral("wer"));
    EXPECT_EQ(w.label("field0"), QStringLiteral("123P"));
}

TEST(TipWindowView, ClicksOnFieldsAndKeysWorkWithoutAKeyboard)
{
    ToolWindow w(CategoryCode::kTip);
    QTest::mouseClick(w.child<QLabel>(QStringLiteral("field2")), Qt::LeftButton);
    for (const char* key : {"5", "0"})
        w.button(QString::fromLatin1(key))->click();
    QTest::mouseClick(w.child<QLabel>(QStringLiteral("field0")), Qt::LeftButton);
    w.button(QStringLiteral("2"))->click();
    w.button(QStringLiteral("Next"))->click();
    w.button(QStringLiteral("1"))->click();
    w.button(QStringLiteral("0"))->click();
    w.button(QStringLiteral("Calculate"))->click();
    EXPECT_EQ(w.view.findChild<TipCalculatorView*>()->model().activeField(), TipCalculator::kPercentField);
    EXPECT_EQ(w.label("tipLine"), QStringLiteral("Tip Amount  = 5.00$"));
    EXPECT_EQ(w.label("totalLine"), QStringLiteral("Total/Person = 27.50$"));
    w.button(QStringLiteral("C"))->click();
    EXPECT_EQ(w.label("field1"), QStringLiteral("%"));
    EXPECT_EQ(w.label("tipLine"), QStringLiteral("Tip Amount  = "));
}

TEST(TipWindowView, FollowsTheEuropeanOutputFormat)
{
    ToolWindow w(CategoryCode::kTip);
    w.calculator.preferences().outputFormat = OutputFormat::European;
    w.view.showCategory(CategoryCode::kTip);
    w.type(QStringLiteral("3"));
    QTest::keyClick(&w.view, Qt::Key_Tab);
    w.type(QStringLiteral("0"));
    QTest::keyClick(&w.view, Qt::Key_Tab);
    w.type(QStringLiteral("1000.5"));
    QTest::keyClick(&w.view, Qt::Key_Enter);
    EXPECT_EQ(w.label("field2"), QStringLiteral("1.000,5$"));
    EXPECT_EQ(w.label("totalLine"), QStringLiteral("Total/Person = 333,50$"));
}

TEST(EquationsSolverView, SolvesAQuadraticTypedIntoItsFields)
{
    ToolWindow w(CategoryCode::kEquationSolver);
    auto* panel = w.view.findChild<EquationSolverView*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_TRUE(w.view.findChild<QLabel*>(QStringLiteral("placeholder"))->isHidden());
    QTest::keyClicks(w.field(0), QStringLiteral("1"));
    QTest::keyClicks(w.field(1), QStringLiteral("-3"));
    QTest::keyClicks(w.field(2), QStringLiteral("2"));
    QTest::mouseClick(w.child<QPushButton>(QStringLiteral("solve")), Qt::LeftButton);
    EXPECT_EQ(w.field(12)->text(), QStringLiteral("2"));
    EXPECT_EQ(w.field(13)->text(), QStringLiteral("1"));
    EXPECT_TRUE(w.field(14)->isHidden());
    EXPECT_TRUE(w.field(3)->isHidden());
}

TEST(EquationsSolverView, EmptyFieldsCountAsOneAndComplexRootsShow)
{
    ToolWindow w(CategoryCode::kEquationSolver);
    // Enter in a field solves too.
    QTest::keyClick(w.field(0), Qt::Key_Return);
    for (int field : {0, 1, 2})
        EXPECT_EQ(w.field(field)->text(), QStringLiteral("1"));
    EXPECT_EQ(w.field(12)->text(), QStringLiteral("-0.5+0.8660254038i"));
    EXPECT_EQ(w.field(13)->text(), QStringLiteral("-0.5-0.8660254038i"));
}

TEST(EquationsSolverView, TypingOnTheWindowGoesToTheFirstField)
{
    ToolWindow w(CategoryCode::kEquationSolver);
    w.type(QStringLiteral("-2"));
    EXPECT_EQ(w.field(0)->text(), QStringLiteral("-2"));
    EXPECT_TRUE(w.calculator.display().getInputText().empty());
}

TEST(EquationsSolverView, SolvesTwoLinearEquations)
{
    ToolWindow w(CategoryCode::kEquationSolver);
    auto* kind = w.child<QComboBox>(QStringLiteral("kind"));
    ASSERT_EQ(kind->count(), 5);
    EXPECT_EQ(kind->itemText(0), QStringLiteral("Quadratic Equation"));
    EXPECT_EQ(kind->itemText(1), QStringLiteral("Cubic Equation"));
    EXPECT_EQ(kind->itemText(2), QStringLiteral("Quartic Equation"));
    EXPECT_EQ(kind->itemText(3), QStringLiteral("Quadratic Simultaneous"));
    EXPECT_EQ(kind->itemText(4), QStringLiteral("Cubic Simultaneous"));
    kind->setCurrentIndex(3);
    Q_EMIT kind->activated(3);
    // Rows use the x, y and right-hand side fields; the z fields stay hidden.
    EXPECT_TRUE(w.field(2)->isHidden());
    EXPECT_TRUE(w.field(6)->isHidden());
    EXPECT_FALSE(w.field(7)->isHidden());
    EXPECT_TRUE(w.field(8)->isHidden());
    const std::pair<int, const char*> entries[] = {{0, "1"}, {1, "1"}, {3, "3"}, {4, "1"}, {5, "-1"}, {7, "1"}};
    for (const auto& [field, text] : entries)
        QTest::keyClicks(w.field(field), QString::fromLatin1(text));
    QTest::mouseClick(w.child<QPushButton>(QStringLiteral("solve")), Qt::LeftButton);
    EXPECT_EQ(w.field(12)->text(), QStringLiteral("2"));
    EXPECT_EQ(w.field(13)->text(), QStringLiteral("1"));
    EXPECT_EQ(w.view.findChild<EquationSolverView*>()->model().kind(), EquationSolver::Kind::TwoEquations);
}

}  // namespace
