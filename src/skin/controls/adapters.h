// Window adapters: one object per skinned window handle that skins a window
// the program did not make as a skinned control (a native child of a
// system dialog, a framework control on a skinned form, a popup-menu
// window, an MDI client, the edit inside a combo box). The adapter chains
// itself into the window's messages, answers the skin command message for
// the window, paints what the skin says and hands everything else to the
// procedure below it. It is found from its window only through the window
// property "ACSBSC".
//
// The chain is the framework's subclass (comctl32's own chain for native
// windows, the replaceable WindowProc for framework controls): an adapter
// leaves it in any order, other procedures chained over it keep working,
// and once it has left (or is freed) the window no longer calls it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/controls.h"
#include "framework/subclass.h"
#include "skin/core/commondata.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/skinmanager.h"

namespace kova::skin {

// The window property that holds a window's adapter.
inline constexpr const char* kAdapterProp = "ACSBSC";

// Inherited by the adapter made next (the combo box hands its own to the
// adapter of its edit); normally 0.
extern std::uint8_t InheritedInDialog;

class TacMainWnd : public TObject {
    KOVA_CLASS(TacMainWnd, TObject)
public:
    // The first half of making an adapter; CreateAdapter does both.
    // Without a skin record of its own the adapter makes one (with a cache
    // bitmap) whose section is `section`.
    TacMainWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    // Leaves the window first when still attached: the window is never left
    // calling a freed adapter.
    ~TacMainWnd() override;
    TacMainWnd(const TacMainWnd&) = delete;
    TacMainWnd& operator=(const TacMainWnd&) = delete;

    // The second half: visual styles off, the standard look saved, the
    // adapter chained into the window, the owner control marked opaque.
    void Start(bool repaint);

    bool InDialog = false;
    std::string WindowText;
    RECT WindowRect{};
    SIZE WindowSize{};
    POINT PosInParent{};
    RECT ParentWindowRect{};
    HWND ParentHandle = nullptr;
    TControlStyle SavedControlStyle = 0;
    HWND WindowHandle = nullptr;
    TsSkinManager* Manager = nullptr;
    TsCommonData* CommonData = nullptr;
    bool SelfChange = false;
    bool ParamsApplied = false;
    TColor SavedColor = 0;
    TColor SavedFontColor = 0;
    bool Detached = false;
    // The window is going (WM_DESTROY came) while the adapter serves it.
    bool WindowGoing = false;
    bool OwnsCommonData = false;
    // The window keeps its visual styles while adapted (popup-menu windows).
    bool KeepsVisualStyles = false;

    virtual void SaveStdParams() {}
    virtual void RestoreStdParams() {}
    virtual void SetSkinParams() { ParamsApplied = true; }
    virtual void WndProc(TMessage& m);

    // Leaves the window: out of its message chain, "ACSBSC" removed, the
    // standard look back (colours, visual styles, the owner's control
    // style), the frame refreshed when the window is visible (with
    // SetWindowPos when repaintFrame). Nothing when already Detached.
    virtual void Detach(bool repaintFrame);

    // The procedure below this adapter's answer (0 when not attached).
    LRESULT CallPrevWndProc(UINT msg, WPARAM w, LPARAM l);
    void CallPrevWndProc(TMessage& m);

    // The manager serving the record, when a skin is loaded and applied.
    TsSkinManager* ActiveManager() const;

protected:
    // Chains the adapter into the window (the scroll adapter sets up its
    // bars first).
    virtual void AttachTo(bool repaint);
    // The root's answers; false when the message goes on to the general
    // path.
    bool HandleRootMessage(TMessage& m);
    // The root's answers to the command message for a skinned record;
    // false: pass it on.
    bool HandleRootCommand(TMessage& m);
    // Whether the adapter still lives after something that may have freed
    // it (a message passed on, a message sent).
    class TLife {
    public:
        explicit TLife(const std::shared_ptr<bool>& alive) : alive_(alive) {}
        bool Alive() const { return *alive_; }

    private:
        std::shared_ptr<bool> alive_;
    };
    TLife Life() const { return TLife(alive_); }
    // Leaves the chain, the property, the look (the owner's control style
    // loses only the opaque bit the adapter added); shared by Detach and the
    // destructor.
    void Unhook();

