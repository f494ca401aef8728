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

#include "number_pad_view.h"
#include "preferences.h"
#include "tool_panel_layout.h"
#include "result_format.h"
#include "ui_text.h"
#include "panel_style.h"

namespace {

// The panels share the look of the other tool panels; the type size follows the panel.
QString panelStyleSheet(int px)
{
    return QStringLiteral(
               "QWidget#financePanel { background: @window; }"
               "QLabel, QCheckBox, QRadioButton, QLineEdit, QComboBox, QPushButton { font-size: %1px; }"
               "QLabel, QCheckBox, QRadioButton { color: @label; }"
               "QRadioButton::indicator, QCheckBox::indicator { width: %5px; height: %5px; }"
               "QLabel#panelTitle, QLabel#reportTitle { color: @accent; font-weight: bold; }"
               "QLineEdit, QComboBox { background: @field; color: @text; border: 1px solid @line;"
               " padding: 0px %3px; }"
               "QLineEdit:focus { border: 1px solid @accent; background: @fieldFocus; }"
               "QLineEdit[readOnly=\"true\"] { background: @sunken; color: @accent; }"
               "QTableWidget { background: @sunken; color: @text; gridline-color: @line; }"
               "QHeaderView::section { background: @button; color: @label; border: none; padding: 0px 1px;"
               " font-size: %2px; }"
               "QLabel#reportSummary { font-size: %2px; }"
               "QPushButton { background: @button; color: @text; border: 1px solid @line; padding: %3px %4px; }"
               "QPushButton#calculate { background: @accent; color: @accentText; font-weight: bold; }")
        .arg(px)
        .arg(std::max(8, px - 1))
        .arg(std::max(1, px / 6))
        .arg(std::max(2, px / 2))
        .arg(std::max(10, px));
}

QPushButton* addButton(QBoxLayout* row, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    // The fields keep the focus (and the number pad its target) while buttons are clicked.
    button->setFocusPolicy(Qt::NoFocus);
    row->addWidget(button);
    return button;
}

// The title with Calculate and Done beside it: the first row of every form.
QHBoxLayout* titleRow(QWidget* panel, std::u16string_view title, QPushButton*& calculate, QPushButton*& done)
{
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(toQString(title), panel);
    label->setObjectName(QStringLiteral("panelTitle"));
    row->addWidget(label, 1);
    calculate = addButton(row, QStringLiteral("Calculate"), panel);
    calculate->setObjectName(QStringLiteral("calculate"));
    done = addButton(row, QStringLiteral("Done"), panel);
    return row;
}

// Not exec(): the panel stays responsive and offscreen tests are not blocked.
void showMessageBox(QWidget* parent, std::u16string_view caption, std::u16string_view message)
{
    auto* box = new QMessageBox(QMessageBox::Critical, toQString(caption), toQString(message), QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("financeMessage"));
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

void showReadOnly(QLineEdit* field, bool readOnly)
{
    if (field->isReadOnly() == readOnly)
        return;
    field->setReadOnly(readOnly);
    // The read-only look comes from a property selector, which needs a re-polish.
    field->style()->unpolish(field);
    field->style()->polish(field);
}

// A form row's height for a type size: the field with its frame, and the spacing.
int rowHeight(int px)
{
    return px * 2 + 2;
}

// Fields show amounts of up to eight digits (longer ones scroll); the labels take the rest of
// the row.
void fitFieldWidth(QLineEdit* field, int px)
{
    QFont font = field->font();
    font.setPixelSize(px);
    field->setMaximumWidth(QFontMetrics(font).horizontalAdvance(QStringLiteral("00000000")) + px);
}

// The panel's area for the form and the pad: all of it but the margins and the title row.
QSize splitArea(QSize panel, int px)
{
    return {panel.width() - 8, panel.height() - 8 - rowHeight(px) - 2};
}

// The form (its grid at the top) and the number pad in one box, which toolPanelLayout::arrange
// turns to fit the panel.
QBoxLayout* formAndPad(QWidget* form, QLayout* grid, QWidget* pad)
{
    auto* formLayout = new QVBoxLayout(form);
    formLayout->setContentsMargins(0, 0, 0, 0);
    formLayout->addLayout(grid);
    formLayout->addStretch(1);
    auto* split = new QBoxLayout(QBoxLayout::TopToBottom);
    split->setContentsMargins(0, 0, 0, 0);
    split->addWidget(form, 1);
    split->addWidget(pad);
    return split;
}

}  // namespace

FinancePanelView::FinancePanelView(QWidget* parent)
    : QWidget(parent), formPage_(new QWidget(this)), pages_(new QStackedLayout)
{
    setObjectName(QStringLiteral("financePanel"));
    setAttribute(Qt::WA_StyledBackground);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    pages_->addWidget(formPage_);
    outer->addLayout(pages_);
}

template <std::size_t N>
void FinancePanelView::buildForm(std::u16string_view title, const std::array<std::u16string_view, N>& labels,
                                 std::array<QLineEdit*, N>& fields, const QString& objectPrefix)
{
    form_ = new QWidget(formPage_);
    pad_ = new NumberPadView(formPage_);
    grid_ = new QGridLayout;
    grid_->setVerticalSpacing(2);
    for (std::size_t i = 0; i < N; ++i) {
        addLabel(labels[i], static_cast<int>(i));
        fields[i] = new QLineEdit(form_);
        fields[i]->setObjectName(objectPrefix + QString::number(i));
        fields[i]->setAlignment(Qt::AlignRight);
        grid_->addWidget(fields[i], static_cast<int>(i), 1);
        pad_->addField(fields[i]);
        fields_.push_back(fields[i]);
    }
    grid_->setColumnStretch(0, 1);

    QPushButton* calculateButton = nullptr;
    QPushButton* done = nullptr;
    split_ = formAndPad(form_, grid_, pad_);
    auto* pageLayout = new QVBoxLayout(formPage_);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(2);
    pageLayout->addLayout(titleRow(formPage_, title, calculateButton, done));
    pageLayout->addLayout(split_, 1);
    connect(calculateButton, &QPushButton::clicked, this, &FinancePanelView::calculate);
    connect(pad_, &NumberPadView::okPressed, this, &FinancePanelView::calculate);
    connect(done, &QPushButton::clicked, this, &FinancePanelView::doneClicked);
    applyMetrics();
}

void FinancePanelView::addLabel(std::u16string_view text, int row)
{
    auto* label = new QLabel(toQString(text), form_);
    label->setWordWrap(padBeside_);
    labels_.push_back(label);
    grid_->addWidget(label, row, 0);
}

void FinancePanelView::setLastRowLead(QWidget* lead)
{
    const int row = static_cast<int>(fields_.size()) - 1;
    QLabel* label = labels_[fields_.size() - 1];
    grid_->removeWidget(label);
    label->hide();
    grid_->removeWidget(fields_.back());
    grid_->addWidget(lead, row, 0, 1, 2);
    grid_->addWidget(fields_.back(), row + 1, 1);
}

void FinancePanelView::addPage(QWidget* page)
{
    pages_->addWidget(page);
}

void FinancePanelView::showPage(QWidget* page)
{
    pages_->setCurrentWidget(page);
}

void FinancePanelView::showForm()
{
    pages_->setCurrentWidget(formPage_);
}

void FinancePanelView::setSkin(const SkinPixmaps& skin)
{
    pad_->setSkin(skin);
}

void FinancePanelView::showMessage(std::u16string_view caption, std::u16string_view message)
{
    showMessageBox(this, caption, message);
}

void FinancePanelView::resizeEvent(QResizeEvent* event)
{
    applyMetrics();
    QWidget::resizeEvent(event);
}

void FinancePanelView::focusInEvent(QFocusEvent*)
{
    if (QLineEdit* field = pad_ ? pad_->target() : nullptr)
        field->setFocus(Qt::OtherFocusReason);
}

void FinancePanelView::applyMetrics()
{
    if (split_ == nullptr)
        return;
    // Beside the pad the labels take two lines.
    const bool beside = toolPanelLayout::padBeside(size());
    const int px = formFontPixels(toolPanelLayout::formArea(size()), beside);
    if (px != fontPixels_ || beside != padBeside_) {
        fontPixels_ = px;
        padBeside_ = beside;
        setThemedStyleSheet(this, panelStyleSheet(px));
        for (QLabel* label : labels_)
            label->setWordWrap(beside);
        for (QLineEdit* field : fields_)
            fitFieldWidth(field, px);
        grid_->setVerticalSpacing(std::max(2, px / 2));
        fontPixelsChanged(px);
    }
    // The pad takes what the form leaves, in the type size just chosen.
    form_->layout()->invalidate();
    toolPanelLayout::arrange(split_, pad_, splitArea(size(), px), form_->minimumSizeHint().height());
}

TimeValueOfMoneyCalculatorView::TimeValueOfMoneyCalculatorView(QWidget* parent) : FinancePanelView(parent)
{
    buildForm(TimeValueOfMoneyCalculator::kTitle, TimeValueOfMoneyCalculator::kFieldLabels, fields_,
              QStringLiteral("tvmField"));
    auto* group = new QButtonGroup(this);
    for (std::size_t i = 0; i < TimeValueOfMoneyCalculator::kFieldCount; ++i) {
        connect(fields_[i], &QLineEdit::textEdited, this,
                [this, i](const QString& text) { model_.setFieldText(i, fromQString(text)); });
        if (i < TimeValueOfMoneyCalculator::kSolvableCount) {
            solveButtons_[i] = new QRadioButton(form());
            solveButtons_[i]->setObjectName(QStringLiteral("tvmSolve%1").arg(i));
            solveButtons_[i]->setToolTip(tr("Solve for this quantity"));
            solveButtons_[i]->setFocusPolicy(Qt::NoFocus);
            group->addButton(solveButtons_[i], static_cast<int>(i));
            grid()->addWidget(solveButtons_[i], static_cast<int>(i), 2, Qt::AlignCenter);
        }
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int id) { chooseSolved(static_cast<std::size_t>(id)); });
    const int typeRow = static_cast<int>(TimeValueOfMoneyCalculator::kFieldCount);
    addLabel(TimeValueOfMoneyCalculator::kTypeLabel, typeRow);
    paymentType_ = new QComboBox(form());
    paymentType_->setObjectName(QStringLiteral("tvmPaymentType"));
    paymentType_->setFocusPolicy(Qt::NoFocus);
    for (std::u16string_view type : TimeValueOfMoneyCalculator::kPaymentTypes)
        paymentType_->addItem(toQString(type));
    connect(paymentType_, &QComboBox::currentIndexChanged, this, [this](int index) { model_.setPaymentType(index); });
    grid()->addWidget(paymentType_, typeRow, 1, 1, 2);
    // The first field to type into is the first one that is not solved.
    numberPad()->setTarget(fields_[TimeValueOfMoneyCalculator::kRateField]);
    showModel();
}

