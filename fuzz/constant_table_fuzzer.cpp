// "const.dat": the categories and the constants of the first one.
#include "constant_table.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ConstantTable table(fuzz::writeScratch("const.dat", fuzz::bytesOf(data, size)));
    std::vector<UnitCategory> categories;
    table.categories(categories);
    if (const std::optional<UnitCategory> first = table.firstCategory()) {
        std::vector<ConstantEntry> constants;
        table.constantsOf(first->name, constants);
    }
    return 0;
}
