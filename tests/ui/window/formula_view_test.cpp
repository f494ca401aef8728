// The typeset view: drawing runs off the window's thread and only the newest line is drawn,
// nothing drawn is explained, the size buttons work, and a wide formula shows the cursor's part.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <string>

#include "fake_formula_renderer.h"
#include "temp_folder.h"

#include "formula_markup.h"
#include "formula_view.h"
#include "keypad_view.h"
#include "tool_keypads.h"
#include "variable_slots.h"

namespace {

int runsLogged(const TempFolder& folder)
{
    std::ifstream log(folder.path() / "runs");
    int runs = 0;
    std::string line;
    while (std::getline(log, line))
        ++runs;
    return runs;
}

// Waits for the drawing thread, then delivers what it posted to the window's thread.
bool waitDrawn(FormulaView& view)
{
    const bool done = QTest::qWaitFor([&view] { return !view.busy(); }, 10000);
    QCoreApplication::processEvents();
    return done;
}

TEST(FormulaView, TypingNeverWaitsAndOnlyTheNewestLineIsDrawn)
{
    TempFolder folder;
    FormulaView view;
    view.resize(240, 80);
    view.setRenderer(FormulaRenderer(fakeFormulaRenderer(folder, 0.3)));
    const VariableSlots slots;
    std::u16string line;
    QElapsedTimer timer;
    for (int key = 0; key < 12; ++key) {
        line += key % 2 == 0 ? u"1" : u"+";
        timer.start();
        view.showLine(line + u"1", slots, 1.0);
        // The window's thread only hands the line over.
        EXPECT_LT(timer.elapsed(), 100) << key;
    }
    ASSERT_TRUE(waitDrawn(view));
    ASSERT_TRUE(view.message().isEmpty()) << view.message().toStdString();
    // The image is that of the last line: "\normalsize " and the 13 characters.
    const std::string newest = formula::renderExpressionFormula(line + u"1", view.sizeIndex(), slots).buffer;
    EXPECT_EQ(view.image().width(), static_cast<int>(newest.size()));
    // Lines typed while one was being drawn were dropped, not drawn in turn.
    EXPECT_LE(runsLogged(folder), 3);
}

TEST(FormulaView, SaysWhyNothingIsDrawn)
{
    TempFolder folder;
    FormulaView view;
    view.resize(240, 80);
    const VariableSlots slots;

    view.setRenderer(FormulaRenderer("corvan-no-such-renderer"));
    view.showLine(u"1+2", slots, 1.0);
    ASSERT_TRUE(waitDrawn(view));
    EXPECT_TRUE(view.image().isNull());
    EXPECT_TRUE(view.message().contains(QStringLiteral("mimetex"))) << view.message().toStdString();

    view.setRenderer(FormulaRenderer(fakeFormulaRenderer(folder, 0, 20000)));
    view.showLine(u"1+2+3", slots, 1.0);
    ASSERT_TRUE(waitDrawn(view));
    EXPECT_TRUE(view.message().contains(QStringLiteral("too large"))) << view.message().toStdString();

    view.showLine(u"", slots, 1.0);
    EXPECT_EQ(view.message(), QStringLiteral("Empty string"));
    view.showLine(std::u16string(1024, u'1'), slots, 1.0);
    EXPECT_EQ(view.message(), QStringLiteral("Overlength string"));
}

TEST(FormulaView, AWideFormulaShowsThePartAroundTheCursor)
{
    TempFolder folder;
    FormulaView view;
    view.resize(240, 80);
    view.setRenderer(FormulaRenderer(fakeFormulaRenderer(folder, 0, 2000)));
    const VariableSlots slots;
    view.showLine(u"1+2", slots, 1.0);
    ASSERT_TRUE(waitDrawn(view));
    ASSERT_EQ(view.image().width(), 2000);
    EXPECT_EQ(view.scrollOffset(), 2000 - 240);  // the end, where one types
    view.showLine(u"1+2", slots, 0.0);
    EXPECT_EQ(view.scrollOffset(), 0);
    view.showLine(u"1+2", slots, 0.5);
    EXPECT_EQ(view.scrollOffset(), 1000 - 120);
}

TEST(FormulaView, ANewSizeDrawsTheLineWithTheValuesItWasShownWith)
{
    TempFolder folder;
    FormulaView view;
    view.resize(240, 80);
    view.setRenderer(FormulaRenderer(fakeFormulaRenderer(folder, 0)));
    VariableSlots slots;
    slots.storeScalar(VariableSlots::kFirstUser, 12345);
    const VariableSlots shown = slots;
    view.showLine(u"[VA]+1", slots, 1.0);
    ASSERT_TRUE(waitDrawn(view));
    // The engine's variables change under the next "=", before the size does.
    slots.storeScalar(VariableSlots::kFirstUser, 7);
    view.setSize(toolKeypads::FormulaKey::Large);
    ASSERT_TRUE(waitDrawn(view));
    EXPECT_EQ(view.image().width(),
              static_cast<int>(formula::renderExpressionFormula(u"[VA]+1", view.sizeIndex(), shown).buffer.size()));
}

TEST(FormulaView, SizeButtonsChooseTheSizeAndCloseCloses)
{
    TempFolder folder;
    FormulaView view;
    view.resize(240, 80);
    view.setRenderer(FormulaRenderer(fakeFormulaRenderer(folder, 0)));
    const VariableSlots slots;
    view.showLine(u"1+2", slots, 1.0);
    ASSERT_TRUE(waitDrawn(view));
    const int medium = view.image().width();
    auto* buttons = view.findChild<KeypadView*>(QStringLiteral("formulaButtons"));
    ASSERT_NE(buttons, nullptr);
    bool closed = false;
    QObject::connect(&view, &FormulaView::closeClicked, [&closed] { closed = true; });

    // The stand-in draws the buffer's length, and the size command ("\normalsize", "\Large")
    // leads the buffer: a new size is a new drawing.
    QTest::mouseClick(buttons, Qt::LeftButton, Qt::NoModifier, buttons->keyRect(2).center());
    EXPECT_EQ(view.size(), toolKeypads::FormulaKey::Large);
    ASSERT_TRUE(waitDrawn(view));
    EXPECT_EQ(view.image().width(),
              static_cast<int>(formula::renderExpressionFormula(u"1+2", view.sizeIndex(), slots).buffer.size()));
    EXPECT_NE(view.image().width(), medium);
    QTest::mouseClick(buttons, Qt::LeftButton, Qt::NoModifier, buttons->keyRect(0).center());
    EXPECT_EQ(view.size(), toolKeypads::FormulaKey::Small);
    EXPECT_FALSE(closed);
    QTest::mouseClick(buttons, Qt::LeftButton, Qt::NoModifier, buttons->keyRect(3).center());
    EXPECT_TRUE(closed);
}

}  // namespace
