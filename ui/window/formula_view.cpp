#include "formula_view.h"

#include <QMetaObject>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "formula_markup.h"
#include "keypad_view.h"
#include "skin_pixmaps.h"
#include "ui_text.h"

namespace {

const QColor kInk(0x1B, 0x22, 0x2C);
const QColor kGround(QColor::fromRgb(FormulaRaster::kBackground));
const QColor kQuiet(0x5A, 0x64, 0x70);

// The buttons keep the proportions of their image: a strip a tenth as high as it is wide,
// but never more than a third of the view.
int buttonStripHeight(int width, int height)
{
    return std::min(height / 3, std::max(12, width / 10));
}

}  // namespace

FormulaView::FormulaView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("formulaView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    buttons_ = new KeypadView(toolKeypads::kFormulaGrid.columns, toolKeypads::kFormulaGrid.rows, this);
    buttons_->setObjectName(QStringLiteral("formulaButtons"));
    buttons_->setHold(false, 0);
    connect(buttons_, &KeypadView::keyPressed, this, [this](int position, bool) {
        if (position < 0 || position >= static_cast<int>(toolKeypads::kFormulaKeys.size()))
            return;
        const toolKeypads::FormulaKey key = toolKeypads::kFormulaKeys[static_cast<std::size_t>(position)].key;
        if (key == toolKeypads::FormulaKey::Close)
            Q_EMIT closeClicked();
        else
            setSize(key);
    });
    worker_ = std::thread([this] { work(); });
}

FormulaView::~FormulaView()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        pending_.reset();
    }
    wake_.notify_all();
    // A drawing under way ends within the renderer's time limit.
    worker_.join();
}

void FormulaView::setSkin(const SkinPixmaps& skin, int scale)
{
    buttons_->setImages(skin.image("FormulaButtons"), QImage());
    if (scale != scale_) {
        scale_ = scale;
        rerender();
    }
}

void FormulaView::setRenderer(FormulaRenderer renderer)
{
    const std::lock_guard lock(mutex_);
    renderer_ = std::move(renderer);
}

int FormulaView::sizeIndex() const
{
    return toolKeypads::formulaSizeIndex(size_, scale_);
}

void FormulaView::setSize(toolKeypads::FormulaKey size)
{
    if (size == toolKeypads::FormulaKey::Close || size == size_)
        return;
    size_ = size;
    rerender();
}

void FormulaView::rerender()
{
    if (lineText_)
        draw();
}

bool FormulaView::busy() const
{
    const std::lock_guard lock(mutex_);
    return working_ || pending_.has_value();
}

void FormulaView::showLine(std::u16string_view engineText, const VariableSlots& slots, double cursorShare)
{
    lineSlots_ = slots;
    showLine(engineText, cursorShare);
}

void FormulaView::showLine(std::u16string_view engineText, double cursorShare)
{
    lineText_ = std::u16string(engineText);
    cursorShare_ = std::clamp(cursorShare, 0.0, 1.0);
    draw();
}

void FormulaView::draw()
{
    // The markup is made here, on the window's thread; only the drawing goes to the rendering thread.
    const formula::FormulaRequest request = formula::renderExpressionFormula(*lineText_, sizeIndex(), lineSlots_);
    // Only the cursor moved: the drawing stands, the view follows the cursor.
    if (!request.hasMessage() && request.buffer == lastBuffer_) {
        updateScroll();
        update();
        return;
    }
    lastBuffer_ = request.hasMessage() ? std::string() : request.buffer;
    std::uint64_t serial = 0;
    {
        const std::lock_guard lock(mutex_);
        serial = ++newestSerial_;
        if (request.hasMessage()) {
            pending_.reset();  // nothing older is worth drawing now
        } else {
            pending_ = Request{serial, request.buffer, sizeIndex()};
        }
    }
    if (request.hasMessage()) {
        image_ = QImage();
        message_ = toQString(request.message);
        update();
        Q_EMIT drawn();
        return;
    }
    wake_.notify_one();
}

void FormulaView::work()
{
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
        if (stopping_)
            return;
        const Request request = std::move(*pending_);
        pending_.reset();
        const FormulaRenderer renderer = renderer_;
        working_ = true;
        lock.unlock();
        FormulaRenderResult result = renderer.renderWithStatus(request.buffer, request.sizeIndex);
        lock.lock();
        working_ = false;
        // A newer line is waiting or the view is going away: this drawing is stale.
        if (stopping_ || request.serial != newestSerial_)
            continue;
        QMetaObject::invokeMethod(
            this,
            [this, serial = request.serial, result = std::move(result)]() mutable {
                receive(serial, std::move(result));
            },
            Qt::QueuedConnection);
    }
}

