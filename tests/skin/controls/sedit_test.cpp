// The skinned edit on a real form: an edit of the framework's edit family
// under its own class name, typing into a native edit window.
#include "skin/controls/sedit.h"

#include <gtest/gtest.h>

#include "framework/forms.h"

namespace kova::skin::test {

TEST(SkinnedEdit, IsAnEditOfItsOwnClassWithANativeEditWindow) {
    TForm* form = TCustomForm::Create<TForm>(Application());
    auto* edit = new TsEdit(form);
    edit->SetParent(form);
    edit->SetBounds(8, 8, 120, 21);
    form->Show();
    EXPECT_EQ(edit->ClassName(), "TsEdit");
    EXPECT_TRUE(edit->Is<TEdit>());
    ASSERT_TRUE(edit->HandleAllocated());
    // The native edit underneath takes the keys.
    SendMessageA(edit->Handle(), WM_CHAR, 'k', 0);
    SendMessageA(edit->Handle(), WM_CHAR, '7', 0);
    EXPECT_EQ(edit->Text(), "k7");
    form->Free();
}

}  // namespace kova::skin::test
