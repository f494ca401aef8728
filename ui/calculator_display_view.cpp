#include "calculator_display_view.h"

#include <QPainter>

#include "key_codes.h"
#include "keypads.h"
#include "calculator_display.h"
#include "result_format.h"
#include "ui_text.h"

namespace {

const QColor kBackground(0x1B, 0x22, 0x2C);
const QColor kText(0xE8, 0xEE, 0xF2);
const QColor kDimText(0x7D, 0x8B, 0x99);
const QColor kCurrentLine(0x26, 0x31, 0x3E);
const QColor kIndicator(0xF2, 0x9B, 0x38);
const QColor kCursor(0x4F, 0xC3, 0xF7);

QString indicatorText(const CalculatorDisplay& display, int category)
{
    static const char* const kAngles[] = {"DEG", "RAD", "GRA"};
    static const char* const kFormats[] = {"FIX", "NORM", "SCI"};
    static const char* const kRadixes[] = {"BIN", "OCT", "DEC", "HEX"};
    QStringList parts;
    if (display.shift())
        parts << QStringLiteral("SHIFT");
    if (display.inputMode() == InputMode::BasicStandard)
        parts << QStringLiteral("BASIC");
    else if (display.inputMode() == InputMode::BasicRpn)
        parts << QStringLiteral("RPN");
    parts << QString::fromLatin1(kAngles[display.angleUnit() - KeyCode::kAngleDeg]);
    parts << QString::fromLatin1(kFormats[display.displayFormat() - KeyCode::kFormatFix]);
    parts << QString::fromLatin1(kRadixes[display.radix() - KeyCode::kRadixBin]);
    if (category == CategoryCode::kBaseConversion)
        parts << QStringLiteral("%1 bit").arg(display.wordSizeBits());
    parts << QStringLiteral("M%1").arg(display.selectedMemory() - KeyCode::kMemory1 + 1);
    return parts.join(QStringLiteral("  "));
}

}  // namespace

CalculatorDisplayView::CalculatorDisplayView(const CalculatorDisplay& display, QWidget* parent) : QWidget(parent), display_(display)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void CalculatorDisplayView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(rect(), kBackground);
    // Everything grows with the display area: the indicator row, five lines and the result are
    // 98 units tall, a unit being one pixel at the smallest screen; narrow areas cap the growth so
    // that a line still holds about as many characters as on the smallest screen.
    const double unit = qMax(0.8, qMin(height() / 98.0, this->width() / 240.0));
    const auto units = [unit](double count) { return qMax(1, qRound(count * unit)); };
    const int margin = units(4);
    const int width = this->width() - 2 * margin;

    QFont small = font();
    small.setPixelSize(units(8));
    small.setBold(true);
    painter.setFont(small);
    painter.setPen(kIndicator);
    const int indicatorHeight = units(11);
    painter.drawText(QRect(margin, 0, width, indicatorHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     indicatorText(display_, category_));

    QFont lineFont = font();
    lineFont.setPixelSize(units(11));
    painter.setFont(lineFont);
    const QFontMetrics metrics(lineFont);
    const int lineHeight = units(13);
    const int resultHeight = units(22);
    const int top = indicatorHeight;
    for (int i = 0; i < CalculatorDisplay::kLineCount; ++i) {
        const DisplayLine& line = display_.line(i);
        const QRect box(0, top + i * lineHeight, this->width(), lineHeight);
        const bool current = i == display_.currentLineIndex();
        if (current)
            painter.fillRect(box, kCurrentLine);
        const QString text = displayString(line.input());
        const QString beforeCursor = displayString(line.input().substr(0, line.characterPosition(line.cursor())));
        // Scroll a long line so that the cursor stays in view.
        const int cursorX = metrics.horizontalAdvance(beforeCursor);
        const int shift = qMax(0, cursorX - width + units(2));
        painter.setPen(current ? kText : kDimText);
        painter.save();
        painter.setClipRect(box.adjusted(margin, 0, -margin, 0));
        painter.drawText(QPoint(margin - shift, box.top() + metrics.ascent() + units(1)), text);
        if (current) {
            painter.fillRect(QRect(margin - shift + cursorX, box.top() + units(1), units(1), lineHeight - units(2)),
                             kCursor);
        }
        painter.restore();
    }

    QFont resultFont = font();
    resultFont.setPixelSize(units(17));
    painter.setFont(resultFont);
    painter.setPen(kText);
    const QRect resultBox(margin, top + CalculatorDisplay::kLineCount * lineHeight, width, resultHeight);
    const QString result = QFontMetrics(resultFont).elidedText(displayString(display_.resultText()), Qt::ElideLeft, width);
    painter.drawText(resultBox, Qt::AlignRight | Qt::AlignVCenter, result);
}
