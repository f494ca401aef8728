#pragma once

#include <vector>

#include "key_codes.h"

// Typed characters (from the keyboard or an input method) to key codes.

// What the main window knows when a character arrives.
struct TypedKeyContext {
    int category = 0;                // category code 0..14
    int radix = KeyCode::kRadixDec;  // the display's radix key code, 145..148
    bool macroEditing = false;       // a macro is being edited on the display
    bool converterHasInput = false;  // the unit or currency converter window has the input
    bool decimalComma = false;       // the output format writes a decimal comma (European)
};

struct TypedKeyResult {
    enum class Kind {
        Codes,        // feed `codes` to the display's key handler, in order
        Evaluate,     // run the "=" evaluation, as key 19
        ToConverter,  // pass the character itself to the converter window
        Ignored,      // swallow the character
        Refused,      // swallow the character and tell the user: `codes` holds the key refused
        NotHandled,   // leave the character to the window's normal handling (Enter, unknowns)
    };
    Kind kind = Kind::NotHandled;
    std::vector<int> codes;  // Codes only: one code, or 48 then 47 for a backspace
    bool keySound = false;   // ToConverter only: play the key sound
};

// Maps one typed character. The rules, first match wins:
//  1. In "HEX", "A".."F" in either case give the hexadecimal digits 72..77.
//  2. The phone-keyboard letters "?WERSDFZXCAVIUHNTY", either case, give 15 10 11 12 5 6 7 0 1
//     2 8 3 18 13 33 46 44 45: "?" is 0, W E R / S D F / Z X C are the digits 1..9, A multiply,
//     V divide, I plus, U minus, H "!", N ",", T "(" and Y ")". This comes before every rule
//     below, so "x" is the digit 8 and "R" the digit 3 here, never "ignored" or recall.
//  3. While the converter has the input every other character goes to it; the key sound plays
//     for digits, backspace (8), tab (9), ".", "-", Enter (13), "=" and Escape (27).
//  4. Tool categories (6 and above, except 9 "Constants") ignore characters unless a macro is
//     being edited.
//  5. "789/" Escape "456*M123-R0._+" give the codes 0..18 by position ("_" is the sign key),
//     "(" ")" "," "^" give 44 45 46 30, backspace gives 48 then 47; "=", "K", "k" (107) and 187
//     evaluate; Enter (13) and anything else is not handled.
// Digits the radix does not allow ("BIN": 2..9, "OCT": 8 and 9) are refused whichever rule made
// them, and so is the decimal point in "Base conversion", which has no key for it.
TypedKeyResult mapTypedCharacter(char16_t character, const TypedKeyContext& context);

// Maps one character typed on a desktop keyboard, where letters build names (NameBuilder) and
// everything else types as the keys do: the digits; "+" "-" "*" "/" and the signs "×" "÷"
// "−"; "(" ")" "," "." "^" "!" "%"; ";" is the argument comma; where the output format writes
// a decimal comma, "," is the decimal key too, as spreadsheets in those locales read it;
// backspace gives 48 then 47; Escape gives "C" (4); "=" and
// Enter evaluate; a blank is ignored. Letters and anything else are not handled here. The
// converter and tool-category rules and the radix filter are those of mapTypedCharacter.
TypedKeyResult mapDesktopCharacter(char16_t character, const TypedKeyContext& context);

// Whether a digit key is allowed in a radix (key code 145..148). Non-digit codes are allowed;
// the hexadecimal digits only in "HEX".
bool radixAllowsKey(int code, int radix);
// Whether a key can be used in a radix and category: its digit is one of the radix, and the
// point is no key of "Base conversion". The keypads dim the keys that cannot.
bool keyTakenIn(int code, int radix, int category);
