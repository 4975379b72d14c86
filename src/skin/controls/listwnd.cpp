#include "skin/controls/listwnd.h"

#include <commctrl.h>

#include <algorithm>
#include <any>
#include <vector>
#include <utility>

#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/windowtext.h"
#include "skin/controls/portable/bordercorners.h"
#include "framework/handles.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/portable/propsutils.h"
#include "skin/core/skinmessage.h"

namespace kova::skin {

namespace {

const TsGeneralData* SectionAt(const TsSkinModel& skin, int index) {
    return skin.SectionIndexValid(index) ? &skin.Sections()[static_cast<std::size_t>(index)] : nullptr;
}

COLORREF SectionColour(const TsSkinModel& skin, int index, bool hot) {
    const TsGeneralData* s = SectionAt(skin, index);
    return s ? static_cast<COLORREF>(skin.ColorToRGB(s->Props[hot ? 1 : 0].Color)) : 0;
}

COLORREF SectionFontColour(const TsSkinModel& skin, int index, bool hot) {
    const TsGeneralData* s = SectionAt(skin, index);
    return s ? static_cast<COLORREF>(skin.ColorToRGB(s->Props[hot ? 1 : 0].FontColors[0])) : 0;
}

template <class T>
std::unique_ptr<TacMainWnd> MakeAndColour(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                          const std::string& section) {
    std::unique_ptr<TacMainWnd> a = CreateAdapter<T>(wnd, skinData, manager, section.empty() ? "EDIT" : section);
    return a;
}

}  // namespace

// -------------------------------------------------------------- list view

TacListViewWnd::TacListViewWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacEditWnd(wnd, skinData, manager, section) {
    CommonData->ControlCode = 10;
    if (HWND header = FindWindowExA(wnd, nullptr, WC_HEADERA, nullptr)) HoldHeader(header);
}

TacListViewWnd::~TacListViewWnd() {
    // Leaves the window here, where the list's own colours are still given
    // back (the edit adapter's destructor would restore only its part).
    if (!Detached) Detach(false);
    LetGoOfHeader();
}

void TacListViewWnd::HoldHeader(HWND header) {
    if (HeaderWnd) return;
    HeaderWnd = header;
    headerSubclass_.Attach(header, [this](TMessage& m) { HeaderProc(m); });
}

void TacListViewWnd::LetGoOfHeader() {
    headerSubclass_.Detach();
    if (HeaderWnd && IsWindow(HeaderWnd)) InvalidateRect(HeaderWnd, nullptr, TRUE);
    HeaderWnd = nullptr;
    PressedColumn = HotColumn = -1;
}

void TacListViewWnd::SaveStdParams() {
    SavedColor = static_cast<TColor>(SendMessageA(WindowHandle, LVM_GETBKCOLOR, 0, 0));
    SavedTextBkColor = static_cast<COLORREF>(SendMessageA(WindowHandle, LVM_GETTEXTBKCOLOR, 0, 0));
    SavedFontColor = static_cast<TColor>(SendMessageA(WindowHandle, LVM_GETTEXTCOLOR, 0, 0));
}

void TacListViewWnd::RestoreStdParams() {
    // The colours the list had, not the system's.
    if (IsWindow(WindowHandle)) {
        SendMessageA(WindowHandle, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(SavedColor));
        SendMessageA(WindowHandle, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(SavedTextBkColor));
        SendMessageA(WindowHandle, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(SavedFontColor));
    }
    LetGoOfHeader();
    ParamsApplied = false;
}

void TacListViewWnd::SetSkinParams() {
    ParamsApplied = true;
    COLORREF bk = GetSysColor(COLOR_WINDOW), text = GetSysColor(COLOR_WINDOWTEXT);
    TsSkinManager* m = ActiveManager();
    if (!InDialog && m && CommonData->SkinIndex >= 0) {
        bk = SectionColour(m->Model(), CommonData->SkinIndex, false);
        text = SectionFontColour(m->Model(), CommonData->SkinIndex, false);
    } else if (!InDialog) {
        return;
    }
    // Only changes are sent: the list repaints on each.
    if (static_cast<COLORREF>(SendMessageA(WindowHandle, LVM_GETBKCOLOR, 0, 0)) != bk)
        SendMessageA(WindowHandle, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(bk));
    if (static_cast<COLORREF>(SendMessageA(WindowHandle, LVM_GETTEXTBKCOLOR, 0, 0)) != bk)
        SendMessageA(WindowHandle, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(bk));
    if (static_cast<COLORREF>(SendMessageA(WindowHandle, LVM_GETTEXTCOLOR, 0, 0)) != text)
        SendMessageA(WindowHandle, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text));
}

