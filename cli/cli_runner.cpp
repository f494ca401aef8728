#include "cli_runner.h"

#include <istream>
#include <ostream>

#include "c_number.h"
#include "utf16.h"

namespace {

std::string rawNumber(double x)
{
    // -0 is an artefact of negation, not something to show.
    return cnum::general17(x == 0.0 ? 0.0 : x);
}

}  // namespace

CliRunner::CliRunner(const CliOptions& options) : options_(options)
{
    engine_.settings.angleMode = options.angle;
    engine_.settings.wordSize = options.wordSize;
}

std::string CliRunner::engineText(const std::string& line) const
{
    return line;
}

std::string CliRunner::resultText(const ValueCell& result) const
{
    if (result.kind == ValueKind::Complex)
        return rawNumber(result.re) + " " + rawNumber(result.im);
    return rawNumber(result.re);
}

bool CliRunner::applyAssignments(std::ostream& err)
{
    for (const auto& [name, value] : options_.assignments) {
        const int slot = VariableSlots::find(name);
        if (slot < VariableSlots::kFirstUser || slot >= VariableSlots::kReserved) {
            err << "corvan-cli: --set: '" << name << "' is not a variable (VA to VZ, VW)\n";
            return false;
        }
        engine_.resetError();
        const ValueCell result = engine_.Evaluate(engineText(value), Engine::kModeScalar, 10);
        if (engine_.error() != ErrorCode::kNone) {
            err << "corvan-cli: --set " << name << ": " << toUtf8(errorMessage(engine_.error())) << "\n";
            return false;
        }
        engine_.slots[slot] = result;
    }
    return true;
}

bool CliRunner::evaluateLine(const std::string& line, std::ostream& out)
{
    const std::string text = engineText(line);
    if (text.empty()) {
        out << "Empty string\n";
        return false;
    }
    if (text.size() > Engine::kMaxExpressionLength) {
        out << "Overlength string\n";
        return false;
    }
    engine_.resetError();
    const ValueCell result = engine_.Evaluate(text, Engine::kModeScalar, options_.radix);
    if (engine_.error() != ErrorCode::kNone) {
        out << toUtf8(errorMessage(engine_.error())) << "\n";
        return false;
    }
    // The answer of this line is what the next one reads as [ans].
    engine_.slots[VariableSlots::kAnswer].storeComplex(result.re, result.im);
    out << resultText(result) << "\n";
    return true;
}

int CliRunner::run(std::istream& in, std::ostream& out)
{
    bool allOk = true;
    if (!options_.expressions.empty()) {
        for (const std::string& expression : options_.expressions)
            allOk = evaluateLine(expression, out) && allOk;
        return allOk ? 0 : 1;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        allOk = evaluateLine(line, out) && allOk;
        out.flush();
    }
    return allOk ? 0 : 1;
}
