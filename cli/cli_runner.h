#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "cli_options.h"
#include "engine.h"
#include "evaluation_timer.h"
#include "macro_library.h"

// Evaluates expressions the way the calculator's "=" does and prints one line each.
class CliRunner {
public:
    explicit CliRunner(const CliOptions& options);

    // Stores the --set values. Returns false, with a message on err, when one cannot be stored.
    bool applyAssignments(std::ostream& err);
    // Fills the statistics list from --list. Returns false, with a message, when it cannot.
    bool applyList(std::ostream& err);
    // Evaluates one expression and prints its result line; returns true when it succeeded (a
    // result that prints as an error text, such as "Out of range error", did not).
    bool evaluateLine(const std::string& line, std::ostream& out);
    // Every expression of the options, or every line of in when there are none. Returns the
    // exit status: 0 when all succeeded, 1 otherwise. An expression that outlives --timeout
    // prints "Calculation cancelled", err says why, and nothing after it is evaluated.
    int run(std::istream& in, std::ostream& out, std::ostream& err);
    // True once an evaluation was stopped by --timeout.
    bool timedOut() const { return timedOut_; }
    // The real value of one expression as "=" computes it (macros and all), or nothing with
    // the display's error message in error.
    std::optional<double> realValue(const std::string& line, std::string& error);

private:
    // The engine text of an input line, or nothing with the error code that stopped it (an
    // invalid macro call, or a radix rewrite that finds no text).
    std::optional<std::string> engineText(const std::string& line, int radix, int& error) const;
    bool inBaseMode() const;
    // The value of one scalar expression, or nothing (the engine error tells why).
    std::optional<double> scalarValue(const std::string& text);
    // A matrix written [a,b;c,d] into slot, or false with a message.
    bool storeMatrixLiteral(int slot, const std::string& literal, std::ostream& err);
    std::string matrixText(const ValueCell& result) const;
    std::string resultText(const ValueCell& result) const;
    // The message of the engine's error, naming the nearest names for an unknown word.
    std::string engineErrorText() const;
    // engine_.evaluate under the --timeout limit, if any.
    ValueCell evaluate(const std::string& text, int mode, int radix);

    CliOptions options_;
    MacroLibrary macros_;
    Engine engine_;
    std::unique_ptr<EvaluationTimer> timer_;
    bool timedOut_ = false;
};
