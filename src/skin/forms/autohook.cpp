// The automatic skinning: the thread hook's decisions, the providers it
// makes and the child-adapter factory for system dialogs.
#include "skin/forms/autohook.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "framework/portable/scope.h"
#include "framework/windowtext.h"
#include "skin/controls/btnwnd.h"
#include "skin/controls/combownd.h"
#include "skin/controls/editwnd.h"
#include "skin/controls/listwnd.h"
#include "skin/controls/portable/smallgeometry.h"
#include "skin/controls/smallctrls.h"
#include "skin/controls/tabwnd.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/core/skinstate.h"
#include "skin/forms/dlgwnd.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/mnuwnd.h"
#include "skin/forms/provider.h"

namespace kova::skin {

namespace {

// Set while children are being adapted: the messages adapters send while
// they attach must not start another walk.
bool Adapting = false;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool Excluded(const std::string& className) {
    const auto& list = ExcludedWindowClasses();
    return std::find(list.begin(), list.end(), className) != list.end();
}

bool ApplicationGoing() {
    TApplication* app = Application();
    return !app || app->Terminated() || app->IsDestroying();
}

bool AnswersSupport(HWND wnd) { return SkinCommandAnswered(wnd, scQuerySupport); }

// A button's adapter by its exact type: owner-drawn, split, command-link,
// push-box and user buttons draw themselves and get none.
enum class TButtonAdapter { None, Push, Check, Group };
TButtonAdapter ButtonAdapterOf(LONG style) {
    switch (style & 0xF) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            return TButtonAdapter::Push;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_AUTORADIOBUTTON:
            return TButtonAdapter::Check;
        case BS_GROUPBOX:
            return TButtonAdapter::Group;
        default:
            return TButtonAdapter::None;
    }
}

}  // namespace

// ---------------------------------------------------------------- provider

TacProvider::TacProvider(TComponent* owner) : TacProviderBase(owner) {}

TacProvider::~TacProvider() {
    for (TacProviderBase*& entry : DialogProviders())
        if (entry == this) entry = nullptr;
    ChildAdapters.clear();
    DialogAdapter = nullptr;
    dialog_.reset();
    if (TsSkinProviderBase* made = std::exchange(SkinProvider, nullptr)) {
        // A form being freed frees its providers itself.
        const TComponent* form = Owner();
        if (!form || !form->IsDestroying()) made->Free();
    }
}

void TacProvider::AttachToForm(TCustomForm* form) {
    TsSkinProvider* made = TsSkinProvider::CreateDeferred(form);
    made->SetUseGlobalColor(false);
    SkinProvider = made;
    Wnd = form->HandleAllocated() ? form->Handle() : nullptr;
    if (form->HandleAllocated()) {
        const HWND h = form->Handle();
        if (IsDwmCompositionEnabled()) {
            if (!made->Adapter) made->Loaded();
            RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            SendMessageA(h, WM_NCPAINT, 0, 0);
        } else if (!IsDebuggerPresent()) {
            UpdateWindow(h);
            RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
        }
    }
    made->MakeSkinMenu = false;
}

