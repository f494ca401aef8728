// The finance keys open their windows over the keypads; values typed into the fields are
// solved by the models and shown back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include "finance_view.h"
#include "keypad_view.h"
#include "calculator_view.h"

#include "shipped_window.h"

namespace {

struct FinanceWindow {
    Calculator calculator{std::filesystem::path()};
    CalculatorView view{calculator, shippedFolder()};

    FinanceWindow()
    {
        calculator.start();
        view.resize(240, 320);
        view.show();
        view.showCategory(CategoryCode::kFinance);
    }
    void clickFunctionKey(int position)
    {
        clickKey(view.findChild<KeypadView*>(QStringLiteral("functionKeypad")), position);
    }
    static QPushButton* button(QWidget* panel, const QString& text)
    {
        for (QPushButton* b : panel->findChildren<QPushButton*>())
            if (b->text() == text && b->isVisible())
                return b;
        return nullptr;
    }
    static void retype(QLineEdit* field, const QString& text)
    {
        field->selectAll();
        QTest::keyClicks(field, text);
    }
};

TEST(FinanceView, SolvesTvmAndComputesALoanThroughTheWidgets)
{
    FinanceWindow w;
    auto* tvm = w.view.findChild<TimeValueOfMoneyCalculatorView*>();
    auto* loan = w.view.findChild<LoanCalculatorView*>();
    ASSERT_NE(tvm, nullptr);
    ASSERT_NE(loan, nullptr);
    EXPECT_FALSE(tvm->isVisible());

    // TVM: solve FV at rate 0, which is pv - nper x pmt.
    w.clickFunctionKey(1);
    ASSERT_TRUE(tvm->isVisible());
    auto* fv = tvm->findChild<QLineEdit*>(QStringLiteral("tvmField4"));
    EXPECT_FALSE(fv->isReadOnly());
    QTest::mouseClick(tvm->findChild<QRadioButton*>(QStringLiteral("tvmSolve4")), Qt::LeftButton);
    EXPECT_TRUE(fv->isReadOnly());
    EXPECT_FALSE(tvm->findChild<QLineEdit*>(QStringLiteral("tvmField0"))->isReadOnly());
    FinanceWindow::retype(tvm->findChild<QLineEdit*>(QStringLiteral("tvmField1")), QStringLiteral("0"));
    QTest::mouseClick(FinanceWindow::button(tvm, QStringLiteral("Calculate")), Qt::LeftButton);
    EXPECT_EQ(fv->text(), QStringLiteral("-232000"));

    // Done closes the panel; the Loan key opens the loan window.
    QTest::mouseClick(FinanceWindow::button(tvm, QStringLiteral("Done")), Qt::LeftButton);
    EXPECT_FALSE(tvm->isVisible());
    w.clickFunctionKey(2);
    ASSERT_TRUE(loan->isVisible());
    auto* payment = loan->findChild<QLineEdit*>(QStringLiteral("loanField4"));
    loan->findChild<QCheckBox*>(QStringLiteral("loanComputePayment"))->click();
    EXPECT_EQ(payment->text(), QString());  // no placeholder number before the payment is computed
    EXPECT_TRUE(payment->isReadOnly());
    auto* count = loan->findChild<QLineEdit*>(QStringLiteral("loanField3"));
    FinanceWindow::retype(count, QStringLiteral("5000"));
    EXPECT_EQ(count->text(), QStringLiteral("1200"));  // held to the longest schedule
    FinanceWindow::retype(count, QStringLiteral("12"));
    QTest::mouseClick(FinanceWindow::button(loan, QStringLiteral("Calculate")), Qt::LeftButton);
    ASSERT_TRUE(loan->report()->isVisible());
    EXPECT_EQ(loan->report()->table()->rowCount(), 12);
    EXPECT_EQ(loan->report()->table()->horizontalHeaderItem(4)->text(), QStringLiteral("Principal"));
    EXPECT_TRUE(loan->report()->summary()->text().startsWith(QStringLiteral("Payment per period: 86.53")))
        << loan->report()->summary()->text().toStdString();

    // Leaving the category closes the window.
    w.view.showCategory(CategoryCode::kArithmetic);
    EXPECT_FALSE(loan->isVisible());
}

TEST(FinanceView, TvmShowsWhyInputIsInvalidAndHugeValuesInScientificForm)
{
    struct Case {
        int solved;
        int typedField;
        QString typed;
        QString shown;
    };
    const Case cases[] = {
        {2, 0, "0", "Invalid parameters"},     // PV over no periods
        {2, 1, "-5", "Invalid parameters"},    // a negative rate
        {4, 5, "0", "Invalid parameters"},     // no periods per year
        {4, 1, "abc", "Invalid parameters"},   // no number at all
        {4, 2, "1e300", "1.0000000000e+300"},  // FV of a huge PV
    };
    for (const Case& c : cases) {
        FinanceWindow w;
        w.clickFunctionKey(1);
        auto* tvm = w.view.findChild<TimeValueOfMoneyCalculatorView*>();
        QTest::mouseClick(tvm->findChild<QRadioButton*>(QStringLiteral("tvmSolve%1").arg(c.solved)), Qt::LeftButton);
        FinanceWindow::retype(tvm->findChild<QLineEdit*>(QStringLiteral("tvmField%1").arg(c.typedField)), c.typed);
        if (c.typedField != 1)
            FinanceWindow::retype(tvm->findChild<QLineEdit*>(QStringLiteral("tvmField1")), QStringLiteral("0"));
        QTest::mouseClick(FinanceWindow::button(tvm, QStringLiteral("Calculate")), Qt::LeftButton);
        EXPECT_EQ(tvm->findChild<QLineEdit*>(QStringLiteral("tvmField%1").arg(c.solved))->text(), c.shown)
            << c.typed.toStdString();
    }
}

TEST(FinanceView, MortgageScheduleHasYearTotals)
{
    FinanceWindow w;
    auto* mortgage = w.view.findChild<MortgageCalculatorView*>();
    ASSERT_NE(mortgage, nullptr);
    w.clickFunctionKey(3);
    ASSERT_TRUE(mortgage->isVisible());
    QTest::mouseClick(FinanceWindow::button(mortgage, QStringLiteral("Calculate")), Qt::LeftButton);
    ASSERT_TRUE(mortgage->report()->isVisible());
    EXPECT_EQ(mortgage->report()->table()->rowCount(), 65);  // 60 months and 5 "Totals" lines
    EXPECT_EQ(mortgage->report()->table()->item(12, 1)->text(), QStringLiteral("Totals"));
}

}  // namespace
