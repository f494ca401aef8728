#include "macro_expansion.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "engine_error.h"

namespace {

constexpr std::size_t kNone = std::u16string::npos;

bool isBlank(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

std::u16string_view trimmed(std::u16string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Splits off the text up to the first comma at depth zero; without one, everything goes.
std::u16string_view takeArgument(std::u16string_view& rest)
{
    int depth = 0;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == u'(')
            ++depth;
        else if (rest[i] == u')')
            --depth;
        else if (rest[i] == u',' && depth == 0) {
            const std::u16string_view argument = rest.substr(0, i);
            rest.remove_prefix(i + 1);
            return argument;
        }
    }
    return std::exchange(rest, std::u16string_view());
}

std::u16string_view takeName(std::u16string_view& rest)
{
    const std::size_t comma = rest.find(u',');
    if (comma == kNone)
        return std::exchange(rest, std::u16string_view());
    const std::u16string_view name = rest.substr(0, comma);
    rest.remove_prefix(comma + 1);
    return name;
}

// Replaces every occurrence of name by replacement; false when the result would be too long.
bool replaceAll(std::u16string& body, std::u16string_view name, std::u16string_view replacement)
{
    std::u16string result;
    std::size_t from = 0;
    for (std::size_t at = body.find(name); at != kNone; at = body.find(name, from)) {
        result.append(body, from, at - from);
        result += replacement;
        from = at + name.size();
        if (result.size() > kMaxExpandedLength)
            return false;
    }
    if (from == 0)
        return true;
    result.append(body, from);
    if (result.size() > kMaxExpandedLength)
        return false;
    body = std::move(result);
    return true;
}

// A macro that may still be called, with its next occurrence at or after the scan position.
struct Candidate {
    const MacroRecord* macro;
    std::size_t next;
};

// The candidates are in list order, so a strict comparison keeps the earlier macro on ties.
Candidate* earliest(std::vector<Candidate>& candidates)
{
    Candidate* best = nullptr;
    for (Candidate& candidate : candidates) {
        if (candidate.next != kNone && (!best || candidate.next < best->next))
            best = &candidate;
    }
    return best;
}

// Expands text in place. Only the macros in `pool` can occur: the arguments of a call are a
// piece of the text that has not been scanned yet, so a name that is not in that text is not in
// them either. After each call the scan resumes past the inserted body, and what follows is the
// unchanged rest of the text, so cached positions behind the call only shift.
int expand(std::u16string& text, const std::vector<const MacroRecord*>& pool, int depth)
{
    if (depth > kMaxMacroNesting || text.size() > kMaxExpandedLength)
        return ErrorCode::kInvalidMacro;
    std::vector<Candidate> candidates;
    for (const MacroRecord* macro : pool) {
        const std::size_t at = macro->name.empty() ? kNone : text.find(macro->name);
        if (at != kNone)
            candidates.push_back({macro, at});
    }
    while (Candidate* call = earliest(candidates)) {
        const MacroRecord& macro = *call->macro;
        const std::size_t start = call->next;
        std::size_t end = start + macro.name.size();
        std::u16string arguments;
        if (end < text.size() && text[end] == u'(') {
            const std::size_t first = end + 1;
            int open = 1;
            std::size_t i = first;
            for (; i < text.size(); ++i) {
                if (text[i] == u'(')
                    ++open;
                else if (text[i] == u')' && --open == 0)
                    break;
            }
            arguments = text.substr(first, i - first);
            end = std::min(i + 1, text.size());
        }

        std::vector<const MacroRecord*> inner;
        for (const Candidate& candidate : candidates) {
            if (candidate.next != kNone)
                inner.push_back(candidate.macro);
        }
        if (const int error = expand(arguments, inner, depth + 1))
            return error;

        std::u16string callText = macro.name;
        callText += u'(';
        callText += arguments;
        callText += u')';
        std::optional<std::u16string> body = substituteMacroCall(callText, macro);
        if (!body)
            return ErrorCode::kInvalidMacro;
        body->insert(body->begin(), u'(');
        body->push_back(u')');
        if (text.size() - (end - start) + body->size() > kMaxExpandedLength)
            return ErrorCode::kInvalidMacro;
        text.replace(start, end - start, *body);

        const std::size_t resume = start + body->size();
        for (Candidate& candidate : candidates) {
            if (candidate.next == kNone)
                continue;
            candidate.next =
                candidate.next >= end ? candidate.next - end + resume : text.find(candidate.macro->name, resume);
        }
    }
    return 0;
}

}  // namespace

MacroExpansion expandMacroCalls(std::u16string_view text, std::span<const MacroRecord> macros)
{
    std::vector<const MacroRecord*> pool;
    pool.reserve(macros.size());
    for (const MacroRecord& macro : macros)
        pool.push_back(&macro);
    MacroExpansion result;
    result.text = text;
    result.error = expand(result.text, pool, 0);
    if (result.error != 0)
        result.text.clear();
    return result;
}

std::optional<std::u16string> substituteMacroCall(std::u16string_view callText, const MacroRecord& macro)
{
    if (macro.displayText.size() > kMaxExpandedLength)
        return std::nullopt;
    const std::u16string_view call = trimmed(callText);
    if (!call.starts_with(macro.name))
        return std::nullopt;
    const auto opens = std::count(call.begin(), call.end(), u'(');
    const auto closes = std::count(call.begin(), call.end(), u')');
    if (opens != closes || opens == 0)
        return std::nullopt;
    const std::size_t first = call.find(u'(');
    const std::size_t last = call.rfind(u')');
    if (last < first)
        return std::nullopt;

    std::u16string body = macro.displayText;
    std::u16string_view arguments = call.substr(first + 1, last - first - 1);
    std::u16string_view names = macro.params;
    for (unsigned parameter = 1; parameter <= macro.paramCount; ++parameter) {
        const bool lastParameter = parameter == macro.paramCount;
        const std::u16string_view argument =
            trimmed(lastParameter ? std::exchange(arguments, {}) : takeArgument(arguments));
        const std::u16string_view name = trimmed(lastParameter ? std::exchange(names, {}) : takeName(names));
        if (argument.empty() || name.empty())
            return std::nullopt;
        std::u16string replacement;
        replacement.reserve(argument.size() + 2);
        replacement += u'(';
        replacement += argument;
        replacement += u')';
        if (!replaceAll(body, name, replacement))
            return std::nullopt;
    }
    return body;
}