void TimeValueOfMoneyCalculatorView::calculate()
{
    const TimeValueOfMoneyCalculator::CalcStatus status = model_.calculate();
    showModel();
    if (status == TimeValueOfMoneyCalculator::CalcStatus::NeverRepaid)
        showMessage(TimeValueOfMoneyCalculator::kTitle, paymentSchedule::kNeverRepaidMessage);
}

void TimeValueOfMoneyCalculatorView::chooseSolved(std::size_t field)
{
    model_.setSolved(field);
    showModel();
    // Typing cannot go into the solved field.
    if (numberPad()->target() == fields_[model_.solved()])
        numberPad()->setTarget(fields_[model_.solved() == 0 ? 1 : 0]);
}

void TimeValueOfMoneyCalculatorView::showModel()
{
    for (std::size_t i = 0; i < TimeValueOfMoneyCalculator::kFieldCount; ++i) {
        showText(fields_[i], model_.fieldText(i));
        showReadOnly(fields_[i], model_.isReadOnly(i));
    }
    solveButtons_[model_.solved()]->setChecked(true);
    paymentType_->setCurrentIndex(model_.paymentType());
}

int TimeValueOfMoneyCalculatorView::formFontPixels(QSize formArea, bool padBeside) const
{
    // Seven rows (six fields and the payment type); a row is a label of up to 27 characters, a
    // field and the solve mark.
    return padBeside ? toolPanelLayout::fontPixels(formArea, 13, 26) : toolPanelLayout::fontPixels(formArea, 8, 44);
}

