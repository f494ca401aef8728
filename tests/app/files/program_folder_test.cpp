// Seeding the program folder from the shipped files with a manifest: which copies are
// replaced, which are kept, what is written beside them, and what is never touched.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "program_folder.h"
#include "seed_manifest.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

std::string contentOf(const fs::path& path)
{
    std::string bytes;
    return readWholeFile(path, bytes) ? bytes : std::string("<missing>");
}

std::string hashOf(std::string_view bytes)
{
    return SeedManifest::contentHash(bytes);
}

// What the folder holds for one file before the start.
enum class Copy {
    Missing,  // no copy
    Seeded,   // the old shipped version, untouched
    Changed,  // the user's edit of it
    Current,  // already the new shipped version
};

enum class Record {
    None,        // no manifest file
    OldVersion,  // a manifest that records the old shipped version
    NewVersion,  // a manifest that records the new version (a changed copy was offered it before)
    Damaged,     // a manifest that cannot be read
};

struct SeedCase {
    const char* title;
    const char* file;
    Copy copy;
    Record record;
    const char* expectedContent;  // "old", "new", "changed" or "missing"
    bool expectBeside;            // file.new holds the new version
    std::size_t expectedNotices;
};

std::ostream& operator<<(std::ostream& out, const SeedCase& c)
{
    return out << c.title;
}

constexpr const char* kOld = "old shipped version\n";
constexpr const char* kNew = "new shipped version\n";
constexpr const char* kChanged = "the user's version\n";

std::string contentFor(std::string_view which)
{
    if (which == "old")
        return kOld;
    if (which == "new")
        return kNew;
    if (which == "changed")
        return kChanged;
    return "<missing>";
}

const SeedCase kCases[] = {
    {"MissingCopyIsSeeded", "units.dat", Copy::Missing, Record::None, "new", false, 0},
    {"MissingCopyIsSeededEvenWithADamagedManifest", "units.dat", Copy::Missing, Record::Damaged, "new", false, 0},
    {"UnchangedCopyIsReplaced", "units.dat", Copy::Seeded, Record::OldVersion, "new", false, 0},
    {"UnchangedCopyInASubfolderIsReplaced", "Interfaces/Default.inf", Copy::Seeded, Record::OldVersion, "new", false,
     0},
    {"ChangedCopyIsKeptWithTheNewOneBeside", "units.dat", Copy::Changed, Record::OldVersion, "changed", true, 1},
    {"ChangedCopyIsNotOfferedTheSameVersionTwice", "units.dat", Copy::Changed, Record::NewVersion, "changed", false, 0},
    {"CurrentCopyStays", "const.dat", Copy::Current, Record::OldVersion, "new", false, 0},
    {"WithoutManifestAnOlderCopyIsKept", "units.dat", Copy::Seeded, Record::None, "old", false, 0},
    {"DamagedManifestKeepsAnUnchangedCopy", "units.dat", Copy::Seeded, Record::Damaged, "old", false, 0},
    {"DamagedManifestKeepsAChangedCopy", "units.dat", Copy::Changed, Record::Damaged, "changed", false, 0},
    {"LedIsNeverTouched", "led.dat", Copy::Seeded, Record::OldVersion, "old", false, 0},
    {"PreferencesAreNeverTouched", "preferences.dat", Copy::Seeded, Record::OldVersion, "old", false, 0},
    {"MacrosAreNeverTouched", "macro.mcr", Copy::Changed, Record::OldVersion, "changed", false, 0},
    {"OtherMacroFilesAreNeverTouched", "Sums.mcr", Copy::Seeded, Record::OldVersion, "old", false, 0},
    {"MatricesAreNeverTouched", "matrix.dat", Copy::Seeded, Record::OldVersion, "old", false, 0},
    {"StatisticsAreNeverTouched", "statistics.dat", Copy::Changed, Record::OldVersion, "changed", false, 0},
    {"ConverterStateIsNeverTouched", "Converter.dat", Copy::Seeded, Record::OldVersion, "old", false, 0},
    {"BiorhythmPersonsAreNeverTouched", "biorythm-users.dat", Copy::Seeded, Record::OldVersion, "old", false, 0},
};

class Seeding : public testing::TestWithParam<SeedCase> {};

