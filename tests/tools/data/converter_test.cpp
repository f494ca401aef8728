#include "converter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>

#include "atomic_file.h"
#include "temp_folder.h"

namespace {

using ValueField = Converter::ValueField;
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

// A converter over the files above, written to a folder of its own.
struct SeededConverter {
    TempFolder folder;
    Converter model{folder.path()};
    SeededConverter()
    {
        EXPECT_TRUE(writeFileAtomically(folder.path() / "units.dat", kUnits));
        EXPECT_TRUE(writeFileAtomically(folder.path() / "currency.dat", kCurrency));
        EXPECT_TRUE(writeFileAtomically(folder.path() / "const.dat", kConstants));
    }
    void type(std::u16string_view keys)
    {
        for (char16_t key : keys)
            model.handleKey(key);
    }
    const Converter::ConvertPage& page() const { return model.convertPage(); }
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
        // At most 12 significant digits: the digits of a double beyond them are noise.
        {105505585.262, u"105\u00B8505\u00B8585.262"},
        {123456789.1, u"123\u00B8456\u00B8789.1"},
        {12345.678901234, u"12\u00B8345.6789012"},
        {-1234.5678901234, u"-1\u00B8234.56789012"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Converter::formatResult(c.value, OutputFormat::UnitedStates), c.expected) << c.value;
    EXPECT_EQ(Converter::formatResult(1234.5, OutputFormat::European), std::u16string(u"1.234") + kComma + u"5");
    EXPECT_EQ(Converter::formatResult(1234.5, OutputFormat::Other), u"1234.5");
    // The reciprocal of 0 (0 km/L in L/100 km).
    EXPECT_EQ(Converter::formatResult(HUGE_VAL, OutputFormat::UnitedStates), u"\u221E");
    EXPECT_EQ(Converter::formatResult(-HUGE_VAL, OutputFormat::UnitedStates), u"-\u221E");
}

TEST(ConverterPages, StartWithTheFirstCategoryAndUnits)
{
    SeededConverter c;
    c.model.showPage(Converter::Page::Units);
    EXPECT_EQ(c.page().top.value, u"Length");
    EXPECT_EQ(c.page().upper, (Converter::Field{u"0", u"m"}));
    EXPECT_EQ(c.page().lower, (Converter::Field{u"0", u"km"}));

    c.model.showPage(Converter::Page::Currency);
    EXPECT_EQ(c.page().top.value, u"2025-01-02");
    EXPECT_EQ(c.page().upper, (Converter::Field{u"1", u"USD"}));
    EXPECT_EQ(c.page().lower, (Converter::Field{u"0.8", u"EUR"}));

    c.model.showPage(Converter::Page::Constants);
    EXPECT_EQ(c.model.constantFields()[Converter::kConstantCategoryField].value, u"Universal");
    EXPECT_EQ(c.model.constantFields()[Converter::kConstantNameField].value, u"Speed of light");
    EXPECT_EQ(c.model.constantFields()[Converter::kConstantValueField].value, u"299792458");
}

TEST(ConverterTyping, ConvertsTheOtherFieldWhileTyping)
{
    struct Case {
        std::u16string_view keys;
        ValueField active;
        std::u16string_view upper;
        std::u16string_view lower;
    };
    const Case cases[] = {
        {u"1500", ValueField::Upper, u"1\u00B8500", u"1.5"},
        {u"2", ValueField::Lower, u"2\u00B8000", u"2"},
        {u"12\b", ValueField::Upper, u"1", u"0.001"},
        {u"0.5", ValueField::Lower, u"500", u"0.5"},
        {u"2+3=", ValueField::Upper, u"5", u"0.005"},
        {u"2+3*4=", ValueField::Upper, u"20", u"0.02"},
        {u"6/3-", ValueField::Lower, u"2\u00B8000", u"2"},
        {u"7M0R", ValueField::Upper, u"7", u"0.007"},
        {u"1..5", ValueField::Upper, u"1.5", u"0.0015"},
        {u"9/0=", ValueField::Upper, u"0", u"0"},
        {u"x", ValueField::Upper, u"0", u"0"},
        // The sign: the ± key, or "-" typed first into a field that shows 0.
        {u"-40", ValueField::Upper, u"-40", u"-0.04"},
        {u"40\u00B1", ValueField::Upper, u"-40", u"-0.04"},
        {u"\u00B140", ValueField::Lower, u"-40\u00B8000", u"-40"},
        {u"\u00B1\u00B15", ValueField::Upper, u"5", u"0.005"},
        {u"-.5", ValueField::Upper, u"-0.5", u"-0.0005"},
        {u"-\b", ValueField::Upper, u"0", u"0"},
        {u"2+3=\u00B1", ValueField::Upper, u"-5", u"-0.005"},
        {u"2+3=\u00B17", ValueField::Upper, u"7", u"0.007"},
        {u"5-8=", ValueField::Upper, u"-3", u"-0.003"},
        {u"12\u00B13", ValueField::Upper, u"-123", u"-0.123"},
    };
    for (const Case& test : cases) {
        SeededConverter c;
        c.model.showPage(Converter::Page::Units);
        c.model.setActiveField(test.active);
        c.type(test.keys);
        EXPECT_EQ(c.page().upper.value, test.upper) << std::string(test.keys.begin(), test.keys.end());
        EXPECT_EQ(c.page().lower.value, test.lower) << std::string(test.keys.begin(), test.keys.end());
    }
}

TEST(ConverterTyping, SwapTradesTheUnitsAndKeepsTheTypedNumber)
{
    SeededConverter c;
    c.model.showPage(Converter::Page::Units);
    c.type(u"1500");
    EXPECT_EQ(c.model.copyText(), u"1.5");
    ASSERT_TRUE(c.model.swapUnits());
    EXPECT_EQ(c.page().upper, (Converter::Field{u"1\u00B8500", u"km"}));
    EXPECT_EQ(c.page().lower, (Converter::Field{u"1\u00B8500\u00B8000", u"m"}));
    EXPECT_EQ(c.page().upperUnit, u"kilometer");
    EXPECT_EQ(c.page().lowerUnit, u"meter");
    EXPECT_EQ(c.page().upperIndex, 1);
    EXPECT_EQ(c.page().lowerIndex, 0);
    // The clipboard gets the converted number without grouping marks.
    EXPECT_EQ(c.model.copyText(), u"1500000");
    // Typing goes on where it was.
    c.type(u"\b");
    EXPECT_EQ(c.page().lower.value, u"150\u00B8000");
    c.model.setActiveField(ValueField::Lower);
    EXPECT_EQ(c.model.copyText(), u"150");

    c.model.setOutputFormat(OutputFormat::European);
    c.model.setActiveField(ValueField::Upper);
    c.type(u"2.5");
    EXPECT_EQ(c.model.copyText(), u"2500");
    c.model.swapUnits();
    EXPECT_EQ(c.model.copyText(), std::u16string(u"0") + kComma + u"0025");

    // An error text is nothing to copy.
    c.model.pickCategory(1);
    c.type(u"3");
    EXPECT_EQ(c.page().lower.value, u"The units are of different kinds.");
    EXPECT_EQ(c.model.copyText(), u"");
    c.model.showPage(Converter::Page::Constants);
    EXPECT_FALSE(c.model.swapUnits());
}

TEST(ConverterTyping, AFullFieldTakesOnlyBackspace)
{
    SeededConverter c;
    c.model.showPage(Converter::Page::Units);
    c.model.setOutputFormat(OutputFormat::Other);
    c.type(u"123456789012345678");
    EXPECT_EQ(c.page().upper.value.size(), Converter::kMaxFieldText);
    EXPECT_FALSE(c.model.handleKey(u'9'));
    EXPECT_FALSE(c.model.handleKey(u'+'));
    EXPECT_TRUE(c.model.handleKey(Converter::kBackspace));
    EXPECT_EQ(c.page().upper.value, u"12345678901234567");
    // Grouping marks count too.
    c.model.setOutputFormat(OutputFormat::UnitedStates);
    EXPECT_EQ(c.page().upper.value.size(), 22u);
    EXPECT_FALSE(c.model.handleKey(u'1'));
}

TEST(ConverterTyping, OffsetsAndMismatchedKindsAndUnknownUnits)
{
    SeededConverter c;
    c.model.showPage(Converter::Page::Units);
    ASSERT_EQ(c.model.categories(), (std::vector<std::u16string>{u"Length", u"Mixed", u"Temperature"}));
    ASSERT_TRUE(c.model.pickCategory(2));
    c.model.setActiveField(ValueField::Lower);
    c.type(u"25");
    EXPECT_EQ(c.page().upper.value, u"298.15");

    ASSERT_TRUE(c.model.pickCategory(1));
    EXPECT_EQ(c.page().upper.caption, u"s");
    c.type(u"3");
    EXPECT_EQ(c.page().upper.value, u"The units are of different kinds.");

    c.model.pickCategory(0);
    c.model.pickUnit(ValueField::Lower, 2);
    EXPECT_EQ(c.page().lower.caption, u"in");
    EXPECT_EQ(c.model.currentCategory(), 0);
    EXPECT_EQ(c.model.unitChoices(), (std::vector<std::u16string>{u"meter m", u"kilometer km", u"inch in"}));
}

TEST(ConverterCurrency, ListsAndConvertsCurrencies)
{
    SeededConverter c;
    c.model.showPage(Converter::Page::Currency);
    EXPECT_EQ(c.model.unitChoices(), (std::vector<std::u16string>{u"USD - USD", u"EUR - Euro", u"JPY - Yen"}));
    EXPECT_TRUE(c.model.categories().empty());
    c.type(u"10");
    EXPECT_EQ(c.page().lower.value, u"8");
    c.model.setActiveField(ValueField::Lower);
    c.type(u"2");
    EXPECT_EQ(c.page().upper.value, u"2.5");
    ASSERT_TRUE(c.model.pickUnit(ValueField::Upper, 2));
    EXPECT_EQ(c.page().upper.caption, u"JPY");
    EXPECT_EQ(c.page().upperIndex, 2);

    c.model.beginUpdate();
    EXPECT_EQ(c.page().top.value, u"Updating ...");
    c.model.finishUpdate(false);
    EXPECT_EQ(c.page().top.value, u"2025-01-02");
    EXPECT_EQ(c.page().upper.caption, u"JPY");
}

TEST(ConverterConstants, PicksCategoriesAndConstants)
{
    SeededConverter c;
    c.model.showPage(Converter::Page::Constants);
    EXPECT_EQ(c.model.unitChoices(), (std::vector<std::u16string>{u"Speed of light", u"Planck constant"}));
    EXPECT_TRUE(c.model.pickUnit(ValueField::Upper, 1));
    EXPECT_EQ(c.model.constantFields()[Converter::kConstantValueField].value, u"6.62607015e-34");
    EXPECT_FALSE(c.model.handleKey(u'1'));
    EXPECT_TRUE(c.model.pickCategory(1));
    EXPECT_EQ(c.model.constantFields()[Converter::kConstantNameField].value, u"Avogadro");
    EXPECT_EQ(c.model.currentConstant(), 0);
}

TEST(ConverterState, RoundTripsThroughConverterDat)
{
    SeededConverter c;
    c.model.showPage(Converter::Page::Currency);
    c.type(u"3");
    c.model.showPage(Converter::Page::Units);
    c.model.pickCategory(2);
    c.type(u"12");
    c.model.showPage(Converter::Page::Constants);
    c.model.pickUnit(ValueField::Upper, 1);
    ASSERT_TRUE(c.model.saveState());

    Converter other(c.folder.path());
    ASSERT_TRUE(other.loadState());
    other.showPage(Converter::Page::Units);
    EXPECT_EQ(other.units().top.value, u"Temperature");
    EXPECT_EQ(other.units().upper, (Converter::Field{u"12", u"K"}));
    EXPECT_EQ(other.units().lower, c.model.units().lower);
    EXPECT_EQ(other.units().upperUnit, u"kelvin");
    other.showPage(Converter::Page::Currency);
    EXPECT_EQ(other.currency().upper.value, u"3");
    EXPECT_EQ(other.currency().lower.value, u"2.4");
    EXPECT_EQ(other.currency().top.value, u"2025-01-02");  // read from the rate file, not kept
    EXPECT_EQ(other.constantFields(), c.model.constantFields());
    EXPECT_EQ(other.currentConstant(), 1);
    EXPECT_EQ(other.stateBytes(), c.model.stateBytes());
}

TEST(ConverterState, StartsAsNewFromMissingOrDamagedFiles)
{
    SeededConverter c;
    c.model.showPage(Converter::Page::Units);
    c.type(u"5");
    const std::string whole = c.model.stateBytes();
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
        SeededConverter fresh;
        ASSERT_TRUE(writeFileAtomically(fresh.folder.path() / Converter::kStateFileName, test.bytes));
        EXPECT_EQ(fresh.model.loadState(), test.whole);
        fresh.model.showPage(Converter::Page::Units);
        EXPECT_EQ(fresh.model.units().upper.value, test.upper);
        EXPECT_EQ(fresh.model.units().top.value, u"Length");
    }
    SeededConverter missing;
    EXPECT_FALSE(missing.model.loadState());
    missing.model.showPage(Converter::Page::Currency);
    EXPECT_EQ(missing.model.currency().lower.caption, u"EUR");
}

