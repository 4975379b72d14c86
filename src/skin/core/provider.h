// Where form skinning meets the skin engine core. A form is skinned when it
// owns a TsSkinProvider: the provider holds the form's skin record, answers
// the skin command message for the form (sub-code 4 gives the provider),
// and is listed among the skinned forms while it lives. How a skinned form
// paints its caption and borders comes with form skinning; until then the
// provider's painting operations do the plain thing (the form's own look),
// so nothing pretends to be skinned.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/forms.h"
#include "skin/core/commondata.h"

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
    virtual void PaintOwnerCache() {}
};

// Provider state bits.
inline constexpr std::uint32_t kNonClientPainted = 0x200;
inline constexpr std::uint32_t kSkinChangeImage = 0x1000;
inline constexpr std::uint32_t kRepaintLocked = 0x10000;

class TsSkinProvider : public TComponent {
    KOVA_CLASS(TsSkinProvider, TComponent)
public:
    // The owner is the form to skin.
    explicit TsSkinProvider(TComponent* owner);
    ~TsSkinProvider() override;

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
    bool MaximizedLowCaption = false;
    TNotifyEvent OnAfterAnimation;

    // Form skinning overrides these; the defaults keep the form's own look.
    // Brings the cache bitmap of the skin record to the form's window size
    // and paints the form (frame, client area, children) into it.
    virtual void PaintNonClientCache();
    // A new 32-bit picture of the form's current look (caller owns it).
    virtual std::unique_ptr<TBitmap> MakeFormImage();
    virtual void InitRegionRects() {}
    virtual void UpdateRegion(bool /*repaint*/) {}
    virtual HRGN MakeRegion(int /*dx*/, int /*dy*/) { return nullptr; }
    virtual int ClientOffsetX();
    virtual int ClientOffsetY();
    virtual RECT GetExtBorderMargins() { return RECT{}; }
    virtual int CaptionHeight(bool checkSkin);
    virtual void StartMinimizing() {}
    virtual bool StartRestoring() { return false; }

protected:
    // Every message of the form passes here first.
    virtual void FormWindowProc(TMessage& m);

private:
    TWndMethod savedProc_;
    bool inCopyData_ = false;
};

// The form's provider (its answer to sub-code 4), nullptr for none.
TsSkinProvider* ProviderOfForm(TCustomForm* form);

// The window a skin editor previews into: WM_COPYDATA reaching this form
// goes to its manager. nullptr: no editor.
extern HWND PreviewTargetWnd;

// A system dialog skinned through the manager's thread hook (made by form
// skinning). The core reads these fields and calls these operations.
class TacDialogWnd {
public:
    virtual ~TacDialogWnd() = default;
    HWND CtrlHandle = nullptr;
    std::unique_ptr<TsCommonData> SkinData;
    TacBorderForm* BorderForm = nullptr;
    TForm* SnapshotForm = nullptr;
    virtual void PaintNonClientCache() {}
    virtual int ClientOffsetX() { return 0; }
    virtual int ClientOffsetY() { return 0; }
    virtual RECT GetExtBorderMargins() { return RECT{}; }
};

// The dialogs skinned through the thread hook; broadcasts reach their
// windows while visible.
std::vector<TacDialogWnd*>& HookedDialogs();

}  // namespace kova::skin
