#include "skin/forms/provider.h"

#include "skin/forms/formhandler.h"

#include <algorithm>
#include <utility>

#include "framework/handles.h"
#include "framework/portable/formtext.h"
#include "skin/core/glow.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/paint/portable/surface.h"
#include "skin/core/portable/animframes.h"
#include "skin/core/skincommands.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinnedforms.h"
#include "skin/core/skinstate.h"
#include "skin/core/sysentries.h"
#include "skin/core/vclutils.h"
#include "skin/forms/borderform.h"
#include "skin/forms/ctrladapter.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/mdiform.h"
#include "skin/forms/titlebuttons.h"

namespace kova::skin {

TsSkinProvider* MDIProvider = nullptr;
TsSkinProvider* MaxChildProvider = nullptr;
bool ButtonPressed = false;
bool ChildCreatedMaximized = false;

namespace {

// Posted to a skinned form to walk its controls once more.
UINT AdaptLaterMessage() {
    static const UINT msg = RegisterWindowMessageA("KovaSkinAdaptLater");
    return msg;
}

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

// Checked before anything of the provider is made.
TComponent* FormOwner(TComponent* owner) {
    if (!dynamic_cast<TCustomForm*>(owner)) throw EAbort("TsSkinProvider component may be used with forms only!");
    return owner;
}

bool PreviewSwitchGiven() {
    TApplication* app = Application();
    return app->ParamCount() >= 1 && app->ParamStr(1) == "/acpreview";
}

LONG_PTR StyleOf(HWND wnd) { return GetWindowLongPtrA(wnd, GWL_STYLE); }

// Where the form's client area starts inside its window.
POINT ClientOrigin(TCustomForm* form) {
    if (!form || !form->HandleAllocated()) return POINT{};
    RECT w;
    GetWindowRect(form->Handle(), &w);
    POINT p{0, 0};
    ClientToScreen(form->Handle(), &p);
    return POINT{p.x - w.left, p.y - w.top};
}

constexpr std::uint32_t kTranslucentMove = 0x80;

}  // namespace

// ------------------------------------------------------------ construction

TsSkinProvider::TsSkinProvider(TComponent* owner) : TsSkinProviderBase(FormOwner(owner)) {
    Construct();
    AfterConstruction();
}

TsSkinProvider::TsSkinProvider(TComponent* owner, TDeferred) : TsSkinProviderBase(FormOwner(owner)) {
    Construct();
    DeferredInit = true;
    AfterConstruction();
}

TsSkinProvider* TsSkinProvider::CreateDeferred(TComponent* owner) { return new TsSkinProvider(owner, TDeferred{}); }

void TsSkinProvider::Construct() {
    AnswerGetProvider();
    // The switch turns preview mode on for the run; it is off again once a
    // form has announced itself to the editor.
    if (!PreviewWindow && PreviewSwitchGiven()) PreviewMode = true;
    Inactive = false;
    if (Form) {
        // A form that has a provider keeps it, unless the automatic
        // skinning made that one.
        if (auto* existing = ProviderOfForm(Form); existing && existing != this) {
            auto* first = dynamic_cast<TsSkinProvider*>(existing);
            if (first && first->DeferredInit)
                first->Free();
            else
                Inactive = true;
        }
    }
    DrawNonClientArea = true;
    SkinData->SetSkinSection("FORM");
    SkinData->ControlCode = 224;
    if (Form && Form->ControlState() != 0) SkinData->Updating = true;
    addedTitle_ = std::make_unique<TacAddedTitle>(this);
    DwmAtCreate = IsDwmCompositionEnabled();
    titleIcon_ = std::make_unique<TsTitleIcon>();
    titleButtons_ = std::make_unique<TsTitleButtons>(this);
    FirstSkinning = false;
    MinButton.HitCode = HTMINBUTTON;
    MaxButton.HitCode = HTMAXBUTTON;
    CloseButton.HitCode = HTCLOSE;
    HelpButton.HitCode = HTHELP;
    MDIMinButton.HitCode = 103;
    MDIRestoreButton.HitCode = 102;
    MDICloseButton.HitCode = 101;
    if (!Form || Inactive) return;
    ButtonsBg = std::make_unique<TBitmap>();
    WorkBmp = std::make_unique<TBitmap>();
    FirstSkinning = true;
    RegionRects.clear();
    MenuLineCount = -1;
    formProc_.Attach(Form, [this](TMessage& m) { FormWindowProc(m); });
    RegisterForm();
    FormActive = true;
}

void TsSkinProvider::AfterConstruction() {
    if (Inactive || DeferredInit) return;
    if (TsSkinManager* m = Manager(); m && m->Active()) PrepareForm();
}

TsSkinProvider::~TsSkinProvider() {
    if (addedTitle_) {
        UpdateBorderForm(false);
        addedTitle_.reset();
        FreeButtonCaches();
        if (Form && !Inactive) {
            // The form leaves the skinned forms and gets its procedure back
            // only from the provider that took them: a second (idle)
            // provider never did.
            UnregisterForm();
            formProc_.Detach();
            // The form gets back what the skinned frame took, as on a skin
            // removal: its system-menu style and a region of its own.
            if (Form->HandleAllocated() && !Form->IsDestroying()) {
                SetSysMenuStyle(false);
                if (HasBorder() && !RegionKept) SetWindowRgn(Form->Handle(), nullptr, TRUE);
            }
            if (Form->FormStyle() == fsMDIChild && Form->Menu() && MDIProvider && !MDIProvider->IsDestroying() &&
                MDIProvider->Form && !MDIProvider->Form->IsDestroying()) {
                MDIProvider->SkinData->BGChanged = true;
                MDIProvider->MenuLineCount = -1;
                TMessage paint{WM_NCPAINT, 0, 0, 0};
                MDIProvider->FormWindowProc(paint);
            }
        }
        if (MDIProvider == this) {
            if (MDIForm) UpdateMDIForm(false);
            MDIProvider = nullptr;
        }
        if (SystemMenu) {
            TsSystemMenu* menu = std::exchange(SystemMenu, nullptr);
            menu->Free();
        }
        ButtonsBg.reset();
        WorkBmp.reset();
    }
    if (MaxChildProvider == this) MaxChildProvider = nullptr;
    // The automatic skinning may still hold this provider: its entry lets
    // go of it, so nothing calls a freed provider.
    for (TacProviderBase* p : DialogProviders())
        if (p && p->SkinProvider == this) p->SkinProvider = nullptr;
    HideMenuCover();
    TempBmp.reset();
    CaptionBmp.reset();
    titleIcon_.reset();
    titleButtons_.reset();
    FormWndAdapter.reset();
    Adapter.reset();
    AnimTimer.reset();
}

// --------------------------------------------------------------- loading

void TsSkinProvider::Loaded() {
    TsSkinProviderBase::Loaded();
    if (Inactive || DeferredInit || !Manager()) return;
    // A manager of the same description loads its skin before this runs,
    // while the form has no window yet: its skin-applied broadcast never
    // reached the provider, whose section was looked up before there was
    // a skin.
    if (Manager()->Active() && !SkinData->IsSkinned(true)) SkinData->ReadSkinIndexes();
    if (SkinData->IsSkinned(true)) InitAfterLoad();
}

void TsSkinProvider::Notification(TComponent* component, TOperation operation) {
    TsSkinProviderBase::Notification(component, operation);
    if (auto* manager = dynamic_cast<TsSkinManager*>(component)) {
        if (!SkinData) return;
        if (operation == TOperation::opInsert && !SkinData->SkinManager())
            SkinData->SetSkinManager(manager);
        else if (operation == TOperation::opRemove && SkinData->SkinManager() == manager)
            SkinData->SetSkinManager(nullptr);
    }
    // Windowed controls inserted later get their adapters.
    if (operation == TOperation::opInsert && Adapter)
        if (auto* control = dynamic_cast<TWinControl*>(component)) {
            auto* a = static_cast<TacCtrlAdapter*>(Adapter.get());
            if (a->IsControlSupported(control)) a->AddControl(control);
        }
}

TsSkinManager* TsSkinProvider::Manager() const { return SkinData ? SkinData->GetSkinManager() : nullptr; }

bool TsSkinProvider::Skinned() const { return SkinData && SkinData->IsSkinned(); }

bool TsSkinProvider::FormShowing() const {
    return Form && Form->HandleAllocated() && Form->Showing() && IsWindowVisible(Form->Handle());
}

void TsSkinProvider::PrepareForm() {
    TsSkinManager* manager = Manager();
    if (DeferredInit || Inactive || !manager || !Form || !Form->HandleAllocated()) return;
    if (!manager->Model().SkinData().Active) return;
    // The framework's main menu has no owner-draw state of its own.
    MenuWasOwnerDraw = false;
    SkinData->Loaded();
    if (!SystemMenu) {
        SystemMenu = new TsSystemMenu(this);
        SystemMenu->Form = Form;
        SystemMenu->RefreshItems(false);
    }
    SetSysMenuStyle(true);
    // The menus are made skinned here, never inside the paint that shows
    // the menu line.
    if (!MenuSkinned) UpdateMenus(true);
    if (FirstSkinning) {
        FirstSkinning = false;
        if (Form->FormStyle() == fsMDIForm) UpdateMDIForm(true);
    }
    SkinData->ReadSkinIndexes();
    CaptionIndex = manager->IndexOfSection("CAPTION");
    InitTitleButtonMasks(*this);
    if (Form->FormStyle() == fsMDIChild && MDIProvider && !MDIProvider->IsDestroying() && MDIProvider->Form &&
        !MDIProvider->Form->IsDestroying() && Skinned()) {
        MDIProvider->SkinData->BGChanged = true;
        MDIProvider->MenuLineCount = -1;
    }
    if (!(Form->ControlState() & (csCreating | csReadingState)) && !IsLoading()) FormColorFromSkin();
    if (SystemMenu) SystemMenu->RefreshItems(false);
    if (!Form->IsLoading() && FormShowing()) UpdateBorderForm(manager->ExtendedBorders());
}

void TsSkinProvider::InitAfterLoad() {
    if (Form && Form->HandleAllocated()) SetDwmTransitionsDisabled(Form->Handle(), DrawNonClientArea);
    PrepareForm();
    // Before the form has its window no control has one: the walk waits
    // for the showing, which adapts them all (and the labels with them).
    if (!Adapter && Form && !Form->HandleAllocated() && SkinData->IsSkinned(true))
        Adapter = std::make_unique<TacCtrlAdapter>(this);
    if (!Adapter) CreateCtrlAdapter();
    if (SystemMenu) SystemMenu->RefreshItems(false);
    TsSkinManager* manager = Manager();
    const int mask = manager ? manager->Model().IndexOfMask(manager->Model().ConstData().GlobalInfo, "GLOBALINFO",
                                                            "TITLEBUTTON")
                             : -1;
    for (int i = 0; i < titleButtons_->Count(); ++i) {
        TsTitleButton* b = titleButtons_->Items(i);
        b->ImageIndex = b->UseSkinData ? mask : -1;
    }
    if (Form && Form->BorderStyle() == bsSizeToolWin) {
        AllowBlendOnMoving = false;
        useGlobalColor_ = false;
        SetUseGlobalColor(true);
    }
}

void TsSkinProvider::FormColorFromSkin() {
    TsSkinManager* manager = Manager();
    if (!Form || !manager || !useGlobalColor_ || SkinData->CustomColor()) return;
    Form->SetColor(static_cast<TColor>(manager->Model().GlobalInfoColor()));
}

// ---------------------------------------------------------------- setters

void TsSkinProvider::SetAllowExtBorders(bool value) {
    if (value == allowExtBorders_) return;
    allowExtBorders_ = value;
    if (IsLoading()) return;
    UpdateBorderForm(true);
    SkinData->BGChanged = true;
    if (Form && Form->HandleAllocated()) RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TsSkinProvider::SetCaptionAlignment(TAlignment value) {
    if (value == captionAlignment_) return;
    captionAlignment_ = value;
    SkinData->BGChanged = true;
    if (FormShowing() && Skinned()) RepaintNonClient();
}

void TsSkinProvider::SetShowAppIcon(bool value) {
    if (value == showAppIcon_) return;
    showAppIcon_ = value;
    SkinData->BGChanged = true;
    if (FormShowing()) SendMessageA(Form->Handle(), WM_NCPAINT, 0, 0);
}

void TsSkinProvider::SetTitleSkin(const std::string& value) {
    if (value == titleSkin_) return;
    titleSkin_ = value;
    TitleIndex = -1;
    SkinData->BGChanged = true;
    if (!FormShowing()) return;
    if (BorderForm)
        BorderForm->UpdateBorderWindow(true, 255);
    else
        SendMessageA(Form->Handle(), WM_NCPAINT, 0, 0);
}

void TsSkinProvider::SetDrawNonClientArea(bool value) {
    if (value == DrawNonClientArea) return;
    DrawNonClientArea = value;
    if (!Form) return;
    if (value) {
        SetSysMenuStyle(true);
        if (FormShowing() && Skinned()) {
            SkinData->BGChanged = true;
            UpdateMenus(true);
            UpdateBorderForm(Manager()->ExtendedBorders());
            RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_INVALIDATE);
            // The form's scroll-bar adapter comes with the window adapters.
        }
        return;
    }
    UpdateBorderForm(false);
    if (Manager()) UpdateMenus(false);
    if (Form->HandleAllocated())
        if (SetWindowThemeFn theme = SystemEntries().SetWindowTheme) theme(Form->Handle(), nullptr, nullptr);
    FormWndAdapter.reset();
    if (SysMenuHidden && Form->HandleAllocated()) {
        SetWindowLongPtrA(Form->Handle(), GWL_STYLE, StyleOf(Form->Handle()) | WS_SYSMENU);
        SysMenuHidden = false;
    }
    if (FormShowing()) SetWindowRgn(Form->Handle(), nullptr, TRUE);
}

void TsSkinProvider::SetUseGlobalColor(bool value) {
    if (value == useGlobalColor_) return;
    useGlobalColor_ = value;
    if (!Form) return;
    if (Skinned() && value && !SkinData->CustomColor())
        Form->SetColor(static_cast<TColor>(Manager()->Model().GlobalInfoColor()));
    else
        Form->SetColor(clBtnFace);
}

// ------------------------------------------------------- small operations

void TsSkinProvider::UpdateBorderForm(bool enable) {
    // The border window comes with the extended borders: until then none
    // is made, and one given to the provider goes when it is not wanted.
    const bool wanted = enable && HasBorder() && DrawNonClientArea && Form && !Form->Parent() &&
                        Form->FormStyle() != fsMDIChild && allowExtBorders_;
    if (wanted == (BorderForm != nullptr)) return;
    if (wanted) {
        if (!Form->HandleAllocated()) return;
        BorderForm = new TacSkinBorderForm(this);
        // The form shows only its client area from now on.
        RegionChanged = true;
        UpdateRegion(false);
    } else {
        delete std::exchange(BorderForm, nullptr);
        // The form's own frame comes back: the region is its own again.
        if (Form && Form->HandleAllocated() && !Form->IsDestroying() && !RegionKept)
            SetWindowRgn(Form->Handle(), nullptr, FALSE);
    }
    // The cache changes size with the margins and the region with the frame.
    TempBmp.reset();
    CaptionBmp.reset();
    RegionChanged = true;
    SkinData->BGChanged = true;
}

void TsSkinProvider::UpdateMDIForm(bool enable) {
    if (enable) {
        MDIProvider = this;
        if (!MDIForm) MDIForm = std::make_unique<TsMDIForm>(this);
        static_cast<TsMDIForm*>(MDIForm.get())->ConnectToClient();
    } else {
        MDIForm.reset();
    }
}

void TsSkinProvider::SetSysMenuStyle(bool enable) {
    if (!Form || !Form->HandleAllocated()) return;
    const HWND wnd = Form->Handle();
    const LONG_PTR style = StyleOf(wnd);
    if (enable) {
        if (!(style & WS_SYSMENU) && !SysMenuHidden) return;
        // The system must not draw its own caption buttons over a skinned
        // caption; with the caption not drawn the style stays the system's.
        if (DrawNonClientArea)
            SetWindowLongPtrA(wnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_SYSMENU));
        else
            SetWindowLongPtrA(wnd, GWL_STYLE, style | WS_SYSMENU);
        SysMenuHidden = true;
        return;
    }
    if (SysMenuHidden) {
        SetWindowLongPtrA(wnd, GWL_STYLE, style | WS_SYSMENU);
        const LRESULT icon = SendMessageA(wnd, WM_GETICON, ICON_BIG, 0);
        SendMessageA(wnd, WM_SETICON, ICON_BIG, icon);
    }
    SysMenuHidden = false;
}

