// The control-tree routines on real framework forms: measuring, ordering,
// and painting windowless children and hidden controls into bitmaps.
#include "skin/core/vclutils.h"

#include <gtest/gtest.h>

#include "common/win32_testing.h"

#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "skin/core/formimages.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinprobes.h"

namespace kova::skin {
namespace {

using test::ProbeGraphic;
using test::ProbePanel;
using test::TestSkin;

using VclUtilsTest = test::SkinnedFormTest<TForm, 70, 70, 300, 200>;

TEST_F(VclUtilsTest, AlignedControlsSize) {
    auto add = [&](TAlign a, int w, int h, bool windowed, bool visible = true) {
        TControl* c = windowed ? static_cast<TControl*>(new TPanel(form)) : new ProbeGraphic(form);
        c->SetParent(form);
        c->SetAlign(a);
        c->SetBounds(0, 0, w, h);
        c->SetVisible(visible);
    };
    add(alTop, 50, 10, true);
    add(alTop, 50, 20, true);
    add(alTop, 50, 40, true, false);
    add(alTop, 50, 5, false);
    add(alLeft, 7, 50, true);
    add(alClient, 30, 30, true);
    form->Realign();
    EXPECT_EQ(AlignedControlsSize(form, alTop, false), 30);
    EXPECT_EQ(AlignedControlsSize(form, alTop, true), 35);
    EXPECT_EQ(AlignedControlsSize(form, alLeft, true), 7);
    EXPECT_EQ(AlignedControlsSize(form, alBottom, true), 0);
    EXPECT_EQ(AlignedControlsSize(form, alClient, true), 0);
    EXPECT_EQ(AlignedControlsSize(form, alNone, true), 0);
}

TEST_F(VclUtilsTest, WindowsAndForms) {
    auto* outer = new TPanel(form);
    outer->SetParent(form);
    auto* inner = new TPanel(outer);
    inner->SetParent(outer);
    EXPECT_EQ(GetTopParentWindow(form->Handle()), form->Handle());
    EXPECT_EQ(GetTopParentWindow(inner->Handle()), form->Handle());
    EXPECT_EQ(GetParentCustomForm(inner), form);  // through the owners
    EXPECT_EQ(GetParentCustomForm(form), form);
    EXPECT_EQ(GetParentCustomForm(nullptr), nullptr);
    // The frame a control belongs to, through the owners too.
    auto* frame = new TCustomFrame(form);
    frame->SetParent(form);
    auto* onFrame = new TPanel(frame);
    onFrame->SetParent(frame);
    auto* deeper = new TPanel(onFrame);
    deeper->SetParent(onFrame);
    EXPECT_EQ(GetParentFrame(deeper), frame);
    EXPECT_EQ(GetParentFrame(frame), frame);
    EXPECT_EQ(GetParentFrame(inner), nullptr);
    EXPECT_EQ(GetParentFrame(nullptr), nullptr);
    EXPECT_EQ(GetParentCustomForm(deeper), form);
    // The client area sits below the caption inside the window.
    const RECT c = GetClientRectInWindow(form->Handle());
    RECT w{};
    GetWindowRect(form->Handle(), &w);
    EXPECT_GT(c.top, 0);
    EXPECT_LE(c.bottom, w.bottom - w.top);
    EXPECT_EQ(c.right - c.left, form->ClientWidth());
}

TEST_F(VclUtilsTest, CanPaintControl) {
    EXPECT_FALSE(CanPaintControl(nullptr));
    auto* p = new TPanel(form);
    EXPECT_FALSE(CanPaintControl(p));  // no parent
    p->SetParent(form);
    EXPECT_FALSE(CanPaintControl(p));  // no window yet
    p->HandleNeeded();
    EXPECT_TRUE(CanPaintControl(p));
    p->BeginLoading();
    EXPECT_FALSE(CanPaintControl(p));
    p->Loaded();
    EXPECT_TRUE(CanPaintControl(p));
    EXPECT_FALSE(CanPaintControl(form));  // a top-level form has no parent
}

TEST_F(VclUtilsTest, TextFlagsAndChildOrder) {
    EXPECT_EQ(AlignmentToTextFlags(form, taLeftJustify), UINT(DT_LEFT | DT_EXPANDTABS | DT_VCENTER));
    EXPECT_EQ(AlignmentToTextFlags(form, taRightJustify), UINT(DT_RIGHT | DT_EXPANDTABS | DT_VCENTER));
    EXPECT_EQ(AlignmentToTextFlags(form, taCenter), UINT(DT_CENTER | DT_EXPANDTABS | DT_VCENTER));
    TControl* c[4];
    for (auto*& x : c) {
        x = new ProbeGraphic(form);
        x->SetParent(form);
    }
    PlaceAfterInParent(form, c[3], c[0]);
    ASSERT_EQ(form->ControlCount(), 4);
    EXPECT_EQ(form->Controls(0), c[0]);
    EXPECT_EQ(form->Controls(1), c[3]);
    EXPECT_EQ(form->Controls(2), c[1]);
    EXPECT_EQ(form->Controls(3), c[2]);
}

TEST_F(VclUtilsTest, GraphicControlsThroughOneBuffer) {
    auto* parent = new ProbePanel(form);
    parent->SetParent(form);
    parent->SetBounds(0, 0, 60, 40);
    parent->P.Data.SetSkinSection("PANEL");
    auto* g = new ProbeGraphic(form);
    g->SetParent(parent);
    g->SetBounds(10, 10, 20, 10);
    auto* hidden = new ProbeGraphic(form);
    hidden->SetParent(parent);
    hidden->SetBounds(0, 0, 5, 5);
    hidden->Hide();

    TBitmap target(100, 100);
    HDC dc = target.Canvas()->Handle();
    PaintGraphicControls(dc, parent, false, POINT{5, 7});
    GdiFlush();
    EXPECT_EQ(g->P.CountMessage(WM_PAINT), 1);
    EXPECT_EQ(hidden->P.CountMessage(WM_PAINT), 0);
    EXPECT_EQ(target.Pixels().At(16, 18) & 0xFFFFFF, 0xFF0000u);  // the child's red at its place + offset
    EXPECT_EQ(target.Pixels().At(40, 40) & 0xFFFFFF, 0u);          // nothing beyond it

    // An empty clip box: nothing painted, the parent's cache incomplete.
    parent->P.Data.CacheIncomplete = false;
    HRGN empty = CreateRectRgn(0, 0, 0, 0);
    SelectClipRgn(dc, empty);
    DeleteObject(empty);
    PaintGraphicControls(dc, parent, false, POINT{0, 0});
    SelectClipRgn(dc, nullptr);
    EXPECT_EQ(g->P.CountMessage(WM_PAINT), 1);
    EXPECT_TRUE(parent->P.Data.CacheIncomplete);
    // Only while visible, when asked.
    parent->Hide();
    PaintGraphicControls(dc, parent, true, POINT{0, 0});
    EXPECT_EQ(g->P.CountMessage(WM_PAINT), 1);
}

TEST_F(VclUtilsTest, HiddenControlShowsItsParentsBackground) {
    auto* parent = new ProbePanel(form);
    parent->SetParent(form);
    parent->SetBounds(0, 0, 100, 100);
    parent->P.Data.SetSkinSection("PANEL");
    auto* child = new ProbePanel(form);
    child->SetParent(parent);
    child->SetBounds(10, 10, 20, 20);
    child->Hide();
    child->HandleNeeded();
    TBitmap bitmap(40, 40);
    CopyParentBackground(bitmap, child, 5, nullptr, 5);
    GdiFlush();
    EXPECT_EQ(bitmap.Pixels().At(5, 5) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(bitmap.Pixels().At(24, 24) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(bitmap.Pixels().At(25, 25) & 0xFFFFFF, 0u);
    EXPECT_EQ(bitmap.Pixels().At(4, 4) & 0xFFFFFF, 0u);
    EXPECT_EQ(child->P.CountMessage(WM_PRINT), 0);
}

// A form painted into a bitmap with what its framework children paint, not
// only their erased backgrounds: a panel's raised bevel and a windowless
// child of the panel.
TEST_F(VclUtilsTest, FormIsPaintedWithWhatItsChildrenPaint) {
    form->SetBorderStyle(bsNone);
    form->SetColor(0x202020);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(20, 30, 120, 80);
    panel->SetColor(0x404040);
    auto* g = new ProbeGraphic(form);
    g->SetParent(panel);
    g->SetBounds(40, 20, 30, 30);
    g->Fill = 0x0000FF;
    form->Show();
    kova::test::PumpFor(50);
    TBitmap bitmap(form->Width(), form->Height());
    CopyParentBackground(bitmap, form, 0, nullptr, 0);
    GdiFlush();
    const auto rgb = [&](int x, int y) { return bitmap.Pixels().At(x, y) & 0xFFFFFF; };
    EXPECT_EQ(rgb(5, 5), 0x202020u);                                             // the form
    EXPECT_EQ(rgb(20 + 60, 30 + 60), 0x404040u);                                 // the panel's face
    EXPECT_EQ(rgb(20, 30 + 40), 0xFFFFFFu);                                      // its raised bevel
    EXPECT_EQ(rgb(20 + 40 + 15, 30 + 20 + 15), 0xFF0000u);                       // the windowless child (red)
}

// A form with a caption and borders: its children are painted at their
// place in the client area, not moved up and left by the frame.
TEST_F(VclUtilsTest, ChildrenOfAFramedFormSitAtTheClientOffset) {
    form->SetBorderStyle(bsSizeable);
    form->SetColor(0x202020);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(20, 30, 60, 40);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(0x4080C0);
    auto* inner = new TPanel(form);
    inner->SetParent(panel);
    inner->SetBounds(10, 10, 20, 20);
    inner->SetBevelOuter(bvNone);
    inner->SetColor(0x00FF00);
    auto* deepest = new TPanel(form);
    deepest->SetParent(inner);
    deepest->SetBounds(2, 2, 6, 6);
    deepest->SetBevelOuter(bvNone);
    deepest->SetColor(0xFF0000);
    form->Show();
    // The inner panel gets a window border of its own.
    SetWindowLongPtrA(inner->Handle(), GWL_STYLE, GetWindowLongPtrA(inner->Handle(), GWL_STYLE) | WS_BORDER);
    SetWindowPos(inner->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    kova::test::PumpFor(50);
    const RECT client = GetClientRectInWindow(form->Handle());
    ASSERT_GT(client.top, 0);  // a caption
    ASSERT_GT(client.left, 0); // and borders
    TBitmap bitmap(form->Width(), form->Height());
    CopyParentBackground(bitmap, form, 0, nullptr, 0);
    GdiFlush();
    const auto rgb = [&](int x, int y) { return bitmap.Pixels().At(client.left + x, client.top + y) & 0xFFFFFF; };
    EXPECT_EQ(rgb(5, 5), 0x202020u);                      // the form's client area
    EXPECT_EQ(rgb(20, 30), 0xC08040u);                    // the panel's top-left pixel
    EXPECT_EQ(rgb(19, 29), 0x202020u);                    // just outside it
    EXPECT_EQ(rgb(20 + 59, 30 + 39), 0xC08040u);          // its bottom-right pixel
    // A child of a child with a border of its own: at that child's client offset.
    const RECT innerClient = GetClientRectInWindow(inner->Handle());
    ASSERT_GT(innerClient.left, 0);
    const int dx = 20 + 10 + innerClient.left, dy = 30 + 10 + innerClient.top;
    EXPECT_EQ(rgb(dx + 2, dy + 2), 0x0000FFu);            // the deepest panel (blue in RGB)
    EXPECT_EQ(rgb(dx + 7, dy + 7), 0x0000FFu);
    EXPECT_EQ(rgb(dx + 1, dy + 1), 0x00FF00u);            // the inner panel around it
}

// A page control painted into a bitmap: the shown sheet's children sit at
// the sheet's place inside the page control (below the tabs), and the
// children of a sheet that is not shown are not painted at all.
TEST_F(VclUtilsTest, ChildrenOfATabSheetSitAtTheSheetsPlaceInThePageControl) {
    form->SetBorderStyle(bsNone);
    form->SetColor(0x202020);
    auto* pages = new TPageControl(form);
    pages->SetParent(form);
    pages->SetBounds(10, 20, 200, 150);
    auto addSheet = [&](TColor childColor) {
        auto* sheet = new TTabSheet(form);
        sheet->SetPageControl(pages);
        auto* panel = new TPanel(form);
        panel->SetParent(sheet);
        panel->SetBounds(6, 8, 30, 20);
        panel->SetBevelOuter(bvNone);
        panel->SetColor(childColor);
        return sheet;
    };
    addSheet(0x00FF00);
    TTabSheet* shown = addSheet(0x4080C0);
    pages->SetActivePage(shown);
    form->Show();
    kova::test::PumpFor(50);
    ASSERT_GT(shown->Top(), 0);  // below the tabs
    const RECT display = pages->DisplayRect();
    EXPECT_EQ(shown->Left(), display.left);
    EXPECT_EQ(shown->Top(), display.top);
    // Then the sheet gets a border of its own: its children move in by it.
    for (bool border : {false, true}) {
        if (border) {
            SetWindowLongPtrA(shown->Handle(), GWL_STYLE, GetWindowLongPtrA(shown->Handle(), GWL_STYLE) | WS_BORDER);
            SetWindowPos(shown->Handle(), nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            kova::test::PumpFor(50);
        }
        const RECT inSheet = GetClientRectInWindow(shown->Handle());
        ASSERT_EQ(inSheet.left > 0, border);
        struct Case {
            TControl* painted;
            int x, y;  // where the sheet's client area lands in the bitmap
        };
        const Case cases[] = {
            {form, 10 + shown->Left() + inSheet.left, 20 + shown->Top() + inSheet.top},
            {pages, shown->Left() + inSheet.left, shown->Top() + inSheet.top},
            {shown, inSheet.left, inSheet.top},
        };
        for (const Case& c : cases) {
            TBitmap bitmap(form->Width(), form->Height());
            CopyParentBackground(bitmap, c.painted, 0, nullptr, 0);
            GdiFlush();
            const auto rgb = [&](int x, int y) { return bitmap.Pixels().At(c.x + x, c.y + y) & 0xFFFFFF; };
            const std::string what = c.painted->ClassName() + (border ? " (sheet with a border)" : "");
            EXPECT_EQ(rgb(6, 8), 0xC08040u) << what;            // the shown sheet's panel, top-left
            EXPECT_EQ(rgb(6 + 29, 8 + 19), 0xC08040u) << what;  // and bottom-right
            EXPECT_NE(rgb(5, 7), 0xC08040u) << what;            // the sheet around it
            EXPECT_NE(rgb(6 + 30, 8 + 20), 0xC08040u) << what;
            bool hiddenPainted = false;
            for (int y = 0; y < bitmap.Height(); ++y)
                for (int x = 0; x < bitmap.Width(); ++x)
                    hiddenPainted |= (bitmap.Pixels().At(x, y) & 0xFFFFFF) == 0x00FF00u;
            EXPECT_FALSE(hiddenPainted) << what << ": the hidden sheet's panel was painted";
        }
    }
}

}  // namespace
}  // namespace kova::skin
