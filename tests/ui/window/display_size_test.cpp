// The display's type follows the display's size: a result typed in a small window and in a
// large one is drawn several times taller in the large one, not small in a dark field.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "calculator_display_view.h"
#include "calculator_view.h"

namespace {

// The height of the tallest run of pixel rows that hold light text (the lines and the result,
// not the orange indicators).
int tallestTextRun(const QImage& picture)
{
    int tallest = 0;
    int run = 0;
    for (int y = 0; y < picture.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < picture.width() && !ink; ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            ink = pixel.red() > 170 && pixel.green() > 170 && pixel.blue() > 170;
        }
        run = ink ? run + 1 : 0;
        tallest = std::max(tallest, run);
    }
    return tallest;
}

int resultHeightAt(QSize size)
{
    const std::filesystem::path data{CORVAN_SOURCE_DATA_DIR};
    Calculator calculator{std::filesystem::path()};
    CalculatorView view{calculator, ProgramFolder(data, data)};
    calculator.start();
    view.resize(size);
    view.show();
    QTest::keyClicks(&view, QStringLiteral("12345679*9"));
    QTest::keyClick(&view, Qt::Key_Return);
    view.waitForEvaluation();
    auto* display = view.findChild<CalculatorDisplayView*>();
    return tallestTextRun(display->grab().toImage());
}

TEST(DisplaySize, TheResultGrowsWithTheWindow)
{
    const int small = resultHeightAt({240, 320});
    const int large = resultHeightAt({1000, 1000});
    EXPECT_GE(small, 8) << "no result drawn in the small window";
    EXPECT_GE(large, small * 5 / 2) << small << " px in 240x320, " << large << " px in 1000x1000";
}

}  // namespace
