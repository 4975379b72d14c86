#include "skin/controls/tabwnd.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "framework/comctrls.h"
#include "framework/handles.h"
#include "framework/windowtext.h"
#include "skin/controls/smallctrls.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/skincommands.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinstate.h"
#include "skin/core/vclutils.h"

namespace kova::skin {

namespace {

// The skin's section for the tabs' side of a "PAGECONTROL" record.
const char* const kPageSections[4] = {"PAGECONTROL", "PAGECONTROLBOTTOM", "PAGECONTROLLEFT", "PAGECONTROLRIGHT"};
const char* const kTabSections[4] = {"TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT"};

bool EmptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

TsParentImageInfo CacheAsParent(TsCommonData& d, POINT at) {
    TsParentImageInfo bg;
    if (d.CacheBmp) {
        bg.Bmp = &d.CacheBmp->Pixels();
        bg.X = at.x;
        bg.Y = at.y;
        bg.Ready = true;
    }
    return bg;
}

// The page adapters made for page windows.
std::vector<std::unique_ptr<TacPageWnd>>& PageAdapters() {
    static std::vector<std::unique_ptr<TacPageWnd>> list;
    return list;
}

// Adapters whose page went are freed (never from inside their own
// procedure: the next look at the list does it).
void PrunePageAdapters() {
    auto& list = PageAdapters();
    list.erase(std::remove_if(list.begin(), list.end(),
                              [](const std::unique_ptr<TacPageWnd>& a) { return !a || a->Detached; }),
               list.end());
}

// Page adapters of one tab control's pages freed with the control's adapter.
void FreePageAdaptersOf(HWND control) {
    for (auto& a : PageAdapters())
        if (a && !a->Detached && GetParent(a->WindowHandle) == control) a->Detach(false);
    PrunePageAdapters();
}

bool AdaptPage(HWND page, TsSkinManager* manager, TTabSheet* sheet) {
    if (!manager || FindAdapter(page) || SendSkinCommand(page, scQuerySupport, 0) == 1) return false;
    auto a = CreateAdapter<TacPageWnd>(page, nullptr, manager, "CHECKBOX");
    if (a->Detached) return false;
    a->PageObject = sheet;
    PageAdapters().push_back(std::move(a));
    return true;
}

struct TEnumPages {
    HWND Control;
    TsSkinManager* Manager;
};

BOOL CALLBACK AdaptPageWindow(HWND child, LPARAM l) {
    auto* e = reinterpret_cast<TEnumPages*>(l);
    if (GetParent(child) != e->Control) return TRUE;
    // The overflow arrows have their own adapter.
    if (WindowClassName(child) == UPDOWN_CLASSA) return TRUE;
    auto* m = reinterpret_cast<TsSkinManager*>(SendSkinCommand(e->Control, scGroupBoxCaptionHeight, 0));
    if (m) AdaptPage(child, m, nullptr);
    return TRUE;
}

}  // namespace

int TabPositionOfStyle(DWORD style) {
    if (style & TCS_VERTICAL) return (style & TCS_RIGHT) ? 3 : 2;
    return (style & TCS_BOTTOM) ? 1 : 0;
}

int TabStyleOfStyle(DWORD style) {
    if (style & TCS_FLATBUTTONS) return 2;
    return (style & TCS_BUTTONS) ? 1 : 0;
}

TSpinAdapterMaker& SpinAdapterMaker() {
    static TSpinAdapterMaker maker = [](HWND spin, TsSkinManager* manager) -> std::unique_ptr<TacMainWnd> {
        return CreateAdapter<TacSpinWnd>(spin, nullptr, manager, "UPDOWNBTN");
    };
    return maker;
}

int PageAdapterCount() {
    PrunePageAdapters();
    return static_cast<int>(PageAdapters().size());
}

TacPageWnd* PageAdapterOf(HWND page) {
    for (auto& a : PageAdapters())
        if (a && !a->Detached && a->WindowHandle == page) return a.get();
    return nullptr;
}

std::unique_ptr<TacMainWnd> CreateTabControlAdapter(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                                    const std::string& section) {
    return CreateAdapter<TacTabControlWnd>(wnd, skinData, manager, section);
}

std::unique_ptr<TacMainWnd> CreatePageControlAdapter(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                                     const std::string& section) {
    auto a = CreateAdapter<TacPageControlWnd>(wnd, skinData, manager, section);
    if (!a->Detached) a->AdaptPages();
    return a;
}

// ------------------------------------------------------------ tab control

TacTabControlWnd::TacTabControlWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                   const std::string& section)
    : TacMainWnd(wnd, skinData, manager, section.empty() ? "PAGECONTROL" : section) {
    if (section.empty()) {
        CommonData->SetSkinSection("PAGECONTROL");
        CommonData->ReadSkinIndexes();
    }
}

