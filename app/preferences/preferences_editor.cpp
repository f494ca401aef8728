#include "preferences_editor.h"

#include <algorithm>
#include <charconv>
#include <system_error>
#include <utility>

#include "ascii.h"
#include "calculator.h"
#include "key_codes.h"
#include "preferences_store.h"
#include "result_format.h"
#include "skin.h"
#include "utf16.h"

namespace fs = std::filesystem;

namespace {

constexpr std::u16string_view kSoundExtension = u".wav";
constexpr std::u16string_view kSkinExtension = u".inf";

bool equalIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    return ascii::lower(a) == ascii::lower(b);
}

bool endsWithIgnoringCase(std::u16string_view text, std::u16string_view end)
{
    return text.size() >= end.size() && equalIgnoringCase(text.substr(text.size() - end.size()), end);
}

// "Sound 01.wav" -> "Sound 01": the text before the first '.'.
std::u16string_view baseName(std::u16string_view fileName)
{
    return fileName.substr(0, fileName.find(u'.'));
}

// Case-blind name order, with the exact text breaking ties so the order is total.
bool nameLess(const std::u16string& a, const std::u16string& b)
{
    const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char16_t x, char16_t y) {
        return ascii::toLower(x) < ascii::toLower(y);
    });
    return less || (equalIgnoringCase(a, b) && a < b);
}

// The sorted, distinct base names of the folder's files with the extension.
std::vector<std::u16string> listBaseNames(const fs::path& folder, std::u16string_view extension)
{
    std::vector<std::u16string> names;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        if (!it->is_regular_file(error))
            continue;
        const std::u16string fileName = fromUtf8(it->path().filename().string());
        const std::u16string_view base = baseName(fileName);
        if (endsWithIgnoringCase(fileName, extension) && !base.empty())
            names.emplace_back(base);
    }
    std::sort(names.begin(), names.end(), nameLess);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

// The row showing the file's base name: the exact spelling first, else one that differs only
// in case ("default.inf" is the "Default" skin, as files are found ignoring case).
std::optional<int> rowOf(const std::vector<std::u16string>& rows, std::u16string_view fileName)
{
    const std::u16string_view base = baseName(fileName);
    auto it = std::find(rows.begin(), rows.end(), base);
    if (it == rows.end())
        it = std::find_if(rows.begin(), rows.end(),
                          [base](const std::u16string& row) { return equalIgnoringCase(row, base); });
    if (it == rows.end())
        return std::nullopt;
    return static_cast<int>(it - rows.begin());
}

std::optional<int> validRow(std::optional<int> row, std::size_t count)
{
    if (row && (*row < 0 || static_cast<std::size_t>(*row) >= count))
        return std::nullopt;
    return row;
}

std::size_t index(int row)
{
    return static_cast<std::size_t>(row);
}

}  // namespace

PreferencesEditor::PreferencesEditor(const Calculator& frame, ProgramFolder folder) : folder_(std::move(folder))
{
    // The pages show the file; the record fills in what the file lacks. The record's input
    // mode may be the forced "String-Standard" of a tool category, so the mode the user chose
    // stands in for it.
    Preferences shown = frame.preferences();
    shown.inputMode = frame.preferredInputMode();
    PreferencesStore(folder_).load(shown);

    tooltipsEnabled = shown.tooltipsEnabled;
    transparencyEnabled = shown.transparencyEnabled;
    transparencyLevel = static_cast<int>(std::min(shown.transparencyLevel, kMaxTransparencyLevel));
    tapHoldEnabled = shown.tapHoldEnabled;
    tapHoldInterval = static_cast<int>(std::clamp(shown.tapHoldInterval, kMinTapHoldInterval, kMaxTapHoldInterval));
    fixDigitsItem = std::min<int>(shown.fixDigits, kMaxFixDigits);

    hardKeyScrolling = shown.hardKeyScrolling;
    navOrder_ = isValidNavOrder(shown.navOrder) ? shown.navOrder : kNavCategoryCodes;
    navEnabled_ = shown.navEnabled;

    soundEnabled = shown.soundEnabled;
    sounds_ = listBaseNames(folder_.file("Sounds"), kSoundExtension);
    selectedSound_ = rowOf(sounds_, shown.soundName);

    skins_ = listBaseNames(folder_.file("Interfaces"), kSkinExtension);
    std::erase_if(skins_, [](const std::u16string& name) { return equalIgnoringCase(name, kDefaultSkin); });
    skins_.insert(skins_.begin(), std::u16string(kDefaultSkin));
    selectedSkin_ = rowOf(skins_, shown.skinName);

    inputKind = shown.inputMode == InputMode::StringStandard ? InputKind::String : InputKind::Basic;
    rpn = shown.inputMode == InputMode::BasicRpn;
    outputModeItem = shown.outputFormat == OutputFormat::European ? 1 : 0;
    pocketKeyboardLetters = shown.pocketKeyboardLetters;
    pocketLineEditing = shown.pocketLineEditing;
}

