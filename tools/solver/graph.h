#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine_settings.h"

class Engine;

// One plotted function: its expanded text, its variable and the sampled points, in increasing
// x. An undefined stretch shows as two consecutive points at its two domain edges, and the
// second of them starts a new piece; so does the first point after a jump through infinity
// (tan x at its poles). The window joins consecutive points except where a piece starts: it
// never decides on its own where a curve is broken.
struct GraphCurve {
    static constexpr std::size_t kMaxPoints = 1024;

    std::string text;          // after the engine's function-call pass
    std::string variable;      // "x"
    std::uint32_t colour = 0;  // COLORREF: 0x00BBGGRR
    std::vector<double> xs;    // kMaxPoints entries; the first `count` are in use
    std::vector<double> ys;
    // 1 where point i starts a new piece: no line joins it to point i - 1. Point 0 always
    // starts one.
    std::vector<std::uint8_t> startsPiece;
    std::size_t count = 0;
    // False when the samples stopped before the end of the visible range (the point arrays or
    // the step bound ran out even at the coarsest step); the window marks the stop at
    // stoppedAt.
    bool complete = true;
    double stoppedAt = 0.0;
    // Why the curve has no points at all: the engine's message for its text ("Syntax error");
    // empty when it has points.
    std::u16string problem;

    bool joinsPrevious(std::size_t i) const { return i > 0 && i < count && startsPiece[i] == 0; }
};

// The graph window's model: three function fields, the view (scales, pan, visible x range),
// the sampled curves and the pen modes. The window draws axes, grid, curves and the mode box
// from what this reports and forwards pen events in plot pixels.
class Graph {
public:
    static constexpr std::u16string_view kWindowName = u"Graph_Wnd";
    static constexpr std::size_t kFieldCount = 3;
    static constexpr std::array<std::u16string_view, kFieldCount> kFieldLabels = {u"y1", u"y2", u"y3"};
    static constexpr std::array<std::uint32_t, kFieldCount> kCurveColours = {0x0000FF, 0x00FF00, 0xFF0000};
    static constexpr std::uint32_t kAxisColour = 0xC6C6C6;
    static constexpr std::string_view kVariable = "x";

    static constexpr int kStartScale = 20;
    static constexpr int kMinScale = 8;
    static constexpr int kMaxScale = 96;
    static constexpr double kStartStep = 0.04953;
    static constexpr double kEdgeTolerance = 1e-10;
    static constexpr int kModeBoxSize = 16;

    static constexpr int kPenPan = 0;
    static constexpr int kPenZoom = 1;
    static constexpr int kPenZoomPreview = 2;
    static constexpr int kPenCoordinates = 3;

    explicit Graph(Engine& engine);

    // Entry view: the function fields (engine text; empty means unused).
    const std::string& fieldText(std::size_t field) const { return fields_[field]; }
    void setFieldText(std::size_t field, std::string text);
    bool plotShown() const { return plotShown_; }
    // Clears the curves and adds one for every non-empty field, y1 first, in its field's colour.
    void showPlot();
    void showEntry() { plotShown_ = false; }

    // The angle unit the curves are sampled in from now on; the engine's own unit is left as it
    // was. Call showPlot to sample again.
    void setAngleMode(AngleMode mode) { angleMode_ = mode; }

    // The plot area's size; the origin goes to its middle and the curves are sampled again.
    void setPlotSize(int width, int height);

    // Expands the text's function calls, binds the variable and samples over [xMin, xMax].
    // A text whose calls cannot be expanded gives a curve without points; a curve without
    // points says why in its problem.
    void addCurve(std::string_view text, std::string_view variable, std::uint32_t colour);
    void clearCurves() { curves_.clear(); }
    // Back to scale 20 and no pan, resampling; nothing happens when already there.
    void resetView();
    // Modes 0..3; anything else is ignored.
    void setPenMode(int mode);

    const std::vector<GraphCurve>& curves() const { return curves_; }

    int width() const { return width_; }
    int height() const { return height_; }
    int panX() const { return panX_; }
    int panY() const { return panY_; }
    int scaleX() const { return scaleX_; }
    int scaleY() const { return scaleY_; }
    int previewScaleX() const { return previewScaleX_; }
    int previewScaleY() const { return previewScaleY_; }
    double sampleStep() const { return sampleStep_; }
    double xMin() const { return xMin_; }
    double xMax() const { return xMax_; }
    int penMode() const { return penMode_; }

    // Pixel position of a point of the plane.
    double columnOf(double x) const { return originX_ + panX_ + x * scaleX_; }
    double rowOf(double y) const { return originY_ + panY_ - y * scaleY_; }

    // The plane point under a pixel, and its texts "X=%.2lf" and "Y=%.2lf".
    double planeX(int column) const;
    double planeY(int row) const;
    std::string coordinateXText(int column) const;
    std::string coordinateYText(int row) const;

    // Pen events in plot pixels.
    void penDown(int column, int row);
    void penMove(int column, int row);
    void penUp(int column, int row);
    // Mode 3: whether the cross-hair is shown, and where.
    bool crossHairShown() const { return crossHair_; }
    int cursorColumn() const { return cursorColumn_; }
    int cursorRow() const { return cursorRow_; }

    bool inModeBox(int column, int row) const;

private:
    void recomputeRange();
    void resampleAll();
    void sample(GraphCurve& curve);
    // One pass at step h; false when the point arrays or the step bound stopped it before xMax.
    bool sampleWithStep(GraphCurve& curve, double h);
    bool evaluate(const GraphCurve& curve, double x, double& y);
    // Whether f goes through infinity between two neighbouring samples of opposite sign: |f|
    // keeps growing as the sign change is narrowed down, as 1/x does at 0 and sin x does not.
    bool jumpsThroughPole(const GraphCurve& curve, double x0, double y0, double x1, double y1);
    // Narrows [good, bad] (either order) to the domain edge and returns the last good x.
    double bisect(const GraphCurve& curve, double good, double bad);
    void applyZoom(int newScaleX, int newScaleY);

    Engine& engine_;
    AngleMode angleMode_ = AngleMode::Degrees;
    std::array<std::string, kFieldCount> fields_;
    bool plotShown_ = false;
    std::vector<GraphCurve> curves_;

    int width_ = 0;
    int height_ = 0;
    int originX_ = 0;
    int originY_ = 0;
    int panX_ = 0;
    int panY_ = 0;
    int scaleX_ = kStartScale;
    int scaleY_ = kStartScale;
    int previewScaleX_ = kStartScale;
    int previewScaleY_ = kStartScale;
    double sampleStep_ = kStartStep;
    double xMin_ = 0.0;
    double xMax_ = 0.0;
    int penMode_ = kPenPan;

    bool penActive_ = false;
    bool pressInModeBox_ = false;
    int downColumn_ = 0;
    int downRow_ = 0;
    int lastColumn_ = 0;
    int lastRow_ = 0;
    int downScaleX_ = kStartScale;
    int downScaleY_ = kStartScale;
    bool crossHair_ = false;
    int cursorColumn_ = 0;
    int cursorRow_ = 0;
};
