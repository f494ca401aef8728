#include "calculator_view.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPropertyAnimation>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <cstdio>

#include "app_style.h"
#include "atomic_file.h"
#include "category_names.h"
#include "evaluation_worker.h"
#include "function_signatures.h"
#include "history_view.h"
#include "key_codes.h"
#include "key_sound.h"
#include "display_text.h"
#include "formula_markup.h"
#include "keypad_faces.h"
#include "biorhythm_view.h"
#include "date_time_view.h"
#include "equation_solver_view.h"
#include "finance_view.h"
#include "formula_view.h"
#include "graph_view.h"
#include "help_view.h"
#include "macro_editor_view.h"
#include "matrix_store_view.h"
#include "preferences_editor_view.h"
#include "statistics_data_view.h"
#include "tip_calculator_view.h"
#include "converter_view.h"
#include "ui_text.h"
#include "utf16.h"

namespace {

// An "=" that ends within this time shows its result at once; a longer one makes the window busy.
constexpr std::chrono::milliseconds kQuickEvaluation{150};
// The display state is written at least this often while it changes, so a crash loses little.
constexpr std::chrono::milliseconds kDisplaySaveInterval{60'000};

// Layout heights at scale 1 (portrait, 240 x 320).
constexpr int kDisplayHeight = 100;
constexpr int kBarHeight = 20;
constexpr int kFunctionKeypadHeight = 72;

const char* const kFunctionLabelImages[] = {
    "SmallFontsArithmetic", "SmallFontsGeonometry", "SmallFontsBaseConversion",
    "SmallFontsStatistics", "SmallFontsMatrix",     "SmallFontsFinance",
};

// Widgets that take typing themselves: a key they leave unused is not for the display.
bool takesTyping(const QWidget* widget)
{
    return qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget);
}

QString colourName(std::uint32_t packed)
{
    return QColor(static_cast<int>(packed & 0xFF), static_cast<int>((packed >> 8) & 0xFF),
                  static_cast<int>((packed >> 16) & 0xFF))
        .name();
}

// The frame colours come from the skin: 0 the window, 1 the category bar, 2 lines, 3 quiet
// text, 4 the accent; the list boxes have their own frame colour. Every rule names the window's
// own widgets, so that dialogs opened over the window keep the application's look.
QString windowStyleSheet(int scale, const SkinColours& colours)
{
    return QStringLiteral(
               "CalculatorView { background: %3; }"
               "QWidget#bar { background: %4; border-top: 1px solid %5; border-bottom: 1px solid %5; }"
               "QLabel#category { color: #E8EEF2; font-weight: bold; font-size: %1px; }"
               "QWidget#bar QToolButton { color: #E8EEF2; background: transparent; border: none; font-size: %1px; }"
               "QWidget#bar QToolButton::menu-indicator { image: none; width: 0px; }"
               "QListWidget#toolsPanel, QListWidget#popupList { background: %4; color: #E8EEF2;"
               " border: 1px solid %7; font-size: %2px; }"
               "QListWidget#toolsPanel::item:selected, QListWidget#popupList::item:selected { background: %6; color: %3; }"
               "QLabel#placeholder { color: %8; background: %3; font-size: %2px; }")
        .arg(11 * scale)
        .arg(12 * scale)
        .arg(colourName(colours.border[0]), colourName(colours.border[1]), colourName(colours.border[2]),
             colourName(colours.border[4]), colourName(colours.listBoxBorder), colourName(colours.border[3]));
}

}  // namespace

