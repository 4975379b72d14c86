#include "tables/adapters/rush/rush.h"

#include "tables/adapters/rush/portable/twopoint.h"
#include "tables/engine/adapter_factory.h"
#include "tables/logic/turnlogic.h"
#include "tables/model/enginelog.h"

namespace kova::tables {

void TRush_Table::CheckTurn() {
    const TGroupRec* g = IsValidGroup(GroupIndex) ? &RunningConfig.Groups[static_cast<size_t>(GroupIndex)] : nullptr;
    const TPokerRoom* room = RoomOf(*this);
    if (!g || !g->AutoActivate || !room) {
        MyTurn = 0;
        // As every table: detection switched off on the activated table lets
        // it go, or no other table could be activated.
        if (ActiveTableWnd != 0 && ActiveTableWnd == Wnd) {
            ActiveTableWnd = 0;
            TurnStart = 0;
        }
        return;
    }
    const SIZE client = ClientSize(*this);
    const TRushFoldPoints points = RushFoldPoints(*room, client.cx, client.cy);
    const uint32_t pixel1 = points.Readable ? static_cast<uint32_t>(GetPixel(points.First.X, points.First.Y)) : InvalidColour;
    std::function<uint32_t()> readPixel2;
    if (points.Readable && points.Second) {
        const TPoint second = *points.Second;
        readPixel2 = [this, second] { return static_cast<uint32_t>(GetPixel(second.X, second.Y)); };
    }
    const std::string log = RushTurnTest(*this, *room, pixel1, readPixel2, EngineNow(), ActiveTableWnd);
    if (!log.empty()) EngineLog(log);
}

namespace {

const TAdapterRegistration registration{TAdapterClient{
    .Name = "Rush",
    .RoomTypes = {RoomRush},
    .MakeTable = [](HWND wnd, const std::string& title, const std::string&, int32_t, int32_t groupIndex)
        -> std::unique_ptr<TPokerTable> { return MakeTableAdapter<TRush_Table>(wnd, groupIndex, title); },
}};

}  // namespace

}  // namespace kova::tables
