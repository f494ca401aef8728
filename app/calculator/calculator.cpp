#include "calculator.h"

#include <algorithm>
#include <charconv>
#include <cassert>
#include <cstdio>
#include <cstdlib>

#include "ascii.h"
#include "atomic_file.h"
#include "clipboard_number.h"
#include "display_text.h"
#include "function_signatures.h"
#include "key_codes.h"
#include "keyboard_map.h"
#include "keypad_faces.h"
#include "macro_expansion.h"
#include "matrix_literal.h"
#include "keypads.h"
#include "radix_text.h"
#include "result_format.h"
#include "unknown_name_message.h"
#include "utf16.h"

namespace {

constexpr int kLastBasicCategory = CategoryCode::kBaseConversion;
constexpr std::size_t kMaxUndoSteps = 200;
constexpr char16_t kBackspace = 8;
constexpr char16_t kEscape = 27;
constexpr std::u16string_view kSyntaxError = u"Syntax error";

}  // namespace

Calculator::Calculator(std::filesystem::path folder, PreferencesStore::TodayFunction today)
    : folder_(std::move(folder)), preferencesStore_(folder_, std::move(today)), display_(preferences_, engine_)
{
    preferencesStore_.reset(preferences_);
}

void Calculator::start()
{
    if (!folder_.empty()) {
        preferencesStore_.load(preferences_);
        display_.load(folder_);
        savedDisplayState_ = display_.saveState();
        const MacroFolderLoad load = loadMacroFolder(macros_, folder_);
        MacroFolderCheck check = setAsideUnreadMacroFiles(load);
        macroDataError_ = load.dataError;
        keptMacroFiles_ = std::move(check.keep);
        startMessages_ = std::move(check.messages);
        if (std::optional<std::string> message = history_.load(folder_, preferences_.outputFormat))
            startMessages_.push_back(std::move(*message));
    }
    preferredInputMode_ = preferences_.inputMode;
    category_ = -1;
    switchCategory(preferences_.lastCategory <= CategoryCode::kDateTime ? preferences_.lastCategory : 0);
    display_.handleKey(KeyCode::kClear);
}

void Calculator::close()
{
    // The tool windows close first: they write their own files.
    if (tools_ != nullptr)
        tools_->closing();
    if (category_ >= 0)
        preferences_.lastCategory = static_cast<std::uint8_t>(category_);
    preferences_.inputMode = preferredInputMode();
    if (!folder_.empty()) {
        saveMacroFolder(macros_, folder_, keptMacroFiles_);
        preferencesStore_.save(preferences_);
        if (display_.save(folder_))
            savedDisplayState_ = display_.saveState();
        history_.save(folder_);
    }
}

std::u16string Calculator::startMessage() const
{
    std::string text = macroDataError_ ? "Macro data error!" : "";
    for (const std::string& message : startMessages_)
        text += (text.empty() ? "" : "\n\n") + message;
    return fromUtf8(text);
}

void Calculator::setPreferredInputMode(InputMode mode)
{
    preferredInputMode_ = mode;
    preferences_.inputMode = category_ > kLastBasicCategory ? InputMode::StringStandard : mode;
}

void Calculator::reconcileInputMode(int from, int to)
{
    const bool fromBasic = from >= 0 && from <= kLastBasicCategory;
    const bool toBasic = to <= kLastBasicCategory;
    if (fromBasic && !toBasic) {
        preferredInputMode_ = preferences_.inputMode;
        preferences_.inputMode = InputMode::StringStandard;
    } else if (!fromBasic && toBasic) {
        preferences_.inputMode = preferredInputMode();
    } else if (from < 0) {
        // Starting in a tool category: the file's mode stays preferred for later.
        preferences_.inputMode = InputMode::StringStandard;
    }
}