int TacListViewWnd::ViewStyle() const {
    switch (SendMessageA(WindowHandle, LVM_GETVIEW, 0, 0)) {
        case LV_VIEW_ICON: return 0;
        case LV_VIEW_DETAILS: return 3;
        case LV_VIEW_SMALLICON: return 1;
        default: return 2;
    }
}

void TacListViewWnd::WndProc(TMessage& m) {
    if (!ActiveManager() || m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) {
        if (m.Msg == WM_NCDESTROY) LetGoOfHeader();
        TacEditWnd::WndProc(m);
        return;
    }
    if (IsSkinCommand(m)) {
        switch (SkinSubCode(m.WParam)) {
            case scBeforeScroll:
                // The list takes full positions and keeps its own.
                m.Result = 1;
                return;
            case 26:
                if (m.LParam) *reinterpret_cast<int*>(m.LParam) = CommonData->SkinIndex;
                return;
            case scRefresh: {
                const TLife life = Life();
                TacEditWnd::WndProc(m);
                if (life.Alive() && HeaderWnd) RedrawWindow(HeaderWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                return;
            }
            default:
                break;
        }
    }
    switch (m.Msg) {
        case WM_VSCROLL:
        case WM_HSCROLL:
            if (LOWORD(m.WParam) == SB_THUMBTRACK) {
                const int pos = m.LParam ? static_cast<int>(m.LParam) : HIWORD(m.WParam);
                const bool vertical = m.Msg == WM_VSCROLL;
                // Against the list's own position: a position remembered
                // from an earlier drag may no longer be where the list is.
                SCROLLINFO si{};
                si.cbSize = sizeof si;
                si.fMask = SIF_POS;
                GetScrollInfo(WindowHandle, vertical ? SB_VERT : SB_HORZ, &si);
                int delta = pos - si.nPos;
                if (delta == 0) return;
                RECT item{LVIR_BOUNDS, 0, 0, 0};
                const bool hasItem =
                    SendMessageA(WindowHandle, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)) != 0;
                const int view = ViewStyle();
                if (vertical && view == 3) delta *= hasItem ? item.bottom - item.top : 0;
                if (!vertical && view == 2) delta *= hasItem ? item.right - item.left : 0;
                if (delta != 0)
                    SendMessageA(WindowHandle, LVM_SCROLL, vertical ? 0 : delta, vertical ? delta : 0);
                return;
            }
            if (m.Msg == WM_VSCROLL) m.LParam = 0;
            break;
        case WM_PAINT:
            SetSkinParams();
            break;
        case WM_NCHITTEST:
            if (HotColumn != -1 || PressedColumn != -1) {
                HotColumn = PressedColumn = -1;
                if (HeaderWnd) InvalidateRect(HeaderWnd, nullptr, FALSE);
            }
            break;
        default:
            break;
    }
    const TLife life = Life();
    TacEditWnd::WndProc(m);
    if (!life.Alive()) return;
    switch (m.Msg) {
        case WM_PRINT:
            if (ViewStyle() == 3 && HeaderWnd && IsWindowVisible(HeaderWnd)) {
                HDC dc = reinterpret_cast<HDC>(m.WParam);
                RECT hr{};
                GetWindowRect(HeaderWnd, &hr);
                MapWindowPoints(nullptr, WindowHandle, reinterpret_cast<POINT*>(&hr), 2);
                POINT old{};
                OffsetViewportOrgEx(dc, InsetLeft + hr.left, InsetLeft + hr.top, &old);
                PaintHeader(dc);
                SetViewportOrgEx(dc, old.x, old.y, nullptr);
            }
            break;
        case WM_LBUTTONUP:
            if (GetCapture() == WindowHandle) ReleaseCapture();
            break;
        case WM_PARENTNOTIFY:
            if (LOWORD(m.WParam) == WM_CREATE) {
                if (WindowClassName(reinterpret_cast<HWND>(m.LParam)) == WC_HEADERA) {
                    // A second header is skinned too: the new one is held.
                    LetGoOfHeader();
                    HoldHeader(reinterpret_cast<HWND>(m.LParam));
                }
            }
            break;
        case WM_STYLECHANGED:
        case LVM_INSERTITEMA:
        case LVM_INSERTITEMW:
        case LVM_DELETEITEM:
        case LVM_DELETEALLITEMS:
        case LVM_ARRANGE:
        case LVM_SETITEMCOUNT:
            if (!CommonData->Updating) RefreshScrollBars(*this, true);
            break;
        default:
            break;
    }
}

