// The engine's global data model: the records of configs, groups, slots,
// poker rooms, hotkeys and calculator data, and the engine's state (the
// table and lobby lists, the loaded files, the flags) gathered in one
// object. Everything here is plain data, read and written on the GUI thread.
//
// Records that are stored in files keep every byte the engine does not
// interpret (padding, bytes past a short string's length, fields that
// belong to the editors or the room adapters), so that a record read and
// written again comes out byte for byte the same. The byte layouts are the
// field tables in files/recordcodec.h; window handles are uintptr_t and
// colours plain integers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "poker/hand_record.h"
#include "tables/model/callback.h"
#include "tables/model/shortstring.h"

namespace kova::tables {

class TPokerTable;  // the table adapter (engine/pokertable.h, Win32 code)

// ---- shared small records --------------------------------------------------

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TPoint&) const = default;
};

// A colour stored as three bytes: red, green, blue.
struct TRGB {
    uint8_t R = 0, G = 0, B = 0;
    bool operator==(const TRGB&) const = default;
};

// Window-title expression: the text as typed and up to three operands
// joined left to right by "and", "or" or "and not" (matching: titleexpr.h).
struct TTitleSpec {
    static constexpr std::size_t ByteSize = 246;
    TShortString<100> Text;
    TShortString<40> Operand1, Operand2, Operand3;
    TShortString<10> Operator1, Operator2;  // Operator1 joins 1 and 2, Operator2 the result and 3
    bool operator==(const TTitleSpec&) const = default;
};

struct TWindowSize {
    static constexpr std::size_t ByteSize = 52;
    TShortString<40> Name;
    std::array<uint8_t, 3> Padding{};
    int32_t Width = 0;
    int32_t Height = 0;
    bool operator==(const TWindowSize&) const = default;
};

// One slot in screen pixels: normal and activate rectangle.
struct TSlotRec {
    static constexpr std::size_t ByteSize = 32;
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    int32_t ActLeft = 0, ActTop = 0, ActWidth = 0, ActHeight = 0;
    bool operator==(const TSlotRec&) const = default;
};

// ---- configs ----------------------------------------------------------------

// One group of like windows of a config.
struct TGroupRec {
    int32_t RoomIndex = 0;          // index into the poker-room list
    TShortString<40> RoomName;
    std::string Name;               // 8-bit text
    TTitleSpec Title;
    std::string ClassPattern;       // "*" = every class, else a case-sensitive substring
    uint8_t AutoPlace = 0;
    uint8_t AutoSort = 0;
    uint8_t AutoShift = 0;
    uint8_t AutoSize = 0;
    uint8_t AutoActivate = 0;
    uint8_t AllowChange = 0;        // honoured in group 0 only
    uint8_t ActivateSize = 0;
    uint8_t MouseActivate = 0;
    uint8_t SharedSlot = 0;
    uint8_t TOIStyle = 0;
    TWindowSize Size1;
    TWindowSize Size2;              // activate size for mouse activation
    std::vector<TSlotRec> Slots;
    bool operator==(const TGroupRec&) const = default;
};

// The 20-byte block of TOI settings of a config.
struct TTOIConfig {
    static constexpr std::size_t ByteSize = 20;
    int32_t StackSlot = 0;
    int32_t NewTablesTo = 0;            // 0 stack, 1 grid
    uint8_t WhenAutoActivated = 0;      // the "When Auto-Activated" choice
    uint8_t AfterEnteringPot = 0;
    uint8_t SendToBottomAfterFold = 0;
    uint8_t Padding = 0;                // left as it is by the TOI dialog
    int32_t KeepInGridCount = 0;
    int32_t GridMinBB = 0;
    bool operator==(const TTOIConfig&) const = default;
};

struct TPlaceConfig {
    std::string Name;
    TTOIConfig TOI;
    std::vector<TGroupRec> Groups;
    bool operator==(const TPlaceConfig&) const = default;
};

// Header of "PlaceConfig.cnfg" (32 bytes).
struct TConfigFileHeader {
    static constexpr std::size_t ByteSize = 32;
    TShortString<9> Marker;              // bytes 0-9: "KOVAv2.05" when written
    std::array<uint8_t, 14> Kept10{};    // bytes 10-23, not interpreted
    int32_t SelectedIndex = -1;          // bytes 24-27
    uint8_t Byte28 = 0;                  // byte 28, written as 0
    std::array<uint8_t, 3> Kept29{};     // bytes 29-31, not interpreted
    bool operator==(const TConfigFileHeader&) const = default;
};

// ---- poker rooms -------------------------------------------------------------

