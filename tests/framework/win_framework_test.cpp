#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/filestreams.h"
#include "framework/grids.h"
#include "framework/portable/formtext.h"
#include "framework/portable/stringlist.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "framework/windowtext.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kova {
namespace {

// Pumps messages until pred holds or the time is up.
template <class Pred>
bool PumpUntil(Pred pred, DWORD ms = 3000) {
    DWORD start = GetTickCount();
    while (!pred()) {
        Application()->ProcessMessages();
        if (GetTickCount() - start > ms) return false;
        Sleep(5);
    }
    return true;
}

// Any box that a test did not expect fails the test instead of waiting.
class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDialogResponder([this](const TDialogRequest& r) {
            asked.push_back(r);
            TDialogAnswer a;
            a.result = nextResult;
            a.fileName = nextFile;
            a.color = nextColor;
            return a;
        });
    }
    void TearDown() override { SetDialogResponder(nullptr); }
    std::vector<TDialogRequest> asked;
    int nextResult = mrCancel;
    std::string nextFile;
    TColor nextColor = clBlack;
};

class TKOVAForm1 : public TForm {
    KOVA_CLASS(TKOVAForm1, TForm)
public:
    explicit TKOVAForm1(TComponent* owner) : TForm(owner) {
        BindField("Edit1", Edit1);
        BindField("Button1", Button1);
        BindField("Label1", Label1);
        RegisterMethod("FormCreate", TNotifyEvent([this](TObject*) { log.push_back("FormCreate"); }));
        RegisterMethod("Button1Click", TNotifyEvent([this](TObject*) { log.push_back("Button1Click"); }));
        RegisterMethod("Edit1Change", TNotifyEvent([this](TObject*) { log.push_back("Edit1Change"); }));
        BindMessage(WM_HOTKEY, [this](TMessage& m) {
            log.push_back("WM_HOTKEY " + std::to_string(m.WParam));
            m.Result = 1;
        });
    }
    TEdit* Edit1 = nullptr;
    TButton* Button1 = nullptr;
    TLabel* Label1 = nullptr;
    std::vector<std::string> log;
};

