#pragma once

#include <QActionGroup>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include <deque>
#include <functional>

#include "data_tools.h"
#include "key_sound_player.h"
#include "keypad_faces.h"
#include "keypad_view.h"
#include "calculator_display_view.h"
#include "calculator.h"
#include "category_panels.h"
#include "program_folder.h"
#include "screen_facts.h"
#include "skin_pixmaps.h"

// The calculator window: the display, the category bar, the keypads of the current category
// cut from the skin's images, the tools panel listing the categories and the pop-up lists.
// Behaviour lives in Calculator; this class draws it and forwards input.
class CalculatorView : public QWidget {
    Q_OBJECT
public:
    CalculatorView(Calculator& calculator, ProgramFolder folder, QWidget* parent = nullptr);
    ~CalculatorView() override;

    // False when neither the chosen skin nor the default one could be loaded.
    bool skinLoaded() const { return skinLoaded_; }
    // Shows a category and refreshes everything that depends on it.
    void showCategory(int category);
    // Where messages of the tool models come from ("Matrix data error", ...); they are shown
    // after each category switch.
    void setToolMessages(std::function<std::u16string()> take) { takeToolMessage_ = std::move(take); }
    // The data windows' models (matrices, statistics); not owned. Without them the MAT and
    // DATA keys open empty panels.
    void setDataTools(DataTools* tools);
    // Opens the data panel of the shown category (the MAT or DATA key); other categories
    // have none and nothing happens.
    void openDataPanel();
    // Opens one of the finance windows (the TVM, Loan and Mortg. keys) over the keypads.
    void openFinancePanel(QWidget* panel);
    // The list of macro signatures over the keypads; choosing one inserts the call.
    void openMacroList();
    // The history panel over the keypads.
    void openHistory();

