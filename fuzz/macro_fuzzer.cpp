// "macro.mcr": any bytes merge without harm, the list written reads back the same, and the
// macros read expand in a line without harm.
#include "fuzz_support.h"
#include "macro_expansion.h"
#include "macro_library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MacroLibrary read;
    read.merge(fuzz::bytesOf(data, size));

    const std::string written = read.serialize();
    MacroLibrary back;
    fuzz::check(back.merge(written) == MacroLoadStatus::Read, "a written macro file reads without error");
    fuzz::check(back.count() == read.count(), "every macro written is read back");
    for (std::size_t i = 0; i < read.count(); ++i)
        fuzz::check(back.at(i) == read.at(i), "a macro reads back as it was written");
    fuzz::check(back.serialize() == written, "writing what was read back gives the same bytes");

    // A call of each of the first macros, as "=" would expand it.
    std::u16string line;
    for (std::size_t i = 0; i < read.count() && i < 4; ++i)
        line += read.at(i).name + u"(1,(2),3)+";
    expandMacroCalls(line, read.macros());
    return 0;
}
