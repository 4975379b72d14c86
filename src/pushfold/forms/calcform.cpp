#include "pushfold/forms/calcform.h"

#include <map>

#include "framework/portable/numformat.h"
#include "pushfold/forms/modelform.h"
#include "tables/files/calcfiles.h"

namespace kova::pushfold::forms {

namespace {

// Where each frame and its bet label sit (left, top).
struct Place {
  int frameLeft, frameTop, potLeft, potTop;
};
constexpr std::array<Place, kFrameCount + 1> kPlaces = {{{0, 0, 0, 0},
                                                         {16, 150, 166, 198},
                                                         {152, 16, 206, 136},
                                                         {312, 16, 366, 136},
                                                         {472, 16, 526, 136},
                                                         {612, 150, 566, 198},
                                                         {612, 280, 566, 328},
                                                         {472, 410, 526, 393},
                                                         {312, 410, 366, 393},
                                                         {152, 410, 206, 393},
                                                         {16, 280, 166, 328}}};

// The memo keeps the latest lines only: a branch table of ten players is
// long, and the window runs for a whole session.
constexpr int kMemoLines = 3000;

std::map<const void*, TForm2*>& Calculators() {
  static std::map<const void*, TForm2*> forms;
  return forms;
}

int NextFormNumber() {
  static int counter = 0;
  return ++counter;
}

kova::TLabel* MakeLabel(kova::TComponent* owner, kova::TWinControl* parent, const std::string& caption, int left,
                        int top, int width, int height) {
  auto* l = new kova::TLabel(owner);
  l->SetParent(parent);
  l->SetAutoSize(false);
  l->SetBounds(left, top, width, height);
  l->SetCaption(caption);
  return l;
}

}  // namespace

// ---- TFrame1 --------------------------------------------------------------------------

TFrame1::TFrame1(kova::TComponent* owner, int number) : kova::TFrame(owner), number_(number) {
  BindField("Panel1", Panel1);
  BindField("PlayerName", PlayerName);
  BindField("Stack", Stack);
  BindField("Push", Push);
  BindField("Call", Call);
  BindField("RadioGroup1", RadioGroup1);
  BindField("Label4", Label4);
  BindField("LModel", LModel);
}

void TFrame1::AfterConstruction() {
  kova::TFrame::AfterConstruction();
  LModel->SetTag(number_);
}

void TFrame1::SetModel(const tables::TOpponentModel& model) {
  Model = model;
  LModel->SetCaption(model.Name.Str());
}

// ---- TForm2 ---------------------------------------------------------------------------

TForm2::TForm2(kova::TComponent* owner) : kova::TForm(owner) {
  BindField("NumHH", NumHH);
  BindField("Edit1", Edit1);
  BindField("PrevHH", PrevHH);
  BindField("NextHH", NextHH);
  BindField("Go", Go);
  BindField("Memo1", Memo1);
  BindField("Test", Test);
  BindField("Calculate", Calculate);
  BindField("CancelCalc", CancelCalc);
  BindField("ActPl", ActPl);
  BindField("Edge", Edge);
  BindField("SpeedButton1", SpeedButton1);
  BindField("SpeedButton2", SpeedButton2);
  BindField("EditDepth", EditDepth);
  BindField("SpeedButton3", SpeedButton3);
  BindField("SpeedButton4", SpeedButton4);
  BindField("Answer", Answer);
  BindField("LHand", LHand);
  BindField("CheckBox1", CheckBox1);
  BindField("ComboBoxDefault", ComboBoxDefault);
  BindField("Progress", Progress);
  BindField("CalcTimer", CalcTimer);
  auto on = [this](const char* name, void (TForm2::*handler)()) {
    RegisterMethod(name, kova::TNotifyEvent([this, handler](kova::TObject*) { (this->*handler)(); }));
  };
  on("NextHHClick", &TForm2::NextHHClick);
  on("PrevHHClick", &TForm2::PrevHHClick);
  on("GoClick", &TForm2::GoClick);
  on("CalculateClick", &TForm2::CalculateClick);
  on("CancelCalcClick", &TForm2::CancelCalcClick);
  on("SpeedButton1Click", &TForm2::SpeedButton1Click);
  on("SpeedButton2Click", &TForm2::SpeedButton2Click);
  on("SpeedButton3Click", &TForm2::SpeedButton3Click);
  on("SpeedButton4Click", &TForm2::SpeedButton4Click);
  on("ComboBoxDefaultSelect", &TForm2::ComboBoxDefaultSelect);
  on("CalcTimerTimer", &TForm2::CalcTimerTimer);
  RegisterMethod("TestClick", kova::TNotifyEvent([](kova::TObject*) {}));
  RegisterMethod("ComboBoxDefaultChange", kova::TNotifyEvent([](kova::TObject*) {}));
  // Closing the window stops its calculation; the table keeps the window.
  RegisterMethod("FormClose", kova::TCloseEvent([this](kova::TObject*, kova::TCloseAction& action) {
                   CancelCalculation();
                   action = kova::caHide;
                 }));
  OnCreate = [this](kova::TObject*) {
    Memo1->SetMaxLines(kMemoLines);
    for (int n = 1; n <= kFrameCount; ++n) {
      auto* f = kova::TCustomFrame::Create<TFrame1>(this, n);
      f->SetName("Player" + std::to_string(n));
      f->SetParent(this);
      f->SetBounds(kPlaces[n].frameLeft, kPlaces[n].frameTop, 140, 110);
      f->LModel->OnClick = [this, n](kova::TObject*) { LModelClick(n); };
      f->SetVisible(false);
      frames_[n] = f;
      auto* pot = MakeLabel(this, this, "", kPlaces[n].potLeft, kPlaces[n].potTop, 32, 14);
      pot->SetName("Pot" + std::to_string(n));
      pot->Font()->SetStyle(kova::fsBold);
      pots_[n] = pot;
    }
    AnteLabel = MakeLabel(this, this, "Ante:", 166, 260, 32, 14);
    AnteLabel->SetName("AnteLabel");
    AnteLabel->Font()->SetStyle(kova::fsBold);
    AnteLabel->SetVisible(false);
    AnteValue = MakeLabel(this, this, "", 166, 280, 32, 14);
    AnteValue->SetName("AnteValue");
    AnteValue->Font()->SetStyle(kova::fsBold);
  };
}

TForm2::~TForm2() {
  CancelCalculation();
  auto& forms = Calculators();
  for (auto it = forms.begin(); it != forms.end(); ++it) {
    if (it->second == this) {
      forms.erase(it);
      break;
    }
  }
}

void TForm2::Log(const std::string& line) { Memo1->AppendLine(line); }

// Many lines at once go in as one text: an edit control takes each appended
// line as a change of its own, which is slow for a branch table.
void TForm2::LogLines(const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  std::vector<std::string> all = Memo1->Lines()->ToVector();
  all.insert(all.end(), lines.begin(), lines.end());
  if (all.size() > static_cast<size_t>(kMemoLines))
    all.erase(all.begin(), all.end() - kMemoLines);
  Memo1->Lines()->Assign(all);
  if (Memo1->HandleAllocated()) {
    const int end = GetWindowTextLengthA(Memo1->Handle());
    SendMessageA(Memo1->Handle(), EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageA(Memo1->Handle(), EM_SCROLLCARET, 0, 0);
  }
}

void TForm2::LoadTableHand(const TCalculatorRequest& request) {
  CancelCalculation();
  table_ = request.Table;
  source_ = request.Source;
  tournament_ = request.Tournament;
  hand_ = request.Hand;
  typeName_ = request.TypeName;
  heroOffset_ = HeroOffset(hand_.HeroSeat);
  Edit1->SetText(std::to_string(std::max(1, request.HandNumber)));
  if (!modelDialog_) {
    modelDialog_ = kova::TCustomForm::Create<TModelDialog>(this);
    modelDialog_->SetName("ModelDialog" + std::to_string(NextFormNumber()));
  }
  SelectDefaultModel();
}

void TForm2::SelectDefaultModel() {
  if (!modelDialog_) return;
  modelDialog_->FillModelList(typeName_);
  const std::vector<tables::TOpponentModel> listed = modelDialog_->Editor().Models();
  ComboBoxDefault->Items()->Clear();
  for (const tables::TOpponentModel& m : listed) ComboBoxDefault->Items()->Add(m.Name.Str());
  int selected = -1;
  defaultModel_ = forms::SelectDefaultModel(tables::ProgramFolder, typeName_, listed, selected);
  ComboBoxDefault->SetItemIndex(selected);
  AssignPlayerModels();
}

void TForm2::AssignPlayerModels() {
  const int count = std::clamp(hand_.PlayerCount, 0, THH::MaxPlayers);
  for (int k = 0; k < count; ++k)
    frames_[SeatFrameIndex(hand_.Players[k].Seat)]->SetModel(PlayerModel(hand_.Players[k].Name, defaultModel_));
}

void TForm2::ShowHand(const THH& hand) {
  hand_ = hand;
  for (int n = 1; n <= kFrameCount; ++n) {
    frames_[n]->SetVisible(false);
    pots_[n]->SetCaption("");
  }
  AnteValue->SetCaption("");
  AnteLabel->SetVisible(false);
  const THandView view = ViewOfHand(hand_, tournament_, heroOffset_);
  level_ = view.Level;
  if (view.LevelFromTime) Log(kova::Format("Level    : %d", view.Level));
  for (int n = 1; n <= kFrameCount; ++n) {
    const TFrameView& v = view.Frames[n];
    if (!v.Visible) continue;
    TFrame1* f = frames_[n];
    f->PlayerName->SetCaption(v.Name);
    f->Stack->SetText(kova::FloatToStr(v.Stack));
    f->RadioGroup1->SetItemIndex(v.ActionItem);
    f->SetVisible(true);
    pots_[n]->SetCaption(v.Bet);
  }
  if (view.AnteTotal > 0) {
    AnteLabel->SetVisible(true);
    AnteValue->SetCaption(kova::FloatToStr(view.AnteTotal));
  }
  AssignPlayerModels();
  if (CheckBox1->Checked()) {
    std::vector<std::string> lines;
    if (source_) lines = source_->HandLines();
    lines.push_back(kova::Format("NPlayer: %d", hand_.PlayerCount));
    lines.push_back(kova::Format("NButton: %d", hand_.Button));
    lines.push_back(kova::Format("NSB    : %d", hand_.SmallBlindSeat));
    lines.push_back(kova::Format("NBB    : %d", hand_.BigBlindSeat));
    LogLines(lines);
  }
  CalculateSituation();
}

void TForm2::CalculateSituation() {
  CancelCalculation();
  std::array<TFrameInput, kFrameCount + 1> inputs{};
  for (int n = 1; n <= kFrameCount; ++n) {
    TFrame1* f = frames_[n];
    inputs[n].ActionItem = std::max(0, f->RadioGroup1->ItemIndex());
    inputs[n].Open = f->Push->Text();
    inputs[n].Call = f->Call->Text();
    inputs[n].Model = ValuesOf(f->Model);
  }
  TCalculationInput input =
      BuildCalculation(hand_, tournament_, heroOffset_, inputs, ActPl->Text(), Edge->Text(), EditDepth->Text());
  Answer->SetCaption("");
  LHand->SetCaption("");
  Progress->SetCaption(ProgressText(0, 0, 0));
  CancelCalc->SetEnabled(true);
  cancel_ = false;
  done_ = false;
  progress_.Done = 0;
  progress_.Total = 0;
  started_ = std::chrono::steady_clock::now();
  input.Options.Cancel = &cancel_;
  input.Options.Progress = &progress_;
  worker_ = std::thread([this, input = std::move(input)] {
    try {
      pending_ = forms::Calculate(input);
    } catch (const std::exception&) {
      pending_ = TCalculationResult{};
      pending_.Cancelled = true;
    }
    done_ = true;
  });
  CalcTimer->SetEnabled(true);
}

void TForm2::CancelCalculation() {
  if (!worker_.joinable()) return;
  cancel_ = true;
  worker_.join();
  if (CalcTimer) CalcTimer->SetEnabled(false);
  lastResult_ = TCalculationResult{};
  lastResult_.Cancelled = true;
  if (Progress) Progress->SetCaption("Calculation cancelled");
  if (CancelCalc) CancelCalc->SetEnabled(false);
}

double TForm2::ProgressShare() const {
  const std::int64_t total = progress_.Total;
  return total > 0 ? static_cast<double>(progress_.Done) / static_cast<double>(total) : 0.0;
}

void TForm2::CalcTimerTimer() {
  if (!worker_.joinable()) {
    CalcTimer->SetEnabled(false);
    return;
  }
  if (!done_) {
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    Progress->SetCaption(ProgressText(progress_.Done, progress_.Total, s));
    return;
  }
  worker_.join();
  FinishCalculation();
}

void TForm2::FinishCalculation() {
  CalcTimer->SetEnabled(false);
  CancelCalc->SetEnabled(false);
  lastResult_ = std::move(pending_);
  pending_ = TCalculationResult{};
  ++calculationsDone_;
  if (lastResult_.Cancelled) {
    Progress->SetCaption("Calculation cancelled");
    return;
  }
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
  Answer->SetCaption(lastResult_.Answer);
  LHand->SetCaption(lastResult_.HandText);
  if (lastResult_.HasHero)
    Progress->SetCaption(kova::Format("Done in %.2f s at depth %d", s, lastResult_.Depth));
  else
    Progress->SetCaption("Nobody sits in frame " + ActPl->Text());
  LogLines(lastResult_.Branches);
}

void TForm2::ShowBrowse(const TBrowseResult& r) {
  Edit1->SetText(std::to_string(r.HandNumber));
  if (!r.LogLine.empty()) Log(r.LogLine);
  if (r.Shown) ShowHand(hand_);
}

void TForm2::NextHHClick() {
  if (!source_) return;
  ShowBrowse(BrowseNext(*source_, Edit1->Text(), hand_, tournament_));
}

void TForm2::PrevHHClick() {
  if (!source_) return;
  ShowBrowse(BrowsePrevious(*source_, Edit1->Text(), hand_, tournament_));
}

void TForm2::GoClick() {
  if (!source_) return;
  const std::string typed = Edit1->Text();
  const TBrowseResult r = BrowseGo(*source_, typed, hand_, tournament_);
  if (!r.Shown) {
    if (!r.LogLine.empty()) Log(r.LogLine);
    return;
  }
  ShowBrowse(r);
}

void TForm2::CalculateClick() { CalculateSituation(); }

void TForm2::CancelCalcClick() { CancelCalculation(); }

void TForm2::SpeedButton1Click() { Edge->SetText(StepEdge(Edge->Text(), -1)); }
void TForm2::SpeedButton2Click() { Edge->SetText(StepEdge(Edge->Text(), +1)); }
void TForm2::SpeedButton3Click() { EditDepth->SetText(StepDepth(EditDepth->Text(), -1)); }
void TForm2::SpeedButton4Click() { EditDepth->SetText(StepDepth(EditDepth->Text(), +1)); }

void TForm2::ComboBoxDefaultSelect() {
  const int index = ComboBoxDefault->ItemIndex();
  if (index < 0 || !modelDialog_) return;
  const auto& listed = modelDialog_->Editor().Models();
  if (index >= static_cast<int>(listed.size())) return;
  tables::SaveStartDefault(tables::ProgramFolder, tables::StartDefaults, typeName_, listed[index].ID);
  SelectDefaultModel();
  tables::ModelsChanged = 1;
}

void TForm2::LModelClick(int n) {
  if (n < 1 || n > kFrameCount || !modelDialog_) return;
  TFrame1* f = frames_[n];
  modelDialog_->ShowModel(level_, f->Model);
  if (modelDialog_->ShowModal() == kova::mrOk && modelDialog_->HasModels()) {
    f->SetModel(modelDialog_->CurrentModel());
    tables::SaveRegPlayer(tables::ProgramFolder, tables::RegPlayers, f->PlayerName->Caption(), f->Model.ID);
  } else {
    f->SetModel(defaultModel_);
  }
  LogLines(ModelLevelLines(f->Model, level_));
  if (modelDialog_->Editor().Changed) {
    SelectDefaultModel();
    modelDialog_->Editor().Changed = false;
    tables::ModelsChanged = 1;
  }
}

// ---- one calculator per table ---------------------------------------------------------

TForm2* CalculatorOf(const void* table) {
  auto& forms = Calculators();
  auto it = forms.find(table);
  return it == forms.end() ? nullptr : it->second;
}

TForm2* ShowCalculator(const TCalculatorRequest& request) {
  TForm2* form = CalculatorOf(request.Table);
  if (!form) {
    form = kova::TCustomForm::Create<TForm2>(nullptr);
    form->SetName("HUD" + std::to_string(NextFormNumber()));
    form->SetCaption(request.Caption.empty() ? form->Name() : request.Caption);
    Calculators()[request.Table] = form;
  } else if (!request.Caption.empty()) {
    form->SetCaption(request.Caption);
  }
  form->LoadTableHand(request);
  form->Show();
  form->BringToFront();
  form->ShowHand(request.Hand);
  return form;
}

void CloseCalculator(const void* table) {
  if (TForm2* form = CalculatorOf(table)) form->Free();  // cancels and leaves the list
}

void CloseAllCalculators() {
  while (!Calculators().empty()) Calculators().begin()->second->Free();
}

void ReselectCalculatorModels() {
  for (auto& [table, form] : Calculators()) form->SelectDefaultModel();
}

}  // namespace kova::pushfold::forms
