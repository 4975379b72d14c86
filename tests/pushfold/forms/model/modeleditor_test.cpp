// The opponent-model editor without its window: the grid mapping, and what
// its buttons do to the list and to "DefaultModel.dat" for every answer.
#include "pushfold/forms/model/modeleditor.h"

#include <gtest/gtest.h>

#include "calcfixtures.h"
#include "framework/portable/msgdlg.h"
#include "framework/portable/numformat.h"
#include "tables/files/calcfiles.h"

namespace kova::pushfold::forms {
namespace {

using test::MakeModel;
using tables::TOpponentModel;

TEST(ModelGrid, ShowsOneValuePerGroupAndStoresEveryCellOfTheGroup) {
  TOpponentModel m = MakeModel("m", "t", 3);
  const TGridTexts g = GridOfModel(m, 4);
  // Grid columns show data columns 6, 4, 3, 2, 1; rows data rows 0, 6, 4, 3, 2.
  EXPECT_EQ(g[0][0], kova::FloatToStr(m.Values[3][0][5]));
  EXPECT_EQ(g[1][4], kova::FloatToStr(m.Values[3][6][0]));
  EXPECT_EQ(g[4][1], kova::FloatToStr(m.Values[3][2][3]));
  EXPECT_EQ(g[3][2], kova::FloatToStr(m.Values[3][3][2]));

  TGridTexts typed;
  for (int r = 0; r < kGridSize; ++r)
    for (int c = 0; c < kGridSize; ++c) typed[r][c] = std::to_string(r * 10 + c);
  std::string error;
  const TOpponentModel before = m;
  ASSERT_TRUE(StoreGrid(typed, m, 4, error)) << error;
  // Data column -> grid column, data row -> grid row, as the groups go.
  const int colGroup[11] = {-1, 4, 3, 2, 1, 1, 0, 0, 0, 0, 0};
  const int rowGroup[11] = {0, 4, 4, 3, 2, 2, 1, 1, 1, 1, 1};
  for (int row = 0; row <= 10; ++row)
    for (int col = 1; col <= 10; ++col)
      EXPECT_EQ(m.Values[3][row][col - 1], rowGroup[row] * 10 + colGroup[col]) << row << " " << col;
  // Other levels are untouched, and showing gives back what was typed.
  EXPECT_EQ(m.Values[2], before.Values[2]);
  EXPECT_EQ(GridOfModel(m, 4), typed);

  for (const char* bad : {"x", "", "nan", "150", "-1"}) {
    TOpponentModel copy = m;
    typed[2][3] = bad;
    EXPECT_FALSE(StoreGrid(typed, copy, 4, error)) << bad;
    EXPECT_NE(error.find(std::string("'") + bad + "'"), std::string::npos) << error;
    EXPECT_EQ(copy, m);
  }
}

struct Asked {
  std::vector<std::string> texts;
  std::vector<uint32_t> buttons;
  int answer = kova::mrYes;
  TAsk Ask() {
    return [this](const std::string& t, uint32_t b) {
      texts.push_back(t);
      buttons.push_back(b);
      return answer;
    };
  }
};

class ModelEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) {
      TOpponentModel m = MakeModel("Model" + std::to_string(i), i == 1 ? "Other" : kType, i);
      ASSERT_TRUE(tables::AppendModel(dir_.Path(), tables::OpponentModels, m));
    }
    editor_.ShowModel(3, tables::OpponentModels[2]);
  }
  std::vector<TOpponentModel> OnDisk() {
    std::vector<TOpponentModel> models;
    tables::LoadModels(dir_.Path(), models);
    return models;
  }
  static constexpr const char* kType = "SNG 10-max $5";
  test::FreshCalculatorData fresh_;
  test::ScratchFolder dir_;
  TModelEditor editor_{dir_.Str()};
  std::string error_;
};

