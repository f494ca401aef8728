#include <gtest/gtest.h>

#include <png.h>

#include <csetjmp>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "png_image.h"
#include "temp_folder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A PNG in any of the file's own formats, written with libpng directly, so the decoder meets
// the formats that encodePng never produces.
struct RawPng {
    int width = 1;
    int height = 1;
    int colourType = PNG_COLOR_TYPE_GRAY;
    int bitDepth = 8;
    Bytes rows{};  // packed rows exactly as the file stores them, big-endian samples
    std::vector<png_color> palette{};
    std::vector<png_byte> paletteAlpha{};
    std::optional<png_color_16> transparentColour{};
    std::optional<png_color_16> background{};
    std::optional<double> gamma{};
    bool interlaced = false;
};

struct RawWriter {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::string bytes;
    ~RawWriter() { png_destroy_write_struct(&png, &info); }
};

void appendBytes(png_structp png, png_bytep data, size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

void flushNothing(png_structp)
{
}

bool writeRaw(RawWriter& writer, const RawPng& layout, std::size_t rowBytes)
{
    png_structp png = writer.png;
    png_infop info = writer.info;
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &writer.bytes, appendBytes, flushNothing);
    png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colourType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty())
        png_set_PLTE(png, info, layout.palette.data(), static_cast<int>(layout.palette.size()));
    if (!layout.paletteAlpha.empty())
        png_set_tRNS(png, info, layout.paletteAlpha.data(), static_cast<int>(layout.paletteAlpha.size()), nullptr);
    if (layout.transparentColour)
        png_set_tRNS(png, info, nullptr, 0, &*layout.transparentColour);
    if (layout.background)
        png_set_bKGD(png, info, &*layout.background);
    if (layout.gamma)
        png_set_gAMA(png, info, *layout.gamma);
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < layout.height; ++y)
            png_write_row(png, layout.rows.data() + static_cast<std::size_t>(y) * rowBytes);
    png_write_end(png, nullptr);
    return true;
}

Bytes encodeRaw(const RawPng& layout)
{
    // Grey, palette, RGB or RGBA: the formats the tests use.
    const std::size_t channels = layout.colourType == PNG_COLOR_TYPE_RGB         ? 3
                                 : layout.colourType == PNG_COLOR_TYPE_RGB_ALPHA ? 4
                                                                                 : 1;
    const std::size_t rowBytes = (layout.width * channels * layout.bitDepth + 7) / 8;
    EXPECT_EQ(layout.rows.size(), rowBytes * layout.height);
    RawWriter writer;
    writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    writer.info = png_create_info_struct(writer.png);
    EXPECT_TRUE(writeRaw(writer, layout, rowBytes));
    return Bytes(writer.bytes.begin(), writer.bytes.end());
}

Bytes asBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

PngImage sampleImage(int width, int height)
{
    PngImage image{width, height, {}};
    for (int i = 0; i < width * height * 4; ++i)
        image.rgba.push_back(static_cast<std::uint8_t>(i * 37 + i / 4));
    image.rgba[3] = 0;
    return image;
}

TEST(PngImage, RoundTripsThroughMemoryAndFiles)
{
    for (const auto& [width, height] : {std::pair{1, 1}, {3, 2}, {17, 5}}) {
        const PngImage image = sampleImage(width, height);
        const auto bytes = encodePng(image);
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(decodePng(asBytes(*bytes)), image) << width << "x" << height;
    }
    TempFolder folder;
    const PngImage image = sampleImage(6, 3);
    ASSERT_TRUE(writePng(folder.path() / "keys.png", image));
    EXPECT_EQ(readPng(folder.path() / "keys.png"), image);
    EXPECT_FALSE(readPng(folder.path() / "none.png").has_value());

    const PngImage bad[] = {
        {0, 0, {}}, {2, 2, Bytes(15)}, {-1, 1, Bytes(4)}, {kMaxPngSide + 1, 1, Bytes((kMaxPngSide + 1) * 4)}};
    for (const PngImage& image : bad)
        EXPECT_FALSE(encodePng(image).has_value()) << image.width << "x" << image.height;
}

Bytes rgbaOfRgb(const Bytes& rgb)
{
    Bytes rgba;
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        rgba.push_back(rgb[i]);
        if (i % 3 == 2)
            rgba.push_back(255);
    }
    return rgba;
}

