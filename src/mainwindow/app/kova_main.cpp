// Program entry: one copy only, then the main form, the tool forms and the
// message loop.
#include <windows.h>

#include <cstring>
#include <exception>

#include "framework/dialogs.h"
#include "framework/forms.h"
#include "mainwindow/app/starttrace.h"
#include "mainwindow/dialogs/toolforms.h"
#include "mainwindow/mainform/main.h"
#if KOVA_SKIN_UNITS
#include "skin/core/skinsetup.h"
#include "skin/forms/autohook.h"
#endif

using namespace kova;
using namespace kova::mainwindow;

namespace {

// Held by the running copy until it ends (the system releases it then, even
// after a crash). Per session, like the main window a second copy looks for.
constexpr char kInstanceMutexName[] = "Local\\KOVA.TKOVAForm1.Instance";

class InstanceLock {
public:
  InstanceLock() {
    handle_ = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    const DWORD error = GetLastError();
    if (handle_) {
      first_ = error != ERROR_ALREADY_EXISTS;
    } else {
      // Denied: another copy holds it under other rights. Anything
      // else: the window of a running copy is the only sign left.
      first_ = error != ERROR_ACCESS_DENIED && !FindWindowA("TKOVAForm1", nullptr);
    }
  }
  ~InstanceLock() {
    if (handle_) CloseHandle(handle_);
  }
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  bool First() const { return first_; }

private:
  HANDLE handle_ = nullptr;
  bool first_ = false;
};

// The skinning units are started for the program's life: finished before
// the application goes, and on every other way out of WinMain.
class SkinUnitsScope {
public:
  SkinUnitsScope() {
#if KOVA_SKIN_UNITS
    skin::StartSkinUnits();
    StartMark("skin units started");
    // Before the main form loads its manager: the manager's thread hook
    // then skins every form and system dialog that has no provider.
    skin::InstallAutoSkinning();
    StartMark("auto skinning installed");
#endif
  }
  ~SkinUnitsScope() { Finish(); }
  SkinUnitsScope(const SkinUnitsScope&) = delete;
  SkinUnitsScope& operator=(const SkinUnitsScope&) = delete;

  void Finish() {
#if KOVA_SKIN_UNITS
    if (started_) skin::FinishSkinUnits();
#endif
    started_ = false;
  }

private:
  bool started_ = true;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  StartMark("WinMain");
  // Taken before anything else: of two copies started at the same moment
  // exactly one gets it, where looking for the main window alone would let
  // both through before either had made its window.
  InstanceLock instance;
  if (!instance.First()) {
    // Through the program's one message-box path, under the program's title.
    Application()->SetTitle(ApplicationTitle);
    ShowMessage("Program allready running!");
    // Looked up after the box: the first copy has its window by then, or
    // has closed while the box was open.
    if (HWND running = FindWindowA("TKOVAForm1", nullptr)) SetForegroundWindow(running);
    return 0;
  }

  RegisterFrameworkClasses();
  StartMark("framework classes registered");
  Application()->SetTitle(ApplicationTitle);
  for (int i = 1; i <= Application()->ParamCount(); ++i)
    if (_stricmp(Application()->ParamStr(i).c_str(), "/noskin") == 0) TKOVAForm1::SkinOffAtStart = true;
  SkinUnitsScope skinUnits;
  try {
    TKOVAForm1* mainForm = nullptr;
    Application()->CreateForm(mainForm);
    StartMark("main form created");
    // The main window shows first; the tool forms, which nothing shows at
    // start, are made after it (before the message loop, so before any
    // click can ask for one).
    if (Application()->ShowMainForm) mainForm->Show();
    StartMark("main form shown");
    Application()->CreateForm(AdvAutoReg);
    Application()->CreateForm(TOISettings);
    Application()->CreateForm(TGrabberForm);
    Application()->CreateForm(WindowCapture);
    StartMark("tool forms created");
    Application()->Run();
  } catch (const std::exception& e) {
    Application()->ShowException(e.what());
    return 1;
  }
  skinUnits.Finish();
  FinalizeApplication();
  return 0;
}
