#include "message_box.h"

#include <QApplication>
#include <QStyle>

#include "screen_facts.h"

namespace {

// Every property that a panel's sheet may set on these widgets is set here again. Text is
// `px` pixels high, buttons a pixel less.
QString plainStyleSheet(int px)
{
    return QStringLiteral(
               "QDialog { background: #FFFFFF; color: #1B222C; font-size: %1px; }"
               "QLabel { color: #1B222C; background: transparent; border: none; padding: 0px;"
               " font-size: %1px; font-weight: normal; }"
               "QPushButton { color: #1B222C; background: #E8EEF2; border: 1px solid #8A96A3;"
               " border-radius: 3px; padding: 4px 4px; min-width: 40px; font-size: %2px; font-weight: normal; }"
               "QPushButton:hover { border-color: #1B222C; }"
               "QPushButton:pressed { background: #C9D3DC; color: #1B222C; }"
               "QPushButton:disabled { color: #8A96A3; }"
               "QLineEdit { color: #1B222C; background: #FFFFFF; border: 1px solid #8A96A3; border-radius: 2px;"
               " padding: 2px 4px; font-size: %1px; }"
               "QTableView { color: #1B222C; background: #FFFFFF; gridline-color: #D5DCE2;"
               " border: 1px solid #8A96A3; font-size: %1px; selection-background-color: #F29B38;"
               " selection-color: #141A21; }"
               "QHeaderView::section { color: #1B222C; background: #E8EEF2; border: none;"
               " border-right: 1px solid #C9D3DC; padding: 2px 4px; font-size: %1px; font-weight: bold; }"
               "QProgressBar { background: #E8EEF2; border: 1px solid #8A96A3; border-radius: 2px; height: 10px; }"
               "QProgressBar::chunk { background: #F29B38; }")
        .arg(px)
        .arg(px - 1);
}

}  // namespace

void applyPlainStyle(QWidget* dialog, int textPixels)
{
    dialog->setPalette(QApplication::style()->standardPalette());
    dialog->setStyleSheet(plainStyleSheet(textPixels));
}

QSize ownerWindowSize(const QWidget* parent)
{
    return parent != nullptr ? parent->window()->size() : QSize(480, 640);
}

QMessageBox* makeMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                            QWidget* parent)
{
    auto* box = new QMessageBox(icon, caption, text, QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("messageBox"));
    box->setTextFormat(Qt::PlainText);
    // The type follows the window it stands over, so the box fits a 240-pixel-wide one.
    const int scale = ScreenFacts::of(ownerWindowSize(parent)).scale;
    applyPlainStyle(box, 12 * scale);
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
