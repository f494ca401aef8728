#pragma once

// Helpers shared by the fuzz targets: each target is one LLVMFuzzerTestOneInput over one
// reader of the program, built with -fsanitize=fuzzer,address,undefined.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

class Engine;
class EvaluationTimer;

namespace fuzz {

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// A round-trip or invariant check: a failure is a crash the fuzzer reports and keeps.
inline void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

// A folder of this process for the readers that take a path; made on first use.
std::filesystem::path scratchFolder();

// Writes bytes as scratchFolder()/name (plainly: the harness, not the program, writes it) and
// returns the path.
std::filesystem::path writeScratch(const std::filesystem::path& name, std::string_view bytes);

// Splits the input at the first occurrence of separator: the part before it and the rest.
inline std::string_view takeUntil(std::string_view& rest, std::string_view separator)
{
    const std::size_t at = rest.find(separator);
    if (at == std::string_view::npos) {
        const std::string_view all = rest;
        rest = {};
        return all;
    }
    const std::string_view head = rest.substr(0, at);
    rest.remove_prefix(at + separator.size());
    return head;
}

// Bounds one evaluation of an engine: calculations may legitimately run for days (nested sums),
// so an evaluation still running after a tenth of a second is cancelled, as the window's Cancel
// would. This also runs the engine's cancel checks under the sanitizers.
class TimeLimit {
public:
    explicit TimeLimit(Engine& engine);
    ~TimeLimit();
    TimeLimit(const TimeLimit&) = delete;
    TimeLimit& operator=(const TimeLimit&) = delete;

private:
    std::unique_ptr<EvaluationTimer> timer_;
};

}  // namespace fuzz
