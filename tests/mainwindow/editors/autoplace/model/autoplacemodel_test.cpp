// The AutoPlace editors without windows: configs, groups, slot rows and the
// generators, driven as the page drives them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainwindow/editors/autoplace/model/autoplacemodel.h"

namespace kova::mainwindow::autoplace {
namespace {

namespace t = kova::tables;

t::TPokerRoom Room(const std::string& name, bool listed, int32_t h1 = 374, int32_t h2 = 614) {
    t::TPokerRoom r;
    r.Name = name;
    r.Listed = listed ? 1 : 0;
    r.WindowClass = name + "Class";
    r.Titles[0].Text = name + " table";
    r.Titles[3].Text = name + " tourney";
    r.Sizes[0].Name = "Small";
    r.Sizes[0].Width = 494;
    r.Sizes[0].Height = h1;
    r.Sizes[1].Name = "Big";
    r.Sizes[1].Width = 815;
    r.Sizes[1].Height = h2;
    return r;
}

std::vector<std::string> Texts(const TSlotRow& row) { return {row.Text.begin(), row.Text.end()}; }

class AutoPlaceModelTest : public ::testing::Test {
protected:
    std::vector<t::TPlaceConfig> configs;
    std::vector<t::TPokerRoom> rooms;
    t::TPlaceConfig working;
    int32_t selected = -1;
    TAutoPlaceModel model{configs, rooms, working, selected};

    void SetUp() override { model.Monitors = {{{0, 0, 1280, 1024}, {0, 0, 1280, 1024}}}; }

