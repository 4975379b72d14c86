// Extended borders of system dialogs under the thread hook, with real
// windows and real mouse input: the border window is the dialog's cache
// laid around it with a hole over its client area, the mouse on the shadow
// margin reaches the window beneath, a drag by the caption moves the
// dialog and its border window, and closing the dialog leaves no window.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "common/win32_testing.h"
#include "framework/dialogs.h"
#include "framework/forms.h"
#include "framework/handles.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/msgbox.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinservices.h"
#include "skin/core/vclutils.h"
#include "skin/forms/autohook.h"
#include "skin/forms/borderform.h"
#include "skin/forms/dlgwnd.h"
#include "borderedforms.h"

namespace kova::skin::test {

namespace {

BOOL CALLBACK CountStep(HWND, LPARAM p) {
    ++*reinterpret_cast<int*>(p);
    return TRUE;
}
int ThreadWindows() {
    int n = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountStep, reinterpret_cast<LPARAM>(&n));
    return n;
}

HWND WindowOf(TacBorderForm* border) {
    return border && border->AForm && border->AForm->HandleAllocated() ? border->AForm->Handle() : nullptr;
}

using kova::test::RunLater;

class DialogBorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Our own shadows come with the skinning units.
        StartSkinUnits({});
        InstallAutoSkinning();
        manager = new TsSkinManager(nullptr);
        AddInternalSkins(manager->Model().InternalSkins);
        manager->SetExtendedBorders(true);
        manager->SetSkinName("Linen (internal)");
        owner = TCustomForm::Create<TForm>(Application());
        owner->SetBounds(620, 420, 320, 200);
        owner->SetCaption("Owner");
        owner->Show();
        kova::test::PumpMessages();
    }
    void TearDown() override {
        if (dialog && IsWindow(dialog)) DestroyWindow(dialog);
        if (owner) owner->Free();
        if (manager) manager->Free();
        FinishSkinUnits();
        ResetSkinServices();
        kova::test::DropLaterSteps();
    }
    // A captioned "#32770" window owned by the form, skinned and shown.
    TacDialogWnd* ShowDialog(DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME) {
        const TacSkinningRules rules = manager->SkinningRules;
        manager->SkinningRules &= ~static_cast<TacSkinningRules>(srStdDialogs);
        dialog = CreateWindowExA(WS_EX_DLGMODALFRAME, "#32770", "Bordered dialog", style, 160, 140, 360, 260,
                                 owner->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
        manager->SkinningRules = rules;
        if (!dialog || !AttachToNewWindow(dialog)) return nullptr;
        ShowWindow(dialog, SW_SHOW);
        kova::test::PumpMessages();
        kova::test::PumpFor(60);
        return dynamic_cast<TacDialogWnd*>(FindAdapter(dialog));
    }
    TsSkinManager* manager = nullptr;
    TForm* owner = nullptr;
    HWND dialog = nullptr;
};

}  // namespace

