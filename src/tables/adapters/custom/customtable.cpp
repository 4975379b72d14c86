#include "tables/adapters/custom/customtable.h"

#include "tables/engine/adapter_factory.h"
#include "tables/model/enginelog.h"

namespace kova::tables {

TCustomTable::TCustomTable(HWND wnd, int32_t groupIndex, const std::string& title)
    : TPokerTable(wnd, groupIndex, title) {
    Kind = KindCustom;
}

void TCustomTable::CheckTurn() { MyTurn = 0; }

namespace {

// The user's own rooms are recognised by their name alone.
const TAdapterRegistration registration{TAdapterClient{
    .Name = "Custom",
    .RoomName = "Custom",
    .MakeTable = [](HWND wnd, const std::string& title, const std::string&, int32_t, int32_t groupIndex)
        -> std::unique_ptr<TPokerTable> {
        EngineLog("Custom added ");
        return MakeTableAdapter<TCustomTable>(wnd, groupIndex, title);
    },
}};

}  // namespace

}  // namespace kova::tables
