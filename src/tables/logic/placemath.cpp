#include "tables/logic/placemath.h"

#include <algorithm>
#include <cmath>

namespace kova::tables {

namespace {

const TGroupRec* PlacedGroup(const TTableState& table) {
    if (!IsValidGroup(table.GroupIndex)) return nullptr;
    const TGroupRec& g = RunningConfig.Groups[static_cast<size_t>(table.GroupIndex)];
    if (g.Slots.empty() || !g.AutoPlace) return nullptr;
    return &g;
}

// Moved or sized: the step to make; none when neither and nothing sinks.
bool NeedsMove(const TGroupRec& g, const TRect& window, const TRect& target, uint8_t sendToBottom) {
    const bool moved = window.Left != target.Left || window.Top != target.Top;
    const bool sized = g.AutoSize && (window.Width() != target.Width() || window.Height() != target.Height());
    return moved || sized || sendToBottom;
}

uint8_t Channel(uint32_t colour, int shift) { return static_cast<uint8_t>((colour >> shift) & 0xFF); }

}  // namespace

TRect SlotRect(const TSlotRec& s) { return TRect{s.Left, s.Top, s.Left + s.Width, s.Top + s.Height}; }

TRect ActSlotRect(const TSlotRec& s) {
    return TRect{s.ActLeft, s.ActTop, s.ActLeft + s.ActWidth, s.ActTop + s.ActHeight};
}

TRect ActivateSlotRect(const TRect& slot, int32_t width, int32_t height, const TRect& workArea) {
    TRect r;
    r.Left = slot.Left - (width - slot.Width()) / 2;
    r.Top = slot.Top - (height - slot.Height()) / 2;
    if (r.Left < workArea.Left) r.Left = workArea.Left;
    if (r.Left + width > workArea.Right) r.Left = workArea.Right - width;
    if (r.Top < workArea.Top) r.Top = workArea.Top;
    if (r.Top + height > workArea.Bottom) r.Top = workArea.Bottom - height;
    r.Right = r.Left + width;
    r.Bottom = r.Top + height;
    return r;
}

int32_t ClampedSlot(const TTableState& table) {
    if (!IsValidGroup(table.GroupIndex)) return -1;
    const auto count = static_cast<int32_t>(RunningConfig.Groups[static_cast<size_t>(table.GroupIndex)].Slots.size());
    if (count == 0) return -1;
    return std::clamp(table.Slot, 0, count - 1);
}

std::optional<TPlacementStep> DecideNormalPlacement(TTableState& table, const TRect& window, const TPlacementContext& c) {
    const TGroupRec* g = PlacedGroup(table);
    if (!g || table.Dragging) return std::nullopt;
    const int32_t s = ClampedSlot(table);
    const TSlotRec& slot = g->Slots[static_cast<size_t>(s)];
    const TRect normal = SlotRect(slot);
    const TRect activate = g->ActivateSize ? ActSlotRect(slot) : normal;

    TRect target = normal;
    if (c.IsActiveTable) {
        target = activate;
    } else if (c.IsMouseOver && g->MouseActivate &&
               (c.LBtnMouseActivate || c.MouseActDelay < c.SecondsSinceActivated)) {
        if (g->ActivateSize)
            target = ActivateSlotRect(normal, g->Size2.Width, g->Size2.Height, c.WorkArea);
        else
            target = g->AutoSize ? normal : activate;
    }
    if (table.SendToBottom && c.OtherIsActive) table.SendToBottom = 0;
    if (!NeedsMove(*g, window, target, table.SendToBottom)) return std::nullopt;

    TPlacementStep step{target, g->AutoSize ? PlaceNoActivate : PlaceNoSize | PlaceNoActivate, TInsertAfter::NoTopMost};
    if (table.SendToBottom) {
        if (s == static_cast<int32_t>(g->Slots.size()) - 1) step.InsertAfter = TInsertAfter::Bottom;
        table.SendToBottom = 0;
    }
    table.PrevSlot = table.Slot;
    return step;
}

std::optional<TPlacementStep> DecideTOIPlacement(TTableState& table, const TRect& window, const TPlacementContext& c) {
    const TGroupRec* g = PlacedGroup(table);
    if (!g || table.Dragging) return std::nullopt;
    const int32_t s = ClampedSlot(table);
    const TRect target = SlotRect(g->Slots[static_cast<size_t>(s)]);
    if (table.SendToBottom && c.OtherIsActive) table.SendToBottom = 0;
    if (!NeedsMove(*g, window, target, table.SendToBottom)) return std::nullopt;

    TPlacementStep step{target, g->AutoSize ? PlaceNoActivate : PlaceNoSize | PlaceNoActivate, TInsertAfter::NoTopMost};
    if (table.SendToBottom) {
        if (s == RunningConfig.TOI.StackSlot) step.InsertAfter = TInsertAfter::Bottom;
        table.SendToBottom = 0;
    } else {
        step.Flags |= PlaceNoZOrder;
    }
    table.PrevSlot = table.Slot;
    return step;
}

int32_t RoundHalfEven(double value) {
    const double r = std::nearbyint(value);  // the default rounding mode: halves to even
    if (!(r >= -2147483648.0)) return INT32_MIN;
    if (r > 2147483647.0) return INT32_MAX;
    return static_cast<int32_t>(r);
}

int32_t ScaleBetween(int32_t v, int32_t vMin, int32_t client, int32_t ref, int32_t refMin) {
    const double factor = ref == refMin ? 1.0 : static_cast<double>(client - refMin) / (ref - refMin);
    return RoundHalfEven((static_cast<double>(v) - vMin) * factor) + vMin;
}

int32_t ScaleMultiplyFirst(int32_t v, int32_t vMin, int32_t client, int32_t ref, int32_t refMin) {
    const int64_t den = static_cast<int64_t>(ref) - refMin;
    if (den == 0) return v;
    int64_t num = (static_cast<int64_t>(v) - vMin) * (static_cast<int64_t>(client) - refMin);
    const int64_t sign = (num < 0) != (den < 0) ? -1 : 1;
    const int64_t n = num < 0 ? -num : num, d = den < 0 ? -den : den;
    int64_t q = n / d;
    const int64_t r2 = 2 * (n % d);
    if (r2 > d || (r2 == d && (q & 1))) ++q;
    const int64_t result = sign * q + vMin;
    return static_cast<int32_t>(std::clamp<int64_t>(result, INT32_MIN, INT32_MAX));
}

TPoint ScaleRoomPoint(bool proportional, const TScaleRef& ref, int32_t x, int32_t y, int32_t xMin, int32_t yMin,
                      int32_t clientWidth, int32_t clientHeight) {
    if (proportional) {
        if (ref.W == 0 || ref.H == 0) return TPoint{x, y};
        return TPoint{RoundHalfEven(static_cast<double>(x) * clientWidth / ref.W),
                      RoundHalfEven(static_cast<double>(y) * clientHeight / ref.H)};
    }
    return TPoint{ScaleBetween(x, xMin, clientWidth, ref.W, ref.WMin),
                  ScaleBetween(y, yMin, clientHeight, ref.H, ref.HMin)};
}

bool ColorsMatch(uint32_t a, uint32_t b, int32_t tolerance) {
    if (a == b) return true;
    for (int shift : {0, 8, 16})
        if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
    return true;
}

std::string SanitizeFileName(std::string_view name) {
    std::string out(name);
    for (char& ch : out)
        if (std::string_view("\\/:*?\"<>|").find(ch) != std::string_view::npos) ch = '_';
    return out;
}

int32_t NearestSlotAt(const TGroupRec& group, int32_t x, int32_t y) {
    int32_t best = -1;
    double bestDistance = 10000.0;
    for (size_t s = 0; s < group.Slots.size(); ++s) {
        const TRect r = SlotRect(group.Slots[s]);
        if (x < r.Left || x >= r.Right || y < r.Top || y >= r.Bottom) continue;
        const double dx = x - (r.Left + r.Width() / 2.0);
        const double dy = y - (r.Top + r.Height() / 2.0);
        const double d = std::sqrt(dx * dx + dy * dy);
        if (d < bestDistance) {
            best = static_cast<int32_t>(s);
            bestDistance = d;
        }
    }
    return best;
}

void PlaceTableByHandAt(TTableList& tables, size_t i, const TRect& window) {
    if (i >= tables.size() || !tables[i]) return;
    TTableState& table = *tables[i];
    if (!IsValidGroup(table.GroupIndex)) return;
    const TGroupRec& g = RunningConfig.Groups[static_cast<size_t>(table.GroupIndex)];
    const int32_t cx = static_cast<int32_t>((static_cast<int64_t>(window.Left) + window.Right) / 2);
    const int32_t cy = static_cast<int32_t>((static_cast<int64_t>(window.Top) + window.Bottom) / 2);
    const int32_t cur = std::min(table.Slot, static_cast<int32_t>(g.Slots.size()) - 1);
    const int32_t best = NearestSlotAt(g, cx, cy);
    if (best < 0 || best == cur) return;
    for (TTableState* other : tables)
        if (other && other->Slot == best && SharesSlots(*other, table.GroupIndex)) other->Slot = cur;
    table.Slot = best;
    if (g.TOIStyle) table.InGrid = best != RunningConfig.TOI.StackSlot ? 1 : 0;
    ResortPending = 1;
}

}  // namespace kova::tables
