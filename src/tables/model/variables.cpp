#include "tables/model/variables.h"

#include <algorithm>
#include <cstring>

namespace kova::tables {

std::string TOpponentModel::TypeName() const {
    const uint8_t* p = TableType.data() + TypeNameOffset;
    const std::size_t len = std::min<std::size_t>(p[0], 40);
    return std::string(reinterpret_cast<const char*>(p + 1), len);
}

void TOpponentModel::SetTypeName(const std::string& name) {
    uint8_t* p = TableType.data() + TypeNameOffset;
    const std::size_t len = std::min<std::size_t>(name.size(), 40);
    p[0] = static_cast<uint8_t>(len);
    if (len) std::memcpy(p + 1, name.data(), len);
}

TEngineState EngineState;

void ResetEngineState() {
    {
        TOwnedTables tables, lobbies;
        tables.swap(EngineState.Tables);
        lobbies.swap(EngineState.Lobbies);
    }
    EngineState = TEngineState{};
}

TOwnedTables& Tables = EngineState.Tables;
TOwnedTables& Lobbies = EngineState.Lobbies;

std::vector<TPlaceConfig>& PlaceConfigs = EngineState.PlaceConfigs;
TConfigFileHeader& PlaceConfigHeader = EngineState.PlaceConfigHeader;
TPlaceConfig& RunningConfig = EngineState.RunningConfig;
std::vector<TPokerRoom>& PokerRooms = EngineState.PokerRooms;
std::vector<TOpponentModel>& OpponentModels = EngineState.OpponentModels;
std::vector<TModelAssignment>& RegPlayers = EngineState.RegPlayers;
std::vector<TModelAssignment>& StartDefaults = EngineState.StartDefaults;
TUserOptions& UserOptions = EngineState.UserOptions;
TEngineOptions& EngineOptions = EngineState.EngineOptions;
TActionQueue& ActionQueue = EngineState.ActionQueue;
TSessionStats& SessionStats = EngineState.SessionStats;

uint8_t& ScanPaused = EngineState.ScanPaused;
uint8_t& ScanBusy = EngineState.ScanBusy;
uint8_t& QueueBusy = EngineState.QueueBusy;
uint8_t& ResortPending = EngineState.ResortPending;
uint8_t& ForceRenumber = EngineState.ForceRenumber;
uint8_t& ModelsChanged = EngineState.ModelsChanged;
uint8_t& SyntheticClick = EngineState.SyntheticClick;
uint8_t& PokerStarsLobbyWanted = EngineState.PokerStarsLobbyWanted;
uint8_t& FullTiltLobbyWanted = EngineState.FullTiltLobbyWanted;
uint8_t& IPokerMainWanted = EngineState.IPokerMainWanted;
uintptr_t& ActiveTableWnd = EngineState.ActiveTableWnd;
uintptr_t& MouseOverWnd = EngineState.MouseOverWnd;
int32_t& PlayedCashTables = EngineState.PlayedCashTables;
TPoint& CalculatorPos = EngineState.CalculatorPos;
std::string& ProgramFolder = EngineState.ProgramFolder;
int32_t& NewTablesSeen = EngineState.NewTablesSeen;
TAverageSamples& ClockOffsetSamples = EngineState.ClockOffsetSamples;
uint8_t& AutoRegistratorRunning = EngineState.AutoRegistratorRunning;
uint8_t& FullTiltRegistratorRunning = EngineState.FullTiltRegistratorRunning;

}  // namespace kova::tables