void TacListViewWnd::HeaderProc(TMessage& m) {
    try {
        if (!ActiveManager()) {
            headerSubclass_.CallPrevious(m);
            return;
        }
        switch (m.Msg) {
            case WM_PAINT: {
                if (ViewStyle() != 3) break;
                PAINTSTRUCT ps{};
                HDC dc = BeginPaint(HeaderWnd, &ps);
                PaintHeader(m.WParam ? reinterpret_cast<HDC>(m.WParam) : dc);
                EndPaint(HeaderWnd, &ps);
                return;
            }
            case WM_PRINTCLIENT:
            case WM_PRINT:
                PaintHeader(reinterpret_cast<HDC>(m.WParam));
                return;
            case WM_ERASEBKGND:
                m.Result = 0;
                return;
            case WM_WINDOWPOSCHANGING:
                if (IsWindowVisible(WindowHandle)) SendMessageA(WindowHandle, WM_NCPAINT, 1, 0);
                break;
            case WM_NCHITTEST: {
                headerSubclass_.CallPrevious(m);
                POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
                ScreenToClient(HeaderWnd, &p);
                int under = -2;
                const int n = static_cast<int>(SendMessageA(HeaderWnd, HDM_GETITEMCOUNT, 0, 0));
                for (int i = 0; i < n; ++i) {
                    RECT r{};
                    SendMessageA(HeaderWnd, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
                    if (PtInRect(&r, p)) under = i;
                }
                if (under != HotColumn) {
                    HotColumn = under;
                    InvalidateRect(HeaderWnd, nullptr, FALSE);
                }
                return;
            }
            case WM_LBUTTONDOWN: {
                headerSubclass_.CallPrevious(m);
                if (!HeaderWnd) return;
                HeaderLButtonDown = true;
                HDHITTESTINFO hit{};
                hit.pt = POINT{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
                SendMessageA(HeaderWnd, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
                PressedColumn = (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) ? -1 : hit.iItem;
                RedrawWindow(HeaderWnd, nullptr, nullptr, RDW_INVALIDATE);
                return;
            }
            case WM_LBUTTONUP:
                PressedColumn = -1;
                HeaderLButtonDown = false;
                InvalidateRect(HeaderWnd, nullptr, FALSE);
                break;
            case WM_NCDESTROY:
                headerSubclass_.CallPrevious(m);
                headerSubclass_.Detach();
                HeaderWnd = nullptr;
                return;
            default:
                break;
        }
        headerSubclass_.CallPrevious(m);
    } catch (const std::exception& e) {
        // Nothing escapes into the system's message loop.
        if (Application()) Application()->ShowException(e.what());
    } catch (...) {
        if (Application()) Application()->ShowException("header painting failed");
    }
}

void TacListViewWnd::PaintHeader(HDC given) {
    if (!HeaderWnd) return;
    TWindowDC own;
    HDC dc = given;
    if (!dc) {
        own = TWindowDC(HeaderWnd);
        dc = own.Get();
    }
    if (!dc) return;
    RECT client{};
    GetClientRect(HeaderWnd, &client);
    const int n = static_cast<int>(SendMessageA(HeaderWnd, HDM_GETITEMCOUNT, 0, 0));
    int right = 0;
    for (int order = 0; order < n; ++order) {
        const int index = static_cast<int>(SendMessageA(HeaderWnd, HDM_ORDERTOINDEX, static_cast<WPARAM>(order), 0));
        RECT r{};
        SendMessageA(HeaderWnd, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        if (r.right <= r.left || r.bottom <= r.top) continue;
        PaintHeaderItem(dc, index, r);
        HeaderHeight = r.bottom - r.top;
        right = std::max<int>(right, r.right);
    }
    if (right < client.right) PaintHeaderItem(dc, -2, RECT{right, 0, client.right, client.bottom});
}

void PaintHeaderItemFace(HDC dc, const RECT& r, const TsSkinModel& skin, int state, TColor back,
                         const THeaderItemLook& look) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    int section = skin.IndexOfSection("COLHEADER");
    if (section < 0) section = skin.IndexOfSection("BUTTON");
    TBitmap b(w, h);
    TsParentImageInfo bg;
    bg.FillColor = static_cast<TColor>(kova::ColorToRGB(back));
    b.Pixels().Fill(0xFF000000u | (ColorToPixel(static_cast<std::uint32_t>(bg.FillColor)) & 0xFFFFFFu));
    if (section >= 0) PaintSkinItem(b.Pixels(), skin, section, bg, state, TRect{0, 0, w, h}, TPoint{0, 0});
    // The sort arrow: the up or down scroll button's glyph.
    int glyphMask = -1;
    if (look.Sort > 0) glyphMask = skin.ConstData().ScrollBtns[1].Glyph;
    if (look.Sort < 0) glyphMask = skin.ConstData().ScrollBtns[0].Glyph;
    const TsMaskData* glyph = skin.MaskIndexValid(glyphMask) ? &skin.Masks()[static_cast<std::size_t>(glyphMask)] : nullptr;
    const TRect glyphRect = glyph ? MaskStateRect(*glyph, 0) : TRect{};
    const int gh = glyph ? glyphRect.Bottom - glyphRect.Top : 0;
    const int gw = glyph ? glyphRect.Right - glyphRect.Left : 0;

    HDC bdc = b.Canvas()->Handle();
    HGDIOBJ oldFont = SelectObject(bdc, look.Font ? look.Font : GetStockObject(DEFAULT_GUI_FONT));
    SIZE ext{};
    GetTextExtentPoint32A(bdc, look.Text.c_str(), static_cast<int>(look.Text.size()), &ext);
    const int textWidth = ext.cx + 5;
    const int glyphWidth = glyph ? gw + 6 : 0;
    int x = 4 + look.ImageWidth;
    if (look.Align == HDF_RIGHT)
        x = w - 4 - glyphWidth - textWidth;
    else if (look.Align == HDF_CENTER)
        x = look.ImageWidth + (w - look.ImageWidth - textWidth - glyphWidth) / 2;
    const int shift = state == 2 ? 1 : 0;
    if (glyph) {
        GdiFlush();
        TsParentImageInfo none;
        DrawMaskState(b.Pixels(), TPoint{x + textWidth + 6 - 5, (h - gh) / 2}, state, 1, *glyph, none);
    }
    if (look.DrawImage) look.DrawImage(bdc, h, shift);
    SetBkMode(bdc, TRANSPARENT);
    if (section >= 0) SetTextColor(bdc, SectionFontColour(skin, section, state != 0));
    RECT tr{x + shift, shift, std::min(w, x + textWidth) + shift, h + shift};
    const UINT lines = look.Wrap ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
    DrawTextA(bdc, look.Text.c_str(), static_cast<int>(look.Text.size()), &tr, DT_END_ELLIPSIS | DT_EXPANDTABS | lines);
    SelectObject(bdc, oldFont);
    BitBlt(dc, r.left, r.top, w, h, bdc, 0, 0, SRCCOPY);
}

std::string TacListViewWnd::HeaderItemText(int index, HDITEMA& item) const {
    return ItemText([&](char* buffer, int size) {
        item = HDITEMA{};
        item.mask = HDI_TEXT | HDI_FORMAT | HDI_LPARAM | HDI_IMAGE | HDI_ORDER;
        item.pszText = buffer;
        item.cchTextMax = size;
        SendMessageA(HeaderWnd, HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    });
}

std::string TacListViewWnd::HeaderItemText(int index) const {
    HDITEMA item{};
    return HeaderItemText(index, item);
}

void TacListViewWnd::PaintHeaderItem(HDC dc, int index, const RECT& r) {
    TsSkinManager* m = ActiveManager();
    if (!m) return;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    const int state = PressedColumn >= 0 ? (index == PressedColumn ? 2 : 0) : (index == HotColumn ? 1 : 0);
    HDITEMA item{};
    THeaderItemLook look;
    if (index >= 0) look.Text = HeaderItemText(index, item);
    if (index >= 0 && (item.fmt & HDF_SORTDOWN)) look.Sort = 1;
    if (index >= 0 && (item.fmt & HDF_SORTUP)) look.Sort = -1;
    look.Align = item.fmt & HDF_RIGHT ? HDF_RIGHT : item.fmt & HDF_CENTER ? HDF_CENTER : HDF_LEFT;
    look.Font = reinterpret_cast<HFONT>(SendMessageA(HeaderWnd, WM_GETFONT, 0, 0));
    // A framework list view's column images come from its small images.
    auto* lv = dynamic_cast<TListView*>(CommonData->OwnerControl);
    HIMAGELIST images = lv ? (lv->SmallImages() ? lv->SmallImages()->Handle() : nullptr)
                           : reinterpret_cast<HIMAGELIST>(SendMessageA(HeaderWnd, HDM_GETIMAGELIST, 0, 0));
    int iw = 0, ih = 0;
    const bool hasImage = index >= 0 && images && (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) && item.iImage >= 0 &&
                          ImageList_GetIconSize(images, &iw, &ih);
    if (hasImage) {
        look.ImageWidth = iw + 4;
        look.DrawImage = [images, image = item.iImage, ih](HDC bdc, int height, int shift) {
            ImageList_Draw(images, image, bdc, 2, (height - ih) / 2 + shift, ILD_NORMAL);
        };
    }
    const TColor back = CommonData->OwnerControl ? CommonData->OwnerControl->Color() : clWindow;
    PaintHeaderItemFace(dc, r, m->Model(), state, back, look);
}

std::unique_ptr<TacMainWnd> CreateListViewAdapter(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                                  const std::string& section) {
    auto a = MakeAndColour<TacListViewWnd>(wnd, skinData, manager, section);
    if (!a->Detached) {
        static_cast<TacListViewWnd&>(*a).SetSkinParams();
        if (HWND h = static_cast<TacListViewWnd&>(*a).HeaderWnd) InvalidateRect(h, nullptr, TRUE);
    }
    return a;
}

// ------------------------------------------------------------------ grids

namespace {

// A colour property path ("LineColors.FixedColor"): the last object on it
// and the last name; nullptr when a step is missing.
TObject* PropOwner(TObject* obj, const std::string& path, std::string& name) {
    std::size_t start = 0;
    for (std::size_t dot = path.find('.'); dot != std::string::npos; dot = path.find('.', start)) {
        const std::string step = path.substr(start, dot - start);
        if (!obj || !PublishedPropExists(obj, step)) return nullptr;
        obj = ObjectPropByName(obj, step);
        start = dot + 1;
    }
    name = path.substr(start);
    return obj && PublishedPropExists(obj, name) ? obj : nullptr;
}

bool ReadColour(TObject* obj, const std::string& path, TColor& out, bool noneAsFace = false) {
    std::string name;
    TObject* o = PropOwner(obj, path, name);
    if (!o) return false;
    out = static_cast<TColor>(OrdPropByName(o, name));
    if (noneAsFace && out == clNone) out = clBtnFace;
    return true;
}

void WriteColour(TObject* obj, const std::string& path, TColor value) {
    std::string name;
    if (TObject* o = PropOwner(obj, path, name)) SetOrdPropByName(o, name, static_cast<std::int64_t>(value));
}

}  // namespace

namespace {

// The colour properties of a grid the skin may write: all it finds on the
// grid, the focused selection's colours only on grids that publish
// "ControlLook" (where the grid has its own look to give them).
struct TGridColourProp {
    const char* Path;
    bool WithControlLook = false;
    bool NoneAsFace = false;  // clNone is kept as the button face
};
const TGridColourProp kGridColourProps[] = {
    {"FixedColor"},
    {"TitleFont.Color"},
    {"FixedFont.Color"},
    {"GridFixedLineColor"},
    {"GridLineColor"},
    {"ControlLook.FixedGradientFrom", false, true},
    {"ControlLook.FixedGradientTo", false, true},
    {"ControlLook.FixedGradientMirrorFrom", false, true},
    {"ControlLook.FixedGradientMirrorTo", false, true},
    {"SelectionColor", true},
    {"SelectionTextColor", true},
    {"GridStyle.Title.StartColor", false, true},
    {"GridStyle.Title.EndColor", false, true},
    {"LineColors.FixedColor"},
    {"LineColors.DataColor"},
    {"LineColors.ShadowColor"},
    {"FooterColor"},
    {"FooterCellColor"},
    {"TitleColor"},
    {"IndicatorIconColor"},
};

}  // namespace

TControl* TacOwnColoursWnd::OwnerToSave() {
    TControl* c = CommonData->OwnerControl;
    if (c) Saved = true;
    return c;
}

TControl* TacOwnColoursWnd::OwnerToRestore() {
    TControl* c = CommonData ? CommonData->OwnerControl : nullptr;
    ParamsApplied = false;
    return c && Saved && !c->IsDestroying() ? c : nullptr;
}

TacGridWnd::~TacGridWnd() { if (!Detached) Detach(false); }

void TacGridWnd::SaveStdParams() {
    TObject* g = OwnerToSave();
    if (!g) return;
    SavedColours.clear();
    const bool look = PublishedPropExists(g, "ControlLook");
    for (const TGridColourProp& p : kGridColourProps) {
        TColor value = 0;
        if ((look || !p.WithControlLook) && ReadColour(g, p.Path, value, p.NoneAsFace))
            SavedColours.emplace_back(p.Path, value);
    }
}

void TacGridWnd::RestoreStdParams() {
    TControl* g = OwnerToRestore();
    if (!g) return;
    for (const auto& [path, value] : SavedColours) WriteColour(g, path, value);
}

void TacGridWnd::SetSkinParams() {
    ParamsApplied = true;
    TObject* g = CommonData->OwnerControl;
    TsSkinManager* m = ActiveManager();
    if (!g || !m) return;
    // Only what was saved is written, so that each goes back.
    const auto Write = [&](const char* path, TColor value) {
        for (const auto& saved : SavedColours)
            if (saved.first == path) return WriteColour(g, path, value);
    };
    const TsSkinModel& skin = m->Model();
    const int global = skin.ConstData().GlobalInfo;
    const auto F = static_cast<TColor>(SectionColour(skin, global, false));
    const auto H = static_cast<TColor>(SectionColour(skin, global, true));
    const auto globalFont = static_cast<TColor>(SectionFontColour(skin, global, false));
    const auto T = static_cast<TColor>(SectionFontColour(skin, skin.IndexOfSection("EDIT"), false));
    TColor D = static_cast<TColor>(skin.ColorToRGB(skin.ConstData().DialogColor));
    if (skin.ConstData().DialogColor == clFuchsia) D = F;
    Write("FixedColor", F);
    Write("TitleFont.Color", globalFont);
    Write("FixedFont.Color", globalFont);
    Write("GridFixedLineColor", D);
    Write("GridLineColor", MixColors(H, T, 0.7));
    Write("ControlLook.FixedGradientFrom", MixColors(F, H, 0.5));
    Write("ControlLook.FixedGradientTo", F);
    Write("ControlLook.FixedGradientMirrorFrom", MixColors(F, 0, 0.95));
    Write("ControlLook.FixedGradientMirrorTo", MixColors(F, 0xFFFFFF, 0.9));
    Write("SelectionColor", static_cast<TColor>(skin.SelectionColor(true)));
    Write("SelectionTextColor", static_cast<TColor>(skin.SelectionFontColor(true)));
    Write("GridStyle.Title.StartColor", MixColors(F, H, 0.5));
    Write("GridStyle.Title.EndColor", F);
    Write("LineColors.FixedColor", D);
    Write("LineColors.DataColor", MixColors(H, T, 0.8));
    Write("LineColors.ShadowColor", MixColors(H, T, 0.8));
    Write("FooterColor", F);
    Write("FooterCellColor", F);
    Write("TitleColor", F);
    Write("IndicatorIconColor", static_cast<TColor>(SectionFontColour(skin, CommonData->SkinIndex, false)));
}

void TacGridWnd::WndProc(TMessage& m) {
    if (!ActiveManager() || m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) {
        TacEditWnd::WndProc(m);
        return;
    }
    TControl* owner = CommonData->OwnerControl;
    switch (m.Msg) {
        case WM_ERASEBKGND:
            CommonData->Updating = CommonData->IsUpdating();
            m.Result = 1;
            return;
        case WM_VSCROLL:
            if (owner && PublishedPropExists(owner, "DataSource")) {
                const int code = LOWORD(m.WParam);
                if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK || code == SB_ENDSCROLL) {
                    SCROLLINFO si{};
                    si.cbSize = sizeof si;
                    si.fMask = SIF_ALL;
                    GetScrollInfo(WindowHandle, SB_VERT, &si);
                    if (code == SB_ENDSCROLL) {
                        const TLife life = Life();
                        TacEditWnd::WndProc(m);
                        if (life.Alive() && std::string(owner->ClassName()) != "TwwDBGrid")
                            SendScrollMessage(WindowHandle, WM_VSCROLL, SB_THUMBPOSITION, si.nTrackPos);
                        return;
                    }
                    si.fMask = SIF_POS;
                    si.nPos = si.nTrackPos;
                    SetScrollInfo(WindowHandle, SB_VERT, &si, FALSE);
                }
            }
            break;
        case WM_PAINT:
            if (!ParamsApplied) SetSkinParams();
            break;
        default:
            break;
    }
    const TLife life = Life();
    TacEditWnd::WndProc(m);
    if (!life.Alive()) return;
    if (m.Msg == WM_PAINT) RefreshScrollBars(*this, true);
    if (m.Msg == WM_WINDOWPOSCHANGED && IsWindowVisible(WindowHandle)) SendMessageA(WindowHandle, WM_NCPAINT, 1, 0);
}

std::unique_ptr<TacMainWnd> CreateGridAdapter(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                              const std::string& section) {
    auto a = MakeAndColour<TacGridWnd>(wnd, skinData, manager, section);
    if (!a->Detached) {
        static_cast<TacGridWnd&>(*a).SetSkinParams();
        InvalidateRect(wnd, nullptr, TRUE);
    }
    return a;
}

// ------------------------------------------------------------------- tree

TacTreeViewWnd::~TacTreeViewWnd() { if (!Detached) Detach(false); }

void TacTreeViewWnd::SaveStdParams() {
    savedBk_ = static_cast<COLORREF>(SendMessageA(WindowHandle, TVM_GETBKCOLOR, 0, 0));
    savedText_ = static_cast<COLORREF>(SendMessageA(WindowHandle, TVM_GETTEXTCOLOR, 0, 0));
    Saved = true;
}

void TacTreeViewWnd::RestoreStdParams() {
    ParamsApplied = false;
    // The colours the tree had (CLR_NONE: the system's), not the system's.
    if (Saved && IsWindow(WindowHandle)) {
        SendMessageA(WindowHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(savedBk_));
        SendMessageA(WindowHandle, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(savedText_));
    }
}

void TacTreeViewWnd::SetSkinParams() {
    ParamsApplied = true;
    TsSkinManager* m = ActiveManager();
    if (InDialog) {
        SendMessageA(WindowHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_WINDOW)));
        return;
    }
    if (!m || CommonData->SkinIndex < 0) return;
    const TsGeneralData* s = SectionAt(m->Model(), CommonData->SkinIndex);
    const bool hot = s && s->States > 1 && CommonData->IsActiveState();
    const COLORREF bk = SectionColour(m->Model(), CommonData->SkinIndex, hot);
    const COLORREF text = SectionFontColour(m->Model(), CommonData->SkinIndex, hot);
    if (static_cast<COLORREF>(SendMessageA(WindowHandle, TVM_GETBKCOLOR, 0, 0)) != bk)
        SendMessageA(WindowHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(bk));
    if (static_cast<COLORREF>(SendMessageA(WindowHandle, TVM_GETTEXTCOLOR, 0, 0)) != text)
        SendMessageA(WindowHandle, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text));
}

