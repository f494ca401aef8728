#include "graph_view.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include <algorithm>
#include <cmath>

#include "display_text.h"
#include "calculator.h"
#include "result_format.h"
#include "ui_text.h"

namespace {

// The operator keys under the fields: the label and the text that a click inserts; an empty
// text deletes the character before the cursor.
struct OperatorKey {
    const char16_t* label;
    const char16_t* text;
};
constexpr OperatorKey kOperatorKeys[] = {
    {u"x", u"x"},     {u"+", u"+"},       {u"\u2212", u"\u2212"}, {u"\u00D7", u"\u00D7"},
    {u"\u00F7", u"\u00F7"}, {u"^", u"^"}, {u"(", u"("},           {u")", u")"},
    {u"sin", u"sin("}, {u"cos", u"cos("}, {u"tan", u"tan("},      {u"DEL", u""},
};
constexpr int kOperatorColumns = 6;

QColor fromColorRef(std::uint32_t packed)
{
    return QColor(static_cast<int>(packed & 0xFF), static_cast<int>((packed >> 8) & 0xFF),
                  static_cast<int>((packed >> 16) & 0xFF));
}

// Huge values would overflow the painter's integer paths; anything this far out is off-screen.
double clampPixel(double value)
{
    if (std::isnan(value))
        return 0.0;
    return std::clamp(value, -1.0e5, 1.0e5);
}

QString panelStyleSheet(int px)
{
    return QStringLiteral(
               "GraphView { background: #1B222C; }"
               "QLabel { color: #AEB9C4; font-size: %1px; }"
               "QLineEdit { background: #1F2731; color: #E8EEF2; border: 1px solid #3A4654;"
               " border-radius: %2px; padding: %2px; font-size: %1px; }"
               "QLineEdit:focus { border: 2px solid #F29B38; background: #26303C; }"
               "QPushButton { background: #2A3440; color: #E8EEF2; border: 1px solid #3A4654;"
               " border-radius: %2px; padding: %2px; font-size: %1px; }"
               "QPushButton:hover { border-color: #F29B38; }"
               "QPushButton:pressed { background: #F29B38; color: #141A21; }"
               "QPushButton#plotButton { background: #F29B38; color: #141A21; font-weight: bold; }")
        .arg(px)
        .arg(std::max(1, px / 6));
}

}  // namespace

PlotAreaView::PlotAreaView(Graph& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setObjectName(QStringLiteral("graphPlot"));
    setMouseTracking(false);
}

void PlotAreaView::resizeEvent(QResizeEvent* event)
{
    model_.setPlotSize(width(), height());
    QWidget::resizeEvent(event);
}

void PlotAreaView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    penDown_ = true;
    const QPoint p = event->position().toPoint();
    model_.penDown(p.x(), p.y());
    update();
}

void PlotAreaView::mouseMoveEvent(QMouseEvent* event)
{
    if (!penDown_)
        return;
    const QPoint p = event->position().toPoint();
    model_.penMove(p.x(), p.y());
    update();
}

void PlotAreaView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!penDown_ || event->button() != Qt::LeftButton)
        return;
    penDown_ = false;
    const QPoint p = event->position().toPoint();
    model_.penUp(p.x(), p.y());
    update();
}

void PlotAreaView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    QFont font = painter.font();
    font.setPixelSize(std::max(8, std::min(width(), height()) / 24));
    painter.setFont(font);
    drawAxes(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    drawCurves(painter);
    painter.setRenderHint(QPainter::Antialiasing, false);
    drawModeBox(painter);
    drawCoordinates(painter);
}

