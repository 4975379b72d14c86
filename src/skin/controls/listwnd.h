// Adapters of controls that draw their own content: list views (and their
// column header), grids (the framework's string grid and outside-party
// grids by their published colour properties) and tree views. They keep
// the skinned frame and scroll bars of the edit adapter and map the
// skin's colours into the control's own colours, which they give back
// when they leave.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/subclass.h"
#include "skin/controls/editwnd.h"

namespace kova::skin {

class TacListViewWnd : public TacEditWnd {
    KOVA_CLASS(TacListViewWnd, TacEditWnd)
public:
    // Marks the record as a list view's and takes over the header child
    // when there is one.
    TacListViewWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    ~TacListViewWnd() override;

    HWND HeaderWnd = nullptr;
    std::int32_t PressedColumn = -1;
    std::int32_t HotColumn = -1;
    std::int32_t HeaderHeight = 0;
    bool HeaderLButtonDown = false;
    COLORREF SavedTextBkColor = 0;

    void SaveStdParams() override;
    void RestoreStdParams() override;
    void SetSkinParams() override;
    void WndProc(TMessage& m) override;

    // 0 icon, 1 small icon, 2 list, 3 report.
    int ViewStyle() const;
    // The whole header into dc (0: the header's own DC).
    void PaintHeader(HDC dc);
    // A header column's text, whatever its length.
    std::string HeaderItemText(int index) const;

private:
    void HoldHeader(HWND header);
    void LetGoOfHeader();
    void HeaderProc(TMessage& m);
    void PaintHeaderItem(HDC dc, int index, const RECT& r);
    // The text, with the column's format, image and order in item.
    std::string HeaderItemText(int index, HDITEMA& item) const;
    TWindowSubclass headerSubclass_;
};

// The adapters that write the skin's colours into a control's own colour
// settings: only colours that were saved are written back. Each of them
// leaves the window in its own destructor, where its own colours are
// still given back.
class TacOwnColoursWnd : public TacEditWnd {
    KOVA_CLASS(TacOwnColoursWnd, TacEditWnd)
public:
    using TacEditWnd::TacEditWnd;

protected:
    // The control whose colours are about to be saved, marked saved; null
    // for none.
    TControl* OwnerToSave();
    // The control whose saved colours go back; null when none were saved
    // or it is being destroyed. The skin's colours count as taken off.
    TControl* OwnerToRestore();
    bool Saved = false;
};

class TacGridWnd : public TacOwnColoursWnd {
    KOVA_CLASS(TacGridWnd, TacOwnColoursWnd)
public:
    using TacOwnColoursWnd::TacOwnColoursWnd;
    ~TacGridWnd() override;
    // Each colour property the skin writes on this grid, by its path
    // ("LineColors.FixedColor"), with the value it had before: the skin
    // writes no property it has not saved, and gives back each it saved.
    std::vector<std::pair<std::string, TColor>> SavedColours;

    void SaveStdParams() override;
    void RestoreStdParams() override;
    void SetSkinParams() override;
    void WndProc(TMessage& m) override;
};

class TacTreeViewWnd : public TacOwnColoursWnd {
    KOVA_CLASS(TacTreeViewWnd, TacOwnColoursWnd)
public:
    using TacOwnColoursWnd::TacOwnColoursWnd;
    ~TacTreeViewWnd() override;
    void SaveStdParams() override;
    void RestoreStdParams() override;
    void SetSkinParams() override;
    void WndProc(TMessage& m) override;

private:
    COLORREF savedBk_ = CLR_NONE, savedText_ = CLR_NONE;
};

// An outside-party tree known by its published properties ("VETColors",
// "Header", "PaintInfoColumn"): its text colours and header colours
// follow the skin and come back.
class TacVirtualTreeViewWnd : public TacOwnColoursWnd {
    KOVA_CLASS(TacVirtualTreeViewWnd, TacOwnColoursWnd)
public:
    using TacOwnColoursWnd::TacOwnColoursWnd;
    ~TacVirtualTreeViewWnd() override;
    TColor SavedCompressedColor = 0, SavedFileColor = 0, SavedFolderColor = 0;
    TColor SavedInfoColumnColor = 0, SavedHeaderColor = 0, SavedHeaderFontColor = 0;
    // Whether the header's "Options" held "hoOwnerDraw" before the skin.
    bool SavedHeaderOwnerDraw = false;

    void SaveStdParams() override;
    void RestoreStdParams() override;
    void SetSkinParams() override;
    void WndProc(TMessage& m) override;

    // The header column described by the paint information, painted like
    // a list view's header item.
    void PaintHeaderColumn(struct TVTHeaderPaintInfo& info);

private:
    bool headerEventsSet_ = false;

};

// What a column header item shows.
struct THeaderItemLook {
    std::string Text;
    int Sort = 0;          // -1 ascending, 1 descending, 0 none
    UINT Align = HDF_LEFT; // HDF_LEFT, HDF_RIGHT or HDF_CENTER
    bool Wrap = false;     // the caption may take more lines
    HFONT Font = nullptr;  // null: the default GUI font
    int ImageWidth = 0;    // room kept at the left for the image
    // Draws the image into the item (its DC, the item's height, the push).
    std::function<void(HDC, int, int)> DrawImage;
};
// One column header item at r of dc: the "COLHEADER" item (or "BUTTON")
// in state 0 normal, 1 hot, 2 pressed over the control's colour, its
// image, caption and sort glyph; a pressed item pushes its caption by a
// pixel.
void PaintHeaderItemFace(HDC dc, const RECT& r, const TsSkinModel& skin, int state, TColor back,
                         const THeaderItemLook& look);

// What the outside-party tree hands its header-drawing events: where to
// paint, which column (null: the space right of the last one) and its
// state.
struct TVTHeaderPaintInfo {
    TCanvas* TargetCanvas = nullptr;
    RECT PaintRectangle{};
    TObject* Column = nullptr;
    bool IsHoverIndex = false, IsDownIndex = false;
};
// The tree's "OnHeaderDrawQueryElements" and "OnAdvancedHeaderDraw" events
// as the adapter binds them (the element set is a bit mask).
using TVTHeaderDrawQueryElementsEvent =
    std::function<void(TObject* Sender, TVTHeaderPaintInfo& PaintInfo, std::uint32_t& Elements)>;
using TVTAdvancedHeaderPaintEvent =
    std::function<void(TObject* Sender, TVTHeaderPaintInfo& PaintInfo, std::uint32_t Elements)>;
// The elements the adapter paints itself: background, caption, sort glyph
// and their states.
inline constexpr std::uint32_t kSkinnedHeaderElements = 27;

// The adapters by class, for the child-control adaptation's table: made,
// attached and given the skin's colours.
std::unique_ptr<TacMainWnd> CreateListViewAdapter(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                                  const std::string& section);
std::unique_ptr<TacMainWnd> CreateGridAdapter(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                              const std::string& section);
std::unique_ptr<TacMainWnd> CreateTreeViewAdapter(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                                  const std::string& section);
std::unique_ptr<TacMainWnd> CreateVirtualTreeAdapter(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                                     const std::string& section);

}  // namespace kova::skin
