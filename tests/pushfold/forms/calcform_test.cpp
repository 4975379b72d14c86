// The calculator window and the model editor as real windows (Wine): a hand
// built in code opens the calculator, the seats rotate so that the hero sits
// in frame 8, calculations run off the GUI thread and give the solver's
// answer, they can be cancelled, and the model editor changes the model
// file through its questions.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>

#include "common/win32_testing.h"
#include "framework/dialogs.h"
#include "framework/forms.h"
#include "model/calcfixtures.h"
#include "pushfold/forms/calcform.h"
#include "pushfold/forms/modelform.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/forms/frameadapter.h"
#include "skin/forms/provider.h"
#include "tables/files/calcfiles.h"

namespace kova::pushfold::forms {
namespace {

using kova::test::WaitUntil;
using test::MakeHand;
using test::MakeModel;
using test::MakeTournament;

const char* const kType = "SNG 10-max $5";

// A button pressed as the user presses it: through its window.
void Press(kova::TWinControl* button) { SendMessageA(button->Handle(), BM_CLICK, 0, 0); }

// A table with `count` hands; hand n has n + 2 players, the hero at seat 2.
class FakeTable : public THandSource {
 public:
  explicit FakeTable(int count) : count_(count) {}
  bool SelectHand(int n) override {
    if (n < 1 || n > count_) return false;
    selected_ = n;
    return true;
  }
  bool ParseSelectedHand(THH& hand, TTournamentInfo&) override {
    hand = MakeHand(selected_ + 2, 1, 2);
    return true;
  }
  std::vector<std::string> HandLines() const override { return {"Hand line of " + std::to_string(selected_)}; }

 private:
  int count_;
  int selected_ = 1;
};

class CalculatorWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    kova::RegisterFrameworkClasses();
    tables::ProgramFolder = dir_.Str();
    for (int i = 0; i < 3; ++i) {
      tables::TOpponentModel m = MakeModel("Model" + std::to_string(i), kType, i);
      ASSERT_TRUE(tables::AppendModel(dir_.Path(), tables::OpponentModels, m));
    }
  }
  void TearDown() override {
    CloseCalculator(this);
    tables::ProgramFolder.clear();
    tables::ModelsChanged = 0;
  }

  TCalculatorRequest Request(const THH& hand, int handNumber = 1) {
    TCalculatorRequest r;
    r.Table = this;
    r.Caption = "Calculator test";
    r.Source = std::make_shared<FakeTable>(4);
    r.Tournament = MakeTournament();
    r.TypeName = kType;
    r.Hand = hand;
    r.HandNumber = handNumber;
    return r;
  }

  static bool Finish(TForm2* form, int timeoutMs = 20000) {
    return WaitUntil([form] { return !form->Calculating(); }, timeoutMs);
  }

  // The answer of the solver for the form's hand, hero frame and depth,
  // with every player on `model`.
  static int SolverHands(const TForm2& form, const tables::TOpponentModel& model, int depth) {
    const THH& h = form.Hand();
    std::vector<TSeatInput> seats(static_cast<size_t>(h.PlayerCount));
    int hero = -1;
    for (int k = 0; k < h.PlayerCount; ++k) {
      seats[k].Model = ValuesOf(model);
      if (form.SeatFrameIndex(h.Players[k].Seat) == 8) hero = k;
    }
    TSituationOptions o;
    o.Edge = 0.004;
    o.Depth = depth;
    TSituation s(form.Tournament(), h, hero, seats, o);
    return s.SolveHero(s.HeroPosition());
  }

  test::FreshCalculatorData fresh_;
  test::ScratchFolder dir_;
};

