#include "skin/controls/smallctrls.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "skin/controls/portable/smallgeometry.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/model/skindata.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/paint/portable/textpaint.h"
#include "skin/core/portable/bitmaps.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/skinmessage.h"

namespace kova::skin {

namespace {

std::uint32_t PixelOf(const TsSkinModel& skin, TColor c) {
    return ColorToPixel(static_cast<std::uint32_t>(skin.ColorToRGB(c)) & 0xFFFFFF) | 0xFF000000u;
}

// What the parent shows under the window copied into px (its colour when
// it shows no image; the skin's own colour when it tells none).
void FillFromParent(PixelBuffer32& px, HWND wnd, const TsSkinModel& skin) {
    TsParentImageInfo bg;
    ParentImageInfoOfWnd(wnd, bg);
    TColor colour = bg.FillColor;
    if (bg.Ready || colour == clFuchsia || !GetParent(wnd)) colour = static_cast<TColor>(skin.ColorToRGB(skin.GlobalInfoColor()));
    px.Fill(PixelOf(skin, colour));
    if (!bg.Ready || !bg.Bmp) return;
    for (int y = 0; y < px.Height(); ++y)
        for (int x = 0; x < px.Width(); ++x) {
            const int sx = bg.X + x, sy = bg.Y + y;
            if (sx >= 0 && sy >= 0 && sx < bg.Bmp->Width() && sy < bg.Bmp->Height()) px.At(x, y) = bg.Bmp->At(sx, sy);
        }
}

const TsMaskData* MaskOf(const TsSkinModel& skin, const std::string& section, const std::string& key) {
    const int i = skin.IndexOfMask(skin.IndexOfSection(section), section, key);
    return skin.MaskIndexValid(i) ? &skin.Masks()[static_cast<std::size_t>(i)] : nullptr;
}

// An image of a mask drawn at full strength over what already is in px.
void DrawOver(PixelBuffer32& px, TPoint p, int state, const TsMaskData& mask) {
    TsParentImageInfo under;
    under.Bmp = &px;
    under.Ready = true;
    DrawMaskState(px, p, state, 1, mask, under);
}

bool CursorInside(HWND wnd, POINT& client) {
    GetCursorPos(&client);
    ScreenToClient(wnd, &client);
    RECT r{};
    GetClientRect(wnd, &r);
    return PtInRect(&r, client) != 0;
}

SIZE WindowSizeOf(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return SIZE{std::max<LONG>(r.right - r.left, 0), std::max<LONG>(r.bottom - r.top, 0)};
}

// The cache sized to the window and filled with what the parent shows
// under it; null when there is nothing to paint.
PixelBuffer32* CacheOverParent(TsCommonData& d, HWND wnd, const TsSkinModel& skin) {
    const SIZE s = WindowSizeOf(wnd);
    if (!d.CacheBmp) d.CacheBmp = std::make_unique<TBitmap>();
    if (d.CacheBmp->Width() != s.cx || d.CacheBmp->Height() != s.cy) d.CacheBmp->SetSize(s.cx, s.cy);
    if (s.cx <= 0 || s.cy <= 0) return nullptr;
    PixelBuffer32& px = d.CacheBmp->Pixels();
    FillFromParent(px, wnd, skin);
    return &px;
}

// The same with the record's section painted over the whole of it in the
// given state, so that a partly transparent section mixes with the parent.
// A control that keeps its own colour (a status shown by its colour) has
// the section filled with it.
PixelBuffer32* SectionOverParent(TsCommonData& d, HWND wnd, const TsSkinModel& skin, int state) {
    PixelBuffer32* px = CacheOverParent(d, wnd, skin);
    if (!px) return nullptr;
    TsParentImageInfo under;
    under.Bmp = px;
    under.Ready = true;
    PaintControlSkin(*px, skin, d.SkinIndex, under, state, TRect{0, 0, px->Width(), px->Height()}, TPoint{0, 0}, false,
                     d.HUEOffset, d.Saturation, d.TextureIndex, d.HotTextureIndex, SectionFillColour(d));
    return px;
}

// The visible child windows left out of dc: they paint themselves.
void ExcludeVisibleChildren(HWND wnd, HDC dc) {
    for (HWND c = GetWindow(wnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) continue;
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&r), 2);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
}

// Painting for WM_PAINT: into the DC of the message (WM_PRINT comes this
// way), else between BeginPaint and EndPaint.
template <class F>
void PaintMessage(HWND wnd, HDC given, F paint) {
    if (given) {
        paint(given);
        return;
    }
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(wnd, &ps);
    if (dc) paint(dc);
    EndPaint(wnd, &ps);
}

// The whole cache copied to dc; nothing while it is empty.
void CopyWholeCache(HDC dc, const TsCommonData& d) {
    if (!d.CacheBmp || d.CacheBmp->Width() == 0) return;
    CopyBufferToDC(dc, 0, 0, d.CacheBmp->Pixels(), RECT{0, 0, d.CacheBmp->Width(), d.CacheBmp->Height()});
}

// Without an active skin the control's own procedure answers; true when
// it did.
bool PassedUnskinned(TacMainWnd& a, TMessage& m) {
    if (a.ActiveManager() && a.CommonData->IsSkinned()) return false;
    a.TacMainWnd::WndProc(m);
    return true;
}

}  // namespace

void CopyCacheAround(HWND wnd, const TsCommonData& d, const RECT& inner, HDC given) {
    if (!d.CacheBmp || d.CacheBmp->Width() == 0) return;
    TWindowDC own;
    HDC dc = given;
    if (!dc) {
        own = TWindowDC(wnd, TDCArea::Window);
        dc = own.Get();
    }
    if (!dc) return;
    const TSavedDC saved(dc);
    ExcludeClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
    GdiFlush();
    CopyBufferToDC(dc, 0, 0, d.CacheBmp->Pixels(), RECT{0, 0, d.CacheBmp->Width(), d.CacheBmp->Height()});
}

RECT ClientRectInWindow(HWND wnd) {
    RECT wr{}, cr{};
    GetWindowRect(wnd, &wr);
    GetClientRect(wnd, &cr);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&cr), 2);
    OffsetRect(&cr, -wr.left, -wr.top);
    return cr;
}

// ---------------------------------------------------------------- grip

