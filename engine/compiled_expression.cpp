#include "compiled_expression.h"

#include <cmath>

#include "ascii.h"
#include "c_number.h"
#include "scalar_operator_table.h"
#include "text_split.h"

CompiledExpression::CompiledExpression(std::string_view postfix)
{
    forEachToken(postfix, [this](std::string_view token) {
        Instruction instruction;
        if (ScalarOperation operation = findScalarOperation(token)) {
            instruction.kind = Kind::Operation;
            instruction.operation = operation;
        } else if (token == "(") {
            instruction.kind = Kind::Open;
        } else if (token == ")") {
            instruction.kind = Kind::Close;
        } else {
            double value = 0.0;
            if (cnum::parsePrefix(token, value) == token.size()) {
                instruction.kind = Kind::Number;
                instruction.value = value;
            } else {
                // A token that converts only in part ("1e", "2pi") is looked up whole and fails.
                instruction.kind = Kind::Name;
                instruction.name = ascii::upper(token);
                if (instruction.name == "PI")
                    instruction.constant = Constant::Pi;
                else if (instruction.name == "E")
                    instruction.constant = Constant::E;
                else if (instruction.name == "I")
                    instruction.constant = Constant::I;
                instruction.slot = VariableSlots::find(token);
            }
        }
        program_.push_back(std::move(instruction));
    });
}

bool CompiledExpression::pushName(const Instruction& instruction, OperatorContext& context,
                                  const VariableSlots& slots, std::string_view boundName,
                                  double boundValue, ScalarStack& stack) const
{
    CalcValue value;
    if (!boundName.empty() && ascii::equalsUpper(boundName, instruction.name)) {
        value = {boundValue, 0.0};
    } else if (instruction.constant == Constant::Pi) {
        value = {3.141592653589793, 0.0};
    } else if (instruction.constant == Constant::E) {
        value = {std::exp(1.0), 0.0};
    } else if (instruction.constant == Constant::I) {
        value = {0.0, 1.0};
    } else if (instruction.slot >= 0 && !slots[instruction.slot].isMatrix()) {
        value = slots[instruction.slot].scalar();
    } else {
        // An unknown name, or a matrix in a scalar expression.
        context.raise(ErrorCode::kSyntax);
        return false;
    }
    if (!std::isfinite(value.re)) {
        context.raise(ErrorCode::kOutOfRange);
        return false;
    }
    stack.push_back(value);
    return true;
}

CompiledExpression::Result CompiledExpression::run(OperatorContext& context,
                                                   const VariableSlots& slots,
                                                   std::string_view boundName, double boundValue,
                                                   ScalarStack& stack,
                                                   std::vector<std::size_t>& groups) const
{
    stack.clear();
    groups.clear();
    for (const Instruction& instruction : program_) {
        switch (instruction.kind) {
        case Kind::Operation:
            instruction.operation(stack, groups.empty() ? 0 : groups.back(), context);
            if (context.failed())
                return {};
            break;
        case Kind::Open:
            groups.push_back(stack.size());
            break;
        case Kind::Close:
            if (!groups.empty())
                groups.pop_back();
            break;
        case Kind::Number:
            if (!std::isfinite(instruction.value)) {
                context.raise(ErrorCode::kOutOfRange);
                return {};
            }
            stack.push_back({instruction.value, 0.0});
            break;
        case Kind::Name:
            if (!pushName(instruction, context, slots, boundName, boundValue, stack))
                return {};
            break;
        }
    }
    return {stack.empty() ? CalcValue{} : stack.front(), true};
}