    // A new config with one group, as a user makes it.
    void NewConfigWithGroup(const std::string& config = "Config1", const std::string& group = "Group1") {
        model.ShowConfig(0);
        model.CreateConfig(config, -1);
        ASSERT_TRUE(model.CheckCanAddGroup().Message.empty());
        model.AddGroup(group, -1);
    }
    std::vector<std::string> VisibleColumn(TSlotField f) const {
        std::vector<std::string> out;
        for (const TSlotRow& r : model.Editor.Rows)
            if (r.Visible) out.push_back(r.Text[f]);
        return out;
    }
};

TEST_F(AutoPlaceModelTest, AnEmptyListShowsNoConfigAndRefusesGroupsSlotsAndGenerators) {
    model.ShowConfig(0);
    EXPECT_EQ(model.SelectedConfig, -1);
    EXPECT_EQ(model.ConfigCaption, "Config: ");
    EXPECT_EQ(model.GroupCaption, "Create New Group First!: ");
    EXPECT_FALSE(model.Editor.Enabled);
    EXPECT_EQ(model.CheckCanAddGroup().Message, "Please Create New Config first!");
    EXPECT_EQ(model.AddSlot().Message, "Please Add New Group first!");
    EXPECT_EQ(model.DeleteSlot().Message, "Please Add New Group first!");
    EXPECT_EQ(model.TileSlots().Message, "Please Add New Group first!");
    EXPECT_EQ(model.CascadeSlots().Message, "Please Add New Group first!");
    EXPECT_EQ(model.CalcActivateSelectedSlot().Message, "Please create any slot first!");
    EXPECT_TRUE(model.SaveNewConfigQuestion().empty());
    EXPECT_TRUE(model.DeleteConfigQuestion().empty());
    EXPECT_FALSE(model.SaveConfig().WriteFile);
    EXPECT_EQ(model.CreateConfigDialog().Name, "Config1");
}

TEST_F(AutoPlaceModelTest, ANewConfigEntersTheListOnlyWhenSaved) {
    NewConfigWithGroup("Mine");
    EXPECT_EQ(model.ConfigItems, (std::vector<std::string>{"Mine"}));
    EXPECT_EQ(model.ConfigCaption, "Config: \"Mine\"");
    EXPECT_EQ(model.GroupCaption, "Group: \"Group1\"");
    EXPECT_TRUE(configs.empty());
    EXPECT_TRUE(model.HasUnsavedConfig());
    const TOutcome saved = model.SaveConfig();
    EXPECT_TRUE(saved.WriteFile);
    ASSERT_EQ(configs.size(), 1u);
    EXPECT_EQ(configs[0].Name, "Mine");
    ASSERT_EQ(configs[0].Groups.size(), 1u);
    EXPECT_FALSE(model.HasUnsavedConfig());
    // Saving again overwrites, never appends.
    model.SaveConfig();
    EXPECT_EQ(configs.size(), 1u);
}

TEST_F(AutoPlaceModelTest, LeavingAnUnsavedConfigAsksAndTheAnswerDecides) {
    struct Case {
        TSaveAnswer answer;
        size_t savedCount;
        bool writes;
    } cases[] = {{TSaveAnswer::Yes, 2, true}, {TSaveAnswer::No, 1, false}};
    for (const Case& c : cases) {
        const bool yes = c.answer == TSaveAnswer::Yes;
        SCOPED_TRACE(yes ? "Yes" : "No");
        configs = {t::TPlaceConfig{"Old", {}, {}}};
        model.ShowConfig(0);
        model.CreateConfig("New", -1);
        model.AddGroup("G", -1);
        EXPECT_EQ(model.SaveNewConfigQuestion(), "Do you want to save config \"New\"?");
        // Cancel first: nothing changes and the asking action stops.
        const TOutcome cancelled = model.AnswerSaveNewConfig(TSaveAnswer::Cancel);
        EXPECT_TRUE(cancelled.Cancelled);
        EXPECT_TRUE(model.HasUnsavedConfig());
        EXPECT_EQ(model.Working.Name, "New");
        const TOutcome out = model.AnswerSaveNewConfig(c.answer);
        EXPECT_FALSE(out.Cancelled);
        EXPECT_EQ(out.WriteFile, c.writes);
        EXPECT_EQ(configs.size(), c.savedCount);
        // In any case the first config is shown afterwards.
        EXPECT_EQ(model.SelectedConfig, 0);
        EXPECT_EQ(model.Working.Name, "Old");
        EXPECT_TRUE(model.SaveNewConfigQuestion().empty());
        if (yes) {
            EXPECT_EQ(configs[1].Name, "New");
            EXPECT_EQ(configs[1].Groups.size(), 1u);
        }
    }
    // A saved config asks nothing and its answer changes nothing.
    EXPECT_FALSE(model.AnswerSaveNewConfig(TSaveAnswer::Yes).WriteFile);
}

TEST_F(AutoPlaceModelTest, CreatingClonesTheChosenConfigDeeplyOrStartsEmpty) {
    t::TPlaceConfig source{"Src", {}, {}};
    source.TOI.StackSlot = 4;
    source.Groups.resize(1);
    source.Groups[0].Name = "G";
    source.Groups[0].Slots = {t::TSlotRec{1, 2, 3, 4, 5, 6, 7, 8}};
    configs = {source};
    model.ShowConfig(0);
    const TNameDialogSetup d = model.CreateConfigDialog();
    EXPECT_EQ(d.Name, "Config2");
    EXPECT_EQ(d.CloneItems, (std::vector<std::string>{"Src"}));
    model.CreateConfig("Copy", 0);
    EXPECT_EQ(model.SelectedConfig, 1);
    EXPECT_EQ(model.Working.Name, "Copy");
    EXPECT_EQ(model.Working.TOI.StackSlot, 4);
    ASSERT_EQ(model.Working.Groups.size(), 1u);
    model.Working.Groups[0].Slots[0].Left = 99;
    EXPECT_EQ(configs[0].Groups[0].Slots[0].Left, 1) << "the clone shares its slots";
    model.AnswerSaveNewConfig(TSaveAnswer::No);
    model.CreateConfig("Fresh", -1);
    EXPECT_TRUE(model.Working.Groups.empty());
    EXPECT_EQ(model.Working.TOI, t::TTOIConfig{});

    t::TPlaceConfig copy;
    CopyConfig(source, copy);
    EXPECT_EQ(copy, source);
}

TEST_F(AutoPlaceModelTest, DeletingRemovesOnlySavedConfigsAndShowsTheFirst) {
    configs = {t::TPlaceConfig{"A", {}, {}}, t::TPlaceConfig{"B", {}, {}}, t::TPlaceConfig{"C", {}, {}}};
    model.ShowConfig(0);
    model.SelectConfig(1);
    EXPECT_EQ(model.DeleteConfigQuestion(), "Are you sure you want to delete config \"B\"?");
    EXPECT_TRUE(model.DeleteConfig().WriteFile);
    ASSERT_EQ(configs.size(), 2u);
    EXPECT_EQ(configs[1].Name, "C");
    EXPECT_EQ(model.SelectedConfig, 0);
    // An unsaved config is dropped from the list without touching the file.
    model.CreateConfig("New", -1);
    EXPECT_EQ(model.DeleteConfigQuestion(), "Are you sure you want to delete config \"New\"?");
    EXPECT_FALSE(model.DeleteConfig().WriteFile);
    EXPECT_EQ(configs.size(), 2u);
    EXPECT_EQ(model.ConfigItems, (std::vector<std::string>{"A", "C"}));
}

TEST_F(AutoPlaceModelTest, GroupsAreAddedSelectedStoredAndDeletedInTheWorkingCopyOnly) {
    rooms = {Room("Stars", true), Room("Other", true)};
    NewConfigWithGroup();
    EXPECT_EQ(model.CreateGroupDialog().Name, "Group2");
    EXPECT_EQ(model.CreateGroupDialog().CloneLabel, "Clone from Group");
    model.Editor.Title.Text = "typed in group 1";
    // Adding a group keeps what was typed for the group being left.
    model.AddGroup("Second", -1);
    EXPECT_EQ(model.Working.Groups[0].Title.Text.Str(), "typed in group 1");
    EXPECT_EQ(model.SelectedGroup, 1);
    EXPECT_EQ(model.GroupItems, (std::vector<std::string>{"Group1", "Second"}));
    model.Editor.Class.Text = "second class";
    model.SelectGroup(0);
    EXPECT_EQ(model.Working.Groups[1].ClassPattern, "second class");
    EXPECT_EQ(model.Editor.Title.Text, "typed in group 1");
    EXPECT_EQ(model.DeleteGroupQuestion(), "Are you sure you want to delete group \"Group1\"?");
    model.DeleteGroup();
    EXPECT_EQ(model.GroupItems, (std::vector<std::string>{"Second"}));
    EXPECT_EQ(model.Editor.Class.Text, "second class");
    model.DeleteGroup();
    EXPECT_EQ(model.GroupCaption, "Create New Group First!: ");
    EXPECT_FALSE(model.Editor.Enabled);
    EXPECT_TRUE(configs.empty());
}

TEST_F(AutoPlaceModelTest, ANewGroupWithoutAnyRoomStillPlacesTables) {
    NewConfigWithGroup();
    model.StoreGroupEditor();
    const t::TGroupRec& g = model.Working.Groups[0];
    EXPECT_EQ((std::vector<int>{g.AutoPlace, g.AutoShift, g.AutoSize, g.AutoActivate, g.MouseActivate, g.ActivateSize}),
              std::vector<int>(6, 1));
    EXPECT_EQ((std::vector<int>{g.AutoSort, g.SharedSlot, g.TOIStyle, g.AllowChange}), std::vector<int>(4, 0));
}

TEST_F(AutoPlaceModelTest, ARoomFillsTheGroupEditorsListsSizesAndOptions) {
    rooms = {Room("Stars", true), Room("Hidden", false), Room("Custom", true), Room("Tall", true, 614, 374)};
    NewConfigWithGroup();
    const TGroupEditor& e = model.Editor;
    // Listed rooms plus the given one, in list order.
    EXPECT_EQ(e.Room.Items, (std::vector<std::string>{"Stars", "Custom", "Tall"}));
    EXPECT_EQ(e.Room.Text, "Stars");
    EXPECT_EQ(e.Title.Items, (std::vector<std::string>{"Stars table", "Stars tourney"}));
    EXPECT_EQ(e.Title.Text, "");
    EXPECT_EQ(e.Class.Text, "StarsClass");
    EXPECT_EQ(e.Size1.Text, "Small");
    EXPECT_EQ(e.Size2.Text, "Big");
    EXPECT_EQ((std::vector<std::string>{e.X1, e.Y1, e.X2, e.Y2}),
              (std::vector<std::string>{"494", "374", "815", "614"}));
    for (TGroupOption o : {goAutoPlace, goAutoSize, goAutoActivate, goAutoShift, goMouseActivate, goActivateSize})
        EXPECT_TRUE(e.Options[o]) << o;
    EXPECT_FALSE(e.Options[goAutoSort]);

    model.ApplyRoomToGroupEditor(1);  // an unlisted room is offered when it is the group's
    EXPECT_EQ(e.Room.Items, (std::vector<std::string>{"Stars", "Hidden", "Custom", "Tall"}));
    EXPECT_EQ(e.Room.Text, "Hidden");

    model.ChangeRoom(3);  // "Tall": its second size is the smaller, so the normal one
    EXPECT_EQ(e.Room.Text, "Tall");
    EXPECT_EQ(model.Working.Groups[0].RoomIndex, 3);
    EXPECT_EQ(e.Size1.Text, "Big");
    EXPECT_EQ(e.Size2.Text, "Small");
    EXPECT_EQ(e.Y1, "374");
    model.ChangeSize1(0);
    EXPECT_EQ(e.X1, "494");
    EXPECT_EQ(e.Y1, "614");

    // The custom room keeps the typed class list.
    model.Editor.Class.Items = {"typed"};
    model.ApplyRoomToGroupEditor(2);
    EXPECT_EQ(e.Class.Items, (std::vector<std::string>{"typed", "CustomClass"}));

    // Past the last room: lists emptied, nothing selected.
    model.ApplyRoomToGroupEditor(9);
    EXPECT_EQ(e.Room.ItemIndex, -1);
    EXPECT_TRUE(e.Title.Items.empty());
    EXPECT_EQ(model.RoomIndexByName("nowhere"), 0);
    EXPECT_EQ(model.RoomIndexByName("Custom"), 2);
    EXPECT_EQ(model.RoomIndexByName(""), 0);
}

TEST_F(AutoPlaceModelTest, StoringTheEditorParsesNumbersCutsNamesAndSplitsTheTitle) {
    rooms = {Room("Stars", true)};
    NewConfigWithGroup();
    TGroupEditor& e = model.Editor;
    e.Room.Text = "Stars";
    e.Title.Text = std::string(150, 'T');
    e.Size1.Text = std::string(60, 'n');
    e.X1 = "wide";
    e.Y1 = " 300";
    e.X2 = "99999999999";
    e.Y2 = "-12";
    e.Options = {};
    e.Options[goAutoSort] = true;
    e.Options[goAllowChange] = true;
    model.AddSlot();
    e.Rows[0].Text = {"10", "x", "", "7", "+5", "-5", "1e3", "3 "};
    model.StoreGroupEditor();
    const t::TGroupRec& g = model.Working.Groups[0];
    EXPECT_EQ(g.Title.Text.Str(), std::string(100, 'T'));
    EXPECT_EQ(g.Title.Operand1.Str(), std::string(40, 'T'));
    EXPECT_EQ(g.Size1.Name.Str(), std::string(40, 'n'));
    EXPECT_EQ(g.Size1.Width, 0);
    EXPECT_EQ(g.Size1.Height, 300);
    EXPECT_EQ(g.Size2.Width, 0);
    EXPECT_EQ(g.Size2.Height, -12);
    EXPECT_EQ(g.AutoSort, 1);
    EXPECT_EQ(g.AutoPlace, 0);
    EXPECT_EQ(g.AllowChange, 1);
    ASSERT_EQ(g.Slots.size(), 1u);
    EXPECT_EQ(g.Slots[0], (t::TSlotRec{10, 0, 0, 7, 5, -5, 0, 0}));
}

TEST(ParseNumber, TextThatIsNotANumberGivesTheFallback) {
    struct Case {
        const char* text;
        int32_t expected;
    } cases[] = {{"0", 0},
                 {"494", 494},
                 {"  12", 12},
                 {"-7", -7},
                 {"+7", 7},
                 {"", -1},
                 {"-", -1},
                 {"12 ", -1},
                 {"1.5", -1},
                 {"abc", -1},
                 {"2147483647", 2147483647},
                 {"-2147483648", INT32_MIN},
                 {"2147483648", -1},
                 {"99999999999999999999", -1},
                 {"0x10", -1}};
    for (const Case& c : cases) EXPECT_EQ(ParseNumber(c.text, -1), c.expected) << '"' << c.text << '"';
}

TEST_F(AutoPlaceModelTest, SlotRowsAreInsertedAfterTheSelectedOneAndDeletedUpward) {
    NewConfigWithGroup();
    model.Editor.X1 = "494";
    model.Editor.Y1 = "374";
    for (int i = 0; i < 3; ++i) {
        model.AddSlot();
        model.Editor.Rows[static_cast<size_t>(model.SelectedSlot)].Text[sfLeft] = std::to_string(i);
    }
    EXPECT_EQ(VisibleColumn(sfLeft), (std::vector<std::string>{"0", "1", "2"}));
    // Insert after row 0: the new row is empty but for the sizes.
    model.SelectSlot(0);
    model.AddSlot();
    EXPECT_EQ(model.SelectedSlot, 1);
    EXPECT_EQ(VisibleColumn(sfLeft), (std::vector<std::string>{"0", "", "1", "2"}));
    EXPECT_EQ(Texts(model.Editor.Rows[1]), (std::vector<std::string>{"", "", "494", "374", "", "", "0", "0"}));
    // Delete row 2: later rows move up, the row before is selected.
    model.SelectSlot(2);
    model.DeleteSlot();
    EXPECT_EQ(VisibleColumn(sfLeft), (std::vector<std::string>{"0", "", "2"}));
    EXPECT_EQ(model.SelectedSlot, 1);
    // The hidden row is cleared, kept and reused.
    EXPECT_EQ(model.Editor.Rows.size(), 4u);
    EXPECT_EQ(Texts(model.Editor.Rows[3]), std::vector<std::string>(8));
    // Deleting the first row selects the row that moved into its place.
    model.SelectSlot(0);
    model.DeleteSlot();
    EXPECT_EQ(model.SelectedSlot, 0);
    model.DeleteSlot();
    model.DeleteSlot();
    EXPECT_EQ(model.VisibleRowCount(), 0);
    EXPECT_EQ(model.SelectedSlot, -1);
    EXPECT_EQ(model.CalcActivateSelectedSlot().Message, "Please create any slot first!");
    // Every row deleted and saved: the group has no slot.
    model.SaveConfig();
    EXPECT_TRUE(configs[0].Groups[0].Slots.empty());
}

TEST_F(AutoPlaceModelTest, ShowingAGroupRebuildsItsRowsAndHidesTheRest) {
    NewConfigWithGroup();
    model.Editor.X1 = "100";
    model.Editor.Y1 = "80";
    model.Tile.TablesX = "2";
    model.Tile.TablesY = "2";
    model.TileSlots();
    model.AddGroup("Small", -1);
    model.Editor.X1 = "100";
    model.AddSlot();
    model.SelectGroup(0);
    EXPECT_EQ(model.VisibleRowCount(), 4);
    EXPECT_EQ(model.SelectedSlot, 3);
    model.SelectGroup(1);
    EXPECT_EQ(model.VisibleRowCount(), 1);
    EXPECT_EQ(model.Editor.Rows.size(), 4u);
    EXPECT_EQ(Texts(model.Editor.Rows[2]), std::vector<std::string>(8));
    EXPECT_EQ(model.SelectedSlot, 0);
}

TEST_F(AutoPlaceModelTest, TileFillsTheGridAfterTheSelectedRow) {
    NewConfigWithGroup();
    model.Editor.X1 = "494";
    model.Editor.Y1 = "374";
    model.Editor.X2 = "815";
    model.Editor.Y2 = "614";
    model.Editor.Options[goActivateSize] = true;
    model.Tile.TablesX = "3";
    model.Tile.TablesY = "3";
    EXPECT_TRUE(model.TileSlots().Message.empty());
    ASSERT_EQ(model.VisibleRowCount(), 9);
    EXPECT_EQ(VisibleColumn(sfLeft),
              (std::vector<std::string>{"0", "393", "786", "0", "393", "786", "0", "393", "786"}));
    EXPECT_EQ(VisibleColumn(sfTop),
              (std::vector<std::string>{"0", "0", "0", "325", "325", "325", "650", "650", "650"}));
    EXPECT_EQ(Texts(model.Editor.Rows[0]), (std::vector<std::string>{"0", "0", "494", "374", "0", "0", "815", "614"}));
    EXPECT_EQ(Texts(model.Editor.Rows[4]),
              (std::vector<std::string>{"393", "325", "494", "374", "233", "205", "815", "614"}));
    EXPECT_EQ(model.SelectedSlot, 8);
    // Again from row 1: rows 2 .. 3 are overwritten in place, not moved down.
    model.SelectSlot(1);
    model.Tile.TablesX = "2";
    model.Tile.TablesY = "1";
    model.Editor.X1 = "400";
    model.TileSlots();
    EXPECT_EQ(model.VisibleRowCount(), 9);
    EXPECT_EQ(VisibleColumn(sfLeft),
              (std::vector<std::string>{"0", "393", "0", "400", "393", "786", "0", "393", "786"}));
}

TEST_F(AutoPlaceModelTest, TileAndCascadeFieldsTypedAsTextTakeTheirDefaults) {
    NewConfigWithGroup();
    model.Editor.X1 = "w";
    model.Editor.Y1 = "h";
    model.Tile.TablesX = "three";
    model.Tile.TablesY = "";
    model.Tile.Monitor = 7;  // past the last monitor: the last one
    model.TileSlots();
    ASSERT_EQ(model.VisibleRowCount(), 9);
    EXPECT_EQ(Texts(model.Editor.Rows[8]).at(sfWidth), "494");
    EXPECT_EQ(Texts(model.Editor.Rows[8]).at(sfLeft), "786");

    model.AddGroup("Cascade", -1);
    model.Editor.X1 = "x";
    model.Tile.Tables = "many";
    model.Tile.OffsetX = "";
    model.Tile.OffsetY = "?";
    model.CascadeSlots();
    EXPECT_EQ(model.VisibleRowCount(), 10);
    EXPECT_EQ(Texts(model.Editor.Rows[9]).at(sfLeft), "360");
}

TEST_F(AutoPlaceModelTest, CascadeStartsAtTheWorkAreaOrAtTheSelectedRow) {
    model.Monitors = {{{0, 0, 1280, 1024}, {0, 0, 1280, 994}}, {{1280, 0, 2560, 1024}, {1280, 30, 2560, 1024}}};
    NewConfigWithGroup();
    model.Editor.X1 = "494";
    model.Editor.Y1 = "374";
    model.CascadeSlots();
    ASSERT_EQ(model.VisibleRowCount(), 10);
    std::vector<std::string> expected;
    for (int k = 0; k < 10; ++k) expected.push_back(std::to_string(40 * k));
    EXPECT_EQ(VisibleColumn(sfLeft), expected);
    EXPECT_EQ(VisibleColumn(sfTop), expected);

    // From a selected row on the second monitor: it stays the first window.
    model.AddGroup("Second", -1);
    model.Editor.X1 = "494";
    model.Editor.Y1 = "374";
    model.Tile.Monitor = 1;
    model.CascadeSlots();
    EXPECT_EQ(Texts(model.Editor.Rows[0]).at(sfLeft), "1280");
    EXPECT_EQ(Texts(model.Editor.Rows[0]).at(sfTop), "30");
    model.SelectSlot(2);
    model.Tile.Tables = "3";
    model.Tile.OffsetX = "10";
    model.Tile.OffsetY = "-10";
    model.CascadeSlots();
    EXPECT_EQ(Texts(model.Editor.Rows[2]).at(sfLeft), "1360");
    EXPECT_EQ(Texts(model.Editor.Rows[3]).at(sfLeft), "1370");
    EXPECT_EQ(Texts(model.Editor.Rows[4]).at(sfTop), "90");
}

TEST_F(AutoPlaceModelTest, ActivateRectanglesUseTheActivateSizeOnlyWhenTicked) {
    NewConfigWithGroup();
    model.Editor.X2 = "815";
    model.Editor.Y2 = "614";
    model.AddSlot();
    TSlotRow& row = model.Editor.Rows[0];
    row.Text = {"0", "0", "494", "374", "", "", "", ""};
    struct Case {
        bool actSize;
        std::vector<std::string> expected;
    } cases[] = {{true, {"0", "0", "494", "374", "0", "0", "815", "614"}},
                 {false, {"0", "0", "494", "374", "0", "0", "494", "374"}}};
    for (const Case& c : cases) {
        model.Editor.Options[goActivateSize] = c.actSize;
        EXPECT_TRUE(model.CalcActivateSelectedSlot().Message.empty());
        EXPECT_EQ(Texts(row), c.expected);
    }
    // An activate size that is no size: the slot's own size stands in.
    for (const char* bad : {"0", "", "wide", "-815"}) {
        model.Editor.X2 = bad;
        model.CalcActivateSlot(0);
        EXPECT_EQ(Texts(row).at(sfActWidth), "494") << '"' << bad << '"';
    }
    model.Editor.X2 = "815";
    row.Text = {"junk", "900", "494", "374", "", "", "", ""};
    model.Editor.Options[goActivateSize] = true;
    model.CalcActivateSlot(0);
    EXPECT_EQ(Texts(row), (std::vector<std::string>{"junk", "900", "494", "374", "0", "410", "815", "614"}));
}

TEST_F(AutoPlaceModelTest, APickedWindowBecomesASlotOrTheSelectedSlotsActivateRectangle) {
    EXPECT_EQ(model.CreateNormalSizeSlot(10, 20, 300, 200).Message, "Please Add New Group first!");
    NewConfigWithGroup();
    EXPECT_EQ(model.CreateActivateSizeSlot(0, 0, 815, 614).Message, "Please create any slot first!");
    EXPECT_EQ(model.VisibleRowCount(), 0);
    model.Editor.X2 = "400";
    model.Editor.Y2 = "300";
    EXPECT_TRUE(model.CreateNormalSizeSlot(100, 100, 300, 200).Message.empty());
    EXPECT_EQ(Texts(model.Editor.Rows[0]),
              (std::vector<std::string>{"100", "100", "300", "200", "50", "50", "400", "300"}));
    // Inserted after the selected row, which it then is.
    model.CreateNormalSizeSlot(700, 100, 300, 200);
    model.SelectSlot(0);
    model.CreateNormalSizeSlot(400, 100, 300, 200);
    EXPECT_EQ(VisibleColumn(sfLeft), (std::vector<std::string>{"100", "400", "700"}));
    EXPECT_EQ(model.SelectedSlot, 1);
    EXPECT_TRUE(model.CreateActivateSizeSlot(1, 2, 3, 4).Message.empty());
    EXPECT_EQ(Texts(model.Editor.Rows[1]), (std::vector<std::string>{"400", "100", "300", "200", "1", "2", "3", "4"}));
    model.CopySizeToNormal(640, 480);
    model.CopySizeToActivate(800, 600);
    EXPECT_EQ((std::vector<std::string>{model.Editor.X1, model.Editor.Y1, model.Editor.X2, model.Editor.Y2}),
              (std::vector<std::string>{"640", "480", "800", "600"}));
}

TEST_F(AutoPlaceModelTest, TypedHugeCountsStopAtTheRowLimit) {
    NewConfigWithGroup();
    model.Tile.TablesX = "100000";
    model.Tile.TablesY = "100000";
    model.Editor.X1 = "2147483647";
    model.TileSlots();
    EXPECT_EQ(model.VisibleRowCount(), MaxSlotRows);
    model.AddSlot();
    EXPECT_EQ(model.VisibleRowCount(), MaxSlotRows);
    model.AddGroup("Cascade", -1);
    model.Tile.Tables = "2147483647";
    model.Tile.OffsetX = "2147483647";
    model.CascadeSlots();
    EXPECT_EQ(model.VisibleRowCount(), MaxSlotRows);
    EXPECT_EQ(Texts(model.Editor.Rows[MaxSlotRows - 1]).at(sfLeft), "2147483647");
}

}  // namespace
}  // namespace kova::mainwindow::autoplace
