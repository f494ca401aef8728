#pragma once

#include <QWidget>

class Calculator;
class QLabel;
class QTableWidget;

// The history panel, over the keypads: past expressions and their results, newest first. A
// click on an expression or a result, or Enter on the current cell, puts it back on the display
// line (an expression replaces the line, a result goes in at the cursor) and closes the panel;
// Escape closes it. The entries live in the calculator's CalculationHistory.
class HistoryView : public QWidget {
    Q_OBJECT
public:
    HistoryView(Calculator& calculator, QWidget* parent = nullptr);

    // Shows the entries again and gives the table the focus, on the newest entry.
    void open();

Q_SIGNALS:
    // The display line changed (an entry was put back).
    void changed();
    // The panel closed itself; the window takes the focus back.
    void closed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void putBack(int row, int column);
    void applyMetrics();

    Calculator& calculator_;
    int fontPixels_ = 0;
    QLabel* title_;
    QTableWidget* table_;
};
