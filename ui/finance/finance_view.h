#pragma once

#include <QWidget>

#include <array>
#include <vector>

#include "loan_calculator.h"
#include "mortgage_calculator.h"
#include "payment_schedule.h"
#include "time_value_of_money_calculator.h"

class NumberPadView;
class QBoxLayout;
class QCheckBox;
class SkinPixmaps;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStackedLayout;
class QTableWidget;
struct Preferences;

// The finance windows, shown as panels over the keypads and the display of the finance
// category. Each owns its model; the fields forward every edit to it and show back what it
// keeps. Every field can be filled from the panel's number pad alone (the skin's "LargeButtons"
// and "LargeFonts"), whose OK calculates. Done closes the panel.

class TimeValueOfMoneyCalculatorView : public QWidget {
    Q_OBJECT
public:
    explicit TimeValueOfMoneyCalculatorView(QWidget* parent = nullptr);

    const TimeValueOfMoneyCalculator& model() const { return model_; }
    NumberPadView* numberPad() const { return pad_; }
    void setSkin(const SkinPixmaps& skin);
    // Solves the chosen quantity, as the Calculate button does; a payment that never covers
    // the interest is said in a message box.
    void calculate();
    void chooseSolved(std::size_t field);

Q_SIGNALS:
    void doneClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The focus goes on to the field the number pad types into.
    void focusInEvent(QFocusEvent* event) override;

private:
    void showModel();
    void applyMetrics();

    TimeValueOfMoneyCalculator model_;
    std::array<QLineEdit*, TimeValueOfMoneyCalculator::kFieldCount> fields_{};
    std::array<QLabel*, TimeValueOfMoneyCalculator::kFieldCount + 1> labels_{};
    std::array<QRadioButton*, TimeValueOfMoneyCalculator::kSolvableCount> solveButtons_{};
    QComboBox* paymentType_;
    QWidget* form_;
    class QGridLayout* grid_;
    NumberPadView* pad_;
    QBoxLayout* split_;
    int fontPixels_ = 0;
    bool padBeside_ = false;
};

// The list and summary lines of a loan or mortgage schedule, with a Back button to the form.
class FinanceReportView : public QWidget {
    Q_OBJECT
public:
    explicit FinanceReportView(QWidget* parent = nullptr);

    // summaryAbove: the loan shows its summary above the list, the mortgage below it.
    void showReport(std::u16string_view title, const paymentSchedule::ScheduleReport& report, bool summaryAbove);
    // The list's type size; the panel's follows the window.
    void setFontPixels(int pixels);
    QTableWidget* table() const { return table_; }
    QLabel* summary() const { return summary_; }

Q_SIGNALS:
    void backClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeSummary();
    void fitColumns();

    bool summaryAbove_ = true;
    QLabel* title_;
    QLabel* summary_;
    QTableWidget* table_;
    class QVBoxLayout* layout_;
    class QBoxLayout* body_;
};

// The loan and mortgage windows: a form page (fields, number pad, Calculate and Done) and the
// report page of the schedule, with Back to the form.
class ScheduleCalculatorView : public QWidget {
    Q_OBJECT
public:
    FinanceReportView* report() const { return report_; }
    NumberPadView* numberPad() const { return pad_; }
    void setSkin(const SkinPixmaps& skin);
    // Validates and shows the schedule, or the message that says why there is none.
    virtual void calculate() = 0;

Q_SIGNALS:
    void doneClicked();

protected:
    ScheduleCalculatorView(const Preferences& preferences, QWidget* parent);
    // Builds the form page: the title, one row per label (a field after it; an empty label
    // leaves the row's first cell to the caller), the pad and the buttons.
    template <std::size_t N>
    void buildForm(std::u16string_view title, const std::array<std::u16string_view, N>& labels,
                   std::array<QLineEdit*, N>& fields, const QString& objectPrefix);
    // A wider widget in place of the last row's label (the loan's check box), on a row of its
    // own above the field.
    void setLastRowLead(QWidget* lead);
    void showSchedule(std::u16string_view title, const paymentSchedule::ScheduleReport& report, bool summaryAbove);
    void showMessage(std::u16string_view caption, std::u16string_view message);
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

    const Preferences& preferences_;

private:
    void applyMetrics();

    QWidget* form_ = nullptr;
    class QGridLayout* grid_ = nullptr;
    std::vector<QLabel*> labels_;
    std::vector<QLineEdit*> fields_;
    std::vector<QWidget*> leads_;
    NumberPadView* pad_ = nullptr;
    QBoxLayout* split_ = nullptr;
    QStackedLayout* pages_ = nullptr;
    FinanceReportView* report_ = nullptr;
    std::size_t rows_ = 0;
    int fontPixels_ = 0;
    bool padBeside_ = false;
};

class LoanCalculatorView : public ScheduleCalculatorView {
    Q_OBJECT
public:
    LoanCalculatorView(const Preferences& preferences, QWidget* parent = nullptr);

    const LoanCalculator& model() const { return model_; }
    void calculate() override;

private:
    void showModel();

    LoanCalculator model_;
    std::array<QLineEdit*, LoanCalculator::kFieldCount> fields_{};
    QCheckBox* computePayment_;
};

class MortgageCalculatorView : public ScheduleCalculatorView {
    Q_OBJECT
public:
    MortgageCalculatorView(const Preferences& preferences, QWidget* parent = nullptr);

    const MortgageCalculator& model() const { return model_; }
    void calculate() override;

private:
    void showModel();

    MortgageCalculator model_;
    std::array<QLineEdit*, MortgageCalculator::kFieldCount> fields_{};
};
