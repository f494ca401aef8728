#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "preferences.h"
#include "program_folder.h"

// The wave file that a key press plays: "Sounds/<soundName>" in the program folder (matched
// ignoring case, like the skins), or nothing when sound is off or no sound is named. Whether
// the file exists is the player's business: a failure to play is ignored.
std::optional<std::filesystem::path> keySoundPath(const ProgramFolder& folder, const Preferences& preferences);

// The shipped key click: 25 ms of 16-bit mono PCM at 22050 Hz, a noise and sine burst that
// decays from the first sample. The same bytes on every run.
inline constexpr int kClickSampleRate = 22050;
inline constexpr int kClickSampleCount = kClickSampleRate / 40;
std::string makeClickWav();

// makeClickWav written to path through a temporary file and a rename. False on failure.
bool writeClickWav(const std::filesystem::path& path);
