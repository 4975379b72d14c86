// The long-lived tool forms that the program creates after the main form.
// Their pages and handlers arrive with the tool dialogs; for now each is a
// hidden form with its caption (from its description beside this file), so
// that the start-up creates them in order.
#pragma once

#include <windows.h>

#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "mainwindow/dialogs/windowcapture.h"

namespace kova::mainwindow {

class TAdvAutoReg : public TForm {
    KOVA_CLASS(TAdvAutoReg, TForm)
public:
    using TForm::TForm;
};

class TTOISettings : public TForm {
    KOVA_CLASS(TTOISettings, TForm)
public:
    using TForm::TForm;
};

class TAutoPlacePage;

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

    // Shows the form for `target` (cleared when it was hidden) and brings it
    // to the top. The next left-button press ends the picking: the hook
    // library reports it to the main form; while the hook does not run,
    // picking captures the mouse for `captureWindow` instead.
    void Open(int target, TAutoPlacePage* page, HWND captureWindow, bool hookRunning);
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
