// The window-free state of one table adapter: everything the slot
// arithmetic, the placement decisions and the action queue read and write.
// TPokerTable (pokertable.h) derives from it and adds the window work, so
// the arithmetic is built and tested without a window system.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kova::tables {

// Table kinds.
enum : uint8_t {
    KindCash = 0,
    KindTournament = 1,
    KindLobby = 2,
    KindMainLobby = 3,
    KindGeneric = 4,
    KindCustom = 5,
};

// Per event macro: what the table has seen of its trigger.
struct TEventState {
    uint8_t Seen = 0;
    uint8_t Done = 0;
    double SeenAt = 0;  // day-based time
    double Delay = 0;   // seconds
};

struct TTableState {
    std::string LayoutFile;
    uintptr_t Wnd = 0;
    uintptr_t MainWnd = 0;
    int32_t Network = 0;       // 1 Ongame, 2 iPoker, 4 PokerStars, 0 otherwise
    uint8_t Kind = KindGeneric;
    std::string Title;         // window title at creation
    int32_t TableNumber = 0;
    int32_t SmallBlind = 0;    // 0 = not read
    uint8_t AdapterState = 0;  // room adapters' own
    uint8_t MyTurn = 0;
    uint8_t Dragging = 0;      // the user drags the window: placement waits
    uint8_t ButtonHeld = 0;    // the user holds the left button on the table (hook input)
    uint8_t AdapterFlag = 1;     // room adapters' own, 1 at creation
    uint8_t KeptInGrid = 0;
    uint8_t InGrid = 0;
    uint8_t SendToBottom = 0;
    uint8_t HUDShown = 0;
    int32_t BorderX = 0;
    int32_t CaptionY = 0;
    int32_t RefWidth = 800, RefHeight = 600;  // reference client size of ScaleX/ScaleY
    int32_t MinWidth = 0, MinHeight = 0;      // minimum client size of ScaleX/ScaleY
    int32_t AlertStage = 0;    // 0..4
    int32_t GroupIndex = -1;
    int32_t Slot = 0;
    int32_t PrevSlot = 0;
    int32_t RoomIndex = 0;
    double TurnStart = 0, TurnEnd = 0, ActivatedAt = 0, CreatedAt = 0;  // day-based times
    int32_t ColourMisses = 0;
    uint8_t ColourFlag = 1;
    std::array<TEventState, 4> EventStates{};
    int32_t TickCountdown = 5;
};

}  // namespace kova::tables
