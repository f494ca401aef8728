#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "archive_stream.h"
#include "atomic_file.h"
#include "preferences_store.h"
#include "temp_folder.h"

namespace {

constexpr StoredDate kToday{2024, 3, 17};

PreferencesStore storeIn(const TempFolder& folder)
{
    return PreferencesStore(folder.path(), [] { return kToday; });
}

Preferences defaults()
{
    Preferences p;
    p.rememberedDate = kToday;
    return p;
}

// Differs from the defaults in every field.
Preferences unusual()
{
    Preferences p;
    p.transparencyEnabled = false;
    p.transparencyLevel = 50;
    p.tapHoldEnabled = false;
    p.tapHoldInterval = 600;
    p.fixDigits = 10;
    p.hardKeyScrolling = false;
    p.soundEnabled = false;
    p.tooltipsEnabled = false;
    p.navEnabled = {false, true, false, true, false, true, false, true, false};
    p.navOrder = {14, 10, 9, 8, 7, 6, 2, 1, 0};
    p.soundName = u"Cl\u00E9 \u266B.wav";
    p.skinName = u"Night.inf";
    p.lastCategory = 13;
    p.rememberedDate = {2000, 2, 29};
    p.inputMode = InputMode::BasicRpn;
    p.outputFormat = OutputFormat::European;
    return p;
}

// Copies field i (in file order) from one record to another.
using FieldCopy = std::function<void(const Preferences&, Preferences&)>;
const FieldCopy kCopyField[PreferencesStore::kFieldCount] = {
    [](auto& s, auto& d) { d.transparencyEnabled = s.transparencyEnabled; },
    [](auto& s, auto& d) { d.transparencyLevel = s.transparencyLevel; },
    [](auto& s, auto& d) { d.tapHoldEnabled = s.tapHoldEnabled; },
    [](auto& s, auto& d) { d.tapHoldInterval = s.tapHoldInterval; },
    [](auto& s, auto& d) { d.fixDigits = s.fixDigits; },
    [](auto& s, auto& d) { d.hardKeyScrolling = s.hardKeyScrolling; },
    [](auto& s, auto& d) { d.soundEnabled = s.soundEnabled; },
    [](auto& s, auto& d) { d.tooltipsEnabled = s.tooltipsEnabled; },
    [](auto& s, auto& d) { d.navEnabled = s.navEnabled; },
    [](auto& s, auto& d) { d.navOrder = s.navOrder; },
    [](auto& s, auto& d) { d.soundName = s.soundName; },
    [](auto& s, auto& d) { d.skinName = s.skinName; },
    [](auto& s, auto& d) { d.lastCategory = s.lastCategory; },
    [](auto& s, auto& d) { d.rememberedDate = s.rememberedDate; },
    [](auto& s, auto& d) { d.inputMode = s.inputMode; },
    [](auto& s, auto& d) { d.outputFormat = s.outputFormat; },
};

// End offset of each field in the default file.
constexpr std::size_t kFieldEnds[PreferencesStore::kFieldCount] = {4,  8,  12,  16,  17,  21,  25,  29,
                                                                   65, 74, 102, 128, 129, 141, 175, 205};

TEST(PreferencesStore, FirstStartWritesAFileThatReadsBackAsDefaults)
{
    TempFolder folder;
    const PreferencesStore store = storeIn(folder);
    Preferences record = unusual();
    store.reset(record);
    EXPECT_EQ(record, defaults());
    EXPECT_EQ(store.load(record), PreferencesLoadResult::Missing);
    EXPECT_EQ(record, defaults());
    ASSERT_TRUE(store.save(record));

    Preferences back = unusual();
    EXPECT_EQ(store.load(back), PreferencesLoadResult::Complete);
    EXPECT_EQ(back, defaults());

    ASSERT_TRUE(store.save(unusual()));
    EXPECT_EQ(store.load(back), PreferencesLoadResult::Complete);
    EXPECT_EQ(back, unusual());
}

TEST(PreferencesStore, DefaultFileLayout)
{
    // The sixteen fields take 205 bytes; the desktop's "Pocket keyboard letters" flag follows.
    const std::string bytes = PreferencesStore::encode(defaults());
    ASSERT_EQ(bytes.size(), 209u);
    struct Probe {
        std::size_t offset;
        std::string expected;
    };
    const Probe probes[] = {
        {0, std::string("\1\0\0\0\x08\0\0\0\1\0\0\0\xC8\0\0\0\x04\1\0\0\0", 21)},
        {29, std::string("\1\0\0\0", 4)},
        {61, std::string("\1\0\0\0\0\1\2\6\7\x08\x09\x0A\x0E\xFF\xFE\xFF\x0CS\0", 19)},
        {102, std::string("\xFF\xFE\xFF\x0B"
                          "d\0",
                          6)},
        {126, std::string("f\0\0\xE8\x07\0\0\3\0\0\0\x11\0\0\0\xFF\xFE\xFF\x0FS\0", 21)},
        {175, std::string("\xFF\xFE\xFF\x0DU\0", 6)},
        {203, std::string("s\0", 2)},
        {205, std::string("\0\0\0\0", 4)},
    };
    for (const Probe& probe : probes)
        EXPECT_EQ(bytes.substr(probe.offset, probe.expected.size()), probe.expected) << "offset " << probe.offset;

    Preferences invalidDate = defaults();
    invalidDate.rememberedDate = {2023, 2, 30};
    EXPECT_EQ(PreferencesStore::encode(invalidDate).substr(129, 12), std::string(12, '\xFF'));
}

TEST(PreferencesStore, PocketLettersFollowTheSixteenFields)
{
    Preferences pocket = defaults();
    pocket.pocketKeyboardLetters = true;
    const std::string bytes = PreferencesStore::encode(pocket);
    EXPECT_EQ(bytes.substr(205), std::string("\1\0\0\0", 4));
    Preferences record = defaults();
    EXPECT_EQ(PreferencesStore::decode(bytes, record), PreferencesStore::kFieldCount);
    EXPECT_TRUE(record.pocketKeyboardLetters);
    // A file of the sixteen fields alone, as the original program writes it, keeps the value.
    EXPECT_EQ(PreferencesStore::decode(std::string_view(bytes).substr(0, 205), record), PreferencesStore::kFieldCount);
    EXPECT_TRUE(record.pocketKeyboardLetters);
    record.pocketKeyboardLetters = false;
    EXPECT_EQ(PreferencesStore::decode(std::string_view(bytes).substr(0, 207), record), PreferencesStore::kFieldCount);
    EXPECT_FALSE(record.pocketKeyboardLetters);
}

TEST(PreferencesStore, EveryPrefixKeepsWhatWasReadAndNothingMore)
{
    const Preferences full = unusual();
    const std::string bytes = PreferencesStore::encode(defaults());
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        int expectedFields = 0;
        while (expectedFields < PreferencesStore::kFieldCount && kFieldEnds[expectedFields] <= size)
            ++expectedFields;
        Preferences record = full;
        Preferences expected = full;
        for (int i = 0; i < expectedFields; ++i)
            kCopyField[i](defaults(), expected);
        EXPECT_EQ(PreferencesStore::decode(std::string_view(bytes).substr(0, size), record), expectedFields) << size;
        EXPECT_EQ(record, expected) << size;
    }
}