std::vector<std::u16string> PreferencesEditor::fixDigitsItems()
{
    std::vector<std::u16string> items;
    for (int digits = 0; digits <= kMaxFixDigits; ++digits)
        items.push_back(fromUtf8(std::to_string(digits)));
    return items;
}

std::u16string_view PreferencesEditor::categoryRowName(int row) const
{
    if (!validRow(row, navOrder_.size()))
        return {};
    return kNavCategoryNames[index(navCategoryIndex(navOrder_[index(row)]))];
}

bool PreferencesEditor::categoryRowChecked(int row) const
{
    return validRow(row, navEnabled_.size()) && navEnabled_[index(row)];
}

void PreferencesEditor::setCategoryRowChecked(int row, bool checked)
{
    if (validRow(row, navEnabled_.size()))
        navEnabled_[index(row)] = checked;
}

void PreferencesEditor::selectCategoryRow(std::optional<int> row)
{
    selectedCategoryRow_ = validRow(row, navOrder_.size());
}

bool PreferencesEditor::moveCategory(CategoryMove move)
{
    if (!selectedCategoryRow_)
        return false;
    const int from = *selectedCategoryRow_;
    int to = from;
    switch (move) {
    case CategoryMove::Top: to = 0; break;
    case CategoryMove::Up: to = std::max(from - 1, 0); break;
    case CategoryMove::Down: to = std::min(from + 1, kCategoryRowCount - 1); break;
    case CategoryMove::Bottom: to = kCategoryRowCount - 1; break;
    }
    if (to == from)
        return false;
    // An exchange, never a rotation: "Top" on row 5 puts row 0's category on row 5.
    std::swap(navOrder_[index(from)], navOrder_[index(to)]);
    std::swap(navEnabled_[index(from)], navEnabled_[index(to)]);
    selectedCategoryRow_ = to;
    return true;
}

void PreferencesEditor::restoreDefaultCategories()
{
    navOrder_ = kNavCategoryCodes;
    navEnabled_.fill(true);
    selectedCategoryRow_ = 0;
}

void PreferencesEditor::selectSound(std::optional<int> row)
{
    selectedSound_ = validRow(row, sounds_.size());
}

std::optional<fs::path> PreferencesEditor::playPath() const
{
    if (!soundEnabled || !selectedSound_)
        return std::nullopt;
    const std::u16string fileName = sounds_[index(*selectedSound_)] + std::u16string(kSoundExtension);
    return findFileIgnoringCase(folder_.file("Sounds"), toUtf8(fileName));
}

void PreferencesEditor::selectSkin(std::optional<int> row)
{
    selectedSkin_ = validRow(row, skins_.size());
}

fs::path PreferencesEditor::previewPath(bool highResolution) const
{
    if (!selectedSkin_)
        return {};
    return skinImagePath(folder_, "SkinPreview", skins_[index(*selectedSkin_)] + std::u16string(kSkinExtension),
                         highResolution);
}

