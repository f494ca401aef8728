// corvan-skin-generator OUTPUT_DIR: draws the default skin into OUTPUT_DIR/Interfaces/: the skin
// file, the colour file and every image at scale 1 and at scale 2 ("_VGA"). The keypad labels
// come from the keypad tables of the calculator, so a changed label only needs a rerun
// (scripts/make-default-skin.sh).
//
// Everything is drawn as vectors at the target scale, so the scale-2 images are as sharp as the
// scale-1 ones. All sizes below are in scale-1 pixels.

#include <QColor>
#include <QCoreApplication>
#include <QBuffer>
#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "atomic_file.h"
#include "key_sound.h"
#include "keypad_faces.h"
#include "keypads.h"
#include "skin.h"
#include "skin_plan.h"

namespace {

using namespace skin_plan;

// ---------------------------------------------------------------------------------------------

// Problems are reported as they are found and make the exit status 1 at the end, so that one
// run lists them all.
int problems = 0;

void report(const std::string& message)
{
    std::fprintf(stderr, "corvan-skin-generator: %s\n", message.c_str());
    ++problems;
}

QString text(std::u16string_view value)
{
    return QString::fromUtf16(value.data(), static_cast<qsizetype>(value.size()));
}

QString text(std::string_view value)
{
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

QColor colour(Rgb rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QColor mix(const QColor& from, const QColor& to, double amount)
{
    const auto channel = [amount](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * amount)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()), channel(from.blue(), to.blue()),
                  channel(from.alpha(), to.alpha()));
}

// The scale-2 name of a file, as the skin lookup forms it.
std::string scaledName(std::string_view file, int scale)
{
    std::string name(file);
    if (scale == 2) {
        const std::size_t dot = name.rfind('.');
        name.insert(dot == std::string::npos ? name.size() : dot, "_VGA");
    }
    return name;
}

// Logical (scale-1) geometry turned into device pixels.
struct Canvas {
    QPainter& painter;
    int scale;