TEST_F(CalculatorWindow, OpensForAHandWithTheHeroInFrameEightAndGivesTheSolversAnswer) {
  THH hand = MakeHand(6, 1, 3, {1500, 900, 2100, 600, 3000, 1400});
  TForm2* form = ShowCalculator(Request(hand, 5));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(CalculatorOf(this), form);
  EXPECT_EQ(form->Caption(), "Calculator test");
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_EQ(form->Edit1->Text(), "5");
  EXPECT_EQ(form->Frame(8)->PlayerName->Caption(), "Player3");
  EXPECT_TRUE(form->Frame(8)->Visible());
  EXPECT_EQ(form->Frame(9)->PlayerName->Caption(), "Player4");
  EXPECT_EQ(form->Frame(6)->PlayerName->Caption(), "Player1");
  int shown = 0;
  for (int f = 1; f <= 10; ++f) shown += form->Frame(f)->Visible();
  EXPECT_EQ(shown, 6);
  // Blinds of seats 2 and 3 (small blind 50, big blind 100), no ante.
  EXPECT_EQ(form->Pot(form->SeatFrameIndex(2))->Caption(), "50");
  EXPECT_EQ(form->Pot(form->SeatFrameIndex(3))->Caption(), "100");
  EXPECT_EQ(form->Frame(8)->Stack->Text(), "2000");
  EXPECT_FALSE(form->AnteLabel->Visible());
  // No start default yet: the type's first model, stored as its default.
  EXPECT_EQ(form->DefaultModel().Name.Str(), "Model0");
  EXPECT_EQ(form->ComboBoxDefault->ItemIndex(), 0);
  ASSERT_EQ(tables::StartDefaults.size(), 1u);
  EXPECT_EQ(form->Frame(8)->LModel->Caption(), "Model0");

  // Showing the hand calculated it.
  ASSERT_TRUE(Finish(form));
  EXPECT_EQ(form->CalculationsDone(), 1);
  const tables::TOpponentModel model = tables::OpponentModels[0];
  for (int depth : {0, 1}) {
    SCOPED_TRACE(depth);
    form->EditDepth->SetText(std::to_string(depth));
    form->CalculateClick();
    ASSERT_TRUE(Finish(form));
    const int n = SolverHands(*form, model, depth);
    EXPECT_FALSE(form->LastResult().Cancelled);
    EXPECT_EQ(form->LastResult().Hands, n);
    EXPECT_EQ(form->Answer->Caption(), AnswerText(n));
    EXPECT_EQ(form->LHand->Caption(), RangeText(n));
  }
  // The memo holds the branch table.
  EXPECT_GT(form->Memo1->Lines()->Count(), 5);
}

TEST_F(CalculatorWindow, CalculatingNeverHoldsTheWindowAndCanBeCancelled) {
  THH hand = MakeHand(10, 1, 8);
  TForm2* form = ShowCalculator(Request(hand));
  ASSERT_TRUE(Finish(form));
  form->EditDepth->SetText("2");

  // The deepest look-ahead at ten players: the click returns at once and
  // the calculation runs beside the message loop.
  const auto start = std::chrono::steady_clock::now();
  form->CalculateClick();
  const auto clickMs =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(clickMs, 200);
  EXPECT_TRUE(form->Calculating());
  EXPECT_TRUE(form->CancelCalc->Enabled());
  form->CancelCalcClick();
  EXPECT_FALSE(form->Calculating());
  EXPECT_TRUE(form->LastResult().Cancelled);
  EXPECT_EQ(form->Progress->Caption(), "Calculation cancelled");
  EXPECT_FALSE(form->CancelCalc->Enabled());
  EXPECT_EQ(form->Answer->Caption(), "");

  // Closing the window cancels too; the table keeps the window.
  form->CalculateClick();
  ASSERT_TRUE(form->Calculating());
  form->Close();
  EXPECT_FALSE(form->Calculating());
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_EQ(CalculatorOf(this), form);

  // Opening it again brings it back; closing the table frees it, running
  // calculation and all.
  ShowCalculator(Request(hand));
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  ASSERT_TRUE(form->Calculating());
  CloseCalculator(this);
  EXPECT_EQ(CalculatorOf(this), nullptr);

  // Two tables, two calculators; the program's end closes both.
  TCalculatorRequest other = Request(hand);
  const int otherTable = 0;
  other.Table = &otherTable;
  TForm2* first = ShowCalculator(Request(hand));
  TForm2* second = ShowCalculator(other);
  EXPECT_NE(first, second);
  EXPECT_EQ(ShowCalculator(other), second);
  EXPECT_NE(first->Name(), second->Name());
  CloseAllCalculators();
  EXPECT_EQ(CalculatorOf(this), nullptr);
  EXPECT_EQ(CalculatorOf(&otherTable), nullptr);
}

TEST_F(CalculatorWindow, TheDepthAskedForIsComputed) {
  TForm2* form = ShowCalculator(Request(MakeHand(3, 1, 2, {1000, 1500, 2000})));
  ASSERT_TRUE(Finish(form));
  form->EditDepth->SetText("2");
  form->SpeedButton4Click();  // no upper bound on the stepper
  EXPECT_EQ(form->EditDepth->Text(), "3");
  form->CalculateClick();
  ASSERT_TRUE(Finish(form));
  EXPECT_EQ(form->LastResult().Depth, 3);
  EXPECT_EQ(form->LastResult().Hands, SolverHands(*form, tables::OpponentModels[0], 3));
  EXPECT_NE(form->Progress->Caption().find("at depth 3"), std::string::npos) << form->Progress->Caption();
  EXPECT_NE(form->Answer->Caption(), "");
}

