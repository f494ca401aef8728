#pragma once

#include <QWidget>

class CalculatorDisplay;

// Draws the display: the indicators, the five lines of the current page with the cursor on
// the current line, and the result text. All state lives in CalculatorDisplay.
class CalculatorDisplayView : public QWidget {
    Q_OBJECT
public:
    CalculatorDisplayView(const CalculatorDisplay& display, QWidget* parent = nullptr);
    void setCategory(int category) { category_ = category; update(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CalculatorDisplay& display_;
    int category_ = 0;
};
