#include "matrix_store_view.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabBar>
#include <QTableWidget>
#include <QToolButton>

#include <algorithm>

#include "ascii.h"
#include "calculator.h"
#include "matrix_store.h"
#include "ui_text.h"
#include "panel_style.h"

namespace {

const QString kCaption = QStringLiteral("Matrix");

// A dialog that offers the free names; its combo's items carry the slot.
QComboBox* freeNameBox(const MatrixStore& model, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    for (const MatrixStore::FreeName& name : model.freeNames())
        box->addItem(QString::fromLatin1(name.name.data(), static_cast<qsizetype>(name.name.size())), name.slot);
    return box;
}

}  // namespace

void styleDataPanelDialog(QDialog& dialog, const QString& title, int px)
{
    dialog.setWindowTitle(title);
    setThemedStyleSheet(&dialog, dataPanelStyleSheet(QStringLiteral("QDialog"), px));
}

QString dataPanelStyleSheet(const QString& panelClass, int px)
{
    return QStringLiteral(
               "%5 { background: @window; }"
               "QLabel { color: @label; font-size: %1px; }"
               "QLabel#caption { color: @accent; font-weight: bold; }"
               "QComboBox, QSpinBox, QLineEdit { background: @field; color: @text; border: 1px solid @line;"
               " border-radius: %2px; padding: %2px %3px; font-size: %1px;"
               " selection-background-color: @accent; selection-color: @accentText; }"
               "QComboBox:focus, QSpinBox:focus, QLineEdit:focus { border-color: @accent; }"
               "QComboBox QAbstractItemView { background: @field; color: @text;"
               " selection-background-color: @accent; selection-color: @accentText; }"
               "QTableWidget { background: @field; alternate-background-color: @alternate; color: @text;"
               " gridline-color: @grid; border: 1px solid @line; font-size: %1px;"
               " selection-background-color: @accent; selection-color: @accentText; }"
               "QTableWidget QLineEdit { border: 1px solid @accent; border-radius: 0; padding: 0 %2px; }"
               "QHeaderView { background: @sunken; }"
               "QHeaderView::section { background: @sunken; color: @quiet; border: none;"
               " border-right: 1px solid @grid; border-bottom: 1px solid @grid; padding: 0 %2px;"
               " font-size: %1px; }"
               "QTableCornerButton::section { background: @sunken; border: none; }"
               "QScrollBar { background: @window; width: %3px; height: %3px; margin: 0; }"
               "QScrollBar::handle { background: @line; min-height: %1px; min-width: %1px; border-radius: %2px; }"
               "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }"
               "QScrollBar::add-page, QScrollBar::sub-page { background: none; }"
               "QTabBar { font-size: %1px; }"
               "QTabBar::tab { background: @field; color: @label; border: 1px solid @line; border-bottom: none;"
               " padding: %2px %4px; margin-right: 1px; border-top-left-radius: %2px; border-top-right-radius: %2px; }"
               "QTabBar::tab:selected { background: @button; color: @accent; font-weight: bold; }"
               "QTabBar::scroller { width: %6px; }"
               "QTabBar QToolButton { background: @button; color: @text; border: 1px solid @line; }"
               "QPushButton, QToolButton#menu { background: @button; color: @text; border: 1px solid @line;"
               " border-radius: %2px; padding: %2px %3px; font-size: %1px; }"
               "QToolButton#menu::menu-indicator { image: none; width: 0; }"
               "QPushButton:hover, QPushButton:focus, QToolButton#menu:hover { border-color: @accent; }"
               "QPushButton:pressed, QToolButton#menu:pressed { background: @accent; color: @accentText; }"
               "QPushButton:disabled { color: @disabled; border-color: @button; }"
               "QMenu { background: @field; color: @text; border: 1px solid @accent; font-size: %1px; }"
               "QMenu::item { padding: %2px %4px; }"
               "QMenu::item:selected { background: @accent; color: @accentText; }"
               "QMenu::item:disabled { color: @disabled; }")
        .arg(px)
        .arg(std::max(1, px / 6))
        .arg(std::max(2, px / 3))
        .arg(std::max(3, px / 2))
        .arg(panelClass)
        .arg(2 * px);
}

int dataPanelFontPixels(QSize size)
{
    const bool wide = size.width() * 2 >= size.height() * 3;
    return std::max(8, wide ? size.height() / 11 : size.height() * 2 / 33);
}

