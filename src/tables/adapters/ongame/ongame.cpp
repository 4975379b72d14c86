#include "tables/adapters/ongame/ongame.h"

#include "tables/engine/adapter_factory.h"
#include "tables/logic/engine_routines.h"
#include "tables/model/enginelog.h"

namespace kova::tables {

namespace {

// The client's reference and smallest table sizes.
constexpr int32_t kRefWidth = 781, kRefHeight = 564, kMinWidth = 512, kMinHeight = 367;

// Where the nudge grabs the resize corner, from the window's right and
// bottom edges, and where the cursor is put meanwhile (from that point).
constexpr int32_t kCornerRight = 7, kCornerBottom = 29, kCursorDx = 3, kCursorDy = 25;
// The nudge's steps come at least this far apart, so that the client has
// handled one before the next.
constexpr double kNudgeStepSeconds = 0.05;

LPARAM PointParam(int32_t x, int32_t y) { return static_cast<LPARAM>((x & 0xFFFF) | ((y & 0xFFFF) << 16)); }

TRect ToRect(const RECT& r) { return TRect{r.left, r.top, r.right, r.bottom}; }

void SetCursorMessage(HWND wnd, WORD hit, WORD message) {
    SendMessageA(wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd), static_cast<LPARAM>(MAKELONG(hit, message)));
}

// Runs `what` with the cursor at `at`, then puts the cursor back: the
// user's cursor is borrowed for one step, never across scans.
template <class F>
void WithCursorAt(POINT at, F what) {
    POINT cursor{};
    GetCursorPos(&cursor);
    SetCursorPos(at.x, at.y);
    what();
    SetCursorPos(cursor.x, cursor.y);
}

// The two probe points of the grey test: (x, y, anchor x, anchor y) at the
// reference size.
constexpr TColourPoint kGreyPoints[2] = {{260, 316, 386, 511}, {260, 284, 386, 479}};

}  // namespace

// ---- the common part -----------------------------------------------------------------------

TOngame::TOngame(HWND wnd, int32_t groupIndex, const std::string& title) : TPokerTable(wnd, groupIndex, title) {
    Network = 1;
    RefWidth = kRefWidth;
    RefHeight = kRefHeight;
    MinWidth = kMinWidth;
    MinHeight = kMinHeight;
}

TOngame::~TOngame() { EndNudge(); }

void TOngame::PlaceNormal() { PlaceOngame(false); }
void TOngame::PlaceTOI() { PlaceOngame(true); }

void TOngame::PlaceOngame(bool toi) {
    HWND wnd = Window();
    RECT r;
    if (!IsWindow(wnd) || !GetWindowRect(wnd, &r)) {
        nudge_.Busy = 0;
        return;
    }
    const bool active = ActiveTableWnd != 0 && ActiveTableWnd == Wnd;
    const bool otherActive = ActiveTableWnd != 0 && ActiveTableWnd != Wnd;
    const auto p = ongame::DecideOngamePlacement(*this, ToRect(r), toi, active, otherActive);
    if (!p) {
        // No placement now (a drag began, Auto Place went off, the slots
        // changed): a nudge under way stops here, never half done.
        EndNudge();
        return;
    }
    if (p->Move) {
        const TPlacementStep& s = *p->Move;
        SetWindowPos(wnd, s.InsertAfter == TInsertAfter::Bottom ? HWND_BOTTOM : HWND_NOTOPMOST, s.Target.Left,
                     s.Target.Top, s.Target.Width(), s.Target.Height(), s.Flags);
    }
    if (ongame::NudgeWanted(nudge_, p->Resized, CreatedAt, EngineNow())) {
        // Four pixels larger, at the slot's place; the corner is dragged
        // back by them in the steps that follow.
        nudge_.Busy = 1;
        nudge_.Step = 0;
        nudge_.StepAt = 0;
        SetWindowPos(wnd, HWND_NOTOPMOST, p->Target.Left, p->Target.Top, p->Target.Width() + ongame::kNudgePixels,
                     p->Target.Height() + ongame::kNudgePixels, SWP_NOACTIVATE);
    }
    if (nudge_.Busy) NudgeStep();
    KeepCalculatorInPlace();
}

