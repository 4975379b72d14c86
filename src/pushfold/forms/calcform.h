// TForm2: the push/fold calculator window of one tournament table, with one
// player frame TFrame1 per seat (the hero in frame 8). It browses the
// table's hands, lets the user change actions, open and call percentages
// and models per player, and calculates off the GUI thread: the window keeps
// answering, shows the share of the work done and the time spent, and the
// calculation is cancelled by the Cancel button, by a new calculation, and
// by closing the window or the table.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "pushfold/forms/model/calcmodel.h"

namespace kova::pushfold::forms {

class TModelDialog;

// One seat: name, stack (read only: the calculation takes the hand's), open
// and call percentages, the action and the seat's opponent model.
class TFrame1 : public kova::TFrame {
  KOVA_CLASS(TFrame1, kova::TFrame)
 public:
  // number: 1..10, also the tag of the model label. Made by
  // TCustomFrame::Create, which reads the frame's description.
  TFrame1(kova::TComponent* owner, int number);
  void AfterConstruction() override;

  kova::TPanel* Panel1 = nullptr;
  kova::TLabel* PlayerName = nullptr;
  kova::TEdit* Stack = nullptr;
  kova::TEdit* Push = nullptr;
  kova::TEdit* Call = nullptr;
  kova::TRadioGroup* RadioGroup1 = nullptr;
  kova::TLabel* Label4 = nullptr;
  kova::TLabel* LModel = nullptr;
  tables::TOpponentModel Model;
  int Number() const { return number_; }
  void SetModel(const tables::TOpponentModel& model);

 private:
  int number_;
};

class TForm2 : public kova::TForm {
  KOVA_CLASS(TForm2, kova::TForm)
 public:
  explicit TForm2(kova::TComponent* owner);
  ~TForm2() override;

  // A new hand of the table: the records, the table's hand source, the
  // model editor (made once) and the default and players' models; then the
  // hand is shown and calculated.
  void LoadTableHand(const TCalculatorRequest& request);
  void ShowHand(const THH& hand);
  void SelectDefaultModel();
  void AssignPlayerModels();
  // Starts the calculation of what the frames show (cancelling one that
  // runs).
  void CalculateSituation();
  // Stops a running calculation and waits for its thread.
  void CancelCalculation();
  bool Calculating() const { return worker_.joinable(); }
  int SeatFrameIndex(int seat) const { return forms::SeatFrameIndex(seat, heroOffset_); }

  TFrame1* Frame(int n) const { return frames_.at(static_cast<size_t>(n)); }
  kova::TLabel* Pot(int n) const { return pots_.at(static_cast<size_t>(n)); }
  const THH& Hand() const { return hand_; }
  const TTournamentInfo& Tournament() const { return tournament_; }
  const tables::TOpponentModel& DefaultModel() const { return defaultModel_; }
  TModelDialog* ModelEditor() const { return modelDialog_; }
  const void* Table() const { return table_; }
  // The result of the last calculation that finished.
  const TCalculationResult& LastResult() const { return lastResult_; }
  int CalculationsDone() const { return calculationsDone_; }
  // The share (0..1) of the running calculation's work done; 0 before it
  // is counted.
  double ProgressShare() const;

  kova::TLabel* NumHH = nullptr;
  kova::TEdit* Edit1 = nullptr;
  kova::TSpeedButton* PrevHH = nullptr;
  kova::TSpeedButton* NextHH = nullptr;
  kova::TButton* Go = nullptr;
  kova::TMemo* Memo1 = nullptr;
  kova::TButton* Test = nullptr;
  kova::TButton* Calculate = nullptr;
  kova::TButton* CancelCalc = nullptr;
  kova::TEdit* ActPl = nullptr;
  kova::TEdit* Edge = nullptr;
  kova::TSpeedButton *SpeedButton1 = nullptr, *SpeedButton2 = nullptr;
  kova::TEdit* EditDepth = nullptr;
  kova::TSpeedButton *SpeedButton3 = nullptr, *SpeedButton4 = nullptr;
  kova::TLabel* Answer = nullptr;
  kova::TLabel* LHand = nullptr;
  kova::TCheckBox* CheckBox1 = nullptr;
  kova::TComboBox* ComboBoxDefault = nullptr;
  kova::TLabel* Progress = nullptr;
  kova::TTimer* CalcTimer = nullptr;
  kova::TLabel* AnteLabel = nullptr;
  kova::TLabel* AnteValue = nullptr;

  void NextHHClick();
  void PrevHHClick();
  void GoClick();
  void CalculateClick();
  void CancelCalcClick();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void SpeedButton4Click();
  void ComboBoxDefaultSelect();
  void LModelClick(int frame);
  void CalcTimerTimer();

 private:
  void ShowBrowse(const TBrowseResult& r);
  void FinishCalculation();
  void Log(const std::string& line);
  void LogLines(const std::vector<std::string>& lines);

  std::array<TFrame1*, kFrameCount + 1> frames_{};
  std::array<kova::TLabel*, kFrameCount + 1> pots_{};
  const void* table_ = nullptr;
  std::shared_ptr<THandSource> source_;
  TTournamentInfo tournament_;
  THH hand_;
  std::string typeName_;
  int heroOffset_ = 0;
  int level_ = 1;
  tables::TOpponentModel defaultModel_;
  TModelDialog* modelDialog_ = nullptr;

  // The calculation in flight: its thread writes only `pending_` and then
  // sets `done_`; the GUI thread reads them from the timer.
  std::thread worker_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> done_{false};
  TSituationProgress progress_;
  TCalculationResult pending_;
  std::chrono::steady_clock::time_point started_;
  TCalculationResult lastResult_;
  int calculationsDone_ = 0;
};

// ---- one calculator per table --------------------------------------------------------

// Opens the calculator of the request's table (made on first use, named
// "HUD" and a number) or brings it forward, and gives it the table's hand.
TForm2* ShowCalculator(const TCalculatorRequest& request);
// The table's calculator, or null.
TForm2* CalculatorOf(const void* table);
// Closes the table's calculator (its calculation is cancelled first): the
// table went away.
void CloseCalculator(const void* table);
// Closes every calculator (the program ends).
void CloseAllCalculators();
// Every open calculator re-selects its models (after the models changed).
void ReselectCalculatorModels();

}  // namespace kova::pushfold::forms
