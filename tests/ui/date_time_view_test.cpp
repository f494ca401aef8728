// The "Date - Time" panel driven offscreen as a user would: clicks on its fields and buttons,
// digits typed on the keyboard of the window.
#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
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

    explicit DateTimeWindow(QSize size = QSize(240, 320))
        : frame(std::filesystem::path{}),
          view(frame, ProgramFolder(std::filesystem::path(CORVAN_SOURCE_DATA_DIR),
                                    std::filesystem::path(CORVAN_SOURCE_DATA_DIR)))
    {
        frame.start();
        view.resize(size);
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
    template <typename T = QWidget>
    T* child(const char* name) const
    {
        return panel->findChild<T*>(QString::fromLatin1(name));
    }
    // Shown as a user sees it, so that every layout has run.
    void showWindow()
    {
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    // Lets the layouts catch up with what the last key or click changed.
    static void settle() { QCoreApplication::processEvents(); }
    // Clicks a date field and types its six numbers, month first, moving right between them.
    void typeDate(const char* field, const char* month, const char* day, const char* year, const char* hour)
    {
        click(field);
        for (const char* part : {month, day, year, hour, "00", "00"}) {
            type(part);
            QTest::keyClick(&view, Qt::Key_Right);
        }
    }
};

// Where the pictures go when CORVAN_PICTURES names a folder: look at them.
void savePicture(const QImage& image, const QString& name)
{
    const QString folder = qEnvironmentVariable("CORVAN_PICTURES");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    EXPECT_TRUE(image.save(QDir(folder).filePath(name + QStringLiteral(".png"))));
}

// The text of a label or button is drawn whole: as wide as it wants, or wrapped to fit.
void expectWhole(const QWidget* widget)
{
    if (widget == nullptr || !widget->isVisibleTo(widget->window()))
        return;
    const auto* label = qobject_cast<const QLabel*>(widget);
    if (label != nullptr && label->wordWrap()) {
        EXPECT_GE(label->height(), label->heightForWidth(label->width())) << label->objectName().toStdString();
        return;
    }
    EXPECT_GE(widget->width(), widget->sizeHint().width()) << widget->objectName().toStdString();
    EXPECT_GE(widget->height(), widget->fontMetrics().height()) << widget->objectName().toStdString();
}

std::string sizeName(QSize size)
{
    return std::to_string(size.width()) + "x" + std::to_string(size.height());
}

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
    QDialog* box = w.panel->messageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->findChild<QLabel*>(QStringLiteral("dateTimeMessageText"))->text(), QStringLiteral("From > To"));
    box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    w.click("toField");
    w.type("3");
    w.click("intervalCompute");
    EXPECT_EQ(w.panel->timeModel().intervalEntry().cells()[0], u"1");
}

// 23 May 2020 is day 1 of the leap month 4 of the lunar year Canh Ty; 17 February 2026 begins
// the year Binh Ngo. Typed and switched to lunar as a user does, at each window size.
class DateTimeWindowAtSize : public ::testing::TestWithParam<QSize> {};

