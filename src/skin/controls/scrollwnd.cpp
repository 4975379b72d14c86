#include "skin/controls/scrollwnd.h"

#include <algorithm>

#include "framework/handles.h"
#include "framework/windowtext.h"
#include "skin/core/commondata.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/skincommands.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinstate.h"
#include "skin/core/sysentries.h"

namespace kova::skin {

namespace {

// Only one bar is pressed or hovered at a time (the capture sees to it).
struct TScrollTracking {
    int TrackedKind = -1;
    int PressedPart = -1;
    int PressedShown = -1;
    UINT ScrollMsg = 0;
    UINT_PTR RepeatTimer = 0;
    int LastTrackPos = 0;
    // The bar as the drag found it: the thumb's length and start, the
    // bar's rectangle and where in the thumb the mouse holds it.
    TBarGeometry DragGeometry;
    RECT TrackBarRect{};
    int GrabOffset = 0;
    // The thumb's start while dragged.
    int DragThumbStart = 0;
    HWND HotWindow = nullptr;
    int HotKind = -1, HotPart = -1, PrevHotPart = -1;
    RECT HotBarRect{};
    UINT_PTR HoverTimer = 0;
    // Set while the adapter gives the capture back itself.
    bool Releasing = false;
};
TScrollTracking Tracking;

constexpr DWORD kScrollStyles = WS_HSCROLL | WS_VSCROLL;

int DefaultArrowLength() {
    static const int length = GetSystemMetrics(SM_CXHSCROLL);
    return length;
}

bool Along(int kind) { return kind == 0; }
int AlongOf(int kind, POINT p) { return Along(kind) ? p.x : p.y; }

POINT PointOf(LPARAM l) { return POINT{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))}; }

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

RECT BarRect(TacScrollWnd& a, int kind) {
    RECT r{};
    if (kind == 0)
        GetHScrollRect(a, a.WindowHandle, r);
    else
        GetVScrollRect(a, a.WindowHandle, r);
    return r;
}

bool Scrollable(const SCROLLINFO& si) {
    return si.nMax >= static_cast<int>(si.nPage) && si.nMax > si.nMin && si.nMax != 0;
}

// The corner between the bars counts as the parent's size grip when the
// window's corner on the vertical bar's side is that of the parent's
// client area, and the parent is a top-level window.
bool CornerIsGrip(TacScrollWnd& a, RECT& square) {
    if (!a.HBar || !a.VBar || !a.HBar->BarVisible || !a.VBar->BarVisible) return false;
    const RECT h = BarRect(a, 0), v = BarRect(a, 1);
    square = RECT{v.left, h.top, v.right, h.bottom};
    HWND parent = GetParent(a.WindowHandle);
    if (!parent || GetParent(parent)) return false;
    RECT client{};
    GetClientRect(parent, &client);
    POINT corner{a.LeftScrollBar ? square.left - a.InsetLeft : square.right + a.InsetRight, square.bottom + a.InsetBottom};
    ScreenToClient(parent, &corner);
    return corner.y == client.bottom && corner.x == (a.LeftScrollBar ? client.left : client.right);
}

std::uint32_t PixelOfColour(const TsSkinModel& skin, TsColor c) {
    return ColorToPixel(static_cast<std::uint32_t>(skin.ColorToRGB(c)) & 0xFFFFFF) | 0xFF000000u;
}

// What the parent shows under a piece of the window (at `at`, window
// coordinates) copied into px; its colour when it shows no image (the
// skin's GLOBALINFO colour when it tells none). Returns that colour.
TColor FillFromParent(PixelBuffer32& px, HWND wnd, POINT at, const TsSkinModel& skin) {
    TsParentImageInfo bg;
    ParentImageInfoOfWnd(wnd, bg);
    TColor colour = bg.FillColor;
    if (bg.Ready || colour == clFuchsia || !GetParent(wnd)) colour = static_cast<TColor>(skin.ColorToRGB(skin.GlobalInfoColor()));
    px.Fill(PixelOfColour(skin, colour));
    if (bg.Ready && bg.Bmp) {
        for (int y = 0; y < px.Height(); ++y)
            for (int x = 0; x < px.Width(); ++x) {
                const int sx = bg.X + at.x + x, sy = bg.Y + at.y + y;
                if (sx >= 0 && sy >= 0 && sx < bg.Bmp->Width() && sy < bg.Bmp->Height()) px.At(x, y) = bg.Bmp->At(sx, sy);
            }
    }
    return colour;
}

struct TBarSections {
    int Bar1, Bar2, FirstButton, LastButton, Slider;
    // The glyphs drawn in the middle of the buttons and the thumb.
    int FirstGlyph, LastGlyph, SliderGlyph;
};

TBarSections SectionsOf(const TsSkinModel& skin, int kind) {
    const TsConstIndexes& c = skin.ConstData();
    if (kind == 0)
        return {c.ScrollBar1H.Section, c.ScrollBar2H.Section, c.ScrollBtns[2].Section, c.ScrollBtns[3].Section,
                c.ScrollSliderH.Section, c.ScrollBtns[2].Glyph, c.ScrollBtns[3].Glyph, c.ScrollSliderH.Glyph};
    return {c.ScrollBar1V.Section, c.ScrollBar2V.Section, c.ScrollBtns[0].Section, c.ScrollBtns[1].Section,
            c.ScrollSliderV.Section, c.ScrollBtns[0].Glyph, c.ScrollBtns[1].Glyph, c.ScrollSliderV.Glyph};
}

