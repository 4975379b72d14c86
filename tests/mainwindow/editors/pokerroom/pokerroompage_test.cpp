// The poker-room page on the real main form, with the window capture tool
// and the simulated poker client: a room of a client the program does not
// know is defined through the page's buttons (class, title, the Fold-button
// point picked in a captured picture, a hotkey macro recorded on the
// table), and the running program then detects turns on its table and
// plays the macro. Also export and import through the chooser, the capture
// tool's own checks and the auto-registration switches.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/require.h"
#include "common/win32_testing.h"
#include "framework/dialogs.h"
#include "mainwindow/dialogs/smalldialogs.h"
#include "mainwindow/dialogs/toolforms.h"
#include "mainwindow/editors/pokerroom/pokerroompage.h"
#include "mainwindow/mainform/main.h"
#include "mainwindow/mainform/testfiles.h"
#include "simclient_protocol.h"
#include "tables/files/pokerrooms_file.h"
#include "tables/logic/tablequeue.h"
#include "tables/model/engineservices.h"
#include "tables/model/variables.h"

namespace {

using namespace kova;
using namespace kova::test;
using kova::mainwindow::TExportPokerRoomForm;
using kova::mainwindow::TKOVAForm1;
using kova::mainwindow::TPokerRoomPage;
using kova::mainwindow::TWindowCapture;
namespace t = kova::tables;

constexpr const char* kClient = "kovaroomstest";
constexpr const char* kTableClass = "KovaOwnClientTable";

class PokerRoomPage : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterFrameworkClasses();
        dir_ = TempDir();
        TKOVAForm1::DataFolderOverride = dir_;
        t::ResetEngine();
        SetDialogResponder([this](const TDialogRequest& r) {
            TDialogAnswer a;
            switch (r.kind) {
                case TDialogKind::ModalForm:
                    if (auto* dialog = dynamic_cast<mainwindow::TCreateNewConfig*>(r.form)) {
                        if (names_.empty()) return a;
                        SetWindowTextA(dialog->ConfigName->Handle(), names_.front().c_str());
                        names_.erase(names_.begin());
                        a.result = mrOk;
                    } else if (auto* title = dynamic_cast<mainwindow::TAddWindowTitle*>(r.form)) {
                        if (titles_.empty()) return a;
                        SetWindowTextA(title->Phrase1ComBox->Handle(), titles_.front().c_str());
                        titles_.erase(titles_.begin());
                        a.result = mrOk;
                    } else if (auto* chooser = dynamic_cast<TExportPokerRoomForm*>(r.form)) {
                        chooser_.push_back(chooser->Caption() + "|" + chooser->Label1->Caption());
                        for (int i : untick_) chooser->CheckListBox1->SetChecked(i, false);
                        a.result = mrOk;
                    }
                    return a;
                case TDialogKind::Open:
                case TDialogKind::Save:
                    a.fileName = file_;
                    a.result = mrOk;
                    return a;
                default:
                    messages_.push_back(r.text);
                    a.result = mrYes;
                    return a;
            }
        });
    }

    void TearDown() override {
        if (mainwindow::WindowCapture) mainwindow::WindowCapture->Free();
        if (form_) form_->Free();
        kova::sim::SendCommand(kClient, "quit");
        client_.Kill();
        SetDialogResponder(nullptr);
        TKOVAForm1::DataFolderOverride.clear();
        t::ResetEngine();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    TKOVAForm1* Open() {
        form_ = TCustomForm::Create<TKOVAForm1>(Application());
        form_->Show();
        EXPECT_TRUE(WaitUntil([&] { return form_->FirstActivationDone(); }));
        return form_;
    }
    TPokerRoomPage& Page() { return form_->Rooms(); }
    TButton* Button(const char* name) { return dynamic_cast<TButton*>(form_->FindComponent(name)); }

    static void Click(TWinControl* c) { SendMessageA(c->Handle(), BM_CLICK, 0, 0); }
    static void Type(TWinControl* c, const std::string& text) { SetWindowTextA(c->Handle(), text.c_str()); }
    std::string Path(const std::string& name) const { return dir_ + "\\" + name; }

    static std::string ReadFileText(const std::string& path) {
        std::ifstream in(path);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    static bool MoveCursor(POINT p) {
        SetCursorPos(p.x, p.y);
        return WaitUntil(
            [&] {
                POINT c{};
                GetCursorPos(&c);
                return c.x == p.x && c.y == p.y;
            },
            3000);
    }

    // F11 as the system delivers it: WM_HOTKEY with the id the form's
    // hotkey table registered it under.
    void PressCaptureHotKey() {
        if (!form_->Settings().Registered(kova::mainwindow::kCaptureHotKey)) form_->Settings().RegisterHotKeys();
        auto& keys = form_->Settings().HotKeys();
        ASSERT_NE(keys.Id(kova::mainwindow::kCaptureHotKey), 0);
        SendMessageA(form_->Handle(), WM_HOTKEY, keys.Id(kova::mainwindow::kCaptureHotKey), MAKELPARAM(0, VK_F11));
    }

    std::string dir_, file_;
    TKOVAForm1* form_ = nullptr;
    std::vector<std::string> names_, titles_, messages_, chooser_;
    std::vector<int> untick_;
    ChildProcess client_;
};

// ---- the whole road: a room of the user's own client ---------------------------------------

TEST_F(PokerRoomPage, AUserDefinedRoomDetectsTurnsAndPlaysItsHotKeyMacroOnTheSimulatedClient) {
    KOVA_REQUIRE_SIMCLIENT();
    const std::string log = Path("clicks.log");
    ASSERT_TRUE(client_.Start("\"" + SimClientExe() + "\" --name " + kClient + " --log \"" + log + "\""));
    ASSERT_NE(WaitForWindow(kova::sim::kControlClass, kClient), nullptr);
    const std::string open = std::string("open id=1 class=") + kTableClass + " title=\"Table 1 NL\" size=500x360 pos=1300,560";
    HWND table = reinterpret_cast<HWND>(kova::sim::SendCommand(kClient, open.c_str()));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(kova::sim::SendCommand(kClient, "turn 1 on"), 1);

    // A config whose group takes the first room's tables, the room is made
    // on the page. The slot has the size the room is captured at.
    TestGroupData group{"Own", "Table", kTableClass, {{1300, 560, 500, 360}}, 0, "MyClient"};
    WriteFile(Path("PlaceConfig.cnfg"), PlaceConfigFile({TestConfigData{"Play", {group}}}, 0));
    Open();
    EXPECT_TRUE(t::PokerRooms.empty());

    // The room: name, class, title, one window size.
    names_ = {"MyClient"};
    Click(Button("CustomCreateNewBtn"));
    ASSERT_TRUE(names_.empty());
    EXPECT_TRUE(Page().PageControl3->Pages(1)->TabVisible());
    Type(Page().WindowClassEdit, kTableClass);
    titles_ = {"Table"};
    Click(Button("AddWindowTitleBtn"));
    ASSERT_TRUE(titles_.empty());
    Click(Button("AddWindowSizeBtn"));
    ASSERT_EQ(Page().SizeRows.size(), 1u);
    Type(Page().SizeRows[0].Edits[0], "Normal");
    Type(Page().SizeRows[0].Edits[1], "500");
    Type(Page().SizeRows[0].Edits[2], "360");

    // The capture tool: pick the table, set its size, take the picture (F11),
    // and choose the Fold button in it.
    Click(Button("WindowCaptureBtn"));
    TWindowCapture* capture = mainwindow::WindowCapture;
    ASSERT_NE(capture, nullptr);
    ASSERT_TRUE(capture->Visible());
    EXPECT_EQ(capture->SizeXEdit->Text(), "500");
    RECT w{};
    GetWindowRect(table, &w);
    ASSERT_TRUE(MoveCursor(POINT{w.left + 100, w.top + 100}));
    capture->SpeedButton1->Click();
    EXPECT_EQ(capture->Picking, 1);
    SendMessageA(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(capture->Picking, 0);
    EXPECT_EQ(capture->SelectedWindow, table);
    EXPECT_EQ(capture->Edit4->Text(), kTableClass);
    // The reference size chosen in the tool, then set on the table.
    capture->SizeComboBox->SetItemIndex(0);
    SendMessageA(capture->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(capture->SizeComboBox->Handle()), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(capture->SizeComboBox->Handle()));
    EXPECT_EQ(capture->SizeXEdit->Text(), "500");
    Click(capture->SetSizeBtn);
    GetWindowRect(table, &w);
    EXPECT_EQ(w.right - w.left, 500);
    RECT c{};
    GetClientRect(table, &c);
    PumpFor(200);
    PressCaptureHotKey();
    ASSERT_TRUE(std::filesystem::exists(Path("screenshot.bmp")));
    EXPECT_EQ(capture->Image1->Picture()->Width(), 500);
    // A point on the Fold button clear of its caption, in the picture.
    const RECT fold = kova::sim::FoldButtonRect(c.right, c.bottom);
    const POINT foldPoint{fold.left + 5, (fold.top + fold.bottom) / 2};
    SendMessageA(capture->Handle(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(capture->Image1->Left() + capture->Offsets.X + foldPoint.x,
                            capture->Image1->Top() + capture->Offsets.Y + foldPoint.y));
    SendMessageA(capture->Handle(), WM_LBUTTONUP, 0,
                 MAKELPARAM(capture->Image1->Left() + capture->Offsets.X + foldPoint.x,
                            capture->Image1->Top() + capture->Offsets.Y + foldPoint.y));
    EXPECT_EQ(capture->Coord2X->Text(), std::to_string(foldPoint.x));
    EXPECT_EQ(capture->Coord2Y->Text(), std::to_string(foldPoint.y));
    EXPECT_EQ((std::vector<std::string>{capture->Red2Edit->Text(), capture->Green2Edit->Text(), capture->Blue2Edit->Text()}),
              (std::vector<std::string>{std::to_string(GetRValue(kova::sim::kFoldColour)),
                                        std::to_string(GetGValue(kova::sim::kFoldColour)),
                                        std::to_string(GetBValue(kova::sim::kFoldColour))}));
    Click(Button("CopySize1Btn"));
    EXPECT_EQ(Page().ActivateEdits[kova::mainwindow::pokerroom::afSize1CoordX]->Text(), std::to_string(foldPoint.x));

    // One hotkey whose macro clicks the Fold button, recorded in the picture.
    names_ = {"Fold"};
    Click(Button("AddNewHotKeyBtn"));
    Click(Button("AddClickBtn"));
    Click(Button("CopySize1WindowCaptureBtn"));
    ASSERT_EQ(Page().ClickRows.size(), 1u);
    EXPECT_EQ(Page().ClickRows[0].Edits[0]->Text(), std::to_string(foldPoint.x));
    messages_.clear();
    Click(Button("CustomSaveBtn"));
    EXPECT_TRUE(messages_.empty());

    std::vector<t::TPokerRoom> saved;
    ASSERT_EQ(t::LoadPokerRooms(Path("PokerRooms.kov"), saved), t::TLoadStatus::Loaded);
    ASSERT_EQ(saved.size(), 1u);
    const t::TPokerRoom& room = saved[0];
    EXPECT_EQ(room.Name.Str(), "MyClient");
    EXPECT_EQ(room.RoomType, 0);
    EXPECT_EQ(room.WindowClass.Str(), kTableClass);
    EXPECT_EQ(room.Titles[0].Text.Str(), "Table");
    EXPECT_EQ(room.ScaleRef.W, c.right);
    EXPECT_EQ(room.FoldPoint.X, foldPoint.x);
    EXPECT_EQ(room.Tolerance, 5);
    EXPECT_EQ(room.HotKeyCount, 1);
    EXPECT_EQ(room.HotKeys[0].Clicks[0].Y, foldPoint.y);

    // The running program finds the table, sees the turn, plays the macro.
    Click(form_->StartConfigBtn);
    ASSERT_TRUE(WaitUntil([&] { return t::ActiveTableWnd == reinterpret_cast<uintptr_t>(table); }, 10000))
        << "the turn on the user's own room was not detected";
    ASSERT_EQ(t::Tables.size(), 1u);
    ASSERT_TRUE(t::QueueTableAction(0, 1, t::ActionHotKeyMacro));
    const auto clicked = [&] {
        for (const kova::sim::LoggedClick& k : kova::sim::LeftClicksInLog(ReadFileText(log)))
            if (k.table == 1 && std::abs(k.x - foldPoint.x) <= 1 && std::abs(k.y - foldPoint.y) <= 1) return true;
        return false;
    };
    EXPECT_TRUE(WaitUntil(clicked, 10000)) << ReadFileText(log);
}

// ---- the capture tool -------------------------------------------------------------------------------

TEST_F(PokerRoomPage, TheCaptureToolChecksItsWindowAndF11WorksOnlyWhileItIsShown) {
    Open();
    messages_.clear();  // no config yet
    const std::string before = std::filesystem::current_path().string();
    PressCaptureHotKey();
    EXPECT_TRUE(messages_.empty()) << "hidden: nothing happens";
    names_ = {"Mine"};
    Click(Button("CustomCreateNewBtn"));
    Click(Button("WindowCaptureBtn"));
    TWindowCapture* capture = mainwindow::WindowCapture;
    ASSERT_NE(capture, nullptr);
    messages_.clear();
    PressCaptureHotKey();
    Click(capture->SetSizeBtn);
    EXPECT_EQ(messages_, (std::vector<std::string>{"Select Window First", "Select Window First"}));

    // A window of our own: 816 x 638 outside, its client 800 x 600 or what
    // the frame leaves; "0" x 600 resizes nothing.
    HWND own = CreateWindowExA(0, "STATIC", "Own", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 1200, 300, 416, 338, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(own, nullptr);
    capture->SelectedWindow = own;
    Type(capture->SizeXEdit, "0");
    Type(capture->SizeYEdit, "600");
    Click(capture->SetSizeBtn);
    EXPECT_EQ((std::vector<std::string>{capture->SizeXEdit->Text(), capture->SizeYEdit->Text(),
                                        capture->SizeX2Edit->Text(), capture->SizeY2Edit->Text()}),
              (std::vector<std::string>(4, "0")));
    RECT r{};
    GetWindowRect(own, &r);
    EXPECT_EQ(r.right - r.left, 416);
    Type(capture->SizeXEdit, "816");
    Type(capture->SizeYEdit, "638");
    Click(capture->SetSizeBtn);
    GetWindowRect(own, &r);
    RECT c{};
    GetClientRect(own, &c);
    EXPECT_EQ(r.right - r.left, 816);
    EXPECT_EQ(capture->SizeX2Edit->Text(), std::to_string(c.right));
    EXPECT_EQ(capture->Offsets.X, (816 - c.right) / 2);
    EXPECT_EQ(capture->Offsets.Y, 638 - c.bottom - capture->Offsets.X);

    PressCaptureHotKey();
    EXPECT_TRUE(std::filesystem::exists(Path("screenshot.bmp")));
    EXPECT_EQ(std::filesystem::current_path().string(), before);
    EXPECT_EQ(capture->ClientHeight(), capture->Image1->Picture()->Height() + 146);
    DestroyWindow(own);
    messages_.clear();
    Click(capture->CaptureWindowBtn);
    EXPECT_EQ(messages_, (std::vector<std::string>{"Selected Window not exist!"}));
}

// ---- export and import --------------------------------------------------------------------------------

TEST_F(PokerRoomPage, ExportedRoomsComeBackByteForByteAndForeignFilesAreRefused) {
    t::TPokerRoom a, b, c;
    a.Name = "Alpha";
    b.Name = "Beta";
    b.HotKeyCount = 1;
    b.HotKeys[0].Clicks[0].X = 77;
    b.KeptBytes[9500] = 0x5A;  // bytes the program does not read travel too
    c.Name = "Gamma";
    WriteFile(Path("PokerRooms.kov"), t::EncodePokerRooms({a, b, c}));
    Open();
    ASSERT_EQ(t::PokerRooms.size(), 3u);
    const std::vector<uint8_t> beta = t::EncodePokerRoom(t::PokerRooms[1]);

    file_ = Path("shared.kov");
    untick_ = {0};
    Click(Button("ExportPokerRoomBtn"));
    EXPECT_EQ(chooser_, (std::vector<std::string>{"Export Poker Room|Choose Poker Room what you want to export:"}));
    const Bytes exported = ReadFile(file_);
    ASSERT_EQ(exported.size(), 2 * t::TPokerRoom::ByteSize);
    EXPECT_TRUE(std::equal(beta.begin(), beta.end(), exported.begin()));

    untick_ = {1};
    Click(Button("ImportPokerRoomBtn"));
    ASSERT_EQ(t::PokerRooms.size(), 4u);
    EXPECT_EQ(t::EncodePokerRoom(t::PokerRooms[3]), beta);
    EXPECT_EQ(Page().Model.Selected, 0);

    // A cut file and a foreign one: a message naming the file, nothing added.
    for (const Bytes& bad : {Bytes(exported.begin(), exported.end() - 5), Bytes(t::TPokerRoom::ByteSize, 'x')}) {
        WriteFile(file_, bad);
        messages_.clear();
        Click(Button("ImportPokerRoomBtn"));
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_NE(messages_[0].find("\"" + file_ + "\""), std::string::npos) << messages_[0];
        EXPECT_EQ(t::PokerRooms.size(), 4u);
    }
}

// ---- auto-registration ---------------------------------------------------------------------------------

TEST_F(PokerRoomPage, TheRegistrationSwitchesFollowStartAndStop) {
    Open();
    mainwindow::TAutoRegControls& reg = form_->AutoReg();
    Click(Button("StartSNGBtn"));
    Click(Button("StartSNGBtnFTP"));
    EXPECT_EQ(t::AutoRegistratorRunning, 1);
    EXPECT_EQ(t::FullTiltRegistratorRunning, 1);
    EXPECT_EQ(reg.StatusSNG->Caption(), "Running");
    EXPECT_EQ(reg.StatusSNGFTP->Color(), static_cast<TColor>(0x008000));
    Click(Button("StopSngBtn"));
    EXPECT_EQ(t::AutoRegistratorRunning, 0);
    EXPECT_EQ(t::FullTiltRegistratorRunning, 1);
    EXPECT_EQ(reg.StatusSNG->Caption(), "Stopped");
    EXPECT_EQ(reg.StatusSNG->Color(), static_cast<TColor>(0x0000FF));
}

}  // namespace
