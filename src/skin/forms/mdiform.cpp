// An MDI main form's client adapter, its "MDIAREA" in the cache and the
// maximised child's icon in the menu line.
#include "skin/forms/mdiform.h"

#include <algorithm>

#include "skin/controls/editwnd.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/providerbase.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinnedforms.h"
#include "skin/core/vclutils.h"
#include "skin/forms/formhandler.h"
#include "skin/forms/menuline.h"
#include "skin/forms/provider.h"

namespace kova::skin {

TsMDIForm::TsMDIForm(TsSkinProvider* provider) : SkinProvider(provider) {
    if (provider && provider->Form) {
        Form = provider->Form;
        Form->HandleNeeded();
    }
}

TsMDIForm::~TsMDIForm() { MDIAdapter.reset(); }

void TsMDIForm::ConnectToClient() {
    if (!MDIAdapter) AttachClientAdapter();
}

void TsMDIForm::AttachClientAdapter() {
    MDIAdapter.reset();
    if (!SkinProvider || !Form || !SkinProvider->SkinData->IsSkinned() || !Form->ClientHandle()) return;
    MDIAdapter = CreateAdapter<TacMDIWnd>(Form->ClientHandle(), nullptr, SkinProvider->SkinData->GetSkinManager(),
                                          "CHECKBOX");
    MDIAdapter->MDIForm = Form;
    MDIAdapter->FormSkinData = SkinProvider->SkinData.get();
    MDIAdapter->FormProvider = SkinProvider;
}

void TsMDIForm::RepaintMainFrame() {
    if (SkinProvider) SkinProvider->InvalidateNonClient();
}

TCustomForm* MaximizedMDIChild(TsSkinProvider& p) {
    if (&p != MDIProvider || !p.Form || p.Form->FormStyle() != fsMDIForm) return nullptr;
    TCustomForm* child = p.Form->ActiveMDIChild();
    if (!child || !child->HandleAllocated() || !IsZoomed(child->Handle())) return nullptr;
    return (child->BorderIcons() & biSystemMenu) ? child : nullptr;
}

TsSkinProvider* MaximizedMDIChildProvider(TsSkinProvider& p) {
    TCustomForm* child = MaximizedMDIChild(p);
    return child ? dynamic_cast<TsSkinProvider*>(ProviderOfForm(child)) : nullptr;
}

bool MenuLineMDIMaximized(TsSkinProvider& p) { return MaximizedMDIChild(p) && MenuLineShown(p); }

void MDIChildActivated(TsSkinProvider& p, const TMessage& m) {
    TsSkinProvider* mdi = MDIProvider;
    if (!mdi || mdi->IsDestroying() || !p.Form->HandleAllocated()) return;
    const HWND wnd = p.Form->Handle();
    // Both children hear of the change; the one activated is named last.
    if (reinterpret_cast<HWND>(m.LParam) != wnd) return;
    MaxChildProvider = &p;
    if (IsZoomed(wnd)) {
        RefreshMDIMainFrame(true);
    } else {
        mdi->SkinData->BGChanged = true;
        mdi->FullRepaint = true;
        mdi->MenuLineCount = -1;
        if (mdi->Form && mdi->Form->HandleAllocated()) SendMessageA(mdi->Form->Handle(), WM_NCPAINT, 0, 0);
    }
}

void PaintMDIArea(TsSkinProvider& p, int titleBottom, const RECT& ext, int frameWidth) {
    auto* mdi = dynamic_cast<TsMDIForm*>(p.MDIForm.get());
    TsSkinManager* manager = p.SkinData->GetSkinManager();
    if (!mdi || !mdi->MDIAdapter || !manager || !p.SkinData->CacheBmp || p.Form->FormStyle() != fsMDIForm) return;
    const TsSkinModel& skin = manager->Model();
    const int section = skin.IndexOfSection("MDIAREA");
    if (!skin.SectionIndexValid(section)) return;
    Bitmap32& cache = p.SkinData->CacheBmp->Pixels();
    TWinControl* f = p.Form;
    const int bar = p.HasMenuBar();
    const int rows = bar && MenuLineShown(p) ? std::max(p.MenuLineCount, 1) : 0;
    const TRect r{AlignedControlsSize(f, alLeft, false) + frameWidth + ext.left,
                  AlignedControlsSize(f, alTop, false) + rows * bar + titleBottom + (bar ? 1 : 0),
                  cache.Width() - frameWidth - AlignedControlsSize(f, alRight, false) - ext.right,
                  cache.Height() - frameWidth - AlignedControlsSize(f, alBottom, false) - ext.bottom};
    if (r.Right <= r.Left || r.Bottom <= r.Top) return;
    TsParentImageInfo bg;
    bg.Bmp = &cache;
    bg.Ready = true;
    PaintSkinItem(cache, skin, section, bg, 0, r, TPoint{r.Left, r.Top});
}

void PaintMDIChildIcon(TsSkinProvider& p, int titleBottom, const RECT& ext, int bws) {
    TCustomForm* child = MaximizedMDIChild(p);
    const int bar = p.HasMenuBar();
    if (!child || bar <= 2 || !p.SkinData->CacheBmp) return;
    HICON icon = child->Icon()->Handle();
    if (!icon) icon = AppIconLarge();
    if (!icon) icon = LoadIcon(nullptr, IDI_APPLICATION);
    GdiFlush();
    DrawIconEx(p.SkinData->CacheBmp->Canvas()->Handle(), bws + ext.left + 1, titleBottom + 1, icon, bar - 2, bar - 2, 0,
               nullptr, DI_NORMAL);
    GdiFlush();
}

}  // namespace kova::skin
