#include "statistics_data_view.h"

#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>

#include <algorithm>

#include "matrix_store_view.h"
#include "statistics_data.h"
#include "ui_text.h"
#include "panel_style.h"

StatisticsDataView::StatisticsDataView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_StyledBackground);

    countLabel_ = new QLabel(this);
    countLabel_->setObjectName(QStringLiteral("caption"));
    list_ = new QTableWidget(0, 2, this);
    list_->setObjectName(QStringLiteral("statisticsList"));
    list_->setHorizontalHeaderLabels({tr("Index"), tr("Value")});
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    list_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->horizontalHeader()->setHighlightSections(false);
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                           QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    list_->setAlternatingRowColors(true);

    newButton_ = new QPushButton(tr("&New Data"), this);
    insertButton_ = new QPushButton(tr("&Insert row"), this);
    deleteButton_ = new QPushButton(tr("De&lete row"), this);
    clearButton_ = new QPushButton(tr("&Clear all"), this);
    doneButton_ = new QPushButton(tr("&Done"), this);
    for (QPushButton* button : {newButton_, insertButton_, deleteButton_, clearButton_, doneButton_})
        button->setFocusPolicy(Qt::TabFocus);

    buttons_ = new QGridLayout;
    auto* listColumn = new QVBoxLayout;
    listColumn->setSpacing(2);
    listColumn->addWidget(countLabel_);
    listColumn->addWidget(list_, 1);
    layout_ = new QBoxLayout(QBoxLayout::LeftToRight, this);
    layout_->addLayout(listColumn, 3);
    layout_->addLayout(buttons_, 2);

    connect(list_, &QTableWidget::itemChanged, this, &StatisticsDataView::editValue);
    connect(newButton_, &QPushButton::clicked, this, &StatisticsDataView::newData);
    connect(insertButton_, &QPushButton::clicked, this, &StatisticsDataView::insertRow);
    connect(deleteButton_, &QPushButton::clicked, this, &StatisticsDataView::deleteRow);
    connect(clearButton_, &QPushButton::clicked, this, &StatisticsDataView::clearAll);
    connect(doneButton_, &QPushButton::clicked, this, &StatisticsDataView::doneClicked);

    applyMetrics();
    refresh();
}

void StatisticsDataView::setModel(StatisticsData* model)
{
    if (model_ == model)
        return;
    model_ = model;
    refresh();
}

void StatisticsDataView::refresh()
{
    const QSignalBlocker blocker(list_);
    const int count = model_ ? model_->count() : 0;
    countLabel_->setText(model_ ? toQString(model_->labelText()) : QStringLiteral("N : 0"));
    list_->setRowCount(count);
    for (int row = 0; row < count; ++row) {
        QTableWidgetItem* index = list_->item(row, 0);
        if (!index) {
            index = new QTableWidgetItem;
            index->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            list_->setItem(row, 0, index);
        }
        index->setText(toQString(StatisticsData::indexText(row)));
        QTableWidgetItem* value = list_->item(row, 1);
        if (!value) {
            value = new QTableWidgetItem;
            value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            list_->setItem(row, 1, value);
        }
        const QString text = toQString(model_->valueText(row));
        if (value->text() != text)
            value->setText(text);
    }
    // Insert and Delete act on the selected row, the first when none is selected.
    newButton_->setEnabled(model_ != nullptr);
    insertButton_->setEnabled(count > 0 && count < StatisticsData::kMaxCount);
    deleteButton_->setEnabled(count > 0);
    clearButton_->setEnabled(count > 0);
}

void StatisticsDataView::afterChange(int selectRow)
{
    refresh();
    if (model_ && model_->count() > 0) {
        const int row = std::clamp(selectRow, 0, model_->count() - 1);
        list_->setCurrentCell(row, 1);
    }
    Q_EMIT changed();
}

void StatisticsDataView::editValue(QTableWidgetItem* item)
{
    if (!model_ || item->column() != 1)
        return;
    const std::u16string text = fromQString(item->text());
    const bool stored = model_->setValue(item->row(), text);
    refresh();  // the cell shows the stored value in the model's format
    if (stored)
        Q_EMIT changed();
    else if (typedNumberOverflows(text))
        QMessageBox::warning(window(), tr("Statistics"), overflowMessage());
}

void StatisticsDataView::newData()
{
    if (!model_)
        return;
    QDialog dialog(window());
    styleDataPanelDialog(dialog, tr("New Data"), fontPixels_);
    auto* size = new QLineEdit(QString::number(model_->count()), &dialog);
    size->selectAll();
    // The model corrects the text while it is typed: above 512 becomes "512", negative "0".
    connect(size, &QLineEdit::textEdited, size, [size](const QString& typed) {
        const QString corrected = toQString(StatisticsData::correctSizeText(fromQString(typed)));
        if (corrected != typed)
            size->setText(corrected);
    });
    auto* form = new QFormLayout(&dialog);
    form->addRow(tr("Size"), size);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(box);
    connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() == QDialog::Accepted &&
        model_->newDataSet(StatisticsData::sizeFromText(fromQString(size->text()))))
        afterChange(0);
}

void StatisticsDataView::insertRow()
{
    const int row = std::max(0, list_->currentRow());
    if (model_ && model_->insertRow(row))
        afterChange(row);
}

void StatisticsDataView::deleteRow()
{
    const int row = std::max(0, list_->currentRow());
    if (model_ && model_->deleteRow(row))
        afterChange(row);
}

void StatisticsDataView::clearAll()
{
    if (!model_ || model_->count() == 0)
        return;
    model_->clearAll();
    afterChange(0);
}

void StatisticsDataView::keyPressEvent(QKeyEvent* event)
{
    if (!swallowDataPanelKey(event, [this] { Q_EMIT doneClicked(); }))
        QWidget::keyPressEvent(event);
}

void StatisticsDataView::resizeEvent(QResizeEvent* event)
{
    applyMetrics();
    QWidget::resizeEvent(event);
}

void StatisticsDataView::applyMetrics()
{
    const bool wide = width() * 2 >= height() * 3;
    const int px = dataPanelFontPixels(size());
    if (px == fontPixels_ && wide == wide_)
        return;
    fontPixels_ = px;
    wide_ = wide;
    setThemedStyleSheet(this, dataPanelStyleSheet(QStringLiteral("StatisticsDataView"), px));
    const int margin = std::max(3, px / 2);
    const int spacing = std::max(2, px / 3);
    layout_->setContentsMargins(margin, margin, margin, margin);
    layout_->setSpacing(margin);
    buttons_->setSpacing(spacing);
    // The buttons stand in one column beside the list; a wide panel is too low for five, so
    // it gets two columns with Done in the bottom corner, where it is in the tall layout.
    for (QPushButton* button : {newButton_, insertButton_, deleteButton_, clearButton_, doneButton_})
        buttons_->removeWidget(button);
    buttons_->addWidget(newButton_, 0, 0);
    buttons_->addWidget(insertButton_, 1, 0);
    buttons_->addWidget(deleteButton_, 2, 0);
    buttons_->addWidget(clearButton_, wide ? 0 : 3, wide ? 1 : 0);
    buttons_->addWidget(doneButton_, wide ? 2 : 4, wide ? 1 : 0);
    list_->verticalHeader()->setDefaultSectionSize(px + px / 2 + 2);
    QFont font = this->font();
    font.setPixelSize(px);
    // Wide enough for the header and for the largest index, 511.
    list_->setColumnWidth(0, QFontMetrics(font).horizontalAdvance(tr("Index")) + px);
    list_->horizontalHeader()->setFixedHeight(px + px / 2 + 2);
}
