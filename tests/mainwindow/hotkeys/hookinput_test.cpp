// Hook-library input end to end: keys and mouse input injected with
// SendInput pass the real hook library, reach the real main form (created in
// this process over a scratch data folder) and act on the simulated poker
// client's tables: a room hotkey over a table plays its click macro there,
// a table dragged by its caption snaps into the slot under it, the
// switching bindings bring stacked tables forward in turn, and the
// program's own clicks start neither a hotkey nor a drag.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <set>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/require.h"
#include "common/win32_testing.h"
#include "framework/dialogs.h"
#include "mainwindow/dialogs/toolforms.h"
#include "mainwindow/hotkeys/hookinput.h"
#include "mainwindow/mainform/main.h"
#include "mainwindow/mainform/testfiles.h"
#include "simclient_protocol.h"
#include "tables/engine/autoplace.h"
#include "tables/engine/pokertable.h"

namespace {

using namespace kova;
using namespace kova::test;
using kova::mainwindow::TKOVAForm1;
namespace t = kova::tables;

constexpr const char* kClient = "kovahookinputtest";
constexpr const char* kTableClass = "KovaHookInputTable";

const Slot kSlots[] = {{20, 30, 400, 300}, {440, 30, 400, 300}, {860, 30, 400, 300}};

RECT WindowRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

// The slot whose rectangle the window has, or -1.
int SlotOf(HWND w) {
    const RECT r = WindowRect(w);
    for (int s = 0; s < 3; ++s)
        if (r.left == kSlots[s].left && r.top == kSlots[s].top && r.right - r.left == kSlots[s].width &&
            r.bottom - r.top == kSlots[s].height)
            return s;
    return -1;
}

void SendKey(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

// Mouse input at a screen point (the event carries the point, so it lands
// there whatever the cursor did before).
void SendMouseAt(int x, int y, DWORD buttons, DWORD data = 0) {
    const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int vw = GetSystemMetrics(SM_CXVIRTUALSCREEN), vh = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((static_cast<int64_t>(x - vx) * 65536 + vw - 1) / vw);
    in.mi.dy = static_cast<LONG>((static_cast<int64_t>(y - vy) * 65536 + vh - 1) / vh);
    in.mi.mouseData = data;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | buttons;
    SendInput(1, &in, sizeof in);
}

bool CursorAt(int x, int y) {
    SetCursorPos(x, y);
    return WaitUntil(
        [&] {
            POINT p{};
            GetCursorPos(&p);
            return p.x == x && p.y == y;
        },
        3000);
}

POINT Centre(HWND w) {
    const RECT r = WindowRect(w);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class HookInput : public ::testing::Test {
protected:
    void SetUp() override {
        KOVA_REQUIRE_SIMCLIENT();
        RegisterFrameworkClasses();
        dir_ = TempDir();
        log_ = dir_ + "\\clicks.log";
        TKOVAForm1::DataFolderOverride = dir_;
        t::ResetEngine();
        SetDialogResponder([this](const TDialogRequest& r) {
            messages_.push_back(r.text);
            TDialogAnswer a;
            a.result = mrOk;
            return a;
        });
        TestConfigData config{"Hooks", {TestGroupData{"Tables", "Hook Table", kTableClass,
                                                      {kSlots[0], kSlots[1], kSlots[2]}}}};
        WriteFile(Path("PlaceConfig.cnfg"), PlaceConfigFile({config}, 0));
        WriteFile(Path("PokerRooms.kov"), PokerRoomRecord("Test Room", kTableClass));
        ASSERT_TRUE(CopyFileA((ExeDir() + "\\mskbrdHook.dll").c_str(), Path("mskbrdHook.dll").c_str(), FALSE));

        ASSERT_TRUE(client_.Start("\"" + SimClientExe() + "\" --name " + kClient + " --log \"" + log_ + "\""));
        ASSERT_NE(WaitForWindow(kova::sim::kControlClass, kClient), nullptr);

        form_ = TCustomForm::Create<TKOVAForm1>(Application());
        form_->Show();
        ASSERT_TRUE(WaitUntil([&] { return form_->FirstActivationDone(); }));
        ASSERT_TRUE(form_->Hook().Loaded());
        // The program's own input, still passed on to the hook library.
        auto seam = t::EngineServices.SyntheticInputSeam;
        t::EngineServices.SyntheticInputSeam = [this, seam](int flag) {
            synthetic_.push_back(flag);
            if (seam) seam(flag);
        };
        form_->RadioBtnUnderMouse->SetChecked(true);
        form_->RadioBtnActiveTable->SetChecked(false);
        ASSERT_EQ(t::PokerRooms.size(), 1u);
    }

    void TearDown() override {
        if (form_) form_->Free();
        if (client_.Id()) {
            kova::sim::SendCommand(kClient, "quit");
            client_.WaitForExit(5000);
        }
        SetDialogResponder(nullptr);
        TKOVAForm1::DataFolderOverride.clear();
        Application()->OnMinimize = nullptr;
        t::ResetEngine();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    std::string Path(const std::string& name) const { return dir_ + "\\" + name; }

    HWND OpenTable(int id) {
        const std::string cmd = "open id=" + std::to_string(id) + " class=" + kTableClass + " title=\"Hook Table " +
                                std::to_string(id) + "\" size=300x200 pos=1300,700";
        return reinterpret_cast<HWND>(kova::sim::SendCommand(kClient, cmd.c_str()));
    }

    // Opens `count` tables, starts the config and waits until each has a
    // slot of its own.
    std::vector<HWND> StartWithTables(int count) {
        std::vector<HWND> tables;
        for (int i = 1; i <= count; ++i) tables.push_back(OpenTable(i));
        for (HWND h : tables) EXPECT_NE(h, nullptr);
        form_->StartConfig();
        EXPECT_TRUE(form_->HookRunning());
        EXPECT_TRUE(WaitUntil(
            [&] {
                std::vector<bool> used(3, false);
                for (HWND h : tables) {
                    const int s = SlotOf(h);
                    if (s < 0 || used[static_cast<size_t>(s)]) return false;
                    used[static_cast<size_t>(s)] = true;
                }
                return t::Tables.size() == tables.size();
            },
            10000));
        return tables;
    }

    std::string ReadLog() const {
        std::ifstream in(log_);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    static t::TPokerTable* TableOf(HWND h) {
        for (const t::TOwnedTable& table : t::Tables)
            if (table && table->Window() == h) return table.get();
        return nullptr;
    }

    // Room hotkey 1 of the room: F6 alone, one click at (300, 200) of its
    // reference size (scaled in proportion to the table's client size).
    t::TRoomHotKey& SetF6Macro() {
        t::TPokerRoom& room = t::PokerRooms[0];
        room.Proportional = 1;
        room.HotKeyCount = 1;
        t::TRoomHotKey& k = room.HotKeys[0];
        k.Binding.Modifier = 0;
        k.Binding.Key = VK_F6;
        k.ClickCount = 1;
        k.Clicks[0] = t::TMacroClick{1, 300, 200, 0, 0};
        return k;
    }

    void PressKey(WORD vk) {
        SendKey(vk, false);
        SendKey(vk, true);
    }

    std::string dir_, log_;
    TKOVAForm1* form_ = nullptr;
    ChildProcess client_;
    std::vector<std::string> messages_;
    std::vector<int> synthetic_;
};

TEST_F(HookInput, ARoomHotKeyOverATablePlaysItsMacroThereAndOnlyOnce) {
    const std::vector<HWND> tables = StartWithTables(2);
    ASSERT_EQ(tables.size(), 2u);
    const t::TRoomHotKey& key = SetF6Macro();
    HWND target = tables[1];
    const POINT over = Centre(target);
    ASSERT_TRUE(CursorAt(over.x, over.y));
    // Under Wine the key is sometimes lost when it follows the cursor's
    // move at once; a user's key comes later too.
    PumpFor(1500);
    const size_t before = kova::sim::LeftClicksInLog(ReadLog()).size();

    PressKey(VK_F6);
    ASSERT_TRUE(WaitUntil([&] { return kova::sim::LeftClicksInLog(ReadLog()).size() > before; }, 10000))
        << "macro runs " << synthetic_.size() / 2 << ", last key " << mainwindow::HookInputState.Last.Key
        << ", target " << mainwindow::HookInputState.Current.Target << ", foreground " << GetForegroundWindow()
        << ", under cursor " << mainwindow::TableIndexUnderCursor();
    PumpFor(600);  // a few more scans: nothing else may follow
    EXPECT_EQ(synthetic_, (std::vector<int>{1, 0}));  // one macro, its clicks bracketed

    const t::TPokerTable* table = TableOf(target);
    ASSERT_NE(table, nullptr);
    const t::TMacroClick& c = key.Clicks[0];
    const t::TPoint expected = t::ScaledRoomPoint(*table, t::PokerRooms[0].ScaleRef, c.X, c.Y, c.XMin, c.YMin);
    std::vector<kova::sim::LoggedClick> clicks = kova::sim::LeftClicksInLog(ReadLog());
    clicks.erase(clicks.begin(), clicks.begin() + static_cast<std::ptrdiff_t>(before));
    ASSERT_EQ(clicks.size(), 1u) << ReadLog();
    EXPECT_EQ(clicks[0].table, 2);  // tables[i] is the client's table i + 1
    EXPECT_EQ(clicks[0].x, expected.X) << ReadLog();
    EXPECT_EQ(clicks[0].y, expected.Y) << ReadLog();

    // The program's own click (press and release on the table) neither
    // started a drag nor left anything queued, and the tables kept their slots.
    EXPECT_EQ(t::ActionQueue.Count, 0);
    EXPECT_EQ(table->ButtonHeld, 0);
    EXPECT_EQ(table->Dragging, 0);
    EXPECT_EQ(mainwindow::HookInputState.DraggedTable, -1);
    EXPECT_GE(SlotOf(tables[0]), 0);
    EXPECT_GE(SlotOf(tables[1]), 0);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(HookInput, AKeyWithSendToActiveTableActsOnTheForegroundTable) {
    const std::vector<HWND> tables = StartWithTables(2);
    ASSERT_EQ(tables.size(), 2u);
    SetF6Macro();
    form_->RadioBtnUnderMouse->SetChecked(false);
    form_->RadioBtnActiveTable->SetChecked(true);
    // The cursor over table 0, table 1 in the foreground.
    const POINT over = Centre(tables[0]);
    ASSERT_TRUE(CursorAt(over.x, over.y));
    SetForegroundWindow(tables[1]);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == tables[1]; }, 3000));
    const size_t before = kova::sim::LeftClicksInLog(ReadLog()).size();

    PressKey(VK_F6);
    ASSERT_TRUE(WaitUntil([&] { return kova::sim::LeftClicksInLog(ReadLog()).size() > before; }, 10000)) << ReadLog();
    PumpFor(400);
    std::vector<kova::sim::LoggedClick> clicks = kova::sim::LeftClicksInLog(ReadLog());
    ASSERT_EQ(clicks.size(), before + 1) << ReadLog();
    EXPECT_EQ(clicks.back().table, 2);
}

TEST_F(HookInput, ATableDraggedByItsCaptionSnapsIntoTheFreeSlotUnderIt) {
    const std::vector<HWND> tables = StartWithTables(2);
    ASSERT_EQ(tables.size(), 2u);
    HWND dragged = SlotOf(tables[0]) == 0 ? tables[0] : tables[1];
    HWND other = dragged == tables[0] ? tables[1] : tables[0];
    ASSERT_EQ(SlotOf(dragged), 0);
    ASSERT_EQ(SlotOf(other), 1);

    // A press and release on the caption without a move: nothing changes.
    RECT r = WindowRect(dragged);
    POINT client{0, 0};
    ClientToScreen(dragged, &client);
    const int captionY = (r.top + client.y) / 2;
    const int grabX = (r.left + r.right) / 2;
    SendMouseAt(grabX, captionY, MOUSEEVENTF_LEFTDOWN);
    PumpFor(100);
    SendMouseAt(grabX, captionY, MOUSEEVENTF_LEFTUP);
    PumpFor(600);
    EXPECT_EQ(SlotOf(dragged), 0);
    EXPECT_EQ(TableOf(dragged)->Slot, 0);
    EXPECT_EQ(t::ActionQueue.Count, 0);

    // Drag it by hand over slot 2 (free): moves a little apart, as a hand
    // makes them, then let go.
    const int dx = kSlots[2].left - kSlots[0].left + 30;
    SendMouseAt(grabX, captionY, MOUSEEVENTF_LEFTDOWN);
    PumpFor(80);
    constexpr int kSteps = 12;
    for (int i = 1; i <= kSteps; ++i) {
        SendMouseAt(grabX + dx * i / kSteps, captionY + 5 * i / kSteps, 0);
        PumpFor(70);
    }
    // While held the scan leaves the table where the hand has it.
    t::TPokerTable* table = TableOf(dragged);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Dragging, 1);
    EXPECT_EQ(SlotOf(dragged), -1);
    SendMouseAt(grabX + dx, captionY + 5, MOUSEEVENTF_LEFTUP);

    EXPECT_TRUE(WaitUntil([&] { return SlotOf(dragged) == 2; }, 5000)) << WindowRect(dragged).left;
    EXPECT_EQ(TableOf(dragged)->Slot, 2);
    EXPECT_EQ(TableOf(dragged)->Dragging, 0);
    EXPECT_EQ(SlotOf(other), 1);
    PumpFor(400);
    EXPECT_EQ(SlotOf(dragged), 2);  // and stays there
    EXPECT_EQ(mainwindow::HookInputState.DraggedTable, -1);
}

TEST_F(HookInput, TheSwitchingKeyBringsStackedTablesForwardInTurn) {
    const std::vector<HWND> tables = StartWithTables(3);
    ASSERT_EQ(tables.size(), 3u);
    // All three into one place, the cursor over it.
    for (t::TGroupRec& g : t::RunningConfig.Groups)
        for (t::TSlotRec& s : g.Slots) s = t::TSlotRec{kSlots[0].left, kSlots[0].top, 400, 300, kSlots[0].left,
                                                       kSlots[0].top, 400, 300};
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND h : tables)
            if (SlotOf(h) != 0) return false;
        return true;
    }));
    t::UserOptions.Bindings[0].Modifier = 0;
    t::UserOptions.Bindings[0].Key = VK_F7;  // "Scroll to next window:"
    const POINT over = Centre(tables[0]);
    ASSERT_TRUE(CursorAt(over.x, over.y));

    // Each press brings the next table of the list forward, round and round.
    auto topTable = [&]() -> int {
        const HWND top = GetAncestor(WindowFromPoint(over), GA_ROOT);
        for (size_t i = 0; i < t::Tables.size(); ++i)
            if (t::Tables[i]->Window() == top) return static_cast<int>(i);
        return -1;
    };
    PumpFor(300);  // the stack settles: no table moves any more
    std::vector<int> seen;
    for (int press = 0; press < 4; ++press) {
        const int before = topTable();
        ASSERT_GE(before, 0);
        PressKey(VK_F7);
        EXPECT_TRUE(WaitUntil([&] { return topTable() == (before + 1) % 3; }, 5000)) << "press " << press;
        seen.push_back(topTable());
    }
    // Round and round: every table had its turn.
    EXPECT_EQ(std::set<int>(seen.begin(), seen.end()).size(), 3u);
}

