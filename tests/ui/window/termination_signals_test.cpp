// SIGTERM and SIGHUP (a logout, a closed terminal, `kill`) save what a close saves.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "temp_folder.h"

#include "atomic_file.h"
#include "macro_library.h"
#include "termination_signals.h"

namespace fs = std::filesystem;

namespace {

TEST(TerminationSignals, ASignalBecomesAQtSignalOnTheWindowsThread)
{
    TerminationSignals termination;
    ASSERT_TRUE(termination.active());
    QSignalSpy spy(&termination, &TerminationSignals::received);
    ASSERT_EQ(::raise(SIGHUP), 0);
    ASSERT_EQ(::raise(SIGTERM), 0);
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 2, 5000);
    EXPECT_EQ(spy.at(0).at(0).toInt(), SIGHUP);
    EXPECT_EQ(spy.at(1).at(0).toInt(), SIGTERM);
}

// Whether the process has a handler for the signal, from its "SigCgt" mask in /proc.
bool catches(pid_t pid, int signalNumber)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("SigCgt:", 0) == 0) {
            const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
            return (mask >> (signalNumber - 1)) & 1u;
        }
    }
    return false;
}

// Waits for the child's end; -1 when it did not end in time (it is then killed).
int waitForExit(pid_t pid, std::chrono::seconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -1;
}

std::string utf16(std::u16string_view text)
{
    std::string bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

// The real program, offscreen, with a fresh home, on a folder holding the given extra macro
// file: killed by the signal once it is up (its window, or a message box before it), it must
// leave the files of a close behind.
void checkSignalSavesTheState(int signalNumber, const std::string& extraMacros, bool mergeable)
{
    TempFolder home;
    const fs::path dataHome = home.path() / "data";
    const fs::path folder = dataHome / "corvan";
    fs::create_directories(folder);
    ASSERT_TRUE(writeFileAtomically(folder / "extra.mcr", extraMacros));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::setenv("HOME", home.path().c_str(), 1);
        ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("QT_LOGGING_RULES", "default.warning=false", 1);
        ::execl(CORVAN_GUI_PATH, "corvan", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!catches(child, SIGTERM) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(catches(child, SIGTERM)) << "the program did not come up";
    ASSERT_FALSE(fs::exists(folder / "preferences.dat"));
    ASSERT_EQ(::kill(child, signalNumber), 0);
    EXPECT_EQ(waitForExit(child, std::chrono::seconds(30)), 0);

    for (const char* file : {"preferences.dat", "led.dat", "macro.mcr"})
        EXPECT_TRUE(fs::exists(folder / file)) << file;
    if (!mergeable)
        return;
    EXPECT_FALSE(fs::exists(folder / "extra.mcr"));
    MacroLibrary macros;
    EXPECT_EQ(macros.load(folder / "macro.mcr"), MacroLoadStatus::Read);
    ASSERT_EQ(macros.count(), 1u);
    EXPECT_EQ(macros.at(0).name, u"Mk");
}

const std::string kExtraMacros = utf16(
    u"Mk\x06"
    u"0\x06\x06"
    u"7\x06"
    u"7\x06"
    u"1\x06");

TEST(TerminationSignals, SigtermToTheRunningProgramSavesItsState)
{
    checkSignalSavesTheState(SIGTERM, kExtraMacros, true);
}

TEST(TerminationSignals, SighupToTheRunningProgramSavesItsState)
{
    checkSignalSavesTheState(SIGHUP, kExtraMacros, true);
}

TEST(TerminationSignals, SigtermWhileTheStartUpMacroErrorIsShownSavesTheState)
{
    // An odd byte count makes the macros unreadable at the end: "Macro data error!" comes up
    // before the window.
    checkSignalSavesTheState(SIGTERM, kExtraMacros + "x", false);
}

}  // namespace
