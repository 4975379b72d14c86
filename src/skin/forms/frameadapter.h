// A framework frame skinned like a panel: the adapter is a component owned
// by the frame, chains itself into the frame's messages, paints the
// frame's background and border from its section ("GROUPBOX" unless one is
// stored) and hands the skin command message on to the frame's children.
// The child adaptation makes one for every frame it meets.
#pragma once

#include <windows.h>

#include <memory>
#include <stdexcept>

#include "framework/forms.h"
#include "framework/subclass.h"
#include "skin/core/commondata.h"

namespace kova::skin {

class TacScrollWnd;

// An adapter placed on something that is not a frame.
class EFrameAdapter : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TsFrameAdapter : public TComponent {
    KOVA_CLASS(TsFrameAdapter, TComponent)
public:
    // The owner must be the frame (EFrameAdapter otherwise).
    explicit TsFrameAdapter(TComponent* owner);
    // Gives the frame its own procedure back.
    ~TsFrameAdapter() override;

    std::unique_ptr<TsCommonData> SkinData;
    TCustomFrame* Frame = nullptr;
    std::unique_ptr<TacScrollWnd> ScrollAdapter;

    void Loaded() override;
    void FrameWndProc(TMessage& m);
    // The frame's look into the DC: its background colour with the
    // section's border when it is opaque, else the section over what the
    // parent shows.
    void PaintFrame(HDC dc);
    void PrepareFrameCache();
    // What the frame's children are to take as their background colour
    // (sub-code 21): 0xFF00FF while the frame follows its parent.
    TColor BackgroundColorForChildren();

private:
    bool Skinned() const;
    bool Opaque() const { return SkinData->PlainBackground(); }
    void Broadcast(TMessage& m);
    void SkinPopupMenus();
    TWindowSubclass proc_;
};

}  // namespace kova::skin
