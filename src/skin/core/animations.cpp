#include "skin/core/animations.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "skin/core/dc/dcroutines.h"
#include "skin/core/formimages.h"
#include "skin/core/glow.h"
#include "skin/core/portable/animframes.h"
#include "skin/core/providerbase.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/core/sysentries.h"
#include "skin/core/thdtimer.h"
#include "skin/core/vclutils.h"

namespace kova::skin {

// ------------------------------------------------------------------ output

namespace {

// The animations' output, or the system's where no one replaced it.
BOOL UpdateLayered(HWND wnd, HDC screenDC, POINT* dest, SIZE* size, HDC sourceDC, POINT* sourcePoint, COLORREF key,
                   BLENDFUNCTION* blend, DWORD flags, const RECT* dirty = nullptr) {
    if (const auto& out = AnimationOutput().UpdateLayeredWindow)
        return out(wnd, screenDC, dest, size, sourceDC, sourcePoint, key, blend, flags, dirty);
    return SystemUpdateLayered(wnd, screenDC, dest, size, sourceDC, sourcePoint, key, blend, flags, dirty);
}

void SleepFor(DWORD ms) {
    if (const auto& out = AnimationOutput().Sleep)
        out(ms);
    else
        ::Sleep(ms);
}

void Pause() { SleepFor(kAnimFrameInterval); }

// The animations' clock, in milliseconds.
double NowMs() {
    if (const auto& clock = AnimationOutput().Clock) return clock();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The frames of a show or skin-change fade keep to the clock: frame i is
// due one frame period after frame i - 1 was due, and the wait before it is
// what is left of its period once the frames before were painted and
// pushed; a frame whose time went by while an earlier one was still being
// pushed is left out (never the last). A whole period's sleep after each
// frame made every period the period plus a frame's work, which for a
// main form's border window under Wine is several periods: the fade took
// many times its time.
class FrameClock {
public:
    FrameClock() : start_(NowMs()) {}
    void WaitForFrame(int index) {
        const double left = start_ + index * kAnimFrameInterval - NowMs();
        if (left >= 1) SleepFor(static_cast<DWORD>(std::lround(left)));
    }
    // The frame whose period it is now.
    int Due() const { return static_cast<int>((NowMs() - start_) / kAnimFrameInterval); }

private:
    double start_;
};

// The colour key UpdateLayeredWindow is given (not a colour: per-pixel
// alpha is used).
constexpr COLORREF kNoColourKey = 0x1FFFFFFF;

BLENDFUNCTION Blend(std::uint8_t alpha) { return BLENDFUNCTION{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA}; }

void ShowLayered(HWND wnd, HDC screenDC, POINT pos, TBitmap& picture, std::uint8_t alpha, const RECT* dirty = nullptr) {
    SIZE size{picture.Width(), picture.Height()};
    POINT src{0, 0};
    BLENDFUNCTION blend = Blend(alpha);
    UpdateLayered(wnd, screenDC, &pos, &size, picture.Canvas()->Handle(), &src, kNoColourKey, &blend, ULW_ALPHA, dirty);
}

void MakeLayeredNoActivate(HWND wnd) {
    const LONG_PTR ex = GetWindowLongPtrA(wnd, GWL_EXSTYLE);
    const LONG_PTR want = ex | WS_EX_LAYERED | WS_EX_NOACTIVATE;
    if (want != ex) SetWindowLongPtrA(wnd, GWL_EXSTYLE, want);
}

bool IsTopmost(HWND wnd) { return (GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// The overlays the animations make for themselves: borderless, never
// activated, out of the task bar, layered from the start, never skinned.
class TacOverlayForm : public TForm {
    KOVA_CLASS(TacOverlayForm, TForm)
public:
    explicit TacOverlayForm(TComponent* owner) : TForm(owner) {
        SetTag(kSkinOwnWindowTag);
        SetBorderStyle(bsNone);
    }

protected:
    void CreateParams(TCreateParams& p) override {
        TForm::CreateParams(p);
        p.Style = WS_POPUP;
        p.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED;
    }
};

TForm* NewOverlay(const RECT& bounds) {
    TForm* form = TCustomForm::Create<TacOverlayForm>(nullptr);
    form->SetBoundsRect(bounds);
    form->HandleNeeded();
    return form;
}

// An overlay of one animation: freed on every way out of it, so that an
// exception between its creation and its end leaves no layered window
// over the screen.
struct OverlayFree {
    void operator()(TForm* form) const { form->Free(); }
};
using OverlayPtr = std::unique_ptr<TForm, OverlayFree>;

RECT WindowRect(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}

std::unique_ptr<TBitmap> CopyOf(TBitmap& source) {
    auto copy = std::make_unique<TBitmap>(source.Width(), source.Height());
    CopyPixels(source.Pixels(), copy->Pixels());
    return copy;
}

// Shows the overlay over `real` and runs the show frames: the source fades
// in (and in the aero mode grows from three quarters of its size) at pos.
void RunShowFrames(HWND overlay, HWND real, HDC screenDC, POINT pos, TBitmap& source, std::uint16_t time,
                   std::uint8_t maxAlpha, TacAnimType mode, bool dialog) {
    const int steps = AnimationSteps(time);
    const int w = source.Width(), h = source.Height();
    MakeLayeredNoActivate(overlay);
    ShowLayered(overlay, screenDC, pos, source, steps < 1 ? maxAlpha : 0);
    ShowWindow(overlay, SW_SHOWNOACTIVATE);
    HWND after = HWND_TOPMOST;
    if (!IsTopmost(real)) {
        after = GetWindow(real, GW_HWNDPREV);
        if (!after || after == overlay) after = HWND_TOP;
    }
    SetWindowPos(overlay, after, pos.x, pos.y, w, h,
                 SWP_NOSENDCHANGING | SWP_NOOWNERZORDER | SWP_NOCOPYBITS | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (steps < 1) return;
    TBitmap frame(w, h);
    frame.Pixels().Fill(0);
    AnimFrameSequence seq(AnimDirection::Show, steps, maxAlpha, mode == TacAnimType::atAero, w, h, dialog);
    FrameClock clock;
    while (seq.HasNext()) {
        if (seq.Index() > 0) {
            clock.WaitForFrame(seq.Index());
            while (seq.Index() < seq.Steps() && clock.Due() > seq.Index()) (void)seq.Next();
        }
        const AnimFrame f = seq.Next();
        if (f.Stretch) {
            frame.Pixels().Fill(0);
            StretchPixels(source.Pixels(), frame.Pixels(), f.Left, f.Top, f.Right, f.Bottom);
        } else if (f.Copy) {
            CopyPixels(source.Pixels(), frame.Pixels());
        }
        ShowLayered(overlay, screenDC, pos, frame, f.Alpha);
    }
}

// The real window takes the overlay's place: under it, redrawn whole.
void RevealUnder(HWND overlay, TCustomForm* form, std::uint8_t maxAlpha, UINT extraRedraw,
                 TFormAnimatingScope& animating) {
    const HWND wnd = form->Handle();
    if (form->AlphaBlend()) form->SetAlphaBlendValue(maxAlpha);
    SetWindowPos(wnd, overlay, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    SendMessageA(wnd, WM_SETREDRAW, 1, 0);
    animating.End();
    RedrawWindow(wnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME | extraRedraw);
}

TsSkinManager* ManagerOf(TsCommonData* data) { return data ? data->GetSkinManager() : nullptr; }

// Where the border window lies for the form's present place.
POINT BorderOrigin(TsSkinProviderBase* provider) {
    const RECT r = WindowRect(provider->Form->Handle());
    TacBorderForm* border = provider->BorderForm;
    return POINT{r.left - border->LeftOffset(), r.top - border->TopOffset()};
}

// The border window is the overlay: it fades the form's whole picture in
// (shadow and frame included) and stays, shaped again, under the form.
void AnimateBorderedFormShow(TsSkinProviderBase* provider, std::uint16_t time, std::uint8_t maxAlpha,
                             TacAnimType mode) {
    TCustomForm* form = provider->Form;
    TacBorderForm* border = provider->BorderForm;
    TFormAnimatingScope animating;
    if (!border->AForm) border->CreateBorderWindow();
    if (!border->AForm || !border->AForm->HandleAllocated()) return;
    const HWND overlay = border->AForm->Handle();
    SetWindowRgn(overlay, nullptr, FALSE);
    border->PaintOwnerCache();
    TBitmap* cache = provider->SkinData->CacheBmp.get();
    if (!cache || cache->Width() <= 0 || cache->Height() <= 0) return;
    TBitmap source(cache->Width(), cache->Height());
    CopyParentBackground(source, form, 0, provider, 0);
    const POINT pos = BorderOrigin(provider);
    {
        const TWindowDC screen(nullptr);
        RunShowFrames(overlay, form->Handle(), screen.Get(), pos, source, time, maxAlpha, mode, false);
        ShowLayered(overlay, screen.Get(), pos, source, maxAlpha);
    }
    provider->InAnimation = 0;
    RevealUnder(overlay, form, maxAlpha, RDW_ERASENOW, animating);
    if (DwmCompositionEnabled()) Pause();
    SetWindowPos(overlay, form->Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    SetWindowRgn(overlay, border->MakeRegion(0, 0), TRUE);
    if (TsSkinManager* manager = ManagerOf(provider->SkinData.get()); manager && manager->ExtendedBorders())
        border->UpdateBorderWindow(true, -1);
    if (provider->OnAfterAnimation) provider->OnAfterAnimation(provider);
}

// A skin change of a form with extended borders: its border window fades
// the new look in (shadow and frame included) and is shaped again after.
bool BorderedSkinChange(TsSkinProviderBase* provider, std::uint16_t time, std::uint8_t maxAlpha, TacAnimType mode,
                        TFormAnimatingScope& animating) {
    TCustomForm* form = provider->Form;
    TacBorderForm* border = provider->BorderForm;
    if (!border->AForm) border->CreateBorderWindow();
    if (!border->AForm || !border->AForm->HandleAllocated()) return false;
    const HWND overlay = border->AForm->Handle();
    provider->PaintNonClientCache();
    TBitmap* cache = provider->SkinData->CacheBmp.get();
    if (!cache || cache->Width() <= 0 || cache->Height() <= 0) return false;
    TBitmap source(cache->Width(), cache->Height());
    CopyParentBackground(source, form, 0, provider, 0);
    const POINT pos = BorderOrigin(provider);
    SetWindowRgn(overlay, nullptr, FALSE);
    {
        const TWindowDC screen(nullptr);
        RunShowFrames(overlay, form->Handle(), screen.Get(), pos, source, time, maxAlpha, mode, false);
        ShowLayered(overlay, screen.Get(), pos, source, maxAlpha);
    }
    RevealUnder(overlay, form, maxAlpha, 0, animating);
    SetWindowPos(overlay, form->Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    SetWindowRgn(overlay, border->MakeRegion(0, 0), TRUE);
    // The unlock that ran this change brings the border window up to date
    // right after (its region, then its picture): a push here too was the
    // same picture twice, each a whole frame's push.
    return true;
}

}  // namespace

// ------------------------------------------------------------------ helpers

TForm* CreateWindowSnapshotForm(HWND wnd) {
    TForm* form = NewOverlay(WindowRect(wnd));
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return form;
}

BOOL SystemUpdateLayered(HWND wnd, HDC screenDC, POINT* dest, SIZE* size, HDC sourceDC, POINT* sourcePoint,
                         COLORREF key, BLENDFUNCTION* blend, DWORD flags, const RECT* dirty) {
    const TSystemEntries& e = SystemEntries();
    if (dirty && e.UpdateLayeredWindowIndirect) {
        UPDATELAYEREDWINDOWINFO info{};
        info.cbSize = sizeof info;
        info.hdcDst = screenDC;
        info.pptDst = dest;
        info.psize = size;
        info.hdcSrc = sourceDC;
        info.pptSrc = sourcePoint;
        info.crKey = key;
        info.pblend = blend;
        info.dwFlags = flags;
        info.prcDirty = dirty;
        return e.UpdateLayeredWindowIndirect(wnd, &info);
    }
    return e.UpdateLayeredWindow ? e.UpdateLayeredWindow(wnd, screenDC, dest, size, sourceDC, sourcePoint, key, blend, flags)
                                 : FALSE;
}

void UpdateLayeredBitmap(HWND wnd, TBitmap* bitmap, std::uint8_t alpha, const POINT* dest, const RECT* dirty) {
    if (!wnd || !bitmap) return;
    MakeLayeredNoActivate(wnd);
    POINT pos;
    if (dest) {
        pos = *dest;
    } else {
        const RECT r = WindowRect(wnd);
        pos = {r.left, r.top};
    }
    const TWindowDC screen(nullptr);
    ShowLayered(wnd, screen.Get(), pos, *bitmap, alpha, dirty);
}

// ------------------------------------------------------------ show animations

void AnimateFormShow(TsSkinProviderBase* provider, std::uint16_t time, std::uint8_t maxAlpha, TacAnimType mode) {
    if (!provider || !provider->SkinData || !provider->Form || !provider->Form->HandleAllocated()) return;
    if (provider->BorderForm) {
        AnimateBorderedFormShow(provider, time, maxAlpha, mode);
        return;
    }
    TCustomForm* form = provider->Form;
    TFormAnimatingScope animating;
    provider->PaintNonClientCache();
    TBitmap* cache = provider->SkinData->CacheBmp.get();
    if (!cache || cache->Width() <= 0 || cache->Height() <= 0) return;
    TBitmap source(cache->Width(), cache->Height());
    CopyParentBackground(source, form, 0, provider, 0);
    MakeOpaque(source.Pixels());
    const RECT r = WindowRect(form->Handle());
    const POINT pos{r.left, r.top};
    OverlayPtr overlay(NewOverlay(RECT{r.left, r.top, r.left + source.Width(), r.top + source.Height()}));
    {
        const TWindowDC screen(nullptr);
        RunShowFrames(overlay->Handle(), form->Handle(), screen.Get(), pos, source, time, maxAlpha, mode, false);
        ShowLayered(overlay->Handle(), screen.Get(), pos, source, maxAlpha);
    }
    provider->InAnimation = 0;
    RevealUnder(overlay->Handle(), form, maxAlpha, RDW_ERASENOW, animating);
    if (DwmCompositionEnabled()) Pause();
    SetWindowPos(overlay->Handle(), form->Handle(), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    overlay.reset();
    if (provider->OnAfterAnimation) provider->OnAfterAnimation(provider);
}

void AnimateDialogShow(TacDialogWndBase* dialog, std::uint16_t time, std::uint8_t maxAlpha, TacAnimType mode) {
    if (!dialog || !dialog->SkinData || !dialog->CtrlHandle || dialog->BorderForm) return;
    const HWND wnd = dialog->CtrlHandle;
    TFormAnimatingScope animating;
    dialog->PaintNonClientCache();
    TBitmap* cache = dialog->SkinData->CacheBmp.get();
    if (!cache || cache->Width() <= 0 || cache->Height() <= 0) return;
    // The cache with the client area painted over it from the children.
    std::unique_ptr<TBitmap> source = CopyOf(*cache);
    CopyDialogImage(dialog, false, *source);
    MakeOpaque(source->Pixels());
    const RECT r = WindowRect(wnd);
    const POINT pos{r.left, r.top};
    OverlayPtr overlay(NewOverlay(RECT{r.left, r.top, r.left + source->Width(), r.top + source->Height()}));
    {
        const TWindowDC screen(nullptr);
        RunShowFrames(overlay->Handle(), wnd, screen.Get(), pos, *source, time, maxAlpha, mode, true);
        ShowLayered(overlay->Handle(), screen.Get(), pos, *source, maxAlpha);
    }
    SetWindowPos(wnd, overlay->Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    SendMessageA(wnd, WM_SETREDRAW, 1, 0);
    animating.End();
    RedrawWindow(wnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
    if (DwmCompositionEnabled()) Pause();
    overlay.reset();
}

// --------------------------------------------------------- skin change

namespace {

// Covers a window that cannot be layered while it changes skin: shows the
// screen as it was under the window (never erasing, no frame) and then the
// blend of the old picture into the new one.
class TOutputWindow : public TCustomControl {
    KOVA_CLASS(TOutputWindow, TCustomControl)
public:
    explicit TOutputWindow(TComponent* owner) : TCustomControl(owner) {
        SetText("acOutputWindow");
        SetColor(0xFF00FF);
        SetTag(kSkinOwnWindowTag);
        SetVisible(false);
    }
    ~TOutputWindow() override;
    // The screen under the covered window (and then the current frame).
    TBitmap Picture;

protected:
    void CreateParams(TCreateParams& p) override {
        TCustomControl::CreateParams(p);
        if (Parent()) return;
        // Top level: a popup of the application window, topmost with it.
        p.Style = WS_POPUP | (p.Style & WS_VISIBLE);
        p.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
        p.WndParent = Application()->Handle();
        if (p.WndParent && IsTopmost(p.WndParent)) p.ExStyle |= WS_EX_TOPMOST;
    }
    void HandleMessage(TMessage& m) override {
        if (m.Msg == WM_ERASEBKGND) {
            m.Result = 1;
            return;
        }
        if (m.Msg == WM_NCPAINT) {
            m.Result = 0;
            return;
        }
        TCustomControl::HandleMessage(m);
    }
    void Paint() override {
        if (Picture.Width() > 0)
            BitBlt(canvas_.Handle(), 0, 0, Picture.Width(), Picture.Height(), Picture.Canvas()->Handle(), 0, 0,
                   SRCCOPY);
    }
};

TOutputWindow* OutputWindowInstance = nullptr;

TOutputWindow::~TOutputWindow() {
    if (OutputWindowInstance == this) OutputWindowInstance = nullptr;
}

TOutputWindow* OutputWindow() {
    if (!OutputWindowInstance) OutputWindowInstance = new TOutputWindow(Application());
    return OutputWindowInstance;
}

// Captures the screen under the control and puts the output window over
// it: a child control gets a sibling of its bounds just above it, a
// top-level window a popup over its screen rectangle.
TOutputWindow* MakeOutputWindowSnapshot(TWinControl* control) {
    TOutputWindow* out = OutputWindow();
    const HWND wnd = control->Handle();
    const RECT r = WindowRect(wnd);
    out->Picture.SetSize(r.right - r.left, r.bottom - r.top);
    {
        const TWindowDC screen(nullptr);
        BitBlt(out->Picture.Canvas()->Handle(), 0, 0, out->Picture.Width(), out->Picture.Height(), screen.Get(),
               r.left, r.top, SRCCOPY);
    }
    HWND after = HWND_TOP;
    if (control->Parent()) {
        out->SetParent(control->Parent());
        out->SetBounds(control->Left(), control->Top(), control->Width(), control->Height());
    } else {
        out->SetParent(nullptr);
        out->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        if (IsTopmost(wnd)) after = HWND_TOPMOST;
    }
    if (HWND above = GetWindow(wnd, GW_HWNDPREV); above && above != out->Handle() && after == HWND_TOP)
        after = above;
    SetWindowPos(out->Handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return out;
}

// Windows that cannot be layered: the new look is blended over what the
// screen showed under the control, in the output window over it.
bool SkinChangeByBlending(TWinControl* control, TsSkinProviderBase* provider, std::uint16_t time,
                          TFormAnimatingScope& animating) {
    const HWND wnd = control->Handle();
    const RECT r = WindowRect(wnd);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    TOutputWindow* out = MakeOutputWindowSnapshot(control);
    GdiFlush();
    const PixelBuffer32 old = out->Picture.Pixels().Clone();
    if (provider) provider->PaintNonClientCache();
    TBitmap source(w, h);
    CopyParentBackground(source, control, 0, provider, 0);
    if (provider) {
        provider->InitRegionRects();
        provider->UpdateRegion(false);
    }
    const int steps = std::max(AnimationSteps(time), 1);
    const int step = 255 / steps;
    const PixelBuffer32& b = source.Pixels();
    {
        const TWindowDC windowDC(out->Handle(), TDCArea::Window);
        const HDC dc = windowDC.Get();
        for (int i = 0; i <= steps; ++i) {
            const int k = std::max(0, i * step);
            PixelBuffer32& f = out->Picture.Pixels();
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const std::uint32_t p = old.At(x, y), q = b.At(x, y);
                    std::uint32_t mix = 0xFF000000u;
                    for (int sh = 0; sh < 24; sh += 8) {
                        const int ca = (p >> sh) & 0xFF, cb = (q >> sh) & 0xFF;
                        mix |= static_cast<std::uint32_t>((ca * (255 - k) + cb * k) / 255) << sh;
                    }
                    f.At(x, y) = mix;
                }
            BitBlt(dc, 0, 0, w, h, out->Picture.Canvas()->Handle(), 0, 0, SRCCOPY);
            Pause();
        }
        CopyPixels(b, out->Picture.Pixels());
        BitBlt(dc, 0, 0, w, h, out->Picture.Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    animating.End();
    bool redrawn = false;
    if (control->Visible()) {
        SendMessageA(wnd, WM_SETREDRAW, 1, 0);
        if (LOBYTE(LOWORD(GetVersion())) >= 6) {
            RedrawWindow(wnd, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
            redrawn = true;
        }
    }
    SetWindowPos(out->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    out->SetVisible(false);
    // Not left inside a parent that may be freed before it.
    out->SetParent(nullptr);
    return redrawn;
}

}  // namespace

bool AnimateFormSkinChange(TControl* control, std::uint16_t time, std::uint8_t maxAlpha, TacAnimType mode) {
    auto* win = dynamic_cast<TWinControl*>(control);
    if (!win || !win->HandleAllocated()) return false;
    TFormAnimatingScope animating;
    auto* form = dynamic_cast<TCustomForm*>(control);
    TsSkinProviderBase* provider = form ? ProviderOfForm(form) : nullptr;
    if (!form || !provider || !LayeredWindowsAvailable()) {
        return SkinChangeByBlending(win, provider, time, animating);
    }
    // The border window shows the old picture while the form changes; it
    // comes with form skinning. Without one the old picture is the frozen
    // form itself, under the overlay.
    std::unique_ptr<TBitmap> oldImage = std::move(provider->FormImage);
    if (provider->BorderForm) return BorderedSkinChange(provider, time, maxAlpha, mode, animating);
    provider->PaintNonClientCache();
    const RECT r = WindowRect(form->Handle());
    TBitmap source(r.right - r.left, r.bottom - r.top);
    if (source.Width() <= 0 || source.Height() <= 0) return false;
    CopyParentBackground(source, form, 0, provider, 0);
    MakeOpaque(source.Pixels());
    const POINT pos{r.left, r.top};
    OverlayPtr overlay(NewOverlay(r));
    {
        const TWindowDC screen(nullptr);
        RunShowFrames(overlay->Handle(), form->Handle(), screen.Get(), pos, source, time, maxAlpha, mode, false);
        ShowLayered(overlay->Handle(), screen.Get(), pos, source, maxAlpha);
    }
    RevealUnder(overlay->Handle(), form, maxAlpha, 0, animating);
    overlay.reset();
    return true;
}

// -------------------------------------------------------------- hiding

namespace {

// Fades the window of a hide animation out, one frame per tick; owns the
// window, the picture and the frame while fading.
class TacHideTimer : public TacThreadedTimer {
    KOVA_CLASS(TacHideTimer, TacThreadedTimer)
public:
    explicit TacHideTimer(TComponent* owner) : TacThreadedTimer(owner, false) {}
    ~TacHideTimer() override;

    void Start(TForm* window, std::unique_ptr<TBitmap> image, int steps, TacAnimType mode, std::uint8_t maxAlpha);
    void Stop();
    bool Running() const { return window_ != nullptr; }
    void Frame();

private:
    TForm* window_ = nullptr;
    std::unique_ptr<TBitmap> image_;
    std::unique_ptr<TBitmap> frame_;
    std::unique_ptr<AnimFrameSequence> seq_;
    POINT pos_{};
};

TacHideTimer* HideTimerInstance = nullptr;

TacHideTimer* HideTimer() {
    if (!HideTimerInstance) HideTimerInstance = new TacHideTimer(Application());
    return HideTimerInstance;
}

TacHideTimer::~TacHideTimer() {
    Stop();
    if (HideTimerInstance == this) HideTimerInstance = nullptr;
}

void TacHideTimer::Stop() {
    SetEnabled(false);
    if (window_) {
        TForm* w = window_;
        window_ = nullptr;
        w->Free();
    }
    image_.reset();
    frame_.reset();
    seq_.reset();
}

void TacHideTimer::Start(TForm* window, std::unique_ptr<TBitmap> image, int steps, TacAnimType mode,
                         std::uint8_t maxAlpha) {
    window_ = window;
    image_ = std::move(image);
    const int w = image_->Width(), h = image_->Height();
    const HWND wnd = window_->Handle();
    const RECT r = WindowRect(wnd);
    pos_ = {r.left, r.top};
    MakeLayeredNoActivate(wnd);
    {
        const TWindowDC screen(nullptr);
        ShowLayered(wnd, screen.Get(), pos_, *image_, maxAlpha);
    }
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    SetWindowPos(wnd, HWND_TOPMOST, pos_.x, pos_.y, w, h,
                 SWP_NOOWNERZORDER | SWP_NOCOPYBITS | SWP_NOACTIVATE | SWP_NOREDRAW);
    frame_ = std::make_unique<TBitmap>(w, h);
    frame_->Pixels().Fill(0);
    seq_ = std::make_unique<AnimFrameSequence>(AnimDirection::Hide, steps, maxAlpha, mode == TacAnimType::atAero,
                                               w, h);
    SetInterval(kAnimFrameInterval);
}

void TacHideTimer::Frame() {
    if (!seq_ || !window_) return;
    if (!seq_->HasNext()) {
        SetInterval(65535);
        SetOnTimer(nullptr);
        Stop();
        return;
    }
    const AnimFrame f = seq_->Next();
    if (f.Stretch) {
        frame_->Pixels().Fill(0);
        StretchPixels(image_->Pixels(), frame_->Pixels(), f.Left, f.Top, f.Right, f.Bottom);
    } else if (f.Copy) {
        CopyPixels(image_->Pixels(), frame_->Pixels());
    }
    const TWindowDC screen(nullptr);
    ShowLayered(window_->Handle(), screen.Get(), pos_, *frame_, f.Alpha);
}

}  // namespace

void StartHideAnimation(TForm* window, std::unique_ptr<TBitmap> image, std::uint16_t time, TacAnimType mode,
                        std::uint8_t maxAlpha) {
    if (HideTimerInstance && HideTimerInstance->Running()) HideTimerInstance->Stop();
    const int steps = AnimationSteps(time);
    if (steps == 0 || !window || !image || image->Width() <= 0 || image->Height() <= 0) {
        if (window) window->Free();
        return;
    }
    TacHideTimer* timer = HideTimer();
    timer->Start(window, std::move(image), steps, mode, maxAlpha);
    if (Application()->Terminated() || !timer->InnerTimer()) {
        // No message loop to drive the frames any more: run them now.
        while (timer->Running()) {
            timer->Frame();
            if (timer->Running()) Pause();
        }
        return;
    }
    timer->SetOnTimer([timer](TObject*) { timer->Frame(); });
    timer->Frame();
    timer->SetEnabled(true);
}

bool HideAnimationRunning() { return HideTimerInstance && HideTimerInstance->Running(); }

void AnimateFormHide(TsSkinProviderBase* provider) {
    ClearGlows();
    if (!provider || !provider->Form || !provider->SkinData || provider->Form->FormStyle() == fsMDIChild) return;
    TsSkinManager* manager = ManagerOf(provider->SkinData.get());
    if (!manager || !provider->Form->HandleAllocated()) return;
    if (!provider->SkinData->CacheBmp) return;
    TFormAnimatingScope animating;
    if (!(provider->FormState & kNonClientPainted)) provider->PaintNonClientCache();
    TBitmap* cache = provider->SkinData->CacheBmp.get();
    if (!cache || cache->Width() <= 0 || cache->Height() <= 0) return;
    if (TacBorderForm* border = provider->BorderForm) {
        // The border window fades out the form's whole picture; the border
        // object lets go of it and goes (the form comes back with a new one).
        if (!border->AForm) border->CreateBorderWindow();
        TForm* window = border->ReleaseWindow();
        provider->BorderForm = nullptr;
        delete border;
        if (!window) return;
        if (window->HandleAllocated()) SetWindowRgn(window->Handle(), nullptr, FALSE);
        const TacFormAnimation& anim = manager->Model().AnimEffects.FormHide;
        StartHideAnimation(window, CopyOf(*cache), anim.Time, anim.Mode, 255);
        return;
    }
    TForm* window = provider->SnapshotForm;
    provider->SnapshotForm = nullptr;
    if (!window) window = CreateWindowSnapshotForm(provider->Form->Handle());
    std::unique_ptr<TBitmap> image = CopyOf(*cache);
    MakeOpaque(image->Pixels());
    const TacFormAnimation& anim = manager->Model().AnimEffects.FormHide;
    StartHideAnimation(window, std::move(image), anim.Time, anim.Mode, 255);
}

void AnimateDialogHide(TacDialogWndBase* dialog) {
    if (!dialog || !dialog->SkinData || !dialog->CtrlHandle || dialog->BorderForm) return;
    TsSkinManager* manager = ManagerOf(dialog->SkinData.get());
    if (!manager) return;
    TFormAnimatingScope animating;
    ClearGlows();
    TBitmap* cache = dialog->SkinData->CacheBmp.get();
    if (!cache || cache->Width() <= 0 || cache->Height() <= 0) return;
    TForm* window = dialog->SnapshotForm;
    dialog->SnapshotForm = nullptr;
    if (!window) window = CreateWindowSnapshotForm(dialog->CtrlHandle);
    std::unique_ptr<TBitmap> image = CopyOf(*cache);
    MakeOpaque(image->Pixels());
    const TacFormAnimation& anim = manager->Model().AnimEffects.DialogHide;
    StartHideAnimation(window, std::move(image), anim.Time, anim.Mode, 255);
}

}  // namespace kova::skin
