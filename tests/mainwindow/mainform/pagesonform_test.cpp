// The main form's pages as a user meets them: every page laid out with
// nothing under anything else and every caption whole, the pages and the
// registration groups named as the program names them, the two room pages'
// hotkey combos in step, the registration pages' edits and boxes reaching
// the lobbies of the simulated client at the next tick while a config runs,
// the PokerStars level clock switched on from its page and kept, and the
// window always on a screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/require.h"
#include "framework/extctrls.h"
#include "mainwindow/mainformtesting.h"
#include "simclient_protocol.h"
#include "clients/clients_protocol.h"
#include "tables/files/placeconfig_file.h"
#include "tables/model/engineservices.h"
#include "tables/model/variables.h"

namespace {

using namespace kova;
using namespace kova::test;
namespace t = kova::tables;

constexpr const char* kClient = "kovapagestest";

class PagesOnTheMainForm : public MainFormTesting {
protected:
    void TearDown() override {
        if (client_.Id()) {
            kova::sim::SendCommand(kClient, "quit");
            client_.WaitForExit(5000);
        }
        MainFormTesting::TearDown();
    }

    // A config whose one group takes no window: a Start succeeds and the
    // scan runs, collecting only the lobbies.
    void WriteConfig() {
        t::TPlaceConfig c;
        c.Name = "Lobbies";
        t::TGroupRec g;
        g.Name = "Nothing";
        g.ClassPattern = "NoSuchClassAnywhere";
        g.Title.Text = "Nothing";
        g.Title.Operand1 = "Nothing";
        g.Slots = {t::TSlotRec{0, 0, 300, 200, 0, 0, 300, 200}};
        c.Groups = {g};
        ASSERT_TRUE(t::WritePlaceConfig(Path("PlaceConfig.cnfg"), t::TConfigFileHeader{}, 0, {c}));
    }

    bool StartClient() {
        log_ = Path("client.log");
        if (!client_.Start("\"" + SimClientExe() + "\" --name " + kClient + " --log \"" + log_ + "\"")) return false;
        return WaitForWindow(kova::sim::kControlClass, kClient) != nullptr;
    }
    LRESULT Send(const std::string& cmd) { return kova::sim::SendCommand(kClient, cmd.c_str()); }
    // The config running at a fast tick beside a simulated lobby, the page's
    // edits typed first and its registrator started.
    void RunLobby(const std::string& lobby, const std::vector<std::pair<const char*, const char*>>& edits,
                  const char* startButton) {
        WriteConfig();
        Open();
        ASSERT_TRUE(StartClient());
        ASSERT_NE(Send(lobby), 0);
        Type("ScanningPeriodEdit", "50");
        Tick(Form()->AutoCloseCB, true);
        for (const auto& [edit, text] : edits) Type(edit, text);
        Click(Form()->StartConfigBtn);
        Click(startButton);
    }
    size_t ClientLogged(const std::string& part) {
        std::ifstream in(log_);
        size_t n = 0;
        for (std::string line; std::getline(in, line);) n += line.find(part) != std::string::npos;
        return n;
    }

    // The sheets of a page control, each shown in turn by a click on its tab.
    std::vector<TTabSheet*> Sheets(TPageControl* pages) {
        std::vector<TTabSheet*> sheets;
        for (int i = 0; i < pages->PageCount(); ++i) sheets.push_back(pages->Pages(i));
        return sheets;
    }

    ChildProcess client_;
    std::string log_;
};

// ---- layout ----------------------------------------------------------------------------------

// The width of a text in the control's font, as the system draws it.
int TextWidth(TControl* c, const std::string& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, c->Font()->Handle());
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;  // an accelerator's mark takes no room
        shown += text[i];
    }
    SIZE size{};
    GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

// What the caption needs beside its text: the box of a check box or radio
// button, the frame of a button, the corners of a group box's caption.
int CaptionRoom(TControl* c) {
    if (dynamic_cast<TCheckBox*>(c) || dynamic_cast<TRadioButton*>(c)) return GetSystemMetrics(SM_CXMENUCHECK) + 6;
    if (dynamic_cast<TButton*>(c)) return 8;
    if (dynamic_cast<TGroupBox*>(c)) return 16;
    if (dynamic_cast<TPanel*>(c)) return 4;
    return 0;
}

