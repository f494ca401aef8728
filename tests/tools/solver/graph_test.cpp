#include "graph.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine.h"

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 320;

struct Fixture {
    Engine engine;
    Graph graph{engine};
    Fixture() { graph.setPlotSize(kWidth, kHeight); }

    const GraphCurve& add(const std::string& text)
    {
        graph.addCurve(text, "x", Graph::kCurveColours[0]);
        return graph.curves().back();
    }
};

// How far x sits from the nearest sample position xMin + k h, in steps.
double samplePositionOffset(const Graph& graph, double x)
{
    const double k = (x - graph.xMin()) / graph.sampleStep();
    return std::fabs(k - std::round(k));
}

void expectIncreasing(const GraphCurve& curve)
{
    for (std::size_t i = 1; i < curve.count; ++i)
        ASSERT_LT(curve.xs[i - 1], curve.xs[i]) << curve.text << " at " << i;
}

TEST(GraphModel, CurvesStopAtDomainEdges)
{
    struct Case {
        const char* text;
        double firstX;  // NaN: the first sample position at or right of 0
        double lastX;   // NaN: the last sample position of the range
        double edgeTolerance;
    };
    const double sampled = std::nan("");
    const Case cases[] = {
        {"sqrt(x)", sampled, sampled, 0},
        // 1 is no sample position, yet the curve ends within the tolerance of it.
        {"asin(x)", -1.0, 1.0, 1e-9},
        {"x^2", -6.0, sampled, 0},
    };
    for (const Case& c : cases) {
        Fixture f;
        const GraphCurve& curve = f.add(c.text);
        ASSERT_GT(curve.count, 10u) << c.text;
        expectIncreasing(curve);
        const double first = curve.xs[0];
        const double last = curve.xs[curve.count - 1];
        if (std::isnan(c.firstX)) {
            EXPECT_GE(first, 0.0) << c.text;
            EXPECT_LT(first, f.graph.sampleStep()) << c.text;
        } else if (c.edgeTolerance == 0) {
            EXPECT_DOUBLE_EQ(first, c.firstX) << c.text;
        } else {
            // Left edges are never bisected: the first point is a sample position.
            EXPECT_GE(first, c.firstX) << c.text;
            EXPECT_LT(first, c.firstX + f.graph.sampleStep()) << c.text;
            EXPECT_LT(samplePositionOffset(f.graph, first), 1e-6) << c.text;
        }
        if (std::isnan(c.lastX)) {
            EXPECT_GT(last, 6.0 - f.graph.sampleStep()) << c.text;
            EXPECT_LE(last, 6.0) << c.text;
        } else {
            EXPECT_LE(last, c.lastX) << c.text;
            EXPECT_NEAR(last, c.lastX, c.edgeTolerance) << c.text;
        }
    }
}

TEST(GraphModel, UndefinedStretchIsBracketedByBothEdges)
{
    Fixture f;
    const GraphCurve& curve = f.add("sqrt(x^2-1)");
    expectIncreasing(curve);
    std::size_t gap = curve.count;
    for (std::size_t i = 1; i < curve.count; ++i) {
        if (curve.xs[i] - curve.xs[i - 1] > 1.5)
            gap = i;
    }
    ASSERT_LT(gap, curve.count);
    EXPECT_NEAR(curve.xs[gap - 1], -1.0, 1e-9);
    EXPECT_NEAR(curve.xs[gap], 1.0, 1e-9);
    EXPECT_GE(curve.xs[gap], 1.0);
    for (std::size_t i = 0; i < curve.count; ++i)
        EXPECT_FALSE(curve.xs[i] > -1.0 && curve.xs[i] < 1.0) << curve.xs[i];
}

TEST(GraphModel, FailingTextsStoreNothingAndLeaveNoError)
{
    for (const char* text : {"1/0", "gcd(x,4)", "sqrt(-1-x^2)", "+"}) {
        Fixture f;
        EXPECT_EQ(f.add(text).count, 0u) << text;
        EXPECT_EQ(f.engine.error(), 0) << text;
    }
}

TEST(GraphModel, WideRangesStayWithinThePointArrays)
{
    Engine engine;
    Graph graph(engine);
    graph.setPlotSize(4000, 300);
    graph.addCurve("sin(x)", "x", 0);
    graph.addCurve("tan(x)", "x", 0);
    graph.setPenMode(Graph::kPenZoom);
    graph.penDown(100, 100);
    graph.penUp(0, 100);  // down to scale 8: 500 units wide
    ASSERT_EQ(graph.scaleX(), 8);
    for (const GraphCurve& curve : graph.curves()) {
        EXPECT_LE(curve.count, GraphCurve::kMaxPoints);
        ASSERT_GT(curve.count, 100u);
        // Still spanning the view rather than stopping part way.
        EXPECT_LT(curve.xs[0], -240.0);
        EXPECT_GT(curve.xs[curve.count - 1], 240.0);
    }
}

