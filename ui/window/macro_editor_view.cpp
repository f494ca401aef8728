#include "macro_editor_view.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

#include <algorithm>

#include "calculator.h"
#include "drawn_arrow_combo_box.h"
#include "ui_text.h"
#include "panel_style.h"

namespace {

const QString kCaption = QStringLiteral("Macros");

int arrowBoxWidth(int px)
{
    return px + px / 3;
}

// The drawn arrow sits in the middle of the drop-down box, a pixel clear of the edge.
qreal nameArrowInset(int px)
{
    return arrowBoxWidth(px) / 2.0 + 1;
}

// Colours of the window around the panel, so that it reads as part of it.
QString panelStyleSheet(int px)
{
    return QStringLiteral(
               "MacroEditorView { background: @window; }"
               "QLabel { color: @label; font-size: %1px; }"
               "QLabel#params { color: @text; }"
               "QLabel#hint { color: @quiet; }"
               "QLineEdit, QComboBox { background: @field; color: @text; border: 1px solid @line;"
               " border-radius: %2px; padding: %2px %3px; font-size: %1px;"
               " selection-background-color: @accent; selection-color: @accentText; }"
               "QLineEdit:focus, QComboBox:focus { border-color: @accent; }"
               "QLineEdit:disabled, QComboBox:disabled { color: @disabled; }"
               "QLineEdit#header { background: @sunken; color: @accent; font-weight: bold; }"
               "QComboBox { combobox-popup: 0; }"  // a scrolling list of a few rows, not all 26
               "QComboBox::drop-down { border: none; width: %4px; }"
               "QComboBox::down-arrow { image: none; }"
               "QComboBox QAbstractItemView { background: @field; color: @text; border: 1px solid @accent;"
               " selection-background-color: @accent; selection-color: @accentText; font-size: %1px; }"
               "QComboBox QScrollBar:vertical { background: @field; width: %3px; margin: 0; }"
               "QComboBox QScrollBar::handle:vertical { background: @line; min-height: %1px; }"
               "QComboBox QScrollBar::add-line, QComboBox QScrollBar::sub-line { height: 0; }"
               "QComboBox QScrollBar::add-page, QComboBox QScrollBar::sub-page { background: none; }"
               "QPushButton { background: @button; color: @text; border: 1px solid @line;"
               " border-radius: %2px; padding: %2px %3px; font-size: %1px; }"
               "QPushButton:hover, QPushButton:focus { border-color: @accent; }"
               "QPushButton:pressed { background: @accent; color: @accentText; }"
               "QPushButton:disabled { color: @disabled; border-color: @button; }")
        .arg(px)
        .arg(std::max(1, px / 6))
        .arg(std::max(2, px / 3))
        .arg(arrowBoxWidth(px));
}

}  // namespace