void TacSizerWnd::Paint(HDC dc) {
    TsSkinManager* m = ActiveManager();
    if (!m) return;
    const TsSkinModel& skin = m->Model();
    const int grip = skin.ConstData().GripImage;
    if (!skin.MaskIndexValid(grip)) return;
    const SIZE s = WindowSizeOf(WindowHandle);
    if (s.cx <= 0 || s.cy <= 0) return;
    PixelBuffer32 px(s.cx, s.cy);
    FillFromParent(px, WindowHandle, skin);
    const TsMaskData& mask = skin.Masks()[static_cast<std::size_t>(grip)];
    const int w = static_cast<int>(s.cx), h = static_cast<int>(s.cy);
    DrawOver(px, TPoint{std::max(w - ImageWidthOfMask(mask), 0), std::max(h - ImageHeightOfMask(mask), 0)}, 0, mask);
    CopyBufferToDC(dc, 0, 0, px, RECT{0, 0, s.cx, s.cy});
}

void TacSizerWnd::WndProc(TMessage& m) {
    if (PassedUnskinned(*this, m)) return;
    switch (m.Msg) {
        case WM_PAINT:
            PaintMessage(WindowHandle, reinterpret_cast<HDC>(m.WParam), [this](HDC dc) { Paint(dc); });
            m.Result = 0;
            return;
        case WM_ERASEBKGND:
            m.Result = 1;
            return;
        case WM_NCPAINT:
            m.Result = 0;
            return;
        case WM_NCHITTEST: {
            const TLife life = Life();
            TacMainWnd::WndProc(m);
            if (!life.Alive()) return;
            if (DefaultManager && IsWindowEnabled(WindowHandle)) DefaultManager->SetHotControl(nullptr);
            m.Result = HTBOTTOMRIGHT;
            return;
        }
        default:
            TacMainWnd::WndProc(m);
    }
}

// -------------------------------------------------------------- up-down

bool TacSpinWnd::IsVertical() const { return (GetWindowLongA(WindowHandle, GWL_STYLE) & UDS_HORZ) == 0; }

void TacSpinWnd::Redraw() { RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME); }

void TacSpinWnd::Prepare() {
    TsSkinManager* m = ActiveManager();
    TsCommonData& d = *CommonData;
    const TsSkinModel& skin = m->Model();
    PixelBuffer32* cache = CacheOverParent(d, WindowHandle, skin);
    if (!cache) return;
    PixelBuffer32& px = *cache;
    const bool vertical = IsVertical();
    const TSpinHalves h = SpinHalves(px.Width(), px.Height(), vertical, LeftOffset);
    const char* arrows[2] = {vertical ? "SCROLLBTNTOP" : "SCROLLBTNLEFT", vertical ? "SCROLLBTNBOTTOM" : "SCROLLBTNRIGHT"};
    const TRect halves[2] = {h.First, h.Second};
    const int states[2] = {FirstState, SecondState};
    for (int i = 0; i < 2; ++i) {
        const TRect r = halves[i];
        if (r.Right <= r.Left || r.Bottom <= r.Top) continue;
        // Each half over the background alone, not over the other half.
        PixelBuffer32 half(r.Right - r.Left, r.Bottom - r.Top);
        for (int y = 0; y < half.Height(); ++y)
            for (int x = 0; x < half.Width(); ++x) half.At(x, y) = px.At(r.Left + x, r.Top + y);
        TsParentImageInfo bg;
        bg.Bmp = &half;
        bg.Ready = true;
        PaintControlSkin(half, skin, d.SkinIndex, bg, states[i], TRect{0, 0, half.Width(), half.Height()}, TPoint{0, 0},
                         false, d.HUEOffset, d.Saturation, d.TextureIndex, d.HotTextureIndex);
        if (const TsMaskData* glyph = MaskOf(skin, arrows[i], "GLYPHMASK"))
            DrawOver(half,
                     TPoint{(half.Width() - ImageWidthOfMask(*glyph)) / 2, (half.Height() - ImageHeightOfMask(*glyph)) / 2},
                     states[i], *glyph);
        // The shared middle line belongs to the first half.
        const int fromY = i == 1 && vertical ? (h.First.Bottom - r.Top) : 0;
        const int fromX = i == 1 && !vertical ? (h.First.Right - r.Left) : 0;
        for (int y = std::max(fromY, 0); y < half.Height(); ++y)
            for (int x = std::max(fromX, 0); x < half.Width(); ++x) px.At(r.Left + x, r.Top + y) = half.At(x, y);
    }
    d.BGChanged = false;
}

void TacSpinWnd::Paint(HDC given) {
    POINT p{};
    const bool inside = CursorInside(WindowHandle, p);
    const SIZE s = WindowSizeOf(WindowHandle);
    SpinHalfStates(SpinHalves(s.cx, s.cy, IsVertical(), LeftOffset), inside, TPoint{p.x, p.y}, MouseDown, FirstState,
                   SecondState);
    PaintMessage(WindowHandle, given, [&](HDC dc) {
        TsCommonData& d = *CommonData;
        d.Updating = d.IsUpdating();
        if (d.Updating) return;
        d.BGChanged = true;
        Prepare();
        if (!d.CacheBmp || d.CacheBmp->Width() == 0) return;
        const int from = IsVertical() ? 0 : LeftOffset;
        CopyBufferToDC(dc, 0, 0, d.CacheBmp->Pixels(), RECT{from, 0, s.cx, s.cy});
    });
}