TEST(PreferencesStore, RepairsValuesOutOfRange)
{
    struct Case {
        const char* what;
        std::function<void(Preferences&)> write;
        std::function<void(Preferences&)> expect;
    };
    const Case cases[] = {
        {"level 51", [](auto& p) { p.transparencyLevel = 51; }, [](auto& p) { p.transparencyLevel = 50; }},
        {"interval 199", [](auto& p) { p.tapHoldInterval = 199; }, [](auto& p) { p.tapHoldInterval = 200; }},
        {"interval 601", [](auto& p) { p.tapHoldInterval = 601; }, [](auto& p) { p.tapHoldInterval = 600; }},
        {"digits 11", [](auto& p) { p.fixDigits = 11; }, [](auto& p) { p.fixDigits = 10; }},
        {"category 15", [](auto& p) { p.lastCategory = 15; }, [](auto& p) { p.lastCategory = 0; }},
        {"duplicate code",
         [](auto& p) {
             p.navOrder[8] = 0;
             p.navEnabled[3] = false;
         },
         [](auto&) {}},
        {"non-scrolling code", [](auto& p) { p.navOrder[4] = 3; }, [](auto&) {}},
        {"permuted order", [](auto& p) { p.navOrder = {1, 0, 2, 6, 7, 8, 9, 14, 10}; },
         [](auto& p) { p.navOrder = {1, 0, 2, 6, 7, 8, 9, 14, 10}; }},
        {"sound path", [](auto& p) { p.soundName = u"../x.wav"; }, [](auto&) {}},
        {"empty skin", [](auto& p) { p.skinName = u""; }, [](auto&) {}},
        {"long skin", [](auto& p) { p.skinName = std::u16string(256, u'a'); }, [](auto&) {}},
        {"day 30 February",
         [](auto& p) {
             p.rememberedDate = {2023, 2, 30};
         },
         [](auto& p) { p.rememberedDate = StoredDate::invalid(); }},
    };
    for (const Case& c : cases) {
        Preferences written = defaults();
        c.write(written);
        Preferences expected = defaults();
        c.expect(expected);
        Preferences record = unusual();
        EXPECT_EQ(PreferencesStore::decode(PreferencesStore::encode(written), record), PreferencesStore::kFieldCount)
            << c.what;
        EXPECT_EQ(record, expected) << c.what;
    }

    std::string bytes = PreferencesStore::encode(defaults());
    bytes[0] = 7;  // any non-zero flag is on
    bytes[17] = 0;
    Preferences record;
    PreferencesStore::decode(bytes, record);
    EXPECT_TRUE(record.transparencyEnabled);
    EXPECT_FALSE(record.hardKeyScrolling);
}