MacroEditorView::MacroEditorView(Calculator& calculator, QWidget* parent) : QWidget(parent), calculator_(calculator)
{
    setAttribute(Qt::WA_StyledBackground);

    nameBox_ = new DrawnArrowComboBox(nameArrowInset, this);
    nameBox_->setToolTip(tr("Macro name: choosing one loads its formula onto the display"));
    nameBox_->setMaxVisibleItems(8);
    header_ = new QLineEdit(this);
    header_->setObjectName(QStringLiteral("header"));
    header_->setReadOnly(true);
    header_->setToolTip(tr("Name and parameters, as the macro is called"));

    formulaLabel_ = new QLabel(tr("&Formula"), this);
    formula_ = new QLineEdit(this);
    formula_->setToolTip(tr("The macro's formula field, stored with the macro"));
    formulaLabel_->setBuddy(formula_);

    paramsLabel_ = new QLabel(tr("Params"), this);
    params_ = new QLabel(this);
    params_->setObjectName(QStringLiteral("params"));

    variableLabel_ = new QLabel(tr("&Variable"), this);
    variable_ = new QLineEdit(this);
    variable_->setPlaceholderText(QStringLiteral("x"));
    variable_->setToolTip(tr("A parameter name: Use inserts it on the display"));
    // A name of letters and digits: a comma would split the parameter list.
    variable_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[A-Za-z][A-Za-z0-9]{0,7}")), variable_));
    variableLabel_->setBuddy(variable_);
    useButton_ = new QPushButton(tr("&Use"), this);

    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("hint"));
    hint_->setWordWrap(true);
    hint_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    saveButton_ = new QPushButton(tr("&Save"), this);
    deleteButton_ = new QPushButton(tr("De&lete"), this);
    doneButton_ = new QPushButton(tr("&Done"), this);

    // Clicks must not take the focus from the main window, where typed characters go to the
    // display; the keyboard still reaches every control with Tab.
    nameBox_->setFocusPolicy(Qt::TabFocus);
    header_->setFocusPolicy(Qt::NoFocus);
    for (QPushButton* button : {useButton_, saveButton_, deleteButton_, doneButton_})
        button->setFocusPolicy(Qt::TabFocus);
    setTabOrder(nameBox_, formula_);
    setTabOrder(formula_, variable_);
    setTabOrder(variable_, useButton_);
    setTabOrder(useButton_, saveButton_);
    setTabOrder(saveButton_, deleteButton_);
    setTabOrder(deleteButton_, doneButton_);

    fieldsGrid_ = new QGridLayout;
    fieldsGrid_->addWidget(nameBox_, 0, 0);
    fieldsGrid_->addWidget(header_, 0, 1);
    fieldsGrid_->addWidget(formulaLabel_, 1, 0);
    fieldsGrid_->addWidget(formula_, 1, 1);
    fieldsGrid_->addWidget(paramsLabel_, 2, 0);
    fieldsGrid_->addWidget(params_, 2, 1);
    fieldsGrid_->setColumnStretch(1, 1);
    fieldsGrid_->setRowStretch(3, 1);  // the fields stay together at the top

    auto* variableRow = new QHBoxLayout;
    variableRow->addWidget(variable_, 1);
    variableRow->addWidget(useButton_);
    auto* buttonRow = new QHBoxLayout;
    for (QPushButton* button : {saveButton_, deleteButton_, doneButton_})
        buttonRow->addWidget(button, 1);
    actionsGrid_ = new QGridLayout;
    actionsGrid_->addWidget(variableLabel_, 0, 0);
    actionsGrid_->addLayout(variableRow, 0, 1);
    actionsGrid_->addWidget(hint_, 1, 0, 1, 2);
    actionsGrid_->addLayout(buttonRow, 2, 0, 1, 2);
    actionsGrid_->setColumnStretch(1, 1);
    // Spare height goes to the hint, which keeps the buttons at the bottom edge.
    actionsGrid_->setRowStretch(1, 1);

    columns_ = new QBoxLayout(QBoxLayout::TopToBottom, this);
    columns_->addLayout(fieldsGrid_);
    columns_->addLayout(actionsGrid_, 1);

    for (int row = 0; row < MacroEditor::kNameRows; ++row)
        nameBox_->addItem(QString());

    connect(nameBox_, &QComboBox::activated, this, &MacroEditorView::chooseRow);
    connect(formula_, &QLineEdit::textEdited, this,
            [this](const QString& text) { calculator_.macroEditor().setFormula(fromQString(text)); });
    connect(variable_, &QLineEdit::returnPressed, this, &MacroEditorView::useVariable);
    connect(useButton_, &QPushButton::clicked, this, &MacroEditorView::useVariable);
    connect(saveButton_, &QPushButton::clicked, this, &MacroEditorView::save);
    connect(deleteButton_, &QPushButton::clicked, this, &MacroEditorView::remove);
    connect(doneButton_, &QPushButton::clicked, this, &MacroEditorView::done);

    applyMetrics();
    refresh();
}

void MacroEditorView::refresh()
{
    MacroEditor& editor = calculator_.macroEditor();
    const bool editing = editor.editing();
    if (editing)
        editor.rebuildParameters(calculator_.display().getInputText());

    const std::vector<std::u16string> rows = editor.nameRows();
    for (int row = 0; row < static_cast<int>(rows.size()) && row < nameBox_->count(); ++row)
        nameBox_->setItemText(row, toQString(rows[static_cast<std::size_t>(row)]));
    {
        // Showing the selection is not a choice of the user: it must not reload the macro.
        const QSignalBlocker blocker(nameBox_);
        nameBox_->setCurrentIndex(editor.selectedRow());
    }

    header_->setText(displayString(editor.header()));
    const QString formula = toQString(editor.formula());
    if (formula_->text() != formula) {
        formula_->setText(formula);
        formula_->setCursorPosition(0);  // a long formula shows its start
    }
    params_->setText(editor.params().empty() ? tr("none") : displayString(editor.params()));

    for (QWidget* widget : std::initializer_list<QWidget*>{formula_, variable_, useButton_, saveButton_, doneButton_})
        widget->setEnabled(editing);
    deleteButton_->setEnabled(editing && calculator_.macros().indexOf(editor.name()).has_value());
    hint_->setText(editing ? tr("Write the formula on the display; variables: x, y, ...")
                           : tr("Choose a name to edit its macro."));
}

