// The long-lived tool forms that the program creates after the main form,
// in this order: the advanced auto-registrator, the TOI settings, the window
// details grabber and the window capture tool. Each reads its description
// beside this file.
#pragma once

#include <windows.h>

#include "framework/extctrls.h"
#include "framework/grids.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "mainwindow/dialogs/windowcapture.h"

namespace kova::mainwindow {

// The advanced auto-registrator: a grid of five editable columns and two
// colour-filter combos, shown from the PokerStars page.
class TAdvAutoReg : public TForm {
    KOVA_CLASS(TAdvAutoReg, TForm)
public:
    explicit TAdvAutoReg(TComponent* owner);

    TStringGrid* StringGrid1 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TComboBox* ComboBox2 = nullptr;
};

class TCommonSettingsPage;

// The TOI settings of the edited config, and the two shared bindings of its
// hotkeys (9 "Move table to Grid (or to Stack)", 10 "Keep table in grid").
class TTOISettings : public TForm {
    KOVA_CLASS(TTOISettings, TForm)
public:
    explicit TTOISettings(TComponent* owner);

    TEdit* StackEdit = nullptr;
    TComboBox* NewTableCB = nullptr;
    TRadioButton* RadioButton1 = nullptr;  // "When Auto-Activated"
    TRadioButton* RadioButton2 = nullptr;  // "After entering pot"
    TComboBox *Comb19 = nullptr, *Comb29 = nullptr;  // shared binding 9: modifier, key
    TComboBox *Comb20 = nullptr, *Comb30 = nullptr;  // shared binding 10
    TEdit* KeepInGridEdit = nullptr;
    TEdit* GridBBEdit = nullptr;
    TCheckBox* SendToBottomCB = nullptr;
    TButton* OkBtn = nullptr;
    TButton* CancelBtn = nullptr;

    // Where the hotkey combos' edits go: the main form's shared rows, with
    // the combo's Tag (9 or 10) as the row. Set by whoever opens the form.
    TCommonSettingsPage* HotKeyRows = nullptr;

    void Comb19Change(TObject* sender);
    void Comb29Change(TObject* sender);
    void Comb29KeyUp(TObject* sender, WORD key);
};

class TAutoPlacePage;
class TPokerRoomPage;

// The window details grabber: picks a top-level window with the mouse and
// copies its title, class, position and size into the editors.
class TTGrabberForm : public TForm {
    KOVA_CLASS(TTGrabberForm, TForm)
public:
    explicit TTGrabberForm(TComponent* owner);
    ~TTGrabberForm() override;

    TSpeedButton* SpeedButton1 = nullptr;
    TEdit *TitleEdit = nullptr, *ClassEdit = nullptr, *PosXEdit = nullptr, *PosYEdit = nullptr;
    TEdit *SizeXEdit = nullptr, *SizeYEdit = nullptr;

    int Picking = 0;
    int Target = 0;  // 0 the AutoPlace editors, 1 the poker-room editor
    TAutoPlacePage* Page = nullptr;
    TPokerRoomPage* RoomPage = nullptr;

    // Shows the form (cleared when it was hidden) and brings it to the top;
    // its copy buttons fill the editors of `target`, the last that opened
    // it. The next left-button press ends the picking: the hook library
    // reports it to the main form; while the hook does not run, picking
    // captures the mouse for `captureWindow` instead.
    void Open(int target, TAutoPlacePage* page, TPokerRoomPage* roomPage, HWND captureWindow, bool hookRunning);
    // A left button press while picking (the main form's hook message or,
    // without the hook, its own captured press): the window under the cursor.
    void EndGrabberPick();

    void SpeedButton1Click();
    void CopyTitleBtnClick();
    void CopyClassBtnClick();
    void NormalSlotBtnClick();
    void ActivateSlotBtnClick();
    void NormalSizeBtnClick();
    void ActivateSizeBtnClick();

private:
    void StopPicking();
    // The main form's hook runs (then no capture is needed).
    bool HookRunning() const;
    HWND captureWindow_ = nullptr;
    bool hookRunning_ = false;
};

extern TAdvAutoReg* AdvAutoReg;
extern TTOISettings* TOISettings;
extern TTGrabberForm* TGrabberForm;

}  // namespace kova::mainwindow
