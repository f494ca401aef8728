// "biorythm-users.dat" and "biorythm.dat": the person list reads without harm and reads back as
// written; the advice file parses without harm.
#include "biorhythm.h"
#include "biorhythm_chart.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const BioPersonList persons = readBioPersons(bytes);
    const std::string written = writeBioPersons(persons);
    fuzz::check(readBioPersons(written) == persons, "the person list reads back as it was written");
    for (const BioPerson& person : persons.persons)
        birthDateOfText(person.birth);

    parseBioAdvice(bytes);
    return 0;
}