    qreal px(qreal value) const { return value * scale; }
    QRectF rect(const QRectF& logical) const
    {
        return {logical.x() * scale, logical.y() * scale, logical.width() * scale, logical.height() * scale};
    }
};

QFont font(std::string_view family, int pixels, bool bold)
{
    QFont result(text(family));
    result.setPixelSize(pixels);
    result.setBold(bold);
    result.setHintingPreference(QFont::PreferFullHinting);
    return result;
}

// The largest font, down to the minimum size, that fits the label into maxWidth device pixels;
// at each size the condensed face is tried before a smaller one.
QFont fittedFont(const QString& label, int pixels, int minPixels, bool bold, qreal maxWidth)
{
    for (int size = pixels; size >= minPixels; --size) {
        for (std::string_view family : {kLayout.fontFamily, kLayout.condensedFontFamily}) {
            const QFont candidate = font(family, size, bold);
            if (QFontMetricsF(candidate).horizontalAdvance(label) <= maxWidth)
                return candidate;
        }
    }
    report("label \"" + label.toStdString() + "\" does not fit its key");
    return font(kLayout.condensedFontFamily, minPixels, bold);
}

void checkGlyphs(const QFont& usedFont, const QString& label)
{
    const QFontMetricsF metrics(usedFont);
    for (const char32_t c : label.toUcs4()) {
        if (!metrics.inFontUcs4(c))
            report("the font has no glyph for U+" + QString::number(c, 16).toUpper().toStdString());
    }
}

// Draws a label centred on centreX, on whole pixels so that the glyphs stay sharp at scale 1.
void drawLabel(QPainter& painter, const QString& label, const QFont& usedFont, const QColor& ink, qreal centreX,
               qreal baseline)
{
    checkGlyphs(usedFont, label);
    const QFontMetricsF metrics(usedFont);
    painter.setFont(usedFont);
    painter.setPen(ink);
    const qreal left = centreX - metrics.horizontalAdvance(label) / 2;
    painter.drawText(QPointF(std::round(left), std::round(baseline)), label);
}

QColor faceColour(KeyStyle style)
{
    const Palette& p = kLayout.palette;
    switch (style) {
    case KeyStyle::Digit: return colour(p.digitFace);
    case KeyStyle::Operator: return colour(p.operatorFace);
    case KeyStyle::Edit: return colour(p.editFace);
    case KeyStyle::Danger: return colour(p.dangerFace);
    case KeyStyle::Accent: return colour(p.accentFace);
    case KeyStyle::Function:
    case KeyStyle::Shift: break;
    }
    return colour(p.functionFace);
}

QColor labelColour(KeyStyle style)
{
    return colour(style == KeyStyle::Shift ? kLayout.palette.second : kLayout.palette.label);
}

// A rounded key: a border ring a shade lighter than the face, and a faint top-down sheen.
void drawRoundedFace(Canvas& canvas, const QRectF& logical, const QColor& face, int radius)
{
    const Metrics& m = kLayout.metrics;
    const QRectF outer = canvas.rect(logical);
    QPainterPath border;
    border.addRoundedRect(outer, canvas.px(radius), canvas.px(radius));
    canvas.painter.fillPath(border, mix(face, Qt::white, m.borderLift));

    const qreal width = canvas.px(m.keyBorder);
    const QRectF inner = outer.adjusted(width, width, -width, -width);
    QPainterPath fill;
    fill.addRoundedRect(inner, canvas.px(radius) - width, canvas.px(radius) - width);
    QLinearGradient sheen(inner.topLeft(), inner.bottomLeft());
    sheen.setColorAt(0, mix(face, Qt::white, m.faceSheen));
    sheen.setColorAt(1, face);
    canvas.painter.fillPath(fill, sheen);
}

void drawKeyFace(Canvas& canvas, const QRectF& logicalKey, KeyStyle style)
{
    drawRoundedFace(canvas, logicalKey, faceColour(style), kLayout.metrics.keyRadius);
}

// The label, with the second function small and orange above it.
void drawKeyLabels(Canvas& canvas, const QRectF& logicalKey, const GridKey& key, int labelPixels, int secondPixels)
{
    const Metrics& m = kLayout.metrics;
    const QRectF keyRect = canvas.rect(logicalKey);
    const qreal room = keyRect.width() - 2 * canvas.px(m.labelMargin + m.keyBorder);
    qreal labelTop = keyRect.top();
    if (!key.second.empty()) {
        const QString second = text(key.second);
        const QFont secondFont =
            fittedFont(second, canvas.scale * secondPixels, canvas.scale * m.minLabelPixels, false, room);
        const qreal capLine = keyRect.top() + canvas.px(m.secondTop);
        const qreal baseline = capLine + QFontMetricsF(secondFont).capHeight();
        drawLabel(canvas.painter, second, secondFont, colour(kLayout.palette.second), keyRect.center().x(), baseline);
        labelTop = baseline + canvas.px(1);
    }
    if (key.label.empty())
        return;
    const QString label = text(key.label);
    // Single signs (digits, operators) read better heavy; words stay regular to fit.
    const bool bold = key.style == KeyStyle::Accent || label.size() == 1;
    const QFont labelFont = fittedFont(label, canvas.scale * labelPixels, canvas.scale * m.minLabelPixels, bold, room);
    // Centre the capitals in the room left under the second label.
    const qreal capHeight = QFontMetricsF(labelFont).capHeight();
    const qreal baseline = (labelTop + keyRect.bottom() + capHeight) / 2;
    drawLabel(canvas.painter, label, labelFont, labelColour(key.style), keyRect.center().x(), baseline);
}

KeyStyle basicKeyStyle(std::u16string_view label)
{
    if (label == u"=")
        return KeyStyle::Accent;
    if (label == u"C")
        return KeyStyle::Danger;
    if (label == u"M" || label == u"R" || label == u"\u00F7" || label == u"\u00D7" || label == u"\u2212" ||
        label == u"+")
        return KeyStyle::Operator;
    return KeyStyle::Digit;
}

KeyStyle numberPadKeyStyle(toolKeypads::NumberPadKey key)
{
    using toolKeypads::NumberPadKey;
    switch (key) {
    case NumberPadKey::Clear:
    case NumberPadKey::Delete: return KeyStyle::Danger;
    case NumberPadKey::Minus: return KeyStyle::Operator;
    case NumberPadKey::Ok: return KeyStyle::Accent;
    case NumberPadKey::Digit:
    case NumberPadKey::Point:
    case NumberPadKey::Sign: break;
    }
    return KeyStyle::Digit;
}

KeyStyle dateTimeKeyStyle(toolKeypads::DateTimeKey key)
{
    using toolKeypads::DateTimeKey;
    switch (key) {
    case DateTimeKey::Digit: return KeyStyle::Digit;
    case DateTimeKey::ClearCell: return KeyStyle::Danger;
    case DateTimeKey::Left:
    case DateTimeKey::Right:
    case DateTimeKey::Up:
    case DateTimeKey::Down: return KeyStyle::Edit;
    case DateTimeKey::Unit:
    case DateTimeKey::Now:
    case DateTimeKey::Leap: break;
    }
    return KeyStyle::Function;
}

KeyStyle graphOperatorKeyStyle(const toolKeypads::GraphOperatorFace& face)
{
    if (face.text.empty())
        return KeyStyle::Danger;
    if (face.label == u"(" || face.label == u")")
        return KeyStyle::Edit;
    if (face.label.size() == 1 && face.label != u"x")
        return KeyStyle::Operator;
    return KeyStyle::Function;
}

std::vector<GridKey> keysOf(const ImagePlan& plan)
{
    std::vector<GridKey> keys;
    const int count = plan.grid.columns * plan.grid.rows;
    switch (plan.keypad) {
    case Keypad::BasicPortrait:
    case Keypad::BasicLandscape: {
        const Orientation orientation =
            plan.keypad == Keypad::BasicPortrait ? Orientation::Portrait : Orientation::Landscape;
        for (int position = 0; position < count; ++position) {
            const KeyFace face = basicKeypadFace(orientation, position);
            keys.push_back({face.label, face.second, basicKeyStyle(face.label)});
        }
        break;
    }
    case Keypad::Function: {
        const auto faces = functionKeypadFaces(plan.category);
        for (int position = 0; position < count; ++position) {
            const KeyFace& face = faces[static_cast<std::size_t>(position)];
            KeyStyle style = position >= kFunctionKeypadKeys ? KeyStyle::Edit : KeyStyle::Function;
            if (functionKeypadSpecial(plan.category, position) == KeypadSpecial::Shift)
                style = KeyStyle::Shift;
            keys.push_back({face.label, face.second, style});
        }
        break;
    }
    case Keypad::DateTime:
        for (const toolKeypads::DateTimeFace& face : toolKeypads::kDateTimeKeys)
            keys.push_back({face.label, u"", dateTimeKeyStyle(face.key)});
        break;
    case Keypad::NumberPad:
        for (const toolKeypads::NumberPadFace& face : toolKeypads::kNumberPadKeys)
            keys.push_back({face.label, u"", numberPadKeyStyle(face.key)});
        break;
    case Keypad::GraphOperators:
        for (const toolKeypads::GraphOperatorFace& face : toolKeypads::kGraphOperatorKeys)
            keys.push_back({face.label, u"", graphOperatorKeyStyle(face)});
        break;
    case Keypad::Formula:
        for (const toolKeypads::FormulaFace& face : toolKeypads::kFormulaKeys)
            keys.push_back(
                {face.label, u"", face.key == toolKeypads::FormulaKey::Close ? KeyStyle::Danger : KeyStyle::Function});
        break;
    case Keypad::None: break;
    }
    if (static_cast<int>(keys.size()) != count)
        report(std::string(plan.key) + ": the grid does not match its key table");
    return keys;
}

// One key of a grid; twin keys side by side (the landscape pad's two clear keys) become one
// wide key, since either half sends the same code.
struct Cell {
    int column;
    int row;
    int span;
    GridKey key;
};

std::vector<Cell> cellsOf(const std::vector<GridKey>& keys, KeypadGrid grid)
{
    std::vector<Cell> cells;
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            const std::size_t index = static_cast<std::size_t>(row * grid.columns + column);
            if (index >= keys.size())
                return cells;
            const GridKey& key = keys[index];
            if (!cells.empty() && column > 0 && !key.label.empty()) {
                Cell& previous = cells.back();
                if (previous.row == row && previous.key.label == key.label && previous.key.second == key.second) {
                    ++previous.span;
                    continue;
                }
            }
            cells.push_back({column, row, 1, key});
        }
    }
    return cells;
}

