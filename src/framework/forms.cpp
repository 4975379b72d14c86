#include "framework/forms.h"
#include "framework/hints.h"
#include "framework/menus.h"

#include "framework/portable/cmdline.h"
#include "framework/portable/formtext.h"
#include "framework/portable/scope.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace kova {

namespace {
// The id of the first MDI child (the window menu's commands), far above the
// command ids the menus hand out.
constexpr UINT kFirstMDIChildId = 0xFF00;
}  // namespace


namespace {
TApplication* g_application = nullptr;
TScreen* g_screen = nullptr;
}  // namespace

TCustomForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

// --- scrolling ------------------------------------------------------------

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TScrollingWinControl::UpdateScrollBars() {
    if (!handle_ || !autoScroll_ || autoRangeHolds_ > 0) return;
    int right = 0, bottom = 0;
    for (TControl* c : controls_) {
        if (!c->Visible() || c->Align() != alNone) continue;
        right = std::max(right, c->Left() + c->Width() + scrollX_);
        bottom = std::max(bottom, c->Top() + c->Height() + scrollY_);
    }
    RECT cr;
    GetClientRect(handle_, &cr);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    bool needV = bottom > cr.bottom + (scrollY_ ? 0 : 0);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = needV ? bottom - 1 : 0;
    si.nPage = needV ? static_cast<UINT>(cr.bottom) : 0;
    si.nPos = scrollY_;
    SetScrollInfo(handle_, SB_VERT, &si, TRUE);
    bool needH = right > cr.right;
    si.nMax = needH ? right - 1 : 0;
    si.nPage = needH ? static_cast<UINT>(cr.right) : 0;
    si.nPos = scrollX_;
    SetScrollInfo(handle_, SB_HORZ, &si, TRUE);
    // Keep the position inside the new range.
    int maxY = needV ? std::max(0, bottom - static_cast<int>(cr.bottom)) : 0;
    int maxX = needH ? std::max(0, right - static_cast<int>(cr.right)) : 0;
    if (scrollY_ > maxY || scrollX_ > maxX) ScrollBy(scrollX_ - std::min(scrollX_, maxX), scrollY_ - std::min(scrollY_, maxY));
}

void TScrollingWinControl::ScrollBy(int dx, int dy) {
    // Positive dx / dy move the content right / down (towards the start).
    if (!dx && !dy) return;
    scrollX_ -= dx;
    scrollY_ -= dy;
    for (TControl* c : controls_)
        if (c->Align() == alNone) {
            if (c->IsWindowed()) {
                c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
            } else {
                c->left_ += dx;
                c->top_ += dy;
            }
        }
    if (handle_) {
        SetScrollPos(handle_, SB_VERT, scrollY_, TRUE);
        SetScrollPos(handle_, SB_HORZ, scrollX_, TRUE);
        InvalidateRect(handle_, nullptr, TRUE);
    }
    if (OnScroll) OnScroll(this);
}

void TScrollingWinControl::ScrollInView(TControl* c) {
    if (!c || !handle_) return;
    RECT cr;
    GetClientRect(handle_, &cr);
    if (c->Top() < 0)
        ScrollBy(0, -c->Top());
    else if (c->Top() + c->Height() > cr.bottom)
        ScrollBy(0, -std::min(c->Top(), c->Top() + c->Height() - static_cast<int>(cr.bottom)));
}

void TScrollingWinControl::HandleMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_VSCROLL:
        case WM_HSCROLL:
            if (m.LParam == 0) {
                int bar = m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
                SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
                GetScrollInfo(handle_, bar, &si);
                int pos = bar == SB_VERT ? scrollY_ : scrollX_;
                int np = pos;
                switch (LOWORD(m.WParam)) {
                    case SB_LINEUP: np -= 16; break;
                    case SB_LINEDOWN: np += 16; break;
                    case SB_PAGEUP: np -= static_cast<int>(si.nPage); break;
                    case SB_PAGEDOWN: np += static_cast<int>(si.nPage); break;
                    case SB_THUMBTRACK:
                    case SB_THUMBPOSITION: np = si.nTrackPos; break;
                    case SB_TOP: np = 0; break;
                    case SB_BOTTOM: np = si.nMax; break;
                    default: break;
                }
                np = std::clamp(np, 0, std::max(0, si.nMax - static_cast<int>(si.nPage) + 1));
                if (bar == SB_VERT)
                    ScrollBy(0, pos - np);
                else
                    ScrollBy(pos - np, 0);
                m.Result = 0;
                return;
            }
            break;
        case WM_MOUSEWHEEL:
            if (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_VSCROLL) {
                int delta = GET_WHEEL_DELTA_WPARAM(m.WParam);
                SendMessageA(handle_, WM_VSCROLL, delta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
                m.Result = 0;
                return;
            }
            break;
        case CM_CONTROLLISTCHANGE:
        case WM_SIZE:
            TWinControl::HandleMessage(m);
            UpdateScrollBars();
            return;
        default:
            break;
    }
    TWinControl::HandleMessage(m);
}