// Zooms to a scale with a drag of the zoom pen, as the window does.
void zoomTo(Graph& graph, int scale)
{
    graph.setPenMode(Graph::kPenZoom);
    graph.penDown(100, 100);
    graph.penUp(100 + scale - graph.scaleX(), 100);
    graph.setPenMode(Graph::kPenPan);
}

std::size_t pieceCount(const GraphCurve& curve)
{
    std::size_t pieces = 0;
    for (std::size_t i = 0; i < curve.count; ++i)
        pieces += curve.joinsPrevious(i) ? 0 : 1;
    return pieces;
}

TEST(GraphModel, ContinuousCurvesAreOnePieceAtEveryZoomAndWidth)
{
    // The sampling step grows with the visible range (47.5 units and more at scale 20 from a
    // width of 950): the pieces must not depend on it.
    for (const int width : {60, 240, 480, 949, 951, 1200, 2000, 4000}) {
        for (const int scale : {8, 13, 20, 47, 96}) {
            for (const char* text : {"sin(x)", "x^2/10", "x^3/100-x", "atan(1000*x)", "exp(x/5)", "cos(30*x)"}) {
                SCOPED_TRACE(std::string(text) + " width " + std::to_string(width) + " scale " + std::to_string(scale));
                Engine engine;
                Graph graph(engine);
                graph.setAngleMode(AngleMode::Radians);
                graph.setPlotSize(width, 300);
                zoomTo(graph, scale);
                ASSERT_EQ(graph.scaleX(), scale);
                graph.addCurve(text, "x", 0);
                const GraphCurve& curve = graph.curves().back();
                ASSERT_GT(curve.count, 1u);
                EXPECT_EQ(pieceCount(curve), 1u);
                EXPECT_TRUE(curve.complete);
                EXPECT_DOUBLE_EQ(curve.xs[0], -static_cast<double>(width / 2) / scale);
                EXPECT_GE(curve.xs[curve.count - 1], static_cast<double>(width - width / 2) / scale -
                                                         2 * graph.sampleStep() -
                                                         static_cast<double>(width) / scale / 960.0 * 2);
            }
        }
    }
}

TEST(GraphModel, PiecesEndAtDomainEdgesAndPoles)
{
    struct Case {
        const char* text;
        int width;
        int scale;
        std::size_t pieces;
    };
    const Case cases[] = {
        {"sqrt(x^2-1)", 240, 20, 2},                           // undefined between -1 and 1
        {"sqrt(x^2-1)", 2000, 20, 2}, {"1/x", 240, 20, 2},     // through infinity at 0, although no sample is 0
        {"1/x", 1000, 8, 2},          {"tan(x)", 240, 20, 5},  // poles at -3pi/2, -pi/2, pi/2 and 3pi/2 in [-6, 6]
        {"tan(x)", 2000, 20, 33},                              // 32 poles in [-50, 50]
        {"1/(x-0.3)", 480, 96, 2},    {"ln(x)", 480, 20, 1},   // defined only right of 0: one piece
        {"x/abs(x)", 240, 20, 2},  // undefined at 0 only when a sample hits it; a step otherwise
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " width " + std::to_string(c.width));
        Engine engine;
        Graph graph(engine);
        graph.setAngleMode(AngleMode::Radians);
        graph.setPlotSize(c.width, 300);
        zoomTo(graph, c.scale);
        graph.addCurve(c.text, "x", 0);
        const GraphCurve& curve = graph.curves().back();
        if (std::string(c.text) == "x/abs(x)") {
            EXPECT_LE(pieceCount(curve), 2u);
            continue;
        }
        EXPECT_EQ(pieceCount(curve), c.pieces);
        EXPECT_TRUE(curve.complete);
    }
}

TEST(GraphModel, DenseDomainEdgesDoNotEndTheCurveAtThePointBound)
{
    // Thousands of tiny undefined stretches, two points each: sampled more coarsely rather
    // than stopped part way (it used to stop at x = 17.4 of 25).
    for (const int width : {500, 1000, 4000}) {
        SCOPED_TRACE(width);
        Engine engine;
        Graph graph(engine);
        graph.setAngleMode(AngleMode::Radians);
        graph.setPlotSize(width, 300);
        const double rangeEnd = graph.xMax();
        graph.addCurve("sqrt(sin(2900*x)+0.2)", "x", 0);
        const GraphCurve& curve = graph.curves().back();
        ASSERT_GT(curve.count, 10u);
        EXPECT_LE(curve.count, GraphCurve::kMaxPoints);
        EXPECT_TRUE(curve.complete);
        EXPECT_GT(curve.xs[curve.count - 1], rangeEnd - static_cast<double>(width) / 20 / 8);
        expectIncreasing(curve);
    }
}

