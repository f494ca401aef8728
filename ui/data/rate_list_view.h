#pragma once

#include <QDialog>

#include <filesystem>

#include "rate_list.h"

class QLabel;
class QTableWidget;
class QTableWidgetItem;

// The rate list window: the currencies of "currency.dat" in three columns (Symbol, Exchange
// Rate, Name); the user edits rates in the middle column. "Show rates" fills the list from the
// file again, "Save rates" writes the edited rates into it. When another program saved other
// rates meanwhile, Save asks whether to write the list over them or to show them.
class RateListView : public QDialog {
    Q_OBJECT
public:
    explicit RateListView(std::filesystem::path currencyFile, QWidget* parent = nullptr);

    const RateList& model() const { return model_; }

    void showRates();
    void saveRates(RateList::SaveMode mode = RateList::SaveMode::UnlessChanged);

Q_SIGNALS:
    // "currency.dat" holds new rates: the converter reads them again.
    void ratesSaved();

private:
    void fillTable();
    void rateEdited(QTableWidgetItem* item);
    void askAboutChangedFile();

    std::filesystem::path file_;
    RateList model_;
    QLabel* heading_;
    QTableWidget* grid_;
    bool filling_ = false;
};
