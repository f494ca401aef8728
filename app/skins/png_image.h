#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A decoded image: rows top to bottom, four bytes per pixel (red, green, blue, alpha).
struct PngImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    friend bool operator==(const PngImage&, const PngImage&) = default;
};

// Images wider or taller than this are refused, so a hostile header cannot claim gigabytes.
inline constexpr int kMaxPngSide = 8192;

// Decodes a PNG file of any colour type and bit depth to 8-bit RGBA: 16-bit channels are
// scaled down, palettes and grey levels below 8 bits expanded, a tRNS chunk becomes alpha, grey
// becomes RGB. When the file has a bKGD colour it is composed under transparent pixels (the
// result is then opaque); when it states its gamma (gAMA), a screen gamma of 2.2 is applied.
// Nothing for a missing, truncated, corrupt or oversized file; never crashes on any bytes.
std::optional<PngImage> readPng(const std::filesystem::path& path);
std::optional<PngImage> decodePng(std::span<const std::uint8_t> bytes);

// Encodes an 8-bit RGBA image as a PNG file's bytes, without gamma or background chunks, so
// decodePng gives the image back unchanged. Nothing when the image is empty, larger than
// kMaxPngSide on a side, or its pixel buffer does not hold width * height * 4 bytes.
std::optional<std::string> encodePng(const PngImage& image);

// encodePng written to path through a temporary file and a rename. False on any failure.
bool writePng(const std::filesystem::path& path, const PngImage& image);
