// Program entry: one copy only, then the main form, the tool forms and the
// message loop.
#include <windows.h>

#include <exception>

#include "framework/forms.h"
#include "mainwindow/mainform/main.h"
#include "mainwindow/dialogs/toolforms.h"

using namespace kova;
using namespace kova::mainwindow;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (FindWindowA("TKOVAForm1", nullptr)) {
    // A real modal box: nothing of the program exists yet.
    MessageBoxA(nullptr, "Program allready running!", ApplicationTitle, MB_OK);
    // Looked up again: the first copy may have closed while the box was open.
    if (HWND running = FindWindowA("TKOVAForm1", nullptr)) SetForegroundWindow(running);
    return 0;
  }

  RegisterFrameworkClasses();
  Application()->SetTitle(ApplicationTitle);
  try {
    TKOVAForm1* mainForm = nullptr;
    Application()->CreateForm(mainForm);
    Application()->CreateForm(AdvAutoReg);
    Application()->CreateForm(TOISettings);
    Application()->CreateForm(TGrabberForm);
    Application()->CreateForm(WindowCapture);
    Application()->Run();
  } catch (const std::exception& e) {
    Application()->ShowException(e.what());
    return 1;
  }
  FinalizeApplication();
  return 0;
}
