// Subclassing windows the program did not make, and framework controls,
// with real windows: procedures that leave out of order, a procedure that
// leaves from inside WM_DESTROY, the edit inside a combo box, a handler
// that throws, and the live counts of each.
#include "framework/forms.h"
#include "framework/handles.h"
#include "framework/stdctrls.h"
#include "framework/subclass.h"
#include "reportedtexts.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace kova {
namespace {

constexpr UINT kProbe = WM_APP + 7;

// A plain native window whose own procedure writes down what reaches it.
std::vector<std::string>* g_seen = nullptr;

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (g_seen) {
        if (m == kProbe) g_seen->push_back("window");
        if (m == WM_DESTROY) g_seen->push_back("window destroy");
        if (m == WM_NCDESTROY) g_seen->push_back("window ncdestroy");
    }
    if (m == kProbe) return 7;
    return DefWindowProcA(h, m, w, l);
}

HWND MakePlainWindow() {
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KovaSubclassTestWindow";
        return RegisterClassExA(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowExA(0, "KovaSubclassTestWindow", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

long Subclasses() { return LiveHandles(THandleKind::Subclass); }

class Subclassing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Application(), nullptr);
        g_seen = &seen;
        subclasses = Subclasses();
    }
    void TearDown() override {
        g_seen = nullptr;
        EXPECT_EQ(Subclasses(), subclasses) << "a subclass was left counted";
    }
    // A handler that writes its name down and passes everything on.
    TWindowSubclass::THandler Named(const char* name, TWindowSubclass& self) {
        return [this, name, &self](TMessage& m) {
            if (m.Msg == kProbe) seen.push_back(name);
            self.CallPrevious(m);
        };
    }
    std::vector<std::string> seen;
    long subclasses = 0;
};

using Seen = std::vector<std::string>;

TEST_F(Subclassing, ProceduresLeaveANativeWindowInAnyOrder) {
    HWND h = MakePlainWindow();
    ASSERT_TRUE(h);
    const LONG_PTR own = GetWindowLongPtrA(h, GWLP_WNDPROC);
    TWindowSubclass first, second;
    ASSERT_TRUE(first.Attach(h, Named("first", first)));
    ASSERT_TRUE(second.Attach(h, Named("second", second)));
    EXPECT_EQ(Subclasses(), subclasses + 2);
    EXPECT_EQ(first.Window(), h);

    EXPECT_EQ(SendMessageA(h, kProbe, 0, 0), 7);
    EXPECT_EQ(seen, (Seen{"second", "first", "window"}));

    // The first one leaves while the second is chained over it.
    seen.clear();
    first.Detach();
    EXPECT_FALSE(first.Attached());
    EXPECT_EQ(Subclasses(), subclasses + 1);
    EXPECT_EQ(SendMessageA(h, kProbe, 0, 0), 7);
    EXPECT_EQ(seen, (Seen{"second", "window"}));

    seen.clear();
    second.Detach();
    second.Detach();  // a second time: nothing
    EXPECT_EQ(SendMessageA(h, kProbe, 0, 0), 7);
    EXPECT_EQ(seen, (Seen{"window"}));
    EXPECT_EQ(GetWindowLongPtrA(h, GWLP_WNDPROC), own) << "the window's own procedure is not back";
    DestroyWindow(h);
}

// The outer procedure takes the inner one out while a message runs
// through both: the message still reaches the window once, and the inner
// one is not called again.
TEST_F(Subclassing, AProcedureTakenOutWhileItsMessageRunsIsNotCalledAgain) {
    HWND h = MakePlainWindow();
    TWindowSubclass inner, outer;
    ASSERT_TRUE(inner.Attach(h, [&](TMessage& m) {
        if (m.Msg == kProbe) {
            seen.push_back("inner");
            // Taken out by itself, in the middle of its own message.
            inner.Detach();
        }
        inner.CallPrevious(m);
    }));
    ASSERT_TRUE(outer.Attach(h, Named("outer", outer)));
    EXPECT_EQ(SendMessageA(h, kProbe, 0, 0), 7);
    EXPECT_EQ(seen, (Seen{"outer", "inner", "window"}));
    seen.clear();
    EXPECT_EQ(SendMessageA(h, kProbe, 0, 0), 7);
    EXPECT_EQ(seen, (Seen{"outer", "window"}));
    DestroyWindow(h);
}

