#include "mainwindow/editors/autoplace/createnewconfig.h"

namespace kova::mainwindow {

TCreateNewConfig::TCreateNewConfig(TComponent* owner) : TForm(owner) {
    BindField("Label1", Label1);
    BindField("ConfigName", ConfigName);
    BindField("Label2", Label2);
    BindField("ComboBox1", ComboBox1);
    BindField("Button1", Button1);
    BindField("Button2", Button2);
}

void TCreateNewConfig::Prepare(const autoplace::TNameDialogSetup& setup) {
    SetCaption(setup.Caption);
    Label1->SetCaption(setup.NameLabel);
    Label2->SetCaption(setup.CloneLabel);
    ConfigName->SetText(setup.Name);
    ComboBox1->Items()->Clear();
    for (const std::string& item : setup.CloneItems) ComboBox1->Items()->Add(item);
    ComboBox1->SetItemIndex(-1);
    const bool clone = !setup.CloneLabel.empty() || !setup.CloneItems.empty();
    Label2->SetVisible(clone);
    ComboBox1->SetVisible(clone);
}

TCreateNewConfig* NameDialogOf(TForm& owner) {
    for (int i = 0; i < owner.ComponentCount(); ++i)
        if (auto* d = dynamic_cast<TCreateNewConfig*>(owner.Components(i))) return d;
    return TCustomForm::Create<TCreateNewConfig>(&owner);
}

}  // namespace kova::mainwindow
