// "Converter.dat": any bytes are taken without harm, and the state written reads back the same.
#include "converter.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Converter converter(fuzz::scratchFolder());
    converter.takeStateBytes(fuzz::bytesOf(data, size));
    const std::string written = converter.stateBytes();
    Converter back(fuzz::scratchFolder());
    fuzz::check(back.takeStateBytes(written), "a written converter state reads back whole");
    fuzz::check(back.stateBytes() == written, "the converter state reads back as it was written");
    return 0;
}
