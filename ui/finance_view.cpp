#include "finance_view.h"

#include <QApplication>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedLayout>
#include <QTableWidget>

#include <algorithm>
#include <vector>

#include "calculator.h"
#include "result_format.h"
#include "ui_text.h"

namespace {

// The panels share the look of the other tool panels; small type, since six fields and a
// button row must fit the area of the keypads.
const QString kPanelStyle = QStringLiteral(
    "QWidget#financePanel { background: #1B222C; }"
    "QLabel, QCheckBox, QLineEdit, QComboBox, QPushButton { font-size: 11px; }"
    "QLabel, QCheckBox, QRadioButton { color: #AEB9C4; }"
    "QLabel#reportTitle { color: #F29B38; font-weight: bold; }"
    "QLineEdit, QComboBox { background: #1F2731; color: #E8EEF2; border: 1px solid #3A4654; }"
    "QLineEdit[readOnly=\"true\"] { background: #161C24; color: #F29B38; }"
    "QTableWidget { background: #161C24; color: #E8EEF2; gridline-color: #3A4654; }"
    "QHeaderView::section { background: #2A3440; color: #AEB9C4; border: none; padding: 0px 1px; font-size: 10px; }"
    "QLabel#reportSummary { font-size: 10px; }"
    "QPushButton { background: #2A3440; color: #E8EEF2; border: 1px solid #3A4654; padding: 2px 6px; }"
    "QPushButton#calculate { background: #F29B38; color: #141A21; font-weight: bold; }");

void stylePanel(QWidget* panel)
{
    panel->setObjectName(QStringLiteral("financePanel"));
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setStyleSheet(kPanelStyle);
}

QPushButton* addButton(QBoxLayout* row, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    row->addWidget(button);
    return button;
}

// Calculate and Done, the last row of every form.
QHBoxLayout* buttonRow(QWidget* panel, QPushButton*& calculate, QPushButton*& done)
{
    auto* row = new QHBoxLayout;
    calculate = addButton(row, QStringLiteral("Calculate"), panel);
    calculate->setObjectName(QStringLiteral("calculate"));
    done = addButton(row, QStringLiteral("Done"), panel);
    return row;
}

void showInputError(QWidget* parent)
{
    // Not exec(): the panel stays responsive and offscreen tests are not blocked.
    auto* box = new QMessageBox(QMessageBox::Critical, toQString(paymentSchedule::kInputErrorCaption),
                                toQString(paymentSchedule::kInputErrorMessage), QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// Shows the model's text without disturbing a cursor in a field whose text did not change.
void showText(QLineEdit* field, const std::u16string& text)
{
    const QString shown = toQString(text);
    if (field->text() != shown)
        field->setText(shown);
}

}  // namespace

TimeValueOfMoneyCalculatorView::TimeValueOfMoneyCalculatorView(QWidget* parent) : QWidget(parent)
{
    stylePanel(this);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    auto* group = new QButtonGroup(this);
    grid->addWidget(new QLabel(QStringLiteral("Solve"), this), 0, 2);
    for (std::size_t i = 0; i < TimeValueOfMoneyCalculator::kFieldCount; ++i) {
        const int row = static_cast<int>(i) + 1;
        grid->addWidget(new QLabel(toQString(TimeValueOfMoneyCalculator::kFieldLabels[i]), this), row, 0);
        fields_[i] = new QLineEdit(this);
        fields_[i]->setObjectName(QStringLiteral("tvmField%1").arg(i));
        fields_[i]->setAlignment(Qt::AlignRight);
        fields_[i]->setMaximumWidth(fields_[i]->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
        grid->addWidget(fields_[i], row, 1);
        connect(fields_[i], &QLineEdit::textEdited, this, [this, i](const QString& text) {
            model_.setFieldText(i, fromQString(text));
        });
        if (i < TimeValueOfMoneyCalculator::kSolvableCount) {
            solveButtons_[i] = new QRadioButton(this);
            solveButtons_[i]->setObjectName(QStringLiteral("tvmSolve%1").arg(i));
            solveButtons_[i]->setToolTip(tr("Solve for this quantity"));
            group->addButton(solveButtons_[i], static_cast<int>(i));
            grid->addWidget(solveButtons_[i], row, 2, Qt::AlignCenter);
        }
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int id) { chooseSolved(static_cast<std::size_t>(id)); });
    const int typeRow = static_cast<int>(TimeValueOfMoneyCalculator::kFieldCount) + 1;
    grid->addWidget(new QLabel(toQString(TimeValueOfMoneyCalculator::kTypeLabel), this), typeRow, 0);
    paymentType_ = new QComboBox(this);
    paymentType_->setObjectName(QStringLiteral("tvmPaymentType"));
    for (std::u16string_view type : TimeValueOfMoneyCalculator::kPaymentTypes)
        paymentType_->addItem(toQString(type));
    connect(paymentType_, &QComboBox::currentIndexChanged, this, [this](int index) { model_.setPaymentType(index); });
    grid->addWidget(paymentType_, typeRow, 1, 1, 2);
    grid->setColumnStretch(0, 1);

    QPushButton* calculateButton = nullptr;
    QPushButton* done = nullptr;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(new QLabel(toQString(TimeValueOfMoneyCalculator::kTitle), this));
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttonRow(this, calculateButton, done));
    connect(calculateButton, &QPushButton::clicked, this, &TimeValueOfMoneyCalculatorView::calculate);
    connect(done, &QPushButton::clicked, this, &TimeValueOfMoneyCalculatorView::doneClicked);
    showModel();
}

void TimeValueOfMoneyCalculatorView::calculate()
{
    model_.calculate();
    showModel();
}

void TimeValueOfMoneyCalculatorView::chooseSolved(std::size_t field)
{
    model_.setSolved(field);
    showModel();
}

void TimeValueOfMoneyCalculatorView::showModel()
{
    for (std::size_t i = 0; i < TimeValueOfMoneyCalculator::kFieldCount; ++i) {
        showText(fields_[i], model_.fieldText(i));
        fields_[i]->setReadOnly(model_.isReadOnly(i));
        // The read-only look comes from a property selector, which needs a re-polish.
        fields_[i]->style()->unpolish(fields_[i]);
        fields_[i]->style()->polish(fields_[i]);
    }
    solveButtons_[model_.solved()]->setChecked(true);
    paymentType_->setCurrentIndex(model_.paymentType());
}

FinanceReportView::FinanceReportView(QWidget* parent) : QWidget(parent)
{
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("reportTitle"));
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("reportSummary"));
    summary_->setTextFormat(Qt::PlainText);
    // The totals are the answer: the list shrinks before they are clipped.
    summary_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("reportTable"));
    // Set here, not in the style sheet, so that fitColumns measures with the font drawn.
    QFont small = table_->font();
    small.setPixelSize(10);
    table_->setFont(small);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(14);
    // The columns are fitted to the panel's width in fitColumns.
    table_->horizontalHeader()->setMinimumSectionSize(8);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    QPushButton* back = addButton(row, QStringLiteral("Back"), this);
    connect(back, &QPushButton::clicked, this, &FinanceReportView::backClicked);
    body_ = new QBoxLayout(QBoxLayout::TopToBottom);
    body_->setSpacing(2);
    body_->addWidget(summary_);
    body_->addWidget(table_, 1);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(2);
    layout_->addWidget(title_);
    layout_->addLayout(body_, 1);
    layout_->addLayout(row);
}

