#pragma once

#include <QSoundEffect>

#include <filesystem>
#include <optional>

// Plays the key sound without waiting for it. No audio device, a missing file or a file that
// does not play mean silence, never a message.
class KeySoundPlayer {
public:
    void play(const std::optional<std::filesystem::path>& path);

private:
    QSoundEffect effect_;
    std::filesystem::path loaded_;
};
