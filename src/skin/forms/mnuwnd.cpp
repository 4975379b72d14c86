#include "skin/forms/mnuwnd.h"

#include <algorithm>

#include "framework/forms.h"
#include "framework/handles.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/core/sysentries.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/skinmenus.h"

namespace kova::skin {

namespace {

// Adapters freed while their own message was being handled: they go at
// the next freeing, outside any of their messages.
std::vector<std::unique_ptr<TacMnuWnd>>& KeptAside() {
    static std::vector<std::unique_ptr<TacMnuWnd>> kept;
    return kept;
}

void FreeKeptAside() {
    auto& kept = KeptAside();
    std::vector<std::unique_ptr<TacMnuWnd>> still;
    for (auto& a : kept)
        if (a && a->Running()) still.push_back(std::move(a));
    kept.clear();  // frees the rest
    kept = std::move(still);
}

}  // namespace

std::vector<std::unique_ptr<TacMnuWnd>>& MenuWndAdapters() {
    static std::vector<std::unique_ptr<TacMnuWnd>> adapters;
    return adapters;
}

void FreeMenuWndAdapters() {
    auto& list = MenuWndAdapters();
    // Taken out of the list first: freeing one may send messages that reach
    // this list again.
    std::vector<std::unique_ptr<TacMnuWnd>> taken;
    taken.swap(list);
    for (auto& a : taken) {
        if (!a) continue;
        if (a->Running()) KeptAside().push_back(std::move(a));
    }
    taken.clear();
    FreeKeptAside();
}

int MenuWndAdapterCount() {
    int n = 0;
    for (auto& a : MenuWndAdapters()) n += a ? 1 : 0;
    for (auto& a : KeptAside()) n += a ? 1 : 0;
    return n;
}

TacMnuWnd* AttachMenuWindowAdapter(HWND wnd, TsSkinManager* manager) {
    if (!wnd || !manager || !manager->SkinnedPopups() || SkinCommandAnswered(wnd, scQuerySupport)) return nullptr;
    FreeKeptAside();
    // The manager frees the adapters before it removes its hook.
    if (!FormSkinning().FreeMenuWndAdapters) FormSkinning().FreeMenuWndAdapters = [] { FreeMenuWndAdapters(); };
    auto adapter = std::make_unique<TacMnuWnd>(wnd, nullptr, manager, "MAINMENU");
    adapter->WindowHandle = wnd;
    adapter->Start(false);
    if (adapter->Detached) return nullptr;
    MenuWndAdapters().push_back(std::move(adapter));
    return MenuWndAdapters().back().get();
}

TacMnuWnd::TacMnuWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacScrollWnd(wnd, skinData, manager, section) {
    KeepsVisualStyles = true;
}

void TacMnuWnd::WndProc(TMessage& m) {
    ++running_;
    try {
        Handle(m);
    } catch (...) {
        --running_;
        throw;
    }
    --running_;
}

void TacMnuWnd::Destroying(TMessage& m) {
    if (Detached) {
        // Not hooked (any more): handed on, never sent to the window again,
        // which would bring it back here.
        CallPrevWndProc(m);
        return;
    }
    CallPrevWndProc(m);
    Detach(false);
    Destroyed = true;
    Shown = 0;
    ClearMenuCache();
    bool others = false;
    for (auto& a : MenuWndAdapters())
        if (a && a.get() != this && !a->Destroyed && IsWindow(a->WindowHandle)) {
            others = true;
            RedrawWindow(a->WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        }
    if (!others) FreeMenuWndAdapters();
    SkinnedMenuDrawn() = false;
}

void TacMnuWnd::PrepareCache() {
    if (!CommonData || !CommonData->CacheBmp) return;
    RECT wr{};
    GetWindowRect(WindowHandle, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    if (w <= 0 || h <= 0) return;
    TBitmap& cache = *CommonData->CacheBmp;
    if (cache.Width() != w || cache.Height() != h) {
        cache.SetSize(w, h);
        CommonData->BGChanged = true;
    }
    if (!CommonData->BGChanged) return;
    const TsSkinModel& skin = Manager->Model();
    if (skin.SectionIndexValid(CommonData->SkinIndex))
        PaintSectionBackground(cache.Pixels(), skin, CommonData->SkinIndex, TsParentImageInfo{}, 0,
                               TRect{0, 0, w, h}, TPoint{0, 0});
    FillBorderCorners(*CommonData, *this);
    CommonData->BGChanged = false;
}

void TacMnuWnd::PaintFrame(HDC dc) {
    RECT wr{};
    GetWindowRect(WindowHandle, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    TacMenuCacheRecord record;
    TBitmap* source = nullptr;
    if (GetMenuCacheItem(nullptr, false, record, WindowHandle) && record.Bmp && record.Bmp->Width() == w &&
        record.Bmp->Height() == h) {
        source = record.Bmp;
    } else {
        PrepareCache();
        source = CommonData ? CommonData->CacheBmp.get() : nullptr;
    }
    if (!source) return;
    const POINT o = WindowClientOffset(WindowHandle);
    RECT client{};
    GetClientRect(WindowHandle, &client);
    HDC src = source->Canvas()->Handle();
    // The frame strips around the client area.
    BitBlt(dc, 0, 0, w, o.y, src, 0, 0, SRCCOPY);
    BitBlt(dc, 0, o.y + client.bottom, w, h - o.y - client.bottom, src, 0, o.y + client.bottom, SRCCOPY);
    BitBlt(dc, 0, o.y, o.x, client.bottom, src, 0, o.y, SRCCOPY);
    BitBlt(dc, o.x + client.right, o.y, w - o.x - client.right, client.bottom, src, o.x + client.right, o.y, SRCCOPY);
}

void TacMnuWnd::Handle(TMessage& m) {
    switch (m.Msg) {
        case WM_DESTROY:
        case WM_NCDESTROY:
            Destroying(m);
            return;
        case WM_TIMER:
            CallPrevWndProc(m);
            return;
        default:
            break;
    }
    if (IsSkinCommand(m)) {
        switch (SkinSubCode(m.WParam)) {
            case scQuerySupport: m.Result = 1; return;
            case scSetUpdating: m.Result = Shown; return;
            case 14: if (IsWindowVisible(WindowHandle)) Shown = 1; return;
            case scGetApplication: m.Result = reinterpret_cast<LRESULT>(Application()); return;
            default: return;
        }
    }
    if (!SkinnedMenuDrawn() || !ActiveManager()) {
        TacScrollWnd::WndProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_ERASEBKGND: {
            PrepareCache();
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            TWindowDC own;
            if (!dc) {
                own = TWindowDC(WindowHandle);
                dc = own.Get();
            }
            if (CommonData && CommonData->CacheBmp) {
                RECT client{};
                GetClientRect(WindowHandle, &client);
                const POINT o = WindowClientOffset(WindowHandle);
                BitBlt(dc, 0, 0, client.right, client.bottom, CommonData->CacheBmp->Canvas()->Handle(), o.x, o.y,
                       SRCCOPY);
            }
            Shown = 0;
            m.Result = 1;
            return;
        }
        case WM_WINDOWPOSCHANGING: {
            TacScrollWnd::WndProc(m);
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam);
            if (!handlingShow_ && pos && (pos->flags & SWP_SHOWWINDOW) && !(pos->flags & SWP_NOREDRAW) &&
                !IsWindowVisible(WindowHandle) && SystemEntries().SetLayeredWindowAttributes) {
                handlingShow_ = true;
                // Invisible until its first paint sets the menu's opacity.
                SetWindowLongPtrA(WindowHandle, GWL_EXSTYLE, GetWindowLongPtrA(WindowHandle, GWL_EXSTYLE) | WS_EX_LAYERED);
                SystemEntries().SetLayeredWindowAttributes(WindowHandle, 0, 0, LWA_ALPHA);
                handlingShow_ = false;
            }
            return;
        }
        case WM_NCPAINT: {
            {
                TWindowDC dc(WindowHandle, TDCArea::Window);
                PaintFrame(dc.Get());
            }
            if (IsDwmCompositionEnabled() && !PaintedOnce)
                RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
            const std::uint8_t alpha = Manager->MenuSupport.AlphaBlend;
            const LONG_PTR ex = GetWindowLongPtrA(WindowHandle, GWL_EXSTYLE);
            if (alpha == 255) {
                if (ex & WS_EX_LAYERED) SetWindowLongPtrA(WindowHandle, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
            } else if (SystemEntries().SetLayeredWindowAttributes) {
                SetWindowLongPtrA(WindowHandle, GWL_EXSTYLE, ex | WS_EX_LAYERED);
                SystemEntries().SetLayeredWindowAttributes(WindowHandle, 0, alpha, LWA_ALPHA);
            }
            PaintedOnce = true;
            m.Result = 0;
            return;
        }
        default:
            TacScrollWnd::WndProc(m);
    }
}

}  // namespace kova::skin
