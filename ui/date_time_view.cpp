#include "date_time_view.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

#include "calculator.h"
#include "keypad_view.h"
#include "skin_pixmaps.h"
#include "tool_keypads.h"
#include "solar_date.h"
#include "ui_text.h"

namespace {

using Command = DateTimeView::Command;

// What the skin's "DateTime" keys do in this panel.
Command commandOf(toolKeypads::DateTimeKey key)
{
    using toolKeypads::DateTimeKey;
    switch (key) {
    case DateTimeKey::Digit: return Command::Digit;
    case DateTimeKey::Left: return Command::Left;
    case DateTimeKey::Right: return Command::Right;
    case DateTimeKey::Up: return Command::Up;
    case DateTimeKey::Down: return Command::Down;
    case DateTimeKey::Unit: return Command::Unit;
    case DateTimeKey::Now: return Command::Now;
    case DateTimeKey::ClearCell: break;
    }
    return Command::ClearCell;
}

// The same colours as the other tool panels; the focused cell is drawn in the accent colour.
QString panelStyleSheet(int px)
{
    return QStringLiteral(
               "DateTimeView { background: #1B222C; }"
               "QLabel { color: #AEB9C4; font-size: %1px; }"
               "QLabel#title { color: #E8EEF2; font-weight: bold; }"
               "QLabel[field=\"true\"] { background: #1F2731; color: #E8EEF2; border: 1px solid #3A4654;"
               " border-radius: %2px; padding: 0px %2px; font-size: %1px; }"
               "QLabel[field=\"true\"][active=\"true\"] { border-color: #F29B38; background: #26303C; }"
               "QPushButton { background: #2A3440; color: #E8EEF2; border: 1px solid #3A4654;"
               " border-radius: %2px; padding: 0px %2px; font-size: %1px; }"
               "QPushButton:hover { border-color: #F29B38; }"
               "QPushButton:pressed { background: #F29B38; color: #141A21; }"
               "QPushButton[compute=\"true\"] { background: #F29B38; color: #141A21; font-weight: bold; }")
        .arg(px)
        .arg(std::max(1, px / 6));
}

// The cells as one line of rich text, the current cell marked when the field has the focus.
template <typename Cells>
QString cellsHtml(const Cells& cells, std::optional<std::size_t> current)
{
    QString html;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        QString text = toQString(cells[i]).toHtmlEscaped();
        if (current && *current == i) {
            // A cleared cell is empty: a blank keeps the mark visible.
            if (text.isEmpty())
                text = QStringLiteral("&nbsp;");
            html += QStringLiteral("<span style=\"background:#F29B38; color:#141A21;\">%1</span>").arg(text);
        } else {
            html += text;
        }
        // A duration's unit letters end its groups: a space keeps "1d 2h" readable.
        if (cells.size() == DurationEntry::kCellCount && i % 2 == 1 && i + 1 < cells.size())
            html += QLatin1Char(' ');
    }
    return html;
}

constexpr std::array<CalcField, 3> kFields = {CalcField::From, CalcField::Interval, CalcField::To};

}  // namespace

