#include "skin/core/paint/portable/skinitem.h"

#include <algorithm>
#include <optional>

#include "skin/core/paint/portable/gradient.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/portable/bitmaps.h"

namespace kova::skin {

namespace {

inline int Width(const TRect& r) { return r.Right - r.Left; }
inline int Height(const TRect& r) { return r.Bottom - r.Top; }

// What one state of a section paints as its background.
struct Layers {
    TColor Color = 0;
    int Transparency = 0;
    int ImagePercent = 0;
    int GradientPercent = 0;
    TsGradArray Gradient;
    const TsMaskData* MaskTexture = nullptr;     // from the image table
    const TsPatternData* Pattern = nullptr;      // from the texture table
};

TRect StateImageRect(const TsMaskData& m, int state) {
    const int w = ImageWidthOfMask(m), h = ImageHeightOfMask(m);
    return {m.SourceRect.Left + w * state, m.SourceRect.Top, m.SourceRect.Left + w * (state + 1), m.SourceRect.Top + h};
}

void DrawTexture(Bitmap32& dest, TRect r, const Layers& l) {
    if (l.MaskTexture != nullptr) {
        if (l.MaskTexture->RowMode > 0) {
            PaintMaskedTexture(dest, r, *l.MaskTexture);
        } else if (const Bitmap32* src = MaskSourceBitmap(*l.MaskTexture)) {
            PaintTexture(dest, r, *src, l.MaskTexture->DrawMode, StateImageRect(*l.MaskTexture, 0));
        }
    } else if (l.Pattern != nullptr && l.Pattern->Image) {
        const Bitmap32& img = *l.Pattern->Image;
        PaintTexture(dest, r, img, 0, {0, 0, img.Width(), img.Height()});
    }
}

void GradientOrColour(Bitmap32& dest, TRect r, const Layers& l) {
    if (l.Gradient.empty())
        FillRect32(dest, r, l.Color);
    else
        PaintGradient(dest, r, l.Gradient, 0);
}

// Colour, gradient and texture of one background, into r of dest.
void PaintLayers(Bitmap32& dest, TRect r, const Layers& l, const TsParentImageInfo& bg) {
    const int share = l.GradientPercent + l.ImagePercent;
    const TsMaskData* tex = l.MaskTexture;
    if (share == 100 && l.GradientPercent > 0 && l.GradientPercent < 100 && tex != nullptr && tex->RowMode == 0 &&
        tex->DrawMode == 0 && !l.Gradient.empty() && (l.Gradient[0].Mode == 0 || l.Gradient[0].Mode == 1)) {
        if (const Bitmap32* src = MaskSourceBitmap(*tex)) {
            PaintGradientEx(dest, r, l.Gradient, l.ImagePercent * 255 / 100, StateImageRect(*tex, 0), *src);
            return;
        }
    }
    bool textured = false;
    if (l.ImagePercent > 0 && (l.MaskTexture != nullptr || l.Pattern != nullptr)) {
        DrawTexture(dest, r, l);
        textured = true;
    }
    if (l.GradientPercent > 0) {
        if (textured) {
            Bitmap32 tmp(Width(r), Height(r));
            GradientOrColour(tmp, {0, 0, Width(r), Height(r)}, l);
            // The texture keeps its share of the two.
            const int weight = l.ImagePercent * 255 / std::max(1, l.ImagePercent + l.GradientPercent);
            MixBitmapRects(dest, tmp, static_cast<std::uint8_t>(weight), {0, 0, Width(r), Height(r)}, {r.Left, r.Top});
        } else {
            GradientOrColour(dest, r, l);
        }
    }
    if (share == 0) {
        TColor c = l.Color;
        // With no known background (fill colour "none") there is nothing to
        // show through: the section's own colour, never a mix with the
        // "none" magenta.
        if (!bg.Ready && l.Transparency != 0 && l.Transparency != 100 && bg.FillColor != clFuchsia)
            c = MixColors(bg.FillColor, l.Color, l.Transparency / 100.0);
        FillRect32(dest, r, c);
    } else if (share < 100) {
        TintRect(dest, {r.Left, r.Top, r.Right - 1, r.Bottom - 1}, share, l.Color);
    }
}

void PutBackground(Bitmap32& dest, TRect r, const TsParentImageInfo& bg) {
    if (!bg.Ready)
        FillRect32(dest, r, bg.FillColor);
    else if (bg.Bmp != nullptr && bg.Bmp != &dest)
        CopyOpaqueRect(dest, r.Left, r.Top, *bg.Bmp, {r.Left + bg.X, r.Top + bg.Y, r.Right + bg.X, r.Bottom + bg.Y});
}

const TsMaskData* MaskAt(const TsSkinModel& skin, int index) {
    return skin.MaskIndexValid(index) ? &skin.Masks()[static_cast<std::size_t>(index)] : nullptr;
}

}  // namespace

void PaintMaskedTexture(Bitmap32& dest, TRect r, const TsMaskData& mask) {
    const Bitmap32* src = MaskSourceBitmap(mask);
    if (src == nullptr) return;
    const TRect s = StateImageRect(mask, 0);
    const int tw = Width(s), th = Height(s);
    if (tw <= 0 || th <= 0) return;
    const int y0 = std::max(r.Top, r.Top + (0 - r.Top) / th * th), x0 = std::max(r.Left, r.Left + (0 - r.Left) / tw * tw);
    for (int y = y0; y < r.Bottom && y < dest.Height(); y += th)
        for (int x = x0; x < r.Right && x < dest.Width(); x += tw)
            CopyMaskedPiece(dest, {x, y, std::min(x + tw, r.Right), std::min(y + th, r.Bottom)}, s, *src, th, false, {});
}

namespace {

// readyDecides: whether a background that is not ready counts as unknown
// whatever its fill colour (PaintSectionBackgroundAt), or only when its
// fill colour is "none" too (PaintSectionBackground).
void PaintBackground(Bitmap32& dest, const TsSkinModel& skin, int sectionIndex, const TsParentImageInfo& bg,
                     int state, TRect r, TPoint offset, int textureIndex, int hotTextureIndex, TColor colour,
                     bool readyDecides) {
    if (!skin.SectionIndexValid(sectionIndex) || Width(r) <= 0 || Height(r) <= 0) return;
    const TsGeneralData& sec = skin.Sections()[static_cast<std::size_t>(sectionIndex)];
    state = std::clamp(state, 0, std::max(sec.States - 1, 0));
    const bool hot = state != 0;
    const TsGenState& props = sec.Props[hot ? 1 : 0];

    Layers l;
    if (colour == clFuchsia) {
        l.Color = static_cast<TColor>(skin.ColorToRGB(props.Color)) & 0xFFFFFF;
        l.Transparency = std::clamp(props.Transparency, 0, 100);
        if (l.Transparency != 100) {
            l.ImagePercent = std::clamp(props.ImagePercent, 0, 100);
            l.GradientPercent = std::clamp(props.GradientPercent, 0, 100);
        }
        if (l.ImagePercent > 0) {
            int idx = hot ? hotTextureIndex : (textureIndex >= 0 ? textureIndex : sec.TextureIndex);
            if (idx == -1) idx = skin.IndexOfTexture(sectionIndex, sec.SectionName, hot ? "HOTPATTERN" : "PATTERN");
            if (const TsMaskData* m = MaskAt(skin, idx)) {
                l.MaskTexture = m;
            } else {
                const int p = skin.IndexOfPattern(sectionIndex, sec.SectionName, hot ? "HOTPATTERN" : "PATTERN");
                if (p >= 0 && p < static_cast<int>(skin.Patterns().size()))
                    l.Pattern = &skin.Patterns()[static_cast<std::size_t>(p)];
            }
        }
        if (l.GradientPercent != 0) l.Gradient = props.GradientArray;
    } else {
        l.Color = colour;
    }

    const bool noBackground = !bg.Ready && (readyDecides || bg.FillColor == clFuchsia);
    if (noBackground || l.Transparency == 0) {
        PaintLayers(dest, r, l, bg);
    } else if (l.Transparency == 100) {
        PutBackground(dest, r, bg);
    } else if (bg.Ready || l.GradientPercent > 0 || l.ImagePercent > 0) {
        Bitmap32 tmp(Width(r), Height(r));
        PaintLayers(tmp, {0, 0, Width(r), Height(r)}, l, bg);
        PutBackground(dest, r, bg);
        MixBitmapRects(dest, tmp, static_cast<std::uint8_t>(l.Transparency * 255 / 100), {0, 0, Width(r), Height(r)},
                       {r.Left, r.Top});
    } else {
        FillRect32(dest, r, MixColors(bg.FillColor, l.Color, l.Transparency / 100.0));
    }

    if (state == 0) {
        // A masked texture lies over the finished background.
        const TsMaskData* m = MaskAt(skin, textureIndex >= 0 ? textureIndex : hotTextureIndex);
        if (m != nullptr && m->RowMode > 0 && m->DrawMode == 10)
            PaintMaskedTexture(dest, {r.Left + offset.X, r.Top + offset.Y, r.Right + offset.X, r.Bottom + offset.Y}, *m);
    }
}

}  // namespace

void PaintSectionBackground(Bitmap32& dest, const TsSkinModel& skin, int sectionIndex, const TsParentImageInfo& bg,
                            int state, TRect r, TPoint offset, int textureIndex, int hotTextureIndex, TColor colour) {
    PaintBackground(dest, skin, sectionIndex, bg, state, r, offset, textureIndex, hotTextureIndex, colour, false);
}

void PaintSectionBackgroundAt(Bitmap32& dest, const TsSkinModel& skin, int sectionIndex, const TsParentImageInfo& bg,
                              int state, TRect r, TPoint offset, int textureIndex, int hotTextureIndex) {
    PaintBackground(dest, skin, sectionIndex, bg, state, r, offset, textureIndex, hotTextureIndex, clFuchsia, true);
}

bool PaintSkinItemSimple(Bitmap32& dest, const TsSkinModel& skin, int sectionIndex, int borderIndex, int textureIndex,
                         int hotTextureIndex, const TsParentImageInfo& bg, int state, TRect r, TPoint offset) {
    if (!skin.SectionIndexValid(sectionIndex) || dest.Width() < r.Right || dest.Height() < r.Bottom || r.Left < 0 ||
        r.Top < 0)
        return false;
    const TsGeneralData& sec = skin.Sections()[static_cast<std::size_t>(sectionIndex)];
    state = std::clamp(state, 0, std::max(sec.States - 1, 0));
    PaintSectionBackgroundAt(dest, skin, sectionIndex, bg, state, r, offset, textureIndex, hotTextureIndex);
    if (const TsMaskData* border = MaskAt(skin, borderIndex)) {
        TsParentImageInfo moved = bg;
        moved.X += offset.X;
        moved.Y += offset.Y;
        PaintBorderMask(dest, r, moved, *border, state, true);
    }
    return true;
}

bool PaintSkinItem(Bitmap32& dest, const TsSkinModel& skin, int sectionIndex, const TsParentImageInfo& bg, int state,
                   TRect r, TPoint offset, int textureIndex, int hotTextureIndex) {
    if (!skin.SectionIndexValid(sectionIndex) || Width(r) <= 0 || Height(r) <= 0 || dest.Width() < r.Right ||
        dest.Height() < r.Bottom)
        return false;
    PaintSectionBackground(dest, skin, sectionIndex, bg, state, r, offset, textureIndex, hotTextureIndex);
    const TsGeneralData& sec = skin.Sections()[static_cast<std::size_t>(sectionIndex)];
    auto corner = [&](int index, bool right, bool bottom) {
        const TsMaskData* m = MaskAt(skin, index);
        if (m == nullptr) return;
        const TPoint p{right ? r.Right - ImageWidthOfMask(*m) : r.Left, bottom ? r.Bottom - ImageHeightOfMask(*m) : r.Top};
        DrawMaskState(dest, p, state, 1, *m, bg);
    };
    corner(sec.ImgTopLeft, false, false);
    corner(sec.ImgTopRight, true, false);
    corner(sec.ImgBottomLeft, false, true);
    corner(sec.ImgBottomRight, true, true);
    if (const TsMaskData* border = MaskAt(skin, sec.BorderIndex)) PaintBorderMask(dest, r, bg, *border, state, true);
    return true;
}

void PaintControlSkin(Bitmap32& dest, const TsSkinModel& skin, int sectionIndex, const TsParentImageInfo& bg,
                      int state, TRect r, TPoint offset, bool cornersFromBackground, int hueOffset, int saturation,
                      int textureIndex, int hotTextureIndex, TColor colour) {
    if (!skin.SectionIndexValid(sectionIndex)) return;
    const TsGeneralData& sec = skin.Sections()[static_cast<std::size_t>(sectionIndex)];
    state = std::clamp(state, 0, std::max(sec.States - 1, 0));
    PaintSectionBackground(dest, skin, sectionIndex, bg, state, r, offset, textureIndex, hotTextureIndex, colour);
    auto corner = [&](int index, bool right, bool bottom) {
        const TsMaskData* m = MaskAt(skin, index);
        if (m == nullptr) return;
        const TPoint p{right ? r.Right - ImageWidthOfMask(*m) : r.Left, bottom ? r.Bottom - ImageHeightOfMask(*m) : r.Top};
        DrawMaskState(dest, p, state, 1, *m, bg);
    };
    corner(sec.ImgTopLeft, false, false);
    corner(sec.ImgTopRight, true, false);
    corner(sec.ImgBottomLeft, false, true);
    corner(sec.ImgBottomRight, true, true);
    if (const TsMaskData* border = MaskAt(skin, sec.BorderIndex))
        if (!(state == 0 && (border->DrawMode & 2) != 0))
            PaintBorderMask(dest, r, bg, *border, state, cornersFromBackground);
    if (hueOffset != 0) ChangeBitmapHue(&dest, hueOffset);
    if (saturation != 0) ChangeBitmapSaturation(&dest, saturation);
}

}  // namespace kova::skin
