#include "constant_table.h"

bool ConstantTable::categories(std::vector<UnitCategory>& categories)
{
    categories.clear();
    error_ = unitfile::readCategories(path_, true, categories);
    return error_ == 0;
}

std::optional<UnitCategory> ConstantTable::firstCategory()
{
    std::optional<UnitCategory> category;
    error_ = unitfile::readFirstCategory(path_, true, category);
    return category;
}

bool ConstantTable::constantsOf(std::u16string_view name, std::vector<ConstantEntry>& constants)
{
    constants.clear();
    error_ = unitfile::readCategoryRecords(path_, true, name, [&](const std::vector<std::u16string>& words, int) {
        if (words.size() < 2)
            return false;
        constants.push_back({unitfile::underscoresToBlanks(words[0]), unitfile::underscoresToBlanks(words[1])});
        return true;
    });
    return error_ == 0;
}
