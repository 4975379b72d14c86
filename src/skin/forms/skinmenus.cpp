#include "skin/forms/skinmenus.h"

#include <algorithm>
#include <cmath>

#include "framework/forms.h"
#include "framework/handles.h"
#include "framework/windowtext.h"
#include "skin/controls/adapters.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/provider.h"

namespace kova::skin {

namespace {

std::vector<TacMenuCacheRecord>& Cache() {
    static std::vector<TacMenuCacheRecord> cache;
    return cache;
}

// The side line of the menu being shown: asked once per showing.
struct TExtraLine {
    std::string Section = "EXTRALINE";
    std::string Caption = "Use OnGetExtraLineData event";
    std::unique_ptr<TBitmap> Glyph;
    bool Visible = true;
    bool Querying = false;
};
TExtraLine& ExtraLine() {
    static TExtraLine line;
    return line;
}

int MaskImageWidth(const TsMaskData& m) {
    const int w = m.Image ? m.Image->Width() : m.SourceRect.Right - m.SourceRect.Left;
    return m.ColumnCount > 0 ? w / m.ColumnCount : w;
}
int MaskImageHeight(const TsMaskData& m) {
    const int h = m.Image ? m.Image->Height() : m.SourceRect.Bottom - m.SourceRect.Top;
    return m.RowMode >= 0 ? h / (m.RowMode + 1) : 0;
}

TColor FontColorOf(const TsSkinModel& skin, int section, bool hot) {
    if (!skin.SectionIndexValid(section)) return static_cast<TColor>(GetSysColor(COLOR_MENUTEXT));
    const TsGeneralData& s = skin.Sections()[static_cast<std::size_t>(section)];
    const int states = s.States;
    return static_cast<TColor>(hot && states > 1 ? s.HotFontColors[0] : s.FontColors[0]);
}

// The screen's menu font, bold for a default item.
TGdiObject<HFONT> MenuFont(bool bold) {
    TGdiObject<HFONT> font = GetNonClientFont(3);
    if (!bold || !font) return font;
    LOGFONTA lf{};
    GetObjectA(font.Get(), sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    return TGdiObject<HFONT>(CreateFontIndirectA(&lf));
}

SIZE TextSize(HFONT font, const std::string& text, UINT flags) {
    TWindowDC screen(nullptr);
    TSelection sel(screen.Get(), font);
    RECT r{0, 0, 0, 0};
    DrawTextA(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

bool IsDivider(const TMenuItem* item) { return item->Caption() == "-"; }
bool IsCaptionLine(const TMenuItem* item) {
    const std::string& c = item->Caption();
    return c.size() > 1 && c.front() == '-' && c.back() == '-';
}
TsMenuItemType ItemType(const TMenuItem* item) {
    if (IsDivider(item)) return smDivider;
    if (IsCaptionLine(item)) return smCaption;
    return smNormal;
}
// The word between the dashes of a caption line.
std::string CaptionLineText(const std::string& caption) {
    std::size_t b = caption.find_first_not_of('-');
    if (b == std::string::npos) return {};
    std::size_t e = caption.find('-', b);
    return caption.substr(b, e == std::string::npos ? std::string::npos : e - b);
}

SIZE GlyphSize(TMenuItem* item) {
    if (item->HasBitmap()) return SIZE{item->Bitmap()->Width(), item->Bitmap()->Height()};
    if (TMenu* menu = item->GetParentMenu(); menu && menu->Images)
        return SIZE{menu->Images->Width(), menu->Images->Height()};
    return SIZE{16, 16};
}

bool MenuIsBroken(TMenuItem* item) {
    TMenuItem* parent = item->ItemParent();
    if (!parent) return false;
    for (int i = 0; i < parent->Count(); ++i)
        if (parent->Items(i)->Break()) return true;
    return false;
}

bool IsSkinChoiceMenu(TMenuItem* first) { return first && first->Name() == "SkinSelectItem"; }
bool IsSystemMenu(TMenuItem* item) {
    TMenu* menu = item->GetParentMenu();
    return menu && menu->Name().rfind("acSysMenu", 0) == 0;
}


void CopyFromCache(HDC dc, const RECT& to, TBitmap* cache, POINT src) {
    if (to.right <= to.left || to.bottom <= to.top) return;
    BitBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, cache->Canvas()->Handle(), src.x, src.y,
           SRCCOPY);
}

TsParentImageInfo CacheInfo(TBitmap* cache, int x, int y) {
    TsParentImageInfo bg;
    if (cache) {
        bg.Bmp = &cache->Pixels();
        bg.X = x;
        bg.Y = y;
        bg.Ready = true;
    }
    return bg;
}

void DrawTextIn(HDC dc, HFONT font, const std::string& text, RECT r, UINT flags, TColor colour) {
    TSelection sel(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(colour));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

// A bitmap's pixels blended over what the background shows at (x, y),
// weight k of the background; key-colour pixels stay.
void DimOver(Bitmap32& item, const Bitmap32* bg, int x, int y, double k) {
    for (int j = 0; j < item.Height(); ++j)
        for (int i = 0; i < item.Width(); ++i) {
            const int bx = x + i, by = y + j;
            std::uint32_t under = 0xFF000000u | ColorToPixel(static_cast<std::uint32_t>(GetSysColor(COLOR_BTNFACE)));
            if (bg && bx >= 0 && by >= 0 && bx < bg->Width() && by < bg->Height()) under = bg->At(bx, by);
            std::uint32_t& p = item.At(i, j);
            if ((p & 0xFFFFFF) == 0xFF00FF) continue;
            std::uint32_t out = 0xFF000000u;
            for (int s = 0; s < 24; s += 8) {
                const double a = (p >> s) & 0xFF, b = (under >> s) & 0xFF;
                out |= static_cast<std::uint32_t>(std::lround(a * (1 - k) + b * k)) << s;
            }
            p = out;
        }
}

}  // namespace

POINT WindowClientOffset(HWND wnd) {
    RECT wr{};
    GetWindowRect(wnd, &wr);
    POINT p{0, 0};
    ClientToScreen(wnd, &p);
    return POINT{p.x - wr.left, p.y - wr.top};
}

void CopyArea(Bitmap32& dest, const Bitmap32& src, int x, int y) {
    for (int j = 0; j < dest.Height(); ++j)
        for (int i = 0; i < dest.Width(); ++i) {
            const int sx = x + i, sy = y + j;
            dest.At(i, j) = sx >= 0 && sy >= 0 && sx < src.Width() && sy < src.Height() ? src.At(sx, sy) : 0xFF000000u;
        }
}

bool& SkinnedMenuDrawn() {
    static bool drawn = false;
    return drawn;
}

TMenuItem* FirstItemOfMenu(TMenuItem* item) {
    if (!item) return nullptr;
    TMenuItem* parent = item->ItemParent();
    return parent && parent->Count() > 0 ? parent->Items(0) : item;
}

int MenuCacheCount() { return static_cast<int>(Cache().size()); }

void ClearMenuCache() {
    for (TacMenuCacheRecord& r : Cache()) delete r.Bmp;
    Cache().clear();
}

bool GetMenuCacheItem(TMenuItem* item, bool render, TacMenuCacheRecord& record, HWND wnd) {
    record = {};
    TMenuItem* first = FirstItemOfMenu(item);
    auto find = [&]() -> bool {
        for (const TacMenuCacheRecord& r : Cache())
            if ((first && r.FirstItem == first) || (!first && wnd && r.Wnd == wnd)) {
                record = r;
                return true;
            }
        return false;
    };
    if (find()) return true;
    if (!render || !first || (wnd && !IsWindow(wnd))) return false;
    TsSkinableMenus* painter = SkinableMenus(DefaultManager);
    if (!painter) return false;
    if (wnd) {
        RECT wr{};
        GetWindowRect(wnd, &wr);
        painter->RenderMenu(first, wr.right - wr.left, wr.bottom - wr.top, wnd);
    } else {
        // Drawn where no popup window shows it: the size its items ask for.
        const int frame = 2 * painter->BorderWidth;
        painter->RenderMenu(first, painter->MenuWidth(first) + frame, painter->ColumnHeight(first) + frame, nullptr);
    }
    return find();
}

// ------------------------------------------------------------- the painter

TsSkinableMenus::TsSkinableMenus(TsSkinManager* manager) : Manager(manager) {}

TsSkinableMenus::~TsSkinableMenus() = default;

TsSkinableMenus* SkinableMenus(TsSkinManager* manager) {
    if (!manager) return nullptr;
    // The manager's messages about popup windows that have shown and its
    // skin changes reach the painter.
    FormSkinningServices& services = FormSkinning();
    if (!services.PopupMenuShown)
        services.PopupMenuShown = [](UINT msg, LPARAM l) {
            TsSkinableMenus* painter = SkinableMenus(DefaultManager);
            if (!painter) return;
            HWND wnd = nullptr;
            TMenuItem* item = nullptr;
            if (msg == PopupMenuItemShownMessage) {
                // The item travels in LParam; it is trusted only while it
                // is still one of ours.
                item = TMenuItem::FindByCommand(static_cast<UINT>(l));
                if (!item) return;
                // The open popup window of the thread (the one shown last
                // is first in the z-order).
                for (HWND w = FindWindowA("#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr))
                    if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) {
                        wnd = w;
                        break;
                    }
            } else {
                wnd = reinterpret_cast<HWND>(l);
            }
            if (!wnd || !IsWindow(wnd)) return;
            if (WindowClassName(wnd) != "#32768") return;
            TacMenuCacheRecord record;
            if (GetMenuCacheItem(item, item != nullptr, record, wnd) && record.Bmp)
                painter->SetMenuWindowShape(wnd, record.Bmp);
        };
    if (!services.SetPopupMenuSkinned)
        services.SetPopupMenuSkinned = [](TsSkinManager* m, TPopupMenu* menu, bool active) {
            if (TsSkinableMenus* painter = SkinableMenus(m)) painter->SetMenuSkinned(menu, active && painter->Active());
        };
    if (!services.MenusFromSkin)
        services.MenusFromSkin = [](TsSkinManager* m) {
            if (TsSkinableMenus* painter = SkinableMenus(m)) painter->UpdateFromSkin();
        };
    if (!services.PopupsSwitched)
        services.PopupsSwitched = [](TsSkinManager* m) {
            if (TsSkinableMenus* painter = SkinableMenus(m)) painter->RehookAllForms();
        };
    if (!manager->MenuPainter) manager->MenuPainter = std::make_unique<TsSkinableMenus>(manager);
    return static_cast<TsSkinableMenus*>(manager->MenuPainter.get());
}

int TsSkinableMenus::SkinBorderWidth() {
    const TsSkinModel& skin = Manager->Model();
    if (skinBorderWidth_ < 0 || borderGeneration_ != skin.Generation()) {
        borderGeneration_ = skin.Generation();
        const int section = skin.IndexOfSection("MAINMENU");
        const int mask = skin.IndexOfMask(section, "MAINMENU", "BORDERSMASK");
        if (!skin.MaskIndexValid(mask)) {
            skinBorderWidth_ = 0;
        } else {
            const int w = skin.MaskMarginTop(mask);
            skinBorderWidth_ = w < 1 ? 3 : w;
        }
    }
    return skinBorderWidth_;
}

void TsSkinableMenus::UpdateFromSkin() {
    const TsSkinModel& skin = Manager->Model();
    SetActive(Manager->Active() && skin.SkinData().Active && skin.SkinData().SkinMenus);
}

void TsSkinableMenus::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    RehookAllForms();
}

void TsSkinableMenus::RehookAllForms() {
    TApplication* app = Application();
    if (!app) return;
    TScreen* screen = Screen();
    for (int i = 0; i < screen->FormCount(); ++i) {
        TCustomForm* form = screen->Forms(i);
        HookFormMenus(form, active_);
        // A shown bar is built again with its items owner-drawn (or plain).
        if (form->Menu() && form->HandleAllocated()) form->SetMenu(form->Menu());
    }
}

int TsSkinableMenus::MenuWidth(TMenuItem* firstItem) {
    TMenuItem* parent = firstItem ? firstItem->ItemParent() : nullptr;
    if (!parent) return 0;
    int widest = 0;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible()) continue;
        int w = 0, h = 0;
        MeasurePopupItem(item, nullptr, w, h);
        widest = std::max(widest, w);
    }
    return widest;
}

int TsSkinableMenus::ColumnHeight(TMenuItem* firstItem) {
    TMenuItem* parent = firstItem ? firstItem->ItemParent() : nullptr;
    if (!parent) return 0;
    int tallest = 0, column = 0;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible()) continue;
        if (item->Break()) column = 0;
        int w = 0, h = 0;
        MeasurePopupItem(item, nullptr, w, h);
        column += h;
        tallest = std::max(tallest, column);
    }
    return tallest;
}

