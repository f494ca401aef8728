#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "calculation_history.h"
#include "category_tools.h"
#include "clipboard_number.h"
#include "engine.h"
#include "keyboard_map.h"
#include "keypads.h"
#include "macro_library.h"
#include "macro_editor.h"
#include "calculator_display.h"
#include "preferences.h"
#include "preferences_store.h"
#include "result_format.h"
#include "typed_names.h"

// The main window's behaviour without the window: the current category and its switch rules,
// the preferred input mode, the key path from a key code to the display or the evaluation,
// category scrolling, start-up and the state written at close.
class Calculator {
public:
    // folder is the program folder: "preferences.dat" and "led.dat" live there. An empty path
    // means no files: the defaults are used and nothing is written.
    explicit Calculator(std::filesystem::path folder,
                        PreferencesStore::TodayFunction today = PreferencesStore::localToday);

    // Loads the preferences and the display state, shows the category shown last and clears
    // the current line.
    void start();
    // Stores the category and the preferred input mode, then writes "preferences.dat" and
    // "led.dat".
    void close();

    // Shows a category (0..14). Leaving or entering "Base conversion" clears the line; the
    // Basic modes apply only to categories 0 to 2, so other categories run "String-Standard"
    // while the preferred mode is kept for when one of them is shown again.
    void switchCategory(int code);
    // A key code from a keypad, the keyboard or a hard key: "=" evaluates, everything else
    // goes to the display.
    void pressKey(int code);
    // A key of a keypad, by its position in the keypad's grid. held is the tap-and-hold mark,
    // which selects the second function like shift does; a second function used by shift
    // turns shift off again. Returns the pop-up list or tool window the key opens, if any.
    enum class KeypadResult {
        Done,
        NoKey,
        OpenCalculusList,
        OpenMatrixWindow,
        OpenStatisticsWindow,
        OpenTvmWindow,
        OpenLoanWindow,
        OpenMortgageWindow,
    };
    KeypadResult pressFunctionKey(int position, bool held);
    KeypadResult pressBasicKey(Orientation orientation, int position, bool held);
    // An entry chosen in the calculus pop-up list.
    void chooseCalculusEntry(std::u16string_view text);
    // A variable name such as "[VA]" from the matrix window: it goes into the line as one token.
    void insertVariableName(std::u16string_view name);
    // Pasted text: in "String-Standard" it is read as readPastedText reads it (numbers in any
    // user's form, names as whole tokens) and goes into the current line at the cursor; in
    // the basic modes the digits of its first number are typed.
    void pasteText(std::u16string_view text);
    // A character typed on the keyboard; returns false when it was not for the calculator.
    // Desktop typing (the default): letters build names through NameBuilder, which the display
    // shows while they grow (typedName), and other characters type as their keys do
    // (mapDesktopCharacter); Enter (13) and "=" evaluate, Escape (27) is "C". With the preference
    // "Pocket keyboard letters" the pocket computer's letter map applies (mapTypedCharacter).
    bool typeCharacter(char16_t character);
    // The name being typed, not yet on the line.
    const std::u16string& typedName() const { return nameBuilder_.pending(); }
    // Whether the last typed character was refused: a name or letter that no basic input mode
    // line can take.
    bool typingRefused() const { return typingRefused_; }
    // Home and End: the cursor to the start or the end of the current line.
    void moveCursorToLineEnd(bool end);
    // Ctrl+Z: puts the current line back as it was before its last edit. False when there is
    // nothing to undo for this line.
    bool undo();
    // What Copy puts on the clipboard: the shown result as resultClipboardText gives it; nothing
    // (empty) for a message; without a result, the current line (as a plain number when it is
    // one, in the output format's decimal mark).
    std::u16string copyText(CopyPrecision precision) const;
    // The fix-mode digits (0..10) from the window's menu; a shown result is formatted again.
    void setFixDigits(int digits);
    // Ctrl+PageDown and Ctrl+PageUp: the next or previous category in code order, cyclically,
    // passing over those that cannot be shown now (while a macro is edited).
    void stepCategory(bool forward);
    // Inserts the call of the macro at index (list order): "Ma(" as one token, or "Mb()" for
    // a macro without parameters.
    void insertMacroCall(std::size_t index);
    // Past evaluations of the "=" key, newest first; kept in "history.dat".
    const CalculationHistory& history() const { return history_; }
    // A history entry's expression replaces the current line; its result goes in at the cursor
    // as pasted text.
    void restoreHistoryExpression(std::size_t index);
    void insertHistoryResult(std::size_t index);
    // Up and Down at a desktop keyboard: the next older or newer evaluated expression replaces
    // the line, as in a shell; past the newest, the line that was being written comes back.
    // False where these keys move between the display's lines instead (pocket line editing,
    // the basic modes, a macro being written).
    bool recallHistory(bool older);
    // Whether holding a function-keypad key repeats it (delete and the cursor keys).
    static bool repeatsWhileHeld(int code);
    std::optional<int> functionKeyCode(int position, bool held) const;