CalculatorView::CalculatorView(Calculator& calculator, ProgramFolder folder, QWidget* parent)
    : QWidget(parent), calculator_(calculator), folder_(std::move(folder))
{
    setWindowTitle(QStringLiteral("Corvan"));
    setFocusPolicy(Qt::StrongFocus);

    display_ = new CalculatorDisplayView(calculator_.display(), this);
    bar_ = new QWidget(this);
    bar_->setObjectName(QStringLiteral("bar"));
    bar_->setAttribute(Qt::WA_StyledBackground);
    toolsButton_ = new QToolButton(bar_);
    toolsButton_->setText(QStringLiteral("\u2630"));
    toolsButton_->setToolTip(tr("Categories (F4; Ctrl+PgUp, Ctrl+PgDown step through them)"));
    categoryLabel_ = new QLabel(bar_);
    categoryLabel_->setObjectName(QStringLiteral("category"));
    historyButton_ = new QToolButton(bar_);
    historyButton_->setObjectName(QStringLiteral("historyButton"));
    historyButton_->setText(QStringLiteral("\u21BA"));
    historyButton_->setToolTip(tr("History of calculations (Ctrl+H)"));
    // One menu for what is not a key: preferences, help, formats, the clipboard.
    menuButton_ = new QToolButton(bar_);
    menuButton_->setText(QStringLiteral("\u22EE"));
    menuButton_->setToolTip(tr("Menu"));
    menuButton_->setPopupMode(QToolButton::InstantPopup);
    buildMenu();
    // Shown only while "=" computes on the worker thread.
    cancelButton_ = new QToolButton(bar_);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    cancelButton_->setText(tr("Cancel"));
    cancelButton_->setToolTip(tr("Stop the calculation (Esc)"));
    cancelButton_->hide();
    connect(cancelButton_, &QToolButton::clicked, this, [this] { calculator_.cancelEvaluation(); });
    auto* barLayout = new QHBoxLayout(bar_);
    barLayout->setContentsMargins(2, 0, 2, 0);
    barLayout->addWidget(toolsButton_);
    barLayout->addWidget(categoryLabel_, 1);
    barLayout->addWidget(historyButton_);
    barLayout->addWidget(cancelButton_);
    barLayout->addWidget(menuButton_);
    for (QToolButton* button : {toolsButton_, historyButton_, menuButton_, cancelButton_})
        button->setFocusPolicy(Qt::NoFocus);

    evaluation_ = new EvaluationWorker(this);
    connect(evaluation_, &EvaluationWorker::finished, this, &CalculatorView::completeEvaluation);
    calculator_.setEvaluationRunner([this] { startEvaluation(); });
    auto* saveTimer = new QTimer(this);
    saveTimer->setInterval(kDisplaySaveInterval);
    connect(saveTimer, &QTimer::timeout, this, [this] {
        if (!busy_)
            saveDisplayState();
    });
    saveTimer->start();

    functionKeypad_ = new KeypadView(kFunctionKeypadGrid.columns, kFunctionKeypadGrid.rows, this);
    functionKeypad_->setObjectName(QStringLiteral("functionKeypad"));
    functionKeypad_->setRepeats([this](int position) {
        const std::optional<int> code = calculator_.functionKeyCode(position, false);
        return code && Calculator::repeatsWhileHeld(*code);
    });
    functionKeypad_->setTooltips([this](int position) { return functionKeyTooltip(position); });
    functionKeypad_->setRelabels([this](int position) {
        const std::optional<ModeKeyFace> face = modeFaceAt(position);
        return face ? QStringList{toQString(face->label), toQString(face->shortLabel)} : QStringList();
    });
    basicKeypad_ = new KeypadView(kBasicPortraitGrid.columns, kBasicPortraitGrid.rows, this);
    basicKeypad_->setObjectName(QStringLiteral("basicKeypad"));
    toolPlaceholder_ = new QLabel(this);
    toolPlaceholder_->setObjectName(QStringLiteral("placeholder"));
    toolPlaceholder_->setAlignment(Qt::AlignCenter);
    toolPlaceholder_->setWordWrap(true);

    macroWindow_ = new MacroEditorView(calculator_, this);
    connect(macroWindow_, &MacroEditorView::changed, this, [this] { refresh(); });
    matrixWindow_ = new MatrixStoreView(calculator_, this);
    matrixWindow_->setObjectName(QStringLiteral("matrixWindow"));
    statisticsWindow_ = new StatisticsDataView(this);
    statisticsWindow_->setObjectName(QStringLiteral("statisticsWindow"));
    for (QWidget* panel : std::initializer_list<QWidget*>{matrixWindow_, statisticsWindow_})
        panel->hide();
    connect(matrixWindow_, &MatrixStoreView::changed, this, [this] { refresh(); });
    connect(statisticsWindow_, &StatisticsDataView::changed, this, [this] { refresh(); });
    const auto closeDataPanel = [this] {
        dataPanelCategory_ = -1;
        refresh();
        // The panel's focused control is gone: typing goes back to the display.
        setFocus(Qt::OtherFocusReason);
    };
    connect(matrixWindow_, &MatrixStoreView::doneClicked, this, closeDataPanel);
    connect(statisticsWindow_, &StatisticsDataView::doneClicked, this, closeDataPanel);
    tipWindow_ = new TipCalculatorView(calculator_, this);
    tvmWindow_ = new TimeValueOfMoneyCalculatorView(this);
    loanWindow_ = new LoanCalculatorView(calculator_, this);
    mortgageWindow_ = new MortgageCalculatorView(calculator_, this);
    const auto closeFinancePanel = [this] {
        financePanel_ = nullptr;
        refresh();
        setFocus(Qt::OtherFocusReason);
    };
    for (QWidget* panel : std::initializer_list<QWidget*>{tvmWindow_, loanWindow_, mortgageWindow_})
        panel->hide();
    connect(tvmWindow_, &TimeValueOfMoneyCalculatorView::doneClicked, this, closeFinancePanel);
    connect(loanWindow_, &LoanCalculatorView::doneClicked, this, closeFinancePanel);
    connect(mortgageWindow_, &MortgageCalculatorView::doneClicked, this, closeFinancePanel);
    solverWindow_ = new EquationSolverView(calculator_, this);
    // The data files lie in the program folder; "Converter.dat" only where the calculator keeps state.
    converterWindow_ = new ConverterView(calculator_, folder_.path(), calculator_.folder(), this);
    converterWindow_->hide();
    dateTimeWindow_ = new DateTimeView(calculator_, this);
    graphWindow_ = new GraphView(calculator_, this);
    graphWindow_->hide();
    biorhythmWindow_ = new BiorhythmView(calculator_, folder_, this);
    bar_->raise();  // above the date-time and biorhythm panels, which span the whole window

    historyView_ = new HistoryView(calculator_, this);
    historyView_->setObjectName(QStringLiteral("historyPanel"));
    historyView_->hide();
    connect(historyView_, &HistoryView::changed, this, [this] { refresh(); });
    connect(historyView_, &HistoryView::closed, this, [this] {
        refresh();
        setFocus(Qt::OtherFocusReason);
    });

    formulaView_ = new FormulaView(this);
    formulaView_->hide();
    connect(formulaView_, &FormulaView::closeClicked, typesetAction_, [this] { typesetAction_->setChecked(false); });

    toolsPanel_ = new QListWidget(this);
    toolsPanel_->setObjectName(QStringLiteral("toolsPanel"));
    for (int category = 0; category <= CategoryCode::kDateTime; ++category)
        toolsPanel_->addItem(toQString(categoryName(category)));
    toolsPanel_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    toolsPanel_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    toolsPanel_->hide();
    popupList_ = new QListWidget(this);
    popupList_->setObjectName(QStringLiteral("popupList"));
    popupList_->setWordWrap(true);
    popupList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    popupList_->hide();
    for (QListWidget* list : {toolsPanel_, popupList_})
        list->setFocusPolicy(Qt::NoFocus);

    connect(functionKeypad_, &KeypadView::keyPressed, this, &CalculatorView::onFunctionKey);
    connect(basicKeypad_, &KeypadView::keyPressed, this, &CalculatorView::onBasicKey);
    connect(toolsButton_, &QToolButton::clicked, this, &CalculatorView::toggleToolsPanel);
    connect(historyButton_, &QToolButton::clicked, this, &CalculatorView::openHistory);
    connect(display_, &CalculatorDisplayView::indicatorClicked, this, [this](int code) {
        calculator_.pressKey(code);
        afterKey();
    });
    connect(toolsPanel_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        closePopups();
        showCategory(toolsPanel_->row(item));
    });
    connect(popupList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = popupList_->row(item);
        closePopups();
        if (popupKind_ == PopupKind::Macros)
            calculator_.insertMacroCall(static_cast<std::size_t>(row));
        else
            calculator_.chooseCalculusEntry(fromQString(item->text()));
        afterKey();
    });

    for (const std::filesystem::path& font : skinFontFiles(folder_))
        QFontDatabase::addApplicationFont(QString::fromStdString(font.string()));
    facts_ = ScreenFacts::of(QSize(480, 640));
    loadSkin();
    resize(480, 640);
    refresh();
}

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
    menu->addAction(tr("Next category"), QKeySequence(Qt::CTRL | Qt::Key_PageDown), this, [this] { stepCategory(true); });
    menu->addAction(tr("Previous category"), QKeySequence(Qt::CTRL | Qt::Key_PageUp), this, [this] { stepCategory(false); });
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
    for (const FormatItem& item : {FormatItem{"FIX", KeyCode::kFormatFix, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)},
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
    menu->addAction(tr("Copy result"), QKeySequence::Copy, this, &CalculatorView::copyResult);
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

void CalculatorView::stepCategory(bool forward)
{
    closePopups();
    calculator_.stepCategory(forward);
    showCategory(calculator_.category());
}

std::optional<ModeKeyFace> CalculatorView::modeFaceAt(int position) const
{
    const std::optional<int> code =
        functionKeypadPositionCode(calculator_.category(), position, false, calculator_.display().radix());
    return code ? modeKeyFace(calculator_.display().inputMode(), *code) : std::nullopt;
}

QString CalculatorView::functionKeyTooltip(int position) const
{
    if (!calculator_.preferences().tooltipsEnabled)
        return {};
    if (const std::optional<ModeKeyFace> face = modeFaceAt(position))
        return toQString(face->tooltip);
    const int category = calculator_.category();
    if (const std::optional<KeypadSpecial> special = functionKeypadSpecial(category, position)) {
        switch (*special) {
        case KeypadSpecial::Shift: return tr("SHIFT: the keys' second (orange) functions");
        case KeypadSpecial::CalculusList: return tr("Calculus: integral, derivative, evaluation, root, product, sum, Fibonacci");
        case KeypadSpecial::MatrixWindow: return tr("MAT: the stored matrices");
        case KeypadSpecial::StatisticsWindow: return tr("DATA: the statistics data");
        case KeypadSpecial::TvmWindow: return tr("TVM: time value of money");
        case KeypadSpecial::LoanWindow: return tr("Loan calculator");
        case KeypadSpecial::MortgageWindow: return tr("Mortgage calculator");
        }
    }
    const int radix = calculator_.display().radix();
    const std::optional<int> first = functionKeypadPositionCode(category, position, false, radix);
    const std::optional<int> second = functionKeypadPositionCode(category, position, true, radix);
    QStringList lines;
    if (first) {
        if (const std::optional<std::u16string> text = keyTooltip(*first))
            lines << displayString(*text);
    }
    if (second && second != first) {
        if (const std::optional<std::u16string> text = keyTooltip(*second))
            lines << tr("Shift: %1").arg(displayString(*text));
    }
    return lines.join(QLatin1Char('\n'));
}

CalculatorView::~CalculatorView()
{
    cancelEvaluation();
    calculator_.setEvaluationRunner({});
}

void CalculatorView::startEvaluation()
{
    if (evaluation_->run([this] { calculator_.runEvaluation(); }, kQuickEvaluation))
        completeEvaluation();
    else
        setBusy(true);
}

void CalculatorView::completeEvaluation()
{
    evaluation_->wait();
    calculator_.finishEvaluation();
    setBusy(false);
    saveDisplayState();
    refresh();
}

void CalculatorView::cancelEvaluation()
{
    if (!calculator_.evaluating())
        return;
    calculator_.cancelEvaluation();
    waitForEvaluation();
}

void CalculatorView::waitForEvaluation()
{
    if (calculator_.evaluating())
        completeEvaluation();
}

void CalculatorView::setBusy(bool busy)
{
    if (busy == busy_)
        return;
    busy_ = busy;
    // Keys, clicks and shortcuts of the whole window pass this filter while busy.
    if (busy)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
    for (QAction* action : actions())
        action->setEnabled(!busy);
    menuButton_->setEnabled(!busy);
    cancelButton_->setVisible(busy);
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
    display_->update();
}

bool CalculatorView::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!busy_ || widget == nullptr || widget->window() != this)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            calculator_.cancelEvaluation();
        return true;
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return widget != cancelButton_;
    default:
        return false;
    }
}