TEST_F(FrameworkTest, MainFormRegistersItsClassNameAndReadsItsDescription) {
    auto* f = TCustomForm::Create<TKOVAForm1>(Application());
    ASSERT_NE(f->Edit1, nullptr);
    EXPECT_EQ(f->log, (std::vector<std::string>{"FormCreate"}));
    EXPECT_EQ(f->Caption(), "KOVA  v3.26c");
    f->Show();
    EXPECT_EQ(FindWindowA("TKOVAForm1", nullptr), f->Handle());
    char cls[64] = {};
    GetClassNameA(f->Edit1->Handle(), cls, sizeof cls);
    EXPECT_STREQ(cls, "TEdit");
    EXPECT_EQ(f->Edit1->ClassName(), "TEdit");
    EXPECT_TRUE(f->Edit1->InheritsFrom("TWinControl"));
    EXPECT_TRUE(f->Label1->Is<TGraphicControl>());
    EXPECT_EQ(f->Label1->Font()->Style(), fsBold);
    EXPECT_EQ(f->Edit1->Text(), "start");
    // Events bound by handler name, messages by number.
    SendMessageA(f->Button1->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(f->log.back(), "Button1Click");
    SetWindowTextA(f->Edit1->Handle(), "typed");
    EXPECT_EQ(f->log.back(), "Edit1Change");
    EXPECT_EQ(f->Edit1->Text(), "typed");
    EXPECT_EQ(SendMessageA(f->Handle(), WM_HOTKEY, 7, 0), 1);
    EXPECT_EQ(f->log.back(), "WM_HOTKEY 7");
    f->Free();
    EXPECT_EQ(FindWindowA("TKOVAForm1", nullptr), nullptr);
}

// The program reads descriptions leniently (the stray "Missing" above is
// skipped); tests can read them strictly, and then it fails the form.
TEST_F(FrameworkTest, FormFollowsTheDefaultReadingMode) {
    const int forms = Screen()->FormCount();
    SetDefaultFormReadMode(TFormReadMode::Strict);
    try {
        TCustomForm::Create<TKOVAForm1>(Application());
        ADD_FAILURE() << "a stray property passed strict reading";
    } catch (const EFormReadError& e) {
        EXPECT_NE(std::string(e.what()).find("TLabel has no property Missing"), std::string::npos) << e.what();
    }
    SetDefaultFormReadMode(TFormReadMode::Lenient);
    EXPECT_EQ(Screen()->FormCount(), forms);  // the failed form is gone
    EXPECT_EQ(FindWindowA("TKOVAForm1", nullptr), nullptr);
}

// A form whose code binds fields, but whose description never reached the
// executable (no resource of its name), is refused at creation rather than
// handed out with empty fields.
class TNoTextForm : public TForm {
    KOVA_CLASS(TNoTextForm, TForm)
public:
    explicit TNoTextForm(TComponent* owner) : TForm(owner) { BindField("Edit1", Edit1); }
    TEdit* Edit1 = nullptr;
};

TEST_F(FrameworkTest, FormWithFieldsButNoDescriptionIsRefused) {
    const int forms = Screen()->FormCount();
    try {
        TCustomForm::Create<TNoTextForm>(Application());
        ADD_FAILURE() << "created without its description";
    } catch (const EFormReadError& e) {
        EXPECT_NE(std::string(e.what()).find("TNoTextForm has no description"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Screen()->FormCount(), forms);
}

// The same for a frame: refused at creation, and nothing of it is left on
// its owner.
class TNoTextFrame : public TFrame {
    KOVA_CLASS(TNoTextFrame, TFrame)
public:
    explicit TNoTextFrame(TComponent* owner) : TFrame(owner) { BindField("Edit1", Edit1); }
    TEdit* Edit1 = nullptr;
};

TEST_F(FrameworkTest, FrameWithFieldsButNoDescriptionIsRefused) {
    TForm* form = TCustomForm::Create<TForm>(Application());
    try {
        TCustomFrame::Create<TNoTextFrame>(form);
        ADD_FAILURE() << "created without its description";
    } catch (const EFormReadError& e) {
        EXPECT_NE(std::string(e.what()).find("The frame TNoTextFrame has no description"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(form->ComponentCount(), 0);
    form->Free();
}

// A form that records the first messages its WindowProc sees.
class TProbeForm : public TForm {
    KOVA_CLASS(TProbeForm, TForm)
public:
    explicit TProbeForm(TComponent* owner) : TForm(owner) {
        auto inner = WindowProc;
        WindowProc = [this, inner](TMessage& m) {
            seen.push_back(m.Msg);
            inner(m);
        };
    }
    std::vector<UINT> seen;
};

TEST_F(FrameworkTest, FirstWindowMessagesReachWindowProc) {
    auto* f = TCustomForm::Create<TProbeForm>(Application());
    f->HandleNeeded();
    auto has = [&](UINT msg) { return std::find(f->seen.begin(), f->seen.end(), msg) != f->seen.end(); };
    EXPECT_TRUE(has(WM_GETMINMAXINFO));
    EXPECT_TRUE(has(WM_NCCREATE));
    EXPECT_TRUE(has(WM_CREATE));
    EXPECT_EQ(f->seen.front(), static_cast<UINT>(WM_GETMINMAXINFO));
    f->Free();
}

TEST_F(FrameworkTest, ApplicationWindowHooksSeeMessagesFirstUntilRemoved) {
    TApplication* app = Application();
    std::vector<std::string> seen;
    int a = 0, b = 0;
    app->HookMainWindow(&a, [&](TMessage& m) {
        if (m.Msg != WM_APP + 7) return false;
        seen.push_back("a");
        return false;  // not handled: the next hook sees it
    });
    app->HookMainWindow(&b, [&](TMessage& m) {
        if (m.Msg != WM_APP + 7) return false;
        seen.push_back("b");
        m.Result = 42;
        return true;
    });
    EXPECT_EQ(SendMessageA(app->Handle(), WM_APP + 7, 0, 0), 42);
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b"}));
    app->UnhookMainWindow(&b);
    EXPECT_EQ(SendMessageA(app->Handle(), WM_APP + 7, 0, 0), 0) << "back to the window's own handling";
    app->UnhookMainWindow(&a);
    seen.clear();
    SendMessageA(app->Handle(), WM_APP + 7, 0, 0);
    EXPECT_TRUE(seen.empty());
}

TEST_F(FrameworkTest, WindowProcChainsAndRestoresInOrder) {
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* e = new TEdit(f);
    e->SetParent(f);
    std::vector<std::string> order;
    TWndMethod original = e->WindowProc;
    TWndMethod first = [&, original](TMessage& m) {
        if (m.Msg == CM_MOUSEENTER) order.push_back("first");
        original(m);
    };
    e->WindowProc = first;
    TWndMethod saved = e->WindowProc;
    e->WindowProc = [&, saved](TMessage& m) {
        if (m.Msg == CM_MOUSEENTER) order.push_back("second");
        saved(m);
    };
    e->Perform(CM_MOUSEENTER);
    EXPECT_EQ(order, (std::vector<std::string>{"second", "first"}));
    // Restoring the outer hook leaves the inner one working.
    e->WindowProc = saved;
    order.clear();
    e->Perform(CM_MOUSEENTER);
    EXPECT_EQ(order, (std::vector<std::string>{"first"}));
    e->WindowProc = original;
    order.clear();
    SendMessageA(e->Handle(), CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(order.empty());
    // The real window still works through the restored procedure.
    e->SetText("after");
    EXPECT_EQ(e->Text(), "after");
    f->Free();
}

TEST_F(FrameworkTest, NotificationsAndReflectedCommandsReachWindowProc) {
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* g = new TGroupBox(f);
    g->SetParent(f);
    auto* b = new TButton(f);
    b->SetParent(g);
    auto* l = new TLabel(f);
    l->SetParent(g);
    l->SetBounds(100, 60, 30, 15);
    f->Show();
    std::vector<UINT> seenB, seenL;
    auto hook = [](TControl* c, std::vector<UINT>& seen) {
        TWndMethod inner = c->WindowProc;
        c->WindowProc = [inner, &seen](TMessage& m) {
            if (m.Msg >= CM_BASE && m.Msg < CN_BASE + 0x400) seen.push_back(m.Msg);
            inner(m);
        };
    };
    hook(b, seenB);
    hook(l, seenL);
    g->SetEnabled(false);  // reaches the children
    EXPECT_FALSE(IsWindowEnabled(b->Handle()));
    EXPECT_TRUE(b->Enabled());
    EXPECT_FALSE(b->EffectiveEnabled());
    EXPECT_NE(std::find(seenB.begin(), seenB.end(), CM_ENABLEDCHANGED), seenB.end());
    EXPECT_NE(std::find(seenL.begin(), seenL.end(), CM_ENABLEDCHANGED), seenL.end());
    g->SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(b->Handle()));
    seenB.clear();
    b->SetVisible(false);
    b->SetVisible(true);
    b->Font()->SetSize(12);
    b->SetColor(clRed);
    b->SetCaption("New");
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    SendMessageA(b->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    for (UINT msg : {CM_VISIBLECHANGED, CM_SHOWINGCHANGED, CM_FONTCHANGED, CM_COLORCHANGED, CM_TEXTCHANGED, CN_COMMAND})
        EXPECT_NE(std::find(seenB.begin(), seenB.end(), msg), seenB.end()) << std::hex << msg;
    EXPECT_EQ(CM_ENABLEDCHANGED, 0xB00Cu);
    EXPECT_EQ(CM_VISIBLECHANGED, 0xB00Bu);
    EXPECT_EQ(CM_MOUSEENTER, 0xB013u);
    EXPECT_EQ(CM_MOUSELEAVE, 0xB014u);
    EXPECT_EQ(CM_SHOWINGCHANGED, 0xB019u);
    // A graphic control gets mouse enter / leave through its parent.
    seenL.clear();
    SendMessageA(g->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(l->Left() + 1, l->Top() + 1));
    SendMessageA(g->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 95));
    EXPECT_EQ(seenL, (std::vector<UINT>{CM_MOUSEENTER, CM_MOUSELEAVE}));
    f->Free();
}

class TPaintProbe : public TGraphicControl {
    KOVA_CLASS(TPaintProbe, TGraphicControl)
public:
    using TGraphicControl::TGraphicControl;
    std::vector<WPARAM> dcs;

protected:
    void HandleMessage(TMessage& m) override {
        if (m.Msg == WM_PAINT) dcs.push_back(m.WParam);
        TGraphicControl::HandleMessage(m);
    }
    void Paint() override {
        Canvas()->Brush()->SetColor(clRed);
        RECT r = ClientRect();
        Canvas()->FillRect(r);
    }
};

TEST_F(FrameworkTest, GraphicControlsArePaintedByTheParentWithTheDC) {
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* p = new TPaintProbe(f);
    p->SetBounds(10, 10, 20, 20);
    p->SetParent(f);
    f->Show();
    COLORREF px = CLR_INVALID;
    {
        TWindowDC dc(f->Handle());
        SendMessageA(f->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc.Get()), 0);
        px = GetPixel(dc.Get(), 15, 15);
    }
    ASSERT_FALSE(p->dcs.empty());
    EXPECT_NE(p->dcs.back(), 0u);
    EXPECT_EQ(px, RGB(255, 0, 0));
    f->Free();
}

TEST_F(FrameworkTest, PropertiesByNameOnControls) {
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* c = new TComboBox(f);
    c->SetParent(f);
    EXPECT_TRUE(SetOrdProp(c, "Left", 33));
    EXPECT_EQ(c->Left(), 33);
    EXPECT_TRUE(SetOrdProp(c, "Color", clYellow));
    EXPECT_EQ(c->Color(), clYellow);
    EXPECT_TRUE(SetEnumProp(c, "Style", "csDropDownList"));
    EXPECT_EQ(c->Style(), csDropDownList);
    EXPECT_TRUE(SetSetProp(c, "Font.Style", "[fsBold,fsItalic]"));
    EXPECT_EQ(c->Font()->Style(), static_cast<TFontStyles>(fsBold | fsItalic));
    EXPECT_EQ(GetObjectProp(c, "Font"), c->Font());
    EXPECT_FALSE(IsMethodAssigned(c, "OnChange"));
    c->OnChange = [](TObject*) {};
    EXPECT_TRUE(IsMethodAssigned(c, "OnChange"));
    EXPECT_FALSE(SetOrdProp(c, "NoSuchProperty", 1));
    EXPECT_FALSE(IsPublishedProp(c, "NoSuchProperty"));
    EXPECT_EQ(GetStrProp(c, "NoSuchProperty"), "");
    f->Free();
}

TEST_F(FrameworkTest, MessageBoxesAndDialogsGoThroughTheSeam) {
    nextResult = mrYes;
    EXPECT_EQ(MessageDlg("Delete \"Room\"?", mtConfirmation, mbYesNo), mrYes);
    nextResult = mrCancel;
    EXPECT_EQ(MessageDlg("Save?", mtConfirmation, mbYesNoCancel), mrCancel);
    ShowMessage("Please Create New Config first!");
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].buttons, mbYesNo);
    EXPECT_EQ(asked[1].buttons, mbYesNoCancel);
    EXPECT_EQ(asked[2].text, "Please Create New Config first!");
    EXPECT_EQ(asked[2].buttons, static_cast<std::uint32_t>(mbOK));

    TSaveDialog save(nullptr);
    save.Filter = "Ini files|*.ini";
    nextResult = mrOk;
    nextFile = "C:\\layout.ini";
    EXPECT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName, "C:\\layout.ini");
    EXPECT_EQ(asked.back().kind, TDialogKind::Save);
    TColorDialog color(nullptr);
    nextColor = clLime;
    EXPECT_TRUE(color.Execute());
    EXPECT_EQ(color.Color(), clLime);
    nextResult = mrCancel;
    std::string dir = "unchanged";
    EXPECT_FALSE(SelectDirectory("Choose Directory for Ongame HH", dir));
    EXPECT_EQ(dir, "unchanged");

    auto* f = TCustomForm::Create<TForm>(Application());
    nextResult = mrOk;
    EXPECT_EQ(f->ShowModal(), mrOk);
    EXPECT_EQ(asked.back().form, f);
    f->Free();
}

TEST_F(FrameworkTest, RealModalLoopEndsOnModalResult) {
    SetDialogResponder([](const TDialogRequest& r) {
        TDialogAnswer a;
        a.handled = r.kind != TDialogKind::ModalForm;  // run the real loop
        return a;
    });
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* ok = new TButton(f);
    ok->SetParent(f);
    ok->SetModalResult(mrOk);
    f->OnShow = [ok](TObject*) { PostMessageA(ok->Handle(), BM_CLICK, 0, 0); };
    EXPECT_EQ(f->ShowModal(), mrOk);
    EXPECT_FALSE(f->Showing());
    f->Free();
}

TEST_F(FrameworkTest, TimerTicksAndIntervalChangesWhileRunning) {
    TTimer t(nullptr);
    int ticks = 0;
    t.SetInterval(20);
    t.OnTimer = [&](TObject*) { ++ticks; };
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
    t.SetInterval(10);
    int before = ticks;
    EXPECT_TRUE(PumpUntil([&] { return ticks >= before + 3; }));
    t.SetEnabled(false);
    int stopped = ticks;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 100) {
        Application()->ProcessMessages();
        Sleep(5);
    }
    EXPECT_EQ(ticks, stopped);
}

TEST_F(FrameworkTest, ListsMemoCapAndCheckListBox) {
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* m = new TMemo(f);
    m->SetParent(f);
    m->SetMaxLines(3);
    for (int i = 0; i < 5; ++i) m->AppendLine("line " + std::to_string(i));
    EXPECT_EQ(m->Lines()->ToVector(), (std::vector<std::string>{"line 2", "line 3", "line 4"}));
    char buf[256] = {};
    GetWindowTextA(m->Handle(), buf, sizeof buf);
    EXPECT_STREQ(buf, "line 2\r\nline 3\r\nline 4");

    auto* c = new TCheckListBox(f);
    c->SetParent(f);
    c->Items()->Add("a");
    c->Items()->Add("b");
    c->SetChecked(0, true);  // set before the window exists: kept
    int checks = 0;
    c->OnClickCheck = [&](TObject*) { ++checks; };
    f->Show();
    SendMessageA(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, c->ItemHeight() + 3));
    SendMessageA(c->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, c->ItemHeight() + 3));
    EXPECT_TRUE(c->Checked(1));
    EXPECT_TRUE(c->Checked(0));
    EXPECT_EQ(checks, 1);

    auto* cb = new TComboBox(f);
    cb->SetParent(f);
    cb->Items()->Assign({"x", "y"});
    int selects = 0;
    cb->OnSelect = [&](TObject*) { ++selects; };
    SendMessageA(cb->Handle(), CB_SETCURSEL, 1, 0);
    SendMessageA(f->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(cb->Handle()), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(cb->Handle()));
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(cb->ItemIndex(), 1);
    EXPECT_EQ(cb->Text(), "y");
    f->Free();
}

