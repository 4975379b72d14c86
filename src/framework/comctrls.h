// Page control with tab sheets, and the up-down control.
#pragma once

#include "framework/controls.h"

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

}  // namespace kova
