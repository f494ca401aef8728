#pragma once

#include <functional>

#include <QWidget>

class MatrixStore;
class QDialog;
class Calculator;
class QBoxLayout;
class QLabel;
class QPushButton;
class QTabBar;
class QTableWidget;
class QTableWidgetItem;
class QToolButton;

// The matrix window's panel, shown where the keypads are in the "Matrices" category: a tab per
// matrix, the shown matrix's grid with in-place editing, its size, the list's menu (New Matrix,
// Copy to, Clear, Delete, Delete All), Insert and Done. The rules live in MatrixStore.
class MatrixStoreView : public QWidget {
    Q_OBJECT
public:
    MatrixStoreView(Calculator& calculator, QWidget* parent = nullptr);

    // The open model, or nullptr while the category is not shown (the panel then shows nothing).
    void setModel(MatrixStore* model);

public Q_SLOTS:
    // Shows the model's state again: tabs, grid and size label.
    void refresh();

Q_SIGNALS:
    // The display line changed (Insert) or a matrix the engine reads changed.
    void changed();
    // Done: the keypads come back.
    void doneClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void editCell(QTableWidgetItem* item);
    void newMatrix();
    void copyTo();
    void clearShown();
    void deleteShown();
    void deleteAll();
    void insertName();
    bool confirm(const QString& question);
    void applyMetrics();

    Calculator& calculator_;
    MatrixStore* model_ = nullptr;
    int fontPixels_ = 0;

    QBoxLayout* layout_;
    QTabBar* tabs_;
    QLabel* sizeLabel_;
    QTableWidget* grid_;
    QToolButton* menuButton_;
    QPushButton* insertButton_;
    QPushButton* doneButton_;
    QAction* copyAction_;
    QAction* clearAction_;
    QAction* deleteAction_;
    QAction* deleteAllAction_;
};

// The data panels' colours and metrics, shared by the matrix and statistics panels so that
// they read as one family with the macro panel. px is the font's pixel size.
QString dataPanelStyleSheet(const QString& panelClass, int px);
// A data panel's dialog: its title, and the panels' look at type size px.
void styleDataPanelDialog(QDialog& dialog, const QString& title, int px);
// The font size for a panel of this size: it follows the height each row of controls gets.
int dataPanelFontPixels(QSize size);
// Keys of a data panel: Escape closes it, and keys the panel does not use stop there instead of
// moving the display's lines or evaluating it. Returns false for keys the widget should handle.
bool swallowDataPanelKey(QKeyEvent* event, const std::function<void()>& done);
