#include <gtest/gtest.h>

#include "atomic_file.h"
#include "data_tools.h"
#include "key_codes.h"
#include "calculator.h"
#include "temp_folder.h"

namespace {

struct Session {
    TempFolder folder;
    std::unique_ptr<Calculator> calculator;
    std::unique_ptr<DataTools> tools;

    void open()
    {
        calculator = std::make_unique<Calculator>(folder.path());
        tools = std::make_unique<DataTools>(calculator->engine(), folder.path());
        calculator->setTools(tools.get());
        calculator->start();
    }
    std::u16string evaluate(std::u16string_view text)
    {
        calculator->pressKey(KeyCode::kClear);
        calculator->pasteText(text);
        calculator->pressKey(KeyCode::kEquals);
        return calculator->display().resultText();
    }
};

TEST(DataTools, StatisticsCategoryReadsAndWritesItsDataSet)
{
    Session s;
    ASSERT_TRUE(writeFileAtomically(s.folder.path() / "statistics.dat", "4\r\n1 2 3 4 \r\n"));
    s.open();
    s.calculator->switchCategory(DataTools::kStatisticsCategory);
    EXPECT_EQ(s.evaluate(u"avg(X)"), u"2.5");
    ASSERT_NE(s.tools->statistics(), nullptr);
    s.tools->statistics()->insertRow(0);
    s.calculator->switchCategory(0);
    EXPECT_EQ(s.tools->statistics(), nullptr);
    std::string saved;
    ASSERT_TRUE(readWholeFile(s.folder.path() / "statistics.dat", saved));
    EXPECT_EQ(saved, "5\r\n0 1 2 3 4 \r\n");
}

TEST(DataTools, MatrixCategoryKeepsResultsAndSavesThemAtClose)
{
    Session s;
    ASSERT_TRUE(writeFileAtomically(s.folder.path() / "matrix.dat", "1\r\n2 2 2\r\n1 2 \r\n3 4 \r\n"));
    s.open();
    s.calculator->switchCategory(DataTools::kMatricesCategory);
    EXPECT_EQ(s.evaluate(u"det(inv([VA]))"), u"-0.5");
    EXPECT_EQ(s.evaluate(u"inv([VA])"), u"[VRE]");
    ASSERT_NE(s.tools->matrices(), nullptr);
    EXPECT_EQ(s.tools->matrices()->count(), 2);
    s.calculator->close();
    std::string saved;
    ASSERT_TRUE(readWholeFile(s.folder.path() / "matrix.dat", saved));
    EXPECT_EQ(saved.substr(0, 3), "2\r\n") << saved;
    // Leaving the category frees the matrices: the engine no longer holds [VA].
    EXPECT_FALSE(s.calculator->engine().slots[2].isMatrix());
}

TEST(DataTools, DamagedFilesLeaveAMessage)
{
    Session s;
    ASSERT_TRUE(writeFileAtomically(s.folder.path() / "matrix.dat", "1\r\nnot a header\r\n"));
    s.open();
    s.calculator->switchCategory(DataTools::kMatricesCategory);
    EXPECT_TRUE(s.tools->takeMessage().starts_with(u"Matrix data error\n"));
    EXPECT_EQ(s.tools->takeMessage(), u"");
}

}  // namespace