void TacTreeViewWnd::WndProc(TMessage& m) {
    if (!ActiveManager() || m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) {
        TacEditWnd::WndProc(m);
        return;
    }
    // A framework tree that draws itself through its custom-draw event
    // erases its own background too.
    auto* own = dynamic_cast<TTreeView*>(CommonData->OwnerControl);
    switch (m.Msg) {
        case WM_ERASEBKGND: {
            if (own && own->OnCustomDraw) break;
            if (CommonData->Updating) {
                m.Result = 0;
                return;
            }
            TWindowDC ownDC;
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            if (!dc) {
                ownDC = TWindowDC(WindowHandle);
                dc = ownDC.Get();
            }
            RECT r{};
            GetClientRect(WindowHandle, &r);
            TsSkinManager* mgr = ActiveManager();
            const COLORREF c = InDialog ? GetSysColor(COLOR_WINDOW)
                                        : SectionColour(mgr->Model(), CommonData->SkinIndex, false);
            FillRectSolid(dc, r, c);
            m.Result = 0;
            return;
        }
        case WM_PAINT:
            if (!ParamsApplied) SetSkinParams();
            break;
        default:
            break;
    }
    const TLife life = Life();
    TacEditWnd::WndProc(m);
    if (life.Alive() && m.Msg == WM_LBUTTONUP && GetCapture() == WindowHandle) ReleaseCapture();
}

