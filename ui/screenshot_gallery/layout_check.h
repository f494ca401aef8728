#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Layout faults that a person would see in a window: a visible child that reaches outside its
// parent, two visible input widgets or labels on top of each other, a label whose text is wider or
// taller than the label. Each fault is one line naming the widgets involved.
QStringList layoutFaults(const QWidget& window);
