// The matrix and statistics panels edit the engine's variables in place: a cell typed in the
// grid is what an expression reads next.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
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

TEST(DataPanels, MatrixSizesAndCellsBeyondTheLimitsSayWhy)
{
    PanelWindow w;
    w.view.showCategory(CategoryCode::kMatrices);
    w.clickFunctionKey(1);  // MAT
    auto* matrixPanel = w.view.findChild<QWidget*>(QStringLiteral("matrixWindow"));
    ASSERT_TRUE(matrixPanel->isVisible());

    // New Matrix with 99 rows: the dialog says the limit and stays; 12 rows are then made.
    QString limitShown;
    QTimer::singleShot(0, [&limitShown] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* rows = dialog->findChildren<QSpinBox*>().at(0);
        auto* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        rows->selectAll();
        QTest::keyClicks(rows, QStringLiteral("99"));
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_TRUE(dialog->isVisible());
        auto* limit = dialog->findChild<QLabel*>(QStringLiteral("matrixSizeLimit"));
        limitShown = limit->isVisible() ? limit->text() : QString();
        rows->selectAll();
        QTest::keyClicks(rows, QStringLiteral("12"));
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QMenu* menu = matrixPanel->findChild<QToolButton*>(QStringLiteral("menu"))->menu();
    for (QAction* action : menu->actions())
        if (action->text() == QStringLiteral("New Matrix"))
            action->trigger();
    EXPECT_EQ(limitShown, QStringLiteral("A matrix has at most 30 rows and 30 columns."));
    auto* grid = matrixPanel->findChild<QTableWidget*>(QStringLiteral("matrixGrid"));
    ASSERT_EQ(grid->rowCount(), 12);

    // A cell typed beyond the largest number keeps its value and says why.
    PanelWindow::editCell(grid, 1, 0, QStringLiteral("1e400"));
    EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("0"));
    auto* box = w.view.findChild<QMessageBox*>(QStringLiteral("matrixCellRefused"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->text(), QStringLiteral("1e400 is too large for a matrix element (overflow)."));
}

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
