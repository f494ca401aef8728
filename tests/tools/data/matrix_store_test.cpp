#include "matrix_store.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine.h"
#include "stored_number.h"
#include "random_doubles.h"
#include "temp_folder.h"

namespace {

struct Expected {
    int slot;
    int rows;
    int cols;
    std::vector<double> values;  // row-major
};

void writeBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<double> valuesOf(const MatrixSlot& m)
{
    std::vector<double> values;
    for (int r = 0; r < m.rows(); ++r)
        for (int c = 0; c < m.columns(); ++c)
            values.push_back(m.get(r, c));
    return values;
}

std::string filledMatrixFile(int slot, int rows, int cols)
{
    std::string text =
        "1\r\n" + std::to_string(slot) + " " + std::to_string(rows) + " " + std::to_string(cols) + "\r\n";
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c)
            text += std::to_string(r * cols + c) + " ";
        text += "\r\n";
    }
    return text;
}

using Status = MatrixStore::LoadStatus;

struct LoadCase {
    const char* what;
    std::string file;
    Status status;
    std::vector<Expected> entries;
};

TEST(MatrixStoreLoad, FollowsTheReadingRules)
{
    // A row is one line however long: this one of 2050 characters no longer spills into the
    // next row.
    const std::string overLong = "1\r\n2 2 1\r\n1" + std::string(2046, ' ') + "9 \r\n";
    const LoadCase cases[] = {
        {"count 0", "0\r\n2 1 1\r\n5 \r\n", Status::DataError, {{2, 1, 1, {5}}}},
        {"the empty list as written", "0\r\n", Status::Loaded, {}},
        {"empty file", "", Status::Loaded, {}},
        {"count 31", "31\r\n2 1 1\r\n5 \r\n", Status::DataError, {{2, 1, 1, {5}}}},
        {"count 27, more than older files held", "27\r\n2 1 1\r\n5 \r\n", Status::DataError, {{2, 1, 1, {5}}}},
        {"count INT_MIN", "-2147483648\r\n2 1 1\r\n5 \r\n", Status::DataError, {{2, 1, 1, {5}}}},
        {"negative count", "-1\r\n2 1 1\r\n5 \r\n", Status::DataError, {{2, 1, 1, {5}}}},
        {"count beyond the int range", "4294967297\r\n2 1 1\r\n5 \r\n", Status::DataError, {{2, 1, 1, {5}}}},
        {"count 1 before two matrices",
         "1\r\n2 1 1\r\n5 \r\n3 1 1\r\n6 \r\n",
         Status::DataError,
         {{2, 1, 1, {5}}, {3, 1, 1, {6}}}},
        {"text count", "x\r\n", Status::DataError, {}},
        {"slot 29 of 30 x 30", filledMatrixFile(29, 30, 30), Status::Loaded, {}},
        {"bad headers skipped alone",
         "5\r\n30 1 1\r\n-1 1 1\r\n2 0 1\r\n2 31 1\r\n3 1 2\r\n7 8 \r\n",
         Status::DataError,
         {{3, 1, 2, {7, 8}}}},
        {"extra pieces ignored", "1\r\n2 1 2\r\n1 2 3 4\r\n", Status::Loaded, {{2, 1, 2, {1, 2}}}},
        {"missing pieces stay 0", "1\r\n2 2 3\r\n1\r\n4 5\r\n", Status::Loaded, {{2, 2, 3, {1, 0, 0, 4, 5, 0}}}},
        {"atof rule", "1\r\n2 1 4\r\nx 2.5e1  -.5 7abc\r\n", Status::Loaded, {{2, 1, 4, {0, 25, -0.5, 7}}}},
        {"file ends before a header", "2\r\n2 1 1\r\n5 \r\n", Status::DataError, {{2, 1, 1, {5}}}},
        {"text where a header belongs", "2\r\n2 1 1\r\n5 \r\nabc\r\n", Status::DataError, {{2, 1, 1, {5}}}},
        {"file ends inside the rows", "1\r\n2 3 1\r\n5 \r\n", Status::Loaded, {{2, 3, 1, {5, 0, 0}}}},
        {"duplicate slot keeps the first and stays in step",
         "3\r\n2 1 1\r\n5 \r\n2 2 1\r\n6 \r\n7 \r\n4 1 1\r\n8 \r\n",
         Status::DataError,
         {{2, 1, 1, {5}}, {4, 1, 1, {8}}}},
        {"line over 2047 characters stays one row", overLong, Status::Loaded, {{2, 2, 1, {1, 0}}}},
        {"NUL ends the line", std::string("1\r\n2 1 2\r\n1\0 2\r\n", 15), Status::Loaded, {{2, 1, 2, {1, 0}}}},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        writeBytes(folder.path() / "matrix.dat", c.file);
        Engine engine;
        MatrixStore store(engine);
        EXPECT_EQ(store.load(folder.path() / "matrix.dat"), c.status);
        if (std::string(c.what) == "slot 29 of 30 x 30") {
            ASSERT_EQ(store.count(), 1);
            EXPECT_EQ(store.entry(0).name(), "LIST");
            EXPECT_EQ(store.entry(0).get(29, 29), 899);
            continue;
        }
        ASSERT_EQ(store.count(), static_cast<int>(c.entries.size()));
        for (std::size_t i = 0; i < c.entries.size(); ++i) {
            const MatrixSlot& m = store.entry(static_cast<int>(i));
            EXPECT_EQ(m.slot(), c.entries[i].slot);
            EXPECT_EQ(m.rows(), c.entries[i].rows);
            EXPECT_EQ(m.columns(), c.entries[i].cols);
            EXPECT_EQ(valuesOf(m), c.entries[i].values);
        }
        EXPECT_EQ(store.shownIndex(), c.entries.empty() ? -1 : 0);
    }
}

