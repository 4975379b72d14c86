// The opponent-model editor without its window: the working list of
// models, the 5 x 5 grid of position groups mapped onto a model's 11 x 10
// values per level, and what New, Save, Ok, Cancel and Delete do to the list
// and to "DefaultModel.dat". Questions go through `Ask` (the dialog passes
// the framework's message box), so every answer can be tested.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tables/model/variables.h"

namespace kova::pushfold::forms {

constexpr int kGridSize = 5;
using TGridTexts = std::array<std::array<std::string, kGridSize>, kGridSize>;  // [row][column]

// The grid's headers: rows "RFI", "EP", "MP", "LP", "SB"; columns "EP",
// "MP", "LP", "SB", "BB".
const std::array<const char*, kGridSize>& GridRowNames();
const std::array<const char*, kGridSize>& GridColumnNames();

// The grid cell (0-based row, column) that stands for a model's data row
// 0..10 and data column 1..10.
int GridRowOfDataRow(int row);
int GridColumnOfDataColumn(int column);

// One representative value per group, as text.
TGridTexts GridOfModel(const tables::TOpponentModel& model, int level);
// Every value of the level from its group's cell. A cell that is no number
// leaves the model as it was and gives the conversion's message.
bool StoreGrid(const TGridTexts& grid, tables::TOpponentModel& model, int level, std::string& error);

// Asks a question with the given buttons (mbYesNo, mbYesNoCancel) and gives
// back the modal result (mrYes, mrNo, mrCancel).
using TAsk = std::function<int(const std::string& text, uint32_t buttons)>;

class TModelEditor {
 public:
  // folder: where the calculator's data files are.
  explicit TModelEditor(std::string folder) : folder_(std::move(folder)) {}
  void SetFolder(std::string folder) { folder_ = std::move(folder); }

  // Shows `model` at `level` with the list of its type.
  void ShowModel(int level, const tables::TOpponentModel& model);
  // The list again from the program's models (only the current type's
  // while OnlySameType); a pending new model stays listed last.
  void FillModelList(const std::string& typeName);
  // Index of the last listed model with that ID; -1 when none.
  int FindModelIndex(int32_t id) const;

  // Each of these first stores the grid into the edited model; when a cell
  // is no number they change nothing else and return false with `error`.
  bool StepLevel(const TGridTexts& grid, int direction, std::string& error);
  bool SelectModel(const TGridTexts& grid, int index, std::string& error);
  // A new model named `name` (cut to 40 characters) from the listed model
  // `templateIndex` (-1: all zero), of the current model's type; listed last
  // and selected, pending until saved.
  bool NewModel(const TGridTexts& grid, const std::string& name, int templateIndex, std::string& error);
  bool Save(const TGridTexts& grid, const TAsk& ask, std::string& error);
  // The dialog closes with OK afterwards (true) or stays (a bad cell).
  bool Ok(const TGridTexts& grid, const TAsk& ask, std::string& error);
  void Cancel(const TAsk& ask);
  // Asks, then deletes the selected model from the file (its assignments
  // go, later ones follow their models) and selects the first model.
  void Delete(const TAsk& ask);

  // The question about a pending model ("Do you want to save changes to New
  // model "name"").
  static std::string SaveQuestion(const std::string& name);
  static std::string DeleteQuestion(const std::string& name);

  bool OnlySameType = true;
  bool Changed = false;  // read and cleared by the calculator window

  const std::vector<tables::TOpponentModel>& Models() const { return working_; }
  int Selected() const { return selected_; }
  int Level() const { return level_; }
  const tables::TOpponentModel& Edited() const { return edited_; }
  const tables::TOpponentModel& Current() const { return current_; }
  const std::string& TypeName() const { return typeName_; }
  bool HasPending() const { return pending_; }
  std::vector<std::string> Names() const;
  TGridTexts Grid() const { return GridOfModel(edited_, level_); }

 private:
  bool Store(const TGridTexts& grid, std::string& error);
  void KeepEdited();  // the edited model back into its slot of the list
  bool AppendPending();
  void DropPending();

  std::string folder_;
  std::vector<tables::TOpponentModel> working_;
  int selected_ = -1;
  int level_ = 1;
  tables::TOpponentModel edited_;
  tables::TOpponentModel current_;
  std::string typeName_;
  bool pending_ = false;  // the last listed model is new, not yet in the file
};

}  // namespace kova::pushfold::forms