// The modes are texts in the file: a known text reads as its mode and is written back the same;
// any other text reads as the default, and a mode without a text is written as the default.
TEST(PreferencesStore, ModeTextsReadAsTheirModesAndUnknownOnesAsTheDefaults)
{
    struct Case {
        std::u16string_view inputText;
        std::u16string_view outputText;
        InputMode input;
        OutputFormat output;
        bool writtenBack;
    };
    const Case cases[] = {
        {u"String-Standard", u"United States", InputMode::StringStandard, OutputFormat::UnitedStates, true},
        {u"Basic-Standard", u"European", InputMode::BasicStandard, OutputFormat::European, true},
        {u"Basic-RPN", u"United States", InputMode::BasicRpn, OutputFormat::UnitedStates, true},
        {u"Basic", u"European", InputMode::StringStandard, OutputFormat::European, false},
        {u"Basic-RPN", u"european", InputMode::BasicRpn, OutputFormat::UnitedStates, false},
        {u"", u"", InputMode::StringStandard, OutputFormat::UnitedStates, false},
    };
    // The two texts are the last two of the sixteen fields.
    const std::string file = PreferencesStore::encode(defaults());
    for (const Case& c : cases) {
        ArchiveWriter texts;
        texts.writeString(c.inputText);
        texts.writeString(c.outputText);
        const std::string bytes = file.substr(0, kFieldEnds[13]) + texts.take() + file.substr(kFieldEnds[15]);
        Preferences record = unusual();
        ASSERT_EQ(PreferencesStore::decode(bytes, record), PreferencesStore::kFieldCount);
        Preferences expected = defaults();
        expected.inputMode = c.input;
        expected.outputFormat = c.output;
        EXPECT_EQ(record, expected);
        EXPECT_EQ(PreferencesStore::encode(record) == bytes, c.writtenBack);
    }
    Preferences other = defaults();
    other.outputFormat = OutputFormat::Other;
    EXPECT_EQ(PreferencesStore::encode(other), file);
}

TEST(PreferencesStore, DamagedFileKeepsTheFieldsBeforeTheBadRecord)
{
    TempFolder folder;
    const PreferencesStore store = storeIn(folder);
    std::string bytes = PreferencesStore::encode(unusual());
    const std::size_t skin = bytes.find(std::string("\xFF\xFE\xFF\x09N", 5));
    ASSERT_NE(skin, std::string::npos);
    bytes[skin + 3] = '\xFE';  // 254 characters: more than the file holds
    ASSERT_TRUE(writeFileAtomically(store.filePath(), bytes));
    Preferences record = defaults();
    EXPECT_EQ(store.load(record), PreferencesLoadResult::Damaged);
    Preferences expected = defaults();
    for (int i = 0; i < 11; ++i)
        kCopyField[i](unusual(), expected);
    EXPECT_EQ(record, expected);
}

TEST(PreferencesStore, RandomByteFlipsNeverYieldValuesOutOfRange)
{
    std::mt19937 random(20240317);
    const std::string valid = PreferencesStore::encode(unusual());
    for (int iteration = 0; iteration < 4000; ++iteration) {
        std::string bytes = valid;
        const int flips = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < flips; ++i)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        if (iteration % 4 == 0)
            bytes.resize(random() % bytes.size());
        Preferences record = unusual();
        const int fields = PreferencesStore::decode(bytes, record);
        ASSERT_GE(fields, 0);
        EXPECT_LE(record.transparencyLevel, kMaxTransparencyLevel);
        EXPECT_GE(record.tapHoldInterval, kMinTapHoldInterval);
        EXPECT_LE(record.tapHoldInterval, kMaxTapHoldInterval);
        EXPECT_LE(record.fixDigits, kMaxFixDigits);
        EXPECT_LE(record.lastCategory, kMaxCategoryCode);
        EXPECT_TRUE(isValidNavOrder(record.navOrder));
        EXPECT_TRUE(record.rememberedDate.isValid() || record.rememberedDate == StoredDate::invalid());
        EXPECT_TRUE(record.inputMode == InputMode::StringStandard || record.inputMode == InputMode::BasicStandard ||
                    record.inputMode == InputMode::BasicRpn);
        EXPECT_TRUE(record.outputFormat == OutputFormat::UnitedStates || record.outputFormat == OutputFormat::European);
        if (fields < PreferencesStore::kFieldCount) {
            EXPECT_EQ(record.outputFormat, OutputFormat::European);
        }
    }
}

