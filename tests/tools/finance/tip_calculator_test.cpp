#include "tip_calculator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using Tip = TipCalculator;
using Status = Tip::CalcStatus;

constexpr char16_t kComma = kDisplayComma;

// Types keys into the active field; '\b' is Backspace, '\t' Tab.
void type(Tip& tip, std::u16string_view keys)
{
    for (char16_t key : keys)
        tip.handleKey(key);
}

// Fills the three fields from the top: each text, then Tab.
void fill(Tip& tip, std::u16string_view people, std::u16string_view percent, std::u16string_view bill)
{
    for (std::u16string_view text : {people, percent, bill}) {
        type(tip, text);
        tip.handleKey(Tip::kTab);
    }
}

std::u16string tipLine(std::u16string value)
{
    return u"Tip Amount  = " + value + u"$";
}
std::u16string totalLine(std::u16string value)
{
    return u"Total/Person = " + value + u"$";
}

struct CalcCase {
    OutputFormat format;
    std::u16string_view people, percent, bill;
    std::u16string tip, total;
};

// Money as written with an ASCII comma; the display shows its own comma sign.
std::u16string money(std::u16string text)
{
    std::replace(text.begin(), text.end(), u',', kComma);
    return text;
}

TEST(TipCalculator, ComputesTipAndTotalPerPersonAsMoney)
{
    const CalcCase cases[] = {
        {OutputFormat::UnitedStates, u"4", u"15", u"100", u"15.00", u"28.75"},
        {OutputFormat::UnitedStates, u"3", u"0", u"100", u"0.00", u"33.33"},
        {OutputFormat::UnitedStates, u"1", u"10", u"12345.5", money(u"1,234.55"), money(u"13,580.05")},
        {OutputFormat::UnitedStates, u"1", u"10", u"11990.99", money(u"1,199.10"), money(u"13,190.09")},
        {OutputFormat::European, u"1", u"10", u"12345.5", money(u"1.234,55"), money(u"13.580,05")},
        // Fractions of a person are taken as typed: (0.5 + 5) / 0.5.
        {OutputFormat::European, u".5", u"10", u"5", money(u"0,50"), money(u"11,00")},
        // The longest bill and percent the fields take: still grouped money, never exponent form.
        {OutputFormat::UnitedStates, u"7", u"9999999", u"999999999999", money(u"99,999,989,999,900,000.00"),
         money(u"14,285,855,714,271,428.00")},
        // Keyboard letters for digits: W E R are 1 2 3, "?" is 0.
        {OutputFormat::UnitedStates, u"R", u"W?", u"E?", u"2.00", u"7.33"},
    };
    for (const CalcCase& c : cases) {
        Tip tip(c.format);
        fill(tip, c.people, c.percent, c.bill);
        EXPECT_EQ(tip.calculate(), Status::Done);
        EXPECT_EQ(tip.tipLine(), tipLine(c.tip));
        EXPECT_EQ(tip.totalLine(), totalLine(c.total));
    }
}

TEST(TipCalculator, EveryCalculateKeyCalculates)
{
    for (char16_t key : {u'=', char16_t{13}, u'k', u'K'}) {
        Tip tip;
        fill(tip, u"2", u"10", u"10");
        EXPECT_TRUE(tip.handleKey(key));
        EXPECT_EQ(tip.totalLine(), totalLine(u"5.50"));
    }
}

TEST(TipCalculator, InvalidFieldsLeaveResultsAlone)
{
    const struct {
        std::u16string_view people, percent, bill;
        Status status;
    } cases[] = {
        {u"0", u"15", u"100", Status::NoPeople},
        {u"", u"15", u"100", Status::NoPeople},
        {u".", u"15", u"100", Status::NoPeople},
        {u"4", u"15", u"", Status::NoBill},
        {u"4", u"15", u"0.0", Status::NoBill},
        // Letters and a minus sign are not taken, so the bill stays empty.
        {u"4", u"15", u"-ab", Status::NoBill},
    };
    for (const auto& c : cases) {
        Tip tip;
        fill(tip, c.people, c.percent, c.bill);
        EXPECT_EQ(tip.calculate(), c.status);
        EXPECT_FALSE(tip.handleKey(u'='));
        EXPECT_EQ(tip.tipLine(), Tip::kTipLabel);
        EXPECT_EQ(tip.totalLine(), Tip::kTotalLabel);
    }
}

