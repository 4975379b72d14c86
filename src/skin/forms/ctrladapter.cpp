#include "skin/forms/ctrladapter.h"

#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "skin/controls/btnwnd.h"
#include "skin/controls/combownd.h"
#include "skin/controls/editwnd.h"
#include "skin/controls/listwnd.h"
#include "skin/controls/slabel.h"
#include "skin/controls/smallctrls.h"
#include "skin/controls/speedbtn.h"
#include "skin/controls/tabwnd.h"
#include "skin/controls/toolbarwnd.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinstate.h"
#include "skin/forms/frameadapter.h"
#include "skin/forms/provider.h"

namespace kova::skin {

namespace {

// Set while a walk runs at its top level: messages sent while adapters are
// made must not start another.
bool Walking = false;

std::unique_ptr<TacMainWnd> MakeEditAdapter(TWinControl* c, TsCommonData* data, TsSkinManager* manager,
                                            const std::string& section) {
    return CreateAdapter<TacEditWnd>(c->Handle(), data, manager, section);
}

// A maker of one adapter class on the control's window; an empty section
// is the class's own default.
template <class T>
std::unique_ptr<TacMainWnd> Small(TWinControl* c, TsCommonData* data, TsSkinManager* manager,
                                  const std::string& section) {
    return CreateAdapter<T>(c->Handle(), data, manager, section);
}

// A maker of the families that export a factory function, on the control's window.
template <std::unique_ptr<TacMainWnd> (*Make)(HWND, TsCommonData*, TsSkinManager*, const std::string&)>
std::unique_ptr<TacMainWnd> Windowed(TWinControl* c, TsCommonData* data, TsSkinManager* manager,
                                     const std::string& section) {
    return Make(c->Handle(), data, manager, section);
}

bool AnswersSupport(TControl* c) { return (NotifyControl(c, scQuerySupport) & 0xFF) != 0; }

}  // namespace

std::array<TacAdapterMaker, kThirdPartyKinds>& CtrlAdapterFactories() {
    static std::array<TacAdapterMaker, kThirdPartyKinds> table = [] {
        std::array<TacAdapterMaker, kThirdPartyKinds> t{};
        t[0] = MakeEditAdapter;  // ThirdEdits
        t[1] = Small<TacBtnWnd>;                 // ThirdButtons
        t[2] = Small<TacBitBtnWnd>;              // ThirdBitBtns
        t[3] = Small<TacCheckBoxWnd>;            // ThirdCheckBoxes
        t[4] = Windowed<CreateComboBoxAdapter>;  // ThirdComboBoxes
        t[5] = Windowed<CreateGridAdapter>;      // ThirdGrids
        t[6] = Small<TacGroupBoxWnd>;            // ThirdGroupBoxes
        t[7] = Windowed<CreateListViewAdapter>;  // ThirdListViews
        t[8] = Small<TacPanelWnd>;               // ThirdPanels: section chosen from the bevels
        t[9] = Windowed<CreateTreeViewAdapter>;  // ThirdTreeViews
        t[10] = CreateWWComboBoxAdapter;        // ThirdWWEdits: made from the control object
        t[11] = Windowed<CreateGridEhAdapter>;  // ThirdGridEh
        t[12] = Windowed<CreateVirtualTreeAdapter>;  // ThirdVirtualTrees
        t[13] = Windowed<CreatePageControlAdapter>;  // ThirdPageControl
        t[14] = Windowed<CreateTabControlAdapter>;   // ThirdTabControl
        t[15] = [](TWinControl* c, TsCommonData* data, TsSkinManager* manager,
                   const std::string& section) -> std::unique_ptr<TacMainWnd> {
            // The framework's tool bar is painted through its events.
            if (c->Is<TToolBar>()) return Small<TacToolBarVCLWnd>(c, data, manager, section);
            return Small<TacToolBarWnd>(c, data, manager, section.empty() ? "TOOLBAR" : section);
        };  // ThirdToolBar
        t[16] = Small<TacStatusBarWnd>;  // ThirdStatusBar: "STATUSBAR" when none given
        // ThirdSpeedButton 17 never gets a window adapter (graphic controls
        // have a handler, GraphicHandlerFactory).
        t[18] = [](TWinControl* c, TsCommonData* data, TsSkinManager* manager, const std::string& section) {
            return MakeEditAdapter(c, data, manager, section.empty() ? "PANEL_LOW" : section);
        };  // ThirdScrollControl
        t[19] = Small<TacSpinWnd>;  // ThirdUpDown
        return t;
    }();
    return table;
}

TacGraphicHandlerMaker& GraphicHandlerFactory() {
    static TacGraphicHandlerMaker maker = [](TControl* control, const std::string& section, TsSkinManager* manager,
                                             TsCommonData* data) -> std::unique_ptr<TObject> {
        auto* button = dynamic_cast<TSpeedButton*>(control);
        if (!button) return nullptr;
        return std::make_unique<TacSpeedButtonHandler>(button, section, manager, data);
    };
    return maker;
}

int ThirdPartyIndexOf(const TsSkinManager& manager, const std::string& className) {
    for (int k = 0; k < kThirdPartyKinds; ++k)
        for (const std::string& name : manager.ThirdPartyClasses(k))
            if (name == className) return k;
    return -1;
}

// ------------------------------------------------------------------ items

TacAdapterItem::TacAdapterItem(TacCtrlAdapter* owner)
    : OwnerAdapter(owner), SkinData(std::make_unique<TsCommonData>(nullptr, true)) {
    if (owner && owner->Provider && owner->Provider->SkinData)
        SkinData->SetSkinManager(owner->Provider->SkinData->SkinManager());
}

TacAdapterItem::~TacAdapterItem() {
    // The adapter leaves the window before the record it uses goes.
    WindowAdapter.reset();
}

void TacAdapterItem::DoHook(TControl* control) {
    auto* w = dynamic_cast<TWinControl*>(control);
    if (!w || control->Tag() == -98 || !w->HandleAllocated() || !control->Parent() || AnswersSupport(control)) return;
    Control = control;
    SkinData->OwnerControl = control;
    SkinData->OwnerObject = control;
    TsSkinManager* manager = SkinData->GetSkinManager();
    if (!manager) return;
    const int index = ThirdPartyIndexOf(*manager, control->ClassName());
    if (index < 0) return;
    const TacAdapterMaker& make = CtrlAdapterFactories()[static_cast<std::size_t>(index)];
    if (!make) return;
    const HWND wnd = w->Handle();
    WindowAdapter = make(w, SkinData.get(), manager, SkinData->SkinSection());
    if (WindowAdapter && WindowAdapter->Detached) {
        WindowAdapter.reset();
        // The skin's colours remade the window while its adapter started:
        // the new window gets one with the same record, which keeps the
        // control's own colours and finds the skin's already given.
        if (w->HandleAllocated() && w->Handle() != wnd && !w->IsDestroying()) {
            WindowAdapter = make(w, SkinData.get(), manager, SkinData->SkinSection());
            if (WindowAdapter && WindowAdapter->Detached) WindowAdapter.reset();
        }
    }
}

TacGraphItem::TacGraphItem(TacCtrlAdapter* owner)
    : OwnerAdapter(owner), SkinData(std::make_unique<TsCommonData>(nullptr, false)) {
    if (owner && owner->Provider && owner->Provider->SkinData)
        SkinData->SetSkinManager(owner->Provider->SkinData->SkinManager());
}

void TacGraphItem::DoHook(TControl* control) {
    if (!control || control->Tag() == -98) return;
    Control = control;
    SkinData->OwnerControl = control;
    SkinData->OwnerObject = control;
    if (GraphicHandlerFactory())
        Handler = GraphicHandlerFactory()(control, SkinData->SkinSection(), SkinData->GetSkinManager(), SkinData.get());
}

// ---------------------------------------------------------------- adapter

TacCtrlAdapter::TacCtrlAdapter(TsSkinProvider* provider) : Provider(provider) {}

TacCtrlAdapter::~TacCtrlAdapter() {
    PurgeDeadItems();
    FreeAllItems();
}

TsSkinManager* TacCtrlAdapter::Manager() const {
    return Provider && Provider->SkinData ? Provider->SkinData->GetSkinManager() : nullptr;
}

bool TacCtrlAdapter::AskSkinItem(TComponent* item, std::string& section) {
    bool canBeAdded = true;
    if (Provider && Provider->OnSkinItem) Provider->OnSkinItem(item, canBeAdded, section);
    return canBeAdded;
}

bool TacCtrlAdapter::IsControlSupported(TControl* control) {
    if (!control || control->Tag() == -98) return false;
    TsSkinManager* manager = Manager();
    if (control->IsWindowed()) {
        if (!static_cast<TWinControl*>(control)->HandleAllocated()) return false;
        if (AnswersSupport(control)) return false;
        return manager && ThirdPartyIndexOf(*manager, control->ClassName()) >= 0;
    }
    std::string section;
    if (control->Is<TLabel>()) return AskSkinItem(control, section);
    if (control->Is<TSpeedButton>() && manager && ThirdPartyIndexOf(*manager, control->ClassName()) >= 0)
        return AskSkinItem(control, section);
    return false;
}

void TacCtrlAdapter::AddControlWithSection(TControl* control, const std::string& section) {
    if (!control || control->Tag() == -98 || !control->Parent() || AnswersSupport(control)) return;
    std::string wanted = section;
    if (!AskSkinItem(control, wanted)) return;
    TacAdapterItem* item = nullptr;
    for (auto& i : Items)
        if (i->Control == control && (!i->Dead() || i->SkinData->OwnerControl == control)) {
            item = i.get();
            break;
        }
    const bool isNew = item == nullptr;
    if (isNew) {
        Items.push_back(std::make_unique<TacAdapterItem>(this));
        item = Items.back().get();
        item->Control = control;
    }
    if (!wanted.empty() || !isNew) item->SkinData->SetSkinSection(wanted);
    if (!isNew) {
        if (item->Dead()) {
            item->WindowAdapter.reset();
            if (control->Parent()) item->DoHook(control);
        }
        return;
    }
    if (control->Parent()) item->DoHook(control);
    if (!item->WindowAdapter) {
        // Found by its pointer, not assumed last: a walk nested in the hook
        // may have added items after it.
        for (std::size_t i = 0; i < Items.size(); ++i)
            if (Items[i].get() == item) {
                Items.erase(Items.begin() + static_cast<std::ptrdiff_t>(i));
                break;
            }
    }
}

void TacCtrlAdapter::AddGraphicControl(TControl* control) {
    if (!control || control->Tag() == -98 || !control->Parent() ||
        control->Perform(SkinCommandMessage, SkinCommand(scQuerySupport), 0) == 1)
        return;
    std::string section = "SPEEDBUTTON";
    if (!AskSkinItem(control, section)) return;
    TacGraphItem* item = nullptr;
    for (auto& g : GraphItems)
        if (g->Control == control) item = g.get();
    const bool isNew = item == nullptr;
    if (isNew) {
        GraphItems.push_back(std::make_unique<TacGraphItem>(this));
        item = GraphItems.back().get();
        item->Control = control;
    }
    auto* sb = dynamic_cast<TSpeedButton*>(control);
    item->SkinData->SetSkinSection(sb && sb->Flat() ? "SPEEDBUTTON_SMALL" : "SPEEDBUTTON");
    if (!isNew) return;
    item->DoHook(control);
    if (!item->Handler)
        for (std::size_t i = 0; i < GraphItems.size(); ++i)
            if (GraphItems[i].get() == item) {
                GraphItems.erase(GraphItems.begin() + static_cast<std::ptrdiff_t>(i));
                break;
            }
}

TacAdapterItem* TacCtrlAdapter::GetItem(int index) const {
    return index >= 0 && index < ItemCount() ? Items[static_cast<std::size_t>(index)].get() : nullptr;
}

void TacCtrlAdapter::DeleteItem(int index) {
    if (index < 0 || index >= ItemCount()) return;
    Items[static_cast<std::size_t>(index)] = std::move(Items.back());
    Items.pop_back();
}

void TacCtrlAdapter::BroadcastMessage(TMessage& m) {
    // A copy: an answer may free or add items.
    std::vector<TWinControl*> targets;
    for (auto& i : Items)
        if (i->WindowAdapter && !i->WindowAdapter->Detached && i->Control && i->Control->Parent())
            if (auto* w = dynamic_cast<TWinControl*>(i->Control)) targets.push_back(w);
    for (TWinControl* w : targets) {
        bool still = false;
        for (auto& i : Items) still = still || i->Control == w;
        if (still && !w->IsDestroying()) SendMessageA(w->Handle(), m.Msg, m.WParam, m.LParam);
    }
}

void TacCtrlAdapter::MakeLabelTransparent(TControl* label) {
    // The walk has made the tag test of its pass already.
    AdaptPlainLabel(static_cast<TLabel*>(label), false);
}

void TacCtrlAdapter::AdaptChildren(TWinControl* parent) {
    TsSkinManager* manager = Manager();
    if (Walking || !manager || !(manager->SkinningRules & srThirdParty)) return;
    Walking = true;
    struct TEnd {
        ~TEnd() { Walking = false; }
    } end;
    if (!parent) parent = Provider ? Provider->Form : nullptr;
    if (!parent) return;
    PurgeDeadItems();
    auto descend = [this](TControl* c) {
        auto* w = dynamic_cast<TWinControl*>(c);
        if (w && w->HandleAllocated() && w->Parent()) {
            Walking = false;
            AdaptChildren(w);
        }
    };
    for (int i = 0; i < parent->ComponentCount(); ++i) {
        TComponent* comp = parent->Components(i);
        auto* c = dynamic_cast<TControl*>(comp);
        if (!c) continue;
        // A label the provider lets be skinned (supported) is the one that
        // turns transparent: the veto keeps a label as it is.
        if (IsControlSupported(c)) {
            if (c->IsWindowed())
                AddControlWithSection(c, "");
            else if (c->Is<TLabel>() && c->Tag() != 98)
                MakeLabelTransparent(c);
        }
        descend(c);
    }
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        // A frame is skinned by an adapter of its own, which it owns.
        if (auto* frame = dynamic_cast<TCustomFrame*>(c);
            frame && frame->Tag() != -98 && frame->HandleAllocated() && !AnswersSupport(frame))
            new TsFrameAdapter(frame);
        if (IsControlSupported(c)) {
            if (c->IsWindowed())
                AddControlWithSection(c, "");
            else if (c->Is<TLabel>())
                MakeLabelTransparent(c);
            else if (c->Is<TSpeedButton>())
                AddGraphicControl(c);
        }
        descend(c);
    }
}

