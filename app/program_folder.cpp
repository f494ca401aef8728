#include "program_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "atomic_file.h"

namespace fs = std::filesystem;

ProgramFolder::ProgramFolder(fs::path folder, fs::path shippedFolder)
    : folder_(std::move(folder)), shipped_(std::move(shippedFolder))
{
}

namespace {

fs::path userDataFolder()
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/')
        return fs::path(xdg) / "corvan";
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        return fs::path(home) / ".local" / "share" / "corvan";
    return fs::current_path() / ".corvan";
}

// The shipped files: an explicit CORVAN_DATA_DIR, else the install's share folder, else the
// data folder of the source tree this build came from.
fs::path shippedDataFolder()
{
    if (const char* dir = std::getenv("CORVAN_DATA_DIR"); dir != nullptr && dir[0] != '\0')
        return dir;
    std::error_code error;
    const fs::path installed = fs::path(CORVAN_INSTALL_DATA_DIR);
    if (fs::is_directory(installed, error))
        return installed;
    return fs::path(CORVAN_SOURCE_DATA_DIR);
}

void copyMissing(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
        const fs::path target = to / entry.path().filename();
        if (entry.is_directory(error)) {
            fs::create_directories(target, error);
            copyMissing(entry.path(), target);
        } else if (!fs::exists(target, error)) {
            // Through the atomic writer: a start killed while copying leaves no half file that
            // would count as the user's own and never be replaced.
            std::string bytes;
            if (readWholeFile(entry.path(), bytes))
                writeFileAtomically(target, bytes);
        }
    }
}

}  // namespace

ProgramFolder ProgramFolder::fromEnvironment()
{
    return ProgramFolder(userDataFolder(), shippedDataFolder());
}

bool ProgramFolder::prepare() const
{
    std::error_code error;
    fs::create_directories(folder_, error);
    if (!fs::is_directory(folder_, error))
        return false;
    copyMissing(shipped_, folder_);
    return true;
}

std::string ProgramFolder::writeProblem() const
{
    std::error_code error;
    fs::create_directories(folder_, error);
    if (error)
        return error.message();
    if (!fs::is_directory(folder_, error))
        return std::make_error_code(std::errc::not_a_directory).message();
    const fs::path probe = folder_ / ".corvan-write-test";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return std::strerror(errno);
    const bool written = ::write(fd, "x", 1) == 1;
    const int writeError = errno;
    ::close(fd);
    ::unlink(probe.c_str());
    return written ? std::string() : std::strerror(writeError);
}

std::string ProgramFolder::writeProblemMessage(const fs::path& folder, const std::string& cause)
{
    return "Corvan cannot save its files in " + folder.string() + " (" + cause +
           "). It goes on with what it could read; preferences, macros and results of this session "
           "will not be kept.";
}
