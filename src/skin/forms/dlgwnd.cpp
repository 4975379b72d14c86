// A system dialog painted as a skinned form: the dialog section behind
// everything, the title section over the caption band with the icon, the
// caption text and the title buttons, composed into the record's cache;
// the non-client strips and the client background are copied from it.
#include "skin/forms/dlgwnd.h"

#include <windowsx.h>

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "framework/windowtext.h"
#include "skin/core/animations.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/dc/textdraw.h"
#include "skin/core/formimages.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/paint/portable/surface.h"
#include "skin/core/portable/animframes.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/sysutils.h"
#include "skin/forms/autohook.h"
#include "skin/forms/borderform.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/skinmenus.h"

namespace kova::skin {

namespace {

constexpr UINT kCaptionTextFlags = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr UINT kCaptionTextFlagsRtl = kCaptionTextFlags | DT_RIGHT | DT_RTLREADING;

int GlobalMask(const TsSkinModel& model, const char* name) {
    return model.IndexOfMask(model.ConstData().GlobalInfo, "GLOBALINFO", name);
}

const TsMaskData* MaskAt(const TsSkinModel& model, int index) {
    return model.MaskIndexValid(index) ? &model.Masks()[static_cast<std::size_t>(index)] : nullptr;
}

int StateOf(const TsSkinModel& model, int section, bool active) {
    if (!model.SectionIndexValid(section)) return 0;
    const int states = model.Sections()[static_cast<std::size_t>(section)].States;
    return std::max(0, std::min<int>(active ? 1 : 0, states - 1));
}

bool WindowsSixOrLater() {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return GetVersionExA(&v) && v.dwMajorVersion >= 6;
#pragma GCC diagnostic pop
}

// Where the client area starts inside the window (what the system left
// for the frame).
POINT ClientOriginInWindow(HWND wnd) {
    RECT w{};
    GetWindowRect(wnd, &w);
    POINT p{0, 0};
    ClientToScreen(wnd, &p);
    return POINT{p.x - w.left, p.y - w.top};
}

// A show or hide animation of the manager's that would show a frame: on,
// and given a time.
bool Animates(const TacFormAnimation& animation) { return animation.Active && animation.Time > 0; }

}  // namespace

// ------------------------------------------------------------ system menu

TacSystemMenu::TacSystemMenu(TacDialogWnd* dialog) : TsCustomSysMenu(nullptr), Dialog(dialog) {
    miRestore = NewItem("Restore", SC_RESTORE);
    miMove = NewItem("Move", SC_MOVE);
    miSize = NewItem("Size", SC_SIZE);
    miMinimize = NewItem("Minimize", SC_MINIMIZE);
    miMaximize = NewItem("Maximize", SC_MAXIMIZE);
    auto* separator = new TMenuItem(this);
    separator->SetCaption("-");
    Items()->Add(separator);
    miClose = NewItem("Close", SC_CLOSE);
    miClose->SetShortCut("Alt+F4");
}

TMenuItem* TacSystemMenu::NewItem(const std::string& caption, WPARAM command) {
    auto* item = new TMenuItem(this);
    item->SetCaption(caption);
    item->OnClick = [this, command](TObject*) {
        if (!Dialog || !IsWindow(Dialog->WindowHandle)) return;
        SendMessageA(Dialog->WindowHandle, WM_SYSCOMMAND, command, 0);
        if (command == SC_RESTORE || command == SC_MAXIMIZE) UpdateItems();
    };
    Items()->Add(item);
    return item;
}

bool TacSystemMenu::VisibleClose() { return Dialog && Dialog->HasStyle(WS_SYSMENU); }

void TacSystemMenu::UpdateItems() {
    if (!Dialog) return;
    const HWND wnd = Dialog->WindowHandle;
    const int kind = Dialog->BorderKind;
    const bool iconic = IsIconic(wnd) != 0, zoomed = IsZoomed(wnd) != 0;
    const bool maxBox = Dialog->HasStyle(WS_MAXIMIZEBOX), minBox = Dialog->HasStyle(WS_MINIMIZEBOX);
    const bool canRestore = maxBox && (iconic || zoomed);
    const bool canMaximize = maxBox && !zoomed && (kind == 1 || kind == 3 || kind == 5);
    miRestore->SetVisible(kind != 0 && kind != 2 && kind != 4 && kind != 5 && Dialog->HasStyle(WS_SYSMENU));
    miRestore->SetEnabled(canRestore);
    miMove->SetEnabled(!zoomed);
    miSize->SetVisible(kind != 0 && kind != 2 && kind != 4);
    miSize->SetEnabled(kind != 1 && !iconic);
    miMinimize->SetVisible(minBox);
    miMinimize->SetEnabled(minBox && !iconic);
    miMaximize->SetVisible(maxBox);
    miMaximize->SetEnabled(canMaximize);
    miClose->SetVisible(Dialog->HasStyle(WS_SYSMENU));
}

// ------------------------------------------------------------------ life

TsCommonData* TacDialogWnd::PrepareRecord(TsSkinManager* manager, const std::string& section) {
    TacDialogWndBase::SkinData = std::make_unique<TsCommonData>(nullptr, true);
    if (manager) TacDialogWndBase::SkinData->SetSkinManager(manager);
    TacDialogWndBase::SkinData->SetSkinSection(section);
    TacDialogWndBase::SkinData->ReadSkinIndexes();
    return TacDialogWndBase::SkinData.get();
}

TacDialogWnd::TacDialogWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacScrollWnd(wnd, skinData ? skinData : PrepareRecord(manager, section), manager, section) {
    CtrlHandle = wnd;
    SuppressClientPaint = WindowsSixOrLater();
    SystemMenu = std::make_unique<TacSystemMenu>(this);
    Style = GetWindowLongA(wnd, GWL_STYLE);
    ExStyle = GetWindowLongA(wnd, GWL_EXSTYLE);
    SystemMenu->UpdateItems();
    CommonData->Updating = true;
    InitTitleButtons();
}

TacDialogWnd::~TacDialogWnd() {
    // The window keeps working after the adapter: it gets its system menu
    // style back while it lives.
    SetExtendedBorders(false);
    if (!Detached && IsWindow(WindowHandle) && HasStyle(WS_SYSMENU))
        SetWindowLongA(WindowHandle, GWL_STYLE, GetWindowLongA(WindowHandle, GWL_STYLE) | WS_SYSMENU);
    if (!Detached) Detach(false);
    if (SnapshotForm) std::exchange(SnapshotForm, nullptr)->Free();
    SystemMenu.reset();
}

void TacDialogWnd::InitDialog() {
    const HWND wnd = WindowHandle;
    Style = GetWindowLongA(wnd, GWL_STYLE);
    ExStyle = GetWindowLongA(wnd, GWL_EXSTYLE);
    if ((Style & WS_POPUP) && (Style & WS_CAPTION) != WS_CAPTION)
        BorderKind = 2;
    else if (Style & WS_THICKFRAME)
        BorderKind = 3;
    else if (Style & DS_MODALFRAME)
        BorderKind = 0;
    else
        BorderKind = 3;
    IconHandle = reinterpret_cast<HICON>(SendMessageA(wnd, WM_GETICON, ICON_SMALL, 0));
    if (!IconHandle) IconHandle = reinterpret_cast<HICON>(SendMessageA(wnd, WM_GETICON, ICON_BIG, 0));
    InitTitleButtons();
    captionFont_.Reset(CreateCaptionFont());
    SystemMenu->UpdateItems();
    // The system draws no title buttons of its own over ours.
    if (Style & WS_SYSMENU) SetWindowLongA(wnd, GWL_STYLE, Style & ~WS_SYSMENU);
    RegionInvalid = true;
    CommonData->BGChanged = true;
}

void TacDialogWnd::InitTitleButtons() {
    TsSkinManager* manager = ActiveManager();
    if (!manager) return;
    const TsSkinModel& model = manager->Model();
    if (!model.SectionIndexValid(model.ConstData().GlobalInfo)) return;
    MinButton.HitCode = HTMINBUTTON;
    MaxButton.HitCode = HTMAXBUTTON;
    CloseButton.HitCode = HTCLOSE;
    HelpButton.HitCode = HTHELP;
    const auto big = [&] {
        const bool alone = !HasStyle(WS_MAXIMIZEBOX) && !HasStyle(WS_MINIMIZEBOX);
        int close = alone ? GlobalMask(model, "BICLOSEALONE") : -1;
        if (!model.MaskIndexValid(close)) close = GlobalMask(model, "BICONCLOSE");
        CloseButton.ImageIndex = close;
        MinButton.ImageIndex = GlobalMask(model, "BICONMIN");
        MaxButton.ImageIndex = GlobalMask(model, "BICONMAX");
        HelpButton.ImageIndex = GlobalMask(model, "BICONHELP");
        MinButton.BigIcon = MaxButton.BigIcon = CloseButton.BigIcon = HelpButton.BigIcon = true;
    };
    TitleIndex = -1;
    if (BorderKind == 1 || BorderKind == 3) {
        big();
    } else {
        CloseButton.ImageIndex = GlobalMask(model, "SICONCLOSE");
        MinButton.ImageIndex = GlobalMask(model, "SICONMIN");
        MaxButton.ImageIndex = GlobalMask(model, "SICONMAX");
        HelpButton.ImageIndex = GlobalMask(model, "SICONHELP");
        if (!model.MaskIndexValid(HelpButton.ImageIndex)) HelpButton.ImageIndex = GlobalMask(model, "BICONHELP");
        MinButton.BigIcon = MaxButton.BigIcon = CloseButton.BigIcon = HelpButton.BigIcon = false;
        if (!model.MaskIndexValid(CloseButton.ImageIndex)) big();
        TitleSection = "DIALOGTITLE";
        TitleIndex = model.IndexOfSection(TitleSection);
    }
    if (TitleIndex < 0) {
        TitleSection = "FORMTITLE";
        TitleIndex = model.IndexOfSection(TitleSection);
    }
    CaptionIndex = model.IndexOfSection("CAPTION");
}

// -------------------------------------------------------------- geometry

// Without a border window the client area is where the system put it;
// with one the cache lays the skin's frame and the margins around it.
int TacDialogWnd::ClientOffsetX() {
    if (!BorderForm) return ClientOriginInWindow(WindowHandle).x;
    return GetExtBorderMargins().left + FrameWidth();
}

int TacDialogWnd::ClientOffsetY() {
    if (!BorderForm) return ClientOriginInWindow(WindowHandle).y;
    const int caption = CaptionHeight(true);
    return GetExtBorderMargins().top + (caption ? caption : FrameWidth());
}

int TacDialogWnd::FrameWidth() { return BorderForm ? SkinBorderWidth(BorderForm) : BorderWidth(); }

RECT TacDialogWnd::GetExtBorderMargins() {
    TsSkinManager* manager = ActiveManager();
    if (!BorderForm || !manager) return RECT{};
    const TsExtBorderShadow& s = manager->Model().ExtBorderShadow();
    return RECT{s.Left, s.Top, s.Right, s.Bottom};
}

RECT TacDialogWnd::IconRect() {
    TsSkinManager* manager = ActiveManager();
    const int left = FrameWidth() + GetExtBorderMargins().left + (manager ? manager->Model().SkinData().BILeftMargin : 0);
    const int iconW = GetSystemMetrics(SM_CXSMICON), iconH = GetSystemMetrics(SM_CYSMICON);
    const int top = (BorderForm ? GetExtBorderMargins().top : FrameWidth()) + (CaptionHeight(true) - iconH) / 2;
    return RECT{left, top, left + iconW, top + iconH};
}

bool TacDialogWnd::ExtBordersWanted() {
    TsSkinManager* manager = ActiveManager();
    const LONG style = GetWindowLongA(WindowHandle, GWL_STYLE);
    return manager && manager->ExtendedBorders() && BorderKind != 2 && !(style & WS_CHILD) &&
           (style & WS_CAPTION) == WS_CAPTION;
}

void TacDialogWnd::SetExtendedBorders(bool on) {
    if (on == (BorderForm != nullptr)) return;
    if (on)
        BorderForm = new TacSkinBorderForm(this);
    else
        delete std::exchange(BorderForm, nullptr);
    RegionInvalid = true;
    CommonData->BGChanged = true;
    if (!IsWindow(WindowHandle) || !IsWindowVisible(WindowHandle)) return;
    UpdateRegion(true);
    if (BorderForm)
        BorderForm->UpdateBorderWindow(true, 255);
    else
        RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
}

int TacDialogWnd::BorderWidth() const {
    const LONG style = GetWindowLongA(WindowHandle, GWL_STYLE);
    if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXSIZEFRAME);
    if ((style & WS_DLGFRAME) || (GetWindowLongA(WindowHandle, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME))
        return GetSystemMetrics(SM_CXFIXEDFRAME);
    return (style & WS_BORDER) ? GetSystemMetrics(SM_CXBORDER) : 0;
}

int TacDialogWnd::CaptionHeight(bool checkSkin) {
    const LONG style = GetWindowLongA(WindowHandle, GWL_STYLE);
    if ((style & WS_CAPTION) != WS_CAPTION && !IsIconic(WindowHandle)) return 0;
    if (checkSkin && BorderForm)
        if (const int skin = SkinTitleHeight(BorderForm)) return skin;
    return GetSystemMetrics(BorderKind == 4 || BorderKind == 5 ? SM_CYSMCAPTION : SM_CYCAPTION);
}

TacDialogTitleButton* TacDialogWnd::ButtonOf(int hitCode) {
    switch (hitCode) {
        case HTMINBUTTON: return &MinButton;
        case HTMAXBUTTON: return &MaxButton;
        case HTCLOSE: return &CloseButton;
        case HTHELP: return &HelpButton;
        default: return nullptr;
    }
}

// -------------------------------------------------------------- painting

void TacDialogWnd::PaintNonClientCache() {
    TsSkinManager* manager = ActiveManager();
    if (!manager || !IsWindow(WindowHandle)) return;
    const TsSkinModel& model = manager->Model();
    RECT wr{};
    GetWindowRect(WindowHandle, &wr);
    int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const RECT m = GetExtBorderMargins();
    if (BorderForm) {
        // The skin's frame and the shadow margins around the client area.
        RECT cr{};
        GetClientRect(WindowHandle, &cr);
        w = ClientOffsetX() + cr.right + FrameWidth() + m.right;
        h = ClientOffsetY() + cr.bottom + FrameWidth() + m.bottom;
    }
    if (w <= 0 || h <= 0) return;
    if (!CommonData->CacheBmp) CommonData->CacheBmp = std::make_unique<TBitmap>();
    TBitmap& bitmap = *CommonData->CacheBmp;
    if (bitmap.Width() != w || bitmap.Height() != h) bitmap.SetSize(w, h);
    GdiFlush();
    Bitmap32& cache = bitmap.Pixels();
    TsParentImageInfo bg;
    const int section = CommonData->SkinIndex;
    if (model.SectionIndexValid(section))
        PaintControlSkin(cache, model, section, bg, StateOf(model, section, Active),
                         TRect{m.left, m.top, w - m.right, h - m.bottom}, TPoint{0, 0}, false, CommonData->HUEOffset,
                         CommonData->Saturation);
    else
        cache.Fill(0xFF000000u | static_cast<std::uint32_t>(kova::ColorToRGB(clBtnFace)));
    PaintCaption(model, w);
    PaintTitleButtons(model, w);
    GdiFlush();
    MakeOpaque(cache);
    if (BorderForm) PaintExtendedBorder(manager, Active, bitmap);
    CommonData->BGChanged = false;
}

void TacDialogWnd::PaintCaption(const TsSkinModel& model, int width) {
    const int captionH = CaptionHeight(true);
    if (captionH == 0) return;
    Bitmap32& cache = CommonData->CacheBmp->Pixels();
    const int bw = FrameWidth();
    const RECT m = GetExtBorderMargins();
    // The skin's title height takes in the top border.
    const int bottom = (BorderForm ? m.top : bw) + captionH;
    TsParentImageInfo bg;
    bg.Bmp = &cache;
    bg.Ready = true;
    if (model.SectionIndexValid(TitleIndex))
        PaintSkinItem(cache, model, TitleIndex, bg, StateOf(model, TitleIndex, Active),
                      TRect{m.left, m.top, width - m.right, bottom}, TPoint{0, 0});
    const TsSkinData& sd = model.SkinData();
    const int iconW = GetSystemMetrics(SM_CXSMICON), iconH = GetSystemMetrics(SM_CYSMICON);
    HDC dc = CommonData->CacheBmp->Canvas()->Handle();
    GdiFlush();
    const RECT icon = IconRect();
    if (IconHandle) DrawIconEx(dc, icon.left, icon.top, IconHandle, iconW, iconH, 0, nullptr, DI_NORMAL);
    int buttons = 0;
    if (Style & WS_SYSMENU)
        for (const TacDialogTitleButton* b : {&CloseButton, &MaxButton, &MinButton, &HelpButton}) {
            const bool shown = b == &CloseButton || (b == &MaxButton && HasStyle(WS_MAXIMIZEBOX)) ||
                               (b == &MinButton && HasStyle(WS_MINIMIZEBOX)) ||
                               (b == &HelpButton && (ExStyle & WS_EX_CONTEXTHELP));
            if (const TsMaskData* mask = MaskAt(model, b->ImageIndex); shown && mask)
                buttons += ImageWidthOfMask(*mask);
        }
    RECT tr{bw + (IconHandle ? iconW : 0) + 4 + sd.BILeftMargin + m.left, m.top + 2, width - buttons - 6 - m.right,
            bottom};
    const std::string text = kova::WindowText(WindowHandle);
    if (tr.right <= tr.left || text.empty()) return;
    const bool rtl = (ExStyle & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL)) != 0;
    const int textSection = model.SectionIndexValid(CaptionIndex) ? CaptionIndex : TitleIndex;
    GdiFlush();
    PaintSkinTextOnBitmap(cache, captionFont_.Get() ? captionFont_.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)),
                          text, true, tr, rtl ? kCaptionTextFlagsRtl : kCaptionTextFlags, model, textSection, Active,
                          kova::ColorToRGB(clCaptionText));
}

