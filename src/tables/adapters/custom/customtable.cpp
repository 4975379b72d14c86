#include "tables/adapters/custom/customtable.h"

namespace kova::tables {

TCustomTable::TCustomTable(HWND wnd, int32_t groupIndex, const std::string& title)
    : TPokerTable(wnd, groupIndex, title) {
    Kind = KindCustom;
}

void TCustomTable::CheckTurn() { MyTurn = 0; }

}  // namespace kova::tables
