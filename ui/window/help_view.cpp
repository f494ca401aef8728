#include "help_view.h"

#include <QFileInfo>
#include <QScreen>
#include <QKeyEvent>
#include <QUrl>
#include <QVBoxLayout>

HelpView::HelpView(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this))
{
    setWindowTitle(tr("Corvan Help"));
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    // Links that leave the page (web addresses) go to whatever the desktop offers.
    browser_->setOpenExternalLinks(true);
    // The page is written in dark text for a light page, as a browser shows it; the window's
    // dark style would put that text on a dark ground.
    QPalette page = browser_->palette();
    page.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xFF));
    page.setColor(QPalette::Text, QColor(0x1B, 0x22, 0x2C));
    browser_->setPalette(page);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 720);
}

void HelpView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void HelpView::centreOn(const QWidget& window)
{
    // The title bar stays on the screen, however the calculator sits.
    if (const QScreen* screen = window.screen())
        resize(size().boundedTo(screen->availableGeometry().size() * 9 / 10));
    QRect frame = frameGeometry();
    frame.moveCenter(window.frameGeometry().center());
    if (const QScreen* screen = window.screen()) {
        const QRect area = screen->availableGeometry();
        frame.moveLeft(qBound(area.left(), frame.left(), qMax(area.left(), area.right() - frame.width())));
        frame.moveTop(qBound(area.top(), frame.top(), qMax(area.top(), area.bottom() - frame.height())));
    }
    move(frame.topLeft());
}

void HelpView::showPage(const QString& file)
{
    browser_->setSearchPaths({QFileInfo(file).absolutePath()});
    browser_->setSource(QUrl::fromLocalFile(file));
    browser_->home();
}
