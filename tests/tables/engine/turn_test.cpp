// Turn detection, activation, the turn alert with its frame and sounds, the
// event macros and the information panel, against the simulated poker
// client: it switches a table's Fold button on and off and logs the clicks
// its tables receive; the test runs scans as the main window's timer would.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/require.h"
#include "common/win32_testing.h"
#include "framework/dialogs.h"
#include "client_fixture.h"
#include "simclient_protocol.h"
#include "tables/engine/autoplace.h"
#include "tables/model/enginelog.h"
#include "tables/overlays/frameform.h"
#include "tables/overlays/hudtable.h"
#include "tables/logic/titleexpr.h"
#include "tables/logic/turnlogic.h"

namespace kova::tables {
namespace {

using namespace kova::test;
using namespace kova::tables::testing;

constexpr const char* kClient = "kovaturntest";
constexpr const char* kTableClass = "KovaTurnTable";



bool HasRect(HWND h, int l, int t, int w, int ht) {
    const RECT r = WindowRect(h);
    return r.left == l && r.top == t && r.right - r.left == w && r.bottom - r.top == ht;
}



struct OwnedSearch {
    HWND owner;
    const char* cls;
    HWND found;
};
BOOL CALLBACK FindOwnedStep(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<OwnedSearch*>(p);
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (GetWindow(w, GW_OWNER) == s->owner && lstrcmpA(cls, s->cls) == 0) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}
// The window of class `cls` that this thread made and `owner` owns.
HWND OwnedWindow(HWND owner, const char* cls) {
    OwnedSearch s{owner, cls, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindOwnedStep, reinterpret_cast<LPARAM>(&s));
    return s.found;
}


// Slot i: normal (i * 430, 10) 400 x 300; activate (i * 430, 10) 480 x 360.
TSlotRec SlotAt(int i) { return TSlotRec{i * 430, 10, 400, 300, i * 430, 10, 480, 360}; }

class TurnTest : public ClientTest {
protected:
    TurnTest() : ClientTest(kClient, 120) {}  // about the timer's pace: a resized table has repainted

    void SetUp() override {
        ClientTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        RunningConfig.Name = "Turn";
        TGroupRec g;
        g.Name = "G";
        g.ClassPattern = kTableClass;
        g.Title = Title("Table");
        g.AutoPlace = g.AutoSize = g.AutoActivate = g.ActivateSize = 1;
        g.Slots = {SlotAt(0), SlotAt(1), SlotAt(2)};
        RunningConfig.Groups = {g};
        // A generic room whose Fold point is the middle of the client's Fold
        // button, scaled from the origin.
        TPokerRoom& room = PokerRooms[0];
        room.Name = "Generic";
        room.Proportional = 1;
        room.ScaleRef = {1000, 1000, 0, 0};
        room.FoldPoint = {575, 880, 0, 0};  // on the button, clear of its caption
        room.FoldColour = {GetRValue(kova::sim::kFoldColour), GetGValue(kova::sim::kFoldColour), GetBValue(kova::sim::kFoldColour)};
        room.Tolerance = 8;
        ProgramFolder = dir_;
        EngineServices.SoundPlayer = [this](const std::string& file, bool loop) {
            sounds_.push_back(file.empty() ? "stop" : (loop ? "loop " : "once ") + std::filesystem::path(file).filename().string());
        };
    }

    void TearDown() override {
        ClientTest::TearDown();
        SetDialogResponder(nullptr);
    }

    HWND Open(int id, const char* pos = "1300,700") {
        return ClientTest::Open(id, kTableClass, "Table " + std::to_string(id), "384x262", pos);
    }

    bool InSlot(HWND h, int slot) {
        const TSlotRec s = SlotAt(slot);
        return HasRect(h, s.Left, s.Top, s.Width, s.Height);
    }
    bool InActivateRect(HWND h, int slot) {
        const TSlotRec s = SlotAt(slot);
        return HasRect(h, s.ActLeft, s.ActTop, s.ActWidth, s.ActHeight);
    }

