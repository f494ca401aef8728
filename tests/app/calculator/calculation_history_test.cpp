#include <gtest/gtest.h>

#include <random>

#include "archive_stream.h"
#include "atomic_file.h"
#include "calculation_history.h"
#include "temp_folder.h"

namespace {

HistoryEntry entry(int n)
{
    const std::u16string text = u"1+" + std::u16string(1, static_cast<char16_t>(u'0' + n % 10));
    return {text, u"111", u"result", u"value"};
}

TEST(CalculationHistory, NewestFirstWithoutRepeatsAndAtMostAThousand)
{
    CalculationHistory history;
    history.add({u"1+1", u"111", u"2", u"2"});
    history.add({u"2+2", u"111", u"4", u"4"});
    history.add({u"2+2", u"111", u"4", u"4"});
    ASSERT_EQ(history.entries().size(), 2u);
    EXPECT_EQ(history.entries()[0].expression, u"2+2");
    EXPECT_EQ(history.entries()[1].expression, u"1+1");
    for (int i = 0; i < 1500; ++i)
        history.add(entry(i));
    EXPECT_EQ(history.entries().size(), CalculationHistory::kMaxEntries);
    EXPECT_EQ(history.entries().front(), entry(1499));
}

TEST(CalculationHistory, SavesAtomicallyAndReadsBack)
{
    TempFolder folder;
    CalculationHistory history;
    history.add({u"sin(30)", u"41", u"0.5", u"0.5"});
    history.add({u"1\u00F73", u"111", u"0.333333333333", u"0.3333333333333333"});
    ASSERT_TRUE(history.save(folder.path()));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "history.dat.tmp"));
    CalculationHistory back;
    back.load(folder.path());
    EXPECT_EQ(back.entries(), history.entries());
    // No file: an empty history.
    TempFolder empty;
    back.load(empty.path());
    EXPECT_TRUE(back.entries().empty());
}

TEST(CalculationHistory, DamagedFilesKeepWhatWasReadAndNeverCrash)
{
    CalculationHistory history;
    for (int i = 0; i < 20; ++i)
        history.add(entry(i));
    const std::string good = history.serialize();
    std::mt19937 random(3);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = good.substr(0, random() % (good.size() + 1));
        for (int flips = round % 4; flips > 0 && !bytes.empty(); --flips)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        CalculationHistory back;
        back.deserialize(bytes);
        ASSERT_LE(back.entries().size(), history.entries().size());
    }
    // A cut file keeps the entries before the cut.
    CalculationHistory cut;
    cut.deserialize(std::string_view(good).substr(0, good.size() - 3));
    EXPECT_EQ(cut.entries().size(), history.entries().size() - 1);
    EXPECT_EQ(cut.entries().front(), history.entries().front());
    // Another kind of file is no history.
    cut.deserialize("not a history file");
    EXPECT_TRUE(cut.entries().empty());
}

// A file of the first version holds texts in the output format of its time; they are read
// into the one form that later versions keep.
TEST(CalculationHistory, FirstVersionFilesReadInTheFormatOfTheirTime)
{
    ArchiveWriter writer;
    writer.writeString(u"CorvanHistory1");
    writer.writeU32(1);
    for (std::u16string_view text : {u"1.234\u00B85", u"1111111", u"1.234\u00B85", u"1234.5"})
        writer.writeString(text);
    const std::string bytes = writer.take();
    CalculationHistory history;
    history.deserialize(bytes, OutputFormat::European);
    ASSERT_EQ(history.entries().size(), 1u);
    EXPECT_EQ(history.entries()[0].expression, u"1\u00B8234.5");
    EXPECT_EQ(history.entries()[0].inOutputFormat(OutputFormat::European).result, u"1.234\u00B85");
    history.deserialize(bytes, OutputFormat::UnitedStates);
    EXPECT_EQ(history.entries()[0].expression, u"1.234\u00B85");
}

}  // namespace
