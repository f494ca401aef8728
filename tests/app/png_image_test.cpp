#include <gtest/gtest.h>

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "png_image.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A PNG in any of the file's own formats, written with libpng directly, so the decoder meets
// the formats that encodePng never produces.
struct RawPng {
    int width = 1;
    int height = 1;
    int colourType = PNG_COLOR_TYPE_GRAY;
    int bitDepth = 8;
    Bytes rows;  // packed rows exactly as the file stores them, big-endian samples
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;
    std::optional<png_color_16> transparentColour;
    std::optional<png_color_16> background;
    std::optional<double> gamma;
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

void flushNothing(png_structp) {}

bool writeRaw(RawWriter& writer, const RawPng& spec, std::size_t rowBytes)
{
    png_structp png = writer.png;
    png_infop info = writer.info;
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &writer.bytes, appendBytes, flushNothing);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colourType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty())
        png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
    if (!spec.paletteAlpha.empty())
        png_set_tRNS(png, info, spec.paletteAlpha.data(),
                     static_cast<int>(spec.paletteAlpha.size()), nullptr);
    if (spec.transparentColour)
        png_set_tRNS(png, info, nullptr, 0, &*spec.transparentColour);
    if (spec.background)
        png_set_bKGD(png, info, &*spec.background);
    if (spec.gamma)
        png_set_gAMA(png, info, *spec.gamma);
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < spec.height; ++y)
            png_write_row(png, spec.rows.data() + static_cast<std::size_t>(y) * rowBytes);
    png_write_end(png, nullptr);
    return true;
}

int channelsOf(int colourType)
{
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;
    }
}

Bytes encodeRaw(const RawPng& spec)
{
    const std::size_t rowBytes =
        (static_cast<std::size_t>(spec.width) * channelsOf(spec.colourType) * spec.bitDepth + 7) /
        8;
    EXPECT_EQ(spec.rows.size(), rowBytes * spec.height);
    RawWriter writer;
    writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    writer.info = png_create_info_struct(writer.png);
    EXPECT_TRUE(writeRaw(writer, spec, rowBytes));
    return Bytes(writer.bytes.begin(), writer.bytes.end());
}

Bytes asBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

std::optional<PngImage> decode(const Bytes& bytes)
{
    return decodePng(bytes);
}

PngImage sampleImage(int width, int height)
{
    PngImage image{width, height, {}};
    for (int i = 0; i < width * height * 4; ++i)
        image.rgba.push_back(static_cast<std::uint8_t>(i * 37 + i / 4));
    image.rgba[3] = 0;
    return image;
}

TEST(PngImage, EncodedImagesDecodeUnchanged)
{
    for (const auto& [width, height] : {std::pair{1, 1}, {3, 2}, {17, 5}, {1, 40}}) {
        const PngImage image = sampleImage(width, height);
        const auto bytes = encodePng(image);
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(decode(asBytes(*bytes)), image) << width << "x" << height;
    }
}

TEST(PngImage, WritesAndReadsFiles)
{
    TempFolder folder;
    const fs::path file = folder.path() / "keys.png";
    const PngImage image = sampleImage(6, 3);
    ASSERT_TRUE(writePng(file, image));
    EXPECT_EQ(readPng(file), image);
    EXPECT_FALSE(fs::exists(folder.path() / "keys.png.tmp"));
    EXPECT_FALSE(readPng(folder.path() / "none.png").has_value());
    EXPECT_FALSE(writePng(folder.path() / "none" / "x.png", image));
}

TEST(PngImage, RefusesToEncodeBadImages)
{
    const PngImage bad[] = {
        {0, 0, {}},
        {2, 2, Bytes(15)},
        {2, 2, Bytes(17)},
        {-1, 1, Bytes(4)},
        {kMaxPngSide + 1, 1, Bytes((kMaxPngSide + 1) * 4)},
    };
    for (const PngImage& image : bad)
        EXPECT_FALSE(encodePng(image).has_value()) << image.width << "x" << image.height;
}

struct FormatCase {
    const char* name;
    RawPng spec;
    Bytes expectedRgba;
};

