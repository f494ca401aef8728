#include "equation_solver_view.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <algorithm>

#include "drawn_arrow_combo_box.h"
#include "engine.h"
#include "number_pad_view.h"
#include "tool_panel_layout.h"
#include "ui_text.h"
#include "panel_style.h"

namespace {

const QString kCaption = QStringLiteral("Equation Solver");

// The drawn arrow's centre lies this far in from the right edge, clear of the text.
qreal kindArrowInset(int px)
{
    return px / 2.0 + std::max(3, px / 3);
}

// The macro panel's colours, so that the tools read as one window.
QString panelStyleSheet(int px)
{
    return QStringLiteral(
               "EquationSolverView { background: @window; }"
               "QLabel { color: @label; font-size: %1px; }"
               "QLineEdit, QComboBox { background: @field; color: @text; border: 1px solid @line;"
               " border-radius: %2px; padding: %2px %2px; font-size: %1px;"
               " selection-background-color: @accent; selection-color: @accentText; }"
               "QLineEdit:focus, QComboBox:focus { border-color: @accent; }"
               "QLineEdit[result=\"true\"] { background: @sunken; color: @accent; font-weight: bold; }"
               "QComboBox::drop-down { border: none; width: %3px; }"
               "QComboBox::down-arrow { image: none; }"
               "QComboBox QAbstractItemView { background: @field; color: @text; border: 1px solid @accent;"
               " selection-background-color: @accent; selection-color: @accentText; font-size: %1px; }"
               "QPushButton { background: @accent; color: @accentText; border: 1px solid @accent;"
               " border-radius: %2px; padding: %2px %3px; font-size: %1px; font-weight: bold; }"
               "QPushButton:hover, QPushButton:focus { border-color: @text; }"
               "QPushButton:pressed { background: @accentPressed; }")
        .arg(px)
        .arg(std::max(1, px / 6))
        .arg(std::max(2, px / 3) + px);
}

}  // namespace

EquationSolverView::EquationSolverView(Engine& engine, QWidget* parent) : QWidget(parent), engine_(engine)
{
    setAttribute(Qt::WA_StyledBackground);

    form_ = new QWidget(this);
    pad_ = new NumberPadView(this);
    kindBox_ = new DrawnArrowComboBox(kindArrowInset, this);
    kindBox_->setObjectName(QStringLiteral("kind"));
    for (std::u16string_view name : EquationSolver::kKindNames)
        kindBox_->addItem(toQString(name));

    // Coefficients are numbers, in scientific notation too ("1e-8"); the model reads anything else
    // as 0 or 1.
    auto* validator =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*\\.?[0-9]*([eE]-?[0-9]*)?")), this);
    equationsGrid_ = new QGridLayout;
    for (std::size_t field = 0; field < EquationSolver::kFieldCount; ++field) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("field%1").arg(field));
        edit->setAlignment(Qt::AlignRight);
        edit->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        fields_[field] = edit;
        if (field >= EquationSolver::kFirstResultField) {
            edit->setProperty("result", true);
            edit->setReadOnly(true);
            edit->setFocusPolicy(Qt::NoFocus);
            continue;
        }
        edit->setValidator(validator);
        pad_->addField(edit);
        connect(edit, &QLineEdit::returnPressed, this, &EquationSolverView::solve);
        const int row = static_cast<int>(field / kColumnCount);
        const int column = static_cast<int>(field % kColumnCount);
        equationsGrid_->addWidget(edit, row, 2 * column);
    }
    for (std::size_t row = 0; row < kRowCount; ++row)
        for (std::size_t column = 0; column < kColumnCount; ++column) {
            rowLabels_[row][column] = new QLabel(this);
            rowLabels_[row][column]->setTextFormat(Qt::PlainText);
            equationsGrid_->addWidget(rowLabels_[row][column], static_cast<int>(row), static_cast<int>(2 * column + 1));
        }

    solveButton_ = new QPushButton(tr("&Solve"), this);
    solveButton_->setObjectName(QStringLiteral("solve"));
    solveButton_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    resultsGrid_ = new QGridLayout;
    for (std::size_t i = 0; i < EquationSolver::kResultCount; ++i) {
        resultLabels_[i] = new QLabel(this);
        resultLabels_[i]->setTextFormat(Qt::PlainText);
        resultsGrid_->addWidget(fields_[EquationSolver::kFirstResultField + i], static_cast<int>(i), 0);
        resultsGrid_->addWidget(resultLabels_[i], static_cast<int>(i), 1);
    }
    resultsGrid_->addWidget(solveButton_, 0, 2, static_cast<int>(EquationSolver::kResultCount), 1);
    resultsGrid_->setColumnStretch(0, 3);
    resultsGrid_->setColumnStretch(2, 1);

    rows_ = new QVBoxLayout(form_);
    rows_->setContentsMargins(0, 0, 0, 0);
    rows_->addWidget(kindBox_);
    rows_->addLayout(equationsGrid_);
    rows_->addStretch(1);
    rows_->addLayout(resultsGrid_);
    split_ = new QBoxLayout(QBoxLayout::TopToBottom, this);
    split_->addWidget(form_, 1);
    split_->addWidget(pad_);

    connect(kindBox_, &QComboBox::activated, this, &EquationSolverView::chooseKind);
    connect(solveButton_, &QPushButton::clicked, this, &EquationSolverView::solve);
    connect(pad_, &NumberPadView::okPressed, this, &EquationSolverView::solve);
    kindBox_->setFocusPolicy(Qt::NoFocus);
    solveButton_->setFocusPolicy(Qt::NoFocus);

    applyMetrics();
    refresh();
}