    std::vector<std::string> sounds_;
};

// ---- turn detection and activation -----------------------------------------------------

TEST_F(TurnTest, TheFirstTurnIsActivatedEnlargedAndRaisedThenTheNextFollows) {
    EngineOptions.JumpMouse = true;
    HWND a = Open(1), b = Open(2);
    ASSERT_TRUE(a && b);
    ASSERT_TRUE(Scan());
    ASSERT_EQ(Tables.size(), 2u);
    const int slotA = TableOf(a)->Slot, slotB = TableOf(b)->Slot;
    ASSERT_TRUE(InSlot(a, slotA) && InSlot(b, slotB));
    EXPECT_EQ(ActiveTableWnd, 0u);

    SetCursorPos(5, 5);
    ASSERT_TRUE(Turn(2, true));
    ASSERT_TRUE(ScanUntil([&] { return ActiveTableWnd == reinterpret_cast<uintptr_t>(b); }));
    EXPECT_EQ(TableOf(b)->MyTurn, 1);
    EXPECT_TRUE(InActivateRect(b, slotB));
    EXPECT_TRUE(IsAbove(b, a));
    // The cursor jumped three quarters into the window as it was when activated.
    const TSlotRec s = SlotAt(slotB);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, s.Left + 3 * s.Width / 4);
    EXPECT_EQ(cursor.y, s.Top + 3 * s.Height / 4);
    EXPECT_TRUE(InSlot(a, slotA));

    // Table 1's turn begins later: table 2 stays activated while its turn lasts.
    ASSERT_TRUE(Turn(1, true));
    ASSERT_TRUE(ScanUntil([&] { return TableOf(a)->MyTurn == 1; }));
    EXPECT_EQ(ActiveTableWnd, reinterpret_cast<uintptr_t>(b));
    EXPECT_TRUE(InSlot(a, slotA));

    // Table 2's turn ends: it goes back to its slot and table 1 follows.
    ASSERT_TRUE(Turn(2, false));
    ASSERT_TRUE(ScanUntil([&] { return ActiveTableWnd == reinterpret_cast<uintptr_t>(a); }));
    EXPECT_EQ(TableOf(b)->MyTurn, 0);
    EXPECT_TRUE(InSlot(b, slotB));
    EXPECT_TRUE(InActivateRect(a, slotA));
    ASSERT_TRUE(Turn(1, false));
    ASSERT_TRUE(ScanUntil([&] { return ActiveTableWnd == 0; }));
    EXPECT_TRUE(InSlot(a, slotA));
}

TEST_F(TurnTest, CustomRoomsAndGroupsWithoutAutoActivateNeverHaveATurn) {
    struct Case {
        const char* name;
        const char* roomName;
        uint8_t autoActivate;
    };
    for (const Case& c : {Case{"custom room", "Custom", 1}, Case{"auto activate off", "Generic", 0}}) {
        SCOPED_TRACE(c.name);
        FreeAllTables();
        PokerRooms[0].Name = c.roomName;
        RunningConfig.Groups[0].AutoActivate = c.autoActivate;
        HWND a = Open(1);
        ASSERT_TRUE(a);
        ASSERT_TRUE(Turn(1, true));
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(Scan());
            PumpFor(30);
        }
        ASSERT_NE(TableOf(a), nullptr);
        EXPECT_EQ(TableOf(a)->MyTurn, 0);
        EXPECT_EQ(ActiveTableWnd, 0u);
        Command("close 1");
    }
}

TEST_F(TurnTest, SwitchingTurnDetectionOffReleasesTheActivatedTable) {
    HWND a = Open(1), b = Open(2);
    ASSERT_TRUE(a && b);
    ASSERT_TRUE(Turn(1, true));
    ASSERT_TRUE(ScanUntil([&] { return ActiveTableWnd == reinterpret_cast<uintptr_t>(a); }));
    // A refresh with turn detection off: the table is no longer held.
    RunningConfig.Groups[0].AutoActivate = 0;
    ASSERT_TRUE(Scan());
    EXPECT_EQ(ActiveTableWnd, 0u);
    RunningConfig.Groups[0].AutoActivate = 1;
    ASSERT_TRUE(Turn(1, false));
    ASSERT_TRUE(Turn(2, true));
    EXPECT_TRUE(ScanUntil([&] { return ActiveTableWnd == reinterpret_cast<uintptr_t>(b); }));
}

