// The whole program's skinning over a long run: the real main form with a
// config running on the simulated client's tables, the skin switched fifty
// times from its system menu's "Available skins" items, and between the
// switches a control's hint shown, the notification icon's menu opened and
// a message box shown (real ones, closed as a user closes them). The
// process' GDI and USER objects and the framework's transient handles end
// where they began, and no top-level window of ours is left behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/require.h"
#include "framework/hints.h"
#include "mainwindow/mainformtesting.h"
#include "simclient_protocol.h"
#include "skin/core/handlecheck.h"
#include "skin/core/skinstate.h"
#include "skin/forms/autohook.h"
#include "skin/forms/provider.h"
#include "tables/engine/pokertable.h"

namespace {

using namespace kova;
using namespace kova::test;
namespace t = kova::tables;

constexpr const char* kTableClass = "KovaSoakTable";
constexpr const char* kClient = "kovasoaktest";

BOOL CALLBACK CollectOurWindow(HWND w, LPARAM p) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId()) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}

// Every top-level window of this process, hidden ones too: a hidden window
// left behind is a leak all the same.
std::vector<HWND> OurTopLevelWindows() {
    std::vector<HWND> list;
    EnumWindows(CollectOurWindow, reinterpret_cast<LPARAM>(&list));
    return list;
}

std::string ClassOf(HWND w) {
    char name[128] = {};
    GetClassNameA(w, name, sizeof name);
    return name;
}

std::string Describe(const std::vector<HWND>& list) {
    std::string out;
    for (HWND w : list) out += ClassOf(w) + " \"" + WindowText(w) + "\"" + (IsWindowVisible(w) ? " visible; " : "; ");
    return out;
}

// Closes the real menu or message box that a step opened, as a user does
// (Escape on the menu, OK on the box), from a thread timer: both modal
// loops dispatch it. Counts what it found open.
struct TCloser {
    static inline int MenusClosed = 0;
    static inline int BoxesClosed = 0;
    static inline int BoxesSkinned = 0;  // found with the dialog adapter
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        for (HWND w : OurTopLevelWindows()) {
            if (!IsWindowVisible(w)) continue;
            const std::string cls = ClassOf(w);
            if (cls == "#32768") {
                ++MenusClosed;
                EndMenu();
                return;
            }
            if (cls == "#32770") {
                ++BoxesClosed;
                if (skin::TacProvider* p = skin::FindProviderOfWindow(w); p && p->Dialog()) ++BoxesSkinned;
                PostMessageA(w, WM_COMMAND, IDOK, 0);
                return;
            }
        }
    }
};

class Soak : public MainFormTesting {
protected:
    // The boxes are skinned as the program skins them.
    void SetUp() override {
        MainFormTesting::SetUp();
        SkinLikeTheProgram();
    }
    void TearDown() override {
        if (timer_) KillTimer(nullptr, timer_);
        if (form_) form_->Close();
        kova::sim::SendCommand(kClient, "quit");
        client_.WaitForExit(5000);
        client_.Kill();
        MainFormTesting::TearDown();
    }

    // The popup requests: the system menu picks the wanted skin's item as
    // a click on it does; every other popup and every box is the real one.
    void AnswerThroughRealWindows() {
        SetDialogResponder([this](const TDialogRequest& r) {
            TDialogAnswer a;
            if (r.kind == TDialogKind::Popup && r.menu && !wantedSkin_.empty()) {
                for (int i = 0; i < r.menu->Items()->Count(); ++i) {
                    TMenuItem* skins = r.menu->Items()->Items(i);
                    if (skins->Caption() != "Available skins") continue;
                    offered_.clear();
                    for (int k = 0; k < skins->Count(); ++k) {
                        offered_.push_back(skins->Items(k)->Caption());
                        if (skins->Items(k)->Caption() == wantedSkin_) a.item = skins->Items(k);
                    }
                }
                return a;
            }
            if (r.kind == TDialogKind::Popup || r.kind == TDialogKind::Message) a.handled = false;
            return a;
        });
    }

    // The skin chosen from the form's system menu, opened at its caption;
    // returns once the change and its animation are over.
    void ChooseSkin(const std::string& name) {
        wantedSkin_ = name;
        RECT r{};
        GetWindowRect(form_->Handle(), &r);
        form_->sSkinProvider1->ShowSysMenuAt(r.left + 10, r.top + 10);
        wantedSkin_.clear();
        ASSERT_TRUE(WaitUntil([] {
            return skin::SkinState.SkinChanging == 0 && skin::SkinState.FormAnimating == 0 &&
                   !skin::SkinState.SkinChangeAnimating;
        }, 5000)) << "the skin change to " << name << " did not end";
        PumpMessages();
        ASSERT_EQ(form_->sSkinManager1->SkinName(), name);
    }

    // The hint of the Advanced Window Title button, shown by the mouse
    // resting on it, then taken away.
    void ShowHint() {
        const POINT at = hintTarget_->ClientToScreen(POINT{hintTarget_->Width() / 2, hintTarget_->Height() / 2});
        ASSERT_TRUE(MouseMove(POINT{at.x + 1, at.y + 1}, hintTarget_->Handle()));
        ASSERT_TRUE(MouseMove(at, hintTarget_->Handle()));
        ASSERT_TRUE(WaitUntil([] {
            THintWindow* w = ApplicationHints().HintWindow();
            return w && w->HintShowing();
        }, 3000)) << "no hint shown";
        ApplicationHints().CancelHint();
        // The mouse leaves, or the hint would come back after the pause.
        ASSERT_TRUE(MouseMove(POINT{at.x, at.y + 200}));
        PumpFor(50);
    }

