#include "finance_functions.h"

#include <optional>
#include <vector>

#include "call_arguments.h"
#include "engine.h"
#include "time_value_of_money.h"

namespace {

double reported(Engine& engine, TimeValueOfMoney::Result result)
{
    if (!result.ok()) {
        engine.raise(result.status == TimeValueOfMoney::kInfinite ? ErrorCode::kInfiniteResult
                                                                  : ErrorCode::kInvalidFinance);
        return 0.0;
    }
    return result.value;
}

using AnnuitySolver = TimeValueOfMoney::Result (*)(double, double, double, double, double, int);

// The five annuity functions share their shape: four quantities, periods per year, [type].
double annuity(Engine& engine, std::string_view arguments, AnnuitySolver solve)
{
    const auto n = numericArguments(engine, arguments, 5, 6);
    if (!n)
        return 0.0;
    const int type = n->size() > 5 && (*n)[5] != 0.0 ? 1 : 0;
    return reported(engine, solve((*n)[0], (*n)[1], (*n)[2], (*n)[3], (*n)[4], type));
}

}  // namespace

double callDb(Engine& engine, std::string_view arguments, int)
{
    const auto n = numericArguments(engine, arguments, 4, 5);
    if (!n)
        return 0.0;
    const double month = n->size() > 4 ? (*n)[4] : 12.0;
    return reported(engine, TimeValueOfMoney::decliningBalance((*n)[0], (*n)[1], (*n)[2], (*n)[3], month));
}

double callSyd(Engine& engine, std::string_view arguments, int)
{
    const auto n = numericArguments(engine, arguments, 4, 4);
    return n ? reported(engine, TimeValueOfMoney::sumOfYearsDigits((*n)[0], (*n)[1], (*n)[2], (*n)[3])) : 0.0;
}

double callSln(Engine& engine, std::string_view arguments, int)
{
    const auto n = numericArguments(engine, arguments, 3, 3);
    return n ? reported(engine, TimeValueOfMoney::straightLine((*n)[0], (*n)[1], (*n)[2])) : 0.0;
}

double callPv(Engine& engine, std::string_view arguments, int)
{
    return annuity(engine, arguments, TimeValueOfMoney::presentValue);
}

double callNper(Engine& engine, std::string_view arguments, int)
{
    return annuity(engine, arguments, TimeValueOfMoney::periodCount);
}

double callRate(Engine& engine, std::string_view arguments, int)
{
    return annuity(engine, arguments, TimeValueOfMoney::interestRate);
}

double callPmt(Engine& engine, std::string_view arguments, int)
{
    return annuity(engine, arguments, TimeValueOfMoney::payment);
}

double callFv(Engine& engine, std::string_view arguments, int)
{
    return annuity(engine, arguments, TimeValueOfMoney::futureValue);
}
