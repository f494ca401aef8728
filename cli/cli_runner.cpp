#include "cli_runner.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <istream>
#include <vector>
#include <ostream>

#include "ascii.h"
#include "c_number.h"
#include "display_text.h"
#include "macro_expansion.h"
#include "radix_text.h"
#include "matrix_literal.h"
#include "result_format.h"
#include "unknown_name_message.h"
#include "printable_text.h"
#include "utf16.h"

namespace {

std::string rawNumber(double x)
{
    // -0 is an artefact of negation, not something to show.
    return cnum::general17(x == 0.0 ? 0.0 : x);
}

// The shortest text that reads back as x: "5e-14".
std::string shortestNumber(double x)
{
    char buffer[32];
    const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, x);
    return std::string(buffer, written.ptr);
}

}  // namespace

CliRunner::CliRunner(const CliOptions& options) : options_(options)
{
    if (options.timeoutSeconds)
        timer_ = std::make_unique<EvaluationTimer>(engine_, std::chrono::duration<double>(*options.timeoutSeconds));
    if (!options.folder.empty())
        loadMacroFolder(macros_, options.folder);
    engine_.settings.angleMode = options.angle;
    engine_.settings.wordSize = options.wordSize;
    engine_.settings.displayMode = options.radix != 10 ? kDisplayModeBase : 0;
}

std::optional<std::string> CliRunner::engineText(const std::string& line, int radix, int& error) const
{
    if (options_.engineText)
        return line;
    const MacroExpansion expanded = expandMacroCalls(fromUtf8(line), macros_.macros());
    if (!expanded.ok()) {
        error = expanded.error;
        return std::nullopt;
    }
    // Input always reads "." as the decimal point; --output changes only what is printed.
    std::string text = displayToEngineText(expanded.text, OutputFormat::UnitedStates, radix);
    if (radix == 10)
        return text;
    // As in the base-conversion category: every number is read in the current radix.
    std::optional<std::string> rewritten = convertRadixText(text, radix, radix, options_.wordSize);
    if (!rewritten)
        error = ErrorCode::kRadixConversion;
    return rewritten;
}

std::string CliRunner::engineErrorText() const
{
    return toUtf8(engineErrorMessage(engine_, typedNames(macros_.macros())));
}

bool CliRunner::inBaseMode() const
{
    return options_.radix != 10;
}

std::string CliRunner::resultText(const ValueCell& result) const
{
    if (options_.raw) {
        if (result.kind == ValueKind::Complex)
            return rawNumber(result.re) + " " + rawNumber(result.im);
        return rawNumber(result.re);
    }
    ResultFormatSettings settings;
    settings.format = options_.format;
    settings.fixDigits = options_.fixDigits;
    settings.outputFormat = options_.output.value_or(OutputFormat::UnitedStates);
    settings.displayMode = inBaseMode() ? kDisplayModeBase : 0;
    settings.wordSize = options_.wordSize;
    settings.radix = options_.radix;
    FormattedResult formatted = formatResult(result.scalar(), settings);
    // A result that the format cannot show comes out in SCI this once; the next has the format
    // asked for.
    std::string text = printableText(formatted.text);
    return inBaseMode() ? ascii::upper(text) : text;
}

ValueCell CliRunner::evaluate(const std::string& text, int mode, int radix)
{
    if (timer_)
        timer_->start();
    engine_.resetError();
    ValueCell result = engine_.evaluate(text, mode, radix);
    if (timer_ && timer_->stop())
        timedOut_ = true;
    return result;
}

std::optional<double> CliRunner::scalarValue(const std::string& text)
{
    int error = ErrorCode::kNone;
    const std::optional<std::string> engine = engineText(text, 10, error);
    const ValueCell result = evaluate(engine.value_or(""), Engine::kModeScalar, 10);
    if (engine_.error() != ErrorCode::kNone || result.kind == ValueKind::Complex)
        return std::nullopt;
    return result.re;
}

std::optional<double> CliRunner::realValue(const std::string& line, std::string& error)
{
    if (line.empty()) {
        error = "Empty string";
        return std::nullopt;
    }
    int code = ErrorCode::kNone;
    const std::optional<std::string> text = engineText(line, 10, code);
    if (!text) {
        error = toUtf8(errorMessage(code));
        return std::nullopt;
    }
    engine_.resetError();
    const ValueCell result = engine_.evaluate(*text, Engine::kModeScalar, 10);
    if (engine_.error() != ErrorCode::kNone) {
        error = engineErrorText();
        return std::nullopt;
    }
    if (result.kind == ValueKind::Complex && result.im != 0.0) {
        error = "Not a real number";
        return std::nullopt;
    }
    return result.re;
}