TEST_F(CalculatorWindow, ADeepCalculationShowsItsShareDoneAndStopsAtOnceOnCancel) {
  // Ten players, four hands ahead: minutes of work.
  TForm2* form = ShowCalculator(Request(MakeHand(10, 1, 8)));
  ASSERT_TRUE(Finish(form));
  form->EditDepth->SetText("4");
  Press(form->Calculate);
  ASSERT_TRUE(form->Calculating());
  // The share of the work done counts up and the label shows it, while the
  // window keeps answering its messages.
  ASSERT_TRUE(WaitUntil([&] { return form->ProgressShare() > 0; }, 30000));
  const double share = form->ProgressShare();
  ASSERT_TRUE(WaitUntil([&] { return form->ProgressShare() > share; }, 30000));
  std::string shown;
  ASSERT_TRUE(WaitUntil(
      [&] {
        shown = form->Progress->Caption();
        return shown.rfind("Calculating... ", 0) == 0 && shown.find(" % in ") != std::string::npos;
      },
      2000))
      << shown;
  EXPECT_LT(form->ProgressShare(), 1.0);
  EXPECT_TRUE(form->Calculating());
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutA(form->Handle(), WM_NULL, 0, 0, SMTO_BLOCK, 100, &answer), 0);

  const auto start = std::chrono::steady_clock::now();
  Press(form->CancelCalc);
  const auto cancelMs =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(cancelMs, 100);
  EXPECT_FALSE(form->Calculating());  // the calculation's thread is joined
  EXPECT_EQ(form->Progress->Caption(), "Calculation cancelled");
  EXPECT_FALSE(form->CancelCalc->Enabled());
  EXPECT_EQ(form->Answer->Caption(), "");
}

TEST_F(CalculatorWindow, StepsThroughTheTablesHands) {
  TForm2* form = ShowCalculator(Request(MakeHand(3, 1, 2), 1));
  ASSERT_TRUE(Finish(form));
  form->CheckBox1->SetChecked(true);
  form->NextHHClick();
  EXPECT_EQ(form->Edit1->Text(), "2");
  EXPECT_EQ(form->Hand().PlayerCount, 4);
  EXPECT_EQ(form->Frame(8)->PlayerName->Caption(), "Player2");
  const auto& lines = *form->Memo1->Lines();
  bool sawHandText = false;
  for (int i = 0; i < lines.Count(); ++i) sawHandText |= lines[i] == "Hand line of 2";
  EXPECT_TRUE(sawHandText);
  ASSERT_TRUE(Finish(form));
  form->Edit1->SetText("4");
  form->NextHHClick();  // no hand 5: hand 4 again
  EXPECT_EQ(form->Edit1->Text(), "4");
  EXPECT_EQ(form->Hand().PlayerCount, 6);
  form->PrevHHClick();
  EXPECT_EQ(form->Edit1->Text(), "3");
  form->Edit1->SetText("7");
  form->GoClick();
  EXPECT_EQ(lines[lines.Count() - 1], "HH 7 not exist");
  EXPECT_EQ(form->Hand().PlayerCount, 5);  // hand 3 stays
  form->Edit1->SetText("not a number");
  form->PrevHHClick();  // hand 1: nothing to go back to
  form->GoClick();      // hand 1
  EXPECT_EQ(form->Hand().PlayerCount, 3);
  ASSERT_TRUE(Finish(form));
  // Typed nonsense never stops a calculation.
  form->Edge->SetText("lots");
  form->ActPl->SetText("");
  form->EditDepth->SetText("-9");
  form->Frame(8)->Push->SetText("1e999");
  form->CalculateClick();
  ASSERT_TRUE(Finish(form));
  EXPECT_FALSE(form->LastResult().Cancelled);
  EXPECT_TRUE(form->LastResult().HasHero);
}

