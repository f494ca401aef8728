// The graph panel hands typed functions to its model as engine text and plots them.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <numbers>

#include "graph_view.h"
#include "keypads.h"
#include "calculator_view.h"

#include "shipped_window.h"

namespace {

TEST(GraphView, TypedFunctionIsPlottedIntoTheModel)
{
    Calculator calculator{std::filesystem::path()};
    CalculatorView view(calculator, shippedFolder());
    calculator.start();
    view.resize(240, 320);
    view.show();
    view.showCategory(CategoryCode::kFunctionGraphs);

    auto* panel = view.findChild<GraphView*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isHidden());
    auto* field = view.findChild<QLineEdit*>(QStringLiteral("graphField0"));
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, QStringLiteral("x^2"));
    QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("plotButton")), Qt::LeftButton);

    const Graph& model = panel->model();
    EXPECT_TRUE(model.plotShown());
    EXPECT_EQ(model.fieldText(0), "x^2");
    ASSERT_EQ(model.curves().size(), 1u);
    const GraphCurve& curve = model.curves()[0];
    EXPECT_EQ(curve.colour, Graph::kCurveColours[0]);
    ASSERT_GT(curve.count, 10u);
    for (std::size_t i = 0; i < curve.count; ++i)
        EXPECT_NEAR(curve.ys[i], curve.xs[i] * curve.xs[i], 1e-9);

    QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("entryButton")), Qt::LeftButton);
    EXPECT_FALSE(model.plotShown());
}

struct GraphWindow {
    Calculator calculator{std::filesystem::path()};
    CalculatorView view{calculator, shippedFolder()};
    GraphView* panel = nullptr;

    GraphWindow()
    {
        calculator.start();
        view.resize(240, 320);
        view.show();
        view.showCategory(CategoryCode::kFunctionGraphs);
        panel = view.findChild<GraphView*>();
    }
    void plot(const QString& function) const
    {
        auto* field = view.findChild<QLineEdit*>(QStringLiteral("graphField0"));
        field->clear();
        QTest::keyClicks(field, function);
        QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("plotButton")), Qt::LeftButton);
    }
};

TEST(GraphView, APlotUsesTheAngleUnitInForceWhenDrawn)
{
    GraphWindow w;
    struct Case {
        AngleMode mode;
        double radiansPerUnit;
    };
    const Case cases[] = {
        {AngleMode::Degrees, std::numbers::pi / 180},
        {AngleMode::Radians, 1.0},
        {AngleMode::Grads, std::numbers::pi / 200},
        {AngleMode::Degrees, std::numbers::pi / 180},
    };
    for (const Case& c : cases) {
        w.calculator.display().setAngleMode(static_cast<int>(c.mode));
        // The same text each time: only the unit changed.
        w.plot(QStringLiteral("sin(x)"));
        ASSERT_EQ(w.panel->model().curves().size(), 1u);
        const GraphCurve& curve = w.panel->model().curves()[0];
        ASSERT_GT(curve.count, 10u);
        for (std::size_t i = 0; i < curve.count; ++i)
            EXPECT_NEAR(curve.ys[i], std::sin(curve.xs[i] * c.radiansPerUnit), 1e-9) << static_cast<int>(c.mode);
        QTest::mouseClick(w.view.findChild<QPushButton*>(QStringLiteral("entryButton")), Qt::LeftButton);
    }
}

TEST(GraphView, AFunctionWithoutACurveSaysWhatIsWrong)
{
    struct Case {
        QString function;
        QString message;
    };
    const Case cases[] = {
        {"x+*", "y1 = x+*: Syntax error"},
        {"sqrt(x", "y1 = sqrt(x: Syntax error"},
        {"1/0", "y1 = 1/0: Division error"},
    };
    for (const Case& c : cases) {
        GraphWindow w;
        w.plot(c.function);
        QMessageBox* box = w.panel->findChild<QMessageBox*>();
        ASSERT_NE(box, nullptr) << c.function.toStdString();
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(box->text(), c.message);
        // The fields stay open for the correction.
        EXPECT_FALSE(w.panel->model().plotShown());
        EXPECT_TRUE(w.view.findChild<QLineEdit*>(QStringLiteral("graphField0"))->isVisible());
    }
    GraphWindow w;
    w.plot(QStringLiteral("x^2"));
    EXPECT_EQ(w.panel->findChild<QMessageBox*>(), nullptr);
}

}  // namespace