TFrame::TFrame(TComponent* AOwner) : TCustomFrame(AOwner) {
    controlStyle_ |= csAcceptsControls;
    StoreBounds(0, 0, 320, 240);
    color_ = clBtnFace;
}

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
    controlStyle_ |= csAcceptsControls;
    clickOnMouseUp_ = true;
    StoreBounds(0, 0, 185, 41);
    color_ = clBtnFace;
    tabStop_ = true;
}

void TScrollBox::CreateParams(TCreateParams& p) {
    TScrollingWinControl::CreateParams(p);
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

// --- forms ----------------------------------------------------------------

TCustomForm::TCustomForm(TComponent* AOwner) : TScrollingWinControl(AOwner) {
    controlStyle_ |= csAcceptsControls;
    clickOnMouseUp_ = true;
    visible_ = false;
    StoreBounds(0, 0, 320, 240);
    color_ = clBtnFace;
    Screen()->forms_.push_back(this);
}

TCustomForm::~TCustomForm() {
    auto& f = Screen()->forms_;
    f.erase(std::remove(f.begin(), f.end(), this), f.end());
    if (Application()->mainForm_ == this) Application()->mainForm_ = nullptr;
}

void TCustomForm::BeforeDestruction() {
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (const std::exception& e) {
            HandleException(&e);
        }
    }
    TScrollingWinControl::BeforeDestruction();
    DestroyHandle();
}

void TCustomForm::DefineProps(TPropList& L) {
    L.For<TCustomForm>()
        .Enum("BorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
              &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
        .Set("BorderIcons", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}, &TCustomForm::BorderIcons,
             &TCustomForm::SetBorderIcons)
        .Enum("FormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}, &TCustomForm::FormStyle,
              &TCustomForm::SetFormStyle)
        .Enum("WindowState", {"wsNormal", "wsMinimized", "wsMaximized"}, &TCustomForm::WindowState,
              &TCustomForm::SetWindowState)
        .Enum("Position", {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                           "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
              &TCustomForm::Position, &TCustomForm::SetPosition)
        .Object("Icon", [](TCustomForm* f) -> TObject* { return f->Icon(); })
        .Binary("Icon", [](TCustomForm* f, const std::vector<std::uint8_t>& d) {
            TMemoryStream m(d);
            f->Icon()->LoadFromStream(m);
        })
        .Bool("AlphaBlend", &TCustomForm::AlphaBlend, &TCustomForm::SetAlphaBlend)
        .Int("AlphaBlendValue", &TCustomForm::AlphaBlendValue, &TCustomForm::SetAlphaBlendValue)
        .Bool("TransparentColor", &TCustomForm::TransparentColor, &TCustomForm::SetTransparentColor)
        .Color("TransparentColorValue", &TCustomForm::TransparentColorValue, &TCustomForm::SetTransparentColorValue)
        .Object("Menu", [](TCustomForm* f) -> TObject* { return f->Menu(); },
                [](TCustomForm* f, TObject* o) { f->SetMenu(dynamic_cast<TMainMenu*>(o)); })
        .Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview)
        .Int("ModalResult", &TCustomForm::ModalResult, &TCustomForm::SetModalResult)
        .Int("ClientWidth", &TCustomForm::ClientWidth,
             [](TCustomForm* f, int v) {
                 if (f->IsLoading()) f->pendingClientWidth_ = v;
                 else f->SetClientWidth(v);
             })
        .Int("ClientHeight", &TCustomForm::ClientHeight,
             [](TCustomForm* f, int v) {
                 if (f->IsLoading()) f->pendingClientHeight_ = v;
                 else f->SetClientHeight(v);
             })
        .Event("OnCreate", &TCustomForm::OnCreate)
        .Event("OnShow", &TCustomForm::OnShow)
        .Event("OnHide", &TCustomForm::OnHide)
        .Event("OnActivate", &TCustomForm::OnActivate)
        .Event("OnDeactivate", &TCustomForm::OnDeactivate)
        .Event("OnClose", &TCustomForm::OnClose)
        .Event("OnCloseQuery", &TCustomForm::OnCloseQuery)
        .Event("OnDestroy", &TCustomForm::OnDestroy)
        .Event("OnPaint", &TCustomForm::OnPaint);
}

