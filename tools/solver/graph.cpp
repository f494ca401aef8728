#include "graph.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "engine.h"

namespace {

// A wide range gets a coarser step so a curve still spans the view within its point arrays;
// the margin leaves room for the extra points at domain edges.
constexpr double kSamplePositions = 960.0;
// Bounds the sample loop even when x + h rounds back to x far from the origin.
constexpr std::size_t kMaxSampleSteps = 4 * GraphCurve::kMaxPoints;
constexpr int kMaxBisections = 200;
// A curve that still needs more points than the arrays hold at 2^kMaxCoarsenings times the
// first step (fewer than 8 samples across the view) is marked as stopped.
constexpr int kMaxCoarsenings = 7;
constexpr int kMaxPoleChecks = 64;

int clampScale(int scale)
{
    return std::clamp(scale, Graph::kMinScale, Graph::kMaxScale);
}

// "%.2lf" that keeps a point as the decimal sign whatever the process locale.
std::string fixed2(double value)
{
    std::array<char, 512> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 2);
    return std::string(buffer.data(), result.ec == std::errc() ? result.ptr : buffer.data());
}

}  // namespace

Graph::Graph(Engine& engine) : engine_(engine)
{
    recomputeRange();
}

void Graph::setFieldText(std::size_t field, std::string text)
{
    if (field < kFieldCount)
        fields_[field] = std::move(text);
}

void Graph::showPlot()
{
    clearCurves();
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (!fields_[i].empty())
            addCurve(fields_[i], kVariable, kCurveColours[i]);
    }
    plotShown_ = true;
}

void Graph::setPlotSize(int width, int height)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    originX_ = width_ / 2;
    originY_ = height_ / 2;
    recomputeRange();
    resampleAll();
}

void Graph::addCurve(std::string_view text, std::string_view variable, std::uint32_t colour)
{
    GraphCurve curve;
    curve.text = std::string(text);
    curve.variable = std::string(variable);
    curve.colour = colour;
    curve.xs.assign(GraphCurve::kMaxPoints, 0.0);
    curve.ys.assign(GraphCurve::kMaxPoints, 0.0);
    engine_.resetError();
    std::string expanded = curve.text;
    const bool usable = engine_.expandFunctionCalls(expanded, 10);
    if (!usable)
        curve.problem = errorMessage(engine_.error());
    engine_.resetError();
    curves_.push_back(std::move(curve));
    GraphCurve& added = curves_.back();
    if (!usable) {
        // Not sampled now nor after a range change: the text has calls the engine refused.
        added.xs.clear();
        added.ys.clear();
        return;
    }
    added.text = std::move(expanded);
    sample(added);
    if (added.count > 0)
        return;
    // Nowhere defined in view: one evaluation tells why (a syntax error, a domain error).
    const AngleModeScope scope(engine_.settings);
    engine_.settings.angleMode = angleMode_;
    engine_.setBoundExpression(added.text, added.variable);
    double y = 0.0;
    if (!evaluate(added, (xMin_ + xMax_) / 2, y))
        added.problem = engine_.error() != ErrorCode::kNone ? errorMessage(engine_.error()) : u"Out of range error";
    engine_.resetError();
}

void Graph::resetView()
{
    if (panX_ == 0 && panY_ == 0 && scaleX_ == kStartScale && scaleY_ == kStartScale)
        return;
    panX_ = 0;
    panY_ = 0;
    scaleX_ = scaleY_ = kStartScale;
    previewScaleX_ = previewScaleY_ = kStartScale;
    xMin_ = originX_ * -0.05;
    xMax_ = (width_ - originX_) * 0.05;
    resampleAll();
}

void Graph::setPenMode(int mode)
{
    if (mode < kPenPan || mode > kPenCoordinates)
        return;
    penMode_ = mode;
    if (mode != kPenCoordinates)
        crossHair_ = false;
}

double Graph::planeX(int column) const
{
    return static_cast<double>(column - panX_ - originX_) / scaleX_;
}

double Graph::planeY(int row) const
{
    return static_cast<double>(originY_ + panY_ - row) / scaleY_;
}

std::string Graph::coordinateXText(int column) const
{
    return "X=" + fixed2(planeX(column));
}