void TacSpinWnd::WndProc(TMessage& m) {
    // A section the skin lacks: the up-down takes the button's look.
    if (TsSkinManager* mgr = ActiveManager(); mgr && !mgr->Model().SectionIndexValid(mgr->Model().IndexOfSection(CommonData->SkinSection()))) {
        CommonData->SetSkinSection("BUTTON");
        CommonData->ReadSkinIndexes();
    }
    if (PassedUnskinned(*this, m)) return;
    if (IsSkinCommand(m) && SkinSubCode(m.WParam) == scHotLeave) Redraw();
    const TLife life = Life();
    switch (m.Msg) {
        case WM_PAINT:
            Paint(reinterpret_cast<HDC>(m.WParam));
            m.Result = 0;
            return;
        case WM_ERASEBKGND:
        case WM_NCPAINT:
            m.Result = 0;
            return;
        case WM_LBUTTONDOWN:
            MouseDown = true;
            TacMainWnd::WndProc(m);
            if (life.Alive()) Redraw();
            return;
        case WM_LBUTTONUP:
            MouseDown = false;
            TacMainWnd::WndProc(m);
            if (life.Alive()) Redraw();
            return;
        case WM_LBUTTONDBLCLK:
            TacMainWnd::WndProc(m);
            if (!life.Alive()) return;
            MouseDown = true;
            Redraw();
            MouseDown = false;
            return;
        case WM_MOUSELEAVE:
            InvalidateRect(WindowHandle, nullptr, FALSE);
            TacMainWnd::WndProc(m);
            return;
        case WM_MOUSEMOVE: {
            TacMainWnd::WndProc(m);
            if (!life.Alive()) return;
            // The leave must reach us even when the control does not ask
            // for it, or the last half stays hot.
            TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, WindowHandle, 0};
            TrackMouseEvent(&t);
            Redraw();
            return;
        }
        default:
            TacMainWnd::WndProc(m);
    }
}

// ------------------------------------------------------------ track bar

bool TacTrackWnd::IsVertical() const { return (GetWindowLongA(WindowHandle, GWL_STYLE) & TBS_VERT) != 0; }

void TacTrackWnd::Prepare() {
    TsSkinManager* m = ActiveManager();
    TsCommonData& d = *CommonData;
    const TsSkinModel& skin = m->Model();
    const int state = Pressed ? 1 : 0;
    PixelBuffer32* cache = SectionOverParent(d, WindowHandle, skin, state);
    if (!cache) return;
    PixelBuffer32& px = *cache;
    const SIZE s{px.Width(), px.Height()};
    TsParentImageInfo under;
    under.Bmp = &px;
    under.Ready = true;
    TrackIndex = skin.IndexOfSection("TRACKBAR");
    if (!skin.SectionIndexValid(TrackIndex)) return;
    const bool vertical = IsVertical();
    const LONG style = GetWindowLongA(WindowHandle, GWL_STYLE);

    // The channel; a vertical bar tells it with x and y exchanged.
    RECT ch{};
    SendMessageA(WindowHandle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&ch));
    if (vertical) ch = RECT{ch.top, ch.left, ch.bottom, ch.right};
    if (const TsMaskData* channel = MaskOf(skin, "TRACKBAR", "SLIDERCHANNEL")) {
        if (!vertical) {
            const int hgt = std::max(ImageHeightOfMask(*channel) - 1, 0);
            const int top = (ch.top + ch.bottom - hgt) / 2;
            ch.top = top, ch.bottom = top + hgt;
        } else {
            const int wid = std::max(ImageWidthOfMask(*channel) - 1, 0);
            const int left = (ch.left + ch.right - wid) / 2;
            ch.left = left, ch.right = left + wid;
        }
        PaintBorderMask(px, TRect{ch.left, ch.top, ch.right, ch.bottom}, under, *channel, d.IsActiveState() ? 1 : 0,
                        false);
    }

    RECT thumb{};
    SendMessageA(WindowHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const int thumbLen = vertical ? thumb.bottom - thumb.top : thumb.right - thumb.left;
    const int thumbThick = vertical ? thumb.right - thumb.left : thumb.bottom - thumb.top;
    if ((style & TBS_NOTICKS) == 0) {
        const int count = static_cast<int>(SendMessageA(WindowHandle, TBM_GETNUMTICS, 0, 0));
        const int start = vertical ? ch.top : ch.left;
        const int length = vertical ? ch.bottom - ch.top : ch.right - ch.left;
        const TTrackTicks ticks = TrackTickPositions(start, length, thumbLen, count);
        TickStep = ticks.Step;
        const TTickSides sides = TrackTickSides(vertical ? ch.left : ch.top, vertical ? ch.right : ch.bottom, thumbThick,
                                                vertical ? ch.right - ch.left : ch.bottom - ch.top, TickLength);
        const bool before = (style & (TBS_BOTH | TBS_TOP)) != 0;
        const bool after = (style & TBS_BOTH) != 0 || (style & TBS_TOP) == 0;
        const TsMaskData* image = MaskOf(skin, "TRACKBAR", vertical ? "TICKVERT" : "TICKHORZ");
        auto tick = [&](int along, int across) {
            const int x = vertical ? across : along, y = vertical ? along : across;
            if (image) {
                DrawOver(px,
                         TPoint{vertical ? x : x - ImageWidthOfMask(*image), vertical ? y - ImageHeightOfMask(*image) : y},
                         state, *image);
                return;
            }
            // A small raised bar where the skin has no tick image.
            const int w = vertical ? TickLength : 2, h = vertical ? 2 : TickLength;
            FillRect32(px, TRect{x, y, x + w, y + h}, PixelOf(skin, 0xFFFFFF));
            FillRect32(px, TRect{x + w / 2, y + h / 2, x + w, y + h},
                       PixelOf(skin, static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW))));
        };
        for (int p : ticks.Positions) {
            if (before) tick(p, sides.BeforeStart);
            if (after) tick(p, sides.AfterStart);
        }
    }

    const TsMaskData* slider = vertical ? MaskOf(skin, "TRACKBAR", "SLIDERVMASK") : nullptr;
    if (!slider) slider = MaskOf(skin, "TRACKBAR", "SLIDERMASK");
    if (slider && thumb.right > thumb.left && thumb.bottom > thumb.top) {
        const int iw = ImageWidthOfMask(*slider), ih = ImageHeightOfMask(*slider);
        const int tw = thumb.right - thumb.left, th = thumb.bottom - thumb.top;
        const bool mirrored = (style & TBS_TOP) != 0 && (style & TBS_BOTH) == 0;
        const bool resized = thumbThick != 23 && (tw != iw || th != ih);
        if ((mirrored || resized) && iw >= 2 && ih >= 2 && tw >= 2 && th >= 2) {
            // The image is made for a thumb pointing down or right: drawn
            // on a copy of the background at its own size, mirrored for
            // ticks on the top or left, and fitted back into the thumb.
            PixelBuffer32 part(tw, th);
            for (int y = 0; y < th; ++y)
                for (int x = 0; x < tw; ++x) {
                    const int sx = thumb.left + x, sy = thumb.top + y;
                    part.At(x, y) = sx >= 0 && sy >= 0 && sx < px.Width() && sy < px.Height() ? px.At(sx, sy) : 0xFF000000u;
                }
            PixelBuffer32 work;
            if (tw != iw || th != ih)
                ResampleBitmap(part, iw, ih, rfBox, work);
            else
                work = part;
            auto mirror = [&](PixelBuffer32& b) {
                if (vertical) {
                    for (int y = 0; y < b.Height(); ++y) std::reverse(b.ScanLine(y), b.ScanLine(y) + b.Width());
                } else {
                    for (int y = 0; y < b.Height() / 2; ++y)
                        std::swap_ranges(b.ScanLine(y), b.ScanLine(y) + b.Width(), b.ScanLine(b.Height() - 1 - y));
                }
            };
            if (mirrored) mirror(work);
            DrawOver(work, TPoint{0, 0}, state, *slider);
            if (mirrored) mirror(work);
            PixelBuffer32 back;
            if (tw != iw || th != ih)
                ResampleBitmap(work, tw, th, rfBox, back);
            else
                back = std::move(work);
            for (int y = 0; y < th; ++y)
                for (int x = 0; x < tw; ++x) {
                    const int dx = thumb.left + x, dy = thumb.top + y;
                    if (dx >= 0 && dy >= 0 && dx < px.Width() && dy < px.Height()) px.At(dx, dy) = back.At(x, y);
                }
        } else {
            DrawOver(px, TPoint{(thumb.left + thumb.right - iw) / 2, (thumb.top + thumb.bottom - ih) / 2}, state, *slider);
        }
    }

    if (!IsWindowEnabled(WindowHandle)) {
        PixelBuffer32 parent(s.cx, s.cy);
        FillFromParent(parent, WindowHandle, skin);
        BlendBitmapRect(px, 0, 0, parent, TRect{0, 0, s.cx, s.cy}, 0.4, 0xFF00FF);
    }
    d.BGChanged = false;
}