void TsSkinableMenus::HookFormMenus(TComponent* root, bool active) {
    if (!root) return;
    for (int i = 0; i < root->ComponentCount(); ++i) {
        TComponent* c = root->Components(i);
        if (auto* main = dynamic_cast<TMainMenu*>(c))
            SetMainMenuSkinned(main, active);
        else if (auto* popup = dynamic_cast<TPopupMenu*>(c))
            SetMenuSkinned(popup, active);
        else
            HookFormMenus(c, active);
    }
}

void TsSkinableMenus::HookItem(TMenuItem* item, bool active, bool bar) {
    if (active) {
        if (!item->OnAdvancedDrawItem)
            item->OnAdvancedDrawItem.Install(
                [this, bar](TObject* s, TCanvas* c, const RECT& r, TOwnerDrawState st) {
                    auto* i = static_cast<TMenuItem*>(s);
                    if (bar) DrawBarItem(i, c, r, st);
                    else DrawPopupItem(i, c, r, st);
                },
                this);
        if (!item->OnMeasureItem)
            item->OnMeasureItem.Install(
                [this, bar](TObject* s, TCanvas* c, int& w, int& h) {
                    auto* i = static_cast<TMenuItem*>(s);
                    if (bar) MeasureBarItem(i, c, w, h);
                    else MeasurePopupItem(i, c, w, h);
                },
                this);
    } else {
        if (item->OnAdvancedDrawItem.Installer == this) item->OnAdvancedDrawItem.Clear();
        if (item->OnMeasureItem.Installer == this) item->OnMeasureItem.Clear();
    }
    for (int i = 0; i < item->Count(); ++i) HookItem(item->Items(i), active, false);
}