TEST_F(CalculatorWindow, TheModelLabelOpensTheEditorAndAssignsTheChosenModel) {
  TForm2* form = ShowCalculator(Request(MakeHand(4, 1, 3)));
  ASSERT_TRUE(Finish(form));
  TFrame1* villain = form->Frame(form->SeatFrameIndex(4));
  std::vector<TDialogKind> asked;
  {
    kova::TScopedDialogResponder responder([&](const TDialogRequest& r) {
      asked.push_back(r.kind);
      TDialogAnswer a;
      auto* dialog = dynamic_cast<TModelDialog*>(r.form);
      if (r.kind != TDialogKind::ModalForm || !dialog) return a;
      // The editor shows the frame's model at the hand's level (50/100: 4).
      EXPECT_EQ(dialog->Edit1->Text(), "4");
      EXPECT_EQ(dialog->LBlinds->Caption(), "50/100");
      EXPECT_EQ(dialog->ModelBox->Items()->Count(), 3);
      EXPECT_EQ(dialog->ModelBox->ItemIndex(), 0);
      EXPECT_EQ(dialog->StringGrid1->Cells(0, 1), "RFI");
      EXPECT_EQ(dialog->StringGrid1->Cells(5, 0), "BB");
      dialog->ModelBox->SetItemIndex(2);
      dialog->ModelBoxClick();
      dialog->OkClick();
      a.result = dialog->ModalResult();
      return a;
    });
    villain->LModel->OnClick(villain->LModel);
  }
  EXPECT_EQ(asked, std::vector<TDialogKind>{TDialogKind::ModalForm});
  EXPECT_EQ(villain->LModel->Caption(), "Model2");
  std::vector<tables::TModelAssignment> players;
  tables::LoadRegPlayers(dir_.Path(), players);
  ASSERT_EQ(players.size(), 1u);
  EXPECT_EQ(players[0].Name.Str(), "Player4");
  EXPECT_EQ(players[0].ModelIndex, 2);
  ASSERT_TRUE(Finish(form));

  // Cancelled: the frame goes back to the default model.
  {
    kova::TScopedDialogResponder responder([&](const TDialogRequest& r) {
      TDialogAnswer a;
      if (auto* dialog = dynamic_cast<TModelDialog*>(r.form)) {
        dialog->btnCancelClick();
        a.result = dialog->ModalResult();
      }
      return a;
    });
    villain->LModel->OnClick(villain->LModel);
  }
  EXPECT_EQ(villain->LModel->Caption(), "Model0");
}

TEST_F(CalculatorWindow, TheEditorCreatesSavesAndDeletesModelsThroughItsQuestions) {
  tables::SaveRegPlayer(dir_.Path(), tables::RegPlayers, "OnLast", 2);
  TForm2* form = ShowCalculator(Request(MakeHand(4, 1, 3)));
  ASSERT_TRUE(Finish(form));
  std::vector<std::string> questions;
  {
    kova::TScopedDialogResponder responder([&](const TDialogRequest& r) {
      TDialogAnswer a;
      if (r.kind == TDialogKind::Message) {
        questions.push_back(r.text);
        a.result = kova::mrYes;
        return a;
      }
      if (auto* fresh = dynamic_cast<TNewModelDialog*>(r.form)) {
        EXPECT_EQ(fresh->ComboBox1->Items()->Count(), 3);
        EXPECT_EQ(fresh->ComboBox1->ItemIndex(), -1);
        fresh->Name->SetText("Tight");
        fresh->ComboBox1->SetItemIndex(1);
        a.result = kova::mrOk;
        return a;
      }
      auto* dialog = dynamic_cast<TModelDialog*>(r.form);
      if (!dialog) return a;
      // The level stays within the model's 15 levels.
      for (int i = 0; i < 20; ++i) dialog->SpeedButton2Click();
      EXPECT_EQ(dialog->Edit1->Text(), "15");
      EXPECT_EQ(dialog->LBlinds->Caption(), "2000/4000+400");
      dialog->BtnNewClick();
      EXPECT_FALSE(dialog->BtnNew->Enabled());
      EXPECT_EQ(dialog->ModelBox->Items()->Count(), 4);
      dialog->StringGrid1->SetCells(1, 1, "33");
      dialog->btnSaveClick();  // Yes: appended
      EXPECT_TRUE(dialog->BtnNew->Enabled());
      // Delete the first model (Yes).
      dialog->ModelBox->SetItemIndex(0);
      dialog->ModelBoxClick();
      dialog->BtnDeleteClick();
      EXPECT_EQ(dialog->ModelBox->Items()->Count(), 3);
      dialog->btnCancelClick();
      a.result = dialog->ModalResult();
      return a;
    });
    form->Frame(8)->LModel->OnClick(form->Frame(8)->LModel);
  }
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[0], "Do you want to save changes to New model \"Tight\"");
  EXPECT_EQ(questions[1], "Are you sure you want to delete model \"Model0\"?");
  std::vector<tables::TOpponentModel> disk;
  tables::LoadModels(dir_.Path(), disk);
  ASSERT_EQ(disk.size(), 3u);
  EXPECT_EQ(disk[0].Name.Str(), "Model1");
  EXPECT_EQ(disk[2].Name.Str(), "Tight");
  EXPECT_EQ(disk[2].Values[14][0][9], 33);  // level 15, open raise, first position group
  EXPECT_EQ(disk[2].Values[3], tables::OpponentModels[0].Values[3]);  // from the template Model1
  std::vector<tables::TModelAssignment> players;
  tables::LoadRegPlayers(dir_.Path(), players);
  ASSERT_EQ(players.size(), 1u);
  EXPECT_EQ(players[0].ModelIndex, 1);  // followed Model2 down
  // The models changed: the window chose its default anew.
  EXPECT_EQ(tables::ModelsChanged, 1);
  EXPECT_EQ(form->ComboBoxDefault->Items()->Count(), 3);
  EXPECT_EQ(form->DefaultModel().Name.Str(), "Model1");
}

