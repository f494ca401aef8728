#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

// Where the calculator window opens: at the size asked for when the screen's free area holds
// it, else at the largest size of the same shape that fits (a portrait window stays portrait,
// so it keeps its layout), centred in that area. `frame` is what the window manager draws
// around the window, when known; the returned rectangle is the window's own, without it.
QRect fittedWindowGeometry(QSize wanted, QRect available, QMargins frame = QMargins());

// Sizes and places a top-level window so on the screen it opens on, at any scale factor, and
// again once it is shown if its decorations push it past the screen's free area.
void placeOnScreen(QWidget& window, QSize wanted);
