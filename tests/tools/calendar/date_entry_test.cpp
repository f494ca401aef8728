#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "date_entry.h"

namespace {

SolarDate at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return SolarDate::unchecked(y, mo, d, h, mi, s);
}

DateEntry::Cells cellsOf(std::initializer_list<const char16_t*> texts)
{
    DateEntry::Cells cells;
    std::size_t i = 0;
    for (const char16_t* text : texts)
        cells[i++] = text;
    return cells;
}

// A control showing start whose field was given the keys one digit at a time.
DateEntry typedInto(const SolarDate& start, DateOrder order, DateEntry::Field field, const char16_t* keys)
{
    DateEntry control(start, order);
    for (; *keys; ++keys)
        control.typeDigit(control.cellOf(field), *keys);
    return control;
}

TEST(DateEntry, ShowsTheDateInEitherOrder)
{
    DateEntry control(at(987, 3, 7, 5, 4, 3), DateOrder::MonthFirst);
    EXPECT_EQ(control.cells(),
              cellsOf({u"Wed", u"-", u"03", u"/", u"07", u"/", u"0987", u"-", u"05", u":", u"04", u":", u"03"}));
    control.setOrder(DateOrder::DayFirst);
    EXPECT_EQ(control.cells()[2], u"07");
    EXPECT_EQ(control.cells()[4], u"03");
    EXPECT_EQ(DateEntry::placeholderCells()[6], u"yyyy");
}

TEST(DateEntry, TypedDigitsFollowTheCellRules)
{
    struct Case {
        DateOrder order;
        DateEntry::Field field;
        const char16_t* keys;
        SolarDate expected;
    };
    const SolarDate start = at(2024, 1, 31, 10, 20, 30);
    const Case cases[] = {
        // Month 1 then 3 gives "13", too large: "03".
        {DateOrder::MonthFirst, DateEntry::Field::Month, u"3", at(2024, 3, 31, 10, 20, 30)},
        // Day 31 kept as February is entered: clamped to 29.
        {DateOrder::DayFirst, DateEntry::Field::Month, u"02", at(2024, 2, 29, 10, 20, 30)},
        {DateOrder::MonthFirst, DateEntry::Field::Year, u"19", at(2419, 1, 31, 10, 20, 30)},
        {DateOrder::MonthFirst, DateEntry::Field::Year, u"1999", at(1999, 1, 31, 10, 20, 30)},
        {DateOrder::MonthFirst, DateEntry::Field::Hour, u"7", at(2024, 1, 31, 7, 20, 30)},
        {DateOrder::MonthFirst, DateEntry::Field::Minute, u"9", at(2024, 1, 31, 10, 9, 30)},
        {DateOrder::DayFirst, DateEntry::Field::Day, u"5", at(2024, 1, 15, 10, 20, 30)},
        {DateOrder::DayFirst, DateEntry::Field::Second, u"x", start},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const DateEntry control = typedInto(start, c.order, c.field, c.keys);
        EXPECT_EQ(control.value(), c.expected) << "case " << i;
    }
}

TEST(DateEntry, RedisplaysAfterEachDigit)
{
    DateEntry control(at(2024, 2, 29), DateOrder::MonthFirst);
    const std::size_t year = control.cellOf(DateEntry::Field::Year);
    control.typeDigit(year, u'5');  // "0245": not a leap year, so 29 February becomes the 28th
    EXPECT_EQ(control.cells()[year], u"0245");
    EXPECT_EQ(control.cells()[4], u"28");
    EXPECT_EQ(control.cells()[0], at(245, 2, 28).weekdayName());
    control.typeDigit(1, u'5');  // a separator takes nothing
    EXPECT_EQ(control.cells()[1], u"-");

    // A typed year 0 is corrected at once, as Normalize does: the shown year is 0001.
    DateEntry zero(at(2024, 5, 5), DateOrder::MonthFirst);
    for (const char16_t key : std::u16string(u"0000"))
        zero.typeDigit(year, key);
    EXPECT_EQ(zero.value(), at(1, 5, 5));
    EXPECT_EQ(zero.cells()[year], u"0001");
    EXPECT_FALSE(zero.normalize());
}

