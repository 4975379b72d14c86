#include "skin/controls/toolbarwnd.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "framework/handles.h"
#include "skin/controls/portable/smallgeometry.h"
#include "skin/controls/smallctrls.h"
#include "skin/core/alphaimagelist.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/model/skindata.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/commondata.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinstate.h"

namespace kova::skin {

namespace {

const TsMaskData* ToolButtonBorder(const TsSkinModel& skin) {
    const int i = skin.IndexOfMask(skin.IndexOfSection("TOOLBUTTON"), "TOOLBUTTON", "BORDERSMASK");
    return skin.MaskIndexValid(i) ? &skin.Masks()[static_cast<std::size_t>(i)] : nullptr;
}

// A tool button's image into its face at `at`: an alpha list's image
// blended by its alpha (hot, checked or normal); another list's image
// drawn onto its background colour (the key colour when it has none) and
// copied with that colour left out, so the face shows around it.
void PaintToolGlyph(TImageList& list, int index, TCustomDrawState state, PixelBuffer32& face, TPoint at) {
    if (dynamic_cast<TsAlphaImageList*>(&list)) {
        const int glyphState = (state & cdsHot) ? 1 : (state & cdsChecked) ? 2 : 0;
        TSize size{};
        DrawImageListGlyph(&list, face, at.X, at.Y, 1, glyphState, index, 0, false, size);
        return;
    }
    if (list.Width() <= 0 || list.Height() <= 0) return;
    const COLORREF bk = ImageList_GetBkColor(list.Handle());
    const std::uint32_t key = bk == CLR_NONE ? static_cast<std::uint32_t>(clFuchsia) : SwapRedBlue(bk & 0xFFFFFF);
    TBitmap glyph(list.Width(), list.Height());
    glyph.Pixels().Fill(0xFF000000u | key);
    ImageList_Draw(list.Handle(), index, glyph.Canvas()->Handle(), 0, 0, ILD_TRANSPARENT);
    GdiFlush();
    CopyTransparentBitmap(face, at.X, at.Y, glyph.Pixels(), key);
}

// The drop-down arrow part of a button of that style (0 for none).
int ArrowPartWidth(const TToolButton& b) {
    return b.Style() == tbsDropDown ? std::max(GetSystemMetrics(SM_CXVSCROLL) - 2, 0) : 0;
}

}  // namespace

TacToolBarVCLWnd::TacToolBarVCLWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                   const std::string& section)
    : TacMainWnd(wnd, skinData, manager, section.empty() ? std::string("TOOLBAR") : section) {
    if (CommonData->SkinSection().empty()) {
        CommonData->SetSkinSection("TOOLBAR");
        CommonData->ReadSkinIndexes();
    }
    ToolBar = dynamic_cast<TToolBar*>(CommonData->OwnerControl);
    HookEvents();
}

TacToolBarVCLWnd::~TacToolBarVCLWnd() { UnhookEvents(); }

void TacToolBarVCLWnd::HookEvents() {
    if (!ToolBar || ToolBar->IsDestroying()) return;
    ToolBar->OnAdvancedCustomDraw = [this](TToolBar* s, const RECT& r, TCustomDrawStage st, bool& def) {
        ToolBarCustomDraw(s, r, st, def);
    };
    ToolBar->OnAdvancedCustomDrawButton = [this](TToolBar* s, TToolButton* b, TCustomDrawState state,
                                                 TCustomDrawStage st, TTBCustomDrawFlags& f, bool& def) {
        ToolButtonCustomDraw(s, b, state, st, f, def);
    };
    hooked_ = true;
}

void TacToolBarVCLWnd::UnhookEvents() {
    if (!hooked_) return;
    hooked_ = false;
    if (!ToolBar || ToolBar->IsDestroying()) return;
    ToolBar->OnAdvancedCustomDraw = nullptr;
    ToolBar->OnAdvancedCustomDrawButton = nullptr;
}

void TacToolBarVCLWnd::PrepareCache() {
    TsCommonData& d = *CommonData;
    GetWndGeometry(WindowHandle, ParentHandle, WindowRect, PosInParent, WindowSize, ParentWindowRect);
    UpdateWndCache(d, WindowHandle, InDialog);
    d.BGChanged = false;
}

