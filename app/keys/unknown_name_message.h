#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "typed_names.h"

class Engine;

// What to say about a word the engine does not know: "Unknown name: abz (did you mean abs?)",
// naming up to three typed names nearest to it (by edit distance, without regard to case, and
// only those near enough to be a slip: one edit in a word of three to seven letters, more in a
// longer one, none for a word of one or two), or the message alone when no name is that near. Nothing for a word that
// is itself a typed name, such as "x" outside a calculus function: the plain "Syntax error" says more there.
std::optional<std::u16string> unknownNameMessage(std::u16string_view word, const std::vector<TypedName>& names);

// The message for the engine's error: the unknown-name message when a word it does not know
// caused it, else the error's own message ("Division error").
std::u16string engineErrorMessage(const Engine& engine, const std::vector<TypedName>& names);