void EquationSolverView::setSkin(const SkinPixmaps& skin)
{
    pad_->setSkin(skin, "NumberKeyboardFunctions");
}

void EquationSolverView::refresh()
{
    const EquationSolver::KindLabels& labels = EquationSolver::kindLabels(model_.kind());
    kindBox_->setCurrentIndex(static_cast<int>(model_.kind()));
    const auto used = [&](std::size_t field) {
        const auto begin = labels.coefficientFields.begin();
        return std::find(begin, begin + static_cast<long>(labels.coefficientCount), field) !=
               begin + static_cast<long>(labels.coefficientCount);
    };
    for (std::size_t field = 0; field < EquationSolver::kFirstResultField; ++field)
        fields_[field]->setVisible(used(field));
    // An unused column (z of two equations) gives its room to the others.
    for (std::size_t column = 0; column < kColumnCount; ++column) {
        bool columnUsed = false;
        for (std::size_t row = 0; row < kRowCount; ++row)
            columnUsed = columnUsed || used(row * kColumnCount + column);
        equationsGrid_->setColumnStretch(static_cast<int>(2 * column), columnUsed ? 1 : 0);
    }
    for (std::size_t row = 0; row < kRowCount; ++row) {
        // A row is in use when any of its fields is: its labels show, even beside an unused
        // column (the "= " of two equations sits where the z field would be).
        bool rowUsed = false;
        for (std::size_t column = 0; column < kColumnCount; ++column)
            rowUsed = rowUsed || used(row * kColumnCount + column);
        for (std::size_t column = 0; column < kColumnCount; ++column) {
            rowLabels_[row][column]->setText(toQString(labels.rows[row][column]));
            rowLabels_[row][column]->setVisible(rowUsed && !labels.rows[row][column].empty());
        }
    }
    for (std::size_t i = 0; i < EquationSolver::kResultCount; ++i) {
        const bool shown = i < labels.resultCount;
        fields_[EquationSolver::kFirstResultField + i]->setVisible(shown);
        resultLabels_[i]->setVisible(shown);
        resultLabels_[i]->setText(toQString(labels.results[i]));
    }
    for (std::size_t field = 0; field < EquationSolver::kFieldCount; ++field) {
        const QString text = toQString(model_.fieldText(field));
        if (fields_[field]->text() != text)
            fields_[field]->setText(text);
    }
}

void EquationSolverView::solve()
{
    for (std::size_t field = 0; field < EquationSolver::kFirstResultField; ++field)
        model_.setFieldText(field, fromQString(fields_[field]->text()));
    const EquationSolver::SolveResult result = model_.solve(engine_);
    // Solving normalises the coefficients: they show what was solved.
    refresh();
    if (result.failedWithMessage())
        QMessageBox::warning(window(), kCaption, toQString(result.message));
}

bool EquationSolverView::takeKey(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        solve();
        return true;
    }
    if (event->text().size() != 1 || !event->text().at(0).isPrint())
        return false;
    QLineEdit* first = fields_[0];
    first->setFocus(Qt::OtherFocusReason);
    first->end(false);
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text());
    QCoreApplication::sendEvent(first, &copy);
    return true;
}

void EquationSolverView::chooseKind(int index)
{
    if (index < 0 || index >= static_cast<int>(EquationSolver::kKindCount))
        return;
    // Texts typed so far stay in the model, so that switching back finds them.
    for (std::size_t field = 0; field < EquationSolver::kFirstResultField; ++field)
        model_.setFieldText(field, fromQString(fields_[field]->text()));
    model_.setKind(static_cast<EquationSolver::Kind>(index));
    refresh();
    // The pad types into a field of the new kind.
    if (pad_->target() == nullptr || pad_->target()->isHidden())
        pad_->setTarget(fields_[0]);
}

void EquationSolverView::keyPressEvent(QKeyEvent* event)
{
    // Keys that the fields left unused stop here where the window would move the display's
    // lines or evaluate it; shortcuts go on.
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Escape)
        window()->setFocus(Qt::OtherFocusReason);
}

void EquationSolverView::resizeEvent(QResizeEvent* event)
{
    applyMetrics();
    QWidget::resizeEvent(event);
}

void EquationSolverView::applyMetrics()
{
    const bool beside = toolPanelLayout::padBeside(size());
    // Eight rows at most (the kind, three equations, four results); a row of four fields of
    // five digits and four labels needs about thirty characters of width. The pad keeps its
    // place when the kind changes.
    const int px = toolPanelLayout::fontPixels(toolPanelLayout::formArea(size()), 8.5, 30, 9, 22);
    const int margin = std::max(3, px / 2);
    const int spacing = std::max(2, px / 3);
    const QSize area(width() - 2 * margin, height() - 2 * margin);
    toolPanelLayout::arrange(split_, pad_, area, 8 * (2 * px + spacing) + spacing);
    if (px == fontPixels_ && beside == padBeside_)
        return;
    fontPixels_ = px;
    padBeside_ = beside;
    setThemedStyleSheet(this, panelStyleSheet(px));
    split_->setContentsMargins(margin, margin, margin, margin);
    split_->setSpacing(spacing);
    rows_->setSpacing(spacing);
    for (QGridLayout* grid : {equationsGrid_, resultsGrid_}) {
        grid->setHorizontalSpacing(spacing);
        grid->setVerticalSpacing(spacing);
    }
}