    // The notification icon's menu, opened by a right click on the icon.
    void OpenTrayMenu() {
        const int before = TCloser::MenusClosed;
        form_->Perform(WM_USER + 1, 0, WM_RBUTTONUP);
        PumpMessages();
        EXPECT_EQ(TCloser::MenusClosed, before + 1) << "no menu opened";
    }

    void ShowBox() {
        const int before = TCloser::BoxesClosed;
        ShowMessage("Soak box");
        PumpMessages();
        EXPECT_EQ(TCloser::BoxesClosed, before + 1) << "no box opened";
    }

    ChildProcess client_;
    UINT_PTR timer_ = 0;
    std::string wantedSkin_;
    std::vector<std::string> offered_;
    TWinControl* hintTarget_ = nullptr;
};

TEST_F(Soak, FiftySkinSwitchesWithHintsMenusAndBoxesKeepCountsFlatAndLeaveNoWindow) {
    KOVA_REQUIRE_SIMCLIENT();
    WriteSimTablesConfig(dir_, kTableClass);
    WriteUserIni();
    Open();
    ASSERT_NE(form_->sSkinProvider1, nullptr);
    ASSERT_NE(form_->sHintManager1, nullptr);

    ASSERT_TRUE(client_.Start("\"" + SimClientExe() + "\" --name " + kClient));
    ASSERT_NE(WaitForWindow(kova::sim::kControlClass, kClient), nullptr);
    for (int id : {1, 2}) {
        const std::string cmd = "open id=" + std::to_string(id) + " class=" + kTableClass + " title=\"Sim Table " +
                                std::to_string(id) + "\" size=384x262 pos=" + std::to_string(900 + 40 * id) + ",600";
        ASSERT_NE(kova::sim::SendCommand(kClient, cmd.c_str()), 0) << cmd;
    }
    Click(form_->StartConfigBtn);
    ASSERT_TRUE(WaitUntil([] { return t::Tables.size() == 2; }, 10000)) << "the tables were not placed";

    // The hint's button lies on a page of its own.
    hintTarget_ = Find<TWinControl>("AdvancedTitleBtn");
    ASSERT_NE(hintTarget_, nullptr);
    TWinControl* sheet = hintTarget_->Parent();
    while (sheet && !dynamic_cast<TTabSheet*>(sheet)) sheet = sheet->Parent();
    ASSERT_NE(sheet, nullptr);
    ShowPage(sheet->Name());
    SetForegroundWindow(form_->Handle());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == form_->Handle(); }, 3000));

    AnswerThroughRealWindows();
    timer_ = SetTimer(nullptr, 0, 150, &TCloser::Tick);
    ASSERT_NE(timer_, 0u);

    // One round of everything first: caches fill, the hint and menu
    // classes are registered, the skins are read once.
    ChooseSkin("Slate (internal)");
    ASSERT_GE(offered_.size(), 2u);
    std::vector<std::string> skins;
    for (const std::string& s : offered_)
        if (s.find("(internal)") != std::string::npos) skins.push_back(s);
    ASSERT_GE(skins.size(), 2u);
    for (const std::string& s : skins) ChooseSkin(s);
    ShowHint();
    ShowBox();
    // A box's provider is let go at the next window the hook sees (the
    // menu's, here), as after the last box of the rounds below.
    OpenTrayMenu();
    PumpFor(200);

    const skin::test::TFlatCounts counts;
    const DWORD allWindowsBefore = skin::test::LiveOurWindows();
    const std::vector<HWND> windowsBefore = OurTopLevelWindows();
    const std::string before = Describe(windowsBefore);
    for (int i = 0; i < 50; ++i) {
        ChooseSkin(skins[static_cast<std::size_t>(i) % skins.size()]);
        if (HasFatalFailure()) return;
        switch (i % 3) {
            case 0: ShowHint(); break;
            case 1: OpenTrayMenu(); break;
            default: ShowBox(); break;
        }
        if (HasFatalFailure()) return;
    }
    // The last skin of the round before, so that the same skin's pictures are held.
    ChooseSkin(skins.back());
    PumpFor(300);
    KillTimer(nullptr, timer_);
    timer_ = 0;

    EXPECT_EQ(TCloser::BoxesSkinned, TCloser::BoxesClosed) << "boxes shown plain";
    // The scan ran all along and the tables kept their slots.
    EXPECT_EQ(t::Tables.size(), 2u);
    counts.ExpectKept(skin::test::TFlatCounts::AllLive, skin::test::TFlatCounts::GuiNoMore);
    EXPECT_EQ(skin::test::LiveOurWindows(), allWindowsBefore) << "windows, children included";
    const std::vector<HWND> windowsAfter = OurTopLevelWindows();
    EXPECT_EQ(windowsAfter.size(), windowsBefore.size()) << "before: " << before
                                                         << "\nafter: " << Describe(windowsAfter);
}

}  // namespace
