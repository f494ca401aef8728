#pragma once

// The finance library: the time value of money of an annuity and three depreciation methods.
//
// Quantities: nper payment periods, rate the annual interest rate in percent, pv the amount at
// the start (a loan is positive), pmt the payment each period (a payment is positive), fv the
// balance after the last period, perYear the periods per year, type 0 for payments at the end
// and 1 at the beginning of each period (used as an exponent, so other integers also work).
// With i = rate / (perYear x 100) and B = 1 + i every function solves the one equation
//     fv = pv B^nper - pmt B^type (B^nper - 1) / i        (i = 0: fv = pv - nper pmt)
// for its quantity.
//
// Each function returns its value with status kValid, or 0 with kInvalid when the inputs are
// outside its domain or kInfinite when the value is beyond the double range; the engine's
// functions report these as "Invalid parameters" (-51) and "Infinite result" (-55), and a
// window leaves 0 in the solved field.
class TimeValueOfMoney {
public:
    static constexpr int kValid = 0;
    static constexpr int kInvalid = -51;
    static constexpr int kInfinite = -55;

    struct Result {
        double value = 0.0;
        int status = kInvalid;

        bool ok() const { return status == kValid; }
    };

    // Valid when rate >= 0, perYear > 0 and nper > 0.
    static Result futureValue(double rate, double nper, double pmt, double pv, double perYear, int type);
    static Result presentValue(double rate, double nper, double pmt, double fv, double perYear, int type);
    static Result payment(double rate, double nper, double pv, double fv, double perYear, int type);
    // Valid when rate >= 0, perYear > 0, pmt > 0 and the payment covers the interest.
    static Result periodCount(double rate, double pmt, double pv, double fv, double perYear, int type);
    // Whether a positive payment is at most the interest one period adds to pv (pv grown by a
    // period first when payments are at the start, type 1): the balance then never falls, and
    // periodCount has no answer for a loan. False for rate 0 or a payment that is not positive.
    static bool paymentNeverCoversInterest(double rate, double pmt, double pv, double perYear, int type);
    // The annual rate in percent, found by bisection of the periodic rate over [1e-12, 5]; 0
    // when no interest is needed. Invalid when that interval holds no rate that balances the
    // equation (a negative rate, or one above 500 % per period), since any number returned
    // then would look like a rate.
    static Result interestRate(double nper, double pmt, double pv, double fv, double perYear, int type);

    // Straight-line depreciation per period: (cost - salvage) / life; life > 0.
    static Result straightLine(double cost, double salvage, double life);
    // Sum-of-years'-digits depreciation of one period; life > 0.
    static Result sumOfYearsDigits(double cost, double salvage, double life, double period);
    // Declining-balance depreciation of one period with a first year of `month` months, as
    // spreadsheets define it: the period after the life (life + 1) holds the 12 - month months
    // that the first year lacked, and is 0 after a full first year. Valid when cost > 0,
    // life > 0 and 0 < period <= life + 1.
    static Result decliningBalance(double cost, double salvage, double life, double period, double month);

    // x rounded to d decimals, where an exact half rounds down and a negative number always
    // rounds down: roundDown(0.125, 2) = 0.12, roundDown(-2.341, 2) = -2.35.
    static double roundDown(double x, int d);
};
