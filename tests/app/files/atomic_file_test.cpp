// The one writer of the program: a save is whole or not at all, whoever else writes into the
// folder, and says why when it fails.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>

#include "atomic_file.h"
#include "file_content.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

// Names in the folder other than those given: temporaries a save left behind.
std::vector<std::string> otherEntries(const fs::path& folder, std::initializer_list<const char*> expected)
{
    std::vector<std::string> others;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (std::find(expected.begin(), expected.end(), name) == expected.end())
            others.push_back(name);
    }
    return others;
}

mode_t permissionsOf(const fs::path& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 0777;
}

TEST(AtomicFile, NeverFollowsALinkPlantedAtTheOldTemporaryName)
{
    TempFolder folder;
    const fs::path victim = folder.path() / "victim.txt";
    ASSERT_TRUE(writeFileAtomically(victim, "victim's own text"));
    const fs::path file = folder.path() / "preferences.dat";
    fs::create_symlink(victim, folder.path() / "preferences.dat.tmp");
    fs::create_symlink(victim, folder.path() / ".preferences.dat.tmp");

    ASSERT_TRUE(writeFileAtomically(file, "preferences"));
    EXPECT_EQ(contentOf(victim), "victim's own text");
    EXPECT_EQ(contentOf(file), "preferences");
    EXPECT_FALSE(fs::is_symlink(file));
}

TEST(AtomicFile, WritesThroughALinkAtTheFileItself)
{
    TempFolder folder;
    const fs::path kept = folder.path() / "kept.txt";
    ASSERT_TRUE(writeFileAtomically(kept, "old"));
    const fs::path file = folder.path() / "currency.dat";
    fs::create_symlink("kept.txt", file);
    ASSERT_TRUE(writeFileAtomically(file, "state"));
    EXPECT_EQ(contentOf(kept), "state");
    EXPECT_TRUE(fs::is_symlink(file));
}

TEST(AtomicFile, KeepsThePermissionsOfTheFileItReplaces)
{
    TempFolder folder;
    const fs::path persons = folder.path() / "biorythm-users.dat";
    ASSERT_TRUE(writeFileAtomically(persons, "first"));
    ASSERT_EQ(::chmod(persons.c_str(), 0600), 0);
    ASSERT_TRUE(writeFileAtomically(persons, "second"));
    EXPECT_EQ(permissionsOf(persons), 0600u);
    ASSERT_EQ(::chmod(persons.c_str(), 0640), 0);
    ASSERT_TRUE(writeFileAtomically(persons, "third"));
    EXPECT_EQ(permissionsOf(persons), 0640u);

    // A new file: 0644 less the umask.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(writeFileAtomically(folder.path() / "new.dat", "x"));
    ::umask(mask);
    EXPECT_EQ(permissionsOf(folder.path() / "new.dat"), 0644u);
}

TEST(AtomicFile, TwoWritersOfOneFileBothSucceed)
{
    TempFolder folder;
    const fs::path file = folder.path() / "macro.mcr";
    const std::string a(200000, 'a');
    const std::string b(300000, 'b');
    bool okA = true;
    bool okB = true;
    std::thread first([&] {
        for (int i = 0; i < 30; ++i)
            okA = writeFileAtomically(file, a) && okA;
    });
    std::thread second([&] {
        for (int i = 0; i < 30; ++i)
            okB = writeFileAtomically(file, b) && okB;
    });
    first.join();
    second.join();
    // With one shared temporary name the slower save failed and its state was lost.
    EXPECT_TRUE(okA);
    EXPECT_TRUE(okB);
    const std::string last = contentOf(file);
    EXPECT_TRUE(last == a || last == b);
    EXPECT_TRUE(otherEntries(folder.path(), {"macro.mcr"}).empty());
}

// A save killed at any moment by SIGKILL leaves the old file or the new one, never a part.
TEST(AtomicFile, ASaveKilledAtRandomMomentsLeavesTheOldOrTheNewFile)
{
    TempFolder folder;
    const fs::path file = folder.path() / "led.dat";
    // Large enough that a kill often lands inside a write.
    const std::string oldText(1 << 20, 'o');
    const std::string newText((1 << 20) + 4096, 'n');
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delay(0, 20000);
    int killedWhileWriting = 0;
    for (int round = 0; round < 40; ++round) {
        ASSERT_TRUE(writeFileAtomically(file, round % 2 == 0 ? oldText : newText));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                writeFileAtomically(file, newText);
                writeFileAtomically(file, oldText);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        const std::string after = contentOf(file);
        ASSERT_TRUE(after == oldText || after == newText) << "round " << round << ": " << after.size() << " bytes";
        // A killed save may leave its hidden temporary; the file itself is never touched.
        for (const std::string& name : otherEntries(folder.path(), {"led.dat"})) {
            EXPECT_EQ(name.rfind(".led.dat.", 0), 0u) << name;
            ++killedWhileWriting;
            fs::remove(folder.path() / name);
        }
    }
    // Some kill landed inside a save, or the test proved nothing.
    EXPECT_GT(killedWhileWriting, 0);
}

TEST(AtomicFile, AFailedSaveIsToldToTheWatchWithItsFileAndCause)
{
    TempFolder folder;
    const fs::path notFolder = folder.path() / "plain-file";
    ASSERT_TRUE(writeFileAtomically(notFolder, "x"));
    {
        WriteFailureWatch watch;
        EXPECT_TRUE(writeFileAtomically(folder.path() / "fine.dat", "ok"));
        EXPECT_FALSE(watch.first());
        EXPECT_FALSE(writeFileAtomically(notFolder / "preferences.dat", "x"));
        EXPECT_FALSE(writeFileAtomically(notFolder / "led.dat", "x"));
        ASSERT_TRUE(watch.first());
        EXPECT_EQ(watch.count(), 2);
        EXPECT_EQ(watch.first()->file, notFolder / "preferences.dat");
        EXPECT_EQ(watch.first()->error, ENOTDIR);
        EXPECT_EQ(watch.first()->message(),
                  "Cannot save " + (notFolder / "preferences.dat").string() + ": " + std::strerror(ENOTDIR));
        {
            // Watches nest: the inner one takes the failures while it lives.
            WriteFailureWatch inner;
            EXPECT_FALSE(writeFileAtomically(notFolder / "macro.mcr", "x"));
            EXPECT_EQ(inner.count(), 1);
        }
        EXPECT_EQ(watch.count(), 2);
    }
    // Without a watch a failure is only the return value.
    EXPECT_FALSE(writeFileAtomically(notFolder / "x.dat", "x"));
}

TEST(AtomicFile, AFullDiskKeepsTheOldFileAndSaysSo)
{
    TempFolder folder;
    const fs::path file = folder.path() / "matrix.dat";
    ASSERT_TRUE(writeFileAtomically(file, "old matrices"));
    // A child whose files may not grow beyond 1000 bytes stands in for a full disk.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        WriteFailureWatch watch;
        const bool written = writeFileAtomically(file, std::string(5000, 'n'));
        const bool told = watch.first() && watch.first()->file == file && watch.first()->error == EFBIG;
        ::_exit(!written && told ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(contentOf(file), "old matrices");
    EXPECT_TRUE(otherEntries(folder.path(), {"matrix.dat"}).empty());
}

}  // namespace
