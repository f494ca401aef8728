#pragma once

#include <QLabel>
#include <QListWidget>
#include <QToolButton>
#include <QWidget>

#include <functional>

#include "key_sound_player.h"
#include "keypad_view.h"
#include "led_ctrl_view.h"
#include "main_frame.h"
#include "program_folder.h"
#include "screen_facts.h"
#include "skin_pixmaps.h"

// The calculator window: the display, the category bar, the keypads of the current category
// cut from the skin's images, the tools panel listing the categories and the pop-up lists.
// Behaviour lives in CMainFrame; this class draws it and forwards input.
class CMainFrameView : public QWidget {
    Q_OBJECT
public:
    CMainFrameView(CMainFrame& frame, ProgramFolder folder, QWidget* parent = nullptr);

    // False when neither the chosen skin nor the default one could be loaded.
    bool skinLoaded() const { return skinLoaded_; }
    // Shows a category and refreshes everything that depends on it.
    void showCategory(int category);
    // Where messages of the tool models come from ("Matrix data error", ...); they are shown
    // after each category switch.
    void setToolMessages(std::function<std::u16string()> take) { takeToolMessage_ = std::move(take); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void loadSkin();
    void layoutChildren();
    void refresh();
    void afterKey();
    void onFunctionKey(int position, bool held);
    void onBasicKey(int position, bool held);
    void toggleToolsPanel();
    // The calculus functions or the variables, as a list over the keypads.
    void openPopupList(CMainFrame::KeypadResult kind);
    void closePopups();
    void openHelp();
    void openPreferences();
    void copyResult();
    void pasteExpression();
    bool handleEditingKey(QKeyEvent* event);
    QImage functionLabels() const;

    void showToolMessage();

    CMainFrame& frame_;
    std::function<std::u16string()> takeToolMessage_;
    ProgramFolder folder_;
    ScreenFacts facts_;
    SkinPixmaps skin_;
    bool skinLoaded_ = false;
    KeySoundPlayer sound_;

    CLEDCtrlView* display_;
    QWidget* bar_;
    QToolButton* toolsButton_;
    QLabel* categoryLabel_;
    QToolButton* menuButton_;
    KeypadView* functionKeypad_;
    KeypadView* basicKeypad_;
    QLabel* toolPlaceholder_;
    class CBrevastCalMacroWndView* macroWindow_;
    QListWidget* toolsPanel_;
    QListWidget* popupList_;
    CMainFrame::KeypadResult popupKind_ = CMainFrame::KeypadResult::OpenCalculusList;
};
