#include "mainwindow/dialogs/toolforms.h"

#include <string>

#include "framework/dialogs.h"
#include "framework/windowtext.h"
#include "mainwindow/editors/autoplace/autoplacepage.h"
#include "mainwindow/editors/pokerroom/pokerroompage.h"
#include "mainwindow/mainform/main.h"
#include "skin/core/glow.h"

namespace kova::mainwindow {

namespace {

// The skin's own windows (a form's border window, glows, animation
// frames) lie over the forms they belong to: a press on one is a press on
// its form, and one with no form is nothing the user can pick.
HWND PickableRoot(HWND root) {
    for (int depth = 0; root && depth < 8; ++depth) {
        TWinControl* own = TWinControl::FindControl(root);
        if (!own || own->Tag() != skin::kSkinOwnWindowTag) return root;
        root = GetWindow(root, GW_OWNER);
    }
    return nullptr;
}

constexpr char SelectCaption[] = "Click to Select Window";
constexpr char PickingCaption[] = "Select Window or Click to Cancel";

int32_t EditNumber(const TEdit* e) { return autoplace::ParseNumber(e->Text(), 0); }

}  // namespace

TTGrabberForm::TTGrabberForm(TComponent* owner) : TForm(owner) {
    BindField("SpeedButton1", SpeedButton1);
    BindField("TitleEdit", TitleEdit);
    BindField("ClassEdit", ClassEdit);
    BindField("PosXEdit", PosXEdit);
    BindField("PosYEdit", PosYEdit);
    BindField("SizeXEdit", SizeXEdit);
    BindField("SizeYEdit", SizeYEdit);
    const auto on = [this](const char* name, void (TTGrabberForm::*handler)()) { RegisterNotify(name, this, handler); };
    on("SpeedButton1Click", &TTGrabberForm::SpeedButton1Click);
    on("CopyTitleBtnClick", &TTGrabberForm::CopyTitleBtnClick);
    on("CopyClassBtnClick", &TTGrabberForm::CopyClassBtnClick);
    on("NormalSlotBtnClick", &TTGrabberForm::NormalSlotBtnClick);
    on("ActivateSlotBtnClick", &TTGrabberForm::ActivateSlotBtnClick);
    on("NormalSizeBtnClick", &TTGrabberForm::NormalSizeBtnClick);
    on("ActivateSizeBtnClick", &TTGrabberForm::ActivateSizeBtnClick);
}

TTGrabberForm::~TTGrabberForm() {
    if (Picking) StopPicking();
    if (TGrabberForm == this) TGrabberForm = nullptr;
}

void TTGrabberForm::Open(int target, TAutoPlacePage* page, TPokerRoomPage* roomPage, HWND captureWindow,
                         bool hookRunning) {
    Page = page;
    RoomPage = roomPage;
    captureWindow_ = captureWindow;
    hookRunning_ = hookRunning;
    // The editor the user works in now takes what is copied, also when the
    // form was open for the other one.
    Target = target;
    if (!Visible()) {
        for (TEdit* e : {TitleEdit, ClassEdit, PosXEdit, PosYEdit, SizeXEdit, SizeYEdit}) e->SetText("");
        Show();
    }
    BringToFront();
    if (HandleAllocated()) SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool TTGrabberForm::HookRunning() const { return KOVAForm1 ? KOVAForm1->HookRunning() : hookRunning_; }

void TTGrabberForm::StopPicking() {
    Picking = 0;
    SpeedButton1->SetDown(false);
    SpeedButton1->SetCaption(SelectCaption);
    if (captureWindow_ && GetCapture() == captureWindow_) ReleaseCapture();
}

void TTGrabberForm::SpeedButton1Click() {
    if (SpeedButton1->Down()) {
        SpeedButton1->SetCaption(PickingCaption);
        Picking = 1;
        // The hook library reports the next press anywhere to the main
        // form; without it, the press reaches the main form through the
        // capture. Asked now: a config may have started or stopped since
        // the grabber was opened.
        if (!HookRunning() && captureWindow_) SetCapture(captureWindow_);
    } else {
        StopPicking();
    }
}

void TTGrabberForm::EndGrabberPick() {
    if (!Picking) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    HWND under = WindowFromPoint(cursor);
    HWND root = under ? PickableRoot(GetAncestor(under, GA_ROOT)) : nullptr;
    if (root) {
        RECT r{};
        GetWindowRect(root, &r);
        TitleEdit->SetText(WindowText(root));
        ClassEdit->SetText(WindowClassName(root));
        PosXEdit->SetText(std::to_string(r.left));
        PosYEdit->SetText(std::to_string(r.top));
        SizeXEdit->SetText(std::to_string(r.right - r.left));
        SizeYEdit->SetText(std::to_string(r.bottom - r.top));
    }
    StopPicking();
}

// The editors of the AutoPlace page (target 0) or the room editor (target
// 1) take the picked details.
void TTGrabberForm::CopyTitleBtnClick() {
    if (Target == 0 && Page) Page->ComboBoxTitle->SetText(TitleEdit->Text());
}

void TTGrabberForm::CopyClassBtnClick() {
    if (Target == 0 && Page) Page->ComboBoxClass->SetText(ClassEdit->Text());
    if (Target == 1 && RoomPage) RoomPage->CopyGrabbedClass(ClassEdit->Text());
}

void TTGrabberForm::NormalSlotBtnClick() {
    if (Target == 0 && Page)
        Page->ApplyPicked([&](autoplace::TAutoPlaceModel& m) {
            return m.CreateNormalSizeSlot(EditNumber(PosXEdit), EditNumber(PosYEdit), EditNumber(SizeXEdit),
                                          EditNumber(SizeYEdit));
        });
}

void TTGrabberForm::ActivateSlotBtnClick() {
    if (Target == 0 && Page)
        Page->ApplyPicked([&](autoplace::TAutoPlaceModel& m) {
            return m.CreateActivateSizeSlot(EditNumber(PosXEdit), EditNumber(PosYEdit), EditNumber(SizeXEdit),
                                            EditNumber(SizeYEdit));
        });
}

void TTGrabberForm::NormalSizeBtnClick() {
    if (Target == 1 && RoomPage) RoomPage->CopyGrabbedSize(SizeXEdit->Text(), SizeYEdit->Text());
    if (Target == 0 && Page)
        Page->ApplyPicked([&](autoplace::TAutoPlaceModel& m) {
            m.CopySizeToNormal(EditNumber(SizeXEdit), EditNumber(SizeYEdit));
            return autoplace::TOutcome{};
        });
}

void TTGrabberForm::ActivateSizeBtnClick() {
    if (Target == 1 && RoomPage) RoomPage->CopyGrabbedSize(SizeXEdit->Text(), SizeYEdit->Text());
    if (Target == 0 && Page)
        Page->ApplyPicked([&](autoplace::TAutoPlaceModel& m) {
            m.CopySizeToActivate(EditNumber(SizeXEdit), EditNumber(SizeYEdit));
            return autoplace::TOutcome{};
        });
}

}  // namespace kova::mainwindow
