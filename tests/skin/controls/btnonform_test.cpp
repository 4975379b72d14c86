// The button family on a skinned form: the child adaptation gives push
// buttons, check boxes, radio buttons and group boxes their adapters, the
// buttons paint from the skin, and the native look comes back when the
// skin goes.
#include <gtest/gtest.h>

#include "common/win32_testing.h"
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

COLORREF Printed(HWND wnd, int x, int y) {
    RECT r{};
    GetWindowRect(wnd, &r);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
    HGDIOBJ old = SelectObject(mem, bmp);
    SendMessageA(wnd, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_NONCLIENT);
    const COLORREF c = GetPixel(mem, x, y);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return c;
}

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
    // A label of the box's own: no window, painted with the box.
    auto* label = new TLabel(form);
    label->SetParent(group);
    label->SetBounds(10, 40, 100, 20);
    label->SetCaption("WWWWWWWW");
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
    // Its label shows on the skinned box: ink between the box's own
    // background at the label's left and right.
    const COLORREF boxBackground = Printed(group->Handle(), 5, 50);
    bool ink = false;
    for (int x = 12; x < 100 && !ink; ++x) ink = Printed(group->Handle(), x, 50) != boxBackground;
    EXPECT_TRUE(ink) << "the label is not painted on the skinned group box";
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
