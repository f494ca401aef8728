#include "key_sound_player.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QUrl>

void KeySoundPlayer::play(const std::optional<std::filesystem::path>& path)
{
    if (!path || QMediaDevices::audioOutputs().isEmpty())
        return;
    if (*path != loaded_) {
        effect_.setSource(QUrl::fromLocalFile(QString::fromStdString(path->string())));
        loaded_ = *path;
    }
    effect_.play();
}
