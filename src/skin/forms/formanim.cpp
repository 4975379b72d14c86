#include "skin/forms/formanim.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "framework/handles.h"
#include "skin/core/animations.h"
#include "skin/core/glow.h"
#include "skin/core/portable/animframes.h"
#include "skin/core/portable/taskbarrecords.h"
#include "skin/core/skinmanager.h"
#include "skin/core/sysentries.h"
#include "skin/forms/borderform.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/provider.h"

namespace kova::skin {

namespace {

constexpr std::uint32_t kFrameInterval = 12;

TsSkinManager* ManagerOf(TsSkinProvider& p) { return p.SkinData ? p.SkinData->GetSkinManager() : nullptr; }

bool Topmost(HWND wnd) { return (GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

HWND BorderWindowOf(TsSkinProvider& p) {
    TacBorderForm* b = p.BorderForm;
    return b && b->AForm && b->AForm->HandleAllocated() ? b->AForm->Handle() : nullptr;
}

// The window a title button's picture lies on: the border window with
// extended borders, else the form.
HWND ButtonOwner(TsSkinProvider& p) {
    if (HWND border = BorderWindowOf(p)) return border;
    return p.Form && p.Form->HandleAllocated() ? p.Form->Handle() : nullptr;
}

// The small window a fading button shows in: never activated, the mouse
// going through it, out of the task bar, layered.
class TacButtonFadeWindow : public TForm {
    KOVA_CLASS(TacButtonFadeWindow, TForm)
public:
    explicit TacButtonFadeWindow(bool topmost) : TForm(nullptr), topmost_(topmost) {
        SetTag(kSkinOwnWindowTag);
        SetBorderStyle(bsNone);
        OnPaint = [](TObject*) {};
    }

protected:
    void CreateParams(TCreateParams& p) override {
        TForm::CreateParams(p);
        p.Style = WS_POPUP;
        p.ExStyle |= WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW;
        if (topmost_) p.ExStyle |= WS_EX_TOPMOST;
    }
    // The mouse goes through to the button beneath (a transparent style
    // alone is not enough for every system).
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_NCHITTEST) {
            m.Result = HTTRANSPARENT;
            return;
        }
        TForm::WndProc(m);
    }

private:
    bool topmost_;
};

}  // namespace

// ---------------------------------------------------- title-button fades

TacSBAnimation::TacSBAnimation(TsSkinProvider& provider, TsCaptionButton& button)
    : TacThreadedTimer(nullptr, true), provider_(provider), button_(button) {
    SetInterval(kFrameInterval);
}

TacSBAnimation::~TacSBAnimation() {
    SetEnabled(false);
    FreeWindow();
}

void TacSBAnimation::FreeWindow() {
    if (AForm) std::exchange(AForm, nullptr)->Free();
}

void TacSBAnimation::Render() {
    const RECT& r = button_.Rect;
    const int w = r.right - r.left, h = r.bottom - r.top;
    Bmp = std::make_unique<TBitmap>(std::max(w, 1), std::max(h, 1));
    if (!provider_.SkinData || !provider_.SkinData->CacheBmp) return;
    // The button as the painter left it in the cache, in its new state.
    const Bitmap32& cache = provider_.SkinData->CacheBmp->Pixels();
    Bitmap32& out = Bmp->Pixels();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int cx = r.left + x, cy = r.top + y;
            if (cx < 0 || cy < 0 || cx >= cache.Width() || cy >= cache.Height()) continue;
            out.At(x, y) = cache.At(cx, cy);
        }
    if (!provider_.BorderForm) MakeOpaque(out);
}

