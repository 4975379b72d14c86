// The tables' push/fold calculators: the engine asks for a TTableCalculator
// when a tournament table has its first hand to show; this one hands the
// table's hands to the table's calculator window and closes that window
// when the table goes.
#pragma once

#include <memory>

#include "tables/model/engineservices.h"

namespace kova::mainwindow {

// The calculator of a table; the table's hand source (browsing its other
// hands) comes from the table's adapter where it reads hand histories.
std::unique_ptr<tables::TTableCalculator> MakeTableCalculator(tables::TPokerTable& table);

}  // namespace kova::mainwindow
