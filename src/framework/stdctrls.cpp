#include "framework/stdctrls.h"

#include "framework/forms.h"
#include "framework/handles.h"
#include "framework/windowtext.h"
#include "framework/portable/streams.h"

#include <windowsx.h>

#include <algorithm>

namespace kova {

// --- edits ----------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    clickOnMouseUp_ = true;
    StoreBounds(0, 0, 121, 21);
    color_ = clWindow;
    tabStop_ = true;
}

void TCustomEdit::DefineProps(TPropList& L) {
    L.For<TCustomEdit>()
        .Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly)
        .Int("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength)
        .Event("OnChange", &TCustomEdit::OnChange);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "EDIT");
    p.Style |= ES_AUTOHSCROLL | ES_LEFT;
    if (readOnly_) p.Style |= ES_READONLY;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    if (maxLength_) SendMessageA(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetReadOnly(bool v) {
    readOnly_ = v;
    if (handle_) SendMessageA(handle_, EM_SETREADONLY, v, 0);
}
void TCustomEdit::SetMaxLength(int v) {
    maxLength_ = std::max(0, v);
    if (handle_) SendMessageA(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}
void TCustomEdit::SelectAll() {
    if (handle_) SendMessageA(handle_, EM_SETSEL, 0, -1);
}
void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::HandleMessage(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == EN_CHANGE) Change();
        m.Result = 0;
        return;
    }
    if (m.Msg == CM_TEXTCHANGED && !handle_) {
        Change();  // text set before the window exists
        return;
    }
    if (m.Msg == CM_TEXTCHANGED && handle_) {
        if (WindowText(handle_) != text_) SetWindowTextA(handle_, text_.c_str());  // EN_CHANGE follows
        return;
    }
    TWinControl::HandleMessage(m);
}

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TEdit::DefineProps(TPropList& L) {
    L.For<TEdit>().Int("PasswordChar", &TEdit::PasswordChar, &TEdit::SetPasswordChar);
}

void TEdit::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    if (passwordChar_) p.Style |= ES_PASSWORD;
}

void TEdit::SetPasswordChar(char c) {
    passwordChar_ = c;
    if (handle_) {
        SendMessageA(handle_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(c), 0);
        Invalidate();
    }
}

// --- memo -----------------------------------------------------------------

TMemo::TMemo(TComponent* AOwner) : TCustomEdit(AOwner) {
    StoreBounds(0, 0, 185, 89);
    lines_.SetSink(this);
}
TMemo::~TMemo() { lines_.SetSink(nullptr); }

void TMemo::DefineProps(TPropList& L) {
    L.For<TMemo>()
        .Strings("Lines", [](TMemo* m) { return m->Lines()->ToVector(); },
                 [](TMemo* m, const std::vector<std::string>& v) { m->Lines()->Assign(v); })
        .Enum("ScrollBars", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}, &TMemo::ScrollBars,
              &TMemo::SetScrollBars)
        .Bool("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap);
}

void TMemo::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (!wordWrap_) p.Style |= ES_AUTOHSCROLL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) p.Style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= WS_HSCROLL;
    p.Caption.clear();
}

void TMemo::CreateHandleDone() {
    TCustomEdit::CreateHandleDone();
    SendMessageA(handle_, EM_LIMITTEXT, 0, 0);  // no 32K cap
    PushText();
}

TItemList* TMemo::Lines() {
    if (handle_ && userEdited_) {
        lines_.LoadWithoutSink(SplitTextLines(WindowText(handle_)));
        userEdited_ = false;
    }
    return &lines_;
}

void TMemo::PushText() {
    if (!handle_) return;
    pushing_ = true;
    std::string t = lines_.Text();
    if (t.size() >= 2) t.resize(t.size() - 2);  // no empty line after the last
    SetWindowTextA(handle_, t.c_str());
    pushing_ = false;
    userEdited_ = false;
}

void TMemo::Change() {
    if (!pushing_) userEdited_ = true;
    TCustomEdit::Change();
}

