// Button-family and static adapters on real native windows under a shown
// top-level window, with the test skin's plain colours: the look in each
// state is read back from the screen, with the states driven as a user
// drives them (the mouse moved and pressed by SendInput, the focus, the
// window disabled).
#include "skin/controls/btnwnd.h"
#include "skin/controls/combownd.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "../core/handlecheck.h"
#include "common/testdata.h"
#include "common/win32_testing.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"

namespace kova::skin::test {
namespace {

using kova::test::PumpFor;
using kova::test::PumpMessages;
using kova::test::WaitUntil;

constexpr COLORREF kButton = RGB(200, 0, 0);
constexpr COLORREF kButtonHot = RGB(0, 200, 0);
constexpr COLORREF kCheck = RGB(0, 0, 200);
constexpr COLORREF kCheckHot = RGB(200, 200, 0);
constexpr COLORREF kGroup = RGB(0, 120, 120);
constexpr COLORREF kGlobal = RGB(192, 192, 192);

bool Near(COLORREF a, COLORREF b, int tolerance = 3) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string Hex(COLORREF c) {
    char s[16];
    snprintf(s, sizeof s, "%06lX", static_cast<unsigned long>(c));
    return s;
}

void MouseTo(POINT p) { EXPECT_TRUE(kova::test::MouseMove(p)); }

class ButtonAdapterTest : public ::testing::Test {
protected:
    void SetUp() override {
        handles_ = LiveHandleCounts();
        manager = new TsSkinManager(nullptr);
        manager->Model().LoadFolder(kova::test::SourcePath("tests/skin/fixtures/btnskin"));
        ASSERT_TRUE(manager->Model().SectionIndexValid(manager->Model().IndexOfSection("BUTTON")));
        host = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "host", WS_POPUP | WS_VISIBLE, 60, 60, 420, 300, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host, nullptr);
        // Shown and active before anything is read from the screen or
        // focused inside it.
        SetForegroundWindow(host);
        WaitUntil(
            [&] {
                PumpMessages();
                return GetForegroundWindow() == host;
            },
            2000);
        PumpFor(100);
        // Away from every control.
        MouseTo(POINT{700, 500});
    }
    void TearDown() override {
        adapter.reset();
        for (HWND w : windows)
            if (IsWindow(w)) DestroyWindow(w);
        DestroyWindow(host);
        PumpMessages();
        manager->Free();
        EXPECT_EQ(TransientHandlesChanged(handles_), "");
    }

