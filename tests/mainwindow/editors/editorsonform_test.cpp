// The editors of the main form as a user meets them in one run of the
// program: the name dialog that configs, groups, rooms and hotkeys share,
// what the group and room editors show and keep through a page change,
// Start and a restart, the grabber and the capture tool filling the room
// editor, and the title dialog of the room editor.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/windowtext.h"
#include "mainwindow/dialogs/smalldialogs.h"
#include "mainwindow/dialogs/toolforms.h"
#include "mainwindow/editors/autoplace/createnewconfig.h"
#include "mainwindow/editors/pokerroom/model/pokerroommodel.h"
#include "mainwindow/mainformtesting.h"
#include "tables/files/placeconfig_file.h"
#include "tables/files/pokerrooms_file.h"

namespace {

using namespace kova;
using namespace kova::test;
namespace t = kova::tables;

class EditorsOnTheMainForm : public MainFormTesting {
protected:
    // A room of the user's with a class, a title and two sizes.
    static t::TPokerRoom Room(const std::string& name, const std::string& windowClass) {
        t::TPokerRoom r;
        r.Name = name;
        r.Listed = 1;
        r.WindowClass = windowClass;
        r.Titles[0].Text = name + " table";
        r.Titles[0].Operand1 = name + " table";
        r.Sizes[0].Name = "Small";
        r.Sizes[0].Width = 494;
        r.Sizes[0].Height = 374;
        r.Sizes[1].Name = "Big";
        r.Sizes[1].Width = 815;
        r.Sizes[1].Height = 614;
        return r;
    }

    static void AddHotKey(t::TPokerRoom& room, const std::string& name, int32_t modifier, int32_t key) {
        t::TRoomHotKey& k = room.HotKeys[static_cast<size_t>(room.HotKeyCount++)];
        mainwindow::pokerroom::SetHotKeyName(k, name);
        k.Binding.Modifier = modifier;
        k.Binding.Key = key;
    }

    // A group of room `room` with one title phrase, a class pattern and slots.
    static t::TGroupRec Group(const std::string& room, const std::string& name, const std::string& title,
                              const std::string& classPattern, const std::vector<t::TSlotRec>& slots) {
        t::TGroupRec g;
        g.RoomName = room;
        g.Name = name;
        g.Title.Text = title;
        g.Title.Operand1 = title;
        g.ClassPattern = classPattern;
        g.AutoPlace = 1;
        g.Slots = slots;
        return g;
    }

