// Forms, the application object and the screen.
#pragma once

#include "framework/controls.h"
#include "framework/dialogs.h"
#include "framework/menus.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kova {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : std::uint32_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = std::uint32_t;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// A scrolling container whose children can be added at run time; the
// scroll range follows the children.
class TScrollingWinControl : public TWinControl {
    KOVA_CLASS(TScrollingWinControl, TWinControl)
public:
    explicit TScrollingWinControl(TComponent* AOwner);
    int VertScrollPos() const { return scrollY_; }
    int HorzScrollPos() const { return scrollX_; }
    void ScrollBy(int dx, int dy);
    void ScrollInView(TControl* c);
    void UpdateScrollBars();
    // After the content moved (a scroll bar, the wheel, ScrollBy or the
    // range shrinking under the position): owners that make controls only
    // for what is in view place them here.
    TNotifyEvent OnScroll;

    // While one lives, children added, moved or sized leave the scroll
    // range alone; the last one to go sets it once. Rows of controls made
    // by the hundred would otherwise set and redraw both scroll bars once
    // per control.
    class TAutoRangeHold {
    public:
        explicit TAutoRangeHold(TScrollingWinControl& box) : box_(box) { ++box_.autoRangeHolds_; }
        ~TAutoRangeHold() {
            if (--box_.autoRangeHolds_ == 0) box_.UpdateScrollBars();
        }
        TAutoRangeHold(const TAutoRangeHold&) = delete;
        TAutoRangeHold& operator=(const TAutoRangeHold&) = delete;

    private:
        TScrollingWinControl& box_;
    };

protected:
    void HandleMessage(TMessage& m) override;
    bool autoScroll_ = true;
    int scrollX_ = 0, scrollY_ = 0;

private:
    int autoRangeHolds_ = 0;
};

class TScrollBox : public TScrollingWinControl {
    KOVA_CLASS(TScrollBox, TScrollingWinControl)
public:
    explicit TScrollBox(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& p) override;
};

// The description of a form or frame class: the text file compiled into
// the executable as an RCDATA resource named after the class; empty when
// there is none.
std::string ClassDescription(const std::string& className);
// Reads the description of the root's class into the root (a form or a
// frame), leniently: what was skipped goes to the debugger's output (tests
// read strictly and fail on it instead). A root that binds fields or
// handlers but has no description throws EFormReadError: its resource did
// not reach the executable.
void ReadClassDescription(TComponent* root);

// Constructs an F and runs its AfterConstruction (its description read);
// an F that fails there is freed and the failure passed on.
template <class F, class... Args>
F* ConstructAndRead(TComponent* owner, Args&&... args) {
    F* f = new F(owner, std::forward<Args>(args)...);
    try {
        f->AfterConstruction();
    } catch (...) {
        f->Free();
        throw;
    }
    return f;
}

// A group of controls placed on a form as one control, owning its
// children; the skinning finds the frame a control belongs to.
class TCustomFrame : public TScrollingWinControl {
    KOVA_CLASS(TCustomFrame, TScrollingWinControl)
public:
    explicit TCustomFrame(TComponent* AOwner) : TScrollingWinControl(AOwner) {}

    // Creates a frame of class F (the arguments after the owner go to its
    // constructor), then reads the description of its class as a form's is
    // read. The way to make a frame that has a description.
    template <class F, class... Args>
    static F* Create(TComponent* owner, Args&&... args) {
        return ConstructAndRead<F>(owner, std::forward<Args>(args)...);
    }
    // Reads the frame's description (ReadClassDescription).
    virtual void AfterConstruction();
};

// A reusable group of controls placed on forms as one control: it holds
// them, scrolls them when they do not fit, and shows the face colour.
class TFrame : public TCustomFrame {
    KOVA_CLASS(TFrame, TCustomFrame)
public:
    explicit TFrame(TComponent* AOwner);
};

class TCustomForm : public TScrollingWinControl {
    KOVA_CLASS_PROPS(TCustomForm, TScrollingWinControl)
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    // Creates a form of class F: constructor, the description of its class
    // (if any), then OnCreate. The way to make every form.
    template <class F>
    static F* Create(TComponent* owner) {
        return ConstructAndRead<F>(owner);
    }
    // Reads the form's description and runs OnCreate. A form that binds
    // fields or handlers but has no description throws: its resource did
    // not reach the executable.
    virtual void AfterConstruction();
    // The description of this form class (ClassDescription).
    std::string FormDescription() const;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons v);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle v);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState v);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition v) { position_ = v; }
    TIcon* Icon() { return &icon_; }
    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool v);
    int AlphaBlendValue() const { return alphaValue_; }
    void SetAlphaBlendValue(int v);
    bool TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(bool v);
    TColor TransparentColorValue() const { return transparentColorValue_; }
    void SetTransparentColorValue(TColor c);
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* m);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool v) { keyPreview_ = v; }
    TCanvas* Canvas() { return &canvas_; }

    // An MDI main form's client window, the parent of its MDI children
    // (nullptr for other forms and before the window exists).
    HWND ClientHandle() const { return clientHandle_; }
    // The MDI children of an MDI main form, in the client's order (the top
    // one first), and the active one (nullptr for none).
    int MDIChildCount() const;
    TCustomForm* MDIChildren(int i) const;
    TCustomForm* ActiveMDIChild() const;

    int ModalResult() const { return modalResult_; }
    void SetModalResult(int v) { modalResult_ = v; }
    bool Modal() const { return inModal_; }
    bool Active() const;

    void Show();
    void Hide() { SetVisible(false); }
    void Close();
    // Runs the form modally (through the dialog seam when one is
    // installed) and returns ModalResult.
    virtual int ShowModal();
    // Frees the form once the current message is done.
    void Release();
    bool CloseQuery();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnPaint;

    void SetVisible(bool v) override;
    bool Showing() const override;
    // Before the window exists: the size less the frame the window will get.
    RECT ClientRect() const override;
    bool HasParent() const override { return false; }
    // A client size read from a description is applied once all
    // properties (the border style among them) are known.
    void Loaded() override;

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateHandleDone() override;
    void DestroyWnd() override;
    void HandleMessage(TMessage& m) override;
    // An MDI main form's and an MDI child's messages end in the system's MDI
    // procedures instead of the plain default one.
    void DefaultHandler(TMessage& m) override;
    // The MDI client fills what the aligned controls leave.
    void AlignControls(RECT& r) override;
    void PaintWindow(HDC dc) override;
    bool CustomPaint() const override { return static_cast<bool>(OnPaint); }
    void BeforeDestruction() override;
    void Notification(TComponent* c, TOperation op) override;
    void ApplyLayered();
    void PlaceByPosition();