void TimeValueOfMoneyCalculatorView::fontPixelsChanged(int px)
{
    grid()->setHorizontalSpacing(std::max(3, px / 3));
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
    setFontPixels(10);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    // The columns are fitted to the panel's width in fitColumns.
    table_->horizontalHeader()->setMinimumSectionSize(8);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    QPushButton* back = addButton(row, QStringLiteral("Back"), this);
    back->setObjectName(QStringLiteral("back"));
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

void FinanceReportView::setFontPixels(int pixels)
{
    // Set here, not in the style sheet, so that fitColumns measures with the font drawn.
    QFont font = table_->font();
    if (font.pixelSize() == pixels)
        return;
    font.setPixelSize(pixels);
    table_->setFont(font);
    table_->verticalHeader()->setDefaultSectionSize(pixels + pixels / 2 + 2);
    fitColumns();
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
    const int available = table_->width() - 2 * table_->frameWidth() - table_->verticalScrollBar()->sizeHint().width();
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

ScheduleCalculatorView::ScheduleCalculatorView(const Preferences& preferences, QWidget* parent)
    : FinancePanelView(parent), preferences_(preferences), report_(new FinanceReportView(this))
{
    addPage(report_);
    connect(report_, &FinanceReportView::backClicked, this, [this] { showForm(); });
}

void ScheduleCalculatorView::showSchedule(std::u16string_view title, const paymentSchedule::ScheduleReport& report,
                                          bool summaryAbove)
{
    report_->showReport(title, report, summaryAbove);
    showPage(report_);
}

int ScheduleCalculatorView::formFontPixels(QSize formArea, bool padBeside) const
{
    // The fields (the loan's check box takes a row of its own); a row is a label of up to 26
    // characters and a field.
    const double rows = static_cast<double>(grid()->rowCount());
    return padBeside ? toolPanelLayout::fontPixels(formArea, std::max(rows, 5.0) * 1.7, 26)
                     : toolPanelLayout::fontPixels(formArea, std::max(rows, 7.0), 42);
}

void ScheduleCalculatorView::fontPixelsChanged(int px)
{
    report_->setFontPixels(std::max(9, px - 1));
}

LoanCalculatorView::LoanCalculatorView(const Preferences& preferences, QWidget* parent)
    : ScheduleCalculatorView(preferences, parent)
{
    buildForm(LoanCalculator::kTitle, LoanCalculator::kFieldLabels, fields_, QStringLiteral("loanField"));
    // The check box stands in for the payment field's label.
    computePayment_ = new QCheckBox(toQString(LoanCalculator::kFieldLabels[LoanCalculator::kPaymentField]), this);
    computePayment_->setObjectName(QStringLiteral("loanComputePayment"));
    computePayment_->setFocusPolicy(Qt::NoFocus);
    static_assert(LoanCalculator::kPaymentField + 1 == LoanCalculator::kFieldCount);
    setLastRowLead(computePayment_);
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
    showModel();
}

void LoanCalculatorView::calculate()
{
    model_.setOutputFormat(preferences_.outputFormat);
    switch (model_.calculate()) {
    case LoanCalculator::CalcStatus::InputError:
        showMessage(paymentSchedule::kInputErrorCaption, paymentSchedule::kInputErrorMessage);
        return;
    case LoanCalculator::CalcStatus::NeverRepaid:
        showMessage(LoanCalculator::kTitle, paymentSchedule::kNeverRepaidMessage);
        return;
    case LoanCalculator::CalcStatus::Done: break;
    }
    showSchedule(LoanCalculator::kResultTitle, model_.report(), true);
}

void LoanCalculatorView::showModel()
{
    for (std::size_t i = 0; i < LoanCalculator::kFieldCount; ++i) {
        showText(fields_[i], model_.fieldText(i));
        showReadOnly(fields_[i], model_.isReadOnly(i));
    }
    computePayment_->setChecked(model_.computesPayment());
}

MortgageCalculatorView::MortgageCalculatorView(const Preferences& preferences, QWidget* parent)
    : ScheduleCalculatorView(preferences, parent)
{
    buildForm(MortgageCalculator::kTitle, MortgageCalculator::kFieldLabels, fields_, QStringLiteral("mortgageField"));
    for (std::size_t i = 0; i < MortgageCalculator::kFieldCount; ++i) {
        connect(fields_[i], &QLineEdit::textEdited, this, [this, i](const QString& text) {
            model_.setFieldText(i, fromQString(text));
            showModel();  // the length is limited as it is typed
        });
    }
    showModel();
}

void MortgageCalculatorView::calculate()
{
    model_.setOutputFormat(preferences_.outputFormat);
    if (model_.calculate() == MortgageCalculator::CalcStatus::InputError) {
        showMessage(paymentSchedule::kInputErrorCaption, paymentSchedule::kInputErrorMessage);
        return;
    }
    showSchedule(MortgageCalculator::kResultTitle, model_.report(), false);
}

void MortgageCalculatorView::showModel()
{
    for (std::size_t i = 0; i < MortgageCalculator::kFieldCount; ++i)
        showText(fields_[i], model_.fieldText(i));
}