void Calculator::switchCategory(int code)
{
    if (code == category_ || code < 0 || code > CategoryCode::kDateTime || evaluating())
        return;
    if (macroEditor_.editing() && code >= CategoryCode::kBaseConversion && code <= CategoryCode::kBiorhythm)
        return;
    const int from = category_;
    nameBuilder_.clear();
    if (tools_ != nullptr && from >= 0)
        tools_->categoryLeft(from);
    category_ = code;
    const int pageBefore = display_.page();
    display_.setCategory(code);
    // Base conversion has lines of its own; a category that shows its lines in another base
    // would read their numbers wrongly, so a line carried across is cleared.
    if ((from == CategoryCode::kBaseConversion || code == CategoryCode::kBaseConversion) &&
        display_.page() == pageBefore)
        display_.handleKey(KeyCode::kClear);
    if (tools_ != nullptr)
        tools_->categoryShown(code);
    reconcileInputMode(from, code);
    engine_.basic.reset();
    if (code == CategoryCode::kMacros && !macroEditor_.editing())
        showMacroLine(macroEditor_.open());
}

void Calculator::pressKey(int code)
{
    // Nothing may touch the display or the engine while an evaluation runs elsewhere.
    if (evaluating())
        return;
    EditScope edit(*this);
    finishTypedName();
    applyKey(code);
}

namespace {

// Keys that take the value before them as their left operand: after "=", the answer.
bool continuesFromAnswer(int code)
{
    switch (code) {
    case KeyCode::kPlus:
    case KeyCode::kMinus:
    case KeyCode::kMultiply:
    case KeyCode::kDivide:
    case KeyCode::kPower:
    case KeyCode::kSquare:
    case KeyCode::kCube:
    case KeyCode::kFactorial:
    case KeyCode::kPercent:
    case KeyCode::kTenToThePower: return true;
    default: return false;
    }
}

// A single letter other than the constants e and i.
bool isParameterLetter(std::u16string_view token)
{
    return token.size() == 1 && ascii::isLetter(token[0]) && token != u"e" && token != u"i";
}

// Whether a line writes a matrix ("[1,2;3,4]"), which only the Matrices category calculates.
bool holdsMatrixLiteral(std::u16string_view input)
{
    const std::string text = toUtf8(input);
    for (std::size_t at = text.find('['); at != std::string::npos; at = text.find('[', at + 1)) {
        if (matrix_literal::end(text, at) != std::string::npos)
            return true;
    }
    return false;
}

}  // namespace

void Calculator::startNewLineAfterResult(int code)
{
    startNewLineAfterResult(keyKind(code) == KeyKind::Insert, continuesFromAnswer(code));
}

void Calculator::startNewLineAfterResult(bool inserts, bool continues)
{
    const bool fresh = lineEvaluated_;
    lineEvaluated_ = false;
    if (!fresh || preferences_.pocketLineEditing || !inserts || display_.inputMode() != InputMode::StringStandard ||
        macroEditor_.editing())
        return;
    // The evaluated line stays above as history; an operator goes on from its answer.
    display_.handleKey(KeyCode::kClear);
    if (continues)
        display_.handleKey(KeyCode::kAnswer);
}

void Calculator::markTypedExponent()
{
    if (display_.inputMode() != InputMode::StringStandard || display_.radixValue() != 10)
        return;
    DisplayLine& line = display_.currentLine();
    // The digit just typed is the token before the cursor; a sign may stand between it and "e".
    std::size_t mark = line.cursor();
    if (mark < 2)
        return;
    mark -= 2;
    const auto isSign = [](std::u16string_view token) { return token == u"+" || token == u"-" || token == u"\u2212"; };
    if (isSign(line.token(mark)) && mark > 0)
        --mark;
    const auto inNumber = [](std::u16string_view token) {
        return token.size() == 1 && (ascii::isDigit(token[0]) || token[0] == u'.' || token[0] == kDisplayComma);
    };
    if (line.token(mark) != u"e" || mark == 0 || !inNumber(line.token(mark - 1)))
        return;
    const long back = static_cast<long>(line.cursor() - mark);
    line.moveCursor(-back);
    line.deleteAtCursor();
    line.insertToken(u"exp");
    line.moveCursor(back - 1);
}

