#pragma once

#include <filesystem>
#include <string>

// Where the calculator keeps its files. On Linux the program folder is the user's data folder
// ($XDG_DATA_HOME/corvan, by default ~/.local/share/corvan); the shipped originals (unit tables,
// skins, sounds, the help page) come from the data folder of the source tree or the install.
// Tests pass their own temporary folders.
class ProgramFolder {
public:
    ProgramFolder(std::filesystem::path folder, std::filesystem::path shippedFolder);

    // The user's folder from the environment, with the shipped files found next to the program.
    static ProgramFolder fromEnvironment();

    const std::filesystem::path& path() const { return folder_; }
    const std::filesystem::path& shippedPath() const { return shipped_; }
    std::filesystem::path file(const std::filesystem::path& name) const { return folder_ / name; }

    // Makes the folder and copies in every shipped file or folder that is missing there; files
    // the user already has are never overwritten. Returns false when the folder cannot be made.
    bool prepare() const;
    // Why no file can be written in the folder, in the system's words ("Permission denied",
    // "No space left on device"), found by making and removing a small file there; empty when
    // writing works.
    std::string writeProblem() const;
    // The one message that tells the user so, naming the folder and the cause.
    static std::string writeProblemMessage(const std::filesystem::path& folder, const std::string& cause);

private:
    std::filesystem::path folder_;
    std::filesystem::path shipped_;
};