void TMemo::ItemsInserted(int index, const std::string&) {
    if (index == lines_.Count() - 1 && handle_ && !userEdited_) {
        // Appending: add at the end without rewriting the whole text.
        pushing_ = true;
        std::string add = (lines_.Count() > 1 ? "\r\n" : "") + lines_[index];
        int len = GetWindowTextLengthA(handle_);
        SendMessageA(handle_, EM_SETSEL, static_cast<WPARAM>(len), len);
        SendMessageA(handle_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(add.c_str()));
        pushing_ = false;
        EnforceCap();
        return;
    }
    EnforceCap();
    PushText();
}
void TMemo::ItemsDeleted(int) { PushText(); }
void TMemo::ItemsCleared() { PushText(); }
void TMemo::ItemsReset() {
    EnforceCap();
    PushText();
}

void TMemo::EnforceCap() {
    if (maxLines_ <= 0 || lines_.Count() <= maxLines_) return;
    auto v = lines_.ToVector();
    v.erase(v.begin(), v.begin() + (static_cast<long>(v.size()) - maxLines_));
    lines_.SetSink(nullptr);
    lines_.Assign(v);
    lines_.SetSink(this);
    PushText();
}

void TMemo::SetMaxLines(int n) {
    maxLines_ = std::max(0, n);
    EnforceCap();
}

void TMemo::AppendLine(const std::string& line) {
    Lines()->Add(line);
    if (handle_) SendMessageA(handle_, EM_SCROLLCARET, 0, 0);
}

void TMemo::SetScrollBars(TScrollStyle s) {
    if (s == scrollBars_) return;
    scrollBars_ = s;
    if (handle_) {
        Lines();
        RecreateWnd();
    }
}
void TMemo::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    if (handle_) {
        Lines();
        RecreateWnd();
    }
}

// --- list boxes -----------------------------------------------------------

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner) {
    StoreBounds(0, 0, 121, 97);
    color_ = clWindow;
    tabStop_ = true;
    items_.SetSink(this);
}
TCustomListBox::~TCustomListBox() { items_.SetSink(nullptr); }

void TCustomListBox::DefineProps(TPropList& L) {
    L.For<TCustomListBox>()
        .Strings("Items", [](TCustomListBox* l) { return l->Items()->ToVector(); },
                 [](TCustomListBox* l, const std::vector<std::string>& v) { l->Items()->Assign(v); })
        .Int("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex)
        .Bool("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted)
        .Int("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight);
}

void TCustomListBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "LISTBOX");
    p.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    // Only the window is filled: per-item state (check marks) stays.
    TCustomListBox::ItemsReset();
}

int TCustomListBox::ItemIndex() const {
    if (handle_) return static_cast<int>(SendMessageA(handle_, LB_GETCURSEL, 0, 0));
    return itemIndex_;
}
void TCustomListBox::SetItemIndex(int i) {
    itemIndex_ = (i >= 0 && i < items_.Count()) ? i : -1;
    if (handle_) SendMessageA(handle_, LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}
void TCustomListBox::ItemsInserted(int index, const std::string& s) {
    if (handle_) SendMessageA(handle_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
}
void TCustomListBox::ItemsDeleted(int index) {
    if (handle_) SendMessageA(handle_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}
void TCustomListBox::ItemsCleared() {
    itemIndex_ = -1;
    if (handle_) SendMessageA(handle_, LB_RESETCONTENT, 0, 0);
}
void TCustomListBox::ItemsReset() {
    if (!handle_) return;
    int sel = itemIndex_;
    SendMessageA(handle_, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < items_.Count(); ++i)
        SendMessageA(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_[i].c_str()));
    if (sel >= 0 && sel < items_.Count()) SendMessageA(handle_, LB_SETCURSEL, static_cast<WPARAM>(sel), 0);
}

void TCustomListBox::HandleMessage(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == LBN_SELCHANGE) {
            itemIndex_ = ItemIndex();
            Click();
        } else if (HIWORD(m.WParam) == LBN_DBLCLK) {
            DblClick();
        }
        m.Result = 0;
        return;
    }
    if (m.Msg == WM_DESTROY) itemIndex_ = ItemIndex();
    if (m.Msg == WM_LBUTTONDBLCLK) {
        // Double clicks arrive through LBN_DBLCLK.
        DefaultHandler(m);
        return;
    }
    TWinControl::HandleMessage(m);
}

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

void TCheckListBox::DefineProps(TPropList& L) { L.For<TCheckListBox>().Event("OnClickCheck", &TCheckListBox::OnClickCheck); }

void TCheckListBox::CreateParams(TCreateParams& p) {
    TCustomListBox::CreateParams(p);
    p.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
}

bool TCheckListBox::Checked(int i) const { return i >= 0 && i < static_cast<int>(checked_.size()) && checked_[static_cast<size_t>(i)]; }

void TCheckListBox::SetChecked(int i, bool v) {
    if (i < 0 || i >= static_cast<int>(checked_.size())) return;
    checked_[static_cast<size_t>(i)] = v;
    if (handle_) {
        RECT r;
        if (SendMessageA(handle_, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)) != LB_ERR)
            InvalidateRect(handle_, &r, TRUE);
    }
}