void TacTrackWnd::Paint(HDC given) {
    PaintMessage(WindowHandle, given, [&](HDC dc) {
        TsCommonData& d = *CommonData;
        d.Updating = d.IsUpdating();
        if (d.Updating) return;
        if (!given && !IsWindowVisible(WindowHandle)) return;
        Prepare();
        CopyWholeCache(dc, d);
    });
}

void TacTrackWnd::WndProc(TMessage& m) {
    if (PassedUnskinned(*this, m)) return;
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
            Pressed = true;
            TacMainWnd::WndProc(m);
            return;
        case WM_LBUTTONUP:
            Pressed = false;
            TacMainWnd::WndProc(m);
            return;
        case WM_NCPAINT:
        case WM_ERASEBKGND:
            m.Result = m.Msg == WM_ERASEBKGND ? 1 : 0;
            return;
        case WM_PAINT:
            Paint(reinterpret_cast<HDC>(m.WParam));
            m.Result = 0;
            return;
        default:
            TacMainWnd::WndProc(m);
    }
}

// ------------------------------------------------------------- tool bar

void TacToolBarWnd::Prepare() {
    TsCommonData& d = *CommonData;
    if (!d.BGChanged) return;
    GetClientRect(WindowHandle, &ClientRect);
    UpdateWndCache(d, WindowHandle, InDialog);
    FillBorderCorners(d, *this);
    const SIZE s = WindowSizeOf(WindowHandle);
    FrameOffset = (static_cast<int>(s.cy) - (ClientRect.bottom - ClientRect.top)) / 2;
    d.BGChanged = false;
}

std::string ToolButtonText(HWND bar, int command) {
    const LRESULT len = SendMessageA(bar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(command), 0);
    if (len <= 0) return {};
    std::string text(static_cast<std::size_t>(len) + 1, '\0');
    const LRESULT got = SendMessageA(bar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(text.data()));
    if (got <= 0) return {};
    text.resize(static_cast<std::size_t>(std::min(got, len)));
    return text;
}

