#include "conversion_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "converter.h"
#include "temp_folder.h"
#include "unit_categories.h"
#include "utf16.h"

namespace {

std::filesystem::path shippedFile(const char* name)
{
    return std::filesystem::path(CORVAN_SOURCE_DATA_DIR) / name;
}

struct Table {
    TempFolder folder;
    ConversionTable units;
    std::filesystem::path file() const { return folder.path() / "units.dat"; }
    bool load(const std::string& text)
    {
        EXPECT_TRUE(writeFileAtomically(file(), text));
        return units.load(file());
    }
};

using Items = std::vector<std::u16string>;

// The unit table the program ships, loaded for each test.
class ShippedUnits : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(table.load(shippedFile("units.dat"))) << toUtf8(table.errorText()); }

    ConversionTable table;
};

TEST(UnitDefinition, FollowsTheLeftToRightGrammar)
{
    struct Case {
        const char16_t* text;
        bool valid;
        Items numerator;
        Items denominator;
    };
    const Case cases[] = {
        {u"kg*m/s^2", true, {u"kg", u"m"}, {u"s", u"s"}},
        {u"m/(s*s)", true, {u"m"}, {u"s", u"s"}},
        {u"a/b*c", true, {u"a", u"c"}, {u"b"}},    // "*" returns to the numerator
        {u"a/(b*c)", true, {u"a"}, {u"b", u"c"}},  // unless a parenthesis was seen
        {u"kg/(m*s^2)", true, {u"kg"}, {u"m", u"s", u"s"}},
        {u"m^2/s", true, {u"m", u"m"}, {u"s"}},
        {u"1/s", true, {u"1"}, {u"s"}},
        {u"a/b/c", true, {u"a", u"c"}, {u"b"}},  // "/" toggles the side
        {u"m^0", true, {}, {}},
        {u"a(b", true, {u"ab"}, {}},  // "(" only marks
        {u"m^", false, {}, {}},
        {u"m^-1", false, {}, {}},
        {u"m^+2", false, {}, {}},
        {u"m^2b", false, {}, {}},
        {u"a b", false, {}, {}},
        {u"m^20", true, Items(20, u"m"), {}},
        {u"m^21", false, {}, {}},  // beyond 20 tokens a side
        {u"m^99999999999999999999", false, {}, {}},
        {u"s*m^20", false, {}, {}},
    };
    for (const Case& c : cases) {
        Items numerator;
        Items denominator;
        SCOPED_TRACE(toUtf8(c.text));
        ASSERT_EQ(unitfile::parseDefinition(c.text, numerator, denominator), c.valid);
        if (c.valid) {
            EXPECT_EQ(numerator, c.numerator);
            EXPECT_EQ(denominator, c.denominator);
        }
    }
}

TEST(UnitConvert, LoadStopsAtTheFirstBadRecordAndKeepsTheRest)
{
    const std::string longDefinition = "c C 1 0 " + std::string(300, 'x') + "\n";
    struct Case {
        std::string text;
        int error;
        int count;
    };
    const Case cases[] = {
        {"a A !\nb B\nc C !\n", 2, 1},
        {"a A 1 0\n", 1, 0},
        {"a A !\nb B 1 0 a^x\n", 2, 1},
        {"a A !\nb B 1 0 a^-1\n", 2, 1},
        {"# comment\n\n@note\n#Begin:X:0\na A !\n#End\n", 0, 1},
        {"a\tA\t!\r\nb B 2 0 a extra words\r\n", 0, 2},
        {"a A ! anything after\n", 0, 1},
        // 254 bytes fit the buffer; the rest of the line is a record of one word.
        {"a A !\n" + longDefinition, 3, 2},
        {"", 0, 0},
        {std::string("a A !\n\0b\nc C !\n", 15), 0, 2},  // a NUL ends the line's text
    };
    for (const Case& c : cases) {
        Table t;
        SCOPED_TRACE(c.text);
        EXPECT_EQ(t.load(c.text), c.error == 0);
        EXPECT_EQ(t.units.errorCode(), c.error);
        EXPECT_EQ(t.units.count(), c.count);
    }
}

