#pragma once

#include <QWidget>

#include <array>

#include "loan_calculator.h"
#include "mortgage_calculator.h"
#include "payment_schedule.h"
#include "time_value_of_money_calculator.h"

class Calculator;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStackedLayout;
class QTableWidget;

// The finance windows, shown as panels over the keypads of the finance category. Each owns its
// model; the fields forward every edit to it and show back what it keeps. Done closes the panel.

class TimeValueOfMoneyCalculatorView : public QWidget {
    Q_OBJECT
public:
    explicit TimeValueOfMoneyCalculatorView(QWidget* parent = nullptr);

    const TimeValueOfMoneyCalculator& model() const { return model_; }
    // Solves the chosen quantity, as the Calculate button does.
    void calculate();
    void chooseSolved(std::size_t field);

Q_SIGNALS:
    void doneClicked();

private:
    void showModel();

    TimeValueOfMoneyCalculator model_;
    std::array<QLineEdit*, TimeValueOfMoneyCalculator::kFieldCount> fields_{};
    std::array<QRadioButton*, TimeValueOfMoneyCalculator::kSolvableCount> solveButtons_{};
    QComboBox* paymentType_;
};

// The list and summary lines of a loan or mortgage schedule, with a Back button to the form.
class FinanceReportView : public QWidget {
    Q_OBJECT
public:
    explicit FinanceReportView(QWidget* parent = nullptr);

    // summaryAbove: the loan shows its summary above the list, the mortgage below it.
    void showReport(std::u16string_view title, const paymentSchedule::ScheduleReport& report, bool summaryAbove);
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

class LoanCalculatorView : public QWidget {
    Q_OBJECT
public:
    LoanCalculatorView(Calculator& frame, QWidget* parent = nullptr);

    const LoanCalculator& model() const { return model_; }
    FinanceReportView* report() const { return report_; }
    // Validates and shows the schedule, or the input error message.
    void calculate();

Q_SIGNALS:
    void doneClicked();

private:
    void showModel();

    Calculator& frame_;
    LoanCalculator model_;
    std::array<QLineEdit*, LoanCalculator::kFieldCount> fields_{};
    QCheckBox* computePayment_;
    QStackedLayout* pages_;
    FinanceReportView* report_;
};

class MortgageCalculatorView : public QWidget {
    Q_OBJECT
public:
    MortgageCalculatorView(Calculator& frame, QWidget* parent = nullptr);

    const MortgageCalculator& model() const { return model_; }
    FinanceReportView* report() const { return report_; }
    void calculate();

Q_SIGNALS:
    void doneClicked();

private:
    void showModel();

    Calculator& frame_;
    MortgageCalculator model_;
    std::array<QLineEdit*, MortgageCalculator::kFieldCount> fields_{};
    QStackedLayout* pages_;
    FinanceReportView* report_;
};
