// The tool panels with a number pad (TVM, loan, mortgage, equation solver, graph entry) driven
// by pointer alone: a click on a field, clicks on the pad's keys, OK. Each panel is also drawn
// at the three screen sizes into PNGs (CORVAN_SCREENSHOT_DIR, or a temporary folder) and
// checked for children outside the panel, overlapping inputs and labels cut short.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "temp_folder.h"

#include "shipped_window.h"

#include "calculator_view.h"
#include "equation_solver_view.h"
#include "finance_view.h"
#include "graph_view.h"
#include "keypad_view.h"
#include "layout_check.h"
#include "number_pad_view.h"
#include "tool_keypads.h"

namespace {

using toolKeypads::NumberPadKey;

struct Window {
    Calculator calculator{std::filesystem::path()};
    CalculatorView view{calculator, shippedFolder()};

    explicit Window(QSize size = QSize(240, 320))
    {
        calculator.start();
        view.resize(size);
        view.show();
    }
    void openFinance(int position)
    {
        view.showCategory(CategoryCode::kFinance);
        clickKey(view.findChild<KeypadView*>(QStringLiteral("functionKeypad")), position);
    }
};

int positionOf(char16_t label)
{
    for (std::size_t i = 0; i < toolKeypads::kNumberPadKeys.size(); ++i) {
        const std::u16string_view face = toolKeypads::kNumberPadKeys[i].label;
        if (face.size() == 1 && face[0] == label)
            return static_cast<int>(i);
    }
    if (label == u'C')
        return 3;
    return -1;
}

int positionOf(NumberPadKey key)
{
    for (std::size_t i = 0; i < toolKeypads::kNumberPadKeys.size(); ++i) {
        if (toolKeypads::kNumberPadKeys[i].key == key)
            return static_cast<int>(i);
    }
    return -1;
}

// Clicks the field, clears it with C and types the text on the pad ("-" is the minus key).
void fillByPointer(NumberPadView* pad, QLineEdit* field, const QString& text)
{
    QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, field->rect().center());
    ASSERT_EQ(pad->target(), field);
    clickKey(pad, positionOf(NumberPadKey::Clear));
    for (const QChar c : text) {
        if (c == QLatin1Char('-'))
            clickKey(pad, positionOf(NumberPadKey::Minus));
        else if (c == QLatin1Char('.'))
            clickKey(pad, positionOf(NumberPadKey::Point));
        else
            clickKey(pad, positionOf(c.unicode()));
    }
}

QMessageBox* openMessage(QWidget* parent)
{
    for (QMessageBox* box : parent->findChildren<QMessageBox*>())
        if (box->isVisible())
            return box;
    return nullptr;
}

TEST(ToolPanels, TvmFieldsFillByPointerAndOkSolves)
{
    Window w;
    w.openFinance(1);
    auto* tvm = w.view.findChild<TimeValueOfMoneyCalculatorView*>();
    ASSERT_TRUE(tvm->isVisible());
    NumberPadView* pad = tvm->numberPad();
    ASSERT_TRUE(pad->isVisible());
    // The panel takes the display's place: the category bar stays, on top.
    EXPECT_LE(tvm->geometry().top(), w.view.height() / 10);

    // Solve FV: 360 payments of 1200 on 200000 at 0 %.
    QTest::mouseClick(tvm->findChild<QRadioButton*>(QStringLiteral("tvmSolve4")), Qt::LeftButton);
    fillByPointer(pad, tvm->findChild<QLineEdit*>(QStringLiteral("tvmField1")), QStringLiteral("0"));
    fillByPointer(pad, tvm->findChild<QLineEdit*>(QStringLiteral("tvmField0")), QStringLiteral("360."));
    fillByPointer(pad, tvm->findChild<QLineEdit*>(QStringLiteral("tvmField2")), QStringLiteral("200000"));
    fillByPointer(pad, tvm->findChild<QLineEdit*>(QStringLiteral("tvmField3")), QStringLiteral("1.5"));
    // A second point in one number is not typed; DEL takes the last character.
    clickKey(pad, positionOf(NumberPadKey::Point));
    clickKey(pad, positionOf(u'9'));
    clickKey(pad, positionOf(NumberPadKey::Delete));
    clickKey(pad, positionOf(u'0'));
    EXPECT_EQ(tvm->model().fieldText(3), u"1.50");
    fillByPointer(pad, tvm->findChild<QLineEdit*>(QStringLiteral("tvmField5")), QStringLiteral("12"));
    clickKey(pad, positionOf(NumberPadKey::Ok));
    EXPECT_EQ(tvm->findChild<QLineEdit*>(QStringLiteral("tvmField4"))->text(), QStringLiteral("199460"));

    // The solved field takes no keys; the sign key negates a whole number.
    auto* fv = tvm->findChild<QLineEdit*>(QStringLiteral("tvmField4"));
    pad->setTarget(fv);
    clickKey(pad, positionOf(u'7'));
    EXPECT_EQ(fv->text(), QStringLiteral("199460"));
    auto* pv = tvm->findChild<QLineEdit*>(QStringLiteral("tvmField2"));
    QTest::mouseClick(pv, Qt::LeftButton);
    clickKey(pad, positionOf(NumberPadKey::Sign));
    EXPECT_EQ(tvm->model().fieldText(2), u"-200000");
    clickKey(pad, positionOf(NumberPadKey::Sign));
    EXPECT_EQ(tvm->model().fieldText(2), u"200000");
}