QRectF keyRect(const QRectF& area, KeypadGrid grid, const Cell& cell)
{
    const qreal width = area.width() / grid.columns;
    const qreal height = area.height() / grid.rows;
    const qreal inset = kLayout.metrics.keyInset;
    return QRectF(area.x() + cell.column * width, area.y() + cell.row * height, width * cell.span, height)
        .adjusted(inset, inset, -inset, -inset);
}

void drawKeypad(Canvas& canvas, const ImagePlan& plan, const QRectF& area, bool faces, bool labels)
{
    for (const Cell& cell : cellsOf(keysOf(plan), plan.grid)) {
        const QRectF key = keyRect(area, plan.grid, cell);
        if (faces)
            drawKeyFace(canvas, key, cell.key.style);
        if (labels)
            drawKeyLabels(canvas, key, cell.key, plan.labelPixels, plan.secondPixels);
    }
}

QPainterPath toolsPanelShape(const Canvas& canvas, const QRectF& logical)
{
    QPainterPath shape;
    const qreal radius = canvas.px(kLayout.metrics.panelRadius);
    shape.addRoundedRect(canvas.rect(logical), radius, radius);
    return shape;
}

void drawToolsPanel(Canvas& canvas, const QRectF& logical)
{
    const Palette& p = kLayout.palette;
    const Metrics& m = kLayout.metrics;
    canvas.painter.fillPath(toolsPanelShape(canvas, logical), colour(p.panelBorder));
    const QRectF inner = logical.adjusted(m.keyBorder, m.keyBorder, -m.keyBorder, -m.keyBorder);
    QPainterPath fill;
    const qreal radius = canvas.px(m.panelRadius - m.keyBorder);
    fill.addRoundedRect(canvas.rect(inner), radius, radius);
    canvas.painter.fillPath(fill, colour(p.panel));
    // A grab handle says that the panel slides over the keypad.
    const QRectF handle((logical.width() - m.panelHandleWidth) / 2, m.panelHandleTop, m.panelHandleWidth,
                        m.panelHandleHeight);
    QPainterPath handlePath;
    handlePath.addRoundedRect(canvas.rect(handle), canvas.px(m.panelHandleHeight) / 2,
                              canvas.px(m.panelHandleHeight) / 2);
    canvas.painter.fillPath(handlePath, colour(p.panelBorder));
}

