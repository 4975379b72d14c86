// The AutoPlace page on the real main form: buttons, lists and combo boxes
// driven by window messages, the name dialog and the questions answered
// through the dialog seam, the saved file read back, and the simulated
// client's tables placed into a tile made in the editor.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "common/require.h"
#include "common/win32_testing.h"
#include "framework/comctrls.h"
#include "framework/dialogs.h"
#include "mainwindow/dialogs/toolforms.h"
#include "mainwindow/editors/autoplace/autoplacepage.h"
#include "mainwindow/mainform/main.h"
#include "mainwindow/mainform/testfiles.h"
#include "simclient_protocol.h"
#include "tables/files/placeconfig_file.h"
#include "tables/files/pokerrooms_file.h"
#include "tables/model/engineservices.h"

namespace {

using namespace kova;
using namespace kova::test;
using kova::mainwindow::TAutoPlacePage;
using kova::mainwindow::TCreateNewConfig;
using kova::mainwindow::TKOVAForm1;
namespace t = kova::tables;

constexpr const char* kClient = "kovaeditorstest";
constexpr const char* kTableClass = "KovaEditorsTable";

// What the dialog seam is to answer next.
struct NameAnswer {
    std::string name;  // empty: keep the proposed name
    int clone = -1;
    int result = mrOk;
};

class AutoPlacePage : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterFrameworkClasses();
        dir_ = TempDir();
        TKOVAForm1::DataFolderOverride = dir_;
        t::ResetEngine();
        SetDialogResponder([this](const TDialogRequest& r) {
            TDialogAnswer a;
            if (r.kind == TDialogKind::ModalForm) {
                auto* dialog = dynamic_cast<TCreateNewConfig*>(r.form);
                if (!dialog || names_.empty()) return a;
                const NameAnswer n = names_.front();
                names_.erase(names_.begin());
                dialogs_.push_back(dialog->Caption() + "|" + dialog->Label1->Caption() + "|" +
                                   dialog->Label2->Caption() + "|" + dialog->ConfigName->Text());
                if (!n.name.empty()) SetWindowTextA(dialog->ConfigName->Handle(), n.name.c_str());
                dialog->ComboBox1->SetItemIndex(n.clone);
                a.result = n.result;
                return a;
            }
            messages_.push_back(r.text);
            a.result = answers_.empty() ? mrOk : answers_.front();
            if (!answers_.empty()) answers_.erase(answers_.begin());
            return a;
        });
    }

    void TearDown() override {
        // The grabber belongs to the application (the program makes it at
        // start); the one a test opened goes with the test.
        if (mainwindow::TGrabberForm) mainwindow::TGrabberForm->Free();
        if (form_) form_->Free();
        kova::sim::SendCommand(kClient, "quit");
        client_.Kill();
        SetDialogResponder(nullptr);
        TKOVAForm1::DataFolderOverride.clear();
        t::ResetEngine();
    }

    TKOVAForm1* Open() {
        form_ = TCustomForm::Create<TKOVAForm1>(Application());
        form_->Show();
        EXPECT_TRUE(WaitUntil([&] { return form_->FirstActivationDone(); }));
        return form_;
    }
    TAutoPlacePage& Page() { return form_->AutoPlace(); }

    // A click as the system reports it: the button's notification to its parent.
    static void Click(TWinControl* c) { SendMessageA(c->Handle(), BM_CLICK, 0, 0); }
    static void Type(TWinControl* c, const std::string& text) { SetWindowTextA(c->Handle(), text.c_str()); }
    static void Notify(TWinControl* c, WORD code) {
        SendMessageA(GetParent(c->Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c->Handle()), code),
                     reinterpret_cast<LPARAM>(c->Handle()));
    }
    static void ChooseInList(TListBox* list, int index) {
        SendMessageA(list->Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Notify(list, LBN_SELCHANGE);
    }
    std::string Path(const std::string& name) const { return dir_ + "\\" + name; }

    std::vector<t::TPlaceConfig> SavedConfigs() const {
        const Bytes bytes = ReadFile(Path("PlaceConfig.cnfg"));
        t::TConfigFileHeader header;
        std::vector<t::TPlaceConfig> configs;
        std::string error;
        EXPECT_TRUE(t::DecodePlaceConfig(bytes, header, configs, &error)) << error;
        return configs;
    }

    std::vector<std::string> VisibleRowColumn(int k) {
        std::vector<std::string> out;
        for (const auto& row : Page().Rows)
            if (row.Label->Visible()) out.push_back(row.Edits[static_cast<size_t>(k)]->Text());
        return out;
    }

    // A new config with one group, made through the buttons and the dialog.
    void MakeConfigWithGroup() {
        names_ = {{"Mine"}, {""}};
        Click(Page().AutoPlaceCreateNewConfig);
        Click(Page().AddNewGroup);
        ASSERT_TRUE(names_.empty());
    }

    std::string dir_;
    TKOVAForm1* form_ = nullptr;
    std::vector<NameAnswer> names_;
    std::vector<int> answers_;
    std::vector<std::string> messages_;
    std::vector<std::string> dialogs_;
    ChildProcess client_;
};

