#include "ui_text.h"

#include <cmath>
#include <string>

#include "c_number.h"

QString displayString(std::u16string_view text)
{
    QString result = toQString(text);
    result.replace(QChar(kDisplayComma), QChar(u','));
    return result;
}

QString expressionString(std::u16string_view text, OutputFormat format)
{
    QString result = toQString(text);
    if (format == OutputFormat::European) {
        result.replace(QChar(u';'), QChar(u'|'));
        result.replace(QChar(u','), QChar(u';'));
    }
    result.replace(QChar(kDisplayComma), QChar(u','));
    return result;
}

bool typedNumberOverflows(std::u16string_view text)
{
    std::string ascii;
    for (char16_t c : text)
        ascii.push_back(c < 0x80 ? static_cast<char>(c) : '\x7f');
    const std::size_t first = ascii.find_first_not_of(" \t\n\v\f\r");
    double value = 0.0;
    return first != std::string::npos && cnum::parsePrefix(std::string_view(ascii).substr(first), value) > 0 &&
           !std::isfinite(value);
}

QString overflowMessage()
{
    return QString::fromStdString(formatNormal(HUGE_VAL));
}
