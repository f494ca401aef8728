// The "Date - Time" panel driven offscreen as a user would: clicks on its fields and buttons,
// digits typed on the keyboard of the window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "date_time_view.h"
#include "keypads.h"
#include "calculator_view.h"

namespace {

struct DateTimeWindow {
    Calculator frame;
    CalculatorView view;
    DateTimeView* panel = nullptr;

    DateTimeWindow()
        : frame(std::filesystem::path{}),
          view(frame, ProgramFolder(std::filesystem::path(CORVAN_SOURCE_DATA_DIR),
                                    std::filesystem::path(CORVAN_SOURCE_DATA_DIR)))
    {
        frame.start();
        view.resize(240, 320);
        view.showCategory(CategoryCode::kDateTime);
        panel = view.findChild<DateTimeView*>();
    }
    void click(const char* name)
    {
        QWidget* widget = panel->findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(widget, nullptr) << name;
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    }
    void type(const char* text)
    {
        for (const char* c = text; *c != 0; ++c)
            QTest::keyClick(&view, *c);
    }
};

}  // namespace

TEST(DateTimeWindow, TypesAnIntervalAndReadsItBack)
{
    DateTimeWindow w;
    ASSERT_NE(w.panel, nullptr);
    ASSERT_TRUE(w.panel->isVisibleTo(&w.view));
    EXPECT_FALSE(w.panel->timeShown());

    // 1 d 2 h typed into Interval; To = From + Interval, then Interval computed from the two.
    w.click("intervalField");
    EXPECT_EQ(w.panel->dateModel().focus(), CalcField::Interval);
    w.type("1");
    QTest::keyClick(&w.view, Qt::Key_Right);
    w.type("2");
    w.click("toCompute");
    QTest::keyClick(&w.view, Qt::Key_Delete);  // the hours cell becomes "0"
    EXPECT_EQ(w.panel->dateModel().intervalEntry().cells()[2], u"0");
    w.click("intervalCompute");
    EXPECT_FALSE(w.panel->lastMessage());
    const DurationEntry::Cells oneDayTwoHours = {u"1", u"d", u"2", u"h", u"0", u"m", u"0", u"s"};
    EXPECT_EQ(w.panel->dateModel().intervalEntry().cells(), oneDayTwoHours);
    // The unit button shows the same interval in hours.
    w.click("intervalSide");
    EXPECT_EQ(w.panel->dateModel().intervalEntry().cells()[2], u"26");
    EXPECT_TRUE(w.panel->findChild<QLabel*>(QStringLiteral("intervalField"))->text().contains(QStringLiteral("26")));

    // The time calculator: To 2 h less than From is refused with its message.
    w.click("switchCalculator");
    EXPECT_TRUE(w.panel->timeShown());
    w.click("fromField");
    w.type("2");
    w.click("intervalCompute");
    ASSERT_TRUE(w.panel->lastMessage());
    EXPECT_EQ(*w.panel->lastMessage(), TimeCalculator::kFromAfterToMessage);
    auto* box = w.panel->findChild<QMessageBox*>(QStringLiteral("dateTimeMessage"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("From > To"));
    box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    w.click("toField");
    w.type("3");
    w.click("intervalCompute");
    EXPECT_EQ(w.panel->timeModel().intervalEntry().cells()[0], u"1");
}