void TsSkinableMenus::SetMenuSkinned(TPopupMenu* menu, bool active) {
    if (!menu) return;
    const bool on = active && Manager && Manager->SkinnedPopups();
    menu->OwnerDraw = on;
    if (on) menu->MenuAnimation |= maNone;
    else menu->MenuAnimation &= ~static_cast<TMenuAnimation>(maNone);
    TMenuItem* root = menu->Items();
    for (int i = 0; i < root->Count(); ++i) HookItem(root->Items(i), on, false);
}

void TsSkinableMenus::SetMainMenuSkinned(TMainMenu* menu, bool active) {
    if (!menu) return;
    menu->OwnerDraw = active;
    const bool popups = active && Manager && Manager->SkinnedPopups();
    TMenuItem* root = menu->Items();
    for (int i = 0; i < root->Count(); ++i) {
        TMenuItem* top = root->Items(i);
        if (active) {
            HookItem(top, false, true);  // the sub-items' own, set again below
            if (!top->OnAdvancedDrawItem)
                top->OnAdvancedDrawItem.Install(
                    [this](TObject* s, TCanvas* c, const RECT& r, TOwnerDrawState st) {
                        DrawBarItem(static_cast<TMenuItem*>(s), c, r, st);
                    },
                    this);
            if (!top->OnMeasureItem)
                top->OnMeasureItem.Install(
                    [this](TObject* s, TCanvas* c, int& w, int& h) { MeasureBarItem(static_cast<TMenuItem*>(s), c, w, h); },
                    this);
            for (int k = 0; k < top->Count(); ++k) HookItem(top->Items(k), popups, false);
        } else {
            HookItem(top, false, true);
        }
    }
}

