#include "skin/controls/btnwnd.h"

#include <algorithm>
#include <optional>

#include "framework/portable/numformat.h"
#include "framework/windowtext.h"
#include "skin/controls/portable/weblink.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/glow.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/paint/portable/surface.h"
#include "skin/core/portable/bitmaps.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinstate.h"
#include "skin/core/vclutils.h"

namespace kova::skin {

namespace {

constexpr UINT kRedrawNow = RDW_INVALIDATE | RDW_UPDATENOW;          // 0x101
constexpr UINT kRedrawFrame = RDW_INVALIDATE | RDW_FRAME;            // 0x401
constexpr UINT kRedrawErase = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;  // 0x105
constexpr UINT kRedrawAll = RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;  // 0x581

std::string SectionOr(const std::string& section, const char* fallback) {
    return section.empty() ? fallback : section;
}

LONG Style(HWND wnd) { return GetWindowLongA(wnd, GWL_STYLE); }
LONG ExStyle(HWND wnd) { return GetWindowLongA(wnd, GWL_EXSTYLE); }

// The font the window paints with (WM_GETFONT), else the system's message
// font.
HFONT WindowFont(HWND wnd, TGdiObject<HFONT>& own) {
    if (auto f = reinterpret_cast<HFONT>(SendMessageA(wnd, WM_GETFONT, 0, 0))) return f;
    if (!own) own = GetNonClientFont(5);
    return own.Get();
}

}  // namespace

// ------------------------------------------------------------ common

void TacPaintedWnd::SetSkinParams() {
    if (CommonData) CommonData->ReadSkinIndexes();
    TacMainWnd::SetSkinParams();
}

bool TacPaintedWnd::BeginCache() {
    GetWndGeometry(WindowHandle, ParentHandle, WindowRect, PosInParent, WindowSize, ParentWindowRect);
    if (!CommonData || WindowSize.cx <= 0 || WindowSize.cy <= 0) return false;
    TsSkinManager* m = ActiveManager();
    if (!m || !m->Model().SectionIndexValid(CommonData->SkinIndex)) return false;
    CommonData->EnsureCacheBmp();
    if (!CommonData->CacheBmp) CommonData->CacheBmp = std::make_unique<TBitmap>();
    CommonData->CacheBmp->SetSize(WindowSize.cx, WindowSize.cy);
    return true;
}

void TacPaintedWnd::CopyCache(HDC dc) {
    if (!dc || !CommonData || !CommonData->CacheBmp) return;
    CopyBufferToDC(dc, 0, 0, CommonData->CacheBmp->Pixels(), RECT{0, 0, WindowSize.cx, WindowSize.cy});
}

void TacPaintedWnd::FadeDisabled(const TsParentImageInfo& bg) {
    Bitmap32& px = CachePixels();
    if (bg.Ready && bg.Bmp) {
        // The parent's picture under the window, with 60 % of the cache
        // over it.
        Bitmap32 under(px.Width(), px.Height());
        for (int y = 0; y < px.Height(); ++y)
            for (int x = 0; x < px.Width(); ++x) {
                const int sx = bg.X + x, sy = bg.Y + y;
                under.At(x, y) = sx >= 0 && sy >= 0 && sx < bg.Bmp->Width() && sy < bg.Bmp->Height()
                                     ? bg.Bmp->At(sx, sy)
                                     : px.At(x, y);
            }
        BlendBitmapRect(under, 0, 0, px, TRect{0, 0, px.Width(), px.Height()}, 0.4, 0xFF00FF);
        px = under;
    } else {
        TsSkinManager* m = ActiveManager();
        const TColor colour = m ? m->Model().ColorToRGB(bg.FillColor == clFuchsia ? m->Model().GlobalInfoColor()
                                                                                  : bg.FillColor)
                                : 0;
        FadeBitmapToColor(px, colour, 0.4);
    }
}

void TacPaintedWnd::DrawSectionText(const std::string& text, RECT r, UINT flags, bool hot, bool enabled) {
    TsSkinManager* m = ActiveManager();
    if (!m || text.empty()) return;
    PaintControlText(CacheCanvas(), text, enabled, r, flags, RecordTextStyle(m->Model(), *CommonData, hot));
}

void TacPaintedWnd::PassFrozen(TMessage& m) {
    const TLife life = Life();
    SendMessageA(WindowHandle, WM_SETREDRAW, 0, 0);
    TacMainWnd::WndProc(m);
    if (life.Alive() && IsWindow(WindowHandle)) SendMessageA(WindowHandle, WM_SETREDRAW, 1, 0);
}

void TacPaintedWnd::HotEnter() {
    TsSkinManager* m = ActiveManager();
    if (!m || CommonData->MouseAbove || m->HotControl() != WindowHandle) return;
    POINT p{};
    GetCursorPos(&p);
    RECT r{};
    GetWindowRect(WindowHandle, &r);
    if (!PtInRect(&r, p)) return;
    CommonData->MouseAbove = true;
    CommonData->BGChanged = true;
    CommonData->Updating = false;
    // The window hears when the mouse leaves it, so the hot look ends there.
    TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, WindowHandle, 0};
    TrackMouseEvent(&t);
}

