#pragma once

#include <QWidget>

class StatisticsData;
class QBoxLayout;
class QGridLayout;
class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

// The statistics data window's panel, shown where the keypads are in the "Statistics"
// category: the "N : n" label, the list of index and editable value, and New Data, Insert row,
// Delete row, Clear all and Done. The rules live in StatisticsData.
class StatisticsDataView : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsDataView(QWidget* parent = nullptr);

    // The open model, or nullptr while the category is not shown.
    void setModel(StatisticsData* model);

public Q_SLOTS:
    void refresh();

Q_SIGNALS:
    // The data set that the engine reads as "LIST" changed.
    void changed();
    void doneClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void editValue(QTableWidgetItem* item);
    void newData();
    void insertRow();
    void deleteRow();
    void clearAll();
    void applyMetrics();
    void afterChange(int selectRow);

    StatisticsData* model_ = nullptr;
    int fontPixels_ = 0;
    bool wide_ = false;

    QBoxLayout* layout_;
    QLabel* countLabel_;
    QTableWidget* list_;
    QGridLayout* buttons_;
    QPushButton* newButton_;
    QPushButton* insertButton_;
    QPushButton* deleteButton_;
    QPushButton* clearButton_;
    QPushButton* doneButton_;
};
