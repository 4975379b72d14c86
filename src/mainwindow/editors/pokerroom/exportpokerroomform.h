// The chooser of room export and import: a list of rooms to tick, "Choose
// all", and the button that goes on.
#pragma once

#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/stdctrls.h"

namespace kova::mainwindow {

class TExportPokerRoomForm : public TForm {
    KOVA_CLASS(TExportPokerRoomForm, TForm)
public:
    explicit TExportPokerRoomForm(TComponent* owner);

    TLabel* Label1 = nullptr;
    TCheckListBox* CheckListBox1 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TCheckBox* CheckBox1 = nullptr;

    // Caption, label, button and the room names, every one ticked.
    void Prepare(const std::string& caption, const std::string& label, const std::string& button,
                 const std::vector<std::string>& names);
    std::vector<bool> Ticks() const;
    void CheckBox1Click();
};

}  // namespace kova::mainwindow
