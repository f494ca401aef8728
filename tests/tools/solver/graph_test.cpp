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
        double firstX;   // NaN: the first sample position at or right of 0
        double lastX;    // NaN: the last sample position of the range
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
