// A first cut: no animation yet; windows change at once.
#include "skin/core/animations.h"

#include "skin/core/provider.h"

namespace kova::skin {

void AnimateFormShow(TsSkinProvider*, std::uint16_t, std::uint8_t, TacAnimType) {}
void AnimateDialogShow(TacDialogWnd*, std::uint16_t, std::uint8_t, TacAnimType) {}
void AnimateFormSkinChange(TControl*, std::uint16_t, std::uint8_t, TacAnimType) {}
void AnimateFormHide(TsSkinProvider*) {}
void AnimateDialogHide(TacDialogWnd*) {}
void StartHideAnimation(TForm* window, std::unique_ptr<TBitmap>, std::uint16_t, TacAnimType, std::uint8_t) {
    if (window) window->Free();
}
bool HideAnimationRunning() { return false; }

}  // namespace kova::skin