// Each player frame is read from its own description: its panel holds the
// seat's controls with their texts; the model label carries the frame's
// number.
TEST_F(CalculatorWindow, PlayerFramesComeFromTheirDescription) {
  TForm2* form = ShowCalculator(Request(MakeHand(6, 1, 3, {1500, 900, 2100, 600, 3000, 1400})));
  ASSERT_NE(form, nullptr);
  for (int n = 1; n <= 10; ++n) {
    SCOPED_TRACE(n);
    TFrame1* f = form->Frame(n);
    EXPECT_EQ(f->Name(), "Player" + std::to_string(n));
    ASSERT_NE(f->Panel1, nullptr);
    EXPECT_EQ(f->Panel1->Parent(), f);
    EXPECT_EQ(f->Stack->Parent(), f->Panel1);
    EXPECT_TRUE(f->Stack->ReadOnly());
    EXPECT_EQ(f->Label4->Caption(), "Model:");
    EXPECT_EQ(f->LModel->Tag(), n);
    EXPECT_EQ(f->LModel->Alignment(), kova::taCenter);
    EXPECT_EQ(f->RadioGroup1->Items()->ToVector(), (std::vector<std::string>{"None", "Fold", "Push"}));
    EXPECT_EQ(f->RadioGroup1->ItemIndex(), 0);
    EXPECT_EQ(f->Width(), 140);
    EXPECT_EQ(f->Height(), 110);
  }
  auto* stackLabel = dynamic_cast<kova::TLabel*>(form->Frame(1)->FindComponent("Label1"));
  ASSERT_NE(stackLabel, nullptr);
  EXPECT_EQ(stackLabel->Caption(), "Stack:");
}

// Skinned with its form, each shown player frame has the frame adapter,
// also a frame first shown after the skin (a hand of more players).
TEST_F(CalculatorWindow, PlayerFramesAreSkinnedWithTheirForm) {
  auto* manager = new skin::TsSkinManager(nullptr);
  skin::AddInternalSkins(manager->Model().InternalSkins);
  manager->SetSkinName("Linen (internal)");
  manager->ThirdParty.Lists[0] = "TEdit";
  manager->UpdateThirdPartyLists();
  TForm2* form = ShowCalculator(Request(MakeHand(6, 1, 3, {1500, 900, 2100, 600, 3000, 1400})));
  ASSERT_NE(form, nullptr);
  auto* provider = new skin::TsSkinProvider(form);
  provider->Loaded();
  kova::test::PumpMessages();
  const auto adapters = [](TFrame1* f) {
    int count = 0;
    for (int i = 0; i < f->ComponentCount(); ++i) count += dynamic_cast<skin::TsFrameAdapter*>(f->Components(i)) != nullptr;
    return count;
  };
  for (int players : {6, 10}) {
    if (players == 10) {
      form->ShowHand(MakeHand(10, 1, 3, {1500, 900, 2100, 600, 3000, 1400, 800, 700, 1200, 1000}));
      kova::test::PumpMessages();
    }
    int shown = 0;
    for (int n = 1; n <= 10; ++n) {
      TFrame1* f = form->Frame(n);
      if (!f->Visible()) continue;
      ++shown;
      SCOPED_TRACE("frame " + std::to_string(n) + " of " + std::to_string(players) + " players");
      EXPECT_EQ(adapters(f), 1);
      ASSERT_TRUE(f->HandleAllocated());
      EXPECT_EQ(skin::SendSkinCommand(f->Handle(), skin::scQuerySupport, 0), 1);
      // The frame's own controls too.
      ASSERT_TRUE(f->Stack->HandleAllocated());
      EXPECT_NE(GetPropA(f->Stack->Handle(), "ACSBSC"), nullptr);
    }
    EXPECT_EQ(shown, players);
  }
  CloseCalculator(this);
  manager->Free();
  skin::ResetSkinServices();
}

}  // namespace
}  // namespace kova::pushfold::forms