void CalculatorView::saveDisplayState()
{
    const WriteFailureWatch watch;
    calculator_.saveDisplayState();
    reportWriteFailure(watch, !quietClose_);
}

void CalculatorView::reportWriteFailure(const WriteFailureWatch& watch, bool interactive)
{
    if (!watch.first() || writeFailureReported_)
        return;
    // Once: a folder that cannot be written fails every save the same way.
    writeFailureReported_ = true;
    const std::string message = watch.first()->message();
    std::fprintf(stderr, "corvan: %s\n", message.c_str());
    if (interactive)
        QMessageBox::warning(this, QStringLiteral("Corvan"), QString::fromStdString(message));
}

void CalculatorView::closeQuietly()
{
    quietClose_ = true;
    close();
}

void CalculatorView::loadSkin()
{
    skinLoaded_ = skin_.load(folder_, calculator_.preferences().skinName, facts_.scale, facts_.square);
    applyApplicationStyle(skin_.colours());
    setStyleSheet(windowStyleSheet(facts_.scale, skin_.colours()));
    setAttribute(Qt::WA_StyledBackground);
    functionKeypad_->setImages(skin_.image("SmallButtons"), functionLabels());
    const bool landscape = facts_.landscape || facts_.square;
    basicKeypad_->setImages(skin_.image(landscape ? "Keyboard" : "NumberKeyboard"), QImage());
    const KeypadGrid grid = landscape ? kBasicLandscapeGrid : kBasicPortraitGrid;
    basicKeypad_->setGrid(grid.columns, grid.rows);
    basicKeypad_->setSpans(basicKeypadSpans(landscape ? Orientation::Landscape : Orientation::Portrait));
    formulaView_->setSkin(skin_, facts_.scale);
    tvmWindow_->setSkin(skin_);
    loanWindow_->setSkin(skin_);
    mortgageWindow_->setSkin(skin_);
    solverWindow_->setSkin(skin_);
    graphWindow_->setSkin(skin_);
    dateTimeWindow_->setSkin(skin_);
}

