// Skinned scroll bars: the adapter of windows that carry the system's
// window scroll bars (WS_HSCROLL / WS_VSCROLL). It takes the bars from the
// system and draws them from the skin: their room is kept in
// WM_NCCALCSIZE, they are painted in WM_NCPAINT and hit-tested in
// WM_NCHITTEST, and presses, auto-repeat and thumb drags become the
// window's own WM_HSCROLL / WM_VSCROLL, so the window scrolls as it would
// with the system's bars. Every scroll request is framed by the command
// sub-codes 51 (before) and 52 (after); a window that answers 51 with 1
// takes the full 32-bit position in lParam and keeps its positions itself.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "skin/controls/adapters.h"
#include "skin/controls/portable/scrollgeometry.h"

namespace kova::skin {

// Sub-codes around each scroll request (lParam MAKELONG(code, message)).
enum : int { scBeforeScroll = 51, scAfterScroll = 52 };

// Timers of the pressed or hovered bar.
inline constexpr UINT_PTR kScrollFirstRepeatTimer = 65533;  // 300 ms after the press
inline constexpr UINT_PTR kScrollRepeatTimer = 65534;       // then every 55 ms
inline constexpr UINT_PTR kScrollHoverTimer = 65522;        // 20 ms while hovered
inline constexpr UINT kScrollFirstRepeatDelay = 300;
inline constexpr UINT kScrollRepeatDelay = 55;
inline constexpr UINT kScrollHoverDelay = 20;

// BarFlags bits.
inline constexpr std::uint16_t kBarFirstArrowOff = 1, kBarSecondArrowOff = 2, kBarOffWhenNotScrollable = 4,
                               kBarStyled = 8;

class TacScrollWnd;

class TacScrollBar {
public:
    TacScrollBar(TacScrollWnd* owner, int kind) : BarKind(static_cast<std::uint16_t>(kind)), OwnerWnd(owner) {}

    std::uint16_t BarFlags = 0;
    bool BarVisible = false;
    SCROLLINFO ScrollInfo{};
    std::int32_t ArrowSize = -1;
    std::int32_t BarThickness = -1;
    std::int32_t StartInset = 0, EndInset = 0;
    bool UseStartInset = false, UseEndInset = false;
    std::uint16_t BarKind = 0;  // 0 horizontal, 1 vertical
    std::uint16_t MinThumb = 10;
    TacScrollWnd* OwnerWnd = nullptr;

    // ScrollInfo read from the window (SIF_ALL).
    void ReadInfo(HWND wnd);
    TScrollRange Range() const;
};

class TacScrollWnd : public TacMainWnd {
    KOVA_CLASS(TacScrollWnd, TacMainWnd)
public:
    using TacMainWnd::TacMainWnd;
    ~TacScrollWnd() override;

    std::unique_ptr<TacScrollBar> HBar, VBar;
    bool ThumbTracking = false;
    bool LeftScrollBar = false;
    std::int32_t InsetLeft = 0, InsetRight = 0, InsetTop = 0, InsetBottom = 0;
    bool InNcCalcSize = false;

    void WndProc(TMessage& m) override;
    // Leaves the window like every adapter, the bars freed and the frame
    // recomputed, so that the system's bars come back; also for native
    // windows.
    void Detach(bool repaintFrame) override;

    TacScrollBar* Bar(int kind) const { return kind == 0 ? HBar.get() : kind == 1 ? VBar.get() : nullptr; }

protected:
    void AttachTo(bool repaint) override;

private:
    bool HandleCommand(TMessage& m);
    void NcCalcSize(TMessage& m);
    void NcHitTest(TMessage& m);
    void NcButtonDown(TMessage& m);
    void MouseMove(TMessage& m);
    void ButtonUp(TMessage& m);
    void Timer(TMessage& m);
    void NcMouseMove(TMessage& m);
    // The press of this window's bar ends (released, capture lost, window
    // gone): timers off, state reset; with finish the release's requests
    // are sent.
    void EndPress(bool finish);
    // The bars repainted when what the window tells of them changed since
    // they were last painted (the window's own procedure may have drawn
    // the system's bars meanwhile).
    void RepaintIfChanged();
};

// The bars made (each with what the window tells of it), the adapter
// hooked in (AttachAdapter) and, with repaint, the frame recomputed with
// the skinned bars.
void AttachScrollAdapter(TacScrollWnd& adapter, HWND wnd, bool repaint);
// The scroll adapter's detach: like every adapter's, the bars freed and the
// frame recomputed (Detach is virtual, so DetachAdapter does the same).
template <class T>
void DetachScrollAdapter(bool freeAdapter, bool repaintFrame, std::unique_ptr<T>& adapter) {
    DetachAdapter(freeAdapter, repaintFrame, adapter);
}

// The horizontal (0) or vertical (1) bar of the window's scroll adapter.
TacScrollBar* FindScrollBar(HWND wnd, int kind);
// The minimum thumb length of both bars of the window's adapter.
void SetScrollBarMinThumb(HWND wnd, int length);
int MinThumbLength(HWND wnd, int kind);

// A bar's thickness (thickness true) or its arrows' length.
int GetScrollBarMetric(const TacScrollBar& bar, bool thickness, bool useSkin);
// The bars' rectangles in screen coordinates.
void GetHScrollRect(TacScrollWnd& adapter, HWND wnd, RECT& r);
void GetVScrollRect(TacScrollWnd& adapter, HWND wnd, RECT& r);
// Where a bar's parts lie (along its length in screen coordinates), from
// its rectangle and what the window tells of it: what painting,
// hit-testing and dragging all use.
TBarGeometry ScrollBarGeometry(TacScrollWnd& adapter, int kind, const RECT& barRect);
// The part of a bar under a screen point, -1 for none.
int ScrollBarPartAt(TacScrollWnd& adapter, int kind, POINT screen);
// Whether the bar takes presses.
bool ScrollBarEnabled(TacScrollWnd& adapter, int kind);
// Both bars re-read and, with repaint, painted (not while hidden, updating
// or while a form animation runs).
void RefreshScrollBars(TacScrollWnd& adapter, bool repaint);
// Both bars and the corner into dc (0: the window's DC).
void PaintScrollBars(TacScrollWnd& adapter, HWND wnd, HDC dc);
// One scroll request to the window, framed by sub-codes 51 and 52.
void SendScrollMessage(HWND wnd, UINT msg, int code, int pos);

}  // namespace kova::skin
