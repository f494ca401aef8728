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
// what the umask removes). Returns false, leaving the old file, on failure; the failure is then
// also handed to the innermost WriteFailureWatch of this thread.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Reads a whole file; returns false when it does not exist or cannot be read. Files larger than
// maxBytes are refused rather than read into memory.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes,
                   std::uintmax_t maxBytes = 64u * 1024u * 1024u);

// A write that failed: the file it was for and the system's error number.
struct WriteFailure {
    std::filesystem::path file;
    int error = 0;

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
    static void report(const std::filesystem::path& file, int error);

private:
    WriteFailureWatch* outer_;
    std::optional<WriteFailure> first_;
    int count_ = 0;
};
