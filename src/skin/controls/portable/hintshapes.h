// The window-free half of the hint windows: where a hint goes on the
// monitor and which corner sits at the point, its size around the text,
// the body rectangle, the shape masks (rectangle, comic bubble, ellipse
// with a tail, thought balloon), the soft shadow layers, the one-pixel
// outline, the per-pixel alpha picture handed to the layered window and
// the fade-in steps.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/core/portable/pixels.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

enum TsHintStyle { hsSimply = 0, hsComics = 1, hsEllipse = 2, hsBalloon = 3, hsStandard = 4, hsNone = 5 };
// The corner of the hint that sits at the hint point.
enum TsMousePosition { mpLeftTop = 0, mpLeftBottom = 1, mpRightTop = 2, mpRightBottom = 3 };

inline bool IsShapedHint(TsHintStyle s) { return s == hsComics || s == hsEllipse || s == hsBalloon; }
inline bool IsBottomPosition(TsMousePosition p) { return p == mpLeftBottom || p == mpRightBottom; }
inline bool IsRightPosition(TsMousePosition p) { return p == mpRightTop || p == mpRightBottom; }

// Ellipse and balloon hints are never narrower than this.
inline constexpr int kMinRoundHintWidth = 50;
// Bubbles of a thought balloon and how fast they shrink.
inline constexpr int kBalloonBubbleCount = 5;
inline constexpr int kBalloonBubbleDivisor = 4;
// The fade-in: 31 steps, 8 ms apart.
inline constexpr int kHintFadeSteps = 31;
inline constexpr int kHintFadeStepMs = 8;

// What the painting of one hint needs to know of its settings.
struct THintGeometry {
    TsHintStyle Style = hsSimply;
    int Width = 0, Height = 0;   // the window
    int ShadowOffset = 0;        // 0 without a shadow
    int Radius = 0;              // comic corners
    int ExOffset = 0;            // tail height
    TsMousePosition MousePos = mpLeftTop;
};

// Size of a hint around its text (MarginH/V and BevelWidth on both sides,
// the shadow offset, the tail, the ellipse's growth in ExtraW/ExtraH).
struct THintFrameSize {
    int Width = 0, Height = 0;
    int ExtraW = 0, ExtraH = 0;
};
THintFrameSize MeasureHintFrame(TsHintStyle style, TSize text, int marginH, int marginV, int bevelWidth,
                                int shadowOffset, int exOffset);
// The ellipse's growth so that a w x h rectangle fits inside it: d =
// sqrt(w^2 + h^2) - w, ExtraW = w * d / h, ExtraH = h * d / w (rounded).
// Nothing for an empty rectangle.
void EllipseGrowth(int w, int h, int& extraW, int& extraH);

// Where a hint of w x h goes for the point p, starting with the corner
// `pos` at it, fitted into the monitor: shaped hints flip to the other
// side of the point, rectangles are pushed inside.
struct THintPlacement {
    TRect Bounds;
    TsMousePosition MousePos = mpLeftTop;
};
THintPlacement PlaceHint(TPoint p, int w, int h, TsMousePosition pos, TsHintStyle style, TRect monitor);

// The text area before margins: the window less the shadow, less the tail
// on its side for the shaped styles.
TRect HintBodyRect(const THintGeometry& g);

// Window-sized mask: white outside, the shape in grey level `ink` (0 black).
Bitmap32 MakeHintShapeMask(const THintGeometry& g, std::uint8_t ink = 0);
// Fills the shape of g (the body moved by `offset`, inset by `inset`
// pixels, with its tail) into mask in grey level `grey`.
void FillHintShape(Bitmap32& mask, const THintGeometry& g, TPoint offset, int inset, std::uint8_t grey);

// The soft shadow of g's shape, darkening `target` toward black: blur + 1
// layers, each one pixel further in and darker, the innermost at the
// shadow's full strength (transparency percent of the shadow). Writes only
// inside target.
void PaintHintShadow(Bitmap32& target, const THintGeometry& g, int transparency, int blur);

// The one-pixel outline of a shaped hint: a shape pixel of the mask next
// to an outside one on its left or top takes `top`, on its right or bottom
// `bottom`. Outside the picture counts as outside.
void PaintHintOutline(Bitmap32& image, const Bitmap32& mask, TColor top, TColor bottom);

// The picture for the layered window: outside the shape (white in the
// mask) black with alpha 255 minus the shadow's blue level, inside the
// hint's picture opaque. All three are w x h.
Bitmap32 ComposeHintPicture(const Bitmap32& image, const Bitmap32& mask, const Bitmap32& shadow);

// Alpha for a transparency percent (clamped to 0..100 first).
std::uint8_t HintAlpha(int transparency);
// The alphas of the fade-in, one per step, the last the target; every
// step raises the alpha by at least 1 until the target is reached.
std::vector<std::uint8_t> HintFadeAlphas(int transparency);

}  // namespace kova::skin