TEST(MatrixStoreLoad, MissingFileLoadsNothingAndReplacesTheList)
{
    TempFolder folder;
    Engine engine;
    MatrixStore store(engine);
    store.newMatrix(2, 2, 2);
    EXPECT_EQ(store.load(folder.path() / "matrix.dat"), Status::NoFile);
    EXPECT_EQ(store.count(), 0);
    EXPECT_FALSE(engine.slots[2].isMatrix());
    EXPECT_EQ(store.sizeLabel(), "");
}

TEST(MatrixStoreSave, WritesTheExactFormat)
{
    Engine engine;
    MatrixStore store(engine);
    EXPECT_EQ(store.fileText(), "0\r\n");
    store.newMatrix(2, 2, 3);
    store.setElement(0, 0, "1");
    store.setElement(0, 1, "2.5");
    store.setElement(1, 0, "-3");
    store.newMatrix(1, 2, 2);
    store.setElement(0, 0, "3.0");
    store.setElement(0, 1, "0.1");
    // Whole numbers as "%.0f", others in the shortest text that reads back exactly.
    EXPECT_EQ(store.fileText(), "2\r\n3 2 2\r\n1 2.5 \r\n-3 0 \r\n2 1 2\r\n3 0.1 \r\n");
}

TEST(MatrixStoreSave, RoundTripsThroughTheFile)
{
    TempFolder folder;
    const auto path = folder.path() / "matrix.dat";
    Engine first;
    MatrixStore saved(first);
    saved.newMatrix(3, 2, 27);
    saved.setElement(2, 1, "-12345.125");
    saved.setElement(0, 0, "0.5");
    saved.newMatrix(30, 30, 5);
    saved.setElement(29, 29, "1e15");
    const auto result = saved.save(path);
    EXPECT_TRUE(result.written);
    EXPECT_EQ(result.omitted, 0);

    Engine second;
    MatrixStore loaded(second);
    ASSERT_EQ(loaded.load(path), Status::Loaded);
    ASSERT_EQ(loaded.count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(loaded.entry(i).slot(), saved.entry(i).slot());
        EXPECT_EQ(valuesOf(loaded.entry(i)), valuesOf(saved.entry(i)));
    }
    EXPECT_EQ(second.slots[27].data, first.slots[27].data);
}

