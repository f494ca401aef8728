// The calculator window and the clipboard: Copy of the result, and Paste of one line into the
// display or of several lines as expressions evaluated in turn.
#include "calculator_view.h"

#include <QApplication>
#include <QClipboard>

#include "converter_view.h"
#include "key_codes.h"
#include "ui_text.h"

void CalculatorView::copyResult(CopyPrecision precision)
{
    // The converter's answer is in its panel, not on the display.
    if (!converterWindow_->isHidden()) {
        converterWindow_->copyResult();
        return;
    }
    const std::u16string text = calculator_.copyText(precision);
    // An error has nothing to copy: the clipboard keeps what it holds.
    if (!text.empty())
        QApplication::clipboard()->setText(displayString(text));
}

void CalculatorView::pasteExpression()
{
    const std::u16string text = fromQString(QApplication::clipboard()->text());
    const std::vector<std::u16string_view> lines = pastedExpressionLines(text);
    // One line goes in at the cursor; the basic modes take the first number whatever follows.
    if (lines.size() < 2 || calculator_.display().inputMode() != InputMode::StringStandard) {
        calculator_.pasteText(text);
        refresh();
        return;
    }
    pastedLines_.assign(lines.begin(), lines.end());
    pastedLineEvaluated_ = false;
    setBusy(true);
    evaluatePastedLine();
}

void CalculatorView::evaluatePastedLine()
{
    // A line still computing goes on from completeEvaluation().
    if (calculator_.evaluating())
        return;
    // The last line has its result, or Escape dropped the rest.
    if (pastedLines_.empty()) {
        setBusy(false);
        refresh();
        return;
    }
    // The first line joins what is typed at the cursor; each later one is a new expression below
    // the evaluated ones.
    if (pastedLineEvaluated_)
        calculator_.pressKey(KeyCode::kClear);
    calculator_.pasteText(pastedLines_.front());
    pastedLines_.pop_front();
    pastedLineEvaluated_ = true;
    calculator_.pressKey(KeyCode::kEquals);
    refresh();
    // The next line from the event loop, so that the window paints and takes Escape meanwhile.
    if (!calculator_.evaluating())
        pasteTimer_->start();
}
