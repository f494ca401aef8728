#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

// Writes a whole file safely: the bytes go to "name.tmp" in the same folder, are flushed to
// disk, and the temporary file is renamed over "name". A crash or a full disk leaves either the
// old file or the new one, never half of one. Returns false (and leaves the old file) on failure.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Reads a whole file; returns false when it does not exist or cannot be read. Files larger than
// maxBytes are refused rather than read into memory.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes,
                   std::uintmax_t maxBytes = 64u * 1024u * 1024u);
