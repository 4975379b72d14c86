// The skinned single-line edit that editors create at run time for their
// rows: an edit of the framework's edit family that draws its frame and,
// while it is not being edited, its whole face (text included, a password
// masked with its character) from the skin; while focused or under the
// mouse the native edit paints it, with caret and selection. Without a
// skin it is a plain edit.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/stdctrls.h"
#include "skin/core/boundlabel.h"
#include "skin/core/commondata.h"

namespace kova::skin {

// How a disabled edit looks: blended with what lies under it, greyed.
enum TsDisabledKindFlag : std::uint8_t { dkBlended = 1, dkGrayed = 2 };
using TsDisabledKind = std::uint8_t;

class TsEdit : public TEdit {
    KOVA_CLASS(TsEdit, TEdit)
public:
    explicit TsEdit(TComponent* owner);
    ~TsEdit() override;

    TsDisabledKind DisabledKind() const { return disabledKind_; }
    void SetDisabledKind(TsDisabledKind value);
    TsCtrlSkinData* SkinData() const { return skinData_.get(); }
    TsBoundLabel* BoundLabel() const { return boundLabel_.get(); }
    void Loaded() override;

    // The whole face painted into the skin record's cache.
    virtual void PrepareCache();
    // The text (or its mask) into the cache.
    virtual void PaintText();
    // The frame's width: what the window keeps around its client area.
    // One rule for the strips copied, the text's inset and printing.
    int FrameWidth() const;
    // The edit lay partly outside its parent at its last paint.
    bool PartlyOutside() const { return partlyOutside_; }

protected:
    void WndProc(TMessage& m) override;

private:
    bool Skinned() const;
    void PaintFromCache(HDC given);
    void PaintFrame();
    void AfterMessage(TMessage& m);
    void Repaint();
    std::unique_ptr<TsCtrlSkinData> skinData_;
    std::unique_ptr<TsBoundLabel> boundLabel_;
    TsDisabledKind disabledKind_ = dkBlended;
    bool partlyOutside_ = false;
    // The window has painted its frame since it was made: until then a
    // change only marks it for the first paint, which draws everything.
    bool painted_ = false;
};

// TsEdit readable from form descriptions.
void RegisterEditClass();

}  // namespace kova::skin
