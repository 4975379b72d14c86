// The framework tool bar on a skinned form. The adapter takes over the
// tool bar's advanced custom-draw events, so that the system's own
// painting of the bar calls back into the skin for its background and for
// every button; it tracks the button under the mouse itself and keeps a
// drop-down button's arrow pressed while its menu is open. When the skin
// goes the events are let go and the bar paints as the system does.
#pragma once

#include <string>

#include "framework/comctrls.h"
#include "skin/controls/adapters.h"

namespace kova::skin {

class TacToolBarVCLWnd : public TacMainWnd {
    KOVA_CLASS(TacToolBarVCLWnd, TacMainWnd)
public:
    // The section becomes "TOOLBAR" when none is given; a framework tool
    // bar that owns the record has its events taken over.
    TacToolBarVCLWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    // The events are given back before the adapter goes.
    ~TacToolBarVCLWnd() override;
    void WndProc(TMessage& m) override;

    TToolBar* ToolBar = nullptr;
    TToolButton* DroppedButton = nullptr;
    int HotIndex = -1;

    void ToolBarCustomDraw(TToolBar* sender, const RECT& rect, TCustomDrawStage stage, bool& defaultDraw);
    void ToolButtonCustomDraw(TToolBar* sender, TToolButton* button, TCustomDrawState state, TCustomDrawStage stage,
                              TTBCustomDrawFlags& flags, bool& defaultDraw);

    // The client area in window coordinates.
    RECT ClientInWindow() const;
    // The border strips around the client area from the cache (nothing
    // when the client area fills the window); a null DC: the window's.
    void PaintBorders(HDC given);

private:
    // The cache under the client rectangle `area` (client coordinates)
    // into the DC, around the child controls that cover their own place.
    void PaintBackground(HDC dc, const RECT& client, const RECT& area);
    // The colour of a caption: from the section that paints under the
    // buttons, else the tool button's own.
    TColor CaptionColour(int state) const;
    void HookEvents();
    void UnhookEvents();
    void PrepareCache();
    void RepaintButton(int index);
    void TrackHot(POINT at);
    bool hooked_ = false;
};

}  // namespace kova::skin