InputMode PreferencesEditor::chosenInputMode() const
{
    if (inputKind == InputKind::String)
        return InputMode::StringStandard;
    return rpn ? InputMode::BasicRpn : InputMode::BasicStandard;
}

PreferencesEditor::OkResult PreferencesEditor::ok(Calculator& frame)
{
    Preferences& record = frame.preferences();
    OkResult result;

    // 1. "General".
    record.tooltipsEnabled = tooltipsEnabled;
    record.transparencyEnabled = transparencyEnabled;
    record.transparencyLevel = static_cast<std::uint32_t>(std::clamp<int>(transparencyLevel, 0, kMaxTransparencyLevel));
    record.tapHoldEnabled = tapHoldEnabled;
    record.tapHoldInterval =
        static_cast<std::uint32_t>(std::clamp<int>(tapHoldInterval, kMinTapHoldInterval, kMaxTapHoldInterval));
    const std::vector<std::u16string> digitItems = fixDigitsItems();
    if (const std::optional<int> item = validRow(fixDigitsItem, digitItems.size())) {
        const std::string text = toUtf8(digitItems[index(*item)]);
        unsigned digits = 0;
        std::from_chars(text.data(), text.data() + text.size(), digits);
        record.fixDigits = static_cast<std::uint8_t>(std::min<unsigned>(digits, kMaxFixDigits));
    }

    // 2. "Categories": the order was already changed by the buttons.
    record.hardKeyScrolling = hardKeyScrolling;
    record.navOrder = navOrder_;
    record.navEnabled = navEnabled_;

    // 3. "Sounds": without a selection the old sound stays.
    record.soundEnabled = soundEnabled;
    if (selectedSound_)
        record.soundName = sounds_[index(*selectedSound_)] + std::u16string(kSoundExtension);

    // 4. "Skins". Skin files are found ignoring case, so "default.inf" and "Default.inf" are
    // the same skin: the record takes the new spelling, but nothing needs reloading.
    if (selectedSkin_) {
        std::u16string skinName = skins_[index(*selectedSkin_)] + std::u16string(kSkinExtension);
        if (skinName != record.skinName) {
            const fs::path interfaces = folder_.file("Interfaces");
            result.skinChanged = findFileIgnoringCase(interfaces, toUtf8(skinName)) !=
                                 findFileIgnoringCase(interfaces, toUtf8(record.skinName));
            record.skinName = std::move(skinName);
        }
    }

    // 5. "Modes". The line was typed in the mode the user chose before, which the record may
    // not show while a tool category forces "String-Standard".
    const InputMode inputMode = chosenInputMode();
    if (inputMode != frame.preferredInputMode()) {
        frame.display().currentLine().clear();
        result.inputModeChanged = true;
    }
    record.pocketKeyboardLetters = pocketKeyboardLetters;
    record.pocketLineEditing = pocketLineEditing;
    const OutputFormat outputFormat =
        std::clamp(outputModeItem, 0, 1) == 1 ? OutputFormat::European : OutputFormat::UnitedStates;
    if (outputFormat != record.outputFormat) {
        // The keys still run in the mode the display is in; the new mode takes effect in step 8.
        CalculatorDisplay& display = frame.display();
        display.currentLine().replaceTextKeepingTokens(exchangeSeparators(display.currentLine().input()));
        display.currentLine().moveCursorToStart();
        display.handleKey(KeyCode::kEquals);
        display.handleKey(KeyCode::kClear);
        result.outputFormatChanged = true;
    }
    record.outputFormat = outputFormat;

    // 6. The file holds the chosen input mode, as at close.
    Preferences saved = record;
    saved.inputMode = inputMode;
    result.saved = PreferencesStore(folder_).save(saved);

    // 7. Refreshing open tools is the window's part, told by outputFormatChanged.
    // 8. The main window keeps the mode and applies it where the category allows.
    frame.setPreferredInputMode(inputMode);
    return result;
}