// A piece of the bar (from..to along it, the whole thickness across).
TRect Piece(int kind, int from, int to, int thickness) {
    return Along(kind) ? TRect{from, 0, to, thickness} : TRect{0, from, thickness, to};
}

// One bar into dc at its place in the window.
void PaintBar(TacScrollWnd& a, int kind, HDC dc) {
    TacScrollBar* bar = a.Bar(kind);
    TsSkinManager* m = a.ActiveManager();
    if (!bar || !bar->BarVisible || !m) return;
    const TsSkinModel& skin = m->Model();
    const TBarSections s = SectionsOf(skin, kind);
    if (!skin.SectionIndexValid(s.Bar1)) return;
    const RECT r = BarRect(a, kind);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w < 2 || h < 2) return;
    bar->ReadInfo(a.WindowHandle);
    TBarGeometry g = ScrollBarGeometry(a, kind, r);
    const bool tracked = Tracking.HotWindow == a.WindowHandle && Tracking.TrackedKind == kind;
    const bool dragging = tracked && a.ThumbTracking;
    if (dragging && g.HasThumb()) g.ThumbStart = Tracking.DragThumbStart;
    const bool enabled = ScrollBarEnabled(a, kind);
    const int pressed = tracked ? (dragging ? sbpThumb : Tracking.PressedShown) : -1;
    const bool hot = Tracking.HotWindow == a.WindowHandle && Tracking.HotKind == kind;
    auto state = [&](int part) {
        if (pressed == part) return 2;
        return hot && Tracking.HotPart == part && enabled ? 1 : 0;
    };
    // Along the bar from 0, across it the thickness.
    const int origin = Along(kind) ? r.left : r.top;
    const int length = g.Length(), thickness = Along(kind) ? h : w;
    RECT wr{};
    GetWindowRect(a.WindowHandle, &wr);
    PixelBuffer32 px(w, h);
    TsParentImageInfo bg;
    bg.FillColor = FillFromParent(px, a.WindowHandle, POINT{r.left - wr.left, r.top - wr.top}, skin);
    const PixelBuffer32 underBar = px.Clone();
    auto item = [&](int section, int state_, int from, int to, int glyph = -1) {
        if (to <= from || !skin.SectionIndexValid(section)) return;
        const TRect piece = Piece(kind, from, to, thickness);
        PaintSkinItem(px, skin, section, bg, state_, piece, TPoint{0, 0});
        if (!skin.MaskIndexValid(glyph)) return;
        const TsMaskData& mask = skin.Masks()[static_cast<std::size_t>(glyph)];
        const int gw = ImageWidthOfMask(mask), gh = ImageHeightOfMask(mask);
        if (gw > piece.Right - piece.Left || gh > piece.Bottom - piece.Top) return;
        TsParentImageInfo under;
        under.Bmp = &px;
        under.Ready = true;
        DrawMaskState(px, TPoint{(piece.Left + piece.Right - gw) / 2, (piece.Top + piece.Bottom - gh) / 2}, state_, 0,
                      mask, under);
    };
    if (g.Short) {
        item(s.Bar1, 0, 0, length / 2);
        item(s.Bar2, 0, length / 2, length);
        item(s.FirstButton, state(sbpFirstArrow), 0, g.Arrow, s.FirstGlyph);
        item(s.LastButton, state(sbpLastArrow), length - g.Arrow, length, s.LastGlyph);
    } else {
        const int split = (g.HasThumb() ? g.ThumbStart + g.ThumbLen / 2 : (g.TrackStart + g.TrackEnd) / 2) - origin;
        item(s.Bar1, pressed == sbpPageBefore ? 2 : 0, 0, split);
        item(s.Bar2, pressed == sbpPageAfter ? 2 : 0, split, length);
        item(s.FirstButton, state(sbpFirstArrow), 0, g.Arrow, s.FirstGlyph);
        item(s.LastButton, state(sbpLastArrow), length - g.Arrow, length, s.LastGlyph);
        if (enabled && g.HasThumb())
            item(s.Slider, pressed == sbpThumb ? 2 : state(sbpThumb), g.ThumbStart - origin,
                 g.ThumbStart - origin + g.ThumbLen, s.SliderGlyph);
    }
    if (!enabled) {
        // The disabled look: the normal look blended 0.4 over what lies
        // under the bar.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t p = px.At(x, y), under = underBar.At(x, y);
                std::uint32_t out = 0xFF000000u;
                for (int shift = 0; shift < 24; shift += 8) {
                    const int c = static_cast<int>((p >> shift) & 0xFF), u = static_cast<int>((under >> shift) & 0xFF);
                    out |= static_cast<std::uint32_t>((c * 4 + u * 6 + 5) / 10) << shift;
                }
                px.At(x, y) = out;
            }
    }
    CopyBufferToDC(dc, r.left - wr.left, r.top - wr.top, px, RECT{0, 0, w, h});
}

