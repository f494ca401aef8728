#include "typed_names.h"

#include <array>

#include "ascii.h"
#include "key_codes.h"
#include "result_format.h"

namespace {

// Names that no key's own text gives: the square root key inserts an index and the root sign,
// the calculus keys insert their signs, and "ans" is the answer key without brackets.
struct ExtraName {
    std::u16string_view text;
    int code;
};
constexpr std::array<ExtraName, 8> kExtraKeyNames = {{
    {u"sqrt(", KeyCode::kSquareRoot},
    {u"ans", KeyCode::kAnswer},
    {u"fnInt(", KeyCode::kIntegral},
    {u"fnDeriv(", KeyCode::kDerivative},
    {u"fnEval(", KeyCode::kFunctionEvaluation},
    {u"fnProduct(", KeyCode::kProduct},
    {u"fnSum(", KeyCode::kSummation},
    {u"fib(", KeyCode::kFibonacci},
}};

// The engine's words that no key inserts, and Euler's number, which keys insert only with "^".
// "cbrt(" is the real cube root (cbrt(-8) is -2), not the cube-root key's principal root.
constexpr std::array<std::u16string_view, 19> kLiteralNames = {
    u"e",      u"ctan(", u"ctanh(", u"sech(",  u"csch(", u"acot(",  u"acoth(", u"asech(", u"acsch(", u"abs(",
    u"floor(", u"ceil(", u"round(", u"trunc(", u"sign(", u"gamma(", u"cbrt(",  u"log2(",  u"hypot(",
};

// Slots that expressions name in brackets besides "[VA]" to "[VZ]".
constexpr std::array<std::u16string_view, 2> kSpecialSlots = {u"[VRE]", u"[VVV]"};

bool allHexLetters(std::u16string_view text)
{
    for (char16_t c : text) {
        if (hexLetterCode(c) < 0)
            return false;
    }
    return !text.empty();
}

std::u16string trimmed(std::u16string_view text)
{
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    return std::u16string(text);
}

// Characters that make no name, one literal token each, for "=" to name the unknown word.
void appendAsTyped(std::u16string_view text, std::vector<NameInsertion>& out)
{
    for (char16_t c : text)
        out.push_back({-1, std::u16string(1, c)});
}

NameInsertion insertionOf(const TypedName& name)
{
    if (name.code >= 0)
        return {name.code, {}};
    return {-1, name.token};
}

}  // namespace

bool beginsWith(std::u16string_view text, std::u16string_view prefix, bool ignoreCase)
{
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (ignoreCase ? ascii::toLower(text[i]) != ascii::toLower(prefix[i]) : text[i] != prefix[i])
            return false;
    }
    return true;
}

int hexLetterCode(char16_t c)
{
    const char16_t l = ascii::toLower(c);
    return (l >= u'a' && l <= u'f') ? KeyCode::kHexA + (l - u'a') : -1;
}

std::size_t TypedName::shortestForm() const
{
    const std::size_t open = text.find(u'(');
    return open != std::u16string::npos && open > 0 ? open : text.size();
}

std::vector<TypedName> typedNames(const std::vector<MacroRecord>& macros)
{
    std::vector<TypedName> names;
    for (int code = 0; code < KeyCode::kCount; ++code) {
        if (code >= KeyCode::kHexA && code <= KeyCode::kHexF)
            continue;  // digits, typed as such in "HEX"
        const std::vector<std::u16string_view> tokens = insertedTokens(code, OutputFormat::UnitedStates);
        if (tokens.size() != 1)
            continue;
        std::u16string text = trimmed(tokens.front());
        if (!text.empty() && (ascii::isLetter(text.front()) || text.front() == u'['))
            names.push_back({std::move(text), code, {}});
    }
    for (const ExtraName& extra : kExtraKeyNames) {
        bool known = false;
        for (const TypedName& name : names)
            known = known || name.text == extra.text;
        if (!known)
            names.push_back({std::u16string(extra.text), extra.code, {}});
    }
    for (std::u16string_view literal : kLiteralNames)
        names.push_back({std::u16string(literal), -1, std::u16string(literal)});
    for (char16_t letter = u'A'; letter <= u'Z'; ++letter) {
        const std::u16string slot = std::u16string(u"[V") + letter + u"]";
        names.push_back({slot, -1, slot});
    }
    for (std::u16string_view slot : kSpecialSlots)
        names.push_back({std::u16string(slot), -1, std::u16string(slot)});
    for (const MacroRecord& macro : macros) {
        if (macro.name.empty())
            continue;
        std::u16string call = macro.name + (macro.paramCount == 0 ? u"()" : u"(");
        names.push_back({call, -1, call});
    }
    return names;
}

