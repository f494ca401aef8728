#include "calculator_view.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPropertyAnimation>

#include "app_style.h"
#include "biorhythm_view.h"
#include "category_names.h"
#include "converter_view.h"
#include "date_time_view.h"
#include "display_text.h"
#include "equation_solver_view.h"
#include "finance_view.h"
#include "formula_view.h"
#include "graph_view.h"
#include "history_view.h"
#include "key_sound.h"
#include "macro_editor_view.h"
#include "matrix_store_view.h"
#include "statistics_data_view.h"
#include "tip_calculator_view.h"
#include "ui_text.h"
#include "utf16.h"

namespace {

// Layout heights at scale 1 (portrait, 240 x 320).
constexpr int kDisplayHeight = 100;
constexpr int kBarHeight = 20;
constexpr int kFunctionKeypadHeight = 72;

const char* const kFunctionLabelImages[] = {
    "SmallFontsArithmetic", "SmallFontsGeonometry", "SmallFontsBaseConversion",
    "SmallFontsStatistics", "SmallFontsMatrix",     "SmallFontsFinance",
};

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
    buildCategoryBar();
    connectEvaluation();
    buildKeypads();
    buildFinancePanels();
    buildDataPanels();
    buildToolPanels();
    bar_->raise();  // above the date-time and biorhythm panels, which span the whole window
    buildLists();
    connectInput();

    for (const std::filesystem::path& font : skinFontFiles(folder_))
        QFontDatabase::addApplicationFont(QString::fromStdString(font.string()));
    facts_ = ScreenFacts::of(QSize(480, 640));
    loadSkin();
    resize(480, 640);
    refresh();
}

CalculatorView::~CalculatorView()
{
    cancelEvaluation();
    calculator_.setEvaluationRunner({});
}

void CalculatorView::buildCategoryBar()
{
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
    auto* barLayout = new QHBoxLayout(bar_);
    barLayout->setContentsMargins(2, 0, 2, 0);
    barLayout->addWidget(toolsButton_);
    barLayout->addWidget(categoryLabel_, 1);
    barLayout->addWidget(historyButton_);
    barLayout->addWidget(cancelButton_);
    barLayout->addWidget(menuButton_);
    for (QToolButton* button : {toolsButton_, historyButton_, menuButton_, cancelButton_})
        button->setFocusPolicy(Qt::NoFocus);
}

void CalculatorView::buildKeypads()
{
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
    // Digits the radix lacks, and the point in Base conversion, are drawn dimmed.
    const auto taken = [this](std::optional<int> code) {
        return !code || keyTakenIn(*code, calculator_.display().radix(), calculator_.category());
    };
    functionKeypad_->setAvailable([this, taken](int position) {
        const std::optional<int> code = calculator_.functionKeyCode(position, false);
        // The keys of the hexadecimal digits have no code outside HEX.
        const bool hexOnly = !code && functionKeypadPositionCode(calculator_.category(), position,
                                                                 calculator_.display().shift(), KeyCode::kRadixHex);
        return !hexOnly && taken(code);
    });
    basicKeypad_->setAvailable([this, taken](int position) {
        const Orientation orientation =
            facts_.landscape || facts_.square ? Orientation::Landscape : Orientation::Portrait;
        return taken(basicKeypadCode(orientation, position, false, calculator_.category()));
    });
    // In a category with neither keypads nor a panel of its own.
    toolPlaceholder_ = new QLabel(this);
    toolPlaceholder_->setObjectName(QStringLiteral("placeholder"));
    toolPlaceholder_->setAlignment(Qt::AlignCenter);
    toolPlaceholder_->setWordWrap(true);
}

void CalculatorView::buildFinancePanels()
{
    // The tip window keeps its values in its own fields, where the keyboard types: the display
    // would stand empty, and Tab steps through the fields. The output format may have changed.
    auto* tipWindow = new TipCalculatorView(calculator_.preferences(), this);
    panels_.add({.categories = {CategoryCode::kTip, CategoryCode::kTip},
                 .widget = tipWindow,
                 .area = PanelArea::DisplayAndKeypads,
                 .takeKey = [tipWindow](QKeyEvent* event) { return tipWindow->takeKey(event); },
                 .takeTab = [tipWindow] { tipWindow->pressKey(TipCalculator::kTab); },
                 .whileShown = [tipWindow](int) { tipWindow->refresh(); }});
    // The finance windows have a keypad of their own, which takes the display's place too.
    tvmWindow_ = new TimeValueOfMoneyCalculatorView(this);
    loanWindow_ = new LoanCalculatorView(calculator_.preferences(), this);
    mortgageWindow_ = new MortgageCalculatorView(calculator_.preferences(), this);
    for (QWidget* panel : std::initializer_list<QWidget*>{tvmWindow_, loanWindow_, mortgageWindow_}) {
        panels_.add({.categories = {CategoryCode::kFinance, CategoryCode::kFinance},
                     .widget = panel,
                     .area = PanelArea::DisplayAndKeypads,
                     .opensOnKey = true});
    }
    connect(tvmWindow_, &TimeValueOfMoneyCalculatorView::doneClicked, this, &CalculatorView::closePanel);
    connect(loanWindow_, &LoanCalculatorView::doneClicked, this, &CalculatorView::closePanel);
    connect(mortgageWindow_, &MortgageCalculatorView::doneClicked, this, &CalculatorView::closePanel);
}

