#include "good_bad_days.h"

#include "biorhythm_chart.h"
#include "day_number.h"

namespace {

std::int64_t serialOf(StoredDate date)
{
    return daysFromCivil(date.year, date.month, date.day);
}

// ", Physical, Intellectual" without its first ", "; empty when fewer than two cycles match.
std::u16string matchingCycles(std::int64_t n, bool high)
{
    std::u16string names;
    int count = 0;
    for (const BioCycleInfo& cycle : kBioCycles) {
        // Truncating remainder: a negative n never equals a point, which are all positive.
        if (n % cycle.length == (high ? cycle.maximum : cycle.minimum)) {
            names += u", ";
            names += cycle.name;
            ++count;
        }
    }
    return count >= 2 ? names.substr(2) : std::u16string();
}

}  // namespace

std::vector<RemarkableDay> listRemarkableDays(StoredDate birth, StoredDate view, int years, bool showGood, bool showBad)
{
    std::vector<RemarkableDay> rows;
    if (!birth.isValid() || !view.isValid() || years <= 0 || (!showGood && !showBad))
        return rows;
    const std::int64_t birthSerial = serialOf(birth);
    // daysFromCivil counts 29 February of a common year on to 1 March.
    const std::int64_t end = daysFromCivil(std::int64_t{view.year} + years, view.month, view.day);
    const std::int64_t first = serialOf(view) - birthSerial + 1;
    const std::int64_t last = end - birthSerial - 1;
    for (std::int64_t n = first; n <= last; ++n) {
        for (const bool good : {true, false}) {
            if (!(good ? showGood : showBad))
                continue;
            std::u16string cycles = matchingCycles(n, good);
            if (cycles.empty())
                continue;
            const CivilDate date = civilFromDays(birthSerial + n);
            rows.push_back({good, {static_cast<int>(date.year), date.month, date.day}, std::move(cycles)});
        }
    }
    return rows;
}

std::u16string remarkableDateText(const RemarkableDay& day, DateOrder order)
{
    return formatDate(order, day.date);
}

GoodBadDays::GoodBadDays(StoredDate birth, StoredDate view) : birth_(birth), view_(view)
{
    list();
}

void GoodBadDays::setShowGood(bool on)
{
    showGood_ = on;
    list();
}

void GoodBadDays::setShowBad(bool on)
{
    showBad_ = on;
    list();
}

void GoodBadDays::setYearIndex(int index)
{
    if (index < 0 || index >= static_cast<int>(kRemarkableYearChoices.size()))
        return;
    yearIndex_ = index;
    list();
}

void GoodBadDays::list()
{
    rows_ = listRemarkableDays(birth_, view_, kRemarkableYearChoices[static_cast<std::size_t>(yearIndex_)], showGood_,
                               showBad_);
}