void TsSkinProvider::RemoveAdapter() {
    if (!Adapter) return;
    TMessage m{SkinCommandMessage, SkinCommand(scSkinRemoved), reinterpret_cast<LPARAM>(Manager()), 0};
    BroadcastToAdapter(m);
    Adapter.reset();
}

void TsSkinProvider::BroadcastToAdapter(TMessage& m) {
    if (Adapter) static_cast<TacCtrlAdapter*>(Adapter.get())->BroadcastMessage(m);
}

void TsSkinProvider::InvalidateNonClient() {
    SkinData->BGChanged = true;
    FullRepaint = true;
    MenuLineCount = -1;
    if (Form && Form->HandleAllocated()) SendMessageA(Form->Handle(), WM_NCPAINT, 0, 0);
}

void TsSkinProvider::FreeButtonCaches() {
    for (TsCaptionButton* b : {&CloseButton, &MaxButton, &MinButton, &HelpButton}) b->GlowAnim.reset();
    if (!titleButtons_) return;
    for (int i = 0; i < titleButtons_->Count(); ++i) titleButtons_->Items(i)->Glow.reset();
}

std::string TsSkinProvider::TitleSectionName() const { return titleSkin_.empty() ? "FORMTITLE" : titleSkin_; }

int TsSkinProvider::GetTitleIndex() {
    if (TitleIndex == -1)
        if (TsSkinManager* m = Manager()) TitleIndex = m->IndexOfSection(TitleSectionName());
    return TitleIndex;
}

