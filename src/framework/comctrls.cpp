#include "framework/comctrls.h"

#include <commctrl.h>

#include <algorithm>

namespace kova {

namespace {

// A window's non-client area grown by `by` inside what the system left
// (WM_NCCALCSIZE after the system's own answer).
void InsetClientArea(TMessage& m, const RECT& by) {
    // The proposed rectangle comes first in either form of the message.
    RECT& r = *reinterpret_cast<RECT*>(m.LParam);
    r.left += by.left, r.top += by.top, r.right -= by.right, r.bottom -= by.bottom;
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
}

void FrameChanged(HWND wnd) {
    if (wnd)
        SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool AnyInset(const RECT& r) { return r.left > 0 || r.top > 0 || r.right > 0 || r.bottom > 0; }

// The band around the client area in the face colour, then the edges.
void PaintFrameBand(HWND wnd, UINT edge, UINT sides) {
    HDC dc = GetWindowDC(wnd);
    if (!dc) return;
    RECT wr{}, cr{};
    GetWindowRect(wnd, &wr);
    GetClientRect(wnd, &cr);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&cr), 2);
    OffsetRect(&cr, -wr.left, -wr.top);
    OffsetRect(&wr, -wr.left, -wr.top);
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, cr.left, cr.top, cr.right, cr.bottom);
    FillRect(dc, &wr, GetSysColorBrush(COLOR_BTNFACE));
    if (edge && sides) DrawEdge(dc, &wr, edge, sides);
    RestoreDC(dc, saved);
    ReleaseDC(wnd, dc);
}

}  // namespace


// --- tab sheet ------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
    controlStyle_ |= csAcceptsControls;
    visible_ = false;  // the page control shows the active one
    StoreBounds(0, 0, 100, 100);
}

TTabSheet::~TTabSheet() = default;

void TTabSheet::DefineProps(TPropList& L) {
    L.For<TTabSheet>()
        .Bool("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
        .Int("PageIndex", &TTabSheet::PageIndex, [](TTabSheet*, int) {})
        .Object("PageControl", [](TTabSheet* t) -> TObject* { return t->PageControl(); },
                [](TTabSheet* t, TObject* o) {
                    if (auto* p = dynamic_cast<TPageControl*>(o)) t->SetParent(p);
                });
}

void TTabSheet::SetPageControl(TPageControl* p) { SetParent(p); }

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(parent_); }

int TTabSheet::PageIndex() const {
    TPageControl* p = PageControl();
    if (!p) return -1;
    auto it = std::find(p->pages_.begin(), p->pages_.end(), this);
    return it == p->pages_.end() ? -1 : static_cast<int>(it - p->pages_.begin());
}

int TTabSheet::TabIndex() const {
    TPageControl* p = PageControl();
    if (!p || !tabVisible_) return -1;
    int i = 0;
    for (TTabSheet* s : p->pages_) {
        if (s == this) return i;
        if (s->tabVisible_) ++i;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool v) {
    if (v == tabVisible_) return;
    tabVisible_ = v;
    if (TPageControl* p = PageControl()) {
        if (!v && p->active_ == this) {
            // Another visible page takes over.
            TTabSheet* next = nullptr;
            for (TTabSheet* s : p->pages_)
                if (s != this && s->tabVisible_) {
                    next = s;
                    break;
                }
            p->active_ = next;
        }
        p->UpdateTabs();
        p->ShowActive();
    }
}

void TTabSheet::HandleMessage(TMessage& m) {
    if (m.Msg == CM_TEXTCHANGED) {
        if (TPageControl* p = PageControl()) p->UpdateTabs();
        return;
    }
    TWinControl::HandleMessage(m);
}

// --- page control ---------------------------------------------------------

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner) {
    StoreBounds(0, 0, 289, 193);
    tabStop_ = true;
}

void TPageControl::DefineProps(TPropList& L) {
    L.For<TPageControl>()
        .Object("ActivePage", [](TPageControl* p) -> TObject* { return p->ActivePage(); },
                [](TPageControl* p, TObject* o) { p->SetActivePage(dynamic_cast<TTabSheet*>(o)); })
        .Int("ActivePageIndex", &TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex)
        .Bool("OwnerDraw", &TPageControl::OwnerDraw, &TPageControl::SetOwnerDraw)
        .Event("OnChange", &TPageControl::OnChange)
        .Event("OnChanging", &TPageControl::OnChanging);
}