struct TScaleRef {
    int32_t W = 0, H = 0;        // client size at window size 1 (reference)
    int32_t WMin = 0, HMin = 0;  // client size at window size 2 (minimum)
    bool operator==(const TScaleRef&) const = default;
};

struct TColourPoint {
    int32_t X = 0, Y = 0;        // at the reference size
    int32_t XMin = 0, YMin = 0;  // at the minimum size
    bool operator==(const TColourPoint&) const = default;
};

struct TTurnAlertStep {
    int32_t Delay = 0;  // seconds from the turn's start
    uint8_t BringToTop = 0, Flash = 0, Sound = 0, Frame = 0;
    bool operator==(const TTurnAlertStep&) const = default;
};

struct TMacroClick {
    static constexpr std::size_t ByteSize = 20;
    int32_t Enabled = 0;  // 0 = skip the click
    int32_t X = 0, Y = 0;
    int32_t XMin = 0, YMin = 0;
    bool operator==(const TMacroClick&) const = default;
};

struct THotKeyBinding {
    static constexpr std::size_t ByteSize = 60;
    int32_t SharedNumber = 0;           // room hotkey: 1..10 shared binding, 0 own keys
    std::array<uint8_t, 48> Kept4{};    // bytes 4-51: the editors' (action name and more)
    int32_t Modifier = 0;               // 0, 16 Shift, 17 Ctrl, 18 Alt
    int32_t Key = 0;                    // virtual-key or mouse code
    bool operator==(const THotKeyBinding&) const = default;
};

struct TRoomHotKey {
    static constexpr std::size_t ByteSize = 224;
    THotKeyBinding Binding;
    int32_t ClickCount = 0;             // 0..8
    std::array<TMacroClick, 8> Clicks{};
    bool operator==(const TRoomHotKey&) const = default;
};

// An event macro of a room. KeptBytes is the record as last read (zero in a
// new one); the fields overwrite their own places in it when it is written.
struct TEventMacro {
    static constexpr std::size_t ByteSize = 328;
    uint8_t Enabled = 0;
    uint8_t OnTurn = 0;
    uint8_t OnColour = 0;
    uint8_t SameClick = 0;              // editor only
    uint8_t OnlyActive = 0;
    double TurnDelayMin = 0, ColourDelayMin = 0, TurnDelayMax = 0, ColourDelayMax = 0;  // seconds
    TScaleRef ScaleRef;
    TColourPoint Point;
    TRGB Colour;                        // at window size 1
    TRGB Colour2;                       // at window size 2, editor only
    int32_t Tolerance = 0;
    int32_t Tolerance2 = 0;             // editor only
    TMacroClick Click;
    std::array<uint8_t, ByteSize> KeptBytes{};
    bool operator==(const TEventMacro&) const = default;
};

// Room types of the room record that belong to a poker client. A room of
// such a type is adapted only by that client's adapters; while they are not
// part of the program its windows get none (the scan tries them again). Any
// other type is a room of the user's own: generic or "Custom" tables.
enum : int32_t {
    RoomPokerStars = 1,
    RoomOngameNoColour = 2,
    RoomOngame = 3,
    RoomIPoker = 4,
    RoomRush = 6,
};
constexpr bool IsClientRoomType(int32_t type) {
    return type == RoomPokerStars || type == RoomOngameNoColour || type == RoomOngame || type == RoomIPoker ||
           type == RoomRush;
}

// One poker room (10968 bytes in "PokerRooms.kov"). KeptBytes is the record
// as last read (zero in a new room); the fields overwrite their own places
// in it when it is written. Fields marked "editor only" are not read by the
// engine but belong to the room editor.
struct TPokerRoom {
    static constexpr std::size_t ByteSize = 10968;
    TShortString<10> Marker;            // "KOVAv3.08" when written
    uint8_t Listed = 0;                 // shown in the group editor's room list
    int32_t RoomType = 0;               // 1 PokerStars, 2 Ongame w/o colour test, 3 Ongame, 4 iPoker, 6 Rush
    TShortString<40> Name;              // "Custom" selects the custom adapter
    TShortString<40> WindowClass;
    std::array<TTitleSpec, 10> Titles{};
    std::array<TWindowSize, 10> Sizes{};
    uint8_t FoldButtonActivation = 0;   // editor only: activation by Fold button appearance
    uint8_t FlashedSeatActivation = 0;  // editor only: activation by flashed seat
    uint8_t Proportional = 0;
    TScaleRef ScaleRef;
    TColourPoint FoldPoint;
    TRGB FoldColour;                    // at window size 1
    TRGB FoldColour2;                   // at window size 2, editor only
    int32_t Tolerance = 0;              // per channel
    int32_t Tolerance2 = 0;             // editor only
    int32_t TotalTimeBank = 0;          // seconds, editor only
    uint8_t CommonBringToTop = 0;       // editor only
    uint8_t CommonFlash = 0;            // editor only
    uint8_t CommonSound = 0;            // editor only
    uint8_t FrameOn = 0;
    std::array<TTurnAlertStep, 4> AlertSteps{};  // T0..T3
    int32_t HotKeyCount = 0;            // 0..20
    std::array<TRoomHotKey, 20> HotKeys{};       // hotkey n is HotKeys[n - 1]
    std::array<TEventMacro, 4> EventMacros{};    // 0 time bank, 1 I'm back, 2 info tab, 3 betpot
    std::array<uint8_t, ByteSize> KeptBytes{};
    bool operator==(const TPokerRoom&) const = default;
};

