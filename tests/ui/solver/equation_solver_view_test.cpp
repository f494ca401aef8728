// The equation solver panel typed into with real keys: scientific notation, roots with their
// significant digits, complex roots, the cubic and quartic kinds and the kind change.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <vector>

#include "calculator_view.h"
#include "equation_solver_view.h"

#include "shipped_window.h"

namespace {

struct SolverWindow {
    Calculator calculator{std::filesystem::path()};
    CalculatorView view{calculator, shippedFolder()};
    EquationSolverView* panel = nullptr;

    SolverWindow()
    {
        calculator.start();
        view.resize(240, 320);
        view.show();
        view.showCategory(CategoryCode::kEquationSolver);
        panel = view.findChild<EquationSolverView*>();
    }
    QLineEdit* field(int index) const { return panel->findChild<QLineEdit*>(QStringLiteral("field%1").arg(index)); }
    QComboBox* kinds() const { return panel->findChild<QComboBox*>(QStringLiteral("kind")); }
    // Down arrows on the kind box from the quadratic, as a user steps through the list.
    void chooseKind(EquationSolver::Kind kind) const
    {
        while (kinds()->currentIndex() != static_cast<int>(kind))
            QTest::keyClick(kinds(), kinds()->currentIndex() < static_cast<int>(kind) ? Qt::Key_Down : Qt::Key_Up);
    }
    // Types each coefficient into its field and solves with Enter in the last one.
    void solve(const std::vector<QString>& coefficients) const
    {
        for (std::size_t i = 0; i < coefficients.size(); ++i) {
            QLineEdit* edit = field(static_cast<int>(i));
            QTest::mouseClick(edit, Qt::LeftButton);
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, coefficients[i]);
        }
        QTest::keyClick(field(static_cast<int>(coefficients.size()) - 1), Qt::Key_Return);
    }
    std::vector<QString> results() const
    {
        std::vector<QString> texts;
        for (int i = 12; i < 16; ++i)
            if (field(i)->isVisible())
                texts.push_back(field(i)->text());
        return texts;
    }
};

TEST(EquationSolverView, TypedEquationsShowTheirRoots)
{
    using Kind = EquationSolver::Kind;
    struct Case {
        Kind kind;
        std::vector<QString> coefficients;
        std::vector<QString> roots;
    };
    const Case cases[] = {
        {Kind::Quadratic, {"1", "1e8", "1"}, {"-1e-08", "-100000000"}},
        {Kind::Quadratic, {"1e-8", "-2e-8", "1e-8"}, {"1", "1"}},
        {Kind::Quadratic, {"1", "0", "1"}, {"i", "-i"}},
        {Kind::Quadratic, {"1", "-3", "2"}, {"2", "1"}},
        {Kind::Cubic, {"1", "-6", "11", "-6"}, {"3", "2", "1"}},
        {Kind::Cubic, {"1", "0", "0", "-1"}, {"1", "-0.5+0.8660254038i", "-0.5-0.8660254038i"}},
        {Kind::Cubic,
         {"2", "-4", "3", "-7"},
         {"2.085481304", "-0.04274065186+1.29477523i", "-0.04274065186-1.29477523i"}},
        {Kind::Quartic, {"1", "-10", "35", "-50", "24"}, {"4", "3", "2", "1"}},
        {Kind::Quartic,
         {"1", "2", "3", "4", "5"},
         {"0.2878154796+1.41609308i", "0.2878154796-1.41609308i", "-1.28781548+0.8578967583i",
          "-1.28781548-0.8578967583i"}},
        {Kind::Quartic, {"0", "1", "0", "0", "-1"}, {"1", "-0.5+0.8660254038i", "-0.5-0.8660254038i", ""}},
    };
    for (const Case& c : cases) {
        SolverWindow w;
        w.chooseKind(c.kind);
        w.solve(c.coefficients);
        EXPECT_EQ(w.results(), c.roots) << c.coefficients[1].toStdString();
    }
}

TEST(EquationSolverView, ChangingTheKindClearsTheRoots)
{
    SolverWindow w;
    w.solve({"1", "-3", "2"});
    ASSERT_EQ(w.results(), (std::vector<QString>{"2", "1"}));
    w.chooseKind(EquationSolver::Kind::Cubic);
    EXPECT_EQ(w.results(), (std::vector<QString>{"", "", ""}));
    w.chooseKind(EquationSolver::Kind::TwoEquations);
    EXPECT_EQ(w.results(), (std::vector<QString>{"", ""}));
}

}  // namespace
