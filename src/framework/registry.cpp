#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/grids.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/portable/formtext.h"
#include "framework/stdctrls.h"

namespace kova {

void RegisterFrameworkClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterComponentClass<TEdit>();
    RegisterComponentClass<TMemo>();
    RegisterComponentClass<TListBox>();
    RegisterComponentClass<TCheckListBox>();
    RegisterComponentClass<TComboBox>();
    RegisterComponentClass<TButton>();
    RegisterComponentClass<TCheckBox>();
    RegisterComponentClass<TRadioButton>();
    RegisterComponentClass<TGroupBox>();
    RegisterComponentClass<TLabel>();
    RegisterComponentClass<TStaticText>();
    RegisterComponentClass<TPanel>();
    RegisterComponentClass<TImage>();
    RegisterComponentClass<TTimer>();
    RegisterComponentClass<TSpeedButton>();
    RegisterComponentClass<TRadioGroup>();
    RegisterComponentClass<TScrollBox>();
    RegisterComponentClass<TPageControl>();
    RegisterComponentClass<TTabSheet>();
    RegisterComponentClass<TUpDown>();
    RegisterComponentClass<TTabControl>();
    RegisterComponentClass<TStatusBar>();
    RegisterComponentClass<TToolBar>();
    RegisterComponentClass<TListView>();
    RegisterComponentClass<TTreeView>();
    RegisterComponentClass<TStringGrid>();
    RegisterComponentClass<TMenuItem>();
    RegisterComponentClass<TPopupMenu>();
    RegisterComponentClass<TMainMenu>();
    RegisterComponentClass<TImageList>();
    RegisterComponentClass<TColorDialog>();
    RegisterComponentClass<TFontDialog>();
    RegisterComponentClass<TOpenDialog>();
    RegisterComponentClass<TSaveDialog>();
    const struct {
        const char* name;
        int value;
    } cursors[] = {{"crDefault", crDefault}, {"crNone", crNone},   {"crArrow", crArrow},
                   {"crCross", crCross},     {"crIBeam", crIBeam}, {"crSizeAll", crSizeAll},
                   {"crHandPoint", crHandPoint}, {"crHourGlass", crHourGlass}, {"crSizeWE", crSizeWE},
                   {"crSizeNS", crSizeNS},   {"crSizeNWSE", crSizeNWSE}, {"crNo", crNo}};
    for (const auto& c : cursors) RegisterIntConstant(c.name, c.value);
    const struct {
        const char* name;
        int value;
    } results[] = {{"mrNone", mrNone}, {"mrOk", mrOk}, {"mrCancel", mrCancel}, {"mrAbort", mrAbort},
                   {"mrRetry", mrRetry}, {"mrIgnore", mrIgnore}, {"mrYes", mrYes}, {"mrNo", mrNo}};
    for (const auto& r : results) RegisterIntConstant(r.name, r.value);
}

}  // namespace kova
