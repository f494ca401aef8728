#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "biorhythm_chart.h"
#include "solar_date.h"
#include "preferences.h"

inline constexpr std::string_view kBioPersonsFileName = "biorythm-users.dat";
inline constexpr std::string_view kBioAdviceFileName = "biorythm.dat";

struct BioPerson {
    std::u16string name;
    std::u16string birth;  // month/day/year text, "01/01/1980"
    friend bool operator==(const BioPerson&, const BioPerson&) = default;
};

struct BioPersonList {
    std::vector<BioPerson> persons;
    std::int32_t selected = -1;
    friend bool operator==(const BioPersonList&, const BioPersonList&) = default;
};

// The person file: i32 count, i32 selected, then name and birth as archive strings per person.
// Every person the file holds is read, whatever the count says. Reading stops at the first bad
// record and keeps the persons read; a selected index outside the persons read becomes -1
// (none). readInFull tells whether the file was read in full, as the writer writes it.
BioPersonList readBioPersons(std::string_view bytes, bool* readInFull = nullptr);
std::string writeBioPersons(const BioPersonList& list);

// The date a birth text names, read as month/day/year; invalid when it names no real date.
StoredDate birthDateOfText(std::u16string_view birth);

// A date as typed into a date picker, in the date order: "12/25/1985" (also with "-" or "."
// between the numbers) or eight digits "12251985"; invalid when it names no real date.
StoredDate typedDate(std::u16string_view text, DateOrder order);

// `Biorhythm` without its window: the person list, the birth date in use, the view date,
// the chart and its report, and the texts of the date labels.
class Biorhythm {
public:
    // Reads both files from the program folder. The birth date in use starts as the remembered
    // date (today when that is invalid) and is then taken from the selected person, if any;
    // the view date is today.
    Biorhythm(std::filesystem::path folder, StoredDate rememberedDate, const LocalClock& clock);

    // True when the advice file could not be read: the window shows "Cannot open the data file."
    // with the title "Error"; reports then have empty sections.
    bool adviceMissing() const { return adviceMissing_; }
    // When the person file could not be read in full: where it was moved, for the window to
    // say once; empty otherwise.
    const std::string& personsMessage() const { return personsMessage_; }
    // Writes the person file whole; false when it could not be written, or when a file that
    // could not be read is still in its place.
    bool save() const;

    const std::vector<BioPerson>& persons() const { return list_.persons; }
    int selected() const { return list_.selected; }

    // Each returns true when something changed; the window then calls refresh().
    bool newPerson();
    bool removePerson(int index);
    bool selectPerson(int index);
    bool renamePerson(int index, std::u16string name);
    // The picked birth date becomes the selected person's text (month/day/year) and the date
    // in use; an invalid date changes nothing.
    bool setBirthDate(StoredDate date);
    bool setViewDate(StoredDate date);

    StoredDate birthDate() const { return birth_; }
    StoredDate viewDate() const { return view_; }
    // For the preferences: the birth date in use.
    StoredDate rememberedDate() const { return birth_; }
    // Whole days from the birth date to the view date; 0 when negative or a date is invalid.
    std::int64_t dayCount() const;

    // Chart first, report second: the report reads the values the drawing left.
    void setChartRect(BiorhythmChart::Rect rect) { chart_.setRect(rect); }
    void refresh(std::uint32_t tickCount);
    const BiorhythmChart& chart() const { return chart_; }
    const std::u16string& report() const { return chart_.report(); }

    // The birth date as shown: the selected person's text, its first two parts swapped for day
    // first; "1/1/1982" for a text without two "/". With no person, the date in use.
    std::u16string birthText(DateOrder order) const;
    std::u16string viewText(DateOrder order) const;
    // Landscape captions, standing apart from the dates ("%d/%d/%d" alone). Before a first
    // person is shown, the birth caption reads as the window has always spelt it then.
    static constexpr std::u16string_view kBirthCaption = u"Date of birth";
    static constexpr std::u16string_view kViewCaption = u"Date to view";
    static constexpr std::u16string_view kFirstBirthCaption = u"Date of birth";
    // Portrait labels: "Date of birth: ..." and "Date to view: ...".
    std::u16string birthLabel(DateOrder order) const { return u"Date of birth: " + birthText(order); }
    std::u16string viewLabel(DateOrder order) const { return u"Date to view: " + viewText(order); }

private:
    // Reads the person file; one that cannot be read in full is moved aside (unreadable_file.h).
    void readPersons();
    void takeSelectedBirth();

    std::filesystem::path folder_;
    BioPersonList list_;
    StoredDate birth_;
    StoredDate view_;
    bool adviceMissing_ = false;
    bool personsSavable_ = true;
    std::string personsMessage_;
    BiorhythmChart chart_;
};
