#include "skin/core/provider.h"

#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinnedforms.h"

namespace kova::skin {

HWND PreviewTargetWnd = nullptr;

std::vector<TacDialogWnd*>& HookedDialogs() {
    static std::vector<TacDialogWnd*> list;
    return list;
}

TsSkinProvider::TsSkinProvider(TComponent* owner) : TComponent(owner) {
    Form = dynamic_cast<TCustomForm*>(owner);
    SkinData = std::make_unique<TsCommonData>(this, true);
    if (Form) {
        savedProc_ = Form->WindowProc;
        Form->WindowProc = [this](TMessage& m) { FormWindowProc(m); };
        AddSkinnedForm(Form);
    }
}

TsSkinProvider::~TsSkinProvider() {
    if (Form) {
        RemoveSkinnedForm(Form);
        Form->WindowProc = savedProc_;
    }
    if (SnapshotForm) SnapshotForm->Free();
}

void TsSkinProvider::FormWindowProc(TMessage& m) {
    if (IsSkinCommand(m)) {
        if (SkinSubCode(m.WParam) == scGetProvider) {
            m.Result = reinterpret_cast<LRESULT>(this);
            return;
        }
        if (HandleSkinCommand(m, SkinData.get())) return;
    } else if (m.Msg == WM_COPYDATA && Form->HandleAllocated() && Form->Handle() == PreviewTargetWnd &&
               !inCopyData_) {
        if (TsSkinManager* manager = SkinData->GetSkinManager()) {
            inCopyData_ = true;
            manager->ApplyEditorCopyData(m);
            inCopyData_ = false;
            return;
        }
    }
    savedProc_(m);
}

void TsSkinProvider::PaintNonClientCache() {
    if (!SkinData || !Form || !Form->HandleAllocated()) return;
    if (!SkinData->CacheBmp) SkinData->CacheBmp = std::make_unique<TBitmap>();
    TBitmap& cache = *SkinData->CacheBmp;
    RECT r;
    GetWindowRect(Form->Handle(), &r);
    cache.SetSize(r.right - r.left, r.bottom - r.top);
    if (cache.Width() <= 0 || cache.Height() <= 0) return;
    cache.Pixels().Fill(0xFF000000u);
    SendMessageA(Form->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(cache.Canvas()->Handle()),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    GdiFlush();
    PixelBuffer32& px = cache.Pixels();
    for (int y = 0; y < px.Height(); ++y)
        for (int x = 0; x < px.Width(); ++x) px.ScanLine(y)[x] |= 0xFF000000u;
}

std::unique_ptr<TBitmap> TsSkinProvider::MakeFormImage() {
    auto image = std::make_unique<TBitmap>();
    if (!Form || !Form->HandleAllocated()) return image;
    RECT r;
    GetWindowRect(Form->Handle(), &r);
    image->SetSize(r.right - r.left, r.bottom - r.top);
    PrintWindow(Form->Handle(), image->Canvas()->Handle(), 0);
    for (int y = 0; y < image->Height(); ++y)
        for (int x = 0; x < image->Width(); ++x) image->ScanLine(y)[x] |= 0xFF000000u;
    return image;
}

int TsSkinProvider::ClientOffsetX() {
    if (!Form || !Form->HandleAllocated()) return 0;
    RECT w;
    GetWindowRect(Form->Handle(), &w);
    POINT p{0, 0};
    ClientToScreen(Form->Handle(), &p);
    return p.x - w.left;
}

int TsSkinProvider::ClientOffsetY() {
    if (!Form || !Form->HandleAllocated()) return 0;
    RECT w;
    GetWindowRect(Form->Handle(), &w);
    POINT p{0, 0};
    ClientToScreen(Form->Handle(), &p);
    return p.y - w.top;
}

int TsSkinProvider::CaptionHeight(bool) { return GetSystemMetrics(SM_CYCAPTION); }

TsSkinProvider* ProviderOfForm(TCustomForm* form) {
    if (!form) return nullptr;
    return reinterpret_cast<TsSkinProvider*>(form->Perform(SkinCommandMessage, SkinCommand(scGetProvider), 0));
}

}  // namespace kova::skin