void PlotAreaView::drawAxes(QPainter& painter) const
{
    const QColor axis = fromColorRef(Graph::kAxisColour);
    const int x0 = static_cast<int>(std::lround(clampPixel(model_.columnOf(0.0))));
    const int y0 = static_cast<int>(std::lround(clampPixel(model_.rowOf(0.0))));
    painter.setPen(axis);
    painter.drawLine(0, y0, width(), y0);
    painter.drawLine(x0, 0, x0, height());

    // A tick every unit, every fifth one longer, so the scale can be read at any zoom.
    const auto ticks = [&](int origin, int scale, int extent, bool horizontal) {
        if (scale <= 0)
            return;
        const int first = -((origin) / scale) - 1;
        const int last = (extent - origin) / scale + 1;
        for (int i = first; i <= last; ++i) {
            if (i == 0)
                continue;
            const int at = origin + i * scale;
            const int half = i % 5 == 0 ? 4 : 2;
            if (horizontal)
                painter.drawLine(at, y0 - half, at, y0 + half);
            else
                painter.drawLine(x0 - half, at, x0 + half, at);
        }
    };
    ticks(x0, model_.scaleX(), width(), true);
    // Rows grow downward; ticks are symmetric, so the same walk serves.
    ticks(y0, model_.scaleY(), height(), false);

    // While the preview zoom is dragged, its spacing shows along the axes, the middle tick
    // labelled with its index so the new unit can be judged before releasing.
    if (model_.penMode() == Graph::kPenZoomPreview &&
        (model_.previewScaleX() != model_.scaleX() || model_.previewScaleY() != model_.scaleY())) {
        painter.setPen(QColor(0xF2, 0x9B, 0x38));
        const int sx = model_.previewScaleX();
        const int sy = model_.previewScaleY();
        for (int at = x0 % sx; at <= width(); at += sx)
            painter.drawLine(at, y0 - 5, at, y0 + 5);
        for (int at = y0 % sy; at <= height(); at += sy)
            painter.drawLine(x0 - 5, at, x0 + 5, at);
        const int middle = (width() / 2 - x0) / sx;
        const int column = x0 + middle * sx;
        painter.drawText(QRect(column - 20, y0 + 6, 40, 16), Qt::AlignHCenter | Qt::AlignTop, QString::number(middle));
    }
}

void PlotAreaView::drawCurves(QPainter& painter) const
{
    const double step = model_.sampleStep();
    const double h = static_cast<double>(height());
    for (const GraphCurve& curve : model_.curves()) {
        painter.setPen(QPen(fromColorRef(curve.colour), 1.5));
        QPainterPath path;
        bool open = false;
        bool afterGap = true;
        for (std::size_t i = 0; i < curve.count; ++i) {
            const QPointF point(clampPixel(model_.columnOf(curve.xs[i])), clampPixel(model_.rowOf(curve.ys[i])));
            bool join = open;
            if (i > 0) {
                // Samples lie one step apart; a point closer than that after an ordinary
                // sample is a domain edge, and the segment after it spans an undefined stretch.
                const bool previousEndsDomain =
                    !afterGap && i >= 2 && std::fabs((curve.xs[i - 1] - curve.xs[i - 2]) - step) > 1e-9;
                if (previousEndsDomain) {
                    join = false;
                    afterGap = true;
                } else {
                    afterGap = false;
                }
                // A jump through infinity (tan at its poles) is not a line across the plot.
                const double previousRow = model_.rowOf(curve.ys[i - 1]);
                const double row = model_.rowOf(curve.ys[i]);
                if ((previousRow < 0 && row > h) || (previousRow > h && row < 0))
                    join = false;
            }
            if (join)
                path.lineTo(point);
            else
                path.moveTo(point);
            open = true;
        }
        painter.drawPath(path);
    }
}

