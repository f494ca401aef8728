// "statistics.dat": any bytes load without harm, and every value read has a row text.
#include "engine.h"
#include "fuzz_support.h"
#include "statistics_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Engine engine;
    StatisticsData statistics(engine);
    statistics.load(fuzz::writeScratch("statistics.dat", fuzz::bytesOf(data, size)));
    for (int row = 0; row < statistics.count(); ++row)
        statistics.valueText(row);
    return 0;
}
