#pragma once

#include <QWidget>

#include <array>

#include "loan_calculator.h"
#include "mortgage_calculator.h"
#include "payment_schedule.h"
#include "tvm_window.h"

class CMainFrame;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStackedLayout;
class QTableWidget;

// The finance windows, shown as panels over the keypads of the finance category. Each owns its
// model; the fields forward every edit to it and show back what it keeps. Done closes the panel.

class CTVMFunctionDlgView : public QWidget {
    Q_OBJECT
public:
    explicit CTVMFunctionDlgView(QWidget* parent = nullptr);

    const CTVMFunctionDlg& model() const { return model_; }
    // Solves the chosen quantity, as the Calculate button does.
    void calculate();
    void chooseSolved(std::size_t field);

Q_SIGNALS:
    void doneClicked();

private:
    void showModel();

    CTVMFunctionDlg model_;
    std::array<QLineEdit*, CTVMFunctionDlg::kFieldCount> fields_{};
    std::array<QRadioButton*, CTVMFunctionDlg::kSolvableCount> solveButtons_{};
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

class CLoanCalcDlgView : public QWidget {
    Q_OBJECT
public:
    CLoanCalcDlgView(CMainFrame& frame, QWidget* parent = nullptr);

    const CLoanCalcDlg& model() const { return model_; }
    FinanceReportView* report() const { return report_; }
    // Validates and shows the schedule, or the input error message.
    void calculate();

Q_SIGNALS:
    void doneClicked();

private:
    void showModel();

    CMainFrame& frame_;
    CLoanCalcDlg model_;
    std::array<QLineEdit*, CLoanCalcDlg::kFieldCount> fields_{};
    QCheckBox* computePayment_;
    QStackedLayout* pages_;
    FinanceReportView* report_;
};

class CMortgageCalcDlgView : public QWidget {
    Q_OBJECT
public:
    CMortgageCalcDlgView(CMainFrame& frame, QWidget* parent = nullptr);

    const CMortgageCalcDlg& model() const { return model_; }
    FinanceReportView* report() const { return report_; }
    void calculate();

Q_SIGNALS:
    void doneClicked();

private:
    void showModel();

    CMainFrame& frame_;
    CMortgageCalcDlg model_;
    std::array<QLineEdit*, CMortgageCalcDlg::kFieldCount> fields_{};
    QStackedLayout* pages_;
    FinanceReportView* report_;
};
