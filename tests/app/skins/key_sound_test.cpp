#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "atomic_file.h"
#include "key_sound.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

TEST(KeySound, PathFollowsThePreferences)
{
    TempFolder temp;
    const ProgramFolder folder(temp.path(), temp.path());
    fs::create_directories(temp.path() / "Sounds");
    ASSERT_TRUE(writeFileAtomically(temp.path() / "Sounds" / "Click.WAV", ""));
    const struct {
        bool enabled;
        const char16_t* name;
        const char* expected;  // inside Sounds, or null for no sound
    } cases[] = {
        {true, u"Sound 01.wav", "Sound 01.wav"},
        {true, u"click.wav", "Click.WAV"},
        {false, u"Sound 01.wav", nullptr},
        {true, u"", nullptr},
    };
    for (const auto& c : cases) {
        Preferences preferences;
        preferences.soundEnabled = c.enabled;
        preferences.soundName = c.name;
        const auto path = keySoundPath(folder, preferences);
        EXPECT_EQ(path, c.expected ? std::optional(temp.path() / "Sounds" / c.expected) : std::nullopt);
    }
}

TEST(KeySound, ClickIsAShortDecayingPcmWave)
{
    TempFolder temp;
    ASSERT_TRUE(writeClickWav(temp.path() / "Sound 01.wav"));
    std::string wav;
    ASSERT_TRUE(readWholeFile(temp.path() / "Sound 01.wav", wav));
    EXPECT_EQ(wav, makeClickWav());

    // 551 samples (25 ms at 22050 Hz) of 16-bit mono PCM: 1102 data bytes, 1138 after "RIFF".
    const std::string header(
        "RIFF\x72\x04\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0"
        "\x44\xAC\0\0\x02\0\x10\0data\x4E\x04\0\0",
        44);
    ASSERT_EQ(wav.size(), 44u + 1102u);
    EXPECT_EQ(wav.substr(0, 44), header);

    const auto sample = [&](int i) {
        const auto low = static_cast<std::uint8_t>(wav[44 + 2 * i]);
        const auto high = static_cast<std::uint8_t>(wav[45 + 2 * i]);
        return std::abs(static_cast<std::int16_t>(low | high << 8));
    };
    int loudest = 0;
    for (int i = 0; i < 22; ++i)
        loudest = std::max(loudest, sample(i));
    EXPECT_GT(loudest, 8000) << "loud in the first millisecond";
    for (int i = kClickSampleCount - 50; i < kClickSampleCount; ++i)
        EXPECT_LE(sample(i), 10) << "silent at the end: " << i;
}

}  // namespace