// ---- the alert, its frame and its sounds ----------------------------------------------------

TEST_F(TurnTest, TheAlertStepsThroughItsStagesTheFrameFollowsTheTable) {
    UserOptions.Frame = 1;
    UserOptions.Sound = 1;
    EngineServices.MakeFrame = MakeFrameOverlay;
    TPokerRoom& room = PokerRooms[0];
    room.FrameOn = 1;
    room.AlertSteps[0] = {0, 1, 0, 0, 1};
    room.AlertSteps[1] = {0, 0, 1, 0, 1};
    room.AlertSteps[2] = {0, 0, 1, 1, 1};
    room.AlertSteps[3] = {0, 0, 0, 1, 1};
    HWND a = Open(1);
    ASSERT_TRUE(a);
    ASSERT_TRUE(Scan());
    HWND frameWnd = OwnedWindow(a, "TFrameForm");
    ASSERT_TRUE(frameWnd) << "no frame owned by the table";
    auto* frame = dynamic_cast<TFrameForm*>(kova::TWinControl::FindControl(frameWnd));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->CurrentState(), 0);
    EXPECT_NE(GetWindowLongA(frameWnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);  // clicks pass through
    {
        const RECT fr = WindowRect(frameWnd), tr = WindowRect(a);
        EXPECT_TRUE(EqualRect(&fr, &tr));
    }

    ASSERT_TRUE(Turn(1, true));
    std::vector<int32_t> stages, colours;
    ASSERT_TRUE(ScanUntil([&] {
        if (!TableOf(a)->MyTurn) return false;
        stages.push_back(TableOf(a)->AlertStage);
        colours.push_back(frame->CurrentState());
        return TableOf(a)->AlertStage == 4 && stages.size() >= 6;
    })) << "turn " << int(TableOf(a)->MyTurn) << " stages " << ::testing::PrintToString(stages) << ::testing::PrintToString(colours) << " active " << (ActiveTableWnd != 0);
    // Green from the first alerted tick, amber, then red.
    EXPECT_EQ(stages.front(), 1);
    EXPECT_EQ(colours.front(), 1);
    EXPECT_NE(std::find(colours.begin(), colours.end(), 2), colours.end());
    EXPECT_EQ(colours.back(), 3);
    EXPECT_EQ(frame->LastDrawnColour(), RGB(190, 3, 3));
    EXPECT_EQ(sounds_, (std::vector<std::string>{"once Alert1.wav", "loop Alert1.wav"}));

    // The table moves: the frame follows it and draws again.
    const int32_t draws = frame->DrawCount();
    SetWindowPos(a, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    TableOf(a)->Dragging = 1;  // held by the user: placement waits
    ASSERT_TRUE(Scan());
    {
        const RECT fr = WindowRect(frameWnd), tr = WindowRect(a);
        EXPECT_TRUE(EqualRect(&fr, &tr));
        EXPECT_EQ(fr.left, 30);
    }
    EXPECT_GT(frame->DrawCount(), draws);
    // Nothing changed: nothing drawn.
    const int32_t still = frame->DrawCount();
    ASSERT_TRUE(Scan());
    EXPECT_EQ(frame->DrawCount(), still);
    TableOf(a)->Dragging = 0;

    // The turn ends: the looping sound stops and the frame is erased.
    ASSERT_TRUE(Turn(1, false));
    ASSERT_TRUE(ScanUntil([&] { return TableOf(a)->AlertStage == 0 && frame->CurrentState() == 0; }));
    EXPECT_EQ(sounds_.back(), "stop");

    // The frame goes with the table.
    ASSERT_TRUE(Command("close 1"));
    ASSERT_TRUE(Scan());
    EXPECT_TRUE(Tables.empty());
    EXPECT_FALSE(IsWindow(frameWnd));
}

TEST_F(TurnTest, TheAlertSoundIsPlayedFromTheProgramFolderAndAMissingFileDoesNoHarm) {
    std::vector<std::string> files;
    EngineServices.SoundPlayer = [&](const std::string& file, bool) { files.push_back(file); };
    PlayAlertSound(false);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], dir_ + "\\Alert1.wav");
    // The real player with no such file (and maybe no sound device): returns.
    EngineServices.SoundPlayer = nullptr;
    PlayAlertSound(false);
    PlayAlertSound(true);
    StopAlertSound();
    SUCCEED();
}