// -------------------------------------------------------------- side line

void TsSkinableMenus::QueryExtraLine(TMenuItem* firstItem) {
    TExtraLine& line = ExtraLine();
    if (line.Querying) return;
    line.Querying = true;
    line.Section = "EXTRALINE";
    line.Glyph.reset();
    line.Caption = "Use OnGetExtraLineData event";
    line.Visible = !IsSkinChoiceMenu(firstItem);
    if (line.Visible && Manager && Manager->OnGetMenuExtraLineData)
        Manager->OnGetMenuExtraLineData(firstItem, line.Section, line.Caption, line.Glyph, line.Visible);
    std::erase(line.Caption, '&');
    if (!line.Visible) line.Glyph.reset();
    line.Querying = false;
}

bool TsSkinableMenus::ExtraLineShown(TMenuItem* firstItem) const {
    return Manager && Manager->MenuSupport.UseExtraLine && ExtraLine().Visible && !IsSkinChoiceMenu(firstItem);
}

// -------------------------------------------------------------- measuring

void TsSkinableMenus::MeasurePopupItem(TMenuItem* item, TCanvas*, int& width, int& height) {
    if (!item || item->IsDestroying()) return;
    TMenuItem* first = FirstItemOfMenu(item);
    TacMenuCacheRecord record;
    if (!GetMenuCacheItem(item, false, record, nullptr)) QueryExtraLine(first);
    const TsMenuItemType type = ItemType(item);
    const SIZE glyph = GlyphSize(item);
    TGdiObject<HFONT> font = MenuFont(item->Default());
    std::string text;
    if (type == smCaption) text = "-" + item->Caption() + "-";
    else if (type == smNormal) text = item->Caption() + item->ShortCut();
    const SIZE t = text.empty() ? SIZE{0, 0} : TextSize(font.Get(), text, DT_SINGLELINE | DT_EXPANDTABS);
    width = 2 * glyph.cx + t.cx + 3 * Margin + Spacing;
    if (ExtraLineShown(first) && !MenuIsBroken(item)) width += Manager->MenuSupport.ExtraLineWidth;
    if (type == smDivider) {
        height = 2;
        return;
    }
    const int textH = static_cast<int>(std::lround(1.25 * TextSize(font.Get(), "W", DT_SINGLELINE).cy));
    height = (type == smCaption ? textH : std::max<int>(textH, glyph.cy)) + 2 * Margin;
}

void TsSkinableMenus::MeasureBarItem(TMenuItem* item, TCanvas*, int& width, int& height) {
    height = GetSystemMetrics(SM_CYMENU) - 1;
    std::string caption = item->Caption();
    std::erase(caption, '&');
    TGdiObject<HFONT> font = MenuFont(item->Default());
    width = TextSize(font.Get(), caption, DT_SINGLELINE).cx;
    TMenu* menu = item->GetParentMenu();
    if (menu && menu->Images && item->ImageIndex >= 0) width += menu->Images->Width() + 6;
    else if (item->HasBitmap()) width += item->Bitmap()->Width() + 6;
}

// -------------------------------------------------------------- rendering

