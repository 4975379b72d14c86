// Speed of one scan tick under Wine: 6, 24 and 48 managed tables among 300
// other top-level windows, all in the simulated poker client. Not a test:
// run by hand (tools/testenv/wine-run .../kova_tables_scanbench.exe).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "common/win32_testing.h"
#include "simclient_protocol.h"
#include "tables/engine/autoplace.h"
#include "tables/logic/titleexpr.h"

using namespace kova::tables;

namespace {

constexpr const char* kClient = "kovascanbench";

bool Send(const std::string& command) { return kova::sim::SendCommand(kClient, command.c_str()) != 0; }

double MicrosecondsPerTick(int ticks) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < ticks; ++i) RunScan();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count() / ticks;
}

}  // namespace

int main() {
    kova::test::ChildProcess client;
    if (!client.Start("\"" + kova::test::ExeDir() + "\\simclient.exe\" --name " + kClient) ||
        !kova::test::WaitForWindow(kova::sim::kControlClass, kClient)) {
        std::fprintf(stderr, "cannot start simclient.exe\n");
        return 2;
    }
    for (int i = 0; i < 300; ++i)
        Send("open id=" + std::to_string(1000 + i) + " class=KovaBenchOther title=\"Other " + std::to_string(i) +
             "\" size=120x80 pos=" + std::to_string(10 + i % 20 * 40) + "," + std::to_string(600 + i / 20 * 20));

    TGroupRec g;
    g.ClassPattern = "KovaBenchTable";
    g.Title.Text = "Table";
    DecodeTitle(g.Title);
    g.AutoPlace = g.AutoSize = g.AutoShift = 1;
    for (int i = 0; i < 48; ++i) g.Slots.push_back(TSlotRec{i % 8 * 200, i / 8 * 90, 200, 150, 0, 0, 0, 0});
    RunningConfig.Groups = {g};
    PokerRooms.assign(1, TPokerRoom{});
    PokerRooms[0].Name = "Custom";

    ScanPaused = 0;
    std::printf("tables  us/tick  us/tick (titles re-read, AllowChange)\n");
    int opened = 0;
    for (int tables : {6, 24, 48}) {
        for (; opened < tables; ++opened)
            Send("open id=" + std::to_string(opened + 1) + " class=KovaBenchTable title=\"Table " +
                 std::to_string(opened + 1) + "\" size=184x112 pos=1500,900");
        for (int i = 0; i < 5; ++i) RunScan();  // adopt and place
        if (Tables.size() != static_cast<size_t>(tables)) std::fprintf(stderr, "only %zu tables adopted\n", Tables.size());
        RunningConfig.Groups[0].AllowChange = 0;
        const double plain = MicrosecondsPerTick(200);
        RunningConfig.Groups[0].AllowChange = 1;
        const double allowChange = MicrosecondsPerTick(200);
        std::printf("%6d  %7.0f  %7.0f\n", tables, plain, allowChange);
    }
    FreeAllTables();
    Send("quit");
    client.WaitForExit(5000);
    return 0;
}
