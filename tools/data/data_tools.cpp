#include "data_tools.h"

#include <utility>

#include "unreadable_file.h"
#include "utf16.h"

namespace {

constexpr std::u16string_view kMatrixDataError = u"Matrix data error";
constexpr std::string_view kMatrixFile = "matrix.dat";

}  // namespace

DataTools::DataTools(Engine& engine, std::filesystem::path folder) : engine_(engine), folder_(std::move(folder))
{
}

DataTools::~DataTools()
{
    closing();
}

void DataTools::categoryShown(int category)
{
    if (category == kMatricesCategory && !matrices_) {
        matrices_.emplace(engine_);
        matricesSavable_ = folder_.empty() ||
                           matrices_->load(folder_ / kMatrixFile) != MatrixStore::LoadStatus::DataError ||
                           keepUnreadFile(kMatrixFile, kMatrixDataError);
    } else if (category == kStatisticsCategory && !statistics_) {
        statistics_.emplace(engine_);
        statisticsSavable_ =
            folder_.empty() ||
            statistics_->load(folder_ / StatisticsData::kFileName) != StatisticsData::LoadStatus::Error ||
            keepUnreadFile(StatisticsData::kFileName, StatisticsData::kLoadErrorMessage);
    }
}

bool DataTools::keepUnreadFile(std::string_view name, std::u16string_view error)
{
    const SetAsideFile setAside = setAsideUnreadable(folder_ / name);
    message_ = std::u16string(error) + u"\n" + fromUtf8(setAside.message());
    return setAside.moved();
}

void DataTools::categoryLeft(int category)
{
    if (category == kMatricesCategory && matrices_) {
        if (!folder_.empty() && matricesSavable_)
            matrices_->save(folder_ / kMatrixFile);
        // The handles free their slots: the matrices live while their window does.
        matrices_.reset();
    } else if (category == kStatisticsCategory && statistics_) {
        if (!folder_.empty() && statisticsSavable_)
            statistics_->save(folder_ / StatisticsData::kFileName);
        statistics_.reset();
    }
}

std::u16string DataTools::keepMatrixResult()
{
    return matrices_ ? fromUtf8(matrices_->keepResult()) : std::u16string();
}

void DataTools::closing()
{
    categoryLeft(kMatricesCategory);
    categoryLeft(kStatisticsCategory);
}

std::u16string DataTools::takeMessage()
{
    return std::exchange(message_, std::u16string());
}
