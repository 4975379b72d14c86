// System-wide hotkeys against the window system's own registrations: a
// combination taken twice is refused with a message, released hotkeys free
// their combination, and WM_HOTKEY carries an id that leads back to the row.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/win32_testing.h"
#include "framework/dialogs.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "mainwindow/hotkeys/hotkeys.h"

namespace kova::mainwindow {
namespace {

using tables::THotKeyBinding;

THotKeyBinding Binding(int32_t modifier, int32_t key) {
    THotKeyBinding b;
    b.Modifier = modifier;
    b.Key = key;
    return b;
}

std::vector<WPARAM> g_hotkeys;

LRESULT CALLBACK HotKeyWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_HOTKEY) {
        g_hotkeys.push_back(wp);
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

HWND MakeWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HotKeyWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KovaHotKeyTarget";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "hotkeys", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                           nullptr);
}

// Every box is answered and recorded: a test that did not expect one sees it.
class HotKeys : public ::testing::Test {
protected:
    void SetUp() override {
        SetDialogResponder([this](const TDialogRequest& r) {
            messages.push_back(r.text);
            TDialogAnswer a;
            a.result = mrOk;
            return a;
        });
        window = MakeWindow();
        ASSERT_NE(window, nullptr);
        g_hotkeys.clear();
    }
    void TearDown() override {
        SetDialogResponder(nullptr);
        if (window) DestroyWindow(window);
    }