std::unique_ptr<TacMainWnd> CreateTreeViewAdapter(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                                  const std::string& section) {
    auto a = MakeAndColour<TacTreeViewWnd>(wnd, skinData, manager, section);
    if (!a->Detached) static_cast<TacTreeViewWnd&>(*a).SetSkinParams();
    return a;
}

// ------------------------------------------------------------ virtual tree

TacVirtualTreeViewWnd::~TacVirtualTreeViewWnd() { if (!Detached) Detach(false); }

namespace {

// The virtual tree's colour properties by path, with where each is kept.
const std::pair<const char*, TColor TacVirtualTreeViewWnd::*> kVirtualTreeColourProps[] = {
    {"VETColors.CompressedTextColor", &TacVirtualTreeViewWnd::SavedCompressedColor},
    {"VETColors.FileTextColor", &TacVirtualTreeViewWnd::SavedFileColor},
    {"VETColors.FolderTextColor", &TacVirtualTreeViewWnd::SavedFolderColor},
    {"PaintInfoColumn.Color", &TacVirtualTreeViewWnd::SavedInfoColumnColor},
    {"Header.Color", &TacVirtualTreeViewWnd::SavedHeaderColor},
    {"Header.Font.Color", &TacVirtualTreeViewWnd::SavedHeaderFontColor},
};

}  // namespace

