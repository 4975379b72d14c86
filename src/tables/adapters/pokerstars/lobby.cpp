#include <cmath>

#include "framework/handles.h"
#include "framework/windowtext.h"
#include "tables/adapters/pokerstars/pokerstars.h"
#include "tables/model/enginelog.h"

namespace kova::tables {

namespace ps = pokerstars;

namespace {

const TEngineOptions::TPokerStarsOptions& Options() { return EngineOptions.PokerStars; }

int HandleNumber(HWND wnd) { return static_cast<int>(reinterpret_cast<intptr_t>(wnd)); }

bool Visible(HWND wnd) { return wnd && IsWindowVisible(wnd); }

// The first of the buttons (class, text) of a dialog that exists.
HWND FirstButton(HWND dialog, std::initializer_list<std::pair<const char*, const char*>> buttons) {
    for (const auto& [cls, text] : buttons)
        if (HWND b = FindChildByClassAndTitle(dialog, cls, text)) return b;
    return nullptr;
}

// The first of the buttons that exists and is visible.
HWND FirstVisibleButton(HWND dialog, std::initializer_list<std::pair<const char*, const char*>> buttons) {
    for (const auto& [cls, text] : buttons)
        if (HWND b = FindVisibleChildByClassAndTitle(dialog, cls, text)) return b;
    return nullptr;
}

int32_t Round(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

}  // namespace

HWND FindNthChild(HWND parent, const char* className, int32_t n, const std::string& title) {
    int32_t count = 0;
    for (HWND child = FindWindowExA(parent, nullptr, className, nullptr); child;
         child = FindWindowExA(parent, child, className, nullptr)) {
        if (title != "*" && GetControlText(child) != title) continue;
        if (++count == n) return child;
    }
    return nullptr;
}

// ---- the lobby ------------------------------------------------------------------------

TPokerStarsMain::TPokerStarsMain(HWND wnd, int32_t groupIndex, const std::string& title)
    : TPokerTable(wnd, groupIndex, title) {
    Kind = KindMainLobby;
    PokerStarsLobbyWanted = 0;
    Running = 0;
    StepTimer = 0;
    Phase = 0;
    RowHeight = 16;
    EngineLogF("PokerStarsMain started %d", HandleNumber(wnd));
}

TPokerStarsMain::~TPokerStarsMain() { PokerStarsLobbyWanted = 1; }

void TPokerStarsMain::ClickAt(HWND wnd, int32_t x, int32_t y) {
    if (!IsWindow(wnd)) return;
    const LPARAM at = static_cast<LPARAM>((x & 0xFFFF) | ((y & 0xFFFF) << 16));
    PostMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(wnd, WM_LBUTTONUP, MK_LBUTTON, at);
}

double TPokerStarsMain::PhaseElapsedSeconds() {
    if (StepTimer == 0) StepTimer = EngineNow();
    return (EngineNow() - StepTimer) * 86400.0;
}

HWND TPokerStarsMain::FindVisibleButton(HWND parent, int32_t which) const {
    if (which == 1) return FindVisibleChildByClassAndTitle(parent, "PokerStarsButtonClass", "Register");
    if (which == 2) return FindVisibleChildByClassAndTitle(parent, "PokerStarsButtonClass", "Unregister");
    return nullptr;
}

namespace {
struct DialogSearch {
    DWORD thread;
    const char* title;
    HWND found;
};
BOOL CALLBACK FindDialog(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<DialogSearch*>(p);
    if (GetWindowThreadProcessId(h, nullptr) != s->thread || WindowClassName(h) != "#32770") return TRUE;
    if (WindowText(h) != s->title) return TRUE;
    s->found = h;
    return FALSE;
}
}  // namespace

HWND TPokerStarsMain::FindLobbyDialog(const char* title) const {
    DialogSearch s{GetWindowThreadProcessId(Window(), nullptr), title, nullptr};
    if (!s.thread) return nullptr;
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND TPokerStarsMain::FindTournamentList() const {
    RECT lobby{};
    GetWindowRect(Window(), &lobby);
    HWND found = nullptr;
    for (HWND c = FindWindowExA(Window(), nullptr, "PokerStarsListClass", nullptr); c && !found;
         c = FindWindowExA(Window(), c, "PokerStarsListClass", nullptr)) {
        RECT r{};
        if (!IsWindowVisible(c) || !GetControlText(c).empty() || !GetWindowRect(c, &r)) continue;
        if (r.left - lobby.left < 50) found = c;
    }
    EngineLogF("ListWnd=  %d", HandleNumber(found));
    return found;
}

HWND TPokerStarsMain::FindSpinFrame() const {
    RECT lobby{};
    GetWindowRect(Window(), &lobby);
    HWND found = nullptr;
    for (HWND c = FindWindowExA(Window(), nullptr, "PokerStarsFrameClass", nullptr); c && !found;
         c = FindWindowExA(Window(), c, "PokerStarsFrameClass", nullptr)) {
        RECT r{};
        if (!IsWindowVisible(c) || !GetControlText(c).empty() || !GetWindowRect(c, &r)) continue;
        if (r.left - lobby.left < 50 && r.top - lobby.top > 150) found = c;
    }
    EngineLogF("ListWnd=  %d", HandleNumber(found));
    return found;
}

int32_t TPokerStarsMain::ClassifyRow(HWND list, int32_t x, int32_t y) {
    auto dark = [](COLORREF c) { return GetRValue(c) < 150 && GetGValue(c) < 150 && GetBValue(c) < 150; };
    auto classify = [&](HDC dc) -> int32_t {
        const COLORREF at = ::GetPixel(dc, x, y);
        if (at == CLR_INVALID) return -1;
        if (dark(at)) return 0;
        for (int32_t dx = 10; dx <= 60; ++dx) {
            const COLORREF c = ::GetPixel(dc, x + dx, y);
            if (c != CLR_INVALID && dark(c)) return 2;
        }
        return 1;
    };
    int32_t result = -1;
    {
        kova::TWindowDC dc(list);
        if (dc) result = classify(dc.Get());
    }
    if (result == -1) {
        // Some systems give no pixels through the device context of another
        // program's child window; its top-level window's context, at the
        // same place, shows the same pixels while nothing covers the list.
        HWND root = GetAncestor(list, GA_ROOT);
        POINT at{x, y};
        MapWindowPoints(list, root, &at, 1);
        POINT screen{x, y};
        ClientToScreen(list, &screen);
        if (root && root != list && WindowFromPoint(screen) == list) {
            kova::TWindowDC dc(root);
            const int32_t dx = at.x - x, dy = at.y - y;
            if (dc) {
                const COLORREF probe = ::GetPixel(dc.Get(), at.x, at.y);
                if (probe != CLR_INVALID) {
                    result = dark(probe) ? 0 : 1;
                    if (result == 1)
                        for (int32_t d = 10; d <= 60; ++d) {
                            const COLORREF c = ::GetPixel(dc.Get(), x + d + dx, y + dy);
                            if (c != CLR_INVALID && dark(c)) {
                                result = 2;
                                break;
                            }
                        }
                }
            }
        }
    }
    if (result == -1) {
        RECT r{};
        if (GetWindowRect(list, &r) && r.right > r.left && r.bottom > r.top) {
            kova::TWindowDC screen(nullptr);
            kova::TMemoryDC memory(screen.Get());
            kova::TGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), r.right - r.left, r.bottom - r.top));
            if (memory && bitmap) {
                kova::TSelection selected(memory.Get(), bitmap.Get());
                if (PrintWindow(list, memory.Get(), 0)) result = classify(memory.Get());
            }
        }
    }
    EngineLogF("ScanningRow= %d", result);
    return result;
}

