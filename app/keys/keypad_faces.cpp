#include "keypad_faces.h"

#include "key_codes.h"

namespace {

using Faces = std::array<KeyFace, kFunctionKeypadFaceCount>;

constexpr Faces kArithmetic = {{
    {u"SHIFT", u""},
    {u"f(x)", u""},
    {u"", u"x"},
    {u"i", u"ran"},
    {u"gcd", u"lcm"},
    {u"EXP", u"mod"},
    {u"log", u"10\u02E3"},
    {u"ln", u"e\u02E3"},
    {u"x\u02B8", u"\u02E3\u221Ay"},
    {u"x\u00B2", u"\u221A"},
    {u"x\u00B3", u"\u221B"},
    {u"n!", u"%"},
    {u"(", u""},
    {u")", u""},
    {u",", u""},
    {u"DEL", u""},
    {u"\u25C0", u""},
    {u"\u25B6", u""},
}};

constexpr Faces kTrigonometry = {{
    {u"SHIFT", u""},
    {u"", u""},
    {u"DRG", u""},
    {u"sinh", u"asinh"},
    {u"cosh", u"acosh"},
    {u"tanh", u"atanh"},
    {u"sin", u"asin"},
    {u"cos", u"acos"},
    {u"tan", u"atan"},
    {u"csc", u"acsc"},
    {u"sec", u"asec"},
    {u"\u03C0", u"1/x"},
    {u"(", u""},
    {u")", u""},
    {u",", u""},
    {u"DEL", u""},
    {u"\u25C0", u""},
    {u"\u25B6", u""},
}};

constexpr Faces kBaseConversion = {{
    {u"WS", u""},
    {u"SHIFT", u""},
    {u"RDX", u""},
    {u"and", u"nand"},
    {u"or", u"nor"},
    {u"xor", u"mod"},
    {u"A", u"shl"},
    {u"B", u"shr"},
    {u"C", u"rtl"},
    {u"D", u"rtr"},
    {u"E", u"not"},
    {u"F", u"cpl"},
    {u"(", u""},
    {u")", u""},
    {u",", u""},
    {u"DEL", u""},
    {u"\u25C0", u""},
    {u"\u25B6", u""},
}};

constexpr Faces kStatistics = {{
    {u"SHIFT", u""},
    {u"DATA", u""},
    {u"", u""},
    {u"", u""},
    {u"n", u""},
    {u"nCr", u"nPr"},
    {u"\u03A3x", u"\u03A3x\u00B2"},
    {u"\u03C3n", u"\u03C3n-1"},
    {u"mean", u"med"},
    {u"avd", u"mode"},
    {u"dsq", u"gm"},
    {u"min", u"max"},
    {u"(", u""},
    {u")", u""},
    {u",", u""},
    {u"DEL", u""},
    {u"\u25C0", u""},
    {u"\u25B6", u""},
}};

constexpr Faces kMatrices = {{
    {u"SHIFT", u""},
    {u"MAT", u""},
    {u"det", u""},
    {u"inv", u""},
    {u"eigv", u""},
    {u"eigl", u""},
    {u"orth", u""},
    {u"rank", u""},
    {u"trans", u""},
    {u"diag", u""},
    {u"tri", u""},
    {u"solve", u""},
    {u"(", u""},
    {u")", u""},
    {u",", u""},
    {u"DEL", u""},
    {u"\u25C0", u""},
    {u"\u25B6", u""},
}};

constexpr Faces kFinance = {{
    {u"SHIFT", u""},
    {u"TVM", u""},
    {u"Loan", u""},
    {u"Mortg.", u""},
    {u"syd", u""},
    {u"sln", u""},
    {u"fv", u""},
    {u"pv", u""},
    {u"nper", u""},
    {u"pmt", u""},
    {u"rate", u""},
    {u"db", u""},
    {u"(", u""},
    {u")", u""},
    {u",", u""},
    {u"DEL", u""},
    {u"\u25C0", u""},
    {u"\u25B6", u""},
}};

// Labels of the basic keypad in key-code order ("~" is the sign key).
constexpr std::array<KeyFace, 20> kBasic = {{
    {u"7", u""}, {u"8", u""}, {u"9", u""},      {u"\u00F7", u""}, {u"C", u""},
    {u"4", u""}, {u"5", u""}, {u"6", u""},      {u"\u00D7", u""}, {u"M", u"M\u25B8"},
    {u"1", u""}, {u"2", u""}, {u"3", u""},      {u"\u2212", u""}, {u"R", u"MC"},
    {u"0", u""}, {u".", u""}, {u"\u00B1", u""}, {u"+", u""},      {u"=", u"ans"},
}};

constexpr int kShiftPosition = 0;
constexpr int kBaseShiftPosition = 1;
// The first key after SHIFT opens each category's list or window.
constexpr int kCalculusListPosition = 1;

}  // namespace