bool HasCaption(TControl* c) {
    return dynamic_cast<TLabel*>(c) || dynamic_cast<TCheckBox*>(c) || dynamic_cast<TRadioButton*>(c) ||
           dynamic_cast<TButton*>(c) || dynamic_cast<TGroupBox*>(c) || dynamic_cast<TPanel*>(c);
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Every visible control under `parent`: no two siblings overlap (a group box
// and what lies within it aside; the sheets of a page control take turns),
// and every caption fits its control.
void CheckLayout(TWinControl* parent, std::vector<std::string>& faults) {
    std::vector<TControl*> shown;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c->Visible() && !dynamic_cast<TTabSheet*>(c)) shown.push_back(c);
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        TControl* a = shown[i];
        const RECT ra = a->BoundsRect();
        if (HasCaption(a) && !a->Caption().empty()) {
            const int need = TextWidth(a, a->Caption()) + CaptionRoom(a);
            if (need > a->Width())
                faults.push_back(a->Name() + " \"" + a->Caption() + "\" needs " + std::to_string(need) + " of " +
                                 std::to_string(a->Width()));
        }
        for (size_t j = i + 1; j < shown.size(); ++j) {
            TControl* b = shown[j];
            const RECT rb = b->BoundsRect();
            RECT both{};
            if (!IntersectRect(&both, &ra, &rb)) continue;
            if ((dynamic_cast<TGroupBox*>(a) && Inside(rb, ra)) || (dynamic_cast<TGroupBox*>(b) && Inside(ra, rb)))
                continue;
            auto text = [](const RECT& r) {
                return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
                       "," + std::to_string(r.bottom) + ")";
            };
            faults.push_back(a->Name() + " " + text(ra) + " overlaps " + b->Name() + " " + text(rb) + " on " +
                             parent->Name());
        }
    }
    for (TControl* c : shown)
        if (auto* w = dynamic_cast<TWinControl*>(c)) {
            // A page control's pages are checked when shown.
            if (dynamic_cast<TPageControl*>(w)) continue;
            CheckLayout(w, faults);
        }
}

TEST_F(PagesOnTheMainForm, EveryPageIsLaidOutWithoutOverlapsAndEveryCaptionFits) {
    WriteUserIni();
    WriteConfig();  // with a slot: the slot editor shows a row under its column heads
    Open();
    std::vector<std::string> faults;
    CheckLayout(Form(), faults);
    // Every page of every page control, shown as the user shows it.
    std::vector<TPageControl*> controls{Form()->PageControl1};
    for (size_t k = 0; k < controls.size(); ++k) {
        for (TTabSheet* sheet : Sheets(controls[k])) {
            if (sheet->TabIndex() < 0) continue;  // a tab the room editor keeps hidden
            ShowPage(controls[k], sheet);
            PumpMessages();
            CheckLayout(sheet, faults);
            for (int i = 0; i < sheet->ControlCount(); ++i)
                if (auto* nested = dynamic_cast<TPageControl*>(sheet->Controls(i))) controls.push_back(nested);
        }
    }
    std::string all;
    for (const std::string& f : faults) all += f + "\n";
    EXPECT_TRUE(faults.empty()) << all;
}

// ---- pages and captions ---------------------------------------------------------------------

TEST_F(PagesOnTheMainForm, PagesAndRegistrationGroupsCarryTheirNames) {
    Open();
    std::vector<std::string> tabs;
    for (TTabSheet* s : Sheets(Form()->PageControl1)) tabs.push_back(s->Caption());
    EXPECT_EQ(tabs, (std::vector<std::string>{" Welcome ", " AutoPlace ", "Custom Poker Room", " Poker Room ",
                                              "Common Settings"}));
    struct Caption {
        const char* control;
        const char* caption;
    };
    const Caption captions[] = {
        {"SNGGroupBox", " SNG Auto-Registrator "},
        {"SNGGroupBoxFTP", " SNG Auto-Registrator "},
        {"AutoCloseCB", "Automatically close all popups"},
        {"WithoutBuyInCB", "Without Buy-In dialog"},
        {"SendToBottomCB", "Send to bottom PokerStars lobby"},
        {"ClickSNGtabCB", "Allways click SNG tab"},
        {"AutoCloseTourCB", "Automatically close finished tournaments after "},
        {"StatusSNGL", "Current Status:"},
        {"StatusSNG", "Stopped"},
        {"AdvAR_Btn", "Advanced Auto-Registrator"},
        {"TimerEnabledCB", "Timer Enabled"},
        {"YesWaitListCB", "Automatically clicks \"Yes\" on the \"Seat Available\" pop-up"},
        {"MaxWaitListCB", "Maximum number of tables:"},
        {"NoWaitListCB", "Automatically click \"No\" if over maximum"},
        {"AutoCloseCBFTP", "Automatically close all popups"},
        {"StatusSNGFTP", "Stopped"},
    };
    for (const Caption& c : captions) {
        TControl* control = Find<TControl>(c.control);
        if (control) {
            EXPECT_EQ(control->Caption(), c.caption) << c.control;
        }
    }
    auto items = [&](const char* group) {
        std::vector<std::string> v;
        if (auto* g = Find<TRadioGroup>(group))
            for (int i = 0; i < g->Items()->Count(); ++i) v.push_back(g->Items()->Strings(i));
        return v;
    };
    EXPECT_EQ(items("RGPokerStarsN"), (std::vector<std::string>{"PokerStars 6", "PokerStars 7"}));
    EXPECT_EQ(items("RGSNG"), (std::vector<std::string>{"Sit And Go", "Spin And Go"}));
    EXPECT_EQ(Find<TRadioGroup>("RGSNG")->ItemIndex(), 0);
    // The start values a first run shows (no "startup.ini": its defaults).
    EXPECT_TRUE(Form()->AutoCloseCB->Checked());
    EXPECT_TRUE(Form()->SendToBottomCB->Checked());
    EXPECT_EQ(Form()->CurTourEdit->Text(), "8");
    EXPECT_EQ(Form()->TotalTourEdit->Text(), "16");
    EXPECT_EQ(Form()->MaxTourEdit->Text(), "1");
    EXPECT_EQ(Form()->MaxRegEditFTP->Text(), "1");
}

