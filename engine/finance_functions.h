#pragma once

#include <string_view>

class Engine;

// The finance and depreciation functions of the function-call table. Arguments are read in
// radix 10 in the order of the finance library (tvm_calc.h); the optional payment type is 0
// when left out and 1 for any non-zero value, the optional first-year months of db are 12.
// Inputs out of the library's domain raise "Invalid parameters" (-51).
double callDb(Engine& engine, std::string_view arguments, int radix);    // (cost, salvage, life, period, [month])
double callSyd(Engine& engine, std::string_view arguments, int radix);   // (cost, salvage, life, period)
double callSln(Engine& engine, std::string_view arguments, int radix);   // (cost, salvage, life)
double callPv(Engine& engine, std::string_view arguments, int radix);    // (rate, nper, pmt, fv, p/y, [type])
double callNper(Engine& engine, std::string_view arguments, int radix);  // (rate, pmt, pv, fv, p/y, [type])
double callRate(Engine& engine, std::string_view arguments, int radix);  // (nper, pmt, pv, fv, p/y, [type])
double callPmt(Engine& engine, std::string_view arguments, int radix);   // (rate, nper, pv, fv, p/y, [type])
double callFv(Engine& engine, std::string_view arguments, int radix);    // (rate, nper, pmt, pv, p/y, [type])
