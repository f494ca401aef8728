#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "input_mode.h"
#include "keypads.h"

// What the keys of the keypads show: the label and, in orange, the second function that shift
// or tap-and-hold selects. The skin generator draws these, the window hit-tests the same grid.
struct KeyFace {
    std::u16string_view label;
    std::u16string_view second;
};

// Grid sizes of the keypad images.
struct KeypadGrid {
    int columns;
    int rows;
};
// Function keypads: two rows of six category keys and the row of editing keys.
constexpr KeypadGrid kFunctionKeypadGrid{6, 3};
constexpr KeypadGrid kBasicPortraitGrid{5, 4};
constexpr KeypadGrid kBasicLandscapeGrid{kLandscapeBasicColumns, kLandscapeBasicRows};

// Keys that do something other than send a key code.
enum class KeypadSpecial { Shift, CalculusList, MatrixWindow, StatisticsWindow, TvmWindow, LoanWindow, MortgageWindow };

constexpr int kFunctionKeypadFaceCount = 18;
std::array<KeyFace, kFunctionKeypadFaceCount> functionKeypadFaces(int category);
std::optional<KeypadSpecial> functionKeypadSpecial(int category, int position);
// The key code of any function keypad position: the category keys, then the editing row.
std::optional<int> functionKeypadPositionCode(int category, int position, bool shifted, int radixCode);

KeyFace basicKeypadFace(Orientation orientation, int position);

// A key whose meaning follows the input mode gets its face drawn over the skin's label, and its
// own tooltip. In "Basic-RPN" the "(" key ends the number being typed so that the next one goes
// on the stack above it: it reads "Enter", or "ENT" where that is too wide. Nothing for a key
// that keeps its drawn label.
struct ModeKeyFace {
    std::u16string_view label;
    std::u16string_view shortLabel;
    std::u16string_view tooltip;
};
std::optional<ModeKeyFace> modeKeyFace(InputMode mode, int code);

// How many grid cells each basic key covers, by position: twin keys side by side (the
// landscape pad's two clear keys) are drawn as one wide key, whose first cell counts them all
// and whose other cells count 0.
std::vector<int> basicKeypadSpans(Orientation orientation);
