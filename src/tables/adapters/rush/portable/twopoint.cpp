#include "tables/adapters/rush/portable/twopoint.h"

#include "tables/logic/placemath.h"
#include "tables/logic/turnlogic.h"

namespace kova::tables {

namespace {

uint32_t Rgb(const TRGB& c) {
    return static_cast<uint32_t>(c.R) | (static_cast<uint32_t>(c.G) << 8) | (static_cast<uint32_t>(c.B) << 16);
}

}  // namespace

TRushFoldPoints RushFoldPoints(const TPokerRoom& room, int32_t clientWidth, int32_t clientHeight) {
    TRushFoldPoints points;
    const TScaleRef& ref = room.ScaleRef;
    if (ref.W == 0 || ref.H == 0) return points;
    points.Readable = true;
    const TColourPoint& p = room.FoldPoint;
    if (room.Proportional) {
        const double factor = static_cast<double>(clientHeight) / ref.H;
        points.First = TPoint{RoundHalfEven(p.X * factor), RoundHalfEven(p.Y * factor)};
        points.Second = TPoint{RoundHalfEven(p.XMin * factor), RoundHalfEven(p.YMin * factor)};
    } else {
        points.First = ScaleRoomPoint(false, ref, p.X, p.Y, p.XMin, p.YMin, clientWidth, clientHeight);
    }
    return points;
}

std::string RushTurnTest(TTableState& table, const TPokerRoom& room, uint32_t pixel1,
                         const std::function<uint32_t()>& readPixel2, double now, uintptr_t& activeWnd) {
    if (pixel1 == InvalidColour) return "Color Error Num= " + std::to_string(table.ColourMisses);
    bool match = ColorsMatch(pixel1, Rgb(room.FoldColour), room.Tolerance);
    if (!match && readPixel2) {
        const uint32_t pixel2 = readPixel2();
        match = pixel2 != InvalidColour && ColorsMatch(pixel2, Rgb(room.FoldColour2), room.Tolerance2);
    }
    return UpdateTurnStateOnMatch(table, match, now, activeWnd);
}

}  // namespace kova::tables
