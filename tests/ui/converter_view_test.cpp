// The converter panel forwards typed keys and list picks to its model; driven offscreen through
// the main window as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "converter_view.h"
#include "keypads.h"
#include "calculator_view.h"

namespace {

QString text(const CalculatorView& view, const char* name)
{
    const auto* label = view.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

TEST(ConverterView, ConvertsWhileTypingAndFollowsTheCategory)
{
    const std::filesystem::path data(CORVAN_SOURCE_DATA_DIR);
    // No state folder: nothing is written into the shipped data.
    Calculator frame{std::filesystem::path()};
    CalculatorView view(frame, ProgramFolder(data, data));
    frame.start();
    view.resize(240, 320);
    view.showCategory(CategoryCode::kUnitConverter);

    auto* panel = view.findChild<ConverterView*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_TRUE(view.findChild<QLabel*>(QStringLiteral("placeholder"))->isHidden());
    EXPECT_EQ(text(view, "top"), QStringLiteral("Length"));
    EXPECT_EQ(view.findChild<QPushButton*>(QStringLiteral("upperUnit"))->text(), QStringLiteral("m"));
    EXPECT_EQ(view.findChild<QPushButton*>(QStringLiteral("lowerUnit"))->text(), QStringLiteral("km"));

    for (char c : {'1', '5', '0', '0'})
        QTest::keyClick(&view, c);
    EXPECT_EQ(text(view, "upperValue"), QStringLiteral("1,500"));
    EXPECT_EQ(text(view, "lowerValue"), QStringLiteral("1.5"));
    // "W" on the keyboard is the digit 1; Tab moves to the lower field.
    QTest::keyClick(&view, Qt::Key_Tab);
    QTest::keyClick(&view, Qt::Key_W);
    EXPECT_EQ(text(view, "upperValue"), QStringLiteral("1,000"));

    // The lower unit list preselects the current unit; a pick converts again.
    QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("lowerUnit")), Qt::LeftButton);
    auto* list = view.findChild<QListWidget*>(QStringLiteral("converterList"));
    ASSERT_FALSE(list->isHidden());
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("meter m"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_TRUE(list->isHidden());
    EXPECT_EQ(view.findChild<QPushButton*>(QStringLiteral("lowerUnit"))->text(), QStringLiteral("m"));
    EXPECT_EQ(text(view, "upperValue"), QStringLiteral("1"));

    view.showCategory(CategoryCode::kCurrencyConverter);
    EXPECT_TRUE(text(view, "top").startsWith(QStringLiteral("Rates of ")));
    EXPECT_EQ(text(view, "upperValue"), QStringLiteral("1"));
    EXPECT_EQ(view.findChild<QPushButton*>(QStringLiteral("upperUnit"))->text(), QStringLiteral("USD"));

    view.showCategory(CategoryCode::kConstants);
    EXPECT_FALSE(text(view, "constantName").isEmpty());
    EXPECT_FALSE(text(view, "constantValue").isEmpty());

    view.showCategory(CategoryCode::kArithmetic);
    EXPECT_TRUE(panel->isHidden());
}

}  // namespace