void Calculator::applyKey(int code)
{
    // In the basic modes "=" is one more token for the display's stack calculator.
    if (code == KeyCode::kEquals && display_.inputMode() == InputMode::StringStandard) {
        evaluateLine();
        return;
    }
    if (code != KeyCode::kShift)
        startNewLineAfterResult(code);
    display_.handleKey(code);
    if (digitOfKey(code))
        markTypedExponent();
    // The variable key names a parameter of the macro being written.
    if (code == KeyCode::kVariable && macroEditor_.editing())
        macroEditor_.useVariable(u"x");
    if (code >= KeyCode::kFormatCycle && code <= KeyCode::kFormatSci)
        reformatShownResult();
}

void Calculator::prepareEvaluation(const std::u16string& input)
{
    pending_ = PendingEvaluation{};
    pending_.active = true;
    if (input.empty()) {
        pending_.early = LineResult{u"Empty string", false};
        return;
    }
    // The length first: a line too long to evaluate is that, whatever its macros would do.
    if (input.size() > Engine::kMaxExpressionLength) {
        pending_.early = LineResult{u"Overlength string", false};
        return;
    }
    const MacroExpansion expanded = expandMacroCalls(input, macros_.macros());
    if (!expanded.ok()) {
        pending_.early = LineResult{std::u16string(errorMessage(expanded.error)), false};
        return;
    }
    const int radix = display_.radixValue();
    std::string text = displayToEngineText(expanded.text, preferences_.outputFormat, radix);
    if (text.size() > Engine::kMaxExpressionLength) {
        pending_.early = LineResult{u"Overlength string", false};
        return;
    }

    engine_.settings.angleMode = static_cast<AngleMode>(display_.angleMode());
    engine_.settings.wordSize = display_.wordSizeBits();
    engine_.settings.displayMode = category_ == CategoryCode::kBaseConversion ? kDisplayModeBase
                                   : category_ == CategoryCode::kMatrices     ? kDisplayModeMatrix
                                                                              : 0;
    if (category_ == CategoryCode::kBaseConversion) {
        std::optional<std::string> rewritten = convertRadixText(text, radix, radix, engine_.settings.wordSize);
        if (!rewritten) {
            pending_.early = LineResult{std::u16string(errorMessage(ErrorCode::kRadixConversion)), false};
            return;
        }
        text = std::move(*rewritten);
    }
    pending_.text = std::move(text);
    pending_.radix = radix;
    pending_.matrixMode = category_ == CategoryCode::kMatrices;
    engine_.clearCancel();
}

void Calculator::runEvaluation()
{
    if (!evaluationNeedsEngine())
        return;
    engine_.resetError();
    const bool matrixMode = pending_.matrixMode;
    pending_.result = engine_.evaluate(pending_.text, matrixMode ? Engine::kModeMatrix : Engine::kModeScalar,
                                       matrixMode ? 10 : pending_.radix);
    pending_.ran = true;
}

Calculator::LineResult Calculator::evaluationResult()
{
    if (pending_.early)
        return *pending_.early;
    const int error = engine_.error();
    engine_.clearCancel();
    if (error != ErrorCode::kNone)
        return {engineErrorMessage(engine_, typedNames(macros_.macros())), false};
    const ValueCell& result = pending_.result;
    if (result.isMatrix()) {
        if (tools_ != nullptr)
            return {tools_->keepMatrixResult(), true};
        // Without a matrix store the result is still kept under its reserved name.
        engine_.slots[VariableSlots::kAnswer] = result;
        return {u"[VRE]", true};
    }

    engine_.slots[VariableSlots::kAnswer].storeComplex(result.re, result.im);
    display_.setAngleMode(static_cast<int>(engine_.settings.angleMode));
    // A value that NORM or FIX cannot show comes out in SCI this once; the indicator keeps the
    // format the user chose.
    FormattedResult formatted =
        formatForDisplay(result.scalar(), {engine_.settings.displayMode, engine_.settings.wordSize}, pending_.radix);
    return {std::move(formatted.text), true};
}

