#include "tool_panel_layout.h"

#include <QBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace toolPanelLayout {

namespace {

// Beside the form the pad takes this share of the width.
constexpr double kBesideShare = 0.42;
// A number pad key of the skin is 60 x 32; the keypad stretches a face by at most 1.5, so a
// pad's height beyond 0.8 of its width is only gaps.
constexpr double kTallestPad = 4.0 / 4.0 * 32.0 / 60.0 * 1.5;

}  // namespace

bool padBeside(QSize panel)
{
    return panel.width() * 10 > panel.height() * 13;
}

QSize padSize(QSize area, int formHeight)
{
    if (padBeside(area)) {
        const int width = static_cast<int>(std::lround(area.width() * kBesideShare));
        return {width, std::min(area.height(), static_cast<int>(width * kTallestPad))};
    }
    const int tallest = static_cast<int>(area.width() * kTallestPad);
    const int leftOver = area.height() - formHeight;
    return {area.width(), std::clamp(leftOver, std::min(area.height() / 3, tallest), tallest)};
}

void arrange(QBoxLayout* split, QWidget* pad, QSize area, int formHeight)
{
    const bool beside = padBeside(area);
    split->setDirection(beside ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    pad->setFixedSize(padSize(area, formHeight));
    split->setAlignment(pad, beside ? Qt::AlignTop | Qt::AlignRight : Qt::AlignBottom | Qt::AlignHCenter);
}

int fontPixels(QSize area, double rows, double characters, int minimum, int maximum)
{
    // A line of text takes about 1.9 times its type size with the fields' frames and the
    // spacing; an average character about 0.55 of it.
    const double byHeight = area.height() / (rows * 1.9);
    const double byWidth = area.width() / (characters * 0.55);
    const int pixels = static_cast<int>(std::floor(std::min(byHeight, byWidth)));
    return std::clamp(pixels, minimum, maximum);
}

QSize formArea(QSize area)
{
    if (padBeside(area))
        return {static_cast<int>(area.width() * (1.0 - kBesideShare)), area.height()};
    return {area.width(), area.height() * 64 / 100};
}

}  // namespace toolPanelLayout
