#pragma once

#include <QString>

#include <string>
#include <string_view>

// Display text for drawing: the display's private comma (U+00B8) is drawn as ",".
QString displayString(std::u16string_view text);
// Text between the models and Qt, unchanged.
inline QString toQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::u16string fromQString(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}
