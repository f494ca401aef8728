#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A one-bit formula image: set pixels are drawn black on kBackground.
struct FormulaRaster {
    static constexpr std::uint32_t kBackground = 0xF5F5F5;  // 0xRRGGBB

    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // row-major, 1 = set

    bool isSet(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height &&
               pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] != 0;
    }
};

// Reads a plain PBM ("P1", width, height, then width x height bits as '0'/'1', with optional
// whitespace and '#' comments). Anything malformed, truncated or larger than kMaxPbmPixels
// gives nullopt; no input makes it read out of bounds.
std::optional<FormulaRaster> parsePlainPbm(std::string_view text);
constexpr std::size_t kMaxPbmSide = 16384;
constexpr std::size_t kMaxPbmPixels = std::size_t{8} << 20;

// Runs the mimeTeX command as a child process: `PROGRAM -g1 -s SIZE BUFFER`, no shell, with
// QUERY_STRING removed from its environment (mimeTeX would otherwise read its input from
// there), stdin and stderr on /dev/null, a time limit and a cap on the output size.
class FormulaRenderer {
public:
    static constexpr std::string_view kDefaultProgram = "mimetex";

    // A program name without '/' is looked up on PATH.
    explicit FormulaRenderer(std::string program = std::string(kDefaultProgram),
                             std::chrono::milliseconds timeout = std::chrono::milliseconds(5000),
                             std::size_t outputCap = std::size_t{32} << 20);

    // Whether the program can be found and executed.
    bool available() const;

    // The raster for a renderer buffer at size index 0..7. nullopt when the renderer is
    // missing, fails, times out, writes too much or writes something that is not a plain PBM:
    // the window then draws nothing and says nothing.
    std::optional<FormulaRaster> render(std::string_view buffer, int sizeIndex) const;

private:
    std::optional<std::string> resolveProgram() const;
    std::optional<std::string> runChild(const std::string& path, std::string_view buffer, int sizeIndex) const;

    std::string program_;
    std::chrono::milliseconds timeout_;
    std::size_t outputCap_;
};
