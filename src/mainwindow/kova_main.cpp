// Program entry: one copy only, then the main window and its message loop.
#include <windows.h>

namespace {

constexpr const char* kMainFormClass = "TKOVAForm1";
constexpr const char* kApplicationTitle = "KOVA v3.26c";
constexpr const char* kMainFormCaption = "KOVA  v3.26c";

LRESULT CALLBACK MainFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  if (FindWindowA(kMainFormClass, nullptr)) {
    MessageBoxA(nullptr, "Program allready running!", kApplicationTitle, MB_OK);
    // Looked up again: the first copy may have closed while the box was open.
    if (HWND running = FindWindowA(kMainFormClass, nullptr)) SetForegroundWindow(running);
    return 0;
  }

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainFormProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainFormClass;
  if (!RegisterClassExA(&wc)) return 1;

  HWND mainForm = CreateWindowExA(0, kMainFormClass, kMainFormCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance, nullptr);
  if (!mainForm) return 1;
  ShowWindow(mainForm, showCommand);
  UpdateWindow(mainForm);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