TEST(UnitConvert, ReadsNamesFactorsAndOffsets)
{
    Table t;
    ASSERT_TRUE(t.load("kelvin K !\ndegree_Celsius °C 1 273.15 K\nodd O 2.5e1xyz junk K\n"));
    ASSERT_EQ(t.units.count(), 3);
    const UnitRecord& celsius = t.units.units()[1];
    EXPECT_EQ(celsius.name, u"degree Celsius");
    EXPECT_EQ(celsius.symbol, u"°C");
    EXPECT_DOUBLE_EQ(celsius.offset, 273.15);
    EXPECT_EQ(celsius.numerator, Items{u"K"});
    EXPECT_DOUBLE_EQ(t.units.units()[2].factor, 25.0);  // atof stops at the first non-number
    EXPECT_DOUBLE_EQ(t.units.units()[2].offset, 0.0);
    EXPECT_EQ(t.units.find(u"degree Celsius"), 2);
    EXPECT_EQ(t.units.find(u"°C"), 2);
    EXPECT_EQ(t.units.find(u"Kelvin"), 0);
    EXPECT_TRUE(t.units.isBase(u"kelvin"));
    EXPECT_FALSE(t.units.isBase(u"°C"));
}

TEST(UnitConvert, MissingFileAndLoadingAgain)
{
    Table t;
    ASSERT_TRUE(t.load("a A !\n"));
    EXPECT_FALSE(t.units.load(t.folder.path() / "none.dat"));
    EXPECT_EQ(t.units.errorCode(), ConversionTable::kErrorOpenFile);
    EXPECT_EQ(t.units.count(), 0);
    EXPECT_EQ(t.units.errorText(), u"Cannot open the data file.");
    EXPECT_TRUE(t.load("b B !\n"));
    EXPECT_EQ(t.units.errorCode(), 0);
    EXPECT_EQ(t.units.errorText(), u"No error.");
}

TEST(UnitConvert, HoldsAtMost800Units)
{
    std::string text;
    for (int i = 0; i < 801; ++i)
        text += "u" + std::to_string(i) + " s" + std::to_string(i) + " !\n";
    Table t;
    EXPECT_FALSE(t.load(text));
    EXPECT_EQ(t.units.count(), ConversionTable::kMaxUnits);
    EXPECT_EQ(t.units.errorCode(), 801);
    EXPECT_EQ(t.units.errorText(), u"Error on line 801 in data file.");
    EXPECT_EQ(t.units.find(u"u799"), 800);
    EXPECT_EQ(t.units.find(u"u800"), 0);

    text.resize(text.rfind("u800"));
    EXPECT_TRUE(t.load(text));
    EXPECT_EQ(t.units.count(), ConversionTable::kMaxUnits);
}

const char* const kSmallTable =
    "meter m !\n"
    "second s !\n"
    "kelvin K !\n"
    "kilometer km 1000 0 m\n"
    "hour h 3600 0 s\n"
    "speed m/s 1 0 m/s\n"
    "kmh km/h 1 0 km/h\n"
    "celsius C 1 273.15 K\n"
    "fahrenheit F 0.55555555555555556 255.37222222222222 K\n"
    "warm W 2 0 C\n"
    "nothing Z 0 0 m\n"
    "dimensionless D 1 0 m^0\n"
    "ratio R 1 0 m/m\n";