void TPageControl::SetOwnerDraw(bool v) {
    ownerDraw_ = v;
    if (!handle_) return;
    // The tab control reads its style again on the change.
    const LONG style = GetWindowLongA(handle_, GWL_STYLE);
    SetWindowLongA(handle_, GWL_STYLE, v ? (style | TCS_OWNERDRAWFIXED) : (style & ~TCS_OWNERDRAWFIXED));
    InvalidateRect(handle_, nullptr, TRUE);
}

void TPageControl::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_TABCONTROLA);
    p.Style |= WS_CLIPCHILDREN;
    if (ownerDraw_) p.Style |= TCS_OWNERDRAWFIXED;
}

void TPageControl::CreateHandleDone() {
    // Only the active page shows, and only its windows are made now.
    ShowActive();
    TWinControl::CreateHandleDone();
    UpdateTabs();
    Realign();
    ShowActive();
}

void TPageControl::Loaded() {
    TWinControl::Loaded();
    if (!active_)
        for (TTabSheet* s : pages_)
            if (s->TabVisible()) {
                active_ = s;
                break;
            }
    ShowActive();
}

RECT TPageControl::DisplayRect() const {
    RECT r = ClientRect();
    if (handle_) {
        TabCtrl_AdjustRect(handle_, FALSE, &r);
    } else {
        r.left += 4;
        r.top += 24;
        r.right -= 4;
        r.bottom -= 4;
    }
    return r;
}

void TPageControl::AlignControls(RECT& r) {
    RECT d = DisplayRect();
    for (TTabSheet* s : pages_) s->SetBounds(d.left, d.top, d.right - d.left, d.bottom - d.top);
    TWinControl::AlignControls(r);
}

void TPageControl::UpdateTabs() {
    if (!handle_) return;
    TabCtrl_DeleteAllItems(handle_);
    int i = 0;
    for (TTabSheet* s : pages_) {
        if (!s->TabVisible()) continue;
        std::string caption = s->Caption();
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageA(handle_, TCM_INSERTITEMA, static_cast<WPARAM>(i++), reinterpret_cast<LPARAM>(&item));
    }
    if (active_ && active_->TabIndex() >= 0) TabCtrl_SetCurSel(handle_, active_->TabIndex());
    Realign();
}

void TPageControl::ShowActive() {
    if (IsLoading()) return;
    for (TTabSheet* s : pages_) s->SetVisible(s == active_);
    if (handle_ && active_ && active_->TabIndex() >= 0) TabCtrl_SetCurSel(handle_, active_->TabIndex());
    if (active_ && active_->HandleAllocated())
        SetWindowPos(active_->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->PageControl() != this) return;
    if (page && !page->TabVisible()) return;
    active_ = page;
    ShowActive();
}

int TPageControl::ActivePageIndex() const { return active_ ? active_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int i) {
    SetActivePage(i >= 0 && i < PageCount() ? pages_[static_cast<size_t>(i)] : nullptr);
}

void TPageControl::HandleMessage(TMessage& m) {
    switch (m.Msg) {
        case CN_DRAWITEM: {
            auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
            if (ownerDraw_ && OnDrawTab) {
                const TCanvasLease lease(canvas_, d->hDC);
                OnDrawTab(this, static_cast<int>(d->itemID), d->rcItem, (d->itemState & ODS_SELECTED) != 0);
            }
            m.Result = TRUE;
            return;
        }
        case CM_CONTROLLISTCHANGE: {
            auto* c = reinterpret_cast<TControl*>(m.WParam);
            if (auto* s = dynamic_cast<TTabSheet*>(c)) {
                if (m.LParam) {
                    pages_.push_back(s);
                    if (!active_ && s->TabVisible() && !IsLoading()) active_ = s;
                } else {
                    pages_.erase(std::remove(pages_.begin(), pages_.end(), s), pages_.end());
                    if (active_ == s) active_ = pages_.empty() ? nullptr : pages_.front();
                }
                UpdateTabs();
                ShowActive();
            }
            return;
        }
        case CN_NOTIFY: {
            auto* n = reinterpret_cast<NMHDR*>(m.LParam);
            if (n->code == TCN_SELCHANGING) {
                bool allow = true;
                if (OnChanging) OnChanging(this, allow);
                m.Result = allow ? FALSE : TRUE;
                return;
            }
            if (n->code == TCN_SELCHANGE) {
                int tab = TabCtrl_GetCurSel(handle_);
                for (TTabSheet* s : pages_)
                    if (s->TabIndex() == tab) active_ = s;
                ShowActive();
                if (OnChange) OnChange(this);
                m.Result = 0;
                return;
            }
            break;
        }
        case WM_ERASEBKGND: {
            // Fill what the native control leaves to its parent's colour.
            DefaultHandler(m);
            return;
        }
        default:
            break;
    }
    TWinControl::HandleMessage(m);
}

