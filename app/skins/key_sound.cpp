#include "key_sound.h"

#include <cmath>
#include <cstdint>
#include <numbers>

#include "atomic_file.h"
#include "skin.h"
#include "utf16.h"

namespace fs = std::filesystem;

std::optional<fs::path> keySoundPath(const ProgramFolder& folder, const Preferences& preferences)
{
    if (!preferences.soundEnabled || preferences.soundName.empty())
        return std::nullopt;
    return findFileIgnoringCase(folder.file("Sounds"), toUtf8(preferences.soundName));
}

namespace {

void appendLittleEndian(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A fixed linear congruential generator rather than std::rand or a standard engine's
// distribution, whose output may differ between libraries.
class ClickNoise {
public:
    double next()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
    }

private:
    std::uint32_t state_ = 0x2545F491u;
};

}  // namespace

std::string makeClickWav()
{
    constexpr int kChannels = 1;
    constexpr int kBytesPerSample = 2;
    constexpr std::uint32_t kDataBytes = kClickSampleCount * kChannels * kBytesPerSample;
    // The burst falls by e every 3 ms: inaudible well before the 25 ms end, so no tail click.
    constexpr double kDecaySeconds = 0.003;
    constexpr double kToneHertz = 2400.0;
    constexpr double kPeak = 0.7 * 32767.0;

    std::string wav;
    wav.reserve(44 + kDataBytes);
    wav += "RIFF";
    appendLittleEndian(wav, 36 + kDataBytes, 4);
    wav += "WAVEfmt ";
    appendLittleEndian(wav, 16, 4);  // size of the format chunk
    appendLittleEndian(wav, 1, 2);   // PCM
    appendLittleEndian(wav, kChannels, 2);
    appendLittleEndian(wav, kClickSampleRate, 4);
    appendLittleEndian(wav, kClickSampleRate * kChannels * kBytesPerSample, 4);
    appendLittleEndian(wav, kChannels * kBytesPerSample, 2);
    appendLittleEndian(wav, 8 * kBytesPerSample, 2);
    wav += "data";
    appendLittleEndian(wav, kDataBytes, 4);

    ClickNoise noise;
    for (int i = 0; i < kClickSampleCount; ++i) {
        const double t = static_cast<double>(i) / kClickSampleRate;
        const double tone = std::sin(2.0 * std::numbers::pi * kToneHertz * t);
        const double sample = kPeak * std::exp(-t / kDecaySeconds) * (0.6 * noise.next() + 0.4 * tone);
        const auto value = static_cast<std::int16_t>(std::lround(sample));
        appendLittleEndian(wav, static_cast<std::uint16_t>(value), 2);
    }
    return wav;
}

bool writeClickWav(const fs::path& path)
{
    return writeFileAtomically(path, makeClickWav());
}