// ---- user options ("user.ini") ------------------------------------------------

struct TUserOptions {
    static constexpr std::size_t ByteSize = 1212;
    uint8_t ShowHUD = 0;
    std::array<uint8_t, 2> Kept1{};     // bytes 1-2, not used
    uint8_t Sound = 0;
    uint8_t Frame = 0;
    std::array<uint8_t, 3> Kept5{};     // bytes 5-7, padding
    // Binding n-1 is global hotkey n; 0 and 1 are also the wheel steps;
    // 10..19 are the shared bindings 1..10 of room hotkeys.
    std::array<THotKeyBinding, 20> Bindings{};
    uint8_t UnderMouse = 0;
    uint8_t ActiveTable = 0;
    std::array<uint8_t, 2> Kept1210{};  // bytes 1210-1211, padding
    bool operator==(const TUserOptions&) const = default;
};

// ---- pending-action queue and session counters -------------------------------

struct TTableAction {
    int32_t TableIndex = 0;  // index into Tables
    int32_t Argument = 0;
    uint8_t Kind = 0;        // 0 room hotkey macro, 1 manual placement, 2 wheel up, 3 wheel down
    bool operator==(const TTableAction&) const = default;
};

// Used 1-based: entry k is Entries[k - 1]; entry 1 is the oldest.
struct TActionQueue {
    static constexpr int32_t Capacity = 10;
    int32_t Count = 0;
    std::array<TTableAction, Capacity> Entries{};
    bool operator==(const TActionQueue&) const = default;
};

struct TSessionStats {
    int32_t LiveTables = 0;   // tables counted by the last scan
    int32_t TablesSeen = 0;   // a new table's number is TablesSeen + 1
    bool operator==(const TSessionStats&) const = default;
};

// The main window's options that the engine reads while it scans.
struct TEngineOptions {
    bool LBtnMouseActivate = false;  // mouse activation by the left button
    int32_t MouseActDelay = 0;       // hover delay, whole seconds
    bool OnlyPlayed = false;         // count only cash tables the user sits at
    bool JumpMouse = false;          // the cursor jumps onto a newly activated table
    // Event macros run by the tick: 0 time bank, 1 I'm back, 2 info tab
    // (every fifth tick), 3 bet pot (every tick).
    bool EventTimeBank = false;
    bool EventImBack = false;
    bool EventInfoTab = false;
    bool EventBetPot = false;
    std::string FrameThickness = "6";  // the frame thickness as typed
    std::string OngameHHDir;           // the Ongame client's hand-history folder
    // The Full Tilt Poker lobby's registrator, read by its lobby adapter on
    // every tick: the page's edits as typed (keep open, total tournaments,
    // lobby rows; 8, 16 and 4 stand for text that is not a number). It
    // honours the PokerStars page's pop-up and lobby boxes too.
    std::string CurTourEditFTP = "8";
    std::string TotalTourEditFTP = "16";
    std::string MaxTourEditFTP = "4";
    // The PokerStars page: hand-history folder and level timer, the
    // tournament auto-registrator, pop-ups, waitlist and closing of tables.
    struct TPokerStarsOptions {
        std::string HHDir;                // hand-history folder
        bool TimerEnabled = false;        // "Timer Enabled": the level clock
        bool NewerClient = false;         // RGPokerStarsN: "PokerStars 7"
        bool SpinAndGo = false;           // RGSNG: "Spin And Go"
        int32_t KeepOpen = 8;             // CurTourEdit
        int32_t TotalTournaments = 16;    // TotalTourEdit
        int32_t LobbyRows = 4;            // MaxTourEdit
        bool ClickSNGTab = false;         // ClickSNGtabCB
        bool AutoClosePopups = false;     // AutoCloseCB
        bool WithoutBuyIn = false;        // WithoutBuyInCB
        bool SendToBottom = false;        // SendToBottomCB
        bool YesWaitList = false;         // YesWaitListCB
        bool MaxWaitList = false;         // MaxWaitListCB
        int32_t MaxWaitListNum = 8;       // MaxWaitListEdit
        bool NoWaitList = false;          // NoWaitListCB
        bool AutoCloseTour = false;       // AutoCloseTourCB
        int32_t CloseTimeTour = 2;        // CloseTimeTourEdit, seconds
        bool AutoCloseCash = false;       // AutoCloseCashCB
        int32_t CloseTimeCash = 10;       // CloseTimeCashEdit, seconds
        bool TourTimeBank = false, TourImBack = false, TourInfoTab = false;  // tournament event macros
        bool CashTimeBank = false, CashImBack = false, CashInfoTab = false;  // cash event macros
        bool operator==(const TPokerStarsOptions&) const = default;
    } PokerStars;
    bool operator==(const TEngineOptions&) const = default;
};