    TWindowSubclass Subclass;
    friend void AttachAdapter(TacMainWnd& adapter, HWND wnd);

private:
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::unique_ptr<TsCommonData> ownData_;
    // Hears the framework's free notification of the owner control: a
    // control freed before its adapter leaves the record without an owner,
    // so nothing later reaches the freed control.
    std::unique_ptr<TComponent> ownerWatch_;
    bool themeSwitchedOff_ = false;
    bool opaqueAdded_ = false;
};

// Makes an adapter of class T on a window and attaches it.
template <class T>
std::unique_ptr<T> CreateAdapter(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                 const std::string& section, bool repaint = true) {
    auto a = std::make_unique<T>(wnd, skinData, manager, section);
    a->Start(repaint);
    return a;
}

// Hooks the adapter into the window and names it in "ACSBSC": a native
// window through its subclass chain, a provider's form or a control that
// owns the record through its WindowProc.
void AttachAdapter(TacMainWnd& adapter, HWND wnd);

// The window's adapter (its "ACSBSC" property), nullptr for none.
TacMainWnd* FindAdapter(HWND wnd);

// Unhooks the adapter (nothing for none or one already Detached); with
// freeAdapter it is also freed and the pointer cleared.
template <class T>
void DetachAdapter(bool freeAdapter, bool repaintFrame, std::unique_ptr<T>& adapter) {
    if (!adapter) return;
    adapter->Detach(repaintFrame);
    if (freeAdapter) adapter.reset();
}

// A published colour property of an object by its name: written when the
// object has it; read (RGB) or 0 when it has not.
void SetColorProp(TObject* obj, const std::string& name, TColor value);
TColor GetColorProp(TObject* obj, const std::string& name);

// The frame recomputed and repainted: SetWindowPos with SWP_FRAMECHANGED
// when useSetWindowPos, else WM_NCPAINT.
void RefreshFrame(HWND wnd, bool useSetWindowPos);
// For an adapter that paints everything on erase: the whole window marked
// for erasing, then validated between BeginPaint and EndPaint (which sends
// the erase).
void PaintAllOnErase(HWND wnd);
// The window's and its parent's rectangles (screen), size and the window's
// place in the parent's client area.
void GetWndGeometry(HWND wnd, HWND& parent, RECT& windowRect, POINT& posInParent, SIZE& windowSize,
                    RECT& parentWindowRect);
// A font of the system's non-client metrics: 1 caption, 2 small caption,
// 3 menu, 4 status, 5 message; null when the system does not tell.
TGdiObject<HFONT> GetNonClientFont(int kind);
// Fills r of dest with what lies under the window there (the parent's
// image at the window's offset, else the parent's colour; the skin's
// GLOBALINFO colour for a parent that does not know the skin). Pixel (x, y)
// of dest stands for the window's point (x + origin.x, y + origin.y).
void FillFromParentBackground(Bitmap32& dest, const RECT& r, POINT origin, const TsParentImageInfo& bg,
                              const TsSkinModel& skin);
// How a record's caption is painted: its section, hue and saturation in
// the skin, hot or not.
TControlTextStyle RecordTextStyle(const TsSkinModel& skin, const TsCommonData& data, bool hot);
// The command to the children: with a control, to its control tree; else
// to the direct child windows.
void PassCommandToChildren(TControl* control, HWND wnd, TMessage& m);
// The record's look has a hot state (more than one border image or two
// section states).
bool HasHotState(const TsCommonData& data);
// Sub-code 25 to the window's top-level window.
void NotifyTopWindow(HWND wnd);
// The cache of a native window's record rebuilt from its skin over its
// parent's background when the background changed.
void UpdateWndCache(TsCommonData& data, HWND wnd, bool inDialog);
// The transparent pixels of the record's border mask in the four border
// strips of the cache replaced by the parent's background there.
void FillBorderCorners(TsCommonData& data, TacMainWnd& adapter);

// A record's control kept in step with the skin: skinned, its adapter
// (one of T) exists and is attached; not skinned, none. The scroll variant
// waits while the control is loading or being destroyed.
class TacScrollWnd;
void UpdateScrollAdapter(TsCommonData& data, std::unique_ptr<TacScrollWnd>& adapter);
// The same for the edit adapter, made by EditAdapterMaker (the edit
// adapter; replaceable).
using TEditAdapterMaker = std::function<std::unique_ptr<TacScrollWnd>(TsCommonData& data)>;
TEditAdapterMaker& EditAdapterMaker();
void UpdateEditAdapter(TsCommonData& data, std::unique_ptr<TacScrollWnd>& adapter);

}  // namespace kova::skin