TEST(UnitConvert, ConvertsByTheFirstRuleThatApplies)
{
    struct Case {
        const char16_t* from;
        const char16_t* to;
        double multiplier;
        double offset;
    };
    const Case cases[] = {
        {u"m", u"m", 1.0, 0.0},  // both base, same symbol
        {u"meter", u"m", 1.0, 0.0},
        {u"m", u"km", 0.001, 0.0},   // base to defined
        {u"km", u"m", 1000.0, 0.0},  // defined to base
        {u"C", u"K", 1.0, 273.15},
        {u"K", u"C", 1.0, -273.15},
        {u"C", u"F", 1.8, 32.0},  // both reduce to K, offsets kept
        {u"F", u"C", 0.55555555555555556, -17.777777777777779},
        {u"km/h", u"m/s", 1.0 / 3.6, 0.0},  // compound: expanded on both sides
        {u"W", u"C", 2.0, 0.0},             // W is defined on C's symbol
        {u"C", u"W", 0.5, 0.0},
    };
    for (const Case& c : cases) {
        Table t;
        ASSERT_TRUE(t.load(kSmallTable));
        SCOPED_TRACE(toUtf8(c.from) + " -> " + toUtf8(c.to));
        const auto result = t.units.convert(c.from, c.to);
        ASSERT_TRUE(result.has_value());
        EXPECT_NEAR(result->multiplier, c.multiplier, 1e-12 * std::abs(c.multiplier));
        EXPECT_NEAR(result->offset, c.offset, 1e-10);
    }
}

TEST(UnitConvert, ReportsUnknownAndIncompatibleUnits)
{
    struct Case {
        const char16_t* from;
        const char16_t* to;
        int error;
        const char16_t* text;
    };
    const Case cases[] = {
        {u"m", u"s", ConversionTable::kErrorNotSameUnit, u"The units are of different kinds."},
        {u"km", u"h", ConversionTable::kErrorNotSameUnit, u"The units are of different kinds."},
        {u"m", u"Z", ConversionTable::kErrorNotSameUnit, u"The units are of different kinds."},  // factor 0
        {u"D", u"m", ConversionTable::kErrorNotSameUnit, u"The units are of different kinds."},  // m^0: a base unit
        {u"K", u"W", ConversionTable::kErrorNotSameUnit, u"The units are of different kinds."},  // C's offset blocks it
        {u"Meter", u"m", ConversionTable::kErrorUnknownUnit, u"Unknown unit."},
        {u"m", u"", ConversionTable::kErrorUnknownUnit, u"Unknown unit."},
    };
    for (const Case& c : cases) {
        Table t;
        ASSERT_TRUE(t.load(kSmallTable));
        SCOPED_TRACE(toUtf8(c.from) + " -> " + toUtf8(c.to));
        EXPECT_FALSE(t.units.convert(c.from, c.to).has_value());
        EXPECT_EQ(t.units.errorCode(), c.error);
        EXPECT_EQ(t.units.errorText(), c.text);
    }
    Table t;
    ASSERT_TRUE(t.load(kSmallTable));
    EXPECT_TRUE(t.units.isBase(u"D"));
    EXPECT_TRUE(t.units.reduced(t.units.units()[12]).isBase());  // m/m cancels
}

TEST(UnitConvert, UnitsDefinedThroughEachOtherEndInTime)
{
    std::string chain = "m m !\nu0 u0 1 0 m\n";
    for (int k = 1; k <= 60; ++k)
        chain += "u" + std::to_string(k) + " u" + std::to_string(k) + " 1 0 u" + std::to_string(k - 1) + "*u" +
                 std::to_string(k - 1) + "\n";
    Table t;
    ASSERT_TRUE(t.load("a A 2 0 b\nb B 3 0 a\nc C 1 0 a*b\nx X 2 0 x/x*x\n" + chain));
    for (const char16_t* unit : {u"a", u"c", u"x"}) {
        EXPECT_FALSE(t.units.convert(unit, u"m").has_value());
        EXPECT_FALSE(t.units.convert(u"m", unit).has_value());
    }
    // Cycles and runaway chains stop; the small cases still reduce exactly.
    const auto square = t.units.convert(u"u1", u"u0");
    EXPECT_FALSE(square.has_value());
    const UnitRecord u3 = t.units.reduced(t.units.units()[static_cast<std::size_t>(t.units.find(u"u3") - 1)]);
    EXPECT_EQ(u3.numerator, Items(8, u"m"));
    (void)t.units.convert(u"u60", u"u59");
    (void)t.units.reduced(t.units.units().back());
}