// Binary on purpose: the window may turn the mask into a region, which has no partial pixels.
void drawToolsPanelMask(Canvas& canvas, const QRectF& logical)
{
    canvas.painter.setRenderHint(QPainter::Antialiasing, false);
    canvas.painter.fillPath(toolsPanelShape(canvas, logical), Qt::white);
}

void drawListBox(Canvas& canvas, const QRectF& logical)
{
    const Palette& p = kLayout.palette;
    const int border = kLayout.metrics.keyBorder;
    canvas.painter.fillRect(canvas.rect(logical), colour(p.listBorder));
    canvas.painter.fillRect(canvas.rect(logical.adjusted(border, border, -border, -border)), colour(p.list));
}

void drawArrowButton(Canvas& canvas, const QRectF& logicalKey, bool up)
{
    drawKeyFace(canvas, logicalKey, KeyStyle::Function);
    // Whole-pixel corners and 45-degree sides keep the small arrow sharp.
    const qreal half = kLayout.metrics.listArrowHalfWidth;
    const qreal rise = up ? -half / 2 : half / 2;
    const QPointF centre = logicalKey.center();
    const QPolygonF arrow({QPointF(centre.x() - half, centre.y() - rise) * canvas.scale,
                           QPointF(centre.x() + half, centre.y() - rise) * canvas.scale,
                           QPointF(centre.x(), centre.y() + rise) * canvas.scale});
    canvas.painter.setPen(Qt::NoPen);
    canvas.painter.setBrush(colour(kLayout.palette.label));
    canvas.painter.drawPolygon(arrow);
}

void drawListBoxButtons(Canvas& canvas)
{
    const int side = kLayout.metrics.listArrowSide;
    drawArrowButton(canvas, QRectF(0, 0, side, side), true);
    drawArrowButton(canvas, QRectF(side, 0, side, side), false);
}

