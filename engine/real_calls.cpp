#include "real_calls.h"

#include <cmath>

#include "call_arguments.h"

double callHypot(Engine& engine, std::string_view arguments, int)
{
    const auto values = numericArguments(engine, arguments, 2, 2);
    if (!values)
        return 0.0;
    return std::hypot((*values)[0], (*values)[1]);
}
