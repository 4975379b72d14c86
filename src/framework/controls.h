// Controls over native windows. Every message of a control passes through
// its replaceable `WindowProc` (get it, wrap it, restore it) before the
// control's own handling; handlers are bound by message number. A windowed
// control is bound to its window before WM_NCCREATE, so even the first
// messages (WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE) reach WindowProc.
// Graphic (windowless) controls are painted by their parent with WM_PAINT
// carrying the DC in wParam. Child notifications (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM ...) are reflected to the child as CN_* messages.
#pragma once

#include "framework/graphics.h"
#include "framework/portable/component.h"

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kova {

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};
using TWndMethod = std::function<void(TMessage&)>;

// Framework notifications.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0, CM_DEACTIVATE = CM_BASE + 1, CM_GOTFOCUS = CM_BASE + 2,
               CM_LOSTFOCUS = CM_BASE + 3, CM_CANCELMODE = CM_BASE + 4, CM_DIALOGKEY = CM_BASE + 5,
               CM_DIALOGCHAR = CM_BASE + 6, CM_FOCUSCHANGED = CM_BASE + 7, CM_PARENTFONTCHANGED = CM_BASE + 8,
               CM_PARENTCOLORCHANGED = CM_BASE + 9, CM_HITTEST = CM_BASE + 10, CM_VISIBLECHANGED = CM_BASE + 11,
               CM_ENABLEDCHANGED = CM_BASE + 12, CM_COLORCHANGED = CM_BASE + 13, CM_FONTCHANGED = CM_BASE + 14,
               CM_CURSORCHANGED = CM_BASE + 15, CM_TEXTCHANGED = CM_BASE + 18, CM_MOUSEENTER = CM_BASE + 19,
               CM_MOUSELEAVE = CM_BASE + 20, CM_MENUCHANGED = CM_BASE + 21, CM_BUTTONPRESSED = CM_BASE + 24,
               CM_SHOWINGCHANGED = CM_BASE + 25, CM_ENTER = CM_BASE + 26, CM_EXIT = CM_BASE + 27,
               CM_ICONCHANGED = CM_BASE + 29, CM_RELEASE = CM_BASE + 33, CM_SHOWHINTCHANGED = CM_BASE + 34,
               CM_TABSTOPCHANGED = CM_BASE + 40, CM_CONTROLLISTCHANGE = CM_BASE + 44, CM_RECREATEWND = CM_BASE + 51,
               CM_INVALIDATE = CM_BASE + 52, CM_CONTROLCHANGE = CM_BASE + 54, CM_CHANGED = CM_BASE + 55,
               CM_BORDERCHANGED = CM_BASE + 59;
// Reflected child notifications: CN_BASE + the original message number.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM, CN_COMMAND = CN_BASE + WM_COMMAND,
               CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM, CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
               CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG, CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
               CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX, CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR,
               CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC, CN_DELETEITEM = CN_BASE + WM_DELETEITEM,
               CN_DRAWITEM = CN_BASE + WM_DRAWITEM, CN_HSCROLL = CN_BASE + WM_HSCROLL,
               CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM, CN_NOTIFY = CN_BASE + WM_NOTIFY,
               CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM, CN_VSCROLL = CN_BASE + WM_VSCROLL;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
// Where a button's glyph stands against its caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TShiftFlag : std::uint32_t {
    ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64
};
using TShiftState = std::uint32_t;
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

class TWinControl;
class TPopupMenu;
class TCustomForm;

// What kind of control it is (ControlStyle). Bit values are those that
// skinning code saves and compares.
enum TControlStyleFlag : std::uint32_t {
    csAcceptsControls = 1u << 0,  // a container: other controls are placed on it
    csOpaque = 1u << 6,           // it covers its whole area: nothing under it is erased first
};
using TControlStyle = std::uint32_t;

// What the control is going through now (ControlState).
enum TControlStateFlag : std::uint32_t {
    csReadingState = 1u << 3,  // its description is being read
    csCreating = 1u << 6,      // its window (a form: the form with its description) is being made
    csPaintCopy = 1u << 7,     // it is painted into somebody else's DC (printing)
    csCustomPaint = 1u << 8,   // it paints itself, set by the control meanwhile
};
using TControlState = std::uint32_t;