void TacPaintedWnd::HotLeave() {
    if (!CommonData->MouseAbove) return;
    CommonData->MouseAbove = false;
    CommonData->Updating = false;
    CommonData->BGChanged = true;
}

// ------------------------------------------------------------ buttons

TacBtnWnd::TacBtnWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacPaintedWnd(wnd, skinData, manager, SectionOr(section, "BUTTON")) {}

bool TacBtnWnd::Pushed() const { return (SendMessageA(WindowHandle, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }

int TacBtnWnd::StateIndex() const {
    if (Pushed()) return 2;
    if (!IsWindowEnabled(WindowHandle)) return 0;
    TsSkinManager* m = ActiveManager();
    const LONG style = Style(WindowHandle);
    const bool isDefault = CommonData->OwnerControl ? (style & 15) == BS_DEFPUSHBUTTON : (style & 1) != 0;
    if (GetFocus() == WindowHandle || (m && m->HotControl() == WindowHandle) || CommonData->MouseAbove || isDefault)
        return 1;
    return 0;
}

SIZE TacBtnWnd::GetCaptionSize() {
    SIZE s{0, 0};
    if (WindowText.empty()) return s;
    RECT r{0, 0, GetMaxCaptionWidth(), 0};
    UINT flags = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_CENTER;
    if (!(Style(WindowHandle) & BS_MULTILINE)) flags |= DT_WORDBREAK;
    HDC dc = CacheCanvas().Handle();
    const HGDIOBJ old = SelectObject(dc, WindowFont(WindowHandle, font_));
    DrawTextStr(dc, WindowText, r, flags);
    SelectObject(dc, old);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

int TacBtnWnd::GetMaxCaptionWidth() {
    if (WindowText.empty()) return 0;
    const SIZE g = GetGlyphSize();
    if (g.cx > 0) return std::max(0L, WindowSize.cx - g.cx);
    return WindowSize.cx - 2;
}

RECT TacBtnWnd::GetCaptionRect() {
    const SIZE t = GetCaptionSize();
    RECT r;
    r.left = (WindowSize.cx - t.cx) / 2 - 1;
    r.top = (WindowSize.cy - t.cy) / 2;
    r.right = WindowSize.cx - r.left + 2;
    r.bottom = WindowSize.cy - r.top;
    if (Pushed()) OffsetRect(&r, 1, 1);
    return r;
}

void TacBtnWnd::DrawCaption(int state) {
    HDC dc = CacheCanvas().Handle();
    TCanvas& canvas = CacheCanvas();
    canvas.Font()->SetHandle(WindowFont(WindowHandle, font_));
    RECT r = GetCaptionRect();
    // The measure above and the drawing below break the same way: a caption
    // without BS_MULTILINE wraps; with it, it stays one line.
    UINT flags = DT_EXPANDTABS | DT_CENTER;
    if (!(Style(WindowHandle) & BS_MULTILINE)) flags |= DT_WORDBREAK;
    if (ExStyle(WindowHandle) & WS_EX_RTLREADING) flags |= DT_RTLREADING;
    const bool enabled = IsWindowEnabled(WindowHandle) != FALSE;
    DrawSectionText(WindowText, r, flags, state > 0, enabled);
    const TsGeneralData* section = CommonData->Section();
    if (enabled && (SendMessageA(WindowHandle, BM_GETSTATE, 0, 0) & BST_FOCUS) && !WindowText.empty() && section &&
        section->ShowFocus) {
        InflateRect(&r, 1, 1);
        DrawFocusDots(dc, r, kova::ColorToRGB(clBtnFace), kova::ColorToRGB(clBtnFace));
    }
}

void TacBtnWnd::PrepareCache() {
    if (!BeginCache()) return;
    TsParentImageInfo bg;
    ParentImageInfoOfWnd(WindowHandle, bg);
    const int state = StateIndex();
    if (state == 2) ClearGlows();
    TsSkinManager* m = ActiveManager();
    PaintControlSkin(CachePixels(), m->Model(), CommonData->SkinIndex, bg, state,
                     TRect{0, 0, WindowSize.cx, WindowSize.cy}, TPoint{0, 0}, false, CommonData->HUEOffset,
                     CommonData->Saturation, CommonData->TextureIndex, CommonData->HotTextureIndex);
    DrawCaption(state);
    DrawGlyph(state);
    if (!IsWindowEnabled(WindowHandle)) FadeDisabled(bg);
    CommonData->BGChanged = false;
}

void TacBtnWnd::Paint(HDC given) {
    std::optional<TPaintGuard> paint;
    HDC dc = given ? given : paint.emplace(WindowHandle).DC();
    if (PaintingSuspended() && !(CommonData->FlagsWord & kHasLinkedObject)) return;
    CommonData->Updating = CommonData->IsUpdating() && !PaintingSuspended();
    if (CommonData->Updating) return;
    CommonData->BGChanged = true;
    PrepareCache();
    CopyCache(dc);
}

void TacBtnWnd::WndProc(TMessage& m) {
    if (!ActiveManager()) {
        TacMainWnd::WndProc(m);
        return;
    }
    if (IsSkinCommand(m)) {
        switch (SkinSubCode(m.WParam)) {
            case 6:
                if (CommonData->Updating) {
                    CommonData->Updating = false;
                    CommonData->Updating = CommonData->IsUpdating();
                    if (CommonData->Updating) return;
                    Redraw(kRedrawAll);
                    return;
                }
                break;
            case scHotEnter:
                if (!CommonData->MouseAbove) {
                    HotEnter();
                    if (CommonData->MouseAbove) {
                        Redraw(kRedrawNow);
                        CommonData->UpdateGlow(false, WindowHandle);
                    }
                }
                break;
            case scHotLeave:
                if (CommonData->MouseAbove) {
                    ClearGlows();
                    HotLeave();
                    // The manager names this window hot until the command
                    // returns: the new look is painted after that.
                    Redraw(RDW_INVALIDATE);
                }
                break;
            default:
                break;
        }
        TacMainWnd::WndProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_ERASEBKGND:
        case WM_NCPAINT:
        case WM_UPDATEUISTATE:
            m.Result = 1;
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (IsWindowEnabled(WindowHandle)) {
                PassFrozen(m);
                CommonData->FocusSet = m.Msg == WM_SETFOCUS;
                CommonData->BGChanged = true;
                Redraw(kRedrawFrame);
                return;
            }
            break;
        case WM_ENABLE:
        case WM_SETTEXT:
            if (IsWindowVisible(WindowHandle)) {
                PassFrozen(m);
                CommonData->BGChanged = true;
                Redraw(kRedrawNow);
                return;
            }
            break;
        case WM_PAINT:
            if (IsWindowVisible(WindowHandle) || (CommonData->FlagsWord & kHasLinkedObject)) {
                if (!ParamsApplied) SetSkinParams();
                Paint(reinterpret_cast<HDC>(m.WParam));
                m.Result = 0;
                return;
            }
            break;
        case WM_PRINT:
            if (!ParamsApplied) SetSkinParams();
            Paint(reinterpret_cast<HDC>(m.WParam));
            return;
        case BM_SETSTATE:
            if (IsWindowVisible(WindowHandle)) {
                SendMessageA(WindowHandle, WM_SETREDRAW, 0, 0);
                const TLife life = Life();
                CallPrevWndProc(m);
                if (!life.Alive()) return;
                SendMessageA(WindowHandle, WM_SETREDRAW, 1, 0);
                CommonData->BGChanged = true;
                Redraw(kRedrawNow);
                return;
            }
            break;
        case WM_MOUSEHOVER:
            SendSkinCommand(WindowHandle, scHotEnter, 0);
            break;
        case WM_MOUSELEAVE:
            if (TsSkinManager* dm = ActiveManager(); dm && dm->HotControl() == WindowHandle) dm->SetHotControl(nullptr);
            // The manager tells only while it names this window; the mouse
            // has left it all the same.
            if (CommonData->MouseAbove) {
                HotLeave();
                Redraw(kRedrawNow);
            }
            break;
        default:
            break;
    }
    TacMainWnd::WndProc(m);
}

// ------------------------------------------------------------ bitmap buttons

TBitBtn* TacBitBtnWnd::Owner() const { return CommonData ? dynamic_cast<TBitBtn*>(CommonData->OwnerControl) : nullptr; }

SIZE TacBitBtnWnd::GetGlyphSize() {
    if (TBitBtn* b = Owner()) return SIZE{b->Glyph()->Width() / b->NumGlyphs(), b->Glyph()->Height()};
    // The bitmap's own size (GetBitmapDimensionEx tells only what a program
    // set with SetBitmapDimensionEx, normally nothing).
    auto bmp = reinterpret_cast<HBITMAP>(SendMessageA(WindowHandle, BM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP bm{};
    if (bmp && GetObjectA(bmp, sizeof(bm), &bm)) return SIZE{bm.bmWidth, bm.bmHeight};
    return SIZE{0, 0};
}

RECT TacBitBtnWnd::GlyphRect() {
    const SIZE g = GetGlyphSize();
    const int w = WindowSize.cx, h = WindowSize.cy;
    POINT p{};
    if (TBitBtn* b = Owner()) {
        const SIZE t = GetCaptionSize();
        const int spacing = t.cx > 0 ? b->Spacing() : 0;
        switch (b->Layout()) {
            case blGlyphLeft:
                p = {(w - g.cx - t.cx - spacing) / 2, (h - g.cy) / 2};
                break;
            case blGlyphRight:
                p = {(w - g.cx + spacing + t.cx) / 2 + (w - g.cx + spacing + t.cx) % 2, (h - g.cy) / 2};
                break;
            case blGlyphTop:
                p = {(w - g.cx) / 2 + 1, (h - g.cy - t.cy - spacing) / 2};
                break;
            case blGlyphBottom:
                p = {(w - g.cx) / 2 + 1, h - (h - g.cy - t.cy - spacing) / 2 - g.cy};
                break;
        }
    } else {
        // Two pixels left of the caption, vertically centred.
        const RECT caption = TacBtnWnd::GetCaptionRect();
        const SIZE t = GetCaptionSize();
        p.x = t.cx == 0 ? (w - g.cx) / 2 : (caption.left + caption.right - t.cx) / 2 + g.cx / 2 + 1 - 2 - g.cx;
        p.y = (h - g.cy + 1) / 2;
    }
    if (Pushed()) {
        ++p.x;
        ++p.y;
    }
    return RECT{p.x, p.y, p.x + g.cx, p.y + g.cy};
}

RECT TacBitBtnWnd::GetCaptionRect() {
    TBitBtn* b = Owner();
    if (!b) {
        RECT r = TacBtnWnd::GetCaptionRect();
        OffsetRect(&r, GetGlyphSize().cx / 2 + 1, 0);
        return r;
    }
    const SIZE g = GetGlyphSize(), t = GetCaptionSize();
    TRect text{};
    TPoint glyph{};
    CalcButtonLayout(TRect{0, 0, WindowSize.cx, WindowSize.cy}, TSize{g.cx, g.cy}, TSize{t.cx, t.cy}, text, glyph,
                     b->Spacing(), b->Margin(), 2, static_cast<int>(b->Layout()), 0);
    RECT r{text.Left, text.Top, text.Right, text.Bottom};
    if (Pushed()) OffsetRect(&r, 1, 1);
    return r;
}

int TacBitBtnWnd::GetMaxCaptionWidth() {
    TBitBtn* b = Owner();
    if (!b || WindowText.empty()) return TacBtnWnd::GetMaxCaptionWidth();
    int w = WindowSize.cx - 2 * b->Margin();
    const SIZE g = GetGlyphSize();
    if ((b->Layout() == blGlyphLeft || b->Layout() == blGlyphRight) && g.cy > 0) w -= g.cx + b->Spacing();
    return std::max(0, w);
}

void TacBitBtnWnd::DrawGlyph(int state) {
    const SIZE g = GetGlyphSize();
    if (g.cx <= 0 || g.cy <= 0) return;
    const RECT r = GlyphRect();
    if (TBitBtn* b = Owner()) {
        const Bitmap32& glyph = b->Glyph()->Pixels();
        const bool enabled = IsWindowEnabled(WindowHandle) != FALSE;
        if (b->NumGlyphs() == 1 && b->Glyph()->PixelFormat() == pf32bit) {
            TsParentImageInfo none;
            CopyAlphaBitmap(TRect{r.left, r.top, r.right, r.bottom}, TPoint{0, 0}, CachePixels(), &glyph, none, false,
                            clNone, 0, false);
            return;
        }
        // The strip's images: up, disabled, pressed; its bottom-left pixel
        // is the transparent colour.
        const int image = !enabled ? 1 : state == 2 ? 2 : 0;
        const std::uint32_t key = glyph.At(0, glyph.Height() - 1) & 0xFFFFFF;
        const TColor keyColour = static_cast<TColor>(((key & 0xFF) << 16) | (key & 0xFF00) | ((key >> 16) & 0xFF));
        DrawButtonGlyph(CachePixels(), glyph, b->NumGlyphs(), image, !enabled && b->NumGlyphs() < 2 ? 2 : 0, keyColour,
                        TPoint{r.left, r.top});
        return;
    }
    auto bmp = reinterpret_cast<HBITMAP>(SendMessageA(WindowHandle, BM_GETIMAGE, IMAGE_BITMAP, 0));
    if (!bmp) return;
    HDC dc = CacheCanvas().Handle();
    TMemoryDC src(CreateCompatibleDC(dc));
    const HGDIOBJ old = SelectObject(src.Get(), bmp);
    BitBlt(dc, r.left, r.top, g.cx, g.cy, src.Get(), 0, 0, SRCCOPY);
    SelectObject(src.Get(), old);
}

// ------------------------------------------------------------ check boxes

TacCheckBoxWnd::TacCheckBoxWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacPaintedWnd(wnd, skinData, manager, SectionOr(section, "CHECKBOX")) {
    OwnerDrawn = (Style(wnd) & BS_OWNERDRAW) == BS_OWNERDRAW;
}

int TacCheckBoxWnd::GlyphMaskIndex() const {
    TsSkinManager* m = ActiveManager();
    if (!m) return -1;
    const LONG type = Style(WindowHandle) & 15;
    const bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    const LRESULT st = SendMessageA(WindowHandle, BM_GETSTATE, 0, 0);
    const int check = (st & BST_INDETERMINATE) ? 2 : (st & BST_CHECKED) ? 1 : 0;
    const TsConstIndexes& c = m->Model().ConstData();
    // An indeterminate radio button shows the check box's grey image.
    const int radioImages[3] = {c.RadioButtonUnchecked, c.RadioButtonChecked, c.CheckBoxGrayed};
    const int boxImages[3] = {c.CheckBoxUnchecked, c.CheckBoxChecked, c.CheckBoxGrayed};
    return (radio ? radioImages : boxImages)[check];
}

SIZE TacCheckBoxWnd::GlyphSize() const {
    TsSkinManager* m = ActiveManager();
    if (!m) return SIZE{16, 16};
    const int index = m->Model().ConstData().CheckBoxChecked;
    if (!m->Model().MaskIndexValid(index)) return SIZE{16, 16};
    const TsMaskData& mask = m->Model().Masks()[static_cast<std::size_t>(index)];
    if (mask.Image && !mask.Image->Empty()) return SIZE{mask.Image->Width() / 3, mask.Image->Height() / 2};
    const int count = mask.ColumnCount == 0 ? 1 : mask.ColumnCount;
    const int height = mask.RowMode == -1 ? 0 : (mask.SourceRect.Bottom - mask.SourceRect.Top) / (mask.RowMode + 1);
    return SIZE{(mask.SourceRect.Right - mask.SourceRect.Left) / count, height};
}

void TacCheckBoxWnd::PrepareCache() {
    if (!BeginCache()) return;
    TsSkinManager* m = ActiveManager();
    TCanvas& canvas = CacheCanvas();
    TGdiObject<HFONT> own;
    canvas.Font()->SetHandle(WindowFont(WindowHandle, own));
    TsParentImageInfo bg;
    ParentImageInfoOfWnd(WindowHandle, bg);
    const bool active = IsWindowEnabled(WindowHandle) &&
                        (GetFocus() == WindowHandle || CommonData->MouseAbove || CommonData->IsActiveState());
    PaintControlSkin(CachePixels(), m->Model(), CommonData->SkinIndex, bg, active ? 1 : 0,
                     TRect{0, 0, WindowSize.cx, WindowSize.cy}, TPoint{0, 0}, false, CommonData->HUEOffset,
                     CommonData->Saturation, CommonData->TextureIndex, CommonData->HotTextureIndex);
    const LONG style = Style(WindowHandle);
    const LONG ex = ExStyle(WindowHandle);
    const LRESULT st = SendMessageA(WindowHandle, BM_GETSTATE, 0, 0);
    const SIZE g = GlyphSize();
    const bool leftText = (style & BS_LEFTTEXT) != 0;
    // Caption.
    if (!WindowText.empty()) {
        const bool multi = (style & BS_MULTILINE) != 0;
        RECT r{0, 0, std::max(0L, WindowSize.cx - g.cx - 2), 0};
        DrawTextStr(canvas.Handle(), WindowText, r, DT_CALCRECT | (multi ? DT_WORDBREAK : DT_SINGLELINE));
        const int tw = r.right - r.left, th = r.bottom - r.top;
        const int top = std::max(0L, (WindowSize.cy - th) / 2);
        UINT flags = multi ? DT_WORDBREAK : DT_SINGLELINE;
        RECT t;
        if (leftText && (ex & WS_EX_RTLREADING)) {
            const int right = WindowSize.cx - g.cx - 6;
            t = RECT{right - tw, top, right, top + th};
            flags |= DT_RTLREADING | (multi ? 0 : DT_RIGHT);
        } else if (leftText) {
            t = RECT{2, top, 2 + tw, top + th};
        } else {
            t = RECT{g.cx + 4, top - 1, g.cx + 4 + tw, top - 1 + th};
            if (multi) OffsetRect(&t, -1, 0);
        }
        DrawSectionText(WindowText, t, flags, active, IsWindowEnabled(WindowHandle) != FALSE);
        if (st & BST_FOCUS) {
            InflateRect(&t, 1, 0);
            DrawFocusDots(canvas.Handle(), t, kova::ColorToRGB(clBtnFace), kova::ColorToRGB(clBtnFace));
        }
    }
    // Glyph.
    const int index = GlyphMaskIndex();
    if (m->Model().MaskIndexValid(index)) {
        const int gs = (st & BST_PUSHED) ? 2 : ((st & BST_FOCUS) || m->HotControl() == WindowHandle) ? 1 : 0;
        const int x = leftText ? WindowSize.cx - g.cx : 0;
        DrawMaskState(CachePixels(), TPoint{x, (WindowSize.cy - g.cy) / 2}, gs, 1,
                      m->Model().Masks()[static_cast<std::size_t>(index)], bg);
    }
    if (!IsWindowEnabled(WindowHandle)) FadeDisabled(bg);
    CommonData->BGChanged = false;
}

void TacCheckBoxWnd::Paint(HDC given) {
    std::optional<TPaintGuard> paint;
    HDC dc = given ? given : paint.emplace(WindowHandle).DC();
    CommonData->Updating = CommonData->IsUpdating();
    if (OwnerDrawn || CommonData->Updating) return;
    if (!IsWindowVisible(WindowHandle) && !given) return;
    if (!ParamsApplied) SetSkinParams();
    PrepareCache();
    CopyCache(dc);
}

void TacCheckBoxWnd::WndProc(TMessage& m) {
    if (!ActiveManager()) {
        TacMainWnd::WndProc(m);
        return;
    }
    auto repaint = [&] { InvalidateRect(WindowHandle, nullptr, FALSE), UpdateWindow(WindowHandle); };
    if (IsSkinCommand(m) && (SkinSubCode(m.WParam) == scHotEnter || SkinSubCode(m.WParam) == scHotLeave)) {
        if (SkinSubCode(m.WParam) == scHotEnter)
            HotEnter();
        else
            HotLeave();
        CommonData->Updating = false;
        repaint();
        TacMainWnd::WndProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_NCPAINT:
            return;
        case WM_PAINT:
        case WM_PRINT:
            Paint(reinterpret_cast<HDC>(m.WParam));
            m.Result = 0;
            return;
        case WM_ERASEBKGND:
            m.Result = OwnerDrawn ? 1 : 0;
            return;
        case WM_ENABLE:
        case BM_SETCHECK:
        case BM_SETSTATE:
            if (IsWindowVisible(WindowHandle)) {
                PassFrozen(m);
                repaint();
                return;
            }
            break;
        case WM_MOUSELEAVE:
            if (TsSkinManager* dm = ActiveManager(); dm && dm->HotControl() == WindowHandle) dm->SetHotControl(nullptr);
            if (CommonData->MouseAbove) {
                HotLeave();
                repaint();
            }
            break;
        default:
            break;
    }
    const UINT msg = m.Msg;
    const WPARAM w = m.WParam;
    const TLife life = Life();
    TacMainWnd::WndProc(m);
    if (!life.Alive()) return;
    if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS || ((msg == WM_KEYDOWN || msg == WM_KEYUP) && w == VK_SPACE) ||
        msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_SETTEXT)
        repaint();
}

// ------------------------------------------------------------ group boxes

TacGroupBoxWnd::TacGroupBoxWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacPaintedWnd(wnd, skinData, manager, SectionOr(section, "GROUPBOX")) {}

RECT TacGroupBoxWnd::CaptionRect() {
    GetWndGeometry(WindowHandle, ParentHandle, WindowRect, PosInParent, WindowSize, ParentWindowRect);
    SIZE t{0, 0};
    if (!WindowText.empty()) {
        const TWindowDC dc(WindowHandle);
        TGdiObject<HFONT> own;
        const TSelection font(dc.Get(), WindowFont(WindowHandle, own));
        RECT r{0, 0, 0, 0};
        DrawTextStr(dc.Get(), WindowText, r, DT_CALCRECT | DT_CENTER);
        t = SIZE{r.right - r.left, r.bottom - r.top};
    }
    RECT r;
    r.left = (ExStyle(WindowHandle) & WS_EX_RTLREADING) ? WindowSize.cx - t.cx - 14 : 6;
    r.top = 0;
    r.bottom = std::max(4L, t.cy) + 2;
    r.right = std::min(r.left + t.cx + 8, WindowSize.cx - 1);
    return r;
}

void TacGroupBoxWnd::PrepareCache() {
    const RECT caption = CaptionRect();
    if (!BeginCache()) return;
    TsSkinManager* m = ActiveManager();
    TsParentImageInfo bg;
    ParentImageInfoOfWnd(WindowHandle, bg);
    Bitmap32& px = CachePixels();
    auto fillFromParent = [&](const RECT& r) { FillFromParentBackground(px, r, POINT{0, 0}, bg, m->Model()); };
    fillFromParent(RECT{0, 0, WindowSize.cx, caption.bottom});
    const int h = caption.bottom - caption.top;
    PaintControlSkin(px, m->Model(), CommonData->SkinIndex, bg, 0, TRect{0, h / 2, WindowSize.cx, WindowSize.cy},
                     TPoint{0, h / 2}, false, CommonData->HUEOffset, CommonData->Saturation);
    if (!WindowText.empty()) {
        fillFromParent(caption);
        TGdiObject<HFONT> own;
        CacheCanvas().Font()->SetHandle(WindowFont(WindowHandle, own));
        UINT flags = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
        if (ExStyle(WindowHandle) & WS_EX_RTLREADING) flags |= DT_RTLREADING;
        DrawSectionText(WindowText, caption, flags, false, IsWindowEnabled(WindowHandle) != FALSE);
    }
    CommonData->BGChanged = false;
}

void TacGroupBoxWnd::Paint(HDC given) {
    std::optional<TPaintGuard> paint;
    HDC dc = given ? given : paint.emplace(WindowHandle).DC();
    CommonData->Updating = CommonData->IsUpdating();
    if (CommonData->Updating) return;
    if (!ParamsApplied) SetSkinParams();
    PrepareCache();
    if (!CommonData->CacheBmp) return;
    CopyCacheExcludingWindows(WindowHandle, CommonData, RECT{0, 0, WindowSize.cx, WindowSize.cy}, 0, 0, false, dc,
                              RECT{0, 0, WindowSize.cx, WindowSize.cy});
    // A framework group box's labels are no windows: the box's own paint,
    // which this one replaces, painted them.
    if (CommonData->OwnerControl && CommonData->OwnerControl->IsWindowed())
        PaintGraphicControls(dc, static_cast<TWinControl*>(CommonData->OwnerControl), true, POINT{0, 0});
    BroadcastToChildWindows(WindowHandle);
}

void TacGroupBoxWnd::WndProc(TMessage& m) {
    if (!ActiveManager()) {
        TacMainWnd::WndProc(m);
        return;
    }
    if (IsSkinCommand(m)) {
        const int code = SkinSubCode(m.WParam);
        if (code == 27) {
            const RECT r = CaptionRect();
            m.Result = r.bottom - r.top;
            return;
        }
        TacMainWnd::WndProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_NCPAINT:
            if (InDialog) {
                Paint(nullptr);
                m.Result = 1;
                return;
            }
            break;
        case WM_PRINT:
            CommonData->BGChanged = true;
            Paint(reinterpret_cast<HDC>(m.WParam));
            return;
        case WM_ERASEBKGND:
            if (!InDialog) {
                m.Result = 1;
                return;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            PassFrozen(m);
            CommonData->BGChanged = true;
            Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
            return;
        case WM_SETTEXT:
            TacMainWnd::WndProc(m);
            CommonData->BGChanged = true;
            Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
            return;
        case WM_PAINT:
            if (!InDialog) {
                Paint(reinterpret_cast<HDC>(m.WParam));
                m.Result = 0;
                return;
            }
            break;
        default:
            break;
    }
    TacMainWnd::WndProc(m);
}

// ------------------------------------------------------------ statics

bool TacStaticWnd::PaintContent() {
    if (WindowText.empty()) return false;
    TCanvas& canvas = CacheCanvas();
    TGdiObject<HFONT> own;
    canvas.Font()->SetHandle(WindowFont(WindowHandle, own));
    UINT flags = DT_EXPANDTABS | DT_WORDBREAK | DT_NOCLIP;
    if (Style(WindowHandle) & SS_NOPREFIX) flags |= DT_NOPREFIX;
    if (ExStyle(WindowHandle) & WS_EX_RIGHT) flags |= DT_RIGHT;
    DrawSectionText(WindowText, RECT{0, 0, WindowSize.cx, WindowSize.cy}, flags, false,
                    IsWindowEnabled(WindowHandle) != FALSE);
    return true;
}

bool TacStaticWnd::RebuildCache() {
    if (!BeginCache()) return false;
    CommonData->BGChanged = true;
    UpdateWndCache(*CommonData, WindowHandle, InDialog);
    return true;
}

void TacStaticWnd::PaintToDC(HDC given) {
    if (!RebuildCache()) return;
    TWindowDC own;
    HDC dc = GivenOrWindowDC(given, WindowHandle, TDCArea::Window, own);
    const TSavedDC saved(dc);
    if (PaintContent()) CopyCache(dc);
}

void TacStaticWnd::WndProc(TMessage& m) {
    if (!ActiveManager() || (Style(WindowHandle) & WS_TABSTOP) || (ExStyle(WindowHandle) & WS_EX_STATICEDGE)) {
        TacMainWnd::WndProc(m);
        return;
    }
    const bool visible = IsWindowVisible(WindowHandle) != FALSE;
    switch (m.Msg) {
        case WM_ERASEBKGND:
            if (visible) {
                m.Result = 1;
                return;
            }
            break;
        case WM_MOVE:
        case WM_ENABLE:
            if (visible) {
                CommonData->BGChanged = true;
                CallPrevWndProc(m);
                Redraw(kRedrawErase);
                return;
            }
            break;
        case WM_SETTEXT:
            if (visible) {
                PassFrozen(m);
                CommonData->BGChanged = true;
                Redraw(kRedrawErase);
                return;
            }
            break;
        case WM_PAINT: {
            if (!ParamsApplied) SetSkinParams();
            std::optional<TPaintGuard> paint;
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            if (!dc) dc = paint.emplace(WindowHandle).DC();
            if (visible) PaintToDC(dc);
            m.Result = 0;
            return;
        }
        case WM_NCPAINT:
            return;
        case WM_PRINT:
            if (!ParamsApplied) SetSkinParams();
            PaintToDC(reinterpret_cast<HDC>(m.WParam));
            return;
        default:
            break;
    }
    TacMainWnd::WndProc(m);
}

// ------------------------------------------------------------ edge statics

void TacEdgeWnd::PaintToDC(HDC given) {
    if (!RebuildCache()) return;
    PaintContent();
    TWindowDC own;
    HDC dc = GivenOrWindowDC(given, WindowHandle, TDCArea::Window, own);
    // Only the frame: the native interior stays.
    CopyBorderStrips(dc, 0, 0, WindowSize.cx, WindowSize.cy, CacheCanvas().Handle(), 0, 0, 2);
}

void TacEdgeWnd::WndProc(TMessage& m) {
    if (!ActiveManager()) {
        TacStaticWnd::WndProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_PAINT: {
            const TLife life = Life();
            if (!ParamsApplied) SetSkinParams();
            CallPrevWndProc(m);
            if (life.Alive()) PaintToDC(reinterpret_cast<HDC>(m.WParam));
            return;
        }
        case WM_ERASEBKGND:
            m.Result = 1;
            return;
        case WM_NCPAINT:
            return;
        default:
            break;
    }
    TacStaticWnd::WndProc(m);
}

// ------------------------------------------------------------ icon statics

TacIconWnd::TacIconWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacStaticWnd(wnd, skinData, manager, section) {
    IsBitmap = (Style(wnd) & 3) != SS_ICON;
}

bool TacIconWnd::PaintContent() {
    HDC cache = CacheCanvas().Handle();
    if (IsBitmap) {
        if (!pictureRead_) {
            pictureRead_ = true;
            // A copy of the pixels: the bitmap stays the static's to free.
            auto bmp = reinterpret_cast<HBITMAP>(SendMessageA(WindowHandle, STM_GETIMAGE, IMAGE_BITMAP, 0));
            DIBSECTION d{};
            const int got = bmp ? GetObjectA(bmp, sizeof(d), &d) : 0;
            const BITMAP& b = d.dsBm;
            if (got >= static_cast<int>(sizeof(BITMAP)) && b.bmWidth > 0 && b.bmHeight > 0) {
                Picture = std::make_unique<TBitmap>(b.bmWidth, b.bmHeight);
                // Only a 32-bit DIB carries an alpha channel (a device bitmap
                // on a 32-bit screen reports 32 bits of colour alone).
                pictureAlpha_ = got == static_cast<int>(sizeof(DIBSECTION)) && b.bmBitsPixel == 32;
                BITMAPINFO bi{};
                bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), b.bmWidth, -b.bmHeight, 1, 32, BI_RGB, 0, 0, 0,
                                                0, 0};
                const TWindowDC screen(nullptr);
                GetDIBits(screen.Get(), bmp, 0, static_cast<UINT>(b.bmHeight), Picture->Pixels().ScanLine(0), &bi,
                          DIB_RGB_COLORS);
                // A 32-bit picture GDI drew into has alpha 0 everywhere: it
                // is opaque, not invisible.
                if (pictureAlpha_) {
                    bool anyAlpha = false;
                    const PixelBuffer32& px = Picture->Pixels();
                    for (int y = 0; y < px.Height() && !anyAlpha; ++y)
                        for (int x = 0; x < px.Width() && !anyAlpha; ++x) anyAlpha = (px.At(x, y) >> 24) != 0;
                    pictureAlpha_ = anyAlpha;
                }
            }
        }
        if (!Picture || Picture->Width() == 0) return false;
        if (pictureAlpha_) {
            TsParentImageInfo bg;
            ParentImageInfoOfWnd(WindowHandle, bg);
            CopyAlphaBitmap(TRect{0, 0, Picture->Width(), Picture->Height()}, TPoint{0, 0}, CachePixels(),
                            &Picture->Pixels(), bg, false, clNone, 0, false);
        } else {
            GdiFlush();
            BitBlt(cache, 0, 0, std::min<int>(WindowSize.cx, Picture->Width()),
                   std::min<int>(WindowSize.cy, Picture->Height()), Picture->Canvas()->Handle(), 0, 0, SRCCOPY);
        }
        return true;
    }
    auto icon = reinterpret_cast<HICON>(SendMessageA(WindowHandle, STM_GETICON, 0, 0));
    if (!icon) return false;
    return DrawIconEx(cache, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL) != FALSE;
}

// ------------------------------------------------------------ link windows

bool TacLinkWnd::PaintContent() {
    TFont* font = CacheCanvas().Font();
    if (TGdiObject<HFONT> base = GetNonClientFont(5)) font->SetHandle(base.Get());
    font->SetStyle(font->Style() | fsUnderline);
    DrawSectionText(StripLinkTags(WindowText), RECT{0, 0, WindowSize.cx + 4, WindowSize.cy},
                    DT_EXPANDTABS | DT_WORDBREAK | DT_NOCLIP, false, IsWindowEnabled(WindowHandle) != FALSE);
    return true;
}

void TacLinkWnd::WndProc(TMessage& m) {
    if (!ActiveManager() || (ExStyle(WindowHandle) & WS_EX_STATICEDGE)) {
        TacStaticWnd::WndProc(m);
        return;
    }
    const TLife life = Life();
    switch (m.Msg) {
        case WM_ERASEBKGND:
            if (IsWindowVisible(WindowHandle)) {
                if (!ParamsApplied) SetSkinParams();
                PaintToDC(reinterpret_cast<HDC>(m.WParam));
                m.Result = 1;
                return;
            }
            break;
        case WM_MOVE:
            CommonData->BGChanged = true;
            CallPrevWndProc(m);
            if (life.Alive()) Redraw(kRedrawErase);
            return;
        case WM_SETTEXT:
            // The root re-reads the text.
            TacMainWnd::WndProc(m);
            if (!life.Alive()) return;
            CommonData->BGChanged = true;
            Redraw(kRedrawErase);
            return;
        case WM_PAINT: {
            // The look is drawn on WM_ERASEBKGND.
            PAINTSTRUCT ps{};
            BeginPaint(WindowHandle, &ps);
            EndPaint(WindowHandle, &ps);
            m.Result = 0;
            return;
        }
        case WM_NCPAINT:
            return;
        default:
            break;
    }
    TacStaticWnd::WndProc(m);
}

// ------------------------------------------------------------ creation

std::unique_ptr<TacMainWnd> CreateStaticAdapter(HWND wnd, TsCommonData* data, TsSkinManager* manager,
                                                const std::string& section) {
    const std::string name = LowerCase(WindowClassName(wnd));
    if (name == "syslink" || name == "link window") return CreateAdapter<TacLinkWnd>(wnd, data, manager, section);
    if (name != "static") return nullptr;
    const LONG s = Style(wnd);
    if ((s & 3) == 3 || (s & 0x0E) == 0x0E) {
        if (ExStyle(wnd) & WS_EX_STATICEDGE) return CreateAdapter<TacEdgeWnd>(wnd, data, manager, section);
        return CreateAdapter<TacIconWnd>(wnd, data, manager, section);
    }
    if ((s & 0x0D) == 0x0D || (s & 0x1F) == 5 || (s & 0x1F) == 6 || (s & 0x1F) == 11) return nullptr;
    return CreateAdapter<TacStaticWnd>(wnd, data, manager, section);
}

}  // namespace kova::skin
