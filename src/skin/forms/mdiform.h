// The MDI main form's part of form skinning: the adapter of its MDI client
// window, the "MDIAREA" section under the client in the provider's cache,
// and whether a maximised child shows its icon and buttons in the menu line.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/forms.h"

namespace kova::skin {

class TsSkinProvider;
class TacMDIWnd;

// Made by the provider of an MDI main form while it is skinned; its adapter
// goes with it (the client gets its own procedure back).
class TsMDIForm : public TObject {
    KOVA_CLASS(TsMDIForm, TObject)
public:
    explicit TsMDIForm(TsSkinProvider* provider);
    ~TsMDIForm() override;
    TsMDIForm(const TsMDIForm&) = delete;
    TsMDIForm& operator=(const TsMDIForm&) = delete;

    TCustomForm* Form = nullptr;
    std::unique_ptr<TacMDIWnd> MDIAdapter;
    TsSkinProvider* SkinProvider = nullptr;

    // Puts the adapter on the client unless it has one.
    void ConnectToClient();
    // A new adapter on the client while the provider is skinned; none when
    // it is not.
    void AttachClientAdapter();
    // The frame painted again from a fresh cache.
    void RepaintMainFrame();
};

// The MDI main form's active child when it is maximised and has a system
// menu (nullptr otherwise).
TCustomForm* MaximizedMDIChild(TsSkinProvider& p);
// The skin provider of that child (nullptr for none).
TsSkinProvider* MaximizedMDIChildProvider(TsSkinProvider& p);
// The provider is the MDI main form's, shows its menu line and its active
// child is maximised: the child's icon and buttons are in the menu line.
bool MenuLineMDIMaximized(TsSkinProvider& p);
// After an MDI child's WM_MDIACTIVATE was handled: the main form's frame
// shows the new active child (its icon and buttons when maximised), and the
// child activated becomes MaxChildProvider.
void MDIChildActivated(TsSkinProvider& p, const TMessage& m);
// "MDIAREA" into the cache over the part of the client the aligned
// controls leave (the client window's place); nothing without an adapter on
// the client or without the section.
void PaintMDIArea(TsSkinProvider& p, int titleBottom, const RECT& ext, int frameWidth);
// The maximised child's icon at the left of the menu line.
void PaintMDIChildIcon(TsSkinProvider& p, int titleBottom, const RECT& ext, int bws);

}  // namespace kova::skin
