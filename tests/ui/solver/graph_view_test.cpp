// The graph panel hands typed functions to its model as engine text and plots them.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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

}  // namespace
