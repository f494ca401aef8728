#pragma once

#include <QWidget>

#include <array>
#include <optional>
#include <string>

#include "date_calculator.h"
#include "time_calculator.h"

class Calculator;
class KeypadView;
class QGridLayout;
class QKeyEvent;
class QLabel;
class QPushButton;
class QVBoxLayout;
class SkinPixmaps;

// The "Date - Time" panel, shown where the keypads are: the date calculator or the time
// calculator, one at a time. Each shows From, Interval and To with their cells, the focused
// cell marked, and the skin's "DateTime" keypad. Every key goes to the DateCalculator or
// TimeCalculator model.
class DateTimeView : public QWidget {
    Q_OBJECT
public:
    // The panel's commands, as its buttons and keyboard keys send them.
    enum class Command {
        Digit,
        ClearCell,
        Left,
        Right,
        Up,
        Down,
        ComputeFrom,
        ComputeInterval,
        ComputeTo,
        // The focused field's own command: "Now" of a date, and the unit of a duration.
        Now,
        Unit,
        // The button beside each field: solar / lunar of a date, the unit of a duration.
        FromSide,
        IntervalSide,
        ToSide,
        SwitchCalculator,
    };

    DateTimeView(Calculator& frame, QWidget* parent = nullptr);

    const DateCalculator& dateModel() const { return date_; }
    const TimeCalculator& timeModel() const { return time_; }
    bool timeShown() const { return timeShown_; }
    // The message of the last computation that was refused, if the last one was.
    const std::optional<std::u16string>& lastMessage() const { return lastMessage_; }

    // A keyboard key of the main window. True when the panel took it; shortcuts (Ctrl, Alt)
    // and keys without a meaning here are left to the window.
    bool takeKey(QKeyEvent* event);
    void command(Command command, char16_t digit = 0);
    // Moves the focus onto a field with the model's own arrows.
    void focusField(CalcField field);
    // The keypad's image: the skin's "DateTime".
    void setSkin(const SkinPixmaps& skin);

public Q_SLOTS:
    // Follows the date order of the preferences and shows the model again.
    void refresh();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyMetrics();
    void showMessage(const std::optional<std::u16string>& message);
    CalcField focus() const { return timeShown_ ? time_.focus() : date_.focus(); }

    Calculator& frame_;
    DateCalculator date_;
    TimeCalculator time_;
    bool timeShown_ = false;
    std::optional<std::u16string> lastMessage_;
    int fontPixels_ = 0;

    QVBoxLayout* rows_;
    QGridLayout* fieldsGrid_;
    KeypadView* keypad_;
    QLabel* title_;
    QPushButton* switchButton_;
    std::array<QLabel*, 3> captions_{};
    std::array<QLabel*, 3> fields_{};
    std::array<QPushButton*, 3> sideButtons_{};
};