TEST(TipCalculator, EditingGroupsTheFieldAndResetsResults)
{
    const struct {
        OutputFormat format;
        std::u16string_view keys;
        std::u16string field;
    } cases[] = {
        {OutputFormat::UnitedStates, u"234.5", std::u16string(u"1") + kComma + u"234.5$"},
        {OutputFormat::European, u"234.5", std::u16string(u"1.234") + kComma + u"5$"},
        // Removing a digit regroups: "12,345" -> "1,234".
        {OutputFormat::UnitedStates, u"2345\b", std::u16string(u"1") + kComma + u"234$"},
        {OutputFormat::UnitedStates, u"\b\b", u"$"},
        {OutputFormat::UnitedStates, u"12G", u"$"},
        {OutputFormat::UnitedStates, u"12q3", u"3$"},
        {OutputFormat::UnitedStates, u"SDF-+", std::u16string(u"1") + kComma + u"456$"},
    };
    for (const auto& c : cases) {
        Tip tip(c.format);
        fill(tip, u"4", u"15", u"1");
        tip.calculate();
        tip.handleKey(Tip::kTab);
        tip.handleKey(Tip::kTab);
        type(tip, c.keys);
        EXPECT_EQ(tip.fieldText(Tip::kBillField), c.field);
        EXPECT_EQ(tip.tipLine(), Tip::kTipLabel);
        EXPECT_EQ(tip.fieldText(Tip::kPeopleField), u"4P");
    }
}

TEST(TipCalculator, FullFieldTakesOnlyBackspace)
{
    Tip tip;
    type(tip, u"123456");
    EXPECT_EQ(tip.fieldText(0), std::u16string(u"123") + kComma + u"456P");
    // At 8 characters one more digit is taken, and its grouping mark pushes the text past 9.
    type(tip, u"7");
    EXPECT_EQ(tip.fieldText(0), std::u16string(u"1") + kComma + u"234" + kComma + u"567P");
    EXPECT_FALSE(tip.handleKey(u'8'));
    EXPECT_FALSE(tip.handleKey(u'.'));
    EXPECT_TRUE(tip.handleKey(Tip::kBackspace));
    EXPECT_EQ(tip.fieldText(0), std::u16string(u"123") + kComma + u"456P");

    tip.handleKey(Tip::kTab);
    tip.handleKey(Tip::kTab);
    type(tip, u"12345678901234567890");
    EXPECT_EQ(tip.fieldText(Tip::kBillField).size(), 16u);
}

TEST(TipCalculator, TabCyclesAndEscapeDoesNothing)
{
    Tip tip;
    EXPECT_EQ(tip.activeField(), 0u);
    for (std::size_t expected : {1u, 2u, 0u}) {
        tip.handleKey(Tip::kTab);
        EXPECT_EQ(tip.activeField(), expected);
    }
    EXPECT_FALSE(tip.handleKey(Tip::kEscape));
    EXPECT_EQ(tip.fieldText(0), u"P");
}

TEST(TipCalculator, OutputFormatChangeResetsResultsAndKeepsValues)
{
    Tip tip;
    fill(tip, u"2", u"10", u"1234.5");
    tip.calculate();
    tip.setOutputFormat(OutputFormat::European);
    EXPECT_EQ(tip.tipLine(), Tip::kTipLabel);
    EXPECT_EQ(tip.totalLine(), Tip::kTotalLabel);
    EXPECT_EQ(tip.fieldText(Tip::kBillField), std::u16string(u"1.234") + kComma + u"5$");
    EXPECT_EQ(tip.calculate(), Status::Done);
    EXPECT_EQ(tip.totalLine(), totalLine(money(u"678,98")));
}

}  // namespace
