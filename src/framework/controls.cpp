#include "framework/controls.h"
#include "framework/hints.h"

#include "framework/menus.h"
#include "framework/portable/scope.h"
#include "framework/windowtext.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

namespace kova {

namespace {

// The class procedure of the controls' window classes, once one is
// registered: their windows keep their binding in their extra bytes.
WNDPROC g_controlClassProc = nullptr;
LRESULT CALLBACK UtilWndProc(HWND h, UINT m, WPARAM w, LPARAM l);

// Where a window keeps its binding: the last pointer of its extra bytes,
// which every framework class reserves; -1 for other windows (and those of
// other processes, whose pointers mean nothing here). Every call is
// answered inside the process: under Wine a window property costs a round
// trip to the server, and the binding is read on every message.
int BindingSlot(HWND wnd) {
    DWORD process = 0;
    if (!wnd || !GetWindowThreadProcessId(wnd, &process) || process != GetCurrentProcessId()) return -1;
    const auto proc = reinterpret_cast<WNDPROC>(GetClassLongPtrA(wnd, GCLP_WNDPROC));
    if (!proc || (proc != g_controlClassProc && proc != UtilWndProc)) return -1;
    const auto extra = static_cast<int>(GetClassLongPtrA(wnd, GCL_CBWNDEXTRA));
    return extra >= static_cast<int>(sizeof(LONG_PTR)) ? extra - static_cast<int>(sizeof(LONG_PTR)) : -1;
}
thread_local TWinControl* t_creating = nullptr;
std::function<void(const std::string&)> g_exceptionHandler;
UINT g_nextControlId = 100;

bool IsMouseMessage(UINT m) {
    return (m >= WM_MOUSEFIRST && m <= WM_MBUTTONDBLCLK) && m != WM_MOUSEWHEEL;
}

}  // namespace

void SetExceptionHandler(std::function<void(const std::string&)> handler) { g_exceptionHandler = std::move(handler); }

void HandleException(const std::exception* e) {
    std::string text = e ? e->what() : "Unknown error";
    if (g_exceptionHandler)
        g_exceptionHandler(text);
    else
        OutputDebugStringA(text.c_str());
}

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState KeyboardStateToShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

// --- TControl -------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_.OnChange = [this](TObject*) {
        parentFont_ = false;
        Perform(CM_FONTCHANGED);
    };
}

TControl::~TControl() {
    if (parent_) parent_->RemoveControl(this);
}

TControlState TControl::ControlState() const {
    return controlState_ | ((ComponentState() & csReading) ? csReadingState : 0u);
}

void TControl::BeforeDestruction() {
    TComponent::BeforeDestruction();
    if (parent_) parent_->RemoveControl(this);
}

void TControl::DefineProps(TPropList& L) {
    L.For<TControl>()
        .Int("Left", &TControl::Left, &TControl::SetLeft)
        .Int("Top", &TControl::Top, &TControl::SetTop)
        .Int("Width", &TControl::Width, &TControl::SetWidth)
        .Int("Height", &TControl::Height, &TControl::SetHeight)
        .Int("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth)
        .Int("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight)
        .Bool("Visible", &TControl::Visible, &TControl::SetVisible)
        .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled)
        .Color("Color", &TControl::Color, &TControl::SetColor)
        .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
        .Object("Font", [](TControl* c) -> TObject* { return c->Font(); }, &TControl::SetFont)
        .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
        .String("Caption", &TControl::Caption, &TControl::SetCaption)
        .String("Text", &TControl::Text, &TControl::SetText)
        .String("Hint", &TControl::Hint, &TControl::SetHint)
        .Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
        .Enum("Align", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}, &TControl::Align,
              &TControl::SetAlign)
        .Int("Cursor", &TControl::Cursor, &TControl::SetCursor)
        .Object("PopupMenu", [](TControl* c) -> TObject* { return c->PopupMenu(); },
                [](TControl* c, TObject* o) { c->SetPopupMenu(dynamic_cast<TPopupMenu*>(o)); })
        .Event("OnClick", &TControl::OnClick)
        .Event("OnDblClick", &TControl::OnDblClick)
        .Event("OnMouseDown", &TControl::OnMouseDown)
        .Event("OnMouseUp", &TControl::OnMouseUp)
        .Event("OnMouseMove", &TControl::OnMouseMove)
        .Event("OnResize", &TControl::OnResize);
}

