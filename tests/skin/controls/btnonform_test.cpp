// The button family on a skinned form: the child adaptation gives push
// buttons, check boxes, radio buttons and group boxes their adapters, the
// buttons paint from the skin, and the native look comes back when the
// skin goes.
#include <gtest/gtest.h>

#include "common/win32_testing.h"
#include "skinnedwindows.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "skin/controls/btnwnd.h"
#include "skin/controls/combownd.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/forms/ctrladapter.h"
#include "skin/forms/provider.h"

namespace kova::skin::test {
namespace {

COLORREF Printed(HWND wnd, int x, int y) { return TPrinted(wnd).At(x, y); }

class ButtonsOnFormTest : public ::testing::Test {
protected:
    void TearDown() override { ResetSkinServices(); }
};

TEST_F(ButtonsOnFormTest, TheAdaptationGivesEachClassItsAdapterAndTheSkinGoingTakesThemAway) {
    TsSkinManager* m = new TsSkinManager(nullptr);
    AddInternalSkins(m->Model().InternalSkins);
    m->ThirdParty.Lists[1] = "TButton";
    m->ThirdParty.Lists[3] = "TCheckBox\nTRadioButton";
    m->ThirdParty.Lists[4] = "TComboBox";
    m->ThirdParty.Lists[6] = "TGroupBox";
    m->UpdateThirdPartyLists();
    m->SetSkinName("Linen (internal)");
    TForm* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(100, 80, 420, 300);
    auto place = [&](TWinControl* c, int top) {
        c->SetBounds(10, top, 140, 30);
        c->SetParent(form);
        c->SetCaption("Caption");
    };
    auto* button = new TButton(form);
    place(button, 10);
    auto* check = new TCheckBox(form);
    place(check, 50);
    auto* radio = new TRadioButton(form);
    place(radio, 90);
    auto* group = new TGroupBox(form);
    place(group, 130);
    group->SetHeight(100);
    auto* combo = new TComboBox(form);
    combo->SetBounds(200, 10, 140, 24);
    combo->SetParent(form);
    form->Show();
    const COLORREF nativeButton = Printed(button->Handle(), 4, 15);
    auto* provider = new TsSkinProvider(form);
    provider->Loaded();
    kova::test::PumpMessages();

    struct Case {
        TWinControl* Control;
        const char* Section;
        bool (*IsRight)(TacMainWnd*);
    };
    const Case cases[] = {
        {button, "BUTTON", [](TacMainWnd* a) { return dynamic_cast<TacBtnWnd*>(a) != nullptr; }},
        {check, "CHECKBOX", [](TacMainWnd* a) { return dynamic_cast<TacCheckBoxWnd*>(a) != nullptr; }},
        {radio, "CHECKBOX", [](TacMainWnd* a) { return dynamic_cast<TacCheckBoxWnd*>(a) != nullptr; }},
        {group, "GROUPBOX", [](TacMainWnd* a) { return dynamic_cast<TacGroupBoxWnd*>(a) != nullptr; }},
        {combo, "COMBOBOX", [](TacMainWnd* a) { return dynamic_cast<TacComboBoxWnd*>(a) != nullptr; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Control->ClassName());
        TacMainWnd* a = FindAdapter(c.Control->Handle());
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(c.IsRight(a));
        EXPECT_EQ(a->CommonData->SkinSection(), c.Section);
    }
    // The group box tells its caption's height.
    EXPECT_GE(SendSkinCommand(group->Handle(), 27, 0), 6);
    // The button's face is the skin's, not the native one.
    const COLORREF skinned = Printed(button->Handle(), 4, 15);
    EXPECT_NE(skinned, nativeButton);

    m->SetActive(false);
    kova::test::PumpMessages();
    for (const Case& c : cases) EXPECT_EQ(FindAdapter(c.Control->Handle()), nullptr) << c.Control->ClassName();
    EXPECT_EQ(Printed(button->Handle(), 4, 15), nativeButton);
    form->Free();
    m->Free();
}

}  // namespace
}  // namespace kova::skin::test
