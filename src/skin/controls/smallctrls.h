// Window adapters for the small native controls: the size grip, the
// up-down control and the track bar. Each paints the whole control from
// the skin into the record's cache (over what the parent shows under it)
// and copies that to the window; the control's own procedure keeps the
// behaviour (clicks, positions, notifications).
#pragma once

#include <string>

#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "skin/controls/adapters.h"
#include "skin/controls/portable/smallgeometry.h"

namespace kova::skin {

// A window's client area in its own window coordinates (inside its
// non-client edges and bands).
RECT ClientRectInWindow(HWND wnd);
// The record's cache around `inner` (window coordinates) into the DC, or
// into the window's own DC when none is given: a frame from the cache.
void CopyCacheAround(HWND wnd, const TsCommonData& d, const RECT& inner, HDC given);

// A size grip: the skin's grip image in the bottom-right corner over the
// parent's background; the whole window answers as the sizing corner.
class TacSizerWnd : public TacMainWnd {
    KOVA_CLASS(TacSizerWnd, TacMainWnd)
public:
    using TacMainWnd::TacMainWnd;
    void WndProc(TMessage& m) override;

private:
    void Paint(HDC given);
};

// An up-down control (msctls_updown32): two halves, each a button of the
// record's section in its own state (the half under the mouse hot, or
// pressed while the left button is down), with the skin's arrow in it.
class TacSpinWnd : public TacMainWnd {
    KOVA_CLASS(TacSpinWnd, TacMainWnd)
public:
    using TacMainWnd::TacMainWnd;
    void WndProc(TMessage& m) override;
    virtual bool IsVertical() const;

    int LeftOffset = 0;
    bool MouseDown = false;
    int FirstState = 0, SecondState = 0;  // 0 normal, 1 hot, 2 pressed

private:
    void Paint(HDC given);
    void Prepare();
    void Redraw();
};

// A track bar (msctls_trackbar32): the section, the channel, the ticks
// and the thumb from the "TRACKBAR" section.
class TacTrackWnd : public TacMainWnd {
    KOVA_CLASS(TacTrackWnd, TacMainWnd)
public:
    using TacMainWnd::TacMainWnd;
    void WndProc(TMessage& m) override;
    virtual bool IsVertical() const;

    bool Pressed = false;
    int TrackIndex = -1;
    int TickLength = 4;
    double TickStep = 0;

private:
    void Paint(HDC given);
    void Prepare();
};

}  // namespace kova::skin

namespace kova::skin {

// A native tool bar (ToolbarWindow32): the bar from its skin record, every
// button from "TOOLBUTTON" in its state (pressed, under the mouse, or
// normal; a disabled one faded), separators from "DIVIDER", then the
// button's image and caption; the client-edge frame from the cache.
class TacToolBarWnd : public TacMainWnd {
    KOVA_CLASS(TacToolBarWnd, TacMainWnd)
public:
    using TacMainWnd::TacMainWnd;
    void WndProc(TMessage& m) override;

    RECT ClientRect{};
    int FrameOffset = 0;

private:
    void Prepare();
    void PaintInto(HDC dc);
    void PaintButton(TBitmap& work, int index, int frame);
    void PaintFrame();
};

// A native tool button's caption by command id, asked for its length
// first so that no caption is cut or read past its end; empty for none.
std::string ToolButtonText(HWND bar, int command);

}  // namespace kova::skin

namespace kova::skin {

// A framework panel's bevel as the panel geometry names it.
TPanelBevel BevelOf(TBevelCut b);

// A framework panel: its section (chosen from its bevels when none is
// given) painted over what its parent shows, its caption on top; painted
// on erase, so children over it are left out. Only container panels are
// skinned; any other control passes through.
class TacPanelWnd : public TacMainWnd {
    KOVA_CLASS(TacPanelWnd, TacMainWnd)
public:
    TacPanelWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    void WndProc(TMessage& m) override;
    virtual void PrepareCache();
    virtual void PaintInto(HDC given);

    TPanel* Panel = nullptr;

private:
    void PaintFrame(HDC given);
};

}  // namespace kova::skin

namespace kova::skin {

// A status bar: the bar from its section ("STATUSBAR" by default), each
// part framed by the section's panel mask or, without one, every part but
// the last closed by a divider; in simple mode one panel over the whole
// bar. A native bar (no framework object) shows no panel texts.
class TacStatusBarWnd : public TacMainWnd {
    KOVA_CLASS(TacStatusBarWnd, TacMainWnd)
public:
    TacStatusBarWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    void WndProc(TMessage& m) override;

    TStatusBar* StatusBar = nullptr;

private:
    void PrepareCache();
    // Frame or divider, then the owner's drawing or the panel's text.
    void PaintPanel(int index, TRect r, bool simple, int count);
    void PaintPanelFrame(int index, TRect r, bool simple, int count);
    std::string PanelText(int index, bool simple) const;
    // `whole`: the DC spans the window (printing), else the client area.
    void PaintBar(HDC given, bool whole);
    // A framework bar's border band from the cache.
    void PaintBorders(HDC given);
    // The client area inside the window, read when the cache is made.
    RECT client_{};
};

}  // namespace kova::skin

namespace kova::skin {

// A panel that shows its parent through it: on every erase its cache is
// rebuilt from its section over what the parent shows and copied around
// its visible child windows.
class TacTransPanelWnd : public TacMainWnd {
    KOVA_CLASS(TacTransPanelWnd, TacMainWnd)
public:
    using TacMainWnd::TacMainWnd;
    void WndProc(TMessage& m) override;
    virtual void PaintFromMessage(TMessage& m);
};

}  // namespace kova::skin
