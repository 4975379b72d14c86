// The editors of the main form as a user meets them in one run of the
// program: the name dialog that configs, groups, rooms and hotkeys share,
// what the group and room editors show and keep through a page change,
// Start and a restart, the grabber and the capture tool filling the room
// editor, and the title dialog of the room editor.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

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

// ---- the group editor ---------------------------------------------------------------------------

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

// ---- the grabber and the room editor ----------------------------------------------------------

class GrabberAndRoomEditor : public EditorsOnTheMainForm {
protected:
    void TearDown() override {
        if (window_) DestroyWindow(window_);
        EditorsOnTheMainForm::TearDown();
    }

    // A window of our own on top, and the cursor over a child control of it.
    void ShowWindowToPick() {
        static const bool registered = [] {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "KovaPickedClient";
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            return RegisterClassExA(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        window_ = CreateWindowExA(WS_EX_TOPMOST, "KovaPickedClient", "Picked Client", WS_POPUP | WS_VISIBLE, 1300, 300,
                                  410, 260, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(CreateWindowExA(0, "BUTTON", "inside", WS_CHILD | WS_VISIBLE, 50, 50, 100, 30, window_, nullptr,
                                  GetModuleHandleA(nullptr), nullptr),
                  nullptr);
        PumpFor(100);
    }

    // The grabber's select button, and the press that picks the window
    // under the cursor.
    void Pick(mainwindow::TTGrabberForm* grabber) {
        const POINT over{1300 + 60, 300 + 60};
        grabber->SpeedButton1->Click();
        ASSERT_EQ(grabber->Picking, 1);
        // Under Wine the pointer read back may lag a warp: put it there until
        // the system reports it there.
        ASSERT_TRUE(WaitUntil(
            [&] {
                POINT p{};
                GetCursorPos(&p);
                if (p.x == over.x && p.y == over.y) return true;
                SetCursorPos(over.x, over.y);
                PumpFor(50);
                return false;
            },
            3000));
        SendMessageA(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        ASSERT_EQ(grabber->Picking, 0);
        ASSERT_EQ(grabber->ClassEdit->Text(), "KovaPickedClient");
    }

    HWND window_ = nullptr;
};

}  // namespace