MatrixStoreView::MatrixStoreView(Calculator& calculator, QWidget* parent) : QWidget(parent), calculator_(calculator)
{
    setAttribute(Qt::WA_StyledBackground);

    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("matrixTabs"));
    tabs_->setExpanding(false);
    tabs_->setUsesScrollButtons(true);
    tabs_->setDrawBase(false);
    tabs_->setFocusPolicy(Qt::NoFocus);
    sizeLabel_ = new QLabel(this);
    sizeLabel_->setObjectName(QStringLiteral("caption"));
    sizeLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("matrixGrid"));
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                           QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    grid_->setAlternatingRowColors(true);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->verticalHeader()->setHighlightSections(false);

    menuButton_ = new QToolButton(this);
    menuButton_->setObjectName(QStringLiteral("menu"));
    menuButton_->setText(tr("Matrix \u25BE"));
    menuButton_->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(menuButton_);
    menu->addAction(tr("New Matrix"), this, &MatrixStoreView::newMatrix);
    copyAction_ = menu->addAction(tr("Copy to"), this, &MatrixStoreView::copyTo);
    clearAction_ = menu->addAction(tr("Clear"), this, &MatrixStoreView::clearShown);
    menu->addSeparator();
    deleteAction_ = menu->addAction(tr("Delete"), this, &MatrixStoreView::deleteShown);
    deleteAllAction_ = menu->addAction(tr("Delete All"), this, &MatrixStoreView::deleteAll);
    menuButton_->setMenu(menu);
    insertButton_ = new QPushButton(tr("&Insert"), this);
    insertButton_->setToolTip(tr("Put the shown matrix's name on the display"));
    doneButton_ = new QPushButton(tr("&Done"), this);
    menuButton_->setFocusPolicy(Qt::TabFocus);
    for (QPushButton* button : {insertButton_, doneButton_})
        button->setFocusPolicy(Qt::TabFocus);

    auto* top = new QHBoxLayout;
    top->setSpacing(4);
    top->addWidget(tabs_, 1);
    top->addWidget(sizeLabel_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(menuButton_, 1);
    buttons->addWidget(insertButton_, 1);
    buttons->addWidget(doneButton_, 1);
    layout_ = new QBoxLayout(QBoxLayout::TopToBottom, this);
    layout_->addLayout(top);
    layout_->addWidget(grid_, 1);
    layout_->addLayout(buttons);

    connect(tabs_, &QTabBar::tabBarClicked, this, [this](int index) {
        if (model_ && index >= 0) {
            model_->show(index);
            refresh();
        }
    });
    connect(grid_, &QTableWidget::itemChanged, this, &MatrixStoreView::editCell);
    connect(insertButton_, &QPushButton::clicked, this, &MatrixStoreView::insertName);
    connect(doneButton_, &QPushButton::clicked, this, &MatrixStoreView::doneClicked);

    applyMetrics();
    refresh();
}

void MatrixStoreView::setModel(MatrixStore* model)
{
    if (model_ == model)
        return;
    model_ = model;
    refresh();
}

void MatrixStoreView::refresh()
{
    const QSignalBlocker tabBlocker(tabs_);
    const QSignalBlocker gridBlocker(grid_);
    const int count = model_ ? model_->count() : 0;
    while (tabs_->count() > count)
        tabs_->removeTab(tabs_->count() - 1);
    for (int index = 0; index < count; ++index) {
        const std::string_view name = model_->entry(index).name();
        const QString text = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        if (index >= tabs_->count())
            tabs_->addTab(text);
        else if (tabs_->tabText(index) != text)
            tabs_->setTabText(index, text);
    }
    if (count > 0)
        tabs_->setCurrentIndex(model_->shownIndex());
    tabs_->setVisible(count > 0);

    const int rows = model_ ? model_->gridRows() : 0;
    const int columns = model_ ? model_->gridColumns() : 0;
    grid_->setRowCount(rows);
    grid_->setColumnCount(columns);
    QStringList columnHeaders;
    for (int col = 0; col < columns; ++col)
        columnHeaders << QString::fromStdString(MatrixStore::columnHeader(col)).trimmed();
    QStringList rowHeaders;
    for (int row = 0; row < rows; ++row)
        rowHeaders << QString::fromStdString(MatrixStore::rowHeader(row));
    grid_->setHorizontalHeaderLabels(columnHeaders);
    // "No Matrix" is an empty grid, without an empty header strip across its top.
    grid_->horizontalHeader()->setVisible(columns > 0);
    grid_->verticalHeader()->setVisible(rows > 0);
    grid_->setVerticalHeaderLabels(rowHeaders);
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < columns; ++col) {
            const QString text = QString::fromStdString(model_->cellText(row, col));
            QTableWidgetItem* item = grid_->item(row, col);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                grid_->setItem(row, col, item);
            }
            if (item->text() != text)
                item->setText(text);
        }
    }
    sizeLabel_->setText(count > 0 ? QString::fromStdString(model_->sizeLabel()) : tr("No Matrix"));

    const bool any = count > 0;
    for (QAction* action : {copyAction_, clearAction_, deleteAction_, deleteAllAction_})
        action->setEnabled(any);
    insertButton_->setEnabled(any);
}