void CalculatorView::buildDataPanels()
{
    auto* macroWindow = new MacroEditorView(calculator_, this);
    connect(macroWindow, &MacroEditorView::changed, this, [this] { refresh(); });
    panels_.add({.categories = {CategoryCode::kMacros, CategoryCode::kMacros},
                 .widget = macroWindow,
                 .whileShown = [macroWindow](int) { macroWindow->refresh(); }});
    // A matrix-mode result may have been kept as "VRE" since a data panel was last drawn.
    matrixWindow_ = new MatrixStoreView(calculator_, this);
    matrixWindow_->setObjectName(QStringLiteral("matrixWindow"));
    panels_.add({.categories = {CategoryCode::kMatrices, CategoryCode::kMatrices},
                 .widget = matrixWindow_,
                 .opensOnKey = true,
                 .whileShown = [this](int) { matrixWindow_->refresh(); }});
    statisticsWindow_ = new StatisticsDataView(this);
    statisticsWindow_->setObjectName(QStringLiteral("statisticsWindow"));
    panels_.add({.categories = {CategoryCode::kStatistics, CategoryCode::kStatistics},
                 .widget = statisticsWindow_,
                 .opensOnKey = true,
                 .whileShown = [this](int) { statisticsWindow_->refresh(); }});
    connect(matrixWindow_, &MatrixStoreView::changed, this, [this] { refresh(); });
    connect(statisticsWindow_, &StatisticsDataView::changed, this, [this] { refresh(); });
    connect(matrixWindow_, &MatrixStoreView::doneClicked, this, &CalculatorView::closePanel);
    connect(statisticsWindow_, &StatisticsDataView::doneClicked, this, &CalculatorView::closePanel);
}

void CalculatorView::buildToolPanels()
{
    solverWindow_ = new EquationSolverView(calculator_.engine(), this);
    panels_.add({.categories = {CategoryCode::kEquationSolver, CategoryCode::kEquationSolver},
                 .widget = solverWindow_,
                 .area = PanelArea::DisplayAndKeypads,
                 .takeKey = [this](QKeyEvent* event) { return solverWindow_->takeKey(event); }});
    // The converters keep their values in their own fields, like the tip window. The data files
    // lie in the program folder; "Converter.dat" only where the calculator keeps state.
    converterWindow_ = new ConverterView(calculator_.preferences(), folder_.path(), calculator_.folder(), this);
    panels_.add({.categories = {CategoryCode::kUnitConverter, CategoryCode::kConstants},
                 .widget = converterWindow_,
                 .area = PanelArea::DisplayAndKeypads,
                 .takeKey = [this](QKeyEvent* event) { return converterWindow_->takeKey(event); },
                 .takeTab = [this] { converterWindow_->pressKey(ConverterView::kSwapField); },
                 .whileShown = [this](int category) { converterWindow_->showCategory(category); }});
    // Like the biorhythm panel, the date and time panel spans the window around the category bar.
    // The date order may have changed.
    dateTimeWindow_ = new DateTimeView(calculator_.preferences(), this);
    panels_.add({.categories = {CategoryCode::kDateTime, CategoryCode::kDateTime},
                 .widget = dateTimeWindow_,
                 .area = PanelArea::Window,
                 .takeKey = [this](QKeyEvent* event) { return dateTimeWindow_->takeKey(event); },
                 .whileShown = [this](int) { dateTimeWindow_->refresh(); }});
    graphWindow_ = new GraphView(
        calculator_.engine(), calculator_.preferences(),
        [this] { return static_cast<AngleMode>(calculator_.display().angleMode()); }, this);
    panels_.add({.categories = {CategoryCode::kFunctionGraphs, CategoryCode::kFunctionGraphs},
                 .widget = graphWindow_,
                 .area = PanelArea::DisplayAndKeypads,
                 .takeKey = [this](QKeyEvent* event) { return graphWindow_->takeKey(event); }});
    // The model lives while its category is shown: leaving the category saves the persons. The
    // date order may have changed.
    biorhythmWindow_ = new BiorhythmView(calculator_.preferences(), folder_, this);
    panels_.add({.categories = {CategoryCode::kBiorhythm, CategoryCode::kBiorhythm},
                 .widget = biorhythmWindow_,
                 .area = PanelArea::Window,
                 .whileShown =
                     [this](int) {
                         biorhythmWindow_->openWindow();
                         biorhythmWindow_->showDates();
                     },
                 .whileHidden = [this] { biorhythmWindow_->closeWindow(); }});
}