// A handler that detaches itself in WM_DESTROY and lets its owner free it
// there: the window's own procedure still gets WM_DESTROY and
// WM_NCDESTROY once each, and what the handler holds lives until its call
// is done.
TEST_F(Subclassing, AProcedureFreedFromInsideWMDestroyLeavesTheChainSound) {
    HWND h = MakePlainWindow();
    auto sub = std::make_unique<TWindowSubclass>();
    auto token = std::make_shared<int>(0);
    std::weak_ptr<int> watch = token;
    bool aliveAfterFree = false;
    ASSERT_TRUE(sub->Attach(h, [&, token](TMessage& m) {
        if (m.Msg != WM_DESTROY) {
            sub->CallPrevious(m);
            return;
        }
        seen.push_back("handler destroy");
        sub->Detach();
        sub->CallPrevious(m);  // passed on after leaving: still the procedure below
        sub.reset();
        aliveAfterFree = !watch.expired();
    }));
    token.reset();
    DestroyWindow(h);
    EXPECT_EQ(seen, (Seen{"handler destroy", "window destroy", "window ncdestroy"}));
    EXPECT_TRUE(aliveAfterFree) << "the handler's data went while it ran";
    EXPECT_TRUE(watch.expired()) << "the handler's data outlived the window";
}

// A subclass left attached ends with the window: WM_NCDESTROY is passed on
// even by a handler that swallows everything, and the count goes down.
TEST_F(Subclassing, ANativeSubclassEndsWithItsWindow) {
    HWND h = MakePlainWindow();
    TWindowSubclass sub;
    ASSERT_TRUE(sub.Attach(h, [](TMessage& m) { m.Result = 0; }));
    EXPECT_EQ(SendMessageA(h, kProbe, 0, 0), 0);
    EXPECT_EQ(Subclasses(), subclasses + 1);
    DestroyWindow(h);
    EXPECT_EQ(seen, (Seen{"window ncdestroy"}));
    EXPECT_FALSE(sub.Attached());
    EXPECT_EQ(Subclasses(), subclasses);
    sub.Detach();  // the window is gone: nothing to do
    // A window that does not exist cannot be subclassed.
    EXPECT_FALSE(sub.Attach(h, [](TMessage&) {}));
    EXPECT_EQ(Subclasses(), subclasses);
}

// Somebody replaces the procedure over the chain by hand after we joined
// it: leaving must not put comctl32's original back over theirs.
LONG_PTR g_below = 0;
LRESULT CALLBACK HandMadeProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == kProbe && g_seen) g_seen->push_back("by hand");
    return CallWindowProcA(reinterpret_cast<WNDPROC>(g_below), h, m, w, l);
}

TEST_F(Subclassing, AProcedureReplacedByHandOverTheChainStays) {
    HWND h = MakePlainWindow();
    TWindowSubclass sub;
    ASSERT_TRUE(sub.Attach(h, Named("chained", sub)));
    g_below = SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HandMadeProc));
    sub.Detach();
    EXPECT_EQ(Subclasses(), subclasses);
    EXPECT_EQ(GetWindowLongPtrA(h, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(HandMadeProc));
    EXPECT_EQ(SendMessageA(h, kProbe, 0, 0), 7);
    EXPECT_EQ(seen, (Seen{"by hand", "window"}));
    DestroyWindow(h);
}

