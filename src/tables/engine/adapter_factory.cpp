#include "tables/engine/adapter_factory.h"

#include <algorithm>
#include <utility>

#include "tables/model/enginelog.h"

namespace kova::tables {

namespace {

// Filled while the program starts (the registrations are namespace-scope
// objects), read only afterwards.
std::vector<TAdapterClient>& Registry() {
    static std::vector<TAdapterClient> clients;
    return clients;
}

bool Contains(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

int HandleNumber(HWND wnd) { return static_cast<int>(reinterpret_cast<intptr_t>(wnd)); }

}  // namespace

bool TLobbyRecognizer::Matches(const std::string& className, const std::string& title) const {
    return Contains(className, ClassPart) && Contains(title, TitlePart);
}

TAdapterRegistration::TAdapterRegistration(TAdapterClient client) { Registry().push_back(std::move(client)); }

const std::vector<TAdapterClient>& AdapterClients() { return Registry(); }

const TAdapterClient* ClientOfRoomType(int32_t roomType) {
    for (const TAdapterClient& c : Registry())
        if (std::find(c.RoomTypes.begin(), c.RoomTypes.end(), roomType) != c.RoomTypes.end()) return &c;
    return nullptr;
}

bool IsClientLobby(const std::string& className, const std::string& title) {
    for (const TAdapterClient& client : Registry())
        for (const TLobbyRecognizer& lobby : client.Lobbies)
            if (lobby.Matches(className, title)) return true;
    return false;
}

std::unique_ptr<TPokerTable> CreateTableAdapter(HWND wnd, const std::string& title, const std::string& className,
                                                int32_t roomIndex, int32_t groupIndex) {
    const TPokerRoom* room =
        roomIndex >= 0 && static_cast<size_t>(roomIndex) < PokerRooms.size() ? &PokerRooms[static_cast<size_t>(roomIndex)] : nullptr;
    const int32_t type = room ? room->RoomType : 0;
    if (const TAdapterClient* client = ClientOfRoomType(type))
        return client->MakeTable ? client->MakeTable(wnd, title, className, roomIndex, groupIndex) : nullptr;
    if (IsClientRoomType(type)) return nullptr;  // that client's adapters are not part of this program

    for (const TAdapterClient& client : Registry()) {
        for (const TLobbyRecognizer& lobby : client.Lobbies) {
            if (!lobby.Matches(className, title)) continue;
            std::unique_ptr<TPokerTable> made = lobby.Make ? lobby.Make(wnd, title, groupIndex) : nullptr;
            if (made && lobby.AdoptedLog) EngineLogF(lobby.AdoptedLog, HandleNumber(wnd));
            return made;
        }
    }
    if (room) {
        for (const TAdapterClient& client : Registry())
            if (!client.RoomName.empty() && client.RoomName == room->Name.Str())
                return client.MakeTable ? client.MakeTable(wnd, title, className, roomIndex, groupIndex) : nullptr;
    }
    EngineLog("Unknow added ");
    return MakeTableAdapter<TPokerTable>(wnd, groupIndex, title);
}

}  // namespace kova::tables
