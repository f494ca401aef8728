#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "macro_library.h"

// Expansion of macro calls in a display text, done at "=" before the text is converted for the
// engine. With "Ma" = (x,y) "x+y", the line "Ma(2,3)×2" becomes "((2)+(3))×2".

// No text, at any stage of an expansion, grows beyond this many characters; an expansion that
// would fails as an invalid macro. The engine takes at most 1024 characters anyway, so this only
// stops runaway growth (a body that doubles its argument, applied many times).
inline constexpr std::size_t kMaxExpandedLength = 32 * 1024;
// Calls nested inside arguments deeper than this fail as an invalid macro.
inline constexpr int kMaxMacroNesting = 64;

struct MacroExpansion {
    std::u16string text;  // the expanded text; empty on failure
    int error = 0;        // 0, or ErrorCode::kInvalidMacro (-52)

    bool ok() const { return error == 0; }
};

// Expands every macro call of the text, scanning left to right:
//  - The next call is the earliest occurrence of any macro name as a plain substring (nothing
//    is checked around it); at equal positions the macro earlier in the list wins. Macros with
//    an empty name are never called.
//  - When "(" follows the name, the arguments run to the matching ")", or to the end of the text
//    when it never closes. Without a "(" the call is the name alone, with no arguments.
//  - Calls in the arguments are expanded first; then "(" body ")" replaces the call, and the
//    scan goes on after it, so an inserted body is never searched again. This is what makes a
//    macro whose body names itself terminate.
// Any failing substitution fails the whole expansion.
MacroExpansion expandMacroCalls(std::u16string_view text, std::span<const MacroRecord> macros);

// The body of one call of a macro. The call text, trimmed of blanks, must start with the
// macro's name, hold as many "(" as ")" and at least one of each; the arguments are what stands
// between the first "(" and the last ")". Parameter i takes the text up to the next comma at
// parenthesis depth zero, the last parameter all that remains; names are taken from `params`
// the same way. Argument and name are trimmed and must not be empty. Then every occurrence of
// the name in the body (plain substring) becomes "(" argument ")", parameter after parameter,
// so a later parameter's name is also replaced inside the arguments already inserted.
// Returns nothing on any failure.
std::optional<std::u16string> substituteMacroCall(std::u16string_view callText, const MacroRecord& macro);
