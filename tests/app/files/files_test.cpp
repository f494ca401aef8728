#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "atomic_file.h"
#include "file_content.h"
#include "program_folder.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

TEST(AtomicFile, ReplacesContentAndLeavesNoTemporary)
{
    TempFolder folder;
    const fs::path file = folder.path() / "led.dat";
    ASSERT_TRUE(writeFileAtomically(file, std::string("first\0bytes", 11)));
    ASSERT_TRUE(writeFileAtomically(file, "second"));
    EXPECT_EQ(contentOf(file), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(AtomicFile, FailureKeepsTheOldFile)
{
    TempFolder folder;
    const fs::path file = folder.path() / "a.dat";
    ASSERT_TRUE(writeFileAtomically(file, "kept"));
    // A folder in the way of the file makes the write fail; the file inside it stays.
    fs::create_directories(folder.path() / "b.dat" / "inside");
    EXPECT_FALSE(writeFileAtomically(folder.path() / "b.dat", "lost"));
    EXPECT_TRUE(fs::is_directory(folder.path() / "b.dat" / "inside"));
    EXPECT_EQ(contentOf(file), "kept");
    EXPECT_FALSE(writeFileAtomically(folder.path() / "missing" / "x.dat", "x"));
}

TEST(AtomicFile, RefusesMissingAndOversizedFiles)
{
    TempFolder folder;
    std::string bytes = "unchanged";
    EXPECT_FALSE(readWholeFile(folder.path() / "none", bytes));
    ASSERT_TRUE(writeFileAtomically(folder.path() / "big", std::string(100, 'x')));
    EXPECT_FALSE(readWholeFile(folder.path() / "big", bytes, 99));
    EXPECT_TRUE(readWholeFile(folder.path() / "big", bytes, 100));
    EXPECT_FALSE(readWholeFile(folder.path(), bytes));
}

TEST(ProgramFolder, SeedsMissingShippedFilesWithoutOverwriting)
{
    TempFolder shipped;
    TempFolder home;
    fs::create_directories(shipped.path() / "Interfaces");
    ASSERT_TRUE(writeFileAtomically(shipped.path() / "units.dat", "shipped units"));
    ASSERT_TRUE(writeFileAtomically(shipped.path() / "const.dat", "shipped constants"));
    ASSERT_TRUE(writeFileAtomically(shipped.path() / "Interfaces" / "Default.inf", "skin"));
    const fs::path user = home.path() / "corvan";
    fs::create_directories(user);
    ASSERT_TRUE(writeFileAtomically(user / "units.dat", "user units"));

    const ProgramFolder folder(user, shipped.path());
    ASSERT_TRUE(folder.prepare());
    EXPECT_EQ(contentOf(user / "units.dat"), "user units");
    EXPECT_EQ(contentOf(user / "const.dat"), "shipped constants");
    EXPECT_EQ(contentOf(user / "Interfaces" / "Default.inf"), "skin");
    EXPECT_EQ(folder.file("macro.mcr"), user / "macro.mcr");
}

TEST(ProgramFolder, SaysWhyItCannotBeWritten)
{
    TempFolder home;
    EXPECT_EQ(ProgramFolder(home.path(), home.path()).writeProblem(), "");
    EXPECT_TRUE(fs::is_empty(home.path()));  // the probe file is gone again
    // A regular file where the folder should be.
    ASSERT_TRUE(writeFileAtomically(home.path() / "file", "x"));
    const std::string cause = ProgramFolder(home.path() / "file" / "corvan", home.path()).writeProblem();
    EXPECT_EQ(cause, std::make_error_code(std::errc::not_a_directory).message());
    // A folder without write permission (the superuser may write anywhere).
    if (geteuid() != 0) {
        fs::create_directories(home.path() / "locked");
        fs::permissions(home.path() / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(ProgramFolder(home.path() / "locked", home.path()).writeProblem(), "Permission denied");
        fs::permissions(home.path() / "locked", fs::perms::owner_all);
    }
    const std::string message = ProgramFolder::writeProblemMessage("/home/u/.local/share/corvan", "Permission denied");
    EXPECT_NE(message.find("/home/u/.local/share/corvan"), std::string::npos);
    EXPECT_NE(message.find("Permission denied"), std::string::npos);
    EXPECT_EQ(message.find("Default.inf"), std::string::npos);
}

}  // namespace