private:
    static void DefineProps(TPropList& L);
    // An MDI main form's bar built again with the active child's menu
    // merged in (unless forced, only when that changed).
    void MergeMDIChildMenu(bool force = false);
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    TPosition position_ = poDesigned;
    TIcon icon_;
    bool alphaBlend_ = false;
    int alphaValue_ = 255;
    bool transparentColor_ = false;
    TColor transparentColorValue_ = clBlack;
    TMainMenu* menu_ = nullptr;
    HWND clientHandle_ = nullptr;
    bool keyPreview_ = false;
    TCanvas canvas_;
    int modalResult_ = mrNone;
    bool inModal_ = false;
    bool placed_ = false;
    bool releasing_ = false;
    int pendingClientWidth_ = -1, pendingClientHeight_ = -1;
};

class TForm : public TCustomForm {
    KOVA_CLASS(TForm, TCustomForm)
public:
    using TCustomForm::TCustomForm;
};

struct TMonitor {
    int MonitorNum = 0;
    bool Primary = false;
    RECT BoundsRect{};
    RECT WorkareaRect{};
    int Left() const { return BoundsRect.left; }
    int Top() const { return BoundsRect.top; }
    int Width() const { return BoundsRect.right - BoundsRect.left; }
    int Height() const { return BoundsRect.bottom - BoundsRect.top; }
};

class TScreen : public TComponent {
    KOVA_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* owner) : TComponent(owner) {}
    // Re-read on every call: monitors come and go.
    int MonitorCount() const;
    TMonitor Monitors(int i) const;
    TMonitor MonitorFromPoint(POINT p) const;
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    RECT WorkAreaRect() const;
    RECT DesktopRect() const;
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int i) const { return forms_.at(static_cast<size_t>(i)); }
    TCustomForm* ActiveForm() const;
    // The cursor shown over every window of the program (crDefault: each
    // control's own).
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);

private:
    std::vector<TCustomForm*> forms_;
    TCursor cursor_ = crDefault;
    friend class TCustomForm;
};

class TApplication : public TComponent {
    KOVA_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // The hidden application window.
    HWND Handle() const { return handle_; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& t);
    TCustomForm* MainForm() const { return mainForm_; }
    bool ShowMainForm = true;

    // Creates a form (owned by the application); the first one becomes the
    // main form.
    template <class F>
    void CreateForm(F*& ref) {
        ref = TCustomForm::Create<F>(this);
        if (!mainForm_) mainForm_ = ref;
    }
    // Runs the message loop until Terminate (closing the main form).
    void Run();
    // Handles every waiting message, then returns.
    void ProcessMessages();
    // Waits for and handles one message.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return terminated_; }
    void Minimize();
    void Restore();
    // Shows an error text (through the dialog seam).
    void ShowException(const std::string& text);

    std::string ExeName() const;
    int ParamCount() const;
    std::string ParamStr(int index) const;

    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    std::function<void(TObject*, const std::string&)> OnException;

    // Hooks see every message of the application window before it is
    // handled, in the order they were added; one that returns true has
    // handled it (its Result is the answer). Each hook is known by its
    // owner, which removes it before it goes.
    using TWindowHook = std::function<bool(TMessage&)>;
    void HookMainWindow(const void* owner, TWindowHook hook);
    void UnhookMainWindow(const void* owner);

private:
    bool ProcessMessage(MSG& msg);
    std::vector<std::pair<const void*, TWindowHook>> hooks_;
    HWND handle_ = nullptr;
    std::string title_;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    friend class TCustomForm;
};

// Handles the thread's messages for up to `ms` milliseconds, sooner once
// `done` holds (asked after every round of messages) or the application
// was told to end; between rounds it sleeps until a message arrives. True
// when `done` held.
bool WaitWithMessages(DWORD ms, const std::function<bool()>& done = {});

// The program's application and screen objects (created on first use).
TApplication* Application();
TScreen* Screen();
// Frees both (end of the program; tests).
void FinalizeApplication();

// Registers every framework component class for form descriptions.
void RegisterFrameworkClasses();

}  // namespace kova
