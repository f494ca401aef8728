#include "engine.h"

#include <cmath>
#include <cstdint>

#include "argument_text.h"
#include "c_number.h"
#include "function_calls.h"
#include "tokenizer.h"

namespace {

// Function values written into a non-decimal text are masked to the word size first;
// a 64-bit word keeps the low 32 bits like the 32-bit one.
std::uint64_t maskToWord(double value, int wordSize)
{
    const double clamped = std::fmax(std::fmin(value, 9.2e18), -9.2e18);
    const auto bits = static_cast<std::uint64_t>(static_cast<std::int64_t>(clamped));
    switch (wordSize) {
    case 8: return bits & 0xFFu;
    case 16: return bits & 0xFFFFu;
    default: return bits & 0xFFFFFFFFu;
    }
}

std::string inRadix(std::uint64_t value, int radix)
{
    if (value == 0)
        return "0";
    std::string digits;
    while (value > 0) {
        digits.insert(digits.begin(), "0123456789abcdef"[value % static_cast<unsigned>(radix)]);
        value /= static_cast<unsigned>(radix);
    }
    return digits;
}

}  // namespace

void Engine::raise(int code)
{
    if (error_ == ErrorCode::kNone)
        error_ = code;
}

bool Engine::stopRequested()
{
    if (cancel_.requested())
        raise(ErrorCode::kCancelled);
    return error_ != ErrorCode::kNone;
}

ValueCell Engine::evaluate(std::string_view text, int mode, int radix)
{
    // What switches to radians within the expression (a complex argument of a trigonometric
    // function) holds for the rest of it, not for the next calculation.
    const AngleModeScope userAngle(settings);
    ValueCell& result = slots[VariableSlots::kResult];
    if (stopRequested())
        return result;
    result.clear();
    if (text.size() > kMaxExpressionLength) {
        raise(ErrorCode::kSyntax);
        return result;
    }
    if (mode == kModeMatrix)
        return evaluateMatrix(text);

    std::string expanded(text);
    if (!expandFunctionCalls(expanded, radix))
        return result;
    const ScalarResult scalar = evaluateScalar(expanded, {}, 0.0, radix);
    if (!scalar.ok)
        return result;
    if (scalar.value.im != 0.0) {
        // Rounding noise in the real part of a complex result is shown as 0.
        const double re = std::fabs(scalar.value.re) < 1e-12 ? 0.0 : scalar.value.re;
        result.storeComplex(re, scalar.value.im);
    } else {
        result.storeScalar(scalar.value.re, 0.0);
    }
    return result;
}

bool Engine::compile(std::string& text, int radix, std::string_view boundName)
{
    std::string unknown;
    if (!tokenizeExpression(text, radix, boundName, &unknown) || !toPostfix(text)) {
        if (error_ == ErrorCode::kNone)
            unknownName_ = std::move(unknown);
        raise(ErrorCode::kSyntax);
        return false;
    }
    return true;
}

Engine::ScalarResult Engine::evaluateScalar(std::string_view text, std::string_view boundName, double boundValue,
                                            int radix)
{
    if (stopRequested())
        return {};
    CompiledExpression program;
    if (!compileScalar(text, boundName, radix, program))
        return {};
    return runScalar(program, boundValue);
}

bool Engine::compileScalar(std::string_view text, std::string_view boundName, int radix, CompiledExpression& program)
{
    std::string postfix(text);
    if (!compile(postfix, radix, boundName))
        return false;
    program = CompiledExpression(postfix, boundName);
    return true;
}

Engine::ScalarResult Engine::runScalar(const CompiledExpression& program, double boundValue)
{
    if (error_ != ErrorCode::kNone)
        return {};
    OperatorContext operatorContext = context();
    const auto run = program.run(operatorContext, slots, boundValue, workspace_);
    return {run.value, run.ok};
}

bool Engine::runScalarReal(const CompiledExpression& program, double boundValue, double& value)
{
    if (error_ != ErrorCode::kNone)
        return false;
    OperatorContext operatorContext = context();
    return program.runReal(operatorContext, slots, boundValue, workspace_, value);
}

const CompiledExpression* Engine::cachedProgram(std::string_view text, std::string_view boundName, int radix)
{
    for (std::size_t i = 0; i < cache_.size(); ++i) {
        CacheEntry& entry = cache_[(lastCached_ + cache_.size() - i) % cache_.size()];
        if (entry.holds(text, boundName, radix))
            return &entry.program;
    }
    CompiledExpression program;
    if (!compileScalar(text, boundName, radix, program))
        return nullptr;
    lastCached_ = (lastCached_ + 1) % cache_.size();
    CacheEntry& entry = cache_[lastCached_];
    entry.program = std::move(program);
    entry.source.assign(text);
    entry.boundName.assign(boundName);
    entry.radix = radix;
    entry.filled = true;
    return &entry.program;
}

