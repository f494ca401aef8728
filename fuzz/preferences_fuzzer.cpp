// "preferences.dat": any bytes decode without harm, and what is then written reads back the same.
#include "fuzz_support.h"
#include "preferences_store.h"

namespace {

StoredDate fixedToday()
{
    return StoredDate{2024, 2, 29};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const PreferencesStore store(std::filesystem::path(), fixedToday);
    Preferences read;
    store.reset(read);
    PreferencesStore::decode(fuzz::bytesOf(data, size), read);

    const std::string written = PreferencesStore::encode(read);
    Preferences back;
    store.reset(back);
    fuzz::check(PreferencesStore::decode(written, back) == PreferencesStore::kFieldCount,
                "a written preferences file reads back whole");
    fuzz::check(back == read, "preferences read back equal what was written");
    return 0;
}
