#include "biorhythm_chart.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <random>

#include "ascii.h"
#include "utf16.h"

namespace {

constexpr int kChartDays = 29;
constexpr double kViewDay = 14;  // the view day spans x = 14..15
constexpr std::size_t kMaxLineBytes = 1023;

// "%.1f" in the C locale whatever the process locale is.
std::u16string oneDecimal(float value)
{
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, 1);
    return ascii::widen(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

// Walks 8-bit text line by line; each line keeps its line end.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

    bool next(std::string_view& line)
    {
        if (position_ >= bytes_.size())
            return false;
        const std::size_t newline = bytes_.find('\n', position_);
        const std::size_t end = newline == std::string_view::npos ? bytes_.size() : newline + 1;
        line = bytes_.substr(position_, std::min(end - position_, kMaxLineBytes));
        position_ = end;
        return true;
    }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

// atoi's reading of a leading signed integer, saturated to the int range; 0 when none.
int leadingInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && ascii::isDigit(text[i]); ++i)
        value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL + INT_MAX);
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace

const BioCycleInfo& bioCycleInfo(BioCycle cycle)
{
    return kBioCycles[static_cast<std::size_t>(cycle)];
}

BioState bioStateOf(BioCycle cycle, std::int64_t n)
{
    const BioCycleInfo& c = bioCycleInfo(cycle);
    const auto r = static_cast<int>(std::max<std::int64_t>(n, 0) % c.length);
    if (r == c.maximum)
        return BioState::Maximum;
    if (r == c.minimum)
        return BioState::Minimum;
    if (r == c.criticalMid)
        return BioState::CriticalMid;
    if (r == 0)
        return BioState::CriticalStart;
    if (r >= c.lowFirst && r <= c.lowLast)
        return BioState::Low;
    if (r >= c.highFirst && r <= c.highLast)
        return BioState::High;
    return BioState::Medium;
}

BioTrend bioTrendOf(BioCycle cycle, std::int64_t n)
{
    const BioCycleInfo& c = bioCycleInfo(cycle);
    const auto r = static_cast<int>(std::max<std::int64_t>(n, 0) % c.length);
    if (r >= c.decreaseFirst && r <= c.decreaseLast)
        return BioTrend::Decrease;
    if (r == c.maximum || r == c.minimum)
        return BioTrend::None;
    return BioTrend::Increase;
}

std::u16string_view bioStateText(BioState state)
{
    switch (state) {
    case BioState::Maximum: return u"Maximum";
    case BioState::Minimum: return u"Minimum";
    case BioState::CriticalMid:
    case BioState::CriticalStart: return u"Critical";
    case BioState::Low: return u"Low";
    case BioState::High: return u"High";
    case BioState::Medium: break;
    }
    return u"Medium";
}

std::u16string_view bioTrendText(BioTrend trend)
{
    switch (trend) {
    case BioTrend::Increase: return u", Increase";
    case BioTrend::Decrease: return u", Decrease";
    case BioTrend::None: break;
    }
    return u"";
}

