#include "skin/controls/speedbtn.h"

#include <algorithm>

#include "skin/controls/portable/smallgeometry.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/model/skindata.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/paint/portable/surface.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/skincommands.h"
#include "skin/core/skinmessage.h"

namespace kova::skin {

static_assert(static_cast<int>(blGlyphBottom) == static_cast<int>(glGlyphBottom) &&
                  static_cast<int>(blGlyphTop) == static_cast<int>(glGlyphTop),
              "the framework's button layouts and the skin's glyph layouts name the same sides");

TacSpeedButtonHandler::TacSpeedButtonHandler(TSpeedButton* button, const std::string& section, TsSkinManager* manager,
                                             TsCommonData* skinData)
    : Button(button), Manager(manager), SkinData(skinData) {
    if (!Manager && SkinData) Manager = SkinData->GetSkinManager();
    if (SkinData && SkinData->SkinSection().empty()) {
        SkinData->SetSkinSection(section);
        SkinData->ReadSkinIndexes();
    }
    if (Button) subclass_.Attach(Button, [this](TMessage& m) { WndProc(m); });
}

TacSpeedButtonHandler::~TacSpeedButtonHandler() {
    subclass_.Detach();
    Manager = nullptr;
}

int TacSpeedButtonHandler::StateIndex() const {
    if (Button->Down()) return 2;
    return SkinData->IsActiveState() ? 1 : 0;
}

void TacSpeedButtonHandler::PrepareCache() {
    TsCommonData& d = *SkinData;
    d.EnsureCacheBmp();
    const int w = Button->Width(), h = Button->Height();
    if (d.CacheBmp->Width() != w || d.CacheBmp->Height() != h) d.CacheBmp->SetSize(w, h);
    if (w <= 0 || h <= 0) return;
    const TsSkinModel& skin = d.GetSkinManager()->Model();
    TsParentImageInfo bg;
    d.ParentImageInfo(bg);
    const int state = StateIndex();
    PixelBuffer32& px = d.CacheBmp->Pixels();
    PaintControlSkin(px, skin, d.SkinIndex, bg, state, TRect{0, 0, w, h}, TPoint{0, 0}, false, d.HUEOffset,
                     d.Saturation, d.TextureIndex, d.HotTextureIndex);
    // Glyph and caption placed together by the button's layout numbers.
    TBitmap* glyph = Button->Glyph();
    const int numGlyphs = std::max(Button->NumGlyphs(), 1);
    TSpeedButtonLayoutInput in;
    in.Width = w, in.Height = h;
    in.GlyphWidth = GlyphImageWidth(glyph->Width(), numGlyphs);
    in.GlyphHeight = in.GlyphWidth > 0 ? glyph->Height() : 0;
    in.Layout = static_cast<TGlyphLayout>(Button->Layout());
    in.Margin = Button->Margin();
    in.Spacing = Button->Spacing();
    in.Pressed = state == 2;
    const std::string caption = Button->Caption();
    HDC dc = d.CacheBmp->Canvas()->Handle();
    HGDIOBJ oldFont = SelectObject(dc, Button->Font()->Handle());
    if (!caption.empty()) {
        RECT calc{0, 0, 255, 0};
        DrawTextA(dc, caption.c_str(), -1, &calc, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
        in.CaptionWidth = calc.right, in.CaptionHeight = calc.bottom;
    }
    const TSpeedButtonLayout at = LayoutSpeedButton(in);
    if (!caption.empty()) {
        const TsGeneralData* sec = d.Section();
        TColor colour = sec ? static_cast<TColor>(skin.ColorToRGB(state > 0 ? sec->HotFontColors[0] : sec->FontColors[0])) : 0;
        SetTextColor(dc, colour & 0xFFFFFF);
        SetBkMode(dc, TRANSPARENT);
        RECT tr{at.Caption.Left, at.Caption.Top, at.Caption.Right, at.Caption.Bottom};
        GdiFlush();
        DrawTextA(dc, caption.c_str(), -1, &tr, DT_EXPANDTABS | DT_WORDBREAK | DT_LEFT);
        GdiFlush();
    }
    SelectObject(dc, oldFont);
    if (in.GlyphWidth > 0 && in.GlyphHeight > 0 && numGlyphs == 1 && glyph->PixelFormat() == pf32bit) {
        // One picture with an alpha channel: laid over what is painted.
        GdiFlush();
        const TsParentImageInfo none;
        CopyAlphaBitmap(TRect{at.Glyph.Left, at.Glyph.Top, at.Glyph.Left + in.GlyphWidth, at.Glyph.Top + in.GlyphHeight},
                        TPoint{0, 0}, px, &glyph->Pixels(), none, false, clNone, 0, false);
    } else if (in.GlyphWidth > 0 && in.GlyphHeight > 0) {
        // The strip's images: up, disabled, clicked, down; one that is
        // missing falls back to the first, and a lone image greys when
        // the button is disabled.
        int image = !Button->Enabled() ? 1 : Button->Down() ? 3 : state == 2 ? 2 : 0;
        if (image >= numGlyphs) image = 0;
        GdiFlush();
        const PixelBuffer32& strip = glyph->Pixels();
        const TColor key = static_cast<TColor>(SwapRedBlue(strip.At(0, strip.Height() - 1) & 0xFFFFFF));
        DrawButtonGlyph(px, strip, numGlyphs, image, !Button->Enabled() && numGlyphs == 1 ? 2 : 0, key,
                        TPoint{at.Glyph.Left, at.Glyph.Top});
    }
    if (!Button->Enabled()) {
        PixelBuffer32 under(w, h);
        if (bg.Ready && bg.Bmp) {
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const int sx = bg.X + x, sy = bg.Y + y;
                    under.At(x, y) = sx >= 0 && sy >= 0 && sx < bg.Bmp->Width() && sy < bg.Bmp->Height() ? bg.Bmp->At(sx, sy)
                                                                                                       : px.At(x, y);
                }
        } else {
            under.Fill(ColorToPixel(static_cast<std::uint32_t>(skin.ColorToRGB(bg.FillColor)) & 0xFFFFFF) | 0xFF000000u);
        }
        BlendBitmapRect(px, 0, 0, under, TRect{0, 0, w, h}, 0.4, 0xFF00FF);
    }
    d.BGChanged = false;
}

void TacSpeedButtonHandler::WndProc(TMessage& m) {
    TsCommonData& d = *SkinData;
    const bool skinned = Manager && d.IsSkinned();
    if (IsSkinCommand(m)) {
        auto* from = reinterpret_cast<TsSkinManager*>(m.LParam);
        switch (SkinSubCode(m.WParam)) {
            case scSkinApplied:
                if (from == Manager) {
                    HandleControlMessage(m, &d);
                    return;
                }
                break;
            case scSkinRemoved:
                if (from == Manager && !Button->IsDestroying()) {
                    HandleControlMessage(m, &d);
                    if (Button->Visible()) Button->Invalidate();
                    // The button paints itself again from here on.
                    subclass_.Detach();
                    Restored = true;
                    return;
                }
                break;
            case scRefresh:
                if (from == Manager) {
                    HandleControlMessage(m, &d);
                    if (Button->Visible()) Button->Invalidate();
                    return;
                }
                break;
            case scEndParentUpdate:
                if (d.Updating) {
                    d.Updating = false;
                    Button->Invalidate();
                    return;
                }
                break;
            case scQuerySupport:
                m.Result = 1;
                return;
            case 18:
                d.Updating = false;
                d.BGChanged = true;
                Button->Invalidate();
                break;
            case scGetApplication:
                m.Result = reinterpret_cast<LRESULT>(Application());
                return;
            default:
                break;
        }
        subclass_.CallPrevious(m);
        return;
    }
    if (skinned && m.Msg == WM_PAINT) {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        // Only the parent's painting hands a DC; without one nothing paints.
        if (!dc) return;
        const TSavedDC saved(dc);
        PrepareCache();
        if (d.CacheBmp && d.CacheBmp->Width() > 0)
            CopyBufferToDC(dc, 0, 0, d.CacheBmp->Pixels(), RECT{0, 0, d.CacheBmp->Width(), d.CacheBmp->Height()});
        return;
    }
    if (skinned && (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE)) {
        d.MouseAbove = m.Msg == CM_MOUSEENTER;
        d.BGChanged = true;
        subclass_.CallPrevious(m);
        Button->Invalidate();
        return;
    }
    subclass_.CallPrevious(m);
}

}  // namespace kova::skin
