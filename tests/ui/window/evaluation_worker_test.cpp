// A long "=" runs off the window's thread: the window shows that it is busy, takes Escape and
// the Cancel button only, and shows the result when the worker is done. Saves that fail are said
// once, naming the file and the cause.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "fake_formula_renderer.h"
#include "temp_folder.h"

#include "shipped_window.h"

#include "atomic_file.h"
#include "calculator_view.h"
#include "evaluation_worker.h"
#include "formula_markup.h"
#include "formula_view.h"
#include "key_codes.h"
#include "keypad_view.h"
#include "variable_slots.h"

namespace {

constexpr std::u16string_view kDaysLong = u"fnSum(fnSum(1,y,1,999999),x,1,999999)";
// The same line as the display holds it: a pasted "fnSum(" becomes the key's single token.
constexpr std::u16string_view kDaysLongShown = u"\u2211(\u2211(1,y,1,999999),x,1,999999)";

struct Window : ShippedWindow {
    explicit Window(std::filesystem::path stateFolder = {}) : ShippedWindow(0, std::move(stateFolder)) {}
    const std::u16string& input() { return calculator.display().getInputText(); }
    const std::u16string& result() { return calculator.display().resultText(); }
    QToolButton* cancelButton() { return view.findChild<QToolButton*>(QStringLiteral("cancelButton")); }
    void startLongEvaluation()
    {
        calculator.pasteText(kDaysLong);
        QTest::keyClick(&view, Qt::Key_Return);
    }
};

TEST(BusyWindow, ALongEqualsLeavesTheWindowFreeAndEscapeCancelsIt)
{
    Window w;
    w.view.show();
    w.startLongEvaluation();
    ASSERT_TRUE(w.view.busy());
    EXPECT_EQ(w.result(), Calculator::kBusyText);
    ASSERT_NE(w.cancelButton(), nullptr);
    EXPECT_TRUE(w.cancelButton()->isVisible());

    // The window still paints and takes events; keys and keypad clicks are ignored.
    QApplication::processEvents();
    QTest::keyClick(&w.view, Qt::Key_7);
    QTest::keyClick(&w.view, Qt::Key_Return);
    auto* keypad = w.view.findChild<KeypadView*>(QStringLiteral("basicKeypad"));
    QTest::mouseClick(keypad, Qt::LeftButton, Qt::NoModifier, keypad->keyRect(0).center());
    EXPECT_EQ(w.input(), kDaysLongShown);
    EXPECT_TRUE(w.view.busy());

    QTest::keyClick(&w.view, Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!w.view.busy(), 10000);
    EXPECT_EQ(w.result(), u"Calculation cancelled");
    EXPECT_FALSE(w.cancelButton()->isVisible());
    // The evaluated line is history; the keyboard works again.
    EXPECT_EQ(w.calculator.display().line(1).input(), kDaysLongShown);
    QTest::keyClick(&w.view, Qt::Key_Escape);
    w.calculator.display().handleKey(KeyCode::kClear);
    for (const char* key : {"1", "+", "1"})
        QTest::keyClick(&w.view, key[0]);
    QTest::keyClick(&w.view, Qt::Key_Return);
    EXPECT_EQ(w.result(), u"2");
}

// The worker thread owns the engine until the result is in: resizes, keys and paints while it
// computes read nothing of it, and the typeset line stays drawn.
TEST(BusyWindow, NothingReadsTheEngineWhileItComputes)
{
    TempFolder folder;
    Window w;
    int breaches = 0;
    w.calculator.setBusyEngineHandler([&breaches] { ++breaches; });
    auto* formula = w.view.findChild<FormulaView*>(QStringLiteral("formulaView"));
    ASSERT_NE(formula, nullptr);
    formula->setRenderer(FormulaRenderer(fakeFormulaRenderer(folder, 0)));
    for (QAction* action : w.view.actions()) {
        if (action->text() == QStringLiteral("Typeset view"))
            action->setChecked(true);
    }
    w.view.show();
    w.startLongEvaluation();
    ASSERT_TRUE(w.view.busy());

    // A bigger window draws the typeset line again at its scale; keys and paints arrive meanwhile.
    w.view.resize(480, 640);
    QTest::keyClick(&w.view, Qt::Key_7);
    w.view.repaint();
    ASSERT_TRUE(QTest::qWaitFor([formula] { return !formula->busy(); }, 10000));
    QApplication::processEvents();
    EXPECT_TRUE(w.view.busy());
    EXPECT_EQ(breaches, 0);
    EXPECT_TRUE(formula->isVisible());
    // The stand-in renderer draws as wide as its buffer: the line at the new size.
    const std::string buffer =
        formula::renderExpressionFormula(kDaysLong, formula->sizeIndex(), VariableSlots()).buffer;
    EXPECT_EQ(formula->image().width(), static_cast<int>(buffer.size()));
    // The check is armed: the worker owns the engine until the result is in.
    (void)w.calculator.engine();
    EXPECT_EQ(breaches, 1);

    QTest::keyClick(&w.view, Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!w.view.busy(), 10000);
    EXPECT_EQ(breaches, 1);
    EXPECT_EQ(w.result(), u"Calculation cancelled");
    EXPECT_EQ(w.calculator.display().line(1).input(), kDaysLongShown);
}

TEST(BusyWindow, TheCancelButtonAndQuitStopTheCalculation)
{
    for (const bool quit : {false, true}) {
        SCOPED_TRACE(quit ? "Ctrl+Q" : "Cancel");
        Window w;
        w.view.show();
        w.startLongEvaluation();
        ASSERT_TRUE(w.view.busy());
        if (quit)
            QTest::keyClick(&w.view, Qt::Key_Q, Qt::ControlModifier);
        else
            QTest::mouseClick(w.cancelButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w.view.busy(), 10000);
        EXPECT_EQ(w.result(), u"Calculation cancelled");
        // Quit closes the window too, at once.
        QTRY_COMPARE_WITH_TIMEOUT(w.view.isVisible(), !quit, 2000);
    }
}

TEST(BusyWindow, ClosingWhileBusyCancelsAndSavesTheLine)
{
    TempFolder home;
    {
        Window w(home.path());
        w.view.show();
        w.startLongEvaluation();
        ASSERT_TRUE(w.view.busy());
        w.view.close();
        EXPECT_FALSE(w.view.busy());
    }
    Calculator next(home.path());
    next.start();
    EXPECT_EQ(next.display().line(1).input(), kDaysLongShown);
}

TEST(BusyWindow, EachEqualsKeepsTheDisplayStateOnDisk)
{
    TempFolder home;
    Window w(home.path());
    for (const char* key : {"1", "+", "2"})
        QTest::keyClick(&w.view, key[0]);
    QTest::keyClick(&w.view, Qt::Key_Return);
    ASSERT_EQ(w.result(), u"3");
    // No close: a crash now would leave this file.
    Calculator afterCrash(home.path());
    afterCrash.start();
    EXPECT_EQ(afterCrash.display().line(1).input(), u"1+2");
}

TEST(EvaluationWorker, QuickWorkEndsWithinTheGraceAndLongWorkReportsWhenDone)
{
    EvaluationWorker worker;
    int finished = 0;
    QObject::connect(&worker, &EvaluationWorker::finished, [&finished] { ++finished; });
    bool ran = false;
    EXPECT_TRUE(worker.run([&ran] { ran = true; }, std::chrono::milliseconds(5000)));
    EXPECT_TRUE(ran);
    EXPECT_FALSE(worker.running());

    EXPECT_FALSE(
        worker.run([] { std::this_thread::sleep_for(std::chrono::milliseconds(300)); }, std::chrono::milliseconds(10)));
    EXPECT_TRUE(worker.running());
    QTRY_COMPARE_WITH_TIMEOUT(finished, 1, 5000);
    EXPECT_FALSE(worker.running());

    // Waiting for the work itself: no finished() afterwards.
    EXPECT_FALSE(
        worker.run([] { std::this_thread::sleep_for(std::chrono::milliseconds(100)); }, std::chrono::milliseconds(1)));
    worker.wait();
    QTest::qWait(200);
    EXPECT_EQ(finished, 1);
}

TEST(WriteFailures, AreSaidOnceWithTheFileAndTheCause)
{
    TempFolder home;
    const std::filesystem::path notFolder = home.path() / "not-a-folder";
    ASSERT_TRUE(writeFileAtomically(notFolder, "x"));
    Window w(notFolder);
    QStringList shown;
    const auto answer = [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown.append(box->text());
            box->accept();
        }
    };
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, answer);
    timer.start(20);
    for (int round = 0; round < 2; ++round) {
        for (const char* key : {"1", "+", "2"})
            QTest::keyClick(&w.view, key[0]);
        QTest::keyClick(&w.view, Qt::Key_Return);
    }
    w.view.close();
    ASSERT_EQ(shown.size(), 1);
    const QString expected = QString::fromStdString(WriteFailure{notFolder / "led.dat", ENOTDIR}.message());
    EXPECT_EQ(shown[0], expected);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("Not a directory")));
}

}  // namespace