void PlotAreaView::drawModeBox(QPainter& painter) const
{
    const int size = Graph::kModeBoxSize;
    const QRect box(width() - size, 0, size, size);
    painter.fillRect(box, QColor(0xEE, 0xEE, 0xEE));
    painter.setPen(Qt::black);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    const QPoint c = box.center();
    switch (model_.penMode()) {
    case Graph::kPenPan:
        // Four-way arrow: the plot moves with the pen.
        painter.drawLine(c.x() - 5, c.y(), c.x() + 5, c.y());
        painter.drawLine(c.x(), c.y() - 5, c.x(), c.y() + 5);
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint tip = c + d * 5;
            const QPoint side(d.y(), d.x());
            painter.drawLine(tip, tip - d * 2 + side * 2);
            painter.drawLine(tip, tip - d * 2 - side * 2);
        }
        break;
    case Graph::kPenZoom:
    case Graph::kPenZoomPreview:
        // Magnifier; the preview mode adds the tick marks it shows.
        painter.drawEllipse(QPoint(c.x() - 1, c.y() - 1), 3, 3);
        painter.drawLine(c.x() + 2, c.y() + 2, c.x() + 5, c.y() + 5);
        if (model_.penMode() == Graph::kPenZoomPreview) {
            painter.drawLine(box.left() + 2, box.bottom() - 2, box.left() + 2, box.bottom() - 4);
            painter.drawLine(box.left() + 5, box.bottom() - 2, box.left() + 5, box.bottom() - 4);
        }
        break;
    default:
        // Cross-hair: the pen reads coordinates.
        painter.drawLine(c.x() - 5, c.y(), c.x() + 5, c.y());
        painter.drawLine(c.x(), c.y() - 5, c.x(), c.y() + 5);
        painter.drawEllipse(c, 3, 3);
        break;
    }
}

void PlotAreaView::drawCoordinates(QPainter& painter) const
{
    if (model_.penMode() != Graph::kPenCoordinates || !model_.crossHairShown())
        return;
    const int column = model_.cursorColumn();
    const int row = model_.cursorRow();
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawLine(column, 0, column, height());
    painter.drawLine(0, row, width(), row);
    painter.setPen(Qt::black);
    const int line = painter.fontMetrics().height();
    painter.drawText(QPoint(3, line), QString::fromStdString(model_.coordinateXText(column)));
    painter.drawText(QPoint(3, 2 * line), QString::fromStdString(model_.coordinateYText(row)));
}

GraphView::GraphView(Calculator& frame, QWidget* parent)
    : QWidget(parent), frame_(frame), model_(frame.engine())
{
    setAttribute(Qt::WA_StyledBackground);

    entryPage_ = new QWidget(this);
    auto* grid = new QGridLayout(entryPage_);
    for (std::size_t i = 0; i < Graph::kFieldCount; ++i) {
        const int row = static_cast<int>(i);
        auto* caption = new QLabel(toQString(Graph::kFieldLabels[i]) + QStringLiteral(" ="), entryPage_);
        caption->setStyleSheet(QStringLiteral("color: %1;").arg(fromColorRef(Graph::kCurveColours[i]).lighter(130).name()));
        fields_[i] = new QLineEdit(entryPage_);
        fields_[i]->setObjectName(QStringLiteral("graphField%1").arg(i));
        fields_[i]->installEventFilter(this);
        grid->addWidget(caption, row, 0);
        grid->addWidget(fields_[i], row, 1, 1, kOperatorColumns - 1);
    }
    int position = 0;
    for (const OperatorKey& key : kOperatorKeys) {
        auto* button = new QPushButton(toQString(key.label), entryPage_);
        // The field keeps the focus and its cursor while the keys are clicked.
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        const QString text = toQString(key.text);
        connect(button, &QPushButton::clicked, this, [this, text] { insertText(text); });
        grid->addWidget(button, 3 + position / kOperatorColumns, position % kOperatorColumns);
        ++position;
    }
    plotButton_ = new QPushButton(tr("Plot"), entryPage_);
    plotButton_->setObjectName(QStringLiteral("plotButton"));
    plotButton_->setFocusPolicy(Qt::NoFocus);
    plotButton_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    connect(plotButton_, &QPushButton::clicked, this, &GraphView::plot);
    grid->addWidget(plotButton_, 5, 0, 1, kOperatorColumns);
    for (int row = 3; row <= 5; ++row)
        grid->setRowStretch(row, 1);
    for (int column = 0; column < kOperatorColumns; ++column)
        grid->setColumnStretch(column, 1);

    plotArea_ = new PlotAreaView(model_, this);
    entryButton_ = new QPushButton(tr("y="), this);
    entryButton_->setObjectName(QStringLiteral("entryButton"));
    entryButton_->setToolTip(tr("Back to the functions"));
    resetButton_ = new QPushButton(tr("Reset"), this);
    resetButton_->setObjectName(QStringLiteral("resetButton"));
    resetButton_->setToolTip(tr("Scale 20 and the origin in the middle"));
    for (QPushButton* button : {entryButton_, resetButton_})
        button->setFocusPolicy(Qt::NoFocus);
    connect(entryButton_, &QPushButton::clicked, this, &GraphView::showEntry);
    connect(resetButton_, &QPushButton::clicked, this, [this] {
        model_.resetView();
        plotArea_->update();
    });

    showEntry();
}

