// The Win32 half of the turn handling: pixels read, windows raised and
// flashed, sounds played, clicks made. The decisions are in turnlogic.
#include <windows.h>

#include <mmsystem.h>

#include <exception>
#include <random>
#include <utility>

#include "tables/engine/autoplace.h"
#include "tables/model/enginelog.h"
#include "tables/engine/pokertable.h"
#include "tables/logic/slots.h"
#include "tables/logic/turnlogic.h"

namespace kova::tables {

namespace {

double Uniform01() {
    if (EngineServices.RandomSource) return EngineServices.RandomSource();
    // The default source's generator, seeded at its first use after a reset.
    if (!EngineState.RandomEngine) EngineState.RandomEngine.emplace(std::random_device{}());
    return std::uniform_real_distribution<double>(0.0, 1.0)(*EngineState.RandomEngine);
}

void DefaultPlay(const std::string& file, bool loop) {
    if (file.empty()) {
        PlaySoundA(nullptr, nullptr, 0);
        return;
    }
    // No default sound in place of a missing file, and never waiting for
    // the sound: the scan goes on.
    PlaySoundA(file.c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT | (loop ? SND_LOOP : 0));
}

uint32_t Rgb(const TRGB& c) {
    return static_cast<uint32_t>(c.R) | (static_cast<uint32_t>(c.G) << 8) | (static_cast<uint32_t>(c.B) << 16);
}

bool WindowUsable(HWND h) { return IsWindow(h) && IsWindowVisible(h); }

bool IsActive(const TPokerTable& t) { return ActiveTableWnd != 0 && ActiveTableWnd == t.Wnd; }

HWND RootParentWindow(HWND h) {
    for (HWND p = h ? GetParent(h) : nullptr; p; p = GetParent(h)) h = p;
    return h;
}

bool CursorIn(HWND h, POINT cursor) {
    RECT r;
    return GetWindowRect(h, &r) && PtInRect(&r, cursor);
}

const TGroupRec* GroupOf(const TPokerTable& t) {
    return IsValidGroup(t.GroupIndex) ? &RunningConfig.Groups[static_cast<size_t>(t.GroupIndex)] : nullptr;
}

}  // namespace

void PlayAlertSound(bool loop) {
    const std::string file = ProgramFolder.empty() ? std::string("Alert1.wav") : ProgramFolder + "\\Alert1.wav";
    if (EngineServices.SoundPlayer)
        EngineServices.SoundPlayer(file, loop);
    else
        DefaultPlay(file, loop);
}

void StopAlertSound() {
    if (EngineServices.SoundPlayer)
        EngineServices.SoundPlayer(std::string(), false);
    else
        DefaultPlay(std::string(), false);
}

// ---- one table -----------------------------------------------------------------------

void TPokerTable::CheckTurn() {
    const TGroupRec* g = GroupOf(*this);
    const TPokerRoom* room = RoomOf(*this);
    if (!g || !g->AutoActivate || !room) {
        MyTurn = 0;
        // Turn detection switched off while this table was the activated
        // one: let it go, or no other table could ever be activated.
        if (IsActive(*this)) {
            ActiveTableWnd = 0;
            TurnStart = 0;
        }
        return;
    }
    const uint32_t pixel = PixelAtScaledPoint(*this, room->FoldPoint, room->ScaleRef);
    const std::string log = UpdateTurnState(*this, pixel, Rgb(room->FoldColour), room->Tolerance, EngineNow(), ActiveTableWnd);
    if (!log.empty()) EngineLog(log);
}

int32_t TPokerTable::AlertTurn() {
    if (!WindowUsable(Window())) return AlertStage;
    const TPokerRoom* room = RoomOf(*this);
    static const std::array<TTurnAlertStep, 4> none{};
    const TAlertActions a = StepAlert(*this, room ? room->AlertSteps : none, IsActive(*this), UserOptions.Sound != 0, EngineNow());
    if (a.StopSound) StopAlertSound();
    if (a.BringToTop) BringWindowToTop(Window());
    if (a.Flash) FlashWindow(Window(), TRUE);
    if (a.Sound) PlayAlertSound(false);
    if (a.LoopSound) PlayAlertSound(true);
    if (UserOptions.Frame && room && room->FrameOn) ShowFrame(*this, a.Frame);
    return AlertStage;
}

void TPokerTable::Tick() {
    if (!WindowUsable(Window())) return;
    AlertTurn();
    const TTickPlan plan = StepTick(*this, EngineOptions.EventBetPot);
    if (plan.EventMacros) CheckEventMacros();
    if (plan.BetPot) EventMacros(3);
}

void TPokerTable::CheckEventMacros() {
    if (EngineOptions.EventTimeBank) EventMacros(0);
    if (EngineOptions.EventImBack) EventMacros(1);
    if (EngineOptions.EventInfoTab) EventMacros(2);
}

void TPokerTable::EventMacros(int32_t event) {
    const TPokerRoom* room = RoomOf(*this);
    if (!room || event < 0 || event >= static_cast<int32_t>(room->EventMacros.size())) return;
    const TEventMacro& m = room->EventMacros[static_cast<size_t>(event)];
    TEventMacroWorld world;
    world.MyTurn = MyTurn != 0;
    world.IsActive = IsActive(*this);
    world.TurnStart = TurnStart;
    world.Now = EngineNow();
    world.ReadPixel = [&] { return static_cast<uint32_t>(PixelAtScaledPoint(*this, m.Point, m.ScaleRef)); };
    world.Uniform = Uniform01;
    std::vector<std::string> log;
    const bool run = StepEventMacro(EventStates[static_cast<size_t>(event)], m, event, world, log);
    for (const std::string& line : log) EngineLog(line);
    if (!run) return;
    // The macro's click is always made, whatever its stored Enabled byte:
    // on a copy, so the room record (saved to the room file) stays as the
    // user left it.
    TMacroClick click = m.Click;
    click.Enabled = 1;
    TSyntheticInputScope synthetic;
    ClickAtScaledPoint(*this, click, m.ScaleRef);
}

// ---- across tables ------------------------------------------------------------------------

void ActivateTurnTable() {
    for (const TOwnedTable& t : Tables)
        if (t) t->CheckTurn();

    POINT cursor{};
    GetCursorPos(&cursor);
    HWND under = RootParentWindow(WindowFromPoint(cursor));

    if (ActiveTableWnd == 0) {
        const TTableList list = TableStates();
        const std::vector<const TTableState*> states(list.begin(), list.end());
        const int32_t i = ChooseTurnTable(states, EngineNow());
        if (i >= 0) {
            TPokerTable* t = Tables[static_cast<size_t>(i)].get();
            ActiveTableWnd = t->Wnd;
            RECT r;
            if (EngineOptions.JumpMouse && GetWindowRect(t->Window(), &r)) {
                const TPoint p = JumpPoint(TRect{r.left, r.top, r.right, r.bottom});
                SetCursorPos(p.X, p.Y);
                cursor = POINT{p.X, p.Y};
                under = RootParentWindow(WindowFromPoint(cursor));
            }
        }
    }

    try {
        MoveTOITables();
    } catch (const std::exception&) {
        EngineLog("ERROR !!!!!!!!!!!!! CheckActivatedTOI ");
    }

    HWND active = reinterpret_cast<HWND>(ActiveTableWnd);
    if (active && under && CursorIn(active, cursor)) {
        if (under != active) {
            BringWindowToTop(active);
            SetForegroundWindow(active);
        }
        MouseOverWnd = ActiveTableWnd;
        return;
    }
    if (under) {
        TPokerTable* found = nullptr;
        for (const TOwnedTable& t : Tables)
            if (t && t->Window() == under) found = t.get();
        if (found) {
            const TGroupRec* g = GroupOf(*found);
            if (g && g->MouseActivate) {
                if (MouseOverWnd == found->Wnd) return;
                BringWindowToTop(under);
                SetForegroundWindow(under);
                if (!EngineOptions.LBtnMouseActivate) {
                    MouseOverWnd = found->Wnd;
                    found->ActivatedAt = EngineNow();
                    return;
                }
            }
        } else if (MouseOverWnd != 0 && CursorIn(reinterpret_cast<HWND>(MouseOverWnd), cursor)) {
            return;
        }
    }
    MouseOverWnd = 0;
}

void MoveTOITables() {
    TTableList states = TableStates();
    ReturnTOITablesToStack(states);
    if (ResortPending) PlaceTablesIntoSlots();
    // The placement may have re-ordered the list: take it afresh.
    states = TableStates();
    MoveTOITurnTablesToGrid(states);
    if (ResortPending) PlaceTablesIntoSlots();
}

}  // namespace kova::tables
