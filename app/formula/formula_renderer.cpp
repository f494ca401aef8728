#include "formula_renderer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "ascii.h"

extern char** environ;

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

class PbmReader {
public:
    explicit PbmReader(std::string_view text) : text_(text) {}

    void skipSpaceAndComments()
    {
        while (pos_ < text_.size()) {
            if (isSpace(text_[pos_])) {
                ++pos_;
            } else if (text_[pos_] == '#') {
                while (pos_ < text_.size() && text_[pos_] != '\n')
                    ++pos_;
            } else {
                break;
            }
        }
    }

    // A header number; the side limit keeps the arithmetic far from overflow.
    std::optional<std::size_t> number()
    {
        skipSpaceAndComments();
        std::size_t value = 0;
        const std::size_t start = pos_;
        while (pos_ < text_.size() && ascii::isDigit(text_[pos_])) {
            value = value * 10 + static_cast<std::size_t>(text_[pos_] - '0');
            if (value > kMaxPbmSide)
                return std::nullopt;
            ++pos_;
        }
        if (pos_ == start)
            return std::nullopt;
        return value;
    }

    // A header number read whole, for saying that an image is too large; capped far above
    // the limits so the product cannot overflow.
    std::optional<std::size_t> numberUncapped()
    {
        skipSpaceAndComments();
        std::size_t value = 0;
        const std::size_t start = pos_;
        while (pos_ < text_.size() && ascii::isDigit(text_[pos_])) {
            value = std::min<std::size_t>(value * 10 + static_cast<std::size_t>(text_[pos_] - '0'), kMaxPbmPixels + 1);
            ++pos_;
        }
        if (pos_ == start)
            return std::nullopt;
        return value;
    }

    // Plain PBM bits need no separator between them.
    std::optional<std::uint8_t> bit()
    {
        skipSpaceAndComments();
        if (pos_ >= text_.size())
            return std::nullopt;
        const char c = text_[pos_++];
        if (c == '0' || c == '1')
            return static_cast<std::uint8_t>(c - '0');
        return std::nullopt;
    }

    bool startsWithMagic()
    {
        if (text_.substr(0, 2) != "P1")
            return false;
        pos_ = 2;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

int clampSize(int sizeIndex)
{
    return std::clamp(sizeIndex, 0, 7);
}

bool isExecutableFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

}  // namespace

std::optional<std::string> refusedFormulaCommand(std::string_view markup)
{
    for (std::size_t at = markup.find('\\'); at != std::string_view::npos; at = markup.find('\\', at + 1)) {
        std::string name;
        for (std::size_t i = at + 1; i < markup.size() && ascii::isLetter(markup[i]); ++i)
            name += ascii::toLower(markup[i]);
        for (std::string_view refused : kRefusedFormulaCommands) {
            if (name.starts_with(refused))
                return "\\" + name;
        }
    }
    return std::nullopt;
}

bool plainPbmTooLarge(std::string_view text)
{
    PbmReader reader(text);
    if (!reader.startsWithMagic())
        return false;
    const auto width = reader.numberUncapped();
    const auto height = reader.numberUncapped();
    if (!width || !height)
        return false;
    return *width > kMaxPbmSide || *height > kMaxPbmSide || *width * *height > kMaxPbmPixels;
}

std::optional<FormulaRaster> parsePlainPbm(std::string_view text)
{
    PbmReader reader(text);
    if (!reader.startsWithMagic())
        return std::nullopt;
    const auto width = reader.number();
    const auto height = reader.number();
    if (!width || !height || *width == 0 || *height == 0 || *width * *height > kMaxPbmPixels)
        return std::nullopt;
    FormulaRaster raster;
    raster.width = static_cast<int>(*width);
    raster.height = static_cast<int>(*height);
    raster.pixels.resize(*width * *height);
    for (auto& pixel : raster.pixels) {
        const auto bit = reader.bit();
        if (!bit)
            return std::nullopt;
        pixel = *bit;
    }
    return raster;
}

FormulaRenderer::FormulaRenderer(std::string program, std::chrono::milliseconds timeout, std::size_t outputCap)
    : program_(std::move(program)), timeout_(timeout), outputCap_(outputCap)
{
}

std::optional<std::string> FormulaRenderer::resolveProgram() const
{
    if (program_.empty())
        return std::nullopt;
    if (program_.find('/') != std::string::npos)
        return isExecutableFile(program_) ? std::optional<std::string>(program_) : std::nullopt;
    const char* path = std::getenv("PATH");
    const std::string_view dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string_view::npos)
            end = dirs.size();
        const std::string_view dir = dirs.substr(start, end - start);
        // An empty PATH entry means the current folder; a renderer is never taken from there.
        if (!dir.empty()) {
            std::string candidate(dir);
            candidate += '/';
            candidate += program_;
            if (isExecutableFile(candidate))
                return candidate;
        }
        start = end + 1;
    }
    return std::nullopt;
}