void TacDialogWnd::PaintTitleButtons(const TsSkinModel& model, int width) {
    for (TacDialogTitleButton* b : {&CloseButton, &MaxButton, &MinButton, &HelpButton}) b->Rect = RECT{};
    if (!(Style & WS_SYSMENU)) return;
    const int captionH = CaptionHeight(true);
    if (captionH == 0) return;
    Bitmap32& cache = CommonData->CacheBmp->Pixels();
    const TsSkinData& sd = model.SkinData();
    const int bw = FrameWidth();
    const RECT m = GetExtBorderMargins();
    const bool big = CloseButton.BigIcon;
    const int gap = big ? sd.BISpacing : 0;
    int x = width - sd.BIRightMargin - bw - m.right;
    TsParentImageInfo bg;
    bg.Bmp = &cache;
    bg.Ready = true;
    const HWND wnd = WindowHandle;
    const bool zoomed = IsZoomed(wnd) != 0, iconic = IsIconic(wnd) != 0;
    const bool noClose = (GetClassLongA(wnd, GCL_STYLE) & CS_NOCLOSE) != 0;
    const bool canMaximize = HasStyle(WS_MAXIMIZEBOX) && !zoomed && (BorderKind == 1 || BorderKind == 3 || BorderKind == 5);
    const bool canRestore = HasStyle(WS_MAXIMIZEBOX) && (iconic || zoomed);
    struct TShown {
        TacDialogTitleButton* Button;
        bool Enabled;
    };
    std::vector<TShown> order{{&CloseButton, !noClose}};
    if (HasStyle(WS_MAXIMIZEBOX)) order.push_back({&MaxButton, zoomed ? canRestore : canMaximize});
    if (HasStyle(WS_MINIMIZEBOX)) order.push_back({&MinButton, iconic ? canRestore : !iconic});
    if (ExStyle & WS_EX_CONTEXTHELP) order.push_back({&HelpButton, true});
    for (const TShown& s : order) {
        const TsMaskData* mask = MaskAt(model, s.Button->ImageIndex);
        if (!mask) continue;
        const int iw = ImageWidthOfMask(*mask), ih = ImageHeightOfMask(*mask);
        int top = (BorderForm ? m.top : bw) + (captionH - ih) / 2;
        if (big && sd.BIVAlign == 1 && s.Button != &HelpButton) top = m.top + (BorderForm ? sd.BITopMargin : 0);
        s.Button->Rect = RECT{x - iw, top, x, top + ih};
        const int columns = std::max<int>(1, mask->ColumnCount);
        const int state = std::clamp(s.Button->State, 0, columns - 1);
        DrawMaskState(cache, TPoint{x - iw, top}, state, (Active && s.Enabled) ? 1 : 2, *mask, bg);
        x -= iw + gap;
    }
}

