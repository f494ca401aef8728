#pragma once

#include <string_view>

class Engine;

// The statistics of the list in slot LIST (a matrix of one column, filled by the statistics
// data set). The argument text is not read: the keypad writes "avg(X)". Without a one-column
// list they raise "No list available" (-49); so do min, max, median and md of an empty list,
// which have no element to give.
double callListSum(Engine& engine, std::string_view arguments, int radix);      // sum of x
double callListSsq(Engine& engine, std::string_view arguments, int radix);      // sum of x^2
double callListCount(Engine& engine, std::string_view arguments, int radix);    // N
double callListAverage(Engine& engine, std::string_view arguments, int radix);  // mean
double callListSdv(Engine& engine, std::string_view arguments, int radix);      // population deviation
double callListSsd(Engine& engine, std::string_view arguments, int radix);      // sample deviation, n > 1 else -5
double callListMin(Engine& engine, std::string_view arguments, int radix);
double callListMax(Engine& engine, std::string_view arguments, int radix);
double callListAvd(Engine& engine, std::string_view arguments, int radix);  // mean absolute deviation
double callListMedian(Engine& engine, std::string_view arguments, int radix);
double callListMode(Engine& engine, std::string_view arguments, int radix);  // md: first of the most frequent
double callListDsq(Engine& engine, std::string_view arguments, int radix);   // sum of squared deviations
double callListGeometric(Engine& engine, std::string_view arguments,
                         int radix);  // gm; -4 for an even count with a negative product