TBitmap* TsSkinableMenus::RenderMenu(TMenuItem* firstItem, int mw, int mh, HWND wnd) {
    if (!Manager || mw <= 0 || mh <= 0) return nullptr;
    TsSkinModel& skin = Manager->Model();
    QueryExtraLine(firstItem);
    const bool side = ExtraLineShown(firstItem);
    const int sideW = side ? Manager->MenuSupport.ExtraLineWidth : 0;
    const int b = SkinBorderWidth();
    auto bmp = std::make_unique<TBitmap>(mw, mh);
    Bitmap32& px = bmp->Pixels();
    const int colW = Margin + GlyphSize(firstItem).cx + Spacing;
    const int section = skin.IndexOfSection("MAINMENU");
    if (skin.SectionIndexValid(section)) {
        FillRect32(px, TRect{0, 0, mw, mh}, clFuchsia);
        PaintSectionBackground(px, skin, section, TsParentImageInfo{}, 0, TRect{0, 0, mw, mh}, TPoint{0, 0});
    } else {
        FillRect32(px, TRect{0, 0, mw, mh}, static_cast<TColor>(GetSysColor(COLOR_MENU)));
    }
    const HWND owner = Application() ? Application()->Handle() : nullptr;
    const bool rightAligned = owner && (GetWindowLongPtrA(owner, GWL_EXSTYLE) & WS_EX_RIGHT);
    const int icoLine = skin.IndexOfSection(Manager->MenuSupport.IcoLineSkin);
    if (!rightAligned && skin.SectionIndexValid(icoLine) && mh - 2 * b > 0) {
        Bitmap32 col(colW, mh - 2 * b);
        PaintSkinItem(col, skin, icoLine, CacheInfo(bmp.get(), sideW + b, b), 0, TRect{0, 0, colW, mh - 2 * b},
                      TPoint{0, 0});
        for (int y = 0; y < col.Height(); ++y)
            for (int x = 0; x < col.Width() && sideW + b + x < mw; ++x) px.At(sideW + b + x, b + y) = col.At(x, y);
    }
    const int mask = skin.IndexOfMask(section, "MAINMENU", "BORDERSMASK");
    if (skin.MaskIndexValid(mask)) {
        TsParentImageInfo bg = CacheInfo(bmp.get(), 0, 0);
        PaintBorderMask(px, TRect{0, 0, mw, mh}, bg, skin.Masks()[static_cast<std::size_t>(mask)], 0, false);
    }
    TExtraLine& line = ExtraLine();
    const int lineSection = skin.IndexOfSection(line.Section);
    if (side && skin.SectionIndexValid(lineSection) && mh - 2 * b > 0) {
        TBitmap lb(sideW, mh - 2 * b);
        PaintSkinItem(lb.Pixels(), skin, lineSection, TsParentImageInfo{}, 0, TRect{0, 0, sideW, mh - 2 * b},
                      TPoint{0, 0});
        GdiFlush();
        HDC dc = lb.Canvas()->Handle();
        int bottom = lb.Height() - 12;
        if (line.Glyph && line.Glyph->Width() > 0) {
            const int gx = (sideW - line.Glyph->Width()) / 2, gy = bottom - line.Glyph->Height();
            BitBlt(dc, gx, gy, line.Glyph->Width(), line.Glyph->Height(), line.Glyph->Canvas()->Handle(), 0, 0,
                   SRCCOPY);
            bottom -= line.Glyph->Height() + 8;
        }
        LOGFONTA lf{};
        TFont* f = Manager->MenuSupport.ExtraLineFont();
        lf.lfHeight = f->Height();
        lf.lfWeight = FW_NORMAL;
        lf.lfEscapement = lf.lfOrientation = 900;  // reads from bottom to top
        lf.lfItalic = (f->Style() & fsItalic) ? 1 : 0;
        lf.lfUnderline = (f->Style() & fsUnderline) ? 1 : 0;
        lf.lfStrikeOut = (f->Style() & fsStrikeOut) ? 1 : 0;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(lf.lfFaceName, f->Name().c_str(), LF_FACESIZE);
        TGdiObject<HFONT> rotated(CreateFontIndirectA(&lf));
        {
            TSelection sel(dc, rotated.Get());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, static_cast<COLORREF>(FontColorOf(skin, lineSection, false)));
            SIZE ext{};
            GetTextExtentPoint32A(dc, line.Caption.c_str(), static_cast<int>(line.Caption.size()), &ext);
            TextOutA(dc, (sideW - ext.cy) / 2, bottom, line.Caption.c_str(), static_cast<int>(line.Caption.size()));
        }
        GdiFlush();
        for (int y = 0; y < lb.Height(); ++y)
            for (int x = 0; x < sideW && b + x < mw; ++x) px.At(b + x, b + y) = lb.Pixels().At(x, y) | 0xFF000000u;
        line.Glyph.reset();
    }
    // The transparent corners of the border: the key-colour pixels of the
    // mask's corner pieces, where the picture's corners lie.
    corners_.clear();
    if (skin.MaskIndexValid(mask)) {
        const TsMaskData& md = skin.Masks()[static_cast<std::size_t>(mask)];
        const Bitmap32* src = md.Image ? md.Image.get() : skin.MasterBitmap();
        const int ox = md.Image ? 0 : md.SourceRect.Left, oy = md.Image ? 0 : md.SourceRect.Top;
        const int iw = std::min(MaskImageWidth(md), mw), ih = std::min(MaskImageHeight(md), mh);
        const int ml = skin.MaskMarginLeft(mask), mt = skin.MaskMarginTop(mask);
        const int mr = skin.MaskMarginRight(mask), mb = skin.MaskMarginBottom(mask);
        for (int y = 0; src && y < ih; ++y) {
            if (y >= mt && y < ih - mb) continue;
            for (int x = 0; x < iw; ++x) {
                if (x >= ml && x < iw - mr) continue;
                const int sx = ox + x, sy = oy + y;
                if (sx >= src->Width() || sy >= src->Height() || (src->At(sx, sy) & 0xFFFFFF) != 0xFF00FF) continue;
                const int wx = x < ml ? x : mw - (iw - x), wy = y < mt ? y : mh - (ih - y);
                corners_.push_back(RECT{wx, wy, wx + 1, wy + 1});
            }
        }
    }
    TBitmap* kept = bmp.release();
    Cache().push_back(TacMenuCacheRecord{firstItem, kept, wnd, side});
    if (wnd) SetMenuWindowShape(wnd, kept);
    return kept;
}