TEST_F(ModelEditorTest, ShowsTheModelsOfItsTypeOrAll) {
  EXPECT_EQ(editor_.Names(), (std::vector<std::string>{"Model0", "Model2"}));
  EXPECT_EQ(editor_.Selected(), 1);
  EXPECT_EQ(editor_.TypeName(), kType);
  EXPECT_EQ(editor_.Level(), 3);
  editor_.OnlySameType = false;
  editor_.FillModelList(editor_.TypeName());
  EXPECT_EQ(editor_.Names(), (std::vector<std::string>{"Model0", "Model1", "Model2"}));
  EXPECT_EQ(editor_.Selected(), 2);  // still the same model
  EXPECT_EQ(editor_.FindModelIndex(1), 1);
  EXPECT_EQ(editor_.FindModelIndex(9), -1);
}

TEST_F(ModelEditorTest, LevelStepsStayWithinTheModel) {
  editor_.ShowModel(1, tables::OpponentModels[0]);
  ASSERT_TRUE(editor_.StepLevel(editor_.Grid(), -1, error_));
  EXPECT_EQ(editor_.Level(), 1);
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(editor_.StepLevel(editor_.Grid(), +1, error_));
  EXPECT_EQ(editor_.Level(), 15);
  editor_.ShowModel(99, tables::OpponentModels[0]);
  EXPECT_EQ(editor_.Level(), 15);
  // A bad cell stops the step.
  TGridTexts g = editor_.Grid();
  g[0][0] = "many";
  EXPECT_FALSE(editor_.StepLevel(g, -1, error_));
  EXPECT_EQ(editor_.Level(), 15);
}

TEST_F(ModelEditorTest, EditsAreSavedInPlace) {
  TGridTexts g = editor_.Grid();
  g[0][0] = "42.5";
  Asked asked;
  ASSERT_TRUE(editor_.Save(g, asked.Ask(), error_));
  EXPECT_TRUE(asked.texts.empty());
  EXPECT_TRUE(editor_.Changed);
  const auto disk = OnDisk();
  ASSERT_EQ(disk.size(), 3u);
  EXPECT_EQ(disk[2].Values[2][0][9], 42.5);  // level 3, row 0, column 10
  EXPECT_EQ(disk[2], tables::OpponentModels[2]);
  EXPECT_EQ(editor_.Current(), disk[2]);
}