class EInvalidOperation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TControl : public TComponent {
    KOVA_CLASS_PROPS(TControl, TComponent)
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // Every message goes through WindowProc: replace it to listen in, call
    // the saved one to pass a message on, assign the saved one to restore.
    TWndMethod WindowProc;
    // The framework's handling that WindowProc starts with.
    virtual void WndProc(TMessage& m);
    // Sends a message straight to WindowProc; returns its Result.
    LRESULT Perform(UINT msg, WPARAM w = 0, LPARAM l = 0);
    // Binds a handler to a message number (after the framework's own
    // preprocessing in WndProc). The handler can call Inherited(m) for the
    // framework's default handling of that message.
    void BindMessage(UINT msg, TWndMethod handler);
    void Inherited(TMessage& m) { HandleMessage(m); }

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* p);
    TCustomForm* ParentForm() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int l, int t, int w, int h);
    RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
    void SetBoundsRect(const RECT& r) { SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); }
    virtual RECT ClientRect() const { return RECT{0, 0, width_, height_}; }
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }
    void SetClientWidth(int w) { SetWidth(width_ + w - ClientWidth()); }
    void SetClientHeight(int h) { SetHeight(height_ + h - ClientHeight()); }
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible up to a shown top-level window.
    virtual bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);
    // Enabled here and in every parent.
    bool EffectiveEnabled() const;
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont* Font() { return &font_; }
    void SetFont(TObject* f);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    virtual std::string Caption() const { return text_; }
    virtual void SetCaption(const std::string& v);
    std::string Text() const { return Caption(); }
    void SetText(const std::string& v) { SetCaption(v); }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& v) { hint_ = v; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign a);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* m);
    bool MouseInControl() const { return mouseInside_; }
    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle s) { controlStyle_ = s; }
    // The stored bits and csReadingState while the description is read.
    TControlState ControlState() const;
    void SetControlState(TControlState s) { controlState_ = s; }

    virtual void Invalidate();
    virtual void Update();
    void Repaint() { Invalidate(); Update(); }
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();
    virtual bool IsWindowed() const { return false; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnResize;

    bool HasParent() const override { return true; }
    void SetParentComponent(TComponent* p) override;
    TComponent* GetParentComponent() const override;

protected:
    // The framework's handlers, by message number; the bottom of the chain
    // is DefaultHandler (the native window procedure).
    virtual void HandleMessage(TMessage& m);
    virtual void DefaultHandler(TMessage& m);
    void Dispatch(TMessage& m);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton b, TShiftState s, int x, int y);
    virtual void MouseUp(TMouseButton b, TShiftState s, int x, int y);
    virtual void MouseMove(TShiftState s, int x, int y);
    virtual void Resize();
    virtual void FontChanged();
    virtual void BoundsChanged() {}
    void Notification(TComponent* c, TOperation op) override;
    void BeforeDestruction() override;
    void SetMouseInside(bool inside);
    // Bounds as stored, without moving any window.
    void StoreBounds(int l, int t, int w, int h);
    void InvalidateParentArea();

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    bool parentFont_ = true;
    std::string text_;
    std::string hint_;
    bool showHint_ = false;
    TAlign align_ = alNone;
    TCursor cursor_ = crDefault;
    TPopupMenu* popupMenu_ = nullptr;
    bool mouseInside_ = false;
    bool mouseCaptured_ = false;
    TControlStyle controlStyle_ = 0;
    TControlState controlState_ = 0;
    // OnClick from a left button release inside the control (graphic and
    // custom-drawn controls, edits); native buttons click by notification.
    bool clickOnMouseUp_ = true;
    TFont font_;

private:
    static void DefineProps(TPropList& L);
    std::map<UINT, TWndMethod> boundHandlers_;
    friend class TWinControl;
    friend class TScrollingWinControl;
};

// Parameters a windowed control's window is created with; subclasses
// adjust them in CreateParams.
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSEXA WindowClass{};
    std::string WinClassName;
};

class TWinControl : public TControl {
    KOVA_CLASS_PROPS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // Created on first use (with the parents' windows).
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys the window (kept state is reapplied when it is made again).
    void DestroyHandle();
    void RecreateWnd();
    // A native window to act as parent when there is no parent control.
    HWND ParentWindow() const { return parentWindow_; }
    void SetParentWindow(HWND w);

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int i) const { return controls_.at(static_cast<size_t>(i)); }
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    TControl* ControlAtPos(POINT p, bool allowDisabled = false) const;
    // Lays out the children by their Align.
    void Realign();
    void Loaded() override;

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v);
    int TabOrder() const;
    bool Focused() const;
    bool CanFocus() const;
    virtual void SetFocus();

    void Invalidate() override;
    void Update() override;
    bool IsWindowed() const override { return true; }
    bool Showing() const override;
    std::string Caption() const override;
    void SetBounds(int l, int t, int w, int h) override;
    void SetVisible(bool v) override;
    void SetEnabled(bool v) override;
    RECT ClientRect() const override;
    // Paints the graphic children into the DC (WM_PAINT with the DC in
    // wParam to each).
    void PaintControls(HDC dc, TControl* first = nullptr);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // The control whose window this is (nullptr for foreign windows).
    static TWinControl* FindControl(HWND wnd);

