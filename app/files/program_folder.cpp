#include "program_folder.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <system_error>

#include "atomic_file.h"
#include "seed_manifest.h"

namespace fs = std::filesystem;

ProgramFolder::ProgramFolder(fs::path folder, fs::path shippedFolder)
    : folder_(std::move(folder)), shipped_(std::move(shippedFolder))
{
}

namespace {

// Files that the program writes for the user: seeding never replaces them.
constexpr std::array<std::string_view, 8> kUserFiles = {
    "led.dat",       "preferences.dat", "matrix.dat",         "statistics.dat",
    "Converter.dat", "macro.mcr",       "biorythm-users.dat", "history.dat",
};
constexpr std::string_view kCurrencyFile = "currency.dat";
constexpr std::string_view kNewSuffix = ".new";

fs::path userDataFolder()
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/')
        return fs::path(xdg) / "corvan";
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        return fs::path(home) / ".local" / "share" / "corvan";
    return fs::current_path() / ".corvan";
}

bool isUserFile(const fs::path& name)
{
    const std::string file = name.filename().string();
    if (file.size() > 4 && file.ends_with(".mcr"))
        return true;
    return std::find(kUserFiles.begin(), kUserFiles.end(), file) != kUserFiles.end();
}

// The date of a currency table's first line ("#Date: 2025-01-02"), empty when there is none.
std::string currencyDate(std::string_view bytes)
{
    constexpr std::string_view kPrefix = "#Date:";
    if (!bytes.starts_with(kPrefix))
        return {};
    std::string_view line = bytes.substr(kPrefix.size(), bytes.find('\n') - kPrefix.size());
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.remove_suffix(1);
    return std::string(line);
}

struct ShippedFile {
    std::string name;  // relative, with '/'
    fs::path source;
};

void listShipped(const fs::path& from, const std::string& prefix, std::vector<ShippedFile>& files)
{
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
        const std::string name = prefix + entry.path().filename().string();
        if (entry.is_directory(error))
            listShipped(entry.path(), name + "/", files);
        else if (entry.is_regular_file(error) && name != SeedManifest::kFileName)
            files.push_back({name, entry.path()});
    }
}

class Seeding {
public:
    Seeding(const fs::path& folder, std::vector<std::string>* notices) : folder_(folder), notices_(notices)
    {
        std::string text;
        if (readWholeFile(folder / SeedManifest::kFileName, text)) {
            if (std::optional<SeedManifest> read = SeedManifest::parse(text)) {
                manifest_ = std::move(*read);
                trusted_ = true;
                oldText_ = text;
            }
        }
    }

    void seed(const ShippedFile& file)
    {
        std::string shipped;
        if (!readWholeFile(file.source, shipped))
            return;
        const std::string shippedHash = SeedManifest::contentHash(shipped);
        const fs::path target = folder_ / fs::path(file.name);
        std::error_code error;
        if (!fs::exists(target, error)) {
            fs::create_directories(target.parent_path(), error);
            if (writeFileAtomically(target, shipped))
                manifest_.record(file.name, shippedHash);
            return;
        }
        if (isUserFile(target))
            return;
        std::string copy;
        if (!readWholeFile(target, copy))
            return;
        if (target.filename() == kCurrencyFile && currencyDate(copy) > currencyDate(shipped))
            return;
        const std::string copyHash = SeedManifest::contentHash(copy);
        if (copyHash == shippedHash) {
            manifest_.record(file.name, shippedHash);
            return;
        }
        // From here the copy differs from the shipped file: only a trusted record can say that
        // the copy is an untouched older version.
        const std::optional<std::string> seeded = trusted_ ? manifest_.seededHash(file.name) : std::nullopt;
        if (!seeded || *seeded == shippedHash)
            return;
        if (copyHash == *seeded) {
            if (writeFileAtomically(target, shipped))
                manifest_.record(file.name, shippedHash);
            return;
        }
        fs::path beside = target;
        beside += kNewSuffix;
        if (writeFileAtomically(beside, shipped)) {
            manifest_.record(file.name, shippedHash);
            if (notices_ != nullptr) {
                notices_->push_back(file.name + ": your changed copy was kept; the updated shipped file is " +
                                    file.name + std::string(kNewSuffix) + ".");
            }
        }
    }

    void saveManifest() const
    {
        const std::string text = manifest_.text();
        if (text != oldText_)
            writeFileAtomically(folder_ / SeedManifest::kFileName, text);
    }

private:
    fs::path folder_;
    std::vector<std::string>* notices_;
    SeedManifest manifest_;
    bool trusted_ = false;
    std::string oldText_;
};

fs::path executablePath()
{
    std::error_code error;
    fs::path path = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : path;
}

}  // namespace

fs::path ProgramFolder::shippedFolderFor(const fs::path& executable, const fs::path& sourceData)
{
    if (const char* dir = std::getenv("CORVAN_DATA_DIR"); dir != nullptr && dir[0] != '\0')
        return dir;
    std::error_code error;
    if (!executable.empty()) {
        const fs::path installed = (executable.parent_path() / CORVAN_DATA_FROM_BINARY).lexically_normal();
        if (fs::is_directory(installed, error))
            return installed;
    }
    return sourceData;
}

ProgramFolder ProgramFolder::fromEnvironment()
{
    return ProgramFolder(userDataFolder(), shippedFolderFor(executablePath(), CORVAN_SOURCE_DATA_DIR));
}

bool ProgramFolder::prepare(std::vector<std::string>* notices) const
{
    std::error_code error;
    fs::create_directories(folder_, error);
    if (!fs::is_directory(folder_, error))
        return false;
    std::vector<ShippedFile> files;
    listShipped(shipped_, {}, files);
    std::sort(files.begin(), files.end(), [](const ShippedFile& a, const ShippedFile& b) { return a.name < b.name; });
    Seeding seeding(folder_, notices);
    for (const ShippedFile& file : files)
        seeding.seed(file);
    seeding.saveManifest();
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
    const int writeError = folderWriteError(folder_);
    return writeError == 0 ? std::string() : std::strerror(writeError);
}

int ProgramFolder::removeStaleTemporaries() const
{
    const auto cutoff = fs::file_time_type::clock::now() - kStaleTemporaryAge;
    int removed = 0;
    std::error_code error;
    // Links are not followed: only what lies in the folder itself is ours.
    for (fs::recursive_directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        const fs::directory_entry& entry = *it;
        std::error_code entryError;
        if (!isTemporaryName(entry.path().filename().string()) || !entry.is_regular_file(entryError) ||
            entry.is_symlink(entryError) || entry.last_write_time(entryError) > cutoff || entryError)
            continue;
        if (fs::remove(entry.path(), entryError))
            ++removed;
    }
    return removed;
}

std::string ProgramFolder::writeProblemMessage(const fs::path& folder, const std::string& cause)
{
    return "Corvan cannot save its files in " + folder.string() + " (" + cause +
           "). It goes on with what it could read; preferences, macros and results of this session "
           "will not be kept.";
}
