#pragma once

#include <QImage>

#include <map>
#include <string>

#include "program_folder.h"
#include "skin.h"

// The skin's images decoded for drawing, at one scale. Falls back to the default skin when the
// chosen one cannot be loaded.
class SkinPixmaps {
public:
    // Loads skinFileName, or "Default.inf" when that fails, from the program folder and then
    // from the shipped files. Returns false when none loads.
    bool load(const ProgramFolder& folder, std::u16string_view skinFileName, int scale, bool square);
    // The decoded image of a key, or a null image when the skin has none or it cannot be read.
    QImage image(std::string_view key) const;
    const SkinColours& colours() const { return skin_.colours(); }

private:
    Skin skin_;
    std::map<std::string, QImage, std::less<>> images_;
};