TEST_F(AutoPlacePage, WithoutConfigOrGroupTheButtonsSayWhatComesFirst) {
    Open();
    messages_.clear();
    Click(Page().AddNewGroup);
    Click(Page().AddSlot);
    Click(Page().ButtonTileSlots);
    Click(Page().ButtonCascadeSlot);
    Click(Page().GrabberBtn);
    Click(Page().CalcActivateSlot);
    EXPECT_EQ(messages_, (std::vector<std::string>{"Please Create New Config first!", "Please Add New Group first!",
                                                   "Please Add New Group first!", "Please Add New Group first!",
                                                   "Please Add New Group first!", "Please create any slot first!"}));
    EXPECT_FALSE(Page().ConfigGroupBox->Enabled());
    EXPECT_EQ(Page().ConfigGroupBox->Caption(), "Create New Group First!: ");
    EXPECT_FALSE(DataFileExists(Path("PlaceConfig.cnfg")));
}

TEST_F(AutoPlacePage, ANewConfigAndGroupAreNamedInTheDialogAndSavedToTheFile) {
    Open();
    MakeConfigWithGroup();
    EXPECT_EQ(dialogs_, (std::vector<std::string>{"Create New Config|Config Name:|Clone From Config:|Config1",
                                                  "Create New Group|Group Name|Clone from Group|Group1"}));
    EXPECT_EQ(Page().GroupBox1->Caption(), "Config: \"Mine\"");
    EXPECT_EQ(Page().ConfigGroupBox->Caption(), "Group: \"Group1\"");
    EXPECT_TRUE(Page().ConfigGroupBox->Enabled());
    EXPECT_EQ(form_->ConfigListBox->Items()->Count(), 1);
    EXPECT_FALSE(DataFileExists(Path("PlaceConfig.cnfg"))) << "a new config is saved only on Save";

    Type(Page().ComboBoxTitle, "Sim");
    Type(Page().ComboBoxClass, kTableClass);
    Type(Page().EditX1, "300");
    Type(Page().EditY1, "not a number");
    Click(Page().AddSlot);
    Click(Page().AutoPlaceSaveConfig);
    const std::vector<t::TPlaceConfig> saved = SavedConfigs();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].Name, "Mine");
    ASSERT_EQ(saved[0].Groups.size(), 1u);
    const t::TGroupRec& g = saved[0].Groups[0];
    EXPECT_EQ(g.Name, "Group1");
    EXPECT_EQ(g.Title.Text.Str(), "Sim");
    EXPECT_EQ(g.Title.Operand1.Str(), "Sim");
    EXPECT_EQ(g.ClassPattern, kTableClass);
    EXPECT_EQ(g.Size1.Width, 300);
    EXPECT_EQ(g.Size1.Height, 0);
    ASSERT_EQ(g.Slots.size(), 1u);
    EXPECT_EQ(g.Slots[0].Width, 300);
    EXPECT_EQ(g.AutoPlace, 1);
}

