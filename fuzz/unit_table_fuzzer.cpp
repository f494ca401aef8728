// "units.dat" (and "currency.dat", which the same loader reads): the conversion table, its
// categories and a conversion between units of the file.
#include "conversion_table.h"
#include "fuzz_support.h"
#include "unit_categories.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::filesystem::path path = fuzz::writeScratch("units.dat", fuzz::bytesOf(data, size));
    ConversionTable table;
    table.load(path);
    const std::vector<UnitRecord>& units = table.units();
    for (std::size_t i = 0; i + 1 < units.size() && i < 8; ++i) {
        table.convert(units[i].name, units[i + 1].symbol);
        table.reduced(units[i]);
    }

    UnitCategories categories(path);
    std::vector<UnitCategory> list;
    categories.categories(list);
    if (const std::optional<UnitCategory> first = categories.firstCategory()) {
        std::vector<UnitRecord> records;
        categories.unitsOf(first->name, records);
    }
    return 0;
}