    // The "=" evaluation of the current line. Without an evaluation runner it is computed at
    // once. With one, a line that needs the engine is prepared here, the display shows
    // kBusyText, and the runner is called: it must see that runEvaluation() is called once,
    // on any thread, and then finishEvaluation() on this one. Until then evaluating() is true,
    // and keys and further "=" are ignored; nothing else may use the engine or the display.
    void evaluateLine();
    static constexpr std::u16string_view kBusyText = u"Calculating... (Esc cancels)";
    using EvaluationRunner = std::function<void()>;
    void setEvaluationRunner(EvaluationRunner runner) { evaluationRunner_ = std::move(runner); }
    // The engine's work of the prepared evaluation; the only step that may run on another
    // thread. Does nothing when nothing waits to be computed.
    void runEvaluation();
    // Shows the result of the evaluation (or "Calculation cancelled") and keeps the line as
    // history. Does nothing when no evaluation is under way.
    void finishEvaluation();
    // Asks the running evaluation to stop; safe from any thread.
    void cancelEvaluation() { engine_.requestCancel(); }
    bool evaluating() const { return pending_.active; }
    // Writes "led.dat" when the display state changed since it was last read or written, so
    // that a crash loses little: the window calls it after each "=" and once a minute.
    // Returns false when the file could not be written.
    bool saveDisplayState();
    // Hard-key scrolling through the preferences' category order ("P" forward, "Q" backward).
    // Returns false when no category took part and nothing changed.
    bool scrollCategories(bool forward);

    int category() const { return category_; }
    // The tool models that follow the category switch; none by default. Not owned.
    void setTools(CategoryTools* tools) { tools_ = tools; }
    // The macros and the editing model of the macro window. While a macro is edited the
    // categories 2 to 10 cannot be shown.
    MacroLibrary& macros() { return macros_; }
    MacroEditor& macroEditor() { return macroEditor_; }
    // Loads the named macro into the editor and its formula into the display line.
    void editMacro(std::u16string_view name);
    // Stores the macro being edited from the display line; false before a name was chosen.
    bool saveMacro();
    // Ends macro editing.
    void stopEditingMacro();
    // What the window says once after start(): "Macro data error!" when a macro file could not
    // be read completely, and where each file that could not be read was moved; empty when all
    // went well.
    std::u16string startMessage() const;
    // The input mode the user chose, which the categories 0 to 2 run; the record's until start().
    InputMode preferredInputMode() const { return preferredInputMode_.value_or(preferences_.inputMode); }
    void setPreferredInputMode(InputMode mode);
    // The program folder given at construction; empty when no files are kept.
    const std::filesystem::path& folder() const { return folder_; }
    Preferences& preferences() { return preferences_; }
    const Preferences& preferences() const { return preferences_; }
    CalculatorDisplay& display() { return display_; }
    const CalculatorDisplay& display() const { return display_; }
    // The engine, for this thread while no evaluation is under way: until finishEvaluation() it
    // belongs to runEvaluation(). Reaching it here meanwhile is a fault of the caller, handed to
    // the busy-engine handler; without one it is reported on standard error (and stops a debug
    // build).
    Engine& engine();
    void setBusyEngineHandler(std::function<void()> handler) { busyEngineHandler_ = std::move(handler); }

private:
    // The current line before an edit, for undo.
    struct LineSnapshot {
        int page = 0;
        int line = 0;
        std::u16string input;
        std::u16string tokenMap;
        std::size_t cursor = 0;
    };
    // Records an undo step when the user's action changed the current line.
    class EditScope {
    public:
        explicit EditScope(Calculator& calculator) : calculator_(calculator), before_(calculator.snapshot()) {}
        ~EditScope() { calculator_.recordEdit(before_); }
        EditScope(const EditScope&) = delete;
        EditScope& operator=(const EditScope&) = delete;

