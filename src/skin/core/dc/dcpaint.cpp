#include "skin/core/dc/dcpaint.h"

#include <algorithm>

#include "framework/handles.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/dc/textdraw.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/paint/portable/surface.h"
#include "skin/core/pictureformats.h"

namespace kova::skin {

namespace {

TRect ToTRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRECT(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// What of r the DC can show: r cut to the clip box (all of r when the DC
// has no clip box to tell).
TRect VisiblePart(HDC dc, const RECT& r) {
    RECT box{};
    if (GetClipBox(dc, &box) == ERROR || box.right <= box.left || box.bottom <= box.top) return ToTRect(r);
    return {std::max(r.left, box.left), std::max(r.top, box.top), std::min(r.right, box.right),
            std::min(r.bottom, box.bottom)};
}

// A buffer of w x h for one composition, a view of memory kept between
// calls: fresh memory of a window's size costs more to fault in than the
// painting itself.
Bitmap32 Scratch(int w, int h) {
    thread_local Bitmap32 memory;
    if (static_cast<std::int64_t>(memory.Width()) * memory.Height() < static_cast<std::int64_t>(w) * h)
        memory.Resize(w, h);
    return Bitmap32::View(memory.Line0(), w, h, static_cast<std::ptrdiff_t>(w) * 4);
}

}  // namespace

// ------------------------------------------------------------ skin items

bool PaintSkinItemToDC(HDC dc, const TsSkinModel& skin, int sectionIndex, const TsParentImageInfo& bg, int state,
                       const RECT& r, TPoint offset) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!skin.SectionIndexValid(sectionIndex) || r.left < 0 || r.top < 0 || w < 1 || h < 1) return false;
    Bitmap32 item = Scratch(w, h);
    item.Fill(0);
    PaintSkinItem(item, skin, sectionIndex, bg, state, {0, 0, w, h}, offset);
    TSavedDC saved(dc);
    const bool ok = CopyBufferToDC(dc, r.left, r.top, item, RECT{0, 0, w, h});
    saved.Restore();
    return ok;
}

int PaintSkinSectionByName(Bitmap32& dest, const std::string& name, const std::string& secondName, HDC sourceDC,
                           POINT src, const TsSkinModel& skin, int state) {
    int index = skin.IndexOfSection(name);
    if (!skin.SectionIndexValid(index)) index = skin.IndexOfSection(secondName);
    if (!skin.SectionIndexValid(index)) return -1;
    const int w = dest.Width(), h = dest.Height();
    TsParentImageInfo bg;
    Bitmap32 under;
    if (sourceDC != nullptr && w > 0 && h > 0) {
        under = ReadDCToBuffer(sourceDC, RECT{src.x, src.y, src.x + w, src.y + h});
        CopyOpaqueRect(dest, 0, 0, under, {0, 0, w, h});
        bg = {&under, 0, 0, clFuchsia, true};
    }
    PaintSkinItem(dest, skin, index, bg, state, {0, 0, w, h}, {});
    return index;
}

void PaintControlSkinOnParent(Bitmap32& dest, const TsSkinModel& skin, int sectionIndex, TControl* parent,
                              const RECT& bounds, int state, TRect r, TPoint offset, bool cornersFromBackground,
                              int hueOffset, int saturation) {
    TsBackgroundInfo info;
    info.R = ToTRect(bounds);
    TsParentImageInfo bg;
    if (parent != nullptr) {
        QueryParentBackgroundInfo(info, parent, false);
        BackgroundInfoToImageInfo(info, bg);
    }
    PaintControlSkin(dest, skin, sectionIndex, bg, state, r, offset, cornersFromBackground, hueOffset, saturation);
}

bool PaintCachedToDC(HDC dc, int x, int y, TPaintCache& cache, const TPaintKey& key,
                     const std::function<void(Bitmap32&)>& compose) {
    const bool composing = !cache.Matches(key);
    const Bitmap32& picture = cache.Get(key, compose);
    CopyBufferToDC(dc, x, y, picture, RECT{0, 0, picture.Width(), picture.Height()});
    return composing;
}

