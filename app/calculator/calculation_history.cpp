#include "calculation_history.h"

#include "archive_stream.h"
#include "atomic_file.h"

namespace {

constexpr std::u16string_view kMagic = u"CorvanHistory2";
// Before texts were kept in one form: written in the output format of the time.
constexpr std::u16string_view kFirstVersionMagic = u"CorvanHistory1";
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

void CalculationHistory::deserialize(std::string_view bytes, OutputFormat legacyFormat)
{
    entries_.clear();
    ArchiveReader reader(bytes);
    std::u16string magic;
    std::uint32_t count = 0;
    if (!reader.readString(magic) || (magic != kMagic && magic != kFirstVersionMagic) || !reader.readU32(count))
        return;
    const OutputFormat writtenIn = magic == kMagic ? OutputFormat::UnitedStates : legacyFormat;
    for (std::uint32_t i = 0; i < count && entries_.size() < kMaxEntries; ++i) {
        HistoryEntry entry;
        if (!reader.readString(entry.expression) || !reader.readString(entry.tokenMap) ||
            !reader.readString(entry.result) || !reader.readString(entry.value))
            return;
        entries_.push_back(entry.inOutputFormat(writtenIn));
    }
}

bool CalculationHistory::save(const std::filesystem::path& folder) const
{
    return writeFileAtomically(folder / kFileName, serialize());
}

void CalculationHistory::load(const std::filesystem::path& folder, OutputFormat legacyFormat)
{
    std::string bytes;
    if (readWholeFile(folder / kFileName, bytes, kMaxFileBytes))
        deserialize(bytes, legacyFormat);
    else
        entries_.clear();
}