Engine& Calculator::engine()
{
    if (evaluating()) {
        // The worker thread may be writing the engine: a read now sees half a result.
        if (busyEngineHandler_) {
            busyEngineHandler_();
        } else {
            std::fputs("corvan: the engine was used while an evaluation was under way\n", stderr);
            // A debug build stops at the fault; a user's session goes on rather than lose its state.
            assert(false);
        }
    }
    return engine_;
}

void Calculator::evaluateLine()
{
    // Return on an empty line has nothing to compute: the display stays as it is.
    if (evaluating() || display_.getInputText().empty())
        return;
    prepareEvaluation(display_.getInputText());
    if (evaluationRunner_ && evaluationNeedsEngine()) {
        display_.setResultText(std::u16string(kBusyText));
        evaluationRunner_();
        return;
    }
    runEvaluation();
    finishEvaluation();
}

void Calculator::finishEvaluation()
{
    if (!pending_.active)
        return;
    LineResult result = evaluationResult();
    pending_ = PendingEvaluation{};
    display_.handleKey(KeyCode::kEquals);
    if (result.isValue)
        display_.setResultValue(std::move(result.text));
    else
        display_.setResultText(std::move(result.text));
    noteResult(result.isValue);
    lineEvaluated_ = true;
    historyWalk_.reset();
}

void Calculator::noteResult(bool isValue)
{
    const DisplayLine& line = display_.currentLine();
    if (!isValue) {
        shownValueText_.clear();
        if (display_.resultText() == kSyntaxError && category_ != CategoryCode::kMatrices &&
            holdsMatrixLiteral(line.input())) {
            display_.setResultText(u"Matrices are calculated in the Matrices category");
            return;
        }
        // "pmt(5/1200,360,200000)" is short of two arguments: say which ones it takes.
        if (preferences_.tooltipsEnabled && display_.resultText() == kSyntaxError) {
            const std::u16string hint = callHint(line.input());
            if (!hint.empty())
                display_.setResultText(std::u16string(kSyntaxError) + u": " + hint);
        }
        return;
    }
    const ValueCell& answer = engine_.slots[VariableSlots::kAnswer];
    const bool decimal = !answer.isMatrix() && display_.radixValue() == 10;
    shownValue_ = answer;
    shownValueText_ = decimal ? display_.resultText() : std::u16string();
    const HistoryEntry shown{line.input(), line.tokenMap(), display_.resultText(),
                             decimal ? clipboardNumberText(shownValue_.scalar()) : std::u16string()};
    history_.add(shown.inOutputFormat(preferences_.outputFormat));
}

FormattedResult Calculator::formatForDisplay(CalcValue value, NumberContext context, int radix) const
{
    ResultFormatSettings settings;
    settings.format = display_.format();
    settings.fixDigits = preferences_.fixDigits;
    settings.outputFormat = preferences_.outputFormat;
    settings.displayMode = context.displayMode;
    settings.wordSize = context.wordSize;
    settings.radix = radix;
    FormattedResult formatted = formatResult(value, settings);
    if (category_ == CategoryCode::kBaseConversion)
        formatted.text = ascii::upper(formatted.text);
    return formatted;
}

void Calculator::reformatShownResult()
{
    if (shownValueText_.empty() || display_.resultText() != shownValueText_)
        return;
    const NumberContext context{category_ == CategoryCode::kBaseConversion ? kDisplayModeBase : 0,
                                display_.wordSizeBits()};
    // The format the user just chose stays on the indicator, even where this value needs SCI.
    FormattedResult formatted = formatForDisplay(shownValue_.scalar(), context, 10);
    shownValueText_ = formatted.text;
    display_.setResultValue(std::move(formatted.text));
}

void Calculator::setFixDigits(int digits)
{
    preferences_.fixDigits = static_cast<std::uint8_t>(std::clamp(digits, 0, static_cast<int>(kMaxFixDigits)));
    reformatShownResult();
}

