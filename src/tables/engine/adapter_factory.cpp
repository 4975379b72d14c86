#include "tables/engine/adapter_factory.h"

#include <map>
#include <utility>

#include "tables/adapters/custom/customtable.h"
#include "tables/model/enginelog.h"

namespace kova::tables {

namespace {

std::map<int32_t, TRoomAdapterMaker>& RoomMakers() {
    static std::map<int32_t, TRoomAdapterMaker> makers;
    return makers;
}

struct LobbyMakers {
    TLobbyAdapterMaker PokerStars, FullTilt;
};
LobbyMakers& LobbyMakerSet() {
    static LobbyMakers makers;
    return makers;
}

bool HasOwnAdapters(int32_t roomType) {
    return roomType == RoomPokerStars || roomType == RoomOngameNoColour || roomType == RoomOngame ||
           roomType == RoomIPoker || roomType == RoomRush;
}

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

}  // namespace

void SetRoomAdapterMaker(int32_t roomType, TRoomAdapterMaker maker) {
    if (maker)
        RoomMakers()[roomType] = std::move(maker);
    else
        RoomMakers().erase(roomType);
}

void SetLobbyAdapterMakers(TLobbyAdapterMaker pokerStars, TLobbyAdapterMaker fullTilt) {
    LobbyMakerSet() = LobbyMakers{std::move(pokerStars), std::move(fullTilt)};
}

TPokerTable* CreateLobbyAdapter(HWND wnd, const std::string& title, int32_t groupIndex) {
    return LobbyMakerSet().PokerStars ? LobbyMakerSet().PokerStars(wnd, title, groupIndex) : nullptr;
}

TPokerTable* CreateFTPLobbyAdapter(HWND wnd, const std::string& title, int32_t groupIndex) {
    return LobbyMakerSet().FullTilt ? LobbyMakerSet().FullTilt(wnd, title, groupIndex) : nullptr;
}

TPokerTable* CreateTableAdapter(HWND wnd, const std::string& title, const std::string& className, int32_t roomIndex,
                                int32_t groupIndex) {
    const TPokerRoom* room =
        roomIndex >= 0 && static_cast<size_t>(roomIndex) < PokerRooms.size() ? &PokerRooms[static_cast<size_t>(roomIndex)] : nullptr;
    const int32_t type = room ? room->RoomType : 0;
    if (HasOwnAdapters(type)) {
        auto found = RoomMakers().find(type);
        if (found == RoomMakers().end()) return nullptr;  // that client's adapters are not part of this build
        return found->second(wnd, title, className, roomIndex, groupIndex);
    }
    if (Contains(className, "#32770") && Contains(title, "PokerStars Lobby")) {
        TPokerTable* lobby = CreateLobbyAdapter(wnd, title, groupIndex);
        if (lobby) EngineLogF("PokerStarsMain2 added  %d ", static_cast<int>(reinterpret_cast<intptr_t>(wnd)));
        return lobby;
    }
    if (Contains(className, "QWidget") && Contains(title, "Full Tilt Poker")) {
        TPokerTable* lobby = CreateFTPLobbyAdapter(wnd, title, groupIndex);
        if (lobby) EngineLogF("FTP lobby added  %d ", static_cast<int>(reinterpret_cast<intptr_t>(wnd)));
        return lobby;
    }
    if (room && room->Name.Str() == "Custom") {
        EngineLog("Custom added ");
        return MakeTableAdapter<TCustomTable>(wnd, groupIndex, title);
    }
    EngineLog("Unknow added ");
    return MakeTableAdapter<TPokerTable>(wnd, groupIndex, title);
}

}  // namespace kova::tables
