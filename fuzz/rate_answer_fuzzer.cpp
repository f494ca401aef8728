// The rate server's answer: the HTTP answer is checked and its table taken out, and that table
// is read by the loader of "currency.dat".
#include "conversion_table.h"
#include "fuzz_support.h"
#include "rate_update.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    int errorClass = 0;
    std::string errorText;
    const std::optional<std::string> rates =
        RateUpdate::ratesFromAnswer(fuzz::bytesOf(data, size), errorClass, errorText);
    if (rates) {
        const std::filesystem::path path = fuzz::writeScratch("currency.dat", *rates);
        ConversionTable table;
        table.load(path);
        currency::dateOf(path);
        for (const UnitRecord& record : table.units())
            currency::rateText(record.factor);
    }
    return 0;
}