void PaintSkinBorder(HDC dc, const RECT& r, int borderWidth, TColor colour, int state, const TsSkinModel& skin,
                     int borderIndex, Bitmap32& cache, const TsParentImageInfo& bg) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    if (!skin.MaskIndexValid(borderIndex)) {
        if (borderWidth != 0) FillBorderStrips(dc, r, borderWidth, borderWidth, borderWidth, borderWidth, colour);
        return;
    }
    PaintBorderOverBackground(cache, ToTRect(r), bg, skin.Masks()[static_cast<std::size_t>(borderIndex)], state);
    if (borderWidth == 0) return;
    const int bx = std::max(0, std::min(borderWidth, w - borderWidth));
    const int by = std::max(0, std::min(borderWidth, h - borderWidth));
    const RECT strips[4] = {{r.left, r.top, r.right, r.top + by},
                            {r.right - bx, r.top, r.right, r.bottom},
                            {r.left, r.top, r.left + bx, r.bottom},
                            {r.left, r.bottom - by, r.right, r.bottom}};
    for (const RECT& s : strips)
        if (s.right > s.left && s.bottom > s.top) CopyBufferToDC(dc, s.left, s.top, cache, s);
}

void DrawButtonGlyph(HDC dc, const Bitmap32& glyph, int numGlyphs, int state, int disabledFlags,
                     TColor transparentColour, POINT p) {
    if (numGlyphs < 1 || glyph.Width() / numGlyphs < 1 || glyph.Height() < 1) return;
    const RECT area{p.x, p.y, p.x + glyph.Width() / numGlyphs, p.y + glyph.Height()};
    Bitmap32 under = ReadDCToBuffer(dc, area);
    skin::DrawButtonGlyph(under, glyph, numGlyphs, state, disabledFlags, transparentColour, {0, 0});
    CopyBufferToDC(dc, area.left, area.top, under, RECT{0, 0, under.Width(), under.Height()});
}

void PaintShadowRect(HDC dc, const RECT& r, int transparency, TColor colour, int blur, int radius) {
    const TRect vis = VisiblePart(dc, r);
    if (vis.Right <= vis.Left || vis.Bottom <= vis.Top) return;
    // The whole shadow is laid out over r; only what the DC shows is read,
    // combined and written back.
    Bitmap32 under = ReadDCToBuffer(dc, ToRECT(vis));
    skin::PaintShadowRect(under, {r.left - vis.Left, r.top - vis.Top, r.right - vis.Left, r.bottom - vis.Top},
                          transparency, colour, blur, radius);
    CopyBufferToDC(dc, vis.Left, vis.Top, under, RECT{0, 0, under.Width(), under.Height()});
}

// --------------------------------------------------------------- textures

