// The skinned-forms list and the freezing of skinned forms around a skin
// change, with real framework forms and their providers.
#include "skin/core/skinnedforms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "common/win32_testing.h"
#include "formstest.h"
#include "skin/core/animations.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"

namespace kova::skin {
namespace {

using kova::test::PumpFor;
using test::LayeredRecorder;
using test::SkinnedTestForm;

TEST(SkinnedForms, RemovingTheMiddleOfThreeMovesTheLastIntoItsPlace) {
    auto& list = SkinnedForms();
    const std::size_t base = list.size();
    TForm* a = TCustomForm::Create<TForm>(Application());
    TForm* b = TCustomForm::Create<TForm>(Application());
    TForm* c = TCustomForm::Create<TForm>(Application());
    for (TForm* f : {a, b, c}) AddSkinnedForm(f);
    ASSERT_EQ(list.size(), base + 3);

    TForm* absent = TCustomForm::Create<TForm>(Application());
    RemoveSkinnedForm(absent);
    EXPECT_EQ(list.size(), base + 3) << "a form not in the list changes nothing";

    RemoveSkinnedForm(b);
    ASSERT_EQ(list.size(), base + 2);
    EXPECT_EQ(list[base], a);
    EXPECT_EQ(list[base + 1], c);

    RemoveSkinnedForm(a);
    ASSERT_EQ(list.size(), base + 1);
    EXPECT_EQ(list[base], c);
    RemoveSkinnedForm(c);
    EXPECT_EQ(list.size(), base);
    EXPECT_EQ(std::count(list.begin(), list.end(), nullptr), 0);
    for (TForm* f : {a, b, c, absent}) f->Free();
}

TEST(SkinnedForms, ProvidersRegisterTheirFormsAndAnswerSubCodeFour) {
    const std::size_t base = SkinnedForms().size();
    {
        SkinnedTestForm f;
        ASSERT_EQ(SkinnedForms().size(), base + 1);
        EXPECT_EQ(SkinnedForms().back(), f.Form);
        EXPECT_EQ(ProviderOfForm(f.Form), f.Provider);
    }
    EXPECT_EQ(SkinnedForms().size(), base);
}

// Broadcasts reach the windows of the dialogs the thread hook skinned while
// they show; a cleared entry, a form's provider and a hidden dialog are
// passed over.
TEST(SkinnedForms, BroadcastsReachTheVisibleDialogsOfTheHooksProviders) {
    constexpr UINT kProbe = WM_USER + 9;
    int shownHeard = 0, hiddenHeard = 0;
    auto listening = [](int& heard) {
        TForm* f = TCustomForm::Create<TForm>(Application());
        TWndMethod own = f->WindowProc;
        f->WindowProc = [&heard, own](TMessage& m) {
            if (m.Msg == kProbe) ++heard;
            own(m);
        };
        f->HandleNeeded();
        return f;
    };
    TForm* shown = listening(shownHeard);
    TForm* hidden = listening(hiddenHeard);
    shown->Show();
    TacDialogWndBase shownDialog, hiddenDialog;
    shownDialog.CtrlHandle = shown->Handle();
    hiddenDialog.CtrlHandle = hidden->Handle();
    auto* forShown = new TacProviderBase(nullptr);
    auto* forHidden = new TacProviderBase(nullptr);
    auto* forForm = new TacProviderBase(nullptr);
    forShown->DialogAdapter = &shownDialog;
    forHidden->DialogAdapter = &hiddenDialog;
    DialogProviders() = {forShown, nullptr, forForm, forHidden};

    TMessage m{kProbe, 0, 0, 0};
    BroadcastToSkinnedForms(m);
    EXPECT_EQ(shownHeard, 1);
    EXPECT_EQ(hiddenHeard, 0);

    DialogProviders().clear();
    for (TacProviderBase* p : {forShown, forHidden, forForm}) p->Free();
    shown->Free();
    hidden->Free();
}

// A manager that owns the skin of the test's forms (the default one).
class FreezeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(DefaultManager, nullptr) << "another test left its manager";
        handles_ = LiveHandleCounts();
        manager_ = new TsSkinManager(Application());
        manager_->Model().AnimEffects.SkinChanging.Active = false;
        FormAnimating = false;
    }
    void TearDown() override {
        manager_->Free();
        FormAnimating = false;
        EXPECT_EQ(test::TransientHandlesChanged(handles_), "");
    }
    THandleCounts handles_{};
    static bool Locked(SkinnedTestForm& f) { return (f.Provider->FormState & kRepaintLocked) != 0; }
    TsSkinManager* manager_ = nullptr;
};