bool FormulaRenderer::available() const
{
    return resolveProgram().has_value();
}

FormulaRenderResult FormulaRenderer::renderWithStatus(std::string_view buffer, int sizeIndex) const
{
    if (refusedFormulaCommand(buffer))
        return {FormulaRenderStatus::Refused, std::nullopt};
    const auto path = resolveProgram();
    if (!path)
        return {FormulaRenderStatus::RendererMissing, std::nullopt};
    const ChildOutput output = runChild(*path, buffer, sizeIndex);
    if (output.status != FormulaRenderStatus::Drawn)
        return {output.status, std::nullopt};
    std::optional<FormulaRaster> raster = parsePlainPbm(output.text);
    if (!raster)
        return {plainPbmTooLarge(output.text) ? FormulaRenderStatus::TooLarge : FormulaRenderStatus::Failed,
                std::nullopt};
    return {FormulaRenderStatus::Drawn, std::move(raster)};
}

namespace {

// An empty folder of its own for one run of the renderer: whatever the markup names, the
// renderer finds nothing of the user's around it, and whatever it writes is removed.
class ScratchFolder {
public:
    ScratchFolder()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern =
            (base != nullptr && *base != '\0' ? std::string(base) : std::string("/tmp")) + "/corvan-formula-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr)
            path_ = pattern;
    }
    ~ScratchFolder()
    {
        if (!path_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(path_, ignored);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool made() const { return !path_.empty(); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

FormulaRenderer::ChildOutput FormulaRenderer::runChild(const std::string& path, std::string_view buffer,
                                                       int sizeIndex) const
{
    const ScratchFolder scratch;
    if (!scratch.made())
        return {};
    const char* scratchPath = scratch.path().c_str();
    // Everything the child needs is built before fork: after it only async-signal-safe calls.
    std::string sizeText = std::to_string(clampSize(sizeIndex));
    std::string markup(buffer);
    std::string programArg = path;
    std::string graphicArg = "-g1";
    std::string sizeFlag = "-s";
    char* argv[] = {programArg.data(), graphicArg.data(), sizeFlag.data(), sizeText.data(), markup.data(), nullptr};
    std::vector<char*> envp;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "QUERY_STRING=", 13) != 0)
            envp.push_back(*entry);
    }
    envp.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return {};
    int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (devNull < 0) {
        closeFd(pipeFds[0]);
        closeFd(pipeFds[1]);
        return {};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        // A group of its own, so that a kill reaches whatever the renderer started too.
        if (::setpgid(0, 0) != 0 || ::dup2(devNull, STDIN_FILENO) < 0 || ::dup2(pipeFds[1], STDOUT_FILENO) < 0 ||
            ::dup2(devNull, STDERR_FILENO) < 0 || ::chdir(scratchPath) != 0)
            ::_exit(127);
        ::execve(path.c_str(), argv, envp.data());
        ::_exit(127);
    }
    closeFd(pipeFds[1]);
    closeFd(devNull);
    if (pid < 0) {
        closeFd(pipeFds[0]);
        return {};
    }
    // Also here: the group must exist before a kill of it, whichever process runs first.
    ::setpgid(pid, pid);

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout_;
    std::string output;
    bool ok = true;
    bool tooLarge = false;
    char chunk[65536];
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            ok = false;
            break;
        }
        pollfd pfd{pipeFds[0], POLLIN, 0};
        const int ready = ::poll(&pfd, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0) {
            ok = false;
            break;
        }
        if (ready == 0)
            continue;
        const ssize_t got = ::read(pipeFds[0], chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        if (output.size() + static_cast<std::size_t>(got) > outputCap_) {
            ok = false;
            tooLarge = true;
            break;
        }
        output.append(chunk, static_cast<std::size_t>(got));
    }
    closeFd(pipeFds[0]);

    // A child that closed its output but lingers gets until the deadline to exit.
    int status = 0;
    bool reaped = false;
    while (ok && !reaped) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            reaped = true;
        } else if (done < 0 && errno != EINTR) {
            return {};
        } else if (Clock::now() >= deadline) {
            ok = false;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    if (!reaped) {
        ::kill(-pid, SIGKILL);
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    }
    if (tooLarge)
        return {FormulaRenderStatus::TooLarge, {}};
    if (!ok || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return {FormulaRenderStatus::Drawn, std::move(output)};
}
