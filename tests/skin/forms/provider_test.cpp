// The per-form skin provider on a real form: it takes over the form's
// window procedure while it lives, answers for the form, and gives the
// procedure back when freed.
#include "skin/forms/provider.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/forms.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinnedforms.h"

namespace kova::skin::test {

TEST(SkinProvider, TakesOverTheFormsMessagesAndGivesThemBack) {
    TForm* form = TCustomForm::Create<TForm>(Application());
    form->HandleNeeded();
    int seen = 0;
    TWndMethod own = form->WindowProc;
    form->WindowProc = [&seen, own](TMessage& m) {
        if (m.Msg == WM_USER + 7) ++seen;
        own(m);
    };
    EXPECT_EQ(ProviderOfForm(form), nullptr);
    auto* provider = new TsSkinProvider(form);
    EXPECT_EQ(ProviderOfForm(form), provider);
    EXPECT_EQ(SendSkinCommand(form->Handle(), scQuerySupport, 0), 1);
    // What the provider does not answer reaches the form's own procedure.
    SendMessageA(form->Handle(), WM_USER + 7, 0, 0);
    EXPECT_EQ(seen, 1);
    EXPECT_NE(std::find(SkinnedForms().begin(), SkinnedForms().end(), form), SkinnedForms().end());

    provider->Free();
    EXPECT_EQ(ProviderOfForm(form), nullptr);
    EXPECT_EQ(SendSkinCommand(form->Handle(), scQuerySupport, 0), 0);
    SendMessageA(form->Handle(), WM_USER + 7, 0, 0);
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(std::find(SkinnedForms().begin(), SkinnedForms().end(), form), SkinnedForms().end());
    form->Free();
}

}  // namespace kova::skin::test
