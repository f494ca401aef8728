#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>

#include "archive_stream.h"
#include "atomic_file.h"
#include "biorhythm.h"

namespace {

namespace fs = std::filesystem;

std::string oneDecimal(float value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", static_cast<double>(value));
    return buffer;
}

struct TempFolder {
    fs::path path_ = fs::temp_directory_path() / ("corvan_bio_" + std::to_string(std::random_device{}()));
    TempFolder() { fs::create_directories(path_); }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }
    void write(std::string_view name, std::string_view bytes) const { writeFileAtomically(path_ / name, bytes); }
};

LocalClock fixedClock(int y, int m, int d)
{
    return [=] { return CalendarFields{y, m, d, 13, 5, 0}; };
}

// An advice file whose every list holds one text naming its cycle and state index.
std::string labelledAdvice(int emptyCycle = -1, int emptyState = -1)
{
    std::string text;
    for (int c = 0; c < kBioCycleCount; ++c) {
        text += "heading\n";
        for (int s = 0; s < kBioStateCount; ++s) {
            if (c == emptyCycle && s == emptyState) {
                text += "0\n";
                continue;
            }
            text += "1\nadvice " + std::to_string(c) + "." + std::to_string(s) + "\n";
        }
    }
    return text;
}

TEST(BioCycles, StatesAndTrendsByDayCount)
{
    struct Case {
        BioCycle cycle;
        std::int64_t n;
        std::u16string_view trendRow;
    };
    const Case cases[] = {
        {BioCycle::Physical, 0, u"Critical, Increase"},
        {BioCycle::Emotional, 0, u"Critical, Increase"},
        {BioCycle::Intellectual, 0, u"Critical, Increase"},
        {BioCycle::Intuitional, 0, u"Critical, Increase"},
        {BioCycle::Physical, 5, u"Maximum"},
        {BioCycle::Physical, 17, u"Minimum"},
        {BioCycle::Physical, 11, u"Critical, Decrease"},
        {BioCycle::Physical, 20, u"Low, Increase"},
        {BioCycle::Physical, 8, u"High, Decrease"},
        {BioCycle::Physical, 9, u"Medium, Decrease"},
        {BioCycle::Emotional, 6, u"Maximum"},
        {BioCycle::Emotional, 20, u"Minimum"},
        {BioCycle::Intellectual, 24, u"Minimum"},
        {BioCycle::Intellectual, 16, u"Critical, Decrease"},
        {BioCycle::Intellectual, 29, u"Low, Increase"},
        {BioCycle::Intellectual, 30, u"Medium, Increase"},
        {BioCycle::Intuitional, 28, u"Minimum"},
        {BioCycle::Intuitional, 34, u"Low, Increase"},
        {BioCycle::Intuitional, 13, u"High, Decrease"},
        {BioCycle::Intuitional, 14, u"Medium, Decrease"},
        {BioCycle::Physical, -3, u"Critical, Increase"},  // before the birth: day 0
    };
    for (const Case& c : cases) {
        const std::u16string row = std::u16string(bioStateText(bioStateOf(c.cycle, c.n))) +
                                   std::u16string(bioTrendText(bioTrendOf(c.cycle, c.n)));
        EXPECT_EQ(row, c.trendRow) << static_cast<int>(c.cycle) << " n=" << c.n;
    }
}

TEST(BiorhythmChart, ValuesAtTheViewDayOnThePortraitChart)
{
    struct Case {
        std::int64_t n;
        const char* values[4];
    };
    const Case cases[] = {{0, {"58.5", "57.0", "57.4", "56.4"}},
                          {5, {"100.0", "98.0", "94.8", "91.5"}},
                          {17, {"0.1", "12.0", "39.7", "63.8"}}};
    BiorhythmChart chart;
    EXPECT_EQ(chart.rect(), (BiorhythmChart::Rect{6, 6, 234, 50}));
    for (const Case& c : cases) {
        chart.draw(c.n);
        for (int cycle = 0; cycle < kBioCycleCount; ++cycle)
            EXPECT_EQ(oneDecimal(chart.value(static_cast<BioCycle>(cycle))), c.values[cycle])
                << "n=" << c.n << " cycle " << cycle;
    }
}

