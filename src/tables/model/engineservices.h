// The engine's replaceable services in one place: where its log lines and
// its messages to the user go, how it plays sounds, signals its own input
// and draws random numbers, who makes the panels and frames of tables, and
// the steps the main window and the tests put into the scan. An empty
// member means the default behaviour, so a fresh TEngineServices is the
// program as it starts; the main window fills in what it connects, tests
// replace a member, and ResetEngineServices() puts every default back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "poker/hand_record.h"
#include "tables/model/callback.h"

namespace kova::tables {

class TPokerTable;  // the table adapter (engine/pokertable.h, Win32 code)

// The information panel beside a table, as the table sees it.
class TTableHUD {
public:
    virtual ~TTableHUD() = default;
    virtual void CreateMyLabel(const std::string& name, int32_t left, int32_t top, const std::string& caption,
                               const std::string& hint) = 0;
    virtual void LoadLayout(const std::string& file) = 0;
    virtual void UpdateMenus() = 0;
    virtual void FollowTable() = 0;  // follow the table window, refresh the labels
    virtual void SetShown(bool shown) { (void)shown; }  // a config's stop hides, a refresh shows again
    // A label's text (the panel widens the label to it) and whether it shows;
    // nothing for a label the panel does not have.
    virtual void SetLabelText(const std::string& name, const std::string& text) { (void)name, (void)text; }
    virtual void SetLabelVisible(const std::string& name, bool visible) { (void)name, (void)visible; }
    virtual std::string LabelText(const std::string& name) const { (void)name; return std::string(); }
    // The panel's window region after labels came or went.
    virtual void UpdateRegion() {}
};

// The coloured frame around a table (0 = no turn colour, 1..3 alert stages).
class TTableFrame {
public:
    virtual ~TTableFrame() = default;
    virtual void SetState(int32_t colourIndex) = 0;
    virtual void SetShown(bool shown) { (void)shown; }
};

// What a tournament table hands to its push/fold calculator for one hand.
struct TCalculatorHand {
    int32_t HandNumber = 0;             // of the hand read, in its tournament
    std::string TableType;              // the tournament's format text: the calculator's table-type name
    poker::TTournamentInfo Tournament;  // level clock, payouts, finishing places
    poker::THH Hand;                    // the situation the hero faces: the hand read, moved on to the next
    std::vector<std::string> Lines;     // the hand-history text of the hand read
};

// The push/fold calculator of a tournament table, owned by the table.
class TTableCalculator {
public:
    virtual ~TTableCalculator() = default;
    virtual void ShowHand(const TCalculatorHand& hand) = 0;
    virtual void SetShown(bool shown) { (void)shown; }
    // The opponent models were changed elsewhere: choose them again.
    virtual void RefreshModels() {}
    // Where the calculator's window is, and a move of it (screen pixels).
    virtual bool Position(int32_t& left, int32_t& top) const {
        (void)left;
        (void)top;
        return false;
    }
    virtual void MoveTo(int32_t left, int32_t top) {
        (void)left;
        (void)top;
    }
};

struct TEngineServices {
    // Lines for the main window's log memo (default: standard error).
    TCallback<void(const std::string& line)> LogSink;
    // Messages to the user about the data files (default: standard error).
    TCallback<void(const std::string& text)> UserMessageSink;
    // The program's own synthetic input begins (1) and ends (0): the main
    // window tells the hook library, which then ignores it (default: nothing).
    TCallback<void(int flag)> SyntheticInputSeam;
    // The turn alert's sound: a file played once or in a loop; an empty name
    // stops whatever plays (default: the system's player, never waiting).
    TCallback<void(const std::string& file, bool loop)> SoundPlayer;
    // A uniform value in [0, 1) for the event macros' delays (default: a
    // randomly seeded generator).
    TCallback<double()> RandomSource;
    // The information panel and the frame of a table, attached to its
    // window (default: none, and a table then has none).
    TCallback<std::unique_ptr<TTableHUD>(TPokerTable& table)> MakeHUD;
    TCallback<std::unique_ptr<TTableFrame>(TPokerTable& table)> MakeFrame;
    // The push/fold calculator of a tournament table, made when the table
    // has its first hand to show (default: none, and the hands are only
    // read).
    TCallback<std::unique_ptr<TTableCalculator>(TPokerTable& table)> MakeCalculator;
    // The main window's table switches queued by the wheel bindings, given
    // the table's index (default: nothing).
    TCallback<void(int32_t table)> WheelUpStep;
    TCallback<void(int32_t table)> WheelDownStep;
    // The scan's turn step (default: ActivateTurnTable).
    TCallback<void()> ActivateTurnTableStep;

    bool operator==(const TEngineServices&) const = default;
};

extern TEngineServices EngineServices;

// Every service back to its default.
void ResetEngineServices();

// The engine as the program starts: a fresh state (every table and lobby
// freed first) and the default services. Every test of the engine begins
// and ends with it.
void ResetEngine();

}  // namespace kova::tables
