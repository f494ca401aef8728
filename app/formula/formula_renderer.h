#pragma once

#include <array>
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
// Whether a text starts with a plain PBM header whose size is beyond those limits.
bool plainPbmTooLarge(std::string_view text);
constexpr std::size_t kMaxPbmSide = 16384;
constexpr std::size_t kMaxPbmPixels = std::size_t{8} << 20;

// The renderer's commands that reach outside the formula: files (\input, \counter, its log and
// dump files), the environment, messages and the renderer's own settings. mimeTeX would read
// a file of its working folder for "\input{name}"; such markup is refused before the renderer
// runs. The calculator's own markup never uses them.
constexpr std::array<std::string_view, 16> kRefusedFormulaCommands = {
    "input", "include",  "counter", "environment",   "logfile", "dumpgif",   "msglevel", "message",
    "image", "password", "mathtex", "advertisement", "nocach",  "pnmparams", "special",  "write"};

// The first refused command in the markup (the letters after its backslash, matched at their
// start and in any case, so "\inputfoo" and "\INPUT" count), or nothing.
std::optional<std::string> refusedFormulaCommand(std::string_view markup);

// Why a formula was drawn or not; the window says it in words.
enum class FormulaRenderStatus {
    Drawn,
    RendererMissing,  // the program cannot be found or executed
    Refused,          // the markup holds a refused command
    TooLarge,         // the image would be wider, taller or larger than the caps
    Failed,           // the renderer failed, timed out or wrote no plain PBM
};

struct FormulaRenderResult {
    FormulaRenderStatus status = FormulaRenderStatus::Failed;
    std::optional<FormulaRaster> raster;  // with Drawn only
};

// Runs the mimeTeX command as a child process: `PROGRAM -g1 -s SIZE BUFFER`, no shell, in an
// empty temporary folder of its own (removed afterwards), with QUERY_STRING removed from its
// environment (mimeTeX would otherwise read its input from there), stdin and stderr on
// /dev/null, a time limit and a cap on the output size. Safe to call from any thread.
class FormulaRenderer {
public:
    static constexpr std::string_view kDefaultProgram = "mimetex";

    // A program name without '/' is looked up on PATH.
    explicit FormulaRenderer(std::string program = std::string(kDefaultProgram),
                             std::chrono::milliseconds timeout = std::chrono::milliseconds(5000),
                             std::size_t outputCap = std::size_t{32} << 20);

    // Whether the program can be found and executed.
    bool available() const;

    // The raster for a renderer buffer at size index 0..7, or the reason there is none.
    FormulaRenderResult renderWithStatus(std::string_view buffer, int sizeIndex) const;
    // The raster alone: nothing when the renderer is missing, refuses the markup, fails,
    // times out, writes too much or writes something that is not a plain PBM.
    std::optional<FormulaRaster> render(std::string_view buffer, int sizeIndex) const
    {
        return renderWithStatus(buffer, sizeIndex).raster;
    }

private:
    struct ChildOutput {
        FormulaRenderStatus status = FormulaRenderStatus::Failed;
        std::string text;
    };
    std::optional<std::string> resolveProgram() const;
    ChildOutput runChild(const std::string& path, std::string_view buffer, int sizeIndex) const;

    std::string program_;
    std::chrono::milliseconds timeout_;
    std::size_t outputCap_;
};
