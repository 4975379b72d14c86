// The skin command message between real framework controls: who answers,
// what the senders send to windows that are not there yet, and how the
// broadcasts walk the control tree.
#include "skin/core/skinmessage.h"

#include <gtest/gtest.h>

#include "framework/extctrls.h"
#include "framework/forms.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinprobes.h"

namespace kova::skin {
namespace {

using test::ProbeEdit;
using test::ProbeGraphic;
using test::ProbePanel;
using test::TestSkin;

class ProbeForm : public TForm {
    KOVA_CLASS(ProbeForm, TForm)
public:
    explicit ProbeForm(TComponent* owner) : TForm(owner), P(this, 0) {}
    test::Probe P;

protected:
    void WndProc(TMessage& m) override {
        if (!P.Handle(m)) TForm::WndProc(m);
    }
};

using SkinMessageTest = test::SkinnedFormTest<ProbeForm, 60, 60, 300, 200>;

// The framework's message record: a pointer passed in LParam survives it
// whole.
TEST(SkinMessageRecord, FillMessageRecKeepsPointersWhole) {
    static_assert(sizeof(TMessage::LParam) == sizeof(void*) && sizeof(TMessage::WParam) == sizeof(void*));
    int target = 0;
    TMessage m{};
    FillMessageRec(0xA100, 1, reinterpret_cast<LPARAM>(&target), -3, m);
    EXPECT_EQ(m.Msg, 0xA100u);
    EXPECT_EQ(m.WParam, 1u);
    EXPECT_EQ(reinterpret_cast<int*>(m.LParam), &target);
    EXPECT_EQ(m.Result, -3);
}

TEST_F(SkinMessageTest, OnlySkinnedWindowsAnswerSupport) {
    HWND foreign = CreateWindowExA(0, "STATIC", "foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(foreign, nullptr);
    EXPECT_FALSE(SkinCommandAnswered(foreign, scQuerySupport));
    DestroyWindow(foreign);
    EXPECT_FALSE(SkinCommandAnswered(nullptr, scQuerySupport));
    auto* plain = new TPanel(form);
    plain->SetParent(form);
    EXPECT_FALSE(SkinCommandAnswered(plain->Handle(), scQuerySupport));
    auto* probe = new ProbePanel(form);
    probe->SetParent(form);
    EXPECT_TRUE(SkinCommandAnswered(probe->Handle(), scQuerySupport));
}

TEST_F(SkinMessageTest, NoWindowIsMadeToSendACommand) {
    auto* probe = new ProbePanel(form);
    probe->SetParent(form);
    ASSERT_FALSE(probe->HandleAllocated());
    EXPECT_EQ(SendSkinCommandToControl(probe, scQuerySupport, 0), 0);
    EXPECT_FALSE(probe->HandleAllocated());
    EXPECT_EQ(probe->P.Count(scQuerySupport), 0);
    // A windowless control is asked directly.
    auto* g = new ProbeGraphic(form);
    g->SetParent(form);
    EXPECT_EQ(NotifyControl(g, scQuerySupport), 1);
    probe->HandleNeeded();
    EXPECT_EQ(SendSkinCommandToControl(probe, scQuerySupport, 0), 1);
    probe->MarkDestroying();
    EXPECT_EQ(SendSkinCommandToControl(probe, scQuerySupport, 0), 0);
}

TEST_F(SkinMessageTest, ColoursOfControlsAndWindows) {
    EXPECT_EQ(GetControlColor(nullptr), 0xFF00FFu);
    EXPECT_EQ(GetWindowColor(nullptr), 0xFF00FFu);
    auto* plain = new TPanel(form);
    plain->SetParent(form);
    plain->SetColor(0x00102030);
    EXPECT_EQ(GetControlColor(plain), 0x102030u);
    auto* probe = new ProbePanel(form);
    probe->SetParent(form);
    probe->P.Data.SetSkinSection("PANEL");
    probe->SetColor(clBtnFace);
    // Asked before its window exists, it answers with its own colour.
    EXPECT_EQ(GetControlColor(probe), static_cast<std::uint32_t>(GetSysColor(COLOR_BTNFACE)));
    probe->HandleNeeded();
    EXPECT_EQ(GetControlColor(probe), 0x808080u);
    EXPECT_EQ(GetWindowColor(probe->Handle()), 0x808080u);
}

TEST_F(SkinMessageTest, ParentFormHearsOfNewWindowedControls) {
    auto* probe = new ProbePanel(form);
    probe->SetParent(form);
    probe->HandleNeeded();
    const int before = form->P.Count(scParentFormNotify);
    NotifyParentFormOfControl(probe);
    ASSERT_EQ(form->P.Count(scParentFormNotify), before + 1);
    // Loading controls and controls without a form tell nobody.
    auto* orphan = new ProbePanel(nullptr);
    NotifyParentFormOfControl(orphan);
    orphan->Free();
    probe->BeginLoading();
    NotifyParentFormOfControl(probe);
    EXPECT_EQ(form->P.Count(scParentFormNotify), before + 1);
    probe->Loaded();
}

TEST_F(SkinMessageTest, BroadcastToAllControlsStopsAtAChildBeingDestroyed) {
    auto* first = new ProbePanel(form);
    first->SetParent(form);
    auto* dying = new ProbePanel(form);
    dying->SetParent(form);
    auto* last = new ProbePanel(form);
    last->SetParent(form);
    dying->MarkDestroying();
    TMessage m{SkinCommandMessage, SkinCommand(scInvalidateBg), 0, 0};
    BroadcastToAllControls(form, m);
    EXPECT_EQ(first->P.Count(scInvalidateBg), 1);
    EXPECT_EQ(dying->P.Count(scInvalidateBg), 0);
    EXPECT_EQ(last->P.Count(scInvalidateBg), 0);
}

TEST_F(SkinMessageTest, BroadcastToAllControlsDescendsOnlyIntoUnskinnedWindows) {
    form->Show();
    auto* plain = new TPanel(form);
    plain->SetParent(form);
    auto* underPlain = new ProbePanel(form);
    underPlain->SetParent(plain);
    auto* skinned = new ProbePanel(form);
    skinned->SetParent(form);
    auto* underSkinned = new ProbePanel(form);
    underSkinned->SetParent(skinned);
    auto* g = new ProbeGraphic(form);
    g->SetParent(form);
    form->HandleNeeded();
    plain->HandleNeeded();
    skinned->HandleNeeded();
    underSkinned->HandleNeeded();
    TMessage m{SkinCommandMessage, SkinCommand(scInvalidateBg), 0, 0};
    BroadcastToAllControls(form, m);
    EXPECT_EQ(underPlain->P.Count(scInvalidateBg), 1);
    EXPECT_EQ(skinned->P.Count(scInvalidateBg), 1);
    // The skinned window passes it on itself; the probe does not.
    EXPECT_EQ(underSkinned->P.Count(scInvalidateBg), 0);
    EXPECT_EQ(g->P.Count(scInvalidateBg), 1);
}

TEST_F(SkinMessageTest, BroadcastToChildControlsWaitsForAnimations) {
    form->Show();
    auto* shown = new ProbePanel(form);
    shown->SetParent(form);
    auto* hidden = new ProbePanel(form);
    hidden->SetParent(form);
    hidden->Hide();
    auto* g = new ProbeGraphic(form);
    g->SetParent(form);
    shown->HandleNeeded();
    hidden->HandleNeeded();
    FormAnimating = true;
    BroadcastToChildControls(form);
    EXPECT_EQ(shown->P.Count(scEndParentUpdate), 0);
    FormAnimating = false;
    BroadcastToChildControls(form);
    EXPECT_EQ(shown->P.Count(scEndParentUpdate), 1);
    EXPECT_EQ(hidden->P.Count(scEndParentUpdate), 0);
    EXPECT_EQ(g->P.Count(scEndParentUpdate), 0);  // graphic controls repaint with their parent
    // The window form reaches every child window.
    BroadcastToChildWindows(form->Handle());
    EXPECT_EQ(shown->P.Count(scEndParentUpdate), 2);
    EXPECT_EQ(hidden->P.Count(scEndParentUpdate), 1);
}

TEST_F(SkinMessageTest, SendToChildWindowsReachesDirectChildrenOnly) {
    auto* outer = new ProbePanel(form);
    outer->SetParent(form);
    auto* inner = new ProbePanel(form);
    inner->SetParent(outer);
    form->HandleNeeded();
    inner->HandleNeeded();
    TMessage m{SkinCommandMessage, SkinCommand(scInvalidateBg), 0, 0};
    SendToChildWindows(form->Handle(), m);
    EXPECT_EQ(outer->P.Count(scInvalidateBg), 1);
    EXPECT_EQ(inner->P.Count(scInvalidateBg), 0);
}

}  // namespace
}  // namespace kova::skin