void TCheckListBox::ItemsInserted(int index, const std::string& s) {
    checked_.insert(checked_.begin() + std::clamp(index, 0, static_cast<int>(checked_.size())), false);
    TCustomListBox::ItemsInserted(index, s);
}
void TCheckListBox::ItemsDeleted(int index) {
    if (index >= 0 && index < static_cast<int>(checked_.size())) checked_.erase(checked_.begin() + index);
    TCustomListBox::ItemsDeleted(index);
}
void TCheckListBox::ItemsCleared() {
    checked_.clear();
    TCustomListBox::ItemsCleared();
}
void TCheckListBox::ItemsReset() {
    checked_.assign(static_cast<size_t>(items_.Count()), false);
    TCustomListBox::ItemsReset();
}

void TCheckListBox::ToggleAt(int index) {
    if (index < 0 || index >= items_.Count() || !EffectiveEnabled()) return;
    SetChecked(index, !Checked(index));
    if (OnClickCheck) OnClickCheck(this);
}

void TCheckListBox::HandleMessage(TMessage& m) {
    switch (m.Msg) {
        case CN_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->itemHeight = static_cast<UINT>(itemHeight_);
            m.Result = TRUE;
            return;
        case CN_DRAWITEM: {
            auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
            if (d->itemID == static_cast<UINT>(-1)) return;
            bool sel = d->itemState & ODS_SELECTED;
            {
                TGdiObject<HBRUSH> bg(CreateSolidBrush(ColorToRGB(sel ? clHighlight : color_)));
                FillRect(d->hDC, &d->rcItem, bg.Get());
            }
            int h = d->rcItem.bottom - d->rcItem.top;
            int box = std::min(13, h - 2);
            RECT cb{d->rcItem.left + 2, d->rcItem.top + (h - box) / 2, d->rcItem.left + 2 + box,
                    d->rcItem.top + (h - box) / 2 + box};
            DrawFrameControl(d->hDC, &cb, DFC_BUTTON,
                             DFCS_BUTTONCHECK | (Checked(static_cast<int>(d->itemID)) ? DFCS_CHECKED : 0) |
                                 (EffectiveEnabled() ? 0 : DFCS_INACTIVE));
            SetBkMode(d->hDC, TRANSPARENT);
            SetTextColor(d->hDC, ColorToRGB(!EffectiveEnabled() ? clGrayText : sel ? clHighlightText : font_.Color()));
            {
                TSelection fontSel(d->hDC, font_.Handle());
                RECT tr = d->rcItem;
                tr.left = cb.right + 4;
                if (static_cast<int>(d->itemID) < items_.Count())
                    DrawTextA(d->hDC, items_[static_cast<int>(d->itemID)].c_str(), -1, &tr,
                              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            }
            if (d->itemState & ODS_FOCUS) DrawFocusRect(d->hDC, &d->rcItem);
            m.Result = TRUE;
            return;
        }
        case WM_LBUTTONDOWN: {
            int x = GET_X_LPARAM(m.LParam);
            LRESULT hit = SendMessageA(handle_, LB_ITEMFROMPOINT, 0, m.LParam);
            TCustomListBox::HandleMessage(m);
            if (!HIWORD(hit) && x < itemHeight_ + 2) ToggleAt(LOWORD(hit));
            return;
        }
        case WM_CHAR:
            if (m.WParam == ' ') {
                ToggleAt(ItemIndex());
                m.Result = 0;
                return;
            }
            break;
        default:
            break;
    }
    TCustomListBox::HandleMessage(m);
}

// --- combo box ------------------------------------------------------------

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner) {
    StoreBounds(0, 0, 145, 21);
    color_ = clWindow;
    tabStop_ = true;
    items_.SetSink(this);
}
TComboBox::~TComboBox() { items_.SetSink(nullptr); }

