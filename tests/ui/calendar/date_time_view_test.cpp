// The "Date - Time" panel driven offscreen as a user would: clicks on its fields, its buttons and
// the keys drawn from the skin, digits typed on the keyboard of the window.
#include <gtest/gtest.h>

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "calculator_view.h"
#include "date_time_view.h"
#include "keypad_view.h"
#include "keypads.h"
#include "skin_pixmaps.h"
#include "tool_keypads.h"

#include "saved_picture.h"
#include "shipped_window.h"

namespace {

// Where the key showing a label sits in the skin's "DateTime" image, or -1.
int keyPosition(std::u16string_view label)
{
    const auto& keys = toolKeypads::kDateTimeKeys;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].label == label)
            return static_cast<int>(i);
    }
    return -1;
}

struct DateTimeWindow {
    Calculator calculator;
    CalculatorView view;
    DateTimeView* panel = nullptr;

    explicit DateTimeWindow(QSize size = QSize(240, 320))
        : calculator(std::filesystem::path{}), view(calculator, shippedFolder())
    {
        calculator.start();
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
    // A click on the face of the key of the skin's image that shows the label.
    void press(std::u16string_view label) { clickKey(panel->keypad(), keyPosition(label)); }
    // What a field shows, as plain text.
    QString shown(const char* field) const
    {
        QTextDocument document;
        document.setHtml(child<QLabel>(field)->text());
        return document.toPlainText().replace(QChar(0x00A0), QLatin1Char(' '));
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

// The keys lie inside the panel clear of every field, keep most of the height of their image's
// proportions (squeezed flatter, their labels get hard to read), and each shows a face of the
// skin: a light label on a dark face, never the bare background.
void expectKeysDrawnWhole(const DateTimeWindow& w)
{
    KeypadView* keys = w.panel->keypad();
    const QRect area = keys->geometry();
    EXPECT_TRUE(w.panel->rect().contains(area));
    for (const char* name :
         {"fromField", "intervalField", "toField", "fromNote", "toNote", "fromSide", "toCompute", "switchCalculator"}) {
        const QWidget* widget = w.child(name);
        if (widget->isVisibleTo(w.panel)) {
            EXPECT_FALSE(area.intersects(QRect(widget->mapTo(w.panel, QPoint()), widget->size()))) << name;
        }
    }
    const QSize image = keys->imageSize();
    ASSERT_FALSE(image.isEmpty());
    EXPECT_GE(area.height() * image.width() * 100, area.width() * image.height() * 85);
    const QImage drawn = keys->grab().toImage();
    for (int position = 0; position < static_cast<int>(toolKeypads::kDateTimeKeys.size()); ++position) {
        const QRect rect = keys->keyRect(position);
        int darkest = 255;
        int lightest = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const int lightness = drawn.pixelColor(x, y).lightness();
                darkest = std::min(darkest, lightness);
                lightest = std::max(lightest, lightness);
            }
        }
        EXPECT_GT(lightest - darkest, 100) << position;
    }
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
    const int leapKey = keyPosition(u"Leap");
    EXPECT_TRUE(w.panel->keypad()->isVisibleTo(&w.view));
    EXPECT_TRUE(w.panel->keypad()->isAvailable(leapKey));
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
    expectKeysDrawnWhole(w);
    savePicture(w.view.grab().toImage(),
                QStringLiteral("date-time-lunar-%1").arg(QString::fromStdString(sizeName(size))));

    // The keyboard's L goes back to the ordinary month 4, the Leap key of the image again to the
    // leap month, and in a tall window the button beside From back once more.
    w.click("fromField");
    QTest::keyClick(&w.view, Qt::Key_L);
    EXPECT_FALSE(fromLeap->property("leap").toBool());
    EXPECT_FALSE(fromNote->text().contains(QStringLiteral("Nhuan")));
    EXPECT_EQ(w.panel->dateModel().fromDate(), SolarDate::unchecked(2020, 4, 23, 10, 0, 0));
    w.press(u"Leap");
    EXPECT_TRUE(fromLeap->property("leap").toBool());
    EXPECT_TRUE(fromNote->text().contains(QStringLiteral("Nhuan 4")));
    EXPECT_EQ(w.panel->dateModel().fromDate(), SolarDate::unchecked(2020, 5, 23, 10, 0, 0));
    if (!wide) {
        w.click("fromLeap");
        EXPECT_FALSE(fromLeap->property("leap").toBool());
        EXPECT_EQ(w.panel->dateModel().fromDate(), SolarDate::unchecked(2020, 4, 23, 10, 0, 0));
    }

    // The time calculator has neither leap months nor notes.
    w.click("switchCalculator");
    DateTimeWindow::settle();
    EXPECT_FALSE(fromLeap->isVisibleTo(&w.view));
    EXPECT_FALSE(fromNote->isVisibleTo(&w.view));
    EXPECT_FALSE(w.panel->keypad()->isAvailable(leapKey));
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
    EXPECT_EQ(text->text(), QStringLiteral("The \"To\" date is earlier than the \"From\" date."));
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

// The keys of the skin's image, clicked by their labels after a click on a field; where every
// key has a keyboard twin the same keys typed on the window must show the same.
struct KeysCase {
    const char* name;
    const char* field;
    std::vector<std::u16string_view> keys;
    const char* shown;
    const char* expected;
};

const KeysCase kKeysCases[] = {
    {"digits and right fill a date",
     "fromField",
     {u"0", u"5", u"\u25B6", u"2", u"3", u"\u25B6", u"2", u"0", u"2", u"0", u"\u25B6", u"0", u"9", u"\u25B6", u"3",
      u"0", u"\u25B6", u"4", u"5"},
     "fromField",
     "Sat-05/23/2020-09:30:45"},
    {"digits and right fill the interval",
     "intervalField",
     {u"1", u"\u25B6", u"2", u"\u25B6", u"3", u"\u25B6", u"4"},
     "intervalField",
     "1d 2h 3m 4s"},
    {"left goes back a cell",
     "intervalField",
     {u"\u25B6", u"\u25B6", u"5", u"\u25C0", u"7"},
     "intervalField",
     "0d 7h 5m 0s"},
    {"DEL clears the cell", "intervalField", {u"1", u"\u25B6", u"2", u"DEL"}, "intervalField", "1d 0h 0m 0s"},
    {"down moves on to the next field", "fromField", {u"\u25BC", u"6"}, "intervalField", "6d 0h 0m 0s"},
    {"up goes back a field", "toField", {u"\u25B2", u"8"}, "intervalField", "8d 0h 0m 0s"},
    {"Unit shows the interval in hours",
     "intervalField",
     {u"1", u"\u25B6", u"2", u"Unit"},
     "intervalField",
     "0d 26h 0m 0s"},
};

// The keyboard key that does what a key of the image does; 0 for none.
int keyboardTwin(std::u16string_view label)
{
    if (label.size() == 1 && label[0] >= u'0' && label[0] <= u'9')
        return Qt::Key_0 + (label[0] - u'0');
    const std::pair<std::u16string_view, int> twins[] = {{u"\u25C0", Qt::Key_Left}, {u"\u25B6", Qt::Key_Right},
                                                         {u"\u25B2", Qt::Key_Up},   {u"\u25BC", Qt::Key_Down},
                                                         {u"DEL", Qt::Key_Delete},  {u"Leap", Qt::Key_L}};
    for (const auto& [face, key] : twins) {
        if (face == label)
            return key;
    }
    return 0;
}

TEST(DateTimeKeys, ClickedAndTypedKeysFillTheFields)
{
    for (const KeysCase& c : kKeysCases) {
        SCOPED_TRACE(c.name);
        {
            DateTimeWindow w;
            w.showWindow();
            w.click(c.field);
            for (std::u16string_view label : c.keys)
                w.press(label);
            EXPECT_EQ(w.shown(c.shown).toStdString(), c.expected);
        }
        if (std::ranges::any_of(c.keys, [](std::u16string_view label) { return keyboardTwin(label) == 0; }))
            continue;
        DateTimeWindow w;
        w.showWindow();
        w.click(c.field);
        for (std::u16string_view label : c.keys)
            QTest::keyClick(&w.view, static_cast<Qt::Key>(keyboardTwin(label)));
        EXPECT_EQ(w.shown(c.shown).toStdString(), c.expected) << "typed";
    }
}

double meanLightness(const QImage& image, const QRect& rect)
{
    double sum = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            sum += image.pixelColor(x, y).lightness();
    }
    return sum / (rect.width() * rect.height());
}

// "Now" sets the focused date; the time calculator has no "now" and no leap month: both keys
// are dimmed there and do nothing, while Unit changes the focused duration's unit.
TEST(DateTimeKeys, NowSetsTheDateAndRestsWithLeapInTheTimeCalculator)
{
    DateTimeWindow w;
    w.showWindow();
    w.click("fromField");
    for (std::u16string_view label : {u"\u25B6", u"\u25B6", u"1", u"9", u"9", u"9"})
        w.press(label);
    EXPECT_TRUE(w.shown("fromField").contains(QStringLiteral("/1999-")));
    w.press(u"Now");
    EXPECT_TRUE(w.shown("fromField").contains(QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy"))))
        << w.shown("fromField").toStdString();

    KeypadView* keys = w.panel->keypad();
    const QImage dateKeys = keys->grab().toImage();
    w.click("switchCalculator");
    ASSERT_TRUE(w.panel->timeShown());
    const QImage timeKeys = keys->grab().toImage();
    for (std::u16string_view label : {u"Now", u"Leap"}) {
        const int position = keyPosition(label);
        EXPECT_FALSE(keys->isAvailable(position));
        EXPECT_LT(meanLightness(timeKeys, keys->keyRect(position)),
                  meanLightness(dateKeys, keys->keyRect(position)) - 10);
    }
    const QRect seven = keys->keyRect(keyPosition(u"7"));
    EXPECT_EQ(timeKeys.copy(seven), dateKeys.copy(seven));

    w.click("fromField");
    w.press(u"5");
    const std::string five = w.shown("fromField").toStdString();
    w.press(u"Now");
    w.press(u"Leap");
    EXPECT_EQ(w.shown("fromField").toStdString(), five);
    w.press(u"Unit");
    EXPECT_NE(w.shown("fromField").toStdString(), five);
}

// Every position of the grid is a key of its own in the skin's image at both scales: the gap
// between two keys shows the backdrop, never one wide key over two positions.
TEST(DateTimeKeys, EveryPositionHasItsOwnKeyInTheImage)
{
    const KeypadGrid grid = toolKeypads::kDateTimeGrid;
    for (const int scale : {1, 2}) {
        SkinPixmaps skin;
        ASSERT_TRUE(skin.load(shippedFolder(), u"Default.inf", scale, false));
        const QImage image = skin.image("DateTime");
        ASSERT_FALSE(image.isNull());
        const QColor backdrop = image.pixelColor(0, 0);
        for (int row = 0; row < grid.rows; ++row) {
            const int y = image.height() * (2 * row + 1) / (2 * grid.rows);
            for (int column = 1; column < grid.columns; ++column)
                EXPECT_EQ(image.pixelColor(image.width() * column / grid.columns, y), backdrop)
                    << "scale " << scale << " row " << row << " column " << column;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, DateTimeWindowAtSize,
                         ::testing::Values(QSize(240, 320), QSize(320, 240), QSize(480, 640)),
                         [](const ::testing::TestParamInfo<QSize>& info) { return "W" + sizeName(info.param); });
