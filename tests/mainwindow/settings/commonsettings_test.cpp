// The Common Settings page on the real main form: the hotkey rows show
// "user.ini", edit the bindings and re-register them with the window
// system, WM_HOTKEY runs hotkeys 3 to 10 (also from a real key press), and
// the options the engine reads follow their controls at once, down to the
// panels and frames of the simulated client's table while a config runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/require.h"
#include "mainwindow/settings/logic/settingsmodel.h"
#include "mainwindow/settings/settingstesting.h"
#include "simclient_protocol.h"
#include "tables/engine/autoplace.h"
#include "tables/engine/pokertable.h"
#include "tables/files/userini.h"
#include "tables/overlays/frameform.h"

namespace {

using namespace kova;
using namespace kova::test;
namespace t = kova::tables;
namespace st = kova::mainwindow::settings;

constexpr const char* kTableClass = "KovaSettingsTable";

void PutBinding(Bytes& user, int k, int32_t modifier, int32_t key, const std::string& name = "") {
    const size_t at = 8 + 60 * static_cast<size_t>(k);
    PokeI32(user, at + 52, modifier);
    PokeI32(user, at + 56, key);
    if (!name.empty()) PokeShort(user, at + 4, name);
}

int32_t I32At(const Bytes& b, size_t at) {
    return static_cast<int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24);
}

class CommonSettings : public SettingsFormTest {
protected:
    TComboBox* Combo(const std::string& name) { return Find<TComboBox>(form_, name); }
    TEdit* Edit(const std::string& name) { return Find<TEdit>(form_, name); }
    ATOM Id(int n) { return form_->Settings().HotKeys().Id(n); }
    void HotKey(int n) { SendMessageA(form_->Handle(), WM_HOTKEY, Id(n), 0); }
};

TEST_F(CommonSettings, UserIniFillsTheRowsRegistersThreeToElevenAndCloseSavesAndReleases) {
    Bytes user = UserIniFile(0, 0, 0);
    PutBinding(user, 0, 17, VK_F1);             // scroll to next: Ctrl+F1 (hook input, not registered)
    PutBinding(user, 2, 18, VK_F7);             // minimise all: Alt+F7
    PutBinding(user, 7, 16, VK_F8);             // manual shift: Shift+F8
    PutBinding(user, 10, 16, 'C', "Fold it");  // shared 1
    PutBinding(user, 11, 0, 2);                 // shared 2: the right button, kept as its release
    WriteFile(Path("user.ini"), user);
    Open();
    messages_.clear();  // no config yet: said so

    EXPECT_EQ(Combo("ComboBox1")->Text(), "Ctrl");
    EXPECT_EQ(Combo("ComboBox2")->Text(), "F1");
    EXPECT_EQ(Combo("ComboBox5")->Text(), "Alt");
    EXPECT_EQ(Combo("ComboBox6")->Text(), "F7");
    EXPECT_EQ(Combo("ComboBox15")->Text(), "Shift");
    EXPECT_EQ(Combo("ComboBox16")->Text(), "F8");
    EXPECT_EQ(Combo("ComboBox3")->Text(), "None");  // a row without a binding
    EXPECT_EQ(Combo("Combo1")->Text(), "Shift");
    EXPECT_EQ(Combo("Combo2")->Text(), "C");
    EXPECT_EQ(Combo("Combo4")->Text(), "RButtonUp");
    EXPECT_EQ(Edit("ActioHKEdit1")->Text(), "Fold it");
    // A binding without a name shows its row's first one, and keeps none.
    EXPECT_EQ(Edit("ActioHKEdit2")->Text(), "Call");
    EXPECT_EQ(st::BindingName(t::UserOptions.Bindings[11]), "");
    EXPECT_TRUE(messages_.empty());

    auto& keys = form_->Settings().HotKeys();
    EXPECT_FALSE(keys.Registered(1));
    EXPECT_TRUE(keys.Registered(3));
    EXPECT_TRUE(keys.Registered(8));
    EXPECT_TRUE(keys.Registered(11));  // F11, always
    EXPECT_FALSE(keys.Registered(4));  // no key: left unregistered
    EXPECT_FALSE(CombinationFree(MOD_ALT, VK_F7));
    EXPECT_FALSE(CombinationFree(MOD_SHIFT, VK_F8));
    EXPECT_TRUE(CombinationFree(MOD_CONTROL, VK_F1));

    form_->Close();
    EXPECT_TRUE(CombinationFree(MOD_ALT, VK_F7));
    EXPECT_TRUE(CombinationFree(MOD_SHIFT, VK_F8));
    EXPECT_TRUE(CombinationFree(0, VK_F11));
    const Bytes written = ReadFile(Path("user.ini"));
    ASSERT_EQ(written.size(), 1212u);
    EXPECT_EQ(I32At(written, 8 + 60 * 2 + 52), 18);
    EXPECT_EQ(I32At(written, 8 + 60 * 2 + 56), VK_F7);
    EXPECT_EQ(I32At(written, 8 + 60 * 11 + 56), 11);
    EXPECT_EQ(written[8 + 60 * 10 + 4], 7);  // "Fold it"
    EXPECT_EQ(written[8 + 60 * 11 + 4], 0);
}