// --- up-down --------------------------------------------------------------

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner) { StoreBounds(0, 0, 17, 21); }

void TUpDown::DefineProps(TPropList& L) {
    L.For<TUpDown>()
        .Int("Min", &TUpDown::Min, &TUpDown::SetMin)
        .Int("Max", &TUpDown::Max, &TUpDown::SetMax)
        .Int("Position", &TUpDown::Position, &TUpDown::SetPosition)
        .Int("Increment", &TUpDown::Increment, &TUpDown::SetIncrement)
        .Bool("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap)
        .Enum("Orientation", {"udHorizontal", "udVertical"}, &TUpDown::Orientation, &TUpDown::SetOrientation)
        .Object("Associate", [](TUpDown* u) -> TObject* { return u->Associate(); },
                [](TUpDown* u, TObject* o) { u->SetAssociate(dynamic_cast<TWinControl*>(o)); })
        .Event("OnClick", &TUpDown::OnClick)
        .Event("OnChanging", &TUpDown::OnChanging);
}

void TUpDown::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, UPDOWN_CLASSA);
    p.Style |= UDS_ARROWKEYS | UDS_SETBUDDYINT | UDS_NOTHOUSANDS;
    if (wrap_) p.Style |= UDS_WRAP;
    if (orientation_ == udHorizontal) p.Style |= UDS_HORZ;
}

void TUpDown::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    SendMessageA(handle_, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    UDACCEL acc{0, static_cast<UINT>(increment_)};
    SendMessageA(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&acc));
    SendMessageA(handle_, UDM_SETPOS32, 0, position_);
    if (associate_) SendMessageA(handle_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
}

int TUpDown::Position() const {
    if (handle_) return static_cast<int>(SendMessageA(handle_, UDM_GETPOS32, 0, 0));
    return position_;
}

void TUpDown::SetPosition(int v) {
    position_ = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
    if (handle_) SendMessageA(handle_, UDM_SETPOS32, 0, position_);
    if (associate_ && !IsLoading()) associate_->SetText(std::to_string(position_));
}
void TUpDown::SetMin(int v) {
    min_ = v;
    if (handle_) SendMessageA(handle_, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
}
void TUpDown::SetMax(int v) {
    max_ = v;
    if (handle_) SendMessageA(handle_, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
}
void TUpDown::SetIncrement(int v) {
    increment_ = std::max(1, v);
    if (handle_) {
        UDACCEL acc{0, static_cast<UINT>(increment_)};
        SendMessageA(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&acc));
    }
}
void TUpDown::SetAssociate(TWinControl* c) {
    associate_ = c;
    if (c) FreeNotification(c);
    if (handle_) SendMessageA(handle_, UDM_SETBUDDY, c ? reinterpret_cast<WPARAM>(c->Handle()) : 0, 0);
}
void TUpDown::Notification(TComponent* c, TOperation op) {
    TWinControl::Notification(c, op);
    if (op == TOperation::opRemove && c == associate_) associate_ = nullptr;
}

void TUpDown::HandleMessage(TMessage& m) {
    if (m.Msg == CN_NOTIFY) {
        auto* n = reinterpret_cast<NMUPDOWN*>(m.LParam);
        if (n->hdr.code == UDN_DELTAPOS) {
            bool allow = true;
            if (OnChanging) OnChanging(this, allow);
            m.Result = allow ? FALSE : TRUE;
            return;
        }
    }
    if (m.Msg == CN_VSCROLL || m.Msg == CN_HSCROLL) {
        if (LOWORD(m.WParam) == SB_THUMBPOSITION) {
            int before = position_;
            position_ = Position();
            if (OnClick) OnClick(this, position_ >= before ? btNext : btPrev);
        }
        m.Result = 0;
        return;
    }
    TWinControl::HandleMessage(m);
}

// --- status bar -----------------------------------------------------------

void TStatusPanel::SetText(const std::string& t) {
    text_ = t;
    bar_->UpdatePanels();
}
void TStatusPanel::SetWidth(int w) {
    width_ = std::max(0, w);
    bar_->UpdatePanels();
}
void TStatusPanel::SetAlignment(TAlignment a) {
    alignment_ = a;
    bar_->UpdatePanels();
}
void TStatusPanel::SetStyle(TStatusPanelStyle s) {
    style_ = s;
    bar_->UpdatePanels();
}
int TStatusPanel::Index() const {
    for (int i = 0; i < bar_->PanelCount(); ++i)
        if (bar_->Panels(i) == this) return i;
    return -1;
}

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner) {
    StoreBounds(0, 0, 150, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() { OnDrawPanel = nullptr; }

void TStatusBar::DefineProps(TPropList& L) {
    L.For<TStatusBar>()
        .Bool("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel)
        .String("SimpleText", [](TStatusBar* b) { return b->SimpleText(); }, &TStatusBar::SetSimpleText)
        .Int("BorderWidth", &TStatusBar::BorderWidth, &TStatusBar::SetBorderWidth);
}

TStatusPanel* TStatusBar::AddPanel() {
    panels_.push_back(std::make_unique<TStatusPanel>(this));
    UpdatePanels();
    return panels_.back().get();
}

void TStatusBar::ClearPanels() {
    panels_.clear();
    UpdatePanels();
}

void TStatusBar::SetSimplePanel(bool v) {
    simplePanel_ = v;
    UpdatePanels();
}

void TStatusBar::SetBorderWidth(int w) {
    borderWidth_ = std::max(0, w);
    FrameChanged(handle_);
}

void TStatusBar::SetSimpleText(const std::string& t) {
    simpleText_ = t;
    UpdatePanels();
}

void TStatusBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, STATUSCLASSNAMEA);
    // The framework places the bar; the system must not move or size it.
    p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
}

void TStatusBar::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    UpdatePanels();
}

