// Every window and dialog takes its colours from the skin, and a message box that a panel opens
// is legible: these tests read the pixels a user would see.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include <map>
#include <random>

#include "app_style.h"
#include "calculator.h"
#include "calculator_view.h"
#include "colour_contrast.h"
#include "converter_view.h"
#include "keypads.h"

namespace {

std::uint32_t packed(QRgb rgb)
{
    return packColour(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

// The contrast between a picture's most common colour (its background) and the pixel that
// stands out most from it (the core of a glyph).
double textContrast(const QImage& image)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) & 0xFFFFFF];
    QRgb background = 0;
    int most = -1;
    for (const auto& [colour, count] : counts)
        if (count > most)
            std::tie(background, most) = std::pair{colour, count};
    double best = 1.0;
    for (const auto& [colour, count] : counts)
        best = std::max(best, colourContrast::contrastRatio(packed(background), packed(colour)));
    return best;
}

TEST(AppStyle, EveryTextRoleIsLegibleOnItsBackgroundForAnySkin)
{
    std::vector<SkinColours> skins(1);
    skins[0].border = {packColour(21, 23, 28), packColour(42, 46, 55), packColour(60, 66, 80),
                       packColour(138, 147, 163), packColour(255, 159, 67)};
    std::mt19937 random(3);
    std::uniform_int_distribution<std::uint32_t> colour(0, 0xFFFFFF);
    for (int i = 0; i < 200; ++i) {
        SkinColours skin;
        for (std::uint32_t& c : skin.border)
            c = colour(random);
        skins.push_back(skin);
    }
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
        {QPalette::Window, QPalette::WindowText},       {QPalette::Base, QPalette::Text},
        {QPalette::Button, QPalette::ButtonText},       {QPalette::Highlight, QPalette::HighlightedText},
        {QPalette::ToolTipBase, QPalette::ToolTipText}, {QPalette::Window, QPalette::Link}};
    for (const SkinColours& skin : skins) {
        const QPalette palette = applicationPalette(skin);
        for (const auto& [background, text] : pairs)
            EXPECT_GE(colourContrast::contrastRatio(packed(palette.color(background).rgb()),
                                                    packed(palette.color(text).rgb())),
                      colourContrast::kMinimumTextContrast)
                << palette.color(text).name().toStdString() << " on " << palette.color(background).name().toStdString();
    }
}

TEST(AppStyle, AMessageBoxOpenedFromAStyledPanelIsLegible)
{
    const std::filesystem::path data(CORVAN_SOURCE_DATA_DIR);
    Calculator calculator{std::filesystem::path()};
    calculator.start();
    CalculatorView view(calculator, ProgramFolder(data, data));
    view.resize(240, 320);
    view.showCategory(CategoryCode::kCurrencyConverter);
    auto* panel = view.findChild<ConverterView*>();
    ASSERT_NE(panel, nullptr);
    for (QWidget* parent : {static_cast<QWidget*>(panel), static_cast<QWidget*>(&view)}) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Error!"), QStringLiteral("Error when resolve host."),
                        QMessageBox::Ok, parent);
        box.adjustSize();
        const QImage picture = box.grab().toImage();
        // The text area alone: the icon and button have colours of their own.
        for (QLabel* label : box.findChildren<QLabel*>()) {
            if (label->text() != box.text())
                continue;
            const QImage text = picture.copy(QRect(label->mapTo(&box, QPoint()), label->size()));
            EXPECT_GE(textContrast(text), colourContrast::kMinimumTextContrast);
        }
    }
}

}  // namespace
