// A calculation that would run for days stops when it is asked to: the engine's loops check the
// cancel request and end with "Calculation cancelled".
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "engine.h"
#include "matrix_operations.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Evaluates text while another thread asks for a cancel after `after`; returns the seconds the
// evaluation took.
double evaluateCancelledAfter(Engine& engine, std::string_view text, int mode, std::chrono::milliseconds after)
{
    engine.resetError();
    const Clock::time_point start = Clock::now();
    std::thread canceller([&engine, after] {
        std::this_thread::sleep_for(after);
        engine.requestCancel();
    });
    engine.evaluate(text, mode, 10);
    const double seconds = secondsSince(start);
    canceller.join();
    return seconds;
}

TEST(Cancel, StopsNestedSumsThatWouldRunForDays)
{
    Engine engine;
    const double seconds = evaluateCancelledAfter(engine, "fnSum(fnSum(ncr(y,1),y,1,999999),x,1,999999)",
                                                  Engine::kModeScalar, std::chrono::milliseconds(200));
    EXPECT_EQ(engine.error(), ErrorCode::kCancelled);
    EXPECT_EQ(errorMessage(engine.error()), u"Calculation cancelled");
    EXPECT_LT(seconds, 5.0);
}

TEST(Cancel, StopsEveryLongLoop)
{
    struct Case {
        const char* text;
        int mode;
    };
    // Each would take far longer than the test allows: the inner call is evaluated per step, and
    // its term holds a call (ncr) of its own, so it is expanded again for each of its terms.
    const Case cases[] = {
        {"fnProduct(fnSum(ncr(y,1),y,1,999999),x,1,999999)", Engine::kModeScalar},
        {"fnInt(fnSum(ncr(y,1),y,1,999999)*x,x,0,1)", Engine::kModeScalar},
        {"fnRoot(x-fnSum(ncr(y,1),y,1,999999),x,0,1e12)", Engine::kModeScalar},
        {"fnSum(fnSum(ncr(z,1)*x,z,1,999),x,1,999999)", Engine::kModeScalar},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Engine engine;
        const double seconds = evaluateCancelledAfter(engine, c.text, c.mode, std::chrono::milliseconds(100));
        EXPECT_EQ(engine.error(), ErrorCode::kCancelled);
        EXPECT_LT(seconds, 5.0);
    }
}

TEST(Cancel, StopsTheEigenvaluesOfALargeMatrix)
{
    // eigl([LIST]*trans([LIST])) of 512 values: a 512 x 512 matrix, half a minute of work.
    Engine engine;
    std::vector<double> values(512);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = 1.0 + static_cast<double>(i % 17);
    engine.slots.storeMatrix(VariableSlots::kList, 512, 1, values.data());
    for (const char* text : {"eigl(LIST*trans(LIST))", "eigv(LIST*trans(LIST))"}) {
        SCOPED_TRACE(text);
        const double seconds =
            evaluateCancelledAfter(engine, text, Engine::kModeMatrix, std::chrono::milliseconds(200));
        EXPECT_EQ(engine.error(), ErrorCode::kCancelled);
        EXPECT_LT(seconds, 5.0);
        engine.clearCancel();
    }
}

TEST(Cancel, ARequestStaysUntilCleared)
{
    Engine engine;
    engine.requestCancel();
    EXPECT_TRUE(engine.cancelRequested());
    engine.resetError();
    // Resetting the error (as fnRoot does between its steps) does not drop the request.
    EXPECT_EQ(engine.error(), ErrorCode::kCancelled);
    engine.evaluate("1+1", Engine::kModeScalar, 10);
    EXPECT_EQ(engine.error(), ErrorCode::kCancelled);

    engine.clearCancel();
    engine.resetError();
    const ValueCell result = engine.evaluate("1+1", Engine::kModeScalar, 10);
    EXPECT_EQ(engine.error(), ErrorCode::kNone);
    EXPECT_EQ(result.re, 2.0);
}

TEST(Cancel, MatrixOperationsStopAtTheFlagOfTheirContext)
{
    int error = ErrorCode::kNone;
    EngineSettings settings;
    CancelFlag cancel;
    cancel.request();
    OperatorContext context{error, settings, &cancel};
    ValueCell m;
    const double elements[] = {2, 1, 1, 3};
    m.storeMatrix(2, 2, elements);
    for (MatrixOperation operation : {matrix_ops::eigenvalues, matrix_ops::eigenvectors, matrix_ops::invert,
                                      matrix_ops::determinant, matrix_ops::rank, matrix_ops::triangularize}) {
        error = ErrorCode::kNone;
        MatrixStack stack{m};
        operation(stack, 0, context);
        EXPECT_EQ(error, ErrorCode::kCancelled);
        // A failed operation leaves its operand.
        ASSERT_EQ(stack.size(), 1u);
        EXPECT_EQ(stack[0].rows, 2);
    }
    // Without a request the same operations work as before.
    cancel.clear();
    error = ErrorCode::kNone;
    MatrixStack stack{m};
    matrix_ops::determinant(stack, 0, context);
    EXPECT_EQ(error, ErrorCode::kNone);
    EXPECT_DOUBLE_EQ(stack[0].re, 5.0);
}

}  // namespace
