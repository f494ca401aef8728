#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "result_format.h"

// What the loan and mortgage windows share: reading and limiting their number fields, the
// annuity arithmetic (through TimeValueOfMoney, so the formulas live in one place), the longest
// schedule, and the text of a result window.

namespace paymentSchedule {

// No schedule has more rows than this: 1200 payments (a hundred years of monthly payments),
// which is also what the windows' period fields let the user type.
constexpr int kMaxPeriods = 1200;

// Amounts and payments above this are refused: beyond it a double no longer holds every cent
// exactly, and "%.2f" columns would be noise.
constexpr double kMaxAmount = 1e13;

constexpr std::u16string_view kInputErrorMessage = u"Invalid input.";
constexpr std::u16string_view kInputErrorCaption = u"Error";
// Shown instead of a schedule (or an NPER) when each payment is at most the interest it must
// pay: the balance never falls, so no number of payments repays the loan.
constexpr std::u16string_view kNeverRepaidMessage = u"The payment never covers the interest";

// Money in whole cents. Schedules keep their balances in cents, so that a repaid loan ends at
// exactly 0 and the totals are exactly the sums of the rows they list.
using Cents = long long;
// An amount already rounded to 2 decimals, in cents (12.34 -> 1234).
Cents toCents(double amount);
double fromCents(Cents cents);
// Balances beyond this many cents are refused as an overflow: a double holds every cent up to
// here, and the sums of a schedule stay far from the range of Cents.
constexpr Cents kMaxScheduleCents = 100'000'000'000'000'000;  // 10^15 in money
// The interest of one period on a balance: the balance x periodicRate rounded to 2 decimals
// (TimeValueOfMoney::roundDown), in cents. Nothing when it passes kMaxScheduleCents.
std::optional<Cents> periodInterest(Cents balance, double periodicRate);

// The whole text as a finite number in the C locale ("12", " 7.5", "-1", "1e3"); empty text,
// letters, trailing junk, or a value beyond the double range give nothing.
std::optional<double> parseField(std::u16string_view text);

// The limit applied while typing into a count field: a value above `max` becomes its text
// ("1200"), a negative value becomes "0"; anything else (also text that is not yet a number,
// such as "-") is kept.
void limitTypedField(std::u16string& text, int max);

// printf("%.Nf", value) passed through the digit grouping of `format`; Other stays ungrouped.
std::u16string groupedFixed(double value, int decimals, OutputFormat format);

// The level payment that repays `amount` over `periods` at `periodicRate` (a fraction, not a
// percent) with payments at the end of each period; amount / periods at rate 0. Nothing when
// periods <= 0, the rate is negative, or the result overflows.
std::optional<double> annuityPayment(double amount, double periodicRate, double periods);

// How many payments of `payment` repay `amount` at `periodicRate`, fractional; amount / payment
// at rate 0. Nothing when the payment is not positive or never covers the interest, since no
// number of payments repays the loan then.
std::optional<double> periodsToRepay(double amount, double periodicRate, double payment);

// A result window's content: column headings, one line of cells per schedule line, and the
// summary lines the window shows beside the list.
struct ScheduleReport {
    std::vector<std::u16string_view> columns;
    std::vector<std::vector<std::u16string>> lines;
    std::vector<std::u16string> summary;
};

}  // namespace paymentSchedule
