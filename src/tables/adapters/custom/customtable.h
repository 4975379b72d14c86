// The adapter of the user's own ("Custom") poker rooms: placed like any
// table, but it never detects a turn and its tick does nothing.
#pragma once

#include "tables/engine/pokertable.h"

namespace kova::tables {

class TCustomTable : public TPokerTable {
public:
    TCustomTable(HWND wnd, int32_t groupIndex, const std::string& title);
    void CheckTurn() override;
    void Tick() override {}
};

}  // namespace kova::tables
