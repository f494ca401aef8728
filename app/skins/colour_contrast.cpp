#include "colour_contrast.h"

#include <algorithm>
#include <cmath>

namespace colourContrast {

namespace {

int channel(std::uint32_t colour, int shift)
{
    return static_cast<int>((colour >> shift) & 0xFF);
}

std::uint32_t pack(int red, int green, int blue)
{
    return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue) << 16;
}

double linear(int value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// `colour` moved a fraction t (0..1) of the way to `target`.
std::uint32_t mix(std::uint32_t colour, std::uint32_t target, double t)
{
    const auto blend = [&](int shift) {
        return static_cast<int>(
            std::lround(channel(colour, shift) + (channel(target, shift) - channel(colour, shift)) * t));
    };
    return pack(blend(0), blend(8), blend(16));
}

}  // namespace

double relativeLuminance(std::uint32_t colour)
{
    return 0.2126 * linear(channel(colour, 0)) + 0.7152 * linear(channel(colour, 8)) +
           0.0722 * linear(channel(colour, 16));
}

double contrastRatio(std::uint32_t a, std::uint32_t b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::uint32_t legibleOn(std::uint32_t background, std::uint32_t preferred)
{
    if (contrastRatio(background, preferred) >= kMinimumTextContrast)
        return preferred;
    constexpr std::uint32_t kWhite = 0xFFFFFF;
    constexpr std::uint32_t kBlack = 0x000000;
    // Towards whichever extreme contrasts more with the background; one of the two always
    // reaches 4.5, since white and black differ by 21.
    const std::uint32_t target =
        contrastRatio(background, kWhite) >= contrastRatio(background, kBlack) ? kWhite : kBlack;
    double low = 0.0;
    double high = 1.0;
    for (int step = 0; step < 20; ++step) {
        const double t = (low + high) / 2;
        (contrastRatio(background, mix(preferred, target, t)) >= kMinimumTextContrast ? high : low) = t;
    }
    return mix(preferred, target, high);
}

}  // namespace colourContrast