// Hotkeys 9 and 10 are edited on both registration pages: an edit on one
// shows on the other at once.
TEST_F(PagesOnTheMainForm, TheHotKeyCombosOfBothRegistrationPagesStayInStep) {
    Open();
    struct Pair {
        const char* edited;
        const char* other;
        const char* item;
    };
    const Pair pairs[] = {
        {"ComboBox17", "ComboBox21", "Ctrl"},   // start modifier, PokerStars page
        {"ComboBox22", "ComboBox18", "F5"},     // start key, Full Tilt page
        {"ComboBox23", "ComboBox19", "Alt"},    // stop modifier, Full Tilt page
        {"ComboBox20", "ComboBox24", "F6"},     // stop key, PokerStars page
    };
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.edited);
        Choose(p.edited, p.item);
        EXPECT_EQ(Find<TComboBox>(p.other)->Text(), p.item);
    }
    EXPECT_EQ(t::UserOptions.Bindings[8].Modifier, 17);
    EXPECT_EQ(t::UserOptions.Bindings[8].Key, 0x74);
    EXPECT_EQ(t::UserOptions.Bindings[9].Modifier, 18);
    EXPECT_EQ(t::UserOptions.Bindings[9].Key, 0x75);
    // A key let go in a key combo likewise.
    ReleaseKey(Find<TComboBox>("ComboBox24"), 'K');
    EXPECT_EQ(Find<TComboBox>("ComboBox20")->Text(), "K");
}

// ---- the registration pages reach the lobbies --------------------------------------------

// What is typed on the Full Tilt page is what its lobby registers, and a
// change while it runs counts from the next tick.
TEST_F(PagesOnTheMainForm, TheFullTiltPageSetsWhatItsLobbyRegisters) {
    KOVA_REQUIRE_SIMCLIENT();
    RunLobby("ftp-lobby rows=6", {{"CurTourEditFTP", "2"}, {"TotalTourEditFTP", "16"}, {"MaxTourEditFTP", "3"}},
             "StartSNGBtnFTP");
    ASSERT_FALSE(HasFatalFailure());
    auto registered = [&] { return Send("ftp-state") & ~kova::sim::kFullTiltStateBase; };
    ASSERT_TRUE(WaitUntil([&] { return registered() == 0b11; }, 40000)) << registered();
    WaitUntil([] { return false; }, 3000);
    EXPECT_EQ(registered(), 0b11) << "more than the two typed";

    // Fewer allowed while it runs: one is unregistered.
    Type("CurTourEditFTP", "1");
    EXPECT_TRUE(WaitUntil([&] { return __builtin_popcountll(static_cast<unsigned long long>(registered())) == 1; },
                          40000));
    Click("StopSngBtnFTP");
}

// The PokerStars page's kept-open count changed while the lobby runs takes
// effect at the next tick.
TEST_F(PagesOnTheMainForm, ThePokerStarsPageCountsWhileTheLobbyRuns) {
    KOVA_REQUIRE_SIMCLIENT();
    RunLobby("pslobby rows=6", {{"CurTourEdit", "1"}, {"TotalTourEdit", "16"}, {"MaxTourEdit", "4"}}, "StartSNGBtn");
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(WaitUntil([&] { return ClientLogged("pslobby register row=") >= 1; }, 40000));
    WaitUntil([] { return false; }, 3000);
    EXPECT_EQ(ClientLogged("pslobby register row="), 1u);

    Type("CurTourEdit", "2");
    EXPECT_TRUE(WaitUntil([&] { return ClientLogged("pslobby register row=") >= 2; }, 40000));
    Click("StopSngBtn");
}