TEST_F(FrameworkTest, ScrollBoxTakesRowsAtRunTime) {
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* sb = new TScrollBox(f);
    sb->SetParent(f);
    sb->SetBounds(0, 0, 200, 100);
    f->Show();
    for (int i = 0; i < 10; ++i) {
        auto* e = new TEdit(f);
        e->SetParent(sb);
        e->SetBounds(4, 4 + i * 24, 100, 21);
    }
    EXPECT_TRUE(GetWindowLongPtrA(sb->Handle(), GWL_STYLE) & WS_VSCROLL);
    SendMessageA(sb->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(sb->VertScrollPos(), 16);
    EXPECT_EQ(sb->Controls(0)->Top(), 4 - 16);
    f->Free();
}

// Rows added under a hold leave the scroll range as it was until the last
// hold goes, which sets it once for all of them.
TEST_F(FrameworkTest, ScrollBoxRangeIsSetOnceWhenTheLastHoldGoes) {
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* sb = new TScrollBox(f);
    sb->SetParent(f);
    sb->SetBounds(0, 0, 200, 100);
    f->Show();
    const auto range = [&] {
        SCROLLINFO si{sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
        GetScrollInfo(sb->Handle(), SB_VERT, &si);
        return si.nMax;
    };
    {
        TScrollingWinControl::TAutoRangeHold outer(*sb);
        {
            TScrollingWinControl::TAutoRangeHold inner(*sb);
            for (int i = 0; i < 10; ++i) {
                auto* e = new TEdit(f);
                e->SetParent(sb);
                e->SetBounds(4, 4 + i * 24, 100, 21);
            }
            sb->UpdateScrollBars();
        }
        EXPECT_EQ(range(), 0) << "an outer hold still lives";
        EXPECT_FALSE(GetWindowLongPtrA(sb->Handle(), GWL_STYLE) & WS_VSCROLL);
    }
    EXPECT_EQ(range(), 4 + 9 * 24 + 21 - 1);
    EXPECT_TRUE(GetWindowLongPtrA(sb->Handle(), GWL_STYLE) & WS_VSCROLL);
    f->Free();
}

TEST_F(FrameworkTest, BitmapPixelsAfterCanvasDrawingAndBmpRoundTrip) {
    TBitmap b(8, 6);
    b.Canvas()->Brush()->SetColor(clBlue);
    b.Canvas()->FillRect(RECT{0, 0, 8, 6});
    b.Canvas()->Pen()->SetColor(clRed);
    b.Canvas()->MoveTo(0, 2);
    b.Canvas()->LineTo(8, 2);
    EXPECT_EQ(b.Pixels().At(3, 0) & 0xFFFFFF, 0x0000FFu);  // blue: B in the low byte
    EXPECT_EQ(b.Pixels().At(3, 2) & 0xFFFFFF, 0xFF0000u);  // red
    EXPECT_EQ(b.Canvas()->Pixel(3, 2), clRed);
    b.ScanLine(5)[7] = 0x80112233;
    TMemoryStream m;
    b.SaveToStream(m);
    m.SetPosition(0);
    TBitmap c;
    c.LoadFromStream(m);
    EXPECT_EQ(c.Width(), 8);
    EXPECT_EQ(c.Height(), 6);
    EXPECT_EQ(c.Pixels().At(7, 5), 0x80112233u);
    EXPECT_EQ(c.Pixels().At(3, 2) & 0xFFFFFF, 0xFF0000u);
    // A truncated file is refused, not read past its end.
    std::vector<std::uint8_t> cut(m.Bytes().begin(), m.Bytes().begin() + 80);
    TMemoryStream bad(cut);
    EXPECT_THROW(c.LoadFromStream(bad), EInvalidGraphic);
    SIZE ext = b.Canvas()->TextExtent("Hello");
    EXPECT_GT(ext.cx, 0);
}

// A picture format of another unit: two bytes "KV" and a 1 x 1 picture.
class TTestGraphic : public TGraphic {
    KOVA_CLASS(TTestGraphic, TGraphic)
public:
    int Width() const override { return loaded ? 1 : 0; }
    int Height() const override { return loaded ? 1 : 0; }
    void Draw(TCanvas*, const RECT&) override {}
    void LoadFromStream(TStream& s) override {
        std::uint8_t b[2];
        s.ReadBuffer(b, 2);
        loaded = true;
    }
    void SaveToStream(TStream&) override {}
    bool Assign(const TPersistent* source) override {
        auto* t = dynamic_cast<const TTestGraphic*>(source);
        if (t) loaded = t->loaded;
        return t != nullptr;
    }
    bool loaded = false;
};

TEST_F(FrameworkTest, PictureFormatsByExtensionSignatureAndClass) {
    ASSERT_NE(TPicture::FormatOfExtension(".BMP"), nullptr);
    EXPECT_EQ(TPicture::FormatOfExtension("bmp")->Class, &TBitmap::StaticClass());
    EXPECT_EQ(TPicture::FormatOfExtension("ico")->Class, &TIcon::StaticClass());
    EXPECT_EQ(TPicture::FormatOfExtension("kv"), nullptr);
    TPicture p;
    EXPECT_THROW(p.LoadFromData({'K', 'V'}), EInvalidGraphic);
    TPicture::RegisterFileFormat({".KV", "Test pictures", &TTestGraphic::StaticClass(),
                                  [](const std::uint8_t* d, std::size_t n) { return n >= 2 && d[0] == 'K' && d[1] == 'V'; },
                                  [] { return std::unique_ptr<TGraphic>(std::make_unique<TTestGraphic>()); }});
    p.LoadFromData({'K', 'V'});
    ASSERT_NE(dynamic_cast<TTestGraphic*>(p.Graphic()), nullptr);
    EXPECT_EQ(p.Width(), 1);
    TPicture copy;
    copy.Assign(&p);  // a copy of the registered class
    EXPECT_NE(dynamic_cast<TTestGraphic*>(copy.Graphic()), nullptr);
    TPicture::UnregisterGraphicClass(TTestGraphic::StaticClass());
    EXPECT_EQ(TPicture::FormatOfExtension("kv"), nullptr);
    EXPECT_THROW(copy.Assign(&p), EInvalidGraphic) << "a class no longer registered cannot be copied";
    EXPECT_THROW(p.LoadFromFile("missing.kv"), EInvalidGraphic);
    // The built-in bitmap still copies through a picture.
    TBitmap b(2, 2);
    b.Pixels().At(1, 1) = 0xFF102030u;
    TPicture bp;
    bp.SetGraphic(&b);
    ASSERT_NE(bp.Bitmap(), nullptr);
    EXPECT_EQ(bp.Bitmap()->Pixels().At(1, 1), 0xFF102030u);
}

class TPagesForm : public TForm {
    KOVA_CLASS(TPagesForm, TForm)
public:
    explicit TPagesForm(TComponent* owner) : TForm(owner) {
        BindField("PageControl1", PageControl1);
        BindField("Image1", Image1);
        RegisterMethod("PageControl1Change", TNotifyEvent([this](TObject*) { ++changes; }));
        RegisterMethod("Item2Click", TNotifyEvent([this](TObject*) { ++item2; }));
    }
    TPageControl* PageControl1 = nullptr;
    TImage* Image1 = nullptr;
    int changes = 0;
    int item2 = 0;
};

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    static const char* d = "0123456789ABCDEF";
    std::string s;
    for (auto b : bytes) {
        s += d[b >> 4];
        s += d[b & 15];
    }
    return s;
}

TEST_F(FrameworkTest, PageControlImagePopupFromDescription) {
    TBitmap pic(3, 2);
    pic.ScanLine(1)[2] = 0xFF00FF00;
    TMemoryStream bmp;
    pic.SaveToStream(bmp);
    std::string text = R"(
object PagesForm: TPagesForm
  Width = 400
  Height = 300
  object PageControl1: TPageControl
    Left = 0
    Top = 0
    Width = 380
    Height = 250
    ActivePage = Sheet2
    OnChange = PageControl1Change
    object Sheet1: TTabSheet
      Caption = ' AutoPlace '
    end
    object Sheet2: TTabSheet
      Caption = ' Poker Room '
      object Inner: TPageControl
        Left = 4
        Top = 4
        Width = 200
        Height = 120
        object InnerA: TTabSheet
          Caption = 'A'
        end
      end
    end
    object Sheet3: TTabSheet
      Caption = 'Hidden'
      TabVisible = False
    end
  end
  object Image1: TImage
    Left = 0
    Top = 260
    AutoSize = True
    Picture.Data = {)" + Hex(bmp.Bytes()) + R"(}
    PopupMenu = PopupMenu1
  end
  object PopupMenu1: TPopupMenu
    object Item1: TMenuItem
      Caption = 'Font'
    end
    object Sep: TMenuItem
      Caption = '-'
    end
    object Item2: TMenuItem
      Caption = 'Save Layout'
      OnClick = Item2Click
    end
  end
end
)";
    // The image data is made here, so the text is read directly rather
    // than from a resource.
    auto* f = new TPagesForm(Application());
    ReadComponentText(f, text, TFormReadMode::Strict);
    f->Show();
    TPageControl* pc = f->PageControl1;
    ASSERT_NE(pc, nullptr);
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->ActivePageIndex(), 1);
    EXPECT_EQ(TabCtrl_GetItemCount(pc->Handle()), 2);  // the hidden tab is left out
    EXPECT_TRUE(pc->Pages(1)->Showing());
    EXPECT_FALSE(pc->Pages(0)->Showing());
    auto* inner = dynamic_cast<TPageControl*>(f->FindComponent("Inner"));
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->ActivePageIndex(), 0);
    // The user picks the first tab: the native notification reaches OnChange.
    TabCtrl_SetCurSel(pc->Handle(), 0);
    NMHDR n{pc->Handle(), static_cast<UINT_PTR>(GetDlgCtrlID(pc->Handle())), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(f->Handle(), WM_NOTIFY, n.idFrom, reinterpret_cast<LPARAM>(&n));
    EXPECT_EQ(pc->ActivePageIndex(), 0);
    EXPECT_EQ(f->changes, 1);
    EXPECT_TRUE(pc->Pages(0)->Showing());
    pc->Pages(2)->SetTabVisible(true);
    EXPECT_EQ(TabCtrl_GetItemCount(pc->Handle()), 3);

    // Stored image data, pixels readable.
    EXPECT_EQ(f->Image1->Width(), 3);
    EXPECT_EQ(f->Image1->PixelAt(2, 1), 0xFF00FF00u);
    EXPECT_EQ(f->Image1->PixelAt(5, 5), 0u);

    // A right click on the image opens its popup menu (answered here).
    TMenuItem* chosen = nullptr;
    SetDialogResponder([&](const TDialogRequest& r) {
        TDialogAnswer a;
        if (r.kind == TDialogKind::Popup) {
            EXPECT_EQ(r.menu->Items()->Count(), 3);
            EXPECT_TRUE(r.menu->Items()->Items(1)->IsSeparator());
            chosen = r.menu->FindItem("Save Layout");
            a.item = chosen;
        }
        return a;
    });
    int x = f->Image1->Left() + 1, y = f->Image1->Top() + 1;
    SendMessageA(f->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    SendMessageA(f->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(x, y));
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(f->item2, 1);
    f->Free();
}

class TLaterPagesForm : public TForm {
    KOVA_CLASS(TLaterPagesForm, TForm)
public:
    explicit TLaterPagesForm(TComponent* owner) : TForm(owner) { BindField("PageControl1", PageControl1); }
    TPageControl* PageControl1 = nullptr;
};

// The controls of a page that is not shown have no windows: a form with
// many pages comes up with the windows of the page it shows only. A hidden
// page's control gets its window when its page first shows or when
// something asks for its window, and then carries everything it was given
// before: from the description and from code.
TEST_F(FrameworkTest, AHiddenPagesControlsGetTheirWindowsWhenShownOrAskedForWithTheirProperties) {
    RegisterFrameworkClasses();
    const std::string text = R"(
object LaterPagesForm: TLaterPagesForm
  Width = 400
  Height = 300
  object PageControl1: TPageControl
    Left = 0
    Top = 0
    Width = 380
    Height = 250
    ActivePage = Sheet1
    object Sheet1: TTabSheet
      Caption = 'Shown'
      object ShownBtn: TButton
        Left = 8
        Top = 8
        Width = 80
        Height = 25
        Caption = 'Shown'
      end
    end
    object Sheet2: TTabSheet
      Caption = 'Later'
      object Edit2: TEdit
        Left = 8
        Top = 8
        Width = 120
        Height = 21
        Text = 'from the description'
        Font.Style = [fsBold]
      end
      object Check2: TCheckBox
        Left = 8
        Top = 40
        Width = 120
        Height = 17
        Caption = 'Check'
        Checked = True
      end
      object Combo2: TComboBox
        Left = 8
        Top = 64
        Width = 120
        Height = 21
        Style = csDropDownList
        Items.Strings = (
          'one'
          'two'
          'three')
        ItemIndex = 1
      end
      object List2: TListBox
        Left = 140
        Top = 8
        Width = 100
        Height = 80
        Items.Strings = (
          'a')
      end
      object Button2: TButton
        Left = 140
        Top = 100
        Width = 80
        Height = 25
        Caption = 'Button'
      end
    end
  end
end
)";
    enum class TWay { ShowThePage, AskForTheWindow };
    for (TWay way : {TWay::ShowThePage, TWay::AskForTheWindow}) {
        SCOPED_TRACE(way == TWay::ShowThePage ? "the page is shown" : "the window is asked for");
        auto* f = new TLaterPagesForm(Application());
        ReadComponentText(f, text, TFormReadMode::Strict);
        f->Show();
        TPageControl* pc = f->PageControl1;
        ASSERT_NE(pc, nullptr);
        auto* sheet2 = dynamic_cast<TTabSheet*>(f->FindComponent("Sheet2"));
        auto* edit = dynamic_cast<TEdit*>(f->FindComponent("Edit2"));
        auto* check = dynamic_cast<TCheckBox*>(f->FindComponent("Check2"));
        auto* combo = dynamic_cast<TComboBox*>(f->FindComponent("Combo2"));
        auto* list = dynamic_cast<TListBox*>(f->FindComponent("List2"));
        auto* button = dynamic_cast<TButton*>(f->FindComponent("Button2"));
        ASSERT_TRUE(sheet2 && edit && check && combo && list && button);
        auto* shownBtn = dynamic_cast<TButton*>(f->FindComponent("ShownBtn"));
        ASSERT_NE(shownBtn, nullptr);
        EXPECT_TRUE(shownBtn->HandleAllocated());
        const std::vector<TWinControl*> hidden{sheet2, edit, check, combo, list, button};
        for (TWinControl* c : hidden) EXPECT_FALSE(c->HandleAllocated()) << c->Name();

        // Given in code while there is no window; read back as given.
        edit->SetText("set in code");
        list->Items()->Add("b");
        list->SetItemIndex(1);
        button->SetEnabled(false);
        button->SetBounds(150, 110, 90, 30);
        EXPECT_EQ(combo->ItemIndex(), 1);
        EXPECT_EQ(list->ItemIndex(), 1);
        EXPECT_TRUE(check->Checked());
        EXPECT_EQ(edit->Caption(), "set in code");
        for (TWinControl* c : hidden) EXPECT_FALSE(c->HandleAllocated()) << c->Name();

        if (way == TWay::ShowThePage) {
            pc->SetActivePage(sheet2);
            EXPECT_TRUE(sheet2->Showing());
        } else {
            EXPECT_NE(combo->Handle(), nullptr);
            // Asking makes the windows, it does not show the page.
            EXPECT_EQ(pc->ActivePageIndex(), 0);
            EXPECT_FALSE(sheet2->Showing());
            EXPECT_FALSE(IsWindowVisible(sheet2->Handle()));
        }
        for (TWinControl* c : hidden) EXPECT_TRUE(c->HandleAllocated()) << c->Name();

        auto weight = [](HWND w) {
            LOGFONTA lf{};
            auto font = reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0));
            return font && GetObjectA(font, sizeof lf, &lf) ? static_cast<int>(lf.lfWeight) : 0;
        };
        auto boundsInSheet = [&](HWND w) {
            RECT r;
            GetWindowRect(w, &r);
            MapWindowPoints(HWND_DESKTOP, sheet2->Handle(), reinterpret_cast<POINT*>(&r), 2);
            return r;
        };
        struct TCase {
            const char* what;
            std::function<void()> check;
        };
        const TCase cases[] = {
            {"text given in code", [&] { EXPECT_EQ(WindowText(edit->Handle()), "set in code"); }},
            {"font from the description",
             [&] {
                 EXPECT_GE(weight(edit->Handle()), FW_BOLD);
                 EXPECT_LT(weight(button->Handle()), FW_BOLD);
             }},
            {"check state",
             [&] { EXPECT_EQ(SendMessageA(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED); }},
            {"combo box items and selection",
             [&] {
                 EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCOUNT, 0, 0), 3);
                 EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCURSEL, 0, 0), 1);
                 EXPECT_EQ(WindowText(combo->Handle()), "two");
             }},
            {"list box items and selection",
             [&] {
                 EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 2);
                 EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCURSEL, 0, 0), 1);
                 EXPECT_EQ(list->ItemIndex(), 1);
             }},
            {"enabled", [&] {
                 EXPECT_FALSE(IsWindowEnabled(button->Handle()));
                 EXPECT_TRUE(IsWindowEnabled(edit->Handle()));
             }},
            {"bounds given in code",
             [&] {
                 RECT r = boundsInSheet(button->Handle());
                 EXPECT_EQ(r.left, 150);
                 EXPECT_EQ(r.top, 110);
                 EXPECT_EQ(r.right - r.left, 90);
                 EXPECT_EQ(r.bottom - r.top, 30);
                 EXPECT_EQ(button->Width(), 90);
             }},
            {"window order is the order of the controls (painting and the Tab key)",
             [&] {
                 std::vector<HWND> order;
                 for (HWND w = GetWindow(sheet2->Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
                     order.push_back(w);
                 std::vector<HWND> expected;
                 for (int i = 0; i < sheet2->ControlCount(); ++i)
                     expected.push_back(static_cast<TWinControl*>(sheet2->Controls(i))->Handle());
                 EXPECT_EQ(order, expected);
                 EXPECT_EQ(button->TabOrder(), 4);
             }},
            {"the sheet lies under its page control",
             [&] { EXPECT_EQ(GetParent(sheet2->Handle()), pc->Handle()); }},
        };
        for (const TCase& c : cases) {
            SCOPED_TRACE(c.what);
            c.check();
        }
        f->Free();
    }
}

