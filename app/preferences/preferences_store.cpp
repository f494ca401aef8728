#include "preferences_store.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <utility>

#include "archive_stream.h"
#include "atomic_file.h"
#include "program_folder.h"

namespace {

// A real preferences file is about two hundred bytes; anything near this size is not one.
constexpr std::uintmax_t kMaxFileSize = 1024 * 1024;
constexpr std::size_t kMaxFileNameLength = 255;

bool readFlag(ArchiveReader& in, bool& flag)
{
    std::uint32_t value = 0;
    if (!in.readU32(value))
        return false;
    flag = value != 0;
    return true;
}

bool readClamped(ArchiveReader& in, std::uint32_t& field, std::uint32_t low, std::uint32_t high)
{
    std::uint32_t value = 0;
    if (!in.readU32(value))
        return false;
    field = std::clamp(value, low, high);
    return true;
}

// The file keeps the modes as texts, the default's first: it also stands for any other text
// read, and for a mode without a text of its own (OutputFormat::Other) when writing.
template <typename Mode>
struct ModeName {
    Mode mode;
    std::u16string_view name;
};

constexpr std::array<ModeName<InputMode>, 3> kInputModeNames = {{
    {InputMode::StringStandard, u"String-Standard"},
    {InputMode::BasicStandard, u"Basic-Standard"},
    {InputMode::BasicRpn, u"Basic-RPN"},
}};

constexpr std::array<ModeName<OutputFormat>, 2> kOutputFormatNames = {{
    {OutputFormat::UnitedStates, u"United States"},
    {OutputFormat::European, u"European"},
}};

template <typename Mode, std::size_t N>
void writeMode(ArchiveWriter& out, Mode mode, const std::array<ModeName<Mode>, N>& names)
{
    const auto named =
        std::find_if(names.begin(), names.end(), [mode](const ModeName<Mode>& entry) { return entry.mode == mode; });
    out.writeString(named != names.end() ? named->name : names.front().name);
}

template <typename Mode, std::size_t N>
bool readMode(ArchiveReader& in, Mode& field, const std::array<ModeName<Mode>, N>& names)
{
    std::u16string text;
    if (!in.readString(text))
        return false;
    const auto named =
        std::find_if(names.begin(), names.end(), [&text](const ModeName<Mode>& entry) { return entry.name == text; });
    field = named != names.end() ? named->mode : names.front().mode;
    return true;
}

// The sound and skin names are joined to a folder, so a name that could climb out of it or
// name the folder itself falls back to the default.
bool readFileName(ArchiveReader& in, std::u16string& field, std::u16string_view fallback)
{
    std::u16string name;
    if (!in.readString(name))
        return false;
    const bool plain = !name.empty() && name.size() <= kMaxFileNameLength && name != u"." && name != u".." &&
                       name.find_first_of(u"/\\", 0, 2) == std::u16string::npos &&
                       name.find(u'\0') == std::u16string::npos;
    field = plain ? std::move(name) : std::u16string(fallback);
    return true;
}

void writeFlag(ArchiveWriter& out, bool flag)
{
    out.writeU32(flag ? 1 : 0);
}

const Preferences kDefaults;

struct FieldCodec {
    void (*write)(ArchiveWriter&, const Preferences&);
    bool (*read)(ArchiveReader&, Preferences&);
};

// The sixteen fields in file order. Each read takes its field whole or not at all.
constexpr FieldCodec kFields[PreferencesStore::kFieldCount] = {
    {[](ArchiveWriter& out, const Preferences& p) { writeFlag(out, p.transparencyEnabled); },
     [](ArchiveReader& in, Preferences& p) { return readFlag(in, p.transparencyEnabled); }},
    {[](ArchiveWriter& out, const Preferences& p) { out.writeU32(p.transparencyLevel); },
     [](ArchiveReader& in, Preferences& p) { return readClamped(in, p.transparencyLevel, 0, kMaxTransparencyLevel); }},
    {[](ArchiveWriter& out, const Preferences& p) { writeFlag(out, p.tapHoldEnabled); },
     [](ArchiveReader& in, Preferences& p) { return readFlag(in, p.tapHoldEnabled); }},
    {[](ArchiveWriter& out, const Preferences& p) { out.writeU32(p.tapHoldInterval); },
     [](ArchiveReader& in, Preferences& p) {
         return readClamped(in, p.tapHoldInterval, kMinTapHoldInterval, kMaxTapHoldInterval);
     }},
    {[](ArchiveWriter& out, const Preferences& p) { out.writeU8(p.fixDigits); },
     [](ArchiveReader& in, Preferences& p) {
         std::uint8_t digits = 0;
         if (!in.readU8(digits))
             return false;
         p.fixDigits = std::min(digits, kMaxFixDigits);
         return true;
     }},
    {[](ArchiveWriter& out, const Preferences& p) { writeFlag(out, p.hardKeyScrolling); },
     [](ArchiveReader& in, Preferences& p) { return readFlag(in, p.hardKeyScrolling); }},
    {[](ArchiveWriter& out, const Preferences& p) { writeFlag(out, p.soundEnabled); },
     [](ArchiveReader& in, Preferences& p) { return readFlag(in, p.soundEnabled); }},
    {[](ArchiveWriter& out, const Preferences& p) { writeFlag(out, p.tooltipsEnabled); },
     [](ArchiveReader& in, Preferences& p) { return readFlag(in, p.tooltipsEnabled); }},
    {[](ArchiveWriter& out, const Preferences& p) {
         for (const bool enabled : p.navEnabled)
             writeFlag(out, enabled);
     },
     [](ArchiveReader& in, Preferences& p) {
         if (in.remaining() < 4 * p.navEnabled.size())
             return false;
         for (bool& enabled : p.navEnabled)
             readFlag(in, enabled);
         return true;
     }},
    {[](ArchiveWriter& out, const Preferences& p) {
         for (const std::uint8_t code : p.navOrder)
             out.writeU8(code);
     },
     [](ArchiveReader& in, Preferences& p) {
         std::array<std::uint8_t, 9> order{};
         if (in.remaining() < order.size())
             return false;
         for (std::uint8_t& code : order)
             in.readU8(code);
         // The check marks belong to positions of the order; with the order lost they mean
         // nothing, so every category is scrolled again.
         if (isValidNavOrder(order)) {
             p.navOrder = order;
         } else {
             p.navOrder = kDefaults.navOrder;
             p.navEnabled = kDefaults.navEnabled;
         }
         return true;
     }},
    {[](ArchiveWriter& out, const Preferences& p) { out.writeString(p.soundName); },
     [](ArchiveReader& in, Preferences& p) { return readFileName(in, p.soundName, kDefaults.soundName); }},
    {[](ArchiveWriter& out, const Preferences& p) { out.writeString(p.skinName); },
     [](ArchiveReader& in, Preferences& p) { return readFileName(in, p.skinName, kDefaults.skinName); }},
    {[](ArchiveWriter& out, const Preferences& p) { out.writeU8(p.lastCategory); },
     [](ArchiveReader& in, Preferences& p) {
         std::uint8_t code = 0;
         if (!in.readU8(code))
             return false;
         p.lastCategory = code <= kMaxCategoryCode ? code : kDefaults.lastCategory;
         return true;
     }},
    {[](ArchiveWriter& out, const Preferences& p) {
         const StoredDate date = p.rememberedDate.isValid() ? p.rememberedDate : StoredDate::invalid();
         out.writeI32(date.year);
         out.writeI32(date.month);
         out.writeI32(date.day);
     },
     [](ArchiveReader& in, Preferences& p) {
         if (in.remaining() < 12)
             return false;
         StoredDate date;
         in.readI32(date.year);
         in.readI32(date.month);
         in.readI32(date.day);
         p.rememberedDate = date.isValid() ? date : StoredDate::invalid();
         return true;
     }},
    {[](ArchiveWriter& out, const Preferences& p) { writeMode(out, p.inputMode, kInputModeNames); },
     [](ArchiveReader& in, Preferences& p) { return readMode(in, p.inputMode, kInputModeNames); }},
    {[](ArchiveWriter& out, const Preferences& p) { writeMode(out, p.outputFormat, kOutputFormatNames); },
     [](ArchiveReader& in, Preferences& p) { return readMode(in, p.outputFormat, kOutputFormatNames); }},
};

// A URL read back: printable ASCII of a sensible length, else the default source.
std::u16string repairedUrl(std::u16string url)
{
    const bool printable = std::all_of(url.begin(), url.end(), [](char16_t c) { return c > u' ' && c < 0x7F; });
    if (url.empty() || url.size() > kMaxRateSourceUrlLength || !printable)
        return std::u16string(kDefaultRateSourceUrl);
    return url;
}

}  // namespace

