// Skin painting onto device contexts and canvases: a thin layer over the
// painters on buffers (skin/core/paint/portable). Everything is composed in
// a 32-bit buffer first and reaches the device context in one copy; a
// control's picture is kept in a TPaintCache, so that repainting an
// unchanged control is that one copy and nothing else.
//
// The skin manager and the control adapters build on these routines; they
// take plain values (the skin model, a section index, a state, rectangles)
// rather than a control's skin record, which those callers hold.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "framework/controls.h"
#include "framework/graphics.h"
#include "skin/core/model/skinmodel.h"
#include "skin/core/paint/portable/paintcache.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/skinmessage.h"

namespace kova::skin {

// ------------------------------------------------------------ skin items

// The section's item in one state (background, corners, border) painted
// into a buffer of r's size and copied to r of the DC; the DC's state is
// saved and restored around it. bg describes the background under r's
// top-left corner. False (nothing drawn) for an invalid section, a
// rectangle with a negative left or top, or one smaller than 1 x 1.
bool PaintSkinItemToDC(HDC dc, const TsSkinModel& skin, int sectionIndex, const TsParentImageInfo& bg, int state,
                       const RECT& r, TPoint offset = {});
// The item of the section called name (or secondName when the skin has no
// such section) over the whole of dest, in state; with a sourceDC, what it
// shows from (srcX, srcY) is copied into dest first, as the background of
// transparent parts. Returns the section index used, -1 (dest untouched)
// when neither name exists.
int PaintSkinSectionByName(Bitmap32& dest, const std::string& name, const std::string& secondName, HDC sourceDC,
                           POINT src, const TsSkinModel& skin, int state);
// A control's look (PaintControlSkin) over what its parent shows under it:
// the parent is asked for the background under `bounds` (the control's
// bounds in the parent) without being asked to draw.
void PaintControlSkinOnParent(Bitmap32& dest, const TsSkinModel& skin, int sectionIndex, TControl* parent,
                              const RECT& bounds, int state, TRect r, TPoint offset, bool cornersFromBackground,
                              int hueOffset = 0, int saturation = 0);
// A control's picture onto the DC at (x, y): composed into the cache by
// compose only when key differs from the cached picture's (see
// TPaintCache), then copied. Returns whether it was composed.
bool PaintCachedToDC(HDC dc, int x, int y, TPaintCache& cache, const TPaintKey& key,
                     const std::function<void(Bitmap32&)>& compose);

// A control's border onto a DC. With a border mask (borderIndex valid in
// skin) the border is painted in the control's cache over the background
// (PaintBorderOverBackground) and, when borderWidth is not 0, its four
// strips of r, borderWidth wide (at most r's size less the opposite
// border), are copied from the cache to the same place of the DC. Without
// one, the strips of the DC are filled with colour.
void PaintSkinBorder(HDC dc, const RECT& r, int borderWidth, TColor colour, int state, const TsSkinModel& skin,
                     int borderIndex, Bitmap32& cache, const TsParentImageInfo& bg);

// The buffer painters on what a DC shows: the area is read into a buffer,
// painted there (skin/core/paint/portable/surface.h) and written back.
void DrawButtonGlyph(HDC dc, const Bitmap32& glyph, int numGlyphs, int state, int disabledFlags,
                     TColor transparentColour, POINT p);
void PaintShadowRect(HDC dc, const RECT& r, int transparency, TColor colour, int blur, int radius);

// --------------------------------------------------------------- textures

// Tiles a graphic over r from r's top-left corner, cut to r: a bitmap with
// BitBlt, a PNG or JPEG picture from its pixels, any other graphic with
// its own Draw under a clip. Only the tiles that reach into the canvas's
// clip box are drawn.
void TileImage(TCanvas& canvas, const RECT& r, TGraphic& graphic);
// A texture by fill mode (as PlanTextureTiles: 0 tile, 1 stretch, 4 and
// 5 stretch one way and tile the other) over r of the canvas, from
// srcRect of the texture; stretching uses COLORONCOLOR. Graphics other
// than bitmaps and skin pictures use their whole image.
void PaintTexture(TCanvas& canvas, const RECT& r, TGraphic& texture, int fillMode, const RECT& srcRect);

// ----------------------------------------------------------------- layout

// Leaves the visible window-less children of parent (moved by the
// offsets) out of the DC's clip region, so that painting the parent's
// background does not paint over them.
void ExcludeGraphicControls(HDC dc, const TWinControl* parent, int offsetX, int offsetY);

// -------------------------------------------------------------- background

// The skin whose GLOBALINFO colour answers for windows that do not know the
// skin message (the skin manager sets it; nullptr: the system's button
// face colour).
void SetDefaultSkinModel(const TsSkinModel* skin);
const TsSkinModel* DefaultSkinModel();
TColor DefaultBackgroundColour();

// Asks a window for the background under an area (info.R), with info's
// address in lParam. True when the window answered (BgType not 0). Not
// answered: when info.PleaseDraw was set on entry the window paints itself
// into info.DrawDC (viewport moved by -Offset, clipped to R) through
// WM_ERASEBKGND and WM_PAINT; otherwise BgType becomes 1 with the default
// background colour. pleaseDraw is what the answering window is told.
bool QueryParentBackgroundInfoWnd(TsBackgroundInfo& info, HWND wnd, bool pleaseDraw);
// The same for a control: a windowed control with a window gets the
// message sent, any other through Perform. Not answered and not asked to
// draw: BgType 1 with the control's answer to scQueryBgColor or its own
// colour, and with pleaseDraw and a bitmap, R of DrawDC filled with it.
bool QueryParentBackgroundInfo(TsBackgroundInfo& info, TControl* control, bool pleaseDraw);
// The painters' form of the answer, system colours resolved.
void BackgroundInfoToImageInfo(const TsBackgroundInfo& info, TsParentImageInfo& imageInfo);

// -------------------------------------------------------------------- text

// The text calls the skinned controls share, one call each: DrawTextA with
// the string's length (the text's height is returned, r is updated for
// DT_CALCRECT); the canvas's text extent, its width, and its TextRect; and
// GetTextExtentPoint32A on a device context (size 0 x 0 on failure).
int DrawTextStr(HDC dc, const std::string& text, RECT& r, UINT flags);
int GetTextWidth(TCanvas& canvas, const std::string& text);
void GetTextSize(TCanvas& canvas, const std::string& text, SIZE& size);
void CanvasTextRect(TCanvas& canvas, const RECT& r, int x, int y, const std::string& text);
void GetTextExtentDC(HDC dc, const std::string& text, SIZE& size);

// A section's text on a canvas in its own font, background mode
// transparent. Enabled: each contour colour of the state's block that is
// set (one pixel left, up, right, down, in that order), then the font
// colour. Disabled: once, in 40 % of the normal font colour and 60 % of the
// section's colour. Nothing for an empty text or an invalid section.
void PaintSkinText(TCanvas& canvas, const std::string& text, bool enabled, const RECT& r, UINT flags,
                   const TsSkinModel& skin, int sectionIndex, bool hot);
// The canvas form the skinned controls call: the same as PaintSkinText.
void PaintSkinTextCanvas(TCanvas& canvas, const std::string& text, bool enabled, const RECT& r, UINT flags,
                         const TsSkinModel& skin, int sectionIndex, bool hot);

// What a control's caption depends on beyond its section.
struct TControlTextStyle {
    const TsSkinModel* Skin = nullptr;
    int Section = -1;
    bool Hot = false;
    // The skin keeps one section whose hot text is underlined; set when it
    // is this one.
    bool UnderlineWhenHot = false;
    int HueOffset = 0, Saturation = 0;  // the control's recolouring
    bool CustomFont = false;             // the control's own font and colour
    TColor CustomFontColour = 0;
    // The control's cache (the canvas draws on it) and the blurred plane of
    // its caption, for a text glow; no glow without them.
    Bitmap32* Cache = nullptr;
    Bitmap8* GlowPlane = nullptr;
};
// A control's caption, clipped to r, DC state saved and restored: the
// glow of the state's block (glow size of at least 1) into the cache
// first; then disabled: once in 40 % font colour and 60 % of the skin's
// GLOBALINFO colour; own font: once in its colour, unclipped; otherwise
// the contours and the font colour as PaintSkinText. Every colour after
// the control's hue and saturation changes.
void PaintControlText(TCanvas& canvas, const std::string& text, bool enabled, const RECT& r, UINT flags,
                      const TControlTextStyle& style);

}  // namespace kova::skin