std::vector<FormatCase> formatCases()
{
    std::vector<FormatCase> cases;

    RawPng grey;
    grey.width = 3;
    grey.rows = {0, 7, 200};
    grey.transparentColour = png_color_16{0, 0, 0, 0, 7};
    cases.push_back({"grey with a transparent level", grey,
                     {0, 0, 0, 255, 7, 7, 7, 0, 200, 200, 200, 255}});

    RawPng palette;
    palette.width = 4;
    palette.colourType = PNG_COLOR_TYPE_PALETTE;
    palette.bitDepth = 2;
    palette.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
    palette.paletteAlpha = {0, 128};
    palette.rows = {0b00011000};  // indexes 0, 1, 2, 0
    cases.push_back({"2-bit palette with alpha", palette,
                     {10, 20, 30, 0, 40, 50, 60, 128, 70, 80, 90, 255, 10, 20, 30, 0}});

    RawPng bits;
    bits.width = 3;
    bits.height = 2;
    bits.bitDepth = 1;
    bits.rows = {0b10100000, 0b01000000};
    cases.push_back({"1-bit grey", bits,
                     {255, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255,  //
                      0, 0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255}});

    RawPng greyAlpha;
    greyAlpha.width = 2;
    greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.rows = {50, 60, 70, 255};
    cases.push_back({"grey and alpha", greyAlpha, {50, 50, 50, 60, 70, 70, 70, 255}});

    // Scaled by 255 / 65535 and rounded, not cut to the high byte: 257 * k becomes k, 0x00FF
    // becomes 1 and 0xFF00 becomes 254.
    RawPng deep;
    deep.width = 3;
    deep.colourType = PNG_COLOR_TYPE_RGB;
    deep.bitDepth = 16;
    deep.rows = {0xFF, 0xFF, 0x00, 0x00, 0x80, 0x80, 0x01, 0x01, 0x7F, 0x7F,
                 0xFE, 0xFE, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00};
    cases.push_back({"16-bit RGB", deep, {255, 0, 128, 255, 1, 127, 254, 255, 1, 254, 0, 255}});

    RawPng deepAlpha;
    deepAlpha.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    deepAlpha.bitDepth = 16;
    deepAlpha.rows = {0x0A, 0x0A, 0x14, 0x14, 0x1E, 0x1E, 0x28, 0x28};
    cases.push_back({"16-bit RGBA", deepAlpha, {10, 20, 30, 40}});

    RawPng background;
    background.width = 2;
    background.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    background.rows = {1, 2, 3, 0, 4, 5, 6, 255};
    background.background = png_color_16{0, 200, 100, 50, 0};
    cases.push_back({"background under transparent pixels", background,
                     {200, 100, 50, 255, 4, 5, 6, 255}});

    RawPng interlaced;
    interlaced.width = 9;
    interlaced.height = 9;
    interlaced.colourType = PNG_COLOR_TYPE_RGB;
    interlaced.interlaced = true;
    for (int i = 0; i < 9 * 9 * 3; ++i)
        interlaced.rows.push_back(static_cast<std::uint8_t>(i * 7));
    Bytes interlacedRgba;
    for (int i = 0; i < 9 * 9 * 3; ++i) {
        interlacedRgba.push_back(static_cast<std::uint8_t>(i * 7));
        if (i % 3 == 2)
            interlacedRgba.push_back(255);
    }
    cases.push_back({"interlaced RGB", interlaced, interlacedRgba});
    return cases;
}

TEST(PngImage, DecodesEveryFormatToRgba)
{
    for (const FormatCase& c : formatCases()) {
        const auto image = decode(encodeRaw(c.spec));
        ASSERT_TRUE(image.has_value()) << c.name;
        EXPECT_EQ(image->width, c.spec.width) << c.name;
        EXPECT_EQ(image->height, c.spec.height) << c.name;
        EXPECT_EQ(image->rgba, c.expectedRgba) << c.name;
    }
}

TEST(PngImage, AppliesTheScreenGammaWhenTheFileStatesOne)
{
    struct Case {
        std::optional<double> fileGamma;
        int expected;  // 128 on a screen of gamma 2.2
    };
    // A linear file (gamma 1.0) brightens: 255 * (128 / 255) ^ (1 / 2.2) = 186.
    const Case cases[] = {{std::nullopt, 128}, {1.0 / 2.2, 128}, {1.0, 186}};
    for (const Case& c : cases) {
        RawPng spec;
        spec.rows = {128};
        spec.gamma = c.fileGamma;
        const auto image = decode(encodeRaw(spec));
        ASSERT_TRUE(image.has_value());
        EXPECT_NEAR(image->rgba[0], c.expected, 1) << c.fileGamma.value_or(0);
        EXPECT_EQ(image->rgba[3], 255);
    }
}

TEST(PngImage, RefusesImagesLargerThanTheLimit)
{
    RawPng wide;
    wide.width = kMaxPngSide + 1;
    wide.bitDepth = 1;
    wide.rows = Bytes((kMaxPngSide + 8) / 8);
    EXPECT_FALSE(decode(encodeRaw(wide)).has_value());

    RawPng tall;
    tall.height = kMaxPngSide + 1;
    tall.bitDepth = 1;
    tall.rows = Bytes(kMaxPngSide + 1);
    EXPECT_FALSE(decode(encodeRaw(tall)).has_value());

    RawPng largest = tall;
    largest.height = kMaxPngSide;
    largest.rows.pop_back();
    const auto image = decode(encodeRaw(largest));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->rgba.size(), std::size_t{kMaxPngSide} * 4);
}

TEST(PngImage, RefusesEveryTruncatedFile)
{
    const auto whole = encodePng(sampleImage(5, 4));
    ASSERT_TRUE(whole.has_value());
    const Bytes bytes = asBytes(*whole);
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(decodePng(std::span(bytes.data(), size)).has_value()) << size;
    EXPECT_TRUE(decode(bytes).has_value());
}

TEST(PngImage, SurvivesRandomAndDamagedBytes)
{
    std::mt19937 random(20240317);
    std::uniform_int_distribution<int> byte(0, 255);
    const Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (int round = 0; round < 300; ++round) {
        Bytes noise(static_cast<std::size_t>(round) * 3);
        for (std::uint8_t& b : noise)
            b = static_cast<std::uint8_t>(byte(random));
        if (round % 2 == 1)
            noise.insert(noise.begin(), signature.begin(), signature.end());
        EXPECT_FALSE(decode(noise).has_value()) << round;
    }

    // Damage a valid file a few bytes at a time; whatever decodes must be whole.
    const Bytes valid = asBytes(*encodePng(sampleImage(7, 6)));
    std::uniform_int_distribution<std::size_t> position(8, valid.size() - 1);
    for (int round = 0; round < 2000; ++round) {
        Bytes damaged = valid;
        for (int i = 0; i <= round % 4; ++i)
            damaged[position(random)] = static_cast<std::uint8_t>(byte(random));
        if (const auto image = decode(damaged)) {
            EXPECT_EQ(image->rgba.size(), std::size_t(image->width) * image->height * 4);
        }
    }
}

}  // namespace
