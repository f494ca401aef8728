#pragma once

#include <QDialog>

#include "key_sound_player.h"
#include "preferences_editor.h"

class Calculator;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QStackedWidget;
class SkinPreviewView;

// The preferences window: the page list on the left, one page at a time on the right, OK and
// Cancel below. Every control writes its PreferencesEditor at once; the enable rules and the
// lists come from it.
class PreferencesEditorView : public QDialog {
    Q_OBJECT
public:
    // size is the main window's: the fonts follow its scale (twice from 480 pixels).
    PreferencesEditorView(PreferencesEditor& model, QSize size, QWidget* parent = nullptr);

    // Opens the window over the main window, sized like it, and runs OK's steps when the user
    // confirms. Returns what OK changed (everything false after Cancel): reload the skin on
    // skinChanged, reset and refresh the tools on outputFormatChanged.
    static PreferencesEditor::OkResult run(Calculator& calculator, const ProgramFolder& folder,
                                           QWidget* parent = nullptr);

    // Shows one of the five pages (0 "General" to 4 "Modes").
    void showPage(int page);

private:
    QWidget* makeGeneralPage();
    QWidget* makeCategoriesPage();
    QWidget* makeSoundsPage();
    QWidget* makeSkinsPage();
    QWidget* makeModesPage();
    void fillCategoryRows();
    void moveCategory(PreferencesEditor::CategoryMove move);
    void updateEnabled();
    void updatePreview();

    PreferencesEditor& model_;
    int scale_ = 1;
    KeySoundPlayer sound_;

    QListWidget* pageList_;
    QStackedWidget* pages_;
    QListWidget* categoryList_ = nullptr;
    QWidget* categoryButtons_ = nullptr;
    QListWidget* soundList_ = nullptr;
    QPushButton* playButton_ = nullptr;
    QListWidget* skinList_ = nullptr;
    SkinPreviewView* preview_ = nullptr;
    QWidget* modeRadios_ = nullptr;
};