TEST(MatrixStoreSave, EveryUserMatrixAndTheResultAreKept)
{
    Engine engine;
    MatrixStore store(engine);
    for (const auto& free : store.freeNames()) {
        ASSERT_TRUE(store.newMatrix(1, 1, free.slot));
        engine.slots[free.slot].data[0] = free.slot + 0.25;
    }
    engine.slots.storeScalar(VariableSlots::kResult, 4);
    EXPECT_EQ(store.keepResult(), "[VRE]");
    ASSERT_EQ(store.count(), 27);

    TempFolder folder;
    const auto result = store.save(folder.path() / "matrix.dat");
    EXPECT_TRUE(result.written);
    EXPECT_EQ(result.omitted, 0);
    EXPECT_EQ(store.fileText().rfind("27\r\n1 1 1\r\n4 \r\n", 0), 0u);

    Engine other;
    MatrixStore reloaded(other);
    ASSERT_EQ(reloaded.load(folder.path() / "matrix.dat"), Status::Loaded);
    ASSERT_EQ(reloaded.count(), 27);
    for (int i = 0; i < 27; ++i) {
        EXPECT_EQ(reloaded.entry(i).slot(), store.entry(i).slot());
        EXPECT_EQ(valuesOf(reloaded.entry(i)), valuesOf(store.entry(i)));
    }
    EXPECT_EQ(reloaded.entry(26).name(), "VW");
    EXPECT_EQ(other.slots[27].data, std::vector<double>{27.25});
}

TEST(MatrixStoreSave, OnlyAResultTooLargeToLoadIsLeftOut)
{
    Engine engine;
    MatrixStore store(engine);
    store.newMatrix(2, 2, 2);
    const std::vector<double> big(31 * 2, 1.5);
    engine.slots.storeMatrix(VariableSlots::kResult, 31, 2, big.data());
    EXPECT_EQ(store.keepResult(), "[VRE]");
    int omitted = -1;
    EXPECT_EQ(store.fileText(&omitted), "1\r\n2 2 2\r\n0 0 \r\n0 0 \r\n");
    EXPECT_EQ(omitted, 1);
}

TEST(MatrixStoreLoad, DamagedFilesLoadOnlyValidMatrices)
{
    Engine source;
    MatrixStore good(source);
    for (int slot = 2; slot < 8; ++slot) {
        good.newMatrix(slot, 9 - slot, slot);
        good.setElement(0, 0, std::to_string(slot * 1.25));
    }
    const std::string valid = good.fileText();
    const std::string pieces[] = {"99999999999", "-7", " ", "\r\n", std::string(3000, '8'), "\0", "\xff"};

    std::mt19937 random(12345);
    TempFolder folder;
    const auto path = folder.path() / "matrix.dat";
    for (int round = 0; round < 200; ++round) {
        std::string damaged = valid;
        const int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits && !damaged.empty(); ++e) {
            const std::size_t at = random() % damaged.size();
            switch (random() % 4) {
            case 0: damaged[at] = static_cast<char>(random() % 256); break;
            case 1: damaged.insert(at, pieces[random() % std::size(pieces)]); break;
            case 2: damaged.erase(at, random() % 20); break;
            default: damaged.resize(at); break;
            }
        }
        writeBytes(path, damaged);
        Engine engine;
        MatrixStore store(engine);
        store.load(path);
        ASSERT_LE(store.count(), MatrixStore::kMaxFileCount);
        std::set<int> slots;
        for (int i = 0; i < store.count(); ++i) {
            const MatrixSlot& m = store.entry(i);
            ASSERT_GE(m.rows(), 1);
            ASSERT_LE(m.rows(), 30);
            ASSERT_GE(m.columns(), 1);
            ASSERT_LE(m.columns(), 30);
            ASSERT_TRUE(slots.insert(m.slot()).second) << "two entries share slot " << m.slot();
        }
        // Saving what was loaded gives a file that loads back the same; infinities and NaNs,
        // which the format cannot carry, settle after one more round.
        auto reload = [&](const std::string& text) {
            writeBytes(path, text);
            Engine again;
            MatrixStore reloaded(again);
            EXPECT_NE(reloaded.load(path), Status::DataError);
            return reloaded.fileText();
        };
        const std::string settled = reload(store.fileText());
        ASSERT_EQ(reload(settled), settled);
    }
}

