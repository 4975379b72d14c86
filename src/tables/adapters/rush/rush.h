// The fast-fold ("Rush") tables of the Full Tilt client: ordinary tables
// whose Fold button stands in one of two places, so the turn test looks at
// two colour points of the room.
#pragma once

#include "tables/engine/pokertable.h"

namespace kova::tables {

class TRush_Table : public TPokerTable {
public:
    using TPokerTable::TPokerTable;
    void CheckTurn() override;
};

}  // namespace kova::tables
