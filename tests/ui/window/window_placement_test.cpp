// The first window opens whole on its screen: within the screen's free area, at the size asked
// for when it fits, else as large as fits in the same shape, centred.
#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>

#include <cstdlib>
#include <filesystem>

#include "calculator.h"
#include "calculator_view.h"
#include "screen_facts.h"
#include "window_placement.h"

namespace {

struct PlacementCase {
    const char* name;
    QSize wanted;
    QRect available;
    QMargins frame;
};

TEST(WindowPlacement, FitsTheFreeAreaInTheSameShape)
{
    const PlacementCase cases[] = {
        {"room to spare", QSize(480, 640), QRect(0, 0, 1920, 1080), QMargins()},
        {"a 1280x1024 screen at scale 2", QSize(480, 640), QRect(0, 0, 640, 512), QMargins()},
        {"the same with a title bar", QSize(480, 640), QRect(0, 0, 640, 512), QMargins(3, 28, 3, 3)},
        {"a panel on the left", QSize(480, 640), QRect(64, 0, 576, 480), QMargins(2, 20, 2, 2)},
        {"landscape on a narrow screen", QSize(640, 480), QRect(0, 32, 400, 700), QMargins()},
        {"square, just fits", QSize(500, 500), QRect(10, 10, 500, 500), QMargins()},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect window = fittedWindowGeometry(c.wanted, c.available, c.frame);
        const QRect room = c.available.marginsRemoved(c.frame);
        EXPECT_TRUE(c.available.contains(window.marginsAdded(c.frame)));
        EXPECT_EQ(ScreenFacts::of(window.size()).landscape, ScreenFacts::of(c.wanted).landscape);
        // The same shape, to a pixel of rounding.
        EXPECT_LE(std::abs(window.width() * c.wanted.height() - window.height() * c.wanted.width()),
                  std::max(c.wanted.width(), c.wanted.height()));
        if (c.wanted.width() <= room.width() && c.wanted.height() <= room.height()) {
            EXPECT_EQ(window.size(), c.wanted);
        } else {
            EXPECT_TRUE(window.width() == room.width() || window.height() == room.height())
                << window.width() << "x" << window.height() << " in " << room.width() << "x" << room.height();
        }
        EXPECT_LE(std::abs((window.left() - room.left()) - (room.right() - window.right())), 1);
        EXPECT_LE(std::abs((window.top() - room.top()) - (room.bottom() - window.bottom())), 1);
    }
}

// The offscreen screen is 800x600: a window asked at a portrait size taller than it opens on it
// whole and still portrait.
TEST(WindowPlacement, TheCalculatorWindowOpensWithinItsScreen)
{
    const std::filesystem::path data(CORVAN_SOURCE_DATA_DIR);
    for (const QSize wanted : {QSize(960, 1280), QSize(480, 640), QSize(1600, 500)}) {
        SCOPED_TRACE(std::to_string(wanted.width()) + "x" + std::to_string(wanted.height()));
        Calculator frame{std::filesystem::path()};
        frame.start();
        CalculatorView view(frame, ProgramFolder(data, data));
        placeOnScreen(view, wanted);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        QCoreApplication::processEvents();
        const QRect available = view.screen()->availableGeometry();
        EXPECT_TRUE(available.contains(view.frameGeometry()));
        EXPECT_EQ(ScreenFacts::of(view.size()).landscape, ScreenFacts::of(wanted).landscape);
        if (wanted.width() <= available.width() && wanted.height() <= available.height()) {
            EXPECT_EQ(view.size(), wanted);
        }
    }
}

}  // namespace