std::string Graph::coordinateYText(int row) const
{
    return "Y=" + fixed2(planeY(row));
}

bool Graph::inModeBox(int column, int row) const
{
    return column >= width_ - kModeBoxSize && column < width_ && row >= 0 && row < kModeBoxSize;
}

void Graph::penDown(int column, int row)
{
    penActive_ = true;
    pressInModeBox_ = inModeBox(column, row);
    downColumn_ = lastColumn_ = column;
    downRow_ = lastRow_ = row;
    downScaleX_ = scaleX_;
    downScaleY_ = scaleY_;
    previewScaleX_ = scaleX_;
    previewScaleY_ = scaleY_;
    if (!pressInModeBox_ && penMode_ == kPenCoordinates) {
        crossHair_ = true;
        cursorColumn_ = column;
        cursorRow_ = row;
    }
}

void Graph::penMove(int column, int row)
{
    if (!penActive_ || pressInModeBox_)
        return;
    // Zoom follows the whole drag from the press: right and up enlarge, one unit per pixel.
    const int zoomX = clampScale(downScaleX_ + (column - downColumn_));
    const int zoomY = clampScale(downScaleY_ + (downRow_ - row));
    switch (penMode_) {
    case kPenPan: {
        const int dx = column - lastColumn_;
        panX_ += dx;
        panY_ += row - lastRow_;
        recomputeRange();
        if (dx != 0)
            resampleAll();
        break;
    }
    case kPenZoom: applyZoom(zoomX, zoomY); break;
    case kPenZoomPreview:
        previewScaleX_ = zoomX;
        previewScaleY_ = zoomY;
        break;
    default:
        cursorColumn_ = column;
        cursorRow_ = row;
        break;
    }
    lastColumn_ = column;
    lastRow_ = row;
}

void Graph::penUp(int column, int row)
{
    if (!penActive_)
        return;
    if (pressInModeBox_) {
        penActive_ = false;
        if (inModeBox(column, row))
            setPenMode(penMode_ == kPenCoordinates ? kPenPan : penMode_ + 1);
        return;
    }
    penMove(column, row);
    penActive_ = false;
    if (penMode_ == kPenZoomPreview)
        applyZoom(previewScaleX_, previewScaleY_);
}

void Graph::applyZoom(int newScaleX, int newScaleY)
{
    // The visible x range depends on scaleX alone while pan and origin stay.
    const bool rangeChanged = newScaleX != scaleX_;
    scaleX_ = previewScaleX_ = newScaleX;
    scaleY_ = previewScaleY_ = newScaleY;
    if (rangeChanged) {
        recomputeRange();
        resampleAll();
    }
}

void Graph::recomputeRange()
{
    xMin_ = -static_cast<double>(panX_ + originX_) / scaleX_;
    xMax_ = static_cast<double>(width_ - panX_ - originX_) / scaleX_;
}

void Graph::resampleAll()
{
    for (GraphCurve& curve : curves_) {
        if (!curve.xs.empty())
            sample(curve);
    }
}

bool Graph::evaluate(const GraphCurve& curve, double x, double& y)
{
    engine_.resetError();
    y = engine_.evaluateAtCached(x, curve.text);
    return engine_.error() == ErrorCode::kNone && std::isfinite(y);
}

double Graph::bisect(const GraphCurve& curve, double good, double bad)
{
    for (int i = 0; i < kMaxBisections && std::fabs(bad - good) > kEdgeTolerance; ++i) {
        const double mid = (good + bad) / 2;
        if (mid == good || mid == bad)
            break;  // no double between them: as close as this x can get
        double y = 0.0;
        if (evaluate(curve, mid, y))
            good = mid;
        else
            bad = mid;
    }
    return good;
}