QImage CalculatorView::functionLabels() const
{
    const int category = calculator_.category();
    if (category >= 0 && category < static_cast<int>(std::size(kFunctionLabelImages)))
        return skin_.image(kFunctionLabelImages[category]);
    return skin_.image("SmallFontsGeneral");
}

void CalculatorView::resizeEvent(QResizeEvent*)
{
    const ScreenFacts facts = ScreenFacts::of(size());
    if (!(facts == facts_)) {
        facts_ = facts;
        loadSkin();
    }
    layoutChildren();
}

void CalculatorView::layoutChildren()
{
    const double unit = facts_.landscape || facts_.square ? height() / 240.0 : height() / 320.0;
    const int displayHeight = static_cast<int>(kDisplayHeight * unit);
    const int barHeight = static_cast<int>(kBarHeight * unit);
    display_->setGeometry(0, 0, width(), displayHeight);
    // Over the lines, below the indicators and above the result.
    formulaView_->setGeometry(0, displayHeight * 11 / 100, width(), displayHeight * 67 / 100);
    layoutCovered_ = panelCoversDisplay();
    bar_->setGeometry(0, layoutCovered_ ? 0 : displayHeight, width(), barHeight);
    const QRect toolArea = layoutCovered_ ? QRect(0, barHeight, width(), height() - barHeight)
                                          : QRect(0, displayHeight + barHeight, width(), height() - displayHeight - barHeight);
    const int top = displayHeight + barHeight;
    const QRect body(0, top, width(), height() - top);
    if (facts_.landscape || facts_.square) {
        // Side by side: the function keys take 150 of every 320 pixels.
        const int split = width() * 150 / 320;
        functionKeypad_->setGeometry(0, top, split, body.height());
        basicKeypad_->setGeometry(split, top, width() - split, body.height());
    } else {
        const int functionHeight = static_cast<int>(kFunctionKeypadHeight * unit);
        functionKeypad_->setGeometry(0, top, width(), functionHeight);
        basicKeypad_->setGeometry(0, top + functionHeight, width(), body.height() - functionHeight);
    }
    toolPlaceholder_->setGeometry(body);
    macroWindow_->setGeometry(body);
    matrixWindow_->setGeometry(body);
    statisticsWindow_->setGeometry(body);
    tipWindow_->setGeometry(toolArea);
    for (QWidget* panel :
         std::initializer_list<QWidget*>{tvmWindow_, loanWindow_, mortgageWindow_, solverWindow_, graphWindow_})
        panel->setGeometry(toolArea);
    converterWindow_->setGeometry(toolArea);
    // Like the biorhythm panel, the date and time panel spans the window around the category bar.
    dateTimeWindow_->setGeometry(rect());
    dateTimeWindow_->setBand(displayHeight, barHeight);
    biorhythmWindow_->setGeometry(rect());
    biorhythmWindow_->setBand(displayHeight, barHeight);
    historyView_->setGeometry(body);
    toolsPanel_->setGeometry(body.adjusted(0, 0, -body.width() / 4, 0));
    fitToolsPanel();
    popupList_->setGeometry(body.adjusted(body.width() / 6, 0, -body.width() / 6, -body.height() / 6));
}

