// Skinning of the windows the program never gave a provider of its own:
// framework forms made at run time and the system's dialogs (message
// boxes, open/save, folder, font and colour dialogs). The default skin
// manager's thread hook watches window creation, activation and
// destruction on the GUI thread and decides window by window: a framework
// form gets a deferred form provider, a system dialog gets the dialog
// adapter and one window adapter for each of its children, chosen by the
// child's class. Everything the hook makes is listed in DialogProviders
// and freed when the hook is removed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "skin/controls/adapters.h"
#include "skin/core/providerbase.h"

namespace kova::skin {

class TacDialogWnd;

// At most this many visible skinned dialogs; a dialog holding a tool bar
// (the file dialogs) is skinned whatever the count.
inline constexpr int MaxSkinnedDialogs = 2;

// What the hook attached to one window. A form's provider is owned by the
// form; a dialog's has no owner and owns its dialog adapter and the
// adapters of the dialog's children.
class TacProvider : public TacProviderBase {
    KOVA_CLASS(TacProvider, TacProviderBase)
public:
    explicit TacProvider(TComponent* owner);
    // Leaves DialogProviders; frees the adapters it made and, unless the
    // form is going anyway, the form provider it made.
    ~TacProvider() override;

    bool LeftScrollBar = false;
    std::vector<std::unique_ptr<TacMainWnd>> ChildAdapters;

    // A deferred provider for the form, which owns it.
    void AttachToForm(TCustomForm* form);
    // The dialog adapter on the dialog and the adapters of the children it
    // has by now; false when the children could not all be adapted.
    bool AttachToDialog(HWND wnd);
    TacDialogWnd* Dialog() const { return dialog_.get(); }

private:
    std::unique_ptr<TacDialogWnd> dialog_;
    friend void UpdateDialogAdapter(TacProvider& provider, HWND wnd);
};

// The hook procedure: passes every notification on and returns the next
// hook's answer; it never vetoes a window.
LRESULT CALLBACK DialogHookProc(int code, WPARAM w, LPARAM l);
// What a top-level window gets: true when a provider was attached.
bool AttachToNewWindow(HWND wnd);
// A provider for each MDI child of the form that has none.
void AttachToMDIChildren(TCustomForm* form);
// What a skinned form's messages bring to the automatic skinning while the
// hook is installed: an MDI child's creation its main form when no MDI form
// is skinned yet, an MDI form's showing its children without a provider.
void HandMDIRelativesToAutoSkinning(TCustomForm* form, UINT msg, WPARAM w);
// The adapter of one child of a dialog (by its class); false only for no
// window.
bool CreateChildAdapters(TacProvider* provider, HWND wnd);
// CreateChildAdapters over all descendants (deepest first); the first
// failure ends the walk with false.
bool AdaptChildWindows(TacProvider* provider, HWND parent);
// The dialog adapter made (or a detached one replaced) while a skin is
// active, freed when none is.
void UpdateDialogAdapter(TacProvider& provider, HWND wnd);

// SendMessageA to each direct child of parent.
void BroadcastToDirectChildren(HWND parent, UINT msg, WPARAM w, LPARAM l);
TacProvider* FindProviderOfWindow(HWND wnd);
// The framework form (or MDI child) whose window this is.
TCustomForm* FindFormOfWindow(HWND wnd);
int CountVisibleSkinnedDialogs();
// A descendant of this lower-case class anywhere below wnd.
bool HasDescendantOfClass(HWND wnd, const std::string& lowerCaseName);
// Frees the dialog providers whose dialog has gone.
void ReleaseDestroyedProviders();
// Frees every provider of DialogProviders and empties the list: what the
// hook's removal does, the one place the list is freed.
void FreeDialogProviders();

// Form skinning's part of the skin services: the hook procedure the
// default manager installs and the freeing of what it made when the hook
// is removed. Called once at the program's start (and by tests after a
// reset of the services).
void InstallAutoSkinning();

}  // namespace kova::skin
