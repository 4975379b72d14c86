#include "mainwindow/dialogs/smalldialogs.h"

#include "framework/dialogs.h"
#include "mainwindow/dialogs/toolforms.h"
#include "mainwindow/hotkeys/hotkeys.h"
#include "mainwindow/mainform/main.h"
#include "mainwindow/settings/commonsettings.h"

namespace kova::mainwindow {

namespace t = kova::tables;
namespace st = settings;

// ---- window title ----------------------------------------------------------------------

TAddWindowTitle::TAddWindowTitle(TComponent* owner) : TForm(owner) {
    BindField("Phrase1ComBox", Phrase1ComBox);
    BindField("Phrase2ComBox", Phrase2ComBox);
    BindField("Phrase3ComBox", Phrase3ComBox);
    BindField("ComboBox1", ComboBox1);
    BindField("ComboBox2", ComboBox2);
    BindField("OkBtn", OkBtn);
    BindField("CancelBtn", CancelBtn);
}

void TAddWindowTitle::Prepare(const std::vector<std::string>& titles) {
    for (TComboBox* phrase : {Phrase1ComBox, Phrase2ComBox, Phrase3ComBox}) {
        phrase->Items()->Clear();
        for (const std::string& title : titles) phrase->Items()->Add(title);
        phrase->SetItemIndex(-1);
        phrase->SetText("");
    }
    ComboBox1->SetItemIndex(0);
    ComboBox2->SetItemIndex(0);
}

st::TTitleFields TAddWindowTitle::Fields() const {
    st::TTitleFields f;
    f.Phrases = {Phrase1ComBox->Text(), Phrase2ComBox->Text(), Phrase3ComBox->Text()};
    // The operator lists always show one of their items.
    const std::string op1 = ComboBox1->Text(), op2 = ComboBox2->Text();
    if (!op1.empty()) f.Operators[0] = op1;
    if (!op2.empty()) f.Operators[1] = op2;
    return f;
}

TAddWindowTitle* TitleDialogOf(TForm& owner) {
    auto* d = dynamic_cast<TAddWindowTitle*>(owner.FindComponent("AddWindowTitle"));
    return d ? d : TCustomForm::Create<TAddWindowTitle>(&owner);
}

// ---- About -----------------------------------------------------------------------------

TAboutWindow::TAboutWindow(TComponent* owner) : TForm(owner) {
    BindField("ProgramL", ProgramL);
    BindField("VersionL", VersionL);
    BindField("OkBtn", OkBtn);
    RegisterMethod("FormCreate", TNotifyEvent([this](TObject*) { FormCreate(); }));
}

void TAboutWindow::FormCreate() {
    SetCaption(MainFormCaption);
    VersionL->SetCaption(std::string("Version ") + ProgramVersion);
}

int ShowAbout(TKOVAForm1& form) {
    auto* about = dynamic_cast<TAboutWindow*>(form.FindComponent("AboutWindow"));
    if (!about) about = TCustomForm::Create<TAboutWindow>(&form);
    return about->ShowModal();
}

// ---- advanced auto-registrator -----------------------------------------------------------

TAdvAutoReg::TAdvAutoReg(TComponent* owner) : TForm(owner) {
    BindField("StringGrid1", StringGrid1);
    BindField("ComboBox1", ComboBox1);
    BindField("ComboBox2", ComboBox2);
}

void ShowAdvAutoReg() {
    if (!AdvAutoReg) AdvAutoReg = TCustomForm::Create<TAdvAutoReg>(Application());
    if (!AdvAutoReg->Visible()) AdvAutoReg->Show();
    BringWindowToTop(AdvAutoReg->Handle());
}

// ---- TOI settings ------------------------------------------------------------------------

TTOISettings::TTOISettings(TComponent* owner) : TForm(owner) {
    BindField("StackEdit", StackEdit);
    BindField("NewTableCB", NewTableCB);
    BindField("RadioButton1", RadioButton1);
    BindField("RadioButton2", RadioButton2);
    BindField("Comb19", Comb19);
    BindField("Comb29", Comb29);
    BindField("Comb20", Comb20);
    BindField("Comb30", Comb30);
    BindField("KeepInGridEdit", KeepInGridEdit);
    BindField("GridBBEdit", GridBBEdit);
    BindField("SendToBottomCB", SendToBottomCB);
    BindField("OkBtn", OkBtn);
    BindField("CancelBtn", CancelBtn);
    RegisterMethod("Comb19Change", TNotifyEvent([this](TObject* s) { Comb19Change(s); }));
    RegisterMethod("Comb29Change", TNotifyEvent([this](TObject* s) { Comb29Change(s); }));
    RegisterMethod("Comb29KeyUp",
                   TKeyEvent([this](TObject* s, WORD& key, TShiftState) { Comb29KeyUp(s, key); }));
}

// The combos are shared rows 9 and 10 of the main form (their Tag).
void TTOISettings::Comb19Change(TObject* sender) {
    if (HotKeyRows) HotKeyRows->Combo1Change(sender);
}
void TTOISettings::Comb29Change(TObject* sender) {
    if (HotKeyRows) HotKeyRows->Combo2Change(sender);
}
void TTOISettings::Comb29KeyUp(TObject* sender, WORD key) {
    if (HotKeyRows) HotKeyRows->Combo2KeyUp(sender, key);
}

int EditTOISettings(TKOVAForm1& form) {
    // The settings belong to a config: without one they would go nowhere.
    if (form.ConfigListBox->Items()->Count() == 0) {
        ShowMessage(CreateConfigFirstMessage);
        return mrCancel;
    }
    if (!TOISettings) TOISettings = TCustomForm::Create<TTOISettings>(Application());
    TTOISettings& d = *TOISettings;
    d.HotKeyRows = &form.Settings();

    form.Settings().WhileFilling([&] {
        const std::vector<std::string> modifiers = st::ModifierItems();
        const std::vector<std::string> keys = st::KeyItems();
        const struct {
            TComboBox *modifier, *key;
            int32_t row;
        } rows[] = {{d.Comb19, d.Comb29, 9}, {d.Comb20, d.Comb30, 10}};
        for (const auto& r : rows) {
            if (r.modifier->Items()->Count() == 0)
                for (const std::string& item : modifiers) r.modifier->Items()->Add(item);
            if (r.key->Items()->Count() == 0)
                for (const std::string& item : keys) r.key->Items()->Add(item);
            const t::THotKeyBinding& b = t::UserOptions.Bindings[static_cast<size_t>(st::SharedRowBinding(r.row))];
            SelectKeyInCombo(r.modifier, b.Modifier);
            SelectKeyInCombo(r.key, b.Key);
        }
        const st::TTOIFields f = st::TOIFieldsOf(form.EditedConfig.TOI);
        d.StackEdit->SetText(f.StackSlot);
        d.NewTableCB->SetItemIndex(f.NewTablesItem);
        d.RadioButton1->SetChecked(f.WhenAutoActivated);
        d.RadioButton2->SetChecked(f.AfterEnteringPot);
        d.KeepInGridEdit->SetText(f.KeepInGrid);
        d.GridBBEdit->SetText(f.GridBB);
        d.SendToBottomCB->SetChecked(f.SendToBottom);
    });

    const int result = d.ShowModal();
    if (result != mrOk) return result;
    st::TTOIFields f;
    f.StackSlot = d.StackEdit->Text();
    f.NewTablesItem = d.NewTableCB->ItemIndex() > 0 ? 1 : 0;
    f.WhenAutoActivated = d.RadioButton1->Checked();
    f.AfterEnteringPot = d.RadioButton2->Checked();
    f.KeepInGrid = d.KeepInGridEdit->Text();
    f.GridBB = d.GridBBEdit->Text();
    f.SendToBottom = d.SendToBottomCB->Checked();
    st::StoreTOIFields(f, form.EditedConfig.TOI);
    return result;
}

// ---- the group's title -------------------------------------------------------------------

int EditGroupTitle(TKOVAForm1& form) {
    TAutoPlacePage& page = form.AutoPlace();
    if (page.Model.SelectedGroup < 0) {
        ShowMessage(autoplace::AddGroupFirstText);
        return mrCancel;
    }
    TAddWindowTitle* d = TitleDialogOf(form);
    d->Prepare(page.ComboBoxTitle->Items()->ToVector());
    const int result = d->ShowModal();
    if (result != mrOk) return result;
    // The group keeps the title as its text, which it splits into the
    // operands and operators when the editor is stored.
    page.ComboBoxTitle->SetText(st::ComposeTitle(d->Fields()).Text.Str());
    page.StoreGroupEditor();
    return result;
}

void BindSmallDialogButtons(TKOVAForm1& form) {
    TKOVAForm1* f = &form;
    form.RegisterMethod("AdvancedTitleBtnClick", TNotifyEvent([f](TObject*) { EditGroupTitle(*f); }));
    form.RegisterMethod("TOISettingsBtnClick", TNotifyEvent([f](TObject*) { EditTOISettings(*f); }));
    form.RegisterMethod("AdvAR_BtnClick", TNotifyEvent([](TObject*) { ShowAdvAutoReg(); }));
    form.RegisterMethod("AboutBtnClick", TNotifyEvent([f](TObject*) { ShowAbout(*f); }));
}

}  // namespace kova::mainwindow
