#include "tip_calculator_view.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

#include "ascii.h"
#include "preferences.h"
#include "result_format.h"
#include "ui_text.h"
#include "panel_style.h"

namespace {

// The on-panel keypad: the label of each key and the character code that it sends.
struct TipKey {
    const char16_t* label;
    char16_t code;
    int row;
    int column;
    int columnSpan;
};
constexpr TipKey kTipKeys[] = {
    {u"7", u'7', 0, 0, 1},
    {u"8", u'8', 0, 1, 1},
    {u"9", u'9', 0, 2, 1},
    {u"\u2190", TipCalculator::kBackspace, 0, 3, 1},
    {u"4", u'4', 1, 0, 1},
    {u"5", u'5', 1, 1, 1},
    {u"6", u'6', 1, 2, 1},
    {u"C", TipCalculator::kClearKeys[1], 1, 3, 1},
    {u"1", u'1', 2, 0, 1},
    {u"2", u'2', 2, 1, 1},
    {u"3", u'3', 2, 2, 1},
    {u"Next", TipCalculator::kTab, 2, 3, 1},
    {u"0", u'0', 3, 0, 1},
    {u".", TipCalculator::kPoint, 3, 1, 1},
    {u"Calculate", TipCalculator::kEnter, 3, 2, 2},
};

// The macro panel's colours, so that the tools read as one window; the active field is
// outlined in the accent colour.
QString panelStyleSheet(int px)
{
    return QStringLiteral(
               "TipCalculatorView { background: @window; }"
               "QLabel { color: @label; font-size: %1px; }"
               "QLabel[field=\"true\"] { background: @field; color: @text; border: 1px solid @line;"
               " border-radius: %2px; padding: %2px %3px; font-size: %1px; }"
               "QLabel[field=\"true\"][active=\"true\"] { border: 2px solid @accent; background: @fieldFocus; }"
               "QLabel[result=\"true\"] { background: @sunken; color: @accent; font-weight: bold;"
               " padding: %2px %3px; font-size: %1px; }"
               "QPushButton { background: @button; color: @text; border: 1px solid @line;"
               " border-radius: %2px; padding: %2px; font-size: %1px; }"
               "QPushButton:hover { border-color: @accent; }"
               "QPushButton:pressed { background: @accent; color: @accentText; }"
               "QPushButton#calculate { background: @accent; color: @accentText; font-weight: bold; }")
        .arg(px)
        .arg(std::max(1, px / 6))
        .arg(std::max(2, px / 3));
}

}  // namespace

TipCalculatorView::TipCalculatorView(const Preferences& preferences, QWidget* parent)
    : QWidget(parent), preferences_(preferences)
{
    setAttribute(Qt::WA_StyledBackground);

    fieldsGrid_ = new QGridLayout;
    for (std::size_t i = 0; i < TipCalculator::kFieldCount; ++i) {
        const int row = static_cast<int>(i);
        captions_[i] = new QLabel(toQString(TipCalculator::kFieldLabels[i]), this);
        fields_[i] = new QLabel(this);
        fields_[i]->setObjectName(QStringLiteral("field%1").arg(i));
        fields_[i]->setProperty("field", true);
        fields_[i]->setTextFormat(Qt::PlainText);
        fields_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        fields_[i]->setToolTip(tr("Click to type into this field; Tab moves to the next"));
        // A click chooses the field to type into.
        fields_[i]->installEventFilter(this);
        fieldsGrid_->addWidget(captions_[i], row, 0);
        fieldsGrid_->addWidget(fields_[i], row, 1);
    }
    tipLine_ = new QLabel(this);
    totalLine_ = new QLabel(this);
    tipLine_->setObjectName(QStringLiteral("tipLine"));
    totalLine_->setObjectName(QStringLiteral("totalLine"));
    for (QLabel* line : {tipLine_, totalLine_}) {
        line->setProperty("result", true);
        // Plain text keeps the two blanks of the tip line's label.
        line->setTextFormat(Qt::PlainText);
    }
    fieldsGrid_->addWidget(tipLine_, 3, 0, 1, 2);
    fieldsGrid_->addWidget(totalLine_, 4, 0, 1, 2);
    fieldsGrid_->setColumnStretch(1, 1);

    keysGrid_ = new QGridLayout;
    for (const TipKey& key : kTipKeys) {
        auto* button = new QPushButton(toQString(key.label), this);
        // Typing stays with the main window, which hands the keys to this panel.
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        if (key.code == TipCalculator::kEnter)
            button->setObjectName(QStringLiteral("calculate"));
        const char16_t code = key.code;
        connect(button, &QPushButton::clicked, this, [this, code] { pressKey(code); });
        keysGrid_->addWidget(button, key.row, key.column, 1, key.columnSpan);
    }
    for (int row = 0; row < 4; ++row)
        keysGrid_->setRowStretch(row, 1);
    for (int column = 0; column < 4; ++column)
        keysGrid_->setColumnStretch(column, 1);

    columns_ = new QBoxLayout(QBoxLayout::TopToBottom, this);
    columns_->addLayout(fieldsGrid_);
    columns_->addLayout(keysGrid_, 1);

    applyMetrics();
    refresh();
}

