#include "calculation_history.h"

#include "archive_stream.h"
#include "atomic_file.h"
#include "unreadable_file.h"

namespace {

constexpr std::u16string_view kMagic = u"CorvanHistory2";
// Before texts were kept in one form: written in the output format of the time.
constexpr std::u16string_view kFirstVersionMagic = u"CorvanHistory1";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// A thousand entries of the longest lines stay far below this.
constexpr std::uintmax_t kMaxFileBytes = 32u * 1024u * 1024u;

}  // namespace

HistoryEntry HistoryEntry::inOutputFormat(OutputFormat format) const
{
    if (format != OutputFormat::European)
        return *this;
    return {exchangeSeparators(expression), tokenMap, exchangeSeparators(result), value};
}

void CalculationHistory::add(HistoryEntry entry)
{
    if (!entries_.empty() && entries_.front() == entry)
        return;
    entries_.insert(entries_.begin(), std::move(entry));
    if (entries_.size() > kMaxEntries)
        entries_.resize(kMaxEntries);
}

std::string CalculationHistory::serialize() const
{
    ArchiveWriter writer;
    writer.writeString(kMagic);
    writer.writeU32(static_cast<std::uint32_t>(entries_.size()));
    for (const HistoryEntry& entry : entries_) {
        writer.writeString(entry.expression);
        writer.writeString(entry.tokenMap);
        writer.writeString(entry.result);
        writer.writeString(entry.value);
    }
    return writer.take();
}

bool CalculationHistory::deserialize(std::string_view bytes, OutputFormat legacyFormat)
{
    entries_.clear();
    if (bytes.empty())
        return true;
    // A text editor may have put a UTF-8 byte-order mark before the first record.
    if (bytes.starts_with(kUtf8Mark))
        bytes.remove_prefix(kUtf8Mark.size());
    ArchiveReader reader(bytes);
    std::u16string magic;
    std::uint32_t count = 0;
    if (!reader.readString(magic) || (magic != kMagic && magic != kFirstVersionMagic) || !reader.readU32(count))
        return false;
    const OutputFormat writtenIn = magic == kMagic ? OutputFormat::UnitedStates : legacyFormat;
    for (std::uint32_t i = 0; i < count && entries_.size() < kMaxEntries; ++i) {
        HistoryEntry entry;
        if (!reader.readString(entry.expression) || !reader.readString(entry.tokenMap) ||
            !reader.readString(entry.result) || !reader.readString(entry.value))
            return false;
        entries_.push_back(entry.inOutputFormat(writtenIn));
    }
    return reader.atEnd();
}

bool CalculationHistory::save(const std::filesystem::path& folder) const
{
    return savable_ && writeFileAtomically(folder / kFileName, serialize());
}

std::optional<std::string> CalculationHistory::load(const std::filesystem::path& folder, OutputFormat legacyFormat)
{
    entries_.clear();
    savable_ = true;
    const std::filesystem::path path = folder / kFileName;
    std::string bytes;
    switch (readDataFile(path, bytes, kMaxFileBytes)) {
    case DataFileRead::Missing: return std::nullopt;
    case DataFileRead::Read:
        if (deserialize(bytes, legacyFormat))
            return std::nullopt;
        break;
    case DataFileRead::Unreadable: break;
    }
    const SetAsideFile setAside = setAsideUnreadable(path);
    savable_ = setAside.moved();
    return setAside.message();
}
