// The window scan against real windows: the simulated poker client opens
// tables, the test runs scans as the main window's timer would, and checks
// where the windows went, their z-order and the clicks the client saw.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/require.h"
#include "common/win32_testing.h"
#include "client_fixture.h"
#include "simclient_protocol.h"
#include "tables/engine/actionqueue.h"
#include "tables/engine/adapter_factory.h"
#include "tables/engine/autoplace.h"
#include "tables/model/enginelog.h"
#include "tables/logic/titleexpr.h"

namespace kova::tables {
namespace {

using namespace kova::test;
using namespace kova::tables::testing;

constexpr const char* kClient = "kovascantest";
constexpr const char* kTableClass = "KovaScanTable";
constexpr const char* kOtherClass = "KovaScanOther";
constexpr const char* kLobbyClass = "KovaScanLobby";

// Room types of the test's own clients, far from every real client's.
constexpr int32_t kBlindsRoom = 9001;
constexpr int32_t kLobbyRoom = 9002;


// Slots side by side, their activate rectangles 10 larger.
std::vector<TSlotRec> Row(int count, int top = 10) { return SlotRow(count, top, 10); }

TGroupRec Group(const char* classPattern, const char* title, int slots, int top = 10) {
    TGroupRec g;
    g.RoomIndex = 0;
    g.Name = "G";
    g.ClassPattern = classPattern;
    g.Title = Title(title);
    g.AutoPlace = g.AutoSize = g.AutoShift = 1;
    g.Slots = Row(slots, top);
    return g;
}


// Reads its small blind from "SB=<n>" in the title, as room adapters read
// theirs from the client's own title format.
class BlindsTable : public TPokerTable {
public:
    using TPokerTable::TPokerTable;
    void ParseTitle() override {
        char text[256] = {};
        GetWindowTextA(Window(), text, sizeof text);
        const std::string title = text;
        const size_t at = title.find("SB=");
        const int32_t blind = at == std::string::npos ? 0 : std::atoi(title.c_str() + at + 3);
        if (blind != SmallBlind) {
            SmallBlind = blind;
            if (IsValidGroup(GroupIndex) && RunningConfig.Groups[static_cast<size_t>(GroupIndex)].AutoSort) ResortPending = 1;
        }
        if (ThrowOnParse) throw std::runtime_error("title parser failed");
        if (OnParse) OnParse();
    }
    static inline bool ThrowOnParse = false;
    static inline std::function<void()> OnParse;
};

struct LobbyTable : TPokerTable {
    LobbyTable(HWND w, int32_t g, const std::string& t) : TPokerTable(w, g, t) { Kind = KindLobby; }
};

// The test's clients register themselves as a real client does: a table
// client for rooms of its own type, and a client of lobbies, recognised by
// their windows and collected by the scan while PokerStarsLobbyWanted asks.
const TAdapterRegistration blindsClient{TAdapterClient{
    .Name = "Test blinds",
    .RoomTypes = {kBlindsRoom},
    .MakeTable = [](HWND w, const std::string& title, const std::string&, int32_t, int32_t g)
        -> std::unique_ptr<TPokerTable> { return MakeTableAdapter<BlindsTable>(w, g, title); },
}};
const TAdapterRegistration lobbyClient{TAdapterClient{
    .Name = "Test lobby",
    .RoomTypes = {kLobbyRoom},
    .MakeTable = [](HWND w, const std::string& title, const std::string&, int32_t, int32_t g)
        -> std::unique_ptr<TPokerTable> { return MakeTableAdapter<LobbyTable>(w, g, title); },
    .Lobbies = {TLobbyRecognizer{
        .ClassPart = kLobbyClass,
        .TitlePart = "Test Lobby",
        .Wanted = &TEngineState::PokerStarsLobbyWanted,
        .Make = [](HWND w, const std::string& title, int32_t g) -> std::unique_ptr<TPokerTable> {
            return MakeTableAdapter<LobbyTable>(w, g, title);
        },
        .AdoptedLog = "Test lobby adopted %d",
        .CollectedLog = "Test lobby collected %d",
    }},
}};

class ScanTest : public ClientTest {
protected:
    ScanTest() : ClientTest(kClient) {}

    void SetUp() override {
        ClientTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        RunningConfig.Groups = {Group(kTableClass, "Table", 3)};
        PokerRooms.assign(2, TPokerRoom{});
        PokerRooms[0].Name = "Custom";
        PokerRooms[1].RoomType = kBlindsRoom;
    }