void PaintCorner(TacScrollWnd& a, HDC dc) {
    TsSkinManager* m = a.ActiveManager();
    RECT square{};
    const bool grip = CornerIsGrip(a, square);
    if (!m || !a.HBar || !a.VBar || !a.HBar->BarVisible || !a.VBar->BarVisible) return;
    if (!grip) {
        const RECT h = BarRect(a, 0), v = BarRect(a, 1);
        square = RECT{v.left, h.top, v.right, h.bottom};
    }
    const int w = square.right - square.left, hgt = square.bottom - square.top;
    if (w <= 0 || hgt <= 0) return;
    const TsSkinModel& skin = m->Model();
    RECT wr{};
    GetWindowRect(a.WindowHandle, &wr);
    PixelBuffer32 px(w, hgt);
    FillFromParent(px, a.WindowHandle, POINT{square.left - wr.left, square.top - wr.top}, skin);
    const int gripIndex = skin.ConstData().GripImage;
    if (grip && skin.MaskIndexValid(gripIndex)) {
        const TsMaskData& mask = skin.Masks()[static_cast<std::size_t>(gripIndex)];
        TsParentImageInfo bg;
        bg.Bmp = &px;
        bg.Ready = true;
        DrawMaskState(px, TPoint{w - ImageWidthOfMask(mask), hgt - ImageHeightOfMask(mask)}, 0, 0, mask, bg);
    }
    CopyBufferToDC(dc, square.left - wr.left, square.top - wr.top, px, RECT{0, 0, w, hgt});
}

void StopTimers(HWND wnd) {
    KillTimer(wnd, kScrollFirstRepeatTimer);
    KillTimer(wnd, kScrollRepeatTimer);
    Tracking.RepeatTimer = 0;
}

void ResetPress() {
    Tracking.PressedPart = Tracking.PressedShown = -1;
    Tracking.RepeatTimer = 0;
    Tracking.ScrollMsg = 0;
    Tracking.TrackedKind = -1;
}

}  // namespace

// ------------------------------------------------------------------ bars

void TacScrollBar::ReadInfo(HWND wnd) {
    ScrollInfo = SCROLLINFO{};
    ScrollInfo.cbSize = sizeof(SCROLLINFO);
    ScrollInfo.fMask = SIF_ALL;
    if (!GetScrollInfo(wnd, BarKind == 0 ? SB_HORZ : SB_VERT, &ScrollInfo)) {
        ScrollInfo = SCROLLINFO{};
        ScrollInfo.cbSize = sizeof(SCROLLINFO);
    }
}

TScrollRange TacScrollBar::Range() const {
    return TScrollRange{ScrollInfo.nMin, ScrollInfo.nMax, ScrollInfo.nPage, ScrollInfo.nPos};
}

int GetScrollBarMetric(const TacScrollBar& bar, bool thickness, bool useSkin) {
    if (thickness) {
        if (bar.BarThickness >= 0) return bar.BarThickness;
        return GetSystemMetrics(bar.BarKind == 0 ? SM_CYHSCROLL : SM_CXVSCROLL) * -bar.BarThickness;
    }
    if (bar.ArrowSize >= 0) return bar.ArrowSize;
    int base = DefaultArrowLength();
    TsSkinManager* m = bar.OwnerWnd ? bar.OwnerWnd->ActiveManager() : nullptr;
    if (useSkin && m) {
        const TsSkinModel& skin = m->Model();
        const TsSectionConsts& b = skin.ConstData().ScrollBtns[bar.BarKind == 0 ? 2 : 0];
        if (skin.SectionIndexValid(b.Section) && skin.Sections()[static_cast<std::size_t>(b.Section)].ReservedBoolean &&
            skin.MaskIndexValid(b.Border)) {
            const TsMaskData& mask = skin.Masks()[static_cast<std::size_t>(b.Border)];
            base = std::max(base, bar.BarKind == 0 ? ImageWidthOfMask(mask) : ImageHeightOfMask(mask));
        }
    }
    return base * -bar.ArrowSize;
}

void GetHScrollRect(TacScrollWnd& a, HWND wnd, RECT& r) {
    GetWindowRect(wnd, &r);
    const int vThick = a.VBar && a.VBar->BarVisible ? GetScrollBarMetric(*a.VBar, true, false) : 0;
    r.left += a.InsetLeft + (a.LeftScrollBar ? vThick : 0);
    r.right -= a.InsetRight + (a.LeftScrollBar ? 0 : vThick);
    r.bottom -= a.InsetBottom;
    r.top = r.bottom - (a.HBar ? GetScrollBarMetric(*a.HBar, true, false) : 0);
}

void GetVScrollRect(TacScrollWnd& a, HWND wnd, RECT& r) {
    GetWindowRect(wnd, &r);
    const int hThick = a.HBar && a.HBar->BarVisible ? GetScrollBarMetric(*a.HBar, true, false) : 0;
    const int vThick = a.VBar ? GetScrollBarMetric(*a.VBar, true, false) : 0;
    r.top += a.InsetTop;
    r.bottom -= hThick + a.InsetBottom;
    if (a.LeftScrollBar) {
        r.left += a.InsetLeft;
        r.right = r.left + vThick;
    } else {
        r.right -= a.InsetRight;
        r.left = r.right - vThick;
    }
}

