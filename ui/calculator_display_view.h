#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class CalculatorDisplay;

// Draws the display: the indicators, the five lines of the current page with the cursor on
// the current line, and the result text. All state lives in CalculatorDisplay. The name being
// typed on the keyboard is drawn at the cursor, underlined, until it goes onto the line; a
// click on an indicator (angle unit, display format, ...) sends that indicator's key.
class CalculatorDisplayView : public QWidget {
    Q_OBJECT
public:
    CalculatorDisplayView(const CalculatorDisplay& display, QWidget* parent = nullptr);
    void setCategory(int category) { category_ = category; update(); }
    // The name being typed, not yet on the line; empty when none.
    void setTypedName(const QString& name);
    const QString& typedName() const { return typedName_; }
    // Where each indicator is drawn, left to right (for tests and the pointer shape).
    std::vector<QRect> indicatorRects() const;

Q_SIGNALS:
    // A click on an indicator that does something: the key code it sends.
    void indicatorClicked(int code);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The indicator under a point, as an index into displayIndicators, or -1.
    int indicatorAt(QPoint point) const;
    QFont indicatorFont() const;
    // `count` pixels of the smallest screen at this display's size.
    int units(double count) const;

    const CalculatorDisplay& display_;
    int category_ = 0;
    QString typedName_;
};