TEST(GraphModel, PanShiftsTheRangeAndResamples)
{
    Fixture f;
    f.add("x");
    f.graph.penDown(100, 100);
    f.graph.penMove(140, 120);
    f.graph.penUp(140, 120);
    EXPECT_EQ(f.graph.panX(), 40);
    EXPECT_EQ(f.graph.panY(), 20);
    EXPECT_DOUBLE_EQ(f.graph.xMin(), -8.0);
    EXPECT_DOUBLE_EQ(f.graph.curves()[0].xs[0], -8.0);
    EXPECT_DOUBLE_EQ(f.graph.columnOf(0.0), 160.0);

    f.graph.resetView();
    EXPECT_EQ(f.graph.panX(), 0);
    EXPECT_DOUBLE_EQ(f.graph.xMin(), -6.0);
    EXPECT_DOUBLE_EQ(f.graph.curves()[0].xs[0], -6.0);
}

TEST(GraphModel, ZoomDragsAreClamped)
{
    struct Case {
        int mode;
        int dx;
        int dy;  // pixels down
        int scaleX;
        int scaleY;
    };
    const Case cases[] = {
        {Graph::kPenZoom, -100, 0, 8, 20},        {Graph::kPenZoom, 30, -10, 50, 30},
        {Graph::kPenZoom, 500, 500, 96, 8},       {Graph::kPenZoomPreview, -100, -5, 8, 25},
        {Graph::kPenZoomPreview, 200, 0, 96, 20},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.add("x");
        f.graph.setPenMode(c.mode);
        f.graph.penDown(100, 200);
        f.graph.penMove(100 + c.dx, 200 + c.dy);
        if (c.mode == Graph::kPenZoomPreview) {
            // Only the preview follows the drag until the pen lifts.
            EXPECT_EQ(f.graph.scaleX(), 20);
            EXPECT_EQ(f.graph.previewScaleX(), c.scaleX);
            EXPECT_EQ(f.graph.previewScaleY(), c.scaleY);
        }
        f.graph.penUp(100 + c.dx, 200 + c.dy);
        EXPECT_EQ(f.graph.scaleX(), c.scaleX) << c.mode << " " << c.dx;
        EXPECT_EQ(f.graph.scaleY(), c.scaleY) << c.mode << " " << c.dy;
        EXPECT_DOUBLE_EQ(f.graph.xMin(), -120.0 / c.scaleX);
        EXPECT_DOUBLE_EQ(f.graph.curves()[0].xs[0], f.graph.xMin());
    }
}

TEST(GraphModel, ModeBoxCyclesThePenModes)
{
    Fixture f;
    const int expected[] = {1, 2, 3, 0};
    for (int mode : expected) {
        f.graph.penDown(kWidth - 4, 4);
        f.graph.penMove(kWidth - 2, 6);
        f.graph.penUp(kWidth - 2, 6);
        EXPECT_EQ(f.graph.penMode(), mode);
        EXPECT_EQ(f.graph.panX(), 0);  // the box press is not a pan
    }
    // Released outside the box, or pressed outside it: no change.
    f.graph.penDown(kWidth - 4, 4);
    f.graph.penUp(kWidth - 40, 4);
    f.graph.penDown(kWidth - 40, 4);
    f.graph.penUp(kWidth - 4, 4);
    EXPECT_EQ(f.graph.penMode(), 0);

    for (int bad : {-1, 4, 100}) {
        f.graph.setPenMode(bad);
        EXPECT_EQ(f.graph.penMode(), 0);
    }
}

TEST(GraphModel, CoordinateModeTracksThePen)
{
    Fixture f;
    f.graph.setPenMode(Graph::kPenCoordinates);
    f.graph.penDown(10, 10);
    f.graph.penMove(150, 100);
    EXPECT_TRUE(f.graph.crossHairShown());
    EXPECT_EQ(f.graph.cursorColumn(), 150);
    EXPECT_EQ(f.graph.coordinateXText(f.graph.cursorColumn()), "X=1.50");
    EXPECT_EQ(f.graph.coordinateYText(f.graph.cursorRow()), "Y=3.00");
    EXPECT_EQ(f.graph.coordinateYText(170), "Y=-0.50");
    EXPECT_DOUBLE_EQ(f.graph.rowOf(1.0), 140.0);
    EXPECT_EQ(f.graph.panX(), 0);
}

TEST(GraphModel, PlotViewAddsOneCurvePerFilledField)
{
    Fixture f;
    f.graph.setFieldText(1, "x");
    f.graph.setFieldText(2, "x^2");
    f.graph.showPlot();
    ASSERT_EQ(f.graph.curves().size(), 2u);
    EXPECT_EQ(f.graph.curves()[0].colour, 0x00FF00u);
    EXPECT_EQ(f.graph.curves()[1].colour, 0xFF0000u);
    EXPECT_DOUBLE_EQ(f.graph.curves()[1].ys[0], 36.0);
    f.graph.showPlot();  // entering again starts over
    EXPECT_EQ(f.graph.curves().size(), 2u);
}

}  // namespace
