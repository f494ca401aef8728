#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// The rule for every data file of the program folder: what cannot be read is never overwritten.
// A loader that could not read a file in full moves it aside under a dated name, tells the user
// once, and only then lets a new file be saved; when even the move fails, nothing is saved
// over the file.

enum class DataFileRead {
    Read,
    Missing,     // there is no such file: a new one starts, nothing is lost
    Unreadable,  // it exists but cannot be opened, is no regular file or is larger than allowed
};

// Reads a whole data file of at most maxBytes.
DataFileRead readDataFile(const std::filesystem::path& path, std::string& bytes, std::uintmax_t maxBytes);

// What became of a file that its loader could not read in full.
struct SetAsideFile {
    std::filesystem::path file;    // where it was
    std::filesystem::path keptAs;  // where it is now; empty when it could not be moved
    int error = 0;                 // why the move failed

    bool moved() const { return !keptAs.empty(); }
    // The one message for the user, naming both files, e.g. "/home/u/.local/share/corvan/
    // matrix.dat could not be read in full. It was kept as matrix.dat.unreadable-2026-12-07 in
    // the same folder; what could be read from it is in use and will be saved as a new
    // matrix.dat."
    std::string message() const;
};

// Renames file to "name.unreadable-YYYY-MM-DD" (today's local date; "-2", "-3", ... after it
// when that name is taken) in its own folder, never replacing another file.
SetAsideFile setAsideUnreadable(const std::filesystem::path& file);
