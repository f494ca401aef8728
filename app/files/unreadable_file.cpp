#include "unreadable_file.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr int kNameAttempts = 100;

std::string today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

// Renames without ever replacing a file that has the new name; errno tells why it failed.
bool renameWithoutReplacing(const fs::path& from, const fs::path& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the no-replace rename: check first, then rename.
    std::error_code error;
    if (fs::symlink_status(to, error).type() != fs::file_type::not_found) {
        errno = EEXIST;
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

DataFileRead readDataFile(const fs::path& path, std::string& bytes, std::uintmax_t maxBytes)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        return DataFileRead::Missing;
    if (error || status.type() != fs::file_type::regular)
        return DataFileRead::Unreadable;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error || size > maxBytes)
        return DataFileRead::Unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return DataFileRead::Unreadable;
    bytes.assign(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    // A file that shrank while it was read is read as far as it goes.
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return in.bad() ? DataFileRead::Unreadable : DataFileRead::Read;
}

std::string SetAsideFile::message() const
{
    const std::string name = file.filename().string();
    if (!moved()) {
        return file.string() + " could not be read in full, nor moved aside (" + std::strerror(error) +
               "). It is left as it is, and changes will not be saved to it.";
    }
    return file.string() + " could not be read in full. It was kept as " + keptAs.filename().string() +
           " in the same folder; what could be read from it is in use and will be saved as a new " + name + ".";
}

SetAsideFile setAsideUnreadable(const fs::path& file)
{
    SetAsideFile result{file, {}, 0};
    const std::string base = file.filename().string() + ".unreadable-" + today();
    for (int attempt = 1; attempt <= kNameAttempts; ++attempt) {
        const fs::path candidate = file.parent_path() / (attempt == 1 ? base : base + "-" + std::to_string(attempt));
        if (renameWithoutReplacing(file, candidate)) {
            result.keptAs = candidate;
            return result;
        }
        if (errno != EEXIST)
            break;
    }
    result.error = errno;
    return result;
}
