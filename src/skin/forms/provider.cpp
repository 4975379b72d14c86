#include "skin/forms/provider.h"

#include "skin/core/portable/animframes.h"
#include "skin/core/skincommands.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/vclutils.h"

namespace kova::skin {

namespace {
// A form's provider answers sub-code 4 with itself, as the core sees it.
void AnswerGetProvider() {
    static const bool registered = [] {
        RegisterSkinCommand(scGetProvider, TsSkinProvider::StaticClass(), [](TMessage& m, TsCommonData& data) {
            m.Result = reinterpret_cast<LRESULT>(static_cast<TsSkinProviderBase*>(
                static_cast<TsSkinProvider*>(data.OwnerObject)));
            return true;
        });
        return true;
    }();
    (void)registered;
}
}  // namespace

TsSkinProvider::TsSkinProvider(TComponent* owner) : TsSkinProviderBase(owner) {
    AnswerGetProvider();
    if (Form) {
        savedProc_ = Form->WindowProc;
        Form->WindowProc = [this](TMessage& m) { FormWindowProc(m); };
    }
}

TsSkinProvider::~TsSkinProvider() {
    if (Form) Form->WindowProc = savedProc_;
}

void TsSkinProvider::FormWindowProc(TMessage& m) {
    if (IsSkinCommand(m)) {
        if (HandleSkinCommand(m, SkinData.get())) return;
    } else if (m.Msg == WM_COPYDATA && Form->HandleAllocated() && Form->Handle() == PreviewWindow &&
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
    PrintWindowTree(Form->Handle(), cache.Canvas()->Handle());
    GdiFlush();
    MakeOpaque(cache.Pixels());
}

std::unique_ptr<TBitmap> TsSkinProvider::MakeFormImage() {
    auto image = std::make_unique<TBitmap>();
    if (!Form || !Form->HandleAllocated()) return image;
    RECT r;
    GetWindowRect(Form->Handle(), &r);
    image->SetSize(r.right - r.left, r.bottom - r.top);
    PrintWindowTree(Form->Handle(), image->Canvas()->Handle());
    GdiFlush();
    MakeOpaque(image->Pixels());
    return image;
}

namespace {
// Where the form's client area starts inside its window.
POINT ClientOrigin(TCustomForm* form) {
    if (!form || !form->HandleAllocated()) return POINT{};
    RECT w;
    GetWindowRect(form->Handle(), &w);
    POINT p{0, 0};
    ClientToScreen(form->Handle(), &p);
    return POINT{p.x - w.left, p.y - w.top};
}
}  // namespace

int TsSkinProvider::ClientOffsetX() { return ClientOrigin(Form).x; }
int TsSkinProvider::ClientOffsetY() { return ClientOrigin(Form).y; }

int TsSkinProvider::CaptionHeight(bool) { return GetSystemMetrics(SM_CYCAPTION); }

}  // namespace kova::skin