bool TipCalculatorView::takeKey(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    char16_t code = 0;
    switch (event->key()) {
    case Qt::Key_Backspace: code = TipCalculator::kBackspace; break;
    case Qt::Key_Tab: code = TipCalculator::kTab; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: code = TipCalculator::kEnter; break;
    case Qt::Key_Escape: code = TipCalculator::kEscape; break;
    default:
        if (event->text().size() != 1)
            return false;
        code = event->text().at(0).unicode();
    }
    if (model_.handleKey(code)) {
        refresh();
        return true;
    }
    // A key that the model knows but that changed nothing (a digit into a full field, a bill
    // that cannot be split) is still the panel's; other letters go on to the window.
    const char16_t mapped = TipCalculator::mapKey(code);
    return ascii::isDigit(mapped) || mapped == TipCalculator::kPoint || code == TipCalculator::kBackspace ||
           code == TipCalculator::kEscape ||
           std::ranges::find(TipCalculator::kCalculateKeys, code) != TipCalculator::kCalculateKeys.end();
}

void TipCalculatorView::pressKey(char16_t code)
{
    model_.handleKey(code);
    refresh();
}

void TipCalculatorView::refresh()
{
    const OutputFormat format = preferences_.outputFormat;
    // A new format resets the results, so it is only applied when it changed.
    if (format != model_.outputFormat())
        model_.setOutputFormat(format);
    for (std::size_t i = 0; i < TipCalculator::kFieldCount; ++i) {
        fields_[i]->setText(displayString(model_.fieldText(i)));
        const bool active = i == model_.activeField();
        if (fields_[i]->property("active").toBool() != active) {
            fields_[i]->setProperty("active", active);
            fields_[i]->style()->unpolish(fields_[i]);
            fields_[i]->style()->polish(fields_[i]);
        }
    }
    tipLine_->setText(displayString(model_.tipLine()));
    totalLine_->setText(displayString(model_.totalLine()));
}

bool TipCalculatorView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto it = std::ranges::find(fields_, watched);
        if (it != fields_.end()) {
            // The model moves between fields only with Tab.
            const auto field = static_cast<std::size_t>(it - fields_.begin());
            while (model_.activeField() != field)
                model_.handleKey(TipCalculator::kTab);
            refresh();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TipCalculatorView::resizeEvent(QResizeEvent* event)
{
    applyMetrics();
    QWidget::resizeEvent(event);
}

void TipCalculatorView::applyMetrics()
{
    // A wide area (landscape) puts the keypad beside the fields; a tall one below them. The
    // font follows the height that each row gets, and the width that the longest line needs.
    const bool wide = width() * 2 >= height() * 3;
    const int px = std::max(8, wide ? std::min(height() / 10, width() / 30) : std::min(height() / 17, width() / 18));
    if (px == fontPixels_ && wide == wide_)
        return;
    fontPixels_ = px;
    wide_ = wide;
    setThemedStyleSheet(this, panelStyleSheet(px));
    columns_->setDirection(wide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    columns_->setStretch(0, wide ? 3 : 0);
    columns_->setStretch(1, wide ? 2 : 1);
    const int margin = std::max(3, px / 2);
    const int spacing = std::max(2, px / 3);
    columns_->setContentsMargins(margin, margin, margin, margin);
    columns_->setSpacing(margin);
    for (QGridLayout* grid : {fieldsGrid_, keysGrid_}) {
        grid->setHorizontalSpacing(spacing);
        grid->setVerticalSpacing(spacing);
    }
}