TBarGeometry ScrollBarGeometry(TacScrollWnd& a, int kind, const RECT& barRect) {
    TacScrollBar* bar = a.Bar(kind);
    if (!bar) return {};
    const int start = Along(kind) ? barRect.left : barRect.top;
    const int end = Along(kind) ? barRect.right : barRect.bottom;
    return ComputeBarGeometry(start, end, GetScrollBarMetric(*bar, false, true), bar->MinThumb, bar->Range());
}

int ScrollBarPartAt(TacScrollWnd& a, int kind, POINT p) {
    TacScrollBar* bar = a.Bar(kind);
    if (!bar || !bar->BarVisible) return sbpNone;
    const RECT r = BarRect(a, kind);
    const bool across = Along(kind) ? (p.y >= r.top && p.y < r.bottom) : (p.x >= r.left && p.x < r.right);
    if (!across) return sbpNone;
    bar->ReadInfo(a.WindowHandle);
    return HitTestBar(ScrollBarGeometry(a, kind, r), AlongOf(kind, p));
}

bool ScrollBarEnabled(TacScrollWnd& a, int kind) {
    TacScrollBar* bar = a.Bar(kind);
    if (!bar) return false;
    if (GetScrollBarInfoFn fn = SystemEntries().GetScrollBarInfo) {
        SCROLLBARINFO sbi{};
        sbi.cbSize = sizeof(sbi);
        if (!fn(a.WindowHandle, kind == 0 ? OBJID_HSCROLL : OBJID_VSCROLL, &sbi)) return false;
        // The arrows' own states tell which of them the window disabled.
        bar->BarFlags = static_cast<std::uint16_t>(
            (bar->BarFlags & ~(kBarFirstArrowOff | kBarSecondArrowOff)) |
            ((sbi.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) ? kBarFirstArrowOff : 0) |
            ((sbi.rgstate[5] & STATE_SYSTEM_UNAVAILABLE) ? kBarSecondArrowOff : 0));
        if ((bar->BarFlags & (kBarFirstArrowOff | kBarSecondArrowOff)) == (kBarFirstArrowOff | kBarSecondArrowOff))
            return false;
        if ((bar->BarFlags & kBarOffWhenNotScrollable) && !Scrollable(bar->ScrollInfo)) return false;
        return !(sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    }
    const auto style = static_cast<DWORD>(GetWindowLongA(a.WindowHandle, GWL_STYLE));
    return style & (kind == 0 ? WS_HSCROLL : WS_VSCROLL);
}

void RefreshScrollBars(TacScrollWnd& a, bool repaint) {
    if (!IsWindowVisible(a.WindowHandle) || !a.HBar || !a.VBar) return;
    if (a.CommonData && a.CommonData->Updating) return;
    a.HBar->ReadInfo(a.WindowHandle);
    a.VBar->ReadInfo(a.WindowHandle);
    if (repaint && !FormAnimating && !PaintingSuspended()) PaintScrollBars(a, a.WindowHandle, nullptr);
}

void PaintScrollBars(TacScrollWnd& a, HWND wnd, HDC dc) {
    if (dc) {
        PaintBar(a, 0, dc);
        PaintBar(a, 1, dc);
        PaintCorner(a, dc);
        return;
    }
    TWindowDC windowDC(wnd, TDCArea::Window);
    if (!windowDC.Get()) return;
    PaintBar(a, 0, windowDC.Get());
    PaintBar(a, 1, windowDC.Get());
    PaintCorner(a, windowDC.Get());
}

void SendScrollMessage(HWND wnd, UINT msg, int code, int pos) {
    const LPARAM frame = MAKELONG(code, msg);
    const WPARAM w = MAKEWPARAM(code, static_cast<WORD>(std::clamp(pos, 0, 65535)));
    if (SendSkinCommand(wnd, scBeforeScroll, frame) != 1) {
        const int bar = msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        GetScrollInfo(wnd, bar, &si);
        if (code == SB_THUMBTRACK) {
            si.fMask = SIF_POS;
            si.nPos = pos;
            SetScrollInfo(wnd, bar, &si, FALSE);
        }
        SendMessageA(wnd, msg, w, 0);
    } else {
        SendMessageA(wnd, msg, w, pos);
    }
    SendSkinCommand(wnd, scAfterScroll, frame);
}

TacScrollBar* FindScrollBar(HWND wnd, int kind) {
    TacMainWnd* a = FindAdapter(wnd);
    if (!a || !a->Is<TacScrollWnd>()) return nullptr;
    return static_cast<TacScrollWnd*>(a)->Bar(kind);
}

void SetScrollBarMinThumb(HWND wnd, int length) {
    for (int kind : {0, 1})
        if (TacScrollBar* b = FindScrollBar(wnd, kind)) b->MinThumb = static_cast<std::uint16_t>(std::max(0, length));
}

int MinThumbLength(HWND wnd, int kind) {
    const TacScrollBar* b = FindScrollBar(wnd, kind);
    return b ? b->MinThumb : 0;
}

// --------------------------------------------------------------- adapter

TacScrollWnd::~TacScrollWnd() { Detach(false); }

void TacScrollWnd::AttachTo(bool repaint) { AttachScrollAdapter(*this, WindowHandle, repaint); }

void AttachScrollAdapter(TacScrollWnd& a, HWND wnd, bool repaint) {
    a.SelfChange = false;
    a.WindowHandle = wnd;
    a.HBar = std::make_unique<TacScrollBar>(&a, 0);
    a.VBar = std::make_unique<TacScrollBar>(&a, 1);
    a.HBar->ReadInfo(wnd);
    a.VBar->ReadInfo(wnd);
    a.LeftScrollBar = GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR;
    const auto style = static_cast<DWORD>(GetWindowLongA(wnd, GWL_STYLE));
    a.HBar->BarFlags = (style & WS_HSCROLL) ? kBarStyled : 0;
    a.VBar->BarFlags = (style & WS_VSCROLL) ? kBarStyled : 0;
    a.InNcCalcSize = false;
    AttachAdapter(a, wnd);
    if (repaint) RefreshFrame(wnd, true);
}

// The frame is always recomputed (SetWindowPos): without it the system
// would not reserve its own bars again.
void TacScrollWnd::Detach(bool /*repaintFrame*/) {
    if (Detached) return;
    if (Tracking.HotWindow == WindowHandle) EndPress(false);
    Detached = true;
    Unhook();
    for (auto* bar : {&HBar, &VBar})
        if (*bar) {
            (*bar)->OwnerWnd = nullptr;
            bar->reset();
        }
    ThumbTracking = false;
    // The frame is recomputed without us: the system's bars come back.
    if (IsWindow(WindowHandle) && IsWindowVisible(WindowHandle)) RefreshFrame(WindowHandle, true);
}

void TacScrollWnd::EndPress(bool finish) {
    const HWND wnd = WindowHandle;
    const TLife life = Life();
    if (Tracking.PressedPart != -1 && Tracking.HotWindow == wnd) {
        if (Tracking.PressedPart != sbpThumb) StopTimers(wnd);
        if (finish) {
            const UINT msg = Tracking.ScrollMsg;
            const bool thumb = Tracking.PressedPart == sbpThumb;
            SelfChange = true;
            if (ThumbTracking) {
                SendScrollMessage(wnd, msg, SB_THUMBPOSITION, Tracking.LastTrackPos);
                if (!life.Alive()) return;
                ThumbTracking = false;
            }
            SendScrollMessage(wnd, msg, SB_ENDSCROLL, thumb ? Tracking.LastTrackPos : 0);
            if (!life.Alive()) return;
            SelfChange = false;
        }
    }
    StopTimers(wnd);
    if (Tracking.HoverTimer && Tracking.HotWindow == wnd) {
        KillTimer(wnd, kScrollHoverTimer);
        Tracking.HoverTimer = 0;
        Tracking.HotKind = Tracking.HotPart = Tracking.PrevHotPart = -1;
    }
    ThumbTracking = false;
    if (Tracking.HotWindow == wnd) {
        ResetPress();
        if (GetCapture() == wnd && !Tracking.Releasing) {
            Tracking.Releasing = true;
            ReleaseCapture();
            Tracking.Releasing = false;
        }
    }
}

void TacScrollWnd::RepaintIfChanged() {
    if (!HBar || !VBar || SelfChange || ThumbTracking) return;
    auto same = [](const SCROLLINFO& a, const SCROLLINFO& b) {
        return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
    };
    const SCROLLINFO h = HBar->ScrollInfo, v = VBar->ScrollInfo;
    HBar->ReadInfo(WindowHandle);
    VBar->ReadInfo(WindowHandle);
    if (!same(h, HBar->ScrollInfo) || !same(v, VBar->ScrollInfo)) RefreshScrollBars(*this, true);
}

bool TacScrollWnd::HandleCommand(TMessage& m) {
    TsCommonData& d = *CommonData;
    const bool ours = reinterpret_cast<TsSkinManager*>(m.LParam) == d.GetSkinManager();
    switch (SkinSubCode(m.WParam)) {
        case scSkinApplied:
            if (ours) {
                d.ReadSkinIndexes();
                PassCommandToChildren(d.OwnerControl, WindowHandle, m);
            }
            return false;
        case scSkinRemoved:
            if (ours) RestoreStdParams();
            return false;
        case scRefresh:
            d.ReadSkinIndexes();
            d.BGChanged = true;
            return false;
        case scEndParentUpdate:
            if (d.Updating) {
                d.Updating = false;
                d.Updating = d.IsUpdating();
                if (!d.Updating)
                    RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
            }
            return false;
        case scQuerySupport:
            // One rule for every adapter: skinned only while a skin is
            // applied.
            if (!ActiveManager()) return false;
            m.Result = 1;
            return true;
        case scSetUpdating:
            d.SetUpdating(SkinLowArg(m.WParam) == 1);
            return false;
        case scCopySection:
            if (auto* other = reinterpret_cast<TsCommonData*>(m.LParam)) d.SetSkinSection(other->SkinSection());
            return false;
        case scQueryBgColor:
            return HandleRootCommand(m);
        case scQueryBgInfo: {
            auto* info = reinterpret_cast<TsBackgroundInfo*>(m.LParam);
            const TLife life = Life();
            CallPrevWndProc(m);
            if (life.Alive() && info && info->BgType == 0) d.FillBackgroundInfo(*info, 0, WindowHandle);
            return true;
        }
        case scGetSkinData:
            m.Result = reinterpret_cast<LRESULT>(&d);
            return true;
        case scGetApplication:
            return HandleRootCommand(m);
        default:
            return false;
    }
}

void TacScrollWnd::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_DESTROY:
        case WM_NCDESTROY:
            // A window going stops its repeat and hover timers.
            if (Tracking.HotWindow == WindowHandle) {
                EndPress(false);
                Tracking.HotWindow = nullptr;
            }
            HandleRootMessage(m);
            return;
        case WM_UPDATEUISTATE:
            return;
        case WM_SIZE:
            if (CommonData) CommonData->BGChanged = true;
            break;
        default:
            break;
    }
    if (Detached || !CommonData) {
        CallPrevWndProc(m);
        return;
    }
    if (!CommonData->IsSkinned()) {
        if (IsSkinCommand(m) && SkinSubCode(m.WParam) == scSkinApplied &&
            reinterpret_cast<TsSkinManager*>(m.LParam) == CommonData->GetSkinManager())
            CommonData->ReadSkinIndexes();
        CallPrevWndProc(m);
        return;
    }
    if (IsSkinCommand(m)) {
        if (!HandleCommand(m)) CallPrevWndProc(m);
        return;
    }
    const TLife life = Life();
    switch (m.Msg) {
        case WM_NCCALCSIZE:
            NcCalcSize(m);
            return;
        case WM_NCHITTEST:
            NcHitTest(m);
            return;
        case WM_NCMOUSEMOVE:
            NcMouseMove(m);
            return;
        case WM_NCMOUSELEAVE:
            // As on the way in, the system draws its bars' look on the way out.
            CallPrevWndProc(m);
            if (!life.Alive()) return;
            RefreshScrollBars(*this, true);
            return;
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
            NcButtonDown(m);
            return;
        case WM_MOUSEMOVE:
            MouseMove(m);
            return;
        case WM_LBUTTONUP:
            ButtonUp(m);
            return;
        case WM_TIMER:
            Timer(m);
            return;
        case WM_CAPTURECHANGED:
            // A capture taken away mid-press ends the press: no repeat timer
            // is left running.
            if (!Tracking.Releasing && Tracking.HotWindow == WindowHandle && Tracking.PressedPart != -1 &&
                reinterpret_cast<HWND>(m.LParam) != WindowHandle) {
                EndPress(true);
                if (!life.Alive()) return;
                RefreshScrollBars(*this, true);
                if (!life.Alive()) return;
            }
            CallPrevWndProc(m);
            return;
        case WM_STYLECHANGED:
            if (InNcCalcSize) {
                m.Result = 0;
                return;
            }
            if (m.WParam == static_cast<WPARAM>(GWL_EXSTYLE))
                LeftScrollBar = GetWindowLongA(WindowHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR;
            CallPrevWndProc(m);
            return;
        case WM_STYLECHANGING:
            if (InNcCalcSize) {
                m.Result = 0;
                return;
            }
            CallPrevWndProc(m);
            return;
        case WM_NCPAINT:
            // The window's own frame first, then the bars over the room kept
            // for them: the system has just drawn its own there, also while
            // the adapter itself is scrolling the window.
            CallPrevWndProc(m);
            if (!life.Alive()) return;
            if (IsWindowVisible(WindowHandle) && !CommonData->Updating && !PaintingSuspended())
                PaintScrollBars(*this, WindowHandle, nullptr);
            return;
        case WM_NCRBUTTONDOWN:
        case WM_NCRBUTTONUP:
        case WM_NCMBUTTONDOWN:
        case WM_NCMBUTTONUP:
            if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
                m.Result = 0;
                return;
            }
            CallPrevWndProc(m);
            return;
        case WM_SYSCOMMAND:
            if ((m.WParam & 0xFFF0) == SC_VSCROLL || (m.WParam & 0xFFF0) == SC_HSCROLL) return;
            CallPrevWndProc(m);
            return;
        default:
            break;
    }
    CallPrevWndProc(m);
    if (!life.Alive() || Detached) return;
    if (m.Msg == WM_SETTEXT) WindowText = kova::WindowText(WindowHandle);
    if (m.Msg == WM_MOUSEWHEEL && !SelfChange) {
        RefreshScrollBars(*this, true);
        return;
    }
    // The window's procedure draws the system's bars when it changes them.
    RepaintIfChanged();
}