// Zero-padded entry: the cell keeps the digits as typed and only the value shown is corrected,
// so a leading 0 (shown as 01 meanwhile) is followed by the digit that completes it.
TEST(DateEntry, ZeroPaddedEntryKeepsTheTypedDigits)
{
    using Field = DateEntry::Field;
    struct Case {
        DateOrder order;
        Field field;
        const char16_t* keys;
        SolarDate expected;
        const char16_t* shown;
    };
    const SolarDate start = at(2024, 12, 25, 10, 20, 30);
    const Case cases[] = {
        {DateOrder::MonthFirst, Field::Month, u"02", at(2024, 2, 25, 10, 20, 30), u"02"},
        {DateOrder::DayFirst, Field::Month, u"02", at(2024, 2, 25, 10, 20, 30), u"02"},
        {DateOrder::MonthFirst, Field::Day, u"05", at(2024, 12, 5, 10, 20, 30), u"05"},
        {DateOrder::DayFirst, Field::Day, u"05", at(2024, 12, 5, 10, 20, 30), u"05"},
        {DateOrder::MonthFirst, Field::Month, u"09", at(2024, 9, 25, 10, 20, 30), u"09"},
        {DateOrder::MonthFirst, Field::Hour, u"05", at(2024, 12, 25, 5, 20, 30), u"05"},
        {DateOrder::MonthFirst, Field::Minute, u"07", at(2024, 12, 25, 10, 7, 30), u"07"},
        {DateOrder::MonthFirst, Field::Second, u"00", at(2024, 12, 25, 10, 20, 0), u"00"},
        // Halfway: the 0 alone shows as the first month or day; the typed 0 stays.
        {DateOrder::MonthFirst, Field::Month, u"0", at(2024, 1, 25, 10, 20, 30), u"01"},
        {DateOrder::MonthFirst, Field::Day, u"0", at(2024, 12, 1, 10, 20, 30), u"01"},
        {DateOrder::MonthFirst, Field::Month, u"00", at(2024, 1, 25, 10, 20, 30), u"01"},
        // The last two digits typed: 0, 2, 5 is 25; 1, 3 is too large a month, so 03.
        {DateOrder::MonthFirst, Field::Day, u"025", at(2024, 12, 25, 10, 20, 30), u"25"},
        {DateOrder::MonthFirst, Field::Month, u"13", at(2024, 3, 25, 10, 20, 30), u"03"},
        // Year 0 shows as 0001, and digits typed after it count from the typed 0000.
        {DateOrder::MonthFirst, Field::Year, u"0000", at(1, 12, 25, 10, 20, 30), u"0001"},
        {DateOrder::MonthFirst, Field::Year, u"00002", at(2, 12, 25, 10, 20, 30), u"0002"},
        {DateOrder::MonthFirst, Field::Year, u"0000987", at(987, 12, 25, 10, 20, 30), u"0987"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const DateEntry control = typedInto(start, c.order, c.field, c.keys);
        EXPECT_EQ(control.value(), c.expected) << "case " << i;
        EXPECT_EQ(control.cells()[control.cellOf(c.field)], c.shown) << "case " << i;
    }
}

TEST(DateEntry, TypedDigitsOutliveTheCorrectionOfAnotherField)
{
    // 31 January, then month 0, 2: the day shows 29 in February 2024, and typing into the day
    // starts from what it shows.
    DateEntry control(at(2024, 1, 31), DateOrder::MonthFirst);
    const std::size_t month = control.cellOf(DateEntry::Field::Month);
    const std::size_t day = control.cellOf(DateEntry::Field::Day);
    control.typeDigit(month, u'0');
    control.typeDigit(month, u'2');
    EXPECT_EQ(control.value(), at(2024, 2, 29));
    control.typeDigit(day, u'1');  // "29" then 1 keeps "91", too large a day: "01"
    EXPECT_EQ(control.value(), at(2024, 2, 1));
    control.typeDigit(day, u'5');
    EXPECT_EQ(control.value(), at(2024, 2, 15));
    // A value shown from outside starts the typing afresh.
    control.show(at(2024, 6, 30));
    control.typeDigit(month, u'0');
    EXPECT_EQ(control.value(), at(2024, 1, 30));
    control.typeDigit(month, u'4');
    EXPECT_EQ(control.value(), at(2024, 4, 30));
    // A restarted cell takes the next digit alone.
    control.restartCell(day);
    control.typeDigit(day, u'7');
    EXPECT_EQ(control.value(), at(2024, 4, 7));
}

}  // namespace