std::string ClassDescription(const std::string& className) {
    HMODULE mod = GetModuleHandleA(nullptr);
    HRSRC res = FindResourceA(mod, className.c_str(), RT_RCDATA);
    if (!res) return {};
    HGLOBAL g = LoadResource(mod, res);
    DWORD size = SizeofResource(mod, res);
    const char* data = g ? static_cast<const char*>(LockResource(g)) : nullptr;
    return data ? std::string(data, size) : std::string();
}

void ReadClassDescription(TComponent* root) {
    RegisterFrameworkClasses();
    const std::string text = ClassDescription(root->ClassName());
    if (!text.empty()) {
        for (const std::string& skipped : ReadComponentText(root, text))
            OutputDebugStringA((root->ClassName() + ": " + skipped + "\n").c_str());
    } else if (!root->FieldNames().empty() || !root->MethodNames().empty()) {
        const char* kind = dynamic_cast<TCustomFrame*>(root) ? "The frame " : "The form ";
        throw EFormReadError(kind + root->ClassName() + " has no description (no RCDATA resource " +
                             root->ClassName() + " in the program)");
    }
}

std::string TCustomForm::FormDescription() const { return ClassDescription(ClassName()); }

void TCustomFrame::AfterConstruction() { ReadClassDescription(this); }

void TCustomForm::AfterConstruction() {
    {
        // Components made from the description see a form being created.
        const TFlagScope creating(controlState_, controlState_ | csCreating);
        ReadClassDescription(this);
    }
    if (OnCreate) OnCreate(this);
    if (visible_) {
        visible_ = false;
        Show();
    }
}

void TCustomForm::CreateParams(TCreateParams& p) {
    TScrollingWinControl::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(WS_CHILD | WS_VISIBLE);
    p.Style |= WS_CLIPCHILDREN;
    switch (borderStyle_) {
        case bsNone: p.Style |= WS_POPUP; break;
        case bsSingle:
        case bsToolWindow: p.Style |= WS_CAPTION | WS_BORDER; break;
        case bsSizeable:
        case bsSizeToolWin: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
        case bsDialog:
            p.Style |= WS_POPUP | WS_CAPTION;
            p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
            break;
    }
    if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) p.ExStyle |= WS_EX_TOOLWINDOW;
    if (borderStyle_ != bsNone && (borderIcons_ & biSystemMenu)) {
        p.Style |= WS_SYSMENU;
        if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
            if (borderIcons_ & biMinimize) p.Style |= WS_MINIMIZEBOX;
            if (borderIcons_ & biMaximize) p.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (formStyle_ == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    if (formStyle_ == fsMDIChild) {
        // A child window of the main form's MDI client, with the frame of an
        // overlapped window.
        TCustomForm* mf = Application()->mainForm_;
        if (mf == this || !mf || mf->formStyle_ != fsMDIForm)
            throw EInvalidOperation("Cannot create the MDI child '" + Name() + "': the main form is no MDI form");
        if (controlState_ & csCreating) mf->HandleNeeded();
        p.Style = (p.Style & ~static_cast<DWORD>(WS_POPUP)) | WS_CHILD | WS_CLIPSIBLINGS;
        p.ExStyle = (p.ExStyle & ~static_cast<DWORD>(WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME)) | WS_EX_MDICHILD;
        p.WndParent = mf->clientHandle_;
    } else if (!parent_ && !parentWindow_) {
        if (Application()->mainForm_ == this || !Application()->mainForm_) {
            p.ExStyle |= WS_EX_APPWINDOW;
            p.WndParent = nullptr;
        } else {
            TCustomForm* mf = Application()->mainForm_;
            p.WndParent = mf->HandleAllocated() ? mf->handle_ : Application()->Handle();
        }
    }
    // The program's own icon where its resources have one.
    p.WindowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    if (!p.WindowClass.hIcon) p.WindowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
}

void TCustomForm::CreateHandleDone() {
    if (formStyle_ == fsMDIForm && !clientHandle_) {
        // The client is placed by the alignment (CreateHandleDone realigns).
        CLIENTCREATESTRUCT ccs{nullptr, kFirstMDIChildId};
        clientHandle_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL |
                                            WS_VSCROLL,
                                        0, 0, 0, 0, handle_, nullptr, GetModuleHandleA(nullptr), &ccs);
        if (!clientHandle_)
            throw EInvalidOperation("Cannot create the MDI client of '" + Name() + "' (error " +
                                    std::to_string(GetLastError()) + ")");
    }
    TScrollingWinControl::CreateHandleDone();
    if (icon_.Handle()) {
        SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Handle()));
        SendMessageA(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Handle()));
    }
    // An MDI child's menu shows in its main form's bar.
    // A dialog's frame shows no menu bar.
    if (menu_ && formStyle_ != fsMDIChild && borderStyle_ != bsDialog) ::SetMenu(handle_, menu_->Handle());
    ApplyLayered();
}

