// The Full Tilt client's fast-fold ("Rush") tables: a table of class
// kRushTableClass paints its Fold button, on its turn, in one of two places.
//
//   rush-fold N 1|2      the place of table N's Fold button (1 at first)
#include <windows.h>

#include <cstdlib>
#include <map>

#include "clients/clients_protocol.h"
#include "framework/handles.h"
#include "simclient.h"
#include "simclient_protocol.h"

namespace kova::sim {
namespace {

std::map<HWND, int> g_place;  // by window; 1 when not set

void PaintRushTable(HWND window, HDC dc, bool turn) {
    RECT rc;
    GetClientRect(window, &rc);
    {
        TGdiObject<HBRUSH> felt(CreateSolidBrush(kFeltColour));
        FillRect(dc, &rc, felt.Get());
    }
    if (!turn) return;
    auto it = g_place.find(window);
    const bool second = it != g_place.end() && it->second == 2;
    const POINT centre = second ? kRushFold2 : kRushFold1;
    // Both places scale with the table's height, as the client lays out.
    const double f = static_cast<double>(rc.bottom) / kRushRefHeight;
    const int cx = static_cast<int>(centre.x * f), cy = static_cast<int>(centre.y * f);
    const int hw = static_cast<int>(40 * f) + 2, hh = static_cast<int>(18 * f) + 2;
    RECT button{cx - hw, cy - hh, cx + hw, cy + hh};
    TGdiObject<HBRUSH> brush(CreateSolidBrush(second ? kRushFoldColour2 : kRushFoldColour1));
    FillRect(dc, &button, brush.Get());
}

const TSimPainter painter{kRushTableClass, PaintRushTable};

const TSimCommand foldPlace{"rush-fold", [](const TArgs& args) -> LRESULT {
    if (args.size() != 3 || (args[2] != "1" && args[2] != "2")) return 0;
    HWND window = SimTableWindow(std::atoi(args[1].c_str()));
    if (!window) return 0;
    g_place[window] = args[2] == "2" ? 2 : 1;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    return 1;
}};

}  // namespace
}  // namespace kova::sim
