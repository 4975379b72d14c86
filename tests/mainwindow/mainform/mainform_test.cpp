// The main form created in this process over a scratch data folder: its
// first showing and activation, Start/Refresh/Stop with their messages and
// labels, the scan timer placing real windows into slots, what closing
// saves, and the notification-area icon. Message boxes and the icon's menu
// are answered through the dialog seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/win32_testing.h"
#include "framework/dialogs.h"
#include "framework/handles.h"
#include "framework/hints.h"
#include "mainwindow/mainform/main.h"
#include "mainwindow/mainform/testfiles.h"
#include "skin/core/handlecheck.h"
#include "skin/core/skinmessage.h"
#include "skin/forms/borderedforms.h"
#include "skin/forms/borderform.h"
#include "skin/forms/provider.h"
#include "tables/engine/autoplace.h"
#include "tables/engine/pokertable.h"
#include "tables/files/userini.h"

namespace {

using namespace kova;
using namespace kova::test;
using kova::mainwindow::TKOVAForm1;
namespace t = kova::tables;

constexpr const char* kTableClass = "KovaMainFormTestTable";

HWND OpenTable(const char* title, int x, int y) {
  static bool registered = [] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kTableClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    return RegisterClassExA(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExA(0, kTableClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 300, 200, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

bool HasRect(HWND w, const Slot& s) {
  RECT r{};
  GetWindowRect(w, &r);
  return r.left == s.left && r.top == s.top && r.right - r.left == s.width && r.bottom - r.top == s.height;
}

std::string RectText(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

const Slot kSlot1{20, 30, 420, 320};
const Slot kSlot2{460, 30, 420, 320};

TestConfigData TestConfig(const std::string& name = "Main") {
  return TestConfigData{name, {TestGroupData{"Tables", "Test Table", kTableClass, {kSlot1, kSlot2}}}};
}

class MainForm : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterFrameworkClasses();
    dir_ = TempDir();
    TKOVAForm1::DataFolderOverride = dir_;
    TKOVAForm1::OnCloseSaveStep = [this](const std::string& f) { saved_.push_back(f); };
    t::ResetEngine();
    SetDialogResponder([this](const TDialogRequest& r) {
      TDialogAnswer a;
      a.result = mrOk;
      if (r.kind == TDialogKind::Popup) {
        popups_++;
        a.item = popupChoice_;
      } else {
        messages_.push_back(r.text);
      }
      return a;
    });
  }

  void TearDown() override {
    if (form_) form_->Free();
    for (HWND w : windows_) DestroyWindow(w);
    SetDialogResponder(nullptr);
    TKOVAForm1::DataFolderOverride.clear();
    TKOVAForm1::OnCloseSaveStep = nullptr;
    Application()->OnMinimize = nullptr;
    t::ResetEngine();
  }

  std::string Path(const std::string& name) const { return dir_ + "\\" + name; }

  void WriteData(const std::vector<TestConfigData>& configs, int32_t selected = 0) {
    WriteFile(Path("PlaceConfig.cnfg"), PlaceConfigFile(configs, selected));
    WriteFile(Path("PokerRooms.kov"), PokerRoomRecord("Test Room", kTableClass));
  }

  TKOVAForm1* Open() {
    form_ = TCustomForm::Create<TKOVAForm1>(Application());
    form_->Show();
    EXPECT_TRUE(WaitUntil([&] { return form_->FirstActivationDone(); }));
    return form_;
  }

  HWND Table(const char* title, int x = 600, int y = 500) {
    HWND w = OpenTable(title, x, y);
    windows_.push_back(w);
    return w;
  }

  std::string Status() const { return form_->ConfigStatusL->Caption(); }
  std::string NameLabel() const { return form_->CurrentNameL->Caption(); }

  std::string dir_;
  TKOVAForm1* form_ = nullptr;
  std::vector<std::string> messages_;
  std::vector<std::string> saved_;
  std::vector<HWND> windows_;
  TMenuItem* popupChoice_ = nullptr;
  int popups_ = 0;
};

TEST_F(MainForm, StartsPausedWithLayoutsFolderAndItsCaption) {
  WriteData({TestConfig()});
  Open();
  EXPECT_EQ(WindowText(form_->Handle()), "KOVA  v3.26c");
  EXPECT_EQ(t::ScanPaused, 1);
  const DWORD attrs = GetFileAttributesA(Path("Layouts").c_str());
  ASSERT_NE(attrs, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attrs & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(form_->ConfigListBox->Items()->Count(), 1);
  EXPECT_EQ(form_->PokerRoomListBox->Items()->Count(), 1);
  EXPECT_EQ(form_->Timer1->Interval(), 200u);
  // The page stored in "startup.ini" (none here: the first).
  EXPECT_EQ(form_->PageControl1->ActivePageIndex(), 0);
  // No hook library beside the program: it runs all the same and says so.
  EXPECT_FALSE(form_->Hook().Loaded());
  EXPECT_NE(form_->LogMemo->Lines()->Text().find("mskbrdHook.dll not found"), std::string::npos);
  form_->StartConfig();
  EXPECT_EQ(Status(), "Running");
}

TEST_F(MainForm, OwnsTheDefaultSkinManagerWithTheFirstInternalSkinActive) {
  WriteData({TestConfig()});
  Open();
  skin::TsSkinManager* manager = form_->sSkinManager1;
  ASSERT_NE(manager, nullptr);
  EXPECT_TRUE(manager->IsDefault());
  EXPECT_EQ(skin::DefaultManager, manager);
  EXPECT_TRUE(manager->Active());
  EXPECT_EQ(manager->SkinName(), "Linen (internal)");
  EXPECT_NE(manager->SkinInfo(), "N/A");
  EXPECT_GE(manager->IndexOfSection("BUTTON"), 0);
  EXPECT_TRUE(manager->ThreadHookInstalled());
  std::vector<std::string> names;
  std::string first;
  manager->GetSkinNames(names, skin::slAll, first);
  EXPECT_EQ(first, "Linen (internal)");
  EXPECT_NE(std::find(names.begin(), names.end(), "Slate (internal)"), names.end());
  // The description's class lists, one name a line; the blank ones stay empty.
  EXPECT_EQ(manager->ThirdPartyClasses(0).size(), 12u);
  EXPECT_EQ(manager->ThirdPartyClasses(0).front(), "TEdit");
  EXPECT_EQ(manager->ThirdPartyClasses(4), (std::vector<std::string>{"TComboBox", "TComboBoxEx", "TColorBox"}));
  EXPECT_TRUE(manager->ThirdPartyClasses(10).empty());
  EXPECT_EQ(manager->ThirdPartyClasses(19), std::vector<std::string>{"TUpDown"});
  EXPECT_TRUE(messages_.empty());
  form_->Free();
  form_ = nullptr;
  EXPECT_EQ(skin::DefaultManager, nullptr);
}

// ---- the main form skinned by its provider ------------------------------------------

// What the screen shows at (x, y) of a window.
COLORREF OnScreen(HWND w, int x, int y) {
  RECT r{};
  GetWindowRect(w, &r);
  TWindowDC screen(nullptr);
  return GetPixel(screen.Get(), r.left + x, r.top + y);
}

// The provider's picture of the form at (x, y) of its window.
COLORREF InCache(skin::TsSkinProvider* p, int x, int y) {
  return GetPixel(p->SkinData->CacheBmp->Canvas()->Handle(), x, y);
}

// Linen's title section, active (its hot colour).
constexpr COLORREF kLinenActiveTitle = RGB(0xEF, 0xEB, 0xE5);

// The main form's border window: its frame, caption and title buttons lie
// there, over the form.
HWND BorderWindow(skin::TsSkinProvider* p) {
  return p->BorderForm && p->BorderForm->AForm && p->BorderForm->AForm->HandleAllocated() ? p->BorderForm->AForm->Handle()
                                                                                         : nullptr;
}

// The frame points a skin paints: caption, the left, right and bottom
// borders, in window coordinates.
std::vector<POINT> FramePoints(skin::TsSkinProvider* p, HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const int border = p->ClientOffsetX();
  return {POINT{width / 2, p->ClientOffsetY() / 2}, POINT{border / 2, height / 2},
          POINT{width - 1 - border / 2, height / 2}, POINT{width / 2, height - 1 - border / 2}};
}

class SkinnedMainForm : public MainForm {
 protected:
  void Show() {
    WriteData({TestConfig()});
    Open();
    provider_ = form_->sSkinProvider1;
    ASSERT_NE(provider_, nullptr);
    wnd_ = form_->Handle();
    SetForegroundWindow(wnd_);
    ASSERT_TRUE(WaitUntil([&] { return provider_->FormActive && GetForegroundWindow() == wnd_; }, 3000));
    RedrawWindow(wnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
  }
  void Repaint() {
    RedrawWindow(wnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
  }
  std::vector<TWinControl*> Controls() const {
    return {form_->StartConfigBtn, form_->LogMemo, form_->ConfigListBox, form_->PageControl1};
  }
  skin::TsSkinProvider* provider_ = nullptr;
  HWND wnd_ = nullptr;
};

// The program's main form holds a provider (the skins to choose from in
// its system menu): its frame on the screen is the skin's picture, in the
// skin's colours, and its controls have their adapters, those of a page
// shown later too.
TEST_F(SkinnedMainForm, ItsFrameAndControlsShowTheSkin) {
  skin::test::FrameRecorder frames;
  Show();
  EXPECT_TRUE(provider_->MakeSkinMenu);
  EXPECT_EQ(skin::SendSkinCommand(wnd_, skin::scGetProvider, 0), reinterpret_cast<LRESULT>(provider_));
  EXPECT_EQ(GetWindowLongPtrA(wnd_, GWL_STYLE) & WS_SYSMENU, 0) << "the system draws no menu of its own";
  // Linen cuts no corners: the frame is the border window's, over the form
  // and owned by it, and the form shows through its client hole.
  ASSERT_TRUE(provider_->RegionRects.empty());
  const HWND border = BorderWindow(provider_);
  ASSERT_NE(border, nullptr) << "the main form has no border window";
  EXPECT_TRUE(IsWindowVisible(border));
  EXPECT_EQ(GetWindow(border, GW_OWNER), wnd_);
  RECT form{}, outer{};
  GetWindowRect(wnd_, &form);
  GetWindowRect(border, &outer);
  EXPECT_EQ(GetAncestor(WindowFromPoint(POINT{(form.left + form.right) / 2, (form.top + form.bottom) / 2}), GA_ROOT),
            wnd_);
  // Each frame point (caption, left, right and bottom border, halfway
  // between the shadow margin and the client hole), as the picture last
  // handed to the border window has it (the display here shows no alpha),
  // is opaque and the provider's cache there, in the skin's colours: the
  // cache is in border-window coordinates.
  ASSERT_NE(provider_->SkinData->CacheBmp, nullptr);
  const std::vector<skin::test::TFrame> shown = frames.For(border);
  ASSERT_FALSE(shown.empty()) << "no picture was handed to the border window";
  const PixelBuffer32& picture = shown.back().Pixels;
  const int W = outer.right - outer.left, H = outer.bottom - outer.top;
  ASSERT_EQ(picture.Width(), W);
  ASSERT_EQ(picture.Height(), H);
  auto* frame = static_cast<skin::TacSkinBorderForm*>(provider_->BorderForm);
  const RECT m = frame->ExtMargins(), hole = frame->ClientRect();
  const std::vector<POINT> points{POINT{W / 2, (m.top + hole.top) / 2}, POINT{(m.left + hole.left) / 2, H / 2},
                                  POINT{(hole.right + W - m.right) / 2, H / 2},
                                  POINT{W / 2, (hole.bottom + H - m.bottom) / 2}};
  const auto shownAt = [&](POINT at) {
    const std::uint32_t px = picture.At(at.x, at.y);
    return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
  };
  EXPECT_EQ(shownAt(points[0]), kLinenActiveTitle);
  EXPECT_EQ(WindowFromPoint(POINT{outer.left + points[0].x, outer.top + points[0].y}), border);
  for (POINT at : points) {
    EXPECT_EQ(picture.At(at.x, at.y) >> 24, 0xFFu) << "the frame is opaque at " << at.x << "," << at.y;
    EXPECT_EQ(shownAt(at), InCache(provider_, at.x, at.y)) << at.x << "," << at.y;
  }
  EXPECT_NE(shownAt(points[0]), GetSysColor(COLOR_ACTIVECAPTION));
  for (TWinControl* c : Controls()) EXPECT_NE(GetPropA(c->Handle(), "ACSBSC"), nullptr) << c->Name() << " not adapted";
  EXPECT_FALSE(form_->CurrentNameL->ControlStyle() & csOpaque) << "labels show the skin through";
  // A page shown the first time makes its controls' windows then.
  auto* sheet = dynamic_cast<TTabSheet*>(form_->ScanningPeriodEdit->Parent());
  ASSERT_NE(sheet, nullptr);
  form_->PageControl1->SetActivePage(sheet);
  PumpMessages();
  EXPECT_NE(GetPropA(form_->ScanningPeriodEdit->Handle(), "ACSBSC"), nullptr);
}

// The main form's hint manager: a control's hint shows, after the pause, as
// the manager's comic bubble with the control's text; the manager sets the
// application's pauses.
TEST_F(SkinnedMainForm, AControlsHintShowsAsTheManagersBubble) {
  Show();
  ASSERT_NE(form_->sHintManager1, nullptr);
  EXPECT_EQ(skin::CurrentHintManager(), form_->sHintManager1);
  EXPECT_EQ(form_->sHintManager1->HintKind().Style(), skin::hsComics);
  EXPECT_EQ(ApplicationHints().HintHidePause, 7000);
  auto* button = dynamic_cast<TControl*>(form_->FindComponent("AdvancedTitleBtn"));
  ASSERT_NE(button, nullptr);
  TWinControl* sheet = button->Parent();
  while (sheet && !dynamic_cast<TTabSheet*>(sheet)) sheet = sheet->Parent();
  ASSERT_NE(sheet, nullptr);
  form_->PageControl1->SetActivePage(static_cast<TTabSheet*>(sheet));
  PumpMessages();
  auto* target = dynamic_cast<TWinControl*>(button);
  ASSERT_NE(target, nullptr);
  const POINT at = target->ClientToScreen(POINT{target->Width() / 2, target->Height() / 2});
  ASSERT_TRUE(MouseMove(POINT{at.x + 1, at.y + 1}, target->Handle()));
  ASSERT_TRUE(MouseMove(at, target->Handle()));
  ASSERT_TRUE(WaitUntil([] {
    THintWindow* w = ApplicationHints().HintWindow();
    return w && w->HintShowing();
  }, 3000)) << "no hint shown";
  auto* hint = dynamic_cast<skin::TsComicsHintWindow*>(ApplicationHints().HintWindow());
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(hint->Caption(), "Advanced Window Title");
  ApplicationHints().CancelHint();
  PumpMessages();
}

// The minimise button, clicked with the mouse, takes the main form to the
// notification area as the system's minimise does.
TEST_F(SkinnedMainForm, ItsMinimiseButtonMinimisesToTheNotificationArea) {
  Show();
  ASSERT_FALSE(IsRectEmpty(&provider_->MinButton.Rect)) << "no minimise button laid out";
  // The title buttons lie in the border window (their rectangles in its
  // coordinates): the mouse there goes to it, and it hands the press to
  // the form.
  const HWND border = BorderWindow(provider_);
  ASSERT_NE(border, nullptr) << "the main form has no border window";
  auto* frame = static_cast<skin::TacSkinBorderForm*>(provider_->BorderForm);
  RECT r{};
  GetWindowRect(border, &r);
  const POINT at{r.left + (provider_->MinButton.Rect.left + provider_->MinButton.Rect.right) / 2,
                 r.top + (provider_->MinButton.Rect.top + provider_->MinButton.Rect.bottom) / 2};
  ASSERT_EQ(frame->HitTest(at), HTMINBUTTON);
  ASSERT_TRUE(MouseMove(at, border));
  ASSERT_TRUE(MouseDown(at, border));
  ASSERT_TRUE(WaitUntil([&] { return provider_->MinButton.State == 2; }, 2000)) << "the press was not seen";
  // The form holds the mouse since the press: the release is its.
  ASSERT_EQ(GetCapture(), wnd_);
  ASSERT_TRUE(MouseUp(at));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(wnd_); }, 3000));
  EXPECT_TRUE(form_->TrayIconShown());
  form_->Perform(WM_USER + 1, 0, WM_LBUTTONUP);
  EXPECT_TRUE(IsWindowVisible(wnd_));
}

// The skins are offered in the main form's system menu: the one chosen
// there skins the form, whose frame then shows it.
// Counts the paints a window is sent while it lives in a scope.
struct PaintCounter {
  explicit PaintCounter(HWND wnd) : wnd_(wnd) { SetWindowSubclass(wnd_, Proc, 0x50a1, reinterpret_cast<DWORD_PTR>(this)); }
  ~PaintCounter() { RemoveWindowSubclass(wnd_, Proc, 0x50a1); }
  PaintCounter(const PaintCounter&) = delete;
  PaintCounter& operator=(const PaintCounter&) = delete;
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    auto* c = reinterpret_cast<PaintCounter*>(self);
    if (m == WM_NCPAINT) ++c->nc;
    if (m == WM_PAINT) ++c->client;
    return DefSubclassProc(w, m, wp, lp);
  }
  HWND wnd_;
  int nc = 0, client = 0;
};

TEST_F(SkinnedMainForm, ItsSystemMenuSwitchesTheSkin) {
  Show();
  std::vector<std::string> offered;
  SetDialogResponder([&](const TDialogRequest& r) {
    TDialogAnswer a;
    if (r.kind != TDialogKind::Popup || !r.menu) return a;
    for (int i = 0; i < r.menu->Items()->Count(); ++i) {
      TMenuItem* skins = r.menu->Items()->Items(i);
      if (skins->Caption() != "Available skins") continue;
      for (int k = 0; k < skins->Count(); ++k) {
        offered.push_back(skins->Items(k)->Caption());
        if (skins->Items(k)->Caption() == "Slate (internal)") a.item = skins->Items(k);
      }
    }
    return a;
  });
  RECT r{};
  GetWindowRect(wnd_, &r);
  PaintCounter paints(wnd_);
  provider_->ShowSysMenuAt(r.left + 10, r.top + 10);
  PumpMessages();
  EXPECT_NE(std::find(offered.begin(), offered.end(), "Linen (internal)"), offered.end());
  EXPECT_EQ(form_->sSkinManager1->SkinName(), "Slate (internal)");
  // Repainted by the switch itself, once the skin change's fade (an
  // overlay over the form) has run.
  const POINT caption = FramePoints(provider_, wnd_)[0];
  EXPECT_TRUE(WaitUntil([&] { return OnScreen(wnd_, caption.x, caption.y) == InCache(provider_, caption.x, caption.y); },
                        3000));
  EXPECT_NE(OnScreen(wnd_, caption.x, caption.y), kLinenActiveTitle);
  EXPECT_EQ(OnScreen(wnd_, caption.x, caption.y), InCache(provider_, caption.x, caption.y));
  // Once: the frame and the client each painted a single time by the
  // switch, however many of the form's parts the new skin changed.
  PumpFor(300);
  EXPECT_EQ(paints.nc, 1) << "frame paints";
  EXPECT_EQ(paints.client, 1) << "client paints";
}

// Skin switches and repaints leave the handle counts where they were; the
// skin going gives the form its system look back, and the next skin
// skins it again.
TEST_F(SkinnedMainForm, SkinSwitchesKeepCountsFlatAndTheSkinGoingRestoresTheSystemLook) {
  Show();
  skin::TsSkinManager* manager = form_->sSkinManager1;
  auto skinAs = [&](const char* name) {
    manager->SetSkinName(name);
    Repaint();
  };
  skinAs("Slate (internal)");
  const POINT caption = FramePoints(provider_, wnd_)[0];
  EXPECT_NE(OnScreen(wnd_, caption.x, caption.y), kLinenActiveTitle);
  EXPECT_EQ(OnScreen(wnd_, caption.x, caption.y), InCache(provider_, caption.x, caption.y));
  skinAs("Linen (internal)");
  const skin::test::TGuiCounts gui;
  for (int i = 0; i < 20; ++i) skinAs(i % 2 == 0 ? "Slate (internal)" : "Linen (internal)");
  for (int i = 0; i < 100; ++i) Repaint();
  EXPECT_EQ(gui.ChangedTo(skin::test::TGuiCounts{}, true), "");
  EXPECT_EQ(OnScreen(wnd_, caption.x, caption.y), kLinenActiveTitle);

  manager->SetActive(false);
  Repaint();
  EXPECT_NE(GetWindowLongPtrA(wnd_, GWL_STYLE) & WS_SYSMENU, 0);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(wnd_, probe), ERROR);
  DeleteObject(probe);
  EXPECT_NE(OnScreen(wnd_, caption.x, caption.y), kLinenActiveTitle);
  for (TWinControl* c : Controls()) EXPECT_EQ(GetPropA(c->Handle(), "ACSBSC"), nullptr) << c->Name();
  manager->SetActive(true);
  Repaint();
  EXPECT_EQ(GetWindowLongPtrA(wnd_, GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_EQ(OnScreen(wnd_, caption.x, caption.y), kLinenActiveTitle);
  for (TWinControl* c : Controls()) EXPECT_NE(GetPropA(c->Handle(), "ACSBSC"), nullptr) << c->Name();
}

// Started with the skin off ("/noskin"), the form loads no skin: it and its
// controls have the system's look, and switching the skin on later skins
// them as at a normal start.
TEST_F(SkinnedMainForm, StartedWithTheSkinOffKeepsTheSystemLookUntilTheSkinIsSwitchedOn) {
  WriteData({TestConfig()});
  TKOVAForm1::SkinOffAtStart = true;
  Open();
  TKOVAForm1::SkinOffAtStart = false;
  provider_ = form_->sSkinProvider1;
  wnd_ = form_->Handle();
  skin::TsSkinManager* manager = form_->sSkinManager1;
  EXPECT_FALSE(manager->Active());
  EXPECT_EQ(manager->SkinName(), "Linen (internal)") << "the description's skin stays named";
  EXPECT_LT(provider_->SkinData->SkinIndex, 0) << "the form has no skin section";
  EXPECT_NE(GetWindowLongPtrA(wnd_, GWL_STYLE) & WS_SYSMENU, 0);
  for (TWinControl* c : Controls()) EXPECT_EQ(GetPropA(c->Handle(), "ACSBSC"), nullptr) << c->Name();
  Repaint();
  const POINT caption = FramePoints(provider_, wnd_)[0];
  EXPECT_NE(OnScreen(wnd_, caption.x, caption.y), kLinenActiveTitle);

  manager->SetActive(true);
  SetForegroundWindow(wnd_);
  ASSERT_TRUE(WaitUntil([&] { return provider_->FormActive && GetForegroundWindow() == wnd_; }, 3000));
  Repaint();
  EXPECT_EQ(GetWindowLongPtrA(wnd_, GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_EQ(OnScreen(wnd_, caption.x, caption.y), kLinenActiveTitle);
  for (TWinControl* c : Controls()) EXPECT_NE(GetPropA(c->Handle(), "ACSBSC"), nullptr) << c->Name();
}

TEST_F(MainForm, HookLibraryStartsWithAConfigAndStopsWithIt) {
  WriteData({TestConfig()});
  ASSERT_TRUE(CopyFileA((ExeDir() + "\\mskbrdHook.dll").c_str(), Path("mskbrdHook.dll").c_str(), FALSE));
  const long modules = LiveHandles(THandleKind::Module);
  Open();
  ASSERT_TRUE(form_->Hook().Loaded());
  // The loaded library is held by a counted guard.
  EXPECT_GE(LiveHandles(THandleKind::Module), modules + 1);
  const long withHook = LiveHandles(THandleKind::Module);
  form_->StartConfig();
  EXPECT_TRUE(form_->HookRunning());
  form_->RefreshConfig();  // already running: started once
  EXPECT_TRUE(form_->HookRunning());
  form_->StopConfig();
  EXPECT_FALSE(form_->HookRunning());
  form_->StartConfig();
  EXPECT_TRUE(form_->HookRunning());
  form_->Close();
  EXPECT_FALSE(form_->HookRunning());
  form_->Free();
  form_ = nullptr;
  EXPECT_EQ(LiveHandles(THandleKind::Module), withHook - 1);
}

TEST_F(MainForm, FolderButtonsFillTheirEdits) {
  Open();
  std::string caption;
  bool choose = true;
  SetDialogResponder([&](const TDialogRequest& r) {
    caption = r.caption;
    TDialogAnswer a;
    a.result = choose ? mrOk : mrCancel;
    a.folder = "D:\\hands";
    return a;
  });
  form_->DirPokerStarsHHClick();
  EXPECT_EQ(caption, "Choose Directory for PokerStars HH");
  EXPECT_EQ(form_->DirectoryPokerStarsHH->Text(), "D:\\hands");
  form_->DirOngameHHClick();
  EXPECT_EQ(caption, "Choose Directory for Ongame HH");
  EXPECT_EQ(form_->DirectoryOngameHH->Text(), "D:\\hands");
  choose = false;  // a cancelled chooser leaves the folder empty
  form_->DirOngameHHClick();
  EXPECT_EQ(form_->DirectoryOngameHH->Text(), "");
}

TEST_F(MainForm, WithoutConfigsSaysSoAndStartAsksForOne) {
  Open();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], "Any config was not found. Go to AutoPlace page and Create New Config.");
  const std::string before = Status();
  form_->StartConfig();
  PumpFor(50);
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[1], "Please Create New Config first!");
  EXPECT_EQ(Status(), before);
  EXPECT_EQ(t::ScanPaused, 1);
}

TEST_F(MainForm, ActiveIndexPastTheLastConfigSelectsTheFirst) {
  WriteData({TestConfig("One"), TestConfig("Two"), TestConfig("Three")}, 5);
  Open();
  EXPECT_EQ(form_->SelectedConfig, 0);
  EXPECT_EQ(form_->ConfigListBox->ItemIndex(), 0);
  EXPECT_EQ(form_->EditedConfig.Name, "One");
}

TEST_F(MainForm, StoredActiveIndexIsSelected) {
  WriteData({TestConfig("One"), TestConfig("Two")}, 1);
  Open();
  EXPECT_EQ(form_->EditedConfig.Name, "Two");
  EXPECT_EQ(form_->ConfigListBox->ItemIndex(), 1);
}

TEST_F(MainForm, StartRunsTheTimerScanIntoSlotsStopPausesRefreshKeepsTables) {
  WriteData({TestConfig()});
  Open();
  HWND a = Table("Test Table 1", 600, 500);
  HWND b = Table("Test Table 2", 650, 550);
  Table("Other window", 700, 600);

  form_->StartConfig();
  EXPECT_EQ(Status(), "Running");
  EXPECT_EQ(NameLabel(), "Main:");
  EXPECT_EQ(form_->ConfigStatusL->Font()->Color(), clBlue);
  EXPECT_TRUE(form_->StopConfigBtn->Enabled());
  EXPECT_EQ(t::ScanPaused, 0);
  ASSERT_TRUE(WaitUntil([&] { return t::Tables.size() == 2; }, 5000));
  // The engine's log lines reach the form's memo.
  EXPECT_NE(form_->LogMemo->Lines()->Text().find("added"), std::string::npos);
  // The walk meets the windows in z-order: which table gets which slot is
  // the engine's business; each gets one of its own.
  EXPECT_TRUE(WaitUntil([&] {
    return (HasRect(a, kSlot1) && HasRect(b, kSlot2)) || (HasRect(a, kSlot2) && HasRect(b, kSlot1));
  }, 5000)) << RectText(a) << " " << RectText(b);
  const Slot slotOfA = HasRect(a, kSlot1) ? kSlot1 : kSlot2;

  form_->StopConfig();
  EXPECT_EQ(Status(), "Stopped");
  EXPECT_EQ(form_->ConfigStatusL->Font()->Color(), clWindowText);
  EXPECT_FALSE(form_->StopConfigBtn->Enabled());
  EXPECT_FALSE(form_->HookRunning());
  EXPECT_EQ(t::ScanPaused, 1);
  // Paused: a table moved away stays where it is.
  SetWindowPos(a, nullptr, 700, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpFor(600);
  EXPECT_FALSE(HasRect(a, slotOfA));
  EXPECT_EQ(t::Tables.size(), 2u);

  // A second Stop only rewrites the labels.
  form_->StopConfig();
  EXPECT_EQ(Status(), "Stopped");

  t::TPokerTable* kept = t::Tables[0].get();
  form_->RefreshConfig();
  EXPECT_EQ(Status(), "Running");
  EXPECT_EQ(t::Tables[0].get(), kept);
  EXPECT_TRUE(WaitUntil([&] { return HasRect(a, slotOfA); }, 5000)) << RectText(a);
}

TEST_F(MainForm, StopAskedForDuringAScanTakesEffectWhenTheScanEnds) {
  WriteData({TestConfig()});
  Open();
  Table("Test Table 1");
  std::string statusInside;
  int calls = 0;
  t::EngineServices.ActivateTurnTableStep = [&] {
    if (calls++ > 0) return;
    form_->StopConfig();  // e.g. a hotkey handled while the scan runs
    statusInside = Status();
  };
  form_->StartConfig();
  ASSERT_TRUE(WaitUntil([&] { return calls > 0; }));
  t::EngineServices.ActivateTurnTableStep = nullptr;
  // Nothing changed under the running scan; the stop came right after it,
  // without the GUI thread waiting on the busy flag.
  EXPECT_EQ(statusInside, "Running");
  EXPECT_EQ(Status(), "Stopped");
  EXPECT_EQ(t::ScanPaused, 1);
  EXPECT_EQ(t::ScanBusy, 0);
}

TEST_F(MainForm, StartFreesEveryTableAndThePendingActions) {
  WriteData({TestConfig()});
  Open();
  HWND w = Table("Not a table");
  t::Tables.push_back(std::make_unique<t::TPokerTable>(w, 0, "Not a table"));
  t::ActionQueue.Count = 2;
  t::ActionQueue.Entries[0] = t::TTableAction{0, 1, 0};
  t::ActionQueue.Entries[1] = t::TTableAction{0, 0, 1};
  form_->StartConfig();
  EXPECT_TRUE(t::Tables.empty());
  EXPECT_TRUE(t::TableHandles().empty());
  EXPECT_EQ(t::ActionQueue.Count, 0);
  EXPECT_EQ(t::ResortPending, 1);
}

struct BadConfigCase {
  const char* label;
  TestConfigData config;
  const char* message;
};

class MainFormValidation : public MainForm, public ::testing::WithParamInterface<BadConfigCase> {};

TEST_P(MainFormValidation, FailedStartOrRefreshWhileRunningShowsStopped) {
  const BadConfigCase& c = GetParam();
  WriteData({TestConfig(), c.config});
  Open();
  form_->StartConfig();
  ASSERT_EQ(Status(), "Running");
  const t::TPlaceConfig running = t::RunningConfig;

  // The user picks the bad config and starts it, then refreshes it.
  form_->EditedConfig = t::PlaceConfigs[1];
  for (bool refresh : {false, true}) {
    messages_.clear();
    refresh ? form_->RefreshConfig() : form_->StartConfig();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], c.message);
    EXPECT_EQ(t::ScanPaused, 1);
    EXPECT_EQ(t::RunningConfig, running);
    EXPECT_EQ(Status(), "Stopped");
    EXPECT_EQ(form_->ConfigStatusL->Font()->Color(), clWindowText);
    EXPECT_FALSE(form_->StopConfigBtn->Enabled());
    EXPECT_FALSE(form_->HookRunning());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainFormValidation,
    ::testing::Values(
        BadConfigCase{"NoGroup", TestConfigData{"Empty", {}}, "Config Empty does not have any group"},
        BadConfigCase{"SecondGroupWithoutSlot",
                      TestConfigData{"Half", {TestGroupData{"First", "A", "*", {kSlot1}}, TestGroupData{"Second", "B", "*", {}}}},
                      "Group Second does not have any slot"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(MainForm, ScanningPeriodEdit) {
  Open();
  struct Case {
    const char* text;
    unsigned interval;
  };
  // Starting from 200: a number sets it, 0 and negatives keep it, text that
  // is not a number gives 200.
  for (const Case& c : {Case{"50", 50}, Case{"0", 50}, Case{"-5", 50}, Case{"abc", 200}, Case{"1000", 1000}}) {
    form_->ScanningPeriodEdit->SetText(c.text);
    form_->ScanningPeriodEditChange();
    EXPECT_EQ(form_->Timer1->Interval(), c.interval) << c.text;
  }
}

TEST_F(MainForm, StartupIniFillsControlsAndAutoRunStartsTheConfig) {
  WriteData({TestConfig()});
  WriteText(Path("startup.ini"),
            "[Common]\r\nLeft=33\r\nTop=44\r\nActivePage=4\r\nScanningPeriod=75\r\nAutoRun=1\r\nJumpMouse=1\r\n"
            "[PokerStars]\r\nCurTournament=3\r\nHHDir=D:\\hh\r\n");
  Open();
  EXPECT_EQ(form_->Left(), 33);
  EXPECT_EQ(form_->Top(), 44);
  EXPECT_EQ(form_->PageControl1->ActivePageIndex(), 4);
  EXPECT_EQ(form_->Timer1->Interval(), 75u);
  EXPECT_TRUE(form_->JumpMouseCB->Checked());
  EXPECT_EQ(form_->CurTourEdit->Text(), "3");
  EXPECT_EQ(form_->TotalTourEdit->Text(), "16");
  EXPECT_EQ(form_->DirectoryPokerStarsHH->Text(), "D:\\hh");
  EXPECT_EQ(Status(), "Running");
  EXPECT_EQ(t::ScanPaused, 0);
}

TEST_F(MainForm, CloseSavesTheFourFilesInOrderAfterAGoodUserIni) {
  WriteData({TestConfig("One"), TestConfig("Two")}, 1);
  const Bytes config = ReadFile(Path("PlaceConfig.cnfg"));
  const Bytes rooms = ReadFile(Path("PokerRooms.kov"));
  const Bytes user = UserIniFile(1, 0, 1);
  WriteFile(Path("user.ini"), user);
  Open();
  EXPECT_TRUE(form_->CheckBoxHUD->Checked());
  EXPECT_FALSE(form_->CheckBoxSound->Checked());
  EXPECT_TRUE(form_->CheckBoxFrame->Checked());
  form_->Close();
  EXPECT_EQ(saved_, (std::vector<std::string>{"user.ini", "startup.ini", "PokerRooms.kov", "PlaceConfig.cnfg"}));
  EXPECT_EQ(ReadFile(Path("user.ini")), user);
  EXPECT_EQ(ReadFile(Path("PokerRooms.kov")), rooms);
  EXPECT_EQ(ReadFile(Path("PlaceConfig.cnfg")), config);
  const Bytes ini = ReadFile(Path("startup.ini"));
  const std::string text(ini.begin(), ini.end());
  EXPECT_NE(text.find("ScanningPeriod=200"), std::string::npos) << text;
  EXPECT_NE(text.find("[PokerStars]"), std::string::npos) << text;
}

TEST_F(MainForm, CloseWithoutUserIniOrAfterABadOneWritesNothing) {
  for (bool present : {false, true}) {
    SCOPED_TRACE(present ? "short user.ini" : "no user.ini");
    WriteData({TestConfig()});
    const Bytes config = ReadFile(Path("PlaceConfig.cnfg"));
    if (present) WriteFile(Path("user.ini"), Bytes(100, 7));
    messages_.clear();
    saved_.clear();
    Open();
    if (present) {
      ASSERT_EQ(messages_.size(), 1u);
      EXPECT_EQ(messages_[0],
                "Error loading file \"user.ini\". Try to copy file \"user.ini\" to KOVA folder again!");
    }
    form_->Close();
    EXPECT_TRUE(saved_.empty());
    EXPECT_FALSE(DataFileExists(Path("startup.ini")));
    EXPECT_EQ(ReadFile(Path("PlaceConfig.cnfg")), config);
    if (present) {
      EXPECT_EQ(ReadFile(Path("user.ini")), Bytes(100, 7));
    }
    form_->Free();
    form_ = nullptr;
  }
}

TEST_F(MainForm, CloseFreesAllTables) {
  WriteData({TestConfig()});
  Open();
  Table("Test Table 1");
  form_->StartConfig();
  ASSERT_TRUE(WaitUntil([&] { return t::Tables.size() == 1; }));
  form_->Close();
  EXPECT_TRUE(t::Tables.empty());
  EXPECT_TRUE(t::TableHandles().empty());
}

TEST_F(MainForm, MinimizeGoesToTheNotificationAreaAndComesBack) {
  Open();
  HWND h = form_->Handle();
  ASSERT_TRUE(IsWindowVisible(h));

  form_->Perform(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_TRUE(form_->TrayIconShown());
  // A second minimise adds the icon again, harmlessly.
  form_->Perform(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(IsWindowVisible(h));

  // Other mouse messages on the icon do nothing; a left click restores.
  form_->Perform(WM_USER + 1, 0, WM_MOUSEMOVE);
  EXPECT_FALSE(IsWindowVisible(h));
  form_->Perform(WM_USER + 1, 0, WM_LBUTTONUP);
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_FALSE(form_->TrayIconShown());

  // The application's minimise takes the same road (posted system command).
  Application()->Minimize();
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(h); }));
  EXPECT_TRUE(form_->TrayIconShown());
  form_->Perform(WM_USER + 1, 0, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(IsWindowVisible(h));

  // The icon's menu: "Show" brings the window back.
  form_->Perform(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  popupChoice_ = form_->Show1;
  form_->Perform(WM_USER + 1, 0, WM_RBUTTONUP);
  EXPECT_EQ(popups_, 1);
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_FALSE(form_->TrayIconShown());
}

TEST_F(MainForm, MinimizeOnRunHidesAfterStart) {
  WriteData({TestConfig()});
  WriteText(Path("startup.ini"), "[Common]\r\nAutoRun=1\r\nMinimizeOnRun=1\r\n");
  Open();
  EXPECT_EQ(Status(), "Running");
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(form_->Handle()); }));
  EXPECT_TRUE(form_->TrayIconShown());
}

TEST_F(MainForm, IconMenuCloseRemovesTheIconAndCloses) {
  WriteData({TestConfig()});
  WriteFile(Path("user.ini"), UserIniFile(0, 0, 0));
  Open();
  form_->Perform(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(form_->TrayIconShown());
  popupChoice_ = form_->Close1;
  form_->Perform(WM_USER + 1, 0, WM_RBUTTONUP);
  EXPECT_FALSE(form_->TrayIconShown());
  EXPECT_EQ(saved_.size(), 4u);  // the close sequence ran
}

}  // namespace