void TStatusBar::UpdatePanels() {
    if (!handle_) return;
    SendMessageA(handle_, SB_SIMPLE, simplePanel_ ? TRUE : FALSE, 0);
    // The system aligns a part's text by the tabs before it.
    auto aligned = [](const TStatusPanel& p) {
        return (p.Alignment() == taCenter ? "\t" : p.Alignment() == taRightJustify ? "\t\t" : "") + p.Text();
    };
    std::vector<int> edges;
    int right = 0;
    for (const auto& p : panels_) edges.push_back(right += p->Width());
    if (!edges.empty()) edges.back() = -1;
    if (edges.empty()) edges.push_back(-1);
    SendMessageA(handle_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < panels_.size(); ++i) {
        const TStatusPanel& p = *panels_[i];
        if (p.Style() == psOwnerDraw)
            SendMessageA(handle_, SB_SETTEXTA, i | SBT_OWNERDRAW, static_cast<LPARAM>(i));
        else
            SendMessageA(handle_, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(aligned(p).c_str()));
    }
    if (panels_.empty()) SendMessageA(handle_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
    SendMessageA(handle_, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TStatusBar::HandleMessage(TMessage& m) {
    if (m.Msg == WM_NCCALCSIZE && borderWidth_ > 0) {
        TWinControl::HandleMessage(m);
        InsetClientArea(m, RECT{borderWidth_, borderWidth_, borderWidth_, borderWidth_});
        return;
    }
    if (m.Msg == WM_NCPAINT && borderWidth_ > 0) {
        TWinControl::HandleMessage(m);
        PaintFrameBand(handle_, 0, 0);
        return;
    }
    if (m.Msg == CN_DRAWITEM) {
        auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        const int i = static_cast<int>(d->itemID);
        if (OnDrawPanel && i >= 0 && i < PanelCount()) {
            TCanvasLease lease(canvas_, d->hDC);
            OnDrawPanel(this, Panels(i), d->rcItem);
        }
        m.Result = TRUE;
        return;
    }
    TWinControl::HandleMessage(m);
}

// --- tab control ----------------------------------------------------------

TTabControl::TTabControl(TComponent* AOwner) : TWinControl(AOwner) { StoreBounds(0, 0, 289, 193); }

void TTabControl::DefineProps(TPropList& L) {
    L.For<TTabControl>()
        .Strings("Tabs", [](TTabControl* t) { return t->Tabs(); },
                 [](TTabControl* t, const std::vector<std::string>& v) { t->SetTabs(v); })
        .Int("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex)
        .Event("OnChange", &TTabControl::OnChange);
}

void TTabControl::SetTabs(const std::vector<std::string>& tabs) {
    tabs_ = tabs;
    if (tabIndex_ >= static_cast<int>(tabs_.size())) tabIndex_ = tabs_.empty() ? -1 : 0;
    if (tabIndex_ < 0 && !tabs_.empty()) tabIndex_ = 0;
    UpdateTabs();
}

int TTabControl::TabIndex() const {
    return handle_ ? static_cast<int>(SendMessageA(handle_, TCM_GETCURSEL, 0, 0)) : tabIndex_;
}

void TTabControl::SetTabIndex(int i) {
    tabIndex_ = i >= 0 && i < static_cast<int>(tabs_.size()) ? i : -1;
    if (handle_) SendMessageA(handle_, TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
}

void TTabControl::SetImages(TImageList* l) {
    images_ = l;
    UpdateTabs();
}

void TTabControl::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_TABCONTROLA);
    p.Style |= WS_CLIPCHILDREN;
}

void TTabControl::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    UpdateTabs();
}

void TTabControl::UpdateTabs() {
    if (!handle_) return;
    SendMessageA(handle_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_ ? images_->Handle() : nullptr));
    SendMessageA(handle_, TCM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < tabs_.size(); ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<char*>(tabs_[i].c_str());
        item.iImage = images_ && static_cast<int>(i) < images_->Count() ? static_cast<int>(i) : -1;
        SendMessageA(handle_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(handle_, TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
}

void TTabControl::HandleMessage(TMessage& m) {
    if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == TCN_SELCHANGE) {
        tabIndex_ = TabIndex();
        if (OnChange) OnChange(this);
        m.Result = 0;
        return;
    }
    TWinControl::HandleMessage(m);
}

// --- list view ------------------------------------------------------------

TListView::TListView(TComponent* AOwner) : TWinControl(AOwner) { StoreBounds(0, 0, 250, 150); }

void TListView::DefineProps(TPropList& L) {
    L.For<TListView>().Enum("ViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}, &TListView::ViewStyle,
                            &TListView::SetViewStyle);
}

void TListView::SetViewStyle(TViewStyle v) {
    viewStyle_ = v;
    if (!handle_) return;
    static const LONG kinds[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    SetWindowLongA(handle_, GWL_STYLE, (GetWindowLongA(handle_, GWL_STYLE) & ~LVS_TYPEMASK) | kinds[v]);
}

void TListView::SetSmallImages(TImageList* l) {
    smallImages_ = l;
    if (handle_) SendMessageA(handle_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(l ? l->Handle() : nullptr));
}

int TListView::AddColumn(const std::string& caption, int width, int imageIndex) {
    columns_.push_back(TColumn{caption, width, imageIndex});
    const int i = static_cast<int>(columns_.size()) - 1;
    if (handle_) InsertColumn(i);
    return i;
}

int TListView::AddItem(const std::string& caption, const std::vector<std::string>& subItems) {
    std::vector<std::string> texts{caption};
    texts.insert(texts.end(), subItems.begin(), subItems.end());
    items_.push_back(std::move(texts));
    const int i = static_cast<int>(items_.size()) - 1;
    if (handle_) InsertItem(i);
    return i;
}

void TListView::InsertColumn(int i) {
    const TColumn& c = columns_[static_cast<size_t>(i)];
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | (c.ImageIndex >= 0 ? LVCF_IMAGE : 0);
    col.pszText = const_cast<char*>(c.Caption.c_str());
    col.cx = c.Width;
    col.iImage = c.ImageIndex;
    SendMessageA(handle_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
}

void TListView::InsertItem(int i) {
    const std::vector<std::string>& texts = items_[static_cast<size_t>(i)];
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = const_cast<char*>(texts[0].c_str());
    SendMessageA(handle_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (size_t k = 1; k < texts.size(); ++k) {
        LVITEMA sub{};
        sub.iSubItem = static_cast<int>(k);
        sub.pszText = const_cast<char*>(texts[k].c_str());
        SendMessageA(handle_, LVM_SETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&sub));
    }
}

void TListView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_LISTVIEWA);
    static const DWORD kinds[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    p.Style |= kinds[viewStyle_] | LVS_SHOWSELALWAYS;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    if (smallImages_) SendMessageA(handle_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(smallImages_->Handle()));
    for (int i = 0; i < static_cast<int>(columns_.size()); ++i) InsertColumn(i);
    for (int i = 0; i < ItemCount(); ++i) InsertItem(i);
}

// --- tree view ------------------------------------------------------------

TTreeView::TTreeView(TComponent* AOwner) : TWinControl(AOwner) { StoreBounds(0, 0, 121, 97); }
TTreeView::~TTreeView() { OnCustomDraw = nullptr; }

void TTreeView::DefineProps(TPropList& L) { L.For<TTreeView>().Event("OnCustomDraw", &TTreeView::OnCustomDraw); }

void TTreeView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_TREEVIEWA);
    p.Style |= TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

HTREEITEM TTreeView::AddItem(HTREEITEM parent, const std::string& text) {
    TVINSERTSTRUCTA ins{};
    ins.hParent = parent ? parent : TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = const_cast<char*>(text.c_str());
    return reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
}

void TTreeView::HandleMessage(TMessage& m) {
    if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == NM_CUSTOMDRAW) {
        auto* cd = reinterpret_cast<NMTVCUSTOMDRAW*>(m.LParam);
        m.Result = CDRF_DODEFAULT;
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT && OnCustomDraw) {
            bool defaultDraw = true;
            const TCanvasLease lease(canvas_, cd->nmcd.hdc);
            OnCustomDraw(this, cd->nmcd.rc, defaultDraw);
            if (!defaultDraw) m.Result = CDRF_SKIPDEFAULT;
        }
        return;
    }
    TWinControl::HandleMessage(m);
}

// --- tool bar -------------------------------------------------------------

int TToolButton::Index() const {
    for (int i = 0; i < bar_->ButtonCount(); ++i)
        if (bar_->Buttons(i) == this) return i;
    return -1;
}
void TToolButton::SetCaption(const std::string& c) { caption_ = c; bar_->RebuildButtons(); }
void TToolButton::SetImageIndex(int i) { imageIndex_ = i; bar_->RebuildButtons(); }
void TToolButton::SetStyle(TToolButtonStyle s) { style_ = s; bar_->RebuildButtons(); }
void TToolButton::SetEnabled(bool v) { enabled_ = v; bar_->RebuildButtons(); }
void TToolButton::SetDown(bool v) { down_ = v; bar_->RebuildButtons(); }
void TToolButton::SetIndeterminate(bool v) { indeterminate_ = v; bar_->RebuildButtons(); }
void TToolButton::SetMarked(bool v) { marked_ = v; bar_->RebuildButtons(); }
void TToolButton::SetVisible(bool v) { visible_ = v; bar_->RebuildButtons(); }

bool TToolButton::Pressed() const {
    HWND h = bar_->HandleAllocated() ? bar_->Handle() : nullptr;
    return h && (SendMessageA(h, TB_GETSTATE, static_cast<WPARAM>(Index()), 0) & TBSTATE_PRESSED) != 0;
}

RECT TToolButton::BoundsRect() const {
    RECT r{};
    if (bar_->HandleAllocated())
        SendMessageA(bar_->Handle(), TB_GETITEMRECT, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&r));
    return r;
}
int TToolButton::Width() const {
    const RECT r = BoundsRect();
    return r.right - r.left;
}
int TToolButton::Height() const {
    const RECT r = BoundsRect();
    return r.bottom - r.top;
}

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner) {
    StoreBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

TToolBar::~TToolBar() {
    OnAdvancedCustomDraw = nullptr;
    OnAdvancedCustomDrawButton = nullptr;
}

void TToolBar::DefineProps(TPropList& L) {
    L.For<TToolBar>()
        .Bool("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions)
        .Bool("List", &TToolBar::List, &TToolBar::SetList)
        .Set("EdgeBorders", {"ebLeft", "ebTop", "ebRight", "ebBottom"}, &TToolBar::EdgeBorders,
             &TToolBar::SetEdgeBorders)
        .Enum("EdgeInner", {"esNone", "esRaised", "esLowered"}, &TToolBar::EdgeInner, &TToolBar::SetEdgeInner)
        .Enum("EdgeOuter", {"esNone", "esRaised", "esLowered"}, &TToolBar::EdgeOuter, &TToolBar::SetEdgeOuter)
        .Int("BorderWidth", &TToolBar::BorderWidth, &TToolBar::SetBorderWidth);
}

TToolButton* TToolBar::AddButton(TToolButtonStyle style) {
    buttons_.push_back(std::make_unique<TToolButton>(this));
    buttons_.back()->style_ = style;
    RebuildButtons();
    return buttons_.back().get();
}

void TToolBar::SetImages(TImageList* l) {
    images_ = l;
    if (handle_) SendMessageA(handle_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(l ? l->Handle() : nullptr));
    RebuildButtons();
}
void TToolBar::SetHotImages(TImageList* l) {
    hotImages_ = l;
    if (handle_) SendMessageA(handle_, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(l ? l->Handle() : nullptr));
}
void TToolBar::SetShowCaptions(bool v) {
    showCaptions_ = v;
    RebuildButtons();
}
void TToolBar::SetList(bool v) {
    list_ = v;
    RecreateWnd();
}
void TToolBar::SetEdgeBorders(TEdgeBorders e) {
    edgeBorders_ = e & (ebLeft | ebTop | ebRight | ebBottom);
    FrameChanged(handle_);
}
void TToolBar::SetEdgeInner(TEdgeStyle e) {
    edgeInner_ = e;
    FrameChanged(handle_);
}
void TToolBar::SetEdgeOuter(TEdgeStyle e) {
    edgeOuter_ = e;
    FrameChanged(handle_);
}
void TToolBar::SetBorderWidth(int w) {
    borderWidth_ = std::max(0, w);
    FrameChanged(handle_);
}

RECT TToolBar::FrameInsets() const {
    const int edge = (edgeInner_ != esNone ? 1 : 0) + (edgeOuter_ != esNone ? 1 : 0);
    auto side = [&](TEdgeBorder b) { return ((edgeBorders_ & b) ? edge : 0) + borderWidth_; };
    return RECT{side(ebLeft), side(ebTop), side(ebRight), side(ebBottom)};
}

void TToolBar::SetButtonSize(int w, int h) {
    buttonWidth_ = std::max(1, w), buttonHeight_ = std::max(1, h);
    RebuildButtons();
}

void TToolBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, TOOLBARCLASSNAMEA);
    // The framework places the bar; the system must not move or size it.
    p.Style |= TBSTYLE_FLAT | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (list_) p.Style |= TBSTYLE_LIST;
}

