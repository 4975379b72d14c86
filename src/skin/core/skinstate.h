// The skin engine core's state for the run of the program, in one object:
// what every unit of the core and of the form and control skinning shares.
// A fresh TSkinState is the core as the program starts, and
// ResetSkinState() makes it so again. The rest of the code reaches the
// fields through the names below, by their own names.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/forms.h"

namespace kova::skin {

class TsSkinManager;
class TacProviderBase;

struct TSkinState {
    // The manager that serves every record naming none; nullptr before the
    // first manager is made and after the default one is freed.
    TsSkinManager* Manager = nullptr;
    // The default manager's WH_CBT hook of the GUI thread; one for the
    // program.
    THookHandle ThreadHook;
    // The forms that own a skin provider, in order of registration; entries
    // may be nullptr only transiently.
    std::vector<TCustomForm*> Forms;
    // Every provider the thread hook made for a form or dialog without one
    // of its own; entries are set to nullptr, never removed, when one goes.
    // Broadcasts reach the windows of its dialogs while they are visible.
    std::vector<TacProviderBase*> DialogProviders;
    // Started to preview for a skin editor ("/acpreview") and no form has
    // announced itself to the editor yet; set by form skinning.
    bool PreviewMode = false;
    // The window a skin editor previews into: WM_COPYDATA reaching this
    // form goes to its manager. nullptr: no editor.
    HWND PreviewWindow = nullptr;
    // The stage of a skin change (TSkinChangeStage): changing for the whole
    // of a load and of a repaint of all forms, animated while the forms
    // fade into their new look.
    std::uint8_t SkinChanging = 0;
    // Set by the first skin-editor preview, for the rest of the run.
    bool SkinEdited = false;
    // The skinned main form draws its own task-bar thumbnail and peek
    // preview (the shell asks with WM_DWMSENDICONIC...). Off: the system
    // shows its own picture of the window.
    bool TaskbarPreviews = false;
    // The form and dialog animations running now, each counted by its
    // scope (TFormAnimatingScope); an animated skin change of the default
    // manager counts as one from its freeze to its unlock
    // (SkinChangeAnimating). Broadcasts to child controls are held back
    // while it is not 0 (the animation repaints everything at its end).
    std::int32_t FormAnimating = 0;
    bool SkinChangeAnimating = false;
    // How many freezes of all skinned forms (a skin change, a form
    // animation) are in force; skinned windows are to skip painting while
    // it is above 0 (the freezing keeps the count once it suspends
    // painting).
    std::int32_t PaintingSuspended = 0;
    // One of them: the default manager's lock of its forms, until their unlock.
    bool LockSuspendsPainting = false;
    // Set once the system asks to end the session (the forms'
    // WM_QUERYENDSESSION handling): from then on no work that would show
    // windows is started.
    bool ShuttingDown = false;
    // Work in progress (a skin change) that the end of a session waits for.
    std::int32_t Busy = 0;
    // Hidden controls let go of their cached pictures (on by default).
    bool ReleaseHiddenCaches = true;
    // Requested position of a skin message box while it is shown (-1 when
    // unset); the form skinning reads them when it skins the system box.
    int DialogPosX = -1;
    int DialogPosY = -1;
};

extern TSkinState SkinState;

// Removes the thread hook when one is installed (its guard does), then
// makes the whole state fresh (the forms themselves belong to the application).
void ResetSkinState();

// ---- the state's fields by their names -------------------------------------

extern TsSkinManager*& DefaultManager;
enum TSkinChangeStage : std::uint8_t { scsIdle = 0, scsChanging = 1, scsAnimated = 2 };
extern std::uint8_t& SkinChanging;
extern bool& SkinShuttingDown;
extern bool& SkinEdited;
extern bool& TaskbarPreviews;
extern std::int32_t& FormAnimating;
extern bool& PreviewMode;
extern HWND& PreviewWindow;
extern bool& ReleaseHiddenCaches;
extern int& DialogPosX;
extern int& DialogPosY;

inline std::vector<TCustomForm*>& SkinnedForms() { return SkinState.Forms; }
inline std::vector<TacProviderBase*>& DialogProviders() { return SkinState.DialogProviders; }
void AddSkinnedForm(TCustomForm* form);
// Each entry equal to the form takes the last entry's place.
void RemoveSkinnedForm(TCustomForm* form);

// Skinned windows skip painting while this is true (the freezes counted in
// PaintingSuspended); one freeze for as long as the scope lives.
bool PaintingSuspended();
class TPaintingSuspendedScope {
public:
    TPaintingSuspendedScope() { ++SkinState.PaintingSuspended; }
    ~TPaintingSuspendedScope() { --SkinState.PaintingSuspended; }
    TPaintingSuspendedScope(const TPaintingSuspendedScope&) = delete;
    TPaintingSuspendedScope& operator=(const TPaintingSuspendedScope&) = delete;
};

// The engine's work in progress, counted for as long as the scope lives.
inline int SkinBusyCount() { return SkinState.Busy; }
class TSkinBusyScope {
public:
    TSkinBusyScope() { ++SkinState.Busy; }
    ~TSkinBusyScope() { --SkinState.Busy; }
    TSkinBusyScope(const TSkinBusyScope&) = delete;
    TSkinBusyScope& operator=(const TSkinBusyScope&) = delete;
};

// A skin change for as long as it lives (the engine counts as busy): the
// stage is set and put back as it was.
class TSkinChangeScope {
public:
    explicit TSkinChangeScope(std::uint8_t stage = scsChanging) : saved_(SkinChanging) { SkinChanging = stage; }
    ~TSkinChangeScope() { SkinChanging = saved_; }
    TSkinChangeScope(const TSkinChangeScope&) = delete;
    TSkinChangeScope& operator=(const TSkinChangeScope&) = delete;

private:
    std::uint8_t saved_;
    TSkinBusyScope busy_;
};

}  // namespace kova::skin
