#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The one way the program writes a file. The bytes go to a new temporary file with a unique
// name in the same folder (".name.XXXXXX", created exclusively and never through a symbolic
// link, so neither a second process saving the same file nor a link planted in the folder can
// take the write elsewhere), are flushed to disk, and the temporary file is renamed over
// "name". A crash, a kill or a full disk leaves the old file or the new one, never half of one.
// The new file keeps the permission bits of the file it replaces (0644 for a new file, less
// what the umask removes). When "name" is a symbolic link the link stays and its target is
// replaced, the temporary then lying in the target's folder. A file without any write
// permission bit is the user's "do not change" and is not replaced. Returns false, leaving the
// old file, on failure; the failure is then also handed to the innermost WriteFailureWatch of
// this thread.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Why nothing can be written in folder, as an errno value (0 when writing works), found by
// making and removing a temporary file there under the writer's unique, link-proof name.
int folderWriteError(const std::filesystem::path& folder);

// True for a name that writeFileAtomically gives its temporary files (".name.Xk3q9Z"), which a
// save killed before its rename leaves behind.
bool isTemporaryName(std::string_view fileName);

// Reads a whole file; returns false when it does not exist or cannot be read. Files larger than
// maxBytes are refused rather than read into memory.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes,
                   std::uintmax_t maxBytes = 64u * 1024u * 1024u);

// A write that failed: the file it was for and the system's error number.
struct WriteFailure {
    std::filesystem::path file;
    int error = 0;
    bool readOnlyFile = false;  // refused: the user took the file's write permission away

    // "Cannot save /home/u/.local/share/corvan/led.dat: No space left on device"
    std::string message() const;
};

// Collects the failed writes of this thread while it lives, so that the caller of a round of
// saves (the window at close, a periodic save) can say once what went wrong without every model
// passing its file errors up. Watches nest; a failure goes to the innermost one only.
class WriteFailureWatch {
public:
    WriteFailureWatch();
    ~WriteFailureWatch();
    WriteFailureWatch(const WriteFailureWatch&) = delete;
    WriteFailureWatch& operator=(const WriteFailureWatch&) = delete;

    // The first failure seen, if any.
    const std::optional<WriteFailure>& first() const { return first_; }
    int count() const { return count_; }

    // Used by writeFileAtomically.
    static void report(const WriteFailure& failure);

private:
    WriteFailureWatch* outer_;
    std::optional<WriteFailure> first_;
    int count_ = 0;
};
