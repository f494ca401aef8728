#pragma once

#include <QLabel>
#include <QListWidget>
#include <QToolButton>
#include <QWidget>

#include <functional>

#include "data_tools.h"
#include "key_sound_player.h"
#include "keypad_view.h"
#include "calculator_display_view.h"
#include "calculator.h"
#include "program_folder.h"
#include "screen_facts.h"
#include "skin_pixmaps.h"

// The calculator window: the display, the category bar, the keypads of the current category
// cut from the skin's images, the tools panel listing the categories and the pop-up lists.
// Behaviour lives in Calculator; this class draws it and forwards input.
class CalculatorView : public QWidget {
    Q_OBJECT
public:
    CalculatorView(Calculator& frame, ProgramFolder folder, QWidget* parent = nullptr);

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

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Tab belongs to the tip window's fields in its category.
    bool focusNextPrevChild(bool next) override;

private:
    void loadSkin();
    void layoutChildren();
    void refresh();
    void afterKey();
    void onFunctionKey(int position, bool held);
    void onBasicKey(int position, bool held);
    void toggleToolsPanel();
    // The calculus functions, as a list over the keypads.
    void openPopupList();
    void closePopups();
    void openHelp();
    void openPreferences();
    void copyResult();
    void pasteExpression();
    bool handleEditingKey(QKeyEvent* event);
    QImage functionLabels() const;

    void showToolMessage();
    // The current line typeset by the formula renderer, over the lower part of the display.
    void showFormula();

    Calculator& frame_;
    std::function<std::u16string()> takeToolMessage_;
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
    KeypadView* functionKeypad_;
    KeypadView* basicKeypad_;
    QLabel* toolPlaceholder_;
    class MacroEditorView* macroWindow_;
    class MatrixStoreView* matrixWindow_;
    class StatisticsDataView* statisticsWindow_;
    DataTools* dataTools_ = nullptr;
    // The category whose data panel covers the keypads, or -1; leaving it closes the panel.
    int dataPanelCategory_ = -1;
    class TipCalculatorView* tipWindow_;
    class TimeValueOfMoneyCalculatorView* tvmWindow_;
    class LoanCalculatorView* loanWindow_;
    class MortgageCalculatorView* mortgageWindow_;
    // The finance window covering the keypads, or none; leaving the category closes it.
    QWidget* financePanel_ = nullptr;
    class EquationSolverView* solverWindow_;
    class ConverterView* converterWindow_;
    class DateTimeView* dateTimeWindow_;
    class GraphView* graphWindow_;
    // Covers the display too while shown, leaving the category bar free.
    class BiorhythmView* biorhythmWindow_;
    class FormulaView* formulaView_;
    bool formulaShown_ = false;
    // The tool panels with a keypad of their own (finance windows, solver, graph, date and
    // time) take the display's place too, and the category bar moves to the top.
    bool panelCoversDisplay() const;
    bool layoutCovered_ = false;
    QListWidget* toolsPanel_;
    QListWidget* popupList_;
};
