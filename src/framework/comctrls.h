// Page control with tab sheets, the up-down control and the status bar.
#pragma once

#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/stdctrls.h"

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

    TNotifyEvent OnChange;
    std::function<void(TObject* Sender, bool& AllowChange)> OnChanging;

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
    TCanvas canvas_;
};

}  // namespace kova
