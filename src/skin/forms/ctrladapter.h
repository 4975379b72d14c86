// The adapter of a skinned form's child controls: when the form is skinned,
// and whenever a control is inserted later, every child control whose class
// the skin manager's class-name lists name gets the window adapter of its
// list; labels become transparent in the skin's font colour; speed buttons
// get a handler. Tag -98, controls skinned on their own and unlisted classes
// keep their look; the provider's OnSkinItem may veto a control.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "skin/controls/adapters.h"
#include "skin/core/commondata.h"
#include "skin/core/skinmanager.h"

namespace kova::skin {

class TsSkinProvider;
class TacCtrlAdapter;

// Makes the window adapter of one class-name list for a control's window
// (null: that list's controls keep their own look). One entry per list
// index; the lists without an adapter of their own stay empty.
using TacAdapterMaker = std::function<std::unique_ptr<TacMainWnd>(TWinControl* control, TsCommonData* data,
                                                                  TsSkinManager* manager, const std::string& section)>;
std::array<TacAdapterMaker, kThirdPartyKinds>& CtrlAdapterFactories();
// Makes the handler that skins a speed button (null: it keeps its look).
using TacGraphicHandlerMaker = std::function<std::unique_ptr<TObject>(TControl* control, const std::string& section,
                                                                      TsSkinManager* manager, TsCommonData* data)>;
TacGraphicHandlerMaker& GraphicHandlerFactory();

// The first list (by index) that names the class exactly, -1 for none.
int ThirdPartyIndexOf(const TsSkinManager& manager, const std::string& className);

class TacAdapterItem {
public:
    explicit TacAdapterItem(TacCtrlAdapter* owner);
    ~TacAdapterItem();
    TacCtrlAdapter* OwnerAdapter = nullptr;
    TControl* Control = nullptr;
    std::unique_ptr<TsCommonData> SkinData;
    std::unique_ptr<TacMainWnd> WindowAdapter;
    // The adapter of the control's list made and kept.
    void DoHook(TControl* control);
    // Its adapter let go of the window (the window went).
    bool Dead() const { return WindowAdapter && WindowAdapter->Detached; }
};

class TacGraphItem {
public:
    explicit TacGraphItem(TacCtrlAdapter* owner);
    TacCtrlAdapter* OwnerAdapter = nullptr;
    TControl* Control = nullptr;
    std::unique_ptr<TsCommonData> SkinData;
    std::unique_ptr<TObject> Handler;
    void DoHook(TControl* control);
};

class TacCtrlAdapter : public TObject {
    KOVA_CLASS(TacCtrlAdapter, TObject)
public:
    explicit TacCtrlAdapter(TsSkinProvider* provider);
    ~TacCtrlAdapter() override;

    TsSkinProvider* Provider = nullptr;
    std::string DefaultSection;
    std::vector<std::unique_ptr<TacAdapterItem>> Items;
    std::vector<std::unique_ptr<TacGraphItem>> GraphItems;

    bool IsControlSupported(TControl* control);
    void AddControl(TControl* control) { AddControlWithSection(control, DefaultSection); }
    void AddControlWithSection(TControl* control, const std::string& section);
    void AddGraphicControl(TControl* control);
    TacAdapterItem* GetItem(int index) const;
    int ItemCount() const { return static_cast<int>(Items.size()); }
    void DeleteItem(int index);
    void BroadcastMessage(TMessage& m);
    // Parent null: the provider's form.
    void AdaptChildren(TWinControl* parent);
    void PurgeDeadItems();
    void FreeAllItems();

private:
    TsSkinManager* Manager() const;
    // OnSkinItem asked (when assigned) with CanBeAdded true.
    bool AskSkinItem(TComponent* item, std::string& section);
    void MakeLabelTransparent(TControl* label);
    bool clearing_ = false;
};

}  // namespace kova::skin
