#include "fuzz_support.h"

#include <unistd.h>

#include <fstream>

#include "evaluation_timer.h"

namespace fuzz {

std::filesystem::path scratchFolder()
{
    static const std::filesystem::path folder = [] {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("corvan-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        // Removed at exit, with whatever the target left in it.
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(
                std::filesystem::temp_directory_path() / ("corvan-fuzz-" + std::to_string(::getpid())), error);
        });
        return path;
    }();
    return folder;
}

std::filesystem::path writeScratch(const std::filesystem::path& name, std::string_view bytes)
{
    const std::filesystem::path path = scratchFolder() / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

TimeLimit::TimeLimit(Engine& engine) : timer_(std::make_unique<EvaluationTimer>(engine, std::chrono::milliseconds(100)))
{
    timer_->start();
}

TimeLimit::~TimeLimit()
{
    timer_->stop();
}

}  // namespace fuzz
