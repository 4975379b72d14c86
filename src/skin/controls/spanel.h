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
    KOVA_CLASS(TsPanel, TPanel)
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
    // True when the skin painted the panel.
    virtual bool PaintSkinned(HDC dc);
    virtual void PaintCaption(const RECT& r, TCanvas& canvas);

private:
    bool Skinned() const;
    void FollowBevel();
    std::unique_ptr<TsCtrlSkinData> skinData_;
    TBevelCut lastBevelOuter_ = bvRaised;
};

}  // namespace kova::skin