// ---- event macros --------------------------------------------------------------------------

TEST_F(TurnTest, EventMacrosClickOnTurnEveryFifthTickAndOnColourEveryTick) {
    TPokerRoom& room = PokerRooms[0];
    // Event 0 (time bank): on the turn, at once, at (100, 50) of 1000 x 1000.
    TEventMacro& onTurn = room.EventMacros[0];
    onTurn.Enabled = onTurn.OnTurn = 1;
    onTurn.ScaleRef = {1000, 1000, 0, 0};
    onTurn.Click = TMacroClick{0, 100, 50, 0, 0};  // stored disabled: the macro clicks all the same
    // Event 3 (bet pot): when the Fold button's colour shows, at (900, 100).
    TEventMacro& onColour = room.EventMacros[3];
    onColour.Enabled = onColour.OnColour = 1;
    onColour.ScaleRef = {1000, 1000, 0, 0};
    onColour.Point = room.FoldPoint;
    onColour.Colour = room.FoldColour;
    onColour.Tolerance = 8;
    onColour.Click = TMacroClick{1, 900, 100, 0, 0};
    EngineOptions.EventTimeBank = true;
    EngineOptions.EventBetPot = true;
    RunningConfig.Groups[0].AutoSize = 0;  // the client size stays 384 x 262
    HWND a = Open(1);
    ASSERT_TRUE(a);
    ASSERT_TRUE(Scan());
    ASSERT_TRUE(Turn(1, true));
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(Scan());
        PumpFor(20);
    }
    ASSERT_TRUE(WaitUntil([&] { return kova::sim::LeftClicksInLog(ClientLog()).size() >= 2; }, 3000)) << ClientLog();
    PumpFor(200);
    RECT client{};
    GetClientRect(a, &client);
    auto at = [&](int x, int y) {
        return std::make_pair(RoundHalfEven(x * client.right / 1000.0), RoundHalfEven(y * client.bottom / 1000.0));
    };
    std::vector<std::pair<int, int>> seen;
    for (const kova::sim::LoggedClick& c : kova::sim::LeftClicksInLog(ClientLog())) seen.emplace_back(c.x, c.y);
    EXPECT_NE(std::find(seen.begin(), seen.end(), at(100, 50)), seen.end()) << ClientLog();
    EXPECT_NE(std::find(seen.begin(), seen.end(), at(900, 100)), seen.end()) << ClientLog();
    EXPECT_EQ(std::count(seen.begin(), seen.end(), at(100, 50)), 1);  // once per turn
    EXPECT_EQ(room.EventMacros[0].Click.Enabled, 0);  // the room record is left as stored
    ASSERT_GE(synthetic_.size(), 4u);
    EXPECT_EQ(synthetic_[0], 1);
    EXPECT_EQ(synthetic_[1], 0);
}

// ---- the information panel ------------------------------------------------------------------