void TsSkinableMenus::SetMenuWindowShape(HWND wnd, TBitmap* bitmap) {
    if (!bitmap || !wnd || shaping_) return;
    shaping_ = true;
    if (SendSkinCommand(wnd, scSetUpdating, 0) == 0) {
        SendSkinCommand(wnd, 14, 0);
        TGdiObject<HRGN> rgn(CreateRectRgn(0, 0, bitmap->Width(), bitmap->Height()));
        std::vector<RECT> cut = corners_;
        if (cut.empty()) cut.push_back(RECT{0, 0, 1, 1});
        for (const RECT& r : cut) {
            TGdiObject<HRGN> piece(CreateRectRgn(r.left, r.top, r.right, r.bottom));
            CombineRgn(rgn.Get(), rgn.Get(), piece.Get(), RGN_DIFF);
        }
        // The window owns the region once it is set.
        if (SetWindowRgn(wnd, rgn.Get(), TRUE)) (void)rgn.Release();
        TWindowDC dc(wnd, TDCArea::Window);
        BitBlt(dc.Get(), 0, 0, bitmap->Width(), bitmap->Height(), bitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    shaping_ = false;
}

// ---------------------------------------------------------------- drawing

void TsSkinableMenus::DrawPopupItem(TMenuItem* item, TCanvas* canvas, const RECT& rect, TOwnerDrawState state) {
    if (!Manager || !active_ || !item || !canvas) return;
    const TsSkinModel& skin = Manager->Model();
    HDC dc = canvas->Handle();
    const HWND wnd = WindowFromDC(dc);
    TacMenuCacheRecord record;
    TBitmap* cache = nullptr;
    POINT off{0, 0};
    if (wnd) {
        if (GetMenuCacheItem(item, true, record, wnd)) cache = record.Bmp;
        off = WindowClientOffset(wnd);
    } else {
        // No popup window yet: the picture at the size the items ask for,
        // so that the items are drawn on it all the same.
        if (GetMenuCacheItem(item, true, record, nullptr)) cache = record.Bmp;
        if (HWND app = Application() ? Application()->Handle() : nullptr) {
            MSG queued{};
            if (!PeekMessageA(&queued, app, PopupMenuItemShownMessage, PopupMenuWindowShownMessage, PM_NOREMOVE))
                PostMessageA(app, PopupMenuItemShownMessage, 0, static_cast<LPARAM>(item->Command()));
        }
    }
    SkinnedMenuDrawn() = true;
    const bool broken = MenuIsBroken(item);
    const int sideW = record.ExtraLine && !broken ? Manager->MenuSupport.ExtraLineWidth : 0;
    RECT client{};
    if (wnd) GetClientRect(wnd, &client);
    if (wnd && cache) {
        // What lies outside the items comes from the menu's picture.
        TMenuItem* parent = item->ItemParent();
        const bool firstVisible = parent && parent->Count() > 0 && item == parent->Items(0);
        const bool lastVisible = parent && parent->Count() > 0 && item == parent->Items(parent->Count() - 1);
        if (firstVisible) CopyFromCache(dc, RECT{0, 0, client.right, rect.top}, cache, POINT{off.x, off.y});
        if (lastVisible)
            CopyFromCache(dc, RECT{0, rect.bottom, client.right, client.bottom}, cache, POINT{off.x, rect.bottom + off.y});
        CopyFromCache(dc, RECT{rect.right, rect.top, client.right, rect.bottom}, cache,
                      POINT{rect.right + off.x, rect.top + off.y});
        CopyFromCache(dc, RECT{0, rect.top, rect.left, rect.bottom}, cache, POINT{off.x, rect.top + off.y});
        if (sideW) CopyFromCache(dc, RECT{rect.left, rect.top, rect.left + sideW, rect.bottom}, cache,
                                 POINT{rect.left + off.x, rect.top + off.y});
    }
    const TsMenuItemType type = ItemType(item);
    if (type == smDivider) {
        DrawDivider(item, canvas, rect, sideW, cache, off);
        return;
    }
    if (type == smCaption) {
        DrawCaptionLine(item, canvas, rect, sideW, cache, off);
        return;
    }
    const int w = rect.right - rect.left - sideW, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    const bool selected = (state & odSelected) && item->Enabled();
    const bool hot = selected || (state & odHotLight);
    TBitmap tmp(w, h);
    Bitmap32& px = tmp.Pixels();
    if (cache) {
        CopyArea(px, cache->Pixels(), rect.left + sideW + off.x, rect.top + off.y);
    } else {
        FillRect32(px, TRect{0, 0, w, h}, static_cast<TColor>(GetSysColor(COLOR_MENU)));
    }
    const int itemSection = skin.IndexOfSection("MENUITEM");
    if (skin.SectionIndexValid(itemSection))
        PaintSkinItem(px, skin, itemSection, CacheInfo(cache, rect.left + sideW + off.x, rect.top + off.y),
                      selected ? 1 : 0, TRect{0, 0, w, h}, TPoint{0, 0});
    const SIZE glyph = GlyphSize(item);
    TMenu* menu = item->GetParentMenu();
    const bool hasImage = item->HasBitmap() || (menu && menu->Images && item->ImageIndex >= 0);
    TsParentImageInfo self;
    self.Bmp = &px;
    self.Ready = true;
    if (item->Checked() && !hasImage) {
        const int global = skin.IndexOfSection("GLOBALINFO");
        int m = skin.IndexOfMask(global, "GLOBALINFO", item->RadioItem() ? "RADIOCHECKED" : "CHECK");
        if (!skin.MaskIndexValid(m)) m = skin.IndexOfMask(global, "GLOBALINFO", "BOXCHECKED");
        if (skin.MaskIndexValid(m)) {
            const TsMaskData& md = skin.Masks()[static_cast<std::size_t>(m)];
            DrawMaskState(px, TPoint{Margin, (h - MaskImageHeight(md)) / 2}, 0, 1, md, self);
        }
    }
    GdiFlush();
    HDC tdc = tmp.Canvas()->Handle();
    const int gx = (h - glyph.cy) / 2, gy = (h - glyph.cy) / 2;
    if (hasImage) {
        if (item->Checked()) {
            const int sb = skin.IndexOfSection("SPEEDBUTTON_SMALL");
            if (skin.SectionIndexValid(sb))
                PaintSkinItem(px, skin, sb, self, 2, TRect{gx - 1, gy - 1, gx + glyph.cx + 1, gy + glyph.cy + 1},
                              TPoint{0, 0});
            GdiFlush();
        }
        if (item->HasBitmap()) {
            TBitmap* g = item->Bitmap();
            BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            bool alpha = false;
            for (int y = 0; y < g->Height() && !alpha; ++y)
                for (int x = 0; x < g->Width(); ++x)
                    if (g->Pixels().At(x, y) >> 24) {
                        alpha = true;
                        break;
                    }
            if (alpha)
                GdiAlphaBlend(tdc, gx, gy, g->Width(), g->Height(), g->Canvas()->Handle(), 0, 0, g->Width(),
                              g->Height(), bf);
            else
                GdiTransparentBlt(tdc, gx, gy, g->Width(), g->Height(), g->Canvas()->Handle(), 0, 0, g->Width(),
                               g->Height(), g->Pixels().At(0, g->Height() - 1) & 0xFFFFFF);
        } else {
            menu->Images->Draw(tmp.Canvas(), gx, gy, item->ImageIndex, true);
        }
    } else if (IsSystemMenu(item)) {
        const char* glyphText = nullptr;
        switch (static_cast<WPARAM>(item->Tag())) {
            case SC_MINIMIZE: glyphText = "0"; break;
            case SC_MAXIMIZE: glyphText = "1"; break;
            case SC_CLOSE: glyphText = "r"; break;
            case SC_RESTORE: glyphText = "2"; break;
            default: break;
        }
        if (glyphText) {
            LOGFONTA lf{};
            lf.lfHeight = -MulDiv(10, 96, 72);
            lf.lfCharSet = SYMBOL_CHARSET;
            lstrcpynA(lf.lfFaceName, "Webdings", LF_FACESIZE);
            TGdiObject<HFONT> webdings(CreateFontIndirectA(&lf));
            const SIZE ts = TextSize(webdings.Get(), glyphText, DT_SINGLELINE);
            DrawTextIn(tdc, webdings.Get(), glyphText, RECT{4, 0, ts.cy + 14, h}, DT_SINGLELINE | DT_VCENTER,
                       FontColorOf(skin, itemSection, hot));
        }
    }
    TGdiObject<HFONT> font = MenuFont(item->Default());
    const TColor colour = FontColorOf(skin, itemSection, hot);
    std::string caption = item->Caption();
    std::string afterTab;
    UINT align = Alignment == taRightJustify ? DT_RIGHT : Alignment == taCenter ? DT_CENTER : DT_LEFT;
    if (const auto tab = caption.find('\t'); tab != std::string::npos) {
        afterTab = caption.substr(tab + 1);
        caption.resize(tab);
    } else if (!caption.empty() && caption.front() == '\b') {
        caption = caption.substr(1) + "      ";
        align = DT_RIGHT;
    }
    const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOCLIP | ((state & odNoAccel) ? DT_HIDEPREFIX : 0);
    DrawTextIn(tdc, font.Get(), caption, RECT{Margin * 2 + glyph.cx + Spacing, 0, w, h}, flags | align, colour);
    if (!item->ShortCut().empty()) {
        const SIZE ts = TextSize(font.Get(), item->ShortCut(), DT_SINGLELINE);
        DrawTextIn(tdc, font.Get(), item->ShortCut(), RECT{w - ts.cx - 8, 0, w - 8, h}, flags, colour);
    }
    if (!afterTab.empty()) DrawTextIn(tdc, font.Get(), afterTab, RECT{0, 0, w - 8, h}, flags | DT_RIGHT, colour);
    GdiFlush();
    if (OnDrawItem) {
        OnDrawItem(this, tmp.Canvas(), RECT{0, 0, w, h}, state, smNormal);
        GdiFlush();
    }
    if (!item->Enabled())
        DimOver(px, cache ? &cache->Pixels() : nullptr, rect.left + sideW + off.x, rect.top + off.y, 0.4);
    BitBlt(dc, rect.left + sideW, rect.top, w, h, tdc, 0, 0, SRCCOPY);
    if (item->OnDrawItem) item->OnDrawItem(item, canvas, rect, (state & odSelected) != 0);
}

void TsSkinableMenus::DrawDivider(TMenuItem*, TCanvas* canvas, const RECT& rect, int sideWidth, TBitmap* cache,
                                  POINT off) {
    const TsSkinModel& skin = Manager->Model();
    HDC dc = canvas->Handle();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    RECT line{std::max<LONG>(rect.left + sideWidth + Margin + Spacing, sideWidth + Margin + 16 + Spacing + 2), rect.top,
              rect.right - Margin, rect.bottom};
    if (cache) CopyFromCache(dc, rect, cache, POINT{rect.left + off.x, rect.top + off.y});
    const int dsection = skin.IndexOfSection("DIVIDERV");
    const int mask = skin.IndexOfMask(dsection, "DIVIDERV", "BORDERSMASK");
    if (skin.MaskIndexValid(mask) && cache) {
        TBitmap tmp(w, h);
        Bitmap32& px = tmp.Pixels();
        CopyArea(px, cache->Pixels(), rect.left + off.x, rect.top + off.y);
        PaintBorderMask(px, TRect{line.left - rect.left, 0, line.right - rect.left, h}, CacheInfo(cache, 0, 0),
                        skin.Masks()[static_cast<std::size_t>(mask)], 0, false);
        GdiFlush();
        BitBlt(dc, rect.left, rect.top, w, h, tmp.Canvas()->Handle(), 0, 0, SRCCOPY);
        return;
    }
    TsColor border = skin.SkinData().BorderColor;
    TColor colour = (border & 0xFFFFFF) == 0xFF00FF ? static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)) : static_cast<TColor>(border);
    TGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(colour)));
    TSelection sel(dc, pen.Get());
    MoveToEx(dc, line.left, rect.top, nullptr);
    LineTo(dc, line.right, rect.top);
}

