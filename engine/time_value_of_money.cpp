#include "time_value_of_money.h"

#include <cmath>
#include <optional>

#include "root_search.h"

namespace {

using Result = TimeValueOfMoney::Result;

// A result beyond the double range is infinite; NaN is what inputs out of the domain leave.
Result checked(double value)
{
    if (std::isinf(value))
        return {0.0, TimeValueOfMoney::kInfinite};
    if (std::isnan(value))
        return {};
    return {value, TimeValueOfMoney::kValid};
}

double periodicRate(double rate, double perYear)
{
    return rate / (perYear * 100.0);
}

// Growth of one unit over n periods at periodic rate i, less the unit: B^n - 1. Through
// log1p/expm1 it keeps its digits when i is tiny, where (1 + i)^n - 1 would lose them all
// (and the annuity factor (B^n - 1) / i with them).
double growthLessOne(double i, double n)
{
    return std::expm1(n * std::log1p(i));
}

// B^-n and 1 - B^-n, the discounted growth: both stay finite and keep their digits for every
// n and i >= 0, where B^n overflows (1.005^1000000) or B^n - 1 loses all digits (tiny i).
struct Discount {
    double factor;
    double complement;
};

Discount discountOver(double i, double n)
{
    const double exponent = -n * std::log1p(i);
    return {std::exp(exponent), -std::expm1(exponent)};
}

bool annuityDomain(double rate, double nper, double perYear)
{
    return rate >= 0.0 && perYear > 0.0 && nper > 0.0;
}

// The balance equation pv B^n - pmt B^type (B^n - 1) / i - fv = 0 divided by B^n > 0: the
// same roots and signs, but no overflow. B^n itself overflows at the search's upper end i = 5
// for 400 periods or more (6^400), and inf - inf would leave no sign to bisect on.
double discountedResidual(double i, double nper, double pmt, double pv, double fv, int type)
{
    const Discount discount = discountOver(i, nper);
    return pv - pmt * std::pow(1.0 + i, type) * discount.complement / i - fv * discount.factor;
}

}  // namespace

Result TimeValueOfMoney::futureValue(double rate, double nper, double pmt, double pv, double perYear, int type)
{
    if (!annuityDomain(rate, nper, perYear))
        return {};
    if (rate == 0.0)
        return checked(pv - nper * pmt);
    const double i = periodicRate(rate, perYear);
    const double growth = growthLessOne(i, nper);
    const double value = (growth + 1.0) * pv - growth / i * pmt * std::pow(1.0 + i, type);
    if (std::isfinite(value))
        return checked(value);
    // B^n overflowed: the balance is its discounted value, fv B^-n, grown beyond every bound,
    // unless that is exactly 0.
    const double discounted = discountedResidual(i, nper, pmt, pv, 0.0, type);
    return checked(discounted == 0.0 ? 0.0 : discounted * HUGE_VAL);
}

Result TimeValueOfMoney::presentValue(double rate, double nper, double pmt, double fv, double perYear, int type)
{
    if (!annuityDomain(rate, nper, perYear))
        return {};
    if (rate == 0.0)
        return checked(nper * pmt + fv);
    const double i = periodicRate(rate, perYear);
    const Discount discount = discountOver(i, nper);
    return checked(pmt * std::pow(1.0 + i, type) * discount.complement / i + fv * discount.factor);
}

Result TimeValueOfMoney::payment(double rate, double nper, double pv, double fv, double perYear, int type)
{
    if (!annuityDomain(rate, nper, perYear))
        return {};
    if (rate == 0.0)
        return checked((pv - fv) / nper);
    const double i = periodicRate(rate, perYear);
    const Discount discount = discountOver(i, nper);
    return checked((pv - fv * discount.factor) * i / (discount.complement * std::pow(1.0 + i, type)));
}

