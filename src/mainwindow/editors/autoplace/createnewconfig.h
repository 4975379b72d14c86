// The small name-and-clone dialog: a name and an optional source to copy,
// relabelled by each caller (configs, groups).
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

    // Fills the captions, the name and the clone list as the caller asks.
    void Prepare(const autoplace::TNameDialogSetup& setup);
};

}  // namespace kova::mainwindow
