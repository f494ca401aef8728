#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "operator_context.h"
#include "variable_slots.h"

// A postfix text turned once into a short list of steps over fixed cells, so that a cached
// expression (a plotted function, an integrand, the terms of a sum) runs as a tight loop:
// numbers are read once, names are resolved to the bound variable, a constant or a slot,
// operators are resolved to the functions that run them, and the group bases (which decide how
// many operands an operator sees) are worked out once. A slot's value is read at run time:
// slots may change between runs.
//
// Running gives bit for bit what applying the operator table to a stack token by token gives,
// errors included: the first error raised ends the run, with the same code.
class CompiledExpression {
public:
    // Compiles a postfix text. boundName (compared without case, may be empty) names the
    // variable whose value run() is given.
    explicit CompiledExpression(std::string_view postfix = {}, std::string_view boundName = {});

    // Working memory that a caller keeps between runs: the cells, and the small stack on which
    // an operator of the table runs.
    struct Workspace {
        ScalarStack cells;
        ScalarStack operands;
        std::vector<double> realCells;
    };

    // Runs the steps. The result is the bottom cell of the stack (0 for an empty program); ok is
    // false when an error was raised.
    struct Result {
        CalcValue value;
        bool ok = false;
    };
    Result run(OperatorContext& context, const VariableSlots& slots, double boundValue, Workspace& workspace) const;

    // The real part of what run() gives, for callers that want no more (a curve's point, an
    // integrand, a term of a sum), computed without imaginary parts while every value on the way
    // is a finite real number and no step could raise an error. Returns false where that does
    // not hold, having touched nothing but the last right operand (which run() then sets anew):
    // the caller runs the full steps instead. It pays for itself on a curve's points: callgrind
    // counts 352 instructions a point of BM_EvaluateAtCached ("x*x-3*x+2/(x+1)") through it
    // against 497 through run() alone, and 3.45 against 4.06 million for BM_SumTenThousandTerms.
    bool runReal(OperatorContext& context, const VariableSlots& slots, double boundValue, Workspace& workspace,
                 double& value) const;
    // runReal for a program that is one real number, its operations folded when it was
    // compiled ("2+3*4"): no steps to run, only the last right operand to set.
    bool runRealConstant(OperatorContext& context, double& value) const
    {
        if (!realConstant_)
            return false;
        const RealStep& step = realSteps_.front();
        if (step.setsLastRight)
            context.settings.lastRightOperand = step.lastRight;
        value = step.value;
        return true;
    }

private:
    enum class Code : unsigned char {
        Constant,  // cell = value; then the last right operand = lastRight if setsLastRight
        Bound,     // cell = the bound value ("Out of range" when not finite)
        Slot,      // cell = the slot's scalar ("Syntax error" for a matrix)
        Negate,    // "-" with a single operand above the group's base
        Add,
        Subtract,
        Multiply,
        Divide,
        Power,
        PowerOfConstant,  // cell ^ value, value a whole nonzero real number
        SquareRoot,
        Sine,
        Cosine,
        Operation,  // any operator of the table, through its stack function
        Raise,      // an error that the steps before it cannot prevent
    };
    // Where the right operand of an arithmetic step comes from: its cell, or a number or the
    // bound variable read in the same step (what would otherwise be a step of its own).
    enum class Operand : unsigned char { Cell, Constant, Bound };
    struct Step {
        Step(Code stepCode, int stepCell, int stepIndex = 0, ScalarOperation stepOperation = nullptr,
             CalcValue stepValue = {})
            : code(stepCode), cell(stepCell), index(stepIndex), operation(stepOperation), value(stepValue)
        {
        }

        Code code = Code::Raise;
        Operand right = Operand::Cell;
        // The cell written: an operand's cell, or a binary operation's left operand's.
        int cell = 0;
        // Slot index, error code, or an operation's operand count.
        int index = 0;
        ScalarOperation operation = nullptr;
        // A Constant's value, a PowerOfConstant's exponent, an arithmetic step's constant operand.
        CalcValue value;
        // PowerOfConstant: the largest |base| whose overflow test passes for sure.
        double limit = 0.0;
        // A Constant folded from operations on constants: the right operand of the last of them.
        bool setsLastRight = false;
        double lastRight = 0.0;
    };

    // The real form of the steps, one code per operation and operand kind: no imaginary parts,
    // no second dispatch on where an operand comes from.
    enum class RealCode : unsigned char {
        Constant,
        Bound,
        Slot,
        Negate,
        AddCell,
        AddConstant,
        AddBound,
        SubtractCell,
        SubtractConstant,
        SubtractBound,
        MultiplyCell,
        MultiplyConstant,
        MultiplyBound,
        DivideCell,
        DivideConstant,
        DivideBound,
        Power,
        PowerOfConstant,
        SquareRoot,
        Sine,
        Cosine,
    };
    struct RealStep {
        RealCode code = RealCode::Constant;
        bool setsLastRight = false;
        int cell = 0;
        int index = 0;
        double value = 0.0;
        double limit = 0.0;
        double lastRight = 0.0;
    };

    void compileName(std::string_view token, std::string_view boundName, int cell);
    void compileOperator(std::string_view token, ScalarOperation operation, int arity, int operands, int cell);
    // Replaces the steps of a binary operation on two constants, or of a negated constant, by
    // its value, when computing it cannot fail and needs no settings.
    bool foldConstants(const Step& step);
    // Reads an arithmetic step's right operand from the number or bound-variable step before it.
    void fuseRightOperand(Step& step);
    // Fills realSteps_ when every step has a real form; leaves it empty otherwise.
    void compileRealSteps();
    static bool runOperation(const Step& step, OperatorContext& context, CalcValue* cells, ScalarStack& operands);

    std::vector<Step> steps_;
    std::vector<RealStep> realSteps_;  // empty: no real form
    bool realConstant_ = false;
    // Cells used at most, and the stack's height at the end (0: the result is 0).
    int cellCount_ = 0;
    int finalHeight_ = 0;
};