void MatrixStoreView::editCell(QTableWidgetItem* item)
{
    if (!model_)
        return;
    // Read before refresh puts the stored value back into the cell.
    const QString typed = item->text().trimmed();
    const bool stored = model_->setElement(item->row(), item->column(), typed.toStdString());
    refresh();  // the cell shows the stored value in the model's format
    if (stored) {
        Q_EMIT changed();
    } else if (typedNumberOverflows(fromQString(typed))) {
        // Not modal: the grid stays usable while the message shows.
        auto* box = new QMessageBox(QMessageBox::Warning, kCaption,
                                    tr("%1 is too large for a matrix element (%2).").arg(typed, overflowMessage()),
                                    QMessageBox::Ok, window());
        box->setObjectName(QStringLiteral("matrixCellRefused"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
}

void MatrixStoreView::newMatrix()
{
    if (!model_)
        return;
    QDialog dialog(window());
    styleDataPanelDialog(dialog, tr("New Matrix"), fontPixels_);
    auto* names = freeNameBox(*model_, &dialog);
    auto* rows = new QSpinBox(&dialog);
    auto* columns = new QSpinBox(&dialog);
    // The boxes take more than the limit, so that a size typed too large is told, not cut to
    // its first digit.
    constexpr int kTypedSizeLimit = 999;
    for (QSpinBox* spin : {rows, columns}) {
        spin->setRange(1, kTypedSizeLimit);
        spin->setValue(1);
    }
    auto* limit = new QLabel(&dialog);
    limit->setObjectName(QStringLiteral("matrixSizeLimit"));
    limit->hide();
    auto* form = new QFormLayout(&dialog);
    form->addRow(tr("Matrix's name"), names);
    form->addRow(tr("Rows"), rows);
    form->addRow(tr("Columns"), columns);
    form->addRow(limit);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    box->button(QDialogButtonBox::Ok)->setEnabled(names->count() > 0);
    form->addRow(box);
    connect(box, &QDialogButtonBox::accepted, &dialog, [&dialog, rows, columns, limit] {
        if (rows->value() <= MatrixSlot::kMaxSize && columns->value() <= MatrixSlot::kMaxSize) {
            dialog.accept();
            return;
        }
        limit->setText(tr("A matrix has at most %1 rows and %1 columns.").arg(MatrixSlot::kMaxSize));
        limit->show();
    });
    connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() == QDialog::Accepted && names->count() > 0 &&
        model_->newMatrix(rows->value(), columns->value(), names->currentData().toInt())) {
        refresh();
        Q_EMIT changed();
    }
}

void MatrixStoreView::copyTo()
{
    if (!model_ || model_->count() == 0)
        return;
    QDialog dialog(window());
    styleDataPanelDialog(dialog, tr("Copy to"), fontPixels_);
    auto* names = freeNameBox(*model_, &dialog);
    auto* form = new QFormLayout(&dialog);
    form->addRow(tr("Name to copy"), names);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    box->button(QDialogButtonBox::Ok)->setEnabled(names->count() > 0);
    form->addRow(box);
    connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() == QDialog::Accepted && names->count() > 0 && model_->copyTo(names->currentData().toInt())) {
        refresh();
        Q_EMIT changed();
    }
}

void MatrixStoreView::clearShown()
{
    if (!model_ || model_->count() == 0)
        return;
    model_->clear();
    refresh();
    Q_EMIT changed();
}

bool MatrixStoreView::confirm(const QString& question)
{
    QMessageBox box(QMessageBox::Question, kCaption, question, QMessageBox::Ok | QMessageBox::Cancel, window());
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

void MatrixStoreView::deleteShown()
{
    if (!model_ || model_->count() == 0 || !confirm(tr("Do you want to delete this matrix?")))
        return;
    model_->deleteShown();
    refresh();
    Q_EMIT changed();
}

void MatrixStoreView::deleteAll()
{
    if (!model_ || model_->count() == 0 || !confirm(tr("Do you want to delete all matrices?")))
        return;
    model_->deleteAll();
    refresh();
    Q_EMIT changed();
}

void MatrixStoreView::insertName()
{
    if (!model_)
        return;
    calculator_.insertVariableName(ascii::widen(model_->insertName()));
    Q_EMIT changed();
}

void MatrixStoreView::keyPressEvent(QKeyEvent* event)
{
    if (!swallowDataPanelKey(event, [this] { Q_EMIT doneClicked(); }))
        QWidget::keyPressEvent(event);
}

void MatrixStoreView::resizeEvent(QResizeEvent* event)
{
    applyMetrics();
    QWidget::resizeEvent(event);
}

void MatrixStoreView::applyMetrics()
{
    const int px = dataPanelFontPixels(size());
    if (px == fontPixels_)
        return;
    fontPixels_ = px;
    setThemedStyleSheet(this, dataPanelStyleSheet(QStringLiteral("MatrixStoreView"), px));
    const int margin = std::max(3, px / 2);
    layout_->setContentsMargins(margin, margin, margin, margin);
    layout_->setSpacing(std::max(2, px / 3));
    // Rows a little taller than the text, so that the in-place editor fits.
    grid_->verticalHeader()->setDefaultSectionSize(px + px / 2 + 2);
    grid_->horizontalHeader()->setFixedHeight(px + px / 2 + 2);
    QFont font = this->font();
    font.setPixelSize(px);
    grid_->horizontalHeader()->setMinimumSectionSize(QFontMetrics(font).horizontalAdvance(QStringLiteral("-0.0000")));
}

bool swallowDataPanelKey(QKeyEvent* event, const std::function<void()>& done)
{
    switch (event->key()) {
    case Qt::Key_Escape: done(); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Down: return true;
    default: return false;
    }
}
