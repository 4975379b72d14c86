// Window-free code must build without the Windows headers (it is also built
// natively and tested under the sanitizers). Move the window-dependent part
// into a kova_win32_library target instead.
#error "window-free target includes <winbase.h>"