PreferencesStore::PreferencesStore(std::filesystem::path folder, TodayFunction today)
    : folder_(std::move(folder)), today_(std::move(today))
{
}

PreferencesStore::PreferencesStore(const ProgramFolder& folder, TodayFunction today)
    : PreferencesStore(folder.path(), std::move(today))
{
}

void PreferencesStore::reset(Preferences& preferences) const
{
    preferences = Preferences{};
    preferences.rememberedDate = today_ ? today_() : localToday();
}

PreferencesLoadResult PreferencesStore::load(Preferences& preferences) const
{
    std::string bytes;
    if (!readWholeFile(filePath(), bytes, kMaxFileSize))
        return PreferencesLoadResult::Missing;
    return decode(bytes, preferences) == kFieldCount ? PreferencesLoadResult::Complete : PreferencesLoadResult::Damaged;
}

bool PreferencesStore::save(const Preferences& preferences) const
{
    return writeFileAtomically(filePath(), encode(preferences));
}

std::string PreferencesStore::encode(const Preferences& preferences)
{
    ArchiveWriter out;
    for (const FieldCodec& field : kFields)
        field.write(out, preferences);
    writeFlag(out, preferences.pocketKeyboardLetters);
    // The address is written when it is not the default, or when a flag follows it.
    if (preferences.rateSourceUrl != kDefaultRateSourceUrl || preferences.pocketLineEditing)
        out.writeString(preferences.rateSourceUrl);
    if (preferences.pocketLineEditing)
        writeFlag(out, true);
    return out.take();
}

int PreferencesStore::decode(std::string_view bytes, Preferences& preferences)
{
    ArchiveReader in(bytes);
    int count = 0;
    while (count < kFieldCount && kFields[count].read(in, preferences))
        ++count;
    // The desktop's own settings follow the sixteen fields, where a reader of the original format
    // stops: without the flag the record keeps its value, without the URL the default source.
    if (count == kFieldCount) {
        readFlag(in, preferences.pocketKeyboardLetters);
        std::u16string url;
        preferences.rateSourceUrl =
            in.readString(url) ? repairedUrl(std::move(url)) : std::u16string(kDefaultRateSourceUrl);
        preferences.pocketLineEditing = false;
        readFlag(in, preferences.pocketLineEditing);
    }
    return count;
}

StoredDate PreferencesStore::localToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr)
        return StoredDate::invalid();
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}
