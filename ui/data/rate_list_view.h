#pragma once

#include <QDialog>

#include <filesystem>

#include "rate_list.h"

class ConversionTable;
class QLabel;
class QTableWidget;
class QTableWidgetItem;

// The rate list window: the currencies of the converter's table in three columns (Symbol,
// Exchange Rate, Name); the user edits rates in the middle column. "Show rates" fills the list
// from the table again, "Save rates" writes the edited rates into "currency.dat".
class RateListView : public QDialog {
    Q_OBJECT
public:
    RateListView(const ConversionTable& table, std::filesystem::path currencyFile, QWidget* parent = nullptr);

    const RateList& model() const { return model_; }

    void showRates();
    void saveRates();

Q_SIGNALS:
    // "currency.dat" holds new rates: the converter reads them again.
    void ratesSaved();

private:
    void fillTable();
    void rateEdited(QTableWidgetItem* item);

    const ConversionTable& table_;
    std::filesystem::path file_;
    RateList model_;
    QLabel* heading_;
    QTableWidget* grid_;
    bool filling_ = false;
};
