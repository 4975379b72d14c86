// Page control with tab sheets, the up-down control, the status bar and
// the tool bar.
#pragma once

#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kova {

class TPageControl;

class TTabSheet : public TWinControl {
    KOVA_CLASS_PROPS(TTabSheet, TWinControl)
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    TPageControl* PageControl() const;
    void SetPageControl(TPageControl* p);
    int PageIndex() const;
    // Index among the visible tabs; -1 while the tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool v);

protected:
    void HandleMessage(TMessage& m) override;

private:
    static void DefineProps(TPropList& L);
    bool tabVisible_ = true;
};

class TPageControl : public TWinControl {
    KOVA_CLASS_PROPS(TPageControl, TWinControl)
public:
    explicit TPageControl(TComponent* AOwner);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int i) const { return pages_.at(static_cast<size_t>(i)); }
    TTabSheet* ActivePage() const { return active_; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int i);
    // The rectangle (in client coordinates) the sheets fill.
    RECT DisplayRect() const;
    void Loaded() override;

    // Tabs whose content OnDrawTab paints (on Canvas).
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool v);
    TCanvas* Canvas() { return &canvas_; }

    TNotifyEvent OnChange;
    std::function<void(TObject* Sender, bool& AllowChange)> OnChanging;
    std::function<void(TPageControl* Control, int TabIndex, const RECT& Rect, bool Active)> OnDrawTab;

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateHandleDone() override;
    void HandleMessage(TMessage& m) override;
    void AlignControls(RECT& r) override;

private:
    static void DefineProps(TPropList& L);
    void UpdateTabs();
    void ShowActive();
    std::vector<TTabSheet*> pages_;
    TTabSheet* active_ = nullptr;
    bool ownerDraw_ = false;
    TCanvas canvas_;
    friend class TTabSheet;
};

enum TUDBtnType { btNext, btPrev };
enum TUDOrientation { udHorizontal, udVertical };

class TUpDown : public TWinControl {
    KOVA_CLASS_PROPS(TUpDown, TWinControl)
public:
    explicit TUpDown(TComponent* AOwner);
    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int Position() const;
    void SetPosition(int v);
    int Increment() const { return increment_; }
    void SetIncrement(int v);
    bool Wrap() const { return wrap_; }
    void SetWrap(bool v) { wrap_ = v; RecreateWnd(); }
    TUDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TUDOrientation o) { orientation_ = o; RecreateWnd(); }
    TWinControl* Associate() const { return associate_; }
    void SetAssociate(TWinControl* c);

    std::function<void(TObject* Sender, TUDBtnType Button)> OnClick;
    std::function<void(TObject* Sender, bool& AllowChange)> OnChanging;

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateHandleDone() override;
    void HandleMessage(TMessage& m) override;
    void Notification(TComponent* c, TOperation op) override;

private:
    static void DefineProps(TPropList& L);
    int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
    bool wrap_ = false;
    TUDOrientation orientation_ = udVertical;
    TWinControl* associate_ = nullptr;
};

enum TStatusPanelStyle { psText, psOwnerDraw };

class TStatusBar;

// One part of a status bar; a change shows at once.
class TStatusPanel : public TObject {
    KOVA_CLASS(TStatusPanel, TObject)
public:
    explicit TStatusPanel(TStatusBar* bar) : bar_(bar) {}
    const std::string& Text() const { return text_; }
    void SetText(const std::string& t);
    int Width() const { return width_; }
    void SetWidth(int w);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    // Owner-drawn panels are painted by the bar's OnDrawPanel.
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle s);
    int Index() const;

private:
    TStatusBar* bar_;
    std::string text_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
    TStatusPanelStyle style_ = psText;
};

// The system's status bar: panels side by side (the last one takes the
// rest), or in simple mode one text over the whole bar.
class TStatusBar : public TWinControl {
    KOVA_CLASS_PROPS(TStatusBar, TWinControl)
public:
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;
    int PanelCount() const { return static_cast<int>(panels_.size()); }
    TStatusPanel* Panels(int i) const { return panels_.at(static_cast<size_t>(i)).get(); }
    TStatusPanel* AddPanel();
    void ClearPanels();
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool v);
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& t);
    // The canvas OnDrawPanel paints on.
    TCanvas* Canvas() { return &canvas_; }
    // A band of this width around the bar, outside its client area.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int w);

    std::function<void(TStatusBar* Sender, TStatusPanel* Panel, const RECT& Rect)> OnDrawPanel;

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateHandleDone() override;
    void HandleMessage(TMessage& m) override;

