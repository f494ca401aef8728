#include "help_view.h"

#include <QFileInfo>
#include <QUrl>
#include <QVBoxLayout>

HelpView::HelpView(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this))
{
    setWindowTitle(tr("Corvan Help"));
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    // Links that leave the page (web addresses) go to whatever the desktop offers.
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 720);
}

void HelpView::showPage(const QString& file)
{
    browser_->setSearchPaths({QFileInfo(file).absolutePath()});
    browser_->setSource(QUrl::fromLocalFile(file));
    browser_->home();
}
