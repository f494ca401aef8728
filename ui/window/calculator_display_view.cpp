#include "calculator_display_view.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "calculator_display.h"
#include "display_indicators.h"
#include "key_codes.h"
#include "ui_text.h"

namespace {

const QColor kBackground(0x1B, 0x22, 0x2C);
const QColor kText(0xE8, 0xEE, 0xF2);
const QColor kDimText(0x7D, 0x8B, 0x99);
const QColor kCurrentLine(0x26, 0x31, 0x3E);
const QColor kIndicator(0xF2, 0x9B, 0x38);
const QColor kCursor(0x4F, 0xC3, 0xF7);

QString indicatorTooltip(int code)
{
    switch (code) {
    case KeyCode::kShift: return QObject::tr("Click: shift off");
    case KeyCode::kAngleCycle: return QObject::tr("Click: next angle unit (DEG, RAD, GRA)");
    case KeyCode::kFormatCycle: return QObject::tr("Click: next display format (NORM, FIX, SCI)");
    case KeyCode::kRadixCycle: return QObject::tr("Click: next radix (BIN, OCT, DEC, HEX)");
    case KeyCode::kWordSizeCycle: return QObject::tr("Click: next word size");
    case KeyCode::kNextMemory: return QObject::tr("Click: next memory");
    default: return {};
    }
}

}  // namespace

CalculatorDisplayView::CalculatorDisplayView(const CalculatorDisplay& display, QWidget* parent)
    : QWidget(parent), display_(display)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

// Everything grows with the display area: the indicator row, five lines and the result are 98
// units tall, a unit being one pixel at the smallest screen; a narrow area caps the growth so
// that a line still holds about as many characters as on the smallest screen.
int CalculatorDisplayView::units(double count) const
{
    const double unit = qMax(0.8, qMin(height() / 98.0, width() / 240.0));
    return qMax(1, qRound(count * unit));
}

void CalculatorDisplayView::setTypedName(const QString& name)
{
    if (name == typedName_)
        return;
    typedName_ = name;
    update();
}

QFont CalculatorDisplayView::indicatorFont() const
{
    QFont small = font();
    small.setPixelSize(units(8));
    small.setBold(true);
    return small;
}

std::vector<QRect> CalculatorDisplayView::indicatorRects() const
{
    const QFontMetrics metrics(indicatorFont());
    const int margin = units(4);
    const int gap = metrics.horizontalAdvance(QStringLiteral("  "));
    const int height = units(11);
    std::vector<QRect> rects;
    int x = margin;
    for (const DisplayIndicator& indicator : displayIndicators(display_, category_)) {
        const int width = metrics.horizontalAdvance(toQString(indicator.text));
        rects.emplace_back(x, 0, width, height);
        x += width + gap;
    }
    return rects;
}

int CalculatorDisplayView::indicatorAt(QPoint point) const
{
    const std::vector<QRect> rects = indicatorRects();
    const int gap = QFontMetrics(indicatorFont()).horizontalAdvance(QStringLiteral(" "));
    for (std::size_t i = 0; i < rects.size(); ++i) {
        if (rects[i].adjusted(-gap, 0, gap, 0).contains(point))
            return static_cast<int>(i);
    }
    return -1;
}

void CalculatorDisplayView::mousePressEvent(QMouseEvent* event)
{
    const int index = indicatorAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0) {
        const int code = displayIndicators(display_, category_)[static_cast<std::size_t>(index)].clickCode;
        if (code >= 0) {
            Q_EMIT indicatorClicked(code);
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

void CalculatorDisplayView::mouseMoveEvent(QMouseEvent* event)
{
    const int index = indicatorAt(event->position().toPoint());
    const bool clickable =
        index >= 0 && displayIndicators(display_, category_)[static_cast<std::size_t>(index)].clickCode >= 0;
    setCursor(clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

bool CalculatorDisplayView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int index = indicatorAt(help->pos());
        const QString text =
            index >= 0
                ? indicatorTooltip(displayIndicators(display_, category_)[static_cast<std::size_t>(index)].clickCode)
                : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this, indicatorRects()[static_cast<std::size_t>(index)]);
        }
        return true;
    }
    return QWidget::event(event);
}

std::vector<CalculatorDisplayView::StackRow> CalculatorDisplayView::stackRows() const
{
    if (display_.inputMode() != InputMode::BasicRpn)
        return {};
    // Rows share the room under the indicators; each is at most 20 units tall, so a tall display
    // shows more levels rather than larger digits.
    const int top = units(11);
    const int room = height() - top - units(2);
    const int levels = qMax(4, room / units(20));
    const int rowHeight = room / levels;
    const int margin = units(4);
    QFont labelFont = font();
    labelFont.setPixelSize(qMax(1, qMin(units(15), rowHeight * 3 / 4)));
    const int labelWidth = QFontMetrics(labelFont).horizontalAdvance(QStringLiteral("%1: ").arg(levels));
    const std::vector<std::u16string> texts = display_.stackTexts(static_cast<std::size_t>(levels));
    std::vector<StackRow> rows;
    for (int level = levels; level >= 1; --level) {
        StackRow row;
        row.label = QStringLiteral("%1:").arg(level);
        row.box = QRect(0, top + (levels - level) * rowHeight, width(), rowHeight);
        // Room is kept right of the value for the cursor of the number being typed.
        row.valueBox = row.box.adjusted(margin + labelWidth, 0, -margin - units(3), 0);
        row.labelFont = labelFont;
        if (level == 1 && !typedName_.isEmpty()) {
            row.typedName = typedName_;
            row.valueBox.setLeft(row.valueBox.left() + QFontMetrics(labelFont).horizontalAdvance(typedName_ + u' '));
        }
        // A long value or message gets smaller letters before it is cut short.
        const QString value = displayString(texts[static_cast<std::size_t>(level - 1)]);
        row.valueFont = labelFont;
        for (int pixels = labelFont.pixelSize();
             pixels > units(8) && QFontMetrics(row.valueFont).horizontalAdvance(value) > row.valueBox.width();)
            row.valueFont.setPixelSize(--pixels);
        row.value = QFontMetrics(row.valueFont).elidedText(value, Qt::ElideLeft, row.valueBox.width());
        rows.push_back(row);
    }
    return rows;
}

