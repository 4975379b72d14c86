// A control's skin record on real framework forms: its section and indexes,
// its answers to the skin command message (background colour and image,
// skin applied and removed, updates), hover and focus, and the bound label.
// The probe controls stand in for the skinned controls: each owns a record
// and passes its messages to HandleControlMessage first.
#include "skin/core/commondata.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/win32_testing.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "skin/core/boundlabel.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/model/pictures.h"
#include "skin/core/skincommands.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinprobes.h"

namespace kova::skin {
namespace {

using test::ProbeEdit;
using test::ProbeGraphic;
using test::ProbePanel;
using test::TestSkin;

using RecordTest = test::SkinnedFormTest<TForm, 50, 50, 400, 300>;

TEST_F(RecordTest, SectionNamesAreUpperCaseAndNeverEmpty) {
    auto* p = new ProbePanel(form, 51);
    p->SetParent(form);
    TsCommonData& d = p->P.Data;
    d.SetSkinSection("edit");
    EXPECT_EQ(d.SkinSection(), "EDIT");
    EXPECT_EQ(d.SkinIndex, manager->IndexOfSection("EDIT"));
    EXPECT_TRUE(d.IsSkinned());
    d.SetSkinSection("");
    EXPECT_EQ(d.SkinSection(), "UNKNOWN");
    EXPECT_EQ(d.SkinIndex, -1);
    EXPECT_FALSE(d.IsSkinned());
    // A live owner hears of both: the section exists (3), it does not (2).
    EXPECT_EQ(p->P.Count(scRefresh), 1);
    EXPECT_EQ(p->P.Count(scSkinRemoved), 1);
}

TEST_F(RecordTest, DefaultSectionByKindElseClassName) {
    auto* e = new ProbeEdit(form, 2);
    e->SetParent(form);
    e->P.Data.Loaded();
    EXPECT_EQ(e->P.Data.SkinSection(), "EDIT");
    auto* p = new ProbePanel(form, 500);
    p->SetParent(form);
    p->P.Data.Loaded();
    EXPECT_EQ(p->P.Data.SkinSection(), "PROBEPANEL");
}

TEST_F(RecordTest, DefaultManagerIsStoredAsNone) {
    TsCommonData d(nullptr, false);
    d.SetSkinManager(manager);
    EXPECT_EQ(d.SkinManager(), nullptr);
    EXPECT_EQ(d.GetSkinManager(), manager);
    auto* other = new TsSkinManager(nullptr);
    d.SetSkinManager(other);
    EXPECT_EQ(d.SkinManager(), other);
    d.SetSkinManager(nullptr);
    other->Free();
}

TEST_F(RecordTest, SkinAppliedByAnotherManagerChangesNothing) {
    auto* p = new ProbePanel(form, 51);
    p->SetParent(form);
    p->P.Data.SetSkinSection("EDIT");
    const int before = p->P.Data.SkinIndex;
    // The other skin lists its sections in another order.
    skin.LoadOther(*manager);
    const int after = manager->IndexOfSection("EDIT");
    ASSERT_NE(before, after);
    auto* other = new TsSkinManager(nullptr);
    p->P.Data.BGChanged = false;
    p->Perform(SkinCommandMessage, SkinCommand(scSkinApplied), reinterpret_cast<LPARAM>(other));
    EXPECT_EQ(p->P.Data.SkinIndex, before);
    EXPECT_FALSE(p->P.Data.BGChanged);
    p->Perform(SkinCommandMessage, SkinCommand(scSkinRemoved), reinterpret_cast<LPARAM>(other));
    EXPECT_EQ(p->P.Data.SkinIndex, before);
    EXPECT_FALSE(p->P.Data.Updating);
    p->Perform(SkinCommandMessage, SkinCommand(scSkinApplied), reinterpret_cast<LPARAM>(manager));
    EXPECT_EQ(p->P.Data.SkinIndex, after);
    EXPECT_TRUE(p->P.Data.BGChanged);
    other->Free();
}

TEST_F(RecordTest, ColourForChildrenThroughTransparentSections) {
    // A skinned parent that answers "no colour" lends its Color field.
    auto* parent = new ProbePanel(form, 51);
    parent->SetParent(form);
    parent->SetBounds(0, 0, 200, 200);
    parent->SetColor(0x00336699);
    parent->P.Intercept = [](TMessage& m) {
        if (m.Msg != SkinCommandMessage || SkinSubCode(m.WParam) != scQueryBgColor) return false;
        m.Result = 0xFF00FF;
        return true;
    };
    auto* clear = new ProbePanel(form, 51);
    clear->SetParent(parent);
    clear->P.Data.SetSkinSection("CLEAR");
    ASSERT_TRUE(clear->P.Data.IsSkinned());
    EXPECT_EQ(clear->Perform(SkinCommandMessage, SkinCommand(scQueryBgColor), 0xFF00FF), 0x00336699);

    // Half transparent black over a white parent: T/256 of the way.
    auto* white = new ProbePanel(form, 51);
    white->SetParent(form);
    white->P.Data.SetSkinSection("WHITE");
    auto* half = new ProbePanel(form, 51);
    half->SetParent(white);
    half->P.Data.SetSkinSection("HALF");
    white->HandleNeeded();
    EXPECT_EQ(white->Perform(SkinCommandMessage, SkinCommand(scQueryBgColor), 0xFF00FF), 0xFFFFFF);
    EXPECT_EQ(half->Perform(SkinCommandMessage, SkinCommand(scQueryBgColor), 0xFF00FF), 0x313131);
    EXPECT_EQ(GetControlColor(half), 0x313131u);

    // An unskinned parent answers nothing: its own colour shows, not black.
    auto* plain = new TPanel(form);
    plain->SetParent(form);
    plain->SetColor(0x00FFFFFF);
    plain->HandleNeeded();
    auto* overPlain = new ProbePanel(form, 51);
    overPlain->SetParent(plain);
    overPlain->P.Data.SetSkinSection("HALF");
    EXPECT_EQ(overPlain->Perform(SkinCommandMessage, SkinCommand(scQueryBgColor), 0xFF00FF), 0x313131);

    // Not skinned, and the record with no owner control.
    auto* unskinned = new ProbePanel(form, 51);
    unskinned->SetParent(form);
    unskinned->SetColor(0x00010203);
    EXPECT_EQ(unskinned->Perform(SkinCommandMessage, SkinCommand(scQueryBgColor), 0xFF00FF), 0x00010203);
    TsCommonData ownerless(nullptr, false);
    TMessage m{SkinCommandMessage, SkinCommand(scQueryBgColor), 0xFF00FF, 7};
    EXPECT_FALSE(HandleSkinCommand(m, &ownerless));
    EXPECT_EQ(m.Result, 7);
}

TEST_F(RecordTest, SimpleCommands) {
    auto* p = new ProbePanel(form, 51);
    p->SetParent(form);
    TsCommonData& d = p->P.Data;
    d.SetSkinSection("PANEL");
    auto send = [&](int code, LPARAM l = 0, int low = 0) {
        return p->Perform(SkinCommandMessage, SkinCommand(code, low), l);
    };
    EXPECT_EQ(send(scQuerySupport), 1);
    send(scSetUpdating, 0, 1);
    EXPECT_TRUE(d.Updating);
    send(scSetUpdating, 0, 0);
    EXPECT_FALSE(d.Updating);
    send(scSetParentDependent, 0, 1);
    EXPECT_TRUE(d.ParentDependent);
    d.BGChanged = false;
    EXPECT_EQ(send(scQueryUpdating), 0);
    send(scInvalidateBg);
    EXPECT_EQ(send(scQueryUpdating), 1);
    d.CacheIncomplete = false;
    EXPECT_EQ(send(scQueryCacheIncomplete), 0);
    send(scSetCacheIncomplete);
    EXPECT_EQ(send(scQueryCacheIncomplete), 1);
    std::int32_t index = -5;
    send(scQuerySkinIndex, reinterpret_cast<LPARAM>(&index));
    EXPECT_EQ(index, d.SkinIndex);
    EXPECT_EQ(send(scGetSkinData), reinterpret_cast<LRESULT>(&d));
    TsCommonData source(nullptr, false);
    source.SetSkinSection("edit");
    send(scCopySection, reinterpret_cast<LPARAM>(&source));
    EXPECT_EQ(d.SkinSection(), "EDIT");
    send(scCopySection, 0);
    EXPECT_EQ(d.SkinSection(), "EDIT");
    TObject linked;
    send(scSetLinkedObject, reinterpret_cast<LPARAM>(&linked));
    EXPECT_EQ(d.LinkedObject, &linked);
    EXPECT_TRUE(send(scControlFlags) & kHasLinkedObject);
    send(scSetLinkedObject, 0);
    EXPECT_FALSE(send(scControlFlags) & kHasLinkedObject);
    // Beyond the last sub-code and unknown ones: not handled, answer kept.
    for (int code : {61, 5, 12}) {
        TMessage m{SkinCommandMessage, SkinCommand(code), 0, 42};
        EXPECT_FALSE(HandleSkinCommand(m, &d)) << code;
        EXPECT_EQ(m.Result, 42) << code;
    }
    // A cache dropped while hidden: sized 0, stale, updating.
    d.EnsureCacheBmp();
    p->SetBounds(0, 0, 30, 20);
    d.EnsureCacheBmp();
    EXPECT_EQ(d.CacheBmp->Width(), 30);
    send(scDropCaches);
    EXPECT_EQ(d.CacheBmp->Width(), 0);
    EXPECT_TRUE(d.Updating);
}

TEST_F(RecordTest, HidingReleasesTheCachesOfTheWholeTree) {
    auto* p = new ProbePanel(form, 51);
    p->SetParent(form);
    p->SetBounds(0, 0, 30, 20);
    p->P.Data.SetSkinSection("PANEL");
    auto* child = new ProbePanel(form, 51);
    child->SetParent(p);
    child->SetBounds(0, 0, 10, 10);
    auto* g = new ProbeGraphic(form);
    g->SetParent(p);
    child->HandleNeeded();
    for (test::Probe* x : {&p->P, &child->P, &g->P}) x->Data.EnsureCacheBmp();
    p->P.Data.BGChanged = false;
    p->Hide();
    EXPECT_EQ(p->P.Data.CacheBmp->Width(), 0);
    EXPECT_TRUE(p->P.Data.BGChanged);
    EXPECT_EQ(child->P.Count(scDropCaches), 1);
    EXPECT_EQ(child->P.Data.CacheBmp->Width(), 0);
    EXPECT_EQ(g->P.Count(scDropCaches), 1);
    EXPECT_TRUE(g->P.Data.Updating);
    p->Show();
    EXPECT_FALSE(p->P.Data.Updating);
    // Switched off, hiding keeps the picture.
    ReleaseHiddenCaches = false;
    p->P.Data.EnsureCacheBmp();
    p->Hide();
    ReleaseHiddenCaches = true;
    EXPECT_EQ(p->P.Data.CacheBmp->Width(), 30);
}

TEST_F(RecordTest, EndUpdateSendsOnlyAtTheOutermostCall) {
    auto* p = new ProbePanel(form, 51);
    p->SetParent(form);
    TsCommonData& d = p->P.Data;
    d.BeginUpdate();
    d.BeginUpdate();
    EXPECT_EQ(d.UpdateCount, 2);
    EXPECT_EQ(p->P.Count(scBeginUpdate), 2);
    d.EndUpdate(false);
    EXPECT_FALSE(d.Updating);
    EXPECT_EQ(d.FlagsWord & kInBeginUpdate, 0);
    EXPECT_EQ(p->P.Count(scEndUpdate), 0);
    d.EndUpdate(false);
    EXPECT_EQ(p->P.Count(scEndUpdate), 1);
    EXPECT_EQ(d.UpdateCount, 0);
}

TEST_F(RecordTest, CustomColourSurvivesSkinChangeAndRemoval) {
    auto* own = new ProbeEdit(form, 2);
    own->SetParent(form);
    own->HandleNeeded();
    own->SetColor(0x00123456);
    own->P.Data.SetCustomColor(true);
    own->P.Data.SetSkinSection("EDIT");
    auto* follows = new ProbeEdit(form, 2);
    follows->SetParent(form);
    follows->HandleNeeded();
    follows->P.Data.SetSkinSection("EDIT");

    for (ProbeEdit* e : {own, follows}) e->Perform(SkinCommandMessage, SkinCommand(scRefresh), reinterpret_cast<LPARAM>(manager));
    EXPECT_EQ(own->Color(), 0x00123456);
    EXPECT_EQ(follows->Color(), 0x00FFEEDD);  // the skin's EDIT colour
    TsBackgroundInfo bg;
    own->Perform(SkinCommandMessage, SkinCommand(scQueryBgInfo), reinterpret_cast<LPARAM>(&bg));
    EXPECT_EQ(bg.BgType, 1);
    EXPECT_EQ(bg.Color, 0x123456u);

    for (ProbeEdit* e : {own, follows}) e->Perform(SkinCommandMessage, SkinCommand(scSkinRemoved), reinterpret_cast<LPARAM>(manager));
    EXPECT_EQ(own->Color(), 0x00123456);
    EXPECT_EQ(follows->Color(), clWindow);
    EXPECT_EQ(own->P.Data.SkinIndex, -1);
    EXPECT_TRUE(own->P.Data.Updating);
    bg = {};
    own->Perform(SkinCommandMessage, SkinCommand(scQueryBgInfo), reinterpret_cast<LPARAM>(&bg));
    EXPECT_EQ(bg.Color, 0x123456u);
}

TEST_F(RecordTest, TransparentPanelOverPlainParentIsPlain) {
    auto* parent = new ProbePanel(form, 51);
    parent->SetParent(form);
    parent->P.Data.SetSkinSection("PANEL");
    parent->HandleNeeded();
    EXPECT_TRUE(parent->P.Data.PlainBackground());
    auto* clear = new ProbePanel(form, 51);
    clear->SetParent(parent);
    clear->P.Data.SetSkinSection("CLEAR");
    EXPECT_TRUE(clear->P.Data.PlainBackground());
    // Over a gradient the same section is not plain.
    auto* shaded = new ProbePanel(form, 51);
    shaded->SetParent(form);
    shaded->P.Data.SetSkinSection("SHADED");
    shaded->HandleNeeded();
    EXPECT_FALSE(shaded->P.Data.PlainBackground());
    auto* clear2 = new ProbePanel(form, 51);
    clear2->SetParent(shaded);
    clear2->P.Data.SetSkinSection("CLEAR");
    EXPECT_FALSE(clear2->P.Data.PlainBackground());
    // Dependence on the parent's background follows the same chain.
    EXPECT_EQ(shaded->Perform(SkinCommandMessage, SkinCommand(scQueryParentDependent)), 1);
    EXPECT_EQ(clear2->Perform(SkinCommandMessage, SkinCommand(scQueryParentDependent)), 1);
    EXPECT_EQ(clear->Perform(SkinCommandMessage, SkinCommand(scQueryParentDependent)), 0);
}

TEST_F(RecordTest, HoverAndGlowByKind) {
    form->Show();
    auto* panel = new ProbePanel(form, 51);
    panel->SetParent(form);
    panel->P.Data.SetSkinSection("PANEL");
    auto* edit = new ProbeEdit(form, 2);
    edit->SetParent(form);
    edit->P.Data.SetSkinSection("EDIT");
    panel->HandleNeeded();
    edit->HandleNeeded();
    panel->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(panel->P.Data.MouseAbove);
    EXPECT_EQ(panel->P.Data.GlowID, -1);
    edit->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(edit->P.Data.MouseAbove);
    EXPECT_EQ(manager->HotControl(), edit->Handle());
    EXPECT_TRUE(edit->P.Data.IsActiveState());
    edit->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(edit->P.Data.MouseAbove);
    // Focus, and losing it all when disabled.
    edit->SetTabStop(true);
    edit->Perform(WM_SETFOCUS);
    EXPECT_TRUE(edit->P.Data.FocusSet);
    edit->Perform(CM_MOUSEENTER);
    edit->SetEnabled(false);
    EXPECT_FALSE(edit->P.Data.FocusSet);
    EXPECT_FALSE(edit->P.Data.MouseAbove);
    // Skinned controls swallow the UI-state message.
    TMessage uiState{WM_UPDATEUISTATE, 0, 0, 0};
    EXPECT_TRUE(HandleControlMessage(uiState, &edit->P.Data));
}

TEST_F(RecordTest, BackgroundInfoOfPlainAndTransparentSections) {
    auto* parent = new ProbePanel(form, 51);
    parent->SetParent(form);
    parent->SetBounds(0, 0, 200, 100);
    parent->P.Data.SetSkinSection("PANEL");
    parent->HandleNeeded();
    TsBackgroundInfo bg;
    parent->Perform(SkinCommandMessage, SkinCommand(scQueryBgInfo), reinterpret_cast<LPARAM>(&bg));
    EXPECT_EQ(bg.BgType, 1);
    EXPECT_EQ(bg.Color, 0x808080u);
    // A transparent child passes the question up.
    auto* clear = new ProbePanel(form, 51);
    clear->SetParent(parent);
    clear->P.Data.SetSkinSection("CLEAR");
    bg = {};
    clear->Perform(SkinCommandMessage, SkinCommand(scQueryBgInfo), reinterpret_cast<LPARAM>(&bg));
    EXPECT_EQ(bg.BgType, 1);
    EXPECT_EQ(bg.Color, 0x808080u);
    EXPECT_EQ(clear->P.Data.BackgroundColorFor(0, nullptr), 0x808080u);
    TsParentImageInfo info;
    clear->P.Data.ParentImageInfo(info);
    EXPECT_FALSE(info.Ready);
    EXPECT_EQ(info.FillColor, 0x808080u);
    // With PleaseDraw the parent fills the asker's area of the DC.
    TBitmap target(20, 20);
    bg = {};
    bg.PleaseDraw = true;
    bg.DrawDC = target.Canvas()->Handle();
    bg.R = {2, 2, 10, 10};
    parent->Perform(SkinCommandMessage, SkinCommand(scQueryBgInfo), reinterpret_cast<LPARAM>(&bg));
    GdiFlush();
    EXPECT_EQ(target.Pixels().At(5, 5) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(target.Pixels().At(15, 15) & 0xFFFFFF, 0u);
}

// A half-transparent section over a parent that has no colour to show
// ("none", the magenta) keeps its own colour instead of mixing with it.
TEST_F(RecordTest, HalfTransparentOverAParentWithoutColourKeepsItsOwn) {
    auto* parent = new ProbePanel(form, 51);
    parent->SetParent(form);
    parent->SetBounds(0, 0, 200, 100);
    parent->P.Data.SetSkinSection("NOSUCHSECTION");
    parent->SetColor(static_cast<TColor>(clFuchsia));
    auto* half = new ProbePanel(form, 51);
    half->SetParent(parent);
    half->P.Data.SetSkinSection("HALF");
    parent->HandleNeeded();
    ASSERT_FALSE(parent->P.Data.IsSkinned());
    ASSERT_TRUE(half->P.Data.IsSkinned());
    ASSERT_EQ(GetControlColor(parent), static_cast<std::uint32_t>(clFuchsia));
    EXPECT_EQ(half->P.Data.BackgroundColorFor(0, nullptr), 0u) << "the section's own black";
    // Over a parent with a colour the two are mixed as before.
    parent->SetColor(static_cast<TColor>(0xFFFFFF));
    EXPECT_EQ(half->P.Data.BackgroundColorFor(0, nullptr), 0x808080u);
}

TEST_F(RecordTest, BoundLabelBesideItsControl) {
    auto* e = new ProbeEdit(form, 2);
    e->SetName("Edit1");
    e->SetParent(form);
    e->SetBounds(100, 50, 80, 21);
    TsBoundLabel bound(&e->P.Data);
    EXPECT_TRUE(bound.UseSkinColor());
    bound.SetActive(true);
    ASSERT_NE(bound.Label(), nullptr);
    EXPECT_EQ(bound.Label()->Caption(), "Edit1");
    EXPECT_EQ(bound.Label()->Name(), "Edit1Label");
    EXPECT_EQ(bound.Label()->Parent(), form);
    bound.Label()->SetAutoSize(false);
    bound.Label()->SetBounds(0, 0, 40, 13);
    bound.PlaceLabel();
    EXPECT_EQ(bound.Label()->Left(), 56);
    EXPECT_EQ(bound.Label()->Top(), 53);
    EXPECT_EQ(bound.Label()->Alignment(), taRightJustify);
    bound.SetLayout(sclBottomCenter);
    EXPECT_EQ(bound.Label()->Left(), 120);
    EXPECT_EQ(bound.Label()->Top(), 71);
    EXPECT_EQ(bound.Label()->Alignment(), taCenter);
    bound.SetUseSkinColor(false);
    EXPECT_FALSE(bound.UseSkinColor());
    bound.SetActive(false);
    EXPECT_EQ(bound.Label(), nullptr);
}

// The label is a child of the control's parent and owned by the control:
// whichever goes first, the label is freed once.
TEST_F(RecordTest, BoundLabelIsFreedOnceWhoeverGoesFirst) {
    for (const bool parentFirst : {true, false}) {
        SCOPED_TRACE(parentFirst ? "the parent is freed first" : "the control is freed first");
        auto* panel = new ProbePanel(form, 51);
        panel->SetParent(form);
        panel->SetBounds(0, 0, 300, 200);
        auto* e = new ProbeEdit(form, 2);
        e->SetParent(panel);
        e->SetBounds(100, 50, 80, 21);
        auto bound = std::make_unique<TsBoundLabel>(&e->P.Data);
        bound->SetActive(true);
        ASSERT_NE(bound->Label(), nullptr);
        ASSERT_EQ(bound->Label()->Parent(), panel);
        if (parentFirst)
            panel->Free();
        else
            e->Free();
        EXPECT_EQ(bound->Label(), nullptr);
        bound.reset();
        if (!parentFirst) panel->Free();
        EXPECT_EQ(form->ControlCount(), 0);
    }
}

}  // namespace
}  // namespace kova::skin

namespace kova::skin {
namespace {

// The records of a form's controls follow the skin the manager applies:
// each hears of it and then names its section in the new skin.
TEST(RecordSkinChange, EveryControlOfAFormFollowsTheInternalSkins) {
    auto* manager = new TsSkinManager(nullptr);
    AddInternalSkins(manager->Model().InternalSkins);
    ASSERT_TRUE(manager->Model().SetSkinName("Linen"));
    auto* form = TCustomForm::Create<TForm>(Application());
    auto* edit = new ProbeEdit(form, 2);
    auto* panel = new ProbePanel(form, 51);
    auto* button = new ProbeGraphic(form, 93);
    edit->SetParent(form);
    panel->SetParent(form);
    button->SetParent(panel);
    for (test::Probe* p : {&edit->P, &panel->P, &button->P}) p->Data.Loaded();
    EXPECT_EQ(edit->P.Data.SkinSection(), "EDIT");
    EXPECT_EQ(panel->P.Data.SkinSection(), "PANEL");
    EXPECT_EQ(button->P.Data.SkinSection(), "BUTTON");
    form->HandleNeeded();
    edit->HandleNeeded();
    panel->HandleNeeded();

    ASSERT_TRUE(manager->Model().SetSkinName("Slate"));
    TMessage m{SkinCommandMessage, SkinCommand(scSkinApplied), reinterpret_cast<LPARAM>(manager), 0};
    BroadcastToAllControls(form, m);
    // The panel is skinned: it got the message itself; its button only
    // through a panel that passes it on, as the skinned panels will.
    EXPECT_EQ(edit->P.Count(scSkinApplied), 1);
    EXPECT_EQ(panel->P.Count(scSkinApplied), 1);
    BroadcastToAllControls(panel, m);
    EXPECT_EQ(button->P.Count(scSkinApplied), 1);
    for (test::Probe* p : {&edit->P, &panel->P, &button->P}) {
        EXPECT_EQ(p->Data.SkinIndex, manager->IndexOfSection(p->Data.SkinSection())) << p->Data.SkinSection();
        EXPECT_TRUE(p->Data.IsSkinned()) << p->Data.SkinSection();
    }
    form->Free();
    manager->Free();
}

TEST(RecordCache, SectionBackgroundOrTheOwnersOwnColour) {
    auto* manager = new TsSkinManager(nullptr);
    TestSkin skin;
    skin.LoadInto(*manager);
    auto* form = TCustomForm::Create<TForm>(Application());
    auto* panel = new ProbePanel(form, 51);
    panel->SetParent(form);
    panel->P.Data.SetSkinSection("PANEL");
    panel->SetColor(0x00102030);
    Bitmap32 dest(8, 8);
    TsParentImageInfo bg;
    PaintSkinDataItem(panel->P.Data, bg, 5, {0, 0, 8, 8}, {}, dest);
    EXPECT_EQ(dest.At(3, 3) & 0xFFFFFF, 0x808080u);
    panel->P.Data.SetCustomColor(true);
    PaintSkinDataItem(panel->P.Data, bg, 0, {0, 0, 8, 8}, {}, dest);
    // Pixels are 0xAARRGGBB: the colour 0x00BBGGRR with red and blue swapped.
    EXPECT_EQ(dest.At(3, 3) & 0xFFFFFF, 0x302010u);
    form->Free();
    manager->Free();
}

TEST(RecordCache, CopiedAroundWindowlessChildren) {
    auto* form = TCustomForm::Create<TForm>(Application());
    auto* panel = new ProbePanel(form, 51);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 40, 30);
    auto* g = new ProbeGraphic(form);
    g->SetParent(panel);
    g->SetBounds(10, 10, 10, 10);
    TsCommonData& d = panel->P.Data;
    d.EnsureCacheBmp();
    d.CacheBmp->Canvas()->Brush()->SetColor(0x0000FF00);
    d.CacheBmp->Canvas()->FillRect(RECT{0, 0, 40, 30});
    TBitmap target(40, 30);
    CopyCacheExcludingControls(panel, &d, RECT{0, 0, 40, 30}, 0, 0, false, target.Canvas()->Handle(),
                               RECT{0, 0, 40, 30});
    GdiFlush();
    EXPECT_EQ(target.Pixels().At(5, 5) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(target.Pixels().At(15, 15) & 0xFFFFFF, 0u);  // left for the child to paint
    EXPECT_EQ(target.Pixels().At(25, 25) & 0xFFFFFF, 0x00FF00u);
    form->Free();
}

}  // namespace
}  // namespace kova::skin
