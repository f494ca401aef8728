#pragma once

#include <string>
#include <string_view>

#include "result_format.h"

// Turns what the user built on the display into engine text for Engine::Evaluate:
// "×" "÷" "−" become "*" "/" "-", "exp" after a number becomes "*10^" (elsewhere it is the
// exponential function), ".5" becomes "0.5",
// "3√(8)" becomes "RT(3,8)", juxtapositions such as "2(3)", "2sin(30)", "2i" and "[VA][VB]"
// get a "*", the calculus signs become fnInt, fnDeriv, fnProduct, fnSum and fnEval,
// "[ans]" becomes "[VRE]", and the output format's separators become plain decimal points
// ("1.234¸5" -> "1234.5" in European format).
// A root sign with nothing to take its index from (at the very start, or after an unbalanced
// ")") stays as it is. Characters that have no engine meaning are kept, as UTF-8, for the
// tokenizer to reject. The result may be longer than the input; the caller refuses results
// of 1024 characters or more.
// A number in scientific notation ("6.02e23", "2e-3", "1.5exp-7"; in radix 10 also "1E-3") is
// one number, not a product with Euler's e.
std::string displayToEngineText(std::u16string_view display, OutputFormat format, int radix = 10);

// The string-mode display's conversion: the same steps, but its decimal point is always "."
// and it has no separators, so the display comma (U+00B8) is an ordinary unknown character.
std::string stringModeToEngineText(std::u16string_view display);