// A rounded mark (a tiny calculator: display bar over a key grid) and the name.
void drawLogo(Canvas& canvas, const QRectF& logical)
{
    const Palette& p = kLayout.palette;
    const Metrics& m = kLayout.metrics;
    const int side = m.logoMarkSide;
    const QRectF mark(m.logoMarkLeft, (logical.height() - side) / 2, side, side);
    drawRoundedFace(canvas, mark, colour(p.accentFace), m.logoMarkRadius);

    // Three keys a row, with a key's width between rows, under a display bar of the same width.
    const QColor ink = colour(p.label);
    const int pad = m.logoMarkPad;
    const int dot = m.logoMarkDot;
    const int step = (side - 2 * pad - dot) / 2;
    canvas.painter.fillRect(canvas.rect(QRectF(mark.x() + pad, mark.y() + pad, side - 2 * pad, dot)), ink);
    for (int row = 1; row <= 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRectF key(mark.x() + pad + column * step, mark.y() + pad + row * step, dot, dot);
            canvas.painter.fillRect(canvas.rect(key), row == 2 && column == 2 ? colour(p.second) : ink);
        }
    }

    const QString name = QStringLiteral("Corvan");
    const qreal textLeft = canvas.px(mark.right() + m.logoTextGap);
    const QFont nameFont = fittedFont(name, canvas.scale * m.logoTextPixels, canvas.scale * m.minLabelPixels, true,
                                      canvas.px(logical.width()) - textLeft);
    const QFontMetricsF metrics(nameFont);
    checkGlyphs(nameFont, name);
    canvas.painter.setFont(nameFont);
    canvas.painter.setPen(ink);
    const qreal baseline = canvas.px(logical.height()) / 2 + metrics.capHeight() / 2;
    canvas.painter.drawText(QPointF(std::round(textLeft), std::round(baseline)), name);
}

// A miniature of the window: the display, the arithmetic keypad and the basic keypad.
void drawSkinPreview(Canvas& canvas, const QRectF& logical)
{
    const Palette& p = kLayout.palette;
    const Metrics& m = kLayout.metrics;
    canvas.painter.fillRect(canvas.rect(logical), colour(p.backdrop));

    const qreal inset = m.keyInset;
    const QRectF display(inset, inset, logical.width() - 2 * inset, m.previewDisplayHeight - 2 * inset);
    drawRoundedFace(canvas, display, colour(p.display), m.keyRadius);
    const QFont small = font(kLayout.fontFamily, canvas.scale * m.previewIndicatorPixels, false);
    canvas.painter.setFont(small);
    canvas.painter.setPen(colour(p.dimLabel));
    canvas.painter.drawText(canvas.rect(display.adjusted(4, 3, -4, -3)), Qt::AlignLeft | Qt::AlignTop,
                            QStringLiteral("DEG"));
    const QFont result = font(kLayout.fontFamily, canvas.scale * m.previewResultPixels, false);
    canvas.painter.setFont(result);
    canvas.painter.setPen(colour(p.displayText));
    canvas.painter.drawText(canvas.rect(display.adjusted(4, 3, -5, -3)), Qt::AlignRight | Qt::AlignBottom,
                            QStringLiteral("3.14159"));

    const ImagePlan functions{
        "", "", 0, 0, Art::Keys, Keypad::Function, CategoryCode::kArithmetic, kFunctionKeypadGrid};
    const QRectF functionArea(0, m.previewDisplayHeight, logical.width(),
                              kFunctionKeypadGrid.rows * m.previewFunctionRowHeight);
    drawKeypad(canvas, functions, functionArea, true, false);

    const ImagePlan basic{"", "", 0, 0, Art::Keys, Keypad::BasicPortrait, 0, kBasicPortraitGrid, m.previewLabelPixels,
                          0};
    const QRectF basicArea(0, functionArea.bottom(), logical.width(),
                           kBasicPortraitGrid.rows * m.previewBasicRowHeight);
    drawKeypad(canvas, basic, basicArea, true, false);
    // Labels without second functions: at this size they would be noise.
    for (const Cell& cell : cellsOf(keysOf(basic), basic.grid)) {
        GridKey key = cell.key;
        key.second = {};
        drawKeyLabels(canvas, keyRect(basicArea, basic.grid, cell), key, basic.labelPixels, 0);
    }
    if (basicArea.bottom() != logical.height())
        report("the preview's parts do not fill it");
}

