// The application's hints: a control whose ShowHint is set shows its Hint
// in a hint window when the mouse rests on it for the hint pause. The
// window class is process-wide and replaceable (a skinning component puts
// its own there); the show-hint event may change the text, the place or
// forbid the hint.
#pragma once

#include <functional>
#include <string>

#include "framework/controls.h"

namespace kova {

struct THintInfo {
    TControl* HintControl = nullptr;
    // Screen point the hint goes to (the cursor's point).
    POINT HintPos{};
    int HintMaxWidth = 0;
    std::string HintStr;
    // The control's client rectangle and the cursor in it.
    RECT CursorRect{};
    POINT CursorPos{};
};
using TShowHintEvent = std::function<void(std::string& hintStr, bool& canShow, THintInfo& info)>;

// The plain hint window: text on the info colour in a thin frame.
class THintWindow : public TCustomControl {
    KOVA_CLASS(THintWindow, TCustomControl)
public:
    explicit THintWindow(TComponent* AOwner);
    // The size the text takes (top-left at 0, 0).
    virtual RECT CalcHintRect(int maxWidth, const std::string& hint);
    // Shows the hint in the screen rectangle without taking the focus.
    virtual void ActivateHint(RECT r, const std::string& hint);
    // Hides it.
    virtual void ReleaseHint();
    bool HintShowing();

protected:
    void CreateParams(TCreateParams& p) override;
    void Paint() override;
    void HandleMessage(TMessage& m) override;
};

// Makes the hint window of the process (empty: THintWindow); it has no
// owner: the application's hints free it.
using THintWindowClass = std::function<THintWindow*(TComponent* owner)>;

class TApplicationHints : public TComponent {
    KOVA_CLASS(TApplicationHints, TComponent)
public:
    TApplicationHints();
    ~TApplicationHints() override;

    // Milliseconds: the rest before the first hint, before the next one
    // while a hint was shown, and how long a hint stays.
    int HintPause = 500;
    int HintShortPause = 50;
    int HintHidePause = 2500;
    TShowHintEvent OnShowHint;

    void SetHintWindowClass(THintWindowClass maker);
    // The window of the last hint (nullptr before the first).
    THintWindow* HintWindow() const { return window_; }
    // The control whose hint is waiting or shown.
    TControl* HintControl() const { return control_; }

    // A control saw the mouse move over it.
    void MouseMoved(TControl* control);
    // Hides the hint and forgets the control.
    void CancelHint();

protected:
    void Notification(TComponent* c, TOperation op) override;

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
    void TimerFired(UINT kind);
    void ShowNow();
    void HideWindow();
    void SetControl(TControl* c);
    bool CursorOverControl() const;
    void Start(UINT kind, int ms);
    void Stop(UINT kind);

    // The running thread timers by kind (index 1..3; 0: not running).
    UINT_PTR timers_[4] = {};
    THintWindowClass maker_;
    THintWindow* window_ = nullptr;
    TControl* control_ = nullptr;
    bool shown_ = false;
    bool recentlyShown_ = false;
};

TApplicationHints& ApplicationHints();
// Frees it and its window (end of the program).
void FreeApplicationHints();

}  // namespace kova
