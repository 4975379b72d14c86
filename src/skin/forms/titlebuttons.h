// The buttons of a skinned caption: close, maximise (restore while
// maximised), minimise (restore while minimised), help and the user's own
// title buttons. Their images come from the skin, they are laid out from the
// caption's right edge and painted into the provider's cache while it is
// composed; one button is repainted alone when its state changes (hot,
// pressed, normal), with its glow. The hit test over them is the form
// message handler's (formhandler.h).
#pragma once

#include <windows.h>

#include "framework/controls.h"

namespace kova::skin {

class TsSkinProvider;
struct TsCaptionButton;
class TsTitleButton;

// Hit codes of the title buttons beyond the system's: the MDI child's
// buttons in the menu line, and user title button i at kUserButtonHit + i.
inline constexpr int kMDICloseHit = 101;
inline constexpr int kMDIRestoreHit = 102;
inline constexpr int kMDIMinHit = 103;
inline constexpr int kUserButtonHit = 1000;

// The record of a system or MDI button by its hit code (nullptr for other
// codes, user buttons included).
TsCaptionButton* CaptionButtonOf(TsSkinProvider& p, int hitCode);
// The system buttons shown (0 unless the provider took them over).
int StdButtonCount(TsSkinProvider& p);
// One image width of the button's mask, 21 without a valid image.
int StdButtonWidth(TsSkinProvider& p, const TsCaptionButton& button);
// One image height of the close button's mask (21 without): every title
// button's height.
int CloseButtonHeight(TsSkinProvider& p);
// The larger of the glyph's width + 2 and one "TITLEBUTTON" image width.
int UserButtonWidth(TsSkinProvider& p, TsTitleButton& button);
// The caption width the buttons take, the right margin included.
int TitleButtonsWidth(TsSkinProvider& p);
// The gap between two buttons (the skin's spacing on big buttons only).
int TitleButtonGap(TsSkinProvider& p);

// Chooses the skin images of the system and MDI buttons.
void InitTitleButtonMasks(TsSkinProvider& p);
// Lays out and paints every caption button into the cache.
void PaintTitleButtons(TsSkinProvider& p);
// A maximised MDI child's minimise, restore and close buttons at the right
// of the menu line's last row (hit codes kMDIMinHit .. kMDICloseHit).
void PaintMDIButtons(TsSkinProvider& p);
// Repaints one button (by hit code) after its State changed: into the
// cache over the kept strip, then onto the window; shows or hides its glow.
void RepaintTitleButton(TsSkinProvider& p, int hitCode);
// What a user title button's OnMouseDown and OnMouseUp are called with.
void CallTitleButtonMouse(TsTitleButton& button, bool down, POINT screenPoint);

}  // namespace kova::skin