void TacScrollWnd::NcCalcSize(TMessage& m) {
    auto* proposed = reinterpret_cast<RECT*>(m.LParam);
    if (!proposed) {
        CallPrevWndProc(m);
        return;
    }
    const RECT before = *proposed;
    const auto style = static_cast<DWORD>(GetWindowLongA(WindowHandle, GWL_STYLE));
    const TLife life = Life();
    if (style & kScrollStyles) {
        InNcCalcSize = true;
        SetWindowLongA(WindowHandle, GWL_STYLE, static_cast<LONG>(style & ~kScrollStyles));
        CallPrevWndProc(m);
        if (!life.Alive()) return;
        SetWindowLongA(WindowHandle, GWL_STYLE, static_cast<LONG>(style));
        InNcCalcSize = false;
    } else {
        CallPrevWndProc(m);
        if (!life.Alive()) return;
    }
    RECT& client = *proposed;
    InsetLeft = client.left - before.left;
    InsetTop = client.top - before.top;
    InsetRight = before.right - client.right;
    InsetBottom = before.bottom - client.bottom;
    if (!HBar || !VBar) return;
    HBar->BarFlags = static_cast<std::uint16_t>((HBar->BarFlags & ~kBarStyled) | ((style & WS_HSCROLL) ? kBarStyled : 0));
    const int hThick = GetScrollBarMetric(*HBar, true, false);
    HBar->BarVisible = (HBar->BarFlags & kBarStyled) && hThick <= client.bottom - client.top;
    if (HBar->BarVisible) client.bottom -= hThick;
    VBar->BarFlags = static_cast<std::uint16_t>((VBar->BarFlags & ~kBarStyled) | ((style & WS_VSCROLL) ? kBarStyled : 0));
    const int vThick = GetScrollBarMetric(*VBar, true, false);
    VBar->BarVisible = (VBar->BarFlags & kBarStyled) && vThick <= client.right - client.left;
    if (VBar->BarVisible) {
        if (LeftScrollBar)
            client.left += vThick;
        else
            client.right -= vThick;
    }
}