std::u16string Calculator::copyText(CopyPrecision precision) const
{
    const std::u16string& result = display_.resultText();
    if (display_.resultIsValue()) {
        const bool decimal = !shownValueText_.empty() && result == shownValueText_;
        return resultClipboardText(shownValue_, result, decimal, preferences_.outputFormat, precision);
    }
    if (!result.empty())
        return {};
    // The basic modes show their value on the line: it goes out as a plain number.
    const std::u16string& input = display_.getInputText();
    const std::string text = displayToEngineText(input, preferences_.outputFormat);
    double value = 0;
    const std::from_chars_result read = std::from_chars(text.data(), text.data() + text.size(), value);
    if (!text.empty() && read.ec == std::errc() && read.ptr == text.data() + text.size())
        return clipboardNumberText(CalcValue{value, 0.0}, preferences_.outputFormat);
    return input;
}

bool Calculator::evaluationNeedsEngine() const
{
    return pending_.active && !pending_.early && !pending_.ran;
}

bool Calculator::saveDisplayState()
{
    if (folder_.empty())
        return true;
    std::string bytes = display_.saveState();
    if (bytes == savedDisplayState_)
        return true;
    if (!writeFileAtomically(folder_ / CalculatorDisplay::kFileName, bytes))
        return false;
    savedDisplayState_ = std::move(bytes);
    return true;
}

bool Calculator::scrollCategories(bool forward)
{
    const auto& order = preferences_.navOrder;
    const int count = static_cast<int>(order.size());
    int position = -1;
    for (int i = 0; i < count; ++i) {
        if (order[i] == category_)
            position = i;
    }
    // A category outside the order stands before the first position going forward and after
    // the last going backward.
    if (position < 0)
        position = forward ? -1 : count;
    for (int step = 1; step <= count; ++step) {
        const int candidate = ((position + (forward ? step : -step)) % count + count) % count;
        if (preferences_.navEnabled[candidate]) {
            switchCategory(order[candidate]);
            return true;
        }
    }
    return false;
}

std::optional<int> Calculator::functionKeyCode(int position, bool held) const
{
    return functionKeypadPositionCode(category_, position, display_.shift() || held, display_.radix());
}

bool Calculator::repeatsWhileHeld(int code)
{
    return code == KeyCode::kDelete || code == KeyCode::kCursorLeft || code == KeyCode::kCursorRight;
}

void Calculator::sendShiftable(int code, bool shiftWasOn)
{
    applyKey(code);
    if (shiftWasOn && code != KeyCode::kShift && display_.shift())
        display_.handleKey(KeyCode::kShift);
}

Calculator::KeypadResult Calculator::pressFunctionKey(int position, bool held)
{
    if (evaluating())
        return KeypadResult::NoKey;
    EditScope edit(*this);
    finishTypedName();
    if (const std::optional<KeypadSpecial> special = functionKeypadSpecial(category_, position)) {
        if (*special == KeypadSpecial::Shift) {
            applyKey(KeyCode::kShift);
            return KeypadResult::Done;
        }
        switch (*special) {
        case KeypadSpecial::CalculusList: return KeypadResult::OpenCalculusList;
        case KeypadSpecial::MatrixWindow: return KeypadResult::OpenMatrixWindow;
        case KeypadSpecial::StatisticsWindow: return KeypadResult::OpenStatisticsWindow;
        case KeypadSpecial::TvmWindow: return KeypadResult::OpenTvmWindow;
        case KeypadSpecial::LoanWindow: return KeypadResult::OpenLoanWindow;
        case KeypadSpecial::MortgageWindow: return KeypadResult::OpenMortgageWindow;
        case KeypadSpecial::Shift: break;
        }
        return KeypadResult::NoKey;
    }
    const std::optional<int> code = functionKeyCode(position, held);
    if (!code)
        return KeypadResult::NoKey;
    sendShiftable(*code, display_.shift());
    return KeypadResult::Done;
}

Calculator::KeypadResult Calculator::pressBasicKey(Orientation orientation, int position, bool held)
{
    if (evaluating())
        return KeypadResult::NoKey;
    EditScope edit(*this);
    finishTypedName();
    const bool shifted = display_.shift() || held;
    const std::optional<int> code = basicKeypadCode(orientation, position, shifted, category_);
    if (!code)
        return KeypadResult::NoKey;
    sendShiftable(*code, display_.shift());
    return KeypadResult::Done;
}

