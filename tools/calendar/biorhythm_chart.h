#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The four biorhythm cycles, in the order of the chart, the report and the advice file.
enum class BioCycle { Physical, Emotional, Intellectual, Intuitional };
inline constexpr int kBioCycleCount = 4;

// Remainders r = n mod length that mark a cycle's points; the ranges are inclusive.
struct BioCycleInfo {
    std::u16string_view name;       // "Physical"
    int length;                     // days
    std::u16string_view colourTag;  // opening <font> tag of the report
    std::uint32_t penRgb;           // chart pen, 0xRRGGBB
    int maximum;
    int minimum;
    int criticalMid;
    int lowFirst, lowLast;    // the minimum inside is not "Low"
    int highFirst, highLast;  // the maximum inside is not "High"
    int decreaseFirst, decreaseLast;
};

inline constexpr std::array<BioCycleInfo, kBioCycleCount> kBioCycles = {{
    {u"Physical", 23, u"<font color=\"#FF0000\">", 0xFF0000, 5, 17, 11, 14, 20, 3, 8, 6, 16},
    {u"Emotional", 28, u"<font color=\"#008000\">", 0x008000, 6, 20, 13, 16, 24, 4, 9, 7, 19},
    {u"Intellectual", 33, u"<font color=\"#0000FF\">", 0x0000FF, 8, 24, 16, 20, 29, 5, 11, 9, 23},
    {u"Intuitional", 38, u"<font color=\"#800000\">", 0x800000, 9, 28, 18, 22, 34, 5, 13, 10, 27},
}};

const BioCycleInfo& bioCycleInfo(BioCycle cycle);

// A cycle's state on a day. The numeric values are the advice list indexes.
enum class BioState {
    CriticalStart = 0,
    CriticalMid = 1,
    Medium = 2,
    High = 3,
    Low = 4,
    Maximum = 5,
    Minimum = 6,
};
inline constexpr int kBioStateCount = 7;

enum class BioTrend { None, Increase, Decrease };

// State of the cycle on day count n (n >= 0; a negative n is taken as 0).
BioState bioStateOf(BioCycle cycle, std::int64_t n);
// Decrease on the falling side, None on the maximum and minimum, Increase otherwise.
BioTrend bioTrendOf(BioCycle cycle, std::int64_t n);
// "Maximum", "Minimum", "Critical", "Low", "Medium", "High".
std::u16string_view bioStateText(BioState state);
// ", Increase", ", Decrease" or empty.
std::u16string_view bioTrendText(BioTrend trend);

// Escapes &, <, >, " and ' so that text shows as text inside HTML.
std::u16string escapeHtml(std::u16string_view text);

// Advice texts: for each cycle, for each state (by advice list index), a list of texts.
using BioAdvice = std::array<std::array<std::vector<std::u16string>, kBioStateCount>, kBioCycleCount>;

// Parses the advice file (8-bit text, UTF-8 here). Lines keep their line end; a line longer than
// 1023 bytes is cut there and its rest skipped. Per cycle: one heading line, then for each state
// a count line (a leading signed integer) and, when the count is positive, that many texts.
// Reading stops quietly at the end of the bytes, keeping what was read.
BioAdvice parseBioAdvice(std::string_view bytes);

struct BioPixel {
    int x;
    int y;
    friend bool operator==(const BioPixel&, const BioPixel&) = default;
};

// `BiorhythmChart`: the four curves over 29 days around the view day and their values at the
// view day, plus the report built from those values.
class BiorhythmChart {
public:
    struct Rect {
        int left = 0, top = 0, right = 0, bottom = 0;
        friend bool operator==(const Rect&, const Rect&) = default;
    };

    // The chart rectangle for screen scale 1 or 2 (portrait 6, 6, 234, 50 at scale 1).
    static Rect rectFor(int scale, bool landscape);

    void setRect(Rect rect) { rect_ = rect; }
    const Rect& rect() const { return rect_; }
    void setAdvice(BioAdvice advice) { advice_ = std::move(advice); }
    const BioAdvice& advice() const { return advice_; }

    // Computes the curves for day count n (below 0 counts as 0): the pixels of each cycle in
    // drawing order, and each cycle's value in percent at the middle column. The values are read
    // off the curve at the chart's logical size, the portrait chart of scale 1 (228 x 44), so
    // they do not change with the size the chart is drawn at. A rectangle with no width or
    // height gives no pixels.
    void draw(std::int64_t n);
    const std::vector<BioPixel>& pixels(BioCycle cycle) const { return pixels_[static_cast<int>(cycle)]; }
    float value(BioCycle cycle) const { return values_[static_cast<int>(cycle)]; }
    std::int64_t dayCount() const { return dayCount_; }

    // Builds the HTML report from the last drawing's values and state of day count n. Advice
    // picks come from a generator seeded with tickCount; advice texts are HTML-escaped.
    const std::u16string& buildReport(std::uint32_t tickCount);
    const std::u16string& report() const { return report_; }

private:
    std::u16string section(int cycle, std::uint32_t randomValue) const;

    Rect rect_ = rectFor(1, false);
    BioAdvice advice_;
    std::int64_t dayCount_ = 0;
    std::array<float, kBioCycleCount> values_{};
    std::array<std::vector<BioPixel>, kBioCycleCount> pixels_;
    std::u16string report_;
};