DateTimeView::DateTimeView(Calculator& frame, QWidget* parent)
    : QWidget(parent), frame_(frame), date_(dateOrderOf(frame.preferences().outputFormat))
{
    setObjectName(QStringLiteral("dateTimeWindow"));
    setAttribute(Qt::WA_StyledBackground);

    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("title"));
    switchButton_ = new QPushButton(this);
    switchButton_->setObjectName(QStringLiteral("switchCalculator"));
    switchButton_->setToolTip(tr("Switch between the date and the time calculator"));
    connect(switchButton_, &QPushButton::clicked, this, [this] { command(Command::SwitchCalculator); });
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(title_, 1);
    titleRow->addWidget(switchButton_);

    // Each field: its caption, the button of its form or unit and "=" on one row, its cells
    // below across the whole width, so that a date's thirteen cells fit a narrow window.
    fieldsGrid_ = new QGridLayout;
    const std::array<std::u16string_view, 3> labels = {DateCalculator::kFromLabel, DateCalculator::kIntervalLabel,
                                                       DateCalculator::kToLabel};
    const std::array<Command, 3> sides = {Command::FromSide, Command::IntervalSide, Command::ToSide};
    const std::array<Command, 3> computes = {Command::ComputeFrom, Command::ComputeInterval, Command::ComputeTo};
    const std::array<const char*, 3> names = {"from", "interval", "to"};
    for (std::size_t i = 0; i < 3; ++i) {
        const int row = static_cast<int>(i) * 2;
        captions_[i] = new QLabel(toQString(labels[i]), this);
        sideButtons_[i] = new QPushButton(this);
        sideButtons_[i]->setObjectName(QStringLiteral("%1Side").arg(QLatin1String(names[i])));
        auto* compute = new QPushButton(QStringLiteral("="), this);
        compute->setObjectName(QStringLiteral("%1Compute").arg(QLatin1String(names[i])));
        compute->setProperty("compute", true);
        compute->setToolTip(tr("Compute %1 from the other two fields").arg(toQString(labels[i])));
        fields_[i] = new QLabel(this);
        fields_[i]->setObjectName(QStringLiteral("%1Field").arg(QLatin1String(names[i])));
        fields_[i]->setProperty("field", true);
        fields_[i]->setTextFormat(Qt::RichText);
        fields_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // A click chooses the field to type into.
        fields_[i]->installEventFilter(this);
        for (QPushButton* button : {sideButtons_[i], compute}) {
            button->setFocusPolicy(Qt::NoFocus);
            button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
        }
        const Command side = sides[i];
        const Command computeCommand = computes[i];
        connect(sideButtons_[i], &QPushButton::clicked, this, [this, side] { command(side); });
        connect(compute, &QPushButton::clicked, this, [this, computeCommand] { command(computeCommand); });
        fieldsGrid_->addWidget(captions_[i], row, 0);
        fieldsGrid_->addWidget(sideButtons_[i], row, 1);
        fieldsGrid_->addWidget(compute, row, 2);
        fieldsGrid_->addWidget(fields_[i], row + 1, 0, 1, 3);
    }
    fieldsGrid_->setColumnStretch(0, 1);

    // The skin's "DateTime" keypad; typing stays with the main window, which hands the keys
    // to this panel.
    keypad_ = new KeypadView(toolKeypads::kDateTimeGrid.columns, toolKeypads::kDateTimeGrid.rows, this);
    keypad_->setObjectName(QStringLiteral("dateTimeKeys"));
    keypad_->setHold(false, 0);
    // The keys take the height the fields leave, as the fields need theirs to be read.
    keypad_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    connect(keypad_, &KeypadView::keyPressed, this, [this](int position, bool) {
        if (position < 0 || position >= static_cast<int>(toolKeypads::kDateTimeKeys.size()))
            return;
        const toolKeypads::DateTimeFace& key = toolKeypads::kDateTimeKeys[static_cast<std::size_t>(position)];
        command(commandOf(key.key), key.digit);
    });

    rows_ = new QVBoxLayout(this);
    rows_->addLayout(titleRow);
    rows_->addLayout(fieldsGrid_);
    rows_->addWidget(keypad_, 1);

    applyMetrics();
    refresh();
}

bool DateTimeView::takeKey(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    switch (event->key()) {
    case Qt::Key_Left: command(Command::Left); return true;
    case Qt::Key_Right: command(Command::Right); return true;
    case Qt::Key_Up: command(Command::Up); return true;
    case Qt::Key_Down: command(Command::Down); return true;
    case Qt::Key_Backspace:
    case Qt::Key_Delete: command(Command::ClearCell); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter computes the focused field; with no focus, the interval.
        switch (focus()) {
        case CalcField::From: command(Command::ComputeFrom); break;
        case CalcField::To: command(Command::ComputeTo); break;
        default: command(Command::ComputeInterval); break;
        }
        return true;
    default: break;
    }
    if (event->text().size() != 1)
        return false;
    const char16_t c = event->text().at(0).unicode();
    if (c >= u'0' && c <= u'9') {
        command(Command::Digit, c);
        return true;
    }
    return false;
}

void DateTimeView::command(Command command, char16_t digit)
{
    lastMessage_.reset();
    const CalcField field = focus();
    if (timeShown_) {
        switch (command) {
        case Command::Digit: time_.typeDigit(digit); break;
        case Command::ClearCell: time_.clearCell(); break;
        case Command::Left: time_.arrow(Arrow::Left); break;
        case Command::Right: time_.arrow(Arrow::Right); break;
        case Command::Up: time_.arrow(Arrow::Up); break;
        case Command::Down: time_.arrow(Arrow::Down); break;
        case Command::ComputeFrom: showMessage(time_.computeFrom()); break;
        case Command::ComputeInterval: showMessage(time_.computeInterval()); break;
        case Command::ComputeTo: time_.computeTo(); break;
        case Command::Unit:
            // The unit of the focused field; with no focus, the interval's.
            if (field == CalcField::From)
                time_.fromUnit();
            else if (field == CalcField::To)
                time_.toUnit();
            else
                time_.intervalUnit();
            break;
        case Command::FromSide: time_.fromUnit(); break;
        case Command::IntervalSide: time_.intervalUnit(); break;
        case Command::ToSide: time_.toUnit(); break;
        case Command::Now: break;  // durations have no "now"
        case Command::SwitchCalculator: timeShown_ = false; break;
        }
    } else {
        switch (command) {
        case Command::Digit: date_.typeDigit(digit); break;
        case Command::ClearCell: date_.clearCell(); break;
        case Command::Left: date_.arrow(Arrow::Left); break;
        case Command::Right: date_.arrow(Arrow::Right); break;
        case Command::Up: date_.arrow(Arrow::Up); break;
        case Command::Down: date_.arrow(Arrow::Down); break;
        case Command::ComputeFrom: date_.computeFrom(); break;
        case Command::ComputeInterval: showMessage(date_.computeInterval()); break;
        case Command::ComputeTo: date_.computeTo(); break;
        case Command::Unit:
        case Command::IntervalSide: date_.intervalUnit(); break;
        case Command::Now:
            if (field == CalcField::From)
                date_.fromNow();
            else if (field == CalcField::To)
                date_.toNow();
            break;
        case Command::FromSide: date_.toggleFromLunar(); break;
        case Command::ToSide: date_.toggleToLunar(); break;
        case Command::SwitchCalculator: timeShown_ = true; break;
        }
    }
    refresh();
}

