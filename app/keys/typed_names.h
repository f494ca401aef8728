#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "macro_library.h"

// The names a desktop keyboard types: every name that a key inserts ("sin(", "pi", "[ans]",
// " mod ", "sum(X)"), the engine's functions that no key inserts ("ctan("), the variable slots
// ("[VA]") and the macros ("Ma("). A typed name becomes the same single token that its key
// inserts, so "sqrt(" gives what the square-root key gives.
struct TypedName {
    std::u16string text;   // as typed: "sin(", "sqrt(", "ans", "mod", "sum(X)", "[VA]", "Ma("
    int code = -1;         // the key code it stands for, or -1 when `token` is inserted instead
    std::u16string token;  // the token inserted when no key stands for the name ("e", "ctan(")

    // How much of `text` must be typed before the name can be completed by a character that
    // does not continue it: a function is complete once its bare name is typed ("sin" gives
    // "sin("; "sum" and "sum(" give "sum(X)"), anything else only when typed whole.
    std::size_t shortestForm() const;
};

// Every typed name, with one "Name(" (or "Name()" for a macro without parameters) per macro.
std::vector<TypedName> typedNames(const std::vector<MacroRecord>& macros);

// What a completed name or a run of hexadecimal letters puts on the line: key codes, or one
// literal token.
struct NameInsertion {
    int code = -1;
    std::u16string token;

    bool operator==(const NameInsertion&) const = default;
};

// Builds a name from typed characters, one at a time, so that the display can show the name
// while it grows ("s", "si", "sin") and insert it whole when it is complete.
//
// Rules, for a character c offered while `pending` holds the letters typed so far:
//  1. c continues the name when pending + c begins some typed name (in the letters' own case;
//     when no name matches in that case, without regard to case: "SIN(" is "sin("). In "HEX"
//     a run of the letters A to F also continues, since it may be digits.
//  2. A name typed whole that begins no longer name is inserted at once ("pi", "sin(", "ans",
//     "[VA]", "sum(X)").
//  3. A character that does not continue the name completes it: in "HEX" a run of A to F is
//     inserted as hexadecimal digits; else a whole name ("pi" then "x"), or, before anything
//     but a letter, a function typed up to its bare name ("sin" then "3" gives "sin(" then 3),
//     is inserted. The character itself is then handled as if nothing were pending.
//  4. Characters that make no name go on the line as typed, one literal token each, so that
//     nothing typed is lost and "=" can name the unknown word: a letter that begins no name or
//     makes an unknown word with the letters before it ("abz", "sinn"), and a pending text that
//     nothing completes.
// A name starts only with a letter or "[".
class NameBuilder {
public:
    NameBuilder() : names_(typedNames({})) {}

    // The names to build from; call again when the macros change.
    void setNames(std::vector<TypedName> names) { names_ = std::move(names); }

    struct Step {
        std::vector<NameInsertion> insert;  // what to put on the line now, in order
        bool consumed = false;              // c became part of the name (or completed it)
    };
    // Offers a character; hexDigits tells that the letters A to F are digits (radix "HEX").
    // When the step did not consume c, the caller handles c as an ordinary key.
    Step offer(char16_t c, bool hexDigits);
    // Completes the pending name (Enter, a cursor key, a keypad key); a pending text that is no
    // name goes on the line as typed (rule 4).
    Step finish(bool hexDigits);
    // Backspace: removes the last pending character; false when nothing is pending.
    bool backspace();
    void clear() { pending_.clear(); }

    const std::u16string& pending() const { return pending_; }

private:
    // Names that begin with text, in the letters' own case or, when none does, without case.
    std::vector<const TypedName*> beginning(std::u16string_view text) const;
    // Whether text is a name typed whole, in either case.
    bool isWholeName(std::u16string_view text) const;
    // The name that text completes (rule 3), or nullptr.
    const TypedName* completedBy(std::u16string_view text) const;
    // Inserts pending as a completed name or hexadecimal digits, or else as typed (rule 4).
    void complete(bool hexDigits, std::vector<NameInsertion>& out) const;

    std::vector<TypedName> names_;
    std::u16string pending_;
};

// Whether text begins with prefix: in the letters' own case, or with ignoreCase in either case.
bool beginsWith(std::u16string_view text, std::u16string_view prefix, bool ignoreCase);

// The key code of a hexadecimal letter "A".."F" or "a".."f" (72..77), or -1.
int hexLetterCode(char16_t c);