void FormulaView::receive(std::uint64_t serial, FormulaRenderResult result)
{
    {
        const std::lock_guard lock(mutex_);
        if (serial != newestSerial_)
            return;
    }
    if (result.status == FormulaRenderStatus::Drawn && result.raster) {
        const FormulaRaster& raster = *result.raster;
        image_ = QImage(raster.width, raster.height, QImage::Format_RGB32);
        image_.fill(kGround);
        const QRgb ink = kInk.rgb();
        for (int y = 0; y < raster.height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
            for (int x = 0; x < raster.width; ++x) {
                if (raster.isSet(x, y))
                    line[x] = ink;
            }
        }
        message_.clear();
    } else {
        image_ = QImage();
        message_ = messageFor(result.status);
    }
    updateScroll();
    update();
    Q_EMIT drawn();
}

QString FormulaView::messageFor(FormulaRenderStatus status)
{
    switch (status) {
    case FormulaRenderStatus::Drawn: return {};
    case FormulaRenderStatus::RendererMissing:
        return tr("No formula renderer: install the mimetex package to see the line typeset.");
    case FormulaRenderStatus::Refused: return tr("The line holds a command the renderer may not run.");
    case FormulaRenderStatus::TooLarge: return tr("The formula is too large to draw. Try a smaller size.");
    case FormulaRenderStatus::Failed: break;
    }
    return tr("The renderer could not draw this line.");
}

QRect FormulaView::formulaArea() const
{
    return QRect(0, 0, width(), height() - buttonStripHeight(width(), height()));
}

void FormulaView::updateScroll()
{
    const int visible = formulaArea().width();
    if (image_.isNull() || image_.width() <= visible) {
        scrollOffset_ = 0;
        return;
    }
    // Where the cursor falls in the drawing, taken from where it stands in the line, goes to
    // the middle of the view as far as the drawing's ends allow.
    const int cursorX = static_cast<int>(std::lround(cursorShare_ * image_.width()));
    scrollOffset_ = std::clamp(cursorX - visible / 2, 0, image_.width() - visible);
}

void FormulaView::resizeEvent(QResizeEvent* event)
{
    placeButtons();
    updateScroll();
    QWidget::resizeEvent(event);
}

void FormulaView::placeButtons()
{
    const int strip = buttonStripHeight(width(), height());
    buttons_->setGeometry(0, height() - strip, width(), strip);
}

void FormulaView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = formulaArea();
    painter.fillRect(area, kGround);
    if (!message_.isEmpty()) {
        QFont font = painter.font();
        font.setPixelSize(std::max(9, area.height() / 6));
        painter.setFont(font);
        painter.setPen(kQuiet);
        painter.drawText(area.adjusted(4, 2, -4, -2), Qt::AlignCenter | Qt::TextWordWrap, message_);
        return;
    }
    if (image_.isNull())
        return;
    // A drawing taller than the view is shrunk to its height; a wider one shows the part
    // around the cursor, with a mark on each side where more of it lies.
    QImage shown = image_;
    int offset = scrollOffset_;
    if (shown.height() > area.height()) {
        const double factor = static_cast<double>(area.height()) / shown.height();
        shown = shown.scaledToHeight(area.height(), Qt::SmoothTransformation);
        offset = static_cast<int>(offset * factor);
        if (shown.width() <= area.width())
            offset = 0;
    }
    const int left =
        shown.width() <= area.width() ? area.left() + (area.width() - shown.width()) / 2 : area.left() - offset;
    const int top = area.top() + (area.height() - shown.height()) / 2;
    painter.drawImage(QPoint(left, top), shown);
    // The marks stand on a strip of the ground, so the formula does not hide them.
    painter.setPen(Qt::NoPen);
    const int mark = std::max(4, area.height() / 8);
    const int middle = area.center().y();
    if (left < area.left()) {
        painter.fillRect(QRect(area.left(), area.top(), mark + 4, area.height()), kGround);
        painter.setBrush(kQuiet);
        const QPoint arrow[] = {{area.left() + 1, middle},
                                {area.left() + 1 + mark, middle - mark},
                                {area.left() + 1 + mark, middle + mark}};
        painter.drawPolygon(arrow, 3);
    }
    if (left + shown.width() > area.right() + 1) {
        painter.fillRect(QRect(area.right() - mark - 3, area.top(), mark + 4, area.height()), kGround);
        painter.setBrush(kQuiet);
        const int right = area.right() - 1;
        const QPoint arrow[] = {{right, middle}, {right - mark, middle - mark}, {right - mark, middle + mark}};
        painter.drawPolygon(arrow, 3);
    }
}