TEST(MatrixStoreEdit, FreeNamesFollowTheTableAndRunOut)
{
    Engine engine;
    MatrixStore store(engine);
    auto names = store.freeNames();
    ASSERT_EQ(names.size(), 26u);
    EXPECT_EQ(names.front().name, "VA");
    EXPECT_EQ(names[22].name, "VX");
    EXPECT_EQ(names.back().name, "VW");
    EXPECT_EQ(names.back().slot, 27);
    store.newMatrix(1, 1, 2);
    EXPECT_EQ(store.freeNames().front().name, "VB");
    for (const auto& free : store.freeNames())
        EXPECT_TRUE(store.copyTo(free.slot));
    EXPECT_TRUE(store.freeNames().empty());
    EXPECT_FALSE(store.newMatrix(1, 1, 2));
    EXPECT_FALSE(store.copyTo(3));
}

TEST(MatrixStoreEdit, NewClampsTheSizeAndTakesOnlyFreeUserSlots)
{
    struct Case {
        int rows, cols, slot;
        bool made;
        int wantRows, wantCols;
    };
    const Case cases[] = {
        {0, 31, 2, true, 1, 30}, {-5, 100, 2, true, 1, 30}, {30, 1, 27, true, 30, 1}, {2, 2, 1, false, 0, 0},
        {2, 2, 28, false, 0, 0}, {2, 2, 0, false, 0, 0},    {2, 2, -1, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        Engine engine;
        MatrixStore store(engine);
        EXPECT_EQ(store.newMatrix(c.rows, c.cols, c.slot), c.made);
        EXPECT_EQ(store.count(), c.made ? 1 : 0);
        if (c.made) {
            EXPECT_EQ(engine.slots[c.slot].rows, c.wantRows);
            EXPECT_EQ(engine.slots[c.slot].cols, c.wantCols);
            EXPECT_EQ(store.sizeLabel(), "Size: " + std::to_string(c.wantRows) + "x" + std::to_string(c.wantCols));
        }
    }
}

TEST(MatrixStoreEdit, DeleteShowsTheEntryBefore)
{
    struct Case {
        int count, shown, nextShown;
    };
    const Case cases[] = {{3, 0, 0}, {3, 1, 0}, {3, 2, 1}, {1, 0, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        Engine engine;
        MatrixStore store(engine);
        for (int i = 0; i < c.count; ++i)
            store.newMatrix(1, 1, 2 + i);
        store.show(c.shown);
        store.deleteShown();
        EXPECT_EQ(store.count(), c.count - 1);
        EXPECT_EQ(store.shownIndex(), c.nextShown);
        EXPECT_FALSE(engine.slots[2 + c.shown].isMatrix());
        EXPECT_EQ(store.sizeLabel().empty(), c.nextShown < 0);
    }
    Engine engine;
    MatrixStore store(engine);
    store.newMatrix(2, 2, 2);
    store.newMatrix(2, 2, 3);
    store.deleteAll();
    EXPECT_EQ(store.count(), 0);
    EXPECT_EQ(store.gridRows(), 0);
    EXPECT_FALSE(engine.slots[3].isMatrix());
    EXPECT_EQ(store.insertName(), "");
}

TEST(MatrixStoreEdit, SetElementReadsTheEditedText)
{
    struct Case {
        std::string text;
        double value;
        const char* cell;
    };
    const Case cases[] = {
        {"  2.5\t", 2.5, "2.5"}, {"abc", 0, "0"},
        {"1e2", 100, "100"},     {"-0.125x", -0.125, "-0.125"},
        {"0.1", 0.1, "0.1"},     {"-3e-10", -3e-10, "0"},                              // never a negative zero
        {"-0", -0.0, "0"},       {"1" + std::string(127, '0') + "5", 1e127, nullptr},  // the 129th character is cut
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Engine engine;
        MatrixStore store(engine);
        store.newMatrix(2, 3, 4);
        EXPECT_TRUE(store.setElement(1, 2, c.text));
        EXPECT_EQ(engine.slots[4].at(1, 2), c.value);
        if (c.cell) {
            EXPECT_EQ(store.cellText(1, 2), c.cell);
        }
    }
    Engine engine;
    MatrixStore store(engine);
    EXPECT_FALSE(store.setElement(0, 0, "1"));
    store.newMatrix(2, 3, 4);
    EXPECT_FALSE(store.setElement(2, 0, "1"));
    EXPECT_FALSE(store.setElement(0, 3, "1"));
    EXPECT_FALSE(store.setElement(-1, 0, "1"));
}

TEST(MatrixStoreEdit, RefusesANumberNoFileCouldHold)
{
    TempFolder folder;
    Engine engine;
    MatrixStore store(engine);
    store.newMatrix(1, 2, 4);
    ASSERT_TRUE(store.setElement(0, 0, "7"));
    // Saved as "inf" it read back as 0.
    for (const char* text : {"1e999", "-1e999", " 1e400x"}) {
        EXPECT_FALSE(store.setElement(0, 0, text)) << text;
        EXPECT_EQ(engine.slots[4].at(0, 0), 7.0);
        EXPECT_EQ(store.cellText(0, 0), "7");
    }
    EXPECT_TRUE(store.setElement(0, 1, "1e308"));
    ASSERT_TRUE(store.save(folder.path() / "matrix.dat").written);
    Engine again;
    MatrixStore reloaded(again);
    ASSERT_EQ(reloaded.load(folder.path() / "matrix.dat"), MatrixStore::LoadStatus::Loaded);
    EXPECT_EQ(again.slots[4].at(0, 0), 7.0);
    EXPECT_EQ(again.slots[4].at(0, 1), 1e308);
}

TEST(MatrixStoreEdit, ClearZeroesAndShowsFiveDecimals)
{
    Engine engine;
    MatrixStore store(engine);
    store.newMatrix(2, 2, 2);
    store.setElement(1, 1, "7");
    store.clear();
    EXPECT_EQ(engine.slots[2].data, std::vector<double>(4, 0.0));
    EXPECT_EQ(store.cellText(1, 1), "0.00000");
    EXPECT_EQ(store.cellText(0, 0), "0.00000");
    store.show(0);
    EXPECT_EQ(store.cellText(1, 1), "0");
}

TEST(MatrixStoreEdit, CopyToDuplicatesTheShownMatrix)
{
    Engine engine;
    MatrixStore store(engine);
    store.newMatrix(2, 3, 2);
    store.setElement(1, 2, "6");
    ASSERT_TRUE(store.copyTo(9));
    EXPECT_EQ(store.shownIndex(), 1);
    EXPECT_EQ(store.insertName(), "[VH]");
    store.setElement(1, 2, "8");
    EXPECT_EQ(engine.slots[2].at(1, 2), 6);
    EXPECT_EQ(engine.slots[9].at(1, 2), 8);
}

TEST(MatrixStoreResult, TwoResultsInARowLeaveOneFirst)
{
    Engine engine;
    MatrixStore store(engine);
    engine.slots.storeScalar(VariableSlots::kResult, 3);
    EXPECT_EQ(store.keepResult(), "");
    EXPECT_FALSE(engine.slots[1].isMatrix());

    store.newMatrix(1, 1, 2);
    const double elements[] = {1, 2, 3, 4, 5, 6};
    engine.slots.storeMatrix(VariableSlots::kResult, 2, 3, elements);
    EXPECT_EQ(store.keepResult(), "[VRE]");
    engine.slots.storeScalar(VariableSlots::kResult, -2.5);
    EXPECT_EQ(store.keepResult(), "[VRE]");
    ASSERT_EQ(store.count(), 2);
    EXPECT_EQ(store.entry(0).name(), "VRE");
    EXPECT_EQ(store.entry(1).name(), "VA");
    EXPECT_EQ(store.shownIndex(), 0);
    EXPECT_EQ(store.sizeLabel(), "Size: 1x1");
    EXPECT_EQ(engine.slots[1].data, std::vector<double>{-2.5});

    engine.slots.storeMatrix(VariableSlots::kResult, 2, 3, elements);
    store.keepResult();
    EXPECT_EQ(engine.slots[1].data, std::vector<double>(elements, elements + 6));
    EXPECT_EQ(store.cellText(1, 0), "4");
}

TEST(MatrixStoreResult, ResultLoadedAnywhereIsReplaced)
{
    TempFolder folder;
    writeBytes(folder.path() / "matrix.dat", "2\r\n2 1 1\r\n1 \r\n1 1 1\r\n9 \r\n");
    Engine engine;
    MatrixStore store(engine);
    store.load(folder.path() / "matrix.dat");
    engine.slots.storeScalar(VariableSlots::kResult, 5);
    store.keepResult();
    ASSERT_EQ(store.count(), 2);
    EXPECT_EQ(store.entry(0).name(), "VRE");
    EXPECT_EQ(store.entry(1).name(), "VA");
    EXPECT_EQ(engine.slots[1].data, std::vector<double>{5});
}

TEST(MatrixStoreView, GridTexts)
{
    const std::pair<double, const char*> cells[] = {
        {3, "3"},
        {-2, "-2"},
        {0.5, "0.5"},
        {-2.25, "-2.25"},
        {1.0 / 3, "0.33333333"},
        {1e-9, "0"},
        {2.000000001, "2"},
        {-3e-10, "0"},
        {-0.0, "0"},
        {-4.9e-9, "0"},
        {-1e-8, "-0.00000001"},
        {-2.000000001, "-2"},
    };
    for (const auto& [value, text] : cells)
        EXPECT_EQ(storedNumber::cellText(value), text) << value;
    EXPECT_EQ(MatrixStore::columnHeader(0), "1    ");
    EXPECT_EQ(MatrixStore::columnHeader(11), "12    ");
    EXPECT_EQ(MatrixStore::rowHeader(0), " 1");
    EXPECT_EQ(MatrixStore::rowHeader(29), "30");
}

TEST(MatrixData, HandleOwnsItsSlot)
{
    Engine engine;
    {
        MatrixSlot a(engine);
        EXPECT_FALSE(a.allocate(0, 2, 3));
        EXPECT_FALSE(a.allocate(2, 2, 30));
        ASSERT_TRUE(a.allocate(2, 2, 3));
        a.set(1, 1, 4);
        a.set(2, 0, 9);  // outside: ignored
        EXPECT_EQ(a.get(2, 0), 0);
        MatrixSlot b = std::move(a);
        EXPECT_EQ(a.rows(), 0);
        EXPECT_EQ(b.get(1, 1), 4);
        EXPECT_EQ(b.name(), "VB");

        MatrixSlot c(engine);
        c.allocate(2, 3, 4);
        EXPECT_FALSE(c.copyFrom(b));
        c.allocate(2, 2, 4);
        EXPECT_TRUE(c.copyFrom(b));
        EXPECT_EQ(c.get(1, 1), 4);
    }
    EXPECT_FALSE(engine.slots[3].isMatrix());
    EXPECT_FALSE(engine.slots[4].isMatrix());
}

TEST(MatrixStoreSave, RandomValuesComeBackExactly)
{
    struct Case {
        const char* what;
        int matrices;
        int rows;
        int cols;  // 0: each matrix a random size of 1 to 30 each way
        DoubleKind kind;
    };
    const Case cases[] = {
        {"tiny", 2, 6, 6, DoubleKind::Tiny},          {"huge", 1, 30, 30, DoubleKind::Huge},
        {"negative", 3, 4, 7, DoubleKind::Negative},  {"30 columns", 2, 2, 30, DoubleKind::AnyBits},
        {"26 matrices", 26, 0, 0, DoubleKind::Mixed},
    };
    std::mt19937_64 random(20240611);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Engine first;
        MatrixStore saved(first);
        std::uniform_int_distribution<int> size(1, MatrixSlot::kMaxSize);
        for (int m = 0; m < c.matrices; ++m) {
            const int slot = saved.freeNames().front().slot;
            ASSERT_TRUE(saved.newMatrix(c.rows ? c.rows : size(random), c.cols ? c.cols : size(random), slot));
            for (double& value : first.slots[slot].data)
                value = randomDouble(c.kind, random);
        }
        TempFolder folder;
        ASSERT_TRUE(saved.save(folder.path() / "matrix.dat").written);

        Engine second;
        MatrixStore loaded(second);
        ASSERT_EQ(loaded.load(folder.path() / "matrix.dat"), Status::Loaded);
        ASSERT_EQ(loaded.count(), c.matrices);
        for (int i = 0; i < c.matrices; ++i) {
            const int slot = saved.entry(i).slot();
            ASSERT_EQ(loaded.entry(i).slot(), slot);
            ASSERT_EQ(second.slots[slot].rows, first.slots[slot].rows);
            ASSERT_EQ(second.slots[slot].cols, first.slots[slot].cols);
            EXPECT_EQ(bitPatterns(second.slots[slot].data), bitPatterns(first.slots[slot].data));
        }
    }
}

TEST(MatrixStoreSave, AWideRowOfLargeValuesKeepsTheNextRow)
{
    // 2 x 30 with 1e100 across the first row: once a 3,000-character line, whose rest was read
    // as the second row, so that element (2,1) came back as 1.59e83 instead of 7.
    Engine first;
    MatrixStore saved(first);
    saved.newMatrix(2, 30, 2);
    for (int col = 0; col < 30; ++col)
        first.slots[2].data[static_cast<std::size_t>(col)] = 1e100 + col * 1e85;
    first.slots[2].data[30] = 7;
    TempFolder folder;
    saved.save(folder.path() / "matrix.dat");
    Engine second;
    MatrixStore loaded(second);
    ASSERT_EQ(loaded.load(folder.path() / "matrix.dat"), Status::Loaded);
    EXPECT_EQ(loaded.entry(0).get(1, 0), 7);
    EXPECT_EQ(second.slots[2].data, first.slots[2].data);
}

std::filesystem::path reproducer(const char* name)
{
    return std::filesystem::path(CORVAN_TEST_DATA_DIR) / "repro" / name;
}

TEST(MatrixStoreReproducers, RowsLongerThanTheOldBufferKeepTheNextMatrix)
{
    Engine engine;
    MatrixStore store(engine);
    ASSERT_EQ(store.load(reproducer("matrix_long_row.dat")), Status::Loaded);
    ASSERT_EQ(store.count(), 2);
    EXPECT_EQ(store.entry(0).name(), "VA");
    EXPECT_EQ(valuesOf(store.entry(0)), std::vector<double>(16, 1e300));
    EXPECT_EQ(store.entry(1).name(), "VB");
    EXPECT_EQ(valuesOf(store.entry(1)), std::vector<double>{7});
}

TEST(MatrixStoreReproducers, CountOfIntMinIsReadWithoutOverflow)
{
    // The range check once computed INT_MIN - 1; a sanitizer build failed here.
    Engine engine;
    MatrixStore store(engine);
    EXPECT_EQ(store.load(reproducer("matrix_int_min.dat")), Status::DataError);
    EXPECT_EQ(store.count(), 0);
}

}  // namespace
