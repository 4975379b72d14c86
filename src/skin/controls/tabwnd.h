// Tab and page control adapters: native tab controls and the framework's
// page control are painted whole from the skin (tab strip, tabs, page
// frame) into the record's cache and copied to the window in one piece;
// the selected tab is painted last, over the frame. The up-down arrows a
// single-line control shows when its tabs overflow get an adapter of their
// own, and every page window on such a control gets a page adapter that
// paints it over the control's face.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "skin/controls/adapters.h"

namespace kova {
class TTabSheet;
}

namespace kova::skin {

// Tab position from the window style: 0 top, 1 bottom, 2 left, 3 right.
int TabPositionOfStyle(DWORD style);
// Tab style from the window style: 0 tabs, 1 buttons, 2 flat buttons.
int TabStyleOfStyle(DWORD style);

// The adapter of the up-down child of a tab control: a spin adapter with
// section "UPDOWNBTN" made by this maker.
using TSpinAdapterMaker = std::function<std::unique_ptr<TacMainWnd>(HWND spin, TsSkinManager* manager)>;
TSpinAdapterMaker& SpinAdapterMaker();

class TacTabControlWnd : public TacMainWnd {
    KOVA_CLASS(TacTabControlWnd, TacMainWnd)
public:
    // An empty section makes the record's section "PAGECONTROL".
    TacTabControlWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    ~TacTabControlWnd() override;

    std::unique_ptr<TacMainWnd> SpinAdapter;

    void WndProc(TMessage& m) override;
    void Detach(bool repaintFrame) override;

    // The page area (TCM_ADJUSTRECT, two pixels lower at the top).
    virtual void DisplayRect(RECT& r);
    // The frame around the pages: the side facing the tabs cut at the
    // display area.
    virtual void PageFrameRect(RECT& r);
    // What lies outside the frame on the tabs' side.
    void TabStripRect(RECT& r);
    // The rectangle a tab is painted in; empty for an index out of range.
    RECT TabItemRect(int index, bool selected);
    // The row of a tab, counted from the outer edge inward (1 with fewer
    // than two rows, or when the item has no size).
    int TabRowOf(int index);

    int TabCount() const;
    int SelectedTab() const;
    // A tab's text, whatever its length.
    std::string TabText(int index) const;
    int TabPosition() const;
    int TabStyle() const;

    // The whole face into dc (printing: dc is the caller's, its state is
    // kept).
    void PaintTabControl(HDC dc, bool printing);
    // The up-down child's adapter made or freed to match the window.
    void UpdateSpinAdapter();

protected:
    bool Skinned() const { return ActiveManager() != nullptr; }
    // The procedure of the tab control itself.
    void TabWndProc(TMessage& m);

private:
    // The text, with the tab's image and state in item.
    std::string TabText(int index, TCITEMA& item) const;
    void SplitAtFrame(RECT& r, bool strip);
    void PaintTabStrip(const TsParentImageInfo& parentImage);
    void PaintSelectedTab(int index, int state, HDC dc);
    void PaintTab(int index, int state, POINT offset, TBitmap& target);
    void PaintTabContent(int index, int state, int section, RECT r, TBitmap& target, const std::string& text,
                         int image);
    SIZE storedSize_{};
};

class TacPageControlWnd : public TacTabControlWnd {
    KOVA_CLASS(TacPageControlWnd, TacTabControlWnd)
public:
    using TacTabControlWnd::TacTabControlWnd;
    void WndProc(TMessage& m) override;
    // Every page window that has no adapter gets one.
    void AdaptPages();
};

class TacPageWnd : public TacMainWnd {
    KOVA_CLASS(TacPageWnd, TacMainWnd)
public:
    TacPageWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    TTabSheet* PageObject = nullptr;
    void WndProc(TMessage& m) override;
    // The page into dc from the control's background below it.
    void PaintPageWindow(HDC dc);
};

// The page adapters made for page windows; an adapter leaves the list and
// is freed when its page window goes.
int PageAdapterCount();
TacPageWnd* PageAdapterOf(HWND page);

// The adapters by class, for the child-control adaptation's table.
std::unique_ptr<TacMainWnd> CreateTabControlAdapter(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                                    const std::string& section);
std::unique_ptr<TacMainWnd> CreatePageControlAdapter(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                                     const std::string& section);

}  // namespace kova::skin