TacTabControlWnd::~TacTabControlWnd() {
    SpinAdapter.reset();
    if (WindowHandle) FreePageAdaptersOf(WindowHandle);
}

void TacTabControlWnd::Detach(bool repaintFrame) {
    SpinAdapter.reset();
    FreePageAdaptersOf(WindowHandle);
    TacMainWnd::Detach(repaintFrame);
}

int TacTabControlWnd::TabCount() const { return static_cast<int>(SendMessageA(WindowHandle, TCM_GETITEMCOUNT, 0, 0)); }
int TacTabControlWnd::SelectedTab() const { return static_cast<int>(SendMessageA(WindowHandle, TCM_GETCURSEL, 0, 0)); }
int TacTabControlWnd::TabPosition() const {
    return TabPositionOfStyle(static_cast<DWORD>(GetWindowLongA(WindowHandle, GWL_STYLE)));
}
int TacTabControlWnd::TabStyle() const {
    return TabStyleOfStyle(static_cast<DWORD>(GetWindowLongA(WindowHandle, GWL_STYLE)));
}

void TacTabControlWnd::DisplayRect(RECT& r) {
    r = RECT{0, 0, WindowSize.cx, WindowSize.cy};
    SendMessageA(WindowHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    r.top += 2;
}

void TacTabControlWnd::PageFrameRect(RECT& r) { SplitAtFrame(r, false); }

void TacTabControlWnd::TabStripRect(RECT& r) { SplitAtFrame(r, true); }

void TacTabControlWnd::SplitAtFrame(RECT& r, bool strip) {
    r = RECT{0, 0, WindowSize.cx, WindowSize.cy};
    if (TabCount() < 1) return;
    RECT d{};
    DisplayRect(d);
    // The frame's edge on the tabs' side: the frame lies beyond it, the
    // strip before it.
    switch (TabPosition()) {
        case 0: (strip ? r.bottom : r.top) = d.top - 4; break;
        case 1: (strip ? r.top : r.bottom) = d.bottom + 2; break;
        case 2: (strip ? r.right : r.left) = d.left - 1; break;
        default: (strip ? r.left : r.right) = d.right + 1; break;
    }
}

RECT TacTabControlWnd::TabItemRect(int index, bool selected) {
    RECT r{};
    if (index < 0 || index >= TabCount()) return r;
    SendMessageA(WindowHandle, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    if (TabStyle() != 0 || r.left == r.right) return r;
    if (selected)
        r.bottom -= 1;
    else {
        r.bottom += 3;
        r.right -= 1;
    }
    switch (TabPosition()) {
        case 0:
            if (selected) InflateRect(&r, 2, 2);
            r.bottom += 1;
            break;
        case 1:
            if (selected) InflateRect(&r, 2, 1);
            r.top -= 2;
            if (selected)
                r.bottom += 1;
            else
                r.bottom -= 3;
            break;
        case 2:
            InflateRect(&r, 0, 1);
            r.right += 2;
            if (selected)
                InflateRect(&r, 1, 1);
            else {
                r.bottom -= 4;
                r.right += 2;
            }
            break;
        default:
            InflateRect(&r, 1, 0);
            OffsetRect(&r, -1, -1);
            if (selected) {
                InflateRect(&r, 1, 1);
                r.bottom += 3;
            } else
                r.bottom -= 2;
            break;
    }
    return r;
}

int TacTabControlWnd::TabRowOf(int index) {
    const int n = static_cast<int>(SendMessageA(WindowHandle, TCM_GETROWCOUNT, 0, 0));
    if (n < 2) return 1;
    RECT ir{};
    SendMessageA(WindowHandle, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ir));
    const int w = ir.right - ir.left, h = ir.bottom - ir.top;
    RECT s{};
    TabStripRect(s);
    // A row of items without a size has no place to count from.
    switch (TabPosition()) {
        case 0: return h > 0 ? (ir.bottom + h / 2) / h : 1;
        case 2: return w > 0 ? (ir.right + w / 2) / w : 1;
        case 3: return w > 0 ? n - ((ir.right - s.left + w / 2) / w) + 1 : 1;
        default: return h > 0 ? n - ((ir.bottom - s.top + h / 2) / h) + 1 : 1;
    }
}

void TacTabControlWnd::UpdateSpinAdapter() {
    if (!Skinned()) {
        SpinAdapter.reset();
        return;
    }
    HWND spin = FindWindowExA(WindowHandle, nullptr, UPDOWN_CLASSA, nullptr);
    if (spin && SpinAdapter && SpinAdapter->WindowHandle == spin && !SpinAdapter->Detached) return;
    SpinAdapter.reset();
    if (spin && SpinAdapterMaker()) SpinAdapter = SpinAdapterMaker()(spin, CommonData->GetSkinManager());
}

// ----------------------------------------------------------------- paint

void TacTabControlWnd::PaintTabControl(HDC given, bool printing) {
    GetWndGeometry(WindowHandle, ParentHandle, WindowRect, PosInParent, WindowSize, ParentWindowRect);
    TsCommonData& d = *CommonData;
    d.Updating = d.IsUpdating();
    if (d.Updating) return;
    TsSkinManager* m = d.GetSkinManager();
    if (!m) return;
    const TsSkinModel& skin = m->Model();
    HDC dc = given;
    TWindowDC ownDC;
    TSavedDC saved;
    if (!(printing || PaintingSuspended() || (d.FlagsWord & kHasLinkedObject)) || !dc) {
        ownDC = TWindowDC(WindowHandle);
        dc = ownDC.Get();
        if (!dc) return;
        saved = TSavedDC(dc);
    }
    d.BGChanged = true;
    const int count = TabCount();
    std::string section = d.SkinSection();
    if (count < 1)
        section = "CHECKBOX";
    else if (section == "PAGECONTROL")
        section = kPageSections[TabPosition()];
    d.SkinIndex = skin.IndexOfSection(section);
    if (d.SkinIndex < 0 && count > 0) d.SkinIndex = skin.IndexOfSection("PAGECONTROL");

    TsParentImageInfo parent;
    ParentImageInfoOfWnd(WindowHandle, parent);
    d.EnsureCacheBmp();
    d.CacheBmp->SetSize(std::max<int>(WindowSize.cx, 0), std::max<int>(WindowSize.cy, 0));
    if (WindowSize.cx <= 0 || WindowSize.cy <= 0) return;
    if (count > 0) PaintTabStrip(parent);
    RECT frame{};
    PageFrameRect(frame);
    if (d.SkinIndex >= 0)
        PaintControlSkin(d.CacheBmp->Pixels(), skin, d.SkinIndex, parent, 0,
                         TRect{frame.left, frame.top, frame.right, frame.bottom},
                         TPoint{PosInParent.x + frame.left, PosInParent.y + frame.top}, false);
    d.BGChanged = false;

    const int selected = count > 0 ? SelectedTab() : -1;
    {
        // The selected tab is painted last, over the strip: the strip leaves
        // its place out.
        TSavedDC clip;
        if (selected >= 0) {
            clip = TSavedDC(dc);
            const RECT sr = TabItemRect(selected, true);
            ExcludeClipRect(dc, sr.left, sr.top, sr.right, sr.bottom);
        }
        BitBlt(dc, 0, 0, WindowSize.cx, WindowSize.cy, d.CacheBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    if (selected >= 0) PaintSelectedTab(selected, 2, dc);
    if (d.OwnerControl && d.OwnerControl->IsWindowed())
        PaintGraphicControls(dc, static_cast<TWinControl*>(d.OwnerControl), true, POINT{0, 0});
}

void TacTabControlWnd::PaintTabStrip(const TsParentImageInfo& parentImage) {
    TsCommonData& d = *CommonData;
    RECT s{};
    TabStripRect(s);
    PixelBuffer32& cache = d.CacheBmp->Pixels();
    if (parentImage.Ready && parentImage.Bmp) {
        const PixelBuffer32& p = *parentImage.Bmp;
        for (int y = std::max<int>(s.top, 0); y < std::min<int>(s.bottom, cache.Height()); ++y)
            for (int x = std::max<int>(s.left, 0); x < std::min<int>(s.right, cache.Width()); ++x) {
                const int px = PosInParent.x + parentImage.X + x, py = PosInParent.y + parentImage.Y + y;
                if (px >= 0 && py >= 0 && px < p.Width() && py < p.Height()) cache.At(x, y) = p.At(px, py);
            }
    } else {
        const std::uint32_t fill = 0xFF000000u | (ColorToPixel(static_cast<std::uint32_t>(
                                                      d.GetSkinManager()->Model().ColorToRGB(parentImage.FillColor))) &
                                                  0xFFFFFFu);
        for (int y = std::max<int>(s.top, 0); y < std::min<int>(s.bottom, cache.Height()); ++y)
            for (int x = std::max<int>(s.left, 0); x < std::min<int>(s.right, cache.Width()); ++x) cache.At(x, y) = fill;
    }
    const int count = TabCount(), selected = SelectedTab();
    const int rows = std::max(1, static_cast<int>(SendMessageA(WindowHandle, TCM_GETROWCOUNT, 0, 0)));
    for (int row = 1; row <= rows; ++row)
        for (int i = 0; i < count; ++i)
            if (i != selected && TabRowOf(i) == row) PaintTab(i, 0, POINT{0, 0}, *d.CacheBmp);
}

void TacTabControlWnd::PaintSelectedTab(int index, int state, HDC dc) {
    if (index < 0) return;
    const RECT r = TabItemRect(index, state == 2);
    TBitmap bmp(std::max<int>(r.right - r.left, 0), std::max<int>(r.bottom - r.top, 0));
    if (bmp.Width() == 0 || bmp.Height() == 0) return;
    PaintTab(index, state, POINT{-r.left, -r.top}, bmp);
    BitBlt(dc, r.left, r.top, bmp.Width(), bmp.Height(), bmp.Canvas()->Handle(), 0, 0, SRCCOPY);
}

std::string TacTabControlWnd::TabText(int index, TCITEMA& item) const {
    return ItemText([&](char* buffer, int size) {
        item = TCITEMA{};
        item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
        item.dwStateMask = TCIS_HIGHLIGHTED;
        item.pszText = buffer;
        item.cchTextMax = size;
        SendMessageA(WindowHandle, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    });
}

std::string TacTabControlWnd::TabText(int index) const {
    TCITEMA item{};
    return TabText(index, item);
}

void TacTabControlWnd::PaintTab(int index, int state, POINT offset, TBitmap& target) {
    TsCommonData& d = *CommonData;
    TsSkinManager* m = d.GetSkinManager();
    const TsSkinModel& skin = m->Model();
    const bool isSelected = state == 2 && index == SelectedTab();
    const RECT r = TabItemRect(index, isSelected);
    if (EmptyRect(r)) return;
    TCITEMA item{};
    const std::string text = TabText(index, item);
    const int position = TabPosition(), style = TabStyle();

    int section = -1;
    if (skin.ConstData().Tabs[0].Section > 0) {
        int mask = -1;
        if (style == 0) {
            section = skin.ConstData().Tabs[static_cast<std::size_t>(position)].Section;
            mask = skin.ConstData().Tabs[static_cast<std::size_t>(position)].Border;
        } else {
            const char* name = style == 1 ? "BUTTON" : "TOOLBUTTON";
            section = skin.IndexOfSection(name);
            mask = skin.IndexOfMaskExact(name, "BORDERSMASK");
        }
        const int w = r.right - r.left, h = r.bottom - r.top;
        if (section >= 0 && skin.MaskIndexValid(mask)) {
            PixelBuffer32& cache = d.CacheBmp->Pixels();
            TBitmap b(w, h);
            if (isSelected) {
                // The frame already painted below the selected tab shows
                // through its transparent parts.
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) {
                        const int cx = r.left + x, cy = r.top + y;
                        b.Pixels().At(x, y) = cx >= 0 && cy >= 0 && cx < cache.Width() && cy < cache.Height()
                                                  ? cache.At(cx, cy)
                                                  : 0xFF000000u;
                    }
                TsParentImageInfo bg;
                bg.Bmp = &b.Pixels();
                bg.Ready = true;
                // Composed in B over itself, then copied whole.
                PaintSkinItem(b.Pixels(), skin, section, bg, state, TRect{0, 0, w, h}, TPoint{0, 0});
                BitBlt(target.Canvas()->Handle(), r.left + offset.x, r.top + offset.y, w, h, b.Canvas()->Handle(), 0,
                       0, SRCCOPY);
            } else {
                const TsParentImageInfo bg = CacheAsParent(d, POINT{r.left, r.top});
                PaintSkinItem(b.Pixels(), skin, section, bg, state, TRect{0, 0, w, h}, TPoint{0, 0});
                HDC tdc = target.Canvas()->Handle();
                const TSavedDC keep(tdc);
                if (position == 0 || position == 2) {
                    RECT f{};
                    PageFrameRect(f);
                    ExcludeClipRect(tdc, f.left + offset.x, f.top + offset.y, f.right + offset.x, f.bottom + offset.y);
                }
                BitBlt(tdc, r.left + offset.x, r.top + offset.y, w, h, b.Canvas()->Handle(), 0, 0, SRCCOPY);
            }
        } else {
            section = -1;
        }
    }
    if (section < 0) section = skin.ConstData().Tabs[static_cast<std::size_t>(position)].Section;
    if (section < 0) section = d.SkinIndex;
    RECT content = r;
    OffsetRect(&content, offset.x, offset.y);
    PaintTabContent(index, state, section, content, target, text, item.iImage);
}

void TacTabControlWnd::PaintTabContent(int index, int state, int section, RECT r, TBitmap& target,
                                       const std::string& text, int image) {
    TsCommonData& d = *CommonData;
    const TsSkinModel& skin = d.GetSkinManager()->Model();
    TCanvas& canvas = *target.Canvas();
    HDC dc = canvas.Handle();
    // An owner-drawn framework page control draws the content itself, on
    // its canvas lent the target's DC.
    if (auto* pc = dynamic_cast<TPageControl*>(d.OwnerControl); pc && pc->OwnerDraw() && pc->OnDrawTab) {
        GdiFlush();
        const TCanvasLease lease(*pc->Canvas(), dc);
        pc->OnDrawTab(pc, index, r, state == 2);
        GdiFlush();
        return;
    }
    // A framework control's own font; a native one's from its window.
    auto font = d.OwnerControl ? d.OwnerControl->Font()->Handle()
                               : reinterpret_cast<HFONT>(SendMessageA(WindowHandle, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HGDIOBJ oldFont = SelectObject(dc, font);
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(WindowHandle, TCM_GETIMAGELIST, 0, 0));
    // The framework tab control's image list draws itself (its alpha kept).
    auto* tabs = dynamic_cast<TTabControl*>(d.OwnerControl);
    TImageList* own = tabs && tabs->Images() && tabs->Images()->Handle() == images ? tabs->Images() : nullptr;
    auto drawImage = [&](int x, int y) {
        if (own) {
            GdiFlush();
            own->Draw(&canvas, x, y, image, true);
            GdiFlush();
        } else {
            ImageList_Draw(images, image, dc, x, y, ILD_NORMAL);
        }
    };
    int iw = 0, ih = 0;
    const bool hasImage = images && image > -1 && ImageList_GetIconSize(images, &iw, &ih);
    if (!hasImage) iw = ih = 0;
    const int position = TabPosition();
    SIZE ts{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &ts);
    if (position < 2) {
        if (hasImage) {
            const int x = r.left + (r.right - r.left - (ts.cx + iw + 8)) / 2;
            drawImage(x, r.top + (r.bottom - r.top - ih) / 2);
            r.left += iw;
        }
        // The canvas carries the control's font for the skin's text.
        SelectObject(dc, oldFont);
        canvas.Font()->SetHandle(font);
        if (section >= 0) PaintSkinText(canvas, text, true, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, skin, section, state != 0);
        return;
    }
    // Side tabs read along the tab: a rotated copy of the font at normal
    // weight; the bitmap fonts of old dialogs do not rotate.
    LOGFONTA lf{};
    GetObjectA(font, sizeof lf, &lf);
    lf.lfWidth = 0;
    lf.lfEscapement = lf.lfOrientation = position == 2 ? 900 : 2700;
    lf.lfWeight = FW_NORMAL;
    lf.lfOutPrecision = lf.lfClipPrecision = 0;
    lf.lfQuality = lf.lfPitchAndFamily = 0;
    if (std::string(lf.lfFaceName) == "MS Sans Serif") lstrcpyA(lf.lfFaceName, "Arial");
    TGdiObject<HFONT> rotated(CreateFontIndirectA(&lf));
    SelectObject(dc, rotated.Get());
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &ts);
    const int tw = ts.cx, th = ts.cy;
    const TsGeneralData* sec =
        section >= 0 ? &skin.Sections()[static_cast<std::size_t>(section)] : nullptr;
    const bool hot = state != 0 && sec && sec->States > 1;
    if (sec) SetTextColor(dc, ColorToRGB(static_cast<TColor>(skin.ColorToRGB(sec->Props[hot ? 1 : 0].FontColors[0]))));
    SetBkMode(dc, TRANSPARENT);
    const bool selected = state == 2 && index == SelectedTab();
    int x = 0, y = 0;
    if (position == 2) {
        if (hasImage) {
            if (selected) OffsetRect(&r, 2, 0);
            const int k = (r.bottom - r.top - (ih + 4 + tw)) / 2;
            const int iy = r.bottom - k - ih;
            drawImage(r.left + (r.right - r.left - iw) / 2, iy);
            x = r.left + (r.right - r.left - th) / 2;
            y = iy - 4;
        } else {
            x = r.left + (r.right - r.left - th) / 2;
            y = r.bottom - (r.bottom - r.top - tw) / 2;
        }
    } else {
        OffsetRect(&r, -2, -1);
        if (hasImage) {
            if (selected) OffsetRect(&r, 2, 0);
            const int k = (r.bottom - r.top - (ih + 4 + tw)) / 2;
            const int iy = r.top + k;
            drawImage(r.left + (r.right - r.left - iw) / 2, iy);
            x = r.left + (r.right - r.left - th) / 2 + th;
            y = iy + ih + 4;
        } else {
            x = r.left + (r.right - r.left - th) / 2 + th;
            y = r.top + (r.bottom - r.top - tw) / 2;
        }
    }
    ExtTextOutA(dc, x, y, ETO_CLIPPED, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    SelectObject(dc, oldFont);
}

// -------------------------------------------------------------- messages

void TacTabControlWnd::WndProc(TMessage& m) { TabWndProc(m); }

void TacTabControlWnd::TabWndProc(TMessage& m) {
    if (IsSkinCommand(m)) {
        TsCommonData& d = *CommonData;
        const bool ours = reinterpret_cast<TsSkinManager*>(m.LParam) == d.GetSkinManager();
        switch (SkinSubCode(m.WParam)) {
            case scSkinApplied:
                if (ours) HandleRootCommand(m);
                PassCommandToChildren(nullptr, WindowHandle, m);
                return;
            case scSkinRemoved:
                if (ours) {
                    RestoreStdParams();
                    SpinAdapter.reset();
                }
                PassCommandToChildren(nullptr, WindowHandle, m);
                if (ours) {
                    InvalidateRect(WindowHandle, nullptr, TRUE);
                    RedrawWindow(WindowHandle, nullptr, nullptr, 0x787);
                }
                return;
            case scRefresh:
                if (ours) {
                    d.ReadSkinIndexes();
                    d.BGChanged = true;
                    InvalidateRect(WindowHandle, nullptr, TRUE);
                    UpdateSpinAdapter();
                }
                PassCommandToChildren(nullptr, WindowHandle, m);
                return;
            case scEndParentUpdate:
                if (Skinned()) {
                    d.Updating = false;
                    InvalidateRect(WindowHandle, nullptr, TRUE);
                    return;
                }
                break;
            case scQuerySupport:
                m.Result = 1;
                return;
            case scQueryUpdating:
                if (Skinned()) {
                    m.Result = d.Updating ? 1 : 0;
                    return;
                }
                break;
            case scGroupBoxCaptionHeight:
                m.Result = reinterpret_cast<LRESULT>(d.GetSkinManager());
                return;
            case scQueryBgInfo:
                if (Skinned() && m.LParam) {
                    d.FillBackgroundInfo(*reinterpret_cast<TsBackgroundInfo*>(m.LParam), 0, WindowHandle);
                    return;
                }
                break;
            default:
                break;
        }
        TacMainWnd::WndProc(m);
        return;
    }
    if (m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) {
        SpinAdapter.reset();
        TacMainWnd::WndProc(m);
        return;
    }
    if (!Skinned()) {
        TacMainWnd::WndProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_PRINT:
            UpdateSpinAdapter();
            PaintTabControl(reinterpret_cast<HDC>(m.WParam), true);
            return;
        case TCM_SETCURSEL: {
            const TLife life = Life();
            SendMessageA(WindowHandle, WM_SETREDRAW, FALSE, 0);
            CallPrevWndProc(m);
            if (life.Alive()) SendMessageA(WindowHandle, WM_SETREDRAW, TRUE, 0);
            return;
        }
        case WM_PAINT: {
            PaintAllOnErase(WindowHandle);
            return;
        }
        case WM_ERASEBKGND:
            if (!IsWindowVisible(WindowHandle)) break;
            if (!PaintingSuspended()) PaintTabControl(reinterpret_cast<HDC>(m.WParam), false);
            UpdateSpinAdapter();
            m.Result = 0;
            return;
        case WM_NCPAINT:
            return;
        default:
            break;
    }
    const TLife life = Life();
    const SIZE before = storedSize_;
    TacMainWnd::WndProc(m);
    if (!life.Alive() || !Skinned()) return;
    if (m.Msg == WM_SIZE) {
        UpdateSpinAdapter();
        RECT wr{};
        GetWindowRect(WindowHandle, &wr);
        storedSize_ = SIZE{wr.right - wr.left, wr.bottom - wr.top};
        if (storedSize_.cx < before.cx || storedSize_.cy < before.cy)
            RedrawWindow(WindowHandle, nullptr, nullptr, 0x471);
    }
}

// ---------------------------------------------------------- page control

void TacPageControlWnd::AdaptPages() {
    PrunePageAdapters();
    TsSkinManager* m = CommonData->GetSkinManager();
    if (auto* pc = dynamic_cast<TPageControl*>(CommonData->OwnerControl)) {
        for (int i = 0; i < pc->PageCount(); ++i) {
            TTabSheet* sheet = pc->Pages(i);
            if (sheet && sheet->HandleAllocated()) AdaptPage(sheet->Handle(), m, sheet);
        }
        return;
    }
    TEnumPages e{WindowHandle, m};
    EnumChildWindows(WindowHandle, &AdaptPageWindow, reinterpret_cast<LPARAM>(&e));
}

void TacPageControlWnd::WndProc(TMessage& m) {
    if (!Skinned() || IsSkinCommand(m)) {
        TabWndProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_PRINT:
            UpdateSpinAdapter();
            AdaptPages();
            PaintTabControl(reinterpret_cast<HDC>(m.WParam), true);
            return;
        case TCM_SETCURSEL:
            if (CommonData->OwnerControl) {
                AdaptPages();
                if (TControl* c = CommonData->OwnerControl; c->Parent())
                    NotifyParentFormOfControl(c);
            }
            break;
        case WM_PARENTNOTIFY:
            if (LOWORD(m.WParam) == WM_CREATE || LOWORD(m.WParam) == WM_DESTROY) {
                const TLife life = Life();
                TabWndProc(m);
                if (life.Alive() && LOWORD(m.WParam) == WM_CREATE) AdaptPages();
                return;
            }
            break;
        case WM_ERASEBKGND:
            if (!IsWindowVisible(WindowHandle)) break;
            if (!PaintingSuspended()) PaintTabControl(reinterpret_cast<HDC>(m.WParam), false);
            m.Result = 1;
            return;
        case WM_NCPAINT:
            AdaptPages();
            return;
        default:
            break;
    }
    TabWndProc(m);
}

// ------------------------------------------------------------------ page

TacPageWnd::TacPageWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacMainWnd(wnd, skinData, manager, section) {
    GetWndGeometry(WindowHandle, ParentHandle, WindowRect, PosInParent, WindowSize, ParentWindowRect);
}

void TacPageWnd::PaintPageWindow(HDC dc) {
    GetWndGeometry(WindowHandle, ParentHandle, WindowRect, PosInParent, WindowSize, ParentWindowRect);
    if (!dc || !ParentHandle) return;
    TsBackgroundInfo info;
    info.R = TRect{PosInParent.x, PosInParent.y, PosInParent.x + WindowSize.cx, PosInParent.y + WindowSize.cy};
    QueryParentBackgroundInfoWnd(info, ParentHandle, false);
    const int w = WindowSize.cx, h = WindowSize.cy;
    if (info.BgType == 2 && info.Bmp) {
        TBitmap part(std::max(w, 0), std::max(h, 0));
        const PixelBuffer32& src = *info.Bmp;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int sx = PosInParent.x + info.Offset.X + x, sy = PosInParent.y + info.Offset.Y + y;
                part.Pixels().At(x, y) = sx >= 0 && sy >= 0 && sx < src.Width() && sy < src.Height() ? src.At(sx, sy)
                                                                                                    : 0xFF000000u;
            }
        if (w > 0 && h > 0) BitBlt(dc, 0, 0, w, h, part.Canvas()->Handle(), 0, 0, SRCCOPY);
    } else {
        FillRectSolid(dc, RECT{0, 0, w, h}, static_cast<std::uint32_t>(info.Color));
        // The frame's edge facing the tabs runs on over the page.
        if (info.Bmp && SendMessageA(ParentHandle, TCM_GETITEMCOUNT, 0, 0) > 0) {
            const int pos = TabPositionOfStyle(static_cast<DWORD>(GetWindowLongA(ParentHandle, GWL_STYLE)));
            RECT strip = pos == 0   ? RECT{0, 0, w, 3}
                         : pos == 1 ? RECT{0, h - 3, w, h}
                         : pos == 2 ? RECT{0, 0, 3, h}
                                    : RECT{w - 3, 0, w, h};
            const PixelBuffer32& src = *info.Bmp;
            for (int y = std::max<int>(strip.top, 0); y < strip.bottom; ++y)
                for (int x = std::max<int>(strip.left, 0); x < strip.right; ++x) {
                    const int sx = PosInParent.x + x, sy = PosInParent.y + y;
                    if (sx < 0 || sy < 0 || sx >= src.Width() || sy >= src.Height()) continue;
                    const std::uint32_t p = src.At(sx, sy);
                    SetPixelV(dc, x, y, RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
                }
        }
    }
    if (PageObject) {
        PaintGraphicControls(dc, PageObject, true, POINT{0, 0});
        BroadcastToChildControls(PageObject);
    }
}

void TacPageWnd::WndProc(TMessage& m) {
    if (IsSkinCommand(m)) {
        TsCommonData& d = *CommonData;
        const bool ours = reinterpret_cast<TsSkinManager*>(m.LParam) == d.GetSkinManager();
        switch (SkinSubCode(m.WParam)) {
            case scSkinApplied:
                PassCommandToChildren(nullptr, WindowHandle, m);
                if (ours) HandleRootCommand(m);
                return;
            case scSkinRemoved:
            case scRefresh:
                if (ours) {
                    d.ReadSkinIndexes();
                    InvalidateRect(WindowHandle, nullptr, TRUE);
                }
                PassCommandToChildren(nullptr, WindowHandle, m);
                if (SkinSubCode(m.WParam) == scSkinRemoved) TacMainWnd::WndProc(m);
                return;
            case scEndParentUpdate:
                if (d.Updating) {
                    d.Updating = false;
                    InvalidateRect(WindowHandle, nullptr, TRUE);
                }
                return;
            case scQuerySupport:
                m.Result = 1;
                return;
            case scQueryUpdating:
                m.Result = d.Updating ? 1 : 0;
                return;
            case scQueryBgInfo:
                if (m.LParam && GetParent(WindowHandle)) {
                    auto& info = *reinterpret_cast<TsBackgroundInfo*>(m.LParam);
                    GetWndGeometry(WindowHandle, ParentHandle, WindowRect, PosInParent, WindowSize, ParentWindowRect);
                    QueryParentBackgroundInfoWnd(info, ParentHandle, info.PleaseDraw);
                    info.Offset.X += PosInParent.x;
                    info.Offset.Y += PosInParent.y;
                    return;
                }
                break;
            default:
                break;
        }
        TacMainWnd::WndProc(m);
        return;
    }
    if (ActiveManager()) {
        switch (m.Msg) {
            case WM_PAINT:
                if (IsWindowVisible(WindowHandle)) {
                    PAINTSTRUCT ps{};
                    HDC dc = BeginPaint(WindowHandle, &ps);
                    PaintPageWindow(m.WParam ? reinterpret_cast<HDC>(m.WParam) : dc);
                    EndPaint(WindowHandle, &ps);
                    return;
                }
                break;
            case WM_ERASEBKGND:
                if (IsWindowVisible(WindowHandle)) {
                    PaintPageWindow(reinterpret_cast<HDC>(m.WParam));
                    m.Result = 1;
                    return;
                }
                break;
            case WM_NCPAINT:
                return;
            case WM_PRINT:
                PaintPageWindow(reinterpret_cast<HDC>(m.WParam));
                CallPrevWndProc(WM_PAINT, m.WParam, m.LParam);
                return;
            default:
                break;
        }
    }
    const TLife life = Life();
    TacMainWnd::WndProc(m);
    if (life.Alive() && m.Msg == WM_PARENTNOTIFY && m.WParam == WM_CREATE) NotifyTopWindow(WindowHandle);
}

}  // namespace kova::skin
