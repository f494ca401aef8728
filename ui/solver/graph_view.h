#pragma once

#include <QWidget>

#include <array>
#include <functional>

#include "graph.h"

class Engine;
struct Preferences;
class KeypadView;
class NumberPadView;
class QKeyEvent;
class SkinPixmaps;
class QLabel;
class QLineEdit;
class QPushButton;

// The plot area: draws the model's axes with numbered ticks, the curves as the model breaks
// them into pieces (and a mark where one stopped short), the mode box and the cross-hair, and
// hands the pen (mouse) to the model in plot pixels.
class PlotAreaView : public QWidget {
    Q_OBJECT
public:
    explicit PlotAreaView(Graph& model, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void drawAxes(class QPainter& painter) const;
    void drawAxisNumbers(class QPainter& painter, int x0, int y0) const;
    void drawCurves(class QPainter& painter) const;
    void drawModeBox(class QPainter& painter) const;
    void drawCoordinates(class QPainter& painter) const;

    Graph& model_;
    bool penDown_ = false;
};

// The graph window's panel, shown in the "Function Graphs" category where the display and the
// keypads are: the entry view with the fields y1..y3, the skin's operator keypad
// ("GraphOperators") and the number pad, so a function can be typed by pointer alone; or the
// plot view with a button back to the fields. The Graph model, which this panel owns, samples
// the curves.
class GraphView : public QWidget {
    Q_OBJECT
public:
    // angleMode gives the unit in force when a plot is drawn.
    GraphView(Engine& engine, const Preferences& preferences, std::function<AngleMode()> angleMode,
              QWidget* parent = nullptr);

    const Graph& model() const { return model_; }
    NumberPadView* numberPad() const { return pad_; }
    KeypadView* operatorKeypad() const { return operators_; }
    void setSkin(const SkinPixmaps& skin);

    // A keyboard key of the main window. In the entry view a character goes to the current
    // field and Enter plots; in the plot view Enter or Escape goes back to the fields.
    bool takeKey(QKeyEvent* event);

public Q_SLOTS:
    // Converts the field texts to engine text and shows the plot of every non-empty field; a
    // function that gives no curve keeps the entry view open with a message saying why.
    void plot();
    void showEntry();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void insertText(const QString& text);
    void pressOperator(int position);
    void layoutChildren();
    void showProblems();

    const Preferences& preferences_;
    std::function<AngleMode()> angleMode_;
    Graph model_;
    std::size_t currentField_ = 0;
    int fontPixels_ = 0;

    QWidget* entryPage_;
    std::array<class QLabel*, Graph::kFieldCount> captions_{};
    std::array<QLineEdit*, Graph::kFieldCount> fields_{};
    KeypadView* operators_;
    NumberPadView* pad_;
    QPushButton* plotButton_;
    PlotAreaView* plotArea_;
    QPushButton* entryButton_;
    QPushButton* resetButton_;
};