    HWND Make(const char* cls, const char* text, DWORD style, int x, int y, int w, int h) {
        HWND wnd = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, host, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        windows.push_back(wnd);
        return wnd;
    }
    template <class T>
    void Attach(HWND wnd) {
        adapter = CreateAdapter<T>(wnd, nullptr, manager, "");
        Repaint(wnd);
    }
    static void Repaint(HWND wnd) {
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ERASE);
        PumpFor(40);
    }
    // A pixel of the window, read from the screen.
    static COLORREF ScreenPixel(HWND wnd, int x, int y) {
        POINT p{x, y};
        ClientToScreen(wnd, &p);
        HDC dc = GetDC(nullptr);
        const COLORREF c = GetPixel(dc, p.x, p.y);
        ReleaseDC(nullptr, dc);
        return c;
    }
    // The pixel the window paints into a memory DC on WM_PRINT.
    static COLORREF PrintedPixel(HWND wnd, int x, int y) {
        RECT r{};
        GetWindowRect(wnd, &r);
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
        HGDIOBJ old = SelectObject(mem, bmp);
        SendMessageA(wnd, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_NONCLIENT);
        const COLORREF c = GetPixel(mem, x, y);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        return c;
    }
    // The look a pixel settles to: the mouse leaving a window is told by
    // the system's tracking timer, a while after the move.
    static COLORREF SettledPixel(HWND wnd, int x, int y, COLORREF expected) {
        WaitUntil([&] { return Near(ScreenPixel(wnd, x, y), expected); }, 1500);
        return ScreenPixel(wnd, x, y);
    }
    static POINT Centre(HWND wnd) {
        RECT r{};
        GetWindowRect(wnd, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    THandleCounts handles_{};
    TsSkinManager* manager = nullptr;
    HWND host = nullptr;
    std::vector<HWND> windows;
    std::unique_ptr<TacMainWnd> adapter;
};

// Each state of a push button as a user makes it, and the section's look
// the skin gives that state (pixel at the button's left edge, away from
// the caption).
TEST_F(ButtonAdapterTest, PushButtonPaintsEveryStateFromTheSkin) {
    struct Case {
        const char* Name;
        std::function<void(HWND)> Drive;
        std::function<void(HWND)> Undo;
        COLORREF Expected;
        int Pushed;  // BST_PUSHED expected
    };
    HWND other = Make("BUTTON", "other", BS_PUSHBUTTON, 300, 200, 80, 30);
    const Case cases[] = {
        {"normal", [](HWND) {}, [](HWND) {}, kButton, 0},
        {"hot", [](HWND w) { MouseTo(Centre(w)); }, [](HWND) { MouseTo(POINT{700, 500}); }, kButtonHot, 0},
        {"pressed",
         [](HWND w) {
             MouseTo(Centre(w));
             EXPECT_TRUE(kova::test::MouseDown(Centre(w)));
         },
         [other](HWND) {
             MouseTo(POINT{700, 500});
             EXPECT_TRUE(kova::test::MouseUp(POINT{700, 500}));
             // The press gave it the focus, which is the hot look too.
             SetFocus(other);
         },
         kButtonHot, 1},
        {"focused", [](HWND w) { SetFocus(w); }, [other](HWND) { SetFocus(other); }, kButtonHot, 0},
    };
    HWND wnd = Make("BUTTON", "Press me", BS_PUSHBUTTON, 20, 20, 120, 40);
    SetFocus(other);
    Attach<TacBtnWnd>(wnd);
    EXPECT_EQ(adapter->CommonData->SkinSection(), "BUTTON");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Drive(wnd);
        PumpFor(60);
        EXPECT_EQ((SendMessageA(wnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0, c.Pushed != 0);
        const COLORREF got = SettledPixel(wnd, 3, 20, c.Expected);
        EXPECT_TRUE(Near(got, c.Expected)) << Hex(got) << " want " << Hex(c.Expected);
        // WM_PRINT paints the same into the DC it is given.
        const COLORREF printed = PrintedPixel(wnd, 3, 20);
        EXPECT_TRUE(Near(printed, c.Expected)) << Hex(printed);
        c.Undo(wnd);
        const COLORREF back = SettledPixel(wnd, 3, 20, kButton);
        EXPECT_TRUE(Near(back, kButton)) << "after: " << Hex(back) << " hot " << (manager->HotControl() == wnd)
                                         << " above " << adapter->CommonData->MouseAbove << " focus "
                                         << (GetFocus() == wnd);
    }
    // Disabled: the normal look faded 0.4 toward what lies under it.
    EnableWindow(wnd, FALSE);
    PumpFor(60);
    const COLORREF disabled = ScreenPixel(wnd, 3, 20);
    // The host does not know the skin: what lies under it is the skin's
    // GLOBALINFO colour.
    const COLORREF under = kGlobal;
    EXPECT_FALSE(Near(disabled, kButton)) << Hex(disabled);
    EXPECT_TRUE(Near(disabled, RGB((200 * 4 + GetRValue(under) * 6) / 10, GetGValue(under) * 6 / 10,
                                   GetBValue(under) * 6 / 10),
                     8))
        << Hex(disabled) << " under " << Hex(under);
    // The caption is painted in the section's white font colour.
    EnableWindow(wnd, TRUE);
    PumpFor(60);
    bool white = false;
    for (int x = 30; x < 90 && !white; ++x)
        for (int y = 12; y < 28 && !white; ++y) white = Near(ScreenPixel(wnd, x, y), RGB(255, 255, 255), 20);
    EXPECT_TRUE(white);
}

TEST_F(ButtonAdapterTest, TheNativeLookComesBackWhenTheAdapterLeaves) {
    HWND wnd = Make("BUTTON", "Press me", BS_PUSHBUTTON, 20, 20, 120, 40);
    Repaint(wnd);
    const COLORREF native = ScreenPixel(wnd, 3, 20);
    Attach<TacBtnWnd>(wnd);
    EXPECT_TRUE(Near(ScreenPixel(wnd, 3, 20), kButton))
        << Hex(ScreenPixel(wnd, 3, 20)) << " focus " << (GetFocus() == wnd) << " hot " << (manager->HotControl() == wnd);
    EXPECT_EQ(FindAdapter(wnd), adapter.get());
    adapter->Detach(true);
    Repaint(wnd);
    EXPECT_EQ(FindAdapter(wnd), nullptr);
    EXPECT_EQ(ScreenPixel(wnd, 3, 20), native);
    adapter.reset();
    // With the skin's manager gone inactive the window paints natively too.
    Attach<TacBtnWnd>(wnd);
    manager->SetActive(false);
    Repaint(wnd);
    EXPECT_EQ(ScreenPixel(wnd, 3, 20), native);
}

TEST_F(ButtonAdapterTest, CheckBoxAndRadioButtonPaintTheSectionAndAHotLook) {
    struct Case {
        const char* Name;
        DWORD Style;
    };
    for (const Case c : {Case{"check box", BS_AUTOCHECKBOX}, Case{"radio", BS_AUTORADIOBUTTON}}) {
        SCOPED_TRACE(c.Name);
        HWND wnd = Make("BUTTON", "Option", c.Style, 20, 100, 150, 24);
        Attach<TacCheckBoxWnd>(wnd);
        EXPECT_EQ(adapter->CommonData->SkinSection(), "CHECKBOX");
        // Right of the caption: the section.
        EXPECT_TRUE(Near(ScreenPixel(wnd, 145, 12), kCheck)) << Hex(ScreenPixel(wnd, 145, 12));
        MouseTo(Centre(wnd));
        EXPECT_TRUE(Near(SettledPixel(wnd, 145, 12, kCheckHot), kCheckHot)) << Hex(ScreenPixel(wnd, 145, 12));
        // A click checks it; the window stays skinned.
        EXPECT_TRUE(kova::test::MouseDown(Centre(wnd)));
        EXPECT_TRUE(kova::test::MouseUp(Centre(wnd)));
        EXPECT_EQ(SendMessageA(wnd, BM_GETCHECK, 0, 0), BST_CHECKED);
        MouseTo(POINT{700, 500});
        // Focused by the click: still the active look.
        EXPECT_EQ(GetFocus(), wnd);
        EXPECT_TRUE(Near(SettledPixel(wnd, 145, 12, kCheckHot), kCheckHot));
        SetFocus(host);
        const COLORREF normal = SettledPixel(wnd, 145, 12, kCheck);
        EXPECT_TRUE(Near(normal, kCheck)) << Hex(normal);
        adapter.reset();
        DestroyWindow(wnd);
    }
}

// The glyph (left of the caption) differs per check state; an
// indeterminate radio button shows the check box's grey image.
TEST_F(ButtonAdapterTest, CheckGlyphsFollowTheCheckState) {
    manager->Model().LoadStoredData(InternalSkinData("Linen"));
    ASSERT_TRUE(manager->Model().MaskIndexValid(manager->Model().ConstData().CheckBoxChecked));
    auto glyphOf = [&](HWND wnd) {
        std::vector<COLORREF> px;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 16; ++x) px.push_back(PrintedPixel(wnd, x, y));
        return px;
    };
    HWND box = Make("BUTTON", "Option", BS_AUTO3STATE, 20, 100, 150, 24);
    Attach<TacCheckBoxWnd>(box);
    std::vector<std::vector<COLORREF>> states;
    for (WPARAM check : {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE}) {
        SendMessageA(box, BM_SETCHECK, check, 0);
        states.push_back(glyphOf(box));
    }
    EXPECT_NE(states[0], states[1]);
    EXPECT_NE(states[1], states[2]);
    EXPECT_NE(states[0], states[2]);
    const std::unique_ptr<TacMainWnd> boxAdapter = std::move(adapter);

    HWND radio = Make("BUTTON", "Option", BS_RADIOBUTTON, 20, 140, 150, 24);
    Attach<TacCheckBoxWnd>(radio);
    SendMessageA(radio, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_NE(glyphOf(radio), states[0]);
    // BM_SETCHECK with the indeterminate state on a radio button: the
    // window keeps what it was told, the glyph is the grey box.
    SetWindowLongA(radio, GWL_STYLE, (GetWindowLongA(radio, GWL_STYLE) & ~0xF) | BS_3STATE);
    SendMessageA(radio, BM_SETCHECK, BST_INDETERMINATE, 0);
    SetWindowLongA(radio, GWL_STYLE, (GetWindowLongA(radio, GWL_STYLE) & ~0xF) | BS_RADIOBUTTON);
    EXPECT_EQ(SendMessageA(radio, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_EQ(glyphOf(radio), states[2]);
}

// The group box answers sub-code 27 with its caption's height and paints
// its section from half that height down; the band above is the parent's.
TEST_F(ButtonAdapterTest, GroupBoxTellsItsCaptionHeightAndPaintsBelowIt) {
    struct Case {
        const char* Caption;
    };
    for (const Case c : {Case{"Group"}, Case{""}}) {
        SCOPED_TRACE(c.Caption);
        HWND wnd = Make("BUTTON", c.Caption, BS_GROUPBOX, 20, 20, 200, 120);
        Attach<TacGroupBoxWnd>(wnd);
        EXPECT_EQ(adapter->CommonData->SkinSection(), "GROUPBOX");
        const LRESULT h = SendSkinCommand(wnd, 27, 0);
        if (*c.Caption) {
            EXPECT_GT(h, 6);
        } else {
            EXPECT_EQ(h, 6);  // the least caption height
        }
        const int half = static_cast<int>(h / 2);
        EXPECT_TRUE(Near(PrintedPixel(wnd, 100, half + 1), kGroup)) << Hex(PrintedPixel(wnd, 100, half + 1));
        EXPECT_TRUE(Near(PrintedPixel(wnd, 100, 60), kGroup));
        EXPECT_FALSE(Near(PrintedPixel(wnd, 190, half - 1), kGroup)) << Hex(PrintedPixel(wnd, 190, half - 1));
        EXPECT_TRUE(Near(ScreenPixel(wnd, 100, 60), kGroup)) << Hex(ScreenPixel(wnd, 100, 60));
        adapter.reset();
        DestroyWindow(wnd);
    }
}

TEST_F(ButtonAdapterTest, StaticTextPaintsTheSectionAndItsText) {
    HWND wnd = Make("STATIC", "Label text", SS_LEFT, 20, 200, 160, 24);
    Attach<TacStaticWnd>(wnd);
    adapter->CommonData->SetSkinSection("STATIC");
    adapter->CommonData->ReadSkinIndexes();
    Repaint(wnd);
    EXPECT_TRUE(Near(ScreenPixel(wnd, 150, 20), RGB(128, 128, 128))) << Hex(ScreenPixel(wnd, 150, 20));
    bool white = false;
    for (int x = 0; x < 60 && !white; ++x)
        for (int y = 0; y < 16 && !white; ++y) white = Near(ScreenPixel(wnd, x, y), RGB(255, 255, 255), 20);
    EXPECT_TRUE(white);
}

// Skin switches and state changes leave no GDI or USER object behind.
TEST_F(ButtonAdapterTest, HandleCountsStayFlat) {
    HWND button = Make("BUTTON", "Press me", BS_PUSHBUTTON, 20, 20, 120, 40);
    HWND check = Make("BUTTON", "Option", BS_AUTOCHECKBOX, 20, 100, 150, 24);
    HWND group = Make("BUTTON", "Group", BS_GROUPBOX, 200, 20, 200, 120);
    auto round = [&] {
        auto a = CreateAdapter<TacBtnWnd>(button, nullptr, manager, "");
        auto b = CreateAdapter<TacCheckBoxWnd>(check, nullptr, manager, "");
        auto c = CreateAdapter<TacGroupBoxWnd>(group, nullptr, manager, "");
        for (HWND w : {button, check, group}) {
            Repaint(w);
            PrintedPixel(w, 1, 1);
        }
        SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
        EnableWindow(button, FALSE);
        EnableWindow(button, TRUE);
        SendSkinCommand(group, 27, 0);
    };
    round();
    const THandleCounts before = LiveHandleCounts();
    for (int i = 0; i < 10; ++i) round();
    PumpMessages();
    EXPECT_EQ(TransientHandlesChanged(before), "");
}

// Combo boxes in their three styles: the drop-down button from the skin
// (none for a simple combo), pressed while the list is down; the list gets
// its adapter when it first shows, and item texts of any length are read.
TEST_F(ButtonAdapterTest, ComboBoxesShowTheSkinsButtonAndSkinTheirList) {
    constexpr COLORREF kComboBtn = RGB(255, 128, 0);
    constexpr COLORREF kComboBtnHot = RGB(0, 128, 255);
    struct Case {
        const char* Name;
        DWORD Style;
        bool HasButton;
    };
    for (const Case c : {Case{"drop-down list", CBS_DROPDOWNLIST, true}, Case{"drop-down", CBS_DROPDOWN, true},
                         Case{"simple", CBS_SIMPLE, false}}) {
        SCOPED_TRACE(c.Name);
        HWND wnd = Make("COMBOBOX", "", c.Style | WS_VSCROLL, 20, 20, 160, c.HasButton ? 200 : 120);
        const std::string longItem(5000, 'x');
        for (const std::string& item : {std::string("one"), std::string("two"), longItem})
            SendMessageA(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        SendMessageA(wnd, CB_SETCURSEL, 0, 0);
        auto combo = CreateAdapter<TacComboBoxWnd>(wnd, nullptr, manager, "");
        EXPECT_EQ(combo->CommonData->SkinSection(), "COMBOBOX");
        Repaint(wnd);
        const RECT b = combo->GetButtonRect();
        EXPECT_EQ(b.right - b.left > 0, c.HasButton);
        EXPECT_EQ(ComboItemText(wnd, 2), longItem);
        EXPECT_EQ(ComboItemText(wnd, 7), "");
        if (c.HasButton) {
            RECT wr{};
            GetWindowRect(wnd, &wr);
            const int x = b.left + 1, y = b.top + 1;
            auto pixel = [&] {
                HDC dc = GetWindowDC(wnd);
                const COLORREF p = GetPixel(dc, x, y);
                ReleaseDC(wnd, dc);
                return p;
            };
            EXPECT_TRUE(Near(pixel(), kComboBtn)) << Hex(pixel());
            // Down: pressed, the list skinned.
            SendMessageA(wnd, CB_SHOWDROPDOWN, TRUE, 0);
            PumpFor(60);
            ASSERT_NE(SendMessageA(wnd, CB_GETDROPPEDSTATE, 0, 0), 0);
            EXPECT_EQ(combo->ButtonState(), 2);
            EXPECT_TRUE(Near(pixel(), kComboBtnHot)) << Hex(pixel());
            ASSERT_NE(combo->ListHandle, nullptr);
            EXPECT_EQ(FindAdapter(combo->ListHandle), combo->ListAdapter.get());
            SendMessageA(wnd, CB_SHOWDROPDOWN, FALSE, 0);
            MouseTo(POINT{700, 500});
            SetFocus(host);
            PumpFor(60);
            EXPECT_NE(combo->ButtonState(), 2);
            WaitUntil([&] { return Near(pixel(), kComboBtn); }, 1500);
            EXPECT_TRUE(Near(pixel(), kComboBtn)) << Hex(pixel());
        }
        // The skin goes: the list's adapter goes with it.
        SendSkinCommand(wnd, scSkinRemoved, reinterpret_cast<LPARAM>(manager));
        EXPECT_EQ(combo->ListAdapter, nullptr);
        combo.reset();
        EXPECT_EQ(FindAdapter(wnd), nullptr);
        DestroyWindow(wnd);
    }
}

}  // namespace
}  // namespace kova::skin::test
