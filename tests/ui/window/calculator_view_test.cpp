// The window forwards clicks and keys to the calculator and shows what it says; these tests
// drive it offscreen as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include "temp_folder.h"

#include "shipped_window.h"

#include "finance_view.h"
#include "key_codes.h"
#include "keypads.h"
#include "keypad_view.h"
#include "calculator_view.h"
#include "formula_view.h"
#include "help_view.h"

namespace {

using Window = ShippedWindow;

TEST(CalculatorWindow, LoadsTheShippedSkin)
{
    Window w;
    EXPECT_TRUE(w.view.skinLoaded());
    EXPECT_EQ(w.view.windowTitle(), QStringLiteral("Corvan"));
}

TEST(CalculatorWindow, HelpGoesToTheBrowserWhenThereIsOne)
{
    Window w;
    QUrl opened;
    w.view.setHelpOpener([&opened](const QUrl& url) {
        opened = url;
        return true;
    });
    QTest::keyClick(&w.view, Qt::Key_F1);
    EXPECT_TRUE(opened.isLocalFile());
    EXPECT_TRUE(opened.toLocalFile().endsWith(QStringLiteral("Corvan.htm")));
    EXPECT_EQ(w.view.findChild<HelpView*>(), nullptr);
}

TEST(CalculatorWindow, HelpOpensInItsOwnWindowWithoutABrowser)
{
    Window w;
    w.view.show();
    w.view.setHelpOpener([](const QUrl&) { return false; });
    QTest::keyClick(&w.view, Qt::Key_F1);
    auto* help = w.view.findChild<HelpView*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->isWindow());
    EXPECT_TRUE(help->browser()->toPlainText().startsWith(QStringLiteral("Corvan")))
        << help->browser()->toPlainText().left(80).toStdString();
    EXPECT_EQ(help->browser()->documentTitle(), QStringLiteral("Corvan help"));
    // Dark text on a light page, over the middle of the calculator; Escape closes it.
    EXPECT_GT(help->browser()->palette().color(QPalette::Base).lightness(), 200);
    EXPECT_TRUE(help->frameGeometry().contains(w.view.frameGeometry().center()));
    EXPECT_TRUE(w.view.screen()->availableGeometry().contains(help->frameGeometry()));
    QTest::keyClick(help->browser()->viewport(), Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
    // A second F1 shows the same window again.
    QTest::keyClick(&w.view, Qt::Key_F1);
    EXPECT_EQ(w.view.findChildren<HelpView*>().size(), 1);
    EXPECT_TRUE(help->isVisible());
}

TEST(CalculatorWindow, KeypadClicksReachTheDisplay)
{
    Window w;
    // 7 + 3 x 4 = on the basic keypad (positions are key codes in portrait).
    for (int position : {0, 18, 12, 8, 5, 19})
        w.click("basicKeypad", position);
    EXPECT_EQ(w.calculator.display().getInputText(), u"7+3\u00D74");
    EXPECT_EQ(w.calculator.display().resultText(), u"19");
    // SHIFT then "=" gives [ans].
    w.click("basicKeypad", KeyCode::kClear);
    w.click("functionKeypad", 0);
    w.click("basicKeypad", 19);
    EXPECT_EQ(w.calculator.display().getInputText(), u"[ans]");
}

TEST(CalculatorWindow, KeyboardEditsAndEvaluates)
{
    Window w;
    w.type(QStringLiteral("1+2"));
    QTest::keyClick(&w.view, Qt::Key_Backspace);
    QTest::keyClick(&w.view, Qt::Key_Backspace);
    w.type(QStringLiteral("*3"));
    QTest::keyClick(&w.view, Qt::Key_Return);
    EXPECT_EQ(w.calculator.display().getInputText(), u"1\u00D73");
    EXPECT_EQ(w.calculator.display().resultText(), u"3");
}

TEST(CalculatorWindow, ToolsPanelSwitchesCategoriesAndPQScroll)
{
    Window w;
    auto* panel = w.view.findChild<QListWidget*>(QStringLiteral("toolsPanel"));
    ASSERT_NE(panel, nullptr);
    w.view.show();
    Q_EMIT panel->itemClicked(panel->item(2));
    EXPECT_EQ(w.calculator.category(), 2);
    EXPECT_FALSE(panel->isVisible());
    // P and Q are the pocket computer's scrolling keys; a desktop keyboard types them.
    w.calculator.preferences().pocketKeyboardLetters = true;
    QTest::keyClick(&w.view, Qt::Key_P);
    EXPECT_EQ(w.calculator.category(), 6);
    QTest::keyClick(&w.view, Qt::Key_Q);
    EXPECT_EQ(w.calculator.category(), 2);
}

// Each category shows its own panel in the keypads' place, or its keypads; the panels with a
// keypad or fields of their own take the display's place too, and the category bar moves to the top.
TEST(CalculatorWindow, EachCategoryShowsItsPanelWhereItBelongs)
{
    struct CategoryCase {
        int category;
        const char* panel;  // the class of the panel shown, or none for the keypads
        bool barOnTop;
    };
    const CategoryCase cases[] = {
        {CategoryCode::kArithmetic, nullptr, false},
        {CategoryCode::kBaseConversion, nullptr, false},
        {CategoryCode::kMatrices, nullptr, false},
        {CategoryCode::kFinance, nullptr, false},
        {CategoryCode::kTip, "TipCalculatorView", true},
        {CategoryCode::kUnitConverter, "ConverterView", true},
        {CategoryCode::kConstants, "ConverterView", true},
        {CategoryCode::kBiorhythm, "BiorhythmView", false},
        {CategoryCode::kEquationSolver, "EquationSolverView", true},
        {CategoryCode::kFunctionGraphs, "GraphView", true},
        {CategoryCode::kDateTime, "DateTimeView", false},
        {CategoryCode::kMacros, "MacroEditorView", false},
    };
    // Every panel that can take the keypads' place, and the placeholder (a QLabel) of a category
    // that would have nothing there.
    const QStringList panelClasses = {
        QStringLiteral("TipCalculatorView"),
        QStringLiteral("ConverterView"),
        QStringLiteral("BiorhythmView"),
        QStringLiteral("MacroEditorView"),
        QStringLiteral("EquationSolverView"),
        QStringLiteral("GraphView"),
        QStringLiteral("DateTimeView"),
        QStringLiteral("MatrixStoreView"),
        QStringLiteral("StatisticsDataView"),
        QStringLiteral("TimeValueOfMoneyCalculatorView"),
        QStringLiteral("LoanCalculatorView"),
        QStringLiteral("MortgageCalculatorView"),
        QStringLiteral("QLabel"),
    };
    TempFolder home;
    const ProgramFolder folder(home.path(), CORVAN_SOURCE_DATA_DIR);
    ASSERT_TRUE(folder.prepare());
    Window w(0, home.path(), folder);
    w.view.show();
    const auto shownPanels = [&w, &panelClasses] {
        QStringList shown;
        for (QWidget* child : w.view.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            const QString name = QString::fromLatin1(child->metaObject()->className());
            if (panelClasses.contains(name) && !child->isHidden())
                shown << name;
        }
        return shown.join(QLatin1Char(' ')).toStdString();
    };
    const auto barOnTop = [&w] { return w.view.findChild<QWidget*>(QStringLiteral("bar"))->y() == 0; };
    for (const CategoryCase& c : cases) {
        w.view.showCategory(c.category);
        EXPECT_EQ(shownPanels(), c.panel ? c.panel : "") << c.category;
        EXPECT_EQ(barOnTop(), c.barOnTop) << c.category;
        EXPECT_EQ(w.keypad("basicKeypad")->isVisible(), c.panel == nullptr) << c.category;
    }
    // The macro category opened the editor, which keeps the other categories away until it stops.
    w.calculator.stopEditingMacro();

    // A finance window opens over the keypads and the display; Escape closes it, and so does
    // leaving the category.
    w.view.showCategory(CategoryCode::kFinance);
    auto* loan = w.view.findChild<LoanCalculatorView*>();
    w.view.openFinancePanel(loan);
    EXPECT_EQ(shownPanels(), "LoanCalculatorView");
    EXPECT_TRUE(barOnTop());
    EXPECT_FALSE(w.keypad("basicKeypad")->isVisible());
    QTest::keyClick(&w.view, Qt::Key_Escape);
    EXPECT_EQ(shownPanels(), "");
    EXPECT_FALSE(barOnTop());
    EXPECT_TRUE(w.keypad("basicKeypad")->isVisible());
    w.view.openFinancePanel(loan);
    w.view.showCategory(CategoryCode::kArithmetic);
    w.view.showCategory(CategoryCode::kFinance);
    EXPECT_EQ(shownPanels(), "");
    // The data panels cover only the keypads, and only in their own category.
    w.view.openDataPanel();
    EXPECT_EQ(shownPanels(), "");
    w.view.showCategory(CategoryCode::kMatrices);
    w.view.openDataPanel();
    EXPECT_EQ(shownPanels(), "MatrixStoreView");
    EXPECT_FALSE(barOnTop());
    EXPECT_FALSE(w.keypad("basicKeypad")->isVisible());
}

TEST(CalculatorWindow, CalculusListInsertsTheChosenFunction)
{
    Window w;
    w.view.show();
    w.click("functionKeypad", 1);
    auto* list = w.view.findChild<QListWidget*>(QStringLiteral("popupList"));
    ASSERT_TRUE(list->isVisible());
    Q_EMIT list->itemClicked(list->item(5));
    EXPECT_EQ(w.calculator.display().getInputText(), u"\u222B(");
    EXPECT_FALSE(list->isVisible());
}

TEST(CalculatorWindow, TypesetViewShowsTheCurrentLine)
{
    Window w;
    QAction* typeset = nullptr;
    for (QAction* action : w.view.actions()) {
        if (action->text() == QStringLiteral("Typeset view"))
            typeset = action;
    }
    ASSERT_NE(typeset, nullptr);
    typeset->setChecked(true);
    auto* view = w.view.findChild<FormulaView*>(QStringLiteral("formulaView"));
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->isHidden());
    EXPECT_EQ(view->message(), QStringLiteral("Empty string"));
    w.type(QStringLiteral("1/2"));
    if (FormulaRenderer().available()) {
        // Drawn off the window's thread: the view fills in when the renderer is done.
        ASSERT_TRUE(QTest::qWaitFor([view] { return !view->busy() && !view->image().isNull(); }, 10000));
        // A fraction is taller than a line of text.
        EXPECT_GT(view->image().height(), 20);
    } else {
        ASSERT_TRUE(QTest::qWaitFor([view] { return !view->busy() && !view->message().isEmpty(); }, 10000));
        EXPECT_TRUE(view->message().contains(QStringLiteral("mimetex")));
    }
    typeset->setChecked(false);
    EXPECT_TRUE(view->isHidden());
}

