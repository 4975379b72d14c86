// Timer, panel, image, speed button and radio group.
#pragma once

#include "framework/controls.h"
#include "framework/stdctrls.h"

namespace kova {

// A repeating window timer on the GUI thread.
class TTimer : public TComponent {
    KOVA_CLASS_PROPS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    // Milliseconds; a change while running restarts the period.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    TNotifyEvent OnTimer;
    void Loaded() override;

private:
    static void DefineProps(TPropList& L);
    void Update();
    HWND wnd_ = nullptr;
    bool enabled_ = true;
    unsigned interval_ = 1000;
    bool running_ = false;
};

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TCustomControl {
    KOVA_CLASS_PROPS(TPanel, TCustomControl)
public:
    explicit TPanel(TComponent* AOwner);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut b);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut b);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int w);
    // The band between the outer and the inner bevel (0: none).
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int w);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);

protected:
    void Paint() override;

private:
    static void DefineProps(TPropList& L);
    TBevelCut bevelInner_ = bvNone, bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TAlignment alignment_ = taCenter;
};

class TImage : public TGraphicControl {
    KOVA_CLASS_PROPS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* AOwner);
    TPicture* Picture() { return &picture_; }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    // The picture's bitmap pixel (0xAARRGGBB word as stored), 0 outside.
    std::uint32_t PixelAt(int x, int y);

protected:
    void Paint() override;

private:
    static void DefineProps(TPropList& L);
    void PictureChanged();
    TPicture picture_;
    bool stretch_ = false, center_ = false, autoSize_ = false;
};

// A flat button drawn by its parent; with GroupIndex and AllowAllUp it
// works as a toggle (Down).
class TSpeedButton : public TGraphicControl, public TButtonGlyph {
    KOVA_CLASS_PROPS(TSpeedButton, TGraphicControl)
public:
    explicit TSpeedButton(TComponent* AOwner);
    bool Down() const { return down_; }
    void SetDown(bool v);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int g) { groupIndex_ = g; }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v) { allowAllUp_ = v; }
    bool Flat() const { return flat_; }
    void SetFlat(bool v) { flat_ = v; Invalidate(); }
    void Click() override;

protected:
    void Paint() override;
    void HandleMessage(TMessage& m) override;

private:
    static void DefineProps(TPropList& L);
    bool down_ = false, pressed_ = false, allowAllUp_ = false, flat_ = false;
    int groupIndex_ = 0;
};

// A group box of radio buttons made from Items.
class TRadioGroup : public TGroupBox, private TItemList::Sink {
    KOVA_CLASS_PROPS(TRadioGroup, TGroupBox)
public:
    explicit TRadioGroup(TComponent* AOwner);
    ~TRadioGroup() override;
    TItemList* Items() { return &items_; }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int i);
    int Columns() const { return columns_; }
    void SetColumns(int c);
    TRadioButton* Buttons(int i) const { return buttons_.at(static_cast<size_t>(i)); }
    void Loaded() override;

protected:
    void BoundsChanged() override;

private:
    static void DefineProps(TPropList& L);
    void ItemsInserted(int, const std::string&) override { Rebuild(); }
    void ItemsDeleted(int) override { Rebuild(); }
    void ItemsCleared() override { Rebuild(); }
    void ItemsReset() override { Rebuild(); }
    void Rebuild();
    void ArrangeButtons();
    TItemList items_;
    std::vector<TRadioButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
};

}  // namespace kova