void TacCtrlAdapter::PurgeDeadItems() {
    // An item whose window went while its control lives is kept: the walk
    // hooks the control's next window with the same record, which holds
    // what the control looked like before the skin.
    std::erase_if(Items, [](const std::unique_ptr<TacAdapterItem>& i) {
        if (!i) return true;
        if (!i->Dead()) return false;
        const TControl* c = i->SkinData ? i->SkinData->OwnerControl : nullptr;
        return !c || c != i->Control || c->IsDestroying();
    });
    std::erase_if(GraphItems, [](const std::unique_ptr<TacGraphItem>& g) { return !g; });
}

void TacCtrlAdapter::FreeAllItems() {
    if (clearing_) return;
    clearing_ = true;
    while (!Items.empty()) Items.pop_back();
    const bool terminating = Application() && Application()->Terminated();
    while (!GraphItems.empty()) {
        if (terminating) GraphItems.back()->Control = nullptr;
        GraphItems.pop_back();
    }
    clearing_ = false;
}

// ----------------------------------------------------- the provider's seam

void TsSkinProvider::CreateCtrlAdapter() {
    if (!SkinData || !SkinData->IsSkinned(true)) return;
    auto adapter = std::make_unique<TacCtrlAdapter>(this);
    TacCtrlAdapter* a = adapter.get();
    Adapter = std::move(adapter);
    a->AdaptChildren(nullptr);
}

}  // namespace kova::skin
