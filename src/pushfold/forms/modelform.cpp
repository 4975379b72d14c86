#include "pushfold/forms/modelform.h"

#include "framework/dialogs.h"
#include "framework/portable/numformat.h"
#include "pushfold/forms/model/calcmodel.h"

namespace kova::pushfold::forms {

TNewModelDialog::TNewModelDialog(kova::TComponent* owner) : kova::TForm(owner) {
  BindField("Name", Name);
  BindField("ComboBox1", ComboBox1);
  BindField("BtnOk", BtnOk);
  BindField("BtnCancel", BtnCancel);
}

TModelDialog::TModelDialog(kova::TComponent* owner) : kova::TForm(owner), editor_(tables::ProgramFolder) {
  BindField("Edit1", Edit1);
  BindField("SpeedButton1", SpeedButton1);
  BindField("SpeedButton2", SpeedButton2);
  BindField("LBlinds", LBlinds);
  BindField("LTypeName", LTypeName);
  BindField("StringGrid1", StringGrid1);
  BindField("ModelBox", ModelBox);
  BindField("BtnNew", BtnNew);
  BindField("BtnDelete", BtnDelete);
  BindField("btnSave", btnSave);
  BindField("Ok", Ok);
  BindField("btnCancel", btnCancel);
  BindField("CheckBox1", CheckBox1);
  auto on = [this](const char* name, void (TModelDialog::*handler)()) {
    RegisterMethod(name, kova::TNotifyEvent([this, handler](kova::TObject*) { (this->*handler)(); }));
  };
  on("SpeedButton1Click", &TModelDialog::SpeedButton1Click);
  on("SpeedButton2Click", &TModelDialog::SpeedButton2Click);
  on("ModelBoxClick", &TModelDialog::ModelBoxClick);
  on("BtnNewClick", &TModelDialog::BtnNewClick);
  on("btnSaveClick", &TModelDialog::btnSaveClick);
  on("OkClick", &TModelDialog::OkClick);
  on("btnCancelClick", &TModelDialog::btnCancelClick);
  on("BtnDeleteClick", &TModelDialog::BtnDeleteClick);
  on("CheckBox1Click", &TModelDialog::CheckBox1Click);
  // The headers of the grid.
  OnCreate = [this](kova::TObject*) {
    for (int i = 0; i < kGridSize; ++i) {
      StringGrid1->SetCells(i + 1, 0, GridColumnNames()[i]);
      StringGrid1->SetCells(0, i + 1, GridRowNames()[i]);
    }
  };
}

int TModelDialog::Ask(const std::string& text, uint32_t buttons) {
  return kova::MessageDlg(text, kova::mtConfirmation, buttons);
}

bool TModelDialog::Report(bool ok, const std::string& error) {
  if (!ok) kova::MessageDlg(error, kova::mtError, kova::mbOK);
  return ok;
}

TGridTexts TModelDialog::GridTexts() const {
  TGridTexts g;
  for (int r = 0; r < kGridSize; ++r)
    for (int c = 0; c < kGridSize; ++c) g[r][c] = StringGrid1->Cells(c + 1, r + 1);
  return g;
}

void TModelDialog::ShowGrid() {
  if (StringGrid1->EditorMode()) StringGrid1->HideEditor(false);
  const TGridTexts g = editor_.Grid();
  for (int r = 0; r < kGridSize; ++r)
    for (int c = 0; c < kGridSize; ++c) StringGrid1->SetCells(c + 1, r + 1, g[r][c]);
  Edit1->SetText(std::to_string(editor_.Level()));
  LBlinds->SetCaption(LevelText(editor_.Level()));
  LTypeName->SetCaption(editor_.Edited().TypeName());
}

void TModelDialog::ShowList() {
  ModelBox->Items()->Clear();
  for (const std::string& n : editor_.Names()) ModelBox->Items()->Add(n);
  ModelBox->SetItemIndex(editor_.Selected());
  BtnNew->SetEnabled(!editor_.HasPending());
}

void TModelDialog::ShowModel(int level, const tables::TOpponentModel& model) {
  editor_.SetFolder(tables::ProgramFolder);
  editor_.OnlySameType = CheckBox1->Checked();
  editor_.ShowModel(level, model);
  ShowList();
  ShowGrid();
}

void TModelDialog::FillModelList(const std::string& typeName) {
  editor_.SetFolder(tables::ProgramFolder);
  editor_.OnlySameType = CheckBox1->Checked();
  editor_.FillModelList(typeName);
  ShowList();
}

// The grid's cell editor may still hold a typed value: it goes in first.
TGridTexts TModelDialog::TakeGrid() {
  if (StringGrid1->EditorMode()) StringGrid1->HideEditor(true);
  return GridTexts();
}

void TModelDialog::SpeedButton1Click() {
  std::string error;
  if (editor_.Level() <= 1) return;
  if (Report(editor_.StepLevel(TakeGrid(), -1, error), error)) ShowGrid();
}

void TModelDialog::SpeedButton2Click() {
  std::string error;
  if (editor_.Level() >= kova::pushfold::kBlindLevelCount) return;
  if (Report(editor_.StepLevel(TakeGrid(), +1, error), error)) ShowGrid();
}

void TModelDialog::ModelBoxClick() {
  std::string error;
  const int index = ModelBox->ItemIndex();
  if (index < 0 || index == editor_.Selected()) return;
  if (Report(editor_.SelectModel(TakeGrid(), index, error), error)) {
    ShowGrid();
  } else {
    ModelBox->SetItemIndex(editor_.Selected());
  }
}

void TModelDialog::BtnNewClick() {
  if (editor_.HasPending()) return;
  if (!newDialog_) newDialog_ = kova::TCustomForm::Create<TNewModelDialog>(this);
  newDialog_->Name->SetText("");
  newDialog_->ComboBox1->Items()->Clear();
  for (const std::string& n : editor_.Names()) newDialog_->ComboBox1->Items()->Add(n);
  newDialog_->ComboBox1->SetItemIndex(-1);
  if (newDialog_->ShowModal() != kova::mrOk) return;
  std::string error;
  if (!Report(editor_.NewModel(TakeGrid(), newDialog_->Name->Text(), newDialog_->ComboBox1->ItemIndex(), error),
              error))
    return;
  ShowList();
  ShowGrid();
}

void TModelDialog::btnSaveClick() {
  std::string error;
  if (!Report(editor_.Save(TakeGrid(), Ask, error), error)) return;
  ShowList();
  ShowGrid();
}

void TModelDialog::OkClick() {
  std::string error;
  if (!Report(editor_.Ok(TakeGrid(), Ask, error), error)) return;
  ShowList();
  SetModalResult(kova::mrOk);
}

void TModelDialog::btnCancelClick() {
  editor_.Cancel(Ask);
  ShowList();
  SetModalResult(kova::mrCancel);
}

void TModelDialog::BtnDeleteClick() {
  editor_.Delete(Ask);
  ShowList();
  ShowGrid();
}

void TModelDialog::CheckBox1Click() { FillModelList(editor_.TypeName()); }

}  // namespace kova::pushfold::forms