bool TacProvider::AttachToDialog(HWND wnd) {
    Wnd = wnd;
    TsSkinManager* manager = DefaultManager;
    if (dialog_ || !manager || !manager->Active()) return true;
    LeftScrollBar = (GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    UpdateDialogAdapter(*this, wnd);
    bool ok = dialog_ && !dialog_->Detached;
    if (ok && (DialogPosX != -1 || DialogPosY != -1)) {
        dialog_->RequestPosition(POINT{DialogPosX, DialogPosY});
        SetWindowPos(wnd, nullptr, DialogPosX, DialogPosY, 0, 0, SWP_NOSIZE | SWP_NOREDRAW | SWP_NOOWNERZORDER);
    }
    ok = ok && AdaptChildWindows(this, wnd);
    if (ok) {
        dialog_->InitDialog();
        SendSkinCommand(wnd, scSkinApplied, reinterpret_cast<LPARAM>(manager));
    } else {
        for (TacProviderBase*& entry : DialogProviders())
            if (entry == this) entry = nullptr;
    }
    return ok;
}

void UpdateDialogAdapter(TacProvider& provider, HWND wnd) {
    TsSkinManager* manager = DefaultManager;
    if (manager && manager->Active()) {
        if (provider.dialog_ && provider.dialog_->Detached) provider.dialog_.reset();
        if (!provider.dialog_) {
            provider.dialog_ = std::make_unique<TacDialogWnd>(wnd, nullptr, manager, "DIALOG");
            provider.dialog_->Provider = &provider;
            provider.dialog_->Start(false);
        }
    } else {
        provider.dialog_.reset();
    }
    provider.DialogAdapter = provider.dialog_.get();
}

// ------------------------------------------------------------------- hook

LRESULT CALLBACK DialogHookProc(int code, WPARAM w, LPARAM l) {
    const LRESULT result = CallNextHookEx(SkinState.ThreadHook.Get(), code, w, l);
    if (ApplicationGoing() || code < 0) return result;
    switch (code) {
        case HCBT_CREATEWND: {
            const HWND wnd = reinterpret_cast<HWND>(w);
            const auto* cbt = reinterpret_cast<const CBT_CREATEWNDA*>(l);
            if (!wnd || !cbt || !cbt->lpcs) break;
            const CREATESTRUCTA& cs = *cbt->lpcs;
            const auto atom = reinterpret_cast<ULONG_PTR>(cs.lpszClass);
            if (atom < 0x10000) {
                // The dialog class, and popup-menu windows (their adapter
                // checks the manager's SkinnedPopups); other atoms nothing.
                if (atom == 32770) AttachToNewWindow(wnd);
                else if (atom == 32768) AttachMenuWindowAdapter(wnd, DefaultManager);
                break;
            }
            if (kova::WindowClassName(wnd) == "TPUtilWindow" || cs.dwExStyle == 0 || cs.style == 0) break;
            if (TCustomForm* main = Application()->MainForm()) {
                if (!main->HandleAllocated() || main->Handle() == wnd) break;
            }
            // An owned window's parent is its owner: only a child window
            // is refused.
            if (!(cs.style & WS_CHILD)) AttachToNewWindow(wnd);
            break;
        }
        case HCBT_DESTROYWND:
            ReleaseDestroyedProviders();
            break;
        case HCBT_ACTIVATE:
            AttachToNewWindow(reinterpret_cast<HWND>(w));
            break;
        default:
            break;
    }
    return result;
}

// A provider of the hook's own for a form: kept in the hook's list, which
// frees it when the hook goes.
static void AttachHookProvider(TCustomForm* form) {
    auto* provider = new TacProvider(form);
    DialogProviders().push_back(provider);
    provider->AttachToForm(form);
}

bool AttachToNewWindow(HWND wnd) {
    TsSkinManager* manager = DefaultManager;
    if (!wnd || !manager || ApplicationGoing() || AnswersSupport(wnd)) return false;
    const std::string className = kova::WindowClassName(wnd);
    const LONG style = GetWindowLongA(wnd, GWL_STYLE);
    // Tool tips, drop-down lists: popups without a border stay plain.
    if ((style & WS_POPUP) && !(style & WS_BORDER)) return false;
    if (FindProviderOfWindow(wnd)) return false;
    TCustomForm* form = FindFormOfWindow(wnd);
    if (form && !form->IsLoading()) {
        if ((form->Tag() & -98) == -98) return false;
        if (Excluded(className)) return false;
        const TacSkinningRule rule = className == "TMessageForm" ? srStdDialogs : srStdForms;
        if (!(manager->SkinningRules & rule)) return false;
        AttachHookProvider(form);
        // Its MDI children are skinned with it (each owns its provider).
        if (form->FormStyle() == fsMDIForm) AttachToMDIChildren(form);
        return true;
    }
    // A dialog owned by a window is still a top-level window; only a child
    // dialog is part of another.
    if (className != "#32770" || (style & WS_CHILD) || !(manager->SkinningRules & srStdDialogs)) return false;
    if (CountVisibleSkinnedDialogs() >= MaxSkinnedDialogs && !HasDescendantOfClass(wnd, "toolbarwindow32"))
        return false;
    auto* provider = new TacProvider(nullptr);
    DialogProviders().push_back(provider);
    if (!provider->AttachToDialog(wnd)) {
        provider->Free();
        return false;
    }
    return true;
}

void AttachToMDIChildren(TCustomForm* form) {
    for (int i = 0; i < form->MDIChildCount(); ++i) {
        TCustomForm* child = form->MDIChildren(i);
        if (child && child->HandleAllocated() && !AnswersSupport(child->Handle())) AttachHookProvider(child);
    }
}

void HandMDIRelativesToAutoSkinning(TCustomForm* form, UINT msg, WPARAM w) {
    TsSkinManager* manager = DefaultManager;
    if (!form || !manager || !manager->ThreadHookInstalled() || ApplicationGoing()) return;
    if (msg == WM_CREATE && form->FormStyle() == fsMDIChild && !MDIProvider) {
        // A skinned MDI child in a main form that has no provider yet.
        if (TCustomForm* main = Application()->MainForm(); main && main->HandleAllocated() && main != form)
            AttachToNewWindow(main->Handle());
    } else if (msg == WM_SHOWWINDOW && w && form->FormStyle() == fsMDIForm) {
        // Children made since the form was skinned.
        for (int i = 0; i < form->MDIChildCount(); ++i)
            if (TCustomForm* child = form->MDIChildren(i); child && child->HandleAllocated())
                AttachToNewWindow(child->Handle());
    }
}

// --------------------------------------------------------- child factory

bool CreateChildAdapters(TacProvider* provider, HWND wnd) {
    if (!wnd) return false;
    if (AnswersSupport(wnd)) return true;
    TacDialogWnd* dialog = provider ? provider->Dialog() : nullptr;
    TsSkinManager* manager = dialog ? dialog->CommonData->GetSkinManager() : DefaultManager;
    if (!manager) return true;
    // Every adapter made meanwhile (also for a control's inner windows)
    // knows it lives in a dialog.
    const std::uint8_t savedInDialog = InheritedInDialog;
    InheritedInDialog = 1;
    const TScopeExit restore([savedInDialog] { InheritedInDialog = savedInDialog; });
    const std::string cls = Lower(kova::WindowClassName(wnd));
    const LONG s = GetWindowLongA(wnd, GWL_STYLE);
    const bool cacheReady = dialog && dialog->CommonData->CacheBmp && !dialog->CommonData->CacheBmp->Empty();
    const auto dialogEdits = [&] {
        if (dialog) dialog->SuppressClientPaint = false;
    };
    std::unique_ptr<TacMainWnd> made;
    if (cls == "static" || cls == "syslink" || cls == "link window") {
        // The static family's own factory chooses by type: icon, bitmap and
        // frame statics get the picture adapter, drawn in the edit look when
        // they carry a static edge.
        const bool picture = cls == "static" && ((s & 3) == 3 || (s & 0x0E) == 0x0E);
        const bool edged = picture && (GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_STATICEDGE);
        made = CreateStaticAdapter(wnd, nullptr, manager, edged ? "EDIT" : "CHECKBOX");
    } else if (cls == "#32770" || cls == "shbrowseforfolder") {
        made = CreateAdapter<TacTransPanelWnd>(wnd, nullptr, manager, "CHECKBOX");
    } else if (cls == "tpanel") {
        made = CreateAdapter<TacPanelWnd>(wnd, nullptr, manager, "CHECKBOX");
    } else if (cls == "tsilentpaintpanel") {
        made = CreateAdapter<TacPanelWnd>(wnd, nullptr, manager, "GROUPBOX");
    } else if (cls == "edit") {
        // Its own visibility: the dialog itself is usually not shown yet.
        if (s & WS_VISIBLE) {
            dialogEdits();
            made = CreateAdapter<TacEditWnd>(wnd, nullptr, manager, "EDIT", cacheReady);
        }
    } else if (cls == "button") {
        switch (ButtonAdapterOf(s)) {
            case TButtonAdapter::Push: made = CreateAdapter<TacBtnWnd>(wnd, nullptr, manager, "BUTTON"); break;
            case TButtonAdapter::Check: made = CreateAdapter<TacCheckBoxWnd>(wnd, nullptr, manager, "CHECKBOX"); break;
            case TButtonAdapter::Group: made = CreateAdapter<TacGroupBoxWnd>(wnd, nullptr, manager, "GROUPBOX"); break;
            case TButtonAdapter::None: break;
        }
    } else if (cls == "combobox" || cls == "comboboxex32") {
        dialogEdits();
        made = CreateComboBoxAdapter(wnd, nullptr, manager, "COMBOBOX");
    } else if (cls == "combolbox") {
        dialogEdits();
        made = CreateAdapter<TacEditWnd>(wnd, nullptr, manager, "COMBOBOX");
    } else if (cls == "scrollbar") {
        if ((s & SBS_SIZEGRIP) == SBS_SIZEGRIP) made = CreateAdapter<TacSizerWnd>(wnd, nullptr, manager, "CHECKBOX");
    } else if (cls == "systabcontrol32") {
        if ((s & TCS_OWNERDRAWFIXED) != TCS_OWNERDRAWFIXED)
            made = CreateTabControlAdapter(wnd, nullptr, manager, "PAGECONTROL");
    } else if (cls == "syslistview32") {
        made = CreateListViewAdapter(wnd, nullptr, manager, "EDIT");
    } else if (cls == "msctls_updown32") {
        auto spin = CreateAdapter<TacSpinWnd>(wnd, nullptr, manager, "SPEEDBUTTON_SMALL");
        spin->LeftOffset = 2;
        made = std::move(spin);
    } else if (cls == "msctls_trackbar32") {
        made = CreateAdapter<TacTrackWnd>(wnd, nullptr, manager, "TRACKBAR");
    } else if (cls == "listbox") {
        dialogEdits();
        made = CreateAdapter<TacEditWnd>(wnd, nullptr, manager, "EDIT");
    } else if (cls == "toolbarwindow32") {
        made = CreateAdapter<TacToolBarWnd>(wnd, nullptr, manager, (s & TBSTYLE_FLAT) ? "BAR" : "CHECKBOX");
    } else if (cls == "systreeview32") {
        made = CreateTreeViewAdapter(wnd, nullptr, manager, "EDIT");
    }
    if (!made || made->Detached) return true;
    GetWndGeometry(wnd, made->ParentHandle, made->WindowRect, made->PosInParent, made->WindowSize,
                   made->ParentWindowRect);
    if (provider) provider->ChildAdapters.push_back(std::move(made));
    return true;
}

bool AdaptChildWindows(TacProvider* provider, HWND parent) {
    if (Adapting) return true;
    const TFlagScope walking(Adapting, true);
    const std::function<bool(HWND)> walk = [&](HWND p) {
        for (HWND c = GetWindow(p, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (!walk(c)) return false;
            if ((GetWindowLongA(c, GWL_STYLE) & WS_CHILD) && !CreateChildAdapters(provider, c)) return false;
        }
        return true;
    };
    return walk(parent);
}

// -------------------------------------------------------------- routines

void BroadcastToDirectChildren(HWND parent, UINT msg, WPARAM w, LPARAM l) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) SendMessageA(c, msg, w, l);
}