namespace {

void DrawTiles(TCanvas& canvas, const RECT& r, TGraphic& g, int fillMode, RECT srcRect) {
    HDC dc = canvas.Handle();
    const TSize size{g.Width(), g.Height()};
    if (size.cx <= 0 || size.cy <= 0) return;
    if (auto* bmp = dynamic_cast<TBitmap*>(&g)) {
        const auto tiles = PlanTextureTiles(ToTRect(r), ToTRect(srcRect), size, fillMode, VisiblePart(dc, r));
        HDC src = bmp->Canvas()->Handle();
        const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        for (const TTextureTile& t : tiles) {
            const int dw = t.Dest.Right - t.Dest.Left, dh = t.Dest.Bottom - t.Dest.Top;
            const int sw = t.Src.Right - t.Src.Left, sh = t.Src.Bottom - t.Src.Top;
            if (dw == sw && dh == sh)
                BitBlt(dc, t.Dest.Left, t.Dest.Top, dw, dh, src, t.Src.Left, t.Src.Top, SRCCOPY);
            else
                StretchBlt(dc, t.Dest.Left, t.Dest.Top, dw, dh, src, t.Src.Left, t.Src.Top, sw, sh, SRCCOPY);
        }
        if (oldMode) SetStretchBltMode(dc, oldMode);
        return;
    }
    if (auto* pic = dynamic_cast<TSkinPicture*>(&g)) {
        const auto tiles = PlanTextureTiles(ToTRect(r), ToTRect(srcRect), size, fillMode, VisiblePart(dc, r));
        for (const TTextureTile& t : tiles) {
            const int dw = t.Dest.Right - t.Dest.Left, dh = t.Dest.Bottom - t.Dest.Top;
            const int sw = t.Src.Right - t.Src.Left, sh = t.Src.Bottom - t.Src.Top;
            if (dw == sw && dh == sh)
                CopyBufferToDC(dc, t.Dest.Left, t.Dest.Top, pic->Pixels(), ToRECT(t.Src));
            else
                StretchBufferToDC(dc, ToRECT(t.Dest), pic->Pixels(), ToRECT(t.Src));
        }
        return;
    }
    // Any other graphic draws itself whole, a copy per tile, cut to r by a
    // clip.
    const auto tiles = PlanTextureTiles(ToTRect(r), {0, 0, size.cx, size.cy}, size, fillMode, VisiblePart(dc, r));
    TSavedDC saved(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    for (const TTextureTile& t : tiles) {
        const bool stretchX = fillMode == 1 || fillMode == 4, stretchY = fillMode == 1 || fillMode == 5;
        const RECT d{t.Dest.Left, t.Dest.Top, stretchX ? t.Dest.Right : t.Dest.Left + size.cx,
                     stretchY ? t.Dest.Bottom : t.Dest.Top + size.cy};
        g.Draw(&canvas, d);
    }
    saved.Restore();
}

}  // namespace

void TileImage(TCanvas& canvas, const RECT& r, TGraphic& graphic) {
    DrawTiles(canvas, r, graphic, 0, RECT{0, 0, graphic.Width(), graphic.Height()});
}

void PaintTexture(TCanvas& canvas, const RECT& r, TGraphic& texture, int fillMode, const RECT& srcRect) {
    DrawTiles(canvas, r, texture, fillMode, srcRect);
}

// ----------------------------------------------------------------- layout

void ExcludeGraphicControls(HDC dc, const TWinControl* parent, int offsetX, int offsetY) {
    if (parent == nullptr) return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        const TControl* c = parent->Controls(i);
        if (c == nullptr || c->IsWindowed() || !c->Visible()) continue;
        const RECT b = c->BoundsRect();
        ExcludeClipRect(dc, b.left + offsetX, b.top + offsetY, b.right + offsetX, b.bottom + offsetY);
    }
}

// -------------------------------------------------------------- background

namespace {
const TsSkinModel* defaultSkin = nullptr;

// The asker paints itself: viewport moved so that the area lands at the
// DC's origin, clipped to the area.
template <class Send>
void DrawInto(TsBackgroundInfo& info, Send send) {
    HDC dc = static_cast<HDC>(info.DrawDC);
    if (dc == nullptr) return;
    TSavedDC saved(dc);
    OffsetViewportOrgEx(dc, -info.Offset.X, -info.Offset.Y, nullptr);
    IntersectClipRect(dc, info.R.Left + info.Offset.X, info.R.Top + info.Offset.Y, info.R.Right + info.Offset.X,
                      info.R.Bottom + info.Offset.Y);
    send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
    send(WM_PAINT, reinterpret_cast<WPARAM>(dc));
    saved.Restore();
}
}  // namespace

void SetDefaultSkinModel(const TsSkinModel* skin) { defaultSkin = skin; }
const TsSkinModel* DefaultSkinModel() { return defaultSkin; }
TColor DefaultBackgroundColour() {
    if (defaultSkin != nullptr && defaultSkin->Active())
        return static_cast<TColor>(defaultSkin->ColorToRGB(defaultSkin->GlobalInfoColor())) & 0xFFFFFF;
    return ColorToRGB(0xFF000000u | COLOR_BTNFACE);
}

