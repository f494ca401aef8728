#include "converter.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "atomic_file.h"
#include "temp_folder.h"

namespace {

using Wnd = CBrevastCalConverterWnd;
constexpr char16_t kComma = kDisplayComma;

const char* const kUnits =
    "#Begin Length 0\n"
    "meter m !\n"
    "kilometer km 1000 0 m\n"
    "inch in 0.0254 0 m\n"
    "#End\n"
    "#Begin Mixed 0\n"
    "second s !\n"
    "foot ft 0.3048 0 m\n"
    "#End\n"
    "#Begin Temperature 0\n"
    "kelvin K !\n"
    "celsius C 1 273.15 K\n"
    "#End\n";

const char* const kCurrency =
    "#Date: 2025-01-02\n"
    "\n"
    "#Begin:Currency:0\n"
    "\tUSD\tUSD\t!\n"
    "\tEuro\tEUR\t1.25\t0\tUSD\n"
    "\tYen\tJPY\t0\t0\tUSD\n"
    "#End";

const char* const kConstants =
    "#Begin Universal 0\n"
    "Speed_of_light 299792458\n"
    "Planck_constant 6.62607015e-34\n"
    "#End\n"
    "#Begin Chemistry 0\n"
    "Avogadro 6.02214076e23\n"
    "#End\n";

struct Converter {
    TempFolder folder;
    Wnd wnd{folder.path()};
    Converter()
    {
        EXPECT_TRUE(writeFileAtomically(folder.path() / "units.dat", kUnits));
        EXPECT_TRUE(writeFileAtomically(folder.path() / "currency.dat", kCurrency));
        EXPECT_TRUE(writeFileAtomically(folder.path() / "const.dat", kConstants));
    }
    void type(std::u16string_view keys)
    {
        for (char16_t key : keys)
            wnd.handleKey(key);
    }
    const Wnd::ConvertPage& page() const { return wnd.convertPage(); }
};

TEST(ConverterFormat, ResultsInRangeAreFixedOthersScientific)
{
    struct Case {
        double value;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {1e13, u"1.00000000e+13"},
        {0.000000001, u"1.00000000e-09"},
        {0.0, u"0"},
        {123.5, u"123.5"},
        {-2.0, u"-2"},
        {1e12, u"1\u00B8000\u00B8000\u00B8000\u00B8000"},
        {1234.000000004, u"1\u00B8234"},
        {0.00000001, u"0.00000001"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Wnd::formatResult(c.value, OutputFormat::UnitedStates), c.expected) << c.value;
    EXPECT_EQ(Wnd::formatResult(1234.5, OutputFormat::European), std::u16string(u"1.234") + kComma + u"5");
    EXPECT_EQ(Wnd::formatResult(1234.5, OutputFormat::Other), u"1234.5");
}

TEST(ConverterPages, StartWithTheFirstCategoryAndUnits)
{
    Converter c;
    c.wnd.showPage(Wnd::kUnitsPage);
    EXPECT_EQ(c.page().top.value, u"Length");
    EXPECT_EQ(c.page().upper, (Wnd::Field{u"0", u"m"}));
    EXPECT_EQ(c.page().lower, (Wnd::Field{u"0", u"km"}));

    c.wnd.showPage(Wnd::kCurrencyPage);
    EXPECT_EQ(c.page().top.value, u"2025-01-02");
    EXPECT_EQ(c.page().upper, (Wnd::Field{u"1", u"USD"}));
    EXPECT_EQ(c.page().lower, (Wnd::Field{u"0.8", u"EUR"}));

    c.wnd.showPage(Wnd::kConstantsPage);
    EXPECT_EQ(c.wnd.constantFields()[Wnd::kConstantCategoryField].value, u"Universal");
    EXPECT_EQ(c.wnd.constantFields()[Wnd::kConstantNameField].value, u"Speed of light");
    EXPECT_EQ(c.wnd.constantFields()[Wnd::kConstantValueField].value, u"299792458");
}

TEST(ConverterTyping, ConvertsTheOtherFieldWhileTyping)
{
    struct Case {
        std::u16string_view keys;
        int active;
        std::u16string_view upper;
        std::u16string_view lower;
    };
    const Case cases[] = {
        {u"1500", 0, u"1\u00B8500", u"1.5"},
        {u"2", 1, u"2\u00B8000", u"2"},
        {u"12\b", 0, u"1", u"0.001"},
        {u"0.5", 1, u"500", u"0.5"},
        {u"2+3=", 0, u"5", u"0.005"},
        {u"2+3*4=", 0, u"20", u"0.02"},
        {u"6/3-", 1, u"2\u00B8000", u"2"},
        {u"7M0R", 0, u"7", u"0.007"},
        {u"1..5", 0, u"1.5", u"0.0015"},
        {u"9/0=", 0, u"0", u"0"},
        {u"x", 0, u"0", u"0"},
    };
    for (const Case& test : cases) {
        Converter c;
        c.wnd.showPage(Wnd::kUnitsPage);
        c.wnd.setActiveField(test.active);
        c.type(test.keys);
        EXPECT_EQ(c.page().upper.value, test.upper) << std::string(test.keys.begin(), test.keys.end());
        EXPECT_EQ(c.page().lower.value, test.lower) << std::string(test.keys.begin(), test.keys.end());
    }
}

TEST(ConverterTyping, AFullFieldTakesOnlyBackspace)
{
    Converter c;
    c.wnd.showPage(Wnd::kUnitsPage);
    c.wnd.setOutputFormat(OutputFormat::Other);
    c.type(u"123456789012345678");
    EXPECT_EQ(c.page().upper.value.size(), Wnd::kMaxFieldText);
    EXPECT_FALSE(c.wnd.handleKey(u'9'));
    EXPECT_FALSE(c.wnd.handleKey(u'+'));
    EXPECT_TRUE(c.wnd.handleKey(Wnd::kBackspace));
    EXPECT_EQ(c.page().upper.value, u"12345678901234567");
    // Grouping marks count too.
    c.wnd.setOutputFormat(OutputFormat::UnitedStates);
    EXPECT_EQ(c.page().upper.value.size(), 22u);
    EXPECT_FALSE(c.wnd.handleKey(u'1'));
}

TEST(ConverterTyping, OffsetsAndMismatchedKindsAndUnknownUnits)
{
    Converter c;
    c.wnd.showPage(Wnd::kUnitsPage);
    ASSERT_EQ(c.wnd.categories(), (std::vector<std::u16string>{u"Length", u"Mixed", u"Temperature"}));
    ASSERT_TRUE(c.wnd.pickCategory(2));
    c.wnd.setActiveField(1);
    c.type(u"25");
    EXPECT_EQ(c.page().upper.value, u"298.15");

    ASSERT_TRUE(c.wnd.pickCategory(1));
    EXPECT_EQ(c.page().upper.caption, u"s");
    c.type(u"3");
    EXPECT_EQ(c.page().upper.value, u"Not same Unit.");

    c.wnd.pickCategory(0);
    c.wnd.pickUnit(1, 2);
    EXPECT_EQ(c.page().lower.caption, u"in");
    EXPECT_EQ(c.wnd.currentCategory(), 0);
    EXPECT_EQ(c.wnd.unitChoices(), (std::vector<std::u16string>{u"meter m", u"kilometer km", u"inch in"}));
}

TEST(ConverterCurrency, ListsAndConvertsCurrencies)
{
    Converter c;
    c.wnd.showPage(Wnd::kCurrencyPage);
    EXPECT_EQ(c.wnd.unitChoices(),
              (std::vector<std::u16string>{u"USD - USD", u"EUR - Euro", u"JPY - Yen"}));
    EXPECT_TRUE(c.wnd.categories().empty());
    c.type(u"10");
    EXPECT_EQ(c.page().lower.value, u"8");
    c.wnd.setActiveField(1);
    c.type(u"2");
    EXPECT_EQ(c.page().upper.value, u"2.5");
    ASSERT_TRUE(c.wnd.pickUnit(0, 2));
    EXPECT_EQ(c.page().upper.caption, u"JPY");
    EXPECT_EQ(c.page().upperIndex, 2);

    c.wnd.beginUpdate();
    EXPECT_EQ(c.page().top.value, u"Updating ...");
    c.wnd.finishUpdate(false);
    EXPECT_EQ(c.page().top.value, u"2025-01-02");
    EXPECT_EQ(c.page().upper.caption, u"JPY");
}

TEST(ConverterConstants, PicksCategoriesAndConstants)
{
    Converter c;
    c.wnd.showPage(Wnd::kConstantsPage);
    EXPECT_EQ(c.wnd.unitChoices(), (std::vector<std::u16string>{u"Speed of light", u"Planck constant"}));
    EXPECT_TRUE(c.wnd.pickUnit(0, 1));
    EXPECT_EQ(c.wnd.constantFields()[Wnd::kConstantValueField].value, u"6.62607015e-34");
    EXPECT_FALSE(c.wnd.handleKey(u'1'));
    EXPECT_TRUE(c.wnd.pickCategory(1));
    EXPECT_EQ(c.wnd.constantFields()[Wnd::kConstantNameField].value, u"Avogadro");
    EXPECT_EQ(c.wnd.currentConstant(), 0);
}

TEST(ConverterState, RoundTripsThroughConverterDat)
{
    Converter c;
    c.wnd.showPage(Wnd::kCurrencyPage);
    c.type(u"3");
    c.wnd.showPage(Wnd::kUnitsPage);
    c.wnd.pickCategory(2);
    c.type(u"12");
    c.wnd.showPage(Wnd::kConstantsPage);
    c.wnd.pickUnit(0, 1);
    ASSERT_TRUE(c.wnd.saveState());

    Wnd other(c.folder.path());
    ASSERT_TRUE(other.loadState());
    other.showPage(Wnd::kUnitsPage);
    EXPECT_EQ(other.units().top.value, u"Temperature");
    EXPECT_EQ(other.units().upper, (Wnd::Field{u"12", u"K"}));
    EXPECT_EQ(other.units().lower, c.wnd.units().lower);
    EXPECT_EQ(other.units().upperUnit, u"kelvin");
    other.showPage(Wnd::kCurrencyPage);
    EXPECT_EQ(other.currency().upper.value, u"3");
    EXPECT_EQ(other.currency().lower.value, u"2.4");
    EXPECT_EQ(other.currency().top.value, u"2025-01-02");  // read from the rate file, not kept
    EXPECT_EQ(other.constantFields(), c.wnd.constantFields());
    EXPECT_EQ(other.currentConstant(), 1);
    EXPECT_EQ(other.stateBytes(), c.wnd.stateBytes());
}

TEST(ConverterState, StartsAsNewFromMissingOrDamagedFiles)
{
    Converter c;
    c.wnd.showPage(Wnd::kUnitsPage);
    c.type(u"5");
    const std::string whole = c.wnd.stateBytes();
    // The first string's marker, then the category's length and text.
    ASSERT_EQ(whole.substr(0, 4), std::string("\xFF\xFE\xFF\x06", 4));

    struct Case {
        std::string bytes;
        bool whole;
        std::u16string_view upper;
    };
    const Case cases[] = {
        {"", false, u"0"},
        {whole.substr(0, 10), false, u"0"},
        {std::string("\xFF\xFE\xFF\xFF\xFF\xFF", 6), false, u"0"},
        {whole.substr(0, whole.size() - 1), false, u"5"},  // the units block is whole
        {whole, true, u"5"},
    };
    for (const Case& test : cases) {
        Converter fresh;
        ASSERT_TRUE(writeFileAtomically(fresh.folder.path() / Wnd::kStateFileName, test.bytes));
        EXPECT_EQ(fresh.wnd.loadState(), test.whole);
        fresh.wnd.showPage(Wnd::kUnitsPage);
        EXPECT_EQ(fresh.wnd.units().upper.value, test.upper);
        EXPECT_EQ(fresh.wnd.units().top.value, u"Length");
    }
    Converter missing;
    EXPECT_FALSE(missing.wnd.loadState());
    missing.wnd.showPage(Wnd::kCurrencyPage);
    EXPECT_EQ(missing.wnd.currency().lower.caption, u"EUR");
}

TEST(ConverterState, UnitsGoneFromTheFileStartThePageAfresh)
{
    Converter c;
    c.wnd.showPage(Wnd::kUnitsPage);
    c.wnd.pickCategory(2);
    ASSERT_TRUE(c.wnd.saveState());
    ASSERT_TRUE(writeFileAtomically(c.folder.path() / "units.dat", "#Begin Length 0\nmeter m !\nmile mi 1609.344 0 m\n#End\n"));
    Wnd other(c.folder.path());
    ASSERT_TRUE(other.loadState());
    other.showPage(Wnd::kUnitsPage);
    EXPECT_EQ(other.units().top.value, u"Length");
    EXPECT_EQ(other.units().lower.caption, u"mi");
}

TEST(ConverterState, NoStateFolderWritesNothing)
{
    Converter c;
    c.wnd.setStateFolder({});
    c.wnd.showPage(Wnd::kUnitsPage);
    EXPECT_FALSE(c.wnd.saveState());
    EXPECT_FALSE(c.wnd.loadState());
    EXPECT_FALSE(std::filesystem::exists(c.folder.path() / Wnd::kStateFileName));
}

TEST(ConverterKeys, LettersStandForDigits)
{
    EXPECT_EQ(Wnd::mapKey(u'?'), u'0');
    EXPECT_EQ(Wnd::mapKey(u'W'), u'1');
    EXPECT_EQ(Wnd::mapKey(u'c'), u'9');
    EXPECT_EQ(Wnd::mapKey(u'M'), u'M');
}

}  // namespace
