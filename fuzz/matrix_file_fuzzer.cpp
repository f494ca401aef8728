// "matrix.dat": any bytes load without harm, and the grid of each matrix read can be shown.
#include "engine.h"
#include "fuzz_support.h"
#include "matrix_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Engine engine;
    MatrixStore store(engine);
    store.load(fuzz::writeScratch("matrix.dat", fuzz::bytesOf(data, size)));
    return 0;
}