void FinanceReportView::showReport(std::u16string_view title, const paymentSchedule::ScheduleReport& report,
                                   bool summaryAbove)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    title_->setText(toQString(title));
    QStringList lines;
    for (const std::u16string& line : report.summary)
        lines << displayString(line);
    summary_->setText(lines.join(QLatin1Char('\n')));
    summaryAbove_ = summaryAbove;
    placeSummary();
    table_->clear();
    table_->setColumnCount(static_cast<int>(report.columns.size()));
    QStringList headers;
    for (std::u16string_view column : report.columns)
        headers << toQString(column);
    table_->setHorizontalHeaderLabels(headers);
    table_->setRowCount(static_cast<int>(report.lines.size()));
    for (std::size_t r = 0; r < report.lines.size(); ++r) {
        for (std::size_t c = 0; c < report.lines[r].size(); ++c) {
            auto* item = new QTableWidgetItem(displayString(report.lines[r][c]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    fitColumns();
    QApplication::restoreOverrideCursor();
}

void FinanceReportView::fitColumns()
{
    // Each column gets the width of its widest cell (headings may be cut, numbers not); the
    // width left over is shared out evenly.
    const int columns = table_->columnCount();
    if (columns == 0)
        return;
    const QFontMetrics metrics(table_->font());
    constexpr int kCellMargin = 8;
    std::vector<int> widths(static_cast<std::size_t>(columns), 0);
    int used = 0;
    for (int c = 0; c < columns; ++c) {
        int widest = 8;
        for (int r = 0; r < table_->rowCount(); ++r)
            if (const QTableWidgetItem* item = table_->item(r, c))
                widest = std::max(widest, metrics.horizontalAdvance(item->text()) + kCellMargin);
        widths[static_cast<std::size_t>(c)] = widest;
        used += widest;
    }
    const int available = table_->width() - 2 * table_->frameWidth() -
                          table_->verticalScrollBar()->sizeHint().width();
    const int extra = std::max(0, available - used) / columns;
    for (int c = 0; c < columns; ++c)
        table_->setColumnWidth(c, widths[static_cast<std::size_t>(c)] + extra);
}

void FinanceReportView::resizeEvent(QResizeEvent* event)
{
    placeSummary();
    QWidget::resizeEvent(event);
}

void FinanceReportView::placeSummary()
{
    // A wide, low panel (landscape) has no height to spare: the totals go beside the list.
    // Until the page is first shown it has no size of its own; the panel's is nearly the same.
    const QSize size = isVisible() || !parentWidget() ? this->size() : parentWidget()->size();
    const bool wide = size.width() * 2 > size.height() * 3;
    body_->setDirection(wide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    body_->removeWidget(summary_);
    body_->insertWidget(wide || summaryAbove_ ? 0 : 1, summary_, 0, wide ? Qt::AlignTop : Qt::Alignment());
    layout_->activate();
    fitColumns();
}

namespace {

// A form page of label and field rows; the stacked layout's second page is the report.
template <std::size_t N>
QGridLayout* fieldGrid(QWidget* page, const std::array<std::u16string_view, N>& labels,
                       std::array<QLineEdit*, N>& fields, const QString& prefix)
{
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    for (std::size_t i = 0; i < N; ++i) {
        auto* label = new QLabel(toQString(labels[i]), page);
        label->setWordWrap(true);
        grid->addWidget(label, static_cast<int>(i), 0);
        fields[i] = new QLineEdit(page);
        fields[i]->setObjectName(prefix + QString::number(i));
        fields[i]->setAlignment(Qt::AlignRight);
        grid->addWidget(fields[i], static_cast<int>(i), 1);
    }
    grid->setColumnStretch(1, 1);
    return grid;
}

struct ScheduleWindowParts {
    FinanceReportView* report;
    QStackedLayout* pages;
    QPushButton* calculate;
    QPushButton* done;
};

// The loan and mortgage windows: a form page (title, fields, Calculate and Done) and the
// report page, stacked in the panel; Back on the report returns to the form.
ScheduleWindowParts stackFormAndReport(QWidget* panel, QWidget* form, QGridLayout* grid, std::u16string_view title)
{
    ScheduleWindowParts parts{};
    auto* formLayout = new QVBoxLayout(form);
    formLayout->setContentsMargins(0, 0, 0, 0);
    formLayout->addWidget(new QLabel(toQString(title), form));
    formLayout->addLayout(grid);
    formLayout->addStretch(1);
    formLayout->addLayout(buttonRow(form, parts.calculate, parts.done));

    parts.report = new FinanceReportView(panel);
    auto* outer = new QVBoxLayout(panel);
    outer->setContentsMargins(4, 4, 4, 4);
    parts.pages = new QStackedLayout;
    parts.pages->addWidget(form);
    parts.pages->addWidget(parts.report);
    outer->addLayout(parts.pages);
    QStackedLayout* pages = parts.pages;
    QObject::connect(parts.report, &FinanceReportView::backClicked, panel, [pages] { pages->setCurrentIndex(0); });
    return parts;
}

}  // namespace

LoanCalculatorView::LoanCalculatorView(Calculator& frame, QWidget* parent) : QWidget(parent), frame_(frame)
{
    stylePanel(this);
    auto* form = new QWidget(this);
    // The check box stands in for the payment field's label.
    std::array<std::u16string_view, LoanCalculator::kFieldCount> labels = LoanCalculator::kFieldLabels;
    labels[LoanCalculator::kPaymentField] = u"";
    QGridLayout* grid = fieldGrid(form, labels, fields_, QStringLiteral("loanField"));
    computePayment_ = new QCheckBox(toQString(LoanCalculator::kFieldLabels[LoanCalculator::kPaymentField]), form);
    computePayment_->setObjectName(QStringLiteral("loanComputePayment"));
    grid->addWidget(computePayment_, static_cast<int>(LoanCalculator::kPaymentField), 0);
    for (std::size_t i = 0; i < LoanCalculator::kFieldCount; ++i) {
        connect(fields_[i], &QLineEdit::textEdited, this, [this, i](const QString& text) {
            model_.setFieldText(i, fromQString(text));
            showModel();  // the payment count is limited as it is typed
        });
    }
    connect(computePayment_, &QCheckBox::toggled, this, [this](bool on) {
        model_.setComputesPayment(on);
        showModel();
    });
    const ScheduleWindowParts parts = stackFormAndReport(this, form, grid, LoanCalculator::kTitle);
    report_ = parts.report;
    pages_ = parts.pages;
    connect(parts.calculate, &QPushButton::clicked, this, &LoanCalculatorView::calculate);
    connect(parts.done, &QPushButton::clicked, this, &LoanCalculatorView::doneClicked);
    showModel();
}

void LoanCalculatorView::calculate()
{
    model_.setOutputFormat(outputFormatFromName(frame_.preferences().outputFormat));
    if (model_.calculate() == LoanCalculator::CalcStatus::InputError) {
        showInputError(this);
        return;
    }
    report_->showReport(LoanCalculator::kResultTitle, model_.report(), true);
    pages_->setCurrentIndex(1);
}

void LoanCalculatorView::showModel()
{
    for (std::size_t i = 0; i < LoanCalculator::kFieldCount; ++i) {
        showText(fields_[i], model_.fieldText(i));
        fields_[i]->setReadOnly(model_.isReadOnly(i));
        fields_[i]->style()->unpolish(fields_[i]);
        fields_[i]->style()->polish(fields_[i]);
    }
    computePayment_->setChecked(model_.computesPayment());
}

MortgageCalculatorView::MortgageCalculatorView(Calculator& frame, QWidget* parent) : QWidget(parent), frame_(frame)
{
    stylePanel(this);
    auto* form = new QWidget(this);
    QGridLayout* grid = fieldGrid(form, MortgageCalculator::kFieldLabels, fields_, QStringLiteral("mortgageField"));
    for (std::size_t i = 0; i < MortgageCalculator::kFieldCount; ++i) {
        connect(fields_[i], &QLineEdit::textEdited, this, [this, i](const QString& text) {
            model_.setFieldText(i, fromQString(text));
            showModel();  // the length is limited as it is typed
        });
    }
    const ScheduleWindowParts parts = stackFormAndReport(this, form, grid, MortgageCalculator::kTitle);
    report_ = parts.report;
    pages_ = parts.pages;
    connect(parts.calculate, &QPushButton::clicked, this, &MortgageCalculatorView::calculate);
    connect(parts.done, &QPushButton::clicked, this, &MortgageCalculatorView::doneClicked);
    showModel();
}

void MortgageCalculatorView::calculate()
{
    model_.setOutputFormat(outputFormatFromName(frame_.preferences().outputFormat));
    if (model_.calculate() == MortgageCalculator::CalcStatus::InputError) {
        showInputError(this);
        return;
    }
    report_->showReport(MortgageCalculator::kResultTitle, model_.report(), false);
    pages_->setCurrentIndex(1);
}

void MortgageCalculatorView::showModel()
{
    for (std::size_t i = 0; i < MortgageCalculator::kFieldCount; ++i)
        showText(fields_[i], model_.fieldText(i));
}
