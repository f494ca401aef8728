// Typed names as tables: the characters a user types, and what goes onto the line.
#include <gtest/gtest.h>

#include <string>

#include "key_codes.h"
#include "typed_names.h"

namespace {

// What typing `keys` does, written out: "<54>" for a key code, "{e}" for a literal token, the
// character itself when it is left to the ordinary keys.
std::string transcript(NameBuilder& builder, std::u16string_view keys, bool hex = false)
{
    std::string out;
    const auto add = [&out](const std::vector<NameInsertion>& insertions) {
        for (const NameInsertion& insertion : insertions) {
            if (insertion.code >= 0)
                out += "<" + std::to_string(insertion.code) + ">";
            else
                out += "{" + std::string(insertion.token.begin(), insertion.token.end()) + "}";
        }
    };
    for (char16_t c : keys) {
        const NameBuilder::Step step = builder.offer(c, hex);
        add(step.insert);
        if (!step.consumed)
            out += static_cast<char>(c);
    }
    return out;
}

struct NameCase {
    const char* keys;
    bool hex;
    const char* expected;  // transcript
    const char* pending;   // the name still being typed
};

class TypedNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(TypedNames, BecomeTheTokensOfTheirKeys)
{
    const NameCase& c = GetParam();
    MacroRecord withParameters;
    withParameters.name = u"Ma";
    withParameters.params = u"x,y";
    withParameters.paramCount = 2;
    MacroRecord without;
    without.name = u"Mb";
    NameBuilder builder;
    builder.setNames(typedNames({withParameters, without}));
    const std::u16string keys(c.keys, c.keys + std::char_traits<char>::length(c.keys));
    EXPECT_EQ(transcript(builder, keys, c.hex), c.expected) << c.keys;
    const std::u16string pending(c.pending, c.pending + std::char_traits<char>::length(c.pending));
    EXPECT_EQ(builder.pending(), pending) << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TypedNames,
    ::testing::Values(
        // Functions are complete with their "(" ...
        NameCase{"sin(", false, "<54>", ""}, NameCase{"sinh(", false, "<51>", ""},
        NameCase{"asinh(", false, "<60>", ""}, NameCase{"sqrt(", false, "<41>", ""},
        NameCase{"cbrt(", false, "{cbrt(}", ""}, NameCase{"det(", false, "<101>", ""},
        NameCase{"pmt(", false, "<116>", ""}, NameCase{"fnInt(", false, "<119>", ""},
        NameCase{"fnRoot(", false, "<122>", ""}, NameCase{"fib(", false, "<125>", ""},
        NameCase{"gcd(", false, "<26>", ""},
        // ... or with their bare name when something else follows.
        NameCase{"sin3", false, "<54>3", ""}, NameCase{"ln ", false, "<29> ", ""},
        // Names typed whole go in at once when nothing longer begins with them.
        NameCase{"pi", false, "<59>", ""}, NameCase{"ans", false, "<22>", ""}, NameCase{"mod", false, "<37>", ""},
        NameCase{"and", false, "<69>", ""}, NameCase{"xor", false, "<71>", ""}, NameCase{"shl", false, "<80>", ""},
        NameCase{"exp", false, "<27>", ""}, NameCase{"[VA]", false, "{[VA]}", ""}, NameCase{"[ans]", false, "<22>", ""},
        NameCase{"sum(X)", false, "<88>", ""}, NameCase{"N(X)", false, "<86>", ""},
        NameCase{"ctan(", false, "{ctan(}", ""}, NameCase{"abs(", false, "{abs(}", ""},
        NameCase{"hypot(", false, "{hypot(}", ""}, NameCase{"floor2", false, "{floor(}2", ""},
        // "log2" is a name of its own; "log" before another digit is still log.
        NameCase{"log2(", false, "{log2(}", ""}, NameCase{"log3", false, "<28>3", ""},
        // Names that begin longer ones wait for the next character.
        NameCase{"e", false, "", "e"}, NameCase{"e+", false, "{e}+", ""}, NameCase{"e^", false, "{e}^", ""},
        NameCase{"i2", false, "<25>2", ""}, NameCase{"x)", false, "<34>)", ""}, NameCase{"or ", false, "<70> ", ""},
        NameCase{"sum+", false, "<88>+", ""}, NameCase{"N*", false, "<86>*", ""}, NameCase{"pix", false, "<59>", "x"},
        // Another case finds the name when its own case does not.
        NameCase{"SIN(", false, "<54>", ""}, NameCase{"PI", false, "<59>", ""}, NameCase{"[va]", false, "{[VA]}", ""},
        NameCase{"MAX(X)", false, "<100>", ""},
        // Macros: a call with parameters, and one without.
        NameCase{"Ma(", false, "{Ma(}", ""}, NameCase{"Ma2", false, "{Ma(}2", ""},
        NameCase{"Mb+", false, "{Mb()}+", ""}, NameCase{"max(X)", false, "<100>", ""},
        // Letters that make no name go on as typed, so that "=" can name the unknown word.
        NameCase{"q", false, "{q}", ""}, NameCase{"sinq", false, "{s}{i}{n}{q}", ""},
        NameCase{"abz(", false, "{a}{b}{z}(", ""}, NameCase{"sx", false, "{s}{x}", ""},
        NameCase{"sinn(", false, "{s}{i}{n}{n}(", ""}, NameCase{"ab+", false, "{a}{b}+", ""},
        // In "HEX" the letters A to F are digits unless they spell a name.
        NameCase{"ff+", true, "<77><77>+", ""}, NameCase{"e+", true, "<76>+", ""},
        NameCase{"add+", true, "<72><75><75>+", ""}, NameCase{"and", true, "<69>", ""},
        NameCase{"db(", true, "<118>", ""}, NameCase{"FF", true, "", "FF"},
        // Digits and signs are never names.
        NameCase{"2+3", false, "2+3", ""}));

TEST(NameBuilder, FinishCompletesThePendingNameOrKeepsItAsTyped)
{
    NameBuilder builder;
    builder.offer(u's', false);
    builder.offer(u'i', false);
    builder.offer(u'n', false);
    NameBuilder::Step step = builder.finish(false);
    EXPECT_TRUE(step.consumed);
    EXPECT_EQ(step.insert, (std::vector<NameInsertion>{{54, {}}}));
    EXPECT_TRUE(builder.pending().empty());

    builder.offer(u's', false);
    builder.offer(u'i', false);
    step = builder.finish(false);
    EXPECT_TRUE(step.consumed);
    EXPECT_EQ(step.insert, (std::vector<NameInsertion>{{-1, u"s"}, {-1, u"i"}}));
    EXPECT_TRUE(builder.pending().empty());

    builder.offer(u'f', true);
    builder.offer(u'f', true);
    EXPECT_EQ(builder.finish(true).insert, (std::vector<NameInsertion>{{77, {}}, {77, {}}}));
    EXPECT_TRUE(builder.finish(false).insert.empty());
}

TEST(NameBuilder, BackspaceTakesBackThePendingLetters)
{
    NameBuilder builder;
    builder.offer(u'c', false);
    builder.offer(u'o', false);
    EXPECT_TRUE(builder.backspace());
    EXPECT_EQ(builder.pending(), u"c");
    EXPECT_TRUE(builder.backspace());
    EXPECT_FALSE(builder.backspace());
}

TEST(NameBuilder, EveryNameOfAKeyIsTyped)
{
    // Every key whose text is a name can be typed by that name and gives that key.
    const std::vector<TypedName> names = typedNames({});
    for (const TypedName& name : names) {
        if (name.code < 0)
            continue;
        NameBuilder builder;
        std::vector<NameInsertion> inserted;
        for (char16_t c : name.text) {
            const NameBuilder::Step step = builder.offer(c, false);
            inserted.insert(inserted.end(), step.insert.begin(), step.insert.end());
        }
        const NameBuilder::Step last = builder.finish(false);
        inserted.insert(inserted.end(), last.insert.begin(), last.insert.end());
        EXPECT_EQ(inserted, (std::vector<NameInsertion>{{name.code, {}}}))
            << std::string(name.text.begin(), name.text.end());
    }
    EXPECT_GT(names.size(), 100u);
}

}  // namespace