void TacScrollWnd::NcHitTest(TMessage& m) {
    const POINT p = PointOf(m.LParam);
    for (int kind : {0, 1}) {
        TacScrollBar* bar = Bar(kind);
        if (!bar || !bar->BarVisible) continue;
        if (Contains(BarRect(*this, kind), p)) {
            m.Result = ScrollBarEnabled(*this, kind) ? (kind == 0 ? HTHSCROLL : HTVSCROLL) : HTNOWHERE;
            return;
        }
    }
    RECT square{};
    if (CornerIsGrip(*this, square) && Contains(square, p)) {
        m.Result = HTBOTTOMRIGHT;
        return;
    }
    CallPrevWndProc(m);
}

void TacScrollWnd::NcButtonDown(TMessage& m) {
    if (m.WParam != HTHSCROLL && m.WParam != HTVSCROLL) {
        Tracking.PressedPart = -1;
        CallPrevWndProc(m);
        return;
    }
    const int kind = m.WParam == HTHSCROLL ? 0 : 1;
    TacScrollBar* bar = Bar(kind);
    const HWND wnd = WindowHandle;
    Tracking.HotWindow = wnd;
    Tracking.ScrollMsg = kind == 0 ? WM_HSCROLL : WM_VSCROLL;
    Tracking.TrackedKind = kind;
    const POINT p = PointOf(m.LParam);
    Tracking.PressedPart = ScrollBarPartAt(*this, kind, p);
    Tracking.PressedShown = -1;
    m.Result = 0;
    const bool enabled = ScrollBarEnabled(*this, kind);
    if ((Tracking.PressedPart == sbpFirstArrow && (bar->BarFlags & kBarFirstArrowOff)) ||
        (Tracking.PressedPart == sbpLastArrow && (bar->BarFlags & kBarSecondArrowOff))) {
        ResetPress();
        return;
    }
    const TLife life = Life();
    if (Tracking.PressedPart >= sbpFirstArrow && Tracking.PressedPart <= sbpPageAfter) {
        if (!enabled) {
            ResetPress();
            return;
        }
        SetCapture(wnd);
        Tracking.PressedShown = Tracking.PressedPart;
        PaintScrollBars(*this, wnd, nullptr);
        SelfChange = true;
        SendScrollMessage(wnd, Tracking.ScrollMsg, Tracking.PressedPart, 0);
        if (!life.Alive()) return;
        SelfChange = false;
        if (Tracking.PressedPart == -1) return;  // the press ended meanwhile
        SetTimer(wnd, kScrollFirstRepeatTimer, kScrollFirstRepeatDelay, nullptr);
        Tracking.RepeatTimer = kScrollFirstRepeatTimer;
        RefreshScrollBars(*this, true);
        return;
    }
    if (Tracking.PressedPart == sbpThumb && enabled) {
        SetCapture(wnd);
        Tracking.TrackBarRect = BarRect(*this, kind);
        bar->ReadInfo(wnd);
        Tracking.DragGeometry = ScrollBarGeometry(*this, kind, Tracking.TrackBarRect);
        Tracking.GrabOffset = AlongOf(kind, p) - Tracking.DragGeometry.ThumbStart;
        Tracking.DragThumbStart = Tracking.DragGeometry.ThumbStart;
        ThumbTracking = true;
        bar->ScrollInfo.nTrackPos = bar->ScrollInfo.nPos;
        Tracking.LastTrackPos = bar->ScrollInfo.nPos;
        Tracking.PressedShown = sbpThumb;
        PaintScrollBars(*this, wnd, nullptr);
        return;
    }
    // A page area of a bar without a thumb, or a disabled thumb.
    ResetPress();
    CallPrevWndProc(m);
}