// The border window is the dialog's cache around its client area: owned by
// the dialog, at the cache's size, the client where the cache keeps it;
// its region is all of it less the client area, which alone is left of
// the dialog's own window. Moved and sized, it follows.
TEST_F(DialogBorderTest, TheBorderWindowIsTheCacheRectangleWithTheClientAsItsHole) {
    TacDialogWnd* d = ShowDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    ASSERT_NE(d, nullptr);
    const HWND border = WindowOf(d->BorderForm);
    ASSERT_NE(border, nullptr);
    EXPECT_TRUE(IsWindowVisible(border));
    EXPECT_EQ(GetWindow(border, GW_OWNER), dialog);
    EXPECT_EQ(GetWindowLongPtrA(border, GWL_EXSTYLE) & (WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW),
              WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW);
    const RECT m = d->GetExtBorderMargins();
    EXPECT_EQ(m.left, 9) << "our own shadow's margins";
    const auto check = [&](const char* when) {
        SCOPED_TRACE(when);
        const RECT r = WindowRectOf(border);
        TBitmap& cache = *d->CommonData->CacheBmp;
        EXPECT_EQ(r.right - r.left, cache.Width());
        EXPECT_EQ(r.bottom - r.top, cache.Height());
        POINT origin{0, 0};
        ClientToScreen(dialog, &origin);
        EXPECT_EQ(origin.x - r.left, d->ClientOffsetX());
        EXPECT_EQ(origin.y - r.top, d->ClientOffsetY());
        // The caption and the skin's frame lie above and beside the client.
        EXPECT_EQ(d->ClientOffsetY(), m.top + d->CaptionHeight(true));
        EXPECT_GE(d->ClientOffsetX(), m.left);
        RECT client;
        GetClientRect(dialog, &client);
        OffsetRect(&client, origin.x - r.left, origin.y - r.top);
        TGdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(GetWindowRgn(border, region.Get()), ERROR);
        TGdiObject<HRGN> expected(CreateRectRgn(0, 0, r.right - r.left, r.bottom - r.top));
        TGdiObject<HRGN> hole(CreateRectRgnIndirect(&client));
        CombineRgn(expected.Get(), expected.Get(), hole.Get(), RGN_DIFF);
        EXPECT_TRUE(EqualRgn(region.Get(), expected.Get()));
        // The dialog's own window shows its client area only.
        TGdiObject<HRGN> own(CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(GetWindowRgn(dialog, own.Get()), ERROR);
        RECT box;
        GetRgnBox(own.Get(), &box);
        const RECT wr = WindowRectOf(dialog);
        OffsetRect(&box, wr.left - origin.x, wr.top - origin.y);
        RECT c;
        GetClientRect(dialog, &c);
        EXPECT_TRUE(EqualRect(&box, &c));
        // The bottom margin is shadow (neither opaque nor empty), the
        // caption inside the margins opaque.
        const PixelBuffer32& pixels = cache.Pixels();
        const std::uint32_t shadow = pixels.At(pixels.Width() / 2, pixels.Height() - 4) >> 24;
        EXPECT_GT(shadow, 0u);
        EXPECT_LT(shadow, 255u);
        EXPECT_EQ(pixels.At(pixels.Width() / 2, m.top + 3) >> 24, 255u);
    };
    check("shown");
    SetWindowPos(dialog, nullptr, 220, 180, 420, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    kova::test::PumpMessages();
    check("moved and sized");
}

// The mouse on the shadow margin goes through to the window beneath; on
// the caption it stays with the border window.
TEST_F(DialogBorderTest, AClickInTheShadowMarginReachesTheWindowBeneath) {
    StandInClass("KovaTestBeneathDialog");
    TNative beneath{CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "KovaTestBeneathDialog", "",
                                    WS_POPUP | WS_VISIBLE, 100, 80, 560, 460, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr)};
    ASSERT_TRUE(beneath.Get());
    TacDialogWnd* d = ShowDialog();
    ASSERT_NE(d, nullptr);
    const HWND border = WindowOf(d->BorderForm);
    ASSERT_NE(border, nullptr);
    SetWindowPos(beneath.Get(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    kova::test::PumpMessages();
    const RECT r = WindowRectOf(border);
    const RECT m = d->GetExtBorderMargins();
    const POINT margin{r.left + m.left / 2, (r.top + r.bottom) / 2};
    const POINT caption{(r.left + r.right) / 3, r.top + m.top + d->CaptionHeight(true) / 2};
    EXPECT_EQ(WindowFromPoint(caption), border);
    EXPECT_EQ(SendMessageA(border, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTBORDER);
    ASSERT_TRUE(kova::test::MouseMove(margin));
    ASSERT_TRUE(kova::test::MouseMove(POINT{margin.x, margin.y + 1}));
    ASSERT_TRUE(kova::test::MouseMove(margin));
    EXPECT_EQ(WindowFromPoint(margin), beneath.Get());
}

// A drag by the caption (on the border window) moves the dialog, and its
// border window with it.
TEST_F(DialogBorderTest, ADragByTheCaptionMovesTheDialogAndItsBorderWindow) {
    TacDialogWnd* d = ShowDialog();
    ASSERT_NE(d, nullptr);
    const HWND border = WindowOf(d->BorderForm);
    ASSERT_NE(border, nullptr);
    const RECT r = WindowRectOf(border), before = WindowRectOf(dialog);
    const RECT m = d->GetExtBorderMargins();
    const POINT caption{(r.left + r.right) / 3, r.top + m.top + d->CaptionHeight(true) / 2};
    ASSERT_TRUE(kova::test::MouseDrag(caption, 40, 24));
    const RECT after = WindowRectOf(dialog), moved = WindowRectOf(border);
    EXPECT_EQ(after.left, before.left + 40);
    EXPECT_EQ(after.top, before.top + 24);
    EXPECT_EQ(moved.left, r.left + 40);
    EXPECT_EQ(moved.top, r.top + 24);
    EXPECT_EQ(moved.right - moved.left, r.right - r.left);
}

// The border window's hit codes: the close button, the caption (the icon
// is the system menu), the sizing bands of a sizeable dialog, and nothing
// on the margin.
TEST_F(DialogBorderTest, TheBorderWindowHitTestsTheDialogsFrame) {
    TacDialogWnd* d = ShowDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    ASSERT_NE(d, nullptr);
    auto* b = static_cast<TacSkinBorderForm*>(d->BorderForm);
    const HWND border = WindowOf(b);
    ASSERT_NE(border, nullptr);
    const RECT r = WindowRectOf(border);
    const RECT m = d->GetExtBorderMargins();
    const RECT& close = d->CloseButton.Rect;
    ASSERT_GT(close.right, close.left);
    const RECT icon = d->IconRect();
    const int captionY = r.top + m.top + d->CaptionHeight(true) / 2;
    struct Case {
        POINT at;
        int code;
    } cases[] = {
        {{r.left + (close.left + close.right) / 2, r.top + (close.top + close.bottom) / 2}, HTCLOSE},
        {{(r.left + r.right) / 2, captionY}, HTCAPTION},
        {{r.left + (icon.left + icon.right) / 2, r.top + (icon.top + icon.bottom) / 2}, HTSYSMENU},
        {{r.left + m.left + 1, (r.top + r.bottom) / 2}, HTLEFT},
        {{r.right - m.right - 1, (r.top + r.bottom) / 2}, HTRIGHT},
        {{(r.left + r.right) / 2, r.bottom - m.bottom - 1}, HTBOTTOM},
        {{r.right - m.right - 1, r.bottom - m.bottom - 1}, HTBOTTOMRIGHT},
    };
    for (const Case& c : cases) EXPECT_EQ(b->HitTest(c.at), c.code) << c.at.x << "," << c.at.y;
    EXPECT_TRUE(b->PointInMargin(POINT{r.left + m.left / 2, (r.top + r.bottom) / 2}, true));
    EXPECT_FALSE(b->PointInMargin(POINT{(r.left + r.right) / 2, captionY}, true));
}

// A message box's close button, clicked on the border window, closes the
// box; with it goes its border window, and no window is left behind.
TEST_F(DialogBorderTest, ClosingABoxFreesItsBorderWindow) {
    const int windowsBefore = ThreadWindows();
    HWND border = nullptr;
    bool clicked = false;
    std::function<void(int)> find = [&](int tries) {
        RunLater([&, tries] {
            HWND box = FindWindowA("#32770", "Bordered box");
            auto* d = box ? dynamic_cast<TacDialogWnd*>(FindAdapter(box)) : nullptr;
            border = d ? WindowOf(d->BorderForm) : nullptr;
            if (!border || !IsWindowVisible(border)) {
                if (tries > 0) find(tries - 1);
                return;
            }
            const RECT r = WindowRectOf(border);
            const RECT& close = d->CloseButton.Rect;
            clicked = kova::test::MouseClick(
                POINT{r.left + (close.left + close.right) / 2, r.top + (close.top + close.bottom) / 2});
            if (!clicked) PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
    };
    find(160);
    const int answer = ShowMsgBoxAt("Bordered box", "Text of the box", mtInformation, -1, -1, 0, mbOK | mbCancel);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(answer, mrCancel);
    ASSERT_NE(border, nullptr);
    kova::test::PumpMessages();
    EXPECT_FALSE(IsWindow(border));
    EXPECT_EQ(ThreadWindows(), windowsBefore);
}

}  // namespace kova::skin::test