void TComboBox::DefineProps(TPropList& L) {
    L.For<TComboBox>()
        .Strings("Items", [](TComboBox* c) { return c->Items()->ToVector(); },
                 [](TComboBox* c, const std::vector<std::string>& v) { c->Items()->Assign(v); })
        .Int("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex)
        .Enum("Style", {"csDropDown", "csSimple", "csDropDownList"}, &TComboBox::Style, &TComboBox::SetStyle)
        .Int("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount)
        .Event("OnChange", &TComboBox::OnChange)
        .Event("OnSelect", &TComboBox::OnSelect);
}

void TComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "COMBOBOX");
    p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
    p.Style |= style_ == csDropDownList ? CBS_DROPDOWNLIST : style_ == csSimple ? CBS_SIMPLE : CBS_DROPDOWN;
    // The window's height includes the drop-down list.
    p.Height = height_ + 20 * std::max(1, dropDownCount_);
    p.Caption.clear();
}

void TComboBox::CreateHandleDone() {
    std::string text = text_;
    int keepHeight = height_;
    TWinControl::CreateHandleDone();
    ItemsReset();
    if (itemIndex_ < 0 && style_ != csDropDownList) SetWindowTextA(handle_, text.c_str());
    (void)keepHeight;
}

void TComboBox::SetStyle(TComboBoxStyle s) {
    if (s == style_) return;
    style_ = s;
    RecreateWnd();
}