void TacScrollWnd::MouseMove(TMessage& m) {
    const HWND wnd = WindowHandle;
    if (Tracking.HotWindow != wnd || Tracking.PressedPart == -1) {
        CallPrevWndProc(m);
        return;
    }
    POINT p = PointOf(m.LParam);
    ClientToScreen(wnd, &p);
    const int kind = Tracking.TrackedKind;
    TacScrollBar* bar = Bar(kind);
    if (!bar) return;
    if (ThumbTracking) {
        const TBarGeometry& g = Tracking.DragGeometry;
        Tracking.DragThumbStart = DraggedThumbStart(g, AlongOf(kind, p), Tracking.GrabOffset);
        PaintScrollBars(*this, wnd, nullptr);
        const int pos = PositionOfThumb(g, bar->Range(), Tracking.DragThumbStart);
        if (pos != Tracking.LastTrackPos) {
            bar->ScrollInfo.nTrackPos = pos;
            const TLife life = Life();
            SelfChange = true;
            SendScrollMessage(wnd, Tracking.ScrollMsg, SB_THUMBTRACK, pos);
            if (!life.Alive()) return;
            SelfChange = false;
            // The window may have drawn the system's bar as it scrolled.
            PaintScrollBars(*this, wnd, nullptr);
            // Kept after the send: handlers of the request read the
            // previous position while it runs.
            Tracking.LastTrackPos = pos;
        }
        return;
    }
    const int under = ScrollBarPartAt(*this, kind, p);
    const int shown = under == Tracking.PressedPart ? Tracking.PressedPart : -1;
    if (shown != Tracking.PressedShown) {
        Tracking.PressedShown = shown;
        PaintScrollBars(*this, wnd, nullptr);
    }
}

