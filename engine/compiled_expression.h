#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "operator_context.h"
#include "variable_slots.h"

// A postfix text turned into instructions once, so that a cached expression (a plotted
// function, an integrand) runs without parsing. Names stay names until run time: slots may
// change between runs and the bound variable's name is not part of the compiled form.
class CompiledExpression {
public:
    // Builds the instructions of a postfix text.
    explicit CompiledExpression(std::string_view postfix = {});

    // Runs the instructions on the stack machine. The result is the bottom cell of the stack
    // (0 for an empty program); ok is false when an error was raised.
    struct Result {
        CalcValue value;
        bool ok = false;
    };
    Result run(OperatorContext& context, const VariableSlots& slots, std::string_view boundName,
               double boundValue, ScalarStack& stack, std::vector<std::size_t>& groups) const;

private:
    enum class Kind { Operation, Open, Close, Number, Name };
    enum class Constant { None, Pi, E, I };
    struct Instruction {
        Kind kind = Kind::Number;
        ScalarOperation operation = nullptr;
        double value = 0.0;
        std::string name;  // upper case, for comparing names; for Kind::Name
        Constant constant = Constant::None;
        int slot = -1;
    };

    bool pushName(const Instruction& instruction, OperatorContext& context,
                  const VariableSlots& slots, std::string_view boundName, double boundValue,
                  ScalarStack& stack) const;

    std::vector<Instruction> program_;
};