void GraphView::plot()
{
    const OutputFormat format = outputFormatFromName(frame_.preferences().outputFormat);
    for (std::size_t i = 0; i < Graph::kFieldCount; ++i)
        model_.setFieldText(i, displayToEngineText(fromQString(fields_[i]->text().trimmed()), format));
    entryPage_->hide();
    for (QWidget* widget : std::initializer_list<QWidget*>{plotArea_, entryButton_, resetButton_})
        widget->show();
    layoutChildren();
    // The range follows the plot's size, so the size is known before sampling.
    model_.setPlotSize(plotArea_->width(), plotArea_->height());
    model_.showPlot();
    plotArea_->update();
}

void GraphView::showEntry()
{
    model_.showEntry();
    for (QWidget* widget : std::initializer_list<QWidget*>{plotArea_, entryButton_, resetButton_})
        widget->hide();
    entryPage_->show();
    // Only a shown panel takes the focus; while hidden, typing belongs to the main window.
    if (isVisible())
        fields_[currentField_]->setFocus(Qt::OtherFocusReason);
}

bool GraphView::takeKey(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (model_.plotShown()) {
        if (enter || event->key() == Qt::Key_Escape) {
            showEntry();
            return true;
        }
        return false;
    }
    if (enter) {
        plot();
        return true;
    }
    if (event->key() == Qt::Key_Backspace) {
        insertText(QString());
        return true;
    }
    if (event->text().size() != 1 || !event->text().at(0).isPrint())
        return false;
    insertText(event->text());
    return true;
}

void GraphView::insertText(const QString& text)
{
    QLineEdit* field = fields_[currentField_];
    if (text.isEmpty())
        field->backspace();
    else
        field->insert(text);
}

bool GraphView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        const auto it = std::ranges::find(fields_, watched);
        if (it != fields_.end())
            currentField_ = static_cast<std::size_t>(it - fields_.begin());
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            plot();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void GraphView::resizeEvent(QResizeEvent* event)
{
    layoutChildren();
    QWidget::resizeEvent(event);
}

void GraphView::layoutChildren()
{
    const int px = std::max(8, std::min(height() / 16, width() / 18));
    if (px != fontPixels_) {
        fontPixels_ = px;
        setStyleSheet(panelStyleSheet(px));
    }
    entryPage_->setGeometry(rect());
    // The plot takes all but a strip of buttons at the bottom.
    const int strip = std::max(18, px * 2);
    const QRect plotRect(0, 0, width(), std::max(0, height() - strip));
    if (plotArea_->geometry() != plotRect)
        plotArea_->setGeometry(plotRect);
    entryButton_->setGeometry(2, plotRect.bottom() + 2, width() / 3, strip - 3);
    resetButton_->setGeometry(width() - width() / 3 - 2, plotRect.bottom() + 2, width() / 3, strip - 3);
}