void TacVirtualTreeViewWnd::SaveStdParams() {
    TObject* t = OwnerToSave();
    if (!t) return;
    for (const auto& [path, slot] : kVirtualTreeColourProps) ReadColour(t, path, this->*slot);
    if (TObject* header = ObjectPropByName(t, "Header"))
        SavedHeaderOwnerDraw = SetPropHasElement(header, "Options", "hoOwnerDraw");
}

void TacVirtualTreeViewWnd::RestoreStdParams() {
    // The colours the control had, not fixed system ones.
    TControl* t = OwnerToRestore();
    if (!t) return;
    for (const auto& [path, slot] : kVirtualTreeColourProps) WriteColour(t, path, this->*slot);
    if (headerEventsSet_) {
        // The header draws itself again, as it did before.
        headerEventsSet_ = false;
        SetMethodProp(t, "OnHeaderDrawQueryElements", std::any());
        SetMethodProp(t, "OnAdvancedHeaderDraw", std::any());
        if (TObject* header = ObjectPropByName(t, "Header"))
            SetPropToggleElement(header, "Options", "hoOwnerDraw", SavedHeaderOwnerDraw);
    }
    if (PublishedPropExists(t, "Themed")) SetOrdPropByName(t, "Themed", 1);
}

void TacVirtualTreeViewWnd::SetSkinParams() {
    ParamsApplied = true;
    TObject* t = CommonData->OwnerControl;
    TsSkinManager* m = ActiveManager();
    if (!t || !m) return;
    const TsSkinModel& skin = m->Model();
    const auto font = static_cast<TColor>(SectionFontColour(skin, CommonData->SkinIndex, false));
    WriteColour(t, "VETColors.CompressedTextColor", font);
    WriteColour(t, "VETColors.FileTextColor", font);
    WriteColour(t, "VETColors.FolderTextColor", font);
    const int global = skin.ConstData().GlobalInfo;
    WriteColour(t, "PaintInfoColumn.Color", static_cast<TColor>(SectionColour(skin, global, false)));
    int header = skin.IndexOfSection("COLHEADER");
    if (header < 0) header = skin.IndexOfSection("BUTTON");
    if (header >= 0) {
        WriteColour(t, "Header.Color", static_cast<TColor>(SectionColour(skin, header, false)));
        WriteColour(t, "Header.Font.Color", static_cast<TColor>(SectionFontColour(skin, header, false)));
    }
    // The header's columns are painted from the skin through the tree's
    // own header-drawing events.
    if (!headerEventsSet_ && PublishedPropExists(t, "OnAdvancedHeaderDraw") &&
        PublishedPropExists(t, "OnHeaderDrawQueryElements")) {
        const bool asked = SetMethodProp(t, "OnHeaderDrawQueryElements",
                                         std::any(TVTHeaderDrawQueryElementsEvent(
                                             [](TObject*, TVTHeaderPaintInfo&, std::uint32_t& elements) {
                                                 elements = kSkinnedHeaderElements;
                                             })));
        const bool drawn = SetMethodProp(t, "OnAdvancedHeaderDraw",
                                         std::any(TVTAdvancedHeaderPaintEvent(
                                             [this](TObject*, TVTHeaderPaintInfo& info, std::uint32_t) {
                                                 PaintHeaderColumn(info);
                                             })));
        headerEventsSet_ = asked || drawn;
        if (TObject* header = ObjectPropByName(t, "Header"); header && headerEventsSet_)
            SetPropToggleElement(header, "Options", "hoOwnerDraw", true);
    }
    if (PublishedPropExists(t, "Themed")) SetOrdPropByName(t, "Themed", 0);
    RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
}

