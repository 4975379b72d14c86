// The window-free decisions of a control's skin record: which section a
// control of a kind gets by default, which kinds take hover, glow and skin
// colours, how a control's background colour shows its parent through it,
// where a bound label goes, and when a background cannot be a plain colour.
// The record (skin/core/commondata.h) gathers the values from the control
// tree and the loaded skin and asks these.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "skin/core/portable/skintypes.h"

namespace kova::skin {

// The section a control of this kind is painted with when it names none;
// empty for kinds without one (the record then uses the class name).
std::string DefaultSectionForCode(std::int32_t controlCode);

// Kinds that never take the hovered state (panels, bars, page controls).
bool IsHotlessKind(std::int32_t controlCode);
// Kinds that never glow when the mouse enters them; push buttons show no
// glow either (GlowsOnMouseEnter says both).
bool IsGlowlessKind(std::int32_t controlCode);
bool GlowsOnMouseEnter(std::int32_t controlCode);
// Edit-like kinds: they take the skin's colours into their own Color and
// Font.Color and repaint their frame on focus and hover changes.
bool IsEditKind(std::int32_t controlCode);

// The colour a control shows its children when its section lets the parent
// through by `transparency` (1..99): each channel of the section's colour
// moved toward the parent's by transparency/256, clamped to a byte.
TColor MixParentColor(TColor parent, TColor section, std::int32_t transparency);

// ------------------------------------------------------------ bound label

enum TsCaptionLayout : std::uint8_t {
    sclLeft, sclTopLeft, sclTopCenter, sclTopRight, sclLeftTop, sclBottomLeft, sclBottomCenter, sclBottomRight
};
enum class TLabelAlign : std::uint8_t { Left, Right, Center };

// The label's top-left corner beside a control at `control` (Left, Top,
// Right, Bottom) for a label of lw x lh and the gap `indent`.
TPoint BoundLabelPosition(TsCaptionLayout layout, const TRect& control, std::int32_t lw, std::int32_t lh,
                          std::int32_t indent);
TLabelAlign BoundLabelAlignment(TsCaptionLayout layout);

// ------------------------------------------------------------- background

// What decides whether a section's background is more than a plain colour.
struct TComplexBgInput {
    bool Skinned = false;             // a manager and a valid section index
    bool HasBorder = false;           // the section has a border mask
    std::int32_t BorderDrawMode = 0;
    std::int32_t MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;
    std::int32_t Transparency = 0;
    std::int32_t GradientPercent = 0;
    std::int32_t ImagePercent = 0;
    bool TextureDrawMode10 = false;   // the section's texture is drawn in mode 10
    bool HasOwnerParent = false;      // an owner control with a Parent
};
// parentPlain: whether the parent's background is plain (asked only when
// it decides).
bool HasComplexBackground(const TComplexBgInput& in, const std::function<bool()>& parentPlain);

// A section's answer to "does your background depend on your parent?"
// (transparency, gradient and image percentages of its normal state).
// parentAnswer is asked for a fully transparent section over a parent;
// dependsOnParent otherwise when no gradient or image decides.
bool ParentDependentAnswer(std::int32_t transparency, std::int32_t gradientPercent, std::int32_t imagePercent,
                           bool hasOwnerParent, const std::function<bool()>& parentAnswer,
                           const std::function<bool()>& dependsOnParent);

// Opaque flags of a section: bit 2 with an image percentage; bits 0 and 1
// by the kind of the first gradient step (-1: no gradient in effect).
std::uint8_t SectionOpaqueFlags(std::int32_t imagePercent, std::int32_t firstGradientKind);

}  // namespace kova::skin
