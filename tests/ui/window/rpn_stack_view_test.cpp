// "Basic-RPN" as a person meets it: the display shows the stack's top levels after every key,
// typed on the keypads or the keyboard, and the "(" key says that it enters the value.
#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include "calculator_display_view.h"
#include "calculator_view.h"
#include "keypad_faces.h"
#include "keypad_view.h"

#include "saved_picture.h"
#include "shipped_window.h"

namespace {

// The "(" key, which is the Enter key in "Basic-RPN".
int enterPosition()
{
    const auto faces = functionKeypadFaces(CategoryCode::kArithmetic);
    return static_cast<int>(
        std::find_if(faces.begin(), faces.end(), [](const KeyFace& face) { return face.label == u"("; }) -
        faces.begin());
}

struct Window {
    Calculator calculator{std::filesystem::path()};
    CalculatorView view{calculator, shippedFolder()};

    explicit Window(InputMode mode, QSize size = {240, 320})
    {
        calculator.start();
        view.resize(size);
        useMode(mode);
    }
    void useMode(InputMode mode)
    {
        calculator.setPreferredInputMode(mode);
        view.showCategory(CategoryCode::kArithmetic);  // redraws the window for the mode
    }
    KeypadView* keypad(const char* name) { return view.findChild<KeypadView*>(QString::fromLatin1(name)); }
    CalculatorDisplayView* display() { return view.findChild<CalculatorDisplayView*>(); }
    // Digits, operators, "\n" for Enter and "C" for clear, clicked on the portrait keypads or
    // typed on the keyboard.
    void press(const char* keys, bool keyboard)
    {
        for (; *keys != '\0'; ++keys) {
            const char key = *keys;
            if (keyboard) {
                QTest::keyClick(&view, key == '\n' ? Qt::Key_Return : key == 'C' ? Qt::Key_Escape : Qt::Key(key));
                continue;
            }
            KeypadView* pad = keypad(key == '\n' ? "functionKeypad" : "basicKeypad");
            const int position = key == '\n' ? enterPosition() : static_cast<int>(kBasicKeyLabels.find(char16_t(key)));
            clickKey(pad, position);
        }
    }
    // The values on the levels, the top (the bottom row) first.
    std::vector<std::string> shownLevels()
    {
        std::vector<std::string> values;
        for (const CalculatorDisplayView::StackRow& row : display()->stackRows())
            values.insert(values.begin(), row.value.toStdString());
        return values;
    }
};

// `count` levels, the top first: these values, then blank ones.
std::vector<std::string> levels(std::initializer_list<const char*> top, std::size_t count)
{
    std::vector<std::string> values(top.begin(), top.end());
    values.resize(count);
    return values;
}

class StackOnEveryKey : public ::testing::TestWithParam<bool> {};

TEST_P(StackOnEveryKey, LevelsFollowTheKeys)
{
    Window w(InputMode::BasicRpn);
    const std::size_t count = w.shownLevels().size();
    ASSERT_GE(count, 4u);
    struct Step {
        const char* keys;
        std::initializer_list<const char*> levels;
    };
    const Step steps[] = {
        {"", {}},
        {"3", {"3"}},
        {"\n", {"3"}},
        {"4\n5", {"5", "4", "3"}},
        {"+", {"9", "3"}},
        {"\n27", {"27", "9", "3"}},
        {"*-", {"-240"}},
        {"C", {}},
        {"0\n", {"0"}},
        {"C1.5\n0", {"0", "1.5"}},
        {"/", {"Division error", "1.5"}},
        {"C1\n2\n3\n4\n5", {"5", "4", "3", "2", "1"}},
        {"+++", {"14", "1"}},
    };
    for (const Step& step : steps) {
        w.press(step.keys, GetParam());
        EXPECT_EQ(w.shownLevels(), levels(step.levels, count)) << "after \"" << step.keys << '"';
    }
    const std::vector<CalculatorDisplayView::StackRow> rows = w.display()->stackRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].label, QStringLiteral("%1:").arg(rows.size() - i));
}

INSTANTIATE_TEST_SUITE_P(Input, StackOnEveryKey, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Keyboard" : "Keypads";
                         });

TEST(RpnStack, ANameBeingTypedShowsOnTheTopRowUntilItApplies)
{
    Window w(InputMode::BasicRpn);
    w.press("2\n16\n", true);
    QTest::keyClicks(&w.view, QStringLiteral("sq"));
    const CalculatorDisplayView::StackRow top = w.display()->stackRows().back();
    EXPECT_EQ(top.typedName, QStringLiteral("sq"));
    EXPECT_EQ(top.value, QStringLiteral("16"));
    EXPECT_LT(QFontMetrics(top.labelFont).horizontalAdvance(top.label + QStringLiteral(" sq")), top.valueBox.left());
    QTest::keyClicks(&w.view, QStringLiteral("rt"));
    QTest::keyClick(&w.view, Qt::Key_Return);
    EXPECT_TRUE(w.display()->stackRows().back().typedName.isEmpty());
    EXPECT_EQ(w.shownLevels(), levels({"4", "2"}, w.shownLevels().size()));
}

