#include "history_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "calculator.h"
#include "ui_text.h"
#include "panel_style.h"

namespace {

constexpr int kExpressionColumn = 0;
constexpr int kResultColumn = 1;

QString panelStyleSheet(int px)
{
    return QStringLiteral(
               "HistoryView { background: @window; }"
               "QLabel { color: @label; font-size: %1px; }"
               "QTableWidget { background: @field; alternate-background-color: @alternate; color: @text;"
               " border: 1px solid @line; gridline-color: @button; font-size: %1px;"
               " selection-background-color: @accent; selection-color: @accentText; }"
               "QHeaderView::section { background: @sunken; color: @label; border: none; font-size: %1px;"
               " padding: 0 %2px; }")
        .arg(px)
        .arg(std::max(2, px / 3));
}

}  // namespace

HistoryView::HistoryView(Calculator& calculator, QWidget* parent) : QWidget(parent), calculator_(calculator)
{
    setAttribute(Qt::WA_StyledBackground);
    title_ = new QLabel(tr("History: click or Enter puts it back, Esc closes"), this);
    title_->setWordWrap(true);
    table_ = new QTableWidget(0, 2, this);
    table_->setObjectName(QStringLiteral("historyTable"));
    table_->setHorizontalHeaderLabels({tr("Expression"), tr("Result")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    table_->setTextElideMode(Qt::ElideLeft);
    table_->horizontalHeader()->setSectionResizeMode(kExpressionColumn, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(kResultColumn, QHeaderView::Stretch);
    table_->installEventFilter(this);
    connect(table_, &QTableWidget::cellClicked, this, &HistoryView::putBack);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    layout->addWidget(title_);
    layout->addWidget(table_, 1);
    applyMetrics();
}

void HistoryView::open()
{
    refresh();
    show();
    raise();
    table_->setFocus(Qt::OtherFocusReason);
}

void HistoryView::refresh()
{
    const std::vector<HistoryEntry>& entries = calculator_.history().entries();
    title_->setText(entries.empty() ? tr("History: no calculations yet. Esc closes")
                                    : tr("History: click or Enter puts it back, Esc closes"));
    table_->clearContents();
    table_->setRowCount(static_cast<int>(entries.size()));
    for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
        const OutputFormat format = calculator_.preferences().outputFormat;
        const HistoryEntry entry = entries[static_cast<std::size_t>(row)].inOutputFormat(format);
        table_->setItem(row, kExpressionColumn, new QTableWidgetItem(expressionString(entry.expression, format)));
        auto* result = new QTableWidgetItem(displayString(entry.result));
        result->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table_->setItem(row, kResultColumn, result);
    }
    if (!entries.empty())
        table_->setCurrentCell(0, kResultColumn);
}

void HistoryView::putBack(int row, int column)
{
    if (row < 0 || row >= static_cast<int>(calculator_.history().entries().size()))
        return;
    if (column == kExpressionColumn)
        calculator_.restoreHistoryExpression(static_cast<std::size_t>(row));
    else
        calculator_.insertHistoryResult(static_cast<std::size_t>(row));
    hide();
    Q_EMIT changed();
    Q_EMIT closed();
}

bool HistoryView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: putBack(table_->currentRow(), table_->currentColumn()); return true;
        case Qt::Key_Escape:
            hide();
            Q_EMIT closed();
            return true;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HistoryView::resizeEvent(QResizeEvent* event)
{
    applyMetrics();
    QWidget::resizeEvent(event);
}

void HistoryView::applyMetrics()
{
    const int px = std::max(9, std::min(height() / 16, width() / 22));
    if (px == fontPixels_)
        return;
    fontPixels_ = px;
    setThemedStyleSheet(this, panelStyleSheet(px));
    table_->verticalHeader()->setDefaultSectionSize(px + px / 2 + 2);
}
