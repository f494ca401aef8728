// A skin: the description file ("Interfaces/<name>.inf") and the colour file it names are read
// from the input, split at the first NUL byte.
#include "fuzz_support.h"
#include "program_folder.h"
#include "skin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view rest = fuzz::bytesOf(data, size);
    const std::string_view description = fuzz::takeUntil(rest, std::string_view("\0", 1));
    fuzz::writeScratch("Interfaces/fuzz.inf", description);
    const std::filesystem::path colours = fuzz::writeScratch("Interfaces/colours.txt", rest);
    const ProgramFolder folder(fuzz::scratchFolder(), fuzz::scratchFolder());
    for (const bool high : {false, true}) {
        loadSkin(folder, u"fuzz.inf", high, !high);
        skinImagePath(folder, "BoderColores", u"fuzz.inf", high);
    }
    SkinColours read;
    loadSkinColours(colours, read);
    return 0;
}
