// The calculator window's menu, and what it does that no key does: preferences, help, the
// display formats.
#include "calculator_view.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QUrl>

#include "help_view.h"
#include "key_codes.h"
#include "preferences_editor_view.h"

void CalculatorView::buildMenu()
{
    auto* menu = new QMenu(menuButton_);
    menu->addAction(tr("Preferences..."), QKeySequence(Qt::Key_F2), this, &CalculatorView::openPreferences);
    menu->addAction(tr("Help"), QKeySequence(Qt::Key_F1), this, &CalculatorView::openHelp);
    QAction* typeset = menu->addAction(tr("Typeset view"));
    typeset->setCheckable(true);
    typesetAction_ = typeset;
    connect(typeset, &QAction::toggled, this, [this](bool on) {
        formulaShown_ = on;
        refresh();
    });
    menu->addSeparator();
    menu->addAction(tr("Categories"), QKeySequence(Qt::Key_F4), this, &CalculatorView::toggleToolsPanel);
    menu->addAction(tr("Next category"), QKeySequence(Qt::CTRL | Qt::Key_PageDown), this,
                    [this] { stepCategory(true); });
    menu->addAction(tr("Previous category"), QKeySequence(Qt::CTRL | Qt::Key_PageUp), this,
                    [this] { stepCategory(false); });
    menu->addAction(tr("History"), QKeySequence(Qt::CTRL | Qt::Key_H), this, &CalculatorView::openHistory);
    menu->addAction(tr("Insert macro..."), QKeySequence(Qt::CTRL | Qt::Key_M), this, &CalculatorView::openMacroList);
    menu->addSeparator();

    // The display formats, and the digits that FIX shows.
    QMenu* formats = menu->addMenu(tr("Display format"));
    formatActions_ = new QActionGroup(this);
    struct FormatItem {
        const char* text;
        int code;
        QKeySequence shortcut;
    };
    for (const FormatItem& item :
         {FormatItem{"FIX", KeyCode::kFormatFix, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)},
          FormatItem{"NORM", KeyCode::kFormatNorm, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N)},
          FormatItem{"SCI", KeyCode::kFormatSci, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}}) {
        QAction* action = formats->addAction(QString::fromLatin1(item.text));
        action->setShortcut(item.shortcut);
        action->setCheckable(true);
        action->setData(item.code);
        formatActions_->addAction(action);
        const int code = item.code;
        connect(action, &QAction::triggered, this, [this, code] {
            calculator_.pressKey(code);
            afterKey();
        });
    }
    QMenu* digits = menu->addMenu(tr("Fix digits"));
    fixDigitsActions_ = new QActionGroup(this);
    for (int count = 0; count <= kMaxFixDigits; ++count) {
        QAction* action = digits->addAction(QString::number(count));
        action->setCheckable(true);
        action->setData(count);
        fixDigitsActions_->addAction(action);
        connect(action, &QAction::triggered, this, [this, count] { setFixDigits(count); });
    }
    digits->addSeparator();
    digits->addAction(tr("More digits"), QKeySequence(Qt::CTRL | Qt::Key_BracketRight), this,
                      [this] { setFixDigits(calculator_.preferences().fixDigits + 1); });
    digits->addAction(tr("Fewer digits"), QKeySequence(Qt::CTRL | Qt::Key_BracketLeft), this,
                      [this] { setFixDigits(calculator_.preferences().fixDigits - 1); });
    menu->addSeparator();
    menu->addAction(tr("Undo"), QKeySequence::Undo, this, [this] {
        if (calculator_.undo())
            refresh();
    });
    menu->addAction(tr("Copy result"), QKeySequence::Copy, this, [this] { copyResult(CopyPrecision::AsShown); });
    menu->addAction(tr("Copy full precision"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), this,
                    [this] { copyResult(CopyPrecision::Full); });
    menu->addAction(tr("Paste expression"), QKeySequence::Paste, this, &CalculatorView::pasteExpression);
    menu->addSeparator();
    menu->addAction(tr("Quit"), QKeySequence::Quit, this, &QWidget::close);
    menuButton_->setMenu(menu);
    // The shortcuts work wherever the focus is in the window, not only while the menu is open.
    addActions(menu->actions());
    addActions(formats->actions());
    addActions(digits->actions());
}

void CalculatorView::setFixDigits(int digits)
{
    calculator_.setFixDigits(digits);
    refresh();
}

void CalculatorView::openHelp()
{
    const QString page = QString::fromStdString(folder_.file("Corvan.htm").string());
    if (!QFileInfo::exists(page)) {
        QMessageBox::critical(this, QStringLiteral("Error!"), QStringLiteral("Cannot open help file."));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(page);
    if (openInBrowser_ ? openInBrowser_(url) : QDesktopServices::openUrl(url))
        return;
    if (helpWindow_ == nullptr) {
        helpWindow_ = new HelpView(this);
        helpWindow_->centreOn(*this);
    }
    helpWindow_->showPage(page);
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

void CalculatorView::openPreferences()
{
    closePopups();
    const auto changes = PreferencesEditorView::run(calculator_, folder_, this);
    if (changes.skinChanged)
        loadSkin();
    refresh();
}
