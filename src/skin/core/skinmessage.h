// The skinning engine's private window message. Skinned controls, window
// adapters and form providers ask one another through it (the background
// under a control, whether a window is skinned at all), and the skin
// manager tells every skinned window of a new or removed skin with it.
//
// A command is the message SkinCommandMessage with the sub-code in the
// high word of wParam, a small argument (0 or 1) in the low word and a
// pointer-sized argument in lParam. A window that does not know the
// message answers 0: senders read 0 as "not skinned" / "no answer".
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/controls.h"
#include "skin/core/skinstate.h"

namespace kova::skin {

// Every sender and receiver compares against this name, never the number.
inline const UINT SkinCommandMessage = 0xA100;

// Sub-codes. Those without a name here are used only between window
// adapters, menus and form providers; a skin record ignores them.
enum : int {
    scSkinApplied = 1,        // lParam: the manager whose skin was applied
    scSkinRemoved = 2,        // lParam: the manager
    scRefresh = 3,            // lParam: the manager
    scGetProvider = 4,        // a form answers its skin provider (0: none)
    scEndParentUpdate = 6,
    scQuerySupport = 7,       // 1: the window is skinned
    scSetUpdating = 8,        // low word 1: on
    scSetParentDependent = 9, // low word 1: on
    scQueryUpdating = 10,
    scQueryCacheIncomplete = 11,
    scInvalidateSection = 13,
    scCopySection = 15,       // lParam: another TsCommonData
    scBeforeRepaintAll = 16,
    scInvalidateBg = 17,
    scScreenFormNotify = 18,
    scQueryParentDependent = 19,
    scParentBgChanged = 20,   // low word 1: redraw
    scQueryBgColor = 21,      // callers pass 0xFF00FF in lParam
    scSetCacheIncomplete = 22,
    scParentFormNotify = 25,  // lParam: the windowed control just created
    scQuerySkinIndex = 26,    // lParam: pointer to an int32
    scGroupBoxCaptionHeight = 27,
    scHotEnter = 29,
    scHotLeave = 30,
    scBeginUpdate = 31,
    scEndUpdate = 32,
    scDropCaches = 33,
    scQueryBgInfo = 34,       // lParam: pointer to a TsBackgroundInfo
    scControlFlags = 36,      // lParam 1: update the flags, else answer them
    scGetSkinData = 37,       // answers the TsCommonData
    scSetLinkedObject = 38,   // lParam: object or 0
    scGetApplication = 60,
    scMaxSubCode = 60,
};

inline WPARAM SkinCommand(int subCode, int low = 0) { return MAKEWPARAM(low, subCode); }
inline int SkinSubCode(WPARAM w) { return HIWORD(w); }
inline int SkinLowArg(WPARAM w) { return LOWORD(w); }
inline bool IsSkinCommand(const TMessage& m) { return m.Msg == SkinCommandMessage; }
// The framework's message record filled in one go.
inline void FillMessageRec(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT result, TMessage& rec) {
    rec = TMessage{msg, wParam, lParam, result};
}

// Sets FormAnimating (skin/core/skinstate.h) for as long as it lives, however the animation ends.
class TFormAnimatingScope {
public:
    TFormAnimatingScope() { FormAnimating = true; }
    ~TFormAnimatingScope() { FormAnimating = false; }
    TFormAnimatingScope(const TFormAnimatingScope&) = delete;
    TFormAnimatingScope& operator=(const TFormAnimatingScope&) = delete;
};

// ---------------------------------------------------------------- senders

// SendMessage of the command to a window; its answer.
LRESULT SendSkinCommand(HWND wnd, int subCode, LPARAM lParam, int low = 0);
// To a control: a windowless control through Perform; a windowed one by
// SendMessage, but only when it is not being destroyed and already has its
// window (never created for this). Otherwise nothing is sent: 0.
LRESULT SendSkinCommandToControl(TControl* control, int subCode, LPARAM lParam, int low = 0);
inline LRESULT NotifyControl(TControl* control, int subCode) { return SendSkinCommandToControl(control, subCode, 0); }
// True exactly when the window answers 1 (with sub-code 7: it is skinned).
bool SkinCommandAnswered(HWND wnd, int subCode);
// Tells the control's form that a windowed control was created (sub-code
// 25); nothing while loading or without a form (or its window).
void NotifyParentFormOfControl(TControl* control);
// A control's colour for what lies under its children: a skinned control's
// answer to sub-code 21, else its own Color; RGB, 0xFF00FF for none.
std::uint32_t GetControlColor(TControl* control);
// A window's answer to sub-code 21 as RGB; 0xFF00FF for no window.
std::uint32_t GetWindowColor(HWND wnd);

// ------------------------------------------------------------- broadcasts

// Sub-code 6 to the direct children (not to graphic controls, not to
// windowed ones without a window or not showing); nothing while a form
// animation runs.
void BroadcastToChildControls(TWinControl* control);
// Sub-code 6 to every child window (WS_CHILD) in z-order.
void BroadcastToChildWindows(HWND wnd);
// The message to the control tree under `control`: windowless children and
// children without a window through Perform; skinned windows by
// SendMessage (they pass it on themselves); the tree under an unskinned
// window is walked instead. Stops at the first child being destroyed.
void BroadcastToAllControls(TWinControl* control, TMessage& m);
// The message to every direct child window of wnd.
void SendToChildWindows(HWND wnd, TMessage& m);

}  // namespace kova::skin