TEST_P(DateTimeWindowAtSize, LunarDatesShowYearNameLeapMarkerAndTerm)
{
    const QSize size = GetParam();
    DateTimeWindow w(size);
    w.showWindow();
    ASSERT_NE(w.panel, nullptr);
    w.typeDate("fromField", "05", "23", "2020", "09");
    w.typeDate("toField", "02", "17", "2026", "10");
    EXPECT_EQ(w.panel->dateModel().fromDate(), SolarDate::unchecked(2020, 5, 23, 9, 0, 0));
    EXPECT_EQ(w.panel->dateModel().toDate(), SolarDate::unchecked(2026, 2, 17, 10, 0, 0));
    EXPECT_FALSE(w.child("fromLeap")->isVisibleTo(&w.view));
    EXPECT_FALSE(w.child("fromNote")->isVisibleTo(&w.view));

    w.click("fromSide");
    w.click("toSide");
    auto* fromNote = w.child<QLabel>("fromNote");
    auto* toNote = w.child<QLabel>("toNote");
    EXPECT_TRUE(fromNote->isVisibleTo(&w.view));
    EXPECT_EQ(fromNote->text(), QStringLiteral("Canh Ty \u00B7 Nhuan 4 \u00B7 Tieu man"));
    EXPECT_EQ(toNote->text(), QStringLiteral("Binh Ngo \u00B7 Lap xuan"));
    // Beside the dates of a tall window, a Leap button each, lit in a leap month; a wide window
    // has the one-row fields and leaves the leap month to the keypad's Leap key.
    auto* fromLeap = w.child<QPushButton>("fromLeap");
    const bool wide = size.width() > size.height();
    EXPECT_EQ(fromLeap->isVisibleTo(&w.view), !wide);
    EXPECT_TRUE(w.child("leapKey")->isVisibleTo(&w.view));
    EXPECT_TRUE(fromLeap->isEnabled());
    EXPECT_TRUE(fromLeap->property("leap").toBool());
    EXPECT_FALSE(w.child("toLeap")->isEnabled());  // 2026 has no leap month
    EXPECT_TRUE(w.child<QLabel>("fromField")->text().contains(QStringLiteral("04/01/2020")));

    // The hour of the leap-month date, typed: still the leap month.
    w.click("fromField");
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&w.view, Qt::Key_Right);
    w.type("10");
    EXPECT_EQ(w.panel->dateModel().fromDate(), SolarDate::unchecked(2020, 5, 23, 10, 0, 0));
    EXPECT_TRUE(fromLeap->property("leap").toBool());
    EXPECT_TRUE(fromNote->text().contains(QStringLiteral("Nhuan 4")));

    w.click("intervalCompute");
    EXPECT_FALSE(w.panel->lastMessage());
    DateTimeWindow::settle();
    for (const char* name : {"fromField", "intervalField", "toField", "fromNote", "toNote", "fromLeap", "fromSide",
                             "toSide", "fromCompute", "switchCalculator"})
        expectWhole(w.child(name));
    EXPECT_GE(QFontInfo(w.child("fromField")->font()).pixelSize(), 11);
    for (const QPushButton* key : w.child("dateTimeKeys")->findChildren<QPushButton*>())
        EXPECT_LE(key->fontMetrics().horizontalAdvance(key->text()), key->width() - 4) << key->text().toStdString();
    savePicture(w.view.grab().toImage(), QStringLiteral("date-time-lunar-%1").arg(QString::fromStdString(sizeName(size))));

    // The Leap key goes back to the ordinary month 4 and again to the leap month.
    w.click("fromField");
    QTest::keyClick(&w.view, Qt::Key_L);
    EXPECT_FALSE(fromLeap->property("leap").toBool());
    EXPECT_EQ(w.panel->dateModel().fromDate(), SolarDate::unchecked(2020, 4, 23, 10, 0, 0));
    w.click(wide ? "leapKey" : "fromLeap");
    EXPECT_TRUE(fromLeap->property("leap").toBool());
    EXPECT_EQ(w.panel->dateModel().fromDate(), SolarDate::unchecked(2020, 5, 23, 10, 0, 0));

    // The time calculator has neither leap months nor notes.
    w.click("switchCalculator");
    DateTimeWindow::settle();
    EXPECT_FALSE(fromLeap->isVisibleTo(&w.view));
    EXPECT_FALSE(fromNote->isVisibleTo(&w.view));
    EXPECT_FALSE(w.child("leapKey")->isEnabled());
    for (const char* name : {"fromField", "intervalField", "toField", "fromSide", "switchCalculator"})
        expectWhole(w.child(name));
    savePicture(w.view.grab().toImage(), QStringLiteral("time-%1").arg(QString::fromStdString(sizeName(size))));
}

// "To" earlier than "From": the message fits the window and is light on dark. A To before 1582
// carries the note on Gregorian dates.
TEST_P(DateTimeWindowAtSize, ToEarlierThanFromMessageFitsTheWindow)
{
    const QSize size = GetParam();
    DateTimeWindow w(size);
    w.showWindow();
    w.typeDate("fromField", "05", "23", "2020", "09");
    w.typeDate("toField", "10", "14", "1582", "10");
    auto* toNote = w.child<QLabel>("toNote");
    EXPECT_TRUE(toNote->isVisibleTo(&w.view));
    EXPECT_EQ(toNote->text(), QStringLiteral("Gregorian, also before 15 Oct 1582"));
    DateTimeWindow::settle();
    expectWhole(toNote);
    w.click("intervalCompute");
    ASSERT_TRUE(w.panel->lastMessage());
    QDialog* box = w.panel->messageBox();
    ASSERT_NE(box, nullptr);
    auto* text = box->findChild<QLabel*>(QStringLiteral("dateTimeMessageText"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), QStringLiteral("The \"To\" date occured ealier than the \"From\" one!"));
    EXPECT_LE(box->width(), size.width() - 8);
    expectWhole(text);
    // Light text on a dark dialog: far apart in lightness.
    const QImage picture = box->grab().toImage();
    const QColor background = picture.pixelColor(3, picture.height() / 2);
    EXPECT_LT(background.lightness(), 80);
    EXPECT_GT(text->palette().color(QPalette::WindowText).lightness(), 180);

    // The window with the box over its middle, as the user sees it.
    QImage screen = w.view.grab().toImage();
    QPainter painter(&screen);
    painter.drawImage((screen.width() - picture.width()) / 2, (screen.height() - picture.height()) / 2, picture);
    painter.end();
    savePicture(screen, QStringLiteral("date-time-message-%1").arg(QString::fromStdString(sizeName(size))));
    box->close();
}

INSTANTIATE_TEST_SUITE_P(Sizes, DateTimeWindowAtSize,
                         ::testing::Values(QSize(240, 320), QSize(320, 240), QSize(480, 640)),
                         [](const ::testing::TestParamInfo<QSize>& info) { return "W" + sizeName(info.param); });