    void WriteRooms(const std::vector<t::TPokerRoom>& rooms) {
        ASSERT_TRUE(t::SavePokerRooms(Path("PokerRooms.kov"), rooms));
    }
    void WriteConfigs(const std::vector<t::TPlaceConfig>& configs) {
        ASSERT_TRUE(t::WritePlaceConfig(Path("PlaceConfig.cnfg"), t::TConfigFileHeader{}, 0, configs));
    }
    std::vector<t::TPlaceConfig> SavedConfigs() const {
        t::TConfigFileHeader header;
        std::vector<t::TPlaceConfig> configs;
        std::string error;
        EXPECT_TRUE(t::DecodePlaceConfig(ReadFile(Path("PlaceConfig.cnfg")), header, configs, &error)) << error;
        return configs;
    }
    std::vector<t::TPokerRoom> SavedRooms() const {
        std::vector<t::TPokerRoom> rooms;
        EXPECT_EQ(t::LoadPokerRooms(Path("PokerRooms.kov"), rooms), t::TLoadStatus::Loaded);
        return rooms;
    }
    int NameDialogCount() const {
        int n = 0;
        for (int i = 0; i < form_->ComponentCount(); ++i)
            if (dynamic_cast<mainwindow::TCreateNewConfig*>(form_->Components(i))) ++n;
        return n;
    }
};

// ---- the name dialog ------------------------------------------------------------------------

TEST_F(EditorsOnTheMainForm, OneRunCreatesAConfigAGroupACustomRoomAndARoomHotKey) {
    WriteRooms({Room("Alpha", "AlphaClass")});
    Open();
    NameAnswers = {{"Mine"}, {"Tables"}, {"MyRoom", 0}, {"Fold"}, {"Second"}, {"More"}};
    ShowPage("AutoPlaceSheet");
    Click("AutoPlaceCreateNewConfig");
    Click("AddNewGroup");
    Click("AutoPlaceSaveConfig");
    ShowPage("PokerRoomSheet");
    Click("CustomCreateNewBtn");
    Click("AddNewHotKeyBtn");
    Click("CustomSaveBtn");
    // And the other way round: the AutoPlace page after the room page.
    ShowPage("AutoPlaceSheet");
    Click("AutoPlaceCreateNewConfig");
    Click("AddNewGroup");
    EXPECT_TRUE(NameAnswers.empty());
    EXPECT_EQ(NameDialogCount(), 1);
    EXPECT_EQ(NameDialogs, (std::vector<std::string>{
                               "Create New Config|Config Name:|Clone From Config:|Config1|",
                               "Create New Group|Group Name|Clone from Group|Group1|",
                               "Create New Custom Poker Room|Name of Custom Poker Room|Clone from Poker Room|"
                               "CustomPokerRoom2|Alpha",
                               "Create New HotKey |Description of HotKey||HotKey1|",
                               "Create New Config|Config Name:|Clone From Config:|Config2|Mine",
                               "Create New Group|Group Name|Clone from Group|Group1|",
                           }));
    EXPECT_EQ(form_->ConfigListBox->Items()->ToVector(), (std::vector<std::string>{"Mine", "Second"}));
    EXPECT_EQ(form_->GroupListBox->Items()->ToVector(), std::vector<std::string>{"More"});
    EXPECT_EQ(form_->PokerRoomListBox->Items()->ToVector(), (std::vector<std::string>{"Alpha", "MyRoom"}));
    const std::vector<t::TPokerRoom> rooms = SavedRooms();
    ASSERT_EQ(rooms.size(), 2u);
    EXPECT_EQ(rooms[1].Name.Str(), "MyRoom");
    EXPECT_EQ(rooms[1].WindowClass.Str(), "AlphaClass");
    EXPECT_EQ(rooms[1].HotKeyCount, 1);
    const std::vector<t::TPlaceConfig> configs = SavedConfigs();
    ASSERT_EQ(configs.size(), 1u);
    ASSERT_EQ(configs[0].Groups.size(), 1u);
    EXPECT_EQ(configs[0].Groups[0].Name, "Tables");
}

// ---- room hotkeys ------------------------------------------------------------------------------

TEST_F(EditorsOnTheMainForm, LetterAndDigitHotKeysSurviveSwitchingRoomsAndARestart) {
    WriteUserIni();
    t::TPokerRoom alpha = Room("Alpha", "AlphaClass");
    AddHotKey(alpha, "Fold", 17, 'F');
    AddHotKey(alpha, "Call", 0, '7');
    WriteRooms({alpha, Room("Beta", "BetaClass")});
    Open();
    ShowPage("PokerRoomSheet");
    auto* mod = Find<TComboBox>("LocalHKMod");
    auto* key = Find<TComboBox>("LocalHKKey");
    auto* hotkeys = Find<TListBox>("HotKeyListBox");
    EXPECT_EQ(mod->Text(), "Ctrl");
    EXPECT_EQ(key->Text(), "F");
    Select(hotkeys, 1);
    EXPECT_EQ(key->Text(), "7");
    // A key let go in the combo is the key the combo names.
    ReleaseKey(key, 'G');
    EXPECT_EQ(key->Text(), "G");

    Select(form_->PokerRoomListBox, 1);
    Select(form_->PokerRoomListBox, 0);
    EXPECT_EQ(key->Text(), "F");
    Select(hotkeys, 1);
    EXPECT_EQ(key->Text(), "G");

    Restart();
    const std::vector<t::TPokerRoom> rooms = SavedRooms();
    ASSERT_EQ(rooms.size(), 2u);
    EXPECT_EQ(rooms[0].HotKeys[0].Binding.Modifier, 17);
    EXPECT_EQ(rooms[0].HotKeys[0].Binding.Key, 'F');
    EXPECT_EQ(rooms[0].HotKeys[1].Binding.Key, 'G');
    ShowPage("PokerRoomSheet");
    EXPECT_EQ(Find<TComboBox>("LocalHKKey")->Text(), "F");
}

TEST_F(EditorsOnTheMainForm, TheRoomEditorListsTheKeysAndModifiersOfTheCommonSettings) {
    Open();
    ShowPage("PokerRoomSheet");
    auto items = [](TComboBox* c) { return c ? c->Items()->ToVector() : std::vector<std::string>{}; };
    EXPECT_EQ(items(Find<TComboBox>("LocalHKMod")), items(Find<TComboBox>("ComboBox1")));
    EXPECT_EQ(items(Find<TComboBox>("LocalHKMod")), items(Find<TComboBox>("Combo1")));
    EXPECT_EQ(items(Find<TComboBox>("LocalHKKey")), items(Find<TComboBox>("ComboBox2")));
    EXPECT_EQ(items(Find<TComboBox>("LocalHKMod")), (std::vector<std::string>{"None", "Ctrl", "Shift", "Alt"}));
}

TEST_F(EditorsOnTheMainForm, EventMacroSecondsKeepEveryDigitThroughShowAndStore) {
    t::TPokerRoom alpha = Room("Alpha", "AlphaClass");
    alpha.EventMacros[0].TurnDelayMin = 1.23456789;
    alpha.EventMacros[0].TurnDelayMax = 100000;
    alpha.EventMacros[1].ColourDelayMin = 0.1;
    alpha.EventMacros[1].ColourDelayMax = 2.5e-7;
    WriteRooms({alpha, Room("Beta", "BetaClass")});
    Open();
    ShowPage("PokerRoomSheet");
    const auto seconds = [&] {
        return std::vector<std::string>{Find<TEdit>("TimeTypeEdit1")->Text(), Find<TEdit>("TimeTypeEdit2")->Text(),
                                        Find<TEdit>("ButtonTypeEdit1")->Text(), Find<TEdit>("ButtonTypeEdit2")->Text()};
    };
    auto* macros = Find<TCheckListBox>("EventMacrosListBox");
    EXPECT_EQ(seconds(), (std::vector<std::string>{"1.23456789", "100000", "0", "0"}));
    Select(macros, 1);
    EXPECT_EQ(seconds(), (std::vector<std::string>{"0", "0", "0.1", "0.00000025"}));
    Select(macros, 0);
    Select(form_->PokerRoomListBox, 1);
    Select(form_->PokerRoomListBox, 0);
    EXPECT_EQ(seconds(), (std::vector<std::string>{"1.23456789", "100000", "0", "0"}));
    Click("CustomSaveBtn");
    const std::vector<t::TPokerRoom> rooms = SavedRooms();
    ASSERT_EQ(rooms.size(), 2u);
    EXPECT_EQ(rooms[0].EventMacros[0].TurnDelayMin, 1.23456789);
    EXPECT_EQ(rooms[0].EventMacros[0].TurnDelayMax, 100000);
    EXPECT_EQ(rooms[0].EventMacros[1].ColourDelayMin, 0.1);
    EXPECT_EQ(rooms[0].EventMacros[1].ColourDelayMax, 2.5e-7);
}

// ---- the group editor ---------------------------------------------------------------------------

TEST_F(EditorsOnTheMainForm, AGroupKeepsItsOwnClassPatternAndSizeNamesThroughShowStartAndRestart) {
    WriteUserIni();
    WriteRooms({Room("Alpha", "AlphaClass")});
    t::TGroupRec g = Group("Alpha", "Mine", "Alpha table", "Alpha*", {t::TSlotRec{0, 0, 600, 400, 0, 0, 700, 500}});
    g.Size1.Name = "Wide";
    g.Size1.Width = 600;
    g.Size1.Height = 400;
    g.Size2.Name = "Tall";
    g.Size2.Width = 700;
    g.Size2.Height = 500;
    WriteConfigs({t::TPlaceConfig{"Play", {}, {g}}});
    Open();
    ShowPage("AutoPlaceSheet");
    const auto shown = [&] {
        return std::vector<std::string>{Find<TComboBox>("ComboBoxClass")->Text(), Find<TComboBox>("ComboBoxSize1")->Text(),
                                        Find<TComboBox>("ComboBoxSize2")->Text(), Find<TEdit>("EditX1")->Text(),
                                        Find<TEdit>("EditX2")->Text()};
    };
    const std::vector<std::string> own{"Alpha*", "Wide", "Tall", "600", "700"};
    EXPECT_EQ(shown(), own);
    // The room's own choices stay offered.
    EXPECT_EQ(Find<TComboBox>("ComboBoxClass")->Items()->ToVector(), std::vector<std::string>{"AlphaClass"});

    Click(form_->StartConfigBtn);
    EXPECT_EQ(form_->ConfigStatusL->Caption(), "Running");
    ASSERT_EQ(t::RunningConfig.Groups.size(), 1u);
    EXPECT_EQ(t::RunningConfig.Groups[0].ClassPattern, "Alpha*");
    EXPECT_EQ(t::RunningConfig.Groups[0].Size1.Name.Str(), "Wide");
    EXPECT_EQ(t::RunningConfig.Groups[0].Size2.Name.Str(), "Tall");
    Click(form_->RefreshConfigBtn);
    EXPECT_EQ(t::RunningConfig.Groups[0].ClassPattern, "Alpha*");
    Click("AutoPlaceSaveConfig");

    Restart();
    ShowPage("AutoPlaceSheet");
    EXPECT_EQ(shown(), own);
    const std::vector<t::TPlaceConfig> saved = SavedConfigs();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].Groups[0].ClassPattern, "Alpha*");
    EXPECT_EQ(saved[0].Groups[0].Size2.Name.Str(), "Tall");
}