// The values come from the curve at the chart's logical size, not from the pixels drawn: the
// chart of a 480 x 640 window shows the physical maximum as 100.0 % too, not 99.9 %.
TEST(BiorhythmChart, ValuesAreTheSameAtEveryChartSize)
{
    BiorhythmChart reference;
    BiorhythmChart chart;
    const BiorhythmChart::Rect rects[] = {BiorhythmChart::rectFor(2, false), BiorhythmChart::rectFor(1, true),
                                          BiorhythmChart::rectFor(2, true), BiorhythmChart::Rect{0, 0, 0, 0},
                                          BiorhythmChart::Rect{10, 20, 1000, 400}};
    for (const auto& rect : rects) {
        chart.setRect(rect);
        for (std::int64_t n = 0; n < 23 * 28 * 33 * 38 / 1000; ++n) {
            reference.draw(n);
            chart.draw(n);
            for (int cycle = 0; cycle < kBioCycleCount; ++cycle)
                ASSERT_EQ(chart.value(static_cast<BioCycle>(cycle)), reference.value(static_cast<BioCycle>(cycle)))
                    << "n=" << n << " cycle " << cycle << " right " << rect.right;
        }
    }
    chart.setRect(BiorhythmChart::rectFor(2, false));
    chart.draw(5);
    EXPECT_EQ(oneDecimal(chart.value(BioCycle::Physical)), "100.0");
    EXPECT_FALSE(chart.pixels(BioCycle::Physical).empty());
}

TEST(BiorhythmChart, PixelsStayInsideAnyRectangle)
{
    EXPECT_EQ(BiorhythmChart::rectFor(2, false), (BiorhythmChart::Rect{9, 9, 471, 103}));
    EXPECT_EQ(BiorhythmChart::rectFor(1, true), (BiorhythmChart::Rect{6, 4, 314, 49}));
    BiorhythmChart chart;
    for (const auto& rect :
         {BiorhythmChart::rectFor(2, true), BiorhythmChart::Rect{0, 0, 3, 2}, BiorhythmChart::Rect{0, 0, 0, 9}}) {
        chart.setRect(rect);
        for (std::int64_t n = 0; n < 38; ++n) {
            chart.draw(n);
            for (int cycle = 0; cycle < kBioCycleCount; ++cycle)
                for (const BioPixel& p : chart.pixels(static_cast<BioCycle>(cycle)))
                    ASSERT_TRUE(p.x >= rect.left && p.x <= rect.right && p.y >= rect.top && p.y < rect.bottom);
        }
    }
}

TEST(BiorhythmChart, ReportHoldsValuesStatesAndEscapedAdvice)
{
    BiorhythmChart chart;
    BioAdvice advice = parseBioAdvice(labelledAdvice(0, static_cast<int>(BioState::Maximum)));
    advice[1][static_cast<int>(BioState::High)] = {u"<b>bold</b> & \"quoted\""};
    chart.setAdvice(advice);

    chart.draw(5);
    const std::u16string report = chart.buildReport(7);
    EXPECT_EQ(report.rfind(u"<html><body><table border=\"0\" width=\"100%\" cellspacing=\"0\"", 0), 0u);
    EXPECT_NE(report.find(u"<font color=\"#FF0000\">Physical</font> 100.0%</td>\t\t\t<td><font "
                          u"color=\"#0000FF\">Intellectual</font> 94.8%</td>"),
              std::u16string::npos);
    // Physical is at its maximum with an empty list: no physical section at all.
    EXPECT_EQ(report.find(u"<b>Physical</b>"), std::u16string::npos);
    EXPECT_NE(report.find(u"<b>Emotional</b></font></td><td halign=\"left\">98.0%.</td></tr></table>"),
              std::u16string::npos);
    EXPECT_NE(report.find(u"<td>High, Increase.</td>"), std::u16string::npos);  // emotional n=5
    EXPECT_NE(report.find(u"&lt;b&gt;bold&lt;/b&gt; &amp; &quot;quoted&quot;"), std::u16string::npos);
    EXPECT_EQ(report.find(u"<b>bold</b>"), std::u16string::npos);
    EXPECT_NE(report.find(u"advice 2.3\n"), std::u16string::npos);  // intellectual high, line end kept
    EXPECT_EQ(report.substr(report.size() - 14), u"</body></html>");

    chart.draw(0);
    const std::u16string start = chart.buildReport(7);
    EXPECT_NE(start.find(u"<b>Physical</b>"), std::u16string::npos);
    EXPECT_NE(start.find(u"<td>Critical, Increase.</td></tr><tr><td valign=\"top\"><font color=\"#FF0000\">"
                         u"<b>Advice</b></font></td><td>advice 0.0\n</td></tr></table>"),
              std::u16string::npos);

    chart.setAdvice({});
    EXPECT_EQ(chart.buildReport(1).find(u"<table border=\"0\">"), std::u16string::npos);
}

