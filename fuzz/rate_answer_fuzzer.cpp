// The body of the rate server's answer (an ECB document or a "currency.dat" table): whatever
// the update accepts, the loader of "currency.dat" must read, so an update never replaces a
// good file with one the converter cannot load.
#include <cstdlib>

#include "conversion_table.h"
#include "fuzz_support.h"
#include "rate_update.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    int errorClass = 0;
    std::string errorText;
    const std::optional<std::string> rates =
        RateUpdate::ratesFromAnswer(fuzz::bytesOf(data, size), {}, errorClass, errorText);
    if (rates) {
        const std::filesystem::path path = fuzz::writeScratch("currency.dat", *rates);
        ConversionTable table;
        if (!table.load(path))
            std::abort();
        currency::dateOf(path);
        for (const UnitRecord& record : table.units())
            currency::rateText(record.factor);
    }
    return 0;
}
