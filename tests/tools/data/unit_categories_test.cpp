#include "unit_categories.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "atomic_file.h"
#include "temp_folder.h"

namespace {

struct UnitFile {
    TempFolder folder;
    UnitCategories units;
    explicit UnitFile(const std::string& text)
    {
        const auto path = folder.path() / UnitCategories::kFileName;
        EXPECT_TRUE(writeFileAtomically(path, text));
        units.setPath(path);
    }
};

const char* const kFile =
    "#20240101 a date line\n"
    "#Begin:Length:0\n"
    "meter m !\n"
    "#Begin Imperial_units 1\n"
    "inch in 0.0254 0 m\n"
    "#End\n"
    "#end\n"
    "#BEGIN Constants_of_nature -3\n"
    "c c 299792458 0 m/s\n"
    "#End\n"
    "# Begin Mass 7\n"
    "kilogram kg !\n"
    "#End\n"
    "#Begin Length 0\n"
    "foot ft 0.3048 0 m\n"
    "#End\n"
    "#Begin Open 0\n";

TEST(Units, ListsTopLevelCategoriesWithTheirFlags)
{
    UnitFile f(kFile);
    std::vector<UnitCategory> list;
    ASSERT_TRUE(f.units.categories(list));
    // Nested and "Constant..." categories are left out; the unclosed one was never ended.
    const std::vector<UnitCategory> expected = {{u"Length", 0}, {u"Mass", 1}, {u"Length", 0}};
    EXPECT_EQ(list, expected);
    EXPECT_EQ(f.units.firstCategory(), (UnitCategory{u"Length", 0}));
}

TEST(Units, ReadsTheUnitsOfEveryCategoryOfThatName)
{
    UnitFile f(kFile);
    struct Case {
        const char16_t* category;
        std::vector<std::u16string> names;
    };
    const Case cases[] = {
        {u"Length", {u"meter", u"inch", u"foot"}},
        {u"Imperial units", {u"inch"}},
        {u"Constants of nature", {u"c"}},
        {u"Mass", {u"kilogram"}},
        {u"length", {}},
        {u"Open", {}},
    };
    for (const Case& c : cases) {
        std::vector<UnitRecord> units;
        ASSERT_TRUE(f.units.unitsOf(c.category, units));
        std::vector<std::u16string> names;
        for (const UnitRecord& unit : units)
            names.push_back(unit.name);
        EXPECT_EQ(names, c.names);
    }
}

TEST(Units, ColonsSeparateWordsAndBadRecordsStopTheReading)
{
    UnitFile f("#Begin:A:0\nmeter:m:!\nsecond:s\nhour h 3600 0 s\n#End\nbroken\n");
    std::vector<UnitRecord> units;
    EXPECT_FALSE(f.units.unitsOf(u"A", units));
    EXPECT_EQ(f.units.error(), 3);
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(units[0].symbol, u"m");
    // Records outside the category asked for are not looked at.
    std::vector<UnitCategory> list;
    EXPECT_TRUE(f.units.categories(list));
    EXPECT_EQ(list.size(), 1u);

    UnitCategories missing(f.folder.path() / "none.dat");
    EXPECT_FALSE(missing.categories(list));
    EXPECT_EQ(missing.error(), -1);
    EXPECT_FALSE(missing.unitsOf(u"A", units));
    EXPECT_FALSE(missing.firstCategory().has_value());
    EXPECT_EQ(missing.error(), -1);
}

}  // namespace
