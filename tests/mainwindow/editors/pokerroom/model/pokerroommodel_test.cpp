// The poker-room editors without windows: title operators, the room list,
// size rows, hotkeys and click rows with their limits, the capture tool's
// arithmetic, event macros and the checks of an imported room file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "mainwindow/editors/pokerroom/model/pokerroommodel.h"
#include "tables/files/pokerrooms_file.h"
#include "tables/logic/titleexpr.h"

namespace kova::mainwindow::pokerroom {
namespace {

namespace t = kova::tables;

t::TPokerRoom Room(const std::string& name) {
    t::TPokerRoom r;
    r.Name = name;
    r.Listed = 1;
    r.WindowClass = name + "Class";
    r.Titles[0] = BuildTitle("Table", " and not ", "Lobby", " and ", "");
    r.Sizes[0].Name = "Small";
    r.Sizes[0].Width = 400;
    r.Sizes[0].Height = 300;
    r.ScaleRef = {384, 224, 0, 0};
    return r;
}

class PokerRoomModelTest : public ::testing::Test {
protected:
    std::vector<t::TPokerRoom> rooms{Room("Alpha"), Room("Beta")};
    t::TUserOptions options;
    TPokerRoomModel model{rooms, options};
};

TEST(TitleText, OperatorIndexAndTitlesBuiltAndDecoded) {
    EXPECT_EQ(OperatorIndex(" and "), 0);
    EXPECT_EQ(OperatorIndex(" or "), 1);
    EXPECT_EQ(OperatorIndex(" and not "), 2);
    EXPECT_EQ(OperatorIndex("and"), -1);
    EXPECT_EQ(OperatorIndex(""), -1);

    const t::TTitleSpec built = BuildTitle("P", " or ", "Q", " and ", "R");
    EXPECT_EQ(built.Text.Str(), "P or Q and R");
    EXPECT_EQ(BuildTitle("P", " or ", "", " and ", "R").Text.Str(), "P and R");
    EXPECT_EQ(BuildTitle(std::string(60, 'x'), " or ", std::string(60, 'y'), " and ", "").Text.Length(), 100u);

    struct Case {
        std::string text, op1, operator1, op2, operator2, op3;
    } cases[] = {
        {"P and not Q", "P", "and not", "Q", "", ""},
        {"P or Q and R", "P", "or", "Q", "and", "R"},
        {"Table 1 - NL", "Table 1 - NL", "", "", "", ""},
        {std::string(45, 'z'), std::string(40, 'z'), "", "", "", ""},
    };
    for (const Case& c : cases) {
        t::TTitleSpec title;
        title.Text = c.text;
        t::DecodeTitle(title);
        EXPECT_EQ(title.Operand1.Str(), c.op1) << c.text;
        EXPECT_EQ(title.Operator1.Str(), c.operator1) << c.text;
        EXPECT_EQ(title.Operand2.Str(), c.op2) << c.text;
        EXPECT_EQ(title.Operator2.Str(), c.operator2) << c.text;
        EXPECT_EQ(title.Operand3.Str(), c.op3) << c.text;
    }
}

TEST(CaptureTool, OffsetsOfTheClientAreaAndPointsAtTheReferenceSize) {
    // 816 wide with an 800-wide client, 38 taller than the client.
    const TCaptureOffsets o = CaptureOffsets(816, 638, 800, 600);
    EXPECT_EQ(o, (TCaptureOffsets{8, 30}));
    EXPECT_EQ(108 - o.X, 100);
    EXPECT_EQ(130 - o.Y, 100);

    EXPECT_EQ(ToReferenceSize({100, 50}, 800, 600, 800, 600), (t::TPoint{100, 50}));
    EXPECT_EQ(ToReferenceSize({100, 50}, 400, 300, 800, 600), (t::TPoint{200, 100}));
    EXPECT_EQ(ToReferenceSize({101, 51}, 800, 600, 400, 300), (t::TPoint{51, 26}));
    EXPECT_EQ(ToReferenceSize({100, 50}, 400, 300, 0, 0), (t::TPoint{100, 50}));  // no reference yet
}

TEST_F(PokerRoomModelTest, SwitchingRoomsKeepsTheEditsOfTheFirstWithoutWriting) {
    model.ShowRooms(0);
    EXPECT_EQ(model.RoomItems, (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(model.Editor.Titles, (std::vector<std::string>{"Table and not Lobby"}));
    EXPECT_EQ(model.Editor.SelectedTitle, 0);
    model.Editor.WindowClass = "Edited";
    EXPECT_EQ(model.SaveNewRoomQuestion(), "");
    EXPECT_FALSE(model.AnswerSaveNewRoom(true).WriteFile);
    model.SelectRoom(1);
    EXPECT_EQ(rooms[0].WindowClass.Str(), "Edited");
    // Titles keep their operands through the editor.
    EXPECT_EQ(rooms[0].Titles[0].Operator1.Str(), " and not ");
    EXPECT_EQ(model.Editor.Name, "Beta");
}

TEST_F(PokerRoomModelTest, ANewRoomIsClonedAskedForAndSavedOnlyOnYes) {
    model.ShowRooms(0);
    EXPECT_EQ(model.NewRoomName(), "CustomPokerRoom3");
    model.CreateRoom(std::string(50, 'n'), 1);
    EXPECT_TRUE(model.EditorTabsVisible);
    EXPECT_EQ(model.Selected, 2);
    EXPECT_EQ(model.Editor.Name, std::string(40, 'n'));
    EXPECT_EQ(model.Editor.WindowClass, "BetaClass");
    model.CreateRoom("Fresh", -1);
    EXPECT_EQ(model.Editor.Activate.Text[afSize1Diff], "5");
    EXPECT_EQ(model.Editor.Events.Text[efSize1Diff], "10");
    model.CreateRoom(std::string(50, 'n'), 1);
    EXPECT_EQ(model.RoomItems.size(), 3u);
    EXPECT_EQ(model.SaveNewRoomQuestion(), "Do you want to save custom PokerRoom \"" + std::string(40, 'n') + "\"?");
    EXPECT_FALSE(model.AnswerSaveNewRoom(false).WriteFile);
    EXPECT_EQ(rooms.size(), 2u);
    EXPECT_TRUE(model.AnswerSaveNewRoom(true).WriteFile);
    ASSERT_EQ(rooms.size(), 3u);
    EXPECT_EQ(rooms[2].Name.Str(), std::string(40, 'n'));
    EXPECT_EQ(rooms[2].Listed, 1);
}

TEST_F(PokerRoomModelTest, MovingRoomsAndDeletingThem) {
    model.ShowRooms(0);
    EXPECT_FALSE(model.MoveUp());
    EXPECT_TRUE(model.MoveDown());
    EXPECT_EQ(rooms[0].Name.Str(), "Beta");
    EXPECT_EQ(model.Selected, 1);
    EXPECT_FALSE(model.MoveDown());
    EXPECT_EQ(model.DeleteRoomQuestion(), "Are you sure you want to delete custom PokerRoom \"Alpha\"?");
    EXPECT_TRUE(model.DeleteRoom().WriteFile);
    ASSERT_EQ(rooms.size(), 1u);
    EXPECT_EQ(model.Selected, 0);
    model.TickRoom(0, false);
    EXPECT_EQ(rooms[0].Listed, 0);
    EXPECT_TRUE(model.DeleteRoom().WriteFile);
    EXPECT_EQ(model.Selected, -1);
    EXPECT_TRUE(model.Editor.Titles.empty());
}

TEST_F(PokerRoomModelTest, TitlesAndSizeRowsStopAtTen) {
    model.ShowRooms(0);
    for (int i = 1; i < 10; ++i) {
        EXPECT_EQ(model.CheckCanAddTitle().Message, "");
        model.AddTitle(BuildTitle("T" + std::to_string(i), " and ", "", " and ", ""));
    }
    EXPECT_EQ(model.CheckCanAddTitle().Message, TooManyTitlesText);
    model.SelectTitle(0);
    model.DeleteTitle();
    EXPECT_EQ(model.Editor.Titles.front(), "T1");
    EXPECT_EQ(model.Editor.SelectedTitle, 0);

    // Sizes: rows are inserted after the selected one.
    model.SelectSize(0);
    EXPECT_EQ(model.AddSize().Message, "");
    model.Editor.SizeRows[1] = {"Big", "800", "600", true};
    model.SelectSize(0);
    EXPECT_EQ(model.AddSize().Message, "");
    EXPECT_EQ(model.Editor.SelectedSize, 1);
    EXPECT_EQ(model.Editor.SizeRows[2].Name, "Big");
    model.Editor.SizeRows[1] = {"Mid", "x", "500", true};
    for (int i = 3; i < 10; ++i) {
        model.SelectSize(model.VisibleSizeRows() - 1);
        EXPECT_EQ(model.AddSize().Message, "");
        model.Editor.SizeRows[static_cast<size_t>(i)].Name = "S" + std::to_string(i);
    }
    EXPECT_EQ(model.AddSize().Message, TooManySizesText);
    EXPECT_EQ(model.VisibleSizeRows(), 10);
    model.SelectSize(0);
    model.DeleteSize();
    EXPECT_EQ(model.VisibleSizeRows(), 9);
    EXPECT_EQ(model.Editor.SelectedSize, 0);
    model.StoreRoomEditor();
    EXPECT_EQ(model.Working.Sizes[0].Name.Str(), "Mid");
    EXPECT_EQ(model.Working.Sizes[0].Width, 0);  // not a number
    EXPECT_EQ(model.Working.Sizes[1].Height, 600);
    EXPECT_TRUE(model.Working.Sizes[9].Name.Empty());
    EXPECT_EQ(model.Working.Titles[0].Text.Str(), "T1");
    EXPECT_TRUE(model.Working.Titles[9].Text.Empty());
}

TEST_F(PokerRoomModelTest, AutoActivateFieldsAndTheCapturedPointReachTheRoom) {
    model.ShowRooms(0);
    model.CopyCaptureToSize(1, {"400", "300", "220", "260", "200", "24", "24"});
    model.Editor.Activate.Text[afSize1Diff] = "";
    model.Editor.Activate.Text[afSize2Diff] = "7";
    model.Editor.Activate.Text[afR21] = "3";
    model.Editor.Activate.Boxes[0][3] = true;  // Frame
    model.Editor.Activate.Boxes[4][1] = true;  // final phase flashes
    model.StoreRoomEditor();
    const t::TPokerRoom& r = model.Working;
    EXPECT_EQ(r.ScaleRef, (t::TScaleRef{400, 300, 0, 0}));
    EXPECT_EQ(r.FoldPoint, (t::TColourPoint{220, 260, 0, 0}));
    EXPECT_EQ(r.FoldColour, (t::TRGB{200, 24, 24}));
    EXPECT_EQ(r.Tolerance, 5);
    EXPECT_EQ(r.Tolerance2, 7);
    EXPECT_EQ(r.AlertSteps[0].Delay, 3);
    EXPECT_EQ(r.FrameOn, 1);
    EXPECT_EQ(r.AlertSteps[3].Flash, 1);
    EXPECT_EQ(r.FoldButtonActivation, 1);
}

TEST_F(PokerRoomModelTest, HotKeysStopAtTwentyAndClicksAtEight) {
    model.ShowRooms(0);
    EXPECT_EQ(model.Editor.HotKeys.Caption, MacrosCaption);
    for (int i = 0; i < MaxHotKeys; ++i) {
        ASSERT_EQ(model.CheckCanAddHotKey().Message, "");
        model.StoreHotKeyEditor();
        model.AddHotKey(model.NewHotKeyName());
    }
    EXPECT_EQ(model.Working.HotKeyCount, 20);
    EXPECT_EQ(model.Editor.HotKeys.Items.back(), "HotKey20");
    EXPECT_EQ(model.CheckCanAddHotKey().Message, TooManyHotKeysText);
    model.AddHotKey("HotKey21");  // refused: the record holds twenty
    EXPECT_EQ(model.Working.HotKeyCount, 20);

    model.SelectHotKey(0);
    for (int i = 0; i < MaxClicks; ++i) EXPECT_EQ(model.AddClick().Message, "");
    EXPECT_EQ(model.AddClick().Message, TooManyClicksText);
    EXPECT_EQ(model.Working.HotKeys[0].ClickCount, 8);
    model.SelectClick(0);
    model.DeleteClick();
    EXPECT_EQ(model.Working.HotKeys[0].ClickCount, 7);
    EXPECT_EQ(model.Editor.HotKeys.SelectedClick, 0);

    EXPECT_EQ(model.DeleteHotKeyQuestion(), "Are you sure you want to delete HotKey \"HotKey1\"?");
    EXPECT_TRUE(model.DeleteHotKey().WriteFile);
    EXPECT_EQ(model.Working.HotKeyCount, 19);
    EXPECT_EQ(model.Editor.HotKeys.Items.front(), "HotKey2");
    EXPECT_EQ(model.Working.HotKeys[19], t::TRoomHotKey{});
}

TEST_F(PokerRoomModelTest, ClicksAreRecordedAtTheReferenceSizeAndStored) {
    model.ShowRooms(0);
    EXPECT_EQ(model.RecordClick(1, {"384", "224", "10", "10", "0", "0", "0"}).Message, AddClickFirstText);
    model.AddHotKey("Fold");
    EXPECT_EQ(model.RecordClick(1, {"384", "224", "10", "10", "0", "0", "0"}).Message, AddClickFirstText);
    model.AddClick();
    // The table was captured at twice the reference client size 384 x 224.
    EXPECT_EQ(model.RecordClick(1, {"768", "448", "440", "400", "0", "0", "0"}).Message, "");
    model.Editor.HotKeys.Modifier = 17;
    model.Editor.HotKeys.Key = 'F';
    model.StoreRoomEditor();
    const t::TRoomHotKey& key = model.Working.HotKeys[0];
    EXPECT_EQ(HotKeyName(key), "Fold");
    EXPECT_EQ(key.ClickCount, 1);
    EXPECT_EQ(key.Clicks[0], (t::TMacroClick{1, 220, 200, 0, 0}));
    EXPECT_EQ(key.Binding.SharedNumber, 0);
    EXPECT_EQ(key.Binding.Modifier, 17);
    EXPECT_EQ(model.Editor.HotKeys.Caption, " Macros for HotKey  \"Fold\"");
}

TEST_F(PokerRoomModelTest, SharedBindingsGiveTheirNameAndAnEmptyChoiceGivesOwnKeys) {
    model.ShowRooms(0);
    model.AddHotKey("Mine");
    model.SetGlobal(true);
    EXPECT_TRUE(model.Editor.HotKeys.ActionItems.empty());
    model.StoreHotKeyEditor();
    EXPECT_EQ(model.Working.HotKeys[0].Binding.SharedNumber, 0);

    t::TRoomHotKey named;
    SetHotKeyName(named, "Raise");
    options.Bindings[12].Kept4 = named.Binding.Kept4;  // shared binding 3
    model.SetGlobal(true);
    EXPECT_EQ(model.Editor.HotKeys.ActionItems, (std::vector<std::string>{"Raise"}));
    model.StoreHotKeyEditor();
    EXPECT_EQ(model.Working.HotKeys[0].Binding.SharedNumber, 3);
    model.ShowHotKeys(1);
    EXPECT_TRUE(model.Editor.HotKeys.Global);
    EXPECT_EQ(HotKeyName(model.Working.HotKeys[0]), "Raise");
    EXPECT_EQ(model.Editor.HotKeys.Items[0], "Raise");
}

TEST_F(PokerRoomModelTest, SwitchingEventMacrosStoresTheOneLeft) {
    model.ShowRooms(0);
    model.Editor.Events.TimeType = false;
    model.Editor.Events.SameClick = true;
    model.Editor.Events.Text[efButtonFrom] = "1.5";
    model.Editor.Events.Text[efButtonTo] = "abc";
    model.Editor.Events.Text[efSize1Diff] = "";
    model.CopyCaptureToEventSize(1, {"400", "300", "50", "60", "1", "2", "3"});
    model.TickEventMacro(0, true);
    model.SelectEventMacro(2);
    model.SelectEventMacro(0);
    EXPECT_EQ(model.Editor.Events.Text[efButtonFrom], "1.5");
    EXPECT_EQ(model.Editor.Events.Text[efClick1], "60");
    const t::TEventMacro& m = model.Working.EventMacros[0];
    EXPECT_EQ(m.Enabled, 1);
    EXPECT_EQ(m.OnColour, 1);
    EXPECT_EQ(m.ColourDelayMax, 0.0);
    EXPECT_EQ(m.Tolerance, 10);
    EXPECT_EQ(m.Colour, (t::TRGB{1, 2, 3}));
    EXPECT_EQ(m.Click.X, 50);
}

// ---- import ---------------------------------------------------------------------------------

TEST(RoomImport, WholeMarkedRecordsComeBackByteForByte) {
    const std::vector<t::TPokerRoom> rooms{Room("One"), Room("Two")};
    const std::vector<uint8_t> bytes = t::EncodePokerRooms(rooms);
    const TRoomImport in = CheckRoomImport(bytes, "rooms.kov");
    EXPECT_EQ(in.Message, "");
    ASSERT_EQ(in.Rooms.size(), 2u);
    EXPECT_EQ(t::EncodePokerRooms(in.Rooms), bytes);
}

TEST(RoomImport, TheOlderLayoutIsConverted) {
    const std::vector<uint8_t> current = t::EncodePokerRoom(Room("Old"));
    std::vector<uint8_t> old(t::OldPokerRoomSize, 0);
    std::memcpy(old.data(), current.data(), 3196);
    std::memcpy(old.data() + 1, t::OldPokerRoomMarker, 9);
    const TRoomImport in = CheckRoomImport(old, "old.kov");
    EXPECT_EQ(in.Message, "");
    ASSERT_EQ(in.Rooms.size(), 1u);
    EXPECT_EQ(in.Rooms[0].Name.Str(), "Old");
}

TEST(RoomImport, PartialForeignAndEmptyFilesAreRefusedNamingTheFile) {
    std::vector<uint8_t> good = t::EncodePokerRooms({Room("One"), Room("Two")});
    std::vector<uint8_t> partial(good.begin(), good.end() - 1);
    std::vector<uint8_t> foreign = good;
    foreign[t::TPokerRoom::ByteSize + 3] = 'X';  // the second record's marker
    std::vector<uint8_t> text(t::TPokerRoom::ByteSize, 'a');
    struct Case {
        std::vector<uint8_t> bytes;
        std::string why;
    } cases[] = {
        {{}, "the file is empty."},
        {partial, "it is not a whole number of poker-room records (the file is cut or not a room file)."},
        {foreign, "record 2 is not a poker room."},
        {text, "record 1 is not a poker room."},
    };
    for (const Case& c : cases) {
        const TRoomImport in = CheckRoomImport(c.bytes, "C:\\x\\shared.kov");
        EXPECT_TRUE(in.Rooms.empty());
        EXPECT_EQ(in.Message, "Can not import \"C:\\x\\shared.kov\": " + c.why);
    }
}

}  // namespace
}  // namespace kova::mainwindow::pokerroom
