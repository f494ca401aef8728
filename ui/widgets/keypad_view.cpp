#include "keypad_view.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr int kRepeatMilliseconds = 150;
// Behind the keys, and over an unavailable key most of the way to hide it.
constexpr QRgb kBackdrop = 0xFF1B222C;
constexpr int kUnavailableAlpha = 170;

}  // namespace

KeypadView::KeypadView(int columns, int rows, QWidget* parent) : QWidget(parent), columns_(columns), rows_(rows)
{
    setFocusPolicy(Qt::NoFocus);
    holdTimer_.setSingleShot(true);
    connect(&holdTimer_, &QTimer::timeout, this, &KeypadView::fireHold);
    repeatTimer_.setInterval(kRepeatMilliseconds);
    connect(&repeatTimer_, &QTimer::timeout, this, &KeypadView::fireRepeat);
}

bool KeypadView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int position = positionAt(help->pos());
        const QString text = position >= 0 && tooltip_ ? tooltip_(position) : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            // The tip stays while the pointer is on the same key.
            QToolTip::showText(help->globalPos(), text, this, keyRect(position));
        }
        return true;
    }
    return QWidget::event(event);
}

void KeypadView::setImages(QImage faces, QImage labels)
{
    faces_ = std::move(faces);
    labels_ = std::move(labels);
    update();
}

void KeypadView::setGrid(int columns, int rows)
{
    columns_ = columns;
    rows_ = rows;
    update();
}

void KeypadView::setSpans(std::vector<int> spans)
{
    spans_ = std::move(spans);
    update();
}

int KeypadView::keyStart(int position) const
{
    while (position % columns_ > 0 && spanOf(position) == 0)
        --position;
    return position;
}

int KeypadView::spanOf(int position) const
{
    return position >= 0 && position < static_cast<int>(spans_.size()) ? spans_[static_cast<std::size_t>(position)] : 1;
}

void KeypadView::setHold(bool enabled, int milliseconds)
{
    holdEnabled_ = enabled;
    holdMilliseconds_ = milliseconds;
}

QRect KeypadView::keyRect(int position) const
{
    const int column = position % columns_;
    const int row = position / columns_;
    const int left = width() * column / columns_;
    const int top = height() * row / rows_;
    return QRect(left, top, width() * (column + 1) / columns_ - left, height() * (row + 1) / rows_ - top);
}

int KeypadView::positionAt(QPoint point) const
{
    if (!rect().contains(point) || width() <= 0 || height() <= 0)
        return -1;
    const int column = point.x() * columns_ / width();
    const int row = point.y() * rows_ / height();
    return row * columns_ + column;
}

QRect KeypadView::faceRect(int position) const
{
    // A wide key is drawn whole across its cells, not as halves with a seam between them.
    position = keyStart(position);
    const int span = spanOf(position);
    const QRect cell = keyRect(position).united(keyRect(position + span - 1));
    if (faces_.isNull() || aspectFits())
        return cell;
    // Keys keep roughly their drawn proportions: a little stretch keeps them large enough to
    // read, much more makes the labels hard to read.
    constexpr double kMaxStretch = 1.5;
    const double sourceWidth = static_cast<double>(faces_.width()) * span / columns_;
    const double sourceHeight = static_cast<double>(faces_.height()) / rows_;
    double scaleX = cell.width() / sourceWidth;
    double scaleY = cell.height() / sourceHeight;
    if (scaleY > scaleX * kMaxStretch)
        scaleY = scaleX * kMaxStretch;
    else if (scaleX > scaleY * kMaxStretch)
        scaleX = scaleY * kMaxStretch;
    const QSize fitted(static_cast<int>(sourceWidth * scaleX), static_cast<int>(sourceHeight * scaleY));
    return QRect(cell.center() - QPoint(fitted.width() / 2, fitted.height() / 2), fitted);
}

bool KeypadView::aspectFits() const
{
    if (faces_.isNull() || height() == 0 || faces_.height() == 0)
        return true;
    const double widget = static_cast<double>(width()) / height();
    const double image = static_cast<double>(faces_.width()) / faces_.height();
    return qAbs(widget / image - 1.0) < 0.15;
}

void KeypadView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.fillRect(rect(), QColor::fromRgb(kBackdrop));
    const int keys = columns_ * rows_;
    for (int position = 0; position < keys; ++position) {
        const int span = spanOf(position);
        if (span == 0)
            continue;
        const QRect target = faceRect(position);
        const int column = position % columns_;
        const int row = position / columns_;
        const Relabel relabeled = relabel(position);
        for (const QImage* image : {&faces_, &labels_}) {
            if (image->isNull() || (image == &labels_ && !relabeled.text.isEmpty()))
                continue;
            const QRectF source(static_cast<double>(image->width()) * column / columns_,
                                static_cast<double>(image->height()) * row / rows_,
                                static_cast<double>(image->width()) * span / columns_,
                                static_cast<double>(image->height()) / rows_);
            painter.drawImage(QRectF(target), *image, source);
        }
        if (!relabeled.text.isEmpty()) {
            painter.setFont(relabeled.font);
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(target, Qt::AlignCenter, relabeled.text);
        }
    }
    if (available_) {
        for (int position = 0; position < keys; ++position) {
            if (!available_(position)) {
                QColor veil = QColor::fromRgb(kBackdrop);
                veil.setAlpha(kUnavailableAlpha);
                painter.fillRect(faceRect(position), veil);
            }
        }
    }
    if (pressed_ >= 0)
        painter.fillRect(faceRect(pressed_), QColor(255, 255, 255, 60));
}

KeypadView::Relabel KeypadView::relabel(int position) const
{
    const QStringList texts = relabels_ ? relabels_(position) : QStringList();
    if (texts.isEmpty())
        return {};
    // At most as large as the skin's labels (about half the key's height). The first text that
    // fits at two thirds of that, and large enough to read, wins; the last one shrinks as far as
    // it must.
    const QRect face = faceRect(position);
    const int fullPixels = qMax(6, face.height() * 11 / 24);
    const int room = face.width() * 4 / 5;
    QFont labelFont = font();
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const int smallest = i + 1 == texts.size() ? 6 : qMax(9, fullPixels * 2 / 3);
        for (int pixels = fullPixels; pixels >= smallest; --pixels) {
            labelFont.setPixelSize(pixels);
            if (QFontMetrics(labelFont).horizontalAdvance(texts[i]) <= room)
                return {texts[i], labelFont};
        }
    }
    return {texts.back(), labelFont};
}

void KeypadView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = positionAt(event->position().toPoint());
    if (pressed_ >= 0 && !isAvailable(pressed_))
        pressed_ = -1;
    holdFired_ = false;
    update();
    if (pressed_ < 0)
        return;
    if (repeats_ && repeats_(pressed_)) {
        Q_EMIT keyPressed(pressed_, false);
        repeatTimer_.start();
        return;
    }
    if (holdEnabled_)
        holdTimer_.start(holdMilliseconds_);
}

void KeypadView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int position = pressed_;
    const bool repeating = repeatTimer_.isActive();
    holdTimer_.stop();
    repeatTimer_.stop();
    pressed_ = -1;
    update();
    if (position >= 0 && !repeating && !holdFired_)
        Q_EMIT keyPressed(position, false);
}

void KeypadView::fireHold()
{
    if (pressed_ < 0)
        return;
    holdFired_ = true;
    Q_EMIT keyPressed(pressed_, true);
}

void KeypadView::fireRepeat()
{
    if (pressed_ >= 0)
        Q_EMIT keyPressed(pressed_, false);
}