TEST_F(TurnTest, EachTableHasItsPanelThatFollowsItAndGoesWithIt) {
    InstallTableOverlays();
    UserOptions.ShowHUD = 1;
    HWND a = Open(1);
    ASSERT_TRUE(a);
    ASSERT_TRUE(Scan());
    ASSERT_TRUE(Scan());
    HWND panelWnd = OwnedWindow(a, "THUDTable");
    ASSERT_TRUE(panelWnd) << "no panel owned by the table";
    auto* panel = dynamic_cast<THUDTable*>(kova::TWinControl::FindControl(panelWnd));
    ASSERT_NE(panel, nullptr);
    // Over the table, shaped to its labels and logo.
    {
        const RECT pr = WindowRect(panelWnd), tr = WindowRect(a);
        EXPECT_TRUE(EqualRect(&pr, &tr));
    }
    kova::TLabel* id = panel->LabelNamed("IDTable");
    ASSERT_NE(id, nullptr);
    EXPECT_EQ(id->Caption(), " 1 ");
    ASSERT_NE(panel->LabelNamed("PlayedNow"), nullptr);
    EXPECT_EQ(panel->LabelNamed("PlayedNow")->Caption(), " 1 ");
    EXPECT_EQ(panel->LabelNamed("Timer"), nullptr);
    EXPECT_FALSE(panel->Timer1->Enabled());
    EXPECT_TRUE(panel->TableID1->Enabled());
    EXPECT_TRUE(panel->TableID1->Checked());

    // The panel lies over the table: its turn is still seen.
    ASSERT_TRUE(Turn(1, true));
    EXPECT_TRUE(ScanUntil([&] { return ActiveTableWnd == reinterpret_cast<uintptr_t>(a); }));
    ASSERT_TRUE(Turn(1, false));
    EXPECT_TRUE(ScanUntil([&] { return ActiveTableWnd == 0; }));

    // The table moves (by the user): the panel follows.
    TableOf(a)->Dragging = 1;
    SetWindowPos(a, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(Scan());
    {
        const RECT pr = WindowRect(panelWnd), tr = WindowRect(a);
        EXPECT_TRUE(EqualRect(&pr, &tr));
    }
    TableOf(a)->Dragging = 0;

    // The panel goes with the table.
    ASSERT_TRUE(Command("close 1"));
    ASSERT_TRUE(Scan());
    EXPECT_TRUE(Tables.empty());
    EXPECT_FALSE(IsWindow(panelWnd));
}

TEST_F(TurnTest, PanelLabelsAreDraggedRestyledHiddenAndTheirLayoutSavedAndLoaded) {
    InstallTableOverlays();
    UserOptions.ShowHUD = 1;
    HWND a = Open(1);
    ASSERT_TRUE(a);
    ASSERT_TRUE(Scan());
    HWND panelWnd = OwnedWindow(a, "THUDTable");
    ASSERT_TRUE(panelWnd);
    auto* panel = dynamic_cast<THUDTable*>(kova::TWinControl::FindControl(panelWnd));
    ASSERT_NE(panel, nullptr);
    kova::TLabel* id = panel->LabelNamed("IDTable");
    ASSERT_NE(id, nullptr);
    const std::string layoutFile = dir_ + "\\Layouts\\LayTurnG.ini";
    EXPECT_EQ(TableOf(a)->LayoutFile, layoutFile);

    // Drag: press on the label, move the cursor by (30, 20), release.
    const int x0 = id->Left() + 3, y0 = id->Top() + 3;
    const POINT start = id->ClientToScreen(POINT{3, 3});
    const int left0 = id->Left(), top0 = id->Top();
    auto moveCursor = [](int x, int y) {
        SetCursorPos(x, y);
        return WaitUntil([&] {
            POINT p{};
            GetCursorPos(&p);
            return p.x == x && p.y == y;
        }, 2000);
    };
    ASSERT_TRUE(moveCursor(start.x, start.y));
    SendMessageA(panelWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, y0));
    EXPECT_TRUE(panel->Dragging());
    ASSERT_TRUE(moveCursor(start.x + 30, start.y + 20));
    SendMessageA(panelWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x0 + 30, y0 + 20));
    SendMessageA(panelWnd, WM_LBUTTONUP, 0, MAKELPARAM(x0 + 30, y0 + 20));
    ClipCursor(nullptr);
    EXPECT_FALSE(panel->Dragging());
    EXPECT_EQ(id->Left(), left0 + 30);
    EXPECT_EQ(id->Top(), top0 + 20);

    // The label menu: font and background through the dialogs.
    std::vector<kova::TDialogKind> asked;
    std::string choose;
    kova::SetDialogResponder([&](const kova::TDialogRequest& r) {
        asked.push_back(r.kind);
        kova::TDialogAnswer ans;
        ans.result = kova::mrOk;
        if (r.kind == kova::TDialogKind::Popup) ans.item = r.menu->FindItem(choose);
        if (r.kind == kova::TDialogKind::Font) {
            ans.fontName = "Arial";
            ans.fontSize = 16;
            ans.fontColor = kova::clYellow;
            ans.fontStyle = kova::fsItalic;
        }
        if (r.kind == kova::TDialogKind::Color) ans.color = static_cast<kova::TColor>(RGB(10, 20, 30));
        if (r.kind == kova::TDialogKind::Open || r.kind == kova::TDialogKind::Save) {
            EXPECT_EQ(r.initialDir, dir_ + "\\Layouts\\");
            ans.fileName = dir_ + "\\Layouts\\Other.ini";
        }
        return ans;
    });
    auto rightClickLabel = [&](const std::string& item) {
        choose = item;
        const int x = id->Left() + 2, y = id->Top() + 2;
        SendMessageA(panelWnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
        SendMessageA(panelWnd, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
    };
    rightClickLabel("Font");
    EXPECT_EQ(id->Font()->Name(), "Arial");
    EXPECT_EQ(id->Font()->Size(), 16);
    rightClickLabel("Background");
    EXPECT_EQ(kova::ColorToRGB(id->Color()), RGB(10, 20, 30));
    EXPECT_EQ(asked, (std::vector<kova::TDialogKind>{kova::TDialogKind::Popup, kova::TDialogKind::Font,
                                                      kova::TDialogKind::Popup, kova::TDialogKind::Color}));
    EXPECT_TRUE(panel->Background1->Enabled());
    rightClickLabel("Transparent");
    EXPECT_TRUE(id->Transparent());
    EXPECT_FALSE(panel->Background1->Enabled());
    // A transparent label shows the table through the panel's key colour.
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(panelWnd, &key, &alpha, &flags));
    EXPECT_NE(flags & LWA_COLORKEY, 0u);
    EXPECT_EQ(key, RGB(255, 255, 0));
    rightClickLabel("Transparent");
    EXPECT_FALSE(id->Transparent());
    EXPECT_EQ(GetWindowLongA(panelWnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);

    // The field menu from the logo: hide the table number.
    auto clickLogo = [&](const std::string& item) {
        choose = item;
        const int x = panel->LogoImage->Left() + 2, y = panel->LogoImage->Top() + 2;
        SendMessageA(panelWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageA(panelWnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    };
    clickLogo("Table ID");
    EXPECT_FALSE(id->Visible());
    EXPECT_FALSE(panel->TableID1->Checked());

    // Save the layout to the table's own file, spoil the label, load it back.
    clickLogo("Save Layout");
    ASSERT_TRUE(std::filesystem::exists(layoutFile));
    const int savedLeft = id->Left();
    id->SetLeft(savedLeft + 50);
    id->SetVisible(true);
    id->Font()->SetName("Courier New");
    panel->LoadLayout(layoutFile);
    EXPECT_EQ(id->Left(), savedLeft);
    EXPECT_FALSE(id->Visible());
    EXPECT_EQ(id->Font()->Name(), "Arial");
    // Save As and Load Layout go through the file dialogs.
    clickLogo("Save As...");
    EXPECT_TRUE(std::filesystem::exists(dir_ + "\\Layouts\\Other.ini"));
    id->SetLeft(savedLeft + 70);
    clickLogo("Load Layout");
    EXPECT_EQ(id->Left(), savedLeft);

    // A new table of the same group starts with the saved layout.
    HWND b = Open(2, "900,700");
    ASSERT_TRUE(b);
    ASSERT_TRUE(Scan());
    HWND panelB = OwnedWindow(b, "THUDTable");
    ASSERT_TRUE(panelB);
    auto* other = dynamic_cast<THUDTable*>(kova::TWinControl::FindControl(panelB));
    ASSERT_NE(other, nullptr);
    ASSERT_NE(other->LabelNamed("IDTable"), nullptr);
    EXPECT_EQ(other->LabelNamed("IDTable")->Left(), savedLeft);
    EXPECT_FALSE(other->LabelNamed("IDTable")->Visible());
    EXPECT_FALSE(other->TableID1->Checked());

    // With the option off the panels go.
    UserOptions.ShowHUD = 0;
    ASSERT_TRUE(Scan());
    EXPECT_FALSE(IsWindow(panelWnd));
    EXPECT_FALSE(IsWindow(panelB));
}

}  // namespace
}  // namespace kova::tables