TEST(RpnStack, TheEnterKeySaysSoOnlyInRpn)
{
    Window w(InputMode::StringStandard);
    w.view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.view));
    KeypadView* pad = w.keypad("functionKeypad");
    const QRect key = pad->keyRect(enterPosition());
    const QImage parenthesis = pad->grab(key).toImage();
    const std::pair<InputMode, const char*> modes[] = {{InputMode::BasicRpn, "Basic-RPN"},
                                                       {InputMode::BasicStandard, "Basic-Standard"},
                                                       {InputMode::BasicRpn, "Basic-RPN"},
                                                       {InputMode::StringStandard, "String-Standard"}};
    for (const auto& [mode, name] : modes) {
        w.useMode(mode);
        const bool rpn = mode == InputMode::BasicRpn;
        EXPECT_EQ(pad->relabel(enterPosition()).text, rpn ? QStringLiteral("Enter") : QString()) << name;
        // The face is drawn anew: the skin's "(", or the mode's label instead of it.
        EXPECT_EQ(pad->grab(key).toImage() == parenthesis, !rpn) << name;
        QHelpEvent hover(QEvent::ToolTip, key.center(), pad->mapToGlobal(key.center()));
        QApplication::sendEvent(pad, &hover);
        EXPECT_TRUE(QToolTip::text().startsWith(rpn ? QStringLiteral("Enter") : QStringLiteral("(")))
            << name << ": " << QToolTip::text().toStdString();
        QToolTip::hideText();
        EXPECT_EQ(w.display()->stackRows().empty(), !rpn) << name;
    }
    for (int other = 0; other < kFunctionKeypadFaceCount; ++other)
        EXPECT_TRUE(other == enterPosition() || pad->relabel(other).text.isEmpty()) << other;
}

class StackPicture : public ::testing::TestWithParam<QSize> {};

TEST_P(StackPicture, EveryLevelIsWholeAndReadable)
{
    const QSize size = GetParam();
    Window w(InputMode::BasicRpn, size);
    w.view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.view));
    // A long fraction, a negative number, a grouped one, and a number still being typed.
    w.press("2\n3/0\n1234567-12345678\n9", true);
    const std::vector<std::string> shown = w.shownLevels();
    ASSERT_GE(shown.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + 3),
              (std::vector<std::string>{"9", "12,345,678", "-1,234,567"}));
    EXPECT_TRUE(shown[3].starts_with("0.6666666")) << shown[3];

    // Each level whole, in its own row under the indicators, clear of its label, in letters
    // that grow with the display.
    CalculatorDisplayView* display = w.display();
    for (const CalculatorDisplayView::StackRow& row : display->stackRows()) {
        const std::string name = row.label.toStdString();
        EXPECT_TRUE(display->rect().contains(row.box)) << name;
        EXPECT_FALSE(display->indicatorRects().back().intersects(row.box)) << name;
        const QFontMetrics value(row.valueFont);
        EXPECT_LE(value.horizontalAdvance(row.value), row.valueBox.width()) << name;
        EXPECT_LE(value.height(), row.box.height()) << name;
        EXPECT_LT(QFontMetrics(row.labelFont).horizontalAdvance(row.label), row.valueBox.left()) << name;
        EXPECT_GE(row.valueFont.pixelSize(), qMax(11, display->height() / 10)) << name;
    }
    // The Enter key's label fits its key: "Enter", or "ENT" on a narrow one.
    KeypadView* pad = w.keypad("functionKeypad");
    const KeypadView::Relabel enter = pad->relabel(enterPosition());
    EXPECT_TRUE(enter.text == QStringLiteral("Enter") || enter.text == QStringLiteral("ENT"))
        << enter.text.toStdString();
    EXPECT_LE(QFontMetrics(enter.font).horizontalAdvance(enter.text), pad->keyRect(enterPosition()).width());
    EXPECT_GE(enter.font.pixelSize(), 8);

    savePicture(w.view.grab().toImage(), QStringLiteral("rpn-%1x%2").arg(size.width()).arg(size.height()));
}

INSTANTIATE_TEST_SUITE_P(Sizes, StackPicture,
                         ::testing::Values(QSize(240, 320), QSize(320, 240), QSize(480, 640), QSize(1000, 1000)),
                         [](const ::testing::TestParamInfo<QSize>& info) {
                             return "Size" + std::to_string(info.param.width()) + "x" +
                                    std::to_string(info.param.height());
                         });

}  // namespace
