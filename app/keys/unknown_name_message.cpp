#include "unknown_name_message.h"

#include <algorithm>

#include "ascii.h"
#include "engine.h"
#include "utf16.h"

namespace {

constexpr std::size_t kMostSuggestions = 3;
constexpr std::size_t kShortestSuggested = 3;

// A name as the user would write it: "sin" for "sin(", "sum" for "sum(X)", "Mb" for "Mb()".
// Bracketed slots ("[VA]") are left out: they are not what a mistyped word is near to.
std::u16string bareName(const TypedName& name)
{
    if (name.text.empty() || !ascii::isLetter(name.text.front()))
        return {};
    return name.text.substr(0, name.text.find(u'('));
}

std::size_t editDistance(std::u16string_view a, std::u16string_view b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = ascii::toLower(a[i - 1]) == ascii::toLower(b[j - 1]);
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::optional<std::u16string> unknownNameMessage(std::u16string_view word, const std::vector<TypedName>& names)
{
    struct Candidate {
        std::size_t distance;
        std::u16string name;
    };
    std::vector<Candidate> candidates;
    for (const TypedName& typed : names) {
        std::u16string name = bareName(typed);
        if (name.empty())
            continue;
        const std::size_t distance = editDistance(word, name);
        if (distance == 0)
            return std::nullopt;
        candidates.push_back({distance, std::move(name)});
    }
    // Only the nearest names, and only when near enough to be a slip of the fingers; any name
    // of one or two letters is that near to a word of one or two, so those get no suggestions.
    const std::size_t limit = word.size() < kShortestSuggested ? 0 : 1 + word.size() / 4;
    std::size_t nearest = limit + 1;
    for (const Candidate& candidate : candidates)
        nearest = std::min(nearest, candidate.distance);
    std::vector<std::u16string> suggestions;
    for (Candidate& candidate : candidates) {
        if (candidate.distance == nearest && nearest <= limit)
            suggestions.push_back(std::move(candidate.name));
    }
    std::sort(suggestions.begin(), suggestions.end());
    suggestions.erase(std::unique(suggestions.begin(), suggestions.end()), suggestions.end());
    if (suggestions.size() > kMostSuggestions)
        suggestions.resize(kMostSuggestions);

    std::u16string message = u"Unknown name: " + std::u16string(word);
    if (suggestions.empty())
        return message;
    message += u" (did you mean ";
    for (std::size_t i = 0; i < suggestions.size(); ++i) {
        if (i > 0)
            message += i + 1 == suggestions.size() ? u" or " : u", ";
        message += suggestions[i];
    }
    return message + u"?)";
}

std::u16string engineErrorMessage(const Engine& engine, const std::vector<TypedName>& names)
{
    if (!engine.unknownName().empty()) {
        if (std::optional<std::u16string> message = unknownNameMessage(fromUtf8(engine.unknownName()), names))
            return std::move(*message);
    }
    return std::u16string(errorMessage(engine.error()));
}
