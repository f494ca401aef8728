#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

class QWidget;

// Layout faults that a person would see in a window shown on a screen of the given size: a
// window larger than the screen, a visible child that reaches outside its parent, two visible
// inputs (or labels) on top of each other, a label, button, tab or list row whose text is
// wider or taller than its place, a field lower than its text. Text elided on purpose is no
// fault when a tooltip shows it whole. Each fault is one line naming the widgets involved.
QStringList layoutFaults(const QWidget& window, QSize screen);