TEST(ToolPanels, TvmSaysWhenThePaymentNeverCoversTheInterest)
{
    Window w;
    w.openFinance(1);
    auto* tvm = w.view.findChild<TimeValueOfMoneyCalculatorView*>();
    // The opening loan of 200000 at 6.007 % adds 1001.17 a month; 900 never repays it.
    fillByPointer(tvm->numberPad(), tvm->findChild<QLineEdit*>(QStringLiteral("tvmField3")), QStringLiteral("900"));
    clickKey(tvm->numberPad(), positionOf(NumberPadKey::Ok));
    QMessageBox* box = openMessage(tvm);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("The payment never covers the interest"));
    EXPECT_EQ(tvm->findChild<QLineEdit*>(QStringLiteral("tvmField0"))->text(), QStringLiteral("0"));
    box->close();
}

TEST(ToolPanels, LoanFillsByPointerAndItsScheduleEndsAtZero)
{
    Window w;
    w.openFinance(2);
    auto* loan = w.view.findChild<LoanCalculatorView*>();
    ASSERT_TRUE(loan->isVisible());
    NumberPadView* pad = loan->numberPad();
    fillByPointer(pad, loan->findChild<QLineEdit*>(QStringLiteral("loanField0")), QStringLiteral("200000"));
    fillByPointer(pad, loan->findChild<QLineEdit*>(QStringLiteral("loanField1")), QStringLiteral("6"));
    fillByPointer(pad, loan->findChild<QLineEdit*>(QStringLiteral("loanField3")), QStringLiteral("360"));
    QTest::mouseClick(loan->findChild<QCheckBox*>(QStringLiteral("loanComputePayment")), Qt::LeftButton);
    clickKey(pad, positionOf(NumberPadKey::Ok));
    QTableWidget* table = loan->report()->table();
    ASSERT_TRUE(table->isVisible());
    ASSERT_EQ(table->rowCount(), 360);
    EXPECT_EQ(loan->model().calculation().finalBalance(), 0.0);
    // The last row's balance is what its principal pays off.
    EXPECT_EQ(table->item(359, 2)->text(), table->item(359, 4)->text());
    EXPECT_TRUE(loan->report()->summary()->text().contains(QStringLiteral("Final payment: ")));

    // Back to the form: a payment below the interest gives the message and no schedule.
    QTest::mouseClick(loan->report()->findChild<QPushButton*>(QStringLiteral("back")), Qt::LeftButton);
    QTest::mouseClick(loan->findChild<QCheckBox*>(QStringLiteral("loanComputePayment")), Qt::LeftButton);
    fillByPointer(pad, loan->findChild<QLineEdit*>(QStringLiteral("loanField4")), QStringLiteral("5"));
    fillByPointer(pad, loan->findChild<QLineEdit*>(QStringLiteral("loanField0")), QStringLiteral("1000"));
    fillByPointer(pad, loan->findChild<QLineEdit*>(QStringLiteral("loanField1")), QStringLiteral("12"));
    clickKey(pad, positionOf(NumberPadKey::Ok));
    QMessageBox* box = openMessage(loan);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("The payment never covers the interest"));
    EXPECT_FALSE(table->isVisible());
    box->close();
}

TEST(ToolPanels, MortgageFillsByPointerAndEndsAtZero)
{
    Window w;
    w.openFinance(3);
    auto* mortgage = w.view.findChild<MortgageCalculatorView*>();
    NumberPadView* pad = mortgage->numberPad();
    fillByPointer(pad, mortgage->findChild<QLineEdit*>(QStringLiteral("mortgageField0")), QStringLiteral("200000"));
    fillByPointer(pad, mortgage->findChild<QLineEdit*>(QStringLiteral("mortgageField1")), QStringLiteral("6"));
    fillByPointer(pad, mortgage->findChild<QLineEdit*>(QStringLiteral("mortgageField2")), QStringLiteral("30"));
    clickKey(pad, positionOf(NumberPadKey::Ok));
    QTableWidget* table = mortgage->report()->table();
    ASSERT_TRUE(table->isVisible());
    ASSERT_EQ(table->rowCount(), 390);  // 360 months and 30 "Totals" lines
    EXPECT_EQ(table->item(389, 1)->text(), QStringLiteral("Totals"));
    EXPECT_EQ(table->item(389, 4)->text(), QStringLiteral("0.00"));
    EXPECT_EQ(table->item(388, 4)->text(), QStringLiteral("0.00"));
}

