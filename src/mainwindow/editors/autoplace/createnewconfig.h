// The small name-and-clone dialog: a name and an optional source to copy,
// relabelled by each caller (configs, groups, poker rooms, room hotkeys).
#pragma once

#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "mainwindow/editors/autoplace/model/autoplacemodel.h"

namespace kova::mainwindow {

class TCreateNewConfig : public TForm {
    KOVA_CLASS(TCreateNewConfig, TForm)
public:
    explicit TCreateNewConfig(TComponent* owner);

    TLabel* Label1 = nullptr;
    TEdit* ConfigName = nullptr;
    TLabel* Label2 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;

    // Fills the captions, the name and the clone list as the caller asks,
    // nothing chosen; a caller that offers nothing to clone (no label, no
    // items) gets the dialog without the clone row.
    void Prepare(const autoplace::TNameDialogSetup& setup);
};

// The one name dialog of the main form, made on first use and kept: every
// caller prepares it in turn, so the form never holds two of the same name.
TCreateNewConfig* NameDialogOf(TForm& owner);

}  // namespace kova::mainwindow