bool QueryParentBackgroundInfoWnd(TsBackgroundInfo& info, HWND wnd, bool pleaseDraw) {
    const bool drawAsked = info.PleaseDraw;
    info.BgType = 0;
    info.PleaseDraw = pleaseDraw;
    SendMessageA(wnd, SkinCommandMessage, SkinCommand(scQueryBgInfo), reinterpret_cast<LPARAM>(&info));
    if (info.BgType != 0) return true;
    if (drawAsked) {
        DrawInto(info, [wnd](UINT msg, WPARAM w) { SendMessageA(wnd, msg, w, 0); });
    } else {
        info.BgType = 1;
        info.Color = DefaultBackgroundColour();
    }
    return false;
}

bool QueryParentBackgroundInfo(TsBackgroundInfo& info, TControl* control, bool pleaseDraw) {
    if (control == nullptr) return false;
    const bool drawAsked = info.PleaseDraw;
    info.BgType = 0;
    info.PleaseDraw = pleaseDraw;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    auto send = [&](UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        if (windowed != nullptr && windowed->HandleAllocated()) return SendMessageA(windowed->Handle(), msg, w, l);
        return control->Perform(msg, w, l);
    };
    send(SkinCommandMessage, SkinCommand(scQueryBgInfo), reinterpret_cast<LPARAM>(&info));
    if (info.BgType != 0) return true;
    if (drawAsked) {
        DrawInto(info, [control](UINT msg, WPARAM w) { control->Perform(msg, w, 0); });
    } else {
        info.BgType = 1;
        const LRESULT answer = control->Perform(SkinCommandMessage, SkinCommand(scQueryBgColor), clFuchsia);
        const auto colour = static_cast<TColor>(answer);
        info.Color = answer == 0 || colour == clFuchsia ? static_cast<TColor>(kova::ColorToRGB(control->Color()))
                                                         : colour & 0xFFFFFF;
        if (pleaseDraw && info.Bmp != nullptr && info.DrawDC != nullptr)
            FillRectSolid(static_cast<HDC>(info.DrawDC), ToRECT(info.R), info.Color);
    }
    return false;
}

void BackgroundInfoToImageInfo(const TsBackgroundInfo& info, TsParentImageInfo& imageInfo) {
    skin::BackgroundInfoToImageInfo(info, imageInfo, [](TColor c) { return static_cast<TColor>(ColorToRGB(c)); });
}

// -------------------------------------------------------------------- text

namespace {

const TsGenState* StateBlock(const TsSkinModel& skin, int sectionIndex, bool hot) {
    if (!skin.SectionIndexValid(sectionIndex)) return nullptr;
    return &skin.Sections()[static_cast<std::size_t>(sectionIndex)].Props[hot ? 1 : 0];
}

void DrawOnce(HDC dc, const std::string& text, RECT r, UINT flags, TColor colour) {
    SetTextColor(dc, ColorToRGB(colour));
    DrawTextStr(dc, text, r, flags);
}

// Contours left, top, right, bottom (each set one), then the font colour.
void DrawWithContours(HDC dc, const std::string& text, const RECT& r, UINT flags, const TsSkinModel& skin,
                      const TsGenState& block, const std::function<TColor(TColor)>& recolour) {
    const POINT moves[4] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        const TsColor c = block.FontColors[static_cast<std::size_t>(i + 1)];
        if (c == kNoColor) continue;
        const RECT moved{r.left + moves[i].x, r.top + moves[i].y, r.right + moves[i].x, r.bottom + moves[i].y};
        DrawOnce(dc, text, moved, flags, recolour(static_cast<TColor>(skin.ColorToRGB(c)) & 0xFFFFFF));
    }
    DrawOnce(dc, text, r, flags, recolour(static_cast<TColor>(skin.ColorToRGB(block.FontColors[0])) & 0xFFFFFF));
}

}  // namespace