LRESULT TControl::Perform(UINT msg, WPARAM w, LPARAM l) {
    TMessage m{msg, w, l, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::BindMessage(UINT msg, TWndMethod handler) { boundHandlers_[msg] = std::move(handler); }

void TControl::WndProc(TMessage& m) { Dispatch(m); }

void TControl::Dispatch(TMessage& m) {
    auto it = boundHandlers_.find(m.Msg);
    if (it != boundHandlers_.end() && it->second) {
        it->second(m);
        return;
    }
    HandleMessage(m);
}

void TControl::DefaultHandler(TMessage& m) { m.Result = 0; }

void TControl::HandleMessage(TMessage& m) {
    int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (m.Msg == WM_LBUTTONDOWN) mouseCaptured_ = true;
            MouseDown(m.Msg == WM_LBUTTONDOWN ? mbLeft : m.Msg == WM_RBUTTONDOWN ? mbRight : mbMiddle,
                      KeysToShiftState(m.WParam), x, y);
            DefaultHandler(m);
            return;
        case WM_LBUTTONDBLCLK:
            DblClick();
            MouseDown(mbLeft, KeysToShiftState(m.WParam) | ssDouble, x, y);
            DefaultHandler(m);
            return;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            TMouseButton b = m.Msg == WM_LBUTTONUP ? mbLeft : m.Msg == WM_RBUTTONUP ? mbRight : mbMiddle;
            DefaultHandler(m);
            bool click = m.Msg == WM_LBUTTONUP && mouseCaptured_ && x >= 0 && y >= 0 && x < width_ && y < height_;
            if (m.Msg == WM_LBUTTONUP) mouseCaptured_ = false;
            if (click && clickOnMouseUp_) Click();
            MouseUp(b, KeysToShiftState(m.WParam), x, y);
            if (b == mbRight && popupMenu_ && !IsWindowed()) {
                POINT p = ClientToScreen(POINT{x, y});
                popupMenu_->PopupComponent = this;
                popupMenu_->Popup(p.x, p.y);
            }
            return;
        }
        case WM_MOUSEMOVE:
            ApplicationHints().MouseMoved(this);
            MouseMove(KeysToShiftState(m.WParam), x, y);
            DefaultHandler(m);
            return;
        case CM_FONTCHANGED:
            FontChanged();
            return;
        case CM_COLORCHANGED:
        case CM_ENABLEDCHANGED:
        case CM_TEXTCHANGED:
            Invalidate();
            return;
        case CM_PARENTCOLORCHANGED:
            if (parentColor_ && parent_) {
                color_ = parent_->Color();
                Perform(CM_COLORCHANGED);
            }
            return;
        case CM_PARENTFONTCHANGED:
            if (parentFont_ && parent_) {
                auto saved = font_.OnChange;
                font_.OnChange = nullptr;
                font_.Assign(parent_->Font());
                font_.OnChange = saved;
                Perform(CM_FONTCHANGED);
            }
            return;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
        case CM_VISIBLECHANGED:
        case CM_SHOWINGCHANGED:
            m.Result = 0;
            return;
        default:
            DefaultHandler(m);
    }
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}
void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}
void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}
void TControl::MouseMove(TShiftState s, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, s, x, y);
}
void TControl::Resize() {
    if (OnResize) OnResize(this);
}
void TControl::FontChanged() { Invalidate(); }

