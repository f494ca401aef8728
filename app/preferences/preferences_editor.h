#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "preferences.h"
#include "program_folder.h"

class Calculator;

// The preferences window without the window: the state of its five pages, the editing of the
// category order, and OK, which stores the pages into the main window's record, adjusts the
// display line, writes "preferences.dat" and hands the input mode to the main window.
//
// Opening reads "preferences.dat" over a copy of the main window's record, so the pages show
// the file's values (and the record's values where there is no file). The record itself is
// touched only by ok(): Cancel is simply dropping this object, which leaves the record exactly
// as it was before the window opened and writes nothing, even when no file exists yet.
class PreferencesEditor {
public:
    static constexpr std::array<std::u16string_view, 5> kPageNames = {u"General", u"Categories", u"Sounds", u"Skins",
                                                                      u"Modes"};
    static constexpr int kCategoryRowCount = 9;
    // The skin list's first row; it stands for "Default.inf".
    static constexpr std::u16string_view kDefaultSkin = u"Default";
    static constexpr std::array<std::u16string_view, 2> kInputKinds = {u"String", u"Basic"};
    // The output format combo's items: United States, then European.
    static constexpr std::array<std::u16string_view, 2> kOutputModes = {u"United States", u"European"};
    static constexpr std::u16string_view kOutputNote =
        u"(US date      : mm/dd/yyyy\n US number : 123,456.789\n EU date     : dd/mm/yyyy\n"
        u" EU number :  123.456,789)";

    enum class InputKind { String, Basic };
    enum class CategoryMove { Top, Up, Down, Bottom };

    // What OK changed, for the main window to act on.
    struct OkResult {
        bool skinChanged = false;          // reload the skin
        bool outputFormatChanged = false;  // reset the tip and converter results, refresh tools
        bool inputModeChanged = false;
        bool saved = false;  // "preferences.dat" was written
    };

    PreferencesEditor(const Calculator& frame, ProgramFolder folder);

    // "General".
    bool tooltipsEnabled = true;
    bool transparencyEnabled = true;
    int transparencyLevel = 0;  // 0..kMaxTransparencyLevel
    bool tapHoldEnabled = true;
    int tapHoldInterval = 0;  // kMinTapHoldInterval..kMaxTapHoldInterval, milliseconds
    // The combo "Decimal digits in fix mode" holds "0" to "10"; OK reads the selected text.
    static std::vector<std::u16string> fixDigitsItems();
    int fixDigitsItem = 0;

    // "Categories": row i shows the category navOrder()[i] and its check mark.
    bool hardKeyScrolling = true;
    bool categoryControlsEnabled() const { return hardKeyScrolling; }
    const std::array<std::uint8_t, 9>& navOrder() const { return navOrder_; }
    std::u16string_view categoryRowName(int row) const;
    bool categoryRowChecked(int row) const;
    void setCategoryRowChecked(int row, bool checked);
    std::optional<int> selectedCategoryRow() const { return selectedCategoryRow_; }
    void selectCategoryRow(std::optional<int> row);
    // Exchanges the selected row with row 0, the row above, the row below or row 8 (names,
    // check marks and order entries together) and selects the row that received the selected
    // category. Returns false when nothing moved (no selection, or already at that end).
    bool moveCategory(CategoryMove move);
    // The default order, every category checked, row 0 selected.
    void restoreDefaultCategories();

    // "Sounds": the base names (text before the first '.') of the folder's "Sounds/*.wav"
    // files, the extension matched ignoring case, sorted by name ignoring ASCII case (the
    // order of a directory listing is not stable on Linux) without repeated names.
    bool soundEnabled = true;
    bool soundControlsEnabled() const { return soundEnabled; }
    const std::vector<std::u16string>& sounds() const { return sounds_; }
    std::optional<int> selectedSound() const { return selectedSound_; }
    void selectSound(std::optional<int> row);
    // The wave file "Play" starts: the selected sound, when sound is enabled.
    std::optional<std::filesystem::path> playPath() const;

    // "Skins": "Default" first, then the base names of "Interfaces/*.inf" sorted like the
    // sounds, leaving out the one named "Default" in any case.
    const std::vector<std::u16string>& skins() const { return skins_; }
    std::optional<int> selectedSkin() const { return selectedSkin_; }
    void selectSkin(std::optional<int> row);
    // The "SkinPreview" image of the selected skin, or an empty path.
    std::filesystem::path previewPath(bool highResolution) const;

    // "Modes".
    InputKind inputKind = InputKind::String;
    bool rpn = false;  // "RPN" rather than "Standard"; only shown for "Basic"
    bool modeRadiosVisible() const { return inputKind == InputKind::Basic; }
    int outputModeItem = 0;  // index into kOutputModes
    // "Pocket keyboard letters": typed letters are the pocket computer's keys, not names.
    bool pocketKeyboardLetters = false;
    bool pocketLineEditing = false;
    InputMode chosenInputMode() const;

    // The eight steps of OK, in order; frame must be the one the window was opened for.
    OkResult ok(Calculator& frame);

private:
    ProgramFolder folder_;
    std::array<std::uint8_t, 9> navOrder_{};
    std::array<bool, 9> navEnabled_{};
    std::optional<int> selectedCategoryRow_;
    std::vector<std::u16string> sounds_;
    std::optional<int> selectedSound_;
    std::vector<std::u16string> skins_;
    std::optional<int> selectedSkin_;
};