TEST_F(AutoPlacePage, LeavingAnUnsavedConfigAsksAndCancelKeepsIt) {
    WriteFile(Path("PlaceConfig.cnfg"), PlaceConfigFile({TestConfigData{"Old", {}}}, 0));
    Open();
    names_ = {{"New"}};
    Click(Page().AutoPlaceCreateNewConfig);
    ASSERT_EQ(form_->ConfigListBox->Items()->Count(), 2);
    messages_.clear();

    answers_ = {mrCancel};
    ChooseInList(form_->ConfigListBox, 0);
    EXPECT_EQ(messages_, (std::vector<std::string>{"Do you want to save config \"New\"?"}));
    EXPECT_EQ(form_->ConfigListBox->ItemIndex(), 1);
    EXPECT_EQ(form_->EditedConfig.Name, "New");

    answers_ = {mrYes};
    ChooseInList(form_->ConfigListBox, 0);
    EXPECT_EQ(form_->EditedConfig.Name, "Old");
    const std::vector<t::TPlaceConfig> saved = SavedConfigs();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[1].Name, "New");

    // Deleting asks too; No keeps the config.
    messages_.clear();
    answers_ = {mrNo};
    Click(Page().AutoPlaceDeleteConfig);
    EXPECT_EQ(messages_, (std::vector<std::string>{"Are you sure you want to delete config \"Old\"?"}));
    EXPECT_EQ(SavedConfigs().size(), 2u);
    answers_ = {mrYes};
    Click(Page().AutoPlaceDeleteConfig);
    ASSERT_EQ(SavedConfigs().size(), 1u);
    EXPECT_EQ(SavedConfigs()[0].Name, "New");
}

