#include "rate_list.h"

#include "rate_update.h"
#include "unit_file.h"
#include "utf16.h"

namespace {

std::string bytesOf(const std::filesystem::path& file)
{
    std::string bytes;
    return unitfile::readFile(file, bytes) ? bytes : std::string();
}

}  // namespace

void RateList::show(const std::filesystem::path& file)
{
    readBytes_ = bytesOf(file);
    ConversionTable table;
    table.loadBytes(readBytes_);
    records_ = table.units();
    fillRows();
}

std::string RateList::date() const
{
    return currency::dateOfText(readBytes_);
}

void RateList::fillRows()
{
    rows_.clear();
    for (const UnitRecord& record : records_) {
        const std::string rate = currency::rateText(record.isBase() ? 1.0 : record.factor);
        rows_.push_back({record.symbol, fromUtf8(rate), record.name, record.isBase()});
    }
}

bool RateList::editRate(std::size_t row, std::u16string text)
{
    if (row >= rows_.size() || rows_[row].isBase)
        return false;
    rows_[row].rate = std::move(text);
    return true;
}

bool RateList::save(const std::filesystem::path& file, SaveMode mode)
{
    notTaken_.clear();
    errorText_.clear();
    fileChanged_ = mode == SaveMode::UnlessChanged && bytesOf(file) != readBytes_;
    if (fileChanged_) {
        errorText_ = "Another program changed " + file.filename().string() + " since the rates were shown.";
        return false;
    }
    std::vector<UnitRecord> edited = records_;
    for (std::size_t i = 0; i < edited.size() && i < rows_.size(); ++i) {
        if (rows_[i].isBase)
            continue;
        // An untouched row reads back its own shown text; keep its exact factor instead.
        if (rows_[i].rate == fromUtf8(currency::rateText(edited[i].factor)))
            continue;
        if (!currency::takeRate(edited[i], toUtf8(rows_[i].rate)))
            notTaken_.push_back(edited[i].symbol);
    }
    if (!currency::saveTable(file, currency::firstLineOf(readBytes_), edited, &errorText_))
        return false;
    // The rows show what the file now says, as the converter will read it.
    show(file);
    return true;
}
