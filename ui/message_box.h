#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// A message box that reads the same whatever it is shown over. A box is a child of the widget
// it belongs to, so the style sheet of a dark panel would reach its labels and buttons (light
// grey text on the box's white ground); this box carries a complete style of its own and the
// application's standard palette, which win over anything inherited.
QMessageBox* makeMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                            QWidget* parent);

// Makes the box and shows it window-modal without blocking; it deletes itself when closed.
QMessageBox* showMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                            QWidget* parent);
