// A panel that paints itself from the skin. Its section ("PANEL" by
// default) follows its outer bevel between "PANEL", "PANEL_LOW" and
// "CHECKBOX" unless it was set by hand. A look of its own (opaque, or the
// panel's own colour) is painted straight into the DC: the skin's border,
// one fill colour (mixed with the parent's colour by the section's
// transparency), the caption. A look that follows the parent is painted
// into the cache over the parent's picture and copied around the child
// windows. Children asking for their background get the panel's.
#pragma once

#include <functional>
#include <memory>

#include "framework/extctrls.h"
#include "skin/core/commondata.h"

namespace kova::skin {

class TsPanel : public TPanel {
    KOVA_CLASS_PROPS(TsPanel, TPanel)
public:
    explicit TsPanel(TComponent* owner);
    ~TsPanel() override;
    TsCtrlSkinData* SkinData() const { return skinData_.get(); }
    void Loaded() override;

    // After the caption, on the canvas that was painted (the cache's when
    // the panel follows its parent, the screen's otherwise).
    std::function<void(TObject* Sender, TCanvas* Canvas)> OnPaint;

    // The caption room: the client rectangle inset by BorderWidth and
    // BevelWidth for each bevel that is not none.
    RECT CaptionRect() const;

protected:
    void WndProc(TMessage& m) override;
    void Paint() override;
    // A copy painted for someone else's DC (printing) takes the skin's
    // painting alone.
    void PaintWindow(HDC dc) override;
    // True when the skin painted the panel. With `broadcast` (and not while
    // a copy is painted) the child controls are told the panel's
    // background is ready (sub-code 6).
    virtual bool PaintSkinned(HDC dc, bool broadcast);
    virtual void PaintCaption(const RECT& r, TCanvas& canvas);

private:
    static void DefineProps(TPropList& L);
    bool Skinned() const;
    void FollowBevel();
    // The picture over the parent's, with caption and OnPaint, into the
    // cache.
    void PrepareCache(const TsParentImageInfo& bg);
    std::unique_ptr<TsCtrlSkinData> skinData_;
    // The last paint of a look that follows the parent saw only part of
    // the panel: the cache may hold a parent picture that was incomplete.
    bool clippedLastPaint_ = false;
    TBevelCut lastBevelOuter_ = bvRaised;
};

// TsPanel readable from form descriptions.
void RegisterPanelClass();

}  // namespace kova::skin
