// The adapter factory and the registry of poker clients. Every client lives
// in a folder of its own (adapters/<client>/) and registers itself there,
// once, with a TAdapterRegistration at namespace scope: the rooms whose
// windows it adapts (by room type, or by room name) and the lobby windows
// it recognises by class and title. The factory and the scan ask the
// registry; nothing else names a client.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tables/engine/pokertable.h"

namespace kova::tables {

// A client's adapter for a window that a group of its room took; null for
// none (the scan then tries the window again next time). The maker writes
// its own log line.
using TTableMaker = std::function<std::unique_ptr<TPokerTable>(
    HWND wnd, const std::string& title, const std::string& className, int32_t roomIndex, int32_t groupIndex)>;

// A lobby adapter for a window (group index -1 when the scan collected it).
using TLobbyMaker = std::function<std::unique_ptr<TPokerTable>(HWND wnd, const std::string& title, int32_t groupIndex)>;

// A lobby window of a client, recognised by its class and title wherever it
// turns up: in a group of a room no client claims, or, while its flag asks
// for one, anywhere on the desktop.
struct TLobbyRecognizer {
    std::string ClassPart{};  // must occur in the class name (case-sensitive)
    std::string TitlePart{};  // must occur in the title (case-sensitive)
    // While this flag of the engine state is set, the scan collects a new
    // window of this kind into Lobbies by itself (null: only through groups).
    uint8_t TEngineState::*Wanted = nullptr;
    TLobbyMaker Make{};
    // Log lines, printf formats with one %d: a group's window became this
    // lobby (the window handle); the scan collected one (its index in
    // Lobbies). Null: no line.
    const char* AdoptedLog = nullptr;
    const char* CollectedLog = nullptr;

    bool Matches(const std::string& className, const std::string& title) const;
};

// Every member has a default, so that a registration names only what its
// client has.
struct TAdapterClient {
    std::string Name{};
    // Rooms of these types are this client's: their windows get MakeTable's
    // adapter, and nothing else.
    std::vector<int32_t> RoomTypes{};
    // Rooms of this name are this client's too, when their type belongs to
    // no client and no lobby recognizer took the window (empty: none).
    std::string RoomName{};
    TTableMaker MakeTable{};
    std::vector<TLobbyRecognizer> Lobbies{};
};

// Registers a client for the whole run of the program. Declared once per
// client, at namespace scope in its folder, so that it runs at start-up.
class TAdapterRegistration {
public:
    explicit TAdapterRegistration(TAdapterClient client);
};

// The registered clients, in registration order.
const std::vector<TAdapterClient>& AdapterClients();

// The client that claims a room type, or null.
const TAdapterClient* ClientOfRoomType(int32_t roomType);

// Whether a registered client recognises the window as one of its lobbies.
bool IsClientLobby(const std::string& className, const std::string& title);

// The adapter for a window that the scan gave to a group: by the room's
// type, the client's own; for a room type of a client that is not part of
// the program, none; else the lobby a registered client recognises in the
// window, the adapter of a client claiming the room's name, or a generic
// TPokerTable ("Unknow added ").
std::unique_ptr<TPokerTable> CreateTableAdapter(HWND wnd, const std::string& title, const std::string& className,
                                                int32_t roomIndex, int32_t groupIndex);

}  // namespace kova::tables