TColor TsSkinProvider::FormColor() {
    if (Skinned() && !SkinData->CustomColor()) {
        const TsGeneralData* s = SkinData->Section();
        const TsSkinModel& model = Manager()->Model();
        if (s) {
            const bool hot = FormActive && s->States > 1;
            return static_cast<TColor>(model.ColorToRGB(hot ? s->HotColor : s->Color)) & 0xFFFFFF;
        }
    }
    return Form ? static_cast<TColor>(kova::ColorToRGB(Form->Color())) : static_cast<TColor>(kova::ColorToRGB(clBtnFace));
}

// ------------------------------------------------------------ skin changes

void TsSkinProvider::SkinApplied() {
    TsSkinManager* manager = Manager();
    if (!SystemMenu) PrepareForm();
    FreeButtonCaches();
    SkinData->ReadSkinIndexes();
    TitleIndex = -1;
    GetTitleIndex();
    if (manager) {
        CaptionIndex = manager->IndexOfSection("CAPTION");
        InitTitleButtonMasks(*this);
        const TsSkinData& s = manager->Model().SkinData();
        const int maxHeight = s.MaxHeight != 0 ? s.MaxHeight : s.TitleHeight;
        UseSysCaption = BorderForm && Form && Form->HandleAllocated() && IsZoomed(Form->Handle()) &&
                        maxHeight < GetSysCaptionHeight(Form) + 4;
        SetSysMenuStyle(true);
        if (!manager->IsLoading()) {
            UpdateMenus(true);
            SkinData->BGChanged = true;
            MenuLineCount = -1;
            if (Form && Form->FormStyle() == fsMDIForm) UpdateMDIForm(true);
            FormColorFromSkin();
            if (Form && Form->HandleAllocated()) SetDwmTransitionsDisabled(Form->Handle(), DrawNonClientArea);
        }
        if (FormShowing()) UpdateBorderForm(manager->ExtendedBorders());
    }
    if (!Adapter) CreateCtrlAdapter();
    RegionChanged = true;
    RepaintNonClient();
}