namespace {

std::vector<std::string> splitAt(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

}  // namespace

bool CliRunner::storeMatrixLiteral(int slot, const std::string& literal, std::ostream& err)
{
    const auto rows = matrix_literal::cells(literal);
    if (!rows) {
        err << "corvan-cli: --set: '" << literal << "' is not a matrix of equal rows of up to 30 x 30\n";
        return false;
    }
    std::vector<double> elements;
    for (const std::vector<std::string_view>& row : *rows) {
        for (std::string_view cell : row) {
            const std::optional<double> value = scalarValue(std::string(cell));
            if (!value) {
                err << "corvan-cli: --set: '" << cell << "' is not a real number\n";
                return false;
            }
            elements.push_back(*value);
        }
    }
    engine_.slots.storeMatrix(slot, static_cast<std::uint16_t>(rows->size()),
                              static_cast<std::uint16_t>(rows->front().size()), elements.data());
    return true;
}

bool CliRunner::applyAssignments(std::ostream& err)
{
    for (const auto& [name, value] : options_.assignments) {
        const int slot = VariableSlots::find(name);
        if (slot < VariableSlots::kFirstUser || slot >= VariableSlots::kReserved) {
            err << "corvan-cli: --set: '" << name << "' is not a variable (VA to VZ, VW)\n";
            return false;
        }
        if (value.size() >= 2 && value.front() == '[' && value.back() == ']') {
            if (!storeMatrixLiteral(slot, value, err))
                return false;
            continue;
        }
        int error = ErrorCode::kNone;
        const std::optional<std::string> text = engineText(value, 10, error);
        const ValueCell result = evaluate(text.value_or(""), Engine::kModeScalar, 10);
        if (engine_.error() != ErrorCode::kNone) {
            err << "corvan-cli: --set " << name << ": " << engineErrorText() << "\n";
            return false;
        }
        engine_.slots[slot] = result;
    }
    return true;
}

bool CliRunner::applyList(std::ostream& err)
{
    if (!options_.list)
        return true;
    std::vector<double> values;
    for (const std::string& item : splitAt(*options_.list, ',')) {
        const std::optional<double> value = scalarValue(item);
        if (!value) {
            err << "corvan-cli: --list: '" << item << "' is not a real number\n";
            return false;
        }
        values.push_back(*value);
    }
    if (values.size() > 512) {
        err << "corvan-cli: --list takes at most 512 values\n";
        return false;
    }
    engine_.slots.storeMatrix(VariableSlots::kList, static_cast<std::uint16_t>(values.size()), 1, values.data());
    return true;
}

std::string CliRunner::matrixText(const ValueCell& result) const
{
    std::string text = "[";
    for (std::size_t row = 0; row < result.rows; ++row) {
        for (std::size_t column = 0; column < result.cols; ++column) {
            if (column > 0)
                text += ',';
            const double value = result.at(row, column);
            // Fifteen fixed decimals would print a tiny element as 0: it goes in scientific
            // notation, which --set reads back.
            const bool tiny = value != 0.0 && std::fabs(value) < 1e-4;
            text += options_.raw ? rawNumber(value) : tiny ? shortestNumber(value) : formatNormal(value);
        }
        if (row + 1 < result.rows)
            text += ';';
    }
    return text + "]";
}

bool CliRunner::evaluateLine(const std::string& line, std::ostream& out)
{
    if (line.empty()) {
        out << "Empty string\n";
        return false;
    }
    // The length first: a line too long to evaluate is that, whatever its macros would do.
    if (fromUtf8(line).size() > Engine::kMaxExpressionLength) {
        out << "Overlength string\n";
        return false;
    }
    int error = ErrorCode::kNone;
    const std::optional<std::string> text = engineText(line, options_.radix, error);
    if (!text) {
        out << toUtf8(errorMessage(error)) << "\n";
        return false;
    }
    if (text->size() > Engine::kMaxExpressionLength) {
        out << "Overlength string\n";
        return false;
    }
    const ValueCell result = options_.matrixMode ? evaluate(*text, Engine::kModeMatrix, 10)
                                                 : evaluate(*text, Engine::kModeScalar, options_.radix);
    if (engine_.error() != ErrorCode::kNone) {
        out << engineErrorText() << "\n";
        return false;
    }
    if (result.isMatrix()) {
        engine_.slots[VariableSlots::kAnswer] = result;
        out << matrixText(result) << "\n";
        for (std::size_t row = 0; row < result.rows; ++row)
            for (std::size_t column = 0; column < result.cols; ++column)
                if (shownAsError(result.at(row, column)))
                    return false;
        return true;
    }
    // The answer of this line is what the next one reads as [ans].
    engine_.slots[VariableSlots::kAnswer].storeComplex(result.re, result.im);
    out << resultText(result) << "\n";
    // "170!" is no engine error, but the display can only say "Out of range error" for it.
    return !shownAsError(result.re) && !(result.kind == ValueKind::Complex && shownAsError(result.im));
}

int CliRunner::run(std::istream& in, std::ostream& out, std::ostream& err)
{
    const auto stopped = [&] {
        if (!timedOut_)
            return false;
        out.flush();
        err << "corvan-cli: stopped: the expression took longer than --timeout "
            << cnum::general17(*options_.timeoutSeconds) << " s\n";
        return true;
    };
    bool allOk = true;
    if (!options_.expressions.empty()) {
        for (const std::string& expression : options_.expressions) {
            allOk = evaluateLine(expression, out) && allOk;
            if (stopped())
                return 1;
        }
        return allOk ? 0 : 1;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        allOk = evaluateLine(line, out) && allOk;
        out.flush();
        if (stopped())
            return 1;
    }
    return allOk ? 0 : 1;
}