// Every shipped unit must be reachable by its name and symbol and convert into the first unit
// of its category; a typo in a definition shows up here.
TEST_F(ShippedUnits, EveryUnitConvertsWithinItsCategory)
{
    EXPECT_GE(table.count(), 200);
    for (int i = 0; i < table.count(); ++i) {
        const UnitRecord& unit = table.units()[static_cast<std::size_t>(i)];
        // rpm is both a frequency and an angular velocity: its name finds the first.
        if (unit.symbol != u"rpm") {
            EXPECT_EQ(table.find(unit.name), i + 1) << toUtf8(unit.name);
            EXPECT_EQ(table.find(unit.symbol), i + 1) << toUtf8(unit.symbol);
        }
        const UnitRecord reduced = table.reduced(unit);
        for (const Items* side : {&reduced.numerator, &reduced.denominator})
            for (const std::u16string& item : *side)
                EXPECT_TRUE(table.isBase(item)) << toUtf8(unit.name) << ": " << toUtf8(item);
    }
    UnitCategories categories(shippedFile("units.dat"));
    std::vector<UnitCategory> list;
    ASSERT_TRUE(categories.categories(list));
    EXPECT_GE(list.size(), 12u);
    int listed = 0;
    for (const UnitCategory& category : list) {
        std::vector<UnitRecord> units;
        ASSERT_TRUE(categories.unitsOf(category.name, units)) << toUtf8(category.name);
        ASSERT_GE(units.size(), 2u) << toUtf8(category.name);
        listed += static_cast<int>(units.size());
        for (const UnitRecord& unit : units) {
            EXPECT_TRUE(table.convert(unit.name, units[0].name).has_value())
                << toUtf8(category.name) << ": " << toUtf8(unit.name);
            EXPECT_TRUE(table.convert(units[0].symbol, unit.symbol).has_value())
                << toUtf8(category.name) << ": " << toUtf8(unit.symbol);
        }
    }
    EXPECT_EQ(listed, table.count());
}

