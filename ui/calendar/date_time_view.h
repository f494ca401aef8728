#pragma once

#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>
#include <string>

#include "date_calculator.h"
#include "time_calculator.h"

struct Preferences;
class KeypadView;
class QDialog;
class QGridLayout;
class QKeyEvent;
class QLabel;
class QPushButton;
class SkinPixmaps;

// The "Date - Time" panel, shown where the keypads are: the date calculator or the time
// calculator, one at a time. Each shows From, Interval and To with their cells, the focused
// cell marked, and the skin's "DateTime" keys. Every key goes to the DateCalculator or
// TimeCalculator model.
class DateTimeView : public QWidget {
    Q_OBJECT
public:
    // The panel's commands, as its buttons, its keys and the keyboard send them.
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
        // The leap month of a lunar From or To; Leap is the focused field's.
        FromLeap,
        ToLeap,
        Leap,
        SwitchCalculator,
    };

    DateTimeView(const Preferences& preferences, QWidget* parent = nullptr);

    const DateCalculator& dateModel() const { return date_; }
    const TimeCalculator& timeModel() const { return time_; }
    bool timeShown() const { return timeShown_; }
    // The message of the last computation that was refused, if the last one was.
    const std::optional<std::u16string>& lastMessage() const { return lastMessage_; }
    // The dialog showing that message while it is open.
    QDialog* messageBox() const { return messageBox_; }

    // A keyboard key of the main window. True when the panel took it; shortcuts (Ctrl, Alt)
    // and keys without a meaning here are left to the window.
    bool takeKey(QKeyEvent* event);
    void command(Command command, char16_t digit = 0);
    // Moves the focus onto a field with the model's own arrows.
    void focusField(CalcField field);

    // In a landscape or square window the panel spans the window except the category bar at
    // rows [top, top + height): the fields above the bar, the keys below it. Height 0 (portrait):
    // the panel is its own area, fields above keys.
    void setBand(int top, int height);
    // The keys' image: the skin's "DateTime".
    void setSkin(const SkinPixmaps& skin);
    KeypadView* keypad() const { return keypad_; }

public Q_SLOTS:
    // Follows the date order of the preferences and shows the model again.
    void refresh();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool split() const;
    // True when the fields changed between one row and two.
    bool arrangeFields();
    int fontPixelsFor() const;
    void placeChildren();
    void showMessage(const std::optional<std::u16string>& message);
    CalcField focus() const { return timeShown_ ? time_.focus() : date_.focus(); }
    void showDateSide(std::size_t index);

    const Preferences& preferences_;
    DateCalculator date_;
    TimeCalculator time_;
    bool timeShown_ = false;
    std::optional<std::u16string> lastMessage_;
    QPointer<QDialog> messageBox_;
    int fontPixels_ = 0;

    int bandTop_ = 0;
    int bandHeight_ = 0;
    bool oneRowFields_ = false;

    QWidget* titleBox_;
    QLabel* title_;
    QPushButton* switchButton_;
    std::array<QWidget*, 3> fieldBoxes_{};
    std::array<QGridLayout*, 3> fieldGrids_{};
    std::array<QLabel*, 3> captions_{};
    std::array<QLabel*, 3> fields_{};
    std::array<QPushButton*, 3> sideButtons_{};
    std::array<QPushButton*, 3> computeButtons_{};
    KeypadView* keypad_;
    // The leap month button of From and To (none for Interval), shown for a lunar date.
    std::array<QPushButton*, 3> leapButtons_{};
    // Below a date's cells: its lunar year name, leap marker and solar term, and the note on
    // dates before the Gregorian calendar; hidden when there is nothing to say.
    std::array<QLabel*, 3> notes_{};
};
