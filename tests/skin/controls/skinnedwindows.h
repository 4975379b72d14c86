// What the adapter tests on the tab test skin share: a shown top-level
// host window for the controls, the skin manager with the skin loaded,
// flat handle counts and a window's pixels as WM_PRINT paints them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "../core/handlecheck.h"
#include "common/testdata.h"
#include "common/win32_testing.h"
#include "framework/forms.h"
#include "skin/controls/adapters.h"
#include "skin/core/commondata.h"
#include "skin/core/skinmanager.h"

namespace kova::skin::test {

class TPrinted {
public:
    explicit TPrinted(HWND wnd) {
        RECT r{};
        GetWindowRect(wnd, &r);
        w_ = std::max<int>(r.right - r.left, 1);
        h_ = std::max<int>(r.bottom - r.top, 1);
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bmp_ = CreateCompatibleBitmap(screen, w_, h_);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bmp_);
        RECT all{0, 0, w_, h_};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SendMessageA(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
    }
    ~TPrinted() {
        SelectObject(dc_, old_);
        DeleteObject(bmp_);
        DeleteDC(dc_);
    }
    TPrinted(const TPrinted&) = delete;
    TPrinted& operator=(const TPrinted&) = delete;
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y) & 0xFFFFFF; }
    // The box of the pixels of one colour inside r.
    RECT BoxOf(COLORREF c, const RECT& r) const {
        RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) == c) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }
    int Count(COLORREF c, const RECT& r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) == c;
        return n;
    }

private:
    int w_ = 0, h_ = 0;
    HDC dc_ = nullptr;
    HBITMAP bmp_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

class SkinnedWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES |
                                                 ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        handles_ = LiveHandleCounts();
        manager = new TsSkinManager(nullptr);
        manager->Model().LoadFolder(kova::test::SourcePath("tests/skin/fixtures/tabskin"));
        ASSERT_GT(manager->Model().ConstData().Tabs[0].Section, 0);
        // The host never takes the activation: a test that shows a form of
        // its own would otherwise have two windows activated moments apart,
        // and under Wine the display's late focus report for each then
        // activates the other, back and forth without end (each change
        // brings a mouse move, so the message queue is never empty).
        host = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, "STATIC", "host", WS_POPUP, 60, 60, 420, 320,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host, nullptr);
        ShowWindow(host, SW_SHOWNOACTIVATE);
    }
    void TearDown() override {
        adapter.reset();
        if (IsWindow(wnd)) DestroyWindow(wnd);
        DestroyWindow(host);
        kova::test::PumpMessages();
        manager->Free();
        EXPECT_EQ(TransientHandlesChanged(handles_), "");
    }
    // A framework form at (80, 80), w x h, not shown yet.
    static TForm* NewForm(int w, int h) {
        TForm* form = TCustomForm::Create<TForm>(Application());
        form->SetBounds(80, 80, w, h);
        return form;
    }
    // A control of class C on the form at (8, 8), w x h.
    template <class C>
    static C* PlaceOn(TForm* form, int w, int h) {
        auto* c = new C(form);
        c->SetParent(form);
        c->SetBounds(8, 8, w, h);
        return c;
    }
    // A control's record on the test skin in the given section.
    void UseSection(TsCommonData& data, const char* section) const {
        data.SetSkinManager(manager);
        data.SetSkinSection(section);
        data.ReadSkinIndexes();
    }
    THandleCounts handles_{};
    TsSkinManager* manager = nullptr;
    HWND host = nullptr;
    HWND wnd = nullptr;
    std::unique_ptr<TacMainWnd> adapter;
};

}  // namespace kova::skin::test