TEST_F(FrameworkTest, StringGridCellsEditingAndOwnerDrawing) {
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* g = new TStringGrid(f);
    g->SetParent(f);
    g->SetBounds(0, 0, 300, 150);
    g->SetColCount(3);
    g->SetRowCount(20);
    g->SetOptions(g->Options() | goEditing);
    g->SetCells(0, 0, "Slot");
    g->SetCells(1, 2, "100");
    g->SetCells(9, 9, "ignored");
    EXPECT_EQ(g->Cells(1, 2), "100");
    EXPECT_EQ(g->Cells(9, 9), "");
    std::vector<std::pair<int, int>> drawn;
    g->OnDrawCell = [&](TObject*, int c, int r, RECT, TGridDrawState st) {
        if (st & gdFixed) drawn.emplace_back(c, r);
    };
    std::string edited;
    g->OnSetEditText = [&](TObject*, int c, int r, const std::string& v) {
        edited = std::to_string(c) + "," + std::to_string(r) + "=" + v;
    };
    f->Show();
    UpdateWindow(g->Handle());
    RedrawWindow(g->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), std::make_pair(0, 0)), drawn.end());
    RECT rc = g->CellRect(1, 2);
    SendMessageA(g->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.left + 3, rc.top + 3));
    SendMessageA(g->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(rc.left + 3, rc.top + 3));
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 2);
    g->ShowEditor();
    ASSERT_TRUE(g->EditorMode());
    g->HideEditor(true);  // unchanged text: no event
    EXPECT_EQ(edited, "");
    SendMessageA(g->Handle(), WM_CHAR, '7', 0);  // typing starts an edit
    ASSERT_TRUE(g->EditorMode());
    g->HideEditor(true);
    EXPECT_EQ(g->Cells(1, 2), "7");
    EXPECT_EQ(edited, "1,2=7");
    SendMessageA(g->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_GT(g->TopRow(), 1);
    f->Free();
}