void TacSBAnimation::ShowFrame(std::uint8_t alpha) {
    const HWND owner = ButtonOwner(provider_);
    if (!owner) return;
    if (!Bmp) Render();
    if (!AForm) {
        AForm = new TacButtonFadeWindow(provider_.Form->FormStyle() == fsStayOnTop);
        AForm->AfterConstruction();
        AForm->HandleNeeded();
    }
    RECT origin;
    GetWindowRect(owner, &origin);
    const POINT at{origin.left + button_.Rect.left, origin.top + button_.Rect.top};
    HWND after = Topmost(owner) ? HWND_TOPMOST : GetWindow(owner, GW_HWNDPREV);
    if (!after || after == AForm->Handle()) after = HWND_TOP;
    SetWindowPos(AForm->Handle(), after, at.x, at.y, Bmp->Width(), Bmp->Height(),
                 SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
    UpdateLayeredBitmap(AForm->Handle(), Bmp.get(), alpha, &at);
    ShowWindow(AForm->Handle(), SW_SHOWNOACTIVATE);
}

bool TacSBAnimation::CursorOverButton() const {
    const HWND owner = ButtonOwner(provider_);
    if (!owner) return false;
    POINT pt;
    GetCursorPos(&pt);
    RECT origin;
    GetWindowRect(owner, &origin);
    pt.x -= origin.left;
    pt.y -= origin.top;
    return PtInRect(&button_.Rect, pt) != FALSE;
}

void TacSBAnimation::SetState(int newState, bool fadeIn) {
    if (newState == State) return;
    State = newState;
    if (newState == 0) {
        FadeIn = false;
        --Step;
        ShowFrame(FadeStepAlpha(Step, Steps));
        if (Steps > 1) SetEnabled(true);
        return;
    }
    if (newState == 2) {
        FreeWindow();
        Bmp.reset();
    }
    Step = 1;
    FadeIn = fadeIn;
    ShowFrame(FadeStepAlpha(Step, Steps));
    Step = 2;
    if (Steps > 1) SetEnabled(true);
}

void TacSBAnimation::Retarget(int newState, int steps, bool fadeIn) {
    if (fadeIn) State = newState;
    Steps = steps;
    FadeIn = fadeIn;
    SetEnabled(true);
    if (newState == 2) {
        Step = Steps;
        FreeWindow();
        Bmp.reset();
        Render();
    }
}

void TacSBAnimation::DoTimer() {
    if (FadeIn) {
        if (Step < Steps) {
            ShowFrame(FadeStepAlpha(Step, Steps));
            ++Step;
            return;
        }
        if (Steps != -1) {
            // The top: from here on only the mouse is watched.
            Step = Steps;
            Steps = -1;
            ShowFrame(255);
            return;
        }
        // A held button keeps its look until it is released (the press
        // holds the mouse capture and ends itself).
        if (State == 2 || ButtonPressed) return;
        if (!CursorOverButton()) {
            SetEnabled(false);
            if (HWND form = provider_.Form && provider_.Form->HandleAllocated() ? provider_.Form->Handle() : nullptr)
                PostMessageA(form, WM_MOUSELEAVE, 0, 0);
        }
        return;
    }
    if (Step >= 1) {
        ShowFrame(FadeStepAlpha(Step, Steps));
        --Step;
        return;
    }
    State = -1;
    SetEnabled(false);
    FreeWindow();
    Bmp.reset();
}

bool TitleButtonFadesWanted(TsSkinProvider& p) {
    TsSkinManager* manager = ManagerOf(p);
    return manager && p.AllowAnimation && LayeredWindowsAvailable() && p.Form && !p.Form->Parent() &&
           (manager->Model().AnimEffects.Buttons.Events & (beMouseEnter | beMouseLeave));
}

void AnimateTitleButton(TsSkinProvider& p, TsCaptionButton& button, int newState, int steps, bool fadeIn) {
    auto* anim = dynamic_cast<TacSBAnimation*>(button.GlowAnim.get());
    if (!anim) {
        // Nothing shows that could fade out.
        if (newState == 0) return;
        auto made = std::make_unique<TacSBAnimation>(p, button);
        anim = made.get();
        button.GlowAnim = std::move(made);
        anim->Steps = steps;
        anim->SetState(newState, true);
        return;
    }
    anim->Retarget(newState, steps, fadeIn);
}

// ----------------------------------------------------- translucent move

TacMoveTimer::TacMoveTimer(TsSkinProvider& provider) : TacThreadedTimer(nullptr, true), provider_(provider) {
    SetInterval(kFrameInterval);
}

void TacMoveTimer::DoTimer() {
    TacBorderForm* border = provider_.BorderForm;
    const HWND wnd = BorderWindowOf(provider_);
    if (border && wnd && provider_.SkinData && provider_.SkinData->CacheBmp)
        UpdateLayeredBitmap(wnd, provider_.SkinData->CacheBmp.get(), CurrentAlpha, nullptr);
    if (CurrentAlpha > BlendValue) CurrentAlpha = ClampAlpha(std::max<int>(CurrentAlpha - AlphaStep, BlendValue));
}

bool BlendOnMovingWanted(TsSkinProvider& p) {
    TsSkinManager* manager = ManagerOf(p);
    if (!manager || !p.BorderForm || !p.Form || !p.Form->HandleAllocated()) return false;
    const HWND wnd = p.Form->Handle();
    const TacBlendOnMoving& blend = manager->Model().AnimEffects.BlendOnMoving;
    if (!blend.Active || IsZoomed(wnd) || IsIconic(wnd)) return false;
    return !IsDwmCompositionEnabled() || (blend.BlendValue < 255 && p.AllowBlendOnMoving);
}

namespace {

// The form's client area painted into a picture of the border window's
// layout (the cache's), so that it shows the whole form while the form
// itself is invisible.
void CompleteWithClient(TsSkinProvider& p, Bitmap32& into) {
    const HWND wnd = p.Form->Handle();
    std::unique_ptr<TBitmap> image = p.MakeFormImage();
    if (!image || image->Width() <= 0) return;
    POINT client{0, 0};
    ClientToScreen(wnd, &client);
    RECT wr;
    GetWindowRect(wnd, &wr);
    const int sx = client.x - wr.left, sy = client.y - wr.top;
    const int dx = p.ClientOffsetX(), dy = p.ClientOffsetY();
    const Bitmap32& src = image->Pixels();
    const int w = ClientWidth(wnd), h = ClientHeight(wnd);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (sx + x >= src.Width() || sy + y >= src.Height() || dx + x >= into.Width() || dy + y >= into.Height())
                continue;
            into.At(dx + x, dy + y) = src.At(sx + x, sy + y) | 0xFF000000u;
        }
}

// The whole form as the border window shows it: the cache with the client.
std::unique_ptr<TBitmap> WholeFormImage(TsSkinProvider& p) {
    if (!p.SkinData->CacheBmp) return nullptr;
    TBitmap& cache = *p.SkinData->CacheBmp;
    auto image = std::make_unique<TBitmap>(cache.Width(), cache.Height());
    CopyPixels(cache.Pixels(), image->Pixels());
    CompleteWithClient(p, image->Pixels());
    return image;
}

// Invisible but there: layered at alpha 0.
void MakeInvisible(HWND wnd) {
    SetWindowLongPtrA(wnd, GWL_EXSTYLE, GetWindowLongPtrA(wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    if (SetLayeredWindowAttributesFn set = SystemEntries().SetLayeredWindowAttributes) set(wnd, 0, 0, LWA_ALPHA);
}

void DropLayered(HWND wnd) {
    SetWindowLongPtrA(wnd, GWL_EXSTYLE, GetWindowLongPtrA(wnd, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
}

void EndBlendOnMoving(TsSkinProvider& p, TacMoveTimer& timer) {
    auto* border = static_cast<TacSkinBorderForm*>(p.BorderForm);
    const HWND wnd = p.Form->Handle();
    const HWND bw = BorderWindowOf(p);
    timer.SetEnabled(false);
    if (bw && p.SkinData->CacheBmp) UpdateLayeredBitmap(bw, p.SkinData->CacheBmp.get(), 0, nullptr);
    if (bw) {
        RECT r;
        GetWindowRect(bw, &r);
        const int top = p.UseSysCaption ? border->ExtMargins().top + ExtendedTitleDiff(border) + 4 : border->TopOffset();
        SetWindowPos(wnd, nullptr, r.left + border->LeftOffset(), r.top + top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
    }
    p.FormState &= ~kStateTranslucentMove;
    DropLayered(wnd);
    p.SkinData->BGChanged = true;
    RedrawWindow(wnd, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    border->Updating = false;
    border->UpdateBorderWindow(true, 255);
}

}  // namespace

bool StartBlendOnMoving(TsSkinProvider& p) {
    if ((p.FormState & kStateTranslucentMove) || !BlendOnMovingWanted(p)) return false;
    auto* border = static_cast<TacSkinBorderForm*>(p.BorderForm);
    const HWND bw = BorderWindowOf(p);
    if (!bw) return false;
    TsSkinManager* manager = ManagerOf(p);
    const TacBlendOnMoving& blend = manager->Model().AnimEffects.BlendOnMoving;
    const HWND wnd = p.Form->Handle();
    p.AnimTimer.reset();
    auto timer = std::make_unique<TacMoveTimer>(p);
    TacMoveTimer& t = *timer;
    p.AnimTimer = std::move(timer);
    t.CurrentAlpha = 255;
    t.BlendValue = p.AllowBlendOnMoving ? ClampAlpha(blend.BlendValue) : 255;
    t.AlphaStep = MoveAlphaStep(t.BlendValue, blend.Time);
    // The border window carries the whole form from here on.
    border->UpdateBorderWindow(false, 255);
    p.FormState |= kStateTranslucentMove;
    p.PaintNonClientCache();
    if (p.SkinData->CacheBmp) CompleteWithClient(p, p.SkinData->CacheBmp->Pixels());
    border->Updating = true;
    SetWindowRgn(bw, nullptr, FALSE);
    UpdateLayeredBitmap(bw, p.SkinData->CacheBmp.get(), 255, nullptr);
    SetWindowPos(bw, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
    // The form itself becomes invisible meanwhile.
    MakeInvisible(wnd);
    t.SetEnabled(true);
    border->MovePos = POINT{-1, -1};
    // The border window runs the system's move loop.
    SendMessageA(bw, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    if (border->MovePos.x != -1 && border->MovePos.y != -1 && border->MovePos.y < 0 &&
        LOBYTE(LOWORD(GetVersion())) >= 6) {
        SetWindowPos(bw, nullptr, border->MovePos.x, border->MovePos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(bw, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
    EndBlendOnMoving(p, t);
    p.AnimTimer.reset();
    return true;
}

// -------------------------------------------------- minimise and restore

TacMinTimer::TacMinTimer(TsSkinProvider& provider) : TacThreadedTimer(nullptr, true), provider_(provider) {
    SetInterval(15);
}

TacMinTimer::~TacMinTimer() { SetEnabled(false); }

void TacMinTimer::Init() {
    TsSkinProvider& p = provider_;
    TsSkinManager* manager = ManagerOf(p);
    const int time = manager ? manager->Model().AnimEffects.Minimizing.Time : 200;
    SetInterval(15);
    MaxAlpha = p.Form->AlphaBlend() ? ClampAlpha(p.Form->AlphaBlendValue()) : 255;
    StepCount = std::max(time / 15, 1);
    if (!Initialised) CurrentAlpha = MaxAlpha;
    Initialised = true;
    AnimWnd = BorderWindowOf(p);
    GetWindowRect(AnimWnd ? AnimWnd : p.Form->Handle(), &StartRect);
    TargetRect = GetMinimizeTarget(StartRect, p.Form->Handle());
    const double scx = (StartRect.left + StartRect.right) / 2.0, scy = (StartRect.top + StartRect.bottom) / 2.0;
    const double tcx = (TargetRect.left + TargetRect.right) / 2.0, tcy = (TargetRect.top + TargetRect.bottom) / 2.0;
    DX = (tcx - scx) / StepCount;
    DY = (tcy - scy) / StepCount;
    DW = ((StartRect.right - StartRect.left) - (TargetRect.right - TargetRect.left)) / (2.0 * StepCount);
    DH = ((StartRect.bottom - StartRect.top) - (TargetRect.bottom - TargetRect.top)) / (2.0 * StepCount);
    // At least one alpha value a step: the animation always ends.
    AlphaStep = std::max(static_cast<double>(MaxAlpha) / std::max(1, StepCount - 1), 1.0);
    Left = StartRect.left;
    Top = StartRect.top;
    Right = StartRect.right;
    Bottom = StartRect.bottom;
    FrameBmp = std::make_unique<TBitmap>(std::max<int>(StartRect.right - StartRect.left, 1),
                                         std::max<int>(StartRect.bottom - StartRect.top, 1));
}

void TacMinTimer::DoTimer() {
    if (busy_) return;
    busy_ = true;
    struct TReset {
        bool& flag;
        ~TReset() { flag = false; }
    } reset{busy_};
    Frame();
}

void TacMinTimer::Frame() {
    TsSkinProvider& p = provider_;
    if (p.FormState & kStateRestoring)
        Restoring = true;
    else if (p.FormState & kStateMinimizing)
        Restoring = false;
    if (!AnimWnd || !IsWindow(AnimWnd) || !p.Form || !p.Form->HandleAllocated()) return;
    auto* border = static_cast<TacSkinBorderForm*>(p.BorderForm);
    if (border) border->Updating = true;
    const HWND form = p.Form->Handle();
    if (!Restoring) {
        Left += DX + DW;
        Right += DX - DW;
        Top += DY + DH;
        Bottom += DY - DH;
        CurrentAlpha = std::max(CurrentAlpha - static_cast<int>(std::lround(AlphaStep)), 0);
        if (CurrentAlpha == 0) {
            SetEnabled(false);
            p.HotButton = 0;
            p.FormState &= ~kStateMinimizing;
            DropLayered(form);
            if (border) {
                if (TForm* window = border->ReleaseWindow()) window->Free();
                border->Updating = false;
            }
            AnimWnd = nullptr;
            Restoring = true;
            p.InAnimation = 0;
            return;
        }
    } else {
        Left -= DX + DW;
        Right -= DX - DW;
        Top -= DY + DH;
        Bottom -= DY - DH;
        SetWindowRgn(AnimWnd, nullptr, FALSE);
        CurrentAlpha = std::min(CurrentAlpha + static_cast<int>(std::lround(AlphaStep)), MaxAlpha);
        if (CurrentAlpha >= MaxAlpha) {
            SetEnabled(false);
            // The system's own minimise animation stays out of it.
            ANIMATIONINFO info{sizeof info, 0};
            SystemParametersInfoA(SPI_GETANIMATION, sizeof info, &info, 0);
            const int old = info.iMinAnimate;
            info.iMinAnimate = 0;
            if (old) SystemParametersInfoA(SPI_SETANIMATION, sizeof info, &info, 0);
            ShowWindow(form, IsZoomed(form) ? SW_SHOWMAXIMIZED : SW_SHOWNOACTIVATE);
            if (old) {
                info.iMinAnimate = old;
                SystemParametersInfoA(SPI_SETANIMATION, sizeof info, &info, 0);
            }
            DropLayered(form);
            if (p.Form->AlphaBlend()) p.Form->SetAlphaBlendValue(MaxAlpha);
            p.InAnimation = 0;
            p.FormState &= ~kStateRestoring;
            Restoring = false;
            RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            if (border) {
                border->Updating = false;
                p.SkinData->BGChanged = true;
                border->UpdateBorderWindow(true, 255);
            }
            return;
        }
    }
    const int w = static_cast<int>(std::lround(Right - Left)), h = static_cast<int>(std::lround(Bottom - Top));
    if (w < 1 || h < 1 || !FormImage) return;
    FrameBmp->SetSize(w, h);
    FrameBmp->Pixels().Fill(0);
    StretchPixels(FormImage->Pixels(), FrameBmp->Pixels(), 0, 0, w, h);
    const POINT at{static_cast<int>(std::lround(Left)), static_cast<int>(std::lround(Top))};
    UpdateLayeredBitmap(AnimWnd, FrameBmp.get(), ClampAlpha(CurrentAlpha), &at);
    if (HWND tray = FindWindowA("Shell_TrayWnd", nullptr))
        SetWindowPos(AnimWnd, tray, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER |
                         SWP_NOSENDCHANGING);
}

void TsSkinProvider::StartMinimizing() {
    TsSkinManager* manager = ManagerOf(*this);
    if (!manager || !manager->Model().AnimEffects.Minimizing.Active || !Form || !Form->HandleAllocated()) return;
    if (auto* border = static_cast<TacSkinBorderForm*>(BorderForm)) border->FreeTitleGlows();
    if (FormState & kStateMinimizing) return;
    // The minimise animation shows the extended borders' window.
    if (!BorderForm) return;
    FormState |= kStateMinimizing;
    InAnimation = 1;
    auto* timer = dynamic_cast<TacMinTimer*>(AnimTimer.get());
    if (!timer) {
        AnimTimer.reset();
        auto made = std::make_unique<TacMinTimer>(*this);
        timer = made.get();
        AnimTimer = std::move(made);
    }
    FormState &= ~kStateRestoring;
    if (timer->CurrentAlpha < timer->MaxAlpha && timer->Initialised) {
        timer->SetEnabled(true);
        return;
    }
    auto* border = static_cast<TacSkinBorderForm*>(BorderForm);
    border->UpdateBorderWindow(false, 255);
    PaintNonClientCache();
    timer->FormImage = WholeFormImage(*this);
    timer->Init();
    border->Updating = true;
    if (const HWND bw = BorderWindowOf(*this)) {
        SetWindowPos(bw, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
        SetWindowRgn(bw, nullptr, FALSE);
    }
    MakeInvisible(Form->Handle());
    timer->SetEnabled(true);
}

bool TsSkinProvider::StartRestoring() {
    auto* timer = dynamic_cast<TacMinTimer*>(AnimTimer.get());
    TsSkinManager* manager = ManagerOf(*this);
    if (!timer || !manager || !manager->Model().AnimEffects.Minimizing.Active || (FormState & kStateRestoring))
        return false;
    auto* border = static_cast<TacSkinBorderForm*>(BorderForm);
    if (!border || !Form || !Form->HandleAllocated()) return false;
    FormState &= ~kStateMinimizing;
    FormState |= kStateRestoring;
    InAnimation = 1;
    border->Updating = true;
    if (!border->AForm) {
        border->CreateBorderWindow();
        if (const HWND bw = BorderWindowOf(*this); bw && SkinData->CacheBmp) {
            const POINT at{timer->TargetRect.left, timer->TargetRect.top};
            UpdateLayeredBitmap(bw, SkinData->CacheBmp.get(), 0, &at);
        }
    }
    timer->AnimWnd = BorderWindowOf(*this);
    if (timer->AnimWnd)
        SetWindowPos(timer->AnimWnd, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
    MakeInvisible(Form->Handle());
    FormActive = true;
    SkinData->BGChanged = true;
    PaintNonClientCache();
    if (!timer->FormImage) timer->FormImage = WholeFormImage(*this);
    timer->SetEnabled(true);
    return true;
}

// ------------------------------------------------------ minimise target

int TaskbarEdge(const RECT& t) {
    const int w = t.right - t.left, h = t.bottom - t.top;
    if (t.left == 0 && t.top == 0) return w > h ? teTop : teLeft;
    if (t.top == 0) return teRight;
    if (t.left >= -4 && t.left <= 0) return teBottom;
    return teRight;
}

RECT GetMinimizeTarget(HWND tray, const RECT& start, HWND appWindow) {
    if (!tray) return RECT{0, 0, 0, 0};
    if (!IsDwmCompositionEnabled()) {
        const RECT button = FindTaskbarButtonRect(tray, appWindow);
        if (button.right > button.left) return button;
    }
    RECT t;
    GetWindowRect(tray, &t);
    const int cx = (start.left + start.right) / 2, cy = (start.top + start.bottom) / 2;
    POINT at{};
    switch (TaskbarEdge(t)) {
        case teLeft:
            at = {t.right, cy};
            break;
        case teTop:
            at = {cx, t.bottom};
            break;
        case teBottom:
            at = {cx, t.top};
            break;
        default:
            at = {t.left, cy};
            break;
    }
    return RECT{at.x, at.y, at.x, at.y};
}

RECT GetMinimizeTarget(const RECT& start, HWND appWindow) {
    return GetMinimizeTarget(FindWindowA("Shell_TrayWnd", nullptr), start, appWindow);
}

namespace {

// The shell's process, opened for reading and for one scratch buffer only.
struct TRemoteProcess {
    HANDLE Process = nullptr;
    void* Buffer = nullptr;
    ~TRemoteProcess() {
        if (Buffer) VirtualFreeEx(Process, Buffer, 0, MEM_RELEASE);
        if (Process) CloseHandle(Process);
    }
    bool Read(const void* at, void* into, SIZE_T size) const {
        SIZE_T got = 0;
        return at && ReadProcessMemory(Process, at, into, size, &got) && got == size;
    }
};

// The shell's bytes at `at`, as many as its record of `size` holds.
std::optional<std::vector<std::uint8_t>> ReadRecord(const TRemoteProcess& shell, const void* at, std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    if (!shell.Read(at, bytes.data(), size)) return std::nullopt;
    return bytes;
}

}  // namespace

RECT FindTaskbarButtonRect(HWND tray, HWND appWindow) {
    RECT none{0, 0, 0, 0};
    if (!tray || !appWindow) return none;
    HWND bar = FindWindowExA(tray, nullptr, "ReBarWindow32", nullptr);
    HWND tasks = bar ? FindWindowExA(bar, nullptr, "MSTaskSwWClass", nullptr) : nullptr;
    HWND toolbar = tasks ? FindWindowExA(tasks, nullptr, "ToolbarWindow32", nullptr) : nullptr;
    if (!toolbar) return none;
    const LRESULT count = SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0);
    if (!TaskbarButtonCountBelievable(count)) return none;
    DWORD pid = 0;
    GetWindowThreadProcessId(toolbar, &pid);
    TRemoteProcess shell;
    // Reading, one scratch buffer the shell writes into, and its bitness:
    // nothing more is asked of the shell's process.
    shell.Process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!shell.Process) return none;
    // The records are laid out by the shell's bitness, not ours.
    BOOL wow64 = FALSE;
    bool shell32 = sizeof(void*) == 4;
    if (IsWow64ProcessFn isWow64 = SystemEntries().IsWow64Process; isWow64 && isWow64(shell.Process, &wow64))
        shell32 = shell32 || wow64;
    const TShellBitness bits = shell32 ? TShellBitness::Bits32 : TShellBitness::Bits64;
    shell.Buffer = VirtualAllocEx(shell.Process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!shell.Buffer) return none;
    for (LRESULT i = 0; i < count; ++i) {
        if (!SendMessageA(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(shell.Buffer)))
            continue;
        const auto record = ReadRecord(shell, shell.Buffer, TaskbarButtonRecordSize(bits));
        const auto button = record ? DecodeTaskbarButton(*record, bits) : std::nullopt;
        if (!button) return none;
        if (!button->StandsForAWindow()) continue;
        const auto at = reinterpret_cast<const void*>(static_cast<std::uintptr_t>(button->Data));
        const auto handleBytes = ReadRecord(shell, at, TaskbarHandleSize(bits));
        const auto handle = handleBytes ? DecodeTaskbarHandle(*handleBytes, bits) : std::nullopt;
        if (!handle || reinterpret_cast<HWND>(static_cast<std::uintptr_t>(*handle)) != appWindow) continue;
        if (!SendMessageA(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(shell.Buffer)))
            return none;
        const auto rectBytes = ReadRecord(shell, shell.Buffer, kTaskbarRectSize);
        const auto found = rectBytes ? DecodeTaskbarRect(*rectBytes) : std::nullopt;
        if (!found) return none;
        RECT r{found->Left, found->Top, found->Right, found->Bottom};
        POINT origin{0, 0};
        ClientToScreen(toolbar, &origin);
        OffsetRect(&r, origin.x, origin.y);
        return r;
    }
    return none;
}

}  // namespace kova::skin
