#pragma once

#include <QSize>

class QBoxLayout;
class QWidget;

// How a tool panel shares its area between its form and its on-screen number pad: the pad
// below the form on a tall panel, beside it on a wide one. The pad's keys keep about the
// proportions of the skin's image; the type size follows the panel's size, so the form reads
// the same at 240 x 320 and at 480 x 640.
namespace toolPanelLayout {

// Wide panels (landscape windows) put the pad beside the form. In a square one the pad goes
// below, where it can grow: beside the form its keys' proportions would leave half the panel empty.
bool padBeside(QSize panel);

// The pad's size in an area: beside the form, a share of the width (and no taller than its
// keys' proportions allow); below it, the full width and the height the form leaves, within a
// third of the area and what the keys' proportions allow.
QSize padSize(QSize area, int formHeight);

// Lays `split` (a box layout holding the form and then the pad) out for an area: direction,
// the pad's size, the pad at the top of its column when beside the form.
void arrange(QBoxLayout* split, QWidget* pad, QSize area, int formHeight);

// The type size in pixels for a form that must show `rows` lines of text above each other and
// about `characters` characters side by side in `area`, within [minimum, maximum].
int fontPixels(QSize area, double rows, double characters, int minimum = 9, int maximum = 22);

// The form's area beside or above the pad, before the pad's exact size is known.
QSize formArea(QSize area);

}  // namespace toolPanelLayout
