// The per-form skin provider. It takes over its form's window procedure
// (and gives it back when freed), answers the skin command message for the
// form and hands the skin editor's data to the manager. How a skinned form
// paints its caption and borders comes with form skinning; until then the
// painting operations do the plain thing (the form's own look), so nothing
// pretends to be skinned.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/forms.h"
#include "skin/core/providerbase.h"

namespace kova::skin {

class TsSkinProvider : public TsSkinProviderBase {
    KOVA_CLASS(TsSkinProvider, TsSkinProviderBase)
public:
    // The owner is the form to skin.
    explicit TsSkinProvider(TComponent* owner);
    ~TsSkinProvider() override;

    void PaintNonClientCache() override;
    std::unique_ptr<TBitmap> MakeFormImage() override;
    void InitRegionRects() override {}
    void UpdateRegion(bool /*repaint*/) override {}
    HRGN MakeRegion(int /*dx*/, int /*dy*/) override { return nullptr; }
    int ClientOffsetX() override;
    int ClientOffsetY() override;
    RECT GetExtBorderMargins() override { return RECT{}; }
    int CaptionHeight(bool checkSkin) override;
    void StartMinimizing() override {}
    bool StartRestoring() override { return false; }

protected:
    // Every message of the form passes here first.
    virtual void FormWindowProc(TMessage& m);

private:
    TWndMethod savedProc_;
    bool inCopyData_ = false;
};

}  // namespace kova::skin
