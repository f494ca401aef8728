// The calculator window's key routing: keypad clicks, the keyboard and Tab, to a list, a tool
// panel or the calculator.
#include "calculator_view.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "finance_view.h"
#include "function_signatures.h"
#include "key_codes.h"
#include "ui_text.h"

namespace {

// Widgets that take typing themselves: a key they leave unused is not for the display.
bool takesTyping(const QWidget* widget)
{
    return qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget);
}

}  // namespace

void CalculatorView::onFunctionKey(int position, bool held)
{
    closePopups();
    const Calculator::KeypadResult result = calculator_.pressFunctionKey(position, held);
    if (result == Calculator::KeypadResult::OpenCalculusList)
        openPopupList();
    afterKey();
    if (result == Calculator::KeypadResult::OpenMatrixWindow ||
        result == Calculator::KeypadResult::OpenStatisticsWindow)
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
        case KeypadSpecial::CalculusList:
            return tr("Calculus: integral, derivative, evaluation, root, product, sum, Fibonacci");
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

bool CalculatorView::listOpen() const
{
    return toolsPanel_->isVisible() || popupList_->isVisible();
}

bool CalculatorView::handleEditingKey(QKeyEvent* event)
{
    QListWidget* list = popupList_->isVisible() ? popupList_ : (toolsPanel_->isVisible() ? toolsPanel_ : nullptr);
    if (list) {
        switch (event->key()) {
        case Qt::Key_Escape: closePopups(); return true;
        case Qt::Key_F4: toggleToolsPanel(); return true;
        case Qt::Key_Up: list->setCurrentRow(qMax(0, list->currentRow() - 1)); return true;
        case Qt::Key_Down: list->setCurrentRow(qMin(list->count() - 1, list->currentRow() + 1)); return true;
        case Qt::Key_Home: list->setCurrentRow(0); return true;
        case Qt::Key_End: list->setCurrentRow(list->count() - 1); return true;
        case Qt::Key_PageUp: list->setCurrentRow(qMax(0, list->currentRow() - 5)); return true;
        case Qt::Key_PageDown: list->setCurrentRow(qMin(list->count() - 1, list->currentRow() + 5)); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (list->currentItem())
                Q_EMIT list->itemClicked(list->currentItem());
            return true;
        default: return true;
        }
    }
    if (event->matches(QKeySequence::Copy)) {
        copyResult(CopyPrecision::AsShown);
        return true;
    }
    if (event->keyCombination() == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_C)) {
        copyResult(CopyPrecision::Full);
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
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (calculator_.recallHistory(event->key() == Qt::Key_Up)) {
            afterKey();
            return true;
        }
        code = event->key() == Qt::Key_Up ? KeyCode::kPreviousLine : KeyCode::kNextLine;
        break;
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
        // A name being typed goes on the line first (as typed when it is no name), then "=".
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
    if (!listOpen() && panels_.takeTab(calculator_.category()))
        return true;
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
    // The tool windows take the keyboard in their categories, unless a list is open; the hard
    // keys that scroll the categories keep working there.
    if (!scrollKey && !listOpen() && panels_.takeKey(calculator_.category(), event))
        return;
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
