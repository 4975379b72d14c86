// Time from a Fold button changing colour to the table's activation, under
// Wine against the simulated poker client: six tables, the turn moving from
// table to table, scans run by a timer of the usual period while the
// button's colour changes at a random moment between two scans. Not a test:
// run by hand (tools/testenv/wine-run .../kova_tables_turnbench.exe [turns]
// [period ms]). Prints the median and the worst time, and the cost of the
// scan that activates.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "common/win32_testing.h"
#include "simclient_protocol.h"
#include "tables/engine/autoplace.h"
#include "tables/logic/titleexpr.h"

using namespace kova::tables;
using Clock = std::chrono::steady_clock;

namespace {

constexpr const char* kClient = "kovaturnbench";
constexpr int kTables = 6;

bool Send(const std::string& command) { return kova::sim::SendCommand(kClient, command.c_str()) != 0; }

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

bool InRect(HWND h, int l, int t, int w, int ht) {
    RECT r{};
    GetWindowRect(h, &r);
    return r.left == l && r.top == t && r.right - r.left == w && r.bottom - r.top == ht;
}

struct Stats {
    double median = 0, worst = 0;
};
Stats Of(std::vector<double> v) {
    Stats s;
    if (v.empty()) return s;
    std::sort(v.begin(), v.end());
    s.median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    s.worst = v.back();
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const int turns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    const int period = argc > 2 ? std::max(10, std::atoi(argv[2])) : 200;
    kova::test::ChildProcess client;
    if (!client.Start("\"" + kova::test::ExeDir() + "\\simclient.exe\" --name " + kClient) ||
        !kova::test::WaitForWindow(kova::sim::kControlClass, kClient)) {
        std::fprintf(stderr, "cannot start simclient.exe\n");
        return 2;
    }
    TGroupRec g;
    g.ClassPattern = "KovaBenchTable";
    g.Title.Text = "Table";
    DecodeTitle(g.Title);
    g.AutoPlace = g.AutoSize = g.AutoActivate = g.ActivateSize = 1;
    for (int i = 0; i < kTables; ++i)
        g.Slots.push_back(TSlotRec{i % 3 * 420, i / 3 * 330, 400, 300, i % 3 * 420, i / 3 * 330, 440, 330});
    RunningConfig.Groups = {g};
    PokerRooms.assign(1, TPokerRoom{});
    TPokerRoom& room = PokerRooms[0];
    room.Name = "Bench";
    room.Proportional = 1;
    room.ScaleRef = {1000, 1000, 0, 0};
    room.FoldPoint = {575, 880, 0, 0};
    room.FoldColour = {GetRValue(kova::sim::kFoldColour), GetGValue(kova::sim::kFoldColour), GetBValue(kova::sim::kFoldColour)};
    room.Tolerance = 8;
    std::vector<HWND> windows;
    for (int i = 1; i <= kTables; ++i)
        windows.push_back(reinterpret_cast<HWND>(kova::sim::SendCommand(
            kClient, ("open id=" + std::to_string(i) + " class=KovaBenchTable title=\"Table " + std::to_string(i) +
                      "\" size=384x262 pos=1300,700").c_str())));
    ScanPaused = 0;
    for (int i = 0; i < 3; ++i) {
        RunScan();
        kova::test::PumpFor(50);
    }

    std::mt19937 random(12345);
    std::vector<double> latency, activationScan;
    Clock::time_point nextScan = Clock::now();
    auto tick = [&] {  // waits for the timer's next tick, then scans
        while (Clock::now() < nextScan) kova::test::PumpFor(1);
        nextScan += std::chrono::milliseconds(period);
        const auto start = Clock::now();
        RunScan();
        kova::test::PumpMessages();
        return Ms(Clock::now() - start);
    };
    int failures = 0;
    for (int n = 0; n < turns; ++n) {
        const int id = n % kTables + 1;
        HWND h = windows[static_cast<size_t>(id - 1)];
        // The colour changes at a random moment between two ticks.
        const auto at = nextScan - std::chrono::milliseconds(period) +
                        std::chrono::milliseconds(std::uniform_int_distribution<int>(0, period - 1)(random));
        while (Clock::now() < at) kova::test::PumpFor(1);
        const auto changed = Clock::now();
        Send("turn " + std::to_string(id) + " on");
        int32_t slot = -1;
        for (const TOwnedTable& t : Tables)
            if (t->Window() == h) slot = t->Slot;
        const TSlotRec s = g.Slots[static_cast<size_t>(std::clamp(slot, 0, kTables - 1))];
        bool done = false;
        for (int k = 0; k < 50 && !done; ++k) {
            const double cost = tick();
            if (ActiveTableWnd == reinterpret_cast<uintptr_t>(h) && InRect(h, s.ActLeft, s.ActTop, s.ActWidth, s.ActHeight)) {
                latency.push_back(Ms(Clock::now() - changed));
                activationScan.push_back(cost);
                done = true;
            }
        }
        if (!done) ++failures;
        Send("turn " + std::to_string(id) + " off");
        for (int k = 0; k < 50 && ActiveTableWnd != 0; ++k) tick();
    }
    const Stats l = Of(latency), c = Of(activationScan);
    std::printf("turns %d (not activated: %d), scan period %d ms\n", turns, failures, period);
    std::printf("colour change to activation: median %.1f ms, worst %.1f ms\n", l.median, l.worst);
    std::printf("the activating scan itself:  median %.2f ms, worst %.2f ms\n", c.median, c.worst);
    std::sort(latency.begin(), latency.end());
    std::printf("slowest:");
    for (size_t i = latency.size() > 5 ? latency.size() - 5 : 0; i < latency.size(); ++i) std::printf(" %.1f", latency[i]);
    std::printf(" ms\n");
    FreeAllTables();
    Send("quit");
    client.WaitForExit(5000);
    return failures ? 1 : 0;
}
