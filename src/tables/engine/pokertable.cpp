#include "tables/engine/pokertable.h"

#include "framework/handles.h"

#include <mmsystem.h>

#include <algorithm>
#include <chrono>
#include <utility>

namespace kova::tables {

namespace {

bool IsPanelKind(uint8_t kind) { return kind == KindCash || kind == KindTournament || kind == KindGeneric; }

TRect ToRect(const RECT& r) { return TRect{r.left, r.top, r.right, r.bottom}; }

}  // namespace

// Day-based time: whole days since 1899-12-30 plus the fraction.
double EngineNow() {
    using namespace std::chrono;
    const double seconds = duration<double>(system_clock::now().time_since_epoch()).count();
    return 25569.0 + seconds / 86400.0;
}

double LocalNow() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    FILETIME ft{};
    if (!SystemTimeToFileTime(&local, &ft)) return EngineNow();
    const uint64_t ticks = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;  // 100 ns since 1601
    return static_cast<double>(ticks) / 864000000000.0 - 109205.0;  // 1601-01-01 is day -109205
}

void SignalSyntheticInput(int flag) {
    if (EngineServices.SyntheticInputSeam) EngineServices.SyntheticInputSeam(flag);
}

// ---- construction -------------------------------------------------------------------

TPokerTable::TPokerTable(HWND wnd, int32_t groupIndex, const std::string& title) {
    Kind = KindGeneric;
    Wnd = reinterpret_cast<uintptr_t>(wnd);
    GroupIndex = groupIndex;
    Title = title;
    MainWnd = reinterpret_cast<uintptr_t>(FindProcessMainWindow(wnd));
    AdapterState = 0;
    MyTurn = 0;
    Dragging = 0;
    SendToBottom = 0;
    AdapterFlag = 1;
    ComputeBorderMetrics(*this);
    RefWidth = 800;
    RefHeight = 600;
    CreatedAt = EngineNow();
    HUDShown = 0;
    TableNumber = SessionStats.TablesSeen + 1;
    ColourMisses = 0;
    ColourFlag = 1;
    for (TEventState& e : EventStates) e.Seen = 0;
    TickCountdown = 5;
}

TPokerTable::~TPokerTable() {
    MyTurn = 0;
    TurnStart = 0;
    TurnEnd = EngineNow();
    if (Wnd != 0 && ActiveTableWnd == Wnd) {
        ActiveTableWnd = 0;
        StopAlertSound();
    }
    if (Wnd != 0 && MouseOverWnd == Wnd) MouseOverWnd = 0;
    HUD.reset();
    Frame.reset();
}

void TPokerTable::ParseTitle() { SmallBlind = 0; }

// ---- information panel and frame ------------------------------------------------------

void TPokerTable::UpdateHUD() {
    if (!UserOptions.ShowHUD) {
        HUD.reset();
        return;
    }
    if (!IsPanelKind(Kind) || HUD || !EngineServices.MakeHUD) return;
    HUD = EngineServices.MakeHUD(*this);
    if (!HUD) return;
    CreateHUDLabels();
    std::string group;
    if (IsValidGroup(GroupIndex)) group = RunningConfig.Groups[static_cast<size_t>(GroupIndex)].Name;
    LayoutFile = ProgramFolder + "\\" + "Layouts\\" + SanitizeFileName("Lay" + RunningConfig.Name + group + ".ini");
    HUD->LoadLayout(LayoutFile);
    HUD->UpdateMenus();
    HUDShown = 1;
}

void TPokerTable::CreateHUDLabels() {
    if (!HUD) return;
    HUD->CreateMyLabel("IDTable", BorderX + 150, CaptionY, " " + std::to_string(TableNumber) + " ",
                       "Table ID - unique number of table");
    HUD->CreateMyLabel("PlayedNow", BorderX + 175, CaptionY, " ", "Current number of table");
    HUD->CreateMyLabel("PlayedTotal", BorderX + 200, CaptionY, " ", "Total number of table played in this session");
}

void ShowFrame(TPokerTable& table, int32_t colourIndex) {
    if (!IsPanelKind(table.Kind) || !UserOptions.Frame) return;
    if (!table.Frame) {
        if (!EngineServices.MakeFrame) return;
        table.Frame = EngineServices.MakeFrame(table);
        if (!table.Frame) return;
    }
    table.Frame->SetState(colourIndex);
}

// ---- placement ---------------------------------------------------------------------------

void TPokerTable::Place() {
    if (IsValidGroup(GroupIndex) && RunningConfig.Groups[static_cast<size_t>(GroupIndex)].TOIStyle)
        PlaceTOI();
    else
        PlaceNormal();
}

