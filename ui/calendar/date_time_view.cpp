#include "date_time_view.h"

#include <QBoxLayout>
#include <QDialog>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <vector>

#include "ascii.h"
#include "preferences.h"
#include "keypad_view.h"
#include "skin_pixmaps.h"
#include "solar_date.h"
#include "tool_keypads.h"
#include "ui_text.h"
#include "panel_style.h"

namespace {

using Command = DateTimeView::Command;

using toolKeypads::DateTimeKey;

// What the skin's "DateTime" keys do in this panel.
Command commandOf(DateTimeKey key)
{
    switch (key) {
    case DateTimeKey::Digit: return Command::Digit;
    case DateTimeKey::Left: return Command::Left;
    case DateTimeKey::Right: return Command::Right;
    case DateTimeKey::Up: return Command::Up;
    case DateTimeKey::Down: return Command::Down;
    case DateTimeKey::Unit: return Command::Unit;
    case DateTimeKey::Now: return Command::Now;
    case DateTimeKey::Leap: return Command::Leap;
    case DateTimeKey::ClearCell: break;
    }
    return Command::ClearCell;
}

const toolKeypads::DateTimeFace* dateTimeFaceAt(int position)
{
    if (position < 0 || position >= static_cast<int>(toolKeypads::kDateTimeKeys.size()))
        return nullptr;
    return &toolKeypads::kDateTimeKeys[static_cast<std::size_t>(position)];
}

// The same colours as the other tool panels; the focused cell is drawn in the accent colour.
QString panelStyleSheet(int px)
{
    return QStringLiteral(
               "DateTimeView { background: @window; }"
               "QLabel { color: @label; font-size: %1px; }"
               "QLabel#title { color: @text; font-weight: bold; }"
               "QLabel[field=\"true\"] { background: @field; color: @text; border: 1px solid @line;"
               " border-radius: %2px; padding: 0px %2px; font-size: %1px; }"
               "QLabel[field=\"true\"][active=\"true\"] { border-color: @accent; background: @fieldFocus; }"
               "QPushButton { background: @button; color: @text; border: 1px solid @line;"
               " border-radius: %2px; padding: 0px %2px; font-size: %1px; }"
               "QPushButton:hover { border-color: @accent; }"
               "QPushButton:pressed { background: @accent; color: @accentText; }"
               "QPushButton[compute=\"true\"] { background: @accent; color: @accentText; font-weight: bold; }"
               "QPushButton[leap=\"true\"] { background: @accentShade; color: @accent; border-color: @accent; }"
               "QPushButton:disabled { color: @disabled; }"
               "QLabel[note=\"true\"] { color: @note; font-size: %3px; }")
        .arg(px)
        .arg(std::max(1, px / 6))
        .arg(std::max(11, px * 4 / 5));
}

// The message box keeps the panel's colours: light text on the dark panel, never the grey of the
// panel's captions on a grey dialog.
QString messageStyleSheet(int px)
{
    return QStringLiteral(
               "QDialog#dateTimeMessage { background: @window; border: 1px solid @accent; }"
               "QLabel { color: @text; font-size: %1px; background: transparent; }"
               "QPushButton { background: @accent; color: @accentText; border: 1px solid @accent;"
               " border-radius: %2px; padding: %2px %3px; font-size: %1px; font-weight: bold; }")
        .arg(px)
        .arg(std::max(1, px / 6))
        .arg(px);
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
            html += QStringLiteral("<span style=\"background:@accent; color:@accentText;\">%1</span>").arg(text);
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

DateTimeView::DateTimeView(const Preferences& preferences, QWidget* parent)
    : QWidget(parent), preferences_(preferences), date_(dateOrderOf(preferences.outputFormat))
{
    setObjectName(QStringLiteral("dateTimeWindow"));
    setAttribute(Qt::WA_StyledBackground);

    titleBox_ = new QWidget(this);
    title_ = new QLabel(titleBox_);
    title_->setObjectName(QStringLiteral("title"));
    switchButton_ = new QPushButton(titleBox_);
    switchButton_->setObjectName(QStringLiteral("switchCalculator"));
    switchButton_->setToolTip(tr("Switch between the date and the time calculator"));
    switchButton_->setFocusPolicy(Qt::NoFocus);
    connect(switchButton_, &QPushButton::clicked, this, [this] { command(Command::SwitchCalculator); });
    auto* titleRow = new QHBoxLayout(titleBox_);
    titleRow->setContentsMargins(0, 0, 0, 0);
    titleRow->addWidget(title_, 1);
    titleRow->addWidget(switchButton_);

    // Each field in a box of its own: its caption, the buttons of its form or unit and "=", its
    // cells, and for a date the note below them. arrangeFields() places them in one row or two.
    const std::array<std::u16string_view, 3> labels = {DateCalculator::kFromLabel, DateCalculator::kIntervalLabel,
                                                       DateCalculator::kToLabel};
    const std::array<Command, 3> sides = {Command::FromSide, Command::IntervalSide, Command::ToSide};
    const std::array<Command, 3> computes = {Command::ComputeFrom, Command::ComputeInterval, Command::ComputeTo};
    const std::array<Command, 3> leaps = {Command::FromLeap, Command::Leap, Command::ToLeap};
    const std::array<const char*, 3> names = {"from", "interval", "to"};
    for (std::size_t i = 0; i < 3; ++i) {
        fieldBoxes_[i] = new QWidget(this);
        QWidget* box = fieldBoxes_[i];
        fieldGrids_[i] = new QGridLayout(box);
        fieldGrids_[i]->setContentsMargins(0, 0, 0, 0);
        captions_[i] = new QLabel(toQString(labels[i]), box);
        sideButtons_[i] = new QPushButton(box);
        sideButtons_[i]->setObjectName(QStringLiteral("%1Side").arg(QLatin1String(names[i])));
        computeButtons_[i] = new QPushButton(QStringLiteral("="), box);
        computeButtons_[i]->setObjectName(QStringLiteral("%1Compute").arg(QLatin1String(names[i])));
        computeButtons_[i]->setProperty("compute", true);
        computeButtons_[i]->setToolTip(tr("Compute %1 from the other two fields").arg(toQString(labels[i])));
        fields_[i] = new QLabel(box);
        fields_[i]->setObjectName(QStringLiteral("%1Field").arg(QLatin1String(names[i])));
        fields_[i]->setProperty("field", true);
        fields_[i]->setTextFormat(Qt::RichText);
        fields_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // A click chooses the field to type into.
        fields_[i]->installEventFilter(this);
        const Command side = sides[i];
        const Command computeCommand = computes[i];
        connect(sideButtons_[i], &QPushButton::clicked, this, [this, side] { command(side); });
        connect(computeButtons_[i], &QPushButton::clicked, this, [this, computeCommand] { command(computeCommand); });
        std::vector<QPushButton*> buttons = {sideButtons_[i], computeButtons_[i]};
        if (i != 1) {  // an interval has no leap month and no note
            leapButtons_[i] = new QPushButton(tr("Leap"), box);
            leapButtons_[i]->setObjectName(QStringLiteral("%1Leap").arg(QLatin1String(names[i])));
            const Command leap = leaps[i];
            connect(leapButtons_[i], &QPushButton::clicked, this, [this, leap] { command(leap); });
            buttons.push_back(leapButtons_[i]);
            notes_[i] = new QLabel(box);
            notes_[i]->setObjectName(QStringLiteral("%1Note").arg(QLatin1String(names[i])));
            notes_[i]->setProperty("note", true);
            notes_[i]->setTextFormat(Qt::PlainText);
            notes_[i]->setWordWrap(true);
            notes_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            notes_[i]->hide();
            fields_[i]->setToolTip(tr("Dates are Gregorian also before 15 October 1582 (no Julian dates)"));
        }
        for (QPushButton* button : buttons)
            button->setFocusPolicy(Qt::NoFocus);
    }

    // The skin's "DateTime" keys. Typing stays with the main window, which hands the keys to
    // this panel; the keys act on release, as buttons do.
    keypad_ = new KeypadView(toolKeypads::kDateTimeGrid.columns, toolKeypads::kDateTimeGrid.rows, this);
    keypad_->setObjectName(QStringLiteral("dateTimeKeys"));
    keypad_->setHold(false, 0);
    keypad_->setAvailable([this](int position) {
        const toolKeypads::DateTimeFace* face = dateTimeFaceAt(position);
        return face != nullptr && !(timeShown_ && (face->key == DateTimeKey::Now || face->key == DateTimeKey::Leap));
    });
    keypad_->setTooltips([](int position) {
        const toolKeypads::DateTimeFace* face = dateTimeFaceAt(position);
        return face != nullptr && face->key == DateTimeKey::Leap
                   ? tr("The leap month of the focused lunar date, and back")
                   : QString();
    });
    connect(keypad_, &KeypadView::keyPressed, this, [this](int position, bool) {
        if (const toolKeypads::DateTimeFace* face = dateTimeFaceAt(position))
            command(commandOf(face->key), face->digit);
    });

    arrangeFields();
    refresh();
}

void DateTimeView::setBand(int top, int height)
{
    bandTop_ = std::max(0, top);
    bandHeight_ = std::max(0, height);
    placeChildren();
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
    if (ascii::isDigit(c)) {
        command(Command::Digit, c);
        return true;
    }
    if (c == u'l' || c == u'L') {
        command(Command::Leap);
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
        case Command::Now:  // durations have no "now" and no leap month
        case Command::FromLeap:
        case Command::ToLeap:
        case Command::Leap: break;
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
        case Command::FromLeap: date_.toggleFromLeap(); break;
        case Command::ToLeap: date_.toggleToLeap(); break;
        case Command::Leap:
            if (field == CalcField::From)
                date_.toggleFromLeap();
            else if (field == CalcField::To)
                date_.toggleToLeap();
            break;
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
    if (messageBox_)
        messageBox_->close();
    // A small dialog of its own rather than QMessageBox, which sizes itself for a desktop screen:
    // it fits the window, wrapping its text, and keeps the panel's colours.
    auto* box = new QDialog(this);
    box->setObjectName(QStringLiteral("dateTimeMessage"));
    box->setWindowTitle(toQString(timeShown_ ? TimeCalculator::kTitle : DateCalculator::kTitle));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    setThemedStyleSheet(box, messageStyleSheet(fontPixels_));
    auto* icon = new QLabel(box);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(fontPixels_ * 2));
    icon->setAlignment(Qt::AlignTop);
    auto* text = new QLabel(toQString(*message), box);
    text->setObjectName(QStringLiteral("dateTimeMessageText"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    auto* ok = new QPushButton(tr("OK"), box);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, box, &QDialog::accept);
    auto* grid = new QGridLayout(box);
    const int margin = std::max(6, fontPixels_ / 2);
    grid->setContentsMargins(margin, margin, margin, margin);
    grid->setSpacing(margin);
    grid->addWidget(icon, 0, 0);
    grid->addWidget(text, 0, 1);
    grid->addWidget(ok, 1, 0, 1, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    // As wide as the text wants, but never wider than the window less a margin on each side;
    // as tall as the wrapped text needs at that width. Measured with the dialog's own fonts.
    box->ensurePolished();
    const int available = std::max(120, window()->width() - 2 * margin);
    const int wanted = text->fontMetrics().horizontalAdvance(text->text()) + icon->sizeHint().width() + 4 * margin;
    const int width = std::min(available, wanted);
    box->setFixedWidth(width);
    grid->activate();
    box->setFixedHeight(grid->hasHeightForWidth() ? grid->totalHeightForWidth(width) : grid->totalSizeHint().height());
    messageBox_ = box;
    box->open();
}

void DateTimeView::setSkin(const SkinPixmaps& skin)
{
    keypad_->setImages(skin.image("DateTime"), QImage());
    placeChildren();
}

void DateTimeView::refresh()
{
    const DateOrder order = dateOrderOf(preferences_.outputFormat);
    if (order != date_.fromEntry().order())
        date_.setOrder(order);

    title_->setText(toQString(timeShown_ ? TimeCalculator::kTitle : DateCalculator::kTitle));
    switchButton_->setText(timeShown_ ? tr("Date") : tr("Time"));
    // Now and Leap are dimmed in the time calculator.
    keypad_->update();
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
        if (i != 1)
            showDateSide(i);
        fields_[i]->setText(html);
        if (fields_[i]->property("active").toBool() != active) {
            fields_[i]->setProperty("active", active);
            fields_[i]->style()->unpolish(fields_[i]);
            fields_[i]->style()->polish(fields_[i]);
        }
    }
    // A note shown or hidden changes the heights of the fields.
    placeChildren();
}

void DateTimeView::showDateSide(std::size_t index)
{
    const bool from = index == 0;
    const bool lunar = !timeShown_ && (from ? date_.fromIsLunar() : date_.toIsLunar());
    QPushButton* leap = leapButtons_[index];
    // One-row fields leave the leap month to the keypad's Leap key; the note marks it.
    leap->setVisible(lunar && !oneRowFields_);
    if (lunar) {
        const DateEntry& entry = from ? date_.fromEntry() : date_.toEntry();
        const int leapMonth = from ? date_.fromLeapMonth() : date_.toLeapMonth();
        leap->setEnabled(leapMonth != 0);
        leap->setToolTip(leapMonth == 0
                             ? tr("The lunar year %1 has no leap month").arg(entry.value().year())
                             : tr("The lunar year %1 has a leap month %2 (Nhuan): switch between it and month %2")
                                   .arg(entry.value().year())
                                   .arg(leapMonth));
        if (leap->property("leap").toBool() != entry.leapMonth()) {
            leap->setProperty("leap", entry.leapMonth());
            leap->style()->unpolish(leap);
            leap->style()->polish(leap);
        }
    }
    const QString note = timeShown_ ? QString() : toQString(from ? date_.fromNote() : date_.toNote());
    notes_[index]->setText(note);
    notes_[index]->setVisible(!note.isEmpty());
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
    QWidget::resizeEvent(event);
    placeChildren();
}

bool DateTimeView::split() const
{
    return bandHeight_ > 0 && bandTop_ > 0;
}

bool DateTimeView::arrangeFields()
{
    // Wide (the split of a landscape window): caption, cells, form and "=" in one row, the note
    // below the cells. Narrow: caption and buttons above the cells, the note below them.
    const bool oneRow = split() && width() > height();
    if (oneRow == oneRowFields_ && fieldGrids_[0]->count() > 0)
        return false;
    oneRowFields_ = oneRow;
    for (std::size_t i = 0; i < 3; ++i) {
        QGridLayout* grid = fieldGrids_[i];
        std::vector<QWidget*> parts = {captions_[i], sideButtons_[i], computeButtons_[i], fields_[i]};
        if (leapButtons_[i] != nullptr)
            parts.insert(parts.end(), {leapButtons_[i], notes_[i]});
        for (QWidget* part : parts)
            grid->removeWidget(part);
        for (int column = 0; column < 5; ++column)
            grid->setColumnStretch(column, 0);
        if (oneRow) {
            grid->addWidget(captions_[i], 0, 0);
            grid->addWidget(fields_[i], 0, 1);
            grid->addWidget(sideButtons_[i], 0, 3);
            grid->addWidget(computeButtons_[i], 0, 4);
            if (leapButtons_[i] != nullptr) {
                grid->addWidget(leapButtons_[i], 0, 2);  // hidden: the keypad's Leap key serves
                grid->addWidget(notes_[i], 1, 1, 1, 4);
            }
            grid->setColumnStretch(1, 1);
        } else {
            grid->addWidget(captions_[i], 0, 0);
            grid->addWidget(sideButtons_[i], 0, 2);
            grid->addWidget(computeButtons_[i], 0, 3);
            grid->addWidget(fields_[i], 1, 0, 1, 4);
            if (leapButtons_[i] != nullptr) {
                grid->addWidget(leapButtons_[i], 0, 1);
                grid->addWidget(notes_[i], 2, 0, 1, 4);
            }
            grid->setColumnStretch(0, 1);
        }
    }
    return true;
}

int DateTimeView::fontPixelsFor() const
{
    // Each constraint in units of the font size: a row of buttons or cells is about 1.7 of it,
    // a note (four fifths of the font) about 1.2; a date's 23 characters take about 14.
    const int w = width();
    if (!split())
        return std::max(10, std::min(height() / 21, w / 16));
    const int above = bandTop_;
    const int below = height() - bandTop_ - bandHeight_;
    if (oneRowFields_) {
        // Above: From, its note, Interval, To, its note. Below: the title and three rows of keys.
        // Across: caption, cells, form and "=" in one row.
        return std::max(10, std::min({above * 10 / 72, below * 10 / 76, w * 10 / 245}));
    }
    // Above: the title, From's caption, cells and note. Below: Interval, To with its note and
    // three rows of keys.
    return std::max(10, std::min({above * 10 / 58, below * 10 / 132, w / 16}));
}

void DateTimeView::placeChildren()
{
    if (arrangeFields()) {
        showDateSide(0);
        showDateSide(2);
    }
    const int px = fontPixelsFor();
    if (px != fontPixels_) {
        fontPixels_ = px;
        setThemedStyleSheet(this, panelStyleSheet(px));
        for (QGridLayout* grid : fieldGrids_) {
            grid->setHorizontalSpacing(std::max(1, px / 5));
            grid->setVerticalSpacing(std::max(1, px / 8));
        }
    }
    // The three fields' captions and buttons as wide as the widest, so that their cells line up.
    for (const auto& parts : {std::array<QWidget*, 3>{captions_[0], captions_[1], captions_[2]},
                              std::array<QWidget*, 3>{sideButtons_[0], sideButtons_[1], sideButtons_[2]}}) {
        int widest = 0;
        for (QWidget* part : parts) {
            part->setMinimumWidth(0);
            widest = std::max(widest, part->sizeHint().width());
        }
        for (QWidget* part : parts)
            part->setMinimumWidth(widest);
    }
    const int margin = std::max(2, fontPixels_ / 3);
    const int spacing = std::max(1, fontPixels_ / 4);
    const int w = width() - 2 * margin;
    // Stacks the widgets from y down, each as tall as it asks for at the width.
    const auto stack = [&](int y, std::initializer_list<QWidget*> widgets) {
        for (QWidget* widget : widgets) {
            const int h = widget->hasHeightForWidth() ? widget->heightForWidth(w) : widget->sizeHint().height();
            widget->setGeometry(margin, y, w, h);
            y += h + spacing;
        }
        return y;
    };
    int keysTop = 0;
    if (!split()) {
        keysTop = stack(margin, {titleBox_, fieldBoxes_[0], fieldBoxes_[1], fieldBoxes_[2]});
    } else if (oneRowFields_) {
        stack(margin, {fieldBoxes_[0], fieldBoxes_[1], fieldBoxes_[2]});
        keysTop = stack(bandTop_ + bandHeight_ + margin, {titleBox_});
    } else {
        stack(margin, {titleBox_, fieldBoxes_[0]});
        keysTop = stack(bandTop_ + bandHeight_ + margin, {fieldBoxes_[1], fieldBoxes_[2]});
    }
    // The keys take the rest, at the bottom, but no taller than a little over their image's
    // proportions: stretched further, their labels would look drawn out.
    int keysHeight = std::max(0, height() - margin - keysTop);
    const QSize drawn = keypad_->imageSize();
    if (!drawn.isEmpty())
        keysHeight = std::min(keysHeight, w * drawn.height() * 125 / (drawn.width() * 100));
    keypad_->setGeometry(margin, height() - margin - keysHeight, w, keysHeight);
}
