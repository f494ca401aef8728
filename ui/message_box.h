#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Dialogs and message boxes that read the same whatever they are shown over. A dialog is a
// child of the widget it belongs to, so the style sheet of a panel would reach its labels and
// buttons (a panel-sized font, a panel's borders); these carry a complete style of their own in
// the skin's colours, which wins over anything inherited.
void applyDialogStyle(QWidget* dialog);

// A message box in that style.
QMessageBox* makeMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                            QWidget* parent);

// Makes the box and shows it window-modal without blocking; it deletes itself when closed.
QMessageBox* showMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                            QWidget* parent);
