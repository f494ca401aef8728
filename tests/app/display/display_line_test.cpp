#include <gtest/gtest.h>

#include "display_line.h"

namespace {

DisplayLine lineOf(std::initializer_list<std::u16string_view> tokens)
{
    DisplayLine line;
    for (std::u16string_view token : tokens)
        line.insertToken(token);
    return line;
}

TEST(DisplayLine, InsertsAndDeletesWholeTokens)
{
    DisplayLine line = lineOf({u"2", u"sin(", u"30", u")"});
    EXPECT_EQ(line.input(), u"2sin(30)");
    EXPECT_EQ(line.tokenMap(), u"1421");
    EXPECT_EQ(line.cursor(), 4u);

    line.moveCursor(-3);
    line.deleteAtCursor();
    EXPECT_EQ(line.input(), u"230)");
    EXPECT_EQ(line.tokenMap(), u"121");
    line.insertToken(u"cos(");
    EXPECT_EQ(line.input(), u"2cos(30)");
    EXPECT_EQ(line.cursor(), 2u);
    EXPECT_EQ(line.token(1), u"cos(");
}

TEST(DisplayLine, CursorAndDeletionStopAtTheEnds)
{
    DisplayLine line = lineOf({u"1", u"+", u"2"});
    line.deleteAtCursor();
    EXPECT_EQ(line.input(), u"1+2");
    line.moveCursor(10);
    EXPECT_EQ(line.cursor(), 3u);
    line.moveCursor(-10);
    EXPECT_EQ(line.cursor(), 0u);
    line.deleteAtCursor();
    EXPECT_EQ(line.input(), u"+2");
    line.clear();
    EXPECT_TRUE(line.empty());
    EXPECT_EQ(line.tokenCount(), 0u);
}

TEST(DisplayLine, LongTokensKeepTheirLength)
{
    DisplayLine line = lineOf({u"1.2345678901exp(-12)", u"+"});
    EXPECT_EQ(line.tokenMap().size(), 2u);
    EXPECT_EQ(line.token(0), u"1.2345678901exp(-12)");
    line.moveCursor(-2);
    line.deleteAtCursor();
    EXPECT_EQ(line.input(), u"+");
}

TEST(DisplayLine, RepairsTokenMapsThatDoNotFitTheText)
{
    struct Case {
        std::u16string input;
        std::u16string map;
        std::u16string expectedMap;
    };
    const Case cases[] = {
        {u"2sin(", u"14", u"14"},
        {u"2sin(", u"13", u"11111"},
        {u"12", u"", u"11"},
        {u"12",
         u"0"
         u"2",
         u"11"},
        {u"", u"", u""},
        {u"ab", u"\xD800", u"11"},
    };
    for (const Case& c : cases) {
        DisplayLine line;
        line.setContent(c.input, c.map);
        EXPECT_EQ(line.tokenMap(), c.expectedMap);
        EXPECT_EQ(line.cursor(), 0u);
    }
}

}  // namespace