TEST_F(FreezeTest, UnlockWithRepaintRedrawsEveryLockedFormOnce) {
    SkinnedTestForm a(100, 100), b(400, 120);
    PumpFor(150);
    LockFormsRepaint(manager_);
    for (SkinnedTestForm* f : {&a, &b}) {
        EXPECT_TRUE(Locked(*f));
        EXPECT_EQ(f->Provider->InAnimation, 1);
        EXPECT_FALSE(IsWindowVisible(f->Wnd())) << "redraw switched off";
    }
    // A form shown after the lock is left alone by the unlock.
    SkinnedTestForm late(250, 400);
    PumpFor(150);
    EXPECT_FALSE(Locked(late));
    a.Paints = b.Paints = late.Paints = 0;

    UnlockFormsRepaint(manager_, true);
    PumpFor(200);
    for (SkinnedTestForm* f : {&a, &b}) {
        EXPECT_EQ(f->Paints, 1);
        EXPECT_FALSE(Locked(*f));
        EXPECT_EQ(f->Provider->InAnimation, 0);
        EXPECT_TRUE(IsWindowVisible(f->Wnd()));
    }
    EXPECT_EQ(late.Paints, 0);
    EXPECT_FALSE(FormAnimating);
}

TEST_F(FreezeTest, UnlockWithoutRepaintOnlySwitchesRedrawBackOn) {
    SkinnedTestForm a;
    PumpFor(100);
    LockFormsRepaint(manager_);
    ASSERT_TRUE(Locked(a));
    a.Provider->FormState |= kSkinChangeImage;
    a.Paints = 0;
    UnlockFormsRepaint(manager_, false);
    PumpFor(150);
    EXPECT_TRUE(IsWindowVisible(a.Wnd()));
    EXPECT_FALSE(Locked(a));
    EXPECT_EQ(a.Provider->FormState & kSkinChangeImage, 0u);
    EXPECT_EQ(a.Paints, 0) << "nothing invalidated";
}

TEST_F(FreezeTest, HiddenOrMinimisedFormsAreNotFrozen) {
    SkinnedTestForm mine, hidden(300, 300, 200, 100, false), minimised(600, 300);
    ShowWindow(minimised.Wnd(), SW_MINIMIZE);
    PumpFor(100);
    FreezeFormsForSkinChange(manager_);
    LockFormsRepaint(manager_);
    EXPECT_TRUE(Locked(mine));
    EXPECT_EQ(mine.Provider->InAnimation, 1);
    for (SkinnedTestForm* f : {&hidden, &minimised}) {
        EXPECT_FALSE(Locked(*f));
        EXPECT_EQ(f->Provider->InAnimation, 0);
    }
    UnlockFormsRepaint(manager_, true);
    EXPECT_FALSE(Locked(mine));
    EXPECT_TRUE(IsWindowVisible(mine.Wnd()));
    EXPECT_FALSE(IsWindowVisible(hidden.Wnd()));
}

TEST_F(FreezeTest, FormAnimatingFollowsTheSkinChangeAnimationOfTheDefaultManager) {
    SkinnedTestForm a;
    PumpFor(50);
    FreezeFormsForSkinChange(manager_);
    EXPECT_FALSE(FormAnimating) << "animation off";
    manager_->Model().AnimEffects.SkinChanging.Active = true;
    manager_->Model().AnimEffects.SkinChanging.Time = 0;
    FreezeFormsForSkinChange(manager_);
    EXPECT_TRUE(FormAnimating);
    LockFormsRepaint(manager_);
    EXPECT_TRUE(FormAnimating);
    LayeredRecorder rec;
    UnlockFormsRepaint(manager_, true);
    EXPECT_FALSE(FormAnimating);
    EXPECT_FALSE(Locked(a));
    // Time 0: the new look appears at once in an overlay, then the form.
    ASSERT_FALSE(rec.Calls.empty());
    EXPECT_EQ(rec.Calls.back().Alpha, 255);
    EXPECT_TRUE(rec.Sleeps.empty());
    EXPECT_FALSE(IsWindow(rec.Calls.back().Wnd)) << "the overlay is freed";
}

