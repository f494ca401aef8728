#include "message_box.h"

#include <QApplication>

#include "panel_style.h"

namespace {

// Every property that a panel's sheet may set on these widgets is set here again, in the
// colours of the application's palette (panel_style.h).
const char* const kDialogStyle =
    "QDialog { background: @window; color: @text; font-size: 14px; }"
    "QLabel { color: @text; background: transparent; border: none; padding: 0px;"
    " font-size: 14px; font-weight: normal; }"
    "QPushButton { color: @text; background: @button; border: 1px solid @line;"
    " border-radius: 3px; padding: 4px 4px; min-width: 40px; font-size: 13px; font-weight: normal; }"
    "QPushButton:hover, QPushButton:focus { border-color: @accent; }"
    "QPushButton:pressed { background: @accent; color: @accentText; }"
    "QPushButton:disabled { color: @disabled; }"
    "QLineEdit { color: @text; background: @field; border: 1px solid @line; border-radius: 2px;"
    " padding: 2px 4px; font-size: 14px; selection-background-color: @accent; selection-color: @accentText; }"
    "QLineEdit:focus { border-color: @accent; }"
    "QTableView { color: @text; background: @field; gridline-color: @grid;"
    " border: 1px solid @line; font-size: 14px; selection-background-color: @accent;"
    " selection-color: @accentText; }"
    "QHeaderView::section { color: @text; background: @button; border: none;"
    " border-right: 1px solid @grid; padding: 2px 4px; font-size: 14px; font-weight: bold; }"
    "QProgressBar { background: @field; border: 1px solid @line; border-radius: 2px; height: 10px; }"
    "QProgressBar::chunk { background: @accent; }";

}  // namespace

void applyDialogStyle(QWidget* dialog)
{
    dialog->setPalette(QApplication::palette());
    setThemedStyleSheet(dialog, QString::fromLatin1(kDialogStyle));
}

QMessageBox* makeMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                            QWidget* parent)
{
    auto* box = new QMessageBox(icon, caption, text, QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("messageBox"));
    box->setTextFormat(Qt::PlainText);
    applyDialogStyle(box);
    return box;
}

QMessageBox* showMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                            QWidget* parent)
{
    QMessageBox* box = makeMessageBox(icon, caption, text, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}