void TControl::SetMouseInside(bool inside) {
    if (inside == mouseInside_) return;
    mouseInside_ = inside;
    Perform(inside ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TControl::SetParent(TWinControl* p) {
    if (p == parent_) return;
    if (p == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (p) p->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* p) {
    if (auto* w = dynamic_cast<TWinControl*>(p)) SetParent(w);
}
TComponent* TControl::GetParentComponent() const { return parent_; }


POINT TControl::ClientToScreen(POINT p) const {
    const TControl* c = this;
    while (c && !c->IsWindowed()) {
        p.x += c->left_;
        p.y += c->top_;
        c = c->parent_;
    }
    if (c) {
        auto* w = const_cast<TWinControl*>(static_cast<const TWinControl*>(c));
        ::ClientToScreen(w->Handle(), &p);
    }
    return p;
}

POINT TControl::ScreenToClient(POINT p) const {
    POINT origin = ClientToScreen(POINT{0, 0});
    return POINT{p.x - origin.x, p.y - origin.y};
}

void TControl::StoreBounds(int l, int t, int w, int h) {
    left_ = l;
    top_ = t;
    width_ = w < 0 ? 0 : w;
    height_ = h < 0 ? 0 : h;
}

void TControl::InvalidateParentArea() {
    if (parent_ && parent_->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(parent_->Handle(), &r, TRUE);
    }
}

void TControl::SetBounds(int l, int t, int w, int h) {
    if (l == left_ && t == top_ && w == width_ && h == height_) return;
    bool sized = w != width_ || h != height_;
    InvalidateParentArea();
    StoreBounds(l, t, w, h);
    InvalidateParentArea();
    BoundsChanged();
    if (sized) Resize();
    if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    Perform(CM_VISIBLECHANGED, v);
    InvalidateParentArea();
    if (parent_ && align_ != alNone) parent_->Realign();
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Perform(CM_ENABLEDCHANGED);
}

bool TControl::EffectiveEnabled() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->enabled_) return false;
    return true;
}

void TControl::SetColor(TColor c) {
    parentColor_ = false;
    if (c == color_) return;
    color_ = c;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v) {
    parentColor_ = v;
    if (v && parent_) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetFont(TObject* f) {
    if (auto* font = dynamic_cast<TFont*>(f)) font_.Assign(font);
}

void TControl::SetParentFont(bool v) {
    parentFont_ = v;
    if (v && parent_) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetCaption(const std::string& v) {
    if (v == Caption()) return;
    text_ = v;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool v) {
    if (v == showHint_) return;
    showHint_ = v;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetAlign(TAlign a) {
    if (a == align_) return;
    align_ = a;
    if (parent_) parent_->Realign();
}

void TControl::SetCursor(TCursor c) {
    if (c == cursor_) return;
    cursor_ = c;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* m) {
    popupMenu_ = m;
    if (m) FreeNotification(m);
}

void TControl::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove && c == popupMenu_) popupMenu_ = nullptr;
}

void TControl::Invalidate() {
    if (parent_ && parent_->HandleAllocated() && visible_) {
        RECT r = BoundsRect();
        InvalidateRect(parent_->Handle(), &r, (controlStyle_ & csOpaque) ? FALSE : TRUE);
    }
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& v = parent_->controls_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    v.push_back(this);
    Invalidate();
}

void TControl::SendToBack() {
    if (!parent_) return;
    auto& v = parent_->controls_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    v.insert(v.begin(), this);
    Invalidate();
}

// --- window binding -------------------------------------------------------

bool BindWindow(HWND wnd, TObject* object) {
    const int slot = BindingSlot(wnd);
    if (slot < 0 || !object) return false;
    const bool had = GetWindowLongPtrA(wnd, slot) != 0;
    SetLastError(0);
    if (!SetWindowLongPtrA(wnd, slot, reinterpret_cast<LONG_PTR>(object)) && GetLastError() != 0) return false;
    if (!had) CountHandle(THandleKind::WindowBinding, 1);
    return true;
}

void UnbindWindow(HWND wnd) {
    const int slot = BindingSlot(wnd);
    if (slot >= 0 && SetWindowLongPtrA(wnd, slot, 0)) CountHandle(THandleKind::WindowBinding, -1);
}

TObject* WindowObject(HWND wnd) {
    const int slot = BindingSlot(wnd);
    return slot >= 0 ? reinterpret_cast<TObject*>(GetWindowLongPtrA(wnd, slot)) : nullptr;
}

// --- TWinControl ----------------------------------------------------------

TWinControl* TWinControl::FindControl(HWND wnd) { return dynamic_cast<TWinControl*>(WindowObject(wnd)); }

LRESULT CALLBACK TWinControl::InitWndProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    TWinControl* c = FindControl(h);
    if (!c) {
        // The first message of a window we are creating, whichever it is.
        c = t_creating;
        if (!c) return DefWindowProcA(h, msg, w, l);
        t_creating = nullptr;
        c->AttachHandle(h);
    }
    TMessage m{msg, w, l, 0};
    try {
        c->WindowProc(m);
    } catch (const std::exception& e) {
        HandleException(&e);
    } catch (...) {
        HandleException(nullptr);
    }
    if (msg == WM_NCDESTROY) {
        UnbindWindow(h);
        if (c->handle_ == h) c->handle_ = nullptr;
    }
    return m.Result;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) { clickOnMouseUp_ = false; }

TWinControl::~TWinControl() {
    DestroyHandle();
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        RemoveControl(c);
        c->Free();
    }
}

void TWinControl::DefineProps(TPropList& L) {
    L.For<TWinControl>()
        .Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
        .Event("OnKeyDown", &TWinControl::OnKeyDown)
        .Event("OnKeyUp", &TWinControl::OnKeyUp)
        .Event("OnKeyPress", &TWinControl::OnKeyPress)
        .Event("OnEnter", &TWinControl::OnEnter)
        .Event("OnExit", &TWinControl::OnExit);
}

void TWinControl::AttachHandle(HWND h) {
    handle_ = h;
    BindWindow(h, this);
}