// ---- calculator data ---------------------------------------------------------

// An opponent model ("DefaultModel.dat", 13552 bytes).
struct TOpponentModel {
    static constexpr std::size_t ByteSize = 13552;
    static constexpr int Levels = 15, Rows = 11, Columns = 10;
    TShortString<40> Name;
    std::array<uint8_t, 43> Kept41{};   // bytes 41-83, not interpreted
    int32_t ID = 0;                     // always the record's index in the file
    // Percentages: level 1..15, row 0..10 (position that went all-in, 0 =
    // nobody), column 1..10 (position to act) is Values[level-1][row][column-1].
    std::array<std::array<std::array<double, Columns>, Rows>, Levels> Values{};
    // A copy of the tournament record of the table type the model was made
    // for; its format text (String[40] at offset TypeNameOffset) is the
    // model's type name.
    static constexpr std::size_t TableTypeSize = 264;
    static constexpr std::size_t TypeNameOffset = 216;
    std::array<uint8_t, TableTypeSize> TableType{};

    std::string TypeName() const;
    void SetTypeName(const std::string& name);  // cut to 40 characters
    bool operator==(const TOpponentModel&) const = default;
};

// Name to model ("RegPlayer.dat", "StartDefault.dat"; 48 bytes).
struct TModelAssignment {
    static constexpr std::size_t ByteSize = 48;
    TShortString<40> Name;
    std::array<uint8_t, 3> Padding{};
    int32_t ModelIndex = 0;  // index into the model list
    bool operator==(const TModelAssignment&) const = default;
};

// ---- hand records (shared with the calculator) --------------------------------

using poker::THH;
using poker::TPlayerInfo;
using poker::TFinishingPlaces;
using poker::SeatOfNameInText;
using poker::PlayerIndexOfNameInText;
using poker::SeatIndexOf;
using poker::NextSeatWithChips;
using poker::MoveButtonAndBlinds;
using poker::AssignFinishingPlaces;
using poker::RemoveBustedPlayers;

// A running average of at most ten samples; sample k is Samples[k - 1].
struct TAverageSamples {
    int32_t Count = 0;
    std::array<double, 10> Samples{};
    double Average = 0;
    bool operator==(const TAverageSamples&) const = default;
};

// ---- owned adapters -------------------------------------------------------------

// Deletes a table adapter. The adapter class is Win32 code that this model
// cannot see, so the deleter is taken over from the std::unique_ptr that
// the adapter was made in, where its class is known. There is no empty
// deleter: an owned table is always made by MakeTableAdapter or
// std::make_unique, never adopted from a bare pointer.
class TTableDeleter {
public:
    template <class T>
    TTableDeleter(std::default_delete<T>) noexcept : destroy_([](TPokerTable* t) { delete static_cast<T*>(t); }) {}
    void operator()(TPokerTable* t) const { destroy_(t); }

private:
    void (*destroy_)(TPokerTable*);
};
using TOwnedTable = std::unique_ptr<TPokerTable, TTableDeleter>;
using TOwnedTables = std::vector<TOwnedTable>;

// ---- the engine's state -----------------------------------------------------------

// What a poker client's adapters keep for the session beside their tables
// (a folder's listing, when it was read last): each client derives its own
// record, kept in the engine's state so that a reset forgets it too.
class TClientState {
public:
    virtual ~TClientState() = default;
};

