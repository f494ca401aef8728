#pragma once

#include <QPalette>
#include <QString>

// The panels' style sheets name their colours by role (@window, @field, @text, @accent, ...)
// instead of by value; the colours come from the application palette, which the skin sets, so
// every panel, dialog and message box shares one look and a skin recolours all of them.
//
// Roles: @window (a panel's ground), @sunken (titles and results set into it), @field (entry
// fields and lists), @fieldFocus, @button, @line (borders), @grid (table lines), @alternate
// (every other row), @label and @text (quiet and plain text), @quiet (hints), @disabled,
// @accent, @accentText (text on the accent), @accentPressed, @accentShade (a dark accent
// ground), @note (warm text on the ground).
QString themedStyleSheet(const QString& sheet, const QPalette& palette);
// With the application's palette.
QString themedStyleSheet(const QString& sheet);

class QWidget;
// Gives the widget the themed sheet, and gives it again whenever the application's palette
// changes (another skin), so that no widget keeps the colours it was first styled in.
void setThemedStyleSheet(QWidget* widget, const QString& sheet);