void CalculatorView::fitToolsPanel()
{
    // Fifteen rows in the height of the keypads: the letters shrink until every row fits whole,
    // and the panel widens for the longest name.
    const QRect body(0, toolsPanel_->y(), width(), height() - toolsPanel_->y());
    const int frame = 2 * toolsPanel_->frameWidth();
    for (int px = 12 * facts_.scale; px >= 6; --px) {
        toolsPanel_->setStyleSheet(QStringLiteral("QListWidget { font-size: %1px; padding: 0px; }").arg(px));
        toolsPanel_->ensurePolished();
        QFont font = toolsPanel_->font();
        font.setPixelSize(px);
        toolsPanel_->setFont(font);
        int rows = 0;
        int widest = 0;
        for (int row = 0; row < toolsPanel_->count(); ++row) {
            rows += toolsPanel_->sizeHintForRow(row);
            widest = std::max(widest, toolsPanel_->sizeHintForColumn(0));
        }
        if (rows + frame <= body.height() || px == 6) {
            const int panelWidth = std::min(body.width(), std::max(toolsPanel_->width(), widest + frame + 4 * facts_.scale));
            toolsPanel_->setGeometry(0, body.top(), panelWidth, body.height());
            return;
        }
    }
}

void CalculatorView::showFormula(const VariableSlots* slots)
{
    // The stack of "Basic-RPN" takes the lines' place, and the line holds only its top.
    const bool shown =
        formulaShown_ && !panelCoversDisplay() && calculator_.display().inputMode() != InputMode::BasicRpn;
    formulaView_->setVisible(shown);
    if (!shown)
        return;
    formulaView_->raise();
    const CalculatorDisplay& display = calculator_.display();
    const DisplayLine& line = display.line(display.currentLineIndex());
    const std::size_t length = line.input().size();
    const double cursorShare =
        length == 0 ? 1.0 : static_cast<double>(line.characterPosition(line.cursor())) / static_cast<double>(length);
    const std::u16string engineText = fromUtf8(
        displayToEngineText(display.getInputText(), outputFormatFromName(calculator_.preferences().outputFormat)));
    if (slots != nullptr)
        formulaView_->showLine(engineText, *slots, cursorShare);
    else
        formulaView_->showLine(engineText, cursorShare);
}

bool CalculatorView::panelCoversDisplay() const
{
    const int category = calculator_.category();
    // The tip window and the converters keep their values in their own fields: the display
    // would stand empty.
    const bool converter = category >= CategoryCode::kUnitConverter && category <= CategoryCode::kConstants;
    return financePanel_ != nullptr || converter || category == CategoryCode::kTip ||
           category == CategoryCode::kEquationSolver || category == CategoryCode::kFunctionGraphs;
}

