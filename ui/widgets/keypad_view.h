#pragma once

#include <QFont>
#include <QImage>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

// A keypad drawn from skin images (a face image and an optional label overlay) divided into a
// grid of keys. A press reports the key's position; keys that repeat while held are fed at
// once and then every 150 ms; other keys wait for the release, or for the tap-and-hold
// interval, which reports them as held (second function).
class KeypadView : public QWidget {
    Q_OBJECT
public:
    KeypadView(int columns, int rows, QWidget* parent = nullptr);

    void setImages(QImage faces, QImage labels);
    void setGrid(int columns, int rows);
    // Keys wider than one cell: how many cells each position's key covers, 0 for the cells a
    // key to the left covers (see basicKeypadSpans). Empty: every key is one cell.
    void setSpans(std::vector<int> spans);
    // Which positions repeat while held (asked at each press).
    void setRepeats(std::function<bool(int position)> repeats) { repeats_ = std::move(repeats); }
    // The tooltip of a key, asked when the pointer rests on it; an empty text shows none.
    void setTooltips(std::function<QString(int position)> tooltip) { tooltip_ = std::move(tooltip); }
    // Which positions take presses now (asked at each press and paint); the others are drawn
    // dimmed and ignore the pointer. Without it every key does.
    void setAvailable(std::function<bool(int position)> available) { available_ = std::move(available); }
    bool isAvailable(int position) const { return !available_ || available_(position); }
    // Texts drawn on a key in place of its label in the label image, asked at each paint: the
    // longest first, then shorter ones for a narrow key. None keeps the image's label.
    void setRelabels(std::function<QStringList(int position)> relabels) { relabels_ = std::move(relabels); }
    // What is drawn on a key instead of the image's label, and in which font; an empty text
    // when the key keeps the image's label.
    struct Relabel {
        QString text;
        QFont font;
    };
    Relabel relabel(int position) const;
    // Tap-and-hold: off, or after this many milliseconds.
    void setHold(bool enabled, int milliseconds);
    // The key under a point of the widget, or -1.
    int positionAt(QPoint point) const;
    QRect keyRect(int position) const;
    // The size of the faces image as drawn by the skin, empty without one.
    QSize imageSize() const { return faces_.size(); }

Q_SIGNALS:
    void keyPressed(int position, bool held);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Where a key's face is drawn: its whole cell, or the part of it that keeps the image's
    // proportions when the keypad is laid out in another shape.
    QRect faceRect(int position) const;
    // The first cell of the key a cell belongs to, and how many cells that key covers.
    int keyStart(int position) const;
    int spanOf(int position) const;
    bool aspectFits() const;
    void fireHold();
    void fireRepeat();

    QImage faces_;
    QImage labels_;
    int columns_;
    int rows_;
    std::vector<int> spans_;
    int pressed_ = -1;
    bool holdFired_ = false;
    bool holdEnabled_ = true;
    int holdMilliseconds_ = 200;
    std::function<bool(int)> repeats_;
    std::function<QString(int)> tooltip_;
    std::function<bool(int)> available_;
    std::function<QStringList(int)> relabels_;
    QTimer holdTimer_;
    QTimer repeatTimer_;
};
