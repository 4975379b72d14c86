#include "tables/logic/tablequeue.h"

namespace kova::tables {

bool QueueTableAction(int32_t tableIndex, int32_t argument, uint8_t kind) {
    if (ActionQueue.Count < 0) ActionQueue.Count = 0;
    if (ActionQueue.Count >= TActionQueue::Capacity) return false;
    ActionQueue.Entries[static_cast<size_t>(ActionQueue.Count)] = TTableAction{tableIndex, argument, kind};
    ++ActionQueue.Count;
    return true;
}

bool TakeQueuedTableAction(size_t tableCount, TTableAction& first) {
    const TActionQueue copy = ActionQueue;
    ActionQueue.Count = 0;
    if (copy.Count < 1) return false;
    first = copy.Entries[0];
    if (first.Kind > ActionWheelDown) return false;
    return first.TableIndex >= 0 && static_cast<size_t>(first.TableIndex) < tableCount;
}

}  // namespace kova::tables
