#include "skin/forms/formhelpers.h"

#include <dwmapi.h>

#include <algorithm>
#include <cmath>

#include "framework/handles.h"
#include "skin/core/animations.h"
#include "skin/core/portable/animframes.h"
#include "skin/core/portable/bitmaps.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/core/skinstate.h"
#include "skin/core/sysentries.h"
#include "skin/core/vclutils.h"
#include "skin/forms/borderform.h"
#include "skin/forms/provider.h"

namespace kova::skin {

namespace {

// The provider of the window a border window frames.
TsSkinProvider* OwnerProvider(TacBorderForm* borderForm) {
    if (!borderForm || !borderForm->OwnerHandle) return nullptr;
    auto* base = reinterpret_cast<TsSkinProviderBase*>(SendSkinCommand(borderForm->OwnerHandle, scGetProvider, 0));
    return dynamic_cast<TsSkinProvider*>(base);
}

const TsSkinData* SkinValues(TacBorderForm* borderForm) {
    // A dialog has no provider: its border object knows the dialog's record.
    TsCommonData* data = nullptr;
    if (auto* own = dynamic_cast<TacSkinBorderForm*>(borderForm); own && own->Dialog)
        data = own->SkinData;
    else if (TsSkinProvider* provider = OwnerProvider(borderForm))
        data = provider->SkinData.get();
    TsSkinManager* manager = data ? data->GetSkinManager() : nullptr;
    return manager ? &manager->Model().SkinData() : nullptr;
}

LONG_PTR Style(HWND wnd) { return wnd ? GetWindowLongPtrA(wnd, GWL_STYLE) : 0; }

}  // namespace

// ---------------------------------------------------------------- metrics

int GetBorderWidth(HWND wnd, TacBorderForm* borderForm, bool checkSkin) {
    if (checkSkin) {
        if (const int skin = SkinBorderWidth(borderForm)) return skin;
    }
    const LONG_PTR style = Style(wnd);
    if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
    if (style & WS_BORDER) return GetSystemMetrics(SM_CXDLGFRAME);
    return 0;
}

int VisibleSysBorderWidth(HWND wnd, TacBorderForm* borderForm, bool checkSkin) {
    return borderForm ? 0 : GetBorderWidth(wnd, borderForm, checkSkin);
}

int GetSysCaptionHeight(TCustomForm* form) {
    static const int caption = GetSystemMetrics(SM_CYCAPTION);
    static const int small = GetSystemMetrics(SM_CYSMCAPTION);
    if (!form) return caption;
    const bool tool = form->BorderStyle() == bsToolWindow || form->BorderStyle() == bsSizeToolWin;
    const bool iconic = form->HandleAllocated() && IsIconic(form->Handle());
    return tool && !iconic ? small : caption;
}

int SkinTitleHeight(TacBorderForm* borderForm) {
    const TsSkinData* s = SkinValues(borderForm);
    return s ? s->TitleHeight : 30;
}

int SkinBorderWidth(TacBorderForm* borderForm) {
    const TsSkinData* s = SkinValues(borderForm);
    return s ? s->BorderWidth : 0;
}

int ExtendedTitleDiff(TacBorderForm* borderForm) {
    TsSkinProvider* p = OwnerProvider(borderForm);
    if (!p || !p->Form || !p->Form->HandleAllocated()) return 0;
    return p->CaptionHeight(true) - p->CaptionHeight(false) - GetBorderWidth(p->Form->Handle(), nullptr, false);
}

int ExtendedBorderDiff(TacBorderForm* borderForm) {
    TsSkinProvider* p = OwnerProvider(borderForm);
    if (!p || !p->Form || !p->Form->HandleAllocated()) return 0;
    const HWND wnd = p->Form->Handle();
    return GetBorderWidth(wnd, borderForm, true) - GetBorderWidth(wnd, borderForm, false);
}

bool HasThickFrame(HWND wnd) { return (Style(wnd) & WS_THICKFRAME) != 0; }

bool MaskHasSingleImage(int index, TsSkinManager* manager) {
    if (index < 0) return true;
    if (!manager || !manager->Model().MaskIndexValid(index)) return false;
    const TsMaskData& mask = manager->Model().Masks()[static_cast<std::size_t>(index)];
    return std::max<int>(mask.ColumnCount, 1) == 1;
}

namespace {
RECT WindowRectOf(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}
RECT ClientRectOf(HWND wnd) {
    RECT r{};
    GetClientRect(wnd, &r);
    return r;
}
}  // namespace

int WindowWidth(HWND wnd) { return WindowRectOf(wnd).right - WindowRectOf(wnd).left; }
int WindowHeight(HWND wnd) { return WindowRectOf(wnd).bottom - WindowRectOf(wnd).top; }
int ClientWidth(HWND wnd) { return ClientRectOf(wnd).right - ClientRectOf(wnd).left; }
int ClientHeight(HWND wnd) { return ClientRectOf(wnd).bottom - ClientRectOf(wnd).top; }

// ---------------------------------------------------- desktop composition

bool IsDwmCompositionEnabled() { return DwmCompositionEnabled(); }

HRESULT SetDwmWindowAttribute(HWND wnd, DWORD attribute, const void* value, DWORD size) {
    return DwmSetWindowAttributeCall(wnd, attribute, value, size);
}

void SetDwmTransitionsDisabled(HWND wnd, bool disable) {
    if (!IsDwmCompositionEnabled()) return;
    const BOOL value = disable ? 1 : 0;
    SetDwmWindowAttribute(wnd, DWMWA_TRANSITIONS_FORCEDISABLED, &value, sizeof value);
}

HRESULT EnableBlurBehind(HWND wnd, bool enable, HRGN region) {
    DWM_BLURBEHIND blur{};
    blur.dwFlags = region ? (DWM_BB_ENABLE | DWM_BB_BLURREGION) : DWM_BB_ENABLE;
    blur.fEnable = enable ? static_cast<BOOL>(-1) : 0;
    blur.hRgnBlur = region;
    blur.fTransitionOnMaximized = 0;
    return DwmEnableBlurBehindWindowCall(wnd, &blur);
}

void InvalidateIconicBitmaps(HWND wnd) { DwmInvalidateIconicBitmapsCall(wnd); }

SIZE IconicThumbnailSize(int w, int h, int maxWidth, int maxHeight) {
    if (w <= 0 || h <= 0 || maxWidth <= 0 || maxHeight <= 0) return SIZE{0, 0};
    // Compared without division: maxWidth / maxHeight > w / h.
    if (static_cast<long long>(maxWidth) * h > static_cast<long long>(w) * maxHeight)
        return SIZE{static_cast<LONG>(std::lround(static_cast<double>(w) * maxHeight / h)), maxHeight};
    return SIZE{maxWidth, static_cast<LONG>(std::lround(static_cast<double>(h) * maxWidth / w))};
}

namespace {

// The bit set while the provider builds its task-bar picture.
constexpr std::uint32_t kIconicBitmapBuilding = 0x800;

struct TIconicScope {
    TsSkinProvider* P;
    explicit TIconicScope(TsSkinProvider* p) : P(p) { P->FormState |= kIconicBitmapBuilding; }
    ~TIconicScope() { P->FormState &= ~kIconicBitmapBuilding; }
};

// The source of the provider's task-bar pictures: its cache (the picture
// of a minimised form comes with the minimise animation).
TBitmap* IconicSource(TsSkinProvider* provider) {
    if (!provider || !provider->SkinData) return nullptr;
    TBitmap* cache = provider->SkinData->CacheBmp.get();
    if (!cache || cache->Width() <= 0 || cache->Height() <= 0) return nullptr;
    return cache;
}

bool ResampleInto(const TBitmap& source, TBitmap& dest) {
    if (source.Width() < 2 || source.Height() < 2) return false;
    auto& src = const_cast<TBitmap&>(source).Pixels();
    ResampleBitmap(src, dest.Width(), dest.Height(), 0, dest.Pixels());
    return true;
}

}  // namespace

bool SetIconicThumbnail(HWND wnd, TsSkinProvider* provider, int maxWidth, int maxHeight) {
    TBitmap* source = IconicSource(provider);
    if (!source) return false;
    const SIZE size = IconicThumbnailSize(source->Width(), source->Height(), maxWidth, maxHeight);
    if (size.cx <= 0 || size.cy <= 0) return false;
    TIconicScope building(provider);
    TBitmap thumb(size.cx, size.cy);
    if (!ResampleInto(*source, thumb)) return false;
    if (FAILED(DwmSetIconicThumbnailCall(wnd, thumb.Handle(), 0))) return false;
    if (std::unique_ptr<TBitmap> whole = provider->MakeFormImage(); whole && ResampleInto(*whole, thumb))
        DwmSetIconicThumbnailCall(wnd, thumb.Handle(), 0);
    if (provider->BorderForm) provider->BorderForm->UpdateBorderWindow(false, 255);
    return true;
}

bool SetIconicLivePreview(HWND wnd, TsSkinProvider* provider) {
    if (!IconicSource(provider)) return false;
    TIconicScope building(provider);
    std::unique_ptr<TBitmap> whole = provider->MakeFormImage();
    if (!whole) return false;
    POINT origin{0, 0};
    const HRESULT hr = DwmSetIconicLivePreviewBitmapCall(wnd, whole->Handle(), &origin, DWM_SIT_DISPLAYFRAME);
    if (provider->BorderForm) provider->BorderForm->UpdateBorderWindow(false, 255);
    return hr == S_OK;
}

bool TsSkinProvider::SetIconicThumbnail(HWND wnd, int maxWidth, int maxHeight) {
    return kova::skin::SetIconicThumbnail(wnd, this, maxWidth, maxHeight);
}

bool TsSkinProvider::SetIconicLivePreview(HWND wnd) { return kova::skin::SetIconicLivePreview(wnd, this); }

void SetIconicBitmapMode(HWND wnd, bool on) {
    if (!TaskbarPreviews) return;
    const BOOL value = on ? TRUE : FALSE;
    if (SUCCEEDED(DwmSetWindowAttributeCall(wnd, DWMWA_HAS_ICONIC_BITMAP, &value, sizeof value)))
        DwmSetWindowAttributeCall(wnd, DWMWA_FORCE_ICONIC_REPRESENTATION, &value, sizeof value);
    InvalidateIconicBitmaps(wnd);
}

// ------------------------------------------------------ layered windows

TForm* ShowWindowSnapshotForm(HWND wnd) {
    if (!wnd || !IsWindow(wnd)) return nullptr;
    TForm* form = CreateWindowSnapshotForm(wnd);
    RECT r{};
    GetWindowRect(wnd, &r);
    TBitmap image(r.right - r.left, r.bottom - r.top);
    if (image.Width() > 0 && image.Height() > 0) {
        // Printed, not copied from the screen: a covered window gives its
        // own pixels, not those of what lies over it.
        PrintWindowTree(wnd, image.Canvas()->Handle());
        GdiFlush();
        MakeOpaque(image.Pixels());
    }
    const POINT pos{r.left, r.top};
    UpdateLayeredBitmap(form->Handle(), &image, 255, &pos);
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return form;
}

bool MakeWindowTransparent(HWND wnd, bool on) {
    const LONG_PTR ex = GetWindowLongPtrA(wnd, GWL_EXSTYLE);
    if (on && LayeredWindowsAvailable()) {
        if (ex & WS_EX_LAYERED) return false;
        SetWindowLongPtrA(wnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        if (SetLayeredWindowAttributesFn set = SystemEntries().SetLayeredWindowAttributes)
            set(wnd, clNone, 1, LWA_ALPHA);
        return true;
    }
    const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
    if (style & WS_VISIBLE) SetWindowLongPtrA(wnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
    if (ex & WS_EX_LAYERED) SetWindowLongPtrA(wnd, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    return false;
}

HWND FindTrayWindow() { return FindWindowA("Shell_TrayWnd", nullptr); }

}  // namespace kova::skin