TEST_F(ShippedUnits, ConvertKnownValues)
{
    struct Case {
        const char16_t* from;
        const char16_t* to;
        double value;
        double expected;
    };
    const Case cases[] = {
        {u"in", u"cm", 1, 2.54},
        {u"mi", u"km", 1, 1.609344},
        {u"nmi", u"ft", 1, 1852 / 0.3048},
        {u"ft²", u"m²", 1, 0.09290304},
        {u"ac", u"m²", 1, 4046.8564224},
        {u"ha", u"km²", 1, 0.01},
        {u"gal", u"L", 1, 3.785411784},
        {u"galUK", u"floz UK", 1, 160},
        {u"m³", u"L", 1, 1000},
        {u"lb", u"kg", 1, 0.45359237},
        {u"oz", u"g", 1, 28.349523125},
        {u"°F", u"°C", 212, 100},
        {u"°F", u"°C", 32, 0},
        {u"°C", u"°F", -40, -40},
        {u"K", u"°F", 0, -459.67},
        {u"°C", u"K", 0, 273.15},
        {u"K", u"°C", 273.15, 0},
        {u"°R", u"°F", 491.67, 32},
        {u"km/h", u"m/s", 36, 10},
        {u"mph", u"km/h", 1, 1.609344},
        {u"kn", u"km/h", 1, 1.852},
        {u"kWh", u"J", 1, 3.6e6},
        {u"cal", u"J", 1, 4.184},
        {u"BTU/h", u"W", 12000, 3516.8528420666667},
        {u"hp", u"W", 1, 745.69987158227022},
        {u"lbf", u"N", 1, 4.4482216152605},
        {u"psi", u"Pa", 1, 6894.757293168361},
        {u"atm", u"Torr", 1, 760},
        {u"bar", u"kPa", 1, 100},
        {u"eV", u"J", 1, 1.602176634e-19},
        {u"°", u"rad", 180, std::numbers::pi},
        {u"gon", u"°", 100, 90},
        {u"KiB", u"bit", 1, 8192},
        {u"GB", u"MiB", 1, 1e9 / 1048576},
        {u"rpm", u"rad/s", 60, 2 * std::numbers::pi},
        {u"rpm", u"Hz", 12, 0.2},
        {u"rpm", u"kHz", 12, 0.0002},
        {u"rad/s", u"rpm", 2 * std::numbers::pi, 60},
        {u"1/min", u"Hz", 60, 1},
        {u"wk", u"s", 1, 604800},
        {u"mpg US", u"km/L", 1, 0.42514370743027212},
        {u"g/cm³", u"kg/m³", 1, 1000},
        {u"gpm", u"L/min", 1, 3.785411784},
        {u"lbf·ft", u"N·m", 1, 1.3558179483314004},
        {u"Ah", u"C", 1, 3600},
        {u"V", u"kV", 1000, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(toUtf8(c.from) + " -> " + toUtf8(c.to));
        const auto result = table.convert(c.from, c.to);
        ASSERT_TRUE(result.has_value()) << toUtf8(table.errorText());
        EXPECT_NEAR(c.value * result->multiplier + result->offset, c.expected,
                    1e-11 * std::max(1.0, std::abs(c.expected)));
    }
}

TEST(UnitConvert, ReciprocalKindsConvertThroughTheInverse)
{
    Table t;
    ASSERT_TRUE(
        t.load("m m !\ns s !\nK K !\n"
               "L L 0.001 0 m^3\nkm km 1000 0 m\n"
               "per100 L/100km 0.01 0 L/km\nkml km/L 1 0 km/L\nmm3 m/m3 1 0 m/m^3\n"
               "Hz Hz 1 0 1/s\nC C 1 273.15 K\nperK 1/K 1 0 1/K\n"));
    const struct {
        const char16_t* from;
        const char16_t* to;
        double value;
        double expected;
    } cases[] = {
        {u"L/100km", u"km/L", 10, 10}, {u"km/L", u"L/100km", 4, 25},
        {u"L/100km", u"m/m3", 5, 2e7}, {u"km/L", u"km/L", 4, 4},  // one kind: not through the inverse
        {u"s", u"Hz", 0.5, 2},                                    // a base unit is its own reduction
        {u"Hz", u"s", 4, 0.25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.from) + " -> " + toUtf8(c.to));
        const auto conversion = t.units.convert(c.from, c.to);
        ASSERT_TRUE(conversion.has_value());
        EXPECT_EQ(conversion->apply(c.value), c.expected);
    }
    EXPECT_TRUE(t.units.convert(u"L/100km", u"km/L")->reciprocal);
    EXPECT_FALSE(t.units.convert(u"km/L", u"m/m3")->reciprocal);
    // No inverse of 0, and none of a scale with an offset.
    EXPECT_TRUE(std::isinf(t.units.convert(u"km/L", u"L/100km")->apply(0)));
    EXPECT_FALSE(t.units.convert(u"C", u"1/K").has_value());
    EXPECT_EQ(t.units.errorCode(), ConversionTable::kErrorNotSameUnit);
    EXPECT_FALSE(t.units.convert(u"m", u"Hz").has_value());
}