TEST_F(ModelEditorTest, ANewModelIsAppendedOnlyWhenTheAnswerIsYes) {
  struct Case {
    const char* what;
    int answer;
    size_t records;  // in the file afterwards
    bool pending;
  };
  const Case cases[] = {{"yes", kova::mrYes, 4, false}, {"no", kova::mrNo, 3, false},
                        {"cancel", kova::mrCancel, 3, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    tables::LoadModels(dir_.Path(), tables::OpponentModels);
    editor_.ShowModel(3, tables::OpponentModels[2]);
    const std::string longName(50, 'n');
    ASSERT_TRUE(editor_.NewModel(editor_.Grid(), longName, 0, error_));
    ASSERT_TRUE(editor_.HasPending());
    EXPECT_EQ(editor_.Names().back(), std::string(40, 'n'));
    EXPECT_EQ(editor_.Selected(), 2);
    EXPECT_EQ(editor_.Edited().Values, tables::OpponentModels[0].Values);  // the template's values
    EXPECT_EQ(editor_.Edited().TypeName(), kType);
    Asked asked;
    asked.answer = c.answer;
    ASSERT_TRUE(editor_.Save(editor_.Grid(), asked.Ask(), error_));
    ASSERT_EQ(asked.texts.size(), 1u);
    EXPECT_EQ(asked.texts[0], "Do you want to save changes to New model \"" + std::string(40, 'n') + "\"");
    EXPECT_EQ(asked.buttons[0], kova::mbYesNoCancel);
    EXPECT_EQ(OnDisk().size(), c.records);
    EXPECT_EQ(editor_.HasPending(), c.pending);
    if (c.answer == kova::mrYes) {
      EXPECT_EQ(OnDisk().back().ID, 3);
      EXPECT_EQ(OnDisk().back().Name.Str(), std::string(40, 'n'));
      EXPECT_EQ(editor_.Current().ID, 3);
      EXPECT_TRUE(editor_.Changed);
      // Back to three models for the next case.
      tables::DeleteModel(dir_.Path(), tables::OpponentModels, tables::RegPlayers, tables::StartDefaults, 3);
    }
    if (c.answer == kova::mrNo) {
      EXPECT_EQ(editor_.Names().size(), 2u);
    }
    if (c.pending) editor_.Cancel([](const std::string&, uint32_t) { return kova::mrNo; });
  }
}

TEST_F(ModelEditorTest, OkAndCancelAskAboutAPendingModel) {
  // Ok with Yes appends it and hands it back; Cancel asks with a "?".
  ASSERT_TRUE(editor_.NewModel(editor_.Grid(), "Fresh", -1, error_));
  EXPECT_EQ(editor_.Edited().Values, TOpponentModel{}.Values);  // no template: zeros
  Asked asked;
  ASSERT_TRUE(editor_.Ok(editor_.Grid(), asked.Ask(), error_));
  ASSERT_EQ(asked.buttons, (std::vector<uint32_t>{kova::mbYesNo}));
  EXPECT_EQ(editor_.Current().Name.Str(), "Fresh");
  EXPECT_EQ(editor_.Current().ID, 3);
  EXPECT_EQ(OnDisk().size(), 4u);

  editor_.ShowModel(3, tables::OpponentModels[2]);
  ASSERT_TRUE(editor_.NewModel(editor_.Grid(), "Dropped", -1, error_));
  Asked no;
  no.answer = kova::mrNo;
  editor_.Cancel(no.Ask());
  ASSERT_EQ(no.texts.size(), 1u);
  EXPECT_EQ(no.texts[0], "Do you want to save changes to New model \"Dropped\"?");
  EXPECT_FALSE(editor_.HasPending());
  EXPECT_EQ(OnDisk().size(), 4u);

  // Ok without a pending model hands back the model chosen in the list.
  ASSERT_TRUE(editor_.SelectModel(editor_.Grid(), 0, error_));
  ASSERT_TRUE(editor_.Ok(editor_.Grid(), no.Ask(), error_));
  EXPECT_EQ(no.texts.size(), 1u);
  EXPECT_EQ(editor_.Current().Name.Str(), "Model0");
}

TEST_F(ModelEditorTest, DeletingAModelTakesItsAssignmentsAlong) {
  tables::SaveRegPlayer(dir_.Path(), tables::RegPlayers, "OnFirst", 0);
  tables::SaveRegPlayer(dir_.Path(), tables::RegPlayers, "OnLast", 2);
  tables::SaveStartDefault(dir_.Path(), tables::StartDefaults, kType, 0);
  ASSERT_TRUE(editor_.SelectModel(editor_.Grid(), 0, error_));
  Asked no;
  no.answer = kova::mrNo;
  editor_.Delete(no.Ask());
  EXPECT_EQ(no.texts, (std::vector<std::string>{"Are you sure you want to delete model \"Model0\"?"}));
  EXPECT_EQ(OnDisk().size(), 3u);

  Asked yes;
  editor_.Delete(yes.Ask());
  const auto disk = OnDisk();
  ASSERT_EQ(disk.size(), 2u);
  EXPECT_EQ(disk[0].Name.Str(), "Model1");
  EXPECT_EQ(disk[1].ID, 1);
  EXPECT_TRUE(editor_.Changed);
  EXPECT_EQ(editor_.Names(), (std::vector<std::string>{"Model2"}));
  EXPECT_EQ(editor_.Selected(), 0);
  // The player on the deleted model lost it; the one on the last model
  // follows it to its new index.
  std::vector<tables::TModelAssignment> players, defaults;
  tables::LoadRegPlayers(dir_.Path(), players);
  tables::LoadStartDefaults(dir_.Path(), defaults);
  ASSERT_EQ(players.size(), 1u);
  EXPECT_EQ(players[0].Name.Str(), "OnLast");
  EXPECT_EQ(players[0].ModelIndex, 1);
  EXPECT_TRUE(defaults.empty());
}

}  // namespace
}  // namespace kova::pushfold::forms
