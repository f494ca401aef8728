// The "=" evaluation in its three steps: prepared on the window's thread, computed on another,
// shown on the window's thread again; and the display state kept on disk as it changes.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "atomic_file.h"
#include "calculator.h"
#include "key_codes.h"
#include "key_presses.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

StoredDate fixedToday()
{
    return StoredDate{2026, 12, 7};
}

constexpr std::u16string_view kDaysLong = u"fnSum(fnSum(1,y,1,999999),x,1,999999)";

// A started calculator; useRunner() gives its "=" an evaluation runner that only counts its calls.
struct RunnerCalculator {
    TempFolder folder;
    Calculator calculator{folder.path(), fixedToday};
    int runnerCalls = 0;

    RunnerCalculator() { calculator.start(); }
    void enter(std::u16string_view text)
    {
        calculator.pasteText(text);
        calculator.pressKey(KeyCode::kEquals);
    }
    void useRunner()
    {
        calculator.setEvaluationRunner([this] { ++runnerCalls; });
    }
    const std::u16string& result() { return calculator.display().resultText(); }
};

TEST(CalculatorEvaluation, ALongEvaluationRunsElsewhereAndCanBeCancelled)
{
    RunnerCalculator f;
    f.useRunner();
    f.enter(kDaysLong);
    ASSERT_EQ(f.runnerCalls, 1);
    ASSERT_TRUE(f.calculator.evaluating());
    // Pasted names became their keys' tokens: the line shows "\u2211(" for "fnSum(".
    const std::u16string line = f.calculator.display().getInputText();
    ASSERT_NE(line.find(u"999999"), std::u16string::npos);
    EXPECT_EQ(f.result(), Calculator::kBusyText);

    std::thread worker([&f] { f.calculator.runEvaluation(); });
    // Keys wait: nothing touches the display or the engine meanwhile.
    f.calculator.pressKey(keys("6").front());
    f.calculator.pasteText(u"99");
    f.calculator.switchCategory(4);
    f.calculator.pressKey(KeyCode::kEquals);
    EXPECT_EQ(f.runnerCalls, 1);
    EXPECT_EQ(f.calculator.category(), 0);
    EXPECT_EQ(f.calculator.display().getInputText(), line);

    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto start = std::chrono::steady_clock::now();
    f.calculator.cancelEvaluation();
    worker.join();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5.0);
    f.calculator.finishEvaluation();
    EXPECT_FALSE(f.calculator.evaluating());
    EXPECT_EQ(f.result(), u"Calculation cancelled");
    // The line went into the history like any evaluated line.
    EXPECT_EQ(f.calculator.display().line(1).input(), line);

    // The engine works again at once.
    f.calculator.display().handleKey(KeyCode::kClear);
    f.enter(u"6\u00D77");
    std::thread again([&f] { f.calculator.runEvaluation(); });
    again.join();
    f.calculator.finishEvaluation();
    EXPECT_EQ(f.result(), u"42");
}

TEST(CalculatorEvaluation, LinesThatNeverReachTheEngineAnswerAtOnce)
{
    RunnerCalculator f;
    f.useRunner();
    // Return on an empty line does nothing at all.
    f.calculator.pressKey(KeyCode::kEquals);
    EXPECT_EQ(f.result(), u"");
    EXPECT_EQ(f.runnerCalls, 0);
    EXPECT_FALSE(f.calculator.evaluating());
    f.enter(u"Mq(");
    EXPECT_EQ(f.runnerCalls, 1);  // not a macro: an ordinary (failing) evaluation
    f.calculator.runEvaluation();
    f.calculator.finishEvaluation();
    EXPECT_EQ(f.result(), u"Unknown name: Mq");
}

TEST(CalculatorEvaluation, WithoutARunnerEqualsComputesAtOnce)
{
    RunnerCalculator f;
    f.enter(u"2+3");
    EXPECT_FALSE(f.calculator.evaluating());
    EXPECT_EQ(f.result(), u"5");
}

TEST(CalculatorEvaluation, AnOverlongLineIsThatBeforeItsMacrosAreLookedAt)
{
    RunnerCalculator f;
    f.calculator.macros().insert(0, MacroRecord{u"x", u"x", u"Ma", u"x", u"1", 1});
    // 1100 characters of calls, the last one unclosed: too long, whatever the macros say.
    std::u16string line;
    while (line.size() < 1100)
        line += u"Ma(1)+";
    line += u"Ma(";
    f.calculator.display().currentLine().setContent(line, std::u16string(line.size(), u'1'));
    f.calculator.pressKey(KeyCode::kEquals);
    EXPECT_EQ(f.result(), u"Overlength string");
}

TEST(CalculatorEvaluation, TheDisplayStateIsWrittenWhenItChanged)
{
    RunnerCalculator f;
    const fs::path led = f.folder.path() / "led.dat";
    // As it was read at start: nothing to write.
    ASSERT_TRUE(f.calculator.saveDisplayState());
    EXPECT_FALSE(fs::exists(led));
    f.enter(u"1+1");
    ASSERT_TRUE(f.calculator.saveDisplayState());
    std::string bytes;
    ASSERT_TRUE(readWholeFile(led, bytes));
    // What a crash now would leave is what the next start reads.
    Calculator next(f.folder.path(), fixedToday);
    next.start();
    EXPECT_EQ(next.display().line(1).input(), u"1+1");

    // Unchanged: nothing is written.
    fs::remove(led);
    ASSERT_TRUE(f.calculator.saveDisplayState());
    EXPECT_FALSE(fs::exists(led));
    f.enter(u"2");
    ASSERT_TRUE(f.calculator.saveDisplayState());
    EXPECT_TRUE(fs::exists(led));
}

TEST(CalculatorEvaluation, AFailedSaveOfTheDisplayStateReportsFalse)
{
    TempFolder folder;
    const fs::path notFolder = folder.path() / "file";
    ASSERT_TRUE(writeFileAtomically(notFolder, "x"));
    Calculator calculator(notFolder, fixedToday);
    calculator.start();
    calculator.pasteText(u"7");
    WriteFailureWatch watch;
    EXPECT_FALSE(calculator.saveDisplayState());
    ASSERT_TRUE(watch.first());
    EXPECT_EQ(watch.first()->file, notFolder / "led.dat");
}

}  // namespace