void MacroEditorView::chooseRow(int row)
{
    if (row < 0 || row >= MacroEditor::kNameRows)
        return;
    calculator_.editMacro(MacroEditor::rowName(row));
    refresh();
    Q_EMIT changed();
}

void MacroEditorView::useVariable()
{
    const std::u16string name = fromQString(variable_->text().trimmed());
    if (name.empty() || !calculator_.macroEditor().editing())
        return;
    calculator_.macroEditor().useVariable(name);
    calculator_.display().currentLine().insertToken(name);
    refresh();
    Q_EMIT changed();
}

void MacroEditorView::save()
{
    if (!calculator_.saveMacro()) {
        QMessageBox::information(window(), kCaption, tr("Choose a macro name first."));
        return;
    }
    refresh();
    Q_EMIT changed();
}

void MacroEditorView::remove()
{
    const QString name = toQString(calculator_.macroEditor().name());
    if (QMessageBox::question(window(), kCaption, tr("Delete the macro %1?").arg(name),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    calculator_.macroEditor().remove();
    refresh();
    Q_EMIT changed();
}

void MacroEditorView::done()
{
    calculator_.stopEditingMacro();
    refresh();
    // The focused control may just have been disabled: typing goes back to the display.
    window()->setFocus(Qt::OtherFocusReason);
    Q_EMIT changed();
}

void MacroEditorView::keyPressEvent(QKeyEvent* event)
{
    // Keys that the panel's controls left unused stop here where they would move the display's
    // lines or evaluate it; characters go on to the window, which types them on the display.
    switch (event->key()) {
    case Qt::Key_Escape: window()->setFocus(Qt::OtherFocusReason); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && isAncestorOf(button))
            button->click();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down: return;
    default: QWidget::keyPressEvent(event);
    }
}

void MacroEditorView::resizeEvent(QResizeEvent* event)
{
    applyMetrics();
    QWidget::resizeEvent(event);
}

void MacroEditorView::applyMetrics()
{
    // A wide area (landscape) holds the fields and the actions side by side in three rows;
    // a tall one stacks them in six. The font follows the height that each row gets.
    const bool wide = width() * 2 >= height() * 3;
    const int px = std::max(8, wide ? height() / 11 : height() * 2 / 33);
    if (px == fontPixels_ && wide == wide_)
        return;
    fontPixels_ = px;
    wide_ = wide;
    setThemedStyleSheet(this, panelStyleSheet(px));
    columns_->setDirection(wide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    // Side by side the fields need the room: the formula is the longest text.
    columns_->setStretch(0, wide ? 3 : 0);
    columns_->setStretch(1, wide ? 2 : 1);
    variableLabel_->setVisible(!wide);
    variable_->setPlaceholderText(wide ? tr("variable") : QStringLiteral("x"));
    const int margin = std::max(3, px / 2);
    const int spacing = std::max(2, px / 3);
    columns_->setContentsMargins(margin, margin, margin, margin);
    columns_->setSpacing(wide ? margin : spacing);
    for (QGridLayout* grid : {fieldsGrid_, actionsGrid_}) {
        grid->setHorizontalSpacing(spacing);
        grid->setVerticalSpacing(spacing);
    }

    // One label column for both grids, so that the fields line up when they are stacked.
    QFont font = this->font();
    font.setPixelSize(px);
    const QFontMetrics metrics(font);
    int labelWidth = 0;
    for (const QString& text : {tr("Formula"), tr("Params"), tr("Variable"), QStringLiteral("Mm *")})
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(text));
    labelWidth += px + px / 3 + 2 * std::max(2, px / 3) + 2;  // the combo's arrow and padding
    fieldsGrid_->setColumnMinimumWidth(0, labelWidth);
    actionsGrid_->setColumnMinimumWidth(0, wide ? 0 : labelWidth);
    nameBox_->setFixedWidth(labelWidth);
}
