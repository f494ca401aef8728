#pragma once

#include <QWidget>

#include <array>

#include "tip_calculator.h"

struct Preferences;

class QBoxLayout;
class QGridLayout;
class QKeyEvent;
class QLabel;
class QPushButton;

// The tip window's panel, shown where the keypads are in the "Tip" category: the three input
// fields with their markers, the two result lines and a small keypad. Every key, typed or
// clicked, goes to the TipCalculator model, which this panel owns.
class TipCalculatorView : public QWidget {
    Q_OBJECT
public:
    TipCalculatorView(const Preferences& preferences, QWidget* parent = nullptr);

    const TipCalculator& model() const { return model_; }

    // A keyboard key of the main window. True when the panel took it; shortcuts (Ctrl, Alt)
    // and keys without a meaning here are left to the window.
    bool takeKey(QKeyEvent* event);
    // One character code to the model, as a key of the panel's keypad sends it.
    void pressKey(char16_t code);

public Q_SLOTS:
    // Follows the output format of the preferences and shows the model again.
    void refresh();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyMetrics();

    const Preferences& preferences_;
    TipCalculator model_;
    int fontPixels_ = 0;
    bool wide_ = false;

    QBoxLayout* columns_;
    QGridLayout* fieldsGrid_;
    QGridLayout* keysGrid_;
    std::array<QLabel*, TipCalculator::kFieldCount> captions_{};
    std::array<QLabel*, TipCalculator::kFieldCount> fields_{};
    QLabel* tipLine_;
    QLabel* totalLine_;
};