TEST(UnitConversion, ResultsAreRoundedAtTheTwelfthDigitOfTheLargerTerm)
{
    const UnitConversion fahrenheitToCelsius{0.55555555555555556, -17.777777777777779};
    const struct {
        UnitConversion conversion;
        double value;
        double expected;
    } cases[] = {
        {fahrenheitToCelsius, 32, 0},  // 7.1e-15 unrounded
        {fahrenheitToCelsius, 212, 100},
        {fahrenheitToCelsius, -40, -40},
        {fahrenheitToCelsius, 32.0000001, 5.56e-8},  // far above the noise: kept to 1e-10
        {{0.0254 / 0.01, 0}, 1, 2.54},               // 2.5399999999999996 unrounded
        {{1.0, 0}, 1.23456789012345, 1.23456789012},
        {{1e-3, 0}, 1e-20, 1e-23},
        {{1e3, 0}, 1.5e300, 1.5e303},
        {{1.0, 0}, -0.0, 0.0},
        {{100, 0, true}, 8, 12.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const double result = c.conversion.apply(c.value);
        EXPECT_EQ(result, c.expected);
        EXPECT_FALSE(std::signbit(result) && result == 0.0);
    }
    EXPECT_EQ(UnitConversion({100, 0, true}).apply(0), HUGE_VAL);
    EXPECT_EQ(UnitConversion({100, 0, true}).apply(-0.0), -HUGE_VAL);
}

// The factors of units.dat against their definitions: the SI's exact definitions, NIST SP 811
// (Appendix B) for the customary and CGS units, NIST Handbook 44 (Appendix C) for the US and
// imperial measures, IEC 80000-13 for the binary prefixes.
TEST_F(ShippedUnits, FactorsMatchTheirDefinitions)
{
    const struct {
        const char16_t* from;
        const char16_t* to;
        double expected;  // one unit of `from` in `to`
    } cases[] = {
        {u"thm", u"J", 105505585.262},  // 1e5 BTU (International Table)
        {u"thm US", u"J", 105480400},
        {u"thm EC", u"J", 105506000},
        {u"BTU", u"J", 1055.05585262},
        {u"inHg", u"Pa", 3386.388640341},  // 13,595.1 kg/m3 x 9.80665 m/s2 x 25.4 mm
        {u"mmHg", u"Pa", 133.322387415},
        {u"T", u"G", 1e4},
        {u"G", u"µT", 100},
        {u"nT", u"mG", 0.01},
        {u"fc", u"lx", 1 / (0.3048 * 0.3048)},
        {u"ph", u"lx", 1e4},
        {u"klx", u"fc", 1000 * 0.3048 * 0.3048},
        {u"H", u"mH", 1000},
        {u"nH", u"µH", 1e-3},
        {u"S", u"mS", 1000},
        {u"℧", u"S", 1},
        {u"St", u"m²/s", 1e-4},
        {u"cSt", u"mm²/s", 1},
        {u"ft²/s", u"m²/s", 0.09290304},
        {u"cm²/s", u"St", 1},
        {u"rpm", u"rad/s", 2 * std::numbers::pi / 60},
        {u"rps", u"°/s", 360},
        {u"°/s", u"rad/s", std::numbers::pi / 180},
        {u"rad/min", u"rad/s", 1.0 / 60},
        {u"EB", u"B", 1e18},
        {u"EiB", u"B", 1152921504606846976.0},  // 2^60
        {u"EiB", u"PiB", 1024},
        {u"Gibit", u"bit", 1073741824},  // 2^30
        {u"Tibit", u"Gibit", 1024},
        {u"GiB", u"Gibit", 8},
        {u"cup metric", u"mL", 250},
        {u"tbsp metric", u"mL", 15},
        {u"tsp metric", u"mL", 5},
        {u"cup metric", u"cup", 250 / 236.5882365},  // the US cup: 1/16 US gallon
        {u"mpg US", u"mpg UK", 4.54609 / 3.785411784},
        {u"gal/100 mi", u"L/100 km", 3.785411784 / 1.609344},  // both volume per length
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.from) + " -> " + toUtf8(c.to));
        const auto conversion = table.convert(c.from, c.to);
        ASSERT_TRUE(conversion.has_value()) << toUtf8(table.errorText());
        EXPECT_FALSE(conversion->reciprocal);
        EXPECT_NEAR(conversion->multiplier, c.expected, 1e-14 * c.expected);
        EXPECT_EQ(conversion->offset, 0.0);
    }
}