TEST_P(Seeding, FollowsTheManifest)
{
    const SeedCase& c = GetParam();
    TempFolder shipped;
    TempFolder user;
    const fs::path name(c.file);
    fs::create_directories((shipped.path() / name).parent_path());
    ASSERT_TRUE(writeFileAtomically(shipped.path() / name, kNew));
    // Another shipped file, seeded before and unchanged since, on every row.
    ASSERT_TRUE(writeFileAtomically(shipped.path() / "biorythm.dat", "advice"));
    ASSERT_TRUE(writeFileAtomically(user.path() / "biorythm.dat", "advice"));

    fs::create_directories((user.path() / name).parent_path());
    if (c.copy != Copy::Missing) {
        const char* content = c.copy == Copy::Seeded ? kOld : c.copy == Copy::Changed ? kChanged : kNew;
        ASSERT_TRUE(writeFileAtomically(user.path() / name, content));
    }

    SeedManifest manifest;
    manifest.record("biorythm.dat", hashOf("advice"));
    manifest.record(c.file, hashOf(c.record == Record::NewVersion ? kNew : kOld));
    const fs::path manifestPath = user.path() / SeedManifest::kFileName;
    if (c.record != Record::None) {
        const std::string text =
            c.record == Record::Damaged ? "corvan-seeded 1\nnot a hash units.dat\n" : manifest.text();
        ASSERT_TRUE(writeFileAtomically(manifestPath, text));
    }

    std::vector<std::string> notices;
    ASSERT_TRUE(ProgramFolder(user.path(), shipped.path()).prepare(&notices));

    EXPECT_EQ(contentOf(user.path() / name), contentFor(c.expectedContent));
    fs::path beside = user.path() / name;
    beside += ".new";
    EXPECT_EQ(fs::exists(beside), c.expectBeside);
    if (c.expectBeside) {
        EXPECT_EQ(contentOf(beside), kNew);
    }
    ASSERT_EQ(notices.size(), c.expectedNotices);
    if (!notices.empty()) {
        EXPECT_NE(notices.front().find(c.file), std::string::npos) << notices.front();
        EXPECT_EQ(notices.front().find('\n'), std::string::npos) << "one line";
    }
    EXPECT_EQ(contentOf(user.path() / "biorythm.dat"), "advice");

    // The manifest is readable afterwards, and a second start changes nothing more.
    const auto after = SeedManifest::parse(contentOf(manifestPath));
    ASSERT_TRUE(after.has_value());
    const std::string manifestText = contentOf(manifestPath);
    std::vector<std::string> secondNotices;
    ASSERT_TRUE(ProgramFolder(user.path(), shipped.path()).prepare(&secondNotices));
    EXPECT_TRUE(secondNotices.empty());
    EXPECT_EQ(contentOf(user.path() / name), contentFor(c.expectedContent));
    EXPECT_EQ(contentOf(manifestPath), manifestText);
}

INSTANTIATE_TEST_SUITE_P(ProgramFolder, Seeding, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<SeedCase>& info) { return std::string(info.param.title); });

struct CurrencyCase {
    const char* title;
    const char* userDate;
    bool userCopyIsSeeded;  // untouched since seeding (recorded in the manifest)
    bool expectReplaced;
};

const CurrencyCase kCurrencyCases[] = {
    {"UpdatedRatesWithANewerDateAreKept", "2026-11-30", false, false},
    {"UnchangedOlderRatesAreReplaced", "2024-06-01", true, true},
    {"ChangedOlderRatesAreKept", "2024-06-01", false, false},
};

class CurrencySeeding : public testing::TestWithParam<CurrencyCase> {};

TEST_P(CurrencySeeding, KeepsNewerRates)
{
    const CurrencyCase& c = GetParam();
    TempFolder shipped;
    TempFolder user;
    const std::string shippedRates = "#Date: 2025-01-02\n\n#Begin:Currency:0\n\tEuro\tEUR\t1.03\t0\tUSD\n";
    const std::string userRates =
        std::string("#Date: ") + c.userDate + "\n\n#Begin:Currency:0\n\tEuro\tEUR\t1.09\t0\tUSD\n";
    ASSERT_TRUE(writeFileAtomically(shipped.path() / "currency.dat", shippedRates));
    ASSERT_TRUE(writeFileAtomically(user.path() / "currency.dat", userRates));
    SeedManifest manifest;
    manifest.record("currency.dat", hashOf(c.userCopyIsSeeded ? userRates : "an older shipped table"));
    ASSERT_TRUE(writeFileAtomically(user.path() / SeedManifest::kFileName, manifest.text()));

    ASSERT_TRUE(ProgramFolder(user.path(), shipped.path()).prepare());
    EXPECT_EQ(contentOf(user.path() / "currency.dat"), c.expectReplaced ? shippedRates : userRates);
}

