#include "ui_text.h"

#include "result_format.h"

QString displayString(std::u16string_view text)
{
    QString result = toQString(text);
    result.replace(QChar(kDisplayComma), QChar(u','));
    return result;
}
