#include "skin/core/skinmessage.h"

#include "framework/forms.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {


LRESULT SendSkinCommand(HWND wnd, int subCode, LPARAM lParam, int low) {
    return SendMessageA(wnd, SkinCommandMessage, SkinCommand(subCode, low), lParam);
}

LRESULT SendSkinCommandToControl(TControl* control, int subCode, LPARAM lParam, int low) {
    if (!control) return 0;
    if (!control->IsWindowed()) return control->Perform(SkinCommandMessage, SkinCommand(subCode, low), lParam);
    auto* win = static_cast<TWinControl*>(control);
    if (win->IsDestroying() || !win->HandleAllocated()) return 0;
    return SendSkinCommand(win->Handle(), subCode, lParam, low);
}

bool SkinCommandAnswered(HWND wnd, int subCode) { return wnd && SendSkinCommand(wnd, subCode, 0) == 1; }

void NotifyParentFormOfControl(TControl* control) {
    if (!control || control->IsLoading()) return;
    TCustomForm* form = control->ParentForm();
    if (!form || !form->HandleAllocated()) return;
    SendSkinCommand(form->Handle(), scParentFormNotify, reinterpret_cast<LPARAM>(control));
}

namespace {
// Answers and control colours are framework colours (a system colour is
// 0x80000000 + its index), not skin-file values.
std::uint32_t FrameworkColorToRGB(std::uint32_t c) {
    return static_cast<std::uint32_t>(kova::ColorToRGB(static_cast<kova::TColor>(c)));
}
}  // namespace

std::uint32_t GetControlColor(TControl* control) {
    if (!control) return clFuchsia;
    if (NotifyControl(control, scQuerySupport) == 1)
        return FrameworkColorToRGB(static_cast<std::uint32_t>(
            control->Perform(SkinCommandMessage, SkinCommand(scQueryBgColor), clFuchsia)));
    return FrameworkColorToRGB(static_cast<std::uint32_t>(control->Color()));
}

std::uint32_t GetWindowColor(HWND wnd) {
    if (!wnd) return clFuchsia;
    return FrameworkColorToRGB(static_cast<std::uint32_t>(SendSkinCommand(wnd, scQueryBgColor, clFuchsia)));
}

void BroadcastToChildControls(TWinControl* control) {
    if (!control || FormAnimating) return;
    for (int i = 0; i < control->ControlCount(); ++i) {
        TControl* child = control->Controls(i);
        if (child->IsDestroying() || child->Is<TGraphicControl>()) continue;
        if (!child->IsWindowed()) {
            SendSkinCommandToControl(child, scEndParentUpdate, 0);
            continue;
        }
        auto* win = static_cast<TWinControl*>(child);
        if (win->HandleAllocated() && win->Showing()) SendSkinCommand(win->Handle(), scEndParentUpdate, 0);
    }
}

void BroadcastToChildWindows(HWND wnd) {
    for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongA(child, GWL_STYLE) & WS_CHILD) SendSkinCommand(child, scEndParentUpdate, 0);
}

void BroadcastToAllControls(TWinControl* control, TMessage& m) {
    if (!control) return;
    for (int i = 0; i < control->ControlCount(); ++i) {
        TControl* child = control->Controls(i);
        if (child->IsDestroying()) return;
        auto* win = child->IsWindowed() ? static_cast<TWinControl*>(child) : nullptr;
        if (!win || !win->HandleAllocated()) {
            child->Perform(m.Msg, m.WParam, m.LParam);
        } else if (SkinCommandAnswered(win->Handle(), scQuerySupport)) {
            SendMessageA(win->Handle(), m.Msg, m.WParam, m.LParam);
        } else {
            BroadcastToAllControls(win, m);
        }
        // The message may have freed controls: re-read the count each time.
    }
}

namespace {
struct ChildSend {
    HWND parent;
    TMessage* m;
};
BOOL CALLBACK SendToChild(HWND child, LPARAM lp) {
    auto* s = reinterpret_cast<ChildSend*>(lp);
    if (GetParent(child) == s->parent) SendMessageA(child, s->m->Msg, s->m->WParam, s->m->LParam);
    return TRUE;
}
}  // namespace

void SendToChildWindows(HWND wnd, TMessage& m) {
    ChildSend s{wnd, &m};
    EnumChildWindows(wnd, SendToChild, reinterpret_cast<LPARAM>(&s));
}

}  // namespace kova::skin
