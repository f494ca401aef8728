// The landscape keypad's wide clear key is one face across its two cells at every window shape,
// with no strip of the keypad's background between its halves.
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "calculator.h"
#include "calculator_view.h"
#include "keypad_faces.h"
#include "keypad_view.h"

namespace {

TEST(KeypadView, TheWideClearKeyHasNoSeamAtAnyShape)
{
    const std::vector<int> spans = basicKeypadSpans(Orientation::Landscape);
    const auto wide = std::find(spans.begin(), spans.end(), 2);
    ASSERT_NE(wide, spans.end());
    const int first = static_cast<int>(wide - spans.begin());
    const QColor background(0x1B, 0x22, 0x2C);
    const std::filesystem::path data(CORVAN_SOURCE_DATA_DIR);
    for (const QSize size : {QSize(480, 200), QSize(320, 240), QSize(640, 480), QSize(1000, 1000), QSize(1000, 300)}) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        Calculator calculator{std::filesystem::path()};
        calculator.start();
        CalculatorView view(calculator, ProgramFolder(data, data));
        view.resize(size);
        view.show();
        auto* keypad = view.findChild<KeypadView*>(QStringLiteral("basicKeypad"));
        ASSERT_NE(keypad, nullptr);
        const QImage picture = keypad->grab().toImage();
        // Where the two cells meet, across the middle of the key.
        const QRect left = keypad->keyRect(first);
        const int x = keypad->keyRect(first + 1).left();
        for (const int y :
             {left.top() + left.height() * 3 / 10, left.center().y(), left.top() + left.height() * 7 / 10})
            for (const int dx : {-1, 0})
                EXPECT_NE(picture.pixelColor(x + dx, y), background) << "at " << x + dx << "," << y;
    }
}

}  // namespace
