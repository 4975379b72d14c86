#pragma once
// A fixture for the poker clients' adapters against the simulated client:
// it starts the client, gives the engine a running config, runs scans as
// the main window's timer would, and collects the engine's log lines and
// the client's own log.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../engine/engine_testing.h"
#include "common/require.h"
#include "common/win32_testing.h"
#include "simclient_protocol.h"
#include "tables/engine/adapter_factory.h"
#include "tables/engine/autoplace.h"
#include "tables/model/enginelog.h"

namespace kova::tables::testing {

// Slots side by side: slot i at (i * 420, 10), 400 x 300.
inline std::vector<TSlotRec> SlotRow(int count) {
    std::vector<TSlotRec> slots;
    for (int i = 0; i < count; ++i) slots.push_back(TSlotRec{i * 420, 10, 400, 300, i * 420, 10, 400, 300});
    return slots;
}

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

inline bool InSlot(HWND h, const TSlotRec& s) {
    const RECT r = WindowRect(h);
    return r.left == s.Left && r.top == s.Top && r.right - r.left == s.Width && r.bottom - r.top == s.Height;
}

class ClientTest : public ::testing::Test {
protected:
    explicit ClientTest(const char* name) : name_(name) {}

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
    }

    void TearDown() override {
        if (!client_.Id()) return;
        FreeAllTables();
        kova::sim::SendCommand(name_, "quit");
        client_.WaitForExit(5000);
        ResetEngine();
    }

    LRESULT Send(const std::string& cmd) { return kova::sim::SendCommand(name_, cmd.c_str()); }
    HWND Open(int id, const std::string& cls, const std::string& title, const char* size = "384x262") {
        return reinterpret_cast<HWND>(
            Send("open id=" + std::to_string(id) + " class=" + cls + " title=\"" + title + "\" size=" + size + " pos=1300,600"));
    }

    bool Scan() {
        const bool ran = RunScan();
        kova::test::PumpMessages();
        return ran;
    }
    // Scans every `periodMs` until the condition holds or the time is up.
    bool ScanUntil(const std::function<bool()>& condition, int timeoutMs, int periodMs = 60) {
        return kova::test::WaitUntil(
            [&] {
                Scan();
                kova::test::PumpFor(periodMs);
                return condition();
            },
            timeoutMs);
    }

    size_t Logged(const std::string& line) const { return std::count(logLines_.begin(), logLines_.end(), line); }
    bool LoggedStarting(const std::string& start) const {
        return std::any_of(logLines_.begin(), logLines_.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; });
    }

    std::string ClientLog() {
        std::ifstream in(log_);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    // Lines of the client's log that contain `part`.
    size_t ClientLogged(const std::string& part) {
        std::istringstream in(ClientLog());
        size_t n = 0;
        for (std::string line; std::getline(in, line);) n += line.find(part) != std::string::npos;
        return n;
    }

    const char* name_;
    kova::test::ChildProcess client_;
    std::string dir_, log_;
    std::vector<std::string> logLines_;
};

}  // namespace kova::tables::testing
