#include "app_style.h"

#include <QApplication>
#include <QStyleFactory>

#include "colour_contrast.h"

namespace {

// The light text the panels use (#E8EEF2), packed as the skin packs colours.
constexpr std::uint32_t kLightText = packColour(0xE8, 0xEE, 0xF2);

QColor qColour(std::uint32_t packed)
{
    return QColor(static_cast<int>(packed & 0xFF), static_cast<int>((packed >> 8) & 0xFF),
                  static_cast<int>((packed >> 16) & 0xFF));
}

}  // namespace

QPalette applicationPalette(const SkinColours& colours)
{
    using colourContrast::legibleOn;
    // 0 the window, 1 bars and fields, 2 lines, 3 quiet text, 4 the accent.
    const std::uint32_t window = colours.border[0];
    const std::uint32_t field = colours.border[1];
    const std::uint32_t accent = colours.border[4];
    const std::uint32_t text = legibleOn(window, kLightText);
    const std::uint32_t fieldText = legibleOn(field, kLightText);

    QPalette palette;
    const auto set = [&palette](QPalette::ColorRole role, std::uint32_t colour) {
        palette.setColor(QPalette::All, role, qColour(colour));
    };
    set(QPalette::Window, window);
    set(QPalette::WindowText, text);
    set(QPalette::Base, field);
    set(QPalette::AlternateBase, colours.border[2]);
    set(QPalette::Text, fieldText);
    set(QPalette::Button, field);
    set(QPalette::ButtonText, fieldText);
    set(QPalette::BrightText, legibleOn(window, accent));
    set(QPalette::Highlight, accent);
    set(QPalette::HighlightedText, legibleOn(accent, window));
    set(QPalette::ToolTipBase, field);
    set(QPalette::ToolTipText, fieldText);
    set(QPalette::PlaceholderText, legibleOn(field, colours.border[3]));
    set(QPalette::Link, legibleOn(window, accent));
    set(QPalette::LinkVisited, legibleOn(window, accent));
    set(QPalette::Light, colours.border[2]);
    set(QPalette::Midlight, colours.border[2]);
    set(QPalette::Mid, colours.border[1]);
    set(QPalette::Dark, window);
    set(QPalette::Shadow, window);
    // Disabled text only needs to look disabled; the quiet colour says so on every skin.
    palette.setColor(QPalette::Disabled, QPalette::WindowText, qColour(colours.border[3]));
    palette.setColor(QPalette::Disabled, QPalette::Text, qColour(colours.border[3]));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, qColour(colours.border[3]));
    return palette;
}

void applyApplicationStyle(const SkinColours& colours)
{
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QApplication::setPalette(applicationPalette(colours));
}
