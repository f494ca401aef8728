#pragma once

// The default skin's layout: colours, metrics, the labels of the keypads that no calculator
// table describes, and one row per image. All sizes are in scale-1 pixels.

#include <array>
#include <string_view>

#include "keypad_faces.h"
#include "tool_keypads.h"

namespace skin_plan {

struct Rgb {
    int red;
    int green;
    int blue;
};

struct Palette {
    Rgb backdrop;      // between and around the keys
    Rgb digitFace;     // digits, decimal point, sign
    Rgb functionFace;  // the category keys of the function keypads
    Rgb operatorFace;  // arithmetic operators and memory keys
    Rgb editFace;      // parentheses, comma, cursor keys
    Rgb dangerFace;    // clear and delete
    Rgb accentFace;    // "=" and "OK"
    Rgb label;
    Rgb dimLabel;
    Rgb second;  // second functions (shift or tap-and-hold)
    Rgb panel;
    Rgb panelBorder;
    Rgb list;
    Rgb listBorder;
    Rgb display;
    Rgb displayText;
};

enum class KeyStyle { Digit, Function, Shift, Operator, Edit, Danger, Accent };

// A key as the generator draws it: its labels and its face's style.
struct GridKey {
    std::u16string_view label;
    std::u16string_view second;
    KeyStyle style;
};

struct Metrics {
    int keyInset;  // half the gap between two keys
    int keyRadius;
    int keyBorder;
    double borderLift;   // a key's border is its face mixed this much toward white
    double faceSheen;    // the top of a face is this much lighter than its bottom
    int labelMargin;     // kept free on each side of a label
    int minLabelPixels;  // labels shrink down to this before they are reported as too long
    int secondTop;       // from a key's top to its second label's cap line
    int panelRadius;
    int panelHandleWidth;
    int panelHandleHeight;
    int panelHandleTop;
    int listArrowSide;  // one button of the list's arrow strip
    int listArrowHalfWidth;
    int logoMarkLeft;
    int logoMarkSide;
    int logoMarkRadius;
    int logoMarkPad;
    int logoMarkDot;
    int logoTextGap;
    int logoTextPixels;
    int previewDisplayHeight;
    int previewFunctionRowHeight;
    int previewBasicRowHeight;
    int previewLabelPixels;
    int previewIndicatorPixels;
    int previewResultPixels;
};

struct Layout {
    Palette palette;
    Metrics metrics;
    std::string_view fontFamily;
    std::string_view condensedFontFamily;  // tried before a long label is made smaller
    // "BoderColor0".."BoderColor4", then the edit box and the list box frames.
    std::array<Rgb, kSkinColourKeys.size()> frameColours;
};

constexpr Palette kPalette{
    .backdrop = {21, 23, 28},
    .digitFace = {58, 63, 75},
    .functionFace = {42, 46, 55},
    .operatorFace = {40, 58, 82},
    .editFace = {33, 36, 43},
    .dangerFace = {96, 42, 48},
    .accentFace = {38, 104, 180},
    .label = {241, 243, 246},
    .dimLabel = {138, 147, 163},
    .second = {255, 159, 67},
    .panel = {31, 34, 41},
    .panelBorder = {60, 66, 80},
    .list = {24, 27, 32},
    .listBorder = {60, 66, 80},
    .display = {14, 16, 19},
    .displayText = {230, 237, 243},
};

constexpr Layout kLayout{
    .palette = kPalette,
    .metrics = {.keyInset = 1,
                .keyRadius = 4,
                .keyBorder = 1,
                .borderLift = 0.14,
                .faceSheen = 0.06,
                .labelMargin = 2,
                .minLabelPixels = 7,
                .secondTop = 2,
                .panelRadius = 8,
                .panelHandleWidth = 32,
                .panelHandleHeight = 4,
                .panelHandleTop = 6,
                .listArrowSide = 16,
                .listArrowHalfWidth = 4,
                .logoMarkLeft = 2,
                .logoMarkSide = 24,
                .logoMarkRadius = 6,
                .logoMarkPad = 4,
                .logoMarkDot = 4,
                .logoTextGap = 5,
                .logoTextPixels = 17,
                .previewDisplayHeight = 40,
                .previewFunctionRowHeight = 12,
                .previewBasicRowHeight = 21,
                .previewLabelPixels = 9,
                .previewIndicatorPixels = 7,
                .previewResultPixels = 14},
    .fontFamily = "DejaVu Sans",
    .condensedFontFamily = "DejaVu Sans Condensed",
    .frameColours = {{kPalette.backdrop, kPalette.functionFace, kPalette.panelBorder, kPalette.dimLabel,
                      kPalette.second, kPalette.accentFace, kPalette.listBorder}},
};

enum class Art {
    Keys,     // opaque keypad: faces and labels
    Buttons,  // opaque keypad: faces only
    Labels,   // transparent labels drawn over a Buttons image
    ToolsPanel,
    ToolsPanelMask,
    ListBox,
    ListBoxButtons,
    Logo,
    SkinPreview,
};

enum class Keypad {
    None,
    BasicPortrait,
    BasicLandscape,
    Function,
    DateTime,
    NumberPad,
    GraphOperators,
    Formula,
};

struct ImagePlan {
    std::string_view key;
    std::string_view file;  // the scale-1 name; scale 2 inserts "_VGA" before ".png"
    int width;
    int height;
    Art art;
    Keypad keypad = Keypad::None;
    int category = 0;  // of a function keypad
    KeypadGrid grid = {0, 0};
    int labelPixels = 0;
    int secondPixels = 0;
};

// The tool panels' keypads: the grids and labels of their tables (tool_keypads.h).
constexpr KeypadGrid kNumberPadGrid = toolKeypads::kNumberPadGrid;
constexpr KeypadGrid kDateTimeGrid = toolKeypads::kDateTimeGrid;
constexpr KeypadGrid kGraphOperatorGrid = toolKeypads::kGraphOperatorGrid;
constexpr KeypadGrid kFormulaGrid = toolKeypads::kFormulaGrid;

// Keys sharing a file share one image: "SmallFonts" and "SmallFontsGeneral" show the arithmetic
// labels, and the equation solver's pad takes the faces that its "LargeFonts" labels fit.
constexpr auto kImages = std::to_array<ImagePlan>({
    {"NumberKeyboard", "number_keyboard.png", 240, 128, Art::Keys, Keypad::BasicPortrait, 0, kBasicPortraitGrid, 15, 8},
    {"Keyboard", "keyboard.png", 168, 120, Art::Keys, Keypad::BasicLandscape, 0, kBasicLandscapeGrid, 14, 8},
    {"SmallButtons", "small_buttons.png", 240, 72, Art::Buttons, Keypad::Function, 0, kFunctionKeypadGrid},
    {"SmallFonts", "small_fonts_arithmetic.png", 240, 72, Art::Labels, Keypad::Function, CategoryCode::kArithmetic,
     kFunctionKeypadGrid, 11, 8},
    {"SmallFontsArithmetic", "small_fonts_arithmetic.png", 240, 72, Art::Labels, Keypad::Function,
     CategoryCode::kArithmetic, kFunctionKeypadGrid, 11, 8},
    {"SmallFontsGeonometry", "small_fonts_trigonometry.png", 240, 72, Art::Labels, Keypad::Function,
     CategoryCode::kTrigonometry, kFunctionKeypadGrid, 11, 8},
    {"SmallFontsBaseConversion", "small_fonts_base_conversion.png", 240, 72, Art::Labels, Keypad::Function,
     CategoryCode::kBaseConversion, kFunctionKeypadGrid, 11, 8},
    {"SmallFontsStatistics", "small_fonts_statistics.png", 240, 72, Art::Labels, Keypad::Function,
     CategoryCode::kStatistics, kFunctionKeypadGrid, 11, 8},
    {"SmallFontsMatrix", "small_fonts_matrix.png", 240, 72, Art::Labels, Keypad::Function, CategoryCode::kMatrices,
     kFunctionKeypadGrid, 11, 8},
    {"SmallFontsFinance", "small_fonts_finance.png", 240, 72, Art::Labels, Keypad::Function, CategoryCode::kFinance,
     kFunctionKeypadGrid, 11, 8},
    {"SmallFontsGeneral", "small_fonts_arithmetic.png", 240, 72, Art::Labels, Keypad::Function,
     CategoryCode::kArithmetic, kFunctionKeypadGrid, 11, 8},
    {"ToolsPanel", "tools_panel.png", 240, 200, Art::ToolsPanel},
    {"ToolsPanelMask", "tools_panel_mask.png", 240, 200, Art::ToolsPanelMask},
    {"ListBox", "list_box.png", 200, 160, Art::ListBox},
    {"ListBoxButtons", "list_box_buttons.png", 32, 16, Art::ListBoxButtons},
    {"Logo", "logo.png", 96, 32, Art::Logo},
    {"SkinPreview", "skin_preview.png", 120, 160, Art::SkinPreview},
    {"DateTime", "date_time.png", 240, 72, Art::Keys, Keypad::DateTime, 0, kDateTimeGrid, 12, 8},
    {"NumberKeyboardFunctions", "number_pad_buttons.png", 240, 128, Art::Buttons, Keypad::NumberPad, 0, kNumberPadGrid},
    {"LargeButtons", "number_pad_buttons.png", 240, 128, Art::Buttons, Keypad::NumberPad, 0, kNumberPadGrid},
    {"LargeFonts", "number_pad_labels.png", 240, 128, Art::Labels, Keypad::NumberPad, 0, kNumberPadGrid, 15, 8},
    {"LargeButtonsSquare", "number_pad_square_buttons.png", 240, 100, Art::Buttons, Keypad::NumberPad, 0,
     kNumberPadGrid},
    {"LargeFontsSquare", "number_pad_square_labels.png", 240, 100, Art::Labels, Keypad::NumberPad, 0, kNumberPadGrid,
     13, 8},
    {"GraphOperators", "graph_operators.png", 240, 48, Art::Keys, Keypad::GraphOperators, 0, kGraphOperatorGrid, 12, 8},
    {"FormulaButtons", "formula_buttons.png", 240, 24, Art::Keys, Keypad::Formula, 0, kFormulaGrid, 11, 8},
});

constexpr std::string_view kSkinFile = "Default.inf";
// On a high-resolution screen the lookup asks for "colors_VGA.txt": both are written.
constexpr std::string_view kColourFile = "colors.txt";
constexpr std::array<int, 2> kScales = {1, 2};

}  // namespace skin_plan
