#include "skin/core/glow.h"

#include <cstring>
#include <memory>
#include <vector>

#include "framework/handles.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/paint/portable/glow.h"

namespace kova::skin {

TacGlowWindow::TacGlowWindow(TComponent* owner) : TForm(owner) {
    SetTag(kSkinOwnWindowTag);
    SetBorderStyle(bsNone);
}

void TacGlowWindow::CreateParams(TCreateParams& p) {
    TForm::CreateParams(p);
    p.Style = WS_POPUP;
    // Never activated, never in the task bar, and the mouse passes through.
    p.ExStyle |= WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
    p.WndParent = OwnerWnd;
}

void TacGlowWindow::HandleMessage(TMessage& m) {
    if (m.Msg == WM_NCHITTEST) {
        m.Result = HTTRANSPARENT;
        return;
    }
    TForm::HandleMessage(m);
}

namespace {

struct Glow {
    TacGlowWindow* window = nullptr;
    ~Glow() {
        if (window != nullptr) window->Free();
    }
};
std::vector<std::unique_ptr<Glow>>& Glows() {
    static std::vector<std::unique_ptr<Glow>> glows;
    return glows;
}

}  // namespace

int ShowGlow(TsSkinModel& skin, const RECT& controlRect, const RECT& clipRect, const std::string& section,
             const std::string& name, int margin, HWND parentWnd) {
    if (!LayeredWindowsAvailable()) return -1;
    const int maskIndex = GlowMaskIndex(skin, section, name);
    if (maskIndex < 0) return -1;
    const TGlowGeometry g = ComputeGlowGeometry(
        {controlRect.left, controlRect.top, controlRect.right, controlRect.bottom},
        {clipRect.left, clipRect.top, clipRect.right, clipRect.bottom}, skin.MaskMarginLeft(maskIndex),
        skin.MaskMarginTop(maskIndex), skin.MaskMarginRight(maskIndex), skin.MaskMarginBottom(maskIndex), margin);
    if (!g.Valid) return -1;
    const Bitmap32 picture = RenderGlowBitmap(g, &skin.Masks()[static_cast<std::size_t>(maskIndex)]);

    auto glow = std::make_unique<Glow>();
    glow->window = TCustomForm::Create<TacGlowWindow>(nullptr);
    TacGlowWindow& w = *glow->window;
    const HWND root = parentWnd != nullptr ? GetAncestor(parentWnd, GA_ROOT) : nullptr;
    w.OwnerWnd = root;
    const bool topmost = root != nullptr && (GetWindowLongPtrA(root, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (topmost) w.SetFormStyle(fsStayOnTop);
    const HWND h = w.Handle();
    if (h == nullptr) return -1;

    // The styles once more on the live window: a window manager may drop a
    // bit at creation that it keeps when set afterwards.
    SetWindowLongPtrA(h, GWL_EXSTYLE,
                      GetWindowLongPtrA(h, GWL_EXSTYLE) | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT);

    HWND after = HWND_TOPMOST;
    if (!topmost && parentWnd != nullptr) {
        after = GetWindow(root, GW_HWNDPREV);
        if (after == nullptr) after = root;
    }
    SetWindowPos(h, after, g.X, g.Y, g.Width, g.Height, SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);

    PixelBuffer32 bits;
    TGdiObject<HBITMAP> dib = CreateDib32(g.Width, g.Height, bits);
    if (!dib) return -1;
    for (int y = 0; y < g.Height; ++y) std::memcpy(bits.ScanLine(y), picture.ScanLine(y), static_cast<std::size_t>(g.Width) * 4);
    {
        TWindowDC screen(nullptr);
        TMemoryDC memory(screen.Get());
        TSelection selected(memory.Get(), dib.Get());
        POINT origin{0, 0};
        SIZE size{g.Width, g.Height};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        if (UpdateLayeredWindowFn update = SystemEntries().UpdateLayeredWindow)
            update(h, screen.Get(), nullptr, &size, memory.Get(), &origin, 0, &blend, ULW_ALPHA);
    }
    ShowWindow(h, SW_SHOWNOACTIVATE);
    Glows().push_back(std::move(glow));
    return static_cast<int>(Glows().size() - 1);
}

void HideGlow(int index) {
    auto& glows = Glows();
    if (index < 0 || static_cast<std::size_t>(index) >= glows.size()) return;
    glows[static_cast<std::size_t>(index)].reset();
}

void ClearGlows() { Glows().clear(); }

std::size_t GlowSlots() { return Glows().size(); }

HWND GlowWindowOf(int index) {
    auto& glows = Glows();
    if (index < 0 || static_cast<std::size_t>(index) >= glows.size() || !glows[static_cast<std::size_t>(index)]) return nullptr;
    return glows[static_cast<std::size_t>(index)]->window->Handle();
}

}  // namespace kova::skin