TEST_F(CommonSettings, RowEditsChangeTheBindingsReRegisterAndAreSaved) {
    WriteFile(Path("user.ini"), UserIniFile(0, 0, 0));
    Open();
    messages_.clear();  // no config yet: said so
    // Row 3 (minimise all): Alt, then F9 picked from the list.
    Choose(Combo("ComboBox5"), "Alt");
    Choose(Combo("ComboBox6"), "F9");
    EXPECT_EQ(t::UserOptions.Bindings[2].Modifier, 18);
    EXPECT_EQ(t::UserOptions.Bindings[2].Key, VK_F9);
    EXPECT_TRUE(form_->Settings().HotKeys().Registered(3));
    EXPECT_FALSE(CombinationFree(MOD_ALT, VK_F9));
    // The modifier changed again: the old combination is free at once.
    Choose(Combo("ComboBox5"), "Ctrl");
    EXPECT_TRUE(CombinationFree(MOD_ALT, VK_F9));
    EXPECT_FALSE(CombinationFree(MOD_CONTROL, VK_F9));

    // Row 4 by pressing the key in its combo: the combo names it.
    ReleaseKey(Combo("ComboBox8"), VK_F10);
    EXPECT_EQ(Combo("ComboBox8")->Text(), "F10");
    EXPECT_EQ(t::UserOptions.Bindings[3].Key, VK_F10);
    EXPECT_TRUE(form_->Settings().HotKeys().Registered(4));
    EXPECT_TRUE(messages_.empty());
    // A key without a name clears the row's key.
    ReleaseKey(Combo("ComboBox8"), 200);
    EXPECT_EQ(t::UserOptions.Bindings[3].Key, 0);
    EXPECT_FALSE(form_->Settings().HotKeys().Registered(4));

    // The same combination as row 3: refused, said so.
    Choose(Combo("ComboBox7"), "Ctrl");
    Choose(Combo("ComboBox8"), "F9");
    EXPECT_EQ(messages_, (std::vector<std::string>{"Wrong HotKey"}));
    EXPECT_FALSE(form_->Settings().HotKeys().Registered(4));
    EXPECT_TRUE(form_->Settings().HotKeys().Registered(3));

    // Rows 1 and 2 and the shared rows are matched from the hook's input:
    // never registered.
    Choose(Combo("ComboBox1"), "Shift");
    ReleaseKey(Combo("ComboBox2"), VK_F12);
    EXPECT_EQ(t::UserOptions.Bindings[0].Modifier, 16);
    EXPECT_EQ(t::UserOptions.Bindings[0].Key, VK_F12);
    EXPECT_TRUE(CombinationFree(MOD_SHIFT, VK_F12));
    Choose(Combo("Combo3"), "Ctrl");
    ReleaseKey(Combo("Combo4"), 'R');
    EXPECT_EQ(Combo("Combo4")->Text(), "R");
    EXPECT_EQ(t::UserOptions.Bindings[11].Modifier, 17);
    EXPECT_EQ(t::UserOptions.Bindings[11].Key, 'R');
    EXPECT_TRUE(CombinationFree(MOD_CONTROL, 'R'));
    Type(Edit("ActioHKEdit2"), "Call it");
    EXPECT_EQ(st::BindingName(t::UserOptions.Bindings[11]), "Call it");
    // The edit takes at most 40 characters; the name never more.
    Type(Edit("ActioHKEdit3"), std::string(60, 'r'));
    EXPECT_EQ(st::BindingName(t::UserOptions.Bindings[12]), std::string(40, 'r'));

    form_->Close();
    const Bytes written = ReadFile(Path("user.ini"));
    ASSERT_EQ(written.size(), 1212u);
    EXPECT_EQ(I32At(written, 8 + 60 * 2 + 52), 17);
    EXPECT_EQ(I32At(written, 8 + 60 * 2 + 56), VK_F9);
    EXPECT_EQ(I32At(written, 8 + 60 * 11 + 52), 17);
    EXPECT_EQ(I32At(written, 8 + 60 * 11 + 56), 'R');
    EXPECT_EQ(std::string(written.begin() + 8 + 60 * 11 + 5, written.begin() + 8 + 60 * 11 + 12), "Call it");
    EXPECT_TRUE(CombinationFree(MOD_CONTROL, VK_F9));
}

