#include "skin/controls/combownd.h"

#include <algorithm>
#include <vector>

#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/skinmessage.h"
#include "skin/core/sysentries.h"
#include "framework/portable/props.h"
#include "framework/windowtext.h"

namespace kova::skin {

namespace {
// Set between CBN_DROPDOWN and CBN_CLOSEUP.
bool ListDropped = false;
}  // namespace

std::string ComboItemText(HWND combo, int index) {
    if (index < 0) return {};
    const LRESULT len = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (len == CB_ERR || len < 0) return {};
    std::vector<char> buf(static_cast<std::size_t>(len) + 1, '\0');
    const LRESULT got = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
    if (got == CB_ERR || got < 0) return {};
    return std::string(buf.data(), static_cast<std::size_t>(std::min<LRESULT>(got, len)));
}

// ------------------------------------------------------------ the list

TacComboListWnd::TacComboListWnd(HWND list, TsCommonData* skinData, TsSkinManager* manager,
                                 const std::string& section)
    : TacEditWnd(list, skinData, manager, section.empty() ? "EDIT" : section) {
    GetWindowRect(list, &CreationRect);
}

void TacComboListWnd::AttachTo(bool repaint) {
    TacEditWnd::AttachTo(repaint);
    if (SimpleCombo) return;
    // One pixel wider: the list recomputes its frame with the skinned bars.
    RECT r{};
    GetWindowRect(WindowHandle, &r);
    SetWindowPos(WindowHandle, nullptr, 0, 0, r.right - r.left + 1, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOCOPYBITS | SWP_NOOWNERZORDER |
                     SWP_NOSENDCHANGING);
}

void TacComboListWnd::PrepareCache() {
    TsCommonData& d = *CommonData;
    if (SimpleCombo) {
        SendSkinCommand(WindowHandle, 23, 0);
        return;
    }
    TsSkinManager* m = ActiveManager();
    if (!m) return;
    d.ReadSkinIndexes();
    SetSkinParams();
    RECT r{};
    GetWindowRect(WindowHandle, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    d.EnsureCacheBmp();
    d.CacheBmp->SetSize(w, h);
    const TsGeneralData* section = d.Section();
    HDC dc = d.CacheBmp->Canvas()->Handle();
    TGdiObject<HBRUSH> brush(CreateSolidBrush(
        section ? ColorToRGB(m->Model().ColorToRGB(section->Color)) : GetSysColor(COLOR_WINDOW)));
    TGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ColorToRGB(m->Model().ColorToRGB(m->Model().SkinData().BorderColor))));
    {
        const TSavedDC saved(dc);
        SelectObject(dc, brush.Get());
        SelectObject(dc, pen.Get());
        Rectangle(dc, 0, 0, w, h);
    }
    d.BGChanged = false;
}

void TacComboListWnd::FillComboBelowList() {
    TsSkinManager* m = ActiveManager();
    HWND combo = GetParent(WindowHandle);
    if (!m || !combo) return;
    RECT cr{}, lr{};
    GetWindowRect(combo, &cr);
    GetWindowRect(WindowHandle, &lr);
    const int top = lr.bottom - cr.top, w = cr.right - cr.left, h = cr.bottom - lr.bottom;
    if (w <= 0 || h <= 0) return;
    TsParentImageInfo bg;
    ParentImageInfoOfWnd(combo, bg);
    Bitmap32 strip(w, h);
    FillFromParentBackground(strip, RECT{0, 0, w, h}, POINT{0, top}, bg, m->Model());
    TWindowDC dc(combo, TDCArea::Window);
    CopyBufferToDC(dc.Get(), 0, top, strip, RECT{0, 0, w, h});
}