void Calculator::insertVariableName(std::u16string_view name)
{
    EditScope edit(*this);
    finishTypedName();
    if (display_.inputMode() == InputMode::StringStandard && !name.empty())
        display_.currentLine().insertToken(name);
}

void Calculator::chooseCalculusEntry(std::u16string_view text)
{
    if (const std::optional<int> code = calculusEntryCode(text))
        pressKey(*code);
}

bool Calculator::hexDigits() const
{
    return display_.radix() == KeyCode::kRadixHex;
}

bool Calculator::applyInsertions(const std::vector<NameInsertion>& insertions)
{
    const bool stringMode = display_.inputMode() == InputMode::StringStandard;
    bool placed = true;
    for (const NameInsertion& insertion : insertions) {
        if (insertion.code >= 0) {
            applyKey(insertion.code);
        } else if (stringMode) {
            startNewLineAfterResult(true, false);
            display_.currentLine().insertToken(insertion.token);
            // A letter that names nothing is a parameter of the macro being written ("x*y").
            if (macroEditor_.editing() && isParameterLetter(insertion.token))
                macroEditor_.useVariable(insertion.token);
        } else {
            placed = false;
        }
    }
    return placed;
}

void Calculator::finishTypedName()
{
    applyInsertions(nameBuilder_.finish(hexDigits()).insert);
}

TypedKeyContext Calculator::typedKeyContext() const
{
    TypedKeyContext context;
    context.category = category_;
    context.radix = display_.radix();
    context.macroEditing = macroEditor_.editing();
    context.decimalComma = preferences_.outputFormat == OutputFormat::European;
    return context;
}

bool Calculator::applyTypedKey(const TypedKeyResult& result)
{
    switch (result.kind) {
    case TypedKeyResult::Kind::Codes:
        for (int code : result.codes)
            applyKey(code);
        return true;
    case TypedKeyResult::Kind::Evaluate: applyKey(KeyCode::kEquals); return true;
    case TypedKeyResult::Kind::Ignored: return true;
    case TypedKeyResult::Kind::Refused:
        // Dropping the key without a word would change the number typed ("2.5" read as 25).
        typingRefused_ = true;
        display_.setResultText(result.codes.front() == KeyCode::kDecimal ? u"Base conversion takes whole numbers"
                                                                         : u"Not a digit in this number base");
        return true;
    default: return false;
    }
}

bool Calculator::typePocketCharacter(char16_t character)
{
    return applyTypedKey(mapTypedCharacter(character, typedKeyContext()));
}

std::optional<std::u16string> Calculator::matrixLiteralToken(char16_t character) const
{
    if (display_.inputMode() != InputMode::StringStandard)
        return std::nullopt;
    if (character == u']')
        return u"]";
    const bool european = preferences_.outputFormat == OutputFormat::European;
    if (character != (european ? u'|' : u';'))
        return std::nullopt;
    // Inside an open "[" a row ends; elsewhere ";" parts arguments.
    const DisplayLine& line = display_.currentLine();
    int open = 0;
    for (std::size_t i = 0; i < line.cursor(); ++i)
        open += line.token(i) == u"[" ? 1 : line.token(i) == u"]" ? -1 : 0;
    if (open > 0)
        return u";";
    return std::nullopt;
}