std::array<KeyFace, kFunctionKeypadFaceCount> functionKeypadFaces(int category)
{
    switch (category) {
    case CategoryCode::kTrigonometry: return kTrigonometry;
    case CategoryCode::kBaseConversion: return kBaseConversion;
    case CategoryCode::kStatistics: return kStatistics;
    case CategoryCode::kMatrices: return kMatrices;
    case CategoryCode::kFinance: return kFinance;
    default: return kArithmetic;
    }
}

std::optional<KeypadSpecial> functionKeypadSpecial(int category, int position)
{
    if (category < CategoryCode::kArithmetic || category > CategoryCode::kFinance)
        return std::nullopt;
    const int shiftPosition = category == CategoryCode::kBaseConversion ? kBaseShiftPosition : kShiftPosition;
    if (position == shiftPosition)
        return KeypadSpecial::Shift;
    if (category == CategoryCode::kArithmetic && position == kCalculusListPosition)
        return KeypadSpecial::CalculusList;
    if (category == CategoryCode::kMatrices && position == kCalculusListPosition)
        return KeypadSpecial::MatrixWindow;
    if (category == CategoryCode::kStatistics && position == kCalculusListPosition)
        return KeypadSpecial::StatisticsWindow;
    if (category == CategoryCode::kFinance) {
        switch (position) {
        case 1: return KeypadSpecial::TvmWindow;
        case 2: return KeypadSpecial::LoanWindow;
        case 3: return KeypadSpecial::MortgageWindow;
        default: break;
        }
    }
    return std::nullopt;
}

std::optional<int> functionKeypadPositionCode(int category, int position, bool shifted, int radixCode)
{
    if (position >= kFunctionKeypadKeys)
        return threeRowKeypadCode(position);
    return functionKeypadCode(category, position, shifted, radixCode);
}

KeyFace basicKeypadFace(Orientation orientation, int position)
{
    const std::optional<int> code = basicKeypadCode(orientation, position, false, CategoryCode::kArithmetic);
    if (!code || *code < 0 || *code >= static_cast<int>(kBasic.size()))
        return {};
    return kBasic[static_cast<std::size_t>(*code)];
}

std::optional<ModeKeyFace> modeKeyFace(InputMode mode, int code)
{
    if (mode == InputMode::BasicRpn && code == KeyCode::kOpenParenthesis)
        return ModeKeyFace{u"Enter", u"ENT",
                           u"Enter: ends the number typed, so that the next one goes on the stack (Return)"};
    return std::nullopt;
}

std::vector<int> basicKeypadSpans(Orientation orientation)
{
    const KeypadGrid grid = orientation == Orientation::Portrait ? kBasicPortraitGrid : kBasicLandscapeGrid;
    std::vector<int> spans(static_cast<std::size_t>(grid.columns * grid.rows), 1);
    for (int row = 0; row < grid.rows; ++row) {
        int first = row * grid.columns;
        for (int column = 1; column < grid.columns; ++column) {
            const int position = row * grid.columns + column;
            const KeyFace left = basicKeypadFace(orientation, first);
            const KeyFace face = basicKeypadFace(orientation, position);
            if (!face.label.empty() && face.label == left.label && face.second == left.second) {
                ++spans[static_cast<std::size_t>(first)];
                spans[static_cast<std::size_t>(position)] = 0;
            } else {
                first = position;
            }
        }
    }
    return spans;
}
