#pragma once

#include <QDialog>
#include <QWidget>

#include <memory>

#include "biorhythm.h"
#include "good_bad_days.h"
#include "program_folder.h"

struct Preferences;

class QCheckBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class QComboBox;
class QPushButton;
class QTextBrowser;
class QTreeWidget;

// The four curves of the biorhythm chart, drawn from the pixels the model computed.
class BiorhythmChartView : public QWidget {
    Q_OBJECT
public:
    explicit BiorhythmChartView(QWidget* parent = nullptr);
    void setChart(const BiorhythmChart* chart);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const BiorhythmChart* chart_ = nullptr;
};

// The biorhythm window's panel in the "Biorhythm" category. It covers the whole calculator
// window except a band left free for the category bar: the chart and the date labels above
// the band, the persons, the report and the remarkable days below it. The Biorhythm model
// lives from openWindow() to closeWindow(), as the window does, so its files are read and written then.
class BiorhythmView : public QWidget {
    Q_OBJECT
public:
    BiorhythmView(Preferences& preferences, ProgramFolder folder, QWidget* parent = nullptr);
    ~BiorhythmView() override;

    // The rows [top, top + height) stay free for the window's category bar.
    void setBand(int top, int height);
    // Creates the model (reading the person and advice files) unless it is open already.
    void openWindow();
    // Saves the persons, hands the birth date to the preferences and drops the model.
    void closeWindow();
    const Biorhythm* model() const { return model_.get(); }

    // The pickers' results, as the date buttons set them.
    void setBirthDate(StoredDate date);
    void setViewDate(StoredDate date);

public Q_SLOTS:
    // Draws the chart, rebuilds the report and the labels (the date order may have changed).
    void refresh();
    // Only the date labels, in the preferences' date order.
    void showDates();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeChildren();
    // Landscape and square windows: captions apart from the dates, remarkable days in the
    // person row. Portrait: "Date of birth: ..." and "Date to view: ..." on the date buttons.
    void arrangeForShape(bool landscape);
    void showPersons();
    void chooseBirthDate();
    void chooseViewDate();
    void openRemarkableDays();
    DateOrder dateOrder() const;

    Preferences& preferences_;
    ProgramFolder folder_;
    std::unique_ptr<Biorhythm> model_;
    int bandTop_ = 0;
    int bandHeight_ = 0;

    QWidget* header_;
    QWidget* body_;
    BiorhythmChartView* chart_;
    QGridLayout* datesGrid_;
    QHBoxLayout* personRow_;
    QVBoxLayout* bodyLayout_;
    // Landscape only: the captions that stand apart from the two dates.
    QLabel* birthCaption_;
    QLabel* viewCaption_;
    QPushButton* birthButton_;
    QPushButton* viewButton_;
    bool landscape_ = false;
    QComboBox* persons_;
    QPushButton* newButton_;
    QPushButton* removeButton_;
    QTextBrowser* report_;
    QPushButton* daysButton_;
};

// The "Remarkable days" dialog: the good and bad days after the view date, over the
// GoodBadDays model.
class GoodBadDaysView : public QDialog {
    Q_OBJECT
public:
    GoodBadDaysView(StoredDate birth, StoredDate view, DateOrder order, QWidget* parent = nullptr);

    const GoodBadDays& model() const { return model_; }

private:
    void showRows();
    void fitWindow(QWidget* window);

    GoodBadDays model_;
    DateOrder order_;
    QCheckBox* good_;
    QCheckBox* bad_;
    QComboBox* years_;
    QTreeWidget* list_;
    QGridLayout* boxes_;
};

// "Select date of birth" and "Select a date to view": a date in the date order, or an
// invalid date when cancelled.
StoredDate pickBioDate(const QString& title, StoredDate start, DateOrder order, QWidget* parent);