void TacComboListWnd::WndProc(TMessage& m) {
    if (Detached || !CommonData || !ActiveManager()) {
        TacEditWnd::WndProc(m);
        return;
    }
    const TLife life = Life();
    switch (m.Msg) {
        case WM_NCPAINT: {
            if (inNcPaint_ || !IsWindowVisible(WindowHandle)) break;
            inNcPaint_ = true;
            GetWndGeometry(WindowHandle, ParentHandle, WindowRect, PosInParent, WindowSize, ParentWindowRect);
            PrepareCache();
            if (!life.Alive()) return;
            if (!InDialog) FillBorderCorners(*CommonData, *this);
            if (CommonData->CacheBmp && CommonData->CacheBmp->Width() > 0) {
                TWindowDC dc(WindowHandle, TDCArea::Window);
                CopyBorderStrips(dc.Get(), 0, 0, CommonData->CacheBmp->Width(), CommonData->CacheBmp->Height(),
                                 CommonData->CacheBmp->Canvas()->Handle(), 0, 0, 2);
                PaintScrollBars(*this, WindowHandle, dc.Get());
            }
            if (SimpleCombo) FillComboBelowList();
            inNcPaint_ = false;
            m.Result = 0;
            return;
        }
        case WM_ERASEBKGND:
            if (m.WParam) {
                const TsGeneralData* section = CommonData->Section();
                TsSkinManager* sm = ActiveManager();
                RECT r{};
                GetClientRect(WindowHandle, &r);
                FillRectSolid(reinterpret_cast<HDC>(m.WParam), r,
                              section ? ColorToRGB(sm->Model().ColorToRGB(section->Color)) : GetSysColor(COLOR_WINDOW));
                m.Result = 1;
                return;
            }
            CallPrevWndProc(m);
            return;
        case WM_HSCROLL:
        case WM_VSCROLL:
            CallPrevWndProc(m);
            return;
        case 0x1AE:  // the list starts tracking the mouse
            Tracking = true;
            break;
        case 0x1AF:  // and ends it
            Tracking = false;
            CommonData->BGChanged = true;
            break;
        case WM_PRINT:
        case WM_PRINTCLIENT: {
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            if (!dc || !IsWindowVisible(WindowHandle)) break;
            GetWndGeometry(WindowHandle, ParentHandle, WindowRect, PosInParent, WindowSize, ParentWindowRect);
            PrepareCache();
            if (!life.Alive()) return;
            {
                const TSavedDC saved(dc);
                CallPrevWndProc(m);
            }
            if (!life.Alive()) return;
            if (m.Msg == WM_PRINT && SendMessageA(WindowHandle, LB_GETCOUNT, 0, 0) > 0 && !Tracking &&
                CommonData->CacheBmp) {
                CopyBorderStrips(dc, 0, 0, CommonData->CacheBmp->Width(), CommonData->CacheBmp->Height(),
                                 CommonData->CacheBmp->Canvas()->Handle(), 0, 0, 3);
                PaintScrollBars(*this, WindowHandle, dc);
            }
            return;
        }
        default:
            break;
    }
    const UINT msg = m.Msg;
    TacEditWnd::WndProc(m);
    if (!life.Alive() || Detached) return;
    if (msg == WM_WINDOWPOSCHANGED) RefreshScrollBars(*this, true);
}

// ------------------------------------------------------------ the combo

TacComboBoxWnd::TacComboBoxWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacEditWnd(wnd, skinData, manager, section.empty() ? "COMBOBOX" : section) {}

TacComboBoxWnd::~TacComboBoxWnd() { DropListAdapter(); }

void TacComboBoxWnd::AttachTo(bool repaint) {
    TacEditWnd::AttachTo(repaint);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(WindowHandle, &info) && info.hwndList) MakeListAdapter(info.hwndList);
}

void TacComboBoxWnd::MakeListAdapter(HWND list) {
    if (ListAdapter || !list) return;
    ListHandle = list;
    InheritedInDialog = InDialog ? 1 : 0;
    auto a = std::make_unique<TacComboListWnd>(list, nullptr, Manager, "EDIT");
    InheritedInDialog = 0;
    a->SimpleCombo = IsSimple();
    a->Start(SendMessageA(WindowHandle, CB_GETCOUNT, 0, 0) > 0);
    ListAdapter = std::move(a);
}

