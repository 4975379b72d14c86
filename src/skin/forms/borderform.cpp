#include "skin/forms/borderform.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "framework/handles.h"
#include "skin/core/animations.h"
#include "skin/core/glow.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinstate.h"
#include "skin/core/sysentries.h"
#include "skin/forms/captionmouse.h"
#include "skin/forms/dlgwnd.h"
#include "skin/forms/formanim.h"
#include "skin/forms/formhandler.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/provider.h"

namespace kova::skin {

namespace {

// The border window: a borderless layered tool window that never takes
// the activation, owned by the form it frames.
class TacBorderWindow : public TForm {
    KOVA_CLASS(TacBorderWindow, TForm)
public:
    TacBorderWindow(TacSkinBorderForm* border, HWND owner) : TForm(nullptr), border_(border), owner_(owner) {
        // Its messages start with its creation: the border object knows it first.
        border->AForm = this;
        SetTag(kSkinOwnWindowTag);
        SetBorderStyle(bsNone);
        OnPaint = [](TObject*) {};
    }
    void Detach() { border_ = nullptr; }

protected:
    void CreateParams(TCreateParams& p) override {
        TForm::CreateParams(p);
        p.Style = WS_POPUP;
        p.ExStyle = WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW;
        p.WndParent = owner_;
    }
    void WndProc(TMessage& m) override {
        if (border_)
            border_->BorderWndProc(m);
        else
            TForm::WndProc(m);
    }

public:
    void Inherited(TMessage& m) { TForm::WndProc(m); }

private:
    TacSkinBorderForm* border_;
    HWND owner_;
};

constexpr std::uint32_t kAnimationBits = 0x1000 | kStateMinimizing | kStateTranslucentMove;

bool Topmost(HWND wnd) { return (GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// The border window already lies next to the form. A system that keeps
// owned windows above their owner puts it right above instead of below:
// placing it again would move the form, whose move places it again.
bool NextToForm(HWND border, HWND form) {
    return GetWindow(form, GW_HWNDNEXT) == border || GetWindow(form, GW_HWNDPREV) == border;
}

// Where the border window goes when it is not next to the form: right
// above it. Asking for a place below the form makes such a system lift it
// above again, a z-order change of the form that places it again; with
// another owned window (a tool form) between them that never ends.
HWND AboveForm(HWND form) {
    const HWND prev = GetWindow(form, GW_HWNDPREV);
    return prev ? prev : HWND_TOP;
}

RECT WorkAreaOf(HWND wnd) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &mi);
    return mi.rcWork;
}

}  // namespace

LPCSTR CursorForHitCode(int code) {
    switch (code) {
        case HTCAPTION:
        case HTMENU:
            return IDC_ARROW;
        case HTLEFT:
        case HTRIGHT:
            return IDC_SIZEWE;
        case HTTOP:
        case HTBOTTOM:
            return IDC_SIZENS;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT:
            return IDC_SIZENWSE;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT:
            return IDC_SIZENESW;
        default:
            return nullptr;
    }
}

// ------------------------------------------------------------ life cycle

TacSkinBorderForm::TacSkinBorderForm(TsSkinProvider* owner)
    : Provider(owner), SkinData(owner ? owner->SkinData.get() : nullptr) {
    CreateBorderWindow();
}

TacSkinBorderForm::TacSkinBorderForm(TacDialogWnd* owner) : Dialog(owner), SkinData(owner ? owner->CommonData : nullptr) {
    CreateBorderWindow();
}

TacSkinBorderForm::~TacSkinBorderForm() {
    FreeTitleGlows();
    if (TForm* window = ReleaseWindow()) window->Free();
}

TForm* TacSkinBorderForm::ReleaseWindow() {
    if (!AForm) return nullptr;
    // The window's messages no longer come here.
    static_cast<TacBorderWindow*>(AForm)->Detach();
    return std::exchange(AForm, nullptr);
}

HWND TacSkinBorderForm::Wnd() const { return AForm && AForm->HandleAllocated() ? AForm->Handle() : nullptr; }

void TacSkinBorderForm::CreateBorderWindow() {
    if (AForm) return;
    if (Provider && Provider->Form && Provider->Form->HandleAllocated())
        OwnerHandle = Provider->Form->Handle();
    else if (Dialog && IsWindow(Dialog->WindowHandle))
        OwnerHandle = Dialog->WindowHandle;
    else
        return;
    auto* window = new TacBorderWindow(this, OwnerHandle);
    window->AfterConstruction();
    window->SetVisible(false);
    window->HandleNeeded();
}

void TacSkinBorderForm::FreeTitleGlows() {
    if (!Provider) return;
    for (TsCaptionButton* b : {&Provider->CloseButton, &Provider->MaxButton, &Provider->MinButton,
                               &Provider->HelpButton})
        b->GlowAnim.reset();
    if (TsTitleButtons* users = Provider->TitleButtons())
        for (int i = 0; i < users->Count(); ++i) users->Items(i)->Glow.reset();
}

// -------------------------------------------------------------- geometry

RECT TacSkinBorderForm::ExtMargins() {
    if (Provider) return Provider->GetExtBorderMargins();
    return Dialog ? Dialog->GetExtBorderMargins() : RECT{};
}

std::uint32_t TacSkinBorderForm::OwnerState() const {
    if (Provider) return Provider->FormState;
    return Dialog ? Dialog->Flags : 0;
}

int TacSkinBorderForm::OwnerCaptionHeight() {
    if (Provider) return Provider->CaptionHeight(true);
    return Dialog ? Dialog->CaptionHeight(true) : 0;
}

RECT TacSkinBorderForm::TitleIconRect() {
    if (Provider) return Provider->IconRect();
    return Dialog ? Dialog->IconRect() : RECT{};
}

// A dialog's client lies where the system put it inside the window; the
// cache puts it at the dialog's client offsets: the border window lies
// off the dialog by the difference.
int TacSkinBorderForm::LeftOffset() {
    if (!OwnerHandle) return 0;
    if (Dialog) {
        POINT origin{0, 0};
        ClientToScreen(OwnerHandle, &origin);
        RECT wr{};
        GetWindowRect(OwnerHandle, &wr);
        return Dialog->ClientOffsetX() - (origin.x - wr.left);
    }
    return SkinBorderWidth(this) - GetBorderWidth(OwnerHandle, nullptr, false) + ExtMargins().left;
}

int TacSkinBorderForm::TopOffset() {
    if (OwnerHandle && Dialog) {
        POINT origin{0, 0};
        ClientToScreen(OwnerHandle, &origin);
        RECT wr{};
        GetWindowRect(OwnerHandle, &wr);
        return Dialog->ClientOffsetY() - (origin.y - wr.top);
    }
    if (!OwnerHandle || !Provider) return 0;
    int offset = ExtMargins().top - GetBorderWidth(OwnerHandle, nullptr, false);
    if ((GetWindowLongPtrA(OwnerHandle, GWL_STYLE) & WS_CAPTION) == WS_CAPTION)
        offset += SkinTitleHeight(this) - Provider->CaptionHeight(false);
    return offset;
}

void TacSkinBorderForm::PaintOwnerCache() {
    if (Provider) Provider->PaintNonClientCache();
    if (Dialog) Dialog->PaintNonClientCache();
}

RECT TacSkinBorderForm::ClientRect(int width, int height) {
    RECT r{};
    if ((!Provider && !Dialog) || !OwnerHandle) return r;
    r.left = Provider ? Provider->ClientOffsetX() : Dialog->ClientOffsetX();
    r.top = Provider ? Provider->ClientOffsetY() : Dialog->ClientOffsetY();
    int cw = ClientWidth(OwnerHandle), ch = ClientHeight(OwnerHandle);
    // A coming size: the client shrinks or grows with the window.
    if (width > 0) cw -= WindowWidth(OwnerHandle) - width;
    if (height > 0) ch -= WindowHeight(OwnerHandle) - height;
    r.right = r.left + std::max(cw, 0);
    r.bottom = r.top + std::max(ch, 0);
    // The menu bar lies in the hole, the form paints it.
    if (Provider && Provider->MenuLineCount > 0 && !(Provider->FormState & kStateActivating) && Provider->Form->Menu())
        r.top -= Provider->MenuLineCount * (GetSystemMetrics(SM_CYMENU) - 1);
    return r;
}

HRGN TacSkinBorderForm::MakeRegion(int width, int height) {
    const HWND wnd = Wnd();
    if (!wnd || (!Provider && !Dialog)) return nullptr;
    RECT wr;
    GetWindowRect(wnd, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const RECT m = ExtMargins();
    HRGN region = nullptr;
    if (IsZoomed(OwnerHandle)) {
        const int b = GetBorderWidth(OwnerHandle, nullptr, false), d = ExtendedBorderDiff(this);
        region = CreateRectRgn(m.left + b + d, m.top + 4, w - b - d - m.right, h - b - d - m.bottom);
    }
    if (OwnerState() & (kAnimationBits | kStateHiding)) return region;
    if (!region) region = CreateRectRgn(0, 0, w, h);
    const RECT c = ClientRect(width, height);
    TGdiObject<HRGN> client(CreateRectRgn(c.left, c.top, c.right, c.bottom));
    // The client area is cut out, never toggled: a client rectangle
    // reaching past the region must not add pixels to it.
    CombineRgn(region, region, client.Get(), RGN_DIFF);
    return region;
}

void TacSkinBorderForm::RestoreRegion() {
    if (!RgnChanged) return;
    RgnChanged = false;
    holeAt_ = POINT{-1, -1};
    if (const HWND wnd = Wnd()) SetWindowRgn(wnd, MakeRegion(0, 0), FALSE);
}

// ---------------------------------------------------------------- update

void TacSkinBorderForm::UpdateBorderWindow(bool repaint, int alpha) {
    if (Updating || (!Provider && !Dialog) || !OwnerHandle || !SkinData) return;
    RECT owner;
    if (!GetWindowRect(OwnerHandle, &owner)) return;
    if (FormAnimating != 0 || HideAnimationRunning()) return;
    HWND after = nullptr;
    if (Dialog) {
        // A hidden dialog shows no frame: its border window goes with it.
        if (!IsWindowVisible(OwnerHandle)) return;
        if (!AForm) CreateBorderWindow();
        if (!Wnd()) return;
        Updating = true;
        if (Topmost(OwnerHandle) && GetActiveWindow() == OwnerHandle) {
            SetWindowPos(OwnerHandle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | 0x600);
            after = HWND_TOPMOST;
        }
    } else {
        TsSkinProvider& p = *Provider;
        if (SkinData->UpdateCount != 0 || p.Animating || SkinData->Updating || !p.DrawNonClientArea) return;
        if (p.IsDestroying() || !p.Form || p.Form->IsDestroying()) return;
        if (!IsWindowVisible(OwnerHandle) && (p.FormState == 0 || p.FormState == kStateActivating)) {
            // A hidden form shows no frame; the window comes back with it.
            if (TForm* window = ReleaseWindow()) window->Free();
            SkinData->BGChanged = true;
            return;
        }
        if (!AForm) CreateBorderWindow();
        if (!Wnd()) return;
        Updating = true;
        if (Topmost(OwnerHandle)) {
            if (p.Form->FormStyle() == fsStayOnTop) {
                if (GetActiveWindow() == OwnerHandle)
                    SetWindowPos(OwnerHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | 0x600);
                after = HWND_TOP;
            } else {
                SetWindowPos(OwnerHandle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | 0x600);
                after = HWND_TOPMOST;
            }
        }
    }
    const HWND wnd = Wnd();
    const std::uint32_t state = OwnerState();
    // Only a provider's form runs a size animation.
    const bool sizeAnimation = Provider && (state & kStateSizeAnimation);
    // The picture: the cache, repainted when it is stale.
    if (!(state & kAnimationBits)) {
        if (SkinData->BGChanged) {
            PaintOwnerCache();
            repaint = true;
        }
    } else {
        if (SkinData->BGChanged) PaintOwnerCache();
        repaint = true;
    }
    TBitmap* cache = SkinData->CacheBmp.get();
    if (!cache || cache->Width() <= 0 || cache->Height() <= 0) {
        Updating = false;
        return;
    }
    const int x = owner.left - LeftOffset();
    const int y =
        owner.top - (Provider && Provider->UseSysCaption ? ExtMargins().top + ExtendedTitleDiff(this) + 4 : TopOffset());
    const int w = cache->Width(), h = cache->Height();
    if (!after) after = IsIconic(OwnerHandle) || sizeAnimation ? GetWindow(OwnerHandle, GW_HWNDPREV) : OwnerHandle;
    RECT current;
    GetWindowRect(wnd, &current);
    const bool sameSize = current.right - current.left == w && current.bottom - current.top == h;
    UINT flags = SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;
    if (sizeAnimation || (after == OwnerHandle && NextToForm(wnd, OwnerHandle)))
        flags |= SWP_NOZORDER;
    else if (after == OwnerHandle)
        after = AboveForm(OwnerHandle);
    if (!repaint && sameSize) flags |= SWP_NOSIZE;
    if (!repaint) flags |= SWP_NOREDRAW;
    if (!LayeredWindowsAvailable() || (!repaint && sameSize) || ParentRgnChanging) {
        SetWindowPos(wnd, after, x, y, 0, 0, flags | SWP_NOSIZE);
        Updating = false;
        return;
    }
    const std::uint8_t a = static_cast<std::uint8_t>(std::clamp(alpha < 0 ? 255 : alpha, 0, 255));
    if (!sameSize) AForm->SetBounds(x, y, w, h);
    EnableBlurBehind(wnd, false, nullptr);
    if (state & kStateTranslucentMove) SetWindowRgn(wnd, MakeRegion(0, 0), FALSE);
    const POINT at{x, y};
    if (!(state & (kAnimationBits | kStateHiding))) {
        // The picture's client part is handed over fully transparent: the
        // region cuts it out on Windows, but Wine shapes a layered window
        // from its picture's alpha instead, and the cache's opaque client
        // part would cover the form's own client there.
        TBitmap picture;
        picture.Assign(cache);
        PixelBuffer32& pixels = picture.Pixels();
        const RECT c = ClientRect(0, 0);
        for (int row = std::max<int>(c.top, 0); row < std::min<int>(c.bottom, h); ++row) {
            std::uint32_t* line = pixels.ScanLine(row);
            for (int col = std::max<int>(c.left, 0); col < std::min<int>(c.right, w); ++col) line[col] = 0;
        }
        UpdateLayeredBitmap(wnd, &picture, a, &at);
    } else {
        UpdateLayeredBitmap(wnd, cache, a, &at);
    }
    if ((state & kAnimationBits) != kStateTranslucentMove) {
        HRGN region = MakeRegion(0, 0);
        TGdiObject<HRGN> now(CreateRectRgn(0, 0, 0, 0));
        // The same region is not set again (each setting is a frame change).
        if (region && GetWindowRgn(wnd, now.Get()) != ERROR && EqualRgn(now.Get(), region) && !RgnChanged)
            DeleteObject(region);
        else
            SetWindowRgn(wnd, region, FALSE);
        RgnChanged = false;
    }
    if (GetWindowLongPtrA(wnd, GWL_STYLE) & WS_VISIBLE) {
        SetWindowPos(wnd, after, 0, 0, 0, 0, flags | SWP_NOSIZE | SWP_NOMOVE);
    } else {
        const bool hideOwner = a == 0;
        const LONG_PTR style = GetWindowLongPtrA(OwnerHandle, GWL_STYLE);
        if (hideOwner) SetWindowLongPtrA(OwnerHandle, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
        SetWindowPos(wnd, after, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
        if (hideOwner) SetWindowLongPtrA(OwnerHandle, GWL_STYLE, style);
    }
    Updating = false;
}

// -------------------------------------------------------------- hit test

int TacSkinBorderForm::TitleButtonAt(POINT at) {
    if (Dialog) {
        // A dialog has its close button and perhaps help (its buttons'
        // rectangles lie in its cache too).
        if (PtInRect(&Dialog->CloseButton.Rect, at)) return 1;
        if ((Dialog->ExStyle & WS_EX_CONTEXTHELP) && PtInRect(&Dialog->HelpButton.Rect, at)) return 2;
        return 0;
    }
    if (!Provider) return 0;
    // The buttons' rectangles are in cache coordinates, which are the
    // border window's.
    return TitleButtonAtCache(*Provider, at);
}

int TacSkinBorderForm::HitTest(POINT screen) {
    if ((!Provider && !Dialog) || !OwnerHandle || !Wnd()) return -1;
    if (Dialog) {
        if (!IsWindowEnabled(OwnerHandle)) return -1;
        RECT wr;
        GetWindowRect(Wnd(), &wr);
        switch (TitleButtonAt(POINT{screen.x - wr.left, screen.y - wr.top})) {
            case 1:
                return HTCLOSE;
            case 2:
                return HTHELP;
            default:
                return FrameHitTest(screen);
        }
    }
    TsSkinProvider& p = *Provider;
    if (p.OnExtHitTest) {
        TMessage msg{WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y), 0};
        p.OnExtHitTest(msg);
        if (msg.Result != 0) return static_cast<int>(msg.Result);
    }
    if (!IsWindowEnabled(OwnerHandle)) return -1;
    RECT wr;
    GetWindowRect(Wnd(), &wr);
    const POINT at{screen.x - wr.left, screen.y - wr.top};
    const bool iconic = IsIconic(OwnerHandle) != FALSE;
    const LONG_PTR ex = GetWindowLongPtrA(OwnerHandle, GWL_EXSTYLE);
    const bool help = (ex & WS_EX_CONTEXTHELP) || (p.Form->BorderIcons() & biHelp);
    TsSystemMenu* menu = p.SystemMenu;
    const int n = TitleButtonAt(at);
    int c = 0;
    if (menu && p.SysMenuHidden) c = 1 + (menu->VisibleMax() ? 1 : 0) + (menu->VisibleMin() || iconic ? 1 : 0) + (help ? 1 : 0);
    if (n > c) {
        TsTitleButtons* users = p.TitleButtons();
        const int index = n - c - 1;
        if (users && index < users->Count() && users->Items(index)->Enabled) return kUserButtonHitBase + (n - c);
    } else if (n >= 1 && menu) {
        const bool vmax = menu->VisibleMax(), vmin = menu->VisibleMin() || iconic;
        switch (n) {
            case 1:
                return menu->VisibleClose() ? HTCLOSE : 0;
            case 2:
                if (vmax) return menu->EnabledMax() || (menu->EnabledRestore() && !iconic) ? HTMAXBUTTON : HTCAPTION;
                if (vmin) return menu->EnabledMin() ? HTMINBUTTON : HTCAPTION;
                return help ? HTHELP : 0;
            case 3:
                if (vmin) return iconic || menu->EnabledMin() ? HTMINBUTTON : HTCAPTION;
                return help ? HTHELP : 0;
            case 4:
                return help && vmax ? HTHELP : 0;
            default:
                break;
        }
    }
    return FrameHitTest(screen);
}

int TacSkinBorderForm::FrameHitTest(POINT screen) {
    RECT wr;
    GetWindowRect(Wnd(), &wr);
    const POINT at{screen.x - wr.left, screen.y - wr.top};
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    const RECT m = ExtMargins();
    if (!IsZoomed(OwnerHandle) && HasThickFrame(OwnerHandle)) {
        const int w = GetBorderWidth(OwnerHandle, nullptr, false);
        int code = 0;
        if (at.y >= m.top && at.y <= m.top + 4)
            code = HTTOP;
        else if (at.y >= H - w - m.bottom && at.y <= H - m.bottom)
            code = HTBOTTOM;
        if (at.x >= m.left && at.x <= m.left + w)
            code = code == HTTOP ? HTTOPLEFT : code == HTBOTTOM ? HTBOTTOMLEFT : HTLEFT;
        else if (at.x >= W - w - m.right && at.x <= W - m.right)
            code = code == HTTOP ? HTTOPRIGHT : code == HTBOTTOM ? HTBOTTOMRIGHT : HTRIGHT;
        if (code) return code;
    }
    const int caption = m.top + OwnerCaptionHeight();
    if (at.y >= 0 && at.y <= caption) {
        const RECT icon = TitleIconRect();
        return PtInRect(&icon, at) ? HTSYSMENU : HTCAPTION;
    }
    const int menuLine = Provider && Provider->Form->Menu() ? GetSystemMetrics(SM_CYMENU) - 1 : 0;
    if (at.y <= caption + menuLine) return HTMENU;
    return -1;
}

bool TacSkinBorderForm::PointInMargin(POINT pt, bool screen) {
    if (!Wnd()) return false;
    RECT wr;
    GetWindowRect(Wnd(), &wr);
    if (screen) {
        pt.x -= wr.left;
        pt.y -= wr.top;
    }
    // The region is whole again once the mouse left the pass-through
    // pixel (a message for that very pixel, such as the system's own move
    // after a region change, keeps it: restoring it there would hand the
    // mouse back and forth for ever).
    if (pt.x != holeAt_.x || pt.y != holeAt_.y) RestoreRegion();
    if (!SkinData || (!Provider && !Dialog)) return false;
    TsSkinManager* manager = SkinData->GetSkinManager();
    if (!manager || !manager->Active() || IsZoomed(OwnerHandle)) return false;
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    const RECT m = ExtMargins();
    if (pt.y >= m.top && pt.y <= H - m.bottom && pt.x >= m.left && pt.x <= W - m.right) return false;
    SetHotTitleButton(-1);
    return true;
}

void TacSkinBorderForm::SetHotTitleButton(int code) {
    if (Provider) Provider->SetHotButton(code < 0 ? 0 : code, true);
    if (Dialog) Dialog->SetHotButton(code < 0 ? 0 : code, true);
}

// ------------------------------------------------------------- messages

void TacSkinBorderForm::PassThrough(POINT at) {
    const HWND wnd = Wnd();
    if (!wnd) return;
    ParentRgnChanging = true;
    HRGN region = MakeRegion(0, 0);
    if (!region) {
        RECT wr;
        GetWindowRect(wnd, &wr);
        region = CreateRectRgn(0, 0, wr.right - wr.left, wr.bottom - wr.top);
    }
    // One pixel under the mouse is taken out of the region, so that the
    // next mouse message goes to the window beneath.
    TGdiObject<HRGN> pixel(CreateRectRgn(at.x, at.y, at.x + 1, at.y + 1));
    holeAt_ = at;
    CombineRgn(region, region, pixel.Get(), RGN_DIFF);
    if (Provider && Provider->Form && Provider->Form->Modal())
        DeleteObject(region);
    else
        SetWindowRgn(wnd, region, FALSE);
    RgnChanged = true;
    ParentRgnChanging = false;
}

void TacSkinBorderForm::SnapMove(WINDOWPOS& wp) {
    RECT r;
    GetWindowRect(Wnd(), &r);
    const int cx = (wp.flags & SWP_NOSIZE) ? r.right - r.left : wp.cx;
    const int cy = (wp.flags & SWP_NOSIZE) ? r.bottom - r.top : wp.cy;
    if (cx <= 0 || cy <= 0) return;
    TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr;
    const int align = manager ? manager->Model().SkinData().AlignOffset : 0;
    const RECT work = WorkAreaOf(OwnerHandle);
    const RECT m = ExtMargins();
    const int buffer = Provider->SnapBuffer;
    // The form's visible frame lies inside the shadow margins.
    wp.x = SnapToEdge(wp.x, work.left, buffer, m.left - align);
    wp.x = SnapToEdge(wp.x, work.right, buffer, cx - m.right + align);
    wp.y = SnapToEdge(wp.y, work.top, buffer, m.top - align);
    wp.y = SnapToEdge(wp.y, work.bottom, buffer, cy - m.bottom + align);
}

void TacSkinBorderForm::DoubleClick(int code) {
    TsSkinProvider& p = *Provider;
    TCustomForm* form = p.Form;
    if (code == HTCAPTION) {
        if (p.SystemMenu && (p.SystemMenu->EnabledMax() || p.SystemMenu->EnabledRestore() || IsIconic(OwnerHandle)))
            SendMessageA(OwnerHandle, WM_SYSCOMMAND, IsZoomed(OwnerHandle) || IsIconic(OwnerHandle) ? SC_RESTORE : SC_MAXIMIZE, 0);
        else if (IsIconic(OwnerHandle))
            SendMessageA(OwnerHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
        if (p.SystemMenu) p.SystemMenu->RefreshItems(false);
        return;
    }
    if (code == HTSYSMENU) {
        SendMessageA(OwnerHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    }
    if (form->BorderStyle() != bsSizeable) return;
    const RECT work = WorkAreaOf(OwnerHandle);
    if (code == HTLEFT || code == HTRIGHT) {
        if (p.FormState & kStateHorzStretched) {
            p.FormState &= ~kStateHorzStretched;
            form->SetBounds(savedLeft_, form->Top(), savedWidth_, form->Height());
        } else {
            savedLeft_ = form->Left();
            savedWidth_ = form->Width();
            const int d = ExtendedBorderDiff(this);
            form->SetBounds(work.left + d, form->Top(), (work.right - work.left) - 2 * d, form->Height());
            p.FormState |= kStateHorzStretched;
        }
    } else if (code == HTTOP || code == HTBOTTOM) {
        if (p.FormState & kStateVertStretched) {
            p.FormState &= ~kStateVertStretched;
            form->SetBounds(form->Left(), savedTop_, form->Width(), savedHeight_);
        } else {
            savedTop_ = form->Top();
            savedHeight_ = form->Height();
            const int t = ExtendedTitleDiff(this), d = ExtendedBorderDiff(this);
            form->SetBounds(form->Left(), work.top + t, form->Width(), (work.bottom - work.top) - t - d);
            p.FormState |= kStateVertStretched;
        }
    }
}

void TacSkinBorderForm::BorderWndProc(TMessage& m) {
    auto* window = static_cast<TacBorderWindow*>(AForm);
    auto inherited = [&] { window->Inherited(m); };
    if ((!Provider && !Dialog) || !OwnerHandle) {
        inherited();
        return;
    }
    // The cursor is chosen for the point of the hit test just made: the
    // cursor's present position may lag behind it or be ahead of it.
    const POINT cursorScreen = [&] {
        if (lastHitValid_) return lastHit_;
        POINT pt;
        GetCursorPos(&pt);
        return pt;
    }();
    const POINT lpScreen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    switch (m.Msg) {
        case WM_NCPAINT:
        case WM_ERASEBKGND:
            m.Result = 0;
            return;
        case WM_MOUSEACTIVATE:
            m.Result = MA_NOACTIVATE;
            if (Provider ? Provider->Form->Enabled() : IsWindowEnabled(OwnerHandle) != FALSE)
                SetForegroundWindow(OwnerHandle);
            return;
        case WM_SETCURSOR: {
            const int code = HitTest(cursorScreen);
            if (!PointInMargin(cursorScreen, true))
                if (LPCSTR cursor = CursorForHitCode(code)) {
                    SetCursor(LoadCursorA(nullptr, cursor));
                    m.Result = TRUE;
                    return;
                }
            inherited();
            return;
        }
        case WM_NCHITTEST:
            lastHit_ = lpScreen;
            lastHitValid_ = true;
            inherited();
            if (!PointInMargin(lpScreen, true)) m.Result = HTBORDER;
            return;
        case WM_NCMOUSEMOVE: {
            const int code = HitTest(lpScreen);
            m.Result = code;
            const bool button = code == HTMINBUTTON || code == HTMAXBUTTON || code == HTCLOSE || code == HTHELP ||
                                (code >= 1000 && code <= 1100);
            SetHotTitleButton(button ? code : -1);
            return;
        }
        case WM_NCLBUTTONDOWN: {
            if (PointInMargin(lpScreen, true)) return;
            Updating = false;
            const int code = HitTest(lpScreen);
            if (code == HTCAPTION && Provider && StartBlendOnMoving(*Provider)) return;
            // The form does what a press on its own frame at that place
            // does: its own handling of the code (buttons, icon, moving
            // and sizing).
            SendMessageA(OwnerHandle, WM_NCLBUTTONDOWN, static_cast<WPARAM>(code < 0 ? HTNOWHERE : code), m.LParam);
            return;
        }
        case WM_NCLBUTTONUP:
        case WM_NCRBUTTONUP:
        case WM_NCRBUTTONDOWN: {
            if (PointInMargin(lpScreen, true)) return;
            const int code = HitTest(lpScreen);
            SendMessageA(OwnerHandle, m.Msg, static_cast<WPARAM>(code < 0 ? HTNOWHERE : code), m.LParam);
            return;
        }
        case WM_NCLBUTTONDBLCLK:
            if (PointInMargin(lpScreen, true)) return;
            // A dialog does what a double click on its own frame does.
            if (Dialog)
                SendMessageA(OwnerHandle, WM_NCLBUTTONDBLCLK, static_cast<WPARAM>(std::max(HitTest(lpScreen), 0)),
                             m.LParam);
            else
                DoubleClick(HitTest(lpScreen));
            m.Result = 0;
            return;
        case WM_WINDOWPOSCHANGED:
            FreeTitleGlows();
            inherited();
            return;
        case WM_SHOWWINDOW:
            // Hidden with its minimising form, it stays: the minimise
            // animation shows in it.
            if (m.WParam == 0 && LayeredWindowsAvailable() && Provider && Provider->DrawNonClientArea) {
                if (Provider->FormState & kStateMinimizing) {
                    m.Result = 0;
                    return;
                }
                if (Provider->FormState & kStateHiding) return;
            }
            break;
        case WM_WINDOWPOSCHANGING:
            if (Provider && (Provider->FormState & kStateTranslucentMove)) {
                auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
                if (Provider->ScreenSnap && !IsZoomed(OwnerHandle) && !(wp->flags & SWP_NOMOVE)) SnapMove(*wp);
                inherited();
                if (!(wp->flags & SWP_NOMOVE)) MovePos = POINT{wp->x, wp->y};
                return;
            }
            break;
        default:
            break;
    }
    if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MBUTTONDBLCLK) {
        const POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        if (PointInMargin(at, false)) {
            PassThrough(at);
            return;
        }
    }
    inherited();
}

// ------------------------------------------------------ the form's side

void BorderNCPaint(TsSkinProvider& p) {
    auto* border = static_cast<TacSkinBorderForm*>(p.BorderForm);
    if (!border) return;
    const HWND wnd = border->AForm && border->AForm->HandleAllocated() ? border->AForm->Handle() : nullptr;
    border->UpdateBorderWindow(!wnd || !IsWindowVisible(wnd), 255);
}

void BorderPositionChanged(TsSkinProvider& p, const WINDOWPOS* wp) {
    auto* border = static_cast<TacSkinBorderForm*>(p.BorderForm);
    if (!border || !wp || p.PaintSuspended || !p.Form || !p.Form->HandleAllocated()) return;
    const HWND form = p.Form->Handle();
    if (!IsWindowVisible(form) || (wp->flags & SWP_HIDEWINDOW)) {
        border->UpdateBorderWindow(false, 255);
        return;
    }
    if (IsIconic(form) || (wp->flags & (SWP_NOREDRAW | SWP_FRAMECHANGED)) || (p.FormState & kStateTranslucentMove)) return;
    const HWND wnd = border->AForm && border->AForm->HandleAllocated() ? border->AForm->Handle() : nullptr;
    // A pure change of the z-order moves the shown border window along;
    // one not shown yet (the form appearing) is painted and shown first.
    if ((wp->flags & SWP_NOSIZE) && (wp->flags & SWP_NOMOVE) && !(wp->flags & SWP_SHOWWINDOW) && wnd &&
        IsWindowVisible(wnd)) {
        if (!Topmost(form) && NextToForm(wnd, form)) return;
        SetWindowPos(wnd, Topmost(form) ? HWND_TOPMOST : AboveForm(form), 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
        return;
    }
    border->UpdateBorderWindow(!wnd || !IsWindowVisible(wnd), 255);
}

// --------------------------------------------------- the extended border

void PaintExtendedBorder(TsSkinProvider& p) {
    if (!p.SkinData || !p.BorderForm || !p.SkinData->CacheBmp) return;
    PaintExtendedBorder(p.SkinData->GetSkinManager(), p.FormActive, *p.SkinData->CacheBmp);
}

void PaintExtendedBorder(TsSkinManager* manager, bool active, TBitmap& bitmap) {
    if (!manager) return;
    const TsExtBorderShadow& s = manager->Model().ExtBorderShadow();
    const Bitmap32& picture = active ? s.Active : s.Inactive;
    if (picture.Width() <= 0 || picture.Height() <= 0) return;
    Bitmap32& cache = bitmap.Pixels();
    const int W = cache.Width(), H = cache.Height();
    const TSliceBorders borders{s.Left, s.Top, s.Right, s.Bottom};
    const int modes[4] = {smStretch, smStretch, smStretch, smStretch};
    Bitmap32 shadow(W, H);
    DrawBitmapSliced(shadow, picture, TRect{0, 0, W, H}, TRect{0, 0, picture.Width(), picture.Height()}, borders,
                     modes, smStretch);
    // Only the margins take the shadow: the form painted the centre.
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (y < s.Top || y >= H - s.Bottom || x < s.Left || x >= W - s.Right) cache.At(x, y) = shadow.At(x, y);
}

}  // namespace kova::skin
