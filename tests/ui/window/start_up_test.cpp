// Starting the real program on a program folder that an earlier life left in some state: a
// lock, a planted link, temporaries of killed saves. The window must come up (it writes its
// state at the close that --quit-after-start makes) and harm nothing that is not its own.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "atomic_file.h"
#include "file_content.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

struct ProgramRun {
    std::string output;  // standard output and errors
    int status = -1;
};

// corvan --quit-after-start with a fresh home, offscreen; a hang ends after a minute.
ProgramRun startAndQuit(const fs::path& home)
{
    const std::string command = "HOME='" + home.string() + "' XDG_DATA_HOME='" + (home / "data").string() +
                                "' QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES=default.warning=false timeout 60 '" +
                                CORVAN_GUI_PATH + "' --quit-after-start 2>&1";
    ProgramRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

void makeOld(const fs::path& file)
{
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
}

struct StartCase {
    const char* title;
    std::function<void(const fs::path& home, const fs::path& folder)> before;
    std::function<void(const fs::path& home, const fs::path& folder, const ProgramRun& run)> after;
};

TEST(StartUp, TheWindowComesUpAndTouchesOnlyItsOwnFiles)
{
    const StartCase cases[] = {
        {"a link planted at the old write-test name",
         [](const fs::path& home, const fs::path& folder) {
             ASSERT_TRUE(writeFileAtomically(home / "notes.txt", "my important notes\n"));
             fs::create_symlink(home / "notes.txt", folder / ".corvan-write-test");
         },
         [](const fs::path& home, const fs::path&, const ProgramRun&) {
             EXPECT_EQ(contentOf(home / "notes.txt"), "my important notes\n");
         }},
        {"a lock of another computer (a restored backup, a shared home)",
         [](const fs::path&, const fs::path& folder) {
             ASSERT_TRUE(writeFileAtomically(folder / "corvan.lock", "4242\ncorvan\nfar-away-host\n"));
         },
         [](const fs::path&, const fs::path&, const ProgramRun& run) {
             EXPECT_NE(run.output.find("in use by Corvan on the computer \"far-away-host\""), std::string::npos)
                 << run.output;
         }},
        {"temporaries of saves killed before their rename",
         [](const fs::path&, const fs::path& folder) {
             fs::create_directories(folder / "Interfaces");
             for (const char* name : {".macro.mcr.Ab3dE9", "Interfaces/.Default.inf.zZ09yY", ".led.dat.Fresh1",
                                      ".notes.txt", "keep.Ab3dE9"}) {
                 ASSERT_TRUE(writeFileAtomically(folder / name, "left over"));
                 if (std::string_view(name) != ".led.dat.Fresh1")
                     makeOld(folder / name);
             }
         },
         [](const fs::path&, const fs::path& folder, const ProgramRun&) {
             EXPECT_FALSE(fs::exists(folder / ".macro.mcr.Ab3dE9"));
             EXPECT_FALSE(fs::exists(folder / "Interfaces/.Default.inf.zZ09yY"));
             // A temporary this young may belong to a save running now (corvan-cli).
             EXPECT_TRUE(fs::exists(folder / ".led.dat.Fresh1"));
             EXPECT_TRUE(fs::exists(folder / ".notes.txt"));
             EXPECT_TRUE(fs::exists(folder / "keep.Ab3dE9"));
         }},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.title);
        TempFolder home;
        const fs::path folder = home.path() / "data" / "corvan";
        fs::create_directories(folder);
        c.before(home.path(), folder);
        const ProgramRun run = startAndQuit(home.path());
        EXPECT_EQ(run.status, 0) << run.output;
        // The window ran: its close saved the preferences.
        EXPECT_TRUE(fs::exists(folder / "preferences.dat"));
        c.after(home.path(), folder, run);
    }
}

}  // namespace