Engine::ScalarResult Engine::evaluateScalarCached(std::string_view text, std::string_view boundName, double boundValue,
                                                  int radix)
{
    if (stopRequested())
        return {};
    // The text of the last evaluation again (a curve, an integrand) is the case to be quick for.
    const CacheEntry& last = cache_[lastCached_];
    const CompiledExpression* program =
        last.holds(text, boundName, radix) ? &last.program : cachedProgram(text, boundName, radix);
    if (program == nullptr)
        return {};
    return runScalar(*program, boundValue);
}

void Engine::setBoundExpression(std::string text, std::string variableName)
{
    boundText_ = std::move(text);
    boundName_ = std::move(variableName);
}

double Engine::realPartAt(ScalarResult result)
{
    if (!result.ok)
        return 0.0;
    if (std::fabs(result.value.im) > 1e-8) {
        raise(ErrorCode::kComplexUnsupported);
        return 0.0;
    }
    return result.value.re;
}

[[gnu::always_inline]] inline double Engine::realPartOf(const CompiledExpression& program, double x)
{
    OperatorContext operatorContext = context();
    double value = 0.0;
    if (program.runRealConstant(operatorContext, value) ||
        program.runReal(operatorContext, slots, x, workspace_, value))
        return value;
    return realPartAt(runScalar(program, x));
}

double Engine::evaluateAt(double x)
{
    if (stopRequested())
        return 0.0;
    return evaluateAtCached(x, boundText_);
}

double Engine::evaluateAtCached(double x, std::string_view text)
{
    // The path of every point of a curve: the last compiled text again, run straight away.
    if (error_ == ErrorCode::kNone) {
        const CacheEntry& last = cache_[lastCached_];
        if (last.holds(text, boundName_, 10))
            return realPartOf(last.program, x);
    }
    if (stopRequested())
        return 0.0;
    const CompiledExpression* program = cachedProgram(text, boundName_, 10);
    return program == nullptr ? 0.0 : realPartOf(*program, x);
}

bool Engine::expandRoot(std::string& text, std::size_t nameBegin, std::size_t open, std::size_t close)
{
    const std::string_view arguments = std::string_view(text).substr(open + 1, close - open - 1);
    const std::size_t comma = args::firstTopLevelComma(arguments);
    if (comma == args::npos || comma == 0 || comma + 1 == arguments.size()) {
        raise(ErrorCode::kCallSyntax);
        return false;
    }
    // 'RT(3,8)' becomes '((3) root (8)) ': the index is the left operand of "root".
    std::string replacement = "((";
    replacement.append(arguments.substr(0, comma));
    replacement.append(") root (");
    replacement.append(arguments.substr(comma + 1));
    replacement.append(")) ");
    text.replace(nameBegin, close + 1 - nameBegin, replacement);
    return true;
}

std::string Engine::formatCallValue(double value, int radix) const
{
    if (radix == 10)
        return "(" + cnum::exactDecimal(value) + ")";
    return inRadix(maskToWord(value, settings.wordSize), radix);
}

bool Engine::expandFunctionCalls(std::string& text, int radix)
{
    if (stopRequested())
        return false;
    while (const auto site = findNextFunctionCall(text)) {
        const std::size_t open = text.find('(', site->nameEnd);
        const std::size_t close = open == std::string::npos ? args::npos : args::matchingParenthesis(text, open);
        if (close == args::npos) {
            raise(ErrorCode::kCallSyntax);
            return false;
        }
        if (site->number == FunctionNumber::kRoot) {
            if (!expandRoot(text, site->nameBegin, open, close))
                return false;
            continue;
        }
        const std::string arguments = text.substr(open + 1, close - open - 1);
        const double value = callFunction(*this, site->number, arguments, radix);
        // An infinite value is "Infinite result" (171 factorials in npr), a finite one beyond
        // the display's range "Out of range error".
        if (!std::isfinite(value))
            raise(ErrorCode::kInfiniteResult);
        if (value > 1e305)
            raise(ErrorCode::kOutOfRange);
        if (error_ != ErrorCode::kNone)
            return false;
        text.replace(site->nameBegin, close + 1 - site->nameBegin, formatCallValue(value, radix));
    }
    return true;
}
