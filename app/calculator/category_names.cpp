#include "category_names.h"

#include <array>

#include "keypads.h"

namespace {

constexpr std::array<std::u16string_view, 15> kNames = {
    u"Arithmetic", u"Trigonometry", u"Base conversion", u"Statistics",         u"Matrices",
    u"Finance",    u"Tip",          u"Unit converter",  u"Currency converter", u"Constants",
    u"Biorhythm",  u"Macros",       u"Equation solver", u"Function graphs",    u"Date - Time",
};

}  // namespace

std::u16string_view categoryName(int category)
{
    if (category < 0 || category >= static_cast<int>(kNames.size()))
        return {};
    return kNames[static_cast<std::size_t>(category)];
}

bool categoryHasKeypad(int category)
{
    return category >= CategoryCode::kArithmetic && category <= CategoryCode::kFinance;
}