HWND TWinControl::Handle() {
    if (!handle_) {
        if (controlState_ & csCreating) throw EInvalidOperation("Window of " + Name() + " is being created");
        if (parent_) parent_->HandleNeeded();
        if (!handle_) {
            {
                const TFlagScope creating(controlState_, controlState_ | csCreating);
                CreateWnd();
            }
            // A window made after its siblings' (a control that shows for
            // the first time) takes its place in the order of the controls,
            // which is the order of painting and of the Tab key.
            if (parent_) {
                HWND after = HWND_TOP;
                for (TControl* c : parent_->controls_) {
                    if (c == this) break;
                    if (c->IsWindowed() && static_cast<TWinControl*>(c)->handle_) after = static_cast<TWinControl*>(c)->handle_;
                }
                if (GetWindow(handle_, GW_HWNDPREV) != after)
                    SetWindowPos(handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
            }
            CreateHandleDone();
        }
    }
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = text_;
    p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (visible_) p.Style |= WS_VISIBLE;
    if (tabStop_) p.Style |= WS_TABSTOP;
    if (!EffectiveEnabled()) p.Style |= WS_DISABLED;
    p.X = left_;
    p.Y = top_;
    p.Width = width_;
    p.Height = height_;
    p.WndParent = parent_ ? parent_->handle_ : parentWindow_;
    p.WindowClass.cbSize = sizeof(WNDCLASSEXA);
    p.WindowClass.style = CS_DBLCLKS;
    p.WindowClass.lpfnWndProc = DefWindowProcA;
    p.WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    p.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& p, const char* nativeClass) {
    static bool commonInit = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)commonInit;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(nullptr, nativeClass, &wc) && !GetClassInfoExA(GetModuleHandleA(nullptr), nativeClass, &wc))
        throw EInvalidOperation(std::string("Window class ") + nativeClass + " is not available");
    wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    p.WindowClass = wc;
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    if ((p.Style & WS_CHILD) && !p.WndParent)
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    HINSTANCE inst = GetModuleHandleA(nullptr);
    defWndProc_ = p.WindowClass.lpfnWndProc ? p.WindowClass.lpfnWndProc : DefWindowProcA;
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExA(inst, p.WinClassName.c_str(), &existing) || existing.lpfnWndProc != InitWndProc) {
        if (existing.lpfnWndProc) UnregisterClassA(p.WinClassName.c_str(), inst);
        WNDCLASSEXA wc = p.WindowClass;
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = InitWndProc;
        // After the native class's own bytes: the window's binding.
        wc.cbWndExtra += static_cast<int>(sizeof(LONG_PTR));
        wc.hInstance = inst;
        wc.lpszClassName = p.WinClassName.c_str();
        wc.lpszMenuName = nullptr;
        if (!RegisterClassExA(&wc)) throw EInvalidOperation("Cannot register window class " + p.WinClassName);
        g_controlClassProc = InitWndProc;
    }
    // An MDI child is made by its MDI client, which gives it its id.
    const bool mdiChild = (p.ExStyle & WS_EX_MDICHILD) != 0;
    HMENU id = nullptr;
    if ((p.Style & WS_CHILD) && !mdiChild) {
        id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(g_nextControlId));
        g_nextControlId = g_nextControlId >= 0xFFF0 ? 100 : g_nextControlId + 1;
    }
    t_creating = this;
    HWND h = mdiChild ? CreateMDIWindowA(p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                                         p.Height, p.WndParent, inst, reinterpret_cast<LPARAM>(p.Param))
                      : CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y,
                                        p.Width, p.Height, p.WndParent, id, inst, p.Param);
    t_creating = nullptr;
    if (!h) {
        handle_ = nullptr;
        throw EInvalidOperation("Cannot create the window of '" + Name() + "' (error " +
                                std::to_string(GetLastError()) + ")");
    }
    if (!handle_) AttachHandle(h);  // a window that got no message during creation
}

void TWinControl::CreateHandleDone() {
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
    UpdateBoundsFromWindow();
    // Only the children that show get their windows now; a hidden one (a
    // page not shown, a control made visible later) gets its window when it
    // first shows or something asks for it. A form with many pages then
    // comes up without the windows of the pages it does not show.
    for (TControl* c : std::vector<TControl*>(controls_))
        if (c->IsWindowed() && c->Visible()) static_cast<TWinControl*>(c)->HandleNeeded();
    Realign();
}

void TWinControl::DestroyWnd() {
    if (handle_) {
        // Edits keep what the user typed.
        if (defWndProc_ && defWndProc_ != DefWindowProcA) {
            text_ = WindowText(handle_);
        }
        for (TControl* c : controls_)
            if (c->IsWindowed()) static_cast<TWinControl*>(c)->DestroyWnd();
        DestroyWindow(handle_);
        handle_ = nullptr;
    }
}

void TWinControl::DestroyHandle() { DestroyWnd(); }

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    DestroyHandle();
    HandleNeeded();
}

void TWinControl::SetParentWindow(HWND w) {
    if (w == parentWindow_) return;
    parentWindow_ = w;
    if (handle_ && !parent_) {
        if (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD)
            ::SetParent(handle_, w);
        else
            SetWindowLongPtrA(handle_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(w));  // the owner
    }
}

void TWinControl::InsertControl(TControl* c) {
    controls_.push_back(c);
    c->parent_ = this;
    if (c->parentFont_) {
        auto saved = c->font_.OnChange;
        c->font_.OnChange = nullptr;
        c->font_.Assign(&font_);
        c->font_.OnChange = saved;
    }
    if (c->parentColor_) c->color_ = color_;
    if (c->IsWindowed()) {
        auto* w = static_cast<TWinControl*>(c);
        if (w->handle_) {
            if (handle_)
                ::SetParent(w->handle_, handle_);
            else
                w->DestroyHandle();
        } else if (handle_ && !c->IsLoading()) {
            w->HandleNeeded();
        }
        if (w->handle_) w->UpdateEnabledTree();
    }
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(c), TRUE);
    if (c->align_ != alNone) Realign();
    c->Invalidate();
}