TEST(PreferencesStore, SaveIntoAMissingFolderFailsQuietly)
{
    TempFolder folder;
    const PreferencesStore store(folder.path() / "gone", [] { return kToday; });
    EXPECT_FALSE(store.save(defaults()));
}

TEST(StoredDate, ValidityKnowsMonthLengthsAndLeapYears)
{
    const std::pair<StoredDate, bool> cases[] = {
        {{2023, 2, 30}, false}, {{2023, 2, 29}, false}, {{2024, 2, 29}, true},  {{1900, 2, 29}, false},
        {{2000, 2, 29}, true},  {{2023, 4, 31}, false}, {{2023, 12, 31}, true}, {{2023, 13, 1}, false},
        {{2023, 0, 1}, false},  {{2023, 1, 0}, false},  {{0, 1, 1}, false},     {{1, 1, 1}, true},
        {{-1, -1, -1}, false},
    };
    for (const auto& [date, valid] : cases)
        EXPECT_EQ(date.isValid(), valid) << date.year << '-' << date.month << '-' << date.day;
    EXPECT_TRUE(PreferencesStore::localToday().isValid());
}

TEST(NavCategories, CodesMapToTheirNames)
{
    for (int code = -1; code <= 255; ++code) {
        const int index = navCategoryIndex(code);
        int expected = -1;
        for (std::size_t i = 0; i < kNavCategoryCodes.size(); ++i)
            if (kNavCategoryCodes[i] == code)
                expected = static_cast<int>(i);
        EXPECT_EQ(index, expected) << code;
    }
    EXPECT_EQ(kNavCategoryNames[static_cast<std::size_t>(navCategoryIndex(14))], u"Date - Time");
    EXPECT_EQ(kNavCategoryNames[static_cast<std::size_t>(navCategoryIndex(10))], u"Biorhythm");
}

TEST(PreferencesStore, RateSourceUrlIsAnOptionalFieldAfterTheSixteen)
{
    // A file with the default source is the sixteen fields and the keyboard flag alone.
    EXPECT_EQ(PreferencesStore::encode(defaults()).size(), 209u);
    EXPECT_EQ(defaults().rateSourceUrl, u"https://www.ecb.europa.eu/stats/eurofxref/eurofxref-daily.xml");

    TempFolder folder;
    const PreferencesStore store = storeIn(folder);
    Preferences written = unusual();
    written.rateSourceUrl = u"http://rates.example.org/currency/save.txt";
    ASSERT_TRUE(store.save(written));
    Preferences back = defaults();
    EXPECT_EQ(store.load(back), PreferencesLoadResult::Complete);
    EXPECT_EQ(back, written);

    // An older file keeps every field and gets the default source.
    ASSERT_TRUE(writeFileAtomically(store.filePath(), PreferencesStore::encode(unusual())));
    back.rateSourceUrl = u"left over";
    EXPECT_EQ(store.load(back), PreferencesLoadResult::Complete);
    EXPECT_EQ(back, unusual());

    // A damaged or absurd address falls back to the default; a cut one too.
    const std::string sixteen = PreferencesStore::encode(unusual());
    for (const std::u16string& url : {std::u16string(300, u'a'), std::u16string(u"http://a b/"), std::u16string()}) {
        ArchiveWriter out;
        out.writeString(url);
        Preferences record = defaults();
        record.rateSourceUrl = u"x";
        EXPECT_EQ(PreferencesStore::decode(sixteen + out.take(), record), PreferencesStore::kFieldCount);
        EXPECT_EQ(record.rateSourceUrl, kDefaultRateSourceUrl);
    }
    std::string full = PreferencesStore::encode(written);
    full.pop_back();
    Preferences record = defaults();
    EXPECT_EQ(PreferencesStore::decode(full, record), PreferencesStore::kFieldCount);
    EXPECT_EQ(record.rateSourceUrl, kDefaultRateSourceUrl);
}

}  // namespace

// "Pocket line editing" follows the address, which is then written even when it is the default;
// a file without it, older or not, reads as off. Every combination reads back whole.
TEST(PreferencesStore, PocketLineEditingFollowsTheAddress)
{
    EXPECT_EQ(PreferencesStore::encode(defaults()).size(), 209u);
    for (const bool pocketLines : {false, true}) {
        for (const std::u16string_view url :
             {kDefaultRateSourceUrl, std::u16string_view(u"http://rates.example.org/")}) {
            Preferences written = unusual();
            written.pocketLineEditing = pocketLines;
            written.rateSourceUrl = std::u16string(url);
            Preferences back = defaults();
            back.pocketLineEditing = !pocketLines;
            EXPECT_EQ(PreferencesStore::decode(PreferencesStore::encode(written), back), PreferencesStore::kFieldCount);
            EXPECT_EQ(back, written);
        }
    }
}
