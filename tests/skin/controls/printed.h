// What a window paints through WM_PRINT, read back pixel by pixel.
#pragma once

#include <windows.h>

#include <algorithm>
#include <climits>

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

}  // namespace kova::skin::test