std::vector<const TypedName*> NameBuilder::beginning(std::u16string_view text) const
{
    std::vector<const TypedName*> found;
    for (bool ignoreCase : {false, true}) {
        for (const TypedName& name : names_) {
            if (beginsWith(name.text, text, ignoreCase))
                found.push_back(&name);
        }
        if (!found.empty())
            break;
    }
    return found;
}

bool NameBuilder::isWholeName(std::u16string_view text) const
{
    for (const TypedName& name : names_) {
        if (name.text.size() == text.size() && beginsWith(name.text, text, true))
            return true;
    }
    return false;
}

const TypedName* NameBuilder::completedBy(std::u16string_view text) const
{
    for (bool ignoreCase : {false, true}) {
        for (const TypedName& name : names_) {
            if (name.text.size() == text.size() && beginsWith(name.text, text, ignoreCase))
                return &name;
        }
        for (const TypedName& name : names_) {
            if (text.size() >= name.shortestForm() && beginsWith(name.text, text, ignoreCase))
                return &name;
        }
    }
    return nullptr;
}

void NameBuilder::complete(bool hexDigits, std::vector<NameInsertion>& out) const
{
    if (hexDigits && allHexLetters(pending_)) {
        for (char16_t c : pending_)
            out.push_back({hexLetterCode(c), {}});
    } else if (const TypedName* name = completedBy(pending_)) {
        out.push_back(insertionOf(*name));
    } else {
        appendAsTyped(pending_, out);
    }
}

NameBuilder::Step NameBuilder::offer(char16_t c, bool hexDigits)
{
    Step step;
    if (pending_.empty() && !ascii::isLetter(c) && c != u'[')
        return step;
    const std::u16string candidate = pending_ + c;
    const std::vector<const TypedName*> names = beginning(candidate);
    const bool hexRun = hexDigits && allHexLetters(candidate);
    if (!names.empty() || hexRun) {
        pending_ = candidate;
        step.consumed = true;
        if (!hexRun && names.size() == 1 && names.front()->text.size() == candidate.size()) {
            step.insert.push_back(insertionOf(*names.front()));
            pending_.clear();
        }
        return step;
    }
    // A letter that begins no name, or makes an unknown word with the letters before it, goes on
    // as typed with them (rule 4): "sinn" stays a word rather than becoming "sin(" and "n".
    const bool unknownWord = ascii::isLetter(c) && !isWholeName(pending_) && !(hexDigits && allHexLetters(pending_));
    if (pending_.empty() || unknownWord) {
        appendAsTyped(candidate, step.insert);
        pending_.clear();
        step.consumed = true;
        return step;
    }
    complete(hexDigits, step.insert);
    pending_.clear();
    Step next = offer(c, hexDigits);
    step.insert.insert(step.insert.end(), next.insert.begin(), next.insert.end());
    step.consumed = next.consumed;
    return step;
}

NameBuilder::Step NameBuilder::finish(bool hexDigits)
{
    Step step;
    if (pending_.empty())
        return step;
    complete(hexDigits, step.insert);
    step.consumed = true;
    pending_.clear();
    return step;
}

bool NameBuilder::backspace()
{
    if (pending_.empty())
        return false;
    pending_.pop_back();
    return true;
}
