// A control's glow: its halo picture in a borderless, layered,
// click-through window just around the control, owned by the control's
// form so that it stays with it. Glows are known to callers by their slot
// in one list; hidden glows leave an empty slot until ClearGlows.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "framework/forms.h"
#include "skin/core/model/skinmodel.h"

namespace kova::skin {

// Tag of the windows the skinning units make for themselves: never skinned.
inline constexpr int kSkinOwnWindowTag = -98;

class TacGlowWindow : public TForm {
    KOVA_CLASS(TacGlowWindow, TForm)
public:
    explicit TacGlowWindow(TComponent* owner);
    HWND OwnerWnd = nullptr;

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleMessage(TMessage& m) override;
};

// Shows the glow of section's image entry name + "0" around controlRect
// (screen coordinates; clipRect the visible part of the control, relative
// to it). Returns its slot, or -1 when layered windows are missing, the
// skin has no such image or the halo would have no area.
int ShowGlow(TsSkinModel& skin, const RECT& controlRect, const RECT& clipRect, const std::string& section,
             const std::string& name, int margin, HWND parentWnd);
// Frees the glow of a slot; out-of-range or empty slots are ignored.
void HideGlow(int index);
// Frees every glow and empties the list.
void ClearGlows();
std::size_t GlowSlots();
// The window of a slot's glow; nullptr for an empty slot.
HWND GlowWindowOf(int index);

}  // namespace kova::skin