void TacToolBarWnd::PaintButton(TBitmap& work, int index, int frame) {
    TsSkinManager* m = ActiveManager();
    const TsSkinModel& skin = m->Model();
    TBBUTTON b{};
    if (!SendMessageA(WindowHandle, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&b))) return;
    RECT ir{};
    if (!SendMessageA(WindowHandle, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ir))) return;
    if (b.fsState & TBSTATE_HIDDEN) return;
    const int bw = ir.right - ir.left, bh = ir.bottom - ir.top;
    if (bw <= 0 || bh <= 0) return;
    const int left = ir.left + frame, top = ir.top + frame;
    PixelBuffer32& cache = CommonData->CacheBmp->Pixels();
    PixelBuffer32& dest = work.Pixels();
    TsParentImageInfo under;
    under.Bmp = &cache;
    under.X = left, under.Y = top;
    under.Ready = true;
    PixelBuffer32 px(bw, bh);
    for (int y = 0; y < bh; ++y)
        for (int x = 0; x < bw; ++x) {
            const int sx = left + x, sy = top + y;
            px.At(x, y) = sx >= 0 && sy >= 0 && sx < cache.Width() && sy < cache.Height() ? cache.At(sx, sy) : 0xFF000000u;
        }
    auto put = [&](const PixelBuffer32& from) {
        for (int y = 0; y < bh; ++y)
            for (int x = 0; x < bw; ++x) {
                const int dx = left + x, dy = top + y;
                if (dx >= 0 && dy >= 0 && dx < dest.Width() && dy < dest.Height()) dest.At(dx, dy) = from.At(x, y);
            }
    };
    if (b.fsStyle & BTNS_SEP) {
        const int divider = skin.IndexOfSection("DIVIDER");
        if (!skin.SectionIndexValid(divider) || !MaskOf(skin, "DIVIDER", "BORDERSMASK")) return;
        const int x = bw / 2 - 1;
        PaintSkinItem(px, skin, divider, under, 0, TRect{x, 2, x + 4, bh - 2}, TPoint{0, 0});
        put(px);
        return;
    }
    const bool enabled = (b.fsState & TBSTATE_ENABLED) != 0;
    POINT cur{};
    GetCursorPos(&cur);
    ScreenToClient(WindowHandle, &cur);
    int state = 0;
    if (enabled && (b.fsState & TBSTATE_PRESSED))
        state = 2;
    else if (enabled && PtInRect(&ir, cur))
        state = 1;
    const int push = state == 2 ? 1 : 0;
    const int section = skin.IndexOfSection("TOOLBUTTON");
    PaintSkinItem(px, skin, section, under, state, TRect{0, 0, bw, bh}, TPoint{0, 0});
    put(px);

    // Image and caption go through GDI onto the work bitmap.
    HDC dc = work.Canvas()->Handle();
    int iconW = 0, iconH = 0;
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(WindowHandle, TB_GETIMAGELIST, 0, 0));
    // Every image index is drawn, the first (0) too; only "no image"
    // (negative) draws none.
    if (images && b.iBitmap >= 0 && b.iBitmap < ImageList_GetImageCount(images) &&
        ImageList_GetIconSize(images, &iconW, &iconH)) {
        ImageList_SetBkColor(images, CLR_NONE);
        int areaW = bw;
        if (b.fsStyle & BTNS_WHOLEDROPDOWN) {
            if (const TsMaskData* arrow = MaskOf(skin, "SCROLLBTNBOTTOM", "GLYPHMASK")) {
                const int aw = ImageWidthOfMask(*arrow), ah = ImageHeightOfMask(*arrow);
                PixelBuffer32& now = work.Pixels();
                DrawOver(now, TPoint{left + bw - 2 - aw + push, top + (bh - ah) / 2}, state, *arrow);
                areaW = bw - 2 - aw;
            }
        }
        GdiFlush();
        ImageList_Draw(images, b.iBitmap, dc, left + HalfUp(areaW - iconW) + push, top + push + 4, ILD_NORMAL);
    } else {
        iconH = 0;
    }
    const std::string text = ToolButtonText(WindowHandle, b.idCommand);
    if (!text.empty()) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(WindowHandle, WM_GETFONT, 0, 0));
        HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
        int colourSection = section;
        const int own = CommonData->SkinIndex;
        if (skin.SectionIndexValid(own) && skin.Sections()[static_cast<std::size_t>(own)].GiveOwnFont) colourSection = own;
        TColor colour = 0;
        if (skin.SectionIndexValid(colourSection)) {
            const TsGeneralData& sec = skin.Sections()[static_cast<std::size_t>(colourSection)];
            colour = static_cast<TColor>(skin.ColorToRGB(state > 0 && colourSection == section ? sec.HotFontColors[0] : sec.FontColors[0]));
        }
        SetTextColor(dc, colour & 0xFFFFFF);
        SetBkMode(dc, TRANSPARENT);
        const int textTop = (iconH > 0 ? iconH + 2 : 0) + 2 + push;
        RECT tr{left + push + 2, top + textTop, left + bw - 2 + push, top + bh - 2 + push};
        const TCaptionLines lines = SplitToolButtonCaption(text, tr.right - tr.left, [dc](const std::string& t) {
            SIZE sz{};
            GetTextExtentPoint32A(dc, t.c_str(), static_cast<int>(t.size()), &sz);
            return static_cast<int>(sz.cx);
        });
        GdiFlush();
        if (lines.Rest.empty()) {
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &tr,
                      DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_END_ELLIPSIS);
        } else {
            // A first line one text height tall, the rest below it.
            SIZE one{};
            GetTextExtentPoint32A(dc, "W", 1, &one);
            RECT firstLine{tr.left, tr.top, tr.right, tr.top + one.cy};
            DrawTextA(dc, lines.First.c_str(), static_cast<int>(lines.First.size()), &firstLine, DT_CENTER | DT_SINGLELINE);
            RECT rest{tr.left, firstLine.bottom, tr.right, tr.bottom};
            DrawTextA(dc, lines.Rest.c_str(), static_cast<int>(lines.Rest.size()), &rest,
                      DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        }
        if (oldFont) SelectObject(dc, oldFont);
    }
    GdiFlush();
    if (!enabled) {
        PixelBuffer32& now = work.Pixels();
        BlendBitmapRect(now, left, top, cache, TRect{left, top, left + bw, top + bh}, 0.4, 0xFF00FF);
    }
}