bool Graph::jumpsThroughPole(const GraphCurve& curve, double x0, double y0, double x1, double y1)
{
    if (!((y0 < 0.0 && y1 > 0.0) || (y0 > 0.0 && y1 < 0.0)))
        return false;
    // Narrow the sign change down to the last double. Near a zero (sin x, or a curve sampled
    // too coarsely to show its waves) the values at the bracket's ends end up small; near a
    // pole (1/x, tan x) the end nearest the pole only grows, without bound. A jump that does
    // neither (a step) stays joined.
    const double start = std::max(std::fabs(y0), std::fabs(y1));
    double lo = x0;
    double loY = y0;
    double hi = x1;
    double hiY = y1;
    double reach = start;
    for (int i = 0; i < kMaxPoleChecks; ++i) {
        const double mid = (lo + hi) / 2;
        if (mid == lo || mid == hi)
            break;
        double y = 0.0;
        // Undefined somewhere between two good samples: not a line to draw either.
        if (!evaluate(curve, mid, y))
            return true;
        if ((y < 0.0) == (loY < 0.0)) {
            lo = mid;
            loY = y;
        } else {
            hi = mid;
            hiY = y;
        }
        reach = std::max(std::fabs(loY), std::fabs(hiY));
        if (reach < 0.5 * start)
            return false;
    }
    return reach > 2.0 * start;
}

// Example, sqrt(x) over [-6, 6]: nothing is stored until the first sample at or right of 0;
// asin(x) stores samples up to 1 - h, then the bisected edge within 1e-10 of 1, then skips to
// the end of the range.
void Graph::sample(GraphCurve& curve)
{
    const AngleModeScope scope(engine_.settings);
    engine_.settings.angleMode = angleMode_;
    engine_.setBoundExpression(curve.text, curve.variable);
    curve.startsPiece.assign(GraphCurve::kMaxPoints, 0);
    // At least one sample per 1/kSamplePositions of the range; a function that needs more
    // points than the arrays hold (many domain edges, each two points) is sampled again with
    // a coarser step, so the arrays are never why a curve ends.
    const double span = scaleX_ > 0 ? static_cast<double>(width_) / scaleX_ : 0.0;
    double h = std::max(sampleStep_, span / kSamplePositions);
    const double rangeEnd = xMax_;
    for (int attempt = 0; attempt <= kMaxCoarsenings; ++attempt, h *= 2) {
        xMax_ = rangeEnd;
        if (sampleWithStep(curve, h))
            break;
    }
    engine_.resetError();
}

bool Graph::sampleWithStep(GraphCurve& curve, double h)
{
    curve.count = 0;
    curve.complete = true;
    curve.stoppedAt = 0.0;
    std::size_t steps = 0;
    // Whether the next stored point starts a new piece: the first one does, and so does the
    // first after an undefined stretch.
    bool newPiece = true;
    auto put = [&](double x, double y) {
        bool starts = newPiece;
        if (!starts && jumpsThroughPole(curve, curve.xs[curve.count - 1], curve.ys[curve.count - 1], x, y))
            starts = true;
        curve.xs[curve.count] = x;
        curve.ys[curve.count] = y;
        curve.startsPiece[curve.count] = starts ? 1 : 0;
        ++curve.count;
        newPiece = false;
    };
    auto store = [&](double x) {
        double y = 0.0;
        if (curve.count < GraphCurve::kMaxPoints && evaluate(curve, x, y))
            put(x, y);
    };
    auto bounded = [&] { return curve.count < GraphCurve::kMaxPoints && steps++ < kMaxSampleSteps; };

    double x = xMin_;
    bool passedEnd = true;
    while (x <= xMax_) {
        if (!bounded()) {
            passedEnd = false;
            break;
        }
        double y = 0.0;
        if (evaluate(curve, x, y)) {
            put(x, y);
            x += h;
            continue;
        }
        if (curve.count == 0) {
            x += h;
            continue;
        }
        store(bisect(curve, x - h, x));
        newPiece = true;
        // Skip the undefined stretch; x is already known to fail.
        bool found = false;
        x += h;
        while (x <= xMax_ && bounded()) {
            const bool ok = evaluate(curve, x, y);
            x += h;
            if (ok) {
                found = true;
                break;
            }
        }
        if (!found) {
            passedEnd = x > xMax_;
            break;
        }
        const double restart = bisect(curve, x - h, x - 2 * h);
        store(restart);
        x = restart + h;
    }
    if (passedEnd) {
        xMax_ = x - h;
        return true;
    }
    curve.complete = false;
    curve.stoppedAt = curve.count > 0 ? curve.xs[curve.count - 1] : x;
    return false;
}