void CalculatorView::refresh()
{
    const int category = calculator_.category();
    categoryLabel_->setText(toQString(categoryName(category)));
    display_->setCategory(category);
    // While "=" computes, the worker thread owns the engine. The panels, which read it, wait for
    // completeEvaluation() to refresh them (nothing else can change them meanwhile), and the
    // typeset line keeps the variables' values it was last shown with: those "=" started from.
    if (calculator_.evaluating()) {
        showFormula(nullptr);
    } else {
        showPanels(category);
        showFormula(&calculator_.engine().slots);
    }
    toolPlaceholder_->setText(tr("%1\n\nThis tool is not part of this version yet.").arg(toQString(categoryName(category))));
    functionKeypad_->setImages(skin_.image("SmallButtons"), functionLabels());
    const Preferences& preferences = calculator_.preferences();
    for (KeypadView* keypad : {functionKeypad_, basicKeypad_})
        keypad->setHold(preferences.tapHoldEnabled, static_cast<int>(preferences.tapHoldInterval));
    display_->setTypedName(toQString(calculator_.typedName()));
    for (QAction* action : formatActions_->actions())
        action->setChecked(action->data().toInt() == calculator_.display().displayFormat());
    for (QAction* action : fixDigitsActions_->actions())
        action->setChecked(action->data().toInt() == preferences.fixDigits);
    display_->update();
}

void CalculatorView::showPanels(int category)
{
    const bool keypad = categoryHasKeypad(category);
    const bool macros = category == CategoryCode::kMacros;
    const bool tip = category == CategoryCode::kTip;
    const bool solver = category == CategoryCode::kEquationSolver;
    const bool converter = category >= CategoryCode::kUnitConverter && category <= CategoryCode::kConstants;
    const bool dateTime = category == CategoryCode::kDateTime;
    const bool graph = category == CategoryCode::kFunctionGraphs;
    toolPlaceholder_->setVisible(!keypad && !macros && !tip && !solver && !dateTime && !converter && !graph &&
                                 category != CategoryCode::kBiorhythm);
    macroWindow_->setVisible(macros);
    if (macros)
        macroWindow_->refresh();
    if (dataPanelCategory_ != category)
        dataPanelCategory_ = -1;
    const bool matrices = dataPanelCategory_ == CategoryCode::kMatrices;
    const bool statistics = dataPanelCategory_ == CategoryCode::kStatistics;
    // The models live only while their category is shown, so the pointers are asked each time.
    matrixWindow_->setModel(dataTools_ ? dataTools_->matrices() : nullptr);
    statisticsWindow_->setModel(dataTools_ ? dataTools_->statistics() : nullptr);
    // A matrix-mode result may have been kept as "VRE" since the panel was last drawn.
    if (matrices)
        matrixWindow_->refresh();
    if (statistics)
        statisticsWindow_->refresh();
    matrixWindow_->setVisible(matrices);
    statisticsWindow_->setVisible(statistics);
    if (category != CategoryCode::kFinance)
        financePanel_ = nullptr;
    for (QWidget* panel : std::initializer_list<QWidget*>{tvmWindow_, loanWindow_, mortgageWindow_})
        panel->setVisible(panel == financePanel_);
    // A data or finance panel or the history covers the keypads whole: they hide beneath it.
    const bool keypadCovered = matrices || statistics || financePanel_ != nullptr || !historyView_->isHidden();
    functionKeypad_->setVisible(keypad && !keypadCovered);
    basicKeypad_->setVisible(keypad && !keypadCovered);
    tipWindow_->setVisible(tip);
    if (tip)
        tipWindow_->refresh();  // the output format may have changed
    solverWindow_->setVisible(solver);
    converterWindow_->setVisible(converter);
    if (converter)
        converterWindow_->showCategory(category);
    dateTimeWindow_->setVisible(dateTime);
    graphWindow_->setVisible(graph);
    if (dateTime)
        dateTimeWindow_->refresh();  // the date order may have changed
    if (panelCoversDisplay() != layoutCovered_)
        layoutChildren();
    // The model lives while its category is shown: leaving the category saves the persons.
    const bool biorhythm = category == CategoryCode::kBiorhythm;
    if (biorhythm)
        biorhythmWindow_->openWindow();
    else
        biorhythmWindow_->closeWindow();
    biorhythmWindow_->setVisible(biorhythm);
    if (biorhythm)
        biorhythmWindow_->showDates();  // the date order may have changed
}

void CalculatorView::afterKey()
{
    sound_.play(keySoundPath(folder_, calculator_.preferences()));
    refresh();
}

void CalculatorView::showCategory(int category)
{
    calculator_.switchCategory(category);
    refresh();
    showToolMessage();
    // The panel that had the focus may be gone with its category.
    if (QWidget* focus = QApplication::focusWidget(); isVisible() && (!focus || !focus->isVisible()))
        setFocus(Qt::OtherFocusReason);
}

void CalculatorView::setDataTools(DataTools* tools)
{
    dataTools_ = tools;
    refresh();
}

void CalculatorView::openDataPanel()
{
    const int category = calculator_.category();
    if (category != CategoryCode::kMatrices && category != CategoryCode::kStatistics)
        return;
    closePopups();
    dataPanelCategory_ = category;
    refresh();
    (category == CategoryCode::kMatrices ? static_cast<QWidget*>(matrixWindow_) : statisticsWindow_)->raise();
}

void CalculatorView::openFinancePanel(QWidget* panel)
{
    if (calculator_.category() != CategoryCode::kFinance)
        return;
    closePopups();
    financePanel_ = panel;
    refresh();
    panel->raise();
    // Typing goes to the panel's field, not to the display behind it.
    panel->setFocus(Qt::OtherFocusReason);
}