void TToolBar::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    SendMessageA(handle_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(handle_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    if (images_) SendMessageA(handle_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
    if (hotImages_) SendMessageA(handle_, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hotImages_->Handle()));
    RebuildButtons();
}

void TToolBar::RebuildButtons() {
    if (!handle_) return;
    SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
    while (SendMessageA(handle_, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(handle_, TB_DELETEBUTTON, 0, 0);
    SendMessageA(handle_, TB_SETBITMAPSIZE, 0, MAKELPARAM(images_ ? images_->Width() : 0, images_ ? images_->Height() : 0));
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const TToolButton& b = *buttons_[i];
        TBBUTTON t{};
        t.idCommand = static_cast<int>(i);
        t.iBitmap = b.ImageIndex() >= 0 ? b.ImageIndex() : I_IMAGENONE;
        const bool separator = b.Style() >= tbsSeparator;
        t.fsStyle = static_cast<BYTE>(separator ? BTNS_SEP
                                                : b.Style() == tbsCheck    ? BTNS_CHECK
                                                : b.Style() == tbsDropDown ? BTNS_DROPDOWN
                                                                           : BTNS_BUTTON);
        if (separator) t.iBitmap = 6;
        t.fsState = static_cast<BYTE>((b.Enabled() ? TBSTATE_ENABLED : 0) | (b.Down() ? TBSTATE_CHECKED : 0) |
                                      (b.Indeterminate() ? TBSTATE_INDETERMINATE : 0) |
                                      (b.Marked() ? TBSTATE_MARKED : 0) | (b.Visible() ? 0 : TBSTATE_HIDDEN));
        t.iString = showCaptions_ && !separator ? reinterpret_cast<INT_PTR>(b.Caption().c_str()) : -1;
        SendMessageA(handle_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&t));
    }
    if (!showCaptions_) SendMessageA(handle_, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
    SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

LRESULT TToolBar::CustomDraw(NMTBCUSTOMDRAW& cd) {
    const DWORD stage = cd.nmcd.dwDrawStage;
    if (stage == CDDS_PREPAINT) {
        if (OnAdvancedCustomDraw) {
            bool defaultDraw = true;
            const TCanvasLease lease(canvas_, cd.nmcd.hdc);
            OnAdvancedCustomDraw(this, cd.nmcd.rc, cdPrePaint, defaultDraw);
        }
        return OnAdvancedCustomDrawButton ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    }
    if (stage == CDDS_ITEMPREPAINT && OnAdvancedCustomDrawButton) {
        const int i = static_cast<int>(cd.nmcd.dwItemSpec);
        if (i < 0 || i >= ButtonCount()) return CDRF_DODEFAULT;
        bool defaultDraw = true;
        TTBCustomDrawFlags flags = 0;
        {
            const TCanvasLease lease(canvas_, cd.nmcd.hdc);
            OnAdvancedCustomDrawButton(this, Buttons(i), cd.nmcd.uItemState, cdPrePaint, flags, defaultDraw);
        }
        if (!defaultDraw) return CDRF_SKIPDEFAULT;
        LRESULT r = CDRF_DODEFAULT;
        if (flags & tbNoEdges) r |= TBCDRF_NOEDGES;
        if (flags & tbNoEtchedEffect) r |= TBCDRF_NOETCHEDEFFECT;
        if (flags & tbNoOffset) r |= TBCDRF_NOOFFSET;
        if (flags & tbNoMark) r |= TBCDRF_NOMARK;
        if (flags & tbHiliteHotTrack) r |= TBCDRF_HILITEHOTTRACK;
        return r;
    }
    return CDRF_DODEFAULT;
}

void TToolBar::DropDown(int index) {
    TToolButton* b = Buttons(index);
    if (b->DropdownMenu) {
        const RECT r = b->BoundsRect();
        POINT at{r.left, r.bottom};
        ::ClientToScreen(handle_, &at);
        b->DropdownMenu->PopupComponent = this;
        b->DropdownMenu->Popup(at.x, at.y);
    }
    if (handle_) SendMessageA(handle_, DropDownClosed, static_cast<WPARAM>(index), 0);
}

void TToolBar::HandleMessage(TMessage& m) {
    if (m.Msg == WM_NCCALCSIZE && AnyInset(FrameInsets())) {
        TWinControl::HandleMessage(m);
        InsetClientArea(m, FrameInsets());
        return;
    }
    if (m.Msg == WM_NCPAINT && AnyInset(FrameInsets())) {
        TWinControl::HandleMessage(m);
        const UINT outer = edgeOuter_ == esRaised ? BDR_RAISEDOUTER : edgeOuter_ == esLowered ? BDR_SUNKENOUTER : 0;
        const UINT inner = edgeInner_ == esRaised ? BDR_RAISEDINNER : edgeInner_ == esLowered ? BDR_SUNKENINNER : 0;
        const UINT sides = ((edgeBorders_ & ebLeft) ? BF_LEFT : 0) | ((edgeBorders_ & ebTop) ? BF_TOP : 0) |
                           ((edgeBorders_ & ebRight) ? BF_RIGHT : 0) | ((edgeBorders_ & ebBottom) ? BF_BOTTOM : 0);
        PaintFrameBand(handle_, outer | inner, sides);
        return;
    }
    if (m.Msg == CN_NOTIFY) {
        auto* n = reinterpret_cast<NMHDR*>(m.LParam);
        if (n->code == NM_CUSTOMDRAW) {
            m.Result = CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(m.LParam));
            return;
        }
        if (n->code == TBN_DROPDOWN) {
            const int i = reinterpret_cast<NMTOOLBARA*>(m.LParam)->iItem;
            if (i >= 0 && i < ButtonCount()) DropDown(i);
            m.Result = TBDDRET_DEFAULT;
            return;
        }
    }
    if (m.Msg == CN_COMMAND) {
        const int i = LOWORD(m.WParam);
        if (i >= 0 && i < ButtonCount()) {
            TToolButton* b = Buttons(i);
            if (b->Style() == tbsCheck)
                b->down_ = (SendMessageA(handle_, TB_GETSTATE, static_cast<WPARAM>(i), 0) & TBSTATE_CHECKED) != 0;
            if (b->OnClick) b->OnClick(b);
        }
        m.Result = 0;
        return;
    }
    if (m.Msg == DropDownClosed) {
        m.Result = 0;
        return;
    }
    TWinControl::HandleMessage(m);
}

}  // namespace kova
