#pragma once

#include <QWidget>

#include <array>

#include "equation_solver.h"

class Engine;
class NumberPadView;
class QBoxLayout;
class QComboBox;
class SkinPixmaps;
class QGridLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The equation solver's panel, shown in the "Equation Solver" category where the display and
// the keypads are: the kind combo, the coefficient fields laid out as the kind's equations, the
// result fields, Solve, and the number pad (the skin's "NumberKeyboardFunctions" and
// "LargeFonts") that fills the fields by pointer alone; its OK solves. The solving lives in
// the EquationSolver model, which this panel owns.
class EquationSolverView : public QWidget {
    Q_OBJECT
public:
    static constexpr std::size_t kRowCount = 3;
    static constexpr std::size_t kColumnCount = 4;

    EquationSolverView(Engine& engine, QWidget* parent = nullptr);

    const EquationSolver& model() const { return model_; }
    NumberPadView* numberPad() const { return pad_; }
    void setSkin(const SkinPixmaps& skin);

    // A keyboard key of the main window while no field has the focus: a character goes to the
    // first coefficient field, which takes the focus; Enter solves. False for other keys.
    bool takeKey(QKeyEvent* event);

public Q_SLOTS:
    // Fields and labels for the model's kind and texts.
    void refresh();
    // Hands the field texts to the model, solves and shows the results; an engine error is
    // shown in a message box.
    void solve();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void chooseKind(int index);
    void applyMetrics();

    Engine& engine_;
    EquationSolver model_;
    int fontPixels_ = 0;
    bool padBeside_ = false;

    QWidget* form_;
    NumberPadView* pad_;
    QBoxLayout* split_;
    QVBoxLayout* rows_;
    QGridLayout* equationsGrid_;
    QGridLayout* resultsGrid_;
    QComboBox* kindBox_;
    // Fields 0..15 of the model; a field's place in the grid is row field/4, column field%4.
    std::array<QLineEdit*, EquationSolver::kFieldCount> fields_{};
    // The label after each coefficient column, per row, and after each result field.
    std::array<std::array<QLabel*, kColumnCount>, kRowCount> rowLabels_{};
    std::array<QLabel*, EquationSolver::kResultCount> resultLabels_{};
    QPushButton* solveButton_;
};