    void TearDown() override {
        ClientTest::TearDown();
        BlindsTable::ThrowOnParse = false;
        BlindsTable::OnParse = nullptr;
    }

    HWND Open(int id, const std::string& title, const char* cls = kTableClass, const char* size = "384x262",
              const char* pos = "1300,700") {
        return ClientTest::Open(id, cls, title, size, pos);
    }

    const TSlotRec& SlotOf(int group, int slot) { return RunningConfig.Groups[group].Slots[slot]; }
};

// ---- adoption and placement ------------------------------------------------------------

TEST_F(ScanTest, OneScanAdoptsEachNewTableIntoTheFirstFreeSlotAndPlacesIt) {
    HWND a = Open(1, "Table 1"), b = Open(2, "Table 2"), c = Open(3, "Table 3");
    HWND lobby = Open(4, "Lobby");                      // title does not match
    HWND other = Open(5, "Table 5", kOtherClass);       // class does not match
    ASSERT_TRUE(a && b && c && lobby && other);
    ASSERT_TRUE(Scan());
    ASSERT_EQ(Tables.size(), 3u);
    std::set<int32_t> slots;
    for (HWND h : {a, b, c}) {
        TPokerTable* t = TableOf(h);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->Kind, KindCustom);
        slots.insert(t->Slot);
        EXPECT_TRUE(InSlot(h, SlotOf(0, t->Slot))) << t->Slot;
    }
    EXPECT_EQ(slots, (std::set<int32_t>{0, 1, 2}));
    EXPECT_EQ(SessionStats.TablesSeen, 0);  // custom tables are not counted as played tables
    EXPECT_EQ(TableHandles().size(), 3u);
    EXPECT_EQ(WindowRect(lobby).left, 1300);
    EXPECT_EQ(WindowRect(other).left, 1300);

