#include <gtest/gtest.h>

#include <algorithm>

#include "day_number.h"
#include "good_bad_days.h"

namespace {

std::int64_t serial(StoredDate d)
{
    return daysFromCivil(d.year, d.month, d.day);
}

std::int64_t serial(DateParts d)
{
    return daysFromCivil(d.year, d.month, d.day);
}

const RemarkableDay* rowOn(const std::vector<RemarkableDay>& rows, DateParts date, bool good)
{
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [&](const RemarkableDay& r) { return r.date == date && r.good == good; });
    return it == rows.end() ? nullptr : &*it;
}

// Birth 1 January 1990; the view date 2 March 2009 is day 7000.
constexpr StoredDate kBirth{1990, 1, 1};
constexpr StoredDate kView{2009, 3, 2};

TEST(GoodBadDays, RowsNameTheCyclesAtTheirPointsInCycleOrder)
{
    const auto rows = listRemarkableDays({2000, 1, 1}, {2000, 1, 1}, 1, true, true);
    // Day 74 (15 March 2000): physical 5 and intellectual 8 are high points.
    const RemarkableDay* good = rowOn(rows, {2000, 3, 15}, true);
    ASSERT_NE(good, nullptr);
    EXPECT_EQ(good->cycles, u"Physical, Intellectual");
    // Day 5: only physical is high.
    EXPECT_EQ(rowOn(rows, {2000, 1, 6}, true), nullptr);

    // Day 7020 (22 March 2009): emotional, intellectual, intuitional low; physical high alone.
    const auto later = listRemarkableDays(kBirth, kView, 1, true, true);
    const RemarkableDay* bad = rowOn(later, {2009, 3, 22}, false);
    ASSERT_NE(bad, nullptr);
    EXPECT_EQ(bad->cycles, u"Emotional, Intellectual, Intuitional");
    EXPECT_EQ(rowOn(later, {2009, 3, 22}, true), nullptr);
}

TEST(GoodBadDays, TheRangeExcludesTheViewDateAndTheSameDateYearsLater)
{
    struct Case {
        StoredDate view;
        int years;
        StoredDate firstExcludedAfter;
    };
    const Case cases[] = {
        {{2009, 3, 2}, 1, {2010, 3, 2}},
        {{2009, 3, 2}, 50, {2059, 3, 2}},
        // 29 February counts on to 1 March in a common year: 28 February is still listed.
        {{2008, 2, 29}, 1, {2009, 3, 1}},
    };
    for (const Case& c : cases) {
        const auto rows = listRemarkableDays(kBirth, c.view, c.years, true, true);
        ASSERT_FALSE(rows.empty());
        EXPECT_GT(serial(rows.front().date), serial(c.view));
        EXPECT_LT(serial(rows.back().date), serial(c.firstExcludedAfter));
    }
}

TEST(GoodBadDays, DaysBeforeTheBirthNeverMatch)
{
    // Birth 700 days after the view: day -685 would match physical and intellectual highs with
    // a floored remainder.
    const StoredDate view{2010, 6, 1};
    const StoredDate birth{2012, 5, 1};
    const auto rows = listRemarkableDays(birth, view, 5, true, true);
    ASSERT_FALSE(rows.empty());
    for (const RemarkableDay& row : rows)
        EXPECT_GE(serial(row.date), serial(birth));
}

TEST(GoodBadDays, BoxesAndYearChoicesFilterTheList)
{
    GoodBadDays dialog(kBirth, kView);
    EXPECT_TRUE(dialog.showGood());
    EXPECT_TRUE(dialog.showBad());
    EXPECT_EQ(kRemarkableYearChoices[static_cast<std::size_t>(dialog.yearIndex())], 5);
    EXPECT_EQ(dialog.rows(), listRemarkableDays(kBirth, kView, 5, true, true));
    const auto all = dialog.rows().size();

    dialog.setShowBad(false);
    ASSERT_FALSE(dialog.rows().empty());
    EXPECT_TRUE(std::all_of(dialog.rows().begin(), dialog.rows().end(), [](const auto& r) { return r.good; }));
    const auto goodOnly = dialog.rows().size();
    dialog.setShowGood(false);
    EXPECT_TRUE(dialog.rows().empty());
    dialog.setShowBad(true);
    EXPECT_TRUE(std::none_of(dialog.rows().begin(), dialog.rows().end(), [](const auto& r) { return r.good; }));
    EXPECT_EQ(dialog.rows().size() + goodOnly, all);

    dialog.setShowGood(true);
    dialog.setYearIndex(0);
    EXPECT_LT(dialog.rows().size(), all);
    dialog.setYearIndex(18);  // out of range: ignored
    EXPECT_EQ(dialog.yearIndex(), 0);
    EXPECT_TRUE(listRemarkableDays(StoredDate::invalid(), kView, 5, true, true).empty());
}

TEST(GoodBadDays, DateColumnFollowsTheDateOrder)
{
    const RemarkableDay day{true, {2009, 3, 22}, u"Physical, Emotional"};
    EXPECT_EQ(remarkableDateText(day, DateOrder::MonthFirst), u"3/22/2009");
    EXPECT_EQ(remarkableDateText(day, DateOrder::DayFirst), u"22/3/2009");
}

}  // namespace