TEST(ToolPanels, SolverFieldsFillByPointerAndANumberEndingInAPointSolves)
{
    Window w;
    w.view.showCategory(CategoryCode::kEquationSolver);
    auto* solver = w.view.findChild<EquationSolverView*>();
    ASSERT_TRUE(solver->isVisible());
    NumberPadView* pad = solver->numberPad();
    // 5x^2 - 15x + 10 = 0, each coefficient typed with a final point.
    fillByPointer(pad, solver->findChild<QLineEdit*>(QStringLiteral("field0")), QStringLiteral("5."));
    fillByPointer(pad, solver->findChild<QLineEdit*>(QStringLiteral("field1")), QStringLiteral("-15."));
    fillByPointer(pad, solver->findChild<QLineEdit*>(QStringLiteral("field2")), QStringLiteral("10."));
    EXPECT_EQ(solver->findChild<QLineEdit*>(QStringLiteral("field1"))->text(), QStringLiteral("-15."));
    clickKey(pad, positionOf(NumberPadKey::Ok));
    EXPECT_EQ(solver->findChild<QLineEdit*>(QStringLiteral("field12"))->text(), QStringLiteral("2"));
    EXPECT_EQ(solver->findChild<QLineEdit*>(QStringLiteral("field13"))->text(), QStringLiteral("1"));
    EXPECT_EQ(openMessage(solver), nullptr);

    // The field's own rule holds: a minus inside a number is not typed.
    auto* c = solver->findChild<QLineEdit*>(QStringLiteral("field2"));
    QTest::mouseClick(c, Qt::LeftButton);
    c->end(false);
    clickKey(pad, positionOf(NumberPadKey::Minus));
    EXPECT_EQ(c->text(), QStringLiteral("10."));
}

TEST(ToolPanels, GraphFunctionIsTypedAndPlottedByPointer)
{
    Window w;
    w.view.showCategory(CategoryCode::kFunctionGraphs);
    auto* graph = w.view.findChild<GraphView*>();
    ASSERT_TRUE(graph->isVisible());
    auto* field = graph->findChild<QLineEdit*>(QStringLiteral("graphField1"));
    QTest::mouseClick(field, Qt::LeftButton);
    KeypadView* operators = graph->operatorKeypad();
    NumberPadView* pad = graph->numberPad();
    ASSERT_TRUE(operators->isVisible() && pad->isVisible());
    // 2.5 × x ^ 2 − 1
    clickKey(pad, positionOf(u'2'));
    clickKey(pad, positionOf(NumberPadKey::Point));
    clickKey(pad, positionOf(u'5'));
    clickKey(operators, 3);  // ×
    clickKey(operators, 0);  // x
    clickKey(operators, 5);  // ^
    clickKey(pad, positionOf(u'2'));
    clickKey(pad, positionOf(NumberPadKey::Minus));
    clickKey(pad, positionOf(u'1'));
    EXPECT_EQ(field->text(), QStringLiteral("2.5\u00D7x^2-1"));
    clickKey(pad, positionOf(NumberPadKey::Ok));
    const Graph& model = graph->model();
    ASSERT_TRUE(model.plotShown());
    ASSERT_EQ(model.curves().size(), 1u);
    const GraphCurve& curve = model.curves()[0];
    ASSERT_GT(curve.count, 10u);
    for (std::size_t i = 0; i < curve.count; ++i)
        EXPECT_NEAR(curve.ys[i], 2.5 * curve.xs[i] * curve.xs[i] - 1, 1e-9);
}

// ---- Screenshots and layout checks ----

QString screenshotFolder()
{
    static TempFolder fallback;
    const char* chosen = std::getenv("CORVAN_SCREENSHOT_DIR");
    const QString folder = chosen != nullptr && *chosen != '\0' ? QString::fromLocal8Bit(chosen)
                                                                : QString::fromStdString(fallback.path().string());
    QDir().mkpath(folder);
    return folder;
}

// Every visible child lies inside the panel, no two visible inputs overlap, and no text is cut.
void checkLayout(QWidget* panel, const std::string& name)
{
    for (const QString& fault : layoutFaults(*panel, panel->size()))
        ADD_FAILURE() << name << ": " << fault.toStdString();
}

void saveShot(QWidget& window, const std::string& name)
{
    const QString path =
        screenshotFolder() + QStringLiteral("/") + QString::fromStdString(name) + QStringLiteral(".png");
    EXPECT_TRUE(window.grab().save(path)) << path.toStdString();
}