int TComboBox::ItemIndex() const {
    if (handle_) return static_cast<int>(SendMessageA(handle_, CB_GETCURSEL, 0, 0));
    return itemIndex_;
}
void TComboBox::SetItemIndex(int i) {
    itemIndex_ = (i >= 0 && i < items_.Count()) ? i : -1;
    if (itemIndex_ >= 0) text_ = items_[itemIndex_];
    if (handle_) SendMessageA(handle_, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}
std::string TComboBox::Caption() const {
    if (handle_) return WindowText(handle_);
    return itemIndex_ >= 0 && itemIndex_ < items_.Count() ? items_[itemIndex_] : text_;
}
void TComboBox::SetCaption(const std::string& v) {
    int i = items_.IndexOf(v);
    if (style_ == csDropDownList) {
        SetItemIndex(i);
        return;
    }
    text_ = v;
    itemIndex_ = i;
    if (handle_) {
        if (i >= 0)
            SendMessageA(handle_, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        else
            SetWindowTextA(handle_, v.c_str());
    }
    Perform(CM_TEXTCHANGED);
}
void TComboBox::ItemsInserted(int index, const std::string& s) {
    if (handle_) SendMessageA(handle_, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
}
void TComboBox::ItemsDeleted(int index) {
    if (handle_) SendMessageA(handle_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}
void TComboBox::ItemsCleared() {
    itemIndex_ = -1;
    if (handle_) SendMessageA(handle_, CB_RESETCONTENT, 0, 0);
}
void TComboBox::ItemsReset() {
    if (!handle_) return;
    SendMessageA(handle_, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < items_.Count(); ++i)
        SendMessageA(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_[i].c_str()));
    if (itemIndex_ >= 0 && itemIndex_ < items_.Count())
        SendMessageA(handle_, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TComboBox::HandleMessage(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        switch (HIWORD(m.WParam)) {
            case CBN_SELCHANGE:
                itemIndex_ = ItemIndex();
                if (itemIndex_ >= 0) text_ = items_[itemIndex_];
                if (OnSelect) OnSelect(this);
                if (OnChange) OnChange(this);
                break;
            case CBN_EDITCHANGE:
                text_ = WindowText(handle_);
                itemIndex_ = -1;
                if (OnChange) OnChange(this);
                break;
            default: break;
        }
        m.Result = 0;
        return;
    }
    if (m.Msg == WM_DESTROY) {
        itemIndex_ = ItemIndex();
        text_ = WindowText(handle_);
    }
    if (m.Msg == WM_SIZE) {
        DefaultHandler(m);
        // The stored height is the edit part's, not the list's.
        RECT r;
        GetWindowRect(handle_, &r);
        MapWindowPoints(HWND_DESKTOP, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
        StoreBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        return;
    }
    TWinControl::HandleMessage(m);
}

// --- buttons --------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) { tabStop_ = true; }

void TButtonControl::HandleMessage(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == BN_CLICKED) Click();
        m.Result = 0;
        return;
    }
    if (m.Msg == CN_CTLCOLORBTN || m.Msg == CN_CTLCOLORSTATIC) {
        TWinControl::HandleMessage(m);
        return;
    }
    TWinControl::HandleMessage(m);
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) { StoreBounds(0, 0, 75, 25); }

void TButton::DefineProps(TPropList& L) {
    L.For<TButton>()
        .Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
        .Bool("Default", &TButton::Default, &TButton::SetDefault)
        .Bool("Cancel", &TButton::Cancel, &TButton::SetCancel);
}

void TButton::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click() {
    if (modalResult_ != mrNone)
        if (TCustomForm* f = ParentForm()) f->SetModalResult(modalResult_);
    TButtonControl::Click();
}

void TButtonGlyph::SetGlyph(const TBitmap* value) {
    if (value)
        glyph_.Assign(value);
    else
        glyph_.SetSize(0, 0);
    button_->Invalidate();
}

void TButtonGlyph::LoadGlyph(const std::vector<std::uint8_t>& data) {
    TMemoryStream m(data);
    glyph_.LoadFromStream(m);
    button_->Invalidate();
}

void TButtonGlyph::SetNumGlyphs(int value) {
    value = std::clamp(value, 1, 4);
    if (value == numGlyphs_) return;
    numGlyphs_ = value;
    button_->Invalidate();
}

void TButtonGlyph::SetLayout(TButtonLayout value) {
    if (value == layout_) return;
    layout_ = value;
    button_->Invalidate();
}

void TButtonGlyph::SetMargin(int value) {
    value = std::max(value, -1);
    if (value == margin_) return;
    margin_ = value;
    button_->Invalidate();
}

void TButtonGlyph::SetSpacing(int value) {
    if (value == spacing_) return;
    spacing_ = value;
    button_->Invalidate();
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), TButtonGlyph(this) {}

void TBitBtn::DefineProps(TPropList& L) { DefineGlyphProps(L.For<TBitBtn>()); }

void TBitBtn::CreateParams(TCreateParams& p) {
    TButton::CreateParams(p);
    p.Style = (p.Style & ~0xFu) | BS_OWNERDRAW;
}

void TBitBtn::HandleMessage(TMessage& m) {
    if (m.Msg == CN_DRAWITEM) {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
        m.Result = TRUE;
        return;
    }
    TButton::HandleMessage(m);
}

void TBitBtn::Draw(const DRAWITEMSTRUCT& d) {
    HDC dc = d.hDC;
    RECT r = d.rcItem;
    const bool pushed = (d.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int gw = glyph_.Width() / numGlyphs_, gh = glyph_.Height();
    TSelection font(dc, font_.Handle());
    const std::string text = Caption();
    RECT measured{0, 0, 0, 0};
    if (!text.empty()) DrawTextA(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);
    const int tw = measured.right, th = measured.bottom;
    const int space = gw > 0 && tw > 0 ? spacing_ : 0;
    const bool across = layout_ == blGlyphLeft || layout_ == blGlyphRight;
    // The glyph and the caption as one block, centred (or Margin from the
    // glyph's edge).
    const int block = across ? gw + space + tw : gh + space + th;
    const int room = across ? w : h;
    const int start = margin_ < 0 ? (room - block) / 2 : margin_;
    POINT g{}, t{};
    switch (layout_) {
        case blGlyphLeft: g = {start, (h - gh) / 2}, t = {start + gw + space, (h - th) / 2}; break;
        case blGlyphRight: g = {room - start - gw, (h - gh) / 2}, t = {room - start - gw - space - tw, (h - th) / 2}; break;
        case blGlyphTop: g = {(w - gw) / 2, start}, t = {(w - tw) / 2, start + gh + space}; break;
        case blGlyphBottom: g = {(w - gw) / 2, room - start - gh}, t = {(w - tw) / 2, room - start - gh - space - th}; break;
    }
    if (pushed) {
        ++g.x, ++g.y, ++t.x, ++t.y;
    }
    if (gw > 0 && gh > 0) {
        const int image = !EffectiveEnabled() && numGlyphs_ > 1 ? 1 : pushed && numGlyphs_ > 2 ? 2 : 0;
        // The bottom-left pixel's colour is the glyph's transparent colour.
        const PixelBuffer32& px = glyph_.Pixels();
        const std::uint32_t key = px.At(0, gh - 1) & 0xFFFFFF;
        for (int y = 0; y < gh; ++y)
            for (int x = 0; x < gw; ++x) {
                const std::uint32_t c = px.At(image * gw + x, y) & 0xFFFFFF;
                if (c != key) SetPixelV(dc, r.left + g.x + x, r.top + g.y + y, RGB(c >> 16, (c >> 8) & 0xFF, c & 0xFF));
            }
    }
    if (!text.empty()) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(EffectiveEnabled() ? font_.Color() : clGrayText));
        RECT tr{r.left + t.x, r.top + t.y, r.left + t.x + tw, r.top + t.y + th};
        DrawTextA(dc, text.c_str(), -1, &tr, DT_SINGLELINE);
    }
    if (d.itemState & ODS_FOCUS) {
        RECT f = r;
        InflateRect(&f, -4, -4);
        DrawFocusRect(dc, &f);
    }
}

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner) { StoreBounds(0, 0, 97, 17); }

void TCheckBox::DefineProps(TPropList& L) { L.For<TCheckBox>().Bool("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked); }

void TCheckBox::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= BS_CHECKBOX;
}
void TCheckBox::CreateHandleDone() {
    TButtonControl::CreateHandleDone();
    SendMessageA(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}
bool TCheckBox::Checked() const { return checked_; }
void TCheckBox::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    if (handle_) SendMessageA(handle_, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!IsLoading()) TButtonControl::Click();
}
void TCheckBox::Click() {
    // A click on the box toggles it (the box is not an auto check box, so
    // the state stays ours).
    SetChecked(!checked_);
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) { StoreBounds(0, 0, 113, 17); }

void TRadioButton::DefineProps(TPropList& L) {
    L.For<TRadioButton>().Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked);
}
void TRadioButton::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= BS_RADIOBUTTON;
}
void TRadioButton::CreateHandleDone() {
    TButtonControl::CreateHandleDone();
    SendMessageA(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}
bool TRadioButton::Checked() const { return checked_; }
void TRadioButton::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    if (handle_) SendMessageA(handle_, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
    if (v && parent_) {
        for (int i = 0; i < parent_->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TRadioButton*>(parent_->Controls(i)); r && r != this) r->SetChecked(false);
    }
    if (v && !IsLoading()) TButtonControl::Click();
}
void TRadioButton::Click() { SetChecked(true); }

// --- group box, labels ----------------------------------------------------

TGroupBox::TGroupBox(TComponent* AOwner) : TWinControl(AOwner) {
    controlStyle_ |= csAcceptsControls;
    StoreBounds(0, 0, 185, 105);
}

void TGroupBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= BS_GROUPBOX;
}