// Tables of a running config for the hotkeys that act on them.
class HotKeysOnTables : public CommonSettings {
protected:
    void OpenWithTables() {
        WriteFile(Path("PlaceConfig.cnfg"),
                  PlaceConfigFile({TestConfigData{"Main", {TestGroupData{"Tables", "Hot Table", kTableClass,
                                                                          {{20, 30, 420, 320}, {460, 30, 420, 320}}}}}},
                                  0));
        WriteFile(Path("PokerRooms.kov"), PokerRoomRecord("Test Room", kTableClass));
        Bytes user = UserIniFile(0, 0, 0);
        PutBinding(user, 2, 17, VK_F7);  // minimise all: Ctrl+F7
        WriteFile(Path("user.ini"), user);
        Open();
        static const bool registered = [] {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = kTableClass;
            return RegisterClassExA(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        for (int i = 1; i <= 2; ++i) {
            tables_.push_back(CreateWindowExA(0, kTableClass, ("Hot Table " + std::to_string(i)).c_str(),
                                              WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 500, 300, 200, nullptr, nullptr,
                                              GetModuleHandleA(nullptr), nullptr));
        }
        form_->StartConfig();
        ASSERT_TRUE(WaitUntil([] { return t::Tables.size() == 2; }));
    }
    void TearDown() override {
        for (HWND w : tables_) DestroyWindow(w);
        CommonSettings::TearDown();
    }
    bool AllIconic() const {
        for (HWND w : tables_)
            if (!IsIconic(w)) return false;
        return true;
    }
    bool NoneIconic() const {
        for (HWND w : tables_)
            if (IsIconic(w)) return false;
        return true;
    }
    std::vector<HWND> tables_;
};

TEST_F(HotKeysOnTables, WMHotKeyRunsThreeToTenAndTheSwitchKeepsOnlySevenAndEight) {
    OpenWithTables();
    HotKey(3);
    EXPECT_TRUE(WaitUntil([&] { return AllIconic(); }));
    HotKey(4);
    EXPECT_TRUE(WaitUntil([&] { return NoneIconic(); }));

    HotKey(5);
    EXPECT_EQ(form_->ConfigStatusL->Caption(), "Stopped");
    EXPECT_EQ(t::ScanPaused, 1);
    HotKey(6);
    EXPECT_EQ(form_->ConfigStatusL->Caption(), "Running");
    EXPECT_EQ(t::ScanPaused, 0);
    EXPECT_EQ(t::Tables.size(), 2u);  // continued, not started anew

    HotKey(9);
    EXPECT_EQ(t::AutoRegistratorRunning, 1);
    EXPECT_EQ(t::FullTiltRegistratorRunning, 1);
    HotKey(10);
    EXPECT_EQ(t::AutoRegistratorRunning, 0);
    EXPECT_EQ(t::FullTiltRegistratorRunning, 0);

    // Switched off: 3 to 6, 9 and 10 do nothing; 8 and 7 still act.
    HotKey(7);
    EXPECT_FALSE(form_->HotKeysEnabled());
    EXPECT_NE(form_->LogMemo->Lines()->Text().find("HotKeys Disabled"), std::string::npos);
    HotKey(3);
    HotKey(5);
    HotKey(9);
    PumpFor(300);
    EXPECT_TRUE(NoneIconic());
    EXPECT_EQ(form_->ConfigStatusL->Caption(), "Running");
    EXPECT_EQ(t::AutoRegistratorRunning, 0);
    t::ForceRenumber = 0;
    HotKey(8);
    EXPECT_EQ(t::ForceRenumber, 1);
    EXPECT_EQ(t::ResortPending, 1);
    HotKey(7);
    EXPECT_TRUE(form_->HotKeysEnabled());
    HotKey(3);
    EXPECT_TRUE(WaitUntil([&] { return AllIconic(); }));

    // An id that is none of the program's does nothing.
    SendMessageA(form_->Handle(), WM_HOTKEY, 0xBEEF, 0);
    EXPECT_EQ(form_->ConfigStatusL->Caption(), "Running");
}

TEST_F(HotKeysOnTables, ARealKeyPressOfARegisteredHotKeyMinimisesTheTables) {
    OpenWithTables();
    ASSERT_TRUE(form_->Settings().HotKeys().Registered(3));
    INPUT in[4] = {};
    const WORD keys[4] = {VK_CONTROL, VK_F7, VK_F7, VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = keys[i];
        in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    ASSERT_EQ(SendInput(4, in, sizeof(INPUT)), 4u);
    EXPECT_TRUE(WaitUntil([&] { return AllIconic(); }, 5000));
}

TEST_F(CommonSettings, OptionsTheScanReadsFollowTheirControlsAtOnce) {
    Open();
    EXPECT_FALSE(t::EngineOptions.JumpMouse);
    Click(form_->JumpMouseCB);
    EXPECT_TRUE(t::EngineOptions.JumpMouse);
    Click(form_->LBTNMouseActCB);
    EXPECT_TRUE(t::EngineOptions.LBtnMouseActivate);
    Type(form_->MouseActDelayEdit, "2");
    EXPECT_EQ(t::EngineOptions.MouseActDelay, 2);
    Type(form_->MouseActDelayEdit, "soon");  // not a number: 0
    EXPECT_EQ(t::EngineOptions.MouseActDelay, 0);
    Click(form_->CommonTimeBankCB);
    Click(form_->CommonImBackCB);
    Click(form_->CommonInfoTabCB);
    Click(form_->CommonBetpotCB);
    EXPECT_TRUE(t::EngineOptions.EventTimeBank && t::EngineOptions.EventImBack && t::EngineOptions.EventInfoTab &&
                t::EngineOptions.EventBetPot);
    Click(form_->OnlyPlayedCB);
    EXPECT_TRUE(t::EngineOptions.OnlyPlayed);
    Type(form_->ThicknessEdit, "9");
    EXPECT_EQ(t::EngineOptions.FrameThickness, "9");

    Click(form_->RadioBtnUnderMouse);
    EXPECT_EQ(t::UserOptions.UnderMouse, 1);
    EXPECT_EQ(t::UserOptions.ActiveTable, 0);
    Click(form_->CheckBoxSound);
    EXPECT_EQ(t::UserOptions.Sound, 1);
}

TEST_F(CommonSettings, AFirstRunWithoutUserIniSwitchesPanelsOnAndSavesWhatTheUserChanged) {
    Open();
    // What the controls show is what the engine reads from the start.
    EXPECT_EQ(t::UserOptions.ShowHUD, 0);
    EXPECT_EQ(t::UserOptions.ActiveTable, 1);
    Click(form_->CheckBoxHUD);
    Click(form_->CheckBoxFrame);
    EXPECT_EQ(t::UserOptions.ShowHUD, 1);
    EXPECT_EQ(t::UserOptions.Frame, 1);
    Choose(Combo("ComboBox5"), "Ctrl");
    Choose(Combo("ComboBox6"), "F6");
    EXPECT_TRUE(form_->Settings().HotKeys().Registered(3));
    form_->Close();
    EXPECT_EQ(saved_, (std::vector<std::string>{"user.ini", "startup.ini", "PokerRooms.kov", "PlaceConfig.cnfg"}));
    const Bytes written = ReadFile(Path("user.ini"));
    ASSERT_EQ(written.size(), 1212u);
    EXPECT_EQ(written[0], 1);
    EXPECT_EQ(written[3], 0);
    EXPECT_EQ(written[4], 1);
    EXPECT_EQ(written[1209], 1);
    EXPECT_EQ(I32At(written, 8 + 60 * 2 + 56), VK_F6);
    EXPECT_TRUE(CombinationFree(MOD_CONTROL, VK_F6));
}

TEST_F(CommonSettings, ABadUserIniIsNeverOverwrittenEvenAfterChanges) {
    WriteFile(Path("user.ini"), Bytes(100, 7));
    Open();
    ASSERT_EQ(messages_.size(), 2u);  // no config, and the unreadable file
    EXPECT_EQ(messages_[1], t::UserIniErrorMessage);
    Click(form_->CheckBoxHUD);
    EXPECT_EQ(t::UserOptions.ShowHUD, 1);  // this session still gets its panels
    form_->Close();
    EXPECT_TRUE(saved_.empty());
    EXPECT_EQ(ReadFile(Path("user.ini")), Bytes(100, 7));
}

// ---- panels and frames of a running config -------------------------------------------------

struct OwnedSearch {
    HWND owner;
    const char* cls;
    HWND found;
};
BOOL CALLBACK FindOwnedStep(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<OwnedSearch*>(p);
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (GetWindow(w, GW_OWNER) == s->owner && lstrcmpA(cls, s->cls) == 0 && IsWindowVisible(w)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}
// The visible window of class `cls` that this thread made for `owner`.
HWND ShownOverlay(HWND owner, const char* cls) {
    OwnedSearch s{owner, cls, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindOwnedStep, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

class OverlaysWhileRunning : public CommonSettings {
protected:
    void TearDown() override {
        if (form_) form_->Close();
        kova::sim::SendCommand(kClient, "quit");
        client_.WaitForExit(5000);
        client_.Kill();
        CommonSettings::TearDown();
    }
    static constexpr const char* kClient = "kovasettingstest";
    ChildProcess client_;
};

TEST_F(OverlaysWhileRunning, PanelsAndFramesComeAndGoWithTheirBoxes) {
    KOVA_REQUIRE_SIMCLIENT();
    // The main form away from the slots: a click on it brings it forward,
    // and a covered table's Fold button cannot be read.
    WriteSimTablesConfig(dir_, kTableClass);
    Open();  // a first run: no "user.ini", panels and frames off
    // The room frames the turn table; its Fold point lies on the simulated
    // client's Fold button.
    ASSERT_EQ(t::PokerRooms.size(), 1u);
    t::TPokerRoom& room = t::PokerRooms[0];
    room.Proportional = 1;
    room.ScaleRef = {1000, 1000, 0, 0};
    room.FoldPoint = {575, 880, 0, 0};
    room.FoldColour = {GetRValue(kova::sim::kFoldColour), GetGValue(kova::sim::kFoldColour),
                       GetBValue(kova::sim::kFoldColour)};
    room.Tolerance = 8;
    room.FrameOn = 1;
    // Framed green from the turn's start for ten minutes.
    room.AlertSteps = {t::TTurnAlertStep{0, 1, 0, 0, 1}, t::TTurnAlertStep{600, 0, 0, 0, 1},
                       t::TTurnAlertStep{600, 0, 0, 0, 1}, t::TTurnAlertStep{600, 0, 0, 0, 1}};

    ASSERT_TRUE(client_.Start("\"" + SimClientExe() + "\" --name " + kClient));
    ASSERT_NE(WaitForWindow(kova::sim::kControlClass, kClient), nullptr);
    const std::string cmd = std::string("open id=1 class=") + kTableClass + " title=\"Sim Table 1\" size=384x262 pos=900,600";
    HWND table = reinterpret_cast<HWND>(kova::sim::SendCommand(kClient, cmd.c_str()));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(kova::sim::SendCommand(kClient, "turn 1 on"), 1);

    Click(form_->StartConfigBtn);
    ASSERT_TRUE(WaitUntil([] { return t::Tables.size() == 1 && t::Tables[0]->MyTurn; }, 10000));
    PumpFor(400);
    EXPECT_EQ(ShownOverlay(table, "THUDTable"), nullptr);
    EXPECT_EQ(ShownOverlay(table, "TFrameForm"), nullptr);


    Click(form_->CheckBoxHUD);
    EXPECT_NE(ShownOverlay(table, "THUDTable"), nullptr);  // at once
    Click(form_->CheckBoxFrame);
    ASSERT_TRUE(WaitUntil([&] { return ShownOverlay(table, "TFrameForm") != nullptr; }, 5000));
    auto frameState = [&] {
        HWND w = ShownOverlay(table, "TFrameForm");
        auto* frame = w ? dynamic_cast<t::TFrameForm*>(TWinControl::FindControl(w)) : nullptr;
        return frame ? frame->CurrentState() : -1;
    };
    EXPECT_TRUE(WaitUntil([&] { return frameState() > 0; }, 5000));

    Click(form_->CheckBoxHUD);
    EXPECT_EQ(ShownOverlay(table, "THUDTable"), nullptr);
    Click(form_->CheckBoxFrame);
    EXPECT_EQ(ShownOverlay(table, "TFrameForm"), nullptr);
    PumpFor(600);  // and they stay away while the scan runs on
    EXPECT_EQ(ShownOverlay(table, "THUDTable"), nullptr);
    EXPECT_EQ(ShownOverlay(table, "TFrameForm"), nullptr);

    Click(form_->CheckBoxHUD);
    Click(form_->CheckBoxFrame);
    EXPECT_TRUE(WaitUntil([&] { return ShownOverlay(table, "THUDTable") && frameState() > 0; }, 5000))
        << "panel " << (ShownOverlay(table, "THUDTable") != nullptr) << " frame " << frameState() << " turn "
        << int(t::Tables[0]->MyTurn) << " stage " << t::Tables[0]->AlertStage << " active "
        << (t::ActiveTableWnd == reinterpret_cast<uintptr_t>(table)) << " paused " << int(t::ScanPaused)
        << " has frame " << (t::Tables[0]->Frame != nullptr);

    // A new thickness draws the frame anew with its pen.
    Type(form_->ThicknessEdit, "12");
    EXPECT_TRUE(WaitUntil([&] { return frameState() > 0; }, 5000));
    EXPECT_EQ(t::EngineOptions.FrameThickness, "12");
}

}  // namespace