void TOngame::NudgeStep() {
    const double now = EngineNow();
    if ((now - nudge_.StepAt) * 86400.0 < kNudgeStepSeconds) return;
    nudge_.StepAt = now;
    HWND wnd = Window();
    RECT r;
    if (!IsWindow(wnd) || !GetWindowRect(wnd, &r)) {
        nudge_.Busy = 0;
        return;
    }
    const int32_t d = ongame::kNudgePixels;
    switch (nudge_.Step++) {
        case 0:
            // The corner of the enlarged window, where the user would grab it.
            corner_ = POINT{r.right - kCornerRight, r.bottom - kCornerBottom};
            BringWindowToTop(wnd);
            WithCursorAt(POINT{corner_.x + kCursorDx, corner_.y + kCursorDy},
                         [&] { SetCursorMessage(wnd, HTBOTTOMRIGHT, WM_MOUSEMOVE); });
            break;
        case 1:
            WithCursorAt(POINT{corner_.x + kCursorDx, corner_.y + kCursorDy}, [&] {
                SetCursorMessage(wnd, HTCLIENT, WM_MOUSEMOVE);
                PostMessageA(wnd, WM_MOUSEMOVE, 0, PointParam(corner_.x, corner_.y));
            });
            break;
        case 2:
            WithCursorAt(POINT{corner_.x + kCursorDx, corner_.y + kCursorDy}, [&] {
                SetCursorMessage(wnd, HTCLIENT, WM_LBUTTONDOWN);
                PostMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(corner_.x, corner_.y));
            });
            break;
        default:
            PostMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, PointParam(corner_.x - d, corner_.y - d));
            PostMessageA(wnd, WM_LBUTTONUP, 0, PointParam(corner_.x - d, corner_.y - d));
            nudge_.Busy = 0;
            break;
    }
}

void TOngame::EndNudge() {
    if (!nudge_.Busy) return;
    nudge_.Busy = 0;
    // Steps 0 to 2 end with the press; before it there is nothing to undo.
    if (nudge_.Step < 3) return;
    HWND wnd = Window();
    if (IsWindow(wnd)) PostMessageA(wnd, WM_LBUTTONUP, 0, PointParam(corner_.x, corner_.y));
}

void TOngame::GreyPointTurnTest() {
    const TGroupRec* g = IsValidGroup(GroupIndex) ? &RunningConfig.Groups[static_cast<size_t>(GroupIndex)] : nullptr;
    const TPokerRoom* room = RoomOf(*this);
    if (!g || !g->AutoActivate || !room) {
        MyTurn = 0;
        if (ActiveTableWnd != 0 && ActiveTableWnd == Wnd) ActiveTableWnd = 0;
        return;
    }
    const uint32_t first = PixelAtScaledPoint(*this, kGreyPoints[0], room->ScaleRef);
    const uint32_t second = PixelAtScaledPoint(*this, kGreyPoints[1], room->ScaleRef);
    const ongame::TGreyTurnResult r = ongame::GreyPointTurn(*this, first, second, room->Tolerance, EngineNow(), ActiveTableWnd);
    if (!r.Log.empty()) EngineLog(r.Log);
    if (r.Released) EngineLog("TopActive= -1");
}

// ---- cash tables ---------------------------------------------------------------------------

TOngameCash::TOngameCash(HWND wnd, int32_t groupIndex, const std::string& title) : TOngame(wnd, groupIndex, title) {
    Kind = KindCash;
    const ongame::TCashTitle t = ongame::ParseCashTitle(title);
    TableId = t.TableId;
    Stake = t.Stake;
}

// ---- the client --------------------------------------------------------------------------------

namespace {

std::unique_ptr<TPokerTable> MakeOngameTable(HWND wnd, const std::string& title, int32_t roomIndex, int32_t groupIndex) {
    // A window of the client that is no table (its lobby, a dialog) is
    // still placed like any window of the room.
    if (title.find("ID=") == std::string::npos) return MakeTableAdapter<TPokerTable>(wnd, groupIndex, title);
    if (SubstringBetween(title, "ID=", 3, "]").empty()) return nullptr;
    const bool universal = roomIndex >= 0 && static_cast<size_t>(roomIndex) < PokerRooms.size() &&
                           PokerRooms[static_cast<size_t>(roomIndex)].RoomType == RoomOngameNoColour;
    if (title.find("ID=R") != std::string::npos) {
        if (universal) return MakeTableAdapter<TOngameCashUniversal>(wnd, groupIndex, title);
        return MakeTableAdapter<TOngameCash>(wnd, groupIndex, title);
    }
    if (title.find("ID=T") != std::string::npos) {
        if (universal) return MakeTableAdapter<TOngameTourUniversal>(wnd, groupIndex, title);
        return MakeTableAdapter<TOngameTournament>(wnd, groupIndex, title);
    }
    return nullptr;
}

const TAdapterRegistration registration{TAdapterClient{
    .Name = "Ongame",
    .RoomTypes = {RoomOngameNoColour, RoomOngame},
    .MakeTable = [](HWND wnd, const std::string& title, const std::string&, int32_t roomIndex, int32_t groupIndex)
        -> std::unique_ptr<TPokerTable> { return MakeOngameTable(wnd, title, roomIndex, groupIndex); },
}};

}  // namespace

}  // namespace kova::tables