TEST(PngImage, DecodesEveryFormatToRgba)
{
    Bytes ramp;
    for (int i = 0; i < 9 * 9 * 3; ++i)
        ramp.push_back(static_cast<std::uint8_t>(i * 7));
    const struct {
        const char* name;
        RawPng layout;
        Bytes expected;
    } cases[] = {
        {"grey with a transparent level",
         {.width = 3, .rows = {0, 7, 200}, .transparentColour = png_color_16{0, 0, 0, 0, 7}},
         {0, 0, 0, 255, 7, 7, 7, 0, 200, 200, 200, 255}},
        // Indexes 0, 1, 2, 0 at two bits each.
        {"2-bit palette with alpha",
         {.width = 4,
          .colourType = PNG_COLOR_TYPE_PALETTE,
          .bitDepth = 2,
          .rows = {0b00011000},
          .palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}},
          .paletteAlpha = {0, 128}},
         {10, 20, 30, 0, 40, 50, 60, 128, 70, 80, 90, 255, 10, 20, 30, 0}},
        {"1-bit grey",
         {.width = 3, .bitDepth = 1, .rows = {0b10100000}},
         {255, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255}},
        // Scaled by 255 / 65535 and rounded, not cut to the high byte: 257 * k becomes k,
        // 0x00FF becomes 1 and 0xFF00 becomes 254.
        {"16-bit RGB",
         {.width = 3,
          .colourType = PNG_COLOR_TYPE_RGB,
          .bitDepth = 16,
          .rows = {0xFF, 0xFF, 0x00, 0x00, 0x80, 0x80, 0x01, 0x01, 0x7F, 0x7F, 0xFE, 0xFE, 0x00, 0xFF, 0xFF, 0x00, 0x00,
                   0x00}},
         {255, 0, 128, 255, 1, 127, 254, 255, 1, 254, 0, 255}},
        {"background under transparent pixels",
         {.width = 2,
          .colourType = PNG_COLOR_TYPE_RGB_ALPHA,
          .rows = {1, 2, 3, 0, 4, 5, 6, 255},
          .background = png_color_16{0, 200, 100, 50, 0}},
         {200, 100, 50, 255, 4, 5, 6, 255}},
        {"interlaced RGB",
         {.width = 9, .height = 9, .colourType = PNG_COLOR_TYPE_RGB, .rows = ramp, .interlaced = true},
         rgbaOfRgb(ramp)},
    };
    for (const auto& c : cases) {
        const auto image = decodePng(encodeRaw(c.layout));
        ASSERT_TRUE(image.has_value()) << c.name;
        EXPECT_EQ(image->width, c.layout.width) << c.name;
        EXPECT_EQ(image->height, c.layout.height) << c.name;
        EXPECT_EQ(image->rgba, c.expected) << c.name;
    }
}

TEST(PngImage, AppliesTheScreenGammaWhenTheFileStatesOne)
{
    // A linear file (gamma 1.0) brightens: 255 * (128 / 255) ^ (1 / 2.2) = 186.
    const std::pair<std::optional<double>, int> cases[] = {{std::nullopt, 128}, {1.0 / 2.2, 128}, {1.0, 186}};
    for (const auto& [gamma, expected] : cases) {
        const auto image = decodePng(encodeRaw({.rows = {128}, .gamma = gamma}));
        ASSERT_TRUE(image.has_value());
        EXPECT_NEAR(image->rgba[0], expected, 1) << gamma.value_or(0);
    }
}

TEST(PngImage, RefusesOversizedTruncatedAndRandomFiles)
{
    const RawPng wide{.width = kMaxPngSide + 1, .bitDepth = 1, .rows = Bytes(kMaxPngSide / 8 + 1)};
    EXPECT_FALSE(decodePng(encodeRaw(wide)).has_value());
    const RawPng tallest{.height = kMaxPngSide, .bitDepth = 1, .rows = Bytes(kMaxPngSide)};
    EXPECT_TRUE(decodePng(encodeRaw(tallest)).has_value());

    const Bytes whole = asBytes(*encodePng(sampleImage(5, 4)));
    for (std::size_t size = 0; size < whole.size(); ++size)
        EXPECT_FALSE(decodePng(std::span(whole.data(), size)).has_value()) << size;

    std::mt19937 random(20240317);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 300; ++round) {
        // Every other round behind a valid signature, so the chunk reader gets to work.
        Bytes noise(whole.begin(), whole.begin() + (round % 2) * 8);
        for (int i = 0; i < round * 3; ++i)
            noise.push_back(static_cast<std::uint8_t>(byte(random)));
        EXPECT_FALSE(decodePng(noise).has_value()) << round;
    }
    // Damaged files: whatever still decodes must be whole.
    std::uniform_int_distribution<std::size_t> position(8, whole.size() - 1);
    for (int round = 0; round < 2000; ++round) {
        Bytes damaged = whole;
        for (int i = 0; i <= round % 4; ++i)
            damaged[position(random)] = static_cast<std::uint8_t>(byte(random));
        if (const auto image = decodePng(damaged)) {
            EXPECT_EQ(image->rgba.size(), std::size_t(image->width) * image->height * 4);
        }
    }
}

}  // namespace
