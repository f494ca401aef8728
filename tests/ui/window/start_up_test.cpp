// The real program started on a folder that an earlier life left in some state (a lock, a
// planted link, temporaries of killed saves) must come up and harm nothing but its own files.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "file_content.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

// A shell command's output, and its exit status.
std::pair<std::string, int> run(const std::string& command)
{
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n = 0; pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pipe != nullptr ? ::pclose(pipe) : -1;
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// corvan --quit-after-start with a fresh home, offscreen.
std::pair<std::string, int> startAndQuit(const fs::path& home)
{
    return run("HOME='" + home.string() + "' XDG_DATA_HOME='" + (home / "data").string() +
               "' QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES=default.warning=false timeout 60 '" + CORVAN_GUI_PATH +
               "' --quit-after-start 2>&1");
}

TEST(StartUp, TheWindowComesUpAndTouchesOnlyItsOwnFiles)
{
    const auto oldFile = [](const fs::path& file) {
        ASSERT_TRUE(writeFileAtomically(file, "left over"));
        fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
    };
    const struct {
        const char* title;
        std::function<void(const fs::path& home, const fs::path& folder)> before;
        std::function<void(const fs::path& home, const fs::path& folder, const std::string& output)> after;
    } cases[] = {
        {"a link planted at the old write-test name",
         [](const fs::path& home, const fs::path& folder) {
             ASSERT_TRUE(writeFileAtomically(home / "notes.txt", "my notes\n"));
             fs::create_symlink(home / "notes.txt", folder / ".corvan-write-test");
         },
         [](const fs::path& home, const fs::path&, const std::string&) {
             EXPECT_EQ(contentOf(home / "notes.txt"), "my notes\n");
         }},
        {"a lock of another computer (a restored backup, a shared home)",
         [](const fs::path&, const fs::path& folder) {
             ASSERT_TRUE(writeFileAtomically(folder / "corvan.lock", "4242\ncorvan\nfar-away-host\n"));
         },
         [](const fs::path&, const fs::path&, const std::string& output) {
             EXPECT_NE(output.find("in use by Corvan on the computer \"far-away-host\""), std::string::npos) << output;
         }},
        {"temporaries of saves killed before their rename",
         [&](const fs::path&, const fs::path& folder) {
             fs::create_directories(folder / "Interfaces");
             for (const char* name : {".macro.mcr.Ab3dE9", "Interfaces/.Default.inf.zZ09yY", ".notes.txt", "k.Ab3dE9"})
                 oldFile(folder / name);
             ASSERT_TRUE(writeFileAtomically(folder / ".led.dat.Fresh1", "a save running now"));
         },
         [](const fs::path&, const fs::path& folder, const std::string&) {
             EXPECT_FALSE(fs::exists(folder / ".macro.mcr.Ab3dE9"));
             EXPECT_FALSE(fs::exists(folder / "Interfaces/.Default.inf.zZ09yY"));
             for (const char* kept : {".notes.txt", "k.Ab3dE9", ".led.dat.Fresh1"})
                 EXPECT_TRUE(fs::exists(folder / kept)) << kept;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        TempFolder home;
        const fs::path folder = home.path() / "data" / "corvan";
        fs::create_directories(folder);
        c.before(home.path(), folder);
        const auto [output, status] = startAndQuit(home.path());
        EXPECT_EQ(status, 0) << output;
        // The window ran: its close saved the preferences.
        EXPECT_TRUE(fs::exists(folder / "preferences.dat"));
        c.after(home.path(), folder, output);
    }
}

}  // namespace

// Asking what the program is needs no display: no window system is named at all.
TEST(StartUp, HelpAndVersionWithoutADisplay)
{
    for (const char* option : {"--help", "--version"}) {
        const auto [output, status] = run("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                                          std::string(CORVAN_GUI_PATH) + "' " + option + " 2>&1");
        EXPECT_EQ(status, 0) << option << ": " << output;
        EXPECT_NE(output.find(std::string_view(option) == "--help" ? "--size" : "Corvan 0.1"), std::string::npos)
            << output;
    }
}