// The hand-history folder typed or chosen on the PokerStars page reaches
// the running tables at the next tick.
TEST_F(PagesOnTheMainForm, ThePokerStarsFolderReachesRunningTables) {
    WriteConfig();
    Open();
    Click(Form()->StartConfigBtn);
    ASSERT_EQ(t::ScanPaused, 0);
    Type("DirectoryPokerStarsHH", "D:\\hands");
    EXPECT_TRUE(WaitUntil([] { return t::EngineOptions.PokerStars.HHDir == "D:\\hands"; }, 3000));
    OnOtherDialog = [](const TDialogRequest&) {
        TDialogAnswer a;
        a.result = mrOk;
        a.folder = "E:\\chosen";
        return a;
    };
    Click("DirPokerStarsHH");
    EXPECT_EQ(Form()->DirectoryPokerStarsHH->Text(), "E:\\chosen");
    EXPECT_EQ(t::EngineOptions.PokerStars.HHDir, "E:\\chosen");
}

// Text that is no number in the registration edits reaches the lobby as
// its own defaults: keep 8 open, 16 in all, from 4 lobby rows.
TEST_F(PagesOnTheMainForm, EditsThatAreNoNumbersGiveTheLobbyItsDefaults) {
    WriteConfig();
    Open();
    Click(Form()->StartConfigBtn);
    for (const char* edit : {"CurTourEdit", "TotalTourEdit", "MaxTourEdit"}) Type(edit, "x");
    const auto& ps = t::EngineOptions.PokerStars;
    EXPECT_TRUE(WaitUntil([&] { return ps.KeepOpen == 8 && ps.TotalTournaments == 16 && ps.LobbyRows == 4; }, 3000))
        << ps.KeepOpen << " " << ps.TotalTournaments << " " << ps.LobbyRows;
    Type("MaxTourEdit", "3");
    EXPECT_TRUE(WaitUntil([&] { return ps.LobbyRows == 3; }, 3000));
}

// "Timer Enabled" switches the level clock on, at once and after a restart.
TEST_F(PagesOnTheMainForm, TheLevelClockIsSwitchedOnFromThePageAndKept) {
    WriteUserIni();
    Open();
    EXPECT_FALSE(Form()->TimerEnabledCB->Checked());
    EXPECT_FALSE(t::EngineOptions.PokerStars.TimerEnabled);
    Tick(Form()->TimerEnabledCB, true);
    EXPECT_TRUE(t::EngineOptions.PokerStars.TimerEnabled);
    EXPECT_TRUE(Form()->TimerPS->Enabled());
    Restart();
    EXPECT_TRUE(Form()->TimerEnabledCB->Checked());
    EXPECT_TRUE(t::EngineOptions.PokerStars.TimerEnabled);
    std::ifstream in(Path("startup.ini"));
    std::stringstream ini;
    ini << in.rdbuf();
    EXPECT_NE(ini.str().find("TimerEnabled=1"), std::string::npos) << ini.str();
}

// ---- the window on a screen ---------------------------------------------------------------

TEST_F(PagesOnTheMainForm, APositionOffEveryScreenIsMovedOntoTheWorkArea) {
    struct Case {
        int left, top;
    };
    for (const Case c : {Case{5000, 100}, Case{-3000, 40}, Case{100, 4000}, Case{1290, 20}}) {
        SCOPED_TRACE(std::to_string(c.left) + "," + std::to_string(c.top));
        WriteText(Path("startup.ini"),
                  "[Common]\r\nLeft=" + std::to_string(c.left) + "\r\nTop=" + std::to_string(c.top) + "\r\n");
        Open();
        RECT r{};
        GetWindowRect(Form()->Handle(), &r);
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi);
        const RECT work = mi.rcWork;
        EXPECT_GE(r.left, work.left);
        EXPECT_GE(r.top, work.top);
        // Wholly on the work area where it fits.
        if (r.right - r.left <= work.right - work.left) {
            EXPECT_LE(r.right, work.right);
        }
        if (r.bottom - r.top <= work.bottom - work.top) {
            EXPECT_LE(r.bottom, work.bottom);
        }
        CloseForm();
        t::ResetEngine();
    }
}

}  // namespace
