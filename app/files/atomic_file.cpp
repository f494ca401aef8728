#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr int kNameAttempts = 64;
constexpr mode_t kNewFileMode = 0644;
constexpr std::size_t kTailLength = 6;
// As many links as the system itself follows in one path.
constexpr int kMaxLinkHops = 40;
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

thread_local WriteFailureWatch* innermostWatch = nullptr;

// ".name.Xk3q9Z": hidden, so that no listing of "*.mcr" or "*.inf" ever sees it, and unique
// among concurrent writers by its random tail.
fs::path temporaryName(const fs::path& path)
{
    thread_local std::mt19937_64 random{std::random_device{}() ^ (static_cast<std::uint64_t>(::getpid()) << 32)};
    std::string tail(kTailLength, 'X');
    for (char& c : tail)
        c = kLetters[random() % (sizeof kLetters - 1)];
    fs::path name = path.parent_path();
    name /= "." + path.filename().string() + "." + tail;
    return name;
}

// Creates the temporary file: exclusively (an existing name, a symbolic link included, is never
// opened) and without following a link in the last component.
int createTemporary(const fs::path& path, fs::path& temporary)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary = temporaryName(path);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kNewFileMode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAll(int fd, std::string_view bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// The permission bits of the file being replaced: a "chmod 600" file stays private.
bool keepPermissions(int fd, const fs::path& path)
{
    struct stat old {};
    if (::stat(path.c_str(), &old) != 0 || !S_ISREG(old.st_mode))
        return true;
    return ::fchmod(fd, old.st_mode & 0777) == 0;
}

// The file a save of path replaces: path itself, or the end of the chain of symbolic links it
// starts, so that a data file the user linked elsewhere stays a link. A loop of links gives
// ELOOP.
bool resolveLinks(const fs::path& path, fs::path& target)
{
    target = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(target, error)))
            return true;
        const fs::path next = fs::read_symlink(target, error);
        if (error) {
            errno = error.value();
            return false;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    errno = ELOOP;
    return false;
}

bool isReadOnlyFile(const fs::path& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0;
}

// Makes the rename itself durable; a folder that cannot be synced still holds the new file.
void syncFolder(const fs::path& path)
{
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

bool writeFileAtomically(const fs::path& link, std::string_view bytes)
{
    fs::path path;
    if (!resolveLinks(link, path)) {
        WriteFailureWatch::report({link, errno});
        return false;
    }
    if (isReadOnlyFile(path)) {
        WriteFailureWatch::report({link, EACCES, true});
        return false;
    }
    fs::path temporary;
    const int fd = createTemporary(path, temporary);
    if (fd < 0) {
        WriteFailureWatch::report({link, errno});
        return false;
    }
    bool ok = keepPermissions(fd, path) && writeAll(fd, bytes) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        WriteFailureWatch::report({link, error});
        return false;
    }
    syncFolder(path);
    return true;
}

int folderWriteError(const fs::path& folder)
{
    fs::path probe;
    const int fd = createTemporary(folder / "corvan-write-test", probe);
    if (fd < 0)
        return errno;
    const int error = writeAll(fd, "x") ? 0 : errno;
    ::close(fd);
    ::unlink(probe.c_str());
    return error;
}

bool isTemporaryName(std::string_view fileName)
{
    // "." + a name of at least one character + "." + the random tail.
    if (fileName.size() < kTailLength + 3 || fileName.front() != '.')
        return false;
    const std::string_view tail = fileName.substr(fileName.size() - kTailLength);
    return fileName[fileName.size() - kTailLength - 1] == '.' &&
           tail.find_first_not_of(std::string_view(kLetters, sizeof kLetters - 1)) == std::string_view::npos;
}

bool readWholeFile(const fs::path& path, std::string& bytes, std::uintmax_t maxBytes)
{
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return false;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error || size > maxBytes)
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return true;
}

std::string WriteFailure::message() const
{
    if (readOnlyFile)
        return "Cannot save " + file.string() + ": the file is read-only.";
    return "Cannot save " + file.string() + ": " + std::strerror(error);
}

WriteFailureWatch::WriteFailureWatch() : outer_(innermostWatch)
{
    innermostWatch = this;
}

WriteFailureWatch::~WriteFailureWatch()
{
    innermostWatch = outer_;
}

void WriteFailureWatch::report(const WriteFailure& failure)
{
    WriteFailureWatch* watch = innermostWatch;
    if (watch == nullptr)
        return;
    if (!watch->first_)
        watch->first_ = failure;
    ++watch->count_;
}