TEST(BioAdvice, ParsingKeepsWhatPrecedesTheDamage)
{
    std::string longLine(1500, 'x');
    const std::string text = "head\r\n2\r\nfirst\r\n" + longLine + "\n-4\n0\n+1\nlast";
    const BioAdvice advice = parseBioAdvice(text);
    ASSERT_EQ(advice[0][0].size(), 2u);
    EXPECT_EQ(advice[0][0][0], u"first\r\n");
    EXPECT_EQ(advice[0][0][1].size(), 1023u);  // cut at 1023 bytes, the rest skipped
    EXPECT_TRUE(advice[0][1].empty());
    EXPECT_TRUE(advice[0][2].empty());
    ASSERT_EQ(advice[0][3].size(), 1u);
    EXPECT_EQ(advice[0][3][0], u"last");
    EXPECT_TRUE(advice[0][4].empty());

    // A count far beyond the texts present allocates nothing up front.
    const BioAdvice huge = parseBioAdvice("h\n2147483647\na\nb\n");
    EXPECT_EQ(huge[0][0].size(), 2u);
    EXPECT_EQ(parseBioAdvice("h\n99999999999999999999\nz\n")[0][0].size(), 1u);
}

TEST(BioAdvice, TheShippedFileFillsEveryList)
{
    std::string bytes;
    const fs::path shipped = fs::path(CORVAN_SOURCE_DATA_DIR) / "biorythm.dat";
    ASSERT_TRUE(readWholeFile(shipped, bytes));
    const BioAdvice advice = parseBioAdvice(bytes);
    for (int c = 0; c < kBioCycleCount; ++c)
        for (int s = 0; s < kBioStateCount; ++s) {
            ASSERT_FALSE(advice[c][s].empty()) << c << "." << s;
            for (const auto& text : advice[c][s])
                EXPECT_GT(text.size(), 10u) << c << "." << s;  // a count line read as advice would be short
        }
}

