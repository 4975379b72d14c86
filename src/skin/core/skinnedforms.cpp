#include "skin/core/skinnedforms.h"

#include <shellapi.h>

#include <algorithm>
#include <exception>
#include <string>

#include "framework/handles.h"

#include "skin/core/animations.h"
#include "skin/core/providerbase.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"

namespace kova::skin {

namespace {

// With the main window minimised nothing is frozen: a form frozen while
// the program is minimised could be left without repainting.
bool MainWindowMinimised() {
    TApplication* app = Application();
    if (TCustomForm* main = app->MainForm(); main && main->HandleAllocated() && IsIconic(main->Handle()))
        return true;
    return app->Handle() && IsIconic(app->Handle());
}

bool FormMinimised(TCustomForm* form) {
    return form->WindowState() == wsMinimized || (form->HandleAllocated() && IsIconic(form->Handle()));
}

// A visible top-level form that is not an MDI child (minimised or not).
bool TopLevelShowingForm(TCustomForm* form) {
    return form && !form->IsDestroying() && form->FormStyle() != fsMDIChild && !form->Parent() && form->Visible();
}

// The form's provider when it belongs to the manager.
TsSkinProviderBase* ManagedProvider(TCustomForm* form, TsSkinManager* manager) {
    if (!form->HandleAllocated()) return nullptr;
    TsSkinProviderBase* provider = ProviderOfForm(form);
    if (!provider || !provider->SkinData || provider->SkinData->GetSkinManager() != manager) return nullptr;
    return provider;
}

std::uint8_t FormAlpha(TCustomForm* form) {
    return form->AlphaBlend() ? static_cast<std::uint8_t>(form->AlphaBlendValue()) : 255;
}

bool SkinChangeAnimated(TsSkinManager* manager) {
    return manager->Model().AnimEffects.SkinChanging.Active;
}

// The border window's region from the border object (nothing without a
// border window).
void SetBorderRegion(TacBorderForm* border) {
    if (!border || !border->AForm || !border->AForm->HandleAllocated()) return;
    SetWindowRgn(border->AForm->Handle(), border->MakeRegion(0, 0), TRUE);
}

bool WindowsBelow6() { return LOBYTE(LOWORD(GetVersion())) < 6; }

// The default manager's animated skin change, counted among the
// animations from its freeze to its unlock.
void BeginSkinChangeAnimating(TsSkinManager* manager) {
    if (!manager->IsDefault() || !SkinChangeAnimated(manager) || SkinState.SkinChangeAnimating) return;
    SkinState.SkinChangeAnimating = true;
    ++FormAnimating;
}

}  // namespace

void EndSkinChangeAnimating() {
    if (!SkinState.SkinChangeAnimating) return;
    SkinState.SkinChangeAnimating = false;
    if (FormAnimating > 0) --FormAnimating;
}

void FreezeFormsForSkinChange(TsSkinManager* manager) {
    if (!manager || MainWindowMinimised() || (manager->ComponentState() & (csLoading | csReading))) return;
    BeginSkinChangeAnimating(manager);
    auto& list = SkinnedForms();
    for (std::size_t i = 0; i < list.size(); ++i) {
        TCustomForm* form = list[i];
        if (!TopLevelShowingForm(form) || FormMinimised(form)) continue;
        TsSkinProviderBase* provider = ManagedProvider(form, manager);
        if (!provider) continue;
        if (provider->BorderForm) {
            provider->FormState |= kSkinChangeImage;
            provider->FormImage = provider->MakeFormImage();
        }
        provider->InAnimation = 1;
    }
}

void LockFormsRepaint(TsSkinManager* manager) {
    if (!manager || MainWindowMinimised()) return;
    BeginSkinChangeAnimating(manager);
    if (manager->IsDefault() && !SkinState.LockSuspendsPainting) {
        SkinState.LockSuspendsPainting = true;
        ++SkinState.PaintingSuspended;
    }
    auto& list = SkinnedForms();
    for (std::size_t i = 0; i < list.size(); ++i) {
        auto* form = dynamic_cast<TForm*>(list[i]);
        if (!TopLevelShowingForm(form) || FormMinimised(form) || !form->HandleAllocated() ||
            !IsWindowVisible(form->Handle()))
            continue;
        TsSkinProviderBase* provider = ManagedProvider(form, manager);
        if (!provider) continue;
        provider->InAnimation = 1;
        provider->FormState |= kRepaintLocked;
        if (TacBorderForm* border = provider->BorderForm; border && border->AForm && border->AForm->HandleAllocated()) {
            if (provider->FormImage)
                UpdateLayeredBitmap(border->AForm->Handle(), provider->FormImage.get(), FormAlpha(form), nullptr);
            SetBorderRegion(border);
        }
        SendMessageA(form->Handle(), WM_SETREDRAW, 0, 0);
    }
}

namespace {

// Redraw switched back on without showing a form that was hidden while
// locked (WM_SETREDRAW 1 sets the visible bit).
void RedrawOn(TCustomForm* form) {
    if (!form->HandleAllocated()) return;
    SendMessageA(form->Handle(), WM_SETREDRAW, 1, 0);
    if (!form->Visible()) ShowWindow(form->Handle(), SW_HIDE);
}

void RepaintUnlockedForm(TCustomForm* form, TsSkinProviderBase* provider, TsSkinManager* manager) {
    const TacFormAnimation& anim = manager->Model().AnimEffects.SkinChanging;
    // The animation ends by repainting the form whole; a second redraw
    // below would only paint the same picture again.
    bool repainted = false;
    if (anim.Active) {
        TSkinChangeScope animated(scsAnimated);
        if (provider->DrawNonClientArea)
            repainted = AnimateFormSkinChange(form, anim.Time, FormAlpha(form), anim.Mode);
        else
            repainted = AnimateFormSkinChange(form, 0, 255, TacAnimType::atFading);
    }
    provider->FormState &= ~kSkinChangeImage;
    const HWND wnd = form->Handle();
    if (provider->BorderForm && IsZoomed(wnd)) {
        // Shown maximised again without a visible flash of the old frame.
        const HWND active = GetActiveWindow();
        const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
        SetWindowLongPtrA(wnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
        ShowWindow(wnd, SW_MAXIMIZE);
        SetWindowLongPtrA(wnd, GWL_STYLE, GetWindowLongPtrA(wnd, GWL_STYLE) | WS_VISIBLE);
        if (active && active != wnd) SetActiveWindow(active);
    }
    provider->InAnimation = 0;
    if (provider->DrawNonClientArea) {
        if (WindowsBelow6()) SetWindowRgn(wnd, nullptr, FALSE);
        provider->InitRegionRects();
        provider->UpdateRegion(true);
        if (!repainted) RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
        if (provider->BorderForm) {
            SetBorderRegion(provider->BorderForm);
            provider->BorderForm->UpdateBorderWindow(true, -1);
        }
    } else if (!repainted) {
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    }
}

}  // namespace

void UnlockFormsRepaint(TsSkinManager* manager, bool repaint) {
    if (!manager) return;
    // Every locked form is unlocked whatever happened since the lock: also
    // when the main window was minimised meanwhile or the form was hidden
    // (then without repainting), and when repainting one form throws (the
    // others are unlocked first, then the fault goes on).
    const bool minimised = MainWindowMinimised();
    if (manager->IsDefault()) EndSkinChangeAnimating();
    auto& list = SkinnedForms();
    std::vector<TCustomForm*> locked;
    for (std::size_t i = 0; i < list.size(); ++i) {
        TCustomForm* form = list[i];
        if (!form || form->IsDestroying() || form->FormStyle() == fsMDIChild || form->Parent()) continue;
        TsSkinProviderBase* provider = ManagedProvider(form, manager);
        if (!provider) continue;
        if (!(provider->FormState & kRepaintLocked)) {
            // Frozen for a load that never got as far as the lock (a failed
            // load): nothing was switched off, only the marks are cleared.
            if (provider->FormState & kSkinChangeImage) provider->FormImage.reset();
            provider->InAnimation = 0;
            provider->FormState &= ~kSkinChangeImage;
            continue;
        }
        locked.push_back(form);
        RedrawOn(form);
    }
    // The forms paint again from here on (their repaint and animation below).
    if (manager->IsDefault() && SkinState.LockSuspendsPainting) {
        SkinState.LockSuspendsPainting = false;
        --SkinState.PaintingSuspended;
    }
    std::exception_ptr fault;
    for (TCustomForm* form : locked) {
        TsSkinProviderBase* provider = ManagedProvider(form, manager);
        if (!provider) continue;
        try {
            if (repaint && !minimised && form->Visible() && !FormMinimised(form)) {
                RepaintUnlockedForm(form, provider, manager);
            } else {
                provider->FormState &= ~kSkinChangeImage;
                RedrawOn(form);
            }
        } catch (...) {
            if (!fault) fault = std::current_exception();
            RedrawOn(form);
        }
        provider->InAnimation = 0;
        provider->FormState &= ~kRepaintLocked;
    }
    if (manager->IsDefault()) EndSkinChangeAnimating();
    if (fault) std::rethrow_exception(fault);
}

namespace {
void SendToFormTree(TCustomForm* form, TMessage& m) {
    if (form->HandleAllocated()) SendMessageA(form->Handle(), m.Msg, m.WParam, m.LParam);
    BroadcastToAllControls(form, m);
    // An MDI main form's client window is no framework control: it gets
    // the message itself.
    if (const HWND client = form->ClientHandle()) SendMessageA(client, m.Msg, m.WParam, m.LParam);
}
}  // namespace

namespace {
BOOL CALLBACK TakeFirstIconName(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    auto& first = *reinterpret_cast<std::string*>(found);
    // A numbered resource is written "#id", which the loaders read back.
    first = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : std::string(name);
    return FALSE;
}

// The program's icons as the shell shows the program file: its first
// icon, in the system's small and large sizes. Read from the program's own
// resources: asking the shell would load shell32 and its image lists when
// the first caption is painted, which under Wine delays the main window.
// Only a program without an icon asks the shell (for its icon of programs).
struct AppIcons {
    TIconHandle Small;
    TIconHandle Large;
    AppIcons() {
        const HMODULE module = GetModuleHandleA(nullptr);
        std::string first;
        EnumResourceNamesA(module, RT_GROUP_ICON, TakeFirstIconName, reinterpret_cast<LONG_PTR>(&first));
        if (!first.empty()) {
            const auto load = [&](int cx, int cy) {
                return static_cast<HICON>(LoadImageA(module, first.c_str(), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
            };
            Small.Reset(load(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)));
            Large.Reset(load(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
            if (Small.Get() && Large.Get()) return;
        }
        char path[MAX_PATH] = {};
        if (!GetModuleFileNameA(nullptr, path, MAX_PATH)) return;
        SHFILEINFOA info{};
        if (!Small.Get() && SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON))
            Small.Reset(info.hIcon);
        info = SHFILEINFOA{};
        if (!Large.Get() && SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON)) Large.Reset(info.hIcon);
    }
};
AppIcons& Icons() {
    static AppIcons icons;
    return icons;
}
}  // namespace

HICON AppIconSmall() { return Icons().Small.Get(); }
HICON AppIconLarge() { return Icons().Large.Get(); }

void BroadcastToAllForms(TMessage& m) {
    TApplication* app = Application();
    for (int i = app->ComponentCount() - 1; i >= 0; --i) {
        // A handler may free forms: stop when the list has shrunk past us.
        if (i >= app->ComponentCount()) return;
        auto* form = dynamic_cast<TForm*>(app->Components(i));
        if (!form || form->FormStyle() == fsMDIChild || form->IsDestroying() || form->IsLoading()) continue;
        if (form->HandleAllocated() && SkinCommandAnswered(form->Handle(), scQuerySupport)) continue;
        SendToFormTree(form, m);
    }
    BroadcastToSkinnedForms(m);
}

void BroadcastToSkinnedForms(TMessage& m) {
    auto& list = SkinnedForms();
    for (std::size_t i = 0; i < list.size(); ++i) {
        TCustomForm* form = list[i];
        if (!form || form->IsDestroying()) continue;
        SendToFormTree(form, m);
    }
    for (TacProviderBase* provider : DialogProviders())
        if (TacDialogWndBase* dialog = DialogOf(provider); dialog && dialog->CtrlHandle && IsWindowVisible(dialog->CtrlHandle))
            SendMessageA(dialog->CtrlHandle, m.Msg, m.WParam, m.LParam);
}

}  // namespace kova::skin
