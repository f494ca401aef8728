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

TEST(DateEntry, ShowsTheDateInEitherOrder)
{
    DateEntry control(at(987, 3, 7, 5, 4, 3), DateOrder::MonthFirst);
    EXPECT_EQ(control.cells(), cellsOf({u"Wed", u"-", u"03", u"/", u"07", u"/", u"0987", u"-", u"05",
                                        u":", u"04", u":", u"03"}));
    control.setOrder(DateOrder::DayFirst);
    EXPECT_EQ(control.cells()[2], u"07");
    EXPECT_EQ(control.cells()[4], u"03");
    EXPECT_EQ(DateEntry::placeholderCells()[6], u"yyyy");
}

TEST(DateEntry, TypedDigitsFollowTheCellRules)
{
    struct Case { DateOrder order; DateEntry::Field field; const char16_t* keys; SolarDate expected; };
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
        DateEntry control(start, c.order);
        for (const char16_t* key = c.keys; *key; ++key)
            control.typeDigit(control.cellOf(c.field), *key);
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

    DateEntry zero(at(2024, 5, 5), DateOrder::MonthFirst);
    for (const char16_t key : std::u16string(u"0000"))
        zero.typeDigit(year, key);
    EXPECT_EQ(zero.value().year(), 0);
    EXPECT_TRUE(zero.normalize());
    EXPECT_EQ(zero.cells()[year], u"0001");
}

}  // namespace
