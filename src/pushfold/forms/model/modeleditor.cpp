#include "pushfold/forms/model/modeleditor.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "framework/portable/msgdlg.h"
#include "framework/portable/numformat.h"
#include "pushfold/logic/hand_record.h"
#include "tables/files/calcfiles.h"

namespace kova::pushfold::forms {

namespace {

using tables::TOpponentModel;

// The data row and column each grid cell shows (0-based grid index).
constexpr std::array<int, kGridSize> kShownRow = {0, 6, 4, 3, 2};
constexpr std::array<int, kGridSize> kShownColumn = {6, 4, 3, 2, 1};

}  // namespace

const std::array<const char*, kGridSize>& GridRowNames() {
  static const std::array<const char*, kGridSize> names = {"RFI", "EP", "MP", "LP", "SB"};
  return names;
}

const std::array<const char*, kGridSize>& GridColumnNames() {
  static const std::array<const char*, kGridSize> names = {"EP", "MP", "LP", "SB", "BB"};
  return names;
}

int GridRowOfDataRow(int row) {
  if (row <= 0) return 0;
  if (row <= 2) return 4;
  if (row == 3) return 3;
  if (row <= 5) return 2;
  return 1;
}

int GridColumnOfDataColumn(int column) {
  if (column <= 1) return 4;
  if (column == 2) return 3;
  if (column == 3) return 2;
  if (column <= 5) return 1;
  return 0;
}

TGridTexts GridOfModel(const TOpponentModel& model, int level) {
  level = ClampBlindLevel(level);
  TGridTexts g;
  for (int r = 0; r < kGridSize; ++r)
    for (int c = 0; c < kGridSize; ++c)
      g[r][c] = kova::FloatToStr(model.Values[level - 1][kShownRow[r]][kShownColumn[c] - 1]);
  return g;
}

bool StoreGrid(const TGridTexts& grid, TOpponentModel& model, int level, std::string& error) {
  level = ClampBlindLevel(level);
  std::array<std::array<double, kGridSize>, kGridSize> v{};
  for (int r = 0; r < kGridSize; ++r) {
    for (int c = 0; c < kGridSize; ++c) {
      const std::string& text = grid[r][c];
      if (!kova::TryStrToFloat(text, v[r][c]) || !std::isfinite(v[r][c])) {
        error = "'" + text + "' is not a valid floating point value";
        return false;
      }
      if (v[r][c] < 0 || v[r][c] > 100) {
        error = "'" + text + "' is not a percentage from 0 to 100";
        return false;
      }
    }
  }
  for (int row = 0; row < TOpponentModel::Rows; ++row)
    for (int col = 1; col <= TOpponentModel::Columns; ++col)
      model.Values[level - 1][row][col - 1] = v[GridRowOfDataRow(row)][GridColumnOfDataColumn(col)];
  return true;
}

std::string TModelEditor::SaveQuestion(const std::string& name) {
  return "Do you want to save changes to New model \"" + name + "\"";
}

std::string TModelEditor::DeleteQuestion(const std::string& name) {
  return "Are you sure you want to delete model \"" + name + "\"?";
}

std::vector<std::string> TModelEditor::Names() const {
  std::vector<std::string> names;
  for (const TOpponentModel& m : working_) names.push_back(m.Name.Str());
  return names;
}

void TModelEditor::ShowModel(int level, const TOpponentModel& model) {
  level_ = ClampBlindLevel(level);
  current_ = model;
  edited_ = model;
  typeName_ = model.TypeName();
  if (pending_) DropPending();
  FillModelList(typeName_);
  selected_ = FindModelIndex(model.ID);
  if (selected_ >= 0) edited_ = working_[static_cast<size_t>(selected_)];
  Changed = false;
}

void TModelEditor::FillModelList(const std::string& typeName) {
  std::optional<TOpponentModel> pending;
  if (pending_ && !working_.empty()) pending = working_.back();
  const bool pendingSelected = pending_ && selected_ == static_cast<int>(working_.size()) - 1;
  const int32_t selectedId = selected_ >= 0 && selected_ < static_cast<int>(working_.size()) && !pendingSelected
                                 ? working_[static_cast<size_t>(selected_)].ID
                                 : -1;
  working_.clear();
  for (const TOpponentModel& m : tables::OpponentModels)
    if (!OnlySameType || m.TypeName() == typeName) working_.push_back(m);
  selected_ = selectedId >= 0 ? FindModelIndex(selectedId) : -1;
  if (pending) {
    working_.push_back(*pending);
    if (pendingSelected) selected_ = static_cast<int>(working_.size()) - 1;
  }
}

int TModelEditor::FindModelIndex(int32_t id) const {
  const int last = static_cast<int>(working_.size()) - (pending_ ? 1 : 0);
  for (int i = last - 1; i >= 0; --i)
    if (working_[static_cast<size_t>(i)].ID == id) return i;
  return -1;
}

bool TModelEditor::Store(const TGridTexts& grid, std::string& error) {
  return StoreGrid(grid, edited_, level_, error);
}

void TModelEditor::KeepEdited() {
  if (selected_ >= 0 && selected_ < static_cast<int>(working_.size())) working_[static_cast<size_t>(selected_)] = edited_;
}

bool TModelEditor::StepLevel(const TGridTexts& grid, int direction, std::string& error) {
  if (!Store(grid, error)) return false;
  level_ = ClampBlindLevel(level_ + (direction < 0 ? -1 : 1));
  return true;
}

bool TModelEditor::SelectModel(const TGridTexts& grid, int index, std::string& error) {
  if (index < 0 || index >= static_cast<int>(working_.size())) return true;
  if (!Store(grid, error)) return false;
  KeepEdited();
  selected_ = index;
  edited_ = working_[static_cast<size_t>(index)];
  return true;
}

bool TModelEditor::NewModel(const TGridTexts& grid, const std::string& name, int templateIndex, std::string& error) {
  if (pending_) return true;  // one new model at a time
  if (!Store(grid, error)) return false;
  KeepEdited();
  TOpponentModel m;
  if (templateIndex >= 0 && templateIndex < static_cast<int>(working_.size()))
    m = working_[static_cast<size_t>(templateIndex)];
  else
    m = TOpponentModel{};
  m.Name.Assign(name);
  m.TableType = current_.TableType;
  m.ID = -1;
  working_.push_back(m);
  selected_ = static_cast<int>(working_.size()) - 1;
  edited_ = m;
  pending_ = true;
  return true;
}

bool TModelEditor::AppendPending() {
  TOpponentModel m = working_.back();
  if (!tables::AppendModel(folder_, tables::OpponentModels, m)) return false;
  working_.back() = m;
  if (selected_ == static_cast<int>(working_.size()) - 1) edited_ = m;
  current_ = m;
  pending_ = false;
  Changed = true;
  return true;
}

void TModelEditor::DropPending() {
  const bool wasSelected = selected_ == static_cast<int>(working_.size()) - 1;
  working_.pop_back();
  pending_ = false;
  if (wasSelected) {
    selected_ = working_.empty() ? -1 : 0;
    if (selected_ >= 0) edited_ = working_[0];
  }
}

bool TModelEditor::Save(const TGridTexts& grid, const TAsk& ask, std::string& error) {
  if (!Store(grid, error)) return false;
  KeepEdited();
  bool savePlace = true;
  if (pending_) {
    const bool pendingSelected = selected_ == static_cast<int>(working_.size()) - 1;
    const int answer = ask(SaveQuestion(working_.back().Name.Str()), kova::mbYesNoCancel);
    if (answer == kova::mrCancel) return true;
    if (answer == kova::mrYes)
      AppendPending();
    else
      DropPending();
    savePlace = !pendingSelected;
  }
  if (savePlace && selected_ >= 0) {
    current_ = edited_;
    tables::SaveModel(folder_, tables::OpponentModels, edited_);
    Changed = true;
  }
  return true;
}

bool TModelEditor::Ok(const TGridTexts& grid, const TAsk& ask, std::string& error) {
  if (!Store(grid, error)) return false;
  KeepEdited();
  if (pending_) {
    if (ask(SaveQuestion(working_.back().Name.Str()), kova::mbYesNo) == kova::mrYes)
      AppendPending();
    else
      DropPending();
  }
  // The model chosen in the list is the one handed back.
  if (selected_ >= 0) current_ = working_[static_cast<size_t>(selected_)];
  return true;
}

void TModelEditor::Cancel(const TAsk& ask) {
  if (!pending_) return;
  if (ask(SaveQuestion(working_.back().Name.Str()) + "?", kova::mbYesNo) == kova::mrYes)
    AppendPending();
  else
    DropPending();
}

void TModelEditor::Delete(const TAsk& ask) {
  if (selected_ < 0 || selected_ >= static_cast<int>(working_.size())) return;
  if (ask(DeleteQuestion(working_[static_cast<size_t>(selected_)].Name.Str()), kova::mbYesNo) != kova::mrYes) return;
  if (pending_ && selected_ == static_cast<int>(working_.size()) - 1) {
    DropPending();
  } else {
    tables::DeleteModel(folder_, tables::OpponentModels, tables::RegPlayers, tables::StartDefaults,
                        working_[static_cast<size_t>(selected_)].ID);
    FillModelList(typeName_);
    Changed = true;
  }
  selected_ = working_.empty() ? -1 : 0;
  if (selected_ >= 0) edited_ = working_[0];
}

}  // namespace kova::pushfold::forms
