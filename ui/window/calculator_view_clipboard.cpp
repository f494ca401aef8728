// The calculator window and the clipboard: Copy of the result, Paste into the display.
#include "calculator_view.h"

#include <QApplication>
#include <QClipboard>

#include "converter_view.h"
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
    calculator_.pasteText(fromQString(QApplication::clipboard()->text()));
    refresh();
}