namespace {

TPlacementContext ContextOf(const TPokerTable& table) {
    TPlacementContext c;
    c.IsActiveTable = ActiveTableWnd != 0 && ActiveTableWnd == table.Wnd;
    c.OtherIsActive = ActiveTableWnd != 0 && ActiveTableWnd != table.Wnd;
    c.IsMouseOver = MouseOverWnd != 0 && MouseOverWnd == table.Wnd;
    c.LBtnMouseActivate = EngineOptions.LBtnMouseActivate;
    c.MouseActDelay = EngineOptions.MouseActDelay;
    c.SecondsSinceActivated = (EngineNow() - table.ActivatedAt) * 86400.0;
    const int32_t s = ClampedSlot(table);
    if (c.IsMouseOver && s >= 0) {
        const TSlotRec& slot = RunningConfig.Groups[static_cast<size_t>(table.GroupIndex)].Slots[static_cast<size_t>(s)];
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        if (GetMonitorInfoA(MonitorFromPoint(POINT{slot.Left, slot.Top}, MONITOR_DEFAULTTONEAREST), &mi))
            c.WorkArea = ToRect(mi.rcWork);
    }
    return c;
}

void MakeMove(HWND wnd, const TPlacementStep& step) {
    SetWindowPos(wnd, step.InsertAfter == TInsertAfter::Bottom ? HWND_BOTTOM : HWND_NOTOPMOST, step.Target.Left,
                 step.Target.Top, step.Target.Width(), step.Target.Height(), step.Flags);
}

}  // namespace

void TPokerTable::PlaceNormal() {
    RECT r;
    if (!GetWindowRect(Window(), &r)) return;  // the window is gone
    if (auto step = DecideNormalPlacement(*this, ToRect(r), ContextOf(*this))) MakeMove(Window(), *step);
}

void TPokerTable::PlaceTOI() {
    RECT r;
    if (!GetWindowRect(Window(), &r)) return;  // the window is gone
    if (auto step = DecideTOIPlacement(*this, ToRect(r), ContextOf(*this))) MakeMove(Window(), *step);
}

// ---- pixels ----------------------------------------------------------------------------------

void ComputeBorderMetrics(TPokerTable& table) {
    RECT w{}, c{};
    if (!GetWindowRect(table.Window(), &w) || !GetClientRect(table.Window(), &c)) return;
    table.BorderX = ((w.right - w.left) - c.right) / 2;
    table.CaptionY = (w.bottom - w.top) - c.bottom - table.BorderX;
}

SIZE ClientSize(const TPokerTable& table) {
    RECT c{};
    if (!GetClientRect(table.Window(), &c)) return SIZE{0, 0};
    return SIZE{c.right, c.bottom};
}

COLORREF TPokerTable::GetPixel(int32_t x, int32_t y) {
    COLORREF c = CLR_INVALID;
    if (kova::TWindowDC dc(Window()); dc) c = ::GetPixel(dc.Get(), x, y);
    if (c != CLR_INVALID || Dragging) return c;

    // Covered or off the screen: let the window under the point paint itself
    // into a bitmap and read that.
    x += BorderX;
    y += CaptionY;
    HWND child = ChildWindowAtPoint(Window(), x, y);
    RECT r;
    if (!GetWindowRect(child, &r) || r.right <= r.left || r.bottom <= r.top) return CLR_INVALID;
    kova::TWindowDC screen(nullptr);
    kova::TMemoryDC memory(screen.Get());
    kova::TGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), r.right - r.left, r.bottom - r.top));
    if (!memory || !bitmap) return CLR_INVALID;
    kova::TSelection selected(memory.Get(), bitmap.Get());
    return PrintWindow(child, memory.Get(), 0) ? ::GetPixel(memory.Get(), x, y) : CLR_INVALID;
}

int32_t ScaleX(const TPokerTable& table, int32_t x, int32_t xMin) {
    return ScaleMultiplyFirst(x, xMin, ClientSize(table).cx, table.RefWidth, table.MinWidth);
}

int32_t ScaleY(const TPokerTable& table, int32_t y, int32_t yMin) {
    return ScaleMultiplyFirst(y, yMin, ClientSize(table).cy, table.RefHeight, table.MinHeight);
}

const TPokerRoom* RoomOf(const TPokerTable& table) {
    if (table.RoomIndex < 0 || static_cast<size_t>(table.RoomIndex) >= PokerRooms.size()) return nullptr;
    return &PokerRooms[static_cast<size_t>(table.RoomIndex)];
}

TPoint ScaledRoomPoint(const TPokerTable& table, const TScaleRef& ref, int32_t x, int32_t y, int32_t xMin, int32_t yMin) {
    const TPokerRoom* room = RoomOf(table);
    const SIZE client = ClientSize(table);
    return ScaleRoomPoint(room && room->Proportional, ref, x, y, xMin, yMin, client.cx, client.cy);
}