TEST(ToolPanels, EveryPanelIsWholeAtEverySize)
{
    const QSize sizes[] = {QSize(240, 320), QSize(480, 640), QSize(320, 240)};
    for (const QSize size : sizes) {
        const std::string tag = std::to_string(size.width()) + "x" + std::to_string(size.height());
        struct Panel {
            const char* name;
            int financeKey;  // the finance key that opens it, or -1
            int category;
        };
        const Panel panels[] = {{"tvm", 1, CategoryCode::kFinance},
                                {"loan", 2, CategoryCode::kFinance},
                                {"mortgage", 3, CategoryCode::kFinance},
                                {"solver", -1, CategoryCode::kEquationSolver},
                                {"graph", -1, CategoryCode::kFunctionGraphs}};
        for (const Panel& p : panels) {
            Window w(size);
            QWidget* panel = nullptr;
            if (p.financeKey >= 0) {
                w.openFinance(p.financeKey);
                if (p.financeKey == 1)
                    panel = w.view.findChild<TimeValueOfMoneyCalculatorView*>();
                else if (p.financeKey == 2)
                    panel = w.view.findChild<LoanCalculatorView*>();
                else
                    panel = w.view.findChild<MortgageCalculatorView*>();
            } else {
                w.view.showCategory(p.category);
                if (p.category == CategoryCode::kEquationSolver)
                    panel = w.view.findChild<EquationSolverView*>();
                else
                    panel = w.view.findChild<GraphView*>();
            }
            ASSERT_NE(panel, nullptr);
            ASSERT_TRUE(panel->isVisible()) << p.name;
            QCoreApplication::processEvents();
            EXPECT_TRUE(w.view.rect().contains(panel->geometry())) << p.name;
            checkLayout(panel, std::string(p.name) + " " + tag);
            saveShot(w.view, std::string(p.name) + "_" + tag);
            if (p.category == CategoryCode::kEquationSolver) {
                // The largest kinds of equation too: most fields, most results.
                auto* kinds = panel->findChild<QComboBox*>(QStringLiteral("kind"));
                for (EquationSolver::Kind kind :
                     {EquationSolver::Kind::ThreeEquations, EquationSolver::Kind::Quartic}) {
                    const int index = static_cast<int>(kind);
                    kinds->setCurrentIndex(index);
                    Q_EMIT kinds->activated(index);
                    QCoreApplication::processEvents();
                    checkLayout(panel, "solver" + std::to_string(index) + " " + tag);
                    saveShot(w.view, "solver" + std::to_string(index) + "_" + tag);
                }
            }
            if (p.financeKey == 2 || p.financeKey == 3) {
                // And the schedule.
                if (p.financeKey == 2)
                    QTest::mouseClick(panel->findChild<QCheckBox*>(QStringLiteral("loanComputePayment")),
                                      Qt::LeftButton);
                QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("calculate")), Qt::LeftButton);
                QCoreApplication::processEvents();
                saveShot(w.view, std::string(p.name) + "_report_" + tag);
            }
            if (p.category == CategoryCode::kFunctionGraphs) {
                auto* graph = static_cast<GraphView*>(panel);
                QTest::keyClicks(panel->findChild<QLineEdit*>(QStringLiteral("graphField0")), QStringLiteral("sin(x)"));
                QTest::keyClicks(panel->findChild<QLineEdit*>(QStringLiteral("graphField1")), QStringLiteral("tan(x)"));
                QTest::keyClicks(panel->findChild<QLineEdit*>(QStringLiteral("graphField2")),
                                 QStringLiteral("sqrt(x^2-4)"));
                graph->plot();
                QCoreApplication::processEvents();
                saveShot(w.view, "graph_plot_" + tag);
            }
        }
    }
}

TEST(ToolPanels, KeypadsOfTheSkinShowInTheirPanels)
{
    // The typeset view's size buttons come from the skin's images: drawn for a look at every size.
    for (const QSize size : {QSize(240, 320), QSize(480, 640), QSize(320, 240)}) {
        const std::string tag = std::to_string(size.width()) + "x" + std::to_string(size.height());
        Window w(size);
        w.view.showCategory(CategoryCode::kArithmetic);
        for (QAction* action : w.view.actions()) {
            if (action->text() == QStringLiteral("Typeset view"))
                action->setChecked(true);
        }
        QApplication::clipboard()->setText(QStringLiteral("2/(3+1)+pmt(6,360,200000,0,12)+\u221A(9)"));
        QTest::keyClick(&w.view, Qt::Key_V, Qt::ControlModifier);
        auto* buttons = w.view.findChild<KeypadView*>(QStringLiteral("formulaButtons"));
        ASSERT_NE(buttons, nullptr);
        EXPECT_TRUE(buttons->isVisible());
        QTest::qWait(1500);
        saveShot(w.view, "typeset_" + tag);
    }
}

}  // namespace
