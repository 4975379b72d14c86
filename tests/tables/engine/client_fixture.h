#pragma once
// The engine with the simulated poker client: the one fixture of the tests
// that run the engine against the client's real windows (the scan, turns,
// mouse activation, the rounds that must leave nothing behind, and every
// poker client's adapters). It starts the client, logging the mouse
// messages its windows see, gives the engine a running config and one
// room, collects the engine's log lines and the marks of the program's own
// input, and runs scans as the main window's timer would. A test fills in
// the config and the room; it frees everything the engine kept at its end.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "common/require.h"
#include "common/win32_testing.h"
#include "engine_testing.h"
#include "simclient_protocol.h"
#include "tables/engine/autoplace.h"
#include "tables/model/enginelog.h"

namespace kova::tables::testing {

// Slots side by side: slot i at (i * 420, top), 400 x 300; the activate
// rectangle `grow` pixels larger.
inline std::vector<TSlotRec> SlotRow(int count, int top = 10, int grow = 0) {
    std::vector<TSlotRec> slots;
    for (int i = 0; i < count; ++i)
        slots.push_back(TSlotRec{i * 420, top, 400, 300, i * 420, top, 400 + grow, 300 + grow});
    return slots;
}

inline bool InSlot(HWND h, const TSlotRec& s) {
    const RECT r = WindowRect(h);
    return r.left == s.Left && r.top == s.Top && r.right - r.left == s.Width && r.bottom - r.top == s.Height;
}

// A group of room 0 that places and sizes its tables into a row of slots.
inline TGroupRec ClientGroup(const char* classPattern, const char* title, int slots) {
    TGroupRec g;
    g.RoomIndex = 0;
    g.Name = "G";
    g.ClassPattern = classPattern;
    g.Title = Title(title);
    g.AutoPlace = g.AutoSize = 1;
    g.Slots = SlotRow(slots);
    return g;
}

class ClientTest : public ::testing::Test {
protected:
    // `name` is the client's name (its control window's title);
    // ScanUntil's scans lie `scanPeriodMs` apart.
    explicit ClientTest(const char* name, int scanPeriodMs = 100) : name_(name), scanPeriodMs_(scanPeriodMs) {}

    void SetUp() override {
        KOVA_REQUIRE_SIMCLIENT();
        dir_ = kova::test::TempDir();
        log_ = dir_ + "\\client.log";
        ASSERT_TRUE(StartSimClient(client_, name_, log_));
        ResetEngine();
        ScanPaused = 0;
        RunningConfig.Name = "Test";
        PokerRooms.assign(1, TPokerRoom{});
        EngineServices.LogSink = [this](const std::string& line) { logLines_.push_back(line); };
        EngineServices.SyntheticInputSeam = [this](int flag) { synthetic_.push_back(flag); };
    }

    void TearDown() override {
        if (!client_.Id()) return;
        FreeAllTables();
        kova::sim::SendCommand(name_, "quit");
        client_.WaitForExit(5000);
        ResetEngine();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    // A command to the client and its answer.
    LRESULT Send(const std::string& cmd) { return kova::sim::SendCommand(name_, cmd.c_str()); }
    // A command the client answers with 1 when it did it.
    bool Command(const std::string& cmd) { return Send(cmd) == 1; }
    HWND Open(int id, const std::string& cls, const std::string& title, const char* size = "384x262",
              const char* pos = "1300,600") {
        return reinterpret_cast<HWND>(Send("open id=" + std::to_string(id) + " class=" + cls + " title=\"" + title +
                                           "\" size=" + size + " pos=" + pos));
    }
    bool Turn(int id, bool on) { return Command("turn " + std::to_string(id) + (on ? " on" : " off")); }

    bool Scan() {
        const bool ran = RunScan();
        kova::test::PumpMessages();
        return ran;
    }
    // Up to `scans` scans, a scan period apart, until the condition holds.
    bool ScanUntil(const std::function<bool()>& condition, int scans = 30) {
        for (int i = 0; i < scans; ++i) {
            Scan();
            if (condition()) return true;
            kova::test::PumpFor(scanPeriodMs_);
        }
        return false;
    }
    // Scans every `periodMs` until the condition holds or the time is up.
    bool ScanWithin(const std::function<bool()>& condition, int timeoutMs, int periodMs = 60) {
        return kova::test::WaitUntil(
            [&] {
                Scan();
                kova::test::PumpFor(periodMs);
                return condition();
            },
            timeoutMs);
    }

    // How many of the engine's log lines are `line`, and whether one starts
    // with `start`.
    size_t Logged(const std::string& line) const { return std::count(logLines_.begin(), logLines_.end(), line); }
    bool LoggedStarting(const std::string& start) const {
        return std::any_of(logLines_.begin(), logLines_.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; });
    }

    std::string ClientLog() const {
        std::ifstream in(log_);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    // Lines of the client's log that contain `part`.
    size_t ClientLogged(const std::string& part) const {
        std::istringstream in(ClientLog());
        size_t n = 0;
        for (std::string line; std::getline(in, line);) n += line.find(part) != std::string::npos;
        return n;
    }

    const char* name_;
    int scanPeriodMs_;
    kova::test::ChildProcess client_;
    std::string dir_, log_;
    std::vector<std::string> logLines_;
    std::vector<int> synthetic_;
};

}  // namespace kova::tables::testing