std::u16string escapeHtml(std::u16string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        switch (c) {
        case u'&': out += u"&amp;"; break;
        case u'<': out += u"&lt;"; break;
        case u'>': out += u"&gt;"; break;
        case u'"': out += u"&quot;"; break;
        case u'\'': out += u"&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

BioAdvice parseBioAdvice(std::string_view bytes)
{
    BioAdvice advice;
    LineReader reader(bytes);
    std::string_view line;
    for (auto& cycleLists : advice) {
        if (!reader.next(line))  // heading
            return advice;
        for (auto& list : cycleLists) {
            if (!reader.next(line))
                return advice;
            // The count is never trusted for allocation: texts are added as they are read.
            for (int count = leadingInt(line); count > 0; --count) {
                if (!reader.next(line))
                    return advice;
                list.push_back(fromUtf8(line));
            }
        }
    }
    return advice;
}

BiorhythmChart::Rect BiorhythmChart::rectFor(int scale, bool landscape)
{
    const int s = scale;
    if (landscape)
        return {3 * (s + 1), s + 3, 314 * s, 52 * s - 3};
    return {3 * (s + 1), 3 * (s + 1), 237 * s - 3, 53 * s - 3};
}

namespace {

// Walks one cycle's curve over a chart of width x height pixels: alternating parabolic half-waves,
// a peak at row 0 and a trough at row height. visit(x, y) gets each column x from 0 to width in
// drawing order, with its unrounded y; where two arcs meet, a column comes twice.
template <typename Visit>
void walkCurve(int width, int height, std::int64_t n, const BioCycleInfo& info, Visit visit)
{
    const double dayWidth = width * (1.0 / kChartDays);
    const auto px = [dayWidth](double x) { return static_cast<int>(x * dayWidth); };
    // An arc with vertex (v, y0) ending at column e: y = a (x - v)^2 + y0 from 2v - e to e.
    const auto arc = [&](int vertex, int y0, int end) {
        // A zero-width arc (a chart only a few pixels wide) would divide by zero.
        if (end < 0 || end == vertex)
            return;
        const double distance = static_cast<double>(end) - vertex;
        const double a = (height / 2 - y0) / (distance * distance);
        for (long long x = 2LL * vertex - end; x <= end; ++x) {
            if (x < 0)
                continue;
            if (x > width)
                break;
            const double dx = static_cast<double>(x - vertex);
            visit(static_cast<int>(x), a * dx * dx + y0);
        }
    };
    const double length = info.length;
    const double quarter = length / 4;
    const auto r = static_cast<double>(n % info.length);
    double peak = kViewDay - (r - quarter);
    while (peak > 0)
        peak -= length;
    // Each pass draws one peak and the trough after it; the pass whose trough lies past the
    // chart's end is the last, so the peak before that trough is still drawn.
    for (;;) {
        arc(px(peak), 0, px(peak + quarter));
        arc(px(peak + length / 2), height, px(peak + 3 * quarter));
        if (peak + length / 2 >= kChartDays)
            break;
        peak += length;
    }
}

}  // namespace

void BiorhythmChart::draw(std::int64_t n)
{
    dayCount_ = std::max<std::int64_t>(n, 0);
    values_ = {};
    for (auto& list : pixels_)
        list.clear();
    const int width = rect_.right - rect_.left;
    const int height = rect_.bottom - rect_.top;
    // The values come from the curve on the chart of logical size, whatever size the chart is
    // drawn at: the same percentages at every window size.
    const Rect logical = rectFor(1, false);
    const int logicalWidth = logical.right - logical.left;
    const int logicalHeight = logical.bottom - logical.top;
    for (int cycle = 0; cycle < kBioCycleCount; ++cycle) {
        const auto at = static_cast<std::size_t>(cycle);
        const BioCycleInfo& info = kBioCycles[at];
        walkCurve(logicalWidth, logicalHeight, dayCount_, info, [&](int x, double y) {
            // Where two arcs meet at the middle column, the later one sets the value.
            if (x == logicalWidth / 2)
                values_[at] = (static_cast<float>(logicalHeight) - static_cast<float>(y)) /
                              static_cast<float>(logicalHeight) * 100.0f;
        });
        if (width <= 0 || height <= 0)
            continue;
        walkCurve(width, height, dayCount_, info, [&](int x, double y) {
            const int row = std::min(static_cast<int>(y), height - 1);
            pixels_[at].push_back({rect_.left + x, rect_.top + row});
        });
    }
}

std::u16string BiorhythmChart::section(int cycle, std::uint32_t randomValue) const
{
    const auto cycleId = static_cast<BioCycle>(cycle);
    const BioCycleInfo& info = kBioCycles[static_cast<std::size_t>(cycle)];
    const BioState state = bioStateOf(cycleId, dayCount_);
    const auto& list = advice_[static_cast<std::size_t>(cycle)][static_cast<std::size_t>(state)];
    const std::u16string& advice = list[randomValue % list.size()];
    const std::u16string colour(info.colourTag);
    std::u16string text = u"<table border=\"0\">";
    text += u"<tr><td with=\"10%\">" + colour + u"<b>" + std::u16string(info.name) +
            u"</b></font></td><td halign=\"left\">" + oneDecimal(values_[static_cast<std::size_t>(cycle)]) +
            u"%.</td></tr>";
    text += u"</table><table width=\"100%\"  border=\"0\">";
    text += u"<tr><td with=\"10%\" valign=\"top\">" + colour + u"<b>Trend</b></font></td><td>" +
            std::u16string(bioStateText(state)) + std::u16string(bioTrendText(bioTrendOf(cycleId, dayCount_))) +
            u".</td></tr>";
    text += u"<tr><td valign=\"top\">" + colour + u"<b>Advice</b></font></td><td>" + escapeHtml(advice) +
            u"</td></tr></table>";
    return text;
}

const std::u16string& BiorhythmChart::buildReport(std::uint32_t tickCount)
{
    const auto v = [this](BioCycle c) { return oneDecimal(value(c)); };
    std::u16string text = u"<html><body>";
    text +=
        u"<table border=\"0\" width=\"100%\" cellspacing=\"0\" cellpadding=\"0\">\t\t<tr>\t\t\t<td>"
        u"<font color=\"#FF0000\">Physical</font> " +
        v(BioCycle::Physical) + u"%</td>\t\t\t<td><font color=\"#0000FF\">Intellectual</font> " +
        v(BioCycle::Intellectual) + u"%</td>\t\t</tr>\t\t<tr>\t\t\t<td><font color=\"#008000\">Emotional</font> " +
        v(BioCycle::Emotional) + u"%</td>\t\t\t<td><font color=\"#800000\">Intuitional</font> " +
        v(BioCycle::Intuitional) + u"%</td>\t\t\t</tr></table><hr size=\"1\">";
    std::minstd_rand random(tickCount);
    for (int cycle = 0; cycle < kBioCycleCount; ++cycle) {
        const BioState state = bioStateOf(static_cast<BioCycle>(cycle), dayCount_);
        if (advice_[static_cast<std::size_t>(cycle)][static_cast<std::size_t>(state)].empty())
            continue;
        text += section(cycle, static_cast<std::uint32_t>(random()));
    }
    text += u"</body></html>";
    report_ = std::move(text);
    return report_;
}
