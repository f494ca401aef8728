// Panels name their colours by role; what reaches the screen must be the palette's colours,
// for the palette of the skin in use, also after a skin change.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QWidget>

#include "app_style.h"
#include "panel_style.h"

namespace {

SkinColours coloursOf(std::uint32_t window, std::uint32_t field, std::uint32_t accent)
{
    SkinColours colours;
    colours.border = {window, field, packColour(60, 66, 80), packColour(138, 147, 163), accent};
    return colours;
}

TEST(PanelStyle, EveryRoleBecomesAColourOfThePalette)
{
    const QString roles = QStringLiteral(
        "a{c:@window} b{c:@sunken} c{c:@field} d{c:@fieldFocus} e{c:@button} f{c:@line} g{c:@grid}"
        " h{c:@alternate} i{c:@label} j{c:@text} k{c:@quiet} l{c:@disabled} m{c:@accent}"
        " n{c:@accentText} o{c:@accentPressed} p{c:@accentShade} q{c:@note}");
    const QPalette palette =
        applicationPalette(coloursOf(packColour(21, 23, 28), packColour(42, 46, 55), packColour(255, 159, 67)));
    const QString themed = themedStyleSheet(roles, palette);
    EXPECT_FALSE(themed.contains(QLatin1Char('@'))) << themed.toStdString();
    EXPECT_EQ(themed.count(QRegularExpression(QStringLiteral("#[0-9a-f]{6}"))), 17);
    // The longer names are not read as @accent or @field followed by letters.
    EXPECT_TRUE(themed.contains(QStringLiteral("m{c:") + palette.color(QPalette::Highlight).name()));
    EXPECT_TRUE(themed.contains(QStringLiteral("n{c:") + palette.color(QPalette::HighlightedText).name()));
    EXPECT_TRUE(themed.contains(QStringLiteral("c{c:") + palette.color(QPalette::Base).name()));
}

TEST(PanelStyle, AStyledWidgetTakesTheNewSkinsColours)
{
    const QPalette before = QApplication::palette();
    applyApplicationStyle(coloursOf(packColour(21, 23, 28), packColour(42, 46, 55), packColour(255, 159, 67)));
    QWidget panel;
    auto* label = new QLabel(QStringLiteral("Rate"), &panel);
    setThemedStyleSheet(&panel, QStringLiteral("QLabel { color: @accent; }"));
    label->ensurePolished();
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 159, 67));

    applyApplicationStyle(coloursOf(packColour(10, 40, 20), packColour(30, 70, 40), packColour(90, 200, 250)));
    label->ensurePolished();
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QApplication::palette().color(QPalette::Highlight));
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), QColor(90, 200, 250));
    QApplication::setPalette(before);
}

}  // namespace
