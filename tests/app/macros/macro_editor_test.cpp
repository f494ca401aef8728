#include <gtest/gtest.h>

#include "macro_editor.h"

namespace {

MacroRecord macro(std::u16string name, std::u16string params, std::uint8_t count, std::u16string body)
{
    return MacroRecord{
        std::move(params), u"f: " + body, std::move(name), body, std::u16string(body.size(), u'1'), count};
}

MacroLibrary listOf(std::initializer_list<MacroRecord> macros)
{
    MacroLibrary data;
    for (const MacroRecord& record : macros)
        data.insert(data.count(), record);
    return data;
}

TEST(MacroEditor, NameRowsMarkDefinedMacros)
{
    MacroLibrary data = listOf({macro(u"Mc", u"", 0, u"3"), macro(u"Ma", u"", 0, u"1"), macro(u"Foo", u"", 0, u"2")});
    const MacroEditor window(data);
    const std::vector<std::u16string> rows = window.nameRows();
    ASSERT_EQ(rows.size(), 26u);
    EXPECT_EQ(rows[0], u"Ma *");
    EXPECT_EQ(rows[1], u"Mb");
    EXPECT_EQ(rows[2], u"Mc *");
    EXPECT_EQ(rows[25], u"Mz");
}

TEST(MacroEditor, OpeningSelectsTheFirstMacroOrMa)
{
    MacroLibrary empty;
    MacroEditor fresh(empty);
    EXPECT_FALSE(fresh.editing());
    const MacroLineText blank = fresh.open();
    EXPECT_TRUE(fresh.editing());
    EXPECT_EQ(fresh.name(), u"Ma");
    EXPECT_EQ(fresh.header(), u"Ma()");
    EXPECT_EQ(fresh.selectedRow(), 0);
    EXPECT_TRUE(blank.displayText.empty());

    MacroLibrary data = listOf({macro(u"Mc", u"x,y", 2, u"x\u00D7y"), macro(u"Ma", u"", 0, u"1")});
    MacroEditor window(data);
    const MacroLineText line = window.open();
    EXPECT_EQ(window.name(), u"Mc");
    EXPECT_EQ(window.selectedRow(), 2);
    EXPECT_EQ(window.header(), u"Mc(x,y)");
    EXPECT_EQ(window.params(), u"x,y");
    EXPECT_EQ(window.paramCount(), 2);
    EXPECT_EQ(window.formula(), u"f: x\u00D7y");
    EXPECT_EQ(line.displayText, u"x\u00D7y");
    EXPECT_EQ(line.tokenMap, u"111");

    // An undefined name clears what the previous one had loaded.
    EXPECT_TRUE(window.choose(u"Mq").displayText.empty());
    EXPECT_EQ(window.header(), u"Mq()");
    EXPECT_EQ(window.params(), u"");
    EXPECT_EQ(window.paramCount(), 0);
    EXPECT_EQ(window.formula(), u"");
    window.close();
    EXPECT_FALSE(window.editing());
}

TEST(MacroEditor, UsedVariablesJoinTheParameterListOnce)
{
    MacroLibrary data;
    MacroEditor window(data);
    window.choose(u"Mb");
    const std::pair<std::u16string, std::u16string> steps[] = {
        {u"x", u"Mb(x)"}, {u"y", u"Mb(x,y)"}, {u"x", u"Mb(x,y)"}, {u"", u"Mb(x,y)"}, {u"xy", u"Mb(x,y,xy)"},
    };
    for (const auto& [variable, header] : steps) {
        window.useVariable(variable);
        EXPECT_EQ(window.header(), header);
    }
    EXPECT_EQ(window.paramCount(), 3);

    for (int i = 0; i < 300; ++i)
        window.useVariable(u"v" + std::u16string(1, static_cast<char16_t>(u'A' + i)));
    EXPECT_EQ(window.paramCount(), 255);
}

TEST(MacroEditor, RebuildingDropsNamesThatNoLongerOccur)
{
    struct Case {
        std::u16string params;
        std::u16string displayText;
        std::u16string kept;
        int count;
    };
    const Case cases[] = {
        {u"x,y,z", u"x+z", u"x,z", 2},    {u"x,y", u"", u"", 0},
        {u"z,x", u"x\u00D7z", u"z,x", 2},  // order of the list, not of the formula
        {u"x,y", u"xy", u"x,y", 2},        // plain substrings
        {u"ab,b", u"b", u"b", 1},         {u"x,,y", u"x+y", u"x,y", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.displayText.begin(), c.displayText.end()));
        MacroLibrary data = listOf({macro(u"Ma", c.params, 9, u"")});
        MacroEditor window(data);
        window.open();
        window.rebuildParameters(c.displayText);
        EXPECT_EQ(window.params(), c.kept);
        EXPECT_EQ(window.paramCount(), c.count);
        EXPECT_EQ(window.header(), u"Ma(" + c.kept + u")");
    }
}

TEST(MacroEditor, SavingReplacesInPlaceOrAppendsAndDeletingRemoves)
{
    MacroLibrary data = listOf({macro(u"Ma", u"x", 1, u"x"), macro(u"Mb", u"", 0, u"2")});
    MacroEditor window(data);
    EXPECT_FALSE(window.save(u"1", u"1"));
    EXPECT_FALSE(window.remove());

    window.choose(u"Ma");
    window.useVariable(u"y");
    window.setFormula(u"x plus y");
    ASSERT_TRUE(window.save(u"x+y", u"111"));
    ASSERT_EQ(data.count(), 2u);
    EXPECT_EQ(data.at(0), (MacroRecord{u"x,y", u"x plus y", u"Ma", u"x+y", u"111", 2}));
    EXPECT_EQ(data.signatures(), (std::vector<std::u16string>{u"Ma(x, y)", u"Mb()"}));

    window.choose(u"Mz");
    window.useVariable(u"t");
    ASSERT_TRUE(window.save(u"2t", u"11"));
    EXPECT_EQ(data.signatures(), (std::vector<std::u16string>{u"Ma(x, y)", u"Mb()", u"Mz(t)"}));

    window.choose(u"Mb");
    EXPECT_TRUE(window.remove());
    EXPECT_FALSE(window.remove());
    EXPECT_EQ(data.signatures(), (std::vector<std::u16string>{u"Ma(x, y)", u"Mz(t)"}));
    EXPECT_EQ(window.nameRows()[1], u"Mb");
    EXPECT_EQ(window.header(), u"Mb()");
}

}  // namespace