// Painting is suspended from the default manager's lock to its unlock, and
// the skin change's animation runs in its animated stage with the engine
// busy; afterwards everything is idle again.
TEST_F(FreezeTest, PaintingSuspendedFromLockToUnlockAndTheAnimatedStage) {
    SkinnedTestForm a;
    PumpFor(50);
    EXPECT_FALSE(PaintingSuspended());
    manager_->Model().AnimEffects.SkinChanging.Active = true;
    manager_->Model().AnimEffects.SkinChanging.Time = 36;
    LockFormsRepaint(manager_);
    EXPECT_TRUE(PaintingSuspended());
    LockFormsRepaint(manager_);  // a second lock ends with the same unlock
    EXPECT_TRUE(PaintingSuspended());
    LayeredRecorder rec;
    std::vector<int> stages, busy;
    std::vector<bool> suspended;
    AnimationOutput().Sleep = [&](DWORD) {
        stages.push_back(SkinChanging);
        busy.push_back(SkinBusyCount());
        suspended.push_back(PaintingSuspended());
    };
    UnlockFormsRepaint(manager_, true);
    ASSERT_FALSE(stages.empty()) << "the animation ran";
    for (std::size_t i = 0; i < stages.size(); ++i) {
        EXPECT_EQ(stages[i], scsAnimated);
        EXPECT_GT(busy[i], 0);
        EXPECT_FALSE(suspended[i]) << "the form paints its new look";
    }
    EXPECT_FALSE(PaintingSuspended());
    EXPECT_EQ(SkinChanging, scsIdle);
    EXPECT_EQ(SkinBusyCount(), 0);
    // Another manager's lock does not suspend the default manager's painting.
    TsSkinManager* other = new TsSkinManager(Application());
    LockFormsRepaint(other);
    EXPECT_FALSE(PaintingSuspended());
    UnlockFormsRepaint(other, false);
    other->Free();
}

// The main window of the program (made once: the first form made through
// CreateForm stays the main form).
TForm* MainForm() {
    static TForm* main = [] {
        TForm* f = nullptr;
        Application()->CreateForm(f);
        f->SetBounds(20, 20, 200, 120);
        f->Show();
        return f;
    }();
    return main;
}

TEST_F(FreezeTest, AMinimisedMainWindowMakesFreezingDoNothing) {
    TForm* main = MainForm();
    SkinnedTestForm a(300, 200);
    PumpFor(100);
    ShowWindow(main->Handle(), SW_MINIMIZE);
    PumpFor(100);
    ASSERT_TRUE(IsIconic(main->Handle()));
    manager_->Model().AnimEffects.SkinChanging.Active = true;
    FreezeFormsForSkinChange(manager_);
    LockFormsRepaint(manager_);
    EXPECT_FALSE(Locked(a));
    EXPECT_EQ(a.Provider->InAnimation, 0);
    EXPECT_FALSE(FormAnimating);
    EXPECT_TRUE(IsWindowVisible(a.Wnd()));
    a.Paints = 0;
    UnlockFormsRepaint(manager_, true);
    PumpFor(100);
    EXPECT_EQ(a.Paints, 0);
    ShowWindow(main->Handle(), SW_RESTORE);
    PumpFor(100);
}

TEST_F(FreezeTest, LockedFormsAreUnfrozenWhateverHappenedSinceTheLock) {
    TForm* main = MainForm();
    SkinnedTestForm a(100, 300), b(400, 300), c(600, 100);
    PumpFor(100);
    LockFormsRepaint(manager_);
    ASSERT_TRUE(Locked(a) && Locked(b) && Locked(c));
    // Meanwhile: one form hidden, the main window minimised.
    b.Form->Hide();
    ShowWindow(main->Handle(), SW_MINIMIZE);
    PumpFor(100);
    UnlockFormsRepaint(manager_, true);
    EXPECT_FALSE(Locked(a) || Locked(b) || Locked(c));
    EXPECT_TRUE(IsWindowVisible(a.Wnd()));
    EXPECT_TRUE(IsWindowVisible(c.Wnd()));
    EXPECT_FALSE(IsWindowVisible(b.Wnd())) << "a hidden form stays hidden";
    ShowWindow(main->Handle(), SW_RESTORE);
    PumpFor(100);
    b.Form->Show();
    PumpFor(100);
    EXPECT_TRUE(IsWindowVisible(b.Wnd()));
    b.Paints = 0;
    InvalidateRect(b.Wnd(), nullptr, TRUE);
    PumpFor(100);
    EXPECT_EQ(b.Paints, 1) << "its redraw is on again";
}

