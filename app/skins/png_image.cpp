#include "png_image.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>

#include "atomic_file.h"

// libpng reports errors by longjmp to the setjmp in its caller. A longjmp must not skip a C++
// destructor, so every function below that calls setjmp keeps only trivial locals and holds its
// buffers in a session object that belongs to its caller; the callbacks have no locals that
// need destroying either.

namespace {

constexpr double kScreenGamma = 2.2;
constexpr png_alloc_size_t kMaxChunkBytes = 8u * 1024u * 1024u;

void failQuietly(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp)
{
}

struct MemorySource {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
};

void readFromMemory(png_structp png, png_bytep out, size_t length)
{
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (length > source->size - source->position)
        png_error(png, "truncated");
    std::memcpy(out, source->data + source->position, length);
    source->position += length;
}

struct ReadSession {
    png_structp png = nullptr;
    png_infop info = nullptr;
    MemorySource source;
    PngImage image;
    std::vector<png_bytep> rows;

    ReadSession() = default;
    ReadSession(const ReadSession&) = delete;
    ReadSession& operator=(const ReadSession&) = delete;
    ~ReadSession() { png_destroy_read_struct(&png, &info, nullptr); }
};

// Asks libpng for 8-bit RGBA whatever the file holds.
void requestRgba8(png_structp png, png_infop info)
{
    const png_byte colourType = png_get_color_type(png, info);
    const png_byte bitDepth = png_get_bit_depth(png, info);
    if (bitDepth == 16)
        png_set_scale_16(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0)
        png_set_tRNS_to_alpha(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_color_16p background = nullptr;
    if (png_get_bKGD(png, info, &background) != 0)
        png_set_background(png, background, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
    double fileGamma = 0;
    if (png_get_gAMA(png, info, &fileGamma) != 0)
        png_set_gamma(png, kScreenGamma, fileGamma);
    // Opaque images, and images composed over their background, get an opaque alpha byte.
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

bool decodeInto(ReadSession& session)
{
    png_structp png = session.png;
    png_infop info = session.info;
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, &session.source, readFromMemory);
    png_set_user_limits(png, kMaxPngSide, kMaxPngSide);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_read_info(png, info);
    requestRgba8(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (width == 0 || height == 0 || width > kMaxPngSide || height > kMaxPngSide || png_get_bit_depth(png, info) != 8 ||
        png_get_channels(png, info) != 4 || png_get_rowbytes(png, info) != std::size_t{width} * 4)
        return false;
    session.image.width = static_cast<int>(width);
    session.image.height = static_cast<int>(height);
    session.image.rgba.resize(std::size_t{width} * height * 4);
    session.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        session.rows[y] = session.image.rgba.data() + std::size_t{y} * width * 4;
    png_read_image(png, session.rows.data());
    // Reading to the end checks the rest of the file, so a truncated file is refused even when
    // its pixels are all there.
    png_read_end(png, nullptr);
    return true;
}

void writeToString(png_structp png, png_bytep data, size_t length)
{
    bool stored = true;
    try {
        static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
    } catch (const std::bad_alloc&) {
        stored = false;
    }
    if (!stored)
        png_error(png, "out of memory");
}

void flushNothing(png_structp)
{
}

struct WriteSession {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::string bytes;

    WriteSession() = default;
    WriteSession(const WriteSession&) = delete;
    WriteSession& operator=(const WriteSession&) = delete;
    ~WriteSession() { png_destroy_write_struct(&png, &info); }
};

bool encodeInto(WriteSession& session, const PngImage& image)
{
    png_structp png = session.png;
    png_infop info = session.info;
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &session.bytes, writeToString, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t stride = static_cast<std::size_t>(image.width) * 4;
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, image.rgba.data() + static_cast<std::size_t>(y) * stride);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

std::optional<PngImage> decodePng(std::span<const std::uint8_t> bytes)
{
    try {
        ReadSession session;
        session.source = {bytes.data(), bytes.size(), 0};
        session.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failQuietly, ignoreWarning);
        if (session.png == nullptr)
            return std::nullopt;
        session.info = png_create_info_struct(session.png);
        if (session.info == nullptr || !decodeInto(session))
            return std::nullopt;
        return std::move(session.image);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<PngImage> readPng(const std::filesystem::path& path)
{
    std::string bytes;
    if (!readWholeFile(path, bytes))
        return std::nullopt;
    return decodePng(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::optional<std::string> encodePng(const PngImage& image)
{
    if (image.width <= 0 || image.height <= 0 || image.width > kMaxPngSide || image.height > kMaxPngSide ||
        image.rgba.size() != static_cast<std::size_t>(image.width) * image.height * 4)
        return std::nullopt;
    try {
        WriteSession session;
        session.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failQuietly, ignoreWarning);
        if (session.png == nullptr)
            return std::nullopt;
        session.info = png_create_info_struct(session.png);
        if (session.info == nullptr || !encodeInto(session, image))
            return std::nullopt;
        return std::move(session.bytes);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

bool writePng(const std::filesystem::path& path, const PngImage& image)
{
    const auto bytes = encodePng(image);
    return bytes && writeFileAtomically(path, *bytes);
}