void CalculatorView::showToolMessage()
{
    if (!takeToolMessage_)
        return;
    const std::u16string message = takeToolMessage_();
    if (!message.empty())
        QMessageBox::warning(this, QStringLiteral("Corvan"), toQString(message));
}

void CalculatorView::onFunctionKey(int position, bool held)
{
    closePopups();
    const Calculator::KeypadResult result = calculator_.pressFunctionKey(position, held);
    if (result == Calculator::KeypadResult::OpenCalculusList)
        openPopupList();
    afterKey();
    if (result == Calculator::KeypadResult::OpenMatrixWindow || result == Calculator::KeypadResult::OpenStatisticsWindow)
        openDataPanel();
    else if (result == Calculator::KeypadResult::OpenTvmWindow)
        openFinancePanel(tvmWindow_);
    else if (result == Calculator::KeypadResult::OpenLoanWindow)
        openFinancePanel(loanWindow_);
    else if (result == Calculator::KeypadResult::OpenMortgageWindow)
        openFinancePanel(mortgageWindow_);
}

void CalculatorView::onBasicKey(int position, bool held)
{
    closePopups();
    const Orientation orientation = facts_.landscape || facts_.square ? Orientation::Landscape : Orientation::Portrait;
    calculator_.pressBasicKey(orientation, position, held);
    afterKey();
}

void CalculatorView::toggleToolsPanel()
{
    const bool open = !toolsPanel_->isVisible();
    popupList_->hide();
    if (!open) {
        toolsPanel_->hide();
        return;
    }
    toolsPanel_->setCurrentRow(calculator_.category());
    toolsPanel_->show();
    toolsPanel_->raise();
    // The panel slides in from the left over the keypads.
    const QPoint shown = toolsPanel_->pos();
    auto* slide = new QPropertyAnimation(toolsPanel_, "pos", toolsPanel_);
    slide->setDuration(150);
    slide->setStartValue(QPoint(-toolsPanel_->width(), shown.y()));
    slide->setEndValue(shown);
    slide->setEasingCurve(QEasingCurve::OutCubic);
    slide->start(QAbstractAnimation::DeleteWhenStopped);
}

void CalculatorView::openPopupList()
{
    popupKind_ = PopupKind::Calculus;
    popupList_->clear();
    for (const CalculusEntry& entry : kCalculusList)
        popupList_->addItem(toQString(entry.text));
    popupList_->setCurrentRow(0);
    popupList_->show();
    popupList_->raise();
}

void CalculatorView::openMacroList()
{
    closePopups();
    popupKind_ = PopupKind::Macros;
    popupList_->clear();
    for (const std::u16string& signature : calculator_.macros().signatures())
        popupList_->addItem(displayString(signature));
    if (popupList_->count() == 0) {
        auto* none = new QListWidgetItem(tr("No macros yet. Write one in the Macros category."), popupList_);
        none->setFlags(Qt::NoItemFlags);
    }
    popupList_->setCurrentRow(0);
    popupList_->show();
    popupList_->raise();
}

void CalculatorView::openHistory()
{
    closePopups();
    historyView_->open();
    refresh();
}

void CalculatorView::closePopups()
{
    toolsPanel_->hide();
    popupList_->hide();
    if (historyView_->isVisible()) {
        historyView_->hide();
        refresh();
        setFocus(Qt::OtherFocusReason);
    }
}