TEST_F(AutoPlacePage, SlotRowsAreSkinnedEditsMadeOnceAndReused) {
    Open();
    MakeConfigWithGroup();
    Type(Page().EditX1, "494");
    Type(Page().EditY1, "374");
    Type(Page().EditTileX, "2");
    Type(Page().EditTileY, "2");
    Click(Page().ButtonTileSlots);
    ASSERT_EQ(Page().Rows.size(), 4u);
    const auto* first = Page().Rows[0].Edits[0];
    EXPECT_NE(dynamic_cast<const TEdit*>(first), nullptr);
    EXPECT_EQ(first->Name(), "EditSlot00");
    EXPECT_EQ(first->Parent(), Page().ScrollBox1);
    EXPECT_EQ(Page().Rows[3].Label->Caption(), "Slot 3");
    EXPECT_EQ(Page().Rows[3].Label->Top(), 76 + 60);
    EXPECT_EQ(Page().Rows[3].Edits[4]->Left(), 60 + 160 + 10);
    EXPECT_EQ(VisibleRowColumn(2), std::vector<std::string>(4, "494"));

    // Clicking a row's label selects it.
    Notify(Page().Rows[1].Label, STN_CLICKED);
    EXPECT_EQ(Page().Model.SelectedSlot, 1);
    EXPECT_EQ(Page().Rows[1].Label->Color(), clHighlight);
    EXPECT_EQ(Page().Rows[0].Label->Color(), clBtnFace);

    // So does a click into one of its edits.
    SendMessageA(Page().Rows[2].Edits[5]->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(Page().Rows[2].Edits[5]->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(Page().Model.SelectedSlot, 2);
    EXPECT_EQ(Page().Rows[2].Label->Color(), clHighlight);
    EXPECT_EQ(Page().Rows[2].Label->Font()->Color(), clWhite);
    EXPECT_EQ(Page().Rows[1].Label->Color(), clBtnFace);

    // Typed text survives the actions; deleting hides, adding reuses.
    Type(Page().Rows[3].Edits[0], "123");
    Click(Page().DeleteSlot);  // row 2: the last row moves up
    ASSERT_EQ(VisibleRowColumn(0).size(), 3u);
    EXPECT_EQ(VisibleRowColumn(0)[2], "123");
    EXPECT_EQ(Page().Model.SelectedSlot, 1);
    EXPECT_FALSE(Page().Rows[3].Label->Visible());
    Click(Page().AddSlot);
    Click(Page().AddSlot);
    EXPECT_EQ(Page().Rows.size(), 5u);
    EXPECT_EQ(Page().Rows[0].Edits[0], first);

    // Another group shows only its own rows; the controls stay.
    names_ = {{"Second"}};
    Click(Page().AddNewGroup);
    EXPECT_TRUE(VisibleRowColumn(0).empty());
    EXPECT_EQ(Page().Rows.size(), 5u);
    ChooseInList(form_->GroupListBox, 0);
    EXPECT_EQ(VisibleRowColumn(0).size(), 5u);
}

// Two hundred slots: only the rows in the scroll box's view have controls,
// handed on to the rows scrolled into view in slot order (so tabbing runs
// down the rows); the scroll range covers every row, what was typed stays
// with its slot and is saved, and the focus goes with its slot.
TEST_F(AutoPlacePage, OnlyTheSlotRowsInViewHaveControlsHandedOnWhenScrolled) {
    TestGroupData many{"Many", "Sim", "*", {}};
    for (int32_t i = 0; i < 200; ++i) many.slots.push_back({i, 2 * i, 400, 300});
    WriteFile(Path("PlaceConfig.cnfg"), PlaceConfigFile({TestConfigData{"Big", {many}}}, 0));
    Open();
    TWinControl* sheet = Page().ScrollBox1;
    while (sheet && !dynamic_cast<TTabSheet*>(sheet)) sheet = sheet->Parent();
    ASSERT_NE(sheet, nullptr);
    form_->PageControl1->SetActivePage(static_cast<TTabSheet*>(sheet));
    ChooseInList(form_->GroupListBox, 0);
    ASSERT_EQ(Page().Model.VisibleRowCount(), 200);
    TScrollBox* box = Page().ScrollBox1;
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(box->Handle(), SB_VERT, &si));
    EXPECT_EQ(si.nMax + 1, 76 + 20 * 199 + 17) << "the range covers all rows";
    const size_t made = Page().Rows.size();
    EXPECT_GE(made, 7u);
    EXPECT_LE(made, 12u);
    ASSERT_NE(Page().RowOf(0), nullptr);
    EXPECT_EQ(Page().RowOf(0)->Label->Top(), 76);
    EXPECT_EQ(Page().RowOf(5)->Edits[1]->Text(), "10");
    EXPECT_EQ(Page().RowOf(150), nullptr);

    // Paged to the end: the last rows get the controls, no more are made.
    for (int i = 0; i < 40; ++i) SendMessageA(box->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_LE(Page().Rows.size(), 13u);
    EXPECT_EQ(Page().RowOf(0), nullptr);
    TAutoPlacePage::TRowControls* last = Page().RowOf(199);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->Label->Caption(), "Slot 199");
    EXPECT_EQ(last->Edits[1]->Text(), "398");
    EXPECT_EQ(last->Label->Top() + last->Label->Height(), static_cast<int>(box->ClientRect().bottom));
    for (int32_t n = 0; n < 200; ++n) {
        const TAutoPlacePage::TRowControls* row = Page().RowOf(n);
        const TAutoPlacePage::TRowControls* next = Page().RowOf(n + 1);
        if (!row || !next) continue;
        EXPECT_EQ(GetWindow(row->Edits[7]->Handle(), GW_HWNDNEXT), next->Label->Handle()) << "tab order at " << n;
        EXPECT_EQ(next->Label->Top(), row->Label->Top() + 20);
    }

    // A click selects the slot shown; typed text stays with its slot.
    Notify(last->Label, STN_CLICKED);
    EXPECT_EQ(Page().Model.SelectedSlot, 199);
    EXPECT_EQ(last->Label->Color(), clHighlight);
    Type(last->Edits[0], "777");
    SendMessageA(box->Handle(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(Page().RowOf(199), nullptr);
    EXPECT_EQ(Page().RowOf(0)->Edits[0]->Text(), "0");
    EXPECT_EQ(Page().RowOf(0)->Label->Color(), clBtnFace);
    Click(Page().AutoPlaceSaveConfig);
    const std::vector<t::TPlaceConfig> saved = SavedConfigs();
    ASSERT_EQ(saved.size(), 1u);
    ASSERT_EQ(saved[0].Groups[0].Slots.size(), 200u);
    EXPECT_EQ(saved[0].Groups[0].Slots[199].Left, 777);
    EXPECT_EQ(saved[0].Groups[0].Slots[198].Left, 198);

    // The focus goes with its slot while in view, to the box when not.
    Page().RowOf(1)->Edits[2]->SetFocus();
    box->ScrollBy(0, -20);
    ASSERT_NE(Page().RowOf(1), nullptr);
    EXPECT_EQ(Page().RowOf(1)->Label->Top(), 76);
    EXPECT_EQ(GetFocus(), Page().RowOf(1)->Edits[2]->Handle());
    SendMessageA(box->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(GetFocus(), box->Handle());
}

TEST_F(AutoPlacePage, ThePokerRoomChosenFillsTheGroupEditorAndIsSaved) {
    std::vector<t::TPokerRoom> rooms(2);
    const char* names[] = {"Stars", "Other"};
    for (size_t i = 0; i < rooms.size(); ++i) {
        rooms[i].Listed = 1;
        rooms[i].Name = names[i];
        rooms[i].WindowClass = std::string(names[i]) + "Class";
        rooms[i].Titles[0].Text = std::string(names[i]) + " table";
        rooms[i].Sizes[0].Name = "Small";
        rooms[i].Sizes[0].Width = 494 + static_cast<int32_t>(i);
        rooms[i].Sizes[0].Height = 374;
        rooms[i].Sizes[1].Name = "Big";
        rooms[i].Sizes[1].Width = 815 + static_cast<int32_t>(i);
        rooms[i].Sizes[1].Height = 614;
    }
    ASSERT_TRUE(t::SavePokerRooms(Path("PokerRooms.kov"), rooms));
    Open();
    MakeConfigWithGroup();
    EXPECT_EQ(Page().ComboBoxType->Items()->Count(), 2);
    EXPECT_EQ(Page().ComboBoxType->Text(), "Stars");
    EXPECT_EQ(Page().ComboBoxClass->Text(), "StarsClass");
    EXPECT_EQ(Page().ComboBoxTitle->Items()->Count(), 1);
    EXPECT_EQ(Page().EditX1->Text(), "494");
    EXPECT_EQ(Page().EditX2->Text(), "815");
    EXPECT_TRUE(Page().OptionBoxes[0]->Checked());

    SendMessageA(Page().ComboBoxType->Handle(), CB_SETCURSEL, 1, 0);
    Notify(Page().ComboBoxType, CBN_SELCHANGE);
    EXPECT_EQ(Page().ComboBoxClass->Text(), "OtherClass");
    EXPECT_EQ(Page().EditX1->Text(), "495");
    // The activate size chosen by name fills its edits.
    SendMessageA(Page().ComboBoxSize2->Handle(), CB_SETCURSEL, 0, 0);
    Notify(Page().ComboBoxSize2, CBN_SELCHANGE);
    EXPECT_EQ(Page().EditX2->Text(), "495");
    Click(Page().AutoPlaceSaveConfig);
    const std::vector<t::TPlaceConfig> saved = SavedConfigs();
    ASSERT_EQ(saved.size(), 1u);
    const t::TGroupRec& g = saved[0].Groups[0];
    EXPECT_EQ(g.RoomName.Str(), "Other");
    EXPECT_EQ(g.RoomIndex, 1);
    EXPECT_EQ(g.ClassPattern, "OtherClass");
    EXPECT_EQ(g.Size2.Name.Str(), "Small");
    EXPECT_EQ(g.Size2.Width, 495);
}

TEST_F(AutoPlacePage, ATileMadeFromAnEmptyFolderPlacesTheSimulatedTablesOnStart) {
    KOVA_REQUIRE_SIMCLIENT();
    Open();
    MakeConfigWithGroup();
    Type(Page().ComboBoxTitle, "Sim Table");
    Type(Page().ComboBoxClass, kTableClass);
    Type(Page().EditX1, "300");
    Type(Page().EditY1, "200");
    Type(Page().EditX2, "300");
    Type(Page().EditY2, "200");
    Type(Page().EditTileX, "3");
    Type(Page().EditTileY, "3");
    Click(Page().ButtonTileSlots);
    ASSERT_EQ(Page().Model.VisibleRowCount(), 9);
    Click(Page().AutoPlaceSaveConfig);
    const std::vector<t::TPlaceConfig> saved = SavedConfigs();
    ASSERT_EQ(saved.size(), 1u);
    ASSERT_EQ(saved[0].Groups.size(), 1u);
    const std::vector<t::TSlotRec> slots = saved[0].Groups[0].Slots;
    ASSERT_EQ(slots.size(), 9u);
    // Three columns and three rows of 300 x 200 on the work area.
    const RECT work = Screen()->Monitors(0).WorkareaRect;
    EXPECT_EQ(slots[0].Left, work.left);
    EXPECT_EQ(slots[0].Top, work.top);
    EXPECT_EQ(slots[4].Left, work.left + 300);
    EXPECT_EQ(slots[8].Top, work.top + 400);

    ASSERT_TRUE(client_.Start("\"" + SimClientExe() + "\" --name " + kClient));
    ASSERT_NE(WaitForWindow(kova::sim::kControlClass, kClient), nullptr);
    std::vector<HWND> tables;
    for (int i = 1; i <= 3; ++i) {
        const std::string cmd = "open id=" + std::to_string(i) + " class=" + kTableClass + " title=\"Sim Table " +
                                std::to_string(i) + "\" size=250x150 pos=1500,800";
        tables.push_back(reinterpret_cast<HWND>(kova::sim::SendCommand(kClient, cmd.c_str())));
        ASSERT_NE(tables.back(), nullptr);
    }
    messages_.clear();
    Click(form_->StartConfigBtn);
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    auto slotOf = [&](HWND w) {
        RECT r{};
        GetWindowRect(w, &r);
        for (size_t s = 0; s < slots.size(); ++s)
            if (r.left == slots[s].Left && r.top == slots[s].Top && r.right - r.left == slots[s].Width &&
                r.bottom - r.top == slots[s].Height)
                return static_cast<int>(s);
        return -1;
    };
    EXPECT_TRUE(WaitUntil(
        [&] {
            std::set<int> used;
            for (HWND w : tables) used.insert(slotOf(w));
            return used.size() == 3 && !used.count(-1);
        },
        10000));
}

TEST_F(AutoPlacePage, TheGrabberPicksTheTopLevelWindowUnderTheMouseAndFillsTheEditors) {
    Open();
    MakeConfigWithGroup();
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KovaGrabMe";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        return RegisterClassExA(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    HWND top = CreateWindowExA(WS_EX_TOPMOST, "KovaGrabMe", "Grab Me", WS_POPUP | WS_VISIBLE, 1300, 300, 400, 250,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND child = CreateWindowExA(0, "BUTTON", "inside", WS_CHILD | WS_VISIBLE, 50, 50, 100, 30, top, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(top && child);
    PumpFor(100);

    // The cursor over the child control; the system moves it in its own time.
    const POINT over{1300 + 60, 300 + 60};
    SetCursorPos(over.x, over.y);
    ASSERT_TRUE(WaitUntil(
        [&] {
            POINT p{};
            GetCursorPos(&p);
            return p.x == over.x && p.y == over.y;
        },
        3000));
    ASSERT_EQ(GetAncestor(WindowFromPoint(over), GA_ROOT), top);

    Click(Page().GrabberBtn);
    mainwindow::TTGrabberForm* grabber = mainwindow::TGrabberForm;
    ASSERT_NE(grabber, nullptr);
    EXPECT_TRUE(grabber->Visible());
    grabber->SpeedButton1->Click();
    EXPECT_EQ(grabber->Picking, 1);
    EXPECT_EQ(grabber->SpeedButton1->Caption(), "Select Window or Click to Cancel");
    EXPECT_EQ(GetCapture(), form_->Handle());
    // Under Wine, taking the capture can read the pointer back from the X
    // server, where a warp of a moment ago may not have landed yet: the
    // cursor is put over the window again until the system reports it there.
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

    // The press that ends the picking: the details are of the child's
    // top-level window.
    SendMessageA(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(grabber->Picking, 0);
    EXPECT_EQ(grabber->SpeedButton1->Caption(), "Click to Select Window");
    EXPECT_NE(GetCapture(), form_->Handle());
    EXPECT_EQ(grabber->TitleEdit->Text(), "Grab Me");
    EXPECT_EQ(grabber->ClassEdit->Text(), "KovaGrabMe");
    EXPECT_EQ((std::vector<std::string>{grabber->PosXEdit->Text(), grabber->PosYEdit->Text(),
                                        grabber->SizeXEdit->Text(), grabber->SizeYEdit->Text()}),
              (std::vector<std::string>{"1300", "300", "400", "250"}));

    auto button = [&](const char* name) { return dynamic_cast<TButton*>(grabber->FindComponent(name)); };
    messages_.clear();
    Click(button("ActivateSlotBtn"));
    EXPECT_EQ(messages_, (std::vector<std::string>{"Please create any slot first!"}));
    Click(button("CopyTitleBtn"));
    Click(button("CopyClassBtn"));
    EXPECT_EQ(Page().ComboBoxTitle->Text(), "Grab Me");
    EXPECT_EQ(Page().ComboBoxClass->Text(), "KovaGrabMe");
    Click(button("NormalSizeBtn"));
    EXPECT_EQ(Page().EditX1->Text(), "400");
    Click(button("NormalSlotBtn"));
    ASSERT_EQ(VisibleRowColumn(0).size(), 1u);
    EXPECT_EQ(VisibleRowColumn(0)[0], "1300");
    EXPECT_EQ(VisibleRowColumn(3)[0], "250");
    Click(button("ActivateSlotBtn"));
    EXPECT_EQ(VisibleRowColumn(4)[0], "1300");
    EXPECT_EQ(VisibleRowColumn(6)[0], "400");
    DestroyWindow(top);
}

}  // namespace
