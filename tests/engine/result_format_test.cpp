#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "result_format.h"
#include "utf16.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr NumberContext kBase8{2, 8};
constexpr NumberContext kBase16{2, 16};
constexpr NumberContext kBase32{2, 32};
constexpr NumberContext kBase64{2, 64};

struct NormalCase {
    double x;
    const char* expected;
};

TEST(formatNormal, RoundsToFifteenDigits)
{
    const NormalCase cases[] = {
        {0.1, "0.1"},
        {1.0 / 3.0, "0.33333333333333"},
        {2.0 / 3.0, "0.66666666666667"},
        {-2.5, "-2.5"},
        {1e10, "10000000000"},
        {123456789.123456789, "123456789.123457"},
        {0.0, "0"},
        {5e-15, "0.00000000000001"},
        {-1e-20, "0"},
        // Carries out of the fraction into the integer part.
        {0.9999999999999999, "1"},
        {9.999999999999995, "10"},
        {999999999999999.625, "1000000000000000"},
        // Sixteen integer digits or more: the fraction is not rounded away.
        {1e15 + 0.5, "1000000000000000.5"},
        {9007199254740993.0, "9007199254740992"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatNormal(c.x), c.expected) << c.x;
}

TEST(formatNormal, PrintsHugeMagnitudesAndNamesNonNumbers)
{
    EXPECT_EQ(formatNormal(9223372036854775808.0), "9223372036854775808");
    EXPECT_EQ(formatNormal(-9223372036854775808.0), "-9223372036854775808");
    EXPECT_EQ(formatNormal(1.8446744073709552e19), "18446744073709551616");
    const std::string huge = formatNormal(1e300);
    EXPECT_EQ(huge.size(), 301u);
    EXPECT_EQ(huge.rfind("10000000000000000525047602552044202487", 0), 0u);
    EXPECT_EQ(formatNormal(-1e300), "-" + huge);
    EXPECT_EQ(formatNormal(kInf), "overflow");
    EXPECT_EQ(formatNormal(-kInf), "overflow");
    EXPECT_EQ(formatNormal(kNaN), "Out of range error");
}

struct NumberCase {
    double x;
    int digits;
    int style;
    bool trim;
    NumberContext context;
    const char* expected;
};

TEST(formatNumber, FixedScientificAndBaseMode)
{
    const NumberCase cases[] = {
        {3.14159, 2, kStyleFixed, false, {}, "3.14"},
        {2.5, 4, kStyleFixed, true, {}, "2.5"},
        {100.0, 2, kStyleFixed, true, {}, "100"},
        {3.0, 3, kStyleFixed, true, {}, "3"},
        {2.5, 12, kStyleFixed, false, {}, "2.5000000000"},
        {1234.5, 12, kStyleScientific, false, {}, "1.2345000000e+03"},
        {1234.5, 4, kStyleScientific, false, {}, "1.2345e+03"},
        {-1e306, 12, kStyleScientific, false, {}, "-1.0000000000e+306"},
        {1234.5, 2, 2, false, {}, ""},
        {1e306, 2, kStyleFixed, false, {}, "Out of range error"},
        {kInf, 12, kStyleScientific, false, {}, "Out of range error"},
        {kNaN, 2, kStyleFixed, false, {}, "Out of range error"},
        // Base mode: the word's signed integer, whatever the style.
        {200.0, 2, kStyleFixed, false, kBase8, "-56"},
        {200.0, 12, kStyleScientific, false, kBase8, "-56"},
        {200.0, 2, kStyleFixed, false, kBase16, "200"},
        {40000.0, 2, kStyleFixed, false, kBase16, "-25536"},
        {3e9, 2, kStyleFixed, false, kBase32, "-1294967296"},
        {1099511627781.0, 2, kStyleFixed, false, kBase32, "5"},
        {1e19, 2, kStyleFixed, false, kBase64, "9223372036854775807"},
        {-1e19, 2, kStyleFixed, false, kBase64, "-9223372036854775808"},
        {-kInf, 2, kStyleFixed, false, kBase64, "-9223372036854775808"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatNumber(c.x, c.digits, c.style, c.trim, c.context), c.expected)
            << c.x << " digits " << c.digits << " style " << c.style;
    }
}

struct GroupCase {
    std::u16string text;
    OutputFormat format;
    std::u16string expected;
};

TEST(groupDigits, GroupsTheIntegerPart)
{
    const auto us = OutputFormat::UnitedStates;
    const auto eu = OutputFormat::European;
    const GroupCase cases[] = {
        {u"1234567.891", us, u"1\u00B8234\u00B8567.891"},
        {u"1234567.5", eu, u"1.234.567\u00B85"},
        {u"-1234.50", eu, u"-1.234\u00B850"},
        {u"-123", us, u"-123"},
        {u"-123456", us, u"-123\u00B8456"},
        {u"1234", us, u"1\u00B8234"},
        {u"1\u00B8234\u00B8567.5", us, u"1\u00B8234\u00B8567.5"},
        {u"1.2345000000e+25", us, u"1.2345000000e+25"},
        {u"1.2345000000e+25", eu, u"1\u00B82345000000e+25"},
        {u"Out of range error", us, u"Out of range error"},
        {u"overflow", eu, u"overflow"},
    };
    for (const auto& c : cases) {
        const Separators separators = *separatorsOf(c.format);
        std::u16string text = c.text;
        groupDigits(text, separators.decimalChar, separators.groupChar);
        EXPECT_EQ(text, c.expected) << toUtf8(c.text);
    }
}

TEST(OutputFormat, OnlyTheUserFormatsHaveSeparators)
{
    EXPECT_EQ(separatorsOf(OutputFormat::UnitedStates)->decimalChar, u'.');
    EXPECT_EQ(separatorsOf(OutputFormat::European)->decimalChar, kDisplayComma);
    EXPECT_FALSE(separatorsOf(OutputFormat::Other).has_value());
}

struct ResultCase {
    CalcValue value;
    ResultFormatSettings settings;
    std::u16string text;
    DisplayFormat format;
};

constexpr auto kFix = DisplayFormat::Fix;
constexpr auto kNorm = DisplayFormat::Norm;
constexpr auto kSci = DisplayFormat::Sci;
constexpr auto kUs = OutputFormat::UnitedStates;
constexpr auto kEu = OutputFormat::European;

ResultFormatSettings decimal(DisplayFormat format, int fixDigits = 2, OutputFormat output = kUs)
{
    return {format, fixDigits, output, 0, 32, 10};
}

ResultFormatSettings inRadix(int radix, int wordSize)
{
    return {kNorm, 2, kUs, 0, wordSize, radix};
}

void expectResults(const ResultCase* begin, const ResultCase* end)
{
    for (const ResultCase* c = begin; c != end; ++c) {
        const FormattedResult result = formatResult(c->value, c->settings);
        EXPECT_EQ(result.text, c->text) << c->value.re << " " << c->value.im;
        EXPECT_EQ(result.format, c->format) << c->value.re << " " << c->value.im;
    }
}

TEST(FormatResult, RealValues)
{
    const ResultCase cases[] = {
        {{1e12, 0}, decimal(kFix), u"1.0000000000e+12", kSci},
        {{0, 0}, decimal(kNorm), u"0", kNorm},
        {{0.00005, 0}, decimal(kNorm), u"5.0000000000e-05", kSci},
        {{1234.5, 0}, decimal(kFix), u"1\u00B8234.50", kFix},
        {{1234.5, 0}, decimal(kFix, 2, OutputFormat::Other), u"1234.50", kFix},
        {{-1234567.25, 0}, decimal(kNorm), u"-1\u00B8234\u00B8567.25", kNorm},
        {{1e11, 0}, decimal(kFix), u"100\u00B8000\u00B8000\u00B8000.00", kFix},
        // 22 characters in FIX turn to SCI; SCI is never grouped.
        {{1e10, 0}, decimal(kFix, 10), u"1.0000000000e+10", kSci},
        {{1e10, 0}, decimal(kFix, 10, kEu), u"1\u00B80000000000e+10", kSci},
        {{-2.5, 0}, decimal(kSci), u"-2.5000000000e+00", kSci},
    };
    expectResults(std::begin(cases), std::end(cases));
}

TEST(FormatResult, ComplexValues)
{
    const ResultCase cases[] = {
        {{3, 1}, decimal(kNorm), u"3+i", kNorm},
        {{3, -2}, decimal(kNorm), u"3-2i", kNorm},
        {{0, 2}, decimal(kNorm), u"2i", kNorm},
        {{0, -1}, decimal(kNorm), u"-1i", kNorm},
        {{3, 2}, decimal(kFix), u"3+2i", kNorm},
        {{1234.5, 1}, decimal(kNorm), u"1\u00B8234.5+i", kNorm},
        {{1234.5, 1}, decimal(kNorm, 2, kEu), u"1.234\u00B85+i", kNorm},
        {{3, 0.00001}, decimal(kNorm), u"3.0000e+00 +1.0000e-05i", kSci},
        {{3, -0.00001}, decimal(kFix), u"3.0000e+00 -1.0000e-05i", kSci},
        {{0, 1e12}, decimal(kNorm), u"1.0000e+12i", kSci},
        {{0.00001, 2}, decimal(kNorm), u"1.0000e-05 +2.0000e+00i", kSci},
        {{123456.123456, 654321.654321}, decimal(kNorm), u"1.2346e+05 +6.5432e+05i", kSci},
    };
    expectResults(std::begin(cases), std::end(cases));
}

// Display mode 2 in decimal shows the word's signed integer in FIX and SCI; radix 2, 8 and 16
// show it unsigned and padded, and keep the display format.
TEST(FormatResult, BaseModeAndBaseOutput)
{
    const ResultCase cases[] = {
        {{200, 0}, {kFix, 2, kUs, 2, 8, 10}, u"-56", kFix},
        {{200, 0}, {kSci, 2, kUs, 2, 8, 10}, u"-56", kSci},
        {{200, 0}, {kNorm, 2, kUs, 2, 8, 10}, u"200", kNorm},
        {{5, 0}, inRadix(2, 8), u"00000101", kNorm},
        {{255, 0}, inRadix(16, 32), u"000000FF", kNorm},
        {{-1, 0}, inRadix(16, 8), u"FF", kNorm},
        {{8, 0}, inRadix(8, 16), u"00010", kNorm},
        {{255, 0}, inRadix(8, 8), u"377", kNorm},
        {{-1, 0}, inRadix(16, 64), u"00000000FFFFFFFF", kNorm},
        {{5, 0}, inRadix(2, 64), std::u16string(61, u'0') + u"101", kNorm},
        {{1e12, 0}, inRadix(16, 32), u"D4A51000", kNorm},
        {{kNaN, 0}, inRadix(16, 8), u"00", kNorm},
    };
    expectResults(std::begin(cases), std::end(cases));
    EXPECT_EQ(formatResult({10, 0}, {kFix, 2, kUs, 0, 8, 16}).format, kFix);
}

}  // namespace