void TacVirtualTreeViewWnd::PaintHeaderColumn(TVTHeaderPaintInfo& info) {
    TsSkinManager* m = ActiveManager();
    TControl* t = CommonData ? CommonData->OwnerControl : nullptr;
    if (!m || !t || !info.TargetCanvas) return;
    TObject* header = ObjectPropByName(t, "Header");
    THeaderItemLook look;
    if (TObject* c = info.Column) {
        look.Text = GetStrProp(c, "Text");
        look.Wrap = SetPropHasElement(c, "Options", "coWrapCaption");
        // The sorted column shows its direction.
        if (header && IsPublishedProp(c, "Index") && GetOrdProp(header, "SortColumn", -1) == GetOrdProp(c, "Index", -2))
            look.Sort = GetOrdProp(header, "SortDirection") == 0 ? -1 : 1;
    }
    if (auto* font = header ? dynamic_cast<TFont*>(ObjectPropByName(header, "Font")) : nullptr) look.Font = font->Handle();
    const int state = info.IsDownIndex ? 2 : info.IsHoverIndex ? 1 : 0;
    PaintHeaderItemFace(info.TargetCanvas->Handle(), info.PaintRectangle, m->Model(), state, t->Color(), look);
}

void TacVirtualTreeViewWnd::WndProc(TMessage& m) {
    if (!ActiveManager() || m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) {
        TacEditWnd::WndProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_VSCROLL:
        case WM_HSCROLL:
            if (LOWORD(m.WParam) == SB_THUMBTRACK) {
                const int bar = m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
                SCROLLINFO si{};
                si.cbSize = sizeof si;
                si.fMask = SIF_ALL;
                GetScrollInfo(WindowHandle, bar, &si);
                si.fMask = SIF_POS;
                si.nPos = si.nTrackPos;
                SetScrollInfo(WindowHandle, bar, &si, FALSE);
            }
            break;
        case WM_ERASEBKGND:
            m.Result = 1;
            return;
        default:
            break;
    }
    TacEditWnd::WndProc(m);
}

std::unique_ptr<TacMainWnd> CreateVirtualTreeAdapter(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                                     const std::string& section) {
    auto a = MakeAndColour<TacVirtualTreeViewWnd>(wnd, skinData, manager, section);
    if (!a->Detached) static_cast<TacVirtualTreeViewWnd&>(*a).SetSkinParams();
    return a;
}

}  // namespace kova::skin