bool TacComboBoxWnd::HasDropButton() const { return (GetWindowLongA(WindowHandle, GWL_STYLE) & 2) != 0; }

bool TacComboBoxWnd::IsSimple() const { return (GetWindowLongA(WindowHandle, GWL_STYLE) & 3) == CBS_SIMPLE; }

void TacComboBoxWnd::RebuildCache() {
    TsCommonData& d = *CommonData;
    GetWndGeometry(WindowHandle, ParentHandle, WindowRect, PosInParent, WindowSize, ParentWindowRect);
    d.BGChanged = true;
    if (!IsSimple()) {
        SendSkinCommand(WindowHandle, 23, 0);
        return;
    }
    // A simple combo: the edit part only.
    TsSkinManager* m = ActiveManager();
    if (!m || WindowSize.cx <= 0) return;
    const int h = static_cast<int>(SendMessageA(WindowHandle, CB_GETITEMHEIGHT, 0, 0)) + 8;
    d.EnsureCacheBmp();
    d.CacheBmp->SetSize(WindowSize.cx, h);
    const TsColor border = m->Model().SkinData().BorderColor;
    if (InDialog && border != 0xFF00FF) {
        HDC dc = d.CacheBmp->Canvas()->Handle();
        TGdiObject<HBRUSH> fill(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
        TGdiObject<HBRUSH> frame(CreateSolidBrush(ColorToRGB(border)));
        RECT r{0, 0, WindowSize.cx, h};
        FillRect(dc, &r, fill.Get());
        FrameRect(dc, &r, frame.Get());
    } else {
        TsParentImageInfo bg;
        ParentImageInfoOfWnd(WindowHandle, bg);
        PaintControlSkin(d.CacheBmp->Pixels(), m->Model(), d.SkinIndex, bg, d.IsActiveState() ? 1 : 0,
                         TRect{0, 0, WindowSize.cx, h}, TPoint{0, 0}, false, d.HUEOffset, d.Saturation, d.TextureIndex,
                         d.HotTextureIndex);
    }
    d.BGChanged = false;
}

void TacComboBoxWnd::DrawSelectedText() {
    TsSkinManager* m = ActiveManager();
    TsCommonData& d = *CommonData;
    if (!m || !d.CacheBmp) return;
    const RECT b = GetButtonRect();
    RECT r = (GetWindowLongA(WindowHandle, GWL_EXSTYLE) & WS_EX_RTLREADING)
                 ? RECT{b.right, 3, WindowSize.cx - 3, WindowSize.cy - 3}
                 : RECT{3, 3, b.left, WindowSize.cy - 3};
    const int index = static_cast<int>(SendMessageA(WindowHandle, CB_GETCURSEL, 0, 0));
    const std::string text = index >= 0 ? ComboItemText(WindowHandle, index) : kova::WindowText(WindowHandle);
    TCanvas& canvas = *d.CacheBmp->Canvas();
    if (d.OwnerControl)
        canvas.Font()->Assign(d.OwnerControl->Font());
    else if (auto f = reinterpret_cast<HFONT>(SendMessageA(WindowHandle, WM_GETFONT, 0, 0)))
        canvas.Font()->SetHandle(f);
    const bool list = (GetWindowLongA(WindowHandle, GWL_STYLE) & 3) == CBS_DROPDOWNLIST;
    RECT t = r;
    if (list) OffsetRect(&t, 1, 1);
    const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX |
                       ((GetWindowLongA(WindowHandle, GWL_EXSTYLE) & WS_EX_RTLREADING) ? DT_RTLREADING : 0);
    HDC dc = canvas.Handle();
    if (list && GetFocus() == WindowHandle) {
        FillRectSolid(dc, r, kova::ColorToRGB(clHighlight));
        {
            const TSavedDC saved(dc);
            SelectObject(dc, canvas.Font()->Handle());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, kova::ColorToRGB(clHighlightText));
            DrawTextStr(dc, text, t, flags);
        }
        DrawFocusRect(dc, &r);
        return;
    }
    if (text.empty()) return;
    PaintControlText(canvas, text, IsWindowEnabled(WindowHandle) != FALSE, t, flags,
                     RecordTextStyle(m->Model(), d, d.IsActiveState()));
}