void TWinControl::RemoveControl(TControl* c) {
    auto it = std::find(controls_.begin(), controls_.end(), c);
    if (it == controls_.end()) return;
    c->Invalidate();
    controls_.erase(it);
    if (hoverChild_ == c) hoverChild_ = nullptr;
    if (captureChild_ == c) {
        captureChild_ = nullptr;
        if (GetCapture() == handle_) ReleaseCapture();
    }
    c->parent_ = nullptr;
    if (c->IsWindowed() && !IsDestroying()) {
        auto* w = static_cast<TWinControl*>(c);
        if (w->handle_ && !w->IsDestroying()) w->DestroyHandle();
    }
    if (!IsDestroying()) {
        Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(c), FALSE);
        if (c->align_ != alNone) Realign();
    }
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (c->IsWindowed() || !c->visible_ || (!allowDisabled && !c->enabled_)) continue;
        if (p.x >= c->left_ && p.y >= c->top_ && p.x < c->left_ + c->width_ && p.y < c->top_ + c->height_) return c;
    }
    return nullptr;
}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
    // A control read into a parent that already has its window gets one.
    if (parent_ && parent_->HandleAllocated() && !handle_) HandleNeeded();
}

void TWinControl::Realign() {
    if (IsLoading()) return;
    static thread_local int depth = 0;
    if (depth > 32) return;
    ++depth;
    RECT r = ClientRect();
    AlignControls(r);
    --depth;
}

void TWinControl::AlignControls(RECT& r) {
    // Top and bottom first, then left and right, then the client rest, each
    // in list order.
    const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign a : order)
        for (TControl* c : std::vector<TControl*>(controls_)) {
            if (c->align_ != a || !c->visible_) continue;
            int w = c->width_, h = c->height_;
            switch (a) {
                case alTop:
                    c->SetBounds(r.left, r.top, r.right - r.left, h);
                    r.top += c->height_;
                    break;
                case alBottom:
                    c->SetBounds(r.left, r.bottom - h, r.right - r.left, h);
                    r.bottom -= c->height_;
                    break;
                case alLeft:
                    c->SetBounds(r.left, r.top, w, r.bottom - r.top);
                    r.left += c->width_;
                    break;
                case alRight:
                    c->SetBounds(r.right - w, r.top, w, r.bottom - r.top);
                    r.right -= c->width_;
                    break;
                case alClient:
                    c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
                    break;
                default: break;
            }
        }
}

void TWinControl::SetTabStop(bool v) {
    if (v == tabStop_) return;
    tabStop_ = v;
    if (handle_) {
        LONG_PTR st = GetWindowLongPtrA(handle_, GWL_STYLE);
        SetWindowLongPtrA(handle_, GWL_STYLE, v ? (st | WS_TABSTOP) : (st & ~WS_TABSTOP));
    }
    Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
    if (!parent_) return -1;
    int i = 0;
    for (TControl* c : parent_->controls_) {
        if (c == this) return i;
        if (c->IsWindowed()) ++i;
    }
    return -1;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }
bool TWinControl::CanFocus() const { return Showing() && EffectiveEnabled(); }
void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, (controlStyle_ & csOpaque) ? FALSE : TRUE);
}
void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

bool TWinControl::Showing() const {
    if (handle_) return IsWindowVisible(handle_) != FALSE;
    return visible_ && parent_ && parent_->Showing();
}

std::string TWinControl::Caption() const {
    if (!handle_) return text_;
    return WindowText(handle_);
}

