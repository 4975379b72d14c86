// The opponent-model editor TModelDialog (a 5 x 5 grid of position groups
// per blind level, the list of models of a table type) and TNewModelDialog,
// which asks for a new model's name and template. What the buttons do lives
// in TModelEditor; the dialog shows it and asks its questions through the
// framework's message boxes.
#pragma once

#include <windows.h>

#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/grids.h"
#include "framework/stdctrls.h"
#include "pushfold/forms/model/modeleditor.h"

namespace kova::pushfold::forms {

class TNewModelDialog : public kova::TForm {
  KOVA_CLASS(TNewModelDialog, kova::TForm)
 public:
  explicit TNewModelDialog(kova::TComponent* owner);
  kova::TEdit* Name = nullptr;
  kova::TComboBox* ComboBox1 = nullptr;
  kova::TButton* BtnOk = nullptr;
  kova::TButton* BtnCancel = nullptr;
};

class TModelDialog : public kova::TForm {
  KOVA_CLASS(TModelDialog, kova::TForm)
 public:
  explicit TModelDialog(kova::TComponent* owner);

  // Before the dialog is shown modally: the model at that level.
  void ShowModel(int level, const tables::TOpponentModel& model);
  void FillModelList(const std::string& typeName);

  TModelEditor& Editor() { return editor_; }
  // The model handed back to the calculator (the one chosen).
  const tables::TOpponentModel& CurrentModel() const { return editor_.Current(); }
  bool HasModels() const { return !editor_.Models().empty(); }
  TNewModelDialog* NewModelDialog() const { return newDialog_; }

  kova::TEdit* Edit1 = nullptr;
  kova::TSpeedButton* SpeedButton1 = nullptr;
  kova::TSpeedButton* SpeedButton2 = nullptr;
  kova::TLabel* LBlinds = nullptr;
  kova::TLabel* LTypeName = nullptr;
  kova::TStringGrid* StringGrid1 = nullptr;
  kova::TListBox* ModelBox = nullptr;
  kova::TButton* BtnNew = nullptr;
  kova::TButton* BtnDelete = nullptr;
  kova::TButton* btnSave = nullptr;
  kova::TButton* Ok = nullptr;
  kova::TButton* btnCancel = nullptr;
  kova::TCheckBox* CheckBox1 = nullptr;

  void SpeedButton1Click();
  void SpeedButton2Click();
  void ModelBoxClick();
  void BtnNewClick();
  void btnSaveClick();
  void OkClick();
  void btnCancelClick();
  void BtnDeleteClick();
  void CheckBox1Click();

 private:
  TGridTexts GridTexts() const;
  TGridTexts TakeGrid();
  void ShowGrid();
  void ShowList();
  bool Report(bool ok, const std::string& error);
  static int Ask(const std::string& text, uint32_t buttons);

  TModelEditor editor_;
  TNewModelDialog* newDialog_ = nullptr;
};

}  // namespace kova::pushfold::forms