TEST(CalculatorWindow, TypesImpliedProductsAndEvaluatesWithEnter)
{
    Window w;
    w.type(QStringLiteral("2(3)"));
    QTest::keyClick(&w.view, Qt::Key_Return);
    EXPECT_EQ(w.calculator.display().getInputText(), u"2(3)");
    EXPECT_EQ(w.calculator.display().resultText(), u"6");
}

TEST(CalculatorWindow, PreferencesConvertTheCurrentLineToTheNewOutputFormat)
{
    TempFolder home;
    const ProgramFolder folder(home.path(), CORVAN_SOURCE_DATA_DIR);
    ASSERT_TRUE(folder.prepare());
    Window w(0, home.path(), folder);
    w.type(QStringLiteral("1.4"));
    ASSERT_EQ(w.calculator.display().getInputText(), u"1.4");
    bool answered = false;
    QTimer::singleShot(0, [&answered] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* output = dialog->findChild<QComboBox*>(QStringLiteral("outputMode"));
        ASSERT_NE(output, nullptr);
        output->setCurrentIndex(output->findText(QStringLiteral("European")));
        dialog->accept();
        answered = true;
    });
    QTest::keyClick(&w.view, Qt::Key_F2);
    ASSERT_TRUE(answered);
    EXPECT_EQ(w.calculator.preferences().outputFormat, OutputFormat::European);
    // The converted line went to the history below, and the current line was cleared.
    EXPECT_EQ(w.calculator.display().line(1).input(), u"1\u00B84");
    EXPECT_EQ(w.calculator.display().getInputText(), u"");
    EXPECT_TRUE(std::filesystem::exists(home.path() / "preferences.dat"));
}

TEST(CalculatorWindow, ClosingWritesTheStateThatTheNextStartRestores)
{
    TempFolder home;
    const ProgramFolder folder(home.path(), CORVAN_SOURCE_DATA_DIR);
    ASSERT_TRUE(folder.prepare());
    {
        Window w(0, home.path(), folder);
        w.view.showCategory(1);
        w.type(QStringLiteral("1+1"));
        QTest::keyClick(&w.view, Qt::Key_Return);
        w.calculator.setPreferredInputMode(InputMode::BasicRpn);
        w.view.close();
    }
    for (const char* file : {"preferences.dat", "led.dat", "macro.mcr"})
        EXPECT_TRUE(std::filesystem::exists(home.path() / file)) << file;
    Calculator calculator(home.path());
    calculator.start();
    EXPECT_EQ(calculator.category(), 1);
    EXPECT_EQ(calculator.preferences().inputMode, InputMode::BasicRpn);
    // The evaluated line stays as history; start-up clears only the current line.
    EXPECT_EQ(calculator.display().line(1).input(), u"1+1");
    EXPECT_EQ(calculator.display().line(0).input(), u"");
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