void TWinControl::SetBounds(int l, int t, int w, int h) {
    if (l == left_ && t == top_ && w == width_ && h == height_) return;
    if (handle_) {
        SetWindowPos(handle_, nullptr, l, t, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        // WM_MOVE / WM_SIZE brought the bounds back; a window that did not
        // answer (hidden, minimised) keeps the asked ones.
        if (!IsIconic(handle_)) UpdateBoundsFromWindow();
        if (left_ != l || top_ != t || width_ != w || height_ != h) {
            if (IsIconic(handle_)) StoreBounds(l, t, w, h);
        }
        if (parent_ && align_ != alNone) parent_->Realign();
        return;
    }
    bool sized = w != width_ || h != height_;
    StoreBounds(l, t, w, h);
    BoundsChanged();
    if (sized) {
        Realign();
        Resize();
    }
    if (parent_ && align_ != alNone) parent_->Realign();
}

void TWinControl::UpdateBoundsFromWindow() {
    if (!handle_ || IsIconic(handle_)) return;
    RECT r;
    GetWindowRect(handle_, &r);
    if (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD) {
        // The parent control's window, where there is one: asking the
        // window for it is a round trip to the server under Wine.
        HWND p = parent_ && parent_->handle_ ? parent_->handle_ : GetParent(handle_);
        if (p) MapWindowPoints(HWND_DESKTOP, p, reinterpret_cast<POINT*>(&r), 2);
    }
    bool sized = r.right - r.left != width_ || r.bottom - r.top != height_;
    bool changed = sized || r.left != left_ || r.top != top_;
    StoreBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    if (changed) BoundsChanged();
    if (sized) {
        Realign();
        Resize();
    }
}

RECT TWinControl::ClientRect() const {
    RECT r{0, 0, width_, height_};
    if (handle_) GetClientRect(handle_, &r);
    return r;
}

void TWinControl::SetVisible(bool v) {
    if (v == visible_) return;
    TControl::SetVisible(v);
    if (v && !handle_ && parent_ && parent_->handle_) HandleNeeded();
    if (handle_) {
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (v ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        Perform(CM_SHOWINGCHANGED);
    }
}

void TWinControl::SetEnabled(bool v) {
    if (v == enabled_) return;
    TControl::SetEnabled(v);
    UpdateEnabledTree();
}

void TWinControl::UpdateEnabledTree() {
    bool eff = EffectiveEnabled();
    if (handle_ && (IsWindowEnabled(handle_) != FALSE) != eff) EnableWindow(handle_, eff);
    for (TControl* c : controls_) {
        if (c->IsWindowed()) {
            auto* w = static_cast<TWinControl*>(c);
            bool before = w->handle_ ? IsWindowEnabled(w->handle_) != FALSE : true;
            w->UpdateEnabledTree();
            if (w->handle_ && before != (IsWindowEnabled(w->handle_) != FALSE)) w->Perform(CM_ENABLEDCHANGED);
        } else {
            c->Perform(CM_ENABLEDCHANGED);
        }
    }
}

void TWinControl::FontChanged() {
    if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
    for (TControl* c : controls_)
        if (c->parentFont_) c->Perform(CM_PARENTFONTCHANGED);
    Invalidate();
}

HBRUSH TWinControl::ColorBrush() {
    if (!colorBrush_ || colorBrushColor_ != color_) {
        colorBrush_.Reset(CreateSolidBrush(ColorToRGB(color_)));
        colorBrushColor_ = color_;
    }
    return colorBrush_.Get();
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    bool started = first == nullptr;
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (!started) {
            if (c != first) continue;
            started = true;
        }
        if (c->IsWindowed() || !c->visible_ || c->width_ <= 0 || c->height_ <= 0) continue;
        RECT r = c->BoundsRect();
        if (!RectVisible(dc, &r)) continue;
        // Origin and clipping come back also when the child's painting throws.
        TSavedDC saved(dc);
        POINT org;
        GetViewportOrgEx(dc, &org);
        SetViewportOrgEx(dc, org.x + c->left_, org.y + c->top_, nullptr);
        IntersectClipRect(dc, 0, 0, c->width_, c->height_);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

void TWinControl::ReflectToChild(TMessage& m, HWND child) {
    TWinControl* c = FindControl(child);
    if (c && c != this) {
        m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    } else {
        DefaultHandler(m);
    }
}

void TWinControl::RouteMouseToGraphic(TMessage& m) {
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    TControl* target = captureChild_ ? captureChild_ : ControlAtPos(p);
    if (m.Msg == WM_MOUSEMOVE && !captureChild_ && target != hoverChild_) {
        if (hoverChild_) hoverChild_->SetMouseInside(false);
        hoverChild_ = target;
        if (hoverChild_) hoverChild_->SetMouseInside(true);
    }
    if (!target) {
        TControl::WndProc(m);
        return;
    }
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
        captureChild_ = target;
        SetCapture(handle_);
    }
    bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
    LPARAM local = MAKELPARAM(static_cast<WORD>(static_cast<short>(p.x - target->left_)),
                              static_cast<WORD>(static_cast<short>(p.y - target->top_)));
    m.Result = target->Perform(m.Msg, m.WParam, local);
    if (up && captureChild_ == target && !(m.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
        captureChild_ = nullptr;
        if (GetCapture() == handle_) ReleaseCapture();
    }
}

void TWinControl::WndProc(TMessage& m) {
    if (m.Msg == WM_MOUSEMOVE && handle_ && !mouseInside_) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
        TrackMouseEvent(&t);
        SetMouseInside(true);
    } else if (m.Msg == WM_MOUSELEAVE) {
        if (hoverChild_) {
            hoverChild_->SetMouseInside(false);
            hoverChild_ = nullptr;
        }
        SetMouseInside(false);
    }
    if (IsMouseMessage(m.Msg) && !controls_.empty()) {
        bool anyGraphic = std::any_of(controls_.begin(), controls_.end(), [](TControl* c) { return !c->IsWindowed(); });
        if (anyGraphic) {
            RouteMouseToGraphic(m);
            return;
        }
    }
    TControl::WndProc(m);
}

void TWinControl::HandleMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_COMMAND:
            if (m.LParam) {
                ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
            } else if (HIWORD(m.WParam) == 0 && DispatchMenuCommand(LOWORD(m.WParam))) {
                m.Result = 0;
            } else {
                DefaultHandler(m);
            }
            return;
        case WM_NOTIFY:
            ReflectToChild(m, reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom);
            return;
        case WM_DRAWITEM: {
            auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
            if (d->CtlType != ODT_MENU)
                ReflectToChild(m, d->hwndItem);
            else if (DispatchMenuOwnerDraw(m.Msg, m.LParam))
                m.Result = TRUE;
            else
                DefaultHandler(m);
            return;
        }
        case WM_MEASUREITEM: {
            auto* d = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
            if (d->CtlType != ODT_MENU)
                ReflectToChild(m, GetDlgItem(handle_, static_cast<int>(d->CtlID)));
            else if (DispatchMenuOwnerDraw(m.Msg, m.LParam))
                m.Result = TRUE;
            else
                DefaultHandler(m);
            return;
        }
        case WM_DELETEITEM:
            ReflectToChild(m, reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam)->hwndItem);
            return;
        case WM_COMPAREITEM:
            ReflectToChild(m, reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam)->hwndItem);
            return;
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORDLG:
            ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
            return;
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
            if (m.LParam) {
                ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
                return;
            }
            break;
        case CN_CTLCOLORBTN:
        case CN_CTLCOLOREDIT:
        case CN_CTLCOLORLISTBOX:
        case CN_CTLCOLORSTATIC:
        case CN_CTLCOLORSCROLLBAR:
        case CN_CTLCOLORDLG: {
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            SetTextColor(dc, ColorToRGB(EffectiveEnabled() ? font_.Color() : clGrayText));
            SetBkColor(dc, ColorToRGB(color_));
            m.Result = reinterpret_cast<LRESULT>(ColorBrush());
            return;
        }
        case WM_PRINTCLIENT: {
            // Printing (WM_PRINT, PrintWindow) paints what WM_PAINT paints,
            // into the DC it is given.
            const TFlagScope copy(controlState_, controlState_ | csPaintCopy);
            bool graphic = std::any_of(controls_.begin(), controls_.end(),
                                       [](TControl* c) { return !c->IsWindowed() && c->Visible(); });
            if (!CustomPaint() && !graphic) break;
            Perform(WM_PAINT, m.WParam, 0);
            m.Result = 0;
            return;
        }
        case WM_PAINT: {
            bool graphic = std::any_of(controls_.begin(), controls_.end(),
                                       [](TControl* c) { return !c->IsWindowed() && c->Visible(); });
            if (!CustomPaint() && !graphic) break;
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            std::optional<TPaintGuard> paint;
            if (!dc) dc = paint.emplace(handle_).DC();
            if (CustomPaint()) {
                PaintWindow(dc);
            } else {
                TMessage dm{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
                DefaultHandler(dm);
            }
            PaintControls(dc);
            m.Result = 0;
            return;
        }
        case WM_ERASEBKGND:
            if (defWndProc_ == DefWindowProcA || defWndProc_ == nullptr) {
                if (WantsBackgroundErase()) {
                    RECT r;
                    GetClientRect(handle_, &r);
                    FillRect(reinterpret_cast<HDC>(m.WParam), &r, ColorBrush());
                }
                m.Result = 1;
                return;
            }
            break;
        case WM_SIZE:
        case WM_MOVE:
            DefaultHandler(m);
            UpdateBoundsFromWindow();
            return;
        case CM_TEXTCHANGED:
            if (handle_) {
                if (WindowText(handle_) != text_) SetWindowTextA(handle_, text_.c_str());
            }
            Invalidate();
            return;
        case WM_SETFOCUS:
            DefaultHandler(m);
            Perform(CM_ENTER);
            if (OnEnter) OnEnter(this);
            return;
        case WM_KILLFOCUS:
            DefaultHandler(m);
            Perform(CM_EXIT);
            if (OnExit) OnExit(this);
            return;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            WORD key = static_cast<WORD>(m.WParam);
            if (OnKeyDown) OnKeyDown(this, key, KeyboardStateToShiftState());
            if (key == 0) return;
            m.WParam = key;
            break;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            WORD key = static_cast<WORD>(m.WParam);
            if (OnKeyUp) OnKeyUp(this, key, KeyboardStateToShiftState());
            if (key == 0) return;
            m.WParam = key;
            break;
        }
        case WM_CHAR: {
            char ch = static_cast<char>(m.WParam);
            if (OnKeyPress) OnKeyPress(this, ch);
            if (ch == 0) return;
            m.WParam = static_cast<unsigned char>(ch);
            break;
        }
        case WM_CONTEXTMENU:
            if (popupMenu_) {
                POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
                if (p.x == -1 && p.y == -1) p = ClientToScreen(POINT{0, 0});
                popupMenu_->PopupComponent = this;
                popupMenu_->Popup(p.x, p.y);
                m.Result = 0;
                return;
            }
            break;
        case WM_SETCURSOR:
            if (LOWORD(m.LParam) == HTCLIENT && reinterpret_cast<HWND>(m.WParam) == handle_) {
                TCursor c = hoverChild_ && hoverChild_->Cursor() != crDefault ? hoverChild_->Cursor() : cursor_;
                if (c != crDefault) {
                    static const struct {
                        TCursor c;
                        LPCSTR id;
                    } kMap[] = {{crArrow, IDC_ARROW},   {crCross, IDC_CROSS},       {crIBeam, IDC_IBEAM},
                                {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS}, {crSizeNWSE, IDC_SIZENWSE},
                                {crSizeWE, IDC_SIZEWE}, {crUpArrow, IDC_UPARROW},   {crHourGlass, IDC_WAIT},
                                {crNo, IDC_NO},         {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
                                {crHandPoint, IDC_HAND}, {crSizeAll, IDC_SIZEALL}};
                    for (const auto& e : kMap)
                        if (e.c == c) {
                            ::SetCursor(LoadCursorA(nullptr, e.id));
                            m.Result = TRUE;
                            return;
                        }
                    if (c == crNone) {
                        ::SetCursor(nullptr);
                        m.Result = TRUE;
                        return;
                    }
                }
            }
            break;
        default:
            break;
    }
    TControl::HandleMessage(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (m.Msg >= CM_BASE && m.Msg < CN_BASE + 0x400) {
        // Framework notifications never reach the native procedure.
        m.Result = 0;
        return;
    }
    if (!handle_) {
        m.Result = 0;
        return;
    }
    m.Result = CallWindowProcA(defWndProc_ ? defWndProc_ : DefWindowProcA, handle_, m.Msg, m.WParam, m.LParam);
}

