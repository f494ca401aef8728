#include "message_box.h"

#include <QApplication>

#include "panel_style.h"
#include "screen_facts.h"

namespace {

// Every property that a panel's sheet may set on these widgets is set here again, in the
// colours of the application's palette (panel_style.h). Text is `px` pixels high, buttons a
// pixel less.
QString dialogStyleSheet(int px)
{
    return QStringLiteral(
               "QDialog { background: @window; color: @text; font-size: %1px; }"
               "QLabel { color: @text; background: transparent; border: none; padding: 0px;"
               " font-size: %1px; font-weight: normal; }"
               "QPushButton { color: @text; background: @button; border: 1px solid @line;"
               " border-radius: 3px; padding: 4px 4px; min-width: 40px; font-size: %2px; font-weight: normal; }"
               "QPushButton:hover, QPushButton:focus { border-color: @accent; }"
               "QPushButton:pressed { background: @accent; color: @accentText; }"
               "QPushButton:disabled { color: @disabled; }"
               "QLineEdit { color: @text; background: @field; border: 1px solid @line; border-radius: 2px;"
               " padding: 2px 4px; font-size: %1px; selection-background-color: @accent;"
               " selection-color: @accentText; }"
               "QLineEdit:focus { border-color: @accent; }"
               "QTableView { color: @text; background: @field; gridline-color: @grid;"
               " border: 1px solid @line; font-size: %1px; selection-background-color: @accent;"
               " selection-color: @accentText; }"
               "QHeaderView::section { color: @text; background: @button; border: none;"
               " border-right: 1px solid @grid; padding: 2px 4px; font-size: %1px; font-weight: bold; }"
               "QProgressBar { background: @field; border: 1px solid @line; border-radius: 2px; height: 10px; }"
               "QProgressBar::chunk { background: @accent; }")
        .arg(px)
        .arg(px - 1);
}

}  // namespace

void applyDialogStyle(QWidget* dialog, int textPixels)
{
    dialog->setPalette(QApplication::palette());
    setThemedStyleSheet(dialog, dialogStyleSheet(textPixels));
}

QSize ownerWindowSize(const QWidget* parent)
{
    return parent != nullptr ? parent->window()->size() : QSize(480, 640);
}

QMessageBox* makeMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text, QWidget* parent)
{
    auto* box = new QMessageBox(icon, caption, text, QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("messageBox"));
    box->setTextFormat(Qt::PlainText);
    // The type follows the window it stands over, so the box fits a 240-pixel-wide one.
    const int scale = ScreenFacts::of(ownerWindowSize(parent)).scale;
    applyDialogStyle(box, 12 * scale);
    return box;
}

QMessageBox* showMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text, QWidget* parent)
{
    QMessageBox* box = makeMessageBox(icon, caption, text, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}
