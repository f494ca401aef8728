#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

class Engine;

// The equation solver window's model: the problem kind, fifteen number fields (twelve
// coefficients, three results) and the solve step. The window lays out the fields, draws the
// labels that kindLabels gives and shows the message that Solve returns in a message box.
class EquationSolver {
public:
    static constexpr std::u16string_view kWindowName = u"Equations_Solver_Wnd";

    // The combo box entries; an index is the kind's number.
    enum class Kind { Quadratic = 0, TwoEquations = 1, ThreeEquations = 2 };
    static constexpr std::size_t kKindCount = 3;
    static constexpr std::array<std::u16string_view, kKindCount> kKindNames = {
        u"Quadratic Equation", u"Quadratic Simultaneous", u"Cubic Simultaneous"};

    // Fields 0..11 are four per equation row (x, y, z coefficients, right-hand side); 12..14
    // show the results.
    static constexpr std::size_t kFieldCount = 15;
    static constexpr std::size_t kFirstResultField = 12;
    static constexpr std::u16string_view kNaN = u"NaN";

    // What the window draws for a kind: the labels after the coefficient fields of a row, the
    // labels at the result fields, and which fields are in use.
    struct KindLabels {
        std::array<std::u16string_view, 3> row;
        std::array<std::u16string_view, 3> results;  // only resultCount are used
        std::size_t resultCount;
        std::array<std::size_t, 12> coefficientFields;  // only coefficientCount are used
        std::size_t coefficientCount;
    };
    static const KindLabels& kindLabels(Kind kind);

    // Solve's outcome. A non-empty message is the engine's error text for a message box; the
    // result fields are then left as they were.
    struct SolveResult {
        std::u16string message;
        bool failedWithMessage() const { return !message.empty(); }
    };

    // Kind quadratic, every field empty.
    EquationSolver() = default;

    Kind kind() const { return kind_; }
    void setKind(Kind kind) { kind_ = kind; }

    const std::u16string& fieldText(std::size_t field) const { return fields_[field]; }
    // One '1' per character of the field's text: the field control draws with it.
    const std::u16string& fieldMask(std::size_t field) const { return masks_[field]; }
    // Replaces a field's text and its mask; field indexes beyond 14 are ignored.
    void setFieldText(std::size_t field, std::u16string_view text);

    // Reads a coefficient field, normalises it and writes the normalised text back: empty -> "1",
    // "-" -> "-1", no digit or a minus after the first character -> "0", ".5" -> "0.5",
    // "-.5" -> "-0.5". Returns the normalised text.
    std::u16string getCoefficientText(std::size_t field);

    // Solves the current kind with the engine and fills the result fields. Failures that are not
    // reported by a message show "NaN" (no real roots, degenerate linear equation, singular
    // system).
    SolveResult solve(Engine& engine);

    // The normalisation of getCoefficientText on a text alone.
    static std::u16string normalizeCoefficient(std::u16string_view text);
    // The root texts of the quadratic for already normalised a, b, c: x1 uses +sqrt(D).
    static std::string rootText(std::string_view a, std::string_view b, std::string_view c, bool plusRoot);
    // The same root written so that nothing cancels, given the sign of b: where -b and the
    // root of D have opposite signs (b > 0 with +sqrt(D), b < 0 with -sqrt(D)) the root is
    // 2c / (-b -+ sqrt(D)) instead, the same number in exact arithmetic. a = 1e-19, b = 1,
    // c = 1 then gives x1 = -1, where the textbook form gives 0.
    static std::string stableRootText(std::string_view a, std::string_view b, std::string_view c, bool plusRoot,
                                      double bValue);

private:
    SolveResult solveQuadratic(Engine& engine);
    void solveLinear(Engine& engine, std::size_t n);
    void setResult(std::size_t index, double value);

    Kind kind_ = Kind::Quadratic;
    std::array<std::u16string, kFieldCount> fields_{};
    std::array<std::u16string, kFieldCount> masks_{};
};
