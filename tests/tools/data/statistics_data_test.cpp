#include "statistics_data.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "engine.h"
#include "random_doubles.h"
#include "stored_number.h"
#include "temp_folder.h"

namespace {

using Model = StatisticsData;

struct Fixture {
    TempFolder folder;
    Engine engine;
    Model model{engine};
    std::filesystem::path file() const { return folder.path() / Model::kFileName; }
    Model::LoadStatus loadText(const std::string& text)
    {
        EXPECT_TRUE(writeFileAtomically(file(), text));
        return model.load(file());
    }
    // "LIST" must always hold exactly what the list shows.
    void expectListMatches() const
    {
        const ValueCell& list = engine.slots[VariableSlots::kList];
        EXPECT_EQ(list.isMatrix(), model.count() > 0);
        EXPECT_EQ(list.rows, model.count());
        EXPECT_EQ(list.data, model.values());
    }
};

TEST(StatisticData, LoadsWhatTheReadingRulesAllow)
{
    using Status = Model::LoadStatus;
    // Once cut at 8,191 characters ("123" fitted): a line is read whole now.
    const std::string longLine = "2\r\n" + std::string(8188, ' ') + "12345 7 \r\n";
    const struct {
        std::string text;
        Status status;
        std::vector<double> values;  // NotLoaded keeps the earlier set {9}
    } cases[] = {
        {"3\r\n1 2 3 \r\n", Status::Loaded, {1, 2, 3}},
        {"5\r\n1.5 -2 3 \r\n", Status::Loaded, {1.5, -2, 3, 0, 0}},
        {"3\r\n1 2 3 4 5 \r\n", Status::Error, {1, 2, 3, 4, 5}},
        {"513\r\n1 \r\n", Status::Error, {1}},
        {"0\r\n1 \r\n", Status::Error, {1}},
        {"-1\r\n1 \r\n", Status::Error, {1}},
        {"99999999999999999999\r\n1 \r\n", Status::Error, {1}},
        {"2\r\n1 2 \r\n3 4 \r\n", Status::Error, {1, 2}},
        {"x\r\n", Status::Error, {}},
        {"", Status::NotLoaded, {9}},
        {" \r\n", Status::NotLoaded, {9}},
        {"3\r\n", Status::Loaded, {0, 0, 0}},
        {"3", Status::Loaded, {0, 0, 0}},
        {" +2.9xyz\r\n7   8\tq\r\n", Status::Loaded, {7, 8}},
        {"2\r\n\r\n", Status::Loaded, {0, 0}},
        {"2\nabc 4", Status::Loaded, {0, 4}},
        {"2\r\n1e999 .5e1 \r\n", Status::Loaded, {HUGE_VAL, 5}},
        {longLine, Status::Loaded, {12345, 7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        Fixture f;
        f.model.newDataSet(1);
        f.model.setValue(0, u"9");
        EXPECT_EQ(f.loadText(c.text), c.status);
        EXPECT_EQ(f.model.values(), c.values);
        f.expectListMatches();
    }
    Fixture missing;
    EXPECT_EQ(missing.model.load(missing.file()), Model::LoadStatus::NotLoaded);
}

TEST(StatisticData, SavesTheFileFormatAndReadsItBack)
{
    Fixture f;
    ASSERT_TRUE(f.model.save(f.file()));
    std::string bytes = "x";
    ASSERT_TRUE(readWholeFile(f.file(), bytes));
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(f.model.load(f.file()), Model::LoadStatus::NotLoaded);

    const std::vector<double> values = {4, 2.5, -0.125, 1e6, -3, 0, 123456.78901234};
    f.model.newDataSet(static_cast<int>(values.size()));
    for (int row = 0; row < f.model.count(); ++row)
        f.model.setValue(row, f.model.formatValue(values[static_cast<std::size_t>(row)]));
    ASSERT_TRUE(f.model.save(f.file()));
    ASSERT_TRUE(readWholeFile(f.file(), bytes));
    EXPECT_EQ(bytes.substr(0, 32), "7\r\n4 2.5 -0.125 1000000 -3 0 123");
    EXPECT_EQ(bytes.substr(bytes.size() - 3), " \r\n");

    Fixture reloaded;
    EXPECT_EQ(reloaded.model.load(f.file()), Model::LoadStatus::Loaded);
    EXPECT_EQ(reloaded.model.values(), values);
}

TEST(StatisticData, EditsRowsAndKeepsListInStep)
{
    Fixture f;
    EXPECT_EQ(f.model.labelText(), u"N : 0");
    f.loadText("2\r\n4 5 \r\n");
    EXPECT_FALSE(f.model.insertRow(2));
    EXPECT_FALSE(f.model.insertRow(-1));
    EXPECT_TRUE(f.model.insertRow(0));
    EXPECT_EQ(f.model.values(), (std::vector<double>{0, 4, 5}));
    EXPECT_EQ(f.model.indexText(2), u"2");
    EXPECT_EQ(f.model.labelText(), u"N : 3");
    f.expectListMatches();

    EXPECT_TRUE(f.model.deleteRow(1));
    EXPECT_FALSE(f.model.deleteRow(2));
    EXPECT_TRUE(f.model.setValue(1, u"  -2.25e1 "));
    EXPECT_FALSE(f.model.setValue(2, u"7"));
    EXPECT_EQ(f.model.values(), (std::vector<double>{0, -22.5}));
    EXPECT_EQ(f.model.valueText(1), u"-22.5");
    f.expectListMatches();

    EXPECT_FALSE(f.model.newDataSet(2));  // the current size changes nothing
    EXPECT_FALSE(f.model.newDataSet(0));
    EXPECT_TRUE(f.model.newDataSet(3));
    EXPECT_EQ(f.model.values(), (std::vector<double>(3, 0.0)));
    f.model.clearAll();
    EXPECT_EQ(f.model.labelText(), u"N : 0");
    f.expectListMatches();
}

TEST(StatisticData, RefusesToGrowPastWhatALoadCanReadBack)
{
    Fixture f;
    ASSERT_TRUE(f.model.newDataSet(Model::kMaxCount));
    f.model.setValue(511, u"8");
    EXPECT_FALSE(f.model.insertRow(0));
    ASSERT_TRUE(f.model.save(f.file()));
    Fixture reloaded;
    EXPECT_EQ(reloaded.model.load(f.file()), Model::LoadStatus::Loaded);
    EXPECT_EQ(reloaded.model.values(), f.model.values());
}

TEST(StatisticData, FormatsValuesAndCorrectsTypedText)
{
    const std::pair<double, std::u16string> shown[] = {
        {3, u"3"},    {100, u"100"},  {-7, u"-7"}, {2.5, u"2.5"}, {1.0 / 3, u"0.33333333"},
        {1e-9, u"0"}, {-3e-10, u"0"}, {-0.0, u"0"}};
    for (const auto& [value, text] : shown)
        EXPECT_EQ(Model::formatValue(value), text) << value;

    const std::pair<std::u16string, std::u16string> sizes[] = {
        {u"600", u"512"}, {u"-5", u"0"},  {u"512", u"512"},           {u"-", u"-"},
        {u"12a", u"12a"}, {u"-0", u"-0"}, {u"99999999999999", u"512"}};
    for (const auto& [typed, corrected] : sizes)
        EXPECT_EQ(Model::correctSizeText(typed), corrected);
    EXPECT_EQ(Model::sizeFromText(u" 7"), 7);

    EXPECT_EQ(Model::editedValue(u"abc"), 0.0);
    EXPECT_EQ(Model::editedValue(u"\t1e3x"), 1000.0);
    // The editor keeps 128 characters: the 129th digit is dropped.
    EXPECT_DOUBLE_EQ(Model::editedValue(u"1" + std::u16string(127, u'0') + u"5"), 1e127);
}

TEST(StatisticData, RefusesANumberNoFileCouldHold)
{
    Fixture f;
    ASSERT_TRUE(f.model.newDataSet(2));
    ASSERT_TRUE(f.model.setValue(0, u"5"));
    // Saved as "inf" it read back as 0.
    EXPECT_FALSE(f.model.setValue(0, u"1e999"));
    EXPECT_FALSE(f.model.setValue(1, u"-1e999"));
    EXPECT_EQ(f.model.values(), (std::vector<double>{5, 0}));
    ASSERT_TRUE(f.model.setValue(1, u"-1e308"));
    ASSERT_TRUE(f.model.save(f.file()));
    Fixture reloaded;
    EXPECT_EQ(reloaded.model.load(f.file()), Model::LoadStatus::Loaded);
    EXPECT_EQ(reloaded.model.values(), f.model.values());
}

TEST(StatisticData, EngineReadsTheSetAsList)
{
    Fixture f;
    f.loadText("4\r\n1 2 3 6 \r\n");
    EXPECT_DOUBLE_EQ(f.engine.evaluate("avg(X)", 0, 10).re, 3.0);
    f.model.setValue(3, u"10");
    EXPECT_DOUBLE_EQ(f.engine.evaluate("avg(X)", 0, 10).re, 4.0);
    EXPECT_EQ(f.engine.error(), 0);
    f.model.clearAll();
    f.engine.evaluate("avg(X)", 0, 10);
    EXPECT_NE(f.engine.error(), 0);
}

TEST(StatisticData, DamagedFilesNeverBreakTheModel)
{
    std::mt19937 random(20240531);
    const std::string valid = "6\r\n1 -2.5 3e2 4 .5 6 \r\n";
    Fixture f;
    for (int round = 0; round < 1000; ++round) {
        std::string text = valid;
        const int edits = static_cast<int>(random() % 8);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = text.empty() ? 0 : random() % text.size();
            const char byte = static_cast<char>(random() % 256);
            switch (random() % 3) {
            case 0:
                if (!text.empty())
                    text[at] = byte;
                break;
            case 1: text.insert(at, 1 + random() % 40, byte); break;
            default: text.erase(at, random() % 5); break;
            }
        }
        f.model.clearAll();
        // A plain write: the atomic writer's flush to disk would make the loop crawl.
        std::ofstream(f.file(), std::ios::binary) << text;
        f.model.load(f.file());
        ASSERT_LE(f.model.count(), Model::kMaxCount);
        f.expectListMatches();
        if (round % 50 == 0) {
            ASSERT_TRUE(f.model.save(f.file()));
            Fixture again;
            again.model.load(f.file());
            ASSERT_EQ(again.model.count(), f.model.count()) << text;
        }
    }
}

TEST(StatisticData, RandomValuesComeBackExactly)
{
    const struct {
        const char* what;
        DoubleKind kind;
    } cases[] = {
        {"tiny", DoubleKind::Tiny},        {"huge", DoubleKind::Huge},   {"negative", DoubleKind::Negative},
        {"any bits", DoubleKind::AnyBits}, {"mixed", DoubleKind::Mixed},
    };
    std::mt19937_64 random(512);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture saved;
        ASSERT_TRUE(saved.model.newDataSet(Model::kMaxCount));
        std::vector<double> values;
        for (int row = 0; row < Model::kMaxCount; ++row) {
            values.push_back(randomDouble(c.kind, random));
            // The editor reads the shortest exact text: the set holds the very double.
            const std::string text = storedNumber::fileText(values.back());
            ASSERT_TRUE(saved.model.setValue(row, std::u16string(text.begin(), text.end())));
        }
        ASSERT_EQ(bitPatterns(saved.model.values()), bitPatterns(values));
        ASSERT_TRUE(saved.model.save(saved.file()));

        Fixture loaded;
        ASSERT_EQ(loaded.model.load(saved.file()), Model::LoadStatus::Loaded);
        EXPECT_EQ(bitPatterns(loaded.model.values()), bitPatterns(values));
        loaded.expectListMatches();
    }
}

TEST(StatisticData, FiveHundredTwelveNegativeDecimalsComeBack)
{
    // 512 values of -123456.5: once a line of 8,711 bytes whose last 30 values came back as 0.
    Fixture saved;
    saved.model.newDataSet(Model::kMaxCount);
    for (int row = 0; row < Model::kMaxCount; ++row)
        saved.model.setValue(row, u"-123456.5");
    ASSERT_TRUE(saved.model.save(saved.file()));
    Fixture loaded;
    ASSERT_EQ(loaded.model.load(saved.file()), Model::LoadStatus::Loaded);
    EXPECT_EQ(loaded.model.values(), std::vector<double>(Model::kMaxCount, -123456.5));
}

TEST(StatisticData, ReproducerWrittenWithEightDecimalsLoadsEveryRow)
{
    // Written by an older version for 512 values of 1234567.89: a line of 8,711 bytes, of which
    // rows 482 to 511 were lost.
    Fixture f;
    ASSERT_EQ(f.model.load(std::filesystem::path(CORVAN_TEST_DATA_DIR) / "repro" / "statistics_512_values.dat"),
              Model::LoadStatus::Loaded);
    EXPECT_EQ(f.model.values(), std::vector<double>(Model::kMaxCount, 1234567.89));
}

}  // namespace
