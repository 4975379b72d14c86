#include "tables/logic/turnlogic.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace kova::tables {

namespace {

double SecondsSince(double then, double now) { return (now - then) * SecondsPerDay; }

std::string Format(const char* format, int32_t n) {
    char text[96];
    std::snprintf(text, sizeof text, format, static_cast<int>(n));
    return text;
}

}  // namespace

std::string UpdateTurnState(TTableState& table, uint32_t pixel, uint32_t target, int32_t tolerance, double now,
                            uintptr_t& activeWnd) {
    if (pixel == InvalidColour) return Format("Color Error Num= %d", table.ColourMisses);
    return UpdateTurnStateOnMatch(table, ColorsMatch(pixel, target, tolerance), now, activeWnd);
}

std::string UpdateTurnStateOnMatch(TTableState& table, bool match, double now, uintptr_t& activeWnd) {
    std::string log;
    if (table.MyTurn) {
        if (match) {
            if (table.ColourMisses > 0) log = Format("Fold Error = %d", table.ColourMisses);
            table.ColourMisses = 0;
        } else if (++table.ColourMisses >= 2) {
            // Two misses in a row: the turn is over.
            table.MyTurn = 0;
            table.TurnStart = 0;
            table.TurnEnd = now;
            if (activeWnd != 0 && activeWnd == table.Wnd) activeWnd = 0;
            table.ColourMisses = 0;
        }
    } else if (match) {
        if (table.TurnStart == 0) table.TurnStart = now;
        // A colour that comes back within a second of a turn's end is the
        // same button still fading: it becomes a turn only after that second.
        if (SecondsSince(table.TurnEnd, now) > 1.0) table.MyTurn = 1;
    }
    return log;
}

TAlertActions StepAlert(TTableState& table, const std::array<TTurnAlertStep, 4>& steps, bool isActive, bool soundOption,
                        double now) {
    TAlertActions a;
    if (!isActive || !table.MyTurn) {
        if (table.AlertStage == 4) a.StopSound = true;
        table.AlertStage = 0;
        return a;
    }
    const double e = SecondsSince(table.TurnStart, now);
    auto fire = [&](const TTurnAlertStep& s) {
        a.BringToTop = a.BringToTop || s.BringToTop;
        a.Flash = a.Flash || s.Flash;
        a.Sound = a.Sound || (s.Sound && soundOption);
    };
    const TTurnAlertStep &t0 = steps[0], &t1 = steps[1], &t2 = steps[2], &t3 = steps[3];
    switch (table.AlertStage) {
        case 0:
            if (e >= t0.Delay) {
                fire(t0);
                if (t0.Frame) a.Frame = 1;
                table.AlertStage = 1;
            }
            break;
        case 1:
            if (t0.Frame) a.Frame = 1;
            if (e > t1.Delay) {
                fire(t1);
                table.AlertStage = 2;
            }
            break;
        case 2:
            if (t1.Frame) a.Frame = 2;
            if (e > t2.Delay) {
                fire(t2);
                table.AlertStage = 3;
            }
            break;
        case 3:
            if (t2.Frame) a.Frame = 3;
            a.Flash = t2.Flash != 0;
            if (soundOption) {
                if (t3.Sound)
                    a.LoopSound = true;
                else
                    a.Sound = true;
            }
            table.AlertStage = 4;
            break;
        default:  // 4: every tick from then on
            if (t3.Frame) a.Frame = 3;
            a.BringToTop = t3.BringToTop != 0;
            a.Flash = t3.Flash != 0;
            break;
    }
    return a;
}

TTickPlan StepTick(TTableState& table, bool betPotOption) {
    TTickPlan plan;
    if (--table.TickCountdown <= 0) {
        plan.EventMacros = true;
        table.TickCountdown = 5;
    }
    plan.BetPot = betPotOption;
    return plan;
}

double RandomDelay(double a, double b, double uniform01) {
    if (b <= a) return a;
    return uniform01 * (b - a) + a;
}

bool StepEventMacro(TEventState& s, const TEventMacro& m, int32_t event, const TEventMacroWorld& w,
                    std::vector<std::string>& log) {
    if (!m.Enabled) return false;
    const bool excluded = m.OnlyActive && !w.IsActive;
    auto uniform = [&] { return w.Uniform ? w.Uniform() : 0.0; };
    if (m.OnTurn) {
        if (!w.MyTurn) {
            s.Done = 0;
            s.Delay = RandomDelay(m.TurnDelayMin, m.TurnDelayMax, uniform());
            return false;
        }
        if (s.Done || excluded) return false;
        if (SecondsSince(w.TurnStart, w.Now) > s.Delay) {
            s.Done = 1;
            return true;
        }
        return false;
    }
    if (!m.OnColour) return false;
    const uint32_t target = static_cast<uint32_t>(m.Colour.R) | (static_cast<uint32_t>(m.Colour.G) << 8) |
                            (static_cast<uint32_t>(m.Colour.B) << 16);
    auto pixel = [&] { return w.ReadPixel ? w.ReadPixel() : InvalidColour; };
    if (s.Done) {
        const uint32_t c = pixel();
        if (c == InvalidColour) {
            log.push_back("EventMacros Color Error ");
        } else {
            s.Done = 0;
            s.Seen = ColorsMatch(c, target, m.Tolerance) ? 1 : 0;
        }
        return false;
    }
    if (s.Seen) {
        if (excluded) return false;
        if (SecondsSince(s.SeenAt, w.Now) > s.Delay) {
            s.Seen = 0;
            s.Done = 1;
            return true;
        }
        return false;
    }
    const uint32_t c = pixel();
    if (c == InvalidColour) {
        log.push_back(Format("EventMacros Color Error, Macros Num %d ", event));
    } else if (ColorsMatch(c, target, m.Tolerance)) {
        s.Seen = 1;
        s.SeenAt = w.Now;
        s.Delay = RandomDelay(m.ColourDelayMin, m.ColourDelayMax, uniform());
    }
    return false;
}

int32_t ChooseTurnTable(const std::vector<const TTableState*>& tables, double now) {
    int32_t best = -1;
    double bestStart = 0;
    for (size_t i = 0; i < tables.size(); ++i) {
        const TTableState* t = tables[i];
        if (!t || !t->MyTurn || t->TurnStart > now) continue;
        if (best < 0 || t->TurnStart <= bestStart) {
            best = static_cast<int32_t>(i);
            bestStart = t->TurnStart;
        }
    }
    return best;
}

TPoint JumpPoint(const TRect& w) {
    return TPoint{w.Left + 3 * w.Width() / 4, w.Top + 3 * w.Height() / 4};
}

uint32_t FrameStateColour(int32_t state) {
    switch (state) {
        case 1: return 0x0014961Eu;  // RGB(30, 150, 20)
        case 2: return 0x000AC0F4u;  // RGB(244, 192, 10)
        case 3: return 0x000303BEu;  // RGB(190, 3, 3)
        default: return InvalidColour;
    }
}

int32_t FramePenWidth(const std::string& text) {
    int32_t thickness = 6;
    if (!text.empty()) {
        errno = 0;
        char* end = nullptr;
        const long v = std::strtol(text.c_str(), &end, 10);
        if (end && *end == '\0' && errno == 0) thickness = static_cast<int32_t>(v < -1000 ? -1000 : v > 1000 ? 1000 : v);
    }
    const int32_t width = 2 * thickness;
    return width < 1 ? 1 : width > 100 ? 100 : width;
}

}  // namespace kova::tables
