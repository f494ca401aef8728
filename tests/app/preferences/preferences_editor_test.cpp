#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "atomic_file.h"
#include "calculator.h"
#include "preferences_editor.h"
#include "preferences_store.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

using Move = PreferencesEditor::CategoryMove;

StoredDate fixedToday()
{
    return StoredDate{2026, 12, 7};
}

// A program folder with a few sounds and skins, and a started main window on it.
struct StartedCalculator {
    TempFolder temp;
    ProgramFolder folder{temp.path(), temp.path()};
    Calculator calculator{temp.path(), fixedToday};

    StartedCalculator()
    {
        for (const char* name :
             {"Sounds/Sound 02.wav", "Sounds/beep.WAV", "Sounds/Sound 01.wav", "Sounds/notes.txt",
              "Interfaces/Night.inf", "Interfaces/Default.inf", "Interfaces/amber.inf", "Interfaces/logo.png"}) {
            fs::create_directories((temp.path() / name).parent_path());
            writeFileAtomically(temp.path() / name, "");
        }
        calculator.start();
    }
    fs::path file() const { return temp.path() / PreferencesStore::kFileName; }
    std::string fileBytes() const
    {
        std::string bytes;
        readWholeFile(file(), bytes);
        return bytes;
    }
    // The current line's text typed as one token per character.
    void typeLine(std::u16string_view text)
    {
        DisplayLine& line = calculator.display().currentLine();
        line.clear();
        for (char16_t c : text)
            line.insertToken(std::u16string_view(&c, 1));
    }
    int row(const std::vector<std::u16string>& rows, std::u16string_view text) const
    {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i] == text)
                return static_cast<int>(i);
        }
        ADD_FAILURE() << "no row";
        return -1;
    }
};

struct MoveCase {
    const char* name;
    int from;
    Move move;
    bool moves;
    int selected;
    std::array<std::uint8_t, 9> order;
};

class CategoryMoves : public ::testing::TestWithParam<MoveCase> {};

