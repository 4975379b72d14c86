#include "framework/hints.h"

#include <algorithm>

namespace kova {

namespace {
constexpr UINT kShowTimer = 1, kHideTimer = 2, kWatchTimer = 3;
// How often a shown or waiting hint checks that the cursor is still over
// its control (it may have left for a window that is not ours).
constexpr int kWatchPeriod = 100;
constexpr int kTextMargin = 2;

TApplicationHints*& HintsInstance() {
    static TApplicationHints* hints = nullptr;
    return hints;
}
}  // namespace

// ------------------------------------------------------------ THintWindow

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetVisible(false);
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style = WS_POPUP | WS_BORDER;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    p.WndParent = nullptr;
    p.WindowClass.style |= CS_SAVEBITS;
}

void THintWindow::HandleMessage(TMessage& m) {
    if (m.Msg == WM_NCHITTEST) {
        m.Result = HTTRANSPARENT;
        return;
    }
    if (m.Msg == WM_MOUSEACTIVATE) {
        m.Result = MA_NOACTIVATE;
        return;
    }
    TCustomControl::HandleMessage(m);
}

RECT THintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
    RECT r{0, 0, std::max(maxWidth, 1), 0};
    HDC dc = GetDC(nullptr);
    {
        TCanvasLease lease(*Canvas(), dc);
        Canvas()->Font()->Assign(Font());
        DrawTextA(Canvas()->Handle(), hint.c_str(), static_cast<int>(hint.size()), &r,
                  DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    }
    ReleaseDC(nullptr, dc);
    // The frame and the margins around the text.
    r.right += 2 * (kTextMargin + 1);
    r.bottom += 2 * (kTextMargin + 1);
    return r;
}

void THintWindow::Paint() {
    RECT r = ClientRect();
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(r);
    InflateRect(&r, -kTextMargin, -kTextMargin);
    SetBkMode(Canvas()->Handle(), TRANSPARENT);
    Canvas()->Font()->Assign(Font());
    const std::string text = Caption();
    DrawTextA(Canvas()->Handle(), text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

void THintWindow::ActivateHint(RECT r, const std::string& hint) {
    SetCaption(hint);
    HWND wnd = Handle();
    SetWindowPos(wnd, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(wnd, nullptr, TRUE);
    UpdateWindow(wnd);
}

void THintWindow::ReleaseHint() {
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

bool THintWindow::HintShowing() { return HandleAllocated() && IsWindowVisible(Handle()); }

// ------------------------------------------------------ TApplicationHints

TApplicationHints::TApplicationHints() : TComponent(nullptr) {}

TApplicationHints::~TApplicationHints() {
    SetControl(nullptr);
    for (UINT kind : {kShowTimer, kHideTimer, kWatchTimer}) Stop(kind);
    if (window_) window_->Free();
}

TApplicationHints& ApplicationHints() {
    TApplicationHints*& h = HintsInstance();
    if (!h) h = new TApplicationHints();
    return *h;
}

void FreeApplicationHints() {
    TApplicationHints*& h = HintsInstance();
    delete h;
    h = nullptr;
}

void TApplicationHints::SetHintWindowClass(THintWindowClass maker) {
    CancelHint();
    maker_ = std::move(maker);
    if (window_) window_->Free();
    window_ = nullptr;
}

void TApplicationHints::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
    if (op != TOperation::opRemove) return;
    if (c == control_) {
        control_ = nullptr;
        CancelHint();
    }
}

void TApplicationHints::SetControl(TControl* c) {
    if (c == control_) return;
    if (control_) control_->RemoveFreeNotification(this);
    control_ = c;
    if (control_) control_->FreeNotification(this);
}

// Thread timers: no window of their own, so that resting on a control
// leaves no handle behind.
void CALLBACK TApplicationHints::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    TApplicationHints* h = HintsInstance();
    if (!h) {
        KillTimer(nullptr, id);
        return;
    }
    for (UINT kind : {kShowTimer, kHideTimer, kWatchTimer})
        if (h->timers_[kind] == id) h->TimerFired(kind);
}

void TApplicationHints::Start(UINT kind, int ms) {
    Stop(kind);
    timers_[kind] = SetTimer(nullptr, 0, static_cast<UINT>(std::max(ms, 1)), &TApplicationHints::TimerProc);
}

void TApplicationHints::Stop(UINT kind) {
    if (timers_[kind]) KillTimer(nullptr, timers_[kind]);
    timers_[kind] = 0;
}

void TApplicationHints::HideWindow() {
    shown_ = false;
    if (!window_) return;
    window_->ReleaseHint();
    // Made again for the next hint: a hidden hint keeps no window.
    window_->DestroyHandle();
}

void TApplicationHints::CancelHint() {
    Stop(kShowTimer);
    Stop(kHideTimer);
    Stop(kWatchTimer);
    recentlyShown_ = shown_;
    if (shown_) HideWindow();
    SetControl(nullptr);
}

void TApplicationHints::MouseMoved(TControl* control) {
    TControl* target = control;
    while (target && !(target->ShowHint() && !target->Hint().empty())) target = target->Parent();
    if (target == control_) return;
    const bool wasShown = shown_ || recentlyShown_;
    CancelHint();
    if (!target) {
        recentlyShown_ = false;
        return;
    }
    SetControl(target);
    Start(kShowTimer, wasShown ? HintShortPause : HintPause);
    Start(kWatchTimer, kWatchPeriod);
}

bool TApplicationHints::CursorOverControl() const {
    if (!control_ || !control_->Showing()) return false;
    POINT p{};
    GetCursorPos(&p);
    const POINT local = control_->ScreenToClient(p);
    const RECT r = control_->ClientRect();
    return PtInRect(&r, local) != FALSE;
}

void TApplicationHints::TimerFired(UINT kind) {
    switch (kind) {
        case kShowTimer:
            Stop(kShowTimer);
            ShowNow();
            break;
        case kHideTimer:
            Stop(kHideTimer);
            HideWindow();
            break;
        default:
            if (!CursorOverControl()) {
                CancelHint();
                recentlyShown_ = false;
            }
            break;
    }
}

void TApplicationHints::ShowNow() {
    if (!CursorOverControl()) {
        CancelHint();
        return;
    }
    THintInfo info;
    info.HintControl = control_;
    GetCursorPos(&info.HintPos);
    info.CursorPos = control_->ScreenToClient(info.HintPos);
    info.CursorRect = control_->ClientRect();
    info.HintMaxWidth = GetSystemMetrics(SM_CXSCREEN);
    info.HintStr = control_->Hint();
    std::string text = info.HintStr;
    bool canShow = true;
    if (OnShowHint) OnShowHint(text, canShow, info);
    if (!canShow || text.empty()) return;
    if (!window_) window_ = maker_ ? maker_(nullptr) : new THintWindow(nullptr);
    RECT r = window_->CalcHintRect(info.HintMaxWidth, text);
    OffsetRect(&r, info.HintPos.x, info.HintPos.y);
    window_->ActivateHint(r, text);
    shown_ = true;
    Start(kHideTimer, HintHidePause);
}

}  // namespace kova