COLORREF PixelAtScaledPoint(TPokerTable& table, const TColourPoint& point, const TScaleRef& ref) {
    if (ref.W == 0 || ref.H == 0) return CLR_INVALID;
    const TPoint p = ScaledRoomPoint(table, ref, point.X, point.Y, point.XMin, point.YMin);
    return table.GetPixel(p.X, p.Y);
}

// ---- clicks --------------------------------------------------------------------------------------

void ClickAtScaledPoint(TPokerTable& table, const TMacroClick& click, const TScaleRef& ref) {
    if (click.Enabled == 0 || ref.W == 0 || ref.H == 0) return;
    const TPoint p = ScaledRoomPoint(table, ref, click.X, click.Y, click.XMin, click.YMin);
    ClickWithCursor(table, table.Window(), p.X, p.Y);
}

namespace {

bool OwnedBy(HWND wnd, HWND owner) {
    if (!owner) return false;
    for (HWND w = GetWindow(wnd, GW_OWNER); w; w = GetWindow(w, GW_OWNER))
        if (w == owner) return true;
    return false;
}

// Waits, bounded, until the cursor reads at `at`; `putAgain` sets it there
// again on each try (a move the display has not reported yet).
void CursorReadsAt(POINT at, bool putAgain) {
    const DWORD start = GetTickCount();
    for (POINT p{}; GetCursorPos(&p) && (p.x != at.x || p.y != at.y) && GetTickCount() - start < 250;) {
        Sleep(1);
        if (putAgain) SetCursorPos(at.x, at.y);
    }
}

void WaitUntilInputRead(HWND target, int32_t sx, int32_t sy) {
    if (!AskRepaintMark(target, POINT{sx, sy})) return;
    const DWORD start = GetTickCount();
    while (!RepaintMarkDone(target) && GetTickCount() - start < 500) Sleep(1);
}

}  // namespace

bool AskRepaintMark(HWND wnd, POINT screen) {
    // A window of this thread reads what is queued only after the caller has
    // returned: its repaint would never come, and a wait for it would hold the
    // program's own windows, unpainted and deaf, for its whole bound.
    if (!wnd || GetWindowThreadProcessId(wnd, nullptr) == GetCurrentThreadId()) return false;
    if (!ScreenToClient(wnd, &screen)) return false;
    const RECT pixel{screen.x, screen.y, screen.x + 1, screen.y + 1};
    return RedrawWindow(wnd, &pixel, nullptr, RDW_INVALIDATE) != 0;
}

bool RepaintMarkDone(HWND wnd) { return !IsWindow(wnd) || !GetUpdateRect(wnd, nullptr, FALSE); }

void ClickWithCursor(TPokerTable& table, HWND wnd, int32_t x, int32_t y) {
    if (!IsWindow(wnd) || !IsWindowVisible(wnd)) return;
    RECT r;
    if (!GetWindowRect(wnd, &r)) return;
    const int32_t sx = r.left + x + table.BorderX;
    const int32_t sy = r.top + y + table.CaptionY;
    const int32_t vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int32_t vw = GetSystemMetrics(SM_CXVIRTUALSCREEN), vh = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (sx < vx || sy < vy || sx >= vx + vw || sy >= vy + vh) return;

    SyntheticClick = 1;
    HWND before = GetForegroundWindow();
    POINT cursor{};
    GetCursorPos(&cursor);
    // The cursor moves before the windows do: a window system that reports
    // the pointer with each change of the stacking order then reports the
    // new point, not the old one after the move.
    SetCursorPos(sx, sy);
    BringWindowToTop(wnd);
    SetForegroundWindow(wnd);
    // Under Wine the cursor may read back at its old point for a while after
    // the move (the display reports the pointer late), and an event sent
    // meanwhile can be applied there: the press would land on the window
    // under the old point. Wait, bounded, until the move shows.
    CursorReadsAt(POINT{sx, sy}, true);
    // Injected input may be applied after SendInput returns (a low-level
    // hook holds it up): the press and release carry their point, and the
    // cursor goes back by an event of the same batch, after them. A cursor
    // set directly at once would move the press to where it was before.
    const auto absolute = [&](POINT p, DWORD buttons) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = static_cast<LONG>((static_cast<int64_t>(p.x - vx) * 65536 + vw - 1) / vw);
        in.mi.dy = static_cast<LONG>((static_cast<int64_t>(p.y - vy) * 65536 + vh - 1) / vh);
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | buttons;
        return in;
    };
    INPUT events[3] = {absolute({sx, sy}, MOUSEEVENTF_LEFTDOWN), absolute({sx, sy}, MOUSEEVENTF_LEFTUP),
                       absolute(cursor, 0)};
    SendInput(3, events, sizeof(INPUT));
    // The click stays marked as the program's own (the hook passes it by)
    // until the system has applied it, which the cursor's return shows;
    // bounded, as the user may move the mouse meanwhile.
    CursorReadsAt(cursor, false);
    // Applied is not yet delivered: the window's thread reads the press and
    // release only later, and the window system may route them by what lies
    // under their point when they are read. Before the previous window comes
    // back over the point, wait until that
    // thread has read them: a thread paints only when no input is waiting in
    // its queue, so a repaint of one pixel under the point, asked for now, is
    // done after it has taken both. Bounded, for a thread that is busy or
    // never paints. An owner given back cannot cover its own pop-up, and
    // waiting there would let it take the activation back from the next
    // pop-up the click opens (its last active pop-up would be itself again).
    if (before && before != wnd && !OwnedBy(wnd, before)) WaitUntilInputRead(WindowFromPoint(POINT{sx, sy}), sx, sy);
    if (before != wnd && before) {
        BringWindowToTop(before);
        SetForegroundWindow(before);
    }
    SyntheticClick = 0;
}

