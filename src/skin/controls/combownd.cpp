#include "skin/controls/combownd.h"

#include <algorithm>
#include <vector>

#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/skinmessage.h"

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
    ListAdapter = CreateAdapter<TacEditWnd>(list, nullptr, Manager, "EDIT",
                                            SendMessageA(WindowHandle, CB_GETCOUNT, 0, 0) > 0);
    InheritedInDialog = 0;
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
    const LONG style = GetWindowLongA(WindowHandle, GWL_STYLE);
    const int bw = (style & 2) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
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

void TacComboBoxWnd::RepaintButton() {
    if (!IsWindowVisible(WindowHandle)) return;
    HDC dc = GetWindowDC(WindowHandle);
    PaintButton(dc);
    ReleaseDC(WindowHandle, dc);
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
            TacEditWnd::WndProc(m);
            if (!life.Alive()) return;
            HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : nullptr;
            if (dc)
                PaintButton(dc);
            else
                RepaintButton();
            return;
        }
        case WM_PRINT: {
            TacEditWnd::WndProc(m);
            if (!life.Alive()) return;
            PaintButton(reinterpret_cast<HDC>(m.WParam));
            return;
        }
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

}  // namespace kova::skin