void DateTimeView::focusField(CalcField field)
{
    if (field == CalcField::None)
        return;
    // Up and Down step one field and start at its first cell; at most two steps are needed.
    for (int step = 0; step < 4 && focus() != field; ++step) {
        const bool below = static_cast<int>(focus()) < static_cast<int>(field);
        command(below ? Command::Down : Command::Up);
    }
}

void DateTimeView::showMessage(const std::optional<std::u16string>& message)
{
    lastMessage_ = message;
    if (!message)
        return;
    // Window-modal and not waited for: the panel keeps drawing, and the box closes itself.
    auto* box = new QMessageBox(QMessageBox::Warning, toQString(timeShown_ ? TimeCalculator::kTitle : DateCalculator::kTitle),
                                toQString(*message), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("dateTimeMessage"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void DateTimeView::setSkin(const SkinPixmaps& skin)
{
    keypad_->setImages(skin.image("DateTime"), QImage());
}

void DateTimeView::refresh()
{
    const DateOrder order = dateOrderOf(frame_.preferences().outputFormat);
    if (order != date_.fromEntry().order())
        date_.setOrder(order);

    title_->setText(toQString(timeShown_ ? TimeCalculator::kTitle : DateCalculator::kTitle));
    switchButton_->setText(timeShown_ ? tr("Date") : tr("Time"));
    const CalcField focused = focus();
    for (std::size_t i = 0; i < 3; ++i) {
        const bool active = focused == kFields[i];
        std::optional<std::size_t> current;
        QString html;
        if (timeShown_) {
            const DurationEntry& entry = i == 0 ? time_.fromEntry() : i == 1 ? time_.intervalEntry() : time_.toEntry();
            if (active)
                current = DurationEntry::cellOf(entry.currentPart());
            html = cellsHtml(entry.cells(), current);
            sideButtons_[i]->setText(tr("Unit"));
        } else {
            if (active)
                current = date_.currentCell();
            if (i == 1) {
                html = cellsHtml(date_.intervalEntry().cells(), current);
                sideButtons_[i]->setText(tr("Unit"));
            } else {
                const bool lunar = i == 0 ? date_.fromIsLunar() : date_.toIsLunar();
                html = cellsHtml(i == 0 ? date_.fromCells() : date_.toCells(), current);
                sideButtons_[i]->setText(lunar ? tr("Lunar") : tr("Solar"));
                sideButtons_[i]->setToolTip(tr("Show this date in the other calendar"));
            }
        }
        fields_[i]->setText(html);
        if (fields_[i]->property("active").toBool() != active) {
            fields_[i]->setProperty("active", active);
            fields_[i]->style()->unpolish(fields_[i]);
            fields_[i]->style()->polish(fields_[i]);
        }
    }
}

bool DateTimeView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto it = std::ranges::find(fields_, watched);
        if (it != fields_.end()) {
            focusField(kFields[static_cast<std::size_t>(it - fields_.begin())]);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DateTimeView::resizeEvent(QResizeEvent* event)
{
    applyMetrics();
    QWidget::resizeEvent(event);
}

void DateTimeView::applyMetrics()
{
    // Twelve rows share the height, the keypad's three rows among them, and the keypad's
    // labels are drawn in its image: the fields leave it room to be read. A date's 23
    // characters must fit the width.
    const int px = std::max(8, std::min(height() / 17, width() / 15));
    if (px == fontPixels_)
        return;
    fontPixels_ = px;
    setStyleSheet(panelStyleSheet(px));
    const int margin = std::max(2, px / 3);
    const int spacing = std::max(1, px / 5);
    rows_->setContentsMargins(margin, margin, margin, margin);
    rows_->setSpacing(spacing);
    fieldsGrid_->setHorizontalSpacing(spacing);
    fieldsGrid_->setVerticalSpacing(spacing);
}