void TCustomForm::DestroyWnd() {
    if (handle_ && formStyle_ == fsMDIChild) {
        // The MDI client destroys its child itself, so that the frame's menu
        // and the active child follow; the controls keep their text first.
        for (TControl* c : controls_)
            if (c->IsWindowed()) static_cast<TWinControl*>(c)->DestroyHandle();
        const HWND h = handle_;
        if (const HWND client = GetParent(h)) SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(h), 0);
        if (IsWindow(h)) DestroyWindow(h);
        handle_ = nullptr;
        // The last child gone, no activation takes its menu out of the bar.
        if (TCustomForm* mf = Application()->mainForm_; mf && mf != this) mf->MergeMDIChildMenu();
        return;
    }
    TScrollingWinControl::DestroyWnd();
    clientHandle_ = nullptr;  // destroyed with the form's window
}

void TCustomForm::DefaultHandler(TMessage& m) {
    const bool native = m.Msg < CM_BASE || m.Msg >= CN_BASE + 0x400;
    if (handle_ && native) {
        // The frame's WM_SIZE would stretch the client over the aligned
        // controls: the alignment places it instead.
        if (formStyle_ == fsMDIForm && clientHandle_ && m.Msg != WM_SIZE) {
            m.Result = DefFrameProcA(handle_, clientHandle_, m.Msg, m.WParam, m.LParam);
            return;
        }
        if (formStyle_ == fsMDIChild && (GetWindowLongPtrA(handle_, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
            m.Result = DefMDIChildProcA(handle_, m.Msg, m.WParam, m.LParam);
            return;
        }
    }
    TScrollingWinControl::DefaultHandler(m);
}

void TCustomForm::AlignControls(RECT& r) {
    TScrollingWinControl::AlignControls(r);
    if (clientHandle_)
        SetWindowPos(clientHandle_, nullptr, r.left, r.top, std::max<LONG>(0, r.right - r.left),
                     std::max<LONG>(0, r.bottom - r.top), SWP_NOZORDER | SWP_NOACTIVATE);
}

int TCustomForm::MDIChildCount() const {
    int n = 0;
    for (HWND w = clientHandle_ ? GetWindow(clientHandle_, GW_CHILD) : nullptr; w; w = GetWindow(w, GW_HWNDNEXT))
        if (dynamic_cast<TCustomForm*>(WindowObject(w))) ++n;
    return n;
}

TCustomForm* TCustomForm::MDIChildren(int i) const {
    for (HWND w = clientHandle_ ? GetWindow(clientHandle_, GW_CHILD) : nullptr; w; w = GetWindow(w, GW_HWNDNEXT))
        if (auto* f = dynamic_cast<TCustomForm*>(WindowObject(w)); f && i-- == 0) return f;
    return nullptr;
}

void TCustomForm::MergeMDIChildMenu(bool force) {
    if (!clientHandle_ || !menu_ || !handle_) return;
    TCustomForm* child = ActiveMDIChild();
    TMainMenu* merged = child ? child->menu_ : nullptr;
    if (!force && merged == menu_->Merged() && GetMenu(handle_)) return;
    menu_->Merge(merged);
    // The client keeps a maximised child's icon and buttons in the bar.
    const HMENU bar = menu_->Handle();
    const auto old =
        reinterpret_cast<HMENU>(SendMessageA(clientHandle_, WM_MDISETMENU, reinterpret_cast<WPARAM>(bar), 0));
    DrawMenuBar(handle_);
    if (old && old != bar) DestroyMenu(old);
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
    if (!clientHandle_) return nullptr;
    const auto active = reinterpret_cast<HWND>(SendMessageA(clientHandle_, WM_MDIGETACTIVE, 0, 0));
    return dynamic_cast<TCustomForm*>(WindowObject(active));
}

void TCustomForm::ApplyLayered() {
    if (!handle_) return;
    LONG_PTR ex = GetWindowLongPtrA(handle_, GWL_EXSTYLE);
    bool want = alphaBlend_ || transparentColor_;
    if (want) {
        if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrA(handle_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredWindowAttributes(handle_, ColorToRGB(transparentColorValue_), static_cast<BYTE>(alphaValue_),
                                   (alphaBlend_ ? LWA_ALPHA : 0) | (transparentColor_ ? LWA_COLORKEY : 0));
    } else if (ex & WS_EX_LAYERED) {
        SetWindowLongPtrA(handle_, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
    }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    Perform(CM_BORDERCHANGED);
    RecreateWnd();
}
void TCustomForm::SetBorderIcons(TBorderIcons v) {
    if (v == borderIcons_) return;
    borderIcons_ = v;
    RecreateWnd();
}
void TCustomForm::SetFormStyle(TFormStyle v) {
    if (v == formStyle_) return;
    const bool mdi = v == fsMDIChild || v == fsMDIForm || formStyle_ == fsMDIChild || formStyle_ == fsMDIForm;
    formStyle_ = v;
    if (handle_ && mdi) {
        // Another kind of window (a client of its own, or a child of one).
        RecreateWnd();
        return;
    }
    if (handle_)
        SetWindowPos(handle_, v == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
TWindowState TCustomForm::WindowState() const {
    if (handle_) {
        if (IsIconic(handle_)) return wsMinimized;
        if (IsZoomed(handle_)) return wsMaximized;
        return IsWindowVisible(handle_) ? wsNormal : windowState_;
    }
    return windowState_;
}
void TCustomForm::SetWindowState(TWindowState v) {
    windowState_ = v;
    if (handle_ && IsWindowVisible(handle_))
        ShowWindow(handle_, v == wsMinimized ? SW_MINIMIZE : v == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}
void TCustomForm::SetAlphaBlend(bool v) {
    alphaBlend_ = v;
    ApplyLayered();
}
void TCustomForm::SetAlphaBlendValue(int v) {
    alphaValue_ = std::clamp(v, 0, 255);
    ApplyLayered();
}
void TCustomForm::SetTransparentColor(bool v) {
    transparentColor_ = v;
    ApplyLayered();
}
void TCustomForm::SetTransparentColorValue(TColor c) {
    transparentColorValue_ = c;
    ApplyLayered();
}
void TCustomForm::SetMenu(TMainMenu* m) {
    menu_ = m;
    if (m) FreeNotification(m);
    if (!handle_) return;
    if (formStyle_ == fsMDIChild) {
        // Built again even when the same menu is set: its items changed.
        if (TCustomForm* mf = Application()->mainForm_; mf && mf != this) mf->MergeMDIChildMenu(true);
        return;
    }
    if (clientHandle_ && m) {
        // Through the client, which moves a maximised child's icon and
        // buttons over to the new bar.
        MergeMDIChildMenu(true);
        return;
    }
    // The bar replaced is ours and goes (the window frees only the one it
    // shows when it is destroyed).
    const HMENU old = GetMenu(handle_);
    const HMENU bar = m && borderStyle_ != bsDialog ? m->Handle() : nullptr;
    ::SetMenu(handle_, bar);
    if (old && old != bar) DestroyMenu(old);
}
void TCustomForm::Notification(TComponent* c, TOperation op) {
    TScrollingWinControl::Notification(c, op);
    if (op == TOperation::opRemove && c == menu_) {
        menu_ = nullptr;
        if (handle_ && formStyle_ != fsMDIChild) ::SetMenu(handle_, nullptr);
    }
}

void TCustomForm::Loaded() {
    TScrollingWinControl::Loaded();
    if (pendingClientWidth_ >= 0) SetClientWidth(pendingClientWidth_);
    if (pendingClientHeight_ >= 0) SetClientHeight(pendingClientHeight_);
    pendingClientWidth_ = pendingClientHeight_ = -1;
    Realign();
}

RECT TCustomForm::ClientRect() const {
    if (handle_) return TScrollingWinControl::ClientRect();
    TCreateParams p;
    const_cast<TCustomForm*>(this)->CreateParams(p);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, p.Style, menu_ != nullptr, p.ExStyle);
    return RECT{0, 0, std::max(0, width_ - static_cast<int>(frame.right - frame.left)),
                std::max(0, height_ - static_cast<int>(frame.bottom - frame.top))};
}

bool TCustomForm::Active() const { return handle_ && GetActiveWindow() == handle_; }

bool TCustomForm::Showing() const { return handle_ && IsWindowVisible(handle_); }

void TCustomForm::PlaceByPosition() {
    if (placed_) return;
    placed_ = true;
    RECT area = Screen()->WorkAreaRect();
    RECT centreOn = area;
    if (position_ == poMainFormCenter || position_ == poOwnerFormCenter) {
        TCustomForm* mf = Application()->MainForm();
        if (mf && mf != this && mf->HandleAllocated()) GetWindowRect(mf->handle_, &centreOn);
    }
    if (position_ == poScreenCenter || position_ == poDesktopCenter || position_ == poMainFormCenter ||
        position_ == poOwnerFormCenter) {
        int l = centreOn.left + ((centreOn.right - centreOn.left) - width_) / 2;
        int t = centreOn.top + ((centreOn.bottom - centreOn.top) - height_) / 2;
        SetBounds(l, t, width_, height_);
    }
}

void TCustomForm::SetVisible(bool v) {
    if (v == visible_ && (!handle_ || (IsWindowVisible(handle_) != FALSE) == v)) return;
    if (IsLoading()) {
        visible_ = v;
        return;
    }
    visible_ = v;
    if (v) {
        HandleNeeded();
        PlaceByPosition();
        int cmd = windowState_ == wsMinimized ? SW_SHOWMINIMIZED : windowState_ == wsMaximized ? SW_SHOWMAXIMIZED
                                                                                              : SW_SHOWNORMAL;
        ShowWindow(handle_, cmd);
        if (formStyle_ == fsStayOnTop)
            SetWindowPos(handle_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else if (handle_) {
        ShowWindow(handle_, SW_HIDE);
    }
    Perform(CM_VISIBLECHANGED, v);
    Perform(CM_SHOWINGCHANGED);
    if (v) {
        if (OnShow) OnShow(this);
    } else {
        if (OnHide) OnHide(this);
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    if (handle_) {
        BringWindowToTop(handle_);
    }
}

bool TCustomForm::CloseQuery() {
    bool can = true;
    if (OnCloseQuery) OnCloseQuery(this, can);
    return can;
}

void TCustomForm::Close() {
    if (inModal_) {
        if (!CloseQuery()) return;
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    // An MDI child goes when closed: a hidden child would stay the client's
    // active (and maybe maximised) one.
    TCloseAction action = Application()->MainForm() == this || formStyle_ == fsMDIChild ? caFree : caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (Application()->MainForm() == this) {
        Hide();
        Application()->Terminate();
    } else if (action == caHide) {
        Hide();
    } else if (action == caMinimize) {
        SetWindowState(wsMinimized);
    } else {
        Release();
    }
}

void TCustomForm::Release() {
    if (releasing_) return;
    releasing_ = true;
    PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

namespace {
BOOL CALLBACK CollectEnabledWindow(HWND w, LPARAM l) {
    auto* list = reinterpret_cast<std::vector<HWND>*>(l);
    if (IsWindowVisible(w) && IsWindowEnabled(w)) list->push_back(w);
    return TRUE;
}
}  // namespace

int TCustomForm::ShowModal() {
    if (inModal_ || Showing()) throw EInvalidOperation("Cannot make a visible window modal");
    modalResult_ = mrNone;
    TDialogRequest r;
    r.kind = TDialogKind::ModalForm;
    r.form = this;
    r.caption = Caption();
    TDialogAnswer a = AskDialogResponder(r);
    if (a.handled) {
        modalResult_ = a.result;
        return modalResult_;
    }
    // Every other enabled, visible window of the thread is disabled while
    // the form runs.
    std::vector<HWND> disabled;
    HandleNeeded();
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    disabled.erase(std::remove(disabled.begin(), disabled.end(), handle_), disabled.end());
    for (HWND w : disabled) EnableWindow(w, FALSE);
    inModal_ = true;
    try {
        Show();
        while (modalResult_ == mrNone && !Application()->Terminated()) {
            Application()->HandleMessage();
            if (modalResult_ != mrNone) {
                // Closing is asked through OnCloseQuery like any close.
                int res = modalResult_;
                if (!CloseQuery()) modalResult_ = mrNone;
                else modalResult_ = res;
            }
        }
    } catch (...) {
        inModal_ = false;
        for (HWND w : disabled) EnableWindow(w, TRUE);
        throw;
    }
    inModal_ = false;
    for (HWND w : disabled)
        if (IsWindow(w)) EnableWindow(w, TRUE);
    Hide();
    return modalResult_;
}

void TCustomForm::PaintWindow(HDC dc) {
    if (!OnPaint) return;
    TCanvasLease lease(canvas_, dc);
    canvas_.Font()->Assign(&font_);
    canvas_.Brush()->SetColor(color_);
    OnPaint(this);
}

void TCustomForm::HandleMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_CLOSE:
            Close();
            m.Result = 0;
            return;
        case WM_ACTIVATE:
            DefaultHandler(m);
            if (LOWORD(m.WParam) != WA_INACTIVE) {
                Perform(CM_ACTIVATE);
                if (OnActivate) OnActivate(this);
            } else {
                Perform(CM_DEACTIVATE);
                if (OnDeactivate) OnDeactivate(this);
            }
            return;
        case WM_SIZE:
            TScrollingWinControl::HandleMessage(m);
            // The client area changes without the window's size when the
            // frame does (a skinned frame, a menu bar wrapping): the MDI
            // client follows it.
            if (clientHandle_ && m.WParam != SIZE_MINIMIZED) Realign();
            if (m.WParam == SIZE_MINIMIZED && Application()->MainForm() == this && Application()->OnMinimize)
                Application()->OnMinimize(Application());
            return;
        case CM_RELEASE:
            Free();
            return;
        case WM_MDIACTIVATE:
            DefaultHandler(m);
            // The child activated brings its menu into the main form's bar.
            if (formStyle_ == fsMDIChild && reinterpret_cast<HWND>(m.LParam) == handle_)
                if (TCustomForm* mf = Application()->mainForm_; mf && mf != this) mf->MergeMDIChildMenu();
            return;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
            break;
        default:
            break;
    }
    TScrollingWinControl::HandleMessage(m);
}

// --- screen ---------------------------------------------------------------

namespace {
BOOL CALLBACK CollectMonitor(HMONITOR mon, HDC, LPRECT, LPARAM l) {
    auto* list = reinterpret_cast<std::vector<TMonitor>*>(l);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoA(mon, &mi)) {
        TMonitor m;
        m.MonitorNum = static_cast<int>(list->size());
        m.Primary = (mi.dwFlags & MONITORINFOF_PRIMARY) != 0;
        m.BoundsRect = mi.rcMonitor;
        m.WorkareaRect = mi.rcWork;
        list->push_back(m);
    }
    return TRUE;
}
std::vector<TMonitor> AllMonitors() {
    std::vector<TMonitor> list;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&list));
    if (list.empty()) {
        TMonitor m;
        m.Primary = true;
        m.BoundsRect = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &m.WorkareaRect, 0);
        list.push_back(m);
    }
    return list;
}
}  // namespace

int TScreen::MonitorCount() const { return static_cast<int>(AllMonitors().size()); }
TMonitor TScreen::Monitors(int i) const { return AllMonitors().at(static_cast<size_t>(i)); }
TMonitor TScreen::MonitorFromPoint(POINT p) const {
    auto list = AllMonitors();
    for (const auto& m : list)
        if (PtInRect(&m.BoundsRect, p)) return m;
    for (const auto& m : list)
        if (m.Primary) return m;
    return list.front();
}
RECT TScreen::WorkAreaRect() const {
    RECT r{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}
RECT TScreen::DesktopRect() const {
    int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}
TCustomForm* TScreen::ActiveForm() const {
    HWND a = GetActiveWindow();
    for (TCustomForm* f : forms_)
        if (f->HandleAllocated() && f->Handle() == a) return f;
    return nullptr;
}
void TScreen::SetCursor(TCursor c) {
    cursor_ = c;
    if (c == crHourGlass) ::SetCursor(LoadCursor(nullptr, IDC_WAIT));
    else if (c == crDefault) ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

// --- application ----------------------------------------------------------

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string exe = path;
    size_t slash = exe.find_last_of("\\/");
    std::string base = exe.substr(slash == std::string::npos ? 0 : slash + 1);
    size_t dot = base.rfind('.');
    title_ = dot == std::string::npos ? base : base.substr(0, dot);
    handle_ = AllocateHWnd([this](UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (!hooks_.empty()) {
            // A hook may remove hooks: walk a copy.
            const auto hooks = hooks_;
            TMessage msg{m, w, l, 0};
            for (const auto& h : hooks)
                if (h.second(msg)) return msg.Result;
        }
        // Popup menus shown for the application draw through it.
        if ((m == WM_MEASUREITEM || m == WM_DRAWITEM) && DispatchMenuOwnerDraw(m, l)) return TRUE;
        if (m == WM_SYSCOMMAND && (w & 0xFFF0) == SC_MINIMIZE) {
            Minimize();
            return 0;
        }
        return DefWindowProcA(handle_, m, w, l);
    }, TUtilWindowKind::TopLevel);
    SetWindowTextA(handle_, title_.c_str());
    SetExceptionHandler([this](const std::string& text) { ShowException(text); });
}

TApplication::~TApplication() {
    SetExceptionHandler(nullptr);
    DestroyComponents();
    DeallocateHWnd(handle_);
}

void TApplication::HookMainWindow(const void* owner, TWindowHook hook) {
    hooks_.emplace_back(owner, std::move(hook));
}

void TApplication::UnhookMainWindow(const void* owner) {
    std::erase_if(hooks_, [owner](const auto& h) { return h.first == owner; });
}

void TApplication::SetTitle(const std::string& t) {
    title_ = t;
    if (handle_) SetWindowTextA(handle_, t.c_str());
}

void TApplication::ShowException(const std::string& text) {
    if (OnException) {
        OnException(this, text);
        return;
    }
    MessageDlg(text, mtError, mbOK);
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

bool WaitWithMessages(DWORD ms, const std::function<bool()>& done) {
    TApplication* app = Application();
    const DWORD start = GetTickCount();
    for (;;) {
        app->ProcessMessages();
        if (done && done()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (app->Terminated() || elapsed >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(ms - elapsed, 10), QS_ALLINPUT);
    }
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg)) WaitMessage();
}

void TApplication::Run() {
    if (mainForm_ && ShowMainForm) mainForm_->Show();
    while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::Minimize() {
    if (OnMinimize) {
        OnMinimize(this);
        return;
    }
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
}

void TApplication::Restore() {
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_RESTORE);
    if (OnRestore) OnRestore(this);
}

std::string TApplication::ExeName() const {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

namespace {
std::vector<std::string> CommandLineArgs() {
    std::vector<std::string> out;
    for (const std::wstring& arg : SplitCommandLine(GetCommandLineW())) {
        const int n = WideCharToMultiByte(CP_ACP, 0, arg.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string s(static_cast<size_t>(n > 0 ? n : 1), '\0');
        WideCharToMultiByte(CP_ACP, 0, arg.c_str(), -1, s.data(), n, nullptr, nullptr);
        s.resize(std::strlen(s.c_str()));
        out.push_back(s);
    }
    return out;
}
}  // namespace

int TApplication::ParamCount() const { return std::max(0, static_cast<int>(CommandLineArgs().size()) - 1); }
std::string TApplication::ParamStr(int index) const {
    if (index == 0) return ExeName();
    auto args = CommandLineArgs();
    return index > 0 && index < static_cast<int>(args.size()) ? args[static_cast<size_t>(index)] : std::string();
}

TApplication* Application() {
    if (!g_application) {
        g_screen = g_screen ? g_screen : new TScreen(nullptr);
        g_application = new TApplication(nullptr);
    }
    return g_application;
}

TScreen* Screen() {
    if (!g_screen) g_screen = new TScreen(nullptr);
    return g_screen;
}

void FinalizeApplication() {
    FreeApplicationHints();
    if (g_application) {
        TApplication* a = g_application;
        a->Free();
        g_application = nullptr;
    }
    if (g_screen) {
        g_screen->Free();
        g_screen = nullptr;
    }
}

}  // namespace kova