void TacToolBarWnd::PaintInto(HDC dc) {
    TsCommonData& d = *CommonData;
    Prepare();
    if (!d.CacheBmp || d.CacheBmp->Width() <= 0 || d.CacheBmp->Height() <= 0) return;
    TBitmap work(d.CacheBmp->Width(), d.CacheBmp->Height());
    {
        PixelBuffer32& to = work.Pixels();
        const PixelBuffer32& from = d.CacheBmp->Pixels();
        for (int y = 0; y < to.Height(); ++y)
            std::copy(from.ScanLine(y), from.ScanLine(y) + to.Width(), to.ScanLine(y));
    }
    const int count = static_cast<int>(SendMessageA(WindowHandle, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) PaintButton(work, i, FrameOffset);
    GdiFlush();
    const int w = work.Width() - 2 * FrameOffset, h = work.Height() - 2 * FrameOffset;
    if (w > 0 && h > 0) BitBlt(dc, 0, 0, w, h, work.Canvas()->Handle(), FrameOffset, FrameOffset, SRCCOPY);
}

void TacToolBarWnd::PaintFrame() {
    if ((GetWindowLongA(WindowHandle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) == 0) return;
    TsCommonData& d = *CommonData;
    HWND parent = GetParent(WindowHandle);
    d.Updating = (parent && SendSkinCommand(parent, scQueryUpdating, 0) != 0) || d.IsUpdating();
    if (d.Updating) return;
    Prepare();
    if (!d.CacheBmp || d.CacheBmp->Width() <= 0) return;
    const SIZE s = WindowSizeOf(WindowHandle);
    RECT cr{};
    GetClientRect(WindowHandle, &cr);
    const int frame = (static_cast<int>(s.cx) - cr.right) / 2;
    if (frame <= 0) return;
    TWindowDC wdc(WindowHandle, TDCArea::Window);
    if (!wdc.Get()) return;
    const TSavedDC saved(wdc.Get());
    ExcludeClipRect(wdc.Get(), frame, frame, static_cast<int>(s.cx) - frame, static_cast<int>(s.cy) - frame);
    CopyBufferToDC(wdc.Get(), 0, 0, d.CacheBmp->Pixels(), RECT{0, 0, s.cx, s.cy});
}

void TacToolBarWnd::WndProc(TMessage& m) {
    if (PassedUnskinned(*this, m)) return;
    TsCommonData& d = *CommonData;
    const TLife life = Life();
    if (IsSkinCommand(m) && SkinSubCode(m.WParam) == scEndParentUpdate) {
        if (d.Updating) {
            d.Updating = false;
            RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
        return;
    }
    switch (m.Msg) {
        case WM_NCPAINT:
            PaintFrame();
            m.Result = 0;
            return;
        case WM_PAINT: {
            if (HDC given = reinterpret_cast<HDC>(m.WParam)) {
                PaintInto(given);
                return;
            }
            if (!IsWindowVisible(WindowHandle)) break;
            PAINTSTRUCT ps{};
            HDC dc = BeginPaint(WindowHandle, &ps);
            HWND parent = GetParent(WindowHandle);
            d.Updating = (parent && SendSkinCommand(parent, scQueryUpdating, 0) != 0) || d.IsUpdating();
            if (dc && !d.Updating) PaintInto(dc);
            EndPaint(WindowHandle, &ps);
            m.Result = 0;
            return;
        }
        case WM_PRINT:
            PaintInto(reinterpret_cast<HDC>(m.WParam));
            return;
        case WM_ERASEBKGND:
            m.Result = 1;
            return;
        case WM_SIZE:
        case WM_WINDOWPOSCHANGED:
            d.BGChanged = true;
            TacMainWnd::WndProc(m);
            if (life.Alive()) SendMessageA(WindowHandle, WM_NCPAINT, 1, 0);
            return;
        default:
            break;
    }
    TacMainWnd::WndProc(m);
}

// ---------------------------------------------------------------- panel

TPanelBevel BevelOf(TBevelCut b) {
    switch (b) {
        case bvLowered: return pbLowered;
        case bvRaised: return pbRaised;
        case bvSpace: return pbSpace;
        default: return pbNone;
    }
}

TacPanelWnd::TacPanelWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacMainWnd(wnd, skinData, manager, section) {
    Panel = CommonData->OwnerControl ? dynamic_cast<TPanel*>(CommonData->OwnerControl) : nullptr;
    if (Panel && section.empty()) {
        // The choice must not repaint the panel half-way.
        const bool was = CommonData->Updating;
        CommonData->Updating = true;
        // The framework panel's border is its window's frame.
        const bool border = Panel->HandleAllocated() &&
                            ((GetWindowLongA(Panel->Handle(), GWL_STYLE) & WS_BORDER) != 0 ||
                             (GetWindowLongA(Panel->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0);
        CommonData->SetSkinSection(PanelSectionForBevels(BevelOf(Panel->BevelOuter()), BevelOf(Panel->BevelInner()), border));
        CommonData->ReadSkinIndexes();
        CommonData->Updating = was;
    }
}

void TacPanelWnd::PrepareCache() {
    TsSkinManager* m = ActiveManager();
    TsCommonData& d = *CommonData;
    const TsSkinModel& skin = m->Model();
    if (!SectionOverParent(d, WindowHandle, skin, 0)) return;
    const std::string text = Panel ? Panel->Caption() : WindowText;
    if (!text.empty()) {
        RECT cr{};
        GetClientRect(WindowHandle, &cr);
        TRect room{cr.left, cr.top, cr.right, cr.bottom};
        UINT flags = DT_CENTER | DT_VCENTER;
        if (Panel) {
            room = PanelCaptionRect(room, Panel->BorderWidth(), Panel->BevelWidth(), BevelOf(Panel->BevelOuter()),
                                    BevelOf(Panel->BevelInner()));
            flags = (Panel->Alignment() == taLeftJustify ? DT_LEFT : Panel->Alignment() == taRightJustify ? DT_RIGHT : DT_CENTER) |
                    DT_WORDBREAK | DT_VCENTER;
        }
        HDC dc = d.CacheBmp->Canvas()->Handle();
        HGDIOBJ oldFont = Panel ? SelectObject(dc, Panel->Font()->Handle()) : nullptr;
        SIZE w{};
        GetTextExtentPoint32A(dc, "W", 1, &w);
        RECT tr{room.Left, (room.Top + room.Bottom - w.cy) / 2, room.Right, 0};
        tr.bottom = tr.top + w.cy;
        const TsGeneralData* sec = d.Section();
        TColor colour = sec ? static_cast<TColor>(skin.ColorToRGB(sec->FontColors[0])) : 0;
        if (Panel && !Panel->Enabled()) colour = MixColors(colour, static_cast<TColor>(skin.ColorToRGB(skin.GlobalInfoColor())), 0.4);
        SetTextColor(dc, colour & 0xFFFFFF);
        SetBkMode(dc, TRANSPARENT);
        GdiFlush();
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &tr, flags);
        GdiFlush();
        if (oldFont) SelectObject(dc, oldFont);
    }
    d.BGChanged = false;
}

void TacPanelWnd::PaintInto(HDC given) {
    if (Panel && (Panel->IsDestroying() || (Panel->Parent() && Panel->Parent()->IsLoading()))) return;
    TsCommonData& d = *CommonData;
    d.Updating = d.IsUpdating();
    if (d.Updating) return;
    TWindowDC own;
    HDC dc = given;
    if (!dc) {
        own = TWindowDC(WindowHandle);
        dc = own.Get();
    }
    if (!dc) return;
    const TSavedDC saved(dc);
    if (d.BGChanged || !d.CacheBmp || d.CacheBmp->Width() == 0) PrepareCache();
    if (!d.CacheBmp || d.CacheBmp->Width() == 0) return;
    const SIZE s = WindowSizeOf(WindowHandle);
    RECT cr{};
    GetClientRect(WindowHandle, &cr);
    const int frame = (static_cast<int>(s.cx) - cr.right) / 2;
    ExcludeVisibleChildren(WindowHandle, dc);
    CopyBufferToDC(dc, 0, 0, d.CacheBmp->Pixels(),
                   RECT{frame, frame, static_cast<LONG>(s.cx) - frame, static_cast<LONG>(s.cy) - frame});
}

void TacPanelWnd::PaintFrame(HDC given) {
    TsCommonData& d = *CommonData;
    const SIZE s = WindowSizeOf(WindowHandle);
    RECT cr{};
    GetClientRect(WindowHandle, &cr);
    const int frame = (static_cast<int>(s.cx) - cr.right) / 2;
    if (frame <= 0) return;
    if (d.BGChanged || !d.CacheBmp || d.CacheBmp->Width() == 0) PrepareCache();
    CopyCacheAround(WindowHandle, d, RECT{frame, frame, static_cast<int>(s.cx) - frame, static_cast<int>(s.cy) - frame},
                    given);
}

void TacPanelWnd::WndProc(TMessage& m) {
    const bool container = Panel && (Panel->ControlStyle() & csAcceptsControls) != 0;
    if (!container || !ActiveManager() || !CommonData->IsSkinned()) {
        const TLife life = Life();
        TacMainWnd::WndProc(m);
        if (m.Msg == WM_WINDOWPOSCHANGING && life.Alive()) SendMessageA(WindowHandle, WM_NCPAINT, 1, 0);
        return;
    }
    TsCommonData& d = *CommonData;
    const TLife life = Life();
    if (IsSkinCommand(m)) {
        switch (SkinSubCode(m.WParam)) {
            case scEndParentUpdate:
                d.Updating = false;
                RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
                return;
            case scSkinApplied:
            case scRefresh:
                TacMainWnd::WndProc(m);
                if (life.Alive()) PassCommandToChildren(Panel, WindowHandle, m);
                return;
            case scSkinRemoved:
                d.SkinIndex = -1;
                Panel->SetControlStyle(Panel->ControlStyle() & ~csOpaque);
                TacMainWnd::WndProc(m);
                return;
            case scQuerySupport:
                m.Result = 1;
                return;
            case 23:
                return;
            case scGetApplication:
                m.Result = reinterpret_cast<LRESULT>(Application());
                return;
            default:
                break;
        }
    }
    switch (m.Msg) {
        case WM_PRINT:
            PaintInto(reinterpret_cast<HDC>(m.WParam));
            PaintFrame(reinterpret_cast<HDC>(m.WParam));
            return;
        case CM_TEXTCHANGED:
            d.BGChanged = true;
            TacMainWnd::WndProc(m);
            return;
        case WM_SETTEXT:
            TacMainWnd::WndProc(m);
            if (!life.Alive()) return;
            d.BGChanged = true;
            if (IsWindowVisible(WindowHandle)) RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
            return;
        case WM_PAINT: {
            // All painting happens on erase, where children are left out.
            PaintAllOnErase(WindowHandle);
            m.Result = 0;
            return;
        }
        case WM_ERASEBKGND:
            PaintInto(reinterpret_cast<HDC>(m.WParam));
            m.Result = 1;
            return;
        case WM_NCPAINT:
            PaintFrame(nullptr);
            m.Result = 0;
            return;
        case WM_UPDATEUISTATE:
            m.Result = 1;
            return;
        case WM_SIZE:
            d.BGChanged = true;
            break;
        default:
            break;
    }
    TacMainWnd::WndProc(m);
}

// ----------------------------------------------------------- status bar

TacStatusBarWnd::TacStatusBarWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacMainWnd(wnd, skinData, manager, section.empty() ? std::string("STATUSBAR") : section) {
    if (CommonData->SkinSection().empty()) {
        CommonData->SetSkinSection("STATUSBAR");
        CommonData->ReadSkinIndexes();
    }
    // A native bar (no framework object) shows no panel texts.
    StatusBar = dynamic_cast<TStatusBar*>(CommonData->OwnerControl);
}

std::string TacStatusBarWnd::PanelText(int index, bool simple) const {
    if (!StatusBar) return {};
    // The system's bar answers WM_GETTEXT with its first part, not with
    // the simple text: the framework object tells it.
    if (simple) return StatusBar->SimpleText();
    if (StatusBar->PanelCount() == 0) return StatusBar->SimpleText();
    return index >= 0 && index < StatusBar->PanelCount() ? StatusBar->Panels(index)->Text() : std::string();
}

void TacStatusBarWnd::PaintPanel(int index, TRect r, bool simple, int count) {
    PaintPanelFrame(index, r, simple, count);
    if (!StatusBar) return;
    TsCommonData& d = *CommonData;
    HDC dc = d.CacheBmp->Canvas()->Handle();
    const bool valid = !simple && index >= 0 && index < StatusBar->PanelCount();
    TStatusPanel* panel = valid ? StatusBar->Panels(index) : nullptr;
    if (panel && panel->Style() == psOwnerDraw) {
        if (StatusBar->OnDrawPanel) {
            GdiFlush();
            const TCanvasLease lease(*StatusBar->Canvas(), dc);
            StatusBar->OnDrawPanel(StatusBar, panel, RECT{r.Left, r.Top, r.Right, r.Bottom});
            GdiFlush();
        }
    }
    const TRect room = StatusPanelTextRect(r);
    const std::string full = PanelText(index, simple);
    if (full.empty() || room.Right <= room.Left) return;
    const TsSkinModel& skin = ActiveManager()->Model();
    const TSelection font(dc, StatusBar->Font()->Handle());
    const std::string text = CutTextToWidth(full, room.Right - room.Left, [dc](const std::string& t) {
        SIZE sz{};
        GetTextExtentPoint32A(dc, t.c_str(), static_cast<int>(t.size()), &sz);
        return static_cast<int>(sz.cx);
    });
    const TsGeneralData* sec = d.Section();
    const TColor colour = sec ? static_cast<TColor>(skin.ColorToRGB(sec->FontColors[0])) : 0;
    SetTextColor(dc, colour & 0xFFFFFF);
    SetBkMode(dc, TRANSPARENT);
    const TAlignment a = panel ? panel->Alignment() : taLeftJustify;
    const UINT align = a == taCenter ? DT_CENTER : a == taRightJustify ? DT_RIGHT : DT_LEFT;
    RECT tr{room.Left, room.Top, room.Right, room.Bottom};
    GdiFlush();
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | align);
    GdiFlush();
}

void TacStatusBarWnd::PaintPanelFrame(int index, TRect r, bool simple, int count) {
    TsSkinManager* m = ActiveManager();
    TsCommonData& d = *CommonData;
    const TsSkinModel& skin = m->Model();
    if (!skin.SectionIndexValid(d.SkinIndex)) return;
    PixelBuffer32& px = d.CacheBmp->Pixels();
    TsParentImageInfo under;
    under.Bmp = &px;
    under.Ready = true;
    const int frameIndex = skin.IndexOfMask(d.SkinIndex, d.SkinSection(), "STATUSPANELMASK");
    if (skin.MaskIndexValid(frameIndex)) {
        const TRect where = simple ? TRect{0, 0, px.Width(), px.Height()} : r;
        PaintBorderMask(px, where, under, skin.Masks()[static_cast<std::size_t>(frameIndex)], 0, false);
        return;
    }
    if (simple || index >= count - 1) return;
    const int divider = skin.IndexOfSection("DIVIDER");
    const int dividerMask = skin.IndexOfMask(divider, "DIVIDER", "BORDERSMASK");
    if (!skin.SectionIndexValid(divider) || !skin.MaskIndexValid(dividerMask)) return;
    const TsMaskData& dm = skin.Masks()[static_cast<std::size_t>(dividerMask)];
    const int w = std::max(2, static_cast<int>(dm.MarginLeft) + static_cast<int>(dm.MarginRight));
    // Down the client area, one pixel in from its top and bottom.
    const int top = client_.top + 1;
    const int h = client_.bottom - client_.top - 2;
    const int x0 = r.Right - w;
    if (h <= 0 || x0 < 0) return;
    PixelBuffer32 piece(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            piece.At(x, y) = x0 + x < px.Width() && top + y < px.Height() ? px.At(x0 + x, top + y) : 0xFF000000u;
    TsParentImageInfo bg = under;
    bg.X = x0, bg.Y = top;
    PaintSkinItem(piece, skin, divider, bg, 0, TRect{0, 0, w, h}, TPoint{0, 0});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x0 + x < px.Width() && top + y < px.Height()) px.At(x0 + x, top + y) = piece.At(x, y);
}

void TacStatusBarWnd::PrepareCache() {
    TsSkinManager* m = ActiveManager();
    TsCommonData& d = *CommonData;
    PixelBuffer32* cache = SectionOverParent(d, WindowHandle, m->Model(), 0);
    if (!cache) return;
    // The cache spans the window; the panels lie in the client area,
    // inside a framework bar's border band.
    client_ = ClientRectInWindow(WindowHandle);
    const int cx = client_.left, cy = client_.top;
    const bool simple = SendMessageA(WindowHandle, SB_ISSIMPLE, 0, 0) == 1;
    if (simple) {
        PaintPanel(-1, TRect{cx, cy + 1, client_.right - 1, client_.bottom - 1}, true, 0);
    } else {
        const int count = static_cast<int>(SendMessageA(WindowHandle, SB_GETPARTS, 0, 0));
        for (int i = 0; i < count; ++i) {
            RECT r{};
            if (!SendMessageA(WindowHandle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
            PaintPanel(i, TRect{cx + r.left + 1, cy + r.top + 1, cx + r.right - 1, cy + r.bottom - 1}, false, count);
        }
    }
    d.BGChanged = false;
}

void TacStatusBarWnd::PaintBar(HDC given, bool whole) {
    TWindowDC own;
    HDC dc = given;
    if (!dc) {
        own = TWindowDC(WindowHandle, TDCArea::Window);
        dc = own.Get();
        whole = true;
    }
    if (!dc) return;
    PrepareCache();
    const TsCommonData& d = *CommonData;
    if (!d.CacheBmp || d.CacheBmp->Width() == 0) return;
    if (whole) {
        CopyWholeCache(dc, d);
        return;
    }
    CopyBufferToDC(dc, 0, 0, d.CacheBmp->Pixels(), client_);
}

void TacStatusBarWnd::PaintBorders(HDC given) {
    if (!StatusBar || StatusBar->BorderWidth() <= 0) return;
    TsCommonData& d = *CommonData;
    if (d.BGChanged || !d.CacheBmp || d.CacheBmp->Width() == 0) PrepareCache();
    CopyCacheAround(WindowHandle, d, ClientRectInWindow(WindowHandle), given);
}

void TacStatusBarWnd::WndProc(TMessage& m) {
    if (PassedUnskinned(*this, m)) return;
    switch (m.Msg) {
        case WM_PAINT: {
            if (HDC given = reinterpret_cast<HDC>(m.WParam)) {
                PaintBar(given, false);
                return;
            }
            // All painting happens on erase.
            PaintAllOnErase(WindowHandle);
            m.Result = 0;
            return;
        }
        case WM_ERASEBKGND:
        case WM_PRINT:
            PaintBar(reinterpret_cast<HDC>(m.WParam), m.Msg == WM_PRINT);
            m.Result = 1;
            return;
        case WM_NCPAINT:
            // Only a framework bar has borders of its own to paint.
            if (!PaintingSuspended()) PaintBorders(nullptr);
            m.Result = 0;
            return;
        default:
            break;
    }
    const TLife life = Life();
    TacMainWnd::WndProc(m);
    if (life.Alive() && m.Msg == WM_SIZE) RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

// ---------------------------------------------------- transparent panel

void TacTransPanelWnd::PaintFromMessage(TMessage& m) {
    GetWndGeometry(WindowHandle, ParentHandle, WindowRect, PosInParent, WindowSize, ParentWindowRect);
    TWindowDC own;
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (!dc) {
        own = TWindowDC(WindowHandle);
        dc = own.Get();
    }
    if (!dc) return;
    TsCommonData& d = *CommonData;
    d.BGChanged = true;
    const TLife life = Life();
    SendSkinCommand(WindowHandle, 23, 0);
    if (!life.Alive() || !d.CacheBmp || d.CacheBmp->Width() == 0) return;
    const TSavedDC saved(dc);
    ExcludeVisibleChildren(WindowHandle, dc);
    CopyWholeCache(dc, d);
}

void TacTransPanelWnd::WndProc(TMessage& m) {
    if (PassedUnskinned(*this, m)) return;
    switch (m.Msg) {
        case WM_ERASEBKGND:
            PaintFromMessage(m);
            m.Result = 1;
            return;
        case WM_NCPAINT:
            m.Result = 0;
            return;
        default:
            TacMainWnd::WndProc(m);
    }
}

}  // namespace kova::skin
