#include "tables/engine/actionqueue.h"

#include "framework/portable/scope.h"

#include "tables/engine/autoplace.h"
#include "tables/engine/pokertable.h"

namespace kova::tables {

void RunQueuedTableAction() {
    TFlagScope busy(QueueBusy, 1);
    TTableAction action;
    if (!TakeQueuedTableAction(Tables.size(), action)) return;
    TPokerTable* table = Tables[static_cast<size_t>(action.TableIndex)].get();
    switch (action.Kind) {
        case ActionHotKeyMacro:
            if (table) table->RunHotKeyMacro(action.Argument);
            break;
        case ActionPlaceByHand:
            PlaceTableByHand(action.TableIndex);
            if (table) table->Dragging = 0;
            break;
        case ActionWheelUp:
            if (EngineServices.WheelUpStep) EngineServices.WheelUpStep(action.TableIndex);
            break;
        case ActionWheelDown:
            if (EngineServices.WheelDownStep) EngineServices.WheelDownStep(action.TableIndex);
            break;
    }
}

void PlaceTableByHand(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= Tables.size() || !Tables[static_cast<size_t>(index)]) return;
    RECT r;
    if (!GetWindowRect(Tables[static_cast<size_t>(index)]->Window(), &r)) return;
    TTableList states = TableStates();
    PlaceTableByHandAt(states, static_cast<size_t>(index), TRect{r.left, r.top, r.right, r.bottom});
}

}  // namespace kova::tables
