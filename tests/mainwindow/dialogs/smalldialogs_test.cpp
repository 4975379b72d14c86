// The small dialogs opened from the main form, through their buttons: the
// TOI settings of the edited config (typed numbers, the radio choice and
// the two hotkeys, which change at once even when the dialog is cancelled),
// the advanced auto-registrator, the About window with the program's
// version, and the window-title dialog with its composed title. Modal forms
// are answered through the dialog seam after their controls were driven by
// window messages; the About window also runs its own modal loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "mainwindow/dialogs/smalldialogs.h"
#include "mainwindow/dialogs/toolforms.h"
#include "mainwindow/settings/logic/settingsmodel.h"
#include "mainwindow/settings/settingstesting.h"

namespace {

using namespace kova;
using namespace kova::test;
using kova::mainwindow::TAboutWindow;
using kova::mainwindow::TAddWindowTitle;
using kova::mainwindow::TTOISettings;
namespace t = kova::tables;
namespace st = kova::mainwindow::settings;

class SmallDialogs : public SettingsFormTest {
protected:
    void TearDown() override {
        // The program makes these at start and keeps them; a test's go with it.
        if (mainwindow::TOISettings) mainwindow::TOISettings->Free();
        if (mainwindow::AdvAutoReg) mainwindow::AdvAutoReg->Free();
        mainwindow::TOISettings = nullptr;
        mainwindow::AdvAutoReg = nullptr;
        SettingsFormTest::TearDown();
    }
    void OpenWithConfig() {
        WriteFile(Path("PlaceConfig.cnfg"),
                  PlaceConfigFile({TestConfigData{"Main", {TestGroupData{"G", "T", "*", {{0, 0, 100, 100}}}}}}, 0));
        WriteFile(Path("user.ini"), UserIniFile(0, 0, 0));
        Open();
    }
    TButton* Button(const std::string& name) { return Find<TButton>(form_, name); }
};

TEST_F(SmallDialogs, TOISettingsShowTheConfigAndStoreWhatWasTypedOnOk) {
    OpenWithConfig();
    form_->EditedConfig.TOI.Padding = 0x33;
    std::string shown;
    onModal_ = [&](TCustomForm* f) {
        auto* d = dynamic_cast<TTOISettings*>(f);
        TDialogAnswer a;
        if (!d) return a;
        shown = d->Caption() + "|" + d->StackEdit->Text() + "|" + d->NewTableCB->Text() + "|" +
                (d->RadioButton1->Checked() ? "auto" : "pot") + "|" + d->KeepInGridEdit->Text() + "|" +
                d->GridBBEdit->Text() + "|" + (d->SendToBottomCB->Checked() ? "bottom" : "-") + "|" +
                d->Comb19->Text() + "+" + d->Comb29->Text();
        Type(d->StackEdit, "3");
        Choose(d->NewTableCB, "Grid");
        Click(d->RadioButton2);
        Type(d->KeepInGridEdit, "four");
        Type(d->GridBBEdit, " 200");
        Click(d->SendToBottomCB);
        Choose(d->Comb19, "Ctrl");
        ReleaseKey(d->Comb29, 'G');
        a.result = mrOk;
        return a;
    };
    Click(Button("TOISettingsBtn"));
    ASSERT_EQ(modalForms_.size(), 1u);
    EXPECT_EQ(shown, "TOI Settings|0|Stack|auto|0|0|-|None+None");
    const t::TTOIConfig& toi = form_->EditedConfig.TOI;
    EXPECT_EQ(toi.StackSlot, 3);
    EXPECT_EQ(toi.NewTablesTo, 1);
    EXPECT_EQ(toi.WhenAutoActivated, 0);
    EXPECT_EQ(toi.AfterEnteringPot, 1);
    EXPECT_EQ(toi.SendToBottomAfterFold, 1);
    EXPECT_EQ(toi.KeepInGridCount, 0);  // "four" is no number
    EXPECT_EQ(toi.GridMinBB, 200);
    EXPECT_EQ(toi.Padding, 0x33);
    // Shared binding 9 ("Move table to Grid (or to Stack)").
    EXPECT_EQ(t::UserOptions.Bindings[18].Modifier, 17);
    EXPECT_EQ(t::UserOptions.Bindings[18].Key, 'G');
    EXPECT_TRUE(messages_.empty());

    // Opened again it shows what was stored; cancelled, the block stays but
    // the hotkey changed in it is kept.
    onModal_ = [&](TCustomForm* f) {
        auto* d = dynamic_cast<TTOISettings*>(f);
        TDialogAnswer a;
        if (!d) return a;
        shown = d->StackEdit->Text() + "|" + d->NewTableCB->Text() + "|" + (d->RadioButton2->Checked() ? "pot" : "auto") +
                "|" + d->GridBBEdit->Text() + "|" + d->Comb19->Text() + "+" + d->Comb29->Text();
        Type(d->StackEdit, "text");
        Choose(d->Comb20, "Shift");
        ReleaseKey(d->Comb30, 'K');
        a.result = mrCancel;
        return a;
    };
    const t::TTOIConfig before = toi;
    Click(Button("TOISettingsBtn"));
    EXPECT_EQ(shown, "3|Grid|pot|200|Ctrl+G");
    EXPECT_EQ(form_->EditedConfig.TOI, before);
    EXPECT_EQ(t::UserOptions.Bindings[19].Modifier, 16);
    EXPECT_EQ(t::UserOptions.Bindings[19].Key, 'K');

    // A stack slot typed as text is stored as 0.
    onModal_ = [&](TCustomForm* f) {
        auto* d = dynamic_cast<TTOISettings*>(f);
        TDialogAnswer a;
        if (d) Type(d->StackEdit, "slot two");
        a.result = mrOk;
        return a;
    };
    Click(Button("TOISettingsBtn"));
    EXPECT_EQ(form_->EditedConfig.TOI.StackSlot, 0);
}

TEST_F(SmallDialogs, TOISettingsWithoutAConfigAskForOne) {
    Open();
    messages_.clear();
    Click(Button("TOISettingsBtn"));
    EXPECT_TRUE(modalForms_.empty());
    EXPECT_EQ(messages_, (std::vector<std::string>{"Please Create New Config first!"}));
}

TEST_F(SmallDialogs, AdvancedAutoRegistratorIsShownOnTopOnce) {
    Open();
    Click(Button("AdvAR_Btn"));
    ASSERT_NE(mainwindow::AdvAutoReg, nullptr);
    mainwindow::TAdvAutoReg* adv = mainwindow::AdvAutoReg;
    EXPECT_TRUE(IsWindowVisible(adv->Handle()));
    EXPECT_EQ(adv->Caption(), "Advanced Auto-Registrator");
    EXPECT_EQ(adv->StringGrid1->ColCount(), 5);
    EXPECT_EQ(adv->StringGrid1->FixedCols(), 0);
    EXPECT_TRUE(adv->StringGrid1->Options() & goEditing);
    EXPECT_EQ(adv->ComboBox1->Items()->ToVector(),
              (std::vector<std::string>{"No Color Filter", "New Color Filter", "ColorFilter1"}));
    // Behind the main form, a second click brings the same form forward.
    SetWindowPos(form_->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Click(Button("AdvAR_Btn"));
    EXPECT_EQ(mainwindow::AdvAutoReg, adv);
    HWND above = GetWindow(adv->Handle(), GW_HWNDPREV);
    while (above && !IsWindowVisible(above)) above = GetWindow(above, GW_HWNDPREV);
    EXPECT_NE(above, form_->Handle());
}

TEST_F(SmallDialogs, AboutShowsTheCaptionAndTheVersionTheBuildCarries) {
    Open();
    Click(Find<TButton>(form_, "AboutBtn"));
    ASSERT_EQ(modalForms_.size(), 1u);
    auto* about = dynamic_cast<TAboutWindow*>(modalForms_[0]);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->Caption(), "KOVA  v3.26c");
    EXPECT_EQ(about->VersionL->Caption(), "Version 3.26c");
    // The version the build declares is the one shown.
    EXPECT_EQ(about->VersionL->Caption().rfind(std::string("Version ") + KOVA_PROJECT_VERSION, 0), 0u);

    // Its own modal loop: the Ok button ends it; a second opening reuses it.
    SetDialogResponder(nullptr);
    PostMessageA(about->OkBtn->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(mainwindow::ShowAbout(*form_), mrOk);
    EXPECT_FALSE(IsWindowVisible(about->Handle()));
    EXPECT_EQ(form_->FindComponent("AboutWindow"), about);
}

TEST_F(SmallDialogs, WindowTitleComposesThePhrasesWithTheChosenOperators) {
    Open();
    auto* d = TCustomForm::Create<TAddWindowTitle>(form_);
    d->Prepare({"Table A", "Lobby"});
    EXPECT_EQ(d->Caption(), "Advanced Window Title");
    EXPECT_EQ(d->Phrase2ComBox->Items()->ToVector(), (std::vector<std::string>{"Table A", "Lobby"}));
    EXPECT_EQ(d->Phrase1ComBox->Text(), "");
    EXPECT_EQ(d->ComboBox1->Text(), " and ");
    EXPECT_EQ(d->ComboBox2->Items()->ToVector(), (std::vector<std::string>{" and ", " or ", " and not "}));

    onModal_ = [&](TCustomForm* f) {
        auto* w = dynamic_cast<TAddWindowTitle*>(f);
        TDialogAnswer a;
        if (!w) return a;
        Type(w->Phrase1ComBox, "Table");
        SendMessageA(w->Phrase2ComBox->Handle(), CB_SETCURSEL, 1, 0);  // "Lobby" from the list
        Notify(w->Phrase2ComBox, CBN_SELCHANGE);
        Choose(w->ComboBox1, " and not ");
        Type(w->Phrase3ComBox, std::string(45, 'z'));
        a.result = mrOk;
        return a;
    };
    ASSERT_EQ(d->ShowModal(), mrOk);
    const t::TTitleSpec spec = st::ComposeTitle(d->Fields());
    EXPECT_EQ(spec.Text.Str(), "Table and not Lobby and " + std::string(45, 'z'));
    EXPECT_EQ(spec.Operator1.Str(), " and not ");
    EXPECT_EQ(spec.Operand2.Str(), "Lobby");
    EXPECT_EQ(spec.Operand3.Str(), std::string(40, 'z'));

    // Prepared again, it starts empty.
    d->Prepare({});
    EXPECT_EQ(d->Phrase1ComBox->Text(), "");
    EXPECT_EQ(d->ComboBox1->Text(), " and ");
}

TEST_F(SmallDialogs, TheGroupsAdvancedTitleComesFromTheDialog) {
    Open();
    messages_.clear();
    Click(Button("AdvancedTitleBtn"));  // no config, no group
    EXPECT_TRUE(modalForms_.empty());
    EXPECT_EQ(messages_, (std::vector<std::string>{"Please Add New Group first!"}));
    form_->Free();
    form_ = nullptr;

    OpenWithConfig();
    std::vector<std::string> listed;
    onModal_ = [&](TCustomForm* f) {
        auto* w = dynamic_cast<TAddWindowTitle*>(f);
        TDialogAnswer a;
        if (!w) return a;
        listed = w->Phrase1ComBox->Items()->ToVector();
        Type(w->Phrase1ComBox, "Table");
        Type(w->Phrase2ComBox, "Turbo");
        Choose(w->ComboBox1, " or ");
        a.result = mrOk;
        return a;
    };
    Click(Button("AdvancedTitleBtn"));
    ASSERT_EQ(modalForms_.size(), 1u);
    EXPECT_EQ(listed, form_->AutoPlace().ComboBoxTitle->Items()->ToVector());
    EXPECT_EQ(form_->AutoPlace().ComboBoxTitle->Text(), "Table or Turbo");
    const t::TTitleSpec& title = form_->EditedConfig.Groups[0].Title;
    EXPECT_EQ(title.Text.Str(), "Table or Turbo");
    EXPECT_EQ(title.Operand1.Str(), "Table");
    EXPECT_EQ(title.Operand2.Str(), "Turbo");

    // Cancelled: the title stays.
    onModal_ = [&](TCustomForm* f) {
        auto* w = dynamic_cast<TAddWindowTitle*>(f);
        TDialogAnswer a;
        if (w) Type(w->Phrase1ComBox, "Other");
        a.result = mrCancel;
        return a;
    };
    Click(Button("AdvancedTitleBtn"));
    EXPECT_EQ(form_->AutoPlace().ComboBoxTitle->Text(), "Table or Turbo");
    EXPECT_EQ(form_->EditedConfig.Groups[0].Title.Text.Str(), "Table or Turbo");
}

}  // namespace
