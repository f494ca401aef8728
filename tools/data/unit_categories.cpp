#include "unit_categories.h"

bool UnitCategories::categories(std::vector<UnitCategory>& categories)
{
    categories.clear();
    error_ = unitfile::readCategories(path_, false, categories);
    return error_ == 0;
}

std::optional<UnitCategory> UnitCategories::firstCategory()
{
    std::optional<UnitCategory> category;
    error_ = unitfile::readFirstCategory(path_, false, category);
    return category;
}

bool UnitCategories::unitsOf(std::u16string_view name, std::vector<UnitRecord>& units)
{
    units.clear();
    error_ = unitfile::readCategoryRecords(path_, false, name, [&](const std::vector<std::u16string>& words, int) {
        UnitRecord record;
        if (!unitfile::parseUnitRecord(words, record))
            return false;
        units.push_back(std::move(record));
        return true;
    });
    return error_ == 0;
}
