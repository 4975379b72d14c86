// The small dialogs the main form opens: the TOI settings of the edited
// config, the advanced auto-registrator, the About window, and the
// window-title dialog that the title editors prepare and read.
#pragma once

#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "mainwindow/settings/logic/settingsmodel.h"

namespace kova::mainwindow {

class TKOVAForm1;

// "Advanced Window Title": up to three key phrases joined by " and ",
// " or " or " and not ". Made on first use by its caller, and kept.
class TAddWindowTitle : public TForm {
    KOVA_CLASS(TAddWindowTitle, TForm)
public:
    explicit TAddWindowTitle(TComponent* owner);

    TComboBox *Phrase1ComBox = nullptr, *Phrase2ComBox = nullptr, *Phrase3ComBox = nullptr;
    TComboBox* ComboBox1 = nullptr;  // between phrases 1 and 2
    TComboBox* ComboBox2 = nullptr;  // between phrases 2 and 3
    TButton* OkBtn = nullptr;
    TButton* CancelBtn = nullptr;

    // Every phrase combo lists `titles` with an empty text; both operators
    // on " and ".
    void Prepare(const std::vector<std::string>& titles);
    // The phrases as typed and the operators as shown.
    settings::TTitleFields Fields() const;
};

// The main form's one title dialog, made on first use and kept; the room
// editor and the group editor prepare it in turn.
TAddWindowTitle* TitleDialogOf(TForm& owner);

// The About window: the program's name and version under the main form's
// caption. Made on first use, owned by the main form.
class TAboutWindow : public TForm {
    KOVA_CLASS(TAboutWindow, TForm)
public:
    explicit TAboutWindow(TComponent* owner);

    TLabel* ProgramL = nullptr;
    TLabel* VersionL = nullptr;
    TButton* OkBtn = nullptr;

    void FormCreate();
};

// Binds the main form's TOISettingsBtnClick, AdvAR_BtnClick,
// AboutBtnClick and AdvancedTitleBtnClick.
void BindSmallDialogButtons(TKOVAForm1& form);

// The TOI settings of the edited config: on OK the settings block takes the
// dialog's fields (text that is no number as 0). The hotkey combos change
// shared bindings 9 and 10 at once, also when the dialog is cancelled.
// Returns the modal result.
int EditTOISettings(TKOVAForm1& form);
// Shows the advanced auto-registrator (made when missing) on top.
void ShowAdvAutoReg();
// Shows the About window modally.
int ShowAbout(TKOVAForm1& form);
// The window-title dialog for the selected group of the AutoPlace page (the
// phrases list the title combo's items): on OK the composed title becomes
// the combo's text and the group's title. Without a group: "Please Add New
// Group first!".
int EditGroupTitle(TKOVAForm1& form);

}  // namespace kova::mainwindow