bool Calculator::typeCharacter(char16_t character)
{
    EditScope edit(*this);
    typingRefused_ = false;
    if (preferences_.pocketKeyboardLetters)
        return typePocketCharacter(character);
    const TypedKeyContext context = typedKeyContext();
    const bool toolCategory = category_ >= CategoryCode::kTip && category_ != CategoryCode::kConstants;
    if (toolCategory && !context.macroEditing)
        return true;
    if (character == kBackspace && nameBuilder_.backspace())
        return true;
    if (character == kEscape) {
        // Escape drops a name being typed with the line, rather than completing it.
        nameBuilder_.clear();
        applyKey(KeyCode::kClear);
        return true;
    }
    // "[" before anything but a letter opens a matrix ("[1,2;3,4]") rather than a slot name.
    if (nameBuilder_.pending() == u"[" && !ascii::isLetter(character)) {
        nameBuilder_.clear();
        applyInsertions({{-1, u"["}});
    }
    if (nameBuilder_.pending().empty()) {
        if (const std::optional<std::u16string> token = matrixLiteralToken(character)) {
            applyInsertions({{-1, *token}});
            return true;
        }
    }
    nameBuilder_.setNames(typedNames(macros_.macros()));
    const NameBuilder::Step step = nameBuilder_.offer(character, hexDigits());
    typingRefused_ = !applyInsertions(step.insert);
    if (step.consumed)
        return true;
    return applyTypedKey(mapDesktopCharacter(character, context));
}

void Calculator::moveCursorToLineEnd(bool end)
{
    EditScope edit(*this);
    finishTypedName();
    DisplayLine& line = display_.currentLine();
    line.moveCursor(end ? static_cast<long>(line.tokenCount()) : -static_cast<long>(line.tokenCount()));
}

void Calculator::pasteTokens(std::u16string_view text)
{
    if (evaluating())
        return;
    // No line can take more than an expression's length.
    text = text.substr(0, Engine::kMaxExpressionLength);
    const OutputFormat format = preferences_.outputFormat;
    if (display_.inputMode() != InputMode::StringStandard) {
        TypedKeyContext context;
        context.category = category_;
        context.radix = display_.radix();
        for (char16_t c : pastedNumberDigits(text, format)) {
            const TypedKeyResult result = mapDesktopCharacter(c, context);
            for (int code : result.codes)
                applyKey(code);
        }
        return;
    }
    PasteContext context;
    context.format = format;
    context.hexDigits = hexDigits();
    context.names = typedNames(macros_.macros());
    const std::vector<NameInsertion> insertions = readPastedText(text, context);
    if (insertions.empty())
        return;
    // After "=" a paste starts a new expression as typing does: a leading operator sign goes on
    // from the answer, anything else starts afresh.
    const NameInsertion& first = insertions.front();
    if (first.code >= 0) {
        startNewLineAfterResult(first.code);
    } else {
        const TypedKeyResult typed =
            first.token.size() == 1 ? mapDesktopCharacter(first.token.front(), typedKeyContext()) : TypedKeyResult{};
        const bool sign = typed.kind == TypedKeyResult::Kind::Codes && typed.codes.size() == 1 &&
                          continuesFromAnswer(typed.codes.front());
        startNewLineAfterResult(true, sign);
    }
    applyInsertions(insertions);
}

void Calculator::pasteText(std::u16string_view text)
{
    EditScope edit(*this);
    finishTypedName();
    pasteTokens(text);
}

Calculator::LineSnapshot Calculator::snapshot() const
{
    const DisplayLine& line = display_.currentLine();
    return {display_.page(), display_.currentLineIndex(), line.input(), line.tokenMap(), line.cursor()};
}

void Calculator::recordEdit(const LineSnapshot& before)
{
    const DisplayLine& line = display_.currentLine();
    if (before.page != display_.page() || before.line != display_.currentLineIndex() ||
        (before.input == line.input() && before.tokenMap == line.tokenMap()))
        return;
    undo_.push_back(before);
    if (undo_.size() > kMaxUndoSteps)
        undo_.erase(undo_.begin());
}

bool Calculator::undo()
{
    nameBuilder_.clear();
    for (std::size_t i = undo_.size(); i-- > 0;) {
        const LineSnapshot& step = undo_[i];
        if (step.page != display_.page() || step.line != display_.currentLineIndex())
            continue;
        DisplayLine& line = display_.currentLine();
        line.setContent(step.input, step.tokenMap);
        line.moveCursor(static_cast<long>(step.cursor));
        undo_.erase(undo_.begin() + static_cast<std::ptrdiff_t>(i));
        return true;
    }
    return false;
}

