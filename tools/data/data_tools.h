#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "category_tools.h"
#include "matrix_store.h"
#include "statistics_data.h"

class Engine;

// The data windows' models as the categories open and close them: the statistics data set
// lives while category 3 is shown and the matrix store while category 4 is, each loading its
// file when it opens and saving it when it closes. A file that could not be read in full is
// moved aside first (unreadable_file.h).
class DataTools : public CategoryTools {
public:
    static constexpr int kStatisticsCategory = 3;
    static constexpr int kMatricesCategory = 4;

    // folder is the program folder; an empty path reads and writes nothing.
    DataTools(Engine& engine, std::filesystem::path folder);
    ~DataTools() override;

    void categoryShown(int category) override;
    void categoryLeft(int category) override;
    std::u16string keepMatrixResult() override;
    void closing() override;

    // The open models, when their category is shown.
    MatrixStore* matrices() { return matrices_ ? &*matrices_ : nullptr; }
    StatisticsData* statistics() { return statistics_ ? &*statistics_ : nullptr; }
    // A message for the user from the last load ("Matrix data error", "Load statistics data
    // error!", then where the file that could not be read was moved), or empty; reading it
    // clears it.
    std::u16string takeMessage();

private:
    // After a load that could not read the file in full: moves it aside and says so. Returns
    // whether a save may replace it.
    bool keepUnreadFile(std::string_view name, std::u16string_view error);

    Engine& engine_;
    std::filesystem::path folder_;
    std::optional<MatrixStore> matrices_;
    std::optional<StatisticsData> statistics_;
    std::u16string message_;
    // False while a file that could not be read is still in place: nothing is saved over it.
    bool matricesSavable_ = true;
    bool statisticsSavable_ = true;
};