RECT TacToolBarVCLWnd::ClientInWindow() const { return ClientRectInWindow(WindowHandle); }

void TacToolBarVCLWnd::PaintBorders(HDC given) {
    TsCommonData& d = *CommonData;
    RECT wr{};
    GetWindowRect(WindowHandle, &wr);
    const RECT cr = ClientInWindow();
    if (cr.left <= 0 && cr.top <= 0 && cr.right >= wr.right - wr.left && cr.bottom >= wr.bottom - wr.top) return;
    if (d.BGChanged || !d.CacheBmp || d.CacheBmp->Width() == 0) PrepareCache();
    CopyCacheAround(WindowHandle, d, cr, given);
}

void TacToolBarVCLWnd::PaintBackground(HDC dc, const RECT& client, const RECT& area) {
    TsCommonData& d = *CommonData;
    PaintControlBorder(d, 0);
    const TSavedDC saved(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    // Graphic children and windowed ones that cover their place keep it;
    // a windowed child that shows what lies under it gets the bar there.
    if (ToolBar)
        for (int i = 0; i < ToolBar->ControlCount(); ++i) {
            TControl* c = ToolBar->Controls(i);
            if (!c->Visible()) continue;
            if (c->IsWindowed() && !(c->ControlStyle() & csOpaque)) continue;
            const RECT b = c->BoundsRect();
            RECT overlap{};
            if (!IntersectRect(&overlap, &b, &area)) continue;
            ExcludeClipRect(dc, b.left, b.top, b.right, b.bottom);
        }
    GdiFlush();
    const RECT from{client.left + area.left, client.top + area.top, client.left + area.right, client.top + area.bottom};
    CopyBufferToDC(dc, area.left, area.top, d.CacheBmp->Pixels(), from);
}

TColor TacToolBarVCLWnd::CaptionColour(int state) const {
    TsSkinManager* m = ActiveManager();
    if (!m) return 0;
    const TsSkinModel& skin = m->Model();
    const int own = skin.IndexOfSection("TOOLBUTTON");
    int under = -1;
    // The bar itself paints under its buttons; a bar that gives no font of
    // its own, or mostly shows its parent, leaves it to what lies under it.
    const int bar = CommonData->SkinIndex;
    if (skin.SectionIndexValid(bar)) {
        const TsGeneralData& s = skin.Sections()[static_cast<std::size_t>(bar)];
        const int st = std::max(0, std::min(state >= 1 ? 1 : 0, s.States - 1));
        if (s.Props[static_cast<std::size_t>(st)].Transparency <= 50 && s.GiveOwnFont) under = bar;
    }
    if (under < 0 && ToolBar) under = ParentBgSectionIndex(ToolBar, -1, m, state);
    if (under < 0) under = own;
    if (!skin.SectionIndexValid(under)) return 0;
    const TsGeneralData& sec = skin.Sections()[static_cast<std::size_t>(under)];
    return static_cast<TColor>(skin.ColorToRGB(state >= 1 ? sec.HotFontColors[0] : sec.FontColors[0]));
}

void TacToolBarVCLWnd::ToolBarCustomDraw(TToolBar* sender, const RECT& rect, TCustomDrawStage stage,
                                         bool& defaultDraw) {
    TsCommonData& d = *CommonData;
    if (!ActiveManager() || !d.IsSkinned()) {
        defaultDraw = true;
        return;
    }
    d.Updating = d.IsUpdating();
    defaultDraw = false;
    if (stage != cdPrePaint || d.Updating) return;
    if (d.BGChanged || !d.CacheBmp || d.CacheBmp->Width() == 0) PrepareCache();
    if (!d.CacheBmp || d.CacheBmp->Width() == 0) return;
    const RECT cr = ClientInWindow();
    PaintBackground(sender->Canvas()->Handle(), cr, rect);
    BroadcastToChildControls(sender);
    // Edges and border band around the client area: painted anew with it.
    if (!(cr.left < 1 && cr.top < 1 && cr.right == sender->Width() && cr.bottom == sender->Height()))
        SendMessageA(WindowHandle, WM_NCPAINT, 1, 0);
}

void TacToolBarVCLWnd::ToolButtonCustomDraw(TToolBar* sender, TToolButton* button, TCustomDrawState state,
                                            TCustomDrawStage stage, TTBCustomDrawFlags& flags, bool& defaultDraw) {
    TsSkinManager* m = ActiveManager();
    TsCommonData& d = *CommonData;
    if (!m || !d.IsSkinned()) {
        defaultDraw = true;
        return;
    }
    defaultDraw = false;
    if (stage != cdPrePaint || !button) return;
    if (d.BGChanged || !d.CacheBmp || d.CacheBmp->Width() == 0) PrepareCache();
    if (!d.CacheBmp || d.CacheBmp->Width() == 0) return;
    const TsSkinModel& skin = m->Model();
    // The adapter tracks the hot button itself: the system's hot bit would
    // disagree with it over disabled buttons and after the mouse left.
    state &= ~static_cast<TCustomDrawState>(cdsHot);
    if (button->Index() == HotIndex) state |= cdsHot;
    flags |= tbNoEdges | tbNoEtchedEffect;
    const RECT r = button->BoundsRect();
    const int bw = r.right - r.left, bh = r.bottom - r.top;
    if (bw <= 0 || bh <= 0) return;
    TBitmap b(bw, bh);
    const int st = ToolButtonState(state, button->Indeterminate() || button->Marked());
    PixelBuffer32& cache = d.CacheBmp->Pixels();
    // The cache spans the window: the button lies at its client place
    // moved by the edges and the border band.
    const RECT client = ClientInWindow();
    const int ox = r.left + client.left, oy = r.top + client.top;
    TsParentImageInfo under;
    under.Bmp = &cache;
    under.X = ox, under.Y = oy;
    under.Ready = true;
    {
        PixelBuffer32& px = b.Pixels();
        for (int y = 0; y < bh; ++y)
            for (int x = 0; x < bw; ++x) {
                const int sx = ox + x, sy = oy + y;
                px.At(x, y) = sx < cache.Width() && sy < cache.Height() ? cache.At(sx, sy) : 0xFF000000u;
            }
        if (button->Style() >= tbsSeparator) {
            // Separators show the bar.
            GdiFlush();
            BitBlt(sender->Canvas()->Handle(), r.left, r.top, bw, bh, b.Canvas()->Handle(), 0, 0, SRCCOPY);
            return;
        }
        const int arrow = ArrowPartWidth(*button);
        const int section = skin.IndexOfSection("TOOLBUTTON");
        PaintSkinItem(px, skin, section, under, st, TRect{0, 0, bw - arrow, bh}, TPoint{0, 0});
        // The arrow part: pressed while its menu is open or the button is
        // held, hot with the button, else normal.
        if (arrow > 0 && skin.MaskIndexValid(skin.ConstData().SmallArrowGlyph)) {
            int arrowState = 0;
            if ((button == DroppedButton && button->DropdownMenu) || button->Pressed())
                arrowState = 2;
            else if (st >= 1)
                arrowState = 1;
            if (const TsMaskData* border = ToolButtonBorder(skin))
                PaintBorderMask(px, TRect{bw - arrow, 0, bw, bh}, under, *border, arrowState, false);
            const TsMaskData& glyph = skin.Masks()[static_cast<std::size_t>(skin.ConstData().SmallArrowGlyph)];
            const int gw = ImageWidthOfMask(glyph), gh = ImageHeightOfMask(glyph);
            TsParentImageInfo self;
            self.Bmp = &px;
            self.Ready = true;
            DrawMaskState(px, TPoint{(arrow - 3 - gw) / 2 + bw - arrow + 2, (sender->ButtonHeight() - gh) / 2},
                          arrowState, 1, glyph, self);
        }
    }
    HDC dc = b.Canvas()->Handle();
    const int arrow = ArrowPartWidth(*button);
    TImageList* images = sender->Images();
    const bool hasImage = images && button->ImageIndex() >= 0 && button->ImageIndex() < images->Count();
    if (sender->ShowCaptions() && !button->Caption().empty()) {
        const TSelection font(dc, sender->Font()->Handle());
        SIZE tw{}, th{};
        GetTextExtentPoint32A(dc, button->Caption().c_str(), static_cast<int>(button->Caption().size()), &tw);
        GetTextExtentPoint32A(dc, "A", 1, &th);
        TToolCaptionInput in;
        in.ButtonWidth = bw, in.ButtonHeight = bh, in.ArrowWidth = arrow, in.ListStyle = sender->List();
        in.HasImage = hasImage;
        in.ImageWidth = images ? images->Width() : 0, in.ImageHeight = images ? images->Height() : 0;
        in.TextWidth = tw.cx, in.TextHeight = th.cy, in.State = st;
        const TRect cr = ToolButtonCaptionRect(in);
        SetTextColor(dc, CaptionColour(st) & 0xFFFFFF);
        SetBkMode(dc, TRANSPARENT);
        RECT tr{cr.Left, cr.Top, cr.Right, cr.Bottom};
        GdiFlush();
        DrawTextA(dc, button->Caption().c_str(), -1, &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        GdiFlush();
    }
    if (hasImage) {
        TToolGlyphInput in;
        in.ButtonWidth = bw, in.ButtonHeight = bh;
        in.ImageWidth = images->Width(), in.ImageHeight = images->Height();
        in.ListStyle = sender->List(), in.DropDown = button->Style() == tbsDropDown;
        in.ShowCaptions = sender->ShowCaptions();
        SIZE th{};
        {
            const TSelection font(dc, sender->Font()->Handle());
            GetTextExtentPoint32A(dc, "A", 1, &th);
        }
        in.TextHeight = th.cy, in.State = st;
        const TRect gr = ToolButtonGlyphRect(in);
        TImageList* from = images;
        if (TImageList* hot = sender->HotImages(); UseHotImages(st, hot != nullptr, hot ? hot->Count() : 0, button->ImageIndex()))
            from = hot;
        GdiFlush();
        PaintToolGlyph(*from, button->ImageIndex(), state, b.Pixels(), TPoint{gr.Left, gr.Top});
    }
    if (!button->Enabled() || button->Indeterminate()) {
        PixelBuffer32& px = b.Pixels();
        BlendBitmapRect(px, 0, 0, cache, TRect{ox, oy, ox + bw, oy + bh}, 0.4, 0xFF00FF);
    }
    GdiFlush();
    BitBlt(sender->Canvas()->Handle(), r.left, r.top, bw, bh, dc, 0, 0, SRCCOPY);
}

void TacToolBarVCLWnd::RepaintButton(int index) {
    if (!ToolBar || index < 0 || index >= ToolBar->ButtonCount()) return;
    TToolButton* b = ToolBar->Buttons(index);
    if (!b->Visible()) return;
    TWindowDC dc(WindowHandle);
    if (!dc.Get()) return;
    const TSavedDC saved(dc.Get());
    const TCanvasLease lease(*ToolBar->Canvas(), dc.Get());
    TTBCustomDrawFlags flags = 0;
    bool def = false;
    ToolButtonCustomDraw(ToolBar, b, 0, cdPrePaint, flags, def);
}

void TacToolBarVCLWnd::TrackHot(POINT at) {
    if (!ToolBar) return;
    std::vector<TToolHitButton> hits;
    for (int i = 0; i < ToolBar->ButtonCount(); ++i) {
        const TToolButton& b = *ToolBar->Buttons(i);
        const RECT r = b.BoundsRect();
        hits.push_back(TToolHitButton{TRect{r.left, r.top, r.right, r.bottom}, b.Style() >= tbsSeparator || !b.Visible(),
                                      b.Enabled()});
    }
    const int next = NextHotButton(hits, TPoint{at.x, at.y}, HotIndex);
    if (next == HotIndex) return;
    const int old = HotIndex;
    HotIndex = next;
    for (int i : {old, next})
        if (i >= 0 && i < ToolBar->ButtonCount() && !ToolBar->Buttons(i)->Pressed()) RepaintButton(i);
}

void TacToolBarVCLWnd::WndProc(TMessage& m) {
    TsCommonData& d = *CommonData;
    const TLife life = Life();
    if (IsSkinCommand(m)) {
        const bool ours = reinterpret_cast<TsSkinManager*>(m.LParam) == d.GetSkinManager();
        switch (SkinSubCode(m.WParam)) {
            case scSkinApplied:
                HookEvents();
                break;
            case scSkinRemoved:
                if (ours) {
                    UnhookEvents();
                    DroppedButton = nullptr;
                }
                break;
            case scRefresh:
                if (ours) DroppedButton = nullptr;
                break;
            case scQueryBgInfo:
                if (m.LParam) {
                    GetWndGeometry(WindowHandle, ParentHandle, WindowRect, PosInParent, WindowSize, ParentWindowRect);
                    auto& info = *reinterpret_cast<TsBackgroundInfo*>(m.LParam);
                    d.FillBackgroundInfo(info, 0, WindowHandle);
                    // Children sit in the client area, inside the edges.
                    const RECT cr = ClientInWindow();
                    info.Offset.X += cr.left;
                    info.Offset.Y += cr.top;
                    return;
                }
                break;
            default:
                break;
        }
        TacMainWnd::WndProc(m);
        return;
    }
    if (m.Msg == WM_DESTROY && ToolBar && ToolBar->IsDestroying()) {
        // The bar goes first and takes its events with it: nothing of it
        // is touched after.
        hooked_ = false;
        ToolBar = nullptr;
        DroppedButton = nullptr;
        HotIndex = -1;
    }
    const bool skinned = ActiveManager() && d.IsSkinned();
    if (skinned) {
        switch (m.Msg) {
            case WM_ERASEBKGND:
                m.Result = 1;
                return;
            case WM_NCPAINT:
                if (!PaintingSuspended()) PaintBorders(nullptr);
                m.Result = 0;
                return;
            case WM_PRINT: {
                if (d.BGChanged) PrepareCache();
                HDC dc = reinterpret_cast<HDC>(m.WParam);
                if (!dc) return;
                PaintBorders(dc);
                // The bar paints itself, through the events, into its
                // client area of the DC.
                const RECT cr = ClientInWindow();
                const TSavedDC saved(dc);
                POINT old{};
                OffsetViewportOrgEx(dc, cr.left, cr.top, &old);
                IntersectClipRect(dc, 0, 0, cr.right - cr.left, cr.bottom - cr.top);
                // The system's bar asks for its background only where its
                // buttons lie when it is given a DC: the rest first.
                if (d.CacheBmp && d.CacheBmp->Width() > 0)
                    PaintBackground(dc, cr, RECT{0, 0, cr.right - cr.left, cr.bottom - cr.top});
                CallPrevWndProc(WM_PAINT, m.WParam, 0);
                return;
            }
            case CN_NOTIFY: {
                auto* n = reinterpret_cast<NMHDR*>(m.LParam);
                if (n->code == TBN_DELETINGBUTTON && ToolBar && HotIndex >= ToolBar->ButtonCount()) HotIndex = -1;
                if (n->code == TBN_DROPDOWN && ToolBar) {
                    const int i = reinterpret_cast<NMTOOLBARA*>(m.LParam)->iItem;
                    if (i >= 0 && i < ToolBar->ButtonCount()) {
                        DroppedButton = ToolBar->Buttons(i);
                        const RECT r = DroppedButton->BoundsRect();
                        InvalidateRect(WindowHandle, &r, FALSE);
                    }
                }
                break;
            }
            default:
                break;
        }
    }
    TacMainWnd::WndProc(m);
    if (!life.Alive() || !skinned) return;
    switch (m.Msg) {
        case WM_SIZE:
            d.BGChanged = true;
            RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE);
            break;
        case WM_MOUSEMOVE:
            TrackHot(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
            break;
        case TToolBar::DropDownClosed:
            if (DroppedButton) {
                const int i = DroppedButton->Index();
                HotIndex = -1;
                DroppedButton = nullptr;
                RepaintButton(i);
            }
            break;
        case CM_MOUSELEAVE: {
            const int old = HotIndex;
            HotIndex = -1;
            RepaintButton(old);
            break;
        }
        default:
            break;
    }
}

}  // namespace kova::skin
