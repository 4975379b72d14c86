// The caption buttons of a skinned form: their images, their places from
// the caption's right edge, their painting into the cache, the repaint of
// one button over the kept caption strip.
#include "skin/forms/titlebuttons.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "framework/handles.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/glow.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/skinmanager.h"
#include "skin/forms/formanim.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/framepaint.h"
#include "skin/forms/mdiform.h"
#include "skin/forms/provider.h"

namespace kova::skin {

namespace {

constexpr int kDefaultButtonSize = 21;
// An MDI child button's size without an image.
constexpr int kDefaultMDIButtonSize = 16;
// The first user button stands this far left of the system buttons; the
// help button this much further left than the gap alone would place it.
constexpr int kUserButtonsGap = 8;
constexpr int kHelpGap = 6;

TsSkinModel* ModelOf(TsSkinProvider& p) {
    TsSkinManager* m = p.SkinData ? p.SkinData->GetSkinManager() : nullptr;
    return m ? &m->Model() : nullptr;
}

const TsMaskData* MaskAt(const TsSkinModel* model, int index) {
    if (!model || !model->MaskIndexValid(index)) return nullptr;
    return &model->Masks()[static_cast<std::size_t>(index)];
}

int GlobalMask(const TsSkinModel& model, const std::string& name) {
    return model.IndexOfMask(model.ConstData().GlobalInfo, "GLOBALINFO", name);
}

// A restore image: in GLOBALINFO, else in the form's own section.
int RestoreImage(TsSkinProvider& p, const TsSkinModel& model, const std::string& name) {
    const int i = GlobalMask(model, name);
    if (model.MaskIndexValid(i) || !model.SectionIndexValid(p.SkinData->SkinIndex)) return i;
    const TsGeneralData& s = model.Sections()[static_cast<std::size_t>(p.SkinData->SkinIndex)];
    return model.IndexOfMask(p.SkinData->SkinIndex, s.SectionName, name);
}

bool Iconic(TsSkinProvider& p) { return p.Form->HandleAllocated() && IsIconic(p.Form->Handle()); }
bool Zoomed(TsSkinProvider& p) { return p.Form->HandleAllocated() && IsZoomed(p.Form->Handle()); }
bool MinimizedForm(TsSkinProvider& p) {
    return p.Form->WindowState() == wsMinimized && Iconic(p) && Application()->MainForm() != p.Form;
}
bool HasHelp(TsSkinProvider& p) { return (p.Form->BorderIcons() & biHelp) != 0; }
bool SystemButtons(TsSkinProvider& p) { return p.SystemMenu && p.SysMenuHidden; }

// Draws a button image at the record's place over the cache itself.
void DrawButtonImage(TsSkinProvider& p, const TsCaptionButton& b, int image, bool weak) {
    TsSkinModel* model = ModelOf(p);
    const TsMaskData* mask = MaskAt(model, image);
    if (!mask || !p.SkinData->CacheBmp) return;
    Bitmap32& cache = p.SkinData->CacheBmp->Pixels();
    TsParentImageInfo bg;
    bg.Bmp = &cache;
    bg.Ready = true;
    const int columns = std::max<int>(1, mask->ColumnCount);
    const int state = std::clamp(b.State, 0, columns - 1);
    DrawMaskState(cache, TPoint{b.Rect.left, b.Rect.top}, state, weak ? 2 : 1, *mask, bg);
}

// A user button's glyph centred in its rectangle (a pressed one a pixel
// right and down): with its alpha when it has one, else keyed by its
// bottom-left pixel.
void DrawUserGlyph(TsSkinProvider& p, TsTitleButton& button, const RECT& r, bool pressed) {
    TBitmap* glyph = button.Glyph();
    if (!glyph || glyph->Width() <= 0 || glyph->Height() <= 0 || !p.SkinData->CacheBmp) return;
    Bitmap32& cache = p.SkinData->CacheBmp->Pixels();
    const Bitmap32& src = glyph->Pixels();
    const int x = r.left + (UserButtonWidth(p, button) - src.Width()) / 2 + (pressed ? 1 : 0);
    const int y = r.top + (CloseButtonHeight(p) - src.Height()) / 2 + (pressed ? 1 : 0);
    bool alpha = false;
    for (int j = 0; j < src.Height() && !alpha; ++j)
        for (int i = 0; i < src.Width(); ++i)
            if (src.At(i, j) >> 24) {
                alpha = true;
                break;
            }
    const std::uint32_t key = src.At(0, src.Height() - 1) & 0xFFFFFF;
    for (int j = 0; j < src.Height(); ++j)
        for (int i = 0; i < src.Width(); ++i) {
            const int dx = x + i, dy = y + j;
            if (dx < 0 || dy < 0 || dx >= cache.Width() || dy >= cache.Height()) continue;
            const std::uint32_t s = src.At(i, j);
            std::uint32_t& d = cache.At(dx, dy);
            if (!alpha) {
                if ((s & 0xFFFFFF) != key) d = s | 0xFF000000u;
                continue;
            }
            const std::uint32_t a = s >> 24;
            auto mix = [&](int shift) {
                return ((((s >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * (255 - a) + 127) / 255) << shift;
            };
            d = 0xFF000000u | mix(16) | mix(8) | mix(0);
        }
}

// Lays out one button from its right edge and paints it.
void PlaceTitleButton(TsSkinProvider& p, TsCaptionButton& b, int image, TsTitleButton* user, bool enabled) {
    TsSkinModel* model = ModelOf(p);
    const HWND wnd = p.Form->Handle();
    const TsSkinData& sd = model->SkinData();
    const int width = user ? UserButtonWidth(p, *user) : StdButtonWidth(p, b);
    b.Rect.left = b.Rect.right - width;
    const RECT ext = p.GetExtBorderMargins();
    const int bw = p.BorderForm ? 0 : GetBorderWidth(wnd, nullptr, true);
    const int captionH = p.CaptionHeight(true);
    const int height = CloseButtonHeight(p);
    int top = 0;
    if (b.BigImage && sd.BIVAlign == 1) {
        if (p.BorderForm && !Zoomed(p))
            top = ext.top + sd.BITopMargin;
        else if (p.BorderForm) {
            const int d = p.UseSysCaption ? ext.top + ExtendedTitleDiff(p.BorderForm) + 4 : p.BorderForm->TopOffset();
            top = GetSystemMetrics(SM_CYFRAME) + p.MaxTitleDiff() + d - (IsDwmCompositionEnabled() ? 0 : 1);
        } else
            top = Zoomed(p) ? 3 : 0;
    } else {
        top = (bw + captionH - height) / 2 + ext.top;
        if (p.BorderForm) {
            top += sd.CenterOffset;
            if (Zoomed(p)) {
                top -= 2;
                if (sd.TitleHeight != sd.MaxHeight) top += (sd.TitleHeight - sd.MaxHeight - sd.CenterOffset) / 2 - 2;
            }
            if (p.Form->WindowState() == wsMaximized) top += GetSystemMetrics(SM_CXFRAME) / 2;
        }
        if (p.IsBigTitleButtons() && height < 16) top += 2;
    }
    b.Rect.top = top;
    b.Rect.bottom = top + height;
    if (image > -1) {
        const bool weak = (!p.FormActive || !enabled) && b.State == 0;
        DrawButtonImage(p, b, image, weak);
    }
}

// A user button's painting state, kept in the item.
TsCaptionButton UserRecord(TsTitleButton& item, int index) {
    TsCaptionButton r;
    r.State = item.State;
    r.ImageIndex = item.ImageIndex;
    r.Rect = item.Rect;
    r.HitCode = kUserButtonHit + index;
    return r;
}

int GlowSizeOf(const TsSkinData& sd, int hitCode, int& margin) {
    switch (hitCode) {
        case HTMINBUTTON: margin = sd.BIMinGlowMargin; return sd.BIMinGlow;
        case HTMAXBUTTON: margin = sd.BIMaxGlowMargin; return sd.BIMaxGlow;
        case HTCLOSE: margin = sd.BICloseGlowMargin; return sd.BICloseGlow;
        default: margin = 0; return 0;
    }
}

void HideButtonGlow(TsCaptionButton& b) {
    if (b.GlowID >= 0) HideGlow(b.GlowID);
    b.GlowID = -1;
}

}  // namespace

TsCaptionButton* CaptionButtonOf(TsSkinProvider& p, int hitCode) {
    switch (hitCode) {
        case HTMINBUTTON: return &p.MinButton;
        case HTMAXBUTTON: return &p.MaxButton;
        case HTCLOSE: return &p.CloseButton;
        case HTHELP: return &p.HelpButton;
        case kMDIMinHit: return &p.MDIMinButton;
        case kMDIRestoreHit: return &p.MDIRestoreButton;
        case kMDICloseHit: return &p.MDICloseButton;
        default: return nullptr;
    }
}

int StdButtonCount(TsSkinProvider& p) {
    if (!SystemButtons(p)) return 0;
    return 1 + (p.SystemMenu->VisibleMax() ? 1 : 0) + (p.SystemMenu->VisibleMin() ? 1 : 0) + (HasHelp(p) ? 1 : 0);
}

int StdButtonWidth(TsSkinProvider& p, const TsCaptionButton& button) {
    const TsMaskData* mask = MaskAt(ModelOf(p), button.ImageIndex);
    if (!mask) return kDefaultButtonSize;
    const int w = ImageWidthOfMask(*mask);
    return w > 0 ? w : kDefaultButtonSize;
}

int CloseButtonHeight(TsSkinProvider& p) {
    const TsMaskData* mask = MaskAt(ModelOf(p), p.CloseButton.ImageIndex);
    if (!mask) return kDefaultButtonSize;
    const int h = ImageHeightOfMask(*mask);
    return h > 0 ? h : kDefaultButtonSize;
}

int UserButtonWidth(TsSkinProvider& p, TsTitleButton& button) {
    TBitmap* glyph = button.Glyph();
    const int glyphWidth = glyph && glyph->Width() > 0 ? glyph->Width() + 2 : 0;
    const TsMaskData* mask = MaskAt(ModelOf(p), p.TitleButtonMask);
    const int image = mask && ImageWidthOfMask(*mask) > 0 ? ImageWidthOfMask(*mask) : kDefaultButtonSize;
    return std::max(glyphWidth, image);
}

int TitleButtonGap(TsSkinProvider& p) {
    TsSkinModel* model = ModelOf(p);
    return model && p.IsBigTitleButtons() ? model->SkinData().BISpacing : 0;
}

int TitleButtonsWidth(TsSkinProvider& p) {
    TsSkinModel* model = ModelOf(p);
    if (!model || !p.Form) return 0;
    const int gap = TitleButtonGap(p);
    int w = model->SkinData().BIRightMargin;
    if (SystemButtons(p)) {
        w += StdButtonWidth(p, p.CloseButton);
        if (p.SystemMenu->VisibleMax()) w += StdButtonWidth(p, p.MaxButton) + gap;
        if (p.SystemMenu->VisibleMin()) w += StdButtonWidth(p, p.MinButton) + gap;
        if (HasHelp(p)) w += StdButtonWidth(p, p.HelpButton) + gap;
    }
    TsTitleButtons* user = p.TitleButtons();
    if (user && user->Count() > 0) {
        w += kUserButtonsGap;
        for (int i = 0; i < user->Count(); ++i) w += UserButtonWidth(p, *user->Items(i)) + gap;
    }
    return w;
}

void InitTitleButtonMasks(TsSkinProvider& p) {
    TsSkinModel* model = ModelOf(p);
    if (!model || !model->SectionIndexValid(model->ConstData().GlobalInfo) || !p.Form) return;
    p.MinButton.HitCode = HTMINBUTTON;
    p.MaxButton.HitCode = HTMAXBUTTON;
    p.CloseButton.HitCode = HTCLOSE;
    p.HelpButton.HitCode = HTHELP;
    p.MDIMinButton.HitCode = kMDIMinHit;
    p.MDIRestoreButton.HitCode = kMDIRestoreHit;
    p.MDICloseButton.HitCode = kMDICloseHit;
    const auto mask = [&](const char* name) { return GlobalMask(*model, name); };
    const auto setBig = [&]() {
        p.MinButton.ImageIndex = mask("BICONMIN");
        p.MaxButton.ImageIndex = mask("BICONMAX");
        const bool others = p.SystemMenu && (p.SystemMenu->VisibleMax() || p.SystemMenu->VisibleMin());
        int close = others ? -1 : mask("BICLOSEALONE");
        if (!model->MaskIndexValid(close)) close = mask("BICONCLOSE");
        p.CloseButton.ImageIndex = close;
        p.HelpButton.ImageIndex = mask("BICONHELP");
        p.MinButton.BigImage = p.MaxButton.BigImage = p.CloseButton.BigImage = true;
        p.HelpButton.BigImage = false;
    };
    if (p.IsBigTitleButtons()) {
        setBig();
    } else {
        p.MinButton.ImageIndex = mask("SICONMIN");
        p.MaxButton.ImageIndex = mask("SICONMAX");
        p.CloseButton.ImageIndex = mask("SICONCLOSE");
        int help = mask("SICONHELP");
        if (!model->MaskIndexValid(help)) help = mask("BICONHELP");
        p.HelpButton.ImageIndex = help;
        p.MinButton.BigImage = p.MaxButton.BigImage = p.CloseButton.BigImage = p.HelpButton.BigImage = false;
        // A skin without the small set: the large one for all four.
        if (!model->MaskIndexValid(p.CloseButton.ImageIndex)) {
            setBig();
            p.HelpButton.BigImage = true;
        }
    }
    if (p.Form->FormStyle() == fsMDIForm) {
        p.MDIMinButton.ImageIndex = mask("SICONMIN");
        p.MDIRestoreButton.ImageIndex = mask("SICONMAX");
        p.MDICloseButton.ImageIndex = mask("SICONCLOSE");
        p.MDIMinButton.BigImage = p.MDIRestoreButton.BigImage = p.MDICloseButton.BigImage = false;
        if (!model->MaskIndexValid(p.MDIMinButton.ImageIndex)) {
            p.MDIMinButton.ImageIndex = p.MinButton.ImageIndex;
            p.MDIRestoreButton.ImageIndex = p.MaxButton.ImageIndex;
            p.MDICloseButton.ImageIndex = p.CloseButton.ImageIndex;
            p.MDIMinButton.BigImage = p.MDIRestoreButton.BigImage = p.MDICloseButton.BigImage = true;
        }
    }
    p.TitleButtonMask = mask("TITLEBUTTON");
}

void PaintTitleButtons(TsSkinProvider& p) {
    TsSkinModel* model = ModelOf(p);
    if (!model || !p.Form || !p.HasBorder() || !p.SkinData->CacheBmp) return;
    const HWND wnd = p.Form->Handle();
    const RECT ext = p.GetExtBorderMargins();
    const int gap = TitleButtonGap(p);
    int x = FormWidth(p) - model->SkinData().BIRightMargin - ext.right - GetBorderWidth(wnd, p.BorderForm, true);
    RestoreButtonsBg(p);
    if (SystemButtons(p)) {
        TsSystemMenu& menu = *p.SystemMenu;
        if (model->MaskIndexValid(p.CloseButton.ImageIndex)) {
            p.CloseButton.Rect.right = x;
            PlaceTitleButton(p, p.CloseButton, p.CloseButton.ImageIndex, nullptr, menu.VisibleClose());
            x = p.CloseButton.Rect.left - gap;
        }
        if (menu.VisibleMax()) {
            int image = -1;
            bool enabled = false;
            if (Zoomed(p)) {
                image = GlobalMask(*model, "BICONNORM");
                p.MaxButton.ImageIndex = image;
                if (!model->MaskIndexValid(image)) image = RestoreImage(p, *model, "BICONNORM");
                enabled = menu.EnabledRestore();
            } else {
                image = GlobalMask(*model, p.MaxButton.BigImage ? "BICONMAX" : "SICONMAX");
                p.MaxButton.ImageIndex = image;
                enabled = menu.EnabledMax();
            }
            if (model->MaskIndexValid(image)) {
                p.MaxButton.Rect.right = x;
                PlaceTitleButton(p, p.MaxButton, image, nullptr, enabled);
                x = p.MaxButton.Rect.left - gap;
            }
        }
        if (menu.VisibleMin()) {
            int image = p.MinButton.ImageIndex;
            bool enabled = menu.EnabledMin();
            if (MinimizedForm(p)) {
                image = RestoreImage(p, *model, "BICONNORM");
                enabled = menu.EnabledRestore();
            }
            if (model->MaskIndexValid(image)) {
                p.MinButton.Rect.right = x;
                PlaceTitleButton(p, p.MinButton, image, nullptr, enabled);
                x = p.MinButton.Rect.left - gap;
            }
        }
        if (HasHelp(p) && model->MaskIndexValid(p.HelpButton.ImageIndex)) {
            p.HelpButton.Rect.right = x - kHelpGap;
            PlaceTitleButton(p, p.HelpButton, p.HelpButton.ImageIndex, nullptr, true);
            x = p.HelpButton.Rect.left - gap;
        }
    }
    TsTitleButtons* user = p.TitleButtons();
    if (user && user->Count() > 0) {
        x -= kUserButtonsGap;
        for (int i = 0; i < user->Count(); ++i) {
            TsTitleButton& item = *user->Items(i);
            if (!item.Visible()) continue;
            item.ImageIndex = item.UseSkinData && model->MaskIndexValid(p.TitleButtonMask) ? p.TitleButtonMask : -1;
            TsCaptionButton rec = UserRecord(item, i);
            rec.Rect.right = x;
            rec.BigImage = false;
            PlaceTitleButton(p, rec, item.ImageIndex, &item, item.Enabled);
            item.Rect = rec.Rect;
            x = rec.Rect.left - gap;
            DrawUserGlyph(p, item, item.Rect, false);
        }
    }
    PaintMDIButtons(p);
}

void PaintMDIButtons(TsSkinProvider& p) {
    TsSkinModel* model = ModelOf(p);
    if (!model || !MenuLineMDIMaximized(p)) return;
    const TsMaskData* closeMask = MaskAt(model, p.MDICloseButton.ImageIndex);
    int w = closeMask ? ImageWidthOfMask(*closeMask) : 0, h = closeMask ? ImageHeightOfMask(*closeMask) : 0;
    if (w <= 0) w = kDefaultMDIButtonSize;
    if (h <= 0) h = kDefaultMDIButtonSize;
    const HWND wnd = p.Form->Handle();
    const RECT ext = p.GetExtBorderMargins();
    const int bar = p.HasMenuBar();
    const int bw = p.BorderForm ? 0 : GetBorderWidth(wnd, nullptr, true);
    const int y = bw + p.CaptionHeight(true) + ext.top + (bar - h) / 2 + (std::max(p.MenuLineCount, 1) - 1) * bar;
    const int r = FormWidth(p) - GetBorderWidth(wnd, p.BorderForm, true) - ext.right;
    TsSkinProvider* child = MaximizedMDIChildProvider(p);
    TsSystemMenu* childMenu = child ? child->SystemMenu : nullptr;
    const bool inactive = !p.FormActive;
    auto place = [&](TsCaptionButton& b, int x) { b.Rect = RECT{x, y, x + w, y + h}; };
    if (model->MaskIndexValid(p.MDIMinButton.ImageIndex)) {
        place(p.MDIMinButton, r - 3 * (w + 1));
        DrawButtonImage(p, p.MDIMinButton, p.MDIMinButton.ImageIndex,
                        inactive || (childMenu && !childMenu->EnabledMin()));
    }
    // The restore image: the record's own unless the child is maximised
    // (which it is while the buttons show), else the global restore image.
    place(p.MDIRestoreButton, r - 2 * (w + 1));
    int restore = GlobalMask(*model, "SICONNORM");
    if (!model->MaskIndexValid(restore)) restore = RestoreImage(p, *model, "BICONNORM");
    if (model->MaskIndexValid(restore))
        DrawButtonImage(p, p.MDIRestoreButton, restore, inactive || (childMenu && !childMenu->EnabledRestore()));
    if (model->MaskIndexValid(p.MDICloseButton.ImageIndex)) {
        place(p.MDICloseButton, r - (w + 1));
        DrawButtonImage(p, p.MDICloseButton, p.MDICloseButton.ImageIndex, inactive);
    }
}

void RepaintTitleButton(TsSkinProvider& p, int hitCode) {
    TsSkinModel* model = ModelOf(p);
    if (!model || !p.Form || !p.Form->HandleAllocated() || !p.SkinData->CacheBmp) return;
    TsCaptionButton* rec = CaptionButtonOf(p, hitCode);
    TsTitleButton* user = nullptr;
    TsCaptionButton userRec;
    if (!rec && hitCode >= kUserButtonHit) {
        const int i = hitCode - kUserButtonHit;
        TsTitleButtons* list = p.TitleButtons();
        if (list && i < list->Count() && list->Items(i)->Visible()) {
            user = list->Items(i);
            userRec = UserRecord(*user, i);
            rec = &userRec;
        }
    }
    // The MDI child's buttons show only with a maximised child and are
    // drawn over the menu line itself (no caption strip under them).
    if (hitCode >= kMDICloseHit && hitCode <= kMDIMinHit) {
        if (!rec || !MenuLineMDIMaximized(p)) return;
        p.SkinData->BGChanged = true;
        p.FullRepaint = true;
        SendMessageA(p.Form->Handle(), WM_NCPAINT, 0, 0);
        return;
    }
    if (!rec) return;
    if (rec->State == -1) {
        HideButtonGlow(*rec);
        return;
    }
    if (p.IconRect().right >= rec->Rect.left) return;
    Bitmap32& cache = p.SkinData->CacheBmp->Pixels();
    const int width = user ? UserButtonWidth(p, *user) : StdButtonWidth(p, *rec);
    const int height = CloseButtonHeight(p);
    if (p.ButtonsBg) {
        const Bitmap32& strip = p.ButtonsBg->Pixels();
        const int sx0 = rec->Rect.left - (FormWidth(p) - strip.Width() - 1);
        for (int j = 0; j < height; ++j)
            for (int i = 0; i < width; ++i) {
                const int sx = sx0 + i, sy = rec->Rect.top + j;
                const int dx = rec->Rect.left + i, dy = rec->Rect.top + j;
                if (sx < 0 || sy < 0 || sx >= strip.Width() || sy >= strip.Height()) continue;
                if (dx < 0 || dy < 0 || dx >= cache.Width() || dy >= cache.Height()) continue;
                cache.At(dx, dy) = strip.At(sx, sy);
            }
    }
    int image = rec->ImageIndex;
    bool disabled = false;
    if (SystemButtons(p)) {
        TsSystemMenu& menu = *p.SystemMenu;
        if (hitCode == HTMAXBUTTON) disabled = Zoomed(p) ? !menu.EnabledRestore() : !menu.EnabledMax();
        if (hitCode == HTMINBUTTON) disabled = !menu.EnabledMin();
        if (hitCode == HTMAXBUTTON && Zoomed(p)) image = RestoreImage(p, *model, "BICONNORM");
        if (MinimizedForm(p)) {
            if (hitCode == HTMINBUTTON) image = RestoreImage(p, *model, "BICONNORM");
            if (hitCode == HTMAXBUTTON) image = RestoreImage(p, *model, "BICONMAX");
            if (hitCode == HTMINBUTTON || hitCode == HTMAXBUTTON) disabled = !menu.EnabledMax();
        }
    }
    if (user) disabled = !user->Enabled;
    if (model->MaskIndexValid(image)) {
        const bool weak = user ? !p.FormActive && rec->State == 0
                               : (!p.FormActive || disabled) && (rec->State == 0 || disabled);
        DrawButtonImage(p, *rec, image, weak);
    }
    if (user) DrawUserGlyph(p, *user, rec->Rect, rec->State == 2);

    // The button onto the window.
    const HWND wnd = p.Form->Handle();
    RECT onWindow = rec->Rect;
    if (p.BorderForm) {
        const RECT ext = p.GetExtBorderMargins();
        const int dx = ExtendedBorderDiff(p.BorderForm) + ext.left;
        const int dy = Zoomed(p) ? (p.UseSysCaption ? ext.top + ExtendedTitleDiff(p.BorderForm) + 4
                                                    : p.BorderForm->TopOffset())
                                 : ExtendedTitleDiff(p.BorderForm) + ext.top;
        OffsetRect(&onWindow, -dx, -dy);
    }
    if (p.BorderForm) {
        // The border window shows the caption: its picture is the cache.
        p.BorderForm->UpdateBorderWindow(true, 255);
    } else {
        TWindowDC dc(wnd, TDCArea::Window);
        TSavedDC saved(dc.Get());
        GdiFlush();
        CopyBufferToDC(dc.Get(), onWindow.left, onWindow.top, cache, rec->Rect);
    }
    // The system buttons fade toward their new state.
    if (!user && TitleButtonFadesWanted(p)) {
        if (rec->State == 1)
            AnimateTitleButton(p, *rec, 1, 10, true);
        else if (rec->State == 2)
            AnimateTitleButton(p, *rec, 2, 1, true);
        else
            AnimateTitleButton(p, *rec, 0, 10, false);
    }

    // The glow of a hot system button.
    int margin = 0;
    const int glowSize = user ? 0 : GlowSizeOf(model->SkinData(), hitCode, margin);
    if (rec->State == 1 && (hitCode == HTMINBUTTON || hitCode == HTMAXBUTTON || hitCode == HTCLOSE)) {
        if (glowSize < 1) return;
        TsSkinManager* manager = p.SkinData->GetSkinManager();
        if (manager && manager->AllowGlowing() && !p.Form->Parent() && p.Form->FormStyle() != fsMDIChild &&
            rec->GlowID < 0) {
            RECT origin{};
            GetWindowRect(p.BorderForm && p.BorderForm->AForm ? p.BorderForm->AForm->Handle() : wnd, &origin);
            RECT screen = rec->Rect;
            OffsetRect(&screen, origin.left, origin.top);
            const TsMaskData* mask = MaskAt(model, image);
            const std::string name = mask ? mask->PropertyName + "GLOW" : std::string();
            const RECT clip{0, 0, screen.right - screen.left, screen.bottom - screen.top};
            rec->GlowID = ShowGlow(*model, screen, clip, "GLOBALINFO", name, margin, wnd);
        }
        return;
    }
    HideButtonGlow(*rec);
}

void CallTitleButtonMouse(TsTitleButton& button, bool down, POINT screenPoint) {
    const TMouseEvent& handler = down ? button.OnMouseDown : button.OnMouseUp;
    if (handler) handler(&button, mbLeft, TShiftState{}, screenPoint.x, screenPoint.y);
}

}  // namespace kova::skin
