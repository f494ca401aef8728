#pragma once

#include <QWidget>

#include <filesystem>

#include "converter.h"
#include "rate_update_view.h"

struct Preferences;

class QGridLayout;
class QKeyEvent;
class QLabel;
class QListWidget;
class QPushButton;
class QVBoxLayout;

// The converter panel, shown where the keypads are in the unit, currency and constants
// categories: the top field (category, or the date of the rates), two value fields with their
// unit buttons and a small keypad (with a sign key, a key that swaps the units and one that
// copies the result); on the constants page the category, name and value of a constant. The
// pick lists take the keyboard while open: typing filters them, the arrow keys move, Enter
// picks. Keys and picks go to the Converter model, which this panel owns; the
// state file is read when the panel is made and written when it goes.
class ConverterView : public QWidget {
    Q_OBJECT
public:
    // dataFolder holds the data files; stateFolder "Converter.dat" (empty: no state file).
    ConverterView(Preferences& preferences, const std::filesystem::path& dataFolder,
                  const std::filesystem::path& stateFolder, QWidget* parent = nullptr);
    ~ConverterView() override;

    // The key code that moves the typing to the other value field (Tab, the arrow keys).
    static constexpr char16_t kSwapField = u'\t';
    // The panel's key that lets the two units trade places.
    static constexpr char16_t kSwapUnits = u'\u21C5';
    // The panel's key that copies the converted value.
    static constexpr char16_t kCopyResult = u'\u2398';

    const Converter& model() const { return model_; }

    // Shows the page of a category (7 units, 8 currencies, 9 constants).
    void showCategory(int category);
    // A keyboard key of the main window. True when the panel took it.
    bool takeKey(QKeyEvent* event);
    void pressKey(char16_t code);
    // Puts the converted value (or, on the constants page, the constant's value) on the
    // clipboard; the window's "Copy result" comes here while the panel is shown.
    void copyResult();
    // How a rate update downloads (tests: short timeouts, direct, their own certificate).
    void setRateDownloadSettings(RateUpdateView::DownloadSettings settings) { downloadSettings_ = std::move(settings); }
    // The rate update window (the date field of the currency page) and the rate list (the
    // rates button beside it).
    void openRateUpdate();
    void openRateList();

public Q_SLOTS:
    void refresh();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class ListKind { None, Category, Upper, Lower, Constant };
    void openList(ListKind kind);
    void closeList();
    void listPicked(int row);
    bool takeListKey(QKeyEvent* event);
    void filterList();
    void moveListRow(int steps);
    void placeList();
    void topClicked();
    void rateUpdateStarted(const QString& url);
    void rateUpdateFinished(bool succeeded, bool cancelled, const QString& message, const QString& detail);
    void applyMetrics();
    // A message box for a data file that the model could not read whole.
    void tellDataProblem();

    Preferences& preferences_;
    Converter model_;
    int fontPixels_ = 0;
    int shownCategory_ = -1;
    ListKind listKind_ = ListKind::None;
    QString listSearch_;

    QVBoxLayout* rows_;
    QLabel* top_;
    QPushButton* ratesButton_;
    RateUpdateView::DownloadSettings downloadSettings_;
    QLabel* upper_;
    QLabel* lower_;
    QPushButton* upperUnit_;
    QPushButton* lowerUnit_;
    QLabel* constantName_;
    QLabel* constantValue_;
    QPushButton* copyButton_;
    QWidget* keys_;
    QGridLayout* keysGrid_;
    QListWidget* list_;
    QLabel* listSearchLabel_;
};
