#include "rate_list_view.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "message_box.h"
#include "rate_update.h"
#include "ui_text.h"

namespace {

constexpr int kSymbolColumn = 0;
constexpr int kRateColumn = 1;
constexpr int kNameColumn = 2;

}  // namespace

RateListView::RateListView(std::filesystem::path currencyFile, QWidget* parent)
    : QDialog(parent), file_(std::move(currencyFile))
{
    setObjectName(QStringLiteral("rateListWindow"));
    setWindowTitle(tr("Currency rates"));
    applyDialogStyle(this);

    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("rateListHeading"));
    heading_->setWordWrap(true);

    grid_ = new QTableWidget(0, 3, this);
    grid_->setObjectName(QStringLiteral("rateTable"));
    grid_->setHorizontalHeaderLabels(
        {toQString(RateList::kSymbolColumn), toQString(RateList::kRateColumn), toQString(RateList::kNameColumn)});
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(kSymbolColumn, QHeaderView::ResizeToContents);
    grid_->horizontalHeader()->setSectionResizeMode(kRateColumn, QHeaderView::ResizeToContents);
    grid_->horizontalHeader()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    connect(grid_, &QTableWidget::itemChanged, this, &RateListView::rateEdited);

    // Short captions: with Close they share the row of a 240-pixel-wide window.
    auto* show = new QPushButton(tr("Show"), this);
    show->setObjectName(QStringLiteral("showRates"));
    show->setToolTip(tr("Show the rates in use again, dropping unsaved edits"));
    auto* save = new QPushButton(tr("Save"), this);
    save->setObjectName(QStringLiteral("saveRates"));
    save->setToolTip(tr("Save the edited rates"));
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("closeRates"));
    connect(show, &QPushButton::clicked, this, &RateListView::showRates);
    connect(save, &QPushButton::clicked, this, [this] { saveRates(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(show);
    buttons->addWidget(save);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* rows = new QVBoxLayout(this);
    rows->addWidget(heading_);
    rows->addWidget(grid_, 1);
    rows->addLayout(buttons);
    resize(QSize(420, 480).boundedTo(ownerWindowSize(parent)));

    showRates();
}

void RateListView::showRates()
{
    model_.show(file_);
    fillTable();
}

void RateListView::fillTable()
{
    const std::vector<RateList::Row>& rows = model_.rows();
    QString base;
    for (const RateList::Row& row : rows)
        if (row.isBase)
            base = toQString(row.symbol);
    const QString date = QString::fromStdString(model_.date());
    heading_->setText(
        base.isEmpty() ? tr("Rates of %1.").arg(date)
                       : tr("Rates of %1: units of each currency for 1 %2. Edit a rate, then save.").arg(date, base));
    filling_ = true;
    grid_->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const RateList::Row& row = rows[static_cast<std::size_t>(i)];
        auto* symbol = new QTableWidgetItem(toQString(row.symbol));
        auto* rate = new QTableWidgetItem(toQString(row.rate));
        auto* name = new QTableWidgetItem(toQString(row.name));
        name->setToolTip(name->text());  // the last column elides long names in a small window
        symbol->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        rate->setFlags(row.isBase ? Qt::ItemIsEnabled | Qt::ItemIsSelectable
                                  : Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        rate->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid_->setItem(i, kSymbolColumn, symbol);
        grid_->setItem(i, kRateColumn, rate);
        grid_->setItem(i, kNameColumn, name);
    }
    filling_ = false;
}

void RateListView::rateEdited(QTableWidgetItem* item)
{
    if (filling_ || item->column() != kRateColumn)
        return;
    model_.editRate(static_cast<std::size_t>(item->row()), fromQString(item->text()));
}

void RateListView::saveRates(RateList::SaveMode mode)
{
    grid_->setCurrentItem(nullptr);  // commits a rate still being typed
    const bool saved = model_.save(file_, mode);
    if (model_.fileChanged()) {
        askAboutChangedFile();
        return;
    }
    fillTable();
    if (!saved) {
        showMessageBox(
            QMessageBox::Warning,
            QString::fromLatin1(currency::kErrorCaption.data(), static_cast<qsizetype>(currency::kErrorCaption.size())),
            tr("The rates were not saved: %1").arg(QString::fromStdString(model_.errorText())), this);
        return;
    }
    Q_EMIT ratesSaved();
    if (!model_.notTaken().empty()) {
        QStringList symbols;
        for (const std::u16string& symbol : model_.notTaken())
            symbols << toQString(symbol);
        showMessageBox(QMessageBox::Information, windowTitle(),
                       tr("Saved. These rates were kept as they were, because a rate must be a number above 0: %1")
                           .arg(symbols.join(QStringLiteral(", "))),
                       this);
    }
}

void RateListView::askAboutChangedFile()
{
    const QString date = QString::fromStdString(currency::dateOf(file_));
    QMessageBox* box = makeMessageBox(
        QMessageBox::Question, windowTitle(),
        tr("Another program saved other rates in %1 (rates of %2) since this list was read. Save your list over "
           "them, or show the new rates and drop your edits?")
            .arg(QString::fromStdString(file_.filename().string()), date),
        this);
    box->setObjectName(QStringLiteral("ratesChangedQuestion"));
    QPushButton* overwrite = box->addButton(tr("Save mine"), QMessageBox::AcceptRole);
    overwrite->setObjectName(QStringLiteral("saveOverChangedRates"));
    box->addButton(tr("Show new"), QMessageBox::RejectRole)->setObjectName(QStringLiteral("showChangedRates"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this, box, overwrite] {
        if (box->clickedButton() == overwrite) {
            saveRates(RateList::SaveMode::Overwrite);
            return;
        }
        showRates();
        // The converter shows the rates of the file too.
        Q_EMIT ratesSaved();
    });
    box->open();
}