TEST(ConverterState, UnitsGoneFromTheFileStartThePageAfresh)
{
    SeededConverter c;
    c.model.showPage(Converter::Page::Units);
    c.model.pickCategory(2);
    ASSERT_TRUE(c.model.saveState());
    ASSERT_TRUE(
        writeFileAtomically(c.folder.path() / "units.dat", "#Begin Length 0\nmeter m !\nmile mi 1609.344 0 m\n#End\n"));
    Converter other(c.folder.path());
    ASSERT_TRUE(other.loadState());
    other.showPage(Converter::Page::Units);
    EXPECT_EQ(other.units().top.value, u"Length");
    EXPECT_EQ(other.units().lower.caption, u"mi");
}

TEST(ConverterState, NoStateFolderWritesNothing)
{
    SeededConverter c;
    c.model.setStateFolder({});
    c.model.showPage(Converter::Page::Units);
    EXPECT_FALSE(c.model.saveState());
    EXPECT_FALSE(c.model.loadState());
    EXPECT_FALSE(std::filesystem::exists(c.folder.path() / Converter::kStateFileName));
}

TEST(ConverterKeys, LettersStandForDigits)
{
    EXPECT_EQ(Converter::mapKey(u'?'), u'0');
    EXPECT_EQ(Converter::mapKey(u'W'), u'1');
    EXPECT_EQ(Converter::mapKey(u'c'), u'9');
    EXPECT_EQ(Converter::mapKey(u'M'), u'M');
}

}  // namespace
