// The composition of a skinned form's window image into its skin record's
// cache: background and border, title section, icon, title bar, caption
// text and added title, then the title buttons. Only a cache marked changed
// is painted again; everything else the message handling shows comes from
// the cache as it is.
#include "skin/forms/framepaint.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "framework/handles.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/dc/textdraw.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/portable/animframes.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/sysutils.h"
#include "skin/core/vclutils.h"
#include "skin/forms/borderform.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/mdiform.h"
#include "skin/forms/menuline.h"
#include "skin/forms/provider.h"
#include "skin/forms/titlebuttons.h"

namespace kova::skin {

namespace {

// Provider states under which the cache is left as it is.
constexpr std::uint32_t kTranslucentMoving = 0x80;
constexpr std::uint32_t kShowOrCloseAnimation = 0x200;
constexpr UINT kCaptionTextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
// The framework's "no colour" and "window text" colours.
constexpr TColor kNoColour = 0x1FFFFFFF;
constexpr TColor kWindowTextColour = 0xFF000008;

bool IconicNotMain(TsSkinProvider& p) {
    return p.Form->HandleAllocated() && IsIconic(p.Form->Handle()) && Application()->MainForm() != p.Form;
}

int StateOf(const TsGeneralData& s, bool active) { return std::max(0, std::min<int>(active ? 1 : 0, s.States - 1)); }

TRect ToTRect(const RECT& r) { return TRect{r.left, r.top, r.right, r.bottom}; }

SIZE TextExtent(HDC dc, HFONT font, const std::string& text) {
    SIZE size{};
    if (text.empty() || !font) return size;
    TSelection select(dc, font);
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

// The geometry every step of one composition shares.
struct TFrameGeometry {
    RECT Ext{};
    int BW = 0, BWS = 0, CaptionH = 0, TitleBottom = 0, W = 0, H = 0;
    RECT R{};
    bool BorderMode1 = false;
};

TFrameGeometry FrameGeometry(TsSkinProvider& p, const TsSkinModel& model) {
    TFrameGeometry g;
    const HWND wnd = p.Form->Handle();
    g.Ext = p.GetExtBorderMargins();
    g.BW = p.BorderForm ? 0 : GetBorderWidth(wnd, nullptr, true);
    g.BWS = GetBorderWidth(wnd, p.BorderForm, true);
    g.CaptionH = p.CaptionHeight(true);
    g.TitleBottom = g.BW + g.CaptionH + g.Ext.top;
    g.W = FormWidth(p);
    g.H = FormHeight(p);
    g.R = RECT{g.Ext.left, g.Ext.top, g.W - g.Ext.right, g.H - g.Ext.bottom};
    g.BorderMode1 = p.BorderForm && model.SkinData().BorderMode == 1;
    return g;
}

void PaintFormTitle(TsSkinProvider& p, const TsSkinModel& model, const TFrameGeometry& g, TsParentImageInfo& bg) {
    if (g.CaptionH == 0 || !p.DrawNonClientArea) return;
    Bitmap32& cache = p.SkinData->CacheBmp->Pixels();
    const int title = p.GetTitleIndex();
    if (model.SectionIndexValid(title) && !g.BorderMode1) {
        const TsGeneralData& s = model.Sections()[static_cast<std::size_t>(title)];
        RECT r{g.R.left, g.R.top, g.R.right, g.TitleBottom};
        if (IconicNotMain(p)) r = g.R;
        PaintSkinItem(cache, model, title, bg, StateOf(s, p.FormActive), ToTRect(r), TPoint{0, 0});
    }
    p.PaintTitleIcon(*p.SkinData->CacheBmp);
    if (StdButtonCount(p) > 0 && model.SectionIndexValid(p.SkinData->SkinIndex)) {
        const TsGeneralData& form = model.Sections()[static_cast<std::size_t>(p.SkinData->SkinIndex)];
        const int bar = model.IndexOfMask(p.SkinData->SkinIndex, form.SectionName, "TITLEBAR");
        if (model.MaskIndexValid(bar)) {
            const TsMaskData& mask = model.Masks()[static_cast<std::size_t>(bar)];
            const int left = FormWidth(p) - (2 * ImageWidthOfMask(mask) + TitleButtonsWidth(p));
            PaintBorderMask(cache, TRect{left, 0, cache.Width(), g.CaptionH + g.BW}, bg, mask,
                            StateOf(form, p.FormActive), false);
        }
    }
}

TColor SectionFontColour(const TsSkinModel& model, int section, bool hot) {
    if (!model.SectionIndexValid(section)) return 0;
    const TsGeneralData& s = model.Sections()[static_cast<std::size_t>(section)];
    return static_cast<TColor>(model.ColorToRGB(hot ? s.HotFontColors[0] : s.FontColors[0])) & 0xFFFFFF;
}

void PaintCaptionText(TsSkinProvider& p, const TsSkinModel& model, const TFrameGeometry& g) {
    if (g.CaptionH == 0 || !p.DrawNonClientArea) return;
    TBitmap& bitmap = *p.SkinData->CacheBmp;
    Bitmap32& cache = bitmap.Pixels();
    const TsSkinData& sd = model.SkinData();
    const HWND wnd = p.Form->Handle();
    const bool zoomed = IsZoomed(wnd) != 0;
    const int captionSection = p.CaptionIndex;
    RECT tr{};
    tr.left = g.BWS + (p.ShowsAppIcon() ? p.IconRect().right - p.IconRect().left : 0) + 4 + sd.BILeftMargin +
              g.Ext.left + (model.SectionIndexValid(captionSection) ? 2 : 0);
    tr.right = cache.Width() - TitleButtonsWidth(p) - 12 - g.Ext.right;
    tr.top = zoomed ? (p.BorderForm ? g.Ext.top + 1 : 3) : g.Ext.top + 2;
    tr.bottom = g.TitleBottom;
    if (p.BorderForm) {
        int dy = sd.CenterOffset;
        const int maxHeight = sd.MaxHeight;
        if (zoomed && maxHeight != 0 && maxHeight != sd.TitleHeight) dy += (sd.TitleHeight - maxHeight) / 2;
        OffsetRect(&tr, 0, dy);
    }
    if (tr.right <= tr.left || tr.bottom <= tr.top) return;

    TacAddedTitle& added = *p.AddedTitle();
    GdiFlush();
    HDC dc = bitmap.Canvas()->Handle();
    HFONT addedFont = added.Font()->Handle();
    SIZE addedSize = added.Text().empty() ? SIZE{} : TextExtent(dc, addedFont, added.Text());
    const int addedWidth = addedSize.cx;
    TGdiObject<HFONT> captionFont(CreateCaptionFont());
    SIZE main{};
    std::string text;
    if (added.ShowMainCaption()) {
        text = p.Form->Caption();
        main = TextExtent(dc, captionFont.Get(), text);
        if (main.cy == 0) main.cy = TextExtent(dc, captionFont.Get(), "Wg").cy;
    } else {
        main = addedSize;
        addedSize.cx = 0;
    }
    tr.top += (tr.bottom - tr.top - main.cy) / 2;
    tr.bottom = tr.top + main.cy;
    TAlignment align = p.CaptionAlignment();
    const LONG_PTR exStyle = GetWindowLongPtrA(wnd, GWL_EXSTYLE);
    const bool rtl = (exStyle & WS_EX_RIGHT) != 0;
    if (rtl && align == taLeftJustify)
        align = taRightJustify;
    else if (rtl && align == taRightJustify)
        align = taLeftJustify;
    if (align == taRightJustify) {
        const int need = main.cx + addedSize.cx + 4;
        if (tr.right - tr.left > need) tr.left = tr.right - need;
    } else if (align == taCenter) {
        tr.left = std::max<int>(tr.left, tr.left + (tr.right - tr.left - main.cx - addedSize.cx - 4) / 2);
        tr.right = std::min<int>(tr.left + main.cx, tr.right);
    }
    UINT flags = kCaptionTextFlags;
    if (exStyle & WS_EX_RTLREADING) flags |= DT_RTLREADING;

    const int title = p.GetTitleIndex();
    if (added.ShowMainCaption()) {
        RECT measured = tr;
        {
            TSelection select(dc, captionFont.Get());
            DrawTextA(dc, text.data(), static_cast<int>(text.size()), &measured, flags | DT_CALCRECT);
        }
        measured.right = std::min(measured.right, tr.right);
        int textSection = title;
        bool plate = false;
        if (model.SectionIndexValid(captionSection)) {
            RECT plateRect = measured;
            InflateRect(&plateRect, 4, 2);
            Bitmap32 under(FormWidth(p), g.TitleBottom);
            CopyOpaqueRect(under, 0, 0, cache, TRect{0, 0, under.Width(), under.Height()});
            TsParentImageInfo bg;
            bg.Bmp = &under;
            bg.Ready = true;
            const TsGeneralData& cs = model.Sections()[static_cast<std::size_t>(captionSection)];
            PaintSkinItem(cache, model, captionSection, bg, StateOf(cs, p.FormActive), ToTRect(plateRect),
                          TPoint{plateRect.left, plateRect.top});
            textSection = captionSection;
            plate = true;
        }
        if (model.SectionIndexValid(textSection)) {
            const TsGeneralData& ts = model.Sections()[static_cast<std::size_t>(textSection)];
            const int glow = p.FormActive ? ts.HotGlowSize : ts.GlowSize;
            if (glow != 0) {
                Bitmap8 plane;
                const TColor colour =
                    static_cast<TColor>(model.ColorToRGB(p.FormActive ? ts.HotGlowColor : ts.GlowColor)) & 0xFFFFFF;
                DrawTextWithShadow(cache, captionFont.Get(), text, tr, plane, colour, glow, 15, flags);
            }
        }
        PaintSkinTextOnBitmap(cache, captionFont.Get(), text, p.Form->Enabled(), tr, flags, model, textSection,
                              p.FormActive, SectionFontColour(model, textSection, p.FormActive));
        tr.left = measured.right + (plate ? 4 : 0);
    }
    if (!added.Text().empty()) {
        tr.left += 4;
        tr.right = tr.left + addedWidth + 4;
        if (tr.right <= tr.left + 8) return;
        TColor colour = added.Font()->Color();
        if (colour == kNoColour || colour == kWindowTextColour)
            colour = SectionFontColour(model, title, p.FormActive);
        else {
            colour = static_cast<TColor>(kova::ColorToRGB(colour)) & 0xFFFFFF;
            if (!p.FormActive) colour = MixColors(colour, SectionFontColour(model, title, false), 0.5);
        }
        DrawTextToBitmap32(cache, addedFont, added.Text(), colour, flags, tr);
    }
}

}  // namespace

int FormWidth(TsSkinProvider& p) {
    if (!p.Form || !p.Form->HandleAllocated()) return 0;
    const RECT ext = p.GetExtBorderMargins();
    int w = WindowWidth(p.Form->Handle());
    if (p.BorderForm && !IconicNotMain(p)) w += 2 * ExtendedBorderDiff(p.BorderForm);
    return w + ext.left + ext.right;
}

int FormHeight(TsSkinProvider& p) {
    if (!p.Form || !p.Form->HandleAllocated()) return 0;
    const HWND wnd = p.Form->Handle();
    if (IconicNotMain(p)) return (p.BorderForm ? 0 : GetBorderWidth(wnd, nullptr, true)) + p.CaptionHeight(true) + 2;
    int h = WindowHeight(wnd);
    if (p.BorderForm) {
        const RECT ext = p.GetExtBorderMargins();
        h += ExtendedBorderDiff(p.BorderForm) + ExtendedTitleDiff(p.BorderForm) + ext.top + ext.bottom +
             (p.HasMenuLine() ? 1 : 0);
    }
    return h;
}

bool CacheSizeChanged(TsSkinProvider& p) {
    const TBitmap* cache = p.SkinData ? p.SkinData->CacheBmp.get() : nullptr;
    return !cache || cache->Width() != FormWidth(p) || cache->Height() != FormHeight(p);
}

void PaintFrameStrips(TsSkinProvider& p, HDC dc) {
    if (!dc || !p.Form || !p.Form->HandleAllocated() || !p.SkinData) return;
    if (p.SkinData->BGChanged || CacheSizeChanged(p) || !p.HasBorder()) {
        p.SkinData->BGChanged = true;
        p.PaintNonClientCache();
    }
    if (!p.SkinData->CacheBmp) return;
    const HWND wnd = p.Form->Handle();
    GdiFlush();
    const PixelBuffer32& cache = p.SkinData->CacheBmp->Pixels();
    const int w = std::min(cache.Width(), WindowWidth(wnd)), h = std::min(cache.Height(), WindowHeight(wnd));
    // The strips around the client area, wherever the system put it.
    const int left = std::clamp(p.ClientOffsetX(), 0, w), top = std::clamp(p.ClientOffsetY(), 0, h);
    const int right = std::clamp(left + ClientWidth(wnd), left, w);
    const int bottom = std::clamp(top + ClientHeight(wnd), top, h);
    for (const RECT& r : {RECT{0, 0, w, top}, RECT{0, top, left, bottom}, RECT{0, bottom, w, h},
                          RECT{right, top, w, bottom}})
        if (r.right > r.left && r.bottom > r.top) CopyBufferToDC(dc, r.left, r.top, cache, r);
}

void CopyButtonsBg(TsSkinProvider& p, bool whole) {
    if (!p.SkinData || !p.SkinData->CacheBmp || !p.Form->HandleAllocated()) return;
    const HWND wnd = p.Form->Handle();
    Bitmap32& cache = p.SkinData->CacheBmp->Pixels();
    const RECT ext = p.GetExtBorderMargins();
    const int skinFrame = p.BorderForm ? 0 : GetBorderWidth(wnd, p.BorderForm, true);
    const int w = GetBorderWidth(wnd, p.BorderForm, true) + TitleButtonsWidth(p) + 10 + ext.right;
    const int h = skinFrame + p.CaptionHeight(true) + GetBorderWidth(wnd, p.BorderForm, false) + p.HasMenuBar() +
                  ext.top;
    if (w <= 0 || h <= 0) {
        p.ButtonsBg.reset();
        return;
    }
    if (!p.ButtonsBg) p.ButtonsBg = std::make_unique<TBitmap>();
    p.ButtonsBg->SetSize(w, h);
    Bitmap32& strip = p.ButtonsBg->Pixels();
    strip.Fill(0);
    const int rows = whole ? h : skinFrame + p.CaptionHeight(true);
    const int x = FormWidth(p) - w - 1;
    // Only what lies inside the cache is copied (a form narrower than its
    // buttons leaves the rest empty).
    for (int y = 0; y < std::min(rows, std::min(h, cache.Height())); ++y)
        for (int i = 0; i < w; ++i)
            if (x + i >= 0 && x + i < cache.Width()) strip.At(i, y) = cache.At(x + i, y);
}

void RestoreButtonsBg(TsSkinProvider& p) {
    if (!p.ButtonsBg || !p.SkinData || !p.SkinData->CacheBmp) return;
    Bitmap32& cache = p.SkinData->CacheBmp->Pixels();
    Bitmap32& strip = p.ButtonsBg->Pixels();
    const int x = FormWidth(p) - strip.Width() - 1;
    for (int y = 0; y < std::min(strip.Height(), cache.Height()); ++y)
        for (int i = 0; i < strip.Width(); ++i)
            if (x + i >= 0 && x + i < cache.Width()) cache.At(x + i, y) = strip.At(i, y);
}

void TsSkinProvider::PaintNonClientCache() {
    if (!SkinData || !Form || !Form->HandleAllocated() || (Form->ControlState() & csCreating)) return;
    if (FormState & (kTranslucentMoving | kShowOrCloseAnimation)) return;
    TsSkinManager* manager = SkinData->GetSkinManager();
    if (SkinData->SkinIndex < 0 || !manager || !manager->Active()) {
        // Unskinned, the form's picture is its own look: what the engine's
        // animations and the task-bar pictures ask the cache for.
        if (!SkinData->CacheBmp) SkinData->CacheBmp = std::make_unique<TBitmap>();
        TBitmap& plain = *SkinData->CacheBmp;
        plain.SetSize(WindowWidth(Form->Handle()), WindowHeight(Form->Handle()));
        if (plain.Width() <= 0 || plain.Height() <= 0) return;
        plain.Pixels().Fill(0xFF000000u);
        PrintWindowTree(Form->Handle(), plain.Canvas()->Handle());
        GdiFlush();
        MakeOpaque(plain.Pixels());
        SkinData->BGChanged = false;
        return;
    }
    TsSkinModel& model = manager->Model();
    const TFrameGeometry g = FrameGeometry(*this, model);
    if (g.W <= 0 || g.H <= 0) return;
    if (!SkinData->CacheBmp) {
        SkinData->CacheBmp = std::make_unique<TBitmap>(g.W, g.H);
        SkinData->BGChanged = true;
        SkinData->UpdateBgFlags(false);
        if (!IsLoading() && !Form->IsLoading()) {
            TMessage m{SkinCommandMessage, SkinCommand(scControlFlags), 1, 0};
            BroadcastToAllControls(Form, m);
        }
    }
    if (SkinData->BGChanged) {
        RegionChanged = true;
        TBitmap& bitmap = *SkinData->CacheBmp;
        if (bitmap.Width() != g.W || bitmap.Height() != g.H) bitmap.SetSize(g.W, g.H);
        GdiFlush();
        Bitmap32& cache = bitmap.Pixels();
        if (model.SectionIndexValid(SkinData->SkinIndex)) {
            const TsGeneralData& section = model.Sections()[static_cast<std::size_t>(SkinData->SkinIndex)];
            const int state = StateOf(section, FormActive);
            TsParentImageInfo bg;
            TsBackgroundInfo parentInfo;
            if (Form->Parent()) {
                QueryParentBackgroundInfo(parentInfo, Form, false);
                BackgroundInfoToImageInfo(parentInfo, bg);
            }
            const TPoint position{Form->Left(), Form->Top()};
            if (!SkinData->PlainBackground()) {
                if (HasBorder() || (Form->Parent() && !g.BorderMode1))
                    PaintControlSkin(cache, model, SkinData->SkinIndex, bg, state, ToTRect(g.R), position, false,
                                     SkinData->HUEOffset, SkinData->Saturation);
                else
                    PaintSectionBackground(cache, model, SkinData->SkinIndex, bg, state, ToTRect(g.R), position);
            } else {
                const int frame = FrameWidth(true);
                const TColor colour = FormColor();
                const int rows = HasMenuBar() ? std::max(MenuLineCount, 1) : 0;
                if (!BorderForm)
                    FillRect32(cache, TRect{0, 0, cache.Width(), g.CaptionH + frame + rows * HasMenuBar() + 1},
                               colour);
                else
                    FillRect32(cache, ToTRect(g.R), colour);
                if (!g.BorderMode1) {
                    GdiFlush();
                    PaintSkinBorder(bitmap.Canvas()->Handle(), g.R, frame, colour, state, model, SkinData->BorderIndex,
                                    cache, bg);
                    GdiFlush();
                }
            }
            if (HasSizeGrip() && SkinData->RepaintsWithParent()) {
                SkinData->BGChanged = false;
                PaintSizeGrip(bitmap.Canvas()->Handle());
                GdiFlush();
            }
            TsParentImageInfo own;
            own.Bmp = &cache;
            own.X = ClientOffsetX();
            own.Y = ClientOffsetY();
            own.Ready = true;
            if (!g.BorderMode1) PaintFormTitle(*this, model, g, own);
            // An MDI main form's area comes with its own painter.
            PaintCaptionText(*this, model, g);
            PaintMenuLine(*this, g.TitleBottom, g.Ext, g.BWS, state);
            PaintMDIArea(*this, g.TitleBottom, g.Ext, FrameWidth(true));
            if (BorderForm) PaintExtendedBorder(*this);
            if (g.CaptionH != 0 && DrawNonClientArea) {
                CopyButtonsBg(*this, true);
                PaintTitleButtons(*this);
            }
        }
        FullRepaint = false;
        SkinData->BGChanged = false;
    }
    NonClientPaintedOnce = true;
    SkinData->BGChanged = false;
    SkinData->Updating = false;
}

}  // namespace kova::skin