void TacScrollWnd::ButtonUp(TMessage& m) {
    const HWND wnd = WindowHandle;
    if (Tracking.HotWindow != wnd || Tracking.PressedPart == -1) {
        CallPrevWndProc(m);
        return;
    }
    const TLife life = Life();
    if (GetCapture() == wnd) {
        Tracking.Releasing = true;
        ReleaseCapture();
        Tracking.Releasing = false;
    }
    EndPress(true);
    if (!life.Alive()) return;
    RefreshScrollBars(*this, true);
    if (!life.Alive()) return;
    CallPrevWndProc(m);
}

void TacScrollWnd::Timer(TMessage& m) {
    const HWND wnd = WindowHandle;
    const TLife life = Life();
    const UINT_PTR id = m.WParam;
    const bool ours = Tracking.HotWindow == wnd &&
                      (id == kScrollFirstRepeatTimer || id == kScrollRepeatTimer || id == kScrollHoverTimer);
    if (!ours) {
        CallPrevWndProc(m);
        if (!life.Alive()) return;
        if (!SelfChange && !ThumbTracking) RepaintIfChanged();
        return;
    }
    if (id == kScrollFirstRepeatTimer) {
        KillTimer(wnd, kScrollFirstRepeatTimer);
        if (Tracking.PressedPart == -1) return;
        SetTimer(wnd, kScrollRepeatTimer, kScrollRepeatDelay, nullptr);
        Tracking.RepeatTimer = kScrollRepeatTimer;
        return;
    }
    if (id == kScrollRepeatTimer) {
        if (Tracking.PressedPart == -1) {
            KillTimer(wnd, kScrollRepeatTimer);
            return;
        }
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(wnd, &p);
        p.x = std::max<LONG>(p.x, 0);
        p.y = std::max<LONG>(p.y, 0);
        TMessage move{WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y), 0};
        MouseMove(move);
        if (!life.Alive()) return;
        if (Tracking.PressedShown != -1) {
            SelfChange = true;
            SendScrollMessage(wnd, Tracking.ScrollMsg, Tracking.PressedShown, 0);
            if (!life.Alive()) return;
            SelfChange = false;
            RefreshScrollBars(*this, true);
        }
        return;
    }
    // Hover.
    if (ThumbTracking) return;
    POINT p{};
    GetCursorPos(&p);
    if (Contains(Tracking.HotBarRect, p)) {
        Tracking.HotPart = ScrollBarPartAt(*this, Tracking.HotKind, p);
        if (Tracking.HotPart != Tracking.PrevHotPart) {
            Tracking.PrevHotPart = Tracking.HotPart;
            PaintScrollBars(*this, wnd, nullptr);
        }
        return;
    }
    KillTimer(wnd, kScrollHoverTimer);
    Tracking.HoverTimer = 0;
    Tracking.HotKind = Tracking.HotPart = Tracking.PrevHotPart = -1;
    PaintScrollBars(*this, wnd, nullptr);
}

void TacScrollWnd::NcMouseMove(TMessage& m) {
    // Passed on first: the system's own handling draws its bars' hover look
    // over the room of the bars, which is then painted again.
    const TLife life = Life();
    CallPrevWndProc(m);
    if (!life.Alive() || Detached) return;
    if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
        const int kind = m.WParam == HTHSCROLL ? 0 : 1;
        const HWND wnd = WindowHandle;
        if (Tracking.HotWindow != wnd || Tracking.HotKind != kind) {
            if (Tracking.HotWindow && Tracking.HotWindow != wnd && Tracking.HoverTimer) KillTimer(Tracking.HotWindow, kScrollHoverTimer);
            Tracking.HotWindow = wnd;
            Tracking.PrevHotPart = Tracking.HotPart = -1;
            Tracking.HotBarRect = BarRect(*this, kind);
            Tracking.HotKind = kind;
            SetTimer(wnd, kScrollHoverTimer, kScrollHoverDelay, nullptr);
            Tracking.HoverTimer = kScrollHoverTimer;
        }
        PaintScrollBars(*this, wnd, nullptr);
    }
}

}  // namespace kova::skin
