#include "graph_view.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include <algorithm>
#include <cmath>

#include "display_text.h"
#include "preferences.h"
#include "keypad_view.h"
#include "number_pad_view.h"
#include "skin_pixmaps.h"
#include "tool_keypads.h"
#include "tool_panel_layout.h"
#include "result_format.h"
#include "ui_text.h"
#include "panel_style.h"

namespace {

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
               "GraphView { background: @window; }"
               "QLabel { color: @label; font-size: %1px; }"
               "QLineEdit { background: @field; color: @text; border: 1px solid @line;"
               " border-radius: %2px; padding: %2px; font-size: %1px; }"
               "QLineEdit:focus { border: 2px solid @accent; background: @fieldFocus; }"
               "QPushButton { background: @button; color: @text; border: 1px solid @line;"
               " border-radius: %2px; padding: %2px; font-size: %1px; }"
               "QPushButton:hover { border-color: @accent; }"
               "QPushButton:pressed { background: @accent; color: @accentText; }"
               "QPushButton#plotButton { background: @accent; color: @accentText; font-weight: bold; }")
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
    drawAxisNumbers(painter, x0, y0);

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

namespace {

// The spacing of numbered ticks in units: 1, 2 or 5 times a power of ten, the first that
// leaves `room` pixels between two numbers at `scale` pixels per unit.
double numberStep(int scale, int room)
{
    for (double magnitude = 1.0; magnitude < 1e6; magnitude *= 10.0) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            if (factor * magnitude * scale >= room)
                return factor * magnitude;
        }
    }
    return 1e6;
}

}  // namespace

void PlotAreaView::drawAxisNumbers(QPainter& painter, int x0, int y0) const
{
    // Numbers stand below the x axis and left of the y axis; when an axis is out of view they
    // keep to the edge of the plot, so the scale can always be read.
    const QFontMetrics metrics = painter.fontMetrics();
    const int gap = 3;
    const int numberRow = std::clamp(y0 + gap, 0, height() - metrics.height());
    const bool yNumbersRight = x0 - gap - metrics.horizontalAdvance(QStringLiteral("-000")) < 0;
    painter.setPen(QColor(0x6A, 0x74, 0x80));
    const auto label = [](double value) { return QString::number(value, 'g', 6); };

    const int scaleX = model_.scaleX();
    const double stepX = numberStep(scaleX, metrics.horizontalAdvance(QStringLiteral("-0000")) + 2 * gap);
    const double firstX = std::ceil(model_.planeX(0) / stepX) * stepX;
    for (double x = firstX; model_.columnOf(x) <= width(); x += stepX) {
        if (std::fabs(x) < stepX / 2)
            continue;
        const int column = static_cast<int>(std::lround(model_.columnOf(x)));
        const QString text = label(x);
        const int textWidth = metrics.horizontalAdvance(text);
        painter.drawText(QRect(column - textWidth / 2, numberRow, textWidth, metrics.height()), Qt::AlignCenter, text);
    }

    const int scaleY = model_.scaleY();
    const double stepY = numberStep(scaleY, metrics.height() * 2);
    const double topY = model_.planeY(0);
    const double bottomY = model_.planeY(height());
    for (double y = std::ceil(bottomY / stepY) * stepY; y <= topY; y += stepY) {
        if (std::fabs(y) < stepY / 2)
            continue;
        const int row = static_cast<int>(std::lround(model_.rowOf(y)));
        const QString text = label(y);
        const int textWidth = metrics.horizontalAdvance(text);
        const int left = yNumbersRight ? std::max(x0, 0) + gap : std::min(x0, width()) - gap - textWidth;
        painter.drawText(QRect(left, row - metrics.height() / 2, textWidth, metrics.height()), Qt::AlignCenter, text);
    }
    // The origin once, at the corner of the axes.
    if (x0 >= 0 && x0 < width() && y0 >= 0 && y0 < height())
        painter.drawText(
            QPoint(x0 - gap - metrics.horizontalAdvance(QStringLiteral("0")), numberRow + metrics.ascent()),
            QStringLiteral("0"));
}

