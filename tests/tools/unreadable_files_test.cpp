// Every data file of the program folder in the forms its loader once rejected before an empty
// file was saved over it: after the program's own start, category switch and close, the
// original bytes are still in the folder, in place or moved aside, and the user was told.
#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "archive_stream.h"
#include "atomic_file.h"
#include "biorhythm.h"
#include "calculator.h"
#include "data_tools.h"
#include "file_content.h"
#include "temp_folder.h"
#include "utf16.h"

namespace fs = std::filesystem;

namespace {

enum class Outcome {
    ReadBack,     // read in full: after the close the file holds `after`, nothing was moved
    MovedAside,   // moved to "name.unreadable-DATE" with its bytes, and the user was told
    KeptInPlace,  // left as it is, and the user was told
};

struct FolderFile {
    std::string name;
    std::string bytes;
    std::uintmax_t sparseSize = 0;  // when set, a file of this many zero bytes that uses no disk
};

struct FileCase {
    const char* what;
    std::vector<FolderFile> files;  // the first is the one the case is about
    Outcome outcome;
    std::string after{};                 // ReadBack: the first file's bytes after the close
    std::vector<std::string> removed{};  // files the close takes away
};

FolderFile sparse(std::string name, std::uintmax_t size)
{
    return {std::move(name), "", size};
}

std::string repro(const fs::path& name)
{
    return contentOf(fs::path(CORVAN_TEST_DATA_DIR) / "repro" / name);
}

std::string utf16(std::u16string_view text, bool bigEndian = false)
{
    std::string bytes;
    for (char16_t c : text) {
        const char low = static_cast<char>(c & 0xFF);
        const char high = static_cast<char>(c >> 8);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

std::u16string macroLine(std::u16string_view name, std::u16string_view body)
{
    std::u16string line;
    for (std::u16string_view field :
         {name, std::u16string_view(u"0"), std::u16string_view(), body, body, std::u16string_view(u"1")})
        line += std::u16string(field) + u'\x06';
    return line;
}

std::string history(std::u16string_view magic, std::uint32_t count, int entries)
{
    ArchiveWriter writer;
    writer.writeString(magic);
    writer.writeU32(count);
    for (int i = 0; i < entries; ++i) {
        for (std::u16string_view text : {u"1+2", u"111", u"3", u"3"})
            writer.writeString(text);
    }
    return writer.take();
}

std::string persons(std::int32_t count)
{
    ArchiveWriter writer;
    writer.writeI32(count);
    writer.writeI32(1);
    for (std::u16string_view name : {u"Ann", u"Bob"}) {
        writer.writeString(name);
        writer.writeString(u"03/15/1975");
    }
    return writer.take();
}

// Starts the program on folder as the window does, opens the window or category that reads
// file, leaves it and closes; returns everything the user was told.
std::string openAndClose(const std::string& file, const fs::path& folder)
{
    if (file == kBioPersonsFileName) {
        Biorhythm biorhythm(folder, StoredDate{1970, 1, 1}, [] { return CalendarFields{2024, 3, 7, 12, 0, 0}; });
        biorhythm.save();
        return biorhythm.personsMessage();
    }
    Calculator calculator(folder);
    DataTools tools(calculator.engine(), folder);
    calculator.setTools(&tools);
    calculator.start();
    std::u16string told = calculator.startMessage();
    const int category = file == "matrix.dat"                ? DataTools::kMatricesCategory
                         : file == StatisticsData::kFileName ? DataTools::kStatisticsCategory
                                                             : -1;
    if (category >= 0) {
        calculator.switchCategory(category);
        told += tools.takeMessage();
        calculator.switchCategory(0);
    }
    calculator.close();
    return toUtf8(told);
}

std::vector<fs::path> movedAside(const fs::path& folder, const std::string& name)
{
    std::vector<fs::path> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with(name + ".unreadable-"))
            found.push_back(entry.path());
    }
    return found;
}

TEST(UnreadableFiles, AreNeverWrittenOverAndTheUserIsTold)
{
    const std::string matrixBom = repro("matrix-bom.dat");
    const std::string matrices = matrixBom.substr(3);
    std::string longRow;
    for (int col = 0; col < 8; ++col)
        longRow += "1e+300 ";
    const std::string longRows = "2\r\n2 2 8\r\n" + longRow + "\r\n" + longRow + "\r\n3 1 1\r\n7 \r\n";
    const std::string values = "3\r\n1 2.5 -3 \r\n";
    std::string values512 = "512\r\n";
    for (int row = 0; row < 512; ++row)
        values512 += "1234567.89 ";
    values512 += "\r\n";
    const std::string macroFull = repro("macro-26-names/macro.mcr");
    const std::string macroShared = repro("macro-26-names/shared.mcr");
    const std::string longMacro = contentOf(fs::path(CORVAN_TEST_DATA_DIR) / "macro_long_line" / "macro.mcr");
    const std::u16string twoMacros = macroLine(u"Ma", u"1") + u"\r\n" + macroLine(u"Mb", u"x*2");
    const std::u16string merged = twoMacros + u"\r\n" + macroLine(u"Mc", u"3");
    const std::u16string hugeMacro = macroLine(u"Ma", std::u16string(1'200'000, u'7'));
    const std::string goodHistory = history(u"CorvanHistory1", 2, 2);
    // What the program writes for it, whichever version of the format that is.
    CalculationHistory readHistory;
    readHistory.deserialize(goodHistory);
    const std::string historyWritten = readHistory.serialize();

    const std::string matrixFile = "matrix.dat";
    const std::string valuesFile = "statistics.dat";
    const std::string historyFile = "history.dat";
    const std::string personsFile(kBioPersonsFileName);
    const FileCase cases[] = {
        {"matrices behind a UTF-8 mark (reproducer)", {{matrixFile, matrixBom}}, Outcome::ReadBack, matrices},
        {"matrices in UTF-16LE", {{matrixFile, "\xFF\xFE" + utf16(fromUtf8(matrices))}}, Outcome::ReadBack, matrices},
        {"long rows (reproducer)", {{matrixFile, repro("matrix_long_row.dat")}}, Outcome::ReadBack, longRows},
        {"matrix count 31", {{matrixFile, "31" + matrices.substr(1)}}, Outcome::MovedAside},
        {"matrix count INT_MAX", {{matrixFile, "2147483647" + matrices.substr(1)}}, Outcome::MovedAside},
        {"matrix count INT_MIN (reproducer)", {{matrixFile, repro("matrix_int_min.dat")}}, Outcome::MovedAside},
        {"matrix file over 4 MB", {sparse(matrixFile, 5u << 20)}, Outcome::MovedAside},

        {"values behind a UTF-8 mark", {{valuesFile, "\xEF\xBB\xBF" + values}}, Outcome::ReadBack, values},
        {"values in UTF-16BE", {{valuesFile, "\xFE\xFF" + utf16(fromUtf8(values), true)}}, Outcome::ReadBack, values},
        {"512 long values (reproducer)",
         {{valuesFile, repro("statistics_512_values.dat")}},
         Outcome::ReadBack,
         values512},
        {"513 values (reproducer)", {{valuesFile, repro("statistics-513.dat")}}, Outcome::MovedAside},
        {"value count INT_MIN", {{valuesFile, "-2147483648\r\n1 2 \r\n"}}, Outcome::MovedAside},
        {"statistics file over 4 MB", {sparse(valuesFile, 5u << 20)}, Outcome::MovedAside},

        {"macros in UTF-8", {{"macro.mcr", toUtf8(twoMacros)}}, Outcome::ReadBack, utf16(twoMacros)},
        {"macros in UTF-16BE",
         {{"macro.mcr", "\xFE\xFF" + utf16(twoMacros, true)}},
         Outcome::ReadBack,
         utf16(twoMacros)},
        {"a 572-character macro line (reproducer)", {{"macro.mcr", longMacro}}, Outcome::ReadBack, longMacro},
        {"a macro file over 4 MiB", {{"macro.mcr", utf16(hugeMacro)}}, Outcome::ReadBack, utf16(hugeMacro)},
        {"a macro file over 64 MiB", {sparse("macro.mcr", 65u << 20)}, Outcome::MovedAside},
        {"no free name for shared.mcr (reproducer)",
         {{"shared.mcr", macroShared}, {"macro.mcr", macroFull}},
         Outcome::KeptInPlace},
        {"a close killed before the merged file was removed",
         {{"macro.mcr", utf16(merged)}, {"shared.mcr", utf16(macroLine(u"Ma", u"3"))}},
         Outcome::ReadBack,
         utf16(merged),
         {"shared.mcr"}},

        {"history behind a UTF-8 mark",
         {{historyFile, "\xEF\xBB\xBF" + goodHistory}},
         Outcome::ReadBack,
         historyWritten},
        {"history with another header", {{historyFile, history(u"NotAHistory", 2, 2)}}, Outcome::MovedAside},
        {"history cut inside an entry",
         {{historyFile, goodHistory.substr(0, goodHistory.size() - 3)}},
         Outcome::MovedAside},
        {"history over 32 MB", {sparse(historyFile, 33u << 20)}, Outcome::MovedAside},

        {"persons counted INT_MIN", {{personsFile, persons(INT32_MIN)}}, Outcome::MovedAside},
        {"person file over 16 MB", {sparse(personsFile, 17u << 20)}, Outcome::MovedAside},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        for (const FolderFile& file : c.files) {
            ASSERT_TRUE(writeFileAtomically(folder.path() / file.name, file.bytes));
            if (file.sparseSize != 0)
                fs::resize_file(folder.path() / file.name, file.sparseSize);
        }
        const FolderFile& file = c.files.front();
        const fs::path path = folder.path() / file.name;
        const std::string told = openAndClose(file.name, folder.path());

        const std::vector<fs::path> aside = movedAside(folder.path(), file.name);
        switch (c.outcome) {
        case Outcome::ReadBack:
            EXPECT_EQ(told, "");
            EXPECT_TRUE(aside.empty());
            EXPECT_EQ(contentOf(path), c.after);
            break;
        case Outcome::MovedAside:
            EXPECT_EQ(aside.size(), 1u);
            if (aside.size() != 1u)
                break;
            if (file.sparseSize != 0)
                EXPECT_EQ(fs::file_size(aside[0]), file.sparseSize);
            else
                EXPECT_EQ(contentOf(aside[0]), file.bytes);
            EXPECT_NE(told.find(path.string()), std::string::npos) << told;
            EXPECT_NE(told.find(aside[0].filename().string()), std::string::npos) << told;
            break;
        case Outcome::KeptInPlace:
            EXPECT_TRUE(aside.empty());
            EXPECT_EQ(contentOf(path), file.bytes);
            EXPECT_NE(told.find(path.string()), std::string::npos) << told;
            break;
        }
        for (const std::string& name : c.removed)
            EXPECT_FALSE(fs::exists(folder.path() / name)) << name;
    }
}

TEST(UnreadableFiles, AFileThatCannotBeMovedAsideIsNotWrittenOver)
{
    // Every name the move could take is in use: the file stays, and nothing is saved over it.
    TempFolder folder;
    const std::string damaged = "2147483647\r\n2 1 1\r\n5 \r\n";
    ASSERT_TRUE(writeFileAtomically(folder.path() / "matrix.dat", damaged));
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    const std::string taken = "matrix.dat.unreadable-" + std::string(date);
    ASSERT_TRUE(writeFileAtomically(folder.path() / taken, ""));
    for (int n = 2; n <= 100; ++n)
        ASSERT_TRUE(writeFileAtomically(folder.path() / (taken + "-" + std::to_string(n)), ""));

    const std::string told = openAndClose("matrix.dat", folder.path());
    EXPECT_NE(told.find("nor moved aside"), std::string::npos) << told;
    EXPECT_EQ(contentOf(folder.path() / "matrix.dat"), damaged);
}

}  // namespace