// A provider whose region rebuild fails.
class FailingProvider : public TsSkinProvider {
public:
    using TsSkinProvider::TsSkinProvider;
    void InitRegionRects() override { throw std::runtime_error("region"); }
};

TEST_F(FreezeTest, AFailingRepaintStillUnfreezesEveryForm) {
    SkinnedTestForm a(100, 100), b(400, 100);
    // b's provider is replaced by one that throws while repainting.
    b.Provider->Free();
    b.Provider = new FailingProvider(b.Form);
    PumpFor(100);
    LockFormsRepaint(manager_);
    ASSERT_TRUE(Locked(a) && Locked(b));
    EXPECT_THROW(UnlockFormsRepaint(manager_, true), std::runtime_error);
    EXPECT_FALSE(Locked(a) || Locked(b));
    EXPECT_TRUE(IsWindowVisible(a.Wnd()));
    EXPECT_TRUE(IsWindowVisible(b.Wnd()));
    EXPECT_EQ(b.Provider->InAnimation, 0);
    // A second unlock after the fault finds nothing to do.
    EXPECT_NO_THROW(UnlockFormsRepaint(manager_, true));
}

// An animation that runs and ends while an animated skin change is frozen
// leaves the skin change counted: children stay held back until the unlock.
TEST_F(FreezeTest, AnAnimationEndingInsideASkinChangeLeavesItAnimating) {
    SkinnedTestForm a, b;
    PumpFor(100);
    manager_->Model().AnimEffects.SkinChanging.Active = true;
    FreezeFormsForSkinChange(manager_);
    ASSERT_TRUE(FormAnimating);
    {
        LayeredRecorder rec;
        AnimateFormShow(b.Provider, 0, 255, TacAnimType::atFading);
        ASSERT_FALSE(rec.Calls.empty()) << "the show animation did not run";
    }
    EXPECT_TRUE(FormAnimating) << "the show animation ended the skin change's share";
    {
        TFormAnimatingScope outer;
        { TFormAnimatingScope inner; }
        EXPECT_TRUE(FormAnimating);
    }
    UnlockFormsRepaint(manager_, false);
    EXPECT_FALSE(FormAnimating);
}

TEST_F(FreezeTest, UnlockAfterAFreezeWithoutLockClearsTheMarks) {
    // A load that fails between freezing and locking still ends unfrozen.
    SkinnedTestForm a;
    PumpFor(100);
    manager_->Model().AnimEffects.SkinChanging.Active = true;
    FreezeFormsForSkinChange(manager_);
    ASSERT_EQ(a.Provider->InAnimation, 1);
    ASSERT_TRUE(FormAnimating);
    a.Paints = 0;
    UnlockFormsRepaint(manager_, true);
    EXPECT_EQ(a.Provider->InAnimation, 0);
    EXPECT_FALSE(FormAnimating);
    PumpFor(100);
    EXPECT_EQ(a.Paints, 0) << "not locked: not repainted";
}

TEST_F(FreezeTest, UnlockWithNothingLockedIsHarmless) {
    SkinnedTestForm a;
    PumpFor(100);
    // An animated skin change frozen but never locked.
    manager_->Model().AnimEffects.SkinChanging.Active = true;
    FreezeFormsForSkinChange(manager_);
    ASSERT_TRUE(FormAnimating);
    a.Paints = 0;
    UnlockFormsRepaint(manager_, true);
    UnlockFormsRepaint(nullptr, true);
    PumpFor(100);
    EXPECT_FALSE(FormAnimating);
    EXPECT_EQ(a.Paints, 0);
    EXPECT_TRUE(IsWindowVisible(a.Wnd()));
}

}  // namespace
}  // namespace kova::skin