TEST_F(ShippedUnits, NewKindsReduceToTheirSiDimensions)
{
    const struct {
        const char16_t* unit;
        Items numerator;
        Items denominator;
    } cases[] = {
        {u"T", {u"kg"}, {u"A", u"s", u"s"}},
        {u"lx", {u"cd"}, {u"m", u"m"}},
        {u"H", {u"kg", u"m", u"m"}, {u"A", u"A", u"s", u"s"}},
        {u"S", {u"A", u"A", u"s", u"s", u"s"}, {u"kg", u"m", u"m"}},
        {u"St", {u"m", u"m"}, {u"s"}},
        {u"rps", {u"rad"}, {u"s"}},
        {u"L/100 km", {u"m", u"m"}, {}},
        {u"mpg US", {}, {u"m", u"m"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.unit));
        const int at = table.find(c.unit);
        ASSERT_GT(at, 0);
        UnitRecord reduced = table.reduced(table.units()[static_cast<std::size_t>(at - 1)]);
        std::sort(reduced.numerator.begin(), reduced.numerator.end());
        std::sort(reduced.denominator.begin(), reduced.denominator.end());
        EXPECT_EQ(reduced.numerator, c.numerator);
        EXPECT_EQ(reduced.denominator, c.denominator);
    }
}

// What the converter's other field shows for the answers a user checks first.
TEST_F(ShippedUnits, ExactAnswersShowExactly)
{
    const struct {
        const char16_t* from;
        const char16_t* to;
        double value;
        const char16_t* shown;
    } cases[] = {
        {u"°F", u"°C", 32, u"0"},
        {u"°F", u"°C", 212, u"100"},
        {u"°C", u"°F", 37, u"98.6"},
        {u"°F", u"K", 32, u"273.15"},
        {u"in", u"cm", 1, u"2.54"},
        {u"mi", u"km", 1, u"1.609344"},
        {u"ft", u"m", 1, u"0.3048"},
        {u"L/100 km", u"mpg US", 10, u"23.52145833"},
        {u"L/100 km", u"mpg UK", 10, u"28.24809363"},
        {u"mpg US", u"L/100 km", 30, u"7.84048611"},
        {u"km/L", u"L/100 km", 20, u"5"},
        {u"T", u"G", 1, u"10\u00B8000"},
        {u"thm", u"J", 1, u"105\u00B8505\u00B8585.262"},
        {u"rpm", u"rad/s", 60, u"6.28318531"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.from) + " -> " + toUtf8(c.to));
        const auto conversion = table.convert(c.from, c.to);
        ASSERT_TRUE(conversion.has_value()) << toUtf8(table.errorText());
        EXPECT_EQ(Converter::formatResult(conversion->apply(c.value), OutputFormat::UnitedStates), c.shown);
    }
}

// A converter page that a user left on rpm under Frequency converts as it did, after a restart too.
TEST(ShippedConverter, KeepsRpmUnderFrequency)
{
    TempFolder folder;
    std::filesystem::copy(shippedFile("units.dat"), folder.path() / "units.dat");
    Converter model(folder.path());
    model.showPage(Converter::Page::Units);
    const std::vector<std::u16string> categories = model.categories();
    const auto frequency = std::find(categories.begin(), categories.end(), u"Frequency");
    ASSERT_NE(frequency, categories.end());
    ASSERT_TRUE(model.pickCategory(static_cast<int>(frequency - categories.begin())));
    const std::vector<std::u16string> units = model.unitChoices();
    const auto rpm = std::find(units.begin(), units.end(), u"revolution per minute rpm");
    ASSERT_NE(rpm, units.end());
    ASSERT_TRUE(model.pickUnit(Converter::ValueField::Upper, static_cast<int>(rpm - units.begin())));
    ASSERT_EQ(model.units().lower.caption, u"kHz");
    model.setActiveField(Converter::ValueField::Upper);
    for (const char16_t key : std::u16string_view(u"12"))
        model.handleKey(key);
    EXPECT_EQ(model.units().lower.value, u"0.0002");
    ASSERT_TRUE(model.saveState());

    Converter restarted(folder.path());
    ASSERT_TRUE(restarted.loadState());
    restarted.showPage(Converter::Page::Units);
    EXPECT_EQ(restarted.units().upper.caption, u"rpm");
    EXPECT_EQ(restarted.units().lower.value, u"0.0002");
}

}  // namespace
