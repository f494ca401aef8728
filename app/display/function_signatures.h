#pragma once

#include <optional>
#include <string>
#include <string_view>

// What the functions of the keypads expect, for the key tooltips and for the hint that names
// a call's arguments after a syntax error.

// The tooltip of a key code: a function's signature ("pmt(rate, nper, pv, fv, p/y, type=0)"),
// or a short description of an operator or constant ("a mod b"). Nothing for keys that need
// no explanation (digits, "+", "=").
std::optional<std::u16string> keyTooltip(int code);

// The signature of the first call on a display line whose argument list cannot be right: too
// few or too many arguments, or an empty one ("pmt(5/1200,360,200000)" gives
// "pmt(rate, nper, pv, fv, p/y, type=0)"; the call alone, without the tooltip's description). Calls are found by name
// followed by "(", also as the calculus signs the keys insert; a name that continues a longer word ("asin" in "masin")
// is no call. Empty when every known call looks right.
std::u16string callHint(std::u16string_view displayText);