    std::vector<std::string> messages;
    HWND window = nullptr;
};

TEST_F(HotKeys, TheSameCombinationInTwoRowsIsRefusedWithAMessage) {
    THotKeyTable table(window);
    EXPECT_TRUE(table.RegisterSlotHotKey(3, Binding(VK_CONTROL, VK_F5)));
    EXPECT_TRUE(messages.empty());

    EXPECT_FALSE(table.RegisterSlotHotKey(4, Binding(VK_CONTROL, VK_F5)));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Wrong HotKey");
    EXPECT_TRUE(table.Registered(3));
    EXPECT_FALSE(table.Registered(4));

    // The right Ctrl key is the same modifier; Shift is another combination.
    EXPECT_FALSE(table.RegisterSlotHotKey(5, Binding(VK_RCONTROL, VK_F5)));
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_TRUE(table.RegisterSlotHotKey(5, Binding(VK_SHIFT, VK_F5)));
    EXPECT_EQ(messages.size(), 2u);
}

TEST_F(HotKeys, ReleasedCombinationsCanBeRegisteredAgain) {
    {
        THotKeyTable table(window);
        // Re-registering a row releases its own combination first.
        ASSERT_TRUE(table.RegisterSlotHotKey(3, Binding(VK_MENU, VK_F6)));
        EXPECT_TRUE(table.RegisterSlotHotKey(3, Binding(VK_MENU, VK_F6)));
        // A row given another key frees its old one for another row.
        ASSERT_TRUE(table.RegisterSlotHotKey(3, Binding(VK_MENU, VK_F7)));
        EXPECT_TRUE(table.RegisterSlotHotKey(4, Binding(VK_MENU, VK_F6)));
        // Explicit release.
        table.Release(4);
        EXPECT_FALSE(table.Registered(4));
        EXPECT_EQ(table.Id(4), 0);
        EXPECT_TRUE(table.RegisterSlotHotKey(6, Binding(VK_MENU, VK_F6)));
        EXPECT_TRUE(messages.empty());
    }
    // The table is gone: every combination it held is free again, for
    // another owner and another window alike.
    HWND other = MakeWindow();
    ASSERT_NE(other, nullptr);
    {
        THotKeyTable second(other);
        EXPECT_TRUE(second.RegisterSlotHotKey(6, Binding(VK_MENU, VK_F6)));
        EXPECT_TRUE(second.RegisterSlotHotKey(7, Binding(VK_MENU, VK_F7)));
        second.ReleaseAll();
        EXPECT_FALSE(second.Registered(6));
        THotKeyTable third(window);
        EXPECT_TRUE(third.RegisterSlotHotKey(3, Binding(VK_MENU, VK_F7)));
    }
    DestroyWindow(other);
    EXPECT_TRUE(messages.empty());
}

TEST_F(HotKeys, KeylessRowsStayUnregisteredAndTheCaptureKeyIsAlwaysF11) {
    THotKeyTable table(window);
    // No key: nothing registered, nothing said, but the row has its id.
    EXPECT_TRUE(table.RegisterSlotHotKey(8, Binding(VK_CONTROL, 0)));
    EXPECT_FALSE(table.Registered(8));
    EXPECT_NE(table.Id(8), 0);
    // Hotkey 11 ignores its binding: plain F11, which is then taken.
    EXPECT_TRUE(table.RegisterSlotHotKey(kCaptureHotKey, Binding(VK_CONTROL, 'Q')));
    EXPECT_TRUE(table.Registered(kCaptureHotKey));
    EXPECT_FALSE(table.RegisterSlotHotKey(9, Binding(0, VK_F11)));
    EXPECT_TRUE(table.RegisterSlotHotKey(9, Binding(VK_CONTROL, 'Q')));
    EXPECT_EQ(messages.size(), 1u);
    // Rows outside 1..11 are not hotkeys.
    EXPECT_FALSE(table.RegisterSlotHotKey(0, Binding(0, VK_F3)));
    EXPECT_FALSE(table.RegisterSlotHotKey(12, Binding(0, VK_F3)));
    EXPECT_EQ(table.HotKeyOfId(0), 0);
}

TEST_F(HotKeys, AHotKeyPressedArrivesWithTheIdOfItsRow) {
    THotKeyTable table(window);
    ASSERT_TRUE(table.RegisterSlotHotKey(5, Binding(VK_CONTROL, VK_F9)));
    ASSERT_TRUE(table.RegisterSlotHotKey(6, Binding(VK_SHIFT, VK_F9)));
    EXPECT_NE(table.Id(5), table.Id(6));

    auto key = [](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        SendInput(1, &in, sizeof in);
    };
    key(VK_SHIFT, false);
    key(VK_F9, false);
    key(VK_F9, true);
    key(VK_SHIFT, true);
    ASSERT_TRUE(test::WaitUntil([] { return !g_hotkeys.empty(); }, 3000));
    test::PumpFor(100);
    ASSERT_EQ(g_hotkeys.size(), 1u);
    EXPECT_EQ(table.HotKeyOfId(g_hotkeys[0]), 6);
}

TEST_F(HotKeys, SelectKeyInComboPicksTheItemNamingTheCode) {
    auto* form = TCustomForm::Create<TForm>(Application());
    auto* modifiers = new TComboBox(form);
    modifiers->SetParent(form);
    modifiers->Items()->Assign({"None", "Ctrl", "Shift", "Alt"});
    auto* keys = new TComboBox(form);
    keys->SetParent(form);
    keys->Items()->Assign({"None", "a", "A", "F11", "WheelUp", "RButtonUp"});

    struct Case {
        TComboBox* combo;
        int32_t code;
        int index;
    };
    const Case cases[] = {
        {modifiers, VK_CONTROL, 1}, {modifiers, VK_MENU, 3},   {modifiers, 0, 0},
        {modifiers, VK_LSHIFT, 0},  // "LeftShift" is no item of this combo
        {keys, 'A', 2},             // exactly "A", not the item that differs in case
        {keys, VK_F11, 3},          {keys, 15, 4},             {keys, 11, 5},
        {keys, 200, 0},             {keys, VK_NUMPAD1, 0},     {keys, -5, 0},
    };
    for (const Case& c : cases) {
        c.combo->SetItemIndex(-1);
        SelectKeyInCombo(c.combo, c.code);
        EXPECT_EQ(c.combo->ItemIndex(), c.index) << "code " << c.code;
    }
    form->Free();
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace kova::mainwindow
