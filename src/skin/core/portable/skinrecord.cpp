#include "skin/core/portable/skinrecord.h"

#include <algorithm>

namespace kova::skin {

namespace {

bool In(std::int32_t v, std::int32_t lo, std::int32_t hi) { return v >= lo && v <= hi; }

}  // namespace

std::string DefaultSectionForCode(std::int32_t c) {
    if (In(c, 2, 8) || c == 10 || c == 41 || c == 76 || c == 78 || In(c, 83, 85) || c == 96 || c == 131 ||
        c == 140 || c == 227)
        return "EDIT";
    if (In(c, 11, 18) || c == 81 || c == 82) return "COMBOBOX";
    switch (c) {
        case 19: return "BAR";
        case 20: return "BARTITLE";
        case 32: case 152: return "CHECKBOX";
        case 33: return "RADIOBUTTON";
        case 51: case 59: case 68: case 73: return "PANEL";
        case 52: case 58: return "PANEL_LOW";
        case 53: case 54: case 60: return "TOOLBAR";
        case 56: return "DRAGBAR";
        case 57: return "TABSHEET";
        case 74: case 226: return "GROUPBOX";
        case 75: return "SPLITTER";
        case 92: case 95: return "SPEEDBUTTON";
        case 93: case 94: return "BUTTON";
        case 98: return "TOOLBUTTON";
        case 141: case 143: return "PAGECONTROL";
        case 151: return "STATUSBAR";
        case 161: return "GAUGE";
        case 165: return "TRACKBAR";
        default: return {};
    }
}

bool IsHotlessKind(std::int32_t c) { return c == 19 || In(c, 51, 74) || c == 110 || In(c, 141, 161); }

bool IsGlowlessKind(std::int32_t c) {
    switch (c) {
        case 51: case 52: case 54: case 56: case 57: case 58: case 59: case 60: case 68: case 73: case 74:
        case 110: case 141: case 143: case 151: case 161: case 226:
            return true;
        default:
            return false;
    }
}

bool GlowsOnMouseEnter(std::int32_t c) { return !IsGlowlessKind(c) && !In(c, 92, 94); }

bool IsEditKind(std::int32_t c) {
    return In(c, 2, 18) || c == 41 || In(c, 76, 84) || c == 96 || In(c, 131, 140);
}

TColor MixParentColor(TColor parent, TColor section, std::int32_t t) {
    TColor out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::int32_t p = static_cast<std::int32_t>((parent >> shift) & 0xFF);
        const std::int32_t s = static_cast<std::int32_t>((section >> shift) & 0xFF);
        const std::int32_t v = std::clamp(((p - s) * t + s * 256) / 256, 0, 255);
        out |= static_cast<TColor>(v) << shift;
    }
    return out;
}

TPoint BoundLabelPosition(TsCaptionLayout layout, const TRect& r, std::int32_t lw, std::int32_t lh,
                          std::int32_t n) {
    const std::int32_t l = r.Left, t = r.Top, w = r.Right - r.Left, h = r.Bottom - r.Top;
    switch (layout) {
        case sclLeft: return {l - lw - 4 - n, t + (h - lh) / 2 - 1};
        case sclTopLeft: return {l, t - lh - n};
        case sclTopCenter: return {l + (w - lw) / 2, t - lh - n};
        case sclTopRight: return {l + w - lw, t - lh - n};
        case sclLeftTop: return {l - lw - 4 - n, t + 3};
        case sclBottomLeft: return {l, t + h + n};
        case sclBottomCenter: return {l + (w - lw) / 2, t + h + n};
        case sclBottomRight: return {l + w - lw, t + h + n};
    }
    return {l, t};
}

TLabelAlign BoundLabelAlignment(TsCaptionLayout layout) {
    switch (layout) {
        case sclLeft: case sclTopRight: case sclBottomRight: return TLabelAlign::Right;
        case sclTopCenter: case sclBottomCenter: return TLabelAlign::Center;
        default: return TLabelAlign::Left;
    }
}

bool HasComplexBackground(const TComplexBgInput& in, const std::function<bool()>& parentPlain) {
    if (!in.Skinned) return false;
    if (in.HasBorder && ((in.BorderDrawMode & 4) != 0 || in.MarginLeft + in.MarginRight > 20 ||
                         in.MarginTop + in.MarginBottom > 20))
        return true;
    if (in.Transparency == 100) {
        if (in.TextureDrawMode10 || !in.HasOwnerParent) return true;
        return !parentPlain();
    }
    if (in.Transparency > 0 && in.Transparency < 100) return true;
    return in.ImagePercent != 0 || in.GradientPercent != 0;
}

bool ParentDependentAnswer(std::int32_t transparency, std::int32_t gradientPercent, std::int32_t imagePercent,
                           bool hasOwnerParent, const std::function<bool()>& parentAnswer,
                           const std::function<bool()>& dependsOnParent) {
    if (transparency == 100 && hasOwnerParent) return parentAnswer();
    if (gradientPercent + imagePercent > 0) return true;
    return dependsOnParent();
}

std::uint8_t SectionOpaqueFlags(std::int32_t imagePercent, std::int32_t firstGradientKind) {
    std::uint8_t f = imagePercent != 0 ? 4 : 0;
    switch (firstGradientKind) {
        case 0: f |= 2; break;
        case 1: f |= 1; break;
        case 2: f |= 3; break;
        default: break;
    }
    return f;
}

}  // namespace kova::skin
