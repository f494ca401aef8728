#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "solar_date.h"
#include "preferences.h"

// The "for the next ... year(s)" choices; the fifth (5 years) is selected at opening.
inline constexpr std::array<int, 18> kRemarkableYearChoices = {1,  2,  3,  4,  5,  6,  7,  8,  9,
                                                               10, 15, 20, 25, 30, 35, 40, 45, 50};
inline constexpr int kDefaultRemarkableYearIndex = 4;

// One row of the list: a day on which two or more cycles are at their high (good) or low
// (bad) point, and those cycles' names in cycle order: "Physical, Intellectual".
struct RemarkableDay {
    bool good = true;
    DateParts date;
    std::u16string cycles;
    friend bool operator==(const RemarkableDay&, const RemarkableDay&) = default;
};

// The rows for the days strictly after the view date and strictly before the same calendar
// date `years` later (29 February then counts on to 1 March). Day counts are taken from the
// birth date with the truncating remainder, so days before the birth never match. Empty when
// either date is invalid or years is not positive.
std::vector<RemarkableDay> listRemarkableDays(StoredDate birth, StoredDate view, int years, bool showGood,
                                              bool showBad);

// The date column: "%i/%i/%i" in the date order.
std::u16string remarkableDateText(const RemarkableDay& day, DateOrder order);

// `GoodBadDays` without its dialog: both boxes on and 5 years at opening; every change
// lists again.
class GoodBadDays {
public:
    GoodBadDays(StoredDate birth, StoredDate view);

    void setShowGood(bool on);
    void setShowBad(bool on);
    // An index into kRemarkableYearChoices; others are ignored.
    void setYearIndex(int index);

    bool showGood() const { return showGood_; }
    bool showBad() const { return showBad_; }
    int yearIndex() const { return yearIndex_; }
    const std::vector<RemarkableDay>& rows() const { return rows_; }

private:
    void list();

    StoredDate birth_;
    StoredDate view_;
    bool showGood_ = true;
    bool showBad_ = true;
    int yearIndex_ = kDefaultRemarkableYearIndex;
    std::vector<RemarkableDay> rows_;
};