bool CalculatorView::closeOpenPanel()
{
    if (toolsPanel_->isVisible() || popupList_->isVisible() || historyView_->isVisible()) {
        closePopups();
        return true;
    }
    if (dataPanelCategory_ >= 0 || financePanel_ != nullptr) {
        dataPanelCategory_ = -1;
        financePanel_ = nullptr;
        refresh();
        setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
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
    if (helpWindow_ == nullptr)
        helpWindow_ = new HelpView(this);
    helpWindow_->showPage(page);
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

void CalculatorView::copyResult()
{
    // The converter's answer is in its panel, not on the display.
    if (!converterWindow_->isHidden()) {
        converterWindow_->copyResult();
        return;
    }
    QApplication::clipboard()->setText(displayString(calculator_.copyText()));
}

void CalculatorView::pasteExpression()
{
    calculator_.pasteText(fromQString(QApplication::clipboard()->text()));
    refresh();
}

void CalculatorView::openPreferences()
{
    closePopups();
    const auto changes = PreferencesEditorView::run(calculator_, folder_, this);
    if (changes.skinChanged)
        loadSkin();
    refresh();
}

bool CalculatorView::handleEditingKey(QKeyEvent* event)
{
    QListWidget* list = popupList_->isVisible() ? popupList_ : (toolsPanel_->isVisible() ? toolsPanel_ : nullptr);
    if (list) {
        switch (event->key()) {
        case Qt::Key_Escape: closePopups(); return true;
        case Qt::Key_F4:
            toggleToolsPanel();
            return true;
        case Qt::Key_Up: list->setCurrentRow(qMax(0, list->currentRow() - 1)); return true;
        case Qt::Key_Down: list->setCurrentRow(qMin(list->count() - 1, list->currentRow() + 1)); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (list->currentItem())
                Q_EMIT list->itemClicked(list->currentItem());
            return true;
        default: return true;
        }
    }
    if (event->matches(QKeySequence::Copy)) {
        copyResult();
        return true;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteExpression();
        return true;
    }
    if (event->key() == Qt::Key_F1) {
        openHelp();
        return true;
    }
    if (event->key() == Qt::Key_F2) {
        openPreferences();
        return true;
    }
    int code = -1;
    switch (event->key()) {
    case Qt::Key_Left: code = KeyCode::kCursorLeft; break;
    case Qt::Key_Right: code = KeyCode::kCursorRight; break;
    case Qt::Key_Up: code = KeyCode::kPreviousLine; break;
    case Qt::Key_Down: code = KeyCode::kNextLine; break;
    case Qt::Key_PageUp: code = KeyCode::kCursorTenLeft; break;
    case Qt::Key_PageDown: code = KeyCode::kCursorTenRight; break;
    case Qt::Key_Delete: code = KeyCode::kDelete; break;
    case Qt::Key_Home:
    case Qt::Key_End:
        calculator_.moveCursorToLineEnd(event->key() == Qt::Key_End);
        afterKey();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A name being typed completes first; one that is no name stays for mending.
        if (!calculator_.typedName().empty()) {
            calculator_.typeCharacter(u'\r');
            if (calculator_.typingRefused())
                QApplication::beep();
            afterKey();
            return true;
        }
        code = KeyCode::kEquals;
        break;
    case Qt::Key_Escape:
        // Escape closes what is open, and is "C" when nothing is.
        if (!closeOpenPanel()) {
            calculator_.pressKey(KeyCode::kClear);
            afterKey();
        }
        return true;
    default: return false;
    }
    calculator_.pressKey(code);
    afterKey();
    return true;
}

bool CalculatorView::focusNextPrevChild(bool next)
{
    if (calculator_.category() == CategoryCode::kTip && !toolsPanel_->isVisible() && !popupList_->isVisible()) {
        tipWindow_->pressKey(TipCalculator::kTab);
        return true;
    }
    if (!converterWindow_->isHidden() && !toolsPanel_->isVisible() && !popupList_->isVisible()) {
        converterWindow_->pressKey(ConverterView::kSwapField);
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

void CalculatorView::keyPressEvent(QKeyEvent* event)
{
    const Preferences& preferences = calculator_.preferences();
    // A key that a focused field, table or list left unused arrives here too.
    const QWidget* focus = QApplication::focusWidget();
    const bool fromField = focus != nullptr && focus != this && isAncestorOf(focus) && takesTyping(focus);
    // P and Q scroll the categories only where letters are the pocket computer's keys.
    const bool scrollKey = preferences.pocketKeyboardLetters && preferences.hardKeyScrolling && !fromField &&
                           (event->key() == Qt::Key_P || event->key() == Qt::Key_Q) &&
                           !(event->modifiers() & Qt::ControlModifier);
    // The tip and solver windows take the keyboard in their categories, unless a list is open;
    // the hard keys that scroll the categories keep working there.
    if (!scrollKey && !toolsPanel_->isVisible() && !popupList_->isVisible()) {
        if (calculator_.category() == CategoryCode::kTip && tipWindow_->takeKey(event))
            return;
        if (calculator_.category() == CategoryCode::kEquationSolver && solverWindow_->takeKey(event))
            return;
        if (!converterWindow_->isHidden() && converterWindow_->takeKey(event))
            return;
        if (calculator_.category() == CategoryCode::kDateTime && dateTimeWindow_->takeKey(event))
            return;
        if (calculator_.category() == CategoryCode::kFunctionGraphs && graphWindow_->takeKey(event))
            return;
    }
    // Keys go only where the user is typing: never from a field to the display.
    if (fromField) {
        event->accept();
        return;
    }
    if (handleEditingKey(event))
        return;
    if (scrollKey) {
        calculator_.scrollCategories(event->key() == Qt::Key_P);
        afterKey();
        showToolMessage();
        return;
    }
    QString text = event->key() == Qt::Key_Backspace ? QString(QChar(8)) : event->text();
    // The number pad's decimal key is the decimal point whatever the keyboard layout prints.
    if ((event->modifiers() & Qt::KeypadModifier) && (text == QStringLiteral(",") || text == QStringLiteral(".")))
        text = QStringLiteral(".");
    if (text.size() == 1 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
        calculator_.typeCharacter(text.at(0).unicode())) {
        if (calculator_.typingRefused())
            QApplication::beep();
        afterKey();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CalculatorView::closeEvent(QCloseEvent* event)
{
    if (!closed_) {
        // A close while "=" computes cancels it; the line then shows "Calculation cancelled".
        cancelEvaluation();
        const WriteFailureWatch watch;
        biorhythmWindow_->closeWindow();  // before the preferences are written
        calculator_.close();
        closed_ = true;
        reportWriteFailure(watch, !quietClose_);
    }
    event->accept();
}