    // A fourth table shares the last slot.
    HWND d = Open(6, "Table 6");
    ASSERT_TRUE(Scan());
    ASSERT_NE(TableOf(d), nullptr);
    EXPECT_EQ(TableOf(d)->Slot, 3);
    EXPECT_TRUE(InSlot(d, SlotOf(0, 2)));
}

TEST_F(ScanTest, ATableOpenedOnTopOfEveryWindowIsAdoptedAtOnce) {
    HWND a = Open(1, "Table 1");
    ASSERT_TRUE(a);
    SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return GetTopWindow(nullptr) == a; }, 2000)) << "the table is not first in z-order";
    ASSERT_TRUE(Scan());
    ASSERT_NE(TableOf(a), nullptr);
    EXPECT_TRUE(InSlot(a, SlotOf(0, 0)));
    // Placed above every window that is not topmost, and no longer topmost itself.
    EXPECT_EQ(GetWindowLongA(a, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(ScanTest, MovesRaiseTheTableAndAFoldInTheLastSlotSinksIt) {
    HWND a = Open(1, "Table 1"), b = Open(2, "Table 2"), c = Open(3, "Table 3");
    ASSERT_TRUE(a && b && c);
    ASSERT_TRUE(Scan());
    // Every table was moved with HWND_NOTOPMOST: above windows that were not.
    HWND cover = CreateWindowExA(0, "STATIC", "cover", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(cover);
    SetWindowPos(cover, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (HWND h : {a, b, c}) EXPECT_TRUE(IsAbove(h, cover));

    // A fold hotkey (shared binding 1) on the table of the last slot sends it
    // below every window.
    RunningConfig.TOI.SendToBottomAfterFold = 1;
    PokerRooms[0].HotKeys[0].Binding.SharedNumber = 1;
    const size_t last = static_cast<size_t>(std::find_if(Tables.begin(), Tables.end(), [](const auto& t) { return t->Slot == 2; }) - Tables.begin());
    ASSERT_LT(last, Tables.size());
    HWND sunk = Tables[last]->Window();
    QueueTableAction(static_cast<int32_t>(last), 1, ActionHotKeyMacro);
    ASSERT_TRUE(Scan());
    EXPECT_TRUE(IsAbove(cover, sunk));
    for (HWND h : {a, b, c}) {
        if (h != sunk) {
            EXPECT_TRUE(IsAbove(h, sunk));
        }
    }
    DestroyWindow(cover);
}

TEST_F(ScanTest, AClosedTableIsDroppedAndAutoShiftClosesTheGap) {
    for (bool autoShift : {true, false}) {
        SCOPED_TRACE(autoShift);
        FreeAllTables();
        RunningConfig.Groups[0].AutoShift = autoShift;
        HWND h[3] = {Open(1, "Table 1"), Open(2, "Table 2"), Open(3, "Table 3")};
        ASSERT_TRUE(h[0] && h[1] && h[2]);
        ASSERT_TRUE(Scan());
        HWND middle = nullptr;
        for (HWND w : h)
            if (TableOf(w)->Slot == 1) middle = w;
        ASSERT_TRUE(middle);
        const int id = static_cast<int>(std::find(h, h + 3, middle) - h) + 1;
        ASSERT_TRUE(Command("close " + std::to_string(id)));
        ASSERT_TRUE(Scan());
        ASSERT_EQ(Tables.size(), 2u);
        std::vector<int32_t> slots;
        for (const TOwnedTable& t : Tables) {
            slots.push_back(t->Slot);
            EXPECT_TRUE(InSlot(t->Window(), SlotOf(0, t->Slot)));
        }
        EXPECT_EQ(slots, autoShift ? (std::vector<int32_t>{0, 1}) : (std::vector<int32_t>{0, 2}));
        for (int i = 1; i <= 3; ++i) Command("close " + std::to_string(i));
    }
}

TEST_F(ScanTest, AutoSortOrdersTablesByBlindsAndFollowsABlindChange) {
    RunningConfig.Groups[0].RoomIndex = 1;
    RunningConfig.Groups[0].AutoSort = 1;
    HWND sb10 = Open(1, "Table SB=10"), sb50 = Open(2, "Table SB=50"), sb25 = Open(3, "Table SB=25");
    ASSERT_TRUE(sb10 && sb50 && sb25);
    ASSERT_TRUE(Scan());
    ASSERT_TRUE(Scan());  // the blinds read in the first scan sort in the second
    EXPECT_TRUE(InSlot(sb50, SlotOf(0, 0)));
    EXPECT_TRUE(InSlot(sb25, SlotOf(0, 1)));
    EXPECT_TRUE(InSlot(sb10, SlotOf(0, 2)));

    ASSERT_TRUE(Command("title 1 \"Table SB=100\""));
    ASSERT_TRUE(Scan());
    EXPECT_TRUE(InSlot(sb10, SlotOf(0, 0)));
    EXPECT_TRUE(InSlot(sb50, SlotOf(0, 1)));
    EXPECT_TRUE(InSlot(sb25, SlotOf(0, 2)));
    EXPECT_EQ(TableHandles(), (std::vector<uintptr_t>{reinterpret_cast<uintptr_t>(sb10), reinterpret_cast<uintptr_t>(sb50),
                                                    reinterpret_cast<uintptr_t>(sb25)}));
}

TEST_F(ScanTest, SharedSlotGroupsNumberTheirTablesAsOneSequence) {
    RunningConfig.Groups.push_back(Group(kOtherClass, "Table", 3, 400));
    RunningConfig.Groups[0].SharedSlot = 1;
    RunningConfig.Groups[1].SharedSlot = 1;
    HWND a = Open(1, "Table 1");
    ASSERT_TRUE(a);
    ASSERT_TRUE(Scan());
    HWND b = Open(2, "Table 2", kOtherClass);
    ASSERT_TRUE(b);
    ASSERT_TRUE(Scan());
    ASSERT_NE(TableOf(b), nullptr);
    EXPECT_EQ(TableOf(a)->Slot, 0);
    EXPECT_EQ(TableOf(b)->GroupIndex, 1);
    EXPECT_EQ(TableOf(b)->Slot, 1);
    EXPECT_TRUE(InSlot(a, SlotOf(0, 0)));
    EXPECT_TRUE(InSlot(b, SlotOf(1, 1)));  // the other group's own slot 1
}

TEST_F(ScanTest, TOINewTablesGoToTheStackOrToTheGrid) {
    struct Case {
        int32_t newTablesTo;
        std::vector<int32_t> slots;  // of tables 1, 2, 3 opened one per scan
    };
    const Case cases[] = {
        {0, {2, 2, 2}},  // all stacked in the stack slot
        {1, {0, 1, 2}},  // grid slots 0 and 1, then the stack (the grid is full)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.newTablesTo);
        FreeAllTables();
        RunningConfig.Groups[0].TOIStyle = 1;
        RunningConfig.Groups[0].Slots = Row(4);
        RunningConfig.TOI.StackSlot = 2;
        RunningConfig.TOI.NewTablesTo = c.newTablesTo;
        HWND h[3];
        for (int i = 0; i < 3; ++i) {
            h[i] = Open(i + 1, "Table " + std::to_string(i + 1));
            ASSERT_TRUE(h[i]);
            ASSERT_TRUE(Scan());
        }
        for (int i = 0; i < 3; ++i) {
            ASSERT_NE(TableOf(h[i]), nullptr);
            EXPECT_EQ(TableOf(h[i])->Slot, c.slots[i]) << i;
            EXPECT_TRUE(InSlot(h[i], SlotOf(0, c.slots[i]))) << i;
        }
        for (int i = 1; i <= 3; ++i) Command("close " + std::to_string(i));
    }
}

TEST_F(ScanTest, ATitleThatStopsMatchingMovesTheTableOrDropsIt) {
    RunningConfig.Groups.push_back(Group(kTableClass, "Moved", 3, 400));
    for (bool allowChange : {true, false}) {
        SCOPED_TRACE(allowChange);
        FreeAllTables();
        SessionStats = TSessionStats{};
        RunningConfig.Groups[0].AllowChange = allowChange;
        PokerRooms[0].Name = "Generic";  // generic tables count as seen
        HWND h = Open(1, "Table 1");
        ASSERT_TRUE(h);
        ASSERT_TRUE(Scan());
        EXPECT_EQ(SessionStats.TablesSeen, 1);

        ASSERT_TRUE(Command("title 1 \"Moved 1\""));
        ASSERT_TRUE(Scan());
        ASSERT_NE(TableOf(h), nullptr);
        EXPECT_EQ(TableOf(h)->GroupIndex, allowChange ? 1 : 0);
        EXPECT_TRUE(InSlot(h, SlotOf(allowChange ? 1 : 0, 0)));

        ASSERT_TRUE(Command("title 1 \"Gone 1\""));
        ASSERT_TRUE(Scan());
        EXPECT_EQ(TableOf(h) == nullptr, allowChange);
        EXPECT_EQ(SessionStats.TablesSeen, allowChange ? 0 : 1);
        Command("close 1");
    }
}

TEST_F(ScanTest, AHiddenTableIsNeverAdoptedAndDroppedWhenItHides) {
    HWND a = Open(1, "Table 1");
    ASSERT_TRUE(a);
    ASSERT_TRUE(Scan());
    ASSERT_EQ(Tables.size(), 1u);
    ShowWindow(a, SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(a); }, 2000));
    ASSERT_TRUE(Scan());
    EXPECT_TRUE(Tables.empty());
    ASSERT_TRUE(Scan());
    EXPECT_TRUE(Tables.empty());
}

TEST(AdapterRegistry, EveryClientIsRegisteredOnceAndNoTwoClaimOneRoom) {
    std::set<std::string> names, roomNames;
    std::map<int32_t, std::string> roomTypes;
    for (const TAdapterClient& c : AdapterClients()) {
        EXPECT_TRUE(names.insert(c.Name).second) << c.Name;
        for (int32_t type : c.RoomTypes) EXPECT_TRUE(roomTypes.emplace(type, c.Name).second) << c.Name << " " << type;
        if (!c.RoomName.empty()) {
            EXPECT_TRUE(roomNames.insert(c.RoomName).second) << c.Name;
        }
    }
    // The library of a client is linked whole: its registration, which
    // nothing refers to, is there.
    EXPECT_EQ(names.count("Custom"), 1u);
}

TEST_F(ScanTest, TheFactoryChoosesTheAdapterByRoomTypeAndName) {
    // A room type of a client that this program is built without (while
    // there is one).
    int32_t unbuilt = 0;
    for (int32_t type : {RoomPokerStars, RoomOngameNoColour, RoomOngame, RoomIPoker, RoomRush})
        if (!unbuilt && !ClientOfRoomType(type)) unbuilt = type;
    struct Case {
        const char* name;
        int32_t roomType;
        const char* roomName;
        bool adopted;
        uint8_t kind;
        const char* log;
    };
    const Case cases[] = {
        {"custom room", 0, "Custom", true, KindCustom, "Custom added "},
        {"any other room", 0, "My room", true, KindGeneric, "Unknow added "},
        {"a room of another type no client claims", 5, "My room", true, KindGeneric, "Unknow added "},
        {"a client whose adapters are not built in", unbuilt, "Client", false, 0, nullptr},
        {"a client with its adapter", kBlindsRoom, "Blinds", true, KindGeneric, nullptr},
        {"a client's room named like the custom rooms", kBlindsRoom, "Custom", true, KindGeneric, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.roomType && !c.adopted) continue;  // every client is built in
        FreeAllTables();
        logLines_.clear();
        PokerRooms[0].RoomType = c.roomType;
        PokerRooms[0].Name = c.roomName;
        HWND h = Open(1, "Table 1");
        ASSERT_TRUE(h);
        ASSERT_TRUE(Scan());
        ASSERT_EQ(Tables.size(), c.adopted ? 1u : 0u);
        if (c.adopted) {
            EXPECT_EQ(Tables[0]->Kind, c.kind);
            EXPECT_EQ(Tables[0]->RoomIndex, 0);
            EXPECT_EQ(Tables[0]->GroupIndex, 0);
            if (c.kind == KindGeneric && c.roomType == kBlindsRoom) {
                EXPECT_NE(dynamic_cast<BlindsTable*>(Tables[0].get()), nullptr);
            }
        }
        if (c.log) {
            EXPECT_TRUE(Logged(c.log)) << ::testing::PrintToString(logLines_);
        }
        Command("close 1");
    }
}

TEST_F(ScanTest, ALobbyIsCollectedWhileWantedAndAGroupsWindowBecomesOneWhenAClientRecognisesIt) {
    // No group takes the lobby's class: it is collected only while wanted.
    HWND lobby = Open(1, "Test Lobby 1", kLobbyClass);
    ASSERT_TRUE(lobby);
    ASSERT_TRUE(Scan());
    EXPECT_TRUE(Lobbies.empty());
    PokerStarsLobbyWanted = 1;
    ASSERT_TRUE(Scan());
    ASSERT_EQ(Lobbies.size(), 1u);
    EXPECT_EQ(Lobbies[0]->Window(), lobby);
    EXPECT_EQ(Lobbies[0]->GroupIndex, -1);
    EXPECT_TRUE(Logged("Test lobby collected 0")) << ::testing::PrintToString(logLines_);
    ASSERT_TRUE(Scan());  // known now: not collected twice
    EXPECT_EQ(Lobbies.size(), 1u);
    EXPECT_TRUE(Tables.empty());

    // A group of a user's room takes a window that the client recognises as
    // its lobby: the lobby adapter, not a table.
    PokerStarsLobbyWanted = 0;
    RunningConfig.Groups.push_back(Group(kLobbyClass, "Lobby", 1));
    PokerRooms[0].Name = "My room";
    RunningConfig.Groups[1].RoomIndex = 0;
    HWND second = Open(2, "Test Lobby 2", kLobbyClass);
    ASSERT_TRUE(second);
    ASSERT_TRUE(Scan());
    ASSERT_EQ(Lobbies.size(), 2u);
    EXPECT_EQ(Lobbies[1]->Window(), second);
    EXPECT_TRUE(Tables.empty());
    EXPECT_TRUE(Logged("Test lobby adopted " + std::to_string(static_cast<int>(reinterpret_cast<intptr_t>(second)))))
        << ::testing::PrintToString(logLines_);
    EXPECT_TRUE(Logged("Add Lobby: Test Lobby 2"));
}

TEST_F(ScanTest, ALobbyIsKeptWhileHiddenAndDroppedWhenItsWindowIsGone) {
    PokerRooms[0].RoomType = kLobbyRoom;
    HWND h = Open(1, "Table lobby");
    ASSERT_TRUE(h);
    ASSERT_TRUE(Scan());
    EXPECT_TRUE(Tables.empty());
    ASSERT_EQ(Lobbies.size(), 1u);
    EXPECT_EQ(WindowRect(h).left, 1300);  // lobbies are never placed
    int32_t index = 5;
    EXPECT_TRUE(IsKnownWindow(h, index));
    EXPECT_EQ(index, -1);

    ShowWindow(h, SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(h); }, 2000));
    ASSERT_TRUE(Scan());
    EXPECT_EQ(Lobbies.size(), 1u);
    ASSERT_TRUE(Command("close 1"));
    ASSERT_TRUE(Scan());
    EXPECT_TRUE(Lobbies.empty());
    EXPECT_TRUE(Logged("Del LobbyT: Table lobby"));
}