RECT TGroupBox::ClientRect() const {
    RECT r = TWinControl::ClientRect();
    r.top += 16;
    r.left += 2;
    r.right -= 2;
    r.bottom -= 2;
    return r;
}

void TGroupBox::HandleMessage(TMessage& m) {
    if (m.Msg == WM_NCHITTEST) {
        // The native group box is transparent to the mouse; ours takes it so
        // that graphic children get their clicks.
        DefaultHandler(m);
        if (m.Result == HTTRANSPARENT) m.Result = HTCLIENT;
        return;
    }
    if (m.Msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, ColorBrush());
        m.Result = 1;
        return;
    }
    TWinControl::HandleMessage(m);
}

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    StoreBounds(0, 0, 65, 17);
    parentColor_ = true;
}

void TLabel::DefineProps(TPropList& L) {
    L.For<TLabel>()
        .Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize)
        .Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent)
        .Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TLabel::Alignment, &TLabel::SetAlignment)
        .Enum("Layout", {"tlTop", "tlCenter", "tlBottom"}, &TLabel::Layout, &TLabel::SetLayout)
        .Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap);
}

void TLabel::SetAutoSize(bool v) {
    autoSize_ = v;
    AdjustBounds();
}
void TLabel::SetTransparent(bool v) {
    transparent_ = v;
    Invalidate();
}
void TLabel::SetAlignment(TAlignment a) {
    alignment_ = a;
    Invalidate();
}
void TLabel::SetLayout(TTextLayout l) {
    layout_ = l;
    Invalidate();
}
void TLabel::SetWordWrap(bool v) {
    wordWrap_ = v;
    AdjustBounds();
    Invalidate();
}
void TLabel::SetCaption(const std::string& v) {
    TGraphicControl::SetCaption(v);
    AdjustBounds();
}
void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::AdjustBounds() {
    if (!autoSize_ || IsLoading()) return;
    RECT r{0, 0, wordWrap_ ? width_ : 0, 0};
    {
        TWindowDC screen(nullptr);
        TSelection fontSel(screen.Get(), font_.Handle());
        std::string t = text_.empty() ? std::string(" ") : text_;
        DrawTextA(screen.Get(), t.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | (wordWrap_ ? DT_WORDBREAK : 0));
    }
    int w = wordWrap_ ? width_ : r.right;
    int l = left_;
    if (alignment_ == taRightJustify) l = left_ + width_ - w;
    SetBounds(l, top_, w, r.bottom);
}

