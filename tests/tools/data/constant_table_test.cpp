#include "constant_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "c_number.h"
#include "temp_folder.h"
#include "utf16.h"

namespace {

std::filesystem::path shippedConstants()
{
    return std::filesystem::path(CORVAN_SOURCE_DATA_DIR) / ConstantTable::kFileName;
}

TEST(Constants, ReadsCategoriesAndEntries)
{
    TempFolder folder;
    const auto path = folder.path() / ConstantTable::kFileName;
    ASSERT_TRUE(writeFileAtomically(path,
                                    "#Beginning Math_constants 1\n"
                                    "Pi 3.14159\n"
                                    "Euler's_number:2.71828 ignored\n"
                                    "#ENDING\n"
                                    "#Begin Physics 0\n"
                                    "#Begin Inner 0\n"
                                    "Speed_of_light 299792458\n"
                                    "#End\n"
                                    "Planck 6.62607015e-34\n"
                                    "Lonely\n"
                                    "Later 1\n"
                                    "#End\n"));
    ConstantTable constants(path);
    std::vector<UnitCategory> list;
    ASSERT_TRUE(constants.categories(list));
    EXPECT_EQ(list, (std::vector<UnitCategory>{{u"Math constants", 1}, {u"Physics", 0}}));
    EXPECT_EQ(constants.firstCategory(), (UnitCategory{u"Math constants", 1}));

    std::vector<ConstantEntry> entries;
    ASSERT_TRUE(constants.constantsOf(u"Math constants", entries));
    EXPECT_EQ(entries, (std::vector<ConstantEntry>{{u"Pi", u"3.14159"}, {u"Euler's number", u"2.71828"}}));
    EXPECT_FALSE(constants.constantsOf(u"Physics", entries));
    EXPECT_EQ(constants.error(), 10);
    EXPECT_EQ(entries, (std::vector<ConstantEntry>{{u"Speed of light", u"299792458"}, {u"Planck", u"6.62607015e-34"}}));

    ConstantTable missing(folder.path() / "none.dat");
    EXPECT_FALSE(missing.constantsOf(u"Physics", entries));
    EXPECT_EQ(missing.error(), -1);
}

double valueOf(const std::vector<ConstantEntry>& entries, std::u16string_view prefix)
{
    for (const ConstantEntry& entry : entries) {
        if (entry.name.starts_with(prefix)) {
            double value = 0.0;
            const std::string text = toUtf8(entry.value);
            EXPECT_EQ(cnum::parsePrefix(text, value), text.size()) << text;
            return value;
        }
    }
    ADD_FAILURE() << toUtf8(prefix) << " not shipped";
    return 0.0;
}

// Every shipped value must be a complete number, and the values that follow from others
// must agree with them: a mistyped digit breaks one of these relations.
TEST(ShippedConstants, ValuesAreNumbersThatAgree)
{
    ConstantTable constants(shippedConstants());
    std::vector<UnitCategory> list;
    ASSERT_TRUE(constants.categories(list));
    ASSERT_GE(list.size(), 5u);
    std::vector<ConstantEntry> all;
    for (const UnitCategory& category : list) {
        std::vector<ConstantEntry> entries;
        ASSERT_TRUE(constants.constantsOf(category.name, entries)) << toUtf8(category.name);
        EXPECT_GE(entries.size(), 5u) << toUtf8(category.name);
        for (const ConstantEntry& entry : entries) {
            double value = 0.0;
            const std::string text = toUtf8(entry.value);
            EXPECT_EQ(cnum::parsePrefix(text, value), text.size()) << toUtf8(entry.name);
            EXPECT_TRUE(std::isfinite(value) && value != 0.0) << toUtf8(entry.name);
        }
        all.insert(all.end(), entries.begin(), entries.end());
    }
    const double c = valueOf(all, u"Speed of light");
    const double h = valueOf(all, u"Planck constant");
    const double e = valueOf(all, u"Elementary charge");
    const double k = valueOf(all, u"Boltzmann");
    const double na = valueOf(all, u"Avogadro");
    const double alpha = valueOf(all, u"Fine-structure");
    const double mu0 = valueOf(all, u"Magnetic constant");
    const double eps0 = valueOf(all, u"Electric constant");
    const double me = valueOf(all, u"Electron mass");
    const double mp = valueOf(all, u"Proton mass");
    const double a0 = valueOf(all, u"Bohr radius");
    const double rinf = valueOf(all, u"Rydberg");
    struct Relation {
        const char* what;
        double left;
        double right;
    };
    const Relation relations[] = {
        {"hbar = h/2pi", valueOf(all, u"Reduced Planck"), h / (2 * std::numbers::pi)},
        {"R = NA k", valueOf(all, u"Molar gas"), na * k},
        {"F = NA e", valueOf(all, u"Faraday"), na * e},
        {"1/alpha", valueOf(all, u"Inverse fine"), 1 / alpha},
        {"alpha = e^2/(2 eps0 h c)", alpha, e * e / (2 * eps0 * h * c)},
        {"mu0 eps0 c^2 = 1", mu0 * eps0 * c * c, 1.0},
        {"Z0 = mu0 c", valueOf(all, u"Impedance"), mu0 * c},
        {"KJ = 2e/h", valueOf(all, u"Josephson"), 2 * e / h},
        {"RK = h/e^2", valueOf(all, u"Von Klitzing"), h / (e * e)},
        {"Phi0 = h/2e", valueOf(all, u"Magnetic flux"), h / (2 * e)},
        {"mp/me", valueOf(all, u"Proton-electron"), mp / me},
        {"a0 = alpha/(4 pi Rinf)", a0, alpha / (4 * std::numbers::pi * rinf)},
        {"eV", valueOf(all, u"Electron volt"), e},
        {"pi", valueOf(all, u"Pi"), std::numbers::pi},
        {"e", valueOf(all, u"Euler's number"), std::numbers::e},
        {"phi", valueOf(all, u"Golden ratio"), std::numbers::phi},
        {"gamma", valueOf(all, u"Euler-Mascheroni"), std::numbers::egamma},
        {"ln 10", valueOf(all, u"Natural logarithm of 10"), std::numbers::ln10},
        {"ly = c Julian year", valueOf(all, u"Light year"), c * valueOf(all, u"Julian year")},
    };
    for (const Relation& r : relations)
        EXPECT_NEAR(r.left / r.right, 1.0, 1e-9) << r.what;
}

}  // namespace
