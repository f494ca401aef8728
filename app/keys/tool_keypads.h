#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "keypad_faces.h"

// The keypads of the tool panels, cut from the skin's images: the number pad ("LargeButtons"
// with "LargeFonts", or "NumberKeyboardFunctions" with "LargeFonts" in the equation solver),
// the graph operators ("GraphOperators"), the date and time keys ("DateTime") and the typeset
// view's size buttons ("FormulaButtons"). Each table gives, in reading order, what a key shows
// and what it does: the skin generator draws the labels from it and the panels hit-test the
// same grid, so a key's look and its action cannot drift apart.
namespace toolKeypads {

// ---- Number pad: 7 8 9 C / 4 5 6 DEL / 1 2 3 - / 0 . +- OK ----

enum class NumberPadKey {
    Digit,
    Point,
    Minus,   // types a minus sign at the cursor
    Sign,    // negates the number (or opens "(-" in an expression)
    Clear,   // empties the field
    Delete,  // the character before the cursor
    Ok,      // the panel's own action: Calculate, Solve, Plot
};

struct NumberPadFace {
    std::u16string_view label;
    NumberPadKey key;
    char16_t digit;  // for Digit keys
};

constexpr KeypadGrid kNumberPadGrid{4, 4};
constexpr std::array<NumberPadFace, 16> kNumberPadKeys = {{
    {u"7", NumberPadKey::Digit, u'7'},
    {u"8", NumberPadKey::Digit, u'8'},
    {u"9", NumberPadKey::Digit, u'9'},
    {u"C", NumberPadKey::Clear, 0},
    {u"4", NumberPadKey::Digit, u'4'},
    {u"5", NumberPadKey::Digit, u'5'},
    {u"6", NumberPadKey::Digit, u'6'},
    {u"DEL", NumberPadKey::Delete, 0},
    {u"1", NumberPadKey::Digit, u'1'},
    {u"2", NumberPadKey::Digit, u'2'},
    {u"3", NumberPadKey::Digit, u'3'},
    {u"\u2212", NumberPadKey::Minus, 0},
    {u"0", NumberPadKey::Digit, u'0'},
    {u".", NumberPadKey::Point, 0},
    {u"\u00B1", NumberPadKey::Sign, 0},
    {u"OK", NumberPadKey::Ok, 0},
}};

// What a field holds: a plain number (the finance and solver fields) or an expression (the
// graph's functions).
enum class FieldKind { Number, Expression };

struct FieldText {
    std::u16string text;
    std::size_t cursor = 0;  // 0..text.size()

    bool operator==(const FieldText&) const = default;
};

// The field after a number pad key, as typing would leave it. Digits, the point and the minus
// go in at the cursor (a point inside a number that has one already is ignored); Delete takes
// the character before the cursor, Clear empties the field. Sign negates a Number field as a
// whole ("12" <-> "-12", the cursor keeping its place in the digits) and inserts "(-" into an
// Expression, as the calculator's sign key does. Ok leaves the field alone.
FieldText applyNumberPadKey(const FieldText& field, const NumberPadFace& key, FieldKind kind);

// ---- Graph operators: x + - * / ^ / ( ) sin cos tan DEL ----

struct GraphOperatorFace {
    std::u16string_view label;
    std::u16string_view text;  // inserted at the cursor; empty: delete before the cursor
};

constexpr KeypadGrid kGraphOperatorGrid{6, 2};
constexpr std::array<GraphOperatorFace, 12> kGraphOperatorKeys = {{
    {u"x", u"x"},
    {u"+", u"+"},
    {u"\u2212", u"\u2212"},
    {u"\u00D7", u"\u00D7"},
    {u"\u00F7", u"\u00F7"},
    {u"^", u"^"},
    {u"(", u"("},
    {u")", u")"},
    {u"sin", u"sin("},
    {u"cos", u"cos("},
    {u"tan", u"tan("},
    {u"DEL", u""},
}};

// ---- Date and time keys: 7 8 9 < > Unit / 4 5 6 up down Now / 1 2 3 0 DEL Leap ----

// Now and Leap have no meaning for durations: the time calculator leaves them dimmed.
enum class DateTimeKey { Digit, Left, Right, Up, Down, Unit, Now, ClearCell, Leap };

struct DateTimeFace {
    std::u16string_view label;
    DateTimeKey key;
    char16_t digit;
};

constexpr KeypadGrid kDateTimeGrid{6, 3};
constexpr std::array<DateTimeFace, 18> kDateTimeKeys = {{
    {u"7", DateTimeKey::Digit, u'7'},
    {u"8", DateTimeKey::Digit, u'8'},
    {u"9", DateTimeKey::Digit, u'9'},
    {u"\u25C0", DateTimeKey::Left, 0},
    {u"\u25B6", DateTimeKey::Right, 0},
    {u"Unit", DateTimeKey::Unit, 0},
    {u"4", DateTimeKey::Digit, u'4'},
    {u"5", DateTimeKey::Digit, u'5'},
    {u"6", DateTimeKey::Digit, u'6'},
    {u"\u25B2", DateTimeKey::Up, 0},
    {u"\u25BC", DateTimeKey::Down, 0},
    {u"Now", DateTimeKey::Now, 0},
    {u"1", DateTimeKey::Digit, u'1'},
    {u"2", DateTimeKey::Digit, u'2'},
    {u"3", DateTimeKey::Digit, u'3'},
    {u"0", DateTimeKey::Digit, u'0'},
    {u"DEL", DateTimeKey::ClearCell, 0},
    {u"Leap", DateTimeKey::Leap, 0},
}};

// ---- The typeset view's buttons: Small, Medium, Large, Close ----

enum class FormulaKey { Small, Medium, Large, Close };

struct FormulaFace {
    std::u16string_view label;
    FormulaKey key;
};

constexpr KeypadGrid kFormulaGrid{4, 1};
constexpr std::array<FormulaFace, 4> kFormulaKeys = {{
    {u"Small", FormulaKey::Small},
    {u"Medium", FormulaKey::Medium},
    {u"Large", FormulaKey::Large},
    {u"Close", FormulaKey::Close},
}};

// The renderer's size index (0..7, "\tiny" to "\Huge") for a size button at a screen scale:
// \small, \normalsize and \Large on an ordinary screen, two steps larger at scale 2. Medium is
// the size the view opens with. Close has no size: Medium's is returned.
int formulaSizeIndex(FormulaKey size, int scale);

}  // namespace toolKeypads
