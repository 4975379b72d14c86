// What the skin engine core sees of form skinning. A form is skinned when
// it owns a provider: the provider holds the form's skin record, answers
// the skin command message for the form (sub-code 4 gives the provider),
// and is listed among the skinned forms while it lives. The core reads the
// fields below and calls the operations; the provider of form skinning
// (skin/forms) makes the form's window procedure its own and says how the
// form paints.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "framework/forms.h"
#include "skin/core/commondata.h"
#include "skin/core/skinstate.h"

namespace kova::skin {

// The extended-border window of a form or dialog. Form skinning makes it
// and overrides the operations; the core only reads the fields and calls
// these.
class TacBorderForm {
public:
    virtual ~TacBorderForm() = default;
    // The border window (nullptr until created) and the window it frames.
    TForm* AForm = nullptr;
    HWND OwnerHandle = nullptr;
    virtual void CreateBorderWindow() {}
    // A new region for the border window; the caller hands it to
    // SetWindowRgn (nullptr: no region).
    virtual HRGN MakeRegion(int /*dx*/, int /*dy*/) { return nullptr; }
    // alpha -1: the form's own.
    virtual void UpdateBorderWindow(bool /*repaint*/, int /*alpha*/) {}
    virtual int TopOffset() { return 0; }
    // How far the border window's left edge lies left of the form's.
    virtual int LeftOffset() { return 0; }
    virtual void PaintOwnerCache() {}
    // The border object lets go of its window (an animation takes it over
    // and frees it); nullptr when it has none.
    virtual TForm* ReleaseWindow() { return std::exchange(AForm, nullptr); }
};

// Provider state bits.
inline constexpr std::uint32_t kNonClientPainted = 0x200;
inline constexpr std::uint32_t kSkinChangeImage = 0x1000;
inline constexpr std::uint32_t kRepaintLocked = 0x10000;

class TsSkinProviderBase : public TComponent {
    KOVA_CLASS(TsSkinProviderBase, TComponent)
public:
    // The owner is the form to skin. The provider that skins it registers
    // the form among the skinned forms (RegisterForm); one that stays idle
    // (a second provider on the form) does not.
    explicit TsSkinProviderBase(TComponent* owner);
    ~TsSkinProviderBase() override;

    std::unique_ptr<TsCommonData> SkinData;
    TCustomForm* Form = nullptr;
    TacBorderForm* BorderForm = nullptr;
    std::unique_ptr<TBitmap> FormImage;
    bool DrawNonClientArea = true;
    std::uint8_t InAnimation = 0;
    std::uint32_t FormState = 0;
    // A snapshot of the form kept for a hide animation (owned).
    TForm* SnapshotForm = nullptr;
    // Maximised with a skinned caption lower than the system's plus 4.
    bool UseSysCaption = false;
    TNotifyEvent OnAfterAnimation;

    // Brings the cache bitmap of the skin record to the form's window size
    // and paints the form (frame, client area, children) into it.
    virtual void PaintNonClientCache() = 0;
    // A new 32-bit picture of the form's current look (caller owns it).
    virtual std::unique_ptr<TBitmap> MakeFormImage() = 0;
    virtual void InitRegionRects() = 0;
    virtual void UpdateRegion(bool repaint) = 0;
    virtual HRGN MakeRegion(int dx, int dy) = 0;
    virtual int ClientOffsetX() = 0;
    virtual int ClientOffsetY() = 0;
    virtual RECT GetExtBorderMargins() = 0;
    virtual int CaptionHeight(bool checkSkin) = 0;
    virtual void StartMinimizing() = 0;
    virtual bool StartRestoring() = 0;
    // The shell's task-bar thumbnail (within maxWidth x maxHeight) and peek
    // preview of the form, handed over for the window `wnd` the shell asked
    // for; true when taken. A provider without pictures declines.
    virtual bool SetIconicThumbnail(HWND /*wnd*/, int /*maxWidth*/, int /*maxHeight*/) { return false; }
    virtual bool SetIconicLivePreview(HWND /*wnd*/) { return false; }

protected:
    // The form joins the skinned forms (once); leaving takes it out of them
    // only when this provider put it there.
    void RegisterForm();
    void UnregisterForm();
    bool FormRegistered() const { return formRegistered_; }

private:
    bool formRegistered_ = false;
};

// The form's provider (its answer to sub-code 4), nullptr for none.
TsSkinProviderBase* ProviderOfForm(TCustomForm* form);

// A system dialog skinned through the manager's thread hook (made by form
// skinning). The core reads these fields and calls these operations.
class TacDialogWndBase {
public:
    virtual ~TacDialogWndBase() = default;
    HWND CtrlHandle = nullptr;
    std::unique_ptr<TsCommonData> SkinData;
    TacBorderForm* BorderForm = nullptr;
    TForm* SnapshotForm = nullptr;
    virtual void PaintNonClientCache() {}
    virtual int ClientOffsetX() { return 0; }
    virtual int ClientOffsetY() { return 0; }
    virtual RECT GetExtBorderMargins() { return RECT{}; }
};

// What the thread hook attaches to a form or native dialog that has no
// provider of its own (made by form skinning, listed in DialogProviders):
// a provider made for the form, or an adapter for the dialog. The core reads
// these fields.
class TacProviderBase : public TComponent {
    KOVA_CLASS(TacProviderBase, TComponent)
public:
    using TComponent::TComponent;
    // The skinned dialog's window (native dialogs).
    HWND Wnd = nullptr;
    // Made for a framework form; nullptr for a native dialog.
    TsSkinProviderBase* SkinProvider = nullptr;
    // Made for a native dialog; nullptr for a form.
    TacDialogWndBase* DialogAdapter = nullptr;
};

// The dialog adapter of a provider of DialogProviders, nullptr for an
// entry cleared or made for a form.
inline TacDialogWndBase* DialogOf(TacProviderBase* provider) { return provider ? provider->DialogAdapter : nullptr; }

}  // namespace kova::skin