void TacComboBoxWnd::DropListAdapter() {
    if (ListAdapter) {
        ListAdapter->Detach(false);
        ListAdapter.reset();
    }
    ListHandle = nullptr;
}

RECT TacComboBoxWnd::GetButtonRect() {
    RECT wr{};
    GetWindowRect(WindowHandle, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const int bw = HasDropButton() ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    RECT r;
    r.left = (GetWindowLongA(WindowHandle, GWL_EXSTYLE) & WS_EX_RTLREADING) ? 2 : w - bw - 2;
    r.top = 2;
    r.right = r.left + bw;
    r.bottom = h - 2;
    return r;
}

int TacComboBoxWnd::ButtonState() {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    HWND list = ListHandle;
    if (!list && GetComboBoxInfo(WindowHandle, &info)) list = info.hwndList;
    if (list && IsWindowVisible(list) && SendMessageA(WindowHandle, CB_GETDROPPEDSTATE, 0, 0)) return 2;
    TsSkinManager* m = ActiveManager();
    if (CommonData->IsActiveState() || GetFocus() == WindowHandle || CommonData->MouseAbove ||
        (m && m->HotControl() == WindowHandle))
        return 1;
    return 0;
}

void TacComboBoxWnd::PaintButton(HDC dc) {
    TsSkinManager* m = ActiveManager();
    if (!m || !dc) return;
    const RECT b = GetButtonRect();
    const int bw = b.right - b.left, bh = b.bottom - b.top;
    if (bw <= 0 || bh <= 0) return;
    const TsSkinModel& skin = m->Model();
    // The button area as the window shows it, the skin's button and arrow
    // over it, then back in one copy.
    PixelBuffer32 work = ReadDCToBuffer(dc, b);
    if (work.Empty()) return;
    const int state = ButtonState();
    TsParentImageInfo bg;
    bg.Bmp = &work;
    bg.Ready = true;
    const int btn = skin.ConstData().ComboBtn.Section;
    if (skin.SectionIndexValid(btn))
        PaintSkinItem(work, skin, btn, bg, state, TRect{0, 0, bw, bh}, TPoint{0, 0}, skin.ConstData().ComboBtn.Texture,
                      skin.ConstData().ComboBtn.HotTexture);
    const int arrow = skin.ConstData().ComboBoxGlyph;
    if (skin.MaskIndexValid(arrow)) {
        const TsMaskData& mask = skin.Masks()[static_cast<std::size_t>(arrow)];
        const int cols = mask.ColumnCount ? mask.ColumnCount : 1;
        const int iw = (mask.SourceRect.Right - mask.SourceRect.Left) / cols;
        const int ih = mask.RowMode + 1 ? (mask.SourceRect.Bottom - mask.SourceRect.Top) / (mask.RowMode + 1) : 0;
        const int x = (bw - iw) / 2 + (bw - iw) % 2, y = (bh - ih) / 2 + (bh - ih) % 2;
        DrawMaskState(work, TPoint{x, y}, state, 1, mask, bg);
    }
    CopyBufferToDC(dc, b.left, b.top, work, RECT{0, 0, bw, bh});
}

void TacComboBoxWnd::RepaintOwned() {
    // Only a framework combo: a native one repaints its field itself.
    if (!CommonData->OwnerControl || !IsWindowVisible(WindowHandle)) return;
    InvalidateRect(WindowHandle, nullptr, TRUE);
    UpdateWindow(WindowHandle);
}

void TacComboBoxWnd::RepaintButton() {
    if (!IsWindowVisible(WindowHandle)) return;
    const TWindowDC dc(WindowHandle, TDCArea::Window);
    PaintButton(dc.Get());
}

void TacComboBoxWnd::WndProc(TMessage& m) {
    if (!ActiveManager()) {
        TacEditWnd::WndProc(m);
        return;
    }
    const TLife life = Life();
    if (IsSkinCommand(m)) {
        const int code = SkinSubCode(m.WParam);
        TacEditWnd::WndProc(m);
        if (!life.Alive()) return;
        if (code == scSkinRemoved && ListHandle) {
            SetWindowLongA(ListHandle, GWL_STYLE,
                           (GetWindowLongA(ListHandle, GWL_STYLE) & ~WS_THICKFRAME) | WS_BORDER);
            DropListAdapter();
        } else if (code == scHotEnter || code == scHotLeave) {
            RepaintButton();
        }
        return;
    }
    switch (m.Msg) {
        case WM_CTLCOLORLISTBOX: {
            if (inCtlColor_) break;
            inCtlColor_ = true;
            TacEditWnd::WndProc(m);
            inCtlColor_ = false;
            if (!life.Alive()) return;
            if (!ListHandle) MakeListAdapter(reinterpret_cast<HWND>(m.LParam));
            const TsGeneralData* section = ListAdapter ? ListAdapter->CommonData->Section() : nullptr;
            if (section && !InDialog) {
                TsSkinManager* sm = ActiveManager();
                const COLORREF colour = static_cast<COLORREF>(sm->Model().ColorToRGB(section->Color));
                HDC dc = reinterpret_cast<HDC>(m.WParam);
                if (section->FontColors[0] != clFuchsia)
                    SetTextColor(dc, static_cast<COLORREF>(sm->Model().ColorToRGB(section->FontColors[0])));
                SetBkColor(dc, colour);
                if (!listBrush_ || listBrushColour_ != colour) {
                    listBrush_.Reset(CreateSolidBrush(colour));
                    listBrushColour_ = colour;
                }
                m.Result = reinterpret_cast<LRESULT>(listBrush_.Get());
            }
            return;
        }
        case WM_COMMAND:
        case CN_COMMAND: {
            const int code = HIWORD(m.WParam);
            TacEditWnd::WndProc(m);
            if (!life.Alive()) return;
            if (code == CBN_DROPDOWN) ListDropped = true;
            if (code == CBN_CLOSEUP) {
                ListDropped = false;
                CommonData->BGChanged = true;
            }
            if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) RepaintButton();
            return;
        }
        case WM_PAINT: {
            // The native combo paints first; the frame and the button come
            // from the skin over it.
            TacEditWnd::WndProc(m);
            if (!life.Alive() || !IsWindowVisible(WindowHandle)) return;
            // An adapter that came while the combo was still being made
            // found no list yet: the list is there by the first paint.
            if (!ListAdapter) {
                COMBOBOXINFO info{};
                info.cbSize = sizeof(info);
                if (GetComboBoxInfo(WindowHandle, &info) && info.hwndList) MakeListAdapter(info.hwndList);
                if (!life.Alive()) return;
            }
            RebuildCache();
            HDC given = m.WParam ? reinterpret_cast<HDC>(m.WParam) : nullptr;
            TWindowDC own;
            HDC dc = GivenOrWindowDC(given, WindowHandle, TDCArea::Window, own);
            if (CommonData->CacheBmp && CommonData->CacheBmp->Width() > 0)
                CopyBorderStrips(dc, 0, 0, CommonData->CacheBmp->Width(), CommonData->CacheBmp->Height(),
                                 CommonData->CacheBmp->Canvas()->Handle(), 0, 0, 3);
            PaintButton(dc);
            return;
        }
        case WM_PRINT: {
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            if (!dc) break;
            if (!ParamsApplied) SetSkinParams();
            if (!life.Alive()) return;
            CommonData->Updating = false;
            RebuildCache();
            if (!CommonData->CacheBmp || CommonData->CacheBmp->Width() <= 0) break;
            DrawSelectedText();
            FillBorderCorners(*CommonData, *this);
            BitBlt(dc, 0, 0, CommonData->CacheBmp->Width(), CommonData->CacheBmp->Height(),
                   CommonData->CacheBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
            PaintButton(dc);
            m.Result = 1;
            return;
        }
        case WM_ERASEBKGND:
            m.Result = 1;
            return;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE: {
            TsCommonData& d = *CommonData;
            bool change = false;
            if (m.Msg == CM_MOUSEENTER) {
                change = !d.MouseAbove;
            } else if (d.MouseAbove) {
                // A leave reported while the cursor is still over the
                // combo (it moved onto the combo's own edit) is no leave.
                POINT p{};
                RECT wr{};
                GetCursorPos(&p);
                GetWindowRect(WindowHandle, &wr);
                change = !PtInRect(&wr, p);
            }
            if (!change) break;
            d.MouseAbove = m.Msg == CM_MOUSEENTER;
            d.BGChanged = true;
            TacEditWnd::WndProc(m);
            if (!life.Alive()) return;
            // The common handling sets the hot state by its own rules; the
            // combo's answer is the one decided here.
            d.MouseAbove = m.Msg == CM_MOUSEENTER;
            RepaintOwned();
            return;
        }
        case WM_DRAWITEM:
            CallPrevWndProc(m);
            if (!life.Alive()) return;
            RepaintOwned();
            return;
        case WM_NCCALCSIZE:
            TacEditWnd::WndProc(m);
            if (!life.Alive()) return;
            // The combo draws its own 3-pixel frame inside its window.
            InsetLeft = InsetTop = InsetRight = InsetBottom = 3;
            return;
        default:
            break;
    }
    TacEditWnd::WndProc(m);
    if (!life.Alive()) return;
    // The list closes on its own (a click elsewhere): the button follows.
    if (m.Msg == WM_MOUSEMOVE || m.Msg == WM_LBUTTONUP || m.Msg == WM_KILLFOCUS || m.Msg == WM_SETFOCUS ||
        m.Msg == WM_LBUTTONDOWN || m.Msg == WM_CAPTURECHANGED)
        RepaintButton();
}

std::unique_ptr<TacMainWnd> CreateComboBoxAdapter(HWND wnd, TsCommonData* data, TsSkinManager* manager,
                                                  const std::string& section) {
    return CreateAdapter<TacComboBoxWnd>(wnd, data, manager, section);
}

// ------------------------------------------------------------ other combos

TacWWComboBoxWnd::TacWWComboBoxWnd(TWinControl* control, TsCommonData* skinData, TsSkinManager* manager,
                                   const std::string& section)
    : TacComboBoxWnd(control->Handle(), skinData, manager, section) {
    if (auto* combo = dynamic_cast<TComboBox*>(control))
        HasButton = combo->Style() == csDropDown || combo->Style() == csDropDownList;
}

TacWWComboBoxWnd::~TacWWComboBoxWnd() {
    // The adapters leave their list boxes before their records go.
    for (TListBoxItem& item : ListBoxes) item.Adapter.reset();
    ListBoxes.clear();
}

void TacWWComboBoxWnd::AdaptListBoxes() {
    auto* owner = dynamic_cast<TWinControl*>(CommonData->OwnerControl);
    if (!owner) return;
    for (int i = 0; i < owner->ControlCount(); ++i) {
        auto* list = dynamic_cast<TCustomListBox*>(owner->Controls(i));
        if (!list) continue;
        TListBoxItem* item = nullptr;
        for (TListBoxItem& it : ListBoxes)
            if (it.ListBox == list) item = &it;
        if (!item) {
            TListBoxItem fresh;
            fresh.ListBox = list;
            fresh.SkinData = std::make_unique<TsCommonData>(list, true);
            fresh.SkinData->SetSkinManager(CommonData->GetSkinManager());
            fresh.SkinData->SetSkinSection("EDIT");
            ListBoxes.push_back(std::move(fresh));
            item = &ListBoxes.back();
        }
        // An adapter whose window went is made anew.
        if (item->Adapter && item->Adapter->Detached) item->Adapter.reset();
        UpdateEditAdapter(*item->SkinData, item->Adapter);
    }
}

void TacWWComboBoxWnd::WndProc(TMessage& m) {
    if (m.Msg == WM_CTLCOLORLISTBOX) {
        CallPrevWndProc(m);
        return;
    }
    const UINT msg = m.Msg;
    const WPARAM w = m.WParam;
    const TLife life = Life();
    TacComboBoxWnd::WndProc(m);
    if (!life.Alive() || Detached) return;
    if (msg == WM_PARENTNOTIFY && LOWORD(w) == WM_CREATE && CommonData->OwnerControl && ActiveManager())
        AdaptListBoxes();
}

std::unique_ptr<TacMainWnd> CreateWWComboBoxAdapter(TWinControl* control, TsCommonData* data, TsSkinManager* manager,
                                                    const std::string& section) {
    auto a = std::make_unique<TacWWComboBoxWnd>(control, data, manager, section);
    a->Start(true);
    return a;
}

// ------------------------------------------------------------ grids with OptionsEh

namespace {
constexpr const char* kOptionsEh = "OptionsEh";
constexpr const char* kFixed3D = "dghFixed3D";

// The set's elements, without brackets.
std::vector<std::string> SetElements(TObject* obj) {
    std::vector<std::string> out;
    const std::string text = GetSetProp(obj, kOptionsEh, false);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t comma = text.find(',', start);
        out.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return out;
}

void SetFixed3D(TObject* obj, bool on) {
    std::vector<std::string> e = SetElements(obj);
    std::erase(e, std::string(kFixed3D));
    if (on) e.emplace_back(kFixed3D);
    std::string text;
    for (const std::string& s : e) text += (text.empty() ? "" : ",") + s;
    SetSetProp(obj, kOptionsEh, text);
}
}  // namespace

std::function<bool()>& GridEhOldThemedSystem() {
    static std::function<bool()> test = [] {
        if (LOBYTE(LOWORD(GetVersion())) >= 6) return false;
        const IsAppThemedFn themed = SystemEntries().IsAppThemed;
        return themed && themed() != FALSE;
    };
    return test;
}

TacGridEhWnd::~TacGridEhWnd() {
    if (!Detached) Detach(false);
}

std::unique_ptr<TacMainWnd> CreateGridEhAdapter(HWND wnd, TsCommonData* data, TsSkinManager* manager,
                                                const std::string& section) {
    auto a = CreateAdapter<TacGridEhWnd>(wnd, data, manager, section.empty() ? "EDIT" : section);
    if (!a->Detached) {
        a->SetSkinParams();
        InvalidateRect(wnd, nullptr, TRUE);
    }
    return a;
}

bool TacGridEhWnd::RulesApply() const {
    TControl* c = CommonData ? CommonData->OwnerControl : nullptr;
    // A published set has its brackets even when empty.
    return c && !GetSetProp(c, kOptionsEh, true).empty() && GridEhOldThemedSystem() && GridEhOldThemedSystem()();
}

void TacGridEhWnd::SaveStdParams() {
    TacGridWnd::SaveStdParams();
    if (!RulesApply()) return;
    const std::vector<std::string> e = SetElements(CommonData->OwnerControl);
    SavedFixed3D = std::find(e.begin(), e.end(), kFixed3D) != e.end();
}

void TacGridEhWnd::SetSkinParams() {
    TacGridWnd::SetSkinParams();
    if (RulesApply()) SetFixed3D(CommonData->OwnerControl, false);
}

void TacGridEhWnd::RestoreStdParams() {
    TacGridWnd::RestoreStdParams();
    if (RulesApply() && !CommonData->OwnerControl->IsDestroying()) SetFixed3D(CommonData->OwnerControl, SavedFixed3D);
}

}  // namespace kova::skin