void Calculator::stepCategory(bool forward)
{
    constexpr int kCategories = CategoryCode::kDateTime + 1;
    const int from = category_ < 0 ? 0 : category_;
    // A category the user unchecked in the Categories preference is passed over here too.
    const auto unchecked = [this](int code) {
        for (std::size_t i = 0; i < preferences_.navOrder.size(); ++i) {
            if (preferences_.navOrder[i] == code)
                return !preferences_.navEnabled[i];
        }
        return false;
    };
    for (int step = 1; step < kCategories; ++step) {
        const int candidate = ((from + (forward ? step : -step)) % kCategories + kCategories) % kCategories;
        if (unchecked(candidate))
            continue;
        switchCategory(candidate);
        if (category_ == candidate)
            return;
    }
}

void Calculator::insertMacroCall(std::size_t index)
{
    if (index >= macros_.count())
        return;
    EditScope edit(*this);
    finishTypedName();
    const MacroRecord& macro = macros_.at(index);
    if (display_.inputMode() == InputMode::StringStandard)
        display_.currentLine().insertToken(macro.name + (macro.paramCount == 0 ? u"()" : u"("));
}

void Calculator::restoreHistoryExpression(std::size_t index)
{
    if (index >= history_.entries().size() || display_.inputMode() != InputMode::StringStandard)
        return;
    EditScope edit(*this);
    nameBuilder_.clear();
    const HistoryEntry entry = history_.entries()[index].inOutputFormat(preferences_.outputFormat);
    DisplayLine& line = display_.currentLine();
    line.setContent(entry.expression, entry.tokenMap);
    line.moveCursor(static_cast<long>(line.tokenCount()));
}

bool Calculator::recallHistory(bool older)
{
    if (preferences_.pocketLineEditing || display_.inputMode() != InputMode::StringStandard || macroEditor_.editing() ||
        evaluating())
        return false;
    const DisplayLine& line = display_.currentLine();
    if (historyWalk_ && line.input() != historyWalk_->shown)
        historyWalk_.reset();
    if (older) {
        const std::size_t next = historyWalk_ ? historyWalk_->index + 1 : 0;
        if (next >= history_.entries().size())
            return true;
        if (!historyWalk_)
            historyWalk_ = HistoryWalk{0, {}, line.input(), line.tokenMap(), lineEvaluated_};
        historyWalk_->index = next;
        restoreHistoryExpression(next);
    } else {
        if (!historyWalk_)
            return true;
        if (historyWalk_->index == 0) {
            EditScope edit(*this);
            DisplayLine& current = display_.currentLine();
            current.setContent(historyWalk_->draftInput, historyWalk_->draftTokens);
            current.moveCursor(static_cast<long>(current.tokenCount()));
            lineEvaluated_ = historyWalk_->draftEvaluated;
            historyWalk_.reset();
            return true;
        }
        restoreHistoryExpression(--historyWalk_->index);
    }
    historyWalk_->shown = display_.currentLine().input();
    // The recalled line is for editing: keys go on with it rather than start afresh.
    lineEvaluated_ = false;
    return true;
}

void Calculator::insertHistoryResult(std::size_t index)
{
    if (index >= history_.entries().size())
        return;
    EditScope edit(*this);
    finishTypedName();
    const HistoryEntry entry = history_.entries()[index].inOutputFormat(preferences_.outputFormat);
    const std::u16string text = entry.value.empty() ? entry.result : entry.value;
    pasteTokens(text);
}

void Calculator::showMacroLine(const MacroLineText& line)
{
    display_.currentLine().setContent(line.displayText, line.tokenMap);
    display_.currentLine().moveCursor(static_cast<long>(line.tokenMap.size()));
    display_.setResultText(std::u16string(MacroEditor::kEditingResultText));
}

void Calculator::editMacro(std::u16string_view name)
{
    showMacroLine(macroEditor_.choose(name));
}

bool Calculator::saveMacro()
{
    const DisplayLine& line = display_.currentLine();
    macroEditor_.rebuildParameters(line.input());
    return macroEditor_.save(line.input(), line.tokenMap());
}

void Calculator::stopEditingMacro()
{
    macroEditor_.close();
    display_.setResultText({});
}