Result TimeValueOfMoney::periodCount(double rate, double pmt, double pv, double fv, double perYear, int type)
{
    if (!(rate >= 0.0 && perYear > 0.0 && pmt > 0.0))
        return {};
    if (rate == 0.0)
        return checked((pv - fv) / pmt);
    const double i = periodicRate(rate, perYear);
    const double payment = std::pow(1.0 + i, type) * pmt;
    const double denominator = i * pv - payment;
    if (denominator == 0.0)
        return {};
    // B^nper = (i fv - payment) / (i pv - payment) = 1 + i (fv - pv) / (i pv - payment), taken
    // through log1p so that a tiny rate keeps its digits; B^nper <= 0 means the payment never
    // covers the interest.
    const double growth = i * (fv - pv) / denominator;
    if (!(growth > -1.0))
        return {};
    return checked(std::log1p(growth) / std::log1p(i));
}

bool TimeValueOfMoney::paymentNeverCoversInterest(double rate, double pmt, double pv, double perYear, int type)
{
    if (!(rate > 0.0 && perYear > 0.0 && pmt > 0.0))
        return false;
    const double i = periodicRate(rate, perYear);
    return i * pv >= std::pow(1.0 + i, type) * pmt;
}

Result TimeValueOfMoney::interestRate(double nper, double pmt, double pv, double fv, double perYear, int type)
{
    if (std::fabs(pv - nper * pmt - fv) < 1e-12)
        return {0.0, kValid};
    const auto residual = [&](double i) -> std::optional<double> {
        const double value = discountedResidual(i, nper, pmt, pv, fv, type);
        if (!std::isfinite(value))
            return std::nullopt;
        return value;
    };
    const RootSearchResult search = findRoot(1e-12, 5.0, residual);
    if (!search.found)
        return {};
    return checked(perYear * search.root * 100.0);
}

Result TimeValueOfMoney::straightLine(double cost, double salvage, double life)
{
    if (!(life > 0.0))
        return {};
    return checked((cost - salvage) / life);
}

Result TimeValueOfMoney::sumOfYearsDigits(double cost, double salvage, double life, double period)
{
    if (!(life > 0.0))
        return {};
    return checked(((life - period + 1.0) * (cost - salvage) * 2.0) / ((life + 1.0) * life));
}

Result TimeValueOfMoney::decliningBalance(double cost, double salvage, double life, double period, double month)
{
    if (!(cost > 0.0 && life > 0.0 && period > 0.0 && period <= life + 1.0))
        return {};
    const double rate = roundDown(1.0 - std::pow(salvage / cost, 1.0 / life), 3);
    // A negative salvage has no real rate.
    if (!std::isfinite(rate))
        return {};
    const double first = cost * rate * month * (1.0 / 12.0);
    const double periods = std::trunc(period);
    if (periods < 2.0)
        return checked(first);
    // Example, db(1000000, 100000, 6, P, 7): rate 0.319; period 1 takes 7 months, 186,083.33;
    // periods 2 to 6 take (cost - total so far) x rate; the first year's 5 missing months make
    // a period 7 of (cost - total) x rate x 5 / 12 = 15,845.10.
    double total = first;
    double amount = first;
    for (double p = 2.0; p <= periods; p += 1.0) {
        amount = (cost - total) * rate;
        // The period after the life exists only for the months the first year lacked.
        if (p > life)
            return checked(amount * (12.0 - month) / 12.0);
        const double before = total;
        total += amount;
        // Once the total stops changing every later period repeats this amount: a life of
        // millions of periods ends here instead of looping through them.
        if (total == before || !std::isfinite(total))
            break;
    }
    return checked(amount);
}

double TimeValueOfMoney::roundDown(double x, int d)
{
    const double scale = std::pow(10.0, d);
    const double y = x * scale;
    const double whole = std::trunc(y);
    const double rounded = y - std::fabs(whole) > 0.5 ? std::ceil(y) : std::floor(y);
    return rounded / scale;
}