TacProvider* FindProviderOfWindow(HWND wnd) {
    if (ApplicationGoing()) return nullptr;
    for (TacProviderBase* entry : DialogProviders())
        if (entry && entry->Wnd == wnd) return dynamic_cast<TacProvider*>(entry);
    return nullptr;
}

TCustomForm* FindFormOfWindow(HWND wnd) {
    TScreen* screen = Screen();
    for (int i = screen->FormCount() - 1; i >= 0; --i) {
        TCustomForm* form = screen->Forms(i);
        if (!form || form->IsDestroying()) continue;
        if (form->HandleAllocated() && form->Handle() == wnd) return form;
        if (form->FormStyle() != fsMDIForm) continue;
        for (int j = 0; j < form->MDIChildCount(); ++j)
            if (TCustomForm* child = form->MDIChildren(j); child && child->HandleAllocated() && child->Handle() == wnd)
                return child;
    }
    return nullptr;
}

int CountVisibleSkinnedDialogs() {
    int count = 0;
    for (TacProviderBase* entry : DialogProviders())
        if (auto* p = dynamic_cast<TacProvider*>(entry); p && p->Dialog() && IsWindowVisible(p->Dialog()->WindowHandle))
            ++count;
    return count;
}

bool HasDescendantOfClass(HWND wnd, const std::string& lowerCaseName) {
    for (HWND c = GetWindow(wnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (Lower(kova::WindowClassName(c)) == lowerCaseName || HasDescendantOfClass(c, lowerCaseName)) return true;
    return false;
}

void ReleaseDestroyedProviders() {
    auto& list = DialogProviders();
    for (std::size_t i = 0; i < list.size(); ++i) {
        auto* p = dynamic_cast<TacProvider*>(list[i]);
        if (!p || !p->Dialog() || !p->Dialog()->Detached) continue;
        list[i] = nullptr;
        p->Free();
    }
}

void FreeDialogProviders() {
    auto& list = DialogProviders();
    // Freeing one may free another (entries are cleared by their owners),
    // so each entry is taken out before its provider goes.
    for (std::size_t i = 0; i < list.size(); ++i)
        if (TacProviderBase* p = std::exchange(list[i], nullptr)) p->Free();
    list.clear();
}

void InstallAutoSkinning() {
    FormSkinning().DialogHookProc = DialogHookProc;
    FormSkinning().FreeDialogProviders = FreeDialogProviders;
}

}  // namespace kova::skin
