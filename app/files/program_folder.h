#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

// Where the calculator keeps its files. On Linux the program folder is the user's data folder
// ($XDG_DATA_HOME/corvan, by default ~/.local/share/corvan); the shipped originals (unit tables,
// skins, sounds, the help page) come from the install's share folder or the source tree.
// Tests pass their own temporary folders.
class ProgramFolder {
public:
    ProgramFolder(std::filesystem::path folder, std::filesystem::path shippedFolder);

    // The user's folder from the environment, with the shipped files found as
    // shippedFolderFor(this program) says.
    static ProgramFolder fromEnvironment();

    // The shipped files for a program at executable: $CORVAN_DATA_DIR when set, else the share
    // folder of the install the program sits in (../share/corvan from the program in bin/), else
    // sourceData (the data folder of the source tree the build came from).
    static std::filesystem::path shippedFolderFor(const std::filesystem::path& executable,
                                                  const std::filesystem::path& sourceData);

    const std::filesystem::path& path() const { return folder_; }
    const std::filesystem::path& shippedPath() const { return shipped_; }
    std::filesystem::path file(const std::filesystem::path& name) const { return folder_ / name; }

    // Makes the folder and seeds it from the shipped files, recording what it seeded in the
    // folder's manifest (seed_manifest.h):
    // - a shipped file missing in the folder is copied;
    // - a copy the user has not changed since it was seeded is replaced when the shipped file
    //   changed; a changed copy is kept, the new shipped file is written beside it as
    //   "name.new", and notices gets one line saying so;
    // - the user's own files (led.dat, preferences.dat, macros, matrix.dat, statistics.dat,
    //   Converter.dat, biorythm-users.dat, history.dat, and a currency.dat with a newer #Date than the
    //   shipped one) are never overwritten;
    // - without a readable manifest (none yet, or damaged) every existing file is kept.
    // Returns false when the folder cannot be made.
    bool prepare(std::vector<std::string>* notices = nullptr) const;
    // Why no file can be written in the folder, in the system's words ("Permission denied",
    // "No space left on device"), found by making and removing a small file there; empty when
    // writing works.
    std::string writeProblem() const;
    // Removes the temporary files that saves killed before their rename left in the folder and
    // its subfolders (only names the atomic writer makes, and only those older than
    // kStaleTemporaryAge, so that a save running now in a command-line run is not hit). Call it
    // only while holding the folder (no other window runs on it). Returns how many went.
    int removeStaleTemporaries() const;
    static constexpr std::chrono::minutes kStaleTemporaryAge{2};

    // The one message that tells the user so, naming the folder and the cause.
    static std::string writeProblemMessage(const std::filesystem::path& folder, const std::string& cause);

private:
    std::filesystem::path folder_;
    std::filesystem::path shipped_;
};