TEST_F(EditorsOnTheMainForm, ReturningToTheAutoPlacePageShowsTheRoomsAsTheRoomPageLeftThem) {
    t::TPokerRoom beta = Room("Beta", "BetaClass");
    beta.Listed = 0;
    WriteRooms({Room("Alpha", "AlphaClass"), beta, Room("Gamma", "GammaClass")});
    Open();
    NameAnswers = {{"Mine"}, {"Tables"}};
    ShowPage("AutoPlaceSheet");
    Click("AutoPlaceCreateNewConfig");
    Click("AddNewGroup");
    Type("ComboBoxClass", "Typed*");
    auto* rooms = Find<TComboBox>("ComboBoxType");
    EXPECT_EQ(rooms->Items()->ToVector(), (std::vector<std::string>{"Alpha", "Gamma"}));

    ShowPage("PokerRoomSheet");
    ToggleItem(form_->PokerRoomListBox, 1);  // Beta ticked
    ToggleItem(form_->PokerRoomListBox, 2);  // Gamma cleared
    ShowPage("AutoPlaceSheet");
    EXPECT_EQ(rooms->Items()->ToVector(), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(rooms->Text(), "Alpha");
    // What was typed before the page change is the group's.
    EXPECT_EQ(Find<TComboBox>("ComboBoxClass")->Text(), "Typed*");
}

TEST_F(EditorsOnTheMainForm, ANewGroupClonesTheChosenGroup) {
    WriteRooms({Room("Alpha", "AlphaClass")});
    Open();
    ShowPage("AutoPlaceSheet");
    NameAnswers = {{"Mine"}, {"First"}};
    Click("AutoPlaceCreateNewConfig");
    Click("AddNewGroup");
    Type("ComboBoxClass", "First*");
    Type("EditX1", "321");
    Click("AddSlot");
    Click("AddSlot");
    Tick(Find<TCheckBox>("CheckBox2"), true);  // Auto Sort

    NameAnswers = {{"Copy", 0}, {"Empty"}};
    Click("AddNewGroup");
    EXPECT_EQ(NameDialogs.back(), "Create New Group|Group Name|Clone from Group|Group2|First");
    EXPECT_EQ(Find<TComboBox>("ComboBoxClass")->Text(), "First*");
    EXPECT_EQ(Find<TEdit>("EditX1")->Text(), "321");
    EXPECT_TRUE(Find<TCheckBox>("CheckBox2")->Checked());
    EXPECT_EQ(form_->AutoPlace().Model.VisibleRowCount(), 2);
    // Without a choice the group starts from the room's defaults.
    Click("AddNewGroup");
    EXPECT_EQ(Find<TComboBox>("ComboBoxClass")->Text(), "AlphaClass");
    EXPECT_FALSE(Find<TCheckBox>("CheckBox2")->Checked());
    EXPECT_EQ(form_->AutoPlace().Model.VisibleRowCount(), 0);

    Click("AutoPlaceSaveConfig");
    const std::vector<t::TPlaceConfig> saved = SavedConfigs();
    ASSERT_EQ(saved.size(), 1u);
    ASSERT_EQ(saved[0].Groups.size(), 3u);
    EXPECT_EQ(saved[0].Groups[1].Name, "Copy");
    EXPECT_EQ(saved[0].Groups[1].ClassPattern, "First*");
    EXPECT_EQ(saved[0].Groups[1].Slots, saved[0].Groups[0].Slots);
    EXPECT_EQ(saved[0].Groups[2].Slots.size(), 0u);
}

TEST_F(EditorsOnTheMainForm, TheHotKeyDialogOffersNoCloneAndTheOthersDo) {
    Open();
    ShowPage("PokerRoomSheet");
    NameAnswers = {{"MyRoom"}, {"Fold"}};
    Click("CustomCreateNewBtn");
    auto* dialog = FindOn<mainwindow::TCreateNewConfig>(form_, "CreateNewConfig");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->ComboBox1->Visible());
    Click("AddNewHotKeyBtn");
    EXPECT_FALSE(dialog->ComboBox1->Visible());
    EXPECT_FALSE(dialog->Label2->Visible());
    NameAnswers = {{"Mine"}};
    ShowPage("AutoPlaceSheet");
    Click("AutoPlaceCreateNewConfig");
    EXPECT_TRUE(dialog->ComboBox1->Visible());
    EXPECT_TRUE(dialog->Label2->Visible());
}

