// The engine's evaluator: the first byte picks the mode, radix, word size and angle mode, the
// rest is engine text. A few variables hold values, a matrix and the statistics list.
#include "engine.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static constexpr int kRadixes[] = {10, 2, 8, 16};
    static constexpr int kWords[] = {8, 16, 32, 64};
    const unsigned choice = data[0];
    const std::string_view text = fuzz::bytesOf(data + 1, size - 1);

    Engine engine;
    engine.settings.angleMode = static_cast<AngleMode>(choice % 3);
    engine.settings.wordSize = kWords[(choice >> 2) % 4];
    const double matrix[] = {4, 1, 2, 3, 5, 1, 2, 1, 6};
    engine.slots.storeMatrix(VariableSlots::find("VA"), 3, 3, matrix);
    const double list[] = {1, 2, 2, 3.5, -7};
    engine.slots.storeMatrix(VariableSlots::kList, 5, 1, list);
    engine.slots[VariableSlots::find("VB")].storeScalar(2.5);
    const bool matrixMode = (choice >> 4) & 1;
    const int radix = matrixMode ? 10 : kRadixes[(choice >> 5) % 4];
    engine.settings.displayMode = radix != 10 ? kDisplayModeBase : matrixMode ? kDisplayModeMatrix : 0;
    engine.resetError();
    const fuzz::TimeLimit limit(engine);
    engine.evaluate(text, matrixMode ? Engine::kModeMatrix : Engine::kModeScalar, radix);
    fuzz::check(engine.error() >= ErrorCode::kLowest && engine.error() <= 0, "the error is a known code");
    return 0;
}