QImage drawImage(const ImagePlan& plan, int scale)
{
    QImage image(plan.width * scale, plan.height * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    Canvas canvas{painter, scale};
    const QRectF whole(0, 0, plan.width, plan.height);
    switch (plan.art) {
    case Art::Keys:
    case Art::Buttons:
        painter.fillRect(canvas.rect(whole), colour(kLayout.palette.backdrop));
        drawKeypad(canvas, plan, whole, true, plan.art == Art::Keys);
        break;
    case Art::Labels: drawKeypad(canvas, plan, whole, false, true); break;
    case Art::ToolsPanel: drawToolsPanel(canvas, whole); break;
    case Art::ToolsPanelMask: drawToolsPanelMask(canvas, whole); break;
    case Art::ListBox: drawListBox(canvas, whole); break;
    case Art::ListBoxButtons: drawListBoxButtons(canvas); break;
    case Art::Logo: drawLogo(canvas, whole); break;
    case Art::SkinPreview: drawSkinPreview(canvas, whole); break;
    }
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

bool writeText(const QString& path, const std::string& contents)
{
    if (!writeFileAtomically(path.toStdString(), contents)) {
        report("cannot write " + path.toStdString());
        return false;
    }
    return true;
}

std::string colourFileText()
{
    std::string contents;
    for (std::size_t i = 0; i < kSkinColourKeys.size(); ++i) {
        const Rgb& rgb = kLayout.frameColours[i];
        contents += std::string(kSkinColourKeys[i]) + "=" + std::to_string(rgb.red) + "," + std::to_string(rgb.green) +
                    "," + std::to_string(rgb.blue) + "\n";
    }
    return contents;
}

bool sameDrawing(const ImagePlan& a, const ImagePlan& b)
{
    return a.width == b.width && a.height == b.height && a.art == b.art && a.keypad == b.keypad &&
           a.category == b.category && a.grid.columns == b.grid.columns && a.grid.rows == b.grid.rows &&
           a.labelPixels == b.labelPixels && a.secondPixels == b.secondPixels;
}

// Every key the calculator asks for is drawn, nothing it does not know is written, and keys that
// share a file agree on what it shows.
void checkTable()
{
    for (std::string_view key : kSkinImageKeys) {
        const auto named = [key](const ImagePlan& plan) { return plan.key == key; };
        if (std::none_of(kImages.begin(), kImages.end(), named))
            report("no image for the key " + std::string(key));
    }
    for (const ImagePlan& plan : kImages) {
        if (std::find(kSkinImageKeys.begin(), kSkinImageKeys.end(), plan.key) == kSkinImageKeys.end())
            report("the calculator does not ask for " + std::string(plan.key));
        for (const ImagePlan& other : kImages) {
            if (other.file == plan.file && !sameDrawing(other, plan))
                report(std::string(plan.key) + " and " + std::string(other.key) + " share a file but differ");
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    // Drawing needs no screen; the offscreen platform also keeps the fonts the same everywhere.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: corvan-skin-generator OUTPUT_DIR\n");
        return 2;
    }
    const QDir folder(arguments[1] + QStringLiteral("/Interfaces"));
    if (!folder.mkpath(QStringLiteral("."))) {
        report("cannot make " + folder.path().toStdString());
        return 1;
    }
    checkTable();
    // Another font would change every label's fit; the images are drawn with these only.
    for (std::string_view family : {kLayout.fontFamily, kLayout.condensedFontFamily}) {
        if (QFontInfo(font(family, 10, false)).family() != text(family))
            report("the font \"" + std::string(family) + "\" is not installed");
    }

    std::string skin = "; The default skin of Corvan, drawn by corvan-skin-generator\n";
    std::set<std::string> written;
    for (const ImagePlan& plan : kImages) {
        skin += std::string(plan.key) + "=" + std::string(plan.file) + "\n";
        for (const int scale : kScales) {
            const std::string name = scaledName(plan.file, scale);
            if (!written.insert(name).second)
                continue;
            const QString path = folder.filePath(text(std::string_view(name)));
            QBuffer png;
            png.open(QIODevice::WriteOnly);
            QImageWriter writer(&png, "png");
            writer.setQuality(0);  // the PNG writer's smallest output
            if (!writer.write(drawImage(plan, scale)))
                report("cannot draw " + path.toStdString() + ": " + writer.errorString().toStdString());
            else
                writeText(path, png.data().toStdString());
        }
    }
    skin += std::string(kSkinColourFileKey) + "=" + std::string(kColourFile) + "\n";
    for (const int scale : kScales)
        writeText(folder.filePath(text(std::string_view(scaledName(kColourFile, scale)))), colourFileText());
    writeText(folder.filePath(text(kSkinFile)), skin);

    // The key click ships beside the skin: the preferences name "Sound 01.wav" by default.
    const QDir sounds(arguments[1] + QStringLiteral("/Sounds"));
    if (!sounds.mkpath(QStringLiteral(".")) ||
        !writeClickWav(sounds.filePath(QStringLiteral("Sound 01.wav")).toStdString()))
        report("cannot write the key sound into " + sounds.path().toStdString());
    return problems == 0 ? 0 : 1;
}