// ---- the room editor's titles ----------------------------------------------------------------

// What the title dialog showed, and what it is to answer.
struct TitleDialogTurn {
    std::vector<std::string> shown;  // phrase list, phrases 1-3, operators 1-2
    std::vector<std::string> phrases;
    std::vector<int> operators;      // item indexes
    int result = mrOk;
};

TEST_F(EditorsOnTheMainForm, TheRoomEditorMakesAndEditsItsTitlesInTheTitleDialog) {
    WriteRooms({Room("Alpha", "AlphaClass")});
    Open();
    ShowPage("PokerRoomSheet");
    Click("EditPokerRoomBtn");  // yes, edit the predefined room
    std::vector<TitleDialogTurn> turns;
    size_t turn = 0;
    OnModalForm = [&](TCustomForm* f) {
        TDialogAnswer a;
        auto* d = dynamic_cast<mainwindow::TAddWindowTitle*>(f);
        if (!d || turn >= turns.size()) {
            ADD_FAILURE() << "an unexpected modal form";
            return a;
        }
        TitleDialogTurn& t = turns[turn++];
        std::string list;
        for (const std::string& item : d->Phrase1ComBox->Items()->ToVector()) list += item + ";";
        t.shown = {d->Caption(), list, d->Phrase1ComBox->Text(), d->Phrase2ComBox->Text(), d->Phrase3ComBox->Text(),
                   d->ComboBox1->Text(), d->ComboBox2->Text()};
        TComboBox* phrases[] = {d->Phrase1ComBox, d->Phrase2ComBox, d->Phrase3ComBox};
        for (size_t i = 0; i < t.phrases.size(); ++i) Type(phrases[i], t.phrases[i]);
        if (t.operators.size() > 0) Choose(d->ComboBox1, t.operators[0]);
        if (t.operators.size() > 1) Choose(d->ComboBox2, t.operators[1]);
        a.result = t.result;
        return a;
    };
    auto* titles = Find<TListBox>("WindowTitleListBox");

    turns = {{{}, {"Table", "Play Money"}, {2}}, {{}, {"Ignored"}, {}, mrCancel}};
    Click("AddWindowTitleBtn");
    Click("AddWindowTitleBtn");
    ASSERT_EQ(turn, 2u);
    EXPECT_EQ(turns[0].shown, (std::vector<std::string>{"Advanced Window Title", "Alpha table;", "", "", "", " and ",
                                                        " and "}));
    EXPECT_EQ(titles->Items()->ToVector(), (std::vector<std::string>{"Alpha table", "Table and not Play Money"}));
    EXPECT_EQ(titles->ItemIndex(), 1);

    turns = {{{}, {"Table", "Play Money", "Turbo"}, {2, 1}}};
    turn = 0;
    Click("EditWindowTitleBtn");
    ASSERT_EQ(turn, 1u);
    EXPECT_EQ(turns[0].shown, (std::vector<std::string>{"Advanced Window Title", "Alpha table;Table and not Play Money;",
                                                        "Table", "Play Money", "", " and not ", " and "}));
    EXPECT_NE(form_->LogMemo->Lines()->Text().find("Operand=  and not  "), std::string::npos);
    EXPECT_EQ(titles->Items()->ToVector(),
              (std::vector<std::string>{"Alpha table", "Table and not Play Money or Turbo"}));

    Click("CustomSaveBtn");
    const std::vector<t::TPokerRoom> rooms = SavedRooms();
    ASSERT_EQ(rooms.size(), 1u);
    const t::TTitleSpec& title = rooms[0].Titles[1];
    EXPECT_EQ((std::vector<std::string>{title.Text.Str(), title.Operand1.Str(), title.Operator1.Str(), title.Operand2.Str(),
                                        title.Operator2.Str(), title.Operand3.Str()}),
              (std::vector<std::string>{"Table and not Play Money or Turbo", "Table", " and not ", "Play Money", " or ",
                                        "Turbo"}));

    // Ten titles: the message, and no dialog.
    turns.assign(8, TitleDialogTurn{{}, {"More"}, {}});
    turn = 0;
    for (int i = 0; i < 8; ++i) Click("AddWindowTitleBtn");
    EXPECT_EQ(titles->Items()->Count(), 10);
    Messages.clear();
    Click("AddWindowTitleBtn");
    EXPECT_EQ(turn, 8u);
    EXPECT_EQ(Messages, std::vector<std::string>{"You can not create more then 10 Window Titles"});
}