void TsSkinProvider::SkinRemoved() {
    TsSkinManager* manager = Manager();
    FormWndAdapter.reset();
    if (Form && Form->HandleAllocated()) SetDwmTransitionsDisabled(Form->Handle(), false);
    MenuLineCount = TitleIndex = CaptionIndex = -1;
    RemoveAdapter();
    if (Form && !Form->IsDestroying() && manager) {
        UpdateMenus(false);
        SetSysMenuStyle(false);
        if (Form->FormStyle() == fsMDIForm && MDIForm) UpdateMDIForm(false);
        if (Form->HandleAllocated()) {
            if (HasBorder() && !MDILock) SetWindowRgn(Form->Handle(), nullptr, TRUE);
            RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
        UpdateBorderForm(false);
    }
    if (Form) {
        for (int i = 0; i < Form->ControlCount(); ++i)
            if (auto* label = dynamic_cast<TLabel*>(Form->Controls(i))) label->Font()->SetColor(clWindowText);
        if (useGlobalColor_ && !SkinData->CustomColor()) Form->SetColor(clBtnFace);
    }
    RegionRects.clear();
    SkinData->CacheBmp.reset();
}

void TsSkinProvider::SkinRefreshed() {
    if (!Adapter)
        CreateCtrlAdapter();
    else
        static_cast<TacCtrlAdapter*>(Adapter.get())->AdaptChildren(nullptr);
    RegionChanged = true;
    if (DrawNonClientArea && Skinned()) {
        InitRegionRects();
        UpdateRegion(true);
        if (FormShowing()) UpdateBorderForm(ExtBordersWanted());
    }
    if (Form && Form->HandleAllocated())
        RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// ---------------------------------------------------------- the messages

void TsSkinProvider::FormWindowProc(TMessage& m) {
    if (DeferredInit &&
        (m.Msg == WM_NCHITTEST || m.Msg == WM_NCPAINT || (m.Msg == CM_VISIBLECHANGED && m.WParam == 1))) {
        DeferredInit = false;
        InitAfterLoad();
    }
    // The skinned frame's own handling comes first.
    if (HandleFormMessage(*this, m)) return;
    if (IsSkinCommand(m)) {
        const bool own = reinterpret_cast<TsSkinManager*>(m.LParam) == Manager();
        switch (SkinSubCode(m.WParam)) {
            case scSkinApplied:
                if (!own || Form->IsDestroying()) break;
                HandleSkinCommand(m, SkinData.get());
                SkinApplied();
                return;
            case scSkinRemoved:
                if (!own) break;
                HandleSkinCommand(m, SkinData.get());
                SkinRemoved();
                return;
            case scRefresh:
                if (!own) break;
                HandleSkinCommand(m, SkinData.get());
                SkinRefreshed();
                return;
            default:
                break;
        }
        if (HandleSkinCommand(m, SkinData.get())) return;
        formProc_.CallPrevious(m);
        return;
    }
    switch (m.Msg) {
        case WM_GETMINMAXINFO:
            WMGetMinMaxInfo(m);
            return;
        case WM_PARENTNOTIFY:
            // A window made later somewhere inside the form (a control
            // shown for the first time makes its window and its children's
            // then) is adapted once it is whole: one walk is posted for the
            // whole burst, and controls adapted already are left as they are.
            formProc_.CallPrevious(m);
            if (LOWORD(m.WParam) == WM_CREATE && Adapter && !walkPosted_ && Form->HandleAllocated())
                walkPosted_ = PostMessageA(Form->Handle(), AdaptLaterMessage(), 0, 0) != FALSE;
            return;
        case CM_CONTROLLISTCHANGE:
            // A control placed on the form (not one taken off it) is adapted
            // once the form has handled it.
            formProc_.CallPrevious(m);
            if (m.WParam && m.LParam && Adapter)
                if (auto* control = dynamic_cast<TWinControl*>(reinterpret_cast<TControl*>(m.WParam)))
                    static_cast<TacCtrlAdapter*>(Adapter.get())->AddControl(control);
            return;
        case kSkinEditorMessage:
            switch (m.WParam) {
                case 1:
                    // Only the form the editor previews closes at its word.
                    if (Form->HandleAllocated() && Form->Handle() == PreviewWindow) Form->Close();
                    return;
                case 3:
                    formProc_.CallPrevious(m);
                    return;
                case 4:
                    m.Result = 1;
                    return;
                default:
                    return;
            }
        case WM_COPYDATA:
            formProc_.CallPrevious(m);
            if (m.Result == 0 && !inCopyData_ && Form->HandleAllocated() && Form->Handle() == PreviewWindow) {
                if (TsSkinManager* manager = Manager()) {
                    inCopyData_ = true;
                    struct TReset {
                        bool& flag;
                        ~TReset() { flag = false; }
                    } reset{inCopyData_};
                    manager->ApplyEditorCopyData(m);
                }
            }
            return;
        case CM_SHOWINGCHANGED:
            // The border window comes with the showing form.
            if (Form->Showing() && DrawNonClientArea && Skinned()) UpdateBorderForm(ExtBordersWanted());
            formProc_.CallPrevious(m);
            if (!Form->Showing()) return;
            AnnounceToSkinEditor();
            // A child shown maximised puts its icon and buttons into the
            // main form's menu line.
            if (Form->FormStyle() == fsMDIChild && IsZoomed(Form->Handle())) RefreshMDIMainFrame(true);
            // The controls' windows exist now (a loaded form has none when
            // its provider is loaded). Each new adapter would repaint its
            // control at once, before the form's first paint paints them all
            // again: the form is not drawn while they are made (a sixth of a
            // second for the main form's first page under Wine, most of it
            // those paints) and is painted once after.
            if (Adapter && DrawNonClientArea && Skinned()) {
                SendMessageA(Form->Handle(), WM_SETREDRAW, FALSE, 0);
                static_cast<TacCtrlAdapter*>(Adapter.get())->AdaptChildren(nullptr);
                SendMessageA(Form->Handle(), WM_SETREDRAW, TRUE, 0);
                RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            }
            return;
        default:
            if (m.Msg == AdaptLaterMessage()) {
                walkPosted_ = false;
                if (Adapter) static_cast<TacCtrlAdapter*>(Adapter.get())->AdaptChildren(nullptr);
                return;
            }
            formProc_.CallPrevious(m);
    }
}

void TsSkinProvider::AnnounceToSkinEditor() {
    if (!PreviewMode || PreviewWindow || !Form->HandleAllocated()) return;
    TCustomForm* main = Application()->MainForm();
    if (main && main != Form) return;
    PreviewWindow = Form->Handle();
    PreviewMode = false;
    for (int sent = 0; sent < kPreviewAnnouncements; ++sent) {
        const HWND editor = FindWindowA(nullptr, kSkinEditorWindowTitle);
        if (!editor) break;
        if (SendMessageA(editor, kSkinEditorMessage, 3, reinterpret_cast<LPARAM>(PreviewWindow)) == 1) break;
    }
}

// ----------------------------------------------------------- the geometry

bool TsSkinProvider::HasBorder() const {
    if (!Form) return false;
    if (Form->BorderStyle() != bsNone || Form->FormStyle() == fsMDIChild) return true;
    return Form->HandleAllocated() && (StyleOf(Form->Handle()) & WS_CHILD);
}

bool TsSkinProvider::HasMenuLine() const {
    return Form && Form->Menu() && Form->Menu()->Items()->Count() > 0 && Form->FormStyle() != fsMDIChild &&
           Form->BorderStyle() != bsDialog;
}

int TsSkinProvider::HasMenuBar() const { return HasMenuLine() ? GetSystemMetrics(SM_CYMENU) - 1 : 0; }

bool TsSkinProvider::HasSizeGrip() const {
    return GripMode == gmRightBottom && Form && Form->HandleAllocated() && !IsZoomed(Form->Handle()) &&
           HasThickFrame(Form->Handle());
}

bool TsSkinProvider::IsBigTitleButtons() const {
    return Form && (Form->BorderStyle() == bsSingle || Form->BorderStyle() == bsSizeable);
}

bool TsSkinProvider::ShowsAppIcon() const {
    return showAppIcon_ && IsBigTitleButtons() && (Form->BorderIcons() & biSystemMenu);
}

bool TsSkinProvider::ExtBordersWanted() const {
    TsSkinManager* m = Manager();
    return m && m->ExtendedBorders() && allowExtBorders_;
}

int TsSkinProvider::CaptionHeight(bool checkSkin) {
    if (!Form) return 0;
    const bool iconic = Form->HandleAllocated() && IsIconic(Form->Handle());
    const LONG_PTR style = Form->HandleAllocated() ? StyleOf(Form->Handle()) : WS_CAPTION;
    if (!iconic && !(HasBorder() && (style & WS_CAPTION) == WS_CAPTION)) return 0;
    int h = checkSkin && BorderForm ? SkinTitleHeight(BorderForm) : 0;
    const bool tool = (Form->BorderStyle() == bsToolWindow || Form->BorderStyle() == bsSizeToolWin) && !iconic;
    const int system = GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
    if (UseSysCaption) return std::max(h, system + 4);
    return h == 0 ? system : h;
}

int TsSkinProvider::FrameWidth(bool checkSkin) {
    return Form && Form->HandleAllocated() ? GetBorderWidth(Form->Handle(), BorderForm, checkSkin) : 0;
}

int TsSkinProvider::FrameWidthNoExt(bool checkSkin) {
    if (BorderForm || !Form || !Form->HandleAllocated()) return 0;
    return GetBorderWidth(Form->Handle(), BorderForm, checkSkin);
}

RECT TsSkinProvider::GetExtBorderMargins() {
    TsSkinManager* m = Manager();
    if (!BorderForm || !m) return RECT{};
    const TsExtBorderShadow& s = m->Model().ExtBorderShadow();
    return RECT{s.Left, s.Top, s.Right, s.Bottom};
}

// Without a border window the client area is where the system put it.
int TsSkinProvider::ClientOffsetX() {
    if (!BorderForm) return ClientOrigin(Form).x;
    return FrameWidth(true) + GetExtBorderMargins().left;
}

int TsSkinProvider::ClientOffsetY() {
    if (!BorderForm) return ClientOrigin(Form).y;
    const int bar = HasMenuBar();
    const int rows = bar ? std::max(MenuLineCount, 1) : 0;
    return CaptionHeight(true) + rows * bar + GetExtBorderMargins().top + (bar ? 1 : 0);
}

int TsSkinProvider::MaxTitleDiff() {
    TsSkinManager* m = Manager();
    const int diff = CaptionHeight(true) - GetSysCaptionHeight(Form) - 4;
    const int e = std::max(diff, 0);
    if (!m || m->Model().SkinData().BorderMode != 1) return -e;
    const TsSkinData& s = m->Model().SkinData();
    const int titleDiff = s.TitleHeight != s.MaxHeight ? std::max(s.TitleHeight - s.MaxHeight, 0) : 0;
    return titleDiff + s.BITopMargin - e;
}

void TsSkinProvider::WMGetMinMaxInfo(TMessage& m) {
    if (DrawNonClientArea && Form && Form->HandleAllocated() && Form->BorderStyle() != bsNone &&
        Form->FormStyle() != fsMDIChild && !Form->Parent() && m.LParam) {
        const HWND wnd = Form->Handle();
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        GetMonitorInfoA(MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &mi);
        const RECT& w = mi.rcWork;
        const int b = GetBorderWidth(wnd, nullptr, false);
        int t = 0;
        if (BorderForm && (StyleOf(wnd) & WS_CAPTION) == WS_CAPTION) {
            if (IsZoomed(wnd))
                if (TsSkinManager* manager = Manager()) {
                    const TsSkinData& s = manager->Model().SkinData();
                    const int maxHeight = s.MaxHeight != 0 ? s.MaxHeight : s.TitleHeight;
                    UseSysCaption = maxHeight < GetSysCaptionHeight(Form) + 4;
                }
            t = MaxTitleDiff();
        }
        auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
        info->ptMaxPosition = POINT{-b, -b - t};
        info->ptMaxSize = POINT{(w.right - w.left) + 2 * b, (w.bottom - w.top) + 2 * b + t};
        m.Result = 0;
    }
    formProc_.CallPrevious(m);
}

int TsSkinProvider::TitleIconWidth() {
    if (!ShowsAppIcon()) return 0;
    return titleIcon_->Width != 0 ? titleIcon_->Width : TitleIconSizeFor(CaptionHeight(true));
}

int TsSkinProvider::TitleIconHeight() {
    if (!ShowsAppIcon()) return 0;
    return titleIcon_->Height != 0 ? titleIcon_->Height : TitleIconSizeFor(CaptionHeight(true));
}

RECT TsSkinProvider::IconRect() {
    TsSkinManager* m = Manager();
    const TsSkinData* s = m ? &m->Model().SkinData() : nullptr;
    const RECT margins = GetExtBorderMargins();
    RECT r{};
    r.left = FrameWidth(true) + (s ? s->BILeftMargin : 0) + margins.left;
    r.right = r.left + TitleIconWidth();
    const int h = TitleIconHeight();
    r.top = FrameWidth(false) / 2 + margins.top - 1;
    const int space = (BorderForm ? 0 : FrameWidth(false)) + CaptionHeight(true) + margins.top - r.top;
    r.top += (space - h) / 2;
    r.bottom = r.top + h;
    if (BorderForm && s) {
        int dy = s->CenterOffset;
        if (Form && Form->HandleAllocated() && IsZoomed(Form->Handle()) && s->TitleHeight != s->MaxHeight)
            dy += (s->TitleHeight - s->MaxHeight) / 2 - 2;
        OffsetRect(&r, 0, dy);
    }
    return r;
}

// ------------------------------------------------------------ the pictures

// PaintNonClientCache: the frame painting (framepaint.cpp).

std::unique_ptr<TBitmap> TsSkinProvider::MakeFormImage() {
    auto image = std::make_unique<TBitmap>();
    if (!Form || !Form->HandleAllocated()) return image;
    RECT r;
    GetWindowRect(Form->Handle(), &r);
    image->SetSize(r.right - r.left, r.bottom - r.top);
    PrintWindowTree(Form->Handle(), image->Canvas()->Handle());
    GdiFlush();
    if (!BorderForm) MakeOpaque(image->Pixels());
    return image;
}

// ---------------------------------------------------------------- regions

void TsSkinProvider::InitRegionRects() {
    RegionRects.clear();
    TsSkinManager* m = Manager();
    if (!m || !Form || !Form->HandleAllocated()) return;
    const TsSkinModel& model = m->Model();
    const int w = WindowWidth(Form->Handle()), h = WindowHeight(Form->Handle());
    std::vector<TRect> rects;
    // The left corner's pieces, and the same mirrored into the right one.
    auto add = [&](int maskIndex, bool top, bool bottom) {
        if (!model.MaskIndexValid(maskIndex)) return;
        const TsMaskData& mask = model.Masks()[static_cast<std::size_t>(maskIndex)];
        std::vector<TRect> piece;
        if (top) AddMaskRegionRects(piece, 0, mask, 0, false);
        if (bottom) AddMaskRegionRects(piece, 0, mask, h - mask.MarginBottom, true);
        for (const TRect& r : piece) {
            rects.push_back(r);
            rects.push_back(TRect{w - r.Right, r.Top, w - r.Left, r.Bottom});
        }
    };
    add(SkinData->BorderIndex, true, true);
    if (const int title = GetTitleIndex(); model.SectionIndexValid(title))
        add(model.IndexOfMask(title, TitleSectionName(), "BORDERSMASK"), true, false);
    for (const TRect& r : rects) RegionRects.push_back(RECT{r.Left, r.Top, r.Right, r.Bottom});
}

HRGN TsSkinProvider::MakeRegion(int dx, int dy) {
    if (!Form || !Form->HandleAllocated()) return nullptr;
    const HWND wnd = Form->Handle();
    HRGN region = CreateRectRgn(dx, dy, WindowWidth(wnd) + dx, WindowHeight(wnd) + dy);
    for (const RECT& r : RegionRects) {
        TGdiObject<HRGN> corner(CreateRectRgn(r.left + dx, r.top + dy, r.right + dx, r.bottom + dy));
        CombineRgn(region, region, corner.Get(), RGN_DIFF);
    }
    return region;
}

void TsSkinProvider::UpdateRegion(bool repaint) {
    if (!DrawNonClientArea || !Form || !Form->HandleAllocated() || RegionKept) return;
    const HWND wnd = Form->Handle();
    if (!HasBorder() && !IsIconic(wnd) && !HasThickFrame(wnd)) return;
    // Until the caption was painted once, the form may say that it keeps
    // its own region.
    if (!NonClientPaintedOnce && static_cast<WPARAM>(SendMessageA(wnd, kKeepRegionQuery, kKeepRegionAnswer, 0)) ==
                                     kKeepRegionAnswer)
        return;
    HRGN region = nullptr;
    const int b = GetBorderWidth(wnd, nullptr, false);
    if (BorderForm) {
        const int top = b + (UseSysCaption ? GetSysCaptionHeight(Form) : GetSysCaptionHeight(Form));
        region = CreateRectRgn(b, top, WindowWidth(wnd) - b, WindowHeight(wnd) - b);
    } else if (IsZoomed(wnd) && Form->FormStyle() != fsMDIChild) {
        region = CreateRectRgn(b, b, WindowWidth(wnd) - b, WindowHeight(wnd) - b);
    } else if (RegionRects.empty()) {
        // Nothing to cut off: the window's own shape is the same picture,
        // and a region of the whole window costs a frame move through the
        // system (45-80 ms at the main form's first activation under Wine)
        // and would have to follow every size change. One left by a skin
        // with corners goes.
        RegionChanged = false;
        TGdiObject<HRGN> current(CreateRectRgn(0, 0, 0, 0));
        if (GetWindowRgn(wnd, current.Get()) != ERROR) SetWindowRgn(wnd, nullptr, repaint ? TRUE : FALSE);
        return;
    } else {
        region = MakeRegion(0, 0);
    }
    RegionChanged = false;
    // The same region again is not set: each setting moves the window's
    // frame through the system (and its activation with it), which would
    // bring the next frame paint and so the next setting.
    if (region) {
        TGdiObject<HRGN> current(CreateRectRgn(0, 0, 0, 0));
        if (GetWindowRgn(wnd, current.Get()) != ERROR && EqualRgn(current.Get(), region)) {
            DeleteObject(region);
            return;
        }
    }
    // The window owns the region from here on.
    SetWindowRgn(wnd, region, repaint ? TRUE : FALSE);
}

// ------------------------------------------------------------ repainting

void TsSkinProvider::RepaintNonClient() {
    if (Animating || AnimPending || !DrawNonClientArea || !Form || IsLoading() || Form->IsLoading()) return;
    if (!FormShowing() || !Skinned()) return;
    if (BorderForm) {
        TempBmp.reset();
        CaptionBmp.reset();
        SkinData->BGChanged = true;
        BorderForm->UpdateBorderWindow(true, 255);
        return;
    }
    SkinData->BGChanged = true;
    if (!SkinData->CacheBmp) UpdateBorderForm(ExtBordersWanted());
    // The frame strips: the caption painter draws them into the window DC;
    // until it is there the system redraws its own frame.
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW);
}

// ------------------------------------------------------------ the cover

namespace {

// Shows what the screen shows under it: no background, no painting.
class TacCoverForm : public TForm {
    KOVA_CLASS(TacCoverForm, TForm)
public:
    explicit TacCoverForm(TComponent* owner) : TForm(owner) {
        SetTag(kSkinOwnWindowTag);
        SetBorderStyle(bsNone);
        OnPaint = [](TObject*) {};
    }
    TWindowSubclass Proc;

protected:
    void CreateParams(TCreateParams& p) override {
        TForm::CreateParams(p);
        p.Style = WS_POPUP;
        p.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    }
};

}  // namespace

void TsSkinProvider::ShowMenuCover(bool full) {
    if (MenuCover || !DrawNonClientArea || AnimPending || Animating || !Form || !Form->HandleAllocated()) return;
    if (SkinData->UpdateCount != 0 || (BorderForm && !Form->Menu()) || (FormState & kTranslucentMove)) return;
    if (Form->FormStyle() == fsMDIChild && MDIProvider && MDIProvider->SkinData->UpdateCount != 0) return;
    const HWND wnd = Form->Handle();
    RECT fr{};
    GetWindowRect(wnd, &fr);
    RECT r{};
    if (BorderForm) {
        const int b = GetBorderWidth(wnd, nullptr, false);
        const int rows = std::max(MenuLineCount, 1), line = HasMenuBar();
        r.left = fr.left + b;
        r.right = fr.right - b;
        r.top = ClientOffsetY() + fr.top - (rows * line + 1) - GetExtBorderMargins().top - ExtendedTitleDiff(BorderForm);
        r.bottom = r.top + rows * line + 2;
    } else {
        r = RECT{fr.left, fr.top, fr.right, full ? fr.bottom : fr.top + ClientOffsetY()};
    }
    auto* cover = TCustomForm::Create<TacCoverForm>(nullptr);
    cover->SetBoundsRect(r);
    cover->HandleNeeded();
    cover->Proc.Attach(cover, [cover](TMessage& m) {
        if (m.Msg == WM_ERASEBKGND) {
            m.Result = 1;
            return;
        }
        cover->Proc.CallPrevious(m);
    });
    MenuCover = cover;
    HWND after = HWND_TOPMOST;
    if (!(GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        after = GetWindow(wnd, GW_HWNDPREV);
        if (!after) after = HWND_TOP;
    }
    SetWindowPos(cover->Handle(), after, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING | SWP_NOREDRAW);
}

void TsSkinProvider::HideMenuCover() {
    if (!MenuCover) return;
    auto* cover = static_cast<TacCoverForm*>(std::exchange(MenuCover, nullptr));
    cover->Proc.Detach();
    cover->Free();
}

// ------------------------------------------------------ grip and icon

void TsSkinProvider::PaintSizeGrip(HDC dc) {
    TsSkinManager* m = Manager();
    if (!m || !dc) return;
    const TsSkinModel& model = m->Model();
    const int grip = model.ConstData().GripImage;
    if (!model.MaskIndexValid(grip)) return;
    const TsMaskData& mask = model.Masks()[static_cast<std::size_t>(grip)];
    const int w = ImageWidthOfMask(mask), h = ImageHeightOfMask(mask);
    if (w <= 0 || h <= 0 || !SkinData->CacheBmp) return;
    TBitmap& cache = *SkinData->CacheBmp;
    // Placed in the bottom-right corner of the cache.
    const RECT margins = GetExtBorderMargins();
    const int bw = FrameWidth(true);
    const int x = cache.Width() - w - bw - margins.right - 1;
    const int y = cache.Height() - h - bw - margins.bottom - 1;
    TBitmap picture(w, h);
    const TColor colour = FormColor();
    picture.Pixels().Fill(0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour));
    TsParentImageInfo bg;
    bg.Bmp = &picture.Pixels();
    bg.Ready = true;
    DrawMaskState(picture.Pixels(), TPoint{0, 0}, 0, 1, mask, bg);
    BitBlt(dc, x, y, w, h, picture.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TsSkinProvider::PaintTitleIcon(TBitmap& bitmap) {
    if (!ShowsAppIcon() || !Form) return;
    const RECT r = IconRect();
    const int w = TitleIconWidth(), h = TitleIconHeight();
    if (w <= 0 || h <= 0) return;
    PixelBuffer32& dest = bitmap.Pixels();
    const auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < dest.Width() && y < dest.Height(); };
    TBitmap* glyph = titleIcon_->Glyph();
    if (glyph && glyph->Width() > 0 && glyph->Height() > 0) {
        PixelBuffer32& src = glyph->Pixels();
        bool hasAlpha = false;
        for (int y = 0; y < src.Height() && !hasAlpha; ++y)
            for (int x = 0; x < src.Width(); ++x)
                if (src.At(x, y) >> 24) {
                    hasAlpha = true;
                    break;
                }
        // Without alpha of its own the glyph's key colour is transparent.
        if (!hasAlpha)
            for (int y = 0; y < src.Height(); ++y)
                for (int x = 0; x < src.Width(); ++x) {
                    std::uint32_t& p = src.At(x, y);
                    p = (p & 0xFFFFFF) == 0xFF00FF ? 0 : (p | 0xFF000000u);
                }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int dx = r.left + x, dy = r.top + y;
                if (!inside(dx, dy)) continue;
                const std::uint32_t s = src.At(x * src.Width() / w, y * src.Height() / h);
                const std::uint32_t a = s >> 24;
                std::uint32_t& d = dest.At(dx, dy);
                auto mix = [&](int shift) {
                    const std::uint32_t sc = (s >> shift) & 0xFF, dc2 = (d >> shift) & 0xFF;
                    return ((sc * a + dc2 * (255 - a) + 127) / 255) << shift;
                };
                const std::uint32_t da = std::max<std::uint32_t>(a, d >> 24);
                d = (da << 24) | mix(16) | mix(8) | mix(0);
            }
        GdiFlush();
        return;
    }
    // The window's own icon (the one last given it), the form's, the
    // program's, the application window's small one, or the system's:
    // pixels the icon changed become opaque.
    HICON icon = nullptr;
    if (Form->HandleAllocated()) {
        icon = reinterpret_cast<HICON>(SendMessageA(Form->Handle(), WM_GETICON, w > 16 ? ICON_BIG : ICON_SMALL, 0));
        if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(Form->Handle(), WM_GETICON, w > 16 ? ICON_SMALL : ICON_BIG, 0));
    }
    if (!icon) icon = Form->Icon()->Handle();
    // The program's icon is the one its forms' window class holds (the
    // executable's own); asking the shell for it loads the shell at the
    // first paint and under Wine gives a generic picture.
    if (!icon && Form->HandleAllocated())
        icon = reinterpret_cast<HICON>(GetClassLongPtrA(Form->Handle(), w > 16 ? GCLP_HICON : GCLP_HICONSM));
    if (!icon && Form->HandleAllocated()) icon = reinterpret_cast<HICON>(GetClassLongPtrA(Form->Handle(), GCLP_HICON));
    if (!icon) icon = w > 16 ? AppIconLarge() : AppIconSmall();
    if (!icon && Application()->Handle())
        icon = reinterpret_cast<HICON>(SendMessageA(Application()->Handle(), WM_GETICON, ICON_SMALL2, 0));
    if (!icon) icon = LoadIconA(nullptr, IDI_APPLICATION);
    GdiFlush();
    std::vector<std::uint32_t> saved(static_cast<std::size_t>(w) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (inside(r.left + x, r.top + y)) saved[static_cast<std::size_t>(y) * w + x] = dest.At(r.left + x, r.top + y);
    DrawIconEx(bitmap.Canvas()->Handle(), r.left, r.top, icon, w, h, 0, nullptr, DI_NORMAL);
    GdiFlush();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!inside(r.left + x, r.top + y)) continue;
            std::uint32_t& d = dest.At(r.left + x, r.top + y);
            const std::uint32_t before = saved[static_cast<std::size_t>(y) * w + x];
            d = d == before ? before : (d | 0xFF000000u);
        }
}