    // While "=" computes on its worker thread the window is busy: it shows "Calculating...",
    // a Cancel button and a busy cursor, and takes no key but Escape (which cancels).
    bool busy() const { return busy_; }
    // Cancels the evaluation under way, if any, and waits for it to end.
    void cancelEvaluation();
    // Waits for the evaluation under way, if any, and shows its result.
    void waitForEvaluation();
    // Closes the window as a close does, saving everything, but shows nothing: for SIGTERM and
    // SIGHUP, when no one may be there to answer a message box. A write that fails is printed
    // on standard error.
    void closeQuietly();
    // How the help page is handed to a browser (by default the desktop's); when it returns
    // false the page opens in Corvan's own help window.
    void setHelpOpener(std::function<bool(const QUrl&)> open) { openInBrowser_ = std::move(open); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Tab belongs to the fields of the tip window and the converters in their categories.
    bool focusNextPrevChild(bool next) override;

private:
    // The constructor's steps, in the order the widgets stack.
    void buildCategoryBar();
    void connectEvaluation();
    void buildKeypads();
    void buildDataPanels();
    void buildFinancePanels();
    void buildToolPanels();
    void buildLists();
    void connectInput();

    void loadSkin();
    void layoutChildren();
    void refresh();
    // The keypads or the category's panels; they read the engine.
    void showPanels(int category);
    void afterKey();
    void toggleToolsPanel();
    // The calculus functions, as a list over the keypads.
    void openPopupList();
    void closePopups();
    // Opens a panel over the keypads that a key of the shown category opens; false when the
    // panel is none of the category's.
    bool openPanel(QWidget* panel);
    // Closes that panel and gives the keys back to the display.
    void closePanel();
    // Closes what covers the keypads (a list, the history, a data or finance panel); false
    // when nothing was open.
    bool closeOpenPanel();
    void stepCategory(bool forward);
    // The tools panel lists every category whole: its font follows the room it has.
    void fitToolsPanel();
    QImage functionLabels() const;
    void showToolMessage();
    // The current line typeset by the formula renderer, over the lower part of the display, its
    // variables shown with their values in slots (none: the values last shown).
    void showFormula(const VariableSlots* slots);

    // The menu (calculator_view_menu.cpp).
    void buildMenu();
    void setFixDigits(int digits);
    void openHelp();
    void openPreferences();

    // The clipboard (calculator_view_clipboard.cpp). Several pasted lines are evaluated one
    // after the other, each once the one before has its result, the window busy meanwhile.
    void copyResult(CopyPrecision precision);
    void pasteExpression();
    void evaluatePastedLine();

    // The keypads and the keyboard (calculator_view_keys.cpp).
    void onFunctionKey(int position, bool held);
    void onBasicKey(int position, bool held);
    QString functionKeyTooltip(int position) const;
    // The mode's own face of a function key, drawn over the skin's label.
    std::optional<ModeKeyFace> modeFaceAt(int position) const;
    bool handleEditingKey(QKeyEvent* event);
    // Whether the tools panel or the pop-up list is open: they take the keys then.
    bool listOpen() const;

    // The "=" evaluation on the worker thread, and its end on the window's thread
    // (calculator_view_evaluation.cpp).
    void startEvaluation();
    void completeEvaluation();
    void setBusy(bool busy);
    // Escape and Cancel while busy: the evaluation under way stops, pasted lines still to come
    // are dropped.
    void stopCalculating();
    // "led.dat" after each "=" and once a minute, when the display changed.
    void saveDisplayState();
    // Says once per session which file could not be written and why.
    void reportWriteFailure(const class WriteFailureWatch& watch, bool interactive);

    Calculator& calculator_;
    std::function<std::u16string()> takeToolMessage_;
    std::function<bool(const QUrl&)> openInBrowser_;
    class HelpView* helpWindow_ = nullptr;
    ProgramFolder folder_;
    ScreenFacts facts_;
    SkinPixmaps skin_;
    bool skinLoaded_ = false;
    KeySoundPlayer sound_;

    CalculatorDisplayView* display_;
    QWidget* bar_;
    QToolButton* toolsButton_;
    QLabel* categoryLabel_;
    QToolButton* menuButton_;
    QToolButton* historyButton_;
    QActionGroup* formatActions_;
    QActionGroup* fixDigitsActions_;
    class HistoryView* historyView_;
    KeypadView* functionKeypad_;
    KeypadView* basicKeypad_;
    QLabel* toolPlaceholder_;
    // Which panel each category shows in the keypads' place, and what it takes from the window.
    CategoryPanels panels_;
    // The panels that the window asks for more than the table does: models, skins, the band
    // of the category bar, the clipboard.
    class MatrixStoreView* matrixWindow_;
    class StatisticsDataView* statisticsWindow_;
    DataTools* dataTools_ = nullptr;
    class TimeValueOfMoneyCalculatorView* tvmWindow_;
    class LoanCalculatorView* loanWindow_;
    class MortgageCalculatorView* mortgageWindow_;
    class EquationSolverView* solverWindow_;
    class ConverterView* converterWindow_;
    class DateTimeView* dateTimeWindow_;
    class GraphView* graphWindow_;
    class BiorhythmView* biorhythmWindow_;
    class FormulaView* formulaView_;
    bool formulaShown_ = false;
    // Whether the last layout gave the display's place to a panel: the category bar is then at
    // the top.
    bool layoutCovered_ = false;
    QListWidget* toolsPanel_;
    QListWidget* popupList_;
    // What the pop-up list shows.
    enum class PopupKind { Calculus, Macros };
    PopupKind popupKind_ = PopupKind::Calculus;
    QToolButton* cancelButton_;
    QAction* typesetAction_ = nullptr;
    class EvaluationWorker* evaluation_;
    // The lines of a paste still to evaluate; the timer takes the next one from the event loop.
    std::deque<std::u16string> pastedLines_;
    bool pastedLineEvaluated_ = false;
    QTimer* pasteTimer_;
    bool busy_ = false;
    bool closed_ = false;
    bool quietClose_ = false;
    bool writeFailureReported_ = false;
};