INSTANTIATE_TEST_SUITE_P(ProgramFolder, CurrencySeeding, testing::ValuesIn(kCurrencyCases),
                         [](const testing::TestParamInfo<CurrencyCase>& info) {
                             return std::string(info.param.title);
                         });

TEST(ProgramFolder, FreshFolderRecordsEverySeededFile)
{
    TempFolder shipped;
    TempFolder home;
    fs::create_directories(shipped.path() / "Interfaces");
    ASSERT_TRUE(writeFileAtomically(shipped.path() / "units.dat", "units"));
    ASSERT_TRUE(writeFileAtomically(shipped.path() / "Interfaces" / "Default.inf", "skin"));
    const fs::path user = home.path() / "corvan";
    ASSERT_TRUE(ProgramFolder(user, shipped.path()).prepare());
    const auto manifest = SeedManifest::parse(contentOf(user / SeedManifest::kFileName));
    ASSERT_TRUE(manifest.has_value());
    EXPECT_EQ(manifest->seededHash("units.dat"), hashOf("units"));
    EXPECT_EQ(manifest->seededHash("Interfaces/Default.inf"), hashOf("skin"));
}

// An install puts the program in PREFIX/bin and the shipped files in PREFIX/share/corvan.
TEST(ProgramFolder, FindsTheShippedFilesOfTheInstallFirst)
{
    TempFolder prefix;
    TempFolder source;
    unsetenv("CORVAN_DATA_DIR");
    const fs::path program = prefix.path() / "bin" / "corvan";
    EXPECT_EQ(ProgramFolder::shippedFolderFor(program, source.path()), source.path());
    fs::create_directories(prefix.path() / "share" / "corvan");
    EXPECT_EQ(ProgramFolder::shippedFolderFor(program, source.path()),
              (prefix.path() / "share" / "corvan").lexically_normal());
    EXPECT_EQ(ProgramFolder::shippedFolderFor({}, source.path()), source.path());
    setenv("CORVAN_DATA_DIR", "/somewhere/else", 1);
    EXPECT_EQ(ProgramFolder::shippedFolderFor(program, source.path()), fs::path("/somewhere/else"));
    unsetenv("CORVAN_DATA_DIR");
}

struct ManifestText {
    const char* title;
    const char* text;
    bool readable;
};

const ManifestText kManifestTexts[] = {
    {"Valid", "corvan-seeded 1\n0123456789abcdef Interfaces/a b.png\n0123456789abcdef units.dat\n", true},
    {"OnlyTheHeader", "corvan-seeded 1\n", true},
    {"Empty", "", false},
    {"WrongHeader", "corvan-seeded 2\n0123456789abcdef units.dat\n", false},
    {"ShortHash", "corvan-seeded 1\n0123456789abcde units.dat\n", false},
    {"UpperCaseHash", "corvan-seeded 1\n0123456789ABCDEF units.dat\n", false},
    {"NoName", "corvan-seeded 1\n0123456789abcdef \n", false},
    {"LeavesTheFolder", "corvan-seeded 1\n0123456789abcdef ../units.dat\n", false},
    {"Absolute", "corvan-seeded 1\n0123456789abcdef /etc/passwd\n", false},
    {"Twice", "corvan-seeded 1\n0123456789abcdef units.dat\nfedcba9876543210 units.dat\n", false},
    {"Binary", "\x89PNG\r\n\x1a\n", false},
};

class ManifestReading : public testing::TestWithParam<ManifestText> {};

TEST_P(ManifestReading, ReadsOnlyWellFormedText)
{
    const auto manifest = SeedManifest::parse(GetParam().text);
    EXPECT_EQ(manifest.has_value(), GetParam().readable);
    if (manifest) {
        EXPECT_EQ(manifest->text(), GetParam().text);
    }
}

INSTANTIATE_TEST_SUITE_P(SeedManifest, ManifestReading, testing::ValuesIn(kManifestTexts),
                         [](const testing::TestParamInfo<ManifestText>& info) {
                             return std::string(info.param.title);
                         });

TEST(SeedManifest, HashIsSixteenHexDigitsOfTheContent)
{
    EXPECT_EQ(SeedManifest::contentHash(""), "cbf29ce484222325");
    EXPECT_EQ(SeedManifest::contentHash("a"), "af63dc4c8601ec8c");
    EXPECT_NE(SeedManifest::contentHash("units 1"), SeedManifest::contentHash("units 2"));
}

}  // namespace
