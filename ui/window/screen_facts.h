#pragma once

#include <QSize>

// What the window's size says about the screen it stands for: scale 2 ("_VGA" images) from
// 480 pixels on the short side, and portrait, landscape or square from the aspect.
struct ScreenFacts {
    int scale = 1;
    bool landscape = false;
    bool square = false;

    static ScreenFacts of(QSize size)
    {
        ScreenFacts facts;
        const int shortSide = qMin(size.width(), size.height());
        const int longSide = qMax(size.width(), size.height());
        facts.scale = shortSide >= 480 ? 2 : 1;
        facts.square = longSide * 10 <= shortSide * 11;
        facts.landscape = !facts.square && size.width() > size.height();
        return facts;
    }
    bool operator==(const ScreenFacts&) const = default;
};