    private:
        Calculator& calculator_;
        LineSnapshot before_;
    };
    LineSnapshot snapshot() const;
    void recordEdit(const LineSnapshot& before);

    // A key code on its way to the evaluation or the display, without the typed name and undo
    // handling of the public entries.
    void applyKey(int code);
    // The token a typed character puts on the line as part of a matrix literal: "]", and the row
    // end ";" (typed "|" in European format) inside an open "["; nullopt for other characters.
    std::optional<std::u16string> matrixLiteralToken(char16_t character) const;
    // "6.02e23" typed: once a digit follows "e" (and a sign) right after a number, the "e" becomes
    // the exponent key's "exp", so that the line shows scientific notation rather than Euler's e.
    void markTypedExponent();
    // False when a literal token found no line to go on (the basic input modes take key codes).
    bool applyInsertions(const std::vector<NameInsertion>& insertions);
    bool hexDigits() const;
    // Puts a typed name on the line: completed, or as typed when it is no name.
    void finishTypedName();
    // The typing context of the current category, radix and macro editing.
    TypedKeyContext typedKeyContext() const;
    // Applies the keys a typed character stands for; false when it stands for none.
    bool applyTypedKey(const TypedKeyResult& result);
    bool typePocketCharacter(char16_t character);
    void pasteTokens(std::u16string_view text);
    // After "=": the history, the value Copy takes, and the argument hint of a syntax error.
    void noteResult(bool isValue);
    // A value by the display rule in the display's format and the preferences' digits and output
    // format; "Base conversion" shows its letters in upper case.
    FormattedResult formatForDisplay(CalcValue value, NumberContext context, int radix) const;
    // Formats the shown result again after a change of the display format or the digits.
    void reformatShownResult();
    void sendShiftable(int code, bool shiftWasOn);
    // The first key after "=": one that types clears the line for a new expression, an operator
    // after the answer; other keys, and the pocket habit, edit the evaluated line.
    void startNewLineAfterResult(int code);
    // The same for what is no single key (pasted text): inserts says it puts text on the line,
    // continues that it takes the answer as its left operand.
    void startNewLineAfterResult(bool inserts, bool continues);

    struct LineResult {
        std::u16string text;
        bool isValue = false;  // a formatted result rather than a message
    };
    // One "=" from the line's text to the result: early holds the message of a line that never
    // reached the engine (empty, too long, a bad macro call).
    struct PendingEvaluation {
        bool active = false;
        std::optional<LineResult> early;
        std::string text;
        int radix = 10;
        bool matrixMode = false;
        bool ran = false;
        ValueCell result;
    };
    void prepareEvaluation(const std::u16string& input);
    bool evaluationNeedsEngine() const;
    LineResult evaluationResult();
    void reconcileInputMode(int from, int to);

    void showMacroLine(const MacroLineText& line);

    std::filesystem::path folder_;
    PreferencesStore preferencesStore_;
    Preferences preferences_;
    Engine engine_;
    CalculatorDisplay display_;
    MacroLibrary macros_;
    MacroEditor macroEditor_{macros_};
    // Macro files that a close must neither write over nor remove.
    std::vector<std::filesystem::path> keptMacroFiles_;
    bool macroDataError_ = false;
    std::vector<std::string> startMessages_;
    int category_ = -1;
    CategoryTools* tools_ = nullptr;
    std::optional<InputMode> preferredInputMode_;  // unset until start()
    NameBuilder nameBuilder_;
    bool typingRefused_ = false;
    // The line was evaluated and no key has touched it since.
    bool lineEvaluated_ = false;
    std::vector<LineSnapshot> undo_;
    CalculationHistory history_;
    // Walking through history with Up and Down: the entry shown, the text it put on the line
    // (an edit of that text ends the walk) and the line written before the walk began.
    struct HistoryWalk {
        std::size_t index = 0;
        std::u16string shown;
        std::u16string draftInput;
        std::u16string draftTokens;
        bool draftEvaluated = false;
    };
    std::optional<HistoryWalk> historyWalk_;
    // The value behind the shown result (a matrix too), and the text it was shown as: Copy and a
    // format change use it while that text is still the display's result.
    ValueCell shownValue_;
    std::u16string shownValueText_;
    PendingEvaluation pending_;
    EvaluationRunner evaluationRunner_;
    std::function<void()> busyEngineHandler_;
    // The bytes of "led.dat" as last read or written.
    std::string savedDisplayState_;
};