TEST_F(HookInput, WhileTheHookRunsTheGrabbersPickEndsOnTheNextPressAnywhere) {
    const std::vector<HWND> tables = StartWithTables(1);
    ASSERT_EQ(tables.size(), 1u);
    form_->OpenGrabber(0);
    mainwindow::TTGrabberForm* grabber = mainwindow::TGrabberForm;
    ASSERT_NE(grabber, nullptr);
    grabber->SpeedButton1->Click();
    ASSERT_EQ(grabber->Picking, 1);
    // No capture: the hook reports the press, wherever it is.
    EXPECT_NE(GetCapture(), form_->Handle());

    // A press on the grabber itself picks nothing (its button cancels).
    RECT g = WindowRect(grabber->Handle());
    POINT client{0, 0};
    ClientToScreen(grabber->Handle(), &client);
    const POINT onGrabber{(g.left + g.right) / 2, (client.y + g.bottom) / 2};
    ASSERT_EQ(GetAncestor(WindowFromPoint(onGrabber), GA_ROOT), grabber->Handle());
    SendMouseAt(onGrabber.x, onGrabber.y, MOUSEEVENTF_LEFTDOWN);
    SendMouseAt(onGrabber.x, onGrabber.y, MOUSEEVENTF_LEFTUP);
    PumpFor(300);
    EXPECT_EQ(grabber->Picking, 1);
    EXPECT_EQ(grabber->TitleEdit->Text(), "");

    // A press on the table (in the other process) ends the picking with
    // its details.
    const RECT r = WindowRect(tables[0]);
    const POINT on = Centre(tables[0]);
    SendMouseAt(on.x, on.y, MOUSEEVENTF_LEFTDOWN);
    SendMouseAt(on.x, on.y, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitUntil([&] { return grabber->Picking == 0; }, 3000));
    EXPECT_EQ(grabber->TitleEdit->Text(), "Hook Table 1");
    EXPECT_EQ(grabber->ClassEdit->Text(), kTableClass);
    EXPECT_EQ(grabber->PosXEdit->Text(), std::to_string(r.left));
    EXPECT_EQ(grabber->SizeYEdit->Text(), std::to_string(r.bottom - r.top));
    EXPECT_EQ(grabber->SpeedButton1->Caption(), "Click to Select Window");
    EXPECT_FALSE(grabber->SpeedButton1->Down());
}

}  // namespace