void TLabel::Paint() {
    RECT r = ClientRect();
    HDC dc = canvas_.Handle();
    if (!transparent_) {
        TGdiObject<HBRUSH> b(CreateSolidBrush(ColorToRGB(color_)));
        FillRect(dc, &r, b.Get());
    }
    DrawLabelText(r, TextFlags());
}

UINT TLabel::TextFlags() const {
    UINT flags = DT_NOPREFIX | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE) |
                 (alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT);
    if (!wordWrap_) flags |= layout_ == tlCenter ? DT_VCENTER : layout_ == tlBottom ? DT_BOTTOM : DT_TOP;
    return flags;
}

void TLabel::DrawLabelText(RECT& r, UINT flags) {
    HDC dc = canvas_.Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(EffectiveEnabled() ? font_.Color() : clGrayText));
    DrawTextA(dc, text_.c_str(), -1, &r, flags);
}

void TLabel::HandleMessage(TMessage& m) {
    if (m.Msg == CM_FONTCHANGED) {
        AdjustBounds();
        Invalidate();
        return;
    }
    TGraphicControl::HandleMessage(m);
}

TStaticText::TStaticText(TComponent* AOwner) : TWinControl(AOwner) { StoreBounds(0, 0, 65, 17); }

void TStaticText::DefineProps(TPropList& L) {
    L.For<TStaticText>().Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TStaticText::Alignment,
                              &TStaticText::SetAlignment);
}
void TStaticText::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "STATIC");
    p.Style |= SS_NOTIFY | (alignment_ == taCenter ? SS_CENTER : alignment_ == taRightJustify ? SS_RIGHT : SS_LEFT);
}
void TStaticText::SetAlignment(TAlignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    RecreateWnd();
}
void TStaticText::HandleMessage(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == STN_CLICKED) Click();
        m.Result = 0;
        return;
    }
    if (m.Msg == CM_TEXTCHANGED && handle_) {
        SetWindowTextA(handle_, text_.c_str());
        return;
    }
    TWinControl::HandleMessage(m);
}

}  // namespace kova
