#pragma once

#include <array>
#include <string>
#include <optional>
#include <string_view>
#include <vector>

#include "basic_machine.h"
#include "cancel_flag.h"
#include "compiled_expression.h"
#include "engine_error.h"
#include "engine_settings.h"
#include "operator_context.h"
#include "value_cell.h"
#include "variable_slots.h"

// The calculation engine: error code, settings, variable slots and the evaluator.
// One object per calculator; it holds no global state, and is used from one thread at a time.
// The one exception is requestCancel(), which any thread may call while another evaluates.
class Engine {
public:
    static constexpr int kModeScalar = 0;
    static constexpr int kModeMatrix = 1;
    // Longest expression text accepted; the display refuses longer lines before evaluating.
    static constexpr std::size_t kMaxExpressionLength = 1023;

    EngineSettings settings;
    VariableSlots slots;
    // The stack calculator of the basic input modes; it lives as long as the engine.
    BasicMachine basic;

    // The engine error: 0, or the first code raised since the last reset.
    int error() const { return error_; }
    // Clears the error; while a cancel is requested it becomes "Calculation cancelled" instead,
    // so that no loop that resets the error between its steps (fnRoot) outlives a cancel.
    void resetError()
    {
        error_ = cancel_.requested() ? ErrorCode::kCancelled : ErrorCode::kNone;
        unknownName_.clear();
    }
    // With a "Syntax error" that a word the engine does not know caused: that word as written
    // ("abz"), for a message that names it. Empty for every other error.
    const std::string& unknownName() const { return unknownName_; }
    // Stores code unless an error is already set: the first error wins.
    void raise(int code);
    OperatorContext context() { return OperatorContext{error_, settings, &cancel_}; }

    // Asks the running evaluation to stop; safe from any thread. It ends with "Calculation
    // cancelled" at its next check (the loops of fnSum, fnProduct, fnInt, fnRoot and the matrix
    // eliminations check at every step), and so does every evaluation until clearCancel().
    void requestCancel() { cancel_.request(); }
    void clearCancel() { cancel_.clear(); }
    bool cancelRequested() const { return cancel_.requested(); }
    // For the engine's loops: true when the evaluation must stop, because an error is set or a
    // cancel was requested (which raises "Calculation cancelled").
    bool stopRequested();

    struct ScalarResult {
        CalcValue value;
        bool ok = false;
    };

    // Evaluates an engine text in scalar (kModeScalar) or matrix mode (kModeMatrix) and radix
    // 2, 8, 10 or 16. The result is also left in slot VVV. Callers reset the error before and
    // read it after; while it is set the result is meaningless and nothing is evaluated.
    ValueCell evaluate(std::string_view text, int mode, int radix);

    // Evaluates an already expanded text (no function calls) with an optional bound variable.
    ScalarResult evaluateScalar(std::string_view text, std::string_view boundName, double boundValue, int radix);
    // The same through a cache of the last few compiled texts (for the same variable name and
    // radix): the graphs' curves, the integrand, the derivative's sub-texts.
    ScalarResult evaluateScalarCached(std::string_view text, std::string_view boundName, double boundValue, int radix);

    // Compiles an expanded text (no function calls) for repeated runs with the bound variable
    // boundName. Returns false, with the error set, when it does not compile.
    bool compileScalar(std::string_view text, std::string_view boundName, int radix, CompiledExpression& program);
    // Runs a program of compileScalar with the bound variable's value; what evaluateScalar of
    // its text gives.
    ScalarResult runScalar(const CompiledExpression& program, double boundValue);
    // The real part of runScalar's result, computed without imaginary parts, when that result
    // is a real number reached without an error; false (nothing set) where runScalar must be
    // asked instead.
    bool runScalarReal(const CompiledExpression& program, double boundValue, double& value);

    // Evaluates a matrix expression (with 'solve(A,B)' rewritten as inv(A)*(B)); the result is
    // also stored in VVV.
    ValueCell evaluateMatrix(std::string_view text);
    // A matrix literal token ("[1,2;3,4]") with its elements evaluated; nullopt after raising
    // the error of a bad shape or element.
    std::optional<ValueCell> evaluateMatrixLiteral(std::string_view literal);

    // Sets the expression and variable that evaluateAt uses (the calculus functions set it).
    void setBoundExpression(std::string text, std::string variableName);
    const std::string& boundText() const { return boundText_; }
    const std::string& boundName() const { return boundName_; }

    // The bound expression at x + 0i (radix 10). A result whose imaginary part exceeds 1e-8 in
    // magnitude raises "Complex's not been supported"; otherwise the real part is returned.
    double evaluateAt(double x);
    // The same for the given text with the current bound variable name, through the cache.
    double evaluateAtCached(double x, std::string_view text);

    // Replaces every named function call of the text by its value (or RT by a root). Returns
    // false, with the error set, when a call is malformed or its value is unusable.
    bool expandFunctionCalls(std::string& text, int radix);

private:
    bool compile(std::string& text, int radix, std::string_view boundName);
    double realPartAt(ScalarResult result);
    // evaluateAt's result for a compiled program: the real shortcut first, else the full run.
    double realPartOf(const CompiledExpression& program, double x);
    bool expandRoot(std::string& text, std::size_t nameBegin, std::size_t open, std::size_t close);
    std::string formatCallValue(double value, int radix) const;
    bool rewriteSolveCalls(std::string& text);

    int error_ = ErrorCode::kNone;
    std::string unknownName_;
    CancelFlag cancel_;
    std::string boundText_;
    std::string boundName_;
    // The compiled form of text, from the cache or compiled into it; nullptr (with the error
    // set) when the text does not compile.
    const CompiledExpression* cachedProgram(std::string_view text, std::string_view boundName, int radix);

    struct CacheEntry {
        std::string source;
        std::string boundName;
        int radix = 10;
        bool filled = false;
        CompiledExpression program;

        // Whether this entry is the program of text for that variable and radix.
        bool holds(std::string_view text, std::string_view name, int textRadix) const
        {
            return filled && radix == textRadix && source == text && boundName == name;
        }
    };
    // Enough for the three curves of a graph and an integrand evaluated between their samples.
    std::array<CacheEntry, 4> cache_;
    std::size_t lastCached_ = 0;
    CompiledExpression::Workspace workspace_;
};