void PlotAreaView::drawCurves(QPainter& painter) const
{
    const int markHeight = std::max(6, painter.fontMetrics().height());
    for (const GraphCurve& curve : model_.curves()) {
        const QColor colour = fromColorRef(curve.colour);
        painter.setPen(QPen(colour, 1.5));
        // Joined where the model joins: pieces end only at domain edges and poles.
        QPainterPath path;
        for (std::size_t i = 0; i < curve.count; ++i) {
            const QPointF point(clampPixel(model_.columnOf(curve.xs[i])), clampPixel(model_.rowOf(curve.ys[i])));
            if (curve.joinsPrevious(i))
                path.lineTo(point);
            else
                path.moveTo(point);
        }
        painter.drawPath(path);
        // A curve that stopped short of the right edge says so where it stopped.
        if (!curve.complete) {
            const int column = static_cast<int>(std::lround(clampPixel(model_.columnOf(curve.stoppedAt))));
            painter.setPen(QPen(colour, 1, Qt::DashLine));
            painter.drawLine(column, 0, column, height());
            painter.setPen(colour);
            painter.drawText(QRect(column + 2, height() - markHeight - 2, width(), markHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, tr("stopped: too many points"));
        }
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

GraphView::GraphView(Engine& engine, const Preferences& preferences, std::function<AngleMode()> angleMode,
                     QWidget* parent)
    : QWidget(parent), preferences_(preferences), angleMode_(std::move(angleMode)), model_(engine)
{
    setAttribute(Qt::WA_StyledBackground);

    entryPage_ = new QWidget(this);
    operators_ =
        new KeypadView(toolKeypads::kGraphOperatorGrid.columns, toolKeypads::kGraphOperatorGrid.rows, entryPage_);
    operators_->setObjectName(QStringLiteral("graphOperators"));
    operators_->setHold(false, 0);
    operators_->setRepeats([](int position) {
        return position >= 0 && position < static_cast<int>(toolKeypads::kGraphOperatorKeys.size()) &&
               toolKeypads::kGraphOperatorKeys[static_cast<std::size_t>(position)].text.empty();
    });
    connect(operators_, &KeypadView::keyPressed, this, [this](int position, bool) { pressOperator(position); });
    pad_ = new NumberPadView(entryPage_);
    for (std::size_t i = 0; i < Graph::kFieldCount; ++i) {
        captions_[i] = new QLabel(toQString(Graph::kFieldLabels[i]) + QStringLiteral(" ="), entryPage_);
        captions_[i]->setStyleSheet(
            QStringLiteral("color: %1;").arg(fromColorRef(Graph::kCurveColours[i]).lighter(130).name()));
        fields_[i] = new QLineEdit(entryPage_);
        fields_[i]->setObjectName(QStringLiteral("graphField%1").arg(i));
        fields_[i]->installEventFilter(this);
        pad_->addField(fields_[i], toolKeypads::FieldKind::Expression);
    }
    connect(pad_, &NumberPadView::okPressed, this, &GraphView::plot);
    plotButton_ = new QPushButton(tr("Plot"), entryPage_);
    plotButton_->setObjectName(QStringLiteral("plotButton"));
    plotButton_->setFocusPolicy(Qt::NoFocus);
    connect(plotButton_, &QPushButton::clicked, this, &GraphView::plot);

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

void GraphView::setSkin(const SkinPixmaps& skin)
{
    operators_->setImages(skin.image("GraphOperators"), QImage());
    pad_->setSkin(skin);
}

void GraphView::pressOperator(int position)
{
    if (position < 0 || position >= static_cast<int>(toolKeypads::kGraphOperatorKeys.size()) || model_.plotShown())
        return;
    const toolKeypads::GraphOperatorFace& key = toolKeypads::kGraphOperatorKeys[static_cast<std::size_t>(position)];
    fields_[currentField_]->setFocus(Qt::OtherFocusReason);
    insertText(toQString(key.text));
}

void GraphView::plot()
{
    const OutputFormat format = preferences_.outputFormat;
    for (std::size_t i = 0; i < Graph::kFieldCount; ++i)
        model_.setFieldText(i, displayToEngineText(fromQString(fields_[i]->text().trimmed()), format));
    model_.setAngleMode(angleMode_());
    entryPage_->hide();
    for (QWidget* widget : std::initializer_list<QWidget*>{plotArea_, entryButton_, resetButton_})
        widget->show();
    layoutChildren();
    // The range follows the plot's size, so the size is known before sampling.
    model_.setPlotSize(plotArea_->width(), plotArea_->height());
    model_.showPlot();
    plotArea_->update();
    showProblems();
}

void GraphView::showProblems()
{
    QStringList problems;
    std::size_t firstBad = Graph::kFieldCount;
    for (const GraphCurve& curve : model_.curves()) {
        if (curve.problem.empty())
            continue;
        const auto field =
            static_cast<std::size_t>(std::find(Graph::kCurveColours.begin(), Graph::kCurveColours.end(), curve.colour) -
                                     Graph::kCurveColours.begin());
        firstBad = std::min(firstBad, field);
        problems << QStringLiteral("%1 = %2: %3")
                        .arg(toQString(Graph::kFieldLabels[field]), fields_[field]->text().trimmed(),
                             toQString(curve.problem));
    }
    if (problems.isEmpty())
        return;
    // Back to the fields, at the first one to correct.
    currentField_ = firstBad;
    showEntry();
    auto* box = new QMessageBox(QMessageBox::Warning, tr("Function Graphs"), problems.join(QLatin1Char('\n')),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
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
    pad_->setTarget(field);
    if (text.isEmpty())
        field->backspace();
    else
        field->insert(text);
}

bool GraphView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress) {
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
    const bool beside = toolPanelLayout::padBeside(size());
    // The entry view: three field rows across the top, then the operators (two rows of keys),
    // the number pad (four rows) and Plot: in one column on a tall panel, the pad to the right
    // of the operators on a wide one.
    const QSize textArea = beside ? QSize(width(), height() * 45 / 100) : QSize(width(), height() * 3 / 10);
    const int px = toolPanelLayout::fontPixels(textArea, 4.2, 26, 9, 22);
    if (px != fontPixels_) {
        fontPixels_ = px;
        setThemedStyleSheet(this, panelStyleSheet(px));
    }
    entryPage_->setGeometry(rect());
    const int margin = std::max(2, px / 3);
    const int spacing = std::max(2, px / 4);
    const int row = px * 2;
    const QRect inner = rect().adjusted(margin, margin, -margin, -margin);
    const int captionWidth = QFontMetrics(captions_[0]->font()).horizontalAdvance(QStringLiteral("y3 =")) + spacing;
    for (std::size_t i = 0; i < Graph::kFieldCount; ++i) {
        const int top = inner.top() + static_cast<int>(i) * (row + spacing);
        captions_[i]->setGeometry(inner.left(), top, captionWidth, row);
        fields_[i]->setGeometry(inner.left() + captionWidth, top, inner.width() - captionWidth, row);
    }
    const int keysTop = inner.top() + 3 * (row + spacing);
    const int plotTop = inner.bottom() + 1 - row;
    plotButton_->setGeometry(inner.left(), plotTop, beside ? inner.width() * 58 / 100 : inner.width(), row);
    if (beside) {
        const int padWidth = inner.width() * 42 / 100 - spacing;
        const int padLeft = inner.right() + 1 - padWidth;
        operators_->setGeometry(inner.left(), keysTop, padLeft - spacing - inner.left(), plotTop - spacing - keysTop);
        pad_->setGeometry(padLeft, keysTop, padWidth, inner.bottom() + 1 - keysTop);
    } else {
        // Below the fields: two parts operators to four parts pad, then Plot's row.
        const int rest = plotTop - keysTop - 2 * spacing;
        const int operatorsHeight = rest / 3;
        operators_->setGeometry(inner.left(), keysTop, inner.width(), operatorsHeight);
        pad_->setGeometry(inner.left(), keysTop + operatorsHeight + spacing, inner.width(), rest - operatorsHeight);
    }

    // The plot takes all but a strip of buttons at the bottom.
    const int strip = std::max(18, px * 2);
    const QRect plotRect(0, 0, width(), std::max(0, height() - strip));
    if (plotArea_->geometry() != plotRect)
        plotArea_->setGeometry(plotRect);
    entryButton_->setGeometry(2, plotRect.bottom() + 2, width() / 3, strip - 3);
    resetButton_->setGeometry(width() - width() / 3 - 2, plotRect.bottom() + 2, width() / 3, strip - 3);
}
