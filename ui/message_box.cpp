#include "message_box.h"

#include <QApplication>
#include <QStyle>

namespace {

// Every property that a panel's sheet may set on labels and buttons is set here again.
const char* const kMessageBoxStyle =
    "QMessageBox { background: #FFFFFF; }"
    "QMessageBox QLabel { color: #1B222C; background: transparent; border: none; padding: 0px;"
    " font-size: 14px; font-weight: normal; }"
    "QMessageBox QPushButton { color: #1B222C; background: #E8EEF2; border: 1px solid #8A96A3;"
    " border-radius: 3px; padding: 4px 16px; min-width: 64px; font-size: 14px; }"
    "QMessageBox QPushButton:hover { border-color: #1B222C; }"
    "QMessageBox QPushButton:pressed { background: #C9D3DC; }";

}  // namespace

QMessageBox* makeMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                            QWidget* parent)
{
    auto* box = new QMessageBox(icon, caption, text, QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("messageBox"));
    box->setTextFormat(Qt::PlainText);
    box->setPalette(QApplication::style()->standardPalette());
    box->setStyleSheet(QString::fromLatin1(kMessageBoxStyle));
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
