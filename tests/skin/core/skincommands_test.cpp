// Owners' own answers to sub-codes, added beside the record's: sent to real
// controls' windows, as adapters and providers will be asked.
#include "skin/core/skincommands.h"

#include <gtest/gtest.h>

#include "framework/forms.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinprobes.h"

namespace kova::skin::test {

class OwnerAnswers : public ::testing::Test {
protected:
    void SetUp() override {
        form = TCustomForm::Create<TForm>(Application());
        panel = new ProbePanel(form);
        panel->SetParent(form);
        edit = new ProbeEdit(form);
        edit->SetParent(form);
        form->HandleNeeded();
        panel->HandleNeeded();
        edit->HandleNeeded();
    }
    void TearDown() override {
        for (int code : {5, 61, int{scQuerySupport}}) {
            UnregisterSkinCommand(code, ProbePanel::StaticClass());
            UnregisterSkinCommand(code, TPanel::StaticClass());
            UnregisterSkinCommand(code, TWinControl::StaticClass());
        }
        form->Free();
    }
    LRESULT Send(TWinControl* c, int code, LPARAM l = 0) { return SendSkinCommand(c->Handle(), code, l); }

    TForm* form = nullptr;
    ProbePanel* panel = nullptr;
    ProbeEdit* edit = nullptr;
};

TEST_F(OwnerAnswers, AnswerSubCodesTheRecordLeavesAndOnlyForTheirOwners) {
    // Sub-code 5 is not the record's, 61 lies past its last one.
    EXPECT_EQ(Send(panel, 5), 0);
    EXPECT_EQ(Send(panel, 61), 0);
    int asked = 0;
    RegisterSkinCommand(5, ProbePanel::StaticClass(), [&](TMessage& m, TsCommonData& data) {
        ++asked;
        EXPECT_EQ(&data, &panel->P.Data);
        m.Result = 0x55 + static_cast<LRESULT>(m.LParam);
        return true;
    });
    RegisterSkinCommand(61, ProbePanel::StaticClass(), [](TMessage& m, TsCommonData&) {
        m.Result = 61;
        return true;
    });
    EXPECT_EQ(Send(panel, 5, 1), 0x56);
    EXPECT_EQ(Send(panel, 61), 61);
    EXPECT_EQ(asked, 1);
    // Another owner's record is not asked.
    EXPECT_EQ(Send(edit, 5), 0);
    EXPECT_EQ(asked, 1);
    UnregisterSkinCommand(5, ProbePanel::StaticClass());
    EXPECT_EQ(Send(panel, 5), 0);
}

TEST_F(OwnerAnswers, TheNearestClassAnswersAndAnUnhandledAnswerPassesTheMessageOn) {
    RegisterSkinCommand(5, TWinControl::StaticClass(), [](TMessage& m, TsCommonData&) {
        m.Result = 1;
        return true;
    });
    RegisterSkinCommand(5, TPanel::StaticClass(), [](TMessage& m, TsCommonData&) {
        m.Result = 2;
        return true;
    });
    EXPECT_EQ(Send(panel, 5), 2);
    EXPECT_EQ(Send(edit, 5), 1);
    // A second answer of a class replaces its first.
    RegisterSkinCommand(5, TPanel::StaticClass(), [](TMessage& m, TsCommonData&) {
        m.Result = 3;
        return true;
    });
    EXPECT_EQ(Send(panel, 5), 3);

    // An owner may override one of the record's own answers; not handled,
    // the message goes on to the control, which does not know it.
    EXPECT_EQ(Send(panel, scQuerySupport), 1);
    RegisterSkinCommand(scQuerySupport, ProbePanel::StaticClass(), [](TMessage&, TsCommonData&) { return false; });
    EXPECT_EQ(Send(panel, scQuerySupport), 0);
    EXPECT_EQ(Send(edit, scQuerySupport), 1);
}

}  // namespace kova::skin::test
