#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

class Engine;

// The equation solver window's model: the problem kind, sixteen number fields (twelve
// coefficients, four results) and the solve step. The window lays out the fields, draws the
// labels that kindLabels gives and shows the message that Solve returns in a message box.
class EquationSolver {
public:
    static constexpr std::u16string_view kWindowName = u"Equations_Solver_Wnd";

    // The combo box entries; an index is the kind's number.
    enum class Kind { Quadratic = 0, Cubic = 1, Quartic = 2, TwoEquations = 3, ThreeEquations = 4 };
    static constexpr std::size_t kKindCount = 5;
    static constexpr std::array<std::u16string_view, kKindCount> kKindNames = {
        u"Quadratic Equation", u"Cubic Equation", u"Quartic Equation", u"Quadratic Simultaneous",
        u"Cubic Simultaneous"};

    // Fields 0..11 are four per equation row (x, y, z coefficients, right-hand side; the
    // polynomials fill them from the highest power on); 12..15 show the results.
    static constexpr std::size_t kFieldCount = 16;
    static constexpr std::size_t kFirstResultField = 12;
    static constexpr std::size_t kResultCount = kFieldCount - kFirstResultField;
    static constexpr std::u16string_view kNaN = u"NaN";

    // What the window draws for a kind: the labels after the coefficient fields of each row, the
    // labels at the result fields, and which fields are in use.
    struct KindLabels {
        std::array<std::array<std::u16string_view, 4>, 3> rows;
        std::array<std::u16string_view, kResultCount> results;  // only resultCount are used
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
    // Roots of another kind of problem mean nothing under the new labels: they are cleared.
    void setKind(Kind kind);

    const std::u16string& fieldText(std::size_t field) const { return fields_[field]; }
    // One '1' per character of the field's text: the field control draws with it.
    const std::u16string& fieldMask(std::size_t field) const { return masks_[field]; }
    // Replaces a field's text and its mask; field indexes beyond 15 are ignored.
    void setFieldText(std::size_t field, std::u16string_view text);

    // Reads a coefficient field, normalises it and writes the normalised text back: empty -> "1",
    // "-" -> "-1", no digit or a minus after the first character (other than an exponent's,
    // "1e-8") -> "0", ".5" -> "0.5", "-.5" -> "-0.5". Returns the normalised text.
    std::u16string getCoefficientText(std::size_t field);

    // Solves the current kind with the engine and fills the result fields, with ten significant
    // digits; complex roots show as "1+2i". Failures that are not reported by a message show
    // "NaN" (no equation left, singular system).
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
    SolveResult solvePolynomial(Engine& engine, std::size_t degree);
    void solveLinear(Engine& engine, std::size_t n);
    void setResult(std::size_t index, double re, double im = 0.0);
    void clearResults();

    Kind kind_ = Kind::Quadratic;
    std::array<std::u16string, kFieldCount> fields_{};
    std::array<std::u16string, kFieldCount> masks_{};
};