void TsSkinableMenus::DrawCaptionLine(TMenuItem* item, TCanvas* canvas, const RECT& rect, int sideWidth,
                                      TBitmap* cache, POINT off) {
    const TsSkinModel& skin = Manager->Model();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    TBitmap tmp(w, h);
    Bitmap32& px = tmp.Pixels();
    if (cache) {
        CopyArea(px, cache->Pixels(), rect.left + off.x, rect.top + off.y);
    } else {
        FillRect32(px, TRect{0, 0, w, h}, static_cast<TColor>(GetSysColor(COLOR_MENU)));
    }
    int section = skin.IndexOfSection("MENUCAPTION");
    if (!skin.SectionIndexValid(section)) section = skin.IndexOfSection("TOOLBAR");
    if (skin.SectionIndexValid(section) && w - 1 > sideWidth + 1 && h > 2)
        PaintSkinItem(px, skin, section, CacheInfo(cache, rect.left + off.x, rect.top + off.y), 0,
                      TRect{sideWidth + 1, 1, w - 1, h - 1}, TPoint{0, 0});
    GdiFlush();
    DrawTextIn(tmp.Canvas()->Handle(), CaptionFont.Handle(), CaptionLineText(item->Caption()),
               RECT{sideWidth + 1, 0, w, h}, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_HIDEPREFIX,
               FontColorOf(skin, section, false));
    GdiFlush();
    BitBlt(canvas->Handle(), rect.left, rect.top, w, h, tmp.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TsSkinableMenus::DrawBarItem(TMenuItem* item, TCanvas* canvas, const RECT& rect, TOwnerDrawState state) {
    if (!Manager || !item || !canvas) return;
    TMenu* menu = item->GetParentMenu();
    auto* form = menu ? dynamic_cast<TCustomForm*>(menu->Owner()) : nullptr;
    TsSkinProvider* provider = nullptr;
    if (form && form->HandleAllocated())
        provider = reinterpret_cast<TsSkinProvider*>(SendSkinCommand(form->Handle(), scGetProvider, 0));
    if (!provider) provider = MDIProvider;
    if (!provider || !provider->SkinData->CacheBmp || !provider->Form) return;
    const TsSkinModel& skin = Manager->Model();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    // Drawn on the menu line the rectangle is in cache coordinates already.
    // Asked by the system it is in the window's (the system gives the bar's
    // items relative to the window, caption included, on Windows as under
    // Wine): only a border window's margins lie between the two.
    POINT at{rect.left, rect.top};
    if ((state & kMenuLineDrawState) != kMenuLineDrawState) {
        const RECT ext = provider->GetExtBorderMargins();
        at.x += ExtendedBorderDiff(provider->BorderForm) + ext.left;
        at.y += ExtendedTitleDiff(provider->BorderForm) + ext.top;
    }
    TBitmap tmp(w, h);
    Bitmap32& px = tmp.Pixels();
    Bitmap32& c = provider->SkinData->CacheBmp->Pixels();
    CopyArea(px, c, at.x, at.y);
    const bool selected = (item->Enabled() && (state & odSelected)) || (state & odHotLight);
    const int itemSection = skin.IndexOfSection("MENUITEM");
    if (skin.SectionIndexValid(itemSection))
        PaintSkinItem(px, skin, itemSection, CacheInfo(provider->SkinData->CacheBmp.get(), at.x, at.y),
                      selected ? 1 : 0, TRect{0, 0, w, h}, TPoint{0, 0});
    GdiFlush();
    HDC tdc = tmp.Canvas()->Handle();
    int imageW = 0;
    if (item->HasBitmap()) {
        TBitmap* g = item->Bitmap();
        imageW = g->Width();
        BitBlt(tdc, 3, (h - g->Height()) / 2, g->Width(), g->Height(), g->Canvas()->Handle(), 0, 0, SRCCOPY);
    } else if (menu && menu->Images && item->ImageIndex >= 0) {
        imageW = menu->Images->Width();
        menu->Images->Draw(tmp.Canvas(), 3, (h - menu->Images->Height()) / 2, item->ImageIndex, true);
    }
    TGdiObject<HFONT> font = MenuFont(item->Default());
    const UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP |
                       ((state & odNoAccel) ? DT_HIDEPREFIX : 0);
    DrawTextIn(tdc, font.Get(), item->Caption(), RECT{Margin + imageW, 0, w - Margin, h}, flags,
               FontColorOf(skin, itemSection, selected));
    GdiFlush();
    if (OnDrawItem) {
        OnDrawItem(this, tmp.Canvas(), RECT{0, 0, w, h}, state, smTopLine);
        GdiFlush();
    }
    if (!item->Enabled()) DimOver(px, &c, at.x, at.y, 0.4);
    BitBlt(canvas->Handle(), rect.left, rect.top, w, h, tdc, 0, 0, SRCCOPY);
}

}  // namespace kova::skin
