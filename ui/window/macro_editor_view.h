#pragma once

#include <QWidget>

class Calculator;
class QBoxLayout;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// The macro window's panel, shown where the keypads are in the "Macros" category: the name
// list, the header, the formula field, the parameters, a variable input and the Save, Delete
// and Done buttons. The macro's formula itself is typed on the display line; the editing rules
// live in MacroEditor, reached through the calculator.
class MacroEditorView : public QWidget {
    Q_OBJECT
public:
    MacroEditorView(Calculator& calculator, QWidget* parent = nullptr);

public Q_SLOTS:
    // Shows the editor's state again; call after every key, since a key may change the formula
    // on the display line and with it the parameter list.
    void refresh();

Q_SIGNALS:
    // Emitted after the panel changed the display line or result text, or the macro list.
    void changed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void chooseRow(int row);
    void useVariable();
    void save();
    void remove();
    void done();
    void applyMetrics();

    Calculator& calculator_;
    int fontPixels_ = 0;
    bool wide_ = false;

    QBoxLayout* columns_;
    QGridLayout* fieldsGrid_;
    QGridLayout* actionsGrid_;
    QComboBox* nameBox_;
    QLineEdit* header_;
    QLabel* formulaLabel_;
    QLineEdit* formula_;
    QLabel* paramsLabel_;
    QLabel* params_;
    QLabel* variableLabel_;
    QLineEdit* variable_;
    QPushButton* useButton_;
    QLabel* hint_;
    QPushButton* saveButton_;
    QPushButton* deleteButton_;
    QPushButton* doneButton_;
};