int DrawTextStr(HDC dc, const std::string& text, RECT& r, UINT flags) {
    return DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

int GetTextWidth(TCanvas& canvas, const std::string& text) { return canvas.TextWidth(text); }

void GetTextSize(TCanvas& canvas, const std::string& text, SIZE& size) { size = canvas.TextExtent(text); }

void CanvasTextRect(TCanvas& canvas, const RECT& r, int x, int y, const std::string& text) {
    canvas.TextRect(r, x, y, text);
}

void GetTextExtentDC(HDC dc, const std::string& text, SIZE& size) {
    size = SIZE{0, 0};
    if (!GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size)) size = SIZE{0, 0};
}

void PaintSkinTextCanvas(TCanvas& canvas, const std::string& text, bool enabled, const RECT& r, UINT flags,
                         const TsSkinModel& skin, int sectionIndex, bool hot) {
    PaintSkinText(canvas, text, enabled, r, flags, skin, sectionIndex, hot);
}

void PaintSkinText(TCanvas& canvas, const std::string& text, bool enabled, const RECT& r, UINT flags,
                   const TsSkinModel& skin, int sectionIndex, bool hot) {
    const TsGenState* block = StateBlock(skin, sectionIndex, hot);
    if (text.empty() || block == nullptr) return;
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    if (enabled) {
        DrawWithContours(dc, text, r, flags, skin, *block, [](TColor c) { return c; });
        return;
    }
    const TsGenState& normal = *StateBlock(skin, sectionIndex, false);
    const TColor font = static_cast<TColor>(skin.ColorToRGB(normal.FontColors[0])) & 0xFFFFFF;
    const TColor back = static_cast<TColor>(skin.ColorToRGB(normal.Color)) & 0xFFFFFF;
    DrawOnce(dc, text, r, flags, MixColors(font, back, 0.4));
}

void PaintControlText(TCanvas& canvas, const std::string& text, bool enabled, const RECT& r, UINT flags,
                      const TControlTextStyle& style) {
    if (text.empty() || style.Skin == nullptr) return;
    const TsSkinModel& skin = *style.Skin;
    const TsGenState* block = StateBlock(skin, style.Section, style.Hot);
    if (block == nullptr) return;
    HDC dc = canvas.Handle();
    auto recolour = [&style](TColor c) {
        if (style.HueOffset != 0) c = ChangeColorHue(style.HueOffset, c);
        return ChangeColorSaturationIf(c, style.Saturation);
    };
    // Made before the DC is saved: RestoreDC selects the old font back
    // before this one is deleted.
    TGdiObject<HFONT> underlined;
    TSavedDC saved(dc);
    if (style.Hot && style.UnderlineWhenHot) {
        LOGFONTA lf{};
        if (GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf) != 0) {
            lf.lfUnderline = TRUE;
            underlined.Reset(CreateFontIndirectA(&lf));
            if (underlined) SelectObject(dc, underlined.Get());
        }
    }
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    SetBkMode(dc, TRANSPARENT);
    if (block->GlowSize >= 1 && style.Cache != nullptr && style.GlowPlane != nullptr) {
        const TColor glow = recolour(static_cast<TColor>(skin.ColorToRGB(block->GlowColor)) & 0xFFFFFF);
        // The canvas draws on the cache: what GDI drew so far must be in
        // its bits before they are read.
        GdiFlush();
        DrawTextWithShadow(*style.Cache, static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT)), text, r,
                           *style.GlowPlane, glow, block->GlowSize, 15, flags);
    }
    if (!enabled) {
        const TColor font = static_cast<TColor>(skin.ColorToRGB(block->FontColors[0])) & 0xFFFFFF;
        const TColor global = static_cast<TColor>(skin.ColorToRGB(skin.GlobalInfoColor())) & 0xFFFFFF;
        DrawOnce(dc, text, r, flags, recolour(MixColors(font, global, 0.4)));
    } else if (style.CustomFont) {
        DrawOnce(dc, text, r, flags | DT_NOCLIP, style.CustomFontColour);
    } else {
        DrawWithContours(dc, text, r, flags, skin, *block, recolour);
    }
    saved.Restore();
}

}  // namespace kova::skin