void CalculatorView::buildLists()
{
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
}

void CalculatorView::connectInput()
{
    connect(functionKeypad_, &KeypadView::keyPressed, this, &CalculatorView::onFunctionKey);
    connect(basicKeypad_, &KeypadView::keyPressed, this, &CalculatorView::onBasicKey);
    connect(toolsButton_, &QToolButton::clicked, this, &CalculatorView::toggleToolsPanel);
    connect(historyButton_, &QToolButton::clicked, this, &CalculatorView::openHistory);
    connect(cancelButton_, &QToolButton::clicked, this, &CalculatorView::stopCalculating);
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
    layoutCovered_ = panels_.coverDisplay(calculator_.category());
    bar_->setGeometry(0, layoutCovered_ ? 0 : displayHeight, width(), barHeight);
    const QRect toolArea = layoutCovered_
                               ? QRect(0, barHeight, width(), height() - barHeight)
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
    panels_.place(body, toolArea, rect());
    // The panels over the whole window leave the category bar's band free.
    dateTimeWindow_->setBand(displayHeight, barHeight);
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
            const int panelWidth =
                std::min(body.width(), std::max(toolsPanel_->width(), widest + frame + 4 * facts_.scale));
            toolsPanel_->setGeometry(0, body.top(), panelWidth, body.height());
            return;
        }
    }
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
    toolPlaceholder_->setText(
        tr("%1\n\nThis tool is not part of this version yet.").arg(toQString(categoryName(category))));
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
    // The models live only while their category is shown, so the pointers are asked each time.
    matrixWindow_->setModel(dataTools_ ? dataTools_->matrices() : nullptr);
    statisticsWindow_->setModel(dataTools_ ? dataTools_->statistics() : nullptr);
    panels_.show(category);
    const bool keypad = categoryHasKeypad(category);
    toolPlaceholder_->setVisible(!keypad && !panels_.hasOwnPanel(category));
    // A panel that a key opened, or the history, covers the keypads whole: they hide beneath it.
    const bool keypadCovered = panels_.anyOpened() || !historyView_->isHidden();
    functionKeypad_->setVisible(keypad && !keypadCovered);
    basicKeypad_->setVisible(keypad && !keypadCovered);
    if (panels_.coverDisplay(category) != layoutCovered_)
        layoutChildren();
}

void CalculatorView::showFormula(const VariableSlots* slots)
{
    // The stack of "Basic-RPN" takes the lines' place, and the line holds only its top.
    const CalculatorDisplay& display = calculator_.display();
    const bool shown =
        formulaShown_ && !panels_.coverDisplay(calculator_.category()) && display.inputMode() != InputMode::BasicRpn;
    formulaView_->setVisible(shown);
    if (!shown)
        return;
    formulaView_->raise();
    const DisplayLine& line = display.line(display.currentLineIndex());
    const std::size_t length = line.input().size();
    const double cursorShare =
        length == 0 ? 1.0 : static_cast<double>(line.characterPosition(line.cursor())) / static_cast<double>(length);
    const std::u16string engineText = fromUtf8(
        displayToEngineText(display.getInputText(), calculator_.preferences().outputFormat, display.radixValue()));
    if (slots != nullptr)
        formulaView_->showLine(engineText, *slots, cursorShare);
    else
        formulaView_->showLine(engineText, cursorShare);
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

void CalculatorView::stepCategory(bool forward)
{
    closePopups();
    calculator_.stepCategory(forward);
    showCategory(calculator_.category());
}

void CalculatorView::setDataTools(DataTools* tools)
{
    dataTools_ = tools;
    refresh();
}

void CalculatorView::openDataPanel()
{
    const int category = calculator_.category();
    if (category == CategoryCode::kMatrices)
        openPanel(matrixWindow_);
    else if (category == CategoryCode::kStatistics)
        openPanel(statisticsWindow_);
}

void CalculatorView::openFinancePanel(QWidget* panel)
{
    // Typing goes to the panel's field, not to the display behind it.
    if (openPanel(panel))
        panel->setFocus(Qt::OtherFocusReason);
}

bool CalculatorView::openPanel(QWidget* panel)
{
    if (!panels_.open(panel, calculator_.category()))
        return false;
    closePopups();
    refresh();
    panel->raise();
    return true;
}

void CalculatorView::closePanel()
{
    panels_.closeOpened();
    refresh();
    // The panel's focused control is gone: typing goes back to the display.
    setFocus(Qt::OtherFocusReason);
}

void CalculatorView::showToolMessage()
{
    if (!takeToolMessage_)
        return;
    const std::u16string message = takeToolMessage_();
    if (!message.empty())
        QMessageBox::warning(this, QStringLiteral("Corvan"), toQString(message));
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
    if (listOpen() || historyView_->isVisible()) {
        closePopups();
        return true;
    }
    if (!panels_.anyOpened())
        return false;
    closePanel();
    return true;
}
