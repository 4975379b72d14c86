// Where the parts of the small skinned controls lie: a speed button's glyph
// and caption, a tool button's image and caption, the two halves of an
// up-down control, a track bar's ticks, and which skin section a panel's
// bevels call for. Painting and hit-testing both take their places from
// here, so what the user sees is what the mouse hits. Window-free.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "skin/core/portable/skintypes.h"

namespace kova::skin {

// Half of a length, the odd pixel going to the half it is added to
// (x div 2 + x mod 2, truncating toward zero as the controls' own sums do).
constexpr int HalfUp(int x) { return x / 2 + x % 2; }

// ---- Speed buttons ---------------------------------------------------------

enum TGlyphLayout { glGlyphLeft, glGlyphRight, glGlyphTop, glGlyphBottom };

struct TSpeedButtonLayoutInput {
    int Width = 0, Height = 0;
    // The glyph's one image (the bitmap's width / NumGlyphs); 0 x 0 for none.
    int GlyphWidth = 0, GlyphHeight = 0;
    // The caption's measured size; 0 x 0 for none.
    int CaptionWidth = 0, CaptionHeight = 0;
    TGlyphLayout Layout = glGlyphLeft;
    // -1: glyph and caption centred together.
    int Margin = -1;
    int Spacing = 4;
    // The button shows pressed (state 2): both move by (1, 1).
    bool Pressed = false;
};

struct TSpeedButtonLayout {
    TRect Glyph;    // empty when there is no glyph
    TRect Caption;  // empty when there is no caption
};

TSpeedButtonLayout LayoutSpeedButton(const TSpeedButtonLayoutInput& in);

// The glyph's image width out of a strip of numGlyphs images (a strip of
// zero images counts as one, so no division by zero).
int GlyphImageWidth(int bitmapWidth, int numGlyphs);

// ---- Tool buttons ----------------------------------------------------------

// Custom-draw state bits as the system hands them.
enum : std::uint32_t {
    cdsSelected = 0x01,
    cdsGrayed = 0x02,
    cdsDisabled = 0x04,
    cdsChecked = 0x08,
    cdsFocused = 0x10,
    cdsDefault = 0x20,
    cdsHot = 0x40,
    cdsMarked = 0x80,
    cdsIndeterminate = 0x100,
};

// The painting state of a tool button's image (0 normal, 1 hot, 2 pressed):
// nothing or only disabled: 0; selected or checked: 2; else 1. With
// pressedLook (the button's own pressed or indeterminate flags) always 2.
int ToolButtonState(std::uint32_t customDrawState, bool pressedLook = false);

// The image list a tool button draws from: the hot list when the state is
// not 0 and the hot list holds the image.
bool UseHotImages(int state, bool hasHotImages, int hotImageCount, int imageIndex);

struct TToolGlyphInput {
    int ButtonWidth = 0, ButtonHeight = 0;
    int ImageWidth = 0, ImageHeight = 0;
    bool ListStyle = false;   // image beside the caption
    bool DropDown = false;    // the button carries an arrow part
    bool ShowCaptions = false;
    int TextHeight = 0;       // height of "A" in the tool bar's font
    int State = 0;
};
TRect ToolButtonGlyphRect(const TToolGlyphInput& in);

struct TToolCaptionInput {
    int ButtonWidth = 0, ButtonHeight = 0;
    int ArrowWidth = 0;       // the drop-down arrow part, 0 without one
    bool ListStyle = false;
    bool HasImage = false;    // images and an ImageIndex > -1
    int ImageWidth = 0, ImageHeight = 0;
    int TextWidth = 0;        // the caption's width
    int TextHeight = 0;       // height of "A"
    int State = 0;
};
TRect ToolButtonCaptionRect(const TToolCaptionInput& in);

// A tool-button caption that does not fit the width on one line, split at
// the last space whose first part fits; Rest is empty when the caption
// stays on one line (it fits, or no first part at a space fits).
struct TCaptionLines {
    std::string First, Rest;
};
TCaptionLines SplitToolButtonCaption(const std::string& text, int width,
                                     const std::function<int(const std::string&)>& widthOf);

// The button under the mouse for hot tracking. Buttons are given by their
// rectangles; separators and disabled buttons are flagged. The first hit
// counts; nothing, a separator or a divider: -1; a disabled button leaves
// the current hot button as it is.
struct TToolHitButton {
    TRect Rect;
    bool Separator = false;
    bool Enabled = true;
};
int NextHotButton(const std::vector<TToolHitButton>& buttons, TPoint at, int current);

// ---- Up-down controls ------------------------------------------------------

struct TSpinHalves {
    TRect First, Second;  // upper / left, lower / right
};
TSpinHalves SpinHalves(int width, int height, bool vertical, int leftOffset = 0);

// The states of both halves (0 normal, 1 hot, 2 pressed): the half under
// the cursor (the first half wins on the shared middle line) gets 1, or 2
// with the button down; outside both are 0.
void SpinHalfStates(const TSpinHalves& h, bool cursorInside, TPoint cursor, bool mouseDown, int& first, int& second);

// ---- Track bars ------------------------------------------------------------

struct TTrackTicks {
    double Step = 0;
    std::vector<int> Positions;  // along the bar, in the bar's pixels
};
// count ticks over a channel [channelStart, channelStart + channelLength)
// with a thumb of thumbLength along the bar: the first at the thumb's
// leftmost centre, the last at its rightmost. Fewer than two ticks: step 0.
TTrackTicks TrackTickPositions(int channelStart, int channelLength, int thumbLength, int count);

// Where the ticks stand across the bar: top/left ticks end at the returned
// Before, bottom/right ones start at After.
struct TTickSides {
    int BeforeStart = 0;  // the top/left ticks' first pixel across the bar
    int AfterStart = 0;   // the bottom/right ticks' first pixel
};
TTickSides TrackTickSides(int channelStartAcross, int channelEndAcross, int thumbThickness, int channelThickness,
                          int tickLength);

// ---- Panels ----------------------------------------------------------------

enum TPanelBevel { pbNone, pbLowered, pbRaised, pbSpace };

// The section a skinned framework panel takes from its bevels and border.
std::string PanelSectionForBevels(TPanelBevel outer, TPanelBevel inner, bool hasBorder);

// The section a skinned panel follows when its outer bevel changes: only a
// panel whose section is the one its old bevel called for moves; any other
// section (one set by hand) stays. Returns the section to use.
std::string PanelSectionOnBevelChange(TPanelBevel oldOuter, const std::string& section, TPanelBevel newOuter);

// The panel's caption room: the client rectangle inset by BorderWidth plus
// BevelWidth for each bevel that is not none.
TRect PanelCaptionRect(const TRect& client, int borderWidth, int bevelWidth, TPanelBevel outer, TPanelBevel inner);

// The panel's fill over a reference colour (0xBBGGRR) for a section
// transparency of 0..100: 0 the section's colour, 100 the reference,
// between the mix.
std::uint32_t PanelFillColor(std::uint32_t reference, std::uint32_t sectionColor, int transparency);

// ---- Status bars -----------------------------------------------------------

// The text room of a status-bar panel inside its (already inset) rectangle.
TRect StatusPanelTextRect(const TRect& panel);

// The class names the automatic skinning never attaches to (exact,
// case-sensitive), sorted.
const std::vector<std::string>& ExcludedWindowClasses();
bool IsExcludedWindowClass(const char* className);

}  // namespace kova::skin
