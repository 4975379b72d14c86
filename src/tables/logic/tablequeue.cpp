#include "tables/logic/tablequeue.h"

#include <algorithm>

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

void ForgetQueuedTable(int32_t index) {
    const int32_t count = std::clamp<int32_t>(ActionQueue.Count, 0, TActionQueue::Capacity);
    int32_t kept = 0;
    for (int32_t i = 0; i < count; ++i) {
        TTableAction entry = ActionQueue.Entries[static_cast<size_t>(i)];
        if (entry.TableIndex == index) continue;
        if (entry.TableIndex > index) --entry.TableIndex;
        ActionQueue.Entries[static_cast<size_t>(kept++)] = entry;
    }
    for (int32_t i = kept; i < count; ++i) ActionQueue.Entries[static_cast<size_t>(i)] = TTableAction{};
    ActionQueue.Count = kept;
}

}  // namespace kova::tables
