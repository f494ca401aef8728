#pragma once

#include <QTextBrowser>
#include <QWidget>

// The help page in a window of Corvan's own, for when no browser can open it: a text browser
// over the page that follows the page's links to its anchors and to the files beside it.
// Escape closes it.
class HelpView : public QWidget {
    Q_OBJECT
public:
    explicit HelpView(QWidget* parent = nullptr);

    // Shows the page (a local HTML file) from its start.
    void showPage(const QString& file);
    // Moves the window over the middle of another, kept on the screen.
    void centreOn(const QWidget& window);
    const QTextBrowser* browser() const { return browser_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTextBrowser* browser_;
};
