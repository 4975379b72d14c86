#include "mainwindow/editors/pokerroom/exportpokerroomform.h"

namespace kova::mainwindow {

TExportPokerRoomForm::TExportPokerRoomForm(TComponent* owner) : TForm(owner) {
    BindField("Label1", Label1);
    BindField("CheckListBox1", CheckListBox1);
    BindField("Button1", Button1);
    BindField("Button2", Button2);
    BindField("CheckBox1", CheckBox1);
    RegisterMethod("CheckBox1Click", TNotifyEvent([this](TObject*) { CheckBox1Click(); }));
}

void TExportPokerRoomForm::Prepare(const std::string& caption, const std::string& label, const std::string& button,
                                   const std::vector<std::string>& names) {
    SetCaption(caption);
    Label1->SetCaption(label);
    Button1->SetCaption(button);
    CheckBox1->SetChecked(true);
    CheckListBox1->Items()->Clear();
    for (const std::string& name : names) CheckListBox1->Items()->Add(name);
    for (int i = 0; i < CheckListBox1->Items()->Count(); ++i) CheckListBox1->SetChecked(i, true);
}

std::vector<bool> TExportPokerRoomForm::Ticks() const {
    std::vector<bool> ticks;
    for (int i = 0; i < CheckListBox1->Items()->Count(); ++i) ticks.push_back(CheckListBox1->Checked(i));
    return ticks;
}

void TExportPokerRoomForm::CheckBox1Click() {
    for (int i = 0; i < CheckListBox1->Items()->Count(); ++i) CheckListBox1->SetChecked(i, CheckBox1->Checked());
}

}  // namespace kova::mainwindow