private:
    static void DefineProps(TPropList& L);
    void UpdatePanels();
    friend class TStatusPanel;
    std::vector<std::unique_ptr<TStatusPanel>> panels_;
    bool simplePanel_ = false;
    std::string simpleText_;
    int borderWidth_ = 0;
    TCanvas canvas_;
};

// ---- Tab control -------------------------------------------------------------

// The system's tab control without pages: a row of tabs, one selected;
// tab i shows image i of Images.
class TTabControl : public TWinControl {
    KOVA_CLASS_PROPS(TTabControl, TWinControl)
public:
    explicit TTabControl(TComponent* AOwner);
    const std::vector<std::string>& Tabs() const { return tabs_; }
    void SetTabs(const std::vector<std::string>& tabs);
    int TabIndex() const;
    void SetTabIndex(int i);
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* l);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateHandleDone() override;
    void HandleMessage(TMessage& m) override;

private:
    static void DefineProps(TPropList& L);
    void UpdateTabs();
    std::vector<std::string> tabs_;
    int tabIndex_ = -1;
    TImageList* images_ = nullptr;
};

// ---- List view -------------------------------------------------------------

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

// The system's list view: columns (report view) and items with their
// column texts; SmallImages serves the small icons and column images.
class TListView : public TWinControl {
    KOVA_CLASS_PROPS(TListView, TWinControl)
public:
    explicit TListView(TComponent* AOwner);
    // imageIndex: an image of SmallImages in the column's header (-1: none).
    int AddColumn(const std::string& caption, int width, int imageIndex = -1);
    int AddItem(const std::string& caption, const std::vector<std::string>& subItems = {});
    int ItemCount() const { return static_cast<int>(items_.size()); }
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle v);
    TImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TImageList* l);

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateHandleDone() override;

private:
    static void DefineProps(TPropList& L);
    struct TColumn {
        std::string Caption;
        int Width = 50, ImageIndex = -1;
    };
    void InsertColumn(int i);
    void InsertItem(int i);
    std::vector<TColumn> columns_;
    std::vector<std::vector<std::string>> items_;
    TViewStyle viewStyle_ = vsIcon;
    TImageList* smallImages_ = nullptr;
};

// ---- Tree view -------------------------------------------------------------

// The system's tree view. OnCustomDraw is asked before the tree paints
// (on Canvas); with DefaultDraw cleared the tree draws nothing itself.
class TTreeView : public TWinControl {
    KOVA_CLASS_PROPS(TTreeView, TWinControl)
public:
    explicit TTreeView(TComponent* AOwner);
    ~TTreeView() override;
    // A new item under parent (null: at the top), its handle.
    HTREEITEM AddItem(HTREEITEM parent, const std::string& text);
    TCanvas* Canvas() { return &canvas_; }

    std::function<void(TTreeView* Sender, const RECT& ARect, bool& DefaultDraw)> OnCustomDraw;

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleMessage(TMessage& m) override;

private:
    static void DefineProps(TPropList& L);
    TCanvas canvas_;
};

// ---- Tool bar --------------------------------------------------------------

// Separators and dividers come after the clickable styles.
enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
// The system's custom-draw item state bits (CDIS_*).
using TCustomDrawState = std::uint32_t;
// What the tool bar's own painting leaves out of a button a handler drew.
enum TTBCustomDrawFlag : std::uint32_t {
    tbNoEdges = 0x01,
    tbHiliteHotTrack = 0x02,
    tbNoOffset = 0x04,
    tbNoMark = 0x08,
    tbNoEtchedEffect = 0x10,
};
using TTBCustomDrawFlags = std::uint32_t;

class TToolBar;

// The sides of a tool bar that carry an edge, and how an edge looks.
enum TEdgeBorder : std::uint32_t { ebLeft = 1u << 0, ebTop = 1u << 1, ebRight = 1u << 2, ebBottom = 1u << 3 };
using TEdgeBorders = std::uint32_t;
enum TEdgeStyle { esNone, esRaised, esLowered };