// Everything the engine changes while the program runs, in one object: a
// fresh TEngineState is the engine as the program starts, and
// ResetEngineState() makes it so again. The rest of the code reaches the
// fields through the references below, by their own names.
struct TEngineState {
    // Recognised tables, in slot order after each sort; lobby adapters
    // (ticked, never placed). The lists own them: a table removed from its
    // list is freed.
    TOwnedTables Tables;
    TOwnedTables Lobbies;

    std::vector<TPlaceConfig> PlaceConfigs;
    TConfigFileHeader PlaceConfigHeader;  // the header read last (selected index)
    TPlaceConfig RunningConfig;           // the copy every engine step reads
    std::vector<TPokerRoom> PokerRooms;
    std::vector<TOpponentModel> OpponentModels;
    std::vector<TModelAssignment> RegPlayers;
    std::vector<TModelAssignment> StartDefaults;
    TUserOptions UserOptions;
    TEngineOptions EngineOptions;
    TActionQueue ActionQueue;
    TSessionStats SessionStats;

    uint8_t ScanPaused = 1;
    uint8_t ScanBusy = 0;
    uint8_t QueueBusy = 0;
    uint8_t ResortPending = 0;
    uint8_t ForceRenumber = 0;
    uint8_t ModelsChanged = 0;
    uint8_t SyntheticClick = 0;
    uint8_t PokerStarsLobbyWanted = 0;
    uint8_t FullTiltLobbyWanted = 0;
    uint8_t IPokerMainWanted = 0;
    uintptr_t ActiveTableWnd = 0;
    uintptr_t MouseOverWnd = 0;
    int32_t PlayedCashTables = 0;
    TPoint CalculatorPos;
    std::string ProgramFolder;
    int32_t NewTablesSeen = 0;
    TAverageSamples ClockOffsetSamples;
    uint8_t AutoRegistratorRunning = 0;
    uint8_t FullTiltRegistratorRunning = 0;

    // Work asked for while a scan ran, done right after it (RunWhenScanIdle).
    std::vector<TCallback<void()>> DeferredActions;
    // Class names of the windows met by the last walk of the scan, by
    // window handle (a window's class never changes).
    std::unordered_map<uintptr_t, std::string> WindowClasses;
    // Damaged data files that could not be copied: never overwritten in
    // this session.
    std::set<std::filesystem::path> ProtectedFiles;
    // Each client's session record by the client's name (ClientState).
    std::map<std::string, std::unique_ptr<TClientState>> ClientStates;
    // The generator behind the default random source, seeded when first used.
    std::optional<std::mt19937> RandomEngine;

    bool operator==(const TEngineState&) const = default;
};

extern TEngineState EngineState;

// Frees every table and lobby (while the rest of the state they may read on
// their way out is still there), then makes the whole state fresh.
void ResetEngineState();

// The session record of a client (T derives from TClientState), made when
// first asked for.
template <class T>
T& ClientState(const std::string& client) {
    std::unique_ptr<TClientState>& state = EngineState.ClientStates[client];
    if (!state) state = std::make_unique<T>();
    return static_cast<T&>(*state);
}

// ---- the state's fields by their names ----------------------------------------------

extern TOwnedTables& Tables;
extern TOwnedTables& Lobbies;

extern std::vector<TPlaceConfig>& PlaceConfigs;
extern TConfigFileHeader& PlaceConfigHeader;
extern TPlaceConfig& RunningConfig;
extern std::vector<TPokerRoom>& PokerRooms;
extern std::vector<TOpponentModel>& OpponentModels;
extern std::vector<TModelAssignment>& RegPlayers;
extern std::vector<TModelAssignment>& StartDefaults;
extern TUserOptions& UserOptions;
extern TEngineOptions& EngineOptions;
extern TActionQueue& ActionQueue;
extern TSessionStats& SessionStats;

extern uint8_t& ScanPaused;
extern uint8_t& ScanBusy;
extern uint8_t& QueueBusy;
extern uint8_t& ResortPending;
extern uint8_t& ForceRenumber;
extern uint8_t& ModelsChanged;
extern uint8_t& SyntheticClick;
extern uint8_t& PokerStarsLobbyWanted;
extern uint8_t& FullTiltLobbyWanted;
extern uint8_t& IPokerMainWanted;
extern uintptr_t& ActiveTableWnd;
extern uintptr_t& MouseOverWnd;
extern int32_t& PlayedCashTables;
extern TPoint& CalculatorPos;
extern std::string& ProgramFolder;
extern int32_t& NewTablesSeen;
extern TAverageSamples& ClockOffsetSamples;
extern uint8_t& AutoRegistratorRunning;
extern uint8_t& FullTiltRegistratorRunning;

}  // namespace kova::tables
