#include "drawn_arrow_combo_box.h"

#include <QPainter>

#include <algorithm>

DrawnArrowComboBox::DrawnArrowComboBox(ArrowInset arrowInset, QWidget* parent)
    : QComboBox(parent), arrowInset_(arrowInset)
{
}

void DrawnArrowComboBox::paintEvent(QPaintEvent* event)
{
    QComboBox::paintEvent(event);
    const int px = QFontInfo(font()).pixelSize();
    const int half = std::max(3, px / 3);
    const QPointF centre(width() - arrowInset_(px), height() / 2.0);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(isEnabled() ? QColor(0xAE, 0xB9, 0xC4) : QColor(0x5A, 0x66, 0x73));
    const QPointF triangle[] = {centre + QPointF(-half, -half / 2.0), centre + QPointF(half, -half / 2.0),
                                centre + QPointF(0, half / 2.0)};
    painter.drawPolygon(triangle, 3);
}
