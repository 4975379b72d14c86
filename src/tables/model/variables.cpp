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

std::vector<TPokerTable*> Tables;
std::vector<TPokerTable*> Lobbies;
std::vector<uintptr_t> TableHandles;

std::vector<TPlaceConfig> PlaceConfigs;
TConfigFileHeader PlaceConfigHeader;
TPlaceConfig RunningConfig;
std::vector<TPokerRoom> PokerRooms;
std::vector<TOpponentModel> OpponentModels;
std::vector<TModelAssignment> RegPlayers;
std::vector<TModelAssignment> StartDefaults;
TUserOptions UserOptions;
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

}  // namespace kova::tables
