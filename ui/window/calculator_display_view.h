#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

class CalculatorDisplay;
class QPainter;

// Draws the display: the indicators, the five lines of the current page with the cursor on
// the current line, and the result text; in "Basic-RPN" the stack's top levels take the place
// of the lines and the result. All state lives in CalculatorDisplay. The name being
// typed on the keyboard is drawn at the cursor, underlined, until it goes onto the line; a
// click on an indicator (angle unit, display format, ...) sends that indicator's key.
class CalculatorDisplayView : public QWidget {
    Q_OBJECT
public:
    CalculatorDisplayView(const CalculatorDisplay& display, QWidget* parent = nullptr);
    void setCategory(int category)
    {
        category_ = category;
        update();
    }
    // The name being typed, not yet on the line; empty when none.
    void setTypedName(const QString& name);
    const QString& typedName() const { return typedName_; }
    // Where each indicator is drawn, left to right (for tests and the pointer shape).
    std::vector<QRect> indicatorRects() const;
    // A stack level as drawn in "Basic-RPN": its label ("1:" is the top) and its value as shown
    // (empty where the stack ends), the row it fills, where the value is drawn right-aligned,
    // and the fonts. The top row also shows the name being typed, left of the value.
    struct StackRow {
        QString label;
        QString value;
        QString typedName;
        QRect box;
        QRect valueBox;
        QFont labelFont;
        QFont valueFont;
    };
    // The levels that fit, at least four, the top last (on the bottom row); none in other modes.
    std::vector<StackRow> stackRows() const;

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
    void paintLines(QPainter& painter, int top);
    void paintStack(QPainter& painter);
    // `count` pixels of the smallest screen at this display's size.
    int units(double count) const;

    const CalculatorDisplay& display_;
    int category_ = 0;
    QString typedName_;
};
