#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

class Engine;

// The text without blanks at either end.
std::string_view trimmedBlanks(std::string_view text);

// The argument list of a named function call: the text between its parentheses, split at
// commas outside parentheses, each piece without its surrounding blanks. An empty piece is a
// missing argument.
class CallArguments {
public:
    static constexpr std::size_t kAnyCount = std::numeric_limits<std::size_t>::max();

    CallArguments(Engine& engine, std::string_view text);

    // Checks the shape of the list: the first `required` pieces are present and no more than
    // `most` pieces are given. A last empty piece past the required ones counts as left out
    // ("fv(0,10,100,1000,12,)"). Otherwise raises "Syntax error" (-8) and returns false.
    bool expect(std::size_t required, std::size_t most);

    // Number of pieces given, after expect() has dropped a trailing empty optional one.
    std::size_t count() const { return pieces_.size(); }
    // Piece `index` as text; empty when it was not given.
    std::string_view text(std::size_t index) const;

    // Piece `index` as a number: its calls expanded, then evaluated in scalar mode, radix 10
    // (whatever the display's radix). Raises -8 when the piece is missing and -54 when the value
    // is complex; other failures keep the evaluator's code.
    std::optional<double> number(std::size_t index) const;
    // Pieces from `first` to the end as numbers, stopping at the first failure.
    std::optional<std::vector<double>> numbers(std::size_t first = 0) const;

private:
    Engine& engine_;
    std::vector<std::string_view> pieces_;
};

// All arguments as numbers, after checking the shape as CallArguments::expect does.
std::optional<std::vector<double>> numericArguments(Engine& engine, std::string_view arguments, std::size_t required,
                                                    std::size_t most);