// --- graphic and custom controls ------------------------------------------

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}
TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::HandleMessage(TMessage& m) {
    if (m.Msg == WM_PAINT) {
        if (m.WParam) {
            TCanvasLease lease(canvas_, reinterpret_cast<HDC>(m.WParam));
            canvas_.Font()->Assign(&font_);
            canvas_.Brush()->SetColor(color_);
            canvas_.Pen()->SetColor(font_.Color());
            Paint();
        }
        m.Result = 0;
        return;
    }
    TControl::HandleMessage(m);
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) { clickOnMouseUp_ = true; }
TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc) {
    TCanvasLease lease(canvas_, dc);
    canvas_.Font()->Assign(&font_);
    canvas_.Brush()->SetColor(color_);
    Paint();
}

// --- utility windows ------------------------------------------------------

namespace {
struct UtilWindow : TObject {
    explicit UtilWindow(std::function<LRESULT(UINT, WPARAM, LPARAM)> m) : method(std::move(m)) {}
    std::function<LRESULT(UINT, WPARAM, LPARAM)> method;
    // Messages of this window being handled now (a method may destroy its
    // own window), and whether the window is gone.
    int depth = 0;
    bool destroyed = false;
};
LRESULT CALLBACK UtilWndProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    auto* u = dynamic_cast<UtilWindow*>(WindowObject(h));
    if (!u) return DefWindowProcA(h, m, w, l);
    LRESULT result = 0;
    ++u->depth;
    try {
        result = u->method ? u->method(m, w, l) : DefWindowProcA(h, m, w, l);
    } catch (const std::exception& e) {
        HandleException(&e);
    } catch (...) {
        HandleException(nullptr);
    }
    --u->depth;
    if (m == WM_NCDESTROY) {
        UnbindWindow(h);
        u->destroyed = true;
    }
    // The method goes with the window, once no call of it is still running.
    if (u->destroyed && u->depth == 0) delete u;
    return result;
}
}  // namespace

HWND AllocateHWnd(std::function<LRESULT(UINT, WPARAM, LPARAM)> method, TUtilWindowKind kind) {
    static bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = UtilWndProc;
        wc.cbWndExtra = sizeof(LONG_PTR);  // the binding
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TPUtilWindow";
        return RegisterClassExA(&wc) != 0;
    }();
    (void)registered;
    HWND parent = kind == TUtilWindowKind::MessageOnly ? HWND_MESSAGE : nullptr;
    HWND h = CreateWindowExA(WS_EX_TOOLWINDOW, "TPUtilWindow", "", WS_POPUP, 0, 0, 0, 0, parent, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    if (!h) throw EInvalidOperation("Cannot create a utility window");
    auto u = std::make_unique<UtilWindow>(std::move(method));
    if (!BindWindow(h, u.get())) {
        DestroyWindow(h);
        throw EInvalidOperation("Cannot create a utility window");
    }
    (void)u.release();  // the window's now: freed when it is destroyed
    return h;
}

void DeallocateHWnd(HWND wnd) {
    if (wnd) DestroyWindow(wnd);
}

}  // namespace kova
