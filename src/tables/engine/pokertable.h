// TPokerTable: the adapter of one recognised poker-client window (a table,
// a lobby or a generic window). The window scan creates it through the
// adapter factory and drives it only through its virtual operations; the
// room adapters override them per client. Also here: the services every
// adapter uses (scaling of room points, pixel reading with a fallback for
// covered windows, clicks, child-window finding), and the interfaces
// through which the information panel and frame plug in (their makers are
// engine services).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "tables/logic/placemath.h"
#include "tables/model/engineservices.h"
#include "tables/model/tablestate.h"
#include "tables/model/variables.h"

namespace kova::tables {

class TPokerTable;

// ---- seams ----------------------------------------------------------------------

// The information panel and the frame of a table are TTableHUD and
// TTableFrame (engineservices.h).

// Tells EngineServices.SyntheticInputSeam that the program's own synthetic
// input begins (1) or ends (0).
void SignalSyntheticInput(int flag);

// Brackets the program's own clicks with SignalSyntheticInput(1) / (0), also
// when something in between throws.
class TSyntheticInputScope {
public:
    TSyntheticInputScope() { SignalSyntheticInput(1); }
    ~TSyntheticInputScope() { SignalSyntheticInput(0); }
    TSyntheticInputScope(const TSyntheticInputScope&) = delete;
    TSyntheticInputScope& operator=(const TSyntheticInputScope&) = delete;
};

// Sounds of the turn alert, through EngineServices.SoundPlayer. The default
// plays the file asynchronously with PlaySoundA (a missing file plays
// nothing: no default sound); an empty file name stops whatever plays.
void PlayAlertSound(bool loop);  // "Alert1.wav" in the program folder
void StopAlertSound();

// ---- the adapter ------------------------------------------------------------------

class TPokerTable : public TTableState {
public:
    // Kind generic; fills the base fields. The factory calls ParseTitle right
    // after construction, so the adapter's own parsing runs (see
    // MakeTableAdapter).
    TPokerTable(HWND wnd, int32_t groupIndex, const std::string& title);
    virtual ~TPokerTable();
    TPokerTable(const TPokerTable&) = delete;
    TPokerTable& operator=(const TPokerTable&) = delete;

    HWND Window() const { return reinterpret_cast<HWND>(Wnd); }

    virtual void UpdateHUD();
    virtual void CreateHUDLabels();
    virtual void Place();
    virtual void PlaceNormal();
    virtual void PlaceTOI();
    virtual COLORREF GetPixel(int32_t x, int32_t y);  // client coordinates
    virtual void ReadHistory() {}
    virtual void ReadGameFormat() {}
    virtual void ParseHand() {}
    virtual void ParseTitle();
    virtual void CheckTurn();
    virtual int32_t AlertTurn();  // returns the new AlertStage
    virtual void Tick();
    virtual void CheckEventMacros();
    virtual void EventMacros(int32_t event);
    virtual void ClickAt(HWND wnd, int32_t x, int32_t y);
    virtual void RefreshCalculator() {}

    // Room hotkey n (1..20) of the table's room: its clicks, then its TOI effect.
    void RunHotKeyMacro(int32_t n);

    std::unique_ptr<TTableHUD> HUD;
    std::unique_ptr<TTableFrame> Frame;
    std::string WindowClass;  // class name at adoption (a window's class never changes)
};

// Constructs an adapter and lets it parse its title (a constructor cannot
// reach the derived class's parsing).
template <class T, class... Args>
std::unique_ptr<T> MakeTableAdapter(Args&&... args) {
    auto t = std::make_unique<T>(std::forward<Args>(args)...);
    t->ParseTitle();
    return t;
}

// The turn step of a scan: every table tests its turn, the table whose turn
// began first is activated (the cursor may jump onto it), TOI tables move
// between stack and grid, and the table under the cursor comes forward.
void ActivateTurnTable();
void MoveTOITables();

// ---- services ----------------------------------------------------------------------

// Day-based time: whole days since 1899-12-30 plus the fraction of the day.
// EngineNow is UTC, for spans between two moments of the engine itself;
// LocalNow is the computer's local time, for comparing with times that
// the poker clients write (hand histories), which are local.
double EngineNow();
double LocalNow();

// Client size of the table's window (0, 0 when gone).
SIZE ClientSize(const TPokerTable& table);

// BorderX and CaptionY from the window's frame.
void ComputeBorderMetrics(TPokerTable& table);

// The table's own reference points (RefWidth/MinWidth ...).
int32_t ScaleX(const TPokerTable& table, int32_t x, int32_t xMin);
int32_t ScaleY(const TPokerTable& table, int32_t y, int32_t yMin);

// The room of the table, or null when its RoomIndex names none.
const TPokerRoom* RoomOf(const TPokerTable& table);

// A room point scaled to the table's client size (proportional when the
// room says so).
TPoint ScaledRoomPoint(const TPokerTable& table, const TScaleRef& ref, int32_t x, int32_t y, int32_t xMin, int32_t yMin);

// The pixel at a room point; CLR_INVALID when the reference size is 0.
COLORREF PixelAtScaledPoint(TPokerTable& table, const TColourPoint& point, const TScaleRef& ref);
// A real click at a room point (nothing when the click is disabled or the
// reference size is 0).
void ClickAtScaledPoint(TPokerTable& table, const TMacroClick& click, const TScaleRef& ref);
// Moves the cursor there, clicks the left button, and puts cursor and
// foreground window back.
void ClickWithCursor(TPokerTable& table, HWND wnd, int32_t x, int32_t y);
// Whether another program's window has taken what was queued to it: a thread
// paints only when no input and no posted message waits in its queue, so a
// repaint of one pixel, asked for now, is done after it has read all that
// came before. AskRepaintMark asks it for the pixel under a screen point
// (false when it cannot be asked: a window of this thread, or none);
// RepaintMarkDone tells when it was painted, or the window is gone.
bool AskRepaintMark(HWND wnd, POINT screen);
bool RepaintMarkDone(HWND wnd);
void ClickWindowCentre(TPokerTable& table, HWND wnd);

// The first visible child of wnd whose rectangle holds the window-relative
// point (x, y), which is then made relative to it; wnd itself when none.
HWND ChildWindowAtPoint(HWND wnd, int32_t& x, int32_t& y);
// The first visible top-level window of wnd's process with a caption.
HWND FindProcessMainWindow(HWND wnd);
HWND FindChildByClassAndTitle(HWND parent, const char* className, const std::string& title);
HWND FindVisibleChildByClassAndTitle(HWND parent, const char* className, const std::string& title);
std::string GetControlText(HWND wnd);
// The table's frame in a colour state, while the frame option
// (UserOptions.Frame) is on; kinds 0, 1, 4 only.
void ShowFrame(TPokerTable& table, int32_t colourIndex);

}  // namespace kova::tables