// The edit inside a combo box is a window the combo box made: typed
// characters pass through our procedure, which can change them, and the
// subclass goes with the combo box.
TEST_F(Subclassing, TheEditInsideAComboBox) {
    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_POPUP | CBS_DROPDOWN, 0, 0, 120, 200, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(combo);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    HWND edit = info.hwndItem;
    ASSERT_TRUE(edit);
    TWindowSubclass upper;
    ASSERT_TRUE(upper.Attach(edit, [&](TMessage& m) {
        if (m.Msg == WM_CHAR && m.WParam >= 'a' && m.WParam <= 'z') m.WParam -= 'a' - 'A';
        upper.CallPrevious(m);
    }));
    for (char c : std::string("ab1")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 1);
    char text[16] = {};
    GetWindowTextA(combo, text, sizeof text);
    EXPECT_STREQ(text, "AB1");
    EXPECT_EQ(Subclasses(), subclasses + 1);
    DestroyWindow(combo);
    EXPECT_FALSE(upper.Attached());
}

// A handler that throws: the exception stops at the framework's barrier
// (and is reported), the window answers and goes on working.
TEST_F(Subclassing, AThrowingHandlerEndsAtTheExceptionBarrier) {
    TReportedTexts reports;
    std::vector<std::string>& reported = reports.Texts;
    HWND h = MakePlainWindow();
    TWindowSubclass sub;
    bool fail = true;
    ASSERT_TRUE(sub.Attach(h, [&](TMessage& m) {
        if (m.Msg == kProbe && fail) throw std::runtime_error("handler failed");
        sub.CallPrevious(m);
    }));
    EXPECT_EQ(SendMessageA(h, kProbe, 0, 0), 0);
    EXPECT_EQ(reported, (std::vector<std::string>{"handler failed"}));
    fail = false;
    EXPECT_EQ(SendMessageA(h, kProbe, 0, 0), 7);
    DestroyWindow(h);
}

// ---- framework controls ---------------------------------------------------------

// On a framework control the chain is its WindowProc: Perform'd messages
// pass too, procedures leave in any order, and what is chained over a
// procedure that left stays in place.
TEST_F(Subclassing, ProceduresLeaveAFrameworkControlInAnyOrder) {
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* e = new TEdit(f);
    e->SetParent(f);
    TWindowSubclass first, second;
    ASSERT_TRUE(first.Attach(e, Named("first", first)));
    ASSERT_TRUE(second.Attach(e, Named("second", second)));
    EXPECT_EQ(first.Control(), e);
    EXPECT_EQ(Subclasses(), subclasses + 2);
    // Written over both by hand, in the framework's own way.
    TWndMethod below = e->WindowProc;
    e->WindowProc = [&, below](TMessage& m) {
        if (m.Msg == kProbe) seen.push_back("by hand");
        below(m);
    };
    e->Perform(kProbe);
    SendMessageA(e->Handle(), kProbe, 0, 0);
    EXPECT_EQ(seen, (Seen{"by hand", "second", "first", "by hand", "second", "first"}));

    seen.clear();
    first.Detach();
    second.Detach();
    EXPECT_EQ(Subclasses(), subclasses);
    e->Perform(kProbe);
    EXPECT_EQ(seen, (Seen{"by hand"})) << "the procedure chained over them was dropped";
    // Back to the control's own procedure once the hand-made one goes too:
    // the two that left are not in the chain any more.
    e->WindowProc = below;
    seen.clear();
    ASSERT_TRUE(first.Attach(e, Named("first", first)));
    e->Perform(kProbe);
    first.Detach();
    e->Perform(kProbe);
    EXPECT_EQ(seen, (Seen{"first"}));
    f->Free();
}

// A control subclass lives through a re-created window and ends, counted,
// when the control is destroyed; detaching afterwards touches nothing.
TEST_F(Subclassing, AControlSubclassOutlivesItsWindowAndEndsWithTheControl) {
    auto* f = TCustomForm::Create<TForm>(Application());
    TWindowSubclass sub;
    int creates = 0;
    ASSERT_TRUE(sub.Attach(f, [&](TMessage& m) {
        if (m.Msg == WM_CREATE) ++creates;
        sub.CallPrevious(m);
    }));
    f->HandleNeeded();
    f->RecreateWnd();
    f->HandleNeeded();
    EXPECT_EQ(creates, 2);
    EXPECT_TRUE(sub.Attached());
    f->Free();
    EXPECT_FALSE(sub.Attached());
    EXPECT_EQ(Subclasses(), subclasses);
    sub.Detach();
}

}  // namespace
}  // namespace kova
