#include "tables/engine/autoplace.h"

#include <exception>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "tables/engine/actionqueue.h"
#include "tables/engine/adapter_factory.h"
#include "framework/portable/scope.h"
#include "framework/windowtext.h"
#include "tables/model/enginelog.h"
#include "tables/logic/slots.h"
#include "tables/logic/titleexpr.h"

namespace kova::tables {

namespace {

void RunDeferredActions() {
    while (!EngineState.DeferredActions.empty() && !ScanBusy) {
        std::vector<TCallback<void()>> actions;
        actions.swap(EngineState.DeferredActions);
        for (auto& action : actions) action();
    }
}

bool WindowExists(const TPokerTable* t) { return t && IsWindow(t->Window()); }

// The table's window exists and is shown, in one question to the window
// manager for a top-level window (the style says it all when no parent
// can hide it).
bool WindowShown(const TPokerTable* t) {
    if (!t) return false;
    const LONG style = GetWindowLongA(t->Window(), GWL_STYLE);
    if (!(style & WS_VISIBLE)) return false;  // also a window that is gone
    return !(style & WS_CHILD) || IsWindowVisible(t->Window());
}

// The first group of the running config that recognises a window; -1 when none.
int32_t MatchingGroup(const std::string& className, const std::string& text) {
    const auto& groups = RunningConfig.Groups;
    for (size_t g = 0; g < groups.size(); ++g) {
        if (!MatchClassPattern(groups[g].ClassPattern, className)) continue;
        if (MatchTitleExpression(groups[g].Title, text)) return static_cast<int32_t>(g);
    }
    return -1;
}

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

// A lobby recognizer whose flag asks the scan to collect such windows.
bool Watched(const TLobbyRecognizer& lobby) { return lobby.Wanted && EngineState.*lobby.Wanted; }

// A watched lobby recognizer could take a window of this class.
bool AnyWatchTakesClass(const std::string& className) {
    for (const TAdapterClient& client : AdapterClients())
        for (const TLobbyRecognizer& lobby : client.Lobbies)
            if (Watched(lobby) && className.find(lobby.ClassPart) != std::string::npos) return true;
    return false;
}

// The watched lobbies, in registration order, each while the window is in
// neither list: the first that recognises it and makes an adapter collects
// it into Lobbies.
void CollectWatchedLobby(HWND h, const std::string& className, const std::string& text, bool inNeither) {
    for (const TAdapterClient& client : AdapterClients()) {
        for (const TLobbyRecognizer& lobby : client.Lobbies) {
            if (!inNeither) return;
            if (!Watched(lobby) || !lobby.Make || !lobby.Matches(className, text)) continue;
            std::unique_ptr<TPokerTable> made = lobby.Make(h, text, -1);
            if (!made) continue;
            Lobbies.push_back(std::move(made));
            if (lobby.CollectedLog) EngineLogF(lobby.CollectedLog, static_cast<int>(Lobbies.size()) - 1);
            inNeither = false;
        }
    }
}

// Window handle to table position, for the walk: every window of the desktop
// is looked up, so the lookup must not grow with the number of tables.
class KnownWindows {
public:
    KnownWindows() { Rebuild(); }
    void Rebuild() {
        tables_.clear();
        lobbies_.clear();
        for (size_t i = 0; i < Tables.size(); ++i)
            if (Tables[i]) tables_.emplace(Tables[i]->Wnd, static_cast<int32_t>(i));
        for (const TOwnedTable& l : Lobbies)
            if (l) lobbies_.insert(l->Wnd);
    }
    // As IsKnownWindow.
    bool Find(HWND h, int32_t& index) const {
        const auto key = reinterpret_cast<uintptr_t>(h);
        if (auto it = tables_.find(key); it != tables_.end()) {
            index = it->second;
            return true;
        }
        index = -1;
        return lobbies_.count(key) != 0;
    }

private:
    std::unordered_map<uintptr_t, int32_t> tables_;
    std::unordered_set<uintptr_t> lobbies_;
};

BOOL CALLBACK CollectWindow(HWND h, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
    return TRUE;
}

bool AnyGroupTakesClass(const std::string& className) {
    for (const TGroupRec& g : RunningConfig.Groups)
        if (MatchClassPattern(g.ClassPattern, className)) return true;
    return false;
}

// Class names of the windows met by the last walks (kept in
// EngineState.WindowClasses). Windows not met in a walk are forgotten at its
// end, so a reused handle is read afresh.
class ClassNames {
public:
    const std::string& Of(HWND h) {
        const auto key = reinterpret_cast<uintptr_t>(h);
        auto it = names_.find(key);
        if (it == names_.end()) it = names_.emplace(key, WindowClassName(h)).first;
        seen_.insert(key);
        return it->second;
    }
    void EndWalk() {
        for (auto it = names_.begin(); it != names_.end();) {
            if (seen_.count(it->first))
                ++it;
            else
                it = names_.erase(it);
        }
    }

private:
    std::unordered_map<uintptr_t, std::string>& names_ = EngineState.WindowClasses;
    std::unordered_set<uintptr_t> seen_;
};

}  // namespace

// ---- seams --------------------------------------------------------------------------------

void RunWhenScanIdle(std::function<void()> action) {
    if (!action) return;
    if (!ScanBusy) {
        action();
        return;
    }
    EngineState.DeferredActions.push_back(std::move(action));
}

// ---- the scan -----------------------------------------------------------------------------

bool RunScan() {
    if (ScanPaused || ScanBusy) return false;
    {
        // Set for the scan and cleared on every way out.
        TFlagScope busy(ScanBusy, 1);
        try {
            if (ModelsChanged) {
                RefreshTableCalculators();
                ModelsChanged = 0;
            }
            RunQueuedTableAction();
            DropDeadTables();
            ScanTopLevelWindows();
            ParseAllTableTitles();
            if (EngineServices.ActivateTurnTableStep)
                EngineServices.ActivateTurnTableStep();
            else
                ActivateTurnTable();
            if (ResortPending) PlaceTablesIntoSlots();
            PlaceAllTables();
            TickTablesAndLobbies(true);
        } catch (const std::exception& e) {
            EngineLogF("Scan stopped by an error: %s", e.what());
        } catch (...) {
            EngineLog("Scan stopped by an error");
        }
    }
    RunDeferredActions();
    return true;
}

bool IsKnownWindow(HWND wnd, int32_t& index) {
    const auto key = reinterpret_cast<uintptr_t>(wnd);
    for (size_t i = 0; i < Tables.size(); ++i) {
        if (Tables[i] && Tables[i]->Wnd == key) {
            index = static_cast<int32_t>(i);
            return true;
        }
    }
    index = -1;
    for (const TOwnedTable& l : Lobbies)
        if (l && l->Wnd == key) return true;
    return false;
}

void AddTable(HWND wnd, const std::string& title, const std::string& className, int32_t roomIndex, int32_t groupIndex) {
    if (!IsWindowVisible(wnd)) return;
    std::unique_ptr<TPokerTable> t = CreateTableAdapter(wnd, title, className, roomIndex, groupIndex);
    if (!t) return;
    t->WindowClass = className;
    // A client's main lobby that a group took is a lobby all the same:
    // ticked, never given a slot nor placed.
    if (t->Kind == KindLobby || (t->Kind == KindMainLobby && IsClientLobby(className, title))) {
        Lobbies.push_back(std::move(t));
        EngineLogF("Add Lobby: %s", title.c_str());
        return;
    }
    t->GroupIndex = groupIndex;
    t->RoomIndex = roomIndex;
    t->KeptInGrid = 0;
    const TGroupRec* g = IsValidGroup(groupIndex) ? &RunningConfig.Groups[static_cast<size_t>(groupIndex)] : nullptr;
    if (g && g->TOIStyle) {
        if (RunningConfig.TOI.NewTablesTo == 1) {
            t->Slot = FreeGridSlot(groupIndex);
            t->InGrid = 1;
        } else {
            t->Slot = RunningConfig.TOI.StackSlot;
            t->InGrid = 0;
        }
    } else {
        t->Slot = FirstFreeSlot(groupIndex);
    }
    ResortPending = 1;
    t->PrevSlot = t->Slot;
    const uint8_t kind = t->Kind;
    Tables.push_back(std::move(t));
    if (kind == KindCash || kind == KindTournament || kind == KindGeneric) ++SessionStats.TablesSeen;
}

void RemoveTable(size_t index) {
    if (index >= Tables.size()) return;
    TOwnedTable gone = std::move(Tables[index]);
    Tables.erase(Tables.begin() + static_cast<std::ptrdiff_t>(index));
    ForgetQueuedTable(static_cast<int32_t>(index));
    ResortPending = 1;
}

void RemoveLobby(size_t index) {
    if (index >= Lobbies.size()) return;
    TOwnedTable gone = std::move(Lobbies[index]);
    Lobbies.erase(Lobbies.begin() + static_cast<std::ptrdiff_t>(index));
    EngineLogF("Del LobbyT: %s", gone ? gone->Title.c_str() : "");
}

void DropDeadTables() {
    for (size_t i = 0; i < Tables.size();) {
        if (WindowShown(Tables[i].get()))
            ++i;
        else
            RemoveTable(i);
    }
    for (size_t i = 0; i < Lobbies.size();) {
        if (WindowExists(Lobbies[i].get()))
            ++i;
        else
            RemoveLobby(i);
    }
    PlaceTablesIntoSlots();
}

void ScanTopLevelWindows() {
    KnownWindows known;
    ClassNames classes;
    const bool allowChange = !RunningConfig.Groups.empty() && RunningConfig.Groups[0].AllowChange;
    // Every top-level window in z-order from the very first, so a table
    // opened on top of all others is adopted at once. The list is taken in
    // one call: stepping from window to window (or a walk that checks each
    // window as it goes) asks the window manager once per window.
    std::vector<HWND> windows;
    windows.reserve(512);
    EnumDesktopWindows(nullptr, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND h : windows) {
        int32_t index = -1;
        if (known.Find(h, index)) {
            if (index < 0 || !allowChange) continue;  // a lobby, or a table that keeps its group
            // A known window is recognised without reading its class again;
            // only its title can have changed.
            TPokerTable* t = Tables[static_cast<size_t>(index)].get();
            const int32_t g = MatchingGroup(t->WindowClass, WindowText(h));
            if (g >= 0) {
                if (g != t->GroupIndex) {
                    t->GroupIndex = g;
                    t->Slot = FirstFreeSlot(g);
                    ResortPending = 1;
                    PlaceTablesIntoSlots();
                    known.Rebuild();
                }
            } else {
                RemoveTable(static_cast<size_t>(index));
                ResortPending = 1;
                PlaceTablesIntoSlots();
                --SessionStats.TablesSeen;
                known.Rebuild();
            }
            continue;
        }
        // A window's class never changes: it is read once per window. The
        // title is read only when a group or a lobby watch could take the
        // window by its class, so the many windows of other programs cost a
        // lookup per scan.
        const std::string& className = classes.Of(h);
        const bool lobbyClass = AnyWatchTakesClass(className);
        if (!lobbyClass && !AnyGroupTakesClass(className)) continue;
        // Invisible windows are never adopted as tables; only the lobby
        // watches look at them.
        if (!lobbyClass && !IsWindowVisible(h)) continue;
        const std::string text = WindowText(h);
        const size_t tables = Tables.size(), lobbies = Lobbies.size();
        const int32_t g = MatchingGroup(className, text);
        if (g >= 0) AddTable(h, text, className, RunningConfig.Groups[static_cast<size_t>(g)].RoomIndex, g);
        if (lobbyClass) CollectWatchedLobby(h, className, text, Tables.size() == tables && Lobbies.size() == lobbies);
        if (Tables.size() != tables || Lobbies.size() != lobbies) known.Rebuild();
    }
    classes.EndWalk();
    PlaceTablesIntoSlots();
}

void ParseAllTableTitles() {
    for (const TOwnedTable& t : Tables)
        if (t) t->ParseTitle();
}

void PlaceAllTables() {
    for (const TOwnedTable& t : Tables)
        if (t) t->Place();
}

void TickTablesAndLobbies(bool windowsChecked) {
    // Within a scan every table's window was seen shown by the drop step or
    // the walk a moment ago; asking again per table would double the scan's
    // work with the window manager. (A window that closes meanwhile is
    // dropped by the next scan; a tick on it does nothing.)
    auto exists = [windowsChecked](const TOwnedTable& t) { return t && (windowsChecked || IsWindow(t->Window())); };
    PlayedCashTables = 0;
    int32_t live = 0;
    for (const TOwnedTable& t : Tables) {
        if (!exists(t) || t->GroupIndex < 0) continue;
        if (t->Kind != KindCash && t->Kind != KindTournament && t->Kind != KindGeneric) continue;
        ++live;
        if (t->Network == 4 && t->Kind == KindCash &&
            !(EngineOptions.OnlyPlayed && !Contains(WindowText(t->Window()), "Logged In")))
            ++PlayedCashTables;
    }
    SessionStats.LiveTables = live;
    for (const TOwnedTable& t : Tables)
        if (exists(t)) t->Tick();
    for (const TOwnedTable& t : Tables) {
        if (!t) continue;
        if (!UserOptions.ShowHUD) {
            t->HUD.reset();
        } else if (!t->HUD) {
            t->UpdateHUD();
        } else {
            t->HUD->FollowTable();
        }
    }
    for (const TOwnedTable& l : Lobbies)
        if (l) l->Tick();
}

void RefreshTableCalculators() {
    for (const TOwnedTable& t : Tables)
        if (WindowExists(t.get())) t->RefreshCalculator();
}

void MinimizeAllTables() {
    for (const TOwnedTable& t : Tables)
        if (WindowExists(t.get()) && t->GroupIndex >= 0) ShowWindow(t->Window(), SW_MINIMIZE);
}

void RestoreAllTables() {
    for (const TOwnedTable& t : Tables)
        if (WindowExists(t.get()) && t->GroupIndex >= 0) ShowWindow(t->Window(), SW_RESTORE);
}

void PlaceTablesIntoSlots() {
    if (!ResortPending) return;
    TTableList states = TableStates();
    SortTablesIntoSlots(states);
    // The sort moved the states; the owners follow them. A table's state is
    // the table itself, so each owner is found by its address.
    std::unordered_map<const TTableState*, size_t> from;
    from.reserve(Tables.size());
    for (size_t i = 0; i < Tables.size(); ++i) from.emplace(Tables[i].get(), i);
    TOwnedTables sorted;
    sorted.reserve(Tables.size());
    for (TTableState* s : states) sorted.push_back(std::move(Tables[from.at(s)]));
    Tables.swap(sorted);
}

int32_t FirstFreeSlot(int32_t group) { return FirstFreeSlot(TableStates(), group); }

int32_t FreeGridSlot(int32_t group) { return FreeGridSlot(TableStates(), group); }

void FreeAllTables() {
    {
        TOwnedTables tables, lobbies;
        tables.swap(Tables);
        lobbies.swap(Lobbies);
    }
    ActionQueue.Count = 0;
}

TTableList TableStates() {
    TTableList states;
    states.reserve(Tables.size());
    for (const TOwnedTable& t : Tables) states.push_back(t.get());
    return states;
}

std::vector<uintptr_t> TableHandles() {
    std::vector<uintptr_t> handles;
    handles.reserve(Tables.size());
    for (const TOwnedTable& t : Tables) handles.push_back(t ? t->Wnd : 0);
    return handles;
}

}  // namespace kova::tables
