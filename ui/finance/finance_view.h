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
class QGridLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStackedLayout;
class QTableWidget;
class QVBoxLayout;
struct Preferences;

// The finance windows, shown as panels over the keypads and the display of the finance
// category. Each owns its model; the fields forward every edit to it and show back what it
// keeps. Every field can be filled from the panel's number pad alone (the skin's "LargeButtons"
// and "LargeFonts"), whose OK calculates. Done closes the panel.

// What the finance panels share: the form page (the title with Calculate and Done, a grid of
// labelled fields, the number pad beside or below it as the panel's shape allows), pages after
// it, and the type size that follows the panel.
class FinancePanelView : public QWidget {
    Q_OBJECT
public:
    NumberPadView* numberPad() const { return pad_; }
    void setSkin(const SkinPixmaps& skin);
    // Calculates from the fields, as the Calculate button and the pad's OK do.
    virtual void calculate() = 0;

Q_SIGNALS:
    void doneClicked();

protected:
    explicit FinancePanelView(QWidget* parent);
    // Builds the form page: the title, one row per label with a field after it, the pad and
    // the buttons.
    template <std::size_t N>
    void buildForm(std::u16string_view title, const std::array<std::u16string_view, N>& labels,
                   std::array<QLineEdit*, N>& fields, const QString& objectPrefix);
    QWidget* form() const { return form_; }
    QGridLayout* grid() const { return grid_; }
    // A label in the first cell of a form row; its lines wrap while the pad is beside the form.
    void addLabel(std::u16string_view text, int row);
    // A wider widget in place of the last row's label (the loan's check box), on a row of its
    // own above the field.
    void setLastRowLead(QWidget* lead);
    // Pages after the form (the schedule's report), and which page shows.
    void addPage(QWidget* page);
    void showPage(QWidget* page);
    void showForm();
    void showMessage(std::u16string_view caption, std::u16string_view message);
    void resizeEvent(QResizeEvent* event) override;
    // The focus goes on to the field the number pad types into.
    void focusInEvent(QFocusEvent* event) override;

    // The type size that fits the form into its area, beside the pad or above it.
    virtual int formFontPixels(QSize formArea, bool padBeside) const = 0;
    // A new type size, after the form has taken it.
    virtual void fontPixelsChanged(int px) = 0;

private:
    void applyMetrics();

    QWidget* formPage_;
    QStackedLayout* pages_;
    QWidget* form_ = nullptr;
    QGridLayout* grid_ = nullptr;
    std::vector<QLabel*> labels_;
    std::vector<QLineEdit*> fields_;
    NumberPadView* pad_ = nullptr;
    QBoxLayout* split_ = nullptr;
    int fontPixels_ = 0;
    bool padBeside_ = false;
};

class TimeValueOfMoneyCalculatorView : public FinancePanelView {
    Q_OBJECT
public:
    explicit TimeValueOfMoneyCalculatorView(QWidget* parent = nullptr);

    const TimeValueOfMoneyCalculator& model() const { return model_; }
    // Solves the chosen quantity; a payment that never covers the interest is said in a
    // message box.
    void calculate() override;
    void chooseSolved(std::size_t field);

protected:
    int formFontPixels(QSize formArea, bool padBeside) const override;
    void fontPixelsChanged(int px) override;

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
    QVBoxLayout* layout_;
    QBoxLayout* body_;
};

// The loan and mortgage windows: the form page and the report page of the schedule, with Back
// to the form. Calculate shows the schedule, or the message that says why there is none.
class ScheduleCalculatorView : public FinancePanelView {
    Q_OBJECT
public:
    FinanceReportView* report() const { return report_; }

protected:
    ScheduleCalculatorView(const Preferences& preferences, QWidget* parent);
    void showSchedule(std::u16string_view title, const paymentSchedule::ScheduleReport& report, bool summaryAbove);
    int formFontPixels(QSize formArea, bool padBeside) const override;
    void fontPixelsChanged(int px) override;

    const Preferences& preferences_;

private:
    FinanceReportView* report_;
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