// An information panel that records what the table asks of it.
struct FakeHUD : TTableHUD {
    explicit FakeHUD(std::vector<std::string>& calls) : calls(calls) {}
    ~FakeHUD() override { calls.push_back("freed"); }
    void CreateMyLabel(const std::string& name, int32_t, int32_t, const std::string& caption, const std::string&) override {
        calls.push_back("label " + name + " '" + caption + "'");
    }
    void LoadLayout(const std::string& file) override { calls.push_back("layout " + file); }
    void UpdateMenus() override { calls.push_back("menus"); }
    void FollowTable() override { calls.push_back("follow"); }
    std::vector<std::string>& calls;
};

TEST_F(ScanTest, TablesGetTheirPanelWhileTheOptionIsOnAndCustomTablesNever) {
    std::vector<std::string> calls;
    EngineServices.MakeHUD = [&](TPokerTable&) { return std::make_unique<FakeHUD>(calls); };
    ProgramFolder = "C:\\kova";
    RunningConfig.Name = "My:Config";
    UserOptions.ShowHUD = 1;
    HWND custom = Open(1, "Table 1");
    ASSERT_TRUE(custom);
    ASSERT_TRUE(Scan());
    EXPECT_TRUE(calls.empty());  // custom tables have no panel

    PokerRooms[0].Name = "Generic";
    HWND generic = Open(2, "Table 2");
    ASSERT_TRUE(generic);
    ASSERT_TRUE(Scan());
    ASSERT_TRUE(Scan());
    const std::vector<std::string> expected = {
        "label IDTable ' 1 '", "label PlayedNow ' '", "label PlayedTotal ' '",
        "layout C:\\kova\\Layouts\\LayMy_ConfigG.ini", "menus", "follow"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(TableOf(generic)->HUDShown, 1);

    // The frame: made on first use while the frame option is on.
    struct FakeFrame : TTableFrame {
        explicit FakeFrame(std::vector<std::string>& calls) : calls(calls) {}
        void SetState(int32_t colour) override { calls.push_back("frame " + std::to_string(colour)); }
        std::vector<std::string>& calls;
    };
    EngineServices.MakeFrame = [&](TPokerTable&) { return std::make_unique<FakeFrame>(calls); };
    calls.clear();
    ShowFrame(*TableOf(generic), 2);  // frame option off
    UserOptions.Frame = 1;
    ShowFrame(*TableOf(custom), 2);   // custom tables have no frame
    ShowFrame(*TableOf(generic), 3);
    EXPECT_EQ(calls, (std::vector<std::string>{"frame 3"}));
    EXPECT_NE(TableOf(generic)->Frame, nullptr);

    UserOptions.ShowHUD = 0;
    ASSERT_TRUE(Scan());
    EXPECT_EQ(calls.back(), "freed");
    EXPECT_EQ(TableOf(generic)->HUD, nullptr);
}

TEST_F(ScanTest, OneResetFreesEveryTableAndLobbyAndLeavesTheEngineAsAtStart) {
    std::vector<std::string> calls;
    EngineServices.MakeHUD = [&](TPokerTable&) { return std::make_unique<FakeHUD>(calls); };
    EngineServices.SoundPlayer = [&](const std::string& file, bool) { calls.push_back("sound '" + file + "'"); };
    UserOptions.ShowHUD = 1;
    PokerRooms[0].Name = "Generic";
    PokerStarsLobbyWanted = 1;
    HWND table = Open(1, "Table 1"), lobby = Open(2, "Test Lobby", kLobbyClass);
    ASSERT_TRUE(table && lobby);
    ASSERT_TRUE(Scan());
    ASSERT_EQ(Tables.size(), 1u);
    ASSERT_EQ(Lobbies.size(), 1u);
    ASSERT_NE(Tables[0]->HUD, nullptr);
    ASSERT_FALSE(EngineState.WindowClasses.empty());
    ActiveTableWnd = MouseOverWnd = Tables[0]->Wnd;
    ASSERT_TRUE(QueueTableAction(0, 1, ActionHotKeyMacro));
    ScanBusy = 1;
    RunWhenScanIdle([] {});
    ASSERT_EQ(EngineState.DeferredActions.size(), 1u);
    calls.clear();

    ResetEngine();
    EXPECT_TRUE(EngineState == TEngineState{});
    EXPECT_TRUE(EngineServices == TEngineServices{});
    // The table went with its panel, stopping the sound of the active table
    // while the services were still the test's.
    EXPECT_EQ(calls, (std::vector<std::string>{"sound ''", "freed"}));
}

TEST_F(ScanTest, ARemovedTableTakesItsQueuedActionsAndTheHandlesNamingItAlong) {
    HWND h[3] = {Open(1, "Table 1"), Open(2, "Table 2"), Open(3, "Table 3")};
    ASSERT_TRUE(h[0] && h[1] && h[2]);
    ASSERT_TRUE(Scan());
    ASSERT_EQ(Tables.size(), 3u);
    // Between two scans: actions queued for the first table and for the
    // last; the first is the active table and under the mouse.
    TPokerTable* last = Tables[2].get();
    ActiveTableWnd = MouseOverWnd = Tables[0]->Wnd;
    ASSERT_TRUE(QueueTableAction(0, 1, ActionHotKeyMacro));
    ASSERT_TRUE(QueueTableAction(2, 0, ActionPlaceByHand));
    RemoveTable(0);
    ASSERT_EQ(Tables.size(), 2u);
    EXPECT_EQ(ActiveTableWnd, 0u);
    EXPECT_EQ(MouseOverWnd, 0u);
    ASSERT_EQ(ActionQueue.Count, 1);
    EXPECT_EQ(ActionQueue.Entries[0], (TTableAction{static_cast<int32_t>(IndexOf(last)), 0, ActionPlaceByHand}));
}

// ---- queued actions -----------------------------------------------------------------------

TEST_F(ScanTest, PlacementByHandTakesTheNearestSlotAndSwaps) {
    HWND a = Open(1, "Table 1"), b = Open(2, "Table 2");
    ASSERT_TRUE(a && b);
    ASSERT_TRUE(Scan());
    TPokerTable* ta = TableOf(a);
    TPokerTable* tb = TableOf(b);
    if (ta->Slot != 0) std::swap(ta, tb);
    ASSERT_EQ(ta->Slot, 0);
    ASSERT_EQ(tb->Slot, 1);
    // The user drags table a onto slot 1 and lets go there.
    ta->Dragging = 1;
    SetWindowPos(ta->Window(), nullptr, 500, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(Scan());
    EXPECT_EQ(WindowRect(ta->Window()).left, 500);  // left alone while dragged
    const auto index = static_cast<int32_t>(IndexOf(ta));
    ASSERT_TRUE(QueueTableAction(index, 0, ActionPlaceByHand));
    ASSERT_TRUE(Scan());
    EXPECT_EQ(ta->Dragging, 0);
    EXPECT_EQ(ta->Slot, 1);
    EXPECT_EQ(tb->Slot, 0);
    EXPECT_TRUE(InSlot(ta->Window(), SlotOf(0, 1)));
    EXPECT_TRUE(InSlot(tb->Window(), SlotOf(0, 0)));
}



TEST_F(ScanTest, AQueuedHotkeyMacroClicksAtTheScaledPointsOnlyTheFirstEntryRuns) {
    struct Case {
        const char* name;
        uint8_t proportional;
        TScaleRef ref;
    };
    // Clicks at (200, 100) and (600, 500) at the reference size; (40, 20) and
    // (120, 100) at the minimum size.
    const Case cases[] = {
        {"proportional", 1, {800, 600, 0, 0}},
        {"two references", 0, {800, 600, 300, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreeAllTables();
        const size_t before = kova::sim::LeftClicksInLog(ClientLog()).size();  // the client keeps its log open: count, do not truncate
        synthetic_.clear();
        TPokerRoom& room = PokerRooms[0];
        room.Proportional = c.proportional;
        room.ScaleRef = c.ref;
        room.HotKeyCount = 2;
        room.HotKeys[0].ClickCount = 2;
        room.HotKeys[0].Clicks[0] = TMacroClick{1, 200, 100, 40, 20};
        room.HotKeys[0].Clicks[1] = TMacroClick{1, 600, 500, 120, 100};
        room.HotKeys[1].ClickCount = 1;
        room.HotKeys[1].Clicks[0] = TMacroClick{1, 10, 10, 10, 10};
        HWND h = Open(1, "Table 1");
        ASSERT_TRUE(h);
        ASSERT_TRUE(Scan());
        ASSERT_EQ(Tables.size(), 1u);
        RECT client;
        GetClientRect(h, &client);
        const int w = client.right, ht = client.bottom;
        std::vector<TPoint> expected;
        for (int i = 0; i < 2; ++i) {
            const TMacroClick& k = room.HotKeys[0].Clicks[i];
            const TPoint p = ScaleRoomPoint(c.proportional, c.ref, k.X, k.Y, k.XMin, k.YMin, w, ht);
            expected.push_back(p);
        }
        // Sanity of the scaling itself at this client size.
        if (c.proportional) {
            EXPECT_EQ(expected[0].X, RoundHalfEven(200.0 * w / 800));
        } else {
            EXPECT_EQ(expected[0].X, RoundHalfEven((200.0 - 40) * (w - 300) / 500) + 40);
        }

        ASSERT_TRUE(QueueTableAction(0, 1, ActionHotKeyMacro));
        ASSERT_TRUE(QueueTableAction(0, 2, ActionHotKeyMacro));  // dropped: only the first runs
        ASSERT_TRUE(Scan());
        EXPECT_EQ(ActionQueue.Count, 0);
        ASSERT_TRUE(WaitUntil([&] { return kova::sim::LeftClicksInLog(ClientLog()).size() >= before + 2; }, 3000)) << ClientLog();
        PumpFor(200);
        std::vector<kova::sim::LoggedClick> clicks = kova::sim::LeftClicksInLog(ClientLog());
        clicks.erase(clicks.begin(), clicks.begin() + static_cast<std::ptrdiff_t>(before));
        ASSERT_EQ(clicks.size(), 2u) << ClientLog();
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(clicks[i].x, expected[i].X) << i << "\n" << ClientLog();
            EXPECT_EQ(clicks[i].y, expected[i].Y) << i;
        }
        EXPECT_EQ(synthetic_, (std::vector<int>{1, 0}));
        Command("close 1");
    }
}

// ---- faults that must not stop the engine ----------------------------------------------------

TEST_F(ScanTest, AQueuedActionNamingAStaleTableIndexIsDropped) {
    HWND a = Open(1, "Table 1");
    ASSERT_TRUE(a);
    ASSERT_TRUE(Scan());
    PokerRooms[0].ScaleRef = {800, 600, 0, 0};
    PokerRooms[0].HotKeys[0].ClickCount = 1;
    PokerRooms[0].HotKeys[0].Clicks[0] = TMacroClick{1, 100, 100, 0, 0};
    // Queued for a list of five tables; the list now holds one.
    ASSERT_TRUE(QueueTableAction(4, 1, ActionHotKeyMacro));
    ASSERT_TRUE(Scan());
    EXPECT_EQ(ActionQueue.Count, 0);
    // Room hotkeys are numbered 1..20: others name nothing.
    for (int32_t n : {0, 21, -3}) {
        ASSERT_TRUE(QueueTableAction(0, n, ActionHotKeyMacro));
        ASSERT_TRUE(Scan());
    }
    // A config's start frees every table: what was queued goes with them.
    ASSERT_TRUE(QueueTableAction(0, 1, ActionHotKeyMacro));
    ASSERT_TRUE(QueueTableAction(0, 0, ActionPlaceByHand));
    FreeAllTables();
    EXPECT_EQ(ActionQueue.Count, 0);
    ASSERT_TRUE(Scan());
    PumpFor(200);
    EXPECT_TRUE(kova::sim::LeftClicksInLog(ClientLog()).empty()) << ClientLog();
    EXPECT_TRUE(synthetic_.empty());
}

TEST_F(ScanTest, AnAdapterThatThrowsEndsOnlyThatScanAndTheBusyFlagIsCleared) {
    RunningConfig.Groups[0].RoomIndex = 1;
    HWND a = Open(1, "Table SB=5");
    ASSERT_TRUE(a);
    BlindsTable::ThrowOnParse = true;
    EXPECT_TRUE(Scan());
    EXPECT_EQ(ScanBusy, 0);
    EXPECT_TRUE(std::any_of(logLines_.begin(), logLines_.end(),
                            [](const std::string& l) { return l.find("title parser failed") != std::string::npos; }));
    BlindsTable::ThrowOnParse = false;
    EXPECT_TRUE(Scan());  // scanning goes on
    EXPECT_TRUE(InSlot(a, SlotOf(0, 0)));
}

TEST_F(ScanTest, WorkQueuedWhileAScanRunsWaitsForItsEndWithoutBlocking) {
    RunningConfig.Groups[0].RoomIndex = 1;
    HWND a = Open(1, "Table SB=5");
    ASSERT_TRUE(a);
    std::vector<int> busyWhenRun;
    BlindsTable::OnParse = [&] {
        BlindsTable::OnParse = nullptr;
        EXPECT_FALSE(RunScan());  // no scan inside a scan
        RunWhenScanIdle([&] {
            busyWhenRun.push_back(ScanBusy);
            ScanPaused = 1;
            FreeAllTables();  // what Start does
        });
        EXPECT_TRUE(busyWhenRun.empty());
    };
    ASSERT_TRUE(Scan());
    EXPECT_EQ(busyWhenRun, (std::vector<int>{0}));
    EXPECT_TRUE(Tables.empty());
    EXPECT_FALSE(RunScan());  // paused
    ScanPaused = 0;
    RunWhenScanIdle([&] { busyWhenRun.push_back(ScanBusy); });  // idle: at once
    EXPECT_EQ(busyWhenRun.size(), 2u);
}

}  // namespace
}  // namespace kova::tables
