#pragma once

#include <string_view>

#include "preferences.h"

// The three input modes by their preference texts.
enum class InputMode { StringStandard, BasicStandard, BasicRpn };

constexpr InputMode inputModeFromName(std::u16string_view name)
{
    if (name == kInputBasicStandard)
        return InputMode::BasicStandard;
    if (name == kInputBasicRpn)
        return InputMode::BasicRpn;
    return InputMode::StringStandard;
}
