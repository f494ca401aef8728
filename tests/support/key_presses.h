#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "key_codes.h"
#include "keyboard_map.h"

// Key presses written as the user types them: keys("7+3*4=") gives the codes of the keys
// 7 + 3 × 4 =, as the desktop keyboard maps those characters ("=" is the equals key, Escape
// "C" and backspace cursor-left then delete). Keys without a character join in by code:
// keys(KeyCode::kRadixHex, "1+", KeyCode::kHexF, "=").
namespace keyPresses {

inline void append(std::vector<int>& codes, int code)
{
    codes.push_back(code);
}

inline void append(std::vector<int>& codes, std::string_view typed)
{
    for (const char c : typed) {
        const TypedKeyResult result = mapDesktopCharacter(static_cast<char16_t>(c), TypedKeyContext{});
        if (result.kind == TypedKeyResult::Kind::Evaluate)
            codes.push_back(KeyCode::kEquals);
        else if (result.kind == TypedKeyResult::Kind::Codes)
            codes.insert(codes.end(), result.codes.begin(), result.codes.end());
        else
            ADD_FAILURE() << "no key types '" << c << "'";
    }
}

}  // namespace keyPresses

// The key whose tokens read text on the line: keyInserting(u"sin(") is the sine key.
inline int keyInserting(std::u16string_view text)
{
    for (int code = 0; code < KeyCode::kCount; ++code) {
        std::u16string inserted;
        for (std::u16string_view token : insertedTokens(code, OutputFormat::UnitedStates))
            inserted += token;
        if (inserted == text)
            return code;
    }
    ADD_FAILURE() << "no key inserts that text";
    return -1;
}

template <typename... Parts>
std::vector<int> keys(const Parts&... parts)
{
    std::vector<int> codes;
    (keyPresses::append(codes, parts), ...);
    return codes;
}
