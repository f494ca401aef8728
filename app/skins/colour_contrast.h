#pragma once

#include <cstdint>

// Text legibility by the WCAG 2 measure: the contrast ratio of two colours runs from 1 (the
// same colour) to 21 (black on white); body text needs at least 4.5. Colours are packed as the
// skin packs them, R | G<<8 | B<<16.
namespace colourContrast {

inline constexpr double kMinimumTextContrast = 4.5;

double relativeLuminance(std::uint32_t colour);
double contrastRatio(std::uint32_t a, std::uint32_t b);

// The preferred colour when it is legible on `background`; otherwise the preferred colour
// moved towards white or black (whichever is legible) just far enough to reach the minimum.
std::uint32_t legibleOn(std::uint32_t background, std::uint32_t preferred);

}  // namespace colourContrast