TEST_F(FrameworkTest, UpDownSpeedButtonAndRadioGroup) {
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* e = new TEdit(f);
    e->SetParent(f);
    auto* u = new TUpDown(f);
    u->SetParent(f);
    u->SetMin(1);
    u->SetMax(10);
    u->SetAssociate(e);
    u->SetPosition(4);
    EXPECT_EQ(e->Text(), "4");
    f->Show();
    EXPECT_EQ(u->Position(), 4);
    u->SetPosition(99);
    EXPECT_EQ(u->Position(), 10);

    auto* a = new TSpeedButton(f);
    a->SetParent(f);
    a->SetBounds(100, 0, 20, 20);
    a->SetGroupIndex(1);
    a->SetAllowAllUp(true);
    SendMessageA(f->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(105, 5));
    SendMessageA(f->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(105, 5));
    EXPECT_TRUE(a->Down());
    SendMessageA(f->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(105, 5));
    SendMessageA(f->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(105, 5));
    EXPECT_FALSE(a->Down());

    auto* rg = new TRadioGroup(f);
    rg->SetParent(f);
    rg->SetBounds(0, 40, 150, 100);
    rg->Items()->Assign({"One", "Two", "Three"});
    int clicks = 0;
    rg->OnClick = [&](TObject*) { ++clicks; };
    SendMessageA(rg->Buttons(2)->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(rg->ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    rg->SetItemIndex(0);
    EXPECT_TRUE(rg->Buttons(0)->Checked());
    EXPECT_FALSE(rg->Buttons(2)->Checked());
    f->Free();
}

class TGlyphForm : public TForm {
    KOVA_CLASS(TGlyphForm, TForm)
public:
    using TForm::TForm;
};

// Both glyph buttons take the same description properties, hold their
// settings to the same limits and repaint only when a setting changes. The
// push button is made here: descriptions do not create it.
TEST_F(FrameworkTest, GlyphButtonsShareTheirGlyphSettings) {
    RegisterFrameworkClasses();
    TBitmap strip(8, 3);
    strip.ScanLine(1)[5] = 0xFF0000FF;
    TMemoryStream bmp;
    strip.SaveToStream(bmp);
    const std::string text = R"(
object GlyphForm: TGlyphForm
  Width = 300
  Height = 200
  object Speed1: TSpeedButton
    Left = 10
    Top = 60
    Width = 90
    Height = 30
    Caption = 'Go'
    NumGlyphs = 2
    Layout = blGlyphTop
    Margin = 3
    Spacing = 6
    Glyph.Data = {)" + Hex(bmp.Bytes()) + R"(}
  end
end
)";
    auto* f = new TGlyphForm(Application());
    ReadComponentText(f, text, TFormReadMode::Strict);
    f->Show();
    UpdateWindow(f->Handle());
    auto* speed = dynamic_cast<TSpeedButton*>(f->FindComponent("Speed1"));
    ASSERT_NE(speed, nullptr);
    auto* bit = new TBitBtn(f);
    bit->SetParent(f);
    bit->SetBounds(10, 10, 90, 30);
    bit->SetCaption("Go");
    EXPECT_TRUE(SetOrdProp(bit, "NumGlyphs", 2));
    EXPECT_TRUE(SetEnumProp(bit, "Layout", "blGlyphTop"));
    EXPECT_TRUE(SetOrdProp(bit, "Margin", 3));
    EXPECT_TRUE(SetOrdProp(bit, "Spacing", 6));
    bit->SetGlyph(speed->Glyph());
    UpdateWindow(bit->Handle());
    struct TButtonCase {
        const char* name;
        TButtonGlyph* glyph;
        TControl* control;
        HWND painted;  // the window the change repaints
    };
    for (const TButtonCase& b : {TButtonCase{"push button", bit, bit, bit->Handle()},
                                 TButtonCase{"speed button", speed, speed, f->Handle()}}) {
        SCOPED_TRACE(b.name);
        EXPECT_EQ(b.glyph->NumGlyphs(), 2);
        EXPECT_EQ(b.glyph->Layout(), blGlyphTop);
        EXPECT_EQ(b.glyph->Margin(), 3);
        EXPECT_EQ(b.glyph->Spacing(), 6);
        EXPECT_EQ(b.glyph->Glyph()->Width(), 8);
        EXPECT_EQ(b.glyph->Glyph()->Pixels().At(5, 1) & 0xFFFFFFu, 0x0000FFu);
        EXPECT_EQ(GetObjectProp(b.control, "Glyph"), b.glyph->Glyph());

        // Set by name as a description would: out-of-range values are held
        // to the nearest allowed one.
        struct TLimit {
            const char* prop;
            std::int64_t set, held;
        };
        for (const TLimit& l : {TLimit{"NumGlyphs", 0, 1}, TLimit{"NumGlyphs", 9, 4}, TLimit{"NumGlyphs", 3, 3},
                                TLimit{"Margin", -7, -1}, TLimit{"Margin", 0, 0}, TLimit{"Spacing", -2, -2}}) {
            SCOPED_TRACE(std::string(l.prop) + " = " + std::to_string(l.set));
            EXPECT_TRUE(SetOrdProp(b.control, l.prop, l.set));
            EXPECT_EQ(GetOrdProp(b.control, l.prop), l.held);
        }
        EXPECT_TRUE(SetEnumProp(b.control, "Layout", "blGlyphRight"));
        EXPECT_EQ(b.glyph->Layout(), blGlyphRight);

        UpdateWindow(b.painted);
        b.glyph->SetSpacing(b.glyph->Spacing());
        EXPECT_FALSE(GetUpdateRect(b.painted, nullptr, FALSE)) << "an unchanged setting repaints nothing";
        b.glyph->SetSpacing(b.glyph->Spacing() + 1);
        EXPECT_TRUE(GetUpdateRect(b.painted, nullptr, FALSE)) << "a changed setting repaints the button";
        UpdateWindow(b.painted);
    }
    f->Free();
}

// The status bar hands its panels to the system (right edges, texts with
// their alignment tabs, owner-drawn parts), paints owner-drawn panels
// through its handler, and switches to its simple text.
TEST_F(FrameworkTest, StatusBarPanelsOwnerDrawnPanelsAndSimpleMode) {
    auto* f = TCustomForm::Create<TForm>(Application());
    f->SetBounds(50, 50, 320, 200);
    auto* bar = new TStatusBar(f);
    bar->SetParent(f);
    TStatusPanel* first = bar->AddPanel();
    first->SetWidth(80);
    first->SetText("one");
    TStatusPanel* second = bar->AddPanel();
    second->SetWidth(90);
    second->SetText("two");
    second->SetAlignment(taCenter);
    TStatusPanel* drawnPanel = bar->AddPanel();
    drawnPanel->SetStyle(psOwnerDraw);
    int drawnCalls = 0;
    bar->OnDrawPanel = [&](TStatusBar* sender, TStatusPanel* panel, const RECT& r) {
        EXPECT_EQ(sender, bar);
        EXPECT_EQ(panel, drawnPanel);
        EXPECT_GT(r.right, r.left);
        ++drawnCalls;
    };
    f->Show();
    UpdateWindow(bar->Handle());
    HWND h = bar->Handle();
    EXPECT_EQ(bar->Align(), alBottom);
    int edges[3]{};
    ASSERT_EQ(SendMessageA(h, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[0], 80);
    EXPECT_EQ(edges[1], 170);
    EXPECT_EQ(edges[2], -1);
    char text[32]{};
    SendMessageA(h, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "\ttwo");
    EXPECT_NE(HIWORD(SendMessageA(h, SB_GETTEXTLENGTHA, 2, 0)) & SBT_OWNERDRAW, 0);
    InvalidateRect(h, nullptr, TRUE);
    UpdateWindow(h);
    EXPECT_GE(drawnCalls, 1);
    first->SetText("uno");
    SendMessageA(h, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "uno");
    bar->SetSimpleText("simple");
    bar->SetSimplePanel(true);
    EXPECT_EQ(SendMessageA(h, SB_ISSIMPLE, 0, 0), TRUE);
    bar->SetSimplePanel(false);
    EXPECT_EQ(SendMessageA(h, SB_ISSIMPLE, 0, 0), FALSE);
    bar->OnDrawPanel = nullptr;
    f->Free();
}

std::vector<std::string> g_loadOrder;
// The form's control state as each probe is made, and the probe's own in
// its Loaded.
std::vector<TControlState> g_formStateAtProbe, g_probeStateAtLoaded;

class TLoadProbe : public TPanel {
    KOVA_CLASS(TLoadProbe, TPanel)
public:
    explicit TLoadProbe(TComponent* owner) : TPanel(owner) {
        if (auto* form = dynamic_cast<TControl*>(owner)) g_formStateAtProbe.push_back(form->ControlState());
    }
    void Loaded() override {
        g_probeStateAtLoaded.push_back(ControlState());
        TPanel::Loaded();
        // Siblings read later already exist when Loaded runs.
        g_loadOrder.push_back(Name() + (Owner()->FindComponent("Last") ? "+" : "-"));
    }
};

class TLoadForm : public TForm {
    KOVA_CLASS(TLoadForm, TForm)
public:
    using TForm::TForm;
    void Loaded() override {
        TForm::Loaded();
        g_loadOrder.push_back("form");
    }
};

TEST_F(FrameworkTest, LoadedRunsAfterAllComponentsExistInReadingOrder) {
    RegisterComponentClass<TLoadProbe>();
    g_loadOrder.clear();
    auto* f = TCustomForm::Create<TLoadForm>(Application());
    EXPECT_EQ(g_loadOrder, (std::vector<std::string>{"form", "First+", "Nested+", "Last+"}));
    EXPECT_EQ(f->FindComponent("Nested")->GetParentComponent(), f->FindComponent("First"));
    f->Show();
    RECT cr;
    GetClientRect(f->Handle(), &cr);
    EXPECT_EQ(cr.right, 623);
    EXPECT_EQ(cr.bottom, 421);
    f->Free();
}

// Components made from a form's description see the form being created
// and themselves being read; afterwards, and for forms made in code, the
// states are clear.
TEST_F(FrameworkTest, AFormIsCreatingWhileItsDescriptionIsRead) {
    RegisterComponentClass<TLoadProbe>();
    g_formStateAtProbe.clear();
    g_probeStateAtLoaded.clear();
    auto* f = TCustomForm::Create<TLoadForm>(Application());
    ASSERT_EQ(g_formStateAtProbe.size(), 3u);
    for (TControlState s : g_formStateAtProbe) EXPECT_EQ(s & (csCreating | csReadingState), csCreating | csReadingState);
    for (TControlState s : g_probeStateAtLoaded) EXPECT_TRUE(s & csReadingState);
    EXPECT_EQ(f->ControlState(), 0u);
    EXPECT_EQ(static_cast<TControl*>(f->FindComponent("First"))->ControlState(), 0u);
    f->Free();
}

TEST_F(FrameworkTest, ExceptionInAHandlerIsReportedNotPropagated) {
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* b = new TButton(f);
    b->SetParent(f);
    b->OnClick = [](TObject*) { throw std::runtime_error("Wrong HotKey"); };
    SendMessageA(b->Handle(), BM_CLICK, 0, 0);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back().text, "Wrong HotKey");
    EXPECT_EQ(asked.back().type, mtError);
    f->Free();
}

TEST_F(FrameworkTest, EditEventsCheckBoxAndApplicationWindow) {
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* e = new TEdit(f);
    e->SetParent(f);
    e->SetPasswordChar('*');
    std::vector<std::string> log;
    e->OnClick = [&](TObject*) { log.push_back("click"); };
    e->OnKeyUp = [&](TObject*, WORD& key, TShiftState) { log.push_back("keyup " + std::to_string(key)); };
    f->Show();
    EXPECT_EQ(SendMessageA(e->Handle(), EM_GETPASSWORDCHAR, 0, 0), '*');
    SendMessageA(e->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(e->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    SendMessageA(e->Handle(), WM_KEYUP, 'A', 0);
    EXPECT_EQ(log, (std::vector<std::string>{"click", "keyup 65"}));

    auto* cb = new TCheckBox(f);
    cb->SetParent(f);
    int clicks = 0;
    cb->OnClick = [&](TObject*) { ++clicks; };
    SendMessageA(cb->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(cb->Checked());
    EXPECT_EQ(SendMessageA(cb->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    cb->SetChecked(false);
    EXPECT_EQ(clicks, 2);  // a change by code runs OnClick too

    Application()->SetTitle("KOVA v3.26c");
    char title[64] = {};
    GetWindowTextA(Application()->Handle(), title, sizeof title);
    EXPECT_STREQ(title, "KOVA v3.26c");
    EXPECT_FALSE(IsWindowVisible(Application()->Handle()));
    EXPECT_FALSE(Application()->ExeName().empty());
    EXPECT_EQ(Application()->ParamStr(0), Application()->ExeName());
    f->Free();
}

// The program splits its command line itself (the shell library loads
// only when a click needs it): for plain arguments it reads what the
// system's splitter reads.
TEST(ApplicationParams, ReadTheArgumentsTheSystemSplitterReads) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    ASSERT_NE(argv, nullptr);
    std::vector<std::string> expected;
    for (int i = 1; i < argc; ++i) {
        char arg[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, argv[i], -1, arg, sizeof arg, nullptr, nullptr);
        expected.push_back(arg);
    }
    LocalFree(argv);
    std::vector<std::string> read;
    for (int i = 1; i <= Application()->ParamCount(); ++i) read.push_back(Application()->ParamStr(i));
    EXPECT_EQ(read, expected);
    EXPECT_EQ(Application()->ParamStr(Application()->ParamCount() + 1), "");
}

TEST_F(FrameworkTest, CloseRunsCloseQueryAndOnCloseAndScreenKnowsMonitors) {
    auto* owner = TCustomForm::Create<TForm>(Application());
    auto* f = TCustomForm::Create<TForm>(Application());
    std::vector<std::string> log;
    bool allow = false;
    f->OnCloseQuery = [&](TObject*, bool& can) {
        log.push_back("query");
        can = allow;
    };
    f->OnClose = [&](TObject*, TCloseAction& a) {
        log.push_back("close");
        a = caHide;
    };
    f->Show();
    SendMessageA(f->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(f->Showing());
    allow = true;
    f->Close();
    EXPECT_FALSE(f->Showing());
    EXPECT_EQ(log, (std::vector<std::string>{"query", "query", "close"}));
    EXPECT_GE(Screen()->MonitorCount(), 1);
    TMonitor m = Screen()->Monitors(0);
    EXPECT_GT(m.Width(), 0);
    EXPECT_LE(m.WorkareaRect.bottom, m.BoundsRect.bottom);
    EXPECT_GE(Screen()->FormCount(), 2);
    f->Free();
    owner->Free();
}

// A form whose description is not in the code: it comes from the RCDATA
// resource named after the class (framework_test.rc).
class TResForm : public TForm {
    KOVA_CLASS(TResForm, TForm)
public:
    explicit TResForm(TComponent* owner) : TForm(owner) {
        BindField("Edit1", Edit1);
        BindField("Button1", Button1);
        BindField("ListBox1", ListBox1);
        BindField("Image1", Image1);
        RegisterMethod("FormCreate", TNotifyEvent([this](TObject*) { log.push_back("FormCreate"); }));
        RegisterMethod("Button1Click", TNotifyEvent([this](TObject*) { log.push_back("Button1Click"); }));
        RegisterMethod("Edit1Change", TNotifyEvent([this](TObject*) { log.push_back("Edit1Change"); }));
    }
    TEdit* Edit1 = nullptr;
    TButton* Button1 = nullptr;
    TListBox* ListBox1 = nullptr;
    TImage* Image1 = nullptr;
    std::vector<std::string> log;
};

TEST_F(FrameworkTest, FormIsCreatedFromItsResource) {
    auto* f = TCustomForm::Create<TResForm>(Application());
    ASSERT_NE(f->Edit1, nullptr);
    ASSERT_NE(f->Button1, nullptr);
    ASSERT_NE(f->ListBox1, nullptr);
    ASSERT_NE(f->Image1, nullptr);
    EXPECT_EQ(f->log, (std::vector<std::string>{"FormCreate"}));
    EXPECT_EQ(f->Caption(), "Form from a resource");
    EXPECT_EQ(f->Left(), 120);
    EXPECT_EQ(f->Top(), 90);
    EXPECT_EQ(f->Width(), 360);
    EXPECT_EQ(f->Height(), 240);
    EXPECT_EQ(f->Edit1->Parent(), f);
    EXPECT_EQ(f->Button1->Caption(), "Apply");
    EXPECT_EQ(f->Button1->Left(), 8);
    EXPECT_EQ(f->Button1->Top(), 40);
    EXPECT_EQ(f->Button1->Width(), 75);
    EXPECT_EQ(f->ListBox1->Items()->ToVector(), (std::vector<std::string>{"one", "two"}));
    f->Show();
    EXPECT_EQ(f->Edit1->Text(), "from rc");
    EXPECT_EQ(SendMessageA(f->ListBox1->Handle(), LB_GETCOUNT, 0, 0), 2);

    // Events bound by handler name.
    SendMessageA(f->Button1->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(f->log.back(), "Button1Click");
    SetWindowTextA(f->Edit1->Handle(), "typed");
    EXPECT_EQ(f->log.back(), "Edit1Change");

    // The stored image: the same pixels as the BMP file beside it.
    TResourceStream rs(GetModuleHandleA(nullptr), "RESFORMBMP");
    TBitmap bmp;
    bmp.LoadFromStream(rs);
    ASSERT_EQ(bmp.Width(), 3);
    ASSERT_EQ(bmp.Height(), 2);
    EXPECT_EQ(f->Image1->Width(), 3);  // AutoSize
    EXPECT_EQ(f->Image1->Height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(f->Image1->PixelAt(x, y), bmp.Pixels().At(x, y)) << x << "," << y;
    EXPECT_EQ(f->Image1->PixelAt(0, 0), 0xFFFF0000u);  // top-left red (rows are stored bottom-up)
    EXPECT_EQ(f->Image1->PixelAt(2, 1), 0xFF123456u);
    f->Free();

    EXPECT_THROW(TResourceStream(GetModuleHandleA(nullptr), "NOSUCHRESOURCE"), EStreamError);
}

TEST_F(FrameworkTest, ItemsAndLinesAssignStringListsBothWays) {
    auto* f = TCustomForm::Create<TForm>(Application());
    auto* memo = new TMemo(f);
    auto* list = new TListBox(f);
    auto* checks = new TCheckListBox(f);
    auto* combo = new TComboBox(f);
    auto* radios = new TRadioGroup(f);
    for (TWinControl* c : std::initializer_list<TWinControl*>{memo, list, checks, combo, radios}) c->SetParent(f);
    f->Show();

    TStringList src;
    src.SetSorted(true);
    TObject tagged;
    src.AddObject("beta", &tagged);
    src.Add("alpha");
    src.Add("gamma");
    const std::vector<std::string> want{"alpha", "beta", "gamma"};
    for (TItemList* items : {memo->Lines(), list->Items(), checks->Items(), combo->Items(), radios->Items()}) {
        EXPECT_TRUE(items->Assign(&src));
        EXPECT_EQ(items->ToVector(), want);
        EXPECT_EQ(items->Objects(1), &tagged);
    }
    // The windows show what was assigned.
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(checks->Handle(), LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(radios->Buttons(2)->Caption(), "gamma");
    char buf[64] = {};
    GetWindowTextA(memo->Handle(), buf, sizeof buf);
    EXPECT_STREQ(buf, "alpha\r\nbeta\r\ngamma");

    // Back from a control into a plain list (which keeps its own sorting).
    list->Items()->Add("aardvark");
    TStringList back;
    EXPECT_TRUE(back.Assign(list->Items()));
    EXPECT_EQ(back.ToVector(), (std::vector<std::string>{"alpha", "beta", "gamma", "aardvark"}));
    EXPECT_TRUE(src.Assign(list->Items()));
    EXPECT_EQ(src.ToVector(), (std::vector<std::string>{"aardvark", "alpha", "beta", "gamma"}));
    // A sorted item list keeps its window in the same order.
    combo->Items()->SetSorted(true);
    combo->Items()->Add("delta");
    EXPECT_EQ(combo->Items()->ToVector(), (std::vector<std::string>{"alpha", "beta", "delta", "gamma"}));
    for (int i = 0; i < 4; ++i) {
        char item[16] = {};
        SendMessageA(combo->Handle(), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
        EXPECT_EQ(combo->Items()->Strings(i), item);
    }
    f->Free();
}

// An MDI main form's children live in its client window, which fills what
// the aligned controls leave; the client's messages activate, maximise and
// restore them, and a closed child goes.
TEST_F(FrameworkTest, MDIFormHoldsItsChildrenInItsClientWindow) {
    TForm* main = nullptr;
    Application()->CreateForm(main);
    ASSERT_EQ(Application()->MainForm(), main);
    main->SetFormStyle(fsMDIForm);
    main->SetBounds(40, 40, 520, 420);
    auto* top = new TPanel(main);
    top->SetParent(main);
    top->SetAlign(alTop);
    top->SetHeight(30);
    main->Show();
    const HWND client = main->ClientHandle();
    ASSERT_NE(client, nullptr);
    char cls[32] = {};
    GetClassNameA(client, cls, sizeof cls);
    EXPECT_STRCASEEQ(cls, "MDICLIENT");
    EXPECT_EQ(GetParent(client), main->Handle());
    RECT cr{};
    GetWindowRect(client, &cr);
    MapWindowPoints(nullptr, main->Handle(), reinterpret_cast<POINT*>(&cr), 2);
    RECT mc{};
    GetClientRect(main->Handle(), &mc);
    EXPECT_EQ(cr.top, 30);
    EXPECT_EQ(cr.bottom, mc.bottom);
    EXPECT_EQ(cr.right - cr.left, mc.right);

    auto makeChild = [](const char* caption) {
        auto* c = TCustomForm::Create<TForm>(Application());
        c->SetFormStyle(fsMDIChild);
        c->SetCaption(caption);
        c->SetBounds(10, 10, 200, 150);
        c->Show();
        return c;
    };
    TForm* a = makeChild("A");
    TForm* b = makeChild("B");
    EXPECT_EQ(GetParent(a->Handle()), client);
    EXPECT_TRUE(GetWindowLongPtrA(a->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_EQ(WindowText(a->Handle()), "A");
    EXPECT_EQ(main->MDIChildCount(), 2);
    EXPECT_EQ(main->ActiveMDIChild(), b);
    EXPECT_EQ(main->MDIChildren(0), b);
    EXPECT_EQ(main->MDIChildren(1), a);
    EXPECT_EQ(main->MDIChildren(2), nullptr);

    SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a->Handle()), 0);
    EXPECT_EQ(main->ActiveMDIChild(), a);
    SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(a->Handle()), 0);
    EXPECT_TRUE(IsZoomed(a->Handle()));
    EXPECT_EQ(a->WindowState(), wsMaximized);
    // A system command on the child ends in the system's MDI child procedure.
    SendMessageA(a->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsZoomed(a->Handle()));

    bool destroyed = false;
    a->OnDestroy = [&](TObject*) { destroyed = true; };
    a->Close();
    EXPECT_TRUE(PumpUntil([&] { return destroyed; }));
    EXPECT_EQ(main->MDIChildCount(), 1);
    EXPECT_EQ(main->ActiveMDIChild(), b);
    b->Free();
    EXPECT_EQ(main->MDIChildCount(), 0);
    main->Free();
    EXPECT_EQ(Application()->MainForm(), nullptr);
}

// The active MDI child's menu is merged into its main form's bar by group
// index (its items replace the main form's of the same group), its items'
// commands reach them through the main form, and the bar goes back when a
// child without a menu is active or the last child goes.
TEST_F(FrameworkTest, MDIChildMenusAreMergedIntoTheMainFormsBar) {
    TForm* main = nullptr;
    Application()->CreateForm(main);
    main->SetFormStyle(fsMDIForm);
    main->SetBounds(40, 40, 520, 420);
    auto add = [](TMenu* menu, const char* caption, int group) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(caption);
        item->SetGroupIndex(group);
        menu->Items()->Add(item);
        return item;
    };
    auto* bar = new TMainMenu(main);
    add(bar, "File", 0);
    add(bar, "Window", 9);
    main->SetMenu(bar);
    main->Show();
    auto captions = [&] {
        std::vector<std::string> out;
        const HMENU m = GetMenu(main->Handle());
        for (int i = 0; i < GetMenuItemCount(m); ++i) {
            char text[64] = {};
            GetMenuStringA(m, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            out.emplace_back(text);
        }
        return out;
    };
    using L = std::vector<std::string>;
    EXPECT_EQ(captions(), (L{"File", "Window"}));

    auto* withMenu = TCustomForm::Create<TForm>(Application());
    withMenu->SetFormStyle(fsMDIChild);
    auto* childBar = new TMainMenu(withMenu);
    add(childBar, "Document", 0);
    bool clicked = false;
    add(childBar, "Edit", 1)->OnClick = [&](TObject*) { clicked = true; };
    withMenu->SetMenu(childBar);
    withMenu->Show();
    EXPECT_EQ(captions(), (L{"Document", "Edit", "Window"}));
    const UINT edit = GetMenuItemID(GetMenu(main->Handle()), 1);
    SendMessageA(main->Handle(), WM_COMMAND, MAKEWPARAM(edit, 0), 0);
    EXPECT_TRUE(clicked);

    auto* plain = TCustomForm::Create<TForm>(Application());
    plain->SetFormStyle(fsMDIChild);
    plain->Show();
    EXPECT_EQ(captions(), (L{"File", "Window"}));
    SendMessageA(main->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(withMenu->Handle()), 0);
    EXPECT_EQ(captions(), (L{"Document", "Edit", "Window"}));
    plain->Free();
    EXPECT_EQ(captions(), (L{"Document", "Edit", "Window"}));
    withMenu->Free();
    EXPECT_EQ(captions(), (L{"File", "Window"}));
    main->Free();
}

}  // namespace
}  // namespace kova
