#pragma once

#include <QMessageBox>
#include <QSize>
#include <QString>

class QWidget;

// Dialogs and message boxes that read the same whatever they are shown over. A dialog is a
// child of the widget it belongs to, so the style sheet of a panel would reach its labels and
// buttons (a panel-sized font, a panel's borders); these carry a complete style of their own in
// the skin's colours, which wins over anything inherited. Text is textPixels high.
void applyDialogStyle(QWidget* dialog, int textPixels = 14);

// The size of the window a dialog stands over (its parent's), or of the default window.
QSize ownerWindowSize(const QWidget* parent);

// A message box in that style, its type as large as the window it stands over.
QMessageBox* makeMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text, QWidget* parent);

// Makes the box and shows it window-modal without blocking; it deletes itself when closed.
QMessageBox* showMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text, QWidget* parent);
