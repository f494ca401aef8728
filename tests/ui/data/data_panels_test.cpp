// The matrix and statistics panels edit the engine's variables in place: a cell typed in the
// grid is what an expression reads next.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "data_tools.h"
#include "keypad_view.h"
#include "calculator_view.h"

#include "shipped_window.h"

namespace {

struct PanelWindow {
    Calculator calculator{std::filesystem::path()};
    DataTools tools{calculator.engine(), std::filesystem::path()};
    CalculatorView view{calculator, shippedFolder()};

    PanelWindow()
    {
        calculator.setTools(&tools);
        calculator.start();
        view.setDataTools(&tools);
        view.resize(240, 320);
        view.show();
    }
    ~PanelWindow() { calculator.setTools(nullptr); }
    void clickFunctionKey(int position)
    {
        clickKey(view.findChild<KeypadView*>(QStringLiteral("functionKeypad")), position);
    }
    // Types text into a cell through the table's in-place editor, as a user does.
    static void editCell(QTableWidget* table, int row, int col, const QString& text)
    {
        table->setCurrentCell(row, col);
        table->editItem(table->item(row, col));
        auto* editor = table->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the delegate commits the edit through a queued call
    }
};

TEST(DataPanels, MatrixAndStatisticsEditsReachTheEngine)
{
    PanelWindow w;
    w.view.showCategory(CategoryCode::kMatrices);
    ASSERT_NE(w.tools.matrices(), nullptr);
    auto* matrixPanel = w.view.findChild<QWidget*>(QStringLiteral("matrixWindow"));
    ASSERT_NE(matrixPanel, nullptr);
    EXPECT_FALSE(matrixPanel->isVisible());
    w.clickFunctionKey(1);  // MAT
    ASSERT_TRUE(matrixPanel->isVisible());
    EXPECT_EQ(matrixPanel->findChild<QLabel*>(QStringLiteral("caption"))->text(), QStringLiteral("No Matrix"));

    ASSERT_TRUE(w.tools.matrices()->newMatrix(2, 3, 2));  // "VA"
    QMetaObject::invokeMethod(matrixPanel, "refresh");
    auto* grid = matrixPanel->findChild<QTableWidget*>(QStringLiteral("matrixGrid"));
    ASSERT_EQ(grid->rowCount(), 2);
    ASSERT_EQ(grid->columnCount(), 3);
    PanelWindow::editCell(grid, 1, 2, QStringLiteral(" 2.50 "));
    EXPECT_EQ(w.tools.matrices()->entry(0).get(1, 2), 2.5);
    EXPECT_EQ(grid->item(1, 2)->text(), QStringLiteral("2.5"));
    EXPECT_EQ(matrixPanel->findChild<QLabel*>(QStringLiteral("caption"))->text(), QStringLiteral("Size: 2x3"));

    // Insert puts the name on the display; the engine sees the edited element.
    QPushButton* insert = nullptr;
    QPushButton* done = nullptr;
    for (QPushButton* button : matrixPanel->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("&Insert"))
            insert = button;
        if (button->text() == QStringLiteral("&Done"))
            done = button;
    }
    ASSERT_NE(insert, nullptr);
    ASSERT_NE(done, nullptr);
    QTest::mouseClick(insert, Qt::LeftButton);
    EXPECT_EQ(w.calculator.display().getInputText(), u"[VA]");
    QTest::mouseClick(done, Qt::LeftButton);
    EXPECT_FALSE(matrixPanel->isVisible());

    // Statistics: a new data set of three, one value typed in the list.
    w.view.showCategory(CategoryCode::kStatistics);
    ASSERT_NE(w.tools.statistics(), nullptr);
    w.clickFunctionKey(1);  // DATA
    auto* statisticsPanel = w.view.findChild<QWidget*>(QStringLiteral("statisticsWindow"));
    ASSERT_TRUE(statisticsPanel->isVisible());
    ASSERT_TRUE(w.tools.statistics()->newDataSet(3));
    QMetaObject::invokeMethod(statisticsPanel, "refresh");
    auto* list = statisticsPanel->findChild<QTableWidget*>(QStringLiteral("statisticsList"));
    ASSERT_EQ(list->rowCount(), 3);
    PanelWindow::editCell(list, 1, 1, QStringLiteral("7.25"));
    EXPECT_EQ(w.tools.statistics()->values()[1], 7.25);
    EXPECT_EQ(list->item(1, 1)->text(), QStringLiteral("7.25"));
    EXPECT_EQ(statisticsPanel->findChild<QLabel*>(QStringLiteral("caption"))->text(), QStringLiteral("N : 3"));

    // Leaving the category closes the panel.
    w.view.showCategory(CategoryCode::kArithmetic);
    EXPECT_FALSE(statisticsPanel->isVisible());
}

}  // namespace