// One button of a tool bar (no window of its own: the system's tool bar
// draws and hit-tests it). A change shows at once.
class TToolButton : public TObject {
    KOVA_CLASS(TToolButton, TObject)
public:
    explicit TToolButton(TToolBar* bar) : bar_(bar) {}
    TToolBar* ToolBar() const { return bar_; }
    int Index() const;
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle s);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    // A check button's state.
    bool Down() const { return down_; }
    void SetDown(bool v);
    // Neither on nor off: looks pressed and disabled.
    bool Indeterminate() const { return indeterminate_; }
    void SetIndeterminate(bool v);
    // Highlighted: looks pressed.
    bool Marked() const { return marked_; }
    void SetMarked(bool v);
    // Held down by the mouse (the system's pressed state).
    bool Pressed() const;
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    // The menu a drop-down button opens from its arrow.
    TPopupMenu* DropdownMenu = nullptr;
    TNotifyEvent OnClick;
    // The button's place in the tool bar's client area (empty while the
    // bar has no window).
    RECT BoundsRect() const;
    int Left() const { return BoundsRect().left; }
    int Top() const { return BoundsRect().top; }
    int Width() const;
    int Height() const;

private:
    friend class TToolBar;
    TToolBar* bar_;
    std::string caption_;
    int imageIndex_ = -1;
    TToolButtonStyle style_ = tbsButton;
    bool enabled_ = true, down_ = false, indeterminate_ = false, marked_ = false, visible_ = true;
};

// The system's tool bar with framework buttons. The advanced custom-draw
// events let another painter draw the background and each button; the
// tool bar tells its own window (WM_USER + 0x1000) when a drop-down menu
// has closed.
class TToolBar : public TWinControl {
    KOVA_CLASS_PROPS(TToolBar, TWinControl)
public:
    static constexpr UINT DropDownClosed = WM_USER + 0x1000;
    explicit TToolBar(TComponent* AOwner);
    ~TToolBar() override;
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TToolButton* Buttons(int i) const { return buttons_.at(static_cast<size_t>(i)).get(); }
    TToolButton* AddButton(TToolButtonStyle style = tbsButton);
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* l);
    TImageList* HotImages() const { return hotImages_; }
    void SetHotImages(TImageList* l);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool v);
    // Captions beside the images instead of under them.
    bool List() const { return list_; }
    void SetList(bool v);
    int ButtonWidth() const { return buttonWidth_; }
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonSize(int w, int h);
    TCanvas* Canvas() { return &canvas_; }
    // Edges on the chosen sides (one pixel for each of the inner and outer
    // edge that is not esNone) and a band of BorderWidth all round: the
    // bar's non-client area.
    TEdgeBorders EdgeBorders() const { return edgeBorders_; }
    void SetEdgeBorders(TEdgeBorders e);
    TEdgeStyle EdgeInner() const { return edgeInner_; }
    void SetEdgeInner(TEdgeStyle e);
    TEdgeStyle EdgeOuter() const { return edgeOuter_; }
    void SetEdgeOuter(TEdgeStyle e);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int w);
    // The non-client widths on each side.
    RECT FrameInsets() const;

    std::function<void(TToolBar* Sender, const RECT& ARect, TCustomDrawStage Stage, bool& DefaultDraw)>
        OnAdvancedCustomDraw;
    std::function<void(TToolBar* Sender, TToolButton* Button, TCustomDrawState State, TCustomDrawStage Stage,
                       TTBCustomDrawFlags& Flags, bool& DefaultDraw)>
        OnAdvancedCustomDrawButton;

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateHandleDone() override;
    void HandleMessage(TMessage& m) override;

private:
    static void DefineProps(TPropList& L);
    friend class TToolButton;
    void RebuildButtons();
    LRESULT CustomDraw(NMTBCUSTOMDRAW& cd);
    void DropDown(int index);
    std::vector<std::unique_ptr<TToolButton>> buttons_;
    TImageList* images_ = nullptr;
    TImageList* hotImages_ = nullptr;
    bool showCaptions_ = false, list_ = false;
    int buttonWidth_ = 23, buttonHeight_ = 22;
    TEdgeBorders edgeBorders_ = 0;
    TEdgeStyle edgeInner_ = esRaised, edgeOuter_ = esLowered;
    int borderWidth_ = 0;
    TCanvas canvas_;
};

}  // namespace kova