// The unchecked mark of the selected row travels with its category.
TEST_P(CategoryMoves, ExchangeTwoRows)
{
    const MoveCase& c = GetParam();
    StartedCalculator s;
    PreferencesEditor model(s.calculator, s.folder);
    model.setCategoryRowChecked(c.from, false);
    model.selectCategoryRow(c.from);
    EXPECT_EQ(model.moveCategory(c.move), c.moves);
    EXPECT_EQ(model.navOrder(), c.order);
    EXPECT_EQ(model.selectedCategoryRow(), c.selected);
    for (int row = 0; row < PreferencesEditor::kCategoryRowCount; ++row)
        EXPECT_EQ(model.categoryRowChecked(row), row != c.selected) << row;
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, CategoryMoves,
    ::testing::Values(MoveCase{"TopFromRow5", 5, Move::Top, true, 0, {8, 1, 2, 6, 7, 0, 9, 10, 14}},
                      MoveCase{"TopFromRow0", 0, Move::Top, false, 0, {0, 1, 2, 6, 7, 8, 9, 10, 14}},
                      MoveCase{"UpFromRow3", 3, Move::Up, true, 2, {0, 1, 6, 2, 7, 8, 9, 10, 14}},
                      MoveCase{"UpFromRow0", 0, Move::Up, false, 0, {0, 1, 2, 6, 7, 8, 9, 10, 14}},
                      MoveCase{"DownFromRow0", 0, Move::Down, true, 1, {1, 0, 2, 6, 7, 8, 9, 10, 14}},
                      MoveCase{"DownFromRow8", 8, Move::Down, false, 8, {0, 1, 2, 6, 7, 8, 9, 10, 14}},
                      MoveCase{"BottomFromRow2", 2, Move::Bottom, true, 8, {0, 1, 14, 6, 7, 8, 9, 10, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PreferencesDialogCategories, RowsFollowTheOrderAndDefaultRestoresIt)
{
    StartedCalculator s;
    PreferencesEditor model(s.calculator, s.folder);
    EXPECT_FALSE(model.moveCategory(Move::Top)) << "nothing selected";
    model.selectCategoryRow(5);
    model.moveCategory(Move::Top);
    EXPECT_EQ(model.categoryRowName(0), u"Currency converter");
    EXPECT_EQ(model.categoryRowName(5), u"Arithmetic");
    model.selectCategoryRow(7);
    model.moveCategory(Move::Bottom);
    model.setCategoryRowChecked(3, false);

    model.restoreDefaultCategories();
    EXPECT_EQ(model.navOrder(), kNavCategoryCodes);
    for (int row = 0; row < PreferencesEditor::kCategoryRowCount; ++row) {
        EXPECT_TRUE(model.categoryRowChecked(row));
        EXPECT_EQ(model.categoryRowName(row), kNavCategoryNames[static_cast<std::size_t>(row)]);
    }
    EXPECT_EQ(model.selectedCategoryRow(), 0);
}

TEST(PreferencesDialogLists, SoundsAndSkinsAreSortedBaseNames)
{
    StartedCalculator s;
    s.calculator.preferences().soundName = u"sound 02.wav";
    s.calculator.preferences().skinName = u"Night.inf";
    PreferencesEditor model(s.calculator, s.folder);
    EXPECT_EQ(model.sounds(), (std::vector<std::u16string>{u"beep", u"Sound 01", u"Sound 02"}));
    EXPECT_EQ(model.skins(), (std::vector<std::u16string>{u"Default", u"amber", u"Night"}));
    EXPECT_EQ(model.selectedSound(), 2) << "matched ignoring case";
    EXPECT_EQ(model.selectedSkin(), 2);

    EXPECT_EQ(model.playPath(), s.temp.path() / "Sounds" / "Sound 02.wav");
    model.selectSound(0);
    EXPECT_EQ(model.playPath(), s.temp.path() / "Sounds" / "beep.WAV");
    model.soundEnabled = false;
    EXPECT_EQ(model.playPath(), std::nullopt);
}

TEST(PreferencesDialogLists, EmptyFoldersKeepTheOldSound)
{
    TempFolder temp;
    Calculator calculator(temp.path(), fixedToday);
    calculator.start();
    PreferencesEditor model(calculator, ProgramFolder(temp.path(), temp.path()));
    EXPECT_TRUE(model.sounds().empty());
    EXPECT_EQ(model.skins(), std::vector<std::u16string>{u"Default"});
    EXPECT_EQ(model.selectedSound(), std::nullopt);
    model.ok(calculator);
    EXPECT_EQ(calculator.preferences().soundName, u"Sound 01.wav");
}

struct SkinCase {
    const char16_t* inUse;
    const char16_t* chosen;
    const char16_t* stored;
    bool reload;
};

TEST(PreferencesDialogOk, SkinReloadsOnlyForAnotherSkin)
{
    const SkinCase cases[] = {
        {u"Night.inf", u"Night", u"Night.inf", false},
        {u"Night.inf", u"Default", u"Default.inf", true},
        {u"Default.inf", u"amber", u"amber.inf", true},
        // The same file in another spelling: the record takes the new name only.
        {u"default.inf", u"Default", u"Default.inf", false},
    };
    for (const SkinCase& c : cases) {
        StartedCalculator s;
        s.calculator.preferences().skinName = c.inUse;
        PreferencesEditor model(s.calculator, s.folder);
        model.selectSkin(s.row(model.skins(), c.chosen));
        EXPECT_EQ(model.ok(s.calculator).skinChanged, c.reload) << std::string(c.chosen, c.chosen + 3);
        EXPECT_EQ(s.calculator.preferences().skinName, c.stored);
    }
}

struct OutputCase {
    const char* name;
    OutputFormat from;
    OutputFormat to;
    std::u16string_view line;
    std::u16string_view converted;
};

class OutputSwitch : public ::testing::TestWithParam<OutputCase> {};

// The converted line goes to history with key 19, and key 4 leaves an empty current line.
TEST_P(OutputSwitch, ExchangesSeparatorsOfTheCurrentLine)
{
    const OutputCase& c = GetParam();
    StartedCalculator s;
    s.calculator.preferences().outputFormat = c.from;
    s.typeLine(c.line);
    const std::u16string tokens = s.calculator.display().currentLine().tokenMap();
    PreferencesEditor model(s.calculator, s.folder);
    model.outputModeItem = c.to == OutputFormat::European ? 1 : 0;

    const PreferencesEditor::OkResult result = model.ok(s.calculator);
    const CalculatorDisplay& display = s.calculator.display();
    EXPECT_TRUE(result.outputFormatChanged);
    EXPECT_EQ(s.calculator.preferences().outputFormat, c.to);
    EXPECT_TRUE(display.currentLine().empty());
    const DisplayLine& history = display.line(display.currentLineIndex() + 1);
    EXPECT_EQ(history.input(), c.converted);
    EXPECT_EQ(history.tokenMap(), tokens);
    EXPECT_EQ(history.cursor(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Formats, OutputSwitch,
                         ::testing::Values(OutputCase{"ToEuropean", OutputFormat::UnitedStates, OutputFormat::European,
                                                      u"1\u00B8234.5+0.25", u"1.234\u00B85+0\u00B825"},
                                           OutputCase{"BackToUnitedStates", OutputFormat::European,
                                                      OutputFormat::UnitedStates, u"1.234\u00B85+0\u00B825",
                                                      u"1\u00B8234.5+0.25"},
                                           OutputCase{"DigitsOnly", OutputFormat::UnitedStates, OutputFormat::European,
                                                      u"1234567890", u"1234567890"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PreferencesDialogOk, SameOutputFormatLeavesTheLine)
{
    StartedCalculator s;
    s.typeLine(u"2.5");
    PreferencesEditor model(s.calculator, s.folder);
    EXPECT_FALSE(model.ok(s.calculator).outputFormatChanged);
    EXPECT_EQ(s.calculator.display().currentLine().input(), u"2.5");
    EXPECT_EQ(s.calculator.display().currentLine().cursor(), 3u);
}

struct InputCase {
    InputMode before;
    PreferencesEditor::InputKind kind;
    bool rpn;
    bool clears;
};

TEST(PreferencesDialogOk, ChangingTheInputModeClearsTheLine)
{
    using Kind = PreferencesEditor::InputKind;
    const InputCase cases[] = {
        {InputMode::BasicStandard, Kind::Basic, true, true},     {InputMode::BasicRpn, Kind::Basic, false, true},
        {InputMode::StringStandard, Kind::Basic, false, true},   {InputMode::BasicRpn, Kind::String, true, true},
        {InputMode::BasicStandard, Kind::Basic, false, false},   {InputMode::BasicRpn, Kind::Basic, true, false},
        {InputMode::StringStandard, Kind::String, false, false},
    };
    for (const InputCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << &c - cases);
        StartedCalculator s;
        s.calculator.setPreferredInputMode(c.before);
        s.typeLine(u"12");
        PreferencesEditor model(s.calculator, s.folder);
        EXPECT_EQ(model.inputKind, c.before == InputMode::StringStandard ? Kind::String : Kind::Basic);
        model.inputKind = c.kind;
        model.rpn = c.rpn;
        const InputMode chosen = model.chosenInputMode();
        EXPECT_EQ(model.ok(s.calculator).inputModeChanged, c.clears);
        EXPECT_EQ(s.calculator.display().currentLine().empty(), c.clears);
        EXPECT_EQ(s.calculator.preferences().inputMode, chosen);
        EXPECT_EQ(s.calculator.preferredInputMode(), chosen);
    }
}

TEST(PreferencesDialogOk, ToolCategoryKeepsTheChosenModeForLater)
{
    StartedCalculator s;
    s.calculator.switchCategory(6);
    PreferencesEditor model(s.calculator, s.folder);
    model.inputKind = PreferencesEditor::InputKind::Basic;
    model.rpn = true;
    model.ok(s.calculator);
    EXPECT_EQ(s.calculator.preferences().inputMode, InputMode::StringStandard);
    EXPECT_EQ(s.calculator.preferredInputMode(), InputMode::BasicRpn);
    Preferences saved;
    EXPECT_EQ(PreferencesStore::decode(s.fileBytes(), saved), PreferencesStore::kFieldCount);
    EXPECT_EQ(saved.inputMode, InputMode::BasicRpn);

    // Opened again in the tool category, the page shows the chosen mode, not the forced one.
    PreferencesEditor again(s.calculator, s.folder);
    EXPECT_EQ(again.chosenInputMode(), InputMode::BasicRpn);
}

TEST(PreferencesDialogOk, StoresThePagesAndWritesTheFile)
{
    StartedCalculator s;
    ASSERT_FALSE(fs::exists(s.file()));
    PreferencesEditor model(s.calculator, s.folder);
    model.tooltipsEnabled = false;
    model.transparencyLevel = 35;
    model.tapHoldInterval = 440;
    model.fixDigitsItem = 10;
    model.hardKeyScrolling = false;
    model.setCategoryRowChecked(4, false);
    model.selectCategoryRow(8);
    model.moveCategory(Move::Top);
    model.selectSound(0);
    model.outputModeItem = 1;

    EXPECT_TRUE(model.ok(s.calculator).saved);
    const Preferences& record = s.calculator.preferences();
    EXPECT_FALSE(record.tooltipsEnabled);
    EXPECT_EQ(record.transparencyLevel, 35u);
    EXPECT_EQ(record.tapHoldInterval, 440u);
    EXPECT_EQ(record.fixDigits, 10);
    EXPECT_FALSE(record.hardKeyScrolling);
    EXPECT_FALSE(record.navEnabled[4]);
    EXPECT_EQ(record.navOrder, (std::array<std::uint8_t, 9>{14, 1, 2, 6, 7, 8, 9, 10, 0}));
    EXPECT_EQ(record.soundName, u"beep.wav");
    EXPECT_EQ(record.outputFormat, OutputFormat::European);

    Preferences saved;
    EXPECT_EQ(PreferencesStore::decode(s.fileBytes(), saved), PreferencesStore::kFieldCount);
    EXPECT_EQ(saved, record);
}

// Opening shows the file; dropping the dialog (Cancel) leaves the record and the file alone,
// whether or not the file exists.
TEST(PreferencesDialogCancel, LeavesRecordAndFileAsTheyWere)
{
    for (const bool withFile : {true, false}) {
        StartedCalculator s;
        if (withFile) {
            Preferences onDisk = s.calculator.preferences();
            onDisk.fixDigits = 9;
            onDisk.outputFormat = OutputFormat::European;
            ASSERT_TRUE(PreferencesStore(s.folder).save(onDisk));
        }
        const Preferences before = s.calculator.preferences();
        const std::string bytesBefore = s.fileBytes();
        {
            PreferencesEditor model(s.calculator, s.folder);
            EXPECT_EQ(model.fixDigitsItem, withFile ? 9 : 4);
            EXPECT_EQ(model.outputModeItem, withFile ? 1 : 0);
            model.fixDigitsItem = 2;
            model.soundEnabled = false;
            model.restoreDefaultCategories();
        }
        EXPECT_EQ(s.calculator.preferences(), before);
        EXPECT_EQ(fs::exists(s.file()), withFile);
        EXPECT_EQ(s.fileBytes(), bytesBefore);
    }
}

}  // namespace