TEST(BioPersons, FileRoundTripsAndDamageStopsQuietly)
{
    const BioPersonList list{{{u"Ann", u"03/15/1975"}, {u"B\u00e9la \u4e2d", u"12/31/2000"}, {u"", u""}}, 1};
    const std::string bytes = writeBioPersons(list);
    EXPECT_EQ(readBioPersons(bytes), list);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x03\0\0\0\x01\0\0\0", 8));

    // Every cut keeps a prefix of the persons; a selection past them becomes none.
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        const BioPersonList read = readBioPersons(std::string_view(bytes).substr(0, cut));
        ASSERT_LT(read.persons.size(), list.persons.size());
        for (std::size_t i = 0; i < read.persons.size(); ++i)
            ASSERT_EQ(read.persons[i], list.persons[i]);
        ASSERT_TRUE(read.selected == -1 || read.selected == 1);
    }
    std::mt19937 random(42);
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = bytes;
        for (int k = 0; k < 4; ++k)
            damaged[random() % damaged.size()] = static_cast<char>(random());
        const BioPersonList read = readBioPersons(damaged);
        ASSERT_GE(read.selected, -1);
        ASSERT_LT(read.selected, static_cast<int>(read.persons.size()));
    }
    ArchiveWriter hostile;
    hostile.writeI32(-5);
    hostile.writeI32(0);
    EXPECT_TRUE(readBioPersons(hostile.bytes()).persons.empty());
    ArchiveWriter huge;
    huge.writeI32(0x7FFFFFFF);
    huge.writeI32(0);
    huge.writeBytes(std::string("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 10));
    EXPECT_TRUE(readBioPersons(huge.bytes()).persons.empty());
}

TEST(Biorhythm, OpensFromFilesAndSavesThePersons)
{
    TempFolder folder;
    {
        Biorhythm empty(folder.path(), StoredDate{1970, 6, 1}, fixedClock(2024, 3, 7));
        EXPECT_TRUE(empty.adviceMissing());
        EXPECT_TRUE(empty.persons().empty());
        EXPECT_EQ(empty.birthDate(), (StoredDate{1970, 6, 1}));
        EXPECT_EQ(empty.viewDate(), (StoredDate{2024, 3, 7}));
        empty.refresh(1);
        EXPECT_EQ(empty.report().find(u"<table border=\"0\">"), std::u16string::npos);
    }
    folder.write(kBioAdviceFileName, labelledAdvice());
    folder.write(kBioPersonsFileName, writeBioPersons({{{u"Ann", u"03/02/2024"}, {u"Bob", u"1/1/2000"}}, 0}));
    Biorhythm window(folder.path(), StoredDate::invalid(), fixedClock(2024, 3, 7));
    EXPECT_FALSE(window.adviceMissing());
    EXPECT_EQ(window.selected(), 0);
    EXPECT_EQ(window.birthDate(), (StoredDate{2024, 3, 2}));
    EXPECT_EQ(window.dayCount(), 5);
    window.setChartRect(BiorhythmChart::rectFor(1, false));
    window.refresh(3);
    EXPECT_NE(window.report().find(u"Physical</font> 100.0%"), std::u16string::npos);
    EXPECT_NE(window.report().find(u"advice 0.5\n"), std::u16string::npos);

    window.setViewDate({2024, 2, 1});  // before the birth: day 0
    EXPECT_EQ(window.dayCount(), 0);
    EXPECT_TRUE(window.newPerson());
    window.renamePerson(2, u"Cy");
    EXPECT_TRUE(window.setBirthDate({1999, 12, 31}));
    EXPECT_FALSE(window.setBirthDate({1999, 2, 30}));
    EXPECT_TRUE(window.save());
    Biorhythm reopened(folder.path(), StoredDate::invalid(), fixedClock(2024, 3, 7));
    ASSERT_EQ(reopened.persons().size(), 3u);
    EXPECT_EQ(reopened.persons()[2], (BioPerson{u"Cy", u"12/31/1999"}));
    EXPECT_EQ(reopened.selected(), 2);
    EXPECT_EQ(reopened.rememberedDate(), (StoredDate{1999, 12, 31}));
}

TEST(Biorhythm, RemovingMovesTheSelectionBack)
{
    struct Case {
        int selected;
        int removed;
        int expectedSelected;
        StoredDate expectedBirth;
    };
    const BioPersonList list{{{u"A", u"1/1/2001"}, {u"B", u"2/2/2002"}, {u"C", u"3/3/2003"}}, 0};
    const Case cases[] = {
        {2, 0, 1, {2003, 3, 3}},   // before the selection: the same person stays selected
        {1, 1, 0, {2001, 1, 1}},   // the selected one: the one before it
        {1, 2, 1, {2002, 2, 2}},   // after it: nothing moves
        {0, 0, -1, {2001, 1, 1}},  // the first while selected: none, the birth date stays
    };
    for (const Case& c : cases) {
        TempFolder folder;
        BioPersonList start = list;
        start.selected = c.selected;
        folder.write(kBioPersonsFileName, writeBioPersons(start));
        Biorhythm window(folder.path(), StoredDate::invalid(), fixedClock(2024, 1, 1));
        EXPECT_TRUE(window.removePerson(c.removed));
        EXPECT_EQ(window.selected(), c.expectedSelected) << c.selected << "/" << c.removed;
        EXPECT_EQ(window.birthDate(), c.expectedBirth) << c.selected << "/" << c.removed;
        EXPECT_FALSE(window.removePerson(5));
    }
}

TEST(Biorhythm, ShownDatesFollowTheDateOrder)
{
    TempFolder folder;
    folder.write(kBioPersonsFileName,
                 writeBioPersons({{{u"A", u"12/31/1980"}, {u"B", u"garbage"}, {u"C", u"05/06/1990"}}, 0}));
    Biorhythm window(folder.path(), StoredDate::invalid(), fixedClock(2024, 3, 7));
    struct Case {
        int person;
        DateOrder order;
        std::u16string_view birth;
    };
    const Case cases[] = {
        {0, DateOrder::MonthFirst, u"12/31/1980"},
        {0, DateOrder::DayFirst, u"31/12/1980"},
        {1, DateOrder::DayFirst, u"1/1/1982"},
        {2, DateOrder::DayFirst, u"06/05/1990"},
    };
    for (const Case& c : cases) {
        window.selectPerson(c.person);
        EXPECT_EQ(window.birthText(c.order), c.birth);
    }
    window.selectPerson(1);
    EXPECT_FALSE(window.birthDate().isValid());
    EXPECT_EQ(window.dayCount(), 0);
    EXPECT_EQ(window.viewLabel(DateOrder::DayFirst), u"Date to view: 7/3/2024");
    EXPECT_EQ(window.birthLabel(DateOrder::MonthFirst), u"Date of birth: 1/1/1982");
    window.newPerson();
    EXPECT_EQ(window.persons().back(), (BioPerson{u"No name", u"01/01/1980"}));
    EXPECT_EQ(window.birthDate(), (StoredDate{1980, 1, 1}));
}

}  // namespace