void TPokerTable::ClickAt(HWND wnd, int32_t x, int32_t y) {
    if (!IsWindow(wnd)) return;
    const LPARAM at = static_cast<LPARAM>((x & 0xFFFF) | ((y & 0xFFFF) << 16));
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(wnd, WM_LBUTTONUP, MK_LBUTTON, at);
}

void ClickWindowCentre(TPokerTable& table, HWND wnd) {
    RECT r;
    if (!GetWindowRect(wnd, &r)) return;
    table.ClickAt(wnd, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
}

void TPokerTable::RunHotKeyMacro(int32_t n) {
    const TPokerRoom* room = RoomOf(*this);
    if (!room || n < 1 || n > static_cast<int32_t>(room->HotKeys.size())) return;
    const TRoomHotKey& key = room->HotKeys[static_cast<size_t>(n - 1)];
    {
        TSyntheticInputScope synthetic;
        const int32_t count = std::min<int32_t>(key.ClickCount, static_cast<int32_t>(key.Clicks.size()));
        for (int32_t i = 0; i < count; ++i) ClickAtScaledPoint(*this, key.Clicks[static_cast<size_t>(i)], room->ScaleRef);
    }
    const TTOIConfig& toi = RunningConfig.TOI;
    if (key.Binding.SharedNumber != 1 && key.Binding.SharedNumber != 8) {
        if (toi.AfterEnteringPot) InGrid = 1;
    } else {
        InGrid = 0;
        if (toi.SendToBottomAfterFold) SendToBottom = 1;
    }
}

// ---- windows ------------------------------------------------------------------------------------

HWND ChildWindowAtPoint(HWND wnd, int32_t& x, int32_t& y) {
    RECT w;
    if (!GetWindowRect(wnd, &w)) return wnd;
    const POINT screen{w.left + x, w.top + y};
    for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        if (!IsWindowVisible(child) || !GetWindowRect(child, &r)) continue;
        if (screen.x >= r.left && screen.x < r.right && screen.y >= r.top && screen.y < r.bottom) {
            x = screen.x - r.left;
            y = screen.y - r.top;
            return child;
        }
    }
    return wnd;
}

HWND FindProcessMainWindow(HWND wnd) {
    DWORD process = 0;
    if (!GetWindowThreadProcessId(wnd, &process)) return nullptr;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
        DWORD p = 0;
        GetWindowThreadProcessId(h, &p);
        if (p != process || !IsWindowVisible(h)) continue;
        if ((GetWindowLongA(h, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) return h;
    }
    return nullptr;
}

std::string GetControlText(HWND wnd) {
    const LRESULT length = SendMessageA(wnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got = SendMessageA(wnd, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, length)));
    return text;
}

namespace {
HWND FindChild(HWND parent, const char* className, const std::string& title, bool visibleOnly) {
    for (HWND child = FindWindowExA(parent, nullptr, className, nullptr); child;
         child = FindWindowExA(parent, child, className, nullptr)) {
        if (visibleOnly && !IsWindowVisible(child)) continue;
        if (title == "*" || GetControlText(child) == title) return child;
    }
    return nullptr;
}
}  // namespace

HWND FindChildByClassAndTitle(HWND parent, const char* className, const std::string& title) {
    return FindChild(parent, className, title, false);
}

HWND FindVisibleChildByClassAndTitle(HWND parent, const char* className, const std::string& title) {
    return FindChild(parent, className, title, true);
}

}  // namespace kova::tables