void TacDialogWnd::PaintFrame(HDC dc) {
    if (BorderForm) {
        // The frame lies in the border window: brought up to date, shown
        // when it is not yet.
        const HWND border = BorderForm->AForm && BorderForm->AForm->HandleAllocated() ? BorderForm->AForm->Handle() : nullptr;
        BorderForm->UpdateBorderWindow(!border || !IsWindowVisible(border), 255);
        return;
    }
    if (!dc) return;
    if (CommonData->BGChanged || !CommonData->CacheBmp) PaintNonClientCache();
    if (!CommonData->CacheBmp) return;
    RECT wr{};
    GetWindowRect(WindowHandle, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const PixelBuffer32& cache = CommonData->CacheBmp->Pixels();
    if (cache.Width() != w || cache.Height() != h) {
        PaintNonClientCache();
        if (cache.Width() != w || cache.Height() != h) return;
    }
    RECT cr{};
    GetClientRect(WindowHandle, &cr);
    const int left = std::clamp(ClientOffsetX(), 0, w), top = std::clamp(ClientOffsetY(), 0, h);
    const int right = std::clamp(left + static_cast<int>(cr.right), left, w);
    const int bottom = std::clamp(top + static_cast<int>(cr.bottom), top, h);
    GdiFlush();
    for (const RECT& r : {RECT{0, 0, w, top}, RECT{0, top, left, bottom}, RECT{0, bottom, w, h},
                          RECT{right, top, w, bottom}})
        if (r.right > r.left && r.bottom > r.top) CopyBufferToDC(dc, r.left, r.top, cache, r);
}

void TacDialogWnd::UpdateRegion(bool redraw) {
    RegionInvalid = false;
    if (BorderKind == 2 && !IsIconic(WindowHandle)) return;
    if (SendMessageA(WindowHandle, 0xBC4D, 0x41A2, 0) == 0x41A2) return;
    TsSkinManager* manager = ActiveManager();
    if (!manager) return;
    const TsSkinModel& model = manager->Model();
    RECT wr{};
    GetWindowRect(WindowHandle, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    if (BorderForm) {
        // Only the client area shows: the border window has the rest.
        const POINT origin = ClientOriginInWindow(WindowHandle);
        RECT cr{};
        GetClientRect(WindowHandle, &cr);
        HRGN client = CreateRectRgn(origin.x, origin.y, origin.x + cr.right, origin.y + cr.bottom);
        TGdiObject<HRGN> now(CreateRectRgn(0, 0, 0, 0));
        if (GetWindowRgn(WindowHandle, now.Get()) != ERROR && EqualRgn(now.Get(), client))
            DeleteObject(client);
        else if (!SetWindowRgn(WindowHandle, client, redraw ? TRUE : FALSE))
            DeleteObject(client);
        return;
    }
    // The transparent corners of the dialog's border and of its title's
    // border, left and mirrored right.
    std::vector<TRect> rects;
    const auto add = [&](int maskIndex, bool bottom) {
        const TsMaskData* mask = MaskAt(model, maskIndex);
        if (!mask) return;
        std::vector<TRect> piece;
        AddMaskRegionRects(piece, 0, *mask, 0, false);
        if (bottom) AddMaskRegionRects(piece, 0, *mask, h - mask->MarginBottom, true);
        for (const TRect& r : piece) {
            rects.push_back(r);
            rects.push_back(TRect{w - r.Right, r.Top, w - r.Left, r.Bottom});
        }
    };
    add(CommonData->BorderIndex, true);
    if (model.SectionIndexValid(TitleIndex)) add(model.IndexOfMask(TitleIndex, TitleSection, "BORDERSMASK"), false);
    // Without a transparent corner the window keeps no region: each new one
    // costs a frame change (one left by extended borders goes).
    if (rects.empty()) {
        TGdiObject<HRGN> now(CreateRectRgn(0, 0, 0, 0));
        if (GetWindowRgn(WindowHandle, now.Get()) != ERROR) SetWindowRgn(WindowHandle, nullptr, redraw ? TRUE : FALSE);
        return;
    }
    TGdiObject<HRGN> rgn(CreateRectRgn(0, 0, w, h));
    for (const TRect& r : rects) {
        TGdiObject<HRGN> cut(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
        CombineRgn(rgn.Get(), rgn.Get(), cut.Get(), RGN_DIFF);
    }
    if (SetWindowRgn(WindowHandle, rgn.Get(), redraw ? TRUE : FALSE)) (void)rgn.Release();
}

void TacDialogWnd::EraseBackground(TMessage& m) {
    if (!ChildrenAdapted) {
        ChildrenAdapted = true;
        if (Provider) AdaptChildWindows(Provider, WindowHandle);
    }
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    m.Result = 1;
    if (!dc) return;
    if (CommonData->BGChanged || !CommonData->CacheBmp) PaintNonClientCache();
    if (!CommonData->CacheBmp) return;
    CommonData->Updating = false;
    const int saved = SaveDC(dc);
    // Only the dialog's own children are left out: theirs lie inside them.
    for (HWND c = GetWindow(WindowHandle, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const LONG s = GetWindowLongA(c, GWL_STYLE);
        if (!(s & WS_VISIBLE)) continue;
        if ((s & 7) == 7) continue;
        if ((s & 0x10000) && kova::WindowClassName(c) == "Static") continue;
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, WindowHandle, reinterpret_cast<POINT*>(&r), 2);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    RECT cr{};
    GetClientRect(WindowHandle, &cr);
    const int ox = ClientOffsetX(), oy = ClientOffsetY();
    GdiFlush();
    CopyBufferToDC(dc, 0, 0, CommonData->CacheBmp->Pixels(), RECT{ox, oy, ox + cr.right, oy + cr.bottom});
    RestoreDC(dc, saved);
}

HBRUSH TacDialogWnd::BackgroundBrush() {
    TsSkinManager* manager = ActiveManager();
    const TColor colour = manager ? static_cast<TColor>(manager->Model().ColorToRGB(manager->Model().GlobalInfoColor()))
                                  : kova::ColorToRGB(clBtnFace);
    if (!brush_ || colour != brushColour_) {
        brush_.Reset(CreateSolidBrush(colour & 0xFFFFFF));
        brushColour_ = colour;
    }
    return brush_.Get();
}

void TacDialogWnd::BackgroundInfo(TsBackgroundInfo& info) {
    if (CommonData->BGChanged || !CommonData->CacheBmp) PaintNonClientCache();
    const int ox = ClientOffsetX(), oy = ClientOffsetY();
    // A child that draws for itself asks in client coordinates of the
    // dialog; the cache holds the whole window.
    if (info.PleaseDraw) {
        info.Offset.X += ox;
        info.Offset.Y += oy;
    }
    const TsSkinManager* manager = ActiveManager();
    const int state = manager ? StateOf(manager->Model(), CommonData->SkinIndex, Active) : 0;
    CommonData->FillBackgroundInfo(info, state, WindowHandle);
    if (info.BgType == 2 && !info.PleaseDraw) {
        if (!info.Bmp && CommonData->CacheBmp) info.Bmp = &CommonData->CacheBmp->Pixels();
        info.Offset.X += ox;
        info.Offset.Y += oy;
    }
}

void TacDialogWnd::CoverForHiding() {
    if (CommonData->BGChanged || !CommonData->CacheBmp) PaintNonClientCache();
    TBitmap* cache = CommonData->CacheBmp.get();
    if (!cache || cache->Width() <= 0 || cache->Height() <= 0) return;
    // The picture with the children, as the dialog shows now.
    CopyDialogImage(this, false, *cache);
    SnapshotForm = CreateWindowSnapshotForm(WindowHandle);
    // With a border window the picture covers the frame where that shows it.
    POINT at{};
    const bool bordered = BorderForm && BorderForm->AForm && BorderForm->AForm->HandleAllocated();
    if (bordered) {
        RECT br{};
        GetWindowRect(BorderForm->AForm->Handle(), &br);
        at = POINT{br.left, br.top};
    }
    UpdateLayeredBitmap(SnapshotForm->Handle(), cache, 255, bordered ? &at : nullptr);
    ShowWindow(SnapshotForm->Handle(), SW_SHOWNOACTIVATE);
}

void TacDialogWnd::RequestPosition(POINT screen) {
    positionRequested_ = true;
    requestedPosition_ = screen;
}

void TacDialogWnd::Repaint() {
    CommonData->BGChanged = true;
    RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
}

// ------------------------------------------------------------ the mouse

LRESULT TacDialogWnd::HitTest(POINT screen, LRESULT systemAnswer) {
    // The frame's places are the border window's.
    if (auto* border = static_cast<TacSkinBorderForm*>(BorderForm)) {
        const int code = border->HitTest(screen);
        return code >= 0 ? code : systemAnswer;
    }
    RECT wr{};
    GetWindowRect(WindowHandle, &wr);
    const int x = screen.x - wr.left, y = screen.y - wr.top;
    const int bw = BorderWidth(), captionH = CaptionHeight(true);
    if (captionH == 0 || y < bw || y >= bw + captionH || x < bw || x >= wr.right - wr.left - bw) return systemAnswer;
    if (x < bw + GetSystemMetrics(SM_CXSMICON)) return HTSYSMENU;
    for (TacDialogTitleButton* b : {&CloseButton, &MaxButton, &MinButton, &HelpButton}) {
        if (b->Rect.right <= b->Rect.left || x < b->Rect.left || x >= b->Rect.right) continue;
        if (b == &CloseButton) return (Style & WS_SYSMENU) ? HTCLOSE : HTCAPTION;
        return b->HitCode;
    }
    return HTCAPTION;
}

void TacDialogWnd::SetHotButton(int code, bool repaint) {
    if (code == HotButton) return;
    if (TacDialogTitleButton* old = ButtonOf(HotButton)) old->State = 0;
    HotButton = code;
    if (TacDialogTitleButton* b = ButtonOf(code)) {
        b->State = 1;
        // The hot look goes when the mouse leaves the window.
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, WindowHandle, 0};
        TrackMouseEvent(&track);
    }
    pressed_ = false;
    if (repaint && IsWindowVisible(WindowHandle)) {
        CommonData->BGChanged = true;
        SendMessageA(WindowHandle, WM_NCPAINT, 1, 0);
    }
}

void TacDialogWnd::SetPressedButton(int code) {
    if (TacDialogTitleButton* old = ButtonOf(HotButton); old && HotButton != code) old->State = 0;
    HotButton = code;
    if (TacDialogTitleButton* b = ButtonOf(code)) b->State = 2;
    pressed_ = true;
    // A button acts only when released over it, wherever the mouse went.
    SetCapture(WindowHandle);
    if (IsWindowVisible(WindowHandle)) {
        CommonData->BGChanged = true;
        SendMessageA(WindowHandle, WM_NCPAINT, 1, 0);
    }
}

void TacDialogWnd::ShowSystemMenu(int x, int y) {
    SystemMenu->UpdateItems();
    // Drawn like every skinned popup menu while popups are skinned, plain
    // otherwise (the manager's setting may have changed since the last time).
    if (TsSkinableMenus* painter = SkinableMenus(ActiveManager()))
        painter->SetMenuSkinned(SystemMenu.get(), painter->Active());
    SystemMenu->Popup(x, y);
}

void TacDialogWnd::NcButtonDown(TMessage& m) {
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    const LRESULT code = HitTest(p, static_cast<LRESULT>(m.WParam));
    switch (code) {
        case HTSYSMENU: {
            RECT wr{};
            GetWindowRect(WindowHandle, &wr);
            ShowSystemMenu(wr.left + BorderWidth(), wr.top + CaptionHeight(true) + GetSystemMetrics(SM_CYSMICON));
            m.Result = 0;
            return;
        }
        case HTMINBUTTON:
        case HTMAXBUTTON:
        case HTCLOSE:
        case HTHELP:
            SetPressedButton(static_cast<int>(code));
            m.Result = 0;
            return;
        default:
            SetHotButton(0, true);
            CallPrevWndProc(m);
    }
}

void TacDialogWnd::NcButtonUp(TMessage& m) {
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (m.Msg == WM_LBUTTONUP) ClientToScreen(WindowHandle, &p);
    const LRESULT code = HitTest(p, m.Msg == WM_LBUTTONUP ? HTCLIENT : static_cast<LRESULT>(m.WParam));
    const bool pressedHere = pressed_ && code == HotButton;
    const TLife life = Life();
    pressed_ = false;
    if (GetCapture() == WindowHandle) ReleaseCapture();
    if (pressedHere && code == HTCLOSE) {
        SetHotButton(0, true);
        SendMessageA(WindowHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (pressedHere && code == HTMINBUTTON) {
        SendMessageA(WindowHandle, WM_SYSCOMMAND, IsIconic(WindowHandle) ? SC_RESTORE : SC_MINIMIZE, 0);
    } else if (pressedHere && code == HTMAXBUTTON) {
        SendMessageA(WindowHandle, WM_SYSCOMMAND, IsZoomed(WindowHandle) ? SC_RESTORE : SC_MAXIMIZE, 0);
    } else if (pressedHere && code == HTHELP) {
        SendMessageA(WindowHandle, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    } else {
        CallPrevWndProc(m);
    }
    if (!life.Alive()) return;
    pressed_ = false;
    if (HotButton) SetHotButton(0, true);
}

// ------------------------------------------------------------- messages

void TacDialogWnd::WndProc(TMessage& m) {
    if (m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) {
        // The border window is the dialog's owned window: it goes first.
        SetExtendedBorders(false);
        const TLife life = Life();
        CallPrevWndProc(m);
        if (life.Alive() && !Detached) Detach(false);
        return;
    }
    if (IsSkinCommand(m)) {
        switch (SkinSubCode(m.WParam)) {
            case scQuerySupport:
                m.Result = 1;
                return;
            case scSkinApplied:
                if (reinterpret_cast<TsSkinManager*>(m.LParam) == CommonData->GetSkinManager()) {
                    CommonData->ReadSkinIndexes();
                    InitTitleButtons();
                    CommonData->BGChanged = true;
                    SetExtendedBorders(ExtBordersWanted());
                    BroadcastToDirectChildren(WindowHandle, m.Msg, m.WParam, m.LParam);
                }
                m.Result = 0;
                return;
            case scRefresh:
                CommonData->ReadSkinIndexes();
                InitTitleButtons();
                SetExtendedBorders(ExtBordersWanted());
                Repaint();
                m.Result = 0;
                return;
            case scQueryUpdating:
                m.Result = CommonData->Updating ? 1 : 0;
                return;
            case scQueryBgColor: {
                TsSkinManager* manager = ActiveManager();
                m.Result = manager && manager->Model().SectionIndexValid(CommonData->SkinIndex)
                               ? static_cast<LRESULT>(manager->Model().ColorToRGB(
                                     manager->Model().Sections()[static_cast<std::size_t>(CommonData->SkinIndex)].Color))
                               : static_cast<LRESULT>(kova::ColorToRGB(clBtnFace));
                return;
            }
            case scQueryBgInfo:
                if (m.LParam) BackgroundInfo(*reinterpret_cast<TsBackgroundInfo*>(m.LParam));
                m.Result = 0;
                return;
            case 28:
                if (Provider) AdaptChildWindows(Provider, WindowHandle);
                break;
            case 61:
                m.Result = MAKELONG(ClientOffsetX(), ClientOffsetY());
                return;
            default:
                break;
        }
        TacScrollWnd::WndProc(m);
        return;
    }
    if (!ActiveManager()) {
        CallPrevWndProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_PAINT:
            if (SuppressClientPaint) {
                PAINTSTRUCT ps;
                BeginPaint(WindowHandle, &ps);
                EndPaint(WindowHandle, &ps);
                m.Result = 0;
                return;
            }
            break;
        case WM_ERASEBKGND:
            EraseBackground(m);
            return;
        case WM_NCPAINT: {
            if (!IsWindowVisible(WindowHandle)) break;
            if (Provider) AdaptChildWindows(Provider, WindowHandle);
            if (RegionInvalid && !(BorderKind == 2 && !(Style & WS_THICKFRAME))) UpdateRegion(false);
            const TWindowDC dc(WindowHandle, TDCArea::Window);
            PaintFrame(dc.Get());
            m.Result = 0;
            return;
        }
        case WM_NCACTIVATE: {
            const TLife life = Life();
            // The system activates without drawing its own frame.
            m.Result = CallPrevWndProc(m.Msg, m.WParam, -1);
            if (!life.Alive()) return;
            Active = m.WParam != 0;
            if (IsWindowVisible(WindowHandle)) {
                CommonData->BGChanged = true;
                if (BorderForm) {
                    BorderForm->UpdateBorderWindow(true, 255);
                    return;
                }
                RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_NOCHILDREN);
            }
            return;
        }
        case WM_NCHITTEST: {
            const TLife life = Life();
            CallPrevWndProc(m);
            // The frame lies in the border window, which hit-tests it.
            if (!life.Alive() || BorderForm) return;
            const LRESULT code = HitTest(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}, m.Result);
            if (code == HTCAPTION || code == HTNOWHERE) {
                if (HotButton && !pressed_) SetHotButton(0, true);
            } else if (ButtonOf(static_cast<int>(code)) && !pressed_) {
                SetHotButton(static_cast<int>(code), true);
            }
            m.Result = code;
            return;
        }
        case WM_NCLBUTTONDOWN:
            NcButtonDown(m);
            return;
        case WM_NCLBUTTONUP:
            NcButtonUp(m);
            return;
        case WM_LBUTTONUP:
            if (pressed_) {
                NcButtonUp(m);
                return;
            }
            break;
        case WM_NCLBUTTONDBLCLK: {
            const LRESULT code = HitTest(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}, m.WParam);
            if (code == HTSYSMENU) {
                SendMessageA(WindowHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
            } else if (code == HTCAPTION && HasStyle(WS_MAXIMIZEBOX)) {
                SendMessageA(WindowHandle, WM_SYSCOMMAND,
                             IsZoomed(WindowHandle) || IsIconic(WindowHandle) ? SC_RESTORE : SC_MAXIMIZE, 0);
            }
            m.Result = 0;
            return;
        }
        case WM_NCMOUSELEAVE:
        case WM_MOUSELEAVE:
            if (HotButton && !pressed_) SetHotButton(0, true);
            break;
        case WM_CAPTURECHANGED:
            if (pressed_ && reinterpret_cast<HWND>(m.LParam) != WindowHandle) {
                pressed_ = false;
                SetHotButton(0, true);
            }
            break;
        case WM_NCRBUTTONDOWN:
            if (m.WParam == HTCAPTION || m.WParam == HTSYSMENU) {
                m.Result = 0;
                return;
            }
            break;
        case WM_NCRBUTTONUP:
            if (m.WParam == HTCAPTION || m.WParam == HTSYSMENU) {
                ShowSystemMenu(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
                m.Result = 0;
                return;
            }
            break;
        case WM_SIZE: {
            CommonData->BGChanged = true;
            RegionInvalid = true;
            const TLife life = Life();
            CallPrevWndProc(m);
            if (!life.Alive() || !IsWindowVisible(WindowHandle)) return;
            if (BorderForm) {
                UpdateRegion(false);
                BorderForm->UpdateBorderWindow(true, 255);
            }
            RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
            return;
        }
        case WM_SETTEXT:
        case WM_ENABLE: {
            const TLife life = Life();
            CallPrevWndProc(m);
            if (life.Alive() && IsWindowVisible(WindowHandle)) {
                CommonData->BGChanged = true;
                SendMessageA(WindowHandle, WM_NCPAINT, 1, 0);
            }
            return;
        }
        case WM_USER + 1:
        case 0x52E: {
            const TLife life = Life();
            CallPrevWndProc(m);
            if (!life.Alive()) return;
            if (Provider) AdaptChildWindows(Provider, WindowHandle);
            if (m.Msg == 0x52E) RedrawWindow(WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
            return;
        }
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
            if (item && item->CtlType == ODT_STATIC) SetBkMode(item->hDC, TRANSPARENT);
            break;
        }
        case WM_COMMAND:
            // OK closes at once; Cancel and Yes leave the dialog's picture
            // over it, to fade out once it is hidden.
            if ((m.WParam == IDCANCEL || m.WParam == IDYES) && !SnapshotForm && IsWindowVisible(WindowHandle) &&
                Animates(ActiveManager()->Model().AnimEffects.DialogHide)) {
                CoverForHiding();
                const TLife life = Life();
                TacScrollWnd::WndProc(m);
                // The command closed nothing: the cover goes.
                if (life.Alive() && SnapshotForm) {
                    std::exchange(SnapshotForm, nullptr)->Free();
                    CommonData->BGChanged = true;
                }
                return;
            }
            break;
        case WM_SHOWWINDOW: {
            // Shown again after a hide, it gets its border window back.
            if (m.WParam && m.LParam == 0) SetExtendedBorders(ExtBordersWanted());
            const TLife life = Life();
            TacScrollWnd::WndProc(m);
            // Only the dialog's own showing (not an owner's restore) fades in.
            if (!life.Alive() || !m.WParam || m.LParam != 0) return;
            TsSkinManager* manager = ActiveManager();
            if (!manager || !Animates(manager->Model().AnimEffects.DialogShow)) return;
            // A message box asked for elsewhere is there before its picture.
            if (positionRequested_)
                SetWindowPos(WindowHandle, nullptr, requestedPosition_.x, requestedPosition_.y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
            if (Provider) AdaptChildWindows(Provider, WindowHandle);
            CommonData->BGChanged = true;
            const TacFormAnimation& show = manager->Model().AnimEffects.DialogShow;
            AnimateDialogShow(this, show.Time, 255, show.Mode);
            return;
        }
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam);
            if (pos && BorderForm && !(pos->flags & SWP_HIDEWINDOW)) {
                // The border window follows the dialog.
                const TLife life = Life();
                TacScrollWnd::WndProc(m);
                if (life.Alive() && BorderForm && IsWindowVisible(WindowHandle))
                    PaintFrame(nullptr);
                return;
            }
            // Hidden, the dialog shows no frame.
            if (pos && (pos->flags & SWP_HIDEWINDOW)) SetExtendedBorders(false);
            if (!pos || !(pos->flags & SWP_HIDEWINDOW) || !SnapshotForm) break;
            RegionInvalid = true;
            const TLife life = Life();
            TacScrollWnd::WndProc(m);
            if (!life.Alive()) return;
            // The hide animation takes the cover and fades it out.
            AnimateDialogHide(this);
            if (SnapshotForm) std::exchange(SnapshotForm, nullptr)->Free();
            CommonData->BGChanged = true;
            return;
        }
        case WM_WINDOWPOSCHANGING:
            if (positionRequested_) {
                auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
                if (IsWindowVisible(WindowHandle)) {
                    positionRequested_ = false;
                } else if (pos && !(pos->flags & SWP_NOMOVE)) {
                    pos->x = requestedPosition_.x;
                    pos->y = requestedPosition_.y;
                }
                if (pos && (pos->flags & SWP_SHOWWINDOW)) {
                    pos->x = requestedPosition_.x;
                    pos->y = requestedPosition_.y;
                    pos->flags &= ~SWP_NOMOVE;
                    positionRequested_ = false;
                }
            }
            break;
        case WM_CTLCOLORDLG:
            m.Result = reinterpret_cast<LRESULT>(BackgroundBrush());
            return;
        default:
            break;
    }
    TacScrollWnd::WndProc(m);
}

}  // namespace kova::skin