// --------------------------------------------------------- published

void TsSkinProvider::DefineProps(TPropList& L) {
    L.For<TsSkinProvider>()
        .Object("AddedTitle", [](TsSkinProvider* p) -> TObject* { return p->AddedTitle(); })
        .Bool("AllowAnimation", [](TsSkinProvider* p) { return p->AllowAnimation; },
              [](TsSkinProvider* p, bool v) { p->AllowAnimation = v; })
        .Bool("AllowExtBorders", &TsSkinProvider::AllowExtBorders, &TsSkinProvider::SetAllowExtBorders)
        .Bool("AllowBlendOnMoving", [](TsSkinProvider* p) { return p->AllowBlendOnMoving; },
              [](TsSkinProvider* p, bool v) { p->AllowBlendOnMoving = v; })
        .Enum("CaptionAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TsSkinProvider::CaptionAlignment,
              &TsSkinProvider::SetCaptionAlignment)
        .Bool("DrawNonClientArea", &TsSkinProvider::GetDrawNonClientArea, &TsSkinProvider::SetDrawNonClientArea)
        .Object("SkinData", [](TsSkinProvider* p) -> TObject* { return p->SkinData.get(); })
        .Enum("GripMode", {"gmNone", "gmRightBottom"}, [](TsSkinProvider* p) { return p->GripMode; },
              [](TsSkinProvider* p, TsGripMode v) { p->GripMode = v; })
        .Bool("MakeSkinMenu", [](TsSkinProvider* p) { return p->MakeSkinMenu; },
              [](TsSkinProvider* p, bool v) { p->MakeSkinMenu = v; })
        .String("MenuLineSkin", &TsSkinProvider::MenuLineSkin, &TsSkinProvider::SetMenuLineSkin)
        .Enum("ResizeMode", {"rmStandard", "rmBorder"}, [](TsSkinProvider* p) { return p->ResizeMode; },
              [](TsSkinProvider* p, TsResizeMode v) { p->ResizeMode = v; })
        .Bool("ScreenSnap", [](TsSkinProvider* p) { return p->ScreenSnap; },
              [](TsSkinProvider* p, bool v) { p->ScreenSnap = v; })
        .Int("SnapBuffer", [](TsSkinProvider* p) { return p->SnapBuffer; },
             [](TsSkinProvider* p, int v) { p->SnapBuffer = v; })
        .Bool("ShowAppIcon", &TsSkinProvider::ShowAppIcon, &TsSkinProvider::SetShowAppIcon)
        .Collection("TitleButtons",
                    [](TsSkinProvider* p, std::size_t count, const TPropInfo::TFillItem& fill) {
                        p->TitleButtons()->Read(count, fill);
                    })
        .Object("TitleIcon", [](TsSkinProvider* p) -> TObject* { return p->TitleIcon(); })
        .String("TitleSkin", &TsSkinProvider::TitleSkin, &TsSkinProvider::SetTitleSkin)
        .Bool("UseGlobalColor", &TsSkinProvider::UseGlobalColor, &TsSkinProvider::SetUseGlobalColor)
        .Event("OnExtHitTest", &TsSkinProvider::OnExtHitTest)
        .Event("OnSkinItem", &TsSkinProvider::OnSkinItem);
    L.For<TsSkinProviderBase>().Event("OnAfterAnimation", &TsSkinProviderBase::OnAfterAnimation);
}

void RegisterSkinProviderClass() {
    if (!IsComponentClassRegistered(TsSkinProvider::StaticClass().name)) RegisterComponentClass<TsSkinProvider>();
}

}  // namespace kova::skin