protected:
    virtual void CreateParams(TCreateParams& p);
    virtual void CreateWnd();
    // After the window exists: font, text, children.
    virtual void CreateHandleDone();
    virtual void DestroyWnd();
    // Uses a native window class (EDIT, BUTTON ...) under the framework
    // class name; the native procedure becomes DefaultHandler's target.
    void CreateSubClass(TCreateParams& p, const char* nativeClass);
    void HandleMessage(TMessage& m) override;
    void DefaultHandler(TMessage& m) override;
    void WndProc(TMessage& m) override;
    virtual void PaintWindow(HDC dc);
    // Whether WM_PAINT is ours (custom drawn or with graphic children) or
    // the native control's.
    virtual bool CustomPaint() const { return false; }
    void FontChanged() override;
    void UpdateBoundsFromWindow();
    virtual void AlignControls(RECT& r);
    void UpdateEnabledTree();
    // Brush for WM_CTLCOLOR* answers, in the control's Color.
    HBRUSH ColorBrush();
    virtual bool WantsBackgroundErase() const { return true; }
    bool reflectedKeyDone_ = false;

    HWND handle_ = nullptr;
    HWND parentWindow_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    std::vector<TControl*> controls_;
    bool tabStop_ = false;
    TControl* hoverChild_ = nullptr;
    TControl* captureChild_ = nullptr;
    TGdiObject<HBRUSH> colorBrush_;
    TColor colorBrushColor_ = clNone;

private:
    static void DefineProps(TPropList& L);
    static LRESULT CALLBACK InitWndProc(HWND h, UINT m, WPARAM w, LPARAM l);
    void AttachHandle(HWND h);
    void RouteMouseToGraphic(TMessage& m);
    void ReflectToChild(TMessage& m, HWND child);
    friend struct WinControlAccess;
    friend class TControl;
};

// A windowless control painted by its parent.
class TGraphicControl : public TControl {
    KOVA_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() { return &canvas_; }

protected:
    void HandleMessage(TMessage& m) override;
    virtual void Paint() {}
    TCanvas canvas_;
};

// A windowed control that paints itself on its Canvas.
class TCustomControl : public TWinControl {
    KOVA_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() { return &canvas_; }

protected:
    void PaintWindow(HDC dc) override;
    bool CustomPaint() const override { return true; }
    virtual void Paint() {}
    TCanvas canvas_;
};

// The one way a framework object is bound to its window (a control to its
// window, a utility window's method to it): a pointer in the window's extra
// bytes, which the framework's window classes reserve after the native
// class's own (a window of any other class cannot be bound). The window
// procedures that bind remove the binding at WM_NCDESTROY, so a destroyed
// window never leads to its object, however it was destroyed.
bool BindWindow(HWND wnd, TObject* object);
void UnbindWindow(HWND wnd);
// The object bound to the window, or nullptr (foreign windows too).
TObject* WindowObject(HWND wnd);

// Which window AllocateHWnd makes.
enum class TUtilWindowKind {
    // For messages only (a timer's): no place among the screen's windows
    // and no broadcasts. Cheap to make: under Wine every top-level window,
    // hidden or not, is also a window of the display server, made at start.
    MessageOnly,
    // A hidden top-level window (the application's, which owns the forms
    // and pop-up menus and stands for the program on the taskbar).
    TopLevel,
};
// A hidden window for components that need messages (timers, the
// application): messages go to the given method. The window owns the
// method: it goes when the window is destroyed, by DeallocateHWnd or
// otherwise (even from within the method itself).
HWND AllocateHWnd(std::function<LRESULT(UINT, WPARAM, LPARAM)> method,
                  TUtilWindowKind kind = TUtilWindowKind::MessageOnly);
void DeallocateHWnd(HWND wnd);

TShiftState KeysToShiftState(WPARAM keys);
// An exception thrown out of a message handler ends here (it must not
// cross the native window procedure); the application shows it.
void HandleException(const std::exception* e);
void SetExceptionHandler(std::function<void(const std::string&)> handler);
// Menu commands (WM_COMMAND from a menu) go to the menu item with that id.
bool DispatchMenuCommand(UINT id);
TShiftState KeyboardStateToShiftState();

}  // namespace kova