void CalculatorDisplayView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(rect(), kBackground);

    painter.setFont(indicatorFont());
    painter.setPen(kIndicator);
    const std::vector<DisplayIndicator> indicators = displayIndicators(display_, category_);
    const std::vector<QRect> rects = indicatorRects();
    for (std::size_t i = 0; i < indicators.size(); ++i)
        painter.drawText(rects[i], Qt::AlignLeft | Qt::AlignVCenter, toQString(indicators[i].text));

    if (display_.inputMode() == InputMode::BasicRpn)
        paintStack(painter);
    else
        paintLines(painter, units(11));
}

void CalculatorDisplayView::paintStack(QPainter& painter)
{
    const std::vector<StackRow> rows = stackRows();
    const int margin = units(4);
    for (const StackRow& row : rows) {
        const bool top = &row == &rows.back();
        if (top)
            painter.fillRect(row.box, kCurrentLine);
        painter.setFont(row.labelFont);
        painter.setPen(kDimText);
        painter.drawText(row.box.adjusted(margin, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, row.label);
        if (!row.typedName.isEmpty()) {
            // In the label's letters, just left of the room kept for the value.
            const QFontMetrics metrics(row.labelFont);
            const int left = row.valueBox.left() - metrics.horizontalAdvance(row.typedName + u' ');
            painter.setPen(kCursor);
            painter.drawText(QRect(left, row.box.top(), metrics.horizontalAdvance(row.typedName), row.box.height()),
                             Qt::AlignLeft | Qt::AlignVCenter, row.typedName);
        }
        painter.setFont(row.valueFont);
        painter.setPen(kText);
        painter.drawText(row.valueBox, Qt::AlignRight | Qt::AlignVCenter, row.value);
        if (top && display_.stackEntryOpen()) {
            const int height = QFontMetrics(row.valueFont).height();
            painter.fillRect(
                QRect(row.valueBox.right() + units(2), row.box.center().y() - height / 2, units(1), height), kCursor);
        }
    }
}

void CalculatorDisplayView::paintLines(QPainter& painter, int top)
{
    const int margin = units(4);
    const int width = this->width() - 2 * margin;
    QFont lineFont = font();
    lineFont.setPixelSize(units(11));
    painter.setFont(lineFont);
    const QFontMetrics metrics(lineFont);
    const int lineHeight = units(13);
    const int resultHeight = units(22);
    for (int i = 0; i < CalculatorDisplay::kLineCount; ++i) {
        const DisplayLine& line = display_.line(i);
        const QRect box(0, top + i * lineHeight, this->width(), lineHeight);
        const bool current = i == display_.currentLineIndex();
        if (current)
            painter.fillRect(box, kCurrentLine);
        const std::size_t split = line.characterPosition(line.cursor());
        const QString before = expressionString(line.input().substr(0, split), display_.outputFormat());
        const QString after = expressionString(line.input().substr(split), display_.outputFormat());
        const QString typed = current ? typedName_ : QString();
        // Scroll a long line so that the cursor, after the name being typed, stays in view.
        const int cursorX = metrics.horizontalAdvance(before + typed);
        const int shift = qMax(0, cursorX - width + units(2));
        const int baseline = box.top() + metrics.ascent() + units(1);
        painter.save();
        painter.setClipRect(box.adjusted(margin, 0, -margin, 0));
        painter.setPen(current ? kText : kDimText);
        painter.drawText(QPoint(margin - shift, baseline), before);
        const int typedX = margin - shift + metrics.horizontalAdvance(before);
        if (!typed.isEmpty()) {
            painter.setPen(kCursor);
            painter.drawText(QPoint(typedX, baseline), typed);
            painter.fillRect(QRect(typedX, baseline + units(1), metrics.horizontalAdvance(typed), units(1)), kCursor);
            painter.setPen(kText);
        }
        painter.drawText(QPoint(margin - shift + cursorX, baseline), after);
        if (current) {
            painter.fillRect(QRect(margin - shift + cursorX, box.top() + units(1), units(1), lineHeight - units(2)),
                             kCursor);
        }
        painter.restore();
    }

    // A message (an argument hint is long) gets smaller letters before it is cut short.
    QFont resultFont = font();
    const QString result = displayString(display_.resultText());
    int pixels = units(17);
    resultFont.setPixelSize(pixels);
    while (!display_.resultIsValue() && pixels > units(9) &&
           QFontMetrics(resultFont).horizontalAdvance(result) > width) {
        --pixels;
        resultFont.setPixelSize(pixels);
    }
    painter.setFont(resultFont);
    painter.setPen(kText);
    const QRect resultBox(margin, top + CalculatorDisplay::kLineCount * lineHeight, width, resultHeight);
    painter.drawText(resultBox, Qt::AlignRight | Qt::AlignVCenter,
                     QFontMetrics(resultFont).elidedText(result, Qt::ElideLeft, width));
}