// ---- picking a window for the room editor ----------------------------------------------------------

class PickingForTheRoomEditor : public EditorsOnTheMainForm {
protected:
    // A window of a client's on top, with a child control to press on.
    void ShowWindowToPick() {
        window_ = OpenWindow("KovaPickedClient", "Picked Client", RECT{1300, 300, 1710, 560});
        ASSERT_NE(window_, nullptr);
        ASSERT_NE(CreateWindowExA(0, "BUTTON", "inside", WS_CHILD | WS_VISIBLE, 50, 50, 100, 30, window_, nullptr,
                                  GetModuleHandleA(nullptr), nullptr),
                  nullptr);
        PumpFor(100);
    }

    // The cursor over the child control of that window. Under Wine the
    // pointer read back may lag a warp: it is put there until the system
    // reports it there.
    static bool CursorOverWindow() { return CursorAt(kOver); }
    static bool CursorAt(POINT at) {
        return WaitUntil(
            [&] {
                POINT p{};
                GetCursorPos(&p);
                if (p.x == at.x && p.y == at.y) return true;
                SetCursorPos(at.x, at.y);
                PumpFor(50);
                return false;
            },
            3000);
    }

    // The grabber's select button, and the press that picks the window
    // under the cursor.
    void Pick(mainwindow::TTGrabberForm* grabber) {
        grabber->SpeedButton1->Click();
        ASSERT_EQ(grabber->Picking, 1);
        ASSERT_TRUE(CursorOverWindow());
        SendMessageA(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        ASSERT_EQ(grabber->Picking, 0);
        ASSERT_EQ(grabber->ClassEdit->Text(), "KovaPickedClient");
    }

    static constexpr POINT kOver{1300 + 60, 300 + 60};

    HWND window_ = nullptr;
};

TEST_F(PickingForTheRoomEditor, TheGrabberCopiesOnlyWhatTheUserPickedIntoTheRoomEditor) {
    Open();
    ShowPage("PokerRoomSheet");
    NameAnswers = {{"MyRoom"}};
    Click("CustomCreateNewBtn");
    Type("WindowClassEdit", "Typed");
    Click("AddWindowSizeBtn");
    Type("WindowSize00", "Normal");
    Type("WindowSize01", "500");
    Type("WindowSize02", "360");
    const auto sizeRow = [&] {
        return std::vector<std::string>{Find<TEdit>("WindowSize01")->Text(), Find<TEdit>("WindowSize02")->Text()};
    };

    // Opened from the room editor the grabber is empty: nothing is copied.
    Click("CustomCopyClass");
    Click("CustomCopySize");
    mainwindow::TTGrabberForm* grabber = mainwindow::TGrabberForm;
    ASSERT_NE(grabber, nullptr);
    EXPECT_TRUE(grabber->Visible());
    EXPECT_EQ(grabber->Target, 1);
    EXPECT_EQ(Find<TEdit>("WindowClassEdit")->Text(), "Typed");
    EXPECT_EQ(sizeRow(), (std::vector<std::string>{"500", "360"}));

    ShowWindowToPick();
    Pick(grabber);
    auto button = [&](const char* name) { return FindOn<TButton>(grabber, name); };
    Click(button("CopyClassBtn"));
    EXPECT_EQ(Find<TEdit>("WindowClassEdit")->Text(), "KovaPickedClient");
    Click(button("NormalSizeBtn"));
    EXPECT_EQ(sizeRow(), (std::vector<std::string>{"410", "260"}));
    Type("WindowSize01", "1");
    Click(button("ActivateSizeBtn"));
    EXPECT_EQ(sizeRow(), (std::vector<std::string>{"410", "260"}));
    // The AutoPlace editors are not the target.
    EXPECT_NE(Find<TComboBox>("ComboBoxClass")->Text(), "KovaPickedClient");

    // With a window picked, the room editor's buttons copy it at once.
    Type("WindowClassEdit", "Typed");
    Type("WindowSize02", "2");
    Click("CustomCopyClass");
    Click("CustomCopySize");
    EXPECT_EQ(Find<TEdit>("WindowClassEdit")->Text(), "KovaPickedClient");
    EXPECT_EQ(sizeRow(), (std::vector<std::string>{"410", "260"}));

    Click("CustomSaveBtn");
    const std::vector<t::TPokerRoom> rooms = SavedRooms();
    ASSERT_EQ(rooms.size(), 1u);
    EXPECT_EQ(rooms[0].WindowClass.Str(), "KovaPickedClient");
    EXPECT_EQ(rooms[0].Sizes[0].Width, 410);
    EXPECT_EQ(rooms[0].Sizes[0].Height, 260);
}

// The main form's skinned frame lies in a border window of its own over the
// form: a pick on the caption picks the main form, never that window.
TEST_F(PickingForTheRoomEditor, APickOnTheMainFormsFramePicksTheMainForm) {
    Open();
    ShowPage("PokerRoomSheet");
    NameAnswers = {{"MyRoom"}};
    Click("CustomCreateNewBtn");
    Click("CustomCopyClass");
    mainwindow::TTGrabberForm* grabber = mainwindow::TGrabberForm;
    ASSERT_NE(grabber, nullptr);
    RECT form{};
    GetWindowRect(form_->Handle(), &form);
    const POINT caption{form.left + 150, form.top + 8};
    const HWND under = WindowFromPoint(caption);
    ASSERT_NE(under, nullptr);
    EXPECT_NE(GetAncestor(under, GA_ROOT), form_->Handle()) << "no border window lies over the caption";

    grabber->SpeedButton1->Click();
    ASSERT_EQ(grabber->Picking, 1);
    ASSERT_TRUE(CursorAt(caption));
    SendMessageA(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(grabber->Picking, 0);
    EXPECT_EQ(grabber->ClassEdit->Text(), WindowClassName(form_->Handle()));
    EXPECT_EQ(grabber->PosXEdit->Text(), std::to_string(form.left));
    EXPECT_EQ(grabber->SizeXEdit->Text(), std::to_string(form.right - form.left));
}

TEST_F(PickingForTheRoomEditor, TheCaptureToolPicksATableWhileAConfigRunsAndAMacroIsRecordedOnIt) {
    ASSERT_TRUE(CopyFileA((ExeDir() + "\\mskbrdHook.dll").c_str(), Path("mskbrdHook.dll").c_str(), FALSE));
    WriteRooms({Room("Alpha", "KovaPickedClient")});
    WriteConfigs({t::TPlaceConfig{
        "Play", {}, {Group("Alpha", "Tables", "Picked", "KovaPickedClient", {{1300, 300, 410, 260, 1300, 300, 410, 260}})}}});
    ShowWindowToPick();
    Open();
    ASSERT_TRUE(form_->Hook().Loaded());
    Click(form_->StartConfigBtn);
    ASSERT_TRUE(form_->HookRunning());
    ASSERT_TRUE(WaitUntil([] { return t::Tables.size() == 1; }, 5000)) << "the window is no table of the config";

    ShowPage("PokerRoomSheet");
    Click("EditPokerRoomBtn");  // yes, edit it
    Click("WindowCaptureBtn");
    mainwindow::TWindowCapture* capture = mainwindow::WindowCapture;
    ASSERT_NE(capture, nullptr);
    capture->SpeedButton1->Click();
    ASSERT_EQ(capture->Picking, 1);
    // A real press on the table, as the user makes it.
    ASSERT_TRUE(CursorOverWindow());
    INPUT press[2]{};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, press, sizeof press[0]), 2u);
    EXPECT_TRUE(WaitUntil([&] { return capture->Picking == 0; }, 3000)) << "the press did not end the picking";
    EXPECT_EQ(capture->SelectedWindow, window_);
    EXPECT_EQ(capture->Edit4->Text(), "KovaPickedClient");
    EXPECT_EQ(capture->SpeedButton1->Caption(), "Click to Select Window");
    EXPECT_NE(GetCapture(), form_->Handle());
    // A capture another window took away (the user switched windows): the
    // hook library's report of the press still ends the picking.
    capture->SpeedButton1->Click();
    ASSERT_EQ(capture->Picking, 1);
    ReleaseCapture();
    ASSERT_EQ(SendInput(2, press, sizeof press[0]), 2u);
    EXPECT_TRUE(WaitUntil([&] { return capture->Picking == 0; }, 3000)) << "the hook's report did not end the picking";
    EXPECT_EQ(capture->SelectedWindow, window_);

    // The picture, and a point of it as the macro's click.
    Click(capture->CaptureWindowBtn);
    const LPARAM at = MAKELPARAM(capture->Image1->Left() + capture->Offsets.X + 100,
                                 capture->Image1->Top() + capture->Offsets.Y + 80);
    SendMessageA(capture->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(capture->Handle(), WM_LBUTTONUP, 0, at);
    ASSERT_EQ(capture->Coord2X->Text(), "100");
    NameAnswers = {{"Fold"}};
    Click("AddNewHotKeyBtn");
    Click("AddClickBtn");
    Click("CopySize1WindowCaptureBtn");
    EXPECT_EQ(Find<TEdit>("Click00")->Text(), "100");
    EXPECT_EQ(Find<TEdit>("Click01")->Text(), "80");
    Click("CustomSaveBtn");
    const std::vector<t::TPokerRoom> rooms = SavedRooms();
    ASSERT_EQ(rooms.size(), 1u);
    ASSERT_EQ(rooms[0].HotKeyCount, 1);
    EXPECT_EQ(rooms[0].HotKeys[0].Clicks[0].X, 100);
    EXPECT_EQ(rooms[0].HotKeys[0].Clicks[0].Y, 80);
}

}  // namespace
