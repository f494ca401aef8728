// PNG images of skins: any bytes decode without harm, and a decoded image encodes and decodes
// back to the same pixels.
#include "fuzz_support.h"
#include "png_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<PngImage> image = decodePng({data, size});
    // The round trip of huge images costs seconds each; their decoding is what matters.
    if (!image || static_cast<long>(image->width) * image->height > 1 << 20)
        return 0;
    const std::optional<std::string> encoded = encodePng(*image);
    fuzz::check(encoded.has_value(), "a decoded image encodes");
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(encoded->data());
    const std::optional<PngImage> back = decodePng({bytes, encoded->size()});
    fuzz::check(back && back->width == image->width && back->height == image->height && back->rgba == image->rgba,
                "an encoded image decodes to the same pixels");
    return 0;
}