void TPokerStarsMain::PressButton(HWND button) {
    RECT r{};
    if (!GetWindowRect(button, &r)) return;
    ClickAt(button, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
    EngineLog("Start Click");
}

void TPokerStarsMain::SendLobbyToBottom() {
    if (!Options().SendToBottom) return;
    SetWindowPos(Window(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

bool TPokerStarsMain::IsRefusalBox(HWND dialog) {
    RECT c{};
    if (!GetClientRect(dialog, &c)) return false;
    return c.right > 175 && c.right < 185;
}

void TPokerStarsMain::ClickSelectorAt(HWND selector, int32_t x, int32_t y) {
    if (selector) ClickAt(selector, x, y);
}

void TPokerStarsMain::ClickSitAndGoTab() { ClickSelectorTab(295.0 / 538.0); }
void TPokerStarsMain::ClickSpinAndGoTab() { ClickSelectorTab(355.0 / 538.0); }

// A tab of the lobby's selector, at a fraction of its width.
void TPokerStarsMain::ClickSelectorTab(double fraction) {
    HWND selector = FindVisibleChildByClassAndTitle(Window(), "PokerStarsSelectorClass", "*");
    RECT r{};
    if (!selector || !GetWindowRect(selector, &r)) return;
    ClickSelectorAt(selector, Round((r.right - r.left) * fraction), 15);
}

void TPokerStarsMain::Tick() {
    if (AutoRegistratorRunning != Running) {
        Mode = 0;
        Phase = 0;
        Running = AutoRegistratorRunning;
    }
    KeepOpen = Options().KeepOpen;
    TotalTournaments = Options().TotalTournaments;
    LobbyRows = Options().LobbyRows;
    if (!Running)
        AnswerRegistrationDialogs();
    else if (Options().SpinAndGo)
        RegisterSpinAndGo();
    else
        RegisterSitAndGo();
    AnswerSeatAvailable();
}

void TPokerStarsMain::UpdateLimit(bool spin) {
    Allowed = ps::AllowedRegistrations(KeepOpen, SessionStats.LiveTables, TotalTournaments, SessionStats.TablesSeen);
    if (NewTablesSeen > 0) {
        Registered -= NewTablesSeen;
        NewTablesSeen = 0;
        SendLobbyToBottom();
        EngineLogF("NumReg= %d", Registered);
    }
    Limit = spin ? (Allowed >= 1 ? 1 : 0) : ps::RegistrationLimit(LobbyRows, Allowed);
    if (Registered < 0) {
        EngineLogF("ERROR!! NumReg= %d, MaxReg= %d ", Registered, Limit);
        Registered = 0;
    }
}

// The registrator's Sit & Go machine: one step per tick. The phases are
// tested in ascending order, so a step to a higher phase runs it at once.
// The two lobby layouts differ only in how the buttons are found, which
// dialog buttons confirm, and how long a dialog is waited for.
void TPokerStarsMain::RegisterSitAndGo() {
    const bool newer = NewerLayout();
    if (Mode == 0) {
        if (Phase == 0) {
            if (Options().ClickSNGTab) ClickSitAndGoTab();
            ListWnd = FindTournamentList();
            if (ListWnd) {
                if (newer) {
                    RegisterButton = FindVisibleButton(Window(), 1);
                    UnregisterButton = FindVisibleButton(Window(), 2);
                } else {
                    RegisterButton = FindChildByClassAndTitle(Window(), "PokerStarsButtonClass", "Register");
                    UnregisterButton = FindChildByClassAndTitle(Window(), "PokerStarsButtonClass", "Unregister");
                    EngineLogF("RegBtnWnd= %d", HandleNumber(RegisterButton));
                    EngineLogF("UnRegBtnWnd= %d", HandleNumber(UnregisterButton));
                }
                Phase = 1;
            }
        }
        if (Phase == 1) {
            Registered = 0;
            StepTimer = 0;
            Row = 0;
            Phase = 2;
        }
        if (Phase == 2) {
            ++Row;
            if (Row > LobbyRows) {
                Phase = 4;
            } else {
                const int32_t kind = ClassifyRow(ListWnd, 1, RowHeight * Row - 8);
                if (kind == 1) {
                    Phase = 4;
                } else if (kind == 0 || kind == 2) {
                    ClickAt(ListWnd, 1, RowHeight * Row - 8);
                    SendLobbyToBottom();
                    Phase = 3;
                    return;  // the click is answered by the client before the next look
                }
            }
        }
        if (Phase == 3) {
            // The newer client shows the button of the selected row only.
            if (Visible(newer ? FindVisibleButton(Window(), 2) : UnregisterButton)) {
                ++Registered;
                Phase = 2;
            } else if (PhaseElapsedSeconds() > 1) {
                Phase = 2;
                StepTimer = 0;
            }
            return;
        }
        if (Phase == 4) {
            Mode = 2;
            Phase = 0;
            StepTimer = 0;
            Row = 0;
            NewTablesSeen = 0;
            SendLobbyToBottom();
        }
        return;
    }

    if (!Visible(ListWnd)) return;
    if (Phase != 0) EngineLogF("Phase = %d", Phase);
    if (Phase == 0) {
        UpdateLimit(false);
        if (Registered < Limit) {
            if (newer)
                Action = 1;
            else
                TargetButton = RegisterButton;
            Phase = 1;
        } else {
            TargetButton = nullptr;
            AnswerRegistrationDialogs();
        }
        Row = 0;
        if (Registered != LastRegistered || Limit != LastLimit) {
            EngineLogF("NumReg= %d, MaxReg= %d ", Registered, Limit);
            StepTimer = 0;
        }
        LastRegistered = Registered;
        LastLimit = Limit;
        Refused = 0;
    }
    if (Phase == 1) {
        if (Options().ClickSNGTab) {
            ClickSitAndGoTab();
            SendLobbyToBottom();
        }
        StepTimer = 0;
        Phase = 2;
    }
    if (Phase == 2) {
        ++Row;
        if (Row > LobbyRows) {
            Phase = 0;
            return;
        }
        Phase = 3;
        StepTimer = 0;
    }
    if (Phase == 3) {
        const int32_t kind = ClassifyRow(ListWnd, 1, RowHeight * Row - 8);
        if (kind == 2) {
            ClickAt(ListWnd, 1, RowHeight * Row - 8);
            SendLobbyToBottom();
            return;
        }
        if (kind == 0) {
            Phase = 4;
            StepTimer = 0;
        } else if (kind == 1) {
            Phase = 2;
            StepTimer = 0;
            return;
        } else {
            return;
        }
    }
    // What the registration asks of the client: +1 register, -1 unregister.
    const int32_t step = newer ? (Action == 1 ? 1 : Action == 2 ? -1 : 0) : (TargetButton == RegisterButton ? 1 : -1);
    const double dialogWait = newer ? 3 : 5;
    if (Phase == 4) {
        if (newer) TargetButton = FindVisibleButton(Window(), Action);
        if (!Visible(TargetButton)) {
            Phase = 2;
            StepTimer = 0;
            return;
        }
        PressButton(TargetButton);
        SendLobbyToBottom();
        StepTimer = 0;
        Phase = 5;
        return;  // the dialog comes with the client's answer
    }
    if (Phase == 5) {
        if (!Options().AutoClosePopups) {
            Phase = 7;
        } else if (Options().WithoutBuyIn) {
            Phase = 7;
            StepTimer = 0;
            BuyInDialog = nullptr;
            ++Registered;
        } else {
            Dialog = FindLobbyDialog("Tournament Registration");
            if (Dialog) {
                if (newer) EngineLogF("TourRegWnd = %d", HandleNumber(Dialog));
                if (step == 1) {
                    HWND button = newer ? FindNthChild(Dialog, "PokerStarsButtonClass", 3, "*")
                                        : FindNthChild(Dialog, "Button", 2, "");
                    if (newer) EngineLogF("IdentWnd = %d", HandleNumber(button));
                    BuyInDialog = Dialog;
                    if (button) {
                        PressButton(button);
                        Phase = 6;
                        StepTimer = 0;
                    } else if (PhaseElapsedSeconds() > 2) {
                        Phase = 6;
                        StepTimer = 0;
                    }
                }
            } else if (PhaseElapsedSeconds() > 2) {
                Phase = 2;
                StepTimer = 0;
            }
            return;
        }
    }
    if (Phase == 6) {
        if (BuyInDialog && IsWindow(BuyInDialog) && IsWindowVisible(BuyInDialog)) {
            HWND ok = newer ? FirstButton(BuyInDialog, {{"Button", "OK"},
                                                        {"PokerStarsButtonClass", "Confirm"},
                                                        {"PokerStarsButtonClass", "OK"}})
                            : FirstButton(BuyInDialog, {{"Button", "OK"}, {"PokerStarsButtonClass", "OK"}});
            if (Visible(ok)) PressButton(ok);
        } else if (step == 1) {
            Phase = 7;
            StepTimer = 0;
            ++Registered;
        } else {
            --Registered;
            Phase = 9;
        }
        if (Phase == 6 && PhaseElapsedSeconds() > dialogWait) {
            Phase = 7;
            StepTimer = 0;
        }
        return;
    }
    if (Phase == 7) {
        HWND dialog = FindLobbyDialog("Tournament Registration");
        if (!Options().AutoClosePopups) {
            if (dialog) {
                Registered += step;
                Phase = 0;
            }
        } else if (dialog) {
            HWND button = FirstVisibleButton(
                dialog, {{"PokerStarsButtonClass", "OK"}, {"Button", "OK"}, {"PokerStarsButtonClass", "Close"}});
            if (button) {
                Phase = 8;
                StepTimer = 0;
                AnswerDialog = dialog;
                AnswerButton = button;
                if (IsRefusalBox(dialog)) Refused = 1;
            }
        }
        if (Phase == 7 && PhaseElapsedSeconds() > dialogWait) Phase = 0;
        if (Phase != 8) return;
    }
    AnswerRegistrationResult();
}

// Phases 8 to 10: the client's answer to a registration is dismissed; an
// answer of the refusal's size undoes the count.
void TPokerStarsMain::AnswerRegistrationResult() {
    if (Phase == 8) {
        if (!IsWindow(AnswerDialog) || !IsWindowVisible(AnswerDialog)) {
            Phase = 9;
            StepTimer = 0;
        } else {
            if (Visible(AnswerButton)) PressButton(AnswerButton);
            if (PhaseElapsedSeconds() > 5) {
                Phase = 9;
                StepTimer = 0;
            }
            return;
        }
    }
    if (Phase == 9) {
        HWND dialog = FindLobbyDialog("Tournament Registration");
        HWND button = Visible(dialog) ? FirstVisibleButton(dialog, {{"Button", "OK"},
                                                                   {"PokerStarsButtonClass", "OK"},
                                                                   {"PokerStarsButtonClass", "Close"}})
                                      : nullptr;
        if (button) {
            if (IsRefusalBox(dialog)) Refused = 1;
            PressButton(button);
            Phase = 10;
            StepTimer = 0;
            return;
        }
        if (PhaseElapsedSeconds() > 1) {
            Phase = 10;
            StepTimer = 0;
        } else {
            return;
        }
    }
    if (Phase == 10) {
        Phase = 0;
        SendLobbyToBottom();
        StepTimer = 0;
        if (Refused) --Registered;
    }
}

void TPokerStarsMain::RegisterSpinAndGo() {
    const bool newer = NewerLayout();
    if (Mode == 0) {
        if (Phase == 0) {
            ClickSpinAndGoTab();
            FrameWnd = FindSpinFrame();
            if (FrameWnd) {
                RegisterButton = FindVisibleButton(FrameWnd, 1);
                if (!RegisterButton) RegisterButton = FindVisibleButton(Window(), 1);
                if (newer) EngineLogF("RegBtnWnd= %d", HandleNumber(RegisterButton));
                Phase = 1;
            }
        }
        if (Phase == 1) {
            Mode = 2;
            Phase = 0;
            StepTimer = 0;
            NewTablesSeen = 0;
            Registered = 0;
            SendLobbyToBottom();
        }
        return;
    }
    if (!Visible(FrameWnd)) return;
    if (Phase != 0) EngineLogF("Phase = %d", Phase);
    if (Phase == 0) {
        UpdateLimit(true);
        if (Registered < Limit) {
            if (newer) Action = 1;
            Phase = 1;
        }
        if (Registered != LastRegistered || Limit != LastLimit) {
            EngineLogF("NumReg= %d, MaxReg= %d ", Registered, Limit);
            StepTimer = 0;
        }
        LastRegistered = Registered;
        LastLimit = Limit;
    }
    if (Phase == 1) {
        if (Options().ClickSNGTab && !Visible(FrameWnd)) {
            ClickSpinAndGoTab();
            SendLobbyToBottom();
        }
        StepTimer = 0;
        Phase = 2;
    }
    if (Phase == 2) {
        if (!Visible(FrameWnd)) {
            Phase = 1;
            StepTimer = 0;
            return;
        }
        const int32_t which = newer ? Action : 1;
        TargetButton = FindVisibleButton(FrameWnd, which);
        if (!TargetButton) TargetButton = FindVisibleButton(Window(), which);
        if (newer) EngineLogF("BtnWnd= %d", HandleNumber(TargetButton));
        if (Visible(TargetButton)) {
            PressButton(TargetButton);
            ++Registered;
            SendLobbyToBottom();
            StepTimer = 0;
            Phase = 3;
        }
        return;
    }
    if (Phase == 3) {
        if (!Options().AutoClosePopups) {
            Phase = 5;
        } else {
            if (Options().WithoutBuyIn) {
                Phase = 5;
                StepTimer = 0;
                Dialog = nullptr;
            }
            if (HWND d = FindLobbyDialog("Tournament Registration")) {
                Dialog = d;
                Phase = 4;
            } else if (Phase == 3 && PhaseElapsedSeconds() > 5) {
                Phase = 4;
                StepTimer = 0;
                Dialog = nullptr;
            }
            if (Phase == 3) return;
        }
    }
    if (Phase == 4) {
        if (Dialog && IsWindow(Dialog) && IsWindowVisible(Dialog)) {
            HWND ok = newer ? FirstButton(Dialog, {{"Button", "OK"},
                                                   {"PokerStarsButtonClass", "OK"},
                                                   {"PokerStarsButtonClass", "Confirm"}})
                            : FirstButton(Dialog, {{"Button", "OK"}, {"PokerStarsButtonClass", "OK"}});
            if (ok) PressButton(ok);
            Phase = 5;
        } else if (PhaseElapsedSeconds() > 5) {
            Phase = 5;
            StepTimer = 0;
        } else {
            return;
        }
    }
    if (Phase == 5) Phase = 0;
}

void TPokerStarsMain::AnswerRegistrationDialogs() {
    if (!Options().AutoClosePopups) return;
    HWND dialog = FindLobbyDialog("Tournament Registration");
    if (Visible(dialog)) {
        const bool room = SessionStats.LiveTables < KeepOpen && SessionStats.TablesSeen < TotalTournaments;
        HWND button = FindChildByClassAndTitle(dialog, "Button", room ? "OK" : "Cancel");
        if (button) {
            PressButton(button);
            SendLobbyToBottom();
        }
    }
    dialog = FindLobbyDialog("Tournament Registration");
    if (Visible(dialog)) {
        HWND button = FirstButton(
            dialog, {{"PokerStarsButtonClass", "OK"}, {"Button", "OK"}, {"PokerStarsButtonClass", "Confirm"}});
        if (button) {
            PressButton(button);
            SendLobbyToBottom();
        }
    }
}

void TPokerStarsMain::AnswerSeatAvailable() {
    if (!Options().YesWaitList && !Options().MaxWaitList) return;
    HWND box = FindLobbyDialog("Seat Available");
    if (!Visible(box)) return;
    HWND yes = FindChildByClassAndTitle(box, "Button", "Yes");
    HWND no = FindChildByClassAndTitle(box, "Button", "No");
    HWND choice = nullptr;
    const int32_t maximum = Options().MaxWaitListNum;
    if (Options().YesWaitList) {
        EngineLogF("CountPSCashTable %d", PlayedCashTables);
        if (!Options().MaxWaitList || maximum > PlayedCashTables) choice = yes;
    }
    if (Options().NoWaitList && maximum <= PlayedCashTables) choice = no;
    if (!Visible(choice)) return;
    PressButton(choice);
    SendLobbyToBottom();
    if (choice == yes) ++PlayedCashTables;
}

// ---- the newer client ---------------------------------------------------------------------

void TPokerStarsMain7::ClickSitAndGoTab() { ClickSelectorTab(190.0 / 622.0); }
void TPokerStarsMain7::ClickSpinAndGoTab() { ClickSelectorTab(270.0 / 622.0); }

void TPokerStarsMain7::ClickSelectorTab(double fraction) {
    HWND selector = FindVisibleChildByClassAndTitle(Window(), "PokerStarsSelectorClass", "main-lobby-selector");
    RECT r{};
    if (!selector || !GetWindowRect(selector, &r)) return;
    ClickSelectorAt(selector, Round((r.right - r.left) * fraction), 17);
}

}  // namespace kova::tables
