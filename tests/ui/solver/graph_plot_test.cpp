// What the plot area draws, read back from its pixels: a continuous curve is one unbroken
// line at every zoom and window width, curves break where the model says and nowhere else,
// and the axes carry numbers.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <string>

#include "engine.h"
#include "graph.h"
#include "graph_view.h"

namespace {

constexpr int kHeight = 300;

bool isCurvePixel(QRgb pixel)
{
    // The first curve is red; antialiasing blends its edge with the white ground.
    return qRed(pixel) > 150 && qGreen(pixel) < 140 && qBlue(pixel) < 140;
}

void zoomTo(Graph& graph, int scale)
{
    graph.setPenMode(Graph::kPenZoom);
    graph.penDown(100, 100);
    graph.penUp(100 + scale - graph.scaleX(), 100);
    graph.setPenMode(Graph::kPenPan);
}

// Renders a plot of one function and returns its image with the model it drew.
struct Plot {
    Engine engine;
    Graph graph{engine};
    PlotAreaView view{graph};
    QImage image;

    Plot(int width, int scale, const char* text)
    {
        graph.setAngleMode(AngleMode::Radians);
        view.resize(width, kHeight);
        graph.setPlotSize(width, kHeight);
        zoomTo(graph, scale);
        graph.addCurve(text, "x", Graph::kCurveColours[0]);
        image = view.grab().toImage();
    }

    // The pixel columns in [from, to] that show no curve pixel.
    int emptyColumns(int from, int to) const
    {
        int empty = 0;
        for (int column = std::max(from, 0); column <= std::min(to, image.width() - 1); ++column) {
            bool found = false;
            for (int row = 0; row < image.height() && !found; ++row)
                found = isCurvePixel(image.pixel(column, row));
            empty += found ? 0 : 1;
        }
        return empty;
    }
};

TEST(GraphPlot, ContinuousCurvesAreDrawnWholeAtEveryZoomAndWidth)
{
    // Widths around 950 px used to draw every curve dashed at scale 20: the model sampled with a
    // wider step there than the window expected. The curves stay inside the plot's height, so
    // every column between the first and the last point must show the curve. The mode box in
    // the top-right corner is left out.
    for (const int width : {120, 240, 480, 949, 950, 951, 1200, 1920, 3000}) {
        for (const int scale : {8, 12, 20, 33, 60, 96}) {
            for (const char* text : {"sin(x)", "3*x/(x^2+4)", "cos(3*x)/2"}) {
                SCOPED_TRACE(std::string(text) + " width " + std::to_string(width) + " scale " + std::to_string(scale));
                Plot plot(width, scale, text);
                const GraphCurve& curve = plot.graph.curves().back();
                ASSERT_GT(curve.count, 1u);
                for (std::size_t i = 1; i < curve.count; ++i)
                    ASSERT_TRUE(curve.joinsPrevious(i)) << "break at x = " << curve.xs[i];
                const int first = static_cast<int>(std::ceil(plot.graph.columnOf(curve.xs[0])));
                const int last = static_cast<int>(std::floor(plot.graph.columnOf(curve.xs[curve.count - 1])));
                // The samples reach the right edge within a step or two.
                const double step = std::max(plot.graph.sampleStep(), static_cast<double>(width) / scale / 960.0);
                EXPECT_GE(last - first, width - 2 - static_cast<int>(std::ceil(2 * scale * step)));
                EXPECT_EQ(plot.emptyColumns(first, std::min(last, width - Graph::kModeBoxSize - 1)), 0);
            }
        }
    }
}

TEST(GraphPlot, CurvesBreakOnlyWhereTheModelSays)
{
    // sqrt(x^2-4) is undefined in (-2, 2): nothing is drawn there, and everything outside it is
    // (divided by 12, the curve stays within the plot up to x = 50).
    for (const int width : {240, 960, 2000}) {
        SCOPED_TRACE(width);
        Plot plot(width, 20, "sqrt(x^2-4)/12");
        const GraphCurve& curve = plot.graph.curves().back();
        std::size_t breaks = 0;
        for (std::size_t i = 1; i < curve.count; ++i)
            breaks += curve.joinsPrevious(i) ? 0 : 1;
        EXPECT_EQ(breaks, 1u);
        const int left = static_cast<int>(std::floor(plot.graph.columnOf(-2.0)));
        const int right = static_cast<int>(std::ceil(plot.graph.columnOf(2.0)));
        EXPECT_EQ(plot.emptyColumns(left + 2, right - 2), right - left - 3);
        EXPECT_EQ(plot.emptyColumns(static_cast<int>(plot.graph.columnOf(curve.xs[0])) + 1, left - 1), 0);
        EXPECT_EQ(plot.emptyColumns(right + 1, width - Graph::kModeBoxSize - 1), 0);
    }
    // tan x is drawn in pieces between its poles, without lines across the plot.
    Plot plot(480, 20, "tan(x)");
    const GraphCurve& curve = plot.graph.curves().back();
    std::size_t pieces = 0;
    for (std::size_t i = 0; i < curve.count; ++i)
        pieces += curve.joinsPrevious(i) ? 0 : 1;
    EXPECT_EQ(pieces, 9u);  // 8 poles in [-12, 12]
}

TEST(GraphPlot, AxesCarryNumbers)
{
    // The numbers are drawn in a darker grey than the axes: below the x axis and beside the
    // y axis there are inked pixels in several places, the origin's "0" among them.
    Plot plot(480, 20, "0*x-100");
    const int axisRow = static_cast<int>(plot.graph.rowOf(0.0));
    const int axisColumn = static_cast<int>(plot.graph.columnOf(0.0));
    const auto inked = [&](int left, int top, int right, int bottom) {
        int count = 0;
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                count += qGray(plot.image.pixel(x, y)) < 160 ? 1 : 0;
        return count;
    };
    int labelledStretches = 0;
    for (int left = 0; left + 40 <= plot.image.width(); left += 40)
        labelledStretches += inked(left, axisRow + 3, left + 39, axisRow + 18) > 5 ? 1 : 0;
    EXPECT_GE(labelledStretches, 4);
    EXPECT_GT(inked(axisColumn - 30, 0, axisColumn - 2, axisRow - 10), 20);
    EXPECT_GT(inked(axisColumn - 30, axisRow + 10, axisColumn - 2, plot.image.height() - 1), 20);
}

}  // namespace
