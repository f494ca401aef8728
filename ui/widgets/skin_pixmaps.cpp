#include "skin_pixmaps.h"

#include <cstring>

#include "png_image.h"

namespace {

QImage toQImage(const PngImage& png)
{
    QImage image(png.width, png.height, QImage::Format_RGBA8888);
    const std::size_t rowBytes = static_cast<std::size_t>(png.width) * 4;
    for (int y = 0; y < png.height; ++y)
        std::memcpy(image.scanLine(y), png.rgba.data() + static_cast<std::size_t>(y) * rowBytes, rowBytes);
    return image;
}

}  // namespace

bool SkinPixmaps::load(const ProgramFolder& folder, std::u16string_view skinFileName, int scale, bool square)
{
    const bool highResolution = scale >= 2;
    // A program folder that could not be filled (read-only, full) still has the shipped skin.
    const ProgramFolder shipped(folder.shippedPath(), folder.shippedPath());
    if (!skin_.load(folder, skinFileName, highResolution, square) &&
        !skin_.load(folder, u"Default.inf", highResolution, square) &&
        !skin_.load(shipped, u"Default.inf", highResolution, square))
        return false;
    images_.clear();
    for (const auto& [key, path] : skin_.images()) {
        if (const std::optional<PngImage> png = readPng(path))
            images_.emplace(key, toQImage(*png));
    }
    return true;
}

QImage SkinPixmaps::image(std::string_view key) const
{
    const auto found = images_.find(key);
    return found == images_.end() ? QImage() : found->second;
}
